// Geometry and picture helpers of the report engine: the report's rectangle
// and point records and the overlap tests the engine uses to find objects
// that share a band's horizontal or vertical extent.
//
// The rule a caller must know: areas are in report units (pixels at 96 per
// inch, long double) and edges that only touch do not overlap -- every test
// allows 0.0001 of slack, so rounding in laid-out positions never makes
// neighbours collide.
//
// Example: do two memos share a row?
//
//   qlr::TqlrRectArea a(0, 10, 100, 28), b(100, 12, 180, 30);
//   a.InterceptsY(b);   // true: their vertical extents overlap
//   a.InterceptsX(b);   // false: they only touch at x = 100
#pragma once

#include <memory>

namespace gui {
class TBitmap;
class TCanvas;
class TImageList;
} // namespace gui

namespace qlr {

struct TqlrRect {
    long double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TqlrPoint {
    long double X = 0, Y = 0;
};

TqlrRect MakeReportRect(long double left, long double top, long double right, long double bottom);
TqlrPoint MakeReportPoint(long double x, long double y);

// An axis-aligned area: X, Y left and top, X1, Y1 right and bottom.
class TqlrRectArea {
public:
    TqlrRectArea() = default;
    TqlrRectArea(long double left, long double top, long double right, long double bottom)
        : X(left), Y(top), X1(right), Y1(bottom) {}

    bool InterceptsX(const TqlrRectArea& a) const;
    bool InterceptsY(const TqlrRectArea& a) const;
    // The common horizontal extent (Y = Y1 = 0), none when they do not overlap.
    std::unique_ptr<TqlrRectArea> InterceptX(const TqlrRectArea& a) const;
    // The common vertical extent (X = X1 = 0), none when they do not overlap.
    std::unique_ptr<TqlrRectArea> InterceptY(const TqlrRectArea& a) const;
    static long double Max(long double x1, long double x2) { return x1 >= x2 ? x1 : x2; }
    static long double Min(long double x1, long double x2) { return x1 > x2 ? x2 : x1; }

    long double X = 0, Y = 0, X1 = 0, Y1 = 0;
};

// Cuts a strip of tiles, row by row from the top-left, into image lists,
// each tile masked with its own transparent colour.  With second given the
// strip holds pairs: each normal image goes to first, the disabled image to
// its right goes to second.
void SplitImageStrip(const gui::TBitmap& strip, int tileWidth, int tileHeight,
                     gui::TImageList* second, gui::TImageList& first);
// Draws bitmap at (x, y) leaving out its transparent colour; nothing for
// none.
void DrawTransparentBitmap(gui::TCanvas& canvas, int x, int y, const gui::TBitmap* bitmap);

} // namespace qlr
