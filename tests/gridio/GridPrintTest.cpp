// Grid printing and preview: page numbers, strips, fit to page, page
// breaks, the page range, a printed PDF and a preview bitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "TestPaths.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridPrint.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"

using namespace gridio;

namespace {

int RoundPx(int points) { return static_cast<int>(std::lround(points * 96.0 / 72)); }

struct PrintFixture : testing::Test {
    gui::TForm Form{nullptr};
    grid::TExStringGrid* G;
    std::filesystem::path Dir = tectest::ScratchDir("gridprint");
    gui::TBitmap Page;
    const gui::TRect A4{0, 0, 794, 1123};  // A4 at 96 dpi
    PrintFixture()
    {
        InstallGridIOHooks();
        G = new grid::TExStringGrid(&Form);
        G->SetParent(&Form);
        Fill(4, 20);
        Page.SetSize(794, 1123);
        Page.Canvas()->Brush()->SetColor(gui::clWhite);
        Page.Canvas()->FillRect(A4);
    }
    void Fill(int cols, int rows)
    {
        G->SetColCount(cols);
        G->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) G->SetCells(c, r, r == 0 ? "Head " + std::to_string(c) : "r" + std::to_string(r) + "c" + std::to_string(c));
    }
    TPrintSettings& PS() { return *PrintSettingsOf(*G); }
    // Most of the area (x1..x2-1, y1..y2-1) filled with a colour: a shaded cell background.
    bool Shaded(int x1, int y1, int x2, int y2)
    {
        int n = 0, all = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x, ++all)
                if ((Page.Canvas()->Pixels(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
        return n * 10 > all * 8;
    }
    // The page number texts of a preview run (all pages are laid out).
    std::vector<std::string> Numbers(TGridPrinter& pr)
    {
        pr.SetPreviewPage(1);
        pr.PrintPreview(Page.Canvas(), A4);
        return pr.PageNumberTexts();
    }
};

} // namespace

TEST_F(PrintFixture, PageNumbers)
{
    PS().PageNr = TPrintPosition::ppBottomCenter;
    struct Case {
        const char* name;
        int cols, rows;
        std::function<void(TPrintSettings&, TGridPrinter&)> setup;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"one page", 4, 20, [](TPrintSettings&, TGridPrinter&) {}, {"1"}},
        {"three pages", 4, 130, [](TPrintSettings&, TGridPrinter&) {}, {"1/3", "2/3", "3/3"}},
        {"offsets", 4, 130,
         [](TPrintSettings& s, TGridPrinter&) {
             s.PageNumberOffset = 10;
             s.MaxPagesOffset = 5;
         },
         {"11/8", "12/8", "13/8"}},
        {"no separator", 4, 130, [](TPrintSettings& s, TGridPrinter&) { s.PageNumSep = ""; }, {"1", "2", "3"}},
        {"two strips", 2, 70,
         [](TPrintSettings& s, TGridPrinter&) {
             s.UseFixedWidth = true;
             s.FixedWidth = 1300;  // two columns do not fit side by side
         },
         {"1-1", "2-1", "1-2", "2-2"}},
        {"fast print", 4, 130, [](TPrintSettings&, TGridPrinter& p) { p.FastPrint = true; }, {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(c.cols, c.rows);
        PS().PageNumberOffset = PS().MaxPagesOffset = 0;
        PS().PageNumSep = "/";
        PS().UseFixedWidth = false;
        TGridPrinter pr(*G);
        c.setup(PS(), pr);
        EXPECT_EQ(Numbers(pr), c.expected);
    }
}

TEST_F(PrintFixture, FitToPage)
{
    struct Case {
        TFitToPage mode;
        int cols;
        bool allow;
        int direction;  // -1 shrunk, 0 unchanged, 1 grown
        bool asked;
    };
    const Case cases[] = {
        {TFitToPage::fpShrink, 3, true, 0, false},  {TFitToPage::fpGrow, 3, true, 1, false},
        {TFitToPage::fpShrink, 30, true, -1, false}, {TFitToPage::fpGrow, 30, true, 0, false},
        {TFitToPage::fpAlways, 3, true, 1, false},   {TFitToPage::fpCustom, 3, false, 0, true},
        {TFitToPage::fpCustom, 3, true, 1, true},    {TFitToPage::fpNever, 30, true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode) * 100 + c.cols);
        Fill(c.cols, 5);
        PS().FitToPage = c.mode;
        TGridPrinter pr(*G);
        bool asked = false;
        pr.OnFitToPage = [&](rtl::TObject*, double&, bool& allow) {
            asked = true;
            allow = c.allow;
        };
        Numbers(pr);
        const double e = pr.FitFactor();
        EXPECT_EQ(c.direction, e > 1.0001 ? 1 : e < 0.9999 ? -1 : 0) << e;
        EXPECT_EQ(asked, c.asked);
    }
}

TEST_F(PrintFixture, BreaksRangesAndWideColumns)
{
    // A forced break after row 5 starts a second page.
    TGridPrinter pr(*G);
    PS().PageNr = TPrintPosition::ppTopRight;
    pr.OnPrintNewPage = [](rtl::TObject*, int aRow, bool& newPage) { newPage = aRow == 5; };
    EXPECT_EQ(Numbers(pr), (std::vector<std::string>{"1/2", "2/2"}));

    // OnPrintStart (0, 0) draws nothing; PreviewPage 2 draws only page 2.
    Fill(4, 130);
    TGridPrinter pv(*G);
    std::vector<int> drawn;
    pv.OnPrintPage = [&](rtl::TObject*, gui::TCanvas*, int page, int, int) { drawn.push_back(page); };
    pv.OnPrintStart = [](rtl::TObject*, int pages, int& from, int& to) {
        EXPECT_EQ(pages, 3);
        from = to = 0;
    };
    pv.SetPreviewPage(2);
    pv.PrintPreview(Page.Canvas(), A4);
    EXPECT_TRUE(drawn.empty());
    pv.OnPrintStart = nullptr;
    pv.PrintPreview(Page.Canvas(), A4);
    EXPECT_EQ(drawn, (std::vector<int>{2}));

    // A column wider than the page still ends the run: one strip per column.
    Fill(3, 4);
    PS().UseFixedWidth = true;
    PS().FixedWidth = 5000;
    TGridPrinter wide(*G);
    EXPECT_EQ(Numbers(wide), (std::vector<std::string>{"1-1", "1-2", "1-3"}));
}

TEST_F(PrintFixture, SelectedRowsOnly)
{
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(3, true);
    G->SetRowSelect(7, true);
    std::vector<int> heights;
    TGridPrinter pr(*G);
    pr.SetPreviewPage(1);
    pr.OnPrintPageDone = [&](rtl::TObject*, gui::TCanvas*, int, int offset, int, int, int) { heights.push_back(offset); };
    pr.PrintPreviewSelectedRows(Page.Canvas(), A4);
    ASSERT_EQ(heights.size(), 1u);
    const int twoRows = heights[0];
    PS().FixedCellsAlways = true;
    heights.clear();
    pr.PrintPreviewSelectedRows(Page.Canvas(), A4);
    EXPECT_LT(heights[0], twoRows);  // the fixed row prints too: the page goes further down
}

TEST_F(PrintFixture, RotatedTextOrigin)
{
    // L 10, T 100, R 110, B 20 (y upward); CW 30, SH 4, SW -6, CH -8 as the print path passes them.
    struct Case {
        int angle, h, v, x, y;
    };
    const Case cases[] = {
        {0, 0, 0, 10, 94},   {0, 1, 0, 76, 94},   {0, 2, 2, 43, 28},   {90, 0, 1, 10, 61},
        {180, 0, 0, 40, 86}, {180, 1, 2, 106, 20}, {270, 2, 0, 77, 92}, {300, 1, 2, 80, 34},
    };
    for (const Case& c : cases) {
        gui::TRect r{10, 100, 110, 20};
        TGridPrinter::RotatedTextOrigin(r, c.h, c.v, c.angle, 30, 4, -6, -8);
        EXPECT_EQ((gui::TPoint{r.Left, r.Top}), (gui::TPoint{c.x, c.y})) << c.angle << " " << c.h << c.v;
    }
}

TEST_F(PrintFixture, PrintedPdfAndPreviewPixels)
{
    Fill(5, 130);
    G->AddRotated(2, 3, 90, "Up");
    G->AddCheckBox(4, 2, true, false);
    auto* bmp = new gui::TBitmap;  // the grid's cell keeps it
    bmp->SetSize(24, 16);
    bmp->Canvas()->Brush()->SetColor(0x0000C0);  // dark red
    bmp->Canvas()->FillRect(gui::TRect{0, 0, 24, 16});
    G->AddBitmap(1, 4, bmp, false, grid::TCellHAlign::haLeft, grid::TCellVAlign::vaCenter);
    G->SetCells(2, 6, "<b>bold</b> and <i>italic</i>");
    G->SetCells(3, 5, "60");
    G->AddProgress(3, 5, 0x00A000, gui::clWhite);

    PS().PrintGraphics = true;
    PS().Title = TPrintPosition::ppTopCenter;
    PS().TitleText = "Eclipse sites";
    PS().PageNr = TPrintPosition::ppBottomCenter;
    PS().Borders = TPrintBorders::pbAround;
    PS().HeaderSize = 100;
    PS().FooterSize = 100;
    gui::TPrinter printer;
    const std::string pdf = (Dir / "grid.pdf").string();
    printer.SetOutputFileName(pdf);
    TGridPrinter pr(*G);
    pr.Print(printer);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::string txt = (Dir / "grid.txt").string();
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + txt).c_str()), 0);
    const std::string text = tectest::ReadText(txt);
    for (const char* want : {"Eclipse sites", "1/3", "2/3", "3/3", "r1c0", "r129c4", "Head 3", "bold and italic"})
        EXPECT_NE(text.find(want), std::string::npos) << want;
    if (const char* keep = std::getenv("GRIDIO_KEEP_PRINT")) {
        std::filesystem::copy_file(pdf, std::string(keep) + ".pdf", std::filesystem::copy_options::overwrite_existing);
        std::system(("pdftoppm -r 60 -png -f 1 -l 1 " + pdf + " " + keep).c_str());
    }

    // The preview of page 1: the frame's top line and the title above it.
    pr.SetPreviewPage(1);
    pr.PrintPreview(Page.Canvas(), A4);
    if (const char* keep = std::getenv("GRIDIO_KEEP_PRINT")) {
        gui::TPngImage png;
        png.Assign(&Page);
        png.SaveToFile(std::string(keep) + "-preview.png");
    }
    int darkTitle = 0, frameTop = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 250; x < 550; ++x)
            if ((Page.Canvas()->Pixels(x, y) & 0xFFFFFF) < 0x808080) {
                if (y < 50) ++darkTitle;
                else if (frameTop < 0) frameTop = y;
            }
    EXPECT_GT(darkTitle, 20);  // header text 10 mm from the top (38 px)
    EXPECT_GT(frameTop, 40);
}

TEST_F(PrintFixture, RepeatedFixedRowsAndColumns)
{
    Fill(4, 130);
    PS().HeaderSize = 100;  // the first row starts 10 mm (38 px) down
    auto firstRowShaded = [&](int page, const gui::TGridRect& range, int x) {
        Page.Canvas()->Brush()->SetColor(gui::clWhite);
        Page.Canvas()->FillRect(A4);
        TGridPrinter pr(*G);
        pr.SetPreviewPage(page);
        pr.PrintPreviewRect(Page.Canvas(), A4, range);
        return Shaded(x - 40, 44, x + 40, 45);
    };
    const gui::TGridRect all{0, 0, 3, 129}, later{0, 5, 3, 129};
    struct Case {
        bool repeat;
        int page;
        gui::TGridRect range;
        bool shaded;
    };
    const Case cases[] = {
        {false, 2, all, false}, {true, 2, all, true},     // every page after the first starts with them
        {true, 1, all, true},                              // page 1: printed once, as rows of the range
        {false, 1, later, false}, {true, 1, later, true},  // a range after them gets them on page 1 too
    };
    for (const Case& c : cases) {
        PS().RepeatFixedRows = c.repeat;
        EXPECT_EQ(firstRowShaded(c.page, c.range, 397), c.shaded) << c.repeat << " page " << c.page << " top " << c.range.Top;
    }

    // Fixed columns repeated on the second strip.
    Fill(3, 10);
    PS().RepeatFixedRows = false;
    PS().UseFixedWidth = true;
    PS().FixedWidth = 900;  // two columns per strip: 0-1, then 2 (with 0 repeated)
    PS().Centered = false;
    for (bool repeat : {false, true}) {
        PS().RepeatFixedCols = repeat;
        Page.Canvas()->Brush()->SetColor(gui::clWhite);
        Page.Canvas()->FillRect(A4);
        TGridPrinter pr(*G);
        pr.SetPreviewPage(2);
        pr.PrintPreview(Page.Canvas(), A4);
        const bool shaded = Shaded(8, 60, 9, 140);
        EXPECT_EQ(shaded, repeat);
    }
}

TEST_F(PrintFixture, CellMeasuring)
{
    Fill(4, 6);
    G->SetCells(2, 3, "");
    for (int r = 0; r < 6; ++r) G->SetCells(2, r, "");  // an empty column keeps a printable width
    G->SetCells(1, 2, "a much longer text than the others");
    G->MergeCells(1, 2, 2, 1);  // spans columns 1..2: widens neither
    TGridPrinter pr(*G);
    int heightCalls = 0;
    pr.OnPrintSetRowHeight = [&](rtl::TObject*, int, int& h) {
        ++heightCalls;
        h += 0;
    };
    Numbers(pr);
    const std::vector<int> w = pr.MaxWidths();
    gui::TBitmap probe;
    int gh = 0;  // the widest "gh" of the column's fonts (the fixed row's and the others')
    for (gui::TFont* f : {G->Font(), G->FixedFont()}) {
        probe.Canvas()->Font()->Assign(f);
        probe.Canvas()->Font()->SetHeight(-RoundPx(f->Size()));
        gh = std::max(gh, static_cast<int>(std::lround(probe.Canvas()->TextWidth("gh") * 254.0 / 96)));
    }
    EXPECT_NEAR(w[2], gh, 2);                 // empty cells measure as "gh"
    EXPECT_LT(w[1], gh * 4);                  // the merged text does not widen column 1
    EXPECT_GT(heightCalls, 0);

    PS().UseFixedWidth = true;
    PS().FixedWidth = 333;
    PS().UseFixedHeight = true;
    PS().FixedHeight = 77;
    heightCalls = 0;
    std::vector<int> offsets;
    pr.OnPrintPageDone = [&](rtl::TObject*, gui::TCanvas*, int, int y, int, int, int) { offsets.push_back(y); };
    Numbers(pr);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(pr.MaxWidths()[c], 333);
    EXPECT_EQ(heightCalls, 0);  // fixed heights are not offered to the event
    ASSERT_EQ(offsets.size(), 1u);
    const int u = offsets[0];  // the rows end at -(header + 6 rows of 77 + 2u)
    EXPECT_LT(u, -6 * 77);
}

TEST_F(PrintFixture, BorderStyles)
{
    Fill(4, 12);
    G->MergeCells(1, 3, 2, 1);  // one cell over columns 1..2 of row 3
    // Full-length dark lines of the page: vertical ones over rows 4..10, horizontal ones over the table.
    auto lines = [&](TPrintBorders b, int& vertical, int& horizontal) {
        PS().Borders = b;
        Page.Canvas()->Brush()->SetColor(gui::clWhite);
        Page.Canvas()->FillRect(A4);
        TGridPrinter pr(*G);
        pr.SetPreviewPage(1);
        pr.PrintPreview(Page.Canvas(), A4);
        auto dark = [&](int x, int y) { return (Page.Canvas()->Pixels(x, y) & 0xFFFFFF) < 0x606060; };
        int top = -1, bottom = -1, left = -1, right = -1;  // the table's extent: rows of any dark pixel
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 794; ++x)
                if (dark(x, y)) {
                    if (top < 0) top = y;
                    bottom = y;
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
        vertical = horizontal = 0;
        const int y1 = top + (bottom - top) * 2 / 5, y2 = top + (bottom - top) * 4 / 5;
        for (int x = left; x <= right; ++x) {
            bool all = true;
            for (int y = y1; y <= y2 && all; ++y) all = dark(x, y);
            if (all && (x == left || !dark(x - 1, y1))) ++vertical;
        }
        const int x1 = left + (right - left) / 5, x2 = left + (right - left) * 4 / 5;
        for (int y = top; y <= bottom; ++y) {
            bool all = true;
            for (int x = x1; x <= x2 && all; ++x) all = dark(x, y);
            if (all && (y == top || !dark(x1, y - 1))) ++horizontal;
        }
    };
    struct Case {
        TPrintBorders b;
        bool verticals, horizontals;
    };
    const Case cases[] = {
        {TPrintBorders::pbNoborder, false, false}, {TPrintBorders::pbSingle, true, true},
        {TPrintBorders::pbVertical, true, false},  {TPrintBorders::pbHorizontal, false, true},
    };
    for (const Case& c : cases) {
        int v = 0, h = 0;
        lines(c.b, v, h);
        EXPECT_EQ(v >= 5, c.verticals) << static_cast<int>(c.b) << " vertical " << v;
        EXPECT_EQ(h >= 8, c.horizontals) << static_cast<int>(c.b) << " horizontal " << h;
    }
}

TEST_F(PrintFixture, PrinterJobsOrientationAndCancelling)
{
    Fill(3, 10);
    gui::TPrinter printer;
    TGridPrinter pr(*G);
    // A run cancelled from OnPrintStart leaves no document.
    const std::string none = (Dir / "none.pdf").string();
    printer.SetOutputFileName(none);
    int starts = 0;
    pr.OnPrintStart = [&](rtl::TObject*, int pages, int& from, int& to) {
        ++starts;
        EXPECT_EQ(pages, 1);
        from = to = 0;
    };
    pr.Print(printer);
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(std::filesystem::exists(none));

    // Landscape and the job name reach the printer.
    pr.OnPrintStart = nullptr;
    PS().Orientation = gui::TPrinterOrientation::poLandscape;
    PS().JobName = "Sites";
    const std::string wide = (Dir / "wide.pdf").string();
    printer.SetOutputFileName(wide);
    pr.Print(printer);
    EXPECT_EQ(printer.Title(), "Sites");
    EXPECT_EQ(printer.Orientation(), gui::TPrinterOrientation::poLandscape);
    const std::string info = (Dir / "wide.txt").string();
    ASSERT_EQ(std::system(("pdfinfo " + wide + " > " + info).c_str()), 0);
    const std::string text = tectest::ReadText(info);
    const size_t at = text.find("Page size:");
    ASSERT_NE(at, std::string::npos);
    double w = 0, h = 0;
    std::sscanf(text.c_str() + at, "Page size: %lf x %lf", &w, &h);
    EXPECT_GT(w, h);
}

TEST_F(PrintFixture, DrawOnACanvasAndCustomCells)
{
    Fill(3, 130);
    int custom = 0;
    G->OnCustomCellDraw = [&](rtl::TObject*, gui::TCanvas*, int, int, gui::TGridDrawState, gui::TRect r, bool printing) {
        EXPECT_TRUE(printing);
        EXPECT_GT(r.Bottom, r.Top);  // device units, top down
        ++custom;
    };
    TGridPrinter pr(*G);
    std::vector<int> pages;
    pr.OnPrintPage = [&](rtl::TObject*, gui::TCanvas*, int page, int, int) { pages.push_back(page); };
    pr.PrintDraw(Page.Canvas(), A4);
    EXPECT_EQ(pages, (std::vector<int>{1}));
    EXPECT_GT(custom, 3 * 40);  // the cells of page 1 only
    EXPECT_LT(custom, 3 * 70);

    const int saved = gui::Printer()->OrientationDegrees();
    gui::Printer()->SetOrientationDegrees(270);
    EXPECT_EQ(pr.PrinterOrientationDegrees(), 270);
    gui::Printer()->SetOrientationDegrees(saved);
}
