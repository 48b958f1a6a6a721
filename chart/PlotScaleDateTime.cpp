// The tick plan of the date-time scale: values are days since 1899-12-30
// 00:00; ticks fall on whole years, months, days, hours, minutes, seconds
// or hundredths of a second, chosen by the range per MinTicks interval.

#include <algorithm>
#include <cmath>

#include "chart/PlotScale.h"
#include "chart/PlotUtils.h"
#include "platform/rtl/DateTime.h"

namespace chart {

namespace {

constexpr int kMaxTicks = 20000;
constexpr int kMajorHoriz = 7, kMajorVert = 6, kMinor = 4;

struct TStepTable {
    double unitsPerDay;
    int steps[6];
    int minors[6];
};

constexpr TStepTable kHours{24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}};
constexpr TStepTable kMinutes{1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TStepTable kSeconds{86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TStepTable kHundredths{8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}};

enum class TLevel { tooSmall, hundredths, seconds, minutes, hours, days, months, years };

std::string Quoted(char c) { return std::string("\"") + c + "\""; }

// Formats a scale value with a pattern; "am/pm" writes a lower-case suffix.
std::string FormatValue(const std::string& pattern, double v)
{
    std::string text = rtl::FormatDateTime(pattern, DateTimeScaleValueToDateTime(v));
    if (pattern.size() >= 5 && pattern.compare(pattern.size() - 5, 5, "am/pm") == 0) {
        const rtl::TFormatSettings& fs = rtl::FormatSettings();
        for (const std::string* s : {&fs.TimeAMString, &fs.TimePMString}) {
            if (text.size() >= s->size() && text.compare(text.size() - s->size(), s->size(), *s) == 0) {
                text.resize(text.size() - s->size());
                text += s == &fs.TimeAMString ? "am" : "pm";
                break;
            }
        }
    }
    return text;
}

void DecodeScaleDate(double v, int& year, int& month, int& day)
{
    rtl::DecodeDate(DateTimeScaleValueToDateTime(v), year, month, day);
}

} // namespace

double DateTimeScaleValueToDateTime(double v)
{
    if (std::fabs(v) < 1e-8) return 0;
    if (v >= 0) return v;
    const double f = v - std::trunc(v);
    // Just below a whole day counts as that day's midnight.
    if (f > -1e-8) return std::trunc(v);
    return std::floor(v) - f - 1;
}

namespace {

// The interval level from the range per aimed interval (s days): vertical
// scales go down to hundredths of a second, horizontal ones to seconds.
TLevel DateTimeLevel(double s, bool vertical)
{
    if (vertical) {
        if (s <= 1.0 / 8640000) return TLevel::tooSmall;
        if (s <= 1.0 / 86400) return TLevel::hundredths;
        if (s <= 1.0 / 1440) return TLevel::seconds;
    } else {
        if (s <= 1.1574e-05) return TLevel::tooSmall;
        if (s <= 0.00069444) return TLevel::seconds;
    }
    if (s <= 0.041667) return TLevel::minutes;
    if (s <= 1) return TLevel::hours;
    if (s <= 30) return TLevel::days;
    if (s <= 366) return TLevel::months;
    return TLevel::years;
}

// Plans the ticks of one level over [Lo, Hi]; S is the range per aimed
// interval in days. Every tick is recorded; major ticks carry the label.
struct TDateTimePlanner {
    TTickPlan& Plan;
    const TDTLabel& Fmt;
    double Lo, Hi, S;
    int MinTicks;
    bool ShortTicks;
    bool NoLabels;   // LabelType ftNoFigs
    int MajorLen;
    std::string DS, TS, Mon, Yr;   // date and time separators, month and year patterns

    TDateTimePlanner(TTickPlan& plan, const TDTLabel& fmt, double lo, double hi, int minTicks, bool shortTicks,
                     bool noLabels, bool vertical)
        : Plan(plan), Fmt(fmt), Lo(lo), Hi(hi), S((hi - lo) / minTicks), MinTicks(minTicks), ShortTicks(shortTicks),
          NoLabels(noLabels), MajorLen(vertical ? kMajorVert : kMajorHoriz), DS(Quoted(fmt.DateSeparator())),
          TS(Quoted(fmt.TimeSeparator())), Mon(fmt.MonthName() ? "mmm" : "mm"),
          Yr(fmt.YearLength() == TYearLength::ylNone ? ""
             : fmt.YearLength() == TYearLength::ylYY ? "yy"
                                                     : "yyyy")
    {
    }

    void Add(double w, bool major, std::string label, std::string dateLine = {})
    {
        TPlannedTick t;
        t.Value = w;
        t.Kind = major ? TTickKind::tkMajor : TTickKind::tkMinor;
        t.Length = major ? MajorLen : kMinor;
        t.Record = true;
        if (major) {
            t.Label = std::move(label);
            t.DateLine = std::move(dateLine);
        }
        Plan.Ticks.push_back(std::move(t));
    }

    std::string Label(const std::string& pattern, double w) const { return NoLabels ? "" : FormatValue(pattern, w); }

    void PlanClock(TLevel level);
    std::string ClockPattern(TLevel level) const;
    std::string ClockDatePattern() const;
    void PlanDays();
    void PlanMonths();
    void PlanYears();
};

// Hours down to hundredths: the largest step of the level's table that
// fits the range per interval, ticks on multiples of it counted from
// midnight (every minor step with short ticks), and the date written under
// the time as DateForTime asks.
void TDateTimePlanner::PlanClock(TLevel level)
{
    const TStepTable& tab = level == TLevel::hours     ? kHours
                            : level == TLevel::minutes ? kMinutes
                            : level == TLevel::seconds ? kSeconds
                                                       : kHundredths;
    const double U = tab.unitsPerDay;
    // Unit counts are compared with a tolerance of 1e-4 units: days near
    // 45000 carry rounding errors of that order in small units.
    constexpr double tol = 1e-4;
    int idx = 0;
    for (int i = 0; i < 6; ++i)
        if (tab.steps[i] <= S * U + tol) idx = i;
    const int k = tab.steps[idx];
    const double step = k / U, minorStep = tab.minors[idx] / U;

    // The first multiple of k units after midnight of Lo's day; short ticks
    // start a minor step or more before Lo.
    const double dayStart = std::floor(Lo);
    const double fr = Lo - dayStart;
    const long long e = static_cast<long long>(std::ceil(U * fr - tol));
    const long long pad = e % k != 0 ? k - e % k : 0;
    double w = dayStart + std::ceil(pad + U * fr - tol) / U;
    if (ShortTicks)
        while (w > Lo) w -= minorStep;

    const std::string pattern = ClockPattern(level), datePattern = ClockDatePattern();
    int lastDay = 0;
    bool firstMajor = true;
    for (int n = 0; n < kMaxTicks && w - Hi < 1e-8; ++n) {
        if (w - Lo > -1e-8) {
            const bool major = !ShortTicks || std::fabs(w / step - std::round(w / step)) <= 0.1;
            std::string dateLine;
            if (major && !NoLabels) {
                int y, mo, d;
                DecodeScaleDate(w, y, mo, d);
                bool write = false;
                switch (Fmt.DateForTime()) {
                case TDateForTime::dtNone: break;
                case TDateForTime::dtOnePerChart: write = firstMajor; break;
                case TDateForTime::dtOnePerDay: write = d != lastDay; break;
                case TDateForTime::dtAllTicks: write = true; break;
                }
                if (write) {
                    dateLine = FormatValue(datePattern, w);
                    lastDay = d;
                }
            }
            if (major) firstMajor = false;
            Add(w, major, Label(pattern, w), std::move(dateLine));
        }
        w += ShortTicks ? minorStep : step;
    }
}

// The time label by TimeFormat: hours and minutes for the hour and minute
// levels, seconds below (milliseconds always with three digits).
std::string TDateTimePlanner::ClockPattern(TLevel level) const
{
    const bool coarse = level == TLevel::hours || level == TLevel::minutes;
    const std::string frac = level == TLevel::hundredths ? ".zzz" : "";
    switch (Fmt.TimeFormat()) {
    case TTimeFormat::tfHHMMSS: return coarse ? "hh" + TS + "nn" : "hh" + TS + "nn" + TS + "ss" + frac;
    case TTimeFormat::tfHHhMM:
        return level == TLevel::hours     ? "h\"h\""
               : level == TLevel::minutes ? "h\"h\"nn"
                                          : "h\"h\"nn" + TS + "ss" + frac;
    case TTimeFormat::tfAMPM:
        return level == TLevel::hours     ? "ham/pm"
               : level == TLevel::minutes ? "h" + TS + "nnam/pm"
                                          : "h" + TS + "nn\".\"ss" + frac + "am/pm";
    }
    return {};
}

// The date line under a time label, in DateOrder (the year left out when
// YearLength is ylNone).
std::string TDateTimePlanner::ClockDatePattern() const
{
    switch (Fmt.DateOrder()) {
    case TDateOrder::doDDMMYY: return "dd" + DS + Mon + (Yr.empty() ? "" : DS + Yr);
    case TDateOrder::doYYMMDD: return (Yr.empty() ? "" : Yr + DS) + Mon + DS + "dd";
    case TDateOrder::doMMDDYY: return Mon + DS + "dd" + (Yr.empty() ? "" : DS + Yr);
    }
    return {};
}

// Days: steps of 28, 14, 7, 3, 2 or 1 days counted from 1 January of Lo's
// year; minor ticks every 7 days for 14 and 28, every day otherwise.
void TDateTimePlanner::PlanDays()
{
    int n = 1;
    for (int c : {28, 14, 7, 3, 2, 1})
        if (c <= S) {
            n = c;
            break;
        }
    const int minor = n == 14 || n == 28 ? 7 : 1;
    int y, mo, d;
    DecodeScaleDate(Lo, y, mo, d);
    const double J = rtl::EncodeDate(std::max(y, 1), 1, 1);
    double w = J + n * (static_cast<long long>(std::trunc(Lo - J)) / n);
    const long long ph = std::llround(w) % n;
    std::string pattern;
    switch (Fmt.DateOrder()) {
    case TDateOrder::doMMDDYY: pattern = Mon + DS + "dd" + DS + Yr; break;
    case TDateOrder::doDDMMYY: pattern = "dd" + DS + Mon + DS + Yr; break;
    case TDateOrder::doYYMMDD: pattern = Yr + DS + Mon + DS + "dd"; break;
    }
    for (int i = 0; i < kMaxTicks && w - Hi < 1e-8; ++i) {
        if (w - Lo > -1e-8) {
            const bool major = !(ShortTicks && std::llround(w) % n != ph);
            Add(w, major, Label(pattern, w));
        }
        w += ShortTicks ? minor : n;
    }
}

// Months: steps of 6, 4, 3, 2 or 1 months on the first of a month; without
// short ticks the first tick is the next month that starts a step.
void TDateTimePlanner::PlanMonths()
{
    const double a = (Hi - Lo) / 30.4375 / MinTicks;
    int k = 1;
    for (int c : {6, 4, 3, 2, 1})
        if (c <= a) {
            k = c;
            break;
        }
    int y, mo, d;
    DecodeScaleDate(Lo, y, mo, d);
    y = std::max(y, 1);
    mo = std::max(mo, 1);
    auto advance = [&](int by) {
        mo += by;
        while (mo > 12) {
            mo -= 12;
            ++y;
        }
    };
    if (k > 1 && !ShortTicks) {
        do advance(1);
        while (mo % k != 1);
    }
    const std::string pattern = Fmt.DateOrder() == TDateOrder::doYYMMDD ? Yr + DS + Mon : Mon + DS + Yr;
    for (int i = 0; i < kMaxTicks && y <= 9999; ++i) {
        const double w = rtl::EncodeDate(y, mo, 1);
        if (!(w - Hi < 1e-8)) break;
        if (w >= Lo) {
            const bool major = !(ShortTicks && k != 1 && mo % k != 1);
            Add(w, major, Label(pattern, w));
        }
        advance(ShortTicks ? 1 : k);
    }
}

// Years: a step of 1, 2 or 5 times a power of ten (a fifth or half of it
// with short ticks) on 1 January; past 9999 one last tick on 31 December
// 9999. Four-digit labels drop leading zeros.
void TDateTimePlanner::PlanYears()
{
    double a = (Hi - Lo) / 365.25 / MinTicks;
    if (a < 1) a = 1;
    const double L = std::log10(a);
    const double M = std::pow(10.0, L - std::trunc(L));
    const int g = M >= 5 ? 5 : M >= 2 ? 2 : 1;
    const int Y = static_cast<int>(std::llround(g * std::trunc(std::pow(10.0, std::trunc(L)))));
    int ystep = Y;
    if (ShortTicks && Y > 1) ystep = static_cast<int>(std::llround(g == 5 ? Y / 5.0 : Y / 2.0));
    ystep = std::max(ystep, 1);
    int y, mo, d;
    DecodeScaleDate(Lo, y, mo, d);
    y = std::max(y, 1);
    int year = (y + ystep - 1) / ystep * ystep;
    if (year == y && Lo > rtl::EncodeDate(y, 1, 1)) year += ystep;
    for (int i = 0; i < kMaxTicks; ++i) {
        const bool last = year > 9999;
        const double w = last ? rtl::EncodeDate(9999, 12, 31) : rtl::EncodeDate(year, 1, 1);
        if (!(w - Hi < 1e-8)) break;
        const bool major = !(ShortTicks && year % Y != 0);
        std::string label;
        if (major && !NoLabels) {
            if (Fmt.YearLength() == TYearLength::ylYY) {
                label = FormatValue("yy", w);
            } else if (Fmt.YearLength() == TYearLength::ylYYYY) {
                label = FormatValue("yyyy", w);
                const std::size_t nz = label.find_first_not_of('0');
                label = nz == std::string::npos ? "0" : label.substr(nz);
            }
        }
        Add(w, major, std::move(label));
        if (last) break;
        year += ystep;
    }
}

} // namespace

// The range is checked (a message instead of ticks when it is out of the
// calendar's span or below a second per interval), then the level's
// planner lays out the ticks.
void TScale::PlanDateTime(TTickPlan& plan) const
{
    plan.CalendarLabels = true;
    // Without an aim for the number of intervals there is no level: no ticks.
    if (FMinTicks == 0) return;
    const double lo = FRangeLow, hi = FRangeHigh;
    const bool vertical = IsVerticalScale(FScaleType);
    if (!(hi >= lo && lo >= -693593 && hi <= 3000000)) {
        if (vertical) plan.Message = {"invalid", "DateTime", "scale"};
        else plan.Message = {"invalid DateTime scale"};
        return;
    }
    const TLevel level = DateTimeLevel((hi - lo) / FMinTicks, vertical);
    if (level == TLevel::tooSmall) {
        if (vertical) plan.Message = {"DateTime", "range is", "below 1", "second"};
        else plan.Message = {"DateTime range is below 1 second"};
        return;
    }
    TDateTimePlanner planner(plan, *FDateFormat, lo, hi, FMinTicks, FShortTicks, FLabelType == TFigType::ftNoFigs,
                             vertical);
    switch (level) {
    case TLevel::days: planner.PlanDays(); break;
    case TLevel::months: planner.PlanMonths(); break;
    case TLevel::years: planner.PlanYears(); break;
    default: planner.PlanClock(level); break;
    }
}

} // namespace chart
