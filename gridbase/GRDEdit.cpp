// GRDEdit: the edit-with-button cell editors.
#include "gridbase/GRDEdit.h"

#include "gridbase/ExUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

namespace gridbase {

using namespace gui;

// --- TExSpeedButton ----------------------------------------------------------------------

void TExSpeedButton::Dispatch(TMessage& m)
{
    TSpeedButton::Dispatch(m);
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        FHot = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TExSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    TRect r(0, 0, Width(), Height());
    const bool down = State() == TButtonState::bsDown || State() == TButtonState::bsExclusive;
    bool drawn = false;
    if (FIsWinXP && IsThemeActive() && Parent()) {
        if (const HTHEME theme = OpenThemeData(Parent(), "button")) {
            drawn = DrawThemeBackground(theme, *c, 1, down ? 3 : (FHot ? 2 : 1), r, nullptr);
            CloseThemeData(theme);
        }
    }
    if (!drawn) {
        if (FFlat) {
            c->DrawEdge(r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
            InflateRect(r, -1, -1);
        } else {
            TRect fr = r;
            c->DrawFrameControl(fr, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? uint32_t(DFCS_PUSHED) : 0u));
        }
    }
    if (!Glyph()->Empty()) {
        TBitmap glyph;
        glyph.Assign(Glyph());
        glyph.SetTransparent(true);
        int x = glyph.Width() < Width() ? (Width() - glyph.Width()) / 2 : 0;
        int y = glyph.Height() < Height() ? (Height() - glyph.Height()) / 2 : 0;
        if (down) {
            ++x;
            ++y;
        }
        c->Draw(x, y, &glyph);
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->SetBkMode(TRANSPARENT);
    if (down) OffsetRect(r, 1, 1);
    c->DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// --- TGrdEditButton ----------------------------------------------------------------------

TGrdEditButton::TGrdEditButton(rtl::TComponent* owner) : TWinControl(owner)
{
    FControlStyle.Exclude(TControlStyleItem::csAcceptsControls);
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    FControlStyle.Include(TControlStyleItem::csFramed);
    FControlStyle.Include(TControlStyleItem::csOpaque);
    FButton = new TExSpeedButton(this);
    FButton->SetVisible(true);
    FButton->SetEnabled(true);
    FButton->SetCaption("");
    FButton->OnClick = [](rtl::TObject*) {};
    FButton->OnMouseUp = [this](rtl::TObject* s, TMouseButton b, TShiftState, int, int) { BtnMouseUp(s, b); };
    FButton->SetParent(this);
    SetBounds(0, 0, 20, 25);
}

void TGrdEditButton::LayoutButton()
{
    if (!FButton || ComponentState().Contains(rtl::TComponentStateItem::csLoading)) return;
    FButton->SetBounds(0, 0, Width(), Height());
}

void TGrdEditButton::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    LayoutButton();
}

void TGrdEditButton::Loaded()
{
    TWinControl::Loaded();
    LayoutButton();
}

void TGrdEditButton::Dispatch(TMessage& m)
{
    TWinControl::Dispatch(m);
    if (m.Msg == WM_SIZE) {
        LayoutButton();
        m.Result = 0;
    }
}

void TGrdEditButton::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v) v->FreeNotification(this);
}

void TGrdEditButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TGrdEditButton::SetFlat(bool v)
{
    FFlat = v;
    FButton->SetFlat(v);
}

void TGrdEditButton::BtnMouseUp(rtl::TObject* sender, TMouseButton button)
{
    if (button != TMouseButton::mbLeft) return;
    if (sender == FButton && OnClick) OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

// --- TGrdEditBtn -------------------------------------------------------------------------

TGrdEditBtn::TGrdEditBtn(rtl::TComponent* owner) : TCustomEdit(owner)
{
    FButton = new TGrdEditButton(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    // Through the virtual slot, so that the unit editor and descendants get it.
    FButton->OnClick = [this](rtl::TObject* s) { ButtonClick(s); };
    SetText("0");
    FControlStyle.Exclude(TControlStyleItem::csSetCaption);
    Resized();
}

TGrdEditBtn::~TGrdEditBtn() { FButton = nullptr; }

void TGrdEditBtn::ButtonClick(rtl::TObject* sender)
{
    if (OnClickBtn) OnClickBtn(sender);
}

void TGrdEditBtn::SetButtonWidth(int v)
{
    FButtonWidth = v;
    if (FButton) FButton->SetBounds(FButton->Left(), FButton->Top(), v, FButton->Height());
}

void TGrdEditBtn::SetRightAlign(bool v)
{
    if (v == FRightAlign) return;
    FRightAlign = v;
    SetAlignment(v ? TAlignment::taRightJustify : TAlignment::taLeftJustify);
    RecreateWnd();
}

void TGrdEditBtn::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FButton) FButton->Button()->SetIsWinXP(v);
}

void TGrdEditBtn::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomEdit::KeyDown(key, shift);
    if (key == VK_F4 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_LMENU) >= 0 && GetKeyState(VK_RMENU) >= 0)
        ButtonClick(this);
}

void TGrdEditBtn::KeyPress(char16_t& key) { TCustomEdit::KeyPress(key); }

void TGrdEditBtn::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CHAR:
        if (!FEditorEnabled) return;  // dropped without a sound
        break;
    case WM_CUT:
    case WM_PASTE:
        if (!FEditorEnabled || ReadOnly()) return;
        break;
    case CM_ENTER:
        if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
        break;
    case WM_SIZE:
        TCustomEdit::Dispatch(m);
        Resized();
        return;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}

int TGrdEditBtn::GetMinHeight()
{
    int sys = 0, own = 0;
    EditTextHeights(Font(), sys, own);
    return own + std::min(sys, own) / 4;
}

void TGrdEditBtn::Resized()
{
    if (!FButton) return;
    if (Height() < GetMinHeight()) {
        SetBounds(Left(), Top(), Width(), GetMinHeight());
        return;
    }
    if (Ctl3D()) {
        const int e = BorderStyle() == TBorderStyle::bsNone ? 1 : 5;
        FButton->SetBounds(Width() - FButton->Width() - e, 0, FButton->Width(), Height() - e);
    } else {
        FButton->SetBounds(Width() - FButton->Width(), 1, FButton->Width(), Height() - 3);
    }
    SetEditRect();
}

void TGrdEditBtn::SetEditRect()
{
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - ((FButton ? FButton->Width() : 0) + FUnitSize + 5);
    if (FUnitSize > 0) r.Right -= 3;
    r.Top = r.Left = BorderStyle() == TBorderStyle::bsNone ? 3 : 1;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

// --- TGrdUnitEditBtn -------------------------------------------------------------------------

TGrdUnitEditBtn::TGrdUnitEditBtn(rtl::TComponent* owner)
    : TGrdEditBtn(owner), FUnits(std::make_unique<rtl::TStringList>())
{
    FUnitSize = 20;
    SetRightAlign(true);
    SetPaintOverNative(true);
    SetEditRect();
}

TGrdUnitEditBtn::~TGrdUnitEditBtn()
{
    delete FMenu;
    FMenu = nullptr;
    FUnits.reset();
}

void TGrdUnitEditBtn::SetUnits(const rtl::TStringList* v)
{
    if (v) FUnits->Assign(v);
}

void TGrdUnitEditBtn::SetUnitID(const std::string& v)
{
    FUnitID = v;
    Invalidate();
}

void TGrdUnitEditBtn::SetUnitSpace(int v)
{
    FUnitSize = v;
    SetEditRect();
    Invalidate();
}

void TGrdUnitEditBtn::ButtonClick(rtl::TObject*)
{
    // A menu of the units, the command of each its 1-based index; the
    // choice comes back as WM_COMMAND.
    delete FMenu;
    FMenu = new TPopupMenu(nullptr);
    for (int i = 0; i < FUnits->Count(); ++i) {
        auto* item = new TMenuItem(FMenu);
        item->SetCaption(FUnits->Strings(i));
        const int id = i + 1;
        item->OnClick = [this, id](rtl::TObject*) { Perform(WM_COMMAND, static_cast<WPARAM>(id), 0); };
        FMenu->Items()->Add(item);
    }
    const TPoint p = ClientToScreen(TPoint{ClientWidth() - 15, ClientHeight()});
    FMenu->Popup(p.X, p.Y);
}

void TGrdUnitEditBtn::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND: {
        if (HIWORD(m.WParam) == EN_CHANGE) return;
        const int id = static_cast<int>(LOWORD(m.WParam));
        if (id >= 1 && id <= FUnits->Count()) SetUnitID(FUnits->Strings(id - 1));
        return;
    }
    case WM_PAINT:
        TGrdEditBtn::Dispatch(m);
        if (m.WParam) {
            // The pass after the native edit: the unit right of the text.
            auto* c = reinterpret_cast<TCanvas*>(m.WParam);
            c->Font()->Assign(Font());
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            const int left = ClientWidth() - ((Button() ? Button()->Width() : 0) + FUnitSize + 3);
            TRect r(left, 2, left + FUnitSize, ClientHeight());
            c->DrawText(FUnitID, r, DT_EDITCONTROL);
        }
        return;
    default: TGrdEditBtn::Dispatch(m);
    }
}

} // namespace gridbase
