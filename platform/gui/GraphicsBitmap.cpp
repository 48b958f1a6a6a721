// TBitmap: the pixels, their canvas, transparency, conversion and BMP I/O.

#include "platform/gui/GraphicsQt.h"

#include <cstring>

#include "platform/rtl/Resources.h"

namespace gui {

namespace {

QImage::Format QtFormat(TPixelFormat f)
{
    return (f == TPixelFormat::pf32bit || f == TPixelFormat::pfDevice) ? QImage::Format_RGB32
                                                                          : QImage::Format_BGR888;
}

// The bitmap's canvas: its painter is begun on the pixels when first needed
// and ended before the pixels are replaced.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : FOwner(owner) {}
    void Release() { FreeHandle(); }

protected:
    void CreateHandle() override
    {
        QImage& img = FOwner->Data().image;
        Impl& d = *FImpl;
        d.width = img.width();
        d.height = img.height();
        d.rasterDevice = true;
        d.dpiX = d.dpiY = 96;
        if (img.isNull()) return;
        d.ownPainter = std::make_unique<QPainter>();
        if (!d.ownPainter->begin(&img)) {
            d.ownPainter.reset();
            return;
        }
        d.ownPainter->setRenderHint(QPainter::Antialiasing, false);
        d.ownPainter->setRenderHint(QPainter::TextAntialiasing, true);
        d.painter = d.ownPainter.get();
        d.image = &img;
    }

private:
    TBitmap* FOwner;
};

} // namespace

TBitmap::TBitmap() : FImpl(std::make_unique<Impl>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap()
{
    FPixelFormat = format;
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->Release();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        qt::EnsureApplication();
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](rtl::TObject*) { FModified = true; };
    }
    return FCanvas.get();
}

namespace {
void ReleaseCanvas(std::unique_ptr<TCanvas>& canvas)
{
    if (canvas) static_cast<TBitmapCanvas*>(canvas.get())->Release();
}
} // namespace

bool TBitmap::Empty() const { return FImpl->image.isNull() || FImpl->image.width() == 0; }
int TBitmap::Width() const { return FImpl->image.isNull() ? FImpl->emptyWidth : FImpl->image.width(); }
int TBitmap::Height() const { return FImpl->image.isNull() ? FImpl->emptyHeight : FImpl->image.height(); }

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height() && !FImpl->image.isNull()) return;
    ReleaseCanvas(FCanvas);
    if (w == 0 || h == 0) {
        FImpl->image = QImage();
        FImpl->emptyWidth = w;
        FImpl->emptyHeight = h;
        Changed();
        return;
    }
    if (static_cast<long long>(w) * h > (1LL << 30))
        throw rtl::EOutOfMemory("Not enough memory for a bitmap of that size");
    QImage img(w, h, QtFormat(FPixelFormat));
    if (img.isNull())
        throw rtl::EOutOfMemory("Not enough memory for a bitmap of that size");
    img.fill(Qt::white);
    const QImage& old = FImpl->image;
    if (!old.isNull()) {
        int rows = std::min(h, old.height());
        int bytes = std::min(img.bytesPerLine(), static_cast<qsizetype>(
            std::min(w, old.width()) * (img.depth() / 8)));
        for (int y = 0; y < rows; ++y) std::memcpy(img.scanLine(y), old.constScanLine(y), bytes);
    }
    FImpl->image = std::move(img);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == FPixelFormat) return;
    QImage::Format from = QtFormat(FPixelFormat), to = QtFormat(format);
    FPixelFormat = format;
    if (from != to && !FImpl->image.isNull()) {
        ReleaseCanvas(FCanvas);
        FImpl->image = FImpl->image.convertToFormat(to);
    }
    Changed();
}

uint8_t* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImpl->image.scanLine(row);
}

const uint8_t* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImpl->image.constScanLine(row);
}

int TBitmap::BytesPerScanLine() const { return static_cast<int>(FImpl->image.bytesPerLine()); }

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == TTransparentMode::tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    QRgb v = FImpl->image.pixel(0, Height() - 1);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TBitmap::SetTransparentColor(TColor color)
{
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == FTransparentMode) return;
    FTransparentMode = mode;
    if (mode == TTransparentMode::tmAuto) FTransparentColor = clDefault;
    Changed();
}

void TBitmap::SetTransparent(bool value) { TGraphic::SetTransparent(value); }

void TBitmap::FreeImage()
{
    ReleaseCanvas(FCanvas);
    FImpl->image = QImage();
    FImpl->emptyWidth = FImpl->emptyHeight = 0;
    Changed();
}

void TBitmap::LoadFromStream(rtl::TStream& stream)
{
    std::vector<uint8_t> data = ReadRest(stream);
    QImage img = DecodeBmp(data.data(), data.size());
    if (img.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    ReleaseCanvas(FCanvas);
    // DecodeBmp hands 32-bit sources back as RGB32 and the rest as BGR888.
    FPixelFormat = img.format() == QImage::Format_RGB32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    FImpl->image = std::move(img);
    Changed();
}

void TBitmap::SaveToStream(rtl::TStream& stream) const
{
    EncodeBmp(FImpl->image, FPixelFormat == TPixelFormat::pf24bit ? 24 : 32, stream);
}

namespace {

void LoadResourceInto(TBitmap& bmp, const rtl::TResource& res)
{
    std::unique_ptr<TGraphic> g = LoadGraphicFromBytes(res.Data, res.Size);
    if (!g) throw EInvalidGraphic("Bitmap image is not valid");
    bmp.Assign(g.get());
}

} // namespace

void TBitmap::LoadFromResourceName(const std::string& name)
{
    const rtl::TResource* res = rtl::FindResource(name, rtl::TResourceType::Bitmap);
    if (!res) res = rtl::FindResource(name, rtl::TResourceType::PNG);
    if (!res) res = rtl::FindResource(name, rtl::TResourceType::RCData);
    if (!res) throw rtl::EResNotFound("Resource " + name + " not found");
    LoadResourceInto(*this, *res);
}

void TBitmap::LoadFromResourceID(int id)
{
    const rtl::TResource* res = rtl::FindResource(id, rtl::TResourceType::Bitmap);
    if (!res) res = rtl::FindResource(id, rtl::TResourceType::PNG);
    if (!res) res = rtl::FindResource(id, rtl::TResourceType::RCData);
    if (!res) throw rtl::EResNotFound("Resource #" + std::to_string(id) + " not found");
    LoadResourceInto(*this, *res);
}

void TBitmap::Assign(const rtl::TPersistent* source)
{
    if (source == this) return;
    if (!source) { FreeImage(); return; }
    if (auto b = dynamic_cast<const TBitmap*>(source)) {
        ReleaseCanvas(FCanvas);
        FImpl->image = b->FImpl->image.copy();   // deep: ScanLine pointers must stay private
        FImpl->emptyWidth = b->FImpl->emptyWidth;
        FImpl->emptyHeight = b->FImpl->emptyHeight;
        FPixelFormat = b->FPixelFormat;
        FTransparent = b->FTransparent;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        Changed();
        return;
    }
    if (auto g = dynamic_cast<const TGraphic*>(source)) {
        ReleaseCanvas(FCanvas);
        QImage img = OpaqueOnWhite(GraphicToImage(*g));
        FPixelFormat = TPixelFormat::pf24bit;
        FImpl->image = img.convertToFormat(QtFormat(FPixelFormat));
        FTransparent = g->Transparent();
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::AssignTo(rtl::TPersistent* dest) const
{
    TGraphic::AssignTo(dest);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const
{
    if (Empty()) return;
    if (FTransparent)
        qt::DrawImage(canvas, r, KeyedImage(FImpl->image, TransparentColor()));
    else
        qt::DrawImage(canvas, r, FImpl->image);
}

QImage& qt::Image(TBitmap& bitmap) { return bitmap.Data().image; }
const QImage& qt::Image(const TBitmap& bitmap) { return bitmap.Data().image; }

QImage OpaqueOnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel()) return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, image);
    p.end();
    return flat;
}

QImage GraphicToImage(const TGraphic& graphic)
{
    if (auto b = dynamic_cast<const TBitmap*>(&graphic)) return b->Data().image;
    if (auto p = dynamic_cast<const TPngImage*>(&graphic)) return p->Data().image;
    if (auto j = dynamic_cast<const TJPEGImage*>(&graphic)) return j->Data().image;
    if (graphic.Empty()) return QImage();
    TBitmap tmp(graphic.Width(), graphic.Height(), TPixelFormat::pf32bit);
    tmp.Canvas()->Draw(0, 0, &graphic);
    QImage out = tmp.Data().image.copy();
    return out;
}

} // namespace gui
