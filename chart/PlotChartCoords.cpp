#include "chart/PlotChartCoords.h"

#include "chart/PlotChartProps.h"
#include "chart/PlotUtils.h"

#include <algorithm>
#include <cmath>

namespace chart {

TAxisCoefficients CalcAxisCoefficients(const TPlotArea& a, bool horizontal, double lo, double hi,
                                       bool logarithmic)
{
    long double L = lo, H = hi;
    if (logarithmic) {
        L = std::log(static_cast<long double>(lo));
        H = std::log(static_cast<long double>(hi));
    }
    TAxisCoefficients c;
    if (horizontal) {
        const int pw = a.PlotWidth();
        const long double right = a.Width - a.MarginRight - a.ShadowWidth;
        if (pw > 0 && H != L) {
            c.K = pw / (H - L);
            c.D = (a.MarginLeft * H - right * L) / (H - L);
        } else {
            c.K = 0;
            c.D = a.Width / 2.0L;
        }
    } else {
        const int ph = a.PlotHeight();
        const long double bottom = a.Height - a.MarginBottom - a.ShadowWidth;
        if (ph > 0 && H != L) {
            c.K = -ph / (H - L);
            c.D = (bottom * H - a.MarginTop * L) / (H - L);
        } else {
            c.K = 0;
            c.D = a.Height / 2.0L;
        }
    }
    return c;
}

int AxisValueToPixel(const TAxisCoefficients& c, const TPlotArea& a, bool horizontal, bool logarithmic,
                     double value, double rangeLow, double rangeHigh)
{
    long double p;
    if (!logarithmic) {
        p = c.K * value + c.D;
    } else if (value <= 1e-100) {
        const bool ascending = rangeHigh >= rangeLow;
        if (horizontal) p = ascending ? 0 : a.Width;
        else p = ascending ? a.Height : 0;
    } else {
        p = c.K * std::log(static_cast<long double>(value)) + c.D;
    }
    constexpr long double lim = 2147483647.0L;
    if (std::isnan(p)) p = 0;
    p = std::clamp(p, -lim, lim);
    return static_cast<int>(std::nearbyint(p));
}

double AxisPixelToValue(const TAxisCoefficients& c, bool logarithmic, int pixel, double rangeLow,
                        double rangeHigh)
{
    if (c.K == 0) return (rangeLow + rangeHigh) / 2;
    const long double t = (pixel - c.D) / c.K;
    return static_cast<double>(logarithmic ? std::exp(t) : t);
}

void ConfineAxisRange(double& lo, double& hi, double limLo, double limHi, bool keepWidth)
{
    const double w = hi - lo;
    if (lo < limLo) {
        if (keepWidth) hi = limLo + w;
        lo = limLo;
    }
    if (lo > limHi) {
        if (keepWidth) hi = limHi + w;
        lo = limHi;
    }
    if (hi < limLo) {
        if (keepWidth) {
            hi = limLo;
            lo = limLo - w;
        } else {
            hi = limLo;
        }
    }
    if (hi > limHi) {
        if (keepWidth) {
            hi = limHi;
            lo = limHi - w;
        } else {
            hi = limHi;
        }
    }
}

namespace {

// Margin and minimum width of one axis (steps 3 and 4 of the automatic range).
void FinishAxis(double& mn, double& mx, bool logarithmic, double margin, double minRange)
{
    if (!logarithmic || !(mn > 0 && mx > 0)) {
        const double m = margin / 100 * (mx - mn);
        mn -= m;
        mx += m;
    } else {
        const double r = std::log(mx / mn);
        const double lo = mn;
        mx = lo * std::exp((margin / 100 + 1) * r);
        mn = lo * std::exp(-r * margin / 100);
    }
    const double c = (mx + mn) / 2;
    const double need = minRange * c / 100;
    if (std::fabs(mx - mn) < need) {
        mn -= need;
        mx += need;
    }
    if (mn == mx) {
        mn -= 1;
        mx += 1;
    }
}

} // namespace

TLayerRange AutoRangeOfLayer(const TChartItemStore& items, int layer, bool logX, bool logY,
                             double margin, double minRange)
{
    double xMin = 1.7e308, yMin = 1.7e308, xMax = -1.7e308, yMax = -1.7e308;
    bool any = false;
    auto widen = [&](double x, double y) {
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
        any = true;
    };
    for (int i = 0; i < items.NumItems(); ++i) {
        const TrcChartItem& it = items[i];
        if (it.Layer != layer) continue;
        switch (it.ItemKind) {
        case TrcItem::tkMoveRelPix:
        case TrcItem::tkLineRelPix:
        case TrcItem::tkRectRelPix: break;
        case TrcItem::tkLine:
        case TrcItem::tkRect:
        case TrcItem::tkRectFrame:
        case TrcItem::tk3DBar:
        case TrcItem::tkArrow:
            widen(it.x, it.y);
            widen(it.x2, it.y2);
            break;
        case TrcItem::tkEllipse:
            widen(it.x, it.y);
            widen(it.x - it.x2, it.y - it.y2);
            widen(it.x + it.x2, it.y + it.y2);
            break;
        default: widen(it.x, it.y); break;
        }
    }
    TLayerRange r;
    if (!any) {
        xMin = xMax = yMin = yMax = 0;
    }
    FinishAxis(xMin, xMax, logX && any, margin, minRange);
    FinishAxis(yMin, yMax, logY && any, margin, minRange);
    r.XLo = xMin;
    r.XHi = xMax;
    r.YLo = yMin;
    r.YHi = yMax;
    return r;
}

// ------------------------------------------------------------------ grid

std::vector<double> GridPositions(double rangeLow, double rangeHigh, bool logarithmic, double v,
                                  const std::vector<double>& ticks)
{
    constexpr int kMaxLines = 1000;
    const double a = std::min(rangeLow, rangeHigh), b = std::max(rangeLow, rangeHigh);
    std::vector<double> out;
    if (logarithmic && v < 0 && !(a > 0)) return out;   // no decades at or below zero

    // Decade and mantissa of a positive value, the logarithm snapped to an
    // integer within 1e-14.
    auto split = [](double p, int& g, int& m) {
        double l = std::log10(p);
        if (std::fabs(l - std::round(l)) < 1e-14) l = std::round(l);
        g = FloorToInteger(l);
        m = static_cast<int>(std::nearbyint(std::pow(10.0, l - g)));
    };

    double p;
    if (v == 0) {
        p = ticks.empty() ? a : ticks[0];
    } else if (!logarithmic || v > 0) {
        p = CeilToInteger(a / v) * v;
    } else if (v == -1) {
        p = std::pow(10.0, CeilToInteger(std::log10(a)));
    } else if (v == -2 || v == -3) {
        const double l = std::log10(a);
        const int E = FloorToInteger(l);
        const double g = std::nearbyint(std::pow(10.0, l - E));
        double mantissa = g;
        if (v == -2) mantissa = g <= 2 ? 2 : g <= 5 ? 5 : 10;
        p = mantissa * std::pow(10.0, E);
    } else {
        p = a;
    }

    for (int k = 2; out.size() < static_cast<std::size_t>(kMaxLines); ++k) {
        if (!(p < b)) break;
        out.push_back(p);
        double next;
        if (v == 0) {
            next = k - 1 < static_cast<int>(ticks.size()) ? ticks[static_cast<std::size_t>(k - 1)] : b;
        } else if (!logarithmic || v > 0) {
            next = p + std::fabs(v);
        } else if (v == -1) {
            next = p * 10;
        } else {
            int g, m;
            split(p, g, m);
            int mantissa;
            if (v == -2) mantissa = m <= 1 ? 2 : m <= 2 ? 5 : 10;
            else mantissa = m + 1;
            next = mantissa * std::pow(10.0, g);
        }
        // A step that does not move ends the grid.
        if (!(next != p)) break;
        p = next;
    }
    return out;
}

// ---------------------------------------------------------- zoom history

TZoomHistory::TZoomHistory() { Clear(); }

void TZoomHistory::Clear()
{
    for (auto& slot : FStack) slot.fill(TLayerRange{});
    FPoi = 1;
}

void TZoomHistory::Push(const std::array<TLayerRange, 17>& ranges)
{
    for (int layer = 1; layer <= 16; ++layer) FStack[static_cast<std::size_t>(FPoi)][static_cast<std::size_t>(layer)] = ranges[static_cast<std::size_t>(layer)];
    FPoi = FPoi == 16 ? 1 : FPoi + 1;
}

bool TZoomHistory::Entry(int index, int layer, TLayerRange& range) const
{
    if (index < -15 || index > 0 || layer < 1 || layer > 16) return false;
    const int c = (((FPoi - 2 + index) % 16) + 16) % 16 + 1;
    const TLayerRange& e = FStack[static_cast<std::size_t>(c)][static_cast<std::size_t>(layer)];
    if (e.XLo == 0 && e.XHi == 0 && e.YLo == 0 && e.YHi == 0) return false;
    range = e;
    return true;
}

} // namespace chart
