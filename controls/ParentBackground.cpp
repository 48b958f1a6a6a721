// DrawParentBackground: the parent's erase and paint on a shifted canvas.

#include "controls/ParentBackground.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

namespace controls {

using namespace gui;

void DrawParentBackground(TControl* control, TCanvas* canvas)
{
    TWinControl* parent = control->Parent();
    if (!parent) return;
    const int saved = canvas->SaveDC();
    const TPoint origin = parent->ScreenToClient(control->ClientOrigin());
    canvas->MoveWindowOrg(-origin.X, -origin.Y);
    try {
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
    } catch (...) {
        canvas->RestoreDC(saved);
        throw;
    }
    canvas->RestoreDC(saved);
}

} // namespace controls
