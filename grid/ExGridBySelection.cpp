// ExGrid: removal, hiding and clearing of rows and columns by their
// selection or check box, the lighter row removals the hiding code builds
// on, and the index helpers by name (declared in ExGridStructure.h).
//
// The rows to remove or hide are collected first and taken from the bottom
// up, so that the selection flags of the rows still to be visited are read
// before any row moves under them.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

TExStringGrid& TExGridStructure::Self() { return static_cast<TExStringGrid&>(*this); }
const TExStringGrid& TExGridStructure::Self() const { return static_cast<const TExStringGrid&>(*this); }

namespace {

struct UpdateScope {
    TExStringGrid& g;
    explicit UpdateScope(TExStringGrid& grid) : g(grid) { g.BeginUpdate(); }
    ~UpdateScope() { g.EndUpdate(); }
};

bool RowIsSelected(const TExStringGrid& g, int r)
{
    return g.GetRowSelect(g.MouseActions()->RowSelectPersistent() ? g.DisplayToRealRow(r) : r);
}

// Normal rows (between the fixed rows and the fixed footers) that are, or
// are not, selected, in ascending order.
std::vector<int> RowsBySelection(const TExStringGrid& g, bool selected)
{
    std::vector<int> rows;
    for (int r = g.FixedRows(); r < g.RowCount() - g.FixedFooters(); ++r)
        if (RowIsSelected(g, r) == selected) rows.push_back(r);
    return rows;
}

// The rows of the selection rectangle, top to bottom.  A header kept fixed
// by FixedRowAlways is never among them, also when the platform grid has
// let the selection onto it (no normal row left).
std::vector<int> RectangleRows(const TExStringGrid& g)
{
    const gui::TGridRect sel = g.Selection();
    std::vector<int> rows;
    for (int r = std::min(sel.Top, sel.Bottom); r <= std::max(sel.Top, sel.Bottom); ++r)
        if (r >= g.FixedRows() && r < g.RowCount()) rows.push_back(r);
    return rows;
}

void RemoveFromBottom(TExStringGrid& g, const std::vector<int>& rows)
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) g.RemoveRowBlock(*it, 1);
}

void HideFromBottom(TExStringGrid& g, const std::vector<int>& rows)
{
    std::vector<int> real;
    for (int r : rows) real.push_back(g.DisplayToRealRow(r));
    for (auto it = real.rbegin(); it != real.rend(); ++it) g.HideRows(*it, *it);
}

void EraseFlag(std::vector<char>& flags, int index)
{
    if (index >= 0 && index < static_cast<int>(flags.size())) flags.erase(flags.begin() + index);
}

} // namespace

// --- rows by selection and check box ------------------------------------------------

void TExGridStructure::RemoveSelectedRows()
{
    TExStringGrid& g = Self();
    UpdateScope lock(g);
    if (FMouseActions->DisjunctRowSelect()) {
        RemoveFromBottom(g, RowsBySelection(g, true));
        g.ClearRowSelect();
    } else {
        RemoveFromBottom(g, RectangleRows(g));
    }
}

void TExGridStructure::RemoveUnSelectedRows()
{
    TExStringGrid& g = Self();
    UpdateScope lock(g);
    RemoveFromBottom(g, RowsBySelection(g, false));
}

void TExGridStructure::RemoveCheckedRows(int checkBoxColumn, bool removeChecked)
{
    TExStringGrid& g = Self();
    UpdateScope lock(g);
    for (int r = RowCount() - 1; r >= g.FixedRows(); --r)
        if (g.IsChecked(checkBoxColumn, r) == removeChecked) g.RemoveRows(r, 1);
}

void TExGridStructure::HideSelectedRows()
{
    TExStringGrid& g = Self();
    UpdateScope lock(g);
    HideFromBottom(g, RowsBySelection(g, true));
}

void TExGridStructure::HideUnSelectedRows()
{
    TExStringGrid& g = Self();
    UpdateScope lock(g);
    HideFromBottom(g, RowsBySelection(g, false));
}

// --- columns by selection -------------------------------------------------------------

void TExGridStructure::RemoveSelectedCols()
{
    TExStringGrid& g = Self();
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= TBaseGrid::FixedCols(); --c)
            if (g.GetColSelect(c)) {
                g.RemoveCols(c, 1);
                EraseFlag(FColSelect, c);
            }
        return;
    }
    const gui::TGridRect sel = Selection();
    const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
    g.RemoveCols(left, right - left + 1);
}

void TExGridStructure::RemoveUnSelectedCols()
{
    TExStringGrid& g = Self();
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= TBaseGrid::FixedCols(); --c)
            if (!g.GetColSelect(c)) {
                g.RemoveCols(c, 1);
                EraseFlag(FColSelect, c);
            }
    } else {
        const gui::TGridRect sel = Selection();
        const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
        g.RemoveCols(right + 1, ColCount() - right);
        g.RemoveCols(TBaseGrid::FixedCols(), left - TBaseGrid::FixedCols());
    }
    g.ClearColSelect();
}

// --- clearing by selection ------------------------------------------------------------

void TExGridStructure::ClearSelection()
{
    TExStringGrid& g = Self();
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = g.FixedRows(); r < RowCount(); ++r)
            if (RowIsSelected(g, r)) g.ClearRows(r, 1);
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = TBaseGrid::FixedCols(); c < ColCount(); ++c)
            if (g.GetColSelect(c)) ClearCols(c, 1);
    } else {
        const gui::TGridRect sel = Selection();
        const int top = std::max(std::min(sel.Top, sel.Bottom), g.FixedRows());
        const int left = std::max(std::min(sel.Left, sel.Right), g.FixedCols());
        if (top <= std::max(sel.Top, sel.Bottom) && left <= std::max(sel.Left, sel.Right))
            g.ClearRect(left, top, std::max(sel.Left, sel.Right), std::max(sel.Top, sel.Bottom));
    }
}

// --- the lighter removals -------------------------------------------------------------

void TExGridStructure::RemoveRowsEx(int rowIndex, int rCount)
{
    TExStringGrid& g = Self();
    if (rowIndex < 0 || rowIndex >= RowCount() || rCount <= 0) return;
    rCount = std::min(rCount, RowCount() - rowIndex);
    const int keepRow = Row(), keepTop = TopRow();
    {
        UpdateScope lock(g);
        std::vector<int> heights;
        for (int r = 0; r < RowCount(); ++r) heights.push_back(RowHeights(r));
        // The removed rows' cells have gone elsewhere (a hidden-row item):
        // their slots are dropped without freeing.
        for (int r = rowIndex; r < rowIndex + rCount; ++r)
            for (int c = 0; c < StoreColCount(); ++c) {
                SetRawObject(c, r, nullptr);
                SetRawCellText(c, r, "");
            }
        if (FMouseActions->DisjunctRowSelect())
            for (int k = 0; k < rCount; ++k) EraseFlag(FRowSelect, rowIndex);
        g.MoveRowBlock(rowIndex, rCount, RowCount() - rCount);
        g.gui::TCustomGrid::SetRowCount(RowCount() - rCount);
        FMaxRowCount = std::max(RowCount(), FMaxRowCount - rCount);
        for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, heights[static_cast<std::size_t>(r)]);
        if (keepRow < RowCount()) {
            g.TBaseGrid::SetRow(keepRow);
            g.SetTopRow(std::min(keepTop, RowCount() - 1));
        } else if (RowCount() > TBaseGrid::FixedRows()) {
            g.TBaseGrid::SetRow(TBaseGrid::FixedRows());
            g.SetTopRow(TBaseGrid::FixedRows());
        }
    }
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* it = FGridItems->Items(i);
        if (it->Idx() > rowIndex + rCount - 1) it->SetIdx(it->Idx() - rCount);
    }
    g.CellsChanged(gui::TRect(0, rowIndex, ColCount() - 1, rowIndex + rCount));
}

void TExGridStructure::DeleteRowsInternal(int rowIndex, int rCount, bool adjustHidden)
{
    TExStringGrid& g = Self();
    if (rowIndex < 0 || rowIndex >= RowCount() || rCount <= 0) return;
    rCount = std::min(rCount, RowCount() - rowIndex);
    if (adjustHidden) {
        for (std::size_t k = FControlItems.size(); k-- > 0;) {
            TGridControlItem& ci = FControlItems[k];
            if (ci.Y < rowIndex || ci.Y > rowIndex + rCount - 1) continue;
            if (ci.Control) ci.Control->SetVisible(false);
            FControlItems.erase(FControlItems.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }
    const int keepRow = Row(), keepTop = TopRow();
    {
        UpdateScope lock(g);
        if (adjustHidden && FGridItems->Count() > 0) {
            const int real = g.DisplayToRealRow(rowIndex);
            for (int i = 0; i < FGridItems->Count(); ++i) {
                TGridItem* it = FGridItems->Items(i);
                if (it->Idx() > real) it->SetIdx(it->Idx() - rCount);
            }
        }
        if (FMouseActions->DisjunctRowSelect() && !FMouseActions->RowSelectPersistent())
            for (int k = 0; k < rCount; ++k) EraseFlag(FRowSelect, rowIndex);
        // What the rows hold goes with them; their heights stay with the others.
        g.MoveRowBlock(rowIndex, rCount, RowCount() - rCount);
        g.gui::TCustomGrid::SetRowCount(RowCount() - rCount);
        if (keepRow < RowCount()) {
            g.TBaseGrid::SetRow(keepRow);
            g.SetTopRow(std::min(keepTop, RowCount() - 1));
        } else if (RowCount() > TBaseGrid::FixedRows()) {
            g.TBaseGrid::SetRow(RowCount() - 1);
        } else {
            g.HideSelection();
        }
        FSelHidden = false;
    }
    g.CellsChanged(gui::TRect(0, rowIndex, ColCount() - 1, rowIndex + rCount));
}

void TExGridStructure::HideRowsEx(int fromRow, int toRow)
{
    TExStringGrid& g = Self();
    fromRow = std::max(fromRow, 0);
    toRow = std::min(toRow, g.TotalRowCount() - 1);
    if (toRow < fromRow || g.IsHiddenRow(fromRow)) return;
    const int d = g.RealToDisplayRow(fromRow);
    const int n = std::min(toRow - fromRow + 1, RowCount() - d);
    if (n <= 0) return;
    g.HideEditor();
    // Hiding changes no real index: the records RemoveRowsEx shifts get
    // their rows back afterwards.
    std::vector<std::pair<TGridItem*, int>> kept;
    for (int i = 0; i < FGridItems->Count(); ++i) kept.emplace_back(FGridItems->Items(i), FGridItems->Items(i)->Idx());
    std::vector<TGridItem*> added;
    for (int k = 0; k < n; ++k) {
        TGridItem* item = FGridItems->Add();
        item->SetIdx(-1);
        item->SetHeight(RowHeights(d + k));
        for (int c = 0; c < StoreColCount(); ++c)
            item->Items()->AddObject(GetRawCellText(c, d + k), GetRawObject(c, d + k));
        added.push_back(item);
    }
    // The items hold the rows' objects now: RemoveRowsEx drops the slots.
    g.RemoveRowsEx(d, n);
    for (auto& [item, idx] : kept) item->SetIdx(idx);
    for (int k = 0; k < n; ++k) added[static_cast<std::size_t>(k)]->SetIdx(fromRow + k);
}

// --- index helpers --------------------------------------------------------------------

int TExGridStructure::RealRowIndex(int aRow) const { return Self().DisplayToRealRow(aRow); }
int TExGridStructure::DisplRowIndex(int aRow) const { return Self().RealToDisplayRow(aRow); }
int TExGridStructure::RealRow() const { return Self().DisplayToRealRow(Row()); }
int TExGridStructure::RealCol() const { return Self().RealColIndex(gui::TCustomGrid::Col()); }

void TExGridStructure::UpdateEditMode() { (void)SelectCell(gui::TCustomGrid::Col(), Row()); }

} // namespace grid
