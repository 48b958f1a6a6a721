// The selected-cells list (rectangle against disjunct accumulation), the
// column flags from the selection, focusing a cell, and the selection as
// text with rich cells and whole rows.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct CellSelectFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    CellSelectFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 400);
        G->SetColCount(5);
        G->SetRowCount(6);
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 5; ++c) G->SetCells(c, r, std::string(1, static_cast<char>('a' + c)) + std::to_string(r));
    }
};

} // namespace

TEST_F(CellSelectFixture, SelectedCellsRectangleAgainstDisjunct)
{
    struct Case {
        bool disjunct;
        int afterRect, afterOne, afterOther;
    };
    // A 2 x 3 rectangle, then the current cell (2, 2), then (3, 4).
    for (const Case& c : {Case{false, 6, 1, 1}, Case{true, 6, 6, 7}}) {
        G->ClearSelectedCells();
        G->MouseActions()->SetDisjunctCellSelect(c.disjunct);
        G->SetSelection({1, 2, 2, 4});
        EXPECT_EQ(G->SelectedCellsCount(), c.afterRect) << c.disjunct;
        EXPECT_EQ(G->SelectedCell(0).X, 1);
        EXPECT_EQ(G->SelectedCell(1).Y, 3);  // columns outer, rows inner
        G->FocusCell(2, 2);
        EXPECT_EQ(G->SelectedCellsCount(), c.afterOne) << c.disjunct;
        G->FocusCell(3, 4);
        EXPECT_EQ(G->SelectedCellsCount(), c.afterOther) << c.disjunct;
        EXPECT_EQ(G->SelectedCell(G->SelectedCellsCount() - 1).X, 3);
        EXPECT_EQ(G->SelectedCell(99).X, -1);
    }
    G->ClearSelectedCells();
    EXPECT_EQ(G->Selection().Left, G->FixedCols());
    EXPECT_EQ(G->Selection().Top, G->FixedRows());
    EXPECT_EQ(G->SelectedCell(0).X, -1);
}

TEST_F(CellSelectFixture, MarkSelectedColsFromTheRectangle)
{
    G->MouseActions()->SetDisjunctColSelect(true);
    G->SetColSelect(4, true);
    G->SetSelection({2, 1, 3, 1});
    G->MarkSelectedCols(false);
    EXPECT_TRUE(G->GetColSelect(2));
    EXPECT_TRUE(G->GetColSelect(3));
    EXPECT_TRUE(G->GetColSelect(4));
    G->SetSelection({1, 1, 1, 1});
    G->MarkSelectedCols(true);
    EXPECT_TRUE(G->GetColSelect(1));
    EXPECT_FALSE(G->GetColSelect(2));
    EXPECT_FALSE(G->GetColSelect(4));
}

TEST_F(CellSelectFixture, FocusCellMovesTheCurrentCellAndAnchor)
{
    G->FocusCell(3, 4);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(G->Selection().Left, 3);
    EXPECT_EQ(G->Selection().Top, 4);
    G->InvalidateGridRect({1, 1, 3, 4});  // a repaint request only
}

TEST_F(CellSelectFixture, SelectedTextTakesRichCellsAsPlainTextAndWholeRows)
{
    G->SetCells(2, 2, "{\\rtf1 one {\\b two}}");
    G->SetSelection({1, 2, 2, 3});
    EXPECT_EQ(G->SelectedText(), "b2\tone two\r\nb3\tc3");
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
    G->SetSelection({1, 3, 4, 3});
    EXPECT_EQ(G->SelectedText(), "b3\tc3\td3\te3");
    G->DragDropSettings()->SetOleEntireRows(true);
    EXPECT_EQ(G->SelectedText(), "a3\tb3\tc3\td3\te3");
}

TEST_F(CellSelectFixture, ComboItemListAndWideTexts)
{
    G->ClearComboString();
    G->AddComboString("North");
    rtl::TObject tag;
    G->AddComboStringObject("South", &tag);
    EXPECT_EQ(G->GetComboCount(), 2);
    EXPECT_TRUE(G->SetComboSelectionString("South"));
    EXPECT_EQ(G->ComboIdx(), 1);
    EXPECT_FALSE(G->SetComboSelectionString("East"));
    EXPECT_EQ(G->ComboIdx(), 1);
    G->SetComboSelection(0);
    EXPECT_EQ(G->ComboIdx(), 0);
    EXPECT_FALSE(G->RemoveComboString("East"));
    EXPECT_TRUE(G->RemoveComboString("North"));
    EXPECT_EQ(G->GetComboCount(), 1);
    G->ClearComboString();
    EXPECT_EQ(G->GetComboCount(), 0);

    G->SetCellTextWide(1, 1, u"\u00e9t\u00e9 \u20ac");
    EXPECT_EQ(G->Cells(1, 1), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
    G->MergeCells(2, 2, 2, 1);
    G->SetCellTextWide(3, 2, u"m\u00fc");  // a covered cell writes its base cell
    EXPECT_EQ(G->GetCellTextWide(2, 2), u"m\u00fc");
}
