// Metafiles: the recording paint device behind TMetafileCanvas, and the
// replay of the records onto a canvas.

#include "platform/gui/Metafile.h"
#include "platform/gui/MetafileNative.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

#include <algorithm>
#include <cmath>

#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtBridge.h"
#include "platform/rtl/Streams.h"

namespace gui {

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

TColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

TRect Extent(const std::vector<TPoint>& pts)
{
    if (pts.empty()) return {};
    TRect r{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
    for (const TPoint& p : pts) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

TPenStyle FromQtPenStyle(Qt::PenStyle s)
{
    switch (s) {
    case Qt::DashLine: return TPenStyle::psDash;
    case Qt::DotLine: return TPenStyle::psDot;
    case Qt::DashDotLine: return TPenStyle::psDashDot;
    case Qt::DashDotDotLine: return TPenStyle::psDashDotDot;
    case Qt::NoPen: return TPenStyle::psClear;
    default: return TPenStyle::psSolid;
    }
}

// Keeps what the painter draws as metafile records, in device pixels.
class TRecordingEngine : public QPaintEngine {
public:
    explicit TRecordingEngine(TMetafile* target) : QPaintEngine(QPaintEngine::AllFeatures), FTarget(target) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void Stop() { FTarget = nullptr; }

    void updateState(const QPaintEngineState& s) override
    {
        const QPaintEngine::DirtyFlags f = s.state();
        if (f & DirtyPen) FPen = s.pen();
        if (f & DirtyBrush) FBrush = s.brush();
        if (f & DirtyFont) FFont = s.font();
        if (f & DirtyTransform) FTransform = s.transform();
        if (f & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled)) {
            if (!s.isClipEnabled() || s.clipOperation() == Qt::NoClip) {
                FClip.reset();
            } else {
                QRectF r;
                if (f & DirtyClipRegion) r = s.clipRegion().boundingRect();
                else r = s.clipPath().boundingRect();
                // Clips are given in the painter's coordinates at the time.
                const QRect dev = s.transform().mapRect(r).toAlignedRect();
                const TRect t{dev.left(), dev.top(), dev.right() + 1, dev.bottom() + 1};
                FClip = t;
            }
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        TMetaRecord r = Styled(mode != PolylineMode);
        r.Kind = mode == PolylineMode ? TMetaRecord::TKind::Polyline : TMetaRecord::TKind::Polygon;
        for (int i = 0; i < count; ++i) r.Points.push_back(Map(points[i]));
        r.Bounds = Extent(r.Points);
        Add(std::move(r));
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        std::vector<QPointF> f(points, points + count);
        drawPolygon(f.data(), count, mode);
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QPointF pts[2] = {lines[i].p1(), lines[i].p2()};
            drawPolygon(pts, 2, PolylineMode);
        }
    }
    void drawLines(const QLine* lines, int count) override
    {
        for (int i = 0; i < count; ++i) drawLines(std::vector<QLineF>{QLineF(lines[i])}.data(), 1);
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF& q = rects[i];
            const QPointF pts[4] = {q.topLeft(), q.topRight(), q.bottomRight(), q.bottomLeft()};
            drawPolygon(pts, 4, OddEvenMode);
        }
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i) drawRects(std::vector<QRectF>{QRectF(rects[i])}.data(), 1);
    }

    void drawPoints(const QPointF* points, int count) override
    {
        for (int i = 0; i < count; ++i) {
            TMetaRecord r;
            r.Kind = TMetaRecord::TKind::Polygon;
            const TPoint p = Map(points[i]);
            r.Points = {p, {p.X + 1, p.Y}, {p.X + 1, p.Y + 1}, {p.X, p.Y + 1}};
            r.Bounds = Extent(r.Points);
            r.PenWidth = 0;
            r.BrushVisible = true;
            r.BrushColor = FromQColor(FPen.color());
            r.Clip = FClip;
            Add(std::move(r));
        }
    }

    void drawEllipse(const QRectF& rect) override
    {
        TMetaRecord r = Styled(true);
        r.Kind = TMetaRecord::TKind::Ellipse;
        const QRectF d = FTransform.mapRect(rect);
        r.Bounds = {Round(d.left()), Round(d.top()), Round(d.right()), Round(d.bottom())};
        Add(std::move(r));
    }

    void drawPath(const QPainterPath& path) override
    {
        for (const QPolygonF& poly : path.toSubpathPolygons()) {
            const bool closed = poly.isClosed() || FBrush.style() != Qt::NoBrush;
            drawPolygon(poly.constData(), static_cast<int>(poly.size()), closed ? OddEvenMode : PolylineMode);
        }
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        TMetaRecord r;
        r.Kind = TMetaRecord::TKind::Text;
        const QFont f = item.font();
        r.Text = item.text().toStdString();
        r.FontName = f.family().toStdString();
        const double scale = std::sqrt(std::abs(FTransform.determinant()));
        const QFontMetricsF m(f);
        r.FontHeight = Round((f.pixelSize() > 0 ? f.pixelSize() : m.height()) * scale);
        r.Bold = f.bold();
        r.Italic = f.italic();
        r.Underline = f.underline();
        r.StrikeOut = f.strikeOut();
        const double angle = std::atan2(-FTransform.m12(), FTransform.m11()) * 180 / M_PI;
        r.Escapement = Round(angle * 10);
        // p is the base line's start; the record keeps the top-left corner.
        r.Origin = Map(QPointF(p.x(), p.y() - m.ascent()));
        for (const QChar ch : item.text()) r.Advances.push_back(Round(m.horizontalAdvance(ch) * scale));
        int width = 0;
        for (int a : r.Advances) width += a;
        r.Bounds = {r.Origin.X, r.Origin.Y, r.Origin.X + width, r.Origin.Y + Round(m.height() * scale)};
        r.PenColor = FromQColor(FPen.color());
        r.Clip = FClip;
        Add(std::move(r));
    }

    void drawPixmap(const QRectF& target, const QPixmap& pm, const QRectF& source) override
    {
        drawImage(target, pm.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& target, const QImage& image, const QRectF& source, Qt::ImageConversionFlags) override
    {
        TMetaRecord r;
        r.Kind = TMetaRecord::TKind::Image;
        const QRectF d = FTransform.mapRect(target);
        r.Bounds = {Round(d.left()), Round(d.top()), Round(d.right()), Round(d.bottom())};
        const QImage part = image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_RGB888);
        r.ImageWidth = part.width();
        r.ImageHeight = part.height();
        r.Pixels.resize(static_cast<std::size_t>(part.width()) * part.height() * 3);
        for (int y = 0; y < part.height(); ++y)
            std::copy_n(part.constScanLine(y), part.width() * 3,
                        r.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * part.width() * 3);
        r.Clip = FClip;
        Add(std::move(r));
    }

private:
    // The canvas draws outlines through pixel centres (x + 0.5): the
    // pixel is the one containing the point.
    TPoint Map(const QPointF& p) const
    {
        const QPointF d = FTransform.map(p);
        return {static_cast<int>(std::floor(d.x() + 1e-9)), static_cast<int>(std::floor(d.y() + 1e-9))};
    }

    TMetaRecord Styled(bool fill) const
    {
        TMetaRecord r;
        const bool pen = FPen.style() != Qt::NoPen;
        r.PenWidth = pen ? std::max(1, Round(FPen.widthF() * std::sqrt(std::abs(FTransform.determinant())))) : 0;
        r.PenColor = FromQColor(FPen.color());
        r.PenStyle = FromQtPenStyle(FPen.style());
        r.BrushVisible = fill && FBrush.style() != Qt::NoBrush;
        r.BrushColor = FromQColor(FBrush.color());
        r.Clip = FClip;
        return r;
    }

    void Add(TMetaRecord r)
    {
        if (FTarget) FTarget->Add(std::move(r));
    }

    TMetafile* FTarget;
    QPen FPen;
    QBrush FBrush;
    QFont FFont;
    QTransform FTransform;
    std::optional<TRect> FClip;
};

class TRecordingDevice : public QPaintDevice {
public:
    TRecordingDevice(TMetafile* target, int w, int h) : FEngine(target), FWidth(w), FHeight(h) {}
    ~TRecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return const_cast<TRecordingEngine*>(&FEngine); }
    TRecordingEngine& Engine() { return FEngine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return FWidth;
        case PdmHeight: return FHeight;
        case PdmWidthMM: return Round(FWidth * 25.4 / 96);
        case PdmHeightMM: return Round(FHeight * 25.4 / 96);
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 24;
        case PdmNumColors: return 1 << 24;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    TRecordingEngine FEngine;
    int FWidth, FHeight;
};

} // namespace

// ------------------------------------------------------------- TMetafile

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetSize(int w, int h)
{
    FWidth = std::max(w, 0);
    FHeight = std::max(h, 0);
}

void TMetafile::Clear() { FRecords.clear(); }

void TMetafile::Assign(const rtl::TPersistent* source)
{
    if (auto m = dynamic_cast<const TMetafile*>(source)) {
        FRecords = m->FRecords;
        FWidth = m->FWidth;
        FHeight = m->FHeight;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::LoadFromStream(rtl::TStream& stream)
{
    std::string all = stream.ReadAll();
    std::vector<uint8_t> bytes(all.begin(), all.end());
    std::vector<TMetaRecord> records;
    int w = 0, h = 0;
    ReadRecorderEmf(bytes, records, w, h);
    FRecords = std::move(records);
    FWidth = w;
    FHeight = h;
    Changed();
}

void TMetafile::SaveToStream(rtl::TStream& stream) const
{
    const std::vector<uint8_t> bytes = EmfBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TMetafile::Draw(TCanvas& canvas, const TRect& r) const
{
    if (FWidth <= 0 || FHeight <= 0) return;
    const double sx = double(r.Width()) / FWidth, sy = double(r.Height()) / FHeight;
    auto at = [&](TPoint p) { return TPoint(r.Left + Round(p.X * sx), r.Top + Round(p.Y * sy)); };
    for (const TMetaRecord& m : FRecords) {
        const int saved = canvas.SaveDC();   // each record's clip on its own
        if (m.Clip) {
            const TRect c{at({m.Clip->Left, m.Clip->Top}).X, at({m.Clip->Left, m.Clip->Top}).Y,
                          at({m.Clip->Right, m.Clip->Bottom}).X, at({m.Clip->Right, m.Clip->Bottom}).Y};
            canvas.IntersectClipRect(c);
        }
        canvas.Pen()->SetColor(m.PenColor);
        canvas.Pen()->SetWidth(std::max(1, Round(m.PenWidth * sx)));
        canvas.Pen()->SetStyle(m.PenWidth == 0 ? TPenStyle::psClear : m.PenStyle);
        canvas.Brush()->SetColor(m.BrushColor);
        canvas.Brush()->SetStyle(m.BrushVisible ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
        switch (m.Kind) {
        case TMetaRecord::TKind::Polyline:
        case TMetaRecord::TKind::Polygon: {
            std::vector<TPoint> pts;
            for (const TPoint& p : m.Points) pts.push_back(at(p));
            if (m.Kind == TMetaRecord::TKind::Polyline) canvas.Polyline(pts);
            else canvas.Polygon(pts);
            break;
        }
        case TMetaRecord::TKind::Ellipse: {
            const TPoint a = at({m.Bounds.Left, m.Bounds.Top}), b = at({m.Bounds.Right, m.Bounds.Bottom});
            canvas.Ellipse(a.X, a.Y, b.X, b.Y);
            break;
        }
        case TMetaRecord::TKind::Text: {
            canvas.Font()->SetName(m.FontName);
            canvas.Font()->SetHeight(-std::max(1, Round(m.FontHeight * sy)));
            canvas.Font()->SetColor(m.PenColor);
            TFontStyles st;
            if (m.Bold) st.Include(TFontStyle::fsBold);
            if (m.Italic) st.Include(TFontStyle::fsItalic);
            if (m.Underline) st.Include(TFontStyle::fsUnderline);
            if (m.StrikeOut) st.Include(TFontStyle::fsStrikeOut);
            canvas.Font()->SetStyle(st);
            canvas.Brush()->SetStyle(TBrushStyle::bsClear);
            canvas.SetTextAlign(TA_LEFT | TA_TOP);
            const TPoint o = at(m.Origin);
            canvas.TextOut(o.X, o.Y, m.Text);
            break;
        }
        case TMetaRecord::TKind::Image: {
            TBitmap bmp(m.ImageWidth, m.ImageHeight);
            for (int y = 0; y < m.ImageHeight; ++y) {
                uint8_t* row = bmp.ScanLine(y);
                const uint8_t* src = m.Pixels.data() + static_cast<std::size_t>(y) * m.ImageWidth * 3;
                for (int x = 0; x < m.ImageWidth; ++x) {   // scan lines are BGR
                    row[3 * x] = src[3 * x + 2];
                    row[3 * x + 1] = src[3 * x + 1];
                    row[3 * x + 2] = src[3 * x];
                }
            }
            const TPoint a = at({m.Bounds.Left, m.Bounds.Top}), b = at({m.Bounds.Right, m.Bounds.Bottom});
            canvas.StretchDraw(TRect{a.X, a.Y, b.X, b.Y}, &bmp);
            break;
        }
        }
        canvas.RestoreDC(saved);
    }
}

// -------------------------------------------------------- TMetafileCanvas

struct TMetafileCanvas::Impl {
    TRecordingDevice Device;
    QPainter Painter;
    Impl(TMetafile* mf, int w, int h) : Device(mf, w, h) {}
};

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, int width, int height)
    : FRec(std::make_unique<Impl>(metafile, width, height))
{
    metafile->Clear();
    metafile->SetSize(width, height);
    FRec->Painter.begin(&FRec->Device);
    qt::AttachPainter(*this, &FRec->Painter, width, height, 96);
    Data().rasterDevice = false;
}

TMetafileCanvas::~TMetafileCanvas() { Finish(); }

void TMetafileCanvas::Finish()
{
    if (!FRec || !FRec->Painter.isActive()) return;
    qt::DetachPainter(*this);
    FRec->Painter.end();
    FRec->Device.Engine().Stop();
}

} // namespace gui
