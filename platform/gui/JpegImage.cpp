// TJPEGImage on libjpeg.  libjpeg's fatal errors come back by longjmp; as
// with PNG, the state lives on the heap and no C++ object is made between
// setjmp and the library calls.

#include "platform/gui/GraphicsQt.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>

namespace gui {

bool LooksLikeJpeg(const uint8_t* data, std::size_t size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) {}

struct JpegState {
    JpegError err;
    jpeg_decompress_struct dinfo;
    jpeg_compress_struct cinfo;
    std::vector<uint8_t> pixels;   // BGRX rows
    int width = 0, height = 0;
    unsigned char* outBuf = nullptr;
    unsigned long outSize = 0;
};

bool Decode(JpegState* st, const uint8_t* data, std::size_t size)
{
    st->dinfo.err = jpeg_std_error(&st->err.mgr);
    st->err.mgr.error_exit = ErrorExit;
    st->err.mgr.output_message = OutputMessage;
    if (setjmp(st->err.jump)) {
        jpeg_destroy_decompress(&st->dinfo);
        return false;
    }
    jpeg_create_decompress(&st->dinfo);
    jpeg_mem_src(&st->dinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&st->dinfo, TRUE);
    bool cmyk = st->dinfo.jpeg_color_space == JCS_CMYK || st->dinfo.jpeg_color_space == JCS_YCCK;
    st->dinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&st->dinfo);
    st->width = static_cast<int>(st->dinfo.output_width);
    st->height = static_cast<int>(st->dinfo.output_height);
    if (static_cast<long long>(st->width) * st->height > (1LL << 28)) {
        std::snprintf(st->err.message, sizeof st->err.message, "image too large");
        jpeg_destroy_decompress(&st->dinfo);
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(st->width) * 4;
    st->pixels.resize(rowBytes * st->height);
    while (st->dinfo.output_scanline < st->dinfo.output_height) {
        JSAMPROW row = st->pixels.data() + rowBytes * st->dinfo.output_scanline;
        jpeg_read_scanlines(&st->dinfo, &row, 1);
    }
    if (cmyk) {
        // Inverted CMYK, as written by the common image editors.
        for (std::size_t i = 0; i + 3 < st->pixels.size(); i += 4) {
            unsigned c = st->pixels[i], m = st->pixels[i + 1], y = st->pixels[i + 2], k = st->pixels[i + 3];
            st->pixels[i] = static_cast<uint8_t>(y * k / 255);
            st->pixels[i + 1] = static_cast<uint8_t>(m * k / 255);
            st->pixels[i + 2] = static_cast<uint8_t>(c * k / 255);
            st->pixels[i + 3] = 255;
        }
    }
    jpeg_finish_decompress(&st->dinfo);
    jpeg_destroy_decompress(&st->dinfo);
    return true;
}

bool Encode(JpegState* st, int quality, bool gray)
{
    st->cinfo.err = jpeg_std_error(&st->err.mgr);
    st->err.mgr.error_exit = ErrorExit;
    st->err.mgr.output_message = OutputMessage;
    if (setjmp(st->err.jump)) {
        jpeg_destroy_compress(&st->cinfo);
        return false;
    }
    jpeg_create_compress(&st->cinfo);
    jpeg_mem_dest(&st->cinfo, &st->outBuf, &st->outSize);
    st->cinfo.image_width = static_cast<JDIMENSION>(st->width);
    st->cinfo.image_height = static_cast<JDIMENSION>(st->height);
    st->cinfo.input_components = 4;
    st->cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&st->cinfo);
    if (gray) jpeg_set_colorspace(&st->cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&st->cinfo, quality, TRUE);
    if (quality >= 90) {
        // Full chroma resolution at high quality: colours stay sharp at edges.
        for (int c = 0; c < st->cinfo.num_components; ++c)
            st->cinfo.comp_info[c].h_samp_factor = st->cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&st->cinfo, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(st->width) * 4;
    while (st->cinfo.next_scanline < st->cinfo.image_height) {
        JSAMPROW row = st->pixels.data() + rowBytes * st->cinfo.next_scanline;
        jpeg_write_scanlines(&st->cinfo, &row, 1);
    }
    jpeg_finish_compress(&st->cinfo);
    jpeg_destroy_compress(&st->cinfo);
    return true;
}

} // namespace

TJPEGImage::TJPEGImage() : FImpl(std::make_unique<Impl>()) {}
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return FImpl->image.isNull(); }
int TJPEGImage::Width() const { return FImpl->image.width(); }
int TJPEGImage::Height() const { return FImpl->image.height(); }

void TJPEGImage::SetSize(int w, int h)
{
    QImage img(std::max(0, w), std::max(0, h), QImage::Format_RGB32);
    img.fill(Qt::white);
    FImpl->image = img;
    Changed();
}

void TJPEGImage::LoadFromStream(rtl::TStream& stream)
{
    std::vector<uint8_t> data = ReadRest(stream);
    if (!LooksLikeJpeg(data.data(), data.size()))
        throw EInvalidGraphic("JPEG error: not a JPEG file");
    auto st = std::make_unique<JpegState>();
    if (!Decode(st.get(), data.data(), data.size()))
        throw EInvalidGraphic(std::string("JPEG error: ") + st->err.message);
    QImage img(st->width, st->height, QImage::Format_RGB32);
    const std::size_t rowBytes = static_cast<std::size_t>(st->width) * 4;
    for (int y = 0; y < st->height; ++y) {
        std::memcpy(img.scanLine(y), st->pixels.data() + rowBytes * y, rowBytes);
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < st->width; ++x) row[x] |= 0xFF000000;
    }
    FImpl->image = std::move(img);
    Changed();
}

void TJPEGImage::SaveToStream(rtl::TStream& stream) const
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty JPEG image");
    auto st = std::make_unique<JpegState>();
    QImage src = FImpl->image.convertToFormat(QImage::Format_RGB32);
    st->width = src.width();
    st->height = src.height();
    const std::size_t rowBytes = static_cast<std::size_t>(st->width) * 4;
    st->pixels.resize(rowBytes * st->height);
    for (int y = 0; y < st->height; ++y)
        std::memcpy(st->pixels.data() + rowBytes * y, src.constScanLine(y), rowBytes);
    bool ok = Encode(st.get(), FQuality, FGrayscale);
    if (ok) stream.WriteBuffer(st->outBuf, static_cast<int64_t>(st->outSize));
    std::free(st->outBuf);
    if (!ok) throw EInvalidGraphic(std::string("JPEG error: ") + st->err.message);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) const
{
    if (Empty()) return;
    qt::DrawImage(canvas, r, FImpl->image);
}

void TJPEGImage::Assign(const rtl::TPersistent* source)
{
    if (source == this) return;
    if (auto j = dynamic_cast<const TJPEGImage*>(source)) {
        FImpl->image = j->FImpl->image.copy();
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
        Changed();
        return;
    }
    if (auto g = dynamic_cast<const TGraphic*>(source)) {
        FImpl->image = OpaqueOnWhite(GraphicToImage(*g)).convertToFormat(QImage::Format_RGB32);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(rtl::TPersistent* dest) const
{
    if (auto b = dynamic_cast<TBitmap*>(dest)) { b->Assign(this); return; }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::SetCompressionQuality(int quality) { FQuality = std::clamp(quality, 1, 100); }
void TJPEGImage::SetGrayscale(bool value) { FGrayscale = value; }

TColor TJPEGImage::Pixels(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clNone;
    QRgb v = FImpl->image.pixel(x, y);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

} // namespace gui
