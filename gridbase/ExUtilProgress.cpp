// ExUtil: cell progress bars, pies, signed bars and bitmaps on a colour.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "gridbase/ExUtil.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

constexpr TColor cPieLine = 0x808080;

int RoundInt(long double v) { return static_cast<int>(rtl::Round(v)); }

// A colour pair over a segment: two halves across the bar's thickness with
// ShowGradient (ColorTo -> Color, then Color -> ColorTo), else solid.
void FillSegment(gui::TCanvas* canvas, const gui::TRect& r, TColor color, TColor colorTo,
                 const TProgressAppearance& look)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    if (!look.ShowGradient) {
        canvas->Brush()->SetColor(color);
        canvas->FillRect(r);
        return;
    }
    gui::TRect first = r, second = r;
    if (look.Vertical) first.Right = second.Left = r.Left + (r.Right - r.Left) / 2;
    else first.Bottom = second.Top = r.Top + (r.Bottom - r.Top) / 2;
    DrawGradient(canvas, colorTo, color, look.Steps, first, look.Vertical);
    DrawGradient(canvas, color, colorTo, look.Steps, second, look.Vertical);
}

} // namespace

void DrawProgressBar(gui::TCanvas* canvas, gui::TRect rect, TColor fillColor, TColor fillTextColor,
                     TColor emptyColor, TColor emptyTextColor, double value, int marginX, int marginY,
                     double minimum, double maximum, const std::string& format, TColor borderColor, bool upwardY)
{
    std::string text;
    long double percent = 0;
    if (!format.empty()) {
        if (minimum == maximum) return;  // no range to place the value in
        const bool integral = format.find('d') != std::string::npos || format.find('u') != std::string::npos;
        text = integral ? rtl::Format(format, static_cast<long long>(rtl::Round(value))) : rtl::Format(format, value);
        percent = rtl::Round((value - minimum) * 100.0L / (maximum - minimum));
    } else {
        text = rtl::IntToStr(rtl::Round(value)) + "%";
        percent = rtl::Round(value);
    }
    percent = std::clamp<long double>(percent, 0, 100);
    const TColor remembered = canvas->Brush()->Color();

    rect = gui::TRect(rect.Left + marginX, rect.Top + marginY, rect.Right - marginX, rect.Bottom - marginY);
    const int width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
    const int split = rect.Left + RoundInt(width * percent / 100);
    const gui::TRect filled(rect.Left, rect.Top, split, rect.Bottom), empty(split, rect.Top, rect.Right, rect.Bottom);
    const gui::TSize extent = canvas->TextExtent(text);
    const int x = rect.Left + (width - extent.cx) / 2;
    const int y = rect.Top + (height - (upwardY ? -extent.cy : extent.cy)) / 2;

    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(fillColor);
    canvas->Pen()->SetColor(fillColor);
    canvas->Font()->SetColor(fillTextColor);
    canvas->TextRect(filled, x, y, text);
    canvas->Brush()->SetColor(emptyColor);
    canvas->Pen()->SetColor(emptyColor);
    canvas->Font()->SetColor(emptyTextColor);
    canvas->TextRect(empty, x, y, text);

    rect = gui::TRect(rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1);
    if (borderColor != gui::clNone) {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(rect);
    }
    rect = gui::TRect(rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1);
    canvas->Brush()->SetColor(remembered);
    canvas->FrameRect(rect);
}

void DrawLevelProgressBar(gui::TCanvas* canvas, const gui::TRect& rect, int percent, const TProgressAppearance& look)
{
    const int length = look.Vertical ? rect.Bottom - rect.Top : rect.Right - rect.Left;
    const int j = length - 2;
    const TColor pen = look.ShowBorder ? look.BorderColor : look.UnCompleteColor;
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(look.UnCompleteColor);
    canvas->Pen()->SetColor(pen);
    canvas->Pen()->SetWidth(1);
    canvas->Rectangle(rect);

    // A stretch from offset to offset + len along the bar, from the start
    // edge (left, or bottom when vertical), inset by inset across it.
    auto along = [&](int offset, int len, int inset) {
        if (look.Vertical)
            return gui::TRect(rect.Left + inset, rect.Bottom - offset - len, rect.Right - inset, rect.Bottom - offset);
        return gui::TRect(rect.Left + offset, rect.Top + inset, rect.Left + offset + len, rect.Bottom - inset);
    };
    if (percent > 0) {
        const int p = std::min(percent, 100);
        if (look.Stacked) {
            const int len0 = RoundInt(std::min(p, look.Level1Perc) * j / 100.0L);
            FillSegment(canvas, along(1, len0, 1), look.Level0Color, look.Level0ColorTo, look);
            int used = len0;
            if (p >= look.Level1Perc) {
                const int len1 = RoundInt((std::min(p, look.Level2Perc) - look.Level1Perc) * j / 100.0L);
                FillSegment(canvas, along(1 + used, len1, 1), look.Level1Color, look.Level1ColorTo, look);
                used += len1;
                if (p >= look.Level2Perc) {
                    const int len2 = p == 100 ? j - used : RoundInt((p - look.Level2Perc) * j / 100.0L);
                    FillSegment(canvas, along(1 + used, len2, 1), look.Level3Color, look.Level3ColorTo, look);
                }
            }
        } else {
            TColor color = look.Level2Color, colorTo = look.Level2ColorTo;
            if (p < look.Level1Perc) color = look.Level0Color, colorTo = look.Level0ColorTo;
            else if (p < look.Level2Perc) color = look.Level1Color, colorTo = look.Level1ColorTo;
            else if (p > 99) color = look.Level3Color, colorTo = look.Level3ColorTo;
            if (look.CompletionSmooth) {
                FillSegment(canvas, along(1, RoundInt(p / 100.0L * j), 1), color, colorTo, look);
            } else {
                canvas->Brush()->SetColor(look.UnCompleteColor);
                const int a = RoundInt(p * j / 100.0L);
                if (a > 9) {
                    int start = 2;
                    for (int k = 0; k < a / 9; ++k, start += 9) FillSegment(canvas, along(start, 7, 2), color, colorTo, look);
                    if (a % 9 > 2) FillSegment(canvas, along(start, a % 9 - 1, 2), color, colorTo, look);
                } else if (a >= 2) {
                    FillSegment(canvas, along(2, a - 1, 2), color, colorTo, look);
                }
            }
        }
    }
    if (look.ShowPercentage) {
        if (look.Font) canvas->SetFont(look.Font);
        const std::string text = rtl::IntToStr(percent) + "%";
        const int oldMode = canvas->SetBkMode(gui::TRANSPARENT);
        const gui::TSize extent = canvas->TextExtent(text);
        const int cx = rect.Left + (rect.Right - rect.Left) / 2, cy = rect.Top + (rect.Bottom - rect.Top) / 2;
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        if (look.Vertical) {
            canvas->Font()->SetOrientation(900);
            canvas->TextOut(cx - extent.cy / 2, cy + extent.cx / 2, text);
            canvas->Font()->SetOrientation(0);
        } else {
            canvas->TextOut(cx - extent.cx / 2, cy - extent.cy / 2, text);
        }
        canvas->SetBkMode(oldMode);
    }
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    canvas->Pen()->SetColor(pen);
    canvas->Rectangle(rect);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

void DrawProgressPie(gui::TCanvas* canvas, const gui::TRect& rect, TColor color, int percent, bool upwardY)
{
    const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
    const int cx = rect.Left + w / 2, cy = rect.Top + h / 2;
    const long double a = percent / 100.0L * 2 * std::numbers::pi_v<long double>;
    canvas->Pen()->SetColor(cPieLine);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    canvas->Ellipse(rect);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas->MoveTo(cx, rect.Top);
    canvas->LineTo(cx, cy);
    canvas->LineTo(cx + RoundInt((w + 1) * 0.5L * std::sin(a)), cy - RoundInt((h + 1) * 0.5L * std::cos(a)));
    if (percent <= 0) return;
    canvas->Brush()->SetColor(color);
    if (percent >= 100) {
        canvas->FloodFill(cx + 2, upwardY ? rect.Top - 2 : rect.Top + 2, cPieLine, gui::TFillStyle::fsBorder);
        return;
    }
    // The seed lies inside the sector: on its middle ray, at the first
    // pixel from the centre that no outline covers.  A sector too thin to
    // hold such a pixel is all outline.
    const long double mid = a / 2, rx = w / 2.0L, ry = h / 2.0L;
    for (long double t = 0.2L; t < 0.95L; t += 0.05L) {
        const int sx = cx + RoundInt(t * rx * std::sin(mid)), sy = cy - RoundInt(t * ry * std::cos(mid));
        const long double angle = std::atan2(static_cast<long double>(sx - cx), static_cast<long double>(cy - sy));
        const long double turned = angle < 0 ? angle + 2 * std::numbers::pi_v<long double> : angle;
        if (turned <= 0 || turned >= a) continue;
        if (canvas->Pixels(sx, sy) == cPieLine) continue;
        canvas->FloodFill(sx, sy, cPieLine, gui::TFillStyle::fsBorder);
        return;
    }
}

void DrawSignedBar(gui::TCanvas* canvas, const gui::TRect& rect, int value, int maximum, bool showValue,
                   TColor negativeColor, TColor positiveColor)
{
    if (maximum == 0) return;
    const int lim = std::abs(maximum);
    const gui::TRect r(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
    const int c = (r.Right - r.Left) / 2;
    const int v = std::clamp(value, -lim, lim);
    const int x = RoundInt(static_cast<long double>(c) * v / lim);
    canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    if (v < 0) {
        canvas->Pen()->SetColor(negativeColor);
        canvas->Brush()->SetColor(negativeColor);
        canvas->Rectangle(r.Left + c + x, r.Top, r.Left + c, r.Bottom);
    } else {
        canvas->Pen()->SetColor(positiveColor);
        canvas->Brush()->SetColor(positiveColor);
        canvas->Rectangle(r.Left + c, r.Top, r.Left + c + x, r.Bottom);
    }
    if (showValue) {
        const int oldMode = canvas->SetBkMode(gui::TRANSPARENT);
        gui::TRect t = r;
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        canvas->DrawText(rtl::IntToStr(v), t, gui::DT_SINGLELINE | gui::DT_CENTER | gui::DT_TOP);
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        canvas->SetBkMode(oldMode);
    }
}

void DrawBitmapOnColor(gui::TCanvas* canvas, const gui::TBitmap* bitmap, TColor color, const gui::TRect& rect)
{
    if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
    const gui::TRect source(0, 0, bitmap->Width(), bitmap->Height());
    gui::TBitmap work;
    work.SetSize(bitmap->Width(), bitmap->Height());
    work.Canvas()->Brush()->SetColor(color);
    work.Canvas()->BrushCopy(source, bitmap, source, const_cast<gui::TBitmap*>(bitmap)->Canvas()->Pixels(0, 0));
    canvas->CopyRect(gui::TRect(rect.Left, rect.Top, rect.Left + source.Right, rect.Top + source.Bottom),
                     work.Canvas(), source);
}

} // namespace gridbase

namespace gridbase {

void DrawResourceBitmapOnColor(gui::TCanvas* canvas, TColor color, const gui::TRect& rect, const std::string& name)
{
    gui::TBitmap bitmap;
    bitmap.LoadFromResourceName(name);
    DrawBitmapOnColor(canvas, &bitmap, color, rect);
}

bool CallUpdateLayeredWindow(std::uintptr_t, std::uintptr_t, const gui::TPoint*, const gui::TSize*, std::uintptr_t,
                             const gui::TPoint*, TColor, const void*, uint32_t)
{
    return true;
}

bool CallSetLayeredWindowAttributes(std::uintptr_t, TColor, uint8_t, uint32_t) { return true; }

} // namespace gridbase
