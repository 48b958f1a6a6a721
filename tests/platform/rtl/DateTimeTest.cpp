#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

using namespace rtl;

TEST(DateTime, EncodeDecodeAgainstKnownDayNumbers)
{
    // Day numbers of the date type: 0 = 1899-12-30, 2 = 1900-01-01,
    // 36526 = 2000-01-01, 25569 = 1970-01-01.
    struct { int y, m, d; double serial; int dow; } cases[] = {
        {1899, 12, 30, 0, 7}, {1900, 1, 1, 2, 2}, {1970, 1, 1, 25569, 5}, {2000, 1, 1, 36526, 7},
        {2000, 2, 29, 36585, 3}, {2024, 4, 8, 45390, 2}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(DayOfWeek(c.serial), c.dow) << c.y;
    }
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    try {
        EncodeDate(0, 1, 1);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
}

TEST(DateTime, TimeOfDayAndNegativeDates)
{
    TDateTime t = EncodeTime(18, 17, 59, 999);
    int h, m, s, ms;
    DecodeTime(t, h, m, s, ms);
    EXPECT_EQ(h, 18);
    EXPECT_EQ(m, 17);
    EXPECT_EQ(s, 59);
    EXPECT_EQ(ms, 999);
    // Before 1899-12-30 the fraction still counts forward within the day.
    DecodeTime(-1.25, h, m, s, ms);
    EXPECT_EQ(h, 6);
    int y, mo, d;
    DecodeDate(-1.25, y, mo, d);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(UnixToDateTime(0), 25569.0);
    EXPECT_EQ(DateTimeToUnix(EncodeDate(2024, 4, 8)), 1712534400);
}

TEST(DateTime, FormatDateTimePictures)
{
    TDateTime dt = EncodeDate(2024, 4, 8) + EncodeTime(18, 7, 5, 30);
    struct { const char* pic; const char* expected; } cases[] = {
        {"yyyy-mm-dd", "2024-04-08"},
        {"yy/m/d", "24-4-8"},
        {"hh:nn:ss", "18:07:05"},
        {"hh:mm", "18:07"},
        {"h:n:s.zzz", "18:7:5.030"},
        {"dddd, mmmm d", "Monday, April 8"},
        {"ddd mmm", "Mon Apr"},
        {"h am/pm", "6 PM"},
        {"'at' hh", "at 18"},
        {"ddddd", "2024-04-08"},
        {"c", "2024-04-08 18:07:05"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pic, dt), c.expected) << c.pic;
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(987, 1, 1)), "0987");
}
