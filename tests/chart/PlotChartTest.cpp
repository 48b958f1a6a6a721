// The chart control as a program drives it: creation defaults and the
// standard layouts, the item and text-label methods with their limits, the
// coordinates and ranges through the control, data sharing when a chart
// goes away, and a delta-T-like drawing painted and probed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "chart/PlotChart.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"

using namespace chart;
using gui::TAlignment;

namespace {

struct TChartFixture {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    TPlotChart* Chart = nullptr;
    TChartFixture(int w = 470, int h = 260)
    {
        Form->SetBounds(0, 0, w + 40, h + 40);
        Chart = new TPlotChart(Form.get());
        Chart->SetParent(Form.get());
        Chart->SetBounds(0, 0, w, h);
    }
};

int CountPixels(gui::TBitmap& bmp, const gui::TRect& r, gui::TColor c)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bmp.Canvas()->Pixels(x, y) == c) ++n;
    return n;
}

// Text is drawn smoothed: its ink is any dark pixel.
int CountDarkPixels(gui::TBitmap& bmp, const gui::TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const gui::TColor c = bmp.Canvas()->Pixels(x, y);
            if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) ++n;
        }
    return n;
}

} // namespace

TEST(PlotChart, CreationDefaults)
{
    TChartFixture f;
    TPlotChart& c = *f.Chart;
    EXPECT_EQ(c.AllocSize(), 1000);
    EXPECT_TRUE(c.AutoRedraw());
    EXPECT_FALSE(c.SuppressPaint());
    EXPECT_EQ(c.ActiveLayer(), 1);
    EXPECT_EQ(c.DataColor(), gui::clBlack);
    EXPECT_EQ(c.FillColor(), 0xC0C0C0u);
    EXPECT_EQ(c.LineWidth(), 1);
    EXPECT_EQ(c.ChartColor(), gui::clWhite);
    EXPECT_EQ(c.WindColor(), gui::clBtnFace);
    EXPECT_EQ(c.GridStyle(), GridStyleType::gsNone);
    EXPECT_EQ(c.StandardLayout(), TrcLayout::rcl_X1Bottom_Y1Left);
    EXPECT_EQ(c.CaptionPosY(), -16);   // the layout's, after the property's -15
    EXPECT_EQ(c.TextAlignment(), TAlignment::taCenter);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(c.CrossHair(i)->Layer(), i);
        EXPECT_EQ(c.CrossHair(i)->Mode(), TCrossHMode::chOff);
    }
    EXPECT_EQ(c.CrossHair(0), nullptr);
    EXPECT_EQ(c.CrossHair(5), nullptr);
    const TTextLabel* l = c.TextLabel(30);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Mode(), TTxtLblMode::tlOff);
    EXPECT_FALSE(l->Visible());
    EXPECT_EQ(l->ShadowDx(), 3);
    EXPECT_EQ(l->AttachToData(), TTxtLblAttachMode::tlamBoth);
    EXPECT_EQ(c.TextLabel(31), nullptr);
    // Scale colours from the 16-colour table; names of the scale controls.
    EXPECT_EQ(c.ScaleX(2)->ColorScale(), gui::clMaroon);
    EXPECT_EQ(c.ScaleY(16)->ColorScale(), gui::clWhite);
    EXPECT_EQ(c.ScaleControlX(3)->Name(), "RC_FScale_X_3");
    EXPECT_EQ(c.ScaleControlY(16)->Name(), "RC_FScale_Y_16");
    EXPECT_EQ(c.ScaleY(7)->ScalePos(), 150);
    // A layer outside 1..16 reads layer 1's properties.
    EXPECT_EQ(c.ScaleX(0), c.ScaleX(1));
    EXPECT_EQ(c.ScaleY(17), c.ScaleY(1));
    // The chart's cursors are in the screen's slots 1..4.
    for (gui::TCursor k = crPlotHand; k <= crPlotZoomPan; ++k) EXPECT_TRUE(gui::Screen->HasCursor(k)) << k;
}

TEST(PlotChart, StandardLayouts)
{
    struct Row {
        TrcLayout Layout;
        int L, R, T, B;
        TCaptionAnchorHoriz Anchor;
        // Visible scales 1..4, X then Y, and whether each sits on the second side (top, right).
        const char* VisibleX;
        const char* VisibleY;
        const char* SecondX;
        const char* SecondY;
    };
    using H = TCaptionAnchorHoriz;
    const Row rows[] = {
        {TrcLayout::rcl_X1Bottom_Y1Left, 50, 20, 20, 40, H::cahChartRight, "1000", "1000", "0000", "0000"},
        {TrcLayout::rcl_X1Bottom_Y2Left, 100, 20, 24, 40, H::cahChartRight, "1000", "1100", "0000", "0000"},
        {TrcLayout::rcl_X1Bottom_Y3Left, 150, 20, 24, 40, H::cahChartRight, "1000", "1110", "0000", "0000"},
        {TrcLayout::rcl_X1Bottom_Y4Left, 200, 20, 24, 40, H::cahChartRight, "1000", "1111", "0000", "0000"},
        {TrcLayout::rcl_X1Bottom_Y2Both, 50, 50, 24, 40, H::cahChartCenter, "1000", "1100", "0000", "0100"},
        {TrcLayout::rcl_X2Bottom_Y2Left, 100, 20, 24, 70, H::cahChartRight, "1100", "1100", "0000", "0000"},
        {TrcLayout::rcl_X2Both_Y2Both, 50, 50, 48, 40, H::cahChartCenter, "1100", "1100", "0100", "0100"},
    };
    TChartFixture f(600, 400);
    TPlotChart& c = *f.Chart;
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.Layout));
        c.SetStandardLayout(r.Layout);
        EXPECT_EQ(c.MarginLeft(), r.L);
        EXPECT_EQ(c.MarginRight(), r.R);
        EXPECT_EQ(c.MarginTop(), r.T);
        EXPECT_EQ(c.MarginBottom(), r.B);
        EXPECT_EQ(c.CaptionAnchorHoriz(), r.Anchor);
        for (int s = 1; s <= 4; ++s) {
            EXPECT_EQ(c.ScaleX(s)->Visible(), r.VisibleX[s - 1] == '1') << "X" << s;
            EXPECT_EQ(c.ScaleY(s)->Visible(), r.VisibleY[s - 1] == '1') << "Y" << s;
            EXPECT_EQ(c.ScaleX(s)->ScaleLocation() == TScaleLocationHoriz::slTop, r.SecondX[s - 1] == '1');
            EXPECT_EQ(c.ScaleY(s)->ScaleLocation() == TScaleLocationVert::slRight, r.SecondY[s - 1] == '1');
            // The scale control follows its properties.
            EXPECT_EQ(c.ScaleControlX(s)->Visible(), c.ScaleX(s)->Visible());
        }
        for (int s = 5; s <= 16; ++s) EXPECT_FALSE(c.ScaleY(s)->Visible());
    }
    c.SetStandardLayout(TrcLayout::rcl_X1Bottom_Y3Left);
    EXPECT_EQ(c.ScaleY(3)->ScalePos(), 100);
    c.SetStandardLayout(TrcLayout::rcl_X2Bottom_Y2Left);
    EXPECT_EQ(c.ScaleX(2)->ScalePos(), 30);
    EXPECT_EQ(c.ScaleX(1)->CaptionPosX(), -20);
}

TEST(PlotChart, ItemMethodsAndTheirLimits)
{
    TChartFixture f;
    TPlotChart& c = *f.Chart;
    c.Text(1, 2, 10, "twenty characters!!!");
    EXPECT_EQ(ItemText(c.GetItemParams(0)), "twenty characte");
    EXPECT_EQ(ItemText(c.GetItemParams(0)).size(), 15u);
    EXPECT_EQ(c.GetItemParams(0).MarkOrAlign, static_cast<uint8_t>(TAlignment::taCenter));

    // Stored in the single-byte code page: one byte per letter.
    c.Text(1, 2, 10, "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
    EXPECT_EQ(ItemText(c.GetItemParams(1)), "Gr\xFC\xDF" "e aus K\xF6ln");
    c.RemoveItem(1);

    c.Bar3D(0, 0, 1, 1, 5, 200);
    c.Bar3D(0, 0, 1, 1, 5, -5);
    EXPECT_EQ(c.GetItemParams(1).SizeOrAngle, 180);
    EXPECT_EQ(c.GetItemParams(2).SizeOrAngle, 0);

    c.SetClassDefault(7);
    c.SetClassDefault(255);
    EXPECT_EQ(c.ClassDefault(), 7);

    // Current attributes go into the items; a frame always has width 1.
    c.SetDataColor(gui::clRed);
    c.SetLineWidth(3);
    c.SetActiveLayer(2);
    c.SetActiveLayer(17);   // ignored
    c.SetTransparentItems(true);
    c.RectFrame(0, 0, 1, 1, TFrameStyle::fsRaised, gui::clGray, gui::clWhite);
    c.Ellipse(5, 5, 2, 1);
    const TrcChartItem frame = c.GetItemParams(3), ellipse = c.GetItemParams(4);
    EXPECT_EQ(frame.LWid, 1);
    EXPECT_EQ(frame.Layer, 2);
    EXPECT_EQ(frame.ItemClass, 7);
    EXPECT_EQ(frame.Color, gui::clRed);
    EXPECT_EQ(ellipse.LWid, 3);
    EXPECT_EQ(ellipse.Transp, 1);
    EXPECT_EQ(ellipse.x2, 2);

    // Thirty labels, then none; switching them off keeps them taken.
    for (int i = 1; i <= 30; ++i) EXPECT_EQ(c.AddTextLabel(1, 1, gui::clBlue, "L", 0), i);
    EXPECT_EQ(c.AddTextLabel(1, 1, gui::clBlue, "L", 0), 0);
    c.AllTextLabelsOff();
    EXPECT_EQ(c.AddTextLabel(1, 1, gui::clBlue, "L", 0), 0);
    EXPECT_FALSE(c.TextLabel(5)->Visible());
    EXPECT_EQ(c.TextLabel(1)->Layer(), 2);
    // A template copies its look and gives a simple mode for an unused one.
    c.TextLabel(2)->SetMode(TTxtLblMode::tlShadow);
    c.TextLabel(2)->SetShadowDx(6);
    c.SetTextLabel(3, 0, 0, gui::clBlack, "T", 2);
    EXPECT_EQ(c.TextLabel(3)->Mode(), TTxtLblMode::tlShadow);
    EXPECT_EQ(c.TextLabel(3)->ShadowDx(), 6);
    EXPECT_EQ(c.TextLabel(3)->Font()->Color(), gui::clBlack);
}

TEST(PlotChart, SizeLimits)
{
    TChartFixture f;
    TPlotChart& c = *f.Chart;
    c.SetBounds(0, 0, 50, 10);
    EXPECT_EQ(c.Width(), 50 + 20 + 80);
    EXPECT_EQ(c.Height(), 20 + 40 + 20);
    c.SetShadowWidth(40);
    EXPECT_EQ(c.ShadowWidth(), 32);
}

TEST(PlotChart, CoordinatesAndRangesThroughTheControl)
{
    TChartFixture f(470, 260);
    TPlotChart& c = *f.Chart;
    c.SetRange(1, 0, 0, 10, 1);
    int x = 0, y = 0;
    c.R2M(1, 0, 0, x, y);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 220);
    c.R2M(1, 5, 1, x, y);
    EXPECT_EQ(x, 250);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(c.R2M(1, 10, 0.5).X, 450);
    double rx = 0, ry = 0;
    c.M2R(1, 250, 120, rx, ry);
    EXPECT_NEAR(rx, 5, 1e-12);
    EXPECT_NEAR(ry, 0.5, 1e-12);
    c.M2R(99, 250, 120, rx, ry);   // clamped to layer 16, whose range is 0..1
    EXPECT_NEAR(rx, 0.5, 1e-12);

    // Equal limits are widened by MinRange; a narrower range is refused.
    c.ScaleX(1)->SetMinRange(0.5);
    c.SetRange(1, 5, 0, 5, 1);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 4.75);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeHigh(), 5.25);
    EXPECT_DOUBLE_EQ(c.ScaleY(1)->RangeHigh(), 1);
    c.SetRange(1, 0, 0, 0.1, 1);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 4.75);
    // The scale control takes the range.
    EXPECT_DOUBLE_EQ(c.ScaleControlX(1)->RangeHigh(), 5.25);

    // Equal ranges: the union of the set's ranges, on both axes or on one.
    c.SetRange(2, 0, 0, 5, 5);
    c.SetRange(3, 3, 1, 9, 2);
    c.SetEqualRangeXOnly(std::bitset<17>().set(2).set(3));
    EXPECT_DOUBLE_EQ(c.ScaleX(3)->RangeLow(), 0);
    EXPECT_DOUBLE_EQ(c.ScaleY(3)->RangeHigh(), 2);
    c.SetEqualRange(std::bitset<17>().set(2).set(3));
    EXPECT_DOUBLE_EQ(c.ScaleX(2)->RangeHigh(), 9);
    EXPECT_DOUBLE_EQ(c.ScaleY(3)->RangeLow(), 0);
    EXPECT_DOUBLE_EQ(c.ScaleY(3)->RangeHigh(), 5);
    EXPECT_DOUBLE_EQ(c.ScaleX(4)->RangeHigh(), 1);   // not in the set

    // Automatic ranges from the items.
    c.ScaleX(1)->SetMinRange(1e-10);
    c.MoveTo(0, 0);
    c.DrawTo(100, 50);
    c.AutoRange(1, 10);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), -10);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeHigh(), 110);
    c.ClearGraf();
    c.MarkAt(3, 3, 1);
    c.AutoRange(1, 0);
    EXPECT_DOUBLE_EQ(c.ScaleY(1)->RangeLow(), 2);
    EXPECT_DOUBLE_EQ(c.ScaleY(1)->RangeHigh(), 4);
}

TEST(PlotChart, ZoomHistoryConfinementAndJointLayers)
{
    TChartFixture f;
    TPlotChart& c = *f.Chart;
    c.ClearZoomHistory();
    for (int i = 1; i <= 20; ++i) c.SetRange(1, i, 0, i + 10, 1);
    c.ZoomHistory(1);   // outside -15..0: nothing
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 20);
    c.ZoomHistory(-15);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 5);

    // Panning against the limits keeps the width, zooming clips.
    c.ConfineZoomRange(0, -100, 100, 100);
    c.SetMouseAction(TMouseActMode::maPanHoriz);
    c.ApplyLayerRange(1, false, true, 95, 0, 115, 1);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 80);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeHigh(), 100);
    c.SetMouseAction(TMouseActMode::maZoomWind);
    c.ApplyLayerRange(1, false, true, 95, 0, 115, 1);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeLow(), 95);
    EXPECT_DOUBLE_EQ(c.ScaleX(1)->RangeHigh(), 100);

    // Layer 3's X range follows layer 1's.
    c.JointLayers()->SetXControlledBy(3, 1);
    c.SetRange(1, 2, 0, 4, 1);
    EXPECT_DOUBLE_EQ(c.ScaleX(3)->RangeLow(), 2);
    EXPECT_DOUBLE_EQ(c.ScaleX(3)->RangeHigh(), 4);
    c.SetRange(3, 7, 7, 9, 9);   // its own X comes from layer 1
    EXPECT_DOUBLE_EQ(c.ScaleX(3)->RangeLow(), 2);
    EXPECT_DOUBLE_EQ(c.ScaleY(3)->RangeLow(), 7);

    // Isometric: the vertical span is F times the horizontal one.
    c.SetRange(1, 0, 0, 10, 1);
    c.SetIsometric(true);
    const double F = double(c.PlotHeight() + 1) / (c.PlotWidth() + 1);
    EXPECT_NEAR(c.IsometricFactor(), F, 1e-12);
    EXPECT_NEAR(c.ScaleY(1)->RangeHigh() - c.ScaleY(1)->RangeLow(), 10 * F, 1e-9);
}

TEST(PlotChart, SharedItemsOutliveTheirOwnerChart)
{
    auto* scripted = new gui::TScriptedDialogService;
    auto previous = gui::SetDialogService(std::unique_ptr<gui::IDialogService>(scripted));
    {
        TChartFixture f;
        auto* owner = new TPlotChart(f.Form.get());
        owner->SetParent(f.Form.get());
        owner->MoveTo(0, 0);
        owner->DrawTo(1, 1);
        std::vector<TPlotChart*> users;
        for (int i = 0; i < 5; ++i) {
            users.push_back(new TPlotChart(f.Form.get()));
            users.back()->SetParent(f.Form.get());
            users.back()->SetUseDataOf(owner);
        }
        ASSERT_EQ(scripted->Calls.size(), 1u);
        EXPECT_EQ(scripted->Calls[0].Text, "PlotChart: Max. number of data shares exceeded");
        EXPECT_EQ(scripted->Calls[0].Type, gui::TMsgDlgType::mtInformation);
        EXPECT_EQ(users[4]->UseDataOf(), nullptr);
        users[0]->SetUseDataOf(users[0]);
        EXPECT_EQ(scripted->Calls.back().Text, "PlotChart: Cannot share data with myself");
        EXPECT_EQ(users[1]->NumItems(), 2);

        delete owner;
        // The users keep their items and draw them (the address sanitizer
        // run shows no read of the freed chart).
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(users[i]->UseDataOf(), nullptr);
            EXPECT_EQ(users[i]->NumItems(), 2);
            users[i]->DrawTo(2, 2);
            users[i]->ShowGraf();
        }
        EXPECT_EQ(users[0]->NumItems(), 3);
        EXPECT_EQ(users[1]->NumItems(), 3);   // own copies now
    }
    gui::SetDialogService(std::move(previous));
}

// The program's delta-T dialog draws this way: ranges of layer 1 through
// its scale properties, a caption, then one curve per colour with MoveTo
// and DrawTo, shown with ShowGraf.
TEST(PlotChart, DeltaTRoadPaintsAxesCaptionsAndCurves)
{
    TChartFixture f(560, 360);
    TPlotChart& c = *f.Chart;
    c.SetAutoRedraw(false);
    c.SetMarginLeft(35);
    c.SetMarginRight(5);
    c.SetMarginTop(14);
    c.SetMarginBottom(25);
    c.Scale1X()->SetRangeLow(1600);
    c.Scale1X()->SetRangeHigh(2050);
    c.Scale1Y()->SetRangeLow(-20);
    c.Scale1Y()->SetRangeHigh(140);
    c.Scale1Y()->SetCaption("Delta T [s]");
    c.SetActiveLayer(1);
    c.ClearGraf();
    std::vector<int> polylines;
    c.OnPolylineDrawn = [&](int n) { polylines.push_back(n); };

    // A parabola of the long-term trend (red) and a wavy observed curve (green), 450 points each.
    auto trend = [](double year) { const double u = (year - 1820) / 100; return -20 + 32 * u * u; };
    c.SetDataColor(gui::clRed);
    c.MoveTo(1600, trend(1600));
    for (int i = 1; i <= 450; ++i) c.DrawTo(1600 + i, trend(1600 + i));
    auto observed = [](double year) {
        return 60 * std::exp(-(year - 1600) / 120) + 8 * std::sin(year / 25) + 0.17 * (year - 1900);
    };
    c.SetDataColor(gui::clLime);
    c.MoveTo(1600, observed(1600));
    for (int i = 1; i <= 450; ++i) c.DrawTo(1600 + i, observed(1600 + i));
    c.SetSuppressPaint(false);
    c.ShowGraf();

    // Each run of 450 line-to steps: polylines of 200, 200 and 53 points.
    EXPECT_EQ(polylines, (std::vector<int>{200, 200, 53, 200, 200, 53}));

    gui::TBitmap& bmp = *c.ChartBmp();
    const gui::TRect plot(36, 15, 560 - 5 - 1, 360 - 25 - 1);
    EXPECT_GT(CountPixels(bmp, plot, gui::clRed), 300);
    EXPECT_GT(CountPixels(bmp, plot, gui::clLime), 300);
    // The trend's lowest point, 1820 at -20 s, lies on the plot's bottom edge.
    int px = 0, py = 0;
    c.R2M(1, 1820, -20, px, py);
    EXPECT_EQ(py, 360 - 25);
    // Plot frame corners in black, the area around the plot in the window colour.
    EXPECT_EQ(bmp.Canvas()->Pixels(35, 14), gui::clBlack);
    EXPECT_EQ(bmp.Canvas()->Pixels(555, 335), gui::clBlack);
    // The scales' labels and the Y caption leave ink in the margins.
    EXPECT_GT(CountDarkPixels(bmp, gui::TRect(0, 14, 34, 335)), 20);
    EXPECT_GT(CountDarkPixels(bmp, gui::TRect(35, 337, 556, 360)), 20);
    EXPECT_GT(CountDarkPixels(bmp, gui::TRect(0, 0, 200, 14)), 5);   // "Delta T [s]"
    // Nothing of the curves outside the plot.
    EXPECT_EQ(CountPixels(bmp, gui::TRect(0, 0, 34, 360), gui::clRed), 0);

    gui::TPngImage png;
    png.Assign(&bmp);
    png.SaveToFile((tectest::SnapshotDir() / "deltat-road.png").string());
}

TEST(PlotChart, MoveToAndTwoDrawToShowOnePolylineOfThreePoints)
{
    TChartFixture f;
    TPlotChart& c = *f.Chart;
    c.SetRange(1, 1700, 0, 1703, 0.4);
    std::vector<int> polylines;
    c.OnPolylineDrawn = [&](int n) { polylines.push_back(n); };
    c.MoveTo(1700, 0.1);
    c.DrawTo(1701, 0.2);
    c.DrawTo(1702, 0.3);
    polylines.clear();
    c.ShowGraf();
    EXPECT_EQ(c.TypeOfFirstItem(), TrcItem::tkMoveTo);
    EXPECT_EQ(c.TypeOfLastItem(), TrcItem::tkLineto);
    EXPECT_EQ(polylines, std::vector<int>{3});
    EXPECT_EQ(c.Items().LastElemOnShow(), 2);
}

TEST(PlotChart, CrossHairsStayOffTheBorder)
{
    TChartFixture f(300, 200);
    TPlotChart& c = *f.Chart;
    c.SetRange(1, 0, 0, 10, 10);
    c.SetChartColor(gui::clWhite);
    c.CrossHairSetup(1, gui::clBlue, TCrossHMode::chBoth, gui::TPenStyle::psSolid, 3);
    c.CrossHairSetPos(1, 5, 5);
    gui::TBitmap& bmp = *c.ChartBmp();
    const gui::TPoint p = c.R2M(1, 5, 5);
    EXPECT_EQ(bmp.Canvas()->Pixels(p.X, p.Y - 30), gui::clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(p.X + 40, p.Y), gui::clBlue);
    // At the left edge (within half the line width) the vertical line is
    // not drawn; the plot bitmap under the overlay is copied in afresh.
    c.CrossHairSetup(1, gui::clBlue, TCrossHMode::chVert, gui::TPenStyle::psSolid, 3);
    c.CrossHairSetPos(1, 0.01, 5);
    const gui::TPoint q = c.R2M(1, 0.01, 5);
    EXPECT_NE(bmp.Canvas()->Pixels(q.X, q.Y), gui::clBlue);
}

TEST(PlotChart, MissingBackgroundImageFallsBackOnceToThePlainBackground)
{
    TChartFixture f(300, 200);
    TPlotChart& c = *f.Chart;
    int changes = 0;
    c.BackGroundImg()->SetIncludePath(true);
    c.BackGroundImg()->SetName((tectest::ScratchDir("chart-bg") / "missing.bmp").string());
    auto previous = c.BackGroundImg()->OnChange;
    c.BackGroundImg()->OnChange = [&](rtl::TObject* s) { ++changes; previous(s); };
    c.SetChartColor(gui::clYellow);   // paints
    EXPECT_EQ(c.BackGroundImg()->Name(), "");
    EXPECT_EQ(changes, 0);   // cleared quietly, not tried again
    EXPECT_EQ(c.ChartBmp()->Canvas()->Pixels(150, 100), gui::clYellow);
}

// A scale's properties and the background copy from one chart to another:
// every published setting arrives, with one change notice each.
TEST(PlotChart, ScaleAndBackgroundCopyBetweenCharts)
{
    TChartFixture a, b;
    TScalePropsHoriz* from = a.Chart->ScaleX(1);
    from->SetCaption("Time");
    from->SetCaptionPosX(7);
    from->SetCaptionPosY(-3);
    from->SetCaptionAlignment(TAlignment::taRightJustify);
    from->SetColorScale(gui::clRed);
    from->SetDecPlaces(4);
    from->SetLabelType(TFigType::ftDateTime);
    from->DateFormat()->SetDateSeparator('-');
    from->Font()->SetSize(15);
    from->SetMinTicks(6);
    from->SetRangeLow(2);
    from->SetRangeHigh(9);
    from->SetShortTicks(false);
    from->SetScaleInscript("UT");
    from->SetMinRange(0.5);
    from->SetUserTickText("a|b");
    from->SetVisible(true);
    from->SetScaleLocation(TScaleLocationHoriz::slTop);
    from->SetScalePos(40);

    TScalePropsHoriz* to = b.Chart->ScaleX(1);
    int changes = 0;
    rtl::TNotifyEvent chartsOwn = to->OnChange;
    to->OnChange = [&](rtl::TObject* s) {
        ++changes;
        if (chartsOwn) chartsOwn(s);
    };
    ASSERT_NO_THROW(b.Chart->SetScaleX(1, from));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(to->Caption(), "Time");
    EXPECT_EQ(to->CaptionPosX(), 7);
    EXPECT_EQ(to->CaptionPosY(), -3);
    EXPECT_EQ(to->CaptionAlignment(), TAlignment::taRightJustify);
    EXPECT_EQ(to->ColorScale(), gui::clRed);
    EXPECT_EQ(to->DecPlaces(), 4);
    EXPECT_EQ(to->LabelType(), TFigType::ftDateTime);
    EXPECT_EQ(to->DateFormat()->DateSeparator(), '-');
    EXPECT_EQ(to->Font()->Size(), 15);
    EXPECT_EQ(to->MinTicks(), 6);
    EXPECT_EQ(to->RangeLow(), 2);
    EXPECT_EQ(to->RangeHigh(), 9);
    EXPECT_FALSE(to->ShortTicks());
    EXPECT_EQ(to->ScaleInscript(), "UT");
    EXPECT_EQ(to->MinRange(), 0.5);
    EXPECT_EQ(to->UserTickText(), "a|b");
    EXPECT_TRUE(to->Visible());
    EXPECT_EQ(to->ScaleLocation(), TScaleLocationHoriz::slTop);
    EXPECT_EQ(to->ScaleType(), from->ScaleType());
    EXPECT_EQ(to->ScalePos(), 40);

    a.Chart->ScaleY(2)->SetCaption("Height");
    ASSERT_NO_THROW(b.Chart->SetScaleY(2, a.Chart->ScaleY(2)));
    EXPECT_EQ(b.Chart->ScaleY(2)->Caption(), "Height");

    TBakGndImg* bg = a.Chart->BackGroundImg();
    bg->SetAreaMode(TBGAreaMode::bamRect);
    bg->SetAreaColor(gui::clYellow);
    bg->SetAreaLeft(-5);
    bg->SetAreaTop(6);
    bg->SetFillMode(TBkgFill::bfTile);
    ASSERT_NO_THROW(b.Chart->SetBackGroundImg(bg));
    EXPECT_EQ(b.Chart->BackGroundImg()->AreaMode(), TBGAreaMode::bamRect);
    EXPECT_EQ(b.Chart->BackGroundImg()->AreaColor(), gui::clYellow);
    EXPECT_EQ(b.Chart->BackGroundImg()->AreaLeft(), -5);
    EXPECT_EQ(b.Chart->BackGroundImg()->AreaTop(), 6);
    EXPECT_EQ(b.Chart->BackGroundImg()->FillMode(), TBkgFill::bfTile);
    // A source of another kind still raises.
    gui::TFont font;
    EXPECT_ANY_THROW(to->Assign(&font));
}
