// GDIPicture: the picture that keeps an image file's bytes.
#include "gridbase/GDIPicture.h"

#include "platform/rtl/Resources.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

TGDIPPicture::TGDIPPicture() = default;

TGDIPPicture::~TGDIPPicture() = default;

std::unique_ptr<TGPImage> TGDIPPicture::PrepareImage() const
{
    if (FIsEmpty || FDatastream.Size() < 1) return nullptr;
    // The image reads a copy, so that the kept bytes and their position stay.
    rtl::TMemoryStream copy;
    copy.LoadFromStream(FDatastream);
    return std::make_unique<TGPImage>(copy);
}

bool TGDIPPicture::GetImageSizes()
{
    std::unique_ptr<TGPImage> image = PrepareImage();
    if (!image) return false;
    FWidth = static_cast<int>(image->GetWidth());
    FHeight = static_cast<int>(image->GetHeight());
    return true;
}

void TGDIPPicture::Draw(gui::TCanvas& canvas, const gui::TRect& r) const
{
    std::unique_ptr<TGPImage> image = PrepareImage();
    if (!image) return;
    TGPGraphics graphics(&canvas);
    if (image->GetFormat() == TGPImageFormat::ifBMP) {
        // A bitmap keeps its own size and leaves out its corner colour.
        gui::TBitmap bitmap;
        FDatastream.SetPosition(0);
        bitmap.LoadFromStream(FDatastream);
        bitmap.SetTransparentMode(gui::TTransparentMode::tmAuto);
        bitmap.SetTransparent(true);
        canvas.Draw(r.Left, r.Top, &bitmap);
        return;
    }
    FWidth = static_cast<int>(image->GetWidth());
    FHeight = static_cast<int>(image->GetHeight());
    graphics.DrawImageRect(image.get(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

void TGDIPPicture::DrawImage(TGPGraphics& graphics, int x, int y) const
{
    std::unique_ptr<TGPImage> image = PrepareImage();
    if (image) graphics.DrawImage(image.get(), x, y);
}

void TGDIPPicture::CopyBytes(rtl::TStream& from)
{
    FDatastream.LoadFromStream(from);
}

void TGDIPPicture::Assign(const rtl::TPersistent* source)
{
    FIsEmpty = true;
    if (!source) {
        FDatastream.Clear();
        FIsEmpty = true;
        Changed();
        if (OnClear) OnClear(this);
        return;
    }
    if (const auto* pic = dynamic_cast<const TGDIPPicture*>(source)) {
        if (pic == this) {
            FIsEmpty = FDatastream.Size() == 0;
        } else {
            CopyBytes(pic->FDatastream);
            FIsEmpty = FDatastream.Size() == 0;
        }
        Changed();
    } else if (const auto* bitmap = dynamic_cast<const gui::TBitmap*>(source)) {
        rtl::TMemoryStream temp;
        bitmap->SaveToStream(temp);
        CopyBytes(temp);
        FIsEmpty = false;
        Changed();
    } else if (const auto* holder = dynamic_cast<const gui::TPicture*>(source)) {
        // A holder without a graphic copies as an empty picture.
        rtl::TMemoryStream temp;
        if (holder->Graphic()) holder->Graphic()->SaveToStream(temp);
        CopyBytes(temp);
        FIsEmpty = FDatastream.Size() == 0;
        Changed();
    } else {
        return;
    }
    GetImageSizes();
}

void TGDIPPicture::LoadFromStream(rtl::TStream& stream)
{
    CopyBytes(stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed();
}

void TGDIPPicture::SaveToStream(rtl::TStream& stream) const
{
    stream.WriteBuffer(FDatastream.Memory(), FDatastream.Size());
}

void TGDIPPicture::LoadFromFile(const std::string& fileName)
{
    try {
        FDatastream.LoadFromFile(fileName);
        FIsEmpty = false;
        if (OnClear) OnClear(this);
        GetImageSizes();
        Changed();
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromResourceName(const std::string& name)
{
    if (!rtl::FindResource(name, rtl::TResourceType::RCData)) return;
    rtl::TResourceStream stream(name, rtl::TResourceType::RCData);
    LoadFromStream(stream);
}

void TGDIPPicture::LoadFromResourceID(int id)
{
    rtl::TResourceStream stream(id, rtl::TResourceType::RCData);
    LoadFromStream(stream);
}

void TGDIPPicture::LoadFromURL(const std::string& url)
{
    const std::string upper = rtl::UpperCase(url);
    if (upper.rfind("RES://", 0) == 0) {
        if (url.size() > 6) LoadFromResourceName(url.substr(6));
    } else if (upper.rfind("FILE://", 0) == 0) {
        if (url.size() > 7) LoadFromFile(url.substr(7));
    }
}

void TGDIPPicture::ReadData(rtl::TStream& stream)
{
    CopyBytes(stream);
    FIsEmpty = false;
}

} // namespace gridbase
