// ExGrid: mouse and wheel input: clicks and double clicks on cells with
// their events; the wheel by rows; appending a row; and the small hooks
// around them (selection changed, automatic insertion and deletion, cell
// texts for saving, the XOR sizing lines).  Keys: ExGridKeyDown.cpp.
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

// ------------------------------------------------------------ appending

void TExStringGrid::AutoAddRow()
{
    const bool canAdd = CanAddRow();
    if (!canAdd) return;
    if (FFloatingFooter->Visible() && RowCount() > 0) {
        // The empty row goes above the footer row, which stays last.
        InsertRows(RowCount() - 1, 1, true);
    } else {
        IncRowCount();
        const int last = RowCount() - 1;
        for (int c = 0; c < ColCount() + NumHiddenColumns(); ++c) {
            SetRawCellText(c, last, "");
            SetRawObject(c, last, nullptr);
        }
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
    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        SetTopRow(std::min(TopRow() + WheelStep(), std::max(TBaseGrid::FixedRows(), RowCount() - VisibleRowCount())));
    } else {
        SetRow(std::min(Row() + WheelStep(), last));
        SnapToBaseCell();
    }
    return true;
}

bool TExStringGrid::DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos)
{
    if (gui::TControl::DoMouseWheelUp(shift, mousePos)) return true;
    if (!EnableWheel() || (FFixedRowAlways && RowCount() <= std::max(1, FFixedRowsMin))) return true;
    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        SetTopRow(std::max(TBaseGrid::FixedRows(), TopRow() - WheelStep()));
    } else {
        SetRow(std::max(TBaseGrid::FixedRows(), Row() - WheelStep()));
        SnapToBaseCell();
    }
    return true;
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

// The row indicator and the header marks follow the current cell; the
// handler of OnRowChanged hears of every row change, by key, mouse or code.
void TExStringGrid::CellMoveAccepted(int oldCol, int oldRow, int aCol, int aRow, const gui::TGridRect& oldSelection)
{
    if (TBaseGrid::FixedCols() > 0) {
        RepaintCell(0, oldRow);
        RepaintCell(0, aRow);
    }
    if (FActiveCellShow) {
        auto headers = [&](int c, int r) {
            if (TBaseGrid::FixedRows() > 0) RepaintCell(c, TBaseGrid::FixedRows() - 1);
            if (TBaseGrid::FixedCols() > 0) RepaintCell(TBaseGrid::FixedCols() - 1, r);
        };
        headers(oldCol, oldRow);
        headers(aCol, aRow);
        if (oldSelection.Left != oldCol && oldSelection.Top != oldRow) headers(oldSelection.Left, oldSelection.Top);
    }
    if (SelectionRectangle())
        RepaintRect(gui::TRect(oldSelection.Left, oldSelection.Top, oldSelection.Right, oldSelection.Bottom));
    if (Loading() || FOldRowSel == aRow || !OnRowChanged) return;
    const int old = FOldRowSel;
    FOldRowSel = aRow;
    OnRowChanged(this, old, aRow);
}

void TExStringGrid::SelectionChanged(int aLeft, int aTop, int aRight, int aBottom)
{
    if ((FLook == TGridLook::glVista || FLook == TGridLook::glWin7 || FLook == TGridLook::glOffice2007) &&
        !Options().Contains(TGridOption::goRowSelect)) {
        const gui::TGridRect s = Selection();
        RepaintRect(gui::TRect(s.Left, s.Top, s.Right, s.Bottom));
    }
    if (OnSelectionChanged) OnSelectionChanged(this, aLeft, aTop, aRight, aBottom);
}

void TExStringGrid::AutoInsertRow(int aRow)
{
    InsertRows(RealToDisplayRow(aRow), 1);
    if (OnAutoInsertRow) OnAutoInsertRow(this, aRow);
}

void TExStringGrid::AutoDeleteRow(int aRow)
{
    if (RowCount() - TBaseGrid::FixedRows() - FFixedFooters != 1 || FFixedRowAlways) RemoveRowBlock(aRow, 1);
    else ClearRows(aRow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, aRow);
}

void TExStringGrid::SaveCellText(int aCol, int aRow, std::string& text)
{
    if (SaveVirtCells()) GetFormattedCellText(aCol, aRow, text);
    else text = GetRawCellText(aCol, aRow);
    if (text.empty() && GetCellType(aCol, aRow) == TCellType::ctCheckBox) {
        // (The checked state comes with the check boxes; until then a cell
        // without a value counts as unchecked.)
        GetCheckFalse(aCol, aRow, text);
    }
    if (gridbase::ClassifyCellText(text, true) == gridbase::ctHtmlText && !SaveWithHTML())
        text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, text);
    if (OnSaveCell) OnSaveCell(this, aCol, aRow, text);
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

namespace grid {

bool TExStringGrid::IsOnSizingBorder(int x, int y)
{
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (c < 0 || r < 0) return false;
    const gui::TRect rc = gui::TCustomGrid::CellRect(c, r);
    if (r <= TBaseGrid::FixedRows() && Options().Contains(TGridOption::goColSizing))
        return std::abs(x - rc.Left) < 4 || std::abs(rc.Right - x) < 4;
    if (c <= TBaseGrid::FixedCols() && Options().Contains(TGridOption::goRowSizing))
        return std::abs(y - rc.Top) < 4 || std::abs(rc.Bottom - y) < 4;
    return false;
}

} // namespace grid
