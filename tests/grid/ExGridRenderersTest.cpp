// The graphic layer painted: placement of a graphic in its cell, the check
// box painter per control style and state, radio groups, data check boxes,
// progress bars and pies, comment triangles, node buttons and rotated text.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"

using namespace grid;
using gui::TColor;
using gui::TRect;

namespace {

// Records the primitives the renderers end in.
struct RenderGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<std::string> Calls;
    std::vector<TRect> Rects;
    bool Record = false;
    bool SearchFooter = false;
    bool SearchFooterShown() const override { return SearchFooter; }
    void DrawGridFrameControl(gui::TCanvas* c, const TRect& r, uint32_t type, uint32_t state) override
    {
        if (Record) {
            Calls.push_back("frame " + std::to_string(type) + " " + std::to_string(state));
            Rects.push_back(r);
        }
        TExStringGrid::DrawGridFrameControl(c, r, type, state);
    }
    void DrawGridThemePart(gui::TCanvas* c, const std::string& cls, int part, int state, const TRect& r) override
    {
        if (Record) {
            Calls.push_back("theme " + cls + " " + std::to_string(part) + " " + std::to_string(state));
            Rects.push_back(r);
        }
        TExStringGrid::DrawGridThemePart(c, cls, part, state, r);
    }
    void DrawGridResource(gui::TCanvas* c, const std::string& name, int x, int y) override
    {
        if (Record) {
            Calls.push_back("res " + name);
            Rects.push_back({x, y, x, y});
        }
        TExStringGrid::DrawGridResource(c, name, x, y);
    }
};

struct RenderFixture : testing::Test {
    gui::TForm Form{nullptr};
    RenderGrid* G;
    RenderFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G = new RenderGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetScrollBars(gui::TScrollStyle::ssNone);
        G->SetColCount(5);
        G->SetRowCount(8);
        G->SetDefaultColWidth(90);
        G->SetDefaultRowHeight(24);
        G->Font()->SetName("Liberation Sans");
        G->Font()->SetSize(10);
        G->SetColor(gui::clWhite);
        G->SetFlat(true);
        G->SetLook(TGridLook::glStandard);
        G->ControlLook()->SetControlStyle(TControlStyle::csClassic);
    }
    ~RenderFixture() override { gui::ResetThemeService(); }
    std::unique_ptr<gui::TBitmap> Shot()
    {
        G->Record = true;
        G->Calls.clear();
        G->Rects.clear();
        auto img = G->GetImage();
        G->Record = false;
        return img;
    }
    TRect Cell(int c, int r) const { return G->gui::TCustomGrid::CellRect(c, r); }
    static int CountColor(gui::TBitmap& bmp, const TRect& r, bool (*match)(TColor))
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (match(bmp.Canvas()->Pixels(x, y))) ++n;
        return n;
    }
    static bool Red(TColor p) { return (p & 0xFF) > 180 && ((p >> 8) & 0xFF) < 90 && ((p >> 16) & 0xFF) < 90; }
    static bool Blue(TColor p) { return ((p >> 16) & 0xFF) > 180 && (p & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90; }
    static bool NotWhite(TColor p) { return (p & 0xFFFFFF) != 0xFFFFFF; }
};

} // namespace

TEST_F(RenderFixture, PlacementTable)
{
    TCellGraphic g;
    const TRect cell{100, 200, 160, 230};  // 60 x 30
    struct Case {
        TCellHAlign ha;
        TCellVAlign va;
        int text;
        TAlignment textHa;
        int left, top;
    } cases[] = {
        {TCellHAlign::haLeft, TCellVAlign::vaTop, 0, TAlignment::taLeftJustify, 101, 201},
        {TCellHAlign::haRight, TCellVAlign::vaBottom, 0, TAlignment::taLeftJustify, 143, 213},
        {TCellHAlign::haCenter, TCellVAlign::vaCenter, 0, TAlignment::taLeftJustify, 122, 207},
        {TCellHAlign::haBeforeText, TCellVAlign::vaTop, 20, TAlignment::taLeftJustify, 101, 201},
        {TCellHAlign::haBeforeText, TCellVAlign::vaTop, 20, TAlignment::taRightJustify, 124, 201},
        {TCellHAlign::haBeforeText, TCellVAlign::vaTop, 20, TAlignment::taCenter, 112, 201},
        {TCellHAlign::haAfterText, TCellVAlign::vaTop, 20, TAlignment::taLeftJustify, 120, 201},
        {TCellHAlign::haAfterText, TCellVAlign::vaTop, 20, TAlignment::taRightJustify, 143, 201},
        {TCellHAlign::haAfterText, TCellVAlign::vaTop, 20, TAlignment::taCenter, 132, 201},
        {TCellHAlign::haLeft, TCellVAlign::vaUnderText, 0, TAlignment::taLeftJustify, 101, 214},
        {TCellHAlign::haLeft, TCellVAlign::vaAboveText, 0, TAlignment::taLeftJustify, 101, 201},
        {TCellHAlign::haFull, TCellVAlign::vaFull, 0, TAlignment::taLeftJustify, 100, 200},
    };
    for (const Case& c : cases) {
        g.SetBitmap(nullptr, false, c.ha, c.va);
        const TRect d = G->PlaceGraphic(g, cell, 16, 16, c.text, c.textHa, TVAlignment::vtaTop);
        EXPECT_EQ(d.Left, c.left) << static_cast<int>(c.ha) << "/" << static_cast<int>(c.va) << " text " << c.text;
        EXPECT_EQ(d.Top, c.top) << static_cast<int>(c.ha) << "/" << static_cast<int>(c.va);
        if (c.ha == TCellHAlign::haFull) {
            EXPECT_EQ(d.Right, 160);
            EXPECT_EQ(d.Bottom, 230);
        } else {
            EXPECT_EQ(d.Right - d.Left, 16);
        }
    }
    // Check boxes follow the text's vertical alignment when it differs from the grid's.
    g.SetCheckBox(true, false, true, TCellHAlign::haBeforeText, TCellVAlign::vaTop);
    EXPECT_EQ(G->PlaceGraphic(g, cell, 16, 16, 0, TAlignment::taLeftJustify, TVAlignment::vtaBottom).Top, 213);
}

TEST_F(RenderFixture, DrawCheckPerStyleAndState)
{
    gui::TBitmap bmp;
    bmp.SetSize(40, 40);
    const TRect r{2, 2, 22, 22};
    const auto call = [&](TControlStyle style, bool checked, bool enabled) {
        G->Record = true;
        G->Calls.clear();
        G->DrawCheck(bmp.Canvas(), r, checked, style, enabled);
        G->Record = false;
        return G->Calls.empty() ? std::string("-") : G->Calls.back();
    };
    const std::string frame = "frame " + std::to_string(gui::DFC_BUTTON) + " ";
    const auto st = [](uint32_t v) { return std::to_string(v); };
    using gui::DFCS_CHECKED, gui::DFCS_FLAT, gui::DFCS_INACTIVE;
    struct Case {
        TControlStyle style;
        bool checked, enabled;
        std::string expected;
    } cases[] = {
        {TControlStyle::csClassic, true, true, frame + st(DFCS_CHECKED)},
        {TControlStyle::csClassic, false, false, frame + st(DFCS_INACTIVE)},
        {TControlStyle::csFlat, true, false, frame + st(DFCS_CHECKED | DFCS_FLAT | DFCS_INACTIVE)},
        {TControlStyle::csFlat, false, true, frame + st(DFCS_FLAT)},
        {TControlStyle::csWinXP, true, true, "res GRDCHK05"},
        {TControlStyle::csWinXP, false, true, "res GRDCHK06"},
        {TControlStyle::csWinXP, true, false, "res GRDCHK07"},
        {TControlStyle::csWinXP, false, false, "res GRDCHK08"},
        {TControlStyle::csKVR, true, true, "res GRDCHK01"},
        {TControlStyle::csKVR, false, false, "res GRDCHK04"},
        {TControlStyle::csBevelled, true, true, "-"},
        {TControlStyle::csGlyph, true, true, "-"},
        // No visual style: the themed look falls back to the classic one.
        {TControlStyle::csTheme, true, true, frame + st(DFCS_CHECKED)},
    };
    gui::SetThemeActive(false);
    for (const Case& c : cases)
        EXPECT_EQ(call(c.style, c.checked, c.enabled), c.expected)
            << static_cast<int>(c.style) << " " << c.checked << c.enabled;
    if (G->IsComCtl6()) {
        gui::SetThemeActive(true);
        EXPECT_EQ(call(TControlStyle::csTheme, true, true), "theme button 3 5");
        EXPECT_EQ(call(TControlStyle::csTheme, false, true), "theme button 3 1");
        EXPECT_EQ(call(TControlStyle::csTheme, true, false), "theme button 3 8");
        EXPECT_EQ(call(TControlStyle::csTheme, false, false), "theme button 3 4");
    }
    // The disabled look goes with CheckAlwaysActive or NoDisabledCheckRadioLook.
    G->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_EQ(call(TControlStyle::csWinXP, false, false), "res GRDCHK06");
    G->ControlLook()->SetCheckAlwaysActive(false);
    G->ControlLook()->SetNoDisabledCheckRadioLook(true);
    EXPECT_EQ(call(TControlStyle::csClassic, true, false), frame + st(DFCS_CHECKED));
}

TEST_F(RenderFixture, CellCheckBoxesDrawTheirState)
{
    G->AddCheckBox(1, 1, true, false);
    G->AddCheckBox(1, 2, false, true);
    G->SetCells(1, 2, "y");  // not the check-true text: unchecked
    G->AddCheckBox(1, 3, true, true);
    G->OnCanEditCell = [](rtl::TObject*, int r, int, bool& can) { can = r != 3; };
    Shot();
    using gui::DFCS_CHECKED, gui::DFCS_INACTIVE;
    ASSERT_EQ(G->Calls.size(), 3u);
    const std::string frame = "frame " + std::to_string(gui::DFC_BUTTON) + " ";
    EXPECT_EQ(G->Calls[0], frame + std::to_string(DFCS_CHECKED));
    EXPECT_EQ(G->Calls[1], frame + "0");
    EXPECT_EQ(G->Calls[2], frame + std::to_string(DFCS_CHECKED | DFCS_INACTIVE));
    // Inside its cell.
    const TRect c = Cell(1, 1);
    EXPECT_GE(G->Rects[0].Left, c.Left);
    EXPECT_LE(G->Rects[0].Right, c.Right);
}

TEST_F(RenderFixture, RightAlignedCheckBoxSitsLeftOfItsText)
{
    G->SetCells(2, 1, "Text");
    G->AddCheckBox(2, 1, true, false);
    G->SetCellAlignment(2, 1, TAlignment::taRightJustify);
    auto img = Shot();
    ASSERT_EQ(G->Rects.size(), 1u);
    const TRect box = G->Rects[0];
    const TRect c = Cell(2, 1);
    // The text's ink lies right of the box.
    int leftmostInk = c.Right;
    for (int y = c.Top + 2; y < c.Bottom - 2; ++y)
        for (int x = box.Right + 1; x < c.Right - 1; ++x) {
            const TColor p = img->Canvas()->Pixels(x, y);
            if ((p & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100) leftmostInk = std::min(leftmostInk, x);
        }
    EXPECT_LT(box.Right, leftmostInk);
    EXPECT_LT(leftmostInk, c.Right);
}

TEST_F(RenderFixture, RadioGroupByTextAndButtons)
{
    rtl::TStringList* sl = G->CreateRadio(1, 1, 1, -1);
    sl->Add("one");
    sl->Add("two");
    sl->Add("three");
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = true; };
    G->SetColWidths(1, 200);
    G->SetCells(1, 1, "two");
    Shot();
    ASSERT_EQ(G->Calls.size(), 3u);
    const std::string radio = "frame " + std::to_string(gui::DFC_BUTTON) + " ";
    EXPECT_EQ(G->Calls[0], radio + std::to_string(gui::DFCS_BUTTONRADIO));
    EXPECT_EQ(G->Calls[1], radio + std::to_string(gui::DFCS_BUTTONRADIO | gui::DFCS_CHECKED));
    EXPECT_EQ(G->Calls[2], radio + std::to_string(gui::DFCS_BUTTONRADIO));
    // Side by side.
    EXPECT_LT(G->Rects[0].Left, G->Rects[1].Left);
    EXPECT_EQ(G->Rects[0].Top, G->Rects[1].Top);

    // A lone radio button that is off draws off, even beside an empty text.
    G->RemoveRadio(1, 1);
    G->AddRadioButton(2, 2, false);
    G->AddRadioButton(2, 3, true);
    Shot();
    ASSERT_EQ(G->Calls.size(), 2u);
    EXPECT_EQ(G->Calls[0], radio + std::to_string(gui::DFCS_BUTTONRADIO));
    EXPECT_EQ(G->Calls[1], radio + std::to_string(gui::DFCS_BUTTONRADIO | gui::DFCS_CHECKED));
}

TEST_F(RenderFixture, ProgressBarsAndPies)
{
    G->AddProgress(1, 1, 0x0000FF, gui::clWhite);
    G->AddProgress(1, 2, 0x0000FF, gui::clWhite);
    G->AddProgress(1, 3, 0x0000FF, gui::clWhite);
    G->SetCells(1, 1, "150");
    G->SetCells(1, 2, "-5");
    G->SetCells(1, 3, "50");
    G->AddProgressPie(2, 1, 0xFF0000, 0);
    G->AddProgressPie(2, 2, 0xFF0000, 50);
    auto img = Shot();
    const auto inner = [&](int c, int r) {
        const TRect a = Cell(c, r);
        return TRect{a.Left + 5, a.Top + 5, a.Right - 5, a.Bottom - 5};
    };
    const int full = CountColor(*img, inner(1, 1), Red);
    const int empty = CountColor(*img, inner(1, 2), Red);
    const int half = CountColor(*img, inner(1, 3), Red);
    EXPECT_GT(full, 0);
    EXPECT_LT(empty, full / 20 + 1);
    EXPECT_GT(half, full / 3);
    EXPECT_LT(half, full * 2 / 3);
    EXPECT_EQ(CountColor(*img, Cell(2, 1), Blue), 0);
    EXPECT_GT(CountColor(*img, Cell(2, 2), Blue), 20);
}

TEST_F(RenderFixture, CommentTriangles)
{
    G->AddComment(1, 1, "note");
    G->AddColorComment(1, 2, "own", 0xFF0000);
    auto img = Shot();
    const TRect c1 = Cell(1, 1), c2 = Cell(1, 2);
    const TRect corner1{c1.Right - 10, c1.Top, c1.Right, c1.Top + 8};
    const TRect corner2{c2.Right - 10, c2.Top, c2.Right, c2.Top + 8};
    EXPECT_GT(CountColor(*img, corner1, Red), 3);
    EXPECT_GT(CountColor(*img, corner2, Blue), 3);
    G->ControlLook()->SetCommentColor(gui::clNone);
    img = Shot();
    EXPECT_EQ(CountColor(*img, corner1, Red), 0);
    EXPECT_EQ(CountColor(*img, corner2, Blue), 0);
}

TEST_F(RenderFixture, NodeButtonsPerType)
{
    struct Case {
        TNodeType type;
        std::string call;
    } cases[] = {
        {TNodeType::cnFlat, "-"}, {TNodeType::cn3D, "-"}, {TNodeType::cnLeaf, "res GRDLEAFCLOSE"},
        {TNodeType::cnXP, "res XPNODEC"}, {TNodeType::cnGlyph, "-"},
    };
    TCellGraphic* g = G->CreateCellGraphic(1, 2);
    g->SetCellType(TCellType::ctNode);
    g->SetCellBoolean(true);
    for (const Case& c : cases) {
        G->CellNode()->SetNodeType(c.type);
        auto img = Shot();
        EXPECT_EQ(G->Calls.empty() ? std::string("-") : G->Calls.back(), c.call) << static_cast<int>(c.type);
        const TRect cell = Cell(1, 2);
        EXPECT_GT(CountColor(*img, {cell.Left + 1, cell.Top + 1, cell.Left + 20, cell.Bottom - 1}, NotWhite), 8)
            << static_cast<int>(c.type);
    }
}

TEST_F(RenderFixture, RotatedTextStaysInItsCell)
{
    G->SetRowHeights(1, 80);
    G->Font()->SetColor(0);
    for (int angle : {90, 270}) {
        G->AddRotated(1, 1, static_cast<int16_t>(angle), "Rotated");
        auto img = Shot();
        const TRect c = Cell(1, 1);
        int minX = c.Right, maxX = c.Left, minY = c.Bottom, maxY = c.Top;
        for (int y = c.Top; y < c.Bottom - 1; ++y)
            for (int x = c.Left; x < c.Right - 1; ++x) {
                const TColor p = img->Canvas()->Pixels(x, y);
                if ((p & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && ((p >> 16) & 0xFF) < 90) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        ASSERT_LT(minX, maxX) << angle;
        // Upright: taller than wide.
        EXPECT_GT(maxY - minY, 2 * (maxX - minX)) << angle;
    }
}

// One grid with every kind of cell control in each control style, kept for
// a person to look at.
TEST_F(RenderFixture, GallerySnapshot)
{
    G->SetColCount(5);
    G->SetRowCount(8);
    G->SetColWidths(4, 150);
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = true; };
    const TControlStyle styles[] = {TControlStyle::csClassic, TControlStyle::csFlat, TControlStyle::csWinXP,
                                    TControlStyle::csBevelled, TControlStyle::csKVR};
    for (int i = 0; i < 5; ++i) {
        G->SetCells(i, 0, std::to_string(static_cast<int>(styles[i])));
    }
    G->SetCells(1, 1, "check");
    G->AddCheckBox(1, 1, true, false);
    G->AddCheckBox(1, 2, false, false);
    G->AddRadioButton(2, 1, true);
    G->AddRadioButton(2, 2, false);
    rtl::TStringList* sl = G->CreateRadio(4, 1, 1, 1);
    sl->Add("a");
    sl->Add("b");
    sl->Add("c");
    G->AddProgress(1, 3, 0x0000FF, gui::clWhite);
    G->SetCells(1, 3, "60");
    G->AddProgressPie(2, 3, 0xFF0000, 70);
    G->AddComment(3, 3, "c");
    G->AddButton(4, 3, 60, 20, "Press", TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->SetRowHeights(4, 70);
    G->AddRotated(1, 4, 90, "Ninety");
    G->AddRotated(2, 4, 270, "Twoseventy");
    G->AddRangeIndicator(3, 4, 100, 0x0000FF, 0x00A000, true);
    G->SetCells(3, 4, "-40");
    TCellGraphic* n = G->CreateCellGraphic(1, 5);
    n->SetCellType(TCellType::ctNode);
    n->SetCellBoolean(true);
    for (int i = 0; i < 5; ++i) {
        G->ControlLook()->SetControlStyle(styles[i]);
        auto img = Shot();
        gui::TPngImage png;
        png.Assign(img.get());
        png.SaveToFile((tectest::SnapshotDir() / ("grid-controls-" + std::to_string(i) + ".png")).string());
    }
}

// --- background picture and gradient ---------------------------------------------------

TEST_F(RenderFixture, TiledBackgroundJoinsAcrossCellsAndSparesColouredCells)
{
    gui::TBitmap tile;
    tile.SetSize(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) tile.Canvas()->SetPixels(x, y, static_cast<TColor>(x * 30 | (y * 40) << 8 | 100 << 16));
    G->SetOptions(G->Options().Exclude(gui::TGridOption::goVertLine).Exclude(gui::TGridOption::goHorzLine));
    G->BackGround()->SetBitmap(&tile);
    G->BackGround()->SetCells(TBackGroundCells::bcNormal);
    G->SetRowColor(4, 0x00FF00);
    auto img = Shot();
    const TRect a = Cell(1, 3), b = Cell(2, 3);
    // Each painted pixel shows the tile pixel its distance from the first
    // one gives (the grid-line pixel between cells may stay unpainted).
    const int y = a.Top + 3, x0 = a.Left + 1;
    const int base = (img->Canvas()->Pixels(x0, y) & 0xFF) / 30;
    int painted = 0;
    for (int x = x0; x < b.Right - 2; ++x) {
        const TColor p = img->Canvas()->Pixels(x, y);
        if ((p & 0xFFFFFF) == 0xFFFFFF && (x == a.Right - 1 || x == b.Left - 1)) continue;
        ASSERT_EQ((p >> 16) & 0xFF, 100u) << x;
        EXPECT_EQ(static_cast<int>((p & 0xFF) / 30), (base + x - x0) % 7) << "at x " << x;
        ++painted;
    }
    EXPECT_GT(painted, 170);
    // Rows continue too, from one row of cells to the next.
    const TRect c = Cell(1, 2);
    const int y0 = c.Top + 1, baseY = ((img->Canvas()->Pixels(c.Left + 3, y0) >> 8) & 0xFF) / 40;
    for (int yy = y0; yy < a.Bottom - 2; ++yy) {
        const TColor p = img->Canvas()->Pixels(c.Left + 3, yy);
        if ((p & 0xFFFFFF) == 0xFFFFFF) continue;
        EXPECT_EQ(static_cast<int>(((p >> 8) & 0xFF) / 40), (baseY + yy - y0) % 5) << "at y " << yy;
    }
    // A cell with its own colour shows it, not the picture.
    const TRect own = Cell(2, 4);
    for (int x = own.Left + 2; x < own.Right - 2; x += 5)
        EXPECT_EQ(img->Canvas()->Pixels(x, own.Top + 4), 0x00FF00u) << x;
    // Fixed cells stay out with bcNormal.
    EXPECT_NE((img->Canvas()->Pixels(Cell(0, 3).Left + 4, Cell(0, 3).Top + 4) >> 16) & 0xFF, 100u);
}

TEST_F(RenderFixture, GradientOutsideTheCells)
{
    G->BackGround()->SetDisplay(TBackGroundDisplay::bdGradientVert);
    G->BackGround()->SetColor(0x0000FF);
    G->BackGround()->SetColorTo(gui::clNone);
    auto img = Shot();
    const int below = Cell(0, 7).Bottom + 4;
    const int h = img->Height();
    ASSERT_LT(below, h - 40);
    EXPECT_EQ(CountColor(*img, {0, below, 300, h}, NotWhite), 0);

    G->BackGround()->SetColorTo(0x0000C0);
    img = Shot();
    EXPECT_GT(CountColor(*img, {0, below, 300, h}, Red), 300 * (h - below) * 9 / 10);

    // The search footer keeps the bottom 32 pixels.
    G->SearchFooter = true;
    img = Shot();
    EXPECT_EQ(CountColor(*img, {0, h - 32, 300, h}, Red), 0);
    EXPECT_GT(CountColor(*img, {0, h - 40, 300, h - 33}, Red), 300 * 6);
}

TEST_F(RenderFixture, LevelBarUsesTheProgressAppearance)
{
    TGridProgressAppearance* pa = G->ProgressAppearance();
    pa->SetLevel0Color(0xFF0000);
    pa->SetLevel0ColorTo(0xFF0000);
    pa->SetShowGradient(false);
    pa->SetShowPercentage(false);
    G->AddExProgress(1, 1, 0, 100);
    G->AddExProgress(1, 2, 0, 100);
    G->SetCells(1, 1, "50");
    G->SetCells(1, 2, "0");
    auto img = Shot();
    const int half = CountColor(*img, Cell(1, 1), Blue);
    EXPECT_GT(half, 100);
    EXPECT_LT(CountColor(*img, Cell(1, 2), Blue), half / 10);
    // Only the left half holds the bar.
    const TRect c = Cell(1, 1);
    EXPECT_LT(CountColor(*img, {c.Left + (c.Right - c.Left) * 3 / 5, c.Top, c.Right, c.Bottom}, Blue), half / 10);
}
