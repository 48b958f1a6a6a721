// ExGrid: mouse and wheel input: clicks and double clicks on cells with
// their events; the wheel by rows; appending a row; and the small hooks
// around them (selection changed, automatic insertion and deletion, cell
// texts for saving, the XOR sizing lines).  Keys: ExGridKeyDown.cpp.
#include <algorithm>
#include <cstdlib>

#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Forms.h"

namespace grid {

using gui::TGridOption;
using gui::TShiftStateItem;


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

TExInplaceEdit* TExStringGrid::NormalEdit() const { return dynamic_cast<TExInplaceEdit*>(InplaceEditor()); }

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
// handler of OnRowChanged hears of every row change, by key, mouse or code,
// once the cell has moved.
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
    FRowChangePending = aRow != Row();
    if (!FRowChangePending) CurrentCellMoved();
}

void TExGridState::SelectionMoved(const gui::TGridRect& oldSel)
{
    TBaseGrid::SelectionMoved(oldSel);
    if (!FRowChangePending) return;
    FRowChangePending = false;
    CurrentCellMoved();
}

void TExStringGrid::CurrentCellMoved()
{
    if (Loading() || FOldRowSel == Row() || !OnRowChanged) return;
    const int old = FOldRowSel;
    FOldRowSel = Row();
    OnRowChanged(this, old, Row());
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
