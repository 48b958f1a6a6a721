// The selected-cells list (rectangle against disjunct accumulation), the
// column flags from the selection, focusing a cell, and the selection as
// text with rich cells and whole rows; cells picked one by one with the
// mouse (Ctrl adds and removes, a plain click starts anew, a range joins).
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/InputSim.h"

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
