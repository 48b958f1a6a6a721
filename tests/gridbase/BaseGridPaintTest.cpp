// The grid base class painted into a bitmap and driven with synthetic keys
// and the wheel: merged blocks drawn once per pass and clipped at the fixed
// columns, the hidden last row, the grid's own lines, the active row and
// the selection frames; and the drawing routines behind them.
#include <gtest/gtest.h>

#include <map>

#include "gridbase/BaseGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Messages.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Strings.h"
#include "TestPaths.h"

using namespace gridbase;
using gui::TColor;
using gui::TPoint;
using gui::TRect;

namespace {

constexpr TColor kBlock = 0x0000FF;  // red
constexpr TColor kCells = 0xFFFFFF;

// A grid whose merged cells are red and other cells white, counting the
// content drawings per cell.
struct TestGrid : TBaseGrid {
    using TBaseGrid::TBaseGrid;
    std::map<std::pair<int, int>, int> Drawn;
    void GetVisualProperties(int c, int r, gui::TGridDrawState& state, bool, bool, bool, gui::TBrush& brush,
                             TColor&, TColor&, TColor&, gui::TFont&, gui::TAlignment&, TVAlignment&, bool&,
                             TCellGradientDirection&) override
    {
        if (!state.Contains(gui::TGridDrawStateItem::gdFixed)) brush.SetColor(IsMergedCell(c, r) ? kBlock : kCells);
    }
    void DrawCellText(gui::TCanvas* canvas, int c, int r, const TRect& rect, gui::TGridDrawState state) override
    {
        ++Drawn[{c, r}];
        TBaseGrid::DrawCellText(canvas, c, r, rect, state);
    }
};

struct PaintFixture : testing::Test {
    gui::TForm Form{nullptr};
    TestGrid* G;
    PaintFixture()
    {
        Form.SetBounds(0, 0, 500, 300);
        G = new TestGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 400, 200);
        G->SetScrollBars(gui::TScrollStyle::ssNone);
        G->SetColCount(10);
        G->SetRowCount(20);
        G->SetDefaultColWidth(50);
        G->SetDefaultRowHeight(20);
        Form.Show();
        G->SetFocus();
    }
    TColor PixelAt(int x, int y)
    {
        auto img = G->GetImage();
        return img->Canvas()->Pixels(x, y);
    }
};

} // namespace

TEST_F(PaintFixture, BlockDrawnOncePerPass)
{
    G->MergeCells(2, 1, 3, 2);
    const int pass = G->PaintID();
    auto img = G->GetImage();
    EXPECT_EQ(G->PaintID(), pass + 1);
    EXPECT_EQ((G->Drawn[{2, 1}]), 1);
    for (int c = 2; c <= 4; ++c)
        for (int r = 1; r <= 2; ++r)
            if (c != 2 || r != 1) {
                EXPECT_EQ((G->Drawn[{c, r}]), 0) << c << "," << r;
            }
    EXPECT_EQ((G->Drawn[{5, 1}]), 1);
    // The whole block is red, its inner lines included.
    const TRect block = G->CellRect(3, 2);
    EXPECT_EQ(block, TRect(100, 20, 250, 60));
    EXPECT_EQ(img->Canvas()->Pixels(149, 30), kBlock);  // where a column line would be
    EXPECT_EQ(img->Canvas()->Pixels(120, 39), kBlock);  // where a row line would be
    G->GetImage();
    EXPECT_EQ((G->Drawn[{2, 1}]), 2);
}

TEST_F(PaintFixture, ScrolledBlockIsClippedAtTheFixedColumns)
{
    G->MergeCells(1, 2, 4, 1);  // columns 1..4 of row 2
    G->SetLeftCol(3);           // the base cell scrolls out of view
    auto img = G->GetImage();
    EXPECT_EQ((G->Drawn[{1, 2}]), 1);  // drawn through a covered cell
    const int y = 2 * 20 + 10;
    EXPECT_NE(img->Canvas()->Pixels(25, y), kBlock);  // the fixed column stays
    EXPECT_EQ(img->Canvas()->Pixels(55, y), kBlock);  // column 3, first scrolling column
    EXPECT_EQ(img->Canvas()->Pixels(105, y), kBlock); // column 4
    EXPECT_EQ(img->Canvas()->Pixels(155, y), kCells); // column 5
}

TEST_F(PaintFixture, HiddenLastRowIsBackground)
{
    G->SetRowCount(5);
    G->SetColor(0x00C0FFC0);
    G->SetHideLastRow(true);
    auto img = G->GetImage();
    EXPECT_EQ(img->Canvas()->Pixels(75, 4 * 20 + 10), 0x00C0FFC0u);
    EXPECT_EQ(img->Canvas()->Pixels(75, 3 * 20 + 10), kCells);
    EXPECT_EQ((G->Drawn[{1, 4}]), 0);
}

TEST_F(PaintFixture, OwnGridLines)
{
    G->SetGridLineColor(0x000080);
    G->SetGridFixedLineColor(0x808000);
    auto img = G->GetImage();
    // Normal cells: the line inside the cell at its right and bottom edges.
    EXPECT_EQ(img->Canvas()->Pixels(99, 30), 0x000080u);
    EXPECT_EQ(img->Canvas()->Pixels(75, 39), 0x000080u);
    EXPECT_EQ(img->Canvas()->Pixels(75, 30), kCells);
    EXPECT_EQ(img->Canvas()->Pixels(49, 30), 0x808000u);  // fixed column 0

    G->SetGridLineWidth(0);
    img = G->GetImage();
    EXPECT_EQ(img->Canvas()->Pixels(99, 30), kCells);     // no visible line
    EXPECT_EQ(img->Canvas()->Pixels(75, 39), kCells);
    EXPECT_EQ(img->Canvas()->Pixels(49, 30), 0x808000u);  // fixed cells keep theirs
    EXPECT_EQ(G->gui::TStringGrid::GridLineWidth(), 0);
}

TEST_F(PaintFixture, ActiveRowAndSelectionFrames)
{
    G->SetActiveRowShow(true);
    G->SetActiveRowColor(0x00E0E0E0);
    G->SetRow(3);
    G->SetCol(1);
    auto img = G->GetImage();
    EXPECT_EQ(img->Canvas()->Pixels(175, 3 * 20 + 10), 0x00E0E0E0u);
    EXPECT_EQ(img->Canvas()->Pixels(175, 4 * 20 + 10), kCells);

    G->SetActiveRowShow(false);
    G->SetShowSelection(true);
    G->SetSelection(gui::TGridRect{1, 5, 3, 5});
    struct Probe {
        TGridSelectionStyle style;
        TColor border, upper;
    };
    for (Probe p : {Probe{TGridSelectionStyle::ssVista, 0xFDDE99, 0xFDF8F1},
                    Probe{TGridSelectionStyle::ssWin7, 0xCEA27D, 0xFCEBDC},
                    Probe{TGridSelectionStyle::ssOffice2007, 0x8DD7D3, 0xD7FFFD}}) {
        G->SetSelectionStyle(p.style);
        img = G->GetImage();
        const TRect middle = G->CellRect(2, 5);
        EXPECT_EQ(img->Canvas()->Pixels(middle.Left + 10, middle.Top), p.border) << int(p.style);
        if (p.style != TGridSelectionStyle::ssOffice2007) {  // two short halves: the bands overlap there
            EXPECT_EQ(img->Canvas()->Pixels(middle.Left + 10, middle.Top + 2), p.upper) << int(p.style);
        }
        const TRect first = G->CellRect(1, 5);
        EXPECT_EQ(img->Canvas()->Pixels(first.Left, first.Top), gui::ColorToRGB(G->Color()));  // outer corner
    }
    // Without the focus: the grey frame.
    G->SetSelectionStyle(TGridSelectionStyle::ssVista);
    auto* other = new gui::TForm(nullptr);
    other->Show();
    other->SetFocus();
    if (!G->Focused()) {
        img = G->GetImage();
        const TRect middle = G->CellRect(2, 5);
        EXPECT_EQ(img->Canvas()->Pixels(middle.Left + 10, middle.Top), 0xD9D9D9u);
    }
    delete other;
    // The default style paints no frame.
    G->SetSelectionStyle(TGridSelectionStyle::ssDefault);
    img = G->GetImage();
    EXPECT_EQ(img->Canvas()->Pixels(G->CellRect(2, 5).Left + 10, G->CellRect(2, 5).Top + 2), kCells);
}

TEST_F(PaintFixture, KeysLeaveBlocksAndSnapToBaseCells)
{
    G->MergeCells(2, 2, 3, 1);  // columns 2..4 of row 2
    G->MergeCells(6, 4, 1, 3);  // rows 4..6 of column 6
    G->SetCol(2);
    G->SetRow(2);
    gui::sim::KeyDown(gui::VK_RIGHT, {}, G);
    EXPECT_EQ(TPoint(G->Col(), G->Row()), TPoint(5, 2));  // after the block
    gui::sim::KeyDown(gui::VK_LEFT, {}, G);
    EXPECT_EQ(TPoint(G->Col(), G->Row()), TPoint(2, 2));  // into the block: its base
    G->SetCol(6);
    G->SetRow(3);
    gui::sim::KeyDown(gui::VK_DOWN, {}, G);
    EXPECT_EQ(TPoint(G->Col(), G->Row()), TPoint(6, 4));
    gui::sim::KeyDown(gui::VK_DOWN, {}, G);
    EXPECT_EQ(TPoint(G->Col(), G->Row()), TPoint(6, 7));  // below the block
    gui::sim::KeyDown(gui::VK_UP, {}, G);
    EXPECT_EQ(TPoint(G->Col(), G->Row()), TPoint(6, 4));
}

TEST_F(PaintFixture, WheelStepIntoABlockLandsOnItsBase)
{
    G->SetRow(2);
    G->SetCol(3);
    G->MergeCells(3, 3, 1, 4);  // rows 3..6 of column 3
    gui::sim::Wheel(G, -120, 50, 50);
    EXPECT_TRUE(G->IsBaseCell(G->Col(), G->Row()));
    if (G->Row() >= 3 && G->Row() <= 6) {
        EXPECT_EQ(G->Row(), 3);
    }
    gui::sim::Wheel(G, 120, 50, 50);
    EXPECT_TRUE(G->IsBaseCell(G->Col(), G->Row()));
}

// Page Down and the wheel never make a hidden last row current; without
// the hidden row they reach it as the plain grid does.
TEST_F(PaintFixture, PageDownAndWheelKeepOffAHiddenLastRow)
{
    struct Case {
        bool hide;
        int expected;
    };
    for (const Case& c : {Case{true, 18}, Case{false, 19}}) {
        SCOPED_TRACE(c.hide);
        G->SetHideLastRow(c.hide);
        G->SetTopRow(1);
        G->SetRow(15);
        gui::sim::KeyDown(gui::VK_NEXT, {}, G);
        EXPECT_EQ(G->Row(), c.expected);
        gui::sim::KeyDown(gui::VK_NEXT, {}, G);
        EXPECT_EQ(G->Row(), c.expected);
        G->SetRow(18);
        gui::sim::Wheel(G, -120, 50, 50);
        EXPECT_EQ(G->Row(), c.expected);
    }
    // A hidden last row that is the only row below the fixed one stays reachable.
    G->SetHideLastRow(true);
    G->SetRowCount(2);
    G->SetFixedRows(1);
    G->SetRow(1);
    gui::sim::KeyDown(gui::VK_NEXT, {}, G);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(PaintFixture, ScaleGridScalesTheDefaultRowHeight)
{
    struct Case {
        int height, m, d, expected;
    };
    for (const Case& c : {Case{24, 144, 96, 36}, Case{25, 3, 2, 38}, Case{25, 96, 96, 25}, Case{25, 3, 0, 25},
                          Case{20, 96, 120, 16}}) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.m << "/" << c.d);
        G->SetDefaultRowHeight(c.height);
        G->ScaleGrid(c.m, c.d);
        EXPECT_EQ(G->DefaultRowHeight(), c.expected);
        EXPECT_EQ(G->RowHeights(3), c.expected);
    }
}

TEST(DrawingRoutines, GradientBands)
{
    gui::TBitmap bmp;
    bmp.SetSize(20, 10);
    gui::TCanvas* c = bmp.Canvas();
    DrawGradient(c, 0x000000, 0xFFFFFF, 2, TRect(0, 0, 20, 10), true);
    EXPECT_EQ(c->Pixels(2, 5), 0x000000u);
    EXPECT_EQ(c->Pixels(15, 5), 0x808080u);  // 127.5 rounds half to even
    DrawGradient(c, 0x0000FF, 0x00FF00, 0, TRect(0, 0, 20, 10), false);
    EXPECT_EQ(c->Pixels(10, 9), 0x0000FFu);  // steps 0: one band of the start colour
    DrawGradient(c, 0x00FF00, gui::clNone, 16, TRect(0, 0, 20, 10), false);
    EXPECT_EQ(c->Pixels(10, 5), 0x00FF00u);
    EXPECT_EQ(BlendColorAt(0x000000, 0x0000FF, 0, 10, 5), 0x000080u);
    EXPECT_EQ(BlendColorAt(0x123456, 0x0000FF, 3, 3, 1), 0x123456u);  // empty range: no division
}

// Bands that a later band paints over are skipped; the picture must stay
// that of every band drawn in turn, for extents below, at and above the
// number of steps.
TEST(DrawingRoutines, GradientSkipsOnlyBandsPaintedOver)
{
    for (const bool horizontal : {false, true}) {
        for (const int extent : {1, 7, 20, 64, 127, 128, 129, 300}) {
            const int w = horizontal ? extent : 9, h = horizontal ? 9 : extent;
            gui::TBitmap drawn, expected;
            drawn.SetSize(w + 4, h + 4);
            expected.SetSize(w + 4, h + 4);
            const TRect rect(2, 2, 2 + w, 2 + h);
            DrawGradient(drawn.Canvas(), 0x102030, 0xF0E0D0, 128, rect, horizontal);
            gui::TCanvas* c = expected.Canvas();
            const long double size = static_cast<long double>(extent) / 128;
            for (int i = 0; i < 128; ++i) {
                const int r = 0x30 + static_cast<int>(rtl::Round(i * static_cast<long double>(0xD0 - 0x30) / 128));
                const int g = 0x20 + static_cast<int>(rtl::Round(i * static_cast<long double>(0xE0 - 0x20) / 128));
                const int b = 0x10 + static_cast<int>(rtl::Round(i * static_cast<long double>(0xF0 - 0x10) / 128));
                const TColor colour = static_cast<TColor>(r | g << 8 | b << 16);
                c->Pen()->SetColor(colour);
                c->Brush()->SetColor(colour);
                const int start = static_cast<int>(rtl::Round(i * size));
                const int length = static_cast<int>(rtl::Round(size)) + 1;
                if (horizontal) c->Rectangle(2 + start, 2, 2 + start + length, 2 + h);
                else c->Rectangle(2, 2 + start, 2 + w, 2 + start + length);
            }
            for (int y = 0; y < h + 4; ++y)
                for (int x = 0; x < w + 4; ++x)
                    ASSERT_EQ(drawn.Canvas()->Pixels(x, y), c->Pixels(x, y))
                        << "extent " << extent << (horizontal ? " across" : " down") << " at " << x << "," << y;
        }
    }
}

TEST(DrawingRoutines, MirrorGradientWithoutFillDrawsOnlyTheBorder)
{
    gui::TBitmap bmp;
    bmp.SetSize(20, 20);
    gui::TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(0xFFFFFF);
    c->FillRect(TRect(0, 0, 20, 20));
    DrawMirrorGradient(c, TRect(2, 2, 18, 18), 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, true, 0x000000, false, false);
    EXPECT_EQ(c->Pixels(2, 10), 0x000000u);
    EXPECT_EQ(c->Pixels(10, 10), 0xFFFFFFu);
    DrawMirrorGradient(c, TRect(2, 2, 18, 18), 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, true, gui::clNone, false, true);
    // The first half runs from red towards green, the second from blue towards yellow.
    const TColor top = c->Pixels(10, 2), second = c->Pixels(10, 10);
    EXPECT_GT(top & 0xFF, 200u);
    EXPECT_LT((top >> 8) & 0xFF, 40u);
    EXPECT_GT((second >> 16) & 0xFF, 200u);
    EXPECT_LT(second & 0xFF, 40u);
}

TEST(DrawingRoutines, SelectionFrameEnds)
{
    // Corner pixels mark the closed ends; a middle cell has none.
    const TColor border = 0x0000AA, corner = 0x00AA00, bg = 0xABCDEF;
    for (int ends = 0; ends <= 3; ++ends) {
        gui::TBitmap bmp;
        bmp.SetSize(30, 20);
        gui::TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(0xFFFFFF);
        c->FillRect(TRect(0, 0, 30, 20));
        DrawSelectionFrame(c, 0x111111, 0x222222, gui::clNone, gui::clNone, 0x333333, 0x444444, border, corner, bg,
                           TRect(0, 0, 30, 20), ends);
        const bool left = ends == 0 || ends == 1, right = ends == 0 || ends == 2;
        EXPECT_EQ(c->Pixels(0, 0) == bg, left) << ends;
        EXPECT_EQ(c->Pixels(1, 0) == corner, left) << ends;
        EXPECT_EQ(c->Pixels(28, 0) == bg, right) << ends;
        EXPECT_EQ(c->Pixels(0, 10) == border, left) << ends;   // outer left line
        EXPECT_EQ(c->Pixels(28, 10) == border, right) << ends; // outer right line
        EXPECT_EQ(c->Pixels(15, 0), border) << ends;           // top line runs on
        if (ends == 3) {
            EXPECT_EQ(c->Pixels(0, 0), border);
            EXPECT_EQ(c->Pixels(28, 0), border);
        }
        EXPECT_EQ(c->Pixels(15, 2), 0x111111u) << ends;        // gradient starts at the upper colour
    }
}

// A look at a grid with merged blocks, properties and a selection frame.
TEST_F(PaintFixture, Screenshot)
{
    for (int c = 0; c < 10; ++c) G->SetCellText(c, 0, "H" + std::to_string(c));
    G->MergeCells(1, 0, 3, 1);
    G->MergeCells(2, 2, 2, 3);
    G->MergeCells(5, 4, 3, 2);
    G->SetCellText(1, 0, "merged header");
    G->SetCellText(3, 3, "2 x 3");
    G->SetCellText(6, 5, "3 x 2");
    G->SetCellText(2, 7, "selected");
    G->SetShowSelection(true);
    G->SetSelectionStyle(TGridSelectionStyle::ssOffice2007);
    G->SetSelection(gui::TGridRect{1, 7, 4, 7});
    auto img = G->GetImage();
    gui::TPngImage png;
    png.Assign(img.get());
    const std::string file = (tectest::SnapshotDir() / "basegrid.png").string();
    png.SaveToFile(file);
    RecordProperty("screenshot", file);
    SUCCEED();
}
