// Drawing 100,000 line-to items (a curve of one point per item) into a
// 800 x 600 plot bitmap, and planning the ticks of a busy scale.  Reports
// figures, never fails.  Run by hand: chart_bench

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "chart/PlotChartRender.h"
#include "chart/PlotScale.h"

namespace {

void BM_RenderLineTo(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    chart::TChartItemStore items;
    chart::TrcChartItem it{};
    it.ItemKind = chart::TrcItem::tkMoveTo;
    it.Layer = 1;
    it.LWid = 1;
    items.Append(it);
    it.ItemKind = chart::TrcItem::tkLineto;
    for (int i = 0; i < n; ++i) {
        it.x = 800.0 * i / n;
        it.y = 300 + 250 * std::sin(i * 0.001);
        items.Append(it);
    }
    gui::TBitmap bmp(800, 600);
    chart::TItemRenderContext ctx;
    ctx.Map = [](int, double x, double y) { return gui::TPoint(int(x), int(y)); };
    for (auto _ : state) {
        chart::RenderItems(*bmp.Canvas(), items, ctx);
        benchmark::DoNotOptimize(bmp.ScanLine(0)[0]);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RenderLineTo)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PlanTicks(benchmark::State& state)
{
    chart::TScale scale(nullptr);
    scale.SetSuppressPaint(true);
    scale.SetScaleType(chart::TScaleType::sctYL);
    scale.SetRange(0, 1000);
    scale.SetMinTicks(10);
    for (auto _ : state) benchmark::DoNotOptimize(scale.PlanTicks().Ticks.size());
}
BENCHMARK(BM_PlanTicks)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
