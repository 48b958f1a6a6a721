// TCanvas::FloodFill: a scan-line fill over the canvas's own pixel reads,
// painting each run found with the brush as a one-pixel-high rectangle.
#include <vector>

#include "platform/gui/Graphics.h"

namespace gui {

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style)
{
    const TRect bounds = ClipRect();
    if (x < bounds.Left || y < bounds.Top || x >= bounds.Right || y >= bounds.Bottom) return;
    const TColor key = ColorToRGB(color);
    const int w = bounds.Right - bounds.Left, h = bounds.Bottom - bounds.Top;
    // Which pixels belong to the area, read once before anything is painted.
    std::vector<signed char> state(static_cast<size_t>(w) * static_cast<size_t>(h), -1);  // -1 unread, 0 no, 1 yes
    auto inside = [&](int px, int py) {
        signed char& s = state[static_cast<size_t>(py - bounds.Top) * static_cast<size_t>(w) + (px - bounds.Left)];
        if (s < 0) {
            const TColor c = Pixels(px, py);
            s = c != clNone && ((style == TFillStyle::fsBorder) ? c != key : c == key) ? 1 : 0;
        }
        return s == 1;
    };
    if (!inside(x, y)) return;
    struct TRun {
        int Left, Right, Y;
    };
    std::vector<TRun> runs;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    std::vector<bool> taken(static_cast<size_t>(w) * static_cast<size_t>(h), false);
    auto index = [&](int px, int py) { return static_cast<size_t>(py - bounds.Top) * static_cast<size_t>(w) + (px - bounds.Left); };
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (taken[index(sx, sy)] || !inside(sx, sy)) continue;
        int l = sx, r = sx;
        while (l > bounds.Left && !taken[index(l - 1, sy)] && inside(l - 1, sy)) --l;
        while (r + 1 < bounds.Right && !taken[index(r + 1, sy)] && inside(r + 1, sy)) ++r;
        for (int i = l; i <= r; ++i) taken[index(i, sy)] = true;
        runs.push_back({l, r, sy});
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < bounds.Top || ny >= bounds.Bottom) continue;
            for (int i = l; i <= r; ++i)
                if (!taken[index(i, ny)] && inside(i, ny)) seeds.push_back({i, ny});
        }
    }
    for (const TRun& run : runs) FillRect(TRect(run.Left, run.Y, run.Right + 1, run.Y + 1));
}

} // namespace gui
