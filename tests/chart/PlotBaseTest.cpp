// Data marks and frames pixel by pixel on small bitmaps, and the setter
// rules of the cross-hair, the date-time label settings and the text label.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "chart/PlotBase.h"
#include "platform/gui/Graphics.h"

using namespace chart;
using gui::TBitmap;
using gui::TColor;

namespace {

constexpr TColor kInk = gui::clRed;
constexpr int kC = 10;  // the mark's centre on a 21 x 21 bitmap

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h)
{
    auto bmp = std::make_unique<TBitmap>(w, h);
    bmp->Canvas()->Brush()->SetColor(gui::clWhite);
    bmp->Canvas()->FillRect(gui::Rect(0, 0, w, h));
    return bmp;
}

std::unique_ptr<TBitmap> Marked(uint8_t mark, bool printer = false)
{
    auto bmp = WhiteBitmap(21, 21);
    bmp->Canvas()->SetPrinterCanvas(printer);
    bmp->Canvas()->Pen()->SetColor(kInk);
    DrawDataMark(*bmp->Canvas(), mark, kC, kC);
    return bmp;
}

int CountInk(TBitmap& bmp)
{
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) n += bmp.Canvas()->Pixels(x, y) == kInk;
    return n;
}

// The 7 x 7 screen patterns, written out from the marks' definitions.
struct PatternCase {
    uint8_t mark;
    const char* rows[7];
};

const PatternCase kPatterns[] = {
    {1, {".......", ".......", "...#...", "..###..", "...#...", ".......", "......."}},
    {2, {".......", "...#...", "...#...", ".#####.", "...#...", "...#...", "......."}},
    {3, {"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}},
    {4, {".......", ".......", "..#.#..", "...#...", "..#.#..", ".......", "......."}},
    {5, {".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."}},
    {6, {"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"}},
    {25, {"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"}},
};

TEST(DataMarks, ScreenPatternsPixelForPixel)
{
    for (const PatternCase& c : kPatterns) {
        auto bmp = Marked(c.mark);
        int expected = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const bool set = c.rows[dy + 3][dx + 3] == '#';
                expected += set;
                EXPECT_EQ(bmp->Canvas()->Pixels(kC + dx, kC + dy) == kInk, set)
                    << "mark " << int(c.mark) << " at " << dx << "," << dy;
            }
        // Nothing outside the pattern.
        EXPECT_EQ(CountInk(*bmp), expected) << "mark " << int(c.mark);
    }
    EXPECT_EQ(CountInk(*Marked(1)), 5);
    EXPECT_EQ(CountInk(*Marked(0)), 1);
}

TEST(DataMarks, OnThePrinterCanvasMarkOneIsTwoFourPixelLines)
{
    auto bmp = Marked(1, true);
    gui::TCanvas* c = bmp->Canvas();
    for (int d = -2; d <= 1; ++d) {
        EXPECT_EQ(c->Pixels(kC + d, kC), kInk) << d;
        EXPECT_EQ(c->Pixels(kC, kC + d), kInk) << d;
    }
    // The end points are left out.
    EXPECT_NE(c->Pixels(kC + 2, kC), kInk);
    EXPECT_NE(c->Pixels(kC, kC + 2), kInk);
    EXPECT_EQ(CountInk(*bmp), 7);  // 4 + 4, sharing the centre
}

TEST(DataMarks, ShapesCoverTheirBoxes)
{
    // Filled square 7: rectangle (-1, -1)-(2, 2) covers 3 x 3 pixels.
    auto sq = Marked(7);
    EXPECT_EQ(CountInk(*sq), 9);
    EXPECT_EQ(sq->Canvas()->Pixels(kC + 1, kC + 1), kInk);
    EXPECT_NE(sq->Canvas()->Pixels(kC + 2, kC + 2), kInk);
    // Square outline 12 (r = 3): corners set, centre clear.
    auto outline = Marked(12);
    EXPECT_EQ(outline->Canvas()->Pixels(kC - 3, kC - 3), kInk);
    EXPECT_EQ(outline->Canvas()->Pixels(kC + 3, kC + 3), kInk);
    EXPECT_NE(outline->Canvas()->Pixels(kC, kC), kInk);
    // Circle outline 17 leaves its centre white; filled circle 24 does not.
    EXPECT_EQ(Marked(17)->Canvas()->Pixels(kC, kC), gui::clWhite);
    EXPECT_EQ(Marked(24)->Canvas()->Pixels(kC, kC), kInk);
    // Stem of mark 37 reaches up 7 pixels.
    auto stem = Marked(37);
    EXPECT_EQ(stem->Canvas()->Pixels(kC, kC - 7), kInk);
    EXPECT_EQ(stem->Canvas()->Pixels(kC + 3, kC), kInk);
}

TEST(DataMarks, BrushColourAndStyleAreRestored)
{
    for (uint8_t mark : {7, 13, 16, 24, 31, 33, 39, 65}) {
        auto bmp = WhiteBitmap(21, 21);
        gui::TCanvas* c = bmp->Canvas();
        c->Brush()->SetColor(gui::clGreen);
        c->Pen()->SetColor(kInk);
        DrawDataMark(*c, mark, kC, kC);
        EXPECT_EQ(c->Brush()->Color(), gui::clGreen) << int(mark);
        EXPECT_EQ(c->Brush()->Style(), gui::TBrushStyle::bsSolid) << int(mark);
    }
}

TEST(DataMarks, CharacterMarksAreCentredText)
{
    auto bmp = WhiteBitmap(41, 41);
    gui::TCanvas* c = bmp->Canvas();
    c->Font()->SetColor(gui::clBlack);
    c->Font()->SetHeight(-16);
    const gui::TSize sz = c->TextExtent("A");
    DrawDataMark(*c, 65, 20, 20);
    // Ink lies in the text box centred on the point, and its middle is on X.
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            if (gui::GetRValue(c->Pixels(x, y)) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no ink";
    EXPECT_GE(minX, 20 - sz.cx / 2);
    EXPECT_LT(maxX, 20 - sz.cx / 2 + sz.cx);
    EXPECT_GE(minY, 20 - sz.cy / 2);
    EXPECT_LT(maxY, 20 - sz.cy / 2 + sz.cy);
    EXPECT_NEAR((minX + maxX) / 2.0, 20, 1.5);
}

// ------------------------------------------------------------------ frames

constexpr TColor kHi = 0x0000FF, kLight = 0x00FF00, kShadow = 0xFF0000, kDark = 0x00FFFF,
                 kSimple = 0xFF00FF;

struct FrameCase {
    int style;
    TColor outerTL, outerBR, innerTL, innerBR;
};

TEST(StyledFrame, BevelColoursByStyle)
{
    // Rectangle (2, 2)-(17, 12) inclusive; mid-edge pixels of each line.
    const FrameCase cases[] = {
        {int(TFrameStyle::fsLowered), kShadow, kHi, kDark, kLight},
        {int(TFrameStyle::fsRaised), kHi, kShadow, kLight, kDark},
        {int(TFrameStyle::fsEmbossed), kHi, kShadow, kShadow, kHi},
        {int(TFrameStyle::fsEngraved), kShadow, kHi, kHi, kShadow},
        {0x80 | int(TFrameStyle::fsRaised), kHi, kShadow, kLight, kDark},  // high bit ignored
    };
    for (const FrameCase& f : cases) {
        auto bmp = WhiteBitmap(20, 15);
        gui::TCanvas* c = bmp->Canvas();
        DrawStyledFrame(*c, f.style, 2, 2, 17, 12, kHi, kLight, kShadow, kDark, kSimple);
        EXPECT_EQ(c->Pixels(2, 7), f.outerTL) << f.style;
        EXPECT_EQ(c->Pixels(9, 2), f.outerTL) << f.style;
        EXPECT_EQ(c->Pixels(17, 2), f.outerTL) << f.style;  // top line reaches R
        EXPECT_EQ(c->Pixels(17, 7), f.outerBR) << f.style;
        EXPECT_EQ(c->Pixels(9, 12), f.outerBR) << f.style;
        EXPECT_EQ(c->Pixels(3, 7), f.innerTL) << f.style;
        EXPECT_EQ(c->Pixels(9, 3), f.innerTL) << f.style;
        EXPECT_EQ(c->Pixels(16, 7), f.innerBR) << f.style;
        EXPECT_EQ(c->Pixels(9, 11), f.innerBR) << f.style;
        EXPECT_EQ(c->Pixels(9, 7), gui::clWhite) << f.style;
        EXPECT_EQ(c->Pixels(1, 7), gui::clWhite) << f.style;
    }
}

TEST(StyledFrame, SimpleAndNone)
{
    auto bmp = WhiteBitmap(20, 15);
    gui::TCanvas* c = bmp->Canvas();
    c->Pen()->SetColor(gui::clBlack);
    DrawStyledFrame(*c, TFrameStyle::fsNone, 2, 2, 17, 12, kHi, kLight, kShadow, kDark, kSimple);
    EXPECT_EQ(c->Pixels(2, 2), gui::clWhite);
    DrawStyledFrame(*c, TFrameStyle::fsSimple, 2, 2, 17, 12, kHi, kLight, kShadow, kDark, kSimple);
    for (auto [x, y] : {std::pair{2, 2}, {2, 12}, {17, 12}, {17, 2}, {9, 2}, {17, 7}})
        EXPECT_EQ(c->Pixels(x, y), kSimple) << x << "," << y;
    EXPECT_EQ(c->Pixels(3, 3), gui::clWhite);
    EXPECT_EQ(c->Pen()->Color(), gui::clBlack);
}

// ------------------------------------------------------------ setter tables

TEST(CrossHair, LayerIsClampedAndEverySetterNotifies)
{
    TCrossHair ch;
    int events = 0;
    ch.OnChange = [&](rtl::TObject*) { ++events; };
    const std::pair<int, int> layers[] = {{0, 1}, {-5, 1}, {20, 16}, {16, 16}, {7, 7}};
    for (auto [in, out] : layers) {
        ch.SetLayer(in);
        EXPECT_EQ(ch.Layer(), out) << in;
    }
    ch.SetPosX(1.5);
    ch.SetMode(TCrossHMode::chBoth);
    ch.SetColor(gui::clRed);
    EXPECT_EQ(events, 8);
}

TEST(TextLabel, DefaultsLayerAndCaption)
{
    TTextLabel l;
    EXPECT_EQ(l.PosX(), 100);
    EXPECT_EQ(l.PosY(), 10);
    EXPECT_EQ(l.Layer(), 1);
    EXPECT_EQ(l.Mode(), TTxtLblMode::tlsimple);
    EXPECT_EQ(l.VerticalAlignment(), TVerticalAlignment::vaBottom);
    EXPECT_EQ(l.ColorBkg(), 0xC0C0C0u);
    EXPECT_EQ(l.ColorShadow(), 0x808080u);
    EXPECT_TRUE(l.Visible());

    int events = 0;
    l.OnChange = [&](rtl::TObject*) { ++events; };
    l.SetLayer(20);
    l.SetLayer(0);
    EXPECT_EQ(l.Layer(), 1);
    EXPECT_EQ(events, 0);
    l.SetLayer(16);
    EXPECT_EQ(l.Layer(), 16);
    EXPECT_EQ(events, 1);

    l.SetCaption(std::string("a\tb\nc\rd\x01"));
    EXPECT_EQ(l.Caption(), "a b\nc d ");
    EXPECT_EQ(events, 2);

    gui::TFont f;
    f.SetName("Courier New");
    f.SetHeight(-20);
    l.SetFont(&f);
    EXPECT_EQ(l.Font()->Name(), "Courier New");
    EXPECT_EQ(l.Font()->Height(), -20);
    EXPECT_NE(l.Font(), &f);
}

TEST(DTLabel, WhichSettersNotifyOnlyOnChange)
{
    TDTLabel d;
    EXPECT_EQ(d.TimeFormat(), TTimeFormat::tfHHMMSS);
    EXPECT_EQ(d.DateSeparator(), '-');
    EXPECT_EQ(d.TimeSeparator(), ':');
    EXPECT_EQ(d.YearLength(), TYearLength::ylYYYY);
    EXPECT_TRUE(d.MonthName());
    EXPECT_EQ(d.DateForTime(), TDateForTime::dtOnePerDay);
    EXPECT_EQ(d.DateOrder(), TDateOrder::doDDMMYY);

    int events = 0;
    d.OnChange = [&](rtl::TObject*) { ++events; };
    struct Step {
        std::function<void()> set;
        int expected;
    };
    const Step steps[] = {
        {[&] { d.SetYearLength(TYearLength::ylYYYY); }, 0},
        {[&] { d.SetDateOrder(TDateOrder::doDDMMYY); }, 1},
        {[&] { d.SetTimeFormat(TTimeFormat::tfHHMMSS); }, 1},
        {[&] { d.SetDateSeparator('-'); }, 0},
        {[&] { d.SetTimeSeparator(':'); }, 0},
        {[&] { d.SetMonthName(true); }, 0},
        {[&] { d.SetDateForTime(TDateForTime::dtOnePerDay); }, 0},
        {[&] { d.SetYearLength(TYearLength::ylYY); }, 1},
        {[&] { d.SetDateSeparator('/'); }, 1},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        events = 0;
        steps[i].set();
        EXPECT_EQ(events, steps[i].expected) << "step " << i;
    }

    TDTLabel copy;
    int copyEvents = 0;
    copy.OnChange = [&](rtl::TObject*) { ++copyEvents; };
    copy.Assign(&d);
    EXPECT_EQ(copyEvents, 1);
    EXPECT_EQ(copy.YearLength(), TYearLength::ylYY);
    EXPECT_EQ(copy.DateSeparator(), '/');
}

} // namespace
