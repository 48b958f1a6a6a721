// The edit-with-button cell editors on a test form: F4 and the button,
// the unit menu and its commands, the text area left of the unit, right
// alignment and the editor switched off.
#include <gtest/gtest.h>

#include "gridbase/GRDEdit.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Messages.h"

using namespace gridbase;
using namespace gui;

namespace {

struct EditFixture : testing::Test {
    TForm Form{nullptr};
    int Beeps = 0;
    EditFixture()
    {
        SetMessageBeepHandler([this](uint32_t) { ++Beeps; });
        Form.SetBounds(0, 0, 300, 200);
    }
    ~EditFixture() override { SetMessageBeepHandler(nullptr); }
    template <typename T>
    T* Add()
    {
        auto* e = new T(&Form);
        e->SetParent(&Form);
        e->SetBounds(10, 10, 150, 24);
        Form.Show();
        e->SetFocus();
        Application->ProcessMessages();
        return e;
    }
};

} // namespace

TEST_F(EditFixture, F4AndTheButtonFireOnClickBtn)
{
    auto* e = Add<TGrdEditBtn>();
    std::vector<rtl::TObject*> senders;
    e->OnClickBtn = [&](rtl::TObject* s) { senders.push_back(s); };
    sim::KeyDown(VK_F4, {}, e);
    sim::KeyDown(VK_F4, {TShiftStateItem::ssCtrl}, e);
    sim::KeyDown(VK_F4, {TShiftStateItem::ssAlt}, e);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], e);

    TExSpeedButton* b = e->Button()->Button();
    sim::MouseDown(b, TMouseButton::mbLeft, 3, 3);
    sim::MouseUp(b, TMouseButton::mbLeft, 200, 100);  // released elsewhere
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], e->Button());
    sim::MouseUp(b, TMouseButton::mbRight, 3, 3);
    EXPECT_EQ(senders.size(), 2u);
}

TEST_F(EditFixture, UnitMenuCommands)
{
    auto* e = Add<TGrdUnitEditBtn>();
    int fired = 0;
    e->OnClickBtn = [&](rtl::TObject*) { ++fired; };
    e->SetUnitID("m");
    sim::Click(e->Button()->Button(), 3, 3);
    ASSERT_NE(e->UnitMenu(), nullptr);
    EXPECT_EQ(e->UnitMenu()->Items()->Count(), 0);  // no units: an empty menu
    e->UnitMenu()->CloseMenu();
    EXPECT_EQ(e->UnitID(), "m");

    rtl::TStringList units;
    units.Add("mm");
    units.Add("cm");
    units.Add("km");
    e->SetUnits(&units);
    e->SetUnits(nullptr);  // changes nothing
    ASSERT_EQ(e->Units()->Count(), 3);
    sim::Click(e->Button()->Button(), 3, 3);
    TPopupMenu* menu = e->UnitMenu();
    ASSERT_EQ(menu->Items()->Count(), 3);
    EXPECT_EQ(menu->Items()->Items(1)->Caption(), "cm");
    EXPECT_EQ(menu->PopupPoint(), e->ClientToScreen({e->ClientWidth() - 15, e->ClientHeight()}));
    menu->Items()->Items(1)->Click();
    EXPECT_EQ(e->UnitID(), "cm");
    menu->CloseMenu();
    e->Perform(WM_COMMAND, 3, 0);
    EXPECT_EQ(e->UnitID(), "km");
    for (WPARAM id : {WPARAM(0), WPARAM(4), MAKEWPARAM(1, EN_CHANGE)}) {
        e->Perform(WM_COMMAND, id, 0);
        EXPECT_EQ(e->UnitID(), "km");
    }
    EXPECT_EQ(fired, 0);
}

TEST_F(EditFixture, TextAreaStopsBeforeTheUnitAndTheButton)
{
    auto* e = Add<TGrdUnitEditBtn>();
    e->SetUnitSpace(20);
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, e->ClientWidth() - 28 - e->Button()->Width());
    EXPECT_EQ(r.Left, 1);

    auto* plain = Add<TGrdEditBtn>();
    plain->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, plain->ClientWidth() - 5 - plain->Button()->Width());
    // The host sits at the right edge, inside the border.
    EXPECT_EQ(plain->Button()->Left(), plain->Width() - plain->Button()->Width() - 5);
}

TEST_F(EditFixture, RightAlignAndEditorSwitchedOff)
{
    auto* e = Add<TGrdEditBtn>();
    e->SetText("abc");
    e->SetRightAlign(true);
    EXPECT_EQ(e->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(e->Text(), "abc");
    EXPECT_TRUE(Add<TGrdUnitEditBtn>()->RightAlign());

    e->SetEditorEnabled(false);
    e->SetSelStart(3);
    sim::TypeText("xy", e);
    sim::KeyPress(VK_BACK, {}, e);
    e->SelectAll();
    e->Perform(WM_CUT);
    e->Perform(WM_PASTE);
    EXPECT_EQ(e->Text(), "abc");
    EXPECT_EQ(Beeps, 0);  // silently
    int fired = 0;
    e->OnClickBtn = [&](rtl::TObject*) { ++fired; };
    sim::KeyDown(VK_F4, {}, e);
    EXPECT_EQ(fired, 1);
    e->SetEditorEnabled(true);
    e->SetSelStart(3);
    sim::TypeText("d", e);
    EXPECT_EQ(e->Text(), "abcd");
}
