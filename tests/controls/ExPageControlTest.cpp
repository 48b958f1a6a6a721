// The styled page control on a shown form: page list and activation, the
// native items, hidden and disabled tabs, keyboard, painting probes, the
// drawing routines, closing and reopening by the mouse, hover, docking.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>
#include <set>

#include "ControlsFixture.h"
#include "controls/ExPageControl.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/Exceptions.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

constexpr int kLeft = 10, kTop = 10, kW = 300, kH = 200;

struct PageHost : Host {
    TExPageControl* pc;
    std::vector<TExTabSheet*> sheets;
    explicit PageHost(int pages = 3) : Host(340, 240)
    {
        pc = new TExPageControl(&form);
        pc->SetParent(&form);
        pc->SetBounds(kLeft, kTop, kW, kH);
        for (int i = 0; i < pages; ++i) Add("Page" + std::to_string(i + 1));
    }
    TExTabSheet* Add(const std::string& caption)
    {
        auto* s = new TExTabSheet(&form);
        s->SetName("Sheet" + std::to_string(sheets.size() + 1));
        s->SetExPageControl(pc);
        s->SetCaption(caption);
        sheets.push_back(s);
        return s;
    }
    // Centre of a page's tab, in the page control's client pixels.
    TPoint TabCentre(int page) const
    {
        const TRect r = pc->PageTabRect(page);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void ClickTab(int page)
    {
        const TPoint p = TabCentre(page);
        sim::Click(pc, p.X, p.Y);
    }
    TColor Px(TBitmap& b, int x, int y) { return PixelAt(b, kLeft + x, kTop + y); }
};

const TColor kBorder = 0x808080;

} // namespace

// ------------------------------------------------------ page list

TEST(ExPageControl, EmptyControlAndSelectedIndex)
{
    PageHost h(0);
    h.Show();
    EXPECT_EQ(h.pc->ActivePageIndex(), -1);
    h.pc->SetSelectedPageIndex(0);
    EXPECT_EQ(h.pc->ActivePage(), nullptr);
    sim::Click(h.pc, 20, 10);
    EXPECT_EQ(h.pc->ActivePage(), nullptr);
    EXPECT_EQ(h.pc->FindNextPage(nullptr, true, false), nullptr);

    h.Add("One");
    h.Add("Two");
    EXPECT_EQ(h.pc->ActivePageIndex(), 0);   // the first tab is selected
    EXPECT_TRUE(h.sheets[0]->Visible());
    for (int bad : {-1, 2}) {
        h.pc->SetSelectedPageIndex(1);
        h.pc->SetSelectedPageIndex(bad);
        EXPECT_EQ(h.pc->ActivePage(), nullptr) << bad;
        EXPECT_EQ(h.pc->TabIndex(), -1) << bad;
        // The page shown stays visible until another page is activated.
        EXPECT_TRUE(h.sheets[1]->Visible()) << bad;
    }
    h.pc->SetSelectedPageIndex(0);
    EXPECT_FALSE(h.sheets[1]->Visible());
    EXPECT_EQ(h.pc->PageCount(), 2);
    EXPECT_EQ(h.pc->Version(), "1.6.1.1");
    h.pc->SetVersion("2.0");
    EXPECT_EQ(h.pc->Version(), "1.6.1.1");
}

TEST(ExPageControl, HiddenTabsMapPagesToTabs)
{
    PageHost h(4);
    h.Show();
    h.sheets[1]->SetTabVisible(false);
    EXPECT_EQ(h.sheets[1]->PageIndex(), 1);
    EXPECT_EQ(h.sheets[1]->TabIndex(), -1);
    EXPECT_EQ(h.sheets[2]->TabIndex(), 1);
    EXPECT_EQ(h.pc->Tabs()->Count(), 3);
    // Page 2's tab is the second native tab.
    EXPECT_EQ(h.pc->PageTabRect(2), h.pc->TabRect(1));
    const TPoint c2 = h.TabCentre(2);
    EXPECT_EQ(h.pc->PageIndexAt(c2.X, c2.Y), 2);
    EXPECT_EQ(h.pc->PageIndexAt(h.TabCentre(3).X, h.TabCentre(3).Y), 3);
    EXPECT_EQ(h.pc->FindNextPage(h.sheets[0], true, true), h.sheets[2]);
    EXPECT_EQ(h.pc->FindNextPage(h.sheets[0], true, false), h.sheets[1]);
    EXPECT_EQ(h.pc->FindNextPage(h.sheets[2], false, true), h.sheets[0]);
    // nil: forward answers the first page, backward the last.
    EXPECT_EQ(h.pc->FindNextPage(nullptr, true, false), h.sheets[0]);
    EXPECT_EQ(h.pc->FindNextPage(nullptr, false, false), h.sheets[3]);

    // Hiding the active tab selects the tab that takes its place.
    h.pc->SetActivePage(h.sheets[2]);
    h.sheets[2]->SetTabVisible(false);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[3]);
    // The last tab hidden: the new last tab.
    h.sheets[3]->SetTabVisible(false);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[0]);
    EXPECT_EQ(h.pc->TabIndex(), 0);
    // A page alone in the list finds itself.
    PageHost one(1);
    EXPECT_EQ(one.pc->FindNextPage(one.sheets[0], true, true), one.sheets[0]);
}

TEST(ExPageControl, KeyboardWrapsAndPassesDisabledPages)
{
    PageHost h(4);
    h.Show();
    h.pc->SetFocus();
    h.sheets[2]->SetTabEnable(false);
    auto ctrlTab = [&](bool back) {
        TShiftState s{TShiftStateItem::ssCtrl};
        if (back) s.Include(TShiftStateItem::ssShift);
        sim::KeyPress(VK_TAB, s, h.pc);
    };
    ctrlTab(false);
    EXPECT_EQ(h.pc->ActivePageIndex(), 1);
    ctrlTab(false);   // page 2 is disabled
    EXPECT_EQ(h.pc->ActivePageIndex(), 3);
    ctrlTab(false);   // wraps
    EXPECT_EQ(h.pc->ActivePageIndex(), 0);
    ctrlTab(true);
    EXPECT_EQ(h.pc->ActivePageIndex(), 3);
    ctrlTab(true);
    EXPECT_EQ(h.pc->ActivePageIndex(), 1);

    // A click on the disabled tab moves the native selection only.
    int changes = 0;
    h.pc->OnChange = [&](rtl::TObject*) { ++changes; };
    h.ClickTab(2);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[1]);
    EXPECT_TRUE(h.sheets[1]->Visible());
    EXPECT_FALSE(h.sheets[2]->Visible());
    // Code cannot activate it either.
    h.pc->SetActivePage(h.sheets[2]);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[1]);
}

TEST(ExPageControl, FailuresKeepState)
{
    PageHost h(3);
    h.Show();
    try {
        h.sheets[0]->SetTabEnable(false);
        FAIL() << "disabling the active tab";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Can not disable active tab.");
    }
    EXPECT_TRUE(h.sheets[0]->TabEnable());
    // A detached sheet just stores the value.
    TExTabSheet loose(&h.form);
    loose.SetTabEnable(false);
    EXPECT_FALSE(loose.TabEnable());

    try {
        h.sheets[0]->SetPageIndex(3);
        FAIL() << "page index past the end";
    } catch (const rtl::EListError& e) {
        EXPECT_EQ(e.Message(), "3 ist ein ungültiger Wert für PageIndex. PageIndex muss zwischen 0 und 2 liegen");
    }
    EXPECT_THROW(h.sheets[0]->SetPageIndex(-1), rtl::EListError);
    EXPECT_EQ(h.sheets[0]->PageIndex(), 0);
    EXPECT_EQ(h.pc->Pages(2), h.sheets[2]);

    // A move carries the native item along.
    h.sheets[0]->SetPageIndex(2);
    EXPECT_EQ(h.pc->Pages(2), h.sheets[0]);
    EXPECT_EQ(h.pc->Tabs()->Objects(2), h.sheets[0]);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[0]);
    EXPECT_EQ(h.pc->TabIndex(), 2);

    h.pc->SetTabStyle(controls::TTabStyle::tsDotNet);
    EXPECT_THROW(h.pc->SetTabSplitLine(true), rtl::Exception);
    EXPECT_FALSE(h.pc->TabSplitLine());
}

TEST(ExPageControl, ChangeVetoAndEvents)
{
    PageHost h(3);
    h.Show();
    int changes = 0, from = -2, to = -2;
    bool allow = false;
    h.pc->OnChange = [&](rtl::TObject*) { ++changes; };
    h.pc->OnCanChange = [&](rtl::TObject*, int f, int t, bool& a) {
        from = f;
        to = t;
        a = allow;
    };
    h.ClickTab(2);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 2);
    EXPECT_EQ(h.pc->ActivePageIndex(), 0);
    EXPECT_EQ(h.pc->TabIndex(), 0);
    EXPECT_EQ(changes, 0);
    allow = true;
    h.ClickTab(2);
    EXPECT_EQ(h.pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 1);
    // OnChanging of the base is asked after OnCanChange.
    h.pc->TCustomTabControl::OnChanging = [](rtl::TObject*, bool& a) { a = false; };
    h.ClickTab(1);
    EXPECT_EQ(h.pc->ActivePageIndex(), 2);
    // Setting from code fires nothing.
    h.pc->SetActivePageIndex(0);
    EXPECT_EQ(changes, 1);

    // Multi-line: redrawing is held back from the change check to the
    // change, and released afterwards.
    h.pc->TCustomTabControl::OnChanging = nullptr;
    h.pc->SetMultiLine(true);
    bool suspendedInChange = false;
    h.pc->OnChange = [&](rtl::TObject*) { suspendedInChange = h.pc->RedrawSuspended(); };
    h.ClickTab(1);
    EXPECT_EQ(h.pc->ActivePageIndex(), 1);
    EXPECT_TRUE(suspendedInChange);
    EXPECT_FALSE(h.pc->RedrawSuspended());
    EXPECT_EQ(h.pc->UpdateCount(), 0);
    // A refused change releases it too.
    allow = false;
    h.ClickTab(2);
    EXPECT_EQ(h.pc->ActivePageIndex(), 1);
    EXPECT_FALSE(h.pc->RedrawSuspended());
    EXPECT_EQ(h.pc->UpdateCount(), 0);
}

TEST(ExPageControl, DefaultsAndNativeItemText)
{
    PageHost h(0);
    auto* a = h.Add("Abc");
    auto* b = h.Add("Xyz");
    EXPECT_EQ(a->TabColor(), clBtnFace);   // adopted on attaching
    EXPECT_EQ(a->TabColorTo(), clNone);
    b->SetTabColor(clRed);
    h.pc->SetDefaultTabColor(clWhite);
    EXPECT_EQ(a->TabColor(), clWhite);
    EXPECT_EQ(b->TabColor(), clRed);
    h.pc->SetDefaultTextColor(clBlue);
    EXPECT_EQ(a->TextColor(), clBlue);

    // The item string sizes the tab; the painted caption stays whole.
    EXPECT_EQ(h.pc->Tabs()->Strings(0), "A");
    a->SetShowClose(true);
    EXPECT_EQ(h.pc->Tabs()->Strings(0), "Abc ");
    EXPECT_EQ(a->Caption(), "Abc");
    a->SetImageIndex(-1);
    EXPECT_EQ(a->ImageIndex(), -1);
    EXPECT_EQ(a->ImageIndexDummy(), 0);
}

TEST(ExPageControl, DetachingActiveSheetBeforeDisabledPage)
{
    // The next page refuses to become active: the removed sheet must not
    // stay the active page (it is freed here and painted afterwards).
    PageHost h(3);
    h.Show();
    h.sheets[1]->SetTabEnable(false);
    h.sheets[2]->SetTabEnable(false);
    delete h.sheets[0];
    TExTabSheet* active = h.pc->ActivePage();
    EXPECT_TRUE(active == nullptr || active->ExPageControl() == h.pc);
    h.pc->Repaint();
    h.Image();

    PageHost k(2);
    k.Show();
    k.sheets[1]->SetTabEnable(false);
    k.sheets[0]->SetExPageControl(nullptr);
    EXPECT_TRUE(k.pc->ActivePage() == nullptr || k.pc->ActivePage() == k.sheets[1]);
    EXPECT_EQ(k.sheets[0]->ExPageControl(), nullptr);
    k.pc->Repaint();
    k.Image();
}

// ------------------------------------------------------------ painting

TEST(ExPageControl, DefaultClassicLook)
{
    PageHost h(2);
    h.Show();
    auto img = h.Image();
    const TRect r0 = h.pc->PageTabRect(0), r1 = h.pc->PageTabRect(1);
    const int tb = r0.Bottom;
    const TColor face = ColorToRGB(clBtnFace);
    // Active tab: flat face colour, outlined left, top and right.
    EXPECT_EQ(h.Px(*img, r0.Left + 8, r0.Top + 4), face);
    EXPECT_EQ(h.Px(*img, r0.Left, r0.Top + 6), kBorder);
    EXPECT_EQ(h.Px(*img, r0.Left + 8, r0.Top - 1), kBorder);
    EXPECT_EQ(h.Px(*img, r0.Right, r0.Top + 6), kBorder);
    // Open toward the page: the split line from x = 3 in the page colour.
    EXPECT_EQ(h.Px(*img, 3, tb), face);
    EXPECT_EQ(h.Px(*img, r0.Left + 8, tb), face);
    EXPECT_EQ(h.Px(*img, 0, tb), kBorder);
    // The inactive tab is an outline (bottom on the border line).
    EXPECT_EQ(h.Px(*img, r1.Left + 8, r1.Top - 1), kBorder);
    EXPECT_EQ(h.Px(*img, r1.Right, r1.Top + 1), kBorder);
    EXPECT_EQ(h.Px(*img, r1.Left + 8, tb), kBorder);
    // Page border beyond the tabs, left, bottom and right.
    EXPECT_EQ(h.Px(*img, r1.Right + 20, tb), kBorder);
    EXPECT_EQ(h.Px(*img, 0, kH / 2), kBorder);
    EXPECT_EQ(h.Px(*img, kW / 2, kH - 1), kBorder);
    EXPECT_EQ(h.Px(*img, kW - 1, kH / 2), kBorder);
    // The strip beside the tabs.
    EXPECT_EQ(h.Px(*img, r1.Right + 20, 5), face);
    controls_test::Keep(*img, "pagecontrol-classic");
}

TEST(ExPageControl, RingRoundEdgesAndSideTabs)
{
    PageHost h(2);
    h.sheets[0]->SetColor(clWhite);
    h.sheets[0]->SetColorTo(clBlue);
    h.pc->SetRoundEdges(true);
    h.Show();
    auto img = h.Image();
    const int tb = h.pc->PageTabRect(0).Bottom;
    // Solid top band of the page colour, gradient toward the bottom.
    EXPECT_EQ(h.Px(*img, 2, tb + 2), 0xFFFFFF);
    const TColor low = h.Px(*img, 2, kH - 6);
    EXPECT_LT(GetRValue(low), 40);
    EXPECT_GT(GetBValue(low), 200);
    // Rounded bottom corners: the corner pixel in the control colour, the bevel in the border colour.
    EXPECT_EQ(h.Px(*img, 0, kH - 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(h.Px(*img, 1, kH - 3), kBorder);
    EXPECT_EQ(h.Px(*img, kW - 2, kH - 4), kBorder);
    controls_test::Keep(*img, "pagecontrol-ring");

    // Left tabs: the caption runs upward inside the tab.
    h.pc->SetTabPosition(TTabPosition::tpLeft);
    auto side = h.Image();
    const TRect r = h.pc->PageTabRect(1);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
        for (int x = r.Left + 1; x < r.Right - 1; ++x) {
            const TColor c = h.Px(*side, x, y);
            if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    ASSERT_GE(maxX, 0) << "no caption drawn";
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));
    EXPECT_LE(maxY, r.Bottom - 4);
    EXPECT_GT(r.Height(), r.Width());
    controls_test::Keep(*side, "pagecontrol-left");
}

TEST(ExPageControl, CloseGlyphStatesAndOwnerDrawnTabs)
{
    PageHost h(2);
    h.sheets[0]->SetShowClose(true);
    h.pc->SetTabHoverColor(clYellow);
    std::vector<std::pair<TRect, int>> drawn;
    h.pc->OnGlyphDrawn = [&](const TRect& box, int state) { drawn.push_back({box, state}); };
    h.Show();
    auto img = h.Image();
    const TRect r = h.pc->PageTabRect(0);
    ASSERT_FALSE(drawn.empty());
    TRect box = drawn.back().first;
    EXPECT_EQ(drawn.back().second, 0);
    // cpLeft on a top tab: x + 2 .. x + 13, lowered by LowerActive.
    EXPECT_EQ(box.Left, r.Left + 2);
    EXPECT_EQ(box.Top, r.Top + 2 + 2);
    EXPECT_EQ(h.Px(*img, box.Left, box.Top + 5), kBorder);
    EXPECT_EQ(h.Px(*img, box.Left + 1, box.Top + 1), 0xFFFFFF);
    EXPECT_EQ(h.Px(*img, box.Left + 3, box.Top + 3), 0x000000);   // stroke (x + 5, y + 5)

    // Hot, then pressed, straight on the control.
    drawn.clear();
    sim::MouseMove(h.pc, box.Left + 4, box.Top + 4);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().second, 1);
    {
        auto hot = h.pc->GetImage();
        EXPECT_EQ(PixelAt(*hot, box.Left, box.Top + 5), 0x000000u) << "hot outline";
        EXPECT_EQ(PixelAt(*hot, box.Left + 3, box.Top + 3), 0x808080u) << "hot stroke";
    }
    sim::MouseDown(h.pc, TMouseButton::mbLeft, box.Left + 4, box.Top + 4);
    EXPECT_EQ(drawn.back().second, 2);
    {
        auto down = h.pc->GetImage();
        EXPECT_EQ(PixelAt(*down, box.Left, box.Top + 5), 0x000000u) << "pressed outline";
        EXPECT_EQ(PixelAt(*down, box.Left + 1, box.Top + 1), 0xC0C0C0u) << "pressed fill";
        EXPECT_EQ(PixelAt(*down, box.Left + 3, box.Top + 3), 0x000000u) << "pressed stroke";
    }
    // Released off the glyph: nothing is closed.
    sim::MouseUp(h.pc, TMouseButton::mbLeft, 200, 150);
    EXPECT_EQ(h.pc->PageCount(), 2);

    // OnDrawTab: outlines stay, no fill and no caption.
    h.pc->SetActiveColor(clRed);
    int calls = 0;
    h.pc->OnDrawTab = [&](TCustomTabControl*, int, const TRect&, bool) { ++calls; };
    auto od = h.Image();
    EXPECT_GE(calls, 2);
    EXPECT_NE(h.Px(*od, r.Left + r.Width() / 2, r.Top + 4), 0x0000FF);
    EXPECT_EQ(h.Px(*od, r.Left, r.Top + 6), kBorder);
    EXPECT_EQ(h.Px(*od, box.Left, box.Top + 5), kBorder);   // glyph still drawn
}

TEST(ExPageControlDrawing, PageGradientBands)
{
    TBitmap bmp(170, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 170, 20));
    DrawPageGradient(c, clBlack, clWhite, 16, Rect(0, 0, 160, 20), true);
    for (int i = 0; i < 16; ++i) {
        const int grey = static_cast<int>(std::nearbyint(i * 255.0 / 16));
        EXPECT_EQ(controls_test::PixelAt(bmp, 10 * i + 5, 10), RGB(grey, grey, grey)) << i;
        EXPECT_EQ(controls_test::PixelAt(bmp, 10 * i, 10), RGB(grey, grey, grey)) << i;
    }
    // The last band overlaps one pixel past the rectangle.
    EXPECT_EQ(controls_test::PixelAt(bmp, 160, 10), RGB(239, 239, 239));
    EXPECT_EQ(controls_test::PixelAt(bmp, 162, 10), 0xFFFFFF);
    // One step, and zero steps, fill with the first colour.
    for (int steps : {0, 1}) {
        DrawPageGradient(c, clRed, clBlue, steps, Rect(0, 0, 20, 20), false);
        EXPECT_EQ(controls_test::PixelAt(bmp, 10, 18), 0x0000FF) << steps;
    }
}

TEST(ExPageControlDrawing, BitmapStretchedVertically)
{
    // A 2 x 8 picture with a colour per row; its bottom-left pixel is the
    // transparent colour.
    TBitmap pic(2, 8);
    auto rowColour = [](int k) { return RGB(20 + 25 * k, 100, 50); };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 2; ++x) pic.Canvas()->SetPixels(x, y, rowColour(y));
    pic.Canvas()->SetPixels(0, 7, RGB(255, 0, 255));
    struct Case { int length; std::vector<int> rows; };   // source row shown at each y, -1 background
    const Case cases[] = {
        {8, {0, 1, 2, 3, 4, 5, 6, 7, -1}},
        {18, {0, 1, 2, 3, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, 4, 5, 6, 7, -1}},
        {4, {0, 1, 6, 7, -1}},
    };
    for (const Case& c : cases) {
        TBitmap out(2, 24);
        out.Canvas()->Brush()->SetColor(clWhite);
        out.Canvas()->FillRect(Rect(0, 0, 2, 24));
        DrawBitmapStretchedV(&pic, out.Canvas(), 0, c.length, 0);
        for (std::size_t y = 0; y < c.rows.size(); ++y) {
            const TColor got = controls_test::PixelAt(out, 1, static_cast<int>(y));
            if (c.rows[y] == -1) { EXPECT_EQ(got, 0xFFFFFF) << c.length << " y " << y; }
            else if (c.rows[y] == -2) { EXPECT_TRUE(got == rowColour(3) || got == rowColour(4)) << c.length << " y " << y; }
            else EXPECT_EQ(got, rowColour(c.rows[y])) << c.length << " y " << y;
        }
        // The key colour leaves the background.
        const int lastY = c.length - 1;
        EXPECT_EQ(controls_test::PixelAt(out, 0, lastY), 0xFFFFFF) << c.length;
    }
}

// --------------------------------------------------------------- mouse

TEST(ExPageControl, HoverRepaintsTwoTabs)
{
    PageHost h(3);
    h.pc->SetTabHoverColor(clYellow);
    h.Show();
    std::vector<int> invalidated;
    h.pc->OnTabInvalidated = [&](int p) { invalidated.push_back(p); };
    sim::MouseMove(h.pc, h.TabCentre(1).X, h.TabCentre(1).Y);
    EXPECT_EQ(h.pc->HoverTab(), 1);
    EXPECT_EQ(invalidated, std::vector<int>{1});
    auto img = h.Image();
    const TRect r1 = h.pc->PageTabRect(1);
    EXPECT_EQ(h.Px(*img, r1.Left + 3, r1.Bottom - 2), 0x00FFFF);
    invalidated.clear();
    sim::MouseMove(h.pc, h.TabCentre(2).X, h.TabCentre(2).Y);
    EXPECT_EQ(invalidated, (std::vector<int>{1, 2}));
    invalidated.clear();
    h.pc->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(h.pc->HoverTab(), -1);
    EXPECT_EQ(invalidated, std::vector<int>{2});
}

TEST(ExPageControl, ClosingAndReopening)
{
    PageHost h(1);
    TExTabSheet* s = h.sheets[0];
    s->SetShowClose(true);
    h.Show();
    bool allowClose = false;
    int closes = 0, changes = 0;
    s->OnCanClose = [&](rtl::TObject*, bool& can) { can = allowClose; };
    s->OnClose = [&](rtl::TObject*) { ++closes; };
    h.pc->OnChange = [&](rtl::TObject*) { ++changes; };
    const TRect r = h.pc->PageTabRect(0);
    const int gx = r.Left + 6, gy = r.Top + 7;
    ASSERT_TRUE(h.pc->PtInCloseGlyph(0, gx, gy));
    sim::Click(h.pc, gx, gy);
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(h.pc->ActivePage(), s);

    allowClose = true;
    sim::Click(h.pc, gx, gy);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(h.pc->PageCount(), 0);
    EXPECT_EQ(h.pc->ActivePage(), nullptr);
    EXPECT_EQ(h.pc->ClosedTabList()->IndexOf("Sheet1"), 0);
    EXPECT_EQ(s->ExPageControl(), nullptr);

    auto* other = h.Add("Other");
    EXPECT_TRUE(h.pc->OpenClosedTab("Sheet1"));
    EXPECT_EQ(s->PageIndex(), 1);   // appended, not selected
    EXPECT_EQ(h.pc->ActivePage(), other);
    EXPECT_TRUE(h.pc->OpenClosedTab("Sheet1"));
    EXPECT_EQ(h.pc->PageCount(), 2);
    EXPECT_FALSE(h.pc->OpenClosedTab("Nothing"));

    // A closed sheet freed elsewhere leaves the list.
    h.pc->SetActivePage(s);
    sim::Click(h.pc, h.pc->PageTabRect(1).Left + 6, h.pc->PageTabRect(1).Top + 7);
    EXPECT_EQ(s->ExPageControl(), nullptr);
    delete s;
    EXPECT_EQ(h.pc->ClosedTabList()->IndexOf("Sheet1"), -1);
    EXPECT_FALSE(h.pc->OpenClosedTab("Sheet1"));
}

TEST(ExPageControl, FreeOnCloseAndDockSiteSingleClose)
{
    PageHost h(2);
    h.pc->SetFreeOnClose(true);
    h.sheets[0]->SetShowClose(true);
    h.sheets[1]->SetShowClose(true);
    h.Show();
    const TRect r = h.pc->PageTabRect(0);
    sim::Click(h.pc, r.Left + 6, r.Top + 7);
    EXPECT_EQ(h.pc->PageCount(), 1);
    EXPECT_EQ(h.form.FindComponent("Sheet1"), nullptr);
    EXPECT_EQ(h.pc->ClosedTabList()->Count(), 0);

    // With DockSite the press closes; the release over the next tab's
    // glyph must not close that one too.
    PageHost d(3);
    d.pc->SetDockSite(true);
    for (auto* s : d.sheets) s->SetShowClose(true);
    d.Show();
    const TRect r0 = d.pc->PageTabRect(0);
    sim::Click(d.pc, r0.Left + 6, r0.Top + 7);
    EXPECT_EQ(d.pc->PageCount(), 2);
    EXPECT_EQ(d.pc->ActivePage(), d.sheets[1]);
}

// ------------------------------------------------------------- docking

TEST(ExPageControl, DockedFormBecomesPage)
{
    PageHost h(1);
    h.pc->SetDockSite(true);
    h.Show();
    auto* tool = new TForm(&h.form);
    tool->SetCaption("Tool window");
    tool->SetBounds(0, 0, 120, 80);
    tool->Show();
    ASSERT_TRUE(h.pc->DockClient(tool, Rect(0, 0, 120, 80)));
    ASSERT_EQ(h.pc->PageCount(), 2);
    TExTabSheet* page = h.pc->Pages(1);
    EXPECT_EQ(page->Caption(), "Tool window");
    EXPECT_EQ(h.pc->ActivePage(), page);
    EXPECT_EQ(tool->Parent(), page);
    EXPECT_EQ(tool->Align(), TAlign::alClient);
    // Docked twice: refused.
    EXPECT_FALSE(h.pc->DockClient(tool, Rect(0, 0, 10, 10)));
    // The tab under a point finds the docked form.
    EXPECT_EQ(h.pc->DockClientAt(h.TabCentre(1)), tool);
    EXPECT_EQ(h.pc->DockClientAt(h.TabCentre(0)), nullptr);

    h.pc->NotifyDocked(tool, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("First line\r\nSecond"));
    EXPECT_EQ(page->Caption(), "First line");
    h.pc->NotifyDocked(tool, CM_VISIBLECHANGED, 0, 0);
    EXPECT_FALSE(page->TabVisible());
    h.pc->NotifyDocked(tool, CM_VISIBLECHANGED, 1, 0);
    EXPECT_TRUE(page->TabVisible());

    // Dragged out of its tab: the page goes, the next visible page is active.
    h.pc->SetActivePage(page);
    const TPoint t = h.TabCentre(1);
    sim::MouseDown(h.pc, TMouseButton::mbLeft, t.X, t.Y);
    sim::MouseMove(h.pc, t.X, kH + 20);
    sim::MouseUp(h.pc, TMouseButton::mbLeft, t.X, kH + 20);
    EXPECT_EQ(h.pc->PageCount(), 1);
    EXPECT_EQ(h.pc->ActivePage(), h.sheets[0]);
    EXPECT_EQ(tool->Parent(), nullptr);
    EXPECT_EQ(TDockSite::HostDockSite(tool), nullptr);

    // Not a dock site: nothing happens.
    h.pc->SetDockSite(false);
    EXPECT_FALSE(h.pc->DockClient(tool, Rect(0, 0, 10, 10)));
    EXPECT_EQ(h.pc->PageCount(), 1);
    delete tool;
}

namespace {

// A tab is as long as what is painted on it: the whole caption keeps a
// gap of background before the tab's right border (or before a close
// glyph there), in the plain and the bold active font, with close glyphs
// on either side and with margins.
TEST(ExPageControl, TabsAreAsLongAsTheirPaintedCaptions)
{
    struct Case {
        const char* what;
        std::function<void(TExPageControl*, std::vector<TExTabSheet*>&)> set;
        bool closeRight = false;
    };
    const Case cases[] = {
        {"plain", [](TExPageControl*, std::vector<TExTabSheet*>&) {}},
        {"bold-active",
         [](TExPageControl* pc, std::vector<TExTabSheet*>&) { pc->ActiveFont()->SetStyle({TFontStyle::fsBold}); }},
        {"close-right",
         [](TExPageControl* pc, std::vector<TExTabSheet*>& s) {
             pc->SetClosePosition(TClosePosition::cpRight);
             for (TExTabSheet* p : s) p->SetShowClose(true);
         },
         true},
        {"close-left",
         [](TExPageControl* pc, std::vector<TExTabSheet*>& s) {
             pc->SetClosePosition(TClosePosition::cpLeft);
             for (TExTabSheet* p : s) p->SetShowClose(true);
         }},
        {"margins",
         [](TExPageControl* pc, std::vector<TExTabSheet*>&) {
             pc->TabMargin()->SetLeftMargin(6);
             pc->TabMargin()->SetRightMargin(8);
         }},
    };
    auto dark = [](TColor c) { return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 300; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageHost h(0);
        h.form.SetBounds(0, 0, 620, 260);
        h.pc->SetBounds(kLeft, kTop, 580, kH);
        for (const char* caption : {"Curves of equal magnitude", "Curves of equal time", "Wm"}) h.Add(caption);
        c.set(h.pc, h.sheets);
        h.pc->SetActivePageIndex(0);
        h.Show();
        auto img = h.Image();
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            TBitmap probe(1, 1);
            probe.Canvas()->Font()->Assign(i == 0 ? h.pc->ActiveFont() : h.pc->Font());
            const int textWidth = probe.Canvas()->TextWidth(h.sheets[i]->Caption());
            const TRect r = h.pc->PageTabRect(i);
            const int limit = c.closeRight ? r.Right - h.pc->TabMargin()->RightMargin() - 14 : r.Right;
            int inkLeft = -1, inkRight = -1;
            for (int x = r.Left + 1; x < r.Right; ++x)
                for (int y = r.Top + 2; y < r.Bottom - 1; ++y)
                    if (dark(h.Px(*img, x, y))) {
                        if (inkLeft < 0) inkLeft = x;
                        inkRight = x;
                        break;
                    }
            ASSERT_GE(inkLeft, 0);
            if (!c.closeRight) {
                // The caption's last ink, then at least two columns of background.
                EXPECT_LE(inkRight, limit - 3) << "ink to " << inkRight << ", border at " << r.Right;
                EXPECT_GE(inkRight - inkLeft + 1, textWidth - 3);
            } else {
                // The caption ends before the glyph's column.
                int textRight = -1;
                for (int x = r.Left + 1; x < limit; ++x)
                    for (int y = r.Top + 2; y < r.Bottom - 1; ++y)
                        if (dark(h.Px(*img, x, y))) {
                            textRight = x;
                            break;
                        }
                EXPECT_GE(textRight - inkLeft + 1, textWidth - 3);
                EXPECT_LE(textRight, limit - 2) << "text to " << textRight << ", glyph from " << limit;
            }
        }
        controls_test::Keep(*img, std::string("pagecontrol-tab-length-") + c.what);
    }
}

} // namespace
