// Tab navigation on an editing grid (6 x 6, one fixed row and column):
// along rows, with the change events, appending at the end, handing Tab to
// the parent, backwards, over merged and read-only cells, and the end of a
// pass over a grid without an editable cell; and the typed cell values.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

// A parent that records the keys posted to it.
struct KeyPanel : gui::TPanel {
    using gui::TPanel::TPanel;
    std::vector<gui::WPARAM> Keys;
    void Dispatch(gui::TMessage& m) override
    {
        if (m.Msg == gui::WM_KEYDOWN) Keys.push_back(m.WParam);
        gui::TPanel::Dispatch(m);
    }
};

struct TabFixture : testing::Test {
    gui::TForm Form{nullptr};
    KeyPanel* Panel;
    TExStringGrid* G;
    std::vector<gui::TPoint> ReadOnly;
    TabFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        Panel = new KeyPanel(&Form);
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 0, 560, 360);
        G = new TExStringGrid(&Form);
        G->SetParent(Panel);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetFixedCols(1);
        G->SetFixedRows(1);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing, TGridOption::goTabs});
        G->Navigation()->SetAdvanceAutoEdit(false);
        G->OnCanEditCell = [this](rtl::TObject*, int r, int c, bool& can) {
            for (auto p : ReadOnly)
                if (p.X == c && p.Y == r) can = false;
        };
        Form.Show();
        G->SetFocus();
    }
    gui::TPoint At() const { return {G->Col(), G->Row()}; }
};

} // namespace

TEST_F(TabFixture, TabAlongTheRowAndToTheNextRowWhenTheChangeEventsAgree)
{
    // Column 5 of row 2 cannot take the focus: cell 4 is the row's last.
    ReadOnly = {{5, 2}};
    G->MoveColRow(3, 2, true, false);
    gui::sim::KeyPress(gui::VK_TAB, {}, G);
    EXPECT_EQ(At(), (gui::TPoint{4, 2}));

    std::vector<std::string> fired;
    bool refuse = true;
    G->OnRowChanging = [&](rtl::TObject*, int o, int n, bool& allow) {
        fired.push_back("row " + std::to_string(o) + ">" + std::to_string(n));
        allow = !refuse;
    };
    G->OnCellChanging = [&](rtl::TObject*, int, int, int nr, int nc, bool& allow) {
        fired.push_back("cell " + std::to_string(nc) + "," + std::to_string(nr) + (allow ? " ok" : " no"));
    };
    G->OnColChanging = [&](rtl::TObject*, int o, int n, bool&) {
        fired.push_back("col " + std::to_string(o) + ">" + std::to_string(n));
    };
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{4, 2}));  // refused
    refuse = false;
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{1, 3}));
    ASSERT_GE(fired.size(), 6u);
    EXPECT_EQ(fired[0], "row 2>3");
    EXPECT_EQ(fired[1], "cell 1,3 no");
    EXPECT_EQ(fired[2], "col 4>1");
    EXPECT_EQ(fired[4], "cell 1,3 ok");
}

TEST_F(TabFixture, EndOfTheLastRowAppendsOrWrapsAndHandsTabToTheParent)
{
    // AdvanceInsert above a visible footer row: the new row goes above it.
    G->Navigation()->SetAdvanceInsert(true);
    G->FloatingFooter()->SetVisible(true);
    G->SetCells(1, 5, "sum");
    int added = -1;
    G->OnAutoAddRow = [&](rtl::TObject*, int r) { added = r; };
    G->MoveColRow(5, 4, true, false);
    G->TabNavigate(false);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->Cells(1, 6), "sum");
    EXPECT_EQ(G->Cells(1, 5), "");
    EXPECT_EQ(added, 5);
    EXPECT_EQ(At(), (gui::TPoint{1, 5}));

    // Refused by OnCanAddRow: back to the first row.
    G->OnCanAddRow = [](rtl::TObject*, bool& can) { can = false; };
    G->MoveColRow(5, 5, true, false);
    G->TabNavigate(false);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(At(), (gui::TPoint{1, 1}));
    EXPECT_TRUE(Panel->Keys.empty());

    // TabToNextAtEnd: back to the first row and Tab goes to the parent.
    G->Navigation()->SetTabToNextAtEnd(true);
    G->MoveColRow(5, 5, true, false);
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{1, 1}));
    gui::Application->ProcessMessages();
    ASSERT_EQ(Panel->Keys.size(), 1u);
    EXPECT_EQ(Panel->Keys[0], gui::VK_TAB);
}

TEST_F(TabFixture, ShiftTabFromTheFirstCellGoesToTheLastCellOfTheLastRow)
{
    G->MoveColRow(1, 1, true, false);
    gui::sim::KeyPress(gui::VK_TAB, gui::TShiftState{TShiftStateItem::ssShift}, G);
    EXPECT_EQ(At(), (gui::TPoint{5, 5}));
    gui::sim::KeyPress(gui::VK_TAB, gui::TShiftState{TShiftStateItem::ssShift}, G);
    EXPECT_EQ(At(), (gui::TPoint{4, 5}));
}

TEST_F(TabFixture, TopBottomStepsBelowAMergedArea)
{
    G->Navigation()->SetTabAdvanceDirection(TAdvanceDirection::adTopBottom);
    G->MergeCells(2, 1, 1, 3);
    G->MoveColRow(2, 1, true, false);
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{2, 4}));
    G->MoveColRow(2, 5, true, false);
    G->TabNavigate(false);  // past the last row: next column, first row
    EXPECT_EQ(At(), (gui::TPoint{3, 1}));
}

TEST_F(TabFixture, KeyDownHandlerAndReadOnlyCells)
{
    int calls = 0;
    bool stop = true;
    G->OnKeyDown = [&](rtl::TObject*, uint16_t& key, gui::TShiftState) {
        ++calls;
        if (stop) key = 0;
    };
    G->MoveColRow(1, 1, true, false);
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{1, 1}));
    EXPECT_EQ(calls, 1);

    // Down the column a read-only cell is stepped over, with the handler
    // told once per step.
    stop = false;
    calls = 0;
    G->Navigation()->SetTabAdvanceDirection(TAdvanceDirection::adTopBottom);
    ReadOnly = {{1, 2}};
    G->TabNavigate(false);
    EXPECT_EQ(At(), (gui::TPoint{1, 3}));
    EXPECT_EQ(calls, 2);
}

TEST_F(TabFixture, AGridWithoutAnEditableCellEndsAfterOnePass)
{
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = false; };
    G->MoveColRow(3, 2, true, false);
    int calls = 0;
    G->OnKeyDown = [&](rtl::TObject*, uint16_t&, gui::TShiftState) { ++calls; };
    for (auto dir : {TAdvanceDirection::adLeftRight, TAdvanceDirection::adTopBottom}) {
        G->Navigation()->SetTabAdvanceDirection(dir);
        for (bool backward : {false, true}) {
            SCOPED_TRACE(std::to_string(int(dir)) + (backward ? " backward" : " forward"));
            calls = 0;
            G->TabNavigate(backward);
            EXPECT_EQ(At(), (gui::TPoint{3, 2}));
            EXPECT_GT(calls, 1);
        }
    }
}

TEST_F(TabFixture, TypedCellValues)
{
    struct Case {
        const char* text;
        bool isInt;
        int i;
        bool isFloat;
        double f;
    } cases[] = {
        {"", true, 0, true, 0},         {"-", true, 0, true, 0},        {"42", true, 42, true, 42},
        {"12a", false, 0, true, 12},    {"(5)", false, 0, true, -5},    {"$1F", true, 31, true, 1},
        {"1,234.5", false, 0, true, 1234.5}, {"abc", false, 0, true, 0},  {"1-2", false, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        G->SetCells(2, 2, c.text);
        if (c.isInt) { EXPECT_EQ(G->GetCellInteger(2, 2), c.i); }
        else {
            try {
                G->GetCellInteger(2, 2);
                ADD_FAILURE() << "no exception";
            } catch (const ZEziDoroZezuz& e) {
                EXPECT_STREQ(e.what(), "Cell does not contain integer value");
            }
        }
        if (c.isFloat) { EXPECT_DOUBLE_EQ(G->GetCellFloat(2, 2), c.f); }
        else EXPECT_THROW(G->GetCellFloat(2, 2), ZEziDoroZezuz);
    }
    G->SetCellFloat(2, 2, 2.5);
    EXPECT_EQ(G->Cells(2, 2), "2.50");
    G->SetCellInteger(2, 2, -7);
    EXPECT_EQ(G->GetCellInteger(2, 2), -7);

    // The unit editor's split of number and unit.
    struct Split {
        const char *text, *number, *unit;
    } splits[] = {{"12 kg", "12", " kg"}, {"1a2", "12", "a"}, {"-3.5m", "-3.5", "m"}, {"", "", ""}};
    for (const Split& sp : splits) {
        std::string n, u;
        TExStringGrid::SplitUnitText(sp.text, n, u);
        EXPECT_EQ(n, sp.number) << sp.text;
        EXPECT_EQ(u, sp.unit) << sp.text;
    }

    // Under a "," locale the decimal comma is read and written.
    rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().DecimalSeparator = ',';
    rtl::FormatSettings().ThousandSeparator = '.';
    G->SetCells(2, 2, "1.234,5");
    const double v = G->GetCellFloat(2, 2);
    G->SetCellFloat(3, 2, 0.25);
    const std::string written = G->Cells(3, 2);
    rtl::FormatSettings() = saved;
    EXPECT_DOUBLE_EQ(v, 1234.5);
    EXPECT_EQ(written, "0,25");
}
