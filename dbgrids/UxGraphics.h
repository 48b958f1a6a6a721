// Drawing and small services of the subsystem: bitmaps drawn with a
// transparent colour (stretched or not), bitmap and rectangle measures,
// component references with free notification, the application window,
// and the four drag cursors the grids use (slots 368 to 371).
//
// The one rule: TransparentColor clNone copies the bitmap as it is and
// clDefault takes the colour of its bottom-left pixel as transparent.
//
//   dbgrids::DrawMaskedBitmap(canvas, x, y, glyph, gui::clDefault);
#pragma once

#include <memory>

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/IconImage.h"

namespace dbgrids {

constexpr gui::TCursor kUxCursorSlots[4] = {368, 369, 370, 371};

void DrawMaskedBitmap(gui::TCanvas* dest, int dstX, int dstY, gui::TBitmap* bitmap, gui::TColor transparentColor);
// A width or height below 1 takes the bitmap's; a source size below 1 the
// whole bitmap.
void StretchTransparentBitmap(gui::TCanvas* dest, gui::TBitmap* bitmap, gui::TColor transparentColor, int dstX,
                              int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH);
gui::TColor PaletteRelativeColor(gui::TColor color);
int ScanLineBytes(int bits);
int PaletteEntryCount(int bitsPerPixel);
int AbsRectWidth(const gui::TRect& r);
int AbsRectHeight(const gui::TRect& r);
int CanvasTextHeight(gui::TCanvas* canvas);
// Moves owner's free notification from ref to newRef; false when nothing
// changes (the same reference, or no owner).
bool ReplaceComponentRef(rtl::TComponent* owner, rtl::TComponent* newRef, rtl::TComponent*& ref);
// The size of an icon's image; the system icon size (32 x 32) for a missing
// or empty icon.
void IconHandleSize(const gui::TIcon* icon, int& width, int& height);
// The image of an icon file that suits the screen's colour depth, as an icon
// of its own at that image's size.  The screen's depth asks for a colour
// count: the first image with exactly that count; else, from the first image
// with at most that count, the last later image with more colours than it;
// else the first image.  A cursor file comes back whole; an empty icon
// gives an empty one.
std::unique_ptr<gui::TIcon> LoadIconAtRealSize(const gui::TIcon& icon);
gui::HWND ApplicationWindow();
bool ApplicationMinimized();
// Gives slots 368 to 371 the drag shapes (multi-drag, drag, multi-drag,
// multi-drag); does nothing before the screen exists.  Runs at start-up and
// again, once, when the first extended control or form is made.
void RegisterUxCursors();

} // namespace dbgrids
