// The combo-box cell editor on a test form: the button width range, the
// drop-down width, the flat look against the platform's, the focus border
// on hover and focus, the colours of a disabled flat combo, and its version.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridbase/grdcombo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

using namespace gridbase;
using namespace gui;

namespace {

struct ComboFixture : testing::Test {
    TForm Form{nullptr};
    TGRDComboBox* Combo;
    TEdit* Other;
    ComboFixture()
    {
        Form.SetBounds(0, 0, 300, 200);
        Form.SetColor(0xE0F0FF);
        Combo = new TGRDComboBox(&Form);
        Combo->SetParent(&Form);
        Combo->SetBounds(20, 20, 120, 24);
        Combo->Items()->Add("North");
        Combo->Items()->Add("South");
        Other = new TEdit(&Form);
        Other->SetParent(&Form);
        Other->SetBounds(20, 160, 100, 24);
        Form.Show();
        Other->SetFocus();  // the combo starts without the focus
        Application->ProcessMessages();
    }
    TColor Pixel(int x, int y)
    {
        Application->ProcessMessages();
        auto img = Form.GetFormImage();
        return ColorToRGB(img->Canvas()->Pixels(20 + x, 20 + y));
    }
};

} // namespace

TEST_F(ComboFixture, ButtonWidthDropWidthAndVersion)
{
    const int start = Combo->ButtonWidth();
    EXPECT_EQ(start, GetSystemMetrics(SM_CXVSCROLL) + 4);
    for (int refused : {13, 33, 0, -1}) {
        Combo->SetButtonWidth(refused);
        EXPECT_EQ(Combo->ButtonWidth(), start);
    }
    Combo->SetButtonWidth(14);
    EXPECT_EQ(Combo->ButtonWidth(), 14);
    Combo->SetButtonWidth(32);
    EXPECT_EQ(Combo->ButtonWidth(), 32);

    Combo->SetDropWidth(0);
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 120);
    Combo->SetDropWidth(250);
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 250);
    Combo->SetDropWidth(0);  // stored, not sent
    EXPECT_EQ(Combo->DropWidth(), 0);
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 250);

    EXPECT_EQ(Combo->Version(), "1.2.0.1");
    Combo->SetVersion("9.9");
    EXPECT_EQ(Combo->Version(), "1.2.0.1");
}

TEST_F(ComboFixture, FlatLookAgainstThePlatformLook)
{
    auto* plain = new TComboBox(&Form);
    plain->SetParent(&Form);
    plain->SetBounds(20, 100, 120, 24);
    plain->Items()->Add("North");
    Combo->SetFlat(false);
    EXPECT_TRUE(Combo->Ctl3D());
    Application->ProcessMessages();
    auto img = Form.GetFormImage();
    // The same frame and face (the arrow's hover shading follows wherever the
    // pointer was left).
    auto near = [](TColor a, TColor b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
        return true;
    };
    int differ = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 120 - 24; ++x)
            differ += !near(img->Canvas()->Pixels(20 + x, 20 + y), img->Canvas()->Pixels(20 + x, 100 + y));
    EXPECT_EQ(differ, 0);
    Combo->SetFlat(true);
    EXPECT_FALSE(Combo->Ctl3D());
    EXPECT_EQ(Pixel(0, 0), 0xE0F0FFu);  // the flat border in the parent's colour
    EXPECT_EQ(Pixel(1, 1), 0xE0F0FFu);
}

TEST_F(ComboFixture, FocusBorderOnHoverAndFocus)
{
    const TColor flat = 0xE0F0FF, shadow = ColorToRGB(clBtnShadow);
    Combo->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Combo->MouseInControl());
    EXPECT_EQ(Pixel(0, 0), flat);  // FocusBorder off: flat while hot
    Combo->Perform(CM_MOUSELEAVE);
    Combo->SetFocusBorder(true);
    EXPECT_EQ(Pixel(0, 0), flat);
    Combo->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Pixel(0, 0), shadow);  // sunken while hot
    Combo->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Pixel(0, 0), flat);
    Combo->SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(Screen->ActiveControl(), Combo);
    EXPECT_EQ(Pixel(0, 0), shadow);  // and while focused
}

TEST_F(ComboFixture, DisabledFlatComboTakesTheParentColour)
{
    Combo->SetColor(0x00FFFF);
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), 0xE0F0FFu);
    EXPECT_TRUE(Combo->ParentColor());
    Combo->SetEnabled(true);
    EXPECT_EQ(Combo->Color(), 0x00FFFFu);
    EXPECT_FALSE(Combo->ParentColor());
}
