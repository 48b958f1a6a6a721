// Free routines the report model, the engine, the serializer and the
// prepared pages share: a stream checksum, hexadecimal block texts, number
// texts, bracketed expressions in memo text, page ranges and temporary
// files.
//
// The rule a caller must know: text positions here are 1-based, as in the
// memo texts the engine edits (ExtractBracketedExpression's start and stop
// are character positions of the text, in bytes of its UTF-8).
//
// Example: replace each [expression] of a memo line by its value.
//
//   int start = rtl::Pos("[", line), stop = 0;
//   while (start > 0) {
//       std::string expr = qlr::ExtractBracketedExpression(line, "[", "]", start, stop);
//       if (stop == start) break;                 // no more expressions
//       rtl::Delete(line, start, stop - start + 1);
//       rtl::Insert(Evaluate(expr), line, start);
//       start = rtl::PosEx("[", line, start + 1);
//   }
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"

namespace gui {
class TBitmap;
class TCanvas;
class TGraphic;
struct TRect;
} // namespace gui

namespace qlr {

// Stretches bitmap into r leaving the canvas unchanged wherever the bitmap
// has transparentColor (an RGB value).
void DrawTransparentBitmapEx(gui::TCanvas& canvas, const gui::TRect& r, const gui::TBitmap& bitmap,
                             uint32_t transparentColor);
// Draws a picture's graphic stretched into r.  With transparent, pixels of
// transparentColor let the canvas show through.  A metafile, and on screen
// any graphic unless highQuality or a transparent non-bitmap asks
// otherwise, is drawn directly; the rest is first rendered into a bitmap
// of its own size (32-bit when printing, 24-bit otherwise) and that bitmap
// is stretched.  The canvas brush is left white; no graphic draws nothing.
void DrawGraphic(gui::TCanvas& canvas, const gui::TRect& r, gui::TGraphic* graphic, uint32_t transparentColor,
                 bool transparent, bool highQuality, bool printing);

// CRC-32 (IEEE 802.3, reflected, initial all ones, final complement) of
// the whole stream from position 0; the stream position is restored.
uint32_t StreamCRC32(rtl::TStream& stream);

// Clears list and adds each field of text between separators; adjacent
// separators give empty fields, a separator at the very end none.
void SplitToStrings(std::string_view text, rtl::TStringList& list, char separator);

// The whole content as two upper-case hexadecimal digits per byte.
std::string StreamToHexText(rtl::TMemoryStream& stream);
// Writes a block of length(text) div 2 bytes at position 0, filled from the
// pairs of hexadecimal digits (either case); decoding stops at the first
// pair that is not two digits, and the rest of the block is zero.
void HexTextToStream(std::string_view text, rtl::TStream& stream);

// "," and "." both taken as the decimal separator, blanks ignored; bad text
// raises EConvertError.
long double StrToFloatLenient(std::string_view text);
// A whole number as its plain text, anything else with two decimals.
std::string FloatToDisplayText(long double x);
// Fixed-point text with that many decimals and that decimal separator.
std::string FloatToFixedText(int decimals, char decimalSeparator, long double value);
// A copy with every ch replaced by replacement.
std::string ReplaceChar(std::string_view text, char ch, char replacement);

// The expression between the open delimiter at start and its matching
// close delimiter (delimiters inside single- or double-quoted parts do not
// count).  start moves to the first open delimiter met at depth 0; stop
// ends on the last character of the close delimiter.  When the character
// at start opens nothing, the result is empty and stop = start.
std::string ExtractBracketedExpression(std::string_view text, std::string_view openDelim,
                                       std::string_view closeDelim, int& start, int& stop);

// Pages of a print range text such as "1,3,5-7" or "8-" (to pageCount), as
// decimal texts in order, duplicates kept; a field that is no number raises
// EConvertError.
void ParsePageRanges(std::string_view text, rtl::TStringList& list, int pageCount);

// Modal message boxes captioned with the texts "mbError" and "mbInfo".
void ShowReportError(const std::string& text);
void ShowReportInfo(const std::string& text);

// The system's temporary folder, with a trailing delimiter.
std::string GetTempFolder();
// Creates a new empty file named "ql..." in the temporary folder and
// returns its full name; the caller deletes it.
std::string MakeTempFileName();
// As MakeTempFileName, in folder (the temporary folder when empty).
std::string CreateTempFileIn(std::string_view folder);
// The program's file name, and its folder with a trailing delimiter.
std::string ModuleFileName();
std::string ModuleFolder();

} // namespace qlr
