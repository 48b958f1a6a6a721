// Find and replace (the flag table, empty-cell search, no wrap, ignored
// columns, Search, Replace that ends), highlight and mark, cell checking,
// fills and dates, and the column and row calculations.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"

using namespace grid;
using FP = TFindParameters;

namespace {

struct FindFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    FindFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(4);
        G->SetRowCount(5);
        const char* cells[5][4] = {{"H0", "H1", "H2", "H3"},
                                   {"r1", "Ant", "x", "abc"},
                                   {"r2", "Plant", "", "ANT"},
                                   {"r3", "an", "y", "an"},
                                   {"r4", "bee", "z", "<b>an</b>t"}};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) G->SetCells(c, r, cells[r][c]);
    }
};

} // namespace

TEST_F(FindFixture, FlagTable)
{
    struct Case {
        const char* text;
        TFindParams params;
        gui::TPoint start;
        gui::TPoint expected;
    };
    const gui::TPoint none{-1, -1}, first{-1, -1};
    const Case cases[] = {
        {"an", {}, first, {1, 1}},                                     // case ignored: Ant
        {"an", {FP::fnMatchCase}, first, {1, 2}},                      // Plant
        {"an", {FP::fnMatchStart}, first, {1, 1}},                     // Ant, not Plant
        {"an", {FP::fnMatchStart, FP::fnMatchCase}, first, {1, 3}},    // only "an"
        {"an", {FP::fnMatchFull}, first, {1, 3}},
        {"a", {FP::fnMatchCase}, first, {1, 2}},                       // column by column
        {"a", {FP::fnMatchCase, FP::fnDirectionLeftRight}, first, {3, 1}},  // row by row
        {"an", {FP::fnBackward}, first, {3, 4}},                       // from the last cell
        {"an", {FP::fnBackward}, {3, 4}, {3, 3}},
        {"an", {}, {3, 4}, none},                                      // no wrap
        {"h1", {}, first, none},                                       // fixed cells left out
        {"h1", {FP::fnIncludeFixed}, first, {1, 0}},
        {"a*", {FP::fnMatchRegular}, first, {1, 1}},
        {"<b>", {FP::fnIgnoreHTMLTags}, first, none},
        {"\"\"", {}, first, {2, 2}},                                   // the first empty cell
        {"", {}, first, none},
    };
    for (const Case& c : cases) {
        const gui::TPoint at = G->Find(c.start, c.text, c.params);
        EXPECT_EQ(at.X, c.expected.X) << "case " << (&c - cases);
        EXPECT_EQ(at.Y, c.expected.Y) << "case " << (&c - cases);
    }
}

TEST_F(FindFixture, WideSearchMatchesLikeTheStringSearch)
{
    G->SetCells(2, 3, "\xC3\xA9t\xC3\xA9");  // "été"
    const gui::TPoint wide = G->FindWide({-1, -1}, u"\u00C9T\u00C9", {});
    EXPECT_EQ(wide.X, 2);
    EXPECT_EQ(wide.Y, 3);
    EXPECT_EQ(G->FindWide({-1, -1}, u"\"\"", {}).Y, 2);  // the first empty cell
    EXPECT_EQ(G->FindWide({-1, -1}, u"ANT", {TFindParameters::fnMatchCase}).X, 3);  // not Ant or Plant
    EXPECT_TRUE(G->SearchCache.empty());  // FindNext after a wide search finds nothing
    EXPECT_EQ(G->FindNext().X, -1);
}

TEST_F(FindFixture, RestrictionsSelectionAndHiddenColumns)
{
    G->SetSelection({2, 1, 3, 2});
    EXPECT_EQ(G->Find({-1, -1}, "an", {FP::fnSelectedCells}).X, 3);
    G->MoveColRow(1, 3, true, false);
    EXPECT_EQ(G->Find({-1, -1}, "an", {FP::fnFindInCurrentRow}).Y, 3);
    G->MoveColRow(3, 1, true, false);
    const gui::TPoint inCol = G->Find({-1, -1}, "ant", {FP::fnFindInCurrentCol});
    EXPECT_EQ(inCol.X, 3);
    EXPECT_EQ(inCol.Y, 2);
    G->SetFindRow(4);
    EXPECT_EQ(G->Find({-1, -1}, "an", {FP::fnFindInPresetRow}).X, 3);

    G->HideColumn(1);
    const gui::TPoint shown = G->Find({-1, -1}, "ant", {});
    EXPECT_EQ(shown.X, 2);  // displayed column of real column 3
    EXPECT_EQ(shown.Y, 2);
    const gui::TPoint all = G->Find({-1, -1}, "ant", {FP::fnIncludeHiddenColumns});
    EXPECT_EQ(all.X, 1);
    EXPECT_EQ(all.Y, 1);
}

TEST_F(FindFixture, IgnoredColumnsOnlyInRowWiseScans)
{
    G->IgnoreColumns()->Add(1);
    const gui::TPoint rows = G->Find({-1, -1}, "an", {FP::fnDirectionLeftRight});
    EXPECT_EQ(rows.X, 3);
    EXPECT_EQ(rows.Y, 2);
    const gui::TPoint cols = G->Find({-1, -1}, "an", {});
    EXPECT_EQ(cols.X, 1);
    EXPECT_EQ(cols.Y, 1);
}

TEST_F(FindFixture, FindFirstNextAndAutoGoto)
{
    TFindParams p{FP::fnAutoGoto, FP::fnMatchStart};
    gui::TPoint at = G->FindFirst("an", p);
    EXPECT_EQ(G->Row(), 1);
    EXPECT_EQ(G->Col(), 1);
    at = G->FindNext();
    EXPECT_EQ(at.Y, 3);
    EXPECT_EQ(G->Row(), 3);
    at = G->FindNext();  // column 3: "an" in row 3
    EXPECT_EQ(at.X, 3);
    EXPECT_EQ(at.Y, 2);
    while (at.X != -1) at = G->FindNext();
    at = G->FindNext();  // after (-1, -1) it starts over
    EXPECT_EQ(at.X, 1);
    EXPECT_EQ(at.Y, 1);

    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MoveColRow(2, 4, true, false);
    G->FindFirst("plant", {FP::fnAutoGoto});
    EXPECT_EQ(G->Row(), 4);  // the current cell stays
    EXPECT_EQ(G->CountSelectedRows(), 1);
    EXPECT_TRUE(G->GetRowSelect(2));
}

TEST_F(FindFixture, SearchComparesTheUpperCasedKeyCell)
{
    G->SetCells(1, 4, "<b>ab</b>c");
    EXPECT_EQ(G->Search("AN"), 1);
    EXPECT_EQ(G->Search("AB"), 4);
    EXPECT_EQ(G->Search("ab"), -1);
}

TEST_F(FindFixture, ReplaceEndsAndChangesEachCellOnce)
{
    // Column by column in the current row: the restriction puts the start
    // back on the cell just changed, and "ab" still holds "a".
    G->MoveColRow(1, 1, true, false);
    EXPECT_EQ(G->Replace("a", "ab", {FP::fnFindInCurrentRow}), 2);
    EXPECT_EQ(G->Cells(1, 1), "abnt");
    EXPECT_EQ(G->Cells(3, 1), "abbc");
    EXPECT_EQ(G->Cells(1, 2), "Plant");
    // The same, row by row in the current column.
    G->MoveColRow(3, 2, true, false);
    EXPECT_EQ(G->Replace("an", "xan", {FP::fnFindInCurrentCol, FP::fnDirectionLeftRight}), 3);
    EXPECT_EQ(G->Cells(3, 2), "xanT");
    // Case is ignored in the rewrite even with fnMatchCase.
    EXPECT_EQ(G->Replace("Pl", "pl", {FP::fnMatchCase}), 1);
    EXPECT_EQ(G->Cells(1, 2), "plant");
    EXPECT_EQ(G->Replace("zzz", "y", {}), 0);
}

// ------------------------------------------------------------ highlight

TEST_F(FindFixture, HilightAndMarkTags)
{
    EXPECT_EQ(G->HilightText(false, "Total amount", "AMOUNT"), "Total <hi>amount</hi>");
    EXPECT_EQ(G->HilightText(true, "Total amount", "AMOUNT"), "Total amount");
    EXPECT_EQ(G->UnHilightText("<B>x</B> <HI>y</HI> <hi>z</hi>"), "<B>x</B> y z");
    EXPECT_EQ(G->MarkText(false, "Ant", "an"), "<e>An</e>t");

    // Without fixed cells, highlighting reaches hidden columns, marking does not.
    G->HideColumn(3);
    G->HilightInGrid(false, false, "an");
    EXPECT_EQ(G->Cells(3, 2), "<hi>AN</hi>T");
    G->UnHilightInGrid(false);
    EXPECT_EQ(G->Cells(3, 2), "ANT");
    G->MarkInGrid(false, false, "an");
    EXPECT_EQ(G->Cells(3, 2), "ANT");
    EXPECT_EQ(G->Cells(1, 1), "<e>An</e>t");
    G->UnMarkInGrid(false);
    EXPECT_EQ(G->Cells(1, 1), "Ant");
}

namespace {
struct CountingChecker : gridbase::TExStringGridCheck {
    using TExStringGridCheck::TExStringGridCheck;
    int Visits = 0, Starts = 0, Stops = 0;
    std::string Correct(int, int, const std::string& s) override
    {
        ++Visits;
        return s == "x" ? "X" : s;
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
};
} // namespace

TEST_F(FindFixture, CheckGridVisitsEveryCell)
{
    EXPECT_TRUE(G->CheckGrid(false));  // no checker
    auto* checker = new CountingChecker(&Form);
    checker->SetUseCorrect(true);
    G->SetCellChecker(checker);
    EXPECT_FALSE(G->CheckGrid(false));
    EXPECT_EQ(checker->Visits, 12);  // 3 x 4 data cells, after the failing one too
    EXPECT_EQ(checker->Starts, 1);
    EXPECT_EQ(checker->Stops, 1);
    EXPECT_EQ(G->Cells(2, 1), "X");
    EXPECT_TRUE(G->CheckGrid(false));
    delete checker;
    EXPECT_EQ(G->CellChecker(), nullptr);
}

TEST_F(FindFixture, FillsAndDates)
{
    G->LinearFill(false);
    EXPECT_EQ(G->Cells(1, 1), "1:1");
    EXPECT_EQ(G->Cells(3, 4), "3:4");
    EXPECT_EQ(G->Cells(0, 1), "r1");
    G->TextFill(true, "t");
    EXPECT_EQ(G->Cells(0, 0), "t");
    G->RandomFill(false, 3);
    for (int r = 1; r < 5; ++r) {
        const int v = std::stoi(G->Cells(2, r));
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 3);
    }
    G->SetShowNullDates(false);
    G->SetDates(1, 1, 0);
    EXPECT_EQ(G->Cells(1, 1), "");
    G->SetDates(1, 1, rtl::EncodeDate(2024, 3, 5));
    EXPECT_EQ(G->Cells(1, 1), rtl::DateToStr(rtl::EncodeDate(2024, 3, 5)));
    G->SetShowNullDates(true);
    G->SetDates(1, 1, 0);
    EXPECT_EQ(G->Cells(1, 1), rtl::DateToStr(0));
}

// ------------------------------------------------------------ calculations

namespace {
// A grid whose row 2 is a node row and row 4 a summary row.
} // namespace

TEST_F(FindFixture, ColumnAndRowCalculations)
{
    const char* values[] = {"1", "2", "x", "4"};
    G->SetRowCount(5);
    for (int r = 1; r <= 4; ++r) G->SetCells(1, r, values[r - 1]);
    EXPECT_DOUBLE_EQ(G->ColumnSum(1, 1, 4), 7);
    EXPECT_DOUBLE_EQ(G->ColumnAvg(1, 1, 4), 1.75);  // divided by all four rows
    EXPECT_DOUBLE_EQ(G->ColumnMin(1, 1, 4), 1);
    EXPECT_DOUBLE_EQ(G->ColumnMax(1, 1, 4), 4);
    EXPECT_DOUBLE_EQ(G->ColumnAvg(1, 4, 1), 0);
    EXPECT_DOUBLE_EQ(G->RowAvg(1, 3, 1), 0);
    G->SetCells(1, 2, "");
    EXPECT_DOUBLE_EQ(G->ColumnMin(1, 1, 4), 0);  // empty reads 0

    // A non-numeric start cell is skipped like the others.
    G->SetCells(1, 1, "n/a");
    G->SetCells(1, 2, "3");
    G->SetCells(1, 3, "8");
    EXPECT_DOUBLE_EQ(G->ColumnMin(1, 1, 3), 3);
    EXPECT_DOUBLE_EQ(G->ColumnMax(1, 1, 3), 8);
    G->SetCells(1, 2, "x");
    G->SetCells(1, 3, "y");
    EXPECT_DOUBLE_EQ(G->ColumnMin(1, 1, 3), 0);  // no number at all

    G->SetCells(0, 1, "2");
    G->SetCells(1, 1, "n/a");
    G->SetCells(2, 1, "5");
    G->SetCells(3, 1, "-1");
    EXPECT_DOUBLE_EQ(G->RowSum(1, 0, 3), 6);
    EXPECT_DOUBLE_EQ(G->RowMin(1, 1, 3), -1);
    EXPECT_DOUBLE_EQ(G->RowMax(1, 1, 3), 5);
    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(1, 1, 3), 0);
    G->OnGroupCalc = [](rtl::TObject*, int, int from, int to, double& res) { res = to - from; };
    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(1, 1, 3), 2);
}

TEST(GroupedCalc, NodeAndSummaryRowsLeftOut)
{
    gui::TForm form{nullptr};
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetColCount(3);
    g->SetRowCount(4);
    const char* rows[3][2] = {{"A", "10"}, {"B", "30"}, {"A", "20"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) g->SetCells(c + 1, r + 1, rows[r][c]);
    EXPECT_DOUBLE_EQ(g->ColumnSum(2, 1, 3), 60);  // not grouped: every row
    g->Grouping()->SetSummary(true);
    g->Group(1);  // N A, 10, 20, S, N B, 30, S: the values move to column 1
    ASSERT_EQ(g->RowCount(), 8);
    g->GroupSum(1);  // the summary rows now hold 30 and 30
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 7), 60);
    EXPECT_DOUBLE_EQ(g->ColumnMax(1, 1, 7), 30);
}
