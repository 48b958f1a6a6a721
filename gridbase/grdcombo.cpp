// grdcombo: the flat combo-box cell editor, painted after the platform's
// combo (its client pass draws the button, its window pass the borders).
#include "gridbase/grdcombo.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"
#include "platform/sys/SystemInfo.h"

namespace gridbase {

using namespace gui;

namespace {

bool IsCommonControls6() { return sys::SystemInfo().ComCtlMajorVersion > 5; }

bool AnyMouseButtonDown() { return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0; }

} // namespace

TGRDCustomCombo::TGRDCustomCombo(rtl::TComponent* owner)
    : TCustomComboBox(owner), FOldColor(Color()), FOldParentColor(ParentColor()),
      FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 4)
{
    SetPaintOverNative(true);
    SetNonClientPaint(true);
}

std::string TGRDCustomCombo::Version() const
{
    const uint32_t v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

void TGRDCustomCombo::SetFlat(bool v)
{
    if (v == FFlat) return;
    FFlat = v;
    SetCtl3D(!v);
    Invalidate();
}

void TGRDCustomCombo::SetEtched(bool v)
{
    if (v == FEtched) return;
    FEtched = v;
    Invalidate();
}

void TGRDCustomCombo::SetButtonWidth(int v)
{
    if (v < 14 || v > 32) return;
    FButtonWidth = v;
    Invalidate();
}

void TGRDCustomCombo::SetDropWidth(int v)
{
    FDropWidth = v;
    if (v > 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(v), 0);
}

void TGRDCustomCombo::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

bool TGRDCustomCombo::NeedDraw3DBorder() const
{
    if (ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return false;
    return FFocusBorder && (FMouseInControl || (Screen && Screen->ActiveControl() == this));
}

void TGRDCustomCombo::DrawButton(TCanvas* c)
{
    TRect r(0, 0, Width(), Height());
    r.Left += ClientWidth() - FButtonWidth;
    if (FIsWinXP) {
        InflateRect(r, -1, -1);
        if (const HTHEME theme = OpenThemeData(this, "combobox")) {
            DrawThemeBackground(theme, *c, 1, AnyMouseButtonDown() ? 3 : 1, r, nullptr);
            CloseThemeData(theme);
        }
        return;
    }
    r.Top += 1;
    r.Bottom -= 1;
    OffsetRect(r, -2, 1);
    c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    c->ExcludeClipRect(TRect(ClientWidth() - FButtonWidth - 4, 0, ClientWidth() + 2, ClientHeight()));
}

void TGRDCustomCombo::DrawBorders(TCanvas* c)
{
    DrawControlBorder(c);
    if (Style() != TComboBoxStyle::csSimple) DrawButtonBorder(c);
}

void TGRDCustomCombo::DrawControlBorder(TCanvas* c)
{
    const TColor frame = NeedDraw3DBorder() ? clBtnFace : (Parent() ? Parent()->Brush()->Color() : clBtnFace);
    const TColor inner = Color();
    TRect r(0, 0, Width(), Height());
    auto frameRect = [&](TColor color) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(color);
        c->FrameRect(r);
    };
    if (NeedDraw3DBorder()) {
        c->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        frameRect(frame);
        InflateRect(r, -1, -1);
        frameRect(inner);
    } else {
        frameRect(frame);
        if (!(FIsWinXP && IsCommonControls6())) {
            InflateRect(r, -1, -1);
            frameRect(frame);
        }
    }
}

void TGRDCustomCombo::DrawButtonBorder(TCanvas* c)
{
    if (FIsWinXP) return;
    c->ExcludeClipRect(TRect(ClientWidth() - FButtonWidth + 4, 4, ClientWidth() - 4, ClientHeight() - 4));
    TRect r(0, 0, Width(), Height());
    r.Left = ClientWidth() - FButtonWidth - 4;
    InflateRect(r, -2, -2);
    r.Bottom += 2;
    r.Right += 1;
    TRect edge = r;
    c->DrawEdge(edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
    c->ExcludeClipRect(r);
}

void TGRDCustomCombo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        // The pass after the native combo has painted.
        if (m.WParam && FFlat && Style() != TComboBoxStyle::csSimple) DrawButton(reinterpret_cast<TCanvas*>(m.WParam));
        TCustomComboBox::Dispatch(m);
        return;
    case WM_NCPAINT:
        TCustomComboBox::Dispatch(m);
        if (m.WParam && FFlat) DrawBorders(reinterpret_cast<TCanvas*>(m.WParam));
        return;
    case CM_ENTER:
    case CM_EXIT:
        TCustomComboBox::Dispatch(m);
        if (!ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) Invalidate();
        return;
    case CM_MOUSEENTER:
        TCustomComboBox::Dispatch(m);
        if (!FMouseInControl && Enabled()) {
            FMouseInControl = true;
            Invalidate();
        }
        if (FAutoFocus && CanFocus()) SetFocus();
        return;
    case CM_MOUSELEAVE:
        TCustomComboBox::Dispatch(m);
        if (FMouseInControl && Enabled()) {
            FMouseInControl = false;
            Invalidate();
        }
        return;
    case CM_ENABLEDCHANGED:
        if (FFlat) {
            if (Enabled()) {
                SetParentColor(FOldParentColor);
                SetColor(FOldColor);
            } else {
                FOldParentColor = ParentColor();
                FOldColor = Color();
                SetParentColor(true);
            }
        }
        TCustomComboBox::Dispatch(m);
        return;
    case CN_COMMAND:
        TCustomComboBox::Dispatch(m);
        if (HIWORD(m.WParam) == CBN_DROPDOWN || HIWORD(m.WParam) == CBN_CLOSEUP) Invalidate();
        return;
    default: TCustomComboBox::Dispatch(m);
    }
}

} // namespace gridbase
