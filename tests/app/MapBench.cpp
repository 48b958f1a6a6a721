// Timing of the eclipse map computations: the plain pass (every pixel
// solved on its own, rows computed and merged one by one in the calling
// thread) against the fast pass on one thread or several, for the
// solar eclipse of 2024 Apr 08 (or others) and the lunar eclipse of
// 2025 Mar 14, with the speed-up and a pixel-for-pixel comparison of the
// two maps (and of the collected curves of equal time).
//
//   map_bench [--map WORLD_0|WORLD_1] [--threads N[,N...]] [--png DIR] [--only solar|lunar]
//             [--eclipse "2023 Apr 20"]...   (solar eclipses; default 2024 Apr 08)
//             [--fast-only]   (no plain pass and no comparison: for profiling)
//
// Run by hand, not by ctest; the catalogue must have been built.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MapTestUtil.h"
#include "app/EclipseMap.h"
#include "app/MapImages.h"
#include "app/MapRowPass.h"

using namespace app;

namespace {

struct TRun {
    double Seconds = 0;
    double CpuSeconds = 0;  // of every thread of the process
    int Rows = 0;
    std::unique_ptr<gui::TBitmap> Map;
    std::unique_ptr<TCETData> CET;
};

// threads 0: the plain pass.
TRun Solar(const compute::TSolarEclipse& see, const TMapData& map, int threads)
{
    TEclipseMap m;
    m.MapData = map;
    m.Settings = DefaultMapDrawSettings(map);
    m.ResourceMapMode = ResourceMapModeFor(see.MELon());
    m.PlainPass = threads == 0;
    m.Threads = threads;
    m.LoadMap();  // decoded once before timing, as the idle handler does
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    m.CalculateSolarEclipseMap(see);
    TRun r;
    r.CpuSeconds = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    r.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.Rows = m.LastPassRows();
    r.Map = std::make_unique<gui::TBitmap>();
    r.Map->Assign(&m.Map());
    r.CET = std::make_unique<TCETData>(m.CETData());
    return r;
}

// threads 0: the plain pass.
TRun Lunar(const compute::TLunarEclipse& lee, const TMapData& map, int threads)
{
    TEclipseMap m;
    m.MapData = map;
    m.Settings = DefaultMapDrawSettings(map);
    m.ResourceMapMode = ResourceMapModeFor(lee.MELon());
    m.PlainPass = threads == 0;
    m.Threads = threads;
    m.LoadMap();
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    m.CalculateLunarEclipseMap(lee);
    TRun r;
    r.CpuSeconds = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    r.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.Rows = m.LastPassRows();
    r.Map = std::make_unique<gui::TBitmap>();
    r.Map->Assign(&m.Map());
    return r;
}

bool SameCET(const TCETData* a, const TCETData* b)
{
    if (!a || !b) return a == b;
    for (int i = 0; i < CETTrackCount; ++i) {
        const TCETTrack &p = (*a)[i], &q = (*b)[i];
        if (p.Count != q.Count || p.Value != q.Value) return false;
        for (int k = 0; k < p.Count; ++k)
            if (p.X[k] != q.X[k] || p.Y[k] != q.Y[k]) return false;
    }
    return true;
}

void Report(const char* what, const TRun& plain, const TRun& fast, int threads, const std::string& pngDir,
            const std::string& tag)
{
    long long diff = 0;
    const bool same = maptest::SamePixels(*plain.Map, *fast.Map, &diff);
    const bool sameCET = SameCET(plain.CET.get(), fast.CET.get());
    // CPU seconds show the work done whatever else the machine runs: plain
    // CPU / fast CPU is the work the fast pass saves, whatever the cores.
    std::printf("%-6s %2d threads: plain %6.2f s (cpu %6.2f), fast %6.2f s (cpu %6.2f), speed-up %5.2fx, "
                "work ratio %5.2f, rows %d/%d, pixels %s (%lld differ)%s\n",
                what, threads, plain.Seconds, plain.CpuSeconds, fast.Seconds, fast.CpuSeconds,
                plain.Seconds / fast.Seconds, plain.CpuSeconds / fast.CpuSeconds, plain.Rows, fast.Rows,
                same ? "identical" : "DIFFERENT", diff,
                plain.CET ? (sameCET ? ", curve points identical" : ", curve points DIFFERENT") : "");
    std::fflush(stdout);
    if (!pngDir.empty()) SavePictureFile(*fast.Map, pngDir + "/" + tag + ".png");
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // text is drawn without a display
    std::string mapName = "WORLD_0", pngDir, only;
    bool fastOnly = false;
    std::vector<int> threadCounts;
    std::vector<std::string> solarDates;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--map") && i + 1 < argc) {
            mapName = argv[++i];
        } else if (!std::strcmp(argv[i], "--threads") && i + 1 < argc) {
            for (const char* p = argv[++i]; *p;) {
                threadCounts.push_back(std::max(1, std::atoi(p)));
                while (*p && *p != ',') ++p;
                if (*p) ++p;
            }
        } else if (!std::strcmp(argv[i], "--png") && i + 1 < argc) {
            pngDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
            only = argv[++i];
        } else if (!std::strcmp(argv[i], "--fast-only")) {
            fastOnly = true;
        } else if (!std::strcmp(argv[i], "--eclipse") && i + 1 < argc) {
            solarDates.push_back(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: map_bench [--map WORLD_0|WORLD_1] [--threads N[,N...]] [--png DIR] [--only solar|lunar] "
                         "[--eclipse DATE]... [--fast-only]\n");
            return 2;
        }
    }
    if (threadCounts.empty()) threadCounts = {2, DefaultMapThreads()};
    const TMapData map = mapName == "WORLD_1" ? GeneralMapData : StandardMapData;
    if (solarDates.empty()) solarDates = {"2024 Apr 08"};
    auto lee = maptest::LunarEclipse("2025 Mar 14");
    if (!lee) {
        std::fprintf(stderr, "catalogue %s lacks the eclipses\n", maptest::CatalogueFile().c_str());
        return 1;
    }
    compute::SetEclipseAccuracy(false);  // the map pass runs with 20 iterations
    double load[3] = {0, 0, 0};
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = -1;
        std::fclose(f);
    }
    std::printf("map %s (%d x %d), %d cores, load average %.2f %.2f %.2f\n", mapName.c_str(), map.Width, map.Height,
                DefaultMapThreads(), load[0], load[1], load[2]);

    for (const std::string& date : only != "lunar" ? solarDates : std::vector<std::string>{}) {
        auto see = maptest::SolarEclipse(date);
        if (!see) {
            std::fprintf(stderr, "catalogue %s lacks %s\n", maptest::CatalogueFile().c_str(), date.c_str());
            return 1;
        }
        std::printf("solar eclipse %s (%s)\n", date.c_str(), see->EclipseType().c_str());
        if (fastOnly) {
            for (int n : threadCounts) {
                const TRun fast = Solar(*see, map, n);
                std::printf("solar  %2d threads: fast %6.2f s (cpu %6.2f)\n", n, fast.Seconds, fast.CpuSeconds);
            }
            continue;
        }
        const TRun solarPlain = Solar(*see, map, 0);
        std::string tag = date;
        for (char& ch : tag)
            if (ch == ' ') ch = '-';
        for (int n : threadCounts) {
            const TRun fast = Solar(*see, map, n);
            Report("solar", solarPlain, fast, n, pngDir, "solar-" + tag + "-" + mapName + "-" + std::to_string(n));
        }
    }
    if (only != "solar" && fastOnly) {
        for (int n : threadCounts) {
            const TRun fast = Lunar(*lee, map, n);
            std::printf("lunar  %2d threads: fast %6.2f s (cpu %6.2f)\n", n, fast.Seconds, fast.CpuSeconds);
        }
    } else if (only != "solar") {
        const TRun lunarPlain = Lunar(*lee, map, 0);
        for (int n : threadCounts) {
            const TRun fast = Lunar(*lee, map, n);
            Report("lunar", lunarPlain, fast, n, pngDir, "lunar-2025-03-14-" + mapName + "-" + std::to_string(n));
        }
    }
    return 0;
}
