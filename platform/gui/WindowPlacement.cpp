#include "platform/gui/WindowPlacement.h"

namespace gui {

// Kept with the form's window (Forms.cpp).
void PlacementPositions(const TCustomForm* form, TPoint& minPosition, TPoint& maxPosition);
void SetPlacementPositions(TCustomForm* form, TPoint minPosition, TPoint maxPosition);

TWindowPlacement GetWindowPlacement(const TCustomForm* form)
{
    TWindowPlacement p;
    if (!form) return p;
    switch (form->WindowState()) {
    case TWindowState::wsMinimized: p.ShowCmd = SW_SHOWMINIMIZED; break;
    case TWindowState::wsMaximized: p.ShowCmd = SW_SHOWMAXIMIZED; break;
    default: p.ShowCmd = SW_SHOWNORMAL; break;
    }
    // A maximised or minimised window keeps the bounds it returns to.
    p.NormalPosition = form->Visible() && p.ShowCmd != SW_SHOWNORMAL ? form->NormalBounds() : form->BoundsRect();
    PlacementPositions(form, p.MinPosition, p.MaxPosition);
    return p;
}

void SetWindowPlacement(TCustomForm* form, const TWindowPlacement& placement)
{
    if (!form) return;
    SetPlacementPositions(form, placement.MinPosition, placement.MaxPosition);
    const TRect& r = placement.NormalPosition;
    const TWindowState was = form->WindowState();
    if (r.Right > r.Left && r.Bottom > r.Top) {
        // The bounds are the normal ones: a maximised or minimised window
        // takes them in the normal state and then its state again.
        if (was != TWindowState::wsNormal && form->Visible()) {
            form->SetWindowState(TWindowState::wsNormal);
            form->SetBoundsRect(r);
            if (placement.ShowCmd != SW_SHOWNORMAL && placement.ShowCmd != SW_SHOWMINIMIZED &&
                placement.ShowCmd != SW_SHOWMAXIMIZED)
                form->SetWindowState(was);
        } else {
            form->SetBoundsRect(r);
        }
    }
    switch (placement.ShowCmd) {
    case SW_SHOWNORMAL: form->SetWindowState(TWindowState::wsNormal); break;
    case SW_SHOWMINIMIZED: form->SetWindowState(TWindowState::wsMinimized); break;
    case SW_SHOWMAXIMIZED: form->SetWindowState(TWindowState::wsMaximized); break;
    default: break;
    }
}

} // namespace gui
