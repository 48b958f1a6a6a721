// Keyboard, mouse and wheel on a 20 x 6 grid driven by synthetic input:
// Home and End by rows, scroll-only paging, appending on Down, clipboard and
// row keys, select-all, clicks and double clicks with their cell events,
// the wheel by rows, and the small hooks (automatic deletion, saved cell
// texts, the XOR sizing line).
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;
using gui::TShiftStateItem;

namespace {

struct InputGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    bool CheckBoxAt22 = false;
    TCellType GetCellType(int c, int r) override
    {
        return CheckBoxAt22 && c == 2 && r == 2 ? TCellType::ctCheckBox : TCellType::ctEmpty;
    }
};

struct InputFixture : testing::Test {
    gui::TForm Form{nullptr};
    InputGrid* G;
    InputFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G = new InputGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(6);
        G->SetRowCount(20);
        G->SetDefaultRowHeight(22);
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 6; ++c) G->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        Form.Show();
        G->SetFocus();
    }
    void Key(uint16_t vk, gui::TShiftState shift = {}) { gui::sim::KeyPress(vk, shift, G); }
    gui::TPoint Centre(int c, int r)
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
};

const gui::TShiftState kShift{TShiftStateItem::ssShift};
const gui::TShiftState kCtrl{TShiftStateItem::ssCtrl};
const gui::TShiftState kAlt{TShiftStateItem::ssAlt};

} // namespace

TEST_F(InputFixture, HomeAndEndTable)
{
    struct Case {
        THomeEndAction action;
        bool rowSelect;
        uint16_t vk;
        gui::TShiftState shift;
        int row, col;
    } cases[] = {
        {THomeEndAction::heFirstLastRow, false, gui::VK_HOME, {}, 1, 3},
        {THomeEndAction::heFirstLastRow, false, gui::VK_END, {}, 19, 3},
        {THomeEndAction::heFirstLastColumn, true, gui::VK_HOME, {}, 8, 1},
        {THomeEndAction::heFirstLastColumn, true, gui::VK_END, {}, 8, 5},
        {THomeEndAction::heFirstLastColumn, false, gui::VK_HOME, {}, 8, 1},
    };
    for (const Case& c : cases) {
        G->Navigation()->SetHomeEndKey(c.action);
        G->SetOptions(c.rowSelect ? G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect}
                                  : G->Options() - gui::TGridOptions{gui::TGridOption::goRowSelect});
        G->SetCol(3);
        G->SetRow(8);
        Key(c.vk, c.shift);
        EXPECT_EQ(G->Row(), c.row) << int(c.action) << " " << c.vk;
        EXPECT_EQ(G->Col(), c.col) << int(c.action) << " " << c.vk;
    }
    // Shift+Home selects the full-width rows from the entry row up to FixedRows.
    G->Navigation()->SetHomeEndKey(THomeEndAction::heFirstLastRow);
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goRowSelect});
    G->SetFixedCols(0);
    G->SetRow(8);
    Key(gui::VK_HOME, kShift);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{0, 1, 5, 8}));
}

TEST_F(InputFixture, ScrollOnlyPaging)
{
    G->SetRowCount(60);
    G->Navigation()->SetMoveScrollOnly(true);
    G->SetRow(2);
    const int visible = G->VisibleRowCount();
    Key(gui::VK_NEXT);
    EXPECT_EQ(G->TopRow(), 1 + visible);
    EXPECT_EQ(G->Row(), 2);
    Key(gui::VK_PRIOR);
    Key(gui::VK_PRIOR);  // clamped to the fixed rows
    EXPECT_EQ(G->TopRow(), 1);
    EXPECT_EQ(G->Row(), 2);
}

TEST_F(InputFixture, DownOnTheLastRowAppends)
{
    G->Navigation()->SetAppendOnArrowDown(true);
    G->SetRow(19);
    Key(gui::VK_DOWN);
    EXPECT_EQ(G->RowCount(), 21);
    EXPECT_EQ(G->Row(), 20);
    EXPECT_EQ(G->Cells(1, 20), "");

    G->OnCanAddRow = [](rtl::TObject*, bool& can) { can = false; };
    Key(gui::VK_DOWN);
    EXPECT_EQ(G->RowCount(), 21);

    // With a visible footer the footer row stays last.
    G->OnCanAddRow = nullptr;
    G->FloatingFooter()->SetVisible(true);
    G->SetCells(1, 20, "sum");
    G->SetRow(19);
    Key(gui::VK_DOWN);
    EXPECT_EQ(G->RowCount(), 22);
    EXPECT_EQ(G->Cells(1, 21), "sum");
    EXPECT_EQ(G->Cells(1, 20), "");
}

TEST_F(InputFixture, ClipboardAndRowKeys)
{
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
    G->SetRow(4);
    std::vector<std::string> events;
    G->OnClipboardCopy = [&](rtl::TObject*, bool&) { events.push_back("copy"); };
    G->OnClipboardPaste = [&](rtl::TObject*, bool&) { events.push_back("paste"); };
    G->OnClipboardCut = [&](rtl::TObject*, bool&) { events.push_back("cut"); };
    Key('C', kCtrl);
    EXPECT_EQ(gui::Clipboard()->AsText(), "1,4\t2,4\t3,4\t4,4\t5,4\r\n");  // the selected row
    Key(gui::VK_INSERT, kCtrl);
    Key(gui::VK_INSERT, kShift);
    Key(gui::VK_DELETE, kShift);
    EXPECT_EQ(events, (std::vector<std::string>{"copy", "copy", "paste", "cut"}));
    EXPECT_EQ(G->RowCount(), 20);  // none of them inserted or deleted a row

    G->Navigation()->SetAllowInsertRow(true);
    G->Navigation()->SetAllowDeleteRow(true);
    Key(gui::VK_INSERT, kAlt);
    Key(gui::VK_DELETE, kAlt);
    EXPECT_EQ(G->RowCount(), 20);
    Key(gui::VK_INSERT);
    EXPECT_EQ(G->RowCount(), 21);
    EXPECT_EQ(G->Cells(1, 4), "");
    Key(gui::VK_DELETE);
    EXPECT_EQ(G->RowCount(), 20);
    EXPECT_EQ(G->Cells(1, 4), "1,4");
}

TEST_F(InputFixture, DeleteWithoutNormalRowsFiresNothing)
{
    G->Navigation()->SetAllowDeleteRow(true);
    G->SetFixedRowAlways(true);
    G->SetRowCount(1);
    int asked = 0;
    G->OnCanDeleteRow = [&](rtl::TObject*, int, bool&) { ++asked; };
    Key(gui::VK_DELETE);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(G->RowCount(), 1);
}

TEST_F(InputFixture, SelectAllNeedsRowOrRangeSelectAndKeyCopiesChangeNothing)
{
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goRangeSelect, gui::TGridOption::goRowSelect});
    G->SetCol(2);
    G->SetRow(3);
    const gui::TGridRect before = G->Selection();
    Key('A', kCtrl);
    EXPECT_EQ(G->Selection(), before);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    Key('A', kCtrl);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 5, 19}));

    // A handler that changes its copy of the key changes nothing.
    G->Navigation()->SetHomeEndKey(THomeEndAction::heFirstLastRow);
    G->OnKeyDown = [](rtl::TObject*, uint16_t& key, gui::TShiftState) { key = gui::VK_END; };
    G->SetRow(8);
    Key(gui::VK_HOME);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(InputFixture, ClicksAndDoubleClicks)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
    std::vector<std::string> log;
    G->OnClickCell = [&](rtl::TObject*, int r, int c) { log.push_back("cell " + std::to_string(r) + "," + std::to_string(c)); };
    G->OnDblClick = [&](rtl::TObject*) { log.push_back("dbl"); };
    G->OnDblClickCell = [&](rtl::TObject*, int r, int c) { log.push_back("dblcell " + std::to_string(r) + "," + std::to_string(c)); };
    const gui::TPoint p = Centre(3, 5);
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 5, 5, 5}));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "cell 5,3");
    log.clear();
    gui::sim::DblClick(G, p.X, p.Y);
    const auto dbl = std::find(log.begin(), log.end(), "dbl");
    ASSERT_NE(dbl, log.end());
    ASSERT_NE(dbl + 1, log.end());
    EXPECT_EQ(*(dbl + 1), "dblcell 5,3");

    // A refused click changes nothing.
    G->OnCanClickCell = [](rtl::TObject*, int r, int, bool& allow) { allow = r != 7; };
    log.clear();
    const gui::TPoint q = Centre(2, 7);
    gui::sim::Click(G, q.X, q.Y);
    EXPECT_EQ(G->Row(), 5);
    EXPECT_TRUE(log.empty());
}

TEST_F(InputFixture, RangeDragThenSelectedRows)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect, gui::TGridOption::goRangeSelect});
    int changes = 0;
    G->OnSelectionChanged = [&](rtl::TObject*, int, int, int, int) { ++changes; };
    const gui::TPoint a = Centre(2, 3), b = Centre(2, 6);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, a.X, a.Y);
    gui::sim::MouseMove(G, b.X, b.Y, {TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, b.X, b.Y);
    EXPECT_EQ(G->CountSelectedRows(), 4);
    EXPECT_EQ(G->NthSelectedRow(0), 3);
    EXPECT_GE(changes, 1);  // the release compares with the selection at the press
}

TEST_F(InputFixture, WheelByRows)
{
    G->MouseActions()->SetWheelIncrement(1);
    G->SetRow(5);
    const gui::TPoint p = Centre(2, 5);
    gui::sim::Wheel(G, -120, p.X, p.Y);
    EXPECT_EQ(G->Row(), 6);
    gui::sim::Wheel(G, 120, p.X, p.Y);
    gui::sim::Wheel(G, 120, p.X, p.Y);
    EXPECT_EQ(G->Row(), 4);
    G->SetRow(19);
    gui::sim::Wheel(G, -120, p.X, p.Y);
    EXPECT_EQ(G->Row(), 19);  // clamped
    G->SetRow(1);
    gui::sim::Wheel(G, 120, p.X, p.Y);
    EXPECT_EQ(G->Row(), 1);

    G->SetFixedRowAlways(true);
    G->SetRowCount(1);
    gui::sim::Wheel(G, -120, p.X, p.Y);  // only the fixed row: swallowed
    EXPECT_EQ(G->RowCount(), 1);
}

TEST_F(InputFixture, SmallHooks)
{
    G->SetRowCount(2);
    G->SetCells(1, 1, "only");
    int deleted = -1;
    G->OnAutoDeleteRow = [&](rtl::TObject*, int r) { deleted = r; };
    G->AutoDeleteRow(1);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(G->Cells(1, 1), "");
    EXPECT_EQ(deleted, 1);

    G->CheckBoxAt22 = true;
    G->SetRowCount(4);
    G->SetCells(2, 2, "");
    std::string t;
    G->SaveCellText(2, 2, t);
    EXPECT_EQ(t, "N");
    G->SetCells(3, 2, "<b>word</b>");
    G->SetSaveWithHTML(false);
    G->SaveCellText(3, 2, t);
    EXPECT_EQ(t, "word");
    G->OnLoadCell = [](rtl::TObject*, int, int, std::string& v) { v += "!"; };
    G->LoadCellText(3, 3, "x");
    EXPECT_EQ(G->Cells(3, 3), "x!");
}

TEST_F(InputFixture, XorSizingLineDrawnTwiceLeavesThePicture)
{
    int lines = 0;
    G->OnPainted = [&](rtl::TObject*) {
        for (int i = 0; i < lines; ++i) G->DrawColSizeLine(100);
    };
    auto plain = G->GetImage();
    lines = 1;
    auto once = G->GetImage();
    lines = 2;
    auto twice = G->GetImage();
    int changedOnce = 0, changedTwice = 0;
    for (int y = 0; y < plain->Height(); ++y) {
        if (once->Canvas()->Pixels(100, y) != plain->Canvas()->Pixels(100, y)) ++changedOnce;
        if (twice->Canvas()->Pixels(100, y) != plain->Canvas()->Pixels(100, y)) ++changedTwice;
    }
    EXPECT_GT(changedOnce, 20);
    EXPECT_EQ(changedTwice, 0);
}

TEST_F(InputFixture, ThumbHintsAndZoom)
{
    G->SetScrollBars(gui::TScrollStyle::ssVertical);
    G->SetRowCount(256);
    G->SetDefaultRowHeight(20);
    G->SetHeight(21 * 20);  // the fixed row and 20 rows (the grid draws its lines inside the cells)
    ASSERT_EQ(G->VisibleRowCount(), 20);
    G->SetScrollHints(TScrollHintType::shBoth);
    G->Perform(gui::WM_VSCROLL, gui::MAKEWPARAM(gui::SB_THUMBTRACK, 64), 0);
    EXPECT_EQ(G->LastScrollHint(), "Row : 119");
    G->OnScrollHint = [](rtl::TObject*, int row, std::string& hint) { hint = "to " + std::to_string(row); };
    G->Perform(gui::WM_VSCROLL, gui::MAKEWPARAM(gui::SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(G->LastScrollHint(), "to 1");
    G->OnScrollHint = nullptr;
    G->SetColCount(30);
    G->SetFixedCols(2);
    G->Perform(gui::WM_HSCROLL, gui::MAKEWPARAM(gui::SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(G->LastScrollHint(), "Col : 2");

    G->SetColWidths(5, 0);
    const int w = G->ColWidths(3);
    for (int i = 0; i < 4; ++i) G->Zoom(3);
    EXPECT_EQ(G->ZoomFactor(), 9);
    EXPECT_EQ(G->ColWidths(3), w + 9);
    EXPECT_EQ(G->ColWidths(5), 0);
}

TEST_F(InputFixture, SaveRangeTable)
{
    G->SetColCount(6);
    G->SetRowCount(10);
    G->SetFixedFooters(2);
    G->SetFixedRightCols(1);
    struct Case {
        bool saveFixed;
        int values[6];
    } cases[] = {{false, {1, 1, 4, 7, 4, 7}}, {true, {0, 0, 5, 9, 6, 10}}};
    for (const Case& c : cases) {
        G->SetSaveFixedCells(c.saveFixed);
        const int got[6] = {G->SaveStartCol(), G->SaveStartRow(), G->SaveEndCol(),
                            G->SaveEndRow(),   G->SaveColCount(), G->SaveRowCount()};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], c.values[i]) << c.saveFixed << " " << i;
    }
}

TEST_F(InputFixture, ColumnMappingStretchingAndOrder)
{
    G->HideColumn(1);
    G->HideColumn(3);
    EXPECT_EQ(G->DisplayToRealCol(1), 2);
    EXPECT_EQ(G->DisplayToRealCol(2), 4);
    EXPECT_EQ(G->RealToDisplayCol(4), 2);
    EXPECT_EQ(G->RealToDisplayCol(5), 3);
    EXPECT_EQ(G->DisplayToRealCol(600), 600);
    EXPECT_EQ(G->RealToDisplayCol(600), 600);
    G->UnHideColumnsAll();

    // Other columns wider than the client: not scrolled, the column takes
    // the default width; scrolled, it stays.
    G->ColumnSize()->SetStretch(true);
    G->SetScrollBars(gui::TScrollStyle::ssBoth);
    for (int c = 0; c < 6; ++c) G->SetColWidths(c, 150);
    G->StretchColumn(-1);
    EXPECT_EQ(G->ColWidths(5), G->DefaultColWidth());
    G->SetColWidths(5, 150);
    G->SetLeftCol(3);
    G->StretchColumn(-1);
    EXPECT_EQ(G->ColWidths(5), 150);
    EXPECT_THROW(G->StretchColumn(6), ZEziDoroZezuz);
    // Narrow columns: the last one fills the client width.
    G->SetLeftCol(1);
    for (int c = 0; c < 5; ++c) G->SetColWidths(c, 40);
    G->StretchColumn(-1);
    EXPECT_EQ(G->ColWidths(5), G->ClientWidth() - 5 * 40 - 1);

    G->SetColCount(4);
    for (int c = 0; c < 4; ++c) G->SetCells(c, 1, std::to_string(c));
    G->MoveColumn(0, 3);
    EXPECT_EQ(G->Cells(3, 1), "0");
    G->ResetColumnOrder();
    for (int c = 0; c < 4; ++c) EXPECT_EQ(G->Cells(c, 1), std::to_string(c)) << c;
    EXPECT_EQ(G->ColumnPosition(2), 2);
}

TEST_F(InputFixture, SizingHintAndRightClicksInsideFlaggedRows)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goColSizing});
    G->SetHintShowSizing(true);
    G->SetDefaultColWidth(64);
    const gui::TRect c2 = G->gui::TCustomGrid::CellRect(2, 0);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, c2.Right, c2.Top + 5);
    ASSERT_EQ(G->GridState(), gui::TGridState::gsColSizing);
    gui::sim::MouseMove(G, c2.Right + 16, c2.Top + 5, {TShiftStateItem::ssLeft});
    EXPECT_EQ(G->LastSizingHint(), "cw=<b>80</b>");
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, c2.Right + 16, c2.Top + 5);
    EXPECT_EQ(G->ColWidths(2), 80);

    // A right click inside three flagged rows keeps them.
    G->MouseActions()->SetDisjunctRowSelect(true);
    for (int r : {3, 4, 5}) G->SetRowSelect(r, true);
    const gui::TPoint p = Centre(2, 4);
    gui::sim::Click(G, p.X, p.Y, gui::TMouseButton::mbRight);
    EXPECT_EQ(G->CountSelectedRows(), 3);
}

TEST_F(InputFixture, ProportionalThumb)
{
    G->SetScrollBars(gui::TScrollStyle::ssVertical);
    G->SetRowCount(100);
    G->SetDefaultRowHeight(20);
    G->SetHeight(220);
    G->SetScrollProportional(true);
    // One fixed row and 99 scrolling rows of 20 pixels, each with its line:
    // e = (220 - (1 + 21)) / (1 + 99 * 21); Max = Trunc((e + 127) / (1 - e)).
    const int l = G->GridLineWidth();
    const float e = static_cast<float>(220 - (l + l + 20)) / static_cast<float>(l + 99 * (l + 20));
    const int max = static_cast<int>((e + 127) / (1 - e));
    ASSERT_EQ(l, 1);
    EXPECT_EQ(max, 140);  // e = 198 / 2080
    gui::TScrollInfo info = G->GetScrollInfo(gui::SB_VERT);
    EXPECT_EQ(info.Max, max);
    EXPECT_EQ(info.Page, max - 126);
    G->SetScrollProportional(false);
    EXPECT_EQ(G->GetScrollInfo(gui::SB_VERT).Page, 0);
}
