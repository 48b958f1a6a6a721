// The placement of a form's window: show state, normal (restored) bounds,
// and the minimized and maximized positions.
//
// The one rule: on this desktop the window manager places minimized and
// maximized windows itself; their positions are kept as given but never
// applied (-1, -1 means "not set").
//
//   gui::TWindowPlacement p = gui::GetWindowPlacement(form);
//   p.NormalPosition = gui::Rect(10, 10, 410, 310);
//   gui::SetWindowPlacement(form, p);
#pragma once

#include <cstdint>

#include "platform/gui/Forms.h"

namespace gui {

struct TWindowPlacement {
    uint32_t Flags = 0;
    int ShowCmd = 1;  // SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_HIDE
    TPoint MinPosition{-1, -1};
    TPoint MaxPosition{-1, -1};
    TRect NormalPosition;
};

// ShowCmd follows the form's WindowState; NormalPosition is its bounds in
// the normal state (the ones it returns to while maximised or minimised).
TWindowPlacement GetWindowPlacement(const TCustomForm* form);
// Sets the normal bounds to NormalPosition (when not empty; a maximised or
// minimised window keeps its state) and the state from ShowCmd (SW_HIDE
// and unknown values leave the state alone).
void SetWindowPlacement(TCustomForm* form, const TWindowPlacement& placement);

} // namespace gui
