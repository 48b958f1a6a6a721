// Metafiles: what a recording canvas keeps, its replay onto a bitmap, and
// the enhanced-metafile bytes read back record by record.

#include <gtest/gtest.h>

#include "EmfRecords.h"
#include "GuiTestUtil.h"
#include "platform/gui/Metafile.h"

using namespace gui;

namespace {

// A small picture: a filled rectangle, a line, a text and a clipped ellipse.
void DrawPicture(TCanvas& c)
{
    c.Pen()->SetColor(clBlue);
    c.Brush()->SetColor(clYellow);
    c.Rectangle(10, 10, 50, 30);
    c.Pen()->SetColor(clRed);
    c.Pen()->SetWidth(3);
    c.MoveTo(0, 60);
    c.LineTo(100, 60);
    c.Font()->SetName("Arial");
    c.Font()->SetSize(12);
    c.Font()->SetColor(clGreen);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.TextOut(10, 70, "Sun");
    const TRegion clip = TRegion::CreateRect(Rect(60, 0, 80, 40));
    c.SelectClipRgn(&clip);
    c.Pen()->SetWidth(1);
    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(clFuchsia);
    c.Ellipse(55, 5, 95, 35);
    c.SelectClipRgn(nullptr);
}

} // namespace

TEST(Metafile, RecordsWhatIsDrawnInDevicePixels)
{
    TMetafile mf;
    {
        TMetafileCanvas c(&mf, 120, 100);
        c.SetViewportOrg(0, 0);
        DrawPicture(c);
    }
    EXPECT_EQ(mf.Width(), 120);
    const auto& r = mf.Records();
    ASSERT_GE(r.size(), 4u);
    // The rectangle: its inside filled, then its outline through the
    // centres of its edge pixels 10..49 and 10..29.
    EXPECT_EQ(r[0].Kind, TMetaRecord::TKind::Polygon);
    EXPECT_TRUE(r[0].BrushVisible);
    EXPECT_EQ(r[0].BrushColor, clYellow);
    EXPECT_EQ(r[0].PenWidth, 0);
    EXPECT_EQ(r[1].PenColor, clBlue);
    EXPECT_FALSE(r[1].BrushVisible);
    EXPECT_EQ(r[1].Bounds, Rect(10, 10, 49, 29));
    bool line = false, text = false, ellipse = false;
    for (const TMetaRecord& m : r) {
        if (m.Kind == TMetaRecord::TKind::Polyline && m.PenColor == clRed) {
            line = true;
            EXPECT_EQ(m.PenWidth, 3);
            EXPECT_EQ(m.Points.front().Y, 60);
        }
        if (m.Kind == TMetaRecord::TKind::Text) {
            text = true;
            EXPECT_EQ(m.Text, "Sun");
            EXPECT_EQ(m.PenColor, clGreen);
            EXPECT_EQ(m.Origin.X, 10);
            EXPECT_NEAR(m.Origin.Y, 70, 1);
            EXPECT_EQ(m.Advances.size(), 3u);
        }
        if (m.Kind == TMetaRecord::TKind::Polygon && m.BrushColor == clFuchsia && m.BrushVisible) {
            ellipse = true;
            EXPECT_GT(m.Points.size(), 8u);   // the ellipse as its outline's polygon
            ASSERT_TRUE(m.Clip.has_value());
            EXPECT_EQ(*m.Clip, Rect(60, 0, 80, 40));
        }
    }
    EXPECT_TRUE(line);
    EXPECT_TRUE(text);
    EXPECT_TRUE(ellipse);
}

TEST(Metafile, ReplayDrawsLikeTheCanvasDid)
{
    TMetafile mf;
    {
        TMetafileCanvas c(&mf, 120, 100);
        DrawPicture(c);
    }
    auto direct = guitest::NewBitmap(120, 100, clWhite);
    DrawPicture(*direct->Canvas());
    auto replayed = guitest::NewBitmap(120, 100, clWhite);
    replayed->Canvas()->Draw(0, 0, &mf);
    for (TPoint p : {Point(30, 20), Point(11, 11), Point(50, 60), Point(70, 20), Point(90, 20), Point(5, 5)})
        EXPECT_EQ(replayed->Canvas()->Pixels(p.X, p.Y), direct->Canvas()->Pixels(p.X, p.Y)) << p.X << "," << p.Y;
    EXPECT_EQ(replayed->Canvas()->Pixels(90, 20), clWhite);   // the ellipse is clipped there
}

TEST(Metafile, EnhancedMetafileBytes)
{
    TMetafile mf;
    {
        TMetafileCanvas c(&mf, 120, 100);
        DrawPicture(c);
        auto bmp = guitest::NewBitmap(2, 2, clBlack);
        c.StretchDraw(Rect(100, 80, 110, 90), bmp.get());
    }
    std::vector<tectest::TEmfRecord> recs;
    const std::vector<uint8_t> bytes = mf.EmfBytes();
    ASSERT_EQ(tectest::ParseEmf(bytes, recs), "");
    EXPECT_EQ(recs[0].I32(16), 119);   // bounds right, inclusive
    EXPECT_EQ(recs[0].I32(20), 99);
    EXPECT_EQ(tectest::CountEmfRecords(recs, 84), 1);   // one text
    EXPECT_EQ(tectest::CountEmfRecords(recs, 81), 1);   // one picture
    EXPECT_GE(tectest::CountEmfRecords(recs, 3), 1);    // polygons
    EXPECT_EQ(tectest::CountEmfRecords(recs, 30), 1);   // the clip
    EXPECT_EQ(tectest::CountEmfRecords(recs, 33), tectest::CountEmfRecords(recs, 34));
    for (const tectest::TEmfRecord& r : recs) {
        if (r.Type == 84) {
            // The text: three UTF-16 characters at the record's string offset.
            EXPECT_EQ(r.U32(44), 3u);
            const uint32_t off = r.U32(48);
            EXPECT_EQ(r.Bytes[off], 'S');
            EXPECT_EQ(r.Bytes[off + 2], 'u');
            EXPECT_EQ(r.Bytes[off + 4], 'n');
        }
        if (r.Type == 38) { EXPECT_LE(r.U32(12), 5u); }   // pen styles solid..null
    }
}
