// ExGrid: the save range, stretching a column to the client width, the
// recorded column widths and column order, zoom, and the scroll hints of
// the thumbs.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

// -------------------------------------------------------------- save range

int TExStringGrid::SaveStartCol() const { return SaveFixedCells() ? 0 : TBaseGrid::FixedCols(); }
int TExStringGrid::SaveStartRow() const { return SaveFixedCells() ? 0 : TBaseGrid::FixedRows(); }
int TExStringGrid::SaveEndCol() const { return SaveFixedCells() ? ColCount() - 1 : ColCount() - FFixedRightCols - 1; }
int TExStringGrid::SaveEndRow() const { return SaveFixedCells() ? RowCount() - 1 : RowCount() - FFixedFooters - 1; }

int TExStringGrid::SaveColCount() const
{
    return SaveFixedCells() ? ColCount() : ColCount() - TBaseGrid::FixedCols() - FFixedRightCols;
}

int TExStringGrid::SaveRowCount() const
{
    return SaveFixedCells() ? RowCount() : RowCount() - TBaseGrid::FixedRows() - FFixedFooters;
}

// -------------------------------------------------------------- stretching

void TExStringGrid::StretchColumn(int aCol)
{
    if (Loading() || IsDestroying()) return;
    if (aCol == -1) aCol = ColCount() - 1;
    if (aCol >= ColCount() || aCol < 0) throw ZEziDoroZezuz("Stretch column index out of range");
    if (ColCount() == 0 || !FColumnSize->Stretch() || FStretching) return;
    FStretching = true;
    const int client = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(0, client);
    } else {
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != aCol) sum += ColWidths(c);
        if (sum < client) SetColWidths(aCol, client - sum - 1);
        else if (LeftCol() == TBaseGrid::FixedCols()) SetColWidths(aCol, DefaultColWidth());
    }
    FStretching = false;
}

void TExStringGrid::InitOrigColSizes()
{
    FOrigColSizes.clear();
    for (int c = 0; c < ColCount(); ++c) FOrigColSizes.push_back(ColWidths(c));
    FOldSize = Width();
}

// ------------------------------------------------------------ column order

void TExStringGrid::SetColumnOrder()
{
    FColumnOrder.clear();
    for (int c = 0; c < ColCount(); ++c) FColumnOrder.push_back(c);
}

void TExStringGrid::ResetColumnOrder()
{
    if (FColumnOrder.empty()) {
        SetColumnOrder();
        return;
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (int p = 0; p < ColCount() && p < static_cast<int>(FColumnOrder.size()); ++p) {
            const int entry = FColumnOrder[static_cast<std::size_t>(p)];
            if (entry < p) {
                MoveColumn(p, entry);
                changed = true;
            }
        }
    }
}

int TExStringGrid::ColumnPosition(int aCol) const
{
    const int n = std::min(static_cast<int>(FColumnOrder.size()), ColCount() + FNumHidden);
    for (int p = 0; p < n; ++p)
        if (FColumnOrder[static_cast<std::size_t>(p)] == aCol) return p;
    return -1;
}

int TExStringGrid::ColumnAtPosition(int aCol) const
{
    if (aCol < 0 || aCol >= static_cast<int>(FColumnOrder.size()))
        throw rtl::EListError("List index out of bounds (" + std::to_string(aCol) + ")");
    return FColumnOrder[static_cast<std::size_t>(aCol)];
}

void TExStringGrid::ScreenToCell(gui::TPoint pt, int& aCol, int& aRow) const
{
    const gui::TPoint p = ScreenToClient(pt);
    MouseToCell(p.X, p.Y, aCol, aRow);
}

// ---------------------------------------------------- proportional thumbs

void TExStringGrid::SetScrollProportional(bool v)
{
    FScrollProportional = v;
    if (v) {
        UpdateVertScrollProportional();
        UpdateHorzScrollProportional();
    } else {
        SetScrollInfo(gui::SB_VERT, {});
        SetScrollInfo(gui::SB_HORZ, {});
    }
}

namespace {
// The thumb range for a part e (0..1) of the cells in view: positions run
// over 0..127 with a page that grows with e.
gui::TScrollInfo ProportionalInfo(float e, long above, long total, long extent, int currentPos, bool keepPos)
{
    gui::TScrollInfo info;
    info.Max = static_cast<int>((e + 127) / (1 - e));
    info.Page = info.Max - 126;
    if (extent < total) info.Pos = static_cast<int>(static_cast<double>(above) / (total - extent) * 128);
    else info.Pos = keepPos ? currentPos : 127;
    return info;
}
} // namespace

void TExStringGrid::UpdateVertScrollProportional()
{
    if (Loading() || Designing() || !FScrollProportional || FScrollLock) return;
    const int l = GridLineWidth();
    long fixedPart = l, total = l, above = l;
    for (int r = 0; r < TBaseGrid::FixedRows(); ++r) fixedPart += l + RowHeights(r);
    for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r) {
        total += l + RowHeights(r);
        if (r < TopRow()) above += l + RowHeights(r);
    }
    const float e = static_cast<float>(Height() - fixedPart) / static_cast<float>(total);
    if (e >= 0.9999f) return;
    SetScrollInfo(gui::SB_VERT, ProportionalInfo(e, above, total, Height(), GetScrollInfo(gui::SB_VERT).Pos, false));
}

void TExStringGrid::UpdateHorzScrollProportional()
{
    if (Loading() || Designing() || !FScrollProportional || FScrollLock) return;
    const int l = GridLineWidth();
    long fixedPart = l, total = l, before = l;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c) fixedPart += l + ColWidths(c);
    for (int c = TBaseGrid::FixedCols(); c < ColCount(); ++c) {
        total += l + ColWidths(c);
        if (c < LeftCol()) before += l + ColWidths(c);
    }
    const float e = static_cast<float>(Width() - fixedPart) / static_cast<float>(total);
    if (e >= 0.9999f) return;
    SetScrollInfo(gui::SB_HORZ, ProportionalInfo(e, before, total, Width(), GetScrollInfo(gui::SB_HORZ).Pos, true));
}

// -------------------------------------------------------------------- zoom

void TExStringGrid::Zoom(int x)
{
    const int factor = FZoomFactor + x;
    if (factor < -10 || factor > 10) return;
    FZoomFactor = factor;
    FScrollLock = true;
    BeginUpdate();
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + x > 0) SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + x > 0) SetRowHeights(r, RowHeights(r) + x);
    EndUpdate();
    FScrollLock = false;
    UpdateVertScrollProportional();
    UpdateHorzScrollProportional();
}

} // namespace grid
