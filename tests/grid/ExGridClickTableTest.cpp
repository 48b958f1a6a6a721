// Clicks on a 6 x 6 grid driven through synthetic mouse input: corner, row
// header, column header and cell against the mouse select settings and
// modifiers; header drags; right clicks; sizing of normal columns and rows
// with its events and the all-columns/all-rows scaling; header editing;
// the release events of check boxes.
#include <gtest/gtest.h>

#include "grid/ExControlEdit.h"
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace grid;
using gui::TGridOption;
using gui::TMouseButton;
using gui::TShiftStateItem;

namespace {

struct ClickFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    ClickFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(64);
        G->SetDefaultRowHeight(22);
        Form.Show();
        G->SetFocus();
    }
    gui::TPoint Centre(int c, int r)
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void ClickCell(int c, int r, gui::TShiftState shift = {}, TMouseButton button = TMouseButton::mbLeft)
    {
        const gui::TPoint p = Centre(c, r);
        gui::sim::MouseMove(G, p.X, p.Y, shift);
        gui::sim::MouseDown(G, button, p.X, p.Y, shift);
        gui::sim::MouseUp(G, button, p.X, p.Y, shift);
    }
    void Options(bool range)
    {
        G->SetOptions(range ? G->Options() + gui::TGridOptions{TGridOption::goRangeSelect}
                            : G->Options() - gui::TGridOptions{TGridOption::goRangeSelect});
    }
};

const gui::TShiftState kShift{TShiftStateItem::ssShift};

} // namespace

TEST_F(ClickFixture, HeaderAndCornerSelectionTable)
{
    enum Flags { None = 0, All = 1, Rows = 2, Cols = 4, Range = 8 };
    struct Case {
        int flags;
        int col, row;
        gui::TShiftState shift;
        gui::TGridRect want;
    } cases[] = {
        {All | Range, 0, 0, {}, {1, 1, 5, 5}},
        {All, 0, 0, {}, {3, 2, 3, 2}},              // needs goRangeSelect
        {Range, 0, 0, {}, {3, 2, 3, 2}},            // needs AllSelect
        {Rows | Range, 0, 4, {}, {1, 4, 5, 4}},
        {Rows | Range, 0, 4, kShift, {1, 2, 5, 4}}, // from the selection's top
        {Cols | Range, 4, 0, {}, {4, 1, 4, 5}},
        {Cols | Range, 5, 0, kShift, {3, 1, 5, 5}}, // from the selection's left
        {Rows | Range, 4, 0, {}, {3, 2, 3, 2}},     // a column header is not a row header
        {Cols | Rows | All | Range, 2, 3, {}, {2, 3, 2, 3}},  // a cell is a cell
    };
    for (const Case& c : cases) {
        G->MouseActions()->SetAllSelect(c.flags & All);
        G->MouseActions()->SetRowSelect(c.flags & Rows);
        G->MouseActions()->SetColSelect(c.flags & Cols);
        Options(c.flags & Range);
        G->MoveColRow(3, 2, true, true);
        ClickCell(c.col, c.row, c.shift);
        EXPECT_EQ(G->Selection(), c.want) << (&c - cases);
    }
}

TEST_F(ClickFixture, DraggingOverHeadersExtendsRowsAndColumns)
{
    Options(true);
    G->MouseActions()->SetRowSelect(true);
    G->MouseActions()->SetColSelect(true);
    int changes = 0;
    G->OnSelectionChanged = [&](rtl::TObject*, int, int, int, int) { ++changes; };
    gui::TPoint a = Centre(0, 2), b = Centre(0, 4);
    gui::sim::MouseMove(G, a.X, a.Y);
    gui::sim::MouseDown(G, TMouseButton::mbLeft, a.X, a.Y);
    gui::sim::MouseMove(G, b.X, b.Y, {TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, TMouseButton::mbLeft, b.X, b.Y);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 2, 5, 4}));
    EXPECT_GE(changes, 1);

    a = Centre(4, 0);
    b = Centre(2, 0);
    gui::sim::MouseMove(G, a.X, a.Y);
    gui::sim::MouseDown(G, TMouseButton::mbLeft, a.X, a.Y);
    gui::sim::MouseMove(G, b.X, b.Y, {TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, TMouseButton::mbLeft, b.X, b.Y);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{2, 1, 4, 5}));
    // After the release a plain move over the cells extends nothing.
    const gui::TPoint c = Centre(5, 3);
    gui::sim::MouseMove(G, c.X, c.Y);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{2, 1, 4, 5}));
}

TEST_F(ClickFixture, RightClicks)
{
    G->MoveColRow(1, 1, true, true);
    std::vector<std::string> log;
    G->OnRightClickCell = [&](rtl::TObject*, int r, int c) {
        log.push_back(std::to_string(r) + "," + std::to_string(c));
    };
    ClickCell(3, 4, {}, TMouseButton::mbRight);
    EXPECT_EQ(G->Row(), 1);  // only with SelectOnRightClick
    G->MouseActions()->SetSelectOnRightClick(true);
    int changes = 0;
    G->OnSelectionChanged = [&](rtl::TObject*, int, int, int, int) { ++changes; };
    ClickCell(3, 4, {}, TMouseButton::mbRight);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"4,3", "4,3"}));

    // Disjunct rows: the row is flagged alone; Ctrl inverts a row's flag.
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(2, true);
    ClickCell(3, 5, {}, TMouseButton::mbRight);
    EXPECT_TRUE(G->GetRowSelect(5));
    EXPECT_FALSE(G->GetRowSelect(2));
    ClickCell(3, 3, {TShiftStateItem::ssCtrl}, TMouseButton::mbRight);
    EXPECT_TRUE(G->GetRowSelect(3));
}

TEST_F(ClickFixture, SizingANormalColumnAndRow)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goColSizing, TGridOption::goRowSizing});
    std::vector<std::pair<int, int>> sizing;
    std::vector<int> ended;
    G->OnColumnSizing = [&](rtl::TObject*, int c, int w) { sizing.emplace_back(c, w); };
    G->OnEndColumnSize = [&](rtl::TObject*, int c) { ended.push_back(c); };
    auto dragColumnBorder = [&](int col, int to) {
        const gui::TRect r = G->gui::TCustomGrid::CellRect(col, 0);
        gui::sim::MouseMove(G, r.Right, r.Top + 5);
        gui::sim::MouseDown(G, TMouseButton::mbLeft, r.Right, r.Top + 5);
        ASSERT_EQ(G->GridState(), gui::TGridState::gsColSizing);
        gui::sim::MouseMove(G, r.Left + to, r.Top + 5, {TShiftStateItem::ssLeft});
        gui::sim::MouseUp(G, TMouseButton::mbLeft, r.Left + to, r.Top + 5);
    };
    dragColumnBorder(1, 96);
    EXPECT_EQ(G->ColWidths(1), 96);
    ASSERT_FALSE(sizing.empty());
    EXPECT_EQ(sizing.back(), std::make_pair(1, 96));
    EXPECT_EQ(ended, (std::vector<int>{1}));
    EXPECT_EQ(G->ColWidths(2), 64);  // the others stay

    // AllColumnSize scales every other normal column alike; fixed ones stay.
    G->MouseActions()->SetAllColumnSize(true);
    G->SetColWidths(3, 32);
    dragColumnBorder(1, 192);  // 96 -> 192
    EXPECT_EQ(G->ColWidths(1), 192);
    EXPECT_EQ(G->ColWidths(2), 128);
    EXPECT_EQ(G->ColWidths(3), 64);
    EXPECT_EQ(G->ColWidths(5), 128);
    EXPECT_EQ(G->ColWidths(0), 64);

    // AllRowSize: dragging row 2's bottom border in the fixed column.
    G->MouseActions()->SetAllRowSize(true);
    const gui::TRect r = G->gui::TCustomGrid::CellRect(0, 2);
    gui::sim::MouseMove(G, r.Left + 10, r.Bottom);
    gui::sim::MouseDown(G, TMouseButton::mbLeft, r.Left + 10, r.Bottom);
    ASSERT_EQ(G->GridState(), gui::TGridState::gsRowSizing);
    gui::sim::MouseMove(G, r.Left + 10, r.Top + 44, {TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, TMouseButton::mbLeft, r.Left + 10, r.Top + 44);
    EXPECT_EQ(G->RowHeights(2), 44);
    EXPECT_EQ(G->RowHeights(4), 44);
    EXPECT_EQ(G->RowHeights(0), 22);
}

TEST_F(ClickFixture, HeaderEditingByClickAndDoubleClick)
{
    G->SetCells(2, 0, "Name");
    ClickCell(2, 0);
    EXPECT_FALSE(G->EditTrans()->Visible());
    G->MouseActions()->SetFixedRowsEdit(TGridFixedCellEdit::fceRightClick);
    ClickCell(2, 0);  // a left click does not open it
    EXPECT_FALSE(G->EditTrans()->Visible());
    ClickCell(2, 0, {}, TMouseButton::mbRight);
    ASSERT_TRUE(G->EditTrans()->Visible());
    EXPECT_EQ(G->EditTrans()->Text(), "Name");
    G->EditTrans()->SetVisible(false);

    G->MouseActions()->SetFixedRowsEdit(TGridFixedCellEdit::fceLeftClick);
    ClickCell(3, 0);
    EXPECT_TRUE(G->EditTrans()->Visible());
    G->EditTrans()->SetVisible(false);

    G->MouseActions()->SetFixedColsEdit(TGridFixedCellEdit::fceDblClick);
    const gui::TPoint p = Centre(0, 3);
    gui::sim::DblClick(G, p.X, p.Y);
    EXPECT_TRUE(G->EditTrans()->Visible());
}

TEST_F(ClickFixture, CheckBoxReleaseReportsTheNewState)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->AddCheckBox(2, 3, false, false);
    std::vector<bool> states;
    G->OnCheckBoxMouseUp = [&](rtl::TObject*, int c, int r, bool state) {
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 3);
        states.push_back(state);
    };
    ClickCell(3, 3);  // not a check box cell
    gui::TRect box;
    G->GetCellControlRect(2, 3, box);
    const int x = (box.Left + box.Right) / 2, y = (box.Top + box.Bottom) / 2;
    gui::sim::MouseMove(G, x, y);
    gui::sim::MouseDown(G, TMouseButton::mbLeft, x, y);
    gui::sim::MouseUp(G, TMouseButton::mbLeft, x, y);
    EXPECT_EQ(states, (std::vector<bool>{true}));
}

TEST_F(ClickFixture, CellScrollBarIsOperated)
{
    G->AddScrollBar(2, 3, false);
    G->SetScrollProp(2, 3, {10, 100});
    G->SetScrollPosition(2, 3, 0);
    std::vector<int> positions;
    G->OnScrollCell = [&](rtl::TObject*, int c, int r, int pos, int min, int max) {
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 3);
        EXPECT_EQ(min, 0);
        EXPECT_EQ(max, 100);
        positions.push_back(pos);
    };
    const gui::TPoint p = Centre(2, 3);
    gui::sim::MouseMove(G, p.X, p.Y);
    gui::TScrollBar* bar = nullptr;
    for (int i = 0; i < G->ControlCount(); ++i)
        if (auto* b = dynamic_cast<gui::TScrollBar*>(G->Controls(i)); b && b->Visible()) bar = b;
    ASSERT_NE(bar, nullptr);
    const gui::TRect cell = G->gui::TCustomGrid::CellRect(2, 3);
    EXPECT_EQ(bar->Left() + bar->Width(), cell.Right - G->GridLineWidth());
    // The bar's lower arrow steps the cell's position.
    gui::sim::Click(bar, bar->Width() / 2, bar->Height() - 3);
    EXPECT_EQ(G->GetScrollPosition(2, 3), 1);
    EXPECT_EQ(positions, (std::vector<int>{1}));
    // Another cell hides it.
    const gui::TPoint q = Centre(4, 4);
    gui::sim::MouseMove(G, q.X, q.Y);
    EXPECT_FALSE(bar->Visible());
}
