// The string grid's lifecycle on a form: the defaults of a new grid, the
// owner form's resize handler taken and given back, every property record
// freed with the grid (also beyond the counts), integral height, always
// visible scroll bars, copying from another grid, the swallowed repaint,
// the unit's registrations and the data-exchange seam.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/sys/SystemInfo.h"

using namespace grid;

namespace {

struct FormFixture : testing::Test {
    gui::TForm Form{nullptr};
    FormFixture() { Form.SetBounds(0, 0, 600, 400); }
};

// A grid that counts its paint passes.
struct CountingGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    int Paints = 0;
    void Paint() override
    {
        ++Paints;
        TExStringGrid::Paint();
    }
};

} // namespace

TEST_F(FormFixture, DefaultsOfANewGrid)
{
    auto* g = new TExStringGrid(&Form);
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->DefaultRowHeight(), 22);
    EXPECT_EQ(g->FixedRowHeight(), 22);
    EXPECT_EQ(g->Width(), 400);
    EXPECT_EQ(g->Height(), 250);
    EXPECT_EQ(g->Look(), TGridLook::glXP);
    EXPECT_EQ(g->FloatFormat(), "%.2f");
    EXPECT_EQ(g->CheckTrue(), "Y");
    EXPECT_EQ(g->CheckFalse(), "N");
    EXPECT_EQ(g->SelectionColor(), 0xEACAB6u);
    EXPECT_EQ(g->URLColor(), 0xFF0000u);
    EXPECT_EQ(g->ActiveCellColor(), 0x808080u);
    EXPECT_EQ(g->FixedFont()->Name(), "Tahoma");
    EXPECT_TRUE(g->FixedFont()->Style().Contains(gui::TFontStyle::fsBold));
    EXPECT_TRUE(g->WordWrap());
    EXPECT_TRUE(g->ShowSelection());
    EXPECT_EQ(g->ScrollBars(), gui::TScrollStyle::ssBoth);
    EXPECT_EQ(g->Version(), "4.6.1.0");
    g->SetVersion("1.0");
    EXPECT_EQ(g->Version(), "4.6.1.0");
    for (int c = 0; c <= 512; ++c) ASSERT_FALSE(g->IsHiddenColumn(c)) << c;
    EXPECT_EQ(g->AllColCount(), 5);
    EXPECT_EQ(g->AllRowCount(), 10);
    EXPECT_TRUE(g->PrintSettings()->UseDisplayFont());
}

TEST(ExGridPlatform, VersionTestsAndWheelLinesComeFromTheSystemRecord)
{
    struct Case {
        int major, minor, comctl;
        bool xp, win7, comctl6;
    } cases[] = {{5, 0, 5, false, false, false}, {5, 1, 6, true, false, true}, {6, 0, 6, true, false, true},
                 {6, 1, 6, true, true, true}, {10, 0, 6, true, true, true}};
    for (const Case& c : cases) {
        sys::TSystemInfo info;
        info.MajorVersion = c.major;
        info.MinorVersion = c.minor;
        info.ComCtlMajorVersion = c.comctl;
        info.WheelScrollLines = 7;
        sys::SetSystemInfo(info);
        TExStringGrid g(nullptr);
        EXPECT_EQ(g.IsWinXP(), c.xp) << c.major << "." << c.minor;
        EXPECT_EQ(g.IsWin7(), c.win7) << c.major << "." << c.minor;
        EXPECT_EQ(g.IsComCtl6(), c.comctl6) << c.major << "." << c.minor;
        EXPECT_EQ(g.WheelScrollLines(), 7);
    }
    sys::ResetSystemInfo();
}

TEST_F(FormFixture, OwnerFormResizeHandlerTakenAndGivenBack)
{
    int formCalls = 0;
    Form.OnResize = [&](rtl::TObject*) { ++formCalls; };
    auto* g = new TExStringGrid(&Form);
    ASSERT_TRUE(Form.OnResize);
    Form.OnResize(&Form);  // through the grid's handler
    EXPECT_EQ(formCalls, 1);
    delete g;
    ASSERT_TRUE(Form.OnResize);
    Form.OnResize(&Form);  // the form's own handler again
    EXPECT_EQ(formCalls, 2);

    Form.OnResize = nullptr;
    g = new TExStringGrid(&Form);
    EXPECT_TRUE(Form.OnResize);
    Form.OnResize(&Form);
    delete g;
    EXPECT_FALSE(Form.OnResize);
}

TEST_F(FormFixture, SizeWithFormFollowsTheForm)
{
    auto* g = new TExStringGrid(&Form);
    g->SetParent(&Form);
    g->SetSizeWithForm(true);
    Form.SetBounds(0, 0, 650, 420);
    Form.OnResize(&Form);
    EXPECT_EQ(g->Width(), 450);
    EXPECT_EQ(g->Height() >= 250 + 20 - 2, true);
}

TEST_F(FormFixture, EveryPropertyRecordIsFreedWithTheGrid)
{
    struct Case {
        const char* name;
        int cutRowsTo;
        int cutColsTo;
    } cases[] = {{"rows cut 100 -> 5", 5, 8}, {"rows cut and two columns beyond the count", 5, 6}};
    for (const Case& c : cases) {
        const long before = TCellProperties::LiveCount();
        auto* g = new TExStringGrid(&Form);
        g->SetColCount(8);
        g->SetRowCount(100);
        for (int r = 0; r < 100; r += 3) g->SetRowColor(r, 0x00FF00);
        g->SetCellFontColor(7, 90, 0x0000FF);
        g->SetRowCount(c.cutRowsTo);
        g->SetColCount(c.cutColsTo);
        EXPECT_GT(TCellProperties::LiveCount(), before) << c.name;
        delete g;
        EXPECT_EQ(TCellProperties::LiveCount(), before) << c.name;
    }
}

TEST_F(FormFixture, IntegralHeightCutsToWholeRows)
{
    struct Case {
        const char* name;
        gui::TBorderStyle border;
        bool horzBar;
        bool locked;
        int expect;
    } cases[] = {
        {"single border", gui::TBorderStyle::bsSingle, false, false, 104},
        {"no border", gui::TBorderStyle::bsNone, false, false, 100},
        {"horizontal bar", gui::TBorderStyle::bsSingle, true, false, 101},
        {"update lock", gui::TBorderStyle::bsSingle, false, true, 105},
    };
    sys::TSystemInfo info;
    info.ScrollBarExtent = 17;
    sys::SetSystemInfo(info);
    for (const Case& c : cases) {
        auto* g = new TExStringGrid(&Form);
        g->SetParent(&Form);
        g->SetBorderStyle(c.border);
        g->SetDefaultRowHeight(20);
        g->SetDefaultColWidth(40);
        g->SetColCount(c.horzBar ? 30 : 3);
        g->SetIntegralHeight(true);
        if (c.locked) g->BeginUpdate();
        g->SetBounds(0, 0, 300, 105);
        // 2 + 105 - ((105 - 2) mod 20); with the bar: 2 + 105 - ((105 - 17 - 2) mod 20)
        EXPECT_EQ(g->Height(), c.expect) << c.name;
        if (c.locked) g->EndUpdate();
        delete g;
    }
    sys::ResetSystemInfo();
}

TEST_F(FormFixture, ScrollBarAlwaysShowsADisabledBarWhileRowsFit)
{
    auto* g = new TExStringGrid(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 300, 200);
    g->SetScrollBarAlways(TScrollBarAlways::saVert);
    g->SetRowCount(3);
    EXPECT_TRUE(g->ScrollBarVisible(gui::SB_VERT));
    EXPECT_FALSE(g->ScrollBarEnabled(gui::SB_VERT));
    g->SetRowCount(50);
    EXPECT_TRUE(g->ScrollBarVisible(gui::SB_VERT));
    EXPECT_TRUE(g->ScrollBarEnabled(gui::SB_VERT));
    // Without ScrollBarAlways a grid whose rows fit has no vertical bar.
    auto* plain = new TExStringGrid(&Form);
    plain->SetParent(&Form);
    plain->SetBounds(0, 0, 300, 200);
    plain->SetRowCount(3);
    EXPECT_FALSE(plain->ScrollBarVisible(gui::SB_VERT));
}

TEST_F(FormFixture, AssignCopiesCountsBeforeWidthsAndLeavesTheLook)
{
    auto* src = new TExStringGrid(&Form);
    src->SetColCount(3);
    src->SetColWidths(0, 30);
    src->SetColWidths(1, 40);
    src->SetColWidths(2, 50);
    src->SetRowCount(4);
    src->SetRowHeights(3, 33);
    src->Bands()->SetPrimaryLength(2);
    src->Bands()->SetSecondaryLength(2);
    src->Navigation()->SetAllowClipboardShortCuts(true);
    src->ControlLook()->SetDropDownAlwaysVisible(true);
    src->BackGround()->SetColor(0x123456);
    src->SetLook(TGridLook::glStandard);
    src->SetSelectionColor(0x00FF00);
    src->ProgressAppearance()->SetSteps(3);
    src->DragDropSettings()->SetOleDropTarget(true);
    src->DragScrollOptions()->SetActive(true);
    src->DragScrollOptions()->Margins()->SetTopMargin(7);

    auto* dst = new TExStringGrid(&Form);
    dst->SetColCount(2);
    dst->Assign(src);
    EXPECT_EQ(dst->ColCount(), 3);
    EXPECT_EQ(dst->ColWidths(0), 30);
    EXPECT_EQ(dst->ColWidths(1), 40);
    EXPECT_EQ(dst->ColWidths(2), 50);
    EXPECT_EQ(dst->RowHeights(3), 33);
    EXPECT_EQ(dst->Bands()->TotalLength(), 4);
    EXPECT_TRUE(dst->Navigation()->AllowClipboardShortCuts());
    EXPECT_FALSE(dst->ControlLook()->DropDownAlwaysVisible());
    EXPECT_EQ(dst->BackGround()->Color(), gui::clWindow);
    EXPECT_EQ(dst->Look(), TGridLook::glXP);
    EXPECT_EQ(dst->SelectionColor(), 0xEACAB6u);
    EXPECT_EQ(dst->ProgressAppearance()->Steps(), 3);
    EXPECT_TRUE(dst->DragDropSettings()->OleDropTarget());
    EXPECT_TRUE(dst->DragScrollOptions()->Active());
    EXPECT_EQ(dst->DragScrollOptions()->Margins()->TopMargin(), 7);

    TNavigation other;
    dst->Assign(&other);  // another class: ignored
    EXPECT_EQ(dst->ColCount(), 3);
}

TEST_F(FormFixture, InvalidateRightAfterAnEditorChangeIsSwallowedOnce)
{
    auto* g = new CountingGrid(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 300, 200);
    Form.Show();
    gui::Application->ProcessMessages();
    g->Paints = 0;
    g->SetEditChange(true);
    g->Invalidate();
    gui::Application->ProcessMessages();
    EXPECT_EQ(g->Paints, 0);
    g->Invalidate();
    gui::Application->ProcessMessages();
    EXPECT_GE(g->Paints, 1);
}

TEST(ExGridUnit, RegistrationsAndVersionRecords)
{
    EXPECT_GE(GridEditDoneMessage(), 0xC000u);
    EXPECT_EQ(GridEditDoneMessage(), gui::RegisterWindowMessage("GridEditDone"));
    EXPECT_NE(GridEditDoneMessage(), gui::RegisterWindowMessage("AnotherMessage"));
    EXPECT_EQ(GridCellClipboardFormat(), gui::RegisterClipboardFormat("TExStringGrid Cells"));
    EXPECT_TRUE(GridComCtrlsOK());

    // signature, structure version, file version MS (4.72 = 0x00040048)
    std::vector<uint8_t> rec = {0xBD, 0x04, 0xEF, 0xFE, 0, 0, 1, 0, 0x48, 0, 4, 0};
    EXPECT_EQ(GetModuleFileVersionMS(rec), 0x00040048);
    rec[0] = 0xBC;
    EXPECT_EQ(GetModuleFileVersionMS(rec), -1);
    EXPECT_EQ(GetModuleFileVersionMS({0xBD, 0x04, 0xEF, 0xFE}), -1);
}

namespace {
struct RecordingHooks : TGridIOHooks {
    int Copies = 0, Assigns = 0;
    void CopySelectionToClipboard(TExStringGrid&) override { ++Copies; }
    void CutSelectionToClipboard(TExStringGrid&) override {}
    void PasteSelectionFromClipboard(TExStringGrid&) override {}
    void SaveColSizes(TExStringGrid&) override {}
    void LoadColSizes(TExStringGrid&) override {}
    void AssignCells(TExStringGrid&, const TExStringGrid&) override { ++Assigns; }
    std::unique_ptr<TPrintSettings> CreatePrintSettings(TExStringGrid& g) override
    {
        return std::make_unique<TPrintSettings>(&g);
    }
};
} // namespace

TEST_F(FormFixture, CopyWithoutDataExchangeHooksPutsTabbedText)
{
    auto* g = new TExStringGrid(&Form);
    g->SetCells(1, 1, "a");
    g->SetCells(2, 1, "b");
    g->SetCells(1, 2, "c");
    g->SetCells(2, 2, "d");
    g->SetOptions(g->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    g->SetSelection({1, 1, 2, 2});
    g->CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "a\tb\r\nc\td\r\n");

    RecordingHooks hooks;
    SetGridIOHooks(&hooks);
    g->CopySelectionToClipboard();
    auto* other = new TExStringGrid(&Form);
    other->Assign(g);
    SetGridIOHooks(nullptr);
    EXPECT_EQ(hooks.Copies, 1);
    EXPECT_EQ(hooks.Assigns, 1);
}
