// Selection model, hidden rows and columns, and the row and column
// structure: selected counts in every mode, hide and show round trips that
// keep texts, records and heights, the index mappings, the current row's
// event, clearing (with hidden columns), inserting and removing rows,
// duplicates and merges by content.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct RowsFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    RowsFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 400);
        G->SetColCount(5);
        G->SetRowCount(12);
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 5; ++c) G->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
    }
    std::vector<std::string> Column(int c)
    {
        std::vector<std::string> v;
        for (int r = 0; r < G->RowCount(); ++r) v.push_back(G->Cells(c, r));
        return v;
    }
};

} // namespace

TEST_F(RowsFixture, SelectedRowsInEveryMode)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(5, true);
    G->SetRowSelect(2, true);
    G->SetRowSelect(5, true);  // once
    EXPECT_EQ(G->CountSelectedRows(), 2);
    EXPECT_EQ(G->NthSelectedRow(0), 5);
    EXPECT_EQ(G->NthSelectedRow(1), 2);
    EXPECT_EQ(G->NthSelectedRow(2), -1);
    EXPECT_THROW(G->GetRowSelect(12), ZEziDoroZezuz);
    EXPECT_THROW(G->SetColSelect(5, true), ZEziDoroZezuz);
    G->OnRowDisjunctSelect = [](rtl::TObject*, int r, bool, bool& allow) { allow = r != 7; };
    G->SetRowSelect(7, true);
    EXPECT_FALSE(G->GetRowSelect(7));
    G->ClearRowSelect();
    EXPECT_EQ(G->CountSelectedRows(), 0);

    G->MouseActions()->SetDisjunctRowSelect(false);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    G->SetSelection({1, 4, 2, 7});
    EXPECT_EQ(G->CountSelectedRows(), 4);
    EXPECT_EQ(G->NthSelectedRow(0), 4);
    EXPECT_EQ(G->NthSelectedRow(3), 7);
    EXPECT_EQ(G->NthSelectedRow(4), -1);

    // A merged top-left cell over 3 rows counts its rows.
    G->MergeCells(1, 8, 1, 3);
    G->SetSelection({1, 8, 1, 8});
    EXPECT_EQ(G->CountSelectedRows(), 3);

    G->SetCells(1, 1, "a");
    G->SetCells(2, 1, "b");
    G->SetCells(1, 2, "c");
    G->SetCells(2, 2, "d");
    G->SetSelection({1, 1, 2, 2});
    EXPECT_EQ(G->SelectedText(), "a\tb\r\nc\td");
}

TEST_F(RowsFixture, ModifiedRows)
{
    G->SetRowModified(10, true);
    EXPECT_EQ(G->ModifiedRowCount(), 1);
    EXPECT_FALSE(G->GetRowModified(9));
    EXPECT_TRUE(G->GetRowModified(10));
    G->ClearModifiedRows();
    EXPECT_EQ(G->ModifiedRowCount(), 0);
}

TEST_F(RowsFixture, HideAndShowRowsKeepTheirContents)
{
    G->SetRowHeights(3, 40);
    G->SetCellColor(2, 3, 0x00FF00);
    TCellProperties* record = G->FindCellProperties(2, 3);
    G->HideColumn(4);  // a hidden column's cells travel with the row
    G->HideRows(2, 3);
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(G->NumHiddenRows(), 2);
    EXPECT_EQ(G->AllRowCount(), 12);
    EXPECT_EQ(G->Cells(0, 2), "0:4");
    EXPECT_EQ(G->DisplayToRealRow(2), 4);
    EXPECT_EQ(G->RealToDisplayRow(4), 2);
    EXPECT_EQ(G->DisplayToRealRow(1), 1);
    std::string t;
    G->GetAllCells(1, 3, t);
    EXPECT_EQ(t, "1:3");

    // Partly hidden range: only the rest is hidden, each with its contents.
    G->HideRows(3, 5);
    EXPECT_EQ(G->NumHiddenRows(), 4);
    G->UnHideRowsAll();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    EXPECT_EQ(G->RowCount(), 12);
    for (int r = 0; r < 12; ++r) EXPECT_EQ(G->Cells(4, r), "4:" + std::to_string(r)) << r;
    for (int r = 0; r < 12; ++r) EXPECT_EQ(G->Cells(1, r), "1:" + std::to_string(r)) << r;
    EXPECT_EQ(G->FindCellProperties(2, 3), record);
    EXPECT_EQ(G->RowHeights(3), 40);
    G->UnHideColumn(4);
    EXPECT_EQ(G->ColCount(), 5);
}

TEST_F(RowsFixture, HiddenColumnsAndTheirMapping)
{
    G->SetColWidths(1, 33);
    G->HideColumn(1);
    G->HideColumn(3);
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->AllColCount(), 5);
    EXPECT_EQ(G->RealColIndex(1), 2);
    EXPECT_EQ(G->RealColIndex(2), 4);
    EXPECT_EQ(G->DisplColIndex(4), 2);
    EXPECT_FALSE(G->IsHiddenColumn(600));
    EXPECT_EQ(G->GetAllColWidths(1), 33);
    G->UnHideColumn(1);
    EXPECT_EQ(G->ColWidths(1), 33);
    // The last shown column is never hidden.
    G->HideColumns(0, 4);
    EXPECT_EQ(G->ColCount(), 1);
    G->UnHideColumnsAll();
    EXPECT_EQ(G->ColCount(), 5);
}

TEST_F(RowsFixture, RowSetterReportsRealChangesOnce)
{
    std::vector<std::pair<int, int>> changes;
    G->SetRow(3);
    G->OnRowChanged = [&](rtl::TObject*, int oldRow, int newRow) { changes.push_back({oldRow, newRow}); };
    G->SetRow(5);
    G->SetRow(5);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].second, 5);
}

TEST_F(RowsFixture, ParkedSelectionComesBackOrFallsToTheFirstCell)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    G->SetSelection({2, 3, 3, 4});
    G->HideSelection();
    G->UnHideSelection();
    EXPECT_EQ(G->Selection(), (gui::TGridRect{2, 3, 3, 4}));
    G->SetSelection({2, 9, 2, 9});
    G->HideSelection();
    G->RemoveRows(5, 6);
    G->UnHideSelection();
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 1, 1}));
}

// Clear empties every real column exactly once, hidden ones included,
// with SaveHiddenCells on and off.
TEST_F(RowsFixture, ClearTable)
{
    for (bool saveHidden : {false, true}) {
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 5; ++c) G->SetCells(c, r, "x");
        G->SetCellColor(2, 2, 0x00FF00);
        G->SetSaveHiddenCells(saveHidden);
        G->HideColumn(1);
        G->HideColumn(3);
        G->Clear();
        EXPECT_EQ(G->RowCount(), 12);
        G->UnHideColumnsAll();
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 5; ++c) ASSERT_EQ(G->Cells(c, r), "") << saveHidden << ": " << c << "," << r;
        EXPECT_FALSE(G->HasCellProperties(2, 2));
    }
    // ClearTextOnly keeps the colours.
    G->SetCells(2, 2, "y");
    G->SetCellColor(2, 2, 0x00FF00);
    G->SetClearTextOnly(true);
    G->Clear();
    EXPECT_EQ(G->Cells(2, 2), "");
    EXPECT_EQ(G->GetCellBrushColor(2, 2), 0x00FF00u);
}

TEST_F(RowsFixture, InsertAndRemoveRows)
{
    G->SetRowCount(5);
    const char* texts[] = {"h", "p", "q", "r"};
    for (int r = 0; r < 4; ++r) G->SetCells(1, r, texts[r]);
    G->SetCells(1, 4, "");
    G->SetRowCount(4);
    G->SetRowHeights(2, 30);
    G->InsertRows(2, 1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"h", "p", "", "q", "r"}));
    EXPECT_EQ(G->RowHeights(2), G->DefaultRowHeight());
    EXPECT_EQ(G->RowHeights(3), 30);

    // RemoveRows moves the hidden record and the disjunct flags up.
    G->SetRowCount(12);
    G->HideRow(5);
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(6, true);
    G->RemoveRows(1, 2);
    EXPECT_EQ(G->GridItems()->Items(0)->Idx(), 3);
    EXPECT_TRUE(G->GetRowSelect(4));
    EXPECT_EQ(G->NthSelectedRow(0), 4);
}

TEST_F(RowsFixture, DuplicatesAndMergesByContent)
{
    G->SetRowCount(4);
    G->SetCells(1, 1, "x");
    G->SetCells(1, 2, "X");
    G->SetCells(1, 3, "y");
    G->RemoveDuplicates(1, true);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1:0", "x", "y"}));

    G->SetRowCount(6);
    const char* v[] = {"a", "a", "b", "b", "b"};
    for (int r = 1; r <= 5; ++r) G->SetCells(2, r, v[r - 1]);
    G->MergeColumnCells(2, true);
    EXPECT_EQ(G->CellSpan(2, 1), gui::TPoint(0, 1));
    EXPECT_EQ(G->CellSpan(2, 3), gui::TPoint(0, 2));

    G->SetCells(3, 1, "John");
    G->SetCells(4, 1, "Smith");
    G->MergeCols(3, 4, " ");
    EXPECT_EQ(G->Cells(3, 1), "John Smith");
    EXPECT_EQ(G->ColCount(), 4);
}
