// The selector button, its drop-down window, the item panel, the colour
// selector with its palette, cube and spectrum, driven on a shown form with
// the timers on the manual clock.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExSelectors.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Themes.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

struct ManualClock {
    ManualClock() { TTimer::UseManualClock(true); }
    ~ManualClock() { TTimer::UseManualClock(false); }
};

struct SelectorHost : Host {
    ManualClock clock;
    SelectorHost() : Host(400, 300) {}
    template <typename T>
    T* Add(int x, int y, int w, int h)
    {
        auto* s = new T(&form);
        s->SetParent(&form);
        s->SetBounds(x, y, w, h);
        return s;
    }
};

TColor At(TBitmap& b, int x, int y) { return PixelAt(b, x, y); }

} // namespace

TEST(ExSelector, DropDownPlacement)
{
    const TRect work = Rect(0, 0, 800, 600);
    struct Case {
        TPoint p;
        int left, top;
        bool above, left_;
    } cases[] = {
        {{100, 200}, 100, 199, false, false},       // fits below
        {{100, 500}, 100, 500 - 22 - 140 + 1, true, false},   // above: bottom one pixel into the button
        {{700, 200}, 700 + 23 - 152, 199, false, true},       // right edges level
        {{100, 457}, 100, 456, false, false},       // 140 + 457 + 2 = 599 still below
        {{100, 458}, 100, 458 - 22 - 140 + 1, true, false},
    };
    for (const Case& c : cases) {
        const TDropDownPlacement d = PlaceDropDown(c.p, 23, 22, 152, 140, work);
        EXPECT_EQ(d.Left, c.left) << c.p.X << "," << c.p.Y;
        EXPECT_EQ(d.Top, c.top) << c.p.X << "," << c.p.Y;
        EXPECT_EQ(d.ShowAbove, c.above) << c.p.X << "," << c.p.Y;
        EXPECT_EQ(d.ShowLeft, c.left_) << c.p.X << "," << c.p.Y;
    }
    // Opened above, the window's bottom is one pixel into the button's top row.
    const TDropDownPlacement d = PlaceDropDown({100, 500}, 23, 22, 152, 140, work);
    EXPECT_EQ(d.Top + 140, 500 - 22 + 1);
}

namespace {
struct CountingSelector : TExColorSelector {
    using TExColorSelector::TExColorSelector;
    int paints = 0;
    void Paint() override
    {
        ++paints;
        TExColorSelector::Paint();
    }
};
} // namespace

// The colour properties store and repaint; the same value again does not
// repaint; the drop-down panel receives the item colours.
TEST(ExSelector, ColourSettersStoreAndRepaint)
{
    SelectorHost h;
    auto* s = h.Add<CountingSelector>(10, 10, 120, 22);
    h.Show();
    s->paints = 0;
    s->SetBorderColor(clRed);
    Application->ProcessMessages();
    EXPECT_EQ(s->BorderColor(), clRed);
    EXPECT_GT(s->paints, 0);
    auto img = h.Image();
    EXPECT_EQ(At(*img, 10, 10 + 5), ColorToRGB(clRed));
    s->paints = 0;
    s->SetBorderColor(clRed);
    Application->ProcessMessages();
    EXPECT_EQ(s->paints, 0);
    s->SetColorTo(clBlue);
    Application->ProcessMessages();
    EXPECT_GT(s->paints, 0);
    const TColor bottom = At(*h.Image(), 10 + 60, 10 + 19);   // the gradient runs down to blue
    EXPECT_GT(GetBValue(bottom), GetRValue(bottom) + 50);

    s->SetColorSelectionHot(0x112233);
    s->SetBorderHotColor(0x445566);
    s->SetColorDropDown(0x778899);
    s->Tools()->Add()->SetCaption("one");
    sim::Click(s, 10, 10);
    TExSelectorPanel* p = s->SelectorPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ColorHot(), 0x112233u);
    EXPECT_EQ(p->BorderHotColor(), 0x445566u);
    EXPECT_EQ(p->Color(), 0x778899u);
    s->HideDropDown();
}

TEST(ExSelector, PressWhileOpenEndsClosed)
{
    SelectorHost h;
    auto* s = h.Add<TExColorSelector>(10, 10, 120, 22);
    int selects = 0;
    s->OnSelect = [&](rtl::TObject*, int, TExSelectorItem*) { ++selects; };
    h.Show();
    sim::Click(s, 10, 10);
    ASSERT_TRUE(s->DropDownWindow()->Visible());
    EXPECT_EQ(s->State(), TExButtonState::absDropDown);
    EXPECT_EQ(s->DropDownWindow()->Width(), 152);
    EXPECT_EQ(s->DropDownWindow()->Height(), 140);
    // The form stays the active one.
    EXPECT_EQ(Screen->ActiveForm(), &h.form);
    // The bottom-right corner answers as a size grip, the rest nothing.
    TSelectorDropDownWindow* win = s->DropDownWindow();
    const TPoint corner = win->ClientToScreen({win->Width() - 3, win->Height() - 3});
    EXPECT_EQ(win->Perform(WM_NCHITTEST, 0, MAKELPARAM(corner.X, corner.Y)), HTBOTTOMRIGHT);
    const TPoint inside = win->ClientToScreen({20, 20});
    EXPECT_EQ(win->Perform(WM_NCHITTEST, 0, MAKELPARAM(inside.X, inside.Y)), 0);

    // The press deactivates (hides, arms the timer), then reopens.
    sim::MouseDown(s, TMouseButton::mbLeft, 10, 10);
    EXPECT_TRUE(s->DropDownWindow()->Visible());
    EXPECT_TRUE(s->DropDownWindow()->HideTimer()->Enabled());
    sim::MouseUp(s, TMouseButton::mbLeft, 10, 10);
    TTimer::AdvanceClock(1);
    EXPECT_FALSE(s->DropDownWindow()->Visible());
    EXPECT_FALSE(s->DropDownWindow()->HideTimer()->Enabled());
    EXPECT_EQ(s->State(), TExButtonState::absUp);

    // Outside click: closed, nothing selected.
    sim::Click(s, 10, 10);
    ASSERT_TRUE(s->DropDownWindow()->Visible());
    sim::Click(&h.form, 300, 250);
    TTimer::AdvanceClock(5);
    EXPECT_FALSE(s->DropDownWindow()->Visible());
    EXPECT_EQ(s->State(), TExButtonState::absUp);
    EXPECT_EQ(selects, 0);
    // F2 opens, HideDropDown closes.
    s->SetFocus();
    sim::KeyPress(VK_F2, {}, s);
    EXPECT_TRUE(s->DropDownWindow()->Visible());
    s->HideDropDown();
    EXPECT_FALSE(s->DropDownWindow()->Visible());
}

TEST(ExSelector, DropDownButtonPartsAndLooks)
{
    SelectorHost h;
    auto* s = h.Add<TExColorSelector>(10, 10, 40, 22);
    s->SetDropDownButton(true);
    int clicks = 0;
    std::vector<int> selected;
    s->OnClick = [&](rtl::TObject*) { ++clicks; };
    s->OnSelect = [&](rtl::TObject*, int i, TExSelectorItem* item) {
        selected.push_back(i);
        EXPECT_EQ(item, nullptr);
    };
    h.Show();
    const int W = 40, BW = s->DropDownButtonWidth();
    ASSERT_EQ(BW, 12);
    sim::MouseDown(s, TMouseButton::mbLeft, W - BW, 5);   // the main part
    EXPECT_FALSE(s->DropDownWindow()->Visible());
    EXPECT_EQ(selected, std::vector<int>{-1});
    sim::MouseUp(s, TMouseButton::mbLeft, W - 9, 5);
    EXPECT_EQ(clicks, 1);
    sim::MouseDown(s, TMouseButton::mbLeft, W - BW + 1, 5);   // the arrow
    EXPECT_TRUE(s->DropDownWindow()->Visible());
    sim::MouseUp(s, TMouseButton::mbLeft, W - 8, 5);
    EXPECT_EQ(clicks, 1);
    s->HideDropDown();

    // Presets that switch theme adaptation off; esXP widens the arrow.
    gui::SetThemeActive(false);
    for (TExAppearanceStyle st : {TExAppearanceStyle::esWhidbey, TExAppearanceStyle::esCustom, TExAppearanceStyle::esXP}) {
        s->SetAutoThemeAdapt(true);
        EXPECT_EQ(s->AppearanceStyle(), TExAppearanceStyle::esOffice2003Classic);   // no active style here
        ASSERT_TRUE(s->AutoThemeAdapt());
        s->SetAppearanceStyle(st);
        EXPECT_FALSE(s->AutoThemeAdapt()) << static_cast<int>(st);
    }
    EXPECT_EQ(s->DropDownButtonWidth(), 18);
    s->SetAppearanceStyle(TExAppearanceStyle::esOffice2003Blue);
    EXPECT_EQ(s->Color(), 0xFDEADAu);
    EXPECT_EQ(s->BorderDropDownColor(), 0x962D00u);
    EXPECT_EQ(s->DropDownButtonWidth(), 12);
    s->SetAppearanceStyle(TExAppearanceStyle::esOffice2003Classic);

    // Disabled: grey frame on silver, grey arrow.
    s->SetEnabled(false);
    auto img = h.Image();
    EXPECT_EQ(At(*img, 10 + 0, 10 + 5), 0x808080u);
    EXPECT_EQ(At(*img, 10 + 3, 10 + 3), 0xC0C0C0u);
    const int ax = (W - BW) + 1 + (BW - 5) / 2, ay = 1 + (22 - 3) / 2;
    EXPECT_EQ(At(*img, 10 + ax + 2, 10 + ay + 2), 0x808080u);
    EXPECT_EQ(At(*img, 10 + W - BW, 10 + 5), 0x808080u);   // the separator
    EXPECT_EQ(s->Version(), "1.4.0.0");
}

TEST(ExSelectorPanel, LayoutTable)
{
    SelectorHost h;
    auto* p = h.Add<TExSelectorPanel>(10, 10, 50, 50);
    // An empty collection keeps the height.
    p->ArrangeItems();
    EXPECT_EQ(p->Height(), 50);
    for (int i = 0; i < 10; ++i) p->Items()->Add();
    TExSelectorItem* full = p->Items()->Add();
    full->SetItemType(TSelectorItemType::itFullWidthButton);
    full->SetCaption("All");
    p->SetButtonsPerRow(4);
    p->ArrangeItems();
    int bw = 0, bh = 0;
    p->ItemButtonSize(bw, bh);
    EXPECT_EQ(bw, 16);
    const int rows[10] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2};
    for (int i = 0; i < 10; ++i) {
        const TRect r = p->Items()->Items(i)->ItemRect();
        EXPECT_EQ(r.Top, 4 + rows[i] * bh) << i;
        EXPECT_EQ(r.Left, 4 + (i % 4) * bw) << i;
        EXPECT_EQ(r.Width(), bw) << i;
    }
    const TRect f = full->ItemRect();
    EXPECT_EQ(f.Top, 4 + 3 * bh + 2);
    EXPECT_EQ(f.Left, 4);
    EXPECT_EQ(f.Right, p->Width() - 4);
    EXPECT_EQ(f.Height(), 20);
    EXPECT_EQ(p->Width(), 4 * bw + 8);
    EXPECT_EQ(p->Height(), f.Bottom + 4);

    // Fewer items than buttons per row: only as wide as they need.
    p->Items()->Clear();
    for (int i = 0; i < 3; ++i) p->Items()->Add();
    p->SetButtonsPerRow(8);
    p->ArrangeItems();
    EXPECT_EQ(p->Width(), 3 * bw + 8);
}

TEST(ExSelectorPanel, PressDragReleaseSelects)
{
    SelectorHost h;
    auto* p = h.Add<TExSelectorPanel>(10, 10, 50, 50);
    for (int i = 0; i < 4; ++i) p->Items()->Add();
    p->SetButtonsPerRow(4);
    p->ArrangeItems();
    int selects = 0, hides = 0;
    p->OnSelect = [&](rtl::TObject*) { ++selects; };
    p->OnShouldHide = [&](rtl::TObject*) { ++hides; };
    h.Show();
    auto centre = [&](int i) {
        const TRect r = p->Items()->Items(i)->ItemRect();
        return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    };
    sim::MouseMove(p, centre(0).X, centre(0).Y);
    sim::MouseDown(p, TMouseButton::mbLeft, centre(0).X, centre(0).Y);
    EXPECT_EQ(p->DownItemIndex(), 0);
    sim::MouseMove(p, centre(2).X, centre(2).Y, {TShiftStateItem::ssLeft});
    EXPECT_EQ(p->DownItemIndex(), 2);
    sim::MouseUp(p, TMouseButton::mbLeft, centre(2).X, centre(2).Y);
    EXPECT_EQ(p->ItemIndex(), 2);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(p->HotItemIndex(), -1);
    // Released on the selected item: selected again, OnSelect again.
    sim::Click(p, centre(2).X, centre(2).Y);
    EXPECT_EQ(p->ItemIndex(), 2);
    EXPECT_EQ(selects, 2);
    // Dragged out of every item: nothing selected, but the drop-down closes.
    sim::MouseMove(p, centre(1).X, centre(1).Y);
    sim::MouseDown(p, TMouseButton::mbLeft, centre(1).X, centre(1).Y);
    sim::MouseMove(p, 1, 1, {TShiftStateItem::ssLeft});
    sim::MouseUp(p, TMouseButton::mbLeft, 1, 1);
    EXPECT_EQ(p->ItemIndex(), 2);
    EXPECT_EQ(selects, 2);
    EXPECT_EQ(hides, 3);
}

TEST(ExColorSelector, PaletteLayoutAndSelection)
{
    SelectorHost h;
    auto* s = h.Add<TExColorSelector>(10, 10, 120, 22);
    std::vector<int> reported;
    s->OnSelect = [&](rtl::TObject*, int i, TExSelectorItem*) { reported.push_back(i); };
    h.Show();
    ASSERT_EQ(s->Tools()->Count(), 42);
    EXPECT_EQ(s->Tools()->Items(7)->BackGroundColor(), 0x353333u);
    sim::Click(s, 10, 10);
    TExSelectorPanel* p = s->SelectorPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Items()->Items(0)->ItemRect(), Rect(4, 4, 148, 24));
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 8; ++col) {
            const TRect r = p->Items()->Items(1 + row * 8 + col)->ItemRect();
            EXPECT_EQ(r, Rect(4 + 18 * col, 24 + 18 * row, 22 + 18 * col, 42 + 18 * row)) << row << "," << col;
        }
    EXPECT_EQ(p->Items()->Items(41)->ItemRect(), Rect(4, 116, 148, 136));
    EXPECT_EQ(p->Width(), 152);
    EXPECT_EQ(p->Height(), 140);
    auto shot = s->DropDownWindow()->GetFormImage();
    controls_test::Keep(*shot, "colour-palette");
    // The swatch of red (row 3, first cell) with its grey frame.
    const TRect red = p->Items()->Items(17)->ItemRect();
    EXPECT_EQ(At(*shot, red.Left + 3, red.Top + 8), 0x808080u);
    EXPECT_EQ(At(*shot, red.Left + 8, red.Top + 8), 0x0000FFu);

    // Choosing a cell sets the colour before OnSelect.
    TColor during = clNone;
    s->OnSelect = [&](rtl::TObject*, int i, TExSelectorItem*) {
        reported.push_back(i);
        during = s->SelectedColor();
    };
    sim::MouseMove(p, red.Left + 8, red.Top + 8);
    sim::Click(p, red.Left + 8, red.Top + 8);
    EXPECT_FALSE(s->DropDownWindow()->Visible());
    EXPECT_EQ(reported.back(), 17);
    EXPECT_EQ(during, 0x0000FFu);

    // The selected colour marks the first equal cell at the next drop-down.
    s->SetSelectedColor(clYellow);
    sim::Click(s, 10, 10);
    EXPECT_EQ(s->SelectorPanel()->ItemIndex(), 1 + 3 * 8 + 2);
    s->HideDropDown();
    // A colour outside the palette keeps the previous mark.
    s->SetSelectedColor(0x123456);
    sim::Click(s, 10, 10);
    EXPECT_EQ(s->SelectorPanel()->ItemIndex(), 1 + 3 * 8 + 2);
    s->HideDropDown();
}

TEST(ExColorSelector, ApplicationTableAndMoreColors)
{
    SelectorHost h;
    auto* s = h.Add<TExColorSelector>(10, 10, 120, 22);
    s->Tools()->Delete(0);   // the program's table has no "Automatic"
    int index = -2;
    TExSelectorItem* item = nullptr;
    s->OnSelect = [&](rtl::TObject*, int i, TExSelectorItem* it) {
        index = i;
        item = it;
    };
    s->SetSelectedColor(clRed);
    h.Show();
    sim::Click(s, 10, 10);
    TExSelectorPanel* p = s->SelectorPanel();
    for (int row = 0; row < 5; ++row) EXPECT_EQ(p->Items()->Items(row * 8)->ItemRect().Top, 4 + 18 * row);
    EXPECT_EQ(p->Items()->Items(40)->ItemRect(), Rect(4, 96, 148, 116));
    EXPECT_EQ(s->DropDownWindow()->Width(), 152);
    EXPECT_EQ(s->DropDownWindow()->Height(), 120);
    const TRect more = p->Items()->Items(40)->ItemRect();
    sim::MouseMove(p, more.Left + 20, more.Top + 5);
    sim::Click(p, more.Left + 20, more.Top + 5);
    EXPECT_EQ(index, 40);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Caption(), "More Colors...");
    EXPECT_EQ(s->SelectedColor(), static_cast<TColor>(clRed));

    // The colour bar on the button; none for clNone.
    auto img = h.Image();
    EXPECT_EQ(At(*img, 10 + 60, 10 + 11), 0x0000FFu);
    s->SetSelectedColor(clNone);
    auto none = h.Image();
    EXPECT_NE(At(*none, 10 + 60, 10 + 11), 0x0000FFu);
    EXPECT_EQ(At(*none, 10 + 60, 10 + 11), ColorToRGB(clBtnFace));
}

TEST(ExColorCube, CellsHitTestAndHint)
{
    SelectorHost h;
    auto* cube = h.Add<TExColorCubePanel>(10, 10, 182, 160);
    EXPECT_EQ(cube->CellColor(64), 0xFFFFFFu);
    EXPECT_EQ(cube->CellColor(127), 0x2100A5u);
    EXPECT_EQ(cube->CellCentre(1), (TPoint{55, 20}));
    EXPECT_EQ(cube->CellCentre(58), (TPoint{19, 80}));   // row 7 starts at x = 19
    EXPECT_EQ(cube->CellCentre(70), (TPoint{163, 80}));
    // Distance 6 belongs; the hexagon's corners (farther than 6) do not.
    const TPoint c = cube->CellCentre(64);
    EXPECT_EQ(cube->CellAtPos(c.X + 6, c.Y), 64);
    EXPECT_EQ(cube->CellAtPos(c.X, c.Y - 6), 64);
    EXPECT_EQ(cube->CellAtPos(c.X + 6, c.Y - 3), -1);   // corner (x + b, y - a)
    EXPECT_EQ(cube->CellAtPos(c.X - 6, c.Y + 3), -1);
    cube->SetSelectedColor(0x123456);
    EXPECT_EQ(cube->SelectedIndex(), -1);
    cube->SetSelectedColor(0xFFFFFF);
    EXPECT_EQ(cube->SelectedIndex(), 64);

    int selects = 0;
    cube->OnSelect = [&](rtl::TObject*) { ++selects; };
    h.Show();
    sim::MouseMove(cube, c.X, c.Y);
    EXPECT_EQ(cube->HotIndex(), 64);
    EXPECT_EQ(cube->Hint(), "Red: 255,  Green: 255,  Blue: 255");
    const TPoint r = cube->CellCentre(1);
    sim::Click(cube, r.X + 6, r.Y - 3);   // a corner: nothing
    EXPECT_EQ(selects, 0);
    sim::Click(cube, r.X, r.Y);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(cube->SelectedColor(), 0x663300u);
    EXPECT_EQ(cube->SelectedIndex(), 1);
}

TEST(ExColorSpectrum, PicksFromThePicture)
{
    SelectorHost h;
    auto* sp = h.Add<TExColorSpectrumPanel>(10, 10, 150, 174);
    EXPECT_TRUE(Screen->HasCursor(TExColorSpectrumPanel::EyedropperCursor));
    EXPECT_EQ(sp->SpectrumImage()->Cursor(), 54);
    sp->ArrangeSpectrum();
    EXPECT_EQ(sp->SpectrumImage()->Left(), 11);
    EXPECT_EQ(sp->SelectedRect(), Rect(10, 146, 73, 166));
    EXPECT_EQ(sp->HotRect(), Rect(77, 146, 140, 166));
    int selects = 0;
    sp->OnSelect = [&](rtl::TObject*) { ++selects; };
    h.Show();
    // A press before any movement picks nothing.
    sim::MouseDown(sp->SpectrumImage(), TMouseButton::mbLeft, 20, 20);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(sp->SelectedColor(), clNone);
    sim::MouseUp(sp->SpectrumImage(), TMouseButton::mbLeft, 20, 20);
    auto pic = TExColorSpectrumPanel::MakeSpectrumBitmap();
    sim::MouseMove(sp->SpectrumImage(), 32, 64);
    sim::MouseDown(sp->SpectrumImage(), TMouseButton::mbLeft, 32, 64);
    EXPECT_EQ(sp->SelectedColor(), ColorToRGB(pic->Canvas()->Pixels(32, 64)));
    // The hue at the middle row: pure green around a third of the width.
    const TColor g = sp->SelectedColor();
    EXPECT_GT(GetGValue(g), 240);
    EXPECT_LT(GetBValue(g), 10);
    // The picture runs from nearly white at the top to nearly black.
    EXPECT_GT(GetRValue(ColorToRGB(pic->Canvas()->Pixels(0, 0))), 245);
    EXPECT_LT(GetRValue(ColorToRGB(pic->Canvas()->Pixels(0, 127))), 10);
    EXPECT_GE(GetRValue(ColorToRGB(pic->Canvas()->Pixels(0, 64))), 250);
    // A second panel registers the cursor again.
    auto* again = h.Add<TExColorSpectrumPanel>(200, 10, 150, 174);
    EXPECT_EQ(again->SpectrumImage()->Cursor(), 54);
}

// The picture passes through its described sample pixels, so a colour
// picked there is the described one.
TEST(ExColorSpectrum, PictureMatchesTheDescribedSamples)
{
    struct Sample { int col, row, r, g, b; };
    const Sample samples[] = {
        {0, 0, 254, 253, 253},  {0, 16, 239, 183, 182}, {0, 32, 234, 95, 94},   {0, 48, 244, 29, 26},
        {0, 64, 255, 6, 0},     {0, 80, 233, 19, 15},   {0, 96, 170, 29, 28},   {0, 112, 79, 21, 19},
        {0, 127, 3, 0, 0},      {16, 64, 255, 223, 0},  {32, 64, 118, 255, 0},  {48, 64, 0, 255, 64},
        {64, 64, 0, 255, 250},  {80, 64, 0, 60, 255},   {96, 64, 123, 0, 255},  {112, 64, 255, 0, 223},
        {127, 64, 255, 0, 4},
    };
    auto pic = TExColorSpectrumPanel::MakeSpectrumBitmap();
    ASSERT_EQ(pic->Width(), 128);
    ASSERT_EQ(pic->Height(), 128);
    for (const Sample& s : samples) {
        const TColor c = ColorToRGB(pic->Canvas()->Pixels(s.col, s.row));
        SCOPED_TRACE(testing::Message() << "column " << s.col << ", row " << s.row);
        EXPECT_NEAR(GetRValue(c), s.r, 2);
        EXPECT_NEAR(GetGValue(c), s.g, 2);
        EXPECT_NEAR(GetBValue(c), s.b, 2);
    }
    // Between samples the hue passes through pure yellow, not a dimmed mix.
    bool yellow = false;
    for (int x = 16; x <= 32; ++x) {
        const TColor c = ColorToRGB(pic->Canvas()->Pixels(x, 64));
        yellow = yellow || (GetRValue(c) >= 250 && GetGValue(c) >= 250);
    }
    EXPECT_TRUE(yellow);

    // Picked on screen: the colour under the mouse at column 0, row 80.
    SelectorHost h;
    auto* sp = h.Add<TExColorSpectrumPanel>(10, 10, 150, 174);
    sp->ArrangeSpectrum();
    h.Show();
    sim::MouseMove(sp->SpectrumImage(), 0, 80);
    sim::MouseDown(sp->SpectrumImage(), TMouseButton::mbLeft, 0, 80);
    const TColor picked = sp->SelectedColor();
    EXPECT_NEAR(GetRValue(picked), 233, 2);
    EXPECT_NEAR(GetGValue(picked), 19, 2);
    EXPECT_NEAR(GetBValue(picked), 15, 2);
}

TEST(ExColorSelector, CubeAndSpectrumDropDowns)
{
    SelectorHost h;
    auto* s = h.Add<TExColorSelector>(10, 10, 120, 22);
    std::vector<int> reported;
    s->OnSelect = [&](rtl::TObject*, int i, TExSelectorItem* it) {
        reported.push_back(i);
        EXPECT_EQ(it, nullptr);
    };
    s->SetSelectionStyle(TColorSelectionStyle::csColorCube);
    s->SetSelectedColor(0xFFFFFF);
    h.Show();
    sim::Click(s, 10, 10);
    TExColorCubePanel* cube = s->ColorCubePanel();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(s->DropDownWindow()->Width(), 182);
    EXPECT_EQ(s->DropDownWindow()->Height(), 160);
    EXPECT_EQ(cube->SelectedIndex(), 64);
    controls_test::Keep(*s->DropDownWindow()->GetFormImage(), "colour-cube");
    const TPoint c = cube->CellCentre(20);
    sim::MouseMove(cube, c.X, c.Y);
    sim::Click(cube, c.X, c.Y);
    EXPECT_EQ(s->SelectedColor(), cube->CellColor(20));
    EXPECT_FALSE(s->DropDownWindow()->Visible());

    s->SetSelectionStyle(TColorSelectionStyle::csSpectrum);
    sim::Click(s, 10, 10);
    TExColorSpectrumPanel* sp = s->SpectrumPanel();
    ASSERT_NE(sp, nullptr);
    EXPECT_FALSE(cube->Visible());
    EXPECT_EQ(s->DropDownWindow()->Width(), 150);
    EXPECT_EQ(s->DropDownWindow()->Height(), 174);
    sim::MouseMove(sp->SpectrumImage(), 100, 40);
    controls_test::Keep(*s->DropDownWindow()->GetFormImage(), "colour-spectrum");
    sim::Click(sp->SpectrumImage(), 100, 40);
    EXPECT_EQ(s->SelectedColor(), sp->SelectedColor());
    EXPECT_EQ(reported, (std::vector<int>{-1, -1}));
    EXPECT_FALSE(s->DropDownWindow()->Visible());
}
