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

// Wildcard patterns as a simple condition matches them: "*" any run of
// characters, "?" one character, "\" makes the next character plain, "!"
// negates what the rest of its pattern level decides, and a double quote
// is skipped.  What follows a "*" is matched as a whole condition against
// each remaining part of the text, so a comparison there compares that part.
TEST(FilterCondition, WildcardPatternsKeepTheirMatches)
{
    EnglishFormatSettings english;
    const struct {
        const char* pattern;
        const char* text;
        bool match;
    } cases[] = {
        {"", "", true}, {"", "a", false}, {"*", "", true}, {"**", "ab", true}, {"?", "", false},
        {"??", "a", false}, {"??", "ab", true}, {"?*", "", false}, {"*?", "a", true}, {"a*b", "ab", true},
        {"a*b", "axxb", true}, {"a*b", "axxbx", false}, {"a*b*c", "abbcc", true}, {"a*b*c", "acb", false},
        {"*a*a*", "aa", true}, {"*a*a*", "a", false}, {"*ab", "aab", true}, {"*ab", "aba", false},
        {"a**b", "ab", true}, {"*?*?*", "a", false}, {"*?*?*", "ab", true},
        // escapes
        {"\\?", "?", true}, {"\\?", "a", false}, {"\\\\", "\\", true}, {"a\\*", "a*", true},
        {"a\\*", "ab", false}, {"*\\*", "x*", true}, {"*\\*", "x", false}, {"\\", "\\", true},
        {"\\", "", false}, {"*\\", "a\\", true}, {"\\\xC3\xA9", "\xC3\xA9", true},
        // multi-byte characters
        {"?", "\xC3\xA9", true}, {"??", "\xC3\xA9", false}, {"*\xC3\xA9", "a\xC3\xA9", true},
        {"\xC3\xA9?", "\xC3\xA9x", true}, {"*?", "\xC3\xA9", true}, {"?*?", "\xC3\xA9", false},
        // negation anywhere in a level, and nested after a "*"
        {"!", "", false}, {"!", "x", true}, {"a!", "a", false}, {"a!", "ab", true}, {"b!", "a", false},
        {"!*", "x", false}, {"*!b", "ab", true}, {"*!b", "b", true}, {"a*!b", "xb", false},
        {"a*!b", "ab", true}, {"a!*", "ab", false}, {"a!*", "b", false}, {"!a*!b", "ab", false},
        {"!?!", "a", false}, {"*!*", "a", false},
        // double quotes are skipped
        {"\"", "", true}, {"\"a\"*", "ab", true}, {"*\"", "x", true}, {"a\"?", "ab", true},
        // comparisons following a "*" compare the rest of the text
        {"b*>m", "bz", true}, {"b*>m", "ba", false}, {"a*<5", "a3", true}, {"a*<5", "a7", true} /* the empty rest is below "5" as text */,
        {"x*!>5", "x7", true}, {"x*!>5", "x3", true}, {"*>=b", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchSimpleCondition(c.pattern, c.text), c.match)
            << "pattern '" << c.pattern << "' text '" << c.text << "'";
    // Case is folded before matching when the filter ignores it.
    ExpectTable({{"A*?\xC3\xA9", "abc\xC3\x89", true}, {"*B\\C", "abc", true}}, false);
    ExpectTable({{"A*?\xC3\xA9", "abc\xC3\x89", false}, {"*B\\C", "aBC", true}}, true);
}

// Patterns with many "*" that never match used to take time exponential in
// their number; these finish (the test's timeout guards against a hang).
TEST(FilterCondition, ManyStarsFinish)
{
    std::string stars, starsNoMatch, nested;
    for (int i = 0; i < 30; ++i) {
        stars += "*a";
        nested += "*a!";
    }
    starsNoMatch = stars + "b";
    const std::string text(2000, 'a');
    EXPECT_FALSE(MatchSimpleCondition(starsNoMatch, text));
    EXPECT_TRUE(MatchSimpleCondition(stars, text));
    EXPECT_FALSE(MatchSimpleCondition(stars, std::string(29, 'a')));
    EXPECT_FALSE(MatchSimpleCondition(stars + "?", text.substr(0, 30)));
    EXPECT_TRUE(MatchSimpleCondition(nested, text));
    EXPECT_FALSE(MatchFilterCondition(starsNoMatch + "|" + starsNoMatch, text, false));
    EXPECT_FALSE(MatchSimpleCondition(starsNoMatch + ">b", std::string(300, 'a')));
}
