// The scale control: its value-to-pixel transformation, the clamping
// setters, the recording of ticks, and painting opaque and transparent,
// horizontal and vertical, into bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "TestPaths.h"
#include "chart/PlotScale.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/PngImage.h"

using namespace chart;
using gui::TBitmap;
using gui::TColor;

namespace {

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h)
{
    auto bmp = std::make_unique<TBitmap>(w, h);
    bmp->Canvas()->Brush()->SetColor(gui::clWhite);
    bmp->Canvas()->FillRect(gui::Rect(0, 0, w, h));
    return bmp;
}

std::unique_ptr<TScale> NewScale(TScaleType type, int w, int h)
{
    auto s = std::make_unique<TScale>(nullptr);
    s->SetScaleType(type);
    s->SetBounds(0, 0, w, h);
    return s;
}

bool Dark(TBitmap& bmp, int x, int y)
{
    TColor c = bmp.Canvas()->Pixels(x, y);
    return gui::GetRValue(c) < 100 && gui::GetGValue(c) < 100 && gui::GetBValue(c) < 100;
}

int InkIn(TBitmap& bmp, const gui::TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += Dark(bmp, x, y);
    return n;
}

// ---------------------------------------------------------- transformation

struct TransformCase {
    TScaleType type;
    bool log;
    double lo, hi;
    double k, d;
};

TEST(ScaleTransform, KAndDForLinearAndLogarithmicScales)
{
    // 400 x 400 with margins 20: usable length 359 pixels.
    const TransformCase cases[] = {
        {TScaleType::sctXB, false, 0, 100, 3.59, 20},
        {TScaleType::sctXT, false, -50, 50, 3.59, 20 + 50 * 3.59},
        {TScaleType::sctXB, true, 1, 1000, 359 / std::log(1000.0), 20},
        {TScaleType::sctXB, true, 10, 1000, 359 / std::log(100.0), 20 - std::log(10.0) * 359 / std::log(100.0)},
        {TScaleType::sctYL, false, 0, 100, -3.59, 20 + 100 * 3.59},
        {TScaleType::sctYR, true, 1, 100, -359 / std::log(100.0), 379},
    };
    for (const TransformCase& c : cases) {
        auto s = NewScale(c.type, 400, 400);
        s->SetRange(c.lo, c.hi);
        s->SetLogarithmic(c.log);
        EXPECT_NEAR(s->K(), c.k, 1e-9) << int(c.type) << " " << c.log;
        EXPECT_NEAR(s->D(), c.d, 1e-9) << int(c.type) << " " << c.log;
        // The limits land on the ends of the span (high at the top).
        const bool vertical = IsVerticalScale(c.type);
        EXPECT_EQ(s->ConvertToPixelCoords(c.lo), vertical ? 379 : 20);
        EXPECT_EQ(s->ConvertToPixelCoords(c.hi), vertical ? 20 : 379);
        EXPECT_NEAR(s->ConvertPixelToScale(vertical ? 20 : 379), c.hi, 1e-9 * std::fabs(c.hi) + 1e-9);
    }
}

TEST(ScaleTransform, RoundingHalvesToEvenAndClamping)
{
    // Width 22 with margins 10 + 10: one usable pixel, k = 1 on 0..1.
    auto s = NewScale(TScaleType::sctXB, 22, 40);
    s->SetMarginLeft(10);
    s->SetMarginRight(10);
    s->SetRange(0, 1);
    EXPECT_DOUBLE_EQ(s->K(), 1);
    EXPECT_DOUBLE_EQ(s->D(), 10);
    EXPECT_EQ(s->ConvertToPixelCoords(0.5), 10);   // 10.5 -> even
    EXPECT_EQ(s->ConvertToPixelCoords(1.5), 12);   // 11.5 -> even
    EXPECT_EQ(s->ConvertToPixelCoords(1e12), 2147483647);
    EXPECT_EQ(s->ConvertToPixelCoords(-1e12), -2147483647);

    // Logarithmic: values at or below 1e-100 go to 0, or to the width on a
    // descending range.
    auto l = NewScale(TScaleType::sctXB, 400, 40);
    l->SetRange(1, 100);
    l->SetLogarithmic(true);
    EXPECT_EQ(l->ConvertToPixelCoords(0), 0);
    EXPECT_EQ(l->ConvertToPixelCoords(-3), 0);
    l->SetRange(100, 1);
    EXPECT_EQ(l->ConvertToPixelCoords(0), 400);
}

TEST(ScaleTransform, NoUsableLengthMapsEverythingToTheMiddle)
{
    auto s = NewScale(TScaleType::sctXB, 22, 40);
    s->SetMarginLeft(20);
    s->SetMarginRight(20);
    EXPECT_EQ(s->K(), 0);
    for (double v : {-1e6, 0.0, 50.0, 1e6}) EXPECT_EQ(s->ConvertToPixelCoords(v), 11) << v;
    // The inverse answers the range's centre, not an infinite value.
    for (int p : {0, 11, 30}) EXPECT_DOUBLE_EQ(s->ConvertPixelToScale(p), 50) << p;

    // A vertical scale without height also centres on the width.
    auto v = NewScale(TScaleType::sctYL, 60, 30);
    EXPECT_EQ(v->K(), 0);
    EXPECT_EQ(v->ConvertToPixelCoords(10), 30);
    EXPECT_DOUBLE_EQ(v->ConvertPixelToScale(5), 50);
}

// ------------------------------------------------------------------ setters

TEST(ScaleSetters, RangeMinTicksDecPlacesMargins)
{
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    EXPECT_EQ(s->RangeLow(), 0);
    EXPECT_EQ(s->RangeHigh(), 100);
    s->SetRangeLow(100);
    EXPECT_EQ(s->RangeLow(), 100);
    EXPECT_EQ(s->RangeHigh(), 101);
    s->SetRangeHigh(100);
    EXPECT_EQ(s->RangeHigh(), 100);
    EXPECT_EQ(s->RangeLow(), 101);
    s->SetRange(7, 7);
    EXPECT_EQ(s->RangeLow(), 7);
    EXPECT_EQ(s->RangeHigh(), 8);
    EXPECT_EQ(s->Center(), 7.5);

    const std::pair<int, int> minTicks[] = {{1, 2}, {15, 10}, {0, 0}, {5, 5}, {-3, 2}};
    for (auto [in, out] : minTicks) {
        s->SetMinTicks(in);
        EXPECT_EQ(s->MinTicks(), out) << in;
    }
    const std::pair<int, int> decimals[] = {{-5, -3}, {20, 12}, {-1, -1}, {3, 3}};
    for (auto [in, out] : decimals) {
        s->SetDecPlaces(in);
        EXPECT_EQ(s->DecPlaces(), out) << in;
    }
    s->SetMarginTop(-4);
    EXPECT_EQ(s->MarginTop(), 0);
    s->SetLabelType(TFigType::ftTime);
    EXPECT_EQ(s->DecPlaces(), 4);
    s->SetColorScheme(TColorScheme::csSystem);
    s->SetColorScheme(TColorScheme::csBWG);
    EXPECT_EQ(s->ColorScheme(), TColorScheme::csBWG);
}

TEST(ScaleSetters, LogarithmicIsCheckedOnlyAfterLoading)
{
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    EXPECT_TRUE(s->LoadingFlag());
    s->SetLogarithmic(true);   // RangeLow 0, but still loading
    EXPECT_TRUE(s->Logarithmic());
    s->SetLogarithmic(false);

    s->Loaded();
    EXPECT_FALSE(s->LoadingFlag());
    s->SetLogarithmic(true);
    EXPECT_FALSE(s->Logarithmic());
    s->SetRange(1, 1000);
    s->SetLogarithmic(true);
    EXPECT_TRUE(s->Logarithmic());
    s->SetLabelType(TFigType::ftDateTime);
    EXPECT_FALSE(s->Logarithmic());
    s->SetLogarithmic(true);
    EXPECT_FALSE(s->Logarithmic());
}

TEST(ScaleSetters, AssignCopiesSettingsButNotTheHelperFlag)
{
    auto a = NewScale(TScaleType::sctYR, 100, 300);
    a->SetRange(-5, 5);
    a->SetCaption("km");
    a->SetMinTicks(7);
    a->SetIsHelperComponent(true);
    a->DateFormat()->SetYearLength(TYearLength::ylNone);
    auto b = NewScale(TScaleType::sctXB, 400, 60);
    b->Assign(a.get());
    EXPECT_EQ(b->ScaleType(), TScaleType::sctYR);
    EXPECT_EQ(b->RangeLow(), -5);
    EXPECT_EQ(b->Caption(), "km");
    EXPECT_EQ(b->MinTicks(), 7);
    EXPECT_EQ(b->DateFormat()->YearLength(), TYearLength::ylNone);
    EXPECT_FALSE(b->IsHelperComponent());
    EXPECT_DOUBLE_EQ(b->K(), a->K());
}

// ---------------------------------------------------------- recorded ticks

TEST(ScaleTicks, TickPositionsOfTheLastPaint)
{
    auto bmp = WhiteBitmap(400, 60);
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    s->SetShortTicks(false);
    s->UseForeignCanvas(bmp->Canvas(), 0, 0);
    s->ForcePaint();
    ASSERT_EQ(s->NumTicks(), 6);   // 0, 20, ... 100
    for (int i = 1; i <= 6; ++i) EXPECT_DOUBLE_EQ(s->TickPosition(i), 20.0 * (i - 1));
    EXPECT_EQ(s->TickPosition(0), 0);
    EXPECT_EQ(s->TickPosition(7), 0);
    EXPECT_EQ(s->TickPosition(-1), 0);
}

TEST(ScaleTicks, MoreThan250TicksDrawnOnly250Recorded)
{
    auto bmp = WhiteBitmap(400, 60);
    auto s = NewScale(TScaleType::sctYL, 60, 400);
    s->SetRange(0, 400);
    s->SetMinTicks(0);   // a tick at every unit
    std::vector<double> announced;
    s->OnScaleTickDrawn = [&](rtl::TObject*, gui::TCanvas*&, TScaleType, double v, int, int) {
        announced.push_back(v);
    };
    s->UseForeignCanvas(bmp->Canvas(), 0, 0);
    s->ForcePaint();
    EXPECT_GT(announced.size(), 250u);
    EXPECT_EQ(s->NumTicks(), 250);
    EXPECT_DOUBLE_EQ(s->TickPosition(250), announced[249]);
}

TEST(ScaleTicks, MinTicksZeroOnADescendingRangeEnds)
{
    auto bmp = WhiteBitmap(400, 60);
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    s->SetRange(100, 0);
    s->SetMinTicks(0);
    s->SetShortTicks(false);
    const TTickPlan plan = s->PlanTicks();
    ASSERT_EQ(plan.Ticks.size(), 101u);
    EXPECT_DOUBLE_EQ(plan.Ticks.front().Value, 100);
    EXPECT_DOUBLE_EQ(plan.Ticks.back().Value, 0);
    // A range of millions of units with a tick at each stays bounded.
    s->SetRange(0, 5e6);
    EXPECT_LE(s->PlanTicks().Ticks.size(), 50000u);
}

TEST(ScaleTicks, NonFiniteRangesPaintWithoutHanging)
{
    auto bmp = WhiteBitmap(400, 60);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (TFigType type : {TFigType::ftNum, TFigType::ftTime, TFigType::ftDateTime}) {
        for (auto [lo, hi] : {std::pair{0.0, inf}, {-inf, 0.0}, {nan, 1.0}, {0.0, 1e300}}) {
            auto s = NewScale(TScaleType::sctXB, 400, 60);
            s->SetLabelType(type);
            s->SetRange(lo, hi);
            s->UseForeignCanvas(bmp->Canvas(), 0, 0);
            s->ForcePaint();
            EXPECT_LE(s->NumTicks(), TScale::MaxRecordedTicks);
        }
    }
}

// ------------------------------------------------------------------ painting

TEST(ScalePaint, TransparentOnAForeignCanvasShiftsOnlyTheBaseLine)
{
    auto bmp = WhiteBitmap(600, 200);
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    s->SetTransparent(true);
    s->SetIsHelperComponent(true);
    std::vector<std::pair<int, int>> feet;
    s->OnScaleTickDrawn = [&](rtl::TObject*, gui::TCanvas*&, TScaleType, double, int x, int y) {
        feet.emplace_back(x, y);
    };
    s->UseForeignCanvas(bmp->Canvas(), 100, 50);
    s->ForcePaint();
    const int base = 50 + 60 - 20 - 1;  // 89
    // The base line at the shifted height, along the unshifted span.
    EXPECT_TRUE(Dark(*bmp, 20, base));
    EXPECT_TRUE(Dark(*bmp, 200, base));
    EXPECT_FALSE(Dark(*bmp, 200, 39));
    // Major ticks (7 pixels up) at 0 and 20 units: x = 20 and 92.
    EXPECT_TRUE(Dark(*bmp, 20, base - 6));
    EXPECT_TRUE(Dark(*bmp, 92, base - 6));
    EXPECT_FALSE(Dark(*bmp, 20, base - 7));
    // A minor tick at 5 units (x = 38) is 4 pixels long.
    EXPECT_TRUE(Dark(*bmp, 38, base - 3));
    EXPECT_FALSE(Dark(*bmp, 38, base - 4));
    EXPECT_FALSE(Dark(*bmp, 120, base - 6));
    // Nothing is drawn where an unshifted opaque scale would stand.
    EXPECT_EQ(InkIn(*bmp, gui::Rect(0, 0, 600, 45)), 0);
    ASSERT_FALSE(feet.empty());
    EXPECT_EQ(feet.front(), std::make_pair(20, base));
}

TEST(ScalePaint, OpaqueHorizontalAndVerticalScales)
{
    const TColor face = gui::ColorToRGB(gui::clBtnFace);
    auto dir = tectest::ScratchDir("chart-scale-paint");

    auto hb = WhiteBitmap(400, 60);
    auto h = NewScale(TScaleType::sctXB, 400, 60);
    h->SetCaption("years");
    h->UseForeignCanvas(hb->Canvas(), 0, 0);
    h->ForcePaint();
    gui::TCanvas* c = hb->Canvas();
    // Lowered frame: grey outer top-left, white outer bottom-right, black inner top-left.
    EXPECT_EQ(c->Pixels(0, 30), 0x808080u);
    EXPECT_EQ(c->Pixels(200, 0), 0x808080u);
    EXPECT_EQ(c->Pixels(399, 30), 0xFFFFFFu);
    EXPECT_EQ(c->Pixels(200, 59), 0xFFFFFFu);
    EXPECT_EQ(c->Pixels(1, 30), 0x000000u);
    EXPECT_EQ(c->Pixels(300, 10), face);
    // Base line at y = 39 and the label "0" above the tick at x = 20.
    EXPECT_TRUE(Dark(*hb, 200, 39));
    const int labelBottom = 39 - 7;
    EXPECT_GT(InkIn(*hb, gui::Rect(12, labelBottom - 14, 30, labelBottom)), 0);
    gui::TPngImage png;
    png.Assign(hb.get());
    png.SaveToFile((dir / "scale-horizontal.png").string());

    auto vb = WhiteBitmap(80, 300);
    auto v = NewScale(TScaleType::sctYL, 80, 300);
    v->SetRange(-1, 1);
    v->UseForeignCanvas(vb->Canvas(), 0, 0);
    v->ForcePaint();
    // Base line at x = 20; the tick of 1 (top, y = 20) reaches 6 pixels right.
    EXPECT_TRUE(Dark(*vb, 20, 150));
    EXPECT_TRUE(Dark(*vb, 25, 20));
    EXPECT_FALSE(Dark(*vb, 26, 20));
    // Labels to the right of the ticks: "1.0" near the top.
    EXPECT_GT(InkIn(*vb, gui::Rect(28, 10, 60, 30)), 0);
    EXPECT_EQ(v->NumTicks() > 0, true);
    png.Assign(vb.get());
    png.SaveToFile((dir / "scale-vertical.png").string());

    // The same vertical scale transparent over a coloured canvas keeps the colour.
    auto tb = WhiteBitmap(80, 300);
    tb->Canvas()->Brush()->SetColor(gui::clYellow);
    tb->Canvas()->FillRect(gui::Rect(0, 0, 80, 300));
    v->SetTransparent(true);
    v->UseForeignCanvas(tb->Canvas(), 0, 0);
    v->ForcePaint();
    EXPECT_EQ(tb->Canvas()->Pixels(60, 150), gui::clYellow);
    EXPECT_TRUE(Dark(*tb, 20, 150));
    png.Assign(tb.get());
    png.SaveToFile((dir / "scale-vertical-transparent.png").string());
}

TEST(ScalePaint, AStandAloneScalePaintsItsOwnWindow)
{
    auto s = NewScale(TScaleType::sctXT, 300, 50);
    s->SetColorBackGnd(gui::clWhite);
    auto bmp = WhiteBitmap(300, 50);
    s->PaintTo(bmp->Canvas(), 0, 0);
    // Base line at MarginTop, a major tick reaching 7 pixels down at 0.
    EXPECT_TRUE(Dark(*bmp, 150, 20));
    EXPECT_TRUE(Dark(*bmp, 20, 26));
    EXPECT_FALSE(Dark(*bmp, 20, 27));
    EXPECT_EQ(s->NumTicks(), 21);   // the minor pass records every position
}

TEST(ScalePaint, DateLinesStandOneRowFurtherFromTheBaseLine)
{
    auto dir = tectest::ScratchDir("chart-scale-dates");
    for (TScaleType type : {TScaleType::sctXT, TScaleType::sctYL}) {
        const bool vertical = IsVerticalScale(type);
        auto bmp = WhiteBitmap(vertical ? 140 : 500, vertical ? 400 : 80);
        auto s = NewScale(type, bmp->Width(), bmp->Height());
        s->SetColorBackGnd(gui::clWhite);
        s->SetLabelType(TFigType::ftDateTime);
        s->SetRange(45366 + 22 / 24.0, 45367 + 3 / 24.0);   // 2024-03-15 22:00 .. 03:00
        s->UseForeignCanvas(bmp->Canvas(), 0, 0);
        s->ForcePaint();
        const int h = bmp->Canvas()->TextHeight("0");
        if (!vertical) {
            // Time labels below the line at 20 + 7, the date line one text height lower.
            EXPECT_GT(InkIn(*bmp, gui::Rect(0, 27, 500, 27 + h)), 0);
            EXPECT_GT(InkIn(*bmp, gui::Rect(0, 27 + h, 500, 27 + 2 * h)), 0);
        } else {
            // The date of 22:00 (at the bottom, y = 379) stands above its time label.
            EXPECT_GT(InkIn(*bmp, gui::Rect(28, 379 - 3 * (h / 2), 140, 379 - h / 2)), 0);
        }
        gui::TPngImage png;
        png.Assign(bmp.get());
        png.SaveToFile((dir / (vertical ? "dates-vertical.png" : "dates-horizontal.png")).string());
    }
}

TEST(ScalePaint, NothingWhileSuppressedAndEventsBracketThePaint)
{
    auto bmp = WhiteBitmap(400, 60);
    auto s = NewScale(TScaleType::sctXB, 400, 60);
    s->UseForeignCanvas(bmp->Canvas(), 0, 0);
    std::vector<std::string> log;
    s->OnBeforeScaleRendered = [&](rtl::TObject*, gui::TCanvas* cv) {
        log.push_back(cv == bmp->Canvas() ? "before:target" : "before:other");
    };
    s->OnAfterScaleRendered = [&](rtl::TObject*, gui::TCanvas* cv) {
        log.push_back(cv == bmp->Canvas() ? "after:target" : "after:bitmap");
    };
    s->SetSuppressPaint(true);
    s->SetRange(0, 10);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(InkIn(*bmp, gui::Rect(0, 0, 400, 60)), 0);
    s->ForcePaint();
    EXPECT_TRUE(s->SuppressPaint());
    EXPECT_EQ((std::vector<std::string>{"before:target", "after:bitmap"}), log);
}

} // namespace
