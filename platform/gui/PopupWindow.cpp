#include "platform/gui/PopupWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "platform/gui/ControlsQt.h"

namespace gui {

// Watches the whole program while the popup shows: a press outside it or
// the focus going elsewhere hides it.
struct TPopupWindow::Watch : QObject {
    TPopupWindow* popup;
    QPointer<QWidget> widget;
    QMetaObject::Connection focus;
    explicit Watch(TPopupWindow* p, QWidget* w) : popup(p), widget(w) {}

    bool Inside(QWidget* w) const { return w && widget && (w == widget || widget->isAncestorOf(w)); }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress && widget && widget->isVisible()) {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint g = me->globalPosition().toPoint();
            if (!widget->frameGeometry().contains(g) && !Inside(qobject_cast<QWidget*>(o))) popup->Hide();
        }
        return false;
    }
    void Start()
    {
        qApp->installEventFilter(this);
        focus = QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && !Inside(now) && widget && widget->isVisible()) popup->Hide();
        });
    }
    void Stop()
    {
        qApp->removeEventFilter(this);
        QObject::disconnect(focus);
    }
};

TPopupWindow::TPopupWindow(rtl::TComponent* owner) : TCustomControl(owner)
{
    QWidget* w = ControlAccess::Widget(this);
    w->setParent(nullptr);
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->hide();
    FVisible = false;
    FColor = clWindow;
    FWatch = std::make_unique<Watch>(this, w);
}

TPopupWindow::~TPopupWindow()
{
    if (FWatch) FWatch->Stop();
}

void TPopupWindow::SetVisible(bool visible)
{
    if (FVisible == visible) return;
    TControl::SetVisible(visible);
    QWidget* w = ControlAccess::Widget(this);
    if (visible) {
        w->setGeometry(FLeft, FTop, FWidth, FHeight);
        w->show();
        w->raise();
        FWatch->Start();
    } else {
        FWatch->Stop();
        w->hide();
        if (OnHide) OnHide(this);
    }
}

TPoint TPopupWindow::ClientOrigin() const { return {FLeft + 1, FTop + 1}; }

void TPopupWindow::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    InflateRect(rect, -1, -1);
}

void TPopupWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(clBlack);
    c->FrameRect(Rect(0, 0, Width(), Height()));
}

} // namespace gui
