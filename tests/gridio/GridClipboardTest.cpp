// Clipboard exchange of the string grid: the copied text, the private cell
// format between grids, cut with undo, paste with growth and smart fill,
// the clipboard keys and the selection-resize drag, a clipboard held by
// another program.
#include <gtest/gtest.h>

#include "GridCellText.h"

#include "gridbase/ExObj.h"
#include "gridbase/grddd.h"
#include "gridio/GridBinary.h"
#include "gridio/GridClipboard.h"
#include "gridio/GridIOHooks.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"

using namespace grid;
using gui::TShiftStateItem;

namespace {

// Records the source corner every paste reports.
class PasteGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    std::vector<gui::TPoint> Sources;
    void PastedCellsChanged(gui::TPoint source, const gui::TRect& r, TClipOperation op) override
    {
        Sources.push_back(source);
        TExStringGrid::PastedCellsChanged(source, r, op);
    }
};

struct ClipFixture : testing::Test {
    gui::TForm Form{nullptr};
    PasteGrid* G;
    ClipFixture()
    {
        gridio::InstallGridIOHooks();
        rtl::FormatSettings() = rtl::TFormatSettings{};
        Form.SetBounds(0, 0, 700, 500);
        G = new PasteGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 680, 480);
        G->SetColCount(6);
        G->SetRowCount(10);
        G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing, gui::TGridOption::goRangeSelect});
        gui::Clipboard()->SetAsText("");
    }
    ~ClipFixture() override { gui::SetClipboardHeldByOtherProgram(false); }
    gridio::TGridClipboard Clip() { return gridio::TGridClipboard(*G); }
    void Fill(int col, int row, std::initializer_list<const char*> rows)
    {
        for (const char* t : rows) G->SetCells(col, row++, t);
    }
    std::string Column(int col, int from, int to)
    {
        std::string s;
        for (int r = from; r <= to; ++r) s += G->Cells(col, r) + "|";
        return s;
    }
    std::string Row(int row, int from, int to) { return RowText(*G, row, from, to); }
};

} // namespace

TEST_F(ClipFixture, CopiedText)
{
    G->SetCells(1, 1, "a");
    G->SetCells(2, 1, "b");
    G->SetCells(3, 1, "c");
    G->SetCells(1, 2, "line1\r\nline2");
    G->SetCells(2, 2, "<b>bold</b>");
    G->SetCells(3, 2, "<b>open");
    G->SetCells(1, 3, gridbase::EncodePrefixedWideText("\xce\x94x"));

    G->SetSelection({1, 1, 3, 1});
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "a\tb\tc\t");
    EXPECT_EQ(G->ClipTopLeft(), (gui::TPoint{1, 1}));

    G->SetSelection({1, 1, 3, 3});
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(),
              "a\tb\tc\r\n\"line1\nline2\"\t<b>bold</b>\t<b>open\r\n\xce\x94x\t\t\r\n");

    G->Navigation()->SetCopyHTMLTagsToClipboard(false);
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(),
              "a\tb\tc\r\n\"line1\nline2\"\tbold\t<b>open\r\n\xce\x94x\t\t\r\n");
}

TEST_F(ClipFixture, MergedCornersAndDisjunctRows)
{
    G->MergeCells(1, 1, 2, 2);  // columns 1..2, rows 1..2
    G->MergeCells(3, 3, 2, 1);  // columns 3..4, row 3
    G->SetSelection({2, 2, 3, 3});
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 4, 3}));

    for (int r = 1; r < 10; ++r) G->SetCells(1, r, "r" + std::to_string(r));
    G->SplitCells(1, 1);
    G->SplitCells(3, 3);
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(2, true);
    G->SetRowSelect(5, true);
    G->SetSelection({1, 5, 1, 5});
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "\tr2\t\t\t\t\r\n\tr5\t\t\t\t\r\n");
    G->SetCells(3, 2, "x");
    Clip().CutSelectionToClipboard();
    EXPECT_EQ(Column(1, 1, 5), "r1||r3|r4||");
    EXPECT_EQ(G->Cells(3, 2), "");
}

TEST_F(ClipFixture, HtmlDescriptionOffsetsCountBytes)
{
    G->SetColCount(2);
    G->SetRowCount(2);
    G->SetCells(0, 0, "\xc3\xa9t\xc3\xa9");
    G->SetCells(1, 1, "\xe2\x82\xac 5");
    Clip().CopyToClipBoardAsHTML();
    const std::vector<uint8_t> raw = gui::Clipboard()->GetData(gui::RegisterClipboardFormat("HTML Format"));
    const std::string block(raw.begin(), raw.end());
    EXPECT_EQ(gui::Clipboard()->AsText(), block);
    auto number = [&](const std::string& key) { return std::stoi(block.substr(block.find(key) + key.size(), 8)); };
    EXPECT_EQ(number("StartHTML:"), 97);
    EXPECT_EQ(number("StartFragment:"), 269);
    EXPECT_EQ(block.substr(97, 9), "<!DOCTYPE");
    const int start = number("StartFragment:"), end = number("EndFragment:");
    EXPECT_EQ(block.substr(start - 20, 20), "<!--StartFragment-->");
    EXPECT_EQ(block.substr(end, 18), "<!--EndFragment-->");
    EXPECT_EQ(static_cast<size_t>(number("EndHTML:")), block.size());
    const std::string fragment = block.substr(start, end - start);
    EXPECT_NE(fragment.find("\xe2\x82\xac 5"), std::string::npos);
}

TEST_F(ClipFixture, PrivateFormatBetweenGrids)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetCells(1, 1, "x");
    G->SetCells(2, 1, "y");
    G->SetCells(1, 2, "z");
    G->GetCellProperties(2, 1)->SetBrushColor(0x00112233);
    gui::TBitmap* bmp = G->CreateBitmap(1, 2, false, TCellHAlign::haRight, TCellVAlign::vaBottom);
    bmp->SetSize(5, 3);
    bmp->Canvas()->Brush()->SetColor(0x0000FF);
    bmp->Canvas()->FillRect(gui::TRect{0, 0, 5, 3});
    gui::TBitmap unowned;  // the caller's: not carried
    unowned.SetSize(2, 2);
    G->AddBitmap(2, 2, &unowned, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->SetSelection({1, 1, 2, 2});
    G->CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "x\ty\r\nz\t\r\n");
    ASSERT_TRUE(gui::Clipboard()->HasFormat(GridCellClipboardFormat()));

    auto* H = new PasteGrid(&Form);
    H->SetParent(&Form);
    H->SetColCount(3);
    H->SetRowCount(3);
    H->SetOptions(H->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    H->Navigation()->SetAllowFmtClipboard(true);
    H->SetSelection({2, 2, 2, 2});
    H->PasteSelectionFromClipboard();
    EXPECT_EQ(H->ColCount(), 4);  // grown to hold the block
    EXPECT_EQ(H->RowCount(), 4);
    EXPECT_EQ(H->Cells(2, 2), "x");
    EXPECT_EQ(H->Cells(3, 2), "y");
    EXPECT_EQ(H->Cells(2, 3), "z");
    ASSERT_NE(H->FindCellProperties(3, 2), nullptr);
    EXPECT_EQ(H->FindCellProperties(3, 2)->BrushColor(), 0x00112233u);
    TCellGraphic* pasted = H->GetCellGraphic(2, 3);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->CellType(), TCellType::ctBitmap);
    EXPECT_EQ(pasted->CellHAlign(), TCellHAlign::haRight);
    EXPECT_TRUE(pasted->CellCreated());  // the pasting grid owns its copy
    auto* copy = dynamic_cast<gui::TBitmap*>(pasted->CellBitmap());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, bmp);
    EXPECT_EQ(copy->Width(), 5);
    EXPECT_EQ(copy->Canvas()->Pixels(2, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(H->GetCellGraphic(3, 3), nullptr);
    ASSERT_FALSE(H->Sources.empty());
    EXPECT_EQ(H->Sources.back(), (gui::TPoint{-1, -1}));

    // Without growth the block is clipped at the grid's edge.
    H->Navigation()->SetAllowClipboardColGrow(false);
    H->Navigation()->SetAllowClipboardRowGrow(false);
    H->SetSelection({3, 3, 3, 3});
    H->PasteSelectionFromClipboard();
    EXPECT_EQ(H->ColCount(), 4);
    EXPECT_EQ(H->Cells(3, 3), "x");

    G->SetSelection({4, 4, 4, 4});
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(G->Cells(5, 4), "y");
    EXPECT_EQ(G->Sources.back(), (gui::TPoint{1, 1}));
}

TEST_F(ClipFixture, CutKeepsReadOnlyCellsAndUndoesAtOnce)
{
    Fill(1, 1, {"a", "b", "c"});
    Fill(2, 1, {"d", "e", "f"});
    G->OnCanEditCell = [](rtl::TObject*, int aRow, int aCol, bool& canEdit) { canEdit = !(aCol == 2 && aRow == 2); };
    auto* undo = new gridbase::ZAdiZaviDuraRavi(&Form);
    G->SetUndoRedo(undo);
    G->SetSelection({1, 1, 2, 3});
    Clip().CutSelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "a\td\r\nb\te\r\nc\tf\r\n");
    EXPECT_EQ(Column(1, 1, 3) + Column(2, 1, 3), "||||e||");
    EXPECT_EQ(G->ClipLastOp(), TExStringGrid::TClipOperation::coCut);
    undo->Undo();
    EXPECT_EQ(Column(1, 1, 3) + Column(2, 1, 3), "a|b|c|d|e|f|");
    G->SetSelection({1, 1, 2, 3});

    G->Navigation()->SetAllowClipboardAlways(true);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 2, 3}));
    Clip().CutSelectionToClipboard();
    EXPECT_EQ(Column(2, 1, 3), "|||");
    G->SetUndoRedo(nullptr);
}

TEST_F(ClipFixture, CutToClipboardOverTheSaveRange)
{
    G->SetColCount(3);
    G->SetRowCount(3);
    G->SetCells(1, 1, "k");
    G->SetCells(2, 2, "m");
    G->OnCanEditCell = [](rtl::TObject*, int aRow, int, bool& canEdit) { canEdit = aRow != 2; };
    Clip().CutToClipboard();
    EXPECT_EQ(G->Cells(1, 1), "");
    EXPECT_EQ(G->Cells(2, 2), "m");
    G->Navigation()->SetAllowClipboardAlways(true);
    Clip().CutToClipboard();
    EXPECT_EQ(G->Cells(2, 2), "");
}

TEST_F(ClipFixture, PasteTextAndGrowth)
{
    struct Case {
        const char* name;
        const char* text;
        bool colGrow, insert;
        int result, cols, lastCol;
        const char* row1;  // columns 3 .. lastCol of rows 1 and 2
        const char* row2;
    };
    const Case cases[] = {
        {"plain", "a\tb\r\nc\td\r\n", true, false, 5, 6, 4, "a|b|", "c|d|"},
        {"no final break", "a\tb\r\nc\td", true, false, 4, 6, 4, "a|b|", "c|d|"},
        {"widens", "1\t2\t3\t4\t5\t6\t7\r\n", true, false, 8, 10, 9, "1|2|3|4|5|6|7|", "o|||||||"},
        {"drops", "1\t2\t3\t4\t5\t6\t7\r\n", false, false, 8, 6, 5, "1|2|3|", "o|||"},
        {"inserts", "p\r\nq\r\n", true, true, 3, 6, 3, "p|", "q|"},
        {"quoted break", "\"x\ny\"\tz\r\n", true, false, 3, 6, 4, "x\ny|z|", "o||"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        G->Clear();
        G->SetColCount(6);
        G->SetRowCount(4);
        G->SetCells(3, 2, "o");
        G->Navigation()->SetAllowClipboardColGrow(c.colGrow);
        G->Navigation()->SetClipboardPasteAction(c.insert ? TClipboardPasteAction::paInsert
                                                          : TClipboardPasteAction::paReplace);
        int lines = 0, fields = 0;
        EXPECT_EQ(G->PasteTextAtCell(3, 1, lines, fields, c.text), c.result);
        EXPECT_EQ(G->ColCount(), c.cols);
        EXPECT_EQ(Row(1, 3, c.lastCol), c.row1);
        EXPECT_EQ(Row(2, 3, c.lastCol), c.row2);
        if (c.insert) {
            EXPECT_EQ(G->RowCount(), 6);
            EXPECT_EQ(G->Cells(3, 4), "o");  // the old row moved down twice
        }
    }
    // Rows grow one at a time with AllowClipboardRowGrow, and not without.
    G->Clear();
    G->SetRowCount(3);
    G->Navigation()->SetClipboardPasteAction(TClipboardPasteAction::paReplace);
    int lines = 0, fields = 0;
    G->PasteTextAtCell(1, 1, lines, fields, "1\r\n2\r\n3\r\n4");
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(Column(1, 1, 4), "1|2|3|4|");
    EXPECT_EQ(lines, 4);
    G->Navigation()->SetAllowClipboardRowGrow(false);
    G->PasteTextAtCell(1, 3, lines, fields, "7\r\n8\r\n9");
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(Column(1, 3, 4), "7|8|");

    // A floating footer in the last row is not pasted over.
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    G->FloatingFooter()->SetVisible(true);
    G->SetCells(1, G->RowCount() - 1, "sum");
    G->PasteTextAtCell(1, 2, lines, fields, "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(G->Cells(1, G->RowCount() - 1), "sum");
    EXPECT_EQ(G->Cells(1, 3), "b");
}

TEST_F(ClipFixture, SmartFill)
{
    G->Navigation()->SetAllowSmartClipboard(true);
    G->SetFloatFormat("%.1f");
    rtl::FormatSettings().DateSeparator = '-';
    rtl::FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    struct Case {
        const char* name;
        const char* clip;
        gui::TGridRect sel;
        int to;                // the last row checked
        const char* expected;  // column 1, rows 1 .. to
    };
    const Case cases[] = {
        {"integer series", "1\r\n2\r\n", {1, 1, 1, 5}, 6, "1|2|3|4|5|o|"},
        {"falling series", "10\r\n7\r\n", {1, 1, 1, 4}, 4, "10|7|4|1|"},
        {"single value", "x", {1, 1, 1, 4}, 5, "x|x|x|x|o|"},
        {"single copied cell", "x\t", {1, 1, 1, 4}, 5, "x|x|x|x|o|"},
        {"exact block, no fill", "1\r\n2\r\n", {1, 1, 1, 2}, 4, "1|2|o|o|"},
        {"weekly dates", "2024-12-18\r\n2024-12-25\r\n", {1, 1, 1, 4}, 4,
         "2024-12-18|2024-12-25|2025-01-01|2025-01-08|"},
        {"monthly dates", "2024-10-15\r\n2024-11-15\r\n", {1, 1, 1, 5}, 5,
         "2024-10-15|2024-11-15|2024-12-15|2025-01-15|2025-02-15|"},
        {"floats", "1.5\r\n2.0\r\n", {1, 1, 1, 4}, 4, "1.5|2.0|2.5|3.0|"},
        {"text pattern", "a\r\nb\r\n", {1, 1, 1, 6}, 6, "a|b|a|b|a|b|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        G->Clear();
        for (int r = 1; r < 10; ++r) G->SetCells(1, r, "o");
        gui::Clipboard()->SetAsText(c.clip);
        G->SetSelection(c.sel);
        G->PasteSelectionFromClipboard();
        EXPECT_EQ(Column(1, 1, c.to), c.expected);
    }
    // A row pattern: a TAB b copied from one row fills a, b, a, b, a, b.
    G->Clear();
    G->SetColCount(7);
    gui::Clipboard()->SetAsText("a\tb\t");
    G->SetSelection({1, 2, 6, 2});
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(Row(2, 1, 6), "a|b|a|b|a|b|");
    // Read-only cells are skipped by the fill.
    G->Clear();
    G->OnCanEditCell = [](rtl::TObject*, int aRow, int, bool& canEdit) { canEdit = aRow != 3; };
    gui::Clipboard()->SetAsText("v");
    G->SetSelection({1, 1, 1, 4});
    G->PasteSelectionFromClipboard();
    EXPECT_EQ(Column(1, 1, 4), "v|v||v|");
}

TEST_F(ClipFixture, CheckBoxCellsTakeTheCheckTrueValue)
{
    G->AddCheckBox(2, 1, false, false);
    G->AddCheckBox(2, 2, true, false);
    gui::Clipboard()->SetAsText(G->CheckTrue() + "\r\nno\r\n");
    G->SetSelection({2, 1, 2, 2});
    G->PasteSelectionFromClipboard();
    EXPECT_TRUE(G->IsChecked(2, 1));
    EXPECT_FALSE(G->IsChecked(2, 2));
}

TEST_F(ClipFixture, TextDropMeasuresAndPastes)
{
    struct Case {
        const char* text;
        int x, y;
    };
    const Case cases[] = {{"a\tb\r\nc\td\r\ne\tf\r\n", 2, 2}, {"a\r\n\r\nb\tc\td", 3, 1}, {"", 0, -1}, {"\r\n", 0, -1}};
    for (const Case& c : cases) {
        gui::TPoint size;
        G->MeasurePasteText(c.text, size);
        EXPECT_EQ(size, (gui::TPoint{c.x, c.y})) << c.text;
    }
    int lines = 0, fields = 0;
    G->PasteTextAtCell(2, 3, lines, fields, "a\tb\r\nc\td\r\ne\tf");
    EXPECT_EQ(Row(3, 2, 3) + Row(4, 2, 3) + Row(5, 2, 3), "a|b|c|d|e|f|");
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(fields, 2);

    // A dropped text selects what it filled: two columns, three rows.
    G->DragDropSettings()->SetOleDropTarget(true);
    const gui::TRect cell = G->gui::TCustomGrid::CellRect(1, 5);
    G->GridDropTarget()->DropText({cell.Left + 2, cell.Top + 2}, "p\tq\r\nr\ts\r\nt\tu\r\n");
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 5, 2, 7}));
    EXPECT_EQ(Row(7, 1, 2), "t|u|");
}

TEST_F(ClipFixture, KeysAndSelectionDrag)
{
    Form.Show();
    G->SetFocus();
    G->Navigation()->SetAllowClipboardShortCuts(true);
    G->Navigation()->SetAllowSmartClipboard(true);
    Fill(1, 1, {"1", "2"});
    G->SetSelection({1, 1, 1, 2});
    gui::sim::KeyPress('C', {TShiftStateItem::ssCtrl}, G);
    EXPECT_EQ(gui::Clipboard()->AsText(), "1\r\n2\r\n");
    G->SetSelection({2, 1, 2, 4});
    gui::sim::KeyPress('V', {TShiftStateItem::ssCtrl}, G);
    EXPECT_EQ(Column(2, 1, 4), "1|2|3|4|");
    G->SetSelection({2, 4, 2, 4});
    gui::sim::KeyPress('X', {TShiftStateItem::ssCtrl}, G);
    EXPECT_EQ(G->Cells(2, 4), "");
    EXPECT_EQ(gui::Clipboard()->AsText(), "4\t");
}

TEST_F(ClipFixture, SelectionDragFillsTheStretchedSelection)
{
    Form.Show();
    G->SetFocus();
    G->Navigation()->SetAllowSmartClipboard(true);
    G->SetCells(1, 1, "w");
    G->SetSelectionResizer(true);
    G->SetSelectionRectangle(true);
    G->SetSelection({1, 1, 1, 1});
    const gui::TRect c11 = G->gui::TCustomGrid::CellRect(1, 1);
    const gui::TRect c14 = G->gui::TCustomGrid::CellRect(1, 4);
    ASSERT_TRUE(G->OnSelectionHandle(c11.Right - 2, c11.Bottom - 2));
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, c11.Right - 2, c11.Bottom - 2);
    gui::sim::MouseMove(G, (c14.Left + c14.Right) / 2, (c14.Top + c14.Bottom) / 2, {TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, (c14.Left + c14.Right) / 2, (c14.Top + c14.Bottom) / 2);
    EXPECT_EQ(G->Selection(), (gui::TGridRect{1, 1, 1, 4}));
    EXPECT_EQ(gui::Clipboard()->AsText(), "w\t");
    EXPECT_EQ(Column(1, 1, 5), "w|w|w|w||");
    EXPECT_TRUE(G->Options().Contains(gui::TGridOption::goEditing));  // editing back on
}

TEST_F(ClipFixture, AClipboardHeldElsewhereFailsCleanly)
{
    G->SetCells(1, 1, "new");
    gui::Clipboard()->SetAsText("before");
    gui::SetClipboardHeldByOtherProgram(true);
    G->Navigation()->SetAllowFmtClipboard(true);
    G->SetSelection({1, 1, 1, 1});
    EXPECT_THROW(Clip().CopySelectionToClipboard(), gui::EClipboardException);
    EXPECT_THROW(Clip().CutSelectionToClipboard(), gui::EClipboardException);
    EXPECT_EQ(G->Cells(1, 1), "new");  // a failed cut empties nothing
    gui::SetClipboardHeldByOtherProgram(false);
    EXPECT_EQ(gui::Clipboard()->AsText(), "before");
    // The clipboard was closed: the next copy publishes at once.
    Clip().CopySelectionToClipboard();
    EXPECT_EQ(gui::Clipboard()->AsText(), "new\t");
}

TEST_F(ClipFixture, ChangeScaleScalesTheGridFonts)
{
    G->FixedFont()->SetSize(10);
    G->ActiveCellFont()->SetSize(10);
    gridio::ChangeScale(*G, 3, 2);
    EXPECT_EQ(G->FixedFont()->Size(), 15);
    EXPECT_EQ(G->ActiveCellFont()->Size(), 15);
    gridio::ChangeScale(*G, 2, 2);
    EXPECT_EQ(G->FixedFont()->Size(), 15);
}

TEST_F(ClipFixture, RadioGroupsAndImageListsTravelInThePrivateFormat)
{
    G->Navigation()->SetAllowFmtClipboard(true);
    rtl::TStringList* captions = G->CreateRadio(1, 1, 1, 2);
    captions->Add("N");
    captions->Add("S");
    captions->Add("E");
    TCellGraphic* images = G->CreateCellGraphic(2, 1);
    images->SetMultiImage(2, 1, 1, TCellHAlign::haRight, TCellVAlign::vaCenter, {});
    G->GetMultiImageList(2, 1)->Add(4);
    G->GetMultiImageList(2, 1)->Add(7);
    G->SetSelection({1, 1, 2, 1});
    G->CopySelectionToClipboard();

    auto* H = new PasteGrid(&Form);
    H->SetParent(&Form);
    H->SetColCount(5);
    H->SetRowCount(5);
    H->SetOptions(H->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    H->Navigation()->SetAllowFmtClipboard(true);
    H->SetSelection({2, 3, 2, 3});
    H->PasteSelectionFromClipboard();
    ASSERT_TRUE(H->IsRadio(2, 3));
    rtl::TStringList* pasted = H->GetRadioStrings(2, 3);
    ASSERT_NE(pasted, nullptr);
    EXPECT_NE(pasted, captions);
    EXPECT_EQ(pasted->Text(), captions->Text());
    EXPECT_EQ(H->GetCellGraphic(2, 3)->CellIndex(), 2);
    gridbase::TIntList* list = H->GetMultiImageList(3, 3);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Items(1), 7);
    EXPECT_EQ(H->GetCellGraphic(3, 3)->CellHAlign(), TCellHAlign::haRight);
    EXPECT_FALSE(H->GetCellGraphic(3, 3)->CellBoolean());  // direction kept
}

TEST_F(ClipFixture, NodesAreRecountedAfterABinaryLoad)
{
    G->AddNode(2, 3);
    G->AddNode(6, 2);
    ASSERT_EQ(G->NumNodes(), 2);
    rtl::TMemoryStream s;
    gridio::SaveToBinStream(*G, s);
    auto* H = new PasteGrid(&Form);
    H->SetParent(&Form);
    s.SetPosition(0);
    gridio::LoadFromBinStream(*H, s);
    EXPECT_EQ(H->GetCellType(0, 2), TCellType::ctNode);
    EXPECT_EQ(H->NumNodes(), 2);
    EXPECT_TRUE(H->IsNode(6));
}
