// The report dialogs driven headless: the progress window's layout, steps,
// Cancel and the form it disables; the search, password and inheritance
// dialogs' answers.
#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "reportout/qlrProgress.h"

using namespace qlr;

namespace {

TEST(Progress, ExecuteWithoutBarTicksAndCancel)
{
    gui::TForm main(nullptr);
    main.Show();
    main.SetFocus();
    gui::Application->ProcessMessages();
    auto* p = new TqlrProgress(nullptr);
    EXPECT_EQ(p->ClientWidth(), 271);
    EXPECT_EQ(p->ClientHeight(), 101);
    const bool hadActive = p->ActiveFormAtStart() == &main;
    ASSERT_TRUE(hadActive);
    EXPECT_FALSE(main.Enabled());

    p->Execute(0, "", true, false);
    EXPECT_TRUE(p->Visible());
    EXPECT_TRUE(p->CancelB->Visible());
    EXPECT_FALSE(p->Bar->Visible());
    EXPECT_FALSE(p->BarVisible());
    EXPECT_EQ(p->LMessage->Top(), 35);
    EXPECT_FALSE(p->Terminated());

    p->Execute(3, "Printing page 1", false, true);
    EXPECT_FALSE(p->CancelB->Visible());
    EXPECT_EQ(p->LMessage->Top(), 15);
    EXPECT_EQ(p->LMessage->Caption(), "Printing page 1");
    for (int i = 0; i < 5; ++i) p->Tick();
    EXPECT_EQ(p->Position(), 3);   // stops at the maximum
    EXPECT_EQ(p->Bar->Position(), 3);
    p->Reset();
    EXPECT_EQ(p->Position(), 0);

    p->Execute(0, "", true, false);
    gui::sim::Click(p->CancelB, 5, 5);
    gui::Application->ProcessMessages();
    EXPECT_TRUE(p->Terminated());
    EXPECT_FALSE(p->Visible());
    EXPECT_TRUE(main.Enabled());
    delete p;
    EXPECT_TRUE(main.Enabled());
}

TEST(Progress, AnyPointDragsTheWindow)
{
    auto* p = new TqlrProgress(nullptr);
    p->Execute(0, "x", false, false);
    const int left = p->Left(), top = p->Top();
    gui::sim::MouseDown(p->Panel1, gui::TMouseButton::mbLeft, 5, 5);
    gui::sim::MouseMove(p->Panel1, 25, 15, gui::TShiftState{gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(p->Panel1, gui::TMouseButton::mbLeft, 25, 15);
    EXPECT_EQ(p->Left(), left + 20);
    EXPECT_EQ(p->Top(), top + 10);
    delete p;
}

} // namespace
