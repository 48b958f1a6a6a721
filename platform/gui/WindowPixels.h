// Window pixels: moving what a shown window already displays, painting what
// is pending, and reading back what the window's backing store holds.
//
// Rule: ScrollWindowArea only moves pixels that are on screen already; the
// caller must be sure the moved picture is what a repaint would draw there
// (it marks the uncovered strip for repainting itself).
//
//     if (!gui::ScrollWindowArea(grid, 0, -40, rowsArea)) grid->Invalidate();
//     gui::PaintPending(grid);                   // paints only the strip
//     auto shown = gui::GrabShownImage(grid);    // what the backing store holds
//     auto seen = gui::GrabScreenImage(form);    // what the screen shows
#pragma once

#include <memory>

#include "platform/gui/Controls.h"

namespace gui {

// Moves the pixels of area (client coordinates) by (dx, dy) and marks the
// part of area left uncovered, and any pending repaint inside it moved
// along, for painting.  False when the window is not shown or something is
// drawn over it (nothing happens then; the caller repaints in full).
bool ScrollWindowArea(TWinControl* control, int dx, int dy, const TRect& area);

// Paints now what is pending in the control's top-level window (only the
// invalid areas) and hands the result to the screen.
void PaintPending(TWinControl* control);

// The control's pixels as its top-level window's backing store holds them
// (what the screen shows); nullptr when the control is not shown.
std::unique_ptr<TBitmap> GrabShownImage(TWinControl* control);

// The control's pixels as the screen shows them: its top-level window
// grabbed from the screen the desktop composes (on the offscreen desktop,
// the window's last flushed backing store); nullptr when the control is
// not shown or the screen gives no picture.
std::unique_ptr<TBitmap> GrabScreenImage(TWinControl* control);

} // namespace gui
