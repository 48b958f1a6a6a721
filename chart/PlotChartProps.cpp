#include "chart/PlotChartProps.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Files.h"

namespace chart {

// ------------------------------------------------------------ TScaleProps

TScaleProps::TScaleProps()
    : FDateFormat(std::make_unique<TDTLabel>()), FFont(std::make_unique<gui::TFont>())
{
    FFont->OnChange = [this](rtl::TObject*) { Changed(); };
}

TScaleProps::~TScaleProps() = default;

void TScaleProps::Changed()
{
    if (OnChange) OnChange(this);
}

void TScaleProps::Assign(const rtl::TPersistent* source)
{
    const auto* from = dynamic_cast<const TScaleProps*>(source);
    if (!from) {
        rtl::TPersistent::Assign(source);
        return;
    }
    if (from == this) return;
    FCaption = from->FCaption;
    FCaptionPosX = from->FCaptionPosX;
    FCaptionPosY = from->FCaptionPosY;
    FCaptionAlignment = from->FCaptionAlignment;
    FCaptionAnchor = from->FCaptionAnchor;
    FColorScale = from->FColorScale;
    FDateFormat->Assign(from->FDateFormat.get());
    FDecPlaces = from->FDecPlaces;
    FLogarithmic = from->FLogarithmic;
    FLabelType = from->FLabelType;
    // The font's own change event stays quiet: the copy reports once below.
    rtl::TNotifyEvent fontChange = std::move(FFont->OnChange);
    FFont->OnChange = nullptr;
    FFont->Assign(from->FFont.get());
    FFont->OnChange = std::move(fontChange);
    FMinTicks = from->FMinTicks;
    FRangeLow = from->FRangeLow;
    FRangeHigh = from->FRangeHigh;
    FShortTicks = from->FShortTicks;
    FScaleInscript = from->FScaleInscript;
    FScaleType = from->FScaleType;
    FScalePosX = from->FScalePosX;
    FScalePosY = from->FScalePosY;
    FMinRange = from->FMinRange;
    FUserTickText = from->FUserTickText;
    FVisible = from->FVisible;
    Changed();
}

void TScaleProps::SetCaption(const std::string& v) { FCaption = v; Changed(); }
void TScaleProps::SetCaptionPosX(int v) { FCaptionPosX = v; Changed(); }
void TScaleProps::SetCaptionPosY(int v) { FCaptionPosY = v; Changed(); }
void TScaleProps::SetCaptionAlignment(gui::TAlignment v) { FCaptionAlignment = v; Changed(); }
void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor v) { FCaptionAnchor = v; Changed(); }
void TScaleProps::SetColorScale(TColor v) { FColorScale = v; Changed(); }
void TScaleProps::SetMinTicks(int v) { FMinTicks = v; Changed(); }
void TScaleProps::SetShortTicks(bool v) { FShortTicks = v; Changed(); }
void TScaleProps::SetScaleInscript(const std::string& v) { FScaleInscript = v; Changed(); }
void TScaleProps::SetUserTickText(const std::string& v) { FUserTickText = v; Changed(); }
void TScaleProps::SetVisible(bool v) { FVisible = v; Changed(); }
void TScaleProps::SetScaleType(TScaleType v) { FScaleType = v; Changed(); }

void TScaleProps::SetDateFormat(const TDTLabel* v)
{
    FDateFormat->Assign(v);
    Changed();
}

void TScaleProps::SetFont(const gui::TFont* v)
{
    // The font's own change event reports the copy.
    FFont->Assign(v);
}

void TScaleProps::SetDecPlaces(int v)
{
    FDecPlaces = std::clamp(v, -3, 12);
    Changed();
}

void TScaleProps::SetLogarithmic(bool v)
{
    if (!v) FLogarithmic = false;
    else if (FLoading ||
             (FRangeLow >= 1e-100 && FRangeHigh >= 1e-100 && FLabelType != TFigType::ftDateTime))
        FLogarithmic = true;
    Changed();
}

void TScaleProps::SetLabelType(TFigType v)
{
    FLabelType = v;
    if (v == TFigType::ftDateTime) FLogarithmic = false;
    if (v == TFigType::ftTime) FDecPlaces = 4;
    Changed();
}

void TScaleProps::SetRangeLow(double v)
{
    if (std::fabs(FRangeHigh - v) < FMinRange) {
        FRangeLow = v;
        FRangeHigh = v + FMinRange;
    } else if (!(FLogarithmic && v < 1e-100)) {
        FRangeLow = v;
    }
    Changed();
}

void TScaleProps::SetRangeHigh(double v)
{
    if (std::fabs(v - FRangeLow) < FMinRange) {
        FRangeHigh = v;
        FRangeLow = v - FMinRange;
    } else if (!(FLogarithmic && v < 1e-100)) {
        FRangeHigh = v;
    }
    Changed();
}

void TScaleProps::SetMinRange(double v)
{
    if (v <= 1e-100) return;
    FMinRange = v;
    if (std::fabs(FRangeHigh - FRangeLow) < v) {
        const double c = (FRangeLow + FRangeHigh) / 2;
        FRangeLow = c - v / 2;
        FRangeHigh = c + v / 2;
        Changed();
    }
}

int TScaleProps::ScalePos() const
{
    return IsVerticalScale(FScaleType) ? FScalePosX : FScalePosY;
}

void TScaleProps::SetScalePos(int v)
{
    if (IsVerticalScale(FScaleType)) FScalePosX = v;
    else FScalePosY = v;
    Changed();
}

void TScalePropsHoriz::Assign(const rtl::TPersistent* source)
{
    if (const auto* from = dynamic_cast<const TScalePropsHoriz*>(source)) FScaleLocation = from->FScaleLocation;
    TScaleProps::Assign(source);
}

void TScalePropsVert::Assign(const rtl::TPersistent* source)
{
    if (const auto* from = dynamic_cast<const TScalePropsVert*>(source)) FScaleLocation = from->FScaleLocation;
    TScaleProps::Assign(source);
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz v)
{
    FScaleLocation = v;
    SetScaleType(v == TScaleLocationHoriz::slTop ? TScaleType::sctXB : TScaleType::sctXT);
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert v)
{
    FScaleLocation = v;
    SetScaleType(v == TScaleLocationVert::slLeft ? TScaleType::sctYR : TScaleType::sctYL);
}

// ----------------------------------------------------------- TJointLayers

TJointLayers::TJointLayers(TJointLayersChart* chart) : FChart(chart) { Reset(); }

void TJointLayers::Reset()
{
    for (int t = 0; t < 2; ++t)
        for (int i = 1; i <= 16; ++i) FControl[t][i] = i;
}

int TJointLayers::XControlledBy(int layer) const
{
    return layer >= 1 && layer <= 16 ? FControl[0][layer] : 0;
}

int TJointLayers::YControlledBy(int layer) const
{
    return layer >= 1 && layer <= 16 ? FControl[1][layer] : 0;
}

void TJointLayers::SetXControlledBy(int layer, int controller) { SetControlledBy(0, layer, controller); }
void TJointLayers::SetYControlledBy(int layer, int controller) { SetControlledBy(1, layer, controller); }

void TJointLayers::SetControlledBy(int table, int layer, int controller)
{
    if (layer < 1 || layer > 16) return;
    int* entry = FControl[table];
    const int n = layer, m = controller;
    if (m < 1 || m > 16)
        throw EPlotChartError("Destination layer " + std::to_string(m) + " is out of range");
    if (m == n) {
        entry[n] = n;
        return;
    }
    if (entry[m] != m)
        throw EPlotChartError("Destination layer " + std::to_string(m) + " is already joined");
    std::string joined;
    for (int i = 1; i <= 16; ++i)
        if (i != n && entry[i] == n) joined += (joined.empty() ? "" : ", ") + std::to_string(i);
    if (!joined.empty())
        throw EPlotChartError("Layer " + std::to_string(n) + " is joined by other layers (" + joined + ")");
    entry[n] = m;
    if (FChart) {
        double nxl, nyl, nxh, nyh, mxl, myl, mxh, myh;
        FChart->GetLayerRange(n, nxl, nyl, nxh, nyh);
        FChart->GetLayerRange(m, mxl, myl, mxh, myh);
        if (table == 0) FChart->ApplyLayerRange(n, false, false, mxl, nyl, mxh, nyh);
        else FChart->ApplyLayerRange(n, false, false, nxl, myl, nxh, myh);
    }
    if (OnChange) OnChange(this);
}

void TJointLayers::AssignTo(rtl::TPersistent* dest) const
{
    if (auto* d = dynamic_cast<TJointLayers*>(dest)) {
        std::copy(&FControl[0][0], &FControl[0][0] + 2 * 17, &d->FControl[0][0]);
        if (d->OnChange) d->OnChange(d);
        return;
    }
    rtl::TPersistent::AssignTo(dest);
}

// ------------------------------------------------------------ TBakGndImg

void TBakGndImg::Changed()
{
    if (OnChange) OnChange(this);
}

void TBakGndImg::Assign(const rtl::TPersistent* source)
{
    const auto* from = dynamic_cast<const TBakGndImg*>(source);
    if (!from) {
        rtl::TPersistent::Assign(source);
        return;
    }
    if (from == this) return;
    FName = from->FName;
    FIncludePath = from->FIncludePath;
    FFillMode = from->FFillMode;
    FAreaMode = from->FAreaMode;
    FAreaColor = from->FAreaColor;
    FAreaLeft = from->FAreaLeft;
    FAreaRight = from->FAreaRight;
    FAreaTop = from->FAreaTop;
    FAreaBottom = from->FAreaBottom;
    Changed();
}

void TBakGndImg::SetName(const std::string& v)
{
    FName = FIncludePath ? v : rtl::ExtractFileName(v);
    Changed();
}

void TBakGndImg::SetIncludePath(bool v)
{
    FIncludePath = v;
    if (!v) FName = rtl::ExtractFileName(FName);
    Changed();
}

void TBakGndImg::SetFillMode(TBkgFill v) { FFillMode = v; Changed(); }
void TBakGndImg::SetAreaMode(TBGAreaMode v) { FAreaMode = v; Changed(); }
void TBakGndImg::SetAreaColor(TColor v) { FAreaColor = v; Changed(); }
void TBakGndImg::SetAreaLeft(double v) { FAreaLeft = v; Changed(); }
void TBakGndImg::SetAreaRight(double v) { FAreaRight = v; Changed(); }
void TBakGndImg::SetAreaTop(double v) { FAreaTop = v; Changed(); }
void TBakGndImg::SetAreaBottom(double v) { FAreaBottom = v; Changed(); }

// ---------------------------------------------------------- pixel helpers

int32_t CeilToInteger(double x)
{
    const int32_t n = static_cast<int32_t>(std::nearbyint(x));
    return x > n ? n + 1 : n;
}

bool ClampPixelPair(int& x, int& y)
{
    const int cx = std::clamp(x, -PixelLimit, PixelLimit), cy = std::clamp(y, -PixelLimit, PixelLimit);
    const bool changed = cx != x || cy != y;
    x = cx;
    y = cy;
    return changed;
}

} // namespace chart
