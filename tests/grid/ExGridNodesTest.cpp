// Nodes (levels, parents, contracting nested groups, child rows, the
// button's hit test and its click), grouping (structure with and without
// summaries, ungrouping, group calculations), auto sizing, numbering and
// swapping; and a grouped grid with nodes painted for a look.
#include <gtest/gtest.h>

#include <filesystem>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;

namespace {

using V = std::vector<std::string>;

struct NodeFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    NodeFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetColCount(4);
        G->SetRowCount(10);
        for (int r = 1; r < 10; ++r) G->SetCells(1, r, "r" + std::to_string(r));
    }
    V Column(int c)
    {
        V v;
        for (int r = 1; r < G->RowCount(); ++r) v.push_back(G->Cells(c, r));
        return v;
    }
    int Level(int r)
    {
        const TCellProperties* p = G->FindCellProperties(0, r);
        return p ? p->NodeLevel() : 0;
    }
};

} // namespace

TEST_F(NodeFixture, LevelsParentsAndTheQueriesOfPlainRows)
{
    G->AddNode(2, 3);
    G->AddNode(3, 2);
    EXPECT_EQ(G->NumNodes(), 2);
    EXPECT_TRUE(G->HasNodes());
    EXPECT_EQ((std::vector<int>{Level(1), Level(2), Level(3), Level(4), Level(5)}), (std::vector<int>{0, 1, 2, 2, 0}));
    EXPECT_EQ(G->GetParentRow(4), 3);
    EXPECT_EQ(G->GetParentRow(3), 2);
    EXPECT_EQ(G->GetParentRow(2), 2);  // a node without a parent answers itself
    EXPECT_EQ(G->GetParentRow(7), -1);
    EXPECT_EQ(G->GetNodeLevel(4), -1);  // a plain row inside the group
    EXPECT_EQ(G->GetNodeSpan(4), -1);
    EXPECT_EQ(G->GetSubNodeCount(4), 0);
    EXPECT_EQ(G->GetNodeSpan(2), 3);
    EXPECT_EQ(G->GetNodeLevel(3), 2);
    EXPECT_EQ(G->GetNodeSpanType(2), 0);
    EXPECT_EQ(G->GetNodeSpanType(3), 0);
    G->RemoveNode(3);
    EXPECT_EQ(G->NumNodes(), 1);
    EXPECT_EQ(Level(4), 1);
}

TEST_F(NodeFixture, ContractAndExpandNestedNodes)
{
    G->AddNode(2, 3);
    G->AddNode(3, 2);
    G->ContractNode(3);  // inner first
    EXPECT_EQ(Column(1), (V{"r1", "r2", "r3", "r5", "r6", "r7", "r8", "r9"}));
    G->ContractNode(2);
    EXPECT_EQ(Column(1), (V{"r1", "r2", "r5", "r6", "r7", "r8", "r9"}));
    EXPECT_TRUE(G->GetNodeState(2));
    G->ExpandNode(2);
    EXPECT_EQ(Column(1), (V{"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
    EXPECT_FALSE(G->GetNodeState(3));  // the inner node shows expanded too
    EXPECT_FALSE(G->ForceSel());

    // A plain row and a contracted node: nothing changes.
    G->ContractNode(5);
    G->ContractNode(2);
    const V contracted = Column(1);
    G->ContractNode(2);
    EXPECT_EQ(Column(1), contracted);
    EXPECT_FALSE(G->ForceSel());
    G->ExpandAll();
    EXPECT_EQ(G->RowCount(), 10);
    G->ContractAll();
    EXPECT_EQ(Column(1), (V{"r1", "r2", "r5", "r6", "r7", "r8", "r9"}));
    G->SetNodeState(2, false);
    EXPECT_EQ(G->RowCount(), 10);
}

TEST_F(NodeFixture, ExpandOneContractsTheOthers)
{
    G->AddNode(1, 3);
    G->AddNode(5, 3);
    G->CellNode()->SetExpandOne(true);
    G->ContractNode(5);
    G->ExpandNode(5);
    EXPECT_TRUE(G->GetNodeState(1));
    EXPECT_EQ(Column(1), (V{"r1", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(NodeFixture, ChildRowsSplitTheNodeRowAndGrowEveryEnclosingNode)
{
    G->AddNode(2, 4);
    G->AddNode(3, 2);
    G->SetCellObject(2, 3, G);  // travels with the node row's content
    G->InsertChildRow(3, 0);
    EXPECT_EQ(G->Cells(1, 3), "");
    EXPECT_EQ(G->Cells(1, 4), "r3");
    EXPECT_TRUE(G->IsNode(3));
    EXPECT_EQ(G->GetCellObject(2, 4), G);
    EXPECT_EQ(G->GetCellObject(2, 3), nullptr);
    EXPECT_EQ(G->GetNodeSpan(3), 3);
    EXPECT_EQ(G->GetNodeSpan(2), 5);
    EXPECT_EQ(G->GetSubNodeCount(3), 1);
    G->SetCellObject(2, 4, nullptr);
    G->RemoveChildRow(4);
    EXPECT_EQ(G->GetNodeSpan(3), 2);
    EXPECT_EQ(G->GetNodeSpan(2), 4);
    EXPECT_EQ(G->Cells(1, 4), "r4");
}

TEST_F(NodeFixture, SpanTypeOfTheLastRowAndTheButtonHitTest)
{
    G->SetFixedFooters(1);
    G->AddNode(6, 3);
    EXPECT_EQ(G->GetNodeSpanType(7), 2);
    EXPECT_EQ(G->GetNodeSpanType(8), 1);  // the last row above the footer

    G->CellNode()->SetNodeType(TNodeType::cnLeaf);
    G->CellNode()->SetNodeIndent(12);
    EXPECT_FALSE(G->IsInNodeButton(6, 2));
    EXPECT_TRUE(G->IsInNodeButton(6, 3));
    EXPECT_FALSE(G->IsInNodeButton(6, 20));
}

TEST_F(NodeFixture, ANodeClickExpandsAndContracts)
{
    Form.Show();
    G->AddNode(2, 3);
    G->CellNode()->SetNodeType(TNodeType::cnLeaf);
    G->CellNode()->SetNodeIndent(12);
    std::vector<std::string> log;
    G->OnContractNode = [&](rtl::TObject*, int r) { log.push_back("contract " + std::to_string(r)); };
    G->OnBeforeExpandNode = [&](rtl::TObject*, int, bool& allow) { allow = log.size() < 3; };
    G->OnExpandNode = [&](rtl::TObject*, int r) { log.push_back("expand " + std::to_string(r)); };
    const gui::TRect cell = G->gui::TCustomGrid::CellRect(0, 2);
    const int y = (cell.Top + cell.Bottom) / 2;
    G->SetRow(7);
    gui::sim::Click(G, cell.Left + 6, y);
    EXPECT_TRUE(G->GetNodeState(2));
    EXPECT_EQ(G->Row(), 5);  // the current row moved up with its row, not to the node
    gui::sim::Click(G, cell.Left + 6, y + 1);
    EXPECT_FALSE(G->GetNodeState(2));
    EXPECT_EQ(log, (std::vector<std::string>{"contract 2", "expand 2"}));
    G->MouseActions()->SetMoveRowOnNodeClick(true);
    gui::sim::Click(G, cell.Left + 6, y);
    EXPECT_EQ(G->Row(), 2);
    gui::sim::Click(G, cell.Left + 6, y);  // refused by OnBeforeExpandNode
    EXPECT_TRUE(G->GetNodeState(2));
}

TEST_F(NodeFixture, IndentGroupCountSuffixAndTheEditorsRowSize)
{
    EXPECT_EQ(G->GetNodeIndent(2), 0);  // no nodes yet
    G->AddNode(2, 4);
    G->AddNode(3, 2);
    G->CellNode()->SetNodeIndent(12);
    EXPECT_EQ(G->GetNodeIndent(4), 24);
    EXPECT_EQ(G->GetNodeIndent(5), 12);
    EXPECT_EQ(G->GetNodeIndent(7), 0);
    G->UpdateSubNodeCount(2, 1);
    G->SetCells(2, 2, "other");
    G->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(G->GetCellText(1, 2), "r2 (2)");  // span 4 less the sub-node less itself
    EXPECT_EQ(G->GetCellText(1, 3), "r3 (1)");
    EXPECT_EQ(G->GetCellText(1, 4), "r4");      // a plain row
    EXPECT_EQ(G->GetCellText(2, 2), "other");   // another column
    EXPECT_EQ(G->Cells(1, 2), "r2");            // the stored text stays
    G->Grouping()->SetGroupCountFormat(" [%d]");
    EXPECT_EQ(G->GetCellText(1, 3), "r3 [1]");

    // The inplace rich editor asking for more height grows the row and says so.
    Form.Show();
    G->SizeWhileTyping()->SetHeight(true);
    G->SetRow(4);
    int sized = -1;
    G->OnEndRowSize = [&](rtl::TObject*, int r) { sized = r; };
    TExRichEdit* ed = G->InplaceRichEdit();
    ed->OnRequestResize(ed, gui::TRect(0, 0, 80, 60));
    EXPECT_EQ(G->RowHeights(4), 65);
    EXPECT_EQ(sized, 4);
}

// --- grouping -----------------------------------------------------------------------------

namespace {

struct GroupFixture : NodeFixture {
    GroupFixture()
    {
        G->SetRowCount(4);
        G->SetCells(0, 0, "#");
        G->SetCells(1, 0, "Name");
        G->SetCells(2, 0, "Kind");
        G->SetCells(3, 0, "Amount");
        const char* rows[3][3] = {{"x", "A", "1"}, {"y", "B", "5"}, {"z", "A", "2"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) G->SetCells(c + 1, r + 1, rows[r][c]);
        G->SetColWidths(2, 77);
    }
    // One line per row: N for a node (its span), S for a summary, then the texts.
    V Structure()
    {
        V v;
        for (int r = 1; r < G->RowCount(); ++r) {
            std::string s = G->IsNode(r) ? "N" + std::to_string(G->GetNodeSpan(r)) : G->IsSummary(r) ? "S" : "-";
            for (int c = 1; c < G->ColCount(); ++c) s += "|" + G->Cells(c, r);
            v.push_back(s);
        }
        return v;
    }
};

} // namespace

TEST_F(GroupFixture, GroupingAABWithoutSummary)
{
    G->Group(2);
    EXPECT_EQ(G->GroupColumn(), 2);
    EXPECT_EQ(Structure(), (V{"N3|A|", "-|x|1", "-|z|2", "N2|B|", "-|y|5"}));
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(GroupFixture, GroupingAABWithSummaryAndTheCalculations)
{
    G->Grouping()->SetSummary(true);
    G->Group(2);
    EXPECT_EQ(Structure(), (V{"N3|A|", "-|x|1", "-|z|2", "S||", "N2|B|", "-|y|5", "S||"}));
    G->GroupSum(2);
    EXPECT_EQ(G->Cells(2, 4), "3.00");
    EXPECT_EQ(G->Cells(2, 7), "5.00");
    G->GroupCount(1);
    EXPECT_EQ(G->Cells(1, 4), "2");
    G->SetCells(2, 4, "");
    G->ContractNode(5);  // group B collapsed: skipped
    G->SetCells(2, 6, "");
    G->GroupAvg(2);
    EXPECT_EQ(G->Cells(2, 4), "1.50");
    EXPECT_EQ(G->Cells(2, 6), "");
}

TEST_F(GroupFixture, AHeaderClickSortsInsideTheGroups)
{
    G->SetRowCount(5);
    G->SetCells(1, 4, "w");
    G->SetCells(2, 4, "A");
    G->SetCells(3, 4, "9");
    G->Group(2);  // A: x, z, w (by amount); B: y
    Form.Show();
    G->SortSettings()->SetShow(true);
    const gui::TRect h = G->gui::TCustomGrid::CellRect(1, 0);
    gui::sim::Click(G, (h.Left + h.Right) / 2, (h.Top + h.Bottom) / 2);
    EXPECT_EQ(Structure(), (V{"N4|A|", "-|w|9", "-|x|1", "-|z|2", "N2|B|", "-|y|5"}));
    gui::sim::Click(G, (h.Left + h.Right) / 2 + 3, (h.Top + h.Bottom) / 2);
    EXPECT_EQ(Structure(), (V{"N4|A|", "-|z|2", "-|x|1", "-|w|9", "N2|B|", "-|y|5"}));
}

TEST_F(GroupFixture, UnGroupGivesEverythingBack)
{
    G->SetFixedFooters(1);
    G->SetRowCount(5);
    G->SetCells(2, 4, "total");
    G->Grouping()->SetSummary(true);
    G->Group(2);
    G->ContractNode(1);
    G->UnGroup();
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->ColWidths(2), 77);
    EXPECT_EQ(G->Cells(2, 0), "Kind");
    EXPECT_EQ(G->Cells(2, G->RowCount() - 1), "total");
    EXPECT_EQ(G->NumNodes(), 0);
    EXPECT_EQ(G->RowCount(), 5);
    V rows;
    for (int r = 1; r <= 3; ++r) rows.push_back(G->Cells(1, r) + G->Cells(2, r) + G->Cells(3, r));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (V{"xA1", "yB5", "zA2"}));
    G->SetGroupColumn(0);
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(G->ColCount(), 4);
}

TEST_F(GroupFixture, SubGroupsNestInsideTheGroups)
{
    G->SetRowCount(5);
    G->SetCells(1, 4, "x");
    G->SetCells(2, 4, "A");
    G->SetCells(3, 4, "1.5");
    G->Group(2);  // A: x 1, x 1.5, z 2; B: y 5
    G->SubGroup(1);
    // Each sub-group header stands inside its group, one level deeper.
    int subHeaders = 0;
    for (int r = 1; r < G->RowCount(); ++r)
        if (G->IsNode(r) && G->GetNodeLevel(r) == 2) ++subHeaders;
    EXPECT_EQ(subHeaders, 3);  // x and z in A, y in B
    G->SubUnGroup(1);
    EXPECT_EQ(G->NumNodes(), 2);
    V names;
    for (int r = 1; r < G->RowCount(); ++r)
        if (!G->IsNode(r)) names.push_back(G->Cells(1, r));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (V{"x", "x", "y", "z"}));
}

// --- auto sizing, numbering, swapping --------------------------------------------------------

TEST_F(NodeFixture, AutoSizingColumnsAndRows)
{
    G->SetGridLineWidth(1);
    G->SetXYOffset({2, 2});
    for (int r = 0; r < G->RowCount(); ++r) G->SetCells(3, r, "");
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), 2 * 1 + 2 + 2);
    G->SetMinColWidth(20);
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), 20);

    G->SetCells(2, 1, "a rather long text");
    G->AutoSizeCol(2);
    const int wide = G->ColWidths(2);
    EXPECT_GT(wide, 60);
    G->SetCells(2, 1, "a");
    G->SetSizeGrowOnly(true);
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), wide);
    G->SetSizeGrowOnly(false);
    G->AutoSizeCol(2);
    EXPECT_LT(G->ColWidths(2), wide);

    // A three-line cell needs about three times the height of one line.
    G->SetMultilinecells(true);
    G->SetWordWrap(false);
    G->SetCells(1, 2, "one");
    G->AutoSizeRow(2, 0);
    const int one = G->RowHeights(2);
    G->SetCells(1, 2, "one\ntwo\nthree");
    G->AutoSizeRow(2, 0);
    EXPECT_GT(G->RowHeights(2), 2 * one);
    // A text turned by 90 degrees needs height, not width.
    G->SetCells(3, 3, "a long rotated text");
    G->AddRotated(3, 3, 90, "a long rotated text");
    G->AutoSizeRow(3, 0);
    G->AutoSizeCol(3);
    EXPECT_GT(G->RowHeights(3), G->ColWidths(3));
}

TEST_F(NodeFixture, AutoFitNumberAndSwap)
{
    G->SetColCount(3);
    G->SetFixedCols(0);
    G->SetBorderStyle(gui::TBorderStyle::bsNone);
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goVertLine, gui::TGridOption::goFixedVertLine});
    G->SetScrollBars(gui::TScrollStyle::ssNone);
    G->SetBounds(0, 0, 400, 300);
    G->SetColWidths(0, 50);
    G->SetColWidths(1, 100);
    G->SetColWidths(2, 50);
    G->AutoFitColumns(true);
    EXPECT_EQ((std::vector<int>{G->ColWidths(0), G->ColWidths(1), G->ColWidths(2)}), (std::vector<int>{100, 200, 100}));

    G->SetAutoNumberStart(2);
    G->AutoNumberCol(2);
    EXPECT_EQ(G->Cells(2, 1), "");
    EXPECT_EQ(G->Cells(2, 2), "");
    EXPECT_EQ(G->Cells(2, 3), "3");
    EXPECT_EQ(G->Cells(2, 9), "9");
    G->SetAutoNumberStart(0);
    G->SetAutoNumberDirection(TSortDirection::sdDescending);
    G->AutoNumberCol(0);
    EXPECT_EQ(G->Cells(0, 9), "1");
    EXPECT_EQ(G->Cells(0, 1), "9");

    G->SetCellObject(1, 2, G);
    G->SwapRows(2, 5);
    EXPECT_EQ(G->Cells(1, 5), "r2");
    EXPECT_EQ(G->GetCellObject(1, 5), G);
    EXPECT_EQ(G->GetCellObject(1, 2), nullptr);
    G->SetCellObject(1, 5, nullptr);
}

// --- a look at a grouped grid ----------------------------------------------------------------

TEST_F(GroupFixture, AGroupedGridWithNodesIsPaintedForALook)
{
    G->SetColCount(4);
    G->SetRowCount(9);
    const char* rows[8][3] = {{"Lisbon", "Europe", "38.7"}, {"Nairobi", "Africa", "-1.3"},
                              {"Madrid", "Europe", "40.4"}, {"Lima", "America", "-12.0"},
                              {"Cairo", "Africa", "30.0"},  {"Quito", "America", "-0.2"},
                              {"Oslo", "Europe", "59.9"},   {"Accra", "Africa", "5.6"}};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 3; ++c) G->SetCells(c + 1, r + 1, rows[r][c]);
    G->SetColWidths(0, 40);
    G->SetColWidths(1, 140);
    G->SetColWidths(3, 90);
    G->Grouping()->SetSummary(true);
    G->Grouping()->SetHeaderColor(0xF0E0D0);
    G->Grouping()->SetSummaryColor(0xE8F8E8);
    G->CellNode()->SetNodeType(TNodeType::cnFlat);
    G->Grouping()->SetShowGroupCount(true);
    G->Group(2);
    G->GroupCount(1);
    G->GroupAvg(2);
    G->ContractNode(6);  // America
    Form.Show();
    gui::TBitmap bmp(600, 400);
    G->PaintTo(bmp.Canvas(), 0, 0);
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    gui::TPicture picture;
    picture.Assign(&bmp);
    picture.SaveToFile((shots / "grid-grouped-nodes.png").string());
    EXPECT_TRUE(G->GetNodeState(6));
    // Some pixel of the header colour shows.
    bool header = false;
    for (int y = 0; y < 200 && !header; ++y)
        for (int x = 45; x < 300 && !header; ++x) header = bmp.Canvas()->Pixels(x, y) == 0xF0E0D0;
    EXPECT_TRUE(header);
}

TEST_F(GroupFixture, ASubGroupedGridIsPaintedForALook)
{
    G->SetColCount(5);
    G->SetRowCount(9);
    G->SetCells(4, 0, "Lat");
    const char* rows[8][4] = {{"Lisbon", "Europe", "West", "38.7"}, {"Nairobi", "Africa", "East", "-1.3"},
                              {"Madrid", "Europe", "West", "40.4"}, {"Lima", "America", "South", "-12.0"},
                              {"Cairo", "Africa", "North", "30.0"}, {"Quito", "America", "South", "-0.2"},
                              {"Oslo", "Europe", "North", "59.9"},  {"Accra", "Africa", "West", "5.6"}};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 4; ++c) G->SetCells(c + 1, r + 1, rows[r][c]);
    G->SetColWidths(0, 44);
    G->SetColWidths(1, 120);
    G->CellNode()->SetNodeType(TNodeType::cnFlat);
    G->Grouping()->SetHeaderColor(0xF0E0D0);
    G->Group(2);      // by continent; the region column is now column 2
    G->SubGroup(2);   // by region inside each continent
    G->ContractNode(G->RowCount() - 3);
    Form.Show();
    gui::TBitmap bmp(600, 400);
    G->PaintTo(bmp.Canvas(), 0, 0);
    auto shots = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(shots);
    gui::TPicture picture;
    picture.Assign(&bmp);
    picture.SaveToFile((shots / "grid-subgrouped-nodes.png").string());
    int deeper = 0;
    for (int r = 1; r < G->RowCount(); ++r)
        if (G->IsNode(r) && G->GetNodeLevel(r) == 2) ++deeper;
    EXPECT_GE(deeper, 5);
}
