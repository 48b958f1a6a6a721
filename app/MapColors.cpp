#include "app/MapColors.h"

#include <cmath>

#include "chart/PlotUtils.h"

namespace app {

void SplitColor(gui::TColor color, uint8_t& r, uint8_t& g, uint8_t& b)
{
    r = gui::GetRValue(color);
    g = gui::GetGValue(color);
    b = gui::GetBValue(color);
}

gui::TColor MakeColor(uint8_t r, uint8_t g, uint8_t b) { return gui::RGB(r, g, b); }

gui::TColor ScaleColorValue(gui::TColor color, double f)
{
    if (std::fabs(f - 1) <= 0.01) return color;
    uint8_t r, g, b;
    SplitColor(color, r, g, b);
    double h, s, v;
    chart::RgbToHsv(r, g, b, h, s, v);
    int nr, ng, nb;
    chart::HsvToRgb(h, s, v * f, nr, ng, nb);
    return MakeColor(static_cast<uint8_t>(nr), static_cast<uint8_t>(ng), static_cast<uint8_t>(nb));
}

} // namespace app
