// TCanvas: surface handling, coordinates, clipping, lines, shapes, pixels and
// pictures.  On raster surfaces lines of width 1 are rasterised here so that
// the end point is left out and the pixels are exactly the classic ones.

#include "platform/gui/GraphicsQt.h"

#include <QPaintEngine>
#include <QPainterPath>

#include <cmath>
#include <cstring>

namespace gui {

// ----------------------------------------------------------- surface state

namespace {

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

bool HasRasterOps(QPainter* p)
{
    return p->paintEngine() && p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

// Applies the logical-to-device mapping and the clip region to the painter.
void ApplyState(TCanvas::Impl& d)
{
    QPainter* p = d.painter;
    const QTransform t = d.Transform();
    p->setWorldTransform(t);
    if (d.clip) {
        p->setClipRegion(t.isScaling() ? t.inverted().map(*d.clip) : d.clip->translated(-d.Offset()));
    } else {
        p->setClipping(false);
    }
}

} // namespace

bool CanvasAccess::Begin(const TCanvas& c)
{
    TCanvas::Impl& d = *c.FImpl;
    if (!d.painter)
        const_cast<TCanvas&>(c).CreateHandle();
    if (!d.painter || !d.painter->isActive())
        return false;
    ApplyState(d);
    d.painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

const QFont& CanvasAccess::Font(const TCanvas& c)
{
    TCanvas::Impl& d = *c.FImpl;
    if (!d.fontValid) {
        d.qfont = qt::MakeFont(*c.FFont);
        d.fontValid = true;
    }
    return d.qfont;
}

TCanvas::TCanvas()
    : FImpl(std::make_unique<Impl>()), FFont(std::make_unique<TFont>()),
      FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FFont->OnChange = [this](rtl::TObject*) { FImpl->fontValid = false; };
    // A new brush sets the background the classic way: clear brush means
    // transparent text background, any other the brush colour behind text.
    FBrush->OnChange = [this](rtl::TObject*) {
        FImpl->bkMode = FBrush->Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE;
        FImpl->bkColor = FBrush->Color();
    };
}

TCanvas::~TCanvas() = default;

void TCanvas::FreeHandle()
{
    if (FImpl->ownPainter) {
        if (FImpl->ownPainter->isActive()) FImpl->ownPainter->end();
        FImpl->ownPainter.reset();
    }
    FImpl->painter = nullptr;
    FImpl->image = nullptr;
}

bool TCanvas::HandleAllocated() const { return FImpl->painter != nullptr; }

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() const { return {FImpl->penPos.x(), FImpl->penPos.y()}; }
uint32_t TCanvas::CopyMode() const { return FImpl->copyMode; }
void TCanvas::SetCopyMode(uint32_t mode) { FImpl->copyMode = mode; }

int TCanvas::SetBkMode(int mode)
{
    int old = FImpl->bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE) FImpl->bkMode = mode;
    return old;
}
int TCanvas::BkMode() const { return FImpl->bkMode; }
TColor TCanvas::SetBkColor(TColor color)
{
    TColor old = FImpl->bkColor;
    FImpl->bkColor = color;
    return old;
}
uint32_t TCanvas::SetTextAlign(uint32_t align)
{
    uint32_t old = FImpl->textAlign;
    FImpl->textAlign = align;
    return old;
}
uint32_t TCanvas::TextAlign() const { return FImpl->textAlign; }

// ------------------------------------------------------------ coordinates

TPoint TCanvas::SetWindowOrg(int x, int y)
{
    TPoint old{FImpl->windowOrg.x(), FImpl->windowOrg.y()};
    FImpl->windowOrg = QPoint(x, y);
    return old;
}
TPoint TCanvas::WindowOrg() const { return {FImpl->windowOrg.x(), FImpl->windowOrg.y()}; }
TPoint TCanvas::SetViewportOrg(int x, int y)
{
    TPoint old{FImpl->viewportOrg.x(), FImpl->viewportOrg.y()};
    FImpl->viewportOrg = QPoint(x, y);
    return old;
}
TPoint TCanvas::ViewportOrg() const { return {FImpl->viewportOrg.x(), FImpl->viewportOrg.y()}; }
void TCanvas::MoveWindowOrg(int dx, int dy) { FImpl->windowOrg -= QPoint(dx, dy); }

int TCanvas::SetMapMode(int mode)
{
    const int old = FImpl->mapMode;
    if (mode == MM_TEXT || mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) FImpl->mapMode = mode;
    return old;
}
int TCanvas::MapMode() const { return FImpl->mapMode; }

TSize TCanvas::SetWindowExt(int cx, int cy)
{
    const TSize old{FImpl->windowExt.width(), FImpl->windowExt.height()};
    if (cx != 0 && cy != 0) FImpl->windowExt = QSize(cx, cy);
    return old;
}
TSize TCanvas::SetViewportExt(int cx, int cy)
{
    const TSize old{FImpl->viewportExt.width(), FImpl->viewportExt.height()};
    if (cx != 0 && cy != 0) FImpl->viewportExt = QSize(cx, cy);
    return old;
}

QTransform TCanvas::Impl::Transform() const
{
    double sx = 1, sy = 1;
    if (mapMode != MM_TEXT) {
        sx = double(viewportExt.width()) / windowExt.width();
        sy = double(viewportExt.height()) / windowExt.height();
        if (mapMode == MM_ISOTROPIC) {
            // Units as large on both axes: the smaller scale wins, signs kept.
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
        }
    }
    return QTransform(sx, 0, 0, sy, viewportOrg.x() - windowOrg.x() * sx, viewportOrg.y() - windowOrg.y() * sy);
}

void TCanvas::LPtoDP(TPoint* points, int count) const
{
    const QTransform t = FImpl->Transform();
    for (int i = 0; i < count; ++i) {
        const QPointF p = t.map(QPointF(points[i].X, points[i].Y));
        points[i] = {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
    }
}

void TCanvas::DPtoLP(TPoint* points, int count) const
{
    const QTransform t = FImpl->Transform().inverted();
    for (int i = 0; i < count; ++i) {
        const QPointF p = t.map(QPointF(points[i].X, points[i].Y));
        points[i] = {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
    }
}

int TCanvas::GetDeviceCaps(int index) const
{
    const Impl& d = *FImpl;
    if (!d.painter) const_cast<TCanvas*>(this)->CreateHandle();
    switch (index) {
    case HORZRES: return d.width;
    case VERTRES: return d.height;
    case LOGPIXELSX: return d.dpiX;
    case LOGPIXELSY: return d.dpiY;
    case BITSPIXEL: return d.rasterDevice ? 32 : 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    // Relative pixel width and height: pixels are square here.
    case ASPECTX:
    case ASPECTY: return 36;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
               RC_STRETCHDIB | RC_SCALING;
    case HORZSIZE:
        return d.sizeMmX ? d.sizeMmX : static_cast<int>(std::lround(d.width * 25.4 / d.dpiX));
    case VERTSIZE:
        return d.sizeMmY ? d.sizeMmY : static_cast<int>(std::lround(d.height * 25.4 / d.dpiY));
    case PHYSICALWIDTH: return d.physWidth;
    case PHYSICALHEIGHT: return d.physHeight;
    case PHYSICALOFFSETX: return d.physOffsetX;
    case PHYSICALOFFSETY: return d.physOffsetY;
    default: return 0;
    }
}

// --------------------------------------------------------------- clipping

namespace {

QRegion CurrentClip(const TCanvas::Impl& d)
{
    if (d.clip) return *d.clip;
    return QRegion(0, 0, std::max(d.width, 0), std::max(d.height, 0));
}

} // namespace

TRect TCanvas::ClipRect() const
{
    if (!FImpl->painter) const_cast<TCanvas*>(this)->CreateHandle();
    QRect r = FImpl->Transform().inverted().mapRect(CurrentClip(*FImpl).boundingRect());
    if (r.isEmpty()) return {};
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TCanvas::SelectClipRgn(const TRegion* region)
{
    if (region) FImpl->clip = region->Data().region;
    else FImpl->clip.reset();
}

void TCanvas::ExtSelectClipRgn(const TRegion* region, int mode)
{
    if (mode == RGN_COPY || !region) { SelectClipRgn(region); return; }
    if (!FImpl->painter) CreateHandle();
    QRegion cur = CurrentClip(*FImpl);
    const QRegion& r = region->Data().region;
    switch (mode) {
    case RGN_AND: FImpl->clip = cur.intersected(r); break;
    case RGN_OR: FImpl->clip = cur.united(r); break;
    case RGN_XOR: FImpl->clip = cur.xored(r); break;
    case RGN_DIFF: FImpl->clip = cur.subtracted(r); break;
    default: break;
    }
}

void TCanvas::IntersectClipRect(const TRect& r)
{
    if (!FImpl->painter) CreateHandle();
    FImpl->clip = CurrentClip(*FImpl).intersected(FImpl->Transform().mapRect(ToQRect(r)));
}

void TCanvas::ExcludeClipRect(const TRect& r)
{
    if (!FImpl->painter) CreateHandle();
    FImpl->clip = CurrentClip(*FImpl).subtracted(FImpl->Transform().mapRect(ToQRect(r)));
}

bool TCanvas::GetClipRgn(TRegion& out) const
{
    if (!FImpl->clip) return false;
    out.Data().region = *FImpl->clip;
    return true;
}

int TCanvas::SaveDC()
{
    CanvasSavedState s;
    s.id = FImpl->nextSaveId++;
    s.windowOrg = FImpl->windowOrg;
    s.viewportOrg = FImpl->viewportOrg;
    s.mapMode = FImpl->mapMode;
    s.windowExt = FImpl->windowExt;
    s.viewportExt = FImpl->viewportExt;
    s.clip = FImpl->clip;
    s.bkMode = FImpl->bkMode;
    s.bkColor = FImpl->bkColor;
    s.textAlign = FImpl->textAlign;
    FImpl->saved.push_back(s);
    return s.id;
}

bool TCanvas::RestoreDC(int saved)
{
    auto& stack = FImpl->saved;
    if (stack.empty()) return false;
    std::size_t index;
    if (saved < 0) {
        std::size_t back = static_cast<std::size_t>(-static_cast<long long>(saved));
        if (back > stack.size()) return false;
        index = stack.size() - back;
    } else {
        auto it = std::find_if(stack.begin(), stack.end(),
                               [saved](const CanvasSavedState& s) { return s.id == saved; });
        if (it == stack.end()) return false;
        index = static_cast<std::size_t>(it - stack.begin());
    }
    const CanvasSavedState s = stack[index];
    stack.resize(index);
    FImpl->windowOrg = s.windowOrg;
    FImpl->viewportOrg = s.viewportOrg;
    FImpl->mapMode = s.mapMode;
    FImpl->windowExt = s.windowExt;
    FImpl->viewportExt = s.viewportExt;
    FImpl->clip = s.clip;
    FImpl->bkMode = s.bkMode;
    FImpl->bkColor = s.bkColor;
    FImpl->textAlign = s.textAlign;
    return true;
}

// ------------------------------------------------------------ pen and brush

QPainter::CompositionMode CompositionForPenMode(TPenMode mode, bool& skip)
{
    skip = false;
    switch (mode) {
    case TPenMode::pmNop: skip = true; return QPainter::CompositionMode_SourceOver;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmNotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

namespace {

// The colour the pen draws with (pmBlack and pmWhite override it).
QColor PenColor(const TPen& pen)
{
    if (pen.Mode() == TPenMode::pmBlack) return Qt::black;
    if (pen.Mode() == TPenMode::pmWhite) return Qt::white;
    return ToQColor(pen.Color());
}

// Sets the painter up for the pen's mode; false when the pen draws nothing.
bool UsePenMode(QPainter* p, const TPen& pen)
{
    if (pen.Style() == TPenStyle::psClear) return false;
    bool skip;
    QPainter::CompositionMode mode = CompositionForPenMode(pen.Mode(), skip);
    if (skip) return false;
    if (mode >= QPainter::RasterOp_SourceOrDestination && !HasRasterOps(p))
        mode = QPainter::CompositionMode_SourceOver;
    p->setCompositionMode(mode);
    return true;
}

QPen MakeQPen(const TPen& pen)
{
    QPen q(PenColor(pen));
    q.setWidth(std::max(1, pen.Width()));
    switch (pen.Style()) {
    case TPenStyle::psDash: q.setStyle(Qt::DashLine); break;
    case TPenStyle::psDot: q.setStyle(Qt::DotLine); break;
    case TPenStyle::psDashDot: q.setStyle(Qt::DashDotLine); break;
    case TPenStyle::psDashDotDot: q.setStyle(Qt::DashDotDotLine); break;
    case TPenStyle::psClear: q.setStyle(Qt::NoPen); break;
    default: q.setStyle(Qt::SolidLine); break;
    }
    switch (pen.EndCap()) {
    case TPenEndCap::pecSquare: q.setCapStyle(Qt::SquareCap); break;
    case TPenEndCap::pecFlat: q.setCapStyle(Qt::FlatCap); break;
    default: q.setCapStyle(Qt::RoundCap); break;
    }
    if (!pen.UserDash().empty() && pen.Style() != TPenStyle::psClear) {
        // Qt measures dashes in pen widths.
        const double w = std::max(1, pen.Width());
        QVector<qreal> pattern;
        // A zero "on" length is a dot: a tiny dash that the caps round off.
        for (int v : pen.UserDash()) pattern << (v == 0 && pattern.size() % 2 == 0 ? 0.01 : v / w);
        if (pattern.size() % 2) pattern << pattern.back();
        q.setDashPattern(pattern);
    }
    q.setJoinStyle(Qt::MiterJoin);
    return q;
}

// On/off pattern of a thin styled pen, in pixels.
const std::vector<int>& PenPattern(TPenStyle style)
{
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case TPenStyle::psDash: return dash;
    case TPenStyle::psDot: return dot;
    case TPenStyle::psDashDot: return dashDot;
    case TPenStyle::psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

// Whether the pen is drawn pixel by pixel here (thin pen on a raster surface).
bool ThinRaster(const TCanvas::Impl& d, const TPen& pen)
{
    return d.rasterDevice && pen.Width() <= 1;
}

// Pixels of the line from a to b without b (Bresenham), in logical coordinates.
void LinePixels(QPoint a, QPoint b, QPolygon& out, const std::vector<int>& pattern, int& phase)
{
    int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    int x = a.x(), y = a.y();
    int period = 0;
    for (int v : pattern) period += v;
    while (x != b.x() || y != b.y()) {
        bool on = true;
        if (period > 0) {
            int pos = phase % period, acc = 0;
            for (std::size_t i = 0; i < pattern.size(); ++i) {
                acc += pattern[i];
                if (pos < acc) { on = (i % 2) == 0; break; }
            }
            ++phase;
        }
        if (on) out << QPoint(x, y);
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

// Draws the segments of pts (open or closed) with the canvas pen.
void StrokePath(const TCanvas& c, const std::vector<QPoint>& pts, bool closed)
{
    TCanvas::Impl& d = c.Data();
    const TPen& pen = CanvasAccess::PenObj(c);
    if (pts.size() < 2) return;
    QPainter* p = d.painter;
    if (!UsePenMode(p, pen)) return;
    if (ThinRaster(d, pen)) {
        QPolygon pixels;
        int phase = 0;
        const auto& pattern = pen.UserDash().empty() ? PenPattern(pen.Style()) : pen.UserDash();
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            LinePixels(pts[i], pts[i + 1], pixels, pattern, phase);
        if (closed) LinePixels(pts.back(), pts.front(), pixels, pattern, phase);
        QPen q(PenColor(pen));
        q.setWidth(1);
        q.setCosmetic(true);
        p->setPen(q);
        p->setBrush(Qt::NoBrush);
        p->drawPoints(pixels);
    } else {
        p->setPen(MakeQPen(pen));
        p->setBrush(Qt::NoBrush);
        QPolygon poly;
        for (const QPoint& q : pts) poly << q;
        if (closed) p->drawPolygon(poly);
        else p->drawPolyline(poly);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// Fills with the canvas brush: hatch gaps take the background colour when
// the background is opaque.
void FillWith(const TCanvas& c, const std::function<void(const QBrush&)>& fill)
{
    const TBrush& brush = CanvasAccess::BrushObj(c);
    const TCanvas::Impl& d = c.Data();
    if (brush.Style() == TBrushStyle::bsClear) return;
    QColor color = ToQColor(brush.Color());
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (brush.Style()) {
    case TBrushStyle::bsHorizontal: style = Qt::HorPattern; break;
    case TBrushStyle::bsVertical: style = Qt::VerPattern; break;
    case TBrushStyle::bsFDiagonal: style = Qt::BDiagPattern; break;
    case TBrushStyle::bsBDiagonal: style = Qt::FDiagPattern; break;
    case TBrushStyle::bsCross: style = Qt::CrossPattern; break;
    case TBrushStyle::bsDiagCross: style = Qt::DiagCrossPattern; break;
    default: break;
    }
    if (style != Qt::SolidPattern && d.bkMode == OPAQUE)
        fill(QBrush(ToQColor(d.bkColor)));
    fill(QBrush(color, style));
}

} // namespace

// ---------------------------------------------------------- lines, shapes

void TCanvas::MoveTo(int x, int y) { FImpl->penPos = QPoint(x, y); }

void TCanvas::LineTo(int x, int y)
{
    QPoint from = FImpl->penPos;
    FImpl->penPos = QPoint(x, y);
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QPainter* p = FImpl->painter;
    const TPen& pen = *FPen;
    if ((from.x() == x || from.y() == y) && !(from.x() == x && from.y() == y) && ThinRaster(*FImpl, pen) &&
        pen.Style() == TPenStyle::psSolid && pen.UserDash().empty() && pen.Mode() == TPenMode::pmCopy &&
        p->transform().type() <= QTransform::TxTranslate) {
        // The same pixels as the stroke below (the end point left out), as
        // one strip: grids draw their lines cell by cell.
        QRect strip = from.y() == y ? QRect(QPoint(std::min(from.x(), x + (x < from.x() ? 1 : 0)), y),
                                            QPoint(std::max(from.x(), x + (x < from.x() ? 0 : -1)), y))
                                    : QRect(QPoint(x, std::min(from.y(), y + (y < from.y() ? 1 : 0))),
                                            QPoint(x, std::max(from.y(), y + (y < from.y() ? 0 : -1))));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->fillRect(strip, PenColor(pen));
    } else {
        StrokePath(*this, {from, QPoint(x, y)}, false);
    }
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.size() < 2 || !CanvasAccess::Begin(*this)) return;
    Changing();
    std::vector<QPoint> pts;
    for (const TPoint& p : points) pts.emplace_back(p.X, p.Y);
    StrokePath(*this, pts, false);
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.size() < 2 || !CanvasAccess::Begin(*this)) return;
    Changing();
    QPolygon poly;
    std::vector<QPoint> pts;
    for (const TPoint& p : points) { poly << QPoint(p.X, p.Y); pts.emplace_back(p.X, p.Y); }
    QPainter* p = FImpl->painter;
    p->setPen(Qt::NoPen);
    FillWith(*this, [&](const QBrush& b) {
        p->setBrush(b);
        p->drawPolygon(poly, Qt::OddEvenFill);
    });
    StrokePath(*this, pts, true);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1 || !CanvasAccess::Begin(*this)) return;
    Changing();
    QPainter* p = FImpl->painter;
    const TPen& pen = *FPen;
    bool outline = pen.Style() != TPenStyle::psClear && pen.Mode() != TPenMode::pmNop;
    QRect inner = outline ? QRect(x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2) : QRect(x1, y1, x2 - x1, y2 - y1);
    if (inner.width() > 0 && inner.height() > 0)
        FillWith(*this, [&](const QBrush& b) { p->fillRect(inner, b); });
    if (outline) {
        if (ThinRaster(*FImpl, pen) && pen.Style() == TPenStyle::psSolid && pen.UserDash().empty() &&
            pen.Mode() == TPenMode::pmCopy &&
            p->transform().type() <= QTransform::TxTranslate) {
            // The same pixels as the outline below, as four strips: cells
            // and gradient bands are drawn as many small rectangles.
            const QColor color = PenColor(pen);
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(x1, y1, x2 - x1, 1), color);
            p->fillRect(QRect(x1, y2 - 1, x2 - x1, 1), color);
            p->fillRect(QRect(x1, y1, 1, y2 - y1), color);
            p->fillRect(QRect(x2 - 1, y1, 1, y2 - y1), color);
        } else if (ThinRaster(*FImpl, pen)) {
            StrokePath(*this, {QPoint(x1, y1), QPoint(x2 - 1, y1), QPoint(x2 - 1, y2 - 1),
                               QPoint(x1, y2 - 1)}, true);
        } else if (UsePenMode(p, pen)) {
            p->setPen(MakeQPen(pen));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    if (r.IsEmpty() || !CanvasAccess::Begin(*this)) return;
    Changing();
    QPainter* p = FImpl->painter;
    FillWith(*this, [&](const QBrush& b) { p->fillRect(ToQRect(r), b); });
    Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty() || !CanvasAccess::Begin(*this)) return;
    if (FBrush->Style() == TBrushStyle::bsClear) return;
    Changing();
    QPainter* p = FImpl->painter;
    QColor c = ToQColor(FBrush->Color());
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
    Changed();
}

namespace {

// Draws a closed shape: interior with the brush, outline with the pen.
void DrawShape(TCanvas& c, const QPainterPath& fillPath, const QPainterPath& outline)
{
    TCanvas::Impl& d = c.Data();
    QPainter* p = d.painter;
    p->setPen(Qt::NoPen);
    FillWith(c, [&](const QBrush& b) {
        p->setBrush(b);
        p->drawPath(fillPath);
    });
    const TPen& pen = CanvasAccess::PenObj(c);
    if (UsePenMode(p, pen)) {
        QPen q = MakeQPen(pen);
        if (pen.Width() <= 1) q.setCosmetic(true);
        p->setPen(q);
        p->setBrush(Qt::NoBrush);
        p->drawPath(outline);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

QRectF ShapeBox(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // Aliased outlines of this box cover exactly the pixels x1..x2-1, y1..y2-1.
    return QRectF(x1, y1, x2 - x1 - 0.5, y2 - y1 - 0.5);
}

// Angle (degrees, counter-clockwise from the x axis) of the ray from the
// box's centre towards (x, y), in the ellipse's own parameter.
double RayAngle(const QRectF& box, int x, int y)
{
    double cx = box.center().x(), cy = box.center().y();
    double rx = std::max(0.5, box.width() / 2), ry = std::max(0.5, box.height() / 2);
    return std::atan2(-(y - cy) / ry, (x - cx) / rx) * 180.0 / M_PI;
}

// The start angle of an arc from the ray towards (x3, y3) and its span,
// counter-clockwise, to the ray towards (x4, y4); a full turn when the two
// rays meet.
void ArcAngles(const QRectF& box, int x3, int y3, int x4, int y4, double& start, double& span)
{
    start = RayAngle(box, x3, y3);
    span = RayAngle(box, x4, y4) - start;
    if (span <= 0) span += 360;
}

} // namespace

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QRectF box = ShapeBox(x1, y1, x2, y2);
    QPainterPath path;
    path.addRoundedRect(box, w / 2.0, h / 2.0);
    DrawShape(*this, path, path);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QRectF box = ShapeBox(x1, y1, x2, y2);
    QPainterPath path;
    path.addEllipse(box);
    DrawShape(*this, path, path);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QRectF box = ShapeBox(x1, y1, x2, y2);
    double a0 = 0, span = 0;
    ArcAngles(box, x3, y3, x4, y4, a0, span);
    QPainter* p = FImpl->painter;
    if (UsePenMode(p, *FPen)) {
        QPen q = MakeQPen(*FPen);
        if (FPen->Width() <= 1) q.setCosmetic(true);
        p->setPen(q);
        p->setBrush(Qt::NoBrush);
        p->drawArc(box, static_cast<int>(std::lround(a0 * 16)), static_cast<int>(std::lround(span * 16)));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!CanvasAccess::Begin(*this)) return;
    Changing();
    QRectF box = ShapeBox(x1, y1, x2, y2);
    double a0 = 0, span = 0;
    ArcAngles(box, x3, y3, x4, y4, a0, span);
    QPainterPath path;
    path.moveTo(box.center());
    path.arcTo(box, a0, span);
    path.closeSubpath();
    DrawShape(*this, path, path);
    Changed();
}

// ------------------------------------------------------------------ pixels

TColor TCanvas::Pixels(int x, int y) const
{
    const Impl& d = *FImpl;
    if (!d.painter) const_cast<TCanvas*>(this)->CreateHandle();
    const QImage* img = d.image;
    if (!img && d.painter && d.painter->device() && d.painter->device()->devType() == QInternal::Image)
        img = static_cast<const QImage*>(d.painter->device());
    if (!img) return clNone;
    QPoint o = d.Offset();
    x += o.x();
    y += o.y();
    if (x < 0 || y < 0 || x >= img->width() || y >= img->height()) return clNone;
    const uchar* row = img->constScanLine(y);
    switch (img->format()) {
    case QImage::Format_BGR888: {
        const uchar* px = row + 3 * x;
        return RGB(px[2], px[1], px[0]);
    }
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
        QRgb v = reinterpret_cast<const QRgb*>(row)[x];
        return RGB(qRed(v), qGreen(v), qBlue(v));
    }
    default: {
        QRgb v = img->pixel(x, y);
        return RGB(qRed(v), qGreen(v), qBlue(v));
    }
    }
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    Impl& d = *FImpl;
    if (!d.painter) CreateHandle();
    QPoint o = d.Offset();
    int dx = x + o.x(), dy = y + o.y();
    if (d.clip && !d.clip->contains(QPoint(dx, dy))) return;
    QImage* img = d.image;
    if (!img) {
        if (!CanvasAccess::Begin(*this)) return;
        QPen q(ToQColor(color));
        q.setCosmetic(true);
        d.painter->setPen(q);
        d.painter->drawPoint(x, y);
        return;
    }
    if (dx < 0 || dy < 0 || dx >= img->width() || dy >= img->height()) return;
    TColor c = ColorToRGB(color);
    uchar* row = img->scanLine(dy);
    if (img->format() == QImage::Format_BGR888) {
        uchar* px = row + 3 * dx;
        px[0] = GetBValue(c);
        px[1] = GetGValue(c);
        px[2] = GetRValue(c);
    } else if (img->format() == QImage::Format_RGB32 || img->format() == QImage::Format_ARGB32) {
        reinterpret_cast<QRgb*>(row)[dx] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    } else {
        img->setPixel(dx, dy, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (r.IsEmpty() || !CanvasAccess::Begin(*this)) return;
    Changing();
    // Every other pixel of the border inverted: drawing it twice removes it.
    QPolygon pts;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0) pts << QPoint(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) { add(x, r.Top); if (r.Bottom - 1 > r.Top) add(x, r.Bottom - 1); }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) { add(r.Left, y); if (r.Right - 1 > r.Left) add(r.Right - 1, y); }
    QPainter* p = FImpl->painter;
    QPen q(Qt::white);
    q.setCosmetic(true);
    if (HasRasterOps(p)) {
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    } else {
        q.setColor(Qt::gray);
    }
    p->setPen(q);
    p->drawPoints(pts);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

// ---------------------------------------------------------------- pictures

namespace {

// Composition for a copy mode; *fill set for the modes that ignore the source.
QPainter::CompositionMode CopyComposition(uint32_t mode, QPainter* p, int& fill)
{
    fill = 0;
    QPainter::CompositionMode m = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case cmSrcPaint: m = QPainter::RasterOp_SourceOrDestination; break;
    case cmSrcAnd: m = QPainter::RasterOp_SourceAndDestination; break;
    case cmSrcInvert: m = QPainter::RasterOp_SourceXorDestination; break;
    case cmNotSrcCopy: m = QPainter::RasterOp_NotSource; break;
    case cmMergePaint: m = QPainter::RasterOp_NotSourceOrDestination; break;
    case cmDstInvert: fill = 3; break;
    case cmBlackness: fill = 1; break;
    case cmWhiteness: fill = 2; break;
    default: break;
    }
    if (m >= QPainter::RasterOp_SourceOrDestination && !HasRasterOps(p))
        m = QPainter::CompositionMode_SourceOver;
    return m;
}

void BlitImage(TCanvas& c, const QRect& dest, const QImage& image, const QRect& source)
{
    QPainter* p = c.Data().painter;
    int fill;
    QPainter::CompositionMode m = CopyComposition(c.Data().copyMode, p, fill);
    if (fill == 1) { p->fillRect(dest, Qt::black); return; }
    if (fill == 2) { p->fillRect(dest, Qt::white); return; }
    if (fill == 3) {
        if (HasRasterOps(p)) {
            p->setCompositionMode(QPainter::RasterOp_NotDestination);
            p->fillRect(dest, Qt::black);
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        return;
    }
    p->setCompositionMode(m);
    p->drawImage(dest, image, source);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace

void qt::DrawImage(TCanvas& canvas, const TRect& r, const QImage& image)
{
    if (r.IsEmpty() || image.isNull() || !CanvasAccess::Begin(canvas)) return;
    CanvasAccess::Changing(canvas);
    if (canvas.Data().image && canvas.Data().image->constBits() == image.constBits()) {
        QImage copy = image.copy();
        BlitImage(canvas, ToQRect(r), copy, copy.rect());
    } else {
        BlitImage(canvas, ToQRect(r), image, image.rect());
    }
    CanvasAccess::Changed(canvas);
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic)
{
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic)
{
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect)
{
    if (!source || dest.IsEmpty() || sourceRect.IsEmpty()) return;
    const Impl& s = *source->FImpl;
    if (!s.painter) const_cast<TCanvas*>(source)->CreateHandle();
    if (!s.image || !CanvasAccess::Begin(*this)) return;
    Changing();
    QRect src = ToQRect(sourceRect).translated(s.Offset());
    if (source == this) {
        QImage part = s.image->copy(src);
        BlitImage(*this, ToQRect(dest), part, part.rect());
    } else {
        BlitImage(*this, ToQRect(dest), *s.image, src);
    }
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor keyColor)
{
    if (!bitmap || bitmap->Empty() || !CanvasAccess::Begin(*this)) return;
    Changing();
    QImage part = qt::Image(*bitmap).copy(ToQRect(source)).convertToFormat(QImage::Format_RGB32);
    QRgb key = ToQColor(keyColor).rgb();
    QRgb fill = ToQColor(FBrush->Color()).rgb();
    for (int y = 0; y < part.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = fill;
    }
    BlitImage(*this, ToQRect(dest), part, part.rect());
    Changed();
}

bool TCanvas::StretchDIBits(const TRect& dest, const TRect& source, const void* info,
                            std::size_t infoSize, const void* bits, std::size_t bitsSize)
{
    QImage image = DecodeDib(static_cast<const uint8_t*>(info), infoSize,
                             static_cast<const uint8_t*>(bits), bitsSize);
    if (image.isNull()) return false;
    if (dest.IsEmpty() || source.IsEmpty() || !CanvasAccess::Begin(*this)) return true;
    Changing();
    BlitImage(*this, ToQRect(dest), image, ToQRect(source));
    Changed();
    return true;
}

QImage KeyedImage(const QImage& image, TColor key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    TColor k = ColorToRGB(key);
    QRgb kq = qRgb(GetRValue(k), GetGValue(k), GetBValue(k)) & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] & 0xFFFFFF) == kq) row[x] = 0;
    }
    return out;
}

// -------------------------------------------------------------- attachment

void qt::AttachPainter(TCanvas& canvas, QPainter* painter, int width, int height, int dpi)
{
    CanvasAccess::Free(canvas);
    TCanvas::Impl& d = canvas.Data();
    d.painter = painter;
    d.width = width;
    d.height = height;
    d.dpiX = d.dpiY = dpi;
    d.rasterDevice = true;
    d.image = nullptr;
    if (painter && painter->device() && painter->device()->devType() == QInternal::Image)
        d.image = static_cast<QImage*>(painter->device());
    if (painter) {
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
    }
}

void qt::DetachPainter(TCanvas& canvas)
{
    TCanvas::Impl& d = canvas.Data();
    if (!d.ownPainter) {
        d.painter = nullptr;
        d.image = nullptr;
    }
}

QPainter* qt::Painter(const TCanvas& canvas) { return canvas.Data().painter; }

} // namespace gui
