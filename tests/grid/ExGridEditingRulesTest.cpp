// The string grid's editing rules as a user of the library meets them: the
// text editor right-aligned for right-aligned cells and wrapping with the
// grid's WordWrap, leaving it by Up and Down with a disjunct row selection,
// the cursor walk on key release and with Shift, an editor closed when
// another cell becomes current, a merged area edited at once with
// DirectEdit, the inplace rich editor handing the arrows back to the grid,
// and the slots a descendant overrides (ellipsis button, version).
#include <gtest/gtest.h>

#include <tuple>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "grid/ExInplaceEdit.h"
#include "grid/ExRichEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace grid;
using gui::TGridOption;

namespace {

struct RulesGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::string EllipsAnswer;
    uint32_t Number = 0;
    std::string DoEllipsClick(const std::string& text) override
    {
        return EllipsAnswer.empty() ? TExStringGrid::DoEllipsClick(text) : text + EllipsAnswer;
    }
    uint32_t GetVersionNr() const override { return Number ? Number : TExStringGrid::GetVersionNr(); }
};

struct RulesFixture : testing::Test {
    gui::TForm Form{nullptr};
    RulesGrid* G;
    RulesFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G = new RulesGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetScrollBars(gui::TScrollStyle::ssNone);
        G->SetColCount(5);
        G->SetRowCount(8);
        G->SetDefaultColWidth(110);
        G->SetDefaultRowHeight(24);
        G->Font()->SetName("Liberation Sans");
        G->Font()->SetSize(10);
        G->SetLook(TGridLook::glStandard);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
        Form.Show();
        G->SetFocus();
    }
    TExInplaceEdit* Ed() { return dynamic_cast<TExInplaceEdit*>(G->InplaceEditor()); }
    bool EditorOpen() { return Ed() && Ed()->Visible(); }
    void Open(int c, int r)
    {
        G->MoveColRow(c, r, true, false);
        G->ShowEditor();
    }
    void Key(uint16_t vk, gui::TShiftState shift = {}) { gui::sim::KeyPress(vk, shift, Ed()); }
    // Columns of the editor's picture holding dark (text) pixels.
    static std::pair<int, int> InkColumns(gui::TWinControl* c)
    {
        gui::TBitmap bmp;
        bmp.SetSize(c->Width(), c->Height());
        c->PaintTo(bmp.Canvas(), 0, 0);
        int first = -1, last = -1;
        for (int x = 2; x < c->Width() - 2; ++x)
            for (int y = 2; y < c->Height() - 2; ++y) {
                const gui::TColor p = bmp.Canvas()->Pixels(x, y);
                if ((p & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && ((p >> 16) & 0xFF) < 90) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
            }
        return {first, last};
    }
};

} // namespace

// --- the text editor's alignment and word wrap -------------------------------

TEST_F(RulesFixture, RightAlignedCellsAreEditedRightAligned)
{
    G->SetCells(1, 1, "left");
    G->SetCells(2, 1, "right");
    G->SetCellAlignment(2, 1, TAlignment::taRightJustify);
    G->SetCells(3, 1, "1234");
    struct Case {
        int Col;
        bool AutoNumAlign, Right;
    } cases[] = {
        {1, false, false},
        {2, false, true},  // the cell's own alignment
        {3, false, false},
        {3, true, true},   // a number with AutoNumAlign
    };
    for (const Case& c : cases) {
        G->SetAutoNumAlign(c.AutoNumAlign);
        Open(c.Col, 1);
        ASSERT_TRUE(EditorOpen()) << c.Col;
        EXPECT_EQ(Ed()->VAlign(), c.Right) << c.Col;
        Ed()->SetSel(0, 0);
        const auto [first, last] = InkColumns(Ed());
        ASSERT_GE(first, 0) << c.Col;
        const int w = Ed()->Width();
        if (c.Right) {
            EXPECT_GT(last, w - 12) << "text ends at the right edge, col " << c.Col;
            EXPECT_GT(first, w / 2) << c.Col;
        } else {
            EXPECT_LT(first, 8) << "text starts at the left edge, col " << c.Col;
        }
        // A click right of the text's end puts the caret at the end.
        gui::sim::Click(Ed(), w - 3, Ed()->Height() / 2);
        EXPECT_EQ(Ed()->SelStart(), static_cast<int>(Ed()->EditText().size())) << c.Col;
        G->HideEditor();
        G->EndEditing();
    }
}

TEST_F(RulesFixture, WordWrapReachesTheEditor)
{
    G->SetRowHeights(2, 80);
    G->SetCells(2, 2, "several words that do not fit in one line");
    Open(2, 2);
    ASSERT_TRUE(EditorOpen());
    EXPECT_TRUE(Ed()->WordWrap()) << "the grid wraps by default";
    Ed()->SetSel(0, 0);
    // The first and last rows of the editor's picture holding text.
    auto inkRows = [&] {
        gui::TBitmap bmp;
        bmp.SetSize(Ed()->Width(), Ed()->Height());
        Ed()->PaintTo(bmp.Canvas(), 0, 0);
        int first = -1, last = -1;
        for (int y = 2; y < Ed()->Height() - 2; ++y)
            for (int x = 3; x < Ed()->Width() - 3; ++x) {
                const gui::TColor p = bmp.Canvas()->Pixels(x, y);
                if ((p & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && ((p >> 16) & 0xFF) < 90) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
            }
        return std::pair<int, int>{first, last};
    };
    auto [top, bottom] = inkRows();
    EXPECT_LT(top, 10) << "wrapped lines start at the top";
    EXPECT_GT(bottom, top + 24) << "and run onto further lines";
    G->SetWordWrap(false);
    EXPECT_FALSE(Ed()->WordWrap());
    std::tie(top, bottom) = inkRows();
    EXPECT_GT(top, 20) << "one line, in the middle";
    EXPECT_LT(bottom - top, 24);
    G->SetWordWrap(true);
    EXPECT_TRUE(Ed()->WordWrap());
}

TEST_F(RulesFixture, TheEditorTakesTheCellsLookAndAsksForItsProperties)
{
    std::vector<std::pair<int, int>> asked;
    bool noLink = true;
    G->OnGetEditorProp = [&](rtl::TObject*, int c, int r, TEditLink* link) {
        asked.push_back({c, r});
        noLink = noLink && link == nullptr;
    };
    G->SetCellColor(2, 2, gui::clYellow);
    G->SetCellFontColor(2, 2, gui::clRed);
    Open(2, 2);
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Ed()->Color(), gui::clYellow);
    EXPECT_EQ(Ed()->Font()->Color(), gui::clRed);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 2}}));
    EXPECT_TRUE(noLink);
    G->HideEditor();
    G->EndEditing();
    Open(3, 2);
    EXPECT_EQ(Ed()->Color(), G->Color()) << "a plain cell has the grid's colour";
}

// --- leaving the text editor -------------------------------------------------

TEST_F(RulesFixture, LeavingByUpOrDownRestartsTheDisjunctRowSelection)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    for (uint16_t key : {gui::VK_DOWN, gui::VK_UP}) {
        G->ClearRowSelect();
        G->SetRowSelect(2, true);
        G->SetRowSelect(5, true);
        Open(2, 3);
        ASSERT_TRUE(EditorOpen());
        Key(key);
        const int row = key == gui::VK_DOWN ? 4 : 2;
        EXPECT_EQ(G->Row(), row);
        EXPECT_EQ(G->RowSelectCount(), 1) << key;
        EXPECT_TRUE(G->GetRowSelect(row)) << key;
        G->EndEditing();
    }
}

TEST_F(RulesFixture, CursorWalkOnReleaseAndWithShift)
{
    G->Navigation()->SetCursorWalkEditor(true);
    G->Navigation()->SetCursorWalkAlwaysEdit(false);
    G->SetCells(3, 2, "ab");
    G->AddCheckBox(4, 2, false, false);
    struct Case {
        const char* Name;
        uint16_t Key;
        int Caret;
        bool Shift, DownOnly;
        int Col;
        bool Open;
    } cases[] = {
        {"Left pressed at the start, not released", gui::VK_LEFT, 0, false, true, 3, true},
        {"Left released at the start", gui::VK_LEFT, 0, false, false, 2, false},
        {"Left from inside only moves the caret", gui::VK_LEFT, 1, false, false, 3, true},
        {"Shift+Left at the start: the grid takes over", gui::VK_LEFT, 0, true, false, 3, false},
        {"Right released at the end onto a check box", gui::VK_RIGHT, 2, false, false, 4, false},
        {"Shift+Right inside extends the selection", gui::VK_RIGHT, 1, true, false, 3, true},
    };
    for (const Case& c : cases) {
        Open(3, 2);
        ASSERT_TRUE(EditorOpen()) << c.Name;
        Ed()->SetSel(c.Caret, 0);
        gui::TShiftState shift;
        if (c.Shift) shift.Include(gui::TShiftStateItem::ssShift);
        gui::sim::KeyDown(c.Key, shift, Ed());
        if (!c.DownOnly) gui::sim::KeyUp(c.Key, shift, Ed());
        EXPECT_EQ(G->Col(), c.Col) << c.Name;
        EXPECT_EQ(EditorOpen(), c.Open) << c.Name;
        if (c.Shift && !c.Open) { EXPECT_TRUE(G->Focused()) << c.Name; }
        G->HideEditor();
        G->EndEditing();
    }
}

TEST_F(RulesFixture, AnotherCurrentCellClosesTheOpenEditor)
{
    Open(2, 2);
    ASSERT_TRUE(EditorOpen());
    gui::sim::TypeText("typed", Ed());
    G->MoveColRow(3, 4, true, false);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(G->Cells(2, 2), "typed");
    EXPECT_FALSE(G->EditMode());

    // A special editor too, its value written back.
    G->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& e) {
        if (c == 1) e = TEditorType::edComboEdit;
    };
    Open(1, 2);
    ASSERT_TRUE(G->EditCombo()->Visible());
    G->EditCombo()->SetText("picked");
    G->MoveColRow(3, 2, true, false);
    EXPECT_FALSE(G->EditCombo()->Visible());
    EXPECT_EQ(G->Cells(1, 2), "picked");
    EXPECT_EQ(G->Col(), 3);
}

TEST_F(RulesFixture, MergedAreaWithDirectEditOpensTheEditorOnItsBaseCell)
{
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goRangeSelect});
    G->SetCells(1, 2, "merged");
    G->MergeCells(1, 2, 2, 2);
    for (bool direct : {false, true}) {
        G->MouseActions()->SetDirectEdit(direct);
        G->MoveColRow(3, 5, true, false);
        G->EndEditing();
        G->MoveColRow(2, 3, true, false);  // a covered cell
        EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{1, 2})) << direct;
        EXPECT_EQ(EditorOpen(), direct);
        if (direct) { EXPECT_EQ(Ed()->EditText(), "merged"); }
        G->HideEditor();
    }
}

// --- the inplace rich editor -------------------------------------------------

TEST_F(RulesFixture, RichEditorHandsTheArrowsBackAndClosesWhenTheGridTakesTheFocus)
{
    auto* other = new gui::TEdit(&Form);
    other->SetParent(&Form);
    other->SetBounds(0, 420, 100, 24);
    G->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& e) {
        if (c == 2) e = TEditorType::edRichEdit;
    };
    G->SetCells(2, 3, "{\\rtf1 rich {\\b text}}");
    TExRichEdit* re = G->InplaceRichEdit();
    struct Case {
        bool WordWrap, Multiline;
        int Row;  // after Down
    } cases[] = {
        {false, false, 4},  // the grid moves on
        {true, false, 3},   // Down stays in the editor
        {false, true, 3},
    };
    for (const Case& c : cases) {
        G->SetWordWrap(c.WordWrap);
        G->SetMultilinecells(c.Multiline);
        Open(2, 3);
        ASSERT_TRUE(re->Visible());
        re->Perform(gui::WM_KEYDOWN, gui::VK_DOWN, 0);
        EXPECT_EQ(G->Row(), c.Row) << c.WordWrap << c.Multiline;
        EXPECT_EQ(re->Visible(), c.Row == 3);
        if (re->Visible()) G->HideInplaceEdit();
        EXPECT_EQ(G->GetCellText(2, 3).compare(0, 5, "{\\rtf"), 0);
        G->EndEditing();
    }
    // The focus going elsewhere keeps the editor; back to the grid closes it.
    Open(2, 3);
    ASSERT_TRUE(re->Visible());
    other->SetFocus();
    EXPECT_TRUE(re->Visible());
    re->SetFocus();
    G->SetFocus();
    EXPECT_FALSE(re->Visible());
    EXPECT_FALSE(G->SpecialEditorOpen());
}

// --- slots a descendant overrides ----------------------------------------------

TEST_F(RulesFixture, DescendantAnswersTheEllipsisButtonAndTheVersion)
{
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edEditBtn; };
    G->SetCells(2, 2, "value");
    G->EllipsAnswer = " picked";
    Open(2, 2);
    ASSERT_TRUE(G->EditBtn()->Visible());
    G->EditBtn()->ButtonClick(G->EditBtn());
    EXPECT_EQ(G->EditBtn()->Text(), "value picked");

    EXPECT_EQ(G->GetVersionString(), "4.6.1.0 Aug, 2009");
    G->Number = 0x01020304;
    EXPECT_EQ(G->Version(), "1.2.3.4");
    EXPECT_EQ(G->GetVersionString(), "1.2.3.4 Aug, 2009");
}
