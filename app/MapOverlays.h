// Drawing on the map: the framed text box and the 17 x 17 sprites the map
// computations use, and the overlays drawn at paint time over the computed
// bitmap (locations, eclipse information box, notice line, location
// marker), on any canvas: the paint box, the export or the print bitmap.
#pragma once

#include <string>

#include "app/MapTypes.h"
#include "platform/gui/Graphics.h"

namespace app {

class TObserverDataList;

// 17 rows of 17 codes, centred on the target pixel: 0 leaves the pixel,
// 1 white, 2 red, 3 blue, 4 green.
using TSprite = const char* const[17];
extern TSprite CrossHairSprite;       // greatest eclipse
extern TSprite LocationMarkerSprite;  // the marked location

// Writes text (lines separated by "\r\n" or "\n") near (x, y): alignment 0
// puts the box's left (top) edge there, 1 centres it, 2 puts its right
// (bottom) edge there.  Unless transparent, the box is filled white and
// framed in the font colour.  Clipped by the canvas, never moved.
void DrawTextBox(gui::TCanvas& canvas, int x, int y, const std::string& text, int hAlign, int vAlign,
                 bool transparent);
void DrawSprite(gui::TCanvas& canvas, int x, int y, TSprite& sprite);

// Font scale of the overlays: 0 up to 2000 pixels of map width, then one
// point per 200 pixels.
int MapFontScale(int mapWidth);

// What the overlays read besides the settings.
struct TOverlayContext {
    const TMapData* Map = nullptr;
    const TMapDrawSettings* Settings = nullptr;
    const TEclipseHeading* Heading = nullptr;
    const TObserverDataList* Locations = nullptr;  // may be null
    std::string Notices;
};

void DrawLocations(gui::TCanvas& canvas, const TOverlayContext& context);
void DrawInfoBox(gui::TCanvas& canvas, const TOverlayContext& context);
void DrawNotice(gui::TCanvas& canvas, const TOverlayContext& context);
// The smallest font size the notice line shrinks to; narrower maps clip it.
constexpr int MinNoticeFontSize = 6;

} // namespace app
