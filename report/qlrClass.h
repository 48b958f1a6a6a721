// The report object model: every object of a report template is a node of
// one tree (report, pages, bands, views, dialog components, data sets) with
// bounds in report units, a font that may follow the parent's, unique
// names, copying through the XML serializer and the attribute text ("Diff")
// that prepared pages store instead of whole objects.
//
// Report units are long double pixels at 96 per inch (3.77953 per mm).
// The rule a caller must know: a component created with a TqlrComponent
// owner is owned (freed, name-checked) by that owner's report and becomes
// the owner's last child; its parent frees it in Clear.
//
// Example:
//   auto report = std::make_unique<qlr::TqlrReport>(nullptr);
//   auto* page = new qlr::TqlrReportPage(report.get());
//   auto* memo = new qlr::TqlrMemoView(page);
//   memo->CreateUniqueName();                       // "Memo1"
//   memo->SetBounds(10, 10, 200, 20);
//   report->FindObject("memo1") == memo;            // case ignored
//
// Headers by role: qlrClassTree.h (the tree), qlrClassViews.h (frames,
// views, dialog components), qlrClassDataSets.h, qlrClassText.h (text
// layout, memos), qlrClassOptions.h (options, styles); this one, the report.
// Units: qlrClassTree.cpp (the tree), qlrClassViews.cpp (views, frames,
// highlights, formats, dialog components), qlrClassDataSets.cpp (data sets
// and the global list), qlrClassObjects.cpp (pages, bands, memo, picture,
// report root and the class registrations).
#pragma once

#include "report/qlrClassOptions.h"

namespace qlr {

// ------------------------------------------------------------ the report

// One entry of a report's data-set list: a data set, or only its name
// when the data set is gone.
class TqlrDataSetItem : public rtl::TCollectionItem {
    RTL_CLASS(TqlrDataSetItem, rtl::TCollectionItem)
public:
    explicit TqlrDataSetItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    TqlrDataSet* DataSet() const { return FDataSet; }
    // Also stores the data set's user name.
    void SetDataSet(TqlrDataSet* v);
    // The data set's current user name when one is set, else the stored one.
    std::string DataSetName() const;
    // Looks the data set up by name among the report's data sets (an empty
    // name clears it).
    void SetDataSetName(const std::string& v);
    void Assign(const rtl::TPersistent* source) override;

private:
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
};

class TqlrReportDataSets : public rtl::TCollection {
    RTL_CLASS(TqlrReportDataSets, rtl::TCollection)
public:
    explicit TqlrReportDataSets(TqlrReport* report = nullptr);
    TqlrReport* Report() const { return FReport; }
    TqlrDataSetItem* Add(TqlrDataSet* dataSet);
    TqlrDataSetItem* Item(int index) const { return static_cast<TqlrDataSetItem*>(Items(index)); }
    TqlrDataSetItem* Find(TqlrDataSet* dataSet) const;
    // By user name, case ignored.
    TqlrDataSetItem* Find(const std::string& name) const;
    void Delete(const std::string& name);
    // Gives each data set the report and calls its Initialize / Finalize.
    void Initialize();
    void Finalize();

private:
    TqlrReport* FReport;
};

enum class TqlrProgressType { ptRunning, ptExporting, ptPrinting };

// What InheritFromTemplate does with objects of the report whose names the
// template already uses: ask (imDefault), delete them, or rename them.
enum class TqlrInheriteMode { imDefault, imDelete, imRename };

// The template compressor and encryptor hooks.  None is registered in this
// program, so templates are plain XML; a registered factory is asked for
// one object per load or save.
class TqlrCustomCompressor {
public:
    explicit TqlrCustomCompressor(TqlrReport* report) : Report(report) {}
    virtual ~TqlrCustomCompressor() = default;
    TqlrReport* Report;
    // True when source (read from its position) held a compressed template;
    // its plain bytes are then written into output.  False leaves output
    // empty and the position of source as it was.
    virtual bool Decompress(rtl::TStream& source, rtl::TStream& output) = 0;
    // Compresses the whole of plain into dest.
    virtual void Compress(rtl::TStream& plain, rtl::TStream& dest) = 0;
};

class TqlrCustomCrypter {
public:
    explicit TqlrCustomCrypter(TqlrReport* report) : Report(report) {}
    virtual ~TqlrCustomCrypter() = default;
    TqlrReport* Report;
    // As Decompress; key: the UTF-8 password known so far (may be empty:
    // the encryptor may then ask for one).
    virtual bool Decrypt(rtl::TStream& source, rtl::TStream& output, const std::string& key) = 0;
    virtual void Encrypt(rtl::TStream& plain, rtl::TStream& dest, const std::string& key) = 0;
};

using TqlrCompressorClass = std::function<std::unique_ptr<TqlrCustomCompressor>(TqlrReport*)>;
using TqlrCrypterClass = std::function<std::unique_ptr<TqlrCustomCrypter>(TqlrReport*)>;
// The process-wide class cells (empty: none); setting returns the previous.
const TqlrCompressorClass& CompressorClass();
TqlrCompressorClass SetCompressorClass(TqlrCompressorClass cls);
const TqlrCrypterClass& CrypterClass();
TqlrCrypterClass SetCrypterClass(TqlrCrypterClass cls);

// The root of a template.  It owns the variables, the data-set list, the
// script into which PrepareScript publishes every object, the expression
// cache, the options, the styles, the engine and the prepared pages; it
// evaluates expressions (Calc), prepares, prints and exports, and loads and
// saves its template (qlrReport*.cpp).
class TqlrCustomDesigner;

class TqlrReport : public TqlrComponent {
    RTL_CLASS(TqlrReport, TqlrComponent)
public:
    explicit TqlrReport(rtl::TComponent* owner);
    ~TqlrReport() override;

    rtl::TStringList* Errors() const { return FErrors.get(); }
    TqlrVariables* Variables() const { return FVariables.get(); }
    TqlrReportDataSets* DataSets() const { return FDataSets.get(); }
    // The enabled data sets FindDataSet searches when the global list is
    // not used.
    std::vector<TqlrDataSet*>& EnabledDataSets() { return FEnabledDataSets; }
    bool UseGlobalDataSetList() const { return FEngineOptions->UseGlobalDataSetList; }
    void SetUseGlobalDataSetList(bool v) { FEngineOptions->UseGlobalDataSetList = v; }
    TqlrXMLSerializer* CurrentSerializer() const { return FSerializer; }
    void SetCurrentSerializer(TqlrXMLSerializer* s) { FSerializer = s; }
    // Whether child objects go into form resources (component streaming).
    bool StoreInDFM() const { return FStoreInDFM; }
    void SetStoreInDFM(bool v) { FStoreInDFM = v; }

    // ---- contents
    // Frees pages and objects, empties data sets, variables and styles,
    // resets the options and the script text.
    void Clear() override;
    std::string GetDescription() const override;
    int GetPagesCount() const { return static_cast<int>(Objects().size()); }
    TqlrPage* GetPages(int index) const;
    const std::string& Version() const { return FVersion; }
    void SetVersion(const std::string&) { FVersion = "4.9"; }
    const std::string& ScriptLanguage() const { return FScriptLanguage; }
    void SetScriptLanguage(const std::string& v) { FScriptLanguage = v; }
    rtl::TStringList* ScriptText() const { return FScriptText.get(); }
    void SetScriptText(rtl::TStringList* v) { FScriptText->Assign(v); }
    const std::string& IniFile() const { return FIniFile; }
    void SetIniFile(const std::string& v) { FIniFile = v; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool v) { FShowProgress = v; }
    bool OldStyleProgress() const { return FOldStyleProgress; }
    void SetOldStyleProgress(bool v) { FOldStyleProgress = v; }
    bool DotMatrixReport() const { return FDotMatrixReport; }
    void SetDotMatrixReport(bool v) { FDotMatrixReport = v; }
    const std::string& FileName() const { return FFileName; }
    rtl::TStringList* SysVariables() const { return FSysVariables.get(); }
    bool Terminated() const { return FTerminated; }
    // True also stops the report script.
    void SetTerminated(bool v);
    bool Reloading() const { return FReloading; }
    bool ExprCaseSensitive() const { return FExpressionCache->CaseSensitive(); }
    void SetExprCaseSensitive(bool v) { FExpressionCache->SetCaseSensitive(v); }
    std::string OnRunDialogs, OnStartReport, OnStopReport, OnReportPrint;

    // ---- data sets
    TqlrDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TqlrDataSet* v);
    std::string DataSetName() const;
    void SetDataSetName(const std::string& v);
    // "" for nil, the user name of a listed data set, else the
    // "(dataset is not included ...)" text.
    std::string GetAlias(TqlrDataSet* dataSet) const;
    TqlrDataSet* GetDataset(const std::string& alias) const;
    // Splits Alias."Field"; both empty without such a pair.
    void GetDatasetAndField(const std::string& complexName, TqlrDataSet*& dataSet, std::string& field) const;
    void GetDataSetList(rtl::TStringList& list, bool onlyDB = false) const;
    void GetActiveDataSetList(rtl::TStringList& list) const;
    // Ensures a data page (named "Data") in the first position.
    void CheckDataPage();

    // ---- evaluation (qlrReportCalc.cpp)
    // Evaluates an expression: a plain name by LookupValue, anything else
    // through the expression cache.  Raises (after recording the error)
    // when it fails.  script: nullptr for the report's script; fromScript
    // when a running script asks (errors then carry the script prefix).
    rtl::Variant Calc(const std::string& expr, qs::TqsScript* script = nullptr, bool fromScript = false);
    // Test hook: when set, Calc asks it instead of evaluating.
    std::function<rtl::Variant(const std::string&)> OnCalc;
    bool LookupValue(const std::string& name, rtl::Variant& value);
    bool PrepareScript();
    // A script function answered by OnUserFunction; survives PrepareScript.
    void AddFunction(const std::string& funcName, const std::string& category = {},
                     const std::string& description = {});
    qs::TqsScript* Script() const { return FScript.get(); }
    TqlrExpressionCache* ExpressionCache() const { return FExpressionCache.get(); }
    // The view being printed ("Self" of expressions); its name prefixes
    // expression errors.  CurValue: the "Value" of the last memo.
    TqlrComponent* CurObject = nullptr;
    rtl::Variant CurValue;
    std::string CurObjectName() const;

    // ---- running (qlrReportRun.cpp)
    // True only for a complete run without errors (a cancelled run gives
    // False, without a message).
    bool PrepareReport(bool clearLastReport = true);
    bool Print();
    bool Export(TqlrCustomExportFilter* filter);
    TqlrCustomEngine* Engine() const { return FEngine.get(); }
    TqlrCustomPreviewPages* PreviewPages() const { return FPreviewPages.get(); }
    // Installs the engine / prepared pages (the report owns them).
    void SetEngine(std::unique_ptr<TqlrCustomEngine> engine);
    void SetPreviewPages(std::unique_ptr<TqlrCustomPreviewPages> pages);
    void DoBeforePrint(TqlrReportComponent* obj);
    void DoAfterPrint(TqlrReportComponent* obj);
    void DoNotifyEvent(TqlrComponent*, const std::string&) {}
    void DoParamEvent(TqlrComponent*, const std::string&) {}
    // Shows the errors through the report error display by NewSilentMode.
    void ShowErrors();

    // ---- templates (qlrReportTemplate.cpp)
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream, bool saveChildren = true, bool saveDefaultValues = false,
                      bool streaming = false) override;
    // False (report empty) for a missing file unless exceptionIfNotFound.
    bool LoadFromFile(const std::string& fileName, bool exceptionIfNotFound = false);
    void SaveToFile(const std::string& fileName);

    // ---- inheritance (qlrReportInherit.cpp)
    // The template this one inherits from.  Setting a name loads it into
    // the report (OnLoadTemplate, or the file relative to this report's
    // file, then to the application folder), keeps a copy as the ancestor
    // and marks every object inherited; saving then writes only what
    // differs from the ancestor.  Empty forgets the ancestor.
    const std::string& ParentReport() const { return FParentReport; }
    void SetParentReport(const std::string& value);
    TqlrReport* ParentReportObject() const { return FParentReportObject.get(); }
    // The open designer (none in this program; not owned) and the flag a
    // designer sets when it changes the report.
    TqlrCustomDesigner* Designer() const { return FDesigner; }
    void SetDesigner(TqlrCustomDesigner* designer) { FDesigner = designer; }
    bool Modified = false;
    std::function<void(TqlrReport*, const std::string&)> OnLoadTemplate;
    // Makes the report inherit from templName keeping its own objects;
    // False for the report's own file or when the user cancels.
    bool InheritFromTemplate(const std::string& templName,
                             TqlrInheriteMode inheriteMode = TqlrInheriteMode::imDefault);

    // ---- events (host callbacks)
    std::function<void(TqlrReportComponent*)> OnBeforePrint, OnAfterPrint;
    std::function<void(TqlrReport*)> OnBeginDoc, OnEndDoc;
    std::function<void(const std::string&, rtl::Variant&)> OnGetValue;
    std::function<void(TqlrReport*, const std::string&, rtl::Variant&)> OnNewGetValue;
    // A stored connection string for ReportOptions.ConnectionName.
    std::function<void(const std::string&)> OnSetConnection;
    std::function<rtl::Variant(const std::string&, const std::vector<rtl::Variant>&)> OnUserFunction;
    std::function<void(TqlrReport*, TqlrProgressType, int)> OnProgressStart, OnProgress, OnProgressStop;
    // Builds a page's content itself (through the engine's ShowBand,
    // NewPage...) in place of the page's data bands.
    std::function<void(TqlrReportPage*)> OnManualBuild;

    // ---- output: preview link, progress and the events of printing,
    // export and preview clicks (qlrReportOutput.cpp)
    TqlrCustomPreview* Preview() const { return FPreview; }
    // Unlinks the old control and links v to the report and its pages.
    void SetPreview(TqlrCustomPreview* v);
    // Prepares and shows: with OldStyleProgress first prepared, then shown;
    // otherwise shown at once and prepared on a 50 ms timer.
    void ShowReport(bool clearLastReport = true);
    // Shows the prepared pages in the host's preview control or in a new
    // preview window.
    void ShowPreparedReport();
    IqlrPreviewWindow* PreviewForm() const { return FPreviewForm.get(); }
    std::function<void(TqlrReport*)> OnPreview;
    void InternalOnProgressStart(TqlrProgressType type);
    void InternalOnProgress(TqlrProgressType type, int progress);
    void InternalOnProgressStop(TqlrProgressType type);
    // The preview window's status text (IsHint: the hint panel).
    void SetProgressMessage(const std::string& value, bool isHint = false);
    // Host hook for SetProgressMessage (the preview window's status bar).
    std::function<void(const std::string&, bool)> OnProgressMessage;
    // Makes PrintOptions.Printer the current printer when it is installed.
    void SelectPrinter();
    // OnDblClickObject for a double click, else OnClickObject.
    void DoPreviewClick(TqlrView* view, gui::TMouseButton button, const rtl::Set<gui::TShiftStateItem, 8>& shift,
                        bool& modified, bool dblClick);
    // Keys of the drill-down groups the user has toggled.
    rtl::TStringList* DrillState() const { return FDrillState.get(); }
    std::function<void(TqlrReport*)> OnPrintReport, OnAfterPrintReport;
    std::function<void(TqlrReportPage*, int)> OnPrintPage;
    std::function<void(TqlrView*)> OnMouseOverObject;
    std::function<void(TqlrView*, gui::TMouseButton, const rtl::Set<gui::TShiftStateItem, 8>&, bool&)>
        OnClickObject, OnDblClickObject;

    // The report's own text layout.
    TqlrDrawText& DrawText() { return FDrawText; }
    TqlrStyles* Styles() const { return FStyles.get(); }
    // Copies the styles and applies them.
    void SetStyles(TqlrStyles* styles);
    TqlrEngineOptions* EngineOptions() const { return FEngineOptions.get(); }
    TqlrPreviewOptions* PreviewOptions() const { return FPreviewOptions.get(); }
    TqlrPrintOptions* PrintOptions() const { return FPrintOptions.get(); }
    TqlrReportOptions* ReportOptions() const { return FReportOptions.get(); }

    void DefineProperties(rtl::TFiler& filer) override;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    rtl::Variant DoGet(const std::string& name);
    rtl::Variant DoAggregate(const std::string& func, qs::TqsMethodHelper* caller);

    std::string FVersion = "4.9";
    TqlrDataSet* FDataSet = nullptr;
    std::string FDataSetName;
    std::unique_ptr<TqlrReportDataSets> FDataSets;
    std::unique_ptr<rtl::TStringList> FErrors;
    std::unique_ptr<TqlrVariables> FVariables;
    std::unique_ptr<qs::TqsScript> FScript;
    std::vector<TqlrDataSet*> FEnabledDataSets;
    bool FStoreInDFM = true, FShowProgress = true, FOldStyleProgress = false, FDotMatrixReport = false;
    bool FTerminated = false, FReloading = false;
    std::string FIniFile = "\\Software\\Quillory";
    std::string FFileName;
    std::string FScriptLanguage = "PascalScript";
    std::unique_ptr<rtl::TStringList> FScriptText;
    std::unique_ptr<rtl::TStringList> FSysVariables;
    TqlrXMLSerializer* FSerializer = nullptr;
    TqlrDrawText FDrawText;
    std::unique_ptr<TqlrStyles> FStyles;
    std::unique_ptr<TqlrEngineOptions> FEngineOptions;
    std::unique_ptr<TqlrPreviewOptions> FPreviewOptions;
    std::unique_ptr<TqlrPrintOptions> FPrintOptions;
    std::unique_ptr<TqlrReportOptions> FReportOptions;
    std::unique_ptr<TqlrExpressionCache> FExpressionCache;
    std::unique_ptr<TqlrCustomEngine> FEngine;
    std::unique_ptr<TqlrCustomPreviewPages> FPreviewPages;
    qs::TqsCustomVariable* FLocalValue = nullptr;
    qs::TqsCustomVariable* FSelfValue = nullptr;
    // Output (qlrReportOutput.cpp).
    TqlrCustomPreview* FPreview = nullptr;
    std::unique_ptr<IqlrProgressWindow> FProgress;
    std::unique_ptr<IqlrPreviewWindow> FPreviewForm;
    std::unique_ptr<gui::TTimer> FTimer;
    void ClosePreviewForm();
    std::unique_ptr<rtl::TStringList> FDrillState = std::make_unique<rtl::TStringList>();
    std::string FParentReport;
    std::unique_ptr<TqlrReport> FParentReportObject;
    TqlrCustomDesigner* FDesigner = nullptr;
    void SaveTemplate(rtl::TStream& stream, bool saveChildren, bool saveDefaultValues, bool streaming);
};

// The name a reference to c is written under from root: the plain name
// (no owner, owned by root, or by the report's own owner), "Form.Name" for
// a form or data module, "Owner.Frame.Name" for a frame; empty otherwise.
std::string ComponentFullName(rtl::TComponent* c, rtl::TComponent* root);
// A component by such a name: plain names among owner's components (then
// the report's owner's), dotted ones among the global forms.  nullptr when a
// part is missing; any failure raises EClassNotFound "Missing <name>".
rtl::TComponent* FindComponentByPath(rtl::TComponent* owner, const std::string& name);
// Shows, re-raises or swallows an error by the report's silent mode.
void ReportErrorHandler(TqlrReport* report, const std::string& message);
// A collection in a form stream: while owner is written as a template, a
// list of one-string lists holding each item's attribute text; otherwise
// the stream's own collection form.  Reading accepts both.
void WriteCollectionXML(rtl::TCollection& collection, rtl::TWriter& writer, TqlrComponent* owner);
void ReadCollectionXML(rtl::TCollection& collection, rtl::TReader& reader, TqlrComponent* owner);

// The process's global variables (qlrGlobalVariables): read by the memo's
// [COPYNAME#] macro.
TqlrVariables& GlobalVariables();

// Registers the report classes for reading by class name (once).
void RegisterReportClasses();
// Registers the script binding modules of the class library and of the
// report classes (once, before the first report's script adds them).
void RegisterReportScriptModules();

} // namespace qlr

#include "report/qlrClassPages.h"
