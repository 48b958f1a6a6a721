// The placement of a form's window: show state, normal (restored) bounds,
// and the minimized and maximized positions.
//
// The one rule: on this desktop the window manager places minimized
// windows itself, and a maximised one goes where the form's answer to
// WM_GETMINMAXINFO says (TCustomForm::GetMinMaxInfo); the positions of a
// placement are kept as given but never applied (-1, -1 means "not set").
//
//   gui::TWindowPlacement p = gui::GetWindowPlacement(form);
//   p.NormalPosition = gui::Rect(10, 10, 410, 310);
//   gui::SetWindowPlacement(form, p);
#pragma once

#include <cstdint>

#include "platform/gui/Forms.h"

namespace gui {

// GetSystemMetrics indices of a dialog's frame.
enum : int { SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8 };

// WM_GETMINMAXINFO's record (LParam points at it): the size and position of
// the maximised window and the smallest and largest sizes the user can give
// it, all outer sizes as SetBounds takes them.  The maximised position is
// relative to the work area's top left corner; the defaults are the whole
// work area, no tracking limits but the form's Constraints.
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

// The form's size limits and maximised place: the defaults, then what its
// window procedure (and the hooks in it) answer to WM_GETMINMAXINFO.  A
// maximised form takes that place, and SetBounds keeps a normal one within
// the tracking sizes, as the user's dragging is.
TMinMaxInfo GetMinMaxInfo(TCustomForm* form);
// Asks again and applies the answer at once; call it when the answer of a
// hook changes.
void UpdateSizeLimits(TCustomForm* form);

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
