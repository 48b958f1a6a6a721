// The property types of colours and cursors, with their identifier maps
// ("clRed", "clBtnFace", "crHourGlass" ...) registered on first use.
//
//   c.Property("Color", &TFoo::Color, &TFoo::SetColor).As(gui::TypeInfoColor());
#pragma once

#include "platform/rtl/IdentMaps.h"

namespace gui {

const rtl::TTypeInfo* TypeInfoColor();
const rtl::TTypeInfo* TypeInfoCursor();

} // namespace gui
