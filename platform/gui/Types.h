// Geometry records and the drawing constants of the graphics layer.  The
// constants keep their classic numeric values so that flag arithmetic written
// against them (DT_*, BF_*, DFCS_*, device capabilities) stays valid.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gui {

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle with its right and bottom edges exclusive: (0, 0, 10, 5)
// covers pixels 0..9 by 0..4.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const
    {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
constexpr TPoint Point(int x, int y) { return {x, y}; }

inline void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx; r.Top -= dy; r.Right += dx; r.Bottom += dy;
}
inline void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx; r.Top += dy; r.Right += dx; r.Bottom += dy;
}
// The common part of a and b; false (and an empty result) when they do not meet.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top),
           std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (out.IsEmpty()) { out = {}; return false; }
    return true;
}
inline bool UnionRect(TRect& out, const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) { out = b; return !b.IsEmpty(); }
    if (b.IsEmpty()) { out = a; return true; }
    out = {std::min(a.Left, b.Left), std::min(a.Top, b.Top),
           std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    return true;
}
inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }

// DrawText format flags.
enum : uint32_t {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
    DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000,
    DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000,
};

// DrawEdge edges and border flags.
enum : uint32_t {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5, BDR_SUNKEN = 0xA,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
    BF_TOPLEFT = BF_TOP | BF_LEFT, BF_TOPRIGHT = BF_TOP | BF_RIGHT,
    BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT, BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_DIAGONAL = 0x10, BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000, BF_MONO = 0x8000,
};

// GetSystemMetrics indices.
enum : int {
    SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CXBORDER = 5, SM_CYBORDER = 6,
    SM_CXEDGE = 45, SM_CYEDGE = 46,
    SM_CXFRAME = 32, SM_CYFRAME = 33,   // the sizing band of a sizable window
};

// DrawFrameControl types and states.
enum : uint32_t {
    DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1, DFCS_BUTTONRADIOMASK = 0x2,
    DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400,
    DFCS_TRANSPARENT = 0x800, DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000,
    DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000,
};

// Background modes, text alignment, polygon fill modes, region combination.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : uint32_t {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24,
};
enum : int { ALTERNATE = 1, WINDING = 2 };
// Mapping modes: pixels, or extents scaling logical units (equally on both
// axes for MM_ISOTROPIC).
enum : int { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// Device capability indices and raster capability bits.
enum : int {
    HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14,
    NUMCOLORS = 24, RASTERCAPS = 38, ASPECTX = 40, ASPECTY = 42, LOGPIXELSX = 88, LOGPIXELSY = 90,
    PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113,
};
enum : int {
    RC_BITBLT = 0x1, RC_BANDING = 0x2, RC_SCALING = 0x4, RC_BITMAP64 = 0x8,
    RC_DI_BITMAP = 0x80, RC_PALETTE = 0x100, RC_DIBTODEV = 0x200, RC_STRETCHBLT = 0x800,
    RC_FLOODFILL = 0x1000, RC_STRETCHDIB = 0x2000,
};

} // namespace gui
