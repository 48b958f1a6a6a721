// Text measured character by character and written with explicit
// character advances, on any canvas and at any rotation: what report text
// layout needs to place every character exactly where a 600-dpi layout put
// it.
//
// The rule a caller must know: widths come from the font service (the
// TrueType program the screen draws the font with, unhinted advances), at
// the canvas font's pixel height, so the same text measures the same on
// every machine and at every resolution, independent of hinting.
//
// Example:
//   std::vector<int> ext;
//   gui::GetTextExtentExPoint(*canvas, u"Total", ext);   // ext[4]: width of all five
//   std::vector<int> dx{10, 10, 10, 10, 10};
//   gui::ExtTextOut(*canvas, 5, 5, 0, nullptr, u"Total", dx.data());
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Graphics.h"

namespace gui {

enum : uint32_t { ETO_CLIPPED = 4, ETO_RTLREADING = 128 };

// Cumulative extents of text in the canvas font: extents[i] is the width
// of characters 0..i (UTF-16 units), rounded to whole pixels from the exact
// sum.  The em is the font's pixel height (|Height| for a negative height,
// else Height less the internal leading).
void GetTextExtentExPoint(const TCanvas& canvas, std::u16string_view text, std::vector<int>& extents);
// How many characters fit maxExtent, with the cumulative extents.
int GetTextFit(const TCanvas& canvas, std::u16string_view text, int maxExtent, std::vector<int>& extents);

// Writes text at (x, y) (the top left of the first character cell, or the
// rotated equivalent for a font with an Orientation), advancing by dx[i]
// after character i (the font's own advances when dx is nullptr), clipped
// to *clip when options has ETO_CLIPPED.  With ETO_RTLREADING the
// characters run from right to left starting at x.  The background is left
// alone.  Returns the total advance.
int ExtTextOut(TCanvas& canvas, int x, int y, uint32_t options, const TRect* clip, std::u16string_view text,
               const int* dx);
// Writes text at (x, y) like ExtTextOut, left to right, but in one call: the
// glyphs at the font's own advances, moved apart (or closer) evenly so that
// the text spans width pixels.  Letters keep an even spacing that
// whole-pixel steps one character at a time would not.
void ExtTextOutSpanning(TCanvas& canvas, int x, int y, uint32_t options, const TRect* clip,
                        std::u16string_view text, int width);

// The characters the canvas shows for text in this font: the Greek
// letters for the Latin ones in "Symbol", the text itself otherwise.
std::u16string DrawnFontText(const TFont& font, std::u16string_view text);

} // namespace gui
