// The chart's property objects: range rules of the scale properties, joint
// layers against a fake chart, the background image name, pixel helpers.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "chart/PlotChartProps.h"

using namespace chart;

namespace {

TEST(ScaleProps, RangeNeverNarrowerThanMinRange)
{
    TScalePropsHoriz x;
    EXPECT_EQ(x.RangeLow(), 0);
    EXPECT_EQ(x.RangeHigh(), 1);
    EXPECT_EQ(x.MinRange(), 1e-10);
    EXPECT_EQ(x.ScaleType(), TScaleType::sctXT);
    EXPECT_EQ(x.ScaleLocation(), TScaleLocationHoriz::slBottom);
    EXPECT_FALSE(x.Visible());

    int events = 0;
    x.OnChange = [&](rtl::TObject*) { ++events; };
    x.SetRangeHigh(0.5 + 1e-11);
    EXPECT_EQ(x.RangeHigh(), 0.5 + 1e-11);
    x.SetRangeLow(0.5);
    EXPECT_EQ(x.RangeLow(), 0.5);
    EXPECT_DOUBLE_EQ(x.RangeHigh(), 0.5 + 1e-10);
    x.SetRangeHigh(0.5);
    EXPECT_EQ(x.RangeHigh(), 0.5);
    EXPECT_DOUBLE_EQ(x.RangeLow(), 0.5 - 1e-10);
    EXPECT_EQ(events, 3);
}

TEST(ScaleProps, MinRangeWidensAboutTheCentre)
{
    TScalePropsVert y;
    int events = 0;
    y.OnChange = [&](rtl::TObject*) { ++events; };
    y.SetMinRange(1e-101);            // ignored, no event
    EXPECT_EQ(y.MinRange(), 1e-10);
    EXPECT_EQ(events, 0);
    y.SetMinRange(4);
    EXPECT_EQ(y.RangeLow(), -1.5);
    EXPECT_EQ(y.RangeHigh(), 2.5);
    EXPECT_EQ(events, 1);
    y.SetMinRange(3);                 // wide enough already: no event
    EXPECT_EQ(events, 1);
    EXPECT_EQ(y.MinRange(), 3);
}

TEST(ScaleProps, LogarithmicAxisKeepsPositiveLimits)
{
    TScalePropsHoriz x;
    x.SetRangeHigh(100);
    x.SetLoading(false);
    x.SetLogarithmic(true);           // RangeLow 0: refused after loading
    EXPECT_FALSE(x.Logarithmic());
    x.SetRangeLow(1);
    x.SetLogarithmic(true);
    EXPECT_TRUE(x.Logarithmic());
    x.SetRangeLow(0);                 // ignored on a logarithmic axis
    EXPECT_EQ(x.RangeLow(), 1);
    x.SetRangeHigh(-5);
    EXPECT_EQ(x.RangeHigh(), 100);
    x.SetLabelType(TFigType::ftDateTime);
    EXPECT_FALSE(x.Logarithmic());
    x.SetLabelType(TFigType::ftTime);
    EXPECT_EQ(x.DecPlaces(), 4);
    x.SetDecPlaces(-9);
    EXPECT_EQ(x.DecPlaces(), -3);

    TScaleProps loading;
    loading.SetLogarithmic(true);     // accepted while loading
    EXPECT_TRUE(loading.Logarithmic());
}

TEST(ScaleProps, LocationSetsScaleTypeAndScalePosFollowsIt)
{
    TScalePropsHoriz x;
    x.SetScaleLocation(TScaleLocationHoriz::slTop);
    EXPECT_EQ(x.ScaleType(), TScaleType::sctXB);
    x.SetScalePos(33);
    x.SetScaleLocation(TScaleLocationHoriz::slBottom);
    EXPECT_EQ(x.ScaleType(), TScaleType::sctXT);
    EXPECT_EQ(x.ScalePos(), 33);

    TScalePropsVert y;
    EXPECT_EQ(y.ScaleLocation(), TScaleLocationVert::slLeft);
    y.SetScaleLocation(TScaleLocationVert::slLeft);
    EXPECT_EQ(y.ScaleType(), TScaleType::sctYR);
    y.SetScalePos(12);
    y.SetScaleLocation(TScaleLocationVert::slRight);
    EXPECT_EQ(y.ScaleType(), TScaleType::sctYL);
    EXPECT_EQ(y.ScalePos(), 12);

    int events = 0;
    y.OnChange = [&](rtl::TObject*) { ++events; };
    gui::TFont f;
    f.SetHeight(-30);
    y.SetFont(&f);
    EXPECT_EQ(y.Font()->Height(), -30);
    EXPECT_GE(events, 1);
}

// ------------------------------------------------------------ joint layers

struct TRange {
    double xLo, yLo, xHi, yHi;
};

class TFakeChart : public TJointLayersChart {
public:
    TFakeChart()
    {
        for (int i = 1; i <= 16; ++i) Ranges[i] = {10.0 * i, -1.0 * i, 10.0 * i + 5, 1.0 * i};
    }
    void GetLayerRange(int layer, double& xLo, double& yLo, double& xHi, double& yHi) const override
    {
        const TRange& r = Ranges[layer];
        xLo = r.xLo;
        yLo = r.yLo;
        xHi = r.xHi;
        yHi = r.yHi;
    }
    void ApplyLayerRange(int layer, bool pushHistory, bool confine, double xLo, double yLo,
                         double xHi, double yHi) override
    {
        EXPECT_FALSE(pushHistory);
        EXPECT_FALSE(confine);
        Ranges[layer] = {xLo, yLo, xHi, yHi};
        Applied.push_back(layer);
    }
    std::array<TRange, 17> Ranges{};
    std::vector<int> Applied;
};

std::string RaisedBy(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EPlotChartError& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

TEST(JointLayers, JoiningTakesTheControllersRange)
{
    TFakeChart chart;
    TJointLayers j(&chart);
    int events = 0;
    j.OnChange = [&](rtl::TObject*) { ++events; };
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(j.XControlledBy(i), i);

    j.SetXControlledBy(3, 5);
    EXPECT_EQ(j.XControlledBy(3), 5);
    EXPECT_EQ(j.YControlledBy(3), 3);
    // Layer 3 gets layer 5's X range and keeps its own Y range.
    EXPECT_EQ(chart.Ranges[3].xLo, 50);
    EXPECT_EQ(chart.Ranges[3].xHi, 55);
    EXPECT_EQ(chart.Ranges[3].yLo, -3);
    EXPECT_EQ(events, 1);

    j.SetYControlledBy(4, 6);
    EXPECT_EQ(chart.Ranges[4].yLo, -6);
    EXPECT_EQ(chart.Ranges[4].xLo, 40);

    // Releasing: no event, no range change.
    j.SetXControlledBy(3, 3);
    EXPECT_EQ(j.XControlledBy(3), 3);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(chart.Applied, (std::vector<int>{3, 4}));

    j.Reset();
    EXPECT_EQ(j.YControlledBy(4), 4);
    EXPECT_EQ(events, 2);
}

TEST(JointLayers, TheThreeRefusalsLeaveTheTablesAlone)
{
    TFakeChart chart;
    TJointLayers j(&chart);
    j.SetXControlledBy(5, 2);
    j.SetXControlledBy(4, 2);
    j.SetXControlledBy(9, 2);

    EXPECT_EQ(RaisedBy([&] { j.SetXControlledBy(1, 17); }), "Destination layer 17 is out of range");
    EXPECT_EQ(RaisedBy([&] { j.SetYControlledBy(1, 0); }), "Destination layer 0 is out of range");
    EXPECT_EQ(RaisedBy([&] { j.SetXControlledBy(3, 5); }), "Destination layer 5 is already joined");
    EXPECT_EQ(RaisedBy([&] { j.SetXControlledBy(2, 7); }),
              "Layer 2 is joined by other layers (4, 5, 9)");
    EXPECT_EQ(j.XControlledBy(1), 1);
    EXPECT_EQ(j.XControlledBy(3), 3);
    EXPECT_EQ(j.XControlledBy(2), 2);
    EXPECT_EQ(chart.Applied.size(), 3u);

    TJointLayers copy(nullptr);
    int events = 0;
    copy.OnChange = [&](rtl::TObject*) { ++events; };
    copy.Assign(&j);
    EXPECT_EQ(copy.XControlledBy(9), 2);
    EXPECT_EQ(events, 1);
}

// --------------------------------------------------------------- background

TEST(BakGndImg, NameKeepsTheFileNameUnlessPathsAreIncluded)
{
    TBakGndImg b;
    EXPECT_EQ(b.FillMode(), TBkgFill::bfStretch);
    EXPECT_EQ(b.AreaMode(), TBGAreaMode::bamNone);
    EXPECT_EQ(b.AreaColor(), 0xDDDDDDu);
    EXPECT_EQ(b.AreaLeft(), -1);
    EXPECT_EQ(b.AreaTop(), 1);
    int events = 0;
    b.OnChange = [&](rtl::TObject*) { ++events; };
    b.SetName("/home/user/pictures/sky.bmp");
    EXPECT_EQ(b.Name(), "sky.bmp");
    b.SetIncludePath(true);
    b.SetName("/home/user/pictures/sky.bmp");
    EXPECT_EQ(b.Name(), "/home/user/pictures/sky.bmp");
    b.SetIncludePath(false);
    EXPECT_EQ(b.Name(), "sky.bmp");
    EXPECT_EQ(events, 4);
}

TEST(PixelHelpers, ClampAndCeil)
{
    int x = 40000, y = -5;
    EXPECT_TRUE(ClampPixelPair(x, y));
    EXPECT_EQ(x, 30000);
    EXPECT_EQ(y, -5);
    x = -30000;
    y = 30000;
    EXPECT_FALSE(ClampPixelPair(x, y));
    x = 3;
    y = -31000;
    EXPECT_TRUE(ClampPixelPair(x, y));
    EXPECT_EQ(y, -30000);

    const std::pair<double, int> ceil[] = {{2.1, 3}, {2.0, 2}, {-2.5, -2}, {-2.6, -2}, {2.5, 3}};
    for (auto [v, c] : ceil) EXPECT_EQ(CeilToInteger(v), c) << v;
    EXPECT_EQ(LargerOf(1, 2), 2);
    EXPECT_EQ(SmallerOf(1, 2), 1);
}

} // namespace
