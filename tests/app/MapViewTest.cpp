// Map pixels and places: GeoToPixel / PixelToGeo round trips on the
// built-in maps and on user maps of the five projections, the shifted map's
// centre column, the readout texts under the pointer, the location under a
// click, and the overlay primitives (text box, marker, notice line).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "MapTestUtil.h"
#include "TestPaths.h"
#include "app/EclipseMap.h"
#include "app/MapOverlays.h"
#include "app/MapView.h"
#include "app/ObserverDataLists.h"
#include "compute/AstroMath.h"
#include "compute/uProjections.h"

using namespace app;

namespace {

// User maps: each projection with its own scale, origin and parameters.
struct TUserMap {
    const char* Name;
    TMapData Data;
};

TMapData UserMap(compute::TProjection projection, double dLat, double dLon, double x0, double y0, double x1,
                 double y1, double f1, double f2)
{
    TMapData d;
    d.FileName = "user.png";
    d.Projection = projection;
    d.dLat = dLat;
    d.dLon = dLon;
    d.X0 = x0;
    d.Y0 = y0;
    d.X1 = x1;
    d.Y1 = y1;
    d.F1 = f1;
    d.F2 = f2;
    d.Width = static_cast<int>(2 * x0);
    d.Height = static_cast<int>(2 * y0);
    return d;
}

void SetUpProjection(const TMapData& d)
{
    if (d.Projection == compute::prjLambertConformalConic) compute::SetConicParallels(d.F1, d.F2);
    if (d.Projection == compute::prjLambertAzimuthalEqualArea) compute::SetAzimuthalCenter(d.F1);
}

// Places on land and sea, west positive.
const double Places[][2] = {{0, 0},      {48.86, -2.35},  {40.71, 74.01}, {-33.87, -151.21}, {35.68, -139.69},
                            {-22.91, 43.17}, {64.15, 21.94}, {-54.8, 68.3},  {23.25, 106.41},  {1.29, -103.85}};

} // namespace

TEST(MapView, RoundTripsOnBuiltInAndUserMaps)
{
    const TUserMap maps[] = {
        {"WORLD_0", StandardMapData},
        {"WORLD_1", GeneralMapData},
        {"shifted WORLD_1", [] { TMapData d = GeneralMapData; d.dLon = 120; return d; }()},
        {"Robinson", UserMap(compute::prjRobinson, 0, 10, 1000, 520, 1000 / 0.8487, 500, 0, 0)},
        {"Mercator", UserMap(compute::prjMercator, 0, -20, 800, 800, 800, 800 / 3.2, 0, 0)},
        {"plate carree", UserMap(compute::prjPlateCarree, 0, 0, 360, 180, 360, 180, 0, 0)},
        {"Lambert conic", UserMap(compute::prjLambertConformalConic, 45, -10, 900, 700, 700, 700, 35, 60)},
        {"Lambert azimuthal", UserMap(compute::prjLambertAzimuthalEqualArea, 0, -15, 600, 600, 400, 400, 50, 0)},
    };
    for (const TUserMap& m : maps) {
        SetUpProjection(m.Data);
        int mapped = 0;
        for (const auto& place : Places) {
            int x = 0, y = 0;
            if (!GeoToPixel(m.Data, place[0], place[1], x, y)) continue;
            if (x < 0 || y < 0 || x >= m.Data.Width || y >= m.Data.Height) continue;
            ++mapped;
            double lat = 0, lon = 0;
            ASSERT_TRUE(PixelToGeo(m.Data, x, y, lat, lon)) << m.Name << " " << place[0] << " " << place[1];
            // Back within the pixel's own extent (half a pixel in plane units).
            int x2 = 0, y2 = 0;
            ASSERT_TRUE(GeoToPixel(m.Data, lat, lon, x2, y2)) << m.Name;
            EXPECT_LE(std::abs(x2 - x), 1) << m.Name << " " << place[0] << " " << place[1];
            EXPECT_LE(std::abs(y2 - y), 1) << m.Name << " " << place[0] << " " << place[1];
            // And the place lies within a few pixels' worth of degrees.
            const double degPerPixel = 180.0 / m.Data.Y1 + 360.0 / m.Data.X1;
            EXPECT_NEAR(lat, place[0], 2 * degPerPixel + 0.05) << m.Name;
            const double dLon = std::fabs(std::remainder(lon - place[1], 360.0));
            EXPECT_LT(dLon * std::cos(place[0] * M_PI / 180), 2 * degPerPixel + 0.05) << m.Name;
        }
        EXPECT_GE(mapped, 3) << m.Name;
    }
    compute::SetConicParallels(40, 68);
    compute::SetAzimuthalCenter(40);
}

TEST(MapView, PlateCarreeLaysOutThePublishedGrid)
{
    // The general map: 0/0 at the centre, west to the left, 180 W at column 0.
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(GeneralMapData, 0, 0, x, y));
    EXPECT_EQ(x, 960);
    EXPECT_EQ(y, 480);
    ASSERT_TRUE(GeoToPixel(GeneralMapData, 45, 90, x, y));
    EXPECT_EQ(x, 480);
    EXPECT_EQ(y, 240);
    ASSERT_TRUE(GeoToPixel(GeneralMapData, -45, -90, x, y));
    EXPECT_EQ(x, 1440);
    EXPECT_EQ(y, 720);
    // Outside the plane: no place.
    double lat, lon;
    EXPECT_FALSE(PixelToGeo(GeneralMapData, 960, -10, lat, lon));
}

// The map passes read places from row and column tables on the plate
// carree: every pixel (and a margin outside the bitmap) must read what
// PixelToGeo gives, bit for bit, on the built-in maps, shifted or not, on
// user maps wider than the world or off-centre, and through PixelToGeo on
// other projections.
TEST(MapView, PixelPlacesGivePixelToGeosPlacesBitForBit)
{
    TMapData shifted = StandardMapData;
    shifted.dLon = 120;
    TMapData wide = UserMap(compute::prjPlateCarree, 0, -35.5, 700.5, 333.25, 610.3, 299.7, 0, 0);
    wide.Width = 1500;
    wide.Height = 700;
    const TMapData robinson = UserMap(compute::prjRobinson, 0, 10, 400, 200, 380, 190, 0, 0);
    for (const TMapData& map : {GeneralMapData, StandardMapData, shifted, wide, robinson}) {
        const TPixelPlaces places(map);
        long long outside = 0;
        for (int y = -2; y < map.Height + 2; ++y)
            for (int x = -2; x < map.Width + 2; ++x) {
                double lat1 = 1, lon1 = 1, lat2 = 2, lon2 = 2;
                const bool ok1 = PixelToGeo(map, x, y, lat1, lon1);
                const bool ok2 = places.Place(x, y, lat2, lon2);
                ASSERT_EQ(ok1, ok2) << x << " " << y;
                ASSERT_EQ(lat1, lat2) << x << " " << y;
                ASSERT_EQ(lon1, lon2) << x << " " << y;
                outside += !ok1;
            }
        EXPECT_GT(outside, 0);  // the edges were tried
    }
}

TEST(MapView, ShiftedBuiltInMapReads120WestAtItsCentreColumn)
{
    for (const TMapData& base : {GeneralMapData, StandardMapData}) {
        TEclipseMap m;
        m.MapData = base;
        m.ResourceMapMode = rmm120W;
        m.LoadMap();
        EXPECT_EQ(m.MapData.dLon, 120);
        const int centre = m.MapData.Width / 2;
        double lat = 0, lon = 0;
        ASSERT_TRUE(m.PixelToGeo(centre, m.MapData.Height / 2, lat, lon));
        EXPECT_NEAR(lon, 120, 0.1);
        EXPECT_NEAR(lat, 0, 0.1);
        int x = 0, y = 0;
        ASSERT_TRUE(m.GeoToPixel(0, 120, x, y));
        EXPECT_NEAR(x, centre, 1);

        m.ResourceMapMode = rmm120E;
        m.LoadMap();
        ASSERT_TRUE(m.PixelToGeo(centre, m.MapData.Height / 2, lat, lon));
        EXPECT_NEAR(lon, -120, 0.1);
    }
}

TEST(MapView, LocationUnderAClickIsTheFirstWithinThreePixels)
{
    TObserverDataList list;
    auto add = [&](const char* place, double lat, double lon) {
        auto* o = new TObserverData;
        o->SetPlace(place);
        o->SetGeoLatitude(compute::DegToRadians(lat));
        o->SetGeoLongitude(compute::DegToRadians(lon));
        list.Add(o);
    };
    add("Far away (X)", -40, -100);
    add("First (Y)", 10, 10);
    add("Second (Y)", 10.05, 10.05);  // 0.15 pixel from the first on the general map
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(GeneralMapData, 10, 10, x, y));
    EXPECT_EQ(FindLocationAt(GeneralMapData, list, x + 2, y + 2), 1);  // distance 2.83
    EXPECT_EQ(FindLocationAt(GeneralMapData, list, x + 3, y + 0), 1);  // distance 3
    EXPECT_EQ(FindLocationAt(GeneralMapData, list, x + 3, y + 3), -1);
}

TEST(MapView, SolarReadoutInThePathAndOutsideTheProjection)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    // Dallas, 32.7767 N 96.7970 W: published maximum at 18:42:38 UT, in the path.
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(StandardMapData, 32.7767, 96.7970, x, y));
    TMapReadout r = SolarReadout(StandardMapData, *see, x, y);
    EXPECT_NE(r.Position.find(" W, "), std::string::npos) << r.Position;
    EXPECT_NE(r.Position.find(" N"), std::string::npos) << r.Position;
    for (int i = 0; i < 5; ++i) EXPECT_NE(r.Values[i], "---") << i;
    EXPECT_EQ(r.Values[5], "---");
    const int hh = std::atoi(r.Values[2].substr(0, 2).c_str()), mm = std::atoi(r.Values[2].substr(3, 2).c_str());
    EXPECT_NEAR(hh * 60 + mm, 18 * 60 + 42.6, 1.0) << r.Values[2];
    EXPECT_NE(r.Values[2].find(" UT, 1.0"), std::string::npos) << r.Values[2];  // magnitude above 1
    ASSERT_EQ(r.Bars.size(), 5u);

    // The antipode sees nothing.
    ASSERT_TRUE(GeoToPixel(StandardMapData, -32.7767, -83.2030, x, y));
    r = SolarReadout(StandardMapData, *see, x, y);
    EXPECT_EQ(r.Values[2], "no eclipse visible");
    EXPECT_TRUE(r.Bars.empty());

    // Beyond the outline of a Robinson map: nothing at all, the chart is kept.
    const TMapData robinson = UserMap(compute::prjRobinson, 0, 0, 1000, 520, 1000 / 0.8487, 500, 0, 0);
    r = SolarReadout(robinson, *see, 2, 2);
    EXPECT_EQ(r.Position, "---");
    for (const std::string& v : r.Values) EXPECT_EQ(v, "---");
    EXPECT_FALSE(r.ChartCleared);
}

TEST(MapView, LunarReadoutShowsTheContactsOfTheEclipseType)
{
    auto total = maptest::LunarEclipse("2025 Mar 14");
    auto penumbral = maptest::LunarEclipse("2024 Mar 25");
    ASSERT_TRUE(total && penumbral);
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(GeneralMapData, total->MELat(), total->MELon(), x, y));
    TMapReadout r = LunarReadout(GeneralMapData, *total, x, y);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NE(r.Values[i], "---") << i;
        EXPECT_FALSE(r.Grey[i]) << i;  // the Moon stands high all eclipse long
    }
    r = LunarReadout(GeneralMapData, *penumbral, x, y);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(r.Values[i] == "---", i != 0 && i != 3 && i != 6) << i;
    EXPECT_EQ(r.Bars.size(), 3u);
}

TEST(MapOverlays, TextBoxAlignsItsEdgesOnThePoint)
{
    gui::TBitmap bmp(200, 100);
    gui::TCanvas& c = *bmp.Canvas();
    c.Font()->SetColor(gui::clNavy);
    DrawTextBox(c, 150, 80, "P1", 2, 2, false);  // right and bottom edges on (150, 80)
    EXPECT_EQ(maptest::PixelAt(bmp, 149, 79), gui::clNavy);
    EXPECT_EQ(maptest::PixelAt(bmp, 150, 79), gui::clWhite);
    EXPECT_EQ(maptest::PixelAt(bmp, 149, 80), gui::clWhite);
    DrawTextBox(c, 20, 10, "P1\r\nP4", 0, 0, false);  // left and top edges on (20, 10)
    EXPECT_EQ(maptest::PixelAt(bmp, 20, 10), gui::clNavy);
    EXPECT_EQ(maptest::PixelAt(bmp, 19, 10), gui::clWhite);
    const int h = 2 * c.TextHeight("P1\r\nP4") + 4;  // two lines
    EXPECT_EQ(maptest::PixelAt(bmp, 20, 10 + h - 1), gui::clNavy);
    EXPECT_EQ(maptest::PixelAt(bmp, 20, 10 + h), gui::clWhite);
}

TEST(MapOverlays, NoMarkerMeansNothingInTheCorner)
{
    TEclipseMap m;
    m.LoadMap();
    gui::TBitmap target(m.MapData.Width, m.MapData.Height);
    m.PaintMap(*target.Canvas(), nullptr);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(maptest::PixelAt(target, x, y), maptest::PixelAt(m.Map(), x, y));
    m.MarkerPos = {100, 100};
    m.PaintMap(*target.Canvas(), nullptr);
    EXPECT_EQ(maptest::PixelAt(target, 92, 92), gui::clWhite);  // the marker's corner
    EXPECT_EQ(maptest::PixelAt(target, 93, 93), gui::clRed);
}

TEST(MapOverlays, NoticeLineShrinksToAFloorAndIsClippedOnANarrowMap)
{
    TMapData narrow = GeneralMapData;
    narrow.Width = 120;
    narrow.Height = 60;
    TMapDrawSettings settings = DefaultMapDrawSettings(narrow);
    TOverlayContext ctx;
    ctx.Map = &narrow;
    ctx.Settings = &settings;
    ctx.Notices = SolarNotices;
    gui::TBitmap bmp(120, 60);
    DrawNotice(*bmp.Canvas(), ctx);  // ends, however narrow the map
    EXPECT_EQ(bmp.Canvas()->Font()->Size(), MinNoticeFontSize);

    // On the general map the line fits within the width minus 16 pixels.
    TMapData wide = GeneralMapData;
    gui::TBitmap big(wide.Width, wide.Height);
    ctx.Map = &wide;
    DrawNotice(*big.Canvas(), ctx);
    const std::string text = ctx.Notices + " Map source: " + wide.Source + ".";
    EXPECT_LE(big.Canvas()->TextWidth(text), wide.Width - 16);
    EXPECT_GE(big.Canvas()->Font()->Size(), MinNoticeFontSize);
}

TEST(MapOverlays, InfoBoxStandsInItsCornerOnBothMapSizes)
{
    TEclipseHeading heading{"Total Solar Eclipse of 2024 Apr 08", "0.3431", "1.0566", "139", "300", "0:01:14", ""};
    for (const TMapData& map : {GeneralMapData, StandardMapData}) {
        TMapDrawSettings settings = DefaultMapDrawSettings(map);
        TOverlayContext ctx;
        ctx.Map = &map;
        ctx.Settings = &settings;
        ctx.Heading = &heading;
        for (TInfoPosition pos : {ipTopLeft, ipTopCenter, ipBottomRight}) {
            settings.InfoPosition = pos;
            gui::TBitmap bmp(map.Width, map.Height);
            DrawInfoBox(*bmp.Canvas(), ctx);
            const gui::TColor frame = settings.Colors[slotInfo];
            if (pos == ipTopLeft) { EXPECT_EQ(maptest::PixelAt(bmp, 15, 15), frame); }
            if (pos == ipTopCenter) {
                EXPECT_EQ(maptest::PixelAt(bmp, 15, 15), gui::clWhite);
                EXPECT_EQ(maptest::PixelAt(bmp, map.Width / 2, 15), frame);
            }
            if (pos == ipBottomRight) {
                // The right edge 15 pixels from the map's edge, the bottom 50 above it.
                EXPECT_EQ(maptest::PixelAt(bmp, map.Width - 16, map.Height - 51), frame);
                EXPECT_EQ(maptest::PixelAt(bmp, map.Width - 15, map.Height - 51), gui::clWhite);
            }
        }
    }
}

TEST(MapView, AltitudeChartBarsPointByTheSunsAltitude)
{
    auto see = maptest::SolarEclipse("2024 Apr 08");
    ASSERT_TRUE(see);
    // Dallas: the Sun high all eclipse long; white bars to the right.
    int x = 0, y = 0;
    ASSERT_TRUE(GeoToPixel(StandardMapData, 32.7767, 96.7970, x, y));
    TMapReadout r = SolarReadout(StandardMapData, *see, x, y);
    const gui::TColor panel = gui::RGB(240, 240, 240);
    gui::TBitmap chart(120, 92);
    DrawAltitudeChart(*chart.Canvas(), 120, 92, panel, false, r);
    for (int i = 0; i < 5; ++i) {
        const int len = static_cast<int>(std::lround(r.Bars[i].Altitude * 0.33));
        EXPECT_EQ(maptest::PixelAt(chart, 61, 15 * i + 20), gui::clWhite) << i;
        EXPECT_EQ(maptest::PixelAt(chart, 62 + len, 15 * i + 20), panel) << i;
        EXPECT_EQ(maptest::PixelAt(chart, 57, 15 * i + 20), panel) << i;
    }
    // A place where the eclipse begins before sunrise: a grey first bar to the left.
    // Westward along 10 N from 150 W, the first such place.
    bool found = false;
    for (double lon = 150; lon < 180 && !found; lon += 0.5) {
        ASSERT_TRUE(GeoToPixel(StandardMapData, 10, lon, x, y));
        r = SolarReadout(StandardMapData, *see, x, y);
        found = !r.Bars.empty() && r.Bars[0].Altitude < -1;
    }
    ASSERT_TRUE(found);
    EXPECT_TRUE(r.Grey[0]);
    DrawAltitudeChart(*chart.Canvas(), 120, 92, panel, false, r);
    EXPECT_EQ(maptest::PixelAt(chart, 58, 20), gui::clGray);
    EXPECT_EQ(maptest::PixelAt(chart, 62, 20), panel);
    EXPECT_EQ(PrintMapProgressCaption(1, 3), "Printing the map - 33%");
}
