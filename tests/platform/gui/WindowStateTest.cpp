// A window's normal bounds across maximising and restoring, as a program
// stores them to give them back at its next start.
#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "tests/platform/gui/GuiTestUtil.h"

using namespace gui;

TEST(WindowState, NormalBoundsSurviveMaximisingAndComeBackOnRestore)
{
    TForm form(nullptr);
    form.SetBounds(30, 40, 300, 200);
    EXPECT_EQ(form.NormalBounds(), Rect(30, 40, 330, 240));   // not shown yet
    form.SetWindowState(TWindowState::wsMaximized);          // applies when shown
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    EXPECT_GT(form.Width(), 300);
    EXPECT_EQ(form.NormalBounds(), Rect(30, 40, 330, 240));
    form.Hide();                                              // closing keeps both
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(form.NormalBounds(), Rect(30, 40, 330, 240));
    form.Show();
    form.SetWindowState(TWindowState::wsNormal);
    Application->ProcessMessages();
    EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 200);
    form.SetBounds(50, 60, 320, 210);
    EXPECT_EQ(form.NormalBounds(), Rect(50, 60, 370, 270));
    form.Hide();
}

// A shown window reads back the bounds it was given, whatever frame the
// window system draws around it; its client area starts at that corner.
TEST(WindowState, ShownFormReadsBackTheBoundsItWasGiven)
{
    struct Case {
        TBorderStyle style;
        TRect bounds;
    };
    const Case cases[] = {
        {TBorderStyle::bsSizeable, Rect(30, 40, 330, 240)},
        {TBorderStyle::bsDialog, Rect(55, 65, 355, 265)},
        {TBorderStyle::bsToolWindow, Rect(70, 20, 270, 170)},
        {TBorderStyle::bsNone, Rect(10, 10, 210, 110)},
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        form.SetBorderStyle(c.style);
        form.SetBounds(0, 0, c.bounds.Width(), c.bounds.Height());
        form.Show();
        Application->ProcessMessages();
        // Moved only, then moved and resized.
        for (const TRect& r : {Rect(c.bounds.Left, c.bounds.Top, c.bounds.Left + c.bounds.Width(), c.bounds.Bottom),
                               Rect(c.bounds.Left + 7, c.bounds.Top + 9, c.bounds.Right + 27, c.bounds.Bottom + 19)}) {
            form.SetBounds(r.Left, r.Top, r.Width(), r.Height());
            Application->ProcessMessages();
            EXPECT_EQ(form.BoundsRect(), r) << static_cast<int>(c.style);
            EXPECT_EQ(form.NormalBounds(), r) << static_cast<int>(c.style);
            EXPECT_EQ(form.ClientOrigin(), TPoint(r.Left, r.Top)) << static_cast<int>(c.style);
        }
        form.Hide();
    }
}
