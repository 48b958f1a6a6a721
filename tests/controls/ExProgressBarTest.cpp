// The progress bar: synchronous repaints while a position is set, the
// clamping of positions, and the gauge drawing checked at pixels.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExProgressBar.h"
#include "platform/gui/ExtCtrls.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

class CountingBar : public TExProgressBar {
public:
    using TExProgressBar::TExProgressBar;
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        TExProgressBar::Paint();
    }
};

// Plain colours, no text, no rounding: what a probe pixel shows is the level.
TGaugeSettings PlainSettings()
{
    TGaugeSettings s;
    s.Level0Color = 0x0000C0;
    s.Level1Color = 0x00C000;
    s.Level2Color = 0xC00000;
    s.Level3Color = 0xC0C000;
    s.ShowGradient = false;
    s.ShowPosition = false;
    s.Rounded = false;
    s.CompletionSmooth = true;
    s.BackgroundColor = clWhite;
    s.BorderColor = clBlack;
    return s;
}

TColor Draw(TBitmap& b, const TGaugeSettings& s, int x, int y)
{
    DrawGauge(b.Canvas(), TRect{0, 0, b.Width(), b.Height()}, s);
    return PixelAt(b, x, y);
}

} // namespace

TEST(ExProgressBar, PositionRepaintsOncePerPercentBlock)
{
    Host h;
    auto* bar = new CountingBar(&h.form);
    bar->SetParent(&h.form);
    h.Show();
    bar->SetMax(1000);
    bar->paints = 0;
    for (int v = 0; v <= 1000; ++v) bar->SetPosition(v);
    EXPECT_EQ(bar->paints, 101);
    EXPECT_EQ(bar->Position(), 1000);

    // Small ranges repaint at every change.
    bar->SetMax(50);
    bar->paints = 0;
    for (int v = 0; v <= 50; ++v) bar->SetPosition(v);
    EXPECT_EQ(bar->paints, 51);

    // Out of range: clamped, no paint.
    bar->SetMax(100);
    bar->paints = 0;
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->paints, 0);
}

TEST(ExProgressBar, PercentageIsMeasuredFromMin)
{
    Host h;
    auto* bar = new TExProgressBar(&h.form);
    bar->SetParent(&h.form);
    bar->SetBounds(10, 10, 128, 18);
    bar->SetRounded(false);
    bar->SetShowPosition(false);
    bar->SetShowGradient(false);
    bar->SetCompletionSmooth(true);
    bar->SetLevel0Color(0x0000C0);
    bar->SetMin(50);
    bar->SetMax(150);
    bar->SetPosition(100);
    h.Show();
    auto img = h.Image();
    // W = 126, 50 %: filled from x 2 to 2 + 61 (n = 63, right edge L + n).
    EXPECT_EQ(PixelAt(*img, 10 + 62, 19), 0x0000C0u);
    EXPECT_EQ(PixelAt(*img, 10 + 64, 19), 0xFFFFFFu);
    bar->SetMin(100);   // Position 100 of 100..150: 0 %
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 10 + 4, 19), 0xFFFFFFu);
}

TEST(ExProgressBar, PositionAboveALoweredMaxStaysInsideTheBorder)
{
    Host h;
    auto* bar = new TExProgressBar(&h.form);
    bar->SetParent(&h.form);
    bar->SetBounds(10, 10, 128, 18);
    bar->SetRounded(false);
    bar->SetShowPosition(false);
    bar->SetShowGradient(false);
    bar->SetCompletionSmooth(true);
    bar->SetLevel3Color(0x0000C0);
    bar->SetMax(100);
    bar->SetPosition(100);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 100);
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 10 + 100, 19), 0x0000C0u);
    EXPECT_EQ(PixelAt(*img, 10 + 127, 19), 0x808080u);   // the border
    EXPECT_EQ(PixelAt(*img, 10 + 130, 19), 0xFFFFFFu);   // the form beyond it
}

TEST(DrawGauge, LevelColoursFollowThePercentage)
{
    struct Case {
        int percent;
        TColor colour;
    };
    const Case cases[] = {{69, 0x0000C0}, {70, 0x00C000}, {90, 0xC00000}, {99, 0xC00000}, {100, 0xC0C000}};
    for (const Case& c : cases) {
        TBitmap b(128, 18);
        TGaugeSettings s = PlainSettings();
        s.Position = c.percent;
        EXPECT_EQ(Draw(b, s, 4, 9), c.colour) << c.percent;
    }
}

TEST(DrawGauge, StackedLevelsAreConsecutiveSegments)
{
    TBitmap b(128, 18);
    TGaugeSettings s = PlainSettings();
    s.Stacked = true;
    s.Level1Perc = 50;
    s.Level2Perc = 80;
    s.Position = 90;
    DrawGauge(b.Canvas(), TRect{0, 0, 128, 18}, s);
    // W = 126: segment 0 to x 63, segment 1 from 63 for 38, segment 2 for 13.
    EXPECT_EQ(PixelAt(b, 30, 9), 0x0000C0u);
    EXPECT_EQ(PixelAt(b, 80, 9), 0x00C000u);
    EXPECT_EQ(PixelAt(b, 106, 9), 0xC00000u);
    EXPECT_EQ(PixelAt(b, 116, 9), 0xFFFFFFu);
}

TEST(DrawGauge, BlocksAtFullScale)
{
    TBitmap b(128, 18);
    TGaugeSettings s = PlainSettings();
    s.CompletionSmooth = false;
    s.Position = 100;
    DrawGauge(b.Canvas(), TRect{0, 0, 128, 18}, s);
    int blocks = 0;
    bool in = false;
    for (int x = 0; x < 128; ++x) {
        const bool fill = PixelAt(b, x, 9) == 0xC0C000u;
        if (fill && !in) ++blocks;
        in = fill;
    }
    EXPECT_EQ(blocks, 14);
    EXPECT_EQ(PixelAt(b, 2, 9), 0xC0C000u);
    EXPECT_EQ(PixelAt(b, 9, 9), 0xFFFFFFu);
}

TEST(DrawGauge, GradientBandsMakeATube)
{
    TGaugeSettings s = PlainSettings();
    s.ShowGradient = true;
    s.Level0Color = 0x000000;
    s.Level0ColorTo = 0xF0F0F0;
    s.Position = 50;
    // Steps 0: one band per half, the pale colour above, the strong one below.
    s.Steps = 0;
    TBitmap b(128, 20);
    DrawGauge(b.Canvas(), TRect{0, 0, 128, 20}, s);
    for (int y = 2; y < 10; ++y) EXPECT_EQ(PixelAt(b, 20, y), 0xF0F0F0u) << y;
    for (int y = 10; y < 18; ++y) EXPECT_EQ(PixelAt(b, 20, y), 0x000000u) << y;
    // Eight bands: the upper half runs from pale to strong.
    s.Steps = 8;
    s.Level0ColorTo = 0x808080;
    DrawGauge(b.Canvas(), TRect{0, 0, 128, 20}, s);
    EXPECT_EQ(PixelAt(b, 20, 2), 0x808080u);
    EXPECT_EQ(PixelAt(b, 20, 9), 0x101010u);   // band 7 of 8: 128 - Round(7 * 128 / 8)
}

TEST(DrawGauge, TextOfFormatValueOrPercentage)
{
    TGaugeSettings s;
    s.Value = 30;
    s.Max = 120;
    s.Format = "%d of %d";
    EXPECT_EQ(GaugeText(s, 25), "30 of 120");
    s.Format.clear();
    s.ShowPercentage = false;
    EXPECT_EQ(GaugeText(s, 25), "30");
    s.ShowPercentage = true;
    EXPECT_EQ(GaugeText(s, 25), "25%");
    s.Format = "%s";
    EXPECT_EQ(GaugeText(s, 25), "");
}

TEST(DrawGauge, VerticalTextReadsUpward)
{
    auto inkBox = [](bool vertical) {
        TGaugeSettings s = PlainSettings();
        s.ShowPosition = true;
        s.Position = 0;
        s.Value = 88;
        s.ShowPercentage = false;
        s.ShowBorder = false;
        s.Orientation = vertical ? TGaugeOrientation::goVertical : TGaugeOrientation::goHorizontal;
        TFont font;
        font.SetName("Verdana");
        font.SetSize(10);
        font.SetColor(clBlack);
        s.Font = &font;
        TBitmap b(80, 80);
        DrawGauge(b.Canvas(), TRect{0, 0, 80, 80}, s);
        TRect box{80, 80, 0, 0};
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                if (PixelAt(b, x, y) != 0xFFFFFFu) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    };
    const TRect h = inkBox(false), v = inkBox(true);
    EXPECT_GT(h.Width(), h.Height());
    EXPECT_GT(v.Height(), v.Width());
    // Both centred in the bar.
    EXPECT_NEAR((v.Top + v.Bottom) / 2, 40, 3);
    EXPECT_NEAR((v.Left + v.Right) / 2, 40, 3);
}

TEST(ExProgressBar, InfiniteBlockBouncesOnTheTimer)
{
    TTimer::UseManualClock(true);
    {
        Host h;
        auto* bar = new CountingBar(&h.form);
        bar->SetParent(&h.form);
        bar->SetInfinite(true);
        bar->SetAnimated(true);
        EXPECT_EQ(bar->InfinitePos(), 0);
        TTimer::AdvanceClock(50);   // turns at 0
        EXPECT_EQ(bar->InfinitePos(), 0);
        TTimer::AdvanceClock(50);
        EXPECT_EQ(bar->InfinitePos(), 4);
        TTimer::AdvanceClock(50 * 24);
        EXPECT_EQ(bar->InfinitePos(), 100);
        TTimer::AdvanceClock(50);
        EXPECT_EQ(bar->InfinitePos(), 96);
        bar->SetInfinite(true);   // already on: the block stays
        EXPECT_EQ(bar->InfinitePos(), 96);
        bar->SetInfinite(false);
        bar->SetInfinite(true);   // switched on anew: from the start
        EXPECT_EQ(bar->InfinitePos(), 0);
        bar->SetAnimated(false);
        const int paints = bar->paints;
        TTimer::AdvanceClock(500);
        EXPECT_EQ(bar->InfinitePos(), 0);
        EXPECT_EQ(bar->paints, paints);
    }
    TTimer::UseManualClock(false);
}
