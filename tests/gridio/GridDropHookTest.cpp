// Text dropped on the string grid goes through the data-exchange hooks:
// rows inserted for the block, the values pasted as a paste pastes them
// (editable cells only, before-paste event, unquoted fields, one undo
// sequence), the dropped block selected.
#include <gtest/gtest.h>

#include "GridCellText.h"

#include "grid/ExGrid.h"
#include "gridbase/grddd.h"
#include "gridio/GridIOHooks.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct HookDropFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    HookDropFixture()
    {
        gridio::InstallGridIOHooks();
        Form.SetBounds(0, 0, 600, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 580, 380);
        G->SetColCount(5);
        G->SetRowCount(10);
        G->SetDefaultRowHeight(20);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 5; ++c) G->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
        G->DragDropSettings()->SetOleDropTarget(true);
        G->DragDropSettings()->SetOleInsertRows(true);
    }
    ~HookDropFixture() override { SetGridIOHooks(nullptr); }
    void Drop(int c, int r, const std::string& text)
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        G->GridDropTarget()->DropText({rc.Left + 3, rc.Top + 3}, text);
    }
    std::string Row(int row, int from, int to) { return RowText(*G, row, from, to); }
};

} // namespace

TEST_F(HookDropFixture, InsertedRowsFilledThroughThePaste)
{
    ASSERT_NE(GridIOHooks(), nullptr);
    std::vector<std::string> asked;
    G->OnClipboardBeforePasteCell = [&](rtl::TObject*, int c, int r, std::string& v, bool& allow) {
        asked.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
        if (v == "B2") v = "b2";   // the paste's event may change a value
        allow = v != "A3";         // ... or refuse it
    };
    gui::TGridRect dropped{};
    G->OnOleDropped = [&](rtl::TObject*, const gui::TGridRect& r) { dropped = r; };
    // A quoted field with a line break loses its quotes in the paste.
    Drop(2, 5, "A1\t\"two\nlines\"\r\nA2\tB2\r\nA3\tB3\r\n");
    EXPECT_EQ(G->RowCount(), 13);
    EXPECT_EQ(Row(5, 2, 3), "A1|two\nlines|");
    EXPECT_EQ(Row(6, 2, 3), "A2|b2|");
    EXPECT_EQ(Row(7, 2, 3), "|B3|");   // refused: the inserted row stays empty
    EXPECT_EQ(Row(8, 1, 3), "1,5|2,5|3,5|");
    EXPECT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked.front(), "2,5=A1");
    EXPECT_EQ(dropped, (gui::TGridRect{2, 5, 3, 7}));
    EXPECT_EQ(G->Selection(), dropped);
}

TEST_F(HookDropFixture, NotEditableGridGetsRowsButNoValues)
{
    // Without editing the paste writes nothing; AllowClipboardAlways lets it.
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goEditing});
    Drop(1, 2, "x\ty\r\n");
    EXPECT_EQ(G->RowCount(), 11);
    EXPECT_EQ(Row(2, 1, 2), "||");
    EXPECT_EQ(Row(3, 1, 2), "1,2|2,2|");
    G->Navigation()->SetAllowClipboardAlways(true);
    Drop(1, 2, "x\ty\r\n");
    EXPECT_EQ(G->RowCount(), 12);
    EXPECT_EQ(Row(2, 1, 2), "x|y|");
}

TEST_F(HookDropFixture, TextWithoutLinesInsertsNothing)
{
    Drop(1, 2, "\r\n");
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(Row(3, 1, 2), "1,3|2,3|");
    EXPECT_EQ(G->Selection().Top, 2);
}

TEST(GridDropWithoutHooks, TextGoesIntoTheNonFixedCells)
{
    SetGridIOHooks(nullptr);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 380, 280);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetFixedCols(1);
    int lines = 0, fields = 0;
    // Fields beyond the last column and lines beyond the last row are dropped.
    EXPECT_EQ(g->PasteTextAtCell(0, 2, lines, fields, "a\tb\tc\td\r\ne\tf\r\ng\r\n"), 7);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(fields, 1);
    EXPECT_EQ(g->Cells(0, 2), "");  // fixed
    EXPECT_EQ(g->Cells(1, 2), "b");
    EXPECT_EQ(g->Cells(2, 2), "c");
    EXPECT_EQ(g->Cells(1, 3), "f");
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->ColCount(), 3);
}
