// Rich-text cells: reading the rich-text subset (formatting, tables,
// unknown words, cut-off texts), writing it back, sub- and superscript
// selection, the required size, and the moves between cells and editors.
#include <gtest/gtest.h>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct RichFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    RichFixture()
    {
        G->SetParent(&Form);
        G->SetColCount(3);
        G->SetRowCount(3);
    }
    TExRichEdit* R() { return G->RichEdit(); }
    gui::TRichCharFormat FormatAt(int pos)
    {
        R()->SetSelection(pos, 1);
        return R()->SelFormat();
    }
};

} // namespace

TEST_F(RichFixture, ReadsTheSubset)
{
    R()->LoadRichText("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Sans;}{\\f1\\fnil Serif;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                      "a{\\b b}{\\i c}{\\ul d}{\\strike e}{\\cf1 f}{\\fs40 g}{\\f1 h}x{\\sub 2}{\\super 3}\\par next}");
    EXPECT_EQ(R()->PlainText(), "abcdefghx23\nnext");
    EXPECT_FALSE(FormatAt(0).Bold);
    EXPECT_TRUE(FormatAt(1).Bold);
    EXPECT_FALSE(FormatAt(2).Bold);  // the group ended
    EXPECT_TRUE(FormatAt(2).Italic);
    EXPECT_TRUE(FormatAt(3).Underline);
    EXPECT_TRUE(FormatAt(4).StrikeOut);
    EXPECT_EQ(FormatAt(5).Color, 0x0000FFu);
    EXPECT_EQ(FormatAt(6).Size, 20);
    EXPECT_EQ(FormatAt(7).FontName, "Serif");
    EXPECT_EQ(FormatAt(9).Offset, -40);
    EXPECT_EQ(FormatAt(10).Offset, 40);
}

TEST_F(RichFixture, ForgivingReader)
{
    struct Case {
        const char* text;
        const char* plain;
    } cases[] = {
        {"{\\rtf1 hello \\foo12 world\\bar}", "hello world"},            // unknown words skipped
        {"{\\rtf1 a{\\*\\unknowndest skip me}b}", "ab"},                  // unknown destination skipped
        {"{\\rtf1 a{\\stylesheet{\\s0 Normal;}}b}", "ab"},
        {"{\\rtf1 {\\b cut off", "cut off"},                              // truncated
        {"{\\rtf1 tail\\", "tail"},
        {"{\\rtf1 hex\\'e9 and \\u8364?", "hex\xC3\xA9 and \xE2\x82\xAC"},  // é and €
        {"{\\rtf1 esc \\{ \\} \\\\}", "esc { } \\"},
        {"plain text, not rich", "plain text, not rich"},
    };
    for (const Case& c : cases) {
        EXPECT_NO_THROW(R()->LoadRichText(c.text)) << c.text;
        EXPECT_EQ(R()->PlainText(), c.plain) << c.text;
    }
}

TEST_F(RichFixture, CellRoundTripKeepsContent)
{
    G->SetCells(1, 1, "{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}one {\\b two}\\par {\\cf1\\i three}{\\super 2}}");
    G->CellToRich(1, 1, R());
    EXPECT_EQ(R()->PlainText(), "one two\nthree2");
    G->RichToCell(2, 2, R());
    EXPECT_EQ(G->Cells(2, 2).compare(0, 5, "{\\rtf"), 0);
    TExRichEdit* other = G->InplaceRichEdit();
    G->CellToRich(2, 2, other);
    EXPECT_EQ(other->PlainText(), "one two\nthree2");
    other->SetSelection(4, 1);
    EXPECT_TRUE(other->SelFormat().Bold);
    other->SetSelection(8, 1);
    EXPECT_TRUE(other->SelFormat().Italic);
    EXPECT_EQ(other->SelFormat().Color, 0x008000u);
    other->SetSelection(13, 1);
    EXPECT_TRUE(other->IsSelSuperscript());
    // Saving twice gives the same text.
    EXPECT_EQ(G->RichToString(other), G->Cells(2, 2));
    // An empty cell clears the editor.
    G->CellToRich(0, 2, other);
    EXPECT_EQ(other->PlainText(), "");
}

TEST_F(RichFixture, SubAndSuperscriptFlags)
{
    R()->SetPlainText("H2O");
    R()->SetSelection(1, 1);
    EXPECT_TRUE(R()->IsSelNormal());
    R()->SelSuperscript();
    EXPECT_TRUE(R()->IsSelSuperscript());
    EXPECT_FALSE(R()->IsSelNormal());
    EXPECT_FALSE(R()->IsSelSubscript());
    R()->SelSubscript();
    EXPECT_TRUE(R()->IsSelSubscript());
    R()->SelNormal();
    EXPECT_TRUE(R()->IsSelNormal());
    int changes = 0;
    G->OnRichEditSelectionChange = [&](rtl::TObject* s) {
        EXPECT_EQ(s, G);
        ++changes;
    };
    G->InplaceRichEdit()->SetPlainText("abc");
    G->InplaceRichEdit()->SetSelection(1, 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(RichFixture, RequiredSizeGrowsWithLines)
{
    R()->SetPlainText("one line");
    const int one = R()->RequiredSize(100).cy;
    R()->SetPlainText("one line\nsecond line");
    const gui::TSize two = R()->RequiredSize(100);
    EXPECT_EQ(two.cx, 100);
    EXPECT_GT(one, 5);
    EXPECT_GE(two.cy, one * 2 - 4);
    EXPECT_LE(two.cy, one * 2 + 4);
    // Word wrap: a long line needs more height in a narrow width.
    R()->SetPlainText("a long line of words that cannot fit in a narrow width");
    EXPECT_GT(R()->RequiredSize(60).cy, R()->RequiredSize(2000).cy);
    EXPECT_GT(R()->ReqHeight(), 0);
}

TEST_F(RichFixture, RendersIntoACanvas)
{
    gui::TBitmap bmp;
    bmp.SetSize(120, 40);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, 120, 40});
    R()->LoadRichText("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\cf1\\b\\fs40 WWWW}}");
    R()->RenderTo(bmp.Canvas(), gui::TRect{10, 5, 110, 35});
    int red = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const gui::TColor c = bmp.Canvas()->Pixels(x, y);
            const bool reddish = (c & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100;
            if (reddish && x >= 10 && x < 110 && y >= 5 && y < 35) ++red;
            if (c != gui::clWhite && (x < 10 || x >= 110 || y < 5 || y >= 35)) ++outside;
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(outside, 0);
}
