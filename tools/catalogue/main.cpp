// Computes every solar and lunar eclipse of a span of years (by default
// -1999..2999) from the Swiss Ephemeris and writes the catalogue database.
// The catalogue ends with lunation kLastLunation (2999 May) whatever the
// span, and keeps the published canon's choice for grazing eclipses
// (tools/catalogue/Margins.h): the full span numbers every eclipse as the
// canon does.
//
//   tec-catalogue --output be.db [--from Y] [--to Y] [--threads N] [--ephe DIR]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tools/catalogue/CatalogueFile.h"
#include "tools/catalogue/Eclipses.h"
#include "tools/catalogue/Margins.h"

using namespace catalogue;

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: tec-catalogue --output FILE [--from YEAR] [--to YEAR] [--threads N] "
                 "[--ephe DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string output, ephe = "/usr/share/libswe/ephe";
    int from = -1999, to = 2999;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument("missing value after " + a);
            return argv[++i];
        };
        try {
            if (a == "--output") output = value();
            else if (a == "--from") from = std::stoi(value());
            else if (a == "--to") to = std::stoi(value());
            else if (a == "--threads") { int n = std::stoi(value()); if (n > 0) threads = n; }
            else if (a == "--ephe") ephe = value();
            else return Usage();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tec-catalogue: %s\n", e.what());
            return Usage();
        }
    }
    if (output.empty() || from > to) return Usage();
    if (from < -2999 || to > 2999 + 1) {
        std::fprintf(stderr, "tec-catalogue: the ephemeris files cover the years -3000..+3000\n");
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    const int kFirst = LunationOf(JDOfYear(from)) - 1;
    const int kLast = LunationOf(JDOfYear(to + 1)) + 1;
    const int count = kLast - kFirst + 1;
    std::vector<std::optional<SolarRecord>> solar(count);
    std::vector<std::optional<LunarRecord>> lunar(count);

    std::atomic<int> next{0}, done{0};
    std::mutex errorLock;
    std::string error;
    auto worker = [&]() {
        try {
            Ephemeris eph(ephe);
            for (int i; (i = next.fetch_add(1)) < count;) {
                const int k = kFirst + i;
                if (!DroppedSolar(k)) solar[i] = ComputeSolarEclipse(eph, k);
                lunar[i] = ComputeLunarEclipse(eph, k, KeptLunar(k));
                int d = ++done;
                if (d % (count / 10 + 1) == 0)
                    std::fprintf(stderr, "tec-catalogue: %d%%\n", d * 100 / count);
            }
        } catch (const std::exception& e) {
            std::lock_guard<std::mutex> lock(errorLock);
            if (error.empty()) error = e.what();
            next = count;
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    if (!error.empty()) {
        std::fprintf(stderr, "tec-catalogue: %s\n", error.c_str());
        return 1;
    }

    auto inSpan = [&](int k, long double jde) {
        int y = JDToCalendar(jde).Year;
        return y >= from && y <= to && k <= kLastLunation;
    };
    std::vector<SolarRecord> se;
    std::map<int, const SolarRecord*> byLunation;
    for (auto& r : solar)
        if (r) byLunation[r->K] = &*r;
    for (auto& r : solar)
        if (r && inSpan(r->K, r->JDE)) se.push_back(*r);
    std::vector<LunarRecord> le;
    for (auto& r : lunar) {
        if (!r || !inSpan(r->K, r->JDE)) continue;
        auto before = byLunation.find(r->K), after = byLunation.find(r->K + 1);
        r->QSE = QuincenaText(before != byLunation.end() ? before->second : nullptr,
                              after != byLunation.end() ? after->second : nullptr);
        le.push_back(*r);
    }
    try {
        WriteCatalogue(output, se, le);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tec-catalogue: %s\n", e.what());
        return 1;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "tec-catalogue: %zu solar and %zu lunar eclipses of %d..%d in %.1f s (%u threads) -> %s\n",
                 se.size(), le.size(), from, to, secs, threads, output.c_str());
    return 0;
}
