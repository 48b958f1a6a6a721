// The work area (the screen without panels and docks) of the monitor
// nearest to a control.
//
// The one rule: without a control, or when no monitor is known, the
// primary screen's work area (gui::Screen->WorkAreaRect()).
//
//   gui::TRect area = gui::WorkAreaNearest(grid);
#pragma once

#include "platform/gui/Controls.h"

namespace gui {

TRect WorkAreaNearest(const TControl* control);

// The monitor nearest to a screen point: its whole rectangle and its work
// area (the primary screen's when no monitor is known).
struct TMonitorArea {
    TRect BoundsRect;
    TRect WorkareaRect;
};
TMonitorArea MonitorFromPoint(TPoint p);

} // namespace gui
