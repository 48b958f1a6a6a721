// The string grid's editing rules as a user of the library meets them: the
// text editor right-aligned for right-aligned cells and wrapping with the
// grid's WordWrap, leaving it by Up and Down with a disjunct row selection,
// the cursor walk on key release and with Shift, an editor closed when
// another cell becomes current, a merged area edited at once with
// DirectEdit, the inplace rich editor handing the arrows back to the grid,
// and the slots a descendant overrides (ellipsis button, version).
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "grid/ExInplaceEdit.h"
#include "grid/ExRichEdit.h"
#include "gridbase/ExUtil.h"
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
    // A wide value the descendant refuses, and the values it was asked about.
    std::u16string RefusedWide;
    std::vector<std::u16string> WideAsked;
    bool ValidateCellWide(const std::u16string& v) override
    {
        WideAsked.push_back(v);
        return v != RefusedWide && TExStringGrid::ValidateCellWide(v);
    }
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

TEST_F(RulesFixture, EditSelectAllDecidesWhatTheOpenedEditorSelects)
{
    G->SetCells(2, 2, "value");
    for (bool all : {true, false}) {
        G->Navigation()->SetEditSelectAll(all);
        G->MoveColRow(2, 2, true, false);
        gui::sim::KeyPress(gui::VK_F2, {}, G);
        ASSERT_TRUE(EditorOpen()) << all;
        EXPECT_EQ(Ed()->SelStart(), all ? 0 : 5) << all;
        EXPECT_EQ(Ed()->SelLength(), all ? 5 : 0) << all;
        G->HideEditor();
        G->EndEditing();
    }
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

TEST_F(RulesFixture, FocusGoingToAnotherControlValidatesAndEndsTheEdit)
{
    auto* other = new gui::TEdit(&Form);
    other->SetParent(&Form);
    other->SetBounds(0, 420, 100, 24);
    G->SetCells(2, 2, "old");
    std::vector<std::string> validated;
    int done = 0;
    std::vector<std::pair<int, int>> cellDone;
    bool accept = true;
    G->OnCellValidate = [&](rtl::TObject*, int, int, std::string& v, bool& valid) {
        validated.push_back(v);
        valid = accept;
    };
    G->OnEditingDone = [&](rtl::TObject*) { ++done; };
    G->OnEditCellDone = [&](rtl::TObject*, int c, int r) { cellDone.push_back({c, r}); };
    G->SetLookupHistory(true);
    struct Case {
        bool Accept;
        const char* Cell;
    } cases[] = {{true, "typed"}, {false, "old"}};
    for (const Case& c : cases) {
        accept = c.Accept;
        validated.clear();
        done = 0;
        cellDone.clear();
        G->SetCells(2, 2, "old");
        G->SetFocus();
        Open(2, 2);
        ASSERT_TRUE(EditorOpen());
        ASSERT_TRUE(Ed()->Focused());
        Ed()->SelectAll();
        gui::sim::TypeText("typed", Ed());
        gui::sim::Click(other, 5, 5);  // a real focus change
        EXPECT_TRUE(other->Focused()) << c.Accept;
        EXPECT_EQ(validated, std::vector<std::string>{"typed"}) << c.Accept;
        EXPECT_EQ(G->Cells(2, 2), c.Cell) << c.Accept;
        EXPECT_FALSE(EditorOpen()) << c.Accept;
        EXPECT_FALSE(G->Editing()) << c.Accept;
        EXPECT_FALSE(G->EditMode()) << c.Accept;
        EXPECT_EQ(done, 1) << c.Accept;
        gui::Application->ProcessMessages();
        EXPECT_EQ(cellDone, (std::vector<std::pair<int, int>>{{2, 2}})) << "after the editor is gone, " << c.Accept;
        EXPECT_GE(G->LookupItems()->IndexOf("typed"), 0) << "the lookup history keeps what was typed";
    }
    // Back to the grid (Enter) validates once, by the key, not again by the focus.
    accept = true;
    validated.clear();
    G->SetFocus();
    Open(2, 2);
    Ed()->SelectAll();
    gui::sim::TypeText("again", Ed());
    Key(gui::VK_RETURN);
    EXPECT_EQ(validated, std::vector<std::string>{"again"});
    EXPECT_EQ(G->Cells(2, 2), "again");
    EXPECT_TRUE(G->Focused());
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

TEST_F(RulesFixture, RichEditorTakesTypingCaretMovesAndSelection)
{
    G->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& e) {
        if (c == 2) e = TEditorType::edRichEdit;
    };
    G->SetWordWrap(true);
    G->SetRowHeights(3, 60);
    G->SetCells(2, 3, "{\\rtf1 ab}");
    TExRichEdit* re = G->InplaceRichEdit();
    Open(2, 3);
    ASSERT_TRUE(re->Visible());
    ASSERT_TRUE(re->Focused()) << "the keys go to the focused rich editor";
    using gui::TShiftStateItem;
    const gui::TShiftState shift{TShiftStateItem::ssShift}, ctrl{TShiftStateItem::ssCtrl};
    struct Step {
        const char* Name;
        std::function<void()> Do;
        const char* Plain;
        int SelStart, SelLength;
    } steps[] = {
        {"End, then typed", [] { gui::sim::KeyPress(gui::VK_END); gui::sim::TypeText("c"); }, "abc", 3, 0},
        {"Home, then typed", [] { gui::sim::KeyPress(gui::VK_HOME); gui::sim::TypeText("X"); }, "Xabc", 1, 0},
        {"Shift+Right selects", [&] { gui::sim::KeyPress(gui::VK_RIGHT, shift); gui::sim::KeyPress(gui::VK_RIGHT, shift); },
         "Xabc", 1, 2},
        {"typing replaces the selection", [] { gui::sim::TypeText("yz"); }, "Xyzc", 3, 0},
        {"Left, Backspace", [] { gui::sim::KeyPress(gui::VK_LEFT); gui::sim::KeyPress(gui::VK_BACK); }, "Xzc", 1, 0},
        {"Delete", [] { gui::sim::KeyPress(gui::VK_DELETE); }, "Xc", 1, 0},
        {"Enter starts a line", [] { gui::sim::KeyPress(gui::VK_END); gui::sim::KeyPress(gui::VK_RETURN); gui::sim::TypeText("n"); },
         "Xc\nn", 4, 0},
        {"Shift+Home on the second line", [&] { gui::sim::KeyPress(gui::VK_HOME, shift); }, "Xc\nn", 3, 1},
        {"Ctrl+B, then typed bold", [&] { gui::sim::KeyPress(gui::VK_END); gui::sim::KeyPress('B', ctrl); gui::sim::TypeText("B"); },
         "Xc\nnB", 5, 0},
        {"Ctrl+A", [&] { gui::sim::KeyPress('A', ctrl); }, "Xc\nnB", 0, 5},
        {"Ctrl+Home, Ctrl+Right", [&] {
             gui::sim::KeyPress(gui::VK_HOME, ctrl);
             gui::sim::KeyPress(gui::VK_RIGHT);
         }, "Xc\nnB", 1, 0},
    };
    for (const Step& st : steps) {
        st.Do();
        EXPECT_EQ(re->PlainText(), st.Plain) << st.Name;
        EXPECT_EQ(re->SelStart(), st.SelStart) << st.Name;
        EXPECT_EQ(re->SelLength(), st.SelLength) << st.Name;
    }
    // A press places the caret at the character under the mouse.
    gui::sim::Click(re, 1, 3);
    EXPECT_EQ(re->SelStart(), 0);
    EXPECT_EQ(re->SelLength(), 0);

    // Back in the grid the cell holds what was typed, the last letter bold.
    G->SetFocus();
    EXPECT_FALSE(re->Visible());
    gui::TRichEdit check(&Form);
    check.LoadRichText(G->Cells(2, 3));
    EXPECT_EQ(check.PlainText(), "Xc\nnB");
    check.SetSelection(4, 1);
    EXPECT_TRUE(check.SelFormat().Bold);
    check.SetSelection(3, 1);
    EXPECT_FALSE(check.SelFormat().Bold);
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

TEST_F(RulesFixture, DescendantValidatesWideCellsWhenTheGridLeavesThem)
{
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edUniEdit; };
    G->SetCells(2, 3, gridbase::EncodePrefixedWideText("\xCE\xB3"));
    G->RefusedWide = u"\u03b3";
    for (bool refused : {true, false}) {
        if (!refused) G->RefusedWide.clear();
        G->WideAsked.clear();
        G->MoveColRow(2, 3, true, false);
        G->ShowInplaceEdit();
        G->MoveColRow(3, 3, true, false);
        EXPECT_EQ(G->WideAsked, std::vector<std::u16string>{u"\u03b3"}) << refused;
        EXPECT_EQ(G->Col(), refused ? 2 : 3) << "the override's answer holds, " << refused;
        G->HideInplaceEdit();
        G->EndEditing();
    }
}
