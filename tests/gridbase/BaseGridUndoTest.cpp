// The undo/redo history of a grid's cell texts: single changes, sequences,
// the size limit, the mended registration after an Undo and the markers
// that are never written to a cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridbase/BaseGrid.h"
#include "platform/gui/Forms.h"

using namespace gridbase;

namespace {

struct UndoFixture : testing::Test {
    gui::TForm Form{nullptr};
    TBaseGrid* G;
    ZAdiZaviDuraRavi* U;
    int Invalidations = 0;
    UndoFixture()
    {
        G = new TBaseGrid(&Form);
        G->SetColCount(5);
        G->SetRowCount(5);
        U = new ZAdiZaviDuraRavi(&Form);
        G->SetUndoRedo(U);
    }
    // A user's edit: the grid writes the cell and registers the change.
    void Edit(int c, int r, const std::string& text)
    {
        U->RegisterChange(c, r, G->GetCellText(c, r), text);
        G->SetCellText(c, r, text);
    }
    std::string Cell(int c, int r) { return G->GetCellText(c, r); }
};

} // namespace

TEST_F(UndoFixture, SingleChangesBackAndForth)
{
    EXPECT_EQ(U->Grid(), G);
    Edit(1, 1, "A");
    Edit(2, 2, "B");
    EXPECT_EQ(U->Level(), 2);
    U->Undo();
    EXPECT_EQ(Cell(2, 2), "");
    EXPECT_EQ(U->Level(), 1);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 2);
    U->Undo();
    EXPECT_EQ(Cell(1, 1), "");
    EXPECT_EQ(U->Level(), 0);
    EXPECT_FALSE(U->CanUndo());
    U->Undo();  // nothing left
    EXPECT_EQ(U->Level(), 0);
    U->Redo();
    EXPECT_EQ(Cell(1, 1), "A");
    EXPECT_EQ(U->Level(), 1);
    EXPECT_TRUE(U->CanRedo());
}

TEST_F(UndoFixture, SequenceUndoneAndRedoneInOrder)
{
    Edit(0, 0, "before");
    std::vector<std::string> undone, redone;
    U->OnUndo = [&](rtl::TObject* s, TBaseGrid* g, int c, int r, const std::string& orig, const std::string& now) {
        EXPECT_EQ(s, U);
        EXPECT_EQ(g, G);
        undone.push_back(std::to_string(c) + ":" + orig + ">" + now);
    };
    U->OnRedo = [&](rtl::TObject*, TBaseGrid*, int c, int, const std::string& orig, const std::string& now) {
        redone.push_back(std::to_string(c) + ":" + orig + ">" + now);
    };
    U->StartSequence();
    Edit(1, 0, "x");
    Edit(2, 0, "y");
    Edit(3, 0, "z");
    U->StopSequence();
    EXPECT_EQ(U->Level(), 6);

    U->Undo();
    EXPECT_EQ(undone, (std::vector<std::string>{"3:z>", "2:y>", "1:x>"}));  // last to first
    EXPECT_EQ(U->Level(), 1);
    EXPECT_EQ(Cell(0, 0), "before");
    EXPECT_EQ(Cell(2, 0), "");

    U->Redo();
    EXPECT_EQ(redone, (std::vector<std::string>{"1:>x", "2:>y", "3:>z"}));  // registered order
    EXPECT_EQ(U->Level(), 6);  // behind the stop marker
    EXPECT_EQ(Cell(3, 0), "z");
    EXPECT_FALSE(U->CanRedo());
}

TEST_F(UndoFixture, MaxLevelKeepsTheNewestChanges)
{
    U->SetMaxLevel(3);
    Edit(0, 0, "1");
    Edit(0, 0, "2");
    Edit(0, 0, "3");
    Edit(0, 0, "4");
    EXPECT_EQ(U->Items()->Count(), 3);
    EXPECT_EQ(U->Level(), 3);
    EXPECT_EQ(U->Items()->Items(0)->Value(), "2");
    U->Undo();
    U->Undo();
    U->Undo();
    EXPECT_EQ(Cell(0, 0), "1");
    U->Undo();
    EXPECT_EQ(Cell(0, 0), "1");
}

// The mend: a change after an Undo replaces what was undone.
TEST_F(UndoFixture, ChangeAfterUndoDropsTheUndoneItems)
{
    Edit(1, 1, "A");
    Edit(1, 1, "B");
    U->Undo();
    EXPECT_EQ(Cell(1, 1), "A");
    Edit(1, 1, "C");
    EXPECT_EQ(U->Items()->Count(), 2);
    EXPECT_FALSE(U->CanRedo());
    U->Redo();  // nothing: B is gone
    EXPECT_EQ(Cell(1, 1), "C");
    U->Undo();  // the new change first
    EXPECT_EQ(Cell(1, 1), "A");
    U->Undo();
    EXPECT_EQ(Cell(1, 1), "");
    U->Redo();
    U->Redo();
    EXPECT_EQ(Cell(1, 1), "C");
}

// The mend: markers are never written to cell (-1, -1), and Level stays >= 0.
TEST_F(UndoFixture, MarkersAreSkipped)
{
    std::vector<int> cols;
    U->OnUndo = [&](rtl::TObject*, TBaseGrid*, int c, int, const std::string&, const std::string&) { cols.push_back(c); };
    U->OnRedo = U->OnUndo;
    Edit(1, 1, "A");
    U->StartSequence();
    U->Undo();  // right after StartSequence: the empty opening
    EXPECT_EQ(U->Level(), 1);
    EXPECT_TRUE(cols.empty());
    EXPECT_EQ(Cell(1, 1), "A");

    // A stop marker whose start was trimmed away.
    U->Reset();
    U->SetMaxLevel(2);
    U->StartSequence();
    Edit(2, 2, "x");
    Edit(3, 3, "y");  // the start marker goes
    U->StopSequence();
    ASSERT_FALSE(U->Items()->Items(0)->SequenceStart());
    U->Undo();
    EXPECT_EQ(U->Level(), 0);
    EXPECT_EQ(Cell(3, 3), "");
    U->Redo();  // onto a lone change, then a lone stop marker
    U->Redo();
    U->Redo();
    EXPECT_EQ(U->Level(), U->Items()->Count());
    for (int c : cols) EXPECT_GE(c, 0);
}

TEST_F(UndoFixture, ResetKeepsTheLevel)
{
    Edit(1, 1, "A");
    Edit(1, 1, "B");
    U->Reset();
    EXPECT_EQ(U->Items()->Count(), 0);
    EXPECT_EQ(U->Level(), 2);
    EXPECT_TRUE(U->CanUndo());
    U->Undo();
    U->Redo();
    EXPECT_EQ(Cell(1, 1), "B");
    Edit(2, 2, "C");
    EXPECT_EQ(U->Level(), 1);
}

TEST_F(UndoFixture, ChangesOfMergedCellsLandInTheBaseCell)
{
    G->MergeCells(1, 1, 2, 2);
    Edit(2, 2, "M");
    EXPECT_EQ(G->GetRawCellText(1, 1), "M");
    U->Undo();
    EXPECT_EQ(G->GetRawCellText(1, 1), "");
}

TEST_F(UndoFixture, FreeingEitherSideClearsTheLink)
{
    delete U;
    EXPECT_EQ(G->UndoRedo(), nullptr);
    auto* u2 = new ZAdiZaviDuraRavi(&Form);
    G->SetUndoRedo(u2);
    delete G;
    EXPECT_EQ(u2->Grid(), nullptr);
    u2->Undo();
}
