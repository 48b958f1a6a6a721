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

#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Variant.h"
#include "script/qs_iinterpreter.h"

namespace qlr {

class TqlrReport;
class TqlrCustomPreviewPages;
class TqlrComponent;
class TqlrBand;
class TqlrReportPage;
class TqlrXMLItem;

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

// The outline of prepared pages as the engine sees it: nodes hold a text,
// a page and a top; AddItem makes the new node current.
class TqlrCustomOutline {
public:
    virtual ~TqlrCustomOutline() = default;
    virtual int GetCount() { return 0; }
    virtual void AddItem(const std::string& /*text*/, int /*top*/) {}
    virtual void LevelDown(int /*index*/) {}
    virtual void LevelRoot() {}
    virtual void LevelUp() {}
    // Moves the nodes added after from to the next page at newTop.
    virtual void ShiftItems(TqlrXMLItem* /*from*/, int /*newTop*/) {}
    // The last child of the current node (nullptr: none).
    virtual TqlrXMLItem* GetCurPosition() { return nullptr; }
};

enum class TqlrAddPageAction { apWriteOver, apAdd };

// The prepared pages as the report sees them (the store itself is the
// prepared-pages unit).
class TqlrCustomPreviewPages {
public:
    explicit TqlrCustomPreviewPages(TqlrReport* report) : FReport(report) {}
    virtual ~TqlrCustomPreviewPages() = default;
    int CurPage = 0, CurPreviewPage = 0, FirstPage = 0;
    TqlrAddPageAction AddPageAction = TqlrAddPageAction::apAdd;
    TqlrReport* Report() const { return FReport; }
    TqlrCustomEngine* Engine() const { return FEngine; }
    void SetEngine(TqlrCustomEngine* e) { FEngine = e; }
    virtual int GetCount() = 0;
    virtual void Clear() = 0;
    // The outline (nullptr while the store has none).
    virtual TqlrCustomOutline* Outline() { return nullptr; }
    // What the band engine calls during a run (the store implements them).
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
    virtual bool BandExists(TqlrBand* /*band*/) { return false; }
    virtual int GetCurPosition() { return 0; }
    virtual int GetAnchorCurPosition() { return -1; }
    virtual long double GetLastY(long double /*columnPosition*/ = 0) { return 0; }
    // Paper of the prepared page's source page, in pixels (custom size).
    virtual void UpdatePageDimensions(TqlrReportPage* /*page*/, long double /*width*/, long double /*height*/) {}
    virtual int GetLogicalPageNo() { return CurPage + 1; }
    virtual int GetLogicalTotalPages() { return GetCount(); }
    virtual bool Print() { return false; }
    virtual bool Export(rtl::TObject* /*filter*/) { return false; }

private:
    TqlrReport* FReport;
    TqlrCustomEngine* FEngine = nullptr;
};

} // namespace qlr
