// ExUtil: gradients, the selection frame, small glyphs and the wavy underline.
#include <initializer_list>

#include "gridbase/ExUtil.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/Themes.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

void EditTextHeights(const gui::TFont* font, int& systemHeight, int& fontHeight)
{
    gui::TBitmap probe(1, 1);
    gui::TFont standard;
    probe.Canvas()->Font()->Assign(&standard);
    systemHeight = probe.Canvas()->GetTextMetrics().tmHeight;
    probe.Canvas()->Font()->Assign(font);
    fontHeight = probe.Canvas()->GetTextMetrics().tmHeight;
}

namespace {

struct TRgb {
    int R, G, B;
    explicit TRgb(TColor c) : R(c & 0xFF), G((c >> 8) & 0xFF), B((c >> 16) & 0xFF) {}
    TColor Color() const
    {
        auto clamp = [](int v) { return static_cast<TColor>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
        return clamp(R) | clamp(G) << 8 | clamp(B) << 16;
    }
};

// a + round(num * (b - a) / den) per component.
TColor Blend(TColor a, TColor b, long double num, long double den)
{
    const TRgb x(a), y(b);
    TRgb r(0);
    r.R = x.R + static_cast<int>(rtl::Round(num * (y.R - x.R) / den));
    r.G = x.G + static_cast<int>(rtl::Round(num * (y.G - x.G) / den));
    r.B = x.B + static_cast<int>(rtl::Round(num * (y.B - x.B) / den));
    return r.Color();
}

void SetPenAndBrush(gui::TCanvas* canvas, TColor color)
{
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
}

void Line(gui::TCanvas* canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

} // namespace

void DrawGradient(gui::TCanvas* canvas, TColor color, TColor colorTo, int steps, const gui::TRect& rect,
                  bool horizontal)
{
    if (colorTo == gui::clNone) {
        SetPenAndBrush(canvas, gui::ColorToRGB(color));
        canvas->Rectangle(rect);
        return;
    }
    if (steps < 1) steps = 1;
    const TColor from = gui::ColorToRGB(color), to = gui::ColorToRGB(colorTo);
    const long double size =
        static_cast<long double>(horizontal ? rect.Right - rect.Left : rect.Bottom - rect.Top) / steps;
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    const int length = static_cast<int>(rtl::Round(size)) + 1;
    int start = 0;
    for (int i = 0; i < steps; ++i) {
        // A band with the same start as the next one is painted over whole
        // by it (all bands are equally long): skip it.  On a cell a few
        // pixels high this leaves a handful of the steps to draw.
        const int next = i + 1 < steps ? static_cast<int>(rtl::Round((i + 1) * size)) : -1;
        if (next == start) continue;
        SetPenAndBrush(canvas, Blend(from, to, i, steps));
        if (horizontal)
            canvas->Rectangle(rect.Left + start, rect.Top, rect.Left + start + length, rect.Bottom);
        else
            canvas->Rectangle(rect.Left, rect.Top + start, rect.Right, rect.Top + start + length);
        start = next;
    }
}

void DrawMirrorGradient(gui::TCanvas* canvas, gui::TRect rect, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool vertical, TColor borderColor, bool sideLinesOnly, bool fill)
{
    if (fill && color != gui::clNone) {
        if (mirrorColor == gui::clNone && colorTo == gui::clNone) {
            SetPenAndBrush(canvas, color);
            canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            canvas->Pen()->SetWidth(1);
            canvas->Pen()->SetStyle(gui::TPenStyle::psSolid);
            rect.Bottom += 1;
            canvas->FillRect(rect);
        } else if (mirrorColor == gui::clNone) {
            DrawGradient(canvas, color, colorTo, 128, rect, !vertical);
        } else {
            gui::TRect first = rect, second = rect;
            if (vertical) first.Bottom = second.Top = rect.Top + (rect.Bottom - rect.Top) / 2;
            else first.Right = second.Left = rect.Left + (rect.Right - rect.Left) / 2;
            DrawGradient(canvas, color, colorTo, 128, first, !vertical);
            DrawGradient(canvas, mirrorColor, mirrorColorTo, 128, second, !vertical);
        }
    }
    if (borderColor == gui::clNone) return;
    if (sideLinesOnly) {
        Line(canvas, borderColor, rect.Left, rect.Top, rect.Left, rect.Bottom);
        Line(canvas, borderColor, rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom);
    } else {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(rect);
    }
}

TColor BlendColorAt(TColor color, TColor colorTo, int from, int to, int position)
{
    if (colorTo == gui::clNone || from == to) return color;
    return Blend(gui::ColorToRGB(color), gui::ColorToRGB(colorTo), position, to - from);
}

void DrawSelectionFrame(gui::TCanvas* canvas, TColor upperColor, TColor upperColorTo, TColor lowerColor,
                        TColor lowerColorTo, TColor innerTopColor, TColor innerBottomColor, TColor borderColor,
                        TColor cornerColor, TColor backgroundColor, const gui::TRect& rect, int ends)
{
    const int L = rect.Left, T = rect.Top, R = rect.Right - 1, B = rect.Bottom - 2, M = T + (B - T) / 2;
    const bool closedLeft = ends == 0 || ends == 1, closedRight = ends == 0 || ends == 2;
    canvas->Pen()->SetWidth(1);
    Line(canvas, innerTopColor, L, T + 1, R, T + 1);
    if (closedLeft) Line(canvas, innerTopColor, L + 1, T + 1, L + 1, M);
    if (closedRight) Line(canvas, innerTopColor, R - 2, T + 1, R - 2, M);
    Line(canvas, innerBottomColor, L, B - 1, R, B - 1);
    if (closedLeft) Line(canvas, innerBottomColor, L + 1, M, L + 1, B - 1);
    if (closedRight) Line(canvas, innerBottomColor, R - 2, M, R - 2, B - 1);

    const int li = closedLeft ? 2 : 0, ri = closedRight ? 2 : 0;
    Line(canvas, borderColor, L + li, T, R - ri, T);
    Line(canvas, borderColor, L + li, B, R - ri, B);
    if (closedRight) Line(canvas, borderColor, R - 1, T + 2, R - 1, B - 1);
    if (closedLeft) Line(canvas, borderColor, L, T + 2, L, B - 1);

    if (closedLeft) {
        for (auto [x, y] : {std::pair{L + 1, T}, {L + 1, T + 1}, {L, T + 1}, {L + 1, B}, {L + 1, B - 1}, {L, B - 1}})
            canvas->SetPixels(x, y, cornerColor);
        canvas->SetPixels(L, T, backgroundColor);
        canvas->SetPixels(L, B, backgroundColor);
    }
    if (closedRight) {
        for (auto [x, y] : {std::pair{R - 2, T}, {R - 2, T + 1}, {R - 1, T + 1}, {R - 2, B}, {R - 2, B - 1},
                            {R - 1, B - 1}})
            canvas->SetPixels(x, y, cornerColor);
        canvas->SetPixels(R - 1, T, backgroundColor);
        canvas->SetPixels(R - 1, B, backgroundColor);
    }

    const gui::TRect inner(L + li, T + 2, R - ri, B - 2);
    if (upperColorTo == gui::clNone) {
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(upperColor);
        canvas->FillRect(inner);
    } else if (lowerColor == gui::clNone) {
        DrawGradient(canvas, upperColor, upperColorTo, 16, inner, false);
    } else {
        const int mid = inner.Top + (inner.Bottom - inner.Top) / 2;
        DrawGradient(canvas, upperColor, upperColorTo, 16, gui::TRect(inner.Left, inner.Top, inner.Right, mid), false);
        DrawGradient(canvas, lowerColor, lowerColorTo, 16, gui::TRect(inner.Left, mid, inner.Right, inner.Bottom),
                     false);
    }
}

void DrawDownTriangle(gui::TCanvas* canvas, int x, int y, TColor color)
{
    SetPenAndBrush(canvas, color);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->Polygon({gui::TPoint(x - 3, y), gui::TPoint(x + 3, y), gui::TPoint(x, y + 3)});
}

} // namespace gridbase

// --- wavy underline ------------------------------------------------------------

namespace gridbase {

void DrawWavyUnderline(gui::TWinControl* grid, gui::TCanvas* canvas, const std::string& text, const gui::TRect& rect,
                       int yOffset, int start, int length)
{
    const int count = rtl::UTF8Length(text);
    if (!grid || count == 0) return;
    gui::TPoint p1, p2;
    {
        gui::TEdit edit(grid);
        edit.SetVisible(false);
        edit.SetParent(grid);
        edit.SetBounds(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
        edit.SetText(text);
        auto pos = [&](int index) {
            const gui::LRESULT r = edit.Perform(gui::EM_POSFROMCHAR, static_cast<gui::WPARAM>(index), 0);
            return gui::TPoint(gui::GET_X_LPARAM(r), gui::GET_Y_LPARAM(r));
        };
        // Past the end a character position is the last one's, 4 pixels on.
        auto after = [&] {
            gui::TPoint p = pos(count - 1);
            p.X += 4;
            return p;
        };
        p1 = start < count ? pos(start) : after();
        if (start + length < count) {
            p2 = pos(start + length - 1);
        } else {
            p2 = after();
            p2.Y = p1.Y;
        }
    }
    canvas->Pen()->SetColor(0x0000FF);
    canvas->Pen()->SetWidth(2);
    canvas->MoveTo(rect.Left + p1.X, rect.Top + p1.Y + yOffset + 3);
    int x = p1.X, d = 3;
    while (x <= p2.X) {
        d = d == 0 ? 3 : 0;
        canvas->LineTo(rect.Left + x + 3, rect.Top + p2.Y + yOffset + d);
        x += 3;
    }
    d = d == 0 ? 3 : 0;
    canvas->LineTo(rect.Left + x + 3, rect.Top + p2.Y + yOffset + d);
    canvas->Pen()->SetWidth(1);
}

} // namespace gridbase

// --- editor buttons ---------------------------------------------------------------

namespace gridbase {

namespace {

// Parts drawn in the desktop theme's class for the editor's window; false
// when the theme cannot be opened (no active style, or a style without the
// class), so that the caller draws the classic look instead of nothing.
struct TThemePart {
    int PartId;
    gui::TRect Rect;
};
bool DrawThemedParts(gui::TCanvas* canvas, std::uintptr_t window, const char* themeClass,
                     std::initializer_list<TThemePart> parts)
{
    const gui::HTHEME theme = gui::OpenThemeData(gui::FindControl(window), themeClass);
    if (theme == 0) return false;
    for (const TThemePart& part : parts) gui::DrawThemeBackground(theme, *canvas, part.PartId, 1, part.Rect, nullptr);
    gui::CloseThemeData(theme);
    return true;
}

} // namespace

void DrawComboButton(gui::TCanvas* canvas, std::uintptr_t window, const gui::TRect& rect, bool themed)
{
    gui::TRect r(rect.Right - 17 - 2, rect.Top + 1, rect.Right - 2, rect.Bottom - 1);
    if (themed && DrawThemedParts(canvas, window, "combobox", {{1, r}})) return;
    canvas->DrawFrameControl(r, gui::DFC_SCROLL, gui::DFCS_FLAT | gui::DFCS_SCROLLCOMBOBOX);
}

void DrawSpinButtons(gui::TCanvas* canvas, std::uintptr_t window, const gui::TRect& rect, bool themed)
{
    const gui::TRect r(rect.Right - 15 - 1, rect.Top - 1, rect.Right - 1, rect.Bottom - 1);
    const int half = (r.Bottom - r.Top) / 2;
    if (themed && DrawThemedParts(canvas, window, "spin",
                                  {{1, gui::TRect(r.Left, r.Top, r.Right, r.Top + half)},
                                   {2, gui::TRect(r.Left, r.Top + half, r.Right, r.Bottom)}}))
        return;
    gui::TRect up(r.Left, r.Top, r.Right, r.Top + half);
    gui::TRect down(r.Left, r.Top + half + 1, r.Right, r.Bottom);
    canvas->DrawFrameControl(up, gui::DFC_SCROLL, gui::DFCS_FLAT | gui::DFCS_SCROLLUP);
    canvas->DrawFrameControl(down, gui::DFC_SCROLL, gui::DFCS_FLAT | gui::DFCS_SCROLLDOWN);
}

} // namespace gridbase
