// Middle-button panning on a 20 x 6 grid on the manual clock: the view or
// the current cell follows the pointer's direction tick by tick, with the
// direction cursor, never onto footer rows or right fixed columns, and the
// next press ends it.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;

namespace {

struct PanFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    PanFixture()
    {
        gui::TTimer::UseManualClock(true);
        Form.SetBounds(0, 0, 600, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 200);
        G->SetColCount(6);
        G->SetRowCount(20);
        G->SetDefaultRowHeight(22);
        Form.Show();
        G->SetFocus();
    }
    ~PanFixture() override { gui::TTimer::UseManualClock(false); }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            gui::TTimer::AdvanceClock(10);
            gui::Application->ProcessMessages();
        }
    }
};

} // namespace

TEST_F(PanFixture, ScrollModeMovesTheViewTowardsThePointer)
{
    G->MouseActions()->SetWheelAction(TWheelAction::waScroll);
    G->SetIntelliPan(TIntelliPan::ipBoth);
    gui::sim::MouseDown(G, gui::TMouseButton::mbMiddle, 100, 100);
    ASSERT_TRUE(G->Panning());
    EXPECT_EQ(G->Cursor(), 8000);
    EXPECT_TRUE(gui::Screen->HasCursor(8007));

    gui::sim::MouseMove(G, 103, 98);  // within 5 pixels: nothing moves
    Ticks(3);
    EXPECT_EQ(G->TopRow(), 1);
    EXPECT_EQ(G->Cursor(), 8000);

    gui::sim::MouseMove(G, 100, 140);
    Ticks(3);
    EXPECT_EQ(G->TopRow(), 4);
    EXPECT_EQ(G->Row(), 1);  // the current cell stays
    EXPECT_EQ(G->Cursor(), 8001);
    Ticks(100);
    EXPECT_EQ(G->TopRow(), G->RowCount() - G->VisibleRowCount());

    gui::sim::MouseMove(G, 60, 60);
    Ticks(1);
    EXPECT_EQ(G->Cursor(), 8006);

    // A left press ends panning and gives the cursor back.
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, 60, 60);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, 60, 60);
    EXPECT_FALSE(G->Panning());
    EXPECT_EQ(G->Cursor(), gui::crDefault);
    const int top = G->TopRow();
    Ticks(5);
    EXPECT_EQ(G->TopRow(), top);
}

TEST_F(PanFixture, SelectionModeStopsAtFootersAndFixedRightColumns)
{
    G->SetIntelliPan(TIntelliPan::ipBoth);
    G->SetFixedFooters(1);
    G->SetFixedRightCols(1);
    std::vector<int> changed;
    G->OnSelectionChanged = [&](rtl::TObject*, int, int t, int, int) { changed.push_back(t); };
    gui::sim::MouseDown(G, gui::TMouseButton::mbMiddle, 100, 100);
    gui::sim::MouseMove(G, 200, 200);
    Ticks(40);
    EXPECT_EQ(G->Row(), 18);  // row 19 is the footer
    EXPECT_EQ(G->Col(), 4);   // column 5 is fixed on the right
    EXPECT_FALSE(changed.empty());
    // Vertical only: the column stays.
    gui::sim::MouseDown(G, gui::TMouseButton::mbMiddle, 100, 100);  // ends
    EXPECT_FALSE(G->Panning());
    G->SetIntelliPan(TIntelliPan::ipVertical);
    gui::sim::MouseDown(G, gui::TMouseButton::mbMiddle, 100, 100);
    gui::sim::MouseMove(G, 20, 20);
    Ticks(3);
    EXPECT_EQ(G->Row(), 15);
    EXPECT_EQ(G->Col(), 4);
    EXPECT_EQ(G->Cursor(), 8004);
    gui::sim::KeyPress(gui::VK_SHIFT, {}, G);  // any key ends it
    EXPECT_FALSE(G->Panning());

    // ipNone: no panning at all.
    G->SetIntelliPan(TIntelliPan::ipNone);
    gui::sim::MouseDown(G, gui::TMouseButton::mbMiddle, 100, 100);
    EXPECT_FALSE(G->Panning());
}
