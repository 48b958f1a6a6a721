// TExStringGrid: drops on the grid and drags out of it.
#include "grid/ExGridDragDrop.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "grid/ExGrid.h"
#include "gridbase/ExObj.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gridbase::TArrowDirection;

namespace {
std::string Upper(std::string s)
{
    for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}
} // namespace

// ---------------------------------------------------------------- target

TGridDropTarget::TGridDropTarget(TExStringGrid* grid) : FGrid(grid) {}

int TGridDropTarget::DragEnter(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pt, int allowed)
{
    const TDragDropSettings* dd = FGrid->DragDropSettings();
    SetAcceptText(dd->OleAcceptText());
    SetAcceptFiles(dd->OleAcceptFiles());
    SetAcceptURLs(dd->OleAcceptURLs());
    SetAcceptCols(dd->OleColumnDragDrop());
    return gridbase::TGRDDropTarget::DragEnter(data, shift, pt, allowed);
}

void TGridDropTarget::DragMouseMove(gui::TPoint pt, bool& allow, gridbase::TDropFormats dropFormats)
{
    TExStringGrid& g = *FGrid;
    int aCol = -1, aRow = -1;
    g.MouseToCell(pt.X, pt.Y, aCol, aRow);
    allow = aCol >= 0 && aRow >= 0;
    const bool colDrag = dropFormats.Contains(gridbase::TDropFormat::dfCol) && AcceptCols();
    const int fixedRows = g.FixedRows(), fixedCols = g.FixedCols();
    if (allow && !colDrag) {
        if (aRow == 0 && g.TopRow() > fixedRows) g.SetTopRow(g.TopRow() - 1);
        else if (pt.Y < 8 && fixedRows == 0 && g.TopRow() > 0) g.SetTopRow(g.TopRow() - 1);
        else if (aRow == g.TopRow() + g.VisibleRowCount() && aRow < g.RowCount()) g.SetTopRow(g.TopRow() + 1);
        if (g.FTimerTicks % 2 == 0) {
            ++g.FTimerTicks;
            if (aCol == 0 && g.LeftCol() > fixedCols) g.SetLeftCol(g.LeftCol() - 1);
            else if (aCol == g.LeftCol() + g.VisibleColCount() && aCol < g.ColCount()) g.SetLeftCol(g.LeftCol() + 1);
        }
    }
    if (colDrag) {
        if (!(aRow < fixedRows && aCol >= fixedCols)) allow = false;
    } else if (aRow < fixedRows && !(g.RowCount() == 1 && g.FixedRowAlways())) {
        allow = false;
    }
    if (g.OnOleDragOver) g.OnOleDragOver(&g, aRow, aCol, allow);
    if (aCol < 0 || aRow < 0) allow = false;
    DragScroll(pt);

    gridbase::TArrowWindow* left = g.MoveArrow(TArrowDirection::arrLeft);
    gridbase::TArrowWindow* down = g.MoveArrow(TArrowDirection::arrDown);
    gridbase::TArrowWindow* up = g.MoveArrow(TArrowDirection::arrUp);
    if (!allow) {
        left->Hide();
        down->Hide();
        up->Hide();
        return;
    }
    if (colDrag) {
        const gui::TRect r = g.gui::TCustomGrid::CellRect(aCol, aRow);
        const gui::TPoint top = g.ClientToScreen({r.Left - 5, r.Top - 8});
        const gui::TPoint bottom = g.ClientToScreen({r.Left - 5, r.Bottom});
        down->SetBounds(top.X, top.Y, 11, 11);
        up->SetBounds(bottom.X, bottom.Y, 11, 11);
        down->Show();
        up->Show();
        return;
    }
    int r = aRow, c = aCol;
    if (aRow == 0 && g.FixedRowAlways()) r = 1;
    if (g.DragDropSettings()->OleEntireRows()) c = fixedCols;
    const gui::TRect cr = g.gui::TCustomGrid::CellRect(c, r);
    const gui::TPoint at = g.ClientToScreen({cr.Left - 10, cr.Top - 5});
    left->SetBounds(at.X, at.Y, 11, 11);
    left->Show();
}

void TGridDropTarget::DragScroll(gui::TPoint pt)
{
    TExStringGrid& g = *FGrid;
    TDragScrollOptions* o = g.DragScrollOptions();
    int dir = 0;
    if (o->Active()) {
        if (pt.Y < o->Margins()->TopMargin()) dir = -1;
        else if (pt.Y > g.ClientHeight() - o->Margins()->BottomMargin()) dir = 1;
    }
    gui::TTimer* t = g.DragScrollTimer();
    if (dir == 0) {
        t->SetEnabled(false);
        g.FDragScrollDir = 0;
        return;
    }
    if (dir != g.FDragScrollDir || !t->Enabled()) {
        g.FDragScrollDir = dir;
        t->SetEnabled(false);
        t->SetInterval(static_cast<unsigned>(std::max(1, o->Delays()->InitialDelay())));
        t->SetEnabled(true);
    }
}

void TGridDropTarget::DragMouseLeave()
{
    FGrid->MoveArrow(TArrowDirection::arrDown)->Hide();
    FGrid->MoveArrow(TArrowDirection::arrUp)->Hide();
    FGrid->MoveArrow(TArrowDirection::arrLeft)->Hide();
    FGrid->DragScrollTimer()->SetEnabled(false);
    FGrid->FDragScrollDir = 0;
}

void TGridDropTarget::DropText(gui::TPoint pt, const std::string& s)
{
    TExStringGrid& g = *FGrid;
    g.DragScrollTimer()->SetEnabled(false);
    int aCol = -1, aRow = -1;
    g.MouseToCell(pt.X, pt.Y, aCol, aRow);
    bool allow = true;
    gui::TPoint size;
    g.MeasurePasteText(s, size);
    // y + 1 rows: none for a text without a non-empty line.
    const int x = size.X, y = size.Y;
    const bool rowSelect = g.Options().Contains(gui::TGridOption::goRowSelect);
    const TDragDropSettings* dd = g.DragDropSettings();
    if (rowSelect) aCol = dd->OleEntireRows() ? 0 : g.FixedCols();
    if (g.OnOleDrop) g.OnOleDrop(&g, aRow, aCol, s, allow);
    gui::TGridRect dropped = g.Selection();
    if (allow && aRow >= 0 && aCol >= 0) {
        gui::TGridRect r = g.FDropSelection;
        if (r.Top >= aRow && dd->OleRemoveRows()) {
            r.Top += y + 1;
            r.Bottom += y + 1;
            if (g.MouseActions()->DisjunctRowSelect()) {
                auto& sel = g.FRowSelect;
                const std::size_t at = std::min(sel.size(), static_cast<std::size_t>(aRow));
                sel.insert(sel.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(y + 1), char(0));
            }
        }
        g.FDropSelection = r;
        if (aRow == 0 && g.FixedRowAlways() && g.RowCount() == 1) aRow = 1;
        if (dd->OleInsertRows()) {
            int t = g.TopRow();
            if (g.TopRow() > g.FixedRows()) ++t;
            if (y >= 0) g.InsertRows(aRow, y + 1);
            if (t > 0) g.SetTopRow(std::min(t, g.RowCount() - 1));
        }
        int lines = 0, fields = 0;
        g.PasteTextAtCell(aCol, aRow, lines, fields, s);
        aCol = std::max(aCol, g.FixedCols());
        const int right = rowSelect ? aCol + x - g.FixedCols() : aCol + x - 1;
        dropped = {aCol, aRow, std::min(std::max(aCol, right), g.ColCount() - 1),
                   std::min(aRow + std::max(0, y), g.RowCount() - 1)};
        if (aRow < g.RowCount()) g.SetSelection(dropped);
    }
    g.MoveArrow(TArrowDirection::arrLeft)->Hide();
    g.MoveArrow(TArrowDirection::arrDown)->Hide();
    if (g.FMoveButton) g.FMoveButton->Hide();
    if (g.OnOleDropped) g.OnOleDropped(&g, dropped);
}

void TGridDropTarget::DropRTF(gui::TPoint pt, const std::string& s)
{
    TExStringGrid& g = *FGrid;
    int aCol = -1, aRow = -1;
    g.MouseToCell(pt.X, pt.Y, aCol, aRow);
    bool allow = true;
    if (g.OnOleDrop) g.OnOleDrop(&g, aRow, aCol, s, allow);
    if (allow && aCol >= 0 && aRow >= 0) g.SetCellText(g.RealColIndex(aCol), aRow, s);
    g.MoveArrow(TArrowDirection::arrLeft)->Hide();
    g.MoveArrow(TArrowDirection::arrDown)->Hide();
}

void TGridDropTarget::DropURL(gui::TPoint pt, const std::string& s)
{
    TExStringGrid& g = *FGrid;
    int aCol = -1, aRow = -1;
    g.MouseToCell(pt.X, pt.Y, aCol, aRow);
    bool allow = true;
    if (g.OnOleDropURL) g.OnOleDropURL(&g, aRow, aCol, s, allow);
    if (allow && aCol >= 0 && aRow >= 0) g.SetCellText(g.RealColIndex(aCol), aRow, s);
    g.MoveArrow(TArrowDirection::arrLeft)->Hide();
    g.MoveArrow(TArrowDirection::arrDown)->Hide();
}

void TGridDropTarget::DropCol(gui::TPoint pt, int col)
{
    TExStringGrid& g = *FGrid;
    int aCol = -1, aRow = -1;
    g.MouseToCell(pt.X, pt.Y, aCol, aRow);
    if (DropFormats().Contains(gridbase::TDropFormat::dfCol)) {
        g.MoveArrow(TArrowDirection::arrDown)->Hide();
        g.MoveArrow(TArrowDirection::arrUp)->Hide();
        if (g.FMoveButton) g.FMoveButton->Hide();
    }
    if (g.OnOleDropCol) g.OnOleDropCol(&g, aRow, aCol, col);
}

void TGridDropTarget::DropFiles(gui::TPoint pt, rtl::TStringList* files)
{
    TExStringGrid& g = *FGrid;
    if (files && files->Count() == 1) {
        const std::string name = files->Strings(0);
        bool allow = true;
        if (g.OnOleDropFile) {
            int aCol = -1, aRow = -1;
            g.MouseToCell(pt.X, pt.Y, aCol, aRow);
            g.OnOleDropFile(&g, aRow, aCol, name, allow);
        }
        const std::string up = Upper(name);
        TGridIOHooks* hooks = GridIOHooks();
        if (allow && up.find(".CSV") != std::string::npos) {
            if (g.OnOleDrop) g.OnOleDrop(&g, -1, -1, name, allow);
            if (allow && hooks) hooks->LoadFromCSV(g, name, -1);
        }
        if (up.find(".XLS") != std::string::npos) {
            if (g.OnOleDrop) g.OnOleDrop(&g, -1, -1, name, allow);
            if (allow && hooks) hooks->LoadFromXLS(g, name);
        }
    }
    g.MoveArrow(TArrowDirection::arrLeft)->Hide();
    g.MoveArrow(TArrowDirection::arrDown)->Hide();
}

// ---------------------------------------------------------------- source

void TGridDropSource::DragEnded()
{
    gridbase::TGRDDropSource::DragEnded();
    if (FGrid->DragDropSettings()->ShowCells()) FGrid->FreeMoveForm();
}

void TGridDropSource::CurrentEffect(int effect)
{
    if (effect == gui::DROPEFFECT_MOVE || effect == gui::DROPEFFECT_COPY) FLastEffect = effect;
}

void TGridDropSource::QueryDrag()
{
    if (FGrid->DragDropSettings()->ShowCells() && FGrid->FMoveForm) {
        const gui::TPoint p = gui::GetCursorPos();
        FGrid->FMoveForm->SetBounds(p.X + 4, p.Y + 4, FGrid->FMoveForm->Width(), FGrid->FMoveForm->Height());
        return;
    }
    gridbase::TPopupButton* b = FGrid->FMoveButton;
    if (!b || !b->Visible()) return;
    const gui::TPoint p = gui::GetCursorPos();
    b->SetBounds(p.X, p.Y - b->Height(), b->Width(), b->Height());
}

// ---------------------------------------------------------------- grid side

gridbase::TGRDDropTarget* TExStringGrid::GridDropTarget() const
{
    return dynamic_cast<gridbase::TGRDDropTarget*>(FDropTarget.get());
}

gui::TTimer* TExStringGrid::DragScrollTimer()
{
    if (!FDragScrollTimer) {
        FDragScrollTimer = new gui::TTimer(this);
        FDragScrollTimer->SetEnabled(false);
        FDragScrollTimer->OnTimer = [this](rtl::TObject*) {
            // After the first wait the repeat delay.
            FDragScrollTimer->SetInterval(static_cast<unsigned>(std::max(1, FDragScrollOptions->Delays()->RepeatDelay())));
            if (FDragScrollDir < 0 && TopRow() > TBaseGrid::FixedRows()) SetTopRow(TopRow() - 1);
            else if (FDragScrollDir > 0 && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
        };
    }
    return FDragScrollTimer;
}

int TExStringGrid::OleDragSelection(gridbase::TDragInput* input)
{
    FDropSelection = Selection();
    TGridDropSource source(this);
    const std::string text = SelectedText();
    const int ok = FDragDropSettings->OleCopyAlways() ? gui::DROPEFFECT_COPY
                                                      : gui::DROPEFFECT_COPY | gui::DROPEFFECT_MOVE;
    int effect = gui::DROPEFFECT_NONE;
    gridbase::RunTextDragDrop(&source, text, "", ok, effect, input);
    return effect;
}

int TExStringGrid::OleDragColumn(int aCol, gridbase::TDragInput* input)
{
    TGridDropSource source(this);
    const int ok = FDragDropSettings->OleCopyAlways() ? gui::DROPEFFECT_COPY
                                                      : gui::DROPEFFECT_COPY | gui::DROPEFFECT_MOVE;
    int effect = gui::DROPEFFECT_NONE;
    gridbase::RunColumnDragDrop(&source, aCol, ok, effect, input);
    return effect;
}

// ------------------------------------------------------------ drag start

bool TExStringGrid::OleDragSourcePress(int aCol, int aRow, int x, int y)
{
    if (!FDragDropSettings->OleDropSource() || aCol < 0 || aRow < 0) return false;
    const bool fixedRow = aRow < TBaseGrid::FixedRows();
    if (!(IsSelected(aCol, aRow) || (fixedRow && !EnhRowColMove()))) return false;
    const int rc = RealColIndex(aCol);
    if (Options().Contains(gui::TGridOption::goEditing) || HasButton(rc, aRow) || HasCheckBox(rc, aRow)) return false;
    if (aCol < TBaseGrid::FixedCols()) return false;
    const gui::TRect r = gui::TCustomGrid::CellRect(aCol, aRow);
    if (Options().Contains(gui::TGridOption::goColSizing) && (x < r.Left + 4 || x > r.Right - 4)) return false;
    if (CanFocus() && !Focused()) SetFocus();
    if (OnMouseDown) OnMouseDown(this, gui::TMouseButton::mbLeft, {gui::TShiftStateItem::ssLeft}, x, y);
    FSelectionClick = true;
    if (OnClickCell) OnClickCell(this, aRow, aCol);
    return true;
}

bool TExStringGrid::OleDragStartMove(int x, int y)
{
    if (!FSelectionClick) return false;
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    // The drag begins once the pointer leaves 3 pixels around the press.
    if (c < 0 || r < 0 || (std::abs(x - FPressPoint.X) <= 3 && std::abs(y - FPressPoint.Y) <= 3)) return true;
    if (!FDragDropSettings->OleDropSource() || GridState() == gui::TGridState::gsColSizing || OnSelectionHandle(x, y))
        return true;
    FSelectionClick = false;
    bool allow = true;
    const int rc = RealColIndex(c);
    if (OnOleDrag) OnOleDrag(this, r, rc, GetCellText(rc, r), allow);
    if (!allow) {
        if (GridState() == gui::TGridState::gsNormal) FGridState = gui::TGridState::gsSelecting;
        return true;
    }
    if (OnOleDragStart) OnOleDragStart(this, r, c);
    int effect = gui::DROPEFFECT_NONE;
    const int pressCol = FPressCell.X, pressRow = FPressCell.Y;
    if (pressRow >= 0 && pressRow < TBaseGrid::FixedRows() && FDragDropSettings->OleColumnDragDrop()) {
        // A header drags its column, shown by the floating header.
        gridbase::TPopupButton* b = MoveButton();
        std::string header;
        GetAllCells(RealColIndex(pressCol), 0, header);
        b->SetCaption(header);
        const bool gradient = FLook == TGridLook::glKVR || FLook == TGridLook::glXP || FLook == TGridLook::glVista;
        b->SetGradFrom(gradient ? FKVRGradFrom : gui::clNone);
        b->SetGradTo(gradient ? FKVRGradTo : gui::clNone);
        b->SetGradMirrorFrom(FLook == TGridLook::glVista ? FKVRGradMirrorFrom : gui::clNone);
        b->SetGradMirrorTo(FLook == TGridLook::glVista ? FKVRGradMirrorTo : gui::clNone);
        const gui::TPoint at = ClientToScreen({x, y});
        b->SetBounds(at.X, at.Y - RowHeights(0), ColWidths(pressCol), RowHeights(0));
        b->Show();
        effect = OleDragColumn(pressCol, FOleDragInput);
        b->Hide();
    } else {
        if (FDragDropSettings->ShowCells()) {
            // The visible part of the selection follows the pointer.
            const gui::TGridRect sel = Selection();
            const gui::TGridRect vis{std::max(sel.Left, LeftCol()), std::max(sel.Top, TopRow()),
                                     std::min(sel.Right, LeftCol() + VisibleColCount() - 1),
                                     std::min(sel.Bottom, TopRow() + VisibleRowCount() - 1)};
            FreeMoveForm();
            FMoveForm = SelectionToForm(vis);
            const gui::TPoint at = ClientToScreen({x, y});
            FMoveForm->SetBounds(at.X, at.Y, FMoveForm->Width(), FMoveForm->Height());
            FMoveForm->Show();
        }
        effect = OleDragSelection(FOleDragInput);
        FreeMoveForm();
        if (effect == gui::DROPEFFECT_MOVE) {
            const gui::TGridRect d = FDropSelection;
            if (FDragDropSettings->OleRemoveRows() && Options().Contains(gui::TGridOption::goRowSelect)) {
                RemoveRows(d.Top, d.Bottom - d.Top + 1);
            } else if (!FDragDropSettings->OleCopyAlways()) {
                ClearRect(RealColIndex(d.Left), d.Top, RealColIndex(d.Right), d.Bottom);
                Invalidate();
            }
        }
    }
    if (OnOleDragStop) OnOleDragStop(this, effect);
    return true;
}

bool TExStringGrid::OleDragSourceRelease(int x, int y)
{
    if (!FSelectionClick) return false;
    FSelectionClick = false;
    // A press on a selected cell that did not become a drag selects the cell.
    int c = -1, r = -1;
    MouseToCell(x, y, c, r);
    if (c < TBaseGrid::FixedCols() || r < TBaseGrid::FixedRows()) return true;
    if (Options().Contains(gui::TGridOption::goRowSelect)) {
        MoveColRow(c, r, true, true);
        SetSelection({TBaseGrid::FixedCols(), r, ColCount() - 1, r});
    } else {
        MoveColRow(c, r, true, true);
    }
    return true;
}

} // namespace grid
