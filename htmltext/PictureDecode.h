// The picture loader behind THTMLPicture: image file bytes in, a drawable
// graphic out.  GIF is decoded here (its first image, with its transparent
// colour); PNG, JPEG and BMP go through the graphics layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gui/Graphics.h"

namespace htmltext {

// nullptr when the bytes are no picture this loader knows or are damaged.
std::unique_ptr<gui::TGraphic> DecodeImageBytes(const uint8_t* data, std::size_t size);

} // namespace htmltext
