// Line, picture and shape views drawn on a bitmap and checked at chosen
// pixels; picture format sniffing and kept metafile bytes; the picture
// cache in memory and in files.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/gui/IconImage.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Files.h"
#include "report/qlrClass.h"
#include "report/qlrPictureCache.h"
#include "report/qlrXML.h"

using namespace qlr;
using gui::clBlack;
using gui::clWhite;

namespace {

struct Canvas {
    gui::TBitmap bmp;
    Canvas(int w = 130, int h = 130) : bmp(w, h)
    {
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(gui::TRect(0, 0, w, h));
    }
    gui::TColor At(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
    bool Dark(int x, int y) { return (At(x, y) & 0xFF) < 128; }
};

void Keep(gui::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("REPORT_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/" + name, rtl::fmCreate);
        png.SaveToStream(f);
    }
}

// A 100 x 50 red bitmap as BMP bytes.
std::string RedBitmapBytes(int w = 100, int h = 50)
{
    gui::TBitmap b(w, h);
    b.Canvas()->Brush()->SetColor(gui::clRed);
    b.Canvas()->FillRect(gui::TRect(0, 0, w, h));
    rtl::TMemoryStream ms;
    b.SaveToStream(ms);
    return std::string(ms.View());
}

std::string PngBytes()
{
    gui::TBitmap b(4, 3);
    gui::TPngImage png;
    png.Assign(&b);
    rtl::TMemoryStream ms;
    png.SaveToStream(ms);
    return std::string(ms.View());
}

std::string JpegBytes()
{
    gui::TBitmap b(8, 8);
    gui::TJPEGImage jpg;
    jpg.Assign(&b);
    rtl::TMemoryStream ms;
    jpg.SaveToStream(ms);
    return std::string(ms.View());
}

// A placeable metafile header (22 bytes) and a tiny body.
std::string MetafileBytes()
{
    std::string s(22, '\0');
    const uint8_t head[] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x60, 0, 0x30, 0, 0x60, 0};
    for (std::size_t i = 0; i < sizeof head; ++i) s[i] = static_cast<char>(head[i]);
    return s + std::string("\x01\x00\x09\x00\x00\x03\x11\x00\x00\x00", 10);
}

// A 3 x 2 GIF written with literal codes only (a clear code before the
// table would widen the codes), so that it does not depend on the reader's
// table building: red, green, blue / blue, transparent, red.
std::string GifBytes()
{
    std::string s = "GIF89a";
    s += std::string{3, 0, 2, 0, static_cast<char>(0x81), 0, 0};     // 3 x 2, 4-colour table
    s += std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00", 12);
    s += std::string("\x21\xF9\x04\x01\x00\x00\x03\x00", 8);   // index 3 transparent
    s += std::string("\x2C\x00\x00\x00\x00\x03\x00\x02\x00\x00", 10);
    // Codes of 3 bits (minimum code size 2): clear 4, then each index followed
    // by a clear so the width stays 3, then end 5.
    const int indexes[] = {0, 1, 2, 2, 3, 0};
    std::vector<int> codes{4};
    for (int i : indexes) {
        codes.push_back(i);
        codes.push_back(4);
    }
    codes.push_back(5);
    std::string data;
    uint32_t bits = 0;
    int n = 0;
    for (int c : codes) {
        bits |= static_cast<uint32_t>(c) << n;
        n += 3;
        while (n >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            n -= 8;
        }
    }
    if (n > 0) data += static_cast<char>(bits & 0xFF);
    s += '\x02';
    s += static_cast<char>(data.size());
    s += data;
    s += std::string("\x00\x3B", 2);
    return s;
}

// A 2 x 2 icon of 24-bit pixels with an AND mask: yellow, black / white,
// transparent (rows stored bottom-up).
std::string IconBytes()
{
    std::string dib(40, '\0');
    auto put32 = [](std::string& s, std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(dib, 0, 40);
    put32(dib, 4, 2);
    put32(dib, 8, 4);  // twice the height: colours and mask
    dib[12] = 1;
    dib[14] = 24;
    // Bottom row first: white, (transparent: any colour); then the top row:
    // yellow, black.  Rows padded to 4 bytes (6 + 2).
    dib += std::string("\xFF\xFF\xFF\x12\x34\x56\x00\x00", 8);
    dib += std::string("\x00\xFF\xFF\x00\x00\x00\x00\x00", 8);
    // Mask rows (bottom-up), 1 bit a pixel padded to 4 bytes: 01, 00.
    dib += std::string("\x40\x00\x00\x00\x00\x00\x00\x00", 8);
    std::string ico("\x00\x00\x01\x00\x01\x00", 6);
    std::string entry(16, '\0');
    entry[0] = 2;
    entry[1] = 2;
    entry[4] = 1;
    entry[6] = 24;
    put32(entry, 8, static_cast<uint32_t>(dib.size()));
    put32(entry, 12, 22);
    return ico + entry + dib;
}

uint32_t Load(TqlrPictureView& v, const std::string& bytes)
{
    rtl::TMemoryStream ms;
    ms.WriteString(bytes);
    return v.LoadPictureFromStream(ms, true);
}

} // namespace

TEST(ReportLineView, StraightLinesBecomeAxisParallel)
{
    Canvas c;
    TqlrLineView h(nullptr);
    h.SetBounds(10, 20, 100, 1);
    h.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(h.Height(), 0);
    EXPECT_EQ(h.Frame()->Typ().ToMask(), 4u);  // ftTop only
    EXPECT_TRUE(c.Dark(50, 20));
    EXPECT_FALSE(c.Dark(50, 21));

    TqlrLineView sq(nullptr);
    sq.SetBounds(60, 60, 30, 30);
    sq.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(sq.Width(), 0);
    EXPECT_EQ(sq.Frame()->Typ().ToMask(), 1u);  // ftLeft only
    EXPECT_TRUE(c.Dark(60, 75));
}

TEST(ReportLineView, DiagonalsAndArrows)
{
    Canvas c;
    TqlrLineView d(nullptr);
    d.Diagonal = true;
    d.SetBounds(100, 10, -80, 80);  // from top right to bottom left
    d.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_TRUE(c.Dark(99, 11) || c.Dark(100, 10));
    EXPECT_TRUE(c.Dark(60, 50));
    EXPECT_FALSE(c.Dark(40, 50));

    Canvas a;
    TqlrLineView arrow(nullptr);
    arrow.SetBounds(10, 60, 100, 1);
    arrow.ArrowEnd = true;
    arrow.ArrowSolid = true;
    arrow.Draw(a.bmp.Canvas(), 1, 1, 0, 0);
    Keep(a.bmp, "line_arrow.png");
    // A solid head 20 long and 2 x 5 wide with its tip at x = 110: half its
    // width (2.5 on each side) halfway along.
    EXPECT_TRUE(a.Dark(92, 56));
    EXPECT_TRUE(a.Dark(92, 64));
    EXPECT_TRUE(a.Dark(100, 58));
    EXPECT_TRUE(a.Dark(100, 62));
    EXPECT_FALSE(a.Dark(100, 65));
    EXPECT_FALSE(a.Dark(50, 57));
}

TEST(ReportPictureView, StretchedAspectKeptAndCentred)
{
    Canvas c;
    TqlrPictureView p(nullptr);
    ASSERT_EQ(Load(p, RedBitmapBytes()), 0u);
    p.SetBounds(10, 10, 100, 100);
    p.SetCenter(true);
    p.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    Keep(c.bmp, "picture_centred.png");
    EXPECT_EQ(c.At(60, 60), gui::clRed);
    EXPECT_EQ(c.At(60, 36), gui::clRed);
    EXPECT_EQ(c.At(60, 84), gui::clRed);
    EXPECT_EQ(c.At(60, 34), clWhite);
    EXPECT_EQ(c.At(60, 86), clWhite);
    EXPECT_EQ(c.At(11, 60), gui::clRed);

    // AutoSize takes the graphic's size directly.
    p.SetAutoSize(true);
    EXPECT_EQ(p.Width(), 100);
    EXPECT_EQ(p.Height(), 50);
}

TEST(ReportPictureView, FormatSniffing)
{
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t result;
        std::string extension;
    } cases[] = {
        {"bmp", RedBitmapBytes(4, 4), 0, "bmp"},
        {"png", PngBytes(), 0, "png"},
        {"jpeg", JpegBytes(), 0, "jpg"},
        {"gif", GifBytes(), 0, "gif"},
        {"icon", IconBytes(), 0, "ico"},
        {"icon header without an image", std::string("\x00\x00\x01\x00\x01\x00\x10\x10", 8), 0x80070057u, ""},
        {"metafile", MetafileBytes(), 0, "wmf"},
        {"enhanced metafile", [] {
             std::string s(100, '\0');
             s[0] = 1;
             s[40] = 0x20; s[41] = 0x45; s[42] = 0x4D; s[43] = 0x46;
             return s;
         }(), 0, "emf"},
        {"database header before a jpeg", [] {
             std::string j = JpegBytes();
             uint32_t n = static_cast<uint32_t>(j.size());
             std::string h = std::string("\x01\x00\x00\x01", 4) +
                             std::string{static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                                         static_cast<char>((n >> 16) & 0xFF), static_cast<char>(n >> 24)};
             return h + j;
         }(), 0, "jpg"},
        {"unknown", "hello, world", 0x80070057u, ""},
        {"empty", "", 0x80070057u, ""},
    };
    for (const Case& c : cases) {
        TqlrPictureView p(nullptr);
        ASSERT_EQ(Load(p, RedBitmapBytes(2, 2)), 0u);
        EXPECT_EQ(Load(p, c.bytes), c.result) << c.name;
        gui::TGraphic* g = p.Picture()->Graphic();
        if (c.extension.empty()) { EXPECT_EQ(g, nullptr) << c.name; }
        else {
            ASSERT_NE(g, nullptr) << c.name;
            EXPECT_EQ(g->DefaultExtension(), c.extension) << c.name;
        }
    }
}

// A 16 x 4 GIF of eight colours, compressed by a standard LZW encoder
// (codes growing from 4 to 6 bits): pixel (x, y) has colour index
// ((3x + y) div 2) mod 8 of black, red, lime, blue, yellow, aqua, fuchsia,
// white.
const std::string kCompressedGif(
    "\x47\x49\x46\x38\x39\x61\x10\x00\x04\x00\x82\x00\x00\x00\x00\x00\xFF\x00\x00\x00\xFF"
    "\x00\x00\x00\xFF\xFF\xFF\x00\x00\xFF\xFF\xFF\x00\xFF\xFF\xFF\xFF\x2C\x00\x00\x00\x00"
    "\x10\x00\x04\x00\x00\x03\x1A\x08\x31\x64\x17\x82\x94\x03\xC4\x28\xA6\xDE\xBC\xDA\x8B"
    "\x13\x24\x51\x16\xA6\x30\x4E\x97\x82\xE4\x06\x24\x00\x3B",
    77);

TEST(ReportPictureView, IconsAndGifsAreDecoded)
{
    {
        TqlrPictureView v(nullptr);
        ASSERT_EQ(Load(v, kCompressedGif), 0u);
        auto* g = dynamic_cast<gui::TGifImage*>(v.Picture()->Graphic());
        ASSERT_NE(g, nullptr);
        const gui::TColor pal[] = {gui::clBlack, gui::clRed, gui::clLime, gui::clBlue,
                                   gui::clYellow, gui::clAqua, gui::clFuchsia, gui::clWhite};
        int wrong = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 16; ++x) wrong += g->Pixel(x, y) != pal[((3 * x + y) / 2) % 8];
        EXPECT_EQ(wrong, 0);
    }
    TqlrPictureView gif(nullptr);
    ASSERT_EQ(Load(gif, GifBytes()), 0u);
    auto* g = dynamic_cast<gui::TGifImage*>(gif.Picture()->Graphic());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Width(), 3);
    EXPECT_EQ(g->Height(), 2);
    EXPECT_EQ(g->Pixel(0, 0), gui::clRed);
    EXPECT_EQ(g->Pixel(1, 0), gui::clLime);
    EXPECT_EQ(g->Pixel(2, 0), gui::clBlue);
    EXPECT_EQ(g->Pixel(0, 1), gui::clBlue);
    EXPECT_EQ(g->Pixel(1, 1), gui::clNone);
    EXPECT_EQ(g->Pixel(2, 1), gui::clRed);

    TqlrPictureView ico(nullptr);
    ASSERT_EQ(Load(ico, IconBytes()), 0u);
    auto* i = dynamic_cast<gui::TIcon*>(ico.Picture()->Graphic());
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->Pixel(0, 0), gui::clYellow);
    EXPECT_EQ(i->Pixel(1, 0), gui::clBlack);
    EXPECT_EQ(i->Pixel(0, 1), gui::clWhite);
    EXPECT_EQ(i->Pixel(1, 1), gui::clNone);

    // Drawn stretched, the transparent pixel leaves the background.
    Canvas c(20, 20);
    ico.SetBounds(0, 0, 20, 20);
    ico.SetKeepAspectRatio(false);
    ico.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(c.At(5, 5), gui::clYellow);
    EXPECT_EQ(c.At(15, 15), clWhite);
    EXPECT_EQ(c.At(5, 15), clWhite);
    // The bytes are kept as read.
    rtl::TMemoryStream out;
    i->SaveToStream(out);
    EXPECT_EQ(std::string(out.View()), IconBytes());
}

TEST(ReportPictureView, MetafileBytesSurviveATemplateRoundTrip)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrReportPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* pic = new TqlrPictureView(band);
    pic->SetName("Picture1");
    ASSERT_EQ(Load(*pic, MetafileBytes()), 0u);
    rtl::TMemoryStream ms;
    report.SaveToStream(ms);
    TqlrReport back(nullptr);
    ms.SetPosition(0);
    back.LoadFromStream(ms);
    auto* p2 = dynamic_cast<TqlrPictureView*>(back.FindObject("Picture1"));
    ASSERT_NE(p2, nullptr);
    auto* kept = dynamic_cast<TqlrKeptGraphic*>(p2->Picture()->Graphic());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Bytes(), MetafileBytes());
    EXPECT_EQ(kept->Width(), 96);   // 0x60 units at 96 per inch
    // It draws as a framed placeholder.
    Canvas c;
    p2->SetBounds(10, 10, 50, 50);
    p2->Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_NE(c.At(10, 10), clWhite);
}

TEST(ReportShapeView, ShapesAndDoubleFrames)
{
    // A rounded rectangle with automatic corners in 40 x 100 pixels: corner
    // 40 div 4 = 10, so the corner pixel stays empty.
    Canvas c;
    TqlrShapeView r(nullptr);
    r.SetShape(TqlrShapeKind::skRoundRectangle);
    r.SetBounds(10, 10, 40, 100);
    r.Draw(c.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_FALSE(c.Dark(10, 10));
    EXPECT_TRUE(c.Dark(10, 60));
    EXPECT_TRUE(c.Dark(30, 10));

    // A double frame: a second outline 2 units inside (4 for a triangle).
    Canvas d;
    TqlrShapeView rect(nullptr);
    rect.SetBounds(10, 10, 100, 100);
    rect.Frame()->SetStyle(TqlrFrameStyle::fsDouble);
    rect.Draw(d.bmp.Canvas(), 1, 1, 0, 0);
    EXPECT_TRUE(d.Dark(10, 60));
    EXPECT_FALSE(d.Dark(11, 60));
    EXPECT_TRUE(d.Dark(12, 60));
    EXPECT_EQ(rect.Frame()->Style(), TqlrFrameStyle::fsDouble);
    EXPECT_EQ(rect.Left(), 10);

    Canvas t;
    TqlrShapeView tri(nullptr);
    tri.SetShape(TqlrShapeKind::skTriangle);
    tri.SetBounds(10, 10, 100, 100);
    tri.Frame()->SetStyle(TqlrFrameStyle::fsDouble);
    tri.Draw(t.bmp.Canvas(), 1, 1, 0, 0);
    Keep(t.bmp, "shape_triangle_double.png");
    EXPECT_TRUE(t.Dark(60, 110));   // outer base
    EXPECT_TRUE(t.Dark(60, 108));   // inner base: 4 down, height less 6
    EXPECT_FALSE(t.Dark(60, 109));

    // Every kind draws something inside its box, nothing outside.
    for (int k = 0; k <= 6; ++k) {
        Canvas s;
        TqlrShapeView v(nullptr);
        v.SetShape(static_cast<TqlrShapeKind>(k));
        v.SetBounds(20, 20, 60, 60);
        v.SetColor(gui::clBlue);
        v.Draw(s.bmp.Canvas(), 1, 1, 0, 0);
        int inked = 0, outside = 0;
        for (int y = 0; y < 130; ++y)
            for (int x = 0; x < 130; ++x) {
                if (s.At(x, y) == clWhite) continue;
                ++inked;
                if (x < 20 || y < 20 || x > 81 || y > 81) ++outside;
            }
        EXPECT_GT(inked, 50) << k;
        EXPECT_EQ(outside, 0) << k;
    }
}

TEST(ReportPictureCache, IndexesBytesAndSegments)
{
    TqlrPictureCache cache;
    cache.SetSegmentLimit(150);  // the second picture ends the first segment
    std::vector<std::unique_ptr<TqlrPictureView>> views;
    for (int i = 0; i < 3; ++i) {
        views.push_back(std::make_unique<TqlrPictureView>(nullptr));
        ASSERT_EQ(Load(*views.back(), RedBitmapBytes(4 + i, 4)), 0u);
        cache.AddPicture(views.back().get());
        EXPECT_EQ(views.back()->ImageIndex(), i + 1);
    }
    EXPECT_EQ(cache.SegmentCount(), 2);
    TqlrPictureView none(nullptr);
    cache.AddPicture(&none);
    EXPECT_EQ(none.ImageIndex(), 0);
    EXPECT_EQ(cache.Count(), 3);

    TqlrXMLItem xml;
    cache.SaveToXML(&xml);
    ASSERT_EQ(xml.Count(), 3);
    TqlrPictureCache back;
    back.LoadFromXML(&xml);
    for (int i = 0; i < 3; ++i) {
        TqlrPictureView v(nullptr);
        v.SetImageIndex(i + 1);
        back.GetPicture(&v);
        ASSERT_NE(v.Picture()->Graphic(), nullptr);
        EXPECT_EQ(v.Picture()->Width(), 4 + i);
        rtl::TMemoryStream a, b;
        v.Picture()->Graphic()->SaveToStream(a);
        views[static_cast<std::size_t>(i)]->Picture()->Graphic()->SaveToStream(b);
        EXPECT_EQ(a.View(), b.View()) << i;
    }
    TqlrPictureView out(nullptr);
    ASSERT_EQ(Load(out, RedBitmapBytes()), 0u);
    out.SetImageIndex(9);
    back.GetPicture(&out);
    EXPECT_EQ(out.Picture()->Graphic(), nullptr);
}

TEST(ReportPictureCache, FilesAreMadeOnceAndDeleted)
{
    TqlrPictureCache cache;
    cache.SetUseFileCache(true);
    TqlrPictureView v(nullptr);
    ASSERT_EQ(Load(v, RedBitmapBytes()), 0u);
    cache.AddPicture(&v);
    cache.SetUseFileCache(false);  // too late: no effect
    EXPECT_TRUE(cache.UseFileCache());
    cache.AddPicture(&v);
    ASSERT_EQ(cache.TempFiles().size(), 1u);
    std::string file = cache.TempFiles()[0];
    EXPECT_TRUE(rtl::FileExists(file));
    EXPECT_NE(file.find("qlPic"), std::string::npos);
    TqlrPictureView back(nullptr);
    back.SetImageIndex(2);
    cache.GetPicture(&back);
    EXPECT_EQ(back.Picture()->Width(), 100);
    cache.Clear();
    EXPECT_FALSE(rtl::FileExists(file));
}
