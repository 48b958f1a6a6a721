// Helpers shared by the graphics tests: bitmaps filled with one colour and
// the extent of what was painted on them.
#pragma once

#include <memory>
#include <ostream>

#include "platform/gui/Graphics.h"

namespace guitest {

inline std::unique_ptr<gui::TBitmap> NewBitmap(int w, int h, gui::TColor fill = gui::clWhite,
                                               gui::TPixelFormat format = gui::TPixelFormat::pf24bit)
{
    auto bmp = std::make_unique<gui::TBitmap>(w, h, format);
    bmp->Canvas()->Brush()->SetColor(fill);
    bmp->Canvas()->FillRect(gui::Rect(0, 0, w, h));
    return bmp;
}

// The smallest rectangle holding every pixel whose colour passes the test
// (empty when none does).
template <class Test>
gui::TRect ExtentOf(gui::TBitmap& bmp, Test test)
{
    gui::TRect r{bmp.Width(), bmp.Height(), 0, 0};
    gui::TCanvas* c = bmp.Canvas();
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (test(c->Pixels(x, y))) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    if (r.IsEmpty()) return {};
    return r;
}

// The extent of every pixel that differs from background.
inline gui::TRect PaintedExtent(gui::TBitmap& bmp, gui::TColor background)
{
    return ExtentOf(bmp, [background](gui::TColor c) { return c != background; });
}

// The extent of the pixels of that colour.
inline gui::TRect ColorExtent(gui::TBitmap& bmp, gui::TColor color)
{
    return ExtentOf(bmp, [color](gui::TColor c) { return c == color; });
}

// Pixels of that colour.
inline int CountColor(gui::TBitmap& bmp, gui::TColor color)
{
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            n += bmp.Canvas()->Pixels(x, y) == color;
    return n;
}

} // namespace guitest

namespace gui {
inline std::ostream& operator<<(std::ostream& os, const TRect& r)
{
    return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const TPoint& p)
{
    return os << "(" << p.X << ", " << p.Y << ")";
}
} // namespace gui
