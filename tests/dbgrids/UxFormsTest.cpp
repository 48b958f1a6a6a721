// The form bases and the drawing helpers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dbgrids/UxExForms.h"
#include "dbgrids/UxGraphics.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streams.h"

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

// WM_ENABLE messages posted before a modal form opens are delivered before
// the form shows; other posted messages wait for the modal loop.
TEST(UxForms, ShowModalDeliversQueuedEnableMessagesFirst)
{
    TForm main(nullptr);
    main.Show();
    std::vector<uint32_t> seen;
    auto own = main.WindowProc;
    main.WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_ENABLE || m.Msg == WM_USER + 7) seen.push_back(m.Msg);
        own(m);
    };
    PostMessage(main.Handle(), WM_USER + 7);
    PostMessage(main.Handle(), WM_ENABLE, 1);
    TUxForm dialog(nullptr);
    std::vector<uint32_t> atShow;
    dialog.OnShow = [&](rtl::TObject*) {
        atShow = seen;
        dialog.SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(atShow, (std::vector<uint32_t>{WM_ENABLE}));
    Application->ProcessMessages();
    EXPECT_EQ(seen, (std::vector<uint32_t>{WM_ENABLE, WM_USER + 7}));
    main.WindowProc = own;
}

namespace {

// An icon file of 32-bit images of the given sizes, each with the colour
// count its directory entry states.
std::unique_ptr<gui::TIcon> IconOf(const std::vector<std::pair<int, int>>& sizeAndColours)
{
    std::string file;
    auto u16 = [&](std::string& s, int v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); };
    auto u32 = [&](std::string& s, uint32_t v) { for (int b = 0; b < 4; ++b) s += char((v >> (8 * b)) & 0xFF); };
    u16(file, 0);
    u16(file, 1);
    u16(file, static_cast<int>(sizeAndColours.size()));
    std::vector<std::string> images;
    for (auto [size, colours] : sizeAndColours) {
        std::string img;
        u32(img, 40);
        u32(img, size);
        u32(img, 2 * size);
        u16(img, 1);
        u16(img, 32);
        for (int i = 0; i < 6; ++i) u32(img, 0);
        for (int i = 0; i < size * size; ++i) u32(img, 0xFF336699);
        const int maskRow = ((size + 31) / 32) * 4;
        img.append(static_cast<std::size_t>(maskRow * size), '\0');
        images.push_back(img);
    }
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizeAndColours.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [size, colours] = sizeAndColours[i];
        file += char(size);
        file += char(size);
        u16(file, colours);  // colour count and reserved byte
        u16(file, 1);
        u16(file, 32);
        u32(file, static_cast<uint32_t>(images[i].size()));
        u32(file, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (auto& img : images) file += img;
    rtl::TStringStream stream(file);
    auto icon = std::make_unique<gui::TIcon>();
    icon->LoadFromStream(stream);
    return icon;
}

} // namespace

// The image chosen for a true-colour screen (which asks for a colour count
// of 1): an exact count first; else from the first image with at most that
// count, the last later one with more colours; else the first image.
TEST(UxGraphics, IconsAtTheirOwnSize)
{
    struct Case {
        std::vector<std::pair<int, int>> images;
        int size;
    } cases[] = {
        {{{32, 0}, {16, 16}}, 16},
        {{{32, 0}, {16, 16}, {24, 0}}, 16},
        {{{16, 16}, {48, 1}, {32, 0}}, 48},
        {{{16, 16}, {24, 2}}, 16},
        {{{32, 0}, {48, 0}}, 32},
    };
    for (const Case& c : cases) {
        auto real = LoadIconAtRealSize(*IconOf(c.images));
        int w = 0, h = 0;
        IconHandleSize(real.get(), w, h);
        EXPECT_EQ(w, c.size);
        EXPECT_EQ(h, c.size);
        EXPECT_EQ(real->Pixel(1, 1), 0x996633u);
    }
    int w = 0, h = 0;
    IconHandleSize(nullptr, w, h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    EXPECT_TRUE(LoadIconAtRealSize(gui::TIcon())->Empty());
}
