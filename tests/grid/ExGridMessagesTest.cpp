// The grid's messages, update lock, change notification and validation:
// paint passes counted under the lock, the grid timer on the manual clock,
// clipboard keys and the keypad decimal key, the edit-done message after
// the current one, size with a stretched column, and the validation tables
// of string and wide values.
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

using namespace grid;

namespace {

struct MsgGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    void SetSearchText(const std::string& s) { SearchInc = s; }
    // An edit of the current cell is pending (the editors set this).
    void StartEdit() { FEditing = true; }
    std::vector<std::string> Log;  // CellChanged and the wide event, in order
    void CellChanged(int aCol, int aRow) override
    {
        Log.push_back("changed " + std::to_string(aCol) + "," + std::to_string(aRow));
        TExStringGrid::CellChanged(aCol, aRow);
    }
};

struct MsgFixture : testing::Test {
    gui::TForm Form{nullptr};
    MsgGrid* G;
    int Painted = 0;
    MsgFixture()
    {
        Form.SetBounds(0, 0, 500, 400);
        G = new MsgGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 400, 300);
        G->SetColCount(5);
        G->SetRowCount(8);
        G->OnPainted = [this](rtl::TObject*) { ++Painted; };
    }
    int PaintsAfterLoop()
    {
        Painted = 0;
        gui::Application->ProcessMessages();
        return Painted;
    }
};

} // namespace

TEST_F(MsgFixture, UpdateLockTable)
{
    Form.Show();
    gui::Application->ProcessMessages();

    G->BeginUpdate();
    G->BeginUpdate();
    G->SetCells(1, 1, "x");
    G->Invalidate();
    EXPECT_EQ(PaintsAfterLoop(), 0);
    auto image = G->GetImage();  // a paint while locked draws nothing
    EXPECT_EQ(Painted, 0);
    G->EndUpdate();
    EXPECT_TRUE(G->LockUpdate());
    EXPECT_EQ(PaintsAfterLoop(), 0);
    G->EndUpdate();
    EXPECT_FALSE(G->LockUpdate());
    EXPECT_EQ(PaintsAfterLoop(), 1);

    G->StartUpdate();
    EXPECT_TRUE(G->LockUpdate());
    G->ResetUpdate();
    EXPECT_FALSE(G->LockUpdate());
    EXPECT_EQ(PaintsAfterLoop(), 0);

    // A lock taken while visible is given back while hidden.
    G->BeginUpdate();
    G->SetVisible(false);
    G->EndUpdate();
    EXPECT_EQ(G->UpdateCount(), 0);
    G->SetVisible(true);
    EXPECT_GE(PaintsAfterLoop(), 1);
    G->EndUpdate();  // never below zero
    EXPECT_EQ(G->UpdateCount(), 0);
}

TEST(ExGridTimer, FourTicksEndTheIncrementalSearch)
{
    gui::TTimer::UseManualClock(true);
    {
        gui::TForm form(nullptr);
        auto* g = new MsgGrid(&form);
        g->Navigation()->SetAutoGotoIncremental(true);
        g->SetParent(&form);
        g->SetSearchText("ab");
        gui::TTimer::AdvanceClock(1500);
        EXPECT_EQ(g->IncrementalSearchText(), "ab");
        gui::TTimer::AdvanceClock(500);
        EXPECT_EQ(g->IncrementalSearchText(), "");
        EXPECT_EQ(g->TimerTicks(), 4);
    }
    gui::TTimer::UseManualClock(false);
}

TEST_F(MsgFixture, ClipboardKeysAndTheKeypadDecimal)
{
    Form.Show();
    G->SetFocus();
    std::u16string typed;
    G->OnKeyPress = [&](rtl::TObject*, char16_t& key) { typed += key; };
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    for (uint16_t vk : {uint16_t('C'), uint16_t('V'), uint16_t('X')})
        gui::sim::KeyPress(vk, {gui::TShiftStateItem::ssCtrl}, G);
    EXPECT_EQ(typed, u"");
    EXPECT_FALSE(G->EditorMode());

    GermanFormatSettings german;
    G->SetExcelStyleDecimalSeparator(true);
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goEditing});
    gui::sim::KeyPress(gui::VK_DECIMAL, {}, G);
    gui::sim::KeyPress(gui::VK_OEM_PERIOD, {}, G);
    EXPECT_EQ(typed, u",.");
}

TEST_F(MsgFixture, EditCellDoneComesAfterTheCurrentMessage)
{
    Form.Show();
    G->SetFocus();
    int doneCol = -1, doneRow = -1;
    bool insideHandler = false;
    G->OnEditCellDone = [&](rtl::TObject*, int c, int r) {
        EXPECT_FALSE(insideHandler);
        doneCol = c;
        doneRow = r;
    };
    G->OnKeyPress = [&](rtl::TObject*, char16_t&) {
        insideHandler = true;
        G->EditingDone(2, 3);
        insideHandler = false;
    };
    gui::sim::KeyPress('A', {}, G);
    EXPECT_EQ(doneCol, -1);
    gui::Application->ProcessMessages();
    EXPECT_EQ(doneCol, 2);
    EXPECT_EQ(doneRow, 3);
}

TEST_F(MsgFixture, SizeWithAStretchedColumnFiresOnResize)
{
    int resized = 0;
    G->OnResize = [&](rtl::TObject*) { ++resized; };
    G->ColumnSize()->SetStretch(true);
    G->SetDefaultColWidth(50);
    G->Perform(gui::WM_SIZE, 0, 0);
    EXPECT_EQ(resized, 1);
    EXPECT_GT(G->ColWidths(4), 150);
}

TEST_F(MsgFixture, ValidationTable)
{
    struct Case {
        const char* name;
        const char* typed;
        bool alwaysValidate;
        bool refuse;
        const char* proposed;  // nullptr: the event leaves the value
        bool result;
        const char* cellAfter;
        bool eventFired;
        int changes;
    } cases[] = {
        {"unchanged", "old", false, false, nullptr, true, "old", false, 0},
        {"unchanged, always validated", "old", true, false, nullptr, true, "old", true, 0},
        {"refused as is", "new", false, true, nullptr, false, "old", true, 0},
        {"refused with a changed value", "new", false, true, "fixed", false, "fixed", true, 0},
        {"accepted", "new", false, false, nullptr, true, "new", true, 1},
    };
    struct Counter : TGridChangeNotifier {
        using TGridChangeNotifier::TGridChangeNotifier;
        int Calls = 0;
        gui::TRect Last;
        void CellsChanged(const gui::TRect& r) override
        {
            ++Calls;
            Last = r;
        }
    };
    auto* notifier = new Counter(&Form);
    G->RegisterNotifier(notifier);
    G->RegisterNotifier(notifier);  // kept once
    ASSERT_EQ(G->Notifiers().size(), 1u);
    Form.Show();
    G->SetFocus();
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    for (const Case& c : cases) {
        G->SetCells(2, 3, "old");
        G->SetCol(2);
        G->SetRow(3);
        G->SetModified(false);
        G->RememberCellValue(2, 3);
        G->SetAlwaysValidate(c.alwaysValidate);
        bool fired = false;
        G->OnCellValidate = [&](rtl::TObject*, int col, int row, std::string& value, bool& valid) {
            fired = true;
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, 3);
            if (c.proposed) value = c.proposed;
            if (c.refuse) valid = false;
        };
        int cellsChanged = 0;
        G->OnCellsChanged = [&](rtl::TObject*, const gui::TRect& r) {
            ++cellsChanged;
            EXPECT_EQ(r, gui::TRect(2, 3, 2, 3));
        };
        notifier->Calls = 0;
        G->StartEdit();
        G->SetCells(2, 3, c.typed);
        G->SetCol(4);  // the user has moved on
        EXPECT_EQ(G->ValidateCell(c.typed), c.result) << c.name;
        EXPECT_EQ(G->Cells(2, 3), c.cellAfter) << c.name;
        EXPECT_EQ(fired, c.eventFired) << c.name;
        EXPECT_EQ(cellsChanged, c.changes) << c.name;
        EXPECT_EQ(notifier->Calls, c.changes) << c.name;
        // A refused value leaves the grid as unmodified as it was.
        EXPECT_EQ(G->Modified(), c.result && std::string(c.typed) != "old") << c.name;
        if (!c.result) {
            EXPECT_EQ(G->Col(), 2) << c.name;
            EXPECT_EQ(G->Row(), 3) << c.name;
            EXPECT_TRUE(G->EditorMode()) << c.name;
            G->HideEditor();
        }
    }
    delete notifier;  // leaves the grid's list by itself
    EXPECT_TRUE(G->Notifiers().empty());
    EXPECT_EQ(G->GetVersionString(), "4.6.1.0 Aug, 2009");
}

TEST_F(MsgFixture, RefusedEntryRecordsTheBalloonText)
{
    G->SetInvalidEntryTitle("Invalid");
    G->SetInvalidEntryText("Enter a latitude");
    G->OnCellValidate = [](rtl::TObject*, int, int, std::string&, bool& valid) { valid = false; };
    G->SetCells(1, 1, "a");
    G->RememberCellValue(1, 1);
    G->StartEdit();
    EXPECT_FALSE(G->ValidateCell("b"));
    EXPECT_EQ(G->LastBalloonText(), "Invalid\nEnter a latitude");
}

TEST_F(MsgFixture, WideValidationTable)
{
    struct Case {
        const char* name;
        std::u16string typed;
        bool alwaysValidate, refuse;
        const char16_t* proposed;  // nullptr: the event leaves the value
        bool result;
        std::u16string cellAfter;
        bool eventFired;
        int changes;
    } cases[] = {
        {"unchanged", u"\u00e9t\u00e9", false, false, nullptr, true, u"\u00e9t\u00e9", false, 0},
        {"unchanged, always validated", u"\u00e9t\u00e9", true, false, nullptr, true, u"\u00e9t\u00e9", true, 0},
        {"refused as is", u"\u20ac", false, true, nullptr, false, u"\u00e9t\u00e9", true, 0},
        {"refused with a changed value", u"\u20ac", false, true, u"\u00a3", false, u"\u00a3", true, 0},
        {"accepted", u"\u20ac", false, false, nullptr, true, u"\u20ac", true, 1},
        {"accepted as proposed", u"\u20ac", false, false, u"\u00a5", true, u"\u00a5", true, 1},
    };
    Form.Show();
    G->SetFocus();
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    for (const Case& c : cases) {
        G->SetCellTextWide(2, 3, u"\u00e9t\u00e9");
        G->SetCol(2);
        G->SetRow(3);
        G->SetModified(false);
        G->RememberCellValue(2, 3);
        G->SetAlwaysValidate(c.alwaysValidate);
        G->Log.clear();
        G->OnCellValidateWide = [&](rtl::TObject*, int col, int row, std::u16string& value, bool& valid) {
            G->Log.push_back("event " + std::to_string(col) + "," + std::to_string(row));
            if (c.proposed) value = c.proposed;
            if (c.refuse) valid = false;
        };
        int cellsChanged = 0;
        G->OnCellsChanged = [&](rtl::TObject*, const gui::TRect& r) {
            ++cellsChanged;
            EXPECT_EQ(r, gui::TRect(2, 3, 2, 3));
        };
        G->StartEdit();
        G->SetCol(4);  // the user has moved on
        EXPECT_EQ(G->ValidateCellWide(c.typed), c.result) << c.name;
        EXPECT_EQ(G->GetCellTextWide(2, 3), c.cellAfter) << c.name;
        EXPECT_EQ(cellsChanged, c.changes) << c.name;
        const std::vector<std::string> log =
            c.eventFired ? std::vector<std::string>{"changed 2,3", "event 2,3"} : std::vector<std::string>{};
        EXPECT_EQ(G->Log, log) << c.name;  // the footer follows before the event asks
        EXPECT_EQ(G->Modified(), c.typed != u"\u00e9t\u00e9" && c.result) << c.name;
        if (!c.result) {
            EXPECT_EQ(G->Col(), 2) << c.name;
            EXPECT_EQ(G->Row(), 3) << c.name;
            EXPECT_TRUE(G->EditorMode()) << c.name;
            G->HideEditor();
        }
    }
    G->OnCellsChanged = nullptr;

    // The row is marked modified only with ShowModified and fixed columns.
    for (bool show : {false, true}) {
        G->ShowModified()->SetEnabled(show);
        G->ClearModifiedRows();
        G->RememberCellValue(2, 3);
        G->StartEdit();
        EXPECT_TRUE(G->ValidateCellWide(show ? u"x" : u"y"));
        EXPECT_EQ(G->GetRowModified(3), show);
    }
}

TEST_F(MsgFixture, LeavingAWideCellValidatesItsWideText)
{
    // A wide editor shows no control of its own: moving on validates the
    // cell's wide text; a refusal keeps the cell current.
    Form.Show();
    G->SetFocus();
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->OnGetEditorType = [](rtl::TObject*, int, int, TEditorType& e) { e = TEditorType::edUniEdit; };
    G->SetCells(2, 3, gridbase::EncodePrefixedWideText("\xCE\xB1\xCE\xB2"));
    G->MoveColRow(2, 3, true, false);
    G->ShowInplaceEdit();
    std::u16string seen;
    bool refuse = true;
    G->OnCellValidateWide = [&](rtl::TObject*, int, int, std::u16string& value, bool& valid) {
        seen = value;
        valid = !refuse;
    };
    G->SetCells(2, 3, gridbase::EncodePrefixedWideText("\xCE\xB3"));  // what the editor wrote
    G->MoveColRow(3, 3, true, false);
    EXPECT_EQ(seen, u"\u03b3");
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->GetCellTextWide(2, 3), u"\u03b1\u03b2");
    refuse = false;
    G->HideInplaceEdit();
    G->ShowInplaceEdit();
    G->SetCells(2, 3, gridbase::EncodePrefixedWideText("\xCE\xB3"));
    G->MoveColRow(3, 3, true, false);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->GetCellTextWide(2, 3), u"\u03b3");
}

TEST_F(MsgFixture, ValidationRunsTheCheckersAutomaticSteps)
{
    // AutoCorrect corrects before the event sees the value; AutoMarkError
    // marks what is written.  Without them the checker is not asked.
    struct Checker : gridbase::TExStringGridCheck {
        using gridbase::TExStringGridCheck::TExStringGridCheck;
        std::string Correct(int, int, const std::string& s) override { return rtl::UpperCase(s); }
        std::string MarkError(int, int, const std::string& s) override { return "[" + s + "]"; }
    };
    auto* checker = new Checker(&Form);
    G->SetCellChecker(checker);
    std::string seen;
    G->OnCellValidate = [&](rtl::TObject*, int, int, std::string& value, bool&) { seen = value; };
    struct Case {
        bool correct, mark;
        const char *seen, *cell;
    } cases[] = {
        {false, false, "abc", "abc"},
        {true, false, "ABC", "ABC"},
        {false, true, "abc", "[abc]"},
        {true, true, "ABC", "[ABC]"},
    };
    for (const Case& c : cases) {
        checker->SetAutoCorrect(c.correct);
        checker->SetAutoMarkError(c.mark);
        G->SetCells(1, 1, "old");
        G->RememberCellValue(1, 1);
        G->StartEdit();
        EXPECT_TRUE(G->ValidateCell("abc"));
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(G->Cells(1, 1), c.cell);
    }
}
