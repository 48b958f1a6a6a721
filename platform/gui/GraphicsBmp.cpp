// BMP files and device-independent bitmaps, read and written by hand: core
// and info headers (and their later extensions), 1 to 32 bits per pixel,
// uncompressed, run-length encoded (4 and 8 bits) and bit-field pixels.

#include "platform/gui/GraphicsQt.h"

#include <cstring>

namespace gui {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// One channel of a bit-field pixel scaled to 0..255.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Field(uint32_t m = 0) : mask(m)
    {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    uint8_t operator()(uint32_t v) const
    {
        if (!mask) return 0;
        return static_cast<uint8_t>(((v & mask) >> shift) * 255u / max);
    }
};

} // namespace

bool DecodeDibRle(const uint8_t* data, std::size_t size, int bitsPerPixel, int width, int height,
                  uint8_t* pixels, std::size_t rowSize)
{
    if (bitsPerPixel != 4 && bitsPerPixel != 8) return false;
    int x = 0, y = 0;   // y counts rows from the bottom, as stored
    auto put = [&](uint8_t index) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            uint8_t* row = pixels + static_cast<std::size_t>(y) * rowSize;
            if (bitsPerPixel == 8) {
                row[x] = index;
            } else {
                uint8_t& b = row[x / 2];
                b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (index & 0x0F))
                            : static_cast<uint8_t>((b & 0x0F) | (index << 4));
            }
        }
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < size) {
        uint8_t n = data[i], c = data[i + 1];
        i += 2;
        if (n > 0) {
            // Encoded run: n pixels of c (4 bits: its two nibbles by turns).
            for (int k = 0; k < n; ++k)
                put(bitsPerPixel == 8 ? c : static_cast<uint8_t>((k & 1) ? (c & 0x0F) : (c >> 4)));
            continue;
        }
        switch (c) {
        case 0: x = 0; ++y; break;         // end of line
        case 1: return true;               // end of bitmap
        case 2:                            // move right and up
            if (i + 1 >= size) return false;
            x += data[i];
            y += data[i + 1];
            i += 2;
            break;
        default: {                         // literal run of c pixels, padded to 16 bits
            std::size_t bytes = bitsPerPixel == 8 ? c : (c + 1u) / 2;
            if (i + bytes > size) return false;
            for (int k = 0; k < c; ++k) {
                uint8_t v = bitsPerPixel == 8 ? data[i + k]
                                              : static_cast<uint8_t>((k & 1) ? (data[i + k / 2] & 0x0F)
                                                                             : (data[i + k / 2] >> 4));
                put(v);
            }
            i += bytes + (bytes & 1);
            break;
        }
        }
    }
    return false;
}

QImage DecodeDib(const uint8_t* info, std::size_t infoSize, const uint8_t* bits, std::size_t bitsSize)
{
    if (!info || infoSize < 12) return {};
    uint32_t hdr = U32(info);
    if (hdr > infoSize) return {};
    int width, height, bpp;
    uint32_t compression = BI_RGB, clrUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool core = hdr == 12;
    std::size_t tableAt;
    if (core) {
        width = U16(info + 4);
        height = U16(info + 6);
        if (U16(info + 8) != 1) return {};
        bpp = U16(info + 10);
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return {};
        tableAt = 12;
    } else if (hdr == 40 || hdr == 52 || hdr == 56 || hdr == 64 || hdr == 108 || hdr == 124) {
        width = I32(info + 4);
        height = I32(info + 8);
        if (U16(info + 12) != 1) return {};
        bpp = U16(info + 14);
        compression = U32(info + 16);
        clrUsed = U32(info + 32);
        tableAt = hdr;
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            int count = compression == BI_ALPHABITFIELDS ? 4 : 3;
            std::size_t at = 40;
            if (hdr == 40) {
                if (infoSize < 40 + 4u * count) return {};
                tableAt = 40 + 4u * count;
            }
            for (int k = 0; k < count; ++k) masks[k] = U32(info + at + 4 * k);
        } else if (hdr >= 56) {
            masks[3] = U32(info + 52);
        }
    } else {
        return {};
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) return {};
    bool topDown = height < 0;
    int h = topDown ? -height : height;
    switch (compression) {
    case BI_RGB:
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return {};
        break;
    case BI_RLE8: if (bpp != 8 || topDown) return {}; break;
    case BI_RLE4: if (bpp != 4 || topDown) return {}; break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        if ((bpp != 16 && bpp != 32) || !masks[0] || !masks[1] || !masks[2]) return {};
        break;
    default: return {};
    }
    if (static_cast<long long>(width) * h > (1LL << 28)) return {};

    // Colour table.
    std::vector<QRgb> table;
    if (bpp <= 8) {
        std::size_t maxColors = std::size_t{1} << bpp;
        std::size_t count = clrUsed ? clrUsed : maxColors;
        if (count > 256) return {};
        std::size_t entry = core ? 3 : 4;
        if (tableAt + count * entry > infoSize) {
            count = (infoSize - std::min(infoSize, tableAt)) / entry;
            if (count == 0) return {};
        }
        for (std::size_t k = 0; k < count; ++k) {
            const uint8_t* e = info + tableAt + k * entry;
            table.push_back(qRgb(e[2], e[1], e[0]));
        }
    }

    const std::size_t rowSize = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(h);
    std::vector<uint8_t> expanded;
    const uint8_t* pix = bits;
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        expanded.assign(imageSize, 0);
        DecodeDibRle(bits, bitsSize, bpp, width, h, expanded.data(), rowSize);
        pix = expanded.data();
    } else if (!bits || bitsSize < imageSize) {
        return {};
    }

    Field fr, fg, fb;
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        fr = Field(masks[0]); fg = Field(masks[1]); fb = Field(masks[2]);
    } else if (bpp == 16) {
        fr = Field(0x7C00); fg = Field(0x03E0); fb = Field(0x001F);
    }

    QImage out(width, h, bpp == 32 ? QImage::Format_RGB32 : QImage::Format_BGR888);
    if (out.isNull()) return {};
    auto color = [&](std::size_t index) -> QRgb {
        return index < table.size() ? table[index] : qRgb(0, 0, 0);
    };
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = pix + rowSize * static_cast<std::size_t>(topDown ? y : h - 1 - y);
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            QRgb c;
            switch (bpp) {
            case 1: c = color((src[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: c = color((x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)); break;
            case 8: c = color(src[x]); break;
            case 16: {
                uint32_t v = U16(src + 2 * x);
                c = qRgb(fr(v), fg(v), fb(v));
                break;
            }
            case 24: c = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default: {
                uint32_t v = U32(src + 4 * x);
                c = fr.mask ? qRgb(fr(v), fg(v), fb(v)) : qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
                break;
            }
            }
            if (bpp == 32) {
                reinterpret_cast<QRgb*>(dst)[x] = c;
            } else {
                dst[3 * x] = static_cast<uchar>(qBlue(c));
                dst[3 * x + 1] = static_cast<uchar>(qGreen(c));
                dst[3 * x + 2] = static_cast<uchar>(qRed(c));
            }
        }
    }
    return out;
}

QImage DecodeBmp(const uint8_t* data, std::size_t size)
{
    if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return {};
    uint32_t offBits = U32(data + 10);
    uint32_t hdr = U32(data + 14);
    if (hdr < 12 || 14 + static_cast<std::size_t>(hdr) > size) return {};
    // The info block runs to the pixels; a zero or short offset means the
    // pixels follow the header and a full colour table.
    std::size_t infoEnd = offBits;
    if (offBits < 14 + hdr || offBits > size) return {};
    return DecodeDib(data + 14, infoEnd - 14, data + offBits, size - offBits);
}

void EncodeBmp(const QImage& image, int bitsPerPixel, rtl::TStream& out)
{
    const int w = image.width(), h = image.height();
    const int bpp = bitsPerPixel == 32 ? 32 : 24;
    const std::size_t rowSize = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(h);
    uint8_t head[54] = {};
    auto put16 = [&](int at, uint32_t v) { head[at] = v & 0xFF; head[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](int at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    head[0] = 'B';
    head[1] = 'M';
    put32(2, static_cast<uint32_t>(54 + imageSize));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    put16(26, 1);
    put16(28, static_cast<uint32_t>(bpp));
    put32(34, static_cast<uint32_t>(imageSize));
    put32(38, 3780);   // 96 dots per inch
    put32(42, 3780);
    out.WriteBuffer(head, sizeof head);
    if (image.isNull()) return;
    const QImage src = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint8_t> row(rowSize, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (bpp == 32) {
                std::memcpy(&row[4 * x], &s[x], 4);
            } else {
                row[3 * x] = static_cast<uint8_t>(qBlue(s[x]));
                row[3 * x + 1] = static_cast<uint8_t>(qGreen(s[x]));
                row[3 * x + 2] = static_cast<uint8_t>(qRed(s[x]));
            }
        }
        out.WriteBuffer(row.data(), static_cast<int64_t>(rowSize));
    }
}

} // namespace gui
