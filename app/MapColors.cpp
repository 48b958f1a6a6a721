#include "app/MapColors.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Strings.h"

namespace app {

void SplitColor(gui::TColor color, uint8_t& r, uint8_t& g, uint8_t& b)
{
    r = gui::GetRValue(color);
    g = gui::GetGValue(color);
    b = gui::GetBValue(color);
}

gui::TColor MakeColor(uint8_t r, uint8_t g, uint8_t b) { return gui::RGB(r, g, b); }

void RgbToHsv(int r, int g, int b, double& h, double& s, double& v)
{
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    v = mx / 255.0;
    s = mx == 0 ? 0 : static_cast<double>(mx - mn) / mx;
    if (mx == 0) {
        h = 0;
        return;
    }
    if (s == 0) {
        h = -1;
        return;
    }
    const double d = mx - mn;
    if (r == mx) h = (g - b) / d;
    else if (g == mx) h = 2 + (b - r) / d;
    else h = 4 + (r - g) / d;
    h *= 60;
    if (h < 0) h += 360;
}

void HsvToRgb(double h, double s, double v, int& r, int& g, int& b)
{
    s = std::clamp(s, 0.0, 1.0);
    v = std::clamp(v, 0.0, 1.0);
    auto channel = [](double x) { return static_cast<int>(rtl::Round(x * 255)); };
    if (s == 0) {
        r = g = b = channel(v);
        return;
    }
    if (!(h >= 0 && h < 360)) h = 0;
    const double sector = h / 60;
    const int i = static_cast<int>(std::floor(sector));
    const double f = sector - i;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double rr = v, gg = v, bb = v;
    switch (i) {
    case 0: rr = v; gg = t; bb = p; break;
    case 1: rr = q; gg = v; bb = p; break;
    case 2: rr = p; gg = v; bb = t; break;
    case 3: rr = p; gg = q; bb = v; break;
    case 4: rr = t; gg = p; bb = v; break;
    default: rr = v; gg = p; bb = q; break;
    }
    r = channel(rr);
    g = channel(gg);
    b = channel(bb);
}

gui::TColor ScaleColorValue(gui::TColor color, double f)
{
    if (std::fabs(f - 1) <= 0.01) return color;
    uint8_t r, g, b;
    SplitColor(color, r, g, b);
    double h, s, v;
    RgbToHsv(r, g, b, h, s, v);
    int nr, ng, nb;
    HsvToRgb(h, s, v * f, nr, ng, nb);
    return MakeColor(static_cast<uint8_t>(nr), static_cast<uint8_t>(ng), static_cast<uint8_t>(nb));
}

} // namespace app
