// Pop-up windows over Qt: tool windows without frame and focus, shapes as
// widget masks (the window system's input shape where it has one), and a
// screen picture and hit test that honour both.
#include "platform/gui/PopupWindows.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QWidget>

#include <algorithm>

#include <QVariant>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/QtBridge.h"

namespace gui {

namespace {

QWidget* TopOf(const TWinControl* c) { return ControlAccess::Widget(c); }

// The pixels whose centres lie inside the polygon by the winding rule, as
// rows of rectangles: the same set for painting, the mask and hit tests.
QRegion ShapeRegion(const std::vector<TPoint>& shape)
{
    QRegion region;
    if (shape.size() < 3) return region;
    int top = shape[0].Y, bottom = shape[0].Y, left = shape[0].X, right = shape[0].X;
    for (const TPoint& p : shape) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
        left = std::min(left, p.X);
        right = std::max(right, p.X);
    }
    const std::size_t n = shape.size();
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        int runStart = -1;
        for (int x = left; x <= right; ++x) {
            const double cx = x + 0.5;
            int winding = 0;
            for (std::size_t i = 0; i < n && x < right; ++i) {
                const TPoint a = shape[i], b = shape[(i + 1) % n];
                if (a.Y <= cy) {
                    if (b.Y > cy && (b.X - a.X) * (cy - a.Y) - (cx - a.X) * (b.Y - a.Y) > 0) ++winding;
                } else if (b.Y <= cy && (b.X - a.X) * (cy - a.Y) - (cx - a.X) * (b.Y - a.Y) < 0) {
                    --winding;
                }
            }
            const bool in = x < right && winding != 0;
            if (in && runStart < 0) runStart = x;
            if (!in && runStart >= 0) {
                region += QRect(runStart, y, x - runStart, 1);
                runStart = -1;
            }
        }
    }
    return region;
}

// Top-most windows, and the system's pop-ups (menus, a combo box's open
// list), which always show above the rest.
bool TopMost(QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) || w->windowType() == Qt::Popup;
}

// Visible top-level windows, bottom first: ordinary windows, then the
// pop-ups they own, then the top-most ones.
std::vector<QWidget*> Stack()
{
    std::vector<QWidget*> plain, owned, top;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->testAttribute(Qt::WA_DontShowOnScreen)) continue;
        if (TopMost(w)) top.push_back(w);
        else if (w->windowType() == Qt::Tool) owned.push_back(w);
        else plain.push_back(w);
    }
    plain.insert(plain.end(), owned.begin(), owned.end());
    plain.insert(plain.end(), top.begin(), top.end());
    return plain;
}

// The shape and the pop-up mark live on the widget, so they go with it.
constexpr const char* kShape = "tecWindowShape";
constexpr const char* kPopup = "tecPopupWindow";
constexpr const char* kAlpha = "tecWindowAlpha";

void ApplyAlpha(QWidget* w)
{
    const QVariant alpha = w->property(kAlpha);
    if (alpha.isValid() && w->isWindow()) w->setWindowOpacity(alpha.toInt() / 255.0);
}

std::vector<TPoint> ShapeOf(const QWidget* w)
{
    std::vector<TPoint> shape;
    const QPolygon poly = w->property(kShape).value<QPolygon>();
    for (const QPoint& p : poly) shape.push_back({p.x(), p.y()});
    return shape;
}

} // namespace

void SetPopupWindow(TWinControl* control, const TPopupWindowOptions& options)
{
    QWidget* w = TopOf(control);
    if (!w) return;
    QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    const bool visible = control->Visible() && control->Parent();
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if (options.TopMost) flags |= Qt::WindowStaysOnTopHint;
    if (options.MouseTransparent) flags |= Qt::WindowTransparentForInput;
    w->setParent(owner, flags);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setAttribute(Qt::WA_TransparentForMouseEvents, options.MouseTransparent);
    w->setGeometry(control->Left(), control->Top(), control->Width(), control->Height());
    w->setProperty(kPopup, true);
    const std::vector<TPoint> shape = ShapeOf(w);
    if (!shape.empty()) w->setMask(ShapeRegion(shape));
    ApplyAlpha(w);
    w->setVisible(visible);
}

bool IsPopupWindow(const TWinControl* control)
{
    QWidget* w = TopOf(control);
    return w && w->isWindow() && w->property(kPopup).toBool();
}

void SetWindowShape(TWinControl* control, const std::vector<TPoint>& polygon)
{
    QWidget* w = TopOf(control);
    if (!w) return;
    QPolygon poly;
    for (const TPoint& p : polygon) poly << QPoint(p.X, p.Y);
    w->setProperty(kShape, QVariant::fromValue(poly));
    if (polygon.empty()) w->clearMask();
    else w->setMask(ShapeRegion(polygon));
    w->update();
}

void SetWindowAlpha(TWinControl* control, int alpha)
{
    QWidget* w = TopOf(control);
    if (!w) return;
    w->setProperty(kAlpha, std::clamp(alpha, 0, 255));
    ApplyAlpha(w);
}

int WindowAlpha(const TWinControl* control)
{
    QWidget* w = TopOf(control);
    if (!w) return 255;
    if (w->isWindow()) return static_cast<int>(w->windowOpacity() * 255.0 + 0.5);
    const QVariant alpha = w->property(kAlpha);
    return alpha.isValid() ? alpha.toInt() : 255;
}

bool WindowShapeContains(const TWinControl* control, TPoint p)
{
    QWidget* w = TopOf(control);
    const std::vector<TPoint> shape = w ? ShapeOf(w) : std::vector<TPoint>{};
    if (shape.empty()) return p.X >= 0 && p.Y >= 0 && p.X < control->Width() && p.Y < control->Height();
    return ShapeRegion(shape).contains(QPoint(p.X, p.Y));
}

std::unique_ptr<TBitmap> GrabScreen(const TRect& r)
{
    auto bmp = std::make_unique<TBitmap>(std::max(1, r.Width()), std::max(1, r.Height()), TPixelFormat::pf32bit);
    QImage& img = qt::Image(*bmp);
    img.fill(Qt::white);
    QPainter p(&img);
    for (QWidget* w : Stack()) {
        const QRect g = w->frameGeometry();
        const QPoint at(g.left() - r.Left, g.top() - r.Top);
        QRegion clip(0, 0, g.width(), g.height());
        if (!w->mask().isEmpty()) clip = w->mask().translated(w->geometry().topLeft() - g.topLeft());
        QImage layer(g.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            // Rendering a masked widget shifts its mask; the clip below applies it.
            const QRegion mask = w->mask();
            if (!mask.isEmpty()) w->clearMask();
            QPainter lp(&layer);
            w->render(&lp, w->geometry().topLeft() - g.topLeft(), QRegion(), QWidget::DrawChildren);
            if (!mask.isEmpty()) w->setMask(mask);
        }
        p.save();
        p.setClipRegion(clip.translated(at));
        p.drawImage(at, layer);
        p.restore();
    }
    return bmp;
}

TControl* ControlAtScreenPoint(TPoint p)
{
    const std::vector<QWidget*> stack = Stack();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        QWidget* w = *it;
        if (w->windowFlags().testFlag(Qt::WindowTransparentForInput) ||
            w->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        const QPoint local = w->mapFromGlobal(QPoint(p.X, p.Y));
        if (!w->rect().contains(local)) continue;
        if (!w->mask().isEmpty() && !w->mask().contains(local)) continue;
        QWidget* child = w->childAt(local);
        TWinControl* c = ControlOfWidget(child ? child : w);
        if (!c) continue;
        const TPoint cp = c->ScreenToClient(p);
        TControl* g = c->ControlAtPos(cp, true, false);
        return g ? g : c;
    }
    return nullptr;
}

} // namespace gui
