// TCustomGrid scrolling by moving pixels: a vertical scroll by less than the
// scrolling area moves the rows already shown (below the fixed rows) with the
// window's pixels and repaints only the strip that comes into view and the
// scroll bars.  Anything that does not move with the rows makes the grid
// answer CanBlitScroll false, and the scroll repaints everything.
#include "platform/gui/Grids.h"
#include "platform/gui/WindowPixels.h"

#include <algorithm>

namespace gui {

bool TCustomGrid::CanBlitScroll() const
{
    // Child controls (an editor, bars over the grid) stay put while the
    // pixels under them would move.
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) return false;
    return true;
}

bool TCustomGrid::BlitScrollRows(int oldTop)
{
    const int newTop = FTopLeft.Y;
    if (oldTop == newTop || Updating() || !Showing() || FBottomReserve > 0 || !CanBlitScroll()) return false;
    const AxisInfo v = Vert();
    const TRect client = ClientRect();
    const int frame = std::max(0, ScrollFrameWidth());
    TRect area{0, v.FixedBoundary, client.Right, client.Bottom};
    area.Left = std::max(area.Left, frame);
    area.Top = std::max(area.Top, frame);
    area.Right = std::min(area.Right, Width() - frame);
    area.Bottom = std::min(area.Bottom, Height() - frame);
    if (area.IsEmpty()) return false;
    // The rows between the two tops make the distance; a jump over the
    // whole area (or more) has nothing to move.
    const int lo = std::min(oldTop, newTop), hi = std::max(oldTop, newTop);
    int distance = 0;
    for (int i = lo; i < hi && distance < area.Height(); ++i) distance += v.Step(i);
    if (distance <= 0 || distance >= area.Height()) return false;
    const int dy = newTop > oldTop ? -distance : distance;
    if (!ScrollWindowArea(this, 0, dy, area)) return false;
    if (dy < 0) InvalidateRect({area.Left, area.Bottom - distance, area.Right, area.Bottom});
    else InvalidateRect({area.Left, area.Top, area.Right, area.Top + distance});
    // The thumb moved.
    for (int bar : {SB_VERT, SB_HORZ})
        if (bar == SB_VERT ? FVertBar : FHorzBar) InvalidateRect(ScrollBarGeometry(bar).Whole);
    return true;
}

} // namespace gui
