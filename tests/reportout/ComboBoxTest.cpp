// The flat combo box: its list size rules and its four looks painted.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "reportout/qlrComboBox.h"
#include "reportout/qlrCtrls.h"

using namespace qlr;

namespace {

TEST(FlatCombo, ListSizeRules)
{
    gui::TForm form(nullptr);
    auto* c = new TqlrComboBox(&form);
    c->SetParent(&form);
    c->SetItemHeight(15);
    c->SetBounds(0, 0, 49, 21);
    c->SetListWidth(100);
    EXPECT_EQ(c->ListSize().cx, 100);
    EXPECT_EQ(c->ListSize().cy, 17);   // empty: one row
    c->SetListWidth(0);
    EXPECT_EQ(c->ListSize().cx, 49);
    for (const char* z : {"50%", "100%", "200%"}) c->Items()->Add(z);
    EXPECT_EQ(c->ListSize().cy, 3 * 15 + 2);
    c->SetDropDownCount(2);
    EXPECT_EQ(c->ListSize().cy, 2 * 15 + 2);
    c->SetDropDownCount(0);
    EXPECT_EQ(c->ListSize().cy, 17);

    c->SetItemIndex(1);
    EXPECT_EQ(c->Text(), "100%");
    c->SetReadOnly(true);
    EXPECT_TRUE(c->Edit()->ReadOnly());
    // The edit field sits inside the frame, left of the button.
    EXPECT_EQ(c->Edit()->Left(), 3);
    EXPECT_EQ(c->Edit()->Top(), 3);
    EXPECT_EQ(c->Edit()->Width(), 49 - 11 - 8);
    EXPECT_EQ(c->Edit()->Height(), 21 - 6);
}

TEST(FlatCombo, LooksPainted)
{
    gui::TForm form(nullptr);
    auto* c = new TqlrComboBox(&form);
    c->SetParent(&form);
    c->SetBounds(0, 0, 80, 22);
    const int w = 80, h = 22;
    const int arrowY = static_cast<int>(std::nearbyint((h - 4) / 2.0)) + 1;
    auto paint = [&] {
        auto bmp = std::make_unique<gui::TBitmap>(w, h);
        c->PaintTo(bmp->Canvas(), 0, 0);
        return bmp;
    };
    const auto rgb = [](gui::TColor col) { return gui::ColorToRGB(col); };
    // Normal.
    auto bmp = paint();
    EXPECT_EQ(bmp->Canvas()->Pixels(0, h / 2), rgb(gui::clBtnFace));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 4, 4), rgb(gui::clBtnFace));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 9 + 2, arrowY), rgb(gui::clBtnText));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 9 + 2, arrowY + 2), rgb(gui::clBtnText));
    EXPECT_NE(bmp->Canvas()->Pixels(w - 9 + 5, arrowY), rgb(gui::clBtnText));
    // Hot: the mouse is inside.
    c->Perform(gui::CM_MOUSEENTER);
    bmp = paint();
    EXPECT_EQ(bmp->Canvas()->Pixels(0, h / 2), rgb(gui::clHighlight));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 4, 4), MixColors(gui::clHighlight, gui::clWindow, 30));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 15, h / 2), rgb(gui::clHighlight));   // separator
    c->Perform(gui::CM_MOUSELEAVE);
    // Dropped down.
    c->Items()->Add("100%");
    c->SetDroppedDown(true);
    ASSERT_TRUE(c->DroppedDown());
    bmp = paint();
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 4, 4), MixColors(gui::clHighlight, gui::clWindow, 50));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 9 + 2, arrowY), rgb(gui::clCaptionText));
    c->SetDroppedDown(false);
    // Disabled.
    c->SetEnabled(false);
    bmp = paint();
    EXPECT_EQ(bmp->Canvas()->Pixels(0, h / 2), rgb(gui::clBtnShadow));
    EXPECT_EQ(bmp->Canvas()->Pixels(1, h / 2), rgb(gui::clBtnFace));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 4, 4), rgb(gui::clBtnFace));
    EXPECT_EQ(bmp->Canvas()->Pixels(w - 9 + 2, arrowY), rgb(gui::clGrayText));
}

} // namespace
