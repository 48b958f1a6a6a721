#include "chart/PlotChartFrame.h"

#include <vector>

namespace chart {

void DrawControlArea(gui::TCanvas& c, int w, int h, int s, TColor windColor, TShadowStyle style,
                     TColor shadowColor, TColor shadowBakColor)
{
    c.Pen()->SetStyle(gui::TPenStyle::psSolid);
    c.Pen()->SetMode(gui::TPenMode::pmCopy);
    c.Pen()->SetColor(windColor);
    c.Brush()->SetColor(windColor);
    c.Rectangle(0, 0, w, h);
    if (s <= 0) return;

    c.Pen()->SetColor(shadowBakColor);
    c.Brush()->SetColor(shadowBakColor);
    c.Rectangle(w - s, 0, w, s);
    c.Rectangle(0, h - s, s, h);

    c.Brush()->SetColor(shadowColor);
    int e;
    if (style == TShadowStyle::ssFlying) {
        c.Pen()->SetColor(shadowColor);
        e = s - 1;
    } else {
        c.Pen()->SetColor(gui::clBlack);
        e = 0;
    }
    c.Polygon({{e, h - s}, {s - 1, h - 1}, {w - 1, h - 1}, {w - s, h - s}});
    c.Polygon({{w - s, h - s}, {w - 1, h - 1}, {w - 1, s - 1}, {w - s, e}});

    c.Pen()->SetColor(gui::clBlack);
    c.Pen()->SetStyle(gui::TPenStyle::psSolid);
    c.MoveTo(0, 0);
    c.LineTo(w - s, 0);
    c.LineTo(w - s, h - s);
    c.LineTo(0, h - s);
    c.LineTo(0, 0);
}

gui::TPoint ChartCaptionOrigin(TCaptionAnchorHoriz anchorH, TCaptionAnchorVert anchorV, int posX, int posY,
                               gui::TAlignment alignment, int textWidth, int w, int h, int L, int R,
                               int T, int B, int S)
{
    int x = posX, y = posY;
    switch (anchorH) {
    case TCaptionAnchorHoriz::cahControlLeft: break;
    case TCaptionAnchorHoriz::cahChartLeft: x += L; break;
    case TCaptionAnchorHoriz::cahChartCenter: x += L + (w - L - R - S) / 2; break;
    case TCaptionAnchorHoriz::cahChartRight: x += w - R - S; break;
    case TCaptionAnchorHoriz::cahControlRight: x += w; break;
    }
    switch (anchorV) {
    case TCaptionAnchorVert::cavControlTop: break;
    case TCaptionAnchorVert::cavChartTop: y += T; break;
    case TCaptionAnchorVert::cavChartCenter: y += T + (h - T - B - S) / 2; break;
    case TCaptionAnchorVert::cavChartBottom: y += h - B; break;   // the shadow is not subtracted
    case TCaptionAnchorVert::cavControlBottom: y += h; break;
    }
    if (alignment == gui::TAlignment::taRightJustify) x -= textWidth;
    else if (alignment == gui::TAlignment::taCenter) x -= textWidth / 2;
    return {x, y};
}

bool BackgroundAreaRect(TBGAreaMode mode, int x0, int y0, int gw, int gh, int px, int py, int ax1,
                        int ay1, int ax2, int ay2, gui::TRect& r)
{
    switch (mode) {
    case TBGAreaMode::bamNone: return false;
    case TBGAreaMode::bamLeft: r = {x0, y0, px + ax1, y0 + gh}; break;
    case TBGAreaMode::bamRight: r = {px + ax2, y0, x0 + gw, y0 + gh}; break;
    case TBGAreaMode::bamTop: r = {x0, y0, x0 + gw, py + ay1}; break;
    case TBGAreaMode::bamBottom: r = {x0, py + ay2, x0 + gw, y0 + gh}; break;
    case TBGAreaMode::bamVStripe: r = {px + ax1, y0, px + ax2, y0 + gh}; break;
    case TBGAreaMode::bamHStripe: r = {x0, py + ay1, x0 + gw, py + ay2}; break;
    case TBGAreaMode::bamRect: r = {px + ax1, py + ay1, px + ax2, py + ay2}; break;
    }
    return true;
}

void DrawGrid(gui::TCanvas& c, const TGridContext& g)
{
    using GS = GridStyleType;
    if (g.Style == GS::gsNone || !g.Map) return;
    c.Brush()->SetColor(g.ChartColor);
    c.Pen()->SetColor(g.Color);
    auto at = [&](double x, double y) {
        gui::TPoint p = g.Map(x, y);
        return gui::TPoint(p.X + g.ShiftX, p.Y + g.ShiftY);
    };
    if (g.Style == GS::gsPoints) {
        int n = 0;
        for (double x : g.Xs)
            for (double y : g.Ys) {
                if (n++ >= 1000) return;
                const gui::TPoint p = at(x, y);
                c.SetPixels(p.X, p.Y, g.Color);
            }
        return;
    }
    const bool dotted = g.Style == GS::gsHorizDotLines || g.Style == GS::gsVertDotLines || g.Style == GS::gsDotLines;
    const bool vertical = g.Style == GS::gsVertLines || g.Style == GS::gsLines || g.Style == GS::gsVertDotLines ||
                          g.Style == GS::gsDotLines;
    const bool horizontal = g.Style == GS::gsHorizLines || g.Style == GS::gsLines ||
                            g.Style == GS::gsHorizDotLines || g.Style == GS::gsDotLines;
    c.Pen()->SetStyle(dotted ? gui::TPenStyle::psDot : gui::TPenStyle::psSolid);
    auto line = [&](gui::TPoint a, gui::TPoint b) {
        c.MoveTo(a.X, a.Y);
        c.LineTo(b.X, b.Y);
    };
    if (vertical) {
        int n = 0;
        for (double x : g.Xs) {
            if (n++ >= 1000) break;
            line(at(x, g.YRangeLow), at(x, g.YRangeHigh));
        }
    }
    if (horizontal) {
        int n = 0;
        for (double y : g.Ys) {
            if (n++ >= 1000) break;
            line(at(g.XRangeLow, y), at(g.XRangeHigh, y));
        }
    }
    c.Pen()->SetStyle(gui::TPenStyle::psSolid);
}

} // namespace chart
