// Type information of the form enumerations (border style, position, form
// style, window state), for published properties that use them.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TypInfo.h"

namespace gui {

RTL_ENUM(TBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
RTL_ENUM(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
         "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
RTL_ENUM(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
RTL_ENUM(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")

} // namespace gui
