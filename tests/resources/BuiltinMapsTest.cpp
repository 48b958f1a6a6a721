// The built-in world maps: embedded PNGs of the right size and kind, whose
// land, water and coasts sit where the map records' projection puts them.
// Places are published coordinates (degrees, longitude west positive),
// projected with the program's plate carrée into (u, v) and placed as the map
// does: pixel x = round(X0 - u X1), y = round(Y0 - v Y1).

#include "resources/BuiltinMaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "compute/uProjections.h"
#include "platform/rtl/Resources.h"
#include "tools/worldmaps/PaletteImage.h"

using rtl::FindResource;
using rtl::TResourceType;
using worldmaps::TPaletteImage;

namespace {

const TBuiltinMap* const AllMaps[] = {&StandardWorldMap, &GeneralWorldMap, &PreviewWorldMap};

const TPaletteImage& Picture(const TBuiltinMap& map)
{
    static std::map<std::string, TPaletteImage> cache;
    auto it = cache.find(map.ResourceName);
    if (it == cache.end()) {
        const rtl::TResource* r = FindResource(map.ResourceName, TResourceType::PNG);
        if (!r)
            throw std::runtime_error(std::string("no resource ") + map.ResourceName);
        it = cache.emplace(map.ResourceName, worldmaps::DecodePng(r->Data, r->Size)).first;
    }
    return it->second;
}

struct TPixel {
    int X, Y;
};

TPixel Project(const TBuiltinMap& map, double lat, double lonWest)
{
    long double u = 0, v = 0;
    EXPECT_TRUE(compute::ProjectPlateCarree(lat, compute::NormalizeDegrees(lonWest - map.dLon), u, v));
    return {static_cast<int>(std::lround(map.X0 - u * map.X1)),
            static_cast<int>(std::lround(map.Y0 - v * map.Y1))};
}

enum class TKind { Water, Land, Line, Other };

const char* KindName(TKind k)
{
    switch (k) {
    case TKind::Water: return "water";
    case TKind::Land: return "land";
    case TKind::Line: return "coast or border";
    default: return "other";
    }
}

// Water is near white, land light grey, coasts and borders mid grey; the
// anti-aliased edges of the lines give the greys in between ("other").
TKind Kind(const TPaletteImage& image, int x, int y)
{
    const auto& c = image.ColourAt(x, y);
    if (c.R != c.G || c.G != c.B)
        return TKind::Other;
    if (c.R >= 245)
        return TKind::Water;
    if (c.R >= 214 && c.R <= 222)
        return TKind::Land;
    if (c.R < 200)
        return TKind::Line;
    return TKind::Other;
}

struct TPlace {
    const char* Name;
    double Lat, LonWest;
};

// Capitals well inside their countries: the pixel and its neighbours are land.
const TPlace Capitals[] = {
    {"Madrid", 40.4168, 3.7038},        {"Paris", 48.8566, -2.3522},
    {"Moscow", 55.7558, -37.6173},      {"Beijing", 39.9042, -116.4074},
    {"Brasilia", -15.7939, 47.8828},    {"Nairobi", -1.2921, -36.8219},
    {"Canberra", -35.2809, -149.1300},  {"Mexico City", 19.4326, 99.1332},
    {"Tehran", 35.6892, -51.3890},      {"Ulaanbaatar", 47.8864, -106.9057},
    {"Bogota", 4.7110, 74.0721},        {"Ankara", 39.9334, -32.8597},
    {"Addis Ababa", 9.0300, -38.7400},  {"Riyadh", 24.7136, -46.6753},
};

// Capes and coastal points, with the direction of the open sea in pixels
// (x to the right = east, y down = south).
struct TCoastPoint {
    const char* Name;
    double Lat, LonWest;
    int SeaDx, SeaDy;
};

const TCoastPoint CoastPoints[] = {
    {"Cabo da Roca", 38.7808, 9.5006, -1, 0},
    {"Cape Agulhas", -34.8328, -20.0033, 0, 1},
    {"Ponta do Seixas", -7.1578, 34.7928, 1, 0},
    {"Cape Byron", -28.6375, -153.6372, 1, 0},
    {"Punta Gallinas", 12.4583, 71.6667, 0, -1},
    {"Cape Comorin", 8.0780, -77.5410, 0, 1},
    {"Dondra Head", 5.9219, -80.5897, 0, 1},
    {"Punta Parinas", -4.6825, 81.3281, -1, 0},
};

// Open water far from any coast.
const TPlace OpenSea[] = {
    {"Gulf of Guinea", 0, 0},          {"North Pacific", 30, 150},
    {"South Pacific", -30, -180},      {"Indian Ocean", -20, -75},
    {"North Atlantic", 40, 40},        {"Arctic Ocean, at the pole", 90, 0},
};

} // namespace

TEST(BuiltinMaps, ResourcesArePalettePngsOfTheRecordedSize)
{
    for (const TBuiltinMap* map : AllMaps) {
        SCOPED_TRACE(map->ResourceName);
        const rtl::TResource* r = FindResource(map->ResourceName, TResourceType::PNG);
        ASSERT_NE(r, nullptr);
        std::string lower = map->ResourceName;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(FindResource(lower, TResourceType::PNG), r);
        // Also raw data, for loaders that look there; the same bytes.
        const rtl::TResource* raw = FindResource(map->ResourceName, TResourceType::RCData);
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(raw->Data, r->Data);

        worldmaps::TPngInfo info;
        TPaletteImage image = worldmaps::DecodePng(r->Data, r->Size, &info);
        EXPECT_EQ(info.ColourType, 3);  // palette
        EXPECT_EQ(info.BitDepth, 8);
        EXPECT_EQ(image.Width, map->Width);
        EXPECT_EQ(image.Height, map->Height);
        for (const auto& c : image.Palette)
            EXPECT_TRUE(c.R == c.G && c.G == c.B) << "not grey";

        // The embedded bytes are the shipped file's.
        std::ifstream in(std::string(TEC_SOURCE_DIR) + "/resources/maps/" + map->ResourceName + ".png",
                         std::ios::binary);
        std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(r->Text(), file);
    }
}

TEST(BuiltinMaps, RecordsMatchTheirPictures)
{
    EXPECT_STREQ(StandardWorldMap.ResourceName, "WORLD_0");
    EXPECT_STREQ(GeneralWorldMap.ResourceName, "WORLD_1");
    EXPECT_STREQ(PreviewWorldMap.ResourceName, "WORLD_360");
    for (const TBuiltinMap* map : AllMaps) {
        SCOPED_TRACE(map->ResourceName);
        EXPECT_EQ(map->Projection, 2);
        // Longitude 0 on the centre column, 180 degrees at the edges.
        EXPECT_NEAR(Project(*map, 0, 0).X, (map->Width - 1) / 2.0, 0.6);
        EXPECT_EQ(Project(*map, 0, 180).X, 0);
    }
    // The standard map's last column holds 180 degrees east as well; on the
    // others that meridian falls one column past the edge, onto column 0.
    EXPECT_EQ(Project(StandardWorldMap, 0, -180).X, StandardWorldMap.Width - 1);
    EXPECT_EQ(Project(GeneralWorldMap, 0, -180).X, GeneralWorldMap.Width);
    EXPECT_NE(std::string(BuiltinMapSource).find("LGPL"), std::string::npos);
}

TEST(BuiltinMaps, CapitalsLieOnLand)
{
    for (const TBuiltinMap* map : {&StandardWorldMap, &GeneralWorldMap}) {
        const TPaletteImage& image = Picture(*map);
        for (const TPlace& p : Capitals) {
            TPixel px = Project(*map, p.Lat, p.LonWest);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    EXPECT_EQ(Kind(image, px.X + dx, px.Y + dy), TKind::Land)
                        << map->ResourceName << " " << p.Name << " at " << px.X + dx << "," << px.Y + dy;
        }
    }
}

TEST(BuiltinMaps, CoastsLieWhereTheProjectionPutsThem)
{
    for (const TBuiltinMap* map : {&StandardWorldMap, &GeneralWorldMap}) {
        const TPaletteImage& image = Picture(*map);
        for (const TCoastPoint& p : CoastPoints) {
            SCOPED_TRACE(std::string(map->ResourceName) + " " + p.Name);
            TPixel px = Project(*map, p.Lat, p.LonWest);
            // A coastline within one pixel of the point...
            bool coast = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    coast = coast || Kind(image, px.X + dx, px.Y + dy) == TKind::Line;
            EXPECT_TRUE(coast) << "at " << px.X << "," << px.Y;
            // ...with the sea on the seaward side and land behind it: the
            // first two like pixels of land or water past the line's edge.
            auto beyond = [&](int dx, int dy) {
                TKind last = TKind::Line;
                for (int s = 0; s < 8; ++s) {
                    TKind k = Kind(image, px.X + s * dx, px.Y + s * dy);
                    if (k == last && (k == TKind::Water || k == TKind::Land))
                        return k;
                    last = k;
                }
                return TKind::Other;
            };
            TKind sea = beyond(p.SeaDx, p.SeaDy);
            TKind land = beyond(-p.SeaDx, -p.SeaDy);
            EXPECT_EQ(sea, TKind::Water) << KindName(sea);
            EXPECT_EQ(land, TKind::Land) << KindName(land);
        }
    }
}

TEST(BuiltinMaps, OpenSeaIsWaterAndTheSouthPoleIsLand)
{
    for (const TBuiltinMap* map : AllMaps) {
        const TPaletteImage& image = Picture(*map);
        for (const TPlace& p : OpenSea) {
            TPixel px = Project(*map, p.Lat, p.LonWest);
            EXPECT_EQ(Kind(image, px.X, px.Y), TKind::Water) << map->ResourceName << " " << p.Name;
        }
        // Antarctica fills the bottom row.
        int water = 0;
        for (int x = 0; x < image.Width; ++x)
            water += Kind(image, x, image.Height - 1) != TKind::Land;
        EXPECT_EQ(water, 0) << map->ResourceName;
    }
}

TEST(BuiltinMaps, PreviewPixelsFollowWholeDegrees)
{
    // Pixel (i, j) shows longitude 180 - i west and latitude 90 - j.
    const TPaletteImage& image = Picture(PreviewWorldMap);
    struct {
        int I, J;
        TKind Expected;
    } cases[] = {
        {180 + 3, 90 - 26, TKind::Land},    // Sahara, 26 N 3 E
        {180 + 100, 90 - 60, TKind::Land},  // Siberia, 60 N 100 E
        {180 - 55, 90 + 5, TKind::Land},    // Amazonia, 5 S 55 W
        {180 + 135, 90 + 25, TKind::Land},  // Australia, 25 S 135 E
        {180 - 30, 90 - 30, TKind::Water},  // Atlantic, 30 N 30 W
        {180 + 160, 90 + 40, TKind::Water}, // Tasman Sea, 40 S 160 E
    };
    for (const auto& c : cases)
        EXPECT_EQ(Kind(image, c.I, c.J), c.Expected) << c.I << "," << c.J;
}

TEST(BuiltinMaps, EdgesMeetAtTheDateLine)
{
    // The first and last columns lie on either side of the 180th meridian
    // (on the standard map 0.01 degrees apart, on the general map one column):
    // they show nearly the same places.
    for (const TBuiltinMap* map : {&StandardWorldMap, &GeneralWorldMap}) {
        const TPaletteImage& image = Picture(*map);
        int same = 0;
        for (int y = 0; y < image.Height; ++y)
            same += (Kind(image, 0, y) == Kind(image, image.Width - 1, y));
        EXPECT_GT(same, image.Height * 97 / 100) << map->ResourceName;
    }
}
