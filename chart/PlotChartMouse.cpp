// The chart control's mouse: panning and zooming the mouse-affected layers,
// zoom and rubber-band windows, dragging cross-hairs and text labels, the
// mouse box a program waits for, the read-out and the screen cursor.

#include "chart/PlotChart.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

namespace chart {

using gui::TMouseButton;
using gui::TPoint;
using gui::TShiftState;
using gui::TShiftStateItem;

namespace {
bool IsWindowAction(TMouseActMode a)
{
    return a == TMouseActMode::maRubberBand || a == TMouseActMode::maZoomWind || a == TMouseActMode::maZoomWindPos;
}
bool IsDragAction(TMouseActMode a)
{
    return a == TMouseActMode::maPan || a == TMouseActMode::maPanHoriz || a == TMouseActMode::maPanVert ||
           a == TMouseActMode::maZoomDrag;
}
} // namespace

bool TCustomPlotChart::InPlot(int x, int y) const
{
    return x >= FArea.MarginLeft && x <= Width() - FArea.MarginRight - FArea.ShadowWidth && y >= FArea.MarginTop &&
           y <= Height() - FArea.MarginBottom - FArea.ShadowWidth;
}

TPoint TCustomPlotChart::ClampToPlot(int x, int y) const
{
    return {std::clamp(x, FArea.MarginLeft, std::max(FArea.MarginLeft, Width() - FArea.MarginRight - FArea.ShadowWidth)),
            std::clamp(y, FArea.MarginTop, std::max(FArea.MarginTop, Height() - FArea.MarginBottom - FArea.ShadowWidth))};
}

// The window rectangles are drawn in XOR over a copy of the chart's
// picture, so drawing one again takes it away.
void TCustomPlotChart::ToggleWindowRect(TPoint a, TPoint b)
{
    const gui::TRect r(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1);
    const auto it = std::find(FWindowRects.begin(), FWindowRects.end(), r);
    if (it != FWindowRects.end()) FWindowRects.erase(it);
    else FWindowRects.push_back(r);
    if (!Parent()) return;
    gui::TBitmap shown;
    shown.Assign(FChartBmp.get());
    gui::TCanvas& c = *shown.Canvas();
    c.Pen()->SetColor(gui::clWhite);
    c.Pen()->SetMode(gui::TPenMode::pmXor);
    c.Brush()->SetStyle(gui::TBrushStyle::bsClear);
    for (const gui::TRect& w : FWindowRects) c.Rectangle(w);
    c.Pen()->SetMode(gui::TPenMode::pmCopy);
    c.Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    CopyToControl(shown, 0, 0);
}

void TCustomPlotChart::DblClick()
{
    gui::TCustomControl::DblClick();
    FWasDblClk = true;
}

// ------------------------------------------------------------------ down

void TCustomPlotChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FWasDblClk) {
        FWasDblClk = false;
        return;
    }
    gui::TCustomControl::MouseDown(button, shift, x, y);
    if (FMouseBoxState == TMouseBoxState::msFirstCorner) {
        if (button == TMouseButton::mbRight) {
            FMouseBoxState = TMouseBoxState::msNormal;
        } else {
            FMouseBox1 = FMouseBoxCorner = ClampToPlot(x, y);
            FMouseBoxState = TMouseBoxState::msRectDraw;
            // Shown from the press on, so that the first move's erase
            // takes it away instead of leaving a dot.
            ToggleWindowRect(FMouseBox1, FMouseBoxCorner);
        }
    }
    if (IsWindowAction(FMouseAction) && FZoomState == TZoomState::zsNormal && button == TMouseButton::mbLeft &&
        InPlot(x, y)) {
        FZoomState = TZoomState::zsDrawWin;
        FWindAnchor = FWindCorner = {x, y};
        ToggleWindowRect(FWindAnchor, FWindCorner);
    }
}

// ------------------------------------------------------------------ move

void TCustomPlotChart::TakeAnchors(int x, int y)
{
    for (int i = 1; i <= MaxLayers; ++i) {
        TAnchor& a = FAnchors[i];
        a.X = x;
        a.Y = y;
        const TLayerRange r = LayerRange(i);
        a.LoX = r.XLo;
        a.HiX = r.XHi;
        a.LoY = r.YLo;
        a.HiY = r.YHi;
    }
}

void TCustomPlotChart::DragRanges(int x, int y)
{
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    const double PW = FArea.PlotWidth(), PH = FArea.PlotHeight();
    for (int i = 1; i <= MaxLayers; ++i) {
        if (!FMouseAffLayer.test(static_cast<std::size_t>(i))) continue;
        const TAnchor& a = FAnchors[i];
        const double dxp = x - a.X, dyp = y - a.Y;
        const TLayerRange cur = LayerRange(i);
        double xLo = cur.XLo, xHi = cur.XHi, yLo = cur.YLo, yHi = cur.YHi;
        if (FMouseAction == TMouseActMode::maZoomDrag) {
            const double g = 1 - dxp / Width();
            const double c = FIsometric ? g : 1 + dyp / Height();
            const double hx = (a.HiX - a.LoX) * g / 2, hy = (a.HiY - a.LoY) * c / 2;
            const double cx = (a.HiX + a.LoX) / 2, cy = (a.HiY + a.LoY) / 2;
            xLo = cx - hx;
            xHi = cx + hx;
            yLo = cy - hy;
            yHi = cy + hy;
        } else {
            if (FMouseAction != TMouseActMode::maPanVert && PW > 0) {
                if (FScalePropsX[i]->Logarithmic()) {
                    const double f = std::exp(std::log(cur.XHi / cur.XLo) * -dxp / PW);
                    xLo = f * a.LoX;
                    xHi = f * a.HiX;
                } else {
                    const double shift = (cur.XHi - cur.XLo) * dxp / PW;
                    xLo = a.LoX - shift;
                    xHi = a.HiX - shift;
                }
            }
            if (FMouseAction != TMouseActMode::maPanHoriz && PH > 0) {
                if (FScalePropsY[i]->Logarithmic()) {
                    const double f = std::exp(std::log(cur.YHi / cur.YLo) * dyp / PH);
                    yLo = f * a.LoY;
                    yHi = f * a.HiY;
                } else {
                    const double shift = (cur.YHi - cur.YLo) * dyp / PH;
                    yLo = a.LoY + shift;
                    yHi = a.HiY + shift;
                }
            }
        }
        ApplyJointRange(i, false, true, xLo, yLo, xHi, yHi);
    }
    SetSuppressPaint(saved);   // repaints when painting was allowed
    if (OnZoomPan) OnZoomPan(this);
}

TPoint TCustomPlotChart::LabelAnchor(const TTextLabel& l) const
{
    const TPoint mapped = R2M(l.Layer(), l.PosX(), l.PosY());
    TPoint p(static_cast<int>(std::nearbyint(l.PosX())), static_cast<int>(std::nearbyint(l.PosY())));
    switch (l.AttachToData()) {
    case TTxtLblAttachMode::tlamNone: break;
    case TTxtLblAttachMode::tlamXOnly: p.X = mapped.X; break;
    case TTxtLblAttachMode::tlamYOnly: p.Y = mapped.Y; break;
    case TTxtLblAttachMode::tlamBoth: p = mapped; break;
    }
    return p;
}

int TCustomPlotChart::NearestCrossHair(int x, int y) const
{
    int best = 1;
    double bestDist = 1.7e308;
    for (int i = 1; i <= MaxCrossHairs; ++i) {
        const TCrossHair& ch = *FCrossHairs[i];
        const TPoint p = R2M(ch.Layer(), ch.PosX(), ch.PosY());
        if (ch.Mode() == TCrossHMode::chVert || ch.Mode() == TCrossHMode::chBoth) {
            const double d = double(p.X - x) * (p.X - x);
            if (d < bestDist) bestDist = d, best = i;
        }
        if (ch.Mode() == TCrossHMode::chHoriz || ch.Mode() == TCrossHMode::chBoth) {
            const double d = double(p.Y - y) * (p.Y - y);
            if (d < bestDist) bestDist = d, best = i;
        }
    }
    return best;
}

int TCustomPlotChart::NearestTextLabel(int x, int y) const
{
    int best = 1;
    double bestDist = 1.7e308;
    for (int i = 1; i <= MaxTextLabels; ++i) {
        const TTextLabel& l = *FTextLabels[i];
        if (l.Mode() == TTxtLblMode::tlOff || !l.Visible()) continue;
        const TPoint p = LabelAnchor(l);
        const double d = double(p.X - x) * (p.X - x) + double(p.Y - y) * (p.Y - y);
        if (d < bestDist) bestDist = d, best = i;
    }
    return best;
}

void TCustomPlotChart::SetMouseCursor(int x, int y)
{
    if (!gui::Screen) return;
    gui::TCursor cursor = gui::crDefault;
    if (!InPlot(x, y) || FMouseCursorFixed) {
        cursor = gui::crDefault;
    } else {
        switch (FMouseAction) {
        case TMouseActMode::maNone: cursor = gui::crCross; break;
        case TMouseActMode::maPan:
        case TMouseActMode::maPanHoriz:
        case TMouseActMode::maPanVert: cursor = crPlotHand; break;
        case TMouseActMode::maRubberBand:
        case TMouseActMode::maDragCrossH:
        case TMouseActMode::maDragLabel: cursor = gui::crDefault; break;
        case TMouseActMode::maZoomWind: cursor = crPlotZoomWindow; break;
        case TMouseActMode::maZoomWindPos: cursor = crPlotZoomPan; break;
        case TMouseActMode::maZoomDrag: cursor = crPlotZoomDrag; break;
        default: return;   // the cursor stays as it is
        }
    }
    gui::Screen->SetCursor(cursor);
}

void TCustomPlotChart::MouseMove(TShiftState shift, int x, int y)
{
    gui::TCustomControl::MouseMove(shift, x, y);
    if (FMouseBoxState == TMouseBoxState::msRectDraw) {
        const TPoint p = ClampToPlot(x, y);
        ToggleWindowRect(FMouseBox1, FMouseBoxCorner);
        ToggleWindowRect(FMouseBox1, p);
        FMouseBoxCorner = p;
    }
    const bool left = shift.Contains(TShiftStateItem::ssLeft);
    if (IsDragAction(FMouseAction)) {
        if (!left) {
            FLButtonWasDown = false;
        } else if (!FLButtonWasDown) {
            TakeAnchors(x, y);
            FLButtonWasDown = true;
        } else if (InPlot(x, y)) {
            DragRanges(x, y);
        }
    } else if (IsWindowAction(FMouseAction) && FZoomState == TZoomState::zsDrawWin) {
        const int L = FArea.MarginLeft, Rx = Width() - FArea.MarginRight - FArea.ShadowWidth;
        x = std::clamp(x, L, std::max(L, Rx));
        if (FIsometric) {
            const int dx = x - FWindAnchor.X;
            y = (y - FWindAnchor.Y) * dx >= 1 ? FWindAnchor.Y + dx : FWindAnchor.Y - dx;
        }
        const int T = FArea.MarginTop, B = Height() - FArea.MarginBottom - FArea.ShadowWidth;
        y = std::clamp(y, T, std::max(T, B));
        ToggleWindowRect(FWindAnchor, FWindCorner);
        ToggleWindowRect(FWindAnchor, {x, y});
        FWindCorner = {x, y};
    } else if (FMouseAction == TMouseActMode::maDragCrossH || FMouseAction == TMouseActMode::maDragLabel) {
        if (!left) {
            FLButtonWasDown = false;
        } else if (!FLButtonWasDown) {
            TakeAnchors(x, y);
            FLButtonWasDown = true;
            if (FMouseAction == TMouseActMode::maDragCrossH) FCHNext = NearestCrossHair(x, y);
            else FTLNext = NearestTextLabel(x, y);
        } else if (FMouseAction == TMouseActMode::maDragCrossH) {
            TCrossHair& ch = *FCrossHairs[FCHNext];
            double rx = 0, ry = 0;
            M2R(ch.Layer(), x, y, rx, ry);
            rtl::TNotifyEvent saved = std::move(ch.OnChange);
            ch.OnChange = nullptr;
            ch.SetPosX(rx);
            ch.SetPosY(ry);
            ch.OnChange = std::move(saved);
            Paint();
            if (OnCrossHairMove) OnCrossHairMove(this, &ch);
        } else {
            TTextLabel& l = *FTextLabels[FTLNext];
            double rx = 0, ry = 0;
            M2R(l.Layer(), x, y, rx, ry);
            rtl::TNotifyEvent saved = std::move(l.OnChange);
            l.OnChange = nullptr;
            switch (l.AttachToData()) {
            case TTxtLblAttachMode::tlamNone: l.SetPosX(x); l.SetPosY(y); break;
            case TTxtLblAttachMode::tlamXOnly: l.SetPosX(rx); l.SetPosY(y); break;
            case TTxtLblAttachMode::tlamYOnly: l.SetPosX(x); l.SetPosY(ry); break;
            case TTxtLblAttachMode::tlamBoth: l.SetPosX(rx); l.SetPosY(ry); break;
            }
            l.OnChange = std::move(saved);
            Paint();
            if (OnTextLabelMove) OnTextLabelMove(this, &l);
        }
    }
    if (InPlot(x, y)) M2R(FActiveLayer, x, y, FMousePosX, FMousePosY);
    SetMouseCursor(x, y);
}

// -------------------------------------------------------------------- up

void TCustomPlotChart::ZoomWindowDone(TMouseButton button)
{
    FZoomState = TZoomState::zsNormal;
    if (button == TMouseButton::mbRight) ToggleWindowRect(FWindAnchor, FWindCorner);
    if (button != TMouseButton::mbLeft) return;
    if (FWindCorner.X == FWindAnchor.X || FWindCorner.Y == FWindAnchor.Y) return;
    FWindowRects.clear();   // the repaint below replaces the rectangle
    const bool saved = FSuppressPaint;
    FSuppressPaint = true;
    for (int i = 1; i <= MaxLayers; ++i) {
        if (!FMouseAffLayer.test(static_cast<std::size_t>(i))) continue;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        M2R(i, FWindAnchor.X, FWindAnchor.Y, x1, y1);
        M2R(i, FWindCorner.X, FWindCorner.Y, x2, y2);
        if (FMouseAction != TMouseActMode::maZoomWind) {
            const TLayerRange r = LayerRange(i);
            if ((x2 < x1 && r.XLo < r.XHi) || (x2 > x1 && r.XLo > r.XHi)) std::swap(x1, x2);
            if ((y2 < y1 && r.YLo < r.YHi) || (y2 > y1 && r.YLo > r.YHi)) std::swap(y1, y2);
        }
        if (FIsometric) y2 = y1 + (x2 - x1) * IsometricFactor();
        if (FMouseAction == TMouseActMode::maRubberBand) {
            if (OnRubberBand) OnRubberBand(this, i, x1, y1, x2, y2);
        } else {
            ApplyJointRange(i, true, false, x1, y1, x2, y2);
        }
    }
    if (OnZoomPan) OnZoomPan(this);
    SetSuppressPaint(saved);
}

void TCustomPlotChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FWasDblClk) {
        FWasDblClk = false;
        return;
    }
    gui::TCustomControl::MouseUp(button, shift, x, y);
    if (FMouseBoxState == TMouseBoxState::msRectDraw) {
        ToggleWindowRect(FMouseBox1, FMouseBoxCorner);
        if (button == TMouseButton::mbRight) {
            FMouseBoxState = TMouseBoxState::msNormal;
        } else {
            FMouseBox2 = ClampToPlot(x, y);
            FMouseBoxState = TMouseBoxState::msFinished;
        }
    }
    if (IsWindowAction(FMouseAction) && FZoomState == TZoomState::zsDrawWin) ZoomWindowDone(button);
    if (IsDragAction(FMouseAction)) PushZoomHistory();
}

// ------------------------------------------------------------- mouse box

bool TCustomPlotChart::MouseBox(double& xLo, double& yLo, double& xHi, double& yHi)
{
    FMouseBoxState = TMouseBoxState::msFirstCorner;
    while (FMouseBoxState == TMouseBoxState::msFirstCorner || FMouseBoxState == TMouseBoxState::msRectDraw)
        gui::Application->HandleMessage();
    const bool finished = FMouseBoxState == TMouseBoxState::msFinished;
    FMouseBoxState = TMouseBoxState::msNormal;
    if (!finished) return false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    M2R(FActiveLayer, FMouseBox1.X, FMouseBox1.Y, x1, y1);
    M2R(FActiveLayer, FMouseBox2.X, FMouseBox2.Y, x2, y2);
    xLo = std::min(x1, x2);
    xHi = std::max(x1, x2);
    yLo = std::min(y1, y2);
    yHi = std::max(y1, y2);
    return true;
}

void TCustomPlotChart::MouseBoxAbort()
{
    FMouseBoxState = TMouseBoxState::msNormal;
    FZoomState = TZoomState::zsNormal;
}

} // namespace chart
