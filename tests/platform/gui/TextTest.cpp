// Canvas text: DrawText layout against what is painted, prefixes,
// alignment, ellipsis, rotation, fonts and their sizes.

#include <gtest/gtest.h>

#include "GuiTestUtil.h"
#include "platform/gui/Graphics.h"

using namespace gui;
using guitest::NewBitmap;
using guitest::PaintedExtent;

namespace {

constexpr TColor kBack = RGB(200, 220, 240);

// A bitmap whose canvas paints text on an opaque background of kBack, so
// that the painted extent is exactly the text cells.
std::unique_ptr<TBitmap> TextBitmap(int w = 300, int h = 200)
{
    auto bmp = NewBitmap(w, h);
    TCanvas* cv = bmp->Canvas();
    cv->Font()->SetName("Arial");
    cv->Font()->SetSize(10);
    cv->Font()->SetColor(clBlack);
    cv->Brush()->SetColor(kBack);
    return bmp;
}

struct CalcCase {
    const char* text;
    uint32_t flags;
    int width;
};

class DrawTextCalcRect : public ::testing::TestWithParam<CalcCase> {};

TEST_P(DrawTextCalcRect, CalcRectEqualsThePaintedExtent)
{
    const CalcCase& c = GetParam();
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    TRect calc = Rect(10, 20, 10 + c.width, 190);
    int h = cv->DrawText(c.text, calc, c.flags | DT_CALCRECT);
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), TRect{}) << "CALCRECT must not paint";
    EXPECT_EQ(h, calc.Height());
    TRect r = Rect(10, 20, 10 + c.width, 190);
    EXPECT_EQ(cv->DrawText(c.text, r, c.flags), h);
    EXPECT_EQ(PaintedExtent(*bmp, clWhite), calc);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DrawTextCalcRect,
    ::testing::Values(CalcCase{"Maximum eclipse", DT_SINGLELINE | DT_NOPREFIX, 280},
                      CalcCase{"&Print...", DT_SINGLELINE, 280},
                      CalcCase{"Line one\r\nand the second, longer line\nthird", 0, 280},
                      CalcCase{"several words that wrap onto more than one line here", DT_WORDBREAK, 120},
                      CalcCase{"tab\tstops\there", DT_EXPANDTABS | DT_SINGLELINE, 280},
                      CalcCase{"Leading", DT_SINGLELINE | DT_EXTERNALLEADING, 280}));

TEST(DrawText, LinesAndHeightsFollowTheFont)
{
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    int line = cv->TextHeight("Xg");
    TRect r = Rect(0, 0, 280, 100);
    EXPECT_EQ(cv->DrawText("a\nb\nc", r, DT_CALCRECT), 3 * line);
    r = Rect(0, 0, 280, 100);
    EXPECT_EQ(cv->DrawText("a\nb\nc", r, DT_CALCRECT | DT_SINGLELINE), line);
    r = Rect(0, 0, 280, 100);
    cv->DrawText("Width", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), cv->TextWidth("Width"));
}

TEST(DrawText, PrefixesAreRemovedAndUnderlined)
{
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    TRect r = Rect(0, 0, 280, 100);
    cv->DrawText("&File", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), cv->TextWidth("File"));
    r = Rect(0, 0, 280, 100);
    cv->DrawText("a&&b", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), cv->TextWidth("a&b"));
    r = Rect(0, 0, 280, 100);
    cv->DrawText("a&&b", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), cv->TextWidth("a&&b"));

    // The underline of "&F" sits under the F, below the baseline.
    cv->SetBkMode(TRANSPARENT);
    TTextMetric tm = cv->GetTextMetrics();
    int fw = cv->TextWidth("F");
    TRect d = Rect(0, 0, 280, 100);
    cv->DrawText("&F", d, DT_SINGLELINE);
    int underlined = 0;
    for (int y = tm.tmAscent + 1; y < tm.tmHeight; ++y)
        for (int x = 0; x < fw; ++x) underlined += cv->Pixels(x, y) == clBlack;
    EXPECT_GE(underlined, fw - 1);
    auto plain = TextBitmap();
    plain->Canvas()->SetBkMode(TRANSPARENT);
    d = Rect(0, 0, 280, 100);
    plain->Canvas()->DrawText("&F", d, DT_SINGLELINE | DT_HIDEPREFIX);
    int none = 0;
    for (int y = tm.tmAscent + 1; y < tm.tmHeight; ++y)
        for (int x = 0; x < fw; ++x) none += plain->Canvas()->Pixels(x, y) == clBlack;
    EXPECT_EQ(none, 0);
}

struct AlignCase {
    uint32_t flags;
    // Expected top-left of the text cell in the box (20, 10, 220, 110),
    // given text width w and line height h.
    int (*x)(int w);
    int (*y)(int h);
};

TEST(DrawText, AlignmentPlacesTheLineInTheRectangle)
{
    const AlignCase cases[] = {
        {DT_SINGLELINE, [](int) { return 20; }, [](int) { return 10; }},
        {DT_SINGLELINE | DT_CENTER, [](int w) { return 20 + (200 - w) / 2; }, [](int) { return 10; }},
        {DT_SINGLELINE | DT_RIGHT, [](int w) { return 220 - w; }, [](int) { return 10; }},
        {DT_SINGLELINE | DT_VCENTER, [](int) { return 20; }, [](int h) { return 10 + (100 - h) / 2; }},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, [](int w) { return 220 - w; }, [](int h) { return 110 - h; }},
    };
    for (const AlignCase& c : cases) {
        auto bmp = TextBitmap();
        TCanvas* cv = bmp->Canvas();
        int w = cv->TextWidth("Eclipse"), h = cv->TextHeight("Eclipse");
        TRect r = Rect(20, 10, 220, 110);
        int result = cv->DrawText("Eclipse", r, c.flags);
        EXPECT_EQ(PaintedExtent(*bmp, clWhite), Bounds(c.x(w), c.y(h), w, h)) << c.flags;
        EXPECT_EQ(result, c.y(h) - 10 + h) << c.flags;
    }
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    const char* text = "A rather long caption for a narrow box";
    auto bmp = TextBitmap();
    TRect r = Rect(10, 10, 60, 40);
    bmp->Canvas()->DrawText(text, r, DT_SINGLELINE);
    TRect ext = PaintedExtent(*bmp, clWhite);
    EXPECT_LE(ext.Right, 60);
    auto wide = TextBitmap();
    r = Rect(10, 10, 60, 40);
    wide->Canvas()->DrawText(text, r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(PaintedExtent(*wide, clWhite).Right, 60);

    // With an ellipsis the text is shortened to fit and ends in "...".
    auto dots = TextBitmap();
    TRect calc = Rect(10, 10, 60, 40);
    dots->Canvas()->DrawText(text, calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.Width(), 50);
    EXPECT_GT(calc.Width(), dots->Canvas()->TextWidth("..."));
}

struct RotationCase {
    int orientation;
    bool upward;
};

class RotatedText : public ::testing::TestWithParam<RotationCase> {};

TEST_P(RotatedText, RunsInTheFontsDirection)
{
    auto bmp = TextBitmap(200, 200);
    TCanvas* cv = bmp->Canvas();
    cv->SetBkMode(TRANSPARENT);
    int w = cv->TextWidth("WWWWWW"), h = cv->TextHeight("WWWWWW");
    cv->Font()->SetOrientation(GetParam().orientation);
    cv->TextOut(100, 100, "WWWWWW");
    TRect ext = PaintedExtent(*bmp, clWhite);
    EXPECT_GT(ext.Height(), 2 * ext.Width());
    EXPECT_NEAR(ext.Height(), w, 3);
    if (GetParam().upward) {
        // Rotated counter-clockwise about (100, 100): the cell lies above and to the right.
        EXPECT_LE(ext.Bottom, 101);
        EXPECT_GE(ext.Top, 100 - w - 2);
        EXPECT_GE(ext.Left, 99);
        EXPECT_LE(ext.Right, 100 + h + 1);
    } else {
        EXPECT_GE(ext.Top, 99);
        EXPECT_LE(ext.Bottom, 100 + w + 2);
        EXPECT_LE(ext.Right, 101);
        EXPECT_GE(ext.Left, 100 - h - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Angles, RotatedText,
                         ::testing::Values(RotationCase{900, true}, RotationCase{-900, false},
                                           RotationCase{2700, false}));

TEST(TextOut, OpaqueCellIsTheTextExtentAndPenMoves)
{
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    TSize size = cv->TextExtent("Tolmira");
    cv->TextOut(7, 9, "Tolmira");
    // The cell is filled; glyphs may overhang it by a pixel at the end.
    TRect ext = PaintedExtent(*bmp, clWhite);
    EXPECT_EQ(ext.TopLeft(), Point(7, 9));
    EXPECT_EQ(ext.Bottom, 9 + size.cy);
    EXPECT_NEAR(ext.Right, 7 + size.cx, 1);
    EXPECT_EQ(cv->Pixels(7, 9), kBack);
    EXPECT_EQ(cv->Pixels(7 + size.cx - 1, 9 + size.cy - 1), kBack);
    EXPECT_EQ(cv->PenPos(), Point(7 + size.cx, 9));

    auto clear = TextBitmap();
    clear->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    clear->Canvas()->TextOut(7, 9, "Tolmira");
    EXPECT_EQ(guitest::CountColor(*clear, kBack), 0);
    EXPECT_GT(guitest::CountColor(*clear, clBlack), 10);

    // TextRect fills its whole rectangle and clips the text to it.
    auto rect = TextBitmap();
    rect->Canvas()->TextRect(Rect(5, 5, 30, 40), 5, 5, "Tolmira eclipse calculator");
    EXPECT_EQ(PaintedExtent(*rect, clWhite), Rect(5, 5, 30, 40));
}

TEST(Fonts, SizeAndHeightFollowTheResolution)
{
    TFont f;
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    EXPECT_EQ(f.Size(), 10);
    TFont printerFont;
    printerFont.SetPixelsPerInch(600);
    printerFont.Assign(&f);   // keeps 10 points
    EXPECT_EQ(printerFont.Size(), 10);
    EXPECT_EQ(printerFont.Height(), -83);

    int changes = 0;
    f.OnChange = [&](rtl::TObject*) { ++changes; };
    f.SetStyle({TFontStyle::fsBold});
    f.SetColor(clRed);
    f.SetName("Tahoma");   // unchanged: no event
    EXPECT_EQ(changes, 2);

    TLogFont lf = f.GetLogFont();
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    lf.lfEscapement = 900;
    TFont g;
    g.SetLogFont(lf);
    EXPECT_EQ(g.Orientation(), 900);
    EXPECT_TRUE(g.Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(g.Height(), -13);
}

TEST(Fonts, SymbolShowsGreekForLatinLetters)
{
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    cv->Font()->SetName("DejaVu Sans");
    int delta = cv->TextWidth("\u0394");   // Greek capital delta
    int latin = cv->TextWidth("D");
    cv->Font()->SetName("Symbol");
    EXPECT_EQ(cv->TextWidth("D"), delta);
    EXPECT_NE(delta, latin);
}

TEST(Fonts, NamedFontsResolveToDifferentFamilies)
{
    auto bmp = TextBitmap();
    TCanvas* cv = bmp->Canvas();
    cv->Font()->SetName("Courier New");
    int mono1 = cv->TextWidth("iiiii"), mono2 = cv->TextWidth("WWWWW");
    EXPECT_EQ(mono1, mono2);
    cv->Font()->SetName("Arial");
    EXPECT_LT(cv->TextWidth("iiiii"), cv->TextWidth("WWWWW"));
    // A larger size gives a taller line.
    int small = cv->TextHeight("X");
    cv->Font()->SetSize(20);
    EXPECT_GT(cv->TextHeight("X"), small * 3 / 2);
}

} // namespace
