#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

using namespace rtl;

TEST(Strings, OneBasedRoutinesAtTheEdges)
{
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("x", ""), 0);
    EXPECT_EQ(PosEx("a", "aXa", 2), 3);
    EXPECT_EQ(PosEx("a", "aXa", 0), 0);
    EXPECT_EQ(PosEx("a", "aXa", 4), 0);

    struct { int index, count; const char* expected; } copies[] = {
        {1, 2, "ab"}, {0, 2, "ab"}, {-5, 1, "a"}, {3, 10, "c"}, {4, 1, ""}, {2, 0, ""}, {2, -1, ""},
    };
    for (auto& c : copies)
        EXPECT_EQ(Copy("abc", c.index, c.count), c.expected) << c.index << "," << c.count;
    EXPECT_EQ(Copy("", 1, 1), "");

    struct { int index, count; const char* expected; } deletes[] = {
        {1, 1, "bc"}, {3, 5, "ab"}, {0, 1, "abc"}, {4, 1, "abc"}, {2, 0, "abc"},
    };
    for (auto& d : deletes) {
        std::string s = "abc";
        Delete(s, d.index, d.count);
        EXPECT_EQ(s, d.expected) << d.index << "," << d.count;
    }

    struct { int index; const char* expected; } inserts[] = {
        {1, "XYabc"}, {0, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"},
    };
    for (auto& in : inserts) {
        std::string s = "abc";
        Insert("XY", s, in.index);
        EXPECT_EQ(s, in.expected) << in.index;
    }
}

TEST(Strings, TrimCaseAndCompare)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UpperCase("abcä"), "ABCä");  // ASCII only
    EXPECT_EQ(AnsiUpperCase("zürich ωμέγα"), "ZÜRICH ΩΜΈΓΑ");
    EXPECT_EQ(AnsiLowerCase("ÅLESUND"), "ålesund");
    EXPECT_TRUE(SameText("Width", "WIDTH"));
    EXPECT_FALSE(SameText("Width", "Widths"));
    EXPECT_TRUE(AnsiSameText("Ärhus", "äRHUS"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_EQ(StringReplace("a.b.c", ".", "::"), "a::b::c");
    EXPECT_EQ(StringReplace("a.b.c", ".", "", false), "ab.c");
    EXPECT_EQ(StringReplace("Hello hello", "HELLO", "x", true, true), "x x");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(DequotedStr("'it''s'"), "it's");
}

TEST(Strings, Utf8AndUtf16)
{
    // BMP, two-, three- and four-byte sequences survive both ways.
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8C\x92";  // A é € 🌒
    std::u16string w = UTF8ToUTF16(text);
    ASSERT_EQ(w.size(), 5u);  // the moon is a surrogate pair
    EXPECT_EQ(w[3], 0xD83C);
    EXPECT_EQ(w[4], 0xDF12);
    EXPECT_EQ(UTF16ToUTF8(w), text);
    EXPECT_EQ(UTF8Length(text), 4);
    // Malformed input never throws: truncated and stray bytes become U+FFFD.
    EXPECT_EQ(UTF8ToUTF16("\xE2\x82"), std::u16string(u"\uFFFD\uFFFD"));
    EXPECT_EQ(UTF8ToUTF16("\xC0\xAF"), std::u16string(u"\uFFFD\uFFFD"));  // overlong
    EXPECT_EQ(UTF16ToUTF8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    // Encoding one code point: a surrogate is replaced or kept on request,
    // values beyond U+10FFFF are always replaced.
    struct {
        char32_t cp;
        const char* strict;
        const char* kept;
    } points[] = {{0x41, "A", "A"},
                  {0x7FF, "\xDF\xBF", "\xDF\xBF"},
                  {0xD800, "\xEF\xBF\xBD", "\xED\xA0\x80"},
                  {0xDFFF, "\xEF\xBF\xBD", "\xED\xBF\xBF"},
                  {0x10FFFF, "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
                  {0x110000, "\xEF\xBF\xBD", "\xEF\xBF\xBD"}};
    for (const auto& p : points) {
        std::string strict, kept;
        AppendUTF8(strict, p.cp);
        AppendUTF8AllowSurrogates(kept, p.cp);
        EXPECT_EQ(strict, p.strict) << std::hex << static_cast<uint32_t>(p.cp);
        EXPECT_EQ(kept, p.kept) << std::hex << static_cast<uint32_t>(p.cp);
    }
}

TEST(Strings, NumberTextRoundTrips)
{
    struct Case {
        const char* text;
        bool valid;
        long double value;
        const char* general;  // FloatToStr of the value
    } cases[] = {
        {"0.1", true, 0.1L, "0.1"},
        {"-1e-7", true, -1e-7L, "-1E-7"},
        {"1.5E+300", true, 1.5e300L, "1.5E300"},
        {"", false, 0, nullptr},
        {"1,5", false, 0, nullptr},
        {" 12 ", true, 12, "12"},
        {".5", true, 0.5L, "0.5"},
        {"-0.0001", true, -0.0001L, "-0.0001"},
        {"0.00001", true, 0.00001L, "1E-5"},
        {"123456789012345", true, 123456789012345.0L, "123456789012345"},
        {"1e15", true, 1e15L, "1E15"},
        {"1e", false, 0, nullptr},
        {"abc", false, 0, nullptr},
        {"1.2.3", false, 0, nullptr},
        {"+3", true, 3, "3"},
    };
    for (const auto& c : cases) {
        long double v = 0;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.valid) << c.text;
        if (!c.valid) {
            try {
                StrToFloat(c.text);
                ADD_FAILURE() << "no exception for " << c.text;
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), std::string("'") + c.text + "' is not a valid floating point value");
            }
            EXPECT_EQ(StrToFloatDef(c.text, 7), 7);
            continue;
        }
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value), std::fabs(static_cast<double>(c.value)) * 1e-15);
        EXPECT_EQ(FloatToStr(v), c.general) << c.text;
        // The general text reads back to the same value (15 digits).
        EXPECT_NEAR(static_cast<double>(StrToFloat(FloatToStr(v))), static_cast<double>(v),
                    std::fabs(static_cast<double>(v)) * 1e-14);
    }
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-2.5L), "-2.5");
    EXPECT_EQ(FloatToStr(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(NAN), "NAN");
}

TEST(Strings, IntegerTexts)
{
    struct { const char* text; bool valid; int32_t value; } cases[] = {
        {"12", true, 12}, {" 12", true, 12}, {"12 ", false, 0}, {"-7", true, -7}, {"+7", true, 7},
        {"$FF", true, 255}, {"0x10", true, 16}, {"$FFFFFFFF", true, -1}, {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0}, {"-2147483648", true, INT32_MIN}, {"", false, 0}, {"1.0", false, 0},
        {"-", false, 0},
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.valid) << c.text;
        if (c.valid) { EXPECT_EQ(v, c.value) << c.text; }
        EXPECT_EQ(StrToIntDef(c.text, -99), c.valid ? c.value : -99) << c.text;
    }
    EXPECT_THROW(StrToInt("x1"), EConvertError);
    try {
        StrToInt("1,5");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1,5' is not a valid integer value");
    }
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToStr(-42), "-42");
}

TEST(Strings, ValReportsTheOffendingPosition)
{
    long double v;
    int code;
    Val("12.5", v, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(v, 12.5L);
    Val("12.5x", v, code);
    EXPECT_EQ(code, 5);
    Val("x", v, code);
    EXPECT_EQ(code, 1);
    int32_t i;
    Val("42", i, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(i, 42);
    Val("4a", i, code);
    EXPECT_EQ(code, 2);
}

TEST(Strings, RoundIsTiesToEven)
{
    struct { long double v; int64_t r; } cases[] = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {2.4999L, 2}, {2.5001L, 3}, {-2.6L, -3},
    };
    for (const auto& c : cases) EXPECT_EQ(Round(c.v), c.r) << static_cast<double>(c.v);
    EXPECT_EQ(Trunc(-2.9L), -2);
}

TEST(Strings, FloatToStrFAndFormatFloat)
{
    EXPECT_EQ(FloatToStrF(1234.5678L, TFloatFormat::ffFixed, 15, 2), "1234.57");
    EXPECT_EQ(FloatToStrF(1234.5678L, TFloatFormat::ffNumber, 15, 1), "1,234.6");
    EXPECT_EQ(FloatToStrF(1234.5L, TFloatFormat::ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.001L, TFloatFormat::ffFixed, 15, 2), "0.00");
    struct { const char* pic; long double v; const char* expected; } pics[] = {
        {"0.00", 3.14159L, "3.14"},
        {"0.00", -3.14159L, "-3.14"},
        {"#,##0", 1234567, "1,234,567"},
        {"0.###", 2.5L, "2.5"},
        {"000", 7, "007"},
        {"0.0;(0.0);zero", -1.25L, "(1.3)"},  // 1.25 to one decimal, ties to even in binary: 1.25 is exact
        {"0.0;(0.0);zero", 0, "zero"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"'x='0", 5, "x=5"},
        {"#.##", 0.5L, "0.5"},
    };
    for (const auto& p : pics) EXPECT_EQ(FormatFloat(p.pic, p.v), p.expected) << p.pic;
}
