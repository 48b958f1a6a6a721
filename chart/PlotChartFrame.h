// What the chart draws around its data: the control area with its drop
// shadow, the place of the chart caption, the coloured area of the plot
// background and the grid, as routines of their own that the chart control
// calls.
//
// The rule a caller must know: the shadow of width S takes the right and
// bottom S pixels of the control, so the plot area ends S pixels earlier;
// the caption's reference is its top-left corner after alignment.
//
//     chart::DrawControlArea(*bmp.Canvas(), 200, 100, 5, gui::clBtnFace,
//                            chart::TShadowStyle::ssFlying, gui::clGrayText, gui::clBtnFace);
#pragma once

#include <functional>
#include <vector>

#include "chart/PlotBase.h"
#include "chart/PlotChartProps.h"
#include "platform/gui/Types.h"

namespace chart {

enum class TShadowStyle { ssFlying, ssBox };
enum class TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum class TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };

// Fills the w x h control area with windColor and, for shadowWidth S > 0,
// draws the shadow bands at the right and bottom (straight band ends for
// ssFlying, slanted ends with a black border for ssBox), the two corner
// squares in shadowBakColor, and a black outline of the area left.
void DrawControlArea(gui::TCanvas& canvas, int w, int h, int shadowWidth, TColor windColor,
                     TShadowStyle style, TColor shadowColor, TColor shadowBakColor);

// The top-left corner of a caption textWidth pixels wide: the anchor's
// point (plot edges from the margins and shadow width) plus (posX, posY),
// moved left by the width (right alignment) or half of it (centred).
gui::TPoint ChartCaptionOrigin(TCaptionAnchorHoriz anchorH, TCaptionAnchorVert anchorV, int posX, int posY,
                               gui::TAlignment alignment, int textWidth, int w, int h, int marginLeft,
                               int marginRight, int marginTop, int marginBottom, int shadowWidth);

// The rectangle the background's AreaMode fills on a plot bitmap of
// gw x gh pixels drawn at (x0, y0); (px, py) = (x0 - L, y0 - T) and
// (ax1, ay1), (ax2, ay2) the control pixels of (AreaLeft, AreaTop) and
// (AreaRight, AreaBottom).  False for bamNone.
bool BackgroundAreaRect(TBGAreaMode mode, int x0, int y0, int gw, int gh, int px, int py, int ax1,
                        int ay1, int ax2, int ay2, gui::TRect& rect);

enum class GridStyleType {
    gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsHorizDotLines, gsVertDotLines, gsDotLines
};

// The grid of the active layer: lines at the X positions across the Y range
// and at the Y positions across the X range (vertical ones first), dotted
// for the dotted styles, or one pixel at every pair of positions (at most
// 1000 pixels).  Map gives the control pixel of a chart point; Shift is
// added to it (x0 - L, y0 - T).  The pen is left solid.
struct TGridContext {
    GridStyleType Style = GridStyleType::gsNone;
    TColor Color = gui::clBlack;
    TColor ChartColor = gui::clWhite;
    std::vector<double> Xs, Ys;   // from GridPositions
    double XRangeLow = 0, XRangeHigh = 1, YRangeLow = 0, YRangeHigh = 1;
    std::function<gui::TPoint(double x, double y)> Map;
    int ShiftX = 0, ShiftY = 0;
};
void DrawGrid(gui::TCanvas& canvas, const TGridContext& grid);

} // namespace chart
