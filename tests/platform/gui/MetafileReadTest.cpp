// Metafiles saved by the recorder read back exactly; others are refused.
#include <gtest/gtest.h>

#include <limits>

#include "platform/gui/Metafile.h"
#include "platform/gui/MetafileNative.h"
#include "platform/rtl/Streams.h"

using namespace gui;

namespace {

void Record(TMetafile& mf)
{
    TMetafileCanvas c(&mf, 120, 80);
    c.Brush()->SetColor(clRed);
    c.Pen()->SetColor(clBlue);
    c.Rectangle(10, 10, 60, 40);
    c.Pen()->SetColor(clGreen);
    c.MoveTo(0, 70);
    c.LineTo(100, 70);
    c.Font()->SetName("DejaVu Sans");
    c.TextOut(5, 45, "Sun");
}

std::string Saved(const TMetafile& mf)
{
    rtl::TStringStream s;
    mf.SaveToStream(s);
    return s.DataString();
}

TEST(MetafileRead, SavedMetafileReadsBackAndDrawsTheSame)
{
    TMetafile mf;
    Record(mf);
    rtl::TStringStream in(Saved(mf));
    TMetafile back;
    back.LoadFromStream(in);
    EXPECT_EQ(back.Width(), 120);
    EXPECT_EQ(back.Height(), 80);
    ASSERT_EQ(back.Records().size(), mf.Records().size());
    // Saved again it gives the same bytes: nothing was lost.
    EXPECT_EQ(Saved(back), Saved(mf));

    TBitmap a, b;
    a.SetSize(240, 160);
    b.SetSize(240, 160);
    a.Canvas()->StretchDraw(TRect(0, 0, 240, 160), &mf);
    b.Canvas()->StretchDraw(TRect(0, 0, 240, 160), &back);
    for (auto [x, y] : {std::pair{60, 50}, {21, 21}, {100, 140}, {230, 10}})
        EXPECT_EQ(a.Canvas()->Pixels(x, y), b.Canvas()->Pixels(x, y)) << x << "," << y;
    EXPECT_EQ(b.Canvas()->Pixels(60, 50), clRed);   // inside the rectangle, scaled by 2
}

TEST(MetafileRead, ForeignAndDamagedMetafilesAreRefused)
{
    TMetafile mf;
    Record(mf);
    std::string bytes = Saved(mf);
    // The same file without the recorder's block: another program's.
    size_t at = bytes.find("TECMETA1");
    ASSERT_NE(at, std::string::npos);
    std::string foreign = bytes;
    foreign[at] = 'X';
    // A block cut short.
    std::vector<uint8_t> own = EncodeMetaRecords(mf.Records(), 120, 80);
    std::vector<TMetaRecord> recs;
    int w = 0, h = 0;
    EXPECT_THROW(DecodeMetaRecords(own.data(), own.size() / 2, recs, w, h), EInvalidGraphic);
    // Rectangles whose width or height no int holds: bounds, then a clip.
    for (bool clip : {false, true}) {
        std::vector<TMetaRecord> wide = mf.Records();
        ASSERT_FALSE(wide.empty());
        const TRect huge{std::numeric_limits<int>::min(), 0, 10, std::numeric_limits<int>::max()};
        if (clip)
            wide[0].Clip = huge;
        else
            wide[0].Bounds = huge;
        std::vector<uint8_t> damaged = EncodeMetaRecords(wide, 120, 80);
        EXPECT_THROW(DecodeMetaRecords(damaged.data(), damaged.size(), recs, w, h), EInvalidGraphic) << clip;
    }
    for (const std::string& data : {foreign, std::string("not a metafile at all"), std::string()}) {
        rtl::TStringStream in(data);
        TMetafile back;
        try {
            back.LoadFromStream(in);
            ADD_FAILURE() << "read " << data.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        EXPECT_TRUE(back.Empty());
    }
}

} // namespace
