// Window pixels through the toolkit: the widget scroll (which moves the
// backing store's pixels where it can and otherwise repaints the area), a
// synchronous update request, and the backing store's image.
#include "platform/gui/WindowPixels.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/QtBridge.h"

namespace gui {

bool ScrollWindowArea(TWinControl* control, int dx, int dy, const TRect& area)
{
    if (!control || !control->Showing() || area.IsEmpty()) return false;
    QWidget* w = ControlAccess::ClientWidget(control);
    if (!w || !w->isVisible() || !w->updatesEnabled() || control->Data().overlay) return false;
    w->scroll(dx, dy, QRect(area.Left, area.Top, area.Width(), area.Height()));
    return true;
}

void PaintPending(TWinControl* control)
{
    if (!control || !control->Showing()) return;
    QWidget* w = ControlAccess::Widget(control);
    if (!w) return;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(w->window(), &request);
}

std::unique_ptr<TBitmap> GrabShownImage(TWinControl* control)
{
    if (!control || !control->Showing()) return nullptr;
    QWidget* w = ControlAccess::Widget(control);
    if (!w) return nullptr;
    QWidget* top = w->window();
    QBackingStore* store = top->backingStore();
    if (!store) return nullptr;
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    const QImage& shown = *static_cast<QImage*>(device);
    const qreal ratio = shown.devicePixelRatio();
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    const QRect part(qRound(at.x() * ratio), qRound(at.y() * ratio), qRound(w->width() * ratio),
                     qRound(w->height() * ratio));
    auto bmp = std::make_unique<TBitmap>(std::max(1, w->width()), std::max(1, w->height()), TPixelFormat::pf32bit);
    QImage& img = qt::Image(*bmp);
    QImage copy = shown.copy(part);
    copy.setDevicePixelRatio(1);
    img = copy.convertToFormat(img.format());
    return bmp;
}

std::unique_ptr<TBitmap> GrabScreenImage(TWinControl* control)
{
    if (!control || !control->Showing()) return nullptr;
    QWidget* w = ControlAccess::Widget(control);
    if (!w) return nullptr;
    QWidget* top = w->window();
    QWindow* window = top->windowHandle();
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) return nullptr;
    // What is pending is painted and handed to the screen first.
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(top, &request);
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    const QPixmap shot = screen->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height());
    if (shot.isNull()) return nullptr;
    auto bmp = std::make_unique<TBitmap>(std::max(1, w->width()), std::max(1, w->height()), TPixelFormat::pf32bit);
    QImage& img = qt::Image(*bmp);
    QImage copy = shot.toImage().scaled(w->width(), w->height());
    img = copy.convertToFormat(img.format());
    return bmp;
}

} // namespace gui
