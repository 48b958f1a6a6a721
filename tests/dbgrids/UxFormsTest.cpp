// The form bases and the drawing helpers.
#include <gtest/gtest.h>

#include "dbgrids/UxExForms.h"
#include "dbgrids/UxGraphics.h"
#include "platform/gui/StdCtrls.h"

using namespace dbgrids;
using namespace gui;

namespace {

// A 4x3 glyph: red with a green bottom-left pixel and a blue top-right one.
std::unique_ptr<TBitmap> Glyph()
{
    auto b = std::make_unique<TBitmap>(4, 3, TPixelFormat::pf32bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) b->Canvas()->SetPixels(x, y, clRed);
    b->Canvas()->SetPixels(0, 2, clLime);
    b->Canvas()->SetPixels(3, 0, clBlue);
    return b;
}

std::unique_ptr<TBitmap> White(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h, TPixelFormat::pf32bit);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(TRect{0, 0, w, h});
    return b;
}

} // namespace

TEST(UxGraphics, MaskedDrawing)
{
    auto glyph = Glyph();
    auto dest = White(10, 10);
    DrawMaskedBitmap(dest->Canvas(), 2, 2, glyph.get(), clNone);  // a plain copy
    EXPECT_EQ(dest->Canvas()->Pixels(2, 4), clLime);
    EXPECT_EQ(dest->Canvas()->Pixels(5, 2), clBlue);
    dest = White(10, 10);
    DrawMaskedBitmap(dest->Canvas(), 2, 2, glyph.get(), clDefault);  // bottom-left colour left out
    EXPECT_EQ(dest->Canvas()->Pixels(2, 4), clWhite);
    EXPECT_EQ(dest->Canvas()->Pixels(3, 3), clRed);
    dest = White(10, 10);
    DrawMaskedBitmap(dest->Canvas(), 0, 0, glyph.get(), clBlue);
    EXPECT_EQ(dest->Canvas()->Pixels(3, 0), clWhite);
    EXPECT_EQ(dest->Canvas()->Pixels(0, 2), clLime);
    dest = White(10, 10);
    StretchTransparentBitmap(dest->Canvas(), glyph.get(), clNone, 1, 1, 0, 0, 0, 0, 0, 0);  // natural size
    EXPECT_EQ(dest->Canvas()->Pixels(4, 1), clBlue);
    EXPECT_EQ(dest->Canvas()->Pixels(5, 1), clWhite);
    EXPECT_EQ(dest->Canvas()->Pixels(1, 4), clWhite);
}

TEST(UxGraphics, Measures)
{
    EXPECT_EQ(ScanLineBytes(1), 4);
    EXPECT_EQ(ScanLineBytes(33), 8);
    EXPECT_EQ(PaletteEntryCount(4), 16);
    EXPECT_EQ(PaletteEntryCount(24), 0);
    EXPECT_EQ(AbsRectWidth(TRect{10, 0, 4, 0}), 6);
    EXPECT_EQ(PaletteRelativeColor(clRed), 0x020000FFu);
}

TEST(UxForms, NonFocusableFormShownWithoutActivation)
{
    TForm main(nullptr);
    main.SetBounds(0, 0, 300, 200);
    auto* edit = new TEdit(&main);
    edit->SetParent(&main);
    main.Show();
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    TUxForm tip(nullptr);
    tip.SetIsFocusable(false);
    bool activated = false;
    tip.OnActivate = [&](rtl::TObject*) { activated = true; };
    tip.ShowNoActivate(false);
    EXPECT_TRUE(tip.Visible());
    EXPECT_FALSE(activated);
    EXPECT_EQ(Screen->ActiveForm(), &main);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(tip.Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
    tip.Hide();
}

TEST(UxForms, CursorSlotsAndKeyboardCues)
{
    TUxExForm form(nullptr);
    for (TCursor slot : kUxCursorSlots) EXPECT_TRUE(Screen->HasCursor(slot)) << slot;
    std::vector<WPARAM> states;
    auto own = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_CHANGEUISTATE) states.push_back(m.WParam);
        own(m);
    };
    form.Perform(CM_DIALOGKEY, VK_TAB);
    form.Perform(CM_DIALOGKEY, VK_MENU);
    form.Perform(CM_DIALOGKEY, 'A');
    EXPECT_EQ(states, (std::vector<WPARAM>{MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS),
                                           MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL)}));
}
