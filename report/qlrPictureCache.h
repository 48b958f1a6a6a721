// The picture cache of prepared pages: each picture added during a run is
// stored once, as the bytes its graphic writes, in segment streams (memory,
// or "qlPic" temporary files); a picture view then carries only its 1-based
// image index.
//
// The rule a caller must know: UseFileCache and TempDir take effect only
// before the first picture; Clear deletes every file the cache made.
//
// Example:
//   qlr::TqlrPictureCache cache;
//   cache.AddPicture(view);               // view->ImageIndex() == 1
//   cache.GetPicture(other);              // other shows the same picture
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace qlr {

class TqlrPictureView;
class TqlrXMLItem;

struct TqlrCacheItem {
    int Segment = 0;
    uint32_t Offset = 0;
};

// A segment stream whose reported size can be capped (Sz, 0: none), so that
// a graphic reading "to the end" stops at its entry's end.
class TqlrMemoryStream : public rtl::TMemoryStream {
public:
    uint32_t Sz = 0;
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
};

class TqlrFileStream : public rtl::TFileStream {
public:
    using rtl::TFileStream::TFileStream;
    uint32_t Sz = 0;
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
};

class TqlrPictureCache {
public:
    TqlrPictureCache();
    ~TqlrPictureCache();
    TqlrPictureCache(const TqlrPictureCache&) = delete;
    TqlrPictureCache& operator=(const TqlrPictureCache&) = delete;

    void Clear();
    // Gives the view the next index and stores its graphic (index 0 and
    // nothing stored for a view without graphic).
    void AddPicture(TqlrPictureView* picture);
    // Loads the view's picture from its index (cleared for an index out of
    // range).
    void GetPicture(TqlrPictureView* picture);
    void SaveToXML(TqlrXMLItem* item);
    void LoadFromXML(TqlrXMLItem* item);

    bool UseFileCache() const { return FUseFileCache; }
    void SetUseFileCache(bool v);
    const std::string& TempDir() const { return FTempDir; }
    void SetTempDir(const std::string& v);
    int Count() const { return static_cast<int>(FItems.size()); }
    int SegmentCount() const { return static_cast<int>(FSegments.size()); }
    const std::vector<std::string>& TempFiles() const { return FTempFile; }
    // Segments grow to this size before a new one starts.
    static constexpr uint32_t kSegmentLimit = 1789569706u;
    // For tests: a smaller limit.
    void SetSegmentLimit(uint32_t limit) { FSegmentLimit = limit; }

private:
    void AddSegment();
    // Starts an entry and returns its segment, positioned at its end.
    rtl::TStream& StartEntry();
    void SetSz(int segment, uint32_t sz);

    std::vector<TqlrCacheItem> FItems;
    std::vector<std::unique_ptr<rtl::TStream>> FSegments;
    std::vector<std::string> FTempFile;
    std::string FTempDir;
    bool FUseFileCache = false;
    uint32_t FSegmentLimit = kSegmentLimit;
};

} // namespace qlr
