// ExGrid: keyboard, mouse and wheel input: scroll-only navigation, Home
// and End by rows, appending on Down, clipboard keys, row insertion and
// deletion, select-all; clicks and double clicks on cells with their
// events; the wheel by rows; and the small hooks around them (selection
// changed, automatic insertion and deletion, cell texts for saving, the
// XOR sizing lines).
#include <algorithm>
#include <cstdlib>

#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Forms.h"

namespace grid {

using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

bool SameRect(const gui::TGridRect& a, const gui::TGridRect& b) { return a == b; }

} // namespace

// ---------------------------------------------------------------- keyboard

void TExStringGrid::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    // A key a special editor's control left unhandled is not the grid's.
    if (FSpecialEditor && !Focused()) {
        key = 0;
        return;
    }
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool shiftDown = shift.Contains(TShiftStateItem::ssShift);
    const bool alt = shift.Contains(TShiftStateItem::ssAlt);
    const bool wasDown = key == gui::VK_DOWN;
    const gui::TGridRect entrySelection = Selection();
    const int entryRow = Row();
    const int fixedRows = TBaseGrid::FixedRows();
    // The handler gets a copy: what it does to it changes nothing here.
    auto report = [&] {
        if (!OnKeyDown) return;
        uint16_t copy = key;
        OnKeyDown(this, copy, shift);
    };

    // Scroll-only navigation: the view moves, the current cell stays.
    if (FNavigation->MoveScrollOnly()) {
        const int top = TopRow(), visible = VisibleRowCount();
        bool done = true;
        switch (key) {
        case gui::VK_PRIOR: SetTopRow(visible + fixedRows < top ? top - visible : fixedRows); break;
        case gui::VK_NEXT:
            if (top + visible < RowCount()) SetTopRow(top + visible);
            break;
        case gui::VK_END: SetTopRow(std::max(fixedRows, RowCount() - visible)); break;
        case gui::VK_HOME: SetTopRow(fixedRows); break;
        case gui::VK_UP:
            if (top > fixedRows) SetTopRow(top - 1);
            break;
        case gui::VK_DOWN:
            if (top + visible < RowCount()) SetTopRow(top + 1);
            break;
        default: done = false;
        }
        if (done) {
            key = 0;
            return;
        }
    }

    // Home and End by rows (or to the first and last column in row-select mode).
    const bool homeEndBlocked = FFixedRowAlways && RowCount() == 1;
    if ((key == gui::VK_HOME || key == gui::VK_END) && !homeEndBlocked) {
        const bool byRows = FNavigation->HomeEndKey() == THomeEndAction::heFirstLastRow;
        const bool rowSelect = Options().Contains(TGridOption::goRowSelect);
        if (byRows) {
            int far;
            if (key == gui::VK_HOME) far = fixedRows;
            else far = FFloatingFooter->Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1;
            far = std::max(far, fixedRows);
            const int keepLeft = LeftCol();
            SetRow(far);
            SnapToBaseCell();
            if (shiftDown) {
                SetSelection({0, std::min(entryRow, far), ColCount() - 1, std::max(entryRow, far)});
                if (FMouseActions->DisjunctRowSelect()) MarkSelectedRows(false);
            } else if (FMouseActions->DisjunctRowSelect()) {
                ClearRowSelect();
                MarkSelectedRows(false);
            }
            if (key == gui::VK_END && FFloatingFooter->Visible()) SetTopRow(std::max(fixedRows, RowCount() - VisibleRowCount()));
            if (rowSelect && FNavigation->KeepHorizScroll()) SetLeftCol(keepLeft);
            report();
            key = 0;
            return;
        }
        if (rowSelect) {
            if (key == gui::VK_HOME) {
                SetCol(TBaseGrid::FixedCols());
                SetLeftCol(TBaseGrid::FixedCols());
            } else {
                SetCol(ColCount() - 1);
                SetLeftCol(std::max(TBaseGrid::FixedCols(), ColCount() - VisibleColCount()));
            }
            SnapToBaseCell();
            report();
            key = 0;
            return;
        }
    }

    // Tab runs the grid's own cell-by-cell navigation.
    if (key == gui::VK_TAB && Options().Contains(TGridOption::goTabs) && !alt) {
        TabNavigate(shiftDown);
        key = 0;
        return;
    }

    // Enter and F2 start editing where double-click-only or range-select
    // editing keeps goEditing off, and do nothing on a cell that may not be
    // edited.
    if (key == gui::VK_RETURN || key == gui::VK_F2) {
        const int rc = RealColIndex(Col());
        bool open = false;
        if (FMouseActions->EditOnDblClickOnly()) {
            const bool rangeEdit = FMouseActions->RangeSelectAndEdit();
            FMouseActions->SetRangeSelectAndEdit(true);
            open = IsEditable(rc, Row());
            FMouseActions->SetRangeSelectAndEdit(rangeEdit);
        } else if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(TGridOption::goEditing)) {
            if (!IsEditable(rc, Row())) {
                key = 0;
                return;
            }
            open = true;
        } else if (Options().Contains(TGridOption::goEditing) && !EditorMode() && !IsEditable(rc, Row())) {
            report();
            key = 0;
            return;
        }
        if (open) {
            SetOptions(Options() + gui::TGridOptions{TGridOption::goEditing});
            RememberCellValue(Col(), Row());
            ShowEditor();
            report();
            key = 0;
            return;
        }
    }

    if (key == gui::VK_RETURN || key == gui::VK_SPACE) CellControlKey(key);

    // Append a row on Down at the last normal row.
    if (wasDown && FNavigation->AppendOnArrowDown()) {
        const bool last = Row() + 1 == RowCount() - FFixedFooters ||
                          (FFloatingFooter->Visible() && Row() + 2 == RowCount());
        if (last) AutoAddRow();
    }

    // At the end of the view the search footer covers the last row: Down
    // scrolls it clear instead, Left and Right stop at the row's ends.
    const bool footerEnd = SearchFooterShown() && TopRow() >= RowCount() - VisibleRowCount();
    if (footerEnd && Row() == RowCount() - 1) {
        const bool stop = (key == gui::VK_RIGHT && Col() == ColCount() - 1) ||
                          (key == gui::VK_LEFT && Col() == TBaseGrid::FixedCols());
        if (key == gui::VK_DOWN) ScrollLastRowAboveSearchFooter();
        if (key == gui::VK_DOWN || stop) {
            report();
            key = 0;
            return;
        }
    }
    const int topBefore = TopRow();
    const uint16_t original = key;
    TBaseGrid::KeyDown(key, shift);  // reports the key and moves the cell
    const uint16_t k = original;
    if (SearchFooterShown()) {
        const bool navigation = k == gui::VK_SHIFT || k == gui::VK_MENU || (k >= gui::VK_PRIOR && k <= gui::VK_DOWN);
        if (TopRow() >= RowCount() - VisibleRowCount() && !navigation) SetTopRow(topBefore);
        if ((k == gui::VK_NEXT || k == gui::VK_END || k == gui::VK_LEFT || k == gui::VK_RIGHT || k == gui::VK_DOWN) &&
            Row() == RowCount() - 1)
            KeepCellAboveSearchFooter(Col(), Row());
    }
    // Ctrl+F takes the focus to the search footer's edit box.
    if (ctrl && k == 'F' && SearchFooterShown() && SearchPanel()->Edit()->CanFocus()) SearchPanel()->Edit()->SetFocus();

    if (FNavigation->AllowClipboardShortCuts()) {
        auto run = [&](const TAllowEvent& ev, void (TExStringGrid::*op)()) {
            bool allow = true;
            if (ev) ev(this, allow);
            if (allow) (this->*op)();
            key = 0;
        };
        if (ctrl && k == 'X') return run(OnClipboardCut, &TExStringGrid::CutSelectionToClipboard);
        if (ctrl && k == 'V') return run(OnClipboardPaste, &TExStringGrid::PasteSelectionFromClipboard);
        if (ctrl && (k == gui::VK_INSERT || k == 'C'))
            return run(OnClipboardCopy, &TExStringGrid::CopySelectionToClipboard);
        if (shiftDown && !ctrl && k == gui::VK_INSERT)
            return run(OnClipboardPaste, &TExStringGrid::PasteSelectionFromClipboard);
        if (shiftDown && !ctrl && k == gui::VK_DELETE)
            return run(OnClipboardCut, &TExStringGrid::CutSelectionToClipboard);
    }

    if (k == gui::VK_INSERT && !ctrl && !shiftDown && !alt && FNavigation->AllowInsertRow()) {
        bool allow = true;
        CanInsertRow(Row(), allow);
        if (!allow) return;
        if (FNavigation->InsertPosition() == TInsertPosition::pInsertAfter) {
            if (FFixedRowAlways && TBaseGrid::FixedRows() == RowCount()) {
                AutoInsertRow(DisplayToRealRow(Row()));
                SetRow(1);
            } else if (Row() < RowCount()) {
                AutoInsertRow(DisplayToRealRow(Row() + 1));
                if (Row() + 1 < RowCount()) SetRow(Row() + 1);
            }
        } else {
            AutoInsertRow(DisplayToRealRow(Row()));
        }
        CalcFooter(-1);
    }

    if (ctrl && k == 'A') {
        if (!Options().Contains(TGridOption::goRowSelect) && !Options().Contains(TGridOption::goRangeSelect)) return;
        gui::TGridRect all{TBaseGrid::FixedCols(), fixedRows, ColCount() - FFixedRightCols - 1,
                           RowCount() - FFixedFooters - 1};
        if (FMouseActions->DisjunctRowSelect())
            for (int r = fixedRows; r <= all.Bottom; ++r) SetRowSelect(r, true);
        PrepareKeySelectAll(all);
        MoveColRow(all.Right, all.Bottom, false, true);
        SetSelection(all);
        key = 0;
        return;
    }

    if (k == gui::VK_DELETE && !alt && !shiftDown && FNavigation->AllowDeleteRow() &&
        RowCount() - FFixedFooters - FixedRows() >= 1) {
        bool allow = true;
        if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), allow);
        if (!allow) return;
        AutoDeleteRow(Row());
        if (FFloatingFooter->Visible() && Row() == RowCount() - 1) SetRow(RowCount() - 2);
        RememberCellValue(Col(), Row());
        CalcFooter(-1);
    }

    const gui::TGridRect sel = Selection();
    if (!SameRect(sel, entrySelection)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
}

void TExStringGrid::AutoAddRow()
{
    const bool canAdd = CanAddRow();
    if (!canAdd) return;
    if (FFloatingFooter->Visible() && RowCount() > 0) {
        // The empty row goes above the footer row, which stays last.
        InsertRows(RowCount() - 1, 1, true);
    } else {
        InsertRows(RowCount(), 1, true);
    }
    if (FFloatingFooter->Visible() || FFixedFooters > 0) SetRow(Row() + 1);
    if (FFloatingFooter->Visible()) CalcFooter(-1);
    if (OnAutoAddRow) OnAutoAddRow(this, Row());
}

// ------------------------------------------------------------------- mouse

void TExStringGrid::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    if (Designing() && ShowDesignHelper() && button == gui::TMouseButton::mbLeft && DesignHelperHitTest(x, y) != 255) {
        DesignHelperClick(x, y);
        return;
    }
    ClosePopupLink();
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (!shift.Contains(gui::TShiftStateItem::ssDouble)) FDblClk = false;
    FPressSelection = Selection();
    FPressCell = {c, r};
    FPressPoint = {x, y};
    if (button == gui::TMouseButton::mbLeft && (FSizeFixed || FSizeFixedR)) {
        // The grid sizes a fixed column or row itself.
        if (FSizeFixed) {
            FSizingFixed = true;
            FSizeFixedX = x;
            DrawColSizeLine(x);
        } else {
            FSizingFixedR = true;
            FSizeFixedY = y;
            DrawRowSizeLine(y);
        }
        return;
    }
    if (button == gui::TMouseButton::mbLeft && OnSelectionHandle(x, y)) {
        // The selection-resize handle: the selection is copied, and the drag
        // that follows stretches it from its top-left corner.
        FDropSelection = FPressSelection;
        CopySelectionToClipboard();
        FMouseResize = true;
        // Editing is off while the handle is dragged (a press would open the
        // editor); FEditDisable keeps the cells editable for the paste.
        if (Options().Contains(TGridOption::goEditing)) {
            SetOptions(Options() - gui::TGridOptions{TGridOption::goEditing});
            FEditDisable = true;
        }
        TBaseGrid::MouseDown(button, shift, x, y);
        SetSelection(FDropSelection);
        return;
    }
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && OnCanClickCell) {
        bool allow = true;
        OnCanClickCell(this, r, c, allow);
        if (!allow) {
            FPressCell = {-1, -1};
            return;  // a refused click changes nothing
        }
    }
    if (button == gui::TMouseButton::mbLeft && c == 0 && r >= TBaseGrid::FixedRows() && HasNodes() && IsNode(r) &&
        IsInNodeButton(r, x - gui::TCustomGrid::CellRect(0, r).Left)) {
        // A node button: the click expands or contracts the node and goes no further.
        if (OnClickCell) OnClickCell(this, r, c);
        NodeButtonPress(c, r, x - gui::TCustomGrid::CellRect(0, r).Left);
        FPressCell = {-1, -1};
        return;
    }
    FSelectionClick = false;
    // Radio groups and buttons in cells.
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && CellControlPress(c, r, x, y)) return;
    // Anchors and inline form controls of HTML cells.
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && !IsFixed(c, r) &&
        ControlPress(RealColIndex(c), r, x, y))
        return;
    // Check boxes and radio buttons in cells.
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && CellCheckPress(c, r, x, y, shift)) return;
    if (button == gui::TMouseButton::mbLeft && !shift.Contains(TShiftStateItem::ssDouble) &&
        OleDragSourcePress(c, r, x, y))
        return;  // the drag starts once the pointer moves
    FMouseDown = button == gui::TMouseButton::mbLeft;
    // An editor opened by this press puts its caret under the mouse.
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && MouseActions()->CaretPositioning()) LButFlg = true;
    if (button == gui::TMouseButton::mbLeft) {
        // The sizing reference cell: in the header row the column left of a
        // border the press lies just right of.
        int rc = -1, rr = -1;
        if (r == 0) MouseToCell(x - 5, y, rc, rr);
        else if (c != 0) MouseToCell(x - 5, y - 4, rc, rr);
        else MouseToCell(x, y - 4, rc, rr);
        Colclicked = rc;
        Rowclicked = rr;
        if (rc >= 0 && rr >= 0) {
            const gui::TRect ref = gui::TCustomGrid::CellRect(rc, rr);
            Clickposdx = x - ref.Right;
            Clickposdy = y - ref.Bottom;
        }
    }
    TBaseGrid::MouseDown(button, shift, x, y);
    if (button == gui::TMouseButton::mbLeft) EnhMoveMouseDown(x, y);
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0) DirectEditPress(c, r, x);
}

void TExStringGrid::MouseMove(gui::TShiftState shift, int x, int y)
{
    if (FixedSizingMove(x, y)) return;
    if (OleDragStartMove(x, y)) return;
    if (EnhMoveMouseMove(x, y)) return;
    {
        // A hint shown for another cell goes; the balloon follows the cell.
        int hc = -1, hr = -1;
        MouseToCell(x, y, hc, hr);
        if (FLastHintPos.X >= 0 && gui::TPoint{hc, hr} != FLastHintPos && gui::Application) {
            gui::Application->CancelHint();
            FLastHintPos = {-1, -1};
        }
        BalloonMouseMove(x, y);
    }
    TBaseGrid::MouseMove(shift, x, y);
    const gui::TGridState state = GridState();
    if (state != gui::TGridState::gsColSizing && state != gui::TGridState::gsRowSizing) return;
    if (!HintShowSizing() && !Designing()) return;
    if (state == gui::TGridState::gsColSizing) {
        const int rc = Colclicked >= 0 ? Colclicked : ColCount() - 1, rr = Colclicked >= 0 ? std::max(Rowclicked, 0) : 0;
        const gui::TRect ref = gui::TCustomGrid::CellRect(rc, rr);
        FLastSizingHint = "cw=<b>" + std::to_string(x - ref.Left - Clickposdx) + "</b>";
    } else {
        const int rr = Rowclicked >= 0 ? Rowclicked : RowCount() - 1, rc = Rowclicked >= 0 ? std::max(Colclicked, 0) : 0;
        const gui::TRect ref = gui::TCustomGrid::CellRect(rc, rr);
        FLastSizingHint = "rh=<b>" + std::to_string(y - ref.Top - Clickposdy) + "</b>";
    }
}

void TExStringGrid::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    if (button == gui::TMouseButton::mbLeft && OleDragSourceRelease(x, y)) return;
    if (EnhMoveMouseUp(button, x, y)) {
        FMouseDown = false;
        return;
    }
    if (FSizingFixed || FSizingFixedR) {
        EndFixedSizing(x, y);
        return;
    }
    if (FMouseResize && button == gui::TMouseButton::mbLeft) {
        TBaseGrid::MouseUp(button, shift, x, y);
        FMouseResize = false;
        const gui::TGridRect now = Selection();
        if (OnSelectionResize) OnSelectionResize(this, FDropSelection, now);
        // The copy made at the press fills the stretched selection of an
        // editing grid.
        if (FEditDisable) SetOptions(Options() + gui::TGridOptions{TGridOption::goEditing});
        if (FEditDisable || Options().Contains(TGridOption::goEditing)) PasteSelectionFromClipboard();
        FEditDisable = false;
        if (OnSelectionResized) OnSelectionResized(this, FDropSelection, now);
        return;
    }
    if (button == gui::TMouseButton::mbLeft && FPushedCellButton.X >= 0) {
        int bc = -1, br = -1;
        MouseToCell(x, y, bc, br);
        if (CellButtonRelease(bc, br, x, y)) {
            FMouseDown = false;
            return;
        }
    }
    const gui::TGridState state = GridState();
    TBaseGrid::MouseUp(button, shift, x, y);
    FMouseDown = false;
    if (FCtrlDown) {
        // An inline button control comes up again.
        FCtrlDown = false;
        RepaintCell(RealToDisplayCol(FCtrlXY.X), FCtrlXY.Y);
    }
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (button == gui::TMouseButton::mbLeft) FilterButtonRelease(x, y);
    const bool sizing = state == gui::TGridState::gsColSizing || state == gui::TGridState::gsRowSizing;
    if (FPressCell.X < 0 || sizing) return;
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0 && OnClickCell) OnClickCell(this, r, c);
    // A release on the header's sort row sorts by the column.
    if (button == gui::TMouseButton::mbLeft && c >= 0 && r >= 0)
        HeaderClickSort(x, y, shift, state == gui::TGridState::gsColMoving);
    if (button == gui::TMouseButton::mbRight && c >= 0 && r >= 0 && OnRightClickCell) OnRightClickCell(this, r, c);
    // The selection is compared with the one at the press.
    const gui::TGridRect sel = Selection();
    if (button == gui::TMouseButton::mbLeft && !SameRect(sel, FPressSelection))
        SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    RememberCellValue(Col(), Row());
}

void TExStringGrid::DblClick()
{
    // The cell of the press that made the double click.
    const int c = FPressCell.X, r = FPressCell.Y;
    FDblClk = true;  // the release of this click does not sort
    if (c >= 0 && r >= 0 && DblClickSizesColumn(c, r, FPressPoint.X)) {
        TBaseGrid::DblClick();
        return;
    }
    TBaseGrid::DblClick();  // OnDblClick
    if (c >= 0 && r >= 0 && OnDblClickCell) OnDblClickCell(this, r, c);
    if (c >= 0 && r >= 0) DblClickEdit(c, r);
}

int TExStringGrid::WheelStep() const
{
    const int inc = FMouseActions->WheelIncrement();
    return std::max(1, inc > 0 ? inc : FWheelScrl);
}

bool TExStringGrid::DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos)
{
    if (gui::TControl::DoMouseWheelDown(shift, mousePos)) return true;
    if (!EnableWheel() || (FFixedRowAlways && RowCount() <= std::max(1, FFixedRowsMin))) return true;
    const int last = std::max(TBaseGrid::FixedRows(), RowCount() - FFixedFooters - 1);
    const int oldRow = Row();
    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        SetTopRow(std::min(TopRow() + WheelStep(), std::max(TBaseGrid::FixedRows(), RowCount() - VisibleRowCount())));
    } else {
        SetRow(std::min(Row() + WheelStep(), last));
        SnapToBaseCell();
    }
    bool handled = true;
    WheelMoved(Row() - oldRow, handled);
    return handled;
}

bool TExStringGrid::DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos)
{
    if (gui::TControl::DoMouseWheelUp(shift, mousePos)) return true;
    if (!EnableWheel() || (FFixedRowAlways && RowCount() <= std::max(1, FFixedRowsMin))) return true;
    const int oldRow = Row();
    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        SetTopRow(std::max(TBaseGrid::FixedRows(), TopRow() - WheelStep()));
    } else {
        SetRow(std::max(TBaseGrid::FixedRows(), Row() - WheelStep()));
        SnapToBaseCell();
    }
    bool handled = true;
    WheelMoved(Row() - oldRow, handled);
    return handled;
}

// Finds whether the pointer lies on a fixed column's right border or a
// fixed row's bottom border, and moves the sizing line of a running fixed
// sizing.  True while such a sizing runs.
bool TExStringGrid::FixedSizingMove(int x, int y)
{
    if (FSizingFixed) {
        DrawColSizeLine(FSizeFixedX);
        FSizeFixedX = x;
        DrawColSizeLine(x);
        if (OnColumnSizing) OnColumnSizing(this, 0, FSizeFixedX);
        if (HintShowSizing() || Designing()) FLastSizingHint = "cw=<b>" + std::to_string(FSizeFixedX) + "</b>";
        return true;
    }
    if (FSizingFixedR) {
        DrawRowSizeLine(FSizeFixedY);
        FSizeFixedY = y;
        DrawRowSizeLine(y);
        if (OnRowSizing) OnRowSizing(this, 0, FSizeFixedY);
        if (HintShowSizing() || Designing()) FLastSizingHint = "rh=<b>" + std::to_string(FSizeFixedY) + "</b>";
        return true;
    }
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    const bool onCell = c >= 0 && r >= 0 && !Designing();
    FSizeFixed = FSizeFixedR = false;
    int border = 0;
    for (int i = 0; i < TBaseGrid::FixedCols(); ++i) {
        border += ColWidths(i);
        if (std::abs(border - x) < 3 && onCell) {
            FSizeFixedCol = i;
            FSizeFixed = FMouseActions->SizeFixedCol();
        }
        border += 1;
    }
    border = 0;
    for (int i = 0; i < TBaseGrid::FixedRows(); ++i) {
        border += RowHeights(i);
        if (std::abs(border - y) < 3 && onCell) {
            FSizeFixedRow = i;
            FSizeFixedR = FMouseActions->SizeFixedRow();
        }
        border += 1;
    }
    return false;
}

void TExStringGrid::EndFixedSizing(int x, int y)
{
    if (FSizingFixed) {
        FSizingFixed = FSizeFixed = false;
        DrawColSizeLine(FSizeFixedX);
        int left = 0;
        for (int i = 0; i < FSizeFixedCol; ++i) left += ColWidths(i);
        SetColWidths(FSizeFixedCol, std::max(0, x - left));
        if (OnEndColumnSize) OnEndColumnSize(this, FSizeFixedCol);
        int width = ColWidths(FSizeFixedCol);
        UpdateColumnSize(FSizeFixedCol, width);
        if (width != ColWidths(FSizeFixedCol)) SetColWidths(FSizeFixedCol, width);
    } else {
        FSizingFixedR = FSizeFixedR = false;
        DrawRowSizeLine(FSizeFixedY);
        int top = 0;
        for (int i = 0; i < FSizeFixedRow; ++i) top += RowHeights(i);
        SetRowHeights(FSizeFixedRow, std::max(0, y - top));
        if (OnEndRowSize) OnEndRowSize(this, FSizeFixedRow);
    }
    FLastSizingHint.clear();
}

bool TExStringGrid::OnSelectionHandle(int x, int y) const
{
    if (!SelectionResizer() || !SelectionRectangle()) return false;
    const gui::TGridRect sel = Selection();
    const gui::TRect rc = gui::TCustomGrid::CellRect(sel.Right, sel.Bottom);
    if (rc.IsEmpty()) return false;
    return x >= rc.Right - 6 && x < rc.Right && y >= rc.Bottom - 6 && y < rc.Bottom;
}

// -------------------------------------------------------------- small hooks

void TExStringGrid::SelectionChanged(int aLeft, int aTop, int aRight, int aBottom)
{
    if ((FLook == TGridLook::glVista || FLook == TGridLook::glWin7 || FLook == TGridLook::glOffice2007) &&
        !Options().Contains(TGridOption::goRowSelect)) {
        const gui::TGridRect s = Selection();
        RepaintRect(gui::TRect(s.Left, s.Top, s.Right, s.Bottom));
    }
    if (OnSelectionChanged) OnSelectionChanged(this, aLeft, aTop, aRight, aBottom);
}

void TExStringGrid::LoadCellText(int aCol, int aRow, const std::string& text)
{
    std::string value = text;
    if (OnLoadCell) OnLoadCell(this, aCol, aRow, value);
    SetRawCellText(aCol, aRow, value);
}

// A black pen would leave every pixel as it is under XOR; white inverts
// them, so the line shows and a second drawing removes it.
void TExStringGrid::DrawColSizeLine(int x)
{
    gui::TCanvas* cv = Canvas();
    gui::TPen saved;
    saved.Assign(cv->Pen());
    cv->Pen()->SetColor(gui::clWhite);
    cv->Pen()->SetStyle(gui::TPenStyle::psDot);
    cv->Pen()->SetMode(gui::TPenMode::pmXor);
    cv->Pen()->SetWidth(1);
    const int bottom = std::max(Height(), CalcCellRect(0, RowCount() - 1).Bottom);
    cv->MoveTo(x, 0);
    cv->LineTo(x, bottom);
    cv->Pen()->Assign(&saved);
}

void TExStringGrid::DrawRowSizeLine(int y)
{
    gui::TCanvas* cv = Canvas();
    gui::TPen saved;
    saved.Assign(cv->Pen());
    cv->Pen()->SetColor(gui::clWhite);
    cv->Pen()->SetStyle(gui::TPenStyle::psDot);
    cv->Pen()->SetMode(gui::TPenMode::pmXor);
    cv->Pen()->SetWidth(1);
    const int right = std::max(Width(), CalcCellRect(ColCount() - 1, 0).Right);
    cv->MoveTo(0, y);
    cv->LineTo(right, y);
    cv->Pen()->Assign(&saved);
}

} // namespace grid
