// The string grid painted into a bitmap: the layer order of one cell,
// selection colours and the focus rectangle, bands, the program's table
// look against a kept picture, the text kinds (multi-line, wrapped,
// password, URL, markup, room for the sort mark), alignment and number
// formats under a comma locale, measuring, and the look presets and view
// services.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TestFormatSettings.h"
#include "TestPaths.h"
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"

using namespace grid;
using gui::TColor;
using gui::TRect;

namespace {

struct PaintGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    int Paints = 0;
    int RotatedAngle = 0;
    void Paint() override
    {
        ++Paints;
        TExStringGrid::Paint();
    }
    bool IsRotated(int, int, int& angle) override
    {
        angle = RotatedAngle;
        return RotatedAngle != 0;
    }
    void SetEditingForTest(bool v) { FEditing = v; }
};

struct PaintFixture : testing::Test {
    gui::TForm Form{nullptr};
    PaintGrid* G;
    PaintFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G = new PaintGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetScrollBars(gui::TScrollStyle::ssNone);
        G->SetColCount(6);
        G->SetRowCount(10);
        G->SetDefaultColWidth(90);
        G->SetDefaultRowHeight(24);
        G->Font()->SetName("Liberation Sans");
        G->Font()->SetSize(10);
        G->Font()->SetColor(0);
        G->SetColor(gui::clWhite);
        G->SetFlat(true);
        G->SetLook(TGridLook::glStandard);
        G->SetFixedColor(0xC0C0C0);
    }
    std::unique_ptr<gui::TBitmap> Shot() { return G->GetImage(); }
    // Leaves the grid's picture for a person to look at.
    void Snapshot(const std::string& name)
    {
        auto shot = Shot();
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile((tectest::SnapshotDir() / name).string());
    }
    // The cell's rectangle on screen (the line after it excluded).
    TRect Cell(int c, int r) const { return G->gui::TCustomGrid::CellRect(c, r); }
    // The cell without its grid lines.
    TRect Inner(int c, int r) const
    {
        const TRect a = Cell(c, r);
        return {a.Left + 1, a.Top + 1, a.Right - 2, a.Bottom - 2};
    }
    static int Bluish(gui::TBitmap& bmp, const TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor p = bmp.Canvas()->Pixels(x, y);
                if (((p >> 16) & 0xFF) > 160 && (p & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100) ++n;
            }
        return n;
    }
    // Pixels in rect whose colour is far from background.
    static int Ink(gui::TBitmap& bmp, const TRect& r, TColor background, TRect* bounds = nullptr)
    {
        const TColor bg = gui::ColorToRGB(background);
        int n = 0;
        TRect b{r.Right, r.Bottom, r.Left - 1, r.Top - 1};
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor p = bmp.Canvas()->Pixels(x, y);
                const int d = std::abs(int(p & 0xFF) - int(bg & 0xFF)) +
                              std::abs(int((p >> 8) & 0xFF) - int((bg >> 8) & 0xFF)) +
                              std::abs(int((p >> 16) & 0xFF) - int((bg >> 16) & 0xFF));
                if (d > 120) {
                    ++n;
                    b.Left = std::min(b.Left, x);
                    b.Top = std::min(b.Top, y);
                    b.Right = std::max(b.Right, x);
                    b.Bottom = std::max(b.Bottom, y);
                }
            }
        if (bounds) *bounds = b;
        return n;
    }
    static int Count(gui::TBitmap& bmp, const TRect& r, TColor color)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (bmp.Canvas()->Pixels(x, y) == gui::ColorToRGB(color)) ++n;
        return n;
    }
    // The brush and font colour a cell paints with.
    std::pair<TColor, TColor> Visual(int c, int r, gui::TGridDrawState state = {}, bool select = true)
    {
        gui::TBrush brush;
        gui::TFont font;
        TColor ct, m, mt;
        TAlignment ha;
        TVAlignment va;
        bool ww = false;
        TCellGradientDirection gd;
        G->GetVisualProperties(c, r, state, false, select, true, brush, ct, m, mt, font, ha, va, ww, gd);
        return {brush.Color(), font.Color()};
    }
};

} // namespace

TEST_F(PaintFixture, LayerOrderBackgroundTextBordersFocus)
{
    G->SetCellColor(2, 2, 0x00FF00);
    G->SetCells(2, 2, "WWW");
    G->OnGetCellBorder = [](rtl::TObject*, int r, int c, gui::TPen* pen, TCellBorders& b) {
        if (c == 2 && r == 2) {
            pen->SetColor(0x0000FF);
            b = {TCellBorder::cbLeft};
        }
    };
    G->SetOptions(G->Options() - gui::TGridOptions{gui::TGridOption::goRangeSelect});
    Form.Show();
    G->SetFocus();
    G->SetCol(3);
    G->SetRow(3);
    EXPECT_EQ(Visual(2, 2, {}, false), std::make_pair(TColor(0x00FF00), TColor(0)));
    auto shot = Shot();
    const TRect c = Cell(2, 2);
    // Background where nothing else lies; text over it; the border over both.
    EXPECT_EQ(shot->Canvas()->Pixels(c.Right - 6, c.Bottom - 4), 0x00FF00u);
    TRect ink;
    EXPECT_GT(Ink(*shot, {c.Left + 2, c.Top, c.Right - 2, c.Bottom - 1}, 0x00FF00, &ink), 20);
    EXPECT_EQ(shot->Canvas()->Pixels(c.Left, c.Top + c.Height() / 2), 0x0000FFu);

    // The focus rectangle lies over the current cell's background.
    const TRect f = Cell(3, 3);
    const TRect plain = Cell(4, 3);
    auto line = [&](const TRect& r) { return Ink(*shot, {r.Left + 1, r.Top, r.Right - 1, r.Top + 2}, gui::clWhite); };
    EXPECT_GT(line(f), 5);
    EXPECT_EQ(line(plain), 0);
}

TEST_F(PaintFixture, SelectionColoursAndFocusRectangle)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    G->SetSelectionColor(gui::clNone);
    G->SetSelection({1, 1, 3, 2});
    // Unfocused selected cell with SelectionColor clNone: clHighlight.
    EXPECT_EQ(Visual(2, 1, {gui::TGridDrawStateItem::gdSelected}).first, gui::clHighlight);
    auto shot = Shot();
    const TRect c = Cell(2, 1);
    EXPECT_EQ(shot->Canvas()->Pixels(c.Left + 3, c.Bottom - 3), gui::ColorToRGB(gui::clHighlight));

    G->SetSelectionColor(0xEACAB6);
    G->SetSelectionTextColor(0x0000FF);
    EXPECT_EQ(Visual(2, 1, {gui::TGridDrawStateItem::gdSelected}), std::make_pair(TColor(0xEACAB6), TColor(0x0000FF)));
    EXPECT_NE(Visual(4, 4).first, TColor(0xEACAB6));

    Form.Show();
    G->SetFocus();
    G->SetSelection({3, 3, 3, 3});
    auto focusLine = [&] {
        auto s = Shot();
        const TRect f = Cell(3, 3);
        return Ink(*s, {f.Left + 1, f.Top, f.Right - 1, f.Top + 2}, Visual(3, 3).first);
    };
    EXPECT_GT(focusLine(), 5);
    G->SetHideFocusRect(true);
    EXPECT_EQ(focusLine(), 0);
    G->SetHideFocusRect(false);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRowSelect});
    EXPECT_EQ(focusLine(), 0);
}

TEST_F(PaintFixture, FocusRectangleOfAMergedAreaWhenItsBaseCellIsCurrent)
{
    G->MergeCells(2, 3, 2, 2);
    Form.Show();
    G->SetFocus();
    G->SetCol(2);
    G->SetRow(3);
    auto s = Shot();
    const TRect f = G->TBaseGrid::CellRect(2, 3);
    EXPECT_GT(Ink(*s, {f.Left + 1, f.Top, f.Right - 1, f.Top + 2}, Visual(2, 3).first), 10);
}

// The printing option that leaves out the display fonts decides nothing on
// screen: stored colours always show there.
TEST_F(PaintFixture, StoredColoursShowOnScreenWhateverThePrintOption)
{
    G->SetCellColor(2, 3, 0x00FF00);
    G->SetCellFontColor(2, 3, 0x0000FF);
    G->PrintSettings()->SetUseDisplayFont(false);
    EXPECT_EQ(Visual(2, 3), std::make_pair(TColor(0x00FF00), TColor(0x0000FF)));
    auto shot = Shot();
    EXPECT_EQ(shot->Canvas()->Pixels(Cell(2, 3).Right - 5, Cell(2, 3).Bottom - 5), 0x00FF00u);
    // For the printer the cell then prints plain.
    gui::TBrush brush;
    gui::TFont font;
    TColor ct, m, mt;
    TAlignment ha;
    TVAlignment va;
    bool ww = false;
    TCellGradientDirection gd;
    gui::TGridDrawState state;
    G->GetVisualProperties(2, 3, state, true, false, true, brush, ct, m, mt, font, ha, va, ww, gd);
    EXPECT_EQ(brush.Color(), gui::clWhite);
}

TEST_F(PaintFixture, BandsTable)
{
    G->Bands()->SetActive(true);
    G->Bands()->SetPrimaryColor(0x00FFFF);
    G->Bands()->SetSecondaryColor(0xFF00FF);
    G->Bands()->SetPrimaryLength(2);
    G->Bands()->SetSecondaryLength(1);
    const TColor expect[] = {0, 0x00FFFF, 0x00FFFF, 0xFF00FF, 0x00FFFF, 0x00FFFF, 0xFF00FF};
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(Visual(2, r).first, expect[r]) << r;
    auto shot = Shot();
    EXPECT_EQ(shot->Canvas()->Pixels(Cell(2, 3).Left + 4, Cell(2, 3).Top + 4), 0xFF00FFu);

    G->SetURLShow(true);
    G->SetCells(2, 2, "https://example.org");
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goRangeSelect});
    G->SetSelection({3, 4, 4, 5});
    Snapshot("grid-bands-selection-url.png");
    G->Bands()->SetPrimaryLength(0);
    G->Bands()->SetSecondaryLength(0);
    EXPECT_EQ(Visual(2, 2).first, gui::clWhite);
}

// The look of the program's location table, compared with the picture kept
// with the tests (a few differing pixels are allowed for anti-aliasing).
TEST_F(PaintFixture, ProgramTableLook)
{
    G->SetFixedCols(0);
    G->SetColCount(5);
    G->SetRowCount(7);
    G->SetDefaultRowHeight(32);
    G->SetFixedRowHeight(34);
    G->SetDefaultColWidth(110);
    G->Font()->SetName("Tahoma");
    G->Font()->SetSize(8);
    G->FixedFont()->SetName("Tahoma");
    G->FixedFont()->SetSize(8);
    G->SetFixedColor(gui::clBtnFace);
    G->SetOptions({gui::TGridOption::goFixedVertLine, gui::TGridOption::goFixedHorzLine, gui::TGridOption::goVertLine,
                   gui::TGridOption::goHorzLine, gui::TGridOption::goRowSelect});
    G->SetMultilinecells(true);
    rtl::TStringList heads{"Location", "Latitude", "Longitude", "Altitude", "Time zone"};
    G->SetColumnHeaders(&heads);
    const char* rows[][5] = {{"Greenwich", "51\xC2\xB0" "28'N", "0\xC2\xB0" "00'", "46 m", "+0:00"},
                             {"Tolmira\r\nobservatory", "45\xC2\xB0" "11'N", "13\xC2\xB0" "45'E", "310 m", "+1:00"},
                             {"Cape Town", "33\xC2\xB0" "55'S", "18\xC2\xB0" "25'E", "12 m", "+2:00"},
                             {"Nairobi", "1\xC2\xB0" "17'S", "36\xC2\xB0" "49'E", "1795 m", "+3:00"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) G->SetCells(c, r + 1, rows[r][c]);
    G->SetCells(0, 5, "Merged note across the row");
    G->MergeCells(0, 5, 5, 1);
    G->SetRowColor(2, 0xF0FAFF);
    for (int r = 1; r <= 4; ++r) {
        G->SetCellFontColor(3, r, 0x808080);
        G->SetCellFontStyle(3, r, {gui::TFontStyle::fsBold});
        G->SetCellAlignment(3, r, TAlignment::taRightJustify);
    }
    G->SetRow(3);
    auto shot = Shot();
    const auto snap = tectest::SnapshotDir() / "grid-program-table.png";
    {
        gui::TPngImage png;
        png.Assign(shot.get());
        png.SaveToFile(snap.string());
    }
    const std::string golden = tectest::DataFile("grid/program-table.png");
    if (std::getenv("TEC_UPDATE_GOLDEN")) std::filesystem::copy_file(snap, golden,
                                                                    std::filesystem::copy_options::overwrite_existing);
    gui::TPngImage kept;
    ASSERT_NO_THROW(kept.LoadFromFile(golden)) << golden;
    gui::TBitmap ref;
    ref.Assign(&kept);
    ASSERT_EQ(ref.Width(), shot->Width());
    ASSERT_EQ(ref.Height(), shot->Height());
    int differing = 0;
    for (int y = 0; y < ref.Height(); ++y)
        for (int x = 0; x < ref.Width(); ++x) {
            const TColor a = ref.Canvas()->Pixels(x, y), b = shot->Canvas()->Pixels(x, y);
            const int d = std::abs(int(a & 0xFF) - int(b & 0xFF)) + std::abs(int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF)) +
                          std::abs(int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF));
            if (d > 60) ++differing;
        }
    EXPECT_LT(differing, ref.Width() * ref.Height() / 100) << "see " << snap;
    // The row colour, the bold grey right-aligned cells and two-line cells.
    EXPECT_EQ(shot->Canvas()->Pixels(Cell(1, 2).Left + 3, Cell(1, 2).Top + 3), 0xF0FAFFu);
}

TEST_F(PaintFixture, TextKinds)
{
    auto lines = [&](int c, int r) {
        auto s = Shot();
        TRect b;
        Ink(*s, Inner(c, r), Visual(c, r).first, &b);
        return b.Bottom - b.Top + 1;
    };
    G->SetDefaultRowHeight(44);
    G->SetWordWrap(false);
    G->SetCells(1, 1, "a\r\nb");
    const int one = lines(1, 1);
    G->SetMultilinecells(true);
    const int two = lines(1, 1);
    EXPECT_GT(two, one + 5);

    Snapshot("grid-text-kinds-1.png");
    // Password cells: one mark per character.
    G->SetCells(2, 1, "secret");
    G->SetCells(2, 2, "******");
    G->OnIsPasswordCell = [](rtl::TObject*, int r, int c, bool& pw) { pw = c == 2 && r == 1; };
    {
        auto s = Shot();
        TRect a, b;
        EXPECT_EQ(Ink(*s, Inner(2, 1), gui::clWhite, &a), Ink(*s, Inner(2, 2), gui::clWhite, &b));
    }

    // URLs: the scheme goes unless URLFull; underlined in URLColor.
    G->SetURLShow(true);
    G->SetURLColor(0xFF0000);
    G->SetColWidths(3, 260);
    G->SetCells(3, 1, "mailto:me@example.org");
    G->SetCells(3, 2, "me@example.org");
    {
        auto s = Shot();
        EXPECT_GT(Bluish(*s, Inner(3, 1)), 20);
        EXPECT_EQ(Bluish(*s, Inner(3, 2)), 0);
        TRect a, b;
        Ink(*s, Inner(3, 1), gui::clWhite, &a);
        Ink(*s, Inner(3, 2), gui::clWhite, &b);
        EXPECT_NEAR(a.Right - a.Left, b.Right - b.Left, 2);
        G->SetURLFull(true);
        auto s2 = Shot();
        TRect full;
        Ink(*s2, Inner(3, 1), gui::clWhite, &full);
        EXPECT_GT(full.Right - full.Left, a.Right - a.Left + 10);
    }

    Snapshot("grid-text-kinds-2.png");
    // Markup goes through the markup renderer: no tags on the screen.
    G->SetCells(4, 1, "<b>bold</b>");
    G->SetCells(4, 2, "bold");
    {
        auto s = Shot();
        TRect h, p;
        Ink(*s, Inner(4, 1), gui::clWhite, &h);
        Ink(*s, Inner(4, 2), gui::clWhite, &p);
        EXPECT_LT(h.Right - h.Left, p.Right - p.Left + 8);
        EXPECT_GT(h.Right - h.Left, p.Right - p.Left - 1);  // bold is wider or equal
    }
}

TEST_F(PaintFixture, WordWrapBreaksLongText)
{
    G->SetDefaultRowHeight(60);
    G->SetCells(1, 2, "one two three four five six");
    G->SetWordWrap(false);
    auto s1 = Shot();
    TRect a;
    Ink(*s1, Inner(1, 2), gui::clWhite, &a);
    G->SetWordWrap(true);
    auto s2 = Shot();
    TRect b;
    Ink(*s2, Inner(1, 2), gui::clWhite, &b);
    EXPECT_GT(b.Bottom - b.Top, a.Bottom - a.Top + 8);
}

TEST_F(PaintFixture, SortMarkRoomInRowZero)
{
    G->SetEnhTextSize(true);
    G->SetWordWrap(false);
    G->SetCells(2, 0, "A very long header text");
    G->SetCells(3, 0, "A very long header text");
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetColumn(2);
    G->SortSettings()->SetRow(5);  // the mark itself shows in another row
    auto s = Shot();
    TRect sorted, plain;
    Ink(*s, Inner(2, 0), 0xC0C0C0, &sorted);
    Ink(*s, Inner(3, 0), 0xC0C0C0, &plain);
    EXPECT_GE((plain.Right - Cell(3, 0).Left) - (sorted.Right - Cell(2, 0).Left), 12);
}

TEST_F(PaintFixture, AlignmentAndNumberFormatsUnderACommaLocale)
{
    GermanFormatSettings german;
    G->SetAutoNumAlign(true);
    struct Case {
        const char* text;
        TAlignment ha;
    } cases[] = {{"-12,5", TAlignment::taRightJustify}, {"12a", TAlignment::taLeftJustify},
                 {"42", TAlignment::taRightJustify}, {"1,5e3", TAlignment::taRightJustify}};
    for (const Case& c : cases) {
        G->SetCells(1, 1, c.text);
        EXPECT_EQ(static_cast<TAlignment>(G->ResolveCellAlignment(1, 1) & 0xFF), c.ha) << c.text;
    }

    G->OnGetFloatFormat = [](rtl::TObject*, int c, int, bool& isFloat, std::string& fmt) {
        if (c == 3) fmt = "%d";
        if (c == 4) isFloat = false;
    };
    G->SetCells(2, 1, "3");
    G->SetCells(2, 2, "abc");
    G->SetCells(3, 1, "7,6");
    G->SetCells(4, 1, "3");
    std::string t;
    G->GetFormattedCellText(2, 1, t);
    EXPECT_EQ(t, "3,00");
    G->GetFormattedCellText(2, 2, t);
    EXPECT_EQ(t, "abc");
    G->GetFormattedCellText(3, 1, t);
    EXPECT_EQ(t, "8");
    G->GetFormattedCellText(4, 1, t);
    EXPECT_EQ(t, "3");
}

TEST_F(PaintFixture, Measuring)
{
    gui::TCanvas* cv = G->Canvas();
    cv->SetFont(G->Font());
    const int lineH = cv->TextHeight("gh");
    gui::TPoint size;
    G->SetCells(1, 1, "first\r\nsecond line");
    G->GetCellTextSize(1, 1, size, false, false);
    EXPECT_EQ(size.Y, lineH + 4);  // one line without Multilinecells
    G->SetMultilinecells(true);
    G->GetCellTextSize(1, 1, size, false, false);
    EXPECT_EQ(size.Y, 2 * lineH + 4);
    EXPECT_EQ(size.X, cv->TextWidth("second line") + 4);

    // While the cell is edited a trailing line feed counts as a line.
    G->SetCells(2, 2, "x\n");
    G->SetCol(2);
    G->SetRow(2);
    gui::TPoint plain, editing;
    G->GetCellTextSize(2, 2, plain, false, true);
    G->SetEditingForTest(true);
    G->GetCellTextSize(2, 2, editing, false, true);
    G->SetEditingForTest(false);
    EXPECT_GT(editing.Y, plain.Y + lineH / 2);

    // A number is measured as shown.
    G->OnGetFloatFormat = [](rtl::TObject*, int, int, bool&, std::string&) {};
    G->SetCells(3, 1, "3");
    G->GetCellTextSize(3, 1, size, false, false);
    EXPECT_EQ(size.X, cv->TextWidth("3.00") + 4);

    // Rotated by 90 degrees: width and height swap (plus 12 each).
    G->SetCells(4, 1, "rotated text");
    G->GetCellTextSize(4, 1, plain, false, false);
    G->RotatedAngle = 90;
    G->GetCellTextSize(4, 1, size, false, false);
    EXPECT_EQ(size.X, plain.Y + 12);
    EXPECT_EQ(size.Y, plain.X + 12);
}

TEST_F(PaintFixture, LookPresetsAndViewServices)
{
    G->SetLook(TGridLook::glXP);
    G->SetFixedColor(0x123456);
    G->SetSelectionColor(0x00FF00);
    G->SetLook(TGridLook::glXP);  // its current value: nothing changes
    EXPECT_EQ(G->SelectionColor(), 0x00FF00u);
    G->SetLook(TGridLook::glCustom);  // keeps glXP's colours
    EXPECT_EQ(G->SelectionColor(), 0x00FF00u);
    EXPECT_EQ(G->FixedColor(), 0x123456u);
    G->SetComponentStateFlag(rtl::TComponentStateItem::csLoading, true);
    G->SetLook(TGridLook::glStandard);
    G->SetComponentStateFlag(rtl::TComponentStateItem::csLoading, false);
    EXPECT_EQ(G->FixedColor(), 0x123456u);
    EXPECT_EQ(G->SelectionColor(), gui::clHighlight);
    G->SetLook(TGridLook::glSoft);
    EXPECT_EQ(G->FixedColor(), gui::clBtnFace);

    std::string s = "kept";
    TExStringGrid::LookToString(TGridLook::glCustom, s);
    EXPECT_EQ(s, "kept");
    TExStringGrid::LookToString(TGridLook::glOffice2007, s);
    EXPECT_EQ(s, "glOffice2007");
    TExStringGrid::LookToCaption(TGridLook::glXP, s);
    EXPECT_EQ(s, "Windows XP");

    // RepaintRect with a negative coordinate does nothing.
    Form.Show();
    gui::Application->ProcessMessages();
    G->Paints = 0;
    G->RepaintRect({-1, 1, 2, 2});
    gui::Application->ProcessMessages();
    EXPECT_EQ(G->Paints, 0);
    G->RepaintRect({1, 1, 2, 2});
    gui::Application->ProcessMessages();
    EXPECT_GE(G->Paints, 1);

    // ScrollInView of a visible cell moves nothing.
    G->SetRowCount(100);
    G->SetCol(2);
    G->SetRow(3);
    G->ScrollInView(4, 5);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->TopRow(), 1);
    G->ScrollInView(4, 60);
    EXPECT_EQ(G->Row(), 60);
    EXPECT_LE(G->TopRow(), 60);
    EXPECT_GT(G->TopRow() + G->VisibleRowCount(), 60);

    // MoveColumn(1, 3): the control of column 1 goes to 3, those of 2 and 3 one left.
    G->ControlItems() = {{1, 1, nullptr}, {2, 1, nullptr}, {3, 1, nullptr}, {4, 1, nullptr}};
    G->SetCells(1, 1, "moved");
    G->MoveColumn(1, 3);
    EXPECT_EQ(G->Cells(3, 1), "moved");
    const int expect[] = {3, 1, 2, 4};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(G->ControlItems()[i].X, expect[i]) << i;
}
