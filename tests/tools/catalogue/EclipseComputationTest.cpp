// The generator's eclipse computations against published values: the Five
// Millennium Canons' elements and catalogue rows, the Espenak-Meeus delta T
// and the shadow radii of 2025 Mar 14.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/catalogue/CatalogueFile.h"
#include "tools/catalogue/Eclipses.h"

using namespace catalogue;

namespace {

Ephemeris& Eph()
{
    static Ephemeris eph("/usr/share/libswe/ephe");
    return eph;
}

// JD (TD) of a Gregorian date and TD time.
long double JD(int y, int m, int d, int hh, int mm, int ss)
{
    return CalendarToJD(y, m, d + (hh + (mm + ss / 60.0L) / 60.0L) / 24.0L);
}

} // namespace

TEST(CatalogueDeltaT, EspenakMeeusWithTheCanonsCorrection)
{
    // Polynomial values without the correction (inside 1955..2005 it is 0),
    // and the canons' own figures with it.
    struct Case {
        long double year, seconds, tolerance;
    } cases[] = {
        {2000.0L, 63.86L, 0.01L},
        {1975.0L, 45.45L, 0.01L},
        {1950.0L, 29.07L - 0.000012932L * 25, 0.01L},
        {1900.0L, -2.79L - 0.000012932L * 55 * 55, 0.01L},
        {2024.0L + 3.5L / 12, 74.0L, 0.05L},        // canon, 2024 Apr 08
        {2023.0L + 9.5L / 12, 73.7L, 0.05L},        // canon, 2023 Oct 14
        {-1999.0L + 5.5L / 12, 46438.0L, 0.5L},    // canon, -1999 Jun 12
        {2999.0L + 0.5L / 12, 0, -1},               // continuous at the end of the span
    };
    for (const Case& c : cases) {
        if (c.tolerance < 0) {
            EXPECT_GT(DeltaTSeconds(c.year), 0);
            continue;
        }
        EXPECT_NEAR(static_cast<double>(DeltaTSeconds(c.year)), static_cast<double>(c.seconds),
                    static_cast<double>(c.tolerance)) << static_cast<double>(c.year);
    }
    // The pieces join without jumps of more than a second.
    for (int y : {-500, 500, 1600, 1700, 1800, 1860, 1900, 1920, 1941, 1961, 1986, 2005, 2050, 2150})
        EXPECT_NEAR(static_cast<double>(DeltaTSeconds(y - 1e-6L)), static_cast<double>(DeltaTSeconds(y)), 1.0) << y;
}

TEST(CatalogueDeltaT, MoonIsReadWithTheTidalAccelerationDeltaTAssumes)
{
    // Morrison and Stephenson: a tidal acceleration changed by dn ("/cy^2)
    // moves lunar events by 0.91072 dn T^2 seconds, T in centuries from the
    // epoch where the two lunar ephemerides agree (here J2000).  Here
    // dn = -25.858 - (-25.80): the files' Moon is read earlier.
    struct Case {
        long double jd, u;
    } cases[] = {
        {CalendarToJD(-1999, 6, 12.0L), (-1999.0L + 5.4L / 12 - 2000) / 100},
        {CalendarToJD(1000, 1, 1.0L), -10.0L},
        {CalendarToJD(2000, 1, 1.5L), 0},
        {CalendarToJD(3000, 12, 31.0L), 10.01L},
    };
    for (const Case& c : cases) {
        const double expected = -0.91072 * 0.058 * static_cast<double>(c.u * c.u);
        EXPECT_NEAR(static_cast<double>(MoonTidalShiftDays(c.jd) * 86400), expected, 0.003 * std::fabs(expected) + 0.01)
            << static_cast<double>(c.u);
    }
}

TEST(CatalogueCalendar, DateTexts)
{
    EXPECT_EQ(DateText(JD(2024, 4, 8, 18, 18, 29)), "2024 Apr 08");
    EXPECT_EQ(DateText(CalendarToJD(-1999, 6, 12.13L)), "-1999 Jun 12");
    EXPECT_EQ(DateText(CalendarToJD(-5, 1, 1.5L)), "-0005 Jan 01");
    EXPECT_EQ(DateText(CalendarToJD(0, 12, 31.9L)), "0000 Dec 31");
    EXPECT_EQ(DateText(CalendarToJD(1582, 10, 15.0L)), "1582 Oct 15");
    EXPECT_EQ(DateText(CalendarToJD(1582, 10, 4.9L)), "1582 Oct 04");
    EXPECT_EQ(DateText(2451545.0L), "2000 Jan 01");
    EXPECT_NEAR(static_cast<double>(CalendarToJD(-4712, 1, 1.5L)), 0.0, 1e-9);
}

TEST(CatalogueSolar, ElementsOfCanonEclipses)
{
    // Canon rows: lunation, elements at T0, type, gamma, magnitude, TD of
    // greatest eclipse, Saros.
    struct Case {
        int k, t0;
        double x0, x1, y0, y1, d0, mu0, mu1, l10, l20, tanf1, tanf2;
        char type;
        double gamma, magnitude;
        int y, m, d, hh, mm, ss, saros;
        const char* dt;
    } cases[] = {
        {300, 18, -0.318244, 0.5117116, 0.219764, 0.2709589, 7.5862002, 89.591217, 15.00408,
         0.535814, -0.010272, 0.0046683, 0.004645, 'T', 0.3431, 1.0566, 2024, 4, 8, 18, 18, 29, 139,
         "2024 Apr 08"},
        {294, 18, 0.169658, 0.4585533, 0.334859, -0.2413671, -8.2441902, 93.501732, 15.00353,
         0.564311, 0.018083, 0.0046882, 0.0046648, 'A', 0.3753, 0.952, 2023, 10, 14, 18, 0, 41, 134,
         "2023 Oct 14"},
        {288, 4, 0.02685, 0.4950182, -0.427366, 0.2441992, 11.4117899, 240.242935, 15.00342,
         0.546804, 0.000663, 0.004655, 0.0046318, 'H', -0.3952, 1.0132, 2023, 4, 20, 4, 17, 56, 129,
         "2023 Apr 20"},
        {312, 11, -0.40287, 0.5094122, 0.965695, 0.2788348, 3.56602, 343.831665, 15.00436,
         0.535766, -0.01032, 0.0046823, 0.004659, 'P', 1.0405, 0.9376, 2025, 3, 29, 10, 48, 36, 149,
         "2025 Mar 29"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dt);
        auto r = ComputeSolarEclipse(Eph(), c.k);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->T0, c.t0);
        EXPECT_NEAR(static_cast<double>(r->X[0]), c.x0, 3e-5);
        EXPECT_NEAR(static_cast<double>(r->X[1]), c.x1, 3e-6);
        EXPECT_NEAR(static_cast<double>(r->Y[0]), c.y0, 3e-5);
        EXPECT_NEAR(static_cast<double>(r->Y[1]), c.y1, 3e-6);
        EXPECT_NEAR(static_cast<double>(r->D[0]), c.d0, 5e-5);
        EXPECT_NEAR(static_cast<double>(r->Mu[0]), c.mu0, 2e-4);
        EXPECT_NEAR(static_cast<double>(r->Mu[1]), c.mu1, 1e-5);
        EXPECT_NEAR(static_cast<double>(r->L1[0]), c.l10, 3e-6);
        EXPECT_NEAR(static_cast<double>(r->L2[0]), c.l20, 3e-6);
        EXPECT_NEAR(static_cast<double>(r->TanF1), c.tanf1, 1e-7);
        EXPECT_NEAR(static_cast<double>(r->TanF2), c.tanf2, 1e-7);
        EXPECT_EQ(r->Type, c.type);
        EXPECT_NEAR(static_cast<double>(r->Gamma), c.gamma, 1.5e-4);
        EXPECT_NEAR(static_cast<double>(r->Magnitude), c.magnitude, 2e-4);
        EXPECT_NEAR(static_cast<double>((r->JDE - JD(c.y, c.m, c.d, c.hh, c.mm, c.ss)) * 86400), 0.0, 2.0);
        EXPECT_EQ(r->Saros, c.saros);
        EXPECT_EQ(r->DT, c.dt);
        EXPECT_NEAR(static_cast<double>(r->JD0), static_cast<double>(CalendarToJD(c.y, c.m, c.d + c.t0 / 24.0L)), 1e-9);
    }
    // Greatest eclipse of 2024 Apr 08: 25.28945 N, 104.12775 W (canon).
    auto r = ComputeSolarEclipse(Eph(), 300);
    EXPECT_NEAR(static_cast<double>(r->MELat), 25.28945, 0.003);
    EXPECT_NEAR(static_cast<double>(r->MELon), 104.12775, 0.003);
    // Partial eclipse: the point of the Earth's limb nearest the axis, 2025
    // Mar 29 at 61.1 N, 77.1 W (the canon's point lies 0.15 degrees further
    // south: its nearest point is not taken on the flattened outline).
    r = ComputeSolarEclipse(Eph(), 312);
    EXPECT_NEAR(static_cast<double>(r->MELat), 61.1, 0.2);
    EXPECT_NEAR(static_cast<double>(r->MELon), 77.1, 0.2);
    // No eclipse at the new Moon of 2024 Jan 11.
    EXPECT_FALSE(ComputeSolarEclipse(Eph(), 297).has_value());
}

TEST(CatalogueLunar, CanonEclipses)
{
    struct Case {
        int k;
        char type;
        double gamma, magPen, magUmbra, pen, par, tot;   // durations in minutes
        int y, m, d, hh, mm, ss, saros;
    } cases[] = {
        {311, 'T', 0.3484, 2.2595, 1.1784, 362.6, 218.3, 65.4, 2025, 3, 14, 6, 59, 56, 123},
        {282, 'T', 0.257, 2.4143, 1.3589, 353.9, 219.8, 85.0, 2022, 11, 8, 11, 0, 22, 136},
        {305, 'P', -0.9792, 1.0372, 0.0848, 246.3, 62.8, 0, 2024, 9, 18, 2, 45, 25, 118},
        {299, 'N', 1.0609, 0.9557, -0.1325, 279.1, 0, 0, 2024, 3, 25, 7, 13, 59, 113},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        auto r = ComputeLunarEclipse(Eph(), c.k);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->Type, c.type);
        EXPECT_NEAR(static_cast<double>(r->Gamma), c.gamma, 2e-4);
        EXPECT_NEAR(static_cast<double>(r->MagPen), c.magPen, 4e-4);
        EXPECT_NEAR(static_cast<double>(r->MagUmbra), c.magUmbra, 4e-4);
        EXPECT_NEAR(static_cast<double>(r->DurationPen * 60), c.pen, 0.2);
        EXPECT_NEAR(static_cast<double>(r->DurationPar * 60), c.par, 0.2);
        EXPECT_NEAR(static_cast<double>(r->DurationTot * 60), c.tot, 0.2);
        EXPECT_NEAR(static_cast<double>((r->JDE - JD(c.y, c.m, c.d, c.hh, c.mm, c.ss)) * 86400), 0.0, 2.0);
        EXPECT_EQ(r->Saros, c.saros);
        // The quadratics reproduce the Moon's place: RA and Dec within
        // 2" and the distance within 1e-8 AU three hours out.
        SunMoon p = Eph().At(r->JDE + 3.0L / 24);
        long double rm = Norm(p.Moon);
        long double ra = std::atan2(p.Moon.y, p.Moon.x) / kDeg;
        long double dra = std::remainder(ra - (r->RA[0] + 3 * (r->RA[1] + 3 * r->RA[2])), 360.0L);
        EXPECT_LT(std::fabs(static_cast<double>(dra)), 2.0 / 3600);
        EXPECT_NEAR(static_cast<double>(std::asin(p.Moon.z / rm) / kDeg),
                    static_cast<double>(r->DEC[0] + 3 * (r->DEC[1] + 3 * r->DEC[2])), 2.0 / 3600);
        EXPECT_NEAR(static_cast<double>(rm * kEarthRadiusAU),
                    static_cast<double>(r->R[0] + 3 * (r->R[1] + 3 * r->R[2])), 1e-8);
    }
    // The Earth's shadow at greatest eclipse of 2025 Mar 14 (Danjon's rule).
    auto r = ComputeLunarEclipse(Eph(), 311);
    EXPECT_NEAR(static_cast<double>(r->UmbraRadius), 0.6537, 0.00005);
    EXPECT_NEAR(static_cast<double>(r->PenumbraRadius), 1.1899, 0.00005);
    // Moon in the zenith: 3 N, 102 W (canon, whole degrees).
    EXPECT_NEAR(static_cast<double>(r->MELat), 3, 0.5);
    EXPECT_NEAR(static_cast<double>(r->MELon), 102, 0.5);
    // No eclipse at the full Moon of 2024 Apr 23.
    EXPECT_FALSE(ComputeLunarEclipse(Eph(), 300).has_value());
}

TEST(CatalogueNumbers, SarosAndQuincena)
{
    // Canon rows across the span: (lunation, Saros).
    EXPECT_EQ(SolarSaros(-49456), 5);
    EXPECT_EQ(SolarSaros(-49450), 10);
    EXPECT_EQ(SolarSaros(300), 139);
    EXPECT_EQ(LunarSaros(-49456), 17);
    EXPECT_EQ(LunarSaros(-49451), -16);
    EXPECT_EQ(LunarSaros(311), 123);
    EXPECT_EQ(LunationOf(2451550.1L), 0);

    SolarRecord t, a;
    t.Type = 'T';
    a.Type = 'A';
    EXPECT_EQ(QuincenaText(&t, nullptr), "t-");
    EXPECT_EQ(QuincenaText(nullptr, &a), "-a");
    EXPECT_EQ(QuincenaText(nullptr, nullptr), "--");
}
