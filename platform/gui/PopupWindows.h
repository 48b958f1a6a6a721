// Top-level pop-up windows made of windowed controls: small windows that
// float above the program's windows (a moved header cell, insertion
// arrows), are never activated, may let the mouse pass through to what lies
// below, and may have the shape of a polygon that clips both their painting
// and their hit testing.
//
// The rule a caller must know: call SetPopupWindow after the control has
// its parent (the parent's window owns the pop-up); from then on Left and
// Top are screen coordinates.  A new parent makes it a child window again.
//
//   gui::SetPopupWindow(arrow, {true, false});
//   gui::SetWindowShape(arrow, {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
//   arrow->SetBounds(screenX, screenY, 11, 10);
//   arrow->Show();
#pragma once

#include <memory>
#include <vector>

#include "platform/gui/Controls.h"

namespace gui {

struct TPopupWindowOptions {
    bool TopMost = true;          // above every ordinary window
    bool MouseTransparent = false; // the mouse reaches the window below
};

// Makes the control a borderless top-level window that is never activated.
void SetPopupWindow(TWinControl* control, const TPopupWindowOptions& options);
bool IsPopupWindow(const TWinControl* control);

// The window's shape, in its own coordinates, filled by the winding rule;
// an empty polygon removes the shape.
void SetWindowShape(TWinControl* control, const std::vector<TPoint>& polygon);
// The window's opacity, 0 (invisible) to 255 (opaque); kept when the
// control becomes a pop-up later.
void SetWindowAlpha(TWinControl* control, int alpha);
int WindowAlpha(const TWinControl* control);
// Whether a point of the window (own coordinates) lies in its shape (any
// point of the window when it has none).
bool WindowShapeContains(const TWinControl* control, TPoint p);

// The program's visible top-level windows as the screen shows them over
// the screen rectangle r (white where there is none): ordinary windows
// first, then the top-most ones, each clipped to its shape.
std::unique_ptr<TBitmap> GrabScreen(const TRect& r);
// The innermost control under a screen point, as a click there would find
// it: top-most windows first, windows the mouse passes through and points
// outside a window's shape skipped.
TControl* ControlAtScreenPoint(TPoint p);

} // namespace gui
