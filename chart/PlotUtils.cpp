#include "chart/PlotUtils.h"

#include <cfenv>
#include <cmath>
#include <utility>

namespace chart {

namespace {

// Nearest integer, halves to even (the default floating-point rounding).
int RoundEven(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

double Clamp01(double x)
{
    if (x < 0) return 0;
    if (x > 1) return 1;
    return x;
}

} // namespace

void HsvToRgb(double hue, double saturation, double value, int& r, int& g, int& b)
{
    saturation = Clamp01(saturation);
    value = Clamp01(value);
    if (!(hue >= 0 && hue < 360)) hue = 0;  // also NaN
    if (saturation == 0) {
        r = g = b = RoundEven(255 * value);
        return;
    }
    const double h = hue / 60;
    int i = static_cast<int>(h);
    if (i > 5) i = 5;
    const double f = h - i;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    double cr = 0, cg = 0, cb = 0;
    switch (i) {
    case 0: cr = value; cg = t; cb = p; break;
    case 1: cr = q; cg = value; cb = p; break;
    case 2: cr = p; cg = value; cb = t; break;
    case 3: cr = p; cg = q; cb = value; break;
    case 4: cr = t; cg = p; cb = value; break;
    default: cr = value; cg = p; cb = q; break;
    }
    r = RoundEven(255 * cr);
    g = RoundEven(255 * cg);
    b = RoundEven(255 * cb);
}

void RgbToHsv(int r, int g, int b, double& hue, double& saturation, double& value)
{
    int maximum = r, sector = 0;
    if (g > maximum) { maximum = g; sector = 1; }
    if (b > maximum) { maximum = b; sector = 2; }
    int minimum = r;
    if (g < minimum) minimum = g;
    if (b < minimum) minimum = b;

    value = maximum / 255.0;
    if (maximum == 0) {
        saturation = 0;
        hue = 0;
        return;
    }
    saturation = static_cast<double>(maximum - minimum) / maximum;
    if (saturation == 0) {
        hue = -1;
        return;
    }
    const double d = maximum - minimum;
    double h;
    if (sector == 0) h = (g - b) / d;
    else if (sector == 1) h = 2 + (b - r) / d;
    else h = 4 + (r - g) / d;
    hue = 60 * h;
    if (hue < 0) hue += 360;
}

void CalcTickSpacing(int minTicks, long double low, long double high, long double& firstTick,
                     long double& step, uint16_t& subTicks)
{
    if (low == high) {
        firstTick = low;
        step = 0;
        subTicks = 1;
        return;
    }
    const long double sign = low < high ? 1.0L : -1.0L;
    const long double ln10 = std::log(10.0L);
    if (minTicks == 0) {
        step = 1;
        firstTick = std::trunc(low) - 1;
        subTicks = std::fabs(high - low) > 10 ? 1 : 5;
    } else {
        const long double raw = std::fabs(high - low) / minTicks;
        long double L = std::log(raw) / ln10;
        long double F = L - std::trunc(L);
        if (std::fabs(F) < 1e-10L || std::fabs(F) > 0.9999999999L) {
            F = 0;
            L = std::nearbyint(L);
        }
        if (L < 0 && F != 0) L = L - 1;
        if (F < 0) F = F + 1;
        const long double log2 = std::log(2.0L) / ln10;
        const long double log5 = std::log(5.0L) / ln10;
        if (F < log2 + 1e-10L) {
            L = std::trunc(L);
            subTicks = 5;
        } else if (F < log5 + 1e-10L) {
            L = std::trunc(L) + log2;
            subTicks = 4;
        } else {
            L = std::trunc(L) + log5;
            subTicks = 5;
        }
        step = sign * std::exp(L * ln10);
        firstTick = (std::trunc(low / step) - 1) * step;
    }
    while (sign * (low - firstTick) > 0.001L * std::fabs(step)) firstTick += step;
}

int32_t FloorToInteger(double x)
{
    const int32_t n = static_cast<int32_t>(std::nearbyint(x));
    return n > x ? n - 1 : n;
}

void ExchangeInts(int32_t& a, int32_t& b) { std::swap(a, b); }
void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }
void ExchangeExtendeds(long double& a, long double& b) { std::swap(a, b); }

} // namespace chart
