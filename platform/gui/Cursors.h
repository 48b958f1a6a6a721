// Cursor pictures: .cur (and .ico) files as embedded in the program, read
// into a picture with transparency and the hot spot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/PngImage.h"

namespace gui {

struct TCursorImage {
    std::unique_ptr<TPngImage> Image;   // with alpha: the mask's transparent pixels
    TPoint HotSpot;                     // (0, 0) for icons
};

// The first image of a cursor or icon file (DIB with its AND mask, or PNG).
// Raises EInvalidGraphic "Invalid cursor file" for anything else.
TCursorImage DecodeCursorFile(const uint8_t* data, std::size_t size);
// Cursor resources by name or number; a missing one raises rtl::EResNotFound.
TCursorImage LoadCursorResource(const std::string& name);
TCursorImage LoadCursorResource(int id);

} // namespace gui
