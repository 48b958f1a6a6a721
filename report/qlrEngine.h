// The band engine: lays a report template out into prepared pages.
//
// Run walks the report pages, repeats them for the records of the report's
// and the page's data sets, runs the master data bands with their details,
// groups, headers and footers, stretches and splits bands, starts new
// columns and pages and reprints headers there, keeps marked blocks
// together by cutting and pasting what was already output, and hands every
// placed band to the prepared pages.  The rule a caller must know: the
// report owns the engine and calls Run from PrepareReport; ShowBand,
// NewPage, NewColumn and EndPage are for report code while a run is on.
//
// Example:
//   report.SetEngine(std::make_unique<qlr::TqlrEngine>(&report));
//   report.SetPreviewPages(std::make_unique<MyPages>(&report));
//   report.PrepareReport();        // runs TqlrEngine::Run
//
// Units: qlrEngineRun.cpp (run, pages, columns, header list, keeping
// together, outline), qlrEngineData.cpp (band structure, data bands,
// groups, drill-down), qlrEngineOutput.cpp (one band: prepare, stretch,
// shift, split, subreports).
#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "report/qlrAggregate.h"
#include "report/qlrExpressionCache.h"

namespace qlr {

class TqlrBand;
class TqlrDataBand;
class TqlrDataSet;
class TqlrNullBand;
class TqlrReportPage;
class TqlrGroupHeader;
class TqlrSubreport;
class TqlrXMLItem;

struct TqlrHeaderListItem {
    TqlrBand* Band = nullptr;
    long double Left = 0;
    bool IsInKeepList = false;
};

// Bands reprinted at the top of every new page and column.
class TqlrHeaderList {
public:
    void AddItem(TqlrBand* band, long double left, bool inKeepList);
    // Removes the first item of that band.
    void RemoveItem(TqlrBand* band);
    void Clear() { FList.clear(); }
    int Count() const { return static_cast<int>(FList.size()); }
    TqlrHeaderListItem& Items(int i) { return FList[static_cast<std::size_t>(i)]; }

private:
    std::vector<TqlrHeaderListItem> FList;
};

class TqlrEngine : public TqlrCustomEngine {
    RTL_CLASS(TqlrEngine, TqlrCustomEngine)
public:
    explicit TqlrEngine(TqlrReport* report);
    ~TqlrEngine() override;

    long double CalcPageHeight() override;
    void EndPage() override;
    void NewColumn() override;
    void NewPage() override;
    void ShowBand(TqlrBand* band) override;
    void ShowBand(const rtl::TClassInfo& bandClass) override;
    long double HeaderHeight() override;
    long double FooterHeight() override;
    long double FreeSpace() override;
    rtl::Variant GetAggregateValue(const std::string& name, const std::string& expression, rtl::TObject* band,
                                   int flags) override;
    bool Run() override;

    // Prepares the band structure of every page and checks data-set use;
    // false (errors in the report's list) stops the run.
    bool Initialize();
    void Finalize();
    void RemoveFromHeaderList(TqlrBand* band);
    void RemoveFromVHeaderList(TqlrBand* band);

    TqlrAggregateList* Aggregates() const { return FAggregates.get(); }
    // The master data bands of a page (with a data set) after Initialize.
    const std::vector<TqlrBand*>& PageSubBands(TqlrReportPage* page, bool vertical = false);
    // The data set a data band runs over: its own, else its virtual one
    // when RowCount is set, else nullptr.
    static TqlrDataSet* BandDataSet(TqlrBand* band);

private:
    // --- run and pages (qlrEngineRun.cpp)
    void RunReportPages();
    void RunAllPages();
    void RunPage(TqlrReportPage* page);
    void DoPageRun(TqlrReportPage* page);
    void PageStart();
    void AddPage();
    void PrintColumnFooter();
    void NextColumn();
    void AddPageOutline();
    void AddToHeaderList(TqlrBand* band);
    void StartKeep(TqlrBand* band, int position = -1);
    void EndKeep(TqlrBand* band);
    void AddBandOutline(TqlrBand* band);
    void OutlineUp(TqlrBand* band);
    void RebuildEndlessPage();
    void ServeMessages();
    bool Terminated() const;
    TqlrCustomPreviewPages* Pages() const { return PreviewPages(); }
    TqlrCustomOutline* Outline() const;

    // --- band structure and data (qlrEngineData.cpp)
    void PrepareBandStructure(TqlrReportPage* page, bool vertical);
    bool HasData(const std::vector<TqlrBand*>& details, bool printIfEmpty, bool isPage);
    void RunDataBands(const std::vector<TqlrBand*>& bands);
    void ApplyColumns(TqlrDataBand* band, long double& rowTop, int rowStartPosition);
    void StartGroups(TqlrDataBand* band, std::size_t level, bool firstRow);
    void CheckGroups(TqlrDataBand* band, long double& rowTop, int rowStartPosition);
    void FinishGroups(TqlrDataBand* band, std::size_t level);
    void ApplyDrillDown(TqlrDataBand* band);

    // --- one band (qlrEngineOutput.cpp)
    void OutputBand(TqlrBand* band);
    void PrepareBand(TqlrBand* band);
    void FinishBand(TqlrBand* band);
    void PrepareShiftTree(TqlrBand* band);
    void DoShift(TqlrBand* band);
    void SplitBand(TqlrBand* band);
    bool ResetSuppressValues(TqlrBand* band);
    void RunSubreports(TqlrBand* band);
    void RunPrintOnParent(TqlrBand* band, const std::vector<TqlrSubreport*>& subreports);
    void CollectBand(TqlrBand* band);
    // --- vertical bands (qlrEngineVertical.cpp)
    void MoveIntoVerticalBands(TqlrReportPage* page, const std::vector<TqlrBand*>& horizontal);
    void CollectVerticalCells(TqlrBand* holder);
    void RunVerticalBands(const std::vector<TqlrBand*>& bands);
    void ShowVBand(TqlrBand* band);
    void OutputVerticalCells(TqlrBand* holder);
    long double ColumnX(int column) const;

    std::unique_ptr<TqlrAggregateList> FAggregates;
    bool FCallFromAddPage = false;
    bool FCallFromEndPage = false;
    TqlrBand* FCurBand = nullptr;
    TqlrBand* FLastBandOnPage = nullptr;
    bool FDontShowHeaders = false;
    TqlrHeaderList FHeaderList;
    bool FFirstReportPage = false;
    long double FFirstColumnY = 0;
    bool FIsFirstBand = false;
    bool FIsFirstPage = false;
    bool FIsLastPage = false;
    std::vector<std::pair<std::string, int>> FHBandNamesTree;
    TqlrBand* FKeepBand = nullptr;
    bool FKeepFooter = false;
    bool FKeeping = false;
    bool FKeepHeader = false;
    long double FKeepCurY = 0;
    long double FPrevFooterHeight = 0;
    TqlrXMLItem* FKeepOutline = nullptr;
    int FKeepPosition = 0;
    int FKeepAnchor = 0;
    bool FCallFromPHeader = false;
    TqlrNullBand* FOutputTo = nullptr;
    TqlrReportPage* FPage = nullptr;
    long double FPageCurX = 0;
    TqlrBand* FStartNewPageBand = nullptr;
    TqlrHeaderList FVHeaderList;
    // The horizontal band receiving the cells of the vertical bands, and
    // the object counts that split those cells into pages.
    TqlrBand* FVMasterBand = nullptr;
    std::vector<int> FVPageList;
    // Master bands of each page (horizontal and vertical), set by the
    // band structure.
    std::vector<std::pair<TqlrReportPage*, std::vector<TqlrBand*>>> FSubBands, FVSubBands;
    // Bands whose shift relations are computed (once per run).
    std::set<TqlrBand*> FShiftReady;
};

} // namespace qlr
