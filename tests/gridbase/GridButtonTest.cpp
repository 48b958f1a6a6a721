// The grid button driven by synthetic mouse input on a shown form: the
// check and group state tables, double clicks, the drop-down part, glyph
// and caption layout, the glyph-only corner, looks that follow the colour
// scheme, and the flat, rounded, classic and themed faces in pixels.
#include <gtest/gtest.h>

#include "gridbase/ExObj.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Themes.h"
#include "platform/sys/SystemInfo.h"

using namespace gridbase;
using namespace gui;

namespace {

struct Host {
    TForm form{nullptr};
    Host()
    {
        ResetThemeService();
        sys::ResetSystemInfo();
        form.SetBounds(0, 0, 320, 200);
        form.SetColor(clWhite);
    }
    ~Host()
    {
        form.Hide();
        ResetThemeService();
        sys::ResetSystemInfo();
    }
    TExGridButton* Add(int x, int y, int w = 88, int h = 19)
    {
        auto* b = new TExGridButton(&form);
        b->SetParent(&form);
        b->SetBounds(x, y, w, h);
        return b;
    }
    void Show()
    {
        form.Show();
        Application->ProcessMessages();
    }
    std::unique_ptr<TBitmap> Image()
    {
        Application->ProcessMessages();
        return form.GetFormImage();
    }
};

TColor PixelAt(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }
void Press(TExGridButton* b, int x = 5, int y = 5) { sim::MouseDown(b, TMouseButton::mbLeft, x, y); }
void Release(TExGridButton* b, int x = 5, int y = 5) { sim::MouseUp(b, TMouseButton::mbLeft, x, y); }

} // namespace

TEST(GridButton, CheckToggleAndClicksInsideOnly)
{
    Host h;
    auto* b = h.Add(10, 10);
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.Show();
    Press(b);
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    Release(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    b->SetDown(true);  // a plain button is never down
    EXPECT_FALSE(b->Down());

    b->SetStyle(TExGridButtonStyle::tasCheck);
    sim::Click(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 2);
    Press(b);
    sim::MouseMove(b, 200, 5);
    Release(b, 200, 5);  // outside: toggles, no click
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 2);
    Release(b);  // a release that did not begin on it
    EXPECT_FALSE(b->Down());
}

TEST(GridButton, GroupWithoutAllUpAndDoubleClicks)
{
    Host h;
    auto* a = h.Add(10, 10);
    auto* b = h.Add(10, 40);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    int dbl = 0;
    a->OnDblClick = [&](rtl::TObject*) { ++dbl; };
    h.Show();
    sim::Click(a, 5, 5);
    EXPECT_TRUE(a->Down());
    sim::Click(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    sim::Click(b, 5, 5);  // the down button stays down
    EXPECT_TRUE(b->Down());

    a->Perform(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(dbl, 0);  // only while down
    sim::Click(a, 5, 5);
    ASSERT_TRUE(a->Down());
    a->Perform(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(dbl, 1);
}

TEST(GridButton, DropDownPartAndLayout)
{
    Host h;
    auto* b = h.Add(20, 20, 60, 22);
    b->SetDropDownButton(true);
    auto* menu = new TPopupMenu(&h.form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    int drops = 0, clicks = 0;
    b->OnDropDown = [&](rtl::TObject*) { ++drops; };
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.Show();
    const int cw = b->ClientWidth();
    Press(b, cw - 12, 5);
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    Release(b, cw - 12, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(drops, 0);
    Press(b, cw - 11, 5);
    EXPECT_EQ(drops, 1);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_EQ(menu->PopupPoint(), h.form.ClientToScreen(TPoint{20, 42}));
    menu->CloseMenu();
    Release(b, cw - 11, 5);
    EXPECT_EQ(clicks, 1);
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);

    const TGridGlyphLayout l =
        CalcGridGlyphLayout({90, 22}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, -1, -1);
    EXPECT_EQ(l.Margin, 11);
    EXPECT_EQ(l.Spacing, 11);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(2);
    EXPECT_EQ(b->Margin(), 2);
}

TEST(GridButton, GlyphOnlyButtonDrawsAtTheTopLeftCorner)
{
    Host h;
    auto* b = h.Add(40, 40, 30, 30);
    b->SetColor(clWhite);
    TBitmap g(4, 4);
    g.Canvas()->Brush()->SetColor(0x0000FF);
    g.Canvas()->FillRect(TRect(0, 0, 4, 4));
    g.Canvas()->SetPixels(0, 3, 0x00FF00);  // the transparent corner
    b->SetGlyph(&g);
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 40, 40), 0x0000FFu);
    EXPECT_EQ(PixelAt(*img, 43, 42), 0x0000FFu);
    EXPECT_EQ(PixelAt(*img, 53, 53), 0xFFFFFFu);  // not centred
}

TEST(GridButton, RoundedGradientStaysVisible)
{
    Host h;
    auto* b = h.Add(10, 10, 40, 34);
    b->SetColor(0x000000);
    b->SetColorTo(0xA0A0A0);
    b->SetBorderColor(0x0000FF);
    b->SetRounded(true);
    h.Show();
    auto img = h.Image();
    // R = (1, 1, 39, 33) before the frame: band i starts at 1 + 2 i in grey 10 i.
    for (int i = 1; i < 15; ++i) EXPECT_EQ(PixelAt(*img, 10 + 20, 10 + 1 + 2 * i), RGB(10 * i, 10 * i, 10 * i)) << i;
    EXPECT_EQ(PixelAt(*img, 10 + 20, 10), 0x0000FFu);  // the rounded frame on the edge
}

TEST(GridButton, LooksFollowTheColourScheme)
{
    Host h;
    auto* b = h.Add(0, 0);
    b->SetRounded(true);
    b->SetBorderColor(clBlack);
    SetThemeColorScheme("HomeStead");
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Color(), 0xCFF0EAu);
    EXPECT_EQ(b->ColorTo(), 0x8CC0B1u);
    EXPECT_EQ(b->ColorDown(), 0x4E91FEu);
    EXPECT_EQ(b->BorderColor(), clNone);
    EXPECT_FALSE(b->Rounded());
    SetThemeActive(false);
    b->Perform(WM_THEMECHANGED);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorHot(), 0xEED2C1u);
    SetThemeServiceInstalled(false);
    SetThemeActive(true);
    EXPECT_EQ(GridXPColorScheme(), 0);
}

TEST(GridButton, ThemedPushFrameDiffersFromTheClassicOne)
{
    Host h;
    auto* b = h.Add(10, 10, 60, 24);
    b->SetFlat(false);
    b->SetAutoXPStyle(true);
    h.Show();
    auto themed = h.Image();
    SetThemeActive(false);
    b->Invalidate();
    auto classic = h.Image();
    int differ = 0;
    for (int y = 10; y < 34; ++y)
        for (int x = 10; x < 70; ++x) differ += PixelAt(*themed, x, y) != PixelAt(*classic, x, y);
    EXPECT_GT(differ, 20);
    // Without the new common controls the themed look is not used.
    SetThemeActive(true);
    sys::TSystemInfo old;
    old.ComCtlMajorVersion = 5;
    sys::SetSystemInfo(old);
    auto* c = h.Add(100, 10, 60, 24);
    c->SetFlat(false);
    c->SetAutoXPStyle(true);
    auto img = h.Image();
    int same = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) same += PixelAt(*img, 100 + x, 10 + y) == PixelAt(*classic, 10 + x, 10 + y);
    EXPECT_EQ(same, 60 * 24);
}

// A linked action hands its caption, its group and its checked state down
// to the button, at the link and whenever they change.
TEST(GridButton, ActionHandsDownCaptionGroupAndChecked)
{
    Host h;
    TExGridButton* b = h.Add(10, 10);
    b->SetAllowAllUp(true);
    TAction action(nullptr);
    action.SetCaption("Zoom");
    action.SetGroupIndex(4);
    b->SetAction(&action);
    EXPECT_EQ(b->Caption(), "Zoom");
    EXPECT_EQ(b->GroupIndex(), 4);
    EXPECT_FALSE(b->Down());

    action.SetCaption("Pan");
    EXPECT_EQ(b->Caption(), "Pan");
    action.SetGroupIndex(7);
    EXPECT_EQ(b->GroupIndex(), 7);
    action.SetChecked(true);
    EXPECT_TRUE(b->Down());
    action.SetChecked(false);
    EXPECT_FALSE(b->Down());

    // An action without a group leaves the button's own group alone.
    TExGridButton* own = h.Add(10, 40);
    own->SetGroupIndex(2);
    TAction plain(nullptr);
    own->SetAction(&plain);
    EXPECT_EQ(own->GroupIndex(), 2);
}
