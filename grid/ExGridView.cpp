// ExGrid: look presets, link display settings and the view services
// (repainting parts of the grid, swapping cells, scrolling a cell into
// view, moving columns and rows with the controls placed in cells).
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

namespace {

const char* const kLookNames[] = {"glStandard", "glSoft", "glClassic", "glKVR", "glXP",
                                  "glListView", "glVista", "glWin7", "glOffice2007"};
const char* const kLookCaptions[] = {"Standard", "Soft", "Classic", "KVR", "Windows XP",
                                     "ListView", "Windows Vista", "Windows 7", "Office2007"};

} // namespace

void TExStringGrid::LookToString(TGridLook look, std::string& s)
{
    if (look != TGridLook::glCustom) s = kLookNames[static_cast<int>(look)];
}

void TExStringGrid::LookToCaption(TGridLook look, std::string& s)
{
    if (look != TGridLook::glCustom) s = kLookCaptions[static_cast<int>(look)];
}

void TExStringGrid::SetLook(TGridLook v)
{
    if (v == FLook) return;
    FLook = v;
    if (v != TGridLook::glCustom) {
        TControlLook* cl = ControlLook();
        cl->SetFixedGradientMirrorFrom(gui::clNone);
        cl->SetFixedGradientMirrorTo(gui::clNone);
        cl->SetFixedGradientFrom(gui::clNone);
        cl->SetFixedGradientTo(gui::clNone);
        FKVRGradFrom = FKVRGradTo = FKVRGradMirrorFrom = FKVRGradMirrorTo = gui::clNone;
        switch (v) {
        case TGridLook::glVista:
        case TGridLook::glWin7:
        case TGridLook::glOffice2007:
            SetStyle(v == TGridLook::glVista  ? TKVRStyle::tsWindowsVista
                     : v == TGridLook::glWin7 ? TKVRStyle::tsWindows7
                                              : TKVRStyle::tsOffice2007Luna);
            break;
        default: {
            SetSelectionStyle(gridbase::TGridSelectionStyle::ssDefault);
            const bool plain = v == TGridLook::glStandard || v == TGridLook::glSoft || v == TGridLook::glClassic;
            const bool kvrOrXP = v == TGridLook::glKVR || v == TGridLook::glXP;
            // The fixed-cell gradient (which the grid's look colours follow).
            if (plain) {
                if (!Loading()) SetFixedColor(gui::clBtnFace);
                cl->SetFixedGradientFrom(gui::clBtnFace);
                cl->SetFixedGradientTo(gui::clNone);
            } else {
                cl->SetFixedGradientFrom(0xFFFFFF);
                cl->SetFixedGradientTo(gui::clBtnFace);
            }
            SetGridFixedLineColor(0x808080);
            cl->SetFixedGradientMirrorFrom(gui::clNone);
            cl->SetFixedGradientMirrorTo(gui::clNone);
            FKVRGradMirrorFrom = FKVRGradMirrorTo = gui::clNone;
            SetGridLineColor(0xC0C0C0);
            if (kvrOrXP) {
                FActiveCellColor = 0xEACAB6;
                FActiveCellColorTo = gui::clNone;
                FSelectionColor = 0xEACAB6;
                FSelectionColorTo = gui::clNone;
                FSelectionTextColor = 0;
                SetSearchFooterColor(FKVRGradFrom);
                SetSearchFooterColorTo(FKVRGradTo);
                cl->SetFixedGradientFrom(0xFFFFFF);
                cl->SetFixedGradientTo(v == TGridLook::glXP ? gui::clBtnFace : TColor{0xC0C0C0});
                // Hovered and pressed fixed cells.
                cl->SetFixedGradientHoverFrom(0xCFD0D1);
                cl->SetFixedGradientHoverTo(0xBEC6C8);
                cl->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
                cl->SetFixedGradientHoverMirrorTo(0xABBCBF);
                cl->SetFixedGradientDownFrom(0x868788);
                cl->SetFixedGradientDownTo(0x737C7E);
                cl->SetFixedGradientDownMirrorFrom(0x737C7E);
                cl->SetFixedGradientDownMirrorTo(0x627376);
            } else {
                FActiveCellColor = 0x808080;
                FActiveCellColorTo = gui::clNone;
                FSelectionColor = gui::clHighlight;
                FSelectionTextColor = gui::clHighlightText;
                SetSearchFooterColor(gui::clBtnFace);
                SetSearchFooterColorTo(gui::clBtnFace);
            }
            break;
        }
        }
    }
    Invalidate();
    if (!Loading()) InvalidateFooterPanel();
}

void TExStringGrid::SetURLShow(bool v)
{
    FURLShow = v;
    Invalidate();
}

void TExStringGrid::SetURLColor(TColor v)
{
    FURLColor = v;
    if (FURLShow) Invalidate();
}

void TExStringGrid::SetURLFull(bool v)
{
    FURLFull = v;
    if (FURLShow) Invalidate();
}

void TExStringGrid::RepaintCol(int aCol)
{
    if (aCol < 0 || aCol >= ColCount() || FUpdateCount > 0) return;
    InvalidateCol(aCol);
}

void TExStringGrid::RepaintRect(const gui::TRect& r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
    const gui::TRect a = gui::TCustomGrid::CellRect(r.Left, r.Top);
    const gui::TRect b = gui::TCustomGrid::CellRect(r.Right, r.Bottom);
    if (a.Width() <= 0 || a.Height() <= 0 || b.Width() <= 0 || b.Height() <= 0) {
        Invalidate();
        return;
    }
    InvalidateRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                    std::max(a.Bottom, b.Bottom)});
}

void TExStringGrid::SwapCells(gui::TGridCoord from, gui::TGridCoord to)
{
    const std::string t = GetRawCellText(from.X, from.Y);
    rtl::TObject* o = GetRawObject(from.X, from.Y);
    SetRawCellText(from.X, from.Y, GetRawCellText(to.X, to.Y));
    SetRawObject(from.X, from.Y, GetRawObject(to.X, to.Y));
    SetRawCellText(to.X, to.Y, t);
    SetRawObject(to.X, to.Y, o);
}

void TExStringGrid::ScrollInView(int colIndex, int rowIndex)
{
    if (colIndex >= ColCount() || rowIndex >= RowCount()) return;
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
    int l = LeftCol(), t = TopRow();
    const int vc = VisibleColCount(), vr = VisibleRowCount();
    if (colIndex < LeftCol() || colIndex >= LeftCol() + vc) {
        SetCol(colIndex);
        l = std::max(fixedCols, colIndex - vc / 2);
    }
    if (rowIndex < TopRow() || rowIndex >= TopRow() + vr) {
        SetRow(rowIndex);
        t = std::max(fixedRows, rowIndex - vr / 2);
    }
    l = std::min(l, ColCount() - vc + 1);
    if (ColCount() > fixedCols + vc && l != LeftCol()) SetLeftCol(std::max(fixedCols, l));
    t = std::min(t, RowCount() - vr + 1);
    if (RowCount() > fixedRows + vr && t != TopRow()) SetTopRow(std::max(fixedRows, t));
}

namespace {
// Where an index lands when the item at from moves to to.
int Moved(int x, int from, int to)
{
    if (x == from) return to;
    if (to < from && x >= to && x < from) return x + 1;
    if (to >= from && x > from && x <= to) return x - 1;
    return x;
}
} // namespace

void TExStringGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (FColumnOrder.empty()) SetColumnOrder();
    // ColumnMoved makes the recorded order follow.
    gui::TCustomGrid::MoveColumn(fromIndex, toIndex);
    for (TGridControlItem& it : FControlItems) it.X = Moved(it.X, fromIndex, toIndex);
}

void TExStringGrid::MoveRow(int fromIndex, int toIndex)
{
    // The floating footer's row stays last.
    if (FFloatingFooter->Visible() && toIndex == RowCount() - 1) return;
    gui::TCustomGrid::MoveRow(fromIndex, toIndex);
    for (TGridControlItem& it : FControlItems) it.Y = Moved(it.Y, fromIndex, toIndex);
}

} // namespace grid
