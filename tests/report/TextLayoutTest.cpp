// The 600-dpi text layout with a fixed-pitch font: Liberation Mono (the
// font the program's "Courier New" is drawn with) advances every character
// by 1229 of 2048 units of the em, so at 10 points (83 layout pixels to the
// em) k characters take round(k * 1229 * 83 / 2048) layout pixels:
// 50, 100, 149, 199, 249, 299, 349, 398, ...  A rectangle W report units
// wide gives 6.25 * W layout pixels: 32 units hold four characters.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/gui/FontService.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"

using namespace qlr;

namespace {

struct Layout {
    TqlrDrawText dt;
    gui::TFont font;
    bool wordBreak = false, tags = true, wysiwyg = true;
    int rotation = 0;
    long double gap = 0, lineSpacing = 0;

    Layout()
    {
        font.SetName("Courier New");
        font.SetSize(10);
        font.SetColor(gui::clBlack);
    }
    std::vector<std::string> Wrap(const std::vector<std::string>& text, int w, int h = 1000)
    {
        TqlrDrawText::Lock();
        dt.SetFont(&font);
        dt.SetOptions(true, tags, false, wordBreak, true, wysiwyg, rotation);
        dt.SetGaps(gap, 0, lineSpacing);
        gui::TRect r(0, 0, w, h);
        dt.SetDimensions(1, 1, 1, r, r);
        std::vector<std::u16string> lines;
        for (const auto& s : text) lines.push_back(rtl::UTF8ToUTF16(s));
        dt.SetText(lines);
        TqlrDrawText::Unlock();
        std::vector<std::string> out;
        for (const auto& l : dt.Lines()) out.push_back(rtl::UTF16ToUTF8(l));
        return out;
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST(ReportTextLayout, TheFixedPitchFontHasItsPublishedAdvance)
{
    auto program = gui::TFontProgram::Find("Courier New", false, false);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->UnitsPerEm(), 2048);
    EXPECT_EQ(program->GlyphAdvance(program->GlyphIndex(U'a')), 1229);
    EXPECT_EQ(program->GlyphAdvance(program->GlyphIndex(U'м')), 1229);
}

TEST(ReportTextLayout, WrappingTable)
{
    struct Case {
        const char* name;
        std::vector<std::string> text;
        int width;
        long double gap;
        Lines expected;
    } cases[] = {
        {"two words at four characters", {"aaaa bbbb"}, 32, 0, {"aaaa", "bbbb"}},
        {"limit 199 holds 199 exactly", {"aaaa bbbb"}, 32, 0.16L, {"aaaa", "bbbb"}},
        {"limit 198 does not", {"aaaa bbbb"}, 32, 0.32L, {"aaa", "a", "bbbb"}},
        {"one character is never broken", {"W"}, 1, 0, {"W"}},
        {"a character wider than the box", {"ab"}, 4, 0, {"a", "b"}},
        {"empty line and tags only", {"", "<b></b>"}, 32, 0, {" ", " "}},
        {"paragraph gap on first lines", {"aaa aaa", "aaa aaa"}, 32, 16, {"aa", "a", "aaa", "aa", "a", "aaa"}},
        {"no gap", {"aaa aaa"}, 32, 0, {"aaa", "aaa"}},
        {"blanks inside nowrap do not break", {"aa <nowrap>aa aa</nowrap>"}, 32, 0, {"aa", "aa a", "a"}},
        {"the same without nowrap", {"aa aa aa"}, 32, 0, {"aa", "aa", "aa"}},
        {"<p> stays as text", {"<p>x"}, 32, 0, {"<p>x"}},
    };
    for (const Case& c : cases) {
        Layout l;
        l.gap = c.gap;
        EXPECT_EQ(l.Wrap(c.text, c.width), c.expected) << c.name;
    }
}

TEST(ReportTextLayout, Hyphenation)
{
    EXPECT_EQ(HyphenPositions(u"МОЛОКО"), (std::vector<int>{2, 4}));
    EXPECT_EQ(HyphenPositions(u"КАССА"), (std::vector<int>{3}));
    EXPECT_TRUE(HyphenPositions(u"ДОМ").empty());
    EXPECT_TRUE(HyphenPositions(u"HELLO").empty());
    // The largest position below the characters that fit, leaving room for "-".
    EXPECT_EQ(FindHyphenPoint(u"молоко", 1, 6, 6), u"моло");
    EXPECT_EQ(FindHyphenPoint(u"молоко", 1, 5, 6), u"мо");
    EXPECT_EQ(FindHyphenPoint(u"молоко", 1, 2, 6), u"");

    Layout l;
    l.wordBreak = true;
    EXPECT_EQ(l.Wrap({"aa молоко"}, 32), (Lines{"aa", "мо-", "локо"}));
    // A Latin word is cut at the last character that fits.
    EXPECT_EQ(l.Wrap({"abcdefgh"}, 32), (Lines{"abcd", "efgh"}));
}

TEST(ReportTextLayout, TagTable)
{
    struct Case {
        const char* source;
        const char* text;
        std::function<bool(const TqlrHTMLTags&)> check;
    } cases[] = {
        {"<b>a</b>b", "ab", [](const TqlrHTMLTags& t) {
             return t[0].Style.Contains(gui::TFontStyle::fsBold) && !t[1].Style.Contains(gui::TFontStyle::fsBold);
         }},
        {"<I>a", "a", [](const TqlrHTMLTags& t) { return t[0].Style.Contains(gui::TFontStyle::fsItalic); }},
        {"<u>a", "a", [](const TqlrHTMLTags& t) { return t[0].Style.Contains(gui::TFontStyle::fsUnderline); }},
        {"<strike>a</strike>b", "ab", [](const TqlrHTMLTags& t) {
             return t[0].Style.Contains(gui::TFontStyle::fsStrikeOut) && !t[1].Style.Contains(gui::TFontStyle::fsStrikeOut);
         }},
        {"x<sub>2</sub>", "x2", [](const TqlrHTMLTags& t) {
             return t[1].Size == 7 && t[1].AddY == 1 && t[1].Small && !t[0].Small;
         }},
        {"x<sup>2", "x2", [](const TqlrHTMLTags& t) { return t[1].Size == 7 && t[1].AddY == 0; }},
        {"<font color=\"#FF8000\">r</font>x", "rx", [](const TqlrHTMLTags& t) {
             return t[0].Color == 0x0080FF && t[1].Color == gui::clBlack && !t[0].Default;
         }},
        {"<font color=red>r", "r", [](const TqlrHTMLTags& t) { return t[0].Color == gui::clRed; }},
        {"<font color=#FF0000>r", "<font color=#FF0000>r", [](const TqlrHTMLTags& t) {
             return t[0].Color == gui::clBlack;
         }},
        {"<p>", "<p>", [](const TqlrHTMLTags& t) { return t.size() == 3 && t[0].Default; }},
        {"a<b>", "a", [](const TqlrHTMLTags& t) { return t[0].Position == 1; }},
        {"<b>ab", "ab", [](const TqlrHTMLTags& t) { return t[0].Position == 4 && t[1].Position == 5; }},
    };
    for (const Case& c : cases) {
        TqlrHTMLTagsList list;
        list.SetDefaults(gui::clBlack, 10, {});
        list.BeginLine();
        std::u16string s = rtl::UTF8ToUTF16(c.source);
        list.ExpandHTMLTags(s);
        EXPECT_EQ(rtl::UTF16ToUTF8(s), c.text) << c.source;
        ASSERT_EQ(list.Count(), 1) << c.source;
        EXPECT_TRUE(c.check(list.Items[0])) << c.source;
    }
    // A quoted colour that is no hexadecimal number is an error.
    TqlrHTMLTagsList list;
    list.SetDefaults(gui::clBlack, 10, {});
    std::u16string bad = u"<font color=\"#XYZ123\">a";
    EXPECT_THROW(list.ExpandHTMLTags(bad), rtl::EConvertError);
}

TEST(ReportTextLayout, OpenBoldCarriesOverAndOutOfBoundsTextReopensTags)
{
    Layout l;
    l.Wrap({"<b>x", "y"}, 32);
    EXPECT_TRUE(l.dt.Tags().Items[1][0].Style.Contains(gui::TFontStyle::fsBold));

    // One line of 13.28 units fits a rectangle 13 units high.
    l.Wrap({"<b>aaaa bbbb cccc"}, 32, 13);
    ASSERT_EQ(l.dt.Lines().size(), 3u);
    bool paraBreak = false;
    std::u16string rest = l.dt.GetOutBoundsText(paraBreak);
    EXPECT_TRUE(paraBreak);
    EXPECT_EQ(rtl::UTF16ToUTF8(rest), "<font color=\"#000000\"><b>bbbb cccc\r\n");
    // The cut falls at the blank, which the following part drops.
    EXPECT_EQ(rtl::UTF16ToUTF8(l.dt.GetInBoundsText()), "<b>aaaa");
    EXPECT_EQ(l.dt.Lines().size(), 1u);

    // Everything fits: nothing out of bounds, the text stays whole.
    l.Wrap({"aaaa"}, 32, 100);
    EXPECT_EQ(l.dt.GetOutBoundsText(paraBreak), u"");
    EXPECT_FALSE(paraBreak);
    EXPECT_EQ(l.dt.GetInBoundsText(), u"aaaa\r\n");
}

TEST(ReportTextLayout, RotationWrapsToTheHeight)
{
    Layout l;
    EXPECT_EQ(l.Wrap({"aaaa bbbb"}, 200, 32).size(), 1u);
    l.rotation = 90;
    EXPECT_EQ(l.Wrap({"aaaa bbbb"}, 200, 32).size(), 2u);
    l.rotation = 45;
    EXPECT_EQ(l.Wrap({"aaaa bbbb"}, 200, 32).size(), 1u);
}

TEST(ReportTextLayout, MeasuresAndFitting)
{
    Layout l;
    l.Wrap({"aa", "bb", "cc"}, 32);
    EXPECT_NEAR(static_cast<double>(l.dt.TextHeight()), 83 / 6.25, 1e-12);
    EXPECT_NEAR(static_cast<double>(l.dt.CalcHeight()), 3 * 13.28, 1e-9);
    l.lineSpacing = -2;
    l.Wrap({"aa", "bb", "cc"}, 32);
    EXPECT_NEAR(static_cast<double>(l.dt.CalcHeight()), 3 * 11.28 + 2, 1e-9);
    l.lineSpacing = 0;
    l.Wrap({"aaaa", "a"}, 200);
    EXPECT_NEAR(static_cast<double>(l.dt.CalcWidth()), 199 / 6.25, 1e-9);
    // Two lines of 13.28 fit 27 units (27 + 1 = 28 >= 26.56), leaving 1.44.
    l.Wrap({"a", "b", "c"}, 32, 27);
    EXPECT_NEAR(static_cast<double>(l.dt.UnusedSpace()), 28 - 2 * 13.28, 1e-9);
}

TEST(ReportTextLayout, LongLinesHaveNoFixedCapacity)
{
    Layout l;
    std::string line(100000, 'a');
    line[50000] = ' ';
    auto t0 = std::chrono::steady_clock::now();
    Lines lines = l.Wrap({line}, 32);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    // 50,000 characters, a blank, 49,999 characters; four to a line.
    ASSERT_EQ(lines.size(), 12500u + 12500u);
    EXPECT_EQ(lines[12499], "aaaa");
    EXPECT_EQ(lines.back(), "aaa");
    EXPECT_NEAR(static_cast<double>(l.dt.CalcHeight()), 25000 * 13.28, 1e-6);
    RecordProperty("layout_100000_ms", std::to_string(ms));
}

TEST(ReportTextLayout, SpreadIncrementsHalvesRecursively)
{
    std::vector<int> a(8, 0);
    SpreadIncrements(a, 0, 7, 1, 3);
    EXPECT_EQ(a, (std::vector<int>{0, 1, 0, 0, 1, 0, 1, 0}));
    std::vector<int> b(4, 0);
    SpreadIncrements(b, 0, 3, -1, 1);
    EXPECT_EQ(b, (std::vector<int>{0, -1, 0, 0}));
}
