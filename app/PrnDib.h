// Printing a device-independent bitmap (DIB) scaled to fill the page.  The
// page area the picture covers is cut into tiles no larger than the screen
// (and, on printers that cannot take bitmaps above 64 KB, no larger than
// that); for each tile a band bitmap is built from the picture's pixels
// under it and sent to the device on its own.
//
// A DIB is two blocks: the info block (a 12-byte core header with RGB
// triples, or a 40-byte info header with RGB quads or three colour masks)
// and the pixel block.  Every call reports failure by its result, never by
// an exception.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Types.h"

namespace gui {
class TCanvas;
class TPen;
}

namespace app {

using TDibBlock = std::vector<uint8_t>;

// Compression codes of an info header.
enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// What a header says, with the values derived from it.
struct TDibHeader {
    bool Core = false;          // 12-byte core header
    int32_t Width = 0;
    int32_t Height = 0;         // negative: rows stored top-down
    int BitCount = 0;
    uint32_t Compression = BI_RGB;
    uint32_t SizeImage = 0;     // as stated in the header (info headers)
    int Colors = 0;             // entries of the colour table
    int Masks = 0;              // colour masks (16 and 32 bits with BI_BITFIELDS)
    int RowSize = 0;            // bytes per row, padded to 4
    int64_t ImageSize = 0;      // RowSize x |Height|
    int HeaderSize = 0;         // 12 or 40
    int TableSize = 0;          // bytes of colour table or masks in the block
};
// Reads and checks a header; false for anything but the accepted headers.
bool AnalyseDibHeader(const TDibBlock& info, TDibHeader& header);
// ((width x bits + 31) div 32) x 4.
int DibRowSize(int width, int bitCount);

// A logical palette: its entries as RGB values (red in the low byte).
struct TPrnPalette {
    std::vector<uint32_t> Entries;
};

// The device a DIB goes to: the printer's canvas, or a recording device in
// tests.  Logical coordinates; MoveWindowOrg and IntersectClipRect act as
// on a canvas.
class TPrnDevice {
public:
    virtual ~TPrnDevice() = default;
    // HORZRES, VERTRES, LOGPIXELSX/Y, PHYSICAL*, RASTERCAPS, BITSPIXEL, PLANES.
    virtual int GetDeviceCaps(int index) const = 0;
    // The display's size in pixels: the largest tile.
    virtual gui::TSize DisplaySize() const = 0;
    virtual int SaveDC() = 0;
    virtual void RestoreDC(int saved) = 0;
    virtual void MoveWindowOrg(int dx, int dy) = 0;
    virtual void IntersectClipRect(const gui::TRect& r) = 0;
    // source: rectangle of the band in top-down band coordinates.
    virtual bool StretchDIBits(const gui::TRect& dest, const gui::TRect& source, const TDibBlock& info,
                               const TDibBlock& bits) = 0;
    // The band through a device bitmap: copied 1:1 (stretch false) or stretched.
    virtual bool BlitBand(const gui::TRect& dest, const gui::TRect& source, const TDibBlock& info,
                          const TDibBlock& bits, bool stretch) = 0;
    // A cross through the middle of r in black with a pen of width pixels.
    virtual bool DrawCross(const gui::TRect& r, int width) = 0;
    // Selects a palette (into the background when asked) and returns a
    // token of the one selected before; RealizePalette maps its entries
    // into the device's; RestorePalette selects the earlier one back.  A
    // device without palettes ignores them.
    virtual int SelectPalette(const TPrnPalette& /*palette*/, bool /*background*/) { return 0; }
    virtual void RealizePalette() {}
    virtual void RestorePalette(int /*previous*/) {}
    virtual void Flush() {}
};

// The device over a canvas (the printer's); displaySize gives the tiles.
class TCanvasPrnDevice : public TPrnDevice {
public:
    TCanvasPrnDevice(gui::TCanvas& canvas, gui::TSize displaySize) : FCanvas(canvas), FDisplay(displaySize) {}
    int GetDeviceCaps(int index) const override;
    gui::TSize DisplaySize() const override { return FDisplay; }
    int SaveDC() override;
    void RestoreDC(int saved) override;
    void MoveWindowOrg(int dx, int dy) override;
    void IntersectClipRect(const gui::TRect& r) override;
    bool StretchDIBits(const gui::TRect& dest, const gui::TRect& source, const TDibBlock& info,
                       const TDibBlock& bits) override;
    bool BlitBand(const gui::TRect& dest, const gui::TRect& source, const TDibBlock& info,
                  const TDibBlock& bits, bool stretch) override;
    bool DrawCross(const gui::TRect& r, int width) override;

private:
    gui::TCanvas& FCanvas;
    gui::TSize FDisplay;
};

// The page as the device reports it (device pixels).
struct TPageMetrics {
    int OffsetX = 0, OffsetY = 0;            // physical offsets of the printable area
    int PhysicalWidth = 0, PhysicalHeight = 0;
    int PrintableWidth = 0, PrintableHeight = 0;
    int MarginRight = 0, MarginBottom = 0;   // unprintable, right and bottom
    int Margin = 0;                          // the largest of the four margins
    int AreaWidth = 0, AreaHeight = 0;       // physical size - 2 x Margin
    int AreaLeft = 0, AreaTop = 0;           // the area's origin in device coordinates
    int DpiX = 0, DpiY = 0;
};
bool GetPageMetrics(const TPrnDevice& device, TPageMetrics& metrics);

// Where PrintDIB puts a picture of w x h pixels in an area: fitted to the
// area keeping its proportions, centred when asked.
gui::TRect FitPictureRect(int w, int h, int areaWidth, int areaHeight, bool centre);

// The tiles a visible rectangle is cut into, row by row, left to right.
std::vector<gui::TRect> CutTiles(const gui::TRect& visible, int tileWidth, int tileHeight);

// Progress: (tile number from 1, tile count) -> 0 stops the job.
using TPrnProgress = std::function<int(int tile, int tileCount)>;

// Options of the engine; they keep their values between jobs.
struct TPrnOptions {
    bool ShowErrors = false;
    bool UseBlit = false;
    int PixelScaleX = 1, PixelScaleY = 1;
    bool SourceBands = false;
    bool BuildBands = true;
    bool OutputBands = true;
    int BlitFallback = 1;
    int SleepMs = -1;
    int Frames = 0;
    // 0: a given palette on palette devices, one created from the colour
    // table only when asked (on palette devices); 1: never create one,
    // select a given one on any device; 2: ignore a given one, create one
    // from the colour table on palette devices.
    int PaletteMode = 0;
    int WholeDevice = 0;
    bool FlushEachTile = true;
};
TPrnOptions& PrnOptions();
void PrnSetShowErrors(bool value);
void PrnSetUseBlit(bool value);
void PrnSetPixelScale(int x, int y);
void PrnSetSourceBands(bool value);
// Where failures of the output calls are reported when ShowErrors is set
// (a message box captioned "TQuorvaImagePrinter"); returns the previous one.
using TPrnMessageOwner = std::function<void(const std::string& text)>;
TPrnMessageOwner PrnSetMessageOwner(TPrnMessageOwner owner);

// Results of PrintDIB and PrintDIBRect.
enum : int {
    prnPrinted = 1, prnNothing = 0, prnInvalid = -1, prnNoMemory = -2, prnConvertFailed = -3,
    prnTileFailed = -5
};

// Prints the whole picture scaled to fit the page area.
int PrintDIB(TPrnDevice& device, const TDibBlock& info, const TDibBlock& bits, bool centre,
             bool useMargins, const TPrnProgress& progress);

// A palette device: at most 8 bits per pixel over all planes, and
// RC_PALETTE among its raster capabilities.
bool IsPaletteDevice(const TPrnDevice& device);

// Prints the source rectangle of the picture into the destination
// rectangle, clipped to clip.  The palette step follows
// PrnOptions().PaletteMode with the given palette (may be null) and
// createPalette; a palette it selects is selected back afterwards.
int PrintDIBRect(TPrnDevice& device, int destX, int destY, int destWidth, int destHeight, int sourceX,
                 int sourceY, int sourceWidth, int sourceHeight, const TDibBlock& info, const TDibBlock& bits,
                 bool forceBackground, bool createPalette, const gui::TRect& clip,
                 const TPrnProgress& progress, const TPrnPalette* palette = nullptr);

} // namespace app
