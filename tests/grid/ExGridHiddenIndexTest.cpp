// Hidden rows at scale and the structure faults around them: the row
// mappings checked against a walk over the hidden set after mixed hide,
// filter, unhide, sort and unsort steps; out-of-range hide requests that
// must leave the grid intact; clearing a grid with contracted nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "grid/ExGrid.h"
#include "grid/ExGridFilter.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct HiddenFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    void Build(int rows, int cols)
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 400);
        G->SetColCount(cols);
        G->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) G->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> v;
        for (int r = 0; r < G->RowCount(); ++r) {
            std::string line;
            for (int c = 0; c < G->ColCount(); ++c) line += G->Cells(c, r) + "|";
            v.push_back(line);
        }
        return v;
    }
    // The mappings by their definition: a walk over the real rows.
    void ExpectMappingsMatchTheWalk(const std::string& step)
    {
        std::set<int> hidden;
        for (int i = 0; i < G->NumHiddenRows(); ++i) hidden.insert(G->GridItems()->Items(i)->Idx());
        const int total = G->TotalRowCount();
        int shown = 0;
        for (int real = 0; real < total + 3; ++real) {
            const bool isHidden = hidden.count(real) > 0;
            ASSERT_EQ(G->IsHiddenRow(real), isHidden) << step << " real " << real;
            ASSERT_EQ(G->RealToDisplayRow(real), real - static_cast<int>(std::distance(hidden.begin(),
                                                                                        hidden.lower_bound(real))))
                << step << " real " << real;
            if (!isHidden) {
                ASSERT_EQ(G->DisplayToRealRow(shown), real) << step << " display " << shown;
                ++shown;
            }
        }
    }
};

} // namespace

TEST_F(HiddenFixture, MappingsFollowEveryChangeOfTheHiddenSet)
{
    Build(60, 3);
    for (int r = 1; r < 60; ++r) G->SetCells(1, r, r % 3 == 0 ? "keep" : "drop");
    for (int r = 1; r < 60; ++r) G->SetCells(2, r, std::to_string((r * 37) % 61));
    ExpectMappingsMatchTheWalk("start");
    G->HideRows(4, 9);
    ExpectMappingsMatchTheWalk("hide 4..9");
    G->HideRows(7, 12);  // partly hidden already
    ExpectMappingsMatchTheWalk("hide 7..12");
    G->HideRow(30);
    ExpectMappingsMatchTheWalk("hide 30");
    auto* f = G->Filter()->Add();
    f->SetColumn(1);
    f->SetCondition("keep");
    G->SetFilterActive(true);
    ExpectMappingsMatchTheWalk("filter");
    G->SortSettings()->SetColumn(2);
    G->QSort();
    ExpectMappingsMatchTheWalk("sort");
    G->UnHideRows(4, 6);
    ExpectMappingsMatchTheWalk("unhide 4..6");
    G->RemoveRows(3, 2);
    ExpectMappingsMatchTheWalk("remove 2 rows");
    G->SetFilterActive(false);
    ExpectMappingsMatchTheWalk("filter off");
    G->HideRows(0, 2);
    ExpectMappingsMatchTheWalk("hide 0..2");
    G->UnHideRowsAll();
    ExpectMappingsMatchTheWalk("unhide all");
    EXPECT_EQ(G->NumHiddenRows(), 0);
    EXPECT_EQ(G->RowCount(), 58);
}

TEST_F(HiddenFixture, MappingsAfterSortAndUnsortWithHiddenRows)
{
    Build(40, 3);
    for (int r = 1; r < 40; ++r) G->SetCells(2, r, std::to_string((r * 17) % 41));
    const std::vector<std::string> before = Rows();
    G->SortSettings()->SetColumn(2);
    G->QSort();
    G->HideRows(5, 8);
    G->HideRow(20);
    ExpectMappingsMatchTheWalk("hidden after sort");
    G->UnHideRowsAll();
    G->QUnSort();
    ExpectMappingsMatchTheWalk("unsorted");
    EXPECT_EQ(Rows(), before);
}

// Hide requests outside the real rows are skipped where they fall outside;
// showing everything again gives back the original grid.
TEST_F(HiddenFixture, OutOfRangeHideRequestsLeaveTheGridIntact)
{
    struct Case {
        int from, to, hidden;
    };
    for (const Case& c : {Case{-1, 2, 3}, Case{-5, -1, 0}, Case{6, 9, 2}, Case{3, 3, 1}, Case{7, 3, 0}}) {
        Build(8, 3);
        while (G->NumHiddenRows() > 0) G->UnHideRowsAll();
        const std::vector<std::string> before = Rows();
        EXPECT_NO_THROW(G->HideRows(c.from, c.to)) << c.from << ".." << c.to;
        EXPECT_EQ(G->NumHiddenRows(), c.hidden) << c.from << ".." << c.to;
        EXPECT_EQ(G->RowCount(), 8 - c.hidden);
        EXPECT_NO_THROW(G->UnHideRowsAll());
        EXPECT_EQ(G->NumHiddenRows(), 0);
        EXPECT_EQ(Rows(), before) << c.from << ".." << c.to;
        EXPECT_NO_THROW(G->UnHideRowsAll());
        EXPECT_EQ(G->RowCount(), 8);
    }
}

TEST_F(HiddenFixture, ClearOpensContractedNodesFirst)
{
    Build(8, 3);
    G->AddNode(2, 3);
    G->ContractNode(2);
    ASSERT_EQ(G->NumHiddenRows(), 2);
    G->Clear();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(G->NumNodes(), 0);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(G->Cells(c, r), "") << c << "," << r;
}

// A match inside a contracted node (nested too) opens the nodes and
// becomes current.
TEST_F(HiddenFixture, FindWithHiddenRowsOpensTheNodeOfTheMatch)
{
    Build(12, 3);
    G->AddNode(2, 6);  // rows 2..7, with a node 4..6 inside
    G->AddNode(4, 3);
    G->ContractNode(4);
    G->ContractNode(2);
    ASSERT_TRUE(G->IsHiddenRow(5));
    const TFindParams p{TFindParameters::fnIncludeHiddenRows, TFindParameters::fnAutoGoto,
                        TFindParameters::fnMatchFull};
    const gui::TPoint at = G->FindFirst("1:5", p);
    EXPECT_EQ(at.X, 1);
    EXPECT_EQ(at.Y, 5);
    EXPECT_FALSE(G->IsHiddenRow(5));
    EXPECT_EQ(G->Cells(1, G->Row()), "1:5");
    // Without fnAutoGoto a hidden match stays hidden.
    G->ContractNode(2);
    EXPECT_EQ(G->FindFirst("1:6", TFindParams{TFindParameters::fnIncludeHiddenRows}).Y, 6);
    EXPECT_TRUE(G->IsHiddenRow(6));
}

TEST_F(HiddenFixture, SearchUsesTheFirstSortIndexWithIndexShow)
{
    Build(5, 4);
    G->SetCells(1, 3, "Beta");
    G->SetCells(2, 2, "Beta");
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetColumn(1);
    EXPECT_EQ(G->Search("BE"), 3);
    G->SortSettings()->SetIndexShow(true);
    G->SortIndexes()->AddIndex(2, true);
    EXPECT_EQ(G->Search("BE"), 2);
    G->SortIndexes()->Clear();
    EXPECT_EQ(G->Search("1:"), 1);  // no entries: the first normal column
}

// Every row's text, colour and height travel with it through sort, filter,
// hide, unhide, filter off and unsort on 10,000 rows.
TEST_F(HiddenFixture, RowsTravelWholeThroughSortFilterHideAndBack)
{
    const int n = 10000;
    Build(n + 1, 3);
    for (int r = 1; r <= n; ++r) {
        G->SetCells(1, r, r % 4 == 0 ? "keep" : "drop");
        G->SetCells(2, r, std::to_string((r * 7919) % 10007));
        if (r % 7 == 0) G->SetCellColor(0, r, static_cast<TColor>(r));
        if (r % 11 == 0) G->SetRowHeights(r, 20 + r % 13);
    }
    auto expectRowsWhole = [&](const std::string& step) {
        for (int d = 1; d < G->RowCount(); ++d) {
            const std::string key = G->Cells(0, d);
            const int r = std::stoi(key.substr(2));
            ASSERT_EQ(G->Cells(2, d), std::to_string((r * 7919) % 10007)) << step << " row " << r;
            TCellProperties* p = G->FindCellProperties(0, d);
            ASSERT_EQ(p ? p->BrushColor() : gui::clNone, r % 7 == 0 ? static_cast<TColor>(r) : gui::clNone)
                << step << " row " << r;
            if (r % 11 == 0) { ASSERT_EQ(G->RowHeights(d), 20 + r % 13) << step << " row " << r; }
        }
    };
    G->SortSettings()->SetColumn(2);
    G->QSort();
    expectRowsWhole("sorted");
    auto* f = G->Filter()->Add();
    f->SetColumn(1);
    f->SetCondition("keep");
    G->SetFilterActive(true);
    ASSERT_EQ(G->RowCount(), n / 4 + 1);
    expectRowsWhole("filtered");
    const int from = G->DisplayToRealRow(10), to = G->DisplayToRealRow(500);
    G->HideRows(from, to);
    expectRowsWhole("hidden");
    G->UnHideRowsAll();
    expectRowsWhole("shown");
    G->SetFilterActive(false);
    ASSERT_EQ(G->RowCount(), n + 1);
    expectRowsWhole("filter off");
    G->QUnSort();
    for (int r = 0; r <= n; ++r) ASSERT_EQ(G->Cells(0, r), "0:" + std::to_string(r)) << "original order";
    expectRowsWhole("unsorted");
}
