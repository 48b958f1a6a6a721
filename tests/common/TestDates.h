// Calendar records and Julian Days for the tests.
#pragma once

#include "compute/DatesAndTimes.h"

namespace tectest {

// A calendar record; zone in seconds (local time = UT + zone).
inline compute::TDateTimeRec DateRec(int year, int month, int day, int hour = 0, int minute = 0,
                                     int second = 0, int zone = 0)
{
    compute::TDateTimeRec r;
    r.Year = year;
    r.Month = month;
    r.Day = day;
    r.Hour = hour;
    r.Minute = minute;
    r.Second = second;
    r.Zone = zone;
    return r;
}

// The Julian Day of a date and time (TD or UT, as the caller means it).
inline long double JD(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return compute::DateRecToJD(DateRec(year, month, day, hour, minute, second));
}

} // namespace tectest
