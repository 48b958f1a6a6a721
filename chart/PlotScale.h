// TScale: the control that draws one axis scale (base line, major and minor
// ticks, tick labels and a caption) for a value range mapped linearly or
// logarithmically onto its width or height, and converts between values
// and pixels.  It stands alone on a form or serves the chart as a helper
// that draws onto the chart's canvas (UseForeignCanvas).
//
// The rule a caller must know: every setter stores (clamping, never
// raising) and repaints at once when the scale is opaque or a helper, and
// the ticks of the last paint stay readable (NumTicks, TickPosition) until
// the next one.  The ticks a paint draws are planned first (PlanTicks):
// numbers, logarithmic decades, times of day in seconds, or calendar dates.
//
//     chart::TScale s(nullptr);
//     s.SetScaleType(chart::TScaleType::sctYL);
//     s.SetRange(0, 100);                    // k = -(h) / 100, d = MarginTop + 100 h / 100
//     int y = s.ConvertToPixelCoords(50);    // the middle of the span
//     s.UseForeignCanvas(bmp.Canvas(), 0, 0);
//     s.ForcePaint();                        // ticks at 0, 20, ... 100 recorded
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/PlotBase.h"
#include "platform/gui/Controls.h"

namespace chart {

// Where the base line lies: horizontal at the bottom (ticks above it) or
// the top, vertical at the left (ticks to its right) or the right.
enum class TScaleType { sctXB, sctXT, sctYL, sctYR };
enum class TFigType { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum class TColorScheme { csBWG, csSystem };
enum class TScaleUnitAnchor { uaSclTopLft, uaSclCenter, uaSclBotRgt };

inline bool IsVerticalScale(TScaleType t) { return t == TScaleType::sctYL || t == TScaleType::sctYR; }

// After each drawn tick: its value and the pixel of its foot on the base line.
using TScaleTickDrawnEvent = std::function<void(rtl::TObject* sender, gui::TCanvas*& canvas,
                                                TScaleType scaleType, double currentTickPos,
                                                int chartX, int chartY)>;
using TScaleRenderedEvent = std::function<void(rtl::TObject* sender, gui::TCanvas* canvas)>;

// ------------------------------------------------------- label texts

// decimals >= 0: fixed point ("12.50"); -1: two significant digits in
// scientific form with a sign character (" 1.5E+03", "-2.0E-05"); an
// exponent of 100 or more turns every character into "*".
std::string FormatNumber(double v, int decimals);
// Decimals of a linear scale's labels for DecPlaces -2 and -3 (automatic);
// other values are returned unchanged.
int AutoDecimals(int decPlaces, double rangeHigh, double rangeLow);
// Decimals of a logarithmic scale's labels for DecPlaces -2.
int AutoDecimalsLog(int decPlaces, double lo, double hi);
// Item n (1-based) of a "|"-separated list; the last item beyond the end,
// empty for n <= 0.
std::string UserTickItem(const std::string& text, int n);
// The label inside an inscription: "&" marks its place, else the
// inscription is a prefix.  An empty label stays empty.
std::string InscribeLabel(const std::string& inscription, const std::string& label);
// " hh:mm:ss" or "-hh:mm:ss", with ".mmm" when withMilliseconds.
std::string SecondsToTimeText(double seconds, bool withMilliseconds);
// A date-time scale value in the encoding the date formatting reads:
// negative values keep their time of day (-1.25 becomes -2.75, 18:00).
double DateTimeScaleValueToDateTime(double v);

// --------------------------------------------------------- tick plan

enum class TTickKind {
    tkMinor,        // short tick, no label
    tkMajor,        // long tick with its label
    tkAnnounce      // neither drawn nor recorded, only announced
};

struct TPlannedTick {
    double Value = 0;
    TTickKind Kind = TTickKind::tkMajor;
    int Length = 7;            // pixels from the base line
    bool Record = true;        // appended to the tick positions
    std::string Label;         // drawn when not empty
    std::string DateLine;      // the date written beside a time label
};

// What a paint of the scale draws, in values.
struct TTickPlan {
    std::vector<TPlannedTick> Ticks;
    // Date-time scales whose range is invalid or too small: the lines of
    // the message written instead of ticks.
    std::vector<std::string> Message;
    // Calendar labels are centred by their own height, numbers by that of "0".
    bool CalendarLabels = false;
};

// ------------------------------------------------------------- TScale

class TScale : public gui::TCustomControl {
public:
    static constexpr int MaxRecordedTicks = 250;

    explicit TScale(rtl::TComponent* owner);
    ~TScale() override;

    // -- published
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
    TColor ColorBackGnd() const { return FColorBackGnd; }
    void SetColorBackGnd(TColor v);
    TColor ColorScale() const { return FColorScale; }
    void SetColorScale(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TDTLabel* DateFormat() const { return FDateFormat.get(); }
    void SetDateFormat(const TDTLabel* v);
    // -3..12: -1 scientific, -2 and -3 automatic.
    int DecPlaces() const { return FDecPlaces; }
    void SetDecPlaces(int v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    TFigType LabelType() const { return FLabelType; }
    void SetLabelType(TFigType v);
    // On only while loading, or for a range of positive limits (>= 1e-100)
    // on a scale that is not a date-time scale.
    bool Logarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool v);
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int v);
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int v);
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int v);
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int v);
    // 0 (a tick at every unit) is kept; other values clamped to 2..10.
    int MinTicks() const { return FMinTicks; }
    void SetMinTicks(int v);
    int NumTicks() const { return FNumTicks; }
    // Equal limits are separated by 1 (the other limit = this + 1).
    double RangeLow() const { return FRangeLow; }
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    void SetRangeHigh(double v);
    bool ShortTicks() const { return FShortTicks; }
    void SetShortTicks(bool v);
    bool ShowBaseLine() const { return FShowBaseLine; }
    void SetShowBaseLine(bool v);
    const std::string& ScaleInscript() const { return FScaleInscript; }
    void SetScaleInscript(const std::string& v);
    const std::string& UserTickText() const { return FUserTickText; }
    void SetUserTickText(const std::string& v);
    TScaleType ScaleType() const { return FScaleType; }
    void SetScaleType(TScaleType v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

    TScaleTickDrawnEvent OnScaleTickDrawn;
    TScaleRenderedEvent OnBeforeScaleRendered;
    TScaleRenderedEvent OnAfterScaleRendered;

    // -- public
    double Center() const { return (FRangeLow + FRangeHigh) / 2; }
    bool IsHelperComponent() const { return FIsHelper; }
    void SetIsHelperComponent(bool v);
    int ForeignCanvasPosX() const { return FForeignX; }
    void SetForeignCanvasPosX(int v);
    int ForeignCanvasPosY() const { return FForeignY; }
    void SetForeignCanvasPosY(int v);
    bool SuppressPaint() const { return FSuppressPaint; }
    void SetSuppressPaint(bool v);
    // The value of the index-th tick of the last paint (1-based), 0 outside.
    double TickPosition(int index) const;
    // The transformation pixel = K * t(value) + D, t the identity or ln.
    double K() const { return FK; }
    double D() const { return FD; }
    // Whether the form loader has not yet finished with the scale.
    bool LoadingFlag() const { return FLoading; }

    void SetRange(double lowVal, double highVal);
    // Rounded (halves to even) and clamped to +-2147483647.
    int ConvertToPixelCoords(double value) const;
    // The range's centre when the usable length is not positive.
    double ConvertPixelToScale(int pixelCoord) const;
    // Draws onto canvas at the offset (x, y) from now on; nullptr returns to
    // the own canvas.  No repaint.
    void UseForeignCanvas(gui::TCanvas* canvas, int x, int y);
    gui::TCanvas* ForeignCanvas() const { return FForeignCanvas; }
    // Paints once now even while SuppressPaint is set.
    void ForcePaint();
    // The change handler of the date format: repaints.
    void Changed(rtl::TObject* sender);
    // The ticks a paint would draw with the current settings.
    TTickPlan PlanTicks() const;
    // The label inside the scale's inscription.
    std::string Inscribe(const std::string& label) const { return InscribeLabel(FScaleInscript, label); }

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void Assign(const rtl::TPersistent* source) override;

protected:
    using gui::TCustomControl::Changed;
    void Paint() override;
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    void CalcTransformation();
    void Redraw();
    void PaintScale(gui::TCanvas& canvas, int baseLine, int foreignX, int foreignY);
    void DrawPlan(gui::TCanvas& canvas, const TTickPlan& plan, int baseLine);
    void DrawTick(gui::TCanvas& canvas, int baseLine, int p, int length);
    void DrawLabel(gui::TCanvas& canvas, int baseLine, int p, const std::string& text, int lineH,
                   int rowsOut);
    void DrawCaption(gui::TCanvas& canvas, int baseLine);
    void DrawMessage(gui::TCanvas& canvas, const std::vector<std::string>& lines, int baseLine);
    void Announce(gui::TCanvas& canvas, int baseLine, double value, int p);
    int HorizontalLabelLeft(int p, int width) const;

    // The plans of each label mode (PlotScaleTicks.cpp, PlotScaleDateTime.cpp).
    void PlanLinear(TTickPlan& plan) const;
    void PlanLog(TTickPlan& plan) const;
    bool PlanTime(TTickPlan& plan) const;
    void PlanDateTime(TTickPlan& plan) const;
    void AddTick(TTickPlan& plan, double value, TTickKind kind, int length, bool record,
                 std::string label = {}) const;

    TFrameStyle FFrameStyle = TFrameStyle::fsLowered;
    TColor FColorScale = gui::clBlack;
    TColor FColorBackGnd = gui::clBtnFace;
    TColor FBlackLine = gui::clBlack, FGreyLine = 0x808080, FWhiteLine = 0xFFFFFF;
    TColorScheme FColorScheme = TColorScheme::csBWG;
    bool FLogarithmic = false;
    double FK = 1, FD = 0;
    double FRangeHigh = 100, FRangeLow = 0;
    bool FShortTicks = true;
    int FNumTicks = 0;
    int FMinTicks = 3;
    int FDecPlaces = -2;
    bool FLoading = true;
    bool FShowBaseLine = true;
    bool FTransparent = false;
    TFigType FLabelType = TFigType::ftNum;
    std::unique_ptr<TDTLabel> FDateFormat;
    int FMarginTop = 20, FMarginBottom = 20, FMarginRight = 20, FMarginLeft = 20;
    bool FIsHelper = false;
    int FCaptionPosX = 4, FCaptionPosY = 4;
    gui::TAlignment FCaptionAlignment = gui::TAlignment::taCenter;
    TScaleUnitAnchor FCaptionAnchor = TScaleUnitAnchor::uaSclTopLft;
    std::string FUserTickText;
    std::string FScaleInscript;
    std::vector<double> FTickPositions;
    std::string FCaption;
    gui::TCanvas* FForeignCanvas = nullptr;
    int FForeignX = 0, FForeignY = 0;
    TScaleType FScaleType = TScaleType::sctXB;
    bool FSuppressPaint = true;
};

} // namespace chart
