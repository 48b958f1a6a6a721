// tec-worldmaps: draws the program's built-in world maps "WORLD_0",
// "WORLD_1" and "WORLD_360" from the GSHHG shorelines and borders through
// GMT, and writes them as 8-bit palette PNGs.
//
//   tec-worldmaps <output folder> [WORLD_0 | WORLD_1 | WORLD_360 ...]
//
// GMT samples its land mask on exactly the pixel centres of the map record
// (several samples per pixel for the small preview map, which is shaded by
// the land fraction); the coast and border lines come from GMT as polylines
// and are drawn anti-aliased on top.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/BuiltinMaps.h"
#include "tools/worldmaps/MapRender.h"
#include "tools/worldmaps/PaletteImage.h"

namespace fs = std::filesystem;
using namespace worldmaps;

namespace {

struct TMapJob {
    const TBuiltinMap* Map;
    int Samples;          // land-mask samples per pixel along each axis
    const char* Resolution; // GSHHG resolution letter
    double MinArea;       // features smaller than this (km²) are left out
    double CoastWidth;    // pixels
    double BorderWidth;   // pixels
};

const TMapJob Jobs[] = {
    {&StandardWorldMap, 1, "h", 50, 1.2, 1.0},
    {&GeneralWorldMap, 1, "i", 300, 1.0, 0.9},
    {&PreviewWorldMap, 6, "l", 3000, 0.6, 0.4},
};

std::string Fixed(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10f", v);
    return buf;
}

// The feature selection: no feature smaller than the job's area, and of the
// lakes only the true ones (rivers mapped as long thin lakes would read as
// borders at these scales).
std::string Area(const TMapJob& job)
{
    return Fixed(job.MinArea) + "+l";
}

// Runs a shell command in the work folder and returns its standard output.
std::string Run(const fs::path& folder, const std::string& command)
{
    std::string full = "cd '" + folder.string() + "' && " + command;
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run: " + command);
    std::string out;
    char buf[1 << 16];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    int status = pclose(pipe);
    if (status != 0)
        throw std::runtime_error("failed (" + std::to_string(status) + "): " + command);
    return out;
}

// Land (1) or water (0) at the sample points of columns [c0, c1] and rows
// [r0, r1] of the sample lattice, whose positions lonOf and latOf give.
// Ocean, lakes and ponds are water; land and islands in lakes are land.
template <class LonOf, class LatOf>
std::vector<int8_t> LandMask(const fs::path& work, const TMapJob& job, int c0, int c1, int r0, int r1,
                             LonOf lonOf, LatOf latOf)
{
    int nx = c1 - c0 + 1, ny = r1 - r0 + 1;
    std::string region = Fixed(lonOf(c0)) + "/" + Fixed(lonOf(c1)) + "/" + Fixed(latOf(r1)) + "/"
                         + Fixed(latOf(r0));
    Run(work, "gmt grdlandmask -R" + region + " -I" + std::to_string(nx) + "+n/" + std::to_string(ny)
                  + "+n -D" + job.Resolution + " -A" + Area(job)
                  + " -N0/1/0/1/0 -Gmask.nc");
    std::string bytes = Run(work, "gmt grd2xyz mask.nc -ZTLc");
    if (bytes.size() != static_cast<size_t>(nx) * ny)
        throw std::runtime_error("land mask of unexpected size");
    return {bytes.begin(), bytes.end()};
}

std::vector<float> LandFraction(const fs::path& work, const TMapJob& job, const TMapGeometry& g)
{
    const int k = job.Samples;
    const int nx = g.Width * k, ny = g.Height * k;
    // Sample positions in pixel coordinates: k evenly spread in each pixel.
    auto sx = [k](int c) { return (c + 0.5) / k - 0.5; };
    auto lonOf = [&](int c) { return g.LonEast(sx(c)); };
    auto latOf = [&](int r) { return std::clamp(g.Lat(sx(r)), -90.0, 90.0); };
    // Rows beyond a pole take the nearest row that is on the globe.
    int rFirst = 0, rLast = ny - 1;
    while (g.Lat(sx(rFirst)) > 90.0 + 1e-9)
        ++rFirst;
    while (g.Lat(sx(rLast)) < -90.0 - 1e-9)
        --rLast;
    const int rows = rLast - rFirst + 1;

    // GMT's land mask is unreliable in the first and last few degrees of a
    // request (at the south pole) and cannot take a whole turn at once.  So
    // the columns come in three pieces, 90 W to 90 E, 90 E eastwards and
    // west of 90 W (taken a turn away, as 180 E onwards), each asked for with
    // a margin of columns on both sides that is then dropped; the margins of
    // the second and third pieces must agree with the first piece's columns.
    const double step = 180.0 / g.X1 / k;  // degrees between columns
    const int margin = static_cast<int>(std::ceil(6.0 / step));
    int tWest = 0, tEast = nx - 1;  // first column east of 90 W, last west of 90 E
    while (tWest < nx && lonOf(tWest) < -90.0)
        ++tWest;
    while (tEast >= 0 && lonOf(tEast) > 90.0)
        --tEast;
    std::vector<int8_t> mask(static_cast<size_t>(nx) * rows);
    std::vector<bool> filled(nx, false);
    size_t disagreements = 0, compared = 0;
    auto fetch = [&](int c0, int c1, double shift) {
        if (c0 > c1)
            return;
        const int q0 = c0 - margin, q1 = c1 + margin;
        auto lon = [&](int c) { return lonOf(c) + shift; };
        std::vector<int8_t> part = LandMask(work, job, q0, q1, rFirst, rLast, lon, latOf);
        const int width = q1 - q0 + 1;
        for (int c = std::max(q0, 0); c <= std::min(q1, nx - 1); ++c) {
            bool own = c >= c0 && c <= c1;
            for (int r = 0; r < rows; ++r) {
                int8_t v = part[static_cast<size_t>(r) * width + (c - q0)];
                int8_t& cell = mask[static_cast<size_t>(r) * nx + c];
                if (own)
                    cell = v;
                else if (filled[c]) {
                    ++compared;
                    disagreements += cell != v;
                }
            }
        }
        for (int c = c0; c <= c1; ++c)
            filled[c] = true;
    };
    fetch(tWest, tEast, 0.0);
    fetch(tEast + 1, nx - 1, 0.0);
    fetch(0, tWest - 1, 360.0);
    // A few samples right on a shoreline may fall either way.
    std::cerr << "  pieces agree on " << compared - disagreements << " of " << compared << " samples" << std::endl;
    if (disagreements * 1000 > compared)
        throw std::runtime_error("land mask pieces disagree at " + std::to_string(disagreements) + " samples");

    std::vector<float> fraction(static_cast<size_t>(g.Width) * g.Height);
    for (int y = 0; y < g.Height; ++y)
        for (int x = 0; x < g.Width; ++x) {
            int land = 0;
            for (int j = 0; j < k; ++j) {
                int r = std::clamp(y * k + j, rFirst, rLast) - rFirst;  // rows beyond a pole
                for (int i = 0; i < k; ++i)
                    land += mask[static_cast<size_t>(r) * nx + x * k + i] != 0;
            }
            fraction[static_cast<size_t>(y) * g.Width + x] = static_cast<float>(land) / (k * k);
        }
    return fraction;
}

TCoverage Lines(const fs::path& work, const TMapJob& job, const TMapGeometry& g, const std::string& what,
                double width)
{
    std::string text = Run(work, std::string("gmt coast -R-180/180/-90/90 -D") + job.Resolution + " -A"
                                     + Area(job) + " " + what + " -M");
    TCoverage coverage(g);
    size_t points = 0;
    for (const TPolyline& line : ParseSegments(text)) {
        coverage.AddPolyline(line, width);
        points += line.size();
    }
    if (points == 0)
        throw std::runtime_error("GMT gave no lines for " + what);
    return coverage;
}

void MakeMap(const fs::path& work, const fs::path& outFolder, const TMapJob& job)
{
    auto start = std::chrono::steady_clock::now();
    const TBuiltinMap& m = *job.Map;
    TMapGeometry g{m.Width, m.Height, m.X0, m.Y0, m.X1, m.Y1};
    std::cerr << m.ResourceName << ": land mask..." << std::endl;
    std::vector<float> land = LandFraction(work, job, g);
    std::cerr << m.ResourceName << ": borders and coasts..." << std::endl;
    TCoverage borders = Lines(work, job, g, "-N1", job.BorderWidth);
    TCoverage coasts = Lines(work, job, g, "-W", job.CoastWidth);
    TPaletteImage image = ComposeMap(g, land, borders, coasts, TMapStyle{});
    fs::path file = outFolder / (std::string(m.ResourceName) + ".png");
    WritePng(file.string(), image);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cerr << m.ResourceName << ": " << file.string() << " (" << fs::file_size(file) << " bytes, "
              << seconds << " s)" << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: tec-worldmaps <output folder> [WORLD_0|WORLD_1|WORLD_360 ...]\n";
        return 2;
    }
    fs::path outFolder = fs::absolute(argv[1]);
    std::vector<const TMapJob*> jobs;
    for (int i = 2; i < argc; ++i) {
        const TMapJob* found = nullptr;
        for (const TMapJob& job : Jobs)
            if (argv[i] == std::string(job.Map->ResourceName))
                found = &job;
        if (!found) {
            std::cerr << "tec-worldmaps: unknown map " << argv[i] << "\n";
            return 2;
        }
        jobs.push_back(found);
    }
    if (jobs.empty())
        for (const TMapJob& job : Jobs)
            jobs.push_back(&job);

    fs::path work = fs::temp_directory_path() / ("tec-worldmaps-" + std::to_string(getpid()));
    try {
        fs::create_directories(outFolder);
        fs::create_directories(work);
        for (const TMapJob* job : jobs)
            MakeMap(work, outFolder, *job);
    } catch (const std::exception& e) {
        std::cerr << "tec-worldmaps: " << e.what() << "\n";
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(work);
    return 0;
}
