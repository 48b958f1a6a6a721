// ExGrid: the mouse press, move and release, step by step.  A press is
// offered in turn to what may lie under it (the design panel, a fixed
// border the grid sizes itself, the selection-resize handle, a node button,
// cell controls, anchors, check boxes, a drag source, the corner and header
// cells that select all, rows or columns) before an ordinary cell press
// reaches the class library.  The move decides what the next press selects
// and extends a header drag; the release ends sizing, selection resizing
// and cell buttons and fires the click events.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/ExGrid.h"
#include "grid/ExGridSettings.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace grid {

using gui::TGridOption;
using gui::TMouseButton;
using gui::TShiftStateItem;

class TGridPress {
public:
    TGridPress(TExStringGrid& grid, int x, int y) : G(grid), X(x), Y(y) { G.MouseToCell(x, y, Col, Row); }

    void Press(TMouseButton button, gui::TShiftState shift);
    void Move(gui::TShiftState shift);
    void Release(TMouseButton button, gui::TShiftState shift);

private:
    TExStringGrid& G;
    const int X, Y;
    int Col = -1, Row = -1;

    bool OnCell() const { return Col >= 0 && Row >= 0; }
    bool InFixedRows() const { return Row >= 0 && Row < G.TBaseGrid::FixedRows(); }
    bool InFixedCols() const { return Col >= 0 && Col < G.TBaseGrid::FixedCols(); }
    bool RangeSelect() const { return G.Options().Contains(TGridOption::goRangeSelect); }

    // press
    bool DesignPanelPress(TMouseButton button);
    bool FixedSizingStart(TMouseButton button);
    bool ResizeHandlePress(TMouseButton button, gui::TShiftState shift);
    bool ClickRefused(TMouseButton button);
    bool NodeButtonPress(TMouseButton button);
    bool ControlPress(TMouseButton button, gui::TShiftState shift);
    bool HeaderSelectPress(TMouseButton button, gui::TShiftState shift);
    void ReferenceCell(TMouseButton button);
    bool KeepsLeftCol() const;
    void RestoreLeftCol();
    void InheritedPress(TMouseButton button, gui::TShiftState shift);
    void FixedCellEditPress(TMouseButton button, gui::TShiftState shift);
    void RightClickSelect(TMouseButton button, gui::TShiftState shift);

    // move
    bool FixedSizingMove();
    void DetectFixedBorders();
    void CellScrollBar();
    void CellScrollBarMoved();
    void HeaderRangeDrag();
    void MouseSelectMode();
    void CancelHints();
    void SizingFeedback();

    // release
    bool EndFixedSizing();
    bool EndSelectionResize(TMouseButton button, gui::TShiftState shift);
    void ScaleOtherColumnsAndRows();
    void ControlMouseUp();
};

// ---------------------------------------------------------------- press

void TGridPress::Press(TMouseButton button, gui::TShiftState shift)
{
    if (DesignPanelPress(button)) return;
    G.ClosePopupLink();
    if (!shift.Contains(TShiftStateItem::ssDouble)) G.FDblClk = false;
    G.FPressSelection = G.Selection();
    G.FPressCell = {Col, Row};
    G.FPressPoint = {X, Y};
    if (FixedSizingStart(button) || ResizeHandlePress(button, shift) || ClickRefused(button)) return;
    if (button == TMouseButton::mbLeft) G.DisjunctCellPress(shift);
    if (NodeButtonPress(button)) return;
    G.FSelectionClick = false;
    if (ControlPress(button, shift)) return;
    if (HeaderSelectPress(button, shift)) return;
    G.FMouseDown = button == TMouseButton::mbLeft;
    // An editor opened by this press puts its caret under the mouse.
    if (button == TMouseButton::mbLeft && OnCell() && G.MouseActions()->CaretPositioning()) G.LButFlg = true;
    ReferenceCell(button);
    InheritedPress(button, shift);
    FixedCellEditPress(button, shift);
    RightClickSelect(button, shift);
    if (button != TMouseButton::mbLeft) return;
    G.EnhMoveMouseDown(X, Y);
    if (OnCell()) G.DirectEditPress(Col, Row, X);
}

bool TGridPress::DesignPanelPress(TMouseButton button)
{
    if (!G.Designing() || !G.ShowDesignHelper() || button != TMouseButton::mbLeft) return false;
    if (G.DesignHelperHitTest(X, Y) == 255) return false;
    G.DesignHelperClick(X, Y);
    return true;
}

// The grid sizes a fixed column or row itself.
bool TGridPress::FixedSizingStart(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !(G.FSizeFixed || G.FSizeFixedR)) return false;
    if (G.FSizeFixed) {
        G.FSizingFixed = true;
        G.FSizeFixedX = X;
        G.DrawColSizeLine(X);
    } else {
        G.FSizingFixedR = true;
        G.FSizeFixedY = Y;
        G.DrawRowSizeLine(Y);
    }
    return true;
}

// The selection-resize handle: the selection is copied, and the drag that
// follows stretches it from its top-left corner.
bool TGridPress::ResizeHandlePress(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbLeft || !G.OnSelectionHandle(X, Y)) return false;
    G.FDropSelection = G.FPressSelection;
    G.CopySelectionToClipboard();
    G.FMouseResize = true;
    // Editing is off while the handle is dragged (a press would open the
    // editor); FEditDisable keeps the cells editable for the paste.
    if (G.Options().Contains(TGridOption::goEditing)) {
        G.SetOptions(G.Options() - gui::TGridOptions{TGridOption::goEditing});
        G.FEditDisable = true;
    }
    G.TBaseGrid::MouseDown(button, shift, X, Y);
    G.SetSelection(G.FDropSelection);
    return true;
}

// A refused click changes nothing.
bool TGridPress::ClickRefused(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !OnCell() || !G.OnCanClickCell) return false;
    bool allow = true;
    G.OnCanClickCell(&G, Row, Col, allow);
    if (allow) return false;
    G.FPressCell = {-1, -1};
    return true;
}

// A node button: the click expands or contracts the node and goes no further.
bool TGridPress::NodeButtonPress(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || Col != 0 || Row < G.TBaseGrid::FixedRows()) return false;
    if (!G.HasNodes() || !G.IsNode(Row)) return false;
    const int dx = X - G.gui::TCustomGrid::CellRect(0, Row).Left;
    if (!G.IsInNodeButton(Row, dx)) return false;
    if (G.OnClickCell) G.OnClickCell(&G, Row, Col);
    G.NodeButtonPress(Col, Row, dx);
    G.FPressCell = {-1, -1};
    return true;
}

// Radio groups and buttons in cells, anchors and inline form controls of
// HTML cells, check boxes and radio buttons, and the drag source.
bool TGridPress::ControlPress(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbLeft) return false;
    if (OnCell() && G.CellControlPress(Col, Row, X, Y)) return true;
    if (OnCell() && !G.IsFixed(Col, Row) && G.ControlPress(G.RealColIndex(Col), Row, X, Y)) return true;
    if (OnCell() && G.CellCheckPress(Col, Row, X, Y, shift)) return true;
    // The drag starts once the pointer moves.
    return !shift.Contains(TShiftStateItem::ssDouble) && G.OleDragSourcePress(Col, Row, X, Y);
}

// The corner selects every normal cell, a row header the row, a column
// header the column (with Shift up to the selection's first row/column);
// dragging over the headers extends the rows or columns.
bool TGridPress::HeaderSelectPress(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbLeft || !OnCell() || !RangeSelect()) return false;
    const TMouseActions* ma = G.MouseActions();
    const int fixedCols = G.TBaseGrid::FixedCols(), fixedRows = G.TBaseGrid::FixedRows();
    const gui::TGridRect s0 = G.FPressSelection;
    const bool shiftDown = shift.Contains(TShiftStateItem::ssShift);
    gui::TGridRect sel;
    if (InFixedCols() && InFixedRows() && ma->AllSelect() && G.FMouseSelectMode == TMouseSelectMode::msAll) {
        sel = {fixedCols, fixedRows, G.ColCount() - 1, G.RowCount() - 1};
        G.PrepareCornerSelectAll(sel);
    } else if (InFixedCols() && !InFixedRows() && ma->RowSelect() &&
               G.FMouseSelectMode == TMouseSelectMode::msRow) {
        const int from = shiftDown ? s0.Top : Row;
        sel = {fixedCols, std::min(from, Row), G.ColCount() - 1, std::max(from, Row)};
        G.FMouseSelectStart = from;
    } else if (InFixedRows() && !InFixedCols() && ma->ColSelect() &&
               G.FMouseSelectMode == TMouseSelectMode::msColumn) {
        const int from = shiftDown ? s0.Left : Col;
        sel = {std::min(from, Col), fixedRows, std::max(from, Col), G.RowCount() - 1};
        G.FMouseSelectStart = from;
    } else {
        return false;
    }
    if (G.CanFocus()) G.SetFocus();
    G.SetSelection(sel);
    G.FSelHidden = false;
    if (G.ActiveCellShow()) G.Invalidate();
    return true;
}

// The sizing reference cell: in the header row the column left of a border
// the press lies just right of.
void TGridPress::ReferenceCell(TMouseButton button)
{
    if (button != TMouseButton::mbLeft) return;
    int rc = -1, rr = -1;
    if (Row == 0) G.MouseToCell(X - 5, Y, rc, rr);
    else if (Col != 0) G.MouseToCell(X - 5, Y - 4, rc, rr);
    else G.MouseToCell(X, Y - 4, rc, rr);
    G.Colclicked = rc;
    G.Rowclicked = rr;
    if (rc < 0 || rr < 0) return;
    const gui::TRect ref = G.gui::TCustomGrid::CellRect(rc, rr);
    G.Clickposdx = X - ref.Right;
    G.Clickposdy = Y - ref.Bottom;
    G.Colclickedsize = G.ColWidths(rc);
    G.Rowclickedsize = G.RowHeights(rr);
}

bool TGridPress::KeepsLeftCol() const
{
    return G.Navigation()->KeepHorizScroll() && G.Options().Contains(TGridOption::goRowSelect) &&
           G.FOldKeepLeftCol >= 0;
}

void TGridPress::RestoreLeftCol()
{
    G.StartUpdate();
    G.SetLeftCol(G.FOldKeepLeftCol);
    G.ResetUpdate();
}

// The class library's press; in row-select mode with KeepHorizScroll the
// view keeps its left column.
void TGridPress::InheritedPress(TMouseButton button, gui::TShiftState shift)
{
    G.FOldKeepLeftCol = G.LeftCol();
    G.TBaseGrid::MouseDown(button, shift, X, Y);
    if (KeepsLeftCol()) RestoreLeftCol();
}

// Header texts are edited in the transparent editor when FixedRowsEdit
// (FixedColsEdit) asks for this click; a left click next to a sizable
// border sizes instead.
void TGridPress::FixedCellEditPress(TMouseButton button, gui::TShiftState shift)
{
    if (!OnCell() || !(InFixedRows() || InFixedCols())) return;
    const TMouseActions* ma = G.MouseActions();
    // The press of a double click (it comes after DblClick) opens the
    // editor for fceDblClick, once the press has taken the focus.
    TGridFixedCellEdit want = TGridFixedCellEdit::fceNone;
    if (button == TMouseButton::mbLeft)
        want = shift.Contains(TShiftStateItem::ssDouble) ? TGridFixedCellEdit::fceDblClick
                                                          : TGridFixedCellEdit::fceLeftClick;
    else if (button == TMouseButton::mbRight)
        want = TGridFixedCellEdit::fceRightClick;
    if (want == TGridFixedCellEdit::fceNone) return;
    const bool rowEdit = InFixedRows() && ma->FixedRowsEdit() == want;
    const bool colEdit = InFixedCols() && ma->FixedColsEdit() == want;
    if (!rowEdit && !colEdit) return;
    if (want == TGridFixedCellEdit::fceLeftClick) {
        const bool sizing = rowEdit ? G.Options().Contains(TGridOption::goColSizing)
                                    : G.Options().Contains(TGridOption::goRowSizing);
        const gui::TRect r = G.gui::TCustomGrid::CellRect(Col, Row);
        if (sizing && !(X > r.Left + 4 && X < r.Right - 4 && Y > r.Top + 4 && Y < r.Bottom - 4)) return;
    }
    G.ShowTransparentEditor(Col, Row);
}

// SelectOnRightClick: a right press makes the cell current; with disjunct
// rows it flags the row (Ctrl inverts it), keeping a multi-row selection
// the press lies in for the popup menu.
void TGridPress::RightClickSelect(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbRight || !G.MouseActions()->SelectOnRightClick() || !OnCell()) return;
    if (G.IsFixed(Col, Row) || InFixedRows() || InFixedCols()) return;
    const bool selected = G.IsSelected(Col, Row);
    if (!selected) {
        const int keepLeft = G.LeftCol();
        G.MoveColRow(Col, Row, true, true);
        if (G.Navigation()->KeepHorizScroll()) G.SetLeftCol(keepLeft);
    }
    if (!G.MouseActions()->DisjunctRowSelect()) return;
    const int row = G.MouseActions()->RowSelectPersistent() ? G.DisplayToRealRow(Row) : Row;
    if (shift.Contains(TShiftStateItem::ssCtrl)) {
        G.SetRowSelect(row, !G.GetRowSelect(row));
    } else if (G.RowSelectCount() < 2 || !G.PopupMenu() || !selected) {
        G.ClearRowSelect();
        G.SetRowSelect(row, true);
    }
}

// ----------------------------------------------------------------- move

void TGridPress::Move(gui::TShiftState shift)
{
    if (FixedSizingMove()) return;
    DetectFixedBorders();
    if (G.OleDragStartMove(X, Y)) return;
    if (G.EnhMoveMouseMove(X, Y)) return;
    CellScrollBar();
    HeaderRangeDrag();
    MouseSelectMode();
    CancelHints();
    G.TBaseGrid::MouseMove(shift, X, Y);
    if (G.FMouseDown && KeepsLeftCol() && G.GridState() != gui::TGridState::gsColMoving) RestoreLeftCol();
    SizingFeedback();
}

// A running fixed sizing moves its XOR line and reports the new size.
bool TGridPress::FixedSizingMove()
{
    if (G.FSizingFixed) {
        G.DrawColSizeLine(G.FSizeFixedX);
        G.FSizeFixedX = X;
        G.DrawColSizeLine(X);
        if (G.OnColumnSizing) G.OnColumnSizing(&G, 0, G.FSizeFixedX);
        if (G.HintShowSizing() || G.Designing())
            G.FLastSizingHint = "cw=<b>" + std::to_string(G.FSizeFixedX) + "</b>";
        return true;
    }
    if (!G.FSizingFixedR) return false;
    G.DrawRowSizeLine(G.FSizeFixedY);
    G.FSizeFixedY = Y;
    G.DrawRowSizeLine(Y);
    if (G.OnRowSizing) G.OnRowSizing(&G, 0, G.FSizeFixedY);
    if (G.HintShowSizing() || G.Designing()) G.FLastSizingHint = "rh=<b>" + std::to_string(G.FSizeFixedY) + "</b>";
    return true;
}

// Whether the pointer lies on a fixed column's right border or a fixed
// row's bottom border (the last match wins).
void TGridPress::DetectFixedBorders()
{
    const bool onCell = OnCell() && !G.Designing();
    G.FSizeFixed = G.FSizeFixedR = false;
    int border = 0;
    for (int i = 0; i < G.TBaseGrid::FixedCols(); ++i) {
        border += G.ColWidths(i);
        if (std::abs(border - X) < 3 && onCell) {
            G.FSizeFixedCol = i;
            G.FSizeFixed = G.MouseActions()->SizeFixedCol();
        }
        border += 1;
    }
    border = 0;
    for (int i = 0; i < G.TBaseGrid::FixedRows(); ++i) {
        border += G.RowHeights(i);
        if (std::abs(border - Y) < 3 && onCell) {
            G.FSizeFixedRow = i;
            G.FSizeFixedR = G.MouseActions()->SizeFixedRow();
        }
        border += 1;
    }
}

// A scroll-bar cell under the pointer shows a scroll bar inside its right
// edge while its content is larger than the cell; operating the bar moves
// the cell's position, repaints it and fires OnScrollCell.
void TGridPress::CellScrollBar()
{
    if (G.Designing()) return;
    if (G.FCellScrollBar) G.FCellScrollBar->SetVisible(false);
    if (!OnCell()) return;
    const int rc = G.RealColIndex(Col);
    if (!G.HasScrollBar(rc, Row)) return;
    const TScrollProp prop = G.GetScrollProp(rc, Row);
    if (prop.PageSize >= prop.Range) return;
    if (!G.FCellScrollBar) {
        G.FCellScrollBar = new gui::TScrollBar(&G);
        G.FCellScrollBar->SetKind(gui::TScrollBarKind::sbVertical);
        G.FCellScrollBar->SetParent(&G);
        TExStringGrid* grid = &G;
        G.FCellScrollBar->OnChange = [grid](rtl::TObject*) { TGridPress(*grid, 0, 0).CellScrollBarMoved(); };
    }
    G.FScrollCol = rc;
    G.FScrollRow = Row;
    gui::TScrollBar* bar = G.FCellScrollBar;
    bar->SetPageSize(0);
    bar->SetParams(std::max(0, G.GetScrollPosition(rc, Row)), 0, prop.Range);
    bar->SetPageSize(prop.PageSize);
    const gui::TRect r = G.gui::TCustomGrid::CellRect(Col, Row);
    const int line = G.GridLineWidth();
    bar->SetBounds(r.Right - 17 - line, r.Top + line, 17, r.Height() - 2 * line);
    bar->SetVisible(true);
}

void TGridPress::CellScrollBarMoved()
{
    const gui::TScrollBar* bar = G.FCellScrollBar;
    const int c = G.FScrollCol, r = G.FScrollRow;
    if (!bar || c < 0 || r < 0 || G.GetScrollPosition(c, r) == bar->Position()) return;
    G.SetScrollPosition(c, r, bar->Position());
    G.RepaintCell(G.RealToDisplayCol(c), r);
    if (G.OnScrollCell) G.OnScrollCell(&G, c, r, bar->Position(), bar->Min(), bar->Max());
}

// A press on a row (column) header that goes on over the headers selects
// the rows (columns) between.
void TGridPress::HeaderRangeDrag()
{
    if (G.FMouseSelectStart < 0 || !OnCell()) return;
    const int fixedCols = G.TBaseGrid::FixedCols(), fixedRows = G.TBaseGrid::FixedRows();
    const int start = G.FMouseSelectStart;
    if (G.FMouseSelectMode == TMouseSelectMode::msRow && G.MouseActions()->RowSelect() &&
        Row < G.RowCount() - G.FFixedFooters) {
        const int to = std::max(fixedRows, Row);
        G.SetSelection({fixedCols, std::min(start, to), G.ColCount() - 1, std::max(start, to)});
    } else if (G.FMouseSelectMode == TMouseSelectMode::msColumn && G.MouseActions()->ColSelect()) {
        const int to = std::max(fixedCols, Col);
        G.SetSelection({std::min(start, to), fixedRows, std::max(start, to), G.RowCount() - 1});
    }
}

// What the next press selects, from what lies under the pointer.  A
// header drag keeps its mode until the release.
void TGridPress::MouseSelectMode()
{
    if (G.FMouseSelectStart >= 0) return;
    TMouseSelectMode mode = TMouseSelectMode::msNormal;
    const TMouseActions* ma = G.MouseActions();
    if (G.OnSelectionHandle(X, Y)) {
        mode = TMouseSelectMode::msResize;
    } else if (OnCell() && InFixedCols() && InFixedRows()) {
        if (ma->AllSelect()) mode = TMouseSelectMode::msAll;
    } else if (OnCell() && InFixedRows()) {
        if (ma->ColSelect() && !G.IsOnSizingBorder(X, Y)) mode = TMouseSelectMode::msColumn;
    } else if (OnCell() && InFixedCols()) {
        const bool nodeButton = Col == 0 && G.HasNodes() && G.IsNode(Row) &&
                                G.IsInNodeButton(Row, X - G.gui::TCustomGrid::CellRect(0, Row).Left);
        if (ma->RowSelect() && !G.IsOnSizingBorder(X, Y) && !nodeButton) mode = TMouseSelectMode::msRow;
    }
    G.FMouseSelectMode = mode;
}

// A hint shown for another cell goes; the balloon follows the cell.
void TGridPress::CancelHints()
{
    if (G.FLastHintPos.X >= 0 && gui::TPoint{Col, Row} != G.FLastHintPos && gui::Application) {
        gui::Application->CancelHint();
        G.FLastHintPos = {-1, -1};
    }
    G.BalloonMouseMove(X, Y);
}

// While a column (row) border is dragged: OnColumnSizing (OnRowSizing)
// with the size the hint shows.
void TGridPress::SizingFeedback()
{
    const gui::TGridState state = G.GridState();
    if (state == gui::TGridState::gsColSizing) {
        const int rc = G.Colclicked >= 0 ? G.Colclicked : G.ColCount() - 1;
        const int rr = G.Colclicked >= 0 ? std::max(G.Rowclicked, 0) : 0;
        const int width = X - G.gui::TCustomGrid::CellRect(rc, rr).Left - G.Clickposdx;
        if (G.OnColumnSizing) G.OnColumnSizing(&G, G.Colclicked, width);
        if (G.HintShowSizing() || G.Designing()) G.FLastSizingHint = "cw=<b>" + std::to_string(width) + "</b>";
    } else if (state == gui::TGridState::gsRowSizing) {
        const int rr = G.Rowclicked >= 0 ? G.Rowclicked : G.RowCount() - 1;
        const int rc = G.Rowclicked >= 0 ? std::max(G.Colclicked, 0) : 0;
        const int height = Y - G.gui::TCustomGrid::CellRect(rc, rr).Top - G.Clickposdy;
        if (G.OnRowSizing) G.OnRowSizing(&G, G.Rowclicked, height);
        if (G.HintShowSizing() || G.Designing()) G.FLastSizingHint = "rh=<b>" + std::to_string(height) + "</b>";
    }
}

// -------------------------------------------------------------- release

void TGridPress::Release(TMouseButton button, gui::TShiftState shift)
{
    G.FMouseSelectMode = TMouseSelectMode::msNormal;
    G.FMouseSelectStart = -1;
    G.FOldKeepLeftCol = -1;
    if (button == TMouseButton::mbLeft && G.OleDragSourceRelease(X, Y)) return;
    if (G.EnhMoveMouseUp(button, X, Y)) {
        G.FMouseDown = false;
        return;
    }
    if (EndFixedSizing() || EndSelectionResize(button, shift)) return;
    if (button == TMouseButton::mbLeft && G.FPushedCellButton.X >= 0 && G.CellButtonRelease(Col, Row, X, Y)) {
        G.FMouseDown = false;
        return;
    }
    const gui::TGridState state = G.GridState();
    G.TBaseGrid::MouseUp(button, shift, X, Y);
    G.FMouseDown = false;
    if (G.FCtrlDown) {
        // An inline button control comes up again.
        G.FCtrlDown = false;
        G.RepaintCell(G.RealToDisplayCol(G.FCtrlXY.X), G.FCtrlXY.Y);
    }
    if (button == TMouseButton::mbLeft) G.FilterButtonRelease(X, Y);
    const bool sizing = state == gui::TGridState::gsColSizing || state == gui::TGridState::gsRowSizing;
    if (sizing && button == TMouseButton::mbLeft) ScaleOtherColumnsAndRows();
    if (G.FPressCell.X < 0 || sizing) return;
    const bool left = button == TMouseButton::mbLeft;
    if (left && OnCell()) G.DisjunctCellRelease(Col, Row, shift);
    if (left && OnCell() && G.OnClickCell) G.OnClickCell(&G, Row, Col);
    if (left && OnCell() && state != gui::TGridState::gsColMoving) ControlMouseUp();
    // A release on the header's sort row sorts by the column.
    if (left && OnCell()) G.HeaderClickSort(X, Y, shift, state == gui::TGridState::gsColMoving);
    if (button == TMouseButton::mbRight && OnCell() && G.OnRightClickCell) G.OnRightClickCell(&G, Row, Col);
    // The selection is compared with the one at the press.
    const gui::TGridRect sel = G.Selection();
    const bool selecting = left || (button == TMouseButton::mbRight && G.MouseActions()->SelectOnRightClick());
    if (selecting && !(sel == G.FPressSelection)) G.SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    G.RememberCellValue(G.Col(), G.Row());
}

bool TGridPress::EndFixedSizing()
{
    if (!G.FSizingFixed && !G.FSizingFixedR) return false;
    if (G.FSizingFixed) {
        G.FSizingFixed = G.FSizeFixed = false;
        G.DrawColSizeLine(G.FSizeFixedX);
        int left = 0;
        for (int i = 0; i < G.FSizeFixedCol; ++i) left += G.ColWidths(i);
        G.SetColWidths(G.FSizeFixedCol, std::max(0, X - left));
        if (G.OnEndColumnSize) G.OnEndColumnSize(&G, G.FSizeFixedCol);
        int width = G.ColWidths(G.FSizeFixedCol);
        G.UpdateColumnSize(G.FSizeFixedCol, width);
        if (width != G.ColWidths(G.FSizeFixedCol)) G.SetColWidths(G.FSizeFixedCol, width);
    } else {
        G.FSizingFixedR = G.FSizeFixedR = false;
        G.DrawRowSizeLine(G.FSizeFixedY);
        int top = 0;
        for (int i = 0; i < G.FSizeFixedRow; ++i) top += G.RowHeights(i);
        G.SetRowHeights(G.FSizeFixedRow, std::max(0, Y - top));
        if (G.OnEndRowSize) G.OnEndRowSize(&G, G.FSizeFixedRow);
    }
    G.FLastSizingHint.clear();
    return true;
}

// The copy made at the press fills the stretched selection of an editing grid.
bool TGridPress::EndSelectionResize(TMouseButton button, gui::TShiftState shift)
{
    if (!G.FMouseResize || button != TMouseButton::mbLeft) return false;
    G.TBaseGrid::MouseUp(button, shift, X, Y);
    G.FMouseResize = false;
    const gui::TGridRect now = G.Selection();
    if (G.OnSelectionResize) G.OnSelectionResize(&G, G.FDropSelection, now);
    if (G.FEditDisable) G.SetOptions(G.Options() + gui::TGridOptions{TGridOption::goEditing});
    if (G.FEditDisable || G.Options().Contains(TGridOption::goEditing)) G.PasteSelectionFromClipboard();
    G.FEditDisable = false;
    if (G.OnSelectionResized) G.OnSelectionResized(&G, G.FDropSelection, now);
    return true;
}

// A normal column (row) sized by the mouse: with AllColumnSize (AllRowSize)
// every other normal column (row) is scaled alike; the sizing is reported.
void TGridPress::ScaleOtherColumnsAndRows()
{
    const TMouseActions* ma = G.MouseActions();
    const int c = G.Colclicked, r = G.Rowclicked;
    const bool colSized = c >= G.TBaseGrid::FixedCols() && c < G.ColCount() && G.ColWidths(c) != G.Colclickedsize;
    const bool rowSized = r >= G.TBaseGrid::FixedRows() && r < G.RowCount() && G.RowHeights(r) != G.Rowclickedsize;
    if (colSized) {
        if (ma->AllColumnSize() && G.Colclickedsize > 0) {
            const double f = static_cast<double>(G.ColWidths(c)) / G.Colclickedsize;
            for (int i = G.TBaseGrid::FixedCols(); i < G.ColCount(); ++i)
                if (i != c) G.SetColWidths(i, static_cast<int>(std::lround(G.ColWidths(i) * f)));
        }
        if (G.OnEndColumnSize) G.OnEndColumnSize(&G, c);
        int width = G.ColWidths(c);
        G.UpdateColumnSize(c, width);
        if (width != G.ColWidths(c)) G.SetColWidths(c, width);
    }
    if (rowSized) {
        if (ma->AllRowSize() && G.Rowclickedsize > 0) {
            const double f = static_cast<double>(G.RowHeights(r)) / G.Rowclickedsize;
            for (int i = G.TBaseGrid::FixedRows(); i < G.RowCount(); ++i)
                if (i != r) G.SetRowHeights(i, static_cast<int>(std::lround(G.RowHeights(i) * f)));
        }
        if (G.OnEndRowSize) G.OnEndRowSize(&G, r);
    }
    G.Colclicked = G.Rowclicked = -1;
}

// A left release on a check box or radio group reports its state.
void TGridPress::ControlMouseUp()
{
    if (Col < G.TBaseGrid::FixedCols() && !G.SortSettings()->FixedCols()) return;
    const int rc = G.RealColIndex(Col);
    if (G.HasCheckBox(rc, Row) && G.OnCheckBoxMouseUp) {
        bool state = false;
        G.GetCheckBoxState(rc, G.DisplayToRealRow(Row), state);
        G.OnCheckBoxMouseUp(&G, rc, Row, state);
    }
    if (G.IsRadio(rc, Row) && G.OnRadioMouseUp) {
        int idx = -1;
        G.GetRadioIdx(rc, Row, idx);
        G.OnRadioMouseUp(&G, rc, Row, idx);
    }
}

// ---------------------------------------------------------------- entry

void TExStringGrid::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    TGridPress(*this, x, y).Press(button, shift);
}

void TExStringGrid::MouseMove(gui::TShiftState shift, int x, int y)
{
    TGridPress(*this, x, y).Move(shift);
}

void TExStringGrid::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    TGridPress(*this, x, y).Release(button, shift);
}

} // namespace grid
