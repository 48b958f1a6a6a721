// The proofs the fast solar map pass relies on, checked against the solver
// itself: a place proven to get nothing (and every place within the proof's
// radius) is unsolved or keeps the Sun below the threshold at the maximum
// and both outer contacts; a place whose contacts are proven clear has them
// away from the horizon; every converged solve lies in the bounds' times.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MapTestUtil.h"
#include "app/EclipseMapSolarBounds.h"
#include "compute/BesselSE.h"

using namespace app;

namespace {

constexpr double Threshold = 0.2;  // degrees: the default visibility limits' half-width

class SolarMapBounds : public testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() { compute::SetEclipseAccuracy(false); }
    static void TearDownTestSuite() { compute::SetEclipseAccuracy(true); }
};

bool InIntervals(const TSolarMapBounds& b, long double hours)
{
    for (const TSolarMapBounds::TInterval& i : b.Intervals())
        if (hours >= i.A && hours <= i.B) return true;
    return false;
}

} // namespace

TEST_P(SolarMapBounds, ProofsHoldForThePlaceAndItsNeighbours)
{
    auto see = maptest::SolarEclipse(GetParam());
    ASSERT_TRUE(see);
    const TSolarMapBounds b(*see, Threshold, Threshold);
    ASSERT_TRUE(b.Enabled());
    ASSERT_FALSE(b.Intervals().empty());

    int places = 0, empty = 0, solved = 0, clearSolved = 0, sunlit = 0;
    for (double lat = -89.3; lat < 90; lat += 1.9) {
        for (double lon = -179.6; lon < 180; lon += 2.3) {
            ++places;
            compute::TSELocalCircumstances lc;
            lc.Latitude = lat;
            lc.Longitude = lon;
            const bool ok = see->LocalCircumstances(lc);
            if (ok) {
                // Every converged time (TD) lies in the bounds' intervals.
                for (long double jd : {lc.JD0, lc.JD2, lc.JD4}) {
                    const long double hours = (jd + see->DeltaT() - see->JD0()) * 24;
                    EXPECT_TRUE(InIntervals(b, hours)) << lat << " " << lon << " " << static_cast<double>(hours);
                }
                ++solved;
                sunlit += lc.SA2 > 1;
            }

            // The place and neighbours just inside the radius, both ways in
            // latitude and longitude.
            auto around = [&](double r, auto check) {
                const double deg = 0.999 * r * 180 / 3.14159265358979323846;
                const double neighbours[][2] = {{lat, lon}, {lat + deg / 1.0034, lon}, {lat - deg / 1.0034, lon},
                                                {lat, lon + deg}, {lat, lon - deg}};
                for (const auto& q : neighbours) {
                    if (std::fabs(q[0]) > 90) continue;
                    compute::TSELocalCircumstances c;
                    c.Latitude = q[0];
                    c.Longitude = q[1];
                    check(see->LocalCircumstances(c), c, q[0], q[1]);
                }
            };
            const double r = b.ProveEmpty(lat, lon);
            if (r > 0) {
                ++empty;
                around(std::min(r, 0.5), [](bool solvedThere, const compute::TSELocalCircumstances& c, double la, double lo) {
                    if (!solvedThere) return;
                    EXPECT_LT(c.SA0, -Threshold) << la << " " << lo;
                    EXPECT_LT(c.SA2, -Threshold) << la << " " << lo;
                    EXPECT_LT(c.SA4, -Threshold) << la << " " << lo;
                });
            }
            const double rc = b.ProveContactsClear(lat, lon);
            if (rc > 0) {
                clearSolved += ok;
                around(std::min(rc, 0.5), [](bool solvedThere, const compute::TSELocalCircumstances& c, double la, double lo) {
                    if (!solvedThere) return;
                    EXPECT_GT(std::fabs(c.SA0), Threshold) << la << " " << lo;
                    EXPECT_GT(std::fabs(c.SA4), Threshold) << la << " " << lo;
                });
            }
        }
    }
    // The proofs carry real weight: most places without an eclipse in
    // daylight are proven empty, most eclipsed ones have clear contacts.
    EXPECT_GT(empty, (places - solved) / 2) << places << " " << solved;
    EXPECT_GT(clearSolved, solved * 3 / 4) << solved << " " << sunlit;
}

INSTANTIATE_TEST_SUITE_P(Eclipses, SolarMapBounds,
                         testing::Values("2024 Apr 08", "2023 Oct 14", "2023 Apr 20", "2021 Dec 04", "2025 Mar 29"));

TEST(SolarMapBoundsElements, ElementsThatDefeatTheProofSkipNothing)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    auto other = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see && other);
    // Without cubic terms the far times are not bounded: no proofs.
    compute::TSolarEclipse& flat = *see;
    flat.SetXe(3, 0);
    flat.SetYe(3, 0);
    const TSolarMapBounds noCubic(flat, Threshold, Threshold);
    EXPECT_FALSE(noCubic.Enabled());
    EXPECT_EQ(noCubic.ProveEmpty(-60, -100), 0);
    compute::TSolarEclipse& broken = *other;
    broken.SetL1e(0, std::numeric_limits<long double>::quiet_NaN());
    EXPECT_FALSE(TSolarMapBounds(broken, Threshold, Threshold).Enabled());
    // Contacts that never draw need no proof at all.
    EXPECT_GT(TSolarMapBounds(flat, Threshold, -1).ProveContactsClear(30, 90), 0);
}

TEST(SolarMapBoundsElements, DistanceTakesTheShortWayRound)
{
    const double deg = 3.14159265358979323846 / 180;
    EXPECT_NEAR(TSolarMapBounds::Distance(10, 179, 10, -179), 2 * deg, 1e-12);
    EXPECT_NEAR(TSolarMapBounds::Distance(10, 0, 12, 0), 2 * 1.0034 * deg, 1e-12);
    EXPECT_NEAR(TSolarMapBounds::Distance(0, 350, 0, -5), 5 * deg, 1e-12);
}

// Every 60th eclipse of the catalogue (five millennia of elements and
// delta T): the proofs are on and hold at every place of a coarse grid.
TEST(SolarMapBoundsCatalogue, ProofsHoldAcrossTheCatalogue)
{
    compute::SetEclipseAccuracy(false);
    db::TSQLiteTable table;
    table.SetDatabaseFile(maptest::CatalogueFile());
    table.SetTableName("BE_SE");
    table.SetSort("CatNo");
    table.Open();
    int eclipses = 0, row = 0;
    for (table.First(); !table.Eof(); table.Next(), ++row) {
        if (row % 60 != 0) continue;
        compute::TSolarEclipse see;
        see.ReadFromDataSet(&table);
        SCOPED_TRACE(see.DT());
        const TSolarMapBounds b(see, Threshold, Threshold);
        ASSERT_TRUE(b.Enabled());
        ++eclipses;
        for (double lat = -87.5; lat < 90; lat += 5)
            for (double lon = -178.1; lon < 180; lon += 5.5) {
                compute::TSELocalCircumstances lc;
                lc.Latitude = lat;
                lc.Longitude = lon;
                if (!see.LocalCircumstances(lc)) continue;
                if (b.ProveEmpty(lat, lon) > 0)
                    EXPECT_TRUE(lc.SA0 < -Threshold && lc.SA2 < -Threshold && lc.SA4 < -Threshold) << lat << " " << lon;
                if (b.ProveContactsClear(lat, lon) > 0)
                    EXPECT_TRUE(std::fabs(lc.SA0) > Threshold && std::fabs(lc.SA4) > Threshold) << lat << " " << lon;
            }
    }
    EXPECT_GT(eclipses, 150);
    compute::SetEclipseAccuracy(true);
}
