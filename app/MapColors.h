// Colour arithmetic of the lunar map shading: colours split into red, green
// and blue bytes and joined again, converted to hue, saturation and value
// and back, and scaled in brightness.
#pragma once

#include <cstdint>

#include "platform/gui/Graphics.h"

namespace app {

// Red, green and blue bytes of a plain colour (low byte red).
void SplitColor(gui::TColor color, uint8_t& r, uint8_t& g, uint8_t& b);
gui::TColor MakeColor(uint8_t r, uint8_t g, uint8_t b);

// R, G, B 0..255 to hue (degrees 0..360; -1 for a grey, 0 for black),
// saturation and value (0..1, value = max / 255).
void RgbToHsv(int r, int g, int b, double& h, double& s, double& v);
// Back: a hue outside [0, 360) counts as 0; s and v clamped to [0, 1];
// each channel rounded to the nearest integer; s = 0 gives a grey of
// round(v * 255).
void HsvToRgb(double h, double s, double v, int& r, int& g, int& b);

// The colour with its HSV value multiplied by f; unchanged when f lies
// within 0.01 of 1.
gui::TColor ScaleColorValue(gui::TColor color, double f);

} // namespace app
