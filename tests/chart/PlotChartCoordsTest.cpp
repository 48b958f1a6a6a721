// Chart coordinates without the control: plot-area coefficients and the
// conversions both ways, confinement of ranges, the automatic range of a
// layer's items, and the zoom history ring.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "ChartTestItems.h"
#include "chart/PlotChartCoords.h"

using namespace chart;

namespace {

TEST(ChartCoords, PlotAreaEdgesAndMirroredRanges)
{
    const TPlotArea a{470, 260, 50, 20, 20, 40, 0};
    const TAxisCoefficients cx = CalcAxisCoefficients(a, true, 0, 10, false);
    const std::pair<double, int> xs[] = {{0, 50}, {5, 250}, {10, 450}};
    for (auto [v, p] : xs) {
        EXPECT_EQ(AxisValueToPixel(cx, a, true, false, v, 0, 10), p) << v;
        EXPECT_NEAR(AxisPixelToValue(cx, false, p, 0, 10), v, 1e-12);
    }
    const TAxisCoefficients cy = CalcAxisCoefficients(a, false, 0, 1, false);
    EXPECT_EQ(AxisValueToPixel(cy, a, false, false, 0, 0, 1), 220);
    EXPECT_EQ(AxisValueToPixel(cy, a, false, false, 1, 0, 1), 20);

    // Low above high: the axis runs from right to left.
    const TAxisCoefficients m = CalcAxisCoefficients(a, true, 10, 0, false);
    EXPECT_EQ(AxisValueToPixel(m, a, true, false, 10, 10, 0), 50);
    EXPECT_EQ(AxisValueToPixel(m, a, true, false, 0, 10, 0), 450);

    // The shadow narrows the plot area on the right and at the bottom.
    const TPlotArea s{470, 260, 50, 20, 20, 40, 5};
    EXPECT_EQ(AxisValueToPixel(CalcAxisCoefficients(s, true, 0, 10, false), s, true, false, 10, 0, 10), 445);
    EXPECT_EQ(AxisValueToPixel(CalcAxisCoefficients(s, false, 0, 1, false), s, false, false, 0, 0, 1), 215);
}

TEST(ChartCoords, LogarithmicAxesAndDegenerateAreas)
{
    const TPlotArea a{470, 260, 50, 20, 20, 40, 0};
    const TAxisCoefficients cx = CalcAxisCoefficients(a, true, 1, 100, true);
    EXPECT_EQ(AxisValueToPixel(cx, a, true, true, 10, 1, 100), 250);
    EXPECT_NEAR(AxisPixelToValue(cx, true, 250, 1, 100), 10, 1e-9);
    EXPECT_EQ(AxisValueToPixel(cx, a, true, true, 0, 1, 100), 0);
    EXPECT_EQ(AxisValueToPixel(cx, a, true, true, 0, 100, 1), 470);
    const TAxisCoefficients cy = CalcAxisCoefficients(a, false, 1, 100, true);
    EXPECT_EQ(AxisValueToPixel(cy, a, false, true, -1, 1, 100), 260);
    EXPECT_EQ(AxisValueToPixel(cy, a, false, true, 100, 1, 100), 20);

    // No plot width: everything in the middle, and back to the centre.
    const TPlotArea narrow{60, 260, 50, 20, 20, 40, 0};
    const TAxisCoefficients n = CalcAxisCoefficients(narrow, true, 0, 10, false);
    EXPECT_EQ(n.K, 0);
    EXPECT_EQ(AxisValueToPixel(n, narrow, true, false, 7, 0, 10), 30);
    EXPECT_EQ(AxisPixelToValue(n, false, 12, 0, 10), 5);
    // Far values are clamped.
    const TAxisCoefficients big = CalcAxisCoefficients(a, true, 0, 1e-300, false);
    EXPECT_EQ(AxisValueToPixel(big, a, true, false, 1, 0, 1e-300), 2147483647);
}

TEST(ChartCoords, ConfinementPansWholeOrClips)
{
    struct Case {
        double lo, hi;
        bool keep;
        double outLo, outHi;
    } cases[] = {
        {90, 110, true, 80, 100},   // pan past the top: shifted back, width kept
        {-10, 10, true, 0, 20},     // pan past the bottom
        {90, 110, false, 90, 100},  // zoom: clipped
        {-10, 10, false, 0, 10},
        {20, 30, true, 20, 30},     // inside: untouched
    };
    for (const Case& c : cases) {
        double lo = c.lo, hi = c.hi;
        ConfineAxisRange(lo, hi, 0, 100, c.keep);
        EXPECT_DOUBLE_EQ(lo, c.outLo) << c.lo << ".." << c.hi << " " << c.keep;
        EXPECT_DOUBLE_EQ(hi, c.outHi) << c.lo << ".." << c.hi << " " << c.keep;
    }
}

using charttest::MakeItem;

TEST(ChartCoords, AutomaticRangeOfALayer)
{
    TChartItemStore s;
    s.Append(MakeItem(TrcItem::tkMoveTo, 0, 5));
    s.Append(MakeItem(TrcItem::tkLineto, 100, 15));
    s.Append(MakeItem(TrcItem::tkRectRelPix, 1000, 1000));   // placed in pixels: does not count
    s.Append(MakeItem(TrcItem::tkMarkAt, 3, 3, 0, 0, 2));
    s.Append(MakeItem(TrcItem::tkEllipse, 0, 0, 2, 1, 3));
    s.Append(MakeItem(TrcItem::tkMarkAt, 1, 10, 0, 0, 4));
    s.Append(MakeItem(TrcItem::tkMarkAt, 1000, 100, 0, 0, 4));

    TLayerRange r = AutoRangeOfLayer(s, 1, false, false, 10, 0);
    EXPECT_DOUBLE_EQ(r.XLo, -10);
    EXPECT_DOUBLE_EQ(r.XHi, 110);
    EXPECT_DOUBLE_EQ(r.YLo, 4);
    EXPECT_DOUBLE_EQ(r.YHi, 16);

    r = AutoRangeOfLayer(s, 2, false, false, 10, 0);   // one point: +-1
    EXPECT_EQ(r.XLo, 2);
    EXPECT_EQ(r.XHi, 4);
    EXPECT_EQ(r.YLo, 2);
    EXPECT_EQ(r.YHi, 4);
    r = AutoRangeOfLayer(s, 2, false, false, 0, 50);   // at least 50 % of the centre
    EXPECT_DOUBLE_EQ(r.XLo, 1.5);
    EXPECT_DOUBLE_EQ(r.XHi, 4.5);

    r = AutoRangeOfLayer(s, 3, false, false, 0, 0);    // the ellipse's box
    EXPECT_EQ(r.XLo, -2);
    EXPECT_EQ(r.XHi, 2);
    EXPECT_EQ(r.YLo, -1);
    EXPECT_EQ(r.YHi, 1);

    r = AutoRangeOfLayer(s, 4, true, true, 50, 0);     // half a span more on each side, geometrically
    EXPECT_NEAR(r.XLo, 1 / std::sqrt(1000.0), 1e-9);
    EXPECT_NEAR(r.XHi, 1000 * std::sqrt(1000.0), 1e-6);
    EXPECT_NEAR(r.YLo, 10 / std::sqrt(10.0), 1e-9);

    r = AutoRangeOfLayer(s, 9, false, false, 10, 0);   // empty layer
    EXPECT_EQ(r.XLo, -1);
    EXPECT_EQ(r.XHi, 1);
    EXPECT_EQ(r.YLo, -1);
    EXPECT_EQ(r.YHi, 1);
}

TEST(ChartCoords, GridPositionsBySpacingRule)
{
    using V = std::vector<double>;
    EXPECT_EQ(GridPositions(0, 10, false, 3, {}), (V{0, 3, 6, 9}));
    EXPECT_EQ(GridPositions(10, 0, false, -3, {}), (V{0, 3, 6, 9}));   // linear: |v|, either order
    EXPECT_EQ(GridPositions(0.5, 10, false, 3, {}), (V{3, 6, 9}));
    EXPECT_EQ(GridPositions(0, 10, false, 0, {0, 2.5, 5, 7.5, 10}), (V{0, 2.5, 5, 7.5}));
    EXPECT_EQ(GridPositions(1, 4, false, 0, {}), (V{1}));               // no ticks: the lower end
    EXPECT_EQ(GridPositions(1, 1000, true, -1, {}), (V{1, 10, 100}));
    const V series = GridPositions(1, 100, true, -2, {});
    ASSERT_EQ(series.size(), 5u);
    const double expected[] = {2, 5, 10, 20, 50};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(series[i], expected[i], 1e-9 * expected[i]);
    const V every = GridPositions(1, 30, true, -3, {});
    ASSERT_EQ(every.size(), 11u);                                       // 1..9, 10, 20
    EXPECT_NEAR(every[2], 3, 1e-9);
    EXPECT_NEAR(every[9], 10, 1e-9);
    EXPECT_NEAR(every[10], 20, 1e-9);
    EXPECT_EQ(GridPositions(1, 1e9, false, 1, {}).size(), 1000u);      // at most 1000 lines
    EXPECT_TRUE(GridPositions(0, 100, true, -1, {}).empty());
}

TEST(ChartCoords, ZoomHistoryRing)
{
    TZoomHistory h;
    TLayerRange got;
    EXPECT_FALSE(h.Entry(0, 1, got));   // nothing pushed
    for (int push = 1; push <= 20; ++push) {
        std::array<TLayerRange, 17> ranges{};
        for (int l = 1; l <= 16; ++l) ranges[l] = {double(push), double(push + l), 0, 1};
        h.Push(ranges);
    }
    ASSERT_TRUE(h.Entry(-15, 1, got));
    EXPECT_EQ(got.XLo, 5);               // the fifth push
    ASSERT_TRUE(h.Entry(0, 3, got));
    EXPECT_EQ(got.XLo, 20);              // the latest
    EXPECT_EQ(got.XHi, 23);
    ASSERT_TRUE(h.Entry(-1, 16, got));
    EXPECT_EQ(got.XLo, 19);
    EXPECT_FALSE(h.Entry(1, 1, got));
    EXPECT_FALSE(h.Entry(-16, 1, got));
    EXPECT_FALSE(h.Entry(0, 17, got));

    h.Clear();
    EXPECT_EQ(h.NextSlot(), 1);
    EXPECT_FALSE(h.Entry(0, 1, got));
}

} // namespace
