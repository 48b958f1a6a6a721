// The expression cache of a report and the abstract bases through which the
// report, the layout engine and the prepared pages see each other.
//
// Each distinct expression text becomes one small function ("ql3f" + n) of
// the report's script language, compiled once in the cache's own script
// whose parent is the calling script, so every name published there is in
// scope.  The rule a caller must know: compiled functions live until Clear
// (PrepareScript clears the cache at the start of every preparation).
//
// Example:
//   TqlrExpressionCache cache(&reportScript);
//   cache.SetScriptLanguage("PascalScript");
//   std::string err;
//   rtl::Variant v = cache.Calc("1 + 2", err, &reportScript);   // 3, err empty
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Variant.h"
#include "platform/gui/Graphics.h"
#include "script/qs_iinterpreter.h"

namespace gui {
enum class TMouseButton;
enum class TShiftStateItem;
} // namespace gui

namespace qlr {

class TqlrReport;
class TqlrCustomPreviewPages;
class TqlrComponent;
class TqlrReportPage;
class TqlrPictureView;
class TqlrBand;
class TqlrXMLItem;
enum class TqlrProgressType;

class TqlrExpressionCache {
public:
    explicit TqlrExpressionCache(qs::TqsScript* mainScript);
    ~TqlrExpressionCache();
    // Empties the list and the cache's script (all compiled functions go).
    void Clear();
    // The value; errorMsg is empty on success, else the compile error
    // ("Error in expression '<expr>': <message>") or the run-time message.
    rtl::Variant Calc(const std::string& expression, std::string& errorMsg, qs::TqsScript* script);

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v);
    const std::string& ScriptLanguage() const { return FScriptLanguage; }
    void SetScriptLanguage(const std::string& v) { FScriptLanguage = v; }
    int Count() const { return FExpressions.Count(); }
    // Number of compilations since creation (each new or erroneous text).
    int CompileCount() const { return FCompileCount; }
    qs::TqsScript* Script() const { return FScript.get(); }

private:
    rtl::TStringList FExpressions;
    qs::TqsScript* FMainScript;
    std::unique_ptr<qs::TqsScript> FScript;
    std::string FScriptLanguage = "PascalScript";
    bool FCaseSensitive = false;
    int FCompileCount = 0;
};

// The wrapper function of one expression in a script language; other
// languages give an empty text.
std::string ExpressionFunctionText(const std::string& language, int n, const std::string& expression);

// The layout engine as the report sees it.  The band run itself belongs to
// the concrete engine; Run returns whether the run completed.
class TqlrCustomEngine : public rtl::TPersistent {
    RTL_CLASS(TqlrCustomEngine, rtl::TPersistent)
public:
    explicit TqlrCustomEngine(TqlrReport* report) : FReport(report) {}
    int CurColumn = 1, CurVColumn = 0, CurLine = 0, CurLineThrough = 0;
    long double CurX = 0, CurY = 0;
    bool FinalPass = true;
    long double FPageHeight = 0, PageWidth = 0;
    bool Running = false;
    double StartDate = 0, StartTime = 0;
    int TotalPages = 0;
    bool SecondScriptCall = false;
    // Objects told after each data row (re-registered by BeforeStartReport).
    std::vector<rtl::TObject*> NotifyList;

    TqlrReport* Report() const { return FReport; }
    TqlrCustomPreviewPages* PreviewPages() const { return FPreviewPages; }
    void SetPreviewPages(TqlrCustomPreviewPages* p) { FPreviewPages = p; }
    bool DoublePass() const;
    long double PageHeight() { return CalcPageHeight(); }
    virtual long double CalcPageHeight() { return FPageHeight; }
    virtual void EndPage() = 0;
    virtual void NewColumn() = 0;
    virtual void NewPage() = 0;
    virtual long double FreeSpace() = 0;
    virtual rtl::Variant GetAggregateValue(const std::string& name, const std::string& expression,
                                           rtl::TObject* band, int flags) = 0;
    virtual bool Run() = 0;
    // Sets the report's Terminated.
    void StopReport();
    // Band output, callable from report code (the band engine implements
    // them; the base does nothing).
    virtual void ShowBand(TqlrBand* /*band*/) {}
    virtual void ShowBand(const rtl::TClassInfo& /*bandClass*/) {}
    virtual long double HeaderHeight() { return 0; }
    virtual long double FooterHeight() { return 0; }
    // Shows the band the report finds by that name (nothing when none).
    void ShowBandByName(const std::string& bandName);

private:
    TqlrReport* FReport;
    TqlrCustomPreviewPages* FPreviewPages = nullptr;
};

enum class TqlrAddPageAction { apWriteOver, apAdd };

// The outline of prepared pages as the engine and the preview see it: a tree
// of XML items with a current node.
class TqlrCustomOutline : public rtl::TPersistent {
    RTL_CLASS(TqlrCustomOutline, rtl::TPersistent)
public:
    explicit TqlrCustomOutline(TqlrCustomPreviewPages* pages) : FPreviewPages(pages) {}
    TqlrXMLItem* CurItem = nullptr;
    TqlrCustomPreviewPages* PreviewPages() const { return FPreviewPages; }
    TqlrCustomEngine* Engine() const;
    // Children of the current node.
    virtual int GetCount() = 0;
    // A node under the current one, made current (the caller returns with
    // LevelUp).
    virtual void AddItem(const std::string& text, int top) = 0;
    virtual void LevelDown(int index) = 0;
    virtual void LevelRoot() = 0;
    virtual void LevelUp() = 0;
    // page and top are set only when the node has them.
    virtual void GetItem(int index, std::string& text, int& page, int& top) = 0;
    // Moves the nodes added after from to a new page at newTop.
    virtual void ShiftItems(TqlrXMLItem* from, int newTop) = 0;
    virtual TqlrXMLItem* GetCurPosition() = 0;

private:
    TqlrCustomPreviewPages* FPreviewPages;
};

// The preview control as the report and the prepared pages see it
// (implemented by report output).
class TqlrCustomPreview {
public:
    virtual ~TqlrCustomPreview() = default;
    // Set by the report when it links the control (TqlrReport::SetPreview).
    TqlrReport* Report = nullptr;
    TqlrCustomPreviewPages* PreviewPages = nullptr;
    bool UseReportHints = true;
    virtual void Init() = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual void RefreshReport() = 0;
    virtual void InternalOnProgressStart(TqlrReport* report, TqlrProgressType type, int progress) = 0;
    virtual void InternalOnProgress(TqlrReport* report, TqlrProgressType type, int progress) = 0;
    virtual void InternalOnProgressStop(TqlrReport* report, TqlrProgressType type, int progress) = 0;
    // The control's own operations the prepared pages use.
    virtual void Refresh() {}
    virtual void Invalidate() {}
    virtual void HideMessage() {}
    virtual void SetPageNo(int /*pageNo*/) {}
    virtual void SetPosition(int /*pageN*/, int /*top*/) {}
    virtual void SetHint(const std::string& /*hint*/) {}
    virtual void SetShowHint(bool /*show*/) {}
};

// An export format: the prepared pages feed it page by page, object by
// object (TqlrCustomPreviewPages::Export).
class TqlrCustomExportFilter : public rtl::TComponent {
    RTL_CLASS(TqlrCustomExportFilter, rtl::TComponent)
public:
    // Listed in the export-filter registry until destroyed.
    explicit TqlrCustomExportFilter(rtl::TComponent* owner);
    // Not listed.
    struct NoRegister {};
    explicit TqlrCustomExportFilter(NoRegister);
    ~TqlrCustomExportFilter() override;

    bool CurPage = false, ExportNotPrintable = false;
    std::string FileName, PageNumbers;
    TqlrReport* Report = nullptr;
    bool ShowDialog = true;
    rtl::TStream* Stream = nullptr;
    bool UseFileCache = true;
    std::string DefaultPath;
    bool SlaveExport = false, ShowProgress = true;
    std::string DefaultExt, FilterDesc;
    bool SuppressPageHeadersFooters = false;
    std::string Title;
    bool OverwritePrompt = false;
    std::unique_ptr<rtl::TStringList> Files;
    std::function<void(TqlrCustomExportFilter*)> OnBeginExport;
    bool Registered() const { return !FNoRegister; }

    virtual std::string GetDescription() { return {}; }
    // The dialog's modal result; 1 is OK.
    virtual int ShowModal() { return 1; }
    virtual bool Start() { return true; }
    virtual void ExportObject(TqlrComponent* obj) = 0;
    virtual void Finish() {}
    virtual void FinishPage(TqlrReportPage* /*page*/, int /*index*/) {}
    virtual void StartPage(TqlrReportPage* /*page*/, int /*index*/) {}

private:
    bool FNoRegister = false;
};

// The prepared pages as the report and the engine see them (the store
// itself is TqlrPreviewPages, qlrPreviewPages.h).  Pages are 0-based.
class TqlrCustomPreviewPages {
public:
    explicit TqlrCustomPreviewPages(TqlrReport* report) : FReport(report) {}
    virtual ~TqlrCustomPreviewPages() = default;
    TqlrAddPageAction AddPageAction = TqlrAddPageAction::apWriteOver;
    int CurPage = 0, CurPreviewPage = 0, FirstPage = 0;
    TqlrReport* Report() const { return FReport; }
    TqlrCustomEngine* Engine() const { return FEngine; }
    void SetEngine(TqlrCustomEngine* e) { FEngine = e; }
    TqlrCustomOutline* Outline() const { return FOutline.get(); }

    virtual int GetCount() = 0;
    // The page rebuilt from the prepared page at index (owned by the
    // store's page cache), or nullptr.
    virtual TqlrReportPage* GetPage(int /*index*/) { return nullptr; }
    // Width and height in pixels; (0, 0) out of range.
    virtual gui::TPoint GetPageSize(int /*index*/) { return {0, 0}; }
    virtual void Clear() = 0;
    virtual void Initialize() {}
    virtual void AddObject(TqlrComponent* /*obj*/) {}
    virtual void AddPage(TqlrReportPage* /*page*/) {}
    virtual void AddSourcePage(TqlrReportPage* /*page*/) {}
    virtual void AddToSourcePage(TqlrComponent* /*obj*/) {}
    virtual void BeginPass() {}
    virtual void ClearFirstPassPages() {}
    virtual void CutObjects(int /*position*/) {}
    virtual void Finish() {}
    virtual void IncLogicalPageNumber() {}
    virtual void ResetLogicalPageNumber() {}
    virtual void PasteObjects(long double /*x*/, long double /*y*/) {}
    virtual void ShiftAnchors(int /*from*/, int /*newTop*/) {}
    virtual void AddPicture(TqlrPictureView* /*picture*/) {}
    virtual bool BandExists(TqlrBand* /*band*/) { return false; }
    virtual int GetCurPosition() { return 0; }
    virtual int GetAnchorCurPosition() { return -1; }
    virtual long double GetLastY(long double /*columnPosition*/ = 0) { return 0; }
    // Paper of the prepared page's source page, in pixels (custom size).
    virtual void UpdatePageDimensions(TqlrReportPage* /*page*/, long double /*width*/, long double /*height*/) {}
    virtual int GetLogicalPageNo() { return CurPage + 1; }
    virtual int GetLogicalTotalPages() { return GetCount(); }
    virtual void AddEmptyPage(int /*index*/) {}
    virtual void DeletePage(int /*index*/) {}
    virtual void ModifyPage(int /*index*/, TqlrReportPage* /*page*/) {}
    virtual void DrawPage(int /*index*/, gui::TCanvas* /*canvas*/, long double /*scaleX*/, long double /*scaleY*/,
                          long double /*offsetX*/, long double /*offsetY*/) {}
    virtual void ObjectOver(int /*index*/, int /*x*/, int /*y*/, gui::TMouseButton /*button*/,
                            const rtl::Set<gui::TShiftStateItem, 8>& /*shift*/, long double /*scale*/,
                            int /*offsetX*/, int /*offsetY*/, bool /*click*/, int& /*cursor*/,
                            bool /*dbClick*/ = false) {}
    virtual void AddFrom(TqlrReport* /*report*/) {}
    virtual void LoadFromStream(rtl::TStream& /*stream*/, bool /*allowPartialLoading*/ = false) {}
    virtual void SaveToStream(rtl::TStream& /*stream*/) {}
    virtual bool LoadFromFile(const std::string& /*fileName*/, bool /*exceptionIfNotFound*/ = false) { return false; }
    virtual void SaveToFile(const std::string& /*fileName*/) {}
    virtual bool Print() { return false; }
    virtual bool Export(TqlrCustomExportFilter* /*filter*/) { return false; }

protected:
    // The concrete store makes its own outline.
    void SetOutline(std::unique_ptr<TqlrCustomOutline> outline) { FOutline = std::move(outline); }

private:
    TqlrReport* FReport;
    TqlrCustomEngine* FEngine = nullptr;
    std::unique_ptr<TqlrCustomOutline> FOutline;
};

} // namespace qlr
