// Colours, fonts, pens, brushes, the drawing canvas, bitmaps and pictures.
//
// A TCanvas draws through one backend whatever the surface: an off-screen
// TBitmap, a window (the control layer attaches a painter begun in its paint
// event, see QtBridge.h) or the printer.  Coordinates are device pixels with
// the classic raster rules: rectangles exclude their right and bottom edges,
// lines exclude their end point, nothing is anti-aliased except text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Types.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"

namespace gui {

// ---------------------------------------------------------------- colours

// red + 256 * green + 65536 * blue; top byte 0xFF: system colour whose index
// is the low byte; clNone: no colour.
using TColor = uint32_t;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                 clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                 clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clLtGray = 0xC0C0C0, clDkGray = 0x808080,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A0;

// System colour indices.
enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3, COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28, COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30,
    COLOR_ENDCOLORS = 30,
};

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR,
                 clBackground = clSystemColor | COLOR_BACKGROUND,
                 clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION,
                 clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION,
                 clMenu = clSystemColor | COLOR_MENU,
                 clWindow = clSystemColor | COLOR_WINDOW,
                 clWindowFrame = clSystemColor | COLOR_WINDOWFRAME,
                 clMenuText = clSystemColor | COLOR_MENUTEXT,
                 clWindowText = clSystemColor | COLOR_WINDOWTEXT,
                 clCaptionText = clSystemColor | COLOR_CAPTIONTEXT,
                 clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER,
                 clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER,
                 clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE,
                 clHighlight = clSystemColor | COLOR_HIGHLIGHT,
                 clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT,
                 clBtnFace = clSystemColor | COLOR_BTNFACE,
                 clBtnShadow = clSystemColor | COLOR_BTNSHADOW,
                 clGrayText = clSystemColor | COLOR_GRAYTEXT,
                 clBtnText = clSystemColor | COLOR_BTNTEXT,
                 clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT,
                 clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT,
                 cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW,
                 cl3DLight = clSystemColor | COLOR_3DLIGHT,
                 clInfoText = clSystemColor | COLOR_INFOTEXT,
                 clInfoBk = clSystemColor | COLOR_INFOBK,
                 clHotLight = clSystemColor | COLOR_HOTLIGHT,
                 clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION,
                 clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION,
                 clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT,
                 clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>(c >> 16); }

// The plain colour a value stands for: system colours become the desktop
// palette's current colour, plain colours keep their low three bytes.
// clNone and clDefault are returned unchanged.
TColor ColorToRGB(TColor color);
// The desktop palette entry of a system colour index (black for an unknown one).
TColor GetSysColor(int index);
// Replaces one entry of the desktop palette (tests, or a palette change).
void SetSysColor(int index, TColor rgb);
// Back to the fixed classic palette every drawing test relies on.
void ResetSysColors();
// Takes the window, button, highlight and text colours from the desktop's
// current palette (called once the application object exists).
void LoadSysColorsFromDesktop();

// ------------------------------------------------------------- exceptions

class EInvalidGraphic : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};
class EInvalidGraphicOperation : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// ------------------------------------------------------ graphics objects

class TGraphicsObject : public rtl::TPersistent {
public:
    // Raised after every change of a property.
    rtl::TNotifyEvent OnChange;

protected:
    void Changed();
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = rtl::Set<TFontStyle, 8>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
enum : uint8_t { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2 };

// A font as a plain record: the form in which fonts are copied, rotated
// (escapement) and recreated.
struct TLogFont {
    int32_t lfHeight = 0;       // < 0: character height in pixels; > 0: cell height
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
    int32_t lfOrientation = 0;
    int32_t lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;
};

class TFont : public TGraphicsObject {
public:
    TFont();

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Size in points at PixelsPerInch; setting it sets Height.
    int Size() const;
    void SetSize(int points);
    // Height in device pixels; negative: the character height without the
    // internal leading (the usual form), positive: the whole cell.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    const TFontStyles& Style() const { return FStyle; }
    void SetStyle(const TFontStyles& style);
    // Rotation of the text in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    uint8_t Charset() const { return FCharset; }
    void SetCharset(uint8_t charset);
    // Resolution that links Size and Height: 96 on screens and bitmaps, the
    // printer's resolution on the printer's canvas.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int ppi);

    TLogFont GetLogFont() const;
    void SetLogFont(const TLogFont& lf);

    // Copies another font; between fonts of different resolutions the size
    // in points is kept.
    void Assign(const rtl::TPersistent* source) override;

private:
    std::string FName = "Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    int FOrientation = 0;
    TFontPitch FPitch = TFontPitch::fpDefault;
    uint8_t FCharset = DEFAULT_CHARSET;
    int FPixelsPerInch = 96;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// The ends of a wide pen's lines (geometric pens).
enum class TPenEndCap { pecRound, pecSquare, pecFlat };

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode);
    // Line ends (round unless set) and a user dash pattern: alternate on
    // and off lengths in pixels, which replaces the style's pattern while
    // not empty (an on length of 0 with round ends draws dots).
    TPenEndCap EndCap() const { return FEndCap; }
    void SetEndCap(TPenEndCap cap);
    const std::vector<int>& UserDash() const { return FUserDash; }
    void SetUserDash(std::vector<int> dashes);
    void Assign(const rtl::TPersistent* source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
    TPenEndCap FEndCap = TPenEndCap::pecRound;
    std::vector<int> FUserDash;
};

enum class TFillStyle { fsSurface, fsBorder };

enum class TBrushStyle {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    // Setting a colour while the style is bsClear makes the brush solid.
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    void Assign(const rtl::TPersistent* source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
};

// -------------------------------------------------------------- regions

// An area of device pixels used for clipping; a value type.
class TRegion {
public:
    TRegion();
    ~TRegion();
    TRegion(const TRegion& other);
    TRegion& operator=(const TRegion& other);

    static TRegion CreateRect(const TRect& r);
    // Rectangle with corners rounded by ellipses of w x h pixels.
    static TRegion CreateRoundRect(const TRect& r, int w, int h);
    static TRegion CreateEllipse(const TRect& r);
    static TRegion CreatePolygon(const std::vector<TPoint>& points, int fillMode = WINDING);

    // this := a <op> b with op one of RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY.
    void Combine(const TRegion& a, const TRegion& b, int mode);
    void Offset(int dx, int dy);
    bool Contains(TPoint p) const;
    bool IsEmpty() const;
    TRect BoundingRect() const;
    friend bool operator==(const TRegion& a, const TRegion& b);

    struct Impl;
    Impl& Data() const { return *FImpl; }

private:
    std::unique_ptr<Impl> FImpl;
};

// ---------------------------------------------------------------- canvas

class TGraphic;
class TBitmap;

struct TTextMetric {
    int tmHeight = 0;            // ascent + descent
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Raster operations of CopyRect and StretchDraw.
enum : uint32_t {
    cmSrcCopy = 0x00CC0020, cmSrcPaint = 0x00EE0086, cmSrcAnd = 0x008800C6,
    cmSrcInvert = 0x00660046, cmDstInvert = 0x00550009, cmBlackness = 0x00000042,
    cmWhiteness = 0x00FF0062, cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008,
};

class TCanvas : public rtl::TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    TFont* Font() const { return FFont.get(); }
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetFont(const TFont* font) { FFont->Assign(font); }
    void SetPen(const TPen* pen) { FPen->Assign(pen); }
    void SetBrush(const TBrush* brush) { FBrush->Assign(brush); }

    TPoint PenPos() const;
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
    uint32_t CopyMode() const;
    void SetCopyMode(uint32_t mode);

    // Whether the canvas currently has a surface to draw on.
    bool HandleAllocated() const;
    // Whether this is a printer's canvas (set by the printer for its own
    // canvas).  Drawing that differs on paper asks this one flag: data
    // marks drawn as lines, fonts sized at the printer's resolution.
    bool IsPrinterCanvas() const { return FPrinterCanvas; }
    void SetPrinterCanvas(bool value) { FPrinterCanvas = value; }
    // Kept for callers that bracket drawing from other threads.
    void Lock() {}
    void Unlock() {}

    // -- lines and shapes (logical coordinates)
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) without (x, y) itself.
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    // Outline with the pen, inside with the brush; covers x1..x2-1, y1..y2-1.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush colour on the edge pixels of r.
    void FrameRect(const TRect& r);
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Elliptic arc and pie in the box (x1, y1, x2, y2), counter-clockwise from
    // the ray towards (x3, y3) to the ray towards (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // The pixel's colour; clNone outside the surface or where it cannot be read.
    TColor Pixels(int x, int y) const;
    // Writes are ignored outside the surface and the clip region.
    void SetPixels(int x, int y, TColor color);
    // Fills with the brush the area around (x, y) bounded by pixels of color
    // (fsBorder), or made of pixels of color (fsSurface); neighbours are the
    // four pixels left, right, above and below, so a one-pixel line of any
    // slope holds the fill.  Stays inside the clip rectangle.
    void FloodFill(int x, int y, TColor color, TFillStyle style);
    void DrawFocusRect(const TRect& r);

    // -- text
    // Writes at (x, y) per TextAlign (top-left by default), rotated by the
    // font's Orientation; with an opaque background the text cell is filled
    // with the brush colour first.  Moves the pen when TA_UPDATECP is set.
    void TextOut(int x, int y, const std::string& text);
    // Text clipped to r, the background of r filled unless the brush is clear.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text) const;
    int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
    TTextMetric GetTextMetrics() const;
    // Formatted text in r with DT_* flags.  Returns the height of the text
    // (with DT_VCENTER or DT_BOTTOM: from r's top to the text's bottom).
    // With DT_CALCRECT nothing is drawn and r's right and bottom are set to
    // the extent the text would cover.
    int DrawText(const std::string& text, TRect& r, uint32_t flags);
    // Background mode for text and hatched brushes: TRANSPARENT or OPAQUE;
    // returns the previous one.  Changing the brush resets it (clear brush:
    // transparent, else opaque with the brush colour).
    int SetBkMode(int mode);
    int BkMode() const;
    TColor SetBkColor(TColor color);
    uint32_t SetTextAlign(uint32_t align);
    uint32_t TextAlign() const;

    // -- pictures
    void Draw(int x, int y, const TGraphic* graphic);
    void StretchDraw(const TRect& r, const TGraphic* graphic);
    // Copies source's pixels in sourceRect to dest (stretched), through CopyMode.
    void CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect);
    // Copies the bitmap's pixels, drawing those of keyColor in the brush colour.
    void BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor keyColor);
    // Draws a device-independent bitmap given as its info block (header and
    // colour table or masks) and pixel block, the source rectangle in
    // top-down image coordinates scaled into dest.  Returns false for a
    // block it cannot read.
    bool StretchDIBits(const TRect& dest, const TRect& source, const void* info,
                       std::size_t infoSize, const void* bits, std::size_t bitsSize);

    // -- clipping (regions in device coordinates, rectangles in logical ones)
    // The clip area's bounds in logical coordinates (the whole surface when
    // nothing clips).
    TRect ClipRect() const;
    // Replaces the clip region; nullptr removes clipping.
    void SelectClipRgn(const TRegion* region);
    // Combines the clip region with region (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY).
    void ExtSelectClipRgn(const TRegion* region, int mode);
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    // False when nothing clips.
    bool GetClipRgn(TRegion& out) const;

    // -- state and coordinates: device = logical - window origin + viewport origin
    int SaveDC();
    // saved: a number from SaveDC, or negative for that many levels back.
    bool RestoreDC(int saved);
    TPoint SetWindowOrg(int x, int y);
    TPoint WindowOrg() const;
    TPoint SetViewportOrg(int x, int y);
    TPoint ViewportOrg() const;
    // Shifts the window origin by (-dx, -dy): what was drawn at (0, 0) now lands at (dx, dy).
    void MoveWindowOrg(int dx, int dy);
    // Outside MM_TEXT the window extent in logical units maps onto the
    // viewport extent in device units: device = (logical - window origin)
    // x viewport ext / window ext + viewport origin.  Zero extents are ignored.
    int SetMapMode(int mode);
    int MapMode() const;
    TSize SetWindowExt(int cx, int cy);
    TSize SetViewportExt(int cx, int cy);
    void LPtoDP(TPoint* points, int count) const;
    void DPtoLP(TPoint* points, int count) const;
    // HORZRES, VERTRES, LOGPIXELSX/Y, BITSPIXEL, PLANES, RASTERCAPS, HORZSIZE,
    // VERTSIZE, NUMCOLORS, PHYSICAL*; 0 for an unknown index.
    int GetDeviceCaps(int index) const;

    // -- 3-D frames and frame controls
    // Classic edges; with BF_ADJUST r shrinks by the border drawn.
    bool DrawEdge(TRect& r, uint32_t edge, uint32_t flags);
    // width nested frames, top-left in topColor, bottom-right in bottomColor;
    // r shrinks by width.
    void Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width);
    // Check box, radio button, push button and scroll or combo arrows.
    bool DrawFrameControl(TRect& r, uint32_t type, uint32_t state);

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnChanging;

    struct Impl;
    Impl& Data() const { return *FImpl; }

protected:
    // Gives the canvas its surface when a drawing call finds none; the
    // bitmap's and the printer's canvases begin their painter here.
    virtual void CreateHandle() {}
    // Drops the surface (the painter is ended).
    void FreeHandle();
    void Changing();
    void Changed();

    std::unique_ptr<Impl> FImpl;

private:
    friend struct CanvasAccess;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    bool FPrinterCanvas = false;
};

// --------------------------------------------------------------- graphics

// A picture that can be drawn on a canvas and read from and written to a stream.
class TGraphic : public rtl::TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int w) { SetSize(w, Height()); }
    virtual void SetHeight(int h) { SetSize(Width(), h); }
    virtual void SetSize(int w, int h);

    virtual void LoadFromStream(rtl::TStream& stream) = 0;
    virtual void SaveToStream(rtl::TStream& stream) const = 0;
    void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    // Loads the program's embedded resource of that name or number.  A
    // missing name does nothing; a missing number raises EResNotFound.
    virtual void LoadFromResourceName(const std::string& name);
    virtual void LoadFromResourceID(int id);

    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    // Draws the picture scaled into r.
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;
    // A new empty graphic of the same class.
    virtual TGraphic* NewEmpty() const = 0;
    // Default file extension without the dot ("bmp", "png", "jpg").
    virtual std::string DefaultExtension() const = 0;

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();
    bool FTransparent = false;
    bool FModified = false;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TTransparentMode { tmAuto, tmFixed };

// A bitmap of 24-bit (B, G, R bytes) or 32-bit (B, G, R, x) pixels; pfDevice
// behaves as 32-bit.  New bitmaps and newly added areas are white.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    ~TBitmap() override;

    TCanvas* Canvas();
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // Keeps the overlapping top-left part of the picture.
    void SetSize(int w, int h) override;
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels; only pf24bit, pf32bit and pfDevice are kept as
    // such, other formats are stored as 24-bit.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return false; }

    // Direct access to one row of pixels, top row 0.  The step between rows
    // is ScanLine(1) - ScanLine(0) (positive here); rows are padded to 4 bytes.
    // Writing through it needs no further call.
    uint8_t* ScanLine(int row);
    const uint8_t* ScanLine(int row) const;
    int BytesPerScanLine() const;

    // Transparent drawing leaves out the TransparentColor: the bottom-left
    // pixel (tmAuto) or the colour set (tmFixed).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode);
    void SetTransparent(bool value) override;

    // BMP, as the header says (raises EInvalidGraphic "Bitmap image is not
    // valid" for anything else or a damaged file).
    void LoadFromStream(rtl::TStream& stream) override;
    // BMP with the bitmap's own depth (24 or 32 bits), bottom-up.
    void SaveToStream(rtl::TStream& stream) const override;
    // Named bitmap resources; BMP or PNG content.
    void LoadFromResourceName(const std::string& name) override;
    void LoadFromResourceID(int id) override;

    void Assign(const rtl::TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& r) const override;
    TGraphic* NewEmpty() const override { return new TBitmap(); }
    std::string DefaultExtension() const override { return "bmp"; }
    // Frees the pixels (an empty bitmap).
    void FreeImage();

    struct Impl;
    Impl& Data() const { return *FImpl; }

protected:
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    std::unique_ptr<Impl> FImpl;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
    TColor FTransparentColor = clDefault;
};

// Holds one graphic of any kind.
class TPicture : public rtl::TPersistent {
public:
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy of graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // The picture as a bitmap; a picture of another kind is converted to a
    // bitmap of the same pixels first.
    TBitmap* Bitmap();
    int Width() const;
    int Height() const;

    // By content: BMP, PNG or JPEG; anything else raises EInvalidGraphic
    // "Unknown picture file extension"-style message naming the file.
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    // By the file's extension (.bmp, .png, .jpg/.jpeg), converting the
    // graphic when its kind differs; other extensions keep the graphic's kind.
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(rtl::TStream& stream) const;
    void Assign(const rtl::TPersistent* source) override;

    rtl::TNotifyEvent OnChange;

private:
    void GraphicChanged();
    std::unique_ptr<TGraphic> FGraphic;
};

// A graphic read from a stream by its content (BMP, PNG or JPEG), or nullptr
// when the content is none of these.  The stream is read from its position.
std::unique_ptr<TGraphic> LoadGraphicFromStream(rtl::TStream& stream);

// Decodes run-length encoded DIB pixels (4 or 8 bits per pixel) into a block
// of rowSize * height bytes stored bottom-up, which the caller has filled
// with the background index.  Runs that would leave the image are cut at its
// edge.  Returns false when the data ends before an end-of-bitmap code.
bool DecodeDibRle(const uint8_t* data, std::size_t size, int bitsPerPixel, int width,
                  int height, uint8_t* pixels, std::size_t rowSize);

} // namespace gui
