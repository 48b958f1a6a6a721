// ExGDIP: the small image layer the grid's pictures draw through.  A
// TGPImage decodes an image file's bytes (BMP, PNG or JPEG) and tells its
// format and size; a TGPGraphics draws images on a canvas, at their own size
// or scaled into a rectangle.
//
// The rule a caller must know: nothing here raises.  Every call answers a
// Status and an object keeps its last failure in LastResult(); bytes that
// cannot be decoded give an image of size 0 x 0 that draws nothing.
//
//   gridbase::TGPImage image(stream);           // decoded from the stream's position
//   gridbase::TGPGraphics g(bitmap.Canvas());
//   g.DrawImageRect(&image, 0, 0, 64, 48);      // scaled into 64 x 48
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace gridbase {

// The status codes of the layer, with their customary numbers.
enum class Status {
    Ok, GenericError, InvalidParameter, OutOfMemory, ObjectBusy, InsufficientBuffer, NotImplemented,
    Win32Error, WrongState, Aborted, FileNotFound, ValueOverflow, AccessDenied, UnknownImageFormat,
    FontFamilyNotFound, FontStyleNotFound, NotTrueTypeFont, UnsupportedGdiplusVersion,
    GdiplusNotInitialized, PropertyNotFound, PropertyNotSupported
};

enum class TGPImageFormat {
    ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon
};

// An image decoded from the bytes of an image file.
class TGPImage {
public:
    // Reads the stream from its position to its end; undecodable bytes give
    // LastResult UnknownImageFormat and size 0 x 0.
    explicit TGPImage(rtl::TStream& stream);
    ~TGPImage();
    TGPImage(const TGPImage&) = delete;
    TGPImage& operator=(const TGPImage&) = delete;

    TGPImageFormat GetFormat() const;
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    Status LastResult() const { return FLastResult; }
    // The decoded picture, or nullptr.
    const gui::TGraphic* Graphic() const { return FGraphic.get(); }

private:
    std::unique_ptr<gui::TGraphic> FGraphic;
    TGPImageFormat FFormat = TGPImageFormat::ifUndefined;
    Status FLastResult = Status::Ok;
};

// Drawing on a canvas (not owned; it must outlive the object).
class TGPGraphics {
public:
    explicit TGPGraphics(gui::TCanvas* canvas) : FCanvas(canvas) {}

    // The image at its own size with its top-left corner at (x, y).
    Status DrawImage(const TGPImage* image, int x, int y);
    // The image scaled into the rectangle (x, y, w, h).
    Status DrawImageRect(const TGPImage* image, int x, int y, int w, int h);
    // The last failure, which is then forgotten.
    Status GetLastStatus();

private:
    Status Record(Status s);
    gui::TCanvas* FCanvas;
    Status FLastResult = Status::Ok;
};

} // namespace gridbase
