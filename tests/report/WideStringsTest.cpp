// Wide-string list, charset code pages and the single-byte helpers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/qlrUnicodeUtils.h"

using namespace qlr;

namespace {

std::vector<std::u16string> Items(const TqlrWideStrings& l)
{
    std::vector<std::u16string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
}

using Lines = std::vector<std::u16string>;

} // namespace

TEST(ReportWideStrings, SplittingTable)
{
    const std::pair<std::u16string, Lines> cases[] = {
        {u"a\r\nb\r\n", {u"a", u"b"}},
        {u"a\rb", {u"a", u"b"}},
        {u"a\nb\n", {u"a", u"b"}},
        {u"a\n\rb", {u"a", u"", u"b"}},                    // LF CR ends two lines
        {std::u16string(u"a\nb\0c\nd", 7), {u"a", u"b"}},  // text ends at NUL
        {u"a\u2028b", {u"a", u"b"}},
        {u"a\r\n\u2028b", {u"a", u"b"}},                    // CR, LF, U+2028 skipped in order
        {u"\r\n", {u""}},
        {u"", {}},
    };
    TqlrWideStrings l;
    for (const auto& [text, lines] : cases) {
        l.SetText(text);
        EXPECT_EQ(Items(l), lines);
    }
    l.SetText(u"one\r\ntwo\r\n");
    EXPECT_EQ(l.Text(), u"one\r\ntwo\r\n");
}

TEST(ReportWideStrings, InsertReplacesAndOutOfRangeReads)
{
    TqlrWideStrings l;
    l.AddObject(u"a", 7);
    l.Add(u"b");
    l.Insert(0, u"A");                 // replaces; the object stays
    EXPECT_EQ(Items(l), (Lines{u"A", u"b"}));
    EXPECT_EQ(l.Objects(0), 7);
    l.Insert(2, u"c");                 // Count: appends
    EXPECT_EQ(l.Count(), 3);
    try {
        l.Insert(4, u"x");
        ADD_FAILURE();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Wide String Out of Bounds");
    }
    EXPECT_THROW(l.Insert(-1, u"x"), rtl::Exception);
    EXPECT_EQ(l.Count(), 3);

    EXPECT_EQ(l.Strings(-1), u"");
    EXPECT_EQ(l.Strings(3), u"");
    EXPECT_EQ(l.Objects(-1), 0);
    EXPECT_EQ(l.Objects(3), 0);
    l.SetObjects(3, 9);                // ignored
    EXPECT_EQ(l.Count(), 3);

    EXPECT_THROW(l.Delete(3), rtl::EListError);
    l.Delete(1);
    EXPECT_EQ(Items(l), (Lines{u"A", u"c"}));
    EXPECT_EQ(l.IndexOf(u"c"), 1);
    EXPECT_EQ(l.IndexOf(u"C"), -1);    // case-sensitive
}

TEST(ReportWideStrings, AssignWithSingleByteLists)
{
    rtl::TStringList src;
    src.AddObject("\xD0\xB4\xD0\xB0", reinterpret_cast<rtl::TObject*>(intptr_t(5)));
    src.Add("x");
    TqlrWideStrings w;
    w.Add(u"stale");
    w.Assign(src);
    EXPECT_EQ(Items(w), (Lines{u"\u0434\u0430", u"x"}));
    EXPECT_EQ(w.Objects(0), 5);
    rtl::TStringList back;
    back.Add("stale");
    w.AssignTo(back);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[0], "\xD0\xB4\xD0\xB0");
    EXPECT_EQ(back.Objects(0), reinterpret_cast<rtl::TObject*>(intptr_t(5)));
}

TEST(ReportWideStrings, LoadFromStreamByteOrderMarks)
{
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"UTF-16 LE mark", std::string("\xFF\xFE" "a\0\r\0\n\0\x34\x04", 10), {u"a", u"\u0434"}},
        // Only the little-endian mark is known: the rest is read as
        // single-byte text of the system page (Windows-1252).
        {"UTF-16 BE mark", std::string("\xFE\xFF\0a", 4), {u"\u00FE\u00FF"}},
        {"UTF-8 mark", "\xEF\xBB\xBFok", {u"\u00EF\u00BB\u00BFok"}},
        {"one byte", "\xE9", {u"\u00E9"}},
        {"two bytes (a mark alone is text)", "\xFF\xFE", {u"\u00FF\u00FE"}},
        {"1252 bytes", "a\x80\r\nb", {u"a\u20AC", u"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rtl::TStringStream in(c.bytes);
        TqlrWideStrings l;
        l.LoadFromStream(in);
        EXPECT_EQ(Items(l), c.lines);
    }
}

TEST(ReportWideStrings, SaveWritesUTF16WithoutMark)
{
    TqlrWideStrings l;
    l.SetText(u"\u0434\r\nz");
    rtl::TStringStream out;
    l.SaveToStream(out);
    EXPECT_EQ(out.DataString(), std::string("\x34\x04\r\0\n\0z\0\r\0\n\0", 12));
    out.SetPosition(0);
    TqlrWideStrings w;
    w.LoadFromWStream(out);
    EXPECT_EQ(Items(w), (Lines{u"\u0434", u"z"}));
}

TEST(ReportCodePages, CharsetTableAndConversions)
{
    EXPECT_EQ(CodePageOfCharset(0), 1252u);
    EXPECT_EQ(CodePageOfCharset(1), 1252u);
    EXPECT_EQ(CodePageOfCharset(77), 2u);
    EXPECT_EQ(CodePageOfCharset(255), 1u);
    EXPECT_EQ(CodePageOfCharset(204), 1251u);
    EXPECT_EQ(CodePageOfCharset(238), 1250u);
    EXPECT_EQ(CodePageOfCharset(128), 932u);
    EXPECT_EQ(CodePageOfCharset(222), 874u);
    EXPECT_THROW(CodePageOfCharset(2), rtl::EOSError);    // symbol
    EXPECT_THROW(CodePageOfCharset(130), rtl::EOSError);  // Johab
    EXPECT_THROW(CodePageOfCharset(99), rtl::EOSError);

    // "Привет" in Windows-1251 (published code chart) and back.
    const std::u16string privet = u"\u041F\u0440\u0438\u0432\u0435\u0442";
    const std::string cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
    EXPECT_EQ(WideTextToAnsi(privet, 204, 0), cp1251);
    EXPECT_EQ(AnsiTextToWide(cp1251, 204, 0), privet);
    EXPECT_EQ(AnsiTextToWide(cp1251, 0, 1251), privet);    // explicit page wins
    EXPECT_EQ(WideTextToAnsi(u"\u00C4", 255, 0), "\x8E");   // OEM 437
    EXPECT_EQ(AnsiTextToWide("", 204, 0), u"");
    EXPECT_EQ(LocaleOfCharset(204), 1049u);
    EXPECT_EQ(LocaleOfCharset(178), 13313u);
    EXPECT_EQ(LocaleOfCharset(0), 1024u);
}

TEST(ReportCodePages, SingleByteHelpers)
{
    struct Case {
        std::string s, oldP, newP;
        int flags;
        std::string result;
    };
    const Case cases[] = {
        {"a-b-c", "-", "+", 0, "a+b-c"},
        {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
        {"Tab tab TAB", "TAB", "x", rfIgnoreCase, "x tab TAB"},
        {"Tab tab TAB", "TAB", "x", rfIgnoreCase | rfReplaceAll, "x x x"},
        {"Tab tab TAB", "TAB", "x", rfReplaceAll, "Tab tab x"},
        {"abc", "", "x", rfReplaceAll, "abc"},
        {"aaa", "aa", "b", rfReplaceAll, "ba"},
        {"", "a", "b", rfReplaceAll, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnsiStringReplace(c.s, c.oldP, c.newP, c.flags), c.result) << c.s << " " << c.flags;
    EXPECT_EQ(AnsiLowerCaseASCII("ABC xyz \xC3\x84Z"), "abc xyz \xC3\x84z");
    EXPECT_EQ(AnsiTextPos("lo", "hello"), 4);
    EXPECT_EQ(AnsiTextPos("", "hello"), 0);
    EXPECT_EQ(AnsiTextPos("x", "hello"), 0);
}
