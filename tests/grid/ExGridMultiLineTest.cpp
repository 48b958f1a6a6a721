// The default editor's lines: Ctrl+Enter and LineFeedOnEnter type CR LF,
// Up and Down move between the lines before leaving the cell, the row grows
// while typing with SizeWhileTyping.Height; and a picture of an open
// multi-line editor, a password cell and lookup completion.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/DateTime.h"
#include "TestFormatSettings.h"

using namespace grid;
using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

struct LinesFixture : testing::Test {
    ScopedFormatSettings Saved;
    gui::TForm Form{nullptr};
    TExStringGrid* G;
    TEditorType Type = TEditorType::edNormal;
    LinesFixture()
    {
        Form.SetBounds(0, 0, 520, 260);
        G = new TExStringGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 240);
        G->SetColCount(4);
        G->SetRowCount(5);
        G->SetDefaultColWidth(120);
        G->SetOptions(G->Options() + gui::TGridOptions{TGridOption::goEditing});
        G->OnGetEditorType = [this](rtl::TObject*, int, int, TEditorType& e) { e = Type; };
        Form.Show();
        G->SetFocus();
    }
    gui::TInplaceEdit* Open(int c, int r, const std::string& text)
    {
        G->SetCells(c, r, text);
        G->MoveColRow(c, r, true, false);
        G->ShowEditor();
        gui::TInplaceEdit* ed = G->InplaceEditor();
        if (!ed || !ed->Visible()) return nullptr;
        ed->SetSel(static_cast<int>(ed->EditText().size()), 0);
        return ed;
    }
};

} // namespace

TEST_F(LinesFixture, LineBreaksAndMovingBetweenLines)
{
    gui::TInplaceEdit* ed = Open(1, 1, "ab");
    ASSERT_NE(ed, nullptr);
    gui::sim::KeyPress(gui::VK_RETURN, {TShiftStateItem::ssCtrl}, ed);
    gui::sim::TypeText("cd", ed);
    EXPECT_EQ(ed->EditText(), "ab\r\ncd");
    EXPECT_TRUE(ed->Visible());
    // Up to the first line at the same column, Down back; Down from the
    // last line leaves the cell with its lines.
    ed->SetSel(5, 0);
    gui::sim::KeyPress(gui::VK_UP, {}, ed);
    EXPECT_EQ(ed->SelStart(), 1);
    EXPECT_EQ(G->Row(), 1);
    gui::sim::KeyPress(gui::VK_UP, {}, ed);  // the first line: leaves
    EXPECT_EQ(G->Row(), 1);  // the first data row: nowhere to go up
    ed = Open(1, 2, "ab\r\ncd");
    ed->SetSel(0, 0);
    gui::sim::KeyPress(gui::VK_DOWN, {}, ed);
    EXPECT_EQ(ed->SelStart(), 4);
    EXPECT_EQ(G->Row(), 2);
    gui::sim::KeyPress(gui::VK_DOWN, {}, ed);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->Cells(1, 2), "ab\r\ncd");

    // Without AllowCtrlEnter Ctrl+Enter types nothing.
    G->Navigation()->SetAllowCtrlEnter(false);
    ed = Open(1, 1, "x");
    gui::sim::KeyPress(gui::VK_RETURN, {TShiftStateItem::ssCtrl}, ed);
    EXPECT_EQ(ed->EditText(), "x");
    // LineFeedOnEnter: a plain Enter types the line break.
    G->Navigation()->SetLineFeedOnEnter(true);
    gui::sim::KeyPress(gui::VK_RETURN, {}, ed);
    EXPECT_EQ(ed->EditText(), "x\r\n");
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(LinesFixture, RowGrowsWhileTypingLines)
{
    G->SetMultilinecells(true);
    G->SizeWhileTyping()->SetHeight(true);
    int ended = -1;
    G->OnEndRowSize = [&](rtl::TObject*, int r) { ended = r; };
    const int before = G->RowHeights(2);
    gui::TInplaceEdit* ed = Open(1, 2, "one");
    ASSERT_NE(ed, nullptr);
    gui::sim::KeyPress(gui::VK_RETURN, {TShiftStateItem::ssCtrl}, ed);
    gui::sim::TypeText("two", ed);
    gui::sim::KeyPress(gui::VK_RETURN, {TShiftStateItem::ssCtrl}, ed);
    EXPECT_GT(G->RowHeights(2), before);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(ed->Height(), G->RowHeights(2));
}

TEST_F(LinesFixture, ColumnGrowsWhileTyping)
{
    G->SizeWhileTyping()->SetWidth(true);
    gui::TInplaceEdit* ed = Open(1, 1, "");
    ASSERT_NE(ed, nullptr);
    gui::sim::TypeText("short", ed);
    EXPECT_EQ(G->ColWidths(1), 120);  // fits: no change
    gui::sim::TypeText(" and a much longer text than the column holds", ed);
    EXPECT_GT(G->ColWidths(1), 120);
    EXPECT_EQ(ed->Width(), G->ColWidths(1));
    G->SizeWhileTyping()->SetWidth(false);
    const int w = G->ColWidths(1);
    gui::sim::TypeText(" and more", ed);
    EXPECT_EQ(G->ColWidths(1), w);
}

TEST_F(LinesFixture, EditMaskTable)
{
    rtl::FormatSettings().DateSeparator = '/';
    std::string mask;
    G->OnGetEditMask = [&](rtl::TObject*, int, int, std::string& m) { m = mask; };
    struct Case {
        const char* mask;
        const char* cell;
        const char* typed;
        const char* shown;
        const char* stored;
    };
    const Case cases[] = {
        {"00/00/0000;1;_", "", "12032024", "12/03/2024", "12/03/2024"},
        {"00/00/0000;1;_", "", "1x2", "12/__/____", "12/  /"},
        {"00/00/0000;1;_", "", "", "__/__/____", ""},
        {"(999) 000-0000;0;_", "", "5551234567", "(555) 123-4567", "5551234567"},
        {">LL-00;1;*", "", "ab12", "AB-12", "AB-12"},
        {"00:00;1;_", "0930", "", "09:30", "09:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        mask = c.mask;
        gui::TInplaceEdit* ed = Open(1, 1, c.cell);
        ASSERT_NE(ed, nullptr);
        ed->SetSel(0, 0);
        gui::sim::TypeText(c.typed, ed);
        EXPECT_EQ(ed->EditText(), c.shown);
        gui::sim::KeyPress(gui::VK_RETURN, {}, ed);
        EXPECT_EQ(G->Cells(1, 1), c.stored);
    }
    // Backspace blanks the position before the caret, over literals.
    mask = "00-00;1;_";
    gui::TInplaceEdit* ed = Open(1, 1, "1234");
    EXPECT_EQ(ed->EditText(), "12-34");
    ed->SetSel(3, 0);
    gui::sim::KeyPress(gui::VK_BACK, {}, ed);
    EXPECT_EQ(ed->EditText(), "1_-34");
    gui::sim::KeyPress(gui::VK_ESCAPE, {}, ed);
    EXPECT_EQ(G->Cells(1, 1), "1234");

    // A full mask with AdvanceAuto moves on.
    G->Navigation()->SetAdvanceAuto(true);
    G->Navigation()->SetAdvanceOnEnter(true);
    mask = "00;1;_";
    ed = Open(1, 1, "");
    ed->SetSel(0, 0);
    gui::sim::TypeText("42", ed);
    EXPECT_EQ(G->Cells(1, 1), "42");
    EXPECT_EQ(G->Col(), 2);
}

TEST(GridTextEditorShot, MultiLinePasswordAndLookup)
{
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 520, 200);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 500, 180);
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetDefaultColWidth(150);
    g->SetOptions(g->Options() + gui::TGridOptions{TGridOption::goEditing});
    g->SetMultilinecells(true);
    g->SizeWhileTyping()->SetHeight(true);
    g->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& e) {
        if (c == 2) e = TEditorType::edPassword;
    };
    g->SetLookup(true);
    g->LookupItems()->Add("Svalbard");
    form.Show();
    g->SetFocus();
    gui::TBitmap sheet;
    sheet.SetSize(3 * 330, 110);
    sheet.Canvas()->Brush()->SetColor(gui::clWhite);
    sheet.Canvas()->FillRect({0, 0, sheet.Width(), sheet.Height()});
    auto tile = [&](int i, const char* name, int col, int row) {
        gui::Application->ProcessMessages();
        auto img = g->GetImage();
        const gui::TRect cell = g->CellRect(col, row);
        const gui::TRect src{cell.Left - 160, cell.Top - 26, cell.Left + 160, cell.Top + 64};
        sheet.Canvas()->CopyRect({i * 330 + 5, 18, i * 330 + 325, 108}, img->Canvas(), src);
        sheet.Canvas()->TextOut(i * 330 + 6, 2, name);
        g->SetFocus();
        g->HideEditor();
    };
    g->MoveColRow(1, 1, true, false);
    g->ShowEditor();
    gui::TInplaceEdit* ed = g->InplaceEditor();
    ed->SetSel(0, 99);
    gui::sim::TypeText("First line", ed);
    gui::sim::KeyPress(gui::VK_RETURN, {TShiftStateItem::ssCtrl}, ed);
    gui::sim::TypeText("second", ed);
    tile(0, "multi-line editor", 1, 1);
    g->SetCells(2, 1, "secret");
    g->MoveColRow(2, 1, true, false);
    g->ShowEditor();
    tile(1, "password cell", 2, 1);
    g->MoveColRow(3, 1, true, false);
    g->ShowEditor();
    ed = g->InplaceEditor();
    ed->SetSel(0, 99);
    gui::sim::TypeText("Sv", ed);
    EXPECT_EQ(ed->EditText(), "Svalbard");
    tile(2, "lookup completion", 3, 1);
    gui::TPngImage png;
    png.Assign(&sheet);
    const std::string file = (tectest::SnapshotDir() / "grid-text-editor.png").string();
    png.SaveToFile(file);
    RecordProperty("screenshot", file);
}
