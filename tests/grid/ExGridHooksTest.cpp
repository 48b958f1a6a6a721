// The per-cell questions: fixed cells with FixedRowAlways, editability by
// the merge base cell, the brush and font of a cell (active-cell headers,
// stored properties by cell type, the event last), alignment, permanent
// editor buttons, check texts, column filters, hints and group borders.
#include <gtest/gtest.h>

#include <set>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

using namespace grid;

namespace {

// A grid whose cell types, node and summary rows the test decides.
struct HookGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::set<std::pair<int, int>> CheckBoxes;
    std::set<int> Nodes, Summaries;
    TCellType GetCellType(int c, int r) override
    {
        return CheckBoxes.count({c, r}) ? TCellType::ctCheckBox : TCellType::ctEmpty;
    }
    bool IsNode(int r) const override { return Nodes.count(r) > 0; }
    bool IsSummary(int r) const override { return Summaries.count(r) > 0; }
};

struct HookFixture : testing::Test {
    gui::TForm Form{nullptr};
    HookGrid* G = new HookGrid(&Form);
    HookFixture()
    {
        G->SetColCount(6);
        G->SetRowCount(8);
    }
};

} // namespace

TEST_F(HookFixture, IsFixedCellWithFixedRowAlways)
{
    G->SetFixedRowAlways(true);
    std::vector<std::pair<int, int>> asked;
    G->OnIsFixedCell = [&](rtl::TObject*, int r, int c, bool& fixed) {
        asked.push_back({c, r});
        if (c == 3 && r == 3) fixed = true;
    };
    struct Case {
        int col, row;
        bool fixed, eventAsked;
    } cases[] = {{0, 3, true, false}, {2, 0, true, false}, {2, 3, false, true}, {3, 3, true, true}};
    for (const Case& c : cases) {
        asked.clear();
        EXPECT_EQ(G->IsFixed(c.col, c.row), c.fixed) << c.col << "," << c.row;
        EXPECT_EQ(!asked.empty(), c.eventAsked) << c.col << "," << c.row;
    }
    // Only the fixed row left: the platform keeps one normal row, the grid
    // still shows row 0 (and the row up to the minimum) as fixed.
    G->SetRowCount(1);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 0);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_TRUE(G->IsFixed(2, 0));
    G->SetRowCount(5);
    EXPECT_EQ(G->TBaseGrid::FixedRows(), 1);
}

TEST_F(HookFixture, CanEditBaseCellTable)
{
    G->MergeCells(2, 2, 2, 2);
    struct Case {
        const char* name;
        bool readOnly, editing, rangeSelectAndEdit, withRecord, expect;
    } cases[] = {
        {"no record, no goEditing", false, false, false, false, true},
        {"record, no goEditing", false, false, false, true, false},
        {"record, goEditing", false, true, false, true, true},
        {"read-only record, goEditing", true, true, false, true, false},
        {"record, RangeSelectAndEdit", false, false, true, true, true},
    };
    for (const Case& c : cases) {
        G->FreeCellProperties(4, 4);
        if (c.withRecord) G->GetCellProperties(4, 4)->SetReadOnly(c.readOnly);
        G->SetOptions(c.editing ? G->Options() + gui::TGridOptions{gui::TGridOption::goEditing}
                                : G->Options() - gui::TGridOptions{gui::TGridOption::goEditing});
        G->MouseActions()->SetRangeSelectAndEdit(c.rangeSelectAndEdit);
        bool can = true;
        G->CanEditBaseCell(4, 4, can);
        EXPECT_EQ(can, c.expect) << c.name;
    }
    // The event has the last word and gets the merge base cell.
    int evCol = -1, evRow = -1;
    G->OnCanEditCell = [&](rtl::TObject*, int r, int c, bool& can) {
        evCol = c;
        evRow = r;
        can = true;
    };
    G->GetCellProperties(2, 2)->SetReadOnly(true);
    bool can = true;
    G->CanEditBaseCell(3, 3, can);
    EXPECT_TRUE(can);
    EXPECT_EQ(evCol, 2);
    EXPECT_EQ(evRow, 2);
}

TEST_F(HookFixture, ActiveCellHeadersTakeTheActiveCellLook)
{
    G->SetActiveCellShow(true);
    G->SetActiveCellColor(0x00FFFF);
    G->ActiveCellFont()->SetColor(0x0000FF);
    G->SetCol(3);
    G->SetRow(4);
    struct Case {
        int fixedCols, col, row;
        bool highlighted;
    } cases[] = {{1, 0, 4, true}, {1, 3, 0, true}, {1, 0, 5, false}, {1, 2, 0, false}, {1, 3, 4, false},
                 {0, 3, 0, true}};
    for (const Case& c : cases) {
        G->SetFixedCols(c.fixedCols);
        G->SetCol(3);
        G->SetRow(4);
        gui::TBrush brush;
        brush.SetColor(gui::clWhite);
        gui::TFont font;
        font.SetColor(0);
        G->GetCellColor(c.col, c.row, {}, &brush, &font);
        EXPECT_EQ(brush.Color() == 0x00FFFFu, c.highlighted) << c.fixedCols << ": " << c.col << "," << c.row;
        EXPECT_EQ(font.Color() == 0x0000FFu, c.highlighted) << c.fixedCols << ": " << c.col << "," << c.row;
    }
    // Without fixed columns no row header is highlighted: (0, 4) is a normal cell.
    gui::TBrush brush;
    gui::TFont font;
    G->GetCellColor(0, 4, {}, &brush, &font);
    EXPECT_NE(brush.Color(), 0x00FFFFu);
}

TEST_F(HookFixture, StoredPropertiesByCellTypeThenTheEvent)
{
    TCellProperties* p = G->GetCellProperties(2, 3);
    p->SetBrushColor(0x00FF00);
    p->SetFontColor(0x0000FF);
    p->SetFontSize(14);
    G->CheckBoxes.insert({2, 3});
    gui::TBrush brush;
    brush.SetColor(gui::clWhite);
    gui::TFont font;
    G->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), gui::clWhite);  // a check box paints its own background
    EXPECT_EQ(font.Color(), 0x0000FFu);
    EXPECT_EQ(font.Size(), 14);

    G->CheckBoxes.clear();
    G->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), 0x00FF00u);

    // Unset properties leave the font alone.
    TCellProperties* q = G->GetCellProperties(3, 3);
    q->SetFontColor(gui::clNone);
    q->SetFontStyle({});
    q->SetFontSize(0);
    q->SetFontName("");
    gui::TFont f2;
    f2.SetName("Courier New");
    f2.SetSize(11);
    f2.SetColor(0x123456);
    f2.SetStyle({gui::TFontStyle::fsItalic});
    G->GetCellColor(3, 3, {}, &brush, &f2);
    EXPECT_EQ(f2.Name(), "Courier New");
    EXPECT_EQ(f2.Size(), 11);
    EXPECT_EQ(f2.Color(), 0x123456u);
    EXPECT_TRUE(f2.Style().Contains(gui::TFontStyle::fsItalic));

    // The event comes last, with (ARow, ACol).
    int evRow = -1, evCol = -1;
    G->OnGetCellColor = [&](rtl::TObject*, int r, int c, gui::TGridDrawState, gui::TBrush* b, gui::TFont*) {
        evRow = r;
        evCol = c;
        b->SetColor(0xABCDEF);
    };
    G->GetCellColor(2, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), 0xABCDEFu);
    EXPECT_EQ(evRow, 3);
    EXPECT_EQ(evCol, 2);
}

TEST_F(HookFixture, HotmailRowSelectCentresColumnZero)
{
    G->MouseActions()->SetHotmailRowSelect(true);
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    G->QueryCellAlignment(0, 2, ha, va);
    EXPECT_EQ(ha, TAlignment::taCenter);
    ha = TAlignment::taLeftJustify;
    G->QueryCellAlignment(1, 2, ha, va);
    EXPECT_EQ(ha, TAlignment::taLeftJustify);
    G->OnGetAlignment = [](rtl::TObject*, int, int, TAlignment& h, TVAlignment&) { h = TAlignment::taRightJustify; };
    G->QueryCellAlignment(0, 2, ha, va);
    EXPECT_EQ(ha, TAlignment::taRightJustify);
}

TEST_F(HookFixture, PermanentEditorButtons)
{
    EXPECT_FALSE(G->HasCombo(2, 2));
    G->ControlLook()->SetDropDownAlwaysVisible(true);
    G->SetDefaultEditor(TEditorType::edComboList);
    EXPECT_TRUE(G->HasCombo(2, 2));
    G->OnHasComboBox = [](rtl::TObject*, int c, int, bool& has) { has = c == 4; };
    EXPECT_FALSE(G->HasCombo(2, 2));
    EXPECT_TRUE(G->HasCombo(4, 2));

    G->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    G->SetDefaultEditor(TEditorType::edNormal);
    G->OnGetEditorType = [](rtl::TObject*, int c, int, TEditorType& ed) {
        if (c == 3) ed = TEditorType::edFloatSpinEdit;
    };
    EXPECT_TRUE(G->HasSpinEdit(3, 2));
    EXPECT_FALSE(G->HasSpinEdit(2, 2));
    EXPECT_FALSE(G->HasSpinEdit(3, 0));  // fixed cells never
}

TEST_F(HookFixture, CheckTextsFiltersAndHints)
{
    std::string v;
    G->GetCheckTrue(1, 1, v);
    EXPECT_EQ(v, "Y");
    G->OnGetCheckFalse = [](rtl::TObject*, int, int, std::string& s) { s = "no"; };
    G->GetCheckFalse(1, 1, v);
    EXPECT_EQ(v, "no");

    EXPECT_FALSE(G->GetColumnFilter(2));
    G->OnGetColumnFilter = [](rtl::TObject*, int col, rtl::TStringList* l) {
        if (col == 2) l->Add("> 5");
    };
    EXPECT_TRUE(G->GetColumnFilter(2));
    EXPECT_EQ(G->FilterList()->Count(), 1);
    EXPECT_FALSE(G->GetColumnFilter(3));
    EXPECT_EQ(G->FilterList()->Count(), 0);

    std::string hint;
    std::u16string wide;
    G->OnGridHint = [](rtl::TObject*, int r, int c, std::string& h) { h = "cell " + std::to_string(c) + "," + std::to_string(r); };
    G->GetCellHint(2, 5, hint, wide);
    EXPECT_EQ(hint, "cell 2,5");
    EXPECT_EQ(G->OfficeHint()->Notes(), "cell 2,5");
    G->OnGridWideHint = [](rtl::TObject*, int, int, std::u16string&) {};
    G->GetCellHint(2, 5, hint, wide);
    EXPECT_EQ(hint, "cell 2,5");  // an empty wide hint leaves the hint
    G->OnGridWideHint = [](rtl::TObject*, int, int, std::u16string& h) { h = u"A"; };
    G->GetCellHint(2, 5, hint, wide);
    EXPECT_EQ(hint, gridbase::EncodePrefixedWideText("A"));
}

TEST_F(HookFixture, GroupHeaderAndSummaryBorders)
{
    G->Nodes.insert(2);
    G->Summaries.insert(5);
    G->Grouping()->SetHeaderUnderline(true);
    G->Grouping()->SetHeaderLineColor(0x0000FF);
    G->Grouping()->SetSummaryLine(true);
    gui::TPen pen;
    for (int c = 0; c < 6; ++c) {
        TCellBorders b{TCellBorder::cbLeft};
        G->GetCellBorder(c, 2, &pen, b);
        EXPECT_EQ(b, c == 0 ? TCellBorders{TCellBorder::cbLeft} : TCellBorders{TCellBorder::cbBottom}) << c;
    }
    EXPECT_EQ(pen.Color(), 0x0000FFu);
    TCellBorders b;
    G->GetCellBorder(3, 5, &pen, b);
    EXPECT_EQ(b, TCellBorders{TCellBorder::cbTop});
}
