// The tool button driven by synthetic mouse input on a shown form: states,
// clicks, groups, the drop-down part, layout, glyphs, looks and painting.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExToolBtn.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/InputSim.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

struct ButtonHost : Host {
    TExToolButton* Add(int x, int y, int w = 88, int h = 19)
    {
        auto* b = new TExToolButton(&form);
        b->SetParent(&form);
        b->SetBounds(x, y, w, h);
        return b;
    }
};

void Press(TExToolButton* b, int x = 5, int y = 5) { sim::MouseDown(b, TMouseButton::mbLeft, x, y); }
void Release(TExToolButton* b, int x = 5, int y = 5) { sim::MouseUp(b, TMouseButton::mbLeft, x, y); }

} // namespace

TEST(ExToolButton, PushAndCheckStates)
{
    ButtonHost h;
    auto* b = h.Add(10, 10);
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.Show();

    // tasButton: down while held, up after; the click on release inside.
    sim::MouseMove(b, 5, 5);
    Press(b);
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    Release(b);
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    // Released outside: no click.
    Press(b);
    sim::MouseMove(b, 200, 5);
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    Release(b, 200, 5);
    EXPECT_EQ(clicks, 1);
    // A plain button is never down.
    b->SetDown(true);
    EXPECT_FALSE(b->Down());

    // tasCheck toggles on every release that began on it, inside or not.
    b->SetStyle(TExToolButtonStyle::tasCheck);
    sim::Click(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 2);
    Press(b);
    sim::MouseMove(b, 200, 5);
    Release(b, 200, 5);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 2);
    // A release that did not begin on it changes nothing.
    Release(b);
    EXPECT_FALSE(b->Down());
}

TEST(ExToolButton, GroupsAreExclusive)
{
    for (bool allowAllUp : {false, true}) {
        ButtonHost h;
        auto* a = h.Add(10, 10);
        auto* b = h.Add(10, 40);
        a->SetGroupIndex(1);
        b->SetGroupIndex(1);
        b->SetAllowAllUp(allowAllUp);
        EXPECT_EQ(a->AllowAllUp(), allowAllUp);   // the group takes the setting
        h.Show();
        sim::Click(a, 5, 5);
        EXPECT_TRUE(a->Down());
        EXPECT_EQ(a->State(), TButtonState::bsExclusive);
        sim::Click(b, 5, 5);
        EXPECT_TRUE(b->Down());
        EXPECT_FALSE(a->Down());
        EXPECT_EQ(a->State(), TButtonState::bsUp);
        // Clicking the down button again: it stays down unless all may be up.
        sim::Click(b, 5, 5);
        EXPECT_EQ(b->Down(), !allowAllUp) << allowAllUp;
        EXPECT_FALSE(a->Down());
    }
}

TEST(ExToolButton, DropDownPartOpensTheMenu)
{
    ButtonHost h;
    auto* b = h.Add(20, 20, 60, 22);
    b->SetDropDownButton(true);
    auto* menu = new TPopupMenu(&h.form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    int dropDowns = 0, clicks = 0;
    b->OnDropDown = [&](rtl::TObject*) { ++dropDowns; };
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.Show();
    const int cw = b->ClientWidth();
    Press(b, cw - 12, 5);
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    EXPECT_EQ(dropDowns, 0);
    Release(b, cw - 12, 5);
    EXPECT_EQ(clicks, 1);
    Press(b, cw - 11, 5);
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_EQ(menu->PopupPoint(), h.form.ClientToScreen(TPoint{20, 42}));
    menu->CloseMenu();
    Release(b, cw - 11, 5);
    EXPECT_EQ(clicks, 1);
    // Freeing the menu clears the reference.
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

TEST(ExToolButton, GlyphAndCaptionLayout)
{
    // 90 pixels, glyph 16, caption 40, both spread evenly: (90 - 56) div 3.
    TGlyphLayout l = CalcGlyphLayout({90, 22}, {16, 16}, {40, 13}, TButtonLayout::blGlyphLeft, -1, -1);
    EXPECT_EQ(l.Margin, 11);
    EXPECT_EQ(l.Spacing, 11);
    EXPECT_EQ(l.GlyphPos, (TPoint{11, 3}));
    EXPECT_EQ(l.TextBounds, (TRect{38, 5, 78, 18}));
    // Centred with spacing 4; the glyph on the right.
    l = CalcGlyphLayout({90, 22}, {16, 16}, {40, 13}, TButtonLayout::blGlyphRight, -1, 4);
    EXPECT_EQ(l.Margin, 15);
    EXPECT_EQ(l.GlyphPos.X, 59);
    EXPECT_EQ(l.TextBounds.Left, 15);
    // Fixed margin, even spacing; below the caption.
    l = CalcGlyphLayout({40, 60}, {16, 16}, {30, 13}, TButtonLayout::blGlyphBottom, 2, -1);
    EXPECT_EQ(l.Spacing, (60 - 18 - 13) / 2);
    EXPECT_EQ(l.GlyphPos.Y, 42);
    // No caption: no spacing.
    l = CalcGlyphLayout({22, 22}, {16, 16}, {0, 0}, TButtonLayout::blGlyphLeft, -1, 4);
    EXPECT_EQ(l.GlyphPos.X, 3);

    ButtonHost h;
    auto* b = h.Add(0, 0);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
}

TEST(ExToolButton, DisabledGlyphIsMadeOnceFromTheFirstGlyph)
{
    ButtonHost h;
    auto* b = h.Add(0, 0);
    TBitmap g(2, 1);
    g.Canvas()->SetPixels(0, 0, RGB(30, 60, 90));    // mean 60 -> 30 + 96
    g.Canvas()->SetPixels(1, 0, RGB(255, 255, 255)); // 255 -> 127 + 96
    b->SetGlyph(&g);
    EXPECT_EQ(ColorToRGB(b->GlyphDisabled()->Canvas()->Pixels(0, 0)), RGB(126, 126, 126));
    EXPECT_EQ(ColorToRGB(b->GlyphDisabled()->Canvas()->Pixels(1, 0)), RGB(223, 223, 223));
    TBitmap other(2, 1);
    other.Canvas()->SetPixels(0, 0, clBlack);
    b->SetGlyph(&other);
    EXPECT_EQ(ColorToRGB(b->Glyph()->Canvas()->Pixels(0, 0)), 0u);
    EXPECT_EQ(ColorToRGB(b->GlyphDisabled()->Canvas()->Pixels(0, 0)), RGB(126, 126, 126));
}

TEST(ExToolButton, LooksAndStyles)
{
    ButtonHost h;
    auto* b = h.Add(0, 0);
    b->SetFlat(false);
    b->ApplyLook(8);
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Color(), 0xEEDBC8u);
    EXPECT_EQ(b->ColorHot(), 0xEBFDFFu);
    EXPECT_EQ(b->BorderColor(), 0xE0B99Bu);
    EXPECT_TRUE(b->Rounded());
    b->ApplyLook(3);   // hot to checked colours as look 2
    EXPECT_EQ(b->Color(), 0xCFF0EAu);
    EXPECT_EQ(b->ColorDown(), 0x4E91FEu);
    EXPECT_EQ(b->ColorCheckedTo(), 0x55ADFFu);
    EXPECT_FALSE(b->Rounded());
    b->ApplyLook(13);
    EXPECT_EQ(b->ColorDown(), clHighlight);
    EXPECT_EQ(b->BorderHotColor(), 0x808080u);
    b->ApplyLook(14);   // no such look
    EXPECT_EQ(b->ColorDown(), clHighlight);
    b->SetComponentStyle(TQuorStyle::tsWindowsXP);
    EXPECT_EQ(b->Color(), 0xEDF1F1u);
    b->SetComponentStyle(TQuorStyle::tsOffice2010Blue);
    EXPECT_EQ(b->Color(), 0xEDF1F1u);
    // Following the colour scheme: olive gives look 3, none the classic look 1.
    gui::SetThemeColorScheme("HomeStead");
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Color(), 0xCFF0EAu);
    gui::SetThemeActive(false);
    b->Perform(WM_THEMECHANGED);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorHot(), 0xEED2C1u);
}

TEST(ExToolButton, PaintedStates)
{
    ButtonHost h;
    auto* b = h.Add(10, 10, 88, 19);
    b->SetColor(0xE0E0E0);
    b->SetBorderColor(clBlack);
    b->SetBorderDownColor(clMaroon);
    b->SetBorderHotColor(clBlue);
    b->SetColorHot(0xF0D0D0);
    b->SetColorDown(0xC0C0F0);
    h.Show();
    auto img = h.Image();
    // Normal: the frame in BorderColor, the face in Color.
    EXPECT_EQ(PixelAt(*img, 10, 10), 0x000000u);
    EXPECT_EQ(PixelAt(*img, 13, 15), 0xE0E0E0u);
    sim::MouseMove(b, 40, 8);
    EXPECT_TRUE(b->MouseInControl());
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 10, 10), 0xFF0000u);
    EXPECT_EQ(PixelAt(*img, 13, 15), 0xF0D0D0u);
    Press(b, 40, 8);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 10, 10), 0x000080u);
    EXPECT_EQ(PixelAt(*img, 13, 15), 0xC0C0F0u);
    Release(b, 40, 8);
    sim::MouseMove(b, 200, 100);
    EXPECT_FALSE(b->MouseInControl());

    // Look 5 hovered: clBtnFace without frame.
    b->ApplyLook(5);
    sim::MouseMove(b, 40, 8);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 11, 11), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(*img, 10, 10), 0xFFFFFFu);   // the form: R shrank by 1
}

TEST(ExToolButton, GradientHasSixteenBands)
{
    ButtonHost h;
    auto* b = h.Add(10, 10, 40, 34);
    b->SetColor(0x000000);
    b->SetColorTo(0xA0A0A0);
    h.Show();
    auto img = h.Image();
    // R = (1, 1, 39, 33): band i starts at y 1 + 2i in grey 10 i.
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PixelAt(*img, 10 + 20, 10 + 1 + 2 * i), RGB(10 * i, 10 * i, 10 * i)) << i;
}

TEST(ExToolButton, EnterAndLeaveEvents)
{
    ButtonHost h;
    auto* b = h.Add(10, 10);
    int enters = 0, leaves = 0;
    b->OnMouseEnter = [&](rtl::TObject*) { ++enters; };
    b->OnMouseLeave = [&](rtl::TObject*) { ++leaves; };
    h.Show();
    sim::MouseMove(b, 5, 5);
    EXPECT_EQ(enters, 1);
    sim::MouseMove(b, 200, 100);
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(b->MouseInControl());
    // Disabled: no hot look.
    b->SetEnabled(false);
    sim::MouseMove(b, 5, 5);
    EXPECT_FALSE(b->MouseInControl());
}

TEST(ExToolButton, LinkedActionGivesCaptionAndChecked)
{
    ButtonHost h;
    auto* b = h.Add(10, 10);
    auto* action = new TAction(&h.form);
    action->SetCaption("Reset");
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), "Reset");
    action->SetChecked(true);
    EXPECT_TRUE(b->Down());
    action->SetChecked(false);
    EXPECT_FALSE(b->Down());
    // Without AllowAllUp the action's check does not reach the button.
    b->SetAllowAllUp(false);
    action->SetChecked(true);
    EXPECT_FALSE(b->Down());
    int runs = 0;
    action->OnExecute = [&](rtl::TObject*) { ++runs; };
    h.Show();
    sim::Click(b, 5, 5);
    EXPECT_EQ(runs, 1);
}
