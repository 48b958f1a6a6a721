// Published properties of the graphics objects, for code that reads and
// writes them by name (the report serializer, script bindings): TFont with
// Name, Size, Height, Color, Style, Charset and Pitch.
//
// The rule a caller must know: the descriptors are built on the first call
// of DescribeGraphicsClasses(); call it before the first lookup of a class
// that has a TFont property, or TFont is seen without properties.
//
// Example:
//   gui::DescribeGraphicsClasses();
//   rtl::SetPropValue(memo, "Font.Name", rtl::Variant("Arial"));
#pragma once

#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
#include "platform/rtl/TypInfo.h"

namespace gui {

RTL_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
RTL_SET(TFontStyles, TFontStyle)
RTL_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
RTL_ENUM(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
         "bsCross", "bsDiagCross")
RTL_ENUM(TPrinterOrientation, "poPortrait", "poLandscape")
RTL_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")

// Builds and registers the descriptors once; later calls do nothing.
void DescribeGraphicsClasses();

} // namespace gui
