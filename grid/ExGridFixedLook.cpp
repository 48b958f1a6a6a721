// ExGrid: fixed cells as the pointer leaves them: hover and drop-down
// button gradients, the list-view look's hot header, pressed-in buttons.
#include "grid/ExGridFixedLook.h"

#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/Themes.h"

namespace grid {

namespace {

void HoverGradient(TExStringGrid& g, gui::TCanvas* canvas, const gui::TRect& r)
{
    gridbase::DrawMirrorGradient(canvas, r, g.KVRGradientHoverFrom(), g.KVRGradientHoverTo(),
                                 g.KVRGradientHoverMirrorFrom(), g.KVRGradientHoverMirrorTo(), true,
                                 g.KVRGradientHoverBorder(), false, true);
}

void DownGradient(TExStringGrid& g, gui::TCanvas* canvas, const gui::TRect& r)
{
    gridbase::DrawMirrorGradient(canvas, r, g.KVRGradientDownFrom(), g.KVRGradientDownTo(),
                                 g.KVRGradientDownMirrorFrom(), g.KVRGradientDownMirrorTo(), true,
                                 g.KVRGradientDownBorder(), false, true);
}

} // namespace

bool IsHotFixedCell(const TExStringGrid& g, int aCol, int aRow)
{
    if (!g.IsHoverFixedCell(aCol, aRow) || g.ComponentState().Contains(rtl::TComponentStateItem::csDesigning))
        return false;
    // While a column is moved its header stays hot wherever the pointer is.
    if (g.GridState() == gui::TGridState::gsColMoving) return g.MovingColumn() == aCol;
    return g.HoverFixedCell() == gui::TPoint{aCol, aRow};
}

bool DrawHotFixedCell(TExStringGrid& g, gui::TCanvas* canvas, int aCol, int aRow, gui::TRect& rect)
{
    if (!IsHotFixedCell(g, aCol, aRow)) return false;
    gui::TRect r = rect;
    r.Bottom += 1;
    const bool dropDown = g.ControlLook()->FixedDropDownButton();
    const bool pressed = g.MouseDownMove();
    if (!pressed) {
        HoverGradient(g, canvas, r);
    } else if (!dropDown) {
        DownGradient(g, canvas, r);
    } else {
        gui::TRect body = r, button = r;
        body.Right = button.Left = r.Right - 16;
        if (g.DropDownDown()) {
            HoverGradient(g, canvas, body);
            DownGradient(g, canvas, button);
        } else {
            DownGradient(g, canvas, body);
            HoverGradient(g, canvas, button);
        }
    }
    if (dropDown) {
        canvas->Pen()->SetColor(pressed ? g.KVRGradientDownBorder() : g.KVRGradientHoverBorder());
        canvas->MoveTo(r.Right - 16, r.Top);
        canvas->LineTo(r.Right - 16, r.Bottom);
        gridbase::DrawDownTriangle(canvas, r.Right - 8, r.Top + 8, gui::clBlack);
        rect.Right -= 16;
    }
    return true;
}

void DrawListViewFixedCell(TExStringGrid& g, gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect)
{
    gui::TRect r = rect;
    if (!g.IsWinXP()) {
        canvas->Brush()->SetColor(gui::clBtnFace);
        canvas->Pen()->SetColor(gui::clWhite);
        canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        return;
    }
    r.Bottom += 1;
    const bool inside = g.HotFixedCell() == gui::TPoint{aCol, aRow};
    const int part = inside ? 1 : 3;
    const int state = !inside ? 1 : g.MouseDownMove() ? 3 : 2;
    const gui::HTHEME theme = gui::OpenThemeData(&g, "header");
    if (theme) {
        gui::DrawThemeBackground(theme, *canvas, part, state, r, nullptr);
        gui::CloseThemeData(theme);
    }
    canvas->Pen()->SetColor(gui::clWhite);
    canvas->MoveTo(r.Left, r.Top);
    canvas->LineTo(r.Right, r.Top);
}

void DrawPushedFixedCell(TExStringGrid& g, gui::TCanvas* canvas, int aCol, int aRow, const gui::TRect& rect)
{
    if (g.PushedFixedCell() != gui::TPoint{aCol, aRow}) return;
    gui::TRect e1 = rect, e2 = rect;
    canvas->DrawEdge(e1, gui::BDR_SUNKENINNER, gui::BF_RIGHT | gui::BF_BOTTOM);
    canvas->DrawEdge(e2, gui::BDR_SUNKENINNER, gui::BF_LEFT | gui::BF_TOP);
}

} // namespace grid
