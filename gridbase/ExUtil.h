// Grid foundation (gridbase/): the grid base class, its cell lists, editors
// and the free routines the grid family shares.  It builds on platform/rtl
// and platform/gui; the string grid (grid/) and its data exchange (gridio/)
// build on it.  It implements no seam of its own.
//
// ExUtil: stateless routines on cell texts, numbers and dates, the filter
// conditions a user types to filter or search a grid, and the drawing
// routines of the grid family (gradients, selection frames, progress bars,
// pies, editor buttons).  The text routines' edge cases are
// the contract of the grid's files and exchange formats: a text written by
// one routine is read back by its partner (EncodeCellLineBreaks and
// DecodeCellLineBreaks, EncodePrefixedWideText and DecodePrefixedWideText,
// FindClosingQuote for CSV fields), so separators and escapes never change.
//
// The rule a caller must know: texts are UTF-8, and positions are 1-based
// byte positions as in rtl::Pos and rtl::Copy, 0 meaning "not found".  The
// characters searched for are ASCII in every caller, so a position never
// falls inside a character.  Locale values (decimal, thousand and date
// separators, the short date format) are read from rtl::FormatSettings() at
// each call.
//
//   std::string line = EncodeCellLineBreaks("a\r\nb");     // "a\t\bb"
//   std::string back = DecodeCellLineBreaks(line, true);   // "a\r\nb"
//   bool hit = MatchFilterCondition(">1&<5|a*", "3", false);  // true
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gui/Graphics.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Types.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Lists.h"

namespace gui {
class TWinControl;
}

namespace gridbase {

using gui::TColor;

// --- search and small numeric routines (ExUtilText.cpp) --------------------

// Position of the first c in text; 0 when absent.
int FindCharIndex(char32_t c, std::string_view text);
// As FindCharIndex; pos is set only when found.
int FindCharIndexOut(char32_t c, std::string_view text, int& pos);
// Position of pattern in text (case-sensitive), 0 when absent; pos is always set.
int FindSubstrOut(std::string_view pattern, std::string_view text, int& pos);
// Position of pattern in the text upper-cased with the ASCII rule; the
// pattern is taken as it is, so it must already be upper case.
int PosInUpperCase(std::string_view pattern, std::string_view text);
// Position of pattern in text; 0 when either is empty or pattern is longer.
int PosInWideText(std::string_view pattern, std::string_view text);
int CountCharOccurrences(char32_t c, std::string_view text);
bool CellInGridRect(const gui::TGridRect& r, int col, int row);
int32_t LargerOf(int32_t a, int32_t b);
int32_t SmallerOf(int32_t a, int32_t b);
// Equal limits leave the value alone; a limit of 0 or below is not applied.
int32_t ClampToLimits(int32_t value, int32_t low, int32_t high);
// The colour at half intensity (system colours resolved first).
TColor HalveColor(TColor color);
// "RRGGBB" in upper-case hexadecimal from a 0x00BBGGRR value.
std::string ColorToHtmlHex(TColor color);

// --- line breaks, quotes and plain-text encodings (ExUtilText.cpp) ---------

// Every double quote written twice.
std::string DoubleQuoteMarks(std::string_view text);
// A doubled quote char becomes one, a lone one is dropped.
std::string UnescapeQuoteChar(char quote, std::string_view text);
// Where a quoted CSV field ends: the last quote of the first odd run of
// quote chars that another character follows, or the length when the text
// ends in a quote; 0 when neither.  pos receives the result too.
int FindClosingQuote(char quote, std::string_view text, int& pos);
int FindClosingQuote(char quote, std::string_view text);
int CountClosingQuotes(char quote, std::string_view text);
// CR LF pairs become U+000B and the text is put in double quotes.
void QuoteWithVTBreaks(std::string& text);
void VTToCRLF(std::string& text);
void CRLFToLF(std::string& text);
// CR becomes "~", LF is dropped; and back ("~" to CR LF, "^" alone to "").
void CRToTilde(std::string& text);
void TildeToCRLF(std::string& text);

// The native cell encoding of the grid's text files, one line per cell.
// A text with a CR and none of U+0001, U+0008, U+0009 is written as it
// always was: CR to U+0009, LF to U+0008, NUL to U+0001; a text without a
// CR, U+0008 or U+0009 is written unchanged.  Any other text (one holding
// a tab or U+0008, or a CR together with U+0001) is escaped: U+0008
// introduces a letter, "r" CR, "n" LF, "0" NUL, "t" tab, "b" U+0008, and
// U+0001 stays as it is.  Decoding tells the forms apart: U+0009 present
// means the first, else U+0008 present the escaped form (an U+0008 followed
// by no such letter is kept as it stands), else the text is plain.  So
// DecodeCellLineBreaks(EncodeCellLineBreaks(t), true) == t for every t.
std::string EncodeCellLineBreaks(std::string_view text);
// Without multiLine only the first line of the decoded text.
std::string DecodeCellLineBreaks(std::string_view text, bool multiLine);
// The text before the first CR; the line, the CR and an LF right after it
// are cut from text, which keeps the rest only with keepRest.  Without a CR
// the whole text is the line and text is emptied.
std::string CutFirstLine(std::string& text, bool keepRest);
// Multi-line: 1 + the number of CRs; otherwise 1.
int CountTextLines(std::string_view text, bool multiLine);
// Backslash + "n" to CR, and CR to backslash + "n" (LF dropped).
std::string EscapedNewlinesToCR(std::string_view text);
std::string CRToEscapedNewlines(std::string_view text);
// Every CR removed, LF kept (two names, one operation).
std::string RemoveCRChars(std::string_view text);
std::string StripCRChars(std::string_view text);
// Every CR to "<br>" (LF kept).
std::string CRToHtmlBreak(std::string_view text);
// All lines joined without a separator.
std::string ConcatLines(const rtl::TStringList& lines);
// Cuts the field before the first delimiter, and the delimiter's first
// character, from text; without the delimiter the field is empty and text
// unchanged.
std::string CutLeadingField(std::string& text, std::string_view delimiter);
// Every character replaced by c, the number of characters kept.
void FillWithChar(std::string& text, char32_t c);
// The text in the OEM code page, read back as ANSI (Windows-1252) text, so
// that writing the result in the ANSI page gives the OEM bytes; and the
// reverse.  Characters without a counterpart follow rtl/CodePages.h.
void ConvertToOem(std::string& text);
void ConvertFromOem(std::string& text);

// --- prefixed wide text (ExUtilText.cpp) -----------------------------------

// "|\" followed by two characters (U+0000..U+00FF) per UTF-16 code unit of
// the text, high byte first.
std::string EncodePrefixedWideText(std::string_view text);
// The reverse for a text with "|\" at position 1 (an odd last character is
// ignored); any other text is returned unchanged.
std::string DecodePrefixedWideText(std::string_view text);

// --- classification and anchors (ExUtilText.cpp, ExUtilNumbers.cpp) --------

enum : int {
    ctPlainText = 0, ctHtmlText = 1, ctRtfText = 2, ctFormulaText = 3, ctWideText = 5
};
// 0 plain, 1 HTML (only with lookForHtml), 2 RTF, 3 formula, 5 prefixed wide text.
int ClassifyCellText(std::string_view text, bool lookForHtml);

enum : int { ntInteger = 0, ntDecimal = 1, ntOther = 2, ntExponent = 5 };
// 0 integer, 1 decimal number (locale separators), 5 number with an
// exponent, 2 anything else (the empty text too).
int ClassifyNumberText(std::string_view text);
// A character of the Unicode number categories.
bool IsDigitChar(char32_t c);
bool IsDigitOrMinus(char32_t c);
// "://" or "mailto:" in the text (case-sensitive).
bool IsUrlOrMail(std::string_view text);
// Everything up to and including "://", else "mailto:", removed.
void StripUrlScheme(std::string& text);
// "R<row>C<col>" (case ignored): point.X = column, point.Y = row.
bool ParseRowColRef(std::string_view text, gui::TPoint& point);
// The locale date separator twice, neither at the start of its part.
bool HasTwoDateSeparators(std::string_view text);

// --- numbers, dates and names (ExUtilNumbers.cpp) --------------------------

// A plain number text ("-", digits, ".", "e", "E", "+") from a formatted
// number: "(1,234.50)" gives "-1234.50", "$ -12" gives "-12".
std::string ExtractNumberText(std::string_view text);
// Dates written month/day/year or day/month/year with "/", "." or "-";
// 0 when the text is not of that shape.  A year of one or two digits is
// 1900 + year above 25 and 2000 + year otherwise; a longer one is taken as
// written.  An impossible date raises EConvertError.
rtl::TDateTime ParseMDYDate(std::string_view text);
rtl::TDateTime ParseDMYDate(std::string_view text);
// The next date of a series.  Only days: date + days; only years: the same
// day years later; only months: the month moved by months read as a signed
// 16-bit count (65535 is one month back), the day kept; otherwise date +
// step.  An impossible date (31 April) raises EConvertError.
rtl::TDateTime AddDateStep(uint16_t years, uint16_t months, uint16_t days, rtl::TDateTime date,
                           rtl::TDateTime step);
// "mcdonald" -> "McDonald", "john smith iii" -> "John Smith III".
std::string CapitalizeName(std::string_view text);
// The HTML fragment wrapped in the clipboard HTML header; the offsets count
// bytes of the UTF-8 result (equal to characters for ASCII fragments).
void WrapClipboardHtml(std::string& html);

// --- filter conditions (ExUtilFilter.cpp) ----------------------------------

// Does the cell text value satisfy the condition?  Simple conditions
// (comparisons ">5", ">=a", "<1/2/2011", wildcard patterns "a*", "?b",
// "\*", negation "!") joined left to right by "&" (and) or "|", ";", "^"
// (or), grouped by parentheses; double quotes keep spaces and operators in
// an operand.  A negated comparison is its opposite ("!>5" holds for 5 and
// 4, not 6); a "(" without its ")" closes at the end of the condition.
bool MatchFilterCondition(std::string_view condition, std::string_view value, bool caseSensitive);
// The text without the spaces outside double quotes.
std::string RemoveUnquotedSpaces(std::string_view text);
// One simple condition; condition and value already in the same case.
bool MatchSimpleCondition(std::string_view condition, std::string_view value);
// A date with an optional time in the locale's order, separators and time
// separator ("3/4/2011 10:30"); false for anything else.
bool ParseDateTimeText(std::string_view text, rtl::TDateTime& dateTime);

// --- edit sizing (ExUtilDraw.cpp) -----------------------------------------

// The character heights (tmHeight) an edit sizes itself by: the system's
// standard font and the given font.
void EditTextHeights(const gui::TFont* font, int& systemHeight, int& fontHeight);

// --- drawing routines (ExUtilDraw.cpp, ExUtilProgress.cpp) ------------------
//
// Each draws on the canvas it is given and leaves the pen, brush and font
// as it used them last.  Colours are resolved to RGB before any arithmetic;
// roundings are half to even.

// Fills rect in steps bands (0 counts as 1) from color towards colorTo, each
// band one pixel longer than its share so that neighbours overlap; the last
// band stops one step short of colorTo.  colorTo clNone: one plain rectangle.
void DrawGradient(gui::TCanvas* canvas, TColor color, TColor colorTo, int steps, const gui::TRect& rect,
                  bool horizontal);
// One gradient (colour -> colour to), or two halves (then mirror colour ->
// mirror colour to), 128 steps, filled only with fill and a colour; then an
// optional one-pixel border (or only the two side lines).
void DrawMirrorGradient(gui::TCanvas* canvas, gui::TRect rect, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool vertical, TColor borderColor, bool sideLinesOnly, bool fill);
// The colour at position in the range from..to; an empty range gives color.
TColor BlendColorAt(TColor color, TColor colorTo, int from, int to, int position);
// The rounded, gradient-filled selection frame of one cell.  ends: 0 closed
// on both sides, 1 the first cell of a run (closed left), 2 the last
// (closed right), 3 a middle cell.
void DrawSelectionFrame(gui::TCanvas* canvas, TColor upperColor, TColor upperColorTo, TColor lowerColor,
                        TColor lowerColorTo, TColor innerTopColor, TColor innerBottomColor, TColor borderColor,
                        TColor cornerColor, TColor backgroundColor, const gui::TRect& rect, int ends);
// A filled triangle with corners (x - 3, y), (x + 3, y) and (x, y + 3).
void DrawDownTriangle(gui::TCanvas* canvas, int x, int y, TColor color);


// The look of a multi-level progress bar.
struct TProgressAppearance {
    TColor Level0Color = 0x00FF00, Level0ColorTo = 0x00C000;
    TColor Level1Color = 0x00FFFF, Level1ColorTo = 0x00C0C0;
    TColor Level2Color = 0x0080FF, Level2ColorTo = 0x0060C0;
    TColor Level3Color = 0x0000FF, Level3ColorTo = 0x0000C0;
    int32_t Level1Perc = 70;
    int32_t Level2Perc = 90;
    TColor BorderColor = 0x000000;
    bool ShowBorder = true;
    bool Stacked = false;
    bool ShowPercentage = true;
    const gui::TFont* Font = nullptr;  // the percentage's font; the canvas font when nullptr
    bool CompletionSmooth = true;
    bool ShowGradient = false;
    int32_t Steps = 8;
    TColor UnCompleteColor = gui::clWhite;
    bool Vertical = false;
};

// A cell progress bar with its text, which changes colour where the bar
// ends.  format: Format text for the value (rounded when it holds "d" or
// "u"), percent then from minimum..maximum; empty: the rounded value and
// "%".  With a format and minimum = maximum nothing is drawn.
void DrawProgressBar(gui::TCanvas* canvas, gui::TRect rect, TColor fillColor, TColor fillTextColor,
                     TColor emptyColor, TColor emptyTextColor, double value, int marginX, int marginY,
                     double minimum, double maximum, const std::string& format, TColor borderColor, bool upwardY);
// Levels by percent, stacked or one colour, smooth or in blocks.
void DrawLevelProgressBar(gui::TCanvas* canvas, const gui::TRect& rect, int percent,
                          const TProgressAppearance& look);
// The ellipse in rect with the sector of percent (clockwise from twelve
// o'clock) filled in color; outline and radii in 0x808080.  0 % draws the
// outline only; every other percentage fills exactly its sector.
void DrawProgressPie(gui::TCanvas* canvas, const gui::TRect& rect, TColor color, int percent, bool upwardY);
// A bar from the centre, right for positive and left for negative values
// (limited to -maximum..maximum); maximum 0 draws nothing.
void DrawSignedBar(gui::TCanvas* canvas, const gui::TRect& rect, int value, int maximum, bool showValue,
                   TColor negativeColor, TColor positiveColor);
// The bitmap at rect's top-left corner, pixels of its top-left pixel's
// colour drawn in color.
void DrawBitmapOnColor(gui::TCanvas* canvas, const gui::TBitmap* bitmap, TColor color, const gui::TRect& rect);


// A red zigzag under length characters of text from the 0-based index start,
// as the text stands in a single-line edit placed on rect (measured with a
// hidden edit, a child of grid, freed before drawing).
void DrawWavyUnderline(gui::TWinControl* grid, gui::TCanvas* canvas, const std::string& text, const gui::TRect& rect,
                       int yOffset, int start, int length);


// DrawBitmapOnColor with the program's bitmap resource of that name; a
// missing one raises EResNotFound.
void DrawResourceBitmapOnColor(gui::TCanvas* canvas, TColor color, const gui::TRect& rect, const std::string& name);

// Translucent windows: this platform has none, so both calls change nothing
// and answer success, as for a system that lacks the functions.
bool CallUpdateLayeredWindow(std::uintptr_t window, std::uintptr_t destDC, const gui::TPoint* destPos,
                             const gui::TSize* size, std::uintptr_t sourceDC, const gui::TPoint* sourcePos,
                             TColor colorKey, const void* blend, uint32_t flags);
bool CallSetLayeredWindowAttributes(std::uintptr_t window, TColor colorKey, uint8_t alpha, uint32_t flags);


// The drop-down button of a combo editor at the right edge of rect (17
// pixels wide, 1 pixel in from top and bottom, 2 pixels in from the right),
// and the up/down buttons of a spin editor (15 pixels wide, 1 pixel up and
// left).  themed draws the parts of the desktop theme's "combobox" or
// "spin" class (opened for the control of window, which may be 0); without
// an active style, or unthemed, the flat classic buttons.
void DrawComboButton(gui::TCanvas* canvas, std::uintptr_t window, const gui::TRect& rect, bool themed);
void DrawSpinButtons(gui::TCanvas* canvas, std::uintptr_t window, const gui::TRect& rect, bool themed);

} // namespace gridbase
