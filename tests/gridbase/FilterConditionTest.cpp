// Filter conditions: comparisons of numbers, dates and texts, wildcards,
// operators and groups, quoting and case, and the mended negated comparison
// and unclosed group.
#include <gtest/gtest.h>

#include "TestFormatSettings.h"
#include "gridbase/ExUtil.h"

using namespace gridbase;

namespace {

struct FilterCase {
    const char* condition;
    const char* value;
    bool match;
};

void ExpectTable(std::initializer_list<FilterCase> cases, bool caseSensitive = true)
{
    for (const FilterCase& c : cases)
        EXPECT_EQ(MatchFilterCondition(c.condition, c.value, caseSensitive), c.match)
            << "condition '" << c.condition << "' value '" << c.value << "'";
}

} // namespace

TEST(FilterCondition, EmptyConditionsAndWildcards)
{
    EnglishFormatSettings english;
    ExpectTable({
        {"", "", true},       {"", "x", false},       {"*", "", true},       {"*", "anything", true},
        {"=abc", "abc", true}, {"=abc", "abcd", false}, {"a*", "abc", true},  {"a*", "bac", false},
        {"a?c", "abc", true}, {"a?c", "ac", false},   {"\\*", "*", true},   {"\\*", "x", false},
        {"!a*", "abc", false}, {"!a*", "bcd", true},   {"!a*", "", true},     {"*c", "abc", true},
        {"*b*", "abc", true}, {"*x*", "abc", false},  {"a", "ab", false},    {"ab", "a", false},
        {"\"a\"b", "ab", true}, {"?", "\xC3\xA9", true},  // one character, two bytes
        {"x\\", "x\\", true}, // a lone trailing backslash stands for itself
    });
}

TEST(FilterCondition, ComparisonsOfNumbersDatesAndTexts)
{
    EnglishFormatSettings english;
    ExpectTable({
        {">5", "6", true},      {">5", "5", false},     {">=5", "5", true},    {"<5", "4.5", true},
        {"<=5", "5", true},     {"<5", "5", false},     {">10", "9", false},   {">b", "c", true},
        {">1,000", "1001", true}, {">1,000", "999", false}, {" > 5 ", "7", true},
        {">1/2/2011", "3/4/2011", true},    // dates
        {">1/2/2011", "1/1/2011", false},
        {">1/2/2011", "12/31/2010", false}, // as text "12/..." would be greater
        {">1/2/2011", "abc", true},         // text comparison: "abc" > "1/2/2011"
        {">=\"1/2/2011 10:00\"", "1/2/2011 10:00", true},  // spaces kept inside quotes
        {"<\"1/2/2011 10:00\"", "1/2/2011 9:59", true},
        {"<\"1/2/2011 10:00\"", "1/2/2011 10:01", false},
        {">ab", "abc", true},   {"<abc", "ab", true},  {">a", "B", false},  // ordinal: 'B' < 'a'
    });
}

TEST(FilterCondition, GermanDecimalComma)
{
    GermanFormatSettings german;
    ExpectTable({
        {">1.000", "1001", true},  {">1.000", "999", false}, {"<2,5", "2,4", true}, {"<2,5", "2,6", false},
        {">1.1.2011", "2.1.2011", true}, {">1.1.2011", "31.12.2010", false},
    });
}

TEST(FilterCondition, OperatorsAndGroupsLeftToRight)
{
    EnglishFormatSettings english;
    ExpectTable({
        {"a|b", "a", true},   {"a|b", "b", true},   {"a|b", "c", false},  {"a;b", "b", true},
        {"a^b", "b", true},   {">1&<5", "3", true}, {">1&<5", "7", false}, {"(a|b)&c*", "a", false},
        {"(a|b)&c*", "c", false}, {"a|b&c", "a", false},  // (a or b) and c
        {"c|b&c", "c", true}, {"(a|b)", "b", true}, {"x|(a|b)", "a", true},
        {"((a|b)|c)&b*", "b", true}, {"(a)|(b)", "b", true},
        {">1&<5|a*", "abc", true}, {">1&<5|a*", "9", false},
    });
}

TEST(FilterCondition, QuotedOperandsAndPatterns)
{
    EnglishFormatSettings english;
    ExpectTable({
        {">\"a b\"", "a c", true},   // the operand is the three characters a, space, b
        {">\"a b\"", "a a", false},
        {"\"x&y\"", "x&y", true},   {"\"x&y\"", "x", false},
        {"\"a|b\"", "a|b", true},    {"\"a b\"", "a b", true},  {"a b", "ab", true},  // spaces outside quotes go
    });
    EXPECT_EQ(RemoveUnquotedSpaces("a b \"c d\" e"), "ab\"c d\"e");
}

TEST(FilterCondition, CaseSensitivity)
{
    EXPECT_TRUE(MatchFilterCondition("ABC", "abc", false));
    EXPECT_FALSE(MatchFilterCondition("ABC", "abc", true));
    EXPECT_TRUE(MatchFilterCondition("\xC3\xA9*", "\xC3\x89t\xC3\xA9", false));  // é* against Été
    EXPECT_TRUE(MatchFilterCondition(">b", "C", false));
}

// The mend: a negated comparison is its opposite (it held for every value).
TEST(FilterCondition, NegatedComparison)
{
    EnglishFormatSettings english;
    ExpectTable({
        {"!>5", "4", true},  {"!>5", "5", true},  {"!>5", "6", false}, {"!>=5", "5", false},
        {"!<5", "4", false}, {"!<5", "5", true},  {"!>5&!<2", "3", true}, {"!>5&!<2", "1", false},
        {"!>b", "a", true},  {"!>b", "c", false}, {"!a*", "a", false},  // negated patterns unchanged
    });
}

// The mend: a "(" without its ")" closes at the end of the condition.
TEST(FilterCondition, UnclosedGroupEnds)
{
    ExpectTable({{"(a|b", "a", true}, {"(a|b", "c", false}, {"x|(a|(b", "b", true}, {"((((", "", true},
                 {"(", "x", false}, {")", ")", true}, {"a(b", "a", true}});
}

TEST(FilterCondition, ParseDateTimeText)
{
    EnglishFormatSettings english;
    rtl::FormatSettings().ShortDateFormat = "d/m/yyyy";
    rtl::TDateTime dt = 0;
    ASSERT_TRUE(ParseDateTimeText("3/4/2011 10:30", dt));
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2011, 4, 3) + rtl::EncodeTime(10, 30, 0, 0));
    ASSERT_TRUE(ParseDateTimeText("3/4/2011 10:30:15", dt));
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2011, 4, 3) + rtl::EncodeTime(10, 30, 15, 0));
    ASSERT_TRUE(ParseDateTimeText(" 3/4/11", dt));
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(11, 4, 3));  // the year as written
    for (const char* bad : {"3/4/2011 10", "32/1/2011", "3/13/2011", "30/2/2011", "1/1/0", "3/4", "a/4/2011",
                            "3/4/2011 24:00", "3/4/2011 10:60", "3/4/2011 10:30:60", "3/4/2011 x:30", "",
                            "3-4-2011"})
        EXPECT_FALSE(ParseDateTimeText(bad, dt)) << bad;

    rtl::FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    ASSERT_TRUE(ParseDateTimeText("2011/4/3", dt));
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2011, 4, 3));
    GermanFormatSettings german;
    ASSERT_TRUE(ParseDateTimeText("24.12.2011 18:00", dt));
    EXPECT_DOUBLE_EQ(dt, rtl::EncodeDate(2011, 12, 24) + 0.75);
}
