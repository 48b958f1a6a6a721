#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

using namespace rtl;

// The specifiers as the system's messages, file texts and labels use them.
TEST(Format, SpecifierTable)
{
    struct Case {
        std::string result;
        const char* expected;
    } cases[] = {
        {Format("%d", 42), "42"},
        {Format("%5d|%-5d|", 42, 42), "   42|42   |"},
        {Format("%.3d", 7), "007"},
        {Format("%.3d", -7), "-007"},
        {Format("%u", -1), "4294967295"},
        {Format("%x", 255), "FF"},
        {Format("%.4x", 255), "00FF"},
        {Format("%x", -1), "FFFFFFFF"},
        {Format("%s and %s", "this", std::string("that")), "this and that"},
        {Format("%.2s", "abcdef"), "ab"},
        {Format("%8s|", "ab"), "      ab|"},
        {Format("%f", 3.14159), "3.14"},
        {Format("%.1f", 0.05), "0.1"},
        {Format("%.0f", 2.5), "3"},
        {Format("%.4f", -0.00001), "0.0000"},
        {Format("%8.3f", 3.14159), "   3.142"},
        {Format("%g", 0.1), "0.1"},
        {Format("%g", 1e20), "1E20"},
        {Format("%g", 123.456), "123.456"},
        {Format("%.3g", 123.456), "123"},
        {Format("%e", 1234.5), "1.23450000000000E+003"},
        {Format("%.3e", -0.00012345), "-1.23E-004"},
        {Format("%n", 1234567.891), "1,234,567.89"},
        {Format("%.0n", 999.5), "1,000"},
        {Format("%*d", 4, 7), "   7"},
        {Format("%.*f", 3, 1.0), "1.000"},
        {Format("%1:s %0:s", "a", "b"), "b a"},
        {Format("100%%"), "100%"},
        {Format("%d%%", 5), "5%"},
        {Format("%s", 'c'), "c"},
        {Format("%2d:%.2d:%.2d", 5, 7, 9), " 5:07:09"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected);
}

TEST(Format, MismatchedOrMissingArgumentsRaise)
{
    try {
        Format("%d", "text");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Format '%d' invalid or incompatible with argument");
    }
    EXPECT_THROW(Format("%f", 3), EConvertError);
    EXPECT_THROW(Format("%s %s", "one"), EConvertError);
    EXPECT_THROW(Format("%"), EConvertError);
    EXPECT_THROW(Format("%q", 1), EConvertError);
}

TEST(Format, LocaleSeparatorsOnlyInNumbers)
{
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    comma.ThousandSeparator = '.';
    const TFormatSettings english;
    struct Case {
        const char* fmt;
        double v;
        const char* english;
        const char* comma;
    };
    const Case cases[] = {
        {"%.2n", 1234567.8, "1,234,567.80", "1.234.567,80"},
        {"%.0n", 1234.6, "1,235", "1.235"},
        {"%.2f", 3.5, "3.50", "3,50"},
        {"%g", 3.5, "3.5", "3,5"},
        {"%.3e", 1234.0, "1.23E+003", "1,23E+003"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(english, c.fmt, c.v), c.english) << c.fmt;
        EXPECT_EQ(Format(comma, c.fmt, c.v), c.comma) << c.fmt;
    }
    // Texts and the plain Format keep their characters.
    EXPECT_EQ(Format(comma, "%s:%d", "a.b,c", 1234), "a.b,c:1234");
    EXPECT_EQ(Format("%.2n", 1234.5), "1,234.50");
}
