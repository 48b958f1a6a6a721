// The map picture: loading it from a built-in resource (rotated by 120
// degrees for an eclipse far from Greenwich) or from a file in the Maps
// folder, turning it grey, and saving the finished map as PNG, JPEG or BMP.
#pragma once

#include <string>

#include "app/MapTypes.h"

namespace gui {
class TBitmap;
}

namespace app {

// The shift of a built-in map for an eclipse whose greatest eclipse lies at
// longitude meLon (degrees, west positive): centred on 120 degrees east
// below -60, on 120 degrees west above +60, otherwise unshifted.
TResourceMapMode ResourceMapModeFor(double meLon);

// Loads the picture of map into bitmap:
// - a built-in map (ResourceName set) from its resource, rotated
//   horizontally by a third of its width for rmm120W / rmm120E, with
//   map.dLon set to 120, -120 or 0;
// - a file map from MapsPath + FileName by its extension (PNG, JPG/JPEG,
//   BMP, each with or without the dot); any other extension keeps the
//   previous picture; mode and dLon are not touched.
// Then grey when greyScale, 24 bits per pixel, and map.Width/Height := the
// picture's size.  Decoding errors raise.
void LoadMapPicture(TMapData& map, TResourceMapMode mode, bool greyScale, gui::TBitmap& bitmap);

// Rotates a picture horizontally: columns [0, b) to [a, W) and [b, W) to
// [0, a) for rmm120W, [0, a) to [b, W) and [a, W) to [0, b) for rmm120E,
// with a = W div 3, b = 2 W div 3.
void ShiftMapPicture(gui::TBitmap& bitmap, TResourceMapMode mode);

// Turns a picture grey in place: 24 bits per pixel, every pixel
// (77 red + 151 green + 28 blue) >> 8.  Nothing happens to an empty one.
void ConvertToGreyScale(gui::TBitmap& bitmap);

// The file format a picture is saved in, by the upper-cased extension:
// "JPG", "JPEG" (with or without the dot) JPEG; "PNG" PNG; anything else a
// Windows bitmap.
enum class TPictureFileFormat { pffBMP, pffPNG, pffJPEG };
TPictureFileFormat PictureFileFormat(const std::string& fileName);
// Writes bitmap in the format of its name (JPEG at quality 100).  Errors raise.
void SavePictureFile(const gui::TBitmap& bitmap, const std::string& fileName);

} // namespace app
