// The picture cache: segment streams in memory or in temporary files.

#include "report/qlrPictureCache.h"

#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrUtils.h"
#include "report/qlrXML.h"

namespace qlr {

int64_t TqlrMemoryStream::Seek(int64_t offset, rtl::TSeekOrigin origin)
{
    if (Sz != 0 && offset == 0 && origin == rtl::TSeekOrigin::soEnd) return Sz;
    return rtl::TMemoryStream::Seek(offset, origin);
}

int64_t TqlrFileStream::Seek(int64_t offset, rtl::TSeekOrigin origin)
{
    if (Sz != 0 && offset == 0 && origin == rtl::TSeekOrigin::soEnd) return Sz;
    return rtl::TFileStream::Seek(offset, origin);
}

TqlrPictureCache::TqlrPictureCache() = default;

TqlrPictureCache::~TqlrPictureCache()
{
    Clear();
}

void TqlrPictureCache::Clear()
{
    for (std::size_t i = 0; i < FSegments.size(); ++i) {
        FSegments[i].reset();
        if (FUseFileCache && i < FTempFile.size()) rtl::DeleteFile(FTempFile[i]);
    }
    FSegments.clear();
    FTempFile.clear();
    FItems.clear();
}

void TqlrPictureCache::SetUseFileCache(bool v)
{
    if (FSegments.empty()) FUseFileCache = v;
}

void TqlrPictureCache::SetTempDir(const std::string& v)
{
    if (FSegments.empty()) FTempDir = v;
}

void TqlrPictureCache::AddSegment()
{
    if (FUseFileCache) {
        std::string name = rtl::CreateTempFile(FTempDir.empty() ? GetTempFolder() : FTempDir, "qlPic");
        FSegments.push_back(std::make_unique<TqlrFileStream>(name, rtl::fmOpenReadWrite));
        FTempFile.push_back(name);
    } else {
        FSegments.push_back(std::make_unique<TqlrMemoryStream>());
    }
}

rtl::TStream& TqlrPictureCache::StartEntry()
{
    if (FSegments.empty() || FSegments.back()->Size() >= FSegmentLimit) AddSegment();
    rtl::TStream& seg = *FSegments.back();
    TqlrCacheItem item;
    item.Segment = static_cast<int>(FSegments.size()) - 1;
    item.Offset = static_cast<uint32_t>(seg.Size());
    FItems.push_back(item);
    seg.SetPosition(item.Offset);
    return seg;
}

void TqlrPictureCache::SetSz(int segment, uint32_t sz)
{
    rtl::TStream* s = FSegments[static_cast<std::size_t>(segment)].get();
    if (auto* m = dynamic_cast<TqlrMemoryStream*>(s)) m->Sz = sz;
    else if (auto* f = dynamic_cast<TqlrFileStream*>(s)) f->Sz = sz;
}

void TqlrPictureCache::AddPicture(TqlrPictureView* picture)
{
    gui::TGraphic* graphic = picture->Picture()->Graphic();
    if (!graphic || graphic->Empty()) {
        picture->SetImageIndex(0);
        return;
    }
    picture->SetImageIndex(Count() + 1);
    rtl::TStream& seg = StartEntry();
    graphic->SaveToStream(seg);
}

void TqlrPictureCache::GetPicture(TqlrPictureView* picture)
{
    int index = picture->ImageIndex();
    if (index < 1 || index > Count()) {
        picture->Picture()->SetGraphic(nullptr);
        return;
    }
    if (FSegments.empty()) return;
    const TqlrCacheItem& item = FItems[static_cast<std::size_t>(index - 1)];
    rtl::TStream& seg = *FSegments[static_cast<std::size_t>(item.Segment)];
    uint32_t size;
    if (index < Count() && FItems[static_cast<std::size_t>(index)].Segment == item.Segment)
        size = FItems[static_cast<std::size_t>(index)].Offset - item.Offset;
    else
        size = static_cast<uint32_t>(seg.Size()) - item.Offset;
    // The entry alone, so that a decoder reading to the end stops at it.
    rtl::TMemoryStream entry;
    seg.SetPosition(item.Offset);
    SetSz(item.Segment, item.Offset + size);
    if (size > 0) entry.CopyFrom(seg, size);
    SetSz(item.Segment, 0);
    entry.SetPosition(0);
    picture->LoadPictureFromStream(entry, true);
}

void TqlrPictureCache::SaveToXML(TqlrXMLItem* item)
{
    item->Clear();
    for (auto& seg : FSegments) seg->SetPosition(0);
    for (int i = 0; i < Count(); ++i) {
        const TqlrCacheItem& it = FItems[static_cast<std::size_t>(i)];
        rtl::TStream& seg = *FSegments[static_cast<std::size_t>(it.Segment)];
        uint32_t end = (i + 1 < Count() && FItems[static_cast<std::size_t>(i + 1)].Segment == it.Segment)
                           ? FItems[static_cast<std::size_t>(i + 1)].Offset
                           : static_cast<uint32_t>(seg.Size());
        rtl::TMemoryStream bytes;
        seg.SetPosition(it.Offset);
        if (end > it.Offset) bytes.CopyFrom(seg, end - it.Offset);
        TqlrXMLItem* child = item->Add();
        child->SetName("item");
        child->SetText("stream=\"" + StreamToHexText(bytes) + "\"");
    }
}

void TqlrPictureCache::LoadFromXML(TqlrXMLItem* item)
{
    Clear();
    for (int i = 0; i < item->Count(); ++i) {
        std::string hex = item->Items(i)->Prop("stream");
        rtl::TStream& seg = StartEntry();
        rtl::TMemoryStream bytes;
        HexTextToStream(hex, bytes);
        bytes.SetPosition(0);
        if (bytes.Size() > 0) seg.CopyFrom(bytes, bytes.Size());
    }
}

} // namespace qlr
