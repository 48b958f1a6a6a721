// The chart under synthetic mouse input: panning and zoom dragging, zoom
// and rubber-band windows, the mouse box, cross-hair dragging, the read-out
// with the cursor, and the double click.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/PlotChart.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Messages.h"

using namespace chart;
namespace sim = gui::sim;
using gui::TMouseButton;

namespace {

// A 470 x 260 chart: plot from x 50 to 450 (400 wide) and y 20 to 220.
struct TMouseFixture {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    TPlotChart* Chart = nullptr;
    TMouseFixture()
    {
        Form->SetBounds(0, 0, 500, 300);
        Chart = new TPlotChart(Form.get());
        Chart->SetParent(Form.get());
        Chart->SetBounds(0, 0, 470, 260);
        Form->Show();
        Chart->SetRange(1, 0, 0, 10, 10);
    }
    ~TMouseFixture() { sim::MouseUp(Chart, TMouseButton::mbLeft, 0, 0); }
    void Drag(TMouseActMode action, gui::TPoint from, gui::TPoint to)
    {
        Chart->SetMouseAction(action);
        sim::MouseDown(Chart, TMouseButton::mbLeft, from.X, from.Y);
        sim::MouseMove(Chart, from.X, from.Y);
        sim::MouseMove(Chart, to.X, to.Y);
        sim::MouseUp(Chart, TMouseButton::mbLeft, to.X, to.Y);
    }
    double XLo() const { return Chart->ScaleX(1)->RangeLow(); }
    double XHi() const { return Chart->ScaleX(1)->RangeHigh(); }
    double YLo() const { return Chart->ScaleY(1)->RangeLow(); }
    double YHi() const { return Chart->ScaleY(1)->RangeHigh(); }
};

} // namespace

TEST(ChartMouse, PanAndZoomDrag)
{
    TMouseFixture f;
    int zoomPans = 0;
    f.Chart->OnZoomPan = [&](rtl::TObject*) { ++zoomPans; };
    f.Drag(TMouseActMode::maPanHoriz, {200, 100}, {240, 100});
    EXPECT_DOUBLE_EQ(f.XLo(), -1);
    EXPECT_DOUBLE_EQ(f.XHi(), 9);
    EXPECT_DOUBLE_EQ(f.YLo(), 0);   // horizontal panning only
    EXPECT_EQ(zoomPans, 1);

    // The end of the drag pushed the history: one step back is the range before.
    f.Chart->SetRange(1, 0, 0, 10, 10);
    f.Drag(TMouseActMode::maPan, {200, 100}, {200, 120});
    EXPECT_DOUBLE_EQ(f.YLo(), 1);    // 20 of 200 pixels down: the range moves up by a tenth
    EXPECT_DOUBLE_EQ(f.XLo(), 0);

    // Dragging right by a tenth of the control's width: 90 % of the span.
    f.Chart->SetRange(1, 0, 0, 10, 10);
    f.Drag(TMouseActMode::maZoomDrag, {200, 100}, {247, 100});
    EXPECT_NEAR(f.XHi() - f.XLo(), 9, 1e-9);
    EXPECT_NEAR(f.XLo(), 0.5, 1e-9);
    EXPECT_NEAR(f.YHi() - f.YLo(), 10, 1e-9);   // no vertical move

    // Confined panning keeps the width at the limit.
    f.Chart->SetRange(1, 0, 0, 10, 10);
    f.Chart->ConfineZoomRange(-2, -100, 100, 100);
    f.Drag(TMouseActMode::maPanHoriz, {100, 100}, {300, 100});
    EXPECT_DOUBLE_EQ(f.XLo(), -2);
    EXPECT_DOUBLE_EQ(f.XHi(), 8);
}

TEST(ChartMouse, ZoomWindows)
{
    TMouseFixture f;
    // A window without height changes nothing and records no history.
    f.Chart->SetRange(1, 0, 0, 20, 20);
    f.Drag(TMouseActMode::maZoomWind, {100, 100}, {200, 100});
    EXPECT_DOUBLE_EQ(f.XHi(), 20);
    f.Chart->ZoomHistory(-1);
    EXPECT_DOUBLE_EQ(f.XHi(), 10);   // the range before the last SetRange, not a pushed copy

    // Right to left on an ascending range mirrors it with maZoomWind ...
    f.Chart->SetRange(1, 0, 0, 10, 10);
    f.Drag(TMouseActMode::maZoomWind, {250, 170}, {150, 70});
    EXPECT_DOUBLE_EQ(f.XLo(), 5);
    EXPECT_DOUBLE_EQ(f.XHi(), 2.5);
    // ... and keeps it ascending with maZoomWindPos.
    f.Chart->SetRange(1, 0, 0, 10, 10);
    f.Drag(TMouseActMode::maZoomWindPos, {250, 170}, {150, 70});
    EXPECT_DOUBLE_EQ(f.XLo(), 2.5);
    EXPECT_DOUBLE_EQ(f.XHi(), 5);
    EXPECT_DOUBLE_EQ(f.YLo(), 2.5);
    EXPECT_DOUBLE_EQ(f.YHi(), 7.5);
    EXPECT_EQ(f.Chart->ZoomState(), TZoomState::zsNormal);

    // A rubber band reports the window once per mouse-affected layer and
    // leaves the ranges alone.
    f.Chart->SetRange(1, 0, 0, 10, 10);
    std::vector<int> layers;
    double loX = 0, hiX = 0;
    f.Chart->OnRubberBand = [&](rtl::TObject*, int layer, double lx, double, double hx, double) {
        layers.push_back(layer);
        loX = lx;
        hiX = hx;
    };
    f.Drag(TMouseActMode::maRubberBand, {250, 170}, {150, 70});
    EXPECT_EQ(layers, std::vector<int>{1});
    EXPECT_DOUBLE_EQ(loX, 2.5);
    EXPECT_DOUBLE_EQ(hiX, 5);
    EXPECT_DOUBLE_EQ(f.XHi(), 10);
}

TEST(ChartMouse, WindowRectangleDrawnTwiceIsGone)
{
    TMouseFixture f;
    f.Chart->SetMouseAction(TMouseActMode::maZoomWind);
    sim::MouseDown(f.Chart, TMouseButton::mbLeft, 100, 100);
    sim::MouseMove(f.Chart, 150, 130);
    ASSERT_EQ(f.Chart->WindowRects().size(), 1u);
    EXPECT_EQ(f.Chart->WindowRects()[0], gui::TRect(100, 100, 151, 131));
    sim::MouseMove(f.Chart, 170, 140);
    ASSERT_EQ(f.Chart->WindowRects().size(), 1u);
    EXPECT_EQ(f.Chart->WindowRects()[0].Right, 171);
    // The right button cancels the window and takes its rectangle away.
    sim::MouseUp(f.Chart, TMouseButton::mbRight, 170, 140);
    EXPECT_TRUE(f.Chart->WindowRects().empty());
    EXPECT_EQ(f.Chart->ZoomState(), TZoomState::zsNormal);
    EXPECT_DOUBLE_EQ(f.XHi(), 10);
}

TEST(ChartMouse, MouseBoxWaitsForARectangleOrACancel)
{
    TMouseFixture f;
    const gui::HWND h = f.Chart->Handle();
    double xLo = -1, yLo = -1, xHi = -1, yHi = -1;
    gui::PostMessage(h, gui::WM_RBUTTONDOWN, gui::MK_RBUTTON, gui::MAKELPARAM(100, 100));
    EXPECT_FALSE(f.Chart->MouseBox(xLo, yLo, xHi, yHi));
    EXPECT_EQ(xLo, -1);

    gui::PostMessage(h, gui::WM_LBUTTONDOWN, gui::MK_LBUTTON, gui::MAKELPARAM(250, 170));
    gui::PostMessage(h, gui::WM_MOUSEMOVE, gui::MK_LBUTTON, gui::MAKELPARAM(150, 70));
    gui::PostMessage(h, gui::WM_LBUTTONUP, 0, gui::MAKELPARAM(150, 70));
    ASSERT_TRUE(f.Chart->MouseBox(xLo, yLo, xHi, yHi));
    EXPECT_DOUBLE_EQ(xLo, 2.5);
    EXPECT_DOUBLE_EQ(xHi, 5);
    EXPECT_DOUBLE_EQ(yLo, 2.5);
    EXPECT_DOUBLE_EQ(yHi, 7.5);
    EXPECT_TRUE(f.Chart->WindowRects().empty());
}

TEST(ChartMouse, DraggingTheNearestCrossHair)
{
    TMouseFixture f;
    TPlotChart& c = *f.Chart;
    double x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    c.M2R(2, 100, 150, x2, y2);
    c.M2R(3, 200, 50, x3, y3);
    c.CrossHairSetup(2, gui::clRed, TCrossHMode::chVert, gui::TPenStyle::psSolid, 1);
    c.CrossHairSetup(3, gui::clBlue, TCrossHMode::chHoriz, gui::TPenStyle::psSolid, 1);
    c.CrossHairSetPos(2, x2, y2);
    c.CrossHairSetPos(3, x3, y3);
    std::vector<TCrossHair*> moved;
    c.OnCrossHairMove = [&](rtl::TObject*, TCrossHair* ch) { moved.push_back(ch); };
    // From (102, 52) both are 2 pixels away; cross-hair 2 is examined first.
    f.Drag(TMouseActMode::maDragCrossH, {102, 52}, {130, 60});
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0], c.CrossHair(2));
    EXPECT_EQ(c.R2M(2, c.CrossHair(2)->PosX(), 0).X, 130);
    EXPECT_DOUBLE_EQ(c.CrossHair(3)->PosY(), y3);
}

TEST(ChartMouse, ReadOutCursorAndDoubleClick)
{
    TMouseFixture f;
    TPlotChart& c = *f.Chart;
    c.SetMouseCursorFixed(false);
    sim::MouseMove(&c, 250, 120);
    EXPECT_DOUBLE_EQ(c.MousePosX(), 5);
    EXPECT_DOUBLE_EQ(c.MousePosY(), 5);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crCross);
    c.SetMouseAction(TMouseActMode::maZoomDrag);
    sim::MouseMove(&c, 260, 120);
    EXPECT_EQ(gui::Screen->Cursor(), crPlotZoomDrag);
    // Outside the plot: the read-out stays, the cursor is the default.
    sim::MouseMove(&c, 10, 250);
    EXPECT_DOUBLE_EQ(c.MousePosX(), 5.25);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
    c.SetMouseCursorFixed(true);
    sim::MouseMove(&c, 260, 120);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);

    bool inChart = false;
    double rx = 0;
    c.OnMouseMoveInChart = [&](rtl::TObject*, bool in, gui::TShiftState, double x, double) {
        inChart = in;
        rx = x;
    };
    sim::MouseMove(&c, 460, 120);
    EXPECT_FALSE(inChart);
    EXPECT_DOUBLE_EQ(rx, 10.25);

    // The handler after a double click swallows the next press.
    c.SetMouseAction(TMouseActMode::maNone);
    int downs = 0;
    c.OnMouseDown = [&](rtl::TObject*, TMouseButton, gui::TShiftState, int, int) { ++downs; };
    sim::DblClick(&c, 200, 100);
    EXPECT_EQ(downs, 1);
    sim::Click(&c, 200, 100);
    EXPECT_EQ(downs, 2);
    gui::Screen->SetCursor(gui::crDefault);
}
