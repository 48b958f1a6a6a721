// Counts, fixed areas, default sizes, headers and the formatting of cells
// and rows: FixedRowAlways, the footer row that stays last, hidden columns
// in AllColCount, row colours and font colours taken away, header lists
// with escaped line breaks, the vertical alignment flag and the veto on
// sizing a column.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;

namespace {

// A grid with hidden columns set up directly (the hiding operations come
// with their own issue).
struct DimGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    void HideColumnsForTest(int count)
    {
        FNumHidden = count;
        for (int i = 0; i < count; ++i) FVisibleCol[ColCount() + i] = false;
    }
};

struct DimFixture : testing::Test {
    gui::TForm Form{nullptr};
    DimGrid* G = new DimGrid(&Form);
    DimFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
    }
};

} // namespace

TEST_F(DimFixture, FixedRowAlwaysKeepsTheHeaderRow)
{
    G->SetFixedRowAlways(true);
    G->SetRowCount(1);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 0);
    EXPECT_EQ(G->FixedRows(), 1);
    G->SetRowCount(5);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 1);
    // A request at or above the row count leaves one normal row but is remembered.
    G->SetFixedRows(5);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 4);
    G->SetRowCount(8);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 5);
}

TEST_F(DimFixture, FooterRowStaysLastWhenRowsAreAdded)
{
    G->FloatingFooter()->SetVisible(true);
    G->SetRowCount(10);
    G->SetCells(1, 9, "Sum");
    G->SetCells(2, 9, "42");
    G->SetRowCount(12);
    EXPECT_EQ(G->Cells(1, 11), "Sum");
    EXPECT_EQ(G->Cells(2, 11), "42");
    EXPECT_EQ(G->Cells(1, 9), "");
    EXPECT_EQ(G->Cells(2, 9), "");
}

TEST_F(DimFixture, HiddenColumnsCountInAllColCount)
{
    G->SetColCount(3);
    G->HideColumnsForTest(2);
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->AllColCount(), 5);
    EXPECT_EQ(G->MaxColCountEver(), 5);
}

TEST_F(DimFixture, RowColorNoneFreesRecordsRowFontColorNoneKeepsColouredCells)
{
    G->SetColCount(5);
    G->SetRowColor(2, 0x00FF00);
    G->SetCellFontColor(3, 2, 0x0000FF);
    G->GetCellProperties(4, 2)->SetReadOnly(true);
    G->SetRowColor(2, gui::clNone);
    for (int c = 1; c < 5; ++c) EXPECT_FALSE(G->HasCellProperties(c, 2)) << c;

    G->SetCellColor(2, 3, 0x00FF00);
    G->SetRowFontColor(3, 0x0000FF);
    G->GetCellProperties(3, 3)->SetBrushColor(gui::clNone);
    G->SetRowFontColor(3, gui::clNone);
    ASSERT_TRUE(G->HasCellProperties(2, 3));  // has a background colour
    EXPECT_EQ(G->FindCellProperties(2, 3)->FontColor(), 0x0000FFu);
    EXPECT_FALSE(G->HasCellProperties(3, 3));
    // A record made by the font colour starts with the grid's colour as its
    // background, so it counts as coloured and stays.
    EXPECT_TRUE(G->HasCellProperties(4, 3));
    EXPECT_FALSE(G->HasCellProperties(0, 3));  // fixed column untouched
}

TEST_F(DimFixture, FormattingACellWithoutRecordStartsFromTheDefaults)
{
    G->SetColor(0xF0F0F0);
    G->SetCellFontColor(2, 3, 0x0000FF);
    TCellProperties* p = G->FindCellProperties(2, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->FontColor(), 0x0000FFu);
    EXPECT_EQ(p->BrushColor(), 0xF0F0F0u);
    EXPECT_EQ(G->GetCellBrushColor(2, 3), 0xF0F0F0u);
    // A fixed cell's record never freezes the fixed background.
    G->SetCellFontColor(0, 3, 0x0000FF);
    EXPECT_EQ(G->GetCellBrushColor(0, 3), gui::clNone);
    EXPECT_EQ(G->GetCellBrushColor(4, 4), gui::clNone);
    EXPECT_FALSE(G->HasCellProperties(4, 4));  // reading creates nothing

    G->SetCellAlignment(2, 3, TAlignment::taRightJustify);
    G->SetCellFontStyle(2, 3, {gui::TFontStyle::fsBold});
    EXPECT_EQ(p->Alignment(), TAlignment::taRightJustify);
    EXPECT_TRUE(p->FontStyle().Contains(gui::TFontStyle::fsBold));
}

TEST_F(DimFixture, HeaderLists)
{
    G->SetColCount(5);
    G->SetCells(3, 0, "old");
    rtl::TStringList heads{"Name", "Lat\\nitude", "Long"};
    G->SetColumnHeaders(&heads);
    EXPECT_EQ(G->Cells(0, 0), "Name");
    EXPECT_EQ(G->Cells(1, 0), "Lat\ritude");  // shown on two lines
    EXPECT_EQ(G->Cells(2, 0), "Long");
    EXPECT_EQ(G->Cells(3, 0), "");            // cleared first
    EXPECT_EQ(G->Cells(4, 0), "");
    G->ColumnHeaders()->SetStrings(2, "Lon");  // the list's change shows at once
    EXPECT_EQ(G->Cells(2, 0), "Lon");

    G->SetRowCount(5);
    rtl::TStringList rows{"", "a", "b", "c", "d"};
    G->SetRowHeaders(&rows);
    rtl::TStringList shorter{"", "x"};
    G->SetRowHeaders(&shorter);  // at run time the other texts stay
    EXPECT_EQ(G->Cells(0, 1), "x");
    EXPECT_EQ(G->Cells(0, 2), "b");
}

TEST_F(DimFixture, VerticalAlignmentFlagsAndDefaultSizes)
{
    struct Case {
        TVAlignment va;
        uint32_t flag;
    } cases[] = {{TVAlignment::vtaTop, 0}, {TVAlignment::vtaCenter, 4}, {TVAlignment::vtaBottom, 8}};
    for (const Case& c : cases) {
        G->SetVAlignment(c.va);
        EXPECT_EQ(G->VAlign(), c.flag);
    }

    G->SetDefaultColWidth(64);
    G->SetColWidths(0, 90);
    G->SetFixedColWidth(64);  // equal to the default: nothing changes
    EXPECT_EQ(G->ColWidths(0), 90);
    G->SetFixedColWidth(70);
    EXPECT_EQ(G->ColWidths(0), 70);

    G->SetRowHeights(4, 40);
    G->SetFixedRowHeight(30);
    EXPECT_EQ(G->RowHeights(0), 30);
    EXPECT_EQ(G->RowHeights(4), 40);
    G->SetFixedRowHeight(G->DefaultRowHeight());  // every row back to the default
    EXPECT_EQ(G->RowHeights(0), 22);
    EXPECT_EQ(G->RowHeights(4), 22);
}

TEST_F(DimFixture, CurrentCellAndSortCrossReferences)
{
    G->SetColCount(5);
    G->SetCol(2);
    G->SetRow(3);
    G->SetCurrentCell("here");
    EXPECT_EQ(G->Cells(2, 3), "here");
    EXPECT_EQ(G->CurrentCell(), "here");
    G->MergeCells(1, 3, 2, 1);
    G->SetCells(1, 3, "base");
    EXPECT_EQ(G->CurrentCell(), "base");

    EXPECT_EQ(G->UnSortedRowIndex(4), 4);
    G->SortRowXRef() = {3, 1, 2};
    EXPECT_EQ(G->UnSortedRowIndex(1), 1);
    EXPECT_EQ(G->UnSortedRowIndex(7), 3);  // not listed: the list's count
    EXPECT_EQ(G->SortedRowIndex(0), 3);
    EXPECT_EQ(G->SortedRowIndex(5), 5);
}

TEST_F(DimFixture, OnColumnSizeRefusingAColumnPreventsSizingIt)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goColSizing});
    G->SetDefaultColWidth(60);
    G->OnColumnSize = [](rtl::TObject*, int col, bool& allow) { allow = col != 2; };
    Form.Show();
    const gui::TRect c2 = G->gui::TCustomGrid::CellRect(2, 0);
    const gui::TRect c3 = G->gui::TCustomGrid::CellRect(3, 0);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, c2.Right, c2.Top + 5);
    EXPECT_NE(G->GridState(), gui::TGridState::gsColSizing);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, c2.Right, c2.Top + 5);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, c3.Right, c3.Top + 5);
    EXPECT_EQ(G->GridState(), gui::TGridState::gsColSizing);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, c3.Right, c3.Top + 5);
}

TEST_F(DimFixture, TagsOverARange)
{
    G->SetCells(1, 1, "Berlin");
    G->SetCells(2, 1, "Bern");
    G->InsertTagInRange("Ber", "B", false, 1, 1, 2, 1);
    EXPECT_EQ(G->Cells(1, 1), "<B>Ber</B>lin");
    G->RemoveTagInRange("B", 1, 1, 2, 1);
    EXPECT_EQ(G->Cells(2, 1), "Bern");
    std::string plain;
    G->SetCells(3, 1, "<b>x</b>y");
    G->GetStrippedCellText(3, 1, plain);
    EXPECT_EQ(plain, "xy");
}
