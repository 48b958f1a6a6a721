// TExEditBtn: the edit with an embedded button (face, container, layout,
// F4 and the editor gate).

#include "controls/ExEdBtn.h"

#include <algorithm>

#include "controls/ThemeBinding.h"
#include "platform/gui/Forms.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

using namespace gui;

// ------------------------------------------------------------------- face

TExSpeedButton::TExSpeedButton(rtl::TComponent* owner) : TSpeedButton(owner)
{
    FIsWinXP = sys::SystemInfo().ComCtlMajorVersion > 5;
}

void TExSpeedButton::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TExSpeedButton::SetFocused(bool v)
{
    if (FFocused == v) return;
    FFocused = v;
    Invalidate();
}

void TExSpeedButton::Dispatch(TMessage& m)
{
    TSpeedButton::Dispatch(m);
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        FHot = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

TExEditBtn* TExSpeedButton::Edit() const
{
    return Parent() ? dynamic_cast<TExEditBtn*>(Parent()->Parent()) : nullptr;
}

void TExSpeedButton::Paint()
{
    TExEditBtn* e = Edit();
    const bool unusable = e && e->Unusable();
    const bool themed = FIsWinXP && AEBXPVS().ThemeActive();
    if (e && e->ButtonStyle() == TButtonStyle::bsDropDown) PaintDropDown(unusable, themed);
    else PaintPush(unusable, themed);
}

void TExSpeedButton::PaintPush(bool unusable, bool themed)
{
    TCanvas* c = Canvas();
    if (TExEditBtn* e = Edit()) c->SetFont(e->Font());
    const bool pressed = (State() == TButtonState::bsDown || State() == TButtonState::bsExclusive) && !FUp;
    const TBitmap* glyph = Glyph();
    const bool hasGlyph = glyph && !glyph->Empty();
    if (themed) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, Width(), Height()));
        TThemeBinding& b = AEBXPVS();
        const HTHEME t = b.OpenThemeData(Parent(), "button");
        const int state = unusable ? 4 : pressed ? 3 : FHot ? 2 : 1;
        b.DrawThemeBackground(t, *c, 1, state, Rect(0, 0, Width() + 1, Height() + 1), nullptr);
        b.CloseThemeData(t);
        TRect r = Rect(0, 0, Width(), Height());
        if (hasGlyph) {
            InflateRect(r, -2, -2);
            if (!Caption().empty()) r.Left += 2;
            else if (glyph->Width() < r.Width()) r.Left += (r.Width() - glyph->Width()) / 2;
            if (glyph->Height() < r.Height()) r.Top += (r.Height() - glyph->Height()) / 2;
            if (State() == TButtonState::bsDown) OffsetRect(r, 1, 1);
            TBitmap g;
            g.Assign(glyph);
            g.SetTransparent(true);
            c->Draw(r.Left, r.Top, &g);
        }
        if (!Caption().empty()) {
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            TRect tr = Rect(0, 0, Width(), Height());
            if (!hasGlyph) {
                InflateRect(tr, -3, -1);
                if (pressed) OffsetRect(tr, 1, 1);
                c->DrawText(Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            } else {
                tr.Left = r.Left + glyph->Width() + 2;
                tr.Top -= 1;
                c->DrawText(Caption(), tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
        }
        return;
    }
    SetEnabled(!unusable);
    if (!Flat()) {
        TSpeedButton::Paint();
        return;
    }
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, Width(), Height()));
    TRect r = Rect(0, 0, Width() + 1, Height() + 1);
    c->DrawEdge(r, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (State() == TButtonState::bsDown ? static_cast<uint32_t>(BF_FLAT) : 0u));
    r = Rect(0, 0, Width(), Height());
    if (hasGlyph) {
        InflateRect(r, -3, -3);
        if (pressed) OffsetRect(r, 1, 1);
        TBitmap g;
        g.Assign(glyph);
        g.SetTransparentColor(g.Canvas()->Pixels(0, 0));
        g.SetTransparent(true);
        c->Draw(r.Left, r.Top, &g);
    }
    if (unusable) c->Font()->SetColor(0x808080);
    if (!Caption().empty()) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        TRect tr = Rect(0, 0, Width(), Height());
        InflateRect(tr, -3, -1);
        if (pressed) OffsetRect(tr, 1, 1);
        c->DrawText(Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TExSpeedButton::PaintDropDown(bool unusable, bool themed)
{
    TCanvas* c = Canvas();
    const bool pressed = (State() == TButtonState::bsDown || State() == TButtonState::bsExclusive) && !FUp;
    if (themed) {
        TRect r = Rect(-1, -1, Width() + 1, Height() + 1);
        r.Left += 2;
        TThemeBinding& b = AEBXPVS();
        const HTHEME t = b.OpenThemeData(Parent(), "combobox");
        b.DrawThemeBackground(t, *c, 1, unusable ? 4 : pressed ? 3 : FHot ? 2 : 1, r, nullptr);
        b.CloseThemeData(t);
        return;
    }
    SetEnabled(!unusable);
    TSpeedButton::Paint();
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(Width() - 2, 0);
    c->LineTo(0, 0);
    c->LineTo(0, Height() - 1);
    c->Pen()->SetColor(0xFFFFFF);
    c->MoveTo(Width() - 3, 1);
    c->LineTo(1, 1);
    c->LineTo(1, Height() - 2);
}

// -------------------------------------------------------------- container

TEditButton::TEditButton(rtl::TComponent* owner) : TWinControl(owner)
{
    FControlStyle.Exclude(TControlStyleItem::csAcceptsControls);
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    FControlStyle.Include(TControlStyleItem::csFramed);
    FControlStyle.Include(TControlStyleItem::csOpaque);
    FButton = new TExSpeedButton(this);
    FButton->OnMouseUp = [this](rtl::TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ButtonMouseUp(s, b, sh, x, y); };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetParent(this);
    FButton->SetCaption("");
    SetBounds(0, 0, 16, 25);
}

void TEditButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
    if (operation == rtl::TOperation::opRemove && component == FButton) FButton = nullptr;
}

void TEditButton::AdjustButtonSize(int& width, int height)
{
    width = FBWidth;
    if (FButton) FButton->SetBounds(0, 0, FBWidth, height);
}

void TEditButton::SetBounds(int left, int top, int width, int height)
{
    if (!ComponentState().Contains(rtl::TComponentStateItem::csLoading)) AdjustButtonSize(width, height);
    TWinControl::SetBounds(left, top, width, height);
}

void TEditButton::Loaded()
{
    TWinControl::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TEditButton::Dispatch(TMessage& m)
{
    if (m.Msg == WM_SIZE) {
        TWinControl::Dispatch(m);
        if (FButton && (FButton->Width() != FBWidth || FButton->Height() != Height())) SetBounds(Left(), Top(), Width(), Height());
        m.Result = 0;
        return;
    }
    if (m.Msg == CM_ENABLEDCHANGED && FButton) FButton->SetEnabled(Enabled());
    TWinControl::Dispatch(m);
}

void TEditButton::ButtonMouseUp(rtl::TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::mbLeft) return;
    if (sender == FButton && OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

// ------------------------------------------------------------------ edit

TExEditBtn::TExEditBtn(rtl::TComponent* owner) : TExEdit(owner)
{
    FButton = new TEditButton(this);
    FButton->SetBounds(0, 0, 17, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](rtl::TObject*) { FireButtonClick(this); };
    SetText("");
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    FIndentR = 18;
    FIndentL = 0;
    SetFlatRect(Flat());
    PlaceButton();
}

TExEditBtn::~TExEditBtn() { FButton = nullptr; }

void TExEditBtn::FireButtonClick(rtl::TObject*)
{
    if (OnClickBtn) OnClickBtn(this);
}

void TExEditBtn::SetButtonStyle(TButtonStyle s)
{
    FButtonStyle = s;
    if (FButton) FButton->Button()->Invalidate();
}

void TExEditBtn::SetButtonWidth(int w)
{
    if (!FButton) return;
    FButton->SetBWidth(w);
    FIndentR = w + 3;
    SetFlatRect(Flat());
    PlaceButton();
}

void TExEditBtn::SetButtonCaption(const std::string& s)
{
    if (FButton) FButton->SetButtonCaption(s);
}

void TExEditBtn::SetButtonHint(const std::string& s)
{
    if (FButtonHint == s) return;
    FButtonHint = s;
    if (FButton) {
        FButton->SetHint(s);
        FButton->SetShowHint(!s.empty());
    }
}

void TExEditBtn::SetGlyph(const TBitmap* b)
{
    if (FButton) FButton->SetGlyph(b);
}

void TExEditBtn::SetFlat(bool v)
{
    if (Flat() == v) return;
    if (FButton) FButton->Button()->SetFlat(v);
    TExEdit::SetFlat(v);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TExEditBtn::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    if (FButton) FButton->Button()->SetEtched(v);
    Invalidate();
}

void TExEditBtn::SetReadOnly(bool v)
{
    TExEdit::SetReadOnly(v);
    if (FButton) FButton->SetEnabled(Enabled() && !v);
    if (FButton) FButton->Button()->Invalidate();
}

int TExEditBtn::MinimumHeight()
{
    TBitmap b;
    TFont system;
    b.Canvas()->SetFont(&system);
    const int ts = b.Canvas()->TextHeight("Wg");
    b.Canvas()->SetFont(Font());
    const int tf = b.Canvas()->TextHeight("Wg");
    return std::min(ts, tf) / 4 + tf;
}

void TExEditBtn::PlaceButton()
{
    const int m = MinimumHeight();
    if (Height() < m) {
        SetHeight(m);
        return;
    }
    if (FButton) {
        if (Ctl3D()) {
            const int a = Flat() ? 3 : BorderStyle() == TBorderStyle::bsSingle ? 4 : 2;
            FButton->SetBounds(Width() - FButton->BWidth() - a, Flat() ? 2 : 0, FButton->BWidth(), Height() - a);
        } else {
            FButton->SetBounds(Width() - FButton->BWidth() - 2, 1, FButton->BWidth(), Height() - 2);
        }
    }
    Invalidate();
}

void TExEditBtn::CreateWnd()
{
    TExEdit::CreateWnd();
    PlaceButton();
}

void TExEditBtn::Loaded()
{
    TExEdit::Loaded();
    PlaceButton();
    if (FButton) FButton->SetEnabled(Enabled() && !ReadOnly());
}

void TExEditBtn::FocusLook()
{
    if (!Flat() || !FButton) return;
    bool active = false;
    if (TCustomForm* f = GetParentForm()) active = f->ActiveControl() == this;
    FButton->Button()->SetFocused(FHot || active || Focused());
}

void TExEditBtn::KeyDown(uint16_t& key, TShiftState shift)
{
    TExEdit::KeyDown(key, shift);
    if (key == VK_F4 && !shift.Contains(TShiftStateItem::ssCtrl) && !shift.Contains(TShiftStateItem::ssAlt))
        FireButtonClick(this);
}

void TExEditBtn::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
        TExEdit::Dispatch(m);
        PlaceButton();
        return;
    case WM_KEYDOWN: {
        // Without the editor the keys that change text do nothing.
        if (!FEditorEnabled && (m.WParam == VK_DELETE || m.WParam == VK_BACK)) {
            uint16_t key = static_cast<uint16_t>(m.WParam);
            KeyDown(key, GetShiftState());
            return;
        }
        const bool ctrlEnter = m.WParam == VK_RETURN && GetShiftState().Contains(TShiftStateItem::ssCtrl);
        TExEdit::Dispatch(m);
        if (ctrlEnter) PostMessage(Handle(), WM_KEYDOWN, VK_UP, 0);
        return;
    }
    case WM_CHAR:
        if (FEditorEnabled) TExEdit::Dispatch(m);
        return;
    case WM_CUT:
    case WM_PASTE:
        if (FEditorEnabled && !ReadOnly()) TExEdit::Dispatch(m);
        return;
    case CM_ENABLEDCHANGED:
        TExEdit::Dispatch(m);
        if (FButton) FButton->SetEnabled(Enabled() && !ReadOnly());
        return;
    case CM_ENTER:
        if (AutoSelect() && !GetShiftState().Contains(TShiftStateItem::ssLeft)) SelectAll();
        TExEdit::Dispatch(m);
        FocusLook();
        return;
    case CM_EXIT:
        TExEdit::Dispatch(m);
        FocusLook();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TExEdit::Dispatch(m);
        const bool hot = m.Msg == CM_MOUSEENTER;
        if (Enabled() && hot != FHot) {
            FHot = hot;
            FocusLook();
        }
        return;
    }
    default:
        TExEdit::Dispatch(m);
        return;
    }
}

} // namespace controls
