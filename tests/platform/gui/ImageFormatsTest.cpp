// Picture files: BMP (with run-length encoded pixels), PNG (with palettes),
// JPEG, pictures chosen by content and extension, and named resources.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

#include "GuiTestUtil.h"
#include "TestPaths.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Resources.h"

using namespace gui;
using guitest::NewBitmap;

namespace {

std::unique_ptr<TBitmap> NoiseBitmap(int w, int h, TPixelFormat pf, unsigned seed)
{
    auto bmp = std::make_unique<TBitmap>(w, h, pf);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bmp->Canvas()->SetPixels(x, y, rng() & 0xFFFFFF);
    return bmp;
}

void ExpectSamePixels(TBitmap& a, TBitmap& b)
{
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Canvas()->Pixels(x, y), b.Canvas()->Pixels(x, y)) << x << "," << y;
}

// Little-endian writers for hand-made BMP files.
void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF); Put16(s, v >> 16); }

// A BMP file with an info header, the colour table and the pixel bytes.
std::string MakeBmp(int w, int h, int bpp, uint32_t compression, const std::vector<TColor>& table,
                    const std::string& pixels)
{
    std::string info;
    Put32(info, 40);
    Put32(info, static_cast<uint32_t>(w));
    Put32(info, static_cast<uint32_t>(h));
    Put16(info, 1);
    Put16(info, static_cast<uint32_t>(bpp));
    Put32(info, compression);
    Put32(info, static_cast<uint32_t>(pixels.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, static_cast<uint32_t>(table.size()));
    Put32(info, 0);
    for (TColor c : table) {
        info += char(GetBValue(c));
        info += char(GetGValue(c));
        info += char(GetRValue(c));
        info += char(0);
    }
    std::string file = "BM";
    Put32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, static_cast<uint32_t>(14 + info.size()));
    return file + info + pixels;
}

std::string Bytes(std::initializer_list<int> v)
{
    std::string s;
    for (int b : v) s += static_cast<char>(b);
    return s;
}

const std::vector<TColor> kTable = {clBlack, clRed, clLime, clBlue, clYellow, clAqua, clFuchsia, clGray};

void LoadBmp(TBitmap& bmp, const std::string& file)
{
    rtl::TStringStream s(file);
    bmp.LoadFromStream(s);
}

void ExpectRows(TBitmap& bmp, const std::vector<std::vector<int>>& rows)
{
    ASSERT_EQ(bmp.Height(), static_cast<int>(rows.size()));
    for (int y = 0; y < bmp.Height(); ++y) {
        ASSERT_EQ(bmp.Width(), static_cast<int>(rows[y].size()));
        for (int x = 0; x < bmp.Width(); ++x)
            EXPECT_EQ(bmp.Canvas()->Pixels(x, y), kTable[rows[y][x]]) << x << "," << y;
    }
}

TEST(Bmp, RoundTripKeepsPixelsAndDepth)
{
    for (TPixelFormat pf : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        auto src = NoiseBitmap(13, 7, pf, 42);   // 13 * 3 bytes: rows need padding
        rtl::TMemoryStream ms;
        src->SaveToStream(ms);
        EXPECT_EQ(ms.Size(), 54 + 7 * ((13 * (pf == TPixelFormat::pf24bit ? 24 : 32) + 31) / 32 * 4));
        ms.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(ms);
        EXPECT_EQ(back.PixelFormat(), pf);
        ExpectSamePixels(*src, back);
    }
}

TEST(Bmp, PalettedAndTopDownImagesRead)
{
    // 4 bits, 3 x 2, stored top-down (negative height): rows padded to 4 bytes.
    std::string px = Bytes({0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0});
    std::string file = MakeBmp(3, -2, 4, 0, kTable, px);
    TBitmap bmp;
    LoadBmp(bmp, file);
    ExpectRows(bmp, {{1, 2, 3}, {4, 5, 6}});
    // 1 bit, bottom-up.
    TBitmap mono;
    LoadBmp(mono, MakeBmp(3, 2, 1, 0, {clBlack, clWhite}, Bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})));
    EXPECT_EQ(mono.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(mono.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixels(0, 1), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixels(2, 1), clWhite);
}

TEST(Bmp, RunLengthEncoded8BitPixelsDecode)
{
    // Bottom row: a run of three 1s, a literal run 2 3 1 (padded);
    // then a move two right and one up skips the middle row, and a run of
    // six 3s from x = 2 is cut at the image's edge.
    std::string rle = Bytes({3, 1, 0, 3, 2, 3, 1, 0, 0, 0,
                             0, 2, 2, 1, 6, 3, 0, 1});
    TBitmap bmp;
    LoadBmp(bmp, MakeBmp(6, 3, 8, 1, kTable, rle));
    ExpectRows(bmp, {{0, 0, 3, 3, 3, 3}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 1}});
}

TEST(Bmp, RunLengthEncoded4BitPixelsDecode)
{
    // Bottom row: five pixels alternating the nibbles 1 and 2; top row: a
    // literal run 3 4 5 then a run of 6 7.
    std::string rle = Bytes({5, 0x12, 0, 0,
                             0, 3, 0x34, 0x50, 2, 0x67, 0, 1});
    TBitmap bmp;
    LoadBmp(bmp, MakeBmp(5, 2, 4, 2, kTable, rle));
    ExpectRows(bmp, {{3, 4, 5, 6, 7}, {1, 2, 1, 2, 1}});
}

TEST(Bmp, RleDecoderKeepsTheBackgroundAndReportsMissingEnd)
{
    std::vector<uint8_t> block(8, 0x77);   // 2 rows of 4 bytes, background index 0x77
    const uint8_t data[] = {2, 5, 0, 1};
    EXPECT_TRUE(DecodeDibRle(data, sizeof data, 8, 3, 2, block.data(), 4));
    EXPECT_EQ(block[0], 5);
    EXPECT_EQ(block[1], 5);
    EXPECT_EQ(block[2], 0x77);
    EXPECT_EQ(block[4], 0x77);
    const uint8_t cut[] = {2, 5, 0, 5, 1};   // literal run of 5 with one byte present
    EXPECT_FALSE(DecodeDibRle(cut, sizeof cut, 8, 3, 2, block.data(), 4));
}

TEST(Bmp, BadFilesFailCleanly)
{
    const std::string good = MakeBmp(3, -2, 4, 0, kTable, Bytes({0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}));
    auto patched = [&](std::size_t at, std::string bytes) {
        std::string f = good;
        f.replace(at, bytes.size(), bytes);
        return f;
    };
    std::string zeroOffset = good;
    zeroOffset[10] = zeroOffset[11] = 0;
    const std::pair<const char*, std::string> bad[] = {
        {"not BM", patched(0, "XM")},
        {"header size 20", patched(14, Bytes({20, 0, 0, 0}))},
        {"zero width", patched(18, Bytes({0, 0, 0, 0}))},
        {"two planes", patched(26, Bytes({2, 0}))},
        {"7 bits", patched(28, Bytes({7, 0}))},
        {"RLE8 at 4 bits", patched(30, Bytes({1, 0, 0, 0}))},
        {"unknown compression", patched(30, Bytes({9, 0, 0, 0}))},
        {"pixels cut short", good.substr(0, good.size() - 3)},
        {"pixel offset inside the header", zeroOffset},
        {"header cut short", good.substr(0, 30)},
        {"empty", std::string()},
        {"huge", patched(18, Bytes({0xFF, 0xFF, 0xFF, 0x7F}))},
    };
    for (const auto& [what, file] : bad) {
        auto bmp = NewBitmap(2, 2, clRed);
        rtl::TStringStream s(file);
        EXPECT_THROW(bmp->LoadFromStream(s), EInvalidGraphic) << what;
        EXPECT_EQ(bmp->Width(), 2) << what;   // the old picture stays
        EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), clRed) << what;
    }
    TPicture pic;
    rtl::TStringStream junk("GIF89a...");
    EXPECT_THROW(pic.LoadFromStream(junk), EInvalidGraphic);
}

TEST(Png, RoundTripKeepsPixels)
{
    auto src = NoiseBitmap(17, 9, TPixelFormat::pf24bit, 7);
    TPngImage png;
    png.Assign(src.get());
    rtl::TMemoryStream ms;
    png.SaveToStream(ms);
    ms.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(ms);
    EXPECT_EQ(back.HeaderColorType(), PNG_COLOR_RGB);
    TBitmap bmp;
    bmp.Assign(&back);
    ExpectSamePixels(*src, bmp);
}

TEST(Png, TransparentBitmapBecomesAlpha)
{
    auto src = NewBitmap(4, 4, clFuchsia);
    src->Canvas()->SetPixels(1, 1, clBlue);
    src->SetTransparent(true);
    TPngImage png;
    png.Assign(src.get());
    rtl::TMemoryStream ms;
    png.SaveToStream(ms);
    ms.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(ms);
    EXPECT_TRUE(back.HasAlpha());
    EXPECT_EQ(back.Alpha(0, 0), 0);
    EXPECT_EQ(back.Alpha(1, 1), 255);
    EXPECT_EQ(back.Pixels(1, 1), clBlue);
    // Drawn, the transparent pixels leave the target alone.
    auto target = NewBitmap(4, 4, clGreen);
    target->Canvas()->Draw(0, 0, &back);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clGreen);
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clBlue);
}

TEST(Png, PaletteImageKeepsItsPixelsAndPalette)
{
    // Fixture: 6 x 4, 8-bit palette of five colours, pixel (x, y) has index (x + 2y) mod 5.
    const std::vector<TColor> pal = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(250, 200, 10),
                                     RGB(17, 34, 51)};
    TPngImage png;
    png.LoadFromFile(tectest::DataFile("platform/gui/palette8.png"));
    auto check = [&](const TPngImage& p) {
        EXPECT_EQ(p.HeaderColorType(), PNG_COLOR_PALETTE);
        EXPECT_EQ(p.HeaderBitDepth(), 8);
        EXPECT_EQ(p.Palette(), pal);
        ASSERT_EQ(p.Width(), 6);
        ASSERT_EQ(p.Height(), 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(p.Pixels(x, y), pal[(x + 2 * y) % 5]) << x << "," << y;
    };
    check(png);
    rtl::TMemoryStream ms;
    png.SaveToStream(ms);
    ms.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(ms);
    check(back);
}

TEST(Png, DamagedDataRaises)
{
    auto src = NoiseBitmap(8, 8, TPixelFormat::pf24bit, 3);
    TPngImage png;
    png.Assign(src.get());
    rtl::TMemoryStream ms;
    png.SaveToStream(ms);
    std::string bytes(ms.View());
    for (std::string broken : {bytes.substr(0, bytes.size() / 2), bytes.substr(0, 8) + std::string(40, 'x')}) {
        rtl::TStringStream s(broken);
        TPngImage p;
        EXPECT_THROW(p.LoadFromStream(s), EInvalidGraphic);
    }
}

TEST(Jpeg, RoundTripStaysWithinASmallError)
{
    TBitmap src(64, 48, TPixelFormat::pf24bit);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) src.Canvas()->SetPixels(x, y, RGB(x * 4, y * 5, 128 + (x - y)));
    long long sizes[2];
    double meanErr[2];
    int i = 0;
    for (int quality : {100, 20}) {
        TJPEGImage jpg;
        jpg.Assign(&src);
        jpg.SetCompressionQuality(quality);
        rtl::TMemoryStream ms;
        jpg.SaveToStream(ms);
        sizes[i] = ms.Size();
        ms.SetPosition(0);
        TPicture pic;
        pic.LoadFromStream(ms);
        ASSERT_NE(dynamic_cast<TJPEGImage*>(pic.Graphic()), nullptr);
        TBitmap* back = pic.Bitmap();
        ASSERT_EQ(back->Width(), 64);
        int maxErr = 0;
        long long total = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                TColor a = src.Canvas()->Pixels(x, y), b = back->Canvas()->Pixels(x, y);
                for (int sh : {0, 8, 16}) {
                    int d = std::abs(int((a >> sh) & 0xFF) - int((b >> sh) & 0xFF));
                    maxErr = std::max(maxErr, d);
                    total += d;
                }
            }
        meanErr[i] = double(total) / (64 * 48 * 3);
        if (quality == 100) {
            EXPECT_LE(maxErr, 6);
            EXPECT_LT(meanErr[i], 1.5);
        }
        ++i;
    }
    EXPECT_GT(sizes[0], sizes[1]);
    EXPECT_GT(meanErr[1], meanErr[0]);

    TJPEGImage bad;
    rtl::TStringStream s(std::string("\xFF\xD8\xFF\xE0 broken", 11));
    EXPECT_THROW(bad.LoadFromStream(s), EInvalidGraphic);
}

TEST(Picture, LoadsByContentAndSavesByExtension)
{
    auto dir = tectest::ScratchDir("gui-picture");
    auto src = NoiseBitmap(10, 6, TPixelFormat::pf24bit, 11);
    TPicture pic;
    pic.SetGraphic(src.get());
    const std::pair<const char*, std::string> files[] = {
        {"map.png", "\x89PNG"}, {"map.bmp", "BM"}, {"map.jpg", "\xFF\xD8\xFF"}, {"map.JPEG", "\xFF\xD8\xFF"}};
    for (const auto& [name, magic] : files) {
        std::string path = (dir / name).string();
        pic.SaveToFile(path);
        std::ifstream in(path, std::ios::binary);
        std::string head(magic.size(), '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        EXPECT_EQ(head, magic) << name;
    }
    // A PNG under a misleading name still loads as PNG.
    std::filesystem::copy_file(dir / "map.png", dir / "map.dat");
    TPicture back;
    back.LoadFromFile((dir / "map.dat").string());
    EXPECT_NE(dynamic_cast<TPngImage*>(back.Graphic()), nullptr);
    ExpectSamePixels(*src, *back.Bitmap());
    EXPECT_THROW(back.LoadFromFile((dir / "missing.png").string()), rtl::EFOpenError);
}

TEST(Resources, PicturesLoadByNameAndNumber)
{
    static std::string bmpBytes, pngBytes;
    auto src = NoiseBitmap(3, 3, TPixelFormat::pf24bit, 5);
    rtl::TMemoryStream ms;
    src->SaveToStream(ms);
    bmpBytes.assign(ms.View());
    TPngImage png;
    png.Assign(src.get());
    rtl::TMemoryStream ps;
    png.SaveToStream(ps);
    pngBytes.assign(ps.View());
    static rtl::TResource res[] = {
        {"GUITESTBMP", -1, rtl::TResourceType::Bitmap, nullptr, 0},
        {"GUITESTPNG", 7401, rtl::TResourceType::RCData, nullptr, 0},
    };
    res[0].Data = reinterpret_cast<const uint8_t*>(bmpBytes.data());
    res[0].Size = bmpBytes.size();
    res[1].Data = reinterpret_cast<const uint8_t*>(pngBytes.data());
    res[1].Size = pngBytes.size();
    rtl::RegisterResources(res, 2);

    TBitmap b;
    b.LoadFromResourceName("guitestbmp");
    ExpectSamePixels(*src, b);
    TBitmap fromPng;
    fromPng.LoadFromResourceName("GUITESTPNG");   // raw data holding a PNG
    ExpectSamePixels(*src, fromPng);
    EXPECT_THROW(b.LoadFromResourceName("NOSUCHBITMAP"), rtl::EResNotFound);

    TPngImage p;
    p.LoadFromResourceName("NOSUCHPNG");   // a missing name does nothing
    EXPECT_TRUE(p.Empty());
    p.LoadFromResourceID(7401);
    EXPECT_EQ(p.Width(), 3);
    EXPECT_THROW(p.LoadFromResourceID(7402), rtl::EResNotFound);
}

} // namespace

namespace {

// A 2 x 2 cursor: 24-bit colours, the AND mask making (1, 0) transparent,
// hot spot (1, 1); registered as cursor number 7410.
TEST(Cursors, CursorFileGivesPictureMaskAndHotSpot)
{
    std::string dib;
    Put32(dib, 40); Put32(dib, 2); Put32(dib, 4); Put16(dib, 1); Put16(dib, 24);
    Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0); Put32(dib, 0);
    // Colour rows bottom-up: bottom row blue, red; top row green, white.
    dib += Bytes({0xFF, 0, 0, 0, 0, 0xFF, 0, 0});
    dib += Bytes({0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0});
    // Mask rows bottom-up (1 = transparent): top row's second pixel.
    dib += Bytes({0, 0, 0, 0, 0x40, 0, 0, 0});
    static std::string file;
    file.clear();
    Put16(file, 0); Put16(file, 2); Put16(file, 1);
    file += Bytes({2, 2, 0, 0});
    Put16(file, 1); Put16(file, 1);
    Put32(file, static_cast<uint32_t>(dib.size())); Put32(file, 22);
    file += dib;

    static rtl::TResource res{"", 7410, rtl::TResourceType::Cursor, nullptr, 0};
    res.Data = reinterpret_cast<const uint8_t*>(file.data());
    res.Size = file.size();
    rtl::RegisterResources(&res, 1);
    TCursorImage cur = LoadCursorResource(7410);
    ASSERT_EQ(cur.Image->Width(), 2);
    ASSERT_EQ(cur.Image->Height(), 2);
    EXPECT_EQ(cur.HotSpot, Point(1, 1));
    EXPECT_EQ(cur.Image->Pixels(0, 0), clLime);
    EXPECT_EQ(cur.Image->Alpha(1, 0), 0);
    EXPECT_EQ(cur.Image->Alpha(0, 0), 255);
    EXPECT_EQ(cur.Image->Pixels(0, 1), clBlue);
    EXPECT_EQ(cur.Image->Pixels(1, 1), clRed);
    EXPECT_THROW(LoadCursorResource(7411), rtl::EResNotFound);
    const uint8_t junk[30] = {0, 0, 2, 0, 1, 0};
    EXPECT_THROW(DecodeCursorFile(junk, sizeof junk), EInvalidGraphic);
}

} // namespace
