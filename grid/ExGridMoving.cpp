// TExStringGrid: column and row moving.  ColumnMoved and RowMoved keep the
// grid's own per-column and per-row state in step with every move (hidden
// flags and widths by real index, hidden rows' cells, sort columns, the
// recorded column order); the enhanced drag shows the moved header as a
// floating button, arrows at the drop position and a drag or no-drop
// cursor, scrolls at the edges and moves on release.
//
// The platform grid moves the cell data, the displayed widths or heights
// and the current cell before it calls ColumnMoved / RowMoved, so those are
// not moved again here.
#include <algorithm>

#include "grid/ExGrid.h"
#include "gridbase/ExObj.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindows.h"

namespace grid {

using gridbase::TArrowDirection;
using gui::TGridState;

namespace {
// The picture of some cells, floating above the windows.
class TCellPicture : public gui::TCustomControl {
public:
    TCellPicture(gui::TWinControl* owner, std::unique_ptr<gui::TBitmap> picture)
        : gui::TCustomControl(owner), FPicture(std::move(picture))
    {
        SetVisible(false);
        SetParent(owner);
        gui::SetPopupWindow(this, gui::TPopupWindowOptions{true, true});
        SetWidth(FPicture->Width());
        SetHeight(FPicture->Height());
    }

protected:
    void Paint() override { Canvas()->Draw(0, 0, FPicture.get()); }

private:
    std::unique_ptr<gui::TBitmap> FPicture;
};

// Where index x lands when the item at from moves to to.
int MovedIndex(int x, int from, int to)
{
    if (x == from) return to;
    if (from < to && x > from && x <= to) return x - 1;
    if (to < from && x >= to && x < from) return x + 1;
    return x;
}

template <typename T>
void MoveEntry(T* a, int count, int from, int to)
{
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) return;
    const T v = a[from];
    if (from < to) std::copy(a + from + 1, a + to + 1, a + from);
    else std::copy_backward(a + to, a + from, a + from + 1);
    a[to] = v;
}
} // namespace

gridbase::TArrowWindow* TExStringGrid::MoveArrow(TArrowDirection direction)
{
    const int i = static_cast<int>(direction);
    if (!FArrows[i]) FArrows[i] = new gridbase::TArrowWindow(this, direction);
    // The arrows are drawn in ArrowColor.
    if (FArrows[i]->Color() != ArrowColor()) FArrows[i]->SetColor(ArrowColor());
    return FArrows[i];
}

gridbase::TPopupButton* TExStringGrid::MoveButton()
{
    if (!FMoveButton) {
        FMoveButton = new gridbase::TPopupButton(this);
        FMoveButton->SetVisible(false);
        FMoveButton->SetParent(this);
    }
    return FMoveButton;
}

gui::TWinControl* TExStringGrid::SelectionToForm(const gui::TGridRect& rect)
{
    gui::TBitmap whole;
    whole.SetSize(Width(), Height());
    PaintTo(whole.Canvas(), 0, 0);
    gui::TRect a = gui::TCustomGrid::CellRect(rect.Left, rect.Top);
    gui::TRect b = gui::TCustomGrid::CellRect(rect.Right, rect.Bottom);
    if (b.Left < a.Left) std::swap(a, b);
    const int left = a.Left, top = a.Top, right = b.Right, bottom = b.Bottom;
    auto pic = std::make_unique<gui::TBitmap>();
    pic->SetSize(std::max(1, right - left + 1), std::max(1, bottom - top + 1));
    pic->Canvas()->CopyRect({0, 0, pic->Width(), pic->Height()}, whole.Canvas(),
                            {left + 1, top + 1, right + 2, bottom + 2});
    gui::TCanvas* c = pic->Canvas();
    c->Pen()->SetColor(GridFixedLineColor());
    if (rect.Left == 0 && TBaseGrid::FixedCols() > 0 && Options().Contains(gui::TGridOption::goFixedVertLine)) {
        c->MoveTo(0, 0);
        c->LineTo(0, pic->Height());
    }
    if (rect.Top == 0 && TBaseGrid::FixedRows() > 0 && Options().Contains(gui::TGridOption::goFixedHorzLine)) {
        c->MoveTo(0, 0);
        c->LineTo(pic->Width(), 0);
    }
    return new TCellPicture(this, std::move(pic));
}

void TExStringGrid::FreeMoveForm()
{
    delete FMoveForm;
    FMoveForm = nullptr;
}

void TExStringGrid::HideMoveArrows()
{
    for (gridbase::TArrowWindow* a : FArrows)
        if (a) a->Hide();
}

void TExStringGrid::ColumnMovedData(int fromIndex, int toIndex)
{
    // With hidden columns the cells move by real index.
    if (FNumHidden > 0) TBaseGrid::ColumnMovedData(RealColIndex(fromIndex), RealColIndex(toIndex));
    else TBaseGrid::ColumnMovedData(fromIndex, toIndex);
}

void TExStringGrid::ColumnMoved(int fromIndex, int toIndex)
{
    const int realFrom = RealColIndex(fromIndex), realTo = RealColIndex(toIndex);
    const int order = static_cast<int>(FColumnOrder.size());
    if (realFrom < order && realTo < order) {
        const int entry = FColumnOrder[static_cast<std::size_t>(realFrom)];
        FColumnOrder.erase(FColumnOrder.begin() + realFrom);
        FColumnOrder.insert(FColumnOrder.begin() + realTo, entry);
    }
    // Hidden flags and stored widths follow the real columns, so that the
    // hidden columns stay the same columns.
    if (FNumHidden > 0) {
        const int n = std::min(ColCount() + FNumHidden, 512);
        MoveEntry(FVisibleCol, n, realFrom, realTo);
        MoveEntry(FAllColWidths, n, realFrom, realTo);
    }
    if (EnhRowColMove()) FColMoveFlg = true;
    TBaseGrid::ColumnMoved(fromIndex, toIndex);
    for (int i = 0; i < NumHiddenRows(); ++i)
        if (rtl::TStringList* items = FGridItems->Items(i)->Items()) {
            const int n = items->Count();
            if (realFrom < n && realTo < n) items->Move(realFrom, realTo);
        }
    if (FSortSettings->Column() >= 0) FSortSettings->SetColumn(MovedIndex(FSortSettings->Column(), realFrom, realTo));
    if (FSortSettings->IndexShow())
        for (int i = 0; i < FSortIndexes->Count(); ++i) {
            const uint32_t v = static_cast<uint32_t>(FSortIndexes->Items(i));
            const int col = MovedIndex(static_cast<int>(v & 0xFFFFu), realFrom, realTo);
            FSortIndexes->SetItem(i, static_cast<int32_t>((v & 0xFFFF0000u) | (static_cast<uint32_t>(col) & 0xFFFFu)));
        }
    if (FFloatingFooter->Visible()) InvalidateFooterPanel();
}

void TExStringGrid::RowMoved(int fromIndex, int toIndex)
{
    if (EnhRowColMove()) FColMoveFlg = true;
    TBaseGrid::RowMoved(fromIndex, toIndex);
}

// ------------------------------------------------------------------ the drag

bool TExStringGrid::EnhMoveMouseDown(int x, int y)
{
    const TGridState st = GridState();
    if (!EnhRowColMove() || (st != TGridState::gsColMoving && st != TGridState::gsRowMoving)) return false;
    Movecell = FMoveIndex;
    const gui::TRect r = st == TGridState::gsColMoving ? gui::TCustomGrid::CellRect(Movecell, 0)
                                                       : gui::TCustomGrid::CellRect(0, Movecell);
    MoveOfsX = x - r.Left;
    MoveOfsY = y - r.Top;
    FMovePress = {x, y};
    FMoveColInd = FMoveRowInd = 0;
    FColMoveFlg = false;
    return true;
}

bool TExStringGrid::EnhMoveMouseMove(int x, int y)
{
    const TGridState st = GridState();
    if (!EnhRowColMove() || Designing() || (st != TGridState::gsColMoving && st != TGridState::gsRowMoving))
        return false;
    const bool cols = st == TGridState::gsColMoving;
    bool allow = true;
    if (cols && OnColumnMove) OnColumnMove(this, Movecell, allow);
    if (!cols && OnRowMove) OnRowMove(this, Movecell, allow);
    if (!allow) {
        FGridState = TGridState::gsNormal;
        return true;
    }
    if (gui::TPoint{x, y} == FMovePress) return true;
    allow = true;
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    gridbase::TPopupButton* button = MoveButton();
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
    if (cols && Movecell >= fixedCols) {
        std::string header;
        GetAllCells(RealColIndex(Movecell), 0, header);
        button->SetCaption(header);
        button->SetWidth(ColWidths(Movecell));
        button->SetHeight(r >= 0 ? RowHeights(r) : RowHeights(0));
    } else if (!cols && Movecell >= fixedRows) {
        button->SetCaption(GetCellText(RealColIndex(0), Movecell));
        button->SetHeight(RowHeights(Movecell));
        button->SetWidth(c >= 0 ? ColWidths(c) : ColWidths(0));
    }
    const bool showCells = FDragDropSettings->ShowCells();
    if (showCells && !FMoveForm) {
        FMoveForm = cols ? SelectionToForm({Movecell, 0, Movecell, std::min(RowCount() - 1, TopRow() + VisibleRowCount() - FixedRows())})
                         : SelectionToForm({0, Movecell, std::min(ColCount() - 1, LeftCol() + VisibleColCount() - FixedCols()), Movecell});
        FMoveForm->Show();
    }
    const gui::TPoint at = ClientToScreen({x - MoveOfsX, y - MoveOfsY});
    if (showCells) FMoveForm->SetBounds(at.X, at.Y, FMoveForm->Width(), FMoveForm->Height());
    else button->SetBounds(at.X, at.Y, button->Width(), button->Height());

    if (cols) {
        gridbase::TArrowWindow* down = MoveArrow(TArrowDirection::arrDown);
        gridbase::TArrowWindow* up = MoveArrow(TArrowDirection::arrUp);
        const bool shown = FMoveColInd >= fixedCols && FMoveColInd >= LeftCol() &&
                           FMoveColInd < LeftCol() + VisibleColCount();
        if (shown) {
            const gui::TRect cr = gui::TCustomGrid::CellRect(FMoveColInd, 0);
            const int edge = FMoveColInd < Movecell ? cr.Left : cr.Right;
            const gui::TPoint top = ClientToScreen({edge - 5, cr.Top - 8});
            const gui::TPoint bottom = ClientToScreen({edge - 5, cr.Bottom});
            down->SetBounds(top.X, top.Y, 11, 11);
            up->SetBounds(bottom.X, bottom.Y, 11, 11);
        }
        down->SetVisible(shown);
        up->SetVisible(shown);
        if (c >= 0) FMoveColInd = c;
        FMoveRowInd = 0;
        if (OnColumnMoving) OnColumnMoving(this, FMoveColInd, allow);
    } else {
        gridbase::TArrowWindow* left = MoveArrow(TArrowDirection::arrLeft);
        gridbase::TArrowWindow* right = MoveArrow(TArrowDirection::arrRight);
        const bool footerRow = FFloatingFooter->Visible() && FMoveRowInd == RowCount() - 1;
        const bool shown = !footerRow && FMoveRowInd >= fixedRows && FMoveRowInd >= TopRow() &&
                           FMoveRowInd < TopRow() + VisibleRowCount();
        if (shown) {
            const gui::TRect rr = gui::TCustomGrid::CellRect(0, FMoveRowInd);
            const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
            const int rightEdge = std::min(ClientWidth(), gui::TCustomGrid::CellRect(lastCol, FMoveRowInd).Right);
            const int ay = (FMoveRowInd < Movecell ? rr.Top : rr.Bottom) - 5;
            const gui::TPoint lp = ClientToScreen({rr.Left - 10, ay});
            const gui::TPoint rp = ClientToScreen({rightEdge, ay});
            left->SetBounds(lp.X, lp.Y, 11, 11);
            right->SetBounds(rp.X, rp.Y, 11, 11);
        }
        left->SetVisible(shown);
        right->SetVisible(shown);
        FMoveColInd = 0;
        if (r >= 0) FMoveRowInd = r;
        if (OnRowMoving) OnRowMoving(this, FMoveRowInd, allow);
    }

    // Scrolling at the edges while not everything is in view.
    int fixedW = 0, fixedH = 0;
    for (int i = 0; i < fixedCols; ++i) fixedW += ColWidths(i);
    for (int i = 0; i < fixedRows; ++i) fixedH += RowHeights(i);
    if (cols && VisibleColCount() + fixedCols < ColCount()) {
        if (x < fixedW && LeftCol() > fixedCols) {
            SetLeftCol(LeftCol() - 1);
            Repaint();
        } else if (x > Width() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Repaint();
        }
    } else if (!cols && VisibleRowCount() + fixedRows < RowCount()) {
        if (y < fixedH && TopRow() > fixedRows) {
            SetTopRow(TopRow() - 1);
            Repaint();
        } else if (y > Height() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Repaint();
        }
    }

    if (!button->Visible()) {
        button->SetGradFrom(FKVRGradFrom);
        button->SetGradTo(FKVRGradTo);
        button->SetGradMirrorFrom(FKVRGradMirrorFrom);
        button->SetGradMirrorTo(FKVRGradMirrorTo);
        button->SetImages(FGridImages);
        if (!showCells) button->Show();
    }
    button->SetEnabled(true);
    if (gui::Screen) gui::Screen->SetCursor(allow ? gui::crDrag : gui::crNoDrop);
    return true;
}

bool TExStringGrid::EnhMoveMouseUp(gui::TMouseButton button, int x, int y)
{
    const TGridState st = GridState();
    const gui::TCursor cur = gui::Screen ? gui::Screen->Cursor() : gui::crDefault;
    const bool dragging = cur == gui::crDrag || cur == gui::crNoDrop;
    if (!EnhRowColMove() || !dragging || (st != TGridState::gsColMoving && st != TGridState::gsRowMoving)) {
        HideMoveArrows();
        return false;
    }
    if (FMoveButton) {
        FMoveButton->SetEnabled(false);
        FMoveButton->Hide();
    }
    FreeMoveForm();
    gui::Screen->SetCursor(gui::crDefault);
    FGridState = TGridState::gsNormal;
    FMoveIndex = FMovePos = -1;
    gui::KillTimer(Handle(), 1);
    HideMoveArrows();
    if (button == gui::TMouseButton::mbRight) return true;  // no context menu after a drag
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (cur == gui::crDrag) {
        if (st == TGridState::gsColMoving) {
            if (c >= TBaseGrid::FixedCols() && c != Movecell) MoveColumn(Movecell, c);
        } else if (r >= TBaseGrid::FixedRows() && r != Movecell) {
            MoveRow(Movecell, r);
        }
    } else if (st == TGridState::gsColMoving) {
        RepaintRow(0);
    } else {
        RepaintCol(0);
    }
    return true;
}

} // namespace grid
