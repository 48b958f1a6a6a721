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

// -------------------------------------------------------------------- zoom

void TExStringGrid::Zoom(int x)
{
    const int factor = FZoomFactor + x;
    if (factor < -10 || factor > 10) return;
    FZoomFactor = factor;
    BeginUpdate();
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + x > 0) SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + x > 0) SetRowHeights(r, RowHeights(r) + x);
    EndUpdate();
}

} // namespace grid
