// TWinControl and TCustomControl: the window, children, alignment, focus
// and tab order, key messages, painting of the window and of its graphic
// children; message targets and the thread-safe message queue.
#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtBridge.h"
#include "platform/gui/WindowPixels.h"

namespace gui {

// --------------------------------------------------- handles and the queue

namespace {

struct Target {
    TWinControl* control = nullptr;
    std::function<void(TMessage&)> proc;
};

std::map<HWND, Target>& Targets()
{
    static std::map<HWND, Target> targets;
    return targets;
}
HWND gNextHandle = 0x100;

constexpr QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::User + 0x2B1);
// Posted WM_ENABLE messages have a type of their own, so that they can be
// delivered ahead of the rest (DispatchPostedEnableMessages).
constexpr QEvent::Type kPostedEnable = static_cast<QEvent::Type>(QEvent::User + 0x2B2);

class PostedMessageEvent : public QEvent {
public:
    PostedMessageEvent(HWND h, uint32_t msg, WPARAM w, LPARAM l)
        : QEvent(msg == WM_ENABLE ? kPostedEnable : kPostedMessage), handle(h), message{msg, w, l, 0} {}
    HWND handle;
    TMessage message;
};

// Lives in the GUI thread; receives posted messages and queued calls.
class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == kPostedMessage || e->type() == kPostedEnable) {
            auto* pm = static_cast<PostedMessageEvent*>(e);
            try {
                if (pm->message.Msg == WM_QUIT) {
                    // Terminate has already been noted; the event only wakes the loop.
                } else {
                    SendMessage(pm->handle, pm->message.Msg, pm->message.WParam, pm->message.LParam);
                }
            } catch (...) {
                Application->HandleException(nullptr);
            }
            return true;
        }
        return QObject::event(e);
    }
};

Dispatcher* gDispatcher = nullptr;
std::mutex gDispatcherMutex;

Dispatcher* GetDispatcher()
{
    std::lock_guard<std::mutex> lock(gDispatcherMutex);
    return gDispatcher;
}

} // namespace

void EnsureQtApp()
{
    if (gDispatcher) return;
    qt::EnsureApplication();
    std::lock_guard<std::mutex> lock(gDispatcherMutex);
    if (!gDispatcher) {
        gDispatcher = new Dispatcher();
        gDispatcher->moveToThread(QCoreApplication::instance()->thread());
    }
}

namespace qtw {
HWND RegisterTarget(TWinControl* control, std::function<void(TMessage&)> proc)
{
    const HWND h = gNextHandle++;
    Targets()[h] = Target{control, std::move(proc)};
    return h;
}
void UnregisterTarget(HWND h) { Targets().erase(h); }
} // namespace qtw

TWinControl* FindControl(HWND handle)
{
    auto it = Targets().find(handle);
    return it == Targets().end() ? nullptr : it->second.control;
}

HWND AllocateHWnd(std::function<void(TMessage&)> wndProc)
{
    EnsureQtApp();
    return qtw::RegisterTarget(nullptr, std::move(wndProc));
}

void DeallocateHWnd(HWND handle)
{
    auto it = Targets().find(handle);
    if (it != Targets().end() && !it->second.control) Targets().erase(it);
}

LRESULT SendMessage(HWND handle, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    auto it = Targets().find(handle);
    if (it == Targets().end()) return 0;
    TMessage m{msg, wParam, lParam, 0};
    if (it->second.control) {
        it->second.control->WindowProc(m);
    } else {
        auto proc = it->second.proc;   // the procedure may free its window
        if (proc) proc(m);
    }
    return m.Result;
}

void SendMessageToAllWindows(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    std::vector<HWND> handles;
    for (const auto& [h, target] : Targets()) handles.push_back(h);
    // A window freed by an earlier one's handler is skipped.
    for (HWND h : handles) SendMessage(h, msg, wParam, lParam);
}

bool PostMessage(HWND handle, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    Dispatcher* d = GetDispatcher();
    if (!d) return false;
    QCoreApplication::postEvent(d, new PostedMessageEvent(handle, msg, wParam, lParam));
    return true;
}

void DispatchPostedEnableMessages()
{
    if (Dispatcher* d = GetDispatcher()) QCoreApplication::sendPostedEvents(d, kPostedEnable);
}

namespace qtw {
// Wakes the message loop (Terminate uses it).
void PostWake()
{
    if (Dispatcher* d = GetDispatcher())
        QCoreApplication::postEvent(d, new PostedMessageEvent(0, WM_QUIT, 0, 0));
}
} // namespace qtw

bool IsMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void QueueInMainThread(std::function<void()> fn)
{
    EnsureQtApp();
    QMetaObject::invokeMethod(GetDispatcher(), [fn = std::move(fn)] {
        try {
            fn();
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }, Qt::QueuedConnection);
}

void SynchronizeWithMainThread(const std::function<void()>& fn)
{
    if (IsMainThread()) { fn(); return; }
    EnsureQtApp();
    std::exception_ptr error;
    QMetaObject::invokeMethod(GetDispatcher(), [&] {
        try { fn(); } catch (...) { error = std::current_exception(); }
    }, Qt::BlockingQueuedConnection);
    if (error) std::rethrow_exception(error);
}

bool IsChild(HWND parent, HWND child)
{
    TWinControl* c = FindControl(child);
    for (TWinControl* p = c ? c->Parent() : nullptr; p; p = p->Parent())
        if (p->Handle() == parent) return true;
    return false;
}

bool IsWindow(HWND handle) { return Targets().count(handle) != 0; }

bool IsWindowVisible(HWND handle)
{
    TWinControl* c = FindControl(handle);
    return c && c->Showing();
}

bool IsWindowEnabled(HWND handle)
{
    TWinControl* c = FindControl(handle);
    return c && c->Enabled();
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(rtl::TComponent* owner) : TWinControl(owner, TWindowKind::wkPlain) {}

TWinControl::TWinControl(rtl::TComponent* owner, TWindowKind kind)
    : TControl(owner), FBrush(std::make_unique<TBrush>()), FImpl(std::make_unique<Impl>())
{
    EnsureQtApp();
    FImpl->kind = kind;
    FImpl->customPaint = kind == TWindowKind::wkPlain || kind == TWindowKind::wkForm ||
                         kind == TWindowKind::wkScrollBox;
    FImpl->paintCanvas = std::make_unique<TCanvas>();
    qtw::IBridge* bridge = nullptr;
    QWidget* w = CreateWindowWidget(this, static_cast<int>(kind), bridge);
    FImpl->widget = w;
    FImpl->bridge = bridge;
    FImpl->client = w;
    if (kind != TWindowKind::wkPlain && kind != TWindowKind::wkForm) FImpl->native = w;
    FHandle = qtw::RegisterTarget(this, nullptr);
    FBrush->SetColor(FColor);
    if (bridge) bridge->Control = this;
}

TWinControl::~TWinControl()
{
    Destroying();
    if (TCustomForm* f = GetParentForm()) {
        if (f != this) f->DefocusControl(this, true);
    }
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    if (FParent) FParent->RemoveControl(this);
    qtw::UnregisterTarget(FHandle);
    FHandle = 0;
    if (FImpl->bridge) FImpl->bridge->Control = nullptr;
    if (FImpl->filter) FImpl->filter->FControl = nullptr;
    QWidget* top = FImpl->top ? FImpl->top : FImpl->widget;
    FImpl->widget = nullptr;
    FImpl->client = nullptr;
    delete top;
}

void TWinControl::RecreateWnd() { Invalidate(); }

void TWinControl::SetPaintOverNative(bool value)
{
    if (FImpl->paintOverNative == value) return;
    FImpl->paintOverNative = value;
    Invalidate();
}

void TWinControl::SetCtl3D(bool v)
{
    if (FCtl3D == v) return;
    FCtl3D = v;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetNonClientPaint(bool value)
{
    if (FImpl->ncPaint == value) return;
    FImpl->ncPaint = value;
    Invalidate();
}

int GetSystemMetrics(int index)
{
    EnsureQtApp();
    QStyle* style = QApplication::style();
    switch (index) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return style->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case 7:   // SM_CXDLGFRAME, SM_CYDLGFRAME: a dialog's frame
    case 8: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    default: return 0;
    }
}

bool TWinControl::Showing() const
{
    if (!FVisible) return false;
    return FParent && FParent->Showing();
}

void TWinControl::SetVisible(bool visible)
{
    if (FVisible == visible) return;
    TControl::SetVisible(visible);
    if (FParent && FImpl->widget) FImpl->widget->setVisible(visible);
    if (!visible) {
        if (TCustomForm* f = GetParentForm())
            if (f != this) f->DefocusControl(this, false);
    }
}

void TWinControl::SetEnabled(bool enabled)
{
    if (FEnabled == enabled) return;
    if (FImpl->widget) FImpl->widget->setEnabled(enabled);
    TControl::SetEnabled(enabled);
    if (!enabled) {
        if (TCustomForm* f = GetParentForm())
            if (f != this) f->DefocusControl(this, false);
    }
}

TPoint TWinControl::ClientOrigin() const
{
    if (!FImpl->client) return TControl::ClientOrigin();
    const QPoint p = FImpl->client->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

void TWinControl::BoundsChanged()
{
    if (FImpl->widget && !FImpl->top) FImpl->widget->setGeometry(FLeft, FTop, FWidth, FHeight);
    Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
}

void TWinControl::SetTextBuf(const std::string& s) { TControl::SetTextBuf(s); }
std::string TWinControl::GetText() const { return TControl::GetText(); }

void TWinControl::Invalidate()
{
    ClearOverlay(this);
    if (FImpl->widget) FImpl->widget->update();
    if (FImpl->client && FImpl->client != FImpl->widget) FImpl->client->update();
}

void TWinControl::Update()
{
    // Only the invalid areas are painted (of the whole window, as one
    // paint pass); Repaint invalidates everything first.
    if (!Showing() || !FImpl->client) return;
    PaintPending(this);
}

void TWinControl::ScrollBy(int dx, int dy)
{
    for (TControl* c : FControls) {
        FAligning = true;
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
        FAligning = false;
    }
    Invalidate();
}

// -- children

void TWinControl::InsertControl(TControl* control)
{
    // The child list is about to change.
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    control->FParent = this;
    FControls.push_back(control);
    if (control->IsWindowed()) {
        auto* wc = static_cast<TWinControl*>(control);
        FTabList.push_back(wc);
        QWidget* w = wc->FImpl->widget;
        w->setParent(FImpl->client);
        w->setGeometry(control->Left(), control->Top(), control->Width(), control->Height());
        w->setVisible(control->Visible());
    } else if (FImpl->client) {
        FImpl->client->update(QRect(control->Left(), control->Top(), control->Width(), control->Height()));
    }
    const TRect pc = ClientRect();
    control->FAnchorOrigW = pc.Width();
    control->FAnchorOrigH = pc.Height();
    control->FAnchorRect = control->BoundsRect();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->Align() != TAlign::alNone) DoAlign(control);
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    if (TCustomForm* f = GetParentForm())
        if (control->IsWindowed()) f->DefocusControl(static_cast<TWinControl*>(control), true);
    FControls.erase(it);
    if (control->IsWindowed()) {
        auto* wc = static_cast<TWinControl*>(control);
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), wc), FTabList.end());
        if (wc->FImpl->widget && !IsDestroying()) {
            wc->FImpl->widget->hide();
            wc->FImpl->widget->setParent(nullptr);
        }
    } else if (FImpl->client && !IsDestroying()) {
        FImpl->client->update(QRect(control->Left(), control->Top(), control->Width(), control->Height()));
    }
    control->FParent = nullptr;
    if (!IsDestroying()) {
        Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
        if (control->Align() != TAlign::alNone) DoAlign(nullptr);
        // The child list has changed.
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    }
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (c->IsWindowed() && !allowWinControls) continue;
        if (!c->BoundsRect().Contains(pos)) continue;
        TPoint local{pos.X - c->Left(), pos.Y - c->Top()};
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.X, local.Y)) != 0) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m)
{
    std::vector<TControl*> list = FControls;
    for (TControl* c : list) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
        c->WindowProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::NotifyControls(uint32_t msg)
{
    TMessage m{msg, 0, 0, 0};
    Broadcast(m);
}

// -- alignment

void TWinControl::DisableAlign() { ++FAlignLevel; }
void TWinControl::EnableAlign()
{
    if (--FAlignLevel == 0) DoAlign(nullptr);
}
void TWinControl::Realign() { DoAlign(nullptr); }

void TWinControl::AdjustClientRect(TRect& rect) { InflateRect(rect, -FBorderWidth, -FBorderWidth); }

void TWinControl::SetBorderWidth(int w)
{
    FBorderWidth = w;
    Realign();
    Invalidate();
}

void TWinControl::DoAlign(TControl* changed)
{
    if (FAlignLevel > 0 || FAligning || IsDestroying()) return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    FAligning = true;
    try {
        AlignControls(changed, r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(TControl* changed, TRect& rect)
{
    const TRect pc = ClientRect();
    // Anchored controls follow the parent's size.
    for (TControl* c : FControls) {
        if (c->Align() != TAlign::alNone || c->FAnchorOrigW < 0) continue;
        const TAnchors& a = c->Anchors();
        if (a == DefaultAnchors()) continue;
        const int dw = pc.Width() - c->FAnchorOrigW, dh = pc.Height() - c->FAnchorOrigH;
        TRect b = c->FAnchorRect;
        if (a.Contains(TAnchorKind::akRight)) {
            if (a.Contains(TAnchorKind::akLeft)) b.Right += dw;
            else OffsetRect(b, dw, 0);
        } else if (!a.Contains(TAnchorKind::akLeft)) {
            OffsetRect(b, dw / 2, 0);
        }
        if (a.Contains(TAnchorKind::akBottom)) {
            if (a.Contains(TAnchorKind::akTop)) b.Bottom += dh;
            else OffsetRect(b, 0, dh);
        } else if (!a.Contains(TAnchorKind::akTop)) {
            OffsetRect(b, 0, dh / 2);
        }
        c->SetBounds(b.Left, b.Top, b.Width(), b.Height());
    }
    auto place = [&](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        auto key = [&](TControl* c) {
            switch (align) {
            case TAlign::alTop: return c->Top();
            case TAlign::alBottom: return -(c->Top() + c->Height());
            case TAlign::alLeft: return c->Left();
            case TAlign::alRight: return -(c->Left() + c->Width());
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
            const int ka = key(a), kb = key(b);
            if (ka != kb) return ka < kb;
            return a == changed && b != changed;
        });
        for (TControl* c : list) {
            int w = c->Width(), h = c->Height();
            switch (align) {
            case TAlign::alTop:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
                rect.Top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
                rect.Bottom -= c->Height();
                break;
            case TAlign::alLeft:
                c->SetBounds(rect.Left, rect.Top, w, rect.Height());
                rect.Left += c->Width();
                break;
            case TAlign::alRight:
                c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
                rect.Right -= c->Width();
                break;
            case TAlign::alClient:
                c->SetBounds(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
                break;
            default:
                break;
            }
        }
    };
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
}

// -- focus and tab order

bool TWinControl::CanFocus() const
{
    TCustomForm* form = GetParentForm();
    if (!form) return FVisible && FEnabled;
    for (const TWinControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return form->Enabled();
}

bool TWinControl::Focused() const
{
    TCustomForm* form = gui::GetParentForm(this);
    if (!form) return false;
    if (form == this) return Screen->ActiveForm() == form && !form->FocusedControl();
    return form->FocusedControl() == this;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm()) {
        if (form == this) {
            form->SetFocusedControl(form);
            return;
        }
        form->FocusControl(this);
    } else if (FImpl->widget) {
        FImpl->widget->setFocus();
    }
}

void TWinControl::SetTabStop(bool value)
{
    if (FTabStop == value) return;
    FTabStop = value;
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    auto& l = FParent->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (!FParent) return;
    auto& l = FParent->FTabList;
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    order = std::clamp(order, 0, static_cast<int>(l.size()));
    l.insert(l.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    do {
        if (goForward) { if (++i == n) i = 0; }
        else { if (i == 0) i = n; --i; }
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        c->SetFocus();
}

void TWinControl::SelectFirst()
{
    TCustomForm* form = GetParentForm();
    if (!form) return;
    TWinControl* c = FindNextControl(nullptr, true, true, false);
    if (!c) c = FindNextControl(nullptr, true, false, false);
    if (c) form->SetActiveControl(c);
}

// -- messages

void TWinControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_CONTEXTMENU && m.LParam != -1) {
        // A graphic child under the point gets the request first.
        const TPoint p = ScreenToClient({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        if (TControl* g = ControlAtPos(p, false)) {
            m.Result = g->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
            if (m.Result != 0) return;
        }
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) {
        // Mouse messages over a graphic child (or held by one) are its own.
        TControl* target = nullptr;
        TControl* cap = GetCaptureControl();
        const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (cap && cap->Parent() == this && !cap->IsWindowed()) target = cap;
        else if (!cap || cap == this) target = ControlAtPos(p, false);
        if (target && !target->IsWindowed()) {
            uint32_t msg = m.Msg;
            if (!target->ControlStyle().Contains(TControlStyleItem::csDoubleClicks)) {
                if (msg == WM_LBUTTONDBLCLK) msg = WM_LBUTTONDOWN;
                else if (msg == WM_RBUTTONDBLCLK) msg = WM_RBUTTONDOWN;
                else if (msg == WM_MBUTTONDBLCLK) msg = WM_MBUTTONDOWN;
            }
            m.Result = target->Perform(msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()));
            return;
        }
    }
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: PaintHandler(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(m); return;
    case CN_CHAR:
    case CN_SYSCHAR:
        // Accelerators: Alt+key always, a plain key when the control takes no
        // characters; then Alt+key opens the menu of that letter.
        m.Result = 0;
        if (m.Msg == CN_SYSCHAR || !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) {
            if (TCustomForm* f = GetParentForm()) {
                if (f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) m.Result = 1;
                else if (m.Msg == CN_SYSCHAR && f->Perform(WM_SYSCOMMAND, SC_KEYMENU, m.WParam) != 0) m.Result = 1;
            }
        }
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(m)) DefaultHandler(m);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (!DoKeyPress(m)) DefaultHandler(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(m)) DefaultHandler(m);
        return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_FOCUSCHANGED: Broadcast(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_CHILDKEY: CMChildKey(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    case CM_FONTCHANGED:
        if (FImpl->widget) FImpl->widget->setFont(qt::MakeFont(*FFont));
        NotifyControls(CM_PARENTFONTCHANGED);
        TControl::Dispatch(m);
        return;
    case CM_COLORCHANGED:
        FBrush->SetColor(FColor);
        NotifyControls(CM_PARENTCOLORCHANGED);
        TControl::Dispatch(m);
        return;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        DefaultHandler(m);
        return;
    case CM_ENABLEDCHANGED:
        TControl::Dispatch(m);
        return;
    default:
        TControl::Dispatch(m);
        return;
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    qtw::NativeContext* ctx = qtw::CurrentNative();
    if (ctx && ctx->control == this && ctx->msg == m.Msg && !ctx->reachedDefault) {
        ctx->reachedDefault = true;
        // Native windows take the focus when clicked, before anything else.
        if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && FImpl->native &&
            (FImpl->native->focusPolicy() & Qt::ClickFocus) && !Focused() && CanFocus()) {
            if (TCustomForm* f = GetParentForm())
                if (f->Visible()) f->SetFocusedControl(this);
        }
        if (!ctx->deferNative && ctx->bridge) ctx->nativeResult = ctx->bridge->NativeEvent(ctx->event);
        return;
    }
    if (m.Msg == WM_SETREDRAW) {
        // Painting suspended (0) or resumed; resuming does not repaint by itself.
        if (FImpl->widget) FImpl->widget->setUpdatesEnabled(m.WParam != 0);
        return;
    }
    if (NativeMessage(m)) return;
    TControl::DefaultHandler(m);
}

bool TWinControl::NativeMessage(TMessage&) { return false; }

void TWinControl::CNKeyDown(TMessage& m)
{
    m.Result = 1;
    // Shortcuts of the form's menu and action lists come first.
    if (TCustomForm* form = GetParentForm()) {
        TMessage km{WM_KEYDOWN, m.WParam, m.LParam, 0};
        if (form->IsShortCut(km)) return;
    }
    if (Application->IsShortCut(m)) return;
    if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
    uint32_t mask = 0;
    switch (m.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, m.WParam, 0) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        if (TCustomForm* form = GetParentForm())
            if (form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) return;
    }
    m.Result = 0;
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
    if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents)) {
        uint16_t key = static_cast<uint16_t>(m.WParam);
        KeyDown(key, KeyDataToShiftState(m.LParam));
        m.WParam = key;
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
    if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents)) {
        char16_t key = static_cast<char16_t>(m.WParam);
        KeyPress(key);
        m.WParam = key;
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
    if (!FControlStyle.Contains(TControlStyleItem::csNoStdEvents)) {
        uint16_t key = static_cast<uint16_t>(m.WParam);
        KeyUp(key, KeyDataToShiftState(m.LParam));
        m.WParam = key;
        if (key == 0) return true;
    }
    return false;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyPress(char16_t& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }
void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }
void TWinControl::CMChildKey(TMessage& m)
{
    if (FParent) m.Result = FParent->Perform(CM_CHILDKEY, m.WParam, m.LParam);
}
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::WMSetFocus(TMessage& m) { DefaultHandler(m); }
void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMSize(TMessage& m)
{
    Realign();
    if (!IsLoading()) Resize();
    DefaultHandler(m);
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (canvas && !FControlStyle.Contains(TControlStyleItem::csOpaque)) {
        canvas->Brush()->SetColor(FColor);
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas->FillRect(ClientRect());
    }
    m.Result = 1;
}

// -- painting

void TWinControl::PaintHandler(TMessage& m)
{
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (canvas) {
        PaintWindow(canvas);
        PaintControls(canvas, FImpl->client ? FImpl->client->width() : FWidth,
                      FImpl->client ? FImpl->client->height() : FHeight);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::PaintWindow(TCanvas*) {}

void TWinControl::PaintControls(TCanvas* canvas, int width, int height)
{
    if (QPainter* p = qt::Painter(*canvas)) ControlAccess::PaintGraphicChildren(this, p, width, height);
}

void ControlAccess::PaintGraphicChildren(TWinControl* parent, QPainter* painter, int w, int h)
{
    std::vector<TControl*> list = parent->FControls;
    for (TControl* c : list) {
        if (c->IsWindowed() || !c->Visible()) continue;
        TCanvas* cv = c->GetCanvas();
        if (!cv) continue;
        const TRect clip{0, 0, c->Width(), c->Height()};
        if (c->Left() >= w || c->Top() >= h || c->Left() + c->Width() <= 0 || c->Top() + c->Height() <= 0)
            continue;
        qt::AttachPainter(*cv, painter, w, h);
        cv->SetWindowOrg(0, 0);
        cv->SetViewportOrg(c->Left(), c->Top());
        cv->SelectClipRgn(nullptr);
        cv->IntersectClipRect(clip);
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(cv), 0);
        } catch (...) {
            cv->SelectClipRgn(nullptr);
            cv->SetViewportOrg(0, 0);
            qt::DetachPainter(*cv);
            throw;
        }
        cv->SelectClipRgn(nullptr);
        cv->SetViewportOrg(0, 0);
        qt::DetachPainter(*cv);
    }
}

void TWinControl::PaintTo(TCanvas* canvas, int x, int y)
{
    std::unique_ptr<TBitmap> img = GetImage();
    canvas->Draw(x, y, img.get());
}

std::unique_ptr<TBitmap> TWinControl::GetImage() { return RenderWidget(FImpl->top ? FImpl->top : FImpl->widget); }

std::unique_ptr<TBitmap> RenderWidget(QWidget* w)
{
    auto bmp = std::make_unique<TBitmap>(std::max(1, w->width()), std::max(1, w->height()),
                                         TPixelFormat::pf32bit);
    QImage& img = qt::Image(*bmp);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        w->render(&p, QPoint(0, 0), QRegion(), QWidget::DrawChildren);
    }
    return bmp;
}

// ------------------------------------------------------------ TCustomControl

TCustomControl::TCustomControl(rtl::TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(TCanvas* canvas)
{
    // The window's own canvas draws with the painter the paint event began.
    if (canvas != FCanvas.get()) {
        QPainter* p = qt::Painter(*canvas);
        qt::AttachPainter(*FCanvas, p, Data().client->width(), Data().client->height());
        // Paint sees the clip of the canvas it paints for (a partial repaint
        // skips what lies outside it); the own canvas keeps its clip after.
        TRegion own, given;
        const bool hadOwn = FCanvas->GetClipRgn(own);
        FCanvas->SelectClipRgn(canvas->GetClipRgn(given) ? &given : nullptr);
        auto restore = [&] {
            FCanvas->SelectClipRgn(hadOwn ? &own : nullptr);
            qt::DetachPainter(*FCanvas);
        };
        try {
            Paint();
        } catch (...) {
            restore();
            throw;
        }
        restore();
        return;
    }
    Paint();
}

} // namespace gui
