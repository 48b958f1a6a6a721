// String grid keyboard speed: 1,000 Down keys, each followed by a repaint,
// on a grid of 100,000 rows (target under 2 s).  Reports the time and
// always succeeds.
//
//   build/tests/exgrid_keys_bench
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"

int main()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 900, 700);
    auto* g = new grid::TExStringGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 860, 660);
    g->SetColCount(8);
    g->SetRowCount(100000);
    g->SetLook(grid::TGridLook::glStandard);
    for (int r = 1; r < 100000; ++r) g->SetCells(1, r, std::to_string(r));
    form.Show();
    g->SetFocus();
    gui::Application->ProcessMessages();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        gui::sim::KeyPress(gui::VK_DOWN, {}, g);
        gui::Application->ProcessMessages();
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("string grid 100,000 rows: 1,000 Down keys with repaint %.0f ms (target < 2000 ms), row %d\n", ms,
                g->Row());
    return 0;
}
