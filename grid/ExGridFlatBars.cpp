// ExGrid: flat scroll bars. ScrollType ssFlat draws the grid's bars as
// plain areas (track, flat arrows, a flat thumb); ssEncarta does the same
// with a framed thumb. ScrollColor, when not clNone, colours the tracks.
#include "grid/ExGrid.h"

namespace grid {

void TExStringGrid::SetScrollType(TScrollType v)
{
    if (v == FScrollType) return;
    FScrollType = v;
    Invalidate();
}

void TExStringGrid::SetScrollColor(TColor v)
{
    if (v == FScrollColor) return;
    FScrollColor = v;
    if (FScrollType != TScrollType::ssNormal) Invalidate();
}

void TExStringGrid::PaintFlatScrollBars()
{
    if (ScrollType() == TScrollType::ssNormal) return;
    gui::TCanvas* c = Canvas();
    const TColor track = ScrollColor() == gui::clNone ? gui::clBtnFace : ScrollColor();
    for (int bar : {gui::SB_VERT, gui::SB_HORZ}) {
        if (!ScrollBarVisible(bar)) continue;
        gui::TRect whole, up, down, thumb;
        ScrollBarRects(bar, whole, up, down, thumb);
        const bool vert = bar == gui::SB_VERT;
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(track);
        c->FillRect(whole);
        // Arrows: a small triangle on the track colour, no button edge.
        c->Brush()->SetColor(gui::clBtnText);
        c->Pen()->SetColor(gui::clBtnText);
        for (int i = 0; i < 2; ++i) {
            const gui::TRect& r = i == 0 ? up : down;
            const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
            const int d = i == 0 ? -1 : 1;
            std::vector<gui::TPoint> tri;
            if (vert) tri = {{cx - 3, cy - 1 * d}, {cx + 3, cy - 1 * d}, {cx, cy + 2 * d}};
            else tri = {{cx - 1 * d, cy - 3}, {cx - 1 * d, cy + 3}, {cx + 2 * d, cy}};
            c->Polygon(tri);
        }
        if (!ScrollBarEnabled(bar)) continue;
        if (ScrollType() == TScrollType::ssFlat) {
            c->Brush()->SetColor(gui::clBtnShadow);
            c->FillRect(thumb);
        } else {
            c->Brush()->SetColor(gui::clBtnFace);
            c->Pen()->SetColor(gui::clBtnShadow);
            c->Rectangle(thumb);
        }
    }
    c->Pen()->SetColor(0);
}

} // namespace grid
