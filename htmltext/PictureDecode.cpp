// Picture loader: GIF through giflib, the other formats through the
// graphics layer's decoders.

#include "htmltext/PictureDecode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace htmltext {

namespace {

struct MemSource {
    const uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

int ReadMem(GifFileType* gif, GifByteType* buf, int len)
{
    auto* src = static_cast<MemSource*>(gif->UserData);
    if (len <= 0) return 0;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(len), src->size - src->pos);
    std::memcpy(buf, src->data + src->pos, n);
    src->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* g) const
    {
        int err = 0;
        DGifCloseFile(g, &err);
    }
};

// The first image of a GIF stream as a bitmap of its own size, the
// transparent index (from the graphic control extension before it) drawn
// transparent.
std::unique_ptr<gui::TGraphic> DecodeGif(const uint8_t* data, std::size_t size)
{
    MemSource src{data, size, 0};
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&src, ReadMem, &err));
    if (!gif) return nullptr;
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return nullptr;
        if (type == TERMINATE_RECORD_TYPE) return nullptr;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR) return nullptr;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4)
                transparent = (ext[1] & 1) ? ext[4] : -1;
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) return nullptr;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return nullptr;
        const GifImageDesc& d = gif->Image;
        const int w = d.Width, h = d.Height;
        if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > (int64_t{1} << 26)) return nullptr;
        ColorMapObject* cmap = d.ColorMap ? d.ColorMap : gif->SColorMap;
        std::vector<GifPixelType> pixels(static_cast<std::size_t>(w) * h, 0);
        if (d.Interlace) {
            static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < h; y += step[pass])
                    if (DGifGetLine(gif.get(), &pixels[static_cast<std::size_t>(y) * w], w) == GIF_ERROR)
                        return nullptr;
        } else {
            for (int y = 0; y < h; ++y)
                if (DGifGetLine(gif.get(), &pixels[static_cast<std::size_t>(y) * w], w) == GIF_ERROR)
                    return nullptr;
        }
        // A key colour that no palette entry uses stands for the
        // transparent pixels.
        auto entry = [&](int i) -> gui::TColor {
            if (!cmap || i < 0 || i >= cmap->ColorCount) return gui::clBlack;
            const GifColorType& c = cmap->Colors[i];
            return gui::RGB(c.Red, c.Green, c.Blue);
        };
        gui::TColor key = gui::RGB(255, 0, 255);
        if (transparent >= 0 && cmap) {
            for (int tries = 0; tries < 512; ++tries) {
                bool used = false;
                for (int i = 0; i < cmap->ColorCount && !used; ++i)
                    used = i != transparent && entry(i) == key;
                if (!used) break;
                key = gui::RGB(static_cast<uint8_t>(tries * 37), static_cast<uint8_t>(255 - tries), static_cast<uint8_t>(tries * 11));
            }
        }
        auto bmp = std::make_unique<gui::TBitmap>(w, h, gui::TPixelFormat::pf24bit);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = bmp->ScanLine(y);
            for (int x = 0; x < w; ++x) {
                int idx = pixels[static_cast<std::size_t>(y) * w + x];
                gui::TColor c = idx == transparent ? key : entry(idx);
                row[3 * x] = gui::GetBValue(c);
                row[3 * x + 1] = gui::GetGValue(c);
                row[3 * x + 2] = gui::GetRValue(c);
            }
        }
        if (transparent >= 0) {
            bmp->SetTransparentMode(gui::TTransparentMode::tmFixed);
            bmp->SetTransparentColor(key);
            bmp->SetTransparent(true);
        }
        return bmp;
    }
}

// A read-only stream over bytes held by the caller.
class TSpanStream : public rtl::TStream {
public:
    TSpanStream(const uint8_t* d, std::size_t n) : FData(d), FSize(static_cast<int64_t>(n)) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        int64_t n = std::max<int64_t>(0, std::min(count, FSize - FPos));
        if (n > 0) std::memcpy(buffer, FData + FPos, static_cast<std::size_t>(n));
        FPos += n;
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override
    {
        int64_t base = origin == rtl::TSeekOrigin::soBeginning ? 0 : origin == rtl::TSeekOrigin::soCurrent ? FPos : FSize;
        FPos = std::clamp<int64_t>(base + offset, 0, FSize);
        return FPos;
    }
    int64_t Size() override { return FSize; }

private:
    const uint8_t* FData;
    int64_t FSize;
    int64_t FPos = 0;
};

} // namespace

std::unique_ptr<gui::TGraphic> DecodeImageBytes(const uint8_t* data, std::size_t size)
{
    if (!data || size == 0) return nullptr;
    if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) return DecodeGif(data, size);
    try {
        TSpanStream s(data, size);
        return gui::LoadGraphicFromStream(s);
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace htmltext
