// The five map projections: published coordinates, round trips, failures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "compute/uProjections.h"

using namespace compute;

namespace {

using TForward = bool (*)(long double, long double, long double&, long double&);

// The conic in the form of the other projections, with the map's
// reference latitude 40 and central meridian 0.
bool ConicForward(long double lat, long double lon, long double& x, long double& y)
{
    return ProjectLambertConic(lat, lon, 40, 0, x, y);
}
bool ConicInverse(long double x, long double y, long double& lat, long double& lon)
{
    return UnprojectLambertConic(x, y, 40, 0, lat, lon);
}

// Restores the start-up set-up of the process-wide projection state.
class Projections : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetConicParallels(40, 68);
        SetAzimuthalCenter(40);
    }
};

} // namespace

TEST_F(Projections, NamesAndNormalization)
{
    EXPECT_STREQ(ProjectionNames[static_cast<int>(prjRobinson)], "Robinson Projection");
    EXPECT_STREQ(ProjectionNames[static_cast<int>(prjPlateCarree)], "Plate Carr\u00E9e Projection");
    EXPECT_STREQ(ProjectionNames[static_cast<int>(prjLambertAzimuthalEqualArea)],
                 "Lambert Azimuthal Equal-Area Projection");
    EXPECT_NEAR(NormalizeDegrees(190), -170, 1e-12L);
    EXPECT_NEAR(NormalizeDegrees(-540.5L), 179.5L, 1e-12L);
}

// Robinson's published table (Snyder, Map Projections - A Working Manual,
// table 32): at longitude 180 the projection gives PLEN and PDFE of the
// parallel itself.
TEST_F(Projections, RobinsonPublishedTable)
{
    const long double rows[][3] = {{0, 1.0000L, 0.0000L},   {20, 0.9822L, 0.2480L},
                                   {45, 0.8962L, 0.5571L},  {55, 0.8350L, 0.6769L},
                                   {85, 0.5722L, 0.9761L},  {90, 0.5322L, 1.0000L},
                                   {-30, 0.9600L, -0.3720L}};
    for (const auto& r : rows) {
        long double x, y;
        ASSERT_TRUE(ProjectRobinson(r[0], 180, x, y));
        EXPECT_NEAR(x, r[1], 1e-12L) << static_cast<double>(r[0]);
        EXPECT_NEAR(y, r[2], 1e-12L) << static_cast<double>(r[0]);
    }
    long double x, y, lat, lon;
    ASSERT_TRUE(ProjectRobinson(45, -90, x, y));
    EXPECT_NEAR(x, -0.4481L, 1e-12L);
    EXPECT_NEAR(y, 0.5571L, 1e-12L);
    ASSERT_TRUE(ProjectRobinson(90, 0, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 1);
    // Between the rows the table is interpolated linearly.
    ASSERT_TRUE(ProjectRobinson(-47.5L, 180, x, y));
    EXPECT_NEAR(x, (0.8962L + 0.8679L) / 2, 1e-12L);
    EXPECT_NEAR(y, -(0.5571L + 0.6176L) / 2, 1e-12L);

    ASSERT_TRUE(UnprojectRobinson(0.6L, 0.5571L, lat, lon));
    EXPECT_NEAR(lat, 45, 1e-12L);
    EXPECT_NEAR(lon, 0.6L * 180 / 0.8962L, 1e-9L);
    EXPECT_FALSE(UnprojectRobinson(0.9L, 0.5571L, lat, lon));   // outside the outline
    EXPECT_FALSE(UnprojectRobinson(0, 1.01L, lat, lon));
    EXPECT_FALSE(ProjectRobinson(95, 0, x, y));
}

TEST_F(Projections, MercatorAndPlateCarree)
{
    long double x, y, lat, lon;
    ASSERT_TRUE(ProjectMercator(45, 90, x, y));
    EXPECT_NEAR(x, 0.5L, 1e-15L);
    EXPECT_NEAR(y, 0.8813736L, 1e-7L);   // ln tan 67.5 degrees
    EXPECT_FALSE(ProjectMercator(90, 0, x, y));
    ASSERT_TRUE(UnprojectMercator(0.25L, 0, lat, lon));
    EXPECT_EQ(lat, 0);
    EXPECT_NEAR(lon, 45, 1e-12L);
    // sinh overflows: a floating-point fault gives false, not an exception.
    EXPECT_FALSE(UnprojectMercator(0, 1e6L, lat, lon));

    ASSERT_TRUE(ProjectPlateCarree(-45, 90, x, y));
    EXPECT_NEAR(x, 0.5L, 1e-15L);
    EXPECT_NEAR(y, -0.5L, 1e-15L);
    EXPECT_FALSE(UnprojectPlateCarree(1.2L, 0, lat, lon));
    EXPECT_FALSE(UnprojectPlateCarree(0, -1.1L, lat, lon));
}

// Snyder's numerical example for the spherical Lambert conformal conic
// (standard parallels 33 and 45 N, origin 23 N 96 W, point 35 N 75 W,
// R = 1): n = 0.6304777, x = 0.2966785, y = 0.2462112.
TEST_F(Projections, LambertConicPublishedExample)
{
    SetConicParallels(33, 45);
    long double x, y, lat, lon;
    ASSERT_TRUE(ProjectLambertConic(35, -75, 23, -96, x, y));
    EXPECT_NEAR(x, 0.2966785L, 1e-7L);
    EXPECT_NEAR(y, 0.2462112L, 1e-7L);
    ASSERT_TRUE(UnprojectLambertConic(x, y, 23, -96, lat, lon));
    EXPECT_NEAR(lat, 35, 1e-10L);
    EXPECT_NEAR(lon, -75, 1e-10L);
}

TEST_F(Projections, LambertConicStartupAndWideMaps)
{
    long double x, y, lat, lon;
    ASSERT_TRUE(ProjectLambertConic(40, 0, 40, 0, x, y));
    EXPECT_NEAR(x, 0, 1e-15L);
    EXPECT_NEAR(y, 0, 1e-15L);
    // More than 90 degrees of cone angle from the central meridian
    // (0.8175 * 150 degrees): the inverse must come back to the point.
    ASSERT_TRUE(ProjectLambertConic(50, 150, 40, 0, x, y));
    ASSERT_TRUE(UnprojectLambertConic(x, y, 40, 0, lat, lon));
    EXPECT_NEAR(lat, 50, 1e-9L);
    EXPECT_NEAR(lon, 150, 1e-9L);
    // The pole opposite the cone's apex lies at infinity.
    EXPECT_FALSE(ProjectLambertConic(-90, 0, 40, 0, x, y));
    // A southern cone (negative n) round-trips as well.
    SetConicParallels(-40, -68);
    ASSERT_TRUE(ProjectLambertConic(-50, -120, -40, 0, x, y));
    ASSERT_TRUE(UnprojectLambertConic(x, y, -40, 0, lat, lon));
    EXPECT_NEAR(lat, -50, 1e-9L);
    EXPECT_NEAR(lon, -120, 1e-9L);
    // A single standard parallel (tangent cone) is a valid set-up.
    SetConicParallels(45, 45);
    ASSERT_TRUE(ProjectLambertConic(60, 30, 45, 0, x, y));
    ASSERT_TRUE(UnprojectLambertConic(x, y, 45, 0, lat, lon));
    EXPECT_NEAR(lat, 60, 1e-9L);
    EXPECT_NEAR(lon, 30, 1e-9L);
}

// Snyder's numerical example for the spherical Lambert azimuthal
// equal-area projection (centre 40 N 100 W, point 20 S 100 E, R = 3):
// x = -4.2339303, y = 4.0257775.
TEST_F(Projections, LambertAzimuthalPublishedExampleAndFailures)
{
    long double x, y, lat, lon;
    ASSERT_TRUE(ProjectLambertAzimuthal(-20, 200, x, y));
    EXPECT_NEAR(3 * x, -4.2339303L, 1e-7L);
    EXPECT_NEAR(3 * y, 4.0257775L, 1e-7L);
    ASSERT_TRUE(UnprojectLambertAzimuthal(x, y, lat, lon));
    EXPECT_NEAR(lat, -20, 1e-9L);
    EXPECT_NEAR(lon, -160, 1e-9L);

    ASSERT_TRUE(ProjectLambertAzimuthal(40, 0, x, y));
    EXPECT_NEAR(x, 0, 1e-15L);
    EXPECT_NEAR(y, 0, 1e-15L);
    EXPECT_FALSE(UnprojectLambertAzimuthal(0, 0, lat, lon));      // the centre itself
    EXPECT_FALSE(UnprojectLambertAzimuthal(2.5L, 0, lat, lon));   // beyond radius 2
    EXPECT_FALSE(ProjectLambertAzimuthal(-40, 180, x, y));        // the antipode
    SetAzimuthalCenter(90);
    ASSERT_TRUE(ProjectLambertAzimuthal(0, 90, x, y));
    EXPECT_NEAR(std::hypot(x, y), std::sqrt(2.0L), 1e-15L);   // the equator from the pole
}

// forward then inverse gives the point back, over a 5-degree grid for
// every projection (the azimuthal centre and its antipode excepted).
TEST_F(Projections, RoundTripsOverTheGlobe)
{
    struct Projection {
        const char* name;
        TForward forward;
        TForward inverse;
    } projections[] = {
        {"Robinson", ProjectRobinson, UnprojectRobinson},
        {"Mercator", ProjectMercator, UnprojectMercator},
        {"PlateCarree", ProjectPlateCarree, UnprojectPlateCarree},
        {"LambertConic", ConicForward, ConicInverse},
        {"LambertAzimuthal", ProjectLambertAzimuthal, UnprojectLambertAzimuthal},
    };
    for (const Projection& p : projections) {
        int checked = 0;
        for (int lat = -85; lat <= 85; lat += 5) {
            for (int lon = -175; lon <= 175; lon += 5) {
                if (std::string(p.name) == "LambertAzimuthal" &&
                    ((lat == 40 && lon == 0) || (lat == -40 && std::abs(lon) >= 170)))
                    continue;
                long double x, y, lat2, lon2;
                ASSERT_TRUE(p.forward(lat, lon, x, y)) << p.name << " " << lat << " " << lon;
                ASSERT_TRUE(p.inverse(x, y, lat2, lon2)) << p.name << " " << lat << " " << lon;
                EXPECT_NEAR(lat2, lat, 1e-8L) << p.name << " " << lat << " " << lon;
                EXPECT_NEAR(lon2, lon, 1e-8L) << p.name << " " << lat << " " << lon;
                ++checked;
            }
        }
        EXPECT_GT(checked, 2400) << p.name;
    }
}
