// Drawing the chart's items onto a canvas: every visible item in list
// order, by its kind, with its layer's coordinates mapped to pixels.  The
// chart's data renderer calls this between the grid and the text labels.
//
// The rule a caller must know: the map gives control pixels; they are
// clamped to +-30000 and drawn shifted by (X0 - MarginLeft, Y0 - MarginTop),
// so the plot's top-left corner lands at (X0, Y0).  Runs of line-to items
// become polylines of at most 200 points (TPolylineBuffer); other kinds
// that draw with their own coordinates leave the line-to pen where it was.
//
//     chart::TItemRenderContext ctx;
//     ctx.Map = [&](int layer, double x, double y) { return chartCtl.R2M(layer, x, y); };
//     chart::RenderItems(*bmp.Canvas(), store, ctx);
#pragma once

#include <functional>

#include "chart/PlotChartItems.h"
#include "platform/gui/Graphics.h"

namespace chart {

enum class TTextBkg { tbClear, tbSolid };

struct TItemRenderContext {
    // Chart coordinates of a layer to control pixels.
    std::function<gui::TPoint(int layer, double x, double y)> Map;
    // Hidden layers and classes are skipped (none when not set).
    std::function<bool(int layer)> LayerVisible;
    std::function<bool(uint8_t itemClass)> ClassVisible;
    int X0 = 0, Y0 = 0;                  // where the plot's top-left corner is drawn
    int MarginLeft = 0, MarginTop = 0;   // the plot's top-left corner in control pixels
    bool BlackAndWhite = false;          // pens and texts black, fills $C0C0C0
    int LineWidth = 1;
    TColor ChartColor = gui::clWhite;
    gui::TFontStyles TextFontStyle;
    TTextBkg TextBkStyle = TTextBkg::tbClear;
    TColor TextBkColor = gui::clWhite;
    // Called with the points of each polyline drawn (a test hook).
    std::function<void(int points)> OnPolyline;
};

void RenderItems(gui::TCanvas& canvas, const TChartItemStore& items, const TItemRenderContext& ctx);

} // namespace chart
