// Aggregate values of a report run: SUM, AVG, MIN, MAX and COUNT calls
// found in the memo texts of footers, summaries and vertical bands.
//
// Before a run AddItems scans a page and creates one item per call; every
// printed row of the item's data band adds its value (AddValue); the footer
// holding the call reads the result (GetValue) and resets it after it
// printed (Reset).  The rule a caller must know: an item is found only by
// the band that holds its memo (the parent band), so a call standing in a
// data band or header is never collected and reads Null.
//
// Example (a footer memo "[SUM(<Data."Amount">)]"):
//   TqlrAggregateList list(report);
//   list.AddItems(page, masterBands, verticalMasterBands);
//   list.AddValue(masterData, 0);                       // after each row
//   list.GetValue(footer, 0, "SUM", "<Data.\"Amount\">", nullptr, 0);
//   list.Reset(footer);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Variant.h"

namespace qlr {

class TqlrReport;
class TqlrReportPage;
class TqlrBand;
class TqlrCustomMemoView;

enum class TqlrAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

class TqlrAggregateItem {
public:
    explicit TqlrAggregateItem(TqlrReport* report) : FReport(report) {}
    // Adds the current row of the item's band (at FVColumn when above 0).
    void Calc();
    // Puts back the count and value before the last row.
    void DeleteValue();
    // Count 0, value Null, column values gone; a running total (flag 2)
    // with rows counted keeps its value unless force is set.
    void Reset(bool force = false);
    void StartKeep();
    void EndKeep();
    // The result (Null becomes 0).
    rtl::Variant Value();

    TqlrAggregateFunction FAggregateFunction = TqlrAggregateFunction::agSum;
    TqlrBand* FBand = nullptr;
    bool FCountInvisibleBands = false;
    bool FDontReset = false;
    std::string FExpression;
    bool FIsPageFooter = false;
    std::vector<rtl::Variant> FItemsArray;  // per vertical column; empty: none
    int FItemsCount = 0;
    std::vector<int> FItemsCountArray;
    rtl::Variant FItemsValue = rtl::Variant::Null();
    bool FKeeping = false;
    int FLastCount = 0;
    rtl::Variant FLastValue = rtl::Variant::Null();
    std::string FMemoName;
    TqlrCustomMemoView* FMemo = nullptr;
    std::string FOriginalName;
    TqlrBand* FParentBand = nullptr;
    int FTempItemsCount = 0;
    rtl::Variant FTempItemsValue = rtl::Variant::Null();
    int FVColumn = 0;

private:
    void Accumulate(int& count, rtl::Variant& value, const rtl::Variant& v) const;
    TqlrReport* FReport;
};

class TqlrAggregateList {
public:
    explicit TqlrAggregateList(TqlrReport* report) : FReport(report) {}
    void Clear() { FList.clear(); }
    int Count() const { return static_cast<int>(FList.size()); }
    TqlrAggregateItem* Items(int i) const { return FList[static_cast<std::size_t>(i)].get(); }

    // Scans the footers of the page's data bands (horizontal masters and
    // vertical masters with all their details) and the page footer, column
    // footer and summary.
    void AddItems(TqlrReportPage* page, const std::vector<TqlrBand*>& masters,
                  const std::vector<TqlrBand*>& verticalMasters);
    void AddValue(TqlrBand* band, int vColumn = 0);
    void DeleteValue(TqlrBand* band);
    rtl::Variant GetValue(TqlrBand* parentBand, const std::string& complexName, int vColumn = 0);
    rtl::Variant GetValue(TqlrBand* parentBand, int vColumn, const std::string& name, const std::string& expression,
                          TqlrBand* band, int flags);
    void Reset(TqlrBand* parentBand);
    void StartKeep();
    void EndKeep();
    void ClearValues();

private:
    void AddBand(TqlrBand* scanned, TqlrBand* dataBand);
    void ScanMemo(TqlrCustomMemoView* memo, TqlrBand* dataBand);
    void ParseName(const std::string& text, TqlrCustomMemoView* memo, TqlrBand* dataBand, int depth);
    void AddItem(const std::string& callText, TqlrCustomMemoView* memo, TqlrBand* dataBand);

    TqlrReport* FReport;
    std::vector<std::unique_ptr<TqlrAggregateItem>> FList;
};

} // namespace qlr
