// Civil date and time arithmetic for historical dates: the date-time
// record, Julian Day conversion with the switch from the Julian to the
// Gregorian calendar in October 1582 (4 October is followed by 15 October),
// historical year numbering without a year 0 (1 BC = -1), validation,
// stepping, decimal years, date and time texts and day-count texts.
//
// Julian Days are long double (80-bit).  The supported range is JD 625673.5
// (1 January 3000 BC, 0h UT) to JD 2816787.5 (1 January AD 3000, 0h UT).
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace compute {

// Raised by CheckDateRange for a date before the supported range (the
// runtime core has only the overflow class).
class EUnderflow : public rtl::EMathError {
public:
    using EMathError::EMathError;
};
using rtl::EOverflow;

constexpr long double MinSupportedJD = 625673.5L;   // 3000 BC Jan 1, 0h UT
constexpr long double MaxSupportedJD = 2816787.5L;  // AD 3000 Jan 1, 0h UT
constexpr long double GregorianSwitchJD = 2299161.0L;

struct TDateTimeRec {
    int32_t Day = 1;
    int32_t Month = 1;
    int32_t Year = 2000;   // historical: 1 BC = -1, no year 0
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
    int32_t Zone = 0;      // seconds; local = UT + Zone
};

// "January".."December"; empty outside 1..12.
void MonthName(int month, std::string& text);
// Leap years: Gregorian after 1582, Julian for 1..1582, and for historical
// BC years (year <= 0) when year + 1 is divisible by 4 (1 BC, 5 BC ...).
bool IsLeapYear(int year);
// Number of days of the month; October 1582 has 21; 0 for a bad month.
int DaysInMonth(int month, int year);

// JD (UT) of the record; days 5..14 October 1582 are read as Julian dates.
long double DateRecToJD(const TDateTimeRec& rec);
// The record in zone `zone` (seconds) for jd (UT); Gregorian from switchJD.
void JDToDateRec(int zone, TDateTimeRec& rec, long double jd, long double switchJD);
void JDToCivilDateRec(int zone, TDateTimeRec& rec, long double jd);

// 0 valid, 1 year 0, 2 bad month, 3 bad day, 4 day in the 1582 gap.
int ValidateDateRec(const TDateTimeRec& rec);

// Calendar steps; the day is clamped to the month and moved out of the
// 1582 gap; each ends with CheckDateRange.
void NextYear(TDateTimeRec& rec);
void PrevYear(TDateTimeRec& rec);
void NextMonth(TDateTimeRec& rec);
void PrevMonth(TDateTimeRec& rec);

// Raises EUnderflow / EOverflow ("date %g underflows range (%g .. %g)")
// for a record outside the supported range; the record is then set to the
// limit it passed.
void CheckDateRange(TDateTimeRec& rec);

// Units: 0 second, 1 minute, 2 hour, 3 sidereal day, 4 day, 5 sidereal
// month, 6 tropical month, 7 synodic month, 8 calendar month, 9 calendar
// year, 10 sidereal year, 11 tropical year.
void AddDateUnits(TDateTimeRec& rec, int unit, int count);

// The record of a system date-time value already expressed in zone `zone`
// (whole seconds, milliseconds dropped), then CheckDateRange.
void DateTimeToDateRec(int zone, TDateTimeRec& rec, rtl::TDateTime value);
// Current date and time as UT, Zone 0.
void UTCNowDateRec(TDateTimeRec& rec);
// Current civil date and time of the zone (seconds east of Greenwich).
void NowDateRec(int zone, TDateTimeRec& rec);

// Decimal year in astronomical numbering (1 BC = 0) and back.
long double JDToDecimalYear(long double jd);
long double DecimalYearToJD(long double year);

// Splits a day count into whole days, hours, minutes and seconds (rounded,
// ties to even, with carries up into the days).
void SplitDayFraction(int& days, int& hours, int& minutes, int& seconds, long double x);

// The packed option word (bit fields, see the .cpp) and its nine presets.
void FormatDateRec(const TDateTimeRec& rec, uint32_t options, std::string& text);
uint32_t DatePresetWord(int preset);
void DateTimeRecToText(const TDateTimeRec& rec, int preset, bool withSeconds, std::string& text);
void DateRecToText(const TDateTimeRec& rec, int preset, std::string& text);
void DateRecToYMDText(const TDateTimeRec& rec, std::string& text);
void TimeRecToText(const TDateTimeRec& rec, bool withSeconds, std::string& text);
void TimeRecToHMText(const TDateTimeRec& rec, std::string& text);

// "[days d] hh:mm[:ss]" with an optional leading "-", or a plain number
// of days.  Raises rtl::EConvertError "Invalid DHMS format ([Dd] hh:mm[:ss])."
void ParseDHMS(const std::string& text, long double& days);
// "[-][days d ]h:mm:ss", e.g. "1d 6:00:00", "-0:14:24".
void FormatDHMS(std::string& text, long double days);

} // namespace compute
