// Standard controls: the messages the callers send them, their events,
// and what they paint.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/gui/ActnList.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/FileCtrl.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/StdCtrls.h"
#include "tests/common/TestPaths.h"
#include "tests/platform/gui/GuiTestUtil.h"

using namespace gui;

namespace {

struct Fixture : ::testing::Test {
    TForm form{nullptr};
    void SetUp() override
    {
        form.SetBounds(0, 0, 400, 300);
        form.SetColor(clWhite);
        form.Show();
    }
    void TearDown() override { form.Hide(); }
    template <typename T>
    T* Make(int l, int t, int w, int h)
    {
        auto* c = new T(&form);
        c->SetParent(&form);
        c->SetBounds(l, t, w, h);
        return c;
    }
};

using EditControls = Fixture;
using ListControls = Fixture;
using DrawnControls = Fixture;
using Timers = Fixture;

// An OnDrawItem that paints each item in a colour of its own (selected
// items aqua, the closed combo's field yellow), marks a focused item with a
// fuchsia bar at its left, paints past the item's bottom on purpose, and
// notes the states it was given by item.
struct ItemPainter {
    std::map<int, TOwnerDrawState> states;
    static constexpr TColor kColors[] = {clRed, clLime, clBlue};
    TDrawItemEvent Handler()
    {
        return [this](TWinControl* control, int index, const TRect& r, TOwnerDrawState state) {
            TCanvas* c = control->GetCanvas();
            ASSERT_NE(c, nullptr);
            const bool field = state.Contains(TOwnerDrawStateItem::odComboBoxEdit);
            if (!field) states[index] = state;
            c->Brush()->SetColor(field                                          ? clYellow
                                 : state.Contains(TOwnerDrawStateItem::odSelected) ? clAqua
                                                                                   : kColors[index]);
            c->FillRect(Rect(r.Left, r.Top, r.Right, r.Bottom + 6));
            if (state.Contains(TOwnerDrawStateItem::odFocused) && !field) {
                c->Brush()->SetColor(clFuchsia);
                c->FillRect(Rect(r.Left, r.Top, r.Left + 4, r.Bottom));
            }
        };
    }
    // Makes the list or combo box owner drawn by this painter, with three
    // items 18 pixels high and item 1 current.
    template <class Box, class Style>
    void Attach(Box* box, Style style)
    {
        box->SetStyle(style);
        box->SetItemHeight(18);
        box->OnDrawItem = Handler();
        for (const char* s : {"Umbra", "Penumbra", "Antumbra"}) box->Items()->Add(s);
        box->SetItemIndex(1);
    }
};

} // namespace

TEST_F(EditControls, EditAnswersSelectionAndFormattingRectMessages)
{
    auto* e = Make<TEdit>(10, 10, 150, 24);
    int changes = 0;
    e->OnChange = [&](rtl::TObject*) { ++changes; };
    e->SetText("Greenwich");
    EXPECT_EQ(changes, 1);                     // text set by code reports a change too
    e->Perform(EM_SETSEL, 2, 5);
    EXPECT_EQ(e->SelStart(), 2);
    EXPECT_EQ(e->SelLength(), 3);
    EXPECT_EQ(e->SelText(), "een");
    e->SetSelText("EE");
    EXPECT_EQ(e->Text(), "GrEEwich");
    e->SelectAll();
    EXPECT_EQ(e->SelLength(), 8);

    // The formatting rectangle: EM_SETRECTNP moves the text area, EM_GETRECT reads it back.
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.Width(), 100);
    EXPECT_LE(r.Right, 150);
    const TRect want = Rect(20, 3, 120, 21);
    e->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&want));
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, want);

    // Character positions move right along the text; past the end there is none.
    const LRESULT p0 = e->Perform(EM_POSFROMCHAR, 0);
    const LRESULT p3 = e->Perform(EM_POSFROMCHAR, 3);
    EXPECT_NEAR(GET_X_LPARAM(p0), 20, 3);
    EXPECT_GT(GET_X_LPARAM(p3), GET_X_LPARAM(p0));
    EXPECT_EQ(e->Perform(EM_POSFROMCHAR, 8), -1);
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(e->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(GET_X_LPARAM(p3) + 1, 10)))), 3);

    // Typed keys: KeyPress may change or swallow a character.
    e->SetText("");
    e->SetFocus();
    e->OnKeyPress = [](rtl::TObject*, char16_t& key) {
        if (key == u'x') key = 0;
        else if (key == u'a') key = u'A';
    };
    sim::TypeText("xab");
    EXPECT_EQ(e->Text(), "Ab");
    EXPECT_TRUE(e->Modified());
    int downs = 0;
    e->OnKeyDown = [&](rtl::TObject*, uint16_t& key, TShiftState) { if (key == VK_RETURN) ++downs; };
    sim::KeyPress(VK_RETURN);
    EXPECT_EQ(downs, 1);
    e->SetMaxLength(3);
    sim::TypeText("cdef");
    EXPECT_EQ(e->Text(), "Abc");
}

TEST_F(EditControls, MemoKeepsLinesAndTextInStep)
{
    auto* m = Make<TMemo>(10, 10, 200, 100);
    m->Lines()->Add("first");
    m->Lines()->Add("second");
    EXPECT_EQ(m->Text(), "first\nsecond");
    EXPECT_EQ(m->Perform(EM_GETLINECOUNT), 2);
    EXPECT_EQ(m->Perform(EM_LINEINDEX, 1), 6);
    EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, 8), 1);
    m->SetText("a\nb\nc");
    EXPECT_EQ(m->Lines()->Count(), 3);
    EXPECT_EQ(m->Lines()->Strings(2), "c");
    // Enter stays in the memo; Tab leaves it unless WantTabs.
    EXPECT_TRUE(m->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    EXPECT_FALSE(m->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
    m->SetWantTabs(true);
    EXPECT_TRUE(m->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
}

TEST_F(ListControls, ComboBoxMessagesAndEvents)
{
    auto* cb = Make<TComboBox>(10, 10, 150, 24);
    cb->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* s : {"Solar", "Lunar", "Both"}) cb->Items()->Add(s);
    int changes = 0, drops = 0, closes = 0;
    cb->OnChange = [&](rtl::TObject*) { ++changes; };
    cb->OnDropDown = [&](rtl::TObject*) { ++drops; };
    cb->OnCloseUp = [&](rtl::TObject*) { ++closes; };
    cb->SetItemIndex(1);
    EXPECT_EQ(cb->Text(), "Lunar");
    EXPECT_EQ(changes, 0);                    // setting ItemIndex by code is no change
    EXPECT_EQ(cb->Perform(CB_GETCURSEL), 1);
    EXPECT_EQ(cb->Perform(CB_GETCOUNT), 3);
    char buf[32];
    EXPECT_EQ(cb->Perform(CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buf)), 4);
    EXPECT_STREQ(buf, "Both");
    EXPECT_EQ(cb->Perform(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("solar")), 0);

    cb->Perform(CB_SHOWDROPDOWN, 1);
    EXPECT_TRUE(cb->DroppedDown());
    EXPECT_EQ(cb->Perform(CB_GETDROPPEDSTATE), 1);
    EXPECT_TRUE(cb->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);   // Enter closes the list
    cb->Perform(CB_SHOWDROPDOWN, 0);
    EXPECT_FALSE(cb->DroppedDown());
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(cb->Perform(CB_SETDROPPEDWIDTH, 300), 300);

    // The user picks with the keyboard: OnChange.
    cb->SetFocus();
    sim::KeyPress(VK_DOWN);
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(changes, 1);

    // Items kept when the list changes; objects per item.
    rtl::TObject marker;
    cb->Items()->SetObjects(0, &marker);
    EXPECT_EQ(cb->Perform(CB_GETITEMDATA, 0), reinterpret_cast<LRESULT>(&marker));
    cb->Items()->Add("Extra");
    EXPECT_EQ(cb->ItemIndex(), 2);
}

TEST_F(ListControls, EditableComboReportsTypingAndSelection)
{
    auto* cb = Make<TComboBox>(10, 10, 150, 24);
    cb->Items()->Add("Mercator");
    cb->Items()->Add("Robinson");
    std::vector<std::string> changes;
    cb->OnChange = [&](rtl::TObject*) { changes.push_back(cb->Text()); };
    cb->SetFocus();
    sim::TypeText("Ro", cb);
    EXPECT_EQ(cb->Text(), "Ro");
    EXPECT_EQ(changes, (std::vector<std::string>{"R", "Ro"}));
    cb->Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, 1));
    EXPECT_EQ(cb->SelLength(), 1);
}

TEST_F(ListControls, ListBoxSelectionClicksAndFileList)
{
    auto* lb = Make<TListBox>(10, 10, 150, 120);
    for (const char* s : {"a", "b", "c"}) lb->Items()->Add(s);
    int clicks = 0;
    lb->OnClick = [&](rtl::TObject*) { ++clicks; };
    lb->SetItemIndex(1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(lb->Perform(LB_GETCURSEL), 1);
    const TRect r = lb->ItemRect(2);
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_EQ(lb->ItemAtPos({r.Left + 3, r.Top + 2}), 2);
    sim::Click(lb, r.Left + 3, r.Top + 2);
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);

    const auto dir = tectest::ScratchDir("gui-filelist");
    for (const char* n : {"b.map", "a.map", "c.png", "notes.txt"}) std::ofstream(dir / n) << "x";
    auto* fl = Make<TFileListBox>(200, 10, 150, 120);
    fl->SetMask("*.map;*.PNG");
    fl->SetDirectory(dir.string());
    EXPECT_EQ(fl->Items()->ToVector(), (std::vector<std::string>{"a.map", "b.map", "c.png"}));
    fl->SetItemIndex(1);
    EXPECT_EQ(fl->FileName(), (dir / "b.map").string());
    std::filesystem::remove_all(dir);
}

// An owner-drawn list box: OnDrawItem paints each item in its place, only
// there, and the current item of the focused list comes selected and focused.
TEST_F(ListControls, OwnerDrawnListBoxItemsArePaintedByOnDrawItem)
{
    auto* lb = Make<TListBox>(10, 10, 150, 120);
    ItemPainter painter;
    painter.Attach(lb, TListBoxStyle::lbOwnerDrawFixed);
    lb->SetFocus();
    Application->ProcessMessages();

    const std::unique_ptr<TBitmap> shot = lb->GetImage();
    const TRect item0 = lb->ItemRect(0), item1 = lb->ItemRect(1), item2 = lb->ItemRect(2);
    EXPECT_EQ(item0.Height(), 18);
    EXPECT_EQ(guitest::ColorExtent(*shot, clRed), item0);
    EXPECT_EQ(guitest::ColorExtent(*shot, clAqua), Rect(item1.Left + 4, item1.Top, item1.Right, item1.Bottom));
    EXPECT_EQ(guitest::ColorExtent(*shot, clFuchsia), Rect(item1.Left, item1.Top, item1.Left + 4, item1.Bottom));
    // The last item's paint past its bottom stays inside the item.
    EXPECT_EQ(guitest::ColorExtent(*shot, clBlue), item2);
    EXPECT_EQ(guitest::ColorExtent(*shot, clLime), TRect{});
    EXPECT_EQ(painter.states[0], TOwnerDrawState{});
    EXPECT_EQ(painter.states[1], (TOwnerDrawState{TOwnerDrawStateItem::odSelected, TOwnerDrawStateItem::odFocused}));
    EXPECT_EQ(painter.states[2], TOwnerDrawState{});

    // Without OnDrawItem the list draws its texts itself.
    lb->OnDrawItem = nullptr;
    lb->Invalidate();
    const std::unique_ptr<TBitmap> plain = lb->GetImage();
    EXPECT_EQ(guitest::ColorExtent(*plain, clRed), TRect{});
    EXPECT_FALSE(guitest::PaintedExtent(*plain, clWhite).IsEmpty());
}

// An owner-drawn combo box: the closed box's field and each row of the
// dropped list are painted by OnDrawItem, the rows ItemHeight high one under
// the other, the current one selected.
TEST_F(ListControls, OwnerDrawnComboItemsArePaintedByOnDrawItem)
{
    auto* cb = Make<TComboBox>(10, 10, 150, 24);
    ItemPainter painter;
    painter.Attach(cb, TComboBoxStyle::csOwnerDrawFixed);
    Application->ProcessMessages();

    const std::unique_ptr<TBitmap> closed = cb->GetImage();
    const TRect field = guitest::ColorExtent(*closed, clYellow);
    EXPECT_GT(field.Width(), 100);
    EXPECT_GT(field.Height(), 10);
    EXPECT_EQ(guitest::ColorExtent(*closed, clRed), TRect{});

    cb->SetDroppedDown(true);
    Application->ProcessMessages();
    const TPoint o = cb->ClientOrigin();
    const std::unique_ptr<TBitmap> shot = GrabScreen(TRect(o.X - 40, o.Y - 100, o.X + 260, o.Y + 200));
    cb->SetDroppedDown(false);
    const TRect row0 = guitest::ColorExtent(*shot, clRed);
    const TRect row1 = guitest::ColorExtent(*shot, clAqua);
    const TRect row2 = guitest::ColorExtent(*shot, clBlue);
    ASSERT_FALSE(row0.IsEmpty());
    EXPECT_EQ(row0.Height(), 18);
    EXPECT_GT(row0.Width(), 100);
    EXPECT_EQ(row1.Top, row0.Bottom);
    EXPECT_EQ(row1.Bottom, row0.Bottom + 18);
    EXPECT_EQ(row2, Rect(row0.Left, row1.Bottom, row0.Right, row1.Bottom + 18));
    EXPECT_EQ(guitest::ColorExtent(*shot, clLime), TRect{});
    EXPECT_TRUE(painter.states[1].Contains(TOwnerDrawStateItem::odSelected));
    EXPECT_FALSE(painter.states[0].Contains(TOwnerDrawStateItem::odSelected));
    EXPECT_FALSE(painter.states[2].Contains(TOwnerDrawStateItem::odSelected));
}

TEST_F(DrawnControls, PanelShapeSpeedButtonAndStatusBarPaint)
{
    auto* panel = Make<TPanel>(10, 10, 120, 80);
    panel->SetColor(clYellow);
    auto* shape = new TShape(&form);
    shape->SetParent(panel);
    shape->SetBounds(20, 20, 40, 40);
    shape->SetShape(TShapeType::stEllipse);
    shape->Brush()->SetColor(clLime);
    auto* sb = Make<TSpeedButton>(150, 10, 30, 30);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);          // transparent colour (bottom-left)
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(Rect(4, 4, 12, 12));
    sb->SetGlyph(&glyph);
    sb->SetFlat(true);
    sb->SetGroupIndex(1);
    sb->SetAllowAllUp(true);
    int clicks = 0;
    sb->OnClick = [&](rtl::TObject*) { ++clicks; };

    auto img = form.GetFormImage();
    TCanvas* c = img->Canvas();
    EXPECT_EQ(c->Pixels(10 + 60, 10 + 8), clYellow);            // panel face
    EXPECT_EQ(c->Pixels(10 + 40, 10 + 40), clLime);             // shape's inside
    EXPECT_EQ(c->Pixels(10, 10), ColorToRGB(clBtnHighlight));   // raised bevel, top-left
    EXPECT_EQ(c->Pixels(150 + 15, 10 + 15), clBlue);            // the glyph
    EXPECT_NE(c->Pixels(150 + 8, 10 + 8), clFuchsia);           // its transparent part

    // A click: press and release over the button; down state in a group.
    sim::MouseDown(sb, TMouseButton::mbLeft, 10, 10);
    sim::MouseUp(sb, TMouseButton::mbLeft, 40, 40);             // released outside: no click
    EXPECT_EQ(clicks, 0);
    sim::Click(sb, 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(sb->Down());
    sim::Click(sb, 10, 10);
    EXPECT_FALSE(sb->Down());
}

TEST_F(DrawnControls, ScrollBoxScrollsItsChildrenByPositionAndWheel)
{
    auto* box = Make<TScrollBox>(10, 10, 200, 150);
    auto* pb = new TPaintBox(&form);
    pb->SetParent(box);
    pb->SetBounds(0, 0, 600, 400);
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->VertScrollBar()->Range(), 400);
    box->VertScrollBar()->SetPosition(100);
    EXPECT_EQ(pb->Top(), -100);
    box->VertScrollBar()->SetPosition(10000);                  // clamped to range - client
    EXPECT_EQ(box->VertScrollBar()->Position(), 400 - box->ClientHeight());
    box->VertScrollBar()->SetPosition(0);
    sim::Wheel(box, -WHEEL_DELTA, 50, 50);
    EXPECT_EQ(box->VertScrollBar()->Position(), 3 * box->VertScrollBar()->Increment());
    // An OnMouseWheel handler that takes the wheel stops the scrolling.
    box->OnMouseWheel = [](rtl::TObject*, TShiftState, int, TPoint, bool& handled) { handled = true; };
    sim::Wheel(box, -WHEEL_DELTA, 50, 50);
    EXPECT_EQ(box->VertScrollBar()->Position(), 3 * box->VertScrollBar()->Increment());
}

// The square between the two scroll bars shows the window colour, not a
// black hole, on screen and in the box's picture.
TEST_F(DrawnControls, ScrollBoxCornerBetweenTheBarsIsInTheWindowColour)
{
    auto* box = Make<TScrollBox>(10, 10, 200, 150);
    auto* pb = new TPaintBox(&form);
    pb->SetParent(box);
    pb->SetBounds(0, 0, 600, 400);
    pb->OnPaint = [pb](rtl::TObject*) {
        pb->Canvas()->Brush()->SetColor(clBlack);
        pb->Canvas()->FillRect(pb->ClientRect());
    };
    ASSERT_TRUE(box->VertScrollBar()->IsScrollBarVisible() && box->HorzScrollBar()->IsScrollBarVisible());
    Application->ProcessMessages();
    const std::unique_ptr<TBitmap> shot = box->GetImage();
    const int cx = box->Width() - box->VertScrollBar()->Size() / 2;
    const int cy = box->Height() - box->HorzScrollBar()->Size() / 2;
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(cx, cy)), ColorToRGB(clBtnFace));
    EXPECT_EQ(shot->Canvas()->Pixels(20, 20), clBlack);   // the content itself
}

// A tool bar too narrow for its buttons continues them on further rows and
// grows by those rows; wide enough again, it is one row at its height.
TEST_F(DrawnControls, ToolBarWrapsButtonsThatDoNotFitAndGrows)
{
    auto* bar = Make<TToolBar>(0, 0, 400, 29);
    bar->SetShowCaptions(true);
    TActionList actions(&form);
    for (const char* caption : {"Clear", "Create list", "Open list", "Save list", "Print", "Add", "Edit", "Delete"}) {
        auto* a = new TAction(&form);
        a->SetCaption(caption);
        a->SetActionList(&actions);
        bar->AddActionButton(a);
        if (std::string(caption) == "Print") bar->AddSeparator();
    }
    form.SetClientWidth(180);
    const int oneRow = 29;
    ASSERT_GT(bar->RowCount(), 1);
    EXPECT_EQ(bar->Height(), oneRow + (bar->RowCount() - 1) * bar->Buttons(0)->Height());
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        const TRect r = bar->Buttons(i)->BoundsRect();
        EXPECT_LE(r.Right, bar->ClientWidth()) << i;
        EXPECT_LE(r.Bottom, bar->ClientHeight()) << i;
    }
    form.SetClientWidth(1000);
    EXPECT_EQ(bar->RowCount(), 1);
    EXPECT_EQ(bar->Height(), oneRow);
}

TEST_F(DrawnControls, PageControlSwitchesPagesAndAsksFirst)
{
    auto* pc = Make<TPageControl>(10, 10, 300, 200);
    TTabSheet* pages[3];
    for (int i = 0; i < 3; ++i) {
        pages[i] = new TTabSheet(&form);
        pages[i]->SetPageControl(pc);
        pages[i]->SetCaption("Page " + std::to_string(i));
    }
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), pages[0]);
    EXPECT_TRUE(pages[0]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    const TRect d = pc->DisplayRect();
    EXPECT_EQ(pages[0]->BoundsRect(), d);
    int changes = 0;
    bool allow = false;
    pc->OnChange = [&](rtl::TObject*) { ++changes; };
    pc->OnChanging = [&](rtl::TObject*, bool& a) { a = allow; };
    pc->SelectNextPage(true);
    EXPECT_EQ(pc->ActivePage(), pages[0]);      // refused
    allow = true;
    pc->SelectNextPage(true);
    EXPECT_EQ(pc->ActivePage(), pages[1]);
    EXPECT_EQ(changes, 1);
    pc->SetActivePageIndex(2);                  // by code: no change event
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pages[2]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    delete pages[2];
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_NE(pc->ActivePage(), nullptr);
}

// The page control paints all of itself: the strip beside the tabs and the
// ring between its frame and the page are in its colour, never left to
// whatever lies beneath (black on a bare X server).
TEST_F(DrawnControls, PageControlPaintsTheStripBesideItsTabsAndAroundThePage)
{
    auto* pc = Make<TPageControl>(10, 10, 300, 200);
    auto* page = new TTabSheet(&form);
    page->SetPageControl(pc);
    page->SetCaption("Page");
    auto* content = Make<TPanel>(0, 0, 10, 10);
    content->SetParent(page);
    content->SetAlign(TAlign::alClient);
    content->SetColor(clWhite);
    Application->ProcessMessages();
    const std::unique_ptr<TBitmap> shot = pc->GetImage();
    const TRect d = pc->DisplayRect();
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(pc->Width() - 20, d.Top / 2)), face);   // beside the tab
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(d.Left - 1, (d.Top + d.Bottom) / 2)), face);   // the ring
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixels(d.Left + 5, d.Top + 5)), ColorToRGB(clWhite));   // the page
}

TEST_F(Timers, ManualClockFiresTimersInOrderAndRestartsOnEnable)
{
    TTimer::UseManualClock(true);
    std::vector<std::string> log;
    TTimer slow(nullptr), fast(nullptr);
    slow.SetInterval(500);
    fast.SetInterval(200);
    slow.OnTimer = [&](rtl::TObject*) { log.push_back("slow@" + std::to_string(TTimer::ClockNow())); };
    fast.OnTimer = [&](rtl::TObject*) { log.push_back("fast@" + std::to_string(TTimer::ClockNow())); };
    const uint64_t t0 = TTimer::ClockNow();
    TTimer::AdvanceClock(650);
    std::vector<std::string> want;
    for (auto [n, t] : {std::pair{"fast", 200}, {"fast", 400}, {"slow", 500}, {"fast", 600}})
        want.push_back(std::string(n) + "@" + std::to_string(t0 + t));
    EXPECT_EQ(log, want);
    // Toggling Enabled starts the interval afresh.
    log.clear();
    slow.SetEnabled(false);
    slow.SetEnabled(true);
    fast.SetEnabled(false);
    TTimer::AdvanceClock(499);
    EXPECT_TRUE(log.empty());
    TTimer::AdvanceClock(1);
    EXPECT_EQ(log.size(), 1u);
    // Window timers send WM_TIMER with their id.
    std::vector<WPARAM> ids;
    HWND h = AllocateHWnd([&](TMessage& m) { if (m.Msg == WM_TIMER) ids.push_back(m.WParam); });
    SetTimer(h, 111, 500);
    SetTimer(h, 999, 10);
    TTimer::AdvanceClock(30);
    KillTimer(h, 999);
    TTimer::AdvanceClock(500);
    EXPECT_EQ(ids, (std::vector<WPARAM>{999, 999, 999, 111}));
    KillTimer(h, 111);
    DeallocateHWnd(h);
    TTimer::UseManualClock(false);
}
