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
