// The proofs the fast solar map pass relies on, checked against the solver
// itself: a place proven to get nothing (and every place within the proof's
// radius) is unsolved or keeps the Sun below the threshold at the maximum
// and both outer contacts; a place whose contacts are proven clear has them
// away from the horizon; every converged solve lies in the bounds' times.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

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
                if (b.ProveEmpty(lat, lon) > 0) {
                    EXPECT_TRUE(lc.SA0 < -Threshold && lc.SA2 < -Threshold && lc.SA4 < -Threshold) << lat << " " << lon;
                }
                if (b.ProveContactsClear(lat, lon) > 0) {
                    EXPECT_TRUE(std::fabs(lc.SA0) > Threshold && std::fabs(lc.SA4) > Threshold) << lat << " " << lon;
                }
            }
    }
    EXPECT_GT(eclipses, 150);
    compute::SetEclipseAccuracy(true);
}

// The block proof of the map's maximum on random discs of places (random
// centres, radii up to the largest one taken): wherever it claims that no
// place of the disc gets a colour from its maximum, the solver agrees at
// every place tried in the disc.  The same for discs inside a disc whose
// proof failed, proven only on the slabs of time it left open.  A proof
// that claims one colour where two occur is a fault.
class SolarMapBlockProofs : public SolarMapBounds {};

TEST_P(SolarMapBlockProofs, ProvenDiscsGetNoColourFromTheMaximum)
{
    auto see = maptest::SolarEclipse(GetParam());
    ASSERT_TRUE(see);
    TSolarMapBounds b(*see, Threshold, Threshold);
    ASSERT_TRUE(b.Enabled());
    // The default settings: magnitude curves every 0.2 with N = 100 and the
    // limit, curves of equal time every hour, half a minute wide.
    TSolarMapBounds::TMaximumRules rules;
    rules.Altitude = Threshold;
    rules.Path = true;
    const int n = 100;
    rules.Magnitudes = {{-1e300, -0.5 / (0.75 * n)}, {0.5 / (0.75 * n), 19.5 / n}, {20.5 / n, 39.5 / n},
                        {40.5 / n, 59.5 / n},       {60.5 / n, 79.5 / n},      {80.5 / n, 1e300}};
    const long double t0 = std::floor(see->JDE() - see->DeltaT() - 0.5L) + 0.5L;  // midnight UT before
    for (int k = -30; k <= 60; ++k) rules.Times.push_back(static_cast<double>(t0 + k / 24.0L));
    rules.HalfWidth = 0.5 / 1440;
    b.SetMaximumRules(rules);

    auto coloured = [&](const compute::TSELocalCircumstances& lc) {
        if (lc.EclipseType == 'N') return false;  // the maximum failed or saw no eclipse
        const bool up = lc.SA2 >= 0;
        if ((lc.EclipseType == 'A' || lc.EclipseType == 'T') && up) return true;
        const long double m = std::nearbyint(n * lc.Magnitude);
        if (std::nearbyint(n * 0.75L * lc.Magnitude) == 0 && up) return true;
        if (up && (m == 20 || m == 40 || m == 60 || m == 80)) return true;
        for (double t : rules.Times)
            if (std::fabs(static_cast<double>(lc.JD2) - t) < rules.HalfWidth && up) return true;
        return Threshold >= std::fabs(lc.SA2);
    };

    std::mt19937 random(12345);
    std::uniform_real_distribution<double> unit(0, 1);
    const double deg = 180 / 3.14159265358979323846;
    int proven = 0, sunlit = 0, provenSunlit = 0, partial = 0, provenInside = 0;
    for (int disc = 0; disc < 1500; ++disc) {
        // Centres near the eclipse's track half of the time.
        double lat, lon;
        if (disc % 2 == 0) {
            lat = see->MELat() + (unit(random) - 0.5) * 80;
            lon = see->MELon() + (unit(random) - 0.5) * 120;
        } else {
            lat = unit(random) * 180 - 90;
            lon = unit(random) * 360 - 180;
        }
        lat = std::clamp(lat, -89.9, 89.9);
        const double radius = TSolarMapBounds::MaxRadius * std::pow(unit(random), 1.5);
        compute::TSELocalCircumstances centre;
        centre.Latitude = lat;
        centre.Longitude = lon;
        see->LocalCircumstances(centre);
        const bool day = centre.EclipseType != 'N' && centre.SA2 > 1;
        sunlit += day;
        // Places of a disc: its centre, its rim and random ones inside (the
        // disc of the metric 1.0034 |dlat| + |dlon|).
        auto place = [&](double la, double lo, double r, int i) {
            const double d = (i < 8 ? 0.9999 : std::sqrt(unit(random))) * r * deg;
            const double share = unit(random);
            const double dlat = (unit(random) < 0.5 ? -1 : 1) * d * share / 1.0034;
            const double dlon = (unit(random) < 0.5 ? -1 : 1) * d * (1 - share);
            return std::pair<double, double>{i == 0 ? la : la + dlat, i == 0 ? lo : lo + dlon};
        };
        auto check = [&](double la, double lo, double r, const char* what) {
            for (int i = 0; i < 60; ++i) {
                compute::TSELocalCircumstances lc;
                const auto [pla, plo] = place(la, lo, r, i);
                lc.Latitude = pla;
                lc.Longitude = plo;
                if (std::fabs(lc.Latitude) > 90) continue;
                see->LocalCircumstances(lc);
                EXPECT_FALSE(coloured(lc)) << what << " " << la << " " << lo << " r " << r << ": place "
                                           << static_cast<double>(lc.Latitude) << " "
                                           << static_cast<double>(lc.Longitude) << " magnitude "
                                           << static_cast<double>(lc.Magnitude) << " SA2 "
                                           << static_cast<double>(lc.SA2);
            }
        };
        TSolarMapBounds::TOpenSlabs open;
        if (!b.ProveMaximumClear(lat, lon, radius, nullptr, &open)) {
            // A failed proof lists the slabs it left open; discs inside its
            // disc, proven on those slabs alone, must hold as well.
            if (!open.Complete) continue;
            ++partial;
            for (int k = 0; k < 6; ++k) {
                const double r = radius * unit(random) * 0.5;
                const auto [sla, slo] = place(lat, lon, radius - r, 8 + k);
                if (std::fabs(sla) > 89.9) continue;
                if (!b.ProveMaximumClear(sla, slo, r, &open)) continue;
                ++provenInside;
                check(sla, slo, r, "disc inside");
            }
            continue;
        }
        EXPECT_TRUE(open.Complete && open.Count == 0);
        ++proven;
        provenSunlit += day;
        check(lat, lon, radius, "disc");
    }
    // The proof carries weight where it is meant to: in the sunlit penumbra,
    // and on the discs inside a failed one.
    EXPECT_GT(provenSunlit, sunlit / 5) << proven << " " << sunlit;
    EXPECT_GT(provenInside, 10) << partial;
}

INSTANTIATE_TEST_SUITE_P(Eclipses, SolarMapBlockProofs,
                         testing::Values("2024 Apr 08", "2023 Oct 14", "2023 Apr 20", "2021 Dec 04", "2025 Mar 29",
                                         "2024 Oct 02", "2012 May 20", "-0997 Aug 02"));
