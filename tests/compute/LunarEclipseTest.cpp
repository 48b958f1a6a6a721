// Lunar eclipses: catalogue row, contacts from the catalogue durations,
// the Moon's horizon coordinates at a place and the visibility zones.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "CanonEclipses.h"
#include "compute/AstroBase.h"
#include "compute/DatesAndTimes.h"
#include "compute/LunarEclipses.h"

using namespace compute;
using tectest::JD;

namespace {

constexpr long double Deg = 0.017453292519943295769L;

long double Seconds(long double days) { return days * 86400; }

struct TLoadedLunar {
    explicit TLoadedLunar(const tectest::TLunarRow& row) { tectest::ReadRow(LE, row); }
    TLunarEclipse LE;
};

TLELocalCircumstances At(const TLunarEclipse& le, long double lat, long double lon)
{
    TLELocalCircumstances lc;
    lc.Latitude = lat;
    lc.Longitude = lon;
    EXPECT_TRUE(le.LocalCircumstances(lc));
    return lc;
}

// Azimuth (from the south, westward) and topocentric altitude of the Moon
// by vectors: the Moon's geocentric position minus the observer's on a
// unit sphere, resolved along the local vertical, north and east.
void HorizonByVectors(long double raDeg, long double decDeg, long double rAU, long double gmstHours,
                      long double latDeg, long double lonWestDeg, long double& azimuth,
                      long double& altitude)
{
    const long double r = rAU / 4.26345e-5L;   // Earth radii
    const long double a = raDeg * Deg, d = decDeg * Deg;
    const long double theta = (gmstHours * 15 - lonWestDeg) * Deg, phi = latDeg * Deg;
    const long double m[3] = {r * std::cos(d) * std::cos(a), r * std::cos(d) * std::sin(a), r * std::sin(d)};
    const long double up[3] = {std::cos(phi) * std::cos(theta), std::cos(phi) * std::sin(theta), std::sin(phi)};
    const long double north[3] = {-std::sin(phi) * std::cos(theta), -std::sin(phi) * std::sin(theta),
                                  std::cos(phi)};
    const long double east[3] = {-std::sin(theta), std::cos(theta), 0};
    const long double t[3] = {m[0] - up[0], m[1] - up[1], m[2] - up[2]};
    auto dot = [](const long double* p, const long double* q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; };
    altitude = std::asin(dot(t, up) / std::sqrt(dot(t, t))) / Deg;
    long double fromNorth = std::atan2(dot(t, east), dot(t, north)) / Deg;
    azimuth = fromNorth - 180;
    if (azimuth < -180)
        azimuth += 360;
}

} // namespace

TEST(LunarEclipse, ReadsTheCatalogueRow)
{
    TLoadedLunar e(tectest::Lunar20250314());
    const TLunarEclipse& le = e.LE;
    EXPECT_EQ(le.CatNo(), 9706);
    EXPECT_EQ(le.Saros(), 123);
    EXPECT_EQ(le.Lunation(), 311);
    EXPECT_EQ(le.DT(), "2025 Mar 14");
    EXPECT_EQ(le.EclipseType(), "T");
    EXPECT_EQ(le.QSE(), "-p");
    EXPECT_DOUBLE_EQ(le.Gamma(), 0.3484);
    EXPECT_DOUBLE_EQ(le.MagUmbra(), 1.1784);
    EXPECT_DOUBLE_EQ(le.DurationTotal(), static_cast<double>(65.4L / 60));
    EXPECT_DOUBLE_EQ(le.deltaT(), static_cast<double>(DeltaT(le.JD())));
    EXPECT_NEAR(le.ddt(), 75.0 / 86400 - le.deltaT(), 1e-15);
    EXPECT_NEAR(le.MELon(), 102 + 360 * le.ddt(), 1e-9);
    EXPECT_EQ(le.MELat(), 3);
    EXPECT_NEAR(le.DEC(2), 3 - 0.5L, 1e-12L);
    EXPECT_NEAR(le.R(-1), 0.00244L, 1e-15L);
}

// Contacts = greatest eclipse -+ half the catalogue durations, minus delta
// T: P1 03:57:23, U1 05:09:32, U2 06:25:59, U3 07:31:23, U4 08:47:50,
// P4 09:59:59 UT with delta T 75 s.  The program's own delta T for 2025
// is 75.2 s, hence one second.
TEST(LunarEclipse, ContactsOf20250314FromCatalogueDurations)
{
    TLoadedLunar e(tectest::Lunar20250314());
    const TLELocalCircumstances lc = At(e.LE, 48.14L, -11.58L);
    const long double expected[7] = {JD(2025, 3, 14, 3, 57, 23), JD(2025, 3, 14, 5, 9, 32),
                                     JD(2025, 3, 14, 6, 25, 59), JD(2025, 3, 14, 6, 59, 56) - 75.0L / 86400,
                                     JD(2025, 3, 14, 7, 31, 23), JD(2025, 3, 14, 8, 47, 50),
                                     JD(2025, 3, 14, 9, 59, 59)};
    for (int i = 0; i < 7; ++i)
        EXPECT_NEAR(Seconds(lc.JD[i] - expected[i]), 0, 1.0L) << "contact " << i;
    EXPECT_NEAR(Seconds(e.LE.Contact(0).JD - e.LE.JD()), -362.6L / 2 * 60, 1e-3L);
}

TEST(LunarEclipse, PenumbralEclipseHasThreeContacts)
{
    tectest::TLunarRow row = tectest::Lunar20250314();
    row.Type = "N";
    row.DurationPar = 0;
    row.DurationTot = 0;
    TLoadedLunar e(row);
    // Seen from the sub-lunar point the Moon stays up all night.
    const TLELocalCircumstances lc = At(e.LE, 3, 102);
    for (int i : {1, 2, 4, 5}) {
        EXPECT_EQ(lc.JD[i], 0) << i;
        EXPECT_EQ(lc.State & (1 << i), 0) << i;
        EXPECT_EQ(lc.Moon[i][1], 0) << i;
    }
    EXPECT_EQ(lc.State, 1 | 8 | 64);
    EXPECT_EQ(lc.Zone, 6);
}

// The Moon's horizon coordinates at every contact for a few places,
// against the vector computation above.  The spherical-Earth parallax in
// altitude is exact for sin p = (a/r) cos h' with the topocentric
// altitude h'; the catalogue method puts the geocentric altitude there,
// which differs by less than (a/r)^2 = 3e-4 rad, hence 0.02 degree.
TEST(LunarEclipse, HorizonCoordinatesAgreeWithVectorComputation)
{
    TLoadedLunar e(tectest::Lunar20250314());
    const long double places[][2] = {{48.14L, -11.58L}, {40.71L, 74.01L}, {-33.87L, -151.21L},
                                     {3, 102}, {-60, 30}, {70, 150}};
    for (const auto& p : places) {
        const TLELocalCircumstances lc = At(e.LE, p[0], p[1]);
        for (int i = 0; i < 7; ++i) {
            const TLunarContact& c = e.LE.Contact(i);
            const long double T = (c.JD - e.LE.JD()) * 24;
            long double az, alt;
            HorizonByVectors(e.LE.RA(T), e.LE.DEC(T), e.LE.R(T), GreenwichSiderealTime(lc.JD[i]),
                             p[0], p[1], az, alt);
            EXPECT_NEAR(lc.Moon[i][1], alt, 0.02L) << static_cast<double>(p[0]) << " contact " << i;
            if (std::fabs(alt) < 89) {   // the azimuth is undefined in the zenith
                EXPECT_NEAR(std::remainder(lc.Moon[i][0] - az, 360.0L), 0, 1e-6L)
                    << static_cast<double>(p[0]) << " contact " << i;
            }
            EXPECT_EQ(lc.Moon[i][2], 0);
            EXPECT_EQ((lc.State >> i) & 1, lc.Moon[i][1] > 0 ? 1 : 0);
        }
    }
}

TEST(LunarEclipse, ZenithAntipodeAndAzimuthConvention)
{
    TLoadedLunar e(tectest::Lunar20250314());
    // The sub-lunar point at greatest eclipse (the catalogue's 75 s delta
    // T against the program's 75.2 s turns the Earth by 0.001 degree).
    TLELocalCircumstances lc = At(e.LE, 3, 102);
    EXPECT_NEAR(lc.Moon[3][1], 90, 0.01L);
    EXPECT_EQ(lc.State, 127);
    EXPECT_EQ(lc.Zone, 6);
    lc = At(e.LE, -3, -78);
    EXPECT_NEAR(lc.Moon[3][1], -90, 0.01L);
    EXPECT_EQ(lc.State, 0);
    EXPECT_EQ(lc.Zone, 0);
    // On the same meridian further north the Moon stands due south,
    // further south due north; 60 degrees east of the meridian it is in
    // the west (azimuth +90 side), 60 degrees west of it in the east.  The
    // meridian is off by the same 0.001 degree of Earth rotation.
    EXPECT_NEAR(At(e.LE, 50, 102).Moon[3][0], 0, 0.01L);
    EXPECT_NEAR(std::fabs(At(e.LE, -50, 102).Moon[3][0]), 180, 0.01L);
    EXPECT_GT(At(e.LE, 3, 42).Moon[3][0], 45);
    EXPECT_LT(At(e.LE, 3, 162).Moon[3][0], -45);
    // Geocentric altitude 0 (90 degrees from the sub-lunar point along the
    // equator): the parallax puts the Moon asin(a/r) = 1.0 degree below.
    const long double parallax = std::asin(4.26345e-5L / 0.00244L) / Deg;
    EXPECT_NEAR(At(e.LE, 0, 12).Moon[3][1], -parallax, 0.06L);
}

// The visibility classes of every State for each eclipse type, as the
// lunar map shades them.
// The State alone, for many places of one latitude, must be the full
// solve's bit for bit: over the globe (poles, date line, both horizons of
// every contact) for a total, a partial and a penumbral eclipse.
TEST(LunarEclipse, StateAloneIsTheFullSolvesState)
{
    tectest::TLunarRow partial = tectest::Lunar20250314("P"), penumbral = tectest::Lunar20250314("N");
    partial.DurationTot = 0;
    penumbral.DurationPar = penumbral.DurationTot = 0;
    for (const tectest::TLunarRow& row : {tectest::Lunar20250314(), partial, penumbral}) {
        TLoadedLunar e(row);
        std::set<int> states;
        for (long double lat = -90; lat <= 90; lat += 0.71L) {
            TLunarEclipse::TLELatitude terms;
            e.LE.PrepareLatitude(lat, terms);
            for (long double lon = -180; lon <= 180; lon += 0.53L) {
                const TLELocalCircumstances lc = At(e.LE, lat, lon);
                ASSERT_EQ(e.LE.LocalState(terms, lon), lc.State) << lat << " " << lon;
                states.insert(lc.State);
            }
        }
        EXPECT_GT(states.size(), 6u);  // the horizons of the contacts were crossed
    }
}

TEST(LunarEclipse, VisibilityZoneTable)
{
    const std::map<std::string, std::map<int, std::vector<int>>> table = {
        {"T",
         {{1, {1, 65}},
          {2, {2, 3, 67, 99}},
          {3, {4, 6, 7, 8, 12, 14, 15, 71, 79, 103, 111}},
          {4, {28, 30, 31, 60, 95}},
          {5, {62, 63}},
          {6, {119, 127}},
          {7, {126}},
          {8, {124, 125}},
          {9, {16, 24, 48, 56, 112, 113, 115, 120, 121, 123}},
          {10, {32, 96, 97}},
          {11, {64}}}},
        {"P",
         {{1, {1, 65}},
          {2, {2, 3, 10, 11, 67, 75, 99}},
          {5, {42, 43}},
          {6, {107}},
          {7, {106}},
          {10, {32, 40, 96, 97, 104, 105}},
          {11, {64}}}},
        {"N", {{1, {1, 8, 9, 65}}, {6, {73}}, {11, {64, 72}}}},
    };
    for (const std::string type : {"T", "P", "N", "X"}) {
        tectest::TLunarRow row = tectest::Lunar20250314();
        row.Type = type;
        TLoadedLunar e(row);
        std::map<int, int> expected;
        if (table.count(type))
            for (const auto& [zone, states] : table.at(type))
                for (int s : states)
                    expected[s] = zone;
        for (int state = 0; state < 128; ++state) {
            const int zone = expected.count(state) ? expected[state] : 0;
            EXPECT_EQ(e.LE.LunarVisibilityZone(state), zone) << type << " state " << state;
        }
    }
}
