// The renderer's pending polyline: runs of line-to points batched into
// polylines of at most 200 points, each starting where the last one ended.
#include <gtest/gtest.h>

#include <vector>

#include "chart/PlotChartPolyline.h"

using namespace chart;
using gui::TPoint;

namespace {

struct TRecorder {
    std::vector<std::vector<TPoint>> Calls;
    TPolylineBuffer Buffer{[this](const std::vector<TPoint>& p) { Calls.push_back(p); }};
};

TEST(PolylineBuffer, RunsAreCutIntoPolylinesOf200Points)
{
    TRecorder r;
    r.Buffer.SetPenPos({-1, -1});
    for (int i = 0; i < 450; ++i) r.Buffer.Add({i, 2 * i});
    r.Buffer.Flush();
    ASSERT_EQ(r.Calls.size(), 3u);
    EXPECT_EQ(r.Calls[0].size(), 200u);
    EXPECT_EQ(r.Calls[1].size(), 200u);
    EXPECT_EQ(r.Calls[2].size(), 53u);
    EXPECT_EQ(r.Calls[0].front(), TPoint(-1, -1));          // from the pen position
    EXPECT_EQ(r.Calls[1].front(), r.Calls[0].back());       // each continues the last
    EXPECT_EQ(r.Calls[2].front(), r.Calls[1].back());
    EXPECT_EQ(r.Calls[2].back(), TPoint(449, 898));
    EXPECT_EQ(r.Buffer.PenPos(), TPoint(449, 898));
    EXPECT_FALSE(r.Buffer.Pending());
}

TEST(PolylineBuffer, ExactMultiplesDrawNoStrayPoint)
{
    TRecorder r;
    for (int i = 0; i < 398; ++i) r.Buffer.Add({i, 0});     // 2 x 199 points
    r.Buffer.Flush();
    EXPECT_EQ(r.Calls.size(), 2u);
    EXPECT_EQ(r.Buffer.PenPos(), TPoint(397, 0));
    r.Buffer.Flush();                                        // nothing pending
    EXPECT_EQ(r.Calls.size(), 2u);
}

TEST(PolylineBuffer, AMoveFlushesAndRestartsFromThere)
{
    TRecorder r;
    r.Buffer.Add({5, 5});
    r.Buffer.SetPenPos({100, 100});
    r.Buffer.Add({110, 100});
    r.Buffer.Flush();
    ASSERT_EQ(r.Calls.size(), 2u);
    EXPECT_EQ(r.Calls[0], (std::vector<TPoint>{{0, 0}, {5, 5}}));
    EXPECT_EQ(r.Calls[1], (std::vector<TPoint>{{100, 100}, {110, 100}}));
}

} // namespace
