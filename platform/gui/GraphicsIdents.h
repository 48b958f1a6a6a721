// The property types of colours and cursors, with their identifier maps
// ("clRed", "clBtnFace", "crHourGlass" ...) registered on first use.
//
//   c.Property("Color", &TFoo::Color, &TFoo::SetColor).As(gui::TypeInfoColor());
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/IdentMaps.h"

namespace gui {

const rtl::TTypeInfo* TypeInfoColor();
const rtl::TTypeInfo* TypeInfoCursor();

// A colour as text: its identifier ("clBlack" ... "clNone") when it has
// one, else "$" and eight upper-case hexadecimal digits.
std::string ColorToIdent(uint32_t color);
// An identifier, a "$" hexadecimal or a decimal number; false for anything
// else (color unchanged).
bool IdentToColor(const std::string& text, uint32_t& color);

} // namespace gui
