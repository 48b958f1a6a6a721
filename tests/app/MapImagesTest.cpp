// Map pictures: the built-in maps and their 120-degree shift, grey scale,
// file maps by extension (user descriptions of the five projections from
// tests/data/app/map), and the saved map as PNG, JPEG (quality 100) and BMP.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "MapTestUtil.h"
#include "TestPaths.h"
#include "app/AppMessages.h"
#include "app/EclipseMap.h"
#include "app/MapData.h"
#include "app/MapImages.h"
#include "app/MapView.h"
#include "app/SEPaths.h"
#include "compute/uProjections.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"

using namespace app;
using maptest::PixelAt;

namespace {

std::string Magic(const std::string& file, size_t n)
{
    std::ifstream in(file, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    return bytes;
}

// A colourful test picture: every pixel different in red, green and blue.
void Paint(gui::TBitmap& bmp, int w, int h)
{
    bmp.SetPixelFormat(gui::TPixelFormat::pf24bit);
    bmp.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            p[3 * x] = static_cast<uint8_t>(x * 7 + y);
            p[3 * x + 1] = static_cast<uint8_t>(y * 3);
            p[3 * x + 2] = static_cast<uint8_t>(x * 2 + 40);
        }
    }
}

class MapFiles : public testing::Test {
protected:
    void SetUp() override
    {
        FDir = tectest::ScratchDir("map-images");
        FSavedMaps = MapsPath;
        MapsPath = FDir.string() + "/";
        AppNotice = [this](const std::string& text) { FNotices.push_back(text); };
    }
    void TearDown() override
    {
        MapsPath = FSavedMaps;
        ResetNoticeHandler();
        compute::SetConicParallels(40, 68);
        compute::SetAzimuthalCenter(40);
        std::filesystem::remove_all(FDir);
    }
    std::filesystem::path FDir;
    std::string FSavedMaps;
    std::vector<std::string> FNotices;
};

} // namespace

TEST(MapImages, BuiltInMapsLoadWithTheirSizeAndShiftByAThird)
{
    TEclipseMap m;
    m.MapData = GeneralMapData;
    m.MapData.Width = m.MapData.Height = 0;
    m.LoadMap();
    EXPECT_EQ(m.MapData.Width, 1920);
    EXPECT_EQ(m.MapData.Height, 960);
    EXPECT_EQ(m.Map().PixelFormat(), gui::TPixelFormat::pf24bit);
    gui::TBitmap plain;
    plain.Assign(&m.Map());

    const int w = 1920, a = w / 3, b = 2 * w / 3;
    m.ResourceMapMode = rmm120W;
    m.LoadMap();
    EXPECT_EQ(m.MapData.dLon, 120);
    for (int y : {100, 333, 700})
        for (int x : {0, 1, a - 1, b - 1, b, w - 1}) {
            // Source column x lands at x + a when x < b, else x - b.
            const int to = x < b ? x + a : x - b;
            EXPECT_EQ(PixelAt(m.Map(), to, y), PixelAt(plain, x, y)) << x << " " << y;
        }
    m.ResourceMapMode = rmm120E;
    m.LoadMap();
    EXPECT_EQ(m.MapData.dLon, -120);
    for (int y : {100, 700})
        for (int x : {0, a - 1, a, w - 1}) {
            const int to = x < a ? x + b : x - a;
            EXPECT_EQ(PixelAt(m.Map(), to, y), PixelAt(plain, x, y)) << x << " " << y;
        }
    m.ResourceMapMode = rmmNormal;
    m.LoadMap();
    EXPECT_EQ(m.MapData.dLon, 0);
    EXPECT_TRUE(maptest::SamePixels(m.Map(), plain));

    // Reloading over a computed map of the same size brings the clean map
    // back in full, grey or not; a map of another size takes its own size.
    for (int y = 0; y < 960; y += 7) std::memset(m.Map().ScanLine(y), 0x5a, 3 * 1920);
    m.LoadMap();
    EXPECT_TRUE(maptest::SamePixels(m.Map(), plain));
    m.GreyScaleMap = true;
    m.LoadMap();
    gui::TBitmap grey;
    grey.Assign(&plain);
    ConvertToGreyScale(grey);
    EXPECT_TRUE(maptest::SamePixels(m.Map(), grey));
    m.GreyScaleMap = false;
    m.MapData = StandardMapData;
    m.LoadMap();
    EXPECT_EQ(m.Map().Width(), 5735);
    m.MapData = GeneralMapData;
    m.LoadMap();
    EXPECT_TRUE(maptest::SamePixels(m.Map(), plain));
}

TEST(MapImages, ShiftModeFollowsTheLongitudeOfGreatestEclipse)
{
    EXPECT_EQ(ResourceMapModeFor(61), rmm120W);
    EXPECT_EQ(ResourceMapModeFor(60), rmmNormal);
    EXPECT_EQ(ResourceMapModeFor(-60), rmmNormal);
    EXPECT_EQ(ResourceMapModeFor(-60.5), rmm120E);
}

TEST(MapImages, GreyScaleWeighsRedGreenAndBlue)
{
    gui::TBitmap bmp(4, 1);
    bmp.Canvas()->SetPixels(0, 0, gui::clRed);
    bmp.Canvas()->SetPixels(1, 0, gui::clLime);
    bmp.Canvas()->SetPixels(2, 0, gui::clBlue);
    bmp.Canvas()->SetPixels(3, 0, gui::clWhite);
    ConvertToGreyScale(bmp);
    EXPECT_EQ(PixelAt(bmp, 0, 0), gui::RGB(76, 76, 76));    // (77 * 255) >> 8
    EXPECT_EQ(PixelAt(bmp, 1, 0), gui::RGB(150, 150, 150));
    EXPECT_EQ(PixelAt(bmp, 2, 0), gui::RGB(27, 27, 27));
    EXPECT_EQ(PixelAt(bmp, 3, 0), gui::RGB(255, 255, 255));
    gui::TBitmap empty;
    ConvertToGreyScale(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST_F(MapFiles, FileMapsLoadByExtensionAndKeepTheirSettings)
{
    gui::TBitmap source;
    Paint(source, 64, 32);
    SavePictureFile(source, (FDir / "a.png").string());
    SavePictureFile(source, (FDir / "a.bmp").string());
    SavePictureFile(source, (FDir / "a.JPEG").string());
    TEclipseMap m;
    m.ResourceMapMode = rmm120W;  // never applied to a file map
    for (const char* name : {"a.png", "a.bmp", "a.JPEG"}) {
        m.MapData = GeneralMapData;
        m.MapData.ResourceName.clear();
        m.MapData.FileName = name;
        m.MapData.dLon = 7;
        m.LoadMap();
        EXPECT_EQ(m.MapData.Width, 64) << name;
        EXPECT_EQ(m.MapData.Height, 32) << name;
        EXPECT_EQ(m.MapData.dLon, 7) << name;
        if (name[2] != 'J') { EXPECT_TRUE(maptest::SamePixels(m.Map(), source)) << name; }
    }
    // Another extension keeps the previous picture and its size.
    std::ofstream(FDir / "b.gif") << "GIF89a";
    m.MapData.FileName = "b.gif";
    m.LoadMap();
    EXPECT_EQ(m.MapData.Width, 64);
    EXPECT_TRUE(maptest::PixelAt(m.Map(), 5, 5) != gui::clNone);

    // Grey on, then off again: the coloured picture comes back.
    m.MapData.FileName = "a.png";
    m.GreyScaleMap = true;
    m.LoadMap();
    const gui::TColor grey = PixelAt(m.Map(), 10, 10);
    EXPECT_EQ(gui::GetRValue(grey), gui::GetGValue(grey));
    EXPECT_EQ(gui::GetGValue(grey), gui::GetBValue(grey));
    m.GreyScaleMap = false;
    m.LoadMap();
    EXPECT_TRUE(maptest::SamePixels(m.Map(), source));

    // A damaged file raises to the caller.
    std::ofstream(FDir / "c.png") << "not a picture";
    m.MapData.FileName = "c.png";
    EXPECT_THROW(m.LoadMap(), std::exception);
}

TEST_F(MapFiles, UserDescriptionsOfTheFiveProjectionsRoundTrip)
{
    gui::TBitmap source;
    Paint(source, 800, 400);
    SavePictureFile(source, (FDir / "user.png").string());
    const char* files[] = {"robinson.map", "mercator.map", "platecarree.map", "conic.map", "azimuthal.map"};
    for (int i = 0; i < 5; ++i) {
        TMapData d;
        ASSERT_TRUE(ReadMapDataFile(tectest::DataFile(std::string("app/map/") + files[i]), d)) << files[i];
        EXPECT_EQ(static_cast<int>(d.Projection), i) << files[i];
        TEclipseMap m;
        m.MapData = d;
        m.LoadMap();
        EXPECT_EQ(m.MapData.Width, 800);
        int mapped = 0;
        for (int y = 20; y < 400; y += 60)
            for (int x = 20; x < 800; x += 90) {
                double lat, lon;
                if (!m.PixelToGeo(x, y, lat, lon)) continue;
                ++mapped;
                int x2, y2;
                ASSERT_TRUE(m.GeoToPixel(lat, lon, x2, y2)) << files[i];
                EXPECT_EQ(x2, x) << files[i] << " " << lat << " " << lon;
                EXPECT_EQ(y2, y) << files[i] << " " << lat << " " << lon;
            }
        EXPECT_GT(mapped, 20) << files[i];
    }
    EXPECT_TRUE(FNotices.empty());
}

TEST_F(MapFiles, SavedMapsReopenAsWritten)
{
    TEclipseMap m;
    m.Settings.Flags[slotInfo] = false;  // the notice line is still drawn
    m.LoadMap();
    std::unique_ptr<gui::TBitmap> picture = m.MapPicture(nullptr);
    // The notice line lies at the bottom of the saved picture, not in the map.
    EXPECT_FALSE(maptest::SamePixels(*picture, m.Map()));

    const std::string png = (FDir / "map.Png").string(), jpeg = (FDir / "map.jpeg").string(),
                      bmp = (FDir / "map.bmp").string(), tif = (FDir / "map.tif").string();
    for (const std::string& f : {png, jpeg, bmp, tif}) m.SaveAsGraphics(f, nullptr);
    EXPECT_EQ(Magic(png, 4), "\x89PNG");
    EXPECT_EQ(Magic(jpeg, 2), "\xFF\xD8");
    EXPECT_EQ(Magic(bmp, 2), "BM");
    EXPECT_EQ(Magic(tif, 2), "BM");

    gui::TPngImage pngImage;
    pngImage.LoadFromFile(png);
    gui::TBitmap fromPng;
    fromPng.Assign(&pngImage);
    EXPECT_TRUE(maptest::SamePixels(fromPng, *picture));
    gui::TBitmap fromBmp;
    fromBmp.LoadFromFile(bmp);
    fromBmp.SetPixelFormat(gui::TPixelFormat::pf24bit);
    EXPECT_TRUE(maptest::SamePixels(fromBmp, *picture));

    // JPEG at quality 100: every channel within a few steps.
    gui::TJPEGImage jpegImage;
    jpegImage.LoadFromFile(jpeg);
    gui::TBitmap fromJpeg;
    fromJpeg.Assign(&jpegImage);
    ASSERT_EQ(fromJpeg.Width(), picture->Width());
    ASSERT_EQ(fromJpeg.Height(), picture->Height());
    long long sum = 0, n = 0;
    int worst = 0;
    for (int y = 0; y < picture->Height(); y += 3) {
        const uint8_t* p = picture->ScanLine(y);
        const uint8_t* q = fromJpeg.ScanLine(y);
        for (int x = 0; x < 3 * picture->Width(); ++x) {
            const int d = std::abs(p[x] - q[x]);
            sum += d;
            worst = std::max(worst, d);
            ++n;
        }
    }
    EXPECT_LT(static_cast<double>(sum) / n, 1.5);
    EXPECT_LT(worst, 64);
}
