// The pointer over a 6 x 6 grid, driven through synthetic mouse input:
// always-visible spin buttons stepping on a press, fixed cells pressed in
// like buttons, the hovered header with its drop-down button and menu,
// the list-view look's hot header, the header node button, presses at the
// view's edge, the cell-selector mode, disjunct columns and rows by mouse,
// anchors entered and left, the colour of the moving arrows, group
// selection on release, range selection with editing, and URLEdit.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "grid/ExGridHints.h"
#include "gridbase/ExObj.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Themes.h"

using namespace grid;
using gui::TGridOption;
using gui::TMouseButton;
using gui::TShiftStateItem;

namespace {

struct PointerFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    PointerFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(64);
        G->SetDefaultRowHeight(22);
        Form.Show();
        G->SetFocus();
    }
    gui::TRect Cell(int c, int r) { return G->gui::TCustomGrid::CellRect(c, r); }
    void Press(int x, int y, gui::TShiftState shift = {})
    {
        gui::sim::MouseMove(G, x, y, shift);
        gui::sim::MouseDown(G, TMouseButton::mbLeft, x, y, shift);
    }
    void Release(int x, int y, gui::TShiftState shift = {}) { gui::sim::MouseUp(G, TMouseButton::mbLeft, x, y, shift); }
    void Click(int x, int y, gui::TShiftState shift = {})
    {
        Press(x, y, shift);
        Release(x, y, shift);
    }
    void ClickCell(int c, int r, gui::TShiftState shift = {})
    {
        const gui::TRect rc = Cell(c, r);
        Click((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2, shift);
    }
    gui::TColor Pixel(int x, int y) { return G->GetImage()->Canvas()->Pixels(x, y); }
};

const gui::TShiftState kCtrl{TShiftStateItem::ssCtrl};

// Brightness of a pixel (0 .. 765).
int Light(gui::TColor c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF); }

} // namespace

// The upper half of the button steps up, the lower half down; a press
// left of the button opens the editor without a step.
TEST_F(PointerFixture, AlwaysVisibleSpinButtonsStepOnAPress)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    G->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& ed) {
        if (c == 2) ed = TEditorType::edSpinEdit;
    };
    struct Case {
        int dx, dy;  // from the cell's top-right corner, or its left
        bool fromRight;
        int want;
    } cases[] = {{-6, 5, true, 6}, {-6, 17, true, 4}, {10, 11, false, 5}};
    for (const Case& c : cases) {
        G->HideInplaceEdit();
        G->SetCells(2, 2, "5");
        G->MoveColRow(2, 2, true, true);
        const gui::TRect r = Cell(2, 2);
        Click(c.fromRight ? r.Right + c.dx : r.Left + c.dx, r.Top + c.dy);
        ASSERT_NE(G->EditSpin(), nullptr) << (&c - cases);
        ASSERT_TRUE(G->EditSpin()->Visible()) << (&c - cases);
        EXPECT_EQ(G->EditSpin()->Value(), c.want) << (&c - cases);
    }
    // The step of a press is not kept for an editor opened later by key.
    G->HideInplaceEdit();
    G->SetCells(2, 2, "5");
    G->MoveColRow(3, 2, true, true);
    const gui::TRect r = Cell(2, 2);
    Click(r.Right - 6, r.Top + 5);  // makes the cell current, opens nothing
    gui::sim::KeyPress(gui::VK_F2, {}, G);
    ASSERT_TRUE(G->EditSpin()->Visible());
    EXPECT_EQ(G->EditSpin()->Value(), 5);
}

// FixedAsButtons: a header cell is drawn pressed in while the button is
// down (dark upper-left inner edge), raised again after the release, which
// clicks it as a cell button.
TEST_F(PointerFixture, FixedCellPressedInLikeAButton)
{
    G->SetLook(TGridLook::glClassic);
    G->SetFlat(false);
    G->SetFixedAsButtons(true);
    std::vector<std::pair<int, int>> clicks;
    G->OnButtonClick = [&](rtl::TObject*, int c, int r) { clicks.emplace_back(c, r); };
    const gui::TRect r = Cell(3, 0);
    const int x = r.Left, y = r.Top + 5;  // on the left edge
    const int up = Light(Pixel(x, y));

    Press((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    const int down = Light(Pixel(x, y));
    EXPECT_LT(down + 100, up) << std::hex << up << " " << down;
    Release((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(Light(Pixel(x, y)), up);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{3, 0}}));

    // A header check box pressed as a button keeps its state.
    G->AddCheckBox(4, 0, true, false);
    ClickCell(4, 0);
    bool checked = false;
    G->GetCheckBoxState(4, 0, checked);
    EXPECT_TRUE(checked);

    // Without both fixed grid lines nothing is pressed in.
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goFixedVertLine});
    Press((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(G->PushedFixedCell(), (gui::TPoint{-1, -1}));
    Release((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A hovered header cell shows the hover gradient; with FixedDropDownButton
// its right 16 pixels are a button with a black triangle.  The pointer
// leaving the grid ends the hover.
TEST_F(PointerFixture, HoveredHeaderWithDropDownButton)
{
    G->SetLook(TGridLook::glXP);
    G->SetFlat(false);
    G->SetHoverFixedCells(THoverFixedCells::hfAll);
    G->SetKVRGradientHoverFrom(0x00C0FF);
    G->SetKVRGradientHoverTo(0x00C0FF);
    G->SetKVRGradientHoverBorder(0x0000FF);
    G->ControlLook()->SetFixedDropDownButton(true);
    const gui::TRect r = Cell(2, 0);
    const gui::TPoint body{r.Left + 10, r.Top + 5};
    EXPECT_NE(Pixel(body.X, body.Y), 0x00C0FFu);
    gui::sim::MouseMove(G, r.Left + 20, r.Top + 10);
    EXPECT_EQ(G->HoverFixedCell(), (gui::TPoint{2, 0}));
    EXPECT_EQ(Pixel(body.X, body.Y), 0x00C0FFu);
    // The painted cell ends a pixel left of its rectangle (the grid line).
    EXPECT_EQ(Pixel(r.Right - 9, r.Top + 9), 0u);           // the triangle
    EXPECT_EQ(Pixel(r.Right - 17, r.Top + 3), 0x0000FFu);   // the split line
    // Another header cell without the pointer is plain.
    EXPECT_NE(Pixel(Cell(4, 0).Left + 10, Cell(4, 0).Top + 5), 0x00C0FFu);
    // Normal cells are never hovered.
    gui::sim::MouseMove(G, Cell(2, 2).Left + 10, Cell(2, 2).Top + 5);
    EXPECT_NE(Pixel(body.X, body.Y), 0x00C0FFu);
    gui::sim::MouseMove(G, r.Left + 20, r.Top + 10);
    G->Perform(gui::CM_MOUSELEAVE);
    EXPECT_EQ(G->HoverFixedCell(), (gui::TPoint{-1, -1}));
    EXPECT_NE(Pixel(body.X, body.Y), 0x00C0FFu);
}

namespace {

struct RecordingMenu : gui::TPopupMenu {
    using gui::TPopupMenu::TPopupMenu;
    std::vector<gui::TPoint> Shown;
    void Popup(int x, int y) override { Shown.push_back({x, y}); }
};

} // namespace

// A press on the drop-down button pops the menu up below the cell, tagged
// with the column; the event may replace the menu or clear it.  A release
// there does not sort; the rest of the cell sorts.
TEST_F(PointerFixture, DropDownButtonPressOpensTheMenuAndDoesNotSort)
{
    G->SetHoverFixedCells(THoverFixedCells::hfFixedRows);
    G->ControlLook()->SetFixedDropDownButton(true);
    G->SortSettings()->SetShow(true);
    for (int r = 1; r < 6; ++r) G->SetCells(2, r, std::to_string(6 - r));
    auto* menu = new RecordingMenu(&Form);
    G->SetFixedDropDownMenu(menu);
    std::vector<int> events;
    G->OnFixedDropDownClick = [&](rtl::TObject*, int c, int r, gui::TPopupMenu*& m, bool& keep) {
        events.push_back(c);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(m, menu);
        EXPECT_FALSE(keep);
    };
    const gui::TRect r = Cell(2, 0);
    Click(r.Right - 6, r.Top + 10);
    EXPECT_EQ(events, (std::vector<int>{2}));
    ASSERT_EQ(menu->Shown.size(), 1u);
    EXPECT_EQ(menu->Shown[0], G->ClientToScreen({r.Right - 16, r.Bottom}));
    EXPECT_EQ(menu->Tag(), 2);
    EXPECT_EQ(G->SortSettings()->Column(), -1);
    EXPECT_EQ(G->Cells(2, 1), "5");

    // A handler that clears the menu: nothing pops up.
    G->OnFixedDropDownClick = [&](rtl::TObject*, int, int, gui::TPopupMenu*& m, bool&) { m = nullptr; };
    Click(r.Right - 6, r.Top + 10);
    EXPECT_EQ(menu->Shown.size(), 1u);

    // Left of the button the click sorts.
    Click(r.Left + 20, r.Top + 10);
    EXPECT_EQ(G->SortSettings()->Column(), 2);
    EXPECT_EQ(G->Cells(2, 1), "1");

    // A menu that goes is forgotten.
    delete menu;
    EXPECT_EQ(G->FixedDropDownMenu(), nullptr);
}

// The list-view look draws the header cell under the pointer as the
// theme's hot header item.
TEST_F(PointerFixture, ListViewLookHotHeaderCell)
{
    const bool themed = gui::IsThemeActive();
    gui::SetThemeActive(true);
    struct Restore {
        bool Was;
        ~Restore() { gui::SetThemeActive(Was); }
    } restore{themed};
    auto* g = new TExStringGrid(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 500, 300);
    g->SetColCount(6);
    g->SetRowCount(6);
    g->SetFlat(false);
    g->SetLook(TGridLook::glListView);
    G->SetVisible(false);
    g->SetFocus();
    if (!g->IsWinXP()) GTEST_SKIP() << "no visual style";
    const gui::TRect r = g->gui::TCustomGrid::CellRect(2, 0), other = g->gui::TCustomGrid::CellRect(4, 0);
    auto shot = [&](const gui::TRect& c) {
        std::unique_ptr<gui::TBitmap> img = g->GetImage();
        std::vector<gui::TColor> px;
        for (int x = c.Left + 2; x < c.Right - 2; x += 3) px.push_back(img->Canvas()->Pixels(x, c.Top + 4));
        return px;
    };
    const auto plain = shot(r);
    EXPECT_EQ(plain, shot(other));
    gui::sim::MouseMove(g, r.Left + 20, r.Top + 10);
    EXPECT_EQ(g->HotFixedCell(), (gui::TPoint{2, 0}));
    EXPECT_NE(shot(r), plain);
    EXPECT_EQ(shot(other), plain);
    gui::sim::MouseMove(g, other.Left + 20, other.Top + 10);
    EXPECT_EQ(shot(r), plain);
}

// NodeAllExpandContract: the node button of the header cell contracts and
// expands every node.
TEST_F(PointerFixture, HeaderNodeButtonExpandsAndContractsAll)
{
    G->SetRowCount(8);
    G->AddNode(1, 3);
    G->AddNode(4, 3);
    G->AddNode(0, 1);  // the header's own button
    G->MouseActions()->SetNodeAllExpandContract(true);
    const int visible = G->RowCount();
    int dx = 0;
    while (dx < 40 && !G->IsInNodeButton(0, dx)) ++dx;
    ASSERT_LT(dx, 40);
    const gui::TRect h = Cell(0, 0);
    Click(h.Left + dx, h.Top + 11);
    EXPECT_EQ(G->RowCount(), visible - 4);  // both nodes contracted
    EXPECT_TRUE(G->GetNodeState(0));
    Click(h.Left + dx, h.Top + 11);
    EXPECT_EQ(G->RowCount(), visible);
    EXPECT_FALSE(G->GetNodeState(0));
    // Without the setting the header button does nothing.
    G->MouseActions()->SetNodeAllExpandContract(false);
    Click(h.Left + dx, h.Top + 11);
    EXPECT_EQ(G->RowCount(), visible);
}

// A press on a partly shown row: the view scrolls to it unless
// NoScrollOnPartialRow; NoAutoRangeScroll starts no drag selection there.
TEST_F(PointerFixture, PressesAtTheViewsEdge)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->SetRowCount(30);
    G->SetHeight(5 * 23 + 12);  // rows 1..4 whole, row 5 partly shown
    ASSERT_EQ(G->TopRow(), 1);
    const int edge = G->TopRow() + G->VisibleRowCount();
    const gui::TRect r = Cell(2, edge);
    const int y = r.Top + 4;
    struct Case {
        bool noScroll, noRange;
        int wantTop;
        gui::TGridState wantState;
    } cases[] = {
        {false, false, 2, gui::TGridState::gsSelecting},
        {true, false, 1, gui::TGridState::gsNormal},  // the press ends at once
        {false, true, 2, gui::TGridState::gsNormal},
    };
    for (const Case& c : cases) {
        G->MouseActions()->SetNoScrollOnPartialRow(c.noScroll);
        G->MouseActions()->SetNoAutoRangeScroll(c.noRange);
        G->SetTopRow(1);
        G->MoveColRow(1, 1, true, true);
        Press(r.Left + 10, y);
        EXPECT_EQ(G->TopRow(), c.wantTop) << (&c - cases);
        EXPECT_EQ(G->GridState(), c.wantState) << (&c - cases);
        EXPECT_EQ(G->Row(), edge) << (&c - cases);
        Release(r.Left + 10, y);
    }
}

TEST_F(PointerFixture, CellSelectorModeOnlyReportsTheCell)
{
    struct Selecting : TExStringGrid {
        using TExStringGrid::TExStringGrid;
        std::vector<std::pair<int, int>> Clicked;
        void CellSelectorClick(int c, int r) override { Clicked.emplace_back(c, r); }
    };
    auto* g = new Selecting(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 500, 300);
    g->SetColCount(6);
    g->SetRowCount(6);
    g->SetCellSelectorMode(true);
    int clicks = 0;
    g->OnClickCell = [&](rtl::TObject*, int, int) { ++clicks; };
    const gui::TRect r = g->gui::TCustomGrid::CellRect(3, 4);
    gui::sim::Click(g, r.Left + 10, r.Top + 10);
    EXPECT_EQ(g->Clicked, (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(clicks, 0);
    g->SetCellSelectorMode(false);
    gui::sim::Click(g, r.Left + 10, r.Top + 10);
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(g->Clicked.size(), 1u);
}

// Disjunct columns and rows by mouse: a click flags the column (row) alone,
// Ctrl adds one, Ctrl on a flagged one unflags it.
TEST_F(PointerFixture, DisjunctColumnsAndRowsByClick)
{
    G->MouseActions()->SetDisjunctColSelect(true);
    G->SetColSelect(1, true);
    ClickCell(3, 2);
    EXPECT_TRUE(G->GetColSelect(3));
    EXPECT_FALSE(G->GetColSelect(1));
    ClickCell(4, 2, kCtrl);
    EXPECT_TRUE(G->GetColSelect(3));
    EXPECT_TRUE(G->GetColSelect(4));
    ClickCell(3, 2, kCtrl);
    EXPECT_FALSE(G->GetColSelect(3));
    EXPECT_TRUE(G->GetColSelect(4));
    G->MouseActions()->SetDisjunctColSelect(false);

    G->MouseActions()->SetDisjunctRowSelect(true);
    ClickCell(2, 2);
    ClickCell(2, 4, kCtrl);
    EXPECT_EQ(G->CountSelectedRows(), 2);
    ClickCell(2, 2, kCtrl);
    EXPECT_FALSE(G->GetRowSelect(2));
    EXPECT_TRUE(G->GetRowSelect(4));
    ClickCell(2, 5);
    EXPECT_EQ(G->CountSelectedRows(), 1);
    EXPECT_TRUE(G->GetRowSelect(5));
}

// Moving onto an anchor of an HTML cell fires OnAnchorEnter and shows the
// link cursor; moving off fires OnAnchorExit with the anchor left.
TEST_F(PointerFixture, AnchorsEnteredAndLeft)
{
    G->SetColWidths(2, 200);
    G->SetCells(2, 2, "<A href=\"cell://3,4\">go there</A> and some plain words");
    std::vector<std::string> log;
    G->OnAnchorEnter = [&](rtl::TObject*, int r, int c, const std::string& a) {
        log.push_back("enter " + a + " " + std::to_string(c) + "," + std::to_string(r));
    };
    G->OnAnchorExit = [&](rtl::TObject*, int, int, const std::string& a) { log.push_back("exit " + a); };
    const gui::TRect r = Cell(2, 2);
    gui::sim::MouseMove(G, r.Left + 8, r.Top + 9);
    EXPECT_EQ(G->Cursor(), gui::crHandPoint);
    EXPECT_EQ(G->HoverAnchor(), "cell://3,4");
    gui::sim::MouseMove(G, r.Left + 10, r.Top + 9);  // the same anchor: nothing new
    gui::sim::MouseMove(G, r.Right - 10, r.Top + 9);
    EXPECT_NE(G->Cursor(), gui::crHandPoint);
    EXPECT_EQ(log, (std::vector<std::string>{"enter cell://3,4 2,2", "exit cell://3,4"}));
}

TEST_F(PointerFixture, ArrowColorPaintsTheMovingArrows)
{
    EXPECT_EQ(G->ArrowColor(), 0x00FF00u);
    G->SetArrowColor(0x0000FF);
    gridbase::TArrowWindow* up = G->MoveArrow(gridbase::TArrowDirection::arrUp);
    gridbase::TArrowWindow* left = G->MoveArrow(gridbase::TArrowDirection::arrLeft);
    EXPECT_EQ(up->Color(), 0x0000FFu);
    EXPECT_EQ(left->Color(), 0x0000FFu);
    up->SetBounds(0, 0, 11, 10);
    EXPECT_EQ(up->GetImage()->Canvas()->Pixels(5, 6), 0x0000FFu);
}

// Grouping.AutoSelectGroup: a click on an expanded node row selects the
// node's rows (flags them with disjunct rows); a contracted node does not.
TEST_F(PointerFixture, ClickOnAnExpandedNodeSelectsItsGroup)
{
    G->SetRowCount(8);
    G->AddNode(2, 3);
    G->Grouping()->SetAutoSelectGroup(true);
    ClickCell(3, 2);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 2, 5, 4}));
    ClickCell(3, 6);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{3, 6, 3, 6}));
    G->MouseActions()->SetDisjunctRowSelect(true);
    ClickCell(3, 2);
    EXPECT_EQ(G->CountSelectedRows(), 3);
    EXPECT_TRUE(G->GetRowSelect(4));
    G->ContractNode(2);
    ClickCell(3, 5);
    ClickCell(3, 2);
    EXPECT_EQ(G->CountSelectedRows(), 1);
}

// RangeSelectAndEdit: a drag selects a range; a click on the current cell
// edits it; Shift+click on another cell extends the range without editing.
TEST_F(PointerFixture, RangeSelectAndEditByMouse)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->MouseActions()->SetRangeSelectAndEdit(true);
    G->MoveColRow(5, 5, true, true);
    const gui::TRect a = Cell(1, 1), b = Cell(3, 3);
    std::vector<gui::TGridRect> changes;
    G->OnSelectionChanged = [&](rtl::TObject*, int l, int t, int r, int bottom) { changes.push_back({l, t, r, bottom}); };
    Press(a.Left + 10, a.Top + 10);
    changes.clear();
    gui::sim::MouseMove(G, b.Left + 10, b.Top + 10, {TShiftStateItem::ssLeft});
    // The drag reports the selection as it grows.
    EXPECT_EQ(changes, (std::vector<gui::TGridRect>{{1, 1, 3, 3}}));
    Release(b.Left + 10, b.Top + 10);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 3, 3}));
    EXPECT_FALSE(G->EditorMode());
    ClickCell(2, 2);
    EXPECT_FALSE(G->EditorMode());
    ClickCell(2, 2);
    EXPECT_TRUE(G->EditorMode());
    G->HideInplaceEdit();
    ClickCell(4, 4, {TShiftStateItem::ssShift});
    EXPECT_EQ(G->Selection(), (gui::TGridRect{2, 2, 4, 4}));
    EXPECT_FALSE(G->EditorMode());
}

// OnClick fires for a click on a header cell.
TEST_F(PointerFixture, HeaderClickFiresOnClick)
{
    int clicks = 0;
    G->OnClick = [&](rtl::TObject*) { ++clicks; };
    ClickCell(3, 0);
    EXPECT_EQ(clicks, 1);
    ClickCell(0, 3);
    EXPECT_EQ(clicks, 2);
}

// URLEdit: a right click on an address cell makes it current and edits it.
TEST_F(PointerFixture, RightClickEditsAnAddressWithUrlEdit)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
    G->SetURLShow(true);
    G->SetCells(3, 3, "https://example.org/eclipse");
    const gui::TRect r = Cell(3, 3);
    gui::sim::Click(G, r.Left + 10, r.Top + 10, TMouseButton::mbRight);
    EXPECT_FALSE(G->EditorMode());
    EXPECT_EQ(G->Row(), 1);
    G->SetURLEdit(true);
    gui::sim::Click(G, r.Left + 10, r.Top + 10, TMouseButton::mbRight);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_TRUE(G->EditorMode());
}

// Dragging down the row headers to the grid's bottom edge scrolls the rows
// one by one; back over the header row they scroll back.
TEST_F(PointerFixture, RowHeaderDragScrollsAtTheEdges)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->MouseActions()->SetRowSelect(true);
    G->SetRowCount(40);
    const gui::TRect start = Cell(0, 2);
    const int x = (start.Left + start.Right) / 2;
    Press(x, start.Top + 10);
    const int bottom = G->ClientHeight() - 2;
    for (int i = 0; i < 3; ++i) gui::sim::MouseMove(G, x, bottom - i % 2, {TShiftStateItem::ssLeft});
    EXPECT_EQ(G->TopRow(), 4);
    const gui::TGridRect grown = G->Selection();
    EXPECT_EQ(grown.Top, 2);
    EXPECT_GE(grown.Bottom, G->TopRow() + G->VisibleRowCount() - 1);
    gui::sim::MouseMove(G, x, 10, {TShiftStateItem::ssLeft});
    EXPECT_EQ(G->TopRow(), 3);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 2, 5, 3}));
    Release(x, 10);
}

// While a header is dragged to another column it stays drawn pressed (the
// down gradient) and the header under the pointer does not light up; the
// release ends the look.
TEST_F(PointerFixture, MovedHeaderStaysHotWhileDragged)
{
    G->SetLook(TGridLook::glXP);
    G->SetFlat(false);
    G->SetHoverFixedCells(THoverFixedCells::hfFixedRows);
    G->SetKVRGradientDownFrom(0x0000FF);
    G->SetKVRGradientDownTo(0x0000FF);
    G->SetKVRGradientDownMirrorFrom(0x0000FF);
    G->SetKVRGradientDownMirrorTo(0x0000FF);
    G->SetKVRGradientHoverFrom(0x00FF00);
    G->SetKVRGradientHoverTo(0x00FF00);
    G->SetKVRGradientHoverMirrorFrom(0x00FF00);
    G->SetKVRGradientHoverMirrorTo(0x00FF00);
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goColMoving});
    const gui::TRect from = Cell(2, 0), to = Cell(4, 0);
    Press(from.Left + 20, from.Top + 10);
    ASSERT_EQ(G->GridState(), gui::TGridState::gsColMoving);
    gui::sim::MoveTo(G, to.Left + 20, to.Top + 10, 4, {TShiftStateItem::ssLeft});
    EXPECT_EQ(G->MovingColumn(), 2);
    EXPECT_EQ(Pixel(from.Left + 10, from.Top + 5), 0x0000FFu);
    const gui::TColor under = Pixel(to.Left + 10, to.Top + 5);
    EXPECT_NE(under, 0x0000FFu);
    EXPECT_NE(under, 0x00FF00u);
    Release(to.Left + 20, to.Top + 10);
    EXPECT_EQ(G->MovingColumn(), -1);
    EXPECT_NE(Pixel(from.Left + 10, from.Top + 5), 0x0000FFu);
}

// HintShowSizing: dragging a column border shows the width in a hint
// window in HintColor at the sized column's top-left corner; the release
// closes it.  Without the setting no window shows.
TEST_F(PointerFixture, SizingHintWindowFollowsTheBorder)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goColSizing});
    const gui::TRect c2 = Cell(2, 0);
    auto drag = [&](int dx) {
        gui::sim::MouseMove(G, c2.Right, c2.Top + 5);
        gui::sim::MouseDown(G, TMouseButton::mbLeft, c2.Right, c2.Top + 5);
        gui::sim::MouseMove(G, c2.Right + dx, c2.Top + 5, {TShiftStateItem::ssLeft});
    };
    drag(10);
    EXPECT_TRUE(G->SizingHintWindow() == nullptr || !G->SizingHintWindow()->Visible());
    Release(c2.Right + 10, c2.Top + 5);

    G->SetHintShowSizing(true);
    G->SetHintColor(0x80FFFF);
    G->SetColWidths(2, 64);
    drag(16);
    THTMLHintWindow* w = G->SizingHintWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->Visible());
    EXPECT_EQ(w->Caption(), "cw=<b>80</b>");
    const gui::TRect now = Cell(2, 0);
    EXPECT_EQ(w->BoundsRect().TopLeft(), G->ClientToScreen({now.Left, now.Top}));
    EXPECT_GT(w->Width(), 20);
    std::unique_ptr<gui::TBitmap> shot = w->GetImage();
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->Canvas()->Pixels(w->Width() - 3, w->Height() / 2), 0x80FFFFu);
    Release(c2.Right + 16, c2.Top + 5);
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(G->ColWidths(2), 80);
}

// With ColSelect a press on a column header selects the column, and its
// drop-down button still opens the menu.
TEST_F(PointerFixture, DropDownButtonWorksWithColumnSelect)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->MouseActions()->SetColSelect(true);
    G->SetHoverFixedCells(THoverFixedCells::hfFixedRows);
    G->ControlLook()->SetFixedDropDownButton(true);
    auto* menu = new RecordingMenu(&Form);
    G->SetFixedDropDownMenu(menu);
    const gui::TRect r = Cell(3, 0);
    Click(r.Left + 20, r.Top + 10);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{3, 1, 3, 5}));
    EXPECT_TRUE(menu->Shown.empty());
    Click(r.Right - 6, r.Top + 10);
    ASSERT_EQ(menu->Shown.size(), 1u);
    EXPECT_EQ(menu->Tag(), 3);
}

// The cursor follows what a press would select: an arrow down over a
// column header (ColSelect), right over a row header (RowSelect), down-right
// over the corner (AllSelect), the grid's own over cells and without the
// setting; the cell selector's cross; the splitter on a fixed border the
// grid sizes itself.  None of them changes the grid's Cursor.
TEST_F(PointerFixture, CursorShowsWhatAPressSelects)
{
    G->SetCursor(gui::crIBeam);
    G->MouseActions()->SetSizeFixedCol(true);
    struct Case {
        bool all, rows, cols, selector;
        int c, r;
        gui::TCursor want;
    } cases[] = {
        {true, true, true, false, 3, 0, 8011},  {true, true, true, false, 0, 3, 8010},
        {true, true, true, false, 0, 0, 8012},  {true, true, true, false, 3, 3, gui::crIBeam},
        {false, false, false, false, 3, 0, gui::crIBeam}, {false, false, false, false, 0, 0, gui::crIBeam},
        {false, false, false, true, 3, 3, 8014},
    };
    for (const Case& k : cases) {
        G->MouseActions()->SetAllSelect(k.all);
        G->MouseActions()->SetRowSelect(k.rows);
        G->MouseActions()->SetColSelect(k.cols);
        G->SetCellSelectorMode(k.selector);
        const gui::TRect rc = Cell(k.c, k.r);
        gui::sim::MouseMove(G, rc.Left + 20, rc.Top + 10);
        EXPECT_EQ(gui::ShownWindowCursor(G), k.want) << k.c << "," << k.r;
        EXPECT_EQ(G->Cursor(), gui::crIBeam);
    }
    EXPECT_TRUE(gui::Screen->HasCursor(8010) && gui::Screen->HasCursor(8011) && gui::Screen->HasCursor(8012) &&
                gui::Screen->HasCursor(8014));
    G->SetCellSelectorMode(false);
    gui::sim::MouseMove(G, Cell(0, 2).Right, Cell(0, 2).Top + 10);
    EXPECT_EQ(gui::ShownWindowCursor(G), gui::crHSplit);
    // The column header's cursor lasts through a drag over the headers and
    // ends with the release.
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->MouseActions()->SetColSelect(true);
    Press(Cell(2, 0).Left + 20, 10);
    gui::sim::MoveTo(G, Cell(4, 0).Left + 20, 10, 3, {TShiftStateItem::ssLeft});
    EXPECT_EQ(gui::ShownWindowCursor(G), 8011);
    gui::sim::MouseMove(G, Cell(4, 3).Left + 20, Cell(4, 3).Top + 10, {TShiftStateItem::ssLeft});
    Release(Cell(4, 3).Left + 20, Cell(4, 3).Top + 10);
    EXPECT_EQ(gui::ShownWindowCursor(G), gui::crIBeam);
}
