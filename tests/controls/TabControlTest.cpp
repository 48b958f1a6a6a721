// The program-drawn tab strip under the page control: rows, the scrolled
// single line, hit testing, the change notifications and owner drawing.

#include <gtest/gtest.h>

#include <algorithm>

#include "ControlsFixture.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/TabCtrls.h"

using namespace gui;
using controls_test::Host;

namespace {

struct TabHost : Host {
    TCustomTabControl* tc;
    TabHost() : Host(360, 240)
    {
        tc = new TCustomTabControl(&form);
        tc->SetParent(&form);
        tc->SetBounds(10, 10, 200, 150);
        tc->SetTabWidth(60);
        for (int i = 0; i < 7; ++i) tc->Tabs()->Add("Tab " + std::to_string(i));
    }
};

} // namespace

TEST(TabControl, RowsPutTheSelectedRowNextToThePage)
{
    TabHost h;
    h.tc->SetMultiLine(true);
    // 196 pixels hold three 60-pixel items a row: rows 0-2, 3-5, 6.
    EXPECT_EQ(h.tc->RowCount(), 3);
    EXPECT_EQ(h.tc->TabIndex(), 0);
    const int d = h.tc->TabRect(0).Height();
    // The selected row (the first) lies nearest the page, the rows after it above.
    EXPECT_EQ(h.tc->TabRect(0).Top, 2 + 2 * d);
    EXPECT_EQ(h.tc->TabRect(3).Top, 2);
    EXPECT_EQ(h.tc->TabRect(6).Top, 2 + d);
    EXPECT_EQ(h.tc->DisplayRect().Top, 2 + 3 * d + 4);
    // Rows are stretched to the width unless RaggedRight.
    EXPECT_EQ(h.tc->TabRect(6).Width(), 196);
    h.tc->SetTabIndex(6);
    EXPECT_EQ(h.tc->TabRect(6).Top, 2 + 2 * d);
    EXPECT_EQ(h.tc->TabRect(0).Top, 2);
    EXPECT_EQ(h.tc->TabRect(3).Top, 2 + d);
    h.tc->SetRaggedRight(true);
    EXPECT_EQ(h.tc->TabRect(6).Width(), 60);
    // Hit test through the message.
    const TRect r = h.tc->TabRect(4);
    TTCHitTestInfo info{{r.Left + 5, r.Top + 5}, 0};
    EXPECT_EQ(h.tc->Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 4);
    info.pt = {5, 140};
    EXPECT_EQ(h.tc->Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_EQ(info.flags, static_cast<uint32_t>(TCHT_NOWHERE));
}

TEST(TabControl, ScrolledLineAndArrows)
{
    TabHost h;
    h.Show();
    ASSERT_TRUE(h.tc->ScrollArrowsVisible());
    EXPECT_EQ(h.tc->RowCount(), 1);
    const TRect arrows = h.tc->ScrollArrowsRect();
    EXPECT_EQ(arrows.Right, 198);
    // Items under the arrows are not hit.
    EXPECT_EQ(h.tc->IndexOfTabAt(arrows.Left + 3, arrows.Top + 3), -1);
    sim::Click(h.tc, arrows.Right - 4, arrows.Top + 4);   // forward
    EXPECT_EQ(h.tc->FirstVisibleTab(), 1);
    EXPECT_EQ(h.tc->TabRect(1).Left, 2);
    sim::Click(h.tc, arrows.Left + 4, arrows.Top + 4);    // back
    EXPECT_EQ(h.tc->FirstVisibleTab(), 0);
    // Selecting a tab off the strip scrolls it into view.
    h.tc->SetTabIndex(6);
    EXPECT_LE(h.tc->TabRect(6).Right, arrows.Left);
    EXPECT_GT(h.tc->FirstVisibleTab(), 0);
}

TEST(TabControl, NotificationsVetoAndOwnerDrawing)
{
    TabHost h;
    h.tc->SetTabWidth(25);
    std::vector<int> codes;
    bool allow = false;
    h.tc->OnChanging = [&](rtl::TObject*, bool& a) {
        codes.push_back(TCN_SELCHANGING);
        a = allow;
    };
    h.tc->OnChange = [&](rtl::TObject*) { codes.push_back(TCN_SELCHANGE); };
    std::vector<std::pair<int, bool>> drawn;
    h.tc->OnDrawTab = [&](TCustomTabControl*, int i, const TRect&, bool active) { drawn.push_back({i, active}); };
    h.tc->SetOwnerDraw(true);
    h.Show();
    const TRect r = h.tc->TabRect(2);
    sim::Click(h.tc, r.Left + 3, r.Top + 3);
    EXPECT_EQ(h.tc->TabIndex(), 0);
    EXPECT_EQ(codes, std::vector<int>{TCN_SELCHANGING});
    allow = true;
    sim::Click(h.tc, r.Left + 3, r.Top + 3);
    EXPECT_EQ(h.tc->TabIndex(), 2);
    EXPECT_EQ(codes, (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGING, TCN_SELCHANGE}));
    // Every item is drawn by its owner in each paint, the selected one last.
    drawn.clear();
    h.Image();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.size() % 7, 0u);
    EXPECT_EQ(drawn.back(), (std::pair<int, bool>{2, true}));
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), [](auto& p) { return p.second; }) * 7,
              static_cast<long>(drawn.size()));
    // While redrawing is off, invalidation waits; no paint reaches the owner.
    h.tc->Perform(WM_SETREDRAW, 0, 0);
    drawn.clear();
    h.tc->Tabs()->SetStrings(1, "Renamed");
    Application->ProcessMessages();
    EXPECT_TRUE(drawn.empty());
    h.tc->Perform(WM_SETREDRAW, 1, 0);
    h.tc->Invalidate();
    h.Image();
    EXPECT_FALSE(drawn.empty());
    // Arrow keys select like the user does.
    h.tc->SetFocus();
    codes.clear();
    sim::KeyPress(VK_RIGHT, {}, h.tc);
    EXPECT_EQ(h.tc->TabIndex(), 3);
    EXPECT_EQ(codes, (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGE}));
}
