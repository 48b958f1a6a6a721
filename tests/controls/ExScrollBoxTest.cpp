// The transparent scroll box: its coloured frame, the parent's background
// through it, and the scroll events of a drag on its bar.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExScrollBox.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

TEST(ExScrollBox, FrameOnlyWithoutCtl3DAndWithABorder)
{
    Host h;
    h.form.SetColor(0x00C0FF);
    auto* box = new TExScrollBox(&h.form);
    box->SetParent(&h.form);
    box->SetBounds(20, 20, 120, 80);
    box->SetBorderColor(clNavy);
    EXPECT_EQ(box->Version(), "1.1.0.1");
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20, 50), ColorToRGB(clNavy));
    EXPECT_EQ(PixelAt(*img, 80, 20), ColorToRGB(clNavy));
    EXPECT_EQ(PixelAt(*img, 139, 50), ColorToRGB(clNavy));
    EXPECT_EQ(PixelAt(*img, 80, 99), ColorToRGB(clNavy));
    // Inside: the parent's colour shows through.
    EXPECT_EQ(PixelAt(*img, 80, 50), 0x00C0FFu);
    box->SetCtl3D(true);
    box->Invalidate();
    img = h.Image();
    EXPECT_NE(PixelAt(*img, 20, 50), ColorToRGB(clNavy));
    box->SetCtl3D(false);
    box->SetBorderStyle(TBorderStyle::bsNone);
    img = h.Image();
    EXPECT_NE(PixelAt(*img, 20, 50), ColorToRGB(clNavy));
}

TEST(ExScrollBox, DragOnTheBarScrollsAndEndsOnce)
{
    Host h;
    auto* box = new TExScrollBox(&h.form);
    box->SetParent(&h.form);
    box->SetBounds(10, 10, 150, 150);
    auto* big = new TPanel(&h.form);
    big->SetParent(box);
    big->SetBounds(0, 0, 120, 900);
    int steps = 0, ends = 0, hsteps = 0;
    box->OnVScroll = [&](rtl::TObject*) { ++steps; };
    box->OnVScrollEnd = [&](rtl::TObject*) { ++ends; };
    box->OnHScroll = [&](rtl::TObject*) { ++hsteps; };
    h.Show();
    ASSERT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    const int x = box->Width() - box->VertScrollBar()->Size() / 2 - 1;
    // Press below the thumb region's start and drag down.
    sim::MouseDown(box, TMouseButton::mbLeft, x, 30);
    for (int y = 34; y <= 60; y += 4) sim::MouseMove(box, x, y, {TShiftStateItem::ssLeft});
    sim::MouseUp(box, TMouseButton::mbLeft, x, 60);
    Application->ProcessMessages();
    EXPECT_GT(box->VertScrollBar()->Position(), 0);
    EXPECT_GE(steps, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(hsteps, 0);
}
