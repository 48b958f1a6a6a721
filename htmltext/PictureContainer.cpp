// THTMLPicture, the picture cache and the picture container.

#include "htmltext/PictureContainer.h"

#include <algorithm>
#include <cmath>

#include "htmltext/PictureDecode.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Strings.h"

namespace htmltext {

namespace {

uint16_t Word(const std::vector<uint8_t>& d, std::size_t p)
{
    if (p + 1 >= d.size()) return 0;
    return static_cast<uint16_t>(d[p] | (d[p + 1] << 8));
}

} // namespace

std::string VersionText(uint32_t n)
{
    return std::to_string((n >> 24) & 0xFF) + "." + std::to_string((n >> 16) & 0xFF) + "." +
           std::to_string((n >> 8) & 0xFF) + "." + std::to_string(n & 0xFF);
}

// ---------------------------------------------------------------- THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

int THTMLPicture::Width() const { return FPicture ? FPicture->Width() : 0; }
int THTMLPicture::Height() const { return FPicture ? FPicture->Height() : 0; }

int THTMLPicture::MaxWidth() const
{
    if (!FPicture) return 0;
    return FAnimMaxX > 0 ? FAnimMaxX : Width();
}

int THTMLPicture::MaxHeight() const
{
    if (!FPicture) return 0;
    return FAnimMaxY > 0 ? FAnimMaxY : Height();
}

bool THTMLPicture::IsGIF() const
{
    return FData.size() > 4 && FData[0] == 'G' && FData[1] == 'I' && FData[2] == 'F' && FData[3] == '8';
}

// A graphic control extension (21 F9 04) directly followed by an image
// descriptor (2C) marks a frame.  This is a byte pattern search, so the same
// bytes inside compressed data count too.
std::vector<std::size_t> THTMLPicture::FrameMarkers() const
{
    std::vector<std::size_t> out;
    const std::size_t n = FData.size();
    for (std::size_t p = 0; p + 9 < n; ++p)
        if (FData[p] == 0x21 && FData[p + 1] == 0xF9 && FData[p + 2] == 0x04 && FData[p + 8] == 0x2C)
            out.push_back(p);
    return out;
}

int THTMLPicture::FrameCount() const
{
    if (FFrameCount != -1) return FFrameCount;
    if (!IsGIF()) return -1;
    FFrameCount = static_cast<int>(FrameMarkers().size());
    return FFrameCount;
}

int THTMLPicture::GetFrameDelay(int n)
{
    if (!IsGIF() || n < 1) return -1;
    std::vector<std::size_t> marks = FrameMarkers();
    if (static_cast<std::size_t>(n) > marks.size()) return -1;
    std::size_t p = marks[static_cast<std::size_t>(n - 1)];
    uint8_t packed = FData[p + 3];
    FFrameTransp = (packed & 1) != 0;
    // The disposal method occupies bits 2 to 4 of the packed byte.
    FFrameDisposal = static_cast<uint16_t>((packed >> 2) & 7);
    return Word(FData, p + 4);
}

void THTMLPicture::DecodePicture()
{
    FFrameXPos = FFrameYPos = 0;
    FAnimMaxX = FAnimMaxY = 0;
    std::vector<uint8_t> chosen;
    const std::vector<uint8_t>* bytes = &FData;
    if (IsGIF() && FrameCount() > 0) {
        FAnimMaxX = Word(FData, 6);
        FAnimMaxY = Word(FData, 8);
        // Header, colour table and whatever precedes the first frame, then
        // the requested frame and everything after it: the decoder shows
        // the first image it meets, which is the requested one.
        chosen.reserve(FData.size());
        int k = 1;
        bool skip = false;
        std::vector<std::size_t> marks = FrameMarkers();
        std::size_t next = 0;
        for (std::size_t p = 0; p < FData.size(); ++p) {
            if (next < marks.size() && marks[next] == p) {
                ++next;
                if (k == FFrame) {
                    FFrameXPos = Word(FData, p + 9);
                    FFrameYPos = Word(FData, p + 11);
                    FFrameXSize = Word(FData, p + 13);
                    FFrameYSize = Word(FData, p + 15);
                }
                ++k;
                skip = FFrame >= k;
            }
            if (!skip) chosen.push_back(FData[p]);
        }
        bytes = &chosen;
    }
    if (bytes->empty()) throw rtl::Exception("Empty image stream created");
    FPicture.reset();
    std::unique_ptr<gui::TGraphic> pic = DecodeImageBytes(bytes->data(), bytes->size());
    if (!pic) throw rtl::Exception("Could not load image. Invalid format");
    if (pic->Empty()) throw rtl::Exception("Could not load image");
    FPicture = std::move(pic);
}

void THTMLPicture::StoreBytes(rtl::TStream& stream)
{
    std::string all = stream.ReadAll();
    FData.assign(all.begin(), all.end());
}

void THTMLPicture::LoadFromFile(const std::string& fileName)
{
    try {
        rtl::TFileStream f(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        StoreBytes(f);
        FIsEmpty = false;
        DecodePicture();
        Changed();
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void THTMLPicture::LoadFromStream(rtl::TStream& stream)
{
    StoreBytes(stream);
    FIsEmpty = false;
    DecodePicture();
    Changed();
}

void THTMLPicture::ReadData(rtl::TStream& stream)
{
    StoreBytes(stream);
    FIsEmpty = false;
    DecodePicture();
}

void THTMLPicture::SaveToStream(rtl::TStream& stream) const
{
    if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void THTMLPicture::LoadFromResourceName(const std::string& name)
{
    const rtl::TResource* res = rtl::FindResource(name, rtl::TResourceType::RCData);
    if (!res) return;
    rtl::TResourceStream s(name, rtl::TResourceType::RCData);
    LoadFromStream(s);
}

void THTMLPicture::LoadFromResourceID(int id)
{
    rtl::TResourceStream s(id, rtl::TResourceType::RCData);
    LoadFromStream(s);
}

void THTMLPicture::LoadFromURL(const std::string& url)
{
    std::string up = rtl::UpperCase(url);
    if (up.rfind("RES://", 0) == 0) {
        FID = url;
        std::string rest = url.substr(6);
        if (!rest.empty()) LoadFromResourceName(rest);
    } else if (up.rfind("FILE://", 0) == 0) {
        FID = url;
        std::string rest = url.substr(7);
        if (!rest.empty()) LoadFromFile(rest);
    } else if (!FAsynch) {
        FURL = url;
        FID = url;
    } else if (!FThreadBusy) {
        // Nothing is fetched over a network: the request is only recorded,
        // and the picture stays busy and empty.
        FURL = url;
        FThreadBusy = true;
    }
}

void THTMLPicture::SetFrame(int value)
{
    FFrame = value;
    if (!FData.empty()) {
        DecodePicture();
        if (OnFrameChange) OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext()
{
    int count = FrameCount();
    ++FFrame;
    if (FFrame > count) FFrame = 1;
}

void THTMLPicture::FramePrev()
{
    --FFrame;
    if (FFrame < 1) FFrame = std::max(1, FrameCount());
}

bool THTMLPicture::Step()
{
    if (FFrameCount < 2 || FIsEmpty) return false;
    bool changed = false;
    if (FNextCount == -1) FNextCount = GetFrameDelay(FFrame);
    if (static_cast<int64_t>(FTimerCount) * 10 >= FNextCount) {
        FrameNext();
        DecodePicture();
        FNextCount += std::max(0, GetFrameDelay(FFrame));
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

void THTMLPicture::Assign(const rtl::TPersistent* source)
{
    FIsEmpty = true;
    FPicture.reset();
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    SetFrame(1);
    if (!source) {
        FData.clear();
        return;
    }
    const auto* src = dynamic_cast<const THTMLPicture*>(source);
    if (!src) return;
    FStretched = src->FStretched;
    FFrame = src->FFrame;
    FID = src->FID;
    FData = src->FData;
    FIsEmpty = false;
    DecodePicture();
    Changed();
}

void THTMLPicture::Draw(gui::TCanvas& canvas, const gui::TRect& r) const
{
    if (FIsEmpty || !FPicture) return;
    if (FStretched) {
        canvas.StretchDraw(r, FPicture.get());
        return;
    }
    // Natural size for the target device.
    int w = static_cast<int>(std::lround(FPicture->Width() * static_cast<double>(canvas.GetDeviceCaps(gui::LOGPIXELSX)) / FLogPixX));
    int h = static_cast<int>(std::lround(FPicture->Height() * static_cast<double>(canvas.GetDeviceCaps(gui::LOGPIXELSY)) / FLogPixY));
    if (w == FPicture->Width() && h == FPicture->Height())
        canvas.Draw(r.Left, r.Top, FPicture.get());
    else
        canvas.StretchDraw(gui::Bounds(r.Left, r.Top, w, h), FPicture.get());
}

// ------------------------------------------------------------ THTMLPictureCache

THTMLPicture* THTMLPictureCache::AddPicture()
{
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const std::string& id) const
{
    for (const auto& p : FItems)
        if (p->ID() == id) return p.get();
    return nullptr;
}

bool THTMLPictureCache::Animate()
{
    bool any = false;
    for (const auto& p : FItems)
        if (p->Step()) any = true;
    return any;
}

// ------------------------------------------------------------ container classes

RTL_PUBLISHED(TPictureItem)
{
    c.Property("Name", &TPictureItem::Name, &TPictureItem::SetName);
    c.Property("Tag", &TPictureItem::Tag, &TPictureItem::SetTag);
}

TPictureItem::TPictureItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), FPicture(std::make_unique<THTMLPicture>())
{
}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TPictureItem*>(source);
    if (!src) throw rtl::EConvertError("Invalid class typecast");
    FName = src->FName;
    FTag = src->FTag;
    FPicture->Assign(src->FPicture.get());
}

RTL_PUBLISHED(TPictureCollection) {}

TPictureCollection::TPictureCollection(rtl::TComponent* owner)
    : rtl::TOwnedCollection(owner, TPictureItem::StaticClassInfo())
{
}

bool TPictureCollection::Animate()
{
    bool any = false;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Picture()->Step()) any = true;
    return any;
}

RTL_PUBLISHED(TPictureContainer)
{
    c.Property("Version", &TPictureContainer::Version, &TPictureContainer::SetVersion);
}

TPictureContainer::TPictureContainer(rtl::TComponent* owner)
    : rtl::TComponent(owner), FItems(new TPictureCollection(this))
{
}

TPictureContainer::~TPictureContainer() { delete FItems; }

void TPictureContainer::SetItems(TPictureCollection* value)
{
    if (!value || value == FItems) return;
    delete FItems;
    FItems = value;
}

THTMLPicture* TPictureContainer::FindPicture(const std::string& name) const
{
    std::string up = rtl::UpperCase(name);
    for (int i = 0; i < FItems->Count(); ++i) {
        TPictureItem* item = FItems->Items(i);
        if (rtl::UpperCase(item->Name()) == up) return item->Picture();
    }
    return nullptr;
}

} // namespace htmltext
