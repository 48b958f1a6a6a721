// The chart control's coordinates: coefficients of the 16 layers, the
// conversions, ranges with joint layers and confinement, automatic and
// equal ranges, the zoom history, isometric mode, margins and the
// placement of the scale controls.

#include "chart/PlotChart.h"

#include <algorithm>
#include <cmath>

namespace chart {

// ------------------------------------------------------------ coefficients

void TCustomPlotChart::CalcScaleCoefficients()
{
    if (IsLoading()) return;
    FArea.Width = Width();
    FArea.Height = Height();
    for (int i = 1; i <= MaxLayers; ++i) {
        const TScalePropsHoriz& x = *FScalePropsX[i];
        const TScalePropsVert& y = *FScalePropsY[i];
        FCx[i] = CalcAxisCoefficients(FArea, true, x.RangeLow(), x.RangeHigh(), x.Logarithmic());
        FCy[i] = CalcAxisCoefficients(FArea, false, y.RangeLow(), y.RangeHigh(), y.Logarithmic());
    }
}

void TCustomPlotChart::R2M(int layer, double xin, double yin, int& xout, int& yout) const
{
    layer = ClampLayer(layer);
    const TScalePropsHoriz& x = *FScalePropsX[layer];
    const TScalePropsVert& y = *FScalePropsY[layer];
    xout = AxisValueToPixel(FCx[layer], FArea, true, x.Logarithmic(), xin, x.RangeLow(), x.RangeHigh());
    yout = AxisValueToPixel(FCy[layer], FArea, false, y.Logarithmic(), yin, y.RangeLow(), y.RangeHigh());
}

gui::TPoint TCustomPlotChart::R2M(int layer, double x, double y) const
{
    gui::TPoint p;
    R2M(layer, x, y, p.X, p.Y);
    return p;
}

void TCustomPlotChart::M2R(int layer, int xin, int yin, double& xout, double& yout) const
{
    layer = ClampLayer(layer);
    const TScalePropsHoriz& x = *FScalePropsX[layer];
    const TScalePropsVert& y = *FScalePropsY[layer];
    xout = AxisPixelToValue(FCx[layer], x.Logarithmic(), xin, x.RangeLow(), x.RangeHigh());
    yout = AxisPixelToValue(FCy[layer], y.Logarithmic(), yin, y.RangeLow(), y.RangeHigh());
}

int TCustomPlotChart::FindNearestItemScreen(double mx, double my, TrcItem itemID, uint8_t classNumber,
                                            double& dist) const
{
    const int layer = FActiveLayer;
    const gui::TPoint m = R2M(layer, mx, my);
    return FItems.FindNearestItemMapped(
        m.X, m.Y, itemID, classNumber,
        [this, layer](double x, double y, double& px, double& py) {
            const gui::TPoint p = R2M(layer, x, y);
            px = p.X;
            py = p.Y;
        },
        dist);
}

// ------------------------------------------------------------------ ranges

TLayerRange TCustomPlotChart::LayerRange(int layer) const
{
    layer = ClampLayer(layer);
    return {FScalePropsX[layer]->RangeLow(), FScalePropsX[layer]->RangeHigh(), FScalePropsY[layer]->RangeLow(),
            FScalePropsY[layer]->RangeHigh()};
}

void TCustomPlotChart::GetLayerRange(int layer, double& xLo, double& yLo, double& xHi, double& yHi) const
{
    const TLayerRange r = LayerRange(layer);
    xLo = r.XLo;
    xHi = r.XHi;
    yLo = r.YLo;
    yHi = r.YHi;
}

namespace {

// Stores a limit pair into scale properties without their change notice,
// as the range setters do; false when the range is refused.
bool StoreRange(TScaleProps& p, double lo, double hi)
{
    if (std::fabs(lo - hi) < p.MinRange()) return false;
    const bool logarithmic = p.Logarithmic();
    const bool storeLo = !logarithmic || lo >= 1e-100;
    const bool storeHi = !logarithmic || hi >= 1e-100;
    if (!storeLo && !storeHi) return false;
    rtl::TNotifyEvent saved = std::move(p.OnChange);
    p.OnChange = nullptr;
    // Once the low limit is in place the high one is at least MinRange
    // away from it, so the setters keep both as given.
    if (storeLo) p.SetRangeLow(lo);
    if (storeHi) p.SetRangeHigh(hi);
    p.OnChange = std::move(saved);
    return true;
}

} // namespace

void TCustomPlotChart::ApplyLayerRange(int layer, bool pushHistory, bool confine, double xLo, double yLo,
                                       double xHi, double yHi)
{
    layer = ClampLayer(layer);
    if (confine && (FZoomRange[0] != 0 || FZoomRange[1] != 0 || FZoomRange[2] != 0 || FZoomRange[3] != 0)) {
        const bool keepW = FMouseAction == TMouseActMode::maPan || FMouseAction == TMouseActMode::maPanHoriz;
        const bool keepH = FMouseAction == TMouseActMode::maPan || FMouseAction == TMouseActMode::maPanVert;
        ConfineAxisRange(xLo, xHi, static_cast<double>(FZoomRange[0]), static_cast<double>(FZoomRange[2]), keepW);
        ConfineAxisRange(yLo, yHi, static_cast<double>(FZoomRange[1]), static_cast<double>(FZoomRange[3]), keepH);
    }
    const bool storedX = StoreRange(*FScalePropsX[layer], xLo, xHi);
    const bool storedY = StoreRange(*FScalePropsY[layer], yLo, yHi);
    SyncScale(layer, true);
    SyncScale(layer, false);
    if (pushHistory && (storedX || storedY)) PushZoomHistory();
    CalcScaleCoefficients();
}

void TCustomPlotChart::ApplyJointRange(int layer, bool pushHistory, bool confine, double xLo, double yLo,
                                       double xHi, double yHi)
{
    layer = ClampLayer(layer);
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    const int xCtl = FJointLayers->XControlledBy(layer), yCtl = FJointLayers->YControlledBy(layer);
    if (xCtl != layer && xCtl >= 1) {
        xLo = FScalePropsX[xCtl]->RangeLow();
        xHi = FScalePropsX[xCtl]->RangeHigh();
    }
    if (yCtl != layer && yCtl >= 1) {
        yLo = FScalePropsY[yCtl]->RangeLow();
        yHi = FScalePropsY[yCtl]->RangeHigh();
    }
    ApplyLayerRange(layer, pushHistory, confine, xLo, yLo, xHi, yHi);
    for (int i = 1; i <= MaxLayers; ++i) {
        if (i == layer) continue;
        const int xi = FJointLayers->XControlledBy(i), yi = FJointLayers->YControlledBy(i);
        if (xi != layer && yi != layer) continue;
        const TLayerRange rx = LayerRange(xi), ry = LayerRange(yi);
        ApplyLayerRange(i, pushHistory, false, rx.XLo, ry.YLo, rx.XHi, ry.YHi);
    }
    SetSuppressPaint(saved);   // repaints when painting was allowed
}

void TCustomPlotChart::SetRange(int layer, long double xLo, long double yLo, long double xHi, long double yHi)
{
    const int first = layer == 0 ? 1 : ClampLayer(layer), last = layer == 0 ? MaxLayers : first;
    for (int i = first; i <= last; ++i) {
        long double xl = xLo, xh = xHi, yl = yLo, yh = yHi;
        const TScalePropsHoriz& sx = *FScalePropsX[i];
        const TScalePropsVert& sy = *FScalePropsY[i];
        if (xl == xh) {
            if (sx.Logarithmic()) {
                xh *= 1.1L;
                xl /= 1.1L;
            } else {
                xh += sx.MinRange() / 2;
                xl -= sx.MinRange() / 2;
            }
        }
        if (yl == yh) {
            if (sy.Logarithmic()) {
                yh *= 1.1L;
                yl /= 1.1L;
            } else {
                yh += sy.MinRange() / 2;
                yl -= sy.MinRange() / 2;
            }
        }
        if (FIsometric) yh = yl + (xh - xl) * IsometricFactor();
        ApplyJointRange(i, true, false, static_cast<double>(xl), static_cast<double>(yl),
                        static_cast<double>(xh), static_cast<double>(yh));
    }
    RepaintIfAutoRedraw();
}

TLayerRange TCustomPlotChart::AutoRangeOf(int layer, double margin, double minRange) const
{
    return AutoRangeOfLayer(FItems, layer, FScalePropsX[layer]->Logarithmic(), FScalePropsY[layer]->Logarithmic(),
                            margin, minRange);
}

void TCustomPlotChart::AutoRange(int layer, double margin, double minRange)
{
    const int first = layer == 0 ? 1 : ClampLayer(layer), last = layer == 0 ? MaxLayers : first;
    for (int i = first; i <= last; ++i) {
        TLayerRange r = AutoRangeOf(i, margin, minRange);
        if (FIsometric) {
            const double h = (r.XHi - r.XLo) * IsometricFactor();
            const double y0 = r.YLo;
            r.YLo = y0 - h / 2;
            r.YHi = y0 + h / 2;
        }
        ApplyJointRange(i, true, false, r.XLo, r.YLo, r.XHi, r.YHi);
    }
    RepaintIfAutoRedraw();
}

void TCustomPlotChart::AutoRangeXOnly(int layer, double margin, double minRange)
{
    AutoRangeAxes(layer, margin, minRange, true, false);
}

void TCustomPlotChart::AutoRangeYOnly(int layer, double margin, double minRange)
{
    AutoRangeAxes(layer, margin, minRange, false, true);
}

// One axis automatic, the other kept as it is.
void TCustomPlotChart::AutoRangeAxes(int layer, double margin, double minRange, bool x, bool y)
{
    FIsometric = false;
    const int first = layer == 0 ? 1 : ClampLayer(layer), last = layer == 0 ? MaxLayers : first;
    for (int i = first; i <= last; ++i) {
        const TLayerRange a = AutoRangeOf(i, margin, minRange), cur = LayerRange(i);
        ApplyJointRange(i, true, false, x ? a.XLo : cur.XLo, y ? a.YLo : cur.YLo, x ? a.XHi : cur.XHi,
                        y ? a.YHi : cur.YHi);
    }
    RepaintIfAutoRedraw();
}

void TCustomPlotChart::SetEqualRange(std::bitset<17> layers) { EqualRanges(layers, true, true); }
void TCustomPlotChart::SetEqualRangeXOnly(std::bitset<17> layers) { EqualRanges(layers, true, false); }
void TCustomPlotChart::SetEqualRangeYOnly(std::bitset<17> layers) { EqualRanges(layers, false, true); }

// The layers of the set get the union of their ranges on the unified axes
// and keep their own on the others.  No repaint of its own: the joint
// range setters repaint.
void TCustomPlotChart::EqualRanges(std::bitset<17> layers, bool x, bool y)
{
    double xLo = 1.7e308, xHi = -1.7e308, yLo = 1.7e308, yHi = -1.7e308;
    for (int i = 1; i <= MaxLayers; ++i) {
        if (!layers.test(static_cast<std::size_t>(i))) continue;
        const TLayerRange r = LayerRange(i);
        xLo = std::min(xLo, r.XLo);
        xHi = std::max(xHi, r.XHi);
        yLo = std::min(yLo, r.YLo);
        yHi = std::max(yHi, r.YHi);
    }
    const bool saved = FAutoRedraw;
    FAutoRedraw = false;
    for (int i = 1; i <= MaxLayers; ++i) {
        if (!layers.test(static_cast<std::size_t>(i))) continue;
        const TLayerRange r = LayerRange(i);
        SetRange(i, x ? xLo : r.XLo, y ? yLo : r.YLo, x ? xHi : r.XHi, y ? yHi : r.YHi);
    }
    FAutoRedraw = saved;
}

void TCustomPlotChart::ConfineZoomRange(double xLo, double yLo, double xHi, double yHi)
{
    FZoomRange[0] = xLo;
    FZoomRange[1] = yLo;
    FZoomRange[2] = xHi;
    FZoomRange[3] = yHi;
}

// ------------------------------------------------------------ zoom history

void TCustomPlotChart::PushZoomHistory()
{
    if (IsLoading()) return;
    std::array<TLayerRange, 17> ranges{};
    for (int i = 1; i <= MaxLayers; ++i) ranges[i] = LayerRange(i);
    FZoom.Push(ranges);
}

void TCustomPlotChart::ClearZoomHistory()
{
    FZoom.Clear();
    PushZoomHistory();
}

void TCustomPlotChart::ZoomHistory(int index)
{
    if (index < -15 || index > 0) return;
    std::array<TLayerRange, 17> entries{};
    std::bitset<17> written;
    for (int i = 1; i <= MaxLayers; ++i) written.set(i, FZoom.Entry(index, i, entries[i]));
    for (int i = 1; i <= MaxLayers; ++i) {
        if (!written.test(i)) continue;
        const TLayerRange& r = entries[i];
        ApplyJointRange(i, false, false, r.XLo, r.YLo, r.XHi, r.YHi);
    }
    Paint();
}

// ------------------------------------------------------------- isometric

double TCustomPlotChart::IsometricFactor() const
{
    const double pw = std::max(FArea.PlotWidth(), 0) + 1, ph = std::max(FArea.PlotHeight(), 0) + 1;
    return ph / pw * FYAsp / FXAsp;
}

void TCustomPlotChart::RecomputeIsometricRanges(bool throughSetters)
{
    const double f = IsometricFactor();
    for (int i = 1; i <= MaxLayers; ++i) {
        TScalePropsVert& y = *FScalePropsY[i];
        const double hi = (FScalePropsX[i]->RangeHigh() - FScalePropsX[i]->RangeLow()) * f + y.RangeLow();
        if (throughSetters) {
            y.SetRangeHigh(hi);
        } else {
            rtl::TNotifyEvent saved = std::move(y.OnChange);
            y.OnChange = nullptr;
            y.SetRangeHigh(hi);
            y.OnChange = std::move(saved);
        }
    }
}

void TCustomPlotChart::SetIsometric(bool v)
{
    FIsometric = v;
    if (!v) return;
    RecomputeIsometricRanges(true);
    PushZoomHistory();
    RepaintByRule();
}

// ---------------------------------------------------------------- margins

void TCustomPlotChart::ResizeGrafBmp(bool printer)
{
    const int c = printer ? 0 : 1;
    FGrafBmp->SetSize(std::max(FArea.PlotWidth() + c, 0), std::max(FArea.PlotHeight() + c, 0));
}

void TCustomPlotChart::MarginsChanged(bool isometric)
{
    FArea.Width = Width();
    FArea.Height = Height();
    ResizeGrafBmp(false);
    if (!FConstructed) return;
    if (isometric && FIsometric) RecomputeIsometricRanges(false);
    PlaceScales();
    CalcScaleCoefficients();
    RepaintByRule();
}

void TCustomPlotChart::SetMarginLeft(int v)
{
    FArea.MarginLeft = v;
    MarginsChanged(true);
}

void TCustomPlotChart::SetMarginRight(int v)
{
    FArea.MarginRight = v;
    MarginsChanged(true);
}

void TCustomPlotChart::SetMarginTop(int v)
{
    FArea.MarginTop = v;
    MarginsChanged(true);
}

void TCustomPlotChart::SetMarginBottom(int v)
{
    FArea.MarginBottom = v;
    MarginsChanged(true);
}

void TCustomPlotChart::SetShadowWidth(int v)
{
    FArea.ShadowWidth = std::clamp(v, 0, 32);
    MarginsChanged(false);
}

// ------------------------------------------------------------ scale sync

void TCustomPlotChart::SyncScale(int layer, bool horizontal)
{
    layer = ClampLayer(layer);
    TScale& s = horizontal ? *FScalesX[layer] : *FScalesY[layer];
    const TScaleProps& p = horizontal ? static_cast<const TScaleProps&>(*FScalePropsX[layer])
                                      : static_cast<const TScaleProps&>(*FScalePropsY[layer]);
    const int W = Width(), H = Height();
    const int L = FArea.MarginLeft, R = FArea.MarginRight, T = FArea.MarginTop, B = FArea.MarginBottom;
    const int S = FArea.ShadowWidth;
    const bool saved = s.SuppressPaint();
    s.SetSuppressPaint(true);
    s.SetScaleType(p.ScaleType());
    switch (p.ScaleType()) {
    case TScaleType::sctXB: s.SetMarginBottom(p.ScalePos() + H - T - 1); break;
    case TScaleType::sctXT: s.SetMarginTop(p.ScalePos() + H - B - S); break;
    case TScaleType::sctYL: s.SetMarginLeft(p.ScalePos() + W - R - S); break;
    case TScaleType::sctYR: s.SetMarginRight(p.ScalePos() + W - L - 1); break;
    }
    if (horizontal) {
        s.SetMarginLeft(L);
        s.SetMarginRight(R + S - 1);
    } else {
        s.SetMarginTop(T);
        s.SetMarginBottom(B + S - 1);
    }
    s.SetRange(p.RangeLow(), p.RangeHigh());
    s.SetVisible(p.Visible());
    s.SetCaption(p.Caption());
    s.SetCaptionPosX(p.CaptionPosX());
    s.SetCaptionPosY(p.CaptionPosY());
    s.SetCaptionAlignment(p.CaptionAlignment());
    s.SetCaptionAnchor(p.CaptionAnchor());
    s.SetColorScale(p.ColorScale());
    s.SetDecPlaces(p.DecPlaces());
    s.SetLabelType(p.LabelType());
    s.SetShortTicks(p.ShortTicks());
    s.SetMinTicks(p.MinTicks());
    s.SetScaleInscript(p.ScaleInscript());
    s.SetUserTickText(p.UserTickText());
    s.Font()->Assign(p.Font());
    s.SetDateFormat(p.DateFormat());
    s.SetLogarithmic(p.Logarithmic());
    s.SetSuppressPaint(saved);
}

void TCustomPlotChart::SyncAllScales()
{
    for (int i = 1; i <= MaxLayers; ++i) {
        SyncScale(i, true);
        SyncScale(i, false);
    }
}

// Every scale control takes the control's size and the plot edges.
void TCustomPlotChart::PlaceScales()
{
    for (int i = 1; i <= MaxLayers; ++i) {
        for (TScale* s : {FScalesX[i], FScalesY[i]}) {
            const bool saved = s->SuppressPaint();
            s->SetSuppressPaint(true);
            s->SetBounds(0, 0, Width(), Height());
            s->SetSuppressPaint(saved);
        }
    }
    SyncAllScales();
}

void TCustomPlotChart::ScalePropsChanged()
{
    if (!FConstructed) return;
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    SyncAllScales();
    for (int i = 1; i <= MaxLayers; ++i) {
        const TLayerRange r = LayerRange(i);
        ApplyJointRange(i, false, false, r.XLo, r.YLo, r.XHi, r.YHi);
    }
    FSuppressPaint = saved;
    if (!saved) Paint();
}

} // namespace chart
