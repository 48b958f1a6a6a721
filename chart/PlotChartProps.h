// The property objects the chart owns and publishes: the settings of one
// axis of one layer (TScaleProps and its horizontal and vertical kinds),
// which layer controls each layer's ranges (TJointLayers), and the chart's
// background (TBakGndImg); with the pixel helpers of chart rendering.
//
// The rule a caller must know: setters absorb invalid values (a range is
// never narrower than MinRange, a logarithmic axis keeps positive limits)
// and then fire OnChange, which the chart handles by redrawing; only
// TJointLayers raises, and leaves its tables unchanged when it does.
//
//     chart::TScalePropsHoriz x;
//     x.SetRangeLow(0.5);
//     x.SetRangeHigh(0.5 + 1e-11);   // narrower than MinRange 1e-10:
//                                    // RangeLow becomes RangeHigh - 1e-10
#pragma once

#include <memory>
#include <string>

#include "chart/PlotBase.h"
#include "chart/PlotScale.h"

namespace chart {

// The chart's exception.
class EPlotChartError : public EPlotError {
public:
    using EPlotError::EPlotError;
};

// ------------------------------------------------------------ TScaleProps

enum class TScaleLocationHoriz { slTop, slBottom };
enum class TScaleLocationVert { slLeft, slRight };

class TScaleProps : public rtl::TPersistent {
public:
    TScaleProps();
    ~TScaleProps() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    int CaptionPosX() const { return FCaptionPosX; }
    void SetCaptionPosX(int v);
    int CaptionPosY() const { return FCaptionPosY; }
    void SetCaptionPosY(int v);
    gui::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(gui::TAlignment v);
    TScaleUnitAnchor CaptionAnchor() const { return FCaptionAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor v);
    TColor ColorScale() const { return FColorScale; }
    void SetColorScale(TColor v);
    TDTLabel* DateFormat() const { return FDateFormat.get(); }
    void SetDateFormat(const TDTLabel* v);
    // Clamped to -3..12.
    int DecPlaces() const { return FDecPlaces; }
    void SetDecPlaces(int v);
    bool Logarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool v);
    TFigType LabelType() const { return FLabelType; }
    void SetLabelType(TFigType v);
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* v);
    int MinTicks() const { return FMinTicks; }
    void SetMinTicks(int v);
    double RangeLow() const { return FRangeLow; }
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    void SetRangeHigh(double v);
    bool ShortTicks() const { return FShortTicks; }
    void SetShortTicks(bool v);
    const std::string& ScaleInscript() const { return FScaleInscript; }
    void SetScaleInscript(const std::string& v);
    TScaleType ScaleType() const { return FScaleType; }
    void SetScaleType(TScaleType v);
    // The scale's place across its direction: Y of a horizontal scale, X of
    // a vertical one.
    int ScalePos() const;
    void SetScalePos(int v);
    // Smallest allowed width of the range; values <= 1e-100 are ignored.
    double MinRange() const { return FMinRange; }
    void SetMinRange(double v);
    const std::string& UserTickText() const { return FUserTickText; }
    void SetUserTickText(const std::string& v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    double Center() const { return (FRangeLow + FRangeHigh) / 2; }

    // From another scale's properties: every published setting (caption,
    // its place and anchor, colour, date format, decimals, logarithmic,
    // label type, font, ticks, range, inscript, scale type and place, least
    // range, tick text, visibility), then one OnChange.  Other sources raise.
    void Assign(const rtl::TPersistent* source) override;

    // True until the chart has finished loading (then the Logarithmic
    // setter checks the range).
    bool Loading() const { return FLoading; }
    void SetLoading(bool v) { FLoading = v; }

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    std::string FCaption;
    int FCaptionPosX = 0, FCaptionPosY = 0;
    gui::TAlignment FCaptionAlignment = gui::TAlignment::taCenter;
    TScaleUnitAnchor FCaptionAnchor = TScaleUnitAnchor::uaSclTopLft;
    TColor FColorScale = gui::clBlack;
    std::unique_ptr<TDTLabel> FDateFormat;
    int FDecPlaces = -2;
    bool FLogarithmic = false;
    TFigType FLabelType = TFigType::ftNum;
    std::unique_ptr<gui::TFont> FFont;
    int FMinTicks = 3;
    bool FLoading = true;
    double FRangeLow = 0, FRangeHigh = 1;
    bool FShortTicks = true;
    std::string FScaleInscript;
    TScaleType FScaleType = TScaleType::sctXT;
    int FScalePosX = 0, FScalePosY = 0;
    double FMinRange = 1e-10;
    std::string FUserTickText;
    bool FVisible = false;
};

class TScalePropsHoriz : public TScaleProps {
public:
    TScaleLocationHoriz ScaleLocation() const { return FScaleLocation; }
    // slTop puts the line at the bottom of the scale strip (sctXB), slBottom
    // at its top (sctXT).
    void SetScaleLocation(TScaleLocationHoriz v);
    // As the base, with the scale location when the source is horizontal too.
    void Assign(const rtl::TPersistent* source) override;

private:
    TScaleLocationHoriz FScaleLocation = TScaleLocationHoriz::slBottom;
};

class TScalePropsVert : public TScaleProps {
public:
    TScaleLocationVert ScaleLocation() const { return FScaleLocation; }
    // slLeft: sctYR; slRight: sctYL.
    void SetScaleLocation(TScaleLocationVert v);
    // As the base, with the scale location when the source is vertical too.
    void Assign(const rtl::TPersistent* source) override;

private:
    TScaleLocationVert FScaleLocation = TScaleLocationVert::slLeft;
};

// ----------------------------------------------------------- TJointLayers

// What joint layers need of the chart: the ranges of a layer and the range
// setter of one layer (without zoom history or confinement here).
class TJointLayersChart {
public:
    virtual ~TJointLayersChart() = default;
    virtual void GetLayerRange(int layer, double& xLo, double& yLo, double& xHi, double& yHi) const = 0;
    virtual void ApplyLayerRange(int layer, bool pushHistory, bool confine, double xLo, double yLo,
                                 double xHi, double yHi) = 0;
};

// For each of the 16 layers, the layer that controls its X range and the
// one that controls its Y range (initially itself).
class TJointLayers : public rtl::TPersistent {
public:
    explicit TJointLayers(TJointLayersChart* chart);

    // layer 1..16 (0 for another index).
    int XControlledBy(int layer) const;
    int YControlledBy(int layer) const;
    // Joins layer's range to that of controller, or releases it when
    // controller is the layer itself.  Raises EPlotChartError (tables
    // unchanged) when controller is out of 1..16, is itself joined to
    // another layer, or when other layers are joined to this one.
    void SetXControlledBy(int layer, int controller);
    void SetYControlledBy(int layer, int controller);
    // Every layer back to itself (no event).
    void Reset();

    rtl::TNotifyEvent OnChange;

protected:
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    void SetControlledBy(int table, int layer, int controller);
    TJointLayersChart* FChart;
    int FControl[2][17] = {};
};

// ------------------------------------------------------------ TBakGndImg

enum class TBkgFill { bfSimple, bfStretch, bfTile };
enum class TBGAreaMode { bamNone, bamLeft, bamRight, bamTop, bamBottom, bamVStripe, bamHStripe, bamRect };

// The chart's background: a bitmap file, or a coloured area between chart
// coordinates of layer 1.
class TBakGndImg : public rtl::TPersistent {
public:
    // The bitmap file; without IncludePath only its file-name part is kept.
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v);
    bool IncludePath() const { return FIncludePath; }
    void SetIncludePath(bool v);
    TBkgFill FillMode() const { return FFillMode; }
    void SetFillMode(TBkgFill v);
    TBGAreaMode AreaMode() const { return FAreaMode; }
    void SetAreaMode(TBGAreaMode v);
    TColor AreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor v);
    double AreaLeft() const { return FAreaLeft; }
    void SetAreaLeft(double v);
    double AreaRight() const { return FAreaRight; }
    void SetAreaRight(double v);
    double AreaTop() const { return FAreaTop; }
    void SetAreaTop(double v);
    double AreaBottom() const { return FAreaBottom; }
    void SetAreaBottom(double v);

    // From another background: file name, path switch, fill and area
    // settings, then one OnChange.  Other sources raise.
    void Assign(const rtl::TPersistent* source) override;

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    std::string FName;
    bool FIncludePath = false;
    TBkgFill FFillMode = TBkgFill::bfStretch;
    TBGAreaMode FAreaMode = TBGAreaMode::bamNone;
    TColor FAreaColor = 0xDDDDDD;
    double FAreaLeft = -1, FAreaRight = 1, FAreaTop = 1, FAreaBottom = -1;
};

// ---------------------------------------------------------- pixel helpers

inline double LargerOf(double a, double b) { return b > a ? b : a; }
inline double SmallerOf(double a, double b) { return b >= a ? a : b; }
// The smallest integer not below x.
int32_t CeilToInteger(double x);
// The pixel coordinates the chart draws at stay within +-PixelLimit.
constexpr int PixelLimit = 30000;
// Clamps both to -PixelLimit..PixelLimit; true when either was changed.
bool ClampPixelPair(int& x, int& y);

} // namespace chart
