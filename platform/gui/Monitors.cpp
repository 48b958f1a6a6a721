#include "platform/gui/Monitors.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/gui/Forms.h"

namespace gui {

namespace {

// The screen under p, else the one whose area is closest to it (nullptr
// without screens).
QScreen* ScreenNearest(const QPoint& p)
{
    QScreen* best = QGuiApplication::screenAt(p);
    if (!best) {
        long long bestDistance = -1;
        for (QScreen* s : QGuiApplication::screens()) {
            const QRect g = s->geometry();
            const long long dx = p.x() < g.left() ? g.left() - p.x() : p.x() > g.right() ? p.x() - g.right() : 0;
            const long long dy = p.y() < g.top() ? g.top() - p.y() : p.y() > g.bottom() ? p.y() - g.bottom() : 0;
            const long long d = dx * dx + dy * dy;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = s;
            }
        }
    }
    return best;
}

} // namespace

TRect WorkAreaNearest(const TControl* control)
{
    TRect fallback = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 1024, 768);
    if (!control || !QGuiApplication::instance()) return fallback;
    TPoint centre = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
    const QPoint p(centre.X, centre.Y);
    QScreen* best = ScreenNearest(p);
    if (!best) return fallback;
    const QRect r = best->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TMonitorArea MonitorFromPoint(TPoint pt)
{
    TMonitorArea fallback;
    fallback.WorkareaRect = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 1024, 768);
    fallback.BoundsRect = Screen ? Bounds(0, 0, Screen->Width(), Screen->Height()) : fallback.WorkareaRect;
    if (!QGuiApplication::instance()) return fallback;
    const QPoint p(pt.X, pt.Y);
    QScreen* best = ScreenNearest(p);
    if (!best) return fallback;
    const QRect g = best->geometry(), w = best->availableGeometry();
    return {Bounds(g.x(), g.y(), g.width(), g.height()), Bounds(w.x(), w.y(), w.width(), w.height())};
}

} // namespace gui
