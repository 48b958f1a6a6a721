// Cell text routines: quoting, line-break encodings (the native file form
// and its round trip), prefixed wide text, classification, anchors, the OEM
// conversion and the small routines.
#include <gtest/gtest.h>

#include "gridbase/ExUtil.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Strings.h"

using namespace gridbase;
using namespace std::string_literals;

TEST(QuoteRoutines, UnescapeQuoteChar)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a''b", "a'b"}, {"a'b", "ab"}, {"abc", "abc"}, {"", ""}, {"''''", "''"}, {"'x'", "x"}};
    for (auto [in, out] : cases) EXPECT_EQ(UnescapeQuoteChar('\'', in), out) << in;
    EXPECT_EQ(DoubleQuoteMarks("say \"hi\""), "say \"\"hi\"\"");
}

TEST(QuoteRoutines, FindClosingQuote)
{
    const std::pair<const char*, int> cases[] = {
        {"abc'", 4}, {"a''b'c", 5}, {"a''b", 0}, {"ab''", 4}, {"'x", 1}, {"", 0}, {"abc", 0}, {"'", 1}};
    for (auto [text, expected] : cases) {
        int pos = -1;
        EXPECT_EQ(FindClosingQuote('\'', text, pos), expected) << text;
        EXPECT_EQ(pos, expected) << text;
    }
    // Each field end found cuts the text there: "a'", "b'" and "c'".
    EXPECT_EQ(CountClosingQuotes('\'', "a'b'c'"), 3);
    EXPECT_EQ(CountClosingQuotes('\'', "abc"), 0);
}

TEST(LineBreaks, TildeVTAndEscapedForms)
{
    std::string t = "a~b";
    TildeToCRLF(t);
    EXPECT_EQ(t, "a\r\nb");
    t = "^";
    TildeToCRLF(t);
    EXPECT_EQ(t, "");
    t = "a\r\nb\rc";
    CRToTilde(t);
    EXPECT_EQ(t, "a~b~c");
    t = "a\r\nb \"q\"";
    QuoteWithVTBreaks(t);
    EXPECT_EQ(t, "\"a\vb \"q\"\"");
    t = "x\vy";
    VTToCRLF(t);
    EXPECT_EQ(t, "x\r\ny");
    t = "a\r\nb\r";
    CRLFToLF(t);
    EXPECT_EQ(t, "a\nb\r");
    EXPECT_EQ(EscapedNewlinesToCR("a\\nb"), "a\rb");
    EXPECT_EQ(CRToEscapedNewlines("a\r\nb"), "a\\nb");
    EXPECT_EQ(RemoveCRChars("a\r\nb\r"), "a\nb");
    EXPECT_EQ(StripCRChars("\r\r"), "");
    EXPECT_EQ(CRToHtmlBreak("a\r\nb"), "a<br>\nb");
    EXPECT_EQ(CRToHtmlBreak("a\nb"), "a\nb");
    EXPECT_EQ(CountTextLines("a\rb\rc", true), 3);
    EXPECT_EQ(CountTextLines("a\rb\rc", false), 1);
}

TEST(LineBreaks, EncodingOfTextsWithoutControlCharactersIsUnchangedFromTheFileFormat)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"a\r\nb", "a\t\bb"},
        {"a\r\n\0b"s, "a\t\b\x01" "b"},
        {"a\nb", "a\nb"},        // LF only: unchanged
        {"a\0b"s, "a\0b"s},      // no CR: unchanged
        {"a\x01" "b", "a\x01" "b"},
        {"a\rb", "a\tb"},        // a lone CR
    };
    for (const auto& [text, encoded] : cases) EXPECT_EQ(EncodeCellLineBreaks(text), encoded) << text;
    // Lines written by earlier versions read back as before.
    EXPECT_EQ(DecodeCellLineBreaks("a\t\bb\t\bc", true), "a\r\nb\r\nc");
    EXPECT_EQ(DecodeCellLineBreaks("a\t\bb\t\bc", false), "a");
}

// The mend: every text comes back, tabs, lone CRs and the encoding's own
// control characters included.
TEST(LineBreaks, DecodeOfEncodeGivesEveryTextBack)
{
    const std::string cases[] = {
        "", "plain", "a\tb", "\t", "a\rb", "\r", "a\r\nb", "a\nb", "\n\r", "a\x01" "b", "a\bb",
        "\b", "\x01\r\n", "tab\tand\r\nbreak", "\b\t\x01\r\n\0"s, "a\0b"s, "\0\r"s, "x\by\bz",
        "\bq", "\bn\br", "caf\xC3\xA9\r\n\xE4\xB8\xAD\t", "ends with \b", "\t\t\r\r\n\n"};
    for (const std::string& text : cases) {
        const std::string encoded = EncodeCellLineBreaks(text);
        EXPECT_EQ(DecodeCellLineBreaks(encoded, true), text) << testing::PrintToString(text);
        // A line of the native text stream ends at the first CR: none inside the cell.
        EXPECT_EQ(encoded.find('\r'), std::string::npos) << testing::PrintToString(text);
    }
    // Single-line reading keeps the first line of the decoded text.
    EXPECT_EQ(DecodeCellLineBreaks(EncodeCellLineBreaks("a\tb\r\nc"), false), "a\tb");
    // An U+0008 not followed by an escape letter stands for itself.
    EXPECT_EQ(DecodeCellLineBreaks("a\bxb", true), "a\bxb");
}

TEST(LineBreaks, CutFirstLineAndLeadingField)
{
    std::string t = "a\r\nb";
    EXPECT_EQ(CutFirstLine(t, true), "a");
    EXPECT_EQ(t, "b");
    t = "a\r\nb";
    EXPECT_EQ(CutFirstLine(t, false), "a");
    EXPECT_EQ(t, "");
    t = "a\rb\r\nc";
    EXPECT_EQ(CutFirstLine(t, true), "a");
    EXPECT_EQ(t, "b\r\nc");
    t = "single";
    EXPECT_EQ(CutFirstLine(t, true), "single");
    EXPECT_EQ(t, "");

    t = "12;rest;x";
    EXPECT_EQ(CutLeadingField(t, ";"), "12");
    EXPECT_EQ(t, "rest;x");
    t = "none";
    EXPECT_EQ(CutLeadingField(t, ";"), "");
    EXPECT_EQ(t, "none");
    t = "a, b";
    EXPECT_EQ(CutLeadingField(t, ", "), "a");
    EXPECT_EQ(t, " b");  // only the delimiter's first character goes

    rtl::TStringList lines{"a", "b", "c"};
    EXPECT_EQ(ConcatLines(lines), "abc");
    t = "a\xC3\xA9z";
    FillWithChar(t, U'*');
    EXPECT_EQ(t, "***");
}

TEST(PrefixedWideText, RoundTripAndMarker)
{
    EXPECT_EQ(EncodePrefixedWideText("A"), "|\\\0A"s);
    EXPECT_EQ(EncodePrefixedWideText(""), "|\\");
    // U+4E2D is written as the two characters U+004E U+002D.
    EXPECT_EQ(EncodePrefixedWideText("\xE4\xB8\xAD"), "|\\N-");
    // U+00E9 is U+0000 then U+00E9.
    EXPECT_EQ(EncodePrefixedWideText("\xC3\xA9"), "|\\\0\xC3\xA9"s);
    const std::string texts[] = {"", "A", "caf\xC3\xA9", "\xE4\xB8\xAD\xE6\x96\x87", "emoji \xF0\x9F\x98\x80",
                                 "|\\x", "a\0b"s, "\xC4\x80\xC3\xBF"};
    for (const std::string& t : texts) EXPECT_EQ(DecodePrefixedWideText(EncodePrefixedWideText(t)), t) << t;
    // The marker counts only at position 1; an odd last character is ignored.
    EXPECT_EQ(DecodePrefixedWideText("x|\\\0A"s), "x|\\\0A"s);
    EXPECT_EQ(DecodePrefixedWideText("|\\\0AB"s), "A");
}

TEST(Classification, ClassifyCellText)
{
    struct Case {
        std::string text;
        bool html;
        int kind;
    };
    const Case cases[] = {
        {"", true, 0},
        {"=A1", false, 3},
        {"{\\rtf1", false, 2},
        {"<b>x</b>", true, 1},
        {"<b>x</b>", false, 0},
        {"<B>bold", true, 1},
        {"<i>", true, 0},  // lower-case tags only count with "</"
        {EncodePrefixedWideText("=1"), false, 3},
        {EncodePrefixedWideText("="), false, 3},
        {EncodePrefixedWideText("x"), false, 5},
        {EncodePrefixedWideText(""), false, 5},
        {"plain", true, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyCellText(c.text, c.html), c.kind) << c.text;
}

TEST(Anchors, UrlsReferencesAndDateShapes)
{
    EXPECT_TRUE(IsUrlOrMail("see http://x"));
    EXPECT_TRUE(IsUrlOrMail("mailto:a@b"));
    EXPECT_FALSE(IsUrlOrMail("MAILTO:a@b"));
    const std::pair<const char*, const char*> strips[] = {
        {"mailto:a", "a"}, {"file://x/y", "x/y"}, {"plain", "plain"}, {"a mailto:b://c", "c"}};
    for (auto [in, out] : strips) {
        std::string t = in;
        StripUrlScheme(t);
        EXPECT_EQ(t, out) << in;
    }

    struct Ref {
        const char* text;
        bool ok;
        int x, y;
    };
    const Ref refs[] = {{"r2c3", true, 3, 2},   {"R10C-1", true, -1, 10}, {"R1C", false, 0, 0},
                        {"RXC1", false, 0, 0},  {"C2R3", false, 0, 0},    {"R12", false, 0, 0},
                        {"R1C2x", false, 0, 0}};
    for (const Ref& r : refs) {
        gui::TPoint p(99, 99);
        EXPECT_EQ(ParseRowColRef(r.text, p), r.ok) << r.text;
        const gui::TPoint expected = r.ok ? gui::TPoint(r.x, r.y) : gui::TPoint(99, 99);
        EXPECT_EQ(p, expected) << r.text;
    }
}

TEST(SmallRoutines, SearchClampAndColours)
{
    EXPECT_EQ(ClampToLimits(5, 10, 10), 5);
    EXPECT_EQ(ClampToLimits(50, 0, 20), 20);
    EXPECT_EQ(ClampToLimits(1, 5, 0), 5);
    EXPECT_EQ(ClampToLimits(-7, -5, 0), -7);  // limits of 0 or below are not applied
    EXPECT_EQ(ClampToLimits(7, 5, 20), 7);

    EXPECT_EQ(FindCharIndex(U'b', "abc"), 2);
    EXPECT_EQ(FindCharIndex(U'x', ""), 0);
    int pos = 42;
    EXPECT_EQ(FindCharIndexOut(U'x', "abc", pos), 0);
    EXPECT_EQ(pos, 42);
    EXPECT_EQ(FindCharIndexOut(U'c', "abc", pos), 3);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(FindSubstrOut("zz", "abc", pos), 0);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(PosInUpperCase("BC", "abc"), 2);
    EXPECT_EQ(PosInUpperCase("bc", "abc"), 0);
    EXPECT_EQ(PosInWideText("abcd", "abc"), 0);
    EXPECT_EQ(PosInWideText("", "abc"), 0);
    EXPECT_EQ(CountCharOccurrences(U'\u00E9', "\xC3\xA9t\xC3\xA9"), 2);
    EXPECT_TRUE(CellInGridRect(gui::TGridRect{1, 2, 3, 4}, 3, 2));
    EXPECT_FALSE(CellInGridRect(gui::TGridRect{1, 2, 3, 4}, 4, 2));
    EXPECT_EQ(LargerOf(-3, 2), 2);
    EXPECT_EQ(SmallerOf(-3, 2), -3);

    EXPECT_EQ(ColorToHtmlHex(0x00336699), "996633");
    EXPECT_EQ(HalveColor(0x00FF8040), 0x007F4020u);
}

TEST(OemConversion, GermanUmlautsToCodePage437AndBack)
{
    ASSERT_EQ(rtl::OemCodePage(), 437u);
    std::string t = "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F";  // ÄÖÜß
    ConvertToOem(t);
    // Written out in the ANSI page, the text gives the OEM bytes 8E 99 9A E1.
    EXPECT_EQ(rtl::UTF8ToCodePage(t, rtl::SystemCodePage()), "\x8E\x99\x9A\xE1");
    ConvertFromOem(t);
    EXPECT_EQ(t, "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F");
    // A character the OEM page lacks follows the replacement rule.
    t = "\xE2\x82\xAC";
    ConvertToOem(t);
    EXPECT_EQ(t, "?");
}
