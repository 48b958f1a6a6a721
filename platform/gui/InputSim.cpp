// Synthetic Qt input events.
#include "platform/gui/InputSim.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"

namespace gui::sim {

namespace {

Qt::KeyboardModifiers Mods(TShiftState s)
{
    Qt::KeyboardModifiers m;
    if (s.Contains(TShiftStateItem::ssShift)) m |= Qt::ShiftModifier;
    if (s.Contains(TShiftStateItem::ssCtrl)) m |= Qt::ControlModifier;
    if (s.Contains(TShiftStateItem::ssAlt)) m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton QtButton(TMouseButton b)
{
    switch (b) {
    case TMouseButton::mbRight: return Qt::RightButton;
    case TMouseButton::mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

// The widget and point a client point of the control lands on.
QWidget* Target(TControl* c, int& x, int& y)
{
    if (!c->IsWindowed()) {
        x += c->Left();
        y += c->Top();
        return c->Parent() ? ControlAccess::ClientWidget(c->Parent()) : nullptr;
    }
    return ControlAccess::ClientWidget(static_cast<TWinControl*>(c));
}

Qt::MouseButtons gHeld;

QPoint gLastGlobal;

void SendToWidget(QWidget* w, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift);

void SendMouse(TControl* c, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift)
{
    QWidget* w = Target(c, x, y);
    if (!w) return;
    SendToWidget(w, type, button, x, y, shift);
}

void SendToWidget(QWidget* w, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift)
{
    // The innermost widget there gets it (a list's viewport, a combo's text field).
    if (QWidget* inner = w->childAt(x, y)) {
        const QPoint p = inner->mapFrom(w, QPoint(x, y));
        x = p.x();
        y = p.y();
        w = inner;
    }
    // While a button is held and a window has taken the mouse, moves and the
    // release go to that window, as the window system's grab sends them.
    // A graphic control's capture is held by its parent's window.
    TControl* capture = GetCaptureControl();
    if (capture && !capture->IsWindowed()) capture = capture->Parent();
    if (capture && gHeld != Qt::NoButton &&
        (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) && ControlOfWidget(w) != capture) {
        if (QWidget* grab = ControlAccess::ClientWidget(static_cast<TWinControl*>(capture))) {
            const QPoint p = grab->mapFromGlobal(w->mapToGlobal(QPoint(x, y)));
            x = p.x();
            y = p.y();
            w = grab;
        }
    }
    const QPointF local(x, y);
    const QPointF global = w->mapToGlobal(QPoint(x, y));
    gLastGlobal = global.toPoint();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) gHeld |= button;
    if (type == QEvent::MouseButtonRelease) gHeld &= ~Qt::MouseButtons(button);
    QMouseEvent e(type, local, local, global, button, gHeld, Mods(shift));
    QCoreApplication::sendEvent(w, &e);
}

std::u16string KeyText(uint16_t vk, TShiftState shift)
{
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool sh = shift.Contains(TShiftStateItem::ssShift);
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return std::u16string(1, static_cast<char16_t>(vk - 'A' + 1));
        return std::u16string(1, static_cast<char16_t>(sh ? vk : vk + 32));
    }
    if (ctrl) return {};
    if (vk >= '0' && vk <= '9') return std::u16string(1, static_cast<char16_t>(vk));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return std::u16string(1, static_cast<char16_t>('0' + vk - VK_NUMPAD0));
    switch (vk) {
    case VK_RETURN: return u"\r";
    case VK_TAB: return sh ? u"" : u"\t";
    case VK_ESCAPE: return u"\x1b";
    case VK_BACK: return u"\b";
    case VK_SPACE: return u" ";
    case VK_DECIMAL: case VK_OEM_PERIOD: return u".";
    case VK_OEM_COMMA: return u",";
    case VK_OEM_MINUS: case VK_SUBTRACT: return u"-";
    case VK_ADD: return u"+";
    default: return {};
    }
}

// The desktop's own modal dialog (file, print, message box) running its
// loop, or nullptr while one of the program's forms is in front.
QWidget* DesktopModalDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Data().top == modal) return nullptr;
    return modal;
}

QWidget* KeyTarget(TWinControl* target)
{
    if (target) return ControlAccess::Widget(target);
    if (QWidget* dialog = DesktopModalDialog()) return dialog->focusWidget() ? dialog->focusWidget() : dialog;
    TCustomForm* f = Screen->ActiveForm();
    if (!f) return QApplication::focusWidget();
    if (TWinControl* c = f->FocusedControl()) return ControlAccess::Widget(c);
    return ControlAccess::ClientWidget(f);
}

void SendKey(QEvent::Type type, uint16_t vk, TShiftState shift, TWinControl* target, const std::u16string& text)
{
    QWidget* w = KeyTarget(target);
    if (!w) return;
    int qk = qtw::QtKeyOf(vk);
    Qt::KeyboardModifiers m = Mods(shift);
    if ((vk >= VK_NUMPAD0 && vk <= VK_DIVIDE)) m |= Qt::KeypadModifier;
    if (vk == VK_TAB && shift.Contains(TShiftStateItem::ssShift)) qk = Qt::Key_Backtab;
    QKeyEvent e(type, qk, m, QString::fromStdU16String(text));
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

void MouseMove(TControl* c, int x, int y, TShiftState shift) { SendMouse(c, QEvent::MouseMove, Qt::NoButton, x, y, shift); }
void MouseDown(TControl* c, TMouseButton b, int x, int y, TShiftState shift)
{
    SendMouse(c, QEvent::MouseButtonPress, QtButton(b), x, y, shift);
}
void MouseUp(TControl* c, TMouseButton b, int x, int y, TShiftState shift)
{
    SendMouse(c, QEvent::MouseButtonRelease, QtButton(b), x, y, shift);
}

void Click(TControl* c, int x, int y, TMouseButton b)
{
    MouseMove(c, x, y);
    MouseDown(c, b, x, y);
    MouseUp(c, b, x, y);
}

void DblClick(TControl* c, int x, int y)
{
    Click(c, x, y);
    SendMouse(c, QEvent::MouseButtonDblClick, Qt::LeftButton, x, y, {});
    MouseUp(c, TMouseButton::mbLeft, x, y);
}

void MoveTo(TControl* c, int x, int y, int steps, TShiftState shift)
{
    QWidget* dest = Target(c, x, y);
    if (!dest) return;
    const QPoint from = gLastGlobal;
    const QPoint to = dest->mapToGlobal(QPoint(x, y));
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        const QPoint g = from + (to - from) * i / steps;
        // The window under each point gets the move (the capture's when held).
        QWidget* w = i == steps ? dest : QApplication::widgetAt(g);
        if (!w) w = dest;
        const QPoint local = w->mapFromGlobal(g);
        SendToWidget(w, QEvent::MouseMove, Qt::NoButton, local.x(), local.y(), shift);
    }
}

void Wheel(TControl* c, int delta, int x, int y, TShiftState shift)
{
    QWidget* w = Target(c, x, y);
    if (!w) return;
    const QPointF local(x, y);
    const QPointF global = w->mapToGlobal(QPoint(x, y));
    QWheelEvent e(local, global, QPoint(), QPoint(0, delta), gHeld, Mods(shift), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

void KeyDown(uint16_t vk, TShiftState shift, TWinControl* target)
{
    SendKey(QEvent::KeyPress, vk, shift, target, KeyText(vk, shift));
}

void KeyUp(uint16_t vk, TShiftState shift, TWinControl* target)
{
    SendKey(QEvent::KeyRelease, vk, shift, target, KeyText(vk, shift));
}

void KeyPress(uint16_t vk, TShiftState shift, TWinControl* target)
{
    KeyDown(vk, shift, target);
    KeyUp(vk, shift, target);
}

void TypeText(const std::string& text, TWinControl* target)
{
    const QString s = QString::fromStdString(text);
    for (QChar ch : s) {
        QWidget* w = KeyTarget(target);
        if (!w) return;
        int qk = 0;
        const char16_t u = ch.unicode();
        if (u >= 'a' && u <= 'z') qk = Qt::Key_A + (u - 'a');
        else if (u >= 'A' && u <= 'Z') qk = Qt::Key_A + (u - 'A');
        else if (u >= '0' && u <= '9') qk = Qt::Key_0 + (u - '0');
        else if (u == ' ') qk = Qt::Key_Space;
        else qk = u < 0x80 ? int(u) : int(Qt::Key_unknown);
        const Qt::KeyboardModifiers m = (u >= 'A' && u <= 'Z') ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent down(QEvent::KeyPress, qk, m, QString(ch));
        QCoreApplication::sendEvent(w, &down);
        QKeyEvent up(QEvent::KeyRelease, qk, m, QString(ch));
        QCoreApplication::sendEvent(KeyTarget(target), &up);
    }
}

void PostClick(TControl* c, int x, int y)
{
    // Control pointers may die before delivery: go by handle.
    TWinControl* wc = c->IsWindowed() ? static_cast<TWinControl*>(c) : c->Parent();
    if (!c->IsWindowed()) { x += c->Left(); y += c->Top(); }
    const HWND h = wc->Handle();
    QueueInMainThread([h, x, y] {
        if (TWinControl* t = FindControl(h)) Click(t, x, y);
    });
}

void PostKeyPress(uint16_t vk, TShiftState shift)
{
    const auto mask = shift.ToMask();
    QueueInMainThread([vk, mask] { KeyPress(vk, TShiftState::FromMask(mask)); });
}

bool HoverMenuItem(TMenuItem* item)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(w);
        if (!menu || !menu->isVisible()) continue;
        for (QAction* a : menu->actions()) {
            if (reinterpret_cast<TMenuItem*>(a->property("tecItem").value<quintptr>()) != item) continue;
            const QPoint p = menu->actionGeometry(a).center();
            QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(p), QPointF(menu->mapToGlobal(p)), Qt::NoButton,
                          gHeld, Qt::NoModifier);
            QCoreApplication::sendEvent(menu, &e);
            return true;
        }
    }
    return false;
}

bool DropFiles(TWinControl* target, const std::vector<std::string>& files, int x, int y)
{
    QWidget* w = ControlAccess::ClientWidget(target);
    if (!w || !w->acceptDrops()) return false;
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(x, y), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(x, y), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &drop);
    return drop.isAccepted();
}

} // namespace gui::sim
