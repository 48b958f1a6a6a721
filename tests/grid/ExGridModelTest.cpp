// The string grid's data model, painting and small hooks as a user of the
// library meets them: copying every settings object, the texts a cell is
// saved as, rows inserted and deleted by key inside node groups, error
// markers painted as a red wavy underline, AutoSize sizing the columns, and
// the overridable slots a descendant relies on.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "grid/ExGridEditors.h"
#include "grid/ExInplaceEdit.h"
#include "platform/gui/InputSim.h"

using namespace grid;

namespace {

// Counts the slot calls a descendant would see.
struct SlotGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<int> WheelDeltas;
    bool RefuseWheel = false;
    int Appends = 0;
    std::vector<std::string> Positions;
    std::vector<bool> Formula;
    void EditorTextPositionChanged(const std::string& text, gui::TPoint p, int selStart) override
    {
        Positions.push_back(text + "@" + std::to_string(selStart) + (p.X > 2 ? "+" : p.X < 0 ? "-" : "0"));
    }
    void FormulaEditMode(bool active) override { Formula.push_back(active); }
    const std::vector<int>& OrigSizes() const { return FOrigColSizes; }
    std::vector<int> AskedInsert;
    bool RefuseInsert = false;
    void WheelMoved(int rowDelta, bool& handled) override
    {
        WheelDeltas.push_back(rowDelta);
        if (RefuseWheel) handled = false;
    }
    void IncRowCount() override
    {
        ++Appends;
        TExStringGrid::IncRowCount();
    }
    void CanInsertRow(int aRow, bool& canInsert) override
    {
        AskedInsert.push_back(aRow);
        if (RefuseInsert) canInsert = false;
    }
};

struct ModelFixture : testing::Test {
    gui::TForm Form{nullptr};
    SlotGrid* G;
    ModelFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G = new SlotGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetScrollBars(gui::TScrollStyle::ssNone);
        G->SetColCount(5);
        G->SetRowCount(10);
        G->SetDefaultColWidth(100);
        G->SetDefaultRowHeight(24);
        G->Font()->SetName("Liberation Sans");
        G->Font()->SetSize(10);
        G->Font()->SetColor(0);
        G->SetColor(gui::clWhite);
        G->SetLook(TGridLook::glStandard);
        Form.Show();
        G->SetFocus();
    }
    void Key(uint16_t vk, gui::TShiftState shift = {}) { gui::sim::KeyPress(vk, shift, G); }
    // Pixels of rect that are clearly red (TColor is 0x00BBGGRR).
    static int Reddish(gui::TBitmap& bmp, const gui::TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const gui::TColor p = bmp.Canvas()->Pixels(x, y);
                if ((p & 0xFF) > 180 && ((p >> 8) & 0xFF) < 90 && ((p >> 16) & 0xFF) < 90) ++n;
            }
        return n;
    }
};

} // namespace

// --- saved cell texts --------------------------------------------------------

TEST_F(ModelFixture, SavedTextOfCheckBoxMarkupAndRichCells)
{
    G->AddCheckBox(1, 1, true, false);
    G->AddCheckBox(1, 2, false, false);
    G->SetCells(2, 1, "<B>bold</B>");
    G->SetCells(2, 2, "{\\rtf1\\ansi plain words}");
    G->SetEnableHTML(false);  // markup is looked for when saving all the same

    struct Case {
        int Col, Row;
        bool WithHTML, WithRTF;
        std::string Expected;
    } cases[] = {
        {1, 1, false, false, "Y"},  // checked empty check box
        {1, 2, false, false, "N"},  // unchecked
        {2, 1, false, false, "bold"},
        {2, 1, true, false, "<B>bold</B>"},
        {2, 2, false, false, "plain words"},
        {2, 2, false, true, "{\\rtf1\\ansi plain words}"},
    };
    for (const Case& c : cases) {
        G->SetSaveWithHTML(c.WithHTML);
        G->SetSaveWithRTF(c.WithRTF);
        std::string text;
        G->SaveCellText(c.Col, c.Row, text);
        EXPECT_EQ(rtl::Trim(text), c.Expected) << c.Col << "," << c.Row;
    }
}

// --- rows by key inside node groups ------------------------------------------

TEST_F(ModelFixture, InsertAndDeleteByKeyKeepTheNodeGroupRight)
{
    G->Navigation()->SetAllowInsertRow(true);
    G->Navigation()->SetAllowDeleteRow(true);
    G->AddNode(2, 3);  // rows 2 (the node), 3 and 4
    ASSERT_EQ(G->GetNodeSpan(2), 3);
    const int rows = G->RowCount();
    G->SetCol(2);
    G->SetRow(3);
    Key(gui::VK_INSERT);
    EXPECT_EQ(G->RowCount(), rows + 1);
    EXPECT_EQ(G->GetNodeSpan(2), 4) << "the new row joins the node's group";

    G->SetCol(2);
    G->SetRow(3);
    Key(gui::VK_DELETE, {gui::TShiftStateItem::ssCtrl});
    EXPECT_EQ(G->AskedInsert, std::vector<int>{3});
    EXPECT_EQ(G->RowCount(), rows);
    EXPECT_EQ(G->GetNodeSpan(2), 3);
}

TEST_F(ModelFixture, RefusedInsertAddsNoRow)
{
    G->Navigation()->SetAllowInsertRow(true);
    G->RefuseInsert = true;
    G->SetRow(4);
    Key(gui::VK_INSERT);
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(G->AskedInsert, std::vector<int>{4});
}

// --- painting ----------------------------------------------------------------

TEST_F(ModelFixture, ErrorMarkerIsAWavyRedUnderlineUnderTheMarkedCharacters)
{
    G->SetCells(2, 2, "a misspeled word");
    G->SetCells(2, 3, "a misspeled word");
    G->AddMarker(2, 2, 2, 9);
    auto shot = G->GetImage();
    const gui::TRect marked = G->gui::TCustomGrid::CellRect(2, 2);
    const gui::TRect plain = G->gui::TCustomGrid::CellRect(2, 3);
    EXPECT_GT(Reddish(*shot, marked), 10);
    EXPECT_EQ(Reddish(*shot, plain), 0);
    // Under the marked characters only: nothing red left of "misspeled".
    const gui::TRect before{marked.Left, marked.Top, marked.Left + 8, marked.Bottom};
    EXPECT_EQ(Reddish(*shot, before), 0);

    G->RemoveMarker(2, 2);
    shot = G->GetImage();
    EXPECT_EQ(Reddish(*shot, marked), 0);
}

// --- dimensions --------------------------------------------------------------

TEST_F(ModelFixture, AutoSizeSizesTheColumnsToTheirContent)
{
    G->SetCells(2, 1, "a rather long text that does not fit in a hundred pixels");
    EXPECT_EQ(G->ColWidths(2), 100);
    G->SetAutoSize(true);
    EXPECT_TRUE(G->AutoSize());
    EXPECT_GT(G->ColWidths(2), 200);
    EXPECT_EQ(G->ColWidths(0), 100) << "fixed columns are left alone";
}

// --- slots -------------------------------------------------------------------

TEST_F(ModelFixture, WheelReportsItsRowStepToTheSlot)
{
    G->MouseActions()->SetWheelAction(TWheelAction::waMoveSelection);
    G->MouseActions()->SetWheelIncrement(2);
    G->SetRow(3);
    const gui::TPoint p{50, 50};
    EXPECT_TRUE(G->DoMouseWheelDown({}, p));
    EXPECT_EQ(G->Row(), 5);
    G->RefuseWheel = true;
    EXPECT_FALSE(G->DoMouseWheelUp({}, p));
    EXPECT_EQ(G->WheelDeltas, (std::vector<int>{2, -2}));
}

TEST_F(ModelFixture, TabAtTheLastCellAppendsThroughTheSlot)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goTabs});
    G->Navigation()->SetAdvanceInsert(true);
    G->SetCol(4);
    G->SetRow(9);
    Key(gui::VK_TAB);
    EXPECT_EQ(G->Appends, 1);
    EXPECT_EQ(G->RowCount(), 11);
}

// --- data model --------------------------------------------------------------

TEST_F(ModelFixture, MergedColumnsMergeEqualNeighboursOnEveryChange)
{
    for (int r = 1; r < 5; ++r) G->SetCells(1, r, r < 3 ? "same" : "other");
    G->MergedColumns()->Add(1);
    EXPECT_EQ(G->BaseCell(1, 2), (gui::TPoint{1, 1}));
    EXPECT_EQ(G->BaseCell(1, 4), (gui::TPoint{1, 3}));
    G->MergedColumns()->Delete(0);
    EXPECT_EQ(G->BaseCell(1, 2), (gui::TPoint{1, 2})) << "a removed column is split again";
}

TEST_F(ModelFixture, AutoRangeCellScrollBarTakesTheTextHeight)
{
    G->SetMultilinecells(true);
    G->AddScrollBar(2, 2, true);
    G->SetCellText(2, 2, "one\r\ntwo\r\nthree\r\nfour\r\nfive");
    const TScrollProp p = G->GetScrollProp(2, 2);
    EXPECT_EQ(p.PageSize, 24);
    EXPECT_GT(p.Range, 4 * 12) << "five lines of text";
    G->AddScrollBar(3, 2, false);
    G->SetCellText(3, 2, "one\r\ntwo\r\nthree");
    EXPECT_EQ(G->GetScrollProp(3, 2).Range, 100) << "a fixed range stays";
}

TEST_F(ModelFixture, LoadedKeepsTheOriginalColumnSizes)
{
    G->SetColWidths(2, 140);
    G->Loaded();
    ASSERT_EQ(G->OrigSizes().size(), 5u);
    EXPECT_EQ(G->OrigSizes()[2], 140);
}

TEST_F(ModelFixture, DatePickerCloseUpFiresAndMayEndTheEdit)
{
    std::vector<std::pair<int, int>> seen;
    G->OnDatePickerCloseUp = [&](rtl::TObject* s, int aRow, int aCol) {
        EXPECT_EQ(s, G);
        seen.push_back({aCol, aRow});
    };
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edDateEdit; };
    G->SetCells(2, 3, "2026-12-11");
    G->MoveColRow(2, 3, true, false);
    G->ShowEditor();
    ASSERT_TRUE(G->EditDate()->Visible());
    G->EditDate()->DropDown();
    G->EditDate()->CloseUp();
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{2, 3}}));
    EXPECT_TRUE(G->EditDate()->Visible()) << "without DirectDateClose the editor stays";
    G->MouseActions()->SetDirectDateClose(true);
    G->EditDate()->DropDown();
    G->EditDate()->CloseUp();
    EXPECT_FALSE(G->EditDate()->Visible());
}

// --- the text editor's hooks -------------------------------------------------

TEST_F(ModelFixture, TextEditorReportsCaretFormulaHistoryAndDoubleClick)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->SetLookupHistory(true);
    std::vector<std::pair<int, int>> dbl;
    G->OnDblClickCell = [&](rtl::TObject*, int aRow, int aCol) { dbl.push_back({aCol, aRow}); };
    G->MoveColRow(2, 2, true, false);
    G->ShowEditor();
    auto* ed = dynamic_cast<TExInplaceEdit*>(G->InplaceEditor());
    ASSERT_TRUE(ed && ed->Visible());
    gui::sim::TypeText("=1", ed);
    ASSERT_FALSE(G->Positions.empty());
    EXPECT_EQ(G->Positions.back(), "=1@2+");
    ASSERT_FALSE(G->Formula.empty());
    EXPECT_TRUE(G->Formula.back());

    gui::sim::DblClick(ed, 5, 5);
    EXPECT_EQ(dbl, (std::vector<std::pair<int, int>>{{2, 2}}));

    ed->Perform(gui::WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(G->Formula.back());
    EXPECT_EQ(G->Positions.back(), "=1@-1-");
    EXPECT_GE(G->LookupItems()->IndexOf("=1"), 0) << "LookupHistory keeps the typed text";
}
