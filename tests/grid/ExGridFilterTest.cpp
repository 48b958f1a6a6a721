// Filtering: conditions and their joins, prefix and suffix, whole-row
// conditions, the custom hook, levels that stack and come back (with the
// rows hidden directly left alone), narrowing, the drop-down list under a
// header cell, and a filter on a column right of a hidden one.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PopupWindow.h"

using namespace grid;

namespace {

struct FilterFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    // Column 1: ids, column 2: names, column 3: amounts.
    const std::vector<std::string> Names{"Anna", "Bert", "Alice", "carl", "Axel", "Dora"};
    FilterFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(4);
        G->SetRowCount(1 + static_cast<int>(Names.size()));
        G->SetCells(1, 0, "Id");
        G->SetCells(2, 0, "Name");
        G->SetCells(3, 0, "Amount");
        for (int i = 0; i < static_cast<int>(Names.size()); ++i) {
            G->SetCells(1, i + 1, std::to_string(i + 1));
            G->SetCells(2, i + 1, Names[static_cast<std::size_t>(i)]);
            G->SetCells(3, i + 1, "$" + std::to_string(50 * (i + 1)) + " USD");
        }
    }
    std::vector<std::string> Shown(int c = 2)
    {
        std::vector<std::string> v;
        for (int r = G->FixedRows(); r < G->RowCount(); ++r) v.push_back(G->Cells(c, r));
        return v;
    }
    TFilterData* AddFilter(int col, const std::string& cond)
    {
        TFilterData* f = G->Filter()->Add();
        f->SetColumn(static_cast<int16_t>(col));
        f->SetCondition(cond);
        return f;
    }
};

} // namespace

TEST_F(FilterFixture, EmptyFilterPassesAllButAddsALevel)
{
    G->ApplyFilter();
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->FilterLevel(), 1);
    EXPECT_FALSE(G->RemoveLastFilter());  // no level above the one removed
    EXPECT_EQ(G->FilterLevel(), 0);
    EXPECT_FALSE(G->RemoveLastFilter());
}

TEST_F(FilterFixture, ConditionOnAColumnHidesFailingRowsAndComesBackWhole)
{
    G->GetCellProperties(2, 2)->SetBrushColor(gui::clRed);  // Bert's record travels with him
    G->SetRowHeights(2, 40);
    AddFilter(2, "A*");
    G->SetFilterActive(true);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Alice", "Axel"}));
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"1", "3", "5"}));
    G->SetFilterActive(false);
    EXPECT_EQ(Shown(), Names);
    EXPECT_EQ(G->FindCellProperties(2, 2)->BrushColor(), gui::clRed);
    EXPECT_EQ(G->RowHeights(2), 40);
    EXPECT_EQ(G->NumHiddenRows(), 0);
}

TEST_F(FilterFixture, PrefixAndSuffixAreTakenOffBeforeTheCondition)
{
    TFilterData* f = AddFilter(3, ">100");
    f->SetPrefix("$");
    f->SetSuffix(" USD");
    G->ApplyFilter();
    EXPECT_EQ(Shown(3), (std::vector<std::string>{"$150 USD", "$200 USD", "$250 USD", "$300 USD"}));
}

TEST_F(FilterFixture, JoinsAsFirstAndSecondItem)
{
    // Row 1: Anna.  "A*" matches it, "Z*" does not.
    struct Case {
        TFilterOperation op1;
        bool m1;
        TFilterOperation op2;  // foSHORT with no second item: only the first
        bool m2;
        bool second;
        bool expected;
    };
    using O = TFilterOperation;
    const Case cases[] = {
        // As the first item: the running result starts true.
        {O::foSHORT, true, O::foSHORT, false, false, true},
        {O::foSHORT, false, O::foSHORT, false, false, false},
        {O::foNONE, false, O::foSHORT, false, false, false},
        {O::foAND, true, O::foSHORT, false, false, true},
        {O::foAND, false, O::foSHORT, false, false, false},
        {O::foXOR, true, O::foSHORT, false, false, false},
        {O::foXOR, false, O::foSHORT, false, false, true},
        {O::foOR, false, O::foSHORT, false, false, true},
        // As the second item, after a first that matched or not.
        {O::foSHORT, false, O::foOR, true, true, false},  // a failed short item stops
        {O::foNONE, false, O::foOR, true, true, true},
        {O::foNONE, true, O::foAND, false, true, false},
        {O::foNONE, true, O::foXOR, true, true, false},
        {O::foNONE, false, O::foXOR, true, true, true},
        {O::foNONE, false, O::foNONE, true, true, true},
        {O::foNONE, true, O::foSHORT, false, true, false},
    };
    for (const Case& c : cases) {
        G->Filter()->Clear();
        AddFilter(2, c.m1 ? "A*" : "Z*")->SetOperation(c.op1);
        if (c.second) AddFilter(2, c.m2 ? "An*" : "Z*")->SetOperation(c.op2);
        EXPECT_EQ(G->RowMatchesFilter(1), c.expected)
            << static_cast<int>(c.op1) << c.m1 << " " << static_cast<int>(c.op2) << c.m2;
    }
}

TEST_F(FilterFixture, WholeRowConditionIgnoresCaseAndWildcards)
{
    TFilterData* f = AddFilter(0, "250 u");
    f->SetData(TFilterCells::fcRow);
    G->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Axel"}));
    G->RemoveLastFilter();
    f->SetCondition("A*");  // no wildcard: no row holds "A*"
    G->ApplyFilter();
    EXPECT_EQ(G->RowCount(), 1);
}

TEST_F(FilterFixture, CustomFilterOverridesBothWays)
{
    AddFilter(2, "A*");
    G->OnCustomFilter = [this](rtl::TObject*, int row, bool& accept) {
        const std::string name = G->Cells(2, row);
        if (name == "Bert") accept = true;    // failed the condition
        if (name == "Alice") accept = false;  // passed it
    };
    G->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Bert", "Axel"}));
}

TEST_F(FilterFixture, NarrowDownAddsAndRemovesOneLevelPerCharacter)
{
    G->NarrowDown("a", 2);  // contains a, any case
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Alice", "carl", "Axel", "Dora"}));
    G->NarrowDown("ar", 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"carl"}));
    EXPECT_EQ(G->FilterLevel(), 2);
    G->NarrowDown("a", 2);
    EXPECT_EQ(G->FilterLevel(), 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Alice", "carl", "Axel", "Dora"}));
    G->NarrowDown("", 2);
    EXPECT_EQ(G->FilterLevel(), 0);
    EXPECT_EQ(Shown(), Names);
}

TEST_F(FilterFixture, LevelsLeaveRowsHiddenDirectlyAlone)
{
    G->HideRow(4);  // carl, hidden by hand
    AddFilter(2, "A*");
    G->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Alice", "Axel"}));
    G->RemoveAllFilters();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Bert", "Alice", "Axel", "Dora"}));
    EXPECT_TRUE(G->IsHiddenRow(4));
    G->UnHideRow(4);
    EXPECT_EQ(Shown(), Names);
}

TEST_F(FilterFixture, RemovingALevelRestoresTheFixedRowsOfItsApplication)
{
    G->SetFixedRowAlways(true);
    AddFilter(2, "Z*");  // nothing passes: only the fixed row stays
    G->ApplyFilter();
    EXPECT_EQ(G->RowCount(), 1);
    EXPECT_EQ(G->FixedRows(), 1);
    G->RemoveLastFilter();
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 1);
    EXPECT_EQ(Shown(), Names);
}

TEST_F(FilterFixture, ProgressEndsAtHundred)
{
    std::vector<int> seen;
    G->OnFilterProgress = [&](rtl::TObject*, int16_t p) { seen.push_back(p); };
    AddFilter(2, "A*");
    G->ApplyFilter();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(FilterFixture, FilterOnAColumnRightOfAHiddenColumn)
{
    G->HideColumn(1);  // the ids go; "Name" is now displayed column 1
    AddFilter(1, "A*");
    G->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Alice", "Axel"}));
}

TEST_F(FilterFixture, DropDownEntryPicksTheConditionBehindItsName)
{
    G->OnGetColumnFilter = [](rtl::TObject*, int, rtl::TStringList* list) {
        list->Add("Over 3=>3");
        list->Add("Under 3=<3");
    };
    std::string friendly;
    int column = -2;
    G->OnFilterSelect = [&](rtl::TObject*, int col, int, const std::string& name, std::string&) {
        column = col;
        friendly = name;
    };
    int done = 0;
    G->OnFilterDone = [&](rtl::TObject*) { ++done; };
    Form.Show();
    ASSERT_TRUE(G->ShowFilterDropDown(1));
    TDropList* list = G->DropList();
    EXPECT_TRUE(list->Dropped());
    EXPECT_EQ(list->Items()->Strings(0), "Over 3");
    // Below the header cell's button, on the screen; the first entry chosen.
    const gui::TRect cell = G->CellRect(1, 0);
    EXPECT_EQ(list->Popup()->Left(), G->ClientToScreen({cell.Right - 16, cell.Top + 16}).X);
    EXPECT_EQ(list->Popup()->Top(), G->ClientToScreen({cell.Right - 16, cell.Top + 16}).Y);
    EXPECT_EQ(list->ItemIndex(), 0);
    gui::sim::KeyPress(gui::VK_RETURN, {}, list);
    EXPECT_FALSE(list->Dropped());
    EXPECT_EQ(friendly, "Over 3");
    EXPECT_EQ(column, 1);
    EXPECT_EQ(G->Filter()->FindOrAddColumn(1)->Condition(), ">3");
    EXPECT_EQ(done, 1);
    EXPECT_EQ(G->FilterColumn(), -1);
    EXPECT_TRUE(G->FilterActive());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"carl", "Axel", "Dora"}));

    // A click on the second entry replaces the condition; Esc picks nothing.
    ASSERT_TRUE(G->ShowFilterDropDown(1));
    const gui::TRect item = list->ItemRect(1);
    gui::sim::Click(list, item.Left + 5, item.Top + 2);
    EXPECT_FALSE(list->Dropped());
    EXPECT_EQ(G->Filter()->FindOrAddColumn(1)->Condition(), "<3");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Anna", "Bert"}));
    ASSERT_TRUE(G->ShowFilterDropDown(1));
    gui::sim::KeyPress(gui::VK_ESCAPE, {}, list);
    EXPECT_FALSE(list->Dropped());
    EXPECT_EQ(done, 2);
    EXPECT_EQ(G->Filter()->Count(), 1);
}

TEST_F(FilterFixture, DropDownOffersTheColumnsValuesWithoutAHandler)
{
    G->SetCells(2, 3, "Anna");
    Form.Show();
    ASSERT_TRUE(G->ShowFilterDropDown(2));
    // Each value once, sorted.
    EXPECT_EQ(G->DropList()->Items()->Count(), 5);
    EXPECT_EQ(G->DropList()->Items()->Strings(0), "Anna");
    G->DropList()->CloseUp();
    EXPECT_FALSE(G->ShowFilterDropDown(9));
}

TEST_F(FilterFixture, DropDownRowSettingsAndCopying)
{
    G->SetFixedRows(2);
    G->SetFilterDropDownRow(1);
    EXPECT_EQ(G->FilterDropDownRow(), 1);
    G->SetFilterDropDownRow(2);  // not a fixed row: ignored
    G->SetFilterDropDownRow(-1);
    EXPECT_EQ(G->FilterDropDownRow(), 1);

    AddFilter(2, "A*")->SetPrefix("$");
    G->FilterDropDown()->SetWidth(220);
    G->SearchFooter()->SetFindNextCaption("Next");
    gui::TForm other{nullptr};
    auto* copy = new TExStringGrid(&other);
    copy->Assign(G);
    ASSERT_EQ(copy->Filter()->Count(), 1);
    EXPECT_EQ(copy->Filter()->GetItem(0)->Condition(), "A*");
    EXPECT_EQ(copy->Filter()->GetItem(0)->Prefix(), "$");
    EXPECT_EQ(copy->FilterDropDown()->Width(), 220);
    EXPECT_EQ(copy->SearchPanel()->ForwardButton()->Caption(), "Next");
}

// The platform grid's one-step rearrangement that hiding a level uses.
TEST(PermuteRows, RowsTheirHeightsAndTheCurrentCellMoveTogether)
{
    gui::TForm form{nullptr};
    auto* g = new gui::TStringGrid(&form);
    g->SetParent(&form);
    g->SetRowCount(5);
    for (int r = 0; r < 5; ++r) {
        g->SetCells(1, r, "row" + std::to_string(r));
        g->SetRowHeights(r, 20 + r);
    }
    g->MoveColRow(1, 3, true, false);
    g->PermuteRows({0, 3, 1, 4, 2});
    const char* expect[] = {"row0", "row3", "row1", "row4", "row2"};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(g->Cells(1, r), expect[r]);
        EXPECT_EQ(g->RowHeights(r), 20 + (expect[r][3] - '0'));
    }
    EXPECT_EQ(g->Row(), 1);
    EXPECT_THROW(g->PermuteRows({0, 0, 1}), gui::EInvalidGridOperation);
    EXPECT_THROW(g->PermuteRows({0, 1, 2, 3, 4, 5}), gui::EInvalidGridOperation);
    EXPECT_EQ(g->Cells(1, 1), "row3");  // a refused order changes nothing
}

TEST_F(FilterFixture, FilterButtonOpensAndClosesTheList)
{
    G->OnGetColumnFilter = [](rtl::TObject*, int col, rtl::TStringList* list) {
        if (col == 1) list->Add("Over 3=>3");
    };
    G->FilterDropDown()->SetAutoSize(true);
    Form.Show();
    const gui::TRect cell = G->CellRect(1, 0), plain = G->CellRect(2, 0);
    // The button is drawn in column 1's header only.
    auto img = G->GetImage();
    auto marks = [&](const gui::TRect& c) {
        int n = 0;
        for (int y = c.Top + 1; y < c.Top + 16; ++y) {
            const TColor back = img->Canvas()->Pixels(c.Right - 20, y);
            for (int x = c.Right - 16; x < c.Right - 1; ++x)
                if (img->Canvas()->Pixels(x, y) != back) ++n;
        }
        return n;
    };
    EXPECT_GT(marks(cell), 10);
    EXPECT_EQ(marks(plain), 0);

    gui::sim::Click(G, cell.Right - 8, cell.Top + 5);
    ASSERT_TRUE(G->DropList()->Dropped());
    EXPECT_EQ(G->FilterColumn(), 1);
    EXPECT_EQ(G->DropList()->Popup()->Height(), G->DropList()->ItemHeight() + 4);  // sized to its entry
    gui::sim::Click(G, cell.Right - 8, cell.Top + 5);  // the same button again closes it
    EXPECT_FALSE(G->DropList()->Dropped());
    EXPECT_EQ(G->FilterColumn(), -1);
    gui::sim::Click(G, plain.Right - 8, plain.Top + 5);  // no entries, no list
    EXPECT_FALSE(G->DropList()->Dropped());
}

TEST_F(FilterFixture, EncodedWideTextIsTestedAsItsText)
{
    G->SetCells(2, 2, gridbase::EncodePrefixedWideText("Zo\xC3\xAB"));
    AddFilter(2, "Zo*");
    G->ApplyFilter();
    ASSERT_EQ(G->RowCount(), 2);
    EXPECT_EQ(gridbase::DecodePrefixedWideText(G->Cells(2, 1)), "Zo\xC3\xAB");
}
