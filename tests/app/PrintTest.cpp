// Bitmap printing: page geometry, tiles and bands on a recording device,
// run-length pictures, BMP streams, and a real job into a PDF file
// rendered back with pdftoppm.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "TestPaths.h"
#include "app/PrnDib.h"
#include "app/PrnUtils.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
#include "platform/rtl/Streams.h"

using namespace app;
using gui::TRect;

namespace {

// A device that records what it is asked to draw.
class TRecordingDevice : public TPrnDevice {
public:
    std::map<int, int> Caps;
    gui::TSize Display{1920, 1080};
    struct TBand {
        TRect Dest, Source;
        TDibBlock Info, Bits;
        bool Blit = false;
        bool Stretch = false;
    };
    std::vector<TBand> Bands;
    std::vector<TRect> Clips;
    gui::TPoint Origin{0, 0};
    bool FailStretch = false;

    int GetDeviceCaps(int index) const override
    {
        auto it = Caps.find(index);
        return it == Caps.end() ? 0 : it->second;
    }
    gui::TSize DisplaySize() const override { return Display; }
    int SaveDC() override { return 1; }
    void RestoreDC(int) override {}
    void MoveWindowOrg(int dx, int dy) override { Origin = {Origin.X + dx, Origin.Y + dy}; }
    void IntersectClipRect(const TRect& r) override { Clips.push_back(r); }
    bool StretchDIBits(const TRect& dest, const TRect& source, const TDibBlock& info, const TDibBlock& bits) override
    {
        if (FailStretch) return false;
        Bands.push_back({dest, source, info, bits, false, false});
        return true;
    }
    bool BlitBand(const TRect& dest, const TRect& source, const TDibBlock& info, const TDibBlock& bits,
                  bool stretch) override
    {
        Bands.push_back({dest, source, info, bits, true, stretch});
        return true;
    }
    bool DrawCross(const TRect&, int) override { return true; }
};

// A 24-bit bottom-up DIB whose pixel (x, y) (top-down) holds the colour
// (x, y, 7) in bytes B, G, R = x, y, 7.
void MakeCoordinateDib(int w, int h, TDibBlock& info, TDibBlock& bits)
{
    info.assign(40, 0);
    auto put32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; ++i) info[at + i] = static_cast<uint8_t>(v >> (8 * i)); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(w));
    put32(8, static_cast<uint32_t>(h));
    info[12] = 1;
    info[14] = 24;
    const int row = DibRowSize(w, 24);
    bits.assign(static_cast<std::size_t>(row) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bits[static_cast<std::size_t>(row) * (h - 1 - y) + 3 * x];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 7;
        }
}

// The pixel (x, y) (top-down) of a recorded 24-bit bottom-up band.
std::array<int, 3> BandPixel(const TRecordingDevice::TBand& band, int x, int y)
{
    TDibHeader h;
    EXPECT_TRUE(AnalyseDibHeader(band.Info, h));
    const uint8_t* p = &band.Bits[static_cast<std::size_t>(h.RowSize) * (h.Height - 1 - y) + 3 * x];
    return {p[0], p[1], p[2]};
}

TEST(PrintGeometry, PictureFitsTheAreaAndIsCentred)
{
    // 2000 x 1000 on 6000 x 4800: sx = 3, sy = 4.8: the width fills the area.
    EXPECT_EQ(FitPictureRect(2000, 1000, 6000, 4800, true), gui::Bounds(0, 900, 6000, 3000));
    EXPECT_EQ(FitPictureRect(2000, 1000, 6000, 4800, false), gui::Bounds(0, 0, 6000, 3000));
    // A tall picture fills the height and is centred across.
    EXPECT_EQ(FitPictureRect(1000, 2000, 6000, 4800, true), gui::Bounds(1800, 0, 2400, 4800));
}

TEST(PrintGeometry, PageMetricsUseTheLargestMargin)
{
    TRecordingDevice d;
    d.Caps = {{gui::HORZRES, 4700}, {gui::VERTRES, 6800}, {gui::PHYSICALWIDTH, 4960},
              {gui::PHYSICALHEIGHT, 7016}, {gui::PHYSICALOFFSETX, 100}, {gui::PHYSICALOFFSETY, 120},
              {gui::LOGPIXELSX, 600}, {gui::LOGPIXELSY, 600}};
    TPageMetrics m;
    ASSERT_TRUE(GetPageMetrics(d, m));
    EXPECT_EQ(m.MarginRight, 160);
    EXPECT_EQ(m.MarginBottom, 96);
    EXPECT_EQ(m.Margin, 160);
    EXPECT_EQ(m.AreaWidth, 4960 - 320);
    EXPECT_EQ(m.AreaHeight, 7016 - 320);
    EXPECT_EQ(m.AreaLeft, 60);
    EXPECT_EQ(m.AreaTop, 40);
}

TEST(PrintTiles, NineTilesOfAScreenEachWithProgress)
{
    TRecordingDevice d;
    d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64 | gui::RC_STRETCHDIB}, {gui::LOGPIXELSX, 600}};
    TDibBlock info, bits;
    MakeCoordinateDib(240, 120, info, bits);
    std::vector<std::pair<int, int>> calls;
    const int result = PrintDIBRect(d, 0, 0, 4800, 2400, 0, 0, 240, 120, info, bits, true, false,
                                    {0, 0, 4800, 2400}, [&](int tile, int count) {
                                        calls.push_back({tile, count});
                                        return 1;
                                    });
    ASSERT_EQ(result, prnPrinted);
    ASSERT_EQ(d.Bands.size(), 9u);
    EXPECT_EQ(d.Bands[0].Dest, TRect(0, 0, 1920, 1080));
    EXPECT_EQ(d.Bands[2].Dest, TRect(3840, 0, 4800, 1080));   // last column 960 wide
    EXPECT_EQ(d.Bands[8].Dest, TRect(3840, 2160, 4800, 2400)); // last row 240 high
    // Percent texts as the map printing shows them run from 11 to 100.
    std::set<int> percents;
    for (auto [tile, count] : calls) {
        EXPECT_EQ(count, 9);
        percents.insert(static_cast<int>(static_cast<double>(tile) / count * 100));
    }
    EXPECT_EQ(*percents.begin(), 11);
    EXPECT_EQ(*percents.rbegin(), 100);
    EXPECT_EQ(percents.size(), 9u);
}

TEST(PrintTiles, SourceBandsHoldThePicturePixelsUnderTheTile)
{
    PrnSetSourceBands(true);
    TRecordingDevice d;
    d.Display = {1920, 1080};
    d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
    TDibBlock info, bits;
    MakeCoordinateDib(240, 120, info, bits);
    ASSERT_EQ(PrintDIBRect(d, 0, 0, 4800, 2400, 0, 0, 240, 120, info, bits, true, false, {0, 0, 4800, 2400}, {}),
              prnPrinted);
    // 20 device pixels per source pixel: the band of the last tile starts
    // at source column 3840 / 20 = 192 and row 2160 / 20 = 108.
    const auto& last = d.Bands[8];
    EXPECT_EQ(last.Source, TRect(0, 0, 48, 12));
    EXPECT_EQ(BandPixel(last, 0, 0), (std::array<int, 3>{192, 108, 7}));
    EXPECT_EQ(BandPixel(last, 47, 11), (std::array<int, 3>{239, 119, 7}));
    const auto& first = d.Bands[0];
    EXPECT_EQ(first.Source, TRect(0, 0, 96, 54));
    EXPECT_EQ(BandPixel(first, 95, 53), (std::array<int, 3>{95, 53, 7}));
}

TEST(PrintTiles, PrintersWithoutLargeBitmapsGetLowTiles)
{
    PrnSetSourceBands(true);
    TRecordingDevice d;
    d.Caps = {{gui::RASTERCAPS, 0}};
    TDibBlock info, bits;
    MakeCoordinateDib(240, 120, info, bits);
    ASSERT_EQ(PrintDIBRect(d, 0, 0, 240, 120, 0, 0, 240, 120, info, bits, true, false, {0, 0, 240, 120}, {}),
              prnPrinted);
    // 65503 div (row of 1920 pixels at 24 bits = 5760 bytes) = 11 rows.
    EXPECT_EQ(d.Bands[0].Dest, TRect(0, 0, 240, 11));
    EXPECT_EQ(d.Bands.size(), 11u);  // 120 rows in tiles of 11
}

TEST(PrintTiles, CallbackStopAndFailingOutput)
{
    PrnSetSourceBands(true);
    TDibBlock info, bits;
    MakeCoordinateDib(240, 120, info, bits);
    {
        TRecordingDevice d;
        d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
        int calls = 0;
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 4800, 2400, 0, 0, 240, 120, info, bits, true, false, {0, 0, 4800, 2400},
                               [&](int, int) { return ++calls < 3 ? 1 : 0; }),
                  prnTileFailed);
        EXPECT_LT(d.Bands.size(), 9u);
    }
    {
        // A failing StretchDIBits switches to the blit output for the rest.
        TRecordingDevice d;
        d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
        d.FailStretch = true;
        std::vector<std::string> messages;
        PrnSetShowErrors(true);
        auto old = PrnSetMessageOwner([&](const std::string& t) { messages.push_back(t); });
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 240, 120, 0, 0, 240, 120, info, bits, true, false, {0, 0, 240, 120}, {}),
                  prnPrinted);
        PrnSetMessageOwner(old);
        PrnSetShowErrors(false);
        ASSERT_EQ(d.Bands.size(), 1u);
        EXPECT_TRUE(d.Bands[0].Blit);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "StretchDIBits failed! Trying BitBlt");
    }
    {
        TRecordingDevice d;
        d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 240, 120, 200, 0, 100, 120, info, bits, true, false, {0, 0, 240, 120}, {}),
                  prnInvalid);  // source outside the picture
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 240, 120, 0, 0, 240, 120, info, bits, true, false, {300, 0, 400, 120}, {}),
                  prnNothing);  // nothing visible
        TDibBlock badInfo = info;
        badInfo[0] = 41;
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 240, 120, 0, 0, 240, 120, badInfo, bits, true, false, {0, 0, 240, 120}, {}),
                  prnInvalid);
    }
}

// An 8-bit DIB with a palette of four entries (entry 2 pure white) and
// the given run-length data.
void MakeRleDib(int bitCount, int w, int h, const std::vector<uint8_t>& data, TDibBlock& info, TDibBlock& bits)
{
    const int colors = 4;
    info.assign(40 + 4 * colors, 0);
    auto put32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; ++i) info[at + i] = static_cast<uint8_t>(v >> (8 * i)); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(w));
    put32(8, static_cast<uint32_t>(h));
    info[12] = 1;
    info[14] = static_cast<uint8_t>(bitCount);
    put32(16, bitCount == 8 ? BI_RLE8 : BI_RLE4);
    put32(20, static_cast<uint32_t>(data.size()));
    put32(32, colors);
    const uint8_t palette[colors][4] = {{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}, {255, 0, 0, 0}};
    std::memcpy(&info[40], palette, sizeof palette);
    bits = data;
}

TEST(PrintRle, RunsAreExpandedOnTheFirstWhiteEntry)
{
    PrnSetSourceBands(true);
    // 4 x 2, bottom row first: row 1 (bottom) = 1 1 1 3; row 0 (top) =
    // skip 2 pixels by a delta, then 3 once: white white 3 white.
    const std::vector<uint8_t> rle8 = {3, 1, 1, 3, 0, 0, /* end of line */
                                       0, 2, 2, 0,       /* delta right 2 */
                                       1, 3, 0, 1};      /* end of bitmap */
    TDibBlock info, bits;
    MakeRleDib(8, 4, 2, rle8, info, bits);
    TRecordingDevice d;
    d.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
    ASSERT_EQ(PrintDIBRect(d, 0, 0, 4, 2, 0, 0, 4, 2, info, bits, true, false, {0, 0, 4, 2}, {}), prnPrinted);
    ASSERT_EQ(d.Bands.size(), 1u);
    TDibHeader h;
    ASSERT_TRUE(AnalyseDibHeader(d.Bands[0].Info, h));
    EXPECT_EQ(h.Compression, BI_RGB);
    const uint8_t* top = &d.Bands[0].Bits[static_cast<std::size_t>(h.RowSize) * 1];
    const uint8_t* bottom = &d.Bands[0].Bits[0];
    EXPECT_EQ(std::vector<int>(bottom, bottom + 4), (std::vector<int>{1, 1, 1, 3}));
    EXPECT_EQ(std::vector<int>(top, top + 4), (std::vector<int>{2, 2, 3, 2}));

    // RLE4: one run of 5 pixels alternating 1 and 3, then a literal of 3
    // nibbles 0 3 1, padded to 16 bits; top row skipped to the end.
    const std::vector<uint8_t> rle4 = {5, 0x13, 0, 3, 0x03, 0x10, 0, 0, 0, 1};
    MakeRleDib(4, 8, 2, rle4, info, bits);
    TRecordingDevice d4;
    d4.Caps = {{gui::RASTERCAPS, gui::RC_BITMAP64}};
    ASSERT_EQ(PrintDIBRect(d4, 0, 0, 8, 2, 0, 0, 8, 2, info, bits, true, false, {0, 0, 8, 2}, {}), prnPrinted);
    ASSERT_TRUE(AnalyseDibHeader(d4.Bands[0].Info, h));
    const uint8_t* b4 = &d4.Bands[0].Bits[0];
    EXPECT_EQ(b4[0], 0x13);
    EXPECT_EQ(b4[1], 0x13);
    EXPECT_EQ(b4[2], 0x10);  // fifth pixel 1, then the literal 0
    EXPECT_EQ(b4[3], 0x31);
    const uint8_t* t4 = &d4.Bands[0].Bits[static_cast<std::size_t>(h.RowSize)];
    EXPECT_EQ(t4[0], 0x22);  // untouched top row: the white index 2
}

TEST(PrintStreams, BmpStreamsAndBitmaps)
{
    TDibBlock info{1}, bits{1};
    int w = 5, h = 5;
    rtl::TMemoryStream notBmp;
    notBmp.WriteString("PM" + std::string(100, '\0'));
    notBmp.SetPosition(0);
    EXPECT_FALSE(LoadDIBFromBMPStream(notBmp, info, bits, w, h));
    EXPECT_TRUE(info.empty());
    EXPECT_TRUE(bits.empty());

    gui::TBitmap bitmap(30, 20, gui::TPixelFormat::pf24bit);
    bitmap.Canvas()->SetPixels(0, 0, gui::clRed);
    bitmap.Canvas()->SetPixels(29, 19, gui::clBlue);
    ASSERT_TRUE(BitmapToDIB(bitmap, info, bits, w, h));
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 20);
    TDibHeader header;
    ASSERT_TRUE(AnalyseDibHeader(info, header));
    EXPECT_EQ(header.BitCount, 24);
    // Bottom-up: the top-left pixel is in the last row.
    const uint8_t* topLeft = &bits[static_cast<std::size_t>(header.RowSize) * 19];
    EXPECT_EQ(topLeft[2], 255);
    EXPECT_EQ(topLeft[0], 0);
    const uint8_t* bottomRight = &bits[3 * 29];
    EXPECT_EQ(bottomRight[0], 255);

    // A stream cut short inside the pixels is refused.
    rtl::TMemoryStream whole;
    bitmap.SaveToStream(whole);
    rtl::TMemoryStream cut;
    cut.WriteBuffer(whole.Memory(), whole.Size() - 10);
    cut.SetPosition(0);
    EXPECT_FALSE(LoadDIBFromBMPStream(cut, info, bits, w, h));
}

// Renders page 1 of a PDF at dpi and returns it as a bitmap.
std::unique_ptr<gui::TBitmap> RenderPdf(const std::filesystem::path& pdf, int dpi)
{
    const std::string base = (pdf.parent_path() / "page").string();
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile \"" + pdf.string() +
                                "\" \"" + base + "\" 2>/dev/null";
    if (std::system(command.c_str()) != 0) return nullptr;
    gui::TPicture picture;
    picture.LoadFromFile(base + ".png");
    auto bitmap = std::make_unique<gui::TBitmap>();
    bitmap->Assign(picture.Bitmap());
    return bitmap;
}

// Bounds of the pixels that are clearly not white.
TRect InkBounds(gui::TBitmap& b)
{
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const gui::TColor c = b.Canvas()->Pixels(x, y);
            if (gui::GetRValue(c) + gui::GetGValue(c) + gui::GetBValue(c) < 600) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
        }
    return r;
}

TEST(PrintPdf, MapScaledToThePageAreaAndCentred)
{
    const auto dir = tectest::ScratchDir("print-pdf");
    const auto pdf = dir / "map.pdf";
    gui::TPrinter printer;
    printer.SetOutputFileName(pdf.string());
    printer.SetResolution(300);
    printer.SetOrientation(gui::TPrinterOrientation::poLandscape);

    gui::TBitmap map(2000, 1000, gui::TPixelFormat::pf24bit);
    map.Canvas()->Brush()->SetColor(gui::clRed);
    map.Canvas()->FillRect({0, 0, 1000, 1000});
    map.Canvas()->Brush()->SetColor(gui::clBlue);
    map.Canvas()->FillRect({1000, 0, 2000, 1000});
    TDibBlock info, bits;
    int w, h;
    ASSERT_TRUE(BitmapToDIB(map, info, bits, w, h));

    PrnSetShowErrors(true);
    PrnSetUseBlit(true);
    PrnSetPixelScale(1, 1);
    PrnSetSourceBands(true);
    printer.BeginDoc();
    TCanvasPrnDevice device(*printer.Canvas(), {1920, 1080});
    TPageMetrics m;
    ASSERT_TRUE(GetPageMetrics(device, m));
    int tiles = 0;
    ASSERT_EQ(PrintDIB(device, info, bits, true, true, [&](int, int count) { tiles = count; return 1; }), prnPrinted);
    printer.EndDoc();
    PrnSetUseBlit(false);
    PrnSetShowErrors(false);
    EXPECT_GE(tiles, 2);

    // Where the engine puts the picture, in page pixels at 300 dpi.
    TRect expected = FitPictureRect(2000, 1000, m.AreaWidth, m.AreaHeight, true);
    gui::OffsetRect(expected, m.Margin, m.Margin);  // area origin on the paper
    auto page = RenderPdf(pdf, 30);
    ASSERT_TRUE(page);
    const TRect ink = InkBounds(*page);
    EXPECT_NEAR(ink.Left, expected.Left / 10.0, 2);
    EXPECT_NEAR(ink.Top, expected.Top / 10.0, 2);
    EXPECT_NEAR(ink.Right, expected.Right / 10.0, 2);
    EXPECT_NEAR(ink.Bottom, expected.Bottom / 10.0, 2);
    // Left half red, right half blue.
    const int midY = (ink.Top + ink.Bottom) / 2;
    const gui::TColor left = page->Canvas()->Pixels(ink.Left + 5, midY);
    const gui::TColor right = page->Canvas()->Pixels(ink.Right - 5, midY);
    EXPECT_GT(gui::GetRValue(left), 200);
    EXPECT_LT(gui::GetBValue(left), 60);
    EXPECT_GT(gui::GetBValue(right), 200);
    EXPECT_LT(gui::GetRValue(right), 60);
}

// The palette step: which palette each mode selects on a palette device
// (8 bits, RC_PALETTE) and on a true-colour one, with and without a given
// palette and the create flag; what it selects is selected back at the end.
class TPaletteDevice : public TRecordingDevice {
public:
    const TPrnPalette* Given = nullptr;
    std::vector<std::string> Calls;
    std::vector<uint32_t> Created;
    int SelectPalette(const TPrnPalette& palette, bool background) override
    {
        if (&palette != Given) Created = palette.Entries;
        Calls.push_back(std::string(&palette == Given ? "select given" : "select created") +
                        (background ? " background" : ""));
        return 42;
    }
    void RealizePalette() override { Calls.push_back("realize"); }
    void RestorePalette(int previous) override { Calls.push_back("restore " + std::to_string(previous)); }
    bool StretchDIBits(const TRect& dest, const TRect& source, const TDibBlock& info, const TDibBlock& bits) override
    {
        if (Calls.empty() || Calls.back() != "band") Calls.push_back("band");
        return TRecordingDevice::StretchDIBits(dest, source, info, bits);
    }
};

TEST(PrintPalette, ModesDevicesAndTheCreateFlag)
{
    // An 8-bit picture of 4 x 2 pixels with four colours: red, green, blue, white.
    TDibBlock info(40 + 16, 0), bits(8, 0);
    info[0] = 40;
    info[4] = 4;
    info[8] = 2;
    info[12] = 1;
    info[14] = 8;
    info[32] = 4;
    const uint8_t quads[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};  // blue, green, red
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 3; ++k) info[static_cast<std::size_t>(40 + 4 * i + k)] = quads[i][k];
    const std::vector<uint32_t> table = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};  // as RGB, red low
    const TPrnPalette given{{0x123456}};
    const std::vector<std::string> none = {"band"};
    const std::vector<std::string> withGiven = {"select given background", "realize", "band", "restore 42"};
    const std::vector<std::string> withCreated = {"select created background", "realize", "band", "restore 42"};
    struct Case {
        int mode;
        bool paletteDevice, hasGiven, create;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, true, true, false, withGiven},     {0, true, true, true, withGiven},
        {0, true, false, true, withCreated},   {0, true, false, false, none},
        {0, false, true, true, none},          {0, false, false, true, none},
        {1, true, true, true, withGiven},      {1, false, true, false, withGiven},
        {1, true, false, true, none},          {2, true, true, false, withCreated},
        {2, true, false, false, withCreated},  {2, false, true, true, none},
    };
    const int savedMode = PrnOptions().PaletteMode;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.paletteDevice ? " palette" : " true colour")
                                        << (c.hasGiven ? " given" : "") << (c.create ? " create" : ""));
        PrnOptions().PaletteMode = c.mode;
        TPaletteDevice d;
        d.Caps[gui::BITSPIXEL] = c.paletteDevice ? 8 : 24;
        d.Caps[gui::PLANES] = 1;
        d.Caps[gui::RASTERCAPS] = gui::RC_BITMAP64 | (c.paletteDevice ? gui::RC_PALETTE : 0);
        d.Given = c.hasGiven ? &given : nullptr;
        EXPECT_EQ(IsPaletteDevice(d), c.paletteDevice);
        EXPECT_EQ(PrintDIBRect(d, 0, 0, 40, 20, 0, 0, 4, 2, info, bits, true, c.create, {0, 0, 40, 20}, {},
                               d.Given),
                  prnPrinted);
        EXPECT_EQ(d.Calls, c.calls);
        if (c.calls == withCreated) { EXPECT_EQ(d.Created, table); }
    }
    // Four planes of two bits are a palette device too; 24 bits in one are not.
    TPaletteDevice planes;
    planes.Caps[gui::BITSPIXEL] = 2;
    planes.Caps[gui::PLANES] = 4;
    planes.Caps[gui::RASTERCAPS] = gui::RC_PALETTE;
    EXPECT_TRUE(IsPaletteDevice(planes));
    planes.Caps[gui::PLANES] = 5;
    EXPECT_FALSE(IsPaletteDevice(planes));
    PrnOptions().PaletteMode = savedMode;
}

} // namespace
