// The floating footer (calculation types, hidden rows, templates, the
// fixed-footer bookkeeping, painting), the search footer driven by
// synthetic keys, the benchmarks (printed, never failing) and the
// screenshots of a grid with a filter drop-down and both footers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/PopupWindow.h"
#include "tests/common/TestPaths.h"

using namespace grid;
using gridbase::TColumnCalcType;

namespace {

struct FooterFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    int Foot() const { return G->RowCount() - 1; }
    FooterFixture()
    {
        Form.SetBounds(0, 0, 600, 400);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 330);
        G->SetColCount(4);
        G->SetRowCount(12);  // a header, 10 data rows, the footer row
        G->FloatingFooter()->SetVisible(true);
        for (int r = 1; r <= 10; ++r) {
            G->SetCells(1, r, std::to_string(r));
            G->SetCells(2, r, "Item " + std::to_string(r));
        }
    }
    void Calc(TColumnCalcType t, int col = 1)
    {
        G->GetCellProperties(col, Foot())->SetCalcType(t);
        G->CalcFooter(-1);
    }
};

} // namespace

TEST_F(FooterFixture, CalculationTypes)
{
    struct Case {
        TColumnCalcType type;
        const char* expected;
    };
    const Case cases[] = {{TColumnCalcType::acSUM, "55.00"},  {TColumnCalcType::acAVG, "5.50"},
                          {TColumnCalcType::acCOUNT, "10"},   {TColumnCalcType::acMIN, "1.00"},
                          {TColumnCalcType::acMAX, "10.00"},  {TColumnCalcType::acCUSTOM, ""},
                          {TColumnCalcType::acNONE, "kept"},  {TColumnCalcType::acSPREAD, "kept"}};
    for (const Case& c : cases) {
        G->SetCells(1, Foot(), "kept");
        Calc(c.type);
        EXPECT_EQ(G->Cells(1, Foot()), c.expected) << static_cast<int>(c.type);
    }
    // A footer cell without a record is left alone.
    G->SetCells(3, Foot(), "own");
    G->CalcFooter(-1);
    EXPECT_EQ(G->Cells(3, Foot()), "own");
    // The grid's event first, then the footer's.
    int row = -1;
    G->FloatingFooter()->OnCalcFooter = [](rtl::TObject*, int, int, std::string& v) { v = "footer's"; };
    Calc(TColumnCalcType::acCUSTOM);
    EXPECT_EQ(G->Cells(1, Foot()), "footer's");
    G->OnFooterCalc = [&](rtl::TObject*, int c, int r, std::string& v) {
        row = r;
        v = "grid's " + std::to_string(c);
    };
    Calc(TColumnCalcType::acCUSTOM);
    EXPECT_EQ(G->Cells(1, Foot()), "grid's 1");
    EXPECT_EQ(row, 11);
}

TEST_F(FooterFixture, HiddenRowsCountWithCalculateHiddenRows)
{
    G->GetCellProperties(2, Foot())->SetCalcType(TColumnCalcType::acCOUNT);
    G->HideRows(2, 4);
    Calc(TColumnCalcType::acSUM);
    EXPECT_EQ(G->Cells(2, Foot()), "10");
    EXPECT_EQ(G->Cells(1, Foot()), "55.00");  // read by real row
    G->FloatingFooter()->SetCalculateHiddenRows(false);
    G->CalcFooter(-1);
    EXPECT_EQ(G->Cells(2, Foot()), "7");
    EXPECT_EQ(G->Cells(1, Foot()), "46.00");
    // Nothing changes without calculation or in a preview style.
    G->SetCells(1, 5, "100");
    G->FloatingFooter()->SetEnableCalculation(false);
    G->CalcFooter(-1);
    EXPECT_EQ(G->Cells(1, Foot()), "46.00");
    G->FloatingFooter()->SetEnableCalculation(true);
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsColumnPreview);
    G->CalcFooter(-1);
    EXPECT_EQ(G->Cells(1, Foot()), "46.00");
}

TEST_F(FooterFixture, FilterChangesRecalculateTheFooter)
{
    Calc(TColumnCalcType::acSUM);
    G->FloatingFooter()->SetCalculateHiddenRows(false);
    TFilterData* f = G->Filter()->Add();
    f->SetColumn(1);
    f->SetCondition(">5");
    G->SetFilterActive(true);
    EXPECT_EQ(G->RowCount(), 7);  // header, 6..10, footer
    EXPECT_EQ(G->Cells(1, Foot()), "40.00");
    G->SetFilterActive(false);
    EXPECT_EQ(G->Cells(1, Foot()), "55.00");
    EXPECT_EQ(G->Cells(2, Foot() - 1), "Item 10");
}

TEST_F(FooterFixture, ExpandTemplate)
{
    G->SetCells(2, 3, "17");
    G->MoveColRow(1, 3, true, false);
    struct Case {
        const char* templ;
        const char* expected;
    };
    const Case cases[] = {{"Total: <#2> items", "Total: 17 items"},
                          {"no tags", "no tags"},
                          {"<#x>gone", "gone"},
                          {"<#1>/<#2>", "3/17"},
                          {"<#99>", ""},
                          {"open <#2", "open <#2"},          // unterminated: kept as text
                          {"<#2> and <#1", "17 and <#1"}};
    for (const Case& c : cases) EXPECT_EQ(G->FooterPanel()->ExpandTemplate(c.templ), c.expected) << c.templ;
}

TEST_F(FooterFixture, FixedFootersFollowVisibleAndStyle)
{
    EXPECT_EQ(G->FixedFooters(), 1);
    EXPECT_TRUE(G->HideLastRow());
    EXPECT_EQ(G->FooterPanel()->Height(), G->FloatingFooter()->Height() - 1);
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsCustomPreview);
    EXPECT_EQ(G->FixedFooters(), 1);  // until Visible is set again
    EXPECT_FALSE(G->HideLastRow());
    G->FloatingFooter()->SetVisible(true);
    EXPECT_EQ(G->FixedFooters(), 0);
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    G->FloatingFooter()->SetVisible(false);
    EXPECT_EQ(G->FixedFooters(), 0);
    EXPECT_FALSE(G->HideLastRow());
    EXPECT_FALSE(G->FooterPanel()->Visible());
    EXPECT_EQ(G->FooterPanel()->Height(), 0);
}

TEST_F(FooterFixture, HintsAndClicksNameTheFooterColumn)
{
    G->OnGridHint = [](rtl::TObject*, int row, int col, std::string& hint) {
        hint = "row " + std::to_string(row) + " col " + std::to_string(col);
    };
    gui::THintInfo info;
    info.CursorPos = {G->ColWidths(0) + G->ColWidths(1) + 3, 5};
    EXPECT_EQ(G->FooterPanel()->Perform(gui::CM_HINTSHOW, 0, reinterpret_cast<gui::LPARAM>(&info)), 1);
    EXPECT_EQ(info.HintStr, "row 11 col 2");
    EXPECT_EQ(G->FooterPanel()->LastHintColumn(), -1);  // ShowHint off: suppressed
    G->FloatingFooter()->SetShowHint(true);
    EXPECT_EQ(G->FooterPanel()->Perform(gui::CM_HINTSHOW, 0, reinterpret_cast<gui::LPARAM>(&info)), 0);
    EXPECT_EQ(G->FooterPanel()->LastHintColumn(), 2);

    int clicks = 0, row = -1, col = -1;
    G->OnClick = [&](rtl::TObject*) { ++clicks; };
    G->OnClickCell = [&](rtl::TObject*, int r, int c) {
        row = r;
        col = c;
    };
    Form.Show();
    gui::sim::Click(G->FooterPanel(), G->ColWidths(0) + 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(row, 11);
    EXPECT_EQ(col, 1);
}

TEST_F(FooterFixture, PreviewStylesDrawTheCurrentRow)
{
    G->MoveColRow(1, 3, true, false);
    G->SetSelectionTextColor(0x0000FF);
    Form.Show();
    auto ink = [&] {
        auto img = G->FooterPanel()->GetImage();
        int n = 0;
        for (int x = 2; x < 200; ++x)
            for (int y = 2; y < G->FooterPanel()->Height() - 2; ++y)
                if (const TColor p = img->Canvas()->Pixels(x, y); (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) < 200)
                    ++n;
        return n;
    };
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsColumnPreview);
    G->FloatingFooter()->SetColumn(2);
    const int preview = ink();
    EXPECT_GT(preview, 5);  // "Item 3"
    EXPECT_EQ(G->SelectionTextColor(), 0x0000FFu);  // put back after drawing
    G->FloatingFooter()->SetFooterStyle(TFooterStyle::fsCustomPreview);
    G->FloatingFooter()->SetCustomTemplate("<b>Row <#1>: <#2></b>");
    EXPECT_GT(ink(), preview);  // the longer text
    G->FloatingFooter()->SetCustomTemplate("");
    EXPECT_EQ(ink(), 0);
}

TEST_F(FooterFixture, PanelPainting)
{
    G->SetColor(0x00FF00);
    G->FloatingFooter()->SetHeight(30);
    Calc(TColumnCalcType::acSUM);
    Form.Show();
    auto shot = [&] { return G->FooterPanel()->GetImage(); };
    const int w = 4 * G->DefaultColWidth();  // the columns end before the panel does
    ASSERT_LT(w + 10, G->FooterPanel()->Width());
    auto img = shot();
    ASSERT_TRUE(img);
    EXPECT_NE(img->Canvas()->Pixels(5, 0), gui::ColorToRGB(gui::clRed));
    EXPECT_EQ(img->Canvas()->Pixels(w + 5, 10), 0x00FF00u);  // beyond the columns: the grid's colour
    // The sum is drawn in column 1.
    int ink = 0;
    for (int x = G->ColWidths(0); x < G->ColWidths(0) + G->ColWidths(1); ++x)
        for (int y = 3; y < 25; ++y)
            if (const TColor p = img->Canvas()->Pixels(x, y); (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) < 200)
                ++ink;
    EXPECT_GT(ink, 5);
    G->FloatingFooter()->SetBorderColor(gui::clRed);
    img = shot();
    EXPECT_EQ(img->Canvas()->Pixels(5, 0), gui::ColorToRGB(gui::clRed));
    EXPECT_NE(img->Canvas()->Pixels(w + 5, 0), gui::ColorToRGB(gui::clRed));
}

// ------------------------------------------------------------ search footer

namespace {

struct SearchFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    TRetEdit* Edit = nullptr;
    struct Action {
        std::string value;
        int col, row;
        TSearchAction action;
    };
    std::vector<Action> Actions;
    SearchFixture()
    {
        Form.SetBounds(0, 0, 640, 400);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 360);
        G->SetColCount(4);
        G->SetRowCount(6);
        const char* names[] = {"Ant", "Plant", "bee", "Giant", "Ant"};
        for (int r = 1; r <= 5; ++r) {
            G->SetCells(1, r, names[r - 1]);
            G->SetCells(3, r, "plan " + std::to_string(r));
        }
        G->SearchFooter()->SetVisible(true);
        Form.Show();
        Edit = G->SearchPanel()->Edit();
        G->OnSearchFooterAction = [this](rtl::TObject*, const std::string& v, int c, int r, TSearchAction a) {
            Actions.push_back({v, c, r, a});
        };
    }
    void Type(const std::string& s) { gui::sim::TypeText(s, Edit); }
    void Clear()
    {
        while (!Edit->Text().empty()) gui::sim::KeyPress(gui::VK_BACK, {}, Edit);
    }
    void Enter(gui::TShiftState shift = {}) { gui::sim::KeyPress(gui::VK_RETURN, shift, Edit); }
};

} // namespace

TEST_F(SearchFixture, EmptyNotFoundAndFoundStates)
{
    TSearchPanel* p = G->SearchPanel();
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), 32);
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    G->MoveColRow(2, 2, true, false);
    Type("zz");
    EXPECT_EQ(Edit->Color(), gui::clRed);
    EXPECT_EQ(G->Row(), 2);  // the current cell stays
    ASSERT_FALSE(Actions.empty());
    EXPECT_EQ(Actions.back().col, -1);
    EXPECT_EQ(Actions.back().row, -1);
    EXPECT_EQ(Actions.back().action, TSearchAction::saFindFirst);
    EXPECT_TRUE(p->ForwardButton()->Enabled());
    Clear();
    EXPECT_EQ(Edit->Color(), gui::clWindow);
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    EXPECT_FALSE(p->HiliteButton()->Enabled());
    Type("gi");
    EXPECT_EQ(Edit->Color(), gui::clWindow);
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(Actions.back().value, "gi");
}

TEST_F(SearchFixture, FindNextPastTheLastMatchReportsNoneOnceThenStartsOver)
{
    Type("ant");  // Ant (1), Plant (2), Giant (4), Ant (5)
    EXPECT_EQ(G->Row(), 1);
    std::vector<int> rows;
    for (int i = 0; i < 5; ++i) {
        Enter();
        rows.push_back(Actions.back().row);
        EXPECT_EQ(Actions.back().action, TSearchAction::saFindNext);
    }
    EXPECT_EQ(rows, (std::vector<int>{2, 4, 5, -1, 1}));
    Enter({gui::TShiftStateItem::ssCtrl});  // Ctrl+Enter: previous
    EXPECT_EQ(Actions.back().action, TSearchAction::saFindPrevious);
    EXPECT_EQ(Actions.back().row, -1);
    G->SearchFindPrevious();
    EXPECT_EQ(Actions.back().row, 5);  // from the end again
}

TEST_F(SearchFixture, WithoutAutoSearchTypingDoesNothing)
{
    G->SearchFooter()->AutoSearch = false;
    Type("pl");
    EXPECT_TRUE(Actions.empty());
    G->SearchFindNext();
    EXPECT_EQ(Actions.back().row, 2);
    G->SearchFindNext();  // column 3 holds "plan 1" ...
    EXPECT_EQ(Actions.back().col, 3);
    Clear();
    Type("b");
    G->SearchFindNext();  // a changed text starts at the top
    EXPECT_EQ(Actions.back().row, 3);
    EXPECT_EQ(G->SearchFooter()->LastSearch, "b");
}

TEST_F(SearchFixture, HighlightButtonAndSearchColumn)
{
    TSearchPanel* p = G->SearchPanel();
    Type("ant");
    p->HiliteButton()->SetDown(true);
    p->HighlightClick();
    EXPECT_EQ(G->Cells(1, 4), "Gi<hi>ant</hi>");
    p->HiliteButton()->SetDown(false);
    p->HighlightClick();
    EXPECT_EQ(G->Cells(1, 4), "Giant");

    Clear();
    G->SearchFooter()->SearchColumn = 3;
    Type("plan");
    EXPECT_EQ(Actions.back().col, 3);
    Clear();
    G->SearchFooter()->SearchColumn = 9;  // out of range: every column
    Type("plan");
    EXPECT_EQ(Actions.back().col, 1);
    EXPECT_EQ(Actions.back().row, 2);
}

TEST_F(SearchFixture, FixedCellsAndDirectionChangeOnlyTheTypingSearch)
{
    G->SetCells(2, 0, "Plan");
    G->SearchFooter()->SearchFixedCells = true;
    G->SearchFooter()->SearchDirection = TSearchDirection::sdLeftRight;
    Type("plan");
    EXPECT_EQ(Actions.back().row, 0);  // the header, row by row
    EXPECT_EQ(Actions.back().col, 2);
    G->SearchCell = {-1, -1};
    G->SearchFindNext();  // stepping: normal cells, column by column
    EXPECT_EQ(Actions.back().col, 1);
    EXPECT_EQ(Actions.back().row, 2);
}

TEST_F(SearchFixture, ButtonsFollowTheControlStyleAndTheShowSwitches)
{
    TSearchPanel* p = G->SearchPanel();
    EXPECT_TRUE(p->ForwardButton()->Flat());  // csWinXP
    G->ControlLook()->SetControlStyle(TControlStyle::csClassic);
    G->UpdateSearchPanel();
    EXPECT_FALSE(p->ForwardButton()->Flat());
    G->SetAutoThemeAdapt(true);
    G->UpdateSearchPanel();
    EXPECT_TRUE(p->ForwardButton()->Flat());

    G->SearchFooter()->SetShowHighLight(false);
    EXPECT_FALSE(p->HiliteButton()->Visible());
    EXPECT_EQ(p->MatchCase()->Left(), p->HiliteButton()->Left());  // takes the highlight button's place
    G->SearchFooter()->SetShowFindPrev(false);
    EXPECT_EQ(p->BackwardButton()->Height(), 0);
    G->SearchFooter()->SetFindNextCaption("&Onward");
    EXPECT_EQ(p->ForwardButton()->Caption(), "&Onward");
}

// Every caption of the search footer shows whole: a button is as wide as
// its glyph and caption need (at least 90 pixels), and the items after it
// move along.
TEST_F(SearchFixture, CaptionsShowWholeAtTheDefaultWidth)
{
    TSearchPanel* p = G->SearchPanel();
    Type("ant");  // enabled buttons draw their caption once, in the font's colour
    auto dark = [](gui::TColor c) { return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 240; };
    // The columns of a button's rectangle in the panel's picture that hold ink.
    auto inkColumns = [&](const std::unique_ptr<gui::TBitmap>& img, gui::TControl* b) {
        std::vector<int> xs;
        for (int x = b->Left(); x < b->Left() + b->Width(); ++x)
            for (int y = b->Top() + 2; y < b->Top() + b->Height() - 2; ++y)
                if (dark(img->Canvas()->Pixels(x, y))) {
                    xs.push_back(x);
                    break;
                }
        return xs;
    };
    auto check = [&](const char* what) {
        gui::Application->ProcessMessages();
        auto img = p->GetImage();
        for (gridbase::TExGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) {
            // The caption alone, drawn in the button's font.
            gui::TBitmap alone(400, 30);
            alone.Canvas()->SetFont(b->Font());
            gui::TRect r{0, 0, 400, 30};
            alone.Canvas()->DrawText(b->Caption(), r, gui::DT_SINGLELINE);
            int textWidth = 0;
            for (int x = 0; x < 400; ++x)
                for (int y = 0; y < 30; ++y)
                    if (dark(alone.Canvas()->Pixels(x, y))) textWidth = x + 1;
            const std::vector<int> xs = inkColumns(img, b);
            ASSERT_FALSE(xs.empty()) << what << " " << b->Caption();
            // Glyph and caption keep clear of both edges, and the caption is all there.
            EXPECT_GE(xs.front(), b->Left() + 2) << what << " " << b->Caption();
            EXPECT_LE(xs.back(), b->Left() + b->Width() - 3) << what << " " << b->Caption();
            EXPECT_GE(xs.back() - xs.front() + 1, textWidth + 16) << what << " " << b->Caption();
        }
        // Nothing overlaps: each item starts after the one before it.
        EXPECT_GE(p->BackwardButton()->Left(), p->ForwardButton()->Left() + p->ForwardButton()->Width());
        EXPECT_GE(p->HiliteButton()->Left(), p->BackwardButton()->Left() + p->BackwardButton()->Width());
        EXPECT_GE(p->MatchCase()->Left(), p->HiliteButton()->Left() + p->HiliteButton()->Width());
        const auto dir = tectest::SnapshotDir();
        gui::TPngImage png;
        png.Assign(img.get());
        png.SaveToFile((dir / (std::string("search-footer-") + what + ".png")).string());
    };
    check("default");
    // A long caption in a panel with room for the row.
    G->SetWidth(760);
    G->SearchFooter()->SetFindPrevCaption("Find the &previous occurrence");
    check("long-caption");
}

// A long caption in a panel too narrow for the whole row: the long caption
// gives up room (its button no narrower than 90), the other buttons and the
// match-case box with its caption stay whole and inside the panel, also
// after the panel narrows and widens again.
TEST_F(SearchFixture, LongCaptionKeepsTheMatchCaseBoxInsideThePanel)
{
    TSearchPanel* p = G->SearchPanel();
    G->SearchFooter()->SetFindPrevCaption("Find the &previous occurrence of the text typed");
    auto dark = [](gui::TColor c) { return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 240; };
    for (int width : {600, 520, 760}) {
        G->SetWidth(width);
        gui::Application->ProcessMessages();
        SCOPED_TRACE(width);
        gui::TCheckBox* box = p->MatchCase();
        EXPECT_LE(box->Left() + box->Width(), p->Width());
        EXPECT_GE(box->Left(), p->HiliteButton()->Left() + p->HiliteButton()->Width());
        EXPECT_GE(p->HiliteButton()->Left(), p->BackwardButton()->Left() + p->BackwardButton()->Width());
        EXPECT_GE(p->BackwardButton()->Width(), 90);
        EXPECT_EQ(p->ForwardButton()->Width(), 90);
        EXPECT_EQ(p->HiliteButton()->Width(), 90);
        // The box's caption drawn whole: ink up to where the caption ends.
        gui::TBitmap alone(300, 30);
        alone.Canvas()->SetFont(box->Font());
        gui::TRect r{0, 0, 300, 30};
        alone.Canvas()->DrawText("Match case", r, gui::DT_SINGLELINE);
        int textWidth = 0;
        for (int x = 0; x < 300; ++x)
            for (int y = 0; y < 30; ++y)
                if (dark(alone.Canvas()->Pixels(x, y))) textWidth = x + 1;
        auto img = p->GetImage();
        // A shortened button shows its glyph at its left, not the middle
        // of its caption.
        gridbase::TExGridButton* back = p->BackwardButton();
        for (int x = back->Left() + 2; x < back->Left() + 24; ++x) {
            bool ink = false;
            for (int y = back->Top() + 4; y < back->Top() + back->Height() - 4; ++y)
                ink = ink || dark(img->Canvas()->Pixels(x, y));
            if (ink) break;
            EXPECT_LT(x, back->Left() + 14) << "no glyph at the shortened button's left";
        }
        int inkFrom = -1, inkTo = -1;
        for (int x = box->Left(); x < std::min(p->Width(), box->Left() + box->Width()); ++x)
            for (int y = box->Top(); y < box->Top() + box->Height(); ++y)
                if (dark(img->Canvas()->Pixels(x, y))) {
                    if (inkFrom < 0) inkFrom = x;
                    inkTo = x;
                    break;
                }
        // The caption's ink after the box's square, whole and inside.
        ASSERT_GE(inkFrom, 0);
        EXPECT_GE(inkFrom, box->Left() + 13);
        EXPECT_LT(inkTo, p->Width() - 1);
        EXPECT_GE(inkTo - inkFrom + 1, textWidth - 2);
        const auto dir = tectest::SnapshotDir();
        gui::TPngImage png;
        png.Assign(img.get());
        png.SaveToFile((dir / ("search-footer-narrow-" + std::to_string(width) + ".png")).string());
    }
}

TEST_F(SearchFixture, CloseHidesTheFooter)
{
    int closed = 0;
    G->OnSearchFooterClose = [&](rtl::TObject*) { ++closed; };
    G->SearchPanel()->ExitClick();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(G->SearchFooter()->Visible());
    EXPECT_FALSE(G->SearchPanel()->Visible());
    EXPECT_FALSE(G->SearchFooterShown());
}

TEST_F(SearchFixture, StyleColoursReachThePanel)
{
    TSearchPanel* p = G->SearchPanel();
    G->SetStyle(TKVRStyle::tsOffice2003Blue);
    EXPECT_EQ(G->SearchFooter()->Color(), 0xFCE1CBu);
    EXPECT_EQ(G->SearchFooter()->ColorTo(), gui::clNone);
    EXPECT_EQ(p->Color(), 0xFCE1CBu);
    EXPECT_EQ(p->ColorTo(), gui::clNone);
    auto img = p->GetImage();
    const int x = p->Width() - 5;
    EXPECT_EQ(img->Canvas()->Pixels(x, 16), 0xFCE1CBu);
    EXPECT_EQ(img->Canvas()->Pixels(x, 0), gui::ColorToRGB(G->GridLineColor()));  // the line on top
    // A gradient from top to bottom.
    G->SearchFooter()->SetColor(0xFFFFFF);
    G->SearchFooter()->SetColorTo(0x000080);
    img = p->GetImage();
    EXPECT_GT(img->Canvas()->Pixels(x, 2) >> 16 & 0xFF, 0xE0u);  // blue falls from white towards 0
    EXPECT_LT(img->Canvas()->Pixels(x, 30) >> 16 & 0xFF, 0x20u);
}

TEST_F(SearchFixture, AcceleratorsPressTheButtons)
{
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'n', 0), 0);  // disabled while the box is empty
    Type("ant");
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'n', 0), 1);
    EXPECT_EQ(Actions.back().action, TSearchAction::saFindNext);
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'P', 0), 1);
    EXPECT_EQ(Actions.back().action, TSearchAction::saFindPrevious);
    G->SearchFooter()->SetHighLightCaption("&Highlight");
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'h', 0), 1);
    EXPECT_EQ(G->Cells(1, 4), "Gi<hi>ant</hi>");
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'x', 0), 0);
    G->SearchFooter()->SetVisible(false);
    EXPECT_EQ(G->Perform(gui::CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_EQ(G->Cells(1, 4), "Giant");  // hiding the footer takes the highlight away
}

TEST_F(SearchFixture, CtrlFTakesTheFocusToTheEditBox)
{
    G->SetFocus();
    gui::sim::KeyPress('F', {gui::TShiftStateItem::ssCtrl}, G);
    EXPECT_TRUE(Edit->Focused());
}

TEST_F(SearchFixture, LineDownStopsWhenTheLastRowIsClearOfTheFooter)
{
    // Six rows fit: the last row already lies above the footer.
    const int top = G->TopRow();
    EXPECT_TRUE(G->LastRowClearOfSearchFooter());
    EXPECT_EQ(G->Perform(gui::WM_VSCROLL, gui::SB_LINEDOWN, 0), 1);
    EXPECT_EQ(G->TopRow(), top);
    // With more rows than fit, line-down scrolls as usual.
    G->SetRowCount(40);
    EXPECT_FALSE(G->LastRowClearOfSearchFooter());
    G->Perform(gui::WM_VSCROLL, gui::SB_LINEDOWN, 0);
    EXPECT_EQ(G->TopRow(), top + 1);
}

TEST_F(SearchFixture, RowsCountAsVisibleOnlyAboveTheFooter)
{
    G->SetRowCount(40);
    const int limit = G->ClientRect().Bottom - 32 + 2;
    const int below = G->TopRow() + G->VisibleRowCount();  // the first row out of view
    EXPECT_LE(G->CellRect(1, below - 1).Bottom, limit);
    G->MoveColRow(1, below, true, true);
    EXPECT_EQ(G->Row(), below);
    const gui::TRect r = G->CellRect(1, below);
    ASSERT_GT(r.Bottom, 0);
    EXPECT_LE(r.Bottom, limit);
    EXPECT_GT(G->TopRow(), 1);
}

TEST_F(SearchFixture, TheLastRowOfALongGridComesClearOfTheFooter)
{
    G->SetRowCount(60);
    const int limit = G->ClientRect().Bottom - 32 + 2;
    G->SetFocus();
    gui::sim::KeyPress(gui::VK_END, {gui::TShiftStateItem::ssCtrl}, G);
    G->MoveColRow(1, 59, true, true);
    EXPECT_EQ(G->Row(), 59);
    const gui::TRect last = G->CellRect(1, 59);
    ASSERT_GT(last.Bottom, 0);
    EXPECT_LE(last.Bottom, limit);
    EXPECT_TRUE(G->LastRowClearOfSearchFooter());
    const int top = G->TopRow();
    gui::sim::KeyPress(gui::VK_DOWN, {}, G);  // nothing further to scroll
    EXPECT_EQ(G->TopRow(), top);
    EXPECT_EQ(G->Row(), 59);
    // Closing the footer gives the rows their room back.
    G->SearchFooter()->SetVisible(false);
    EXPECT_EQ(G->BottomReserve(), 0);
}

TEST(IncrementalSearch, TypedKeysMoveToTheRowWhoseKeyStartsWithThem)
{
    gui::TForm form{nullptr};
    form.SetBounds(0, 0, 400, 300);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 380, 280);
    g->SetRowCount(5);
    const char* keys[] = {"Ant", "Plant", "Pluto", "Giant"};
    for (int r = 1; r <= 4; ++r) g->SetCells(1, r, keys[r - 1]);
    g->Navigation()->SetAutoGotoWhenSorted(true);
    g->Navigation()->SetAutoGotoIncremental(true);
    form.Show();
    g->SetFocus();
    gui::sim::TypeText("plu", g);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->IncrementalSearchText(), "plu");
    gui::sim::KeyPress(gui::VK_BACK, {}, g);
    EXPECT_EQ(g->IncrementalSearchText(), "pl");
    gui::sim::TypeText("x", g);  // "plx" matches no row: the text starts over, the row stays
    EXPECT_EQ(g->IncrementalSearchText(), "");
    EXPECT_EQ(g->Row(), 2);
    // Without AutoGotoIncremental each key searches alone.
    g->Navigation()->SetAutoGotoIncremental(false);
    gui::sim::TypeText("gp", g);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->IncrementalSearchText(), "p");
    // An editing grid types into its cells instead.
    g->SetOptions(g->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    g->MoveColRow(1, 4, true, false);
    gui::sim::TypeText("a", g);
    EXPECT_EQ(g->Row(), 4);
}

// ------------------------------------------------------------ benchmarks

TEST(FilterBenchmarks, ReportTimes)
{
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point a) {
        return std::chrono::duration<double, std::milli>(Clock::now() - a).count();
    };
    gui::TForm form{nullptr};
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetColCount(8);
    const int rows = std::getenv("TEC_BENCH_ROWS") ? std::atoi(std::getenv("TEC_BENCH_ROWS")) : 100000;
    g->SetRowCount(rows + 2);
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 8; ++c) g->SetCells(c, r, (r % 3 == 0 ? "A" : "B") + std::to_string(r * 8 + c));
    g->SetCells(7, rows, "needle");

    auto t = Clock::now();
    g->FloatingFooter()->SetVisible(true);
    g->GetCellProperties(2, g->RowCount() - 1)->SetCalcType(TColumnCalcType::acSUM);
    for (int r = 1; r <= rows; ++r) g->SetCells(2, r, std::to_string(r % 100));
    t = Clock::now();
    g->SetCells(2, 5, "7");
    g->CellChanged(2, 5);
    const double footer = ms(t);

    t = Clock::now();
    const gui::TPoint at = g->Find({-1, -1}, "needle", {TFindParameters::fnDirectionLeftRight});
    const double find = ms(t);
    EXPECT_EQ(at.Y, rows);

    TFilterData* f = g->Filter()->Add();
    f->SetColumn(3);
    f->SetCondition("A*");
    t = Clock::now();
    g->SetFilterActive(true);
    const double filter = ms(t);
    EXPECT_EQ(g->RowCount(), rows / 3 + 2);
    t = Clock::now();
    g->SetFilterActive(false);
    const double unfilter = ms(t);
    EXPECT_EQ(g->RowCount(), rows + 2);

    std::printf("[bench] filter \"A*\" on %d rows: %.1f ms (aim 300 ms); filter off: %.1f ms\n", rows, filter,
                unfilter);
    std::printf("[bench] find to the last cell of %d x 8: %.1f ms (aim 300 ms)\n", rows, find);
    std::printf("[bench] footer SUM after one change on %d rows: %.1f ms (aim 30 ms)\n", rows, footer);
}

// ------------------------------------------------------------ screenshots

TEST(FilterScreenshots, DropDownFloatingFooterAndSearchFooter)
{
    gui::TForm form{nullptr};
    form.SetBounds(40, 40, 560, 380);
    auto* g = new TExStringGrid(&form);
    g->SetParent(&form);
    g->SetAlign(gui::TAlign::alClient);
    g->SetColCount(4);
    g->SetRowCount(10);
    g->SetColWidths(1, 110);
    g->SetColWidths(2, 140);
    const char* heads[] = {"", "Place", "Eclipse", "Magnitude"};
    const char* places[] = {"Lisbon", "Madrid", "Reykjavik", "Oslo", "Athens", "Cairo", "Tunis", "Porto"};
    for (int c = 0; c < 4; ++c) g->SetCells(c, 0, heads[c]);
    for (int r = 1; r <= 8; ++r) {
        g->SetCells(0, r, std::to_string(r));
        g->SetCells(1, r, places[r - 1]);
        g->SetCells(2, r, r % 2 ? "2026 Aug 12" : "2027 Aug 02");
        g->SetCells(3, r, std::to_string(90 + r) + ".5");
    }
    g->FloatingFooter()->SetVisible(true);
    g->GetCellProperties(3, g->RowCount() - 1)->SetCalcType(TColumnCalcType::acAVG);
    g->SetCells(1, g->RowCount() - 1, "Average");
    g->CalcFooter(-1);
    g->SearchFooter()->SetVisible(true);
    g->OnGetColumnFilter = [](rtl::TObject*, int col, rtl::TStringList* list) {
        if (col != 2) return;
        list->Add("All=*");
        list->Add("2026 Aug 12");
        list->Add("2027 Aug 02");
    };
    g->FilterDropDown()->SetAutoSize(true);
    form.Show();
    gui::sim::TypeText("o", g->SearchPanel()->Edit());
    const gui::TRect head = g->CellRect(2, 0);
    gui::sim::Click(g, head.Right - 8, head.Top + 5);  // the filter button
    ASSERT_TRUE(g->DropList()->Dropped());

    auto img = form.GetImage();
    ASSERT_TRUE(img);
    // The drop-down is a window of its own: put it where the screen shows it.
    gui::TPopupWindow* pop = g->DropList()->Popup();
    auto list = pop->GetImage();
    ASSERT_TRUE(list);
    const gui::TPoint origin = form.ClientToScreen({0, 0});
    img->Canvas()->Draw(pop->Left() - origin.X, pop->Top() - origin.Y, list.get());

    auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(dir);
    gui::TPngImage png;
    png.Assign(img.get());
    png.SaveToFile((dir / "grid-filter-footers.png").string());

    // The search footer's bar at the bottom, the floating footer above it.
    EXPECT_EQ(g->SearchPanel()->Height(), 32);
    EXPECT_EQ(g->FooterPanel()->Top() + g->FooterPanel()->Height(), g->SearchPanel()->Top());
    g->DropList()->CloseUp();

    // A long table scrolled to its last data row: it shows above both bars.
    g->SetRowCount(61);
    for (int r = 9; r < 60; ++r) {
        g->SetCells(0, r, std::to_string(r));
        g->SetCells(1, r, "Place " + std::to_string(r));
    }
    g->CalcFooter(-1);
    g->MoveColRow(1, 59, true, true);
    auto end = form.GetImage();
    png.Assign(end.get());
    png.SaveToFile((dir / "grid-filter-footers-end.png").string());
    const gui::TRect last = g->CellRect(1, 59);
    EXPECT_GT(last.Bottom, 0);
    EXPECT_LE(last.Bottom, g->FooterPanel()->Top() + 4);  // at most its bottom line under the footer's edge
}
