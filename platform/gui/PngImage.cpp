// TPngImage on libpng.  libpng reports errors by longjmp: the state every
// error path touches lives on the heap behind a pointer set before setjmp,
// and no C++ object is constructed between setjmp and the libpng calls.

#include "platform/gui/GraphicsQt.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace gui {

bool LooksLikePng(const uint8_t* data, std::size_t size)
{
    static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, kSig, 8) == 0;
}

namespace {

struct PngState {
    const uint8_t* in = nullptr;
    std::size_t inSize = 0, inPos = 0;
    std::vector<uint8_t> out;
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    char message[256] = "";
    int width = 0, height = 0, colorType = 0, bitDepth = 0;
    bool alpha = false;
    std::vector<QRgb> palette;
};

void ErrorFn(png_structp png, png_const_charp msg)
{
    auto* st = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(st->message, sizeof st->message, "%s", msg ? msg : "unknown error");
    png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

void ReadFn(png_structp png, png_bytep buf, png_size_t len)
{
    auto* st = static_cast<PngState*>(png_get_io_ptr(png));
    if (st->inPos + len > st->inSize) png_error(png, "unexpected end of data");
    std::memcpy(buf, st->in + st->inPos, len);
    st->inPos += len;
}

void WriteFn(png_structp png, png_bytep buf, png_size_t len)
{
    auto* st = static_cast<PngState*>(png_get_io_ptr(png));
    st->out.insert(st->out.end(), buf, buf + len);
}

void FlushFn(png_structp) {}

// Decodes into st (BGRA rows); false with st->message set on failure.
bool DecodePng(PngState* st)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, st, ErrorFn, WarningFn);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) { png_destroy_read_struct(&png, nullptr, nullptr); return false; }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, st, ReadFn);
    png_set_user_limits(png, 0x7FFF, 0x7FFF);
    png_read_info(png, info);
    st->width = static_cast<int>(png_get_image_width(png, info));
    st->height = static_cast<int>(png_get_image_height(png, info));
    st->colorType = png_get_color_type(png, info);
    st->bitDepth = png_get_bit_depth(png, info);
    if (static_cast<long long>(st->width) * st->height > (1LL << 28))
        png_error(png, "image too large");
    bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (st->colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp plte = nullptr;
        int n = 0;
        png_get_PLTE(png, info, &plte, &n);
        png_bytep alphas = nullptr;
        int na = 0;
        if (trns) png_get_tRNS(png, info, &alphas, &na, nullptr);
        for (int k = 0; k < n; ++k)
            st->palette.push_back(qRgba(plte[k].red, plte[k].green, plte[k].blue,
                                        k < na && alphas ? alphas[k] : 255));
    }
    st->alpha = (st->colorType & PNG_COLOR_MASK_ALPHA) || trns;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!st->alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    std::size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != static_cast<std::size_t>(st->width) * 4) png_error(png, "unsupported pixel layout");
    st->pixels.resize(rowBytes * static_cast<std::size_t>(st->height));
    st->rows.resize(static_cast<std::size_t>(st->height));
    for (int y = 0; y < st->height; ++y) st->rows[y] = st->pixels.data() + rowBytes * y;
    png_read_image(png, st->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Encodes st->pixels (BGRA rows, or palette indices when st->palette is set).
bool EncodePng(PngState* st, int level)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, st, ErrorFn, WarningFn);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) { png_destroy_write_struct(&png, nullptr); return false; }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, st, WriteFn, FlushFn);
    png_set_compression_level(png, level);
    bool palette = !st->palette.empty();
    int type = palette ? PNG_COLOR_TYPE_PALETTE : st->alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    int depth = palette ? st->bitDepth : 8;
    png_set_IHDR(png, info, static_cast<png_uint_32>(st->width), static_cast<png_uint_32>(st->height),
                 depth, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette) {
        png_color plte[256];
        png_byte alphas[256];
        int n = static_cast<int>(st->palette.size()), na = 0;
        for (int k = 0; k < n; ++k) {
            plte[k].red = static_cast<png_byte>(qRed(st->palette[k]));
            plte[k].green = static_cast<png_byte>(qGreen(st->palette[k]));
            plte[k].blue = static_cast<png_byte>(qBlue(st->palette[k]));
            alphas[k] = static_cast<png_byte>(qAlpha(st->palette[k]));
            if (alphas[k] != 255) na = k + 1;
        }
        png_set_PLTE(png, info, plte, n);
        if (na) png_set_tRNS(png, info, alphas, na, nullptr);
    }
    png_write_info(png, info);
    if (palette) {
        if (depth < 8) png_set_packing(png);
    } else {
        png_set_bgr(png);
        if (!st->alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    png_write_image(png, st->rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

TPngImage::TPngImage() : FImpl(std::make_unique<Impl>()) {}
TPngImage::~TPngImage() = default;

bool TPngImage::Empty() const { return FImpl->image.isNull(); }
int TPngImage::Width() const { return FImpl->image.width(); }
int TPngImage::Height() const { return FImpl->image.height(); }

void TPngImage::SetSize(int w, int h)
{
    QImage img(std::max(0, w), std::max(0, h), QImage::Format_RGB32);
    img.fill(Qt::white);
    FImpl->image = img;
    FImpl->colorType = PNG_COLOR_RGB;
    FImpl->bitDepth = 8;
    FImpl->palette.clear();
    Changed();
}

void TPngImage::LoadFromStream(rtl::TStream& stream)
{
    std::vector<uint8_t> data = ReadRest(stream);
    auto st = std::make_unique<PngState>();
    st->in = data.data();
    st->inSize = data.size();
    if (!LooksLikePng(data.data(), data.size()))
        throw EInvalidGraphic("Invalid PNG image: not a PNG file");
    if (!DecodePng(st.get()))
        throw EInvalidGraphic(std::string("Invalid PNG image: ") + st->message);
    QImage img(st->width, st->height, st->alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < st->height; ++y)
        std::memcpy(img.scanLine(y), st->rows[y], static_cast<std::size_t>(st->width) * 4);
    FImpl->image = std::move(img);
    FImpl->colorType = st->colorType;
    FImpl->bitDepth = st->bitDepth;
    FImpl->palette = st->palette;
    Changed();
}

void TPngImage::SaveToStream(rtl::TStream& stream) const
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty PNG image");
    auto st = std::make_unique<PngState>();
    const QImage& img = FImpl->image;
    st->width = img.width();
    st->height = img.height();
    st->alpha = img.hasAlphaChannel();
    const std::size_t rowBytes = static_cast<std::size_t>(st->width) * 4;
    // A palette image is written with its palette while every pixel is one
    // of its entries.
    if (FImpl->colorType == PNG_COLOR_PALETTE && !FImpl->palette.empty()) {
        std::unordered_map<QRgb, uint8_t> index;
        for (std::size_t k = FImpl->palette.size(); k-- > 0;) {
            QRgb e = FImpl->palette[k];
            if (qAlpha(e) == 0) e = 0;
            index[st->alpha ? e : (e | 0xFF000000)] = static_cast<uint8_t>(k);
        }
        st->pixels.resize(static_cast<std::size_t>(st->width) * st->height);
        bool ok = true;
        for (int y = 0; y < st->height && ok; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < st->width; ++x) {
                QRgb v = row[x];
                if (!st->alpha) v |= 0xFF000000;
                else if (qAlpha(v) == 0) v = 0;
                auto it = index.find(v);
                if (it == index.end()) { ok = false; break; }
                st->pixels[static_cast<std::size_t>(y) * st->width + x] = it->second;
            }
        }
        if (ok) {
            st->palette = FImpl->palette;
            st->bitDepth = FImpl->bitDepth <= 8 && FImpl->palette.size() <= (1u << FImpl->bitDepth)
                               ? FImpl->bitDepth : 8;
            st->rows.resize(static_cast<std::size_t>(st->height));
            for (int y = 0; y < st->height; ++y)
                st->rows[y] = st->pixels.data() + static_cast<std::size_t>(y) * st->width;
        } else {
            st->pixels.clear();
        }
    }
    if (st->palette.empty()) {
        st->pixels.resize(rowBytes * st->height);
        st->rows.resize(static_cast<std::size_t>(st->height));
        QImage src = img.convertToFormat(st->alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < st->height; ++y) {
            st->rows[y] = st->pixels.data() + rowBytes * y;
            std::memcpy(st->rows[y], src.constScanLine(y), rowBytes);
        }
    }
    if (!EncodePng(st.get(), FCompressionLevel))
        throw EInvalidGraphic(std::string("Invalid PNG image: ") + st->message);
    stream.WriteBuffer(st->out.data(), static_cast<int64_t>(st->out.size()));
}

void TPngImage::Draw(TCanvas& canvas, const TRect& r) const
{
    if (Empty()) return;
    qt::DrawImage(canvas, r, FImpl->image);
}

void TPngImage::Assign(const rtl::TPersistent* source)
{
    if (source == this) return;
    if (auto p = dynamic_cast<const TPngImage*>(source)) {
        *FImpl = *p->FImpl;
        FImpl->image = p->FImpl->image.copy();
        FTransparent = p->FTransparent;
        FCompressionLevel = p->FCompressionLevel;
        Changed();
        return;
    }
    if (auto g = dynamic_cast<const TGraphic*>(source)) {
        QImage img = GraphicToImage(*g);
        bool keyed = false;
        if (auto b = dynamic_cast<const TBitmap*>(g); b && b->Transparent() && !b->Empty()) {
            img = KeyedImage(img, b->TransparentColor());
            keyed = true;
        }
        FImpl->image = img.convertToFormat(keyed || img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                           : QImage::Format_RGB32);
        FImpl->colorType = FImpl->image.hasAlphaChannel() ? PNG_COLOR_RGBALPHA : PNG_COLOR_RGB;
        FImpl->bitDepth = 8;
        FImpl->palette.clear();
        FTransparent = keyed;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TPngImage::AssignTo(rtl::TPersistent* dest) const
{
    if (auto b = dynamic_cast<TBitmap*>(dest)) { b->Assign(this); return; }
    TGraphic::AssignTo(dest);
}

int TPngImage::HeaderColorType() const { return FImpl->colorType; }
int TPngImage::HeaderBitDepth() const { return FImpl->bitDepth; }
bool TPngImage::HasAlpha() const { return FImpl->image.hasAlphaChannel(); }

std::vector<TColor> TPngImage::Palette() const
{
    std::vector<TColor> out;
    for (QRgb e : FImpl->palette) out.push_back(RGB(qRed(e), qGreen(e), qBlue(e)));
    return out;
}

TColor TPngImage::Pixels(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clNone;
    QRgb v = FImpl->image.pixel(x, y);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

uint8_t TPngImage::Alpha(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return static_cast<uint8_t>(qAlpha(FImpl->image.pixel(x, y)));
}

void TPngImage::SetCompressionLevel(int level) { FCompressionLevel = std::clamp(level, 0, 9); }

} // namespace gui
