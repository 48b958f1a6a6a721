// The styled group box: caption rectangle, frame and child area for the six
// caption positions, frame widths, images, and painting probes.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExGroupBox.h"
#include "platform/gui/ExtCtrls.h"

using namespace controls;
using controls::exgroupbox::TCaptionPosition;
using controls_test::Host;
using controls_test::PixelAt;
using gui::Rect;
using gui::TColor;
using gui::TRect;

namespace {

struct BoxHost : Host {
    TExGroupBox* box;
    BoxHost() : Host(300, 220)
    {
        box = new TExGroupBox(&form);
        box->SetParent(&form);
        box->SetBounds(20, 20, 186, 129);
    }
    TRect ChildArea()
    {
        TRect r = box->ClientRect();
        box->AdjustClientRect(r);
        return r;
    }
};

} // namespace

TEST(ExGroupBox, CaptionFrameAndChildAreaForEachPosition)
{
    BoxHost h;
    // No caption, no image: (8, 0, 8, 2); the frame's top moves by max(1, 2) div 2.
    EXPECT_EQ(h.box->GetCaptionRect(), Rect(8, 0, 8, 2));
    EXPECT_EQ(h.box->GetBorderRect(), Rect(0, 1, 186, 129));
    EXPECT_EQ(h.ChildArea(), Rect(0 + 1 + 1, 2 + 1, 186 - 1 - 1, 129 - 1 - 1));
    // Bottom positions without caption: the frame keeps the client bottom,
    // the children still lose the caption height.
    h.box->SetCaptionPosition(TCaptionPosition::cpBottomLeft);
    EXPECT_EQ(h.box->GetBorderRect(), Rect(0, 0, 186, 129));
    EXPECT_EQ(h.ChildArea(), Rect(2, 2, 184, 129 - 2 - 1));

    h.box->SetCaption("Location");
    const TRect cr = h.box->GetCaptionRect();
    const int w = cr.Width(), ch = cr.Height();
    ASSERT_GT(w, 20);
    struct Case {
        TCaptionPosition pos;
        int left, top;
    } cases[] = {
        {TCaptionPosition::cpTopLeft, 8, 0},
        {TCaptionPosition::cpTopRight, 186 - w - 8, 0},
        {TCaptionPosition::cpTopCenter, (186 - w) / 2, 0},
        {TCaptionPosition::cpBottomLeft, 8, 129 - ch},
        {TCaptionPosition::cpBottomRight, 186 - w - 8, 129 - ch},
        {TCaptionPosition::cpBottomCenter, (186 - w) / 2, 129 - ch},
    };
    for (const Case& c : cases) {
        h.box->SetCaptionPosition(c.pos);
        const int i = static_cast<int>(c.pos);
        EXPECT_EQ(h.box->GetCaptionRect(), Rect(c.left, c.top, c.left + w, c.top + ch)) << i;
        const bool top = i < 3;
        EXPECT_EQ(h.box->GetBorderRect(), top ? Rect(0, ch / 2, 186, 129) : Rect(0, 0, 186, 129 - ch / 2)) << i;
        EXPECT_EQ(h.ChildArea(), top ? Rect(2, ch + 1, 184, 127) : Rect(2, 2, 184, 129 - ch - 1)) << i;
    }
    // Double frame: a pixel more at the bottom, and wider with Ctl3D.
    h.box->SetBorderStyle(TGroupBorderStyle::bsDouble);
    EXPECT_EQ(h.box->GetBorderRect().Bottom, 129 - ch / 2 + 1);
    EXPECT_EQ(h.box->GetBorderWidth(), 2);
    h.box->SetCtl3D(true);
    EXPECT_EQ(h.box->GetBorderWidth(), 4);
    h.box->SetBorderStyle(TGroupBorderStyle::bsSingle);
    EXPECT_EQ(h.box->GetBorderWidth(), 2);
    h.box->SetBorderStyle(TGroupBorderStyle::bsNone);
    EXPECT_EQ(h.box->GetBorderWidth(), 1);
    EXPECT_EQ(h.box->Version(), "1.0.0.2");
}

TEST(ExGroupBox, ImagesWidenTheCaptionAndGoWithTheirList)
{
    BoxHost h;
    auto* images = new gui::TImageList(&h.form);
    images->SetWidth(16);
    images->SetHeight(16);
    gui::TBitmap pic(16, 16);
    images->Add(&pic);
    h.box->SetImages(images);
    h.box->SetImageIndex(0);
    EXPECT_EQ(h.box->GetCaptionRect(), Rect(8, 0, 24, 18));
    h.box->SetCaption("Location");
    const TRect withText = h.box->GetCaptionRect();
    h.box->SetImageIndex(-1);
    EXPECT_EQ(withText.Width(), h.box->GetCaptionRect().Width() + 16 + 3);
    h.box->SetImageIndex(0);
    delete images;   // freed elsewhere: the box lets go of it
    EXPECT_EQ(h.box->Images(), nullptr);
    EXPECT_EQ(h.box->ImageIndex(), -1);
    h.box->SetImageIndex(2);
    h.box->SetImages(nullptr);
    EXPECT_EQ(h.box->ImageIndex(), 2);   // unchanged: the list was already nil
}

TEST(ExGroupBox, FramesAndTransparentBackground)
{
    BoxHost h;
    h.form.SetColor(0x00C000);   // the parent's background shows through
    h.box->SetBorderColor(gui::clBlack);
    h.box->SetCaption("Location");
    h.Show();
    auto img = h.Image();
    const TRect fr = h.box->GetBorderRect();
    const int x0 = 20, y0 = 20;
    EXPECT_EQ(PixelAt(*img, x0 + 60, y0 + 60), 0x00C000u);
    EXPECT_EQ(PixelAt(*img, x0 + fr.Left, y0 + 60), 0u);
    EXPECT_EQ(PixelAt(*img, x0 + 100, y0 + fr.Bottom - 1), 0u);
    // No frame line through the caption.
    const TRect cr = h.box->GetCaptionRect();
    bool lineUnderCaption = true;
    for (int x = cr.Left + 1; x < cr.Right - 1; ++x)
        lineUnderCaption = lineUnderCaption && PixelAt(*img, x0 + x, y0 + fr.Top) == 0u;
    EXPECT_FALSE(lineUnderCaption);
    controls_test::Keep(*img, "groupbox-single");

    // Not transparent: the box's own colour.
    h.box->SetTransparent(false);
    h.box->SetColor(gui::clWhite);
    auto own = h.Image();
    EXPECT_EQ(PixelAt(*own, x0 + 60, y0 + 60), 0xFFFFFFu);

    // Rounded corners: the corner pixel is not the frame colour.
    h.box->SetRoundEdges(true);
    auto round = h.Image();
    EXPECT_NE(PixelAt(*round, x0 + fr.Right - 1, y0 + fr.Bottom - 1), 0u);
    EXPECT_EQ(PixelAt(*round, x0 + fr.Right - 1, y0 + 60), 0u);

    // Etched double frame with Ctl3D: grey outer line, white inner line.
    h.box->SetRoundEdges(false);
    h.box->SetCtl3D(true);
    h.box->SetBorderStyle(TGroupBorderStyle::bsDouble);
    auto etched = h.Image();
    const TRect e = h.box->GetBorderRect();
    EXPECT_EQ(PixelAt(*etched, x0 + e.Left, y0 + 60), 0x808080u);
    EXPECT_EQ(PixelAt(*etched, x0 + e.Left + 1, y0 + 60), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*etched, x0 + e.Left + 2, y0 + 60), 0x808080u);
    EXPECT_EQ(PixelAt(*etched, x0 + e.Left + 3, y0 + 60), 0xFFFFFFu);
    controls_test::Keep(*etched, "groupbox-etched");
}
