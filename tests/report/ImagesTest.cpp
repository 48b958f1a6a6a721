// Image strips, transparent drawing, the gzip-packed button resources and
// the compression stream.
#include <gtest/gtest.h>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Streams.h"
#include "report/qlrGraphicUtils.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

using namespace qlr;

namespace {

constexpr gui::TColor kKey = gui::RGB(255, 0, 255);
constexpr gui::TColor kRed = gui::RGB(255, 0, 0);
constexpr gui::TColor kBlue = gui::RGB(0, 0, 255);
constexpr gui::TColor kWhite = gui::RGB(255, 255, 255);

// A strip of `tiles` 16 x 16 tiles on the key colour, tile i with a dot of
// its own at (i, 2).
void MakeStrip(gui::TBitmap& strip, int tiles)
{
    strip.SetPixelFormat(gui::TPixelFormat::pf24bit);
    strip.SetSize(16 * tiles, 16);
    gui::TCanvas* c = strip.Canvas();
    for (int x = 0; x < strip.Width(); ++x)
        for (int y = 0; y < 16; ++y) c->SetPixels(x, y, kKey);
    for (int i = 0; i < tiles; ++i) c->SetPixels(16 * i + i, 2, i % 2 ? kBlue : kRed);
}

// A gzip member around a zlib stream: the zlib trailer (Adler-32) goes into
// the modification-time field, as the program's resources are built.
std::string GzipFromZlib(const std::string& z, const std::string& name)
{
    std::string g = "\x1F\x8B\x08";
    g += name.empty() ? '\0' : '\x08';
    g += z.substr(z.size() - 4);
    g += "\x02\x03";
    if (!name.empty()) g += name + '\0';
    g += z.substr(2, z.size() - 6);
    g += std::string(8, '\0');  // CRC-32 and length: not checked
    return g;
}

} // namespace

TEST(ReportImages, SplitImageStripSingleAndPairs)
{
    gui::TBitmap strip;
    MakeStrip(strip, 4);
    gui::TImageList first, second;
    SplitImageStrip(strip, 16, 16, nullptr, first);
    ASSERT_EQ(first.Count(), 4);
    gui::TBitmap img;
    ASSERT_TRUE(first.GetBitmap(3, &img));
    EXPECT_EQ(img.Canvas()->Pixels(3, 2), kBlue);
    EXPECT_EQ(img.Canvas()->Pixels(0, 0), kWhite);   // key colour masked out

    gui::TImageList normal, disabled;
    SplitImageStrip(strip, 16, 16, &disabled, normal);
    ASSERT_EQ(normal.Count(), 2);
    ASSERT_EQ(disabled.Count(), 2);
    ASSERT_TRUE(disabled.GetBitmap(1, &img));         // tile 3
    EXPECT_EQ(img.Canvas()->Pixels(3, 2), kBlue);
    ASSERT_TRUE(normal.GetBitmap(1, &img));           // tile 2
    EXPECT_EQ(img.Canvas()->Pixels(2, 2), kRed);

    gui::TImageList none;
    SplitImageStrip(strip, 0, 16, nullptr, none);     // no endless loop
    EXPECT_EQ(none.Count(), 0);
}

TEST(ReportImages, DrawTransparentBitmapLeavesTheKeyColourOut)
{
    gui::TBitmap target(10, 10);
    gui::TCanvas* t = target.Canvas();
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y) t->SetPixels(x, y, kBlue);
    gui::TBitmap sprite(4, 4);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 4; ++y) sprite.Canvas()->SetPixels(x, y, kKey);  // bottom-left: the key
    sprite.Canvas()->SetPixels(1, 1, kRed);
    DrawTransparentBitmap(*t, 2, 3, &sprite);
    EXPECT_EQ(t->Pixels(3, 4), kRed);
    EXPECT_EQ(t->Pixels(2, 3), kBlue);
    EXPECT_EQ(t->Pixels(5, 6), kBlue);
    DrawTransparentBitmap(*t, 0, 0, nullptr);
    EXPECT_EQ(t->Pixels(0, 0), kBlue);
}

TEST(ReportImages, PreviewButtonsUnpackTo25Images)
{
    TqlrResources res;
    gui::TImageList& list = res.GetPreviewButtonImages();
    EXPECT_EQ(list.Count(), 25);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    EXPECT_EQ(&res.GetPreviewButtonImages(), &list);  // loaded once
    EXPECT_EQ(list.Count(), 25);

    // The raw resource is one gzip member holding a 400 x 16 bitmap.
    rtl::TResourceStream packed("PreviewButtons", rtl::TResourceType::RCData);
    rtl::TMemoryStream bmp;
    std::string name;
    UnpackGzipResource(packed, bmp, name);
    bmp.SetPosition(0);
    gui::TBitmap strip;
    strip.LoadFromStream(bmp);
    EXPECT_EQ(strip.Width(), 400);
    EXPECT_EQ(strip.Height(), 16);
}

TEST(ReportImages, AbsentImageResourcesRaise)
{
    TqlrResources res;
    EXPECT_THROW(res.GetMainButtonImages(), rtl::EResNotFound);
    EXPECT_THROW(res.GetObjectImages(), rtl::EResNotFound);
    EXPECT_THROW(res.GetWizardImages(), rtl::EResNotFound);
}

TEST(ReportImages, CompressAndUnpackRoundTrip)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\n";
    rtl::TStringStream src(text);
    src.SetPosition(100);                             // compressed from the start anyway
    rtl::TStringStream z;
    CompressStream(src, z, 9);
    EXPECT_LT(z.DataString().size(), text.size() / 4);

    for (const std::string& fileName : {std::string(), std::string("lines.txt")}) {
        rtl::TStringStream gz(GzipFromZlib(z.DataString(), fileName));
        rtl::TStringStream out;
        std::string name = "kept";
        UnpackGzipResource(gz, out, name);
        EXPECT_EQ(out.DataString(), text);
        EXPECT_EQ(name, fileName.empty() ? "kept" : fileName);
    }

    rtl::TStringStream notGzip("BM....");
    rtl::TStringStream out;
    std::string name;
    UnpackGzipResource(notGzip, out, name);
    EXPECT_EQ(out.DataString(), "");

    std::string damaged = GzipFromZlib(z.DataString(), "");
    damaged[20] ^= 0x55;
    rtl::TStringStream bad(damaged);
    EXPECT_THROW(UnpackGzipResource(bad, out, name), rtl::EReadError);
    rtl::TStringStream cut(damaged.substr(0, 12));
    EXPECT_THROW(UnpackGzipResource(cut, out, name), rtl::EReadError);
}

TEST(ReportMessages, ErrorAndInfoBoxesUseTheResourceCaptions)
{
    auto* scripted = new gui::TScriptedDialogService;
    auto previous = gui::SetDialogService(std::unique_ptr<gui::IDialogService>(scripted));
    ShowReportError("Field not found: X");
    ShowReportInfo("Done");
    ASSERT_EQ(scripted->Calls.size(), 2u);
    EXPECT_EQ(scripted->Calls[0].Text, "Field not found: X");
    EXPECT_EQ(scripted->Calls[0].Caption, "Error");
    EXPECT_EQ(scripted->Calls[0].Flags, gui::MB_ICONERROR);
    EXPECT_EQ(scripted->Calls[1].Caption, "Information");
    EXPECT_EQ(scripted->Calls[1].Flags, gui::MB_ICONINFORMATION);
    gui::SetDialogService(std::move(previous));
}
