// Keys on a 6 x 6 grid (wider than its client, so LeftCol can move) driven
// through synthetic key presses: a table of key, modifiers and options
// against the resulting Col, Row, LeftCol and selection; OnRowChanged for
// every row change; the disjunct row and column flags by key.
#include <gtest/gtest.h>

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
    G->OnRowChanged = [&](rtl::TObject*, int from, int to) { changes.emplace_back(from, to); };
    G->SetRow(2);
    Key(gui::VK_DOWN);
    Key(gui::VK_RIGHT);  // the row stays: nothing
    const gui::TRect cell = G->gui::TCustomGrid::CellRect(2, 5);
    gui::sim::Click(G, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    EXPECT_EQ(G->Row(), 5);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[1], std::make_pair(2, 3));
    EXPECT_EQ(changes[2], std::make_pair(3, 5));

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
