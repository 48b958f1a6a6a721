// Markup pictures: decoding PNG, JPEG, BMP and GIF frames, animation steps,
// address schemes, the cache and the container, and images drawn from them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MarkupFixture.h"
#include "TestPaths.h"
#include "htmltext/GrdHTMLE.h"
#include "htmltext/PictureContainer.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Exceptions.h"

using namespace htmltext;
using namespace markuptest;

namespace {

std::string Gif3() { return tectest::DataFile("htmltext/frames3.gif"); }

// The colour of a decoded frame's pixel.
gui::TColor FramePixel(const THTMLPicture& p, int x, int y)
{
    gui::TBitmap b(p.Width(), p.Height());
    b.Canvas()->Brush()->SetColor(gui::clWhite);
    b.Canvas()->FillRect(gui::Rect(0, 0, p.Width(), p.Height()));
    b.Canvas()->Draw(0, 0, p.Decoded());
    return b.Canvas()->Pixels(x, y);
}

} // namespace

TEST(HTMLPicture, GifFramesOffsetsAndDelays)
{
    THTMLPicture p;
    p.LoadFromFile(Gif3());
    ASSERT_FALSE(p.Empty());
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.Width(), 4);
    EXPECT_EQ(p.MaxWidth(), 6);
    EXPECT_EQ(p.MaxHeight(), 6);
    EXPECT_EQ(FramePixel(p, 2, 2), gui::RGB(255, 0, 0));
    EXPECT_EQ(FramePixel(p, 0, 0), gui::clWhite);   // the transparent index shows the background

    int changes = 0;
    p.OnFrameChange = [&](rtl::TObject*) { ++changes; };
    p.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.FrameXPos(), 2);
    EXPECT_EQ(p.FrameYPos(), 1);
    EXPECT_EQ(FramePixel(p, 2, 2), gui::RGB(0, 255, 0));
    p.SetFrame(3);
    EXPECT_EQ(p.FrameXPos(), 1);
    EXPECT_EQ(p.FrameYPos(), 2);
    EXPECT_EQ(FramePixel(p, 2, 2), gui::RGB(0, 0, 255));

    // Packed byte 0x09: transparency bit set, disposal method 2 (restore
    // to background) in bits 2 to 4.
    EXPECT_EQ(p.GetFrameDelay(1), 10);
    EXPECT_TRUE(p.FrameTransparent());
    EXPECT_EQ(p.FrameDisposal(), 2);
    EXPECT_EQ(p.GetFrameDelay(4), -1);

    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
}

TEST(HTMLPicture, StepFollowsTheFrameDelays)
{
    THTMLPicture p;
    p.LoadFromFile(Gif3());
    std::vector<bool> changed;
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        changed.push_back(p.Step());
        frames.push_back(p.Frame());
    }
    EXPECT_EQ(changed, (std::vector<bool>{false, false, true, true, true, true}));
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 3, 1, 2}));

    THTMLPicture still;
    still.LoadFromFile(tectest::DataFile("htmltext/still.gif"));
    EXPECT_EQ(still.FrameCount(), 0);
    EXPECT_EQ(still.MaxWidth(), still.Width());
    EXPECT_EQ(still.Width(), 6);
    EXPECT_FALSE(still.Step());
    EXPECT_FALSE(still.Step());
    EXPECT_FALSE(still.Step());
}

TEST(HTMLPicture, GifRecognitionAndErrors)
{
    THTMLPicture p;
    rtl::TStringStream four("GIF8");
    EXPECT_THROW(p.LoadFromStream(four), rtl::Exception);
    EXPECT_FALSE(p.IsGIF());
    rtl::TStringStream five("GIF89");
    try {
        p.LoadFromStream(five);
        FAIL() << "five bytes are no picture";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Could not load image. Invalid format");
    }
    EXPECT_TRUE(p.IsGIF());

    auto dir = tectest::ScratchDir("htmlpic");
    std::ofstream(dir / "junk.png") << "not a picture";
    THTMLPicture q;
    EXPECT_NO_THROW(q.LoadFromFile((dir / "junk.png").string()));
    EXPECT_TRUE(q.Empty());
    EXPECT_NO_THROW(q.LoadFromFile((dir / "missing.png").string()));
    EXPECT_TRUE(q.Empty());
}

TEST(HTMLPicture, FormatsThroughMarkupFromFiles)
{
    auto dir = tectest::ScratchDir("htmlimg");
    gui::TBitmap src(7, 5);
    src.Canvas()->Brush()->SetColor(gui::RGB(255, 0, 0));
    src.Canvas()->FillRect(gui::Rect(0, 0, 7, 5));
    src.SaveToFile((dir / "p.bmp").string());
    gui::TPngImage png;
    png.Assign(&src);
    png.SaveToFile((dir / "p.png").string());
    gui::TJPEGImage jpg;
    jpg.Assign(&src);
    jpg.SetCompressionQuality(100);
    jpg.SaveToFile((dir / "p.jpg").string());

    THTMLPicture bmp;
    bmp.LoadFromFile((dir / "p.bmp").string());
    EXPECT_EQ(bmp.FrameCount(), -1);
    EXPECT_EQ(bmp.FrameCount(), -1);

    for (const char* name : {"p.bmp", "p.png", "p.jpg"}) {
        Canvas cv;
        THTMLPictureCache cache;
        TMarkupOptions o;
        o.PictureCache = &cache;
        std::string url = "FILE://" + (dir / name).string();
        TMarkupResult r;
        DrawMarkupText(TMarkupDialect::mdGrid, cv.C(), "<img src=\"" + url + "\">a", gui::Rect(0, 0, 300, 100), o, r);
        EXPECT_EQ(r.XSize, 7 + kCharW) << name;
        EXPECT_EQ(cache.Count(), 1);
        gui::TColor c = cv.C().Pixels(3, 2);   // images hang from the line top
        EXPECT_GT(gui::GetRValue(c), 240) << name;
        EXPECT_LT(gui::GetGValue(c), 20) << name;
        // The same source again comes from the cache.
        DrawMarkupText(TMarkupDialect::mdGrid, cv.C(), "<img src=\"" + url + "\">", gui::Rect(0, 0, 300, 100), o, r);
        EXPECT_EQ(cache.Count(), 1);
    }

    // An animated GIF from a file: its logical screen is the room it takes.
    Canvas cv;
    THTMLPictureCache cache;
    TMarkupOptions o;
    o.PictureCache = &cache;
    TMarkupResult r;
    DrawMarkupText(TMarkupDialect::mdGrid, cv.C(), "<img src=\"file://" + Gif3() + "\">", gui::Rect(0, 0, 300, 100), o, r);
    EXPECT_EQ(r.XSize, 6);
    EXPECT_EQ(cv.C().Pixels(1 + 2, 2), gui::RGB(255, 0, 0));
}

TEST(HTMLPicture, AddressesCacheAndContainer)
{
    THTMLPicture web;
    web.SetAsynch(false);
    web.LoadFromURL("http://example.invalid/a.png");
    EXPECT_TRUE(web.Empty());
    EXPECT_EQ(web.ID(), "http://example.invalid/a.png");
    EXPECT_EQ(web.URL(), web.ID());
    THTMLPicture async;
    async.LoadFromURL("http://example.invalid/a.png");
    EXPECT_TRUE(async.Busy());
    EXPECT_EQ(async.ID(), "");
    THTMLPicture fileOnly;
    fileOnly.LoadFromURL("FILE://");
    EXPECT_EQ(fileOnly.ID(), "FILE://");
    EXPECT_TRUE(fileOnly.Empty());
    THTMLPicture res;
    res.LoadFromURL("res://testgif");
    EXPECT_FALSE(res.Empty());
    EXPECT_EQ(res.ID(), "res://testgif");
    EXPECT_EQ(res.FrameCount(), 3);
    THTMLPicture none;
    EXPECT_NO_THROW(none.LoadFromResourceName("NO_SUCH_RESOURCE"));
    EXPECT_TRUE(none.Empty());
    EXPECT_THROW(none.LoadFromResourceID(987654), rtl::Exception);

    THTMLPictureCache cache;
    THTMLPicture* a = cache.AddPicture();
    a->SetID("http://x/A.png");
    EXPECT_EQ(cache.FindPicture("http://x/A.png"), a);
    EXPECT_EQ(cache.FindPicture("http://x/a.png"), nullptr);

    TPictureContainer pc(nullptr);
    TPictureItem* first = pc.Items()->Add();
    first->SetName("Logo");
    TPictureItem* second = pc.Items()->Add();
    second->SetName("LOGO");
    EXPECT_EQ(pc.FindPicture("logo"), first->Picture());
    EXPECT_EQ(pc.FindPicture("other"), nullptr);
    EXPECT_EQ(pc.Version(), "1.0.0.0");
    EXPECT_THROW(first->Assign(a), rtl::EConvertError);

    THTMLPicture copy;
    copy.Assign(&res);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.ID(), "res://testgif");
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    rtl::TMemoryStream out;
    copy.SaveToStream(out);
    EXPECT_EQ(out.Size(), 0);
}
