// The delta-T table the program ships, "Morrison and Stephenson (2004)", as
// the build writes it: it loads in the program's own reader, its keys rise
// over -3000..3000, it names its sources, and at the date of every eclipse
// of the Five Millennium Canons it gives the canon's delta T.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "compute/AstroBase.h"
#include "compute/DatesAndTimes.h"

using namespace compute;

namespace {

const std::string TableFile = std::string(TEC_RUNTIME_DIR) + "/DeltaT/Morrison and Stephenson (2004)";

std::vector<std::string> SplitCsv(std::string line)
{
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ',') out.emplace_back();
        else out.back() += c;
    }
    return out;
}

// Julian Day of a calendar date with astronomical year numbering (Julian
// calendar before 1582 October 15), after Meeus, Astronomical Algorithms,
// ch. 7: independent of the program's own calendar routines.
double JulianDay(int year, int month, double day)
{
    if (month <= 2) {
        --year;
        month += 12;
    }
    const bool gregorian = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
    const int a = static_cast<int>(std::floor(year / 100.0));
    const int b = gregorian ? 2 - a + static_cast<int>(std::floor(a / 4.0)) : 0;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

struct TCanonDeltaT {
    double jd;        // TD of greatest eclipse
    double seconds;   // the canon's delta T
};

std::vector<TCanonDeltaT> SolarCanon()
{
    std::vector<TCanonDeltaT> rows;
    std::ifstream in(tectest::SharedDataFile("canon-solar-besselian.csv"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = SplitCsv(line);
        rows.push_back({std::stod(f[3]), std::stod(f[5])});
    }
    return rows;
}

std::vector<TCanonDeltaT> LunarCanon()
{
    static const char* const months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
    std::vector<TCanonDeltaT> rows;
    std::ifstream in(tectest::SharedDataFile("canon-lunar-catalogue.csv"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto f = SplitCsv(line);
        char monthName[16] = {};
        int year = 0, day = 0, h = 0, m = 0, s = 0;
        if (std::sscanf(f[1].c_str(), "%d %15s %d", &year, monthName, &day) != 3) continue;
        if (std::sscanf(f[2].c_str(), "%d:%d:%d", &h, &m, &s) != 3) continue;
        int month = 0;
        for (int i = 0; i < 12; ++i)
            if (std::string(monthName) == months[i]) month = i + 1;
        if (month == 0) continue;
        rows.push_back({JulianDay(year, month, day + (h + m / 60.0 + s / 3600.0) / 24), std::stod(f[3])});
    }
    return rows;
}

// Back to no user table for the tests that follow in this process.
void Unload()
{
    DeltaTTable.IsLoaded = false;
    DeltaTTable.NumValues = 0;
}

TEST(ShippedDeltaTTable, LoadsWithRisingKeysOverFiveMillenniaAndNamesItsSources)
{
    ASSERT_EQ(LoadDeltaTTable(TableFile), 0);
    EXPECT_EQ(DeltaTTable.Error, 0);
    EXPECT_TRUE(DeltaTTable.IsLoaded);
    // Every 10 years before 1600 and after 2100, yearly between, and one
    // entry keyed by Julian Day late in 3000.
    EXPECT_EQ(DeltaTTable.NumValues, 460 + 501 + 90 + 1);
    for (int i = 1; i < DeltaTTable.NumValues; ++i)
        ASSERT_GT(DeltaTTable.Values[i].Key, DeltaTTable.Values[i - 1].Key) << "entry " << i;
    EXPECT_NEAR(DeltaTTable.Values[0].Key, static_cast<double>(DecimalYearToJD(-3000)), 0.5);
    EXPECT_NEAR(DeltaTTable.Values[DeltaTTable.NumValues - 2].Key, static_cast<double>(DecimalYearToJD(3000)), 0.5);
    EXPECT_EQ(DeltaTTable.Values[DeltaTTable.NumValues - 1].Key, 2817000.0f);
    const std::string text = tectest::ReadText(TableFile);
    for (const char* source : {"Morrison and Stephenson", "Journal for the", "History of Astronomy 35 (2004)",
                               "Espenak and J. Meeus", "NASA/TP-2006-214141"})
        EXPECT_NE(text.find(source), std::string::npos) << source;
    Unload();
}

TEST(ShippedDeltaTTable, GivesTheCanonsDeltaTAtEveryEclipse)
{
    if (!tectest::HaveSharedData()) GTEST_SKIP() << "no published catalogues";
    ASSERT_EQ(LoadDeltaTTable(TableFile), 0);
    const float lastKey = DeltaTTable.Values[DeltaTTable.NumValues - 1].Key;
    for (const auto& [name, rows] : {std::pair{"solar", SolarCanon()}, {"lunar", LunarCanon()}}) {
        SCOPED_TRACE(name);
        ASSERT_GT(rows.size(), 11000u);
        double largest = 0;
        int outside = 0;
        for (const TCanonDeltaT& r : rows) {
            // Past the last key (the reader takes none after JD 2817000,
            // 3000 Aug 21) the table's last value holds: it may fall behind
            // by delta T's drift over the months left, 7.6 s a year then.
            const double past = std::max(0.0, r.jd - static_cast<double>(lastKey)) / 365.25;
            const double d = std::fabs(static_cast<double>(DeltaTFromTable(r.jd)) * 86400 - r.seconds) - 7.6 * past;
            largest = std::max(largest, d);
            if (d > 2) {
                ++outside;
                std::printf("  JD %.3f (year %.2f): table %.2f s, canon %.1f s\n", r.jd, static_cast<double>(JDToDecimalYear(r.jd)), static_cast<double>(DeltaTFromTable(r.jd)) * 86400, r.seconds);
            }
        }
        std::printf("%s canon: %zu eclipses, largest difference %.2f s (past the last key: beyond the drift)\n", name, rows.size(), largest);
        EXPECT_EQ(outside, 0) << "largest difference " << largest << " s";
    }
    Unload();
}

} // namespace
