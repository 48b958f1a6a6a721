// The window system's move/size loop for child windows, driven by hit-test
// codes: a press where WM_NCHITTEST answers HTCAPTION, HTRIGHT, HTBOTTOM or
// HTBOTTOMRIGHT takes the mouse and moves or sizes the window until the
// button is let go (WM_ENTERSIZEMOVE, WM_MOVING / WM_SIZING with the
// proposed rectangle in screen coordinates, WM_EXITSIZEMOVE).  While the
// mouse hovers such a band the window gets no WM_MOUSEMOVE and shows the
// matching sizing cursor.  Also the redraw switch (WM_SETREDRAW) and the
// pause of step animations.
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StepPause.h"

namespace gui {

namespace qtw {

namespace {

struct SizeMoveLoop {
    QPointer<QWidget> widget;
    HWND handle = 0;
    int hit = HTNOWHERE;
    TPoint startScreen;
    TRect startScreenRect;   // the window's rectangle in screen coordinates at the press
    HWND cursorWindow = 0;   // the window showing a sizing cursor
};
SizeMoveLoop gLoop;

bool IsLoopCode(int code)
{
    return code == HTCAPTION || code == HTRIGHT || code == HTBOTTOM || code == HTBOTTOMRIGHT;
}

TCursor CursorOfCode(int code)
{
    switch (code) {
    case HTRIGHT: return crSizeWE;
    case HTBOTTOM: return crSizeNS;
    case HTBOTTOMRIGHT: return crSizeNWSE;
    default: return crDefault;
    }
}

int HitTest(TWinControl* c, TPoint screen)
{
    return static_cast<int>(c->Perform(WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)));
}

TRect ScreenRectOf(TWinControl* c)
{
    const TPoint o = c->Parent() ? c->Parent()->ClientToScreen({c->Left(), c->Top()}) : TPoint{c->Left(), c->Top()};
    return {o.X, o.Y, o.X + c->Width(), o.Y + c->Height()};
}

void EndLoop(TWinControl* c)
{
    gLoop.widget.clear();
    gLoop.handle = 0;
    if (GetCaptureControl() == c) SetCaptureControl(nullptr);
    TMessage exit{WM_EXITSIZEMOVE, 0, 0, 0};
    c->WindowProc(exit);
}

} // namespace

bool SizeMoveMouse(TWinControl* c, QMouseEvent* me, QPoint local)
{
    if (c->Data().native || dynamic_cast<TCustomForm*>(c)) return false;
    const TPoint screen = c->ClientToScreen({local.x(), local.y()});
    // A window freed during its loop leaves no loop behind.
    if (gLoop.handle != 0 && !FindControl(gLoop.handle)) gLoop.handle = 0;
    const bool inLoop = gLoop.handle != 0 && gLoop.handle == c->Handle();
    switch (me->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (inLoop) return true;
        if (me->button() != Qt::LeftButton || gLoop.handle != 0) return false;
        const HWND h = c->Handle();
        const int code = HitTest(c, screen);
        if (!FindControl(h)) return true;
        if (!IsLoopCode(code)) return false;
        gLoop.widget = c->Data().widget;
        gLoop.handle = h;
        gLoop.hit = code;
        gLoop.startScreen = screen;
        gLoop.startScreenRect = ScreenRectOf(c);
        SetCaptureControl(c);
        TMessage enter{WM_ENTERSIZEMOVE, 0, 0, 0};
        c->WindowProc(enter);
        return true;
    }
    case QEvent::MouseMove: {
        if (!inLoop) {
            if (me->buttons() != Qt::NoButton || gLoop.handle != 0 || GetCaptureControl()) return false;
            // Hover: the hit code picks the cursor; the bands get no mouse move.
            const HWND h = c->Handle();
            const int code = HitTest(c, screen);
            if (!FindControl(h)) return true;
            if (code == HTRIGHT || code == HTBOTTOM || code == HTBOTTOMRIGHT) {
                ApplyCursor(c->Data().widget, CursorOfCode(code));
                gLoop.cursorWindow = h;
                return true;
            }
            // Off the band: the window that showed the sizing cursor gets its own back.
            if (gLoop.cursorWindow) {
                if (TWinControl* shown = FindControl(gLoop.cursorWindow)) ApplyCursor(shown->Data().widget, shown->Cursor());
                gLoop.cursorWindow = 0;
            }
            if (code == HTCAPTION) {
                TMessage sc{WM_SETCURSOR, c->Handle(), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), 0};
                c->WindowProc(sc);
                return true;
            }
            return false;
        }
        const int dx = screen.X - gLoop.startScreen.X, dy = screen.Y - gLoop.startScreen.Y;
        TRect r = gLoop.startScreenRect;
        TMessage m{};
        if (gLoop.hit == HTCAPTION) {
            r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
            m = TMessage{WM_MOVING, WMSZ_NONE, reinterpret_cast<LPARAM>(&r), 0};
        } else {
            WPARAM edge = WMSZ_BOTTOMRIGHT;
            if (gLoop.hit != HTBOTTOM) r.Right += dx;
            if (gLoop.hit != HTRIGHT) r.Bottom += dy;
            if (gLoop.hit == HTRIGHT) edge = WMSZ_RIGHT;
            if (gLoop.hit == HTBOTTOM) edge = WMSZ_BOTTOM;
            // The window's size limits hold before the window is asked.
            const TSizeConstraints& k = *c->Constraints();
            int w = r.Width(), hh = r.Height();
            if (k.MinWidth > 0) w = std::max(w, k.MinWidth);
            if (k.MaxWidth > 0) w = std::min(w, k.MaxWidth);
            if (k.MinHeight > 0) hh = std::max(hh, k.MinHeight);
            if (k.MaxHeight > 0) hh = std::min(hh, k.MaxHeight);
            r.Right = r.Left + std::max(0, w);
            r.Bottom = r.Top + std::max(0, hh);
            m = TMessage{WM_SIZING, edge, reinterpret_cast<LPARAM>(&r), 0};
        }
        const HWND h = c->Handle();
        c->WindowProc(m);
        if (!FindControl(h)) {
            gLoop.handle = 0;
            return true;
        }
        TPoint tl{r.Left, r.Top};
        if (c->Parent()) tl = c->Parent()->ScreenToClient(tl);
        c->SetBounds(tl.X, tl.Y, r.Width(), r.Height());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!inLoop) return false;
        if (me->button() == Qt::LeftButton) EndLoop(c);
        return true;
    default:
        return false;
    }
}

} // namespace qtw

namespace {
std::function<void(int)> gSleepHandler;
}

void ProcessMessagesAndSleep(int milliseconds)
{
    if (Application) Application->ProcessMessages();
    if (gSleepHandler) {
        gSleepHandler(milliseconds);
        return;
    }
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetAnimationSleepHandler(std::function<void(int)> handler) { gSleepHandler = std::move(handler); }

} // namespace gui
