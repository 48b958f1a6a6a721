// The picture graphic: sizes from HIMETRIC, keeping the loaded bytes, and
// what a failed load leaves behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "ControlsFixture.h"
#include "controls/ExImage.h"
#include "platform/rtl/Exceptions.h"

using namespace controls;
using namespace gui;

namespace {

// A BMP file of w x h pixels in one colour.
rtl::TMemoryStream BmpBytes(int w, int h, TColor colour)
{
    TBitmap b(w, h);
    b.Canvas()->Brush()->SetColor(colour);
    b.Canvas()->FillRect(TRect{0, 0, w, h});
    rtl::TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    return s;
}

std::string Bytes(const TExImage& img)
{
    rtl::TStringStream out;
    img.SaveToStream(out);
    return out.DataString();
}

} // namespace

TEST(ExImage, SizesAndBytesOfALoadedPicture)
{
    rtl::TMemoryStream bmp = BmpBytes(96, 48, clRed);
    TExImage img;
    int changes = 0;
    img.OnChange = [&](rtl::TObject*) { ++changes; };
    EXPECT_TRUE(img.Empty());
    EXPECT_EQ(img.Width(), 0);
    img.LoadFromStream(bmp);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(img.Empty());
    EXPECT_EQ(img.HimetricWidth(), 2540);
    EXPECT_EQ(img.Width(), 96);
    EXPECT_EQ(img.Height(), 48);
    EXPECT_EQ(Bytes(img), std::string(bmp.View()));
    // Drawn stretched into the rectangle.
    TBitmap target(20, 10);
    target.Canvas()->StretchDraw(TRect{0, 0, 20, 10}, &img);
    EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(19, 9)), static_cast<TColor>(clRed));
}

TEST(ExImage, BytesThatAreNoPicture)
{
    const auto dir = std::filesystem::temp_directory_path() / "tec-eximage";
    std::filesystem::create_directories(dir);
    const std::string text = (dir / "notes.txt").string();
    {
        rtl::TFileStream f(text, rtl::fmCreate);
        f.WriteString("not a picture at all");
    }
    TExImage img;
    int changes = 0;
    img.OnChange = [&](rtl::TObject*) { ++changes; };
    img.LoadFromFile(text);
    EXPECT_TRUE(img.Empty());
    EXPECT_EQ(changes, 0);
    img.LoadFromFile((dir / "missing.png").string());
    EXPECT_TRUE(img.Empty());

    // A failed stream load raises and keeps the previous picture with its bytes.
    rtl::TMemoryStream bmp = BmpBytes(8, 8, clBlue);
    img.LoadFromStream(bmp);
    rtl::TStringStream junk("GIF89a but not really");
    try {
        img.LoadFromStream(junk);
        FAIL() << "no error";
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    EXPECT_FALSE(img.Empty());
    EXPECT_EQ(img.Width(), 8);
    EXPECT_EQ(Bytes(img), std::string(bmp.View()));
    EXPECT_EQ(changes, 1);
}

TEST(ExImage, AssignCopiesOrEmpties)
{
    rtl::TMemoryStream bmp = BmpBytes(10, 5, clGreen);
    TExImage a, b;
    a.LoadFromStream(bmp);
    int changes = 0;
    b.OnChange = [&](rtl::TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(Bytes(b), Bytes(a));
    TExImage empty;
    b.Assign(&empty);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 1);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(Bytes(b).empty());
}

TEST(ExImage, VistaOrLaterFollowsTheSystemRecord)
{
    controls_test::CleanSystem clean;
    EXPECT_TRUE(IsVistaOrLater());
    sys::SetSystemInfo({5, 1, 6, false});
    EXPECT_FALSE(IsVistaOrLater());
}
