// ExGrid: the mouse press, move and release, step by step.  A press is
// offered in turn to what may lie under it (the design panel, a fixed
// border the grid sizes itself, the selection-resize handle, the cell
// selector, a fixed cell pressed in as a button, spin and node buttons,
// cell controls, disjunct rows and columns, anchors, check boxes, a drag
// source, the corner and header cells that select all, rows or columns, a
// header's drop-down button) before an ordinary cell press reaches the
// class library.  The move follows the hovered and hot header cells and
// the anchors, decides what the next press selects and extends a header
// drag; the release ends sizing, selection resizing, pressed fixed cells
// and cell buttons, settles disjunct and group selection and fires the
// click events.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/ExGrid.h"
#include "grid/ExGridAnchors.h"
#include "grid/ExGridHints.h"
#include "grid/ExGridSettings.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/Menus.h"
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
    void Leave();
    void ShowCursor();

private:
    TExStringGrid& G;
    const int X, Y;
    int Col = -1, Row = -1;

    bool OnCell() const { return Col >= 0 && Row >= 0; }
    bool InFixedRows() const { return Row >= 0 && Row < G.TBaseGrid::FixedRows(); }
    bool InFixedCols() const { return Col >= 0 && Col < G.TBaseGrid::FixedCols(); }
    bool InFixedRowOrCol(gui::TPoint p) const
    {
        return p.X >= 0 && p.Y >= 0 && (p.X < G.TBaseGrid::FixedCols() || p.Y < G.TBaseGrid::FixedRows());
    }
    int NodeButtonOffset() const { return X - G.gui::TCustomGrid::CellRect(0, Row).Left; }
    bool RangeSelect() const { return G.Options().Contains(TGridOption::goRangeSelect); }

    // press
    void PressSteps(TMouseButton button, gui::TShiftState shift);
    bool DesignPanelPress(TMouseButton button);
    bool FixedSizingStart(TMouseButton button);
    bool ResizeHandlePress(TMouseButton button, gui::TShiftState shift);
    void RangeEditOutsideSelection(TMouseButton button);
    bool ClickRefused(TMouseButton button);
    bool CellSelectorPress(TMouseButton button);
    void PushedFixedCellPress(TMouseButton button);
    void SpinButtonPress(TMouseButton button);
    void HeaderNodeButtonPress(TMouseButton button);
    bool NodeButtonPress(TMouseButton button);
    bool CellButtonPress(TMouseButton button);
    bool DisjunctPress(TMouseButton button, gui::TShiftState shift);
    bool ControlPress(TMouseButton button, gui::TShiftState shift);
    bool HeaderSelectPress(TMouseButton button, gui::TShiftState shift);
    void ReferenceCell(TMouseButton button);
    bool KeepsLeftCol() const;
    void RestoreLeftCol();
    bool DropDownButtonPress();
    bool RangeEditPress(TMouseButton button, gui::TShiftState shift);
    bool EdgeCell() const;
    void InheritedPress(TMouseButton button, gui::TShiftState shift);
    void RepaintMovedHeader(int column = -1);
    void FixedCellEditPress(TMouseButton button, gui::TShiftState shift);
    void RightClickSelect(TMouseButton button, gui::TShiftState shift);
    void RightClickUrlEdit(TMouseButton button);

    // move
    bool FixedSizingMove();
    void MoveSteps(gui::TShiftState shift);
    void RangeEditDrag();
    void DetectFixedBorders();
    void CellScrollBar();
    void CellScrollBarMoved();
    void HoverFixedCells();
    void HotListViewCell();
    void HeaderRangeDrag();
    void MouseSelectMode();
    void AnchorEnterExit();
    void AnchorCursor();
    bool OverAnchor = false;
    void CancelHints();
    void SizingFeedback();
    void ShowSizingHint(const std::string& text, int refCol, int refRow);
    void HideSizingHint();

    // release
    void ReleasePushedFixedCell();
    bool EndFixedSizing();
    void DisjunctRelease(TMouseButton button);
    void GroupRelease(TMouseButton button);
    void RepaintHoveredFixedCell();
    bool EndSelectionResize(TMouseButton button, gui::TShiftState shift);
    void ScaleOtherColumnsAndRows();
    void ControlMouseUp();
};

namespace {

// The selection cursors: an arrow pointing right (rows, 8010), down
// (columns, 8011) and down-right (all cells, 8012), and a cross (the cell
// selector, 8014); black with a white rim, registered once with the screen.
constexpr gui::TCursor crRowSelect = 8010, crColSelect = 8011, crAllSelect = 8012, crCellSelector = 8014;

void RegisterSelectCursors()
{
    if (!gui::Screen || gui::Screen->HasCursor(crRowSelect)) return;
    auto make = [](gui::TCursor id, const std::vector<gui::TPoint>& shape, gui::TPoint hot) {
        gui::TBitmap bmp;
        bmp.SetSize(32, 32);
        gui::TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(gui::clFuchsia);
        c->FillRect({0, 0, 32, 32});
        c->Pen()->SetColor(gui::clWhite);
        c->Brush()->SetColor(gui::clBlack);
        c->Polygon(shape);
        bmp.SetTransparentColor(gui::clFuchsia);
        bmp.SetTransparent(true);
        gui::Screen->SetCursorImage(id, &bmp, hot);
    };
    make(crRowSelect, {{15, 16}, {6, 8}, {6, 13}, {0, 13}, {0, 19}, {6, 19}, {6, 24}}, {15, 16});
    make(crColSelect, {{16, 15}, {8, 6}, {13, 6}, {13, 0}, {19, 0}, {19, 6}, {24, 6}}, {16, 15});
    make(crAllSelect, {{15, 15}, {3, 15}, {7, 11}, {1, 5}, {5, 1}, {11, 7}, {15, 3}}, {15, 15});
    make(crCellSelector, {{14, 4}, {18, 4}, {18, 14}, {28, 14}, {28, 18}, {18, 18}, {18, 28}, {14, 28},
                          {14, 18}, {4, 18}, {4, 14}, {14, 14}},
         {16, 16});
}

} // namespace

// ------------------------------------------------------------- settings

void TExGridState::SetFixedDropDownMenu(gui::TPopupMenu* menu)
{
    if (FFixedDropDownMenu == menu) return;
    if (FFixedDropDownMenu) FFixedDropDownMenu->RemoveFreeNotification(this);
    FFixedDropDownMenu = menu;
    if (menu) menu->FreeNotification(this);
}

// ---------------------------------------------------------------- press

void TGridPress::Press(TMouseButton button, gui::TShiftState shift)
{
    G.SetSpinClickStart(false, false);
    PressSteps(button, shift);
    // A spin step no editor of this press took is not kept for a later one.
    G.SetSpinClickStart(false, false);
}

void TGridPress::PressSteps(TMouseButton button, gui::TShiftState shift)
{
    if (DesignPanelPress(button)) return;
    G.ClosePopupLink();
    if (!shift.Contains(TShiftStateItem::ssDouble)) G.FDblClk = false;
    G.FPressSelection = G.Selection();
    G.FPressCell = {Col, Row};
    G.FPressPoint = {X, Y};
    if (button == TMouseButton::mbLeft) {
        G.FMouseDownMove = true;
        RepaintHoveredFixedCell();
    }
    if (FixedSizingStart(button) || ResizeHandlePress(button, shift)) return;
    RangeEditOutsideSelection(button);
    if (ClickRefused(button) || CellSelectorPress(button)) return;
    if (button == TMouseButton::mbLeft) G.DisjunctCellPress(shift);
    PushedFixedCellPress(button);
    SpinButtonPress(button);
    HeaderNodeButtonPress(button);
    if (NodeButtonPress(button)) return;
    G.FSelectionClick = false;
    if (CellButtonPress(button) || DisjunctPress(button, shift) || ControlPress(button, shift)) return;
    // A header selection still lets the header's drop-down button open.
    const bool headerSelected = HeaderSelectPress(button, shift);
    if (!headerSelected) {
        G.FMouseDown = button == TMouseButton::mbLeft;
        // An editor opened by this press puts its caret under the mouse.
        if (button == TMouseButton::mbLeft && OnCell() && G.MouseActions()->CaretPositioning()) G.LButFlg = true;
    }
    ReferenceCell(button);
    if (DropDownButtonPress() || headerSelected || RangeEditPress(button, shift)) return;
    InheritedPress(button, shift);
    RepaintMovedHeader();
    FixedCellEditPress(button, shift);
    RightClickSelect(button, shift);
    RightClickUrlEdit(button);
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

// RangeSelectAndEdit: a press outside the selection (its last row and
// column, and a single cell, count as outside) selects rather than edits.
void TGridPress::RangeEditOutsideSelection(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !G.MouseActions()->RangeSelectAndEdit()) return;
    if (!G.Options().Contains(TGridOption::goEditing)) return;
    const gui::TGridRect s0 = G.FPressSelection;
    if (Col >= s0.Left && Col < s0.Right && Row >= s0.Top && Row < s0.Bottom) return;
    G.SetOptions(G.Options() - gui::TGridOptions{TGridOption::goEditing});
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

// In cell-selector mode a press only reports the cell.
bool TGridPress::CellSelectorPress(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !G.CellSelectorMode()) return false;
    G.CellSelectorClick(Col, Row);
    G.FPressCell = {-1, -1};
    return true;
}

// FixedAsButtons: a fixed cell (or one reported fixed) is pressed in until
// the release, which clicks it as a cell button.  Node buttons are left
// to the node.
void TGridPress::PushedFixedCellPress(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !OnCell() || !G.FixedAsButtons() || !G.Ctl3D() || G.Flat()) return;
    if (!(InFixedRows() || InFixedCols() || G.IsFixed(Col, Row))) return;
    const gui::TGridOptions o = G.Options();
    if (!o.Contains(TGridOption::goFixedVertLine) || !o.Contains(TGridOption::goFixedHorzLine)) return;
    if (Col == 0 && G.IsNode(Row) && G.IsInNodeButton(Row, NodeButtonOffset())) return;
    G.FPushedFixed = {Col, Row};
    G.FFixedCellPushed = true;
    G.FPushedCellButton = {Col, Row};
    G.RepaintCell(Col, Row);
}

// An always-visible spin button: the editor this press opens steps up
// (upper half) or down (lower half) at once.
void TGridPress::SpinButtonPress(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !OnCell() || G.Designing()) return;
    if (!G.ControlLook()->SpinButtonsAlwaysVisible() || !G.HasSpinEdit(G.RealColIndex(Col), Row)) return;
    const gui::TRect r = G.gui::TCustomGrid::CellRect(Col, Row);
    if (X < r.Right - 18) return;
    const bool down = Y > r.Top + (r.Bottom - r.Top) / 2;
    G.SetSpinClickStart(!down, down);
}

// NodeAllExpandContract: the node button of a header cell expands or
// contracts every node and flips its own state.
void TGridPress::HeaderNodeButtonPress(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || Col != 0 || !InFixedRows() || G.Designing()) return;
    if (!G.MouseActions()->NodeAllExpandContract() || !G.IsNode(Row) || !G.IsInNodeButton(Row, NodeButtonOffset()))
        return;
    const bool contracted = G.GetNodeState(Row);
    if (contracted) G.ExpandAll();
    else G.ContractAll();
    if (TCellGraphic* node = G.NodeGraphic(Row)) node->SetCellBoolean(!contracted);
    G.RepaintCell(0, Row);
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

// Radio groups and buttons in cells.
bool TGridPress::CellButtonPress(TMouseButton button)
{
    return button == TMouseButton::mbLeft && OnCell() && G.CellControlPress(Col, Row, X, Y);
}

// Disjunct rows and columns: a plain press starts the flags anew (the
// release flags what the press selected), Ctrl keeps them and unflags a
// flagged row (column) at the release, Alt keeps the row flags; Shift
// selects from the selection's top-left corner.
bool TGridPress::DisjunctPress(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbLeft || !OnCell()) return false;
    const TMouseActions* ma = G.MouseActions();
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    if (ma->DisjunctRowSelect() && !InFixedRows() && !(Col == 0 && ma->HotmailRowSelect())) {
        if (shift.Contains(TShiftStateItem::ssShift)) {
            G.TBaseGrid::MouseDown(button, shift, X, Y);
            const gui::TGridRect s0 = G.FPressSelection;
            G.SetSelection({std::min(s0.Left, Col), std::min(s0.Top, Row), std::max(s0.Left, Col),
                            std::max(s0.Top, Row)});
            return true;
        }
        const int row = ma->RowSelectPersistent() ? G.DisplayToRealRow(Row) : Row;
        if (ctrl) {
            if (G.GetRowSelect(row)) G.FDeselectState = true;
        } else {
            G.FMouseDown = true;
            if (!shift.Contains(TShiftStateItem::ssAlt)) G.ClearRowSelect();
        }
    }
    if (ma->DisjunctColSelect() && !InFixedCols()) {
        if (!ctrl) {
            G.FMouseDown = true;
            G.ClearColSelect();
        } else if (G.GetColSelect(Col)) {
            G.FDeselectState = true;
        }
    }
    return false;
}

// Anchors and inline form controls of HTML cells, check boxes and radio
// buttons, and the drag source.
bool TGridPress::ControlPress(TMouseButton button, gui::TShiftState shift)
{
    if (button != TMouseButton::mbLeft) return false;
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

// ControlLook.FixedDropDownButton: the right 16 pixels of a hover-sensitive
// fixed cell open FixedDropDownMenu (or the one OnFixedDropDownClick
// gives) below the cell, the cell shown hovered meanwhile.  Without menu
// and event the press goes on.
bool TGridPress::DropDownButtonPress()
{
    if (!OnCell() || !G.ControlLook()->FixedDropDownButton() || !G.IsHoverFixedCell(Col, Row)) return false;
    const gui::TRect r = G.gui::TCustomGrid::CellRect(Col, Row);
    if (X < r.Right - 16) return false;
    G.FDropDownDown = true;
    if (!G.FixedDropDownMenu() && !G.OnFixedDropDownClick) return false;
    G.FNoMouseLeave = true;
    gui::TPopupMenu* menu = G.FixedDropDownMenu();
    if (menu) menu->SetTag(Col);
    bool keepHighlighted = false;
    if (G.OnFixedDropDownClick) G.OnFixedDropDownClick(&G, Col, Row, menu, keepHighlighted);
    if (menu) {
        const gui::TPoint at = G.ClientToScreen({r.Right - 16, r.Bottom});
        G.FMouseDownMove = false;
        G.FHoverFixed = {Col, Row};
        G.RepaintCell(Col, Row);
        menu->Popup(at.X, at.Y);
        G.RepaintCell(Col, Row);
    }
    G.FNoMouseLeave = keepHighlighted;
    return true;
}

// RangeSelectAndEdit: a press on the current cell edits it; Shift+press
// on another cell extends the range without editing.
bool TGridPress::RangeEditPress(TMouseButton button, gui::TShiftState shift)
{
    const TMouseActions* ma = G.MouseActions();
    if (button != TMouseButton::mbLeft || !OnCell() || !ma->RangeSelectAndEdit() || ma->EditOnDblClickOnly())
        return false;
    const bool current = Col == G.Col() && Row == G.Row();
    const bool editing = G.Options().Contains(TGridOption::goEditing);
    if (current && !editing && G.IsEditable(G.RealColIndex(Col), Row)) {
        G.SetOptions(G.Options() + gui::TGridOptions{TGridOption::goEditing});
        G.TBaseGrid::MouseDown(button, shift, X, Y);
        G.ShowInplaceEdit();
        return true;
    }
    if (current || !editing || !shift.Contains(TShiftStateItem::ssShift)) return false;
    G.SetOptions(G.Options() - gui::TGridOptions{TGridOption::goEditing});
    G.TBaseGrid::MouseDown(button, shift, X, Y);
    return true;
}

// A partly shown row or column at the view's edge (or the first column of
// a view scrolled right).
bool TGridPress::EdgeCell() const
{
    return Row == G.TopRow() + G.VisibleRowCount() || Col == G.LeftCol() + G.VisibleColCount() ||
           (Col == G.LeftCol() && G.LeftCol() > G.TBaseGrid::FixedCols());
}

// The class library's press; in row-select mode with KeepHorizScroll the
// view keeps its left column.  NoAutoRangeScroll: a press on an edge cell
// starts no range selection that would scroll; NoScrollOnPartialRow: the
// view does not scroll to a partly shown row, and the press ends.
void TGridPress::InheritedPress(TMouseButton button, gui::TShiftState shift)
{
    const int topRow = G.TopRow();
    const bool edge = OnCell() && EdgeCell();
    G.FOldKeepLeftCol = G.LeftCol();
    G.TBaseGrid::MouseDown(button, shift, X, Y);
    if (KeepsLeftCol()) RestoreLeftCol();
    if (button != TMouseButton::mbLeft || !OnCell()) return;
    if (edge && G.MouseActions()->NoAutoRangeScroll() && G.GridState() == gui::TGridState::gsSelecting)
        G.FGridState = gui::TGridState::gsNormal;
    if (G.TopRow() != topRow && G.MouseActions()->NoScrollOnPartialRow()) {
        G.SetTopRow(topRow);
        G.TBaseGrid::MouseUp(button, shift, X, Y);
    }
}

// The header of a column being moved is drawn hot (pressed) until the
// release; its fixed cells are repainted as the move starts and ends.
void TGridPress::RepaintMovedHeader(int column)
{
    if (column < 0) column = G.MovingColumn();
    if (column < 0 || G.HoverFixedCells() == THoverFixedCells::hfNone) return;
    for (int r = 0; r < G.TBaseGrid::FixedRows(); ++r) G.RepaintCell(column, r);
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

// URLEdit: a right click on a cell that holds a web or mail address makes
// it current and opens the editor on it.
void TGridPress::RightClickUrlEdit(TMouseButton button)
{
    if (button != TMouseButton::mbRight || !OnCell() || !G.URLShow() || !G.URLEdit()) return;
    if (InFixedRows() || InFixedCols() || !gridbase::IsUrlOrMail(G.GetCellText(G.RealColIndex(Col), Row))) return;
    G.MoveColRow(Col, Row, true, true);
    G.ShowEditor();
}

// ----------------------------------------------------------------- move

void TGridPress::Move(gui::TShiftState shift)
{
    if (FixedSizingMove()) return;
    const gui::TGridRect before = G.Selection();
    MoveSteps(shift);
    const gui::TGridRect after = G.Selection();
    if (!(after == before)) G.SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

void TGridPress::MoveSteps(gui::TShiftState shift)
{
    RangeEditDrag();
    DetectFixedBorders();
    if (G.OleDragStartMove(X, Y)) return;
    if (G.EnhMoveMouseMove(X, Y)) return;
    CellScrollBar();
    HoverFixedCells();
    HotListViewCell();
    HeaderRangeDrag();
    MouseSelectMode();
    AnchorEnterExit();
    CancelHints();
    G.TBaseGrid::MouseMove(shift, X, Y);
    AnchorCursor();
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
        ShowSizingHint("cw=<b>" + std::to_string(G.FSizeFixedX) + "</b>", 0, 0);
        return true;
    }
    if (!G.FSizingFixedR) return false;
    G.DrawRowSizeLine(G.FSizeFixedY);
    G.FSizeFixedY = Y;
    G.DrawRowSizeLine(Y);
    if (G.OnRowSizing) G.OnRowSizing(&G, 0, G.FSizeFixedY);
    ShowSizingHint("rh=<b>" + std::to_string(G.FSizeFixedY) + "</b>", 0, 0);
    return true;
}

// RangeSelectAndEdit: a press that moves on with no editor open selects.
void TGridPress::RangeEditDrag()
{
    if (!G.FMouseDownMove || !G.MouseActions()->RangeSelectAndEdit() || G.EditorMode()) return;
    if (G.Options().Contains(TGridOption::goEditing))
        G.SetOptions(G.Options() - gui::TGridOptions{TGridOption::goEditing});
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

// HoverFixedCells: the hovered cell follows the pointer; the header cells
// it leaves and enters are repainted.
void TGridPress::HoverFixedCells()
{
    if (G.HoverFixedCells() == THoverFixedCells::hfNone || G.FNoMouseLeave) return;
    const gui::TPoint now{Col, Row}, old = G.FHoverFixed;
    if (now == old) return;
    G.FHoverFixed = now;
    auto repaint = [this](gui::TPoint p) {
        if (p.X >= 0 && p.Y >= 0 && (p.Y <= G.TBaseGrid::FixedRows() || p.X <= G.TBaseGrid::FixedCols()))
            G.RepaintCell(p.X, p.Y);
    };
    repaint(old);
    repaint(now);
}

// The list-view look draws the header cell under the pointer hot.
void TGridPress::HotListViewCell()
{
    if (G.Look() != TGridLook::glListView) return;
    const gui::TPoint now{Col, Row}, old = G.FHotFixedCell;
    if (now == old) return;
    if (InFixedRowOrCol(old)) G.RepaintCell(old.X, old.Y);
    G.FHotFixedCell = now;
    if (InFixedRowOrCol(now)) G.RepaintCell(now.X, now.Y);
}

// A press on a row (column) header that goes on over the headers selects
// the rows (columns) between; rows scroll at the view's edges.
void TGridPress::HeaderRangeDrag()
{
    if (G.FMouseSelectStart < 0 || !OnCell()) return;
    const int fixedCols = G.TBaseGrid::FixedCols(), fixedRows = G.TBaseGrid::FixedRows();
    const int start = G.FMouseSelectStart;
    if (G.FMouseSelectMode == TMouseSelectMode::msRow && G.MouseActions()->RowSelect() &&
        Row < G.RowCount() - G.FFixedFooters) {
        // At the bottom edge the rows scroll up; over the header of a
        // scrolled view they scroll back, the first shown row counting.
        if (Y > G.ClientHeight() - 4 && G.TopRow() + G.VisibleRowCount() < G.RowCount()) G.SetTopRow(G.TopRow() + 1);
        else if (Row < fixedRows && G.TopRow() > fixedRows) G.SetTopRow(G.TopRow() - 1);
        const int to = Row < fixedRows ? G.TopRow() : Row;
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

// A markup anchor entered fires OnAnchorEnter, leaving the anchors
// OnAnchorExit with the one left.
void TGridPress::AnchorEnterExit()
{
    TCellAnchor at;
    if (OnCell() && !G.Designing()) at = AnchorAtPoint(G, G.RealColIndex(Col), Row, X, Y);
    OverAnchor = !at.Anchor.empty();
    if (at.Markup && !at.Anchor.empty()) {
        if (at.Anchor == G.FHoverAnchor) return;
        G.FHoverAnchor = at.Anchor;
        if (G.OnAnchorEnter) G.OnAnchorEnter(&G, Row, Col, at.Anchor);
    } else if (!G.FHoverAnchor.empty()) {
        const std::string left = G.FHoverAnchor;
        G.FHoverAnchor.clear();
        if (G.OnAnchorExit) G.OnAnchorExit(&G, Row, Col, left);
    }
}

// Over an anchor the link cursor shows; off it the grid's own cursor.
void TGridPress::AnchorCursor()
{
    if (OverAnchor) G.TBaseGrid::SetCursor(gui::crHandPoint);
    else if (G.Cursor() == gui::crHandPoint && G.FOldCursor != gui::crHandPoint) G.TBaseGrid::SetCursor(G.FOldCursor);
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
        ShowSizingHint("cw=<b>" + std::to_string(width) + "</b>", rc, rr);
    } else if (state == gui::TGridState::gsRowSizing) {
        const int rr = G.Rowclicked >= 0 ? G.Rowclicked : G.RowCount() - 1;
        const int rc = G.Rowclicked >= 0 ? std::max(G.Colclicked, 0) : 0;
        const int height = Y - G.gui::TCustomGrid::CellRect(rc, rr).Top - G.Clickposdy;
        if (G.OnRowSizing) G.OnRowSizing(&G, G.Rowclicked, height);
        ShowSizingHint("rh=<b>" + std::to_string(height) + "</b>", rc, rr);
    }
}

// HintShowSizing (or designing): the size in a hint window in HintColor
// whose top-left corner is the reference cell's.
void TGridPress::ShowSizingHint(const std::string& text, int refCol, int refRow)
{
    if (!G.HintShowSizing() && !G.Designing()) return;
    G.FLastSizingHint = text;
    if (!G.FSizingHintWnd) {
        G.FSizingHintWnd = new THTMLHintWindow(&G);
        G.FSizingHintWnd->SetVisible(false);
        // A pop-up window of the grid, floating over the form.
        G.FSizingHintWnd->SetParent(&G);
    }
    THTMLHintWindow* w = G.FSizingHintWnd;
    w->SetColor(G.HintColor());
    SetHTMLHintFontName(G.Font()->Name());
    const gui::TRect size = w->CalcHintRect(200, text, nullptr);
    const gui::TRect cell = G.gui::TCustomGrid::CellRect(refCol, refRow);
    const gui::TPoint at = G.ClientToScreen({cell.Left, cell.Top});
    w->ActivateHint({at.X, at.Y, at.X + size.Width(), at.Y + size.Height()}, text);
}

// The release closes the sizing hint.
void TGridPress::HideSizingHint()
{
    G.FLastSizingHint.clear();
    if (G.FSizingHintWnd && G.FSizingHintWnd->Visible()) G.FSizingHintWnd->Hide();
}

// -------------------------------------------------------------- release

void TGridPress::Release(TMouseButton button, gui::TShiftState shift)
{
    G.FMouseSelectMode = TMouseSelectMode::msNormal;
    G.FMouseSelectStart = -1;
    G.FOldKeepLeftCol = -1;
    G.FDropDownDown = false;
    if (button == TMouseButton::mbLeft) {
        G.FMouseDownMove = false;
        RepaintHoveredFixedCell();
        if (G.Look() == TGridLook::glListView) G.Invalidate();
    }
    ReleasePushedFixedCell();
    if (button == TMouseButton::mbLeft) HideSizingHint();
    const int movedColumn = G.MovingColumn();
    if (button == TMouseButton::mbLeft && G.OleDragSourceRelease(X, Y)) return;
    if (G.EnhMoveMouseUp(button, X, Y)) {
        G.FMouseDown = false;
        RepaintMovedHeader(movedColumn);
        return;
    }
    if (EndFixedSizing() || EndSelectionResize(button, shift)) return;
    if (button == TMouseButton::mbLeft && G.FPushedCellButton.X >= 0 && G.CellButtonRelease(Col, Row, X, Y)) {
        G.FMouseDown = false;
        return;
    }
    const gui::TGridState state = G.GridState();
    DisjunctRelease(button);
    GroupRelease(button);
    G.TBaseGrid::MouseUp(button, shift, X, Y);
    RepaintMovedHeader(movedColumn);
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

// A fixed cell pressed in comes up again.
void TGridPress::ReleasePushedFixedCell()
{
    if (!G.FFixedCellPushed) return;
    G.FFixedCellPushed = false;
    G.RepaintCell(G.FPushedFixed.X, G.FPushedFixed.Y);
}

// Disjunct rows (columns): the rows (columns) the press selected are
// flagged; a Ctrl press on a flagged one unflags it.
void TGridPress::DisjunctRelease(TMouseButton button)
{
    if (button != TMouseButton::mbLeft) return;
    const TMouseActions* ma = G.MouseActions();
    const int fixedRows = G.TBaseGrid::FixedRows(), fixedCols = G.TBaseGrid::FixedCols();
    if (ma->DisjunctRowSelect() && !(Col == 0 && G.IsNode(Row)) && std::abs(Row < 0 ? 1 : Row) >= fixedRows) {
        if (!(Col == 0 && ma->HotmailRowSelect())) G.MarkSelectedRows(false);
        if (G.FDeselectState && Row >= fixedRows && Row < G.RowCount() - G.FFixedFooters)
            G.SetRowSelect(ma->RowSelectPersistent() ? G.DisplayToRealRow(Row) : Row, false);
        G.FDeselectState = false;
    }
    if (ma->DisjunctColSelect()) {
        G.MarkSelectedCols(false);
        if (G.FDeselectState && Col >= fixedCols && Col < G.ColCount() - G.FFixedRightCols) G.SetColSelect(Col, false);
        G.FDeselectState = false;
    }
}

// Grouping.AutoSelectGroup: a release on an expanded node row (not on its
// button column) selects the rows of the node.
void TGridPress::GroupRelease(TMouseButton button)
{
    if (button != TMouseButton::mbLeft || !OnCell() || Col == 0 || !G.Grouping()->AutoSelectGroup()) return;
    if (!G.IsNode(Row) || G.GetNodeState(Row)) return;
    const int last = std::min(G.RowCount() - 1, Row + G.GetNodeSpan(Row) - 1);
    if (!G.MouseActions()->DisjunctRowSelect()) {
        G.SetSelection({G.TBaseGrid::FixedCols(), Row, G.ColCount() - 1, last});
        return;
    }
    for (int r = Row + 1; r <= last; ++r) G.SetRowSelect(G.DisplayToRealRow(r), true);
}

// The hovered header cell shows whether the button is down.
void TGridPress::RepaintHoveredFixedCell()
{
    const gui::TPoint h = G.FHoverFixed;
    if (h.X >= 0 && h.Y >= 0 && G.IsHoverFixedCell(h.X, h.Y)) G.RepaintCell(h.X, h.Y);
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

// --------------------------------------------------------------- cursor

// The cursor for the pointer's place: a selection cursor for the mode the
// next press selects in (none while a row or column is sized; an anchor
// keeps the link cursor), the cross of the cell selector, else the grid's
// own; over a fixed border the grid sizes itself, the splitter.
void TGridPress::ShowCursor()
{
    const gui::TGridState state = G.GridState();
    const bool sizing = state == gui::TGridState::gsColSizing || state == gui::TGridState::gsRowSizing;
    // Left alone, the class library's cursor stays (its sizing splitters).
    const gui::TCursor shown = gui::ShownWindowCursor(&G);
    gui::TCursor cursor = G.FGridShownCursor != gui::crDefault && shown == G.FGridShownCursor ? G.Cursor() : shown;
    const TMouseSelectMode mode = G.FMouseSelectMode;
    if (mode != TMouseSelectMode::msNormal && !sizing) {
        if (mode == TMouseSelectMode::msColumn) cursor = crColSelect;
        else if (mode == TMouseSelectMode::msRow) cursor = crRowSelect;
        else if (mode == TMouseSelectMode::msAll || mode == TMouseSelectMode::msResize) cursor = crAllSelect;
    } else if (G.CellSelectorMode()) {
        cursor = crCellSelector;
    }
    if (G.FSizeFixed || G.FSizingFixed) cursor = gui::crHSplit;
    else if (G.FSizeFixedR || G.FSizingFixedR) cursor = gui::crVSplit;
    if (cursor != G.Cursor()) RegisterSelectCursors();
    G.FGridShownCursor = cursor != shown || G.FGridShownCursor == cursor ? cursor : gui::crDefault;
    if (cursor == G.Cursor()) G.FGridShownCursor = gui::crDefault;
    gui::ShowWindowCursor(&G, cursor);
}

// ---------------------------------------------------------------- leave

// The pointer left the grid: no select mode, no sizing border, no hovered
// or hot header cell.
void TGridPress::Leave()
{
    G.FMouseSelectMode = TMouseSelectMode::msNormal;
    G.FSizeFixed = G.FSizeFixedR = false;
    const gui::TPoint hover = G.FHoverFixed, hot = G.FHotFixedCell;
    if (!G.FNoMouseLeave && G.HoverFixedCells() != THoverFixedCells::hfNone && (hover.X != -1 || hover.Y != -1)) {
        G.FHoverFixed = {-1, -1};
        if (hover.X >= 0 && hover.Y >= 0) G.RepaintCell(hover.X, hover.Y);
    }
    if (G.Look() == TGridLook::glListView && InFixedRowOrCol(hot)) {
        G.FHotFixedCell = {-1, -1};
        G.RepaintCell(hot.X, hot.Y);
    }
}

// ---------------------------------------------------------------- entry

// The window system asks for the cursor as the pointer moves or a button
// goes down or up over the grid; it is answered after each of them.
void TExStringGrid::MouseLeft()
{
    TGridPress p(*this, -1, -1);
    p.Leave();
    p.ShowCursor();
}

void TExStringGrid::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    TGridPress p(*this, x, y);
    p.Press(button, shift);
    if (!IsDestroying()) p.ShowCursor();
}

void TExStringGrid::MouseMove(gui::TShiftState shift, int x, int y)
{
    TGridPress p(*this, x, y);
    p.Move(shift);
    p.ShowCursor();
}

void TExStringGrid::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    TGridPress p(*this, x, y);
    p.Release(button, shift);
    if (!IsDestroying()) p.ShowCursor();
}

} // namespace grid
