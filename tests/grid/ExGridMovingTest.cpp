// Column and row moving by synthetic mouse drags: sort columns, the current
// column, hidden flags and widths follow the real columns; a row is never
// dropped on the footer row; a refused target shows the no-drop cursor and
// moves nothing; the arrows show at the drop position.
#include <gtest/gtest.h>

#include <filesystem>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PopupWindows.h"

using namespace grid;
using gridbase::TArrowDirection;

namespace {

struct MoveSetup {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    MoveSetup()
    {
        Form.SetBounds(60, 60, 700, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 660, 300);
        G->SetColCount(8);
        G->SetRowCount(8);
        G->SetDefaultColWidth(70);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) G->SetCells(c, r, r == 0 ? "H" + std::to_string(c) : std::to_string(c) + "," + std::to_string(r));
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goColMoving, gui::TGridOption::goRowMoving});
        Form.Show();
    }
    ~MoveSetup()
    {
        if (gui::Screen) gui::Screen->SetCursor(gui::crDefault);
    }
    gui::TPoint Centre(int c, int r) const
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    // Presses on from, moves twice to to (the arrows follow one move
    // behind), and releases unless told not to.
    void Drag(gui::TPoint from, gui::TPoint to, bool release = true)
    {
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, from.X, from.Y);
        gui::sim::MouseMove(G, from.X + 4, from.Y, {gui::TShiftStateItem::ssLeft});
        gui::sim::MouseMove(G, to.X, to.Y, {gui::TShiftStateItem::ssLeft});
        gui::sim::MouseMove(G, to.X, to.Y + 1, {gui::TShiftStateItem::ssLeft});
        if (release) gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, to.X, to.Y + 1);
    }
};

struct MoveFixture : testing::Test, MoveSetup {};

} // namespace

TEST_F(MoveFixture, ColumnTwoToFiveRemapsSortColumnsAndTheCurrentColumn)
{
    struct Case {
        int before, after;
    };
    for (const Case& c : {Case{5, 4}, Case{2, 5}, Case{6, 6}, Case{1, 1}}) {
        MoveSetup f;
        TExStringGrid* g = f.G;
        g->SortSettings()->SetColumn(c.before);
        g->SortSettings()->SetIndexShow(true);
        g->SortIndexes()->AddIndex(c.before, false);
        g->SetCol(c.before);
        f.Drag(f.Centre(2, 0), f.Centre(5, 0));
        EXPECT_EQ(g->Cells(5, 0), "H2");
        EXPECT_EQ(g->Cells(4, 3), "5,3");
        EXPECT_EQ(g->SortSettings()->Column(), c.after) << c.before;
        // The direction bit stays, the column follows.
        EXPECT_EQ(g->SortIndexes()->GetIndexColumn(0), c.after);
        EXPECT_FALSE(g->SortIndexes()->IsAscending(0));
        EXPECT_EQ(g->Col(), c.after);
        EXPECT_TRUE(g->ColMoveFlg());
        EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
        EXPECT_FALSE(g->MoveButton()->Visible());
    }
}

TEST_F(MoveFixture, HiddenFlagsAndWidthsMoveByRealIndex)
{
    G->SetColWidths(4, 33);
    G->HideColumn(4);                  // real 4 hidden, displayed 4 is real 5
    ASSERT_EQ(G->ColCount(), 7);
    G->MoveColumn(1, 5);               // real 1 to real 6
    EXPECT_TRUE(G->IsHiddenColumn(3)); // the hidden column moved one place left
    EXPECT_FALSE(G->IsHiddenColumn(4));
    EXPECT_EQ(G->GetAllColWidths(3), 33);
    std::string s;
    G->GetAllCells(6, 2, s);
    EXPECT_EQ(s, "1,2");
    G->GetAllCells(3, 2, s);
    EXPECT_EQ(s, "4,2");
    G->UnHideColumn(3);
    EXPECT_EQ(G->Cells(3, 2), "4,2");
    EXPECT_EQ(G->ColWidths(3), 33);
}

TEST_F(MoveFixture, RowIsNotDroppedOnTheFooterRow)
{
    G->FloatingFooter()->SetVisible(true);
    Drag(Centre(0, 2), Centre(0, 7));
    EXPECT_EQ(G->Cells(1, 2), "1,2");
    EXPECT_EQ(G->Cells(1, 7), "1,7");
    // Elsewhere rows move.
    Drag(Centre(0, 2), Centre(0, 5));
    EXPECT_EQ(G->Cells(1, 5), "1,2");
    EXPECT_EQ(G->Cells(1, 2), "1,3");
}

TEST_F(MoveFixture, RefusedTargetShowsNoDropAndMovesNothing)
{
    G->OnColumnMoving = [](rtl::TObject*, int col, bool& allow) { allow = col != 6; };
    Drag(Centre(2, 0), Centre(6, 0), false);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crNoDrop);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, Centre(6, 0).X, Centre(6, 0).Y);
    EXPECT_EQ(G->Cells(2, 0), "H2");
    EXPECT_EQ(G->Cells(6, 0), "H6");
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
    // OnColumnMove refusing ends the drag at once.
    G->OnColumnMove = [](rtl::TObject*, int, bool& allow) { allow = false; };
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, Centre(3, 0).X, Centre(3, 0).Y);
    gui::sim::MouseMove(G, Centre(4, 0).X, Centre(4, 0).Y, {gui::TShiftStateItem::ssLeft});
    EXPECT_EQ(G->GridState(), gui::TGridState::gsNormal);
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, Centre(4, 0).X, Centre(4, 0).Y);
    EXPECT_EQ(G->Cells(3, 0), "H3");
}

TEST_F(MoveFixture, ArrowsShowAtTheDropPosition)
{
    Drag(Centre(2, 0), Centre(5, 0), false);
    gridbase::TArrowWindow* down = G->MoveArrow(TArrowDirection::arrDown);
    gridbase::TArrowWindow* up = G->MoveArrow(TArrowDirection::arrUp);
    ASSERT_TRUE(down->Visible());
    ASSERT_TRUE(up->Visible());
    EXPECT_EQ(G->MoveColInd(), 5);
    // Moving right: both at the target's right edge, above and below the header.
    const gui::TRect r = G->gui::TCustomGrid::CellRect(5, 0);
    EXPECT_EQ((gui::TPoint{down->Left(), down->Top()}), G->ClientToScreen({r.Right - 5, r.Top - 8}));
    EXPECT_EQ((gui::TPoint{up->Left(), up->Top()}), G->ClientToScreen({r.Right - 5, r.Bottom}));
    // With ShowCells the picture of the column floats at the grab offset.
    EXPECT_FALSE(G->MoveButton()->Visible());
    EXPECT_EQ(G->MoveButton()->Caption(), "H2");
    ASSERT_NE(G->MoveForm(), nullptr);
    EXPECT_TRUE(G->MoveForm()->Visible());
    EXPECT_EQ(G->MoveForm()->Width(), G->ColWidths(2) + 1);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDrag);

    gui::Application->ProcessMessages();
    const gui::TPoint o = Form.ClientToScreen({0, -12});
    auto shot = gui::GrabScreen(gui::TRect(o.X, o.Y, o.X + 660, o.Y + 240));
    const auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(dir);
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "grid-column-move.png").string());
    // The lime arrow is on the screen.
    const gui::TPoint a = G->ClientToScreen({r.Right, r.Top - 4});
    EXPECT_EQ(shot->Canvas()->Pixels(a.X - o.X, a.Y - o.Y), 0x00FF00u);

    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, Centre(5, 0).X, Centre(5, 0).Y + 1);
    EXPECT_FALSE(down->Visible());
    EXPECT_FALSE(up->Visible());
    EXPECT_EQ(G->MoveForm(), nullptr);
    EXPECT_EQ(G->Cells(5, 0), "H2");
}

TEST_F(MoveFixture, WithoutShowCellsTheHeaderButtonFloats)
{
    G->DragDropSettings()->SetShowCells(false);
    Drag(Centre(3, 0), Centre(1, 0), false);
    EXPECT_TRUE(G->MoveButton()->Visible());
    EXPECT_EQ(G->MoveButton()->Caption(), "H3");
    EXPECT_EQ(G->MoveForm(), nullptr);
    // Moving left: the arrows at the target's left edge.
    const gui::TRect r = G->gui::TCustomGrid::CellRect(1, 0);
    gridbase::TArrowWindow* down = G->MoveArrow(TArrowDirection::arrDown);
    EXPECT_EQ((gui::TPoint{down->Left(), down->Top()}), G->ClientToScreen({r.Left - 5, r.Top - 8}));
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, Centre(1, 0).X, Centre(1, 0).Y + 1);
    EXPECT_FALSE(G->MoveButton()->Visible());
    EXPECT_EQ(G->Cells(1, 0), "H3");
    EXPECT_EQ(G->Cells(2, 0), "H1");
}

TEST_F(MoveFixture, RightReleaseDuringTheDragIsSwallowed)
{
    int rightClicks = 0;
    G->OnRightClickCell = [&](rtl::TObject*, int, int) { ++rightClicks; };
    Drag(Centre(2, 0), Centre(4, 0), false);
    gui::sim::MouseUp(G, gui::TMouseButton::mbRight, Centre(4, 0).X, Centre(4, 0).Y);
    EXPECT_EQ(rightClicks, 0);
    EXPECT_EQ(G->Cells(2, 0), "H2");  // no move either
    EXPECT_EQ(G->GridState(), gui::TGridState::gsNormal);
}

TEST_F(MoveFixture, RowArrowsShowBesideTheTargetRow)
{
    Drag(Centre(0, 5), Centre(0, 2), false);
    gridbase::TArrowWindow* left = G->MoveArrow(TArrowDirection::arrLeft);
    gridbase::TArrowWindow* right = G->MoveArrow(TArrowDirection::arrRight);
    ASSERT_TRUE(left->Visible());
    ASSERT_TRUE(right->Visible());
    EXPECT_EQ(G->MoveRowInd(), 2);
    // Moving up: 5 pixels above the target row's top, left of the grid and at its last column's right.
    const gui::TRect r = G->gui::TCustomGrid::CellRect(0, 2);
    EXPECT_EQ((gui::TPoint{left->Left(), left->Top()}), G->ClientToScreen({r.Left - 10, r.Top - 5}));
    EXPECT_EQ(right->Top(), left->Top());
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, Centre(0, 2).X, Centre(0, 2).Y + 1);
    EXPECT_FALSE(left->Visible());
    EXPECT_EQ(G->Cells(1, 2), "1,5");
    EXPECT_EQ(G->Cells(1, 3), "1,2");
}
