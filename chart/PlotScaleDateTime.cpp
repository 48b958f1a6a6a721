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
    const double s = (hi - lo) / FMinTicks;
    TLevel level;
    if (vertical) {
        if (s <= 1.0 / 8640000) level = TLevel::tooSmall;
        else if (s <= 1.0 / 86400) level = TLevel::hundredths;
        else if (s <= 1.0 / 1440) level = TLevel::seconds;
        else if (s <= 0.041667) level = TLevel::minutes;
        else if (s <= 1) level = TLevel::hours;
        else if (s <= 30) level = TLevel::days;
        else if (s <= 366) level = TLevel::months;
        else level = TLevel::years;
    } else {
        if (s <= 1.1574e-05) level = TLevel::tooSmall;
        else if (s <= 0.00069444) level = TLevel::seconds;
        else if (s <= 0.041667) level = TLevel::minutes;
        else if (s <= 1) level = TLevel::hours;
        else if (s <= 30) level = TLevel::days;
        else if (s <= 366) level = TLevel::months;
        else level = TLevel::years;
    }
    if (level == TLevel::tooSmall) {
        if (vertical) plan.Message = {"DateTime", "range is", "below 1", "second"};
        else plan.Message = {"DateTime range is below 1 second"};
        return;
    }

    const TDTLabel& fmt = *FDateFormat;
    const std::string DS = Quoted(fmt.DateSeparator()), TS = Quoted(fmt.TimeSeparator());
    const std::string mon = fmt.MonthName() ? "mmm" : "mm";
    const std::string yr = fmt.YearLength() == TYearLength::ylNone ? ""
                           : fmt.YearLength() == TYearLength::ylYY ? "yy"
                                                                    : "yyyy";
    const int majorLen = vertical ? kMajorVert : kMajorHoriz;

    auto add = [&](double w, bool major, std::string label, std::string dateLine = {}) {
        TPlannedTick t;
        t.Value = w;
        t.Kind = major ? TTickKind::tkMajor : TTickKind::tkMinor;
        t.Length = major ? majorLen : kMinor;
        t.Record = true;
        if (major) {
            t.Label = std::move(label);
            t.DateLine = std::move(dateLine);
        }
        plan.Ticks.push_back(std::move(t));
    };

    if (level == TLevel::hundredths || level == TLevel::seconds || level == TLevel::minutes ||
        level == TLevel::hours) {
        const TStepTable& tab = level == TLevel::hours     ? kHours
                                : level == TLevel::minutes ? kMinutes
                                : level == TLevel::seconds ? kSeconds
                                                           : kHundredths;
        const double U = tab.unitsPerDay;
        // Unit counts are compared with a tolerance of 1e-4 units: days
        // near 45000 carry rounding errors of that order in small units.
        constexpr double tol = 1e-4;
        int idx = 0;
        for (int i = 0; i < 6; ++i)
            if (tab.steps[i] <= s * U + tol) idx = i;
        const int k = tab.steps[idx];
        const double S = k / U, m = tab.minors[idx] / U;

        // The first multiple of k units after midnight of RangeLow's day.
        const double dayStart = std::floor(lo);
        const double fr = lo - dayStart;
        const long long e = static_cast<long long>(std::ceil(U * fr - tol));
        const long long pad = e % k != 0 ? k - e % k : 0;
        double w = dayStart + std::ceil(pad + U * fr - tol) / U;
        if (FShortTicks)
            while (w > lo) w -= m;

        std::string pattern;
        // Milliseconds are always written with three digits.
        const std::string frac = level == TLevel::hundredths ? ".zzz" : "";
        switch (fmt.TimeFormat()) {
        case TTimeFormat::tfHHMMSS:
            pattern = level == TLevel::hours || level == TLevel::minutes ? "hh" + TS + "nn"
                                                                        : "hh" + TS + "nn" + TS + "ss" + frac;
            break;
        case TTimeFormat::tfHHhMM:
            pattern = level == TLevel::hours     ? "h\"h\""
                      : level == TLevel::minutes ? "h\"h\"nn"
                                                 : "h\"h\"nn" + TS + "ss" + frac;
            break;
        case TTimeFormat::tfAMPM:
            pattern = level == TLevel::hours     ? "ham/pm"
                      : level == TLevel::minutes ? "h" + TS + "nnam/pm"
                                                 : "h" + TS + "nn\".\"ss" + frac + "am/pm";
            break;
        }
        std::string datePattern;
        switch (fmt.DateOrder()) {
        case TDateOrder::doDDMMYY: datePattern = "dd" + DS + mon + (yr.empty() ? "" : DS + yr); break;
        case TDateOrder::doYYMMDD: datePattern = (yr.empty() ? "" : yr + DS) + mon + DS + "dd"; break;
        case TDateOrder::doMMDDYY: datePattern = mon + DS + "dd" + (yr.empty() ? "" : DS + yr); break;
        }

        int lastDay = 0;
        bool firstMajor = true;
        for (int n = 0; n < kMaxTicks && w - hi < 1e-8; ++n) {
            if (w - lo > -1e-8) {
                const bool major = !FShortTicks || std::fabs(w / S - std::round(w / S)) <= 0.1;
                std::string dateLine;
                if (major && FLabelType != TFigType::ftNoFigs) {
                    int y, mo, d;
                    DecodeScaleDate(w, y, mo, d);
                    bool write = false;
                    switch (fmt.DateForTime()) {
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
                add(w, major, FLabelType == TFigType::ftNoFigs ? "" : FormatValue(pattern, w),
                    std::move(dateLine));
            }
            w += FShortTicks ? m : S;
        }
        return;
    }

    if (level == TLevel::days) {
        int n = 1;
        for (int c : {28, 14, 7, 3, 2, 1})
            if (c <= s) { n = c; break; }
        const int minor = n == 14 || n == 28 ? 7 : 1;
        int y, mo, d;
        DecodeScaleDate(lo, y, mo, d);
        const double J = rtl::EncodeDate(std::max(y, 1), 1, 1);
        double w = J + n * (static_cast<long long>(std::trunc(lo - J)) / n);
        const long long ph = std::llround(w) % n;
        std::string pattern;
        switch (fmt.DateOrder()) {
        case TDateOrder::doMMDDYY: pattern = mon + DS + "dd" + DS + yr; break;
        case TDateOrder::doDDMMYY: pattern = "dd" + DS + mon + DS + yr; break;
        case TDateOrder::doYYMMDD: pattern = yr + DS + mon + DS + "dd"; break;
        }
        for (int i = 0; i < kMaxTicks && w - hi < 1e-8; ++i) {
            if (w - lo > -1e-8) {
                const bool major = !(FShortTicks && std::llround(w) % n != ph);
                add(w, major, FLabelType == TFigType::ftNoFigs ? "" : FormatValue(pattern, w));
            }
            w += FShortTicks ? minor : n;
        }
        return;
    }

    if (level == TLevel::months) {
        const double a = (hi - lo) / 30.4375 / FMinTicks;
        int k = 1;
        for (int c : {6, 4, 3, 2, 1})
            if (c <= a) { k = c; break; }
        int y, mo, d;
        DecodeScaleDate(lo, y, mo, d);
        y = std::max(y, 1);
        mo = std::max(mo, 1);
        auto advance = [&](int by) {
            mo += by;
            while (mo > 12) { mo -= 12; ++y; }
        };
        if (k > 1 && !FShortTicks) {
            do advance(1);
            while (mo % k != 1);
        }
        const std::string pattern = fmt.DateOrder() == TDateOrder::doYYMMDD ? yr + DS + mon : mon + DS + yr;
        for (int i = 0; i < kMaxTicks && y <= 9999; ++i) {
            const double w = rtl::EncodeDate(y, mo, 1);
            if (!(w - hi < 1e-8)) break;
            if (w >= lo) {
                const bool major = !(FShortTicks && k != 1 && mo % k != 1);
                add(w, major, FLabelType == TFigType::ftNoFigs ? "" : FormatValue(pattern, w));
            }
            advance(FShortTicks ? 1 : k);
        }
        return;
    }

    // Years.
    double a = (hi - lo) / 365.25 / FMinTicks;
    if (a < 1) a = 1;
    const double L = std::log10(a);
    const double M = std::pow(10.0, L - std::trunc(L));
    const int g = M >= 5 ? 5 : M >= 2 ? 2 : 1;
    const int Y = static_cast<int>(std::llround(g * std::trunc(std::pow(10.0, std::trunc(L)))));
    int ystep = Y;
    if (FShortTicks && Y > 1) ystep = static_cast<int>(std::llround(g == 5 ? Y / 5.0 : Y / 2.0));
    ystep = std::max(ystep, 1);
    int y, mo, d;
    DecodeScaleDate(lo, y, mo, d);
    y = std::max(y, 1);
    int year = (y + ystep - 1) / ystep * ystep;
    if (year == y && lo > rtl::EncodeDate(y, 1, 1)) year += ystep;
    for (int i = 0; i < kMaxTicks; ++i) {
        const bool last = year > 9999;
        const double w = last ? rtl::EncodeDate(9999, 12, 31) : rtl::EncodeDate(year, 1, 1);
        if (!(w - hi < 1e-8)) break;
        const bool major = !(FShortTicks && year % Y != 0);
        std::string label;
        if (major && FLabelType != TFigType::ftNoFigs) {
            if (fmt.YearLength() == TYearLength::ylYY) {
                label = FormatValue("yy", w);
            } else if (fmt.YearLength() == TYearLength::ylYYYY) {
                label = FormatValue("yyyy", w);
                const std::size_t nz = label.find_first_not_of('0');
                label = nz == std::string::npos ? "0" : label.substr(nz);
            }
        }
        add(w, major, std::move(label));
        if (last) break;
        year += ystep;
    }
}

} // namespace chart
