// TExCustomCombo: label, colours, focus and the flat look painted after the
// native combo (its client pass draws the button, its window pass the
// frames).

#include "controls/ExCombo.h"
#include "controls/VersionText.h"

#include "controls/ThemeBinding.h"
#include "platform/gui/Forms.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

using namespace gui;

TExCustomCombo::TExCustomCombo(rtl::TComponent* owner)
    : TCustomComboBox(owner), FLabelFont(std::make_unique<TFont>())
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = sys::SystemInfo().IsXPOrLater();
    FIsThemed = sys::SystemInfo().ComCtlMajorVersion > 5;
    FLabelFont->OnChange = [this](rtl::TObject*) {
        if (FLabel) PlaceLabel();
        if (Designing()) SetParentFont(false);
    };
    SetPaintOverNative(true);
    SetNonClientPaint(true);
}

TExCustomCombo::~TExCustomCombo()
{
    TLabel* l = FLabel;
    FLabel = nullptr;
    delete l;
}

void TExCustomCombo::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomComboBox::Notification(component, operation);
    // The label may go first, with the window both sit on.
    if (operation == rtl::TOperation::opRemove && component == FLabel) FLabel = nullptr;
}

bool TExCustomCombo::Loading() const { return ComponentState().Contains(rtl::TComponentStateItem::csLoading); }
bool TExCustomCombo::Designing() const { return ComponentState().Contains(rtl::TComponentStateItem::csDesigning); }

bool TExCustomCombo::ThemesActive() const { return FIsThemed && ACXPVS().ThemeActive(); }

bool TExCustomCombo::HasFocus() const { return Focused() || FHasFocus; }

std::string TExCustomCombo::Version() const { return VersionText(GetVersionNr()); }

// ------------------------------------------------------------- properties

void TExCustomCombo::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    SetCtl3D(!v);
    if (FFlatParentColor && v) {
        if (Parent()) TControl::SetColor(Parent()->Brush()->Color());
    } else {
        TControl::SetColor(FLoadedColor);
    }
    Invalidate();
}

void TExCustomCombo::SetEtched(bool v)
{
    if (FEtched == v) return;
    FEtched = v;
    Invalidate();
}

void TExCustomCombo::SetButtonWidth(int v)
{
    if (v < 14 || v > 32) return;
    FButtonWidth = v;
    Invalidate();
}

void TExCustomCombo::SetFlatLineColor(TColor c)
{
    FFlatLineColor = c;
    Invalidate();
}

void TExCustomCombo::SetFlatParentColor(bool v)
{
    FFlatParentColor = v;
    Invalidate();
}

void TExCustomCombo::SetDropWidth(int v)
{
    FDropWidth = v;
    if (v > 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(v), 0);
}

void TExCustomCombo::SetColor(TColor c)
{
    if (Loading()) FLoadedColor = c;
    TControl::SetColor(c);
}

void TExCustomCombo::SetVisible(bool v)
{
    TCustomComboBox::SetVisible(v);
    if (FLabel) FLabel->SetVisible(v);
}

void TExCustomCombo::SetEnabled(bool v)
{
    const bool old = Enabled();
    TCustomComboBox::SetEnabled(v);
    if (Loading() || Designing() || old == v) return;
    if (FLabel && !FLabelAlwaysEnabled) {
        FLabel->SetEnabled(v);
        PlaceLabel();
    }
}

void TExCustomCombo::SetBounds(int left, int top, int width, int height)
{
    TCustomComboBox::SetBounds(left, top, width, height);
    if (FLabel && !ComponentState().Contains(rtl::TComponentStateItem::csDestroying)) PlaceLabel();
}

void TExCustomCombo::SetParent(TWinControl* parent)
{
    TCustomComboBox::SetParent(parent);
    if (FLabel) {
        FLabel->SetParent(parent);
        if (parent) PlaceLabel();
    }
}

void TExCustomCombo::SelectItem(const std::string& s)
{
    const int i = Items()->IndexOf(s);
    if (i != -1) SetItemIndex(i);
}

void TExCustomCombo::Init() { FNormalColor = Color(); }

// ------------------------------------------------------------------ label

std::string TExCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : std::string(); }

void TExCustomCombo::SetLabelCaption(const std::string& s)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->SetFont(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
    }
    FLabel->SetCaption(s);
    PlaceLabel();
}

void TExCustomCombo::SetLabelPosition(TLabelPosition p)
{
    FLabelPosition = p;
    if (FLabel) PlaceLabel();
}

void TExCustomCombo::SetLabelMargin(int v)
{
    FLabelMargin = v;
    if (FLabel) PlaceLabel();
}

void TExCustomCombo::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    if (FLabel) PlaceLabel();
}

void TExCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    if (FLabel) PlaceLabel();
}

void TExCustomCombo::PlaceLabel()
{
    TLabel* l = FLabel;
    l->SetTransparent(FLabelTransparent);
    if (!ParentFont()) l->SetFont(FLabelFont.get());
    int w = l->Width();
    if (TCanvas* c = l->Canvas()) {
        c->SetFont(l->Font());
        w = c->TextWidth(l->Caption());
    }
    const int centre = Top() + (Height() - l->Height()) / 2;
    const int hcentre = Left() + (Width() - l->Width()) / 2;
    int top = Top(), left = Left();
    switch (FLabelPosition) {
    case TLabelPosition::lpLeftTop: top = Top(); left = Left() - w - FLabelMargin; break;
    case TLabelPosition::lpLeftCenter: top = centre; left = Left() - w - FLabelMargin; break;
    case TLabelPosition::lpLeftBottom: top = Top() + Height() - l->Height(); left = Left() - w - FLabelMargin; break;
    case TLabelPosition::lpTopLeft: top = Top() - l->Height() - FLabelMargin; left = Left(); break;
    case TLabelPosition::lpBottomLeft: top = Top() + Height() + FLabelMargin; left = Left(); break;
    case TLabelPosition::lpLeftTopLeft: top = Top(); left = Left() - FLabelMargin; break;
    case TLabelPosition::lpLeftCenterLeft: top = centre; left = Left() - FLabelMargin; break;
    case TLabelPosition::lpLeftBottomLeft: top = Top() + Height() - l->Height(); left = Left() - FLabelMargin; break;
    case TLabelPosition::lpTopCenter: top = Top() - l->Height() - FLabelMargin; left = hcentre; break;
    case TLabelPosition::lpBottomCenter: top = Top() + Height() + FLabelMargin; left = hcentre; break;
    }
    l->SetBounds(left, top, l->Width(), l->Height());
    l->SetVisible(Visible());
}

// ---------------------------------------------------------------- painting

bool TExCustomCombo::OwnPaint() const
{
    return FFlat || (FFocusBorderColor != clNone && HasFocus()) || (!Enabled() && ThemesActive() && !FDisabledBorder);
}

// Frames and button edges are painted in the window pass after every paint;
// outside painting the window is repainted instead.
void TExCustomCombo::RefreshFrame() { Invalidate(); }

void TExCustomCombo::PaintFrame(TCanvas* c)
{
    if (Enabled() && !FFlat && FFocusBorderColor == clNone) return;
    DrawOuterFrame(c);
    if (Style() != TComboBoxStyle::csSimple && !(FIsWinXP && ThemesActive())) DrawButtonEdge(c);
}

void TExCustomCombo::PaintDropDownButton(TCanvas* c)
{
    TRect r{0, 0, Width(), Height()};
    r.Left += ClientWidth() - FButtonWidth;
    InflateRect(r, -1, -1);
    if (ThemesActive()) {
        const bool held = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (GetAsyncKeyState(VK_RBUTTON) & 0x8000);
        int state;
        if (!Enabled()) state = 4;
        else if (held && DroppedDown()) state = 3;
        else if (held || !FButtonHover || DroppedDown()) state = 1;
        else state = 2;
        TThemeBinding& b = ACXPVS();
        const HTHEME t = b.OpenThemeData(this, "combobox");
        b.DrawThemeBackground(t, *c, 1, state, r, nullptr);
        b.CloseThemeData(t);
    } else {
        c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    c->ExcludeClipRect(TRect{ClientWidth() - FButtonWidth - 4, 0, ClientWidth() + 2, ClientHeight()});
}

void TExCustomCombo::DrawOuterFrame(TCanvas* c)
{
    TRect r{0, 0, Width(), Height()};
    auto frame = [&](TColor color) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(color);
        c->FrameRect(r);
    };
    if (!Enabled() && FIsThemed && !FDisabledBorder) {
        frame(0xB99D7F);
        return;
    }
    if (FFocusBorderColor != clNone) {
        if (HasFocus()) frame(FFocusBorderColor);
        return;
    }
    const bool active = !Designing() && (FMouseInControl || (Screen && Screen->ActiveControl() == this)) && FFocusBorder;
    const TColor outer = active ? clBtnFace : (Parent() ? Parent()->Brush()->Color() : clBtnFace);
    const TColor inner = Color();
    if (active) {
        c->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        frame(outer);
        InflateRect(r, -1, -1);
        frame(inner);
    } else {
        const int sb = GetSystemMetrics(SM_CXVSCROLL);
        frame(outer);
        InflateRect(r, -1, -1);
        r.Right -= sb;
        frame(outer);
        InflateRect(r, -1, -1);
        frame(inner);
        r.Right += sb;
    }
    if (FFlat && FFlatLineColor != clNone) {
        c->Pen()->SetStyle(TPenStyle::psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(FFlatLineColor);
        const int h = Height();
        c->MoveTo(r.Left - 1, h - 2);
        c->LineTo(r.Right, h - 2);
        c->MoveTo(r.Left - 1, 1);
        c->LineTo(r.Right, 1);
        c->MoveTo(r.Left - 1, 1);
        c->LineTo(r.Left - 1, h - 2);
        c->MoveTo(r.Right, 1);
        c->LineTo(r.Right, h - 2);
    }
}

void TExCustomCombo::DrawButtonEdge(TCanvas* c)
{
    c->ExcludeClipRect(TRect{ClientWidth() - FButtonWidth + 4, 4, ClientWidth() - 4, ClientHeight() - 4});
    TRect r{0, 0, Width(), Height()};
    r.Left += ClientWidth() - FButtonWidth - 2;
    InflateRect(r, -2, -2);
    const bool active = Designing() ? Enabled() : (FMouseInControl || (Screen && Screen->ActiveControl() == this));
    if (active) {
        c->DrawEdge(r, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0u));
    } else {
        InflateRect(r, 0, -1);
        r.Right -= 1;
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
    }
    c->ExcludeClipRect(r);
}

// ---------------------------------------------------------------- messages

void TExCustomCombo::MouseMove(TShiftState shift, int x, int y)
{
    TCustomComboBox::MouseMove(shift, x, y);
    const bool over = Width() - FButtonWidth < x && x < Width();
    if (over != FButtonHover) {
        FButtonHover = over;
        Invalidate();
    }
}

void TExCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (FLabel) PlaceLabel();
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!FFlatParentColor || FFlat) TControl::SetColor(FLoadedColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    Init();
}

void TExCustomCombo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        // The pass after the native combo has painted.
        if (m.WParam && OwnPaint() && Style() != TComboBoxStyle::csSimple)
            PaintDropDownButton(reinterpret_cast<TCanvas*>(m.WParam));
        TCustomComboBox::Dispatch(m);
        return;
    case WM_NCPAINT:
        TCustomComboBox::Dispatch(m);
        if (m.WParam && (FFlat || (!Enabled() && ThemesActive() && !FDisabledBorder) ||
                         (FFocusBorderColor != clNone && HasFocus())))
            PaintFrame(reinterpret_cast<TCanvas*>(m.WParam));
        return;
    case WM_SETFOCUS:
        TCustomComboBox::Dispatch(m);
        if (FFocusBorderColor != clNone) Invalidate();
        if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
        if (FIsWinXP) Invalidate();
        return;
    case WM_KILLFOCUS:
        TCustomComboBox::Dispatch(m);
        if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
        Invalidate();
        return;
    case CM_ENTER:
        TCustomComboBox::Dispatch(m);
        if (Designing()) return;
        FHasFocus = true;
        RefreshFrame();
        if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
        return;
    case CM_EXIT:
        TCustomComboBox::Dispatch(m);
        if (Designing()) return;
        FHasFocus = false;
        RefreshFrame();
        if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
        return;
    case CM_MOUSEENTER:
        TCustomComboBox::Dispatch(m);
        if (Enabled() && !FMouseInControl) {
            FMouseInControl = true;
            RefreshFrame();
        }
        if (FAutoFocus && CanFocus()) SetFocus();
        if (FIsWinXP) Invalidate();
        return;
    case CM_MOUSELEAVE:
        TCustomComboBox::Dispatch(m);
        if (Enabled() && FMouseInControl) {
            FMouseInControl = false;
            RefreshFrame();
        }
        if (FIsWinXP) {
            FButtonHover = false;
            Invalidate();
        }
        return;
    case CM_ENABLEDCHANGED:
        if (FFlat && !Loading()) {
            if (!Enabled()) {
                FOldParentColor = ParentColor();
                FOldColor = Color();
                SetParentColor(true);
            } else {
                SetParentColor(FOldParentColor);
                TControl::SetColor(FOldColor);
            }
        }
        TCustomComboBox::Dispatch(m);
        return;
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::Dispatch(m);
        if (FLabel && ParentFont()) FLabel->SetFont(Font());
        return;
    case CN_COMMAND: {
        const uint16_t code = HIWORD(m.WParam);
        TCustomComboBox::Dispatch(m);
        if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
            TRect r = ClientRect();
            r.Left = r.Right - FButtonWidth;
            InvalidateRect(r);
        }
        if (code == CBN_CLOSEUP && OnDropUp) OnDropUp(this);
        return;
    }
    default:
        TCustomComboBox::Dispatch(m);
    }
}

} // namespace controls
