#include "app/PrnDib.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace app {

using gui::TRect;
using gui::TSize;

namespace {

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) { p[0] = static_cast<uint8_t>(v); p[1] = static_cast<uint8_t>(v >> 8); }
void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

TPrnOptions GOptions;
TPrnMessageOwner GMessageOwner;

void ShowPrnError(const std::string& text)
{
    if (GOptions.ShowErrors && GMessageOwner) GMessageOwner(text);
}

} // namespace

TPrnOptions& PrnOptions() { return GOptions; }
void PrnSetShowErrors(bool value) { GOptions.ShowErrors = value; }
void PrnSetUseBlit(bool value) { GOptions.UseBlit = value; }
void PrnSetPixelScale(int x, int y)
{
    GOptions.PixelScaleX = std::max(1, x);
    GOptions.PixelScaleY = std::max(1, y);
}
void PrnSetSourceBands(bool value) { GOptions.SourceBands = value; }
TPrnMessageOwner PrnSetMessageOwner(TPrnMessageOwner owner)
{
    std::swap(owner, GMessageOwner);
    return owner;
}

int DibRowSize(int width, int bitCount)
{
    return static_cast<int>(((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4);
}

bool AnalyseDibHeader(const TDibBlock& info, TDibHeader& h)
{
    h = {};
    if (info.size() < 12) return false;
    const uint8_t* p = info.data();
    const uint32_t size = Get32(p);
    if (size == 12) {
        h.Core = true;
        h.HeaderSize = 12;
        h.Width = Get16(p + 4);
        h.Height = Get16(p + 6);
        const int planes = Get16(p + 8);
        h.BitCount = Get16(p + 10);
        if (h.Width == 0 || h.Height == 0 || planes != 1) return false;
        switch (h.BitCount) {
        case 1: h.Colors = 2; break;
        case 4: h.Colors = 16; break;
        case 8: h.Colors = 256; break;
        case 24: h.Colors = 0; break;
        default: return false;
        }
        h.TableSize = 3 * h.Colors;
    } else if (size == 40) {
        if (info.size() < 40) return false;
        h.HeaderSize = 40;
        h.Width = static_cast<int32_t>(Get32(p + 4));
        h.Height = static_cast<int32_t>(Get32(p + 8));
        const int planes = Get16(p + 12);
        h.BitCount = Get16(p + 14);
        h.Compression = Get32(p + 16);
        h.SizeImage = Get32(p + 20);
        const uint32_t clrUsed = Get32(p + 32);
        if (h.Width <= 0 || h.Height == 0 || planes != 1) return false;
        const int b = h.BitCount;
        if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return false;
        switch (h.Compression) {
        case BI_RGB: break;
        case BI_RLE8: if (b != 8) return false; break;
        case BI_RLE4: if (b != 4) return false; break;
        case BI_BITFIELDS: if (b != 16 && b != 32) return false; break;
        default: return false;
        }
        if ((h.Compression == BI_RLE8 || h.Compression == BI_RLE4) && (h.SizeImage == 0 || h.Height < 0))
            return false;
        if (clrUsed > 256) return false;
        h.Colors = clrUsed ? static_cast<int>(clrUsed) : (b == 1 ? 2 : b == 4 ? 16 : b == 8 ? 256 : 0);
        h.Masks = h.Compression == BI_BITFIELDS ? 3 : 0;
        h.TableSize = 4 * (h.Colors + h.Masks);
    } else {
        return false;
    }
    if (info.size() < static_cast<std::size_t>(h.HeaderSize + h.TableSize)) return false;
    h.RowSize = DibRowSize(h.Width, h.BitCount);
    h.ImageSize = static_cast<int64_t>(h.RowSize) * std::abs(static_cast<int64_t>(h.Height));
    return true;
}

bool GetPageMetrics(const TPrnDevice& d, TPageMetrics& m)
{
    m = {};
    m.PrintableWidth = d.GetDeviceCaps(gui::HORZRES);
    m.PrintableHeight = d.GetDeviceCaps(gui::VERTRES);
    if (m.PrintableWidth <= 0 || m.PrintableHeight <= 0) return false;
    m.OffsetX = d.GetDeviceCaps(gui::PHYSICALOFFSETX);
    m.OffsetY = d.GetDeviceCaps(gui::PHYSICALOFFSETY);
    m.PhysicalWidth = d.GetDeviceCaps(gui::PHYSICALWIDTH);
    m.PhysicalHeight = d.GetDeviceCaps(gui::PHYSICALHEIGHT);
    if (m.PhysicalWidth == 0) m.PhysicalWidth = m.PrintableWidth;
    if (m.PhysicalHeight == 0) m.PhysicalHeight = m.PrintableHeight;
    m.MarginRight = m.PhysicalWidth - m.PrintableWidth - m.OffsetX;
    m.MarginBottom = m.PhysicalHeight - m.PrintableHeight - m.OffsetY;
    m.Margin = std::max({m.OffsetX, m.OffsetY, m.MarginRight, m.MarginBottom});
    m.AreaWidth = m.PhysicalWidth - 2 * m.Margin;
    m.AreaHeight = m.PhysicalHeight - 2 * m.Margin;
    m.AreaLeft = m.Margin - m.OffsetX;
    m.AreaTop = m.Margin - m.OffsetY;
    m.DpiX = d.GetDeviceCaps(gui::LOGPIXELSX);
    m.DpiY = d.GetDeviceCaps(gui::LOGPIXELSY);
    return m.AreaWidth > 0 && m.AreaHeight > 0;
}

TRect FitPictureRect(int w, int h, int areaWidth, int areaHeight, bool centre)
{
    const long double sx = static_cast<long double>(areaWidth) / w;
    const long double sy = static_cast<long double>(areaHeight) / h;
    int dw, dh, x, y;
    if (sy > sx) {
        dw = areaWidth;
        dh = static_cast<int>(h * sx);
        x = 0;
        y = areaHeight / 2 - dh / 2;
    } else {
        dh = areaHeight;
        dw = static_cast<int>(w * sy);
        x = areaWidth / 2 - dw / 2;
        y = 0;
    }
    if (!centre) x = y = 0;
    return gui::Bounds(x, y, dw, dh);
}

std::vector<TRect> CutTiles(const TRect& v, int tileWidth, int tileHeight)
{
    std::vector<TRect> tiles;
    if (v.IsEmpty() || tileWidth <= 0 || tileHeight <= 0) return tiles;
    for (int top = v.Top; top < v.Bottom; top += tileHeight)
        for (int left = v.Left; left < v.Right; left += tileWidth)
            tiles.push_back({left, top, std::min(left + tileWidth, v.Right), std::min(top + tileHeight, v.Bottom)});
    return tiles;
}

int PrintDIB(TPrnDevice& device, const TDibBlock& info, const TDibBlock& bits, bool centre, bool useMargins,
             const TPrnProgress& progress)
{
    TDibHeader h;
    if (!AnalyseDibHeader(info, h) || bits.empty()) return prnInvalid;
    TPageMetrics m;
    if (!GetPageMetrics(device, m)) return prnInvalid;
    if (GOptions.WholeDevice == 1) centre = useMargins = false;
    int areaW = m.AreaWidth, areaH = m.AreaHeight, areaX = m.AreaLeft, areaY = m.AreaTop;
    if (!useMargins) {
        areaW = m.PrintableWidth;
        areaH = m.PrintableHeight;
        areaX = areaY = 0;
    }
    const int W = h.Width, H = std::abs(h.Height);
    const TRect dest = FitPictureRect(W, H, areaW, areaH, centre);
    int saved = 0;
    if (GOptions.WholeDevice != 1) {
        saved = device.SaveDC();
        device.MoveWindowOrg(-areaX, -areaY);
        device.IntersectClipRect({0, 0, areaW, areaH});
    }
    const int result = PrintDIBRect(device, dest.Left, dest.Top, dest.Width(), dest.Height(), 0, 0, W, H, info,
                                    bits, true, false, {0, 0, areaW, areaH}, progress);
    if (saved) device.RestoreDC(saved);
    return result;
}

namespace {

// Copies pixel (column) of a row at any bit depth.
inline void CopyPixel(const uint8_t* srcRow, int srcCol, uint8_t* dstRow, int dstCol, int bitCount)
{
    switch (bitCount) {
    case 1: {
        const int bit = (srcRow[srcCol >> 3] >> (7 - (srcCol & 7))) & 1;
        uint8_t& d = dstRow[dstCol >> 3];
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (dstCol & 7));
        d = bit ? (d | mask) : (d & ~mask);
        break;
    }
    case 4: {
        const uint8_t s = srcRow[srcCol >> 1];
        const uint8_t nib = (srcCol & 1) ? (s & 0x0F) : (s >> 4);
        uint8_t& d = dstRow[dstCol >> 1];
        d = (dstCol & 1) ? static_cast<uint8_t>((d & 0xF0) | nib) : static_cast<uint8_t>((d & 0x0F) | (nib << 4));
        break;
    }
    default: {
        const int bytes = bitCount / 8;
        std::memcpy(dstRow + dstCol * bytes, srcRow + srcCol * bytes, static_cast<std::size_t>(bytes));
    }
    }
}

struct TJob {
    TPrnDevice* Device;
    const TDibHeader* Header;      // of the working image
    const TDibBlock* WorkInfo;     // 40-byte header + table
    const uint8_t* Pixels;         // uncompressed pixels
    int64_t FirstRow;              // offset of the top row
    int64_t RowStep;               // signed
    int DestX, DestY;
    int SourceX, SourceY;
    long double SrcPerDestX, SrcPerDestY;
    int TileCount;
    const TPrnProgress* Progress;
    bool UseBlit;
};

// Builds and sends the band of one tile; false when the tile fails or the
// progress callback asked to stop.
bool HandleTile(TJob& job, const TRect& tile, int tileNo)
{
    const TPrnOptions& o = GOptions;
    const TDibHeader& h = *job.Header;
    const int tw = tile.Width(), th = tile.Height();
    int bw, bh;
    if (o.SourceBands) {
        bw = std::max(1, static_cast<int>(tw * job.SrcPerDestX / o.PixelScaleX));
        bh = std::max(1, static_cast<int>(th * job.SrcPerDestY / o.PixelScaleY));
    } else {
        bw = std::max(1, tw / o.PixelScaleX);
        bh = std::max(1, th / o.PixelScaleY);
    }
    auto report = [&]() { return !*job.Progress || (*job.Progress)(tileNo, job.TileCount) != 0; };

    if (!o.BuildBands) {
        if (o.Frames == 1) job.Device->DrawCross(tile, 1);
        return report();
    }

    const int bandRow = DibRowSize(bw, h.BitCount);
    TDibBlock info = *job.WorkInfo;
    Put32(&info[4], static_cast<uint32_t>(bw));
    Put32(&info[8], static_cast<uint32_t>(bh));
    Put32(&info[20], static_cast<uint32_t>(static_cast<int64_t>(bandRow) * bh));
    TDibBlock band;
    try {
        band.assign(static_cast<std::size_t>(bandRow) * bh, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }

    const int lastCol = h.Width - 1, lastRow = std::abs(h.Height) - 1;
    const int c0 = static_cast<int>((tile.Left - job.DestX) * job.SrcPerDestX);
    const int r0 = static_cast<int>((tile.Top - job.DestY) * job.SrcPerDestY);
    for (int i = 0; i < bh; ++i) {
        int srcRow;
        if (o.SourceBands) srcRow = r0 + i * o.PixelScaleY + job.SourceY;
        else srcRow = static_cast<int>((tile.Top - job.DestY + i * o.PixelScaleY) * job.SrcPerDestY) + job.SourceY;
        srcRow = std::min(srcRow, lastRow);
        const uint8_t* src = job.Pixels + job.FirstRow + job.RowStep * srcRow;
        uint8_t* dst = band.data() + static_cast<int64_t>(bandRow) * (bh - 1 - i);
        for (int j = 0; j < bw; ++j) {
            int srcCol;
            if (o.SourceBands) srcCol = c0 + j * o.PixelScaleX + job.SourceX;
            else srcCol = static_cast<int>((tile.Left - job.DestX + j * o.PixelScaleX) * job.SrcPerDestX) + job.SourceX;
            CopyPixel(src, std::min(srcCol, lastCol), dst, j, h.BitCount);
        }
        if (i % 64 == 0 && !report()) return false;
    }

    if (o.OutputBands) {
        const TRect source{0, 0, bw, bh};
        const TRect dest = o.SourceBands ? tile : gui::Bounds(tile.Left, tile.Top, bw * o.PixelScaleX, bh * o.PixelScaleY);
        const bool stretch = !(o.PixelScaleX == 1 && o.PixelScaleY == 1 && bw == dest.Width() && bh == dest.Height());
        if (!job.UseBlit) {
            if (!job.Device->StretchDIBits(dest, source, info, band)) {
                if (o.BlitFallback == 1) {
                    ShowPrnError(o.PixelScaleX != 1 || o.PixelScaleY != 1 ? "StretchDIBits failed! Trying StretchBlt"
                                                                           : "StretchDIBits failed! Trying BitBlt");
                    job.UseBlit = true;
                } else {
                    ShowPrnError("StretchDIBits failed");
                    return false;
                }
            }
        }
        if (job.UseBlit && !job.Device->BlitBand(dest, source, info, band, stretch)) {
            ShowPrnError(stretch ? "StretchBlt failed" : "BitBlt failed");
            return false;
        }
    }
    if (o.SleepMs >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(o.SleepMs));
    if (o.Frames == 1) {
        const int dpi = job.Device->GetDeviceCaps(gui::LOGPIXELSX);
        if (!job.Device->DrawCross(tile, std::max(1, dpi / 144))) ShowPrnError("Frames failed");
    }
    if (o.FlushEachTile) job.Device->Flush();
    return report();
}

} // namespace

bool IsPaletteDevice(const TPrnDevice& device)
{
    return device.GetDeviceCaps(gui::BITSPIXEL) * device.GetDeviceCaps(gui::PLANES) <= 8 &&
           (device.GetDeviceCaps(gui::RASTERCAPS) & gui::RC_PALETTE) != 0;
}

namespace {

// The palette step: selects the palette the mode asks for and puts the
// earlier one back when the job ends, however it ends.
class TPaletteStep {
public:
    TPaletteStep(TPrnDevice& device, const TPrnPalette* given, bool create, bool background, const TDibBlock& work,
                 int colors)
        : FDevice(device)
    {
        const bool paletteDevice = IsPaletteDevice(device);
        const TPrnPalette* chosen = nullptr;
        bool fromTable = false;
        switch (GOptions.PaletteMode) {
        case 1: chosen = given; break;
        case 2: fromTable = paletteDevice; break;
        default:
            if (paletteDevice) {
                chosen = given;
                fromTable = !given && create;
            }
            break;
        }
        if (fromTable && colors > 0) {
            // One entry per colour of the table (its quads are blue, green, red).
            for (int i = 0; i < colors; ++i) {
                const uint8_t* q = &work[static_cast<std::size_t>(40 + 4 * i)];
                FCreated.Entries.push_back(q[2] | (q[1] << 8) | (static_cast<uint32_t>(q[0]) << 16));
            }
            chosen = &FCreated;
        }
        if (!chosen) return;
        FPrevious = device.SelectPalette(*chosen, background);
        device.RealizePalette();
        FSelected = true;
    }
    ~TPaletteStep()
    {
        if (FSelected) FDevice.RestorePalette(FPrevious);
    }
    TPaletteStep(const TPaletteStep&) = delete;
    TPaletteStep& operator=(const TPaletteStep&) = delete;

private:
    TPrnDevice& FDevice;
    TPrnPalette FCreated;
    int FPrevious = 0;
    bool FSelected = false;
};

} // namespace

int PrintDIBRect(TPrnDevice& device, int destX, int destY, int destWidth, int destHeight, int sourceX, int sourceY,
                 int sourceWidth, int sourceHeight, const TDibBlock& info, const TDibBlock& bits,
                 bool forceBackground, bool createPalette, const TRect& clip, const TPrnProgress& progress,
                 const TPrnPalette* palette)
{
    TDibHeader h;
    if (!AnalyseDibHeader(info, h) || bits.empty() || sourceX < 0 || sourceY < 0 || sourceWidth <= 0 ||
        sourceHeight <= 0 || destWidth <= 0 || destHeight <= 0)
        return destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0 ? prnNothing : prnInvalid;

    // The working header: always a 40-byte info header with RGB quads.
    TDibBlock work;
    try {
        work.assign(static_cast<std::size_t>(40 + 4 * (h.Colors + h.Masks)), 0);
    } catch (const std::bad_alloc&) {
        return prnNoMemory;
    }
    if (h.Core) {
        Put32(&work[0], 40);
        Put32(&work[4], static_cast<uint32_t>(h.Width));
        Put32(&work[8], static_cast<uint32_t>(h.Height));
        Put16(&work[12], 1);
        Put16(&work[14], static_cast<uint32_t>(h.BitCount));
        Put32(&work[16], BI_RGB);
        Put32(&work[20], static_cast<uint32_t>(h.ImageSize));
        Put32(&work[32], static_cast<uint32_t>(h.Colors));
        Put32(&work[36], static_cast<uint32_t>(h.Colors));
        for (int i = 0; i < h.Colors; ++i) {
            const uint8_t* t = info.data() + 12 + 3 * i;
            work[40 + 4 * i] = t[0];
            work[41 + 4 * i] = t[1];
            work[42 + 4 * i] = t[2];
        }
    } else {
        std::memcpy(work.data(), info.data(), work.size());
    }

    const int imageH = std::abs(h.Height);
    if (static_cast<int64_t>(sourceX) + sourceWidth > h.Width || static_cast<int64_t>(sourceY) + sourceHeight > imageH)
        return prnInvalid;
    const TRect dest{destX, destY, destX + destWidth, destY + destHeight};
    TRect visible;
    if (!gui::IntersectRect(visible, dest, clip)) return prnNothing;

    // Run-length images are expanded first, on a background of the first
    // pure white entry of the colour table.
    TDibBlock expanded;
    const uint8_t* pixels = bits.data();
    if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4) {
        if (bits.size() < h.SizeImage) return prnInvalid;
        int white = 0;
        const int searched = h.Compression == BI_RLE4 ? std::min(h.Colors, 16) : h.Colors;
        for (int i = 0; i < searched; ++i) {
            const uint8_t* q = &work[40 + 4 * i];
            if (q[0] == 255 && q[1] == 255 && q[2] == 255) { white = i; break; }
        }
        try {
            expanded.assign(static_cast<std::size_t>(h.ImageSize),
                            static_cast<uint8_t>(h.Compression == BI_RLE4 ? (white & 15) * 17 : white));
        } catch (const std::bad_alloc&) {
            return prnNoMemory;
        }
        if (!gui::DecodeDibRle(bits.data(), h.SizeImage, h.BitCount, h.Width, imageH, expanded.data(),
                               static_cast<std::size_t>(h.RowSize)))
            return prnConvertFailed;
        Put32(&work[16], BI_RGB);
        Put32(&work[20], static_cast<uint32_t>(h.ImageSize));
        pixels = expanded.data();
        h.Compression = BI_RGB;
    } else if (static_cast<int64_t>(bits.size()) < h.ImageSize) {
        return prnInvalid;
    }

    TJob job;
    job.Device = &device;
    job.Header = &h;
    job.WorkInfo = &work;
    job.Pixels = pixels;
    if (h.Height > 0) {
        job.FirstRow = h.ImageSize - h.RowSize;
        job.RowStep = -h.RowSize;
    } else {
        job.FirstRow = 0;
        job.RowStep = h.RowSize;
    }
    job.DestX = destX;
    job.DestY = destY;
    job.SourceX = sourceX;
    job.SourceY = sourceY;
    job.SrcPerDestX = static_cast<long double>(sourceWidth) / destWidth;
    job.SrcPerDestY = static_cast<long double>(sourceHeight) / destHeight;
    job.Progress = &progress;
    job.UseBlit = GOptions.UseBlit;

    const TPaletteStep paletteStep(device, palette, createPalette, forceBackground, work, h.Colors);
    const TSize screen = device.DisplaySize();
    int tileW = std::max(1, screen.cx), tileH = std::max(1, screen.cy);
    if (!(device.GetDeviceCaps(gui::RASTERCAPS) & gui::RC_BITMAP64))
        tileH = std::max(1, 65503 / DibRowSize(tileW, h.BitCount));

    const std::vector<TRect> tiles = CutTiles(visible, tileW, tileH);
    job.TileCount = static_cast<int>(tiles.size());
    int tileNo = 0;
    for (const TRect& tile : tiles) {
        ++tileNo;
        bool ok;
        try {
            ok = HandleTile(job, tile, tileNo);
        } catch (...) {
            ShowPrnError("CustomFormTileCallbackFn Exception");
            ok = false;
        }
        if (!ok) return prnTileFailed;
    }
    return prnPrinted;
}

// ------------------------------------------------------------ canvas device

int TCanvasPrnDevice::GetDeviceCaps(int index) const { return FCanvas.GetDeviceCaps(index); }
int TCanvasPrnDevice::SaveDC() { return FCanvas.SaveDC(); }
void TCanvasPrnDevice::RestoreDC(int saved) { FCanvas.RestoreDC(saved); }
void TCanvasPrnDevice::MoveWindowOrg(int dx, int dy) { FCanvas.MoveWindowOrg(dx, dy); }
void TCanvasPrnDevice::IntersectClipRect(const TRect& r) { FCanvas.IntersectClipRect(r); }

bool TCanvasPrnDevice::StretchDIBits(const TRect& dest, const TRect& source, const TDibBlock& info,
                                     const TDibBlock& bits)
{
    return FCanvas.StretchDIBits(dest, source, info.data(), info.size(), bits.data(), bits.size());
}

bool TCanvasPrnDevice::BlitBand(const TRect& dest, const TRect& source, const TDibBlock& info,
                                const TDibBlock& bits, bool stretch)
{
    // The device bitmap is made from the band as a BMP file.
    rtl::TMemoryStream stream;
    uint8_t fileHeader[14] = {'B', 'M'};
    Put32(fileHeader + 2, static_cast<uint32_t>(14 + info.size() + bits.size()));
    Put32(fileHeader + 10, static_cast<uint32_t>(14 + info.size()));
    stream.WriteBuffer(fileHeader, 14);
    stream.WriteBuffer(info.data(), static_cast<int64_t>(info.size()));
    stream.WriteBuffer(bits.data(), static_cast<int64_t>(bits.size()));
    stream.SetPosition(0);
    gui::TBitmap bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const std::exception&) {
        return false;
    }
    if (!stretch && source.Width() == dest.Width() && source.Height() == dest.Height())
        FCanvas.Draw(dest.Left, dest.Top, &bitmap);
    else
        FCanvas.CopyRect(dest, bitmap.Canvas(), source);
    return true;
}

bool TCanvasPrnDevice::DrawCross(const TRect& r, int width)
{
    FCanvas.Pen()->SetColor(gui::clBlack);
    FCanvas.Pen()->SetWidth(width);
    FCanvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    FCanvas.MoveTo(r.Left, cy);
    FCanvas.LineTo(r.Right, cy);
    FCanvas.MoveTo(cx, r.Top);
    FCanvas.LineTo(cx, r.Bottom);
    return true;
}

} // namespace app
