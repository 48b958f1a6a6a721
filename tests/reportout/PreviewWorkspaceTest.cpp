// The preview workspace against a fake of the prepared pages: which pages
// get painted, how they look, panning and clicks, and the text search on
// the recorded drawing of a page.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "tests/common/TestPaths.h"
#include "reportout/qlrPreviewWorkspace.h"

using namespace qlr;

namespace {

// Pages of 794 x 1123 report pixels; each draws a black bar and its texts.
class TFakePages : public IqlrWorkspacePages {
public:
    explicit TFakePages(int count) : FCount(count) {}
    int Count() override { return FCount; }
    void DrawPage(int index, gui::TCanvas* canvas, long double sx, long double, int ox, int oy) override
    {
        Drawn.push_back(index);
        canvas->Brush()->SetColor(gui::clBlack);
        canvas->FillRect(gui::TRect(ox + 10, oy + 10, ox + 10 + static_cast<int>(100 * sx), oy + 20));
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        int y = 100;
        for (const std::string& t : TextsOf(index)) {
            canvas->TextOut(ox + 50, oy + y, t);
            y += 100;
        }
    }
    void ObjectOver(int index, int x, int y, gui::TMouseButton, gui::TShiftState, long double, int offsetX,
                    int offsetY, bool click, gui::TCursor& cursor, bool dbClick) override
    {
        Overs.push_back({index, x, y, offsetX, offsetY, click, dbClick});
        cursor = 77;
    }
    bool PageTopMargin(int index, long double& m) override
    {
        m = 10;
        return index >= 0 && index < FCount;
    }
    std::vector<std::string> TextsOf(int index) const
    {
        if (index == 1) return {"Total Eclipse", "Sun and Moon", "eclipse of 2027"};
        return {"Page " + std::to_string(index + 1)};
    }
    struct Over {
        int index, x, y, ox, oy;
        bool click, dbClick;
    };
    std::vector<int> Drawn;
    std::vector<Over> Overs;

private:
    int FCount;
};

class WorkspaceFixture : public ::testing::Test {
protected:
    void Build(int pages, long double zoom, int w = 640, int h = 480)
    {
        Pages = std::make_unique<TFakePages>(pages);
        Ws = new TqlrPreviewWorkspace(&Form);
        Ws->SetParent(&Form);
        Ws->SetBounds(0, 0, w, h);
        Ws->SetZoom(zoom);
        Ws->SetPreviewPages(Pages.get());
        Ws->OnPageNoChange = [this](int n) {
            PageChanges.push_back(n);
            Ws->SetPageNo(n);
        };
        for (int i = 0; i < pages; ++i) Ws->AddPageItem(794, 1123);
        Ws->LayOutPages(Ws->ViewWidth() - 26);
        Ws->UpdateScrollRanges();
        Ws->SetHorzPage(Ws->ViewWidth());
        Ws->SetVertPage(Ws->ViewHeight());
    }
    std::unique_ptr<gui::TBitmap> Paint()
    {
        auto bmp = std::make_unique<gui::TBitmap>(Ws->Width(), Ws->Height());
        Ws->PaintTo(bmp->Canvas(), 0, 0);
        return bmp;
    }
    void SetUp() override
    {
        auto d = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = d.get();
        FOldDialogs = gui::SetDialogService(std::move(d));
        TextSearch() = TqlrTextSearch();
    }
    void TearDown() override
    {
        gui::SetDialogService(std::move(FOldDialogs));
        TqlrPreviewWorkspace::TickCount = [] {
            return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now().time_since_epoch())
                                             .count());
        };
    }

    gui::TForm Form{nullptr};
    std::unique_ptr<TFakePages> Pages;
    TqlrPreviewWorkspace* Ws = nullptr;
    std::vector<int> PageChanges;
    gui::TScriptedDialogService* Dialogs = nullptr;

private:
    std::unique_ptr<gui::IDialogService> FOldDialogs;
};

TEST_F(WorkspaceFixture, PaintsOnlyTheWindowAroundTheTopPage)
{
    Build(200, 0.1L);
    // Pages of 79 x 112 at zoom 0.1, several in a row.
    const int perRow = [&] {
        int n = 0;
        while (n < Ws->PageList().Count() && Ws->PageList().Items(n).OffsetY == 10) ++n;
        return n;
    }();
    ASSERT_GT(perRow, 1);
    Ws->SetVertPosition(Ws->PageList().Items(100).OffsetY - 10);
    const int top = Ws->PageList().PageAtOffset(Ws->VertPosition(), 0);
    Pages->Drawn.clear();
    Paint();
    ASSERT_FALSE(Pages->Drawn.empty());
    EXPECT_LE(Pages->Drawn.size(), 81u);
    for (int i : Pages->Drawn) {
        EXPECT_GE(i, top - 40);
        EXPECT_LE(i, top + 40);
    }
    // Every page wholly in view is painted.
    const int shown = static_cast<int>(Pages->Drawn.size());
    EXPECT_GE(shown, perRow * (Ws->ViewHeight() / 122));
}

TEST_F(WorkspaceFixture, PageLooksAndFrames)
{
    Build(3, 0.25L, 700, 400);
    Ws->SetPageNo(2);
    auto bmp = Paint();
    const gui::TRect p0 = Ws->PageList().PageRect(0, Ws->ViewWidth(), 0.25L, false);
    const gui::TRect p1 = Ws->PageList().PageRect(1, Ws->ViewWidth(), 0.25L, false);
    gui::TCanvas* c = bmp->Canvas();
    EXPECT_EQ(c->Pixels(2, 2), gui::TColor(8421504));                      // background
    EXPECT_EQ(c->Pixels(p0.Left + 30, p0.Top + 150), gui::clWhite);        // page
    EXPECT_EQ(c->Pixels(p0.Left, p0.Top + 150), gui::clBlack);             // one-pixel frame
    EXPECT_EQ(c->Pixels(p0.Left - 1, p0.Top + 150), gui::TColor(8421504)); // not the current page
    EXPECT_EQ(c->Pixels(p1.Left - 1, p1.Top + 150), gui::TColor(8405024)); // current page frame
    EXPECT_EQ(c->Pixels(p1.Right + 1, p1.Top + 150), gui::TColor(8405024));
    EXPECT_EQ(c->Pixels(p0.Left + 15, p0.Top + 15), gui::clBlack);         // the page's contents

    Pages->Drawn.clear();
    Ws->SetLocked(true);
    bmp = Paint();
    EXPECT_TRUE(Pages->Drawn.empty());
    EXPECT_EQ(bmp->Canvas()->Pixels(p0.Left + 30, p0.Top + 150), gui::TColor(8421504));
}

TEST_F(WorkspaceFixture, ThumbnailsAreNumbered)
{
    Build(2, 0.1L, 200, 300);
    Ws->SetIsThumbnail(true);
    auto bmp = Paint();
    const gui::TRect p0 = Ws->PageList().PageRect(0, Ws->ViewWidth(), 0.1L, false);
    // The number's box is on the background colour, with white digits.
    int grey = 0, white = 0;
    for (int x = p0.Left + 1; x < p0.Left + 20; ++x)
        for (int y = p0.Top + 1; y < p0.Top + 12; ++y) {
            const gui::TColor px = bmp->Canvas()->Pixels(x, y);
            grey += px == gui::TColor(8421504);
            white += px == gui::clWhite;
        }
    EXPECT_GT(grey, 20);
    EXPECT_GT(white, 3);
}

TEST_F(WorkspaceFixture, DragPansAndMovesFollowTheView)
{
    Build(10, 0.5L, 400, 300);
    Ws->SetHorzRange(2000);
    gui::sim::MouseDown(Ws, gui::TMouseButton::mbLeft, 200, 200);
    gui::sim::MouseMove(Ws, 150, 80);
    gui::sim::MouseUp(Ws, gui::TMouseButton::mbLeft, 150, 80);
    EXPECT_EQ(Ws->HorzPosition(), 50);
    EXPECT_EQ(Ws->VertPosition(), 120);
    EXPECT_EQ(Ws->Offset(), (gui::TPoint{50, 120}));
    ASSERT_FALSE(PageChanges.empty());
    EXPECT_FALSE(Ws->DisableUpdate());

    // A move without a button passes the page and its offsets to ObjectOver.
    Pages->Overs.clear();
    gui::sim::MouseMove(Ws, 100, 100);
    ASSERT_EQ(Pages->Overs.size(), 1u);
    const int i = Pages->Overs[0].index;
    const gui::TRect r = Ws->PageList().PageRect(i, Ws->ViewWidth(), 0.5L, false);
    EXPECT_EQ(Pages->Overs[0].ox, r.Left - 50);
    EXPECT_EQ(Pages->Overs[0].oy, r.Top - 120);
    EXPECT_FALSE(Pages->Overs[0].click);
    EXPECT_EQ(Ws->Cursor(), 77);
}

TEST_F(WorkspaceFixture, ClicksSelectPagesAndDoubleClicksWithinTheTime)
{
    Build(6, 0.1L, 200, 400);
    Ws->SetIsThumbnail(true);
    const gui::TRect p3 = Ws->PageList().PageRect(3, Ws->ViewWidth(), 0.1L, false);
    gui::sim::MouseDown(Ws, gui::TMouseButton::mbLeft, p3.Left + 5, p3.Top + 5);
    gui::sim::MouseMove(Ws, p3.Left + 40, p3.Top + 60);
    gui::sim::MouseUp(Ws, gui::TMouseButton::mbLeft, p3.Left + 40, p3.Top + 60);
    EXPECT_EQ(Ws->VertPosition(), 0);   // a thumbnail does not pan
    ASSERT_FALSE(PageChanges.empty());
    EXPECT_EQ(PageChanges.back(), 4);
    EXPECT_TRUE(Pages->Overs.empty());

    Build(3, 0.25L, 700, 400);
    uint32_t now = 10000;
    TqlrPreviewWorkspace::TickCount = [&] { return now; };
    TqlrPreviewWorkspace::DoubleClickTime = 500;
    const gui::TRect p1 = Ws->PageList().PageRect(1, Ws->ViewWidth(), 0.25L, false);
    auto click = [&] {
        gui::sim::MouseDown(Ws, gui::TMouseButton::mbLeft, p1.Left + 5, p1.Top + 5);
        gui::sim::MouseUp(Ws, gui::TMouseButton::mbLeft, p1.Left + 5, p1.Top + 5);
    };
    click();
    now += 300;
    click();
    now += 900;
    click();
    ASSERT_EQ(Pages->Overs.size(), 3u);
    EXPECT_FALSE(Pages->Overs[0].dbClick);
    EXPECT_TRUE(Pages->Overs[1].dbClick);
    EXPECT_FALSE(Pages->Overs[2].dbClick);
    EXPECT_TRUE(Pages->Overs[0].click);
    EXPECT_EQ(Pages->Overs[0].index, 1);
    EXPECT_EQ(PageChanges.back(), 2);
}

TEST_F(WorkspaceFixture, TextSearchWalksRecordsThenPages)
{
    Build(4, 0.5L, 500, 300);
    TqlrTextSearch& s = TextSearch();
    s.Text = "ECLIPSE";
    s.CaseSensitive = false;
    Ws->SearchPage = 0;
    Ws->ContinueTextSearch();
    ASSERT_TRUE(s.Found);
    EXPECT_EQ(Ws->SearchPage, 1);
    const int first = s.LastFoundRecord;
    const gui::TRect firstBounds = s.Bounds;
    // The hit's own characters in "Total Eclipse" drawn at x 50.
    gui::TBitmap scratch(10, 10);
    EXPECT_NEAR(firstBounds.Left, 50 + scratch.Canvas()->TextWidth("Total "), 2);
    EXPECT_NEAR(firstBounds.Right, 50 + scratch.Canvas()->TextWidth("Total Eclipse"), 2);
    EXPECT_NEAR(firstBounds.Top, 100, 2);

    Ws->ContinueTextSearch();   // the later record of the same page
    ASSERT_TRUE(s.Found);
    EXPECT_EQ(Ws->SearchPage, 1);
    EXPECT_GT(s.LastFoundRecord, first);
    EXPECT_NEAR(s.Bounds.Top, 300, 2);
    // The hit lies below the view: it scrolls into it.
    const gui::TRect p1 = Ws->PageList().PageRect(1, Ws->ViewWidth(), 0.5L, false);
    EXPECT_EQ(Ws->VertPosition(),
              std::min(Ws->VertRange() - Ws->VertPage(), p1.Top + s.Bounds.Bottom / 2 - Ws->ViewHeight() + 20));

    Ws->ContinueTextSearch();   // nothing more: the other pages hold none
    EXPECT_FALSE(s.Found);
    EXPECT_EQ(Ws->SearchPage, 4);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "Text not found");

    // Case-sensitive: "eclipse" matches only the lower-case record.
    s = TqlrTextSearch();
    s.Text = "eclipse";
    s.CaseSensitive = true;
    Ws->SearchPage = 0;
    Ws->ContinueTextSearch();
    ASSERT_TRUE(s.Found);
    EXPECT_NEAR(s.Bounds.Top, 300, 2);

    // No hit at all: one message, the view stays.
    s = TqlrTextSearch();
    s.Text = "Saros";
    Ws->SetVertPosition(40);
    Ws->SearchPage = 0;
    Dialogs->Calls.clear();
    Ws->ContinueTextSearch();
    EXPECT_FALSE(s.Found);
    EXPECT_EQ(Ws->VertPosition(), 40);
    EXPECT_EQ(Dialogs->Calls.size(), 1u);
}

TEST_F(WorkspaceFixture, FoundTextIsInverted)
{
    Build(2, 1, 900, 700);
    TqlrTextSearch& s = TextSearch();
    s.Text = "Total";
    Ws->SearchPage = 1;
    Ws->ContinueTextSearch();
    ASSERT_TRUE(s.Found);
    auto bmp = Paint();
    gui::TRect p1 = Ws->PageList().PageRect(1, Ws->ViewWidth(), 1, false);
    p1.Left -= Ws->Offset().X;
    p1.Top -= Ws->Offset().Y;
    // A white page pixel inside the hit box turns black under the XOR.
    EXPECT_EQ(bmp->Canvas()->Pixels(p1.Left + s.Bounds.Left - 1, p1.Top + s.Bounds.Top), gui::clBlack);
}

TEST_F(WorkspaceFixture, Screenshot)
{
    Form.SetClientSize(660, 420);
    Build(6, 0.3L, 660, 420);
    Ws->SetPageNo(2);
    TextSearch().Text = "Moon";
    Ws->SearchPage = 0;
    Ws->ContinueTextSearch();
    Form.Show();
    gui::Application->ProcessMessages();
    const auto dir = tectest::ScratchDir("reportout-workspace");
    auto shot = Form.GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "workspace.png").string());
    std::printf("workspace picture: %s\n", (dir / "workspace.png").c_str());
    Form.Hide();
}

} // namespace
