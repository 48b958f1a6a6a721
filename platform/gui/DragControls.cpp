// The drag of controls: an application event filter follows the mouse and
// the keys while a drag waits for its threshold or runs, and turns them into
// CM_DRAG messages for the control under the pointer.
#include "platform/gui/DragControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"

namespace gui {

namespace {

TPoint gMousePos;
int gThreshold = 5;

struct DragState {
    TControl* source = nullptr;
    bool active = false;
    TPoint start;
    int threshold = 5;
    TDragObject* userObject = nullptr;           // from OnStartDrag, the caller's
    std::unique_ptr<TDragControlObject> own;     // otherwise ours
    TControl* target = nullptr;
    bool accepted = false;
    TCursor savedCursor = crDefault;
};

std::unique_ptr<DragState> gDrag;
// After a right click cancelled a drag its release is kept from the windows
// (it would ask for a context menu).
bool gEatRightRelease = false;
// Pointers to controls the drag is still calling; cleared when one goes away.
std::vector<TControl**> gWatched;

struct Watch {
    TControl*& ref;
    explicit Watch(TControl*& r) : ref(r) { gWatched.push_back(&ref); }
    ~Watch() { gWatched.erase(std::remove(gWatched.begin(), gWatched.end(), &ref), gWatched.end()); }
};

TDragObject* DragObj() { return gDrag->userObject ? gDrag->userObject : gDrag->own.get(); }
rtl::TObject* SourceObj() { return gDrag->userObject ? static_cast<rtl::TObject*>(gDrag->userObject) : gDrag->source; }

bool SendDrag(TControl* c, TDragMessage kind, TPoint screen, rtl::TObject* source)
{
    TDragRec rec;
    rec.Pos = c->ScreenToClient(screen);
    rec.Source = source;
    rec.Target = c;
    c->Perform(CM_DRAG, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(&rec));
    return rec.Accept;
}

// The control that takes a drag at a screen point.
TControl* TargetAt(TPoint screen)
{
    TControl* c = FindDragTarget(screen, false);
    if (!c) return nullptr;
    TDragRec rec;
    rec.Pos = c->ScreenToClient(screen);
    rec.Source = SourceObj();
    rec.Target = c;
    c->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<LPARAM>(&rec));
    return rec.Target;
}

void ShowDragCursor(TPoint screen)
{
    if (!Screen || !gDrag) return;
    TControl* t = gDrag->target;
    const TPoint p = t ? t->ScreenToClient(screen) : screen;
    Screen->SetCursor(DragObj()->GetDragCursor(gDrag->accepted, p.X, p.Y));
}

void MoveTo(TPoint screen)
{
    TDragObject* obj = DragObj();
    obj->DragPos = screen;
    TControl* now = TargetAt(screen);
    Watch w(now);
    if (now != gDrag->target) {
        if (TControl* old = gDrag->target) {
            gDrag->target = nullptr;
            SendDrag(old, dmDragLeave, screen, SourceObj());
            if (!gDrag) return;
        }
        gDrag->target = now;
        gDrag->accepted = now && SendDrag(now, dmDragEnter, screen, SourceObj());
    } else if (now) {
        gDrag->accepted = SendDrag(now, dmDragMove, screen, SourceObj());
    }
    if (!gDrag) return;
    obj->DragTarget = gDrag->target;
    ShowDragCursor(screen);
}

void Activate(TPoint screen)
{
    TControl* source = gDrag->source;
    Watch w(source);
    gDrag->active = true;
    gDrag->savedCursor = Screen ? Screen->Cursor() : crDefault;
    TDragObject* made = nullptr;
    source->DoStartDrag(made);
    if (!gDrag || !source) return;
    gDrag->userObject = made;
    if (!made) gDrag->own = std::make_unique<TDragControlObject>(source);
    // The source keeps the mouse for the whole drag; its press is no click.
    TControlState st = source->ControlState();
    st.Exclude(TControlStateItem::csClicked);
    source->SetControlState(st);
    source->SetMouseCapture(true);
    MoveTo(screen);
}

// Ends the drag; drop on the target when asked and it accepted.
void Finish(bool drop, TPoint screen)
{
    if (!gDrag) return;
    std::unique_ptr<DragState> d = std::move(gDrag);
    if (!d->active) return;
    TControl* source = d->source;
    TControl* target = d->target;
    Watch ws(source);
    Watch wt(target);
    rtl::TObject* srcObj = d->userObject ? static_cast<rtl::TObject*>(d->userObject) : source;
    if (source && source->MouseCapture()) source->SetMouseCapture(false);
    if (Screen) Screen->SetCursor(d->savedCursor);
    const bool dropping = drop && target && d->accepted;
    TPoint p{0, 0};
    if (target) {
        p = target->ScreenToClient(screen);
        SendDrag(target, dmDragLeave, screen, srcObj);
        if (dropping && target) SendDrag(target, dmDragDrop, screen, srcObj);
    }
    if (!dropping || !target) {
        target = nullptr;
        p = source ? source->ScreenToClient(screen) : screen;
    }
    if (source) source->DoEndDrag(target, p.X, p.Y);
}

bool BeyondThreshold(TPoint p)
{
    return std::abs(p.X - gDrag->start.X) >= gDrag->threshold || std::abs(p.Y - gDrag->start.Y) >= gDrag->threshold;
}

class DragFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        if ((!gDrag && !gEatRightRelease) || !obj->isWidgetType()) return false;
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: return Mouse(static_cast<QMouseEvent*>(e));
        case QEvent::KeyPress:
            if (gDrag && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
                const bool active = gDrag->active;
                Finish(false, gMousePos);
                return active;
            }
            return false;
        default: return false;
        }
    }

private:
    static bool Mouse(QMouseEvent* me)
    {
        const QPoint g = me->globalPosition().toPoint();
        const TPoint pos{g.x(), g.y()};
        const QEvent::Type type = me->type();
        if (!gDrag) {
            // Only the release of a right click that cancelled a drag is left.
            if (type == QEvent::MouseButtonRelease && me->button() == Qt::RightButton) {
                gEatRightRelease = false;
                return true;
            }
            return false;
        }
        gMousePos = pos;
        // A menu or drop-down opened by the press takes the mouse: no drag.
        if (!gDrag->active && QApplication::activePopupWidget()) {
            gDrag.reset();
            return false;
        }
        if (type == QEvent::MouseMove) {
            if (!gDrag->active) {
                if (!(me->buttons() & Qt::LeftButton)) {
                    gDrag.reset();   // the release went elsewhere: no drag
                    return false;
                }
                // The source sees no moves while the drag waits (a list
                // would move its selection off the pressed item).
                if (!BeyondThreshold(pos)) return true;
                Activate(pos);
                return true;
            }
            MoveTo(pos);
            return true;
        }
        if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
            if (!gDrag->active) {
                // Moves may come coalesced: a release away from the press
                // still drags to where the button came up.
                if (!BeyondThreshold(pos)) {
                    gDrag.reset();
                    return false;
                }
                Activate(pos);
                if (!gDrag) return true;
            } else {
                MoveTo(pos);
                if (!gDrag) return true;
            }
            Finish(true, pos);
            return true;
        }
        if (type == QEvent::MouseButtonRelease) return gDrag->active;
        // Another press: a right click cancels, any press ends a waiting drag.
        if (!gDrag->active) {
            gDrag.reset();
            return false;
        }
        if (me->button() == Qt::RightButton) {
            gEatRightRelease = true;
            Finish(false, pos);
        }
        return true;
    }
};

QPointer<DragFilter> gFilter;

void EnsureFilter()
{
    if (gFilter || !qApp) return;
    gFilter = new DragFilter(qApp);
    qApp->installEventFilter(gFilter);
}

void Begin(TControl* control, TPoint screen, bool immediate, int threshold)
{
    if (gDrag) return;
    EnsureFilter();
    gDrag = std::make_unique<DragState>();
    gDrag->source = control;
    gDrag->start = screen;
    gDrag->threshold = std::max(1, threshold < 0 ? gThreshold : threshold);
    gMousePos = screen;
    if (immediate) Activate(screen);
}

} // namespace

namespace qtw {
void NoteMousePos(int x, int y) { gMousePos = {x, y}; }
void BeginAutoDrag(TControl* control, TPoint screenPos) { Begin(control, screenPos, false, -1); }
void DragControlGone(TControl* control)
{
    for (TControl** p : gWatched)
        if (*p == control) *p = nullptr;
    if (!gDrag) return;
    if (gDrag->target == control) {
        gDrag->target = nullptr;
        gDrag->accepted = false;
    }
    if (gDrag->source == control) {
        // Nothing is left to drop: the drag ends quietly.
        if (gDrag->active && Screen) Screen->SetCursor(gDrag->savedCursor);
        gDrag.reset();
    }
}
} // namespace qtw

TCursor TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crDrag : crNoDrop; }

TCursor TDragControlObject::GetDragCursor(bool accepted, int, int)
{
    return accepted ? FControl->DragCursor() : crNoDrop;
}

TControl* DragSourceControl() { return gDrag ? gDrag->source : nullptr; }
bool DragActive() { return gDrag && gDrag->active; }
void CancelDrag() { Finish(false, gMousePos); }
int DragThreshold() { return gThreshold; }
void SetDragThreshold(int pixels) { gThreshold = std::max(1, pixels); }

void TControl::BeginDrag(bool immediate, int threshold) { Begin(this, gMousePos, immediate, threshold); }

bool TControl::Dragging() const { return gDrag && gDrag->source == this; }

void TControl::EndDrag(bool drop)
{
    if (Dragging()) Finish(drop, gMousePos);
}

void TControl::DoStartDrag(TDragObject*& dragObject)
{
    if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(rtl::TObject* target, int x, int y)
{
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::CMDrag(TMessage& m)
{
    auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
    if (!rec) return;
    switch (static_cast<TDragMessage>(m.WParam)) {
    case dmDragEnter:
    case dmDragMove:
    case dmDragLeave: {
        const TDragState state = m.WParam == dmDragEnter   ? TDragState::dsDragEnter
                                 : m.WParam == dmDragLeave ? TDragState::dsDragLeave
                                                           : TDragState::dsDragMove;
        bool accept = false;
        DragOver(rec->Source, rec->Pos.X, rec->Pos.Y, state, accept);
        rec->Accept = accept;
        m.Result = accept ? 1 : 0;
        return;
    }
    case dmDragDrop: DragDrop(rec->Source, rec->Pos.X, rec->Pos.Y); return;
    case dmFindTarget: rec->Target = this; m.Result = reinterpret_cast<LRESULT>(this); return;
    default: return;
    }
}

} // namespace gui
