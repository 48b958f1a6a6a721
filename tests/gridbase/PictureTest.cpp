// The grid's pictures and small containers: the byte-keeping picture drawn
// into a bitmap (BMP unscaled and transparent, PNG scaled, undecodable bytes
// drawing nothing), its loading paths and events; the cell control list,
// the line buffer, the file picture and the hint content.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gridbase/ExHintInfo.h"
#include "gridbase/ExObj.h"
#include "gridbase/GDIPicture.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/TypInfo.h"

using namespace gridbase;
using gui::TColor;
using gui::TRect;

namespace {

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// A 4 x 3 red bitmap whose bottom-left pixel (its transparent colour) is blue.
std::string BmpBytes()
{
    gui::TBitmap b(4, 3);
    b.Canvas()->Brush()->SetColor(kRed);
    b.Canvas()->FillRect(TRect(0, 0, 4, 3));
    b.Canvas()->SetPixels(0, 2, kBlue);
    rtl::TStringStream s;
    b.SaveToStream(s);
    return s.DataString();
}

std::string PngBytes()
{
    gui::TBitmap b(4, 3);
    b.Canvas()->Brush()->SetColor(kGreen);
    b.Canvas()->FillRect(TRect(0, 0, 4, 3));
    gui::TPngImage png;
    png.Assign(&b);
    rtl::TStringStream s;
    png.SaveToStream(s);
    return s.DataString();
}

std::string WriteTemp(const std::string& name, const std::string& bytes)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Canvas {
    gui::TBitmap Bitmap{60, 60};
    Canvas()
    {
        Bitmap.Canvas()->Brush()->SetColor(kWhite);
        Bitmap.Canvas()->FillRect(TRect(0, 0, 60, 60));
    }
    TColor At(int x, int y) { return Bitmap.Canvas()->Pixels(x, y); }
    int Changed()
    {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) n += At(x, y) != kWhite;
        return n;
    }
};

void Load(TGDIPPicture& pic, const std::string& bytes)
{
    rtl::TStringStream s(bytes);
    pic.LoadFromStream(s);
}

} // namespace

TEST(GDIPicture, NewPictureIsEmptyAndDrawsNothing)
{
    TGDIPPicture pic;
    EXPECT_TRUE(pic.Empty());
    EXPECT_EQ(pic.Width(), 0);
    EXPECT_EQ(pic.Height(), 0);
    Canvas c;
    pic.Draw(*c.Bitmap.Canvas(), TRect(0, 0, 60, 60));
    EXPECT_EQ(c.Changed(), 0);
}

TEST(GDIPicture, BmpUnscaledAndTransparentPngScaled)
{
    TGDIPPicture bmp;
    Load(bmp, BmpBytes());
    EXPECT_EQ(bmp.Width(), 4);
    EXPECT_EQ(bmp.Height(), 3);
    Canvas c;
    bmp.Draw(*c.Bitmap.Canvas(), TRect(10, 10, 50, 50));
    EXPECT_EQ(c.At(10, 10), kRed);
    EXPECT_EQ(c.At(13, 11), kRed);
    EXPECT_EQ(c.At(10, 12), kWhite);  // the transparent corner
    EXPECT_EQ(c.At(14, 10), kWhite);  // not stretched
    EXPECT_EQ(c.Changed(), 11);

    TGDIPPicture png;
    Load(png, PngBytes());
    EXPECT_EQ(png.Width(), 4);
    Canvas d;
    png.Draw(*d.Bitmap.Canvas(), TRect(10, 10, 50, 50));
    EXPECT_EQ(d.At(10, 10), kGreen);
    EXPECT_EQ(d.At(49, 49), kGreen);
    EXPECT_EQ(d.At(50, 50), kWhite);
    EXPECT_EQ(d.Changed(), 40 * 40);
}

TEST(GDIPicture, UndecodableBytesAreKeptWithSizeZero)
{
    TGDIPPicture pic;
    EXPECT_NO_THROW(Load(pic, "not an image at all"));
    EXPECT_EQ(pic.Width(), 0);
    EXPECT_EQ(pic.Height(), 0);
    Canvas c;
    EXPECT_NO_THROW(pic.Draw(*c.Bitmap.Canvas(), TRect(0, 0, 60, 60)));
    EXPECT_EQ(c.Changed(), 0);
    rtl::TStringStream out;
    pic.SaveToStream(out);
    EXPECT_EQ(out.DataString(), "not an image at all");
}

TEST(GDIPicture, SaveAndLoadKeepBytesAndSizeFromTheStreamStart)
{
    const std::string png = PngBytes();
    TGDIPPicture a;
    Load(a, png);
    rtl::TStringStream saved;
    saved.WriteString("xx");  // written at the stream's position
    a.SaveToStream(saved);
    EXPECT_EQ(saved.DataString(), "xx" + png);

    TGDIPPicture b;
    rtl::TStringStream mid(png);
    mid.SetPosition(static_cast<int64_t>(png.size() / 2));
    b.LoadFromStream(mid);
    rtl::TStringStream again;
    b.SaveToStream(again);
    EXPECT_EQ(again.DataString(), png);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Height(), 3);
}

TEST(GDIPicture, LoadFromUrlAndFile)
{
    static const std::string logo = PngBytes() + std::string(1, '\0');
    static const rtl::TResource res[] = {
        {"LOGO", -1, rtl::TResourceType::RCData, reinterpret_cast<const uint8_t*>(logo.data()), logo.size() - 1}};
    rtl::RegisterResources(res, 1);

    TGDIPPicture pic;
    pic.LoadFromURL("res://LOGO");
    EXPECT_FALSE(pic.Empty());
    EXPECT_EQ(pic.Width(), 4);

    for (const char* url : {"FILE://", "ftp://x", "res://", "res://NOSUCH"}) {
        TGDIPPicture other;
        other.LoadFromURL(url);
        EXPECT_TRUE(other.Empty()) << url;
    }
    const std::string path = WriteTemp("gdip_url.bmp", BmpBytes());
    TGDIPPicture file;
    int clears = 0, changes = 0;
    file.OnClear = [&](rtl::TObject*) { ++clears; };
    file.OnChange = [&](rtl::TObject*) { ++changes; };
    file.LoadFromURL("File://" + path);
    EXPECT_FALSE(file.Empty());
    EXPECT_EQ(file.Height(), 3);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(changes, 1);

    TGDIPPicture missing;
    EXPECT_NO_THROW(missing.LoadFromFile(path + ".none"));
    EXPECT_TRUE(missing.Empty());
}

TEST(GDIPicture, AssignSources)
{
    TGDIPPicture pic;
    Load(pic, PngBytes());
    std::vector<std::string> events;
    pic.OnChange = [&](rtl::TObject*) { events.push_back("change"); };
    pic.OnClear = [&](rtl::TObject*) { events.push_back("clear"); };
    pic.Assign(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"change", "clear"}));
    EXPECT_TRUE(pic.Empty());
    EXPECT_EQ(pic.DataSize(), 0);

    TGDIPPicture none;
    events.clear();
    pic.Assign(&none);  // no bytes: stays empty
    EXPECT_TRUE(pic.Empty());
    EXPECT_EQ(events, std::vector<std::string>{"change"});

    gui::TBitmap bitmap(7, 5);
    pic.Assign(&bitmap);
    EXPECT_FALSE(pic.Empty());
    EXPECT_EQ(pic.Width(), 7);
    EXPECT_EQ(pic.Height(), 5);

    gui::TPicture holder;
    gui::TPngImage png;
    png.Assign(&bitmap);
    holder.SetGraphic(&png);
    pic.Assign(&holder);
    EXPECT_EQ(pic.Width(), 7);

    events.clear();
    rtl::TStringList other;
    pic.Assign(&other);  // another class: nothing copied, no event
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(pic.Empty());
}

TEST(CellControls, IndexRemoveAndHandles)
{
    gui::TForm form(nullptr);
    auto* panel = new gui::TPanel(&form);
    panel->SetParent(&form);
    auto* label = new gui::TLabel(&form);
    label->SetParent(&form);
    auto* second = new gui::TPanel(&form);
    second->SetParent(&form);
    form.Show();
    {
        TControlList list;
        list.AddControl(2, 3, panel);
        list.AddControl(1, 1, label);
        list.AddControl(2, 3, second);
        EXPECT_EQ(list.ControlIndex(2, 3), 0);
        EXPECT_EQ(list.ControlIndex(1, 1), 1);
        EXPECT_EQ(list.ControlIndex(4, 4), -1);
        EXPECT_TRUE(list.HasHandle(second->Handle()));
        EXPECT_FALSE(list.HasHandle(0));  // the label has no window
        list.RemoveControl(0);
        EXPECT_EQ(list.ControlIndex(2, 3), 1);
        EXPECT_FALSE(list.HasHandle(panel->Handle()));
        EXPECT_EQ(panel->Owner(), &form);  // still alive
    }
    // The list is gone; its controls are not.
    EXPECT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(label->Parent(), &form);
}

TEST(LineBuffer, WritePiecesReadLines)
{
    TFileStringList lines;
    lines.Write("a");
    lines.Write("b");
    lines.WriteLn("c");
    lines.Write("dropped");
    lines.Reset();
    lines.WriteLn("d");
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "abc");
    EXPECT_EQ(lines[1], "d");
    std::string s;
    EXPECT_FALSE(lines.IsAtEnd());
    lines.ReadLn(s);
    EXPECT_EQ(s, "abc");
    lines.ReadLn(s);
    EXPECT_EQ(s, "d");
    EXPECT_TRUE(lines.IsAtEnd());
    EXPECT_THROW(lines.ReadLn(s), rtl::EStringListError);
    lines.Reset();
    EXPECT_FALSE(lines.IsAtEnd());
}

TEST(FilePicture, SizeFromTheFileAndNothingForAnEmptyName)
{
    TFilePicture empty;
    Canvas c;
    EXPECT_NO_THROW(empty.DrawPicture(c.Bitmap.Canvas(), TRect(0, 0, 60, 60)));
    EXPECT_EQ(c.Changed(), 0);

    TFilePicture pic;
    pic.SetFilename(WriteTemp("filepic.png", PngBytes()));
    EXPECT_EQ(pic.Width(), 4);
    EXPECT_EQ(pic.Height(), 3);
    pic.DrawPicture(c.Bitmap.Canvas(), TRect(0, 0, 20, 20));
    EXPECT_EQ(c.At(19, 19), kGreen);
    EXPECT_EQ(c.At(20, 20), kWhite);

    TFilePicture copy;
    copy.Assign(&pic);
    EXPECT_EQ(copy.Filename(), pic.Filename());
    EXPECT_EQ(copy.Width(), 4);

    TFilePicture bad;
    EXPECT_THROW(bad.SetFilename(WriteTemp("filepic.txt", "text")), std::exception);
}

TEST(HintInfo, AssignOnlyFromHintInfo)
{
    TExHintInfo a;
    a.SetTitle("Title");
    a.Notes()->Add("one");
    a.SetShowHelp(true);
    a.SetWideTitle(u"wide");
    Load(*a.Picture(), PngBytes());

    TExHintInfo b;
    b.Assign(&a);
    EXPECT_EQ(b.Title(), "Title");
    EXPECT_EQ(b.Notes()->Text(), a.Notes()->Text());
    EXPECT_TRUE(b.ShowHelp());
    EXPECT_EQ(b.WideTitle(), u"wide");
    EXPECT_EQ(b.Picture()->Width(), 4);

    // Published by name, the picture and notes as objects of their own.
    EXPECT_EQ(rtl::GetPropValue(&b, "Title").AsString(), "Title");
    EXPECT_NE(rtl::GetPropInfo(&b, "Picture"), nullptr);
    EXPECT_NE(rtl::GetPropInfo(&b, "Notes"), nullptr);

    rtl::TStringList notes;
    notes.Add("x");
    b.Assign(&notes);
    EXPECT_EQ(b.Title(), "Title");
    EXPECT_EQ(b.Notes()->Count(), 1);
    EXPECT_EQ(b.Notes()->Strings(0), "one");
}
