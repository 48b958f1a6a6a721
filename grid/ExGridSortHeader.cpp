// Sorting of TExStringGrid: a release on the header's sort row sorts by the
// column, or toggles the direction of the column sorted last.
#include <algorithm>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"

namespace grid {

// --- sorting by a header click ---------------------------------------------------------

bool TExStringGrid::HeaderClickSort(int x, int y, gui::TShiftState shift, bool moveEnded)
{
    if (FDblClk) {
        FDblClk = false;
        return false;
    }
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (c < 0 || r < 0) return false;
    const int rc = RealColIndex(c);
    const gui::TRect cr = gui::TCustomGrid::CellRect(c, r);
    // Releases on a column border size the column; the filter and drop-down buttons have their own click.
    if (r == 0 && Options().Contains(gui::TGridOption::goColSizing) && (x - cr.Left < 3 || cr.Right - x < 3))
        return false;
    if (cr.Right - x < 16 && (FControlLook->FixedDropDownButton() || GetColumnFilter(rc))) return false;
    TSortSettings& ss = *FSortSettings;
    const bool condition = r == ss.Row() && FPressCell.Y == r && FixedRows() > 0 && !IsInCheckBox(rc, r, x, y) &&
                           ss.Show() && !moveEnded && RowCount() > 2;
    if (!condition) return false;
    bool doSort = !IsIgnoredColumn(rc);
    if (OnCanSort) OnCanSort(this, rc, doSort);
    if (!doSort) {
        RepaintCell(rc, ss.Row());
        return false;
    }
    HideEditor();
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    const uint64_t start = gui::TTimer::ClockNow();
    const bool keepLeft = Options().Contains(gui::TGridOption::goRowSelect) && FNavigation->KeepHorizScroll();
    const int left = LeftCol();
    if (keepLeft) BeginUpdate();
    const bool initAscending = ss.InitSortDirection() == TSortDirection::sdAscending;
    if (ss.IndexShow()) {
        gridbase::TSortIndexList& list = *FSortIndexes;
        if (shift.Contains(gui::TShiftStateItem::ssShift)) {
            if (list.FindIndex(rc) < 0) list.AddIndex(rc, initAscending);
            else list.ToggleIndex(rc);
        } else if (list.Count() == 1 && list.GetIndexColumn(0) == rc) {
            list.ToggleIndex(rc);
        } else {
            list.Clear();
            list.AddIndex(rc, initAscending);
        }
        if (HasNodes()) QSortGroupIndexed();
        else QSortIndexed();
        ss.SetColumn(list.Count() > 0 ? list.GetIndexColumn(0) : -1);
    } else {
        bool undo = false;
        if (ss.Column() == rc) {
            if (ss.Direction() != ss.InitSortDirection() && ss.UndoSort()) {
                undo = true;
                QUnSort();
                ss.SetColumn(-1);
                ss.SetDirection(ss.InitSortDirection());
            } else {
                ss.SetDirection(ss.Direction() == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                              : TSortDirection::sdAscending);
            }
        } else {
            ss.SetDirection(ss.InitSortDirection());
            ss.SetColumn(rc);
        }
        if (!undo) {
            if (HasNodes()) QSortGroup();
            else QSort();
        }
    }
    if (keepLeft) {
        SetLeftCol(left);
        EndUpdate();
    }
    FSortTime = static_cast<int>(gui::TTimer::ClockNow() - start);
    Invalidate();
    if (OnClickSort) OnClickSort(this, ss.Column());
    return true;
}

} // namespace grid
