// The up-down buttons.

#include "platform/gui/UpDown.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/gui/StdCtrls.h"

namespace gui {

TUpDown::TUpDown(rtl::TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 17, 21); }

void TUpDown::SetMin(int v)
{
    FMin = v;
    SetPosition(FPosition);
}

void TUpDown::SetMax(int v)
{
    FMax = v;
    SetPosition(FPosition);
}

int TUpDown::Position() const
{
    if (FAssociate) {
        const std::string text = FAssociate->Text();
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (!text.empty() && end && *end == 0) return std::clamp(static_cast<int>(v), FMin, std::max(FMin, FMax));
    }
    return FPosition;
}

void TUpDown::SetPosition(int v)
{
    FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
    if (FAssociate) FAssociate->SetText(std::to_string(FPosition));
    Invalidate();
}

void TUpDown::SetAssociate(TCustomEdit* edit)
{
    FAssociate = edit;
    if (!edit) return;
    SetBounds(edit->Left() + edit->Width(), edit->Top(), Width(), edit->Height());
    SetPosition(FPosition);
}

void TUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    const int current = Position();
    SetPosition(y < Height() / 2 ? current + 1 : current - 1);
    if (OnChanging) OnChanging(this);
}

void TUpDown::Paint()
{
    TCanvas* c = Canvas();
    TRect up(0, 0, Width(), Height() / 2);
    TRect down(0, Height() / 2, Width(), Height());
    c->DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP);
    c->DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN);
}

} // namespace gui
