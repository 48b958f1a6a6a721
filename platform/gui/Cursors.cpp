// Cursor and icon files: a directory of images, each a DIB whose height
// counts the colour image and the AND mask below it, or a PNG.

#include "platform/gui/Cursors.h"

#include <cstring>

#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/Resources.h"

namespace gui {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

[[noreturn]] void Invalid() { throw EInvalidGraphic("Invalid cursor file"); }

} // namespace

TCursorImage DecodeCursorFile(const uint8_t* data, std::size_t size)
{
    if (!data || size < 6 + 16 || U16(data) != 0 || (U16(data + 2) != 1 && U16(data + 2) != 2) ||
        U16(data + 4) == 0)
        Invalid();
    const bool cursor = U16(data + 2) == 2;
    const uint8_t* e = data + 6;
    uint32_t bytes = U32(e + 8), offset = U32(e + 12);
    if (offset > size || bytes > size - offset || bytes < 12) Invalid();
    const uint8_t* img = data + offset;
    TCursorImage out;
    out.Image = std::make_unique<TPngImage>();
    if (cursor) out.HotSpot = {U16(e + 4), U16(e + 6)};
    if (LooksLikePng(img, bytes)) {
        TBytesStream s(img, bytes);
        out.Image->LoadFromStream(s);
        return out;
    }
    // The DIB: halve the height for the colour image, then apply the mask.
    uint32_t hdr = U32(img);
    if (hdr < 40 || hdr > bytes) Invalid();
    std::vector<uint8_t> info(img, img + bytes);
    int32_t fullHeight = static_cast<int32_t>(U32(img + 8));
    int h = fullHeight / 2, w = static_cast<int32_t>(U32(img + 4));
    if (w <= 0 || h <= 0 || w > 1024 || h > 1024) Invalid();
    uint32_t hh = static_cast<uint32_t>(h);
    std::memcpy(info.data() + 8, &hh, 4);
    int bpp = U16(img + 14);
    uint32_t clrUsed = U32(img + 32);
    std::size_t colors = bpp <= 8 ? (clrUsed ? clrUsed : (1u << bpp)) : 0;
    std::size_t bitsAt = hdr + 4 * colors;
    std::size_t xorSize = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4 * h;
    std::size_t maskRow = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    if (bitsAt + xorSize > bytes) Invalid();
    QImage color = DecodeDib(info.data(), bitsAt, img + bitsAt, xorSize);
    if (color.isNull()) Invalid();
    QImage argb = color.convertToFormat(QImage::Format_ARGB32);
    const uint8_t* mask = img + bitsAt + xorSize;
    bool haveMask = bitsAt + xorSize + maskRow * h <= bytes;
    for (int y = 0; y < h && haveMask; ++y) {
        const uint8_t* row = mask + maskRow * (h - 1 - y);
        QRgb* dst = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < w; ++x)
            if ((row[x >> 3] >> (7 - (x & 7))) & 1) dst[x] = 0;
    }
    out.Image->Data().image = argb;
    out.Image->Data().colorType = PNG_COLOR_RGBALPHA;
    return out;
}

TCursorImage LoadCursorResource(const std::string& name)
{
    const rtl::TResource* r = rtl::FindResource(name, rtl::TResourceType::Cursor);
    if (!r) r = rtl::FindResource(name, rtl::TResourceType::Icon);
    if (!r) throw rtl::EResNotFound("Resource " + name + " not found");
    return DecodeCursorFile(r->Data, r->Size);
}

TCursorImage LoadCursorResource(int id)
{
    const rtl::TResource* r = rtl::FindResource(id, rtl::TResourceType::Cursor);
    if (!r) r = rtl::FindResource(id, rtl::TResourceType::Icon);
    if (!r) throw rtl::EResNotFound("Resource #" + std::to_string(id) + " not found");
    return DecodeCursorFile(r->Data, r->Size);
}

} // namespace gui
