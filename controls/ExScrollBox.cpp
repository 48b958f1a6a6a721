// TExScrollBox: parent background, coloured frame and scroll events.

#include "controls/ExScrollBox.h"
#include "controls/ParentBackground.h"
#include "controls/VersionText.h"

namespace controls {

using namespace gui;

TExScrollBox::TExScrollBox(rtl::TComponent* owner) : TScrollBox(owner)
{
    SetDoubleBuffered(true);
    SetCtl3D(false);
    SetNonClientPaint(true);
}

TExScrollBox::~TExScrollBox() = default;

std::string TExScrollBox::Version() const { return VersionText(GetVersionNr()); }

void TExScrollBox::SetBorderColor(TColor c)
{
    if (c == FBorderColor) return;
    FBorderColor = c;
    Invalidate();
}

void TExScrollBox::PaintWindow(TCanvas* canvas)
{
    DrawParentBackground(this, canvas);
    TScrollBox::PaintWindow(canvas);
}

void TExScrollBox::DrawBorder(TCanvas* c)
{
    if (BorderStyle() == TBorderStyle::bsNone || Ctl3D()) return;
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FBorderColor);
    const int w = Width(), h = Height();
    c->Polyline({{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}});
}

void TExScrollBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
        TScrollBox::Dispatch(m);
        if (m.WParam) DrawBorder(reinterpret_cast<TCanvas*>(m.WParam));
        m.Result = 0;
        return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        TScrollBox::Dispatch(m);
        Invalidate();
        const bool end = m.WParamLo() == SB_ENDSCROLL;
        const rtl::TNotifyEvent& e =
            m.Msg == WM_HSCROLL ? (end ? OnHScrollEnd : OnHScroll) : (end ? OnVScrollEnd : OnVScroll);
        if (e) e(this);
        return;
    }
    case CM_CONTROLCHANGE:
        TScrollBox::Dispatch(m);
        if (!ComponentState().Contains(rtl::TComponentStateItem::csDesigning) &&
            !ComponentState().Contains(rtl::TComponentStateItem::csLoading) && m.LParam != 0)
            Invalidate();
        return;
    default:
        TScrollBox::Dispatch(m);
    }
}

} // namespace controls
