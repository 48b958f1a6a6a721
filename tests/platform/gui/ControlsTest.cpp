// The control tree, messages, forms and the message loop, driven headless
// through synthetic Qt input.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/WindowPixels.h"

using namespace gui;

namespace {

// A windowed control that records what reaches it.
class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Log;
    TColor Fill = clRed;

    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_LBUTTONDOWN) Log.push_back("WM_LBUTTONDOWN");
        if (m.Msg == WM_USER + 7) { m.Result = 42; return; }
        TCustomControl::Dispatch(m);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void Click() override
    {
        Log.push_back("Click");
        TCustomControl::Click();
    }
    void KeyDown(uint16_t& key, TShiftState shift) override
    {
        Log.push_back("KeyDown " + std::to_string(key));
        TCustomControl::KeyDown(key, shift);
    }
    void KeyPress(char16_t& key) override
    {
        Log.push_back("KeyPress " + std::to_string(static_cast<int>(key)));
        TCustomControl::KeyPress(key);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(ClientRect());
    }
};

// A windowless control painted by its parent.
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Clicks = 0;
    void Click() override { ++Clicks; TGraphicControl::Click(); }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

} // namespace

TEST(Controls, MessagesReachHandlersAndVirtualMethods)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    auto* p = new TProbe(&form);
    p->SetParent(&form);
    p->SetBounds(10, 10, 50, 40);
    form.Show();

    EXPECT_EQ(p->Perform(WM_USER + 7), 42);
    sim::Click(p, 5, 6);
    ASSERT_GE(p->Log.size(), 3u);
    EXPECT_EQ(p->Log[0], "WM_LBUTTONDOWN");
    EXPECT_EQ(p->Log[1], "MouseDown 5,6");
    EXPECT_EQ(p->Log.back(), "Click");

    // A release outside the control is no click.
    p->Log.clear();
    sim::MouseDown(p, TMouseButton::mbLeft, 5, 5);
    sim::MouseUp(p, TMouseButton::mbLeft, 80, 80);
    EXPECT_TRUE(std::find(p->Log.begin(), p->Log.end(), "Click") == p->Log.end());
    form.Hide();
}

TEST(Controls, GraphicChildPaintedByParentAndGetsItsMouse)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 100);
    form.SetColor(clWhite);
    auto* spot = new TSpot(&form);
    spot->SetParent(&form);
    spot->SetBounds(20, 30, 10, 10);
    form.Show();
    auto img = form.GetFormImage();
    EXPECT_EQ(img->Canvas()->Pixels(25, 35), clBlue);
    EXPECT_EQ(img->Canvas()->Pixels(5, 5), clWhite);
    EXPECT_EQ(img->Canvas()->Pixels(30, 40), clWhite);   // right and bottom edges excluded
    sim::Click(&form, 22, 32);
    EXPECT_EQ(spot->Clicks, 1);
    sim::Click(&form, 60, 60);
    EXPECT_EQ(spot->Clicks, 1);
    form.Hide();
}

TEST(Controls, TabMovesFocusInTabOrderSkippingWhatCannotTakeIt)
{
    TForm form(nullptr);
    std::vector<TProbe*> p;
    for (int i = 0; i < 4; ++i) {
        auto* c = new TProbe(&form);
        c->SetParent(&form);
        c->SetBounds(10, 10 + i * 30, 50, 20);
        c->SetTabStop(true);
        p.push_back(c);
    }
    p[3]->SetTabOrder(0);         // tab order: 3, 0, 1, 2
    p[1]->SetEnabled(false);      // skipped
    std::vector<std::string> enters;
    for (int i = 0; i < 4; ++i)
        p[i]->OnEnter = [&enters, i](rtl::TObject*) { enters.push_back("enter" + std::to_string(i)); };
    p[0]->OnExit = [&enters](rtl::TObject*) { enters.push_back("exit0"); };
    form.Show();
    EXPECT_EQ(form.ActiveControl(), p[3]);   // the first in tab order
    EXPECT_TRUE(p[3]->Focused());
    sim::KeyPress(VK_TAB);
    EXPECT_TRUE(p[0]->Focused());
    sim::KeyPress(VK_TAB);
    EXPECT_TRUE(p[2]->Focused());
    EXPECT_EQ(Screen->ActiveControl(), p[2]);
    sim::KeyPress(VK_TAB, {TShiftStateItem::ssShift});
    EXPECT_TRUE(p[0]->Focused());
    sim::KeyPress(VK_TAB);
    sim::KeyPress(VK_TAB);
    EXPECT_TRUE(p[3]->Focused());             // wraps round
    EXPECT_EQ(enters, (std::vector<std::string>{"enter3", "enter0", "exit0", "enter2", "enter0", "exit0", "enter2", "enter3"}));
    // Tab is a dialog key: the focused control sees no key message for it.
    EXPECT_TRUE(std::none_of(p[0]->Log.begin(), p[0]->Log.end(), [](const std::string& s) { return s == "KeyDown 9"; }));
    // Other keys reach the focused control as key-down and character messages.
    sim::KeyPress('A');
    EXPECT_EQ(p[3]->Log.back(), "KeyPress 97");
    EXPECT_EQ(p[3]->Log[p[3]->Log.size() - 2], "KeyDown 65");

    EXPECT_THROW(p[1]->SetFocus(), rtl::EInvalidOperation);
    form.Hide();
}

TEST(Controls, OwnedControlsAreFreedWithTheirForm)
{
    auto* form = new TForm(nullptr);
    auto* panel = new TProbe(form);
    panel->SetParent(form);
    auto* inner = new TSpot(form);
    inner->SetParent(panel);
    auto* loose = new TProbe(form);          // owned, never parented
    bool freed[3] = {};
    struct Watch : rtl::TComponent {
        bool* flag;
        Watch(rtl::TComponent* o, bool* f) : rtl::TComponent(o), flag(f) {}
        ~Watch() override { *flag = true; }
    };
    new Watch(panel, &freed[0]);
    new Watch(inner, &freed[1]);
    new Watch(loose, &freed[2]);
    const HWND h = panel->Handle();
    EXPECT_EQ(FindControl(h), panel);
    form->Show();
    delete form;
    EXPECT_TRUE(freed[0] && freed[1] && freed[2]);
    EXPECT_EQ(FindControl(h), nullptr);
    EXPECT_EQ(SendMessage(h, WM_USER + 7), 0);   // a stale handle reaches nobody
}

TEST(Controls, AlignAndAnchorsFollowTheParent)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* top = new TProbe(&form);
    top->SetParent(&form);
    top->SetHeight(30);
    top->SetAlign(TAlign::alTop);
    auto* client = new TProbe(&form);
    client->SetParent(&form);
    client->SetAlign(TAlign::alClient);
    auto* corner = new TProbe(&form);
    corner->SetParent(&form);
    corner->SetBounds(250, 150, 40, 40);
    corner->SetAnchors({TAnchorKind::akRight, TAnchorKind::akBottom});
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 300, 200));
    form.SetBounds(0, 0, 400, 260);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 30));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 400, 260));
    EXPECT_EQ(corner->BoundsRect(), Rect(350, 210, 390, 250));
}

TEST(MessageLoop, IdleRunsWhenTheQueueIsEmptyAndNotWhileMessagesWait)
{
    std::vector<std::string> log;
    HWND h = AllocateHWnd([&](TMessage& m) { log.push_back("msg" + std::to_string(m.WParam)); });
    for (int i = 1; i <= 3; ++i) PostMessage(h, WM_USER + 1, static_cast<WPARAM>(i), 0);
    int idles = 0;
    Application->OnIdle = [&](rtl::TObject*, bool& done) {
        log.push_back("idle");
        if (++idles == 1) PostMessage(h, WM_USER + 1, 4, 0);   // more work arrives
        else Application->Terminate();
        done = true;
    };
    Application->Run();
    Application->OnIdle = nullptr;
    DeallocateHWnd(h);
    EXPECT_EQ(log, (std::vector<std::string>{"msg1", "msg2", "msg3", "idle", "msg4", "idle"}));
}

TEST(MessageLoop, ProcessMessagesInsideALongLoopLetsACancelClickThrough)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* cancel = new TProbe(&form);
    cancel->SetParent(&form);
    cancel->SetBounds(10, 10, 60, 25);
    bool cancelled = false;
    cancel->OnClick = [&](rtl::TObject*) { cancelled = true; };
    form.Show();
    Application->ProcessMessages();

    sim::PostClick(cancel, 5, 5);   // waits in the queue like a real click
    int steps = 0;
    while (!cancelled && steps < 100000) {
        ++steps;                    // a slice of long work
        if (steps % 100 == 0) Application->ProcessMessages();
    }
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(steps, 100);
    form.Hide();
}

TEST(MessageLoop, MessagePostedFromAWorkerThreadArrivesInTheGuiThread)
{
    const std::thread::id gui = std::this_thread::get_id();
    std::thread::id seenIn;
    LPARAM seenParam = 0;
    HWND h = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER + 105) {
            seenIn = std::this_thread::get_id();
            seenParam = m.LParam;
            Application->Terminate();
        }
    });
    std::thread worker([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessage(h, WM_USER + 105, 0, 4096);
    });
    Application->Run();   // sleeps in the loop until the message wakes it
    worker.join();
    DeallocateHWnd(h);
    EXPECT_EQ(seenIn, gui);
    EXPECT_EQ(seenParam, 4096);

    // A synchronised call runs in the GUI thread while the worker waits.
    std::atomic<bool> ran{false};
    std::thread::id ranIn;
    std::thread w2([&] {
        SynchronizeWithMainThread([&] { ranIn = std::this_thread::get_id(); });
        ran = true;
    });
    while (!ran) Application->ProcessMessages();
    w2.join();
    EXPECT_EQ(ranIn, gui);
}

TEST(Controls, DrawingOnAControlOutsidePaintingShowsUntilItIsInvalidated)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 100);
    form.SetColor(clWhite);
    auto* spot = new TSpot(&form);
    spot->SetParent(&form);
    spot->SetBounds(20, 30, 40, 40);
    form.Show();
    Application->ProcessMessages();
    // A chart drawn straight on the canvas in a mouse handler.
    spot->Canvas()->Brush()->SetColor(clYellow);
    spot->Canvas()->FillRect(Rect(5, 5, 15, 15));
    spot->Canvas()->FillRect(Rect(30, 30, 80, 80));   // clipped to the control
    Application->ProcessMessages();
    auto img = form.GetFormImage();
    EXPECT_EQ(img->Canvas()->Pixels(20 + 10, 30 + 10), clYellow);
    EXPECT_EQ(img->Canvas()->Pixels(20 + 2, 30 + 2), clBlue);
    EXPECT_EQ(img->Canvas()->Pixels(20 + 45, 30 + 45), clWhite);
    spot->Invalidate();
    Application->ProcessMessages();
    img = form.GetFormImage();
    EXPECT_EQ(img->Canvas()->Pixels(20 + 10, 30 + 10), clBlue);
    form.Hide();
}

TEST(Controls, UpdatePaintsOnlyThePendingAreasAndAtOnce)
{
    // A probe that counts its paints.
    class TCounting : public TProbe {
    public:
        using TProbe::TProbe;
        int Paints = 0;

    protected:
        void Paint() override
        {
            ++Paints;
            TProbe::Paint();
        }
    };
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    auto* c = new TCounting(&form);
    c->SetParent(&form);
    c->SetBounds(10, 10, 80, 60);
    form.Show();
    Application->ProcessMessages();
    PaintPending(&form);
    auto pixel = [c](int x, int y) { return GrabShownImage(c)->Canvas()->Pixels(x, y); };
    ASSERT_NE(GrabShownImage(c), nullptr);
    EXPECT_EQ(pixel(40, 30), clRed);

    // Only the invalid square takes the new colour, and before Update returns.
    c->Fill = clLime;
    c->InvalidateRect(Rect(20, 20, 30, 30));
    const int before = c->Paints;
    c->Update();
    EXPECT_EQ(c->Paints, before + 1);
    EXPECT_EQ(pixel(25, 25), clLime);
    EXPECT_EQ(pixel(5, 5), clRed);
    EXPECT_EQ(pixel(60, 40), clRed);
    // Nothing pending: nothing painted.
    c->Update();
    EXPECT_EQ(c->Paints, before + 1);
    // Repaint invalidates everything first.
    c->Repaint();
    EXPECT_EQ(c->Paints, before + 2);
    EXPECT_EQ(pixel(5, 5), clLime);
    EXPECT_EQ(pixel(60, 40), clLime);
    form.Hide();
}

namespace {

// The screen's picture of a control shows what lies over it: a sibling on
// top covers it there, until the control comes to the front.
TEST(Controls, ScreenImageShowsWhatLiesOverAControl)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 240, 160);
    auto* below = new TProbe(&form);
    below->SetParent(&form);
    below->SetBounds(10, 10, 100, 80);
    auto* above = new TProbe(&form);
    above->SetParent(&form);
    above->Fill = clBlue;
    above->SetBounds(60, 40, 100, 80);
    form.Show();
    Application->ProcessMessages();
    auto seen = GrabScreenImage(below);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->Width(), 100);
    EXPECT_EQ(seen->Canvas()->Pixels(20, 20), clRed);
    EXPECT_EQ(seen->Canvas()->Pixels(80, 60), clBlue);   // covered by the sibling
    EXPECT_EQ(below->GetImage()->Canvas()->Pixels(80, 60), clRed);   // its own picture
    below->BringToFront();
    Application->ProcessMessages();
    EXPECT_EQ(GrabScreenImage(below)->Canvas()->Pixels(80, 60), clRed);
    EXPECT_EQ(GrabScreenImage(&form)->Canvas()->Pixels(130, 100), clBlue);
    form.Hide();
    EXPECT_EQ(GrabScreenImage(below), nullptr);
}

} // namespace
