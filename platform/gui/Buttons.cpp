// Speed buttons.
#include "platform/gui/Buttons.h"

#include <algorithm>

#include "platform/gui/ActnList.h"

namespace gui {

TSpeedButton::TSpeedButton(rtl::TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = {TControlStyleItem::csCaptureMouse, TControlStyleItem::csDoubleClicks};
    FGlyph->OnChange = [this](rtl::TObject*) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() { FGlyph->OnChange = nullptr; }

void TSpeedButton::SetGlyph(const TBitmap* b)
{
    FGlyph->Assign(b);
    if (b && b->Height() > 0 && b->Width() % b->Height() == 0 && b->Width() / b->Height() <= 4)
        FNumGlyphs = std::max(1, b->Width() / b->Height());
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int n)
{
    FNumGlyphs = std::clamp(n, 1, 4);
    Invalidate();
}

void TSpeedButton::SetDown(bool v)
{
    if (FGroupIndex == 0) v = false;
    if (v == FDown) return;
    if (FDown && !v && !FAllowAllUp) {
        // The last button of an exclusive group stays down.
        bool other = false;
        if (FParent)
            for (int i = 0; i < FParent->ControlCount(); ++i)
                if (auto* s = dynamic_cast<TSpeedButton*>(FParent->Controls(i)))
                    if (s != this && s->FGroupIndex == FGroupIndex && s->FDown) other = true;
        if (!other) return;
    }
    FDown = v;
    FState = v ? TButtonState::bsExclusive : TButtonState::bsUp;
    if (v && FParent) {
        TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
        FParent->Broadcast(m);
    }
    Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_BUTTONPRESSED:
        if (static_cast<int>(m.WParam) == FGroupIndex && reinterpret_cast<TSpeedButton*>(m.LParam) != this && FDown) {
            FDown = false;
            FState = TButtonState::bsUp;
            Invalidate();
        }
        return;
    case CM_MOUSEENTER:
        if (Enabled() && !FMouseInControl) {
            FMouseInControl = true;
            if (FFlat) Invalidate();
        }
        break;
    case CM_MOUSELEAVE:
        if (FMouseInControl) {
            FMouseInControl = false;
            if (FFlat) Invalidate();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) FMouseInControl = false;
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && Enabled() && Visible() && FParent && FParent->Showing()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = TButtonState::bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging) return;
    TButtonState s = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
    if (ClientRect().Contains({x, y})) s = FDown ? TButtonState::bsExclusive : TButtonState::bsDown;
    if (s != FState) {
        FState = s;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = ClientRect().Contains({x, y});
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) FState = TButtonState::bsExclusive;
    } else {
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        Invalidate();
    }
    if (inside) Click();
}

void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!Enabled()) FState = TButtonState::bsDisabled;
    else if (FState == TButtonState::bsDisabled) FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
    const bool pressed = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
    if (!FTransparent || !FFlat) {
        c->Brush()->SetColor(FState == TButtonState::bsExclusive ? clBtnHighlight : clBtnFace);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->FillRect(r);
    }
    if (!FFlat) {
        TRect f = r;
        c->Frame3D(f, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
    } else if (pressed || (FMouseInControl && FState != TButtonState::bsDisabled)) {
        TRect f = r;
        c->Frame3D(f, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
    }
    const int off = pressed ? 1 : 0;
    // Glyph and caption, centred as a block.
    int gw = 0, gh = 0;
    if (!FGlyph->Empty()) {
        gw = FGlyph->Width() / FNumGlyphs;
        gh = FGlyph->Height();
    }
    c->SetFont(Font());
    const std::string text = StripHotkey(Caption());
    const TSize ts = text.empty() ? TSize{} : c->TextExtent(text);
    const bool horz = FLayout == TButtonLayout::blGlyphLeft || FLayout == TButtonLayout::blGlyphRight;
    const int space = (gw > 0 && ts.cx > 0) ? FSpacing : 0;
    const int totalW = horz ? gw + space + ts.cx : std::max(gw, ts.cx);
    const int totalH = horz ? std::max(gh, ts.cy) : gh + space + ts.cy;
    int x = FMargin >= 0 && horz ? FMargin : (Width() - totalW) / 2;
    int y = FMargin >= 0 && !horz ? FMargin : (Height() - totalH) / 2;
    int gx = x, gy = y + (horz ? (totalH - gh) / 2 : 0), tx = x, ty = y + (horz ? (totalH - ts.cy) / 2 : 0);
    switch (FLayout) {
    case TButtonLayout::blGlyphLeft: tx = x + gw + space; break;
    case TButtonLayout::blGlyphRight: gx = x + ts.cx + space; break;
    case TButtonLayout::blGlyphTop: gx = x + (totalW - gw) / 2; tx = x + (totalW - ts.cx) / 2; ty = y + gh + space; break;
    case TButtonLayout::blGlyphBottom: gx = x + (totalW - gw) / 2; tx = x + (totalW - ts.cx) / 2; gy = y + ts.cy + space; break;
    }
    if (gw > 0) {
        int index = 0;
        if (FState == TButtonState::bsDisabled && FNumGlyphs > 1) index = 1;
        else if (FState == TButtonState::bsDown && FNumGlyphs > 2) index = 2;
        else if (FState == TButtonState::bsExclusive && FNumGlyphs > 3) index = 3;
        TBitmap piece(gw, gh);
        piece.Canvas()->CopyRect(Rect(0, 0, gw, gh), FGlyph->Canvas(), Bounds(index * gw, 0, gw, gh));
        piece.SetTransparent(true);
        piece.SetTransparentColor(FGlyph->Canvas()->Pixels(0, gh - 1));
        c->Draw(gx + off, gy + off, &piece);
    }
    if (!text.empty()) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (FState == TButtonState::bsDisabled) c->Font()->SetColor(clGrayText);
        TRect tr = Bounds(tx + off, ty + off, ts.cx, ts.cy);
        c->DrawText(Caption(), tr, DT_SINGLELINE);
    }
}

} // namespace gui
