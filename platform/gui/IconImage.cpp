// Icon and GIF decoding.

#include "platform/gui/IconImage.h"

#include <cstring>

#include "platform/gui/PngImage.h"

namespace gui {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
TColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (b << 16); }

[[noreturn]] void Bad(const char* what)
{
    throw EInvalidGraphic(what);
}

// One icon image coded as a device-independent bitmap with its AND mask.
std::vector<TColor> DecodeDib(const uint8_t* p, std::size_t size, int& w, int& h)
{
    if (size < 40) Bad("Invalid icon");
    uint32_t headerSize = U32(p);
    w = static_cast<int32_t>(U32(p + 4));
    h = static_cast<int32_t>(U32(p + 8)) / 2;  // XOR image and AND mask
    int bpp = U16(p + 14);
    uint32_t colorsUsed = U32(p + 32);
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096) Bad("Invalid icon");
    std::size_t at = headerSize;
    std::vector<TColor> palette;
    if (bpp <= 8) {
        std::size_t n = colorsUsed ? colorsUsed : (1u << bpp);
        if (at + 4 * n > size) Bad("Invalid icon");
        for (std::size_t i = 0; i < n; ++i) palette.push_back(Rgb(p[at + 4 * i + 2], p[at + 4 * i + 1], p[at + 4 * i]));
        at += 4 * n;
    } else if (bpp != 24 && bpp != 32) {
        Bad("Invalid icon");
    }
    const std::size_t xorRow = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    const std::size_t andRow = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    if (at + xorRow * h > size) Bad("Invalid icon");
    const bool hasMask = at + xorRow * h + andRow * h <= size;
    std::vector<TColor> out(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = p + at + xorRow * (h - 1 - y);  // rows bottom-up
        const uint8_t* mask = hasMask ? p + at + xorRow * h + andRow * (h - 1 - y) : nullptr;
        for (int x = 0; x < w; ++x) {
            TColor c;
            bool transparent = mask && (mask[x / 8] & (0x80 >> (x % 8)));
            if (bpp == 32) {
                const uint8_t* px = row + 4 * x;
                c = Rgb(px[2], px[1], px[0]);
                if (px[3] < 128) transparent = true;
            } else if (bpp == 24) {
                const uint8_t* px = row + 3 * x;
                c = Rgb(px[2], px[1], px[0]);
            } else {
                int bitPos = x * bpp;
                int index = (row[bitPos / 8] >> (8 - bpp - bitPos % 8)) & ((1 << bpp) - 1);
                c = static_cast<std::size_t>(index) < palette.size() ? palette[static_cast<std::size_t>(index)] : 0;
            }
            out[static_cast<std::size_t>(y) * w + x] = transparent ? clNone : c;
        }
    }
    return out;
}

// The most pixels a GIF's logical screen or one of its frames may have
// (8192 x 4096).
constexpr std::size_t kMaxGifPixels = std::size_t{1} << 25;

// The LZW-coded indexes of one GIF image.
std::vector<uint8_t> LzwDecode(const std::vector<uint8_t>& data, int minCodeSize, std::size_t pixelCount)
{
    if (minCodeSize < 2 || minCodeSize > 11) Bad("Invalid GIF");
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::vector<uint16_t> prefix(4096);
    std::vector<uint8_t> suffix(4096), stack(4097);
    for (int i = 0; i < clear; ++i) suffix[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    int codeSize = minCodeSize + 1, next = end + 1, old = -1;
    uint8_t first = 0;
    std::vector<uint8_t> out;
    out.reserve(pixelCount);
    uint32_t bits = 0;
    int nbits = 0;
    std::size_t pos = 0;
    while (out.size() < pixelCount) {
        while (nbits < codeSize && pos < data.size()) {
            bits |= static_cast<uint32_t>(data[pos++]) << nbits;
            nbits += 8;
        }
        if (nbits < codeSize) break;
        int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        nbits -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = end + 1;
            old = -1;
            continue;
        }
        if (code == end) break;
        int in = code;
        std::size_t sp = 0;
        if (old < 0) {
            if (code >= clear) Bad("Invalid GIF");
            out.push_back(static_cast<uint8_t>(code));
            first = static_cast<uint8_t>(code);
            old = code;
            continue;
        }
        if (code >= next) {
            if (code > next) Bad("Invalid GIF");
            stack[sp++] = first;
            code = old;
        }
        while (code >= clear) {
            stack[sp++] = suffix[static_cast<std::size_t>(code)];
            code = prefix[static_cast<std::size_t>(code)];
        }
        first = static_cast<uint8_t>(code);
        stack[sp++] = first;
        while (sp > 0) out.push_back(stack[--sp]);
        if (next < 4096) {
            prefix[static_cast<std::size_t>(next)] = static_cast<uint16_t>(old);
            suffix[static_cast<std::size_t>(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        old = in;
    }
    out.resize(pixelCount, 0);
    return out;
}

} // namespace

// --- the decoded image ------------------------------------------------------------

TDecodedImage::TDecodedImage() = default;
TDecodedImage::~TDecodedImage() = default;

bool TDecodedImage::Empty() const
{
    return FWidth == 0 || FHeight == 0;
}

int TDecodedImage::Width() const
{
    return FWidth;
}

int TDecodedImage::Height() const
{
    return FHeight;
}

void TDecodedImage::SaveToStream(rtl::TStream& stream) const
{
    if (!FBytes.empty()) stream.WriteBuffer(FBytes.data(), static_cast<int64_t>(FBytes.size()));
}

void TDecodedImage::Draw(TCanvas& canvas, const TRect& r) const
{
    if (FBitmap) canvas.StretchDraw(r, FBitmap.get());
}

void TDecodedImage::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TDecodedImage*>(source)) {
        FBytes = s->FBytes;
        SetPixels(s->FWidth, s->FHeight, s->FPixels);
        return;
    }
    TGraphic::Assign(source);
}

TColor TDecodedImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return clNone;
    return FPixels[static_cast<std::size_t>(y) * FWidth + x];
}

void TDecodedImage::SetPixels(int w, int h, const std::vector<TColor>& pixels)
{
    FWidth = w;
    FHeight = h;
    FPixels = pixels;
    if (w <= 0 || h <= 0) {
        FBitmap.reset();
        Changed();
        return;
    }
    // A key colour the picture does not use marks the transparent pixels.
    TColor key = 0xFF00FF;
    bool anyTransparent = false;
    for (TColor c : pixels) anyTransparent |= c == clNone;
    if (anyTransparent)
        for (TColor candidate : {0xFF00FFu, 0x00FF00u, 0x010203u, 0xFEFDFCu}) {
            bool used = false;
            for (TColor c : pixels) used |= c == candidate;
            if (!used) {
                key = candidate;
                break;
            }
        }
    FBitmap = std::make_unique<TBitmap>(w, h, TPixelFormat::pf32bit);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = FBitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            TColor c = pixels[static_cast<std::size_t>(y) * w + x];
            if (c == clNone) c = key;
            row[4 * x] = static_cast<uint8_t>((c >> 16) & 0xFF);
            row[4 * x + 1] = static_cast<uint8_t>((c >> 8) & 0xFF);
            row[4 * x + 2] = static_cast<uint8_t>(c & 0xFF);
            row[4 * x + 3] = 0xFF;
        }
    }
    if (anyTransparent) {
        FBitmap->SetTransparentMode(TTransparentMode::tmFixed);
        FBitmap->SetTransparentColor(key);
        FBitmap->SetTransparent(true);
    }
    FTransparent = anyTransparent;
    Changed();
}

// --- icons ---------------------------------------------------------------------------

void TIcon::LoadFromStream(rtl::TStream& stream)
{
    std::string bytes = stream.ReadAll();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    if (bytes.size() < 6 || U16(p) != 0 || (U16(p + 2) != 1 && U16(p + 2) != 2)) Bad("Invalid icon");
    int count = U16(p + 4);
    if (count < 1 || 6 + 16 * static_cast<std::size_t>(count) > bytes.size()) Bad("Invalid icon");
    // The largest image: the most pixels, then the most colours.
    int best = -1;
    long bestArea = -1, bestBits = -1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = p + 6 + 16 * i;
        long w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        long bits = U16(e + 6);
        if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
            best = i;
            bestArea = w * h;
            bestBits = bits;
        }
    }
    const uint8_t* e = p + 6 + 16 * best;
    uint32_t size = U32(e + 8), offset = U32(e + 12);
    if (static_cast<uint64_t>(offset) + size > bytes.size()) Bad("Invalid icon");
    const uint8_t* img = p + offset;
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    int w = 0, h = 0;
    std::vector<TColor> pixels;
    if (size >= 8 && std::memcmp(img, kPng, 8) == 0) {
        rtl::TMemoryStream ms;
        ms.WriteBuffer(img, size);
        ms.SetPosition(0);
        TPngImage png;
        png.LoadFromStream(ms);
        w = png.Width();
        h = png.Height();
        pixels.resize(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[static_cast<std::size_t>(y) * w + x] =
                    png.HasAlpha() && png.Alpha(x, y) < 128 ? clNone : png.Pixels(x, y);
    } else {
        pixels = DecodeDib(img, size, w, h);
    }
    FBytes = std::move(bytes);
    SetPixels(w, h, pixels);
}

// --- GIF ---------------------------------------------------------------------------------

void TGifImage::LoadFromStream(rtl::TStream& stream)
{
    std::string bytes = stream.ReadAll();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::size_t n = bytes.size();
    if (n < 13 || std::memcmp(p, "GIF8", 4) != 0) Bad("Invalid GIF");
    const int sw = U16(p + 6), sh = U16(p + 8);
    // The header's sizes reach 65535 x 65535 (four billion pixels); a
    // picture beyond kMaxGifPixels is a damaged header, refused before the
    // room for its pixels is taken.
    if (static_cast<std::size_t>(sw) * sh > kMaxGifPixels) Bad("Invalid GIF: picture too large");
    const uint8_t flags = p[10];
    std::size_t at = 13;
    std::vector<TColor> global;
    if (flags & 0x80) {
        std::size_t entries = std::size_t{1} << ((flags & 7) + 1);
        if (at + 3 * entries > n) Bad("Invalid GIF");
        for (std::size_t i = 0; i < entries; ++i) global.push_back(Rgb(p[at + 3 * i], p[at + 3 * i + 1], p[at + 3 * i + 2]));
        at += 3 * entries;
    }
    int transparentIndex = -1;
    auto skipSubBlocks = [&]() {
        while (at < n && p[at] != 0) at += 1 + p[at];
        ++at;
    };
    while (at < n) {
        uint8_t tag = p[at++];
        if (tag == 0x3B) break;
        if (tag == 0x21) {
            if (at >= n) Bad("Invalid GIF");
            uint8_t label = p[at++];
            if (label == 0xF9 && at + 5 <= n && p[at] == 4) {
                if (p[at + 1] & 1) transparentIndex = p[at + 4];
                at += 5;
                skipSubBlocks();
            } else {
                skipSubBlocks();
            }
            continue;
        }
        if (tag != 0x2C || at + 9 > n) Bad("Invalid GIF");
        const int left = U16(p + at), top = U16(p + at + 2), w = U16(p + at + 4), h = U16(p + at + 6);
        const uint8_t iflags = p[at + 8];
        if (static_cast<std::size_t>(w) * h > kMaxGifPixels) Bad("Invalid GIF: picture too large");
        at += 9;
        std::vector<TColor> palette = global;
        if (iflags & 0x80) {
            std::size_t entries = std::size_t{1} << ((iflags & 7) + 1);
            if (at + 3 * entries > n) Bad("Invalid GIF");
            palette.clear();
            for (std::size_t i = 0; i < entries; ++i) palette.push_back(Rgb(p[at + 3 * i], p[at + 3 * i + 1], p[at + 3 * i + 2]));
            at += 3 * entries;
        }
        if (at >= n) Bad("Invalid GIF");
        int minCode = p[at++];
        std::vector<uint8_t> data;
        while (at < n && p[at] != 0) {
            std::size_t len = p[at];
            if (at + 1 + len > n) Bad("Invalid GIF");
            data.insert(data.end(), p + at + 1, p + at + 1 + len);
            at += 1 + len;
        }
        std::vector<uint8_t> indexes = LzwDecode(data, minCode, static_cast<std::size_t>(w) * h);
        // Rows in stored order, or the four passes of an interlaced image.
        std::vector<int> rowOf(static_cast<std::size_t>(h));
        if (iflags & 0x40) {
            int r = 0;
            for (int y = 0; y < h; y += 8) rowOf[static_cast<std::size_t>(r++)] = y;
            for (int y = 4; y < h; y += 8) rowOf[static_cast<std::size_t>(r++)] = y;
            for (int y = 2; y < h; y += 4) rowOf[static_cast<std::size_t>(r++)] = y;
            for (int y = 1; y < h; y += 2) rowOf[static_cast<std::size_t>(r++)] = y;
        } else {
            for (int y = 0; y < h; ++y) rowOf[static_cast<std::size_t>(y)] = y;
        }
        std::vector<TColor> pixels(static_cast<std::size_t>(sw) * sh, clNone);
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                int sx = left + x, sy = top + rowOf[static_cast<std::size_t>(r)];
                if (sx >= sw || sy >= sh) continue;
                int index = indexes[static_cast<std::size_t>(r) * w + x];
                if (index == transparentIndex) continue;
                pixels[static_cast<std::size_t>(sy) * sw + sx] =
                    static_cast<std::size_t>(index) < palette.size() ? palette[static_cast<std::size_t>(index)] : 0;
            }
        FBytes = std::move(bytes);
        SetPixels(sw, sh, pixels);
        return;  // the first frame only
    }
    Bad("Invalid GIF");
}

} // namespace gui
