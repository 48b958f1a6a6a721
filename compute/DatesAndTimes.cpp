#include "compute/DatesAndTimes.h"

#include <cmath>
#include <cstdlib>

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace compute {

namespace {

const char* const MonthNames[12] = {"January", "February", "March",     "April",
                                    "May",     "June",     "July",      "August",
                                    "September", "October", "November", "December"};

long double Frac(long double x) { return x - std::trunc(x); }

bool InOctober1582Gap(const TDateTimeRec& r)
{
    return r.Year == 1582 && r.Month == 10 && r.Day >= 5 && r.Day <= 14;
}

// The highest day number of a month.  October 1582 counts 21 days but its
// days are numbered up to 31 (4 October is followed by 15 October).
int LastDayOfMonth(int month, int year)
{
    if (year == 1582 && month == 10)
        return 31;
    return DaysInMonth(month, year);
}

// The clamps shared by the calendar steps: out of the 1582 gap, or onto
// the month's last day.
void FixStepResult(TDateTimeRec& rec)
{
    int v = ValidateDateRec(rec);
    if (v == 4)
        rec.Day = rec.Day < 10 ? 4 : 15;
    else if (v == 3)
        rec.Day = LastDayOfMonth(rec.Month, rec.Year);
}

std::string PadLeft(std::string s, std::size_t width, char fill = '0')
{
    if (s.size() < width)
        s.insert(0, width - s.size(), fill);
    return s;
}

std::string FixedText(long double value, int decimals)
{
    return rtl::FloatToStrF(value, rtl::TFloatFormat::ffFixed, 8, decimals);
}

TDateTimeRec JanuaryFirst(int year)
{
    TDateTimeRec r;
    r.Day = 1;
    r.Month = 1;
    r.Year = year;
    return r;
}

} // namespace

void MonthName(int month, std::string& text)
{
    text = (month >= 1 && month <= 12) ? MonthNames[month - 1] : "";
}

bool IsLeapYear(int year)
{
    if (year > 1582)
        return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (year >= 1)
        return year % 4 == 0;
    return (year + 1) % 4 == 0;
}

int DaysInMonth(int month, int year)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2)
        return IsLeapYear(year) ? 29 : 28;
    if (month == 10 && year == 1582)
        return 21;
    return days[month - 1];
}

// Julian Day from a calendar record: the month count g runs from March of
// year -4800 (astronomical), so that leap days fall at the end of a count
// year; L is the Julian-calendar day number, corrected to the Gregorian
// calendar after 14 October 1582 (Julian reckoning).
long double DateRecToJD(const TDateTimeRec& rec)
{
    const long double h = rec.Hour + rec.Minute / 60.0L + rec.Second / 3600.0L;
    long double y = rec.Year;
    if (y < 0)
        y += 1;
    const long double g = (y + 4800) * 12 + rec.Month - 3;
    long double L = std::trunc((2 * (g - 12 * std::trunc(g / 12)) + 365 * g + 7) / 12) + rec.Day +
                    std::trunc(g / 48) - 32083;
    if (L > 2299170)
        L = L + std::trunc(g / 4800) - std::trunc(g / 1200) + 38;
    return L + h / 24 - 0.5L - rec.Zone / 86400.0L;
}

// The inverse after Meeus (Astronomical Algorithms, ch. 7), valid for JD > 0.
void JDToDateRec(int zone, TDateTimeRec& rec, long double jd, long double switchJD)
{
    rec.Zone = zone;
    const long double d = jd + 0.5L + zone / 86400.0L;
    long double Z = std::trunc(d);
    int carry = 0;
    SplitDayFraction(carry, rec.Hour, rec.Minute, rec.Second, Frac(d));
    Z += carry;
    long double A = Z;
    if (Z >= switchJD) {
        const long double alpha = std::trunc((Z - 1867216.25L) / 36524.25L);
        A = Z + 1 + alpha - std::trunc(alpha / 4);
    }
    const long double B = A + 1524;
    const long double K = std::trunc((B - 122.1L) / 365.25L);
    const long double Dn = std::trunc(365.25L * K);
    const long double E = std::trunc((B - Dn) / 30.6001L);
    rec.Day = static_cast<int32_t>(B - Dn - std::trunc(30.6001L * E));
    rec.Month = static_cast<int32_t>(E < 14 ? E - 1 : E - 13);
    rec.Year = static_cast<int32_t>(rec.Month > 2 ? K - 4716 : K - 4715);
    if (rec.Year <= 0)
        rec.Year -= 1;
}

void JDToCivilDateRec(int zone, TDateTimeRec& rec, long double jd)
{
    JDToDateRec(zone, rec, jd, GregorianSwitchJD);
}

int ValidateDateRec(const TDateTimeRec& rec)
{
    if (rec.Year == 0)
        return 1;
    int result = 0;
    if (rec.Month < 1 || rec.Month > 12)
        result = 2;
    if (rec.Day < 0 || rec.Day > LastDayOfMonth(rec.Month, rec.Year))
        result = 3;
    if (InOctober1582Gap(rec))
        result = 4;
    return result;
}

void NextYear(TDateTimeRec& rec)
{
    ++rec.Year;
    if (rec.Year == 0)
        rec.Year = 1;
    FixStepResult(rec);
    CheckDateRange(rec);
}

void PrevYear(TDateTimeRec& rec)
{
    --rec.Year;
    if (rec.Year == 0)
        rec.Year = -1;
    FixStepResult(rec);
    CheckDateRange(rec);
}

void NextMonth(TDateTimeRec& rec)
{
    ++rec.Month;
    if (rec.Month == 13) {
        rec.Month = 1;
        NextYear(rec);
    }
    FixStepResult(rec);
    CheckDateRange(rec);
}

void PrevMonth(TDateTimeRec& rec)
{
    --rec.Month;
    if (rec.Month == 0) {
        rec.Month = 12;
        PrevYear(rec);
    }
    FixStepResult(rec);
    CheckDateRange(rec);
}

void CheckDateRange(TDateTimeRec& rec)
{
    const long double jd = DateRecToJD(rec);
    if (jd < MinSupportedJD) {
        JDToCivilDateRec(rec.Zone, rec, MinSupportedJD);
        throw EUnderflow(rtl::Format("date %g underflows range (%g .. %g)", jd, MinSupportedJD,
                                     MaxSupportedJD));
    }
    if (jd > MaxSupportedJD) {
        JDToCivilDateRec(rec.Zone, rec, MaxSupportedJD);
        throw EOverflow(rtl::Format("date %g overflows range (%g .. %g)", jd, MinSupportedJD,
                                    MaxSupportedJD));
    }
}

void AddDateUnits(TDateTimeRec& rec, int unit, int count)
{
    static const long double lengths[12] = {1.0L / 86400, 1.0L / 1440, 1.0L / 24, 0.99727L, 1.0L,
                                            27.321662037L, 27.321582176L, 29.53058912L, 0, 0,
                                            365.25636024L, 365.24219879L};
    if ((unit >= 0 && unit <= 7) || unit == 10 || unit == 11) {
        const long double jd = DateRecToJD(rec) + count * lengths[unit];
        JDToCivilDateRec(rec.Zone, rec, jd);
    } else if (unit == 8) {
        for (int i = 0; i < std::abs(count); ++i)
            count > 0 ? NextMonth(rec) : PrevMonth(rec);
    } else if (unit == 9) {
        for (int i = 0; i < std::abs(count); ++i)
            count > 0 ? NextYear(rec) : PrevYear(rec);
    }
    CheckDateRange(rec);
}

void DateTimeToDateRec(int zone, TDateTimeRec& rec, rtl::TDateTime value)
{
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0, ms = 0;
    rtl::DecodeDate(value, y, m, d);
    rtl::DecodeTime(value, hh, mm, ss, ms);
    rec.Year = y;
    rec.Month = m;
    rec.Day = d;
    rec.Hour = hh;
    rec.Minute = mm;
    rec.Second = ss;
    rec.Zone = zone;
    CheckDateRange(rec);
}

// The clock supplies universal time directly, so no daylight bias has to
// be applied here.
void UTCNowDateRec(TDateTimeRec& rec) { DateTimeToDateRec(0, rec, rtl::NowUTC()); }

void NowDateRec(int zone, TDateTimeRec& rec)
{
    UTCNowDateRec(rec);
    rec.Zone = zone;
    AddDateUnits(rec, 0, zone);
}

long double JDToDecimalYear(long double jd)
{
    TDateTimeRec rec;
    JDToCivilDateRec(0, rec, jd);
    const long double ya = rec.Year < 0 ? rec.Year + 1 : rec.Year;
    const long double j1 = DateRecToJD(JanuaryFirst(rec.Year));
    const long double j2 = DateRecToJD(JanuaryFirst(rec.Year == -1 ? 1 : rec.Year + 1));
    return ya + (jd - j1) / (j2 - j1);
}

long double DecimalYearToJD(long double year)
{
    const int Y = static_cast<int>(std::trunc(year));
    long double j1, j2;
    if (Y > 0) {
        j1 = DateRecToJD(JanuaryFirst(Y));
        j2 = DateRecToJD(JanuaryFirst(Y + 1));
    } else {
        // Astronomical year Y is historical year Y - 1; negative fractions
        // count backwards from its first day.
        j1 = DateRecToJD(JanuaryFirst(Y - 1));
        j2 = DateRecToJD(JanuaryFirst(Y - 2));
    }
    return j1 + Frac(year) * std::fabs(j2 - j1);
}

void SplitDayFraction(int& days, int& hours, int& minutes, int& seconds, long double x)
{
    days = static_cast<int>(std::trunc(x));
    const long double h = 24 * (x - days);
    hours = static_cast<int>(std::trunc(h));
    const long double m = (h - hours) * 60;
    minutes = static_cast<int>(std::trunc(m));
    seconds = static_cast<int>(rtl::Round((m - minutes) * 60));
    if (seconds >= 60) {
        seconds = 0;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes = 0;
        ++hours;
    }
    if (hours >= 24) {
        hours = 0;
        ++days;
    }
}

// Option word:
//   bits 28..31 date-time separator  0 " ", 1 "  ", 2 "   ", 3 "-", 4 " - ",
//                                    5 ",", 6 ", ", 7 " , ", 8 "/", 9 " / "
//   bits 24..25 month style          0 no date, 1 number, 2 "Apr", 3 "April"
//   bits 20..22 date separator       0 " ", 1 ".", 2 "/", 3 ", ", 4 "-"
//   bits 16..18 order of the parts   0 YMD, 1 YDM, 2 MYD, 3 MDY, 4 DYM, 5 DMY
//   bit  13     astronomical year (1 BC = 0000, 44 BC = -0043)
//   bit  12     two-digit month and day
//   bits  8..10 time style           0 none, 1/2 day fraction with 4/5
//                                    decimals, 3 h:mm, 4 h:mm:ss
//   bits  4..5  time separator       0 " ", 1 ".", 2 ":"
//   bit   0     two-digit hour
void FormatDateRec(const TDateTimeRec& rec, uint32_t options, std::string& text)
{
    static const char* const dateTimeSeps[10] = {" ", "  ", "   ", "-", " - ",
                                                 ",", ", ", " , ", "/", " / "};
    static const char* const dateSeps[5] = {" ", ".", "/", ", ", "-"};
    static const char* const timeSeps[3] = {" ", ".", ":"};

    const unsigned dtSepCode = (options >> 28) & 0xF;
    const int monthStyle = (options >> 24) & 3;
    const unsigned dateSepCode = (options >> 20) & 7;
    int order = (options >> 16) & 7;
    if (order > 5)
        order = 0;
    const bool astronomical = options & (1u << 13);
    const bool twoDigits = options & (1u << 12);
    const int timeStyle = (options >> 8) & 7;
    const unsigned timeSepCode = (options >> 4) & 3;
    const bool twoDigitHour = options & 1u;

    const std::string dtSep = dtSepCode < 10 ? dateTimeSeps[dtSepCode] : " ";
    const std::string s = dateSepCode < 5 ? dateSeps[dateSepCode] : " ";
    const std::string ts = timeSepCode < 3 ? timeSeps[timeSepCode] : " ";
    const long double dayFraction = rec.Hour / 24.0L + rec.Minute / 1440.0L + rec.Second / 86400.0L;
    const bool fractionalDay = timeStyle == 1 || timeStyle == 2;
    const int fractionDecimals = timeStyle == 1 ? 4 : 5;

    std::string dateText;
    if (monthStyle != 0) {
        std::string yearText;
        if (astronomical) {
            const int ya = rec.Year < 0 ? rec.Year + 1 : rec.Year;
            yearText = PadLeft(rtl::IntToStr(std::abs(ya)), 4);
            if (ya < 0)
                yearText = "-" + yearText;
        } else {
            yearText = PadLeft(rtl::IntToStr(std::abs(rec.Year)), 3);
            if (rec.Year < 0)
                yearText = order >= 2 ? yearText + " BC" : "BC " + yearText;
        }

        std::string monthText;
        if (monthStyle == 1) {
            monthText = rtl::IntToStr(rec.Month);
            if (twoDigits && rec.Month < 10)
                monthText = "0" + monthText;
        } else {
            MonthName(rec.Month, monthText);
            if (monthStyle == 2)
                monthText = monthText.substr(0, 3);
        }

        std::string dayText;
        if (fractionalDay)
            dayText = FixedText(rec.Day + dayFraction, fractionDecimals);
        else
            dayText = rtl::IntToStr(rec.Day);
        if (twoDigits && rec.Day < 10)
            dayText = "0" + dayText;

        const bool full = monthStyle == 3;
        const std::string& Y = yearText;
        const std::string& M = monthText;
        const std::string& D = dayText;
        switch (order) {
        case 0: dateText = Y + s + M + (full ? " " : s) + D; break;
        case 1: dateText = Y + s + D + s + M; break;
        case 2: dateText = M + (full ? " " : s) + Y + s + D; break;
        case 3: dateText = M + (full ? " " : s) + D + s + Y; break;
        case 4: dateText = D + s + Y + s + M; break;
        default: dateText = D + s + M + (full ? " " : s) + Y; break;
        }
    }

    std::string timeText;
    if (timeStyle == 3 || timeStyle == 4) {
        timeText = rtl::IntToStr(rec.Hour);
        if (twoDigitHour && rec.Hour < 10)
            timeText = "0" + timeText;
        timeText += ts + PadLeft(rtl::IntToStr(rec.Minute), 2);
        if (timeStyle == 4)
            timeText += ts + PadLeft(rtl::IntToStr(rec.Second), 2);
    } else if (fractionalDay && monthStyle == 0) {
        timeText = FixedText(dayFraction, fractionDecimals);
    }

    if (!dateText.empty() && !timeText.empty())
        text = dateText + dtSep + timeText;
    else
        text = dateText.empty() ? timeText : dateText;
}

uint32_t DatePresetWord(int preset)
{
    struct Preset {
        uint32_t monthStyle, dateSep, order, timeStyle;
    };
    static const Preset presets[9] = {{1, 4, 0, 3}, {1, 2, 0, 3}, {1, 2, 3, 3},
                                      {1, 2, 5, 3}, {1, 1, 5, 3}, {2, 0, 0, 1},
                                      {3, 0, 0, 3}, {3, 3, 3, 3}, {3, 1, 5, 3}};
    if (preset < 0 || preset > 8)
        preset = 0;
    const Preset& p = presets[preset];
    return (1u << 28) | (p.monthStyle << 24) | (p.dateSep << 20) | (p.order << 16) | (1u << 13) |
           (1u << 12) | (p.timeStyle << 8) | (2u << 4) | 1u;
}

void DateTimeRecToText(const TDateTimeRec& rec, int preset, bool withSeconds, std::string& text)
{
    FormatDateRec(rec, DatePresetWord(preset) + (withSeconds ? 256u : 0u), text);
}

void DateRecToText(const TDateTimeRec& rec, int preset, std::string& text)
{
    FormatDateRec(rec, DatePresetWord(preset) & ~0xFFFu, text);
}

void DateRecToYMDText(const TDateTimeRec& rec, std::string& text) { DateRecToText(rec, 0, text); }

void TimeRecToText(const TDateTimeRec& rec, bool withSeconds, std::string& text)
{
    FormatDateRec(rec, withSeconds ? 1057u : 801u, text);
}

void TimeRecToHMText(const TDateTimeRec& rec, std::string& text) { TimeRecToText(rec, false, text); }

void ParseDHMS(const std::string& text, long double& days)
{
    static const char* const badFormat = "Invalid DHMS format ([Dd] hh:mm[:ss]).";
    std::string s = rtl::Trim(text);
    long double plain = 0;
    if (rtl::TryStrToFloat(s, plain)) {
        days = plain;
        return;
    }
    if (s.size() < 2)
        throw rtl::EConvertError(badFormat);

    long double sign = 1;
    if (s[0] == '-') {
        sign = -1;
        s.erase(0, 1);
    }
    long double d = 0;
    const int dPos = rtl::Pos("d", s);
    if (dPos > 0) {
        d = rtl::StrToInt(rtl::Trim(rtl::Copy(s, 1, dPos - 1)));
        s = rtl::Trim(rtl::Copy(s, dPos + 1));
    }

    int h = 0, m = 0, sec = 0;
    const int c1 = rtl::Pos(":", s);
    if (c1 == 0) {
        if (!s.empty())
            throw rtl::EConvertError(badFormat);
    } else {
        h = rtl::StrToInt(rtl::Copy(s, 1, c1 - 1));
        const std::string rest = rtl::Copy(s, c1 + 1);
        const int c2 = rtl::Pos(":", rest);
        if (c2 == 0) {
            m = rtl::StrToInt(rest);
        } else {
            m = rtl::StrToInt(rtl::Copy(rest, 1, c2 - 1));
            const std::string secText = rtl::Copy(rest, c2 + 1);
            sec = secText.empty() ? 0 : rtl::StrToInt(secText);
        }
        if (h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59)
            throw rtl::EConvertError(badFormat);
    }
    days = sign * (d + h / 24.0L + m / 1440.0L + sec / 86400.0L);
}

void FormatDHMS(std::string& text, long double days)
{
    int d = 0, h = 0, m = 0, s = 0;
    text = days < 0 ? "-" : "";
    SplitDayFraction(d, h, m, s, std::fabs(days));
    if (d > 0)
        text += rtl::IntToStr(d) + "d ";
    text += rtl::IntToStr(h) + ":" + PadLeft(rtl::IntToStr(m), 2) + ":" +
            PadLeft(rtl::IntToStr(s), 2);
}

} // namespace compute
