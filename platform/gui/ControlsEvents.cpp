// Qt events of the controls' widgets turned into messages: paint, mouse,
// wheel, keys and characters, focus, context menu, hints; the widgets of
// the native window kinds; key code mapping.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtBridge.h"

namespace gui {

namespace qtw {
void SetMouseControl(TControl* c);
void NoteKey(uint16_t vk, bool down);

namespace {
thread_local NativeContext* gCurrent = nullptr;
}

NativeContext* CurrentNative() { return gCurrent; }
NativeScope::NativeScope(NativeContext& c) : prev(gCurrent) { gCurrent = &c; }
NativeScope::~NativeScope() { gCurrent = prev; }

LRESULT Deliver(TControl* control, TMessage& m)
{
    control->WindowProc(m);
    return m.Result;
}

TShiftState ShiftFromQt(int modifiers, int buttons)
{
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s.Include(TShiftStateItem::ssShift);
    if (modifiers & Qt::ControlModifier) s.Include(TShiftStateItem::ssCtrl);
    if (modifiers & Qt::AltModifier) s.Include(TShiftStateItem::ssAlt);
    if (buttons & Qt::LeftButton) s.Include(TShiftStateItem::ssLeft);
    if (buttons & Qt::RightButton) s.Include(TShiftStateItem::ssRight);
    if (buttons & Qt::MiddleButton) s.Include(TShiftStateItem::ssMiddle);
    return s;
}

namespace {

struct KeyPair {
    int qt;
    uint16_t vk;
};
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR}, {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT}, {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE}, {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE}, {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END}, {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP}, {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT}, {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Equal, VK_OEM_PLUS}, {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
};

} // namespace

uint16_t VirtualKeyOf(int key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>(VK_NUMPAD0 + (key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
    for (const KeyPair& k : kKeys)
        if (k.qt == key) return k.vk;
    return 0;
}

int QtKeyOf(uint16_t vk)
{
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + (vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return Qt::Key_0 + (vk - VK_NUMPAD0);
    switch (vk) {
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DECIMAL: return Qt::Key_Period;
    case VK_DIVIDE: return Qt::Key_Slash;
    default: break;
    }
    for (const KeyPair& k : kKeys)
        if (k.vk == vk) return k.qt;
    return 0;
}

namespace {

uint32_t MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    uint32_t k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

std::string HintOf(TControl* c)
{
    for (; c; c = c->Parent())
        if (!c->Hint().empty()) return c->Hint();
    return {};
}

// The innermost control under a client point of the window control.
TControl* ControlUnder(TWinControl* c, TPoint p)
{
    TControl* g = c->ControlAtPos(p, true, false);
    return g ? g : c;
}

void TrackMouseControl(TControl* now)
{
    TControl* old = MouseControl();
    if (old == now) return;
    SetMouseControl(now);
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (now && MouseControl() == now) {
        now->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(now));
        Application->SetHint(GetLongHint(HintOf(now)));
    }
}

// Runs one message for a Qt event; true when the event is done with (the
// default handler ran the native handling, or the message was handled).
bool RunMessage(TWinControl* c, IBridge* b, QEvent* e, TMessage& m)
{
    NativeContext ctx;
    ctx.control = c;
    ctx.msg = m.Msg;
    ctx.event = e;
    ctx.bridge = b;
    {
        NativeScope scope(ctx);
        Deliver(c, m);
    }
    // In filter mode the native handling is the inner widget's own: let the
    // event continue when the message reached the default handler.
    if (!b) return !ctx.reachedDefault;
    return true;
}

bool HandleMouse(TWinControl* c, IBridge* b, QMouseEvent* me, QPoint local)
{
    NoteModifiers(me->modifiers(), me->buttons());
    NoteMousePos(me->globalPosition().toPoint().x(), me->globalPosition().toPoint().y());
    const TPoint p{local.x(), local.y()};
    uint32_t msg = 0;
    const Qt::MouseButton btn = me->button();
    switch (me->type()) {
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    case QEvent::MouseButtonPress:
        msg = btn == Qt::RightButton ? WM_RBUTTONDOWN : btn == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        break;
    case QEvent::MouseButtonDblClick:
        msg = btn == Qt::RightButton ? WM_RBUTTONDBLCLK : btn == Qt::MiddleButton ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
        if (!c->ControlStyle().Contains(TControlStyleItem::csDoubleClicks) && !c->ControlAtPos(p, false))
            msg -= 1;   // a second button-down for windows without double clicks
        break;
    case QEvent::MouseButtonRelease:
        msg = btn == Qt::RightButton ? WM_RBUTTONUP : btn == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
        break;
    default: return false;
    }
    if (msg == WM_MOUSEMOVE) TrackMouseControl(ControlUnder(c, p));
    if (SizeMoveMouse(c, me, local)) return true;
    const uint32_t keys = MouseKeys(me->buttons(), me->modifiers());
    TMessage m{msg, keys, MAKELPARAM(p.X, p.Y), 0};
    const bool done = RunMessage(c, b, me, m);
    // Mouse input a control's window took is not handed on to its parent
    // (the parent would take the mouse over and tell this control it was
    // left, or see the press a second time).
    if (b) me->accept();
    if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
        // A right click asks for the context menu, as the window system does.
        if (msg == WM_RBUTTONUP) {
            const QPoint g = me->globalPosition().toPoint();
            TMessage cm{WM_CONTEXTMENU, c->Handle(), MAKELPARAM(g.x(), g.y()), 0};
            Deliver(c, cm);
        }
    }
    return done;
}

bool HandleWheel(TWinControl* c, IBridge* b, QWheelEvent* we)
{
    NoteModifiers(we->modifiers(), we->buttons());
    const int delta = we->angleDelta().y() != 0 ? we->angleDelta().y() : we->angleDelta().x();
    const QPoint g = we->globalPosition().toPoint();
    TMessage m{WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeys(we->buttons(), we->modifiers())), delta),
               MAKELPARAM(g.x(), g.y()), 0};
    return RunMessage(c, b, we, m);
}

bool IsPrintable(const std::u16string& text)
{
    for (char16_t ch : text)
        if (ch < 0x20 || ch == 0x7F) return false;
    return !text.empty();
}

bool HandleKey(TWinControl* c, IBridge* b, QKeyEvent* ke, QWidget* guardWidget)
{
    const bool press = ke->type() == QEvent::KeyPress;
    const bool keypad = ke->modifiers() & Qt::KeypadModifier;
    const uint16_t vk = VirtualKeyOf(ke->key(), keypad);
    NoteModifiers(ke->modifiers(), QGuiApplication::mouseButtons());
    NoteKey(vk, press);
    const bool alt = (ke->modifiers() & Qt::AltModifier) && !(ke->modifiers() & Qt::ControlModifier);
    LPARAM kd = 1;
    if (keypad && vk == VK_DECIMAL) kd |= LPARAM(0x53) << 16;
    if (ke->modifiers() & Qt::AltModifier) kd |= KF_ALTDOWN_BIT;
    if (ke->isAutoRepeat()) kd |= LPARAM(1) << 30;
    if (!press) kd |= KF_UP_BIT | (LPARAM(1) << 30);
    QPointer<QWidget> guard(guardWidget);

    if (!press) {
        if (!vk) return b ? b->NativeEvent(ke) : false;
        TMessage m{alt ? static_cast<uint32_t>(WM_SYSKEYUP) : static_cast<uint32_t>(WM_KEYUP), vk, kd, 0};
        return RunMessage(c, b, ke, m);
    }

    // A key or character goes first to the control as its notification
    // (CN_*: shortcuts and dialog keys may take it), then as the window
    // message with the native handling held back; reachedDefault tells
    // whether the message got through to the default handler.
    enum class Step { Gone, Taken, Handled, Reached };
    auto deliverKey = [&](uint32_t cnMsg, uint32_t wmMsg, WPARAM w, TMessage& m) {
        TMessage cn{cnMsg, w, kd, 0};
        Deliver(c, cn);
        if (!guard) return Step::Gone;
        if (cn.Result != 0) return Step::Taken;
        NativeContext ctx;
        ctx.control = c;
        ctx.msg = wmMsg;
        ctx.event = ke;
        ctx.bridge = b;
        ctx.deferNative = true;
        m = TMessage{wmMsg, w, kd, 0};
        {
            NativeScope scope(ctx);
            Deliver(c, m);
        }
        if (!guard) return Step::Gone;
        return ctx.reachedDefault ? Step::Reached : Step::Handled;
    };

    bool downReached = true;
    if (vk) {
        TMessage m;
        const Step step = alt ? deliverKey(CN_SYSKEYDOWN, WM_SYSKEYDOWN, vk, m) : deliverKey(CN_KEYDOWN, WM_KEYDOWN, vk, m);
        if (step == Step::Gone || step == Step::Taken) return true;
        downReached = step == Step::Reached;
    }
    const std::u16string text = ke->text().toStdU16String();
    std::u16string newText;
    bool charsReached = true;
    bool changed = false;
    for (char16_t ch : text) {
        TMessage m;
        const Step step = alt ? deliverKey(CN_SYSCHAR, WM_SYSCHAR, ch, m) : deliverKey(CN_CHAR, WM_CHAR, ch, m);
        if (step == Step::Gone) return true;
        if (step != Step::Reached) { charsReached = false; changed = true; continue; }
        if (static_cast<char16_t>(m.WParam) != ch) changed = true;
        newText += static_cast<char16_t>(m.WParam);
    }
    // A printable character typed with Alt is the letter of a menu or
    // control; one that nothing took is dropped, never typed into the focused
    // control.  Control characters (Alt+Backspace) keep their native meaning.
    if (alt && IsPrintable(text)) return true;
    const bool wantNative = text.empty() ? downReached : (charsReached || !newText.empty()) && (downReached || IsPrintable(newText));
    if (!wantNative) return true;
    // Windows drawn by the program have no native key handling (Qt's own
    // would move the focus on Tab).
    if (!c->Data().native && b) return true;
    if (changed) {
        if (newText.empty()) return true;
        QKeyEvent ne(ke->type(), ke->key(), ke->modifiers(), QString::fromStdU16String(newText),
                     ke->isAutoRepeat(), static_cast<ushort>(ke->count()));
        if (b) { b->NativeEvent(&ne); return true; }
        if (guardWidget) {
            // An inner widget: hand it the changed key while the filter lets it through.
            auto* f = c->Data().filter.get();
            guardWidget->removeEventFilter(f);
            QCoreApplication::sendEvent(guardWidget, &ne);
            if (guard) guardWidget->installEventFilter(f);
        }
        return true;
    }
    if (b) { b->NativeEvent(ke); return true; }
    return false;
}

// Hands a painter begun on the widget to a canvas and delivers the messages
// with that canvas in WParam; the canvas is given back also on failure.
void DeliverWithCanvas(TWinControl* c, QPainter& p, QWidget* w, TCanvas* cv, std::initializer_list<uint32_t> msgs,
                       const QRegion* clip = nullptr)
{
    qt::AttachPainter(*cv, &p, w->width(), w->height());
    cv->SetWindowOrg(0, 0);
    cv->SetViewportOrg(0, 0);
    cv->SelectClipRgn(nullptr);
    // The canvas clips to what the paint event asks for, so that ClipRect
    // tells a partial repaint what it may skip.
    if (clip && !clip->isEmpty()) cv->Data().clip = *clip;
    try {
        for (uint32_t msg : msgs) {
            TMessage m{msg, reinterpret_cast<WPARAM>(cv), 0, 0};
            Deliver(c, m);
        }
    } catch (...) {
        qt::DetachPainter(*cv);
        throw;
    }
    qt::DetachPainter(*cv);
}

// The window's border band: WM_NCPAINT with a canvas over the whole window,
// after everything inside has painted.
void PaintNonClient(TWinControl* c, QWidget* w)
{
    TWinControl::Impl& d = c->Data();
    if (!d.ncPaint) return;
    if (!d.windowCanvas) d.windowCanvas = std::make_unique<TCanvas>();
    QPainter p(w);
    DeliverWithCanvas(c, p, w, d.windowCanvas.get(), {WM_NCPAINT});
}

void HandlePaint(TWinControl* c, IBridge* b, QEvent* e)
{
    TWinControl::Impl& d = c->Data();
    QWidget* w = b->Widget();
    QPointer<QWidget> guard(w);
    if (d.customPaint) {
        {
            QPainter p(w);
            const QRegion* region = e && e->type() == QEvent::Paint ? &static_cast<QPaintEvent*>(e)->region() : nullptr;
            DeliverWithCanvas(c, p, w, d.paintCanvas.get(), {WM_ERASEBKGND, WM_PAINT}, region);
            PaintOverlay(c, p);
        }
        if (guard) PaintNonClient(c, w);
        return;
    }
    TMessage paint{WM_PAINT, 0, 0, 0};
    RunMessage(c, b, e, paint);
    if (!guard) return;
    if (d.paintOverNative) {
        // The control paints over what the native window drew: WM_PAINT once
        // more, now with a canvas (its graphic children come with it).
        {
            QPainter p(w);
            DeliverWithCanvas(c, p, w, d.paintCanvas.get(), {WM_PAINT});
            if (guard) PaintOverlay(c, p);
        }
        if (guard) PaintNonClient(c, w);
        return;
    }
    bool graphic = false;
    for (int i = 0; i < c->ControlCount(); ++i)
        if (!c->Controls(i)->IsWindowed() && c->Controls(i)->Visible()) graphic = true;
    if (graphic || c->Data().overlay) {
        QPainter p(w);
        ControlAccess::PaintGraphicChildren(c, &p, w->width(), w->height());
        PaintOverlay(c, p);
    }
    if (guard) PaintNonClient(c, w);
}

bool HandleHint(TWinControl* c, QHelpEvent* he)
{
    const TPoint p{he->pos().x(), he->pos().y()};
    TControl* target = ControlUnder(c, p);
    TPoint local = p;
    if (target != c) local = {p.X - target->Left(), p.Y - target->Top()};
    if (!Application->ShowControlHint(target, local)) QToolTip::hideText();
    return true;
}

bool Dispatch(TWinControl* c, IBridge* b, QEvent* e, QWidget* w)
{
    switch (e->type()) {
    case QEvent::Paint:
        if (!b) return false;
        HandlePaint(c, b, e);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        QPoint local = me->position().toPoint();
        if (!b) local = w->mapTo(c->Data().widget, local);
        return HandleMouse(c, b, me, local);
    }
    case QEvent::Wheel:
        return HandleWheel(c, b, static_cast<QWheelEvent*>(e));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return HandleKey(c, b, static_cast<QKeyEvent*>(e), w);
    case QEvent::FocusIn: {
        if (TCustomForm* f = GetParentForm(c))
            if (f != c && f->FocusedControl() != c && c->CanFocus()) f->SetFocusedControl(c);
        return b ? b->NativeEvent(e) : false;
    }
    case QEvent::Leave: {
        TControl* mc = MouseControl();
        if (mc && (mc == c || (!mc->IsWindowed() && mc->Parent() == c))) TrackMouseControl(nullptr);
        return b ? b->NativeEvent(e) : false;
    }
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(e);
        if (ce->reason() == QContextMenuEvent::Mouse) return true;   // sent on the button release
        const QPoint g = ce->globalPos();
        TMessage m{WM_CONTEXTMENU, c->Handle(), MAKELPARAM(g.x(), g.y()), 0};
        Deliver(c, m);
        return true;
    }
    case QEvent::ToolTip:
        return HandleHint(c, static_cast<QHelpEvent*>(e));
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        if (HandleDropEvent(c, e)) return true;
        return b ? b->NativeEvent(e) : false;
    default:
        return b ? b->NativeEvent(e) : false;
    }
}

} // namespace

bool HandleEvent(IBridge* bridge, QEvent* e)
{
    TWinControl* c = bridge->Control;
    try {
        return Dispatch(c, bridge, e, bridge->Widget());
    } catch (...) {
        Application->HandleException(c);
        return true;
    }
}

bool ChildInputFilter::eventFilter(QObject* watched, QEvent* e)
{
    if (!FControl || !watched->isWidgetType()) return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::ContextMenu:
        break;
    default:
        return false;
    }
    try {
        return Dispatch(FControl, nullptr, e, static_cast<QWidget*>(watched));
    } catch (...) {
        Application->HandleException(FControl);
        return true;
    }
}

} // namespace qtw

// ------------------------------------------------------------ window kinds

QWidget* CreateWindowWidget(TWinControl* control, int kind, qtw::IBridge*& bridge)
{
    using K = int;
    QWidget* w = nullptr;
    auto make = [&](auto* widget) {
        bridge = widget;
        w = widget;
    };
    switch (static_cast<K>(kind)) {
    case 2: make(new qtw::Bridge<QLineEdit>()); break;                 // wkEdit
    case 3: {                                                             // wkMemo
        auto* m = new qtw::Bridge<QPlainTextEdit>();
        make(m);
        control->Data().filter = std::make_unique<qtw::ChildInputFilter>(control);
        m->viewport()->installEventFilter(control->Data().filter.get());
        m->viewport()->setMouseTracking(true);
        break;
    }
    case 4: w = CreateComboWidget(control, bridge); break;              // wkComboBox
    case 5: {                                                             // wkListBox
        auto* l = new qtw::Bridge<QListWidget>();
        make(l);
        control->Data().filter = std::make_unique<qtw::ChildInputFilter>(control);
        l->viewport()->installEventFilter(control->Data().filter.get());
        l->viewport()->setMouseTracking(true);
        break;
    }
    case 6: make(new qtw::Bridge<QPushButton>()); break;                // wkButton
    case 7: make(new qtw::Bridge<QCheckBox>()); break;                  // wkCheckBox
    case 8: make(new qtw::Bridge<QRadioButton>()); break;               // wkRadioButton
    case 9: make(new qtw::Bridge<QGroupBox>()); break;                  // wkGroupBox
    case 11: make(new qtw::Bridge<QProgressBar>()); break;              // wkProgressBar
    case 13: make(new qtw::Bridge<QScrollBar>()); break;                // wkScrollBar
    default: {                                                            // drawn by the program
        auto* p = new qtw::Bridge<QWidget>();
        p->setAttribute(Qt::WA_OpaquePaintEvent);
        p->setFocusPolicy(Qt::NoFocus);
        make(p);
        break;
    }
    }
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_Hover, false);
    w->hide();
    return w;
}

QWidget* WidgetOf(const TControl* control)
{
    if (!control) return nullptr;
    if (control->IsWindowed()) return ControlAccess::Widget(static_cast<const TWinControl*>(control));
    return control->Parent() ? ControlAccess::ClientWidget(control->Parent()) : nullptr;
}

TWinControl* ControlOfWidget(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* b = dynamic_cast<qtw::IBridge*>(w))
            if (b->Control) return b->Control;
    return nullptr;
}

void ApplyCursor(QWidget* w, TCursor cursor)
{
    if (!w) return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (cursor) {
    case crDefault: w->unsetCursor(); return;
    case crNone: shape = Qt::BlankCursor; break;
    case crCross: shape = Qt::CrossCursor; break;
    case crIBeam: shape = Qt::IBeamCursor; break;
    case crSizeNESW: shape = Qt::SizeBDiagCursor; break;
    case crSizeNS: case crVSplit: shape = Qt::SizeVerCursor; break;
    case crSizeNWSE: shape = Qt::SizeFDiagCursor; break;
    case crSizeWE: case crHSplit: shape = Qt::SizeHorCursor; break;
    case crUpArrow: shape = Qt::UpArrowCursor; break;
    case crHourGlass: case crSQLWait: shape = Qt::WaitCursor; break;
    case crDrag: case crMultiDrag: shape = Qt::DragMoveCursor; break;
    case crNoDrop: case crNo: shape = Qt::ForbiddenCursor; break;
    case crAppStart: shape = Qt::BusyCursor; break;
    case crHelp: shape = Qt::WhatsThisCursor; break;
    case crHandPoint: shape = Qt::PointingHandCursor; break;
    case crSizeAll: shape = Qt::SizeAllCursor; break;
    default: {
        QCursor own;
        if (LookupScreenCursor(cursor, own)) { w->setCursor(own); return; }
        break;
    }
    }
    w->setCursor(QCursor(shape));
}

} // namespace gui
