#include "dbgrids/UxGraphics.h"

#include <cstdlib>
#include <memory>

namespace dbgrids {

using namespace gui;

void DrawMaskedBitmap(TCanvas* dest, int dstX, int dstY, TBitmap* bitmap, TColor transparentColor)
{
    StretchTransparentBitmap(dest, bitmap, transparentColor, dstX, dstY, bitmap->Width(), bitmap->Height(), 0, 0,
                             bitmap->Width(), bitmap->Height());
}

void StretchTransparentBitmap(TCanvas* dest, TBitmap* bitmap, TColor transparentColor, int dstX, int dstY,
                              int dstW, int dstH, int srcX, int srcY, int srcW, int srcH)
{
    if (dstW < 1) dstW = bitmap->Width();
    if (dstH < 1) dstH = bitmap->Height();
    if (srcW < 1 || srcH < 1) {
        srcX = srcY = 0;
        srcW = bitmap->Width();
        srcH = bitmap->Height();
    }
    TRect dst{dstX, dstY, dstX + dstW, dstY + dstH};
    TRect src{srcX, srcY, srcX + srcW, srcY + srcH};
    if (transparentColor == clNone) {
        dest->CopyRect(dst, bitmap->Canvas(), src);
        return;
    }
    if (transparentColor == clDefault) transparentColor = bitmap->Canvas()->Pixels(0, bitmap->Height() - 1);
    // The source part as a bitmap of its own, drawn leaving out the colour.
    TBitmap part(srcW, srcH, TPixelFormat::pf32bit);
    part.Canvas()->CopyRect(TRect{0, 0, srcW, srcH}, bitmap->Canvas(), src);
    part.SetTransparentColor(ColorToRGB(transparentColor));
    part.SetTransparentMode(TTransparentMode::tmFixed);
    part.SetTransparent(true);
    dest->StretchDraw(dst, &part);
}

TColor PaletteRelativeColor(TColor color)
{
    return (ColorToRGB(color) & 0xFFFFFF) | 0x02000000;
}

int ScanLineBytes(int bits) { return (bits + 31) / 32 * 4; }

int PaletteEntryCount(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

int AbsRectWidth(const TRect& r) { return std::abs(r.Right - r.Left); }
int AbsRectHeight(const TRect& r) { return std::abs(r.Bottom - r.Top); }

int CanvasTextHeight(TCanvas* canvas)
{
    return canvas->TextHeight("Wg");
}

bool ReplaceComponentRef(rtl::TComponent* owner, rtl::TComponent* newRef, rtl::TComponent*& ref)
{
    if (newRef == ref || !owner) return false;
    if (ref) ref->RemoveFreeNotification(owner);
    ref = newRef;
    if (ref) ref->FreeNotification(owner);
    return true;
}

HWND ApplicationWindow()
{
    return Application && Application->MainForm() ? Application->MainForm()->Handle() : 0;
}

bool ApplicationMinimized()
{
    return Application && Application->MainForm() &&
           Application->MainForm()->WindowState() == TWindowState::wsMinimized;
}

void RegisterUxCursors()
{
    static bool done = false;
    if (done || !Screen) return;
    try {
        const TCursor shapes[4] = {crMultiDrag, crDrag, crMultiDrag, crMultiDrag};
        for (int i = 0; i < 4; ++i) Screen->SetCursorToStock(kUxCursorSlots[i], shapes[i]);
        done = true;
    } catch (...) {
        // A failure here only costs the drag shapes.
    }
}

namespace {
struct TStartUp {
    TStartUp() { RegisterUxCursors(); }
} const gStartUp;
} // namespace

} // namespace dbgrids

extern "C" void tec_dbgrids_startup_anchor() {}
