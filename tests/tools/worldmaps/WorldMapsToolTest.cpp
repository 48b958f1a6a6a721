// The world-map tool's pieces: palette PNG encoding and decoding, the
// pixel placement of lines, and the reading of GMT's segment dumps.

#include "tools/worldmaps/MapRender.h"
#include "tools/worldmaps/PaletteImage.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace worldmaps;

TEST(PalettePng, RoundTripKeepsPaletteAndPixels)
{
    TPaletteImage image;
    image.Width = 5;
    image.Height = 3;
    image.Palette = {{250, 250, 250}, {218, 218, 218}, {10, 20, 30}};
    image.Pixels = {0, 1, 2, 1, 0, 2, 2, 2, 2, 2, 0, 0, 1, 1, 0};
    std::vector<uint8_t> png = EncodePng(image);
    TPngInfo info;
    TPaletteImage back = DecodePng(png.data(), png.size(), &info);
    EXPECT_EQ(info.ColourType, 3);
    EXPECT_EQ(info.BitDepth, 8);
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Height, 3);
    EXPECT_EQ(back.Palette, image.Palette);
    EXPECT_EQ(back.Pixels, image.Pixels);
}

TEST(PalettePng, BadInputIsRefused)
{
    std::vector<uint8_t> notPng = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_THROW(DecodePng(notPng.data(), notPng.size()), std::runtime_error);

    TPaletteImage image;
    image.Width = 2;
    image.Height = 2;
    image.Palette = {{0, 0, 0}};
    image.Pixels = {0, 0, 0, 0};
    std::vector<uint8_t> png = EncodePng(image);
    // Cut short inside the pixel data.
    EXPECT_THROW(DecodePng(png.data(), png.size() - 20), std::runtime_error);
    // A pixel that names no palette entry.
    image.Pixels = {0, 3, 0, 0};
    png = EncodePng(image);
    EXPECT_THROW(DecodePng(png.data(), png.size()), std::runtime_error);
    // Wrong pixel count.
    image.Pixels = {0, 0, 0};
    EXPECT_THROW(EncodePng(image), std::runtime_error);
}

namespace {

// A 36 x 18 map: 10 degrees a pixel, like the program's records with
// X0 = 18, X1 = 18, Y0 = 9, Y1 = 9 (0 E on column 18, 180 W on column 0).
const TMapGeometry Small{36, 18, 18.0, 9.0, 18.0, 9.0};

} // namespace

TEST(MapGeometry, PlacesFollowTheRecordsFormula)
{
    // East is to the right, north at the top.
    EXPECT_DOUBLE_EQ(Small.PixelX(0), 18);
    EXPECT_DOUBLE_EQ(Small.PixelX(-180), 0);
    EXPECT_DOUBLE_EQ(Small.PixelX(90), 27);
    EXPECT_DOUBLE_EQ(Small.PixelY(90), 0);
    EXPECT_DOUBLE_EQ(Small.PixelY(-45), 13.5);
    EXPECT_DOUBLE_EQ(Small.LonEast(27), 90);
    EXPECT_DOUBLE_EQ(Small.Lat(13.5), -45);
}

TEST(MapLines, CoverThePixelsUnderThem)
{
    TCoverage c(Small);
    c.AddPolyline({{0, 0}, {50, 0}}, 1.0);  // along the equator, columns 18..23
    for (int x = 18; x <= 23; ++x)
        EXPECT_FLOAT_EQ(c.At(x, 9), 1.0f) << x;
    EXPECT_FLOAT_EQ(c.At(25, 9), 0.0f);
    EXPECT_FLOAT_EQ(c.At(20, 8), 0.0f);
    // A thin line never fills a pixel.
    TCoverage thin(Small);
    thin.AddPolyline({{0, 40}, {50, 40}}, 0.4);
    EXPECT_NEAR(thin.At(20, 5), 0.4f, 1e-6);
}

TEST(MapLines, DateLineIsCrossedNotSpanned)
{
    // From 175 E to 175 W: two short pieces at the edges, nothing across.
    TCoverage c(Small);
    c.AddPolyline({{175, 0}, {-175, 0}}, 1.0);
    for (int x = 2; x < 34; ++x)
        EXPECT_FLOAT_EQ(c.At(x, 9), 0.0f) << x;
    // A line ending on the date line shows at both edges.
    TCoverage edge(Small);
    edge.AddPolyline({{170, 10}, {180, 10}}, 1.0);
    EXPECT_GT(edge.At(35, 8), 0.9f);
    EXPECT_GT(edge.At(0, 8), 0.9f);
}

TEST(MapCompose, GreysOfWaterLandAndLines)
{
    TMapGeometry g{2, 1, 1, 0, 1, 0.5};  // 0 E on column 1, the equator on row 0
    TCoverage none(g), coast(g);
    coast.AddPolyline({{0, 0}, {0, 0.1}}, 1.0);  // a dot on column 1
    TMapStyle style;
    TPaletteImage image = ComposeMap(g, {0.0f, 1.0f}, none, none, style);
    EXPECT_EQ(image.ColourAt(0, 0), (TRgb{250, 250, 250}));
    EXPECT_EQ(image.ColourAt(1, 0), (TRgb{218, 218, 218}));
    image = ComposeMap(g, {0.5f, 1.0f}, none, coast, style);
    EXPECT_EQ(image.At(0, 0), 234);
    EXPECT_EQ(image.At(1, 0), style.Coast);
}

TEST(GmtSegments, SplitAtHeaders)
{
    auto lines = ParseSegments("> Shore Bin # 1, Level 1\n-88\t82.5\n-88.1\t82.4\n>\n10 20\n\n11 21\n12 22\n");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0][1].Lon, -88.1);
    EXPECT_DOUBLE_EQ(lines[0][1].Lat, 82.4);
    EXPECT_EQ(lines[1].size(), 3u);
}
