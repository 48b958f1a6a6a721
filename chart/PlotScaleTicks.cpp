// The tick plans of numeric, logarithmic and time-of-day scales, and the
// label texts they share.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "chart/PlotScale.h"
#include "chart/PlotUtils.h"

namespace chart {

namespace {

// Bounds every tick loop: a range of a million units with MinTicks 0, or
// limits that rounding keeps from being reached, must not stall the paint.
constexpr int kMaxTicksPerPass = 20000;

constexpr int kMajorHoriz = 7, kMajorVert = 6, kMinor = 4;

// Seconds per major interval of the time scale (index 0 unused) and the
// minor intervals of each.
constexpr double kTimeIntervals[29] = {0,    0.001, 0.002, 0.005, 0.01, 0.02,  0.05,  0.1,   0.2, 0.5,
                                       1,    2,     5,     10,    20,   30,    60,    120,   180, 300,
                                       600,  1200,  1800,  3600,  7200, 14400, 21600, 43200, 86400};
constexpr int kTimeMinors[28] = {0, 5, 4, 5, 5, 4, 5, 5, 4, 5, 5, 4, 5, 5,
                                 4, 6, 6, 6, 6, 5, 5, 6, 6, 6, 4, 4, 6, 6};

std::string TwoDigits(long long v) { return (v < 10 ? "0" : "") + std::to_string(v); }

} // namespace

// ---------------------------------------------------------- label texts

std::string FormatNumber(double v, int decimals)
{
    char buf[400];
    if (decimals >= 0) {
        std::snprintf(buf, sizeof buf, "%.*f", std::min(decimals, 30), v);
        std::string s = buf;
        // A value that rounds to zero carries no sign.
        if (s[0] == '-' && s.find_first_of("123456789") == std::string::npos) s.erase(0, 1);
        return s;
    }
    std::snprintf(buf, sizeof buf, "%.1E", std::fabs(v));
    std::string s = buf;   // d.dE+xx
    const std::size_t e = s.find('E');
    const std::string mantissa = s.substr(0, e);
    const char expSign = s[e + 1];
    std::string digits = s.substr(e + 2);
    while (digits.size() < 4) digits.insert(0, "0");
    std::string text = std::string(v >= 0 ? " " : "-") + mantissa + "E" + expSign + digits;
    if (digits.size() == 4 && digits[0] == '0' && digits[1] == '0') {
        text = std::string(v >= 0 ? " " : "-") + mantissa + "E" + expSign + digits.substr(2);
    } else {
        std::fill(text.begin(), text.end(), '*');
    }
    return text;
}

int AutoDecimals(int decPlaces, double rangeHigh, double rangeLow)
{
    if (decPlaces != -2 && decPlaces != -3) return decPlaces;
    const double d = std::fabs(rangeHigh - rangeLow);
    if (!(d < 1e6 && d > 1e-4)) return -1;   // also a range that is not a number
    if (d >= 100) return 0;
    return 2 - static_cast<int>(std::nearbyint(std::log(d) / 2.5));
}

int AutoDecimalsLog(int decPlaces, double lo, double hi)
{
    if (decPlaces != -2) return decPlaces;
    if (!(hi - lo < 1e6 && hi - lo > 1e-4)) return -1;
    if (lo >= 1) return 0;
    if (!(lo > 0)) return -1;
    return 1 - static_cast<int>(std::nearbyint(std::log10(lo)));
}

std::string UserTickItem(const std::string& text, int n)
{
    if (n <= 0) return {};
    std::size_t start = 0;
    for (int i = 1;; ++i) {
        const std::size_t bar = text.find('|', start);
        if (i == n || bar == std::string::npos)
            return text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        start = bar + 1;
    }
}

std::string InscribeLabel(const std::string& inscription, const std::string& label)
{
    if (label.empty()) return {};
    const std::size_t amp = inscription.find('&');
    if (amp == std::string::npos) return inscription + label;
    return inscription.substr(0, amp) + label + inscription.substr(amp + 1);
}

std::string SecondsToTimeText(double seconds, bool withMilliseconds)
{
    const std::string sign = seconds >= 0 ? " " : "-";
    const double s = std::fabs(seconds);
    long long h, m, sec, ms = 0;
    if (withMilliseconds) {
        // Whole milliseconds first, so that 0.9999999 s reads 00:00:01.000
        // and not 00:00:00 with a thousand milliseconds.
        const long long total = std::llround(s * 1000);
        ms = total % 1000;
        sec = total / 1000 % 60;
        m = total / 60000 % 60;
        h = total / 3600000;
    } else {
        h = static_cast<long long>(s / 3600);
        m = static_cast<long long>((s - h * 3600.0) / 60);
        sec = static_cast<long long>(s - h * 3600.0 - m * 60.0);
    }
    std::string text = sign + TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(sec);
    if (withMilliseconds) {
        char buf[8];
        std::snprintf(buf, sizeof buf, ".%03lld", ms);
        text += buf;
    }
    return text;
}

// ---------------------------------------------------------- tick plans

void TScale::AddTick(TTickPlan& plan, double value, TTickKind kind, int length, bool record,
                     std::string label) const
{
    TPlannedTick t;
    t.Value = value;
    t.Kind = kind;
    t.Length = length;
    t.Record = record;
    t.Label = std::move(label);
    plan.Ticks.push_back(std::move(t));
}

void TScale::PlanLinear(TTickPlan& plan) const
{
    const double lo = FRangeLow, hi = FRangeHigh;
    long double first, step;
    uint16_t subTicks;
    CalcTickSpacing(FMinTicks, lo, hi, first, step, subTicks);
    if (step == 0) return;
    const double dir = hi > lo ? 1 : -1;
    if (FMinTicks == 0) {
        // A tick at every unit, stepping the way the range runs.
        step = dir;
        first = dir > 0 ? std::ceil(lo - 0.001) : std::floor(lo + 0.001);
    }
    const bool vertical = IsVerticalScale(FScaleType);
    const double m = static_cast<double>(step) / subTicks;

    if (FShortTicks) {
        const double s0 = static_cast<double>(first - step);
        for (int n = 0; n < kMaxTicksPerPass; ++n) {
            const double v = s0 + n * m;
            if (dir * v >= dir * lo) AddTick(plan, v, TTickKind::tkMinor, kMinor, true);
            if (!((s0 + (n + 1) * m - hi) * dir <= 0.001 * std::fabs(m))) break;
        }
    }

    const int decimals = AutoDecimals(FDecPlaces, hi, lo);
    const double span = hi - lo;
    for (int n = 0; n < kMaxTicksPerPass; ++n) {
        const double v = static_cast<double>(first + n * step);
        std::string text;
        if (FLabelType != TFigType::ftNoFigs) {
            if (std::fabs(v / span) < 1e-14)
                text = std::fabs(span) <= 100000 ? FormatNumber(0, decimals) : decimals != 0 ? "0.0" : "0";
            else
                text = FormatNumber(v, decimals);
            if (text.size() > 14) text.resize(14);
            if (FDecPlaces == 0 && std::fabs(v - std::round(v)) > 1e-6) text.clear();
            if (FLabelType == TFigType::ftUserText) text = UserTickItem(FUserTickText, n + 1);
            else text = Inscribe(text);
        }
        AddTick(plan, v, TTickKind::tkMajor, vertical ? kMajorVert : kMajorHoriz,
                vertical || !FShortTicks, std::move(text));
        if (!((static_cast<double>(first + (n + 1) * step) - hi) * dir <= 0.001 * std::fabs(static_cast<double>(step))))
            break;
    }
}

void TScale::PlanLog(TTickPlan& plan) const
{
    const double lo = std::min(FRangeLow, FRangeHigh), hi = std::max(FRangeLow, FRangeHigh);
    // A logarithmic flag taken while loading may meet a limit at or below
    // zero: there are no decades to count then.
    if (!(lo >= 1e-100)) {
        PlanLinear(plan);
        return;
    }
    const double decades = std::fabs(std::log(FRangeHigh / FRangeLow) / std::log(10.0));
    if (decades < 1) {
        PlanLinear(plan);
        return;
    }
    const bool dense = FMinTicks > decades + 0.5;
    const bool vertical = IsVerticalScale(FScaleType);
    const int decimals = AutoDecimalsLog(FDecPlaces, lo, hi);
    const double e = std::pow(10.0, std::floor(std::log10(lo * 0.999999999)));
    int labelled = 0;

    auto tick = [&](int i, double em, bool withLabel, bool announceOnly) {
        const double v = i * em;
        if (!(lo < v / 0.999999999 && hi > v * 0.999999999)) return;
        if (announceOnly) {
            AddTick(plan, v, TTickKind::tkAnnounce, 0, false);
            return;
        }
        if (!withLabel) {
            AddTick(plan, v, TTickKind::tkMinor, vertical ? kMajorVert : kMinor, true);
            return;
        }
        std::string text;
        if (FLabelType != TFigType::ftNoFigs) {
            ++labelled;
            if (FDecPlaces == -3) {
                if (i == 1) text = std::to_string(static_cast<long long>(std::llround(std::log10(em))));
            } else {
                text = FormatNumber(v, decimals);
            }
            if (text.size() > 14) text.resize(14);
            if (FDecPlaces == -2 && text.find('.') != std::string::npos &&
                text.find_first_of("eE") == std::string::npos) {
                while (!text.empty() && text.back() == '0') text.pop_back();
                if (!text.empty() && text.back() == '.') text.pop_back();
            }
            if (FLabelType == TFigType::ftUserText) text = UserTickItem(FUserTickText, labelled);
            else text = Inscribe(text);
        }
        AddTick(plan, v, TTickKind::tkMajor, vertical ? kMajorVert : kMajorHoriz, true, std::move(text));
    };

    double mult = 1;
    for (int guard = 0; guard < kMaxTicksPerPass; ++guard) {
        const double em = e * mult;
        tick(1, em, true, false);
        if (dense) {
            for (int i = 2; i <= 9; ++i) {
                if (i == 2 || i == 5) tick(i, em, true, false);
                else if (FShortTicks) tick(i, em, false, false);
                else if (!vertical) tick(i, em, false, true);
            }
        }
        mult *= 10;
        if (!(hi >= 0.999999999 * e * mult)) break;
    }
}

bool TScale::PlanTime(TTickPlan& plan) const
{
    // Without an aim for the number of intervals there is no interval to
    // choose: no ticks.
    if (FMinTicks == 0) return true;
    const double lo = FRangeLow, hi = FRangeHigh;
    const double raw = std::fabs(hi - lo) / FMinTicks;
    int a = 28;
    while (raw < kTimeIntervals[a] && a > 0) --a;
    if (a == 28 || a == 0) return false;

    const bool vertical = IsVerticalScale(FScaleType);
    const double dir = hi > lo ? 1 : -1;
    const double S = dir * kTimeIntervals[a];
    const double m = S / kTimeMinors[a];
    const long long count = static_cast<long long>((hi - lo) / m) + 5;
    const double t = std::trunc(lo / S / 0.999999999) * S;
    const double u = lo >= 0 ? lo * 0.999999999 : lo / 0.999999999;
    const double h = hi > 0 ? hi / 0.999999999 : hi * 0.999999999;
    auto inside = [&](double w) { return dir * w >= dir * u && dir * h >= dir * w; };
    const long long n1 = std::min<long long>(count, kMaxTicksPerPass);

    if (FShortTicks)
        for (long long n = 0; n <= n1; ++n) {
            const double w = t + n * m;
            if (inside(w)) AddTick(plan, w, TTickKind::tkMinor, kMinor, true);
        }
    for (long long n = 0; n <= n1; ++n) {
        const double w = t + n * m;
        const double q = w / S;
        const double r = std::round(q);   // half away from zero
        if (std::fabs(q - r) < 0.01 && inside(w)) {
            std::string text;
            if (FLabelType != TFigType::ftNoFigs) text = SecondsToTimeText(w, a <= 9);
            AddTick(plan, w, TTickKind::tkMajor, vertical ? kMajorVert : kMajorHoriz,
                    vertical || !FShortTicks, std::move(text));
        }
    }
    return true;
}

} // namespace chart
