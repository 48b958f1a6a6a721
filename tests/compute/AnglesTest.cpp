// Angles, the angle record and position texts.
#include <gtest/gtest.h>

#include <cmath>

#include "compute/AstroMath.h"
#include "platform/rtl/Exceptions.h"

using namespace compute;

namespace {

TDMS Dms(int sign, int deg, int min, long double sec)
{
    TDMS d;
    d.Sign = sign;
    d.Deg = deg;
    d.Min = min;
    d.Sec = sec;
    return d;
}

std::string Text(const TDMS& d, int precision)
{
    std::string s;
    DMSToText(d, precision, s);
    return s;
}

// The EConvertError message raised by f, or "" when none.
template <typename F>
std::string ConvertErrorOf(F f)
{
    try {
        f();
    } catch (const rtl::EConvertError& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(Angles, NormalizationFoldsIntoItsRange)
{
    EXPECT_NEAR(NormalizePositive(-Pi / 2), 3 * Pi / 2, 1e-15L);
    EXPECT_NEAR(NormalizeSigned(3 * Pi / 2), -Pi / 2, 1e-15L);
    EXPECT_NEAR(NormalizeSigned(7 * Pi + 0.25L), -Pi + 0.25L, 1e-15L);
    EXPECT_NEAR(NormalizeSigned(-5 * TwoPi - 0.5L), -0.5L, 1e-15L);
    EXPECT_EQ(NormalizeSigned(-Pi), -Pi);
    EXPECT_NEAR(NormalizePositive(TwoPi + 1), 1, 1e-15L);
}

TEST(Angles, HornerPolynomials)
{
    EXPECT_EQ(Poly1(2, 3, 1), 7);
    EXPECT_EQ(Poly2(2, 5, 3, 1), 27);
    EXPECT_EQ(Poly3(-2, 1, 5, 3, 1), 7);
}

TEST(Angles, RadiansToDMSAndBack)
{
    TDMS d;
    RadiansToDMS(d, DegToRadians(-(48 + 8 / 60.0L + 30.5L / 3600)));
    EXPECT_EQ(d.Sign, -1);
    EXPECT_EQ(d.Deg, 48);
    EXPECT_EQ(d.Min, 8);
    EXPECT_NEAR(d.Sec, 30.5L, 1e-9L);
    EXPECT_NEAR(DMSToRadians(d), DegToRadians(-(48 + 8 / 60.0L + 30.5L / 3600)), 1e-17L);
}

TEST(Angles, DMSTextsRoundAndCarry)
{
    struct Case {
        TDMS dms;
        int precision;
        const char* text;
    } cases[] = {
        {Dms(1, 48, 59, 45), 0, "49\u00B0 00' "},
        {Dms(1, 48, 59, 30), 0, "48\u00B0 59' "},     // exactly 30 s does not round up
        {Dms(1, 359, 59, 31), 0, "0\u00B0 00' "},     // 360 wraps to 0
        {Dms(-1, 12, 5, 7.4L), 1, "-12\u00B0 05' 07''"},
        {Dms(1, 12, 5, 59.5L), 1, "12\u00B0 06' 00''"}, // ties to even: 60 carries
        {Dms(1, 12, 5, 58.5L), 1, "12\u00B0 05' 58''"}, // ties to even: stays 58
        {Dms(1, 1, 2, 9.96L), 2, "1\u00B0 02' 10.0''"},
        {Dms(1, 1, 2, 9.94L), 2, "1\u00B0 02' 09.9''"},
        {Dms(1, 1, 59, 59.996L), 3, "2\u00B0 00' 00.00''"},
        {Dms(1, 1, 2, 3.25L), 3, "1\u00B0 02' 03.25''"},
        {Dms(1, 1, 2, 59), 7, "1\u00B0 02' "},         // other precisions: no rounding
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.dms, c.precision), c.text) << c.text;
}

TEST(Angles, PositionTextsShowHemisphere)
{
    TDMS d;
    std::string s;
    RadiansToDMS(d, DegToRadians(48.1361L));
    LatitudeToText(d, s);
    EXPECT_EQ(s, "48\u00B0 08'  N");
    RadiansToDMS(d, DegToRadians(-33.8688L));
    LatitudeToText(d, s);
    EXPECT_EQ(s, "33\u00B0 52'  S");
    RadiansToDMS(d, DegToRadians(-11.5761L));   // east is negative
    LongitudeToText(d, s);
    EXPECT_EQ(s, "11\u00B0 35'  E");
    RadiansToDMS(d, DegToRadians(104.12775L));
    LongitudeToText(d, s);
    EXPECT_EQ(s, "104\u00B0 08'  W");
}

TEST(Angles, ParsePositionForms)
{
    struct Case {
        const char* text;
        char letter;
        int sign, deg, min;
        long double sec;
    } cases[] = {
        {"48 8 N", 'N', 1, 48, 8, 0},
        {"11 34 30 E", 'E', -1, 11, 34, 30},
        {"48\u00B08'N", 'N', 1, 48, 8, 0},
        {"  48\u00B0 8' 15 s ", 'S', -1, 48, 8, 15},
        {"48.5 S", 'S', -1, 48, 30, 0},
    };
    for (const Case& c : cases) {
        TDMS d;
        char letter = ' ';
        ParsePosition(c.text, letter, d);
        EXPECT_EQ(letter, c.letter) << c.text;
        EXPECT_EQ(d.Sign, c.sign) << c.text;
        EXPECT_EQ(d.Deg, c.deg) << c.text;
        EXPECT_EQ(d.Min, c.min) << c.text;
        EXPECT_NEAR(d.Sec, c.sec, 1e-9L) << c.text;
    }
    // A decimal value goes through radians, so its parts may come out as
    // 14' 59.99999''; the angle itself is exact to rounding.
    TDMS d;
    char letter;
    ParsePosition("104.25 w", letter, d);
    EXPECT_EQ(letter, 'W');
    EXPECT_NEAR(RadiansToDeg(DMSToRadians(d)), 104.25L, 1e-15L);
}

TEST(Angles, ParseErrorsCarryTheirTexts)
{
    struct Case {
        const char* text;
        int kind;   // 0 ParsePosition, 1 ParseLatitude, 2 ParseLongitude
        const char* message;
    } cases[] = {
        {"48N", 0, "invalid number of arguments in position-string (1)"},
        {"1 2 3 4 N", 0, "invalid number of arguments in position-string (5)"},
        {"", 0, "invalid number of arguments in position-string (1)"},
        {"48 8 X", 0, "invalid item in position-string (X)"},
        {"48\u00B0 8'", 0, "invalid item in position-string ()"},
        {"48 8 NN", 0, "invalid item in position-string (NN)"},
        {"181 0 W", 0, "degrees out of range in position-string (181)"},
        {"-5 0 W", 0, "degrees out of range in position-string (-5)"},
        {"48 60 N", 0, "minutes out of range in position-string (60)"},
        {"48 8 60 N", 0, "seconds out of range in position-string (60)"},
        {"91 0 N", 1, "position out of range (91 0 N)"},
        {"350 N", 1, "degrees out of range in position-string (350)"},
        {"89.5 N", 1, ""},
        {"48 8 E", 1, "invalid item in position-string (E)"},
        {"180 30 W", 2, "position out of range (180 30 W)"},
        {"48 8 N", 2, "invalid item in position-string (N)"},
        {"180 0 E", 2, ""},
    };
    for (const Case& c : cases) {
        TDMS d;
        char letter;
        const std::string message = ConvertErrorOf([&] {
            if (c.kind == 0)
                ParsePosition(c.text, letter, d);
            else if (c.kind == 1)
                ParseLatitude(c.text, d);
            else
                ParseLongitude(c.text, d);
        });
        EXPECT_EQ(message, c.message) << c.text;
    }
}

TEST(Angles, FailedParseLeavesRecordAndNonIntegerSecondsFail)
{
    TDMS d = Dms(1, 10, 20, 30);
    EXPECT_THROW(ParseLatitude("91 0 N", d), rtl::EConvertError);
    EXPECT_EQ(d.Deg, 10);
    EXPECT_EQ(d.Min, 20);
    // Seconds must be whole: the integer parser's own error.
    EXPECT_THROW(ParseLatitude("48 8 30.5 N", d), rtl::EConvertError);
    EXPECT_EQ(d.Deg, 10);
    ParseLatitude("48 8 30 N", d);
    EXPECT_NEAR(RadiansToDeg(DMSToRadians(d)), 48 + 8 / 60.0L + 30 / 3600.0L, 1e-12L);
}
