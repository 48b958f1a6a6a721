// TImageList: pictures kept with their transparency as ARGB images.

#include "platform/gui/ImgList.h"

#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/Resources.h"

namespace gui {

struct TImageList::Impl {
    std::vector<QImage> images;   // Format_ARGB32, Width x Height each
};

TImageList::TImageList(rtl::TComponent* owner) : rtl::TComponent(owner), FImpl(std::make_unique<Impl>()) {}
TImageList::~TImageList() = default;

void TImageList::Changed()
{
    if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int w)
{
    if (w <= 0 || w == FWidth) return;
    FWidth = w;
    Clear();
}

void TImageList::SetHeight(int h)
{
    if (h <= 0 || h == FHeight) return;
    FHeight = h;
    Clear();
}

int TImageList::Count() const { return static_cast<int>(FImpl->images.size()); }

namespace {

// Cuts an ARGB picture into list-sized pieces.
int AddPieces(std::vector<QImage>& list, const QImage& argb, int w, int h)
{
    int first = static_cast<int>(list.size());
    int pieces = std::max(1, argb.width() / w);
    for (int i = 0; i < pieces; ++i) {
        QImage piece(w, h, QImage::Format_ARGB32);
        piece.fill(Qt::transparent);
        QPainter p(&piece);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, argb, i * w, 0, w, h);
        p.end();
        list.push_back(piece);
    }
    return first;
}

} // namespace

int TImageList::Add(const TBitmap* image, const TBitmap* mask)
{
    if (!image || image->Empty()) return -1;
    QImage argb = qt::Image(*image).convertToFormat(QImage::Format_ARGB32);
    if (mask && !mask->Empty()) {
        const QImage& m = qt::Image(*mask);
        for (int y = 0; y < std::min(argb.height(), m.height()); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < std::min(argb.width(), m.width()); ++x)
                if ((m.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
        }
    }
    int first = AddPieces(FImpl->images, argb, FWidth, FHeight);
    Changed();
    return first;
}

int TImageList::AddMasked(const TBitmap* image, TColor maskColor)
{
    if (!image || image->Empty()) return -1;
    TColor key = maskColor == clDefault ? image->TransparentColor() : maskColor;
    int first = AddPieces(FImpl->images, KeyedImage(qt::Image(*image), key), FWidth, FHeight);
    Changed();
    return first;
}

bool TImageList::GetResource(const std::string& name, int width, TColor maskColor)
{
    TBitmap bmp;
    try {
        bmp.LoadFromResourceName(name);
    } catch (const rtl::Exception&) {
        return false;
    }
    if (width > 0 && width != FWidth) {
        FWidth = width;
        FHeight = bmp.Height();
        FImpl->images.clear();
    }
    AddMasked(&bmp, maskColor);
    return true;
}

void TImageList::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    FImpl->images.erase(FImpl->images.begin() + index);
    Changed();
}

void TImageList::Clear()
{
    FImpl->images.clear();
    Changed();
}

bool TImageList::GetBitmap(int index, TBitmap* bitmap) const
{
    if (!bitmap || index < 0 || index >= Count()) return false;
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(FWidth, FHeight);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
    qt::DrawImage(*bitmap->Canvas(), Rect(0, 0, FWidth, FHeight), FImpl->images[index]);
    return true;
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const
{
    if (!canvas || index < 0 || index >= Count()) return;
    const QImage& img = FImpl->images[static_cast<std::size_t>(index)];
    if (enabled) {
        qt::DrawImage(*canvas, Bounds(x, y, FWidth, FHeight), img);
        return;
    }
    // Disabled: grey levels lightened towards the button face.
    QImage grey = img.copy();
    for (int yy = 0; yy < grey.height(); ++yy) {
        QRgb* row = reinterpret_cast<QRgb*>(grey.scanLine(yy));
        for (int xx = 0; xx < grey.width(); ++xx) {
            int g = qGray(row[xx]);
            g = 128 + g / 2;
            row[xx] = qRgba(g, g, g, qAlpha(row[xx]));
        }
    }
    qt::DrawImage(*canvas, Bounds(x, y, FWidth, FHeight), grey);
}

} // namespace gui
