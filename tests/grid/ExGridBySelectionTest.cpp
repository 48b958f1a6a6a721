// Row and column operations by selection and check box, clearing by
// selection mode, merges along a row, the lighter removals and hiding
// through them, and the index helpers by name.
#include <gtest/gtest.h>

#include <functional>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

// One fixed row, rows "r1".."r8" in column 0, cells "c:r" elsewhere.
struct OpsFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    OpsFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 400);
        G->SetColCount(5);
        G->SetRowCount(9);
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
        for (int r = 0; r < 9; ++r) {
            G->SetCells(0, r, "r" + std::to_string(r));
            for (int c = 1; c < 5; ++c) G->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        }
    }
    std::string Keys()
    {
        std::string s;
        for (int r = 1; r < G->RowCount(); ++r) s += G->Cells(0, r).substr(1);
        return s;
    }
    std::string Header()
    {
        std::string s;
        for (int c = 0; c < G->ColCount(); ++c) s += G->Cells(c, 0) + " ";
        return s;
    }
};

} // namespace

// Disjunct flags (by display row, or by real row when persistent) against
// the selection rectangle.
TEST_F(OpsFixture, RemoveAndHideRowsBySelection)
{
    struct Case {
        const char* name;
        bool disjunct, persistent;
        bool hideFirst;        // real row 2 hidden before selecting
        std::string selected;  // the keys of display rows 2..5 or 2, 4, 5
    };
    const Case cases[] = {
        {"rectangle", false, false, false, "2345"},
        {"disjunct", true, false, false, "245"},
        {"persistent with a hidden row", true, true, true, "356"},
    };
    for (const Case& c : cases) {
        auto select = [&] {
            G->MouseActions()->SetDisjunctRowSelect(c.disjunct);
            G->MouseActions()->SetRowSelectPersistent(c.persistent);
            if (c.hideFirst) G->HideRow(2);
            if (!c.disjunct) {
                G->SetSelection({1, 2, 3, 5});
                return;
            }
            for (int d : {2, 4, 5}) G->SetRowSelect(c.persistent ? G->DisplayToRealRow(d) : d, true);
        };
        auto reset = [&] {
            G->MouseActions()->SetDisjunctRowSelect(false);
            G->UnHideRowsAll();
            G->ClearRowSelect();
            G->SetRowCount(9);
            for (int r = 0; r < 9; ++r) G->SetCells(0, r, "r" + std::to_string(r));
        };
        std::string others, shownOthers;
        for (char k : std::string("12345678"))
            if (c.selected.find(k) == std::string::npos) {
                others += k;
                if (!(c.hideFirst && k == '2')) shownOthers += k;
            }

        select();
        G->RemoveSelectedRows();
        G->UnHideRowsAll();
        EXPECT_EQ(Keys(), others) << c.name << ": selected rows removed";
        EXPECT_EQ(G->CountSelectedRows(), c.disjunct ? 0 : G->CountSelectedRows()) << c.name;
        reset();

        select();
        G->RemoveUnSelectedRows();
        G->UnHideRowsAll();
        EXPECT_EQ(Keys(), (c.hideFirst ? "2" : "") + c.selected) << c.name << ": unselected rows removed";
        reset();

        select();
        G->HideSelectedRows();
        EXPECT_EQ(Keys(), shownOthers) << c.name << ": selected rows hidden";
        G->UnHideRowsAll();
        EXPECT_EQ(Keys(), "12345678") << c.name;
        reset();

        select();
        G->HideUnSelectedRows();
        EXPECT_EQ(Keys(), c.selected) << c.name << ": unselected rows hidden";
        G->UnHideRowsAll();
        EXPECT_EQ(Keys(), "12345678") << c.name;
        reset();
    }
}

TEST_F(OpsFixture, RemoveCheckedRowsByTheCheckBoxColumn)
{
    G->AddCheckBoxColumn(1);
    for (int r : {2, 3, 7}) G->SetCheckBoxState(1, r, true);
    G->RemoveCheckedRows(1, true);
    EXPECT_EQ(Keys(), "14568");
    G->RemoveCheckedRows(1, false);
    EXPECT_EQ(Keys(), "");
    EXPECT_EQ(G->RowCount(), 1);  // the fixed row stays
}

TEST_F(OpsFixture, RemoveColumnsBySelection)
{
    G->SetSelection({2, 1, 3, 4});
    G->RemoveSelectedCols();
    EXPECT_EQ(Header(), "r0 1:0 4:0 ");
    G->SetColCount(5);
    for (int c = 1; c < 5; ++c) G->SetCells(c, 0, std::to_string(c) + ":0");
    G->SetSelection({2, 1, 3, 4});
    G->RemoveUnSelectedCols();
    EXPECT_EQ(Header(), "r0 2:0 3:0 ");

    G->SetColCount(5);
    for (int c = 1; c < 5; ++c) G->SetCells(c, 0, std::to_string(c) + ":0");
    G->MouseActions()->SetDisjunctColSelect(true);
    G->SetColSelect(1, true);
    G->SetColSelect(3, true);
    G->RemoveSelectedCols();
    EXPECT_EQ(Header(), "r0 2:0 4:0 ");
    EXPECT_FALSE(G->GetColSelect(1));
    G->SetColCount(5);
    for (int c = 1; c < 5; ++c) G->SetCells(c, 0, std::to_string(c) + ":0");
    G->ClearColSelect();
    G->SetColSelect(2, true);
    G->RemoveUnSelectedCols();
    EXPECT_EQ(Header(), "r0 2:0 ");
    EXPECT_EQ(G->ColSelectCount(), 0);
}

TEST_F(OpsFixture, ClearSelectionByMode)
{
    G->SetSelection({2, 3, 3, 4});
    G->ClearSelection();
    EXPECT_EQ(G->Cells(2, 3), "");
    EXPECT_EQ(G->Cells(3, 4), "");
    EXPECT_EQ(G->Cells(1, 3), "1:3");
    EXPECT_EQ(G->Cells(2, 5), "2:5");

    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(6, true);
    G->ClearSelection();
    EXPECT_EQ(G->Cells(0, 6), "");
    EXPECT_EQ(G->Cells(4, 6), "");
    EXPECT_EQ(G->Cells(4, 7), "4:7");
    G->MouseActions()->SetDisjunctRowSelect(false);

    G->MouseActions()->SetDisjunctColSelect(true);
    G->SetColSelect(4, true);
    G->ClearSelection();
    EXPECT_EQ(G->Cells(4, 0), "");
    EXPECT_EQ(G->Cells(4, 8), "");
    EXPECT_EQ(G->Cells(3, 8), "3:8");
}

TEST_F(OpsFixture, ClearNormalRowsAndColumnsLeaveTheFixedCells)
{
    G->SetFixedCols(1);
    G->ClearNormalRows(2, 2);
    EXPECT_EQ(G->Cells(0, 2), "r2");
    EXPECT_EQ(G->Cells(1, 2), "");
    EXPECT_EQ(G->Cells(4, 3), "");
    EXPECT_EQ(G->Cells(1, 4), "1:4");
    G->ClearNormalCols(3, 1);
    EXPECT_EQ(G->Cells(3, 0), "3:0");
    EXPECT_EQ(G->Cells(3, 8), "");
    EXPECT_EQ(G->Cells(2, 8), "2:8");
    G->ClearNormalRows(2, 0);  // nothing for a count below 1
    EXPECT_EQ(G->Cells(1, 5), "1:5");
}

TEST_F(OpsFixture, MergeAndSplitAlongARow)
{
    for (int c = 1; c < 5; ++c) G->SetCells(c, 2, c < 3 ? "a" : "b");
    G->SetCells(1, 3, "x");
    G->MergeRowCells(2, true);
    EXPECT_EQ(G->CellSpan(1, 2).X, 1);
    EXPECT_EQ(G->CellSpan(3, 2).X, 1);
    EXPECT_FALSE(G->IsMergedCell(1, 3));
    G->SplitRowCells(2);
    EXPECT_FALSE(G->IsMergedCell(1, 2));
    EXPECT_FALSE(G->IsMergedCell(3, 2));
    G->MergeRowCells(2, true);
    G->MergeCells(1, 5, 2, 2);
    G->SplitAllCells();
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_FALSE(G->IsMergedCell(c, r)) << c << "," << r;
}

TEST_F(OpsFixture, WideCellMarker)
{
    G->SetCells(1, 1, "|\\0041");
    G->SetCells(2, 1, "x|\\");
    EXPECT_TRUE(G->IsWideCell(1, 1));
    EXPECT_FALSE(G->IsWideCell(2, 1));
    EXPECT_FALSE(G->IsWideCell(3, 1));
}

TEST_F(OpsFixture, LighterRemovalsAndHidingThroughThem)
{
    G->SetRowHeights(3, 40);
    G->HideRow(7);  // a hidden row below: real 7
    G->RemoveRowsEx(2, 2);
    EXPECT_EQ(Keys(), "14568");
    EXPECT_EQ(G->RowHeights(3), 40);  // heights stay by position
    EXPECT_EQ(G->GridItems()->Items(0)->Idx(), 5);
    G->UnHideRowsAll();
    EXPECT_EQ(Keys(), "145678");

    G->SetRow(5);
    G->DeleteRowsInternal(1, 2, true);
    EXPECT_EQ(Keys(), "5678");
    EXPECT_EQ(G->Row(), 4);  // the last row: the remembered one is gone
    G->DeleteRowsInternal(9, 1, true);  // out of range: nothing
    EXPECT_EQ(Keys(), "5678");
}

TEST_F(OpsFixture, HideRowsExKeepsTheOtherHiddenRows)
{
    G->SetRowHeights(4, 33);
    G->HideRow(7);
    G->HideRowsEx(3, 4);
    EXPECT_EQ(Keys(), "12568");
    EXPECT_TRUE(G->IsHiddenRow(7));
    EXPECT_TRUE(G->IsHiddenRow(4));
    EXPECT_EQ(G->DisplayToRealRow(3), 5);
    EXPECT_EQ(G->DisplRowIndex(8), 5);
    EXPECT_EQ(G->RealRowIndex(5), 8);
    G->HideRowsEx(3, 3);  // already hidden: nothing
    EXPECT_EQ(G->NumHiddenRows(), 3);
    G->UnHideRowsAll();
    EXPECT_EQ(Keys(), "12345678");
    EXPECT_EQ(G->RowHeights(4), 33);
}

TEST_F(OpsFixture, CurrentPositionAsRealIndexes)
{
    G->HideColumn(1);
    G->HideRows(1, 2);
    G->SetRow(2);
    G->SetCol(2);
    EXPECT_EQ(G->RealRow(), 4);
    EXPECT_EQ(G->RealCol(), 3);
    EXPECT_FALSE(G->GetColumnVisibleFlag(1));
    EXPECT_TRUE(G->GetColumnVisibleFlag(2));
    G->SetColumnVisibleFlag(600, false);  // outside the flags: ignored
    EXPECT_FALSE(G->GetColumnVisibleFlag(600));
}

TEST_F(OpsFixture, UpdateEditModeFollowsTheCurrentCellsEditPermission)
{
    // The permission of the current cell changes while it stays current:
    // UpdateEditMode switches editing off and on again, without moving.
    bool editable = true;
    G->OnCanEditCell = [&](rtl::TObject*, int r, int c, bool& can) { can = !(c == 2 && r == 3) || editable; };
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->SetCol(2);
    G->SetRow(3);
    const auto editing = [&] { return G->Options().Contains(gui::TGridOption::goEditing); };
    EXPECT_TRUE(editing());
    editable = false;
    EXPECT_TRUE(editing());  // nothing follows by itself
    G->UpdateEditMode();
    EXPECT_FALSE(editing());
    editable = true;
    G->UpdateEditMode();
    EXPECT_TRUE(editing());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);
}

TEST_F(OpsFixture, RemovingTheLastNormalRowKeepsTheHeader)
{
    // The removal keeps row 0's texts; the platform grid then lets the
    // selection onto row 0.  With FixedRowAlways row 0 stays the fixed
    // header, which the operations by selection and on normal cells leave.
    const std::string header = Header();
    G->SetFixedRowAlways(true);
    struct Case {
        const char* name;
        std::function<void()> then;
    } cases[] = {
        {"nothing more", [] {}},
        {"remove selected rows", [&] { G->RemoveSelectedRows(); }},
        {"remove unselected rows", [&] { G->RemoveUnSelectedRows(); }},
        {"clear selection", [&] { G->ClearSelection(); }},
        {"clear normal cells", [&] { G->ClearNormalCells(); }},
        {"clear normal columns", [&] { G->ClearNormalCols(1, 3); }},
    };
    for (const Case& c : cases) {
        G->SetRowCount(3);
        G->SetFixedRows(1);
        G->SetSelection({1, 1, 3, 2});
        G->RemoveRows(1, 2);
        EXPECT_EQ(G->RowCount(), 1) << c.name;
        EXPECT_EQ(G->FixedRows(), 1) << c.name;
        c.then();
        EXPECT_EQ(G->RowCount(), 1) << c.name;
        EXPECT_EQ(Header(), header) << c.name;
        G->SetRowCount(3);  // rows added again come empty under the header
        EXPECT_EQ(Header(), header) << c.name;
        EXPECT_EQ(G->Cells(0, 1), "") << c.name;
        EXPECT_EQ(G->FixedRows(), 1) << c.name;
    }
}
