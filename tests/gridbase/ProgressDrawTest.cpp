// Cell progress bars, pies and signed bars drawn into bitmaps, with the
// mended degenerate inputs; and the canvas flood fill behind the pie.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "gridbase/ExUtil.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/Themes.h"
#include "platform/rtl/Exceptions.h"

using namespace gridbase;
using gui::TColor;
using gui::TRect;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;

struct Canvas {
    gui::TBitmap Bmp;
    Canvas(int w, int h)
    {
        Bmp.SetSize(w, h);
        C()->Brush()->SetColor(kWhite);
        C()->FillRect(TRect(0, 0, w, h));
    }
    gui::TCanvas* C() { return Bmp.Canvas(); }
    int Count(TColor color, const TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (C()->Pixels(x, y) == color) ++n;
        return n;
    }
    bool Same(Canvas& other)
    {
        for (int y = 0; y < Bmp.Height(); ++y)
            for (int x = 0; x < Bmp.Width(); ++x)
                if (C()->Pixels(x, y) != other.C()->Pixels(x, y)) return false;
        return true;
    }
};

} // namespace

TEST(FloodFill, BorderAndSurface)
{
    Canvas c(30, 30);
    c.C()->Pen()->SetColor(0x808080);
    c.C()->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c.C()->Rectangle(5, 5, 25, 25);
    c.C()->MoveTo(5, 5);
    c.C()->LineTo(25, 25);  // a diagonal splits the square
    c.C()->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c.C()->Brush()->SetColor(kRed);
    c.C()->FloodFill(20, 8, 0x808080, gui::TFillStyle::fsBorder);
    EXPECT_EQ(c.C()->Pixels(20, 8), kRed);
    EXPECT_EQ(c.C()->Pixels(8, 20), kWhite);  // across the diagonal
    EXPECT_EQ(c.C()->Pixels(2, 2), kWhite);   // outside
    c.C()->Brush()->SetColor(kBlue);
    c.C()->FloodFill(2, 2, kWhite, gui::TFillStyle::fsSurface);
    EXPECT_EQ(c.C()->Pixels(0, 29), kBlue);
    EXPECT_EQ(c.C()->Pixels(8, 20), kWhite);  // inside, not connected
    EXPECT_EQ(c.C()->Pixels(20, 8), kRed);
}

TEST(ProgressPie, FillsExactlyItsSector)
{
    const TRect r(0, 0, 81, 81);
    const int cx = 40, cy = 40;
    struct Quadrants {
        int upperRight = 0, lowerRight = 0, lowerLeft = 0, upperLeft = 0, outside = 0;
        double maxAngle = 0;
    };
    auto measure = [&](int percent) {
        Canvas c(81, 81);
        DrawProgressPie(c.C(), r, kRed, percent, false);
        Quadrants q;
        for (int y = 0; y < 81; ++y)
            for (int x = 0; x < 81; ++x) {
                if (c.C()->Pixels(x, y) != kRed) continue;
                const double dx = x - cx + 0.5, dy = cy - y - 0.5;
                if (dx * dx + dy * dy > 41.0 * 41.0) ++q.outside;
                double angle = std::atan2(dx, dy) * 180 / std::numbers::pi;
                if (angle < 0) angle += 360;
                q.maxAngle = std::max(q.maxAngle, angle);
                if (dx >= 0 && dy >= 0) ++q.upperRight;
                else if (dx >= 0) ++q.lowerRight;
                else if (dy < 0) ++q.lowerLeft;
                else ++q.upperLeft;
            }
        return q;
    };
    const Quadrants zero = measure(0);
    EXPECT_EQ(zero.upperRight + zero.lowerRight + zero.lowerLeft + zero.upperLeft, 0);  // outline only

    const Quadrants quarter = measure(25);
    EXPECT_GT(quarter.upperRight, 1000);  // about pi * 40^2 / 4 = 1257, less the outline
    EXPECT_EQ(quarter.lowerRight + quarter.lowerLeft + quarter.upperLeft, 0);

    const Quadrants one = measure(1);
    EXPECT_GT(one.upperRight, 0);
    EXPECT_LE(one.maxAngle, 3.6 + 3);  // within the 3.6-degree sector (pixel slack)

    const Quadrants full = measure(100);
    for (int n : {full.upperRight, full.lowerRight, full.lowerLeft, full.upperLeft}) EXPECT_GT(n, 1000);
    EXPECT_EQ(full.outside, 0);
}

TEST(ProgressBar, TextRoundingSplitAndDegenerateRange)
{
    const TRect r(0, 0, 100, 20);
    auto draw = [&](double value, const char* format, double mn, double mx) {
        auto c = std::make_unique<Canvas>(100, 20);
        DrawProgressBar(c->C(), r, kRed, kWhite, kWhite, 0x000000, value, 2, 2, mn, mx, format, 0x000000, false);
        return c;
    };
    auto a = draw(42.6, "%d%%", 0, 100), b = draw(43, "%d%%", 0, 100), d = draw(42.4, "%d%%", 0, 100);
    EXPECT_TRUE(a->Same(*b));   // "%d%%" of 42.6 writes 43%, at 43 %
    EXPECT_FALSE(a->Same(*d));
    // The filled part ends at 43 % of the inset width (96 pixels): x = 2 + 41.
    EXPECT_EQ(a->C()->Pixels(42, 3), kRed);
    EXPECT_NE(a->C()->Pixels(44, 3), kRed);
    EXPECT_EQ(a->C()->Pixels(1, 10), 0x000000u);  // border
    // An empty format: the rounded value is the percent.
    auto e = draw(30.4, "", 0, 0);
    EXPECT_EQ(e->C()->Pixels(30, 3), kRed);
    EXPECT_NE(e->C()->Pixels(33, 3), kRed);
    // A format with minimum = maximum: nothing is drawn.
    auto f = draw(5, "%d", 7, 7);
    EXPECT_EQ(f->Count(kWhite, r), 100 * 20);
}

TEST(SignedBar, HalvesAndLimits)
{
    const TRect r(0, 0, 104, 20);  // inset 100 wide, centre at x = 52
    Canvas pos(104, 20), neg(104, 20), zeroMax(104, 20);
    DrawSignedBar(pos.C(), r, 150, 100, true, kBlue, kRed);
    EXPECT_EQ(pos.C()->Pixels(53, 12), kRed);
    EXPECT_EQ(pos.C()->Pixels(101, 12), kRed);  // the full right half
    EXPECT_EQ(pos.C()->Pixels(50, 12), kWhite);
    DrawSignedBar(neg.C(), r, -50, 100, false, kBlue, kRed);
    EXPECT_EQ(neg.C()->Pixels(28, 12), kBlue);   // a quarter: 27..52
    EXPECT_EQ(neg.C()->Pixels(25, 12), kWhite);
    EXPECT_EQ(neg.C()->Pixels(53, 12), kWhite);
    DrawSignedBar(zeroMax.C(), r, 5, 0, true, kBlue, kRed);  // nothing, no division
    EXPECT_EQ(zeroMax.Count(kWhite, r), 104 * 20);
}

TEST(LevelProgressBar, StackedAndLevelColours)
{
    TProgressAppearance look;
    look.Level1Perc = 50;
    look.Level2Perc = 80;
    look.Level0Color = 0x00FF00;
    look.Level1Color = 0x00FFFF;
    look.Level2Color = 0x0080FF;
    look.Level3Color = 0x0000FF;
    look.ShowPercentage = false;
    look.Stacked = true;
    const TRect r(0, 0, 102, 10);  // J = 100
    Canvas c(102, 10);
    DrawLevelProgressBar(c.C(), r, 90, look);
    EXPECT_EQ(c.C()->Pixels(20, 5), 0x00FF00u);  // 0..50 level 0
    EXPECT_EQ(c.C()->Pixels(70, 5), 0x00FFFFu);  // 50..80 level 1
    EXPECT_EQ(c.C()->Pixels(85, 5), 0x0000FFu);  // 80..90 level 3 (level 2 unused when stacked)
    EXPECT_EQ(c.C()->Pixels(95, 5), kWhite);
    look.Stacked = false;
    Canvas full(102, 10), almost(102, 10);
    DrawLevelProgressBar(full.C(), r, 100, look);
    DrawLevelProgressBar(almost.C(), r, 99, look);
    EXPECT_EQ(full.C()->Pixels(50, 5), 0x0000FFu);
    EXPECT_EQ(almost.C()->Pixels(50, 5), 0x0080FFu);
}

TEST(WavyUnderline, UnderTheMarkedCharactersOnly)
{
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* host = new gui::TPanel(&form);
    host->SetParent(&form);
    host->SetBounds(0, 0, 300, 100);
    form.Show();
    const TRect cell(10, 10, 250, 30);
    const std::string text = "abc defgh ij";
    // Where the edit puts the characters.
    gui::TEdit probe(host);
    probe.SetParent(host);
    probe.SetBounds(cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top);
    probe.SetText(text);
    auto xOf = [&](int i) { return gui::GET_X_LPARAM(probe.Perform(gui::EM_POSFROMCHAR, static_cast<gui::WPARAM>(i), 0)); };

    ASSERT_LT(xOf(4), xOf(8));
    Canvas c(300, 60);
    DrawWavyUnderline(host, c.C(), text, cell, 12, 4, 5);  // under "defgh"
    int first = 1000, last = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x)
            if (c.C()->Pixels(x, y) == kRed) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_LT(first, last);
    EXPECT_GE(first, cell.Left + xOf(4) - 2);
    EXPECT_LE(first, cell.Left + xOf(4) + 2);
    EXPECT_GE(last, cell.Left + xOf(8));
    EXPECT_LE(last, cell.Left + xOf(8) + 9);
    EXPECT_LT(last, cell.Left + xOf(10));  // not under "ij"
}

TEST(BitmapOnColor, KeyColourTakesTheGivenColour)
{
    gui::TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas()->Brush()->SetColor(0x00FF00);  // the key: its top-left pixel's colour
    glyph.Canvas()->FillRect(TRect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(2, 2, 0x000000);
    Canvas c(10, 10);
    DrawBitmapOnColor(c.C(), &glyph, kBlue, TRect(3, 3, 10, 10));
    EXPECT_EQ(c.C()->Pixels(3, 3), kBlue);
    EXPECT_EQ(c.C()->Pixels(5, 5), 0x000000u);
    EXPECT_EQ(c.C()->Pixels(7, 7), kWhite);  // the bitmap's own size only
    EXPECT_THROW(DrawResourceBitmapOnColor(c.C(), kBlue, TRect(0, 0, 4, 4), "NoSuchGlyph"), rtl::Exception);
    EXPECT_TRUE(CallSetLayeredWindowAttributes(0, 0, 128, 2));
}

TEST(EditorButtons, ComboAndSpinAtTheRightEdge)
{
    const TRect cell(0, 0, 80, 20);
    for (bool themed : {false, true}) {
        Canvas combo(80, 20), spin(80, 20);
        DrawComboButton(combo.C(), 0, cell, themed);
        DrawSpinButtons(spin.C(), 0, cell, themed);
        // Only the buttons' columns change: 61..77 for the combo, 64..78 for the spin.
        EXPECT_EQ(combo.Count(kWhite, TRect(0, 0, 61, 20)), 61 * 20) << themed;
        EXPECT_LT(combo.Count(kWhite, TRect(61, 1, 78, 19)), 17 * 18) << themed;
        EXPECT_EQ(combo.Count(kWhite, TRect(78, 0, 80, 20)), 2 * 20) << themed;
        EXPECT_EQ(spin.Count(kWhite, TRect(0, 0, 64, 20)), 64 * 20) << themed;
        EXPECT_LT(spin.Count(kWhite, TRect(64, 0, 79, 9)), 15 * 9) << themed;    // up arrow
        EXPECT_LT(spin.Count(kWhite, TRect(64, 10, 79, 19)), 15 * 9) << themed;  // down arrow
    }
}

// Themed buttons take the desktop style's look; with no active style they
// fall back to the classic buttons rather than drawing nothing.
TEST(EditorButtons, ThemedLookDiffersFromClassic)
{
    const TRect cell(0, 0, 80, 20);
    auto draw = [&](bool themed, bool spin) {
        auto c = std::make_unique<Canvas>(80, 20);
        if (spin) DrawSpinButtons(c->C(), 0, cell, themed);
        else DrawComboButton(c->C(), 0, cell, themed);
        return c;
    };
    gui::ResetThemeService();
    for (bool spin : {false, true}) {
        auto classic = draw(false, spin), themed = draw(true, spin);
        EXPECT_FALSE(themed->Same(*classic)) << spin;
        EXPECT_EQ(themed->Count(kWhite, TRect(0, 0, 61, 20)), 61 * 20) << spin;  // left of the buttons untouched
    }
    gui::SetThemeActive(false);
    for (bool spin : {false, true}) EXPECT_TRUE(draw(true, spin)->Same(*draw(false, spin))) << spin;
    gui::ResetThemeService();
}
