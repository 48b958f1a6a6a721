// The chart control's painting: the whole-control and plot bitmaps, the
// frame with caption and scales, the plot background, the data renderer
// with grid, items, text labels and plot frame, the cross-hair overlay,
// and the calls by which a program shows its drawing.

#include "chart/PlotChart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/Strings.h"

namespace chart {

using gui::TCanvas;
using gui::TPoint;

namespace {
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> lines(1);
    for (char c : s) {
        if (c == '\n') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}
} // namespace

// ------------------------------------------------------------------ frame

void TCustomPlotChart::RenderFrameAndScales(TCanvas& canvas)
{
    const int W = Width(), H = Height();
    if (&canvas == FChartBmp->Canvas()) FChartBmp->SetSize(W, H);
    canvas.Pen()->SetMode(gui::TPenMode::pmCopy);
    DrawControlArea(canvas, W, H, FArea.ShadowWidth, FWindColor, FShadowStyle, FShadowColor, FShadowBakColor);

    canvas.Pen()->SetColor(FChartFrameColor);
    canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    canvas.Brush()->SetStyle(gui::TBrushStyle::bsClear);
    AssignCanvasFont(canvas, Font());
    if (!FCaption.empty()) {
        const int w = canvas.TextWidth(FCaption);
        const TPoint p = ChartCaptionOrigin(FCaptionAnchorHoriz, FCaptionAnchorVert, FCaptionPosX, FCaptionPosY,
                                            FCaptionAlignment, w, W, H, FArea.MarginLeft, FArea.MarginRight,
                                            FArea.MarginTop, FArea.MarginBottom, FArea.ShadowWidth);
        canvas.SetTextAlign(gui::TA_LEFT | gui::TA_TOP);
        canvas.TextOut(p.X, p.Y, FCaption);
    }
    canvas.Brush()->SetStyle(gui::TBrushStyle::bsSolid);

    CalcScaleCoefficients();
    // Each scale paints onto the canvas it uses: the chart bitmap's, or an
    // export's while the export redirects the scales.
    for (int i = 1; i <= MaxLayers; ++i) FScalesX[i]->ForcePaint();
    for (int i = 1; i <= MaxLayers; ++i) FScalesY[i]->ForcePaint();
    TCanvas* c = &canvas;
    if (OnScalesRendered) OnScalesRendered(this, c, 0, 0);
}

// ------------------------------------------------------------- background

void TCustomPlotChart::RenderBackground(TCanvas& canvas, int x0, int y0)
{
    ResizeGrafBmp(canvas.IsPrinterCanvas());
    const int GW = FGrafBmp->Width(), GH = FGrafBmp->Height();
    canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    canvas.Pen()->SetMode(gui::TPenMode::pmCopy);
    canvas.Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(FChartColor);
    canvas.Pen()->SetColor(FChartFrameColor);

    if (!FBackGround->Name().empty()) {
        bool loaded = false;
        try {
            FAuxBmp->LoadFromFile(FBackGround->Name());
            loaded = FAuxBmp->Width() > 0 && FAuxBmp->Height() > 0;
        } catch (const rtl::Exception&) {
            loaded = false;
        }
        if (!loaded) {
            canvas.Rectangle(x0, y0, x0 + GW, y0 + GH);
            // Not tried again: the name goes without a repaint.
            rtl::TNotifyEvent saved = std::move(FBackGround->OnChange);
            FBackGround->OnChange = nullptr;
            FBackGround->SetName("");
            FBackGround->OnChange = std::move(saved);
            return;
        }
        const int AW = FAuxBmp->Width(), AH = FAuxBmp->Height();
        switch (FBackGround->FillMode()) {
        case TBkgFill::bfSimple:
            canvas.Rectangle(0, 0, GW, GH);
            canvas.Draw(0, 0, FAuxBmp.get());
            break;
        case TBkgFill::bfStretch: canvas.StretchDraw(gui::TRect(0, 0, GW, GH), FAuxBmp.get()); break;
        case TBkgFill::bfTile:
            for (int c = 1; c <= (GW - 1) / AW + 1; ++c)
                for (int r = 0; r <= (GH - 1) / AH; ++r)
                    canvas.StretchDraw(gui::TRect(AW * (c - 1), AH * r, AW * c, AH * (r + 1)), FAuxBmp.get());
            break;
        }
        return;
    }

    canvas.Rectangle(x0, y0, x0 + GW, y0 + GH);
    canvas.Brush()->SetColor(FBackGround->AreaColor());
    canvas.Pen()->SetColor(FBackGround->AreaColor());
    TPoint a1 = R2M(1, FBackGround->AreaLeft(), FBackGround->AreaTop());
    TPoint a2 = R2M(1, FBackGround->AreaRight(), FBackGround->AreaBottom());
    ClampPixelPair(a1.X, a1.Y);
    ClampPixelPair(a2.X, a2.Y);
    gui::TRect r;
    if (BackgroundAreaRect(FBackGround->AreaMode(), x0, y0, GW, GH, x0 - FArea.MarginLeft, y0 - FArea.MarginTop,
                           a1.X, a1.Y, a2.X, a2.Y, r))
        canvas.Rectangle(r);
}

// -------------------------------------------------------------------- grid

void TCustomPlotChart::DrawGridOf(TCanvas& canvas, int x0, int y0)
{
    const int layer = FActiveLayer;
    const TScalePropsHoriz& sx = *FScalePropsX[layer];
    const TScalePropsVert& sy = *FScalePropsY[layer];
    auto ticks = [](const TScale& s) {
        std::vector<double> t;
        for (int i = 1; i <= s.NumTicks(); ++i) t.push_back(s.TickPosition(i));
        return t;
    };
    TGridContext g;
    g.Style = FGridStyle;
    g.Color = FGridColor;
    g.ChartColor = FChartColor;
    g.Xs = GridPositions(sx.RangeLow(), sx.RangeHigh(), sx.Logarithmic(), FGridDx, ticks(*FScalesX[layer]));
    g.Ys = GridPositions(sy.RangeLow(), sy.RangeHigh(), sy.Logarithmic(), FGridDy, ticks(*FScalesY[layer]));
    g.XRangeLow = sx.RangeLow();
    g.XRangeHigh = sx.RangeHigh();
    g.YRangeLow = sy.RangeLow();
    g.YRangeHigh = sy.RangeHigh();
    g.Map = [this, layer](double x, double y) { return R2M(layer, x, y); };
    g.ShiftX = x0 - FArea.MarginLeft;
    g.ShiftY = y0 - FArea.MarginTop;
    DrawGrid(canvas, g);
}

// ------------------------------------------------------------ data render

void TCustomPlotChart::RenderData(TCanvas& canvas, int x0, int y0, bool blackAndWhite, int skipGrid)
{
    const TColor brush = canvas.Brush()->Color(), pen = canvas.Pen()->Color();
    TCanvas* c = &canvas;
    if (OnBeforeRenderData) OnBeforeRenderData(this, c, FArea.MarginTop - y0, FArea.MarginLeft - x0);
    canvas.Brush()->SetColor(brush);
    canvas.Pen()->SetColor(pen);

    if (FGridStyle != GridStyleType::gsNone && skipGrid == 0) DrawGridOf(canvas, x0, y0);

    TItemRenderContext ctx;
    ctx.Map = [this](int layer, double x, double y) { return R2M(layer, x, y); };
    ctx.LayerVisible = [this](int layer) { return layer >= 1 && layer <= MaxLayers && FLayerVisib.test(layer); };
    ctx.ClassVisible = [this](uint8_t cls) { return FItClassVisib.test(cls); };
    ctx.X0 = x0;
    ctx.Y0 = y0;
    ctx.MarginLeft = FArea.MarginLeft;
    ctx.MarginTop = FArea.MarginTop;
    ctx.BlackAndWhite = blackAndWhite;
    ctx.LineWidth = FLineWidth;
    ctx.ChartColor = FChartColor;
    ctx.TextFontStyle = FTextFontStyle;
    ctx.TextBkStyle = FTextBkStyle;
    ctx.TextBkColor = FTextBkColor;
    ctx.OnPolyline = OnPolylineDrawn;
    RenderItems(canvas, FItems, ctx);

    DrawTextLabels(canvas, x0, y0);

    c = &canvas;
    if (OnDataRendered) OnDataRendered(this, c, FArea.MarginTop - y0, FArea.MarginLeft - x0);

    const int PW = FArea.PlotWidth(), PH = FArea.PlotHeight();
    canvas.Pen()->SetColor(FChartFrameColor);
    canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    canvas.Polyline({{x0, y0}, {x0 + PW, y0}, {x0 + PW, y0 + PH}, {x0, y0 + PH}, {x0, y0}});
}

void TCustomPlotChart::DrawTextLabels(TCanvas& canvas, int x0, int y0)
{
    for (int i = MaxTextLabels; i >= 1; --i) {
        const TTextLabel& l = *FTextLabels[i];
        if (l.Mode() == TTxtLblMode::tlOff || !l.Visible()) continue;
        if (!FLayerVisib.test(static_cast<std::size_t>(l.Layer()))) continue;
        const TPoint mapped = R2M(l.Layer(), l.PosX(), l.PosY());
        int x = Round(l.PosX()), y = Round(l.PosY());
        switch (l.AttachToData()) {
        case TTxtLblAttachMode::tlamNone: break;
        case TTxtLblAttachMode::tlamXOnly: x = mapped.X; break;
        case TTxtLblAttachMode::tlamYOnly: y = mapped.Y; break;
        case TTxtLblAttachMode::tlamBoth: x = mapped.X; y = mapped.Y; break;
        }
        // The anchor is a control pixel; the canvas puts the plot's corner at (x0, y0).
        x += x0 - FArea.MarginLeft;
        y += y0 - FArea.MarginTop;

        AssignCanvasFont(canvas, l.Font());
        canvas.Pen()->SetColor(l.ColorBorder());
        canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
        canvas.Brush()->SetColor(l.ColorBkg());
        canvas.Brush()->SetStyle(l.Transparent() ? gui::TBrushStyle::bsClear : gui::TBrushStyle::bsSolid);

        const std::vector<std::string> lines = SplitLines(l.Caption());
        const int n = static_cast<int>(lines.size());
        int M = 0;
        for (const std::string& s : lines) M = std::max(M, canvas.TextWidth(s));
        if (M == 0) M = canvas.TextWidth(l.Caption());
        const int h = canvas.TextHeight(l.Caption());
        switch (l.VerticalAlignment()) {
        case TVerticalAlignment::vaTop: y += h * n; break;
        case TVerticalAlignment::vaCenter: y += h * n / 2; break;
        case TVerticalAlignment::vaBottom: break;
        }
        if (l.Alignment() == gui::TAlignment::taRightJustify) x -= M;
        else if (l.Alignment() == gui::TAlignment::taCenter) x -= M / 2;

        const gui::TRect box(x - 4, y - h * n - 2, x + M + 4, y + 2);
        switch (l.Mode()) {
        case TTxtLblMode::tlsimple:
            if (!l.Transparent()) {
                canvas.Pen()->SetColor(l.ColorBkg());
                canvas.Rectangle(box);
            }
            break;
        case TTxtLblMode::tlBox: canvas.Rectangle(box); break;
        case TTxtLblMode::tlUnderline:
            if (!l.Transparent()) {
                canvas.Pen()->SetColor(l.ColorBkg());
                canvas.Rectangle(box);
            }
            canvas.Pen()->SetColor(l.ColorBorder());
            canvas.MoveTo(x, y);
            canvas.LineTo(x + M, y);
            break;
        case TTxtLblMode::tlShadow: {
            const auto style = canvas.Brush()->Style();
            canvas.Pen()->SetColor(l.ColorShadow());
            canvas.Brush()->SetColor(l.ColorShadow());
            canvas.Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            canvas.Rectangle(box.Left + l.ShadowDx(), box.Top + l.ShadowDy(), box.Right + l.ShadowDx(),
                             box.Bottom + l.ShadowDy());
            canvas.Pen()->SetColor(l.ColorBorder());
            canvas.Brush()->SetColor(l.ColorBkg());
            canvas.Brush()->SetStyle(style);
            canvas.Rectangle(box);
            break;
        }
        case TTxtLblMode::tlOff: break;
        }
        canvas.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        canvas.SetTextAlign(gui::TA_LEFT | gui::TA_TOP);
        for (int k = 0; k < n; ++k) {
            const int w = canvas.TextWidth(lines[static_cast<std::size_t>(k)]);
            int t = 0;
            if (l.Alignment() == gui::TAlignment::taRightJustify) t = M - w;
            else if (l.Alignment() == gui::TAlignment::taCenter) t = (M - w) / 2;
            canvas.TextOut(x + t, y - h * (n - k), lines[static_cast<std::size_t>(k)]);
        }
        canvas.Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    }
}

// ------------------------------------------------------------ cross-hairs

void TCustomPlotChart::DrawCrossHairs(TCanvas& canvas, int a, int b)
{
    bool any = false;
    for (int i = 1; i <= MaxCrossHairs; ++i) any = any || FCrossHairs[i]->Mode() != TCrossHMode::chOff;
    if (!any) return;
    const TColor penColor = canvas.Pen()->Color();
    const int penWidth = canvas.Pen()->Width();
    const gui::TPenStyle penStyle = canvas.Pen()->Style();
    const int W = Width(), H = Height();
    const int L = FArea.MarginLeft, R = FArea.MarginRight, T = FArea.MarginTop, B = FArea.MarginBottom;
    const int S = FArea.ShadowWidth;
    for (int i = 1; i <= MaxCrossHairs; ++i) {
        const TCrossHair& ch = *FCrossHairs[i];
        if (ch.Mode() == TCrossHMode::chOff) continue;
        const TPoint c = R2M(ch.Layer(), ch.PosX(), ch.PosY());
        canvas.Pen()->SetColor(ch.Color());
        canvas.Pen()->SetWidth(ch.LineWid());
        canvas.Pen()->SetStyle(ch.LineType());
        canvas.Brush()->SetColor(FChartColor);
        const int e = ch.LineWid() / 2;
        if ((ch.Mode() == TCrossHMode::chHoriz || ch.Mode() == TCrossHMode::chBoth) && T + e < c.Y &&
            c.Y < H - B - S - e) {
            canvas.MoveTo(L + e + 1 - a, c.Y - b);
            canvas.LineTo(W - R - S - ch.LineWid() / 2 - a, c.Y - b);
        }
        if ((ch.Mode() == TCrossHMode::chVert || ch.Mode() == TCrossHMode::chBoth) && L + e < c.X &&
            c.X < W - R - S - e) {
            canvas.MoveTo(c.X - a, T + e + 1 - b);
            canvas.LineTo(c.X - a, H - B - S - ch.LineWid() / 2 - b);
        }
    }
    canvas.Pen()->SetColor(penColor);
    canvas.Pen()->SetWidth(penWidth);
    canvas.Pen()->SetStyle(penStyle);
}

void TCustomPlotChart::CrossHairSetPos(int chnum, double x, double y)
{
    TCrossHair* ch = CrossHair(chnum);
    if (!ch) return;
    rtl::TNotifyEvent saved = std::move(ch->OnChange);
    ch->OnChange = nullptr;
    ch->SetPosX(x);
    ch->SetPosY(y);
    ch->OnChange = std::move(saved);
    if (ch->Mode() == TCrossHMode::chOff) return;
    FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, FGrafBmp.get());
    DrawCrossHairs(*FChartBmp->Canvas(), 0, 0);
    CopyToControl(*FChartBmp, 0, 0);
}

void TCustomPlotChart::CrossHairSetup(int chnum, TColor color, TCrossHMode mode, gui::TPenStyle lineType,
                                      int lineWidth)
{
    TCrossHair* ch = CrossHair(chnum);
    if (!ch) return;
    rtl::TNotifyEvent saved = std::move(ch->OnChange);
    ch->OnChange = nullptr;
    ch->SetColor(color);
    ch->SetMode(mode);
    ch->SetLineType(lineType);
    ch->SetLineWid(lineWidth);
    ch->OnChange = std::move(saved);
    FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, FGrafBmp.get());
    DrawCrossHairs(*FChartBmp->Canvas(), 0, 0);
    CopyToControl(*FChartBmp, 0, 0);
}

// ------------------------------------------------------------------ paint

void TCustomPlotChart::CopyToControl(gui::TBitmap& bmp, int x, int y)
{
    if (Parent()) Canvas()->Draw(x, y, &bmp);
}

void TCustomPlotChart::Paint()
{
    if (!Visible() && !IsDesigning()) return;
    if (IsLoading() || FSuppressPaint || !FConstructed) return;
    FWindowRects.clear();   // a fresh picture has no window rectangles
    RenderFrameAndScales(*FChartBmp->Canvas());
    RenderBackground(*FGrafBmp->Canvas(), 0, 0);
    RenderData(*FGrafBmp->Canvas(), 0, 0, false, 0);
    FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, FGrafBmp.get());
    DrawCrossHairs(*FChartBmp->Canvas(), 0, 0);
    CopyToControl(*FChartBmp, 0, 0);
}

void TCustomPlotChart::ShowGraf()
{
    if (Visible()) {
        FItems.SetLastElemOnShow(FItems.NumItems() - 1);
        if (FAutoRedraw) {
            if (!FSuppressPaint && FConstructed && !IsLoading()) {
                RenderBackground(*FGrafBmp->Canvas(), 0, 0);
                RenderData(*FGrafBmp->Canvas(), 0, 0, false, 0);
                DrawCrossHairs(*FGrafBmp->Canvas(), FArea.MarginLeft, FArea.MarginTop);
                // The chart bitmap keeps the whole picture for the next copy.
                FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, FGrafBmp.get());
                CopyToControl(*FGrafBmp, FArea.MarginLeft, FArea.MarginTop);
            }
        } else {
            Paint();
        }
    }
    auto repaint = [](TCustomPlotChart* c) {
        if (c && (c->FAutoRedraw || c->IsDesigning())) c->Paint();
    };
    if (FUseDataOf) {
        repaint(FUseDataOf);
        for (TCustomPlotChart* u : FUseDataOf->FDataUsers)
            if (u != this) repaint(u);
    }
    for (TCustomPlotChart* u : FDataUsers) repaint(u);
}

void TCustomPlotChart::ShowGrafNewOnly()
{
    if (!Visible()) return;
    const int last = FItems.LastElemOnShow();
    if (!FSuppressPaint && FConstructed && !IsLoading()) {
        RenderData(*FGrafBmp->Canvas(), 0, 0, false, last < 0 ? 0 : last);
        DrawCrossHairs(*FGrafBmp->Canvas(), FArea.MarginLeft, FArea.MarginTop);
        FChartBmp->Canvas()->Draw(FArea.MarginLeft, FArea.MarginTop, FGrafBmp.get());
        CopyToControl(*FGrafBmp, FArea.MarginLeft, FArea.MarginTop);
    }
    FItems.SetLastElemOnShow(FItems.NumItems() - 1);
}

void TCustomPlotChart::ClearGraf()
{
    RenderBackground(*FGrafBmp->Canvas(), 0, 0);
    FItems.Clear();
    FItems.SetLastElemOnShow(0);
}

} // namespace chart
