// TExImage over the platform's picture decoders.

#include "controls/ExImage.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

using namespace gui;

namespace {

// a * b / c rounded to the nearest integer, as the classic MulDiv.
int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

constexpr int kHimetricPerInch = 2540;

} // namespace

TExImage::TExImage() = default;
TExImage::~TExImage() = default;

int TExImage::HimetricWidth() const { return FPicture ? MulDiv(FPicture->Width(), kHimetricPerInch, 96) : 0; }
int TExImage::HimetricHeight() const { return FPicture ? MulDiv(FPicture->Height(), kHimetricPerInch, 96) : 0; }
int TExImage::Width() const { return FPicture ? MulDiv(HimetricWidth(), FLogPixX, kHimetricPerInch) : 0; }
int TExImage::Height() const { return FPicture ? MulDiv(HimetricHeight(), FLogPixY, kHimetricPerInch) : 0; }

std::unique_ptr<TGraphic> TExImage::BuildPicture(const rtl::TMemoryStream& data)
{
    rtl::TMemoryStream copy;
    copy.Write(data.Memory(), static_cast<int64_t>(data.View().size()));
    copy.SetPosition(0);
    std::unique_ptr<TGraphic> picture;
    try {
        picture = LoadGraphicFromStream(copy);
    } catch (const rtl::Exception&) {
        picture.reset();
    }
    if (!picture || picture->Empty()) throw rtl::Exception("Could not load image. Invalid format");
    return picture;
}

// New bytes count only together with their picture: after a failure the
// previous bytes and picture stay as they were and the error goes on.
void TExImage::TakeStream(rtl::TStream& stream)
{
    rtl::TMemoryStream bytes;
    stream.SetPosition(0);
    bytes.CopyFrom(stream, 0);
    std::unique_ptr<TGraphic> picture = BuildPicture(bytes);
    FData.Clear();
    FData.Write(bytes.Memory(), static_cast<int64_t>(bytes.View().size()));
    FPicture = std::move(picture);
    FIsEmpty = false;
}

void TExImage::LoadFromStream(rtl::TStream& stream)
{
    TakeStream(stream);
    Changed();
}

void TExImage::ReadData(rtl::TStream& stream) { TakeStream(stream); }

void TExImage::LoadFromFile(const std::string& fileName)
{
    try {
        rtl::TFileStream f(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        TakeStream(f);
    } catch (const std::exception&) {
        FIsEmpty = true;
        FPicture.reset();
        return;
    }
    Changed();
}

void TExImage::SaveToStream(rtl::TStream& stream) const
{
    if (!FData.View().empty()) stream.Write(FData.Memory(), static_cast<int64_t>(FData.View().size()));
}

void TExImage::Assign(const rtl::TPersistent* source)
{
    FIsEmpty = true;
    FPicture.reset();
    if (!source) {
        FData.Clear();
        Changed();
        return;
    }
    auto* other = dynamic_cast<const TExImage*>(source);
    if (!other || other->Empty()) return;
    rtl::TMemoryStream bytes;
    bytes.Write(other->FData.Memory(), static_cast<int64_t>(other->FData.View().size()));
    FPicture = BuildPicture(bytes);
    FData.Clear();
    FData.Write(bytes.Memory(), static_cast<int64_t>(bytes.View().size()));
    FIsEmpty = false;
    Changed();
}

void TExImage::Draw(TCanvas& canvas, const TRect& r) const
{
    if (FIsEmpty || !FPicture) return;
    canvas.StretchDraw(r, FPicture.get());
}

bool IsVistaOrLater() { return sys::SystemInfo().VistaOrLater; }

} // namespace controls
