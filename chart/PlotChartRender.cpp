#include "chart/PlotChartRender.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "chart/PlotChartPolyline.h"
#include "chart/PlotChartProps.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Strings.h"

namespace chart {

namespace {

using gui::TCanvas;
using gui::TPoint;

constexpr TColor kBlackAndWhiteFill = 0xC0C0C0;

int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

class TItemRenderer {
public:
    TItemRenderer(TCanvas& c, const TItemRenderContext& ctx)
        : C(c), Ctx(ctx), Poly([this](const std::vector<TPoint>& pts) {
              C.Polyline(pts);
              C.MoveTo(pts.back().X, pts.back().Y);
              if (Ctx.OnPolyline) Ctx.OnPolyline(static_cast<int>(pts.size()));
          })
    {
    }

    void Run(const TChartItemStore& items)
    {
        C.Pen()->SetWidth(Ctx.LineWidth);
        C.MoveTo(Ctx.X0, Ctx.Y0);
        Poly.SetPenPos({Ctx.X0, Ctx.Y0});
        C.Pen()->SetColor(Ctx.ChartColor);
        C.Pen()->SetStyle(gui::TPenStyle::psSolid);
        C.Brush()->SetColor(Ctx.ChartColor);
        C.SetTextAlign(gui::TA_LEFT | gui::TA_TOP);
        for (int i = 0; i < items.NumItems(); ++i) {
            const TrcChartItem& it = items[i];
            if (Ctx.ClassVisible && !Ctx.ClassVisible(it.ItemClass)) continue;
            if (Ctx.LayerVisible && !Ctx.LayerVisible(it.Layer)) continue;
            Draw(it);
        }
        Flush();
        C.Pen()->SetWidth(1);
    }

private:
    // A mapped point, clamped, on the canvas.
    TPoint Point(int layer, double x, double y) const
    {
        TPoint p = Ctx.Map ? Ctx.Map(layer, x, y) : TPoint(Round(x), Round(y));
        ClampPixelPair(p.X, p.Y);
        return {p.X - Ctx.MarginLeft + Ctx.X0, p.Y - Ctx.MarginTop + Ctx.Y0};
    }

    void Flush() { Poly.Flush(); }

    void SetPen(TColor color, gui::TPenStyle style)
    {
        C.Pen()->SetColor(color);
        C.Pen()->SetStyle(style);
    }

    // Brush solid in colour, or clear for a transparent item.
    void SetFill(TColor color, bool clear)
    {
        C.Brush()->SetColor(color);
        C.Brush()->SetStyle(clear ? gui::TBrushStyle::bsClear : gui::TBrushStyle::bsSolid);
    }

    void Pixel(TPoint p, TColor color) { C.SetPixels(p.X, p.Y, color); }

    // The box of two corners with the larger x and y moved out by one.
    static gui::TRect Box(TPoint a, TPoint b)
    {
        return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1};
    }

    void Draw(const TrcChartItem& it)
    {
        const TColor P = Ctx.BlackAndWhite ? gui::clBlack : it.Color;
        const TColor F = Ctx.BlackAndWhite ? kBlackAndWhiteFill : it.FillColor;
        const auto style = static_cast<gui::TPenStyle>(it.PenStyle);
        if (it.LWid != C.Pen()->Width()) {
            Flush();
            C.Pen()->SetWidth(it.LWid);
        }
        switch (it.ItemKind) {
        case TrcItem::tkMarkAt: {
            Flush();
            SetPen(P, style);
            if (C.IsPrinterCanvas() && it.MarkOrAlign > 47) SetCanvasFontSize(C, it.SizeOrAngle);
            const TPoint p = Point(it.Layer, it.x, it.y);
            DrawDataMark(C, it.MarkOrAlign, p.X, p.Y);
            break;
        }
        case TrcItem::tkLine: {
            Flush();
            SetPen(P, style);
            C.Brush()->SetColor(it.FillColor);
            const TPoint a = Point(it.Layer, it.x, it.y), b = Point(it.Layer, it.x2, it.y2);
            if (a == b) {
                Pixel(a, P);
            } else {
                C.MoveTo(a.X, a.Y);
                C.LineTo(b.X, b.Y);
            }
            break;
        }
        case TrcItem::tkLineto:
            if (C.Pen()->Color() != P || C.Pen()->Style() != style || C.Brush()->Color() != it.FillColor) {
                Flush();
                SetPen(P, style);
                C.Brush()->SetColor(it.FillColor);
            }
            Poly.Add(Point(it.Layer, it.x, it.y));
            break;
        case TrcItem::tkRect: {
            Flush();
            SetPen(P, style);
            SetFill(F, it.Transp != 0);
            const TPoint a = Point(it.Layer, it.x, it.y), b = Point(it.Layer, it.x2, it.y2);
            if (a == b) Pixel(a, P);
            else C.Rectangle(Box(a, b));
            break;
        }
        case TrcItem::tkRectFrame: DrawRectFrame(it, F); break;
        case TrcItem::tk3DBar: Draw3DBar(it, P, F, style); break;
        case TrcItem::tkText:
        case TrcItem::tkTextOfs: DrawText(it, P); break;
        case TrcItem::tkMoveTo: {
            const TPoint p = Point(it.Layer, it.x, it.y);
            Flush();
            C.MoveTo(p.X, p.Y);
            Poly.SetPenPos(p);
            break;
        }
        case TrcItem::tkEllipse: {
            Flush();
            SetPen(P, style);
            SetFill(F, it.Transp != 0);
            const TPoint a = Point(it.Layer, it.x - it.x2, it.y + it.y2);
            const TPoint b = Point(it.Layer, it.x + it.x2, it.y - it.y2);
            if (a == b) Pixel(a, P);
            else C.Ellipse(Box(a, b));
            break;
        }
        case TrcItem::tkMoveRelPix: {
            Flush();
            const TPoint pen = C.PenPos();
            const TPoint p{pen.X + Round(it.x), pen.Y + Round(it.y)};
            C.MoveTo(p.X, p.Y);
            Poly.SetPenPos(p);
            break;
        }
        case TrcItem::tkLineRelPix: {
            Flush();
            const TPoint pen = C.PenPos();
            const TPoint end{pen.X + Round(it.x), pen.Y + Round(it.y)};
            SetPen(P, style);
            C.Brush()->SetColor(it.FillColor);
            C.LineTo(end.X, end.Y);
            Pixel(end, P);
            Poly.SetPenPos(end);
            break;
        }
        case TrcItem::tkArrow: DrawArrow(it, P, F, style); break;
        case TrcItem::tkRectRelPix: {
            Flush();
            SetPen(P, style);
            SetFill(F, it.Transp != 0);
            const TPoint c = Point(it.Layer, it.x, it.y);
            TPoint a{c.X - Round(it.x2), c.Y - Round(it.y2)}, b{c.X + Round(it.x2), c.Y + Round(it.y2)};
            ClampPixelPair(a.X, a.Y);
            ClampPixelPair(b.X, b.Y);
            if (a == b) Pixel(a, P);
            else C.Rectangle(Box(a, b));
            break;
        }
        default: break;
        }
    }

    void DrawRectFrame(const TrcChartItem& it, TColor F)
    {
        Flush();
        SetPen(F, gui::TPenStyle::psSolid);
        SetFill(F, false);
        TPoint a = Point(it.Layer, it.x, it.y), b = Point(it.Layer, it.x2, it.y2);
        // x1 <= x2; y1 the lower edge (the larger pixel row), y2 the upper.
        const int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
        const int y1 = std::max(a.Y, b.Y), y2 = std::min(a.Y, b.Y);
        if (a == b) {
            Pixel(a, F);
        } else {
            C.Rectangle(x1, y2, x2 + 1, y1 + 1);
        }
        const TColor shadow = it.ShadowColor, light = it.HiLightColor;
        auto path = [&](TColor col, std::initializer_list<TPoint> pts) {
            C.Pen()->SetColor(col);
            bool first = true;
            for (TPoint p : pts) {
                if (first) C.MoveTo(p.X, p.Y);
                else C.LineTo(p.X, p.Y);
                first = false;
            }
        };
        switch (static_cast<TFrameStyle>(it.FrameStyle)) {
        case TFrameStyle::fsLowered:
        case TFrameStyle::fsRaised: {
            const bool lowered = static_cast<TFrameStyle>(it.FrameStyle) == TFrameStyle::fsLowered;
            path(lowered ? shadow : light, {{x1, y1}, {x1, y2}, {x2, y2}});
            path(lowered ? light : shadow, {{x2, y2}, {x2, y1}, {x1, y1}});
            break;
        }
        case TFrameStyle::fsEmbossed:
        case TFrameStyle::fsEngraved: {
            const bool embossed = static_cast<TFrameStyle>(it.FrameStyle) == TFrameStyle::fsEmbossed;
            path(embossed ? shadow : light, {{x1 + 1, y1}, {x1 + 1, y2 + 1}, {x2, y2 + 1}, {x2, y1}, {x1 + 1, y1}});
            path(embossed ? light : shadow, {{x1, y1 - 1}, {x1, y2}, {x2 - 1, y2}, {x2 - 1, y1 - 1}, {x1, y1 - 1}});
            break;
        }
        default: break;
        }
    }

    void Draw3DBar(const TrcChartItem& it, TColor P, TColor F, gui::TPenStyle style)
    {
        Flush();
        SetPen(P, style);
        SetFill(F, false);
        const TPoint a = Point(it.Layer, it.x, it.y), b = Point(it.Layer, it.x2, it.y2);
        int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
        int y1 = std::min(a.Y, b.Y), y2 = std::max(a.Y, b.Y);
        const double angle = it.SizeOrAngle * std::numbers::pi / 180;
        // The depth is kept within the pixel range of every other point: a
        // damaged file's depth of billions would overflow the corners and
        // have the polygons filled over an area of that size.
        const double depth = std::clamp<double>(it.Depth, -PixelLimit, PixelLimit);
        const int dx = Round(std::cos(angle) * depth), dy = -Round(std::sin(angle) * depth);
        if (it.SizeOrAngle > 90) std::swap(x1, x2);   // the depth goes to the left
        C.Polygon({{x1, y1}, {x1 + dx, y1 + dy}, {x2 + dx, y1 + dy}, {x2, y1}});
        C.Polygon({{x2 + dx, y1 + dy}, {x2, y1}, {x2, y2}, {x2 + dx, y2 + dy}});
        C.Rectangle(Box({x1, y1}, {x2, y2}));
    }

    void DrawText(const TrcChartItem& it, TColor P)
    {
        Flush();
        gui::TFont* font = C.Font();
        font->SetColor(P);
        font->SetStyle(Ctx.TextFontStyle);
        SetCanvasFontSize(C, it.SizeOrAngle);
        SetFill(Ctx.TextBkColor, Ctx.TextBkStyle == TTextBkg::tbClear);
        TPoint p = Point(it.Layer, it.x, it.y);
        if (it.ItemKind == TrcItem::tkTextOfs) {
            p.X += Round(it.x2);
            p.Y += Round(it.y2);
            ClampPixelPair(p.X, p.Y);
        }
        // The item's single-byte text, as the platform's text.
        const std::string text = rtl::CodePageToUTF8(ItemText(it), rtl::SystemCodePage());
        const gui::TSize sz = C.TextExtent(text);
        p.Y -= sz.cy / 2;
        if (it.MarkOrAlign == 1) p.X -= sz.cx;
        else if (it.MarkOrAlign == 2) p.X -= sz.cx / 2;
        C.TextOut(p.X, p.Y, text);
    }

    void DrawArrow(const TrcChartItem& it, TColor P, TColor F, gui::TPenStyle style)
    {
        Flush();
        SetPen(P, style);
        SetFill(F, it.Transp != 0);
        const TPoint a = Point(it.Layer, it.x, it.y), b = Point(it.Layer, it.x2, it.y2);
        if (a == b) {
            Pixel(a, P);
            return;
        }
        C.MoveTo(a.X, a.Y);
        C.LineTo(b.X, b.Y);
        if (it.SizeOrAngle < 1) return;
        constexpr double pi = std::numbers::pi;
        double u;
        if (a.X == b.X) u = b.Y - a.Y < 1 ? 2 * pi : pi;
        else u = std::atan(double(b.Y - a.Y) / (b.X - a.X)) + (b.X < a.X ? 3 * pi / 2 : pi / 2);
        constexpr double half = 0.3490658503988659;
        const double H = it.SizeOrAngle;
        auto barb = [&](double w) { return TPoint{b.X - Round(std::sin(w) * H), b.Y + Round(std::cos(w) * H)}; };
        const TPoint b1 = barb(u + half), b2 = barb(u - half);
        if (it.Transp) {
            C.MoveTo(b1.X, b1.Y);
            C.LineTo(b.X, b.Y);
            C.MoveTo(b2.X, b2.Y);
            C.LineTo(b.X, b.Y);
        } else {
            C.Polygon({b, b1, b2});
        }
    }

    TCanvas& C;
    const TItemRenderContext& Ctx;
    TPolylineBuffer Poly;
};

} // namespace

void RenderItems(gui::TCanvas& canvas, const TChartItemStore& items, const TItemRenderContext& ctx)
{
    TItemRenderer(canvas, ctx).Run(items);
}

} // namespace chart
