// The control area with its drop shadow on a bitmap, the caption anchors,
// and the rectangles of the background's coloured area.
#include <gtest/gtest.h>

#include <memory>

#include "chart/PlotChartCoords.h"
#include "chart/PlotChartFrame.h"
#include "platform/gui/Graphics.h"

using namespace chart;

namespace {

constexpr gui::TColor kWind = 0xE0E0E0, kShadow = 0x404080, kBak = 0x00C000;

std::unique_ptr<gui::TBitmap> Area(TShadowStyle style, int s)
{
    auto bmp = std::make_unique<gui::TBitmap>(200, 100);
    DrawControlArea(*bmp->Canvas(), 200, 100, s, kWind, style, kShadow, kBak);
    return bmp;
}

TEST(ChartFrame, FlyingShadowBandsCornersAndOutline)
{
    auto bmp = Area(TShadowStyle::ssFlying, 5);
    gui::TCanvas* c = bmp->Canvas();
    EXPECT_EQ(c->Pixels(100, 50), kWind);
    // Bands: bottom (4, 95)-(199, 99), right (195, 4)-(199, 99).
    EXPECT_EQ(c->Pixels(100, 97), kShadow);
    EXPECT_EQ(c->Pixels(197, 50), kShadow);
    EXPECT_EQ(c->Pixels(198, 98), kShadow);
    EXPECT_EQ(c->Pixels(5, 98), kShadow);
    // The corner squares left free by the offset.
    EXPECT_EQ(c->Pixels(1, 98), kBak);
    EXPECT_EQ(c->Pixels(198, 1), kBak);
    // The black outline of (0, 0)-(195, 95).
    for (auto [x, y] : {std::pair{100, 0}, {195, 50}, {100, 95}, {0, 50}, {0, 0}})
        EXPECT_EQ(c->Pixels(x, y), gui::clBlack) << x << "," << y;
    EXPECT_NE(c->Pixels(196, 50), gui::clBlack);
}

TEST(ChartFrame, BoxShadowHasABlackBorderAndNoShadowNothing)
{
    auto box = Area(TShadowStyle::ssBox, 5);
    EXPECT_EQ(box->Canvas()->Pixels(100, 99), gui::clBlack);   // band border
    EXPECT_EQ(box->Canvas()->Pixels(100, 97), kShadow);

    auto none = Area(TShadowStyle::ssFlying, 0);
    EXPECT_EQ(none->Canvas()->Pixels(199, 99), kWind);
    EXPECT_EQ(none->Canvas()->Pixels(0, 0), kWind);
}

TEST(ChartFrame, CaptionAnchors)
{
    // 400 x 300, margins L 50, R 20, T 30, B 40, shadow 5; caption 60 wide.
    auto at = [](TCaptionAnchorHoriz ah, TCaptionAnchorVert av, gui::TAlignment al) {
        return ChartCaptionOrigin(ah, av, 0, -16, al, 60, 400, 300, 50, 20, 30, 40, 5);
    };
    using H = TCaptionAnchorHoriz;
    using V = TCaptionAnchorVert;
    using A = gui::TAlignment;
    EXPECT_EQ(at(H::cahChartRight, V::cavChartTop, A::taRightJustify), gui::TPoint(375 - 60, 14));
    EXPECT_EQ(at(H::cahControlLeft, V::cavControlTop, A::taLeftJustify), gui::TPoint(0, -16));
    EXPECT_EQ(at(H::cahChartLeft, V::cavChartCenter, A::taLeftJustify), gui::TPoint(50, 30 + 112 - 16));
    EXPECT_EQ(at(H::cahChartCenter, V::cavControlBottom, A::taCenter), gui::TPoint(50 + 162 - 30, 284));
    // The chart's bottom ignores the shadow: 5 pixels below the plot's bottom edge (255).
    EXPECT_EQ(at(H::cahControlRight, V::cavChartBottom, A::taLeftJustify), gui::TPoint(400, 260 - 16));
}

TEST(ChartFrame, BackgroundAreaRectangles)
{
    // Plot bitmap 201 x 101 at (0, 0) with L 50, T 30: px = -50, py = -30;
    // area corners at control pixels (90, 60) and (130, 110).
    const struct {
        TBGAreaMode mode;
        gui::TRect r;
    } cases[] = {
        {TBGAreaMode::bamLeft, {0, 0, 40, 101}},    {TBGAreaMode::bamRight, {80, 0, 201, 101}},
        {TBGAreaMode::bamTop, {0, 0, 201, 30}},     {TBGAreaMode::bamBottom, {0, 80, 201, 101}},
        {TBGAreaMode::bamVStripe, {40, 0, 80, 101}}, {TBGAreaMode::bamHStripe, {0, 30, 201, 80}},
        {TBGAreaMode::bamRect, {40, 30, 80, 80}},
    };
    for (const auto& c : cases) {
        gui::TRect r;
        ASSERT_TRUE(BackgroundAreaRect(c.mode, 0, 0, 201, 101, -50, -30, 90, 60, 130, 110, r));
        EXPECT_EQ(r.Left, c.r.Left) << int(c.mode);
        EXPECT_EQ(r.Top, c.r.Top) << int(c.mode);
        EXPECT_EQ(r.Right, c.r.Right) << int(c.mode);
        EXPECT_EQ(r.Bottom, c.r.Bottom) << int(c.mode);
    }
    gui::TRect r;
    EXPECT_FALSE(BackgroundAreaRect(TBGAreaMode::bamNone, 0, 0, 201, 101, -50, -30, 90, 60, 130, 110, r));
}

// X 0..10 and Y 0..10 on a 120 x 120 bitmap: pixel (10 + 10 x, 110 - 10 y).
TGridContext Grid(GridStyleType style)
{
    TGridContext g;
    g.Style = style;
    g.Color = kShadow;
    g.Xs = GridPositions(0, 10, false, 3, {});   // 0, 3, 6, 9
    g.Ys = GridPositions(0, 10, false, 5, {});   // 0, 5
    g.XRangeLow = g.YRangeLow = 0;
    g.XRangeHigh = g.YRangeHigh = 10;
    g.Map = [](double x, double y) { return gui::TPoint(int(10 + 10 * x), int(110 - 10 * y)); };
    return g;
}

TEST(ChartFrame, GridLinesAndPoints)
{
    auto draw = [](GridStyleType style) {
        auto bmp = std::make_unique<gui::TBitmap>(120, 120);
        bmp->Canvas()->Brush()->SetColor(gui::clWhite);
        bmp->Canvas()->FillRect(gui::Rect(0, 0, 120, 120));
        DrawGrid(*bmp->Canvas(), Grid(style));
        return bmp;
    };
    auto lines = draw(GridStyleType::gsLines);
    for (int x : {10, 40, 70, 100}) EXPECT_EQ(lines->Canvas()->Pixels(x, 55), kShadow) << x;
    EXPECT_EQ(lines->Canvas()->Pixels(55, 60), kShadow);   // y = 5
    EXPECT_EQ(lines->Canvas()->Pixels(55, 55), gui::clWhite);
    EXPECT_EQ(lines->Canvas()->Pixels(110, 55), gui::clWhite);  // 10 is the upper end: no line

    auto vert = draw(GridStyleType::gsVertLines);
    EXPECT_EQ(vert->Canvas()->Pixels(40, 55), kShadow);
    EXPECT_EQ(vert->Canvas()->Pixels(55, 60), gui::clWhite);

    auto dots = draw(GridStyleType::gsDotLines);
    int ink = 0;
    for (int y = 12; y < 108; ++y) ink += dots->Canvas()->Pixels(40, y) == kShadow;
    EXPECT_GT(ink, 20);
    EXPECT_LT(ink, 90);   // dotted, not solid
    EXPECT_EQ(dots->Canvas()->Pen()->Style(), gui::TPenStyle::psSolid);

    auto points = draw(GridStyleType::gsPoints);
    int n = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) n += points->Canvas()->Pixels(x, y) == kShadow;
    EXPECT_EQ(n, 8);
    EXPECT_EQ(points->Canvas()->Pixels(40, 60), kShadow);
}

} // namespace
