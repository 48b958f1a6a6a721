// Calendar records, Julian Days, stepping, decimal years and texts.
#include <gtest/gtest.h>

#include <cmath>

#include "TestDates.h"
#include "compute/DatesAndTimes.h"
#include "platform/rtl/Exceptions.h"

using namespace compute;
using tectest::DateRec;

namespace {

void ExpectDate(const TDateTimeRec& r, int year, int month, int day, int hour = 0, int minute = 0,
                int second = 0)
{
    EXPECT_EQ(r.Year, year);
    EXPECT_EQ(r.Month, month);
    EXPECT_EQ(r.Day, day);
    EXPECT_EQ(r.Hour, hour);
    EXPECT_EQ(r.Minute, minute);
    EXPECT_EQ(r.Second, second);
}

} // namespace

// Julian Days published by Meeus (Astronomical Algorithms, 2nd ed., ch. 7,
// examples and table 7.a), converted from astronomical to historical years
// (astronomical -123 is 124 BC); plus canon instants of greatest eclipse
// (Five Millennium Canon: date, TD time and JD to 0.001 day).  Meeus's
// values are exact to the stated digits; the canon JDs are rounded to 0.001.
TEST(Calendar, JulianDaysOfPublishedDates)
{
    struct Case {
        TDateTimeRec rec;
        long double jd;
        long double tolerance;
    } cases[] = {
        {DateRec(2000, 1, 1, 12), 2451545.0L, 1e-9L},
        {DateRec(1999, 1, 1), 2451179.5L, 1e-9L},
        {DateRec(1987, 1, 27), 2446822.5L, 1e-9L},
        {DateRec(1987, 6, 19, 12), 2446966.0L, 1e-9L},
        {DateRec(1988, 6, 19, 12), 2447332.0L, 1e-9L},
        {DateRec(1900, 1, 1), 2415020.5L, 1e-9L},
        {DateRec(1600, 1, 1), 2305447.5L, 1e-9L},
        {DateRec(1600, 12, 31), 2305812.5L, 1e-9L},
        {DateRec(1957, 10, 4, 19, 26, 24), 2436116.31L, 1e-6L},
        {DateRec(333, 1, 27, 12), 1842713.0L, 1e-9L},
        {DateRec(-124, 12, 31), 1676496.5L, 1e-9L},
        {DateRec(-123, 1, 1), 1676497.5L, 1e-9L},
        {DateRec(-1001, 7, 12, 12), 1356001.0L, 1e-9L},
        {DateRec(-1001, 2, 29), 1355866.5L, 1e-9L},
        {DateRec(-4713, 1, 1, 12), 0.0L, 1e-9L},
        {DateRec(1582, 10, 4), 2299159.5L, 1e-9L},
        {DateRec(1582, 10, 15), 2299160.5L, 1e-9L},
        {DateRec(-3000, 1, 1), 625673.5L, 1e-9L},
        {DateRec(3000, 1, 1), 2816787.5L, 1e-9L},
        // Canon: -1999 Jun 12 (astronomical) 03:14:51 TD, 1582 Jun 20
        // 05:30:27 (Julian), 1582 Dec 25 04:08:39 (Gregorian), 3000 Apr 26.
        {DateRec(-2000, 6, 12, 3, 14, 51), 991085.635L, 6e-4L},
        {DateRec(1582, 6, 20, 5, 30, 27), 2299053.729L, 6e-4L},
        {DateRec(1582, 12, 25, 4, 8, 39), 2299231.673L, 6e-4L},
        {DateRec(3000, 4, 26, 14, 18, 6), 2816903.096L, 6e-4L},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(DateRecToJD(c.rec), c.jd, c.tolerance) << c.rec.Year << "-" << c.rec.Month;
        TDateTimeRec back;
        JDToCivilDateRec(0, back, DateRecToJD(c.rec));
        ExpectDate(back, c.rec.Year, c.rec.Month, c.rec.Day, c.rec.Hour, c.rec.Minute, c.rec.Second);
    }
}

TEST(Calendar, GapDaysAndZones)
{
    // 5..14 October 1582 are read as Julian dates (= 15..24 October).
    EXPECT_EQ(DateRecToJD(DateRec(1582, 10, 10)), DateRecToJD(DateRec(1582, 10, 20)));
    // A record 1 h east of Greenwich at 13:00 is 12:00 UT.
    EXPECT_EQ(DateRecToJD(DateRec(2000, 1, 1, 13, 0, 0, 3600)), 2451545.0L);
    TDateTimeRec r;
    JDToCivilDateRec(-5 * 3600, r, 2451545.0L);
    ExpectDate(r, 2000, 1, 1, 7);
    EXPECT_EQ(r.Zone, -5 * 3600);
    // The switch JD chooses the calendar: the same day in Julian reckoning.
    JDToDateRec(0, r, 2451544.5L, 1e9L);
    ExpectDate(r, 1999, 12, 19);
}

TEST(Calendar, DayFractionCarriesAndRoundsToEven)
{
    int d, h, m, s;
    SplitDayFraction(d, h, m, s, 0.9999999L);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 0);
    SplitDayFraction(d, h, m, s, 2.5L + 29.6L / 86400);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 30);   // seconds are rounded, not truncated
}

TEST(Calendar, LeapYearsMonthLengthsAndValidation)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(1500));   // Julian rule
    EXPECT_TRUE(IsLeapYear(-1));     // 1 BC
    EXPECT_TRUE(IsLeapYear(-5));
    EXPECT_FALSE(IsLeapYear(-4));
    EXPECT_EQ(DaysInMonth(10, 1582), 21);
    EXPECT_EQ(DaysInMonth(2, 1700), 28);
    EXPECT_EQ(DaysInMonth(13, 2000), 0);

    EXPECT_EQ(ValidateDateRec(DateRec(2011, 4, 5)), 0);
    EXPECT_EQ(ValidateDateRec(DateRec(0, 13, 40)), 1);
    EXPECT_EQ(ValidateDateRec(DateRec(2011, 13, 0)), 2);
    // A later finding replaces an earlier one: a bad month has no days.
    EXPECT_EQ(ValidateDateRec(DateRec(2011, 13, 5)), 3);
    EXPECT_EQ(ValidateDateRec(DateRec(2011, 2, 29)), 3);
    EXPECT_EQ(ValidateDateRec(DateRec(2011, 2, 0)), 0);
    EXPECT_EQ(ValidateDateRec(DateRec(1582, 10, 10)), 4);
    // The days after the gap exist up to 31 October.
    EXPECT_EQ(ValidateDateRec(DateRec(1582, 10, 31)), 0);

    std::string name;
    MonthName(4, name);
    EXPECT_EQ(name, "April");
    MonthName(0, name);
    EXPECT_EQ(name, "");
}

TEST(Calendar, SteppingClampsAndSkipsYearZero)
{
    TDateTimeRec r = DateRec(-1, 6, 1);
    NextYear(r);
    ExpectDate(r, 1, 6, 1);
    PrevYear(r);
    ExpectDate(r, -1, 6, 1);
    r = DateRec(2011, 1, 31);
    NextMonth(r);
    ExpectDate(r, 2011, 2, 28);
    r = DateRec(2012, 2, 29);
    NextYear(r);
    ExpectDate(r, 2013, 2, 28);
    r = DateRec(2011, 12, 15);
    NextMonth(r);
    ExpectDate(r, 2012, 1, 15);
    r = DateRec(1582, 9, 7);
    NextMonth(r);
    ExpectDate(r, 1582, 10, 4);
    r = DateRec(1582, 9, 10);
    NextMonth(r);
    ExpectDate(r, 1582, 10, 15);
    r = DateRec(1582, 11, 12);
    PrevMonth(r);
    ExpectDate(r, 1582, 10, 15);
    r = DateRec(1582, 9, 30);
    NextMonth(r);
    ExpectDate(r, 1582, 10, 30);
}

TEST(Calendar, AddDateUnits)
{
    TDateTimeRec r = DateRec(2011, 4, 5, 14, 7, 9);
    AddDateUnits(r, 2, 10);
    ExpectDate(r, 2011, 4, 6, 0, 7, 9);
    AddDateUnits(r, 0, -10);
    ExpectDate(r, 2011, 4, 6, 0, 6, 59);
    AddDateUnits(r, 8, -3);
    ExpectDate(r, 2011, 1, 6, 0, 6, 59);
    AddDateUnits(r, 9, 2);
    ExpectDate(r, 2013, 1, 6, 0, 6, 59);
    // A synodic month: 29.53058912 days = 29 d 12:44:03.
    r = DateRec(2000, 1, 6, 18, 14, 0);
    AddDateUnits(r, 7, 1);
    ExpectDate(r, 2000, 2, 5, 6, 58, 3);
    // Local fields stay local.
    r = DateRec(2000, 1, 1, 23, 30, 0, 7200);
    AddDateUnits(r, 1, 45);
    ExpectDate(r, 2000, 1, 2, 0, 15, 0);
    EXPECT_EQ(r.Zone, 7200);
}

TEST(Calendar, RangeErrorsClampTheRecord)
{
    TDateTimeRec r = DateRec(2999, 12, 31);
    try {
        AddDateUnits(r, 4, 2);
        FAIL() << "no overflow";
    } catch (const rtl::EOverflow& e) {
        EXPECT_EQ(e.Message(), "date 2816788.5 overflows range (625673.5 .. 2816787.5)");
    }
    ExpectDate(r, 3000, 1, 1);

    r = DateRec(-3000, 1, 1, 0, 0, 0);
    try {
        PrevMonth(r);
        FAIL() << "no underflow";
    } catch (const EUnderflow& e) {
        EXPECT_EQ(e.Message(), "date 625642.5 underflows range (625673.5 .. 2816787.5)");
    }
    ExpectDate(r, -3000, 1, 1);
    EXPECT_NO_THROW({
        TDateTimeRec ok = DateRec(3000, 1, 1);
        CheckDateRange(ok);
    });
}

TEST(Calendar, DecimalYears)
{
    EXPECT_NEAR(JDToDecimalYear(2451545.0L), 2000 + 0.5L / 366, 1e-12L);
    EXPECT_EQ(DecimalYearToJD(2000.0L), 2451544.5L);
    EXPECT_NEAR(DecimalYearToJD(1900.5L), 2415020.5L + 182.5L, 1e-9L);
    // Astronomical year 0 is 1 BC; -0.5 lies in the middle of 2 BC.
    EXPECT_EQ(DecimalYearToJD(0.0L), DateRecToJD(DateRec(-1, 1, 1)));
    EXPECT_NEAR(DecimalYearToJD(-0.5L), DateRecToJD(DateRec(-2, 1, 1)) + 182.5L, 1e-9L);
    // 1 BC is a leap year: 2 July is day 183 of 366.
    EXPECT_NEAR(JDToDecimalYear(DateRecToJD(DateRec(-1, 7, 2))), 0.5L, 1e-12L);
    for (long double y : {-2999.25L, -500.75L, 1582.9L, 2024.27L})
        EXPECT_NEAR(JDToDecimalYear(DecimalYearToJD(y)), y, 3e-3L) << static_cast<double>(y);
}

TEST(Calendar, PresetTexts)
{
    const TDateTimeRec r = DateRec(2011, 4, 5, 14, 7, 9);
    const char* withoutSeconds[9] = {
        "2011-04-05  14:07", "2011/04/05  14:07", "04/05/2011  14:07",
        "05/04/2011  14:07", "05.04.2011  14:07", "2011 Apr 05.5883",
        "2011 April 05  14:07", "April 05, 2011  14:07", "05.April 2011  14:07"};
    std::string s;
    for (int p = 0; p < 9; ++p) {
        DateTimeRecToText(r, p, false, s);
        EXPECT_EQ(s, withoutSeconds[p]) << p;
    }
    DateTimeRecToText(r, 0, true, s);
    EXPECT_EQ(s, "2011-04-05  14:07:09");
    DateTimeRecToText(r, 5, true, s);
    EXPECT_EQ(s, "2011 Apr 05.58830");
    DateRecToText(r, 5, s);
    EXPECT_EQ(s, "2011 Apr 05");
    DateRecToYMDText(r, s);
    EXPECT_EQ(s, "2011-04-05");
    TimeRecToText(DateRec(2011, 4, 5, 4, 7, 9), true, s);
    EXPECT_EQ(s, "04:07:09");
    TimeRecToHMText(r, s);
    EXPECT_EQ(s, "14:07");
}

TEST(Calendar, OptionWordYearsAndFractions)
{
    std::string s;
    // Astronomical year of 44 BC, preset 0 date only.
    DateRecToText(DateRec(-44, 3, 15), 0, s);
    EXPECT_EQ(s, "-0043-03-15");
    DateRecToText(DateRec(-1, 3, 15), 0, s);
    EXPECT_EQ(s, "0000-03-15");
    // Historical years: zero-filled to three digits, BC before (order < 2)
    // or after (order >= 2) the date.
    const uint32_t ymdHistorical = DatePresetWord(0) & ~0xFFFu & ~(1u << 13);
    FormatDateRec(DateRec(5, 1, 2), ymdHistorical, s);
    EXPECT_EQ(s, "005-01-02");
    FormatDateRec(DateRec(-44, 3, 15), ymdHistorical, s);
    EXPECT_EQ(s, "BC 044-03-15");
    const uint32_t dmyHistorical = DatePresetWord(3) & ~0xFFFu & ~(1u << 13);
    FormatDateRec(DateRec(-44, 3, 15), dmyHistorical, s);
    EXPECT_EQ(s, "15/03/044 BC");
    // Time style 1 without a date part: the fraction of the day.
    FormatDateRec(DateRec(2000, 1, 1, 12), 1u << 8, s);
    EXPECT_EQ(s, "0.5000");
    FormatDateRec(DateRec(2000, 1, 1, 6), 2u << 8, s);
    EXPECT_EQ(s, "0.25000");
    // Separators and an unpadded hour: " - " between date and time, "." in the time.
    FormatDateRec(DateRec(2000, 7, 9, 8, 5, 0), (4u << 28) | (1u << 24) | (1u << 20) | (5u << 16) |
                                                (3u << 8) | (1u << 4), s);
    EXPECT_EQ(s, "9.7.2000 - 8.05");
}

TEST(Calendar, DayCountTexts)
{
    std::string s;
    FormatDHMS(s, 1.25L);
    EXPECT_EQ(s, "1d 6:00:00");
    FormatDHMS(s, -0.01L);
    EXPECT_EQ(s, "-0:14:24");
    FormatDHMS(s, 0);
    EXPECT_EQ(s, "0:00:00");

    struct Case {
        const char* text;
        long double days;
    } cases[] = {
        {"2d 3:30", 2 + 3.5L / 24},
        {"1.5", 1.5L},
        {"-0:14:24", -0.01L},
        {" 1d 6:00:00 ", 1.25L},
        {"3d", 3},
        {"12:00:", 0.5L},
        {"-1d 0:00:01", -(1 + 1.0L / 86400)},
    };
    for (const Case& c : cases) {
        long double d = -99;
        ParseDHMS(c.text, d);
        EXPECT_NEAR(d, c.days, 1e-12L) << c.text;
    }
    for (const char* bad : {"24:00", "x", "1d 5", "0:60", "0:00:60", "ab"}) {
        long double d = 0;
        try {
            ParseDHMS(bad, d);
            ADD_FAILURE() << bad;
        } catch (const rtl::EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid DHMS format ([Dd] hh:mm[:ss]).") << bad;
        }
    }
    long double d = 0;
    EXPECT_THROW(ParseDHMS("1:3x", d), rtl::EConvertError);   // the integer parser's error
}

TEST(Calendar, CurrentTimeIsInRangeAndZoned)
{
    TDateTimeRec utc, local;
    UTCNowDateRec(utc);
    NowDateRec(3600, local);
    EXPECT_EQ(utc.Zone, 0);
    EXPECT_EQ(local.Zone, 3600);
    EXPECT_GE(utc.Year, 2020);
    // Both name the same instant (within the seconds between the calls).
    EXPECT_NEAR(DateRecToJD(local), DateRecToJD(utc), 5.0L / 86400);
}
