// Text routines, character tables and Base64 of the utility layer.
#include <gtest/gtest.h>

#include "dbgrids/ucl/UclAnsiStrings.h"
#include "dbgrids/ucl/UclMime.h"
#include "dbgrids/ucl/UclStrings.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/CharTypes.h"

using namespace ucl;
using F = TTextReplaceFlag;

TEST(UclStrings, TextReplaceTable)
{
    struct Case {
        std::u16string s, search, repl;
        TTextReplaceFlags flags;
        std::u16string want;
    } cases[] = {
        {u"C:\\%Form_Name%\\%FORM_NAME%.ini", u"%FORM_NAME%", u"Main", {F::trfIgnoreCase}, u"C:\\Main\\%FORM_NAME%.ini"},
        {u"C:\\%form_name%", u"%FORM_NAME%", u"Main", {}, u"C:\\%form_name%"},
        {u"abxab", u"ab", u"", {F::trfReplaceAll}, u"x"},
        {u"abxab", u"ab", u"", {}, u"xab"},
        {u"aXa", u"x", u"long", {F::trfReplaceAll, F::trfIgnoreCase}, u"alonga"},
        {u"", u"", u"new", {}, u"new"},
        {u"", u"x", u"new", {}, u""},
        {u"a", u"abc", u"z", {F::trfReplaceAll}, u"a"},
    };
    for (auto& c : cases) {
        std::u16string s = c.s;
        TextReplace(s, c.search, c.repl, c.flags);
        EXPECT_EQ(s, c.want) << rtl::UTF16ToUTF8(c.s);
    }
    std::u16string s = u"text";
    EXPECT_THROW(TextReplace(s, u"", u"x", {}), EUclStringError);
    try {
        TextReplace(s, u"", u"x", {});
    } catch (const EUclStringError& e) {
        EXPECT_EQ(e.Message(), "Search string cannot be blank");
    }
}

TEST(UclStrings, SplitTextKeepsInnerEmptiesButNotTheLastRest)
{
    std::vector<std::u16string> list{u"old"};
    SplitText(u"a,,b,", u",", list, true);
    EXPECT_EQ(list, (std::vector<std::u16string>{u"a", u"", u"b"}));
    SplitText(u"a,,b,", u",", list, false);
    EXPECT_EQ(list, (std::vector<std::u16string>{u"a", u"b"}));
    SplitText(u"", u",", list, true);
    EXPECT_TRUE(list.empty());
}

TEST(UclStrings, SearchAndCutRoutines)
{
    EXPECT_EQ(TextEnsureSuffix(u"\\", u"C:\\dir\\"), u"C:\\dir\\");
    EXPECT_EQ(TextEnsureSuffix(u"\\", u"C:\\dir"), u"C:\\dir\\");
    EXPECT_EQ(TextPosNoCase(u"B", u"aab"), 3);
    EXPECT_EQ(TextSearchNoCase(u"a", u"abca", 2), 4);
    EXPECT_EQ(TextSearchNoCase(u"", u"abca", 1), 0);
    EXPECT_EQ(TextFindFrom(u"a", u"abca", 2), 4);
    EXPECT_EQ(TextFindFrom(u"a", u"ab", 3), 0);
    EXPECT_EQ(TextBeforeNoCase(u"X", u"abxcd"), u"ab");
    EXPECT_EQ(TextBeforeNoCase(u"z", u"abxcd"), u"abxcd");
    EXPECT_EQ(FirstCharPos(u"a.b.c", u'.', 1), 2);
    EXPECT_EQ(LastCharPos(u"a.b.c", u'.', 1), 4);
    EXPECT_EQ(FirstCharPos(u"a.b.c", u'.', 0), 0);
    EXPECT_EQ(LastCharPos(u"a.b.c", u'.', 6), 0);
    std::u16string n = std::u16string(u"ab") + u'\0' + u"cd";
    TextCutAtNull(n);
    EXPECT_EQ(n, u"ab");
    EXPECT_EQ(TextMid(u"abcdef", 2, 3), u"bcd");
    EXPECT_EQ(TextRestFrom(u"abcdef", 5), u"ef");
}

TEST(UclStrings, CharacterTablesFollowUnicode)
{
    EXPECT_TRUE(IsHexDigitChar(u'f'));
    EXPECT_TRUE(IsHexDigitChar(u'F'));
    EXPECT_TRUE(IsHexDigitChar(u'7'));
    EXPECT_FALSE(IsHexDigitChar(u'g'));
    EXPECT_TRUE(IsUpperChar(u'\u00C4'));   // Ä
    EXPECT_TRUE(IsLowerChar(u'\u00E4'));
    EXPECT_EQ(UpperChar(u'\u00E4'), u'\u00C4');
    EXPECT_EQ(UpperChar(u'\u03B1'), u'\u0391');  // Greek alpha
    std::u16string s = u"aB1";
    TextMapCase(s, kCaseMapSwap);
    EXPECT_EQ(s, u"Ab1");
    EXPECT_TRUE(AnsiCharType(0xC4) & sys::C1_UPPER);  // Ä in Windows-1252
    EXPECT_EQ(AnsiLowerChar(0xC4), 0xE4);
    EXPECT_EQ(AnsiUpperChar('a'), 'A');
}

TEST(UclMime, EncodesWithFillAndLineBreaks)
{
    EXPECT_EQ(MimeEncodeText("abc"), "YWJj");
    EXPECT_EQ(MimeEncodeText("a"), "YQ==");
    EXPECT_EQ(MimeEncodeText("ab"), "YWI=");
    EXPECT_EQ(MimeEncodeText(""), "");
    std::string e57 = MimeEncodeText(std::string(57, 'x'));
    EXPECT_EQ(e57.size(), 76u);
    EXPECT_EQ(e57.find('\r'), std::string::npos);
    std::string e58 = MimeEncodeText(std::string(58, 'x'));
    ASSERT_EQ(e58.size(), 82u);
    EXPECT_EQ(e58.substr(76, 2), "\r\n");
    EXPECT_EQ(MimeEncodedLength(58), 82);
    EXPECT_EQ(MimeEncodedLength(0), 0);
}

TEST(UclMime, DecodesSkippingBlanksAndMissingFill)
{
    EXPECT_EQ(MimeDecodeText("YQ"), "a");
    EXPECT_EQ(MimeDecodeText("YW\r\nJ j"), "abc");
    EXPECT_EQ(MimeDecodeText("YWI="), "ab");
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    EXPECT_EQ(MimeDecodeText(MimeEncodeText(bytes)), bytes);
}
