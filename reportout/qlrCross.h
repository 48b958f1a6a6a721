// The cross-tab: a report object that gathers (row key, column key, cells)
// records into a matrix, adds subtotals and grand totals, lays its headers
// out and prints itself as bands of its own, cut into pieces that fit the
// pages.
//
// The rule a caller must know: records go in between BeginMatrix and
// EndMatrix (a report run calls both: BeginMatrix before print, EndMatrix in
// GetData, so a report's before-print handler only calls AddValue); keys and
// values are Variants, at most 32 levels in each direction.
//
// Example:
//   auto* cross = new qlr::TqlrCrossView(band);
//   cross->BeginMatrix();
//   cross->AddValue({rtl::Variant(1)}, {rtl::Variant("Time")}, {rtl::Variant("12:00")});
//   cross->EndMatrix();
//   cross->GetValue(0, 0, 0);      // "12:00"
//
// Units: qlrCross.cpp (key collections, matrix, totals), qlrCrossLayout.cpp
// (header trees, measuring, layout), qlrCrossView.cpp (the view),
// qlrCrossOutput.cpp (output to bands and pages).
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Variant.h"
#include "report/qlrClass.h"
#include "report/qlrClassPages.h"

namespace gui {
class TControl;
}

namespace qlr {

enum class TqlrCrossSortOrder { soAscending, soDescending, soNone, soGrouping };
enum class TqlrCrossFunction { cfNone, cfSum, cfMin, cfMax, cfAvg, cfCount };
RTL_ENUM(TqlrCrossFunction, "cfNone", "cfSum", "cfMin", "cfMax", "cfAvg", "cfCount")

constexpr int kCrossMaxLevels = 32;
using TqlrVariantArray = std::vector<rtl::Variant>;
using TqlrSortArray = std::array<TqlrCrossSortOrder, kCrossMaxLevels>;

struct TqlrCrossCell {
    rtl::Variant Value = rtl::Variant::Null();
    int Count = 1;
};
// One value per cell level; the chain of a (row, column) pair.
using TqlrCellChain = std::vector<TqlrCrossCell>;

// ------------------------------------------------------------ key collections

class TqlrIndexItem {
public:
    virtual ~TqlrIndexItem() = default;
    TqlrVariantArray FIndexes;
};

class TqlrIndexCollection {
public:
    TqlrIndexCollection(int indexesCount, const TqlrSortArray& sort) : FIndexesCount(indexesCount), FSortOrder(sort) {}
    virtual ~TqlrIndexCollection() = default;
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrIndexItem* Items(int i) const { return FItems[static_cast<std::size_t>(i)].get(); }
    // True and the item's index for an equal key, else False and the
    // position the key belongs at.
    bool Find(const TqlrVariantArray& indexes, int& index) const;
    // Inserts at index (appends past the end), keeping FIndexesCount values.
    virtual TqlrIndexItem* InsertItem(int index, const TqlrVariantArray& indexes);
    // The level-by-level comparison of a stored key a with a searched key k.
    int Compare(const TqlrVariantArray& a, const TqlrVariantArray& k) const;

    int FIndexesCount;
    TqlrSortArray FSortOrder;

protected:
    virtual std::unique_ptr<TqlrIndexItem> NewItem() { return std::make_unique<TqlrIndexItem>(); }
    std::vector<std::unique_ptr<TqlrIndexItem>> FItems;
};

class TqlrCrossColumn : public TqlrIndexItem {
public:
    int FCellIndex = 0;
};

class TqlrCrossColumns : public TqlrIndexCollection {
public:
    using TqlrIndexCollection::TqlrIndexCollection;
    TqlrCrossColumn* Column(const TqlrVariantArray& indexes);
    TqlrCrossColumn* Items(int i) const { return static_cast<TqlrCrossColumn*>(TqlrIndexCollection::Items(i)); }
    TqlrIndexItem* InsertItem(int index, const TqlrVariantArray& indexes) override;

protected:
    std::unique_ptr<TqlrIndexItem> NewItem() override { return std::make_unique<TqlrCrossColumn>(); }
};

class TqlrCrossRow : public TqlrIndexItem {
public:
    int FCellLevels = 1;
    // Entry k: the chain of the column whose cell index is k.
    std::vector<TqlrCellChain> FCells;
    // nullptr for a negative index; grows the list as needed.
    TqlrCellChain* GetCell(int index);
    rtl::Variant GetCellValue(int index1, int index2) const;
    void SetCellValue(int index1, int index2, const rtl::Variant& value);
};

class TqlrCrossRows : public TqlrIndexCollection {
public:
    TqlrCrossRows(int indexesCount, const TqlrSortArray& sort, int cellLevels)
        : TqlrIndexCollection(indexesCount, sort), FCellLevels(cellLevels)
    {
    }
    TqlrCrossRow* Row(const TqlrVariantArray& indexes);
    TqlrCrossRow* Items(int i) const { return static_cast<TqlrCrossRow*>(TqlrIndexCollection::Items(i)); }
    TqlrIndexItem* InsertItem(int index, const TqlrVariantArray& indexes) override;
    int FCellLevels;

protected:
    std::unique_ptr<TqlrIndexItem> NewItem() override { return std::make_unique<TqlrCrossRow>(); }
};

// ---------------------------------------------------------------- header trees

struct TqlrCrossRect {
    long double Left = 0, Top = 0, Width = 0, Height = 0;
};
struct TqlrCrossSize {
    long double X = 0, Y = 0;
};

class TqlrCustomCrossView;

// A node of a header tree (columns, rows or the corner captions).
class TqlrCrossHeader {
public:
    explicit TqlrCrossHeader(int cellLevels);
    virtual ~TqlrCrossHeader();

    virtual void CalcBounds() = 0;
    virtual void CalcSizes(int maxWidth, int minWidth, bool autoSize) = 0;

    // Nodes with a template, pre-order (the row tree's root is not among them).
    std::vector<TqlrCrossHeader*> AllItems();
    std::vector<TqlrCrossHeader*> TerminalItems();
    std::vector<TqlrCrossHeader*> IndexItems();
    rtl::Variant GetIndexes() const;
    rtl::Variant GetValues() const;
    // First child whose caption text equals value's text; -1 when none.
    int Find(const rtl::Variant& value) const;
    void AddValues(const TqlrVariantArray& values, bool unsorted);
    TqlrCrossHeader* AddCellHeader(const std::vector<TqlrCustomMemoView*>& memos, int index, int cellIndex);
    TqlrCrossHeader* AddCornerItem(TqlrCustomMemoView* memo);
    void ResetFuncValues(const std::vector<TqlrCrossFunction>& funcs);
    void AccumulateFuncValues(const std::vector<TqlrCrossFunction>& funcs, const TqlrVariantArray& values,
                              const std::vector<int>& counts);
    TqlrCrossHeader* Root();
    int Depth() const;
    bool HasChildren() const { return !FItems.empty(); }

    TqlrCrossRect FBounds;
    std::vector<TqlrCustomMemoView*> FMemos, FTotalMemos;
    TqlrVariantArray FCounts;
    int FCellIndex = 0;
    int FCellLevels;
    TqlrVariantArray FFuncValues;
    bool FHasCellHeaders = false;
    int FIndex = 0;
    bool FIsCellHeader = false, FIsIndex = false, FIsTotal = false;
    std::vector<TqlrCrossHeader*> FItems;  // owned
    int FLevelsCount = 1;
    TqlrCustomMemoView* FMemo = nullptr;
    bool FNoLevels = false;
    TqlrCrossHeader* FParent = nullptr;
    TqlrCrossSize FSize;
    int FTotalIndex = 0;
    rtl::Variant FValue = rtl::Variant::Null();
    bool FVisible = true;
    TqlrCrossHeader* FCorner = nullptr;  // not owned
    TqlrCustomCrossView* FView = nullptr;

protected:
    virtual TqlrCrossHeader* NewChild() = 0;
    TqlrCrossHeader* Append(TqlrCrossHeader* child);

private:
    void CollectAll(std::vector<TqlrCrossHeader*>& list);
    std::unordered_map<std::string, int> FChildByText;
};

class TqlrCrossColumnHeader : public TqlrCrossHeader {
public:
    using TqlrCrossHeader::TqlrCrossHeader;
    void CalcBounds() override;
    void CalcSizes(int maxWidth, int minWidth, bool autoSize) override;

protected:
    TqlrCrossHeader* NewChild() override;
};

class TqlrCrossRowHeader : public TqlrCrossHeader {
public:
    using TqlrCrossHeader::TqlrCrossHeader;
    void CalcBounds() override;
    void CalcSizes(int maxWidth, int minWidth, bool autoSize) override;

protected:
    TqlrCrossHeader* NewChild() override;
};

class TqlrCrossCorner : public TqlrCrossColumnHeader {
public:
    using TqlrCrossColumnHeader::TqlrCrossColumnHeader;

protected:
    TqlrCrossHeader* NewChild() override;
};

// ------------------------------------------------------------- design-view grid

// Right or bottom edges of the templates drawn by the design view; edges
// closer than 1 unit share a line.
struct TqlrGridLineItem {
    long double Coord = 0;
    std::vector<TqlrComponent*> Objects;
};

class TqlrGridLines {
public:
    void Add(TqlrComponent* obj, long double coord);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrGridLineItem& Items(int i) { return FItems[static_cast<std::size_t>(i)]; }

private:
    std::vector<TqlrGridLineItem> FItems;
};

// --------------------------------------------------------------------- the view

using TqlrOnCalcHeightEvent = std::function<void(int rowIndex, const rtl::Variant& rowValues, long double& height)>;
using TqlrOnCalcWidthEvent = std::function<void(int columnIndex, const rtl::Variant& columnValues, long double& width)>;
using TqlrOnPrintCellEvent =
    std::function<void(TqlrCustomMemoView* memo, int rowIndex, int columnIndex, int cellIndex,
                       const rtl::Variant& rowValues, const rtl::Variant& columnValues, const rtl::Variant& value)>;
using TqlrOnPrintHeaderEvent = std::function<void(TqlrCustomMemoView* memo, const rtl::Variant& headerIndexes,
                                                  const rtl::Variant& headerValues, const rtl::Variant& value)>;

class TqlrCustomCrossView : public TqlrView {
    RTL_CLASS(TqlrCustomCrossView, TqlrView)
public:
    explicit TqlrCustomCrossView(rtl::TComponent* owner);
    ~TqlrCustomCrossView() override;

    // --- levels (refused above 32 or below 0: the old value stays)
    int CellLevels() const { return FCellLevels; }
    int ColumnLevels() const { return FColumnLevels; }
    int RowLevels() const { return FRowLevels; }
    virtual void SetCellLevels(int value);
    virtual void SetColumnLevels(int value);
    virtual void SetRowLevels(int value);

    // Out-of-range indexes read cfNone / soAscending and write nothing.
    TqlrCrossFunction CellFunctions(int i) const;
    void SetCellFunctions(int i, TqlrCrossFunction v);
    TqlrCrossSortOrder ColumnSort(int i) const;
    void SetColumnSort(int i, TqlrCrossSortOrder v);
    TqlrCrossSortOrder RowSort(int i) const;
    void SetRowSort(int i, TqlrCrossSortOrder v);

    TqlrCustomMemoView* CellMemos(int i) const { return At(FCellMemos, i); }
    TqlrCustomMemoView* CellHeaderMemos(int i) const { return At(FCellHeaderMemos, i); }
    TqlrCustomMemoView* ColumnMemos(int i) const { return At(FColumnMemos, i); }
    TqlrCustomMemoView* ColumnTotalMemos(int i) const { return At(FColumnTotalMemos, i); }
    TqlrCustomMemoView* CornerMemos(int i) const { return At(FCornerMemos, i); }
    TqlrCustomMemoView* RowMemos(int i) const { return At(FRowMemos, i); }
    TqlrCustomMemoView* RowTotalMemos(int i) const { return At(FRowTotalMemos, i); }
    int CellMemoCount() const { return static_cast<int>(FCellMemos.size()); }
    int CellHeaderMemoCount() const { return static_cast<int>(FCellHeaderMemos.size()); }
    int CornerMemoCount() const { return static_cast<int>(FCornerMemos.size()); }

    // --- the matrix
    void BeginMatrix();
    // Missing values count as Null; extra values are ignored.  Raises
    // "Cross-tab is not valid" on an invalid view; ignored before BeginMatrix.
    void AddValue(const TqlrVariantArray& rows, const TqlrVariantArray& columns, const TqlrVariantArray& cells);
    void EndMatrix();
    virtual void FillMatrix() {}
    virtual bool IsCrossValid() { return true; }
    rtl::Variant GetValue(int aRow, int aColumn, int aCell);
    int RowCount() const;
    int ColCount() const;
    rtl::Variant GetRowIndexes(int aRow) const;
    rtl::Variant GetColumnIndexes(int aColumn) const;
    bool IsTotalRow(int index) const;
    bool IsTotalColumn(int index) const;
    bool IsGrandTotalRow(int index) const;
    bool IsGrandTotalColumn(int index) const;
    long double ColumnHeaderHeight() const;
    long double RowHeaderWidth() const;

    void ApplyStyle(TqlrStyles* style);
    void GetStyle(TqlrStyles* style);

    // --- report run
    void BeforeStartReport() override;
    void BeforePrint() override;
    void GetData() override;
    // Prints the finished matrix through the report's engine.
    void RenderMatrix();

    // --- design view (qlrCrossDesign.cpp)
    // Draws a sample matrix (one row, one column) at the offset in report
    // units (canvas nullptr: measures only); the extent drawn.
    TqlrCrossSize DrawCross(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                            long double offsetY);
    void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
              long double offsetY) override;
    const std::vector<TqlrComponent*>& ContainerObjects() override { return FAllMemos; }
    // Moves a dropped object into the template under its top-left point.
    bool ContainerAdd(TqlrComponent* obj) override;
    // Mouse at device position (x, y) of the last drawing's scale.
    bool ContainerMouseDown(gui::TControl* sender, int x, int y);
    void ContainerMouseMove(gui::TControl* sender, int x, int y);
    void ContainerMouseUp(gui::TControl* sender, int x, int y);
    TqlrGridLines& GridX() { return FGridX; }
    TqlrGridLines& GridY() { return FGridY; }
    // Names the templates after the view and gives them the gaps.
    void UpdateMemoNames();

    // Measures a text object (width, height); tests may replace it.
    std::function<TqlrCrossSize(TqlrCustomMemoView*)> OnMeasureMemo;
    TqlrCrossSize MeasureMemo(TqlrCustomMemoView* memo);
    void DoCalcHeight(int rowIndex, long double& height);
    void DoCalcWidth(int columnIndex, long double& width);
    void DoPrintCell(TqlrCustomMemoView* memo, int rowIndex, int columnIndex, int cellIndex, const rtl::Variant& value);
    void DoPrintColumnHeader(TqlrCustomMemoView* memo, TqlrCrossHeader* node);
    void DoPrintRowHeader(TqlrCustomMemoView* memo, TqlrCrossHeader* node);

    // --- published switches
    long double AddHeight = 0, AddWidth = 0;
    bool AllowDuplicates = true, AutoSize = true, Border = true;
    int DefHeight = 0;
    bool DownThenAcross = false;
    int GapX = 3, GapY = 3;
    bool JoinEqualCells = false, KeepTogether = false;
    int MaxWidth = 200, MinWidth = 0;
    long double NextCrossGap = 0;
    bool PlainCells = false, RepeatHeaders = true;
    bool ShowColumnHeader = true, ShowColumnTotal = true, ShowCorner = true, ShowRowHeader = true,
         ShowRowTotal = true, ShowTitle = true, SuppressNullRecords = true;
    bool ClearBeforePrint = true;
    bool DotMatrix = false;
    std::string OnCalcHeight, OnCalcWidth, OnPrintCell, OnPrintColumnHeader, OnPrintRowHeader;
    TqlrCustomCrossView* NextCross() const { return FNextCross; }
    void SetNextCross(TqlrCustomCrossView* v);

    TqlrOnCalcHeightEvent OnBeforeCalcHeight;
    TqlrOnCalcWidthEvent OnBeforeCalcWidth;
    TqlrOnPrintCellEvent OnBeforePrintCell;
    TqlrOnPrintHeaderEvent OnBeforePrintColumnHeader, OnBeforePrintRowHeader;

    rtl::TStringList* CellFields() const { return FCellFields.get(); }
    rtl::TStringList* ColumnFields() const { return FColumnFields.get(); }
    rtl::TStringList* RowFields() const { return FRowFields.get(); }

    // The matrix and its trees (nullptr before BeginMatrix).
    TqlrCrossRows* Rows() const { return FRows.get(); }
    TqlrCrossColumns* Columns() const { return FColumns.get(); }
    TqlrCrossHeader* RowHeader() const { return FRowHeader.get(); }
    TqlrCrossHeader* ColumnHeader() const { return FColumnHeader.get(); }
    TqlrCrossHeader* Corner() const { return FCorner.get(); }
    bool NoRows() const { return FNoRows; }
    bool NoColumns() const { return FNoColumns; }

    // The template of cell level `level` for a row and a column of these
    // total indexes.
    TqlrCustomMemoView* CellTemplate(int rowTotalIndex, int columnTotalIndex, int level) const;

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;
    // The templates, functions and sort orders, stored as the property "Memos".
    void DefineProperties(rtl::TFiler& filer) override;
    // Grows the cell and cell-header template lists to the levels.
    void GrowCellMemos();
    TqlrCustomMemoView* NewMemo(int kind, int index);

    int FCellLevels = 0, FColumnLevels = 0, FRowLevels = 0;
    std::array<TqlrCrossFunction, kCrossMaxLevels> FCellFunctions;
    TqlrSortArray FColumnSort, FRowSort;
    std::vector<TqlrCustomMemoView*> FCellMemos, FCellHeaderMemos, FColumnMemos, FColumnTotalMemos, FCornerMemos,
        FRowMemos, FRowTotalMemos;
    std::unique_ptr<rtl::TStringList> FCellFields, FColumnFields, FRowFields;

private:
    static TqlrCustomMemoView* At(const std::vector<TqlrCustomMemoView*>& list, int i)
    {
        return i >= 0 && i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : nullptr;
    }
    std::vector<TqlrCrossFunction> Functions() const;
    void InsertTotals(TqlrCrossHeader* tree, TqlrIndexCollection* items, bool showGrand,
                      const std::vector<TqlrCustomMemoView*>& totalMemos);
    void ComputeTotals(TqlrCrossHeader* tree, bool columnPass);
    void ComputeLayout();
    void ApplyVisibility();
    void ReadMemosFrom(rtl::TStream& stream);
    void WriteMemosTo(rtl::TStream& stream);

    // Output (qlrCrossOutput.cpp).
    struct CutBand {
        std::unique_ptr<TqlrBand> Band;
        int FromIndex = 0, ToIndex = -1;
    };
    TqlrCustomMemoView* HeaderObject(TqlrCrossHeader* node, TqlrBand* band, bool column);
    void BuildColumnBands();
    void BuildRowBands();
    std::unique_ptr<TqlrBand> BuildCellRow(int rowLeaf, const CutBand& piece, long double rowHeaderOffset);
    void OutputPiece(int rowPiece, int columnPiece, long double y);
    void OutputCorner(long double x, long double y);
    void RunBeforePrint(TqlrReportComponent* obj);
    std::vector<CutBand> FColumnBands, FRowBands;
    // Design view.
    void DrawTemplate(TqlrComponent* obj, bool nested);
    void DrawTree(TqlrCrossHeader* tree, long double x, long double y);
    void DrawCells(long double x, long double y);
    void Grow(TqlrComponent* obj);
    TqlrCrossSize MeasureSample();
    TqlrGridLines FGridX, FGridY;
    TqlrGridLines* FGridUsed = nullptr;
    int FMovingObjects = -1;
    bool FMouseDown = false;
    gui::TPoint FFirstMousePos, FLastMousePos;
    std::vector<TqlrComponent*> FAllMemos;
    gui::TCanvas* FDrawCanvas = nullptr;
    long double FDrawScaleX = 1, FDrawScaleY = 1, FDeviceX = 0, FDeviceY = 0, FExtentX = 0, FExtentY = 0;
    std::vector<TqlrCrossHeader*> FColumnLeaves, FRowLeaves;
    long double FRightEdge = 0;

    std::unique_ptr<TqlrCrossRows> FRows;
    std::unique_ptr<TqlrCrossColumns> FColumns;
    std::unique_ptr<TqlrCrossHeader> FRowHeader, FColumnHeader, FCorner;
    bool FNoRows = false, FNoColumns = false;
    TqlrCustomCrossView* FNextCross = nullptr;
    friend class TqlrCrossHeader;
    friend class TqlrCrossColumnHeader;
    friend class TqlrCrossRowHeader;
};

// Filled by calls to AddValue.
class TqlrCrossView : public TqlrCustomCrossView {
    RTL_CLASS(TqlrCrossView, TqlrCustomCrossView)
public:
    explicit TqlrCrossView(rtl::TComponent* owner);
    void SetCellLevels(int value) override;
    void SetColumnLevels(int value) override;
    void SetRowLevels(int value) override;
    bool IsCrossValid() override;
    std::string GetDescription() const override;
};

// Filled from a report data set: each level's name is a field of the data
// set or an expression.
class TqlrDBCrossView : public TqlrCustomCrossView {
    RTL_CLASS(TqlrDBCrossView, TqlrCustomCrossView)
public:
    explicit TqlrDBCrossView(rtl::TComponent* owner);
    void FillMatrix() override;
    bool IsCrossValid() override;
    std::string GetDescription() const override;
};

// A plain component with no behaviour of its own: the program's report
// forms carry one beside their report, so their streams name it.
class TqlrCrossObject : public rtl::TComponent {
    RTL_CLASS(TqlrCrossObject, rtl::TComponent)
public:
    explicit TqlrCrossObject(rtl::TComponent* owner) : rtl::TComponent(owner) {}
};

// Makes the cross-tab known (run at start-up, once): the classes, the
// object registry entry, the component editor, the script bindings and the
// event parameter texts.
void RegisterCrossTab();
// Lists the cross-tab editor in the component-editor registry.
void RegisterCrossEditor();

} // namespace qlr
