// Colour arithmetic of the lunar map shading: colours split into red, green
// and blue bytes and joined again, and scaled in brightness through the
// chart library's HSV conversions.
#pragma once

#include <cstdint>

#include "platform/gui/Graphics.h"

namespace app {

// Red, green and blue bytes of a plain colour (low byte red).
void SplitColor(gui::TColor color, uint8_t& r, uint8_t& g, uint8_t& b);
gui::TColor MakeColor(uint8_t r, uint8_t g, uint8_t b);

// The colour with its HSV value multiplied by f; unchanged when f lies
// within 0.01 of 1.
gui::TColor ScaleColorValue(gui::TColor color, double f);

} // namespace app
