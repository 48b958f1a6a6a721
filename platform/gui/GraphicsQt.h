// Private to the graphics sources of platform/gui: the Qt-side state behind
// TCanvas, TBitmap and TRegion.  Nothing outside platform/gui includes this.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTransform>

#include <memory>
#include <optional>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/QtBridge.h"

namespace gui {

struct TRegion::Impl {
    QRegion region;
};

struct TBitmap::Impl {
    QImage image;   // Format_RGB32 (pf32bit, pfDevice) or Format_BGR888 (pf24bit)
    // The size of an empty bitmap with one side 0, kept so that setting
    // Width and then Height gives a bitmap of both.
    int emptyWidth = 0, emptyHeight = 0;
};

struct TPngImage::Impl {
    QImage image;   // Format_ARGB32 with alpha, else Format_RGB32
    int colorType = PNG_COLOR_RGB;
    int bitDepth = 8;
    std::vector<QRgb> palette;   // entries of a palette image (with alpha)
};

struct TJPEGImage::Impl {
    QImage image;   // Format_RGB32
};

// Any graphic's pixels (a bitmap, PNG or JPEG directly; others drawn).
QImage GraphicToImage(const TGraphic& graphic);
// The image without transparency: partly transparent pixels laid on white,
// as on a fresh bitmap.
QImage OpaqueOnWhite(const QImage& image);

// What SaveDC keeps.
struct CanvasSavedState {
    int id = 0;
    QPoint windowOrg, viewportOrg;
    int mapMode = 1;
    QSize windowExt{1, 1}, viewportExt{1, 1};
    std::optional<QRegion> clip;
    int bkMode = OPAQUE;
    TColor bkColor = clWhite;
    uint32_t textAlign = 0;
};

struct TCanvas::Impl {
    QPainter* painter = nullptr;          // the painter drawn through (owned or attached)
    std::unique_ptr<QPainter> ownPainter; // when the canvas began it itself
    QImage* image = nullptr;              // raster surface with direct pixel access
    int width = 0, height = 0;            // surface size in device pixels
    int dpiX = 96, dpiY = 96;
    bool rasterDevice = true;             // pixel-exact paths (bitmaps, windows)
    // Printer geometry for the PHYSICAL* capabilities (device pixels).
    int physWidth = 0, physHeight = 0, physOffsetX = 0, physOffsetY = 0;
    int sizeMmX = 0, sizeMmY = 0;

    QPoint windowOrg, viewportOrg;
    std::optional<QRegion> clip;          // device coordinates
    int bkMode = OPAQUE;
    TColor bkColor = clWhite;
    uint32_t textAlign = 0;
    uint32_t copyMode = cmSrcCopy;
    QPoint penPos;                        // logical
    std::vector<CanvasSavedState> saved;
    int nextSaveId = 1;

    bool fontValid = false;
    QFont qfont;

    int mapMode = 1;                      // MM_TEXT
    QSize windowExt{1, 1}, viewportExt{1, 1};

    QPoint Offset() const { return viewportOrg - windowOrg; }
    // Logical to device: (l - windowOrg) x scale + viewportOrg, the scale
    // from the extents outside MM_TEXT.
    QTransform Transform() const;
};

// Canvas internals shared by the canvas sources.
struct CanvasAccess {
    // Ensures a surface and applies offset and clip; false when there is none.
    static bool Begin(const TCanvas& c);
    static const QFont& Font(const TCanvas& c);
    static TFont& FontObj(const TCanvas& c) { return *c.FFont; }
    static TPen& PenObj(const TCanvas& c) { return *c.FPen; }
    static TBrush& BrushObj(const TCanvas& c) { return *c.FBrush; }
    static void Changing(TCanvas& c) { c.Changing(); }
    static void Changed(TCanvas& c) { c.Changed(); }
    static void Free(TCanvas& c) { c.FreeHandle(); }
};

QColor ToQColor(TColor c);
QPainter::CompositionMode CompositionForPenMode(TPenMode mode, bool& skip);
// "Symbol" shows Greek letters for Latin ones; other fonts keep the text.
QString CanvasText(const TFont& font, const std::string& utf8);
// TCanvas::TextOut in one call with the characters spread (or drawn closer)
// evenly so that the text spans width pixels.
void TextOutSpanning(TCanvas& c, int x, int y, const std::string& text, int width);
// The image with pixels of key (RGB) made fully transparent.
QImage KeyedImage(const QImage& image, TColor key);

// BMP codec (GraphicsBmp.cpp).
QImage DecodeBmp(const uint8_t* data, std::size_t size);
QImage DecodeDib(const uint8_t* info, std::size_t infoSize, const uint8_t* bits,
                 std::size_t bitsSize);
void EncodeBmp(const QImage& image, int bitsPerPixel, rtl::TStream& out);

// PNG and JPEG codecs (PngImage.cpp, JpegImage.cpp).
bool LooksLikePng(const uint8_t* data, std::size_t size);
bool LooksLikeJpeg(const uint8_t* data, std::size_t size);

// A graphic decoded from bytes in memory by their content, or nullptr.
std::unique_ptr<TGraphic> LoadGraphicFromBytes(const uint8_t* data, std::size_t size);

// A read-only stream over bytes that outlive it.
class TBytesStream : public rtl::TStream {
public:
    TBytesStream(const uint8_t* data, std::size_t size) : FData(data), FSize(static_cast<int64_t>(size)) {}
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void*, int64_t) override;
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }

private:
    const uint8_t* FData;
    int64_t FSize;
    int64_t FPos = 0;
};

// Reads the rest of a stream from its position.
std::vector<uint8_t> ReadRest(rtl::TStream& stream);

} // namespace gui
