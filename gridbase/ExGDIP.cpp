// ExGDIP: images decoded by the platform's readers and drawn on a canvas.
#include "gridbase/ExGDIP.h"

#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"

namespace gridbase {

TGPImage::TGPImage(rtl::TStream& stream)
{
    try {
        FGraphic = gui::LoadGraphicFromStream(stream);
    } catch (const std::exception&) {
        FGraphic.reset();  // a damaged file decodes to nothing
    }
    if (FGraphic && FGraphic->Empty()) FGraphic.reset();
    if (!FGraphic) {
        FLastResult = Status::UnknownImageFormat;
        return;
    }
    if (dynamic_cast<gui::TBitmap*>(FGraphic.get())) FFormat = TGPImageFormat::ifBMP;
    else if (dynamic_cast<gui::TPngImage*>(FGraphic.get())) FFormat = TGPImageFormat::ifPNG;
    else if (dynamic_cast<gui::TJPEGImage*>(FGraphic.get())) FFormat = TGPImageFormat::ifJPEG;
}

TGPImage::~TGPImage() = default;

TGPImageFormat TGPImage::GetFormat() const { return FFormat; }

uint32_t TGPImage::GetWidth() const { return FGraphic ? static_cast<uint32_t>(FGraphic->Width()) : 0; }

uint32_t TGPImage::GetHeight() const { return FGraphic ? static_cast<uint32_t>(FGraphic->Height()) : 0; }

Status TGPGraphics::Record(Status s)
{
    if (s != Status::Ok) FLastResult = s;
    return s;
}

Status TGPGraphics::DrawImage(const TGPImage* image, int x, int y)
{
    if (!FCanvas || !image || !image->Graphic()) return Record(Status::InvalidParameter);
    FCanvas->Draw(x, y, image->Graphic());
    return Status::Ok;
}

Status TGPGraphics::DrawImageRect(const TGPImage* image, int x, int y, int w, int h)
{
    if (!FCanvas || !image || !image->Graphic()) return Record(Status::InvalidParameter);
    if (w <= 0 || h <= 0) return Status::Ok;
    FCanvas->StretchDraw(gui::TRect(x, y, x + w, y + h), image->Graphic());
    return Status::Ok;
}

Status TGPGraphics::GetLastStatus()
{
    const Status s = FLastResult;
    FLastResult = Status::Ok;
    return s;
}

} // namespace gridbase
