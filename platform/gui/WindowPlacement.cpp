#include "platform/gui/WindowPlacement.h"

namespace gui {

TWindowPlacement GetWindowPlacement(const TCustomForm* form)
{
    TWindowPlacement p;
    if (!form) return p;
    switch (form->WindowState()) {
    case TWindowState::wsMinimized: p.ShowCmd = SW_SHOWMINIMIZED; break;
    case TWindowState::wsMaximized: p.ShowCmd = SW_SHOWMAXIMIZED; break;
    default: p.ShowCmd = SW_SHOWNORMAL; break;
    }
    p.NormalPosition = form->BoundsRect();
    return p;
}

void SetWindowPlacement(TCustomForm* form, const TWindowPlacement& placement)
{
    if (!form) return;
    const TRect& r = placement.NormalPosition;
    if (r.Right > r.Left && r.Bottom > r.Top) form->SetBoundsRect(r);
    switch (placement.ShowCmd) {
    case SW_SHOWNORMAL: form->SetWindowState(TWindowState::wsNormal); break;
    case SW_SHOWMINIMIZED: form->SetWindowState(TWindowState::wsMinimized); break;
    case SW_SHOWMAXIMIZED: form->SetWindowState(TWindowState::wsMaximized); break;
    default: break;
    }
}

} // namespace gui
