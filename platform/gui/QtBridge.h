// The graphics layer's door to Qt, for platform/gui sources only: it names
// Qt classes by forward declaration and never includes a Qt header, so
// including it keeps a unit Qt-free.
//
// A window paints through a TCanvas like this (in the control layer's paint
// event handler):
//
//     QPainter painter(widget);
//     gui::qt::AttachPainter(*canvas, &painter, widget->width(), widget->height(), dpi);
//     control->Paint();              // draws on *canvas
//     gui::qt::DetachPainter(*canvas);
//
// The caller owns the painter; the canvas only draws through it and keeps its
// pen, brush, font, origin and clip state across attachments.
#pragma once

#include <cstdint>

class QPainter;
class QImage;
class QFont;
class QColor;
class QRegion;

namespace gui {
class TCanvas;
class TBitmap;
class TFont;
class TGraphic;
struct TRect;
using TColor = uint32_t;

namespace qt {

// Creates the process's Qt application object when none exists yet (the
// graphics layer needs one for fonts and printing).  The control layer
// should create its application object first or call this before.
void EnsureApplication();

void AttachPainter(TCanvas& canvas, QPainter* painter, int width, int height, int dpi = 96);
void DetachPainter(TCanvas& canvas);
QPainter* Painter(const TCanvas& canvas);

// The bitmap's pixels (Format_RGB32 or Format_BGR888).  Never hold a shallow
// copy of it: ScanLine hands out raw row pointers.
QImage& Image(TBitmap& bitmap);
const QImage& Image(const TBitmap& bitmap);

// The Qt font for a TFont at the font's own Height in device pixels.
QFont MakeFont(const TFont& font);
// A plain colour (ColorToRGB applied) as QColor; clNone gives a transparent colour.
QColor MakeColor(TColor color);

// Draws an image into r of the canvas, with its alpha channel.
void DrawImage(TCanvas& canvas, const TRect& r, const QImage& image);

} // namespace qt
} // namespace gui
