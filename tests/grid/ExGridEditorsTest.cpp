// The grid's special editors on a 6 x 6 grid with goEditing and goTabs,
// opened on cell (2, 2) and driven with synthetic keys, wheel and mouse:
// which keys leave each editor and where the current cell goes (PgUp, PgDn
// and End end the edit without moving, as DoneInplaceEdit passes only Tab
// and the arrows on to the grid), the value
// written back, the spin and combo limits, the spin arrows' repeat on the
// manual clock, the edit button's corrected value and ellipsis, and the
// combo's lookup completion.
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

struct EditorFixture : testing::Test {
    ScopedFormatSettings Saved;
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    TEditorType Type = TEditorType::edNormal;
    EditorFixture()
    {
        rtl::FormatSettings().DateSeparator = '/';
        rtl::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        rtl::FormatSettings().TimeSeparator = ':';
        rtl::FormatSettings().DecimalSeparator = '.';
        gui::SetMessageBeepHandler([](uint32_t) {});
        Form.SetBounds(0, 0, 700, 400);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 620, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(100);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing, TGridOption::goTabs});
        G->OnGetEditorType = [this](rtl::TObject*, int, int, TEditorType& e) { e = Type; };
        Form.Show();
        G->SetFocus();
        gui::Application->ProcessMessages();
    }
    ~EditorFixture() override { gui::SetMessageBeepHandler(nullptr); }
    // Opens the editor of type on (2, 2) holding text; the control that has
    // the keys (the check box for edCheckBox).
    gui::TWinControl* Open(const std::string& text, TEditorType type)
    {
        if (G->SpecialEditorOpen()) G->HideInplaceEdit();
        Type = type;
        G->SetCells(2, 2, text);
        G->MoveColRow(2, 2, true, false);
        G->SetFocus();
        G->ShowInplaceEdit();
        gui::TWinControl* c = type == TEditorType::edCheckBox ? G->EditCheck() : G->EditCtrl();
        return c && c->Visible() ? c : nullptr;
    }
    bool Open_() const { return G->SpecialEditorOpen(); }
    gui::TPoint Cur() const { return {G->Col(), G->Row()}; }
};

void PrepareEditor(TExStringGrid* g, TEditorType t)
{
    if (t == TEditorType::edComboList || t == TEditorType::edComboEdit) {
        g->EditCombo()->Items()->Clear();
        for (const char* s : {"alpha", "beta", "gamma"}) g->EditCombo()->Items()->Add(s);
    }
}

} // namespace

TEST_F(EditorFixture, LeaveKeyTable)
{
    struct Case {
        const char* name;
        TEditorType type;
        const char* text;
        uint16_t key;
        bool leaves;
        int col, row;  // the current cell afterwards
    };
    using E = TEditorType;
    const Case cases[] = {
        {"check Enter", E::edCheckBox, "c", gui::VK_RETURN, true, 3, 2},
        {"check Esc", E::edCheckBox, "c", gui::VK_ESCAPE, true, 2, 2},
        {"check Up", E::edCheckBox, "c", gui::VK_UP, true, 2, 1},
        {"check Down", E::edCheckBox, "c", gui::VK_DOWN, true, 2, 3},
        {"check Left", E::edCheckBox, "c", gui::VK_LEFT, true, 1, 2},
        {"check Right", E::edCheckBox, "c", gui::VK_RIGHT, true, 3, 2},
        {"check PgDn", E::edCheckBox, "c", gui::VK_NEXT, true, 2, 5},
        {"check End", E::edCheckBox, "c", gui::VK_END, true, 5, 2},
        {"check Home", E::edCheckBox, "c", gui::VK_HOME, false, 2, 2},
        {"spin Tab", E::edSpinEdit, "7", gui::VK_TAB, true, 3, 2},
        {"spin Enter", E::edSpinEdit, "7", gui::VK_RETURN, true, 2, 2},
        {"spin Esc", E::edSpinEdit, "7", gui::VK_ESCAPE, true, 2, 2},
        {"spin Up", E::edSpinEdit, "7", gui::VK_UP, true, 2, 1},
        {"spin Down", E::edSpinEdit, "7", gui::VK_DOWN, true, 2, 3},
        {"spin PgUp", E::edSpinEdit, "7", gui::VK_PRIOR, false, 2, 2},
        {"spin Left", E::edSpinEdit, "7", gui::VK_LEFT, false, 2, 2},
        {"float spin Down", E::edFloatSpinEdit, "1.5", gui::VK_DOWN, true, 2, 3},
        {"date spin Tab", E::edDateSpinEdit, "05/03/2024", gui::VK_TAB, true, 3, 2},
        {"time spin Up", E::edTimeSpinEdit, "10:30", gui::VK_UP, true, 2, 1},
        {"list Up", E::edComboList, "beta", gui::VK_UP, false, 2, 2},
        {"list Down", E::edComboList, "beta", gui::VK_DOWN, false, 2, 2},
        {"list Left", E::edComboList, "beta", gui::VK_LEFT, true, 1, 2},
        {"list Right", E::edComboList, "beta", gui::VK_RIGHT, true, 3, 2},
        {"list Enter", E::edComboList, "beta", gui::VK_RETURN, true, 2, 2},
        {"list Tab", E::edComboList, "beta", gui::VK_TAB, true, 3, 2},
        {"combo Up", E::edComboEdit, "beta", gui::VK_UP, true, 2, 1},
        {"combo PgDn", E::edComboEdit, "beta", gui::VK_NEXT, true, 2, 2},
        {"combo End", E::edComboEdit, "beta", gui::VK_END, false, 2, 2},
        {"combo Left", E::edComboEdit, "beta", gui::VK_LEFT, false, 2, 2},
        {"combo Esc", E::edComboEdit, "beta", gui::VK_ESCAPE, true, 2, 2},
        {"date Tab", E::edDateEdit, "05/03/2024", gui::VK_TAB, true, 3, 2},
        {"date Enter", E::edDateEdit, "05/03/2024", gui::VK_RETURN, true, 2, 2},
        {"date PgUp", E::edDateEdit, "05/03/2024", gui::VK_PRIOR, true, 2, 2},
        {"date End", E::edDateEdit, "05/03/2024", gui::VK_END, true, 2, 2},
        {"date Up", E::edDateEdit, "05/03/2024", gui::VK_UP, false, 2, 2},
        {"date-time Tab", E::edDateTimeEdit, "05/03/2024 10:30", gui::VK_TAB, true, 3, 2},
        {"date-time Esc", E::edDateTimeEdit, "05/03/2024 10:30", gui::VK_ESCAPE, true, 2, 2},
        {"date-time Up", E::edDateTimeEdit, "05/03/2024 10:30", gui::VK_UP, false, 2, 2},
        {"button Tab", E::edEditBtn, "x", gui::VK_TAB, true, 3, 2},
        {"button Up", E::edEditBtn, "x", gui::VK_UP, true, 2, 1},
        {"button PgDn", E::edEditBtn, "x", gui::VK_NEXT, true, 2, 2},
        {"button Left", E::edEditBtn, "x", gui::VK_LEFT, false, 2, 2},
        {"unit Down", E::edUnitEditBtn, "12 kg", gui::VK_DOWN, true, 2, 3},
        {"unit Enter", E::edUnitEditBtn, "12 kg", gui::VK_RETURN, true, 2, 2},
        {"unit Right", E::edUnitEditBtn, "12 kg", gui::VK_RIGHT, false, 2, 2},
        {"push Esc", E::edButton, "go", gui::VK_ESCAPE, true, 2, 2},
        {"push Left", E::edButton, "go", gui::VK_LEFT, true, 1, 2},
        {"push Down", E::edButton, "go", gui::VK_DOWN, true, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareEditor(G, c.type);
        gui::TWinControl* ed = Open(c.text, c.type);
        ASSERT_NE(ed, nullptr);
        ASSERT_TRUE(Open_());
        gui::sim::KeyDown(c.key, {}, ed);
        gui::Application->ProcessMessages();
        // Tab moves on and the editor may open again there: leaving is
        // judged by the cell the open editor is on.
        const bool stillOnCell = Open_() && Cur().X == 2 && Cur().Y == 2;
        EXPECT_EQ(stillOnCell, !c.leaves);
        EXPECT_EQ(Cur().X, c.col);
        EXPECT_EQ(Cur().Y, c.row);
        if (Open_()) G->HideInplaceEdit();
        gui::Application->ProcessMessages();
    }
}

TEST_F(EditorFixture, ValueWrittenBackAfterLeaving)
{
    // Typed or stepped values reach the cell; Esc keeps the old text.
    auto* spin = dynamic_cast<TGridSpin*>(Open("7", TEditorType::edSpinEdit));
    ASSERT_NE(spin, nullptr);
    gui::sim::KeyDown(gui::VK_PRIOR, {}, spin);
    gui::sim::KeyDown(gui::VK_RETURN, {}, spin);
    EXPECT_EQ(G->Cells(2, 2), "8");

    spin = dynamic_cast<TGridSpin*>(Open("7", TEditorType::edSpinEdit));
    gui::sim::KeyDown(gui::VK_PRIOR, {}, spin);
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, spin);
    EXPECT_EQ(G->Cells(2, 2), "7");

    PrepareEditor(G, TEditorType::edComboList);
    auto* combo = dynamic_cast<TGridCombo*>(Open("beta", TEditorType::edComboList));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemIndex(), 1);
    gui::sim::KeyDown(gui::VK_DOWN, {}, combo);
    EXPECT_EQ(combo->Text(), "gamma");
    gui::sim::KeyDown(gui::VK_RETURN, {}, combo);
    EXPECT_EQ(G->Cells(2, 2), "gamma");

    combo = dynamic_cast<TGridCombo*>(Open("beta", TEditorType::edComboList));
    gui::sim::KeyDown(gui::VK_UP, {}, combo);
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, combo);
    EXPECT_EQ(G->Cells(2, 2), "beta");

    auto* btn = dynamic_cast<TGridEditBtn*>(Open("ab", TEditorType::edEditBtn));
    ASSERT_NE(btn, nullptr);
    gui::sim::TypeText("c", btn);
    gui::sim::KeyDown(gui::VK_DOWN, {}, btn);
    EXPECT_EQ(G->Cells(2, 2), "abc");

    btn = dynamic_cast<TGridEditBtn*>(Open("ab", TEditorType::edEditBtn));
    gui::sim::TypeText("c", btn);
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, btn);
    EXPECT_EQ(G->Cells(2, 2), "ab");

    auto* unit = dynamic_cast<TGridUnitEditBtn*>(Open("12 kg", TEditorType::edUnitEditBtn));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->Text(), "12");
    EXPECT_EQ(unit->UnitID(), " kg");
    gui::sim::TypeText("5", unit);
    gui::sim::KeyDown(gui::VK_RETURN, {}, unit);
    EXPECT_EQ(G->Cells(2, 2), "125 kg");

    auto* date = dynamic_cast<TGridDatePicker*>(Open("05/03/2024", TEditorType::edDateEdit));
    ASSERT_NE(date, nullptr);
    gui::sim::KeyDown(gui::VK_UP, {}, date);  // the day field
    gui::sim::KeyDown(gui::VK_RETURN, {}, date);
    EXPECT_EQ(G->Cells(2, 2), "06/03/2024");

    auto* dt = dynamic_cast<TGridDateTimePicker*>(Open("05/03/2024 10:30", TEditorType::edDateTimeEdit));
    ASSERT_NE(dt, nullptr);
    gui::sim::KeyDown(gui::VK_UP, {}, dt);
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, dt);
    EXPECT_EQ(G->Cells(2, 2), "05/03/2024 10:30");

    // The check box editor writes nothing; Esc gives the caption back.
    auto* check = dynamic_cast<TGridCheckBox*>(Open("yes", TEditorType::edCheckBox));
    ASSERT_NE(check, nullptr);
    check->SetCaption("changed");
    gui::sim::KeyDown(gui::VK_SPACE, {}, check);
    EXPECT_TRUE(check->Checked());
    gui::sim::KeyDown(gui::VK_ESCAPE, {}, check);
    EXPECT_EQ(check->Caption(), "yes");
    EXPECT_EQ(G->Cells(2, 2), "yes");
}

TEST_F(EditorFixture, SpinLimitsAndSpinEvents)
{
    std::vector<std::pair<int, bool>> clicks;
    G->OnSpinClick = [&](rtl::TObject*, int, int, int v, bool up) { clicks.emplace_back(v, up); };
    auto* spin = dynamic_cast<TGridSpin*>(Open("100", TEditorType::edSpinEdit));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->MaxValue(), 100);
    gui::sim::KeyDown(gui::VK_PRIOR, {}, spin);  // at MaxValue: unchanged
    EXPECT_EQ(spin->Value(), 100);
    gui::sim::KeyDown(gui::VK_END, {}, spin);
    EXPECT_EQ(spin->Value(), 0);
    gui::sim::KeyDown(gui::VK_NEXT, {}, spin);  // at MinValue: unchanged
    EXPECT_EQ(spin->Value(), 0);
    gui::sim::KeyDown(gui::VK_HOME, {}, spin);
    EXPECT_EQ(spin->Value(), 100);
    const std::vector<std::pair<int, bool>> want{{100, true}, {0, false}, {0, false}, {100, true}};
    EXPECT_EQ(clicks, want);

    // Float spin: steps by IncrementFloat within the float bounds.
    spin = dynamic_cast<TGridSpin*>(Open("99.95", TEditorType::edFloatSpinEdit));
    gui::sim::KeyDown(gui::VK_PRIOR, {}, spin);
    EXPECT_DOUBLE_EQ(spin->FloatValue(), 99.95);
    gui::sim::KeyDown(gui::VK_NEXT, {}, spin);
    EXPECT_NEAR(spin->FloatValue(), 99.85, 1e-9);
}

TEST_F(EditorFixture, SpinArrowRepeatsOnTheManualClock)
{
    gui::TTimer::UseManualClock(true);
    int ups = 0;
    G->OnSpinClick = [&](rtl::TObject*, int, int, int, bool up) { ups += up; };
    auto* spin = dynamic_cast<TGridSpin*>(Open("10", TEditorType::edSpinEdit));
    ASSERT_NE(spin, nullptr);
    gridbase::TExTimerSpeedButton* up = spin->Button()->UpButton();
    gui::sim::MouseDown(up, gui::TMouseButton::mbLeft, 2, 2);
    const int atPress = ups;
    gui::TTimer::AdvanceClock(399);
    EXPECT_EQ(ups, atPress);
    gui::TTimer::AdvanceClock(1);
    EXPECT_EQ(ups, atPress + 1);
    gui::TTimer::AdvanceClock(100);
    gui::TTimer::AdvanceClock(100);
    EXPECT_EQ(ups, atPress + 3);
    gui::sim::MouseUp(up, gui::TMouseButton::mbLeft, 2, 2);
    const int atRelease = ups;
    gui::TTimer::AdvanceClock(1000);
    EXPECT_EQ(ups, atRelease);
    gui::TTimer::UseManualClock(false);
}

TEST_F(EditorFixture, ComboWheelKeepsTheEnds)
{
    PrepareEditor(G, TEditorType::edComboList);
    std::vector<int> changes;
    G->OnComboChange = [&](rtl::TObject*, int, int, int i, const std::string&) { changes.push_back(i); };
    auto* combo = dynamic_cast<TGridCombo*>(Open("gamma", TEditorType::edComboList));
    ASSERT_NE(combo, nullptr);
    combo->Perform(gui::WM_MOUSEWHEEL, gui::MAKEWPARAM(0, static_cast<uint16_t>(-120)), 0);
    EXPECT_EQ(combo->ItemIndex(), 2);  // the last item stays at the bottom
    combo->Perform(gui::WM_MOUSEWHEEL, gui::MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->Perform(gui::WM_MOUSEWHEEL, gui::MAKEWPARAM(0, 120), 0);
    combo->Perform(gui::WM_MOUSEWHEEL, gui::MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(combo->ItemIndex(), 0);  // the first stays at the top
    EXPECT_EQ(changes, (std::vector<int>{2, 1, 0, 0}));
}

TEST_F(EditorFixture, ComboLookupCompletesAsTheDefaultEditor)
{
    G->SetLookup(true);
    G->LookupItems()->Add("Aberdeen");
    G->LookupItems()->Add("Abidjan");
    PrepareEditor(G, TEditorType::edComboEdit);
    auto* combo = dynamic_cast<TGridCombo*>(Open("", TEditorType::edComboEdit));
    ASSERT_NE(combo, nullptr);
    gui::sim::TypeText("ab", combo);
    EXPECT_EQ(combo->Text(), "aberdeen");  // typed part kept, the rest from the first match
    EXPECT_EQ(combo->SelStart(), 2);
    EXPECT_EQ(combo->SelLength(), 6);
    // The combo's own items come first.
    combo->SetText("");
    gui::sim::TypeText("g", combo);
    EXPECT_EQ(combo->Text(), "gamma");
    EXPECT_EQ(combo->SelLength(), 4);
}

TEST_F(EditorFixture, EditButtonShowsTheCorrectedValueAndFiresEllipsis)
{
    std::string shownAtLeave;
    G->OnCellValidate = [&](rtl::TObject*, int, int, std::string& v, bool& valid) {
        v = rtl::UpperCase(v);
        valid = true;
    };
    auto* btn = dynamic_cast<TGridEditBtn*>(Open("ab", TEditorType::edEditBtn));
    ASSERT_NE(btn, nullptr);
    btn->OnKeyDown = [&](rtl::TObject*, uint16_t& k, gui::TShiftState) {
        if (k == gui::VK_RETURN) shownAtLeave = "pending";
    };
    G->OnEditingDone = [&](rtl::TObject*) { shownAtLeave = btn->Text(); };
    gui::sim::TypeText("c", btn);
    gui::sim::KeyDown(gui::VK_RETURN, {}, btn);
    EXPECT_EQ(shownAtLeave, "ABC");
    EXPECT_EQ(G->Cells(2, 2), "ABC");

    // A refusing validation keeps the editor open on the text.
    G->OnCellValidate = [&](rtl::TObject*, int, int, std::string&, bool& valid) { valid = false; };
    btn = dynamic_cast<TGridEditBtn*>(Open("ab", TEditorType::edEditBtn));
    gui::sim::TypeText("x", btn);
    gui::sim::KeyDown(gui::VK_RETURN, {}, btn);
    EXPECT_TRUE(G->SpecialEditorOpen());
    EXPECT_TRUE(btn->Visible());
    EXPECT_TRUE(G->FNoAutoAdvance);
    G->OnCellValidate = nullptr;
    G->HideInplaceEdit();

    // The ellipsis button.
    std::vector<std::string> seen;
    G->OnEllipsClick = [&](rtl::TObject*, int c, int r, std::string& s) {
        seen.push_back(s + "@" + std::to_string(c) + "," + std::to_string(r));
        s = "picked";
    };
    btn = dynamic_cast<TGridEditBtn*>(Open("old", TEditorType::edEditBtn));
    gui::sim::Click(btn->Button()->Button(), 3, 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"old@2,2"}));
    EXPECT_EQ(btn->Text(), "picked");
    G->HideInplaceEdit();
    EXPECT_EQ(G->Cells(2, 2), "picked");

    // A push-button cell: the click sets the cell through OnEllipsClick.
    auto* push = dynamic_cast<TGridButton*>(Open("go", TEditorType::edButton));
    ASSERT_NE(push, nullptr);
    gui::sim::Click(push, 5, 5);
    EXPECT_EQ(push->Caption(), "picked");
    EXPECT_EQ(G->Cells(2, 2), "picked");
}

TEST_F(EditorFixture, NumericEditButtonFiltersCharacters)
{
    auto* btn = dynamic_cast<TGridEditBtn*>(Open("", TEditorType::edNumericEditBtn));
    ASSERT_NE(btn, nullptr);
    gui::sim::TypeText("-1a2-", btn);
    EXPECT_EQ(btn->Text(), "-12");
    G->HideInplaceEdit();
    btn = dynamic_cast<TGridEditBtn*>(Open("", TEditorType::edFloatEditBtn));
    gui::sim::TypeText("1.2.5x", btn);
    EXPECT_EQ(btn->Text(), "1.25");
}

TEST_F(EditorFixture, CheckBoxClickAndDroppedCalendar)
{
    // One click toggles the check box editor once.
    auto* check = dynamic_cast<TGridCheckBox*>(Open("c", TEditorType::edCheckBox));
    ASSERT_NE(check, nullptr);
    gui::sim::Click(check, 5, 5);
    EXPECT_TRUE(check->Checked());
    gui::sim::Click(check, 5, 5);
    EXPECT_FALSE(check->Checked());
    G->HideInplaceEdit();

    // While the calendar is down the page keys stay in the picker.
    auto* date = dynamic_cast<TGridDatePicker*>(Open("05/03/2024", TEditorType::edDateEdit));
    ASSERT_NE(date, nullptr);
    date->DropDown();
    EXPECT_TRUE(date->OldDropped());
    gui::sim::KeyDown(gui::VK_NEXT, {}, date);
    EXPECT_TRUE(G->SpecialEditorOpen());
    date->CloseUp();
    EXPECT_FALSE(date->OldDropped());
    gui::sim::KeyDown(gui::VK_NEXT, {}, date);
    EXPECT_FALSE(G->SpecialEditorOpen());
    EXPECT_EQ(G->Cells(2, 2), "05/03/2024");
}

TEST_F(EditorFixture, EditingFollowsTheCellAndTypingStartsSpecialEditors)
{
    // goEditing is switched off for a cell that may not be edited and on
    // again for the next one that may.
    G->OnCanEditCell = [](rtl::TObject*, int r, int c, bool& can) {
        if (c == 3 && r == 2) can = false;
    };
    G->MoveColRow(2, 2, true, false);
    G->MoveColRow(3, 2, true, false);
    EXPECT_FALSE(G->Options().Contains(TGridOption::goEditing));
    EXPECT_TRUE(G->IsEditable(4, 2));  // the grid still edits
    G->MoveColRow(4, 2, true, false);
    EXPECT_TRUE(G->Options().Contains(TGridOption::goEditing));

    // A character typed on the grid opens the special editor with it.
    Type = TEditorType::edSpinEdit;
    G->SetCells(4, 2, "15");
    G->SetFocus();
    gui::sim::TypeText("7", G);
    ASSERT_TRUE(G->SpecialEditorOpen());
    EXPECT_EQ(G->EditSpin()->Text(), "7");
    gui::sim::KeyDown(gui::VK_RETURN, {}, G->EditSpin());
    EXPECT_EQ(G->Cells(4, 2), "7");
    // ... through the editor's filter: a letter does not reach the spin editor.
    G->SetFocus();
    gui::sim::TypeText("x", G);
    ASSERT_TRUE(G->SpecialEditorOpen());
    EXPECT_EQ(G->EditSpin()->Text(), "7");
    G->HideInplaceEdit();
}

TEST_F(EditorFixture, RefusedValueKeepsTheSpecialEditorWhenAnotherCellIsChosen)
{
    G->OnCellValidate = [](rtl::TObject*, int, int, std::string& v, bool& valid) { valid = v != "99"; };
    auto* btn = dynamic_cast<TGridEditBtn*>(Open("1", TEditorType::edEditBtn));
    ASSERT_NE(btn, nullptr);
    btn->SetText("99");
    G->SetFocus();  // the editor closes and writes its value
    G->MoveColRow(4, 4, true, false);
    EXPECT_EQ(Cur().X, 2);
    EXPECT_EQ(Cur().Y, 2);
    EXPECT_TRUE(G->SpecialEditorOpen());
    EXPECT_EQ(G->Cells(2, 2), "1");
    G->OnCellValidate = nullptr;
    G->HideInplaceEdit();
}

TEST_F(EditorFixture, OemConvertKeepsOnlyWhatTheOemPageHolds)
{
    G->SetOemConvert(true);
    Type = TEditorType::edNormal;
    G->SetCells(2, 2, "");
    G->MoveColRow(2, 2, true, false);
    G->ShowEditor();
    gui::TInplaceEdit* ed = G->InplaceEditor();
    ASSERT_TRUE(ed && ed->Visible());
    gui::sim::TypeText("\xC3\xA9\xE2\x82\xAC", ed);  // "é" is in page 437, "€" is not
    EXPECT_EQ(ed->EditText(), "\xC3\xA9?");
    G->SetOemConvert(false);
    gui::sim::TypeText("\xE2\x82\xAC", ed);
    EXPECT_EQ(ed->EditText(), "\xC3\xA9?\xE2\x82\xAC");
}

TEST_F(EditorFixture, EditButtonCursorWalk)
{
    G->Navigation()->SetCursorWalkEditor(true);
    G->SetCells(3, 2, "xyz");
    auto* btn = dynamic_cast<TGridEditBtn*>(Open("ab", TEditorType::edEditBtn));
    ASSERT_NE(btn, nullptr);
    gui::sim::TypeText("c", btn);
    gui::sim::KeyPress(gui::VK_RIGHT, {}, btn);  // at the end: into the next cell
    EXPECT_EQ(Cur().X, 3);
    EXPECT_EQ(G->Cells(2, 2), "abc");
    ASSERT_TRUE(G->SpecialEditorOpen());  // CursorWalkAlwaysEdit
    btn = G->EditBtn();
    btn->SetSelStart(0);
    gui::sim::KeyPress(gui::VK_RIGHT, {}, btn);  // inside the text: stays
    EXPECT_EQ(Cur().X, 3);
    btn->SetSelStart(0);
    gui::sim::KeyPress(gui::VK_LEFT, {}, btn);
    EXPECT_EQ(Cur().X, 2);
    G->HideInplaceEdit();
}

TEST(GridEditorsLifetime, GridFreedWithAnEditorOpen)
{
    for (TEditorType t : {TEditorType::edSpinEdit, TEditorType::edComboEdit, TEditorType::edEditBtn,
                          TEditorType::edDateEdit, TEditorType::edCheckBox}) {
        auto form = std::make_unique<gui::TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        auto* g = new TExStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 380, 280);
        g->SetOptions(g->Options() + gui::TGridOptions{TGridOption::goEditing});
        g->OnGetEditorType = [t](rtl::TObject*, int, int, TEditorType& e) { e = t; };
        form->Show();
        g->SetFocus();
        g->MoveColRow(1, 1, true, false);
        g->ShowInplaceEdit();
        EXPECT_TRUE(g->SpecialEditorOpen());
        form.reset();  // freed with the editor open and focused
    }
}
