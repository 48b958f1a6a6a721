// TExProgressBar and DrawGauge.

#include "controls/ExProgressBar.h"
#include "controls/VersionText.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace controls {

using namespace gui;

namespace {

// Rounding to the nearest integer, halves to even.
int Round(double v) { return static_cast<int>(std::lrint(v)); }

constexpr TColor kMagenta = 0xFF00FF;

void Solid(TCanvas* c, TColor color)
{
    c->Pen()->SetColor(color);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(color);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// Bands from colour a to b across q: along y for horizontal bars, along x
// for vertical ones.
void GaugeGradient(TCanvas* c, TColor a, TColor b, const TRect& q, int steps, bool horizontal)
{
    const int n = steps <= 0 ? 1 : steps;
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    const int extent = horizontal ? q.Height() : q.Width();
    const double h = static_cast<double>(extent) / n;
    for (int i = 0; i < n; ++i) {
        auto ch = [&](uint8_t x, uint8_t y) {
            return static_cast<uint8_t>(x + Round(static_cast<double>(i) * (y - x) / n));
        };
        Solid(c, RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b))));
        if (horizontal) {
            const int top = q.Top + Round(i * h);
            c->Rectangle(q.Left, top, q.Right, std::min(q.Bottom, top + static_cast<int>(h) + 1));
        } else {
            const int left = q.Left + Round(i * h);
            c->Rectangle(left, q.Top, std::min(q.Right, left + static_cast<int>(h) + 1), q.Bottom);
        }
    }
}

struct Painter {
    TCanvas* c;
    const TGaugeSettings& s;
    bool horizontal;

    // A level's fill: a tube, pale at both edges and strong in the middle.
    void FillLevel(const TRect& f, TColor m, TColor mt) const
    {
        if (s.ShowGradient) {
            if (horizontal) {
                const int mid = f.Top + (f.Bottom - f.Top) / 2;
                GaugeGradient(c, mt, m, TRect{f.Left, f.Top, f.Right, mid}, s.Steps, true);
                GaugeGradient(c, m, mt, TRect{f.Left, mid, f.Right, f.Bottom}, s.Steps, true);
            } else {
                const int mid = f.Left + (f.Right - f.Left) / 2;
                GaugeGradient(c, mt, m, TRect{f.Left, f.Top, mid, f.Bottom}, s.Steps, false);
                GaugeGradient(c, m, mt, TRect{mid, f.Top, f.Right, f.Bottom}, s.Steps, false);
            }
        } else {
            Solid(c, m);
            c->Rectangle(f);
        }
    }
};

} // namespace

std::string GaugeText(const TGaugeSettings& s, int percent)
{
    if (!s.Format.empty()) {
        try {
            return rtl::Format(s.Format, {s.Value, s.Max});
        } catch (const rtl::Exception&) {
            return {};
        }
    }
    return s.ShowPercentage ? std::to_string(percent) + "%" : std::to_string(s.Value);
}

void DrawGauge(TCanvas* c, const TRect& r, const TGaugeSettings& s)
{
    const int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom;
    const bool horizontal = s.Orientation == TGaugeOrientation::goHorizontal;
    int W = horizontal ? Rt - L : B - T;
    // A position above a lowered Max would paint past the border.
    int P = std::clamp(s.Position, 0, 100);
    int l1 = s.Level1Perc, l2 = s.Level2Perc;
    Painter fill{c, s, horizontal};

    if (s.Rounded) {
        Solid(c, kMagenta);
        c->FillRect(r);
    }
    if (s.Infinite) {
        P = 100;
        l1 = l2 = 101;
    }
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(s.BackgroundColor);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(s.ShowBorder ? s.BorderColor : s.BackgroundColor);
    if (s.Rounded) c->RoundRect(L, T, Rt, B, 6, 6);
    else c->Rectangle(L, T, Rt, B);
    W -= 2;

    if (s.Level0BkColor != clNone || s.Level1BkColor != clNone || s.Level2BkColor != clNone) {
        const int a = Round(l1 / 100.0 * W);
        const int g = Round(W * (l2 - l1) / 100.0);
        const int rest = W - a - g;
        TRect z0, z1, z2;
        if (horizontal) {
            z0 = TRect{L + 2, T + 1, L + a, B - 1};
            z1 = TRect{z0.Right, T + 1, z0.Right + g, B - 1};
            z2 = TRect{z1.Right, T + 1, z1.Right + rest, B - 1};
        } else {
            z0 = TRect{L + 1, B - a + 1, Rt - 1, B - 2};
            z1 = TRect{L + 1, z0.Top - g, Rt - 1, z0.Top};
            z2 = TRect{L + 1, z1.Top - 1 - rest, Rt - 1, z1.Top - 1};
        }
        const TColor bk[3] = {s.Level0BkColor, s.Level1BkColor, s.Level2BkColor};
        const TRect* zones[3] = {&z0, &z1, &z2};
        for (int i = 0; i < 3; ++i)
            if (bk[i] != clNone) {
                Solid(c, bk[i]);
                c->Rectangle(*zones[i]);
            }
    }

    if (P > 0) {
        if (s.Stacked) {
            const int len0 = Round(std::min(P, l1) / 100.0 * W);
            const TRect s0 = horizontal ? TRect{L + 2, T + 1, L + len0, B - 1} : TRect{L + 1, B - len0 + 1, Rt - 1, B - 2};
            fill.FillLevel(s0, s.Level0Color, s.Level0ColorTo);
            if (P >= l1) {
                const int len1 = Round(W * (std::min(P, l2) - l1) / 100.0);
                const TRect s1 = horizontal ? TRect{s0.Right, T + 1, s0.Right + len1, B - 1}
                                            : TRect{L + 1, s0.Top - len1, Rt - 1, s0.Top};
                fill.FillLevel(s1, s.Level1Color, s.Level1ColorTo);
                if (P >= l2) {
                    const int len2 = P == 100 ? W - len0 - len1 : Round(W * (P - l2) / 100.0);
                    const TRect s2 = horizontal ? TRect{s1.Right, T + 1, s1.Right + len2, B - 1}
                                                : TRect{L + 1, s1.Top - 1 - len2, Rt - 1, s1.Top - 1};
                    fill.FillLevel(s2, s.Level2Color, s.Level2ColorTo);
                }
            }
        } else {
            TColor m, mt;
            if (P < l1) m = s.Level0Color, mt = s.Level0ColorTo;
            else if (P < l2) m = s.Level1Color, mt = s.Level1ColorTo;
            else if (P > 99) m = s.Level3Color, mt = s.Level3ColorTo;
            else m = s.Level2Color, mt = s.Level2ColorTo;
            if (s.CompletionSmooth) {
                const int n = Round(P / 100.0 * W);
                fill.FillLevel(horizontal ? TRect{L + 2, T + 2, L + n, B - 2} : TRect{L + 2, B - n, Rt - 2, B - 2}, m, mt);
            } else {
                const int n = Round(P * W / 100.0);
                if (n < 10) {
                    if (n > 1)
                        fill.FillLevel(horizontal ? TRect{L + 2, T + 2, L + n + 1, B - 2}
                                                  : TRect{L + 2, B - n - 1, Rt - 2, B - 2},
                                       m, mt);
                } else {
                    TRect block = horizontal ? TRect{L + 2, T + 2, L + 9, B - 2} : TRect{L + 2, B - 9, Rt - 2, B - 2};
                    fill.FillLevel(block, m, mt);
                    for (int i = 0; i < n / 9 - 1; ++i) {
                        if (horizontal) block = TRect{block.Right + 2, T + 2, block.Right + 9, B - 2};
                        else block = TRect{L + 2, block.Top - 9, Rt - 2, block.Top - 2};
                        fill.FillLevel(block, m, mt);
                    }
                    const int rem = n % 9;
                    if (rem > 2) {
                        if (horizontal) block = TRect{block.Right + 2, T + 2, block.Right + rem + 1, B - 2};
                        else block = TRect{L + 2, std::max(T + 2, block.Top - rem - 1), Rt - 2, block.Top - 2};
                        fill.FillLevel(block, m, mt);
                    }
                }
            }
        }
    }

    if (s.Infinite) {
        Solid(c, s.BackgroundColor);
        if (horizontal) {
            const int p = Rt - L <= 4 ? 0 : Round(s.InfinitePos / 100.0 * (Rt - L - 4));
            c->Rectangle(L + 2, T + 1, std::max(L + 2, L + 2 + p - 12), B - 1);
            c->Rectangle(std::min(Rt - 2, L + p + 12), T + 2, Rt - 2, B - 2);
        } else {
            const int p = B - T <= 4 ? 0 : Round(s.InfinitePos / 100.0 * (B - T - 4));
            c->Rectangle(L + 2, T + 2, Rt - 2, std::max(T + 2, T + 2 + p - 12));
            c->Rectangle(L + 2, std::min(B - 2, T + p + 12), Rt - 2, B - 2);
        }
    }

    if (s.ShowPosition) {
        const std::string text = GaugeText(s, P);
        if (s.Font) c->SetFont(s.Font);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->SetBkMode(TRANSPARENT);
        const TSize ext = c->TextExtent(text);
        if (horizontal) {
            c->TextOut(L + (Rt - L) / 2 - ext.cx / 2, T + (B - T) / 2 - ext.cy / 2, text);
        } else {
            c->Font()->SetOrientation(900);
            c->TextOut(L + (Rt - L) / 2 - ext.cy / 2, T + (B - T) / 2 + ext.cx / 2, text);
            c->Font()->SetOrientation(0);
        }
    }
}

// ------------------------------------------------------------ the control

TExProgressBar::TExProgressBar(rtl::TComponent* owner)
    : TGraphicControl(owner), FFont(std::make_unique<TFont>())
{
    SetBounds(0, 0, 128, 18);
    FFont->SetName("Verdana");
    FFont->SetSize(10);
    FFont->OnChange = [this](rtl::TObject*) { Invalidate(); };
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(static_cast<unsigned>(FInfiniteInterval));
    FTimer->OnTimer = [this](rtl::TObject*) { AnimateTick(); };
}

TExProgressBar::~TExProgressBar() = default;

void TExProgressBar::SetMin(int v)
{
    FMin = v;
    FMaxIncrement = (FMax - v) / 100;
    Invalidate();
}

void TExProgressBar::SetMax(int v)
{
    FMax = v;
    FMaxIncrement = (v - FMin) / 100;
    Invalidate();
}

void TExProgressBar::SetPosition(int v)
{
    if (v < FMin) {
        FPosition = FMin;
        return;
    }
    if (v > FMax) {
        FPosition = FMax;
        return;
    }
    FPosition = v;
    if (FMaxIncrement == 0 || v % FMaxIncrement == 0 || v / FMaxIncrement != FOldBlockPos) Paint();
    if (FMaxIncrement != 0) FOldBlockPos = FPosition / FMaxIncrement;
}

void TExProgressBar::UpdateTimer() { FTimer->SetEnabled(FSet.Infinite && FAnimated); }

void TExProgressBar::SetInfinite(bool v)
{
    // Switching on starts the block at the beginning; setting it on again
    // leaves the running block where it is.
    if (v && !FSet.Infinite) FSet.InfinitePos = 0;
    FSet.Infinite = v;
    UpdateTimer();
    Invalidate();
}

void TExProgressBar::SetAnimated(bool v)
{
    FAnimated = v;
    UpdateTimer();
    Invalidate();
}

void TExProgressBar::SetInfiniteInterval(int ms)
{
    FInfiniteInterval = ms;
    FTimer->SetInterval(static_cast<unsigned>(std::max(0, ms)));
}

std::string TExProgressBar::Version() const { return VersionText(GetVersionNr()); }

void TExProgressBar::AnimateTick()
{
    if (FInfiniteInc) {
        FSet.InfinitePos += 4;
        if (FSet.InfinitePos > 99) {
            FSet.InfinitePos = 100;
            FInfiniteInc = false;
        }
    } else {
        FSet.InfinitePos -= 4;
        if (FSet.InfinitePos < 1) {
            FSet.InfinitePos = 0;
            FInfiniteInc = true;
        }
    }
    Paint();
}

void TExProgressBar::Dispatch(TMessage& m)
{
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 0;
        return;
    }
    TGraphicControl::Dispatch(m);
}

void TExProgressBar::Paint()
{
    if (!Visible() || !Parent()) return;
    TGaugeSettings s = FSet;
    s.Position = FMax == FMin ? 0 : Round(static_cast<double>(FPosition - FMin) / (FMax - FMin) * 100);
    s.Value = FPosition;
    s.Max = FMax;
    s.ParentColor = Parent()->Color();
    s.Font = FFont.get();
    const int w = std::max(1, ClientWidth()), h = std::max(1, ClientHeight());
    TBitmap bmp(w, h);
    DrawGauge(bmp.Canvas(), TRect{0, 0, ClientWidth(), ClientHeight()}, s);
    if (FSet.Rounded) bmp.SetTransparent(true);
    Canvas()->Draw(0, 0, &bmp);
}

} // namespace controls
