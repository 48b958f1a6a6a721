#include "platform/rtl/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace rtl {

namespace {
// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr int64_t kDelta = 693594;
constexpr double kMSecsPerDay = 86400000.0;

int64_t DaysBeforeYear(int64_t y)  // days from 0001-01-01 to y-01-01
{
    --y;
    return y * 365 + y / 4 - y / 100 + y / 400;
}
} // namespace

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    days += day - 1;
    // days counts from 0001-01-01; TDateTime 0 is 1899-12-30.
    result = static_cast<double>(days - kDelta + 1);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r)) throw EConvertError("Invalid argument to date encode");
    return r;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    result = (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / kMSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r)) throw EConvertError("Invalid argument to time encode");
    return r;
}

// Splits a date-time into whole days since 1899-12-30 and milliseconds of
// the day.  Negative values count days backwards with a positive time of
// day (-1.25 is 1899-12-29 06:00), as the original date type does.
static void Split(TDateTime dt, int64_t& days, int64_t& msec)
{
    double whole = std::trunc(dt);
    double frac = std::fabs(dt - whole);
    days = static_cast<int64_t>(whole);
    msec = static_cast<int64_t>(std::llround(frac * kMSecsPerDay));
    if (msec >= static_cast<int64_t>(kMSecsPerDay)) {
        msec -= static_cast<int64_t>(kMSecsPerDay);
        days += dt < 0 ? -1 : 1;
    }
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    int64_t days, msec;
    Split(dt, days, msec);
    int64_t n = days + kDelta - 1;  // days since 0001-01-01
    if (n < 0 || n > 3652058) {
        year = month = day = 0;
        return;
    }
    int64_t y = 1;
    int64_t n400 = n / 146097; n %= 146097; y += n400 * 400;
    int64_t n100 = n / 36524; if (n100 == 4) n100 = 3; n -= n100 * 36524; y += n100 * 100;
    int64_t n4 = n / 1461; n %= 1461; y += n4 * 4;
    int64_t n1 = n / 365; if (n1 == 4) n1 = 3; n -= n1 * 365; y += n1;
    year = static_cast<int>(y);
    month = 1;
    while (n >= DaysInMonth(year, month)) {
        n -= DaysInMonth(year, month);
        ++month;
    }
    day = static_cast<int>(n) + 1;
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec)
{
    int64_t days, ms;
    Split(dt, days, ms);
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime dt)
{
    int64_t days, ms;
    Split(dt, days, ms);
    // 1899-12-30 was a Saturday (7).
    int64_t d = ((days + 6) % 7 + 7) % 7;  // 0 = Sunday
    return static_cast<int>(d) + 1;
}

TDateTime UnixToDateTime(int64_t seconds) { return 25569.0 + static_cast<double>(seconds) / 86400.0; }

int64_t DateTimeToUnix(TDateTime dt) { return std::llround((dt - 25569.0) * 86400.0); }

TDateTime NowUTC()
{
    auto now = std::chrono::system_clock::now().time_since_epoch();
    double ms = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    return 25569.0 + ms / kMSecsPerDay;
}

TDateTime Now()
{
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tmLocal{};
    localtime_r(&t, &tmLocal);
    double ms = static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDate(tmLocal.tm_year + 1900, tmLocal.tm_mon + 1, tmLocal.tm_mday) +
           EncodeTime(tmLocal.tm_hour, tmLocal.tm_min, tmLocal.tm_sec, static_cast<int>(ms));
}

TDateTime Date() { return std::floor(Now()); }

std::string FormatDateTime(std::string_view f, TDateTime dt)
{
    const TFormatSettings& fs = FormatSettings();
    int y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    std::string out;
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    bool lastWasHour = false;
    // Whether an am/pm marker appears anywhere: then hours are 12-hour.
    std::string lower = LowerCase(f);
    bool twelve = lower.find("am/pm") != std::string::npos || lower.find("a/p") != std::string::npos ||
                  lower.find("ampm") != std::string::npos;
    std::size_t i = 0;
    while (i < f.size()) {
        char c = f[i];
        char lc = static_cast<char>(c | 0x20);
        std::size_t run = 1;
        while (i + run < f.size() && (f[i + run] | 0x20) == lc) ++run;
        if (c == '"' || c == '\'') {
            std::size_t j = f.find(c, i + 1);
            if (j == std::string_view::npos) j = f.size();
            out.append(f.substr(i + 1, j - i - 1));
            i = j + 1;
            continue;
        }
        switch (lc) {
        case 'y':
            out += run <= 2 ? two(y % 100) : [&] {
                std::string t = std::to_string(y);
                while (t.size() < 4) t.insert(0, "0");
                return t;
            }();
            lastWasHour = false;
            break;
        case 'm':
            if (lastWasHour && run <= 2) {
                out += run == 1 ? std::to_string(mi) : two(mi);
            } else if (run == 1) out += std::to_string(mo);
            else if (run == 2) out += two(mo);
            else if (run == 3) out += fs.ShortMonthNames[mo - 1];
            else out += fs.LongMonthNames[mo - 1];
            lastWasHour = false;
            break;
        case 'd':
            if (run == 1) out += std::to_string(d);
            else if (run == 2) out += two(d);
            else if (run == 3) out += fs.ShortDayNames[DayOfWeek(dt) - 1];
            else if (run == 4) out += fs.LongDayNames[DayOfWeek(dt) - 1];
            else if (run == 5) out += FormatDateTime(fs.ShortDateFormat, dt);
            else out += FormatDateTime(fs.LongDateFormat, dt);
            lastWasHour = false;
            break;
        case 'h': {
            int hh = h;
            if (twelve) {
                hh = h % 12;
                if (hh == 0) hh = 12;
            }
            out += run == 1 ? std::to_string(hh) : two(hh);
            lastWasHour = true;
            i += std::min<std::size_t>(run, 2);
            continue;
        }
        case 'n':
            out += run == 1 ? std::to_string(mi) : two(mi);
            lastWasHour = false;
            break;
        case 's':
            out += run == 1 ? std::to_string(s) : two(s);
            lastWasHour = false;
            break;
        case 'z': {
            std::string t = std::to_string(ms);
            if (run >= 3) while (t.size() < 3) t.insert(0, "0");
            out += t;
            break;
        }
        case 'a': {
            std::string rest = LowerCase(f.substr(i, 5));
            if (rest == "am/pm") {
                out += h < 12 ? fs.TimeAMString : fs.TimePMString;
                i += 5;
            } else if (rest.substr(0, 3) == "a/p") {
                out += h < 12 ? "a" : "p";
                i += 3;
            } else if (rest.substr(0, 4) == "ampm") {
                out += h < 12 ? fs.TimeAMString : fs.TimePMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        case 'c':
            out += FormatDateTime(fs.ShortDateFormat, dt);
            if (h || mi || s) out += " " + FormatDateTime(fs.LongTimeFormat, dt);
            break;
        case 't':
            out += FormatDateTime(run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt);
            break;
        default:
            if (c == '/') out.append(run, fs.DateSeparator);
            else if (c == ':') out.append(run, fs.TimeSeparator);
            else out.append(run, c);
            break;
        }
        i += run;
    }
    return out;
}

std::string DateToStr(TDateTime dt) { return FormatDateTime(FormatSettings().ShortDateFormat, dt); }
std::string TimeToStr(TDateTime dt) { return FormatDateTime(FormatSettings().LongTimeFormat, dt); }
std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }

} // namespace rtl
