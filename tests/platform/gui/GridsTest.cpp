// The grid driven as a user drives it: keys, wheel, scroll bars, mouse
// sizing and moving, the in-place editor, and painting into a bitmap.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "TestPaths.h"

using namespace gui;

namespace {

using Shift = TShiftState;
const Shift kNone{};
const Shift kCtrl{TShiftStateItem::ssCtrl};

// A form holding one grid of 300 x 200 pixels: 64-pixel columns and
// 20-pixel rows, each followed by a 1-pixel line, and 16-pixel scroll bars.
template <typename Grid>
struct GridForm {
    TForm Form{nullptr};
    Grid* G;
    GridForm(int cols, int rows)
    {
        Form.SetBounds(0, 0, 400, 300);
        G = new Grid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 300, 200);
        G->SetColCount(cols);
        G->SetRowCount(rows);
        G->SetDefaultRowHeight(20);
        Form.Show();
        G->SetFocus();
    }
};

// Row, TopRow and the rows in view agree: the current row is in view and
// the grid never scrolls past its last row.
void ExpectConsistent(TCustomGrid& g, const char* where)
{
    SCOPED_TRACE(where);
    EXPECT_GE(g.TopRow(), g.FixedRows());
    EXPECT_GE(g.Row(), g.TopRow());
    EXPECT_LT(g.Row(), g.TopRow() + g.VisibleRowCount());
    EXPECT_LE(g.TopRow() + g.VisibleRowCount(), g.RowCount());
    EXPECT_FALSE(g.CellRect(g.Col(), g.Row()).IsEmpty());
    EXPECT_TRUE(g.CellRect(g.Col(), g.TopRow() - 1 >= g.FixedRows() ? g.TopRow() - 1 : 0)
                    .IsEmpty() == (g.TopRow() > g.FixedRows()));
}

} // namespace

TEST(StringGrid, ThousandRowsScrolledByKeysAndWheel)
{
    GridForm<TStringGrid> f(5, 1001);
    TStringGrid& g = *f.G;
    // 184 pixels below the horizontal bar: the title row (21) and seven
    // whole rows of 21 pixels; an eighth shows in part.
    EXPECT_TRUE(g.ScrollBarVisible(SB_VERT));
    EXPECT_TRUE(g.ScrollBarVisible(SB_HORZ));
    EXPECT_EQ(g.ClientHeight(), 184);
    EXPECT_EQ(g.VisibleRowCount(), 7);
    EXPECT_EQ(g.VisibleColCount(), 3);
    EXPECT_FALSE(g.CellRect(1, 8).IsEmpty());
    EXPECT_TRUE(g.CellRect(1, 9).IsEmpty());

    for (int i = 0; i < 20; ++i) sim::KeyDown(VK_DOWN, kNone, &g);
    EXPECT_EQ(g.Row(), 21);
    EXPECT_EQ(g.TopRow(), 15);
    ExpectConsistent(g, "after 20 x down");

    sim::KeyDown(VK_NEXT, kNone, &g);
    EXPECT_EQ(g.Row(), 28);
    EXPECT_EQ(g.TopRow(), 22);
    ExpectConsistent(g, "page down");
    for (int i = 0; i < 200; ++i) sim::KeyDown(VK_NEXT, kNone, &g);
    EXPECT_EQ(g.Row(), 1000);
    EXPECT_EQ(g.TopRow(), 994);
    ExpectConsistent(g, "page down to the end");
    EXPECT_EQ(g.ScrollBarPos(SB_VERT), GridScrollBarMax);

    sim::KeyDown(VK_PRIOR, kNone, &g);
    EXPECT_EQ(g.Row(), 993);
    ExpectConsistent(g, "page up");
    sim::KeyDown(VK_HOME, kCtrl, &g);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(g.ScrollBarPos(SB_VERT), 0);
    sim::KeyDown(VK_END, kCtrl, &g);
    EXPECT_EQ(g.Row(), 1000);
    EXPECT_EQ(g.Col(), 4);
    EXPECT_EQ(g.LeftCol(), 2);
    ExpectConsistent(g, "ctrl end");
    sim::KeyDown(VK_HOME, kNone, &g);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    sim::KeyDown(VK_UP, kCtrl, &g);           // scrolls without moving the row
    EXPECT_EQ(g.TopRow(), 993);
    EXPECT_EQ(g.Row(), 1000);

    // The wheel moves the current row one step per notch.
    g.SetRow(500);
    ExpectConsistent(g, "row 500");
    for (int i = 0; i < 10; ++i) sim::Wheel(&g, -WHEEL_DELTA, 50, 50);
    EXPECT_EQ(g.Row(), 510);
    ExpectConsistent(g, "wheel down");
    for (int i = 0; i < 600; ++i) sim::Wheel(&g, WHEEL_DELTA, 50, 50);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TopRow(), 1);

    // The scroll bar maps 0..127 onto the scrolling rows.
    g.Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, GridScrollBarMax));
    EXPECT_EQ(g.TopRow(), 994);
    g.Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 64));
    EXPECT_EQ(g.TopRow(), 1 + (64 * 993 + 63) / 127);
    g.Perform(WM_VSCROLL, SB_LINEUP);
    g.Perform(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(g.TopRow(), 1 + (64 * 993 + 63) / 127 - 1 + 7);
    EXPECT_EQ(g.Row(), 1);   // scrolling alone leaves the current row
    g.Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(g.TopRow(), 994);
    g.Perform(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(g.TopRow(), 1);
    // A click on the lower arrow of the bar scrolls a line.
    sim::Click(&g, 292, 180);
    EXPECT_EQ(g.TopRow(), 2);
}

TEST(DrawGrid, DrawCellExactlyForTheCellsInView)
{
    GridForm<TDrawGrid> f(10, 100);
    TDrawGrid& g = *f.G;
    std::map<std::pair<int, int>, int> calls;
    std::map<std::pair<int, int>, TRect> rects;
    std::set<std::pair<int, int>> fixedSeen;
    g.OnDrawCell = [&](rtl::TObject*, int c, int r, TRect rect, TGridDrawState state) {
        ++calls[{c, r}];
        rects[{c, r}] = rect;
        if (state.Contains(TGridDrawStateItem::gdFixed)) fixedSeen.insert({c, r});
    };
    auto expectCells = [&](std::vector<int> cols, std::vector<int> rows) {
        std::set<std::pair<int, int>> want;
        for (int c : cols)
            for (int r : rows) want.insert({c, r});
        std::set<std::pair<int, int>> got;
        for (auto& [cell, n] : calls) {
            got.insert(cell);
            EXPECT_EQ(n, 1) << "cell " << cell.first << "," << cell.second;
            EXPECT_EQ(rects[cell], g.CellRect(cell.first, cell.second));
            EXPECT_EQ(fixedSeen.count(cell) == 1, cell.first == 0 || cell.second == 0);
        }
        EXPECT_EQ(got, want);
    };

    // 284 x 184 pixels of cells: columns 0..4 (4 in part), rows 0..8 (8 in part).
    auto img = g.GetImage();
    expectCells({0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(g.CellRect(4, 8), Rect(260, 168, 324, 188));

    calls.clear();
    rects.clear();
    fixedSeen.clear();
    g.SetTopRow(50);
    g.SetLeftCol(3);
    img = g.GetImage();
    expectCells({0, 3, 4, 5, 6}, {0, 50, 51, 52, 53, 54, 55, 56, 57});
    EXPECT_EQ(g.CellRect(3, 50), Rect(65, 21, 129, 41));
    EXPECT_TRUE(g.CellRect(2, 50).IsEmpty());
    EXPECT_TRUE(g.CellRect(3, 49).IsEmpty());
    EXPECT_EQ(g.MouseCoord(70, 25), (TGridCoord{3, 50}));
    EXPECT_EQ(g.MouseCoord(10, 25), (TGridCoord{0, 50}));
    EXPECT_EQ(g.MouseCoord(290, 25), (TGridCoord{-1, -1}));   // on the scroll bar
}

TEST(DrawGrid, RefusedSelectCellKeepsTheCurrentCell)
{
    GridForm<TDrawGrid> f(6, 30);
    TDrawGrid& g = *f.G;
    g.SetRow(2);
    g.OnSelectCell = [](rtl::TObject*, int c, int r, bool& can) { can = r != 3 && c != 3; };
    sim::KeyDown(VK_DOWN, kNone, &g);
    EXPECT_EQ(g.Row(), 2);
    g.SetRow(3);
    EXPECT_EQ(g.Row(), 2);
    sim::Click(&g, g.CellRect(1, 3).Left + 5, g.CellRect(1, 3).Top + 5);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 1, 2}));
    int clicks = 0;
    g.OnClick = [&](rtl::TObject*) { ++clicks; };
    sim::KeyDown(VK_RIGHT, kNone, &g);
    sim::KeyDown(VK_RIGHT, kNone, &g);   // column 3 refuses
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(clicks, 1);                 // only the move that happened
    sim::Click(&g, g.CellRect(2, 4).Left + 5, g.CellRect(2, 4).Top + 5);
    EXPECT_EQ(g.Row(), 4);
}

TEST(StringGrid, ColumnsSizedAndMovedByMouse)
{
    GridForm<TStringGrid> f(6, 10);
    TStringGrid& g = *f.G;
    g.SetOptions(g.Options() + TGridOptions{TGridOption::goColSizing, TGridOption::goColMoving});
    for (int c = 0; c < 6; ++c) g.SetCells(c, 1, "c" + std::to_string(c));
    // The boundary after column 1 in the title row.
    int x = g.CellRect(1, 0).Right, y = 8;
    sim::MouseMove(&g, x, y);
    EXPECT_EQ(ShownWindowCursor(&g), crHSplit);  // shown; Cursor stays the grid's own
    EXPECT_EQ(g.Cursor(), crDefault);
    sim::MouseDown(&g, TMouseButton::mbLeft, x, y);
    EXPECT_EQ(g.GridState(), TGridState::gsColSizing);
    sim::MouseMove(&g, x + 15, y, {TShiftStateItem::ssLeft});
    sim::MouseMove(&g, x + 30, y, {TShiftStateItem::ssLeft});
    sim::MouseUp(&g, TMouseButton::mbLeft, x + 30, y);
    EXPECT_EQ(g.ColWidths(1), 94);
    EXPECT_EQ(g.ColWidths(2), 64);
    EXPECT_EQ(g.GridState(), TGridState::gsNormal);

    // Dragging the title of column 1 onto column 3 moves the column.
    std::pair<int, int> moved{-1, -1};
    g.OnColumnMoved = [&](rtl::TObject*, int from, int to) { moved = {from, to}; };
    sim::MouseDown(&g, TMouseButton::mbLeft, g.CellRect(1, 0).Left + 10, 8);
    int tx = g.CellRect(3, 0).Left + 10;
    sim::MouseMove(&g, tx, 8, {TShiftStateItem::ssLeft});
    sim::MouseUp(&g, TMouseButton::mbLeft, tx, 8);
    EXPECT_EQ(moved, (std::pair<int, int>{1, 3}));
    EXPECT_EQ(g.Rows(1), (std::vector<std::string>{"c0", "c2", "c3", "c1", "c4", "c5"}));
    EXPECT_EQ(g.ColWidths(3), 94);   // the width went with the column

    // Rows are sized in the fixed column.
    g.SetOptions(g.Options() + TGridOptions{TGridOption::goRowSizing});
    int ry = g.CellRect(0, 2).Bottom;
    sim::MouseDown(&g, TMouseButton::mbLeft, 10, ry);
    sim::MouseMove(&g, 10, ry + 12, {TShiftStateItem::ssLeft});
    sim::MouseUp(&g, TMouseButton::mbLeft, 10, ry + 12);
    EXPECT_EQ(g.RowHeights(2), 32);
    EXPECT_EQ(g.RowHeights(3), 20);
}

TEST(StringGrid, CellsSurviveShrinkingAndRegrowing)
{
    GridForm<TStringGrid> f(5, 1001);
    TStringGrid& g = *f.G;
    rtl::TObject marker;
    g.SetCells(3, 900, "kept");
    g.SetObjects(3, 900, &marker);
    g.SetCells(7, 2, "beyond the columns");
    g.SetRow(900);
    g.SetRowCount(10);
    EXPECT_EQ(g.Row(), 9);
    EXPECT_LE(g.TopRow() + g.VisibleRowCount(), 10);
    g.SetColCount(2);
    EXPECT_EQ(g.Col(), 1);
    g.SetRowCount(1001);
    g.SetColCount(8);
    EXPECT_EQ(g.Cells(3, 900), "kept");
    EXPECT_EQ(g.Objects(3, 900), &marker);
    EXPECT_EQ(g.Cells(7, 2), "beyond the columns");
    EXPECT_EQ(g.Rows(2).back(), "beyond the columns");
    // Fixed counts must leave a scrolling cell.
    EXPECT_THROW(g.SetFixedRows(1001), EInvalidGridOperation);
    EXPECT_EQ(g.FixedRows(), 1);
    g.ClearCells();
    EXPECT_EQ(g.Objects(3, 900), nullptr);
}

// Cells far beyond the counts (a huge column or row number) are kept and
// cleared like any other, and travel with moved rows and columns.
TEST(StringGrid, CellsFarOutAreKeptClearedAndMoved)
{
    GridForm<TStringGrid> f(4, 8);
    TStringGrid& g = *f.G;
    rtl::TObject marker;
    g.SetCells(100000, 3, "far right");
    g.SetCells(2, 50000000, "far down");
    g.SetObjects(2, 50000000, &marker);
    rtl::TObject* object = nullptr;
    EXPECT_EQ(g.Cells(100000, 3), "far right");
    EXPECT_EQ(g.Cells(100000, 4), "");
    EXPECT_EQ(g.Cells(2, 50000000), "far down");
    ASSERT_NE(g.FindCellData(2, 50000000, object), nullptr);
    EXPECT_EQ(object, &marker);
    EXPECT_EQ(g.FindCellData(2, 49999999, object), nullptr);
    EXPECT_EQ(object, nullptr);
    g.MoveRow(3, 1);
    EXPECT_EQ(g.Cells(100000, 1), "far right");
    EXPECT_EQ(g.Cells(100000, 3), "");
    // Emptied: the text goes, the object stays until it is taken away too.
    g.SetCells(2, 50000000, "");
    EXPECT_EQ(g.Objects(2, 50000000), &marker);
    ASSERT_NE(g.FindCellData(2, 50000000, object), nullptr);
    g.SetObjects(2, 50000000, nullptr);
    EXPECT_EQ(g.FindCellData(2, 50000000, object), nullptr);
    // A cell of the grid emptied of text and object reads as never written.
    g.SetCells(1, 1, "x");
    g.SetObjects(1, 1, &marker);
    g.SetCells(1, 1, "");
    g.SetObjects(1, 1, nullptr);
    EXPECT_EQ(g.FindCellData(1, 1, object), nullptr);
    g.ClearCells();
    EXPECT_EQ(g.Cells(100000, 1), "");
}

// Moved rows, columns and row blocks take their texts, objects and heights
// along, also to and from positions beyond the counts.
TEST(StringGrid, MovedRowsAndBlocksCarryTheirCells)
{
    GridForm<TStringGrid> f(4, 8);
    TStringGrid& g = *f.G;
    rtl::TObject marker;
    for (int r = 0; r < 8; ++r) g.SetCells(1, r, std::to_string(r));
    g.SetCells(3, 9, "beyond");
    g.SetObjects(2, 5, &marker);
    g.SetRowHeights(5, 33);
    auto column = [&] {
        std::string s;
        for (int r = 0; r < g.RowCount(); ++r) s += g.Cells(1, r) + (r + 1 < g.RowCount() ? "," : "");
        return s;
    };
    g.MoveRow(5, 2);
    EXPECT_EQ(column(), "0,1,5,2,3,4,6,7");
    EXPECT_EQ(g.Objects(2, 2), &marker);
    EXPECT_EQ(g.RowHeights(2), 33);
    g.MoveRowBlock(1, 3, 4);  // 1,5,2 after 3,4,6
    EXPECT_EQ(column(), "0,3,4,6,1,5,2,7");
    EXPECT_EQ(g.Objects(2, 5), &marker);
    EXPECT_EQ(g.RowHeights(5), 33);
    g.MoveRowBlock(4, 3, 1);  // and back
    EXPECT_EQ(column(), "0,1,5,2,3,4,6,7");
    g.MoveColumn(1, 3);
    EXPECT_EQ(g.Cells(3, 2), "5");
    EXPECT_EQ(g.Cells(2, 2), "");
    // A cell kept beyond the row count moved with its column.
    g.SetRowCount(10);
    EXPECT_EQ(g.Cells(2, 9), "beyond");
    EXPECT_THROW(g.MoveRowBlock(8, 3, 0), EInvalidGridOperation);
}

TEST(StringGrid, InplaceEditorEditsACellAndWritesItBack)
{
    GridForm<TStringGrid> f(4, 10);
    TStringGrid& g = *f.G;
    g.SetOptions(g.Options() + TGridOptions{TGridOption::goEditing});
    g.SetCells(1, 2, "abc");
    std::vector<std::string> written;
    g.OnSetEditText = [&](rtl::TObject*, int c, int r, const std::string& v) {
        written.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
    };
    g.SetRow(2);
    sim::KeyDown(VK_F2, kNone, &g);
    ASSERT_TRUE(g.EditorMode());
    TInplaceEdit* ed = g.InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(ed->BoundsRect(), g.CellRect(1, 2));
    EXPECT_EQ(ed->EditText(), "abc");
    EXPECT_EQ(ed->SelLength(), 3);

    sim::TypeText("xy", ed);
    EXPECT_EQ(ed->EditText(), "xy");
    EXPECT_EQ(g.Cells(1, 2), "xy");        // written back as it is typed
    sim::KeyPress(VK_ESCAPE, kNone, ed);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Cells(1, 2), "abc");       // Escape restores the cell

    sim::KeyDown(VK_F2, kNone, &g);
    sim::KeyDown(VK_END, kNone, ed);
    sim::TypeText("d", ed);
    sim::KeyDown(VK_LEFT, kNone, ed);
    sim::KeyPress(VK_BACK, kNone, ed);
    EXPECT_EQ(ed->EditText(), "abd");
    sim::KeyDown(VK_RETURN, kNone, ed);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Cells(1, 2), "abd");

    // Typing on the grid opens the editor with the character; leaving the
    // cell keeps the text.
    sim::TypeText("q", &g);
    EXPECT_TRUE(g.EditorMode());
    EXPECT_EQ(g.Cells(1, 2), "q");
    sim::KeyDown(VK_DOWN, kNone, g.InplaceEditor());
    EXPECT_EQ(g.Row(), 3);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Cells(1, 2), "q");
    EXPECT_EQ(written.back(), "1,2=q");
    EXPECT_GE(written.size(), 4u);
}

TEST(StringGrid, PaintsHeadersSelectionAndText)
{
    GridForm<TStringGrid> f(4, 6);
    TStringGrid& g = *f.G;
    g.SetScrollBars(TScrollStyle::ssNone);
    g.SetOptions(g.Options() + TGridOptions{TGridOption::goRowSelect});
    const char* titles[] = {"", "Name", "Lat", "Lon"};
    for (int c = 0; c < 4; ++c) g.SetCells(c, 0, titles[c]);
    for (int r = 1; r < 6; ++r) {
        g.SetCells(0, r, std::to_string(r));
        g.SetCells(1, r, "Place " + std::to_string(r));
        g.SetCells(2, r, std::to_string(40 + r) + " N");
    }
    g.SetRow(2);
    auto img = g.GetImage();
    TPngImage png;
    png.Assign(img.get());
    png.SaveToFile((tectest::ScratchDir("grids") / "stringgrid.png").string());
    TCanvas* c = img->Canvas();
    TRect title = g.CellRect(2, 0), cell = g.CellRect(3, 3), sel = g.CellRect(3, 2);
    EXPECT_EQ(c->Pixels(title.Right - 3, title.Top + 3), ColorToRGB(g.FixedColor()));
    EXPECT_EQ(c->Pixels(cell.Right - 3, cell.Top + 3), ColorToRGB(clWindow));
    EXPECT_EQ(c->Pixels(sel.Right - 3, sel.Top + 3), ColorToRGB(clHighlight));
    EXPECT_EQ(c->Pixels(cell.Right, cell.Top + 3), TColor(0xDCDCDC));   // grid line
    // Some text was drawn in the name cell of row 4.
    TRect name = g.CellRect(1, 4);
    int dark = 0;
    for (int y = name.Top; y < name.Bottom; ++y)
        for (int x = name.Left; x < name.Right; ++x)
            if (c->Pixels(x, y) != ColorToRGB(clWindow)) ++dark;
    EXPECT_GT(dark, 20);
}
