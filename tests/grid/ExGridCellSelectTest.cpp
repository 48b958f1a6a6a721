// The selected-cells list (rectangle against disjunct accumulation), the
// column flags from the selection, focusing a cell, and the selection as
// text with rich cells and whole rows; cells picked one by one with the
// mouse (Ctrl adds and removes, a plain click starts anew, a range joins).
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace grid;

namespace {

struct CellSelectFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    CellSelectFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 400);
        G->SetColCount(5);
        G->SetRowCount(6);
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 5; ++c) G->SetCells(c, r, std::string(1, static_cast<char>('a' + c)) + std::to_string(r));
    }
    gui::TPoint Centre(int c, int r) const
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void Click(int c, int r, gui::TShiftState shift = {})
    {
        const gui::TPoint p = Centre(c, r);
        gui::sim::MouseMove(G, p.X, p.Y, shift);
        gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, p.X, p.Y, shift);
        gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, p.X, p.Y, shift);
    }
    // The listed cells as "c,r" texts in list order.
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> out;
        for (int i = 0;; ++i) {
            const gui::TPoint p = G->SelectedCell(i);
            if (p.X < 0) return out;
            out.push_back(std::to_string(p.X) + "," + std::to_string(p.Y));
        }
    }
};

const gui::TShiftState kCtrl{gui::TShiftStateItem::ssCtrl};
const gui::TShiftState kShift{gui::TShiftStateItem::ssShift};
using Cells = std::vector<std::string>;

} // namespace

TEST_F(CellSelectFixture, SelectedCellsRectangleAgainstDisjunct)
{
    struct Case {
        bool disjunct;
        int afterRect, afterOne, afterOther;
    };
    // A 2 x 3 rectangle, then the current cell (2, 2), then (3, 4).
    for (const Case& c : {Case{false, 6, 1, 1}, Case{true, 6, 6, 7}}) {
        G->ClearSelectedCells();
        G->MouseActions()->SetDisjunctCellSelect(c.disjunct);
        G->SetSelection({1, 2, 2, 4});
        EXPECT_EQ(G->SelectedCellsCount(), c.afterRect) << c.disjunct;
        EXPECT_EQ(G->SelectedCell(0).X, 1);
        EXPECT_EQ(G->SelectedCell(1).Y, 3);  // columns outer, rows inner
        G->FocusCell(2, 2);
        EXPECT_EQ(G->SelectedCellsCount(), c.afterOne) << c.disjunct;
        G->FocusCell(3, 4);
        EXPECT_EQ(G->SelectedCellsCount(), c.afterOther) << c.disjunct;
        EXPECT_EQ(G->SelectedCell(G->SelectedCellsCount() - 1).X, 3);
        EXPECT_EQ(G->SelectedCell(99).X, -1);
    }
    G->ClearSelectedCells();
    EXPECT_EQ(G->Selection().Left, G->FixedCols());
    EXPECT_EQ(G->Selection().Top, G->FixedRows());
    EXPECT_EQ(G->SelectedCell(0).X, -1);
}

TEST_F(CellSelectFixture, MarkSelectedColsFromTheRectangle)
{
    G->MouseActions()->SetDisjunctColSelect(true);
    G->SetColSelect(4, true);
    G->SetSelection({2, 1, 3, 1});
    G->MarkSelectedCols(false);
    EXPECT_TRUE(G->GetColSelect(2));
    EXPECT_TRUE(G->GetColSelect(3));
    EXPECT_TRUE(G->GetColSelect(4));
    G->SetSelection({1, 1, 1, 1});
    G->MarkSelectedCols(true);
    EXPECT_TRUE(G->GetColSelect(1));
    EXPECT_FALSE(G->GetColSelect(2));
    EXPECT_FALSE(G->GetColSelect(4));
}

TEST_F(CellSelectFixture, FocusCellMovesTheCurrentCellAndAnchor)
{
    G->FocusCell(3, 4);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(G->Selection().Left, 3);
    EXPECT_EQ(G->Selection().Top, 4);
    G->InvalidateGridRect({1, 1, 3, 4});  // a repaint request only
}

TEST_F(CellSelectFixture, SelectedTextTakesRichCellsAsPlainTextAndWholeRows)
{
    G->SetCells(2, 2, "{\\rtf1 one {\\b two}}");
    G->SetSelection({1, 2, 2, 3});
    EXPECT_EQ(G->SelectedText(), "b2\tone two\r\nb3\tc3");
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
    G->SetSelection({1, 3, 4, 3});
    EXPECT_EQ(G->SelectedText(), "b3\tc3\td3\te3");
    G->DragDropSettings()->SetOleEntireRows(true);
    EXPECT_EQ(G->SelectedText(), "a3\tb3\tc3\td3\te3");
}

TEST_F(CellSelectFixture, ComboItemListAndWideTexts)
{
    G->ClearComboString();
    G->AddComboString("North");
    rtl::TObject tag;
    G->AddComboStringObject("South", &tag);
    EXPECT_EQ(G->GetComboCount(), 2);
    EXPECT_TRUE(G->SetComboSelectionString("South"));
    EXPECT_EQ(G->ComboIdx(), 1);
    EXPECT_FALSE(G->SetComboSelectionString("East"));
    EXPECT_EQ(G->ComboIdx(), 1);
    G->SetComboSelection(0);
    EXPECT_EQ(G->ComboIdx(), 0);
    EXPECT_FALSE(G->RemoveComboString("East"));
    EXPECT_TRUE(G->RemoveComboString("North"));
    EXPECT_EQ(G->GetComboCount(), 1);
    G->ClearComboString();
    EXPECT_EQ(G->GetComboCount(), 0);

    G->SetCellTextWide(1, 1, u"\u00e9t\u00e9 \u20ac");
    EXPECT_EQ(G->Cells(1, 1), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
    G->MergeCells(2, 2, 2, 1);
    G->SetCellTextWide(3, 2, u"m\u00fc");  // a covered cell writes its base cell
    EXPECT_EQ(G->GetCellTextWide(2, 2), u"m\u00fc");
}

TEST_F(CellSelectFixture, DisjunctCellsByMouse)
{
    Form.Show();
    G->SetFocus();
    G->MouseActions()->SetDisjunctCellSelect(true);
    struct Step {
        int col, row;
        gui::TShiftState shift;
        Cells listed;
    };
    const Step steps[] = {
        {1, 1, {}, {"1,1"}},
        {3, 2, kCtrl, {"1,1", "3,2"}},
        {2, 4, kCtrl, {"1,1", "3,2", "2,4"}},
        {3, 2, kCtrl, {"1,1", "2,4"}},           // Ctrl on a listed cell takes it out
        {4, 5, {}, {"4,5"}},                      // a plain click starts anew
        {3, 3, kShift, {"3,3", "3,4", "3,5", "4,3", "4,4", "4,5"}},  // the range joins whole
        {1, 0, kCtrl, {"3,3", "3,4", "3,5", "4,3", "4,4", "4,5"}},   // Ctrl on a header keeps it
        {0, 2, {}, {}},                           // a plain click on a header ends it
    };
    for (const Step& s : steps) {
        Click(s.col, s.row, s.shift);
        EXPECT_EQ(Listed(), s.listed) << s.col << "," << s.row;
    }

    // A drag over cells lists them all.
    const gui::TPoint a = Centre(1, 1), b = Centre(2, 2);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, a.X, a.Y);
    gui::sim::MouseMove(G, b.X, b.Y, {gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, b.X, b.Y);
    EXPECT_EQ(Listed(), (Cells{"2,2", "1,1", "1,2", "2,1"}));

    // A cell the selection test refuses is not taken.
    G->OnSelectCell = [](rtl::TObject*, int c, int, bool& can) { can = c != 3; };
    Click(3, 1, kCtrl);
    Click(4, 1, kCtrl);
    EXPECT_EQ(Listed(), (Cells{"2,2", "1,1", "1,2", "2,1", "4,1"}));

    // Off, the clicks list nothing.
    G->OnSelectCell = nullptr;
    G->MouseActions()->SetDisjunctCellSelect(false);
    Click(1, 1);
    Click(2, 3, kCtrl);
    EXPECT_EQ(Listed(), (Cells{"2,2", "1,1", "1,2", "2,1", "4,1"}));
}

TEST_F(CellSelectFixture, DisjunctCellsPaintSelected)
{
    const gui::TColor sel = 0x0000FF, back = 0xFFFFFF;
    G->SetSelectionColor(sel);
    G->SetColor(back);
    G->SetHideFocusRect(true);
    Form.Show();
    G->SetFocus();
    G->MouseActions()->SetDisjunctCellSelect(true);
    Click(1, 1);
    Click(3, 2, kCtrl);
    Click(2, 4, kCtrl);
    Click(2, 4, kCtrl);  // the current cell, taken out again
    auto shot = G->GetImage();
    auto colour = [&](int c, int r) {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return shot->Canvas()->Pixels(rc.Right - 4, rc.Bottom - 4);
    };
    EXPECT_EQ(colour(1, 1), gui::ColorToRGB(sel));
    EXPECT_EQ(colour(3, 2), gui::ColorToRGB(sel));
    EXPECT_EQ(colour(2, 4), gui::ColorToRGB(back));
    EXPECT_EQ(colour(3, 3), gui::ColorToRGB(back));
}

TEST_F(CellSelectFixture, ControlsPlacedInCellsFollowTheirCells)
{
    Form.Show();
    G->SetRowCount(30);
    auto* box = new gui::TPanel(&Form);
    box->SetParent(G);
    G->ControlItems().push_back({2, 3, box});
    const auto over = [&](int c, int r) {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return box->Visible() && box->Left() == rc.Left && box->Top() == rc.Top &&
               box->Width() == rc.Width() - 1 && box->Height() == rc.Height() - 1;
    };
    G->CellControlsUpdate();
    EXPECT_TRUE(over(2, 3));
    G->SetColWidths(1, 90);  // sizing moves it along
    EXPECT_TRUE(over(2, 3));
    G->InsertRows(1, 2);     // rows above push it down
    EXPECT_TRUE(over(2, 5));
    G->HideRow(5);           // its row hidden: so is it
    EXPECT_FALSE(box->Visible());
    G->UnHideRow(5);
    EXPECT_TRUE(over(2, 5));
    G->HideRows(1, 2);       // rows above hidden: it moves up
    EXPECT_TRUE(over(2, 3));
    G->UnHideRowsAll();
    G->HideColumn(2);
    EXPECT_FALSE(box->Visible());
    G->UnHideColumn(2);
    EXPECT_TRUE(over(2, 5));
    G->SetTopRow(10);        // scrolled out of view
    EXPECT_FALSE(box->Visible());
    G->SetTopRow(1);
    EXPECT_TRUE(over(2, 5));
    G->RemoveRows(1, 2);
    EXPECT_TRUE(over(2, 3));
}

TEST_F(CellSelectFixture, DisjunctCellsBySpaceRelease)
{
    Form.Show();
    G->SetFocus();
    G->MouseActions()->SetDisjunctCellSelect(true);
    const auto space = [](gui::TShiftState shift = {}) { gui::sim::KeyUp(gui::VK_SPACE, shift); };
    struct Step {
        gui::TGridRect sel;  // the selection before the release; Right/Bottom is the current cell
        gui::TShiftState shift;
        Cells listed;
    };
    const Step steps[] = {
        {{1, 1, 1, 1}, {}, {"1,1"}},
        {{3, 2, 3, 2}, kCtrl, {"1,1", "3,2"}},
        {{3, 2, 3, 2}, kCtrl, {"1,1"}},                         // Ctrl takes the current cell out
        {{2, 4, 2, 4}, {}, {"2,4"}},                             // plain Space starts anew
        {{3, 1, 4, 2}, kCtrl, {"2,4", "4,2", "3,1", "3,2", "4,1"}},  // a range joins, its current cell first
    };
    for (const Step& s : steps) {
        G->SetSelection(s.sel);
        space(s.shift);
        EXPECT_EQ(Listed(), s.listed) << s.sel.Left << "," << s.sel.Top;
    }

    // Other keys, a refused cell and editing grids list nothing.
    G->FocusCell(1, 5);
    gui::sim::KeyUp('A');
    G->OnSelectCell = [](rtl::TObject*, int c, int, bool& can) { can = c != 1; };
    space(kCtrl);
    G->OnSelectCell = nullptr;
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    space(kCtrl);
    EXPECT_EQ(Listed(), (Cells{"2,4", "4,2", "3,1", "3,2", "4,1"}));
}

TEST_F(CellSelectFixture, ACellTakenOutIsNotCountedBackWhileCurrent)
{
    Form.Show();
    G->SetFocus();
    G->MouseActions()->SetDisjunctCellSelect(true);
    Click(1, 1);
    Click(3, 2, kCtrl);
    Click(3, 2, kCtrl);  // out again; it is still the current cell
    EXPECT_EQ(G->SelectedCellsCount(), 1);
    EXPECT_EQ(Listed(), (Cells{"1,1"}));
    G->FocusCell(4, 4);  // moving on, reads take the current cell again
    EXPECT_EQ(G->SelectedCellsCount(), 2);
    G->FocusCell(3, 2);
    EXPECT_EQ(G->SelectedCellsCount(), 3);
    gui::sim::KeyUp(gui::VK_SPACE, kCtrl);  // the same by keyboard
    EXPECT_EQ(G->SelectedCellsCount(), 2);
    EXPECT_EQ(Listed(), (Cells{"1,1", "4,4"}));
}

TEST_F(CellSelectFixture, KeyReleaseEndsSearchAndOpensTheEditor)
{
    Form.Show();
    G->SetFocus();
    std::vector<uint16_t> released;
    G->OnKeyUp = [&](rtl::TObject*, uint16_t& k, gui::TShiftState) { released.push_back(k); };
    G->Navigation()->SetAutoGotoWhenSorted(true);
    G->Navigation()->SetAutoGotoIncremental(true);
    gui::sim::TypeText("b");
    EXPECT_EQ(G->IncrementalSearchText(), "b");
    gui::sim::KeyUp('C');
    EXPECT_EQ(G->IncrementalSearchText(), "b");  // a letter keeps it
    gui::sim::KeyUp(gui::VK_DOWN);
    EXPECT_EQ(G->IncrementalSearchText(), "");
    ASSERT_FALSE(released.empty());
    EXPECT_EQ(released.back(), gui::VK_DOWN);
    G->Navigation()->SetAutoGotoWhenSorted(false);

    // AlwaysEdit: the editor opens on the cell an arrow reached, not on a
    // check box cell, and not after other keys.
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->Navigation()->SetAlwaysEdit(true);
    G->AddCheckBox(2, 3, false, false);
    G->FocusCell(2, 1);
    gui::sim::KeyUp(gui::VK_F5);
    EXPECT_FALSE(G->EditorMode());
    gui::sim::KeyPress(gui::VK_DOWN);
    EXPECT_EQ(G->Row(), 2);
    EXPECT_TRUE(G->EditorMode());
    G->HideInplaceEdit();
    G->SetFocus();
    gui::sim::KeyPress(gui::VK_DOWN);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_FALSE(G->EditorMode());
}

TEST_F(CellSelectFixture, CellScrollBarFollowsItsCell)
{
    Form.Show();
    G->SetRowCount(40);
    G->AddScrollBar(2, 3, false);  // page 0, range 100: the bar shows
    const gui::TPoint p = Centre(2, 3);
    gui::sim::MouseMove(G, p.X, p.Y);
    gui::TScrollBar* bar = nullptr;
    for (int i = 0; i < G->ControlCount(); ++i)
        if (auto* b = dynamic_cast<gui::TScrollBar*>(G->Controls(i)); b && b->Visible()) bar = b;
    ASSERT_NE(bar, nullptr);
    const auto atRightEdge = [&](int c, int r) {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return bar->Left() == rc.Right - bar->Width() && bar->Top() == rc.Top && bar->Height() == rc.Height();
    };
    G->FocusCell(4, 5);     // the current cell elsewhere: the bar stays with its cell
    G->SetColWidths(1, 120);
    EXPECT_TRUE(atRightEdge(2, 3));
    G->SetTopRow(2);
    EXPECT_TRUE(atRightEdge(2, 3));
    G->SetTopRow(20);       // out of view: no height
    EXPECT_EQ(bar->Height(), 0);
    G->SetTopRow(1);
    EXPECT_TRUE(atRightEdge(2, 3));
}

TEST_F(CellSelectFixture, SelectAndTheDateTimePicker)
{
    int asked = 0;
    G->FocusCell(3, 4);
    G->OnSelectCell = [&](rtl::TObject*, int c, int r, bool&) { asked += c == 3 && r == 4; };
    G->Select();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(G->Col(), 3);
    ASSERT_NE(G->DateTimePicker(), nullptr);
    EXPECT_EQ(G->DateTimePicker(), G->EditDateTime());
    G->SetMaxEditLength(12);
    EXPECT_EQ(G->GetEditLengthLimit(), 12);
}
