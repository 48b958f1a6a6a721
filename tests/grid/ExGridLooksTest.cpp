// Colour styles and desktop schemes, the look border, the look settings
// objects (fixed-cell gradients, progress appearance, modified marks,
// balloons, drop target), hover-sensitive fixed cells, and a picture of
// each look kept for a person to look at.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"

using namespace grid;
using gui::TColor;

namespace {

struct LookGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    int Registers = 0, Revokes = 0, ProgressChanges = 0;
    bool RegisterGridDropTarget() override
    {
        ++Registers;
        return TExStringGrid::RegisterGridDropTarget();
    }
    void RevokeGridDropTarget() override
    {
        ++Revokes;
        TExStringGrid::RevokeGridDropTarget();
    }
    void ProgressAppearanceChanged(rtl::TObject* s) override
    {
        ++ProgressChanges;
        TExStringGrid::ProgressAppearanceChanged(s);
    }
};

struct LookFixture : testing::Test {
    gui::TForm Form{nullptr};
    LookGrid* G;
    LookFixture()
    {
        Form.SetBounds(0, 0, 500, 300);
        G = new LookGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 400, 200);
        G->SetColCount(5);
        G->SetRowCount(6);
    }
    ~LookFixture() override { gui::ResetThemeService(); }
};

} // namespace

TEST_F(LookFixture, StylePresets)
{
    // Luna: the office selection style only with the office look.
    G->SetStyle(TKVRStyle::tsOffice2007Luna);
    EXPECT_EQ(G->SelectionStyle(), gridbase::TGridSelectionStyle::ssDefault);
    EXPECT_EQ(G->SelectionColor(), 0x5EC1F1u);
    EXPECT_EQ(G->KVRGradientFrom(), 0xFBF9F6u);
    EXPECT_EQ(G->KVRGradientDownBorder(), 0xE4C19Du);
    G->SetLook(TGridLook::glOffice2007);
    EXPECT_EQ(G->SelectionStyle(), gridbase::TGridSelectionStyle::ssOffice2007);

    // Office 2003 blue: the search footer ends with the from colour and no colour-to.
    G->SetStyle(TKVRStyle::tsOffice2003Blue);
    EXPECT_EQ(G->SearchFooterColor(), 0xFCE1CBu);
    EXPECT_EQ(G->SearchFooterColorTo(), gui::clNone);
    EXPECT_EQ(G->ActiveCellColor(), 0x94E6FBu);
    EXPECT_EQ(G->ControlLook()->FixedGradientTo(), 0xE0A57Du);
    EXPECT_EQ(G->GridFixedLineColor(), 0x808080u);

    // Silver after Vista keeps the mirror colours.
    G->SetStyle(TKVRStyle::tsWindowsVista);
    EXPECT_EQ(G->SelectionStyle(), gridbase::TGridSelectionStyle::ssVista);
    EXPECT_EQ(G->ControlLook()->FixedGradientFrom(), gui::clNone);
    G->SetStyle(TKVRStyle::tsOffice2007Silver);
    EXPECT_EQ(G->KVRGradientMirrorFrom(), 0xFAF8F7u);
    EXPECT_EQ(G->KVRGradientMirrorTo(), 0xF4F2F1u);
    EXPECT_EQ(G->SearchFooterColorTo(), 0xF4F2F1u);
    EXPECT_EQ(G->SelectionStyle(), gridbase::TGridSelectionStyle::ssDefault);

    // Office 2010 black: only the selection goes back.
    G->SetStyle(TKVRStyle::tsWindows7);
    const TColor from = G->KVRGradientFrom(), line = G->GridLineColor(), footer = G->SearchFooterColor();
    G->SetStyle(TKVRStyle::tsOffice2010Black);
    EXPECT_EQ(G->SelectionColor(), gui::clHighlight);
    EXPECT_EQ(G->SelectionTextColor(), gui::clHighlightText);
    EXPECT_EQ(G->SelectionStyle(), gridbase::TGridSelectionStyle::ssDefault);
    EXPECT_EQ(G->KVRGradientFrom(), from);
    EXPECT_EQ(G->GridLineColor(), line);
    EXPECT_EQ(G->SearchFooterColor(), footer);
}

TEST_F(LookFixture, DesktopSchemes)
{
    struct Case {
        int scheme;
        TColor from, to, mirrorFrom, activeTo, footerFrom, fixedFrom;
    } cases[] = {
        {1, 0xFCE1CB, 0xE0A57D, gui::clNone, 0x1595EE, 0xFCE1CB, 0xFCE1CB},
        {2, 0xCFF0EA, 0x8CC0B1, gui::clNone, 0x1595EE, 0xCFF0EA, 0xCFF0EA},
        {3, 0xECE2E1, 0xB39698, gui::clNone, 0x1595EE, 0xECE2E1, 0xECE2E1},
        {4, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0x1595EE, 0xECE2E1, 0xFFFFFF},
        {0, 0xFFFFFF, gui::clBtnFace, gui::clNone, 0xFFD9B3, 0xFFFFFF, gui::clNone},
    };
    for (const Case& c : cases) {
        G->SetTheme(c.scheme);
        EXPECT_EQ(G->KVRGradientFrom(), gui::ColorToRGB(c.from)) << c.scheme;
        EXPECT_EQ(G->KVRGradientTo(), gui::ColorToRGB(c.to)) << c.scheme;
        EXPECT_EQ(G->KVRGradientMirrorFrom(), c.mirrorFrom == gui::clNone ? gui::clNone : c.mirrorFrom) << c.scheme;
        EXPECT_EQ(G->ActiveCellColorTo(), c.activeTo) << c.scheme;
        EXPECT_EQ(G->SearchFooterColor(), c.footerFrom) << c.scheme;
        EXPECT_EQ(G->ControlLook()->FixedGradientFrom(), c.fixedFrom) << c.scheme;
    }
    // The running scheme by its name (older desktops only).
    if (!G->IsWinVista()) {
        struct Name {
            const char* name;
            int scheme;
        } names[] = {{"NormalColor", 1}, {"HomeStead", 2}, {"Metallic", 3}, {"Royale", 0}};
        for (const Name& n : names) {
            gui::SetThemeColorScheme(n.name);
            EXPECT_EQ(G->CurrentThemeScheme(), n.scheme) << n.name;
        }
        gui::SetThemeActive(false);
        EXPECT_EQ(G->CurrentThemeScheme(), 0);
    }
}

TEST_F(LookFixture, LookBorderNotDrawnWhileLocked)
{
    G->SetLook(TGridLook::glKVR);
    G->SetFlat(false);
    G->SetBorderStyle(gui::TBorderStyle::bsSingle);
    gui::TBitmap frame;
    frame.SetSize(G->Width(), G->Height());
    const auto ncpaint = [&] {
        frame.Canvas()->Brush()->SetColor(gui::clWhite);
        frame.Canvas()->FillRect({0, 0, G->Width(), G->Height()});
        G->Perform(gui::WM_NCPAINT, reinterpret_cast<gui::WPARAM>(frame.Canvas()), 0);
        return frame.Canvas()->Pixels(1, G->Height() / 2);
    };
    const TColor expected = G->IsWinXP() ? 0xB99D7F : 0x808080;
    EXPECT_EQ(ncpaint(), expected);
    G->BeginUpdate();
    EXPECT_EQ(ncpaint(), gui::clWhite);
    G->EndUpdate();
    EXPECT_EQ(ncpaint(), expected);
    // Flat grids and plain looks have none.
    G->SetLook(TGridLook::glStandard);
    EXPECT_EQ(ncpaint(), gui::clWhite);
}

TEST_F(LookFixture, ControlLookFixedGradients)
{
    TControlLook* cl = G->ControlLook();
    cl->SetFixedGradientTo(0x123456);
    EXPECT_EQ(G->KVRGradientTo(), 0x123456u);
    cl->SetFixedGradientTo(gui::clNone);
    EXPECT_EQ(cl->FixedGradientTo(), gui::clNone);
    EXPECT_EQ(G->KVRGradientTo(), 0x123456u);
    cl->SetFixedGradientHoverBorder(0x00AA00);
    EXPECT_EQ(G->KVRGradientHoverBorder(), 0x00AA00u);

    // Assign copies the colours as fields: the grid's colours stay.
    TControlLook other;
    other.SetFixedGradientFrom(gui::clBtnFace);
    other.SetFixedGradientTo(0x654321);
    other.SetCheckSize(20);
    const TColor before = G->KVRGradientFrom();
    cl->Assign(&other);
    EXPECT_EQ(cl->FixedGradientFrom(), gui::clBtnFace);
    EXPECT_EQ(cl->FixedGradientTo(), 0x654321u);
    EXPECT_EQ(cl->CheckSize(), 20);
    EXPECT_EQ(G->KVRGradientFrom(), before);
}

TEST_F(LookFixture, SettingsEvents)
{
    TGridProgressAppearance* pa = G->ProgressAppearance();
    pa->SetLevel1Perc(70);  // unchanged
    pa->SetShowBorder(false);
    EXPECT_EQ(G->ProgressChanges, 0);
    pa->SetLevel1Perc(60);
    pa->SetCompleteColor(0x00FF00);
    EXPECT_EQ(G->ProgressChanges, 2);
    TGridProgressAppearance copy;
    G->SetProgressAppearance(&copy);
    EXPECT_EQ(G->ProgressChanges, 3);
    EXPECT_EQ(pa->Level1Perc(), 70);

    int modified = 0, balloon = 0;
    G->ShowModified()->OnChange = [&](rtl::TObject*) { ++modified; };
    G->Balloon()->OnEnableChange = [&](rtl::TObject*) { ++balloon; };
    G->ShowModified()->SetColor(G->ShowModified()->Color());
    G->ShowModified()->SetColor(G->ShowModified()->Color());
    G->Balloon()->SetEnable(false);
    EXPECT_EQ(modified, 2);
    EXPECT_EQ(balloon, 1);
    TBalloonSettings b;
    b.SetEnable(true);
    G->SetBalloon(&b);
    EXPECT_TRUE(G->Balloon()->Enable());
    EXPECT_EQ(balloon, 1);  // Assign writes the field only
}

TEST_F(LookFixture, HoverFixedCellsAndDropTarget)
{
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    EXPECT_FALSE(G->IsHoverFixedCell(0, 0));
    G->SetHoverFixedCells(THoverFixedCells::hfFixedRows);
    EXPECT_TRUE(G->IsHoverFixedCell(0, 0));
    EXPECT_TRUE(G->IsHoverFixedCell(3, 0));
    EXPECT_FALSE(G->IsHoverFixedCell(0, 5));
    G->SetHoverFixedCells(THoverFixedCells::hfFixedColumns);
    EXPECT_TRUE(G->IsHoverFixedCell(0, 5));
    EXPECT_FALSE(G->IsHoverFixedCell(3, 0));
    EXPECT_FALSE(G->IsHoverFixedCell(0, 99));

    G->DragDropSettings()->SetOleDropTarget(true);
    G->DragDropSettings()->SetOleDropTarget(false);
    EXPECT_EQ(G->Registers, 1);
    EXPECT_EQ(G->Revokes, 1);
    // Assign copies the switch without registering.
    TDragDropSettings on(nullptr);
    on.SetOleDropTarget(true);
    G->SetDragDropSettings(&on);
    EXPECT_TRUE(G->DragDropSettings()->OleDropTarget());
    EXPECT_EQ(G->Registers, 1);
}

// Each look on one grid, kept for a person to look at.
TEST_F(LookFixture, LookSnapshots)
{
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->SetFlat(false);
    for (int c = 0; c < 5; ++c) G->SetCells(c, 0, "Head " + std::to_string(c));
    for (int r = 1; r < 6; ++r) G->SetCells(1, r, "Cell " + std::to_string(r));
    G->AddCheckBox(2, 2, true, false);
    G->AddProgress(3, 2, 0x0000FF, gui::clWhite);
    G->SetCells(3, 2, "40");
    const TGridLook looks[] = {TGridLook::glStandard, TGridLook::glSoft,      TGridLook::glClassic,
                               TGridLook::glKVR,      TGridLook::glXP,        TGridLook::glListView,
                               TGridLook::glVista,    TGridLook::glWin7,      TGridLook::glOffice2007};
    for (TGridLook look : looks) {
        G->SetLook(look);
        auto img = G->GetImage();
        ASSERT_TRUE(img);
        std::string name;
        TExStringGrid::LookToString(look, name);
        gui::TPngImage png;
        png.Assign(img.get());
        png.SaveToFile((tectest::SnapshotDir() / ("grid-look-" + name + ".png")).string());
    }
}
