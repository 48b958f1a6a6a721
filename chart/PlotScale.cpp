// TScale: state, setters, the value-to-pixel transformation and the
// painting frame around the tick plans.

#include "chart/PlotScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chart {

using gui::TCanvas;

TScale::TScale(rtl::TComponent* owner)
    : gui::TCustomControl(owner), FDateFormat(std::make_unique<TDTLabel>())
{
    gui::TCustomControl::SetBounds(0, 0, 400, 400);
    FDateFormat->OnChange = [this](rtl::TObject* sender) { Changed(sender); };
    CalcTransformation();
    // The window exists once the platform's constructor has run: the
    // scale may paint from here on.
    FSuppressPaint = false;
}

TScale::~TScale() = default;

// Paints at once when opaque or a helper; a transparent scale on a form
// waits for its next paint message, so that what lies below is drawn first.
void TScale::Redraw()
{
    if (!FTransparent || FIsHelper) Paint();
    else Invalidate();
}

// ---------------------------------------------------------------- setters

void TScale::SetCaption(const std::string& v) { FCaption = v; Redraw(); }
void TScale::SetCaptionPosX(int v) { FCaptionPosX = v; Redraw(); }
void TScale::SetCaptionPosY(int v) { FCaptionPosY = v; Redraw(); }
void TScale::SetCaptionAlignment(gui::TAlignment v) { FCaptionAlignment = v; Redraw(); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor v) { FCaptionAnchor = v; Redraw(); }
void TScale::SetShowBaseLine(bool v) { FShowBaseLine = v; Redraw(); }
void TScale::SetScaleInscript(const std::string& v) { FScaleInscript = v; Redraw(); }
void TScale::SetUserTickText(const std::string& v) { FUserTickText = v; Redraw(); }
void TScale::SetTransparent(bool v) { FTransparent = v; Redraw(); }

void TScale::SetColorBackGnd(TColor v)
{
    if (v == FColorBackGnd) return;
    FColorBackGnd = v;
    Redraw();
}

void TScale::SetColorScale(TColor v)
{
    if (v == FColorScale) return;
    FColorScale = v;
    Redraw();
}

void TScale::SetColorScheme(TColorScheme v)
{
    if (v == FColorScheme) return;
    FColorScheme = v;
    if (v == TColorScheme::csBWG) {
        FGreyLine = 0x808080;
        FWhiteLine = 0xFFFFFF;
    } else {
        FGreyLine = gui::clBtnShadow;
        FWhiteLine = gui::clBtnHighlight;
    }
    Redraw();
}

void TScale::SetDateFormat(const TDTLabel* v)
{
    // The copy notifies through Changed, which repaints.
    FDateFormat->Assign(v);
}

void TScale::SetDecPlaces(int v)
{
    FDecPlaces = std::clamp(v, -3, 12);
    CalcTransformation();
    Redraw();
}

void TScale::SetFrameStyle(TFrameStyle v)
{
    if (v == FFrameStyle) return;
    FFrameStyle = v;
    Redraw();
}

void TScale::SetLabelType(TFigType v)
{
    FLabelType = v;
    if (v == TFigType::ftDateTime) FLogarithmic = false;
    if (v == TFigType::ftTime) FDecPlaces = 4;
    CalcTransformation();
    Redraw();
}

void TScale::SetLogarithmic(bool v)
{
    if (v) {
        if (FLoading ||
            (FRangeLow >= 1e-100 && FRangeHigh >= 1e-100 && FLabelType != TFigType::ftDateTime))
            FLogarithmic = true;
    } else {
        FLogarithmic = false;
    }
    CalcTransformation();
    Redraw();
}

void TScale::SetMarginTop(int v) { FMarginTop = std::max(v, 0); CalcTransformation(); Redraw(); }
void TScale::SetMarginBottom(int v) { FMarginBottom = std::max(v, 0); CalcTransformation(); Redraw(); }
void TScale::SetMarginLeft(int v) { FMarginLeft = std::max(v, 0); CalcTransformation(); Redraw(); }
void TScale::SetMarginRight(int v) { FMarginRight = std::max(v, 0); CalcTransformation(); Redraw(); }

void TScale::SetMinTicks(int v)
{
    FMinTicks = v == 0 ? 0 : std::clamp(v, 2, 10);
    Redraw();
}

void TScale::SetRangeLow(double v)
{
    FRangeLow = v;
    if (FRangeHigh == v) FRangeHigh = v + 1;
    CalcTransformation();
    Redraw();
}

void TScale::SetRangeHigh(double v)
{
    FRangeHigh = v;
    if (FRangeLow == v) FRangeLow = v + 1;
    CalcTransformation();
    Redraw();
}

void TScale::SetRange(double lowVal, double highVal)
{
    FRangeLow = lowVal;
    FRangeHigh = lowVal == highVal ? lowVal + 1 : highVal;
    CalcTransformation();
    Redraw();
}

void TScale::SetShortTicks(bool v)
{
    if (v == FShortTicks) return;
    FShortTicks = v;
    Redraw();
}

void TScale::SetScaleType(TScaleType v)
{
    if (v == FScaleType) return;
    FScaleType = v;
    CalcTransformation();
    Redraw();
}

void TScale::SetIsHelperComponent(bool v)
{
    if (v == FIsHelper) return;
    FIsHelper = v;
    Redraw();
}

void TScale::SetForeignCanvasPosX(int v) { FForeignX = v; Redraw(); }
void TScale::SetForeignCanvasPosY(int v) { FForeignY = v; Redraw(); }

void TScale::SetSuppressPaint(bool v)
{
    FSuppressPaint = v;
    if (!v) Redraw();
}

double TScale::TickPosition(int index) const
{
    if (index < 1 || index > FNumTicks) return 0;
    return FTickPositions[static_cast<std::size_t>(index - 1)];
}

void TScale::UseForeignCanvas(gui::TCanvas* canvas, int x, int y)
{
    FForeignCanvas = canvas;
    FForeignX = x;
    FForeignY = y;
}

void TScale::ForcePaint()
{
    const bool saved = FSuppressPaint;
    FSuppressPaint = false;
    Paint();
    FSuppressPaint = saved;
}

void TScale::Changed(rtl::TObject*) { Redraw(); }

void TScale::SetBounds(int left, int top, int width, int height)
{
    gui::TCustomControl::SetBounds(left, top, width, height);
    CalcTransformation();
    Redraw();
}

void TScale::Loaded()
{
    gui::TCustomControl::Loaded();
    CalcTransformation();
    FLoading = false;
    Redraw();
}

void TScale::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TScale*>(source);
    if (!s) {
        gui::TCustomControl::Assign(source);
        return;
    }
    FFrameStyle = s->FFrameStyle;
    FColorScale = s->FColorScale;
    FColorBackGnd = s->FColorBackGnd;
    FBlackLine = s->FBlackLine;
    FGreyLine = s->FGreyLine;
    FWhiteLine = s->FWhiteLine;
    FColorScheme = s->FColorScheme;
    OnScaleTickDrawn = s->OnScaleTickDrawn;
    FLogarithmic = s->FLogarithmic;
    FK = s->FK;
    FD = s->FD;
    FRangeHigh = s->FRangeHigh;
    FRangeLow = s->FRangeLow;
    FShortTicks = s->FShortTicks;
    FNumTicks = s->FNumTicks;
    FMinTicks = s->FMinTicks;
    FDecPlaces = s->FDecPlaces;
    FShowBaseLine = s->FShowBaseLine;
    FTransparent = s->FTransparent;
    FLabelType = s->FLabelType;
    {
        // Copy the date format without a repaint per setting.
        auto handler = std::move(FDateFormat->OnChange);
        FDateFormat->OnChange = nullptr;
        FDateFormat->Assign(s->FDateFormat.get());
        FDateFormat->OnChange = std::move(handler);
    }
    FMarginTop = s->FMarginTop;
    FMarginBottom = s->FMarginBottom;
    FMarginRight = s->FMarginRight;
    FMarginLeft = s->FMarginLeft;
    FCaptionPosX = s->FCaptionPosX;
    FCaptionPosY = s->FCaptionPosY;
    FUserTickText = s->FUserTickText;
    FScaleInscript = s->FScaleInscript;
    FTickPositions = s->FTickPositions;
    FCaption = s->FCaption;
    FCaptionAnchor = s->FCaptionAnchor;
    FCaptionAlignment = s->FCaptionAlignment;
    FForeignCanvas = s->FForeignCanvas;
    FForeignX = s->FForeignX;
    FForeignY = s->FForeignY;
    FScaleType = s->FScaleType;
    FSuppressPaint = s->FSuppressPaint;
    Redraw();
}

void TScale::AssignTo(rtl::TPersistent* dest) const
{
    if (auto* d = dynamic_cast<TScale*>(dest)) {
        d->Assign(this);
        return;
    }
    gui::TCustomControl::AssignTo(dest);
}

// ------------------------------------------------------ transformation

void TScale::CalcTransformation()
{
    if (IsLoading() || FRangeLow == FRangeHigh) return;
    const bool logOk = FRangeLow > 0 && FRangeHigh > 0;
    if (!IsVerticalScale(FScaleType)) {
        const int w = Width() - FMarginLeft - FMarginRight - 1;
        if (w <= 0) {
            FK = 0;
            FD = Width() / 2.0;
        } else if (!FLogarithmic) {
            FK = w / (FRangeHigh - FRangeLow);
            FD = FMarginLeft - FRangeLow * FK;
        } else if (logOk) {
            FK = w / (std::log(FRangeHigh) - std::log(FRangeLow));
            FD = FMarginLeft - std::log(FRangeLow) * FK;
        }
    } else {
        const int h = Height() - FMarginTop - FMarginBottom - 1;
        if (h <= 0) {
            // The width, as for horizontal scales.
            FK = 0;
            FD = Width() / 2.0;
        } else if (!FLogarithmic) {
            FK = h / (FRangeLow - FRangeHigh);
            FD = FMarginTop - FRangeHigh * FK;
        } else if (logOk) {
            FK = h / (std::log(FRangeLow) - std::log(FRangeHigh));
            FD = FMarginTop - std::log(FRangeHigh) * FK;
        }
    }
}

int TScale::ConvertToPixelCoords(double value) const
{
    double p;
    if (!FLogarithmic) {
        p = FK * value + FD;
    } else if (value > 1e-100) {
        p = FK * std::log(value) + FD;
    } else {
        p = FRangeHigh >= FRangeLow ? 0 : Width();
    }
    constexpr double lim = 2147483647.0;
    if (!(p > -lim)) p = std::isnan(p) ? 0 : -lim;
    if (p > lim) p = lim;
    return static_cast<int>(std::nearbyint(p));
}

double TScale::ConvertPixelToScale(int pixelCoord) const
{
    // No usable length: every pixel stands for the middle of the range.
    if (FK == 0) return Center();
    const double t = (pixelCoord - FD) / FK;
    return FLogarithmic ? std::exp(t) : t;
}

// ------------------------------------------------------------ painting

void TScale::Paint()
{
    if (!Visible() && !(IsDesigning() && !FIsHelper)) return;
    if (IsLoading() || FSuppressPaint) return;

    TCanvas* target = FForeignCanvas ? FForeignCanvas : Canvas();
    const int x0 = FForeignCanvas ? FForeignX : 0;
    const int y0 = FForeignCanvas ? FForeignY : 0;
    AssignCanvasFont(*target, Font());
    if (OnBeforeScaleRendered) OnBeforeScaleRendered(this, target);

    auto baseLine = [this](int ox, int oy) {
        switch (FScaleType) {
        case TScaleType::sctXB: return oy + Height() - FMarginBottom - 1;
        case TScaleType::sctXT: return oy + FMarginTop;
        case TScaleType::sctYL: return ox + FMarginLeft;
        default: return ox + Width() - FMarginRight - 1;
        }
    };

    if (FTransparent) {
        target->Pen()->SetColor(FColorScale);
        PaintScale(*target, baseLine(x0, y0), x0, y0);
        if (OnAfterScaleRendered) OnAfterScaleRendered(this, target);
        return;
    }

    gui::TBitmap bmp(std::max(Width(), 1), std::max(Height(), 1));
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(FColorBackGnd);
    c->Brush()->SetColor(FColorBackGnd);
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->FillRect(gui::Rect(0, 0, bmp.Width(), bmp.Height()));
    c->Font()->Assign(Font());
    c->Pen()->SetColor(FColorScale);
    PaintScale(*c, baseLine(0, 0), 0, 0);
    if (OnAfterScaleRendered) OnAfterScaleRendered(this, c);
    DrawStyledFrame(*c, FFrameStyle, 0, 0, bmp.Width() - 1, bmp.Height() - 1, FWhiteLine,
                    gui::clSilver, FGreyLine, FBlackLine, FBlackLine);
    target->Draw(x0, y0, &bmp);
}

// Ticks, labels and caption at the base line, then the base line itself.
void TScale::PaintScale(TCanvas& c, int baseLine, int, int)
{
    // Labels keep their point size on paper.
    if (c.IsPrinterCanvas()) SetCanvasFontSize(c, Font()->Size());
    c.Font()->SetColor(FColorScale);
    c.Brush()->SetStyle(FTransparent ? gui::TBrushStyle::bsClear : gui::TBrushStyle::bsSolid);
    if (!FTransparent) c.Brush()->SetColor(FColorBackGnd);

    FNumTicks = 0;
    FTickPositions.assign(MaxRecordedTicks, 0.0);
    DrawPlan(c, PlanTicks(), baseLine);
    DrawCaption(c, baseLine);

    if (FShowBaseLine) {
        c.Pen()->SetColor(FColorScale);
        if (IsVerticalScale(FScaleType)) {
            c.MoveTo(baseLine, FMarginTop);
            c.LineTo(baseLine, Height() - FMarginBottom - 1);
        } else {
            c.MoveTo(FMarginLeft, baseLine);
            c.LineTo(Width() - FMarginRight - 1, baseLine);
        }
    }
}

TTickPlan TScale::PlanTicks() const
{
    TTickPlan plan;
    switch (FLabelType) {
    case TFigType::ftDateTime: PlanDateTime(plan); break;
    case TFigType::ftTime:
        if (!PlanTime(plan)) {
            plan = TTickPlan();
            if (FLogarithmic) PlanLog(plan);
            else PlanLinear(plan);
        }
        break;
    default:
        if (FLogarithmic) PlanLog(plan);
        else PlanLinear(plan);
        break;
    }
    return plan;
}

void TScale::DrawTick(TCanvas& c, int b, int p, int length)
{
    switch (FScaleType) {
    case TScaleType::sctYL: c.MoveTo(b, p); c.LineTo(b + length, p); break;
    case TScaleType::sctYR: c.MoveTo(b, p); c.LineTo(b - length, p); break;
    case TScaleType::sctXT: c.MoveTo(p, b); c.LineTo(p, b + length); break;
    case TScaleType::sctXB: c.MoveTo(p, b); c.LineTo(p, b - length); break;
    }
}

int TScale::HorizontalLabelLeft(int p, int width) const
{
    const int half = width / 2;
    if (p + half >= Width() - 2) return Width() - 2 * half - 2;
    return p - std::min(p - 2, half);
}

// A label at tick pixel p.  lineH is the height that centres vertical
// labels; rowsOut moves the text that many of its own heights further
// from the base line (the date line of a time label).
void TScale::DrawLabel(TCanvas& c, int b, int p, const std::string& text, int lineH, int rowsOut)
{
    const gui::TSize sz = c.TextExtent(text);
    int x, y;
    if (IsVerticalScale(FScaleType)) {
        x = FScaleType == TScaleType::sctYL ? b + 8 : b - sz.cx - 8;
        y = rowsOut == 0 ? p - lineH / 2 : p - 3 * (sz.cy / 2);
    } else {
        x = HorizontalLabelLeft(p, sz.cx);
        y = FScaleType == TScaleType::sctXT ? b + 7 + rowsOut * sz.cy
                                            : b - sz.cy - 7 - rowsOut * sz.cy;
    }
    c.TextOut(x, y, text);
}

void TScale::Announce(TCanvas& c, int b, double value, int p)
{
    if (!OnScaleTickDrawn) return;
    TCanvas* cv = &c;
    if (IsVerticalScale(FScaleType)) OnScaleTickDrawn(this, cv, FScaleType, value, b, p);
    else OnScaleTickDrawn(this, cv, FScaleType, value, p, b);
}

void TScale::DrawPlan(TCanvas& c, const TTickPlan& plan, int b)
{
    if (!plan.Message.empty()) {
        DrawMessage(c, plan.Message, b);
        return;
    }
    const int zeroH = c.TextHeight("0");
    for (const TPlannedTick& t : plan.Ticks) {
        const int p = ConvertToPixelCoords(t.Value);
        if (t.Kind != TTickKind::tkAnnounce) {
            if (t.Record && FNumTicks < MaxRecordedTicks)
                FTickPositions[static_cast<std::size_t>(FNumTicks++)] = t.Value;
            DrawTick(c, b, p, t.Length);
            if (!t.Label.empty()) {
                const int h = plan.CalendarLabels ? c.TextHeight(t.Label) : zeroH;
                DrawLabel(c, b, p, t.Label, h, 0);
            }
            if (!t.DateLine.empty()) DrawLabel(c, b, p, t.DateLine, 0, 1);
        }
        Announce(c, b, t.Value, p);
    }
}

void TScale::DrawMessage(TCanvas& c, const std::vector<std::string>& lines, int b)
{
    const int pm = ConvertToPixelCoords(Center());
    if (IsVerticalScale(FScaleType)) {
        const int h = c.TextHeight("T");
        int top = pm - h;
        for (const std::string& line : lines) {
            const int x = FScaleType == TScaleType::sctYL ? b + 2 : b - 2 - c.TextWidth(line);
            c.TextOut(x, top, line);
            top += h;
        }
    } else {
        std::string text;
        for (const std::string& line : lines) text += (text.empty() ? "" : " ") + line;
        c.TextOut(pm - c.TextWidth(text) / 2, b + 7, text);
    }
}

void TScale::DrawCaption(TCanvas& c, int b)
{
    if (FCaption.empty()) return;
    const int w = c.TextWidth(FCaption);
    int x, y;
    switch (FCaptionAnchor) {
    case TScaleUnitAnchor::uaSclTopLft: y = FCaptionPosY + FMarginTop; break;
    case TScaleUnitAnchor::uaSclCenter:
        y = FCaptionPosY + FMarginTop + (Height() - FMarginTop - FMarginBottom) / 2;
        break;
    default: y = FCaptionPosY + Height() - FMarginBottom; break;
    }
    if (IsVerticalScale(FScaleType)) {
        x = FCaptionPosX + b;
    } else {
        switch (FCaptionAnchor) {
        case TScaleUnitAnchor::uaSclTopLft: x = FCaptionPosX + FMarginLeft; break;
        case TScaleUnitAnchor::uaSclCenter:
            x = FCaptionPosX + FMarginLeft + (Width() - FMarginLeft - FMarginRight) / 2;
            break;
        default: x = FCaptionPosX + Width() - FMarginRight; break;
        }
        y = FCaptionPosY + b;
    }
    if (FCaptionAlignment == gui::TAlignment::taRightJustify) x -= w;
    else if (FCaptionAlignment == gui::TAlignment::taCenter) x -= w / 2;
    c.TextOut(x, y, FCaption);
}

} // namespace chart
