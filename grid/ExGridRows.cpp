// ExGrid: hidden rows and columns with the mapping between displayed and
// real indexes, the current row, and the structural operations: inserting,
// removing and clearing rows and columns, removing duplicates and merging
// by content.
//
// Cells live at their real column (hidden columns keep theirs beyond
// ColCount) and their displayed row; a hidden row's cells, objects and
// height are parked in a TGridItem.  Row blocks move in one step through
// the platform grid's MoveRowBlock, so removing or hiding k rows of an
// n-row grid costs O(k + n), not O(k * cells).
#include <algorithm>

#include "grid/ExGrid.h"
#include "platform/rtl/Strings.h"

namespace grid {

// ------------------------------------------------------------------ rows

const std::vector<int>& TExStringGrid::HiddenIdxSorted() const { return FGridItems->SortedIdx(); }

bool TExStringGrid::IsHiddenRow(int rowIndex) const
{
    if (NumHiddenRows() == 0) return false;
    return FGridItems->ItemOfRow(rowIndex) != nullptr;
}

int TExStringGrid::DisplayToRealRow(int aRow) const
{
    if (NumHiddenRows() == 0) return aRow;
    // With h ascending, h[i] - i (the shown rows before the i-th hidden one)
    // never decreases: the hidden rows at or before the answer are those
    // with h[i] - i <= aRow.
    const std::vector<int>& h = HiddenIdxSorted();
    std::size_t lo = 0, hi = h.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (h[mid] - static_cast<int>(mid) <= aRow) lo = mid + 1;
        else hi = mid;
    }
    return aRow + static_cast<int>(lo);
}

int TExStringGrid::RealToDisplayRow(int aRow) const
{
    if (NumHiddenRows() == 0) return aRow;
    return aRow - FGridItems->Locate(aRow);
}

void TExStringGrid::SetRow(int value)
{
    TBaseGrid::SetRow(value);
    if (Row() != FOldRowSel && OnRowChanged) {
        const int old = FOldRowSel;
        FOldRowSel = Row();
        OnRowChanged(this, old, Row());
    }
    if (FMouseActions->DisjunctRowSelect()) MarkSelectedRows(false);
}

void TExStringGrid::HideSelection()
{
    FOldSelection = Selection();
    FSelHidden = true;
}

void TExStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int top = FFixedRowAlways && TBaseGrid::FixedRows() == RowCount() ? 0 : TBaseGrid::FixedRows();
    const int left = FFixedColAlways && TBaseGrid::FixedCols() == ColCount() ? 0 : TBaseGrid::FixedCols();
    SetSelection({left, top, left, top});
}

namespace {
// The platform grid's counts change under the grid's own bookkeeping.
struct UpdateScope {
    TExStringGrid* g;
    explicit UpdateScope(TExStringGrid* grid) : g(grid) { g->BeginUpdate(); }
    ~UpdateScope() { g->EndUpdate(); }
};
} // namespace

// Inserts n empty rows at display row d (rows kept beyond the count are
// emptied first).
static void InsertEmptyRows(TExStringGrid& g, int d, int n, int defaultHeight)
{
    const int old = g.RowCount();
    g.gui::TCustomGrid::SetRowCount(old + n);
    for (int r = old; r < old + n; ++r) {
        for (int c = 0; c < g.StoreColCount(); ++c) {
            g.FreeOwnCellGraphic(c, r);
            g.FreeCellProperties(c, r);
            g.SetRawCellText(c, r, "");
        }
        g.SetRowHeights(r, defaultHeight);
    }
    g.MoveRowBlock(old, n, d);
}

// Takes n display rows from d out of the grid; their slots must be empty
// of objects the grid still needs.
static void DeleteRowBlock(TExStringGrid& g, int d, int n)
{
    if (n <= 0) return;
    g.MoveRowBlock(d, n, g.RowCount() - n);
    g.gui::TCustomGrid::SetRowCount(g.RowCount() - n);
}

void TExStringGrid::HideRows(int fromRow, int toRow)
{
    // Only real rows can be hidden: the part of the range outside them is skipped.
    fromRow = std::max(fromRow, 0);
    toRow = std::min(toRow, TotalRowCount() - 1);
    if (toRow < fromRow) return;
    const std::vector<int> hidden = HiddenIdxSorted();
    int pos = static_cast<int>(std::lower_bound(hidden.begin(), hidden.end(), fromRow) - hidden.begin());
    const int d = fromRow - pos;
    std::vector<int> toHide;
    for (int r = fromRow; r <= toRow; ++r)
        if (!std::binary_search(hidden.begin(), hidden.end(), r)) toHide.push_back(r);
    if (toHide.empty() || d + static_cast<int>(toHide.size()) > RowCount()) return;
    HideEditor();
    UpdateScope lock(this);
    // Items stay ordered by real row: the new ones go after the hidden rows
    // below fromRow, which are the first pos items in that order.
    std::vector<TGridItem*> ordered;
    for (int i = 0; i < NumHiddenRows(); ++i) ordered.push_back(FGridItems->Items(i));
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    for (int i = 0; i < static_cast<int>(ordered.size()); ++i) ordered[i]->SetIndex(i);
    const int cols = StoreColCount();
    for (std::size_t k = 0; k < toHide.size(); ++k) {
        const int row = d + static_cast<int>(k);
        auto* item = static_cast<TGridItem*>(FGridItems->Insert(pos++));
        item->SetIdx(toHide[k]);
        item->SetHeight(RowHeights(row));
        for (int c = 0; c < cols; ++c) {
            item->Items()->AddObject(GetRawCellText(c, row), GetRawObject(c, row));
            SetRawObject(c, row, nullptr);  // the item holds the object now
            SetRawCellText(c, row, "");
        }
    }
    if (gui::TControl* ctl = GetCellControl(1, d)) ctl->SetVisible(false);
    DeleteRowBlock(*this, d, static_cast<int>(toHide.size()));
}

void TExStringGrid::UnHideRows(int fromRow, int toRow)
{
    if (toRow < fromRow || !IsHiddenRow(fromRow)) return;
    HideEditor();
    UpdateScope lock(this);
    std::vector<TGridItem*> items;
    int before = 0;
    for (int i = 0; i < NumHiddenRows(); ++i) {
        TGridItem* it = FGridItems->Items(i);
        if (it->Idx() < fromRow) ++before;
        else if (it->Idx() <= toRow) items.push_back(it);
    }
    std::sort(items.begin(), items.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    const int d = fromRow - before;
    const int n = static_cast<int>(items.size());
    InsertEmptyRows(*this, d, n, DefaultRowHeight());
    // Shown rows of the range now stand after the n empty rows; walking the
    // range upward, each row goes to d + (real row - fromRow), hidden ones
    // from their item and shown ones moved up (never over one not yet read).
    const int cols = StoreColCount();
    int source = d + n;
    std::size_t next = 0;
    for (int x = fromRow; x <= toRow && (next < items.size() || source < RowCount()); ++x) {
        const int target = d + (x - fromRow);
        if (next < items.size() && items[next]->Idx() == x) {
            TGridItem* it = items[next++];
            rtl::TStringList* cells = it->Items();
            for (int c = 0; c < cols; ++c) {
                const bool has = c < cells->Count();
                SetRawCellText(c, target, has ? cells->Strings(c) : std::string());
                rtl::TObject* obj = has ? cells->Objects(c) : nullptr;
                SetRawObject(c, target, obj);
                if (auto* p = dynamic_cast<TCellProperties*>(obj)) p->SetOwnerRow(target);
            }
            SetRowHeights(target, it->Height());
        } else if (next < items.size()) {
            if (source != target) {
                for (int c = 0; c < cols; ++c) {
                    rtl::TObject* obj = GetRawObject(c, source);
                    SetRawCellText(c, target, GetRawCellText(c, source));
                    SetRawObject(c, source, nullptr);
                    SetRawObject(c, target, obj);
                    if (auto* p = dynamic_cast<TCellProperties*>(obj)) p->SetOwnerRow(target);
                    SetRawCellText(c, source, "");
                }
                SetRowHeights(target, RowHeights(source));
            }
            ++source;
        } else {
            break;
        }
    }
    // The shown rows' items go in one pass (one by one is quadratic).
    FGridItems->DeleteItems(std::vector<rtl::TCollectionItem*>(items.begin(), items.end()));
    for (TGridControlItem& ci : FControlItems)
        if (ci.Y >= fromRow && ci.Y <= toRow && ci.Control) ci.Control->SetVisible(true);
}

void TExStringGrid::UnHideRowsAll()
{
    // Run by run of consecutive real rows.
    while (NumHiddenRows() > 0) {
        const std::vector<int> idx = HiddenIdxSorted();
        std::size_t last = 0;
        while (last + 1 < idx.size() && idx[last + 1] == idx[last] + 1) ++last;
        const int before = NumHiddenRows();
        UnHideRows(idx[0], idx[last]);
        if (NumHiddenRows() == before) break;  // nothing could be shown
    }
}

// --------------------------------------------------------------- columns

void TExStringGrid::HideColumns(int fromCol, int toCol)
{
    HideEditor();
    bool any = false;
    for (int c = fromCol; c <= toCol; ++c) {
        if (c < 0 || c > 511 || !FVisibleCol[c] || c >= ColCount() + FNumHidden || ColCount() <= 1) continue;
        const int d = DisplColIndex(c);
        FAllColWidths[c] = static_cast<int16_t>(ColWidths(d));
        for (int i = d; i < ColCount() - 1; ++i) SetColWidths(i, ColWidths(i + 1));
        ++FNumHidden;
        FVisibleCol[c] = false;
        gui::TCustomGrid::SetColCount(ColCount() - 1);
        any = true;
    }
    if (!any) return;
    CellControlsUpdate();
    Invalidate();
}

void TExStringGrid::UnHideColumns(int fromCol, int toCol)
{
    HideEditor();
    bool any = false;
    for (int c = std::max(0, fromCol); c <= toCol && c <= 511; ++c) {
        if (FVisibleCol[c]) continue;
        --FNumHidden;
        FVisibleCol[c] = true;
        gui::TCustomGrid::SetColCount(ColCount() + 1);
        const int d = DisplColIndex(c);
        for (int i = ColCount() - 1; i > d; --i) SetColWidths(i, ColWidths(i - 1));
        SetColWidths(d, FAllColWidths[c]);
        any = true;
    }
    if (!any) return;
    CellControlsUpdate();
    Invalidate();
}

// ------------------------------------------------------ insert and remove

void TExStringGrid::InsertRows(int rowIndex, int rCount, bool updateCellControls)
{
    if (rCount <= 0 || rowIndex < 0 || rowIndex > RowCount()) return;
    const int lastWidth = ColWidths(ColCount() - 1);
    const gui::TGridCoord current = FCurrent, anchor = FAnchor;
    {
        UpdateScope lock(this);
        InsertEmptyRows(*this, rowIndex, rCount, DefaultRowHeight());
        // The current cell keeps its index: the rows move under it.
        FCurrent = current;
        FAnchor = anchor;
        if (rowIndex < static_cast<int>(FModifiedRows.size()))
            FModifiedRows.insert(FModifiedRows.begin() + rowIndex, static_cast<std::size_t>(rCount), 0);
        SetColWidths(ColCount() - 1, lastWidth);
    }
    if (updateCellControls) {
        const int real = DisplayToRealRow(rowIndex);
        for (TGridControlItem& ci : FControlItems)
            if (ci.Y >= real) ci.Y += rCount;
        if (!FControlItems.empty()) CellControlsUpdate();
    }
    if (!IsDestroying()) CellsChanged(gui::TRect(0, rowIndex, ColCount() - 1, rowIndex + rCount));
}

void TExStringGrid::AddRow()
{
    if (FFloatingFooter->Visible()) {
        InsertRows(RowCount() - 1, 1, true);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

void TExStringGrid::RemoveRows(int rowIndex, int rCount)
{
    if (rowIndex < 0 || rowIndex >= RowCount() || rCount <= 0) return;
    rCount = std::min(rCount, RowCount() - rowIndex);
    const int realIndex = DisplayToRealRow(rowIndex);
    for (TGridControlItem& ci : FControlItems)
        if (ci.Y >= DisplayToRealRow(std::min(rowIndex + rCount, RowCount() - 1))) ci.Y -= rCount;
    const int cols = StoreColCount();
    const int keepRow = Row(), keepTop = TopRow();
    {
        UpdateScope lock(this);
        for (int r = rowIndex; r < rowIndex + rCount; ++r)
            for (int c = 0; c < cols; ++c) {
                FreeOwnCellGraphic(c, r);
                FreeCellProperties(c, r);
                SetRawCellText(c, r, "");
            }
        for (int i = 0; i < NumHiddenRows(); ++i) {
            TGridItem* it = FGridItems->Items(i);
            if (it->Idx() > realIndex) it->SetIdx(it->Idx() - rCount);
        }
        auto eraseRange = [&](auto& v) {
            if (rowIndex < static_cast<int>(v.size()))
                v.erase(v.begin() + rowIndex,
                        v.begin() + std::min(static_cast<int>(v.size()), rowIndex + rCount));
        };
        eraseRange(FModifiedRows);
        if (FMouseActions->DisjunctRowSelect()) eraseRange(FRowSelect);
        const bool fewerNormal = RowCount() - rCount <= TBaseGrid::FixedRows();
        DeleteRowBlock(*this, rowIndex, rCount);
        FMaxRowCount = std::max(RowCount(), FMaxRowCount - rCount);
        if (keepRow < RowCount() - FFixedFooters) {
            TBaseGrid::SetRow(std::max(keepRow, TBaseGrid::FixedRows()));
            if (keepTop < RowCount()) SetTopRow(std::max(keepTop, TBaseGrid::FixedRows()));
        } else if (!fewerNormal) {
            TBaseGrid::SetRow(RowCount() - 1);
        } else {
            HideSelection();
        }
        FSelHidden = false;
    }
    if (FMouseActions->DisjunctRowSelect()) {
        FSelectedRows.clear();
        for (int r = 0; r < static_cast<int>(FRowSelect.size()); ++r)
            if (FRowSelect[static_cast<std::size_t>(r)]) FSelectedRows.push_back(r);
    }
    CellsChanged(gui::TRect(0, rowIndex, ColCount() - 1, rowIndex + rCount));
}

void TExStringGrid::RemoveRowBlock(int rowIndex, int rCount) { RemoveRows(rowIndex, rCount); }

void TExStringGrid::InsertCols(int colIndex, int cCount)
{
    if (cCount <= 0 || colIndex < 0) return;
    UpdateScope lock(this);
    const int oldCount = ColCount();
    const int lastReal = oldCount + FNumHidden - 1;
    gui::TCustomGrid::SetColCount(oldCount + cCount);
    for (int c = lastReal; c >= colIndex; --c) {
        for (int r = 0; r < RowCount(); ++r) {
            rtl::TObject* obj = GetRawObject(c, r);
            SetRawCellText(c + cCount, r, GetRawCellText(c, r));
            SetRawObject(c, r, nullptr);
            SetRawObject(c + cCount, r, obj);
            if (auto* p = dynamic_cast<TCellProperties*>(obj)) p->SetOwnerCol(c + cCount);
            SetRawCellText(c, r, "");
        }
        if (c + cCount <= 512 && c <= 512) FVisibleCol[c + cCount] = FVisibleCol[c];
        const int d = DisplColIndex(c);
        if (d + cCount < ColCount() && !IsHiddenColumn(c)) SetColWidths(d + cCount, ColWidths(d));
    }
    for (int c = colIndex; c < colIndex + cCount; ++c) {
        if (c <= 512) FVisibleCol[c] = true;
        const int d = DisplColIndex(c);
        if (d < ColCount()) SetColWidths(d, DefaultColWidth());
    }
}

void TExStringGrid::RemoveCols(int colIndex, int cCount)
{
    const int total = ColCount() + FNumHidden;
    if (colIndex < 0 || colIndex >= total || cCount <= 0) return;
    cCount = std::min(cCount, total - colIndex);
    UpdateScope lock(this);
    ClearCols(colIndex, cCount);
    for (int c = colIndex; c + cCount < total; ++c) {
        for (int r = 0; r < RowCount(); ++r) {
            rtl::TObject* obj = GetRawObject(c + cCount, r);
            SetRawCellText(c, r, GetRawCellText(c + cCount, r));
            SetRawObject(c + cCount, r, nullptr);
            SetRawObject(c, r, obj);
            if (auto* p = dynamic_cast<TCellProperties*>(obj)) p->SetOwnerCol(c);
            SetRawCellText(c + cCount, r, "");
        }
        if (c + cCount <= 512) FVisibleCol[c] = FVisibleCol[c + cCount];
        const int d = DisplColIndex(c + cCount);
        if (!IsHiddenColumn(c + cCount) && d < ColCount()) SetColWidths(d - cCount, ColWidths(d));
    }
    for (int c = total - cCount; c < total; ++c)
        if (c <= 512) FVisibleCol[c] = true;
    gui::TCustomGrid::SetColCount(std::max(1, ColCount() - cCount));
    CellsChanged(gui::TRect(colIndex, 0, colIndex + cCount, RowCount() - 1));
}

// ------------------------------------------------------------- clearing

// Every real column from c1 to c2 exactly once (hidden ones included).
static void ClearRealCells(TExStringGrid& g, int c1, int r1, int c2, int r2, bool nilObjects, bool textOnly)
{
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            if (!textOnly && g.GetRawObject(c, r)) {
                if (nilObjects) g.SetRawObject(c, r, nullptr);
                else {
                    g.FreeOwnCellGraphic(c, r);
                    g.FreeCellProperties(c, r);
                }
            }
            if (!g.GetRawCellText(c, r).empty()) g.SetRawCellText(c, r, "");
        }
}

void TExStringGrid::ClearRect(int fromCol, int fromRow, int toCol, int toRow)
{
    // Columns are displayed indexes; with SaveHiddenCells each is taken to
    // the real column it shows, so every real column shown is cleared once.
    if (IsDestroying()) {
        for (int r = fromRow; r <= toRow; ++r)
            for (int c = fromCol; c <= toCol; ++c)
                if (GetRawObject(c, r)) {
                    FreeOwnCellGraphic(c, r);
                    FreeCellProperties(c, r);
                }
        return;
    }
    UpdateScope lock(this);
    for (int i = fromCol; i <= toCol; ++i) {
        const int c = SaveHiddenCells() && i < ColCount() ? RealColIndex(i) : i;
        ClearRealCells(*this, c, fromRow, c, toRow, FNilObjects, FClearTextOnly);
    }
    if (fromCol <= 0 && fromRow <= 0 && toCol >= ColCount() - 1 && toRow >= RowCount() - 1 && !FClearTextOnly)
        SetHasCellProps(false);
    CellsChanged(gui::TRect(RealColIndex(fromCol), fromRow, RealColIndex(toCol), toRow));
}

void TExStringGrid::Clear()
{
    // Nodes go first: a contracted node's rows come back to be cleared.
    if (!IsDestroying() && FNumNodes > 0) RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0) {
        UpdateScope lock(this);
        ClearRealCells(*this, 0, 0, ColCount() + FNumHidden - 1, RowCount() - 1, FNilObjects, FClearTextOnly);
        if (!FClearTextOnly && NumHiddenRows() == 0) SetHasCellProps(false);
        if (!IsDestroying())
            CellsChanged(gui::TRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1));
    }
    SearchInc.clear();
}

void TExStringGrid::ClearRows(int row, int count)
{
    if (RowCount() < 1 || ColCount() < 1 || count < 1) return;
    const int last = std::min(RowCount() - 1, row + count - 1);
    UpdateScope lock(this);
    ClearRealCells(*this, 0, row, ColCount() + FNumHidden - 1, last, FNilObjects, FClearTextOnly);
}

void TExGridStructure::ClearCols(int colIndex, int cCount)
{
    if (RowCount() < 1 || ColCount() < 1 || cCount < 1) return;
    UpdateScope lock(&Self());
    ClearRealCells(Self(), colIndex, 0, colIndex + cCount - 1, RowCount() - 1, FNilObjects, ClearTextOnly());
}

void TExGridStructure::ClearNormalRows(int rowIndex, int rCount)
{
    if (RowCount() < 1 || ColCount() < 1 || rCount < 1) return;
    UpdateScope lock(&Self());
    ClearRealCells(Self(), Self().FixedCols(), rowIndex, ColCount() + FNumHidden - FFixedRightCols - 1,
                   std::min(RowCount() - 1, rowIndex + rCount - 1), FNilObjects, ClearTextOnly());
}

void TExGridStructure::ClearNormalCols(int colIndex, int cCount)
{
    if (RowCount() < 1 || ColCount() < 1 || cCount < 1) return;
    UpdateScope lock(&Self());
    ClearRealCells(Self(), colIndex, Self().FixedRows(), colIndex + cCount - 1, RowCount() - FFixedFooters - 1,
                   FNilObjects, ClearTextOnly());
}

void TExGridStructure::ClearNormalCells()
{
    if (RowCount() < 1 || ColCount() < 1) return;
    UpdateScope lock(&Self());
    // The fixed counts as the grid keeps them: with FixedRowAlways
    // (FixedColAlways) the header stays fixed when no normal row is left.
    ClearRealCells(Self(), Self().FixedCols(), Self().FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                   RowCount() - FFixedFooters - 1, FNilObjects, ClearTextOnly());
}

// ------------------------------------------------- by content and columns

void TExStringGrid::RemoveDuplicates(int aCol, bool /*doCase*/)
{
    const int c = RealColIndex(aCol);
    UpdateScope lock(this);
    std::vector<std::string> seen;
    int r = TBaseGrid::FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const std::string v = GetCellText(c, r);
        // Values are looked up without regard to case, whatever doCase says
        // (it only decided how the value was kept).
        const std::string key = rtl::AnsiUpperCase(v);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            RemoveRowBlock(r, 1);
        } else {
            seen.push_back(key);
            ++r;
        }
    }
}

void TExGridStructure::MergeColumnCells(int colIndex, bool mainMerge)
{
    const int last = RowCount() - FFixedFooters - 1;
    int start = TBaseGrid::FixedRows();
    for (int r = TBaseGrid::FixedRows() + 1; r <= last + 1; ++r) {
        const bool ends = r > last || GetCellText(colIndex, r) != GetCellText(colIndex, r - 1) ||
                          (!mainMerge && !RowSpanIdentical(r, r - 1));
        if (!ends) continue;
        if (r - start >= 2) MergeCells(colIndex, start, 1, r - start);
        start = r;
    }
}

void TExGridStructure::SplitColumnCells(int colIndex)
{
    int r = 0;
    while (r < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(colIndex, r)) {
            const int span = CellSpan(colIndex, r).Y;
            SplitCells(colIndex, r);
            r += span + 1;
        } else {
            ++r;
        }
    }
}

void TExGridStructure::MergeRowCells(int rowIndex, bool mainMerge)
{
    const int last = ColCount() - FFixedRightCols - 1;
    int start = TBaseGrid::FixedCols();
    for (int c = TBaseGrid::FixedCols() + 1; c <= last + 1; ++c) {
        const bool ends = c > last || GetCellText(c, rowIndex) != GetCellText(c - 1, rowIndex) ||
                          (!mainMerge && !ColSpanIdentical(c, c - 1));
        if (!ends) continue;
        if (c - start >= 2) MergeCells(start, rowIndex, c - start, 1);
        start = c;
    }
}

void TExGridStructure::SplitRowCells(int rowIndex)
{
    int c = 0;
    while (c < ColCount() - FFixedRightCols - 1) {
        const gui::TPoint span = CellSpan(c, rowIndex);
        if (IsBaseCell(c, rowIndex) && span.X > 0) {
            SplitCells(c, rowIndex);
            c += span.X + 1;
        } else {
            ++c;
        }
    }
}

void TExGridStructure::SplitAllCells()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < StoreColCount(); ++c)
            if (IsBaseCell(c, r) && (CellSpan(c, r).X > 0 || CellSpan(c, r).Y > 0)) SplitCells(c, r);
}

bool TExGridStructure::IsWideCell(int aCol, int aRow) { return GetCellText(aCol, aRow).rfind("|\\", 0) == 0; }

void TExStringGrid::MergeCols(int colIndex1, int colIndex2, const std::string& separator)
{
    for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
        SetCellText(colIndex1, r, rtl::Trim(GetCellText(colIndex1, r) + separator + GetCellText(colIndex2, r)));
    RemoveCols(colIndex2, 1);
}

bool TExGridStructure::IsCell(const std::string& subStr, int& aCol, int& aRow)
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (GetRawCellText(c, r) == subStr) {
                aCol = c;
                aRow = r;
                return true;
            }
    return false;
}

} // namespace grid
