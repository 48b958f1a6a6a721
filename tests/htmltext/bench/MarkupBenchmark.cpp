// Measuring grid-cell markup: 10,000 short cells laid out per iteration, as a
// string grid does when it sizes its rows.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Graphics.h"

namespace {

std::vector<std::string> Cells()
{
    const char* shapes[] = {
        "<b>%d</b> partial",
        "Total <font color=\"clRed\">%d</font>",
        "<i>%d</i>&nbsp;s",
        "<a href=\"saros:%d\">Saros %d</a>",
        "%d° 12' N<br><font size=\"1\">grey</font>",
        "no eclipse visible",
    };
    std::vector<std::string> out;
    for (int i = 0; i < 10000; ++i) {
        char buf[128];
        std::snprintf(buf, sizeof buf, shapes[i % 6], i, i);
        out.emplace_back(buf);
    }
    return out;
}

void MeasureGridCells(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::vector<std::string> cells = Cells();
    gui::TBitmap bmp(200, 50);
    gui::TCanvas& c = *bmp.Canvas();
    c.Font()->SetName("Tahoma");
    c.Font()->SetHeight(-11);
    htmltext::TMarkupOptions o;
    o.HeightCheck = true;
    htmltext::TMarkupResult r;
    for (auto _ : state) {
        long total = 0;
        for (const std::string& s : cells) {
            htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, c, s, gui::Rect(0, 0, 65535, 65535), o, r);
            total += r.XSize + r.YSize;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(MeasureGridCells)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
