// grdspin: the spin arrows and their strip.
#include "gridbase/grdspin.h"

#include "platform/gui/Themes.h"

namespace gridbase {

using namespace gui;

std::unique_ptr<TBitmap> MakeSpinGlyph(bool up)
{
    auto b = std::make_unique<TBitmap>(9, 6);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(RGB(128, 128, 0));
    c->FillRect(TRect(0, 0, 9, 6));
    // Rows of 1, 3, 5 and 7 pixels from the tip, one pixel off the edges.
    for (int i = 0; i < 4; ++i) {
        const int y = up ? 1 + i : 4 - i;
        for (int x = 4 - i; x <= 4 + i; ++x) c->SetPixels(x, y, clBlack);
    }
    return b;
}

// --- TExTimerSpeedButton ----------------------------------------------------------

TExTimerSpeedButton::TExTimerSpeedButton(rtl::TComponent* owner) : TSpeedButton(owner) {}

TExTimerSpeedButton::~TExTimerSpeedButton()
{
    delete FRepeatTimer;
    FRepeatTimer = nullptr;
}

void TExTimerSpeedButton::SetButtonDirection(TButtonDirection v)
{
    FButtonDirection = v;
    Invalidate();
}

void TExTimerSpeedButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TExTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseDown(button, shift, x, y);
    if (FTimeBtnState.Contains(TTimeBtnStateItem::tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(nullptr);
            FRepeatTimer->OnTimer = [this](rtl::TObject*) { TimerExpired(); };
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent()) Parent()->Invalidate();
}

void TExTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseUp(button, shift, x, y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (Parent()) Parent()->Invalidate();
}

void TExTimerSpeedButton::TimerExpired()
{
    FRepeatTimer->SetInterval(100);
    if (State() == TButtonState::bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TExTimerSpeedButton::Dispatch(TMessage& m)
{
    TSpeedButton::Dispatch(m);
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        FHasMouse = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TExTimerSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    const bool down = State() == TButtonState::bsDown;
    if (FIsWinXP && Parent()) {
        if (const HTHEME theme = OpenThemeData(Parent(), "spin")) {
            int part = 1;
            switch (FButtonDirection) {
            case TButtonDirection::bdUp: part = 1; break;
            case TButtonDirection::bdDown: part = 2; break;
            case TButtonDirection::bdRight: part = 3; break;
            case TButtonDirection::bdLeft: part = 4; break;
            }
            DrawThemeBackground(theme, *c, part, down ? 3 : (FHasMouse ? 2 : 1), r, nullptr);
            CloseThemeData(theme);
            return;
        }
    }
    if (FButtonDirection == TButtonDirection::bdLeft || FButtonDirection == TButtonDirection::bdRight) {
        uint32_t state = FButtonDirection == TButtonDirection::bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (down) state |= DFCS_PUSHED;
        if (Flat()) state |= DFCS_FLAT;
        TRect fr = r;
        c->DrawFrameControl(fr, DFC_SCROLL, state);
        return;
    }
    TSpeedButton::Paint();
}

// --- TGrdSpinButton -----------------------------------------------------------------

TGrdSpinButton::TGrdSpinButton(rtl::TComponent* owner) : TWinControl(owner)
{
    FControlStyle.Exclude(TControlStyleItem::csAcceptsControls);
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    FControlStyle.Include(TControlStyleItem::csFramed);
    FControlStyle.Include(TControlStyleItem::csOpaque);
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    FUpButton->SetButtonDirection(TButtonDirection::bdUp);
    FDownButton->SetButtonDirection(TButtonDirection::bdDown);
    SetBounds(0, 0, 15, 25);
    FFocusedButton = FUpButton;
}

TGrdSpinButton::~TGrdSpinButton() = default;

TExTimerSpeedButton* TGrdSpinButton::CreateButton()
{
    auto* b = new TExTimerSpeedButton(this);
    b->OnClick = [this](rtl::TObject* s) { BtnClick(s); };
    b->OnMouseDown = [this](rtl::TObject* s, TMouseButton button, TShiftState, int, int) { BtnMouseDown(s, button); };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState({TTimeBtnStateItem::tbAllowTimer});
    b->SetParent(this);
    return b;
}

void TGrdSpinButton::LayoutButtons(int& w, int& h)
{
    if (!FUpButton || !FDownButton || ComponentState().Contains(rtl::TComponentStateItem::csLoading)) return;
    if (FDirection == TSpinDirection::spVertical) {
        if (w < 15) w = 15;
        const int up = h / 2;
        FUpButton->SetBounds(0, 0, w, up);
        FDownButton->SetBounds(0, up - 1, w, h - up + 1);
    } else {
        if (w < 20) w = 20;
        FDownButton->SetBounds(0, 0, w / 2, h);
        FUpButton->SetBounds(w / 2 + 1, 0, w / 2, h);
    }
}

void TGrdSpinButton::SetBounds(int left, int top, int width, int height)
{
    int w = width, h = height;
    LayoutButtons(w, h);
    TWinControl::SetBounds(left, top, w, h);
}

void TGrdSpinButton::Loaded()
{
    TWinControl::Loaded();
    int w = Width(), h = Height();
    LayoutButtons(w, h);
    if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

void TGrdSpinButton::SetDirection(TSpinDirection v)
{
    if (v == FDirection) return;
    FDirection = v;
    if (v == TSpinDirection::spHorizontal) {
        FUpButton->SetButtonDirection(TButtonDirection::bdRight);
        FDownButton->SetButtonDirection(TButtonDirection::bdLeft);
        SetBounds(Left(), Top(), 20, Height());
    } else {
        FUpButton->SetButtonDirection(TButtonDirection::bdUp);
        FDownButton->SetButtonDirection(TButtonDirection::bdDown);
        SetBounds(Left(), Top(), 15, Height());
    }
}

void TGrdSpinButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TGrdSpinButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TGrdSpinButton::SetUpGlyph(const TBitmap* v)
{
    if (v && !v->Empty()) {
        FUpButton->SetGlyph(v);
        return;
    }
    FUpButton->SetGlyph(MakeSpinGlyph(true).get());
    FUpButton->SetNumGlyphs(1);
    FUpButton->Invalidate();
}

void TGrdSpinButton::SetDownGlyph(const TBitmap* v)
{
    if (v && !v->Empty()) {
        FDownButton->SetGlyph(v);
        return;
    }
    FDownButton->SetGlyph(MakeSpinGlyph(false).get());
    FDownButton->SetNumGlyphs(1);
    FDownButton->Invalidate();
}

void TGrdSpinButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    FUpButton->SetIsWinXP(v);
    FDownButton->SetIsWinXP(v);
}

void TGrdSpinButton::BtnClick(rtl::TObject* sender)
{
    if (sender == FUpButton) {
        if (OnUpClick) OnUpClick(this);
    } else if (sender == FDownButton) {
        if (OnDownClick) OnDownClick(this);
    }
}

void TGrdSpinButton::BtnMouseDown(rtl::TObject* sender, TMouseButton button)
{
    if (button != TMouseButton::mbLeft) return;
    SetFocusBtn(static_cast<TExTimerSpeedButton*>(sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TGrdSpinButton::SetFocusBtn(TExTimerSpeedButton* btn)
{
    if (!TabStop() || !CanFocus() || btn == FFocusedButton) return;
    TTimeBtnState old = FFocusedButton->TimeBtnState();
    old.Exclude(TTimeBtnStateItem::tbFocusRect);
    FFocusedButton->SetTimeBtnState(old);
    FFocusedButton = btn;
    if (Focused()) {
        TTimeBtnState s = btn->TimeBtnState();
        s.Include(TTimeBtnStateItem::tbFocusRect);
        btn->SetTimeBtnState(s);
        Invalidate();
    }
}

void TGrdSpinButton::KeyDown(uint16_t& key, TShiftState shift)
{
    switch (key) {
    case VK_SPACE: FFocusedButton->Click(); break;
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default: break;
    }
    TWinControl::KeyDown(key, shift);
}

void TGrdSpinButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_SIZE: {
        TWinControl::Dispatch(m);
        int w = Width(), h = Height();
        LayoutButtons(w, h);
        if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWinControl::Dispatch(m);
        TTimeBtnState s = FFocusedButton->TimeBtnState();
        if (m.Msg == WM_SETFOCUS) s.Include(TTimeBtnStateItem::tbFocusRect);
        else s.Exclude(TTimeBtnStateItem::tbFocusRect);
        FFocusedButton->SetTimeBtnState(s);
        FFocusedButton->Invalidate();
        return;
    }
    default: TWinControl::Dispatch(m);
    }
}

} // namespace gridbase
