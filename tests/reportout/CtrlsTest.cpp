// The scrolling window's clamping, hooks and scroll requests, and the
// colour mix of the flat controls.
#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "reportout/qlrCtrls.h"

using namespace qlr;

namespace {

// Counts the position hooks.
class TCountingScrollWin : public TqlrScrollWin {
public:
    using TqlrScrollWin::TqlrScrollWin;
    int Horz = 0, Vert = 0;

protected:
    void HorzPositionChanged() override { ++Horz; }
    void VertPositionChanged() override { ++Vert; }
};

TEST(MixColors, SharesInPercentAndPerMille)
{
    EXPECT_EQ(MixColors(gui::clWhite, gui::clBlack, 30), gui::RGB(77, 77, 77));
    EXPECT_EQ(MixColors(gui::clWhite, gui::clBlack, 0), gui::clBlack);
    EXPECT_EQ(MixColors(gui::RGB(200, 100, 0), gui::RGB(0, 0, 255), 50), gui::RGB(100, 50, 128));
    // 300 per mille of white over black: (255 * 300 + 500) div 1000 = 77.
    EXPECT_EQ(MixColors(gui::clWhite, gui::clBlack, 300), gui::RGB(77, 77, 77));
    // A system colour is resolved first.
    EXPECT_EQ(MixColors(gui::clWindow, gui::clWindow, 30), gui::ColorToRGB(gui::clWindow));
}

TEST(ScrollWin, ClampsPositionsAndCallsHooksOnChangeOnly)
{
    gui::TForm form(nullptr);
    auto* w = new TCountingScrollWin(&form);
    w->SetParent(&form);
    w->SetVertRange(1000);
    w->SetVertPage(300);
    struct Case {
        int assigned, expected;
    };
    for (const Case& c : {Case{1200, 700}, Case{-5, 0}, Case{350, 350}, Case{700, 700}}) {
        w->SetVertPosition(c.assigned);
        EXPECT_EQ(w->VertPosition(), c.expected) << c.assigned;
    }
    EXPECT_EQ(w->Vert, 4);
    w->SetVertPosition(700);
    w->SetVertPosition(900);
    EXPECT_EQ(w->Vert, 4);
    EXPECT_EQ(w->Horz, 0);

    // A range below the page: maximum 0, and every position is 0.
    w->SetHorzRange(100);
    w->SetHorzPage(300);
    EXPECT_EQ(w->HorzScrollBar()->Max(), 0);
    w->SetHorzPosition(50);
    EXPECT_EQ(w->HorzPosition(), 0);
    EXPECT_EQ(w->Horz, 0);
    // Neither a range nor a page re-clamps the position.
    w->SetVertRange(100);
    EXPECT_EQ(w->VertPosition(), 700);
}

TEST(ScrollWin, ScrollRequestTable)
{
    gui::TForm form(nullptr);
    auto* w = new TCountingScrollWin(&form);
    w->SetParent(&form);
    w->SetVertRange(1000);
    w->SetVertPage(300);
    w->SetHorzRange(1000);
    w->SetHorzPage(300);
    struct Case {
        int code, thumb, start, expected;
    };
    const Case cases[] = {
        {gui::SB_LINEDOWN, 0, 100, 101},  {gui::SB_LINEUP, 0, 100, 99},     {gui::SB_PAGEDOWN, 0, 100, 110},
        {gui::SB_PAGEUP, 0, 5, 0},        {gui::SB_THUMBTRACK, 420, 0, 420}, {gui::SB_THUMBPOSITION, 999, 0, 700},
        {gui::SB_TOP, 0, 500, 0},         {gui::SB_BOTTOM, 0, 0, 700},       {gui::SB_ENDSCROLL, 0, 250, 250},
    };
    for (uint32_t msg : {gui::WM_VSCROLL, gui::WM_HSCROLL}) {
        const bool vert = msg == gui::WM_VSCROLL;
        for (const Case& c : cases) {
            vert ? w->SetVertPosition(c.start) : w->SetHorzPosition(c.start);
            w->Perform(msg, gui::MAKEWPARAM(c.code, c.thumb));
            EXPECT_EQ(vert ? w->VertPosition() : w->HorzPosition(), c.expected) << msg << " " << c.code;
        }
    }
    EXPECT_EQ(w->Perform(gui::WM_GETDLGCODE), 7);
}

// A bar shows only while its range does not fit the view; one bar shown
// narrows the view of the other, which may then need its own bar.
TEST(ScrollWin, BarsShowOnlyForRangesBeyondTheView)
{
    gui::TForm form(nullptr);
    auto* w = new TCountingScrollWin(&form);
    w->SetParent(&form);
    w->SetBounds(0, 0, 300, 200);
    const int vw = w->VertScrollBar()->Width(), hh = w->HorzScrollBar()->Height();
    ASSERT_GT(vw, 4);
    ASSERT_GT(hh, 4);
    struct Case {
        const char* what;
        int horzRange, vertRange;
        bool horz, vert;
    };
    const Case cases[] = {
        {"nothing to scroll", 0, 0, false, false},
        {"both fit exactly", 300, 200, false, false},
        {"only too wide", 301, 200 - hh, true, false},
        {"only too tall", 300 - vw, 201, false, true},
        {"too wide, and the bar makes it too tall", 301, 200 - hh + 1, true, true},
        {"too tall, and the bar makes it too wide", 300 - vw + 1, 201, true, true},
        {"both too large", 900, 900, true, true},
    };
    for (const Case& c : cases) {
        // From both bars shown, so that the result does not hang on the state before.
        w->SetHorzRange(5000);
        w->SetVertRange(5000);
        w->FitPagesToView();
        w->SetHorzRange(c.horzRange);
        w->SetVertRange(c.vertRange);
        w->FitPagesToView();
        EXPECT_EQ(w->HorzScrollBar()->Visible(), c.horz) << c.what;
        EXPECT_EQ(w->VertScrollBar()->Visible(), c.vert) << c.what;
        EXPECT_EQ(w->HorzPage(), w->ViewWidth()) << c.what;
        EXPECT_EQ(w->VertPage(), w->ViewHeight()) << c.what;
        EXPECT_EQ(w->ViewWidth(), 300 - (c.vert ? vw : 0)) << c.what;
        EXPECT_EQ(w->ViewHeight(), 200 - (c.horz ? hh : 0)) << c.what;
    }
    // A range that shrinks below the view takes the position back to 0.
    w->SetHorzRange(1000);
    w->FitPagesToView();
    w->SetHorzPosition(500);
    EXPECT_EQ(w->HorzPosition(), 500);
    w->SetHorzRange(100);
    w->FitPagesToView();
    EXPECT_EQ(w->HorzPosition(), 0);
    EXPECT_FALSE(w->HorzScrollBar()->Visible());
}

} // namespace
