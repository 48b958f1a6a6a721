// Writing every pixel of the standard map's size (5735 x 2868, 24 bits)
// through TBitmap::ScanLine, against the same writes into plain memory.
// Run by hand: gui_scanline_bench

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/gui/Graphics.h"

namespace {

constexpr int kWidth = 5735, kHeight = 2868;

inline void WriteRow(uint8_t* row, int y)
{
    for (int x = 0; x < kWidth; ++x) {
        row[3 * x] = static_cast<uint8_t>(x);
        row[3 * x + 1] = static_cast<uint8_t>(y);
        row[3 * x + 2] = static_cast<uint8_t>(x + y);
    }
}

void BM_ScanLine(benchmark::State& state)
{
    gui::TBitmap bmp(kWidth, kHeight, gui::TPixelFormat::pf24bit);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) WriteRow(bmp.ScanLine(y), y);
        benchmark::DoNotOptimize(bmp.ScanLine(kHeight - 1)[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_PlainMemory(benchmark::State& state)
{
    const std::size_t stride = ((kWidth * 24 + 31) / 32) * 4;
    std::vector<uint8_t> mem(stride * kHeight, 0xFF);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) WriteRow(mem.data() + stride * y, y);
        benchmark::DoNotOptimize(mem.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// The same pixels through the canvas's Pixels property, one call per pixel.
void BM_CanvasPixels(benchmark::State& state)
{
    gui::TBitmap bmp(kWidth, kHeight, gui::TPixelFormat::pf24bit);
    gui::TCanvas* c = bmp.Canvas();
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) c->SetPixels(x, y, gui::RGB(x, y, x + y));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(BM_PlainMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasPixels)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
