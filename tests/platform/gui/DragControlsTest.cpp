// Dragging controls inside the program, driven headless with held-button
// moves: automatic drags and their threshold, DragOver states and cursors,
// drops, cancels, manual drags and drag objects, graphic controls and a
// source that goes away.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/DragControls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace gui;

namespace {

std::string StateName(TDragState s)
{
    switch (s) {
    case TDragState::dsDragEnter: return "enter";
    case TDragState::dsDragLeave: return "leave";
    default: return "move";
    }
}

// A form with a source panel and two target panels side by side; every drag
// event is written to the log.
struct Rig {
    TForm form{nullptr};
    TPanel* source;
    TPanel* target;
    TPanel* other;
    std::vector<std::string> log;
    std::vector<TCursor> cursors;  // the screen cursor at each DragOver
    bool accept = true;
    rtl::TObject* endTarget = reinterpret_cast<rtl::TObject*>(1);
    rtl::TObject* droppedSource = nullptr;
    TPoint dropAt{-1, -1};
    int clicks = 0, ups = 0, starts = 0, popups = 0;

    TPanel* Panel(int left)
    {
        auto* p = new TPanel(&form);
        p->SetParent(&form);
        p->SetBounds(left, 10, 80, 60);
        return p;
    }

    void Watch(TPanel* p, const std::string& name)
    {
        p->OnDragOver = [this, name](rtl::TObject*, rtl::TObject*, int, int, TDragState s, bool& a) {
            log.push_back(name + " " + StateName(s));
            cursors.push_back(Screen->Cursor());
            a = accept;
        };
        p->OnDragDrop = [this, name](rtl::TObject*, rtl::TObject* src, int x, int y) {
            log.push_back(name + " drop");
            droppedSource = src;
            dropAt = {x, y};
        };
    }

    Rig()
    {
        form.SetBounds(0, 0, 320, 130);
        source = Panel(10);
        target = Panel(110);
        other = Panel(210);
        Watch(target, "target");
        Watch(other, "other");
        source->SetDragMode(TDragMode::dmAutomatic);
        source->OnClick = [this](rtl::TObject*) { ++clicks; };
        source->OnMouseUp = [this](rtl::TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
        source->OnStartDrag = [this](rtl::TObject*, TDragObject*&) { ++starts; };
        source->OnEndDrag = [this](rtl::TObject*, rtl::TObject* t, int, int) {
            log.push_back("end");
            endTarget = t;
        };
        for (TPanel* p : {source, target, other})
            p->OnContextPopup = [this](rtl::TObject*, TPoint, bool&) { ++popups; };
        form.Show();
        Screen->SetCursor(crDefault);
    }
    ~Rig() { form.Hide(); }
};

} // namespace

TEST(DragControls, AutomaticDragEntersMovesAndDropsOnTheTarget)
{
    Rig r;
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    EXPECT_TRUE(r.source->Dragging());
    EXPECT_FALSE(DragActive());  // waiting for the threshold
    sim::MoveTo(r.target, 30, 25);
    EXPECT_TRUE(DragActive());
    EXPECT_EQ(r.starts, 1);
    sim::MoveTo(r.target, 40, 30, 1);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    EXPECT_EQ(GetCaptureControl(), r.source);
    sim::MouseUp(r.target, TMouseButton::mbLeft, 40, 30);

    ASSERT_GE(r.log.size(), 4u);
    EXPECT_EQ(r.log.front(), "target enter");
    EXPECT_EQ(r.log[1], "target move");
    const std::vector<std::string> tail(r.log.end() - 3, r.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"target leave", "target drop", "end"}));
    EXPECT_EQ(r.droppedSource, r.source);
    EXPECT_EQ(r.dropAt, (TPoint{40, 30}));
    EXPECT_EQ(r.endTarget, r.target);
    // The drag is over: cursor back, capture free, no click or release on the source.
    EXPECT_FALSE(r.source->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(r.clicks, 0);
    EXPECT_EQ(r.ups, 0);
    EXPECT_EQ(r.starts, 1);
}

TEST(DragControls, BelowTheThresholdAPressStaysAClick)
{
    Rig r;
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    int moves = 0;
    r.source->OnMouseMove = [&](rtl::TObject*, TShiftState, int, int) { ++moves; };
    sim::MoveTo(r.source, 22, 23, 2);   // under 5 pixels
    EXPECT_FALSE(DragActive());
    EXPECT_EQ(moves, 0);   // a waiting drag keeps the moves from the source
    sim::MouseUp(r.source, TMouseButton::mbLeft, 22, 23);
    EXPECT_EQ(r.clicks, 1);
    EXPECT_EQ(r.ups, 1);
    EXPECT_EQ(r.starts, 0);
    EXPECT_TRUE(r.log.empty());
    EXPECT_FALSE(r.source->Dragging());

    // A release far away with no move between still drags there.
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    const TPoint over = r.source->ScreenToClient(r.target->ClientToScreen({15, 16}));
    sim::MouseUp(r.source, TMouseButton::mbLeft, over.X, over.Y);
    EXPECT_EQ(r.starts, 1);
    EXPECT_EQ(r.dropAt, (TPoint{15, 16}));
    EXPECT_EQ(r.endTarget, r.target);

    // A larger threshold of a manual drag.
    r.log.clear();
    r.source->SetDragMode(TDragMode::dmManual);
    r.source->OnMouseDown = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { r.source->BeginDrag(false, 30); };
    sim::MouseDown(r.source, TMouseButton::mbLeft, 10, 10);
    sim::MoveTo(r.source, 35, 35, 3);
    EXPECT_FALSE(DragActive());
    sim::MoveTo(r.source, 45, 12, 1);
    EXPECT_TRUE(DragActive());
    r.source->EndDrag(false);
    EXPECT_FALSE(r.source->Dragging());
    sim::MouseUp(r.source, TMouseButton::mbLeft, 45, 12);
}

TEST(DragControls, RefusingTargetsShowNoDropAndEndWithoutATarget)
{
    Rig r;
    r.accept = false;
    r.source->SetDragCursor(crMultiDrag);
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    sim::MoveTo(r.target, 30, 30);
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    r.accept = true;
    sim::MoveTo(r.target, 35, 30, 1);
    EXPECT_EQ(Screen->Cursor(), crMultiDrag);
    // From one target to the next: the first is left, the second entered.
    sim::MoveTo(r.other, 10, 30, 1);
    ASSERT_GE(r.log.size(), 3u);
    EXPECT_EQ(r.log[r.log.size() - 2], "target leave");
    EXPECT_EQ(r.log.back(), "other enter");
    r.accept = false;
    sim::MoveTo(r.other, 12, 30, 1);
    sim::MouseUp(r.other, TMouseButton::mbLeft, 12, 30);
    EXPECT_EQ(r.log.back(), "end");
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "other drop"), 0);
    EXPECT_EQ(r.endTarget, nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST(DragControls, EscapeOrARightClickCancels)
{
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "escape" : "right click");
        Rig r;
        r.form.SetFocus();
        sim::MouseMove(r.source, 20, 20);
        sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
        sim::MoveTo(r.target, 30, 30);
        ASSERT_TRUE(DragActive());
        if (escape) {
            sim::KeyPress(VK_ESCAPE);
        } else {
            sim::MouseDown(r.target, TMouseButton::mbRight, 30, 30);
            sim::MouseUp(r.target, TMouseButton::mbRight, 30, 30);
        }
        EXPECT_FALSE(r.source->Dragging());
        ASSERT_GE(r.log.size(), 2u);
        EXPECT_EQ(r.log[r.log.size() - 2], "target leave");
        EXPECT_EQ(r.log.back(), "end");
        EXPECT_EQ(r.endTarget, nullptr);
        EXPECT_EQ(r.popups, 0);
        EXPECT_EQ(Screen->Cursor(), crDefault);
        // The left release that follows is an ordinary one, no drop.
        sim::MouseUp(r.target, TMouseButton::mbLeft, 30, 30);
        EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "target drop"), 0);
    }
}

TEST(DragControls, ManualDragWithADragObjectOfTheCaller)
{
    Rig r;
    r.source->SetDragMode(TDragMode::dmManual);
    TDragControlObject object(r.source);
    r.source->OnStartDrag = [&](rtl::TObject*, TDragObject*& o) { o = &object; };
    r.source->OnMouseDown = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { r.source->BeginDrag(true); };
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    EXPECT_TRUE(DragActive());
    EXPECT_EQ(DragSourceControl(), r.source);
    sim::MoveTo(r.other, 50, 40);
    EXPECT_EQ(object.DragTarget, r.other);
    // Ended from code: the drop lands where the pointer is.
    r.source->EndDrag(true);
    EXPECT_EQ(r.droppedSource, &object);
    EXPECT_EQ(r.dropAt, (TPoint{50, 40}));
    EXPECT_EQ(r.endTarget, r.other);
    sim::MouseUp(r.other, TMouseButton::mbLeft, 50, 40);
    EXPECT_EQ(r.log.back(), "end");
}

TEST(DragControls, GraphicControlsDragAndTakeDrops)
{
    Rig r;
    auto* box = new TPaintBox(&r.form);
    box->SetParent(r.source);
    box->SetBounds(5, 5, 30, 30);
    box->SetDragMode(TDragMode::dmAutomatic);
    auto* shape = new TShape(&r.form);
    shape->SetParent(r.target);
    shape->SetBounds(40, 20, 30, 30);
    TDragState last = TDragState::dsDragLeave;
    shape->OnDragOver = [&](rtl::TObject*, rtl::TObject* src, int, int, TDragState s, bool& a) {
        last = s;
        a = src == box;
    };
    TPoint dropped{-1, -1};
    shape->OnDragDrop = [&](rtl::TObject*, rtl::TObject*, int x, int y) { dropped = {x, y}; };
    sim::MouseMove(box, 10, 10);
    sim::MouseDown(box, TMouseButton::mbLeft, 10, 10);
    EXPECT_TRUE(box->Dragging());
    sim::MoveTo(shape, 8, 12);
    EXPECT_EQ(last, TDragState::dsDragEnter);
    sim::MoveTo(shape, 10, 12, 1);
    EXPECT_EQ(last, TDragState::dsDragMove);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    sim::MouseUp(shape, TMouseButton::mbLeft, 10, 12);
    EXPECT_EQ(dropped, (TPoint{10, 12}));
    EXPECT_EQ(last, TDragState::dsDragLeave);
    EXPECT_FALSE(box->Dragging());
}

TEST(DragControls, SourceFreedDuringTheDragEndsItQuietly)
{
    Rig r;
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    sim::MoveTo(r.target, 30, 30);
    ASSERT_TRUE(DragActive());
    delete r.source;
    EXPECT_FALSE(DragActive());
    EXPECT_EQ(DragSourceControl(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    sim::MouseUp(r.target, TMouseButton::mbLeft, 30, 30);
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "target drop"), 0);

    // A target freed under the pointer takes nothing.
    auto* src = new TPanel(&r.form);
    src->SetParent(&r.form);
    src->SetBounds(10, 80, 40, 30);
    src->SetDragMode(TDragMode::dmAutomatic);
    rtl::TObject* end = reinterpret_cast<rtl::TObject*>(1);
    src->OnEndDrag = [&](rtl::TObject*, rtl::TObject* t, int, int) { end = t; };
    sim::MouseMove(src, 5, 5);
    sim::MouseDown(src, TMouseButton::mbLeft, 5, 5);
    sim::MoveTo(r.other, 20, 20);
    delete r.other;
    src->EndDrag(true);
    EXPECT_EQ(end, nullptr);
    sim::MouseUp(src, TMouseButton::mbLeft, 5, 5);
}

TEST(DragControls, ListBoxesDragItemsBetweenThem)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* from = new TListBox(&form);
    from->SetParent(&form);
    from->SetBounds(10, 10, 120, 150);
    from->Items()->Add("one");
    from->Items()->Add("two");
    from->SetDragMode(TDragMode::dmAutomatic);
    auto* to = new TListBox(&form);
    to->SetParent(&form);
    to->SetBounds(150, 10, 120, 150);
    to->OnDragOver = [&](rtl::TObject*, rtl::TObject* src, int, int, TDragState, bool& a) { a = src == from; };
    to->OnDragDrop = [&](rtl::TObject*, rtl::TObject* src, int, int) {
        auto* lb = static_cast<TListBox*>(src);
        to->Items()->Add((*lb->Items())[lb->ItemIndex()]);
    };
    form.Show();
    const TRect second = from->ItemRect(1);
    sim::MouseMove(from, 10, second.Top + 2);
    sim::MouseDown(from, TMouseButton::mbLeft, 10, second.Top + 2);
    EXPECT_EQ(from->ItemIndex(), 1);
    sim::MoveTo(to, 20, 20);
    sim::MouseUp(to, TMouseButton::mbLeft, 20, 20);
    ASSERT_EQ(to->Count(), 1);
    EXPECT_EQ((*to->Items())[0], "two");
    form.Hide();
}

namespace {
// A panel that hands drags over it to another control.
class TForwarder : public TPanel {
public:
    using TPanel::TPanel;
    TControl* To = nullptr;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_DRAG && m.WParam == dmFindTarget) {
            reinterpret_cast<TDragRec*>(m.LParam)->Target = To;
            return;
        }
        TPanel::Dispatch(m);
    }
};
} // namespace

TEST(DragControls, AControlHandsTheDropToAnotherThroughFindTarget)
{
    Rig r;
    auto* fwd = new TForwarder(&r.form);
    fwd->SetParent(&r.form);
    fwd->SetBounds(110, 75, 80, 40);
    fwd->To = r.other;
    sim::MouseMove(r.source, 20, 20);
    sim::MouseDown(r.source, TMouseButton::mbLeft, 20, 20);
    sim::MoveTo(fwd, 10, 10);
    EXPECT_EQ(r.log.back(), "other enter");
    sim::MouseUp(fwd, TMouseButton::mbLeft, 10, 10);
    EXPECT_EQ(r.endTarget, r.other);
    // The drop point is in the coordinates of the control that took it.
    EXPECT_EQ(r.dropAt, r.other->ScreenToClient(fwd->ClientToScreen({10, 10})));
}
