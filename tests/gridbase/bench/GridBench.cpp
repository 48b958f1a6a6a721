// Grid base speed: a 100,000-row x 8-column grid with 10,000 merged blocks
// filled through SetCellText, and one full repaint of the visible area.
// Reports the times (targets: fill under 1 s, repaint under 50 ms) and
// always succeeds.
//
//   build/tests/gridbase_grid_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gridbase/BaseGrid.h"
#include "platform/gui/Forms.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 900, 700);
    auto* grid = new gridbase::TBaseGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 860, 660);
    grid->SetColCount(8);
    grid->SetRowCount(100000);
    grid->SetDefaultRowHeight(18);
    form.Show();

    auto start = std::chrono::steady_clock::now();
    for (int b = 0; b < 10000; ++b) grid->MergeCells(1 + (b % 3) * 2, 1 + b * 10, 2, 2);  // 2 x 2 blocks
    const double merge = Since(start);

    start = std::chrono::steady_clock::now();
    for (int r = 0; r < 100000; ++r)
        for (int c = 0; c < 8; ++c) grid->SetCellText(c, r, "R" + std::to_string(r) + "C" + std::to_string(c));
    const double fill = Since(start);

    start = std::chrono::steady_clock::now();
    auto image = grid->GetImage();
    const double paint = Since(start);

    std::printf("TBaseGrid 100000 x 8, 10000 merged blocks: merging %.1f ms, fill through SetCellText %.1f ms "
                "(target < 1000 ms), full repaint %.1f ms (target < 50 ms)\n",
                merge, fill, paint);
    return 0;
}
