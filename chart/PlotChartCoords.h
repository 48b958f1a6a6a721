// The arithmetic of the chart's coordinates, free of the control: the
// per-layer value-to-pixel coefficients of the plot area, the conversions
// both ways, the confinement of a range to the zoom limits, the automatic
// range of a layer's items, and the zoom history of the 16 layers.
//
// The rule a caller must know: the plot area runs from the left margin L
// to Width - R - S and from the top margin T to Height - B - S (S the
// shadow width); a range's low value maps to the left or bottom edge and
// its high value to the right or top edge, so a range with low > high
// runs mirrored.
//
//     chart::TPlotArea a{470, 260, 50, 20, 20, 40, 0};
//     auto cx = chart::CalcAxisCoefficients(a, true, 0, 10, false);
//     int px = chart::AxisValueToPixel(cx, a, true, false, 5, 0, 10);   // 250
#pragma once

#include <array>
#include <vector>

#include "chart/PlotChartItems.h"

namespace chart {

// The control's size and the margins around the plot area, in pixels.
struct TPlotArea {
    int Width = 0, Height = 0;
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    int ShadowWidth = 0;
    int PlotWidth() const { return Width - MarginLeft - MarginRight - ShadowWidth; }
    int PlotHeight() const { return Height - MarginTop - MarginBottom - ShadowWidth; }
};

// pixel = K * t(value) + D, t the identity or the natural logarithm.
struct TAxisCoefficients {
    long double K = 0, D = 0;
};

// The coefficients of one axis of a layer over the range lo..hi (the
// natural logarithms of the limits on a logarithmic axis).  No plot width
// (height): K = 0 and D = Width / 2 (Height / 2).
TAxisCoefficients CalcAxisCoefficients(const TPlotArea& area, bool horizontal, double lo, double hi,
                                       bool logarithmic);
// A chart coordinate to a control pixel, clamped to +-2147483647 and
// rounded halves to even.  On a logarithmic axis a value at or below 1e-100
// goes to the low edge of the range (the control's left or bottom edge).
int AxisValueToPixel(const TAxisCoefficients& c, const TPlotArea& area, bool horizontal,
                     bool logarithmic, double value, double rangeLow, double rangeHigh);
// A control pixel to a chart coordinate; the range's centre when K is 0.
double AxisPixelToValue(const TAxisCoefficients& c, bool logarithmic, int pixel, double rangeLow,
                        double rangeHigh);

// Keeps lo..hi inside limLo..limHi: keepWidth (panning) shifts the range
// back whole, otherwise (zooming) the range is clipped.
void ConfineAxisRange(double& lo, double& hi, double limLo, double limHi, bool keepWidth);

// The range of a layer's items: extents of the item points, widened by
// margin per cent on each side (geometrically on a logarithmic axis), at
// least minRange per cent of the centre wide, and -1..1 around a single
// value.  Items that place themselves in pixels do not count; an empty
// layer gets -1..1.
struct TLayerRange {
    double XLo = 0, XHi = 0, YLo = 0, YHi = 0;
};
TLayerRange AutoRangeOfLayer(const TChartItemStore& items, int layer, bool logX, bool logY,
                             double margin, double minRange);

// The positions of the chart grid along one axis over rangeLow..rangeHigh
// (either order), by the spacing rule v (GridDx or GridDy): 0 follows the
// scale's ticks (ticks: the tick values of its last paint); v > 0, or any v
// on a linear axis, steps by |v| from the first multiple of v; on a
// logarithmic axis -1 gives decades, -2 the 1-2-5 series, -3 every
// integer mantissa.  Positions lie strictly below the span's upper end;
// at most 1000.
std::vector<double> GridPositions(double rangeLow, double rangeHigh, bool logarithmic, double v,
                                  const std::vector<double>& ticks);

// For each layer 1..16 a ring of 16 ranges.  Push records all layers at
// once; entry 0 is the latest push, -1 the one before, down to -15.
class TZoomHistory {
public:
    TZoomHistory();
    // ranges[1..16] are the layers' current ranges (ranges[0] unused).
    void Push(const std::array<TLayerRange, 17>& ranges);
    // Every entry zero again; the next push goes to the first slot.
    void Clear();
    // The layer's range of that entry; false when index is outside -15..0
    // or the entry was never written (all zero).
    bool Entry(int index, int layer, TLayerRange& range) const;
    int NextSlot() const { return FPoi; }

private:
    std::array<std::array<TLayerRange, 17>, 17> FStack{};   // [slot 1..16][layer 1..16]
    int FPoi = 1;
};

} // namespace chart
