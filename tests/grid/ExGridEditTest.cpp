// Editing on a 6 x 6 grid with goEditing, driven by synthetic keys: which
// editor a cell gets, the default editor's character filter per editor
// type, the length limit, paste, lookup completion, Esc, validation before
// leaving, and password cells painted masked.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

struct EditGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    TCellType GetCellType(int c, int r) override
    {
        return c == 4 && r == 4 ? TCellType::ctCheckBox : TCellType::ctEmpty;
    }
};

struct EditFixture : testing::Test {
    gui::TForm Form{nullptr};
    EditGrid* G;
    TEditorType Type = TEditorType::edNormal;
    int Beeps = 0;
    EditFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G = new EditGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
        G->OnGetEditorType = [this](rtl::TObject*, int, int, TEditorType& e) { e = Type; };
        gui::SetMessageBeepHandler([this](uint32_t) { ++Beeps; });
        Form.Show();
        G->SetFocus();
    }
    ~EditFixture() override { gui::SetMessageBeepHandler(nullptr); }
    // Opens the editor on (2, 2) holding text.
    TExInplaceEdit* Open(const std::string& text, TEditorType type = TEditorType::edNormal)
    {
        Type = type;
        G->SetCells(2, 2, text);
        G->MoveColRow(2, 2, true, false);
        G->ShowEditor();
        auto* ed = dynamic_cast<TExInplaceEdit*>(G->InplaceEditor());
        if (ed && ed->Visible()) ed->SetSel(static_cast<int>(ed->EditText().size()), 0);
        return ed && ed->Visible() ? ed : nullptr;
    }
    void Type_(const std::string& s) { gui::sim::TypeText(s, G->InplaceEditor()); }
    void Key(uint16_t vk, gui::TShiftState shift = {}) { gui::sim::KeyPress(vk, shift, G->InplaceEditor()); }
};

} // namespace

TEST_F(EditFixture, EditorChoice)
{
    // edNone opens nothing and leaves EditMode off.
    EXPECT_EQ(Open("x", TEditorType::edNone), nullptr);
    EXPECT_FALSE(G->EditMode());

    // A check-box cell opens no text editor.
    Type = TEditorType::edNormal;
    G->MoveColRow(4, 4, true, false);
    G->ShowEditor();
    EXPECT_FALSE(G->InplaceEditor() && G->InplaceEditor()->Visible());

    // Types without a text editor set the editing flags and show no control.
    for (TEditorType t : {TEditorType::edDataCheckBox, TEditorType::edUniEdit, TEditorType::edValidChars,
                          TEditorType::edMemoDropDown}) {
        G->MoveColRow(1, 1, true, false);
        EXPECT_EQ(Open("x", t), nullptr);
        EXPECT_TRUE(G->EditMode());
        EXPECT_TRUE(G->Editing());
        EXPECT_EQ(G->EditControl(), t);
        G->EndEditing();
    }

    // Text kinds open the default editor.
    TExInplaceEdit* ed = Open("12", TEditorType::edNumeric);
    ASSERT_NE(ed, nullptr);
    EXPECT_TRUE(G->EditMode());
    EXPECT_EQ(G->EditControl(), TEditorType::edNumeric);
    EXPECT_EQ(ed->ClassName(), "TExInplaceEdit");
}

TEST_F(EditFixture, MarkupIsEditedAsBareTextAndEscKeepsIt)
{
    TExInplaceEdit* ed = Open("<b>bold</b>");
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->EditText(), "bold");
    Type_("er");
    EXPECT_EQ(G->Cells(2, 2), "bolder");
    // Esc puts the cell back as it was, markup and all.
    Key(gui::VK_ESCAPE);
    EXPECT_FALSE(ed->Visible());
    EXPECT_EQ(G->Cells(2, 2), "<b>bold</b>");
    EXPECT_FALSE(G->Editing());

    G->SetEditWithTags(true);
    ed = Open("<b>bold</b>");
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->EditText(), "<b>bold</b>");
}

TEST_F(EditFixture, CharacterFilterTable)
{
    struct Case {
        TEditorType type;
        const char* start;
        const char* typed;
        const char* result;
        int beeps;
    } cases[] = {
        {TEditorType::edNumeric, "", "-12-3a", "-123", 2},
        {TEditorType::edNumeric, "5", "-", "5", 1},
        {TEditorType::edPositiveNumeric, "", "-12", "12", 1},
        {TEditorType::edFloat, "", "-1.5.2,3", "-1.523", 0},
        {TEditorType::edFloat, "1", "-", "1", 1},
        {TEditorType::edFloat, "", "1x", "1", 0},
        {TEditorType::edUpperCase, "", "abc", "ABC", 0},
        {TEditorType::edCapital, "", "abc", "ABC", 0},
        {TEditorType::edLowerCase, "", "ABC", "abc", 0},
        {TEditorType::edMixedCase, "", "new york", "New York", 0},
        {TEditorType::edNormal, "", "a-.,1", "a-.,1", 0},
        {TEditorType::edPassword, "", "pw", "pw", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " + " + c.typed);
        Beeps = 0;
        TExInplaceEdit* ed = Open(c.start, c.type);
        ASSERT_NE(ed, nullptr);
        Type_(c.typed);
        EXPECT_EQ(ed->EditText(), c.result);
        EXPECT_EQ(G->Cells(2, 2), c.result);
        EXPECT_EQ(Beeps, c.beeps);
        G->HideEditor();
        G->EndEditing();
    }

    // A second separator replaces the first when that is selected.
    TExInplaceEdit* ed = Open("1.5", TEditorType::edFloat);
    ASSERT_NE(ed, nullptr);
    ed->SetSel(1, 1);
    Type_(".");
    EXPECT_EQ(ed->EditText(), "1.5");
    EXPECT_EQ(ed->SelStart(), 2);
}

TEST_F(EditFixture, LengthLimitCountsCharacters)
{
    G->SetMaxEditLength(5);
    TExInplaceEdit* ed = Open("");
    ASSERT_NE(ed, nullptr);
    Type_("äbcdef");
    EXPECT_EQ(ed->EditText(), "äbcde");
    Key(gui::VK_BACK);
    EXPECT_EQ(ed->EditText(), "äbcd");
    Type_("x");
    Key(gui::VK_RETURN);  // Enter still works
    EXPECT_EQ(G->Cells(2, 2), "äbcdx");
}

TEST_F(EditFixture, PasteTable)
{
    struct Case {
        TEditorType type;
        const char* start;
        const char* clip;
        bool refuse;
        const char* result;
    } cases[] = {
        {TEditorType::edNumeric, "", "12\r\n", false, "12"},
        {TEditorType::edNumeric, "1", "ab", false, "1"},
        {TEditorType::edFloat, "1", ".25", false, "1.25"},
        {TEditorType::edFloat, "1.2", ".5", false, "1.2"},
        {TEditorType::edUpperCase, "A", "bc", false, "ABC"},
        {TEditorType::edNormal, "a", "bc", true, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " + " + c.clip);
        int events = 0;
        G->OnClipboardPaste = [&](rtl::TObject* sender, bool& allow) {
            ++events;
            EXPECT_NE(dynamic_cast<TExInplaceEdit*>(sender), nullptr);
            if (c.refuse) allow = false;
        };
        TExInplaceEdit* ed = Open(c.start, c.type);
        ASSERT_NE(ed, nullptr);
        gui::Clipboard()->SetAsText(c.clip);
        Key('V', gui::TShiftState{TShiftStateItem::ssCtrl});
        EXPECT_EQ(ed->EditText(), c.result);
        EXPECT_EQ(events, 1);
        G->HideEditor();
        G->EndEditing();
    }

    // Copy and cut of the editor's selection, with their events.
    G->OnClipboardPaste = nullptr;
    bool allowCut = false;
    G->OnClipboardCut = [&](rtl::TObject*, bool& allow) { allow = allowCut; };
    TExInplaceEdit* ed = Open("hello");
    ASSERT_NE(ed, nullptr);
    ed->SetSel(0, 2);
    Key('C', gui::TShiftState{TShiftStateItem::ssCtrl});
    EXPECT_EQ(gui::Clipboard()->AsText(), "he");
    ed->SetSel(2, 3);
    Key('X', gui::TShiftState{TShiftStateItem::ssCtrl});
    EXPECT_EQ(ed->EditText(), "hello");
    allowCut = true;
    Key('X', gui::TShiftState{TShiftStateItem::ssCtrl});
    EXPECT_EQ(ed->EditText(), "he");
    EXPECT_EQ(gui::Clipboard()->AsText(), "llo");
}

TEST_F(EditFixture, LookupCompletesFromTheFirstMatchingItem)
{
    G->SetLookup(true);
    rtl::TStringList items;
    items.Add("Berlin");
    items.Add("Bern");
    G->SetLookupItems(&items);
    TExInplaceEdit* ed = Open("");
    ASSERT_NE(ed, nullptr);
    Type_("ber");
    EXPECT_EQ(ed->EditText(), "berlin");
    EXPECT_EQ(ed->SelStart(), 3);
    EXPECT_EQ(ed->SelLength(), 3);
    // Only the completed part shows selected: the typed part stays on the
    // editor's own background.
    {
        std::unique_ptr<gui::TBitmap> img = ed->GetImage();
        const TColor hl = gui::ColorToRGB(gui::clHighlight);
        int typedHl = 0, restHl = 0;
        for (int y = 2; y < img->Height() - 2; ++y) {
            for (int x = 2; x < 8; ++x) typedHl += img->Canvas()->Pixels(x, y) == hl;
            for (int x = 2; x < img->Width() - 2; ++x) restHl += img->Canvas()->Pixels(x, y) == hl;
        }
        EXPECT_EQ(typedHl, 0);
        EXPECT_GT(restHl, 20);
    }
    // Backspace removes the completed part and completes nothing itself.
    Key(gui::VK_BACK);
    EXPECT_EQ(ed->EditText(), "ber");
    EXPECT_FALSE(ed->Workmode());
    Type_("n");
    EXPECT_EQ(ed->EditText(), "bern");
    EXPECT_TRUE(ed->Workmode());
}

TEST_F(EditFixture, ValidationBeforeLeavingThroughRealTyping)
{
    struct Case {
        const char* name;
        bool refuse;
        const char* proposed;
        const char* cellAfter;
        bool stillEditing;
    } cases[] = {
        {"refused", true, nullptr, "old", true},
        {"refused with a change", true, "fixed", "fixed", true},
        {"accepted", false, nullptr, "oldnew", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> order;
        G->OnCellValidate = [&](rtl::TObject*, int, int, std::string& value, bool& valid) {
            order.push_back("validate " + value);
            if (c.proposed) value = c.proposed;
            if (c.refuse) valid = false;
        };
        G->OnEditCellDone = [&](rtl::TObject*, int, int) { order.push_back("done"); };
        TExInplaceEdit* ed = Open("old");
        ASSERT_NE(ed, nullptr);
        Type_("new");
        Key(gui::VK_RETURN);
        EXPECT_EQ(G->Cells(2, 2), c.cellAfter);
        EXPECT_EQ(G->InplaceEditor()->Visible(), c.stillEditing);
        ASSERT_FALSE(order.empty());
        EXPECT_EQ(order[0], "validate oldnew");
        G->HideEditor();
        G->EndEditing();
    }
}

TEST_F(EditFixture, PasswordCellsShowThePasswordChar)
{
    auto pixels = [&](TEditorType type, const std::string& typed) {
        TExInplaceEdit* ed = Open("", type);
        Type_(typed);
        std::unique_ptr<gui::TBitmap> img = ed->GetImage();
        std::vector<TColor> px;
        for (int y = 0; y < img->Height(); ++y)
            for (int x = 0; x < img->Width(); ++x) px.push_back(img->Canvas()->Pixels(x, y));
        G->HideEditor();
        G->EndEditing();
        return px;
    };
    const auto typedStars = pixels(TEditorType::edNormal, "****");
    const auto plain = pixels(TEditorType::edNormal, "WWWW");
    const auto masked = pixels(TEditorType::edPassword, "WWWW");
    EXPECT_EQ(G->Cells(2, 2), "WWWW");  // the cell keeps the real text
    EXPECT_NE(masked, plain);
    EXPECT_EQ(masked, typedStars);
    // OnIsPasswordCell masks a cell of any text kind.
    G->OnIsPasswordCell = [](rtl::TObject*, int, int, bool& p) { p = true; };
    EXPECT_EQ(pixels(TEditorType::edNormal, "WWWW"), typedStars);
}

TEST_F(EditFixture, AdvanceOnEnterTable)
{
    struct Case {
        const char* name;
        TAdvanceDirection dir;
        bool insert;
        bool refuseAdd;
        gui::TPoint from, to;
        int rows, cols;
        int added;  // index OnAutoAddRow / OnAutoInsertCol reported, -1 none
    } cases[] = {
        {"along the row", TAdvanceDirection::adLeftRight, false, false, {2, 2}, {3, 2}, 6, 6, -1},
        {"row end to next row", TAdvanceDirection::adLeftRight, false, false, {5, 2}, {1, 3}, 6, 6, -1},
        {"last cell wraps", TAdvanceDirection::adLeftRight, false, false, {5, 5}, {1, 1}, 6, 6, -1},
        {"insert refused", TAdvanceDirection::adLeftRight, true, true, {5, 5}, {1, 5}, 6, 6, -1},
        {"insert a row", TAdvanceDirection::adLeftRight, true, false, {5, 5}, {1, 6}, 7, 6, 6},
        {"down the column", TAdvanceDirection::adTopBottom, false, false, {2, 2}, {2, 3}, 6, 6, -1},
        {"column end to next column", TAdvanceDirection::adTopBottom, false, false, {2, 5}, {3, 1}, 6, 6, -1},
        {"insert a column", TAdvanceDirection::adTopBottom, true, false, {5, 5}, {6, 1}, 6, 7, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        G->SetRowCount(6);
        G->SetColCount(6);
        G->Navigation()->SetAdvanceOnEnter(true);
        G->Navigation()->SetAdvanceDirection(c.dir);
        G->Navigation()->SetAdvanceInsert(c.insert);
        G->OnCanAddRow = [&](rtl::TObject*, bool& can) { can = !c.refuseAdd; };
        int added = -1;
        G->OnAutoAddRow = [&](rtl::TObject*, int r) { added = r; };
        G->OnAutoInsertCol = [&](rtl::TObject*, int col) { added = col; };
        G->MoveColRow(c.from.X, c.from.Y, true, false);
        G->ShowEditor();
        ASSERT_TRUE(G->InplaceEditor()->Visible());
        Type_("x");
        Key(gui::VK_RETURN);
        EXPECT_EQ(G->Cells(c.from.X, c.from.Y), "x");
        EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), c.to);
        EXPECT_EQ(G->RowCount(), c.rows);
        EXPECT_EQ(G->ColCount(), c.cols);
        EXPECT_EQ(added, c.added);
        // The editor opens again where the advance arrived.
        EXPECT_TRUE(G->InplaceEditor()->Visible());
        G->HideEditor();
        G->EndEditing();
        G->SetCells(c.from.X, c.from.Y, "");
    }
}

TEST_F(EditFixture, AdvanceSkipsCellsThatCannotBeEdited)
{
    G->Navigation()->SetAdvanceOnEnter(true);
    G->OnCanEditCell = [](rtl::TObject*, int r, int c, bool& can) { can = !(r == 2 && c == 3); };
    std::vector<int> seen;
    G->OnAutoAdvance = [&](rtl::TObject*, int oldRow, int oldCol, int& newRow, int& newCol, bool&) {
        seen = {oldCol, oldRow, newCol, newRow};
    };
    G->MoveColRow(2, 2, true, false);
    G->ShowEditor();
    Key(gui::VK_RETURN);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{4, 2}));
    EXPECT_EQ(seen, (std::vector<int>{2, 2, 4, 2}));

    // A refused value keeps the editor on its cell.
    G->OnCellValidate = [](rtl::TObject*, int, int, std::string&, bool& valid) { valid = false; };
    Type_("y");
    Key(gui::VK_RETURN);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{4, 2}));
    EXPECT_TRUE(G->InplaceEditor()->Visible());

    // With no editable cell at all the advance keeps the current cell.
    G->OnCellValidate = nullptr;
    G->HideEditor();
    G->EndEditing();
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = false; };
    G->AdvanceToNextCell(4, 2, false, false, true, false, false);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{4, 2}));
}

TEST_F(EditFixture, WhichCellMayBecomeCurrent)
{
    // The change events run in order and may refuse.
    std::vector<std::string> fired;
    bool refuse = false;
    G->OnRowChanging = [&](rtl::TObject*, int o, int n, bool& allow) {
        fired.push_back("row " + std::to_string(o) + ">" + std::to_string(n));
        if (refuse) allow = false;
    };
    G->OnColChanging = [&](rtl::TObject*, int o, int n, bool&) {
        fired.push_back("col " + std::to_string(o) + ">" + std::to_string(n));
    };
    G->OnCellChanging = [&](rtl::TObject*, int, int, int, int, bool& allow) {
        fired.push_back(allow ? "cell ok" : "cell refused");
    };
    G->MoveColRow(2, 2, true, false);
    fired.clear();
    gui::sim::KeyPress(gui::VK_DOWN, {}, G);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(fired, (std::vector<std::string>{"row 2>3", "cell ok"}));
    refuse = true;
    fired.clear();
    gui::sim::KeyPress(gui::VK_DOWN, {}, G);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(fired, (std::vector<std::string>{"row 3>4", "cell refused"}));
    refuse = false;
    G->OnRowChanging = nullptr;
    G->OnColChanging = nullptr;
    G->OnCellChanging = nullptr;

    // A covered merged cell hands over to its base cell (with range
    // selection it may become current itself).
    G->MergeCells(3, 1, 2, 2);
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goRangeSelect});
    G->MoveColRow(4, 2, true, false);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{4, 2}));
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goRangeSelect});
    G->MoveColRow(1, 1, true, false);
    G->MoveColRow(4, 2, true, false);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{3, 1}));

    // The floating footer's row never becomes current.
    G->FloatingFooter()->SetVisible(true);
    G->MoveColRow(1, 4, true, false);
    gui::sim::KeyPress(gui::VK_DOWN, {}, G);
    EXPECT_EQ(G->Row(), 4);

    // A read-only cell opens no editor.
    G->OnCanEditCell = [](rtl::TObject*, int, int, bool& can) { can = false; };
    G->ShowEditor();
    EXPECT_FALSE(G->InplaceEditor() && G->InplaceEditor()->Visible());
}

TEST_F(EditFixture, CursorWalkToTheNeighbouringEditableCell)
{
    G->OnCanEditCell = [](rtl::TObject*, int r, int c, bool& can) { can = !(r == 2 && c == 2); };
    G->Navigation()->SetCursorWalkEditor(true);
    G->Navigation()->SetCursorWalkAlwaysEdit(false);
    G->SetCells(3, 2, "ab");
    G->MoveColRow(3, 2, true, false);
    G->ShowEditor();
    auto* ed = dynamic_cast<TExInplaceEdit*>(G->InplaceEditor());
    ASSERT_NE(ed, nullptr);
    ed->SetSel(1, 0);
    Key(gui::VK_LEFT);  // inside the text: the caret moves
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(ed->SelStart(), 0);
    Key(gui::VK_LEFT);  // at 0: over the read-only cell 2 to cell 1
    EXPECT_EQ(G->Col(), 1);
    EXPECT_FALSE(ed->Visible());

    G->Navigation()->SetCursorWalkAlwaysEdit(true);
    G->ShowEditor();
    ed->SetSel(static_cast<int>(ed->EditText().size()), 0);
    Key(gui::VK_RIGHT);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_TRUE(ed->Visible());
}

TEST_F(EditFixture, EditingStartsByMouseAndKeys)
{
    auto open = [&] { return G->InplaceEditor() && G->InplaceEditor()->Visible(); };
    auto centre = [&](int c, int r) {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return gui::TPoint{(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    };
    // DirectEdit: one click opens the editor.
    G->MouseActions()->SetDirectEdit(true);
    gui::TPoint p = centre(2, 3);
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{2, 3}));
    EXPECT_TRUE(open());
    G->HideEditor();
    G->EndEditing();
    G->MouseActions()->SetDirectEdit(false);

    // Double-click-only editing: Enter and a double click open the editor.
    G->MouseActions()->SetEditOnDblClickOnly(true);
    EXPECT_FALSE(G->Options().Contains(TGridOption::goEditing));
    p = centre(3, 3);
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_FALSE(open());
    gui::sim::DblClick(G, p.X, p.Y);
    EXPECT_TRUE(open());
    G->HideEditor();
    G->EndEditing();
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    gui::sim::KeyPress(gui::VK_F2, {}, G);
    EXPECT_TRUE(open());
    G->HideEditor();
    G->EndEditing();
    G->MouseActions()->SetEditOnDblClickOnly(false);

    // Range-select editing: Enter on a read-only cell does nothing.
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    G->MouseActions()->SetRangeSelectAndEdit(true);
    G->OnCanEditCell = [](rtl::TObject*, int r, int, bool& can) { can = r != 4; };
    G->MoveColRow(2, 4, true, false);
    gui::sim::KeyPress(gui::VK_RETURN, {}, G);
    EXPECT_FALSE(open());
    G->MoveColRow(2, 2, true, false);
    gui::sim::KeyPress(gui::VK_RETURN, {}, G);
    EXPECT_TRUE(open());
}

TEST_F(EditFixture, DoubleClickOnAHeaderBorderSizesTheColumn)
{
    struct SizingGrid : EditGrid {
        using EditGrid::EditGrid;
        std::vector<int> Sized;
        void AutoSizeCol(int c) override { Sized.push_back(c); }
    };
    auto* g = new SizingGrid(&Form);
    g->SetParent(&Form);
    g->SetBounds(0, 0, 500, 300);
    g->SetColCount(6);
    g->SetRowCount(6);
    g->SetOptions(g->Options() + gui::TGridOptions{TGridOption::goColSizing});
    std::vector<int> asked, ended;
    bool allow = true;
    g->OnColumnSize = [&](rtl::TObject*, int c, bool& a) {
        asked.push_back(c);
        a = allow;
    };
    g->OnEndColumnSize = [&](rtl::TObject*, int c) { ended.push_back(c); };
    int cellDbl = 0;
    g->OnDblClickCell = [&](rtl::TObject*, int, int) { ++cellDbl; };
    const gui::TRect h2 = g->gui::TCustomGrid::CellRect(2, 0);
    gui::sim::DblClick(g, h2.Left + 2, 5);  // left border of column 2: column 1
    gui::sim::DblClick(g, h2.Right - 2, 5);  // its right border: column 2
    gui::sim::DblClick(g, (h2.Left + h2.Right) / 2, 5);  // the middle sizes nothing
    // (OnColumnSize is also asked by the sizing drag the presses start.)
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(g->Sized, (std::vector<int>{1, 2}));
    EXPECT_EQ(ended, (std::vector<int>{1, 2}));
    EXPECT_EQ(cellDbl, 1);
    allow = false;
    gui::sim::DblClick(g, h2.Right - 2, 5);
    EXPECT_EQ(g->Sized.size(), 2u);
}

TEST_F(EditFixture, TabLeavesTheEditorAfterValidation)
{
    G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goTabs});
    bool refuse = true;
    G->OnCellValidate = [&](rtl::TObject*, int, int, std::string&, bool& valid) { valid = !refuse; };
    TExInplaceEdit* ed = Open("a");
    ASSERT_NE(ed, nullptr);
    Type_("b");
    Key(gui::VK_TAB);
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{2, 2}));  // refused: stays
    EXPECT_TRUE(G->InplaceEditor()->Visible());
    EXPECT_EQ(ed->SelLength(), static_cast<int>(ed->EditText().size()));  // all selected
    refuse = false;
    Type_("c");
    Key(gui::VK_TAB);
    EXPECT_EQ(G->Cells(2, 2), "c");
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{3, 2}));
    EXPECT_TRUE(G->InplaceEditor()->Visible());  // AdvanceAutoEdit opens it there
    Key(gui::VK_TAB, gui::TShiftState{TShiftStateItem::ssShift});
    EXPECT_EQ((gui::TPoint{G->Col(), G->Row()}), (gui::TPoint{2, 2}));
}

TEST_F(EditFixture, TypingOnTheGridStartsEditingThroughTheFilter)
{
    std::vector<std::string> changes;
    G->OnEditChange = [&](rtl::TObject*, int, int, const std::string& v) { changes.push_back(v); };
    Type = TEditorType::edNumeric;
    G->SetCells(2, 2, "7");
    G->MoveColRow(2, 2, true, false);
    gui::sim::TypeText("a", G);
    EXPECT_TRUE(G->InplaceEditor() && G->InplaceEditor()->Visible());
    EXPECT_EQ(G->InplaceEditor()->EditText(), "7");  // the letter is refused
    EXPECT_EQ(Beeps, 1);
    EXPECT_TRUE(changes.empty());  // filling the editor is no change
    gui::sim::TypeText("5", G->InplaceEditor());
    EXPECT_EQ(G->InplaceEditor()->EditText(), "5");
    EXPECT_EQ(changes, (std::vector<std::string>{"5"}));
}

TEST_F(EditFixture, KeypadDecimalKeyTypesTheLocaleSeparator)
{
    const rtl::TFormatSettings saved = rtl::FormatSettings();
    rtl::FormatSettings().DecimalSeparator = ',';
    rtl::FormatSettings().ThousandSeparator = '.';
    G->SetExcelStyleDecimalSeparator(true);
    TExInplaceEdit* ed = Open("1", TEditorType::edFloat);
    ASSERT_NE(ed, nullptr);
    Key(gui::VK_DECIMAL);  // the keypad key
    Key(gui::VK_OEM_PERIOD);  // the main keyboard's "." is the thousand separator here: dropped
    Type_("5");
    const std::string text = ed->EditText();
    G->SetExcelStyleDecimalSeparator(false);
    G->HideEditor();
    G->EndEditing();
    ed = Open("1", TEditorType::edFloat);
    Key(gui::VK_DECIMAL);
    const std::string without = ed->EditText();
    rtl::FormatSettings() = saved;
    EXPECT_EQ(text, "1,5");
    EXPECT_EQ(without, "1");
}

TEST_F(EditFixture, SelectionResizeHandle)
{
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goEditing});
    G->SetSelectionRectangle(true);
    G->SetSelectionResizer(true);
    G->SetSelection({2, 2, 2, 2});
    std::vector<gui::TGridRect> seen;
    G->OnSelectionResize = [&](rtl::TObject*, const gui::TGridRect& o, const gui::TGridRect& n) {
        seen.push_back(o);
        seen.push_back(n);
    };
    int done = 0;
    G->OnSelectionResized = [&](rtl::TObject*, const gui::TGridRect&, const gui::TGridRect&) { ++done; };
    const gui::TRect c22 = G->gui::TCustomGrid::CellRect(2, 2);
    const gui::TRect c34 = G->gui::TCustomGrid::CellRect(3, 4);
    EXPECT_FALSE(G->OnSelectionHandle(c22.Right - 8, c22.Bottom - 2));
    ASSERT_TRUE(G->OnSelectionHandle(c22.Right - 2, c22.Bottom - 2));
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, c22.Right - 2, c22.Bottom - 2);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{2, 2, 2, 2}));
    gui::sim::MouseMove(G, (c34.Left + c34.Right) / 2, (c34.Top + c34.Bottom) / 2,
                        gui::TShiftState{TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, (c34.Left + c34.Right) / 2, (c34.Top + c34.Bottom) / 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (gui::TGridRect{2, 2, 2, 2}));
    EXPECT_EQ(seen[1], (gui::TGridRect{2, 2, 3, 4}));
    EXPECT_EQ(done, 1);
}

TEST_F(EditFixture, TheGridSizesFixedColumnsAndRowsItself)
{
    G->SetOptions(G->Options() - gui::TGridOptions{TGridOption::goColSizing, TGridOption::goRowSizing});
    G->MouseActions()->SetSizeFixedCol(true);
    G->MouseActions()->SetSizeFixedRow(true);
    G->SetHintShowSizing(true);
    std::vector<int> sizing;
    G->OnColumnSizing = [&](rtl::TObject*, int i, int size) { sizing.push_back(i * 1000 + size); };
    int endedCol = -1, endedRow = -1;
    G->OnEndColumnSize = [&](rtl::TObject*, int c) { endedCol = c; };
    G->OnEndRowSize = [&](rtl::TObject*, int r) { endedRow = r; };
    const int border = G->ColWidths(0);
    const int y = G->RowHeights(0) + 10;  // in row 1, on fixed column 0's right border
    gui::sim::MouseMove(G, border + 1, y);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, border + 1, y);
    gui::sim::MouseMove(G, 100, y, gui::TShiftState{TShiftStateItem::ssLeft});
    EXPECT_EQ(G->LastSizingHint(), "cw=<b>100</b>");
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, 100, y);
    EXPECT_EQ(G->ColWidths(0), 100);
    EXPECT_EQ(endedCol, 0);
    EXPECT_EQ(sizing, (std::vector<int>{100}));

    // The fixed row's bottom border, likewise.
    const int rb = G->RowHeights(0);
    gui::sim::MouseMove(G, 150, rb + 1);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, 150, rb + 1);
    gui::sim::MouseMove(G, 150, 40, gui::TShiftState{TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, 150, 40);
    EXPECT_EQ(G->RowHeights(0), 40);
    EXPECT_EQ(endedRow, 0);

    // Without SizeFixedCol the border is an ordinary press.
    G->MouseActions()->SetSizeFixedCol(false);
    const int w = G->ColWidths(0);
    gui::sim::MouseMove(G, w + 1, y);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, w + 1, y);
    gui::sim::MouseMove(G, 150, y, gui::TShiftState{TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, 150, y);
    EXPECT_EQ(G->ColWidths(0), w);
}
