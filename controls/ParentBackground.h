// DrawParentBackground: paints what a control's parent shows behind the
// control into the control's own canvas, so that controls with a see-through
// surface (scroll boxes, panels, edits, group boxes) blend into any parent.
//
// The parent's erase and paint handlers run on the given canvas with the
// window origin shifted, so the parent's coordinates land in the control.
// The canvas state is restored afterwards, also when a handler throws.
//
//     void TMyPanel::PaintWindow(gui::TCanvas* canvas)
//     {
//         controls::DrawParentBackground(this, canvas);
//         ...own painting...
//     }
#pragma once

namespace gui {
class TControl;
class TCanvas;
}

namespace controls {

// Does nothing when the control has no parent.
void DrawParentBackground(gui::TControl* control, gui::TCanvas* canvas);

} // namespace controls
