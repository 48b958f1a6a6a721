// The combo box: button width, label placement, colours, OnDropUp and the
// flat look painted over the native combo.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExCombo.h"
#include "platform/gui/InputSim.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

TExComboBox* AddCombo(Host& h, int x = 100, int y = 50)
{
    auto* c = new TExComboBox(&h.form);
    c->SetParent(&h.form);
    c->SetBounds(x, y, 150, 21);
    c->Items()->Add("alpha");
    c->Items()->Add("beta");
    c->Items()->Add("gamma");
    return c;
}

} // namespace

TEST(ExComboBox, ButtonWidthTakesOnly14To32)
{
    Host h;
    auto* c = AddCombo(h);
    EXPECT_EQ(c->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    c->SetButtonWidth(18);
    for (int v : {13, 33, -1}) {
        c->SetButtonWidth(v);
        EXPECT_EQ(c->ButtonWidth(), 18) << v;
    }
    c->SetButtonWidth(14);
    EXPECT_EQ(c->ButtonWidth(), 14);
    c->SetButtonWidth(32);
    EXPECT_EQ(c->ButtonWidth(), 32);
    EXPECT_EQ(c->Version(), "1.2.5.3");
}

TEST(ExComboBox, LabelPositions)
{
    Host h;
    auto* c = AddCombo(h);
    c->SetLabelCaption("Zone");
    TLabel* l = c->Label();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), &h.form);
    const int lw = l->Width(), lh = l->Height();
    TCanvas* lc = l->Canvas();
    lc->SetFont(l->Font());
    const int w = lc->TextWidth("Zone");
    const int centre = 50 + (21 - lh) / 2, hcentre = 100 + (150 - lw) / 2;
    struct Case {
        TLabelPosition pos;
        int left, top;
    };
    const Case cases[] = {
        {TLabelPosition::lpLeftTop, 100 - w - 4, 50},
        {TLabelPosition::lpLeftCenter, 100 - w - 4, centre},
        {TLabelPosition::lpLeftBottom, 100 - w - 4, 71 - lh},
        {TLabelPosition::lpTopLeft, 100, 50 - lh - 4},
        {TLabelPosition::lpBottomLeft, 100, 75},
        {TLabelPosition::lpLeftTopLeft, 96, 50},
        {TLabelPosition::lpLeftCenterLeft, 96, centre},
        {TLabelPosition::lpLeftBottomLeft, 96, 71 - lh},
        {TLabelPosition::lpTopCenter, hcentre, 50 - lh - 4},
        {TLabelPosition::lpBottomCenter, hcentre, 75},
    };
    for (const Case& k : cases) {
        c->SetLabelPosition(k.pos);
        EXPECT_EQ(l->Left(), k.left) << static_cast<int>(k.pos);
        EXPECT_EQ(l->Top(), k.top) << static_cast<int>(k.pos);
    }
    // A 13-pixel label above a combo at (100, 50) with margin 4: (100, 33).
    l->SetAutoSize(false);
    l->SetHeight(13);
    c->SetLabelPosition(TLabelPosition::lpTopLeft);
    EXPECT_EQ(l->Left(), 100);
    EXPECT_EQ(l->Top(), 33);
    // The label follows the combo.
    c->SetBounds(120, 80, 150, 21);
    EXPECT_EQ(l->Left(), 120);
    EXPECT_EQ(l->Top(), 63);
}

TEST(ExComboBox, VisibleAndEnabledCarryTheLabel)
{
    Host h;
    auto* bare = AddCombo(h, 100, 100);
    bare->SetVisible(false);
    EXPECT_FALSE(bare->Visible());
    bare->SetVisible(true);

    auto* c = AddCombo(h);
    c->SetLabelCaption("Zone");
    c->SetVisible(false);
    EXPECT_FALSE(c->Label()->Visible());
    c->SetVisible(true);
    EXPECT_TRUE(c->Label()->Visible());
    c->SetEnabled(false);
    EXPECT_FALSE(c->Label()->Enabled());
    c->SetEnabled(true);
    c->SetLabelAlwaysEnabled(true);
    c->SetEnabled(false);
    EXPECT_TRUE(c->Label()->Enabled());
    // Freeing the combo frees its label.
    delete c;
    EXPECT_EQ(h.form.ControlCount(), 1);
}

TEST(ExComboBox, FlatDisabledComboTakesTheParentColour)
{
    Host h;
    h.form.SetColor(0x00D0E0);
    auto* c = AddCombo(h);
    c->SetFlatParentColor(false);
    c->SetFlat(true);
    c->SetColor(0xFFF0F0);
    c->SetEnabled(false);
    EXPECT_EQ(c->Color(), 0x00D0E0u);
    EXPECT_TRUE(c->ParentColor());
    c->SetEnabled(true);
    EXPECT_EQ(c->Color(), 0xFFF0F0u);
    EXPECT_FALSE(c->ParentColor());
}

TEST(ExComboBox, DropUpOncePerCloseAndSelectItem)
{
    Host h;
    auto* c = AddCombo(h);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    int dropUps = 0, closeUps = 0;
    c->OnDropUp = [&](rtl::TObject*) { ++dropUps; };
    c->OnCloseUp = [&](rtl::TObject*) { ++closeUps; };
    h.Show();
    c->SetDroppedDown(true);
    Application->ProcessMessages();
    c->SetDroppedDown(false);
    EXPECT_EQ(dropUps, 1);
    c->Perform(CB_SHOWDROPDOWN, 1);
    Application->ProcessMessages();
    c->Perform(CB_SHOWDROPDOWN, 0);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(dropUps, 2);
    EXPECT_EQ(closeUps, 2);
    // Closing an already closed list is no close.
    c->SetDroppedDown(false);
    EXPECT_EQ(dropUps, 2);

    c->SelectItem("gamma");
    EXPECT_EQ(c->ItemIndex(), 2);
    c->SelectItem("delta");
    EXPECT_EQ(c->ItemIndex(), 2);
}

TEST(ExComboBox, FlatFrameAndButtonArePaintedOverTheNativeCombo)
{
    Host h;
    h.form.SetColor(0x00D0E0);
    auto* c = AddCombo(h, 20, 20);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->SetFlatLineColor(clRed);
    h.Show();
    auto plain = h.Image();
    c->SetFlat(true);
    auto img = h.Image();
    controls_test::Keep(*img, "combo-flat");
    // The outer ring in the parent's colour, then the flat line in red.
    EXPECT_EQ(PixelAt(*img, 20, 30), 0x00D0E0u);
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20), 0x00D0E0u);
    EXPECT_EQ(PixelAt(*img, 20 + 50, 21), 0x0000FFu);
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20 + 19), 0x0000FFu);
    EXPECT_NE(PixelAt(*plain, 20 + 50, 21), 0x0000FFu);

    // The button: themed, then classic once the theme is switched off
    // (asked again at the next paint).
    auto buttonPixels = [&](TBitmap& b) {
        std::string px;
        const int x0 = 20 + 150 - c->ButtonWidth() + 1;
        for (int y = 22; y < 39; ++y)
            for (int x = x0; x < 20 + 148; ++x) px += std::to_string(PixelAt(b, x, y)) + ",";
        return px;
    };
    const std::string themed = buttonPixels(*img);
    gui::SetThemeActive(false);
    c->Invalidate();
    auto classic = h.Image();
    controls_test::Keep(*classic, "combo-flat-classic");
    EXPECT_NE(buttonPixels(*classic), themed);
    // Classic: a flat frame-control button, its face in clBtnFace.
    EXPECT_EQ(PixelAt(*classic, 20 + 150 - 6, 30 - 6), ColorToRGB(clBtnFace));
}
