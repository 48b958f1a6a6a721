// Drawing items on a small bitmap with an identity mapping: polyline
// batches, the pen position across relative and hidden items, degenerate
// shapes and the black-and-white colours.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ChartTestItems.h"
#include "TestPaths.h"
#include "chart/PlotChartRender.h"
#include "platform/gui/PngImage.h"

using namespace chart;

namespace {

constexpr gui::TColor kInk = gui::clRed, kFill = gui::clLime;

// An item in the ink and fill colours of these tests.
TrcChartItem Item(TrcItem kind, double x, double y, double x2 = 0, double y2 = 0, int layer = 1)
{
    TrcChartItem it = charttest::MakeItem(kind, x, y, x2, y2, layer);
    it.Color = kInk;
    it.FillColor = kFill;
    return it;
}

struct TFixture {
    std::unique_ptr<gui::TBitmap> Bmp = std::make_unique<gui::TBitmap>(60, 60);
    TChartItemStore Items;
    TItemRenderContext Ctx;
    std::vector<int> Polylines;
    TFixture()
    {
        Bmp->Canvas()->Brush()->SetColor(gui::clWhite);
        Bmp->Canvas()->FillRect(gui::Rect(0, 0, 60, 60));
        Ctx.Map = [](int, double x, double y) { return gui::TPoint(int(x), int(y)); };
        Ctx.OnPolyline = [this](int n) { Polylines.push_back(n); };
    }
    void Render() { RenderItems(*Bmp->Canvas(), Items, Ctx); }
    gui::TColor At(int x, int y) { return Bmp->Canvas()->Pixels(x, y); }
    int Count(gui::TColor c)
    {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) n += At(x, y) == c;
        return n;
    }
};

TEST(RenderItems, LineToRunsBecomePolylinesOf200Points)
{
    TFixture f;
    f.Items.Append(Item(TrcItem::tkMoveTo, 0, 0));
    for (int i = 1; i <= 450; ++i) f.Items.Append(Item(TrcItem::tkLineto, i % 50, (i / 50) * 5));
    f.Render();
    EXPECT_EQ(f.Polylines, (std::vector<int>{200, 200, 53}));
}

TEST(RenderItems, PenPositionAcrossRelativeAndHiddenItems)
{
    TFixture f;
    f.Ctx.LayerVisible = [](int layer) { return layer != 2; };
    f.Items.Append(Item(TrcItem::tkMoveTo, 10, 10));
    f.Items.Append(Item(TrcItem::tkMoveTo, 50, 50, 0, 0, 2));   // hidden: the pen stays
    f.Items.Append(Item(TrcItem::tkLineto, 20, 10));
    f.Items.Append(Item(TrcItem::tkLineRelPix, 0, 10));          // from (20, 10) down to (20, 20)
    f.Items.Append(Item(TrcItem::tkLineto, 30, 20));             // continues from (20, 20)
    f.Render();
    EXPECT_EQ(f.At(15, 10), kInk);
    EXPECT_EQ(f.At(20, 15), kInk);
    EXPECT_EQ(f.At(20, 20), kInk);    // the relative line's end pixel
    EXPECT_EQ(f.At(25, 20), kInk);
    EXPECT_EQ(f.At(40, 45), gui::clWhite);
    EXPECT_EQ(f.Polylines, (std::vector<int>{2, 2}));
}

TEST(RenderItems, DegenerateShapesAreOnePixel)
{
    TFixture f;
    f.Items.Append(Item(TrcItem::tkRect, 30, 30, 30, 30));
    f.Items.Append(Item(TrcItem::tkEllipse, 10, 10, 0, 0));
    f.Items.Append(Item(TrcItem::tkLine, 50, 5, 50, 5));
    f.Render();
    EXPECT_EQ(f.Count(kInk), 3);
    EXPECT_EQ(f.At(30, 30), kInk);
    EXPECT_EQ(f.At(50, 5), kInk);
}

TEST(RenderItems, RectanglesIncludeBothCornersAndOffsetsShiftThePlot)
{
    TFixture f;
    f.Ctx.MarginLeft = 5;
    f.Ctx.MarginTop = 5;
    f.Items.Append(Item(TrcItem::tkRect, 15, 15, 25, 35));   // drawn at (10, 10)-(20, 30)
    f.Render();
    EXPECT_EQ(f.At(10, 10), kInk);
    EXPECT_EQ(f.At(20, 30), kInk);
    EXPECT_EQ(f.At(15, 20), kFill);
    EXPECT_EQ(f.At(21, 20), gui::clWhite);
}

TEST(RenderItems, BlackAndWhite)
{
    TFixture f;
    f.Ctx.BlackAndWhite = true;
    f.Items.Append(Item(TrcItem::tkRect, 10, 10, 30, 30));
    TrcChartItem mark = Item(TrcItem::tkMarkAt, 45, 45);
    mark.MarkOrAlign = 3;
    f.Items.Append(mark);
    f.Render();
    EXPECT_EQ(f.At(10, 20), gui::clBlack);
    EXPECT_EQ(f.At(20, 20), 0xC0C0C0u);
    EXPECT_EQ(f.At(45, 42), gui::clBlack);
    EXPECT_EQ(f.Count(kInk), 0);
}

TEST(RenderItems, ArrowHeadsAndTexts)
{
    TFixture f;
    TrcChartItem arrow = Item(TrcItem::tkArrow, 5, 30, 45, 30);
    arrow.SizeOrAngle = 8;
    f.Items.Append(arrow);
    TrcChartItem text = Item(TrcItem::tkText, 30, 50);
    text.Color = gui::clBlue;
    text.SizeOrAngle = 8;
    text.MarkOrAlign = 2;   // centred
    SetItemText(text, "W");
    f.Items.Append(text);
    f.Render();
    // A closed head: filled barbs behind the tip, above and below the shaft.
    EXPECT_EQ(f.At(45, 30), kInk);
    EXPECT_EQ(f.At(40, 29), kFill);
    EXPECT_EQ(f.At(40, 31), kFill);
    EXPECT_EQ(f.At(30, 33), gui::clWhite);
    int blue = 0, minX = 99, maxX = 0;
    for (int y = 40; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (gui::GetBValue(f.At(x, y)) > 150 && gui::GetRValue(f.At(x, y)) < 100) {
                ++blue;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_GT(blue, 0);
    EXPECT_NEAR((minX + maxX) / 2.0, 30, 2);
}

TEST(RenderItems, EveryKindLeavesInkInItsCell)
{
    // One 40 x 40 cell per kind on a 200 x 120 bitmap; the picture is kept
    // for looking at.
    auto bmp = std::make_unique<gui::TBitmap>(200, 120);
    bmp->Canvas()->Brush()->SetColor(gui::clWhite);
    bmp->Canvas()->FillRect(gui::Rect(0, 0, 200, 120));
    TChartItemStore items;
    std::vector<gui::TRect> cells;
    auto cell = [&](int n) { return gui::TPoint(40 * (n % 5), 40 * (n / 5)); };
    int n = 0;
    auto add = [&](TrcChartItem it) {
        const gui::TPoint o = cell(n++);
        it.x += o.X;
        it.y += o.Y;
        if (it.ItemKind != TrcItem::tkTextOfs && it.ItemKind != TrcItem::tkEllipse &&
            it.ItemKind != TrcItem::tkRectRelPix) {
            it.x2 += o.X;
            it.y2 += o.Y;
        }
        cells.push_back(gui::Rect(o.X, o.Y, o.X + 40, o.Y + 40));
        items.Append(it);
    };
    TrcChartItem mark = Item(TrcItem::tkMarkAt, 20, 20);
    mark.MarkOrAlign = 24;
    add(mark);
    add(Item(TrcItem::tkLine, 5, 5, 35, 35));
    TrcChartItem frame = Item(TrcItem::tkRectFrame, 5, 35, 35, 5);
    frame.FrameStyle = uint8_t(TFrameStyle::fsRaised);
    frame.ShadowColor = gui::clGray;
    frame.HiLightColor = gui::clWhite;
    add(frame);
    TrcChartItem bar = Item(TrcItem::tk3DBar, 5, 15, 25, 35);
    bar.Depth = 8;
    bar.SizeOrAngle = 45;
    add(bar);
    TrcChartItem text = Item(TrcItem::tkTextOfs, 20, 20, 0, 5);
    text.SizeOrAngle = 9;
    text.MarkOrAlign = 2;
    SetItemText(text, "Tx");
    add(text);
    TrcChartItem ellipse = Item(TrcItem::tkEllipse, 20, 20, 15, 10);
    add(ellipse);
    TrcChartItem arrow = Item(TrcItem::tkArrow, 5, 35, 35, 5);
    arrow.SizeOrAngle = 10;
    arrow.Transp = 1;
    add(arrow);
    add(Item(TrcItem::tkRectRelPix, 20, 20, 10, 6));
    TItemRenderContext ctx;
    ctx.Map = [](int, double x, double y) { return gui::TPoint(int(x), int(y)); };
    RenderItems(*bmp->Canvas(), items, ctx);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        int ink = 0;
        for (int y = cells[i].Top; y < cells[i].Bottom; ++y)
            for (int x = cells[i].Left; x < cells[i].Right; ++x) ink += bmp->Canvas()->Pixels(x, y) != gui::clWhite;
        EXPECT_GT(ink, 10) << "item " << i;
    }
    gui::TPngImage png;
    png.Assign(bmp.get());
    png.SaveToFile((tectest::ScratchDir("chart-render") / "items.png").string());
}

} // namespace
