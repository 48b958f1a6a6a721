// The drawing values that documents keep as child elements: colours, and
// the properties of a font, a pen and a brush as plain records.  The GUI
// layer converts its own font, pen and brush objects to and from these
// records; this library knows nothing of the GUI.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/Set.h"

namespace xml {

// A colour value: red + 256 * green + 65536 * blue; a value whose top
// byte is all ones names the system colour whose index is in the low byte;
// 0x1FFFFFFF means no colour.
using TXmlColor = uint32_t;
constexpr TXmlColor cXmlColorNone = 0x1FFFFFFF;

// Resolves a system colour to its RGB value; other values pass unchanged.
// The resolver is replaceable (SetColorToRGBHook) so that the GUI layer
// can supply the desktop's current palette; until then a fixed table of
// typical desktop colours answers.
using TColorToRGBFunc = TXmlColor (*)(TXmlColor AColor);
TXmlColor ColorToRGB(TXmlColor AColor);
// Installs AFunc (nullptr: the built-in table) and returns the previous
// resolver.
TColorToRGBFunc SetColorToRGBHook(TColorToRGBFunc AFunc);
// The built-in resolver.
TXmlColor DefaultColorToRGB(TXmlColor AColor);

// Ordinals of the GUI's pen modes, pen styles and brush styles that the
// documents store as integers.
constexpr int32_t cXmlPenModeCopy = 4;    // pmCopy
constexpr int32_t cXmlPenStyleSolid = 0;  // psSolid
constexpr int32_t cXmlBrushStyleSolid = 0;  // bsSolid

enum class TXmlFontStyle { Bold, Italic, Underline, StrikeOut };
using TXmlFontStyles = rtl::Set<TXmlFontStyle, 8>;

struct TXmlFont {
    std::string Name = "Arial";
    TXmlColor Color = 0;
    int32_t Size = 14;
    TXmlFontStyles Style;
};

struct TXmlPen {
    TXmlColor Color = 0;
    int32_t Mode = cXmlPenModeCopy;
    int32_t Style = cXmlPenStyleSolid;
    int32_t Width = 1;
};

struct TXmlBrush {
    TXmlColor Color = 0xFFFFFF;
    int32_t Style = cXmlBrushStyleSolid;
    // Set by ReadBrush when the document holds no brush: the brush's
    // pattern bitmap, if any, is to be dropped.
    bool ClearBitmap = false;
};

} // namespace xml
