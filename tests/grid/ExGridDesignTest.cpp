// The design-time quick configuration panel: never at run time; with the
// designing state set, its hit test, its look menu and its repainting.
#include <gtest/gtest.h>

#include <filesystem>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PngImage.h"

using namespace grid;

namespace {

struct CountingGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    int PanelPaints = 0;
    void PaintDesignHelper() override
    {
        ++PanelPaints;
        TExStringGrid::PaintDesignHelper();
    }
};

struct DesignFixture : testing::Test {
    gui::TForm Form{nullptr};
    CountingGrid* G;
    int H = 0;  // the panel font's line height
    DesignFixture()
    {
        Form.SetBounds(50, 50, 600, 400);
        G = new CountingGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 500, 300);
        Form.Show();
        gui::TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->SetName("Tahoma");
        b.Canvas()->Font()->SetSize(8);
        H = b.Canvas()->TextHeight("gh");
    }
    void Designing(bool on) { G->SetComponentStateFlag(rtl::TComponentStateItem::csDesigning, on); }
    gui::TPoint AllowEdit() const
    {
        const gui::TRect r = G->ClientRect();
        return {r.Right - 140, r.Bottom - 2 * H - 10 + 4};
    }
    gui::TPoint SetLook() const
    {
        const gui::TRect r = G->ClientRect();
        return {r.Right - 140, r.Bottom - H - 8 + 4};
    }
    gui::TPoint Close() const
    {
        const gui::TRect r = G->ClientRect();
        return {r.Right - 8, r.Bottom - 3 * H - 8};
    }
    gui::TColor PanelPixel()
    {
        gui::TBitmap bmp;
        bmp.SetSize(G->Width(), G->Height());
        G->PaintTo(bmp.Canvas(), 0, 0);
        const gui::TRect r = G->ClientRect();
        return bmp.Canvas()->Pixels(r.Right - 10, r.Bottom - 4);
    }
    gui::LPARAM Pos(gui::TPoint p) const
    {
        return static_cast<gui::LPARAM>((static_cast<uint32_t>(p.Y & 0xFFFF) << 16) | static_cast<uint32_t>(p.X & 0xFFFF));
    }
};

} // namespace

TEST_F(DesignFixture, NothingAtRunTime)
{
    EXPECT_NE(PanelPixel(), gui::ColorToRGB(gui::clInfoBk));
    const bool editing = G->Options().Contains(gui::TGridOption::goEditing);
    gui::sim::Click(G, AllowEdit().X, AllowEdit().Y);
    EXPECT_EQ(G->Options().Contains(gui::TGridOption::goEditing), editing);
    gui::TMessage m{gui::CM_DESIGNHITTEST, 0, Pos(AllowEdit()), 0};
    G->Dispatch(m);
    EXPECT_EQ(m.Result, 0);
    EXPECT_EQ(G->LastDesignChoice(), 255);

    Designing(true);
    EXPECT_EQ(PanelPixel(), gui::ColorToRGB(gui::clInfoBk));
    G->SetShowDesignHelper(false);
    EXPECT_NE(PanelPixel(), gui::ColorToRGB(gui::clInfoBk));
}

TEST_F(DesignFixture, HitTestGeometry)
{
    Designing(true);
    const gui::TRect r = G->ClientRect();
    struct Case {
        gui::TPoint at;
        int item;
    };
    for (const Case& c : {Case{AllowEdit(), 1}, Case{SetLook(), 2}, Case{Close(), 3},
                          Case{{r.Right - 160, SetLook().Y}, 255}, Case{{r.Right - 70, AllowEdit().Y}, 255},
                          Case{{r.Right - 8, r.Bottom - 3 * H - 16}, 255}, Case{{10, 10}, 255}}) {
        EXPECT_EQ(G->DesignHelperHitTest(c.at.X, c.at.Y), c.item) << c.at.X << "," << c.at.Y;
    }
}

TEST_F(DesignFixture, ClicksToggleEditingChooseLooksAndClose)
{
    Designing(true);
    const bool editing = G->Options().Contains(gui::TGridOption::goEditing);
    gui::sim::Click(G, AllowEdit().X, AllowEdit().Y);
    EXPECT_NE(G->Options().Contains(gui::TGridOption::goEditing), editing);
    EXPECT_EQ(Form.Width(), 600);  // shrunk by one and grown again

    G->SetLook(TGridLook::glSoft);
    gui::sim::Click(G, SetLook().X, SetLook().Y);
    gui::TPopupMenu* menu = G->DesignLookMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Items()->Count(); ++i) captions.push_back(menu->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"Standard", "Soft", "Classic", "KVR", "ListView", "Office 2007",
                                                  "Windows XP", "Windows Vista", "Windows 7"}));
    EXPECT_TRUE(menu->Items()->Items(1)->Checked());
    EXPECT_FALSE(menu->Items()->Items(0)->Checked());
    menu->CloseMenu();
    menu->Items()->Find("Office 2007")->Click();
    EXPECT_EQ(G->Look(), TGridLook::glOffice2007);
    menu->Items()->Find("ListView")->Click();
    EXPECT_EQ(G->Look(), TGridLook::glListView);

    gui::sim::Click(G, Close().X, Close().Y);
    EXPECT_FALSE(G->ShowDesignHelper());
}

TEST_F(DesignFixture, LeavingAnItemRepaintsThePanelOnce)
{
    Designing(true);
    gui::TMessage in{gui::CM_DESIGNHITTEST, 0, Pos(AllowEdit()), 0};
    G->Dispatch(in);
    EXPECT_EQ(in.Result, 1);
    EXPECT_EQ(G->LastDesignChoice(), 1);
    gui::Application->ProcessMessages();
    G->PanelPaints = 0;
    for (int i = 0; i < 3; ++i) {
        gui::TMessage out{gui::CM_DESIGNHITTEST, 0, Pos({20, 20 + i}), 0};
        G->Dispatch(out);
        EXPECT_EQ(out.Result, 0);
        gui::Application->ProcessMessages();
    }
    EXPECT_EQ(G->LastDesignChoice(), 255);
    EXPECT_EQ(G->PanelPaints, 1);
}

TEST_F(DesignFixture, PanelPicture)
{
    Designing(true);
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    gui::TBitmap bmp;
    bmp.SetSize(G->Width(), G->Height());
    G->PaintTo(bmp.Canvas(), 0, 0);
    const auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(dir);
    gui::TPngImage png;
    png.Assign(&bmp);
    png.SaveToFile((dir / "grid-design-panel.png").string());
    // Navy text inside the panel.
    const gui::TRect r = G->ClientRect();
    bool navy = false;
    for (int y = r.Bottom - 3 * H - 16; y < r.Bottom; ++y)
        for (int x = r.Right - 150; x < r.Right; ++x) {
            const gui::TColor px = bmp.Canvas()->Pixels(x, y);
            if ((px & 0xFF) < 60 && ((px >> 8) & 0xFF) < 60 && ((px >> 16) & 0xFF) > 90) navy = true;
        }
    EXPECT_TRUE(navy);
}
