// ExGrid: Tab and Shift+Tab navigation: cell by cell along the row (or down
// the column), skipping cells that cannot take the focus, stepping over
// merged areas, wrapping at the ends, appending a row at the end when
// allowed and handing Tab to the parent at the very end when asked.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

using gui::TGridOption;
using gui::TShiftStateItem;

int TExStringGrid::FirstNavigableCol() const
{
    return TBaseGrid::FixedCols() == 0 && FNumNodes > 0 ? 1 : TBaseGrid::FixedCols();
}

bool TExStringGrid::IsEditable(int aCol, int aRow)
{
    if (!(Options().Contains(TGridOption::goEditing) || FMouseActions->RangeSelectAndEdit() || FEditDisable))
        return false;
    const gui::TPoint base = BaseCell(aCol, aRow);
    bool canEdit = true, fixed = false;
    CanEditBaseCell(base.X, base.Y, canEdit);
    IsFixedCell(RealColIndex(base.X), base.Y, fixed);
    return canEdit && !fixed;
}

bool TExStringGrid::CanTabToCell(int aCol, int aRow)
{
    // FEditDisable: the grid edits, goEditing is only off for the current cell.
    if (Options().Contains(TGridOption::goEditing) || FEditDisable) return IsEditable(RealColIndex(aCol), aRow);
    return !IsFixed(aCol, aRow);
}

int TExStringGrid::FirstTabCol(int aRow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (CanTabToCell(c, aRow)) return c;
    return -1;
}

int TExStringGrid::LastTabCol(int aRow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanTabToCell(c, aRow)) return c;
    return -1;
}

bool TExStringGrid::IsLastRow() const
{
    return Row() == RowCount() - FFixedFooters - 1 || (Row() == RowCount() - 2 && FFloatingFooter->Visible());
}

void TExStringGrid::WrapToFirstRow() { SetRow(TBaseGrid::FixedRows()); }

void TExStringGrid::PostTabToParent()
{
    if (Parent() && FNavigation->TabToNextAtEnd())
        gui::PostMessage(Parent()->Handle(), gui::WM_KEYDOWN, gui::VK_TAB, 0);
}

void TExStringGrid::SelectOneCell(int aCol, int aRow)
{
    if (aCol < 0) return;
    SetSelection({aCol, aRow, aCol, aRow});
}

// A step that lands on a cell it must step on from (a covered or a
// non-editable one) runs again.  All runs of one Tab share a budget of as
// many steps as the grid has cells, and a run that cannot move ends the
// repeats too, so that a grid where Tab can reach nothing still stops; the
// current cell is then back where the pass started.
void TExStringGrid::TabNavigate(bool backward)
{
    const gui::TPoint start{Col(), Row()};
    long budget = static_cast<long>(ColCount()) * RowCount() + 1;
    TTabRun run = TabStep(backward);
    while (run == TTabRun::trAgain) {
        run = --budget > 0 ? TabStep(backward) : TTabRun::trStuck;
        if (run == TTabRun::trStuck) break;
    }
    FLastTabCol = FLastTabRow = -1;
    if (run == TTabRun::trStuck) {
        if (Col() != start.X || Row() != start.Y) {
            FForceSel = true;
            SelectOneCell(start.X, start.Y);
            FForceSel = false;
        }
        return;
    }
    if (run == TTabRun::trStopped) return;
    if (FNavigation->AlwaysEdit() && CanFocus()) SetFocus();
    if (FNavigation->AdvanceAutoEdit() && Options().Contains(TGridOption::goEditing)) ShowEditor();
}

TExStringGrid::TTabRun TExStringGrid::TabStep(bool backward)
{
    if (OnKeyDown) {
        uint16_t key = gui::VK_TAB;
        gui::TShiftState shift;
        if (backward) shift += TShiftStateItem::ssShift;
        OnKeyDown(this, key, shift);
        if (key != gui::VK_TAB) return TTabRun::trStopped;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow) return TTabRun::trStuck;
    FLastTabCol = Col();
    FLastTabRow = Row();

    const int fixedRows = TBaseGrid::FixedRows(), fixedCols = TBaseGrid::FixedCols();
    const int firstCol = FirstNavigableCol();
    const int endCol = ColCount() - FFixedRightCols;
    // The floating footer's row never becomes current: the row above it is last.
    const int lastRow = FFloatingFooter->Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1;
    const bool topBottom = FNavigation->TabAdvanceDirection() == TAdvanceDirection::adTopBottom;

    if (backward && topBottom) {
        if (Row() > fixedRows) {
            SetRow(Row() - 1);
        } else {
            SetRow(lastRow);
            SetCol(Col() > firstCol ? Col() - 1 : endCol - 1);
        }
    } else if (backward) {
        if (Col() > firstCol) {
            int i = 1;
            while (!(Col() - i < firstCol || (IsBaseCell(Col() - i, Row()) && CanTabToCell(Col() - i, Row())))) ++i;
            if (Col() - i < firstCol) {
                const int r = Row() > fixedRows ? Row() - 1 : lastRow;
                SelectOneCell(LastTabCol(r), r);
                if (!IsBaseCell(Col(), Row())) SnapToBaseCell();
            } else {
                SetCol(Col() - i);
            }
        } else {
            int i = 1;
            while (!(endCol - i < fixedCols || CanTabToCell(endCol - i, Row()))) ++i;
            const int c = std::max(endCol - i, fixedCols);
            const int r = Row() > fixedRows ? Row() - 1 : lastRow;
            MoveColRow(c, r, true, true);
        }
    } else if (topBottom) {
        const int spanY = std::max(0, CellSpan(Col(), Row()).Y);
        if (Row() + spanY + 1 <= lastRow) {
            SetRow(Row() + spanY + 1);
        } else {
            WrapToFirstRow();
            if (Col() < endCol - 1) SetCol(Col() + 1);
            else {
                SetCol(firstCol);
                PostTabToParent();
            }
        }
    } else if (TabForwardLeftRight(firstCol, endCol, lastRow)) {
        return TTabRun::trAgain;
    }
    // Cells that cannot be edited are stepped over.
    if ((Options().Contains(TGridOption::goEditing) || FEditDisable) && !IsEditable(RealColIndex(Col()), Row()))
        return TTabRun::trAgain;
    return TTabRun::trDone;
}

bool TExStringGrid::TabForwardLeftRight(int firstCol, int endCol, int lastRow)
{
    const int fixedRows = TBaseGrid::FixedRows(), fixedCols = TBaseGrid::FixedCols();
    const int spanX = std::max(0, CellSpan(Col(), Row()).X);
    if (Col() + spanX + 1 < endCol) {
        int c = Col() + spanX + 1;
        while (c < endCol && !CanTabToCell(c, Row())) ++c;
        if (c >= endCol) {
            // Nothing to the right: on to the next row, if the change events agree.
            FForceSel = true;
            if (Row() < lastRow) {
                const int newCol = FirstTabCol(Row() + 1);
                bool allow = true;
                if (OnRowChanging) OnRowChanging(this, Row(), Row() + 1, allow);
                if (OnCellChanging) OnCellChanging(this, Row(), Col(), Row() + 1, newCol, allow);
                if (OnColChanging) OnColChanging(this, Col(), newCol, allow);
                if (allow) MoveColRow(newCol < 0 ? fixedCols : newCol, Row() + 1, true, true);
            } else {
                const int below = std::min(Row() + 1, RowCount() - 1);
                SelectOneCell(FirstTabCol(below), fixedRows);
                PostTabToParent();
            }
            FForceSel = false;
        } else {
            SetCol(c);
        }
        return false;
    }
    // At the end of the row.
    if (Row() >= lastRow) {
        if (FNavigation->TabToNextAtEnd() || !FNavigation->AdvanceInsert()) {
            WrapToFirstRow();
        } else {
            const bool canAdd = CanAddRow();
            if (canAdd) {
                if (FFloatingFooter->Visible()) {
                    InsertRows(RowCount() - 1, 1, true);
                    SetRow(RowCount() - 2);
                } else {
                    IncRowCount();
                    SetRow(RowCount() - 1);
                }
                if (OnAutoAddRow) OnAutoAddRow(this, Row());
            } else {
                WrapToFirstRow();
            }
        }
        SetCol(fixedCols);
        PostTabToParent();
        return false;
    }
    int i = firstCol;
    while (i < ColCount() && !(IsBaseCell(i, Row() + 1) && CanTabToCell(i, Row() + 1))) ++i;
    if (i >= ColCount()) {
        MoveColRow(fixedCols, Row() + 1, true, true);
        return true;
    }
    MoveColRow(i, Row() + 1, true, true);
    return false;
}

} // namespace grid
