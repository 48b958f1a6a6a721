// TDateTime: days since 1899-12-30 00:00 as a double, the fraction being the
// time of day; the process-wide format settings used by date, time and
// number texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

using TDateTime = double;

// The format settings record.  The decimal separator is always "." (files
// and number texts rely on it); the date settings are what date texts use.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '-';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string LongMonthNames[12] = {"January", "February", "March",     "April",
                                      "May",     "June",     "July",      "August",
                                      "September", "October", "November", "December"};
    std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                   "Thursday", "Friday", "Saturday"};
};

// The process-wide settings (GUI thread only).
TFormatSettings& FormatSettings();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Gregorian calendar, years 1..9999.  Invalid parts raise EConvertError
// "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime dt);

// Local time, and the current UTC offset of the local zone in minutes
// (east positive).
TDateTime Now();
TDateTime Date();
TDateTime NowUTC();

// Conversion from and to POSIX time (seconds since 1970-01-01 UTC).
TDateTime UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(TDateTime dt);

// FormatDateTime with the usual pictures: d dd ddd dddd ddddd dddddd
// m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm a/p ampm c t tt / : and
// literal text in quotes.  "m" right after "h"/"hh" means minutes.
std::string FormatDateTime(std::string_view format, TDateTime dt);
std::string DateToStr(TDateTime dt);
std::string TimeToStr(TDateTime dt);
std::string DateTimeToStr(TDateTime dt);

} // namespace rtl
