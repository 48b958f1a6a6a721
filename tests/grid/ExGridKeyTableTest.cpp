// Keys on a 6 x 6 grid (wider than its client, so LeftCol can move) driven
// through synthetic key presses: a table of key, modifiers and options
// against the resulting Col, Row, LeftCol and selection; OnRowChanged for
// every row change; the disjunct row and column flags by key; nodes by
// Right and Left; Enter and F2 on inline controls; the repaint of a
// selection rectangle; the advance onto a click control.
#include <gtest/gtest.h>

#include <algorithm>

#include "grid/ExControlEdit.h"
#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

struct KeyFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    KeyFixture()
    {
        Form.SetBounds(0, 0, 400, 300);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 300, 200);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(80);  // 4 columns of 80 do not fit in 300 pixels
        G->SetDefaultRowHeight(22);
        Form.Show();
        G->SetFocus();
    }
    void Key(uint16_t vk, gui::TShiftState shift = {}) { gui::sim::KeyPress(vk, shift, G); }
    void Place(int col, int row, int leftCol)
    {
        G->MoveColRow(col, row, true, true);
        G->SetLeftCol(leftCol);
    }
};

const gui::TShiftState kCtrl{TShiftStateItem::ssCtrl};
const gui::TShiftState kShift{TShiftStateItem::ssShift};

} // namespace

// Column 2 and row 3 are reported fixed inside the normal area.
TEST_F(KeyFixture, KeyTable)
{
    enum Opt { None = 0, Skip = 1, RowSel = 2, LeftRight = 4, KeepHoriz = 8 };
    struct Case {
        int opts;
        int col, row, left;  // at the start
        uint16_t vk;
        gui::TShiftState shift;
        int wantCol, wantRow, wantLeft;
    } cases[] = {
        // Fixed cells inside the grid are walked over, not stopped at.
        {Skip, 1, 1, 1, gui::VK_RIGHT, {}, 3, 1, 2},  // column 3 scrolled into view
        {Skip, 3, 1, 1, gui::VK_LEFT, {}, 1, 1, 1},
        {Skip, 1, 2, 1, gui::VK_DOWN, {}, 1, 4, 1},
        {Skip, 1, 4, 1, gui::VK_UP, {}, 1, 2, 1},
        // Nothing beyond the fixed cell: the cursor stays.
        {Skip, 1, 4, 1, gui::VK_DOWN, {}, 1, 5, 1},
        // Without SkipFixedCells a fixed cell stops the cursor.
        {None, 1, 1, 1, gui::VK_RIGHT, {}, 1, 1, 1},
        // Row select: Left and Right scroll; with LeftRightRowSelect only with Ctrl.
        {RowSel, 1, 1, 1, gui::VK_RIGHT, {}, 1, 1, 2},
        {RowSel, 1, 1, 2, gui::VK_LEFT, {}, 1, 1, 1},
        {RowSel | LeftRight, 1, 1, 1, gui::VK_RIGHT, kCtrl, 1, 1, 2},
        {RowSel | LeftRight, 1, 1, 2, gui::VK_LEFT, kCtrl, 1, 1, 1},
        // Paging keeps LeftCol in row-select mode with KeepHorizScroll.
        {RowSel | KeepHoriz, 1, 1, 3, gui::VK_DOWN, {}, 1, 2, 3},
        {RowSel | KeepHoriz, 1, 5, 3, gui::VK_UP, {}, 1, 4, 3},
    };
    for (const Case& c : cases) {
        G->Navigation()->SetSkipFixedCells(c.opts & Skip);
        G->Navigation()->SetLeftRightRowSelect(c.opts & LeftRight);
        G->Navigation()->SetKeepHorizScroll(c.opts & KeepHoriz);
        G->OnIsFixedCell = nullptr;
        G->SetOptions((c.opts & RowSel) ? G->Options() + gui::TGridOptions{TGridOption::goRowSelect}
                                        : G->Options() - gui::TGridOptions{TGridOption::goRowSelect});
        Place(c.col, c.row, c.left);
        G->OnIsFixedCell = [](rtl::TObject*, int r, int col, bool& fixed) { fixed = fixed || col == 2 || r == 3; };
        Key(c.vk, c.shift);
        const std::string at = std::to_string(&c - cases);
        EXPECT_EQ(G->Col(), c.wantCol) << at;
        EXPECT_EQ(G->Row(), c.wantRow) << at;
        EXPECT_EQ(G->LeftCol(), c.wantLeft) << at;
    }
}

TEST_F(KeyFixture, RowChangedFiresForKeysClicksAndCode)
{
    std::vector<std::pair<int, int>> changes;
    std::vector<int> seen;  // Row() as the handler reads it
    G->OnRowChanged = [&](rtl::TObject*, int from, int to) {
        changes.emplace_back(from, to);
        seen.push_back(G->Row());
    };
    G->SetRow(2);
    Key(gui::VK_DOWN);
    Key(gui::VK_RIGHT);  // the row stays: nothing
    const gui::TRect cell = G->gui::TCustomGrid::CellRect(2, 5);
    gui::sim::Click(G, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    EXPECT_EQ(G->Row(), 5);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[1], std::make_pair(2, 3));
    EXPECT_EQ(changes[2], std::make_pair(3, 5));
    // The handler sees the grid on its new row.
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 5}));

    // A refused move fires nothing.
    G->OnRowChanging = [](rtl::TObject*, int, int, bool& allow) { allow = false; };
    Key(gui::VK_UP);
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(changes.size(), 3u);
}

TEST_F(KeyFixture, DisjunctFlagsByKey)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRow(1);
    Key(gui::VK_DOWN);
    Key(gui::VK_DOWN, kCtrl);  // Ctrl keeps the flags of the rows passed
    EXPECT_TRUE(G->GetRowSelect(2));
    Key(gui::VK_SPACE);  // Space inverts the current row's flag
    EXPECT_FALSE(G->GetRowSelect(G->Row()));
    Key(gui::VK_SPACE);
    EXPECT_TRUE(G->GetRowSelect(G->Row()));
    Key(gui::VK_DOWN);  // a plain move clears the others
    EXPECT_FALSE(G->GetRowSelect(2));
    EXPECT_TRUE(G->GetRowSelect(G->Row()));
    G->MouseActions()->SetDisjunctRowSelect(false);

    G->MouseActions()->SetDisjunctColSelect(true);
    G->MoveColRow(1, 1, true, true);
    Key(gui::VK_RIGHT);
    EXPECT_TRUE(G->GetColSelect(2));
    EXPECT_FALSE(G->GetColSelect(1));
    Key(gui::VK_SPACE);
    EXPECT_FALSE(G->GetColSelect(2));
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    Key(gui::VK_RIGHT, kShift);
    EXPECT_TRUE(G->GetColSelect(2));
    EXPECT_TRUE(G->GetColSelect(3));
}

TEST_F(KeyFixture, EnterOnReadOnlyCellGoesToAPreviewingFormOnly)
{
    int formKeys = 0;
    Form.OnKeyDown = [&](rtl::TObject*, uint16_t& key, gui::TShiftState) {
        if (key == gui::VK_RETURN) ++formKeys;
    };
    int gridKeys = 0;
    G->OnKeyDown = [&](rtl::TObject*, uint16_t&, gui::TShiftState) { ++gridKeys; };
    Key(gui::VK_RETURN);
    EXPECT_EQ(gridKeys, 1);
    EXPECT_EQ(formKeys, 0);
    Form.SetKeyPreview(true);
    Key(gui::VK_RETURN);
    EXPECT_EQ(formKeys, 1);
}

TEST_F(KeyFixture, InsertAsksTheOverridableSlot)
{
    struct Refusing : TExStringGrid {
        using TExStringGrid::TExStringGrid;
        int Asked = -1;
        void CanInsertRow(int aRow, bool& canInsert) override
        {
            Asked = aRow;
            canInsert = false;
        }
    };
    auto* g = new Refusing(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 300, 200);
    g->SetRowCount(4);
    g->Navigation()->SetAllowInsertRow(true);
    g->SetRow(2);
    g->SetFocus();
    gui::sim::KeyPress(gui::VK_INSERT, {}, g);
    EXPECT_EQ(g->Asked, 2);
    EXPECT_EQ(g->RowCount(), 4);
}

TEST_F(KeyFixture, F2OpensTheGridsOwnTextEditor)
{
    EXPECT_EQ(G->NormalEdit(), nullptr);
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->SetCells(2, 2, "text");
    G->MoveColRow(2, 2, true, true);
    Key(gui::VK_F2);
    ASSERT_NE(G->NormalEdit(), nullptr);
    EXPECT_EQ(G->NormalEdit(), G->InplaceEditor());
    EXPECT_TRUE(G->EditorMode());
}

// Right expands, Left contracts the node of a row whose current cell is
// merged; on a plain row the keys only move.
TEST_F(KeyFixture, NodeRowsOpenAndCloseByRightAndLeft)
{
    G->SetRowCount(8);
    G->AddNode(2, 3);
    G->MergeCells(1, 2, 5, 1);
    G->ContractNode(2);
    const int rows = G->RowCount();
    G->MoveColRow(1, 2, true, true);
    Key(gui::VK_RIGHT);
    EXPECT_FALSE(G->GetNodeState(2));
    EXPECT_EQ(G->RowCount(), rows + 2);
    G->MoveColRow(1, 2, true, true);
    Key(gui::VK_LEFT);
    EXPECT_TRUE(G->GetNodeState(2));
    EXPECT_EQ(G->RowCount(), rows);
    // An unmerged node row: Right moves the cursor and leaves the node.
    G->AddNode(4, 2);
    G->ContractNode(G->DisplayToRealRow(4));
    const int before = G->RowCount();
    G->MoveColRow(1, 4, true, true);
    Key(gui::VK_RIGHT);
    EXPECT_EQ(G->RowCount(), before);
    EXPECT_EQ(G->Col(), 2);
}

// F2 on a cell whose text holds inline controls opens the first editable
// one; a cell the grid shows as markup with CONTROL tags keeps Enter and F2
// from the grid: no editor opens and the cursor stays.
TEST_F(KeyFixture, EnterAndF2OnInlineControls)
{
    G->SetColWidths(2, 200);
    G->SetCells(2, 2, "Site <control type=\"edit\" id=\"s\" value=\"Tromso\" width=\"80\">");
    G->MoveColRow(2, 2, true, true);
    Key(gui::VK_F2);
    ASSERT_TRUE(G->InlineEdit()->Visible());
    EXPECT_EQ(G->InlineEdit()->Text(), "Tromso");
    EXPECT_EQ(G->CtrlID(), "s");
    G->SetFocus();
    G->InlineEdit()->SetVisible(false);

    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->SetCells(3, 3, "Site <CONTROL TYPE=\"EDIT\" ID=\"t\" VALUE=\"Oslo\" WIDTH=\"80\">");
    G->MoveColRow(3, 3, true, true);
    int gridKeys = 0;
    G->OnKeyDown = [&](rtl::TObject*, uint16_t&, gui::TShiftState) { ++gridKeys; };
    for (uint16_t vk : {gui::VK_RETURN, gui::VK_F2}) {
        Key(vk);
        EXPECT_FALSE(G->EditorMode()) << vk;
        EXPECT_FALSE(G->InlineEdit()->Visible()) << vk;
        EXPECT_EQ(G->Row(), 3) << vk;
    }
    EXPECT_EQ(gridKeys, 0);
}

// With SelectionRectangle a selection grown by key is repainted whole, so
// the frame around it is drawn anew.
TEST_F(KeyFixture, SelectionRectangleRepaintedWhenKeysGrowTheSelection)
{
    struct Recording : TExStringGrid {
        using TExStringGrid::TExStringGrid;
        std::vector<std::pair<int, int>> Painted;
        void DrawCell(int c, int r, const gui::TRect& rect, gui::TGridDrawState state) override
        {
            Painted.emplace_back(c, r);
            TExStringGrid::DrawCell(c, r, rect, state);
        }
    };
    auto* g = new Recording(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 380, 200);
    g->SetColCount(6);
    g->SetRowCount(6);
    g->SetDefaultColWidth(60);
    g->SetOptions(g->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    g->SetSelectionRectangle(true);
    g->SetSelectionRectangleColor(0x0000FF);
    G->SetVisible(false);
    g->SetFocus();
    g->MoveColRow(1, 1, true, true);
    gui::sim::KeyPress(gui::VK_DOWN, {TShiftStateItem::ssShift}, g);
    gui::Application->ProcessMessages();
    g->Painted.clear();
    gui::sim::KeyPress(gui::VK_RIGHT, {TShiftStateItem::ssShift}, g);
    EXPECT_EQ(g->Selection(), (gui::TGridRect{1, 1, 2, 2}));
    gui::Application->ProcessMessages();
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 2; ++r)
            EXPECT_NE(std::find(g->Painted.begin(), g->Painted.end(), std::make_pair(c, r)), g->Painted.end())
                << c << "," << r;
    // The frame runs along the new right edge.
    const gui::TRect right = g->gui::TCustomGrid::CellRect(2, 1);
    std::unique_ptr<gui::TBitmap> shot = g->GetImage();
    int red = 0;
    for (int x = right.Right - 3; x <= right.Right + 1; ++x)
        if (shot->Canvas()->Pixels(x, right.Top + 10) == 0x0000FFu) ++red;
    EXPECT_GT(red, 0);
}

// Enter in the editor that advances onto a check-box cell clicks the box
// as the mouse would; OnCellChanging then reports the move from the cell
// left.  Going down the column the editor does not stay open there.
TEST_F(KeyFixture, AdvanceOntoAClickControlClicksIt)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->Navigation()->SetAdvanceOnEnter(true);
    G->AddCheckBox(2, 1, false, false);
    G->AddCheckBox(1, 3, false, false);
    std::vector<std::string> log;
    G->OnCellChanging = [&](rtl::TObject*, int oldRow, int oldCol, int newRow, int newCol, bool&) {
        log.push_back(std::to_string(oldCol) + "," + std::to_string(oldRow) + ">" + std::to_string(newCol) + "," +
                      std::to_string(newRow));
    };
    G->MoveColRow(1, 1, true, true);
    Key(gui::VK_F2);
    ASSERT_TRUE(G->EditorMode());
    gui::sim::KeyPress(gui::VK_RETURN, {}, G->InplaceEditor());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 1);
    bool state = false;
    G->GetCheckBoxState(2, 1, state);
    EXPECT_TRUE(state);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "1,1>2,1");

    G->Navigation()->SetAdvanceDirection(TAdvanceDirection::adTopBottom);
    G->MoveColRow(1, 2, true, true);
    Key(gui::VK_F2);
    ASSERT_TRUE(G->EditorMode());
    gui::sim::KeyPress(gui::VK_RETURN, {}, G->InplaceEditor());
    EXPECT_EQ(G->Row(), 3);
    G->GetCheckBoxState(1, 3, state);
    EXPECT_TRUE(state);
    EXPECT_FALSE(G->EditorMode());
}
