// The lunar eclipse map of 2025 Mar 14 from the shipped catalogue: the
// seven visibility classes shade their places (the Moon's zenith at
// greatest eclipse, canon 3 N 102 W, sees all of it; its antipode nothing),
// intensity 100 leaves a pixel as it was and 0 makes it black; labels,
// cancelling, and the colour arithmetic of the shading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "MapTestUtil.h"
#include "TestPaths.h"
#include "app/EclipseMap.h"
#include "app/MapColors.h"
#include "app/MapImages.h"
#include "app/MapView.h"
#include "app/SEPaths.h"
#include "chart/PlotUtils.h"
#include "compute/uProjections.h"

using namespace app;
using maptest::PixelAt;

namespace {

class TCancellingHost : public TBasicMapHost {
public:
    int CancelAtMessage = -1;
    int Messages = 0;
    void ProcessMessages() override
    {
        if (Messages++ == CancelAtMessage) SetStatus(stCancel);
    }
};

TMapData SmallMap()
{
    TMapData d = GeneralMapData;
    d.ResourceName = "WORLD_360";
    d.Width = 360;
    d.Height = 180;
    d.X0 = 180;
    d.Y0 = 90;
    d.X1 = 180;
    d.Y1 = 90;
    return d;
}

const std::array<int32_t, 7> Intensities{0, 20, 40, 60, 80, 90, 100};

// The thread count of Prepare that asks for the plain pass.
constexpr int PlainPass = -1;

void Prepare(TEclipseMap& m, const TMapData& data, const compute::TLunarEclipse& lee, bool labels, int threads)
{
    m.MapData = data;
    m.Settings = DefaultMapDrawSettings(data);
    m.Settings.LEShadingIntensity = Intensities;
    m.Settings.Flags[slotLunarLabels] = labels;
    m.ResourceMapMode = ResourceMapModeFor(lee.MELon());
    m.PlainPass = threads == PlainPass;
    m.Threads = std::max(threads, 0);
}

} // namespace

TEST(LunarMap, VisibilityClassesShadeTheirPlaces)
{
    auto lee = maptest::LunarEclipse("2025 Mar 14");
    ASSERT_TRUE(lee);
    EXPECT_NEAR(lee->MELat(), 3, 1);     // canon: 3 N
    EXPECT_NEAR(lee->MELon(), 102, 1);   // canon: 102 W
    TBasicMapHost host;
    TEclipseMap m(&host);
    Prepare(m, GeneralMapData, *lee, false, 0);
    m.CalculateLunarEclipseMap(*lee);
    EXPECT_EQ(host.Status(), stCalculated);
    EXPECT_EQ(m.Heading.Title, "Total Lunar Eclipse of 2025 Mar 14");
    gui::TBitmap clean;
    TMapData d = m.MapData;
    LoadMapPicture(d, m.ResourceMapMode, false, clean);

    // The Moon in the zenith: everything seen, intensity 100, unchanged.
    int x = 0, y = 0;
    ASSERT_TRUE(m.GeoToPixel(3, 102, x, y));
    for (int dx = -3; dx <= 3; ++dx) EXPECT_EQ(PixelAt(m.Map(), x + dx, y), PixelAt(clean, x + dx, y));
    // Its antipode: nothing seen, intensity 0, black.
    ASSERT_TRUE(m.GeoToPixel(-3, -78, x, y));
    for (int dx = -3; dx <= 3; ++dx) EXPECT_EQ(PixelAt(m.Map(), x + dx, y), gui::clBlack);

    // Every pixel of a grid: its grey scaled by its class's intensity.
    std::set<int> indices;
    for (int py = 3; py < m.MapData.Height; py += 17)
        for (int px = 5; px < m.MapData.Width; px += 13) {
            double lat, lon;
            ASSERT_TRUE(m.PixelToGeo(px, py, lat, lon));
            compute::TLELocalCircumstances lc;
            lc.Latitude = lat;
            lc.Longitude = lon;
            lee->LocalCircumstances(lc);
            const int index = lc.Zone <= 6 ? lc.Zone : 12 - lc.Zone;
            indices.insert(index);
            const int before = gui::GetRValue(PixelAt(clean, px, py));
            const int after = gui::GetRValue(PixelAt(m.Map(), px, py));
            EXPECT_NEAR(after, before * Intensities[index] / 100.0, 0.51) << px << " " << py << " class " << lc.Zone;
        }
    EXPECT_EQ(indices.size(), 7u);  // a total eclipse shows all seven
}

TEST(LunarMap, LabelsMarkTheMiddleRowAndTheZenith)
{
    auto lee = maptest::LunarEclipse("2025 Mar 14");
    ASSERT_TRUE(lee);
    TEclipseMap without, with;
    Prepare(without, GeneralMapData, *lee, false, 0);
    Prepare(with, GeneralMapData, *lee, true, 0);
    without.CalculateLunarEclipseMap(*lee);
    with.CalculateLunarEclipseMap(*lee);
    const gui::TColor navy = with.Settings.Colors[slotLunarLabels];
    const int ym = with.MapData.Height / 2;
    int x = 0, y = 0;
    ASSERT_TRUE(with.GeoToPixel(lee->MELat(), lee->MELon(), x, y));
    int framed = 0;
    for (int py = 0; py < with.MapData.Height; ++py)
        for (int px = 0; px < with.MapData.Width; ++px) {
            if (PixelAt(with.Map(), px, py) == PixelAt(without.Map(), px, py)) continue;
            const bool nearRow = std::abs(py - ym) < 30;
            const bool nearMarker = std::abs(py - y) < 30 && px > x - 10 && px < x + 200;
            ASSERT_TRUE(nearRow || nearMarker) << px << " " << py;
            framed += PixelAt(with.Map(), px, py) == navy;
        }
    EXPECT_GT(framed, 12 * 20);  // twelve framed boxes along the row (six changes each side)
    // The cross-hair's blue arms.
    EXPECT_EQ(PixelAt(with.Map(), x - 5, y), gui::clBlue);
    EXPECT_EQ(PixelAt(with.Map(), x + 5, y), gui::clBlue);
}

TEST(LunarMap, FastPassGivesThePlainPassesPixels)
{
    // On maps whose rows are parallels the fast pass computes only the
    // pixels where the visibility may change; every pixel must still be the
    // plain pass's.  Built-in maps, and user maps in Robinson and Mercator.
    auto dir = tectest::ScratchDir("lunar-maps");
    const std::string savedMaps = MapsPath;
    MapsPath = dir.string() + "/";
    {
        gui::TBitmap picture(800, 400);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 800; ++x) picture.ScanLine(y)[3 * x + (x + y) % 3] = static_cast<uint8_t>(x ^ y);
        SavePictureFile(picture, (dir / "user.png").string());
    }
    TMapData robinson, mercator;
    robinson.FileName = mercator.FileName = "user.png";
    robinson.Projection = compute::prjRobinson;
    mercator.Projection = compute::prjMercator;
    robinson.X0 = mercator.X0 = 400;
    robinson.Y0 = mercator.Y0 = 200;
    robinson.X1 = mercator.X1 = 400;
    robinson.Y1 = 200;
    mercator.Y1 = 80;
    mercator.dLon = -20;

    TMapData wider = SmallMap();  // 362 degrees in 360 pixels: both ends show the same longitudes
    wider.X1 = 179;
    struct TCase {
        const char* Eclipse;
        TMapData Map;
    };
    const TCase cases[] = {{"2025 Mar 14", SmallMap()}, {"2025 Mar 14", wider}, {"2025 Sep 07", wider},
                           {"2025 Mar 14", GeneralMapData}, {"2025 Mar 14", robinson},
                           {"2025 Mar 14", mercator}, {"2024 Mar 25", mercator}, {"2025 Sep 07", robinson}};
    for (const TCase& c : cases) {
        auto lee = maptest::LunarEclipse(c.Eclipse);
        ASSERT_TRUE(lee);
        TEclipseMap plain, fast;
        Prepare(plain, c.Map, *lee, true, PlainPass);
        // One thread and several do the same work.
        Prepare(fast, c.Map, *lee, true, c.Map.Width == 360 ? 1 : 6);
        plain.CalculateLunarEclipseMap(*lee);
        fast.CalculateLunarEclipseMap(*lee);
        long long differences = -1;
        EXPECT_TRUE(maptest::SamePixels(plain.Map(), fast.Map(), &differences))
            << c.Eclipse << " " << static_cast<int>(c.Map.Projection) << " " << c.Map.Width << ": " << differences;
        EXPECT_EQ(plain.LastPassRows(), c.Map.ResourceName.empty() ? 400 : c.Map.Height);  // no early end
    }
    MapsPath = savedMaps;
    std::filesystem::remove_all(dir);
}

TEST(LunarMap, CancelRestoresTheCleanMap)
{
    auto lee = maptest::LunarEclipse("2025 Mar 14");
    ASSERT_TRUE(lee);
    gui::TBitmap clean;
    TMapData d = SmallMap();
    LoadMapPicture(d, ResourceMapModeFor(lee->MELon()), false, clean);
    for (int threads : {PlainPass, 1, 6}) {
        TCancellingHost host;
        host.CancelAtMessage = 40;
        TEclipseMap m(&host);
        Prepare(m, SmallMap(), *lee, true, threads);
        m.CalculateLunarEclipseMap(*lee);
        EXPECT_EQ(host.Status(), stCancelled);
        EXPECT_EQ(m.LastPassRows(), 41);
        EXPECT_TRUE(maptest::SamePixels(m.Map(), clean)) << threads;
    }
}

TEST(LunarMap, ZoneLabelsByEclipseType)
{
    std::set<std::string> partial, penumbral;
    for (int zone = 0; zone < 12; ++zone) {
        partial.insert(LunarZoneLabel("P", zone, false));
        penumbral.insert(LunarZoneLabel("N", zone, false));
    }
    EXPECT_EQ(penumbral, (std::set<std::string>{"", "P1", "P4"}));
    EXPECT_EQ(partial, (std::set<std::string>{"", "P1", "P4", "U1", "U4"}));
    EXPECT_EQ(LunarZoneLabel("T", 8, false), "U2");
    EXPECT_EQ(LunarZoneLabel("T", 8, true), "total phase\r\nbegins");
    EXPECT_EQ(LunarZoneLabel("T", 11, true), "penumbral phase\r\nends");
    EXPECT_EQ(ShadingIndex(6), 6);
    EXPECT_EQ(ShadingIndex(7), 5);
    EXPECT_EQ(ShadingIndex(11), 1);
}

TEST(MapColors, ValueScalingKeepsHueAndSaturation)
{
    const gui::TColor orange = gui::RGB(255, 165, 0);
    EXPECT_EQ(ScaleColorValue(orange, 1.0), orange);
    EXPECT_EQ(ScaleColorValue(orange, 0.995), orange);  // within 0.01 of 1: unchanged
    EXPECT_EQ(ScaleColorValue(orange, 0.0), gui::clBlack);
    EXPECT_EQ(ScaleColorValue(gui::RGB(200, 100, 0), 0.5), gui::RGB(100, 50, 0));
    EXPECT_EQ(ScaleColorValue(gui::RGB(200, 200, 200), 0.3), gui::RGB(60, 60, 60));
    double h, s, v;
    chart::RgbToHsv(0, 0, 255, h, s, v);
    EXPECT_DOUBLE_EQ(h, 240);
    EXPECT_DOUBLE_EQ(s, 1);
    EXPECT_DOUBLE_EQ(v, 1);
    chart::RgbToHsv(90, 90, 90, h, s, v);
    EXPECT_EQ(h, -1);
    chart::RgbToHsv(0, 0, 0, h, s, v);
    EXPECT_EQ(h, 0);
    int r, g, b;
    chart::HsvToRgb(400, 1, 1, r, g, b);  // a hue outside [0, 360) counts as 0
    EXPECT_EQ(gui::RGB(r, g, b), gui::clRed);
    chart::HsvToRgb(120, 2, 0.5, r, g, b);  // saturation clamped to 1
    EXPECT_EQ(gui::RGB(r, g, b), gui::RGB(0, 128, 0));
}
