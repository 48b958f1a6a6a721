// The report utilities: checksum, hex blocks, number texts, bracketed
// expressions, page ranges, overlap tests and temporary files.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "report/qlrGraphicUtils.h"
#include "report/qlrUtils.h"

using namespace qlr;

namespace {

std::vector<std::string> Items(const rtl::TStringList& list)
{
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

} // namespace

TEST(ReportUtils, StreamCRC32MatchesPublishedCheckValues)
{
    // "abc" and the standard check input "123456789" (CBF43926).
    rtl::TStringStream abc("abc");
    abc.SetPosition(2);
    EXPECT_EQ(StreamCRC32(abc), 0x352441C2u);
    EXPECT_EQ(abc.Position(), 2);
    rtl::TStringStream check("123456789");
    EXPECT_EQ(StreamCRC32(check), 0xCBF43926u);
    rtl::TStringStream empty;
    EXPECT_EQ(StreamCRC32(empty), 0u);
}

TEST(ReportUtils, HexTextRoundTripAndBadPairs)
{
    rtl::TMemoryStream ms;
    ms.WriteString(std::string("\x00\x7F\xAB\xFF", 4));
    EXPECT_EQ(StreamToHexText(ms), "007FABFF");

    const std::pair<std::string, std::string> cases[] = {
        {"007fabFF", std::string("\x00\x7F\xAB\xFF", 4)},
        {"41G24344", std::string("A\0\0\0", 4)},     // decoding stops; the rest is zero
        {"414", "A"},                                  // odd digit ignored
        {"", ""},
    };
    for (const auto& [text, bytes] : cases) {
        rtl::TMemoryStream out;
        out.WriteString(std::string(4, '\x55'));  // stale bytes never show through
        out.SetSize(0);
        HexTextToStream(text, out);
        EXPECT_EQ(std::string(out.View()), bytes) << text;
    }
}

TEST(ReportUtils, NumberTexts)
{
    EXPECT_EQ(FloatToDisplayText(3.0L), "3");
    EXPECT_EQ(FloatToDisplayText(2.5L), "2.50");
    EXPECT_EQ(FloatToDisplayText(-1.006L), "-1.01");
    EXPECT_EQ(FloatToFixedText(3, ',', 1.5L), "1,500");
    EXPECT_EQ(StrToFloatLenient(" 1 234,5 "), 1234.5L);
    EXPECT_EQ(StrToFloatLenient("2.25"), 2.25L);
    EXPECT_THROW(StrToFloatLenient("1,2,3"), rtl::EConvertError);
    EXPECT_EQ(ReplaceChar("a/b/c", '/', '|'), "a|b|c");
}

TEST(ReportUtils, SplitToStrings)
{
    rtl::TStringList list;
    list.Add("stale");
    SplitToStrings("a;;b;", list, ';');
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "", "b"}));
    SplitToStrings(";x", list, ';');
    EXPECT_EQ(Items(list), (std::vector<std::string>{"", "x"}));
    SplitToStrings("", list, ';');
    EXPECT_EQ(list.Count(), 0);
}

TEST(ReportUtils, ExtractBracketedExpression)
{
    struct Case {
        std::string text, open, close;
        int start;
        std::string result;
        int newStart, stop;
    };
    const Case cases[] = {
        {"a[b[c]d]e", "[", "]", 2, "b[c]d", 2, 8},
        {"[x] and [y]", "[", "]", 9, "y", 9, 11},
        {"[a ']' b]", "[", "]", 1, "a ']' b", 1, 9},        // ] quoted: not counted
        {"[s \"]\"]!", "[", "]", 1, "s \"]\"", 1, 7},
        {"<<v>>", "<<", ">>", 1, "v", 1, 5},                 // stop on the last ">"
        {"abc", "[", "]", 1, "", 1, 1},                      // no open delimiter here
        {"x[unclosed", "[", "]", 2, "unclose", 2, 10},       // runs to the end
        {"", "[", "]", 1, "", 1, 1},
        {"ab", "[", "]", 5, "", 5, 5},
    };
    for (const Case& c : cases) {
        int start = c.start, stop = -1;
        EXPECT_EQ(ExtractBracketedExpression(c.text, c.open, c.close, start, stop), c.result) << c.text;
        EXPECT_EQ(start, c.newStart) << c.text;
        EXPECT_EQ(stop, c.stop) << c.text;
    }
}

TEST(ReportUtils, ParsePageRanges)
{
    struct Case {
        std::string text;
        int pages;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"1,3,5-7", 2, {"1", "3", "5", "6", "7"}},
        {"1, 3 ,5 - 7", 100, {"1", "3", "5", "6", "7"}},
        {"8-", 10, {"8", "9", "10"}},
        {"7-5", 10, {}},
        {"2,2,1-2", 10, {"2", "2", "1", "2"}},
        {"", 10, {}},
        {"   ", 10, {}},
    };
    rtl::TStringList list;
    for (const Case& c : cases) {
        ParsePageRanges(c.text, list, c.pages);
        EXPECT_EQ(Items(list), c.expected) << c.text;
    }
    for (const char* bad : {"1,a", "1,,2", "-3", "1-2-x"})
        EXPECT_THROW(ParsePageRanges(bad, list, 10), rtl::EConvertError) << bad;
}

TEST(ReportUtils, RectAreaOverlap)
{
    TqlrRectArea a(0, 0, 100, 20);
    struct Case {
        TqlrRectArea b;
        bool x, y;
    };
    const Case cases[] = {
        {{100, 0, 150, 20}, false, true},    // touches a's right edge
        {{-50, 20, 0, 40}, false, false},    // touches the bottom-left corner
        {{99.9L, 19.9L, 150, 40}, true, true},
        {{100.00005L, 0, 150, 20}, false, true},
        {{99.99995L, 0, 150, 20}, false, true},  // within the slack
        {{10, 5, 20, 10}, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(a.InterceptsX(c.b), c.x) << c.b.X;
        EXPECT_EQ(a.InterceptsY(c.b), c.y) << c.b.Y;
    }
    auto ix = a.InterceptX(TqlrRectArea(50, 7, 180, 9));
    ASSERT_TRUE(ix);
    EXPECT_EQ(ix->X, 50);
    EXPECT_EQ(ix->X1, 100);
    EXPECT_EQ(ix->Y, 0);
    EXPECT_EQ(ix->Y1, 0);
    auto iy = a.InterceptY(TqlrRectArea(500, 10, 600, 30));
    ASSERT_TRUE(iy);
    EXPECT_EQ(iy->Y, 10);
    EXPECT_EQ(iy->Y1, 20);
    EXPECT_FALSE(a.InterceptX(TqlrRectArea(100, 0, 120, 5)));
    EXPECT_FALSE(a.InterceptY(TqlrRectArea(0, 20, 1, 25)));
}

TEST(ReportUtils, TemporaryFilesAreCreatedEmptyWithThePrefix)
{
    std::string a = MakeTempFileName();
    std::string b = MakeTempFileName();
    EXPECT_NE(a, b);
    for (const std::string& f : {a, b}) {
        EXPECT_EQ(rtl::ExtractFilePath(f), GetTempFolder());
        EXPECT_TRUE(rtl::ExtractFileName(f).starts_with("ql"));
        EXPECT_EQ(rtl::FileSize(f), 0);
        rtl::DeleteFile(f);
    }
    std::string dir = GetTempFolder();
    std::string c = CreateTempFileIn(rtl::ExcludeTrailingPathDelimiter(dir));
    EXPECT_EQ(rtl::ExtractFilePath(c), dir);
    rtl::DeleteFile(c);
    EXPECT_THROW(CreateTempFileIn("/nonexistent-folder-for-report-tests"), rtl::EFCreateError);
    EXPECT_EQ(ModuleFolder(), rtl::ExecutableDir());
    EXPECT_TRUE(ModuleFileName().starts_with(ModuleFolder()));
}
