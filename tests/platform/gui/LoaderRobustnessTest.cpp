// Damaged picture files: every reader (BMP, PNG, JPEG, icons, GIF,
// metafiles, pictures by content) reads them or raises EInvalidGraphic;
// none crashes, hangs or asks for absurd memory.

#include <gtest/gtest.h>


#include "MalformedInputs.h"
#include "TestPaths.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/IconImage.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/Metafile.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Streams.h"

TEC_LIMIT_ALLOCATIONS()

using namespace gui;

namespace {

std::string Saved(const TGraphic& g)
{
    rtl::TStringStream s;
    g.SaveToStream(s);
    return s.DataString();
}

std::unique_ptr<TBitmap> Sample(TPixelFormat pf)
{
    auto bmp = std::make_unique<TBitmap>(5, 3, pf);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) bmp->Canvas()->SetPixels(x, y, RGB(x * 50, y * 80, 7));
    return bmp;
}

void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF); Put16(s, v >> 16); }

// An icon of one 2x2 image at 32 bits, and one that holds a PNG.
std::string IconFile(const std::string& image, int bpp)
{
    std::string f;
    Put16(f, 0); Put16(f, 1); Put16(f, 1);
    f += char(2); f += char(2); f += char(0); f += char(0);
    Put16(f, 1); Put16(f, static_cast<uint32_t>(bpp));
    Put32(f, static_cast<uint32_t>(image.size())); Put32(f, 22);
    return f + image;
}

std::string IconDib()
{
    std::string d;
    Put32(d, 40); Put32(d, 2); Put32(d, 4); Put16(d, 1); Put16(d, 32);
    for (int k = 0; k < 6; ++k) Put32(d, 0);
    for (int k = 0; k < 4; ++k) Put32(d, 0xFF102030u + k);
    for (int k = 0; k < 2; ++k) Put32(d, 0);   // the mask rows
    return d;
}

template <class G>
void CheckReader(const std::string& valid, const std::vector<std::size_t>& offsets)
{
    for (const auto& c : MalformedVariants(valid, offsets))
        ExpectReadsOrRaises(c, [](const std::string& bytes) {
            G g;
            rtl::TStringStream s(bytes);
            try {
                g.LoadFromStream(s);
            } catch (const EInvalidGraphic&) {
                throw;
            } catch (const rtl::Exception& e) {
                ADD_FAILURE() << "not EInvalidGraphic: " << e.Message();
            }
            // What was read can be drawn.
            TBitmap out(8, 8, TPixelFormat::pf24bit);
            out.Canvas()->Draw(0, 0, &g);
        });
}

} // namespace

TEST(LoaderRobustness, Bitmaps)
{
    const std::vector<std::size_t> header = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};
    CheckReader<TBitmap>(Saved(*Sample(TPixelFormat::pf24bit)), header);
    CheckReader<TBitmap>(Saved(*Sample(TPixelFormat::pf8bit)), header);
    CheckReader<TBitmap>(Saved(*Sample(TPixelFormat::pf4bit)), header);
}

TEST(LoaderRobustness, PngAndJpeg)
{
    auto src = Sample(TPixelFormat::pf24bit);
    TPngImage png;
    png.Assign(src.get());
    CheckReader<TPngImage>(Saved(png), {8, 16, 20, 24, 29, 33});
    CheckReader<TPngImage>(tectest::ReadText(tectest::DataFile("platform/gui/palette8.png")), {16, 20, 33, 37});
    TJPEGImage jpg;
    jpg.Assign(src.get());
    const std::string j = Saved(jpg);
    std::vector<std::size_t> at;
    for (std::size_t k = 2; k + 4 < j.size() && k < 200; k += 7) at.push_back(k);
    CheckReader<TJPEGImage>(j, at);
}

TEST(LoaderRobustness, IconsAndGif)
{
    CheckReader<TIcon>(IconFile(IconDib(), 32), {6, 14, 18, 22, 26, 30, 36});
    auto src = Sample(TPixelFormat::pf24bit);
    TPngImage png;
    png.Assign(src.get());
    CheckReader<TIcon>(IconFile(Saved(png), 32), {14, 18, 30, 38, 42});
    for (const char* name : {"htmltext/still.gif", "htmltext/frames3.gif"}) {
        const std::string gif = tectest::ReadText(tectest::DataFile(name));
        ASSERT_FALSE(gif.empty()) << name;
        std::vector<std::size_t> at;
        for (std::size_t k = 4; k + 4 < gif.size() && k < 120; k += 3) at.push_back(k);
        CheckReader<TGifImage>(gif, at);
    }
    // A screen of 65535 x 65535 pixels in a file of a few bytes is refused
    // before its room is taken.
    std::string huge = tectest::ReadText(tectest::DataFile("htmltext/still.gif"));
    huge.replace(6, 4, "\xFF\xFF\xFF\xFF");
    rtl::TStringStream s(huge);
    TGifImage gif;
    EXPECT_THROW(gif.LoadFromStream(s), EInvalidGraphic);
}

TEST(LoaderRobustness, Metafiles)
{
    TMetafile mf;
    {
        TMetafileCanvas c(&mf, 60, 40);
        c.Brush()->SetColor(clRed);
        c.Rectangle(2, 2, 30, 20);
        c.MoveTo(0, 35);
        c.LineTo(50, 35);
        c.Font()->SetName("DejaVu Sans");
        c.TextOut(5, 22, "Sun");
        c.Draw(40, 5, Sample(TPixelFormat::pf24bit).get());
    }
    const std::string emf = Saved(mf);
    std::vector<std::size_t> at;
    for (std::size_t k = 0; k + 4 < emf.size(); k += 4) at.push_back(k);
    CheckReader<TMetafile>(emf, at);
}

TEST(LoaderRobustness, PicturesByContent)
{
    auto src = Sample(TPixelFormat::pf24bit);
    TPngImage png;
    png.Assign(src.get());
    for (const std::string& valid : std::vector<std::string>{Saved(*src), Saved(png)})
        for (const auto& c : MalformedVariants(valid, {2, 10, 16, 18, 22}))
            ExpectReadsOrRaises(c, [](const std::string& bytes) {
                TPicture pic;
                rtl::TStringStream s(bytes);
                pic.LoadFromStream(s);
                pic.Bitmap();
            });
}
