// How the caption panel paints: body background (plain, gradient, mirror
// gradient), border and shadow, bevels, background picture, markup body
// text, caption bar with its shade pattern, shape, buttons and text, status
// bar and size grip; and the shade pattern of the caption (ShadeHeader).
#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

#include "controls/ExPanel.h"
#include "controls/ThemeBinding.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/ImgList.h"

namespace controls {

using namespace gui;

namespace {

int RValue(TColor c) { return static_cast<int>(c & 0xFF); }
int GValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
int BValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
TColor RGBColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Windows theme parts of the class "window".
constexpr int WP_CAPTION = 1, WP_MINBUTTON = 15, WP_MAXBUTTON = 17, WP_CLOSEBUTTON = 18;

} // namespace

// ---------------------------------------------------------- colour routines

TColor TCustomExPanel::BlendColor(TColor a, TColor b, int percent)
{
    if (percent == 100) return a;
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    const double p = percent / 100.0;
    auto mix = [p](int x, int y) { return static_cast<int>(std::nearbyint(p * x + (1 - p) * y)); };
    return RGBColor(mix(RValue(a), RValue(b)), mix(GValue(a), GValue(b)), mix(BValue(a), BValue(b)));
}

void TCustomExPanel::DrawPanelGradient(TCanvas& c, TColor from, TColor to, int steps, const TRect& r, bool horizontal)
{
    if (steps == 0) steps = 1;
    steps = std::min(steps, 32);
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    const double dr = (RValue(to) - RValue(from)) / static_cast<double>(steps);
    const double dg = (GValue(to) - GValue(from)) / static_cast<double>(steps);
    const double db = (BValue(to) - BValue(from)) / static_cast<double>(steps);
    const double e = (horizontal ? r.Right - r.Left : r.Bottom - r.Top) / static_cast<double>(steps);
    // Round here is the banker's rounding of the original arithmetic
    // (halves to even), which nearbyint gives in the default rounding mode.
    for (int i = 0; i < steps; ++i) {
        const TColor col = RGBColor(RValue(from) + static_cast<int>(std::nearbyint(i * dr)),
                                    GValue(from) + static_cast<int>(std::nearbyint(i * dg)),
                                    BValue(from) + static_cast<int>(std::nearbyint(i * db)));
        c.Pen()->SetColor(col);
        c.Brush()->SetColor(col);
        const int o = static_cast<uint16_t>(static_cast<long>(std::nearbyint(i * e)));
        if (horizontal) {
            const int x1 = r.Left + o, x2 = std::min(x1 + static_cast<int>(e) + 1, r.Right);
            c.Rectangle(x1, r.Top, x2, r.Bottom);
        } else {
            const int y1 = r.Top + o, y2 = std::min(y1 + static_cast<int>(e) + 1, r.Bottom);
            c.Rectangle(r.Left, y1, r.Right, y2);
        }
    }
}

void TCustomExPanel::DrawMirrorGradient(TCanvas& c, const TRect& r, TColor color, TColor colorTo, TColor mirror,
                                        TColor mirrorTo, TGradientDirection dir)
{
    if (color == clNone || mirror == clNone) return;
    if (dir == TGradientDirection::gdHorizontal) {
        const int half = (r.Right - r.Left) / 2;
        DrawPanelGradient(c, color, colorTo, 32, {r.Left, r.Top, r.Left + half, r.Bottom}, true);
        DrawPanelGradient(c, mirror, mirrorTo, 32, {r.Left + half, r.Top, r.Right, r.Bottom}, true);
    } else {
        const int half = (r.Bottom - r.Top) / 2;
        DrawPanelGradient(c, color, colorTo, 32, {r.Left, r.Top, r.Right, r.Top + half}, false);
        DrawPanelGradient(c, mirror, mirrorTo, 32, {r.Left, r.Top + half, r.Right, r.Bottom}, false);
    }
}

// ------------------------------------------------------------------- Paint

void TCustomExPanel::Paint()
{
    TRect R = ClientRect();
    std::unique_ptr<TBitmap> buffer;
    TCanvas* target = Canvas();
    if (FBuffered) {
        buffer = std::make_unique<TBitmap>();
        buffer->SetSize(std::max(1, R.Width()), std::max(1, R.Height()));
        target = buffer->Canvas();
    }
    TCanvas& c = *target;
    const int BV = BevelWidth();
    const int H = FCaption->Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;

    // Body background.
    if (FColorTo == clNone) {
        c.Pen()->SetColor(Color());
        c.Brush()->SetColor(Color());
        c.FillRect(R);
    } else if (FColorMirror == clNone) {
        DrawPanelGradient(c, Color(), FColorTo, 64, R, FGradientDirection == TGradientDirection::gdHorizontal);
    } else {
        DrawMirrorGradient(c, R, Color(), FColorTo, FColorMirror, FColorMirrorTo, FGradientDirection);
    }

    // Border line and shadow.
    if (FBorderColor != clNone && BorderWidth() > 0) {
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.Pen()->SetColor(FBorderColor);
        c.Pen()->SetWidth(1);
        if (FBorderShadow) {
            R.Right -= 2;
            R.Bottom -= 2;
        }
        c.Rectangle(R);
        if (FBorderShadow) {
            c.Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 50));
            c.MoveTo(R.Right, R.Top);
            c.LineTo(R.Right, R.Bottom);
            c.LineTo(R.Left, R.Bottom);
            c.Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 20));
            c.MoveTo(R.Right + 1, R.Top);
            c.LineTo(R.Right + 1, R.Bottom + 1);
            c.LineTo(R.Left, R.Bottom + 1);
        }
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
    }

    // Bevels.
    auto bevelColours = [](TBevelCut cut, TColor& tl, TColor& br) {
        if (cut == TBevelCut::bvLowered) {
            tl = clBtnShadow;
            br = clBtnHighlight;
        } else {
            tl = clBtnHighlight;
            br = clBtnShadow;
        }
    };
    TColor tl = 0, br = 0;
    if (BevelOuter() != TBevelCut::bvNone) {
        bevelColours(BevelOuter(), tl, br);
        c.Frame3D(R, tl, br, BV);
    }
    if (FBorderColor == clNone) c.Frame3D(R, Color(), Color(), 1);
    if (BevelInner() != TBevelCut::bvNone) {
        bevelColours(BevelInner(), tl, br);
        c.Frame3D(R, tl, br, BV);
    }

    // Background picture and body text, clipped to the body.
    c.Pen()->SetColor(Color());
    c.Brush()->SetColor(Color());
    R = ClientRect();
    if (FCaption->Visible()) {
        if (top) R.Top += H - 2 * BV;
        else R.Left += H - 2 * BV + 2;
    }
    if (FBorderShadow) {
        R.Right -= 2;
        R.Bottom -= 3;
    }
    {
        const TRegion clip = TRegion::CreateRect(R);
        c.SelectClipRgn(&clip);
    }
    if (!FBackground->Empty()) {
        const int PW = FBackground->Width(), PH = FBackground->Height(), W = Width(), Hp = Height();
        switch (FBackgroundPosition) {
        case TBackGroundPosition::bpTopLeft: c.Draw(R.Left, R.Top, FBackground.get()); break;
        case TBackGroundPosition::bpTopRight:
            c.Draw(std::max(R.Left, R.Right - R.Left - PW - BV), R.Top, FBackground.get());
            break;
        case TBackGroundPosition::bpBottomLeft:
            c.Draw(R.Left, std::max(R.Top, Hp - PH - BV), FBackground.get());
            break;
        case TBackGroundPosition::bpBottomRight:
            c.Draw(std::max(R.Left, R.Right - R.Left - PW - BV), std::max(R.Top, Hp - PH - BV), FBackground.get());
            break;
        case TBackGroundPosition::bpTiled:
            if (PW > 0 && PH > 0)
                for (int y = R.Top; y < Hp; y += PH)
                    for (int x = R.Left; x < W; x += PW) c.Draw(x, y, FBackground.get());
            break;
        case TBackGroundPosition::bpStretched: c.StretchDraw(R, FBackground.get()); break;
        case TBackGroundPosition::bpCenter:
            c.Draw(std::max(R.Left, R.Right - R.Left - PW - BV) / 2, std::max(R.Top, Hp - PH - BV) / 2,
                   FBackground.get());
            break;
        }
    }
    const int bw = BorderWidth() + 1;
    R = {R.Left + bw + FIndent, R.Top + bw + FTopIndent, R.Right - bw, R.Bottom - bw};
    const int SB = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    if (top) R.Bottom -= SB;
    else R.Right -= SB;
    c.Font()->Assign(Font());
    if (FTextVAlign != TTextVAlignment::tvaTop) {
        int h = 0;
        DrawMarkup(c, FText, R, true, true, false, -1, -1, -1, nullptr, &h, nullptr, nullptr, nullptr);
        if (FCaption->Visible()) R.Top += H - 2 * BV;
        if (h < R.Height()) {
            if (FTextVAlign == TTextVAlignment::tvaCenter) R.Top += (R.Height() - h) / 2;
            else R.Top = R.Bottom - h;
        }
    }
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    DrawMarkup(c, FText, R, !FEllipsis, false, false, FHoverHyperLink, -1, -1, nullptr, nullptr, nullptr, nullptr,
               nullptr);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.SelectClipRgn(nullptr);

    if (FCaption->Visible()) PaintCaption(c);
    if (FStatusBar->Visible()) PaintStatusBar(c);

    // Size grip.
    if (!FCollaps && FCanSize) {
        TRect g = ClientRect();
        if (BevelInner() != TBevelCut::bvNone || BevelOuter() != TBevelCut::bvNone)
            g = {g.Left + 2 * BV, g.Top + 2 * BV, g.Right - 2 * BV, g.Bottom - 2 * BV};
        if (FBorderShadow) {
            g.Right -= 4;
            g.Bottom -= 4;
        }
        const int r = g.Right, b = g.Bottom;
        c.Pen()->SetColor(0x808080);
        c.Pen()->SetWidth(2);
        for (int d : {11, 6, 3}) {
            const int dx = d == 6 ? 7 : d;
            c.MoveTo(r, b - d);
            c.LineTo(r - dx, b);
        }
        c.Pen()->SetColor(0xFFFFFF);
        c.Pen()->SetWidth(1);
        for (int d : {12, 8, 4}) {
            c.MoveTo(r, b - d);
            c.LineTo(r - d, b);
        }
    }

    if (OnPaint) OnPaint(this, &c, ClientRect());
    if (buffer) Canvas()->Draw(0, 0, buffer.get());
}

void TCustomExPanel::PaintCaption(TCanvas& c)
{
    TRect r = ClientRect();
    const int BV = BevelWidth();
    const int H = FCaption->Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    const int extra = FBorderShadow ? 3 : 0;
    if (FBorderShadow) {
        r.Left = BorderWidth();
        r.Top = BorderWidth();
        r.Right = r.Right - BorderWidth() - 2;
    }
    if (BevelInner() != TBevelCut::bvNone || BevelOuter() != TBevelCut::bvNone)
        r = {r.Left + BV, r.Top + BV, r.Right - BV, r.Bottom - BV};
    int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const TColor col = FCollaps ? FCaption->CloseColor() : FCaption->Color();
    c.Pen()->SetColor(col);
    c.Brush()->SetColor(col);
    c.Pen()->SetWidth(1);
    const TShadeType st = FCaption->ShadeType();
    if (st == TShadeType::stNormal || (st == TShadeType::stXPCaption && !IsThemed())) {
        const TRect cr = top ? TRect{L, T, R, T + H - 2 * BV} : TRect{L, T, L + H - 2 * BV, B - extra};
        if (FCaption->ColorTo() == clNone) c.Rectangle(cr);
        else
            DrawPanelGradient(c, FCaption->Color(), FCaption->ColorTo(), 64, cr,
                              FCaption->GradientDirection() == TGradientDirection::gdHorizontal);
    } else {
        DrawCaptionShape(c, top ? TRect{L, T, R, T + H - 2 * BV} : TRect{L, T, L + H - 2 * BV, B});
    }

    PaintCaptionButtons(c, L, T, R, B);

    c.Font()->Assign(FCaption->Font());
    if (!top) {
        // PaintCaptionButtons moved the edges already; the text keeps clear of both.
        R = L + H;
        B -= FCaption->Indent();
        L += FCaption->TopIndent();
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        TFont rotated;
        rotated.Assign(FCaption->Font());
        TLogFont lf = rotated.GetLogFont();
        lf.lfEscapement = 900;
        lf.lfOrientation = 900;
        rotated.SetLogFont(lf);
        c.Font()->Assign(&rotated);
        const std::string plain = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdPanel, FCaption->Text());
        // Text running upward from the bottom of the band, its top towards the left.
        const int th = c.TextHeight(plain.empty() ? std::string("X") : plain);
        c.TextOut(L + std::max(0, (R - L - th) / 2), B - 2, plain);
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
    } else {
        B = T + H;
        L += FCaption->Indent();
        T += FCaption->TopIndent();
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        DrawMarkup(c, FCaption->Text(), {L, T, R, B}, false, false, false, FCaptionHoverHyperLink, -1, -1, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

void TCustomExPanel::PaintCaptionButtons(TCanvas& c, int& L, int& T, int& R, int& B)
{
    const bool right = FCaption->ButtonPosition() == TCaptionButtonPosition::cbpRight;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    const bool themed = FCaption->ShadeType() == TShadeType::stXPCaption && IsThemed();
    auto themedRect = [&]() -> TRect {
        if (right && top) return {R - 16, T + 4, R - 2, T + 18};
        if (right) return {L + 4, T + 2, L + 18, T + 16};
        if (top) return {L + 2, T + 4, L + 16, T + 18};
        return {L + 4, B - 16, L + 18, B - 2};
    };
    auto glyphPos = [&](const TBitmap* g) -> TPoint {
        if (right && top) return {R - g->Width(), T + 2};
        if (right) return {L + 2, T};
        if (top) return {L, T + 2};
        return {L + 2, B - g->Height()};
    };
    auto moveEdge = [&](int by) {
        if (right && top) R -= by;
        else if (right) T += by;
        else if (top) L += by;
        else B -= by;
    };
    auto drawThemed = [&](int part, const TRect& rr) {
        TThemeBinding& b = APXPVS();
        HTHEME t = b.OpenThemeData(this, "window");
        if (t) {
            b.DrawThemeBackground(t, c, part, 1, rr, nullptr);
            b.CloseThemeData(t);
        }
    };
    auto drawGlyph = [&](const TBitmap* g, TPoint p) {
        TBitmap copy;
        copy.Assign(g);
        copy.SetTransparent(true);
        c.Draw(p.X, p.Y, &copy);
    };

    if (FCaption->CloseButton()) {
        const TBitmap* cmin = FCaption->CloseMinGlyph();
        const TBitmap* cmax = FCaption->CloseMaxGlyph();
        if (themed) {
            drawThemed(WP_CLOSEBUTTON, themedRect());
            moveEdge(14);
        } else if (!cmin->Empty() && !cmax->Empty()) {
            const TBitmap* g = FCollaps ? cmin : cmax;
            drawGlyph(g, glyphPos(g));
            moveEdge(right && !top ? g->Height() : (!right && !top ? g->Height() : g->Width()));
        } else {
            const TColor hc = FCaption->CloseButtonHoverColor();
            c.Pen()->SetColor(FCloseHover && hc != clNone ? hc : FCaption->CloseButtonColor());
            c.Pen()->SetWidth(2);
            if (top && right) {
                c.MoveTo(R - 10, T + 4); c.LineTo(R - 4, T + 10);
                c.MoveTo(R - 4, T + 4); c.LineTo(R - 10, T + 10);
            } else if (!top && !right) {
                c.MoveTo(L + 4, B - 4); c.LineTo(L + 10, B - 10);
                c.MoveTo(L + 10, B - 4); c.LineTo(L + 4, B - 10);
            } else {
                c.MoveTo(L + 4, T + 4); c.LineTo(L + 10, T + 10);
                c.MoveTo(L + 10, T + 4); c.LineTo(L + 4, T + 10);
            }
            c.Pen()->SetWidth(1);
            moveEdge(12);
        }
    }
    if (FCaption->MinMaxButton()) {
        const TBitmap* g = FCollaps ? FCaption->MaxGlyph() : FCaption->MinGlyph();
        if (themed) {
            drawThemed(FCollaps ? WP_MAXBUTTON : WP_MINBUTTON, themedRect());
        } else if (!g->Empty()) {
            drawGlyph(g, glyphPos(g));
        } else {
            const TColor hc = FCaption->MinMaxButtonHoverColor();
            const TColor col = FMinMaxHover && hc != clNone ? hc : FCaption->MinMaxButtonColor();
            c.Pen()->SetColor(col);
            c.Brush()->SetColor(col);
            c.Pen()->SetWidth(1);
            std::vector<TPoint> pts;
            if (right && top)
                pts = FCollaps ? std::vector<TPoint>{{R - 10, T + 5}, {R - 4, T + 5}, {R - 7, T + 8}}
                               : std::vector<TPoint>{{R - 10, T + 8}, {R - 4, T + 8}, {R - 7, T + 5}};
            else if (right)
                pts = FCollaps ? std::vector<TPoint>{{L + 5, T + 10}, {L + 5, T + 4}, {L + 8, T + 7}}
                               : std::vector<TPoint>{{L + 8, T + 10}, {L + 8, T + 4}, {L + 5, T + 7}};
            else if (top)
                pts = FCollaps ? std::vector<TPoint>{{L + 4, T + 5}, {L + 10, T + 5}, {L + 7, T + 8}}
                               : std::vector<TPoint>{{L + 4, T + 8}, {L + 10, T + 8}, {L + 7, T + 5}};
            else
                pts = FCollaps ? std::vector<TPoint>{{L + 5, B - 4}, {L + 5, B - 10}, {L + 8, B - 7}}
                               : std::vector<TPoint>{{L + 8, B - 4}, {L + 8, B - 10}, {L + 5, B - 7}};
            c.Polygon(pts);
        }
        // The caption text keeps clear of this button too.
        moveEdge(themed ? 14 : (!g->Empty() ? (top ? g->Width() : g->Height()) : 12));
    }
}

void TCustomExPanel::DrawCaptionShape(TCanvas& c, TRect r)
{
    const TShadeType st = FCaption->ShadeType();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    if (st == TShadeType::stXPCaption) {
        if (!IsThemed()) return;
        TThemeBinding& b = APXPVS();
        if (HTHEME t = b.OpenThemeData(this, "window")) {
            b.DrawThemeBackground(t, c, WP_CAPTION, 1, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, nullptr);
            b.CloseThemeData(t);
        }
        return;
    }
    if (st == TShadeType::stBitmap || st == TShadeType::stBitmapRStretch || st == TShadeType::stBitmapLStretch) {
        const TBitmap* bg = FCaption->Background();
        if (bg->Empty()) return;
        const int BW = bg->Width(), BH = bg->Height();
        TCanvas* src = const_cast<TBitmap*>(bg)->Canvas();
        if (st == TShadeType::stBitmap) {
            c.StretchDraw(r, bg);
        } else if (st == TShadeType::stBitmapRStretch) {
            if (top) {
                c.Draw(r.Left, r.Top, bg);
                c.CopyRect({BW, r.Top, r.Right, r.Bottom}, src, {BW - 3, 0, BW, BH});
            } else {
                c.Draw(r.Left, r.Bottom - BH, bg);
                c.CopyRect({r.Left, r.Top, r.Right, r.Bottom - BH}, src, {0, 0, BW, 3});
            }
        } else {
            if (top) {
                const int d = std::max(0, Width() - BW);
                c.Draw(r.Left + d, r.Top, bg);
                c.CopyRect({0, r.Top, d, r.Bottom}, src, {0, 0, 2, BH});
            } else {
                const int d = std::max(0, Height() - BH);
                c.Draw(r.Left, r.Top, bg);
                c.CopyRect({0, r.Bottom - d, r.Right, r.Bottom}, src, {0, BH - 3, BW, BH});
            }
        }
        return;
    }
    int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const TColor light = 0xFFFFFF, dark = 0x808080;
    TRegion finalClip;
    switch (FCaption->Shape()) {
    case TCaptionShape::csRectangle:
        if (!FCaption->Flat()) {
            c.Pen()->SetColor(dark);
            c.MoveTo(L, B - 1);
            c.LineTo(R - 1, B - 1);
            c.LineTo(R - 1, T);
            c.Pen()->SetColor(light);
            c.LineTo(L, T);
            c.LineTo(L, B - 1);
            ++L;
            ++T;
            --R;
            --B;
        }
        finalClip = TRegion::CreateRect({L, T, R, B});
        break;
    case TCaptionShape::csRounded: {
        const TRegion lower = TRegion::CreateRoundRect({L, T + (B - T) / 2, R, B}, 32, 32);
        c.Pen()->SetColor(dark);
        c.SelectClipRgn(&lower);
        c.RoundRect(L, T, R, B, 32, 32);
        c.SelectClipRgn(nullptr);
        c.Pen()->SetColor(light);
        c.RoundRect(L, T, R, B, 32, 32);
        c.Pen()->SetColor(dark);
        c.MoveTo(L + 16, B - 1);
        c.LineTo(R - 16, B - 1);
        T += 1;
        finalClip = TRegion::CreateRoundRect({L, T, R, B}, 32, 32);
        break;
    }
    case TCaptionShape::csSemiRounded: {
        const TRegion lower = TRegion::CreateRoundRect({L, T + (B - T) / 2, R, B}, 32, 32);
        const TRegion upper = TRegion::CreateRoundRect({L, T, R, B - (B - T) / 2}, 32, 32);
        c.Pen()->SetColor(dark);
        c.SelectClipRgn(&lower);
        c.RoundRect(L, T, R, B, 32, 32);
        c.Pen()->SetColor(light);
        c.SelectClipRgn(&upper);
        c.RoundRect(L, T, R, B, 32, 32);
        c.SelectClipRgn(nullptr);
        c.Pen()->SetColor(light);
        c.MoveTo(L + (R - L) / 2, T);
        c.LineTo(L, T);
        c.LineTo(L, B - 1);
        c.Pen()->SetColor(dark);
        c.LineTo(R - 16, B - 1);
        T += 1;
        L += 1;
        const TRegion round = TRegion::CreateRoundRect({L, T, R, B}, 32, 32);
        const TRegion square = TRegion::CreateRect({L, T, R - (R - L) / 2, B - 1});
        finalClip.Combine(round, square, RGN_OR);
        break;
    }
    }
    c.SelectClipRgn(&finalClip);
    c.Draw(L, T, FShade.get());
    c.SelectClipRgn(nullptr);
}

void TCustomExPanel::PaintStatusBar(TCanvas& c)
{
    const int SB = FStatusBar->Height(), W = Width(), Hp = Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    TRect S = top ? TRect{1, Hp - SB - 1, W - 1, Hp - 1} : TRect{W - SB - 1, 1, W - 1, Hp - 1};
    if (FStatusBar->Color() != clNone && FStatusBar->ColorTo() != clNone) {
        DrawPanelGradient(c, FStatusBar->Color(), FStatusBar->ColorTo(), 40, S,
                          FStatusBar->GradientDirection() == TGradientDirection::gdHorizontal);
    } else if (FStatusBar->Color() != clNone) {
        c.Pen()->SetColor(FStatusBar->Color());
        c.Brush()->SetColor(FStatusBar->Color());
        c.Rectangle(S);
    }
    if (FStatusBar->ImageIndex() >= 0 && FImages) {
        if (!top) {
            const int y = (FCollaps || !FCanSize) ? S.Bottom - FImages->Height() - 1 : S.Bottom - FImages->Height() - 12;
            FImages->Draw(&c, S.Left + 2, y, FStatusBar->ImageIndex());
            S.Bottom -= FImages->Height() + 2;
        } else {
            FImages->Draw(&c, S.Left + 1, S.Top + 2, FStatusBar->ImageIndex());
            S.Left += FImages->Width() + 2;
        }
    }
    c.Font()->Assign(FStatusBar->Font());
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    if (!top) {
        TFont rotated;
        rotated.Assign(FStatusBar->Font());
        rotated.SetOrientation(900);
        c.Font()->Assign(&rotated);
        const std::string plain = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdPanel, FStatusBar->Text());
        c.TextOut(S.Left + 2, (FCollaps || !FCanSize) ? S.Bottom - 2 : S.Bottom - 16, plain);
    } else {
        DrawMarkup(c, FStatusBar->Text(), {S.Left + 2, S.Top, S.Right, S.Bottom}, true, false, false,
                   FCaptionHoverHyperLink, -1, -1, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    if (FStatusBar->BorderStyle() != TBorderStyle::bsNone && FStatusBar->BorderColor() != clNone) {
        c.Pen()->SetWidth(1);
        c.Pen()->SetColor(FStatusBar->BorderColor());
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        if (!top) c.Rectangle(S.Left, S.Top, S.Right + 1, Hp);
        else c.Rectangle(0, S.Top, S.Right + 1, S.Bottom + 1);
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
    }
    if (FStatusBar->BevelInner()) {
        c.Pen()->SetWidth(1);
        if (!top) {
            c.Pen()->SetColor(0x808080);
            c.MoveTo(S.Left, Hp); c.LineTo(S.Left, S.Top); c.LineTo(S.Right - 1, S.Top);
            c.Pen()->SetColor(0xFFFFFF);
            c.MoveTo(S.Left, Hp); c.LineTo(S.Right - 1, Hp); c.LineTo(S.Right - 1, S.Top);
        } else {
            c.Pen()->SetColor(0x808080);
            c.MoveTo(0, S.Bottom - 1); c.LineTo(0, S.Top); c.LineTo(S.Right, S.Top);
            c.Pen()->SetColor(0xFFFFFF);
            c.MoveTo(0, S.Bottom - 1); c.LineTo(S.Right - 1, S.Bottom - 1); c.LineTo(S.Right - 1, S.Top);
        }
    }
}

// ------------------------------------------------------------- ShadeHeader

void TCustomExPanel::ShadeHeader()
{
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    int Wb = top ? Width() : FCaption->Height();
    int Hb = top ? FCaption->Height() : Height();
    if (Wb <= 0) Wb = top ? 100 : 20;
    if (Hb <= 0) Hb = top ? 20 : 100;
    FShade->SetSize(Wb, Hb);
    TCanvas& c = *FShade->Canvas();
    c.Brush()->SetColor(clWhite);
    c.FillRect({0, 0, Wb, Hb});
    std::mt19937 rng(static_cast<unsigned>(std::time(nullptr)));
    auto random = [&rng](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int L = FCaption->ShadeLight() & 0xFF;
    const TColor base = ColorToRGB(FCaption->Color());
    const int r0 = RValue(base), g0 = GValue(base), b0 = BValue(base);
    auto col = [&](int a) { return RGBColor((r0 * a / 255) & 0xFF, (g0 * a / 255) & 0xFF, (b0 * a / 255) & 0xFF); };
    // Writes outside the bitmap (the inclusive loops and the metal strokes
    // reach one past its edge) are ignored by the canvas.
    auto set = [&](int x, int y, TColor v) { c.SetPixels(x, y, v); };
    auto bump = [](int t, int factor) { return (t * t * t / 16384) * factor / 128 + 128; };
    switch (FCaption->ShadeType()) {
    case TShadeType::stNormal:
    case TShadeType::stBitmap:
    case TShadeType::stBitmapRStretch:
    case TShadeType::stBitmapLStretch:
        c.Brush()->SetColor(FCaption->Color());
        c.FillRect({0, 0, Wb, Hb});
        break;
    case TShadeType::stXPCaption: break;
    case TShadeType::stNoise:
        for (int x = 0; x <= Wb; ++x)
            for (int y = 0; y <= Hb; ++y) set(x, y, col(L - (random(FCaption->ShadeGrain()) + 128) / 2));
        break;
    case TShadeType::stDiagShade:
    case TShadeType::stLMetal:
    case TShadeType::stRMetal: {
        if (FCaption->ShadeType() != TShadeType::stDiagShade) {
            const bool left = FCaption->ShadeType() == TShadeType::stLMetal;
            for (int k = 0; k < 251; ++k) {
                const int x0 = random(Wb), y0 = random(Hb), n = random(std::min(Wb, Hb) / 2);
                const TColor v = col(L - random(40));
                for (int i = 0; i < n; ++i) {
                    if (x0 - i > 0 && y0 + i < Hb) set(left ? x0 + i : x0 - i, y0 + i, v);
                    if (x0 + i < Wb && y0 - i > 0) set(left ? x0 - i : x0 + i, y0 - i, v);
                }
            }
        }
        const int f = FCaption->ShadeType() == TShadeType::stDiagShade ? 129 : 120;
        for (int x = 0; x <= Wb; ++x)
            for (int y = 0; y <= Hb; ++y) {
                const TColor cur = c.Pixels(x, y);
                const int bl = cur == clNone ? 0 : BValue(cur);
                set(x, y, col(L - (L - bl + f * x / Wb + f * y / Hb) / 2));
            }
        break;
    }
    case TShadeType::stHShade:
    case TShadeType::stHShadeInv: {
        const bool inv = FCaption->ShadeType() == TShadeType::stHShadeInv;
        for (int x = 0; x <= Wb; ++x) {
            const int a = (Wb - x) * 239 / Wb + 8;
            for (int y = 0; y <= Hb; ++y) set(inv ? Wb - x : x, y, col(L - a / 2));
        }
        break;
    }
    case TShadeType::stVShade:
    case TShadeType::stVShadeInv: {
        const bool inv = FCaption->ShadeType() == TShadeType::stVShadeInv;
        for (int y = 0; y <= Hb; ++y) {
            const int a = 239 * y / Hb + 8;
            for (int x = 0; x <= Wb; ++x) set(x, inv ? Hb - y : y, col(L - a / 4));
        }
        break;
    }
    case TShadeType::stHBump:
        for (int x = 0; x <= Wb; ++x) {
            const int a = bump((Wb - x) * 255 / Wb - 127, 120);
            for (int y = 0; y <= Hb; ++y) set(x, y, col(L - a / 2));
        }
        break;
    case TShadeType::stVBump:
        for (int y = 0; y <= Hb; ++y) {
            const int a = bump(y * 255 / Hb - 127, 120);
            for (int x = 0; x <= Wb; ++x) set(x, y, col(L - a / 2));
        }
        break;
    case TShadeType::stSoftBump:
        for (int y = 0; y <= Hb; ++y)
            for (int x = 0; x <= Wb; ++x) {
                const int ty = y * 255 / Hb - 127, tx = (Wb - x) * 255 / Wb - 127;
                const int s = ty * ty * ty / 128 / 128 + tx * tx * tx / 128 / 128;
                const int a = std::clamp(s * 120 / 128 + 128, 8, 247);
                set(x, y, col(L - a / 2));
            }
        break;
    case TShadeType::stHardBump: {
        for (int y = 0; y <= Hb; ++y) {
            const int a = bump(y * 255 / Hb - 127, 112);
            for (int x = 0; x <= Wb; ++x) set(x, y, col(L - a / 2));
        }
        const int k = std::max(1, std::min(Wb / 6, 16));
        const int q = std::max(1, Hb * Hb / 4), cx = Wb / 2;
        for (int y = 0; y <= Hb; ++y)
            for (int x = 0; x <= Wb; ++x) {
                const int dy = y - Hb / 2;
                const int edge = dy * dy * k / q + cx - k;
                if (edge < x - cx) set(x, y, col(L - (((Wb - x) << 7) / k + 8) / 2));
                else if (x - cx + edge < 0) set(x, y, col(L - (247 - x * 128 / k) / 2));
            }
        break;
    }
    case TShadeType::stIRadial:
    case TShadeType::stORadial: {
        // The normalising distance is the half diagonal: never zero and not
        // smaller than any distance of the quarter loop.
        const int hx = Wb / 2, hy = Hb / 2;
        const double D = std::max(1.0, std::sqrt(double(hx) * hx + double(hy) * hy));
        const bool inner = FCaption->ShadeType() == TShadeType::stIRadial;
        for (int x = 0; x <= hx; ++x)
            for (int y = 0; y <= hy; ++y) {
                const double dist = std::nearbyint(std::sqrt(double(x - hx) * (x - hx) + double(y - hy) * (y - hy)));
                const int v = static_cast<int>(std::nearbyint((inner ? (D - dist) : dist) / D * L));
                const TColor pc = RGBColor(r0 * v / 255, g0 * v / 255, b0 * v / 255);
                set(x, y, pc);
                set(Wb - x, Hb - y, pc);
                set(Wb - x, y, pc);
                set(x, Hb - y, pc);
            }
        break;
    }
    }
    Invalidate();
}

} // namespace controls
