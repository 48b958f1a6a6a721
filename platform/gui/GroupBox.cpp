// The program-drawn group box's default look and child area.

#include "platform/gui/GroupBox.h"

namespace gui {

TCustomGroupBox::TCustomGroupBox(rtl::TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks, TControlStyleItem::csOpaque};
    SetBounds(FLeft, FTop, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(Font());
    const int h = probe.Canvas()->TextHeight("0");
    rect = ClientRect();
    rect.Top += h;
    InflateRect(rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    const int h = c->TextHeight("0");
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TRect r = Rect(0, h / 2 - 1, Width(), Height());
    TRect e = r;
    e.Left += 1;
    e.Top += 1;
    c->Frame3D(e, clBtnHighlight, clBtnHighlight, 1);
    e = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
    c->Frame3D(e, clBtnShadow, clBtnShadow, 1);
    if (!Caption().empty()) {
        TRect t = Rect(8, 0, 0, h);
        c->DrawText(Caption(), t, DT_SINGLELINE | DT_CALCRECT);
        c->Brush()->SetColor(Color());
        t.Right += 2;
        c->TextRect(Rect(6, 0, t.Right, h), 8, 0, Caption());
    }
}

void TCustomGroupBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) {
        TCustomControl::Dispatch(m);
        Realign();
        Invalidate();
        return;
    }
    TCustomControl::Dispatch(m);
}

} // namespace gui
