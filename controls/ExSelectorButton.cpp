// The selector button and its drop-down window: appearance presets, the
// button and combo looks, mouse and keyboard, placing, showing and closing
// the drop-down, the base panel's border, and the gradient routine.

#include <algorithm>
#include <cmath>

#include "controls/ExSelectors.h"
#include "controls/ThemeBinding.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Format.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

using namespace gui;

void DrawSelectorGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& r,
                          int count)
{
    if (count <= 0) count = 1;
    const TColor from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
    const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
    const int dr = GetRValue(to) - r0, dg = GetGValue(to) - g0, db = GetBValue(to) - b0;
    const double step = (horizontal ? r.Width() : r.Height()) / static_cast<double>(count);
    auto nearest = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    canvas->Pen()->SetStyle(TPenStyle::psSolid);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < count; ++i) {
        const TColor c = RGB(r0 + nearest(i * dr / static_cast<double>(count)),
                             g0 + nearest(i * dg / static_cast<double>(count)),
                             b0 + nearest(i * db / static_cast<double>(count)));
        canvas->Pen()->SetColor(c);
        canvas->Brush()->SetColor(c);
        const int o = static_cast<uint16_t>(nearest(i * step));
        if (horizontal) canvas->Rectangle(r.Left + o, r.Top, r.Left + o + nearest(step) + 1, r.Bottom);
        else canvas->Rectangle(r.Left, r.Top + o, r.Right, r.Top + o + nearest(step) + 1);
    }
}

TDropDownPlacement PlaceDropDown(TPoint p, int buttonWidth, int buttonHeight, int width, int height,
                                 const TRect& workArea)
{
    TDropDownPlacement d;
    d.Left = p.X;
    if (height + p.Y + 2 < workArea.Bottom) {
        d.Top = p.Y - 1;
        d.ShowAbove = false;
    } else {
        d.Top = p.Y - buttonHeight - height + 1;
        d.ShowAbove = true;
    }
    if (d.Left + width > workArea.Right) {
        d.Left = p.X + buttonWidth - width;
        d.ShowLeft = true;
    }
    return d;
}

// ------------------------------------------------------------ base panel

TExCustomSelectorPanel::TExCustomSelectorPanel(rtl::TComponent* owner) : TCustomPanel(owner)
{
    SetBevelOuter(TBevelCut::bvNone);
    SetBevelWidth(1);
    SetColor(0xF7F8F9);
    SetShowCaption(false);
}

TSelectorDropDownWindow* TExCustomSelectorPanel::DropDownWindow() const
{
    return dynamic_cast<TSelectorDropDownWindow*>(Owner());
}

void TExCustomSelectorPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* c = Canvas();
    const int W = Width(), H = Height();
    if (FColorTo != clNone)
        DrawSelectorGradient(c, Color(), FColorTo, FGradientDirection == TGradientDirection::gdHorizontal, Rect(0, 0, W, H), 40);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(FWindowBorderColor);
    auto line = [c](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    line(0, 0, 0, H);
    line(W - 1, H, W - 1, -1);
    TSelectorDropDownWindow* win = DropDownWindow();
    const int SW = win && win->Selector() ? win->Selector()->Width() : 0;
    const bool full = !win || win->ShowFullBorder();
    if (full) {
        line(0, 0, W - 1, 0);
        line(0, H - 1, W - 1, H - 1);
    } else if (win->ShowAbove()) {
        line(0, 0, W - 1, 0);
        if (win->ShowLeft()) line(0, H - 1, W - SW + 1, H - 1);
        else line(SW - 1, H - 1, W - 1, H - 1);
    } else {
        if (win->ShowLeft()) line(0, 0, W - SW + 1, 0);
        else line(SW - 1, 0, W, 0);
        line(0, H - 1, W - 1, H - 1);
    }
}

// ---------------------------------------------------------------- window

TSelectorDropDownWindow::TSelectorDropDownWindow(rtl::TComponent* owner, TExCustomSelector* selector)
    : TDropDownForm(owner), FOwner(selector)
{
    SetCtl3D(false);
    SetBounds(0, 0, 100, 100);
    FHideTimer = new TTimer(this);
    FHideTimer->SetInterval(1);
    FHideTimer->SetEnabled(false);
    FHideTimer->OnTimer = [this](rtl::TObject*) {
        Hide();
        FHideTimer->SetEnabled(false);
    };
}

void TSelectorDropDownWindow::SetWindowSize()
{
    if (!FSelectorPanel) return;
    SetBounds(Left(), Top(), FSelectorPanel->Width(), FSelectorPanel->GetPanelHeight());
}

void TSelectorDropDownWindow::Dispatch(TMessage& m)
{
    if (m.Msg == WM_ACTIVATE) {
        TDropDownForm::Dispatch(m);
        if (m.WParamLo() != WA_INACTIVE) {
            if (FSelectorPanel && FSelectorPanel->CanFocus()) FSelectorPanel->SetFocus();
            if (TCustomForm* top = TopForm(FOwner)) top->Perform(WM_NCACTIVATE, 1, 0);
        } else if (FHideOnDeActivate && Visible()) {
            Hide();
            FHideTimer->SetEnabled(true);
        }
        return;
    }
    if (m.Msg == WM_NCHITTEST) {
        const TPoint p = ScreenToClient({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        m.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : 0;
        return;
    }
    TDropDownForm::Dispatch(m);
}

// ---------------------------------------------------------------- button

TExCustomSelector::TExCustomSelector(rtl::TComponent* owner)
    : TCustomControl(owner), FGlyph(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FTools(std::make_unique<TExSelectorItems>(this))
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle({TControlStyleItem::csCaptureMouse, TControlStyleItem::csDoubleClicks});
    SetParentFont(true);
    FIsThemed = sys::SystemInfo().ComCtlMajorVersion > 5;
    FGlyph->OnChange = [this](rtl::TObject*) { Invalidate(); };
    if (!IsDesigning()) {
        FDropDownWindow = new TSelectorDropDownWindow(nullptr, this);
        FDropDownWindow->OnHide = [this](rtl::TObject*) {
            FState = TExButtonState::absUp;
            Invalidate();
        };
    }
}

TExCustomSelector::~TExCustomSelector()
{
    // The window owns the panels; it goes first, without telling back.
    if (FDropDownWindow) {
        FDropDownWindow->OnHide = nullptr;
        delete FDropDownWindow;
        FDropDownWindow = nullptr;
        FSelectorPanel = nullptr;
    }
}

std::string TExCustomSelector::Version() const
{
    const int v = GetVersionNr();
    return rtl::Format("%d.%d.%d.%d", (v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TExCustomSelector::SetAppearanceStyle(TExAppearanceStyle v)
{
    FAppearanceStyle = v;
    FDropDownBtnWidth = 12;
    const TColor themedBorder = FIsThemed ? 0xB99D7F : 0;
    auto office = [this](TColor c, TColor cTo, TColor dropDown) {
        SetColor(c);
        FColorTo = cTo;
        FColorHot = 0xDCFFFF;
        FColorHotTo = 0x5BC0F7;
        FColorDown = 0x087FE8;
        FColorDownTo = 0x7CDAF7;
        FColorSelected = 0x71BFFF;
        FColorSelectedTo = clNone;
        FColorSelectionHot = 0xC2EEFF;
        FColorSelectionHotTo = clNone;
        FColorSelectionDown = 0x6FC0FF;
        FColorSelectionDownTo = clNone;
        FBorderColor = clNone;
        FBorderHotColor = 0;
        FBorderDropDownColor = dropDown;
        FGradientDirection = TGradientDirection::gdVertical;
    };
    auto classic = [this](TColor dropDown, TColor border, TColor hot) {
        SetColor(clBtnFace);
        FColorTo = clNone;
        FColorHot = 0xD6BEB5;
        FColorHotTo = clNone;
        FColorDown = 0xB59584;
        FColorDownTo = clNone;
        FColorSelected = 0xDED7D6;
        FColorSelectedTo = clNone;
        FColorSelectionHot = 0xD6BEB5;
        FColorSelectionHotTo = clNone;
        FColorSelectionDown = 0xDED7D6;
        FColorSelectionDownTo = clNone;
        FBorderColor = border;
        FBorderHotColor = hot;
        FBorderDropDownColor = dropDown;
    };
    switch (v) {
    case TExAppearanceStyle::esOffice2003Blue: office(0xFDEADA, 0xE4AE88, 0x962D00); break;
    case TExAppearanceStyle::esOffice2003Silver: office(0xECE2E1, 0xB39698, 0x947C7C); break;
    case TExAppearanceStyle::esOffice2003Olive: office(0xCFF0EA, 0x8CC0B1, 0x5E8D75); break;
    case TExAppearanceStyle::esOffice2003Classic:
        classic(0x808080, clNone, 0);
        FGradientDirection = TGradientDirection::gdVertical;
        break;
    case TExAppearanceStyle::esWhidbey:
        office(0xEBEEEF, 0x7E9898, 0x808080);
        FColorSelected = 0x94E6FB;
        FColorSelectedTo = 0x1595EE;
        FColorSelectionHot = 0x94E6FB;
        FColorSelectionDown = 0xDCFFFF;
        FBorderColor = 0x962D00;
        FAutoThemeAdapt = false;
        break;
    case TExAppearanceStyle::esCustom: FAutoThemeAdapt = false; break;
    case TExAppearanceStyle::esXP:
        classic(themedBorder, FStyle == TExSelectorStyle::ssCombo ? themedBorder : clNone, themedBorder);
        FAutoThemeAdapt = false;
        FDropDownBtnWidth = 18;
        break;
    }
    Invalidate();
}

void TExCustomSelector::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v && !IsDesigning()) ThemeAdapt();
}

void TExCustomSelector::ThemeAdapt()
{
    switch (CurrentXPColorScheme()) {
    case 1: SetAppearanceStyle(TExAppearanceStyle::esOffice2003Blue); break;
    case 2: SetAppearanceStyle(TExAppearanceStyle::esOffice2003Olive); break;
    case 3: SetAppearanceStyle(TExAppearanceStyle::esOffice2003Silver); break;
    default: SetAppearanceStyle(TExAppearanceStyle::esOffice2003Classic); break;
    }
}

void TExCustomSelector::SetStyle(TExSelectorStyle v)
{
    FStyle = v;
    if (IsDesigning() && !IsLoading()) SetWidth(v == TExSelectorStyle::ssCombo ? 128 : 23);
    Invalidate();
}

void TExCustomSelector::SetSelectedIndex(int v)
{
    if (v < FTools->Count()) {
        FSelectedIndex = v;
        Invalidate();
    }
    FRememberedIndex = v;
}

void TExCustomSelector::SetImages(TImageList* images)
{
    FImages = images;
    if (images) images->FreeNotification(this);
    Invalidate();
}

void TExCustomSelector::Loaded()
{
    TCustomControl::Loaded();
    if (FRememberedIndex < FTools->Count()) FSelectedIndex = FRememberedIndex;
    if (FAutoThemeAdapt && !IsDesigning()) ThemeAdapt();
}

void TExCustomSelector::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

// --- painting

void TExCustomSelector::Fill(const TRect& r, TColor from, TColor to)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    if (to == clNone) {
        c->Pen()->SetColor(from);
        c->Brush()->SetColor(from);
        c->Rectangle(r);
    } else {
        DrawSelectorGradient(c, from, to, false, r, 16);
    }
}

void TExCustomSelector::Frame(const TRect& r, TColor k)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    if (k == clNone) return;
    c->Pen()->SetColor(k);
    c->Rectangle(r);
}

void TExCustomSelector::PaintDropArrow(int x, int y, TColor col)
{
    TCanvas* c = Canvas();
    c->Pen()->SetColor(col);
    c->MoveTo(x, y);
    c->LineTo(x + 5, y);
    c->MoveTo(x + 1, y + 1);
    c->LineTo(x + 4, y + 1);
    c->SetPixels(x + 2, y + 2, col);
}

void TExCustomSelector::Paint()
{
    Canvas()->Font()->Assign(Font());
    if (FStyle == TExSelectorStyle::ssButton) PaintButton();
    else PaintCombo();
}

void TExCustomSelector::PaintButton()
{
    TCanvas* c = Canvas();
    const int W = Width(), H = Height(), BW = FDropDownBtnWidth;
    const TRect R = Rect(0, 0, W, H);
    const TRect M = FDropDownButton ? Rect(0, 0, W - BW, H) : R;
    const TRect CR = FDropDownButton ? Rect(2, 0, W - BW, H) : Rect(2, 0, W, H);
    const TRect A = Rect(W - BW, 0, W, H);
    const int ax = A.Left + 1 + (A.Width() - 5) / 2, ay = A.Top + 1 + (A.Height() - 3) / 2;
    auto separator = [&] {
        c->MoveTo(A.Left, 0);
        c->LineTo(A.Left, H);
    };
    const bool hot = FMouseInControl && Enabled() && !IsDesigning();
    if (FState == TExButtonState::absDropDown) {
        Fill(R, Color(), FColorTo);
        Frame(R, FBorderDropDownColor);
        DrawGlyphAndCaption(FGlyph.get(), CR);
        if (FDropDownButton) PaintDropArrow(ax, ay, Enabled() ? 0 : 0xC0C0C0);
    } else if (!hot) {
        if (Enabled()) {
            Fill(R, Color(), FColorTo);
            Frame(R, FBorderColor);
        } else {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Pen()->SetColor(0x808080);
            c->Brush()->SetColor(0xC0C0C0);
            c->Rectangle(R);
        }
        DrawGlyphAndCaption(FGlyph.get(), CR);
        if (FDropDownButton) {
            c->Pen()->SetColor(Enabled() ? TColor(0) : TColor(0x808080));
            separator();
            PaintDropArrow(ax, ay, Enabled() ? 0 : 0x808080);
        }
    } else if (FMouseDown) {
        if (FDropDownButton) {
            Fill(R, FColorHot, FColorHotTo);
            Frame(R, FBorderHotColor);
            separator();
            PaintDropArrow(ax, ay, 0);
        }
        Fill(M, FColorDown, FColorDownTo);
        Frame(R, FBorderDownColor);
        DrawGlyphAndCaption(FGlyphDown->Empty() ? FGlyph.get() : FGlyphDown.get(), CR);
    } else {
        Fill(R, FColorHot, FColorHotTo);
        Frame(R, FBorderHotColor);
        DrawGlyphAndCaption(FGlyphHot->Empty() ? FGlyph.get() : FGlyphHot.get(), CR);
        if (FDropDownButton) {
            separator();
            PaintDropArrow(ax, ay, 0);
        }
    }
}

void TExCustomSelector::DrawComboArrowButton()
{
    TCanvas* c = Canvas();
    TRect r = Rect(ClientWidth() - FDropDownBtnWidth, 0, Width(), Height());
    InflateRect(r, -1, -1);
    if (FIsThemed && ACXPVS().ThemeActive()) {
        int state = 1;
        if (!Enabled()) state = 4;
        else if (FMouseDown && FState == TExButtonState::absUp) state = 3;
        else if (FMouseInControl && !FMouseDown && FState != TExButtonState::absDown) state = 2;
        TThemeBinding& b = ACXPVS();
        const HTHEME t = b.OpenThemeData(this, "combobox");
        b.DrawThemeBackground(t, *c, 1, state, r, nullptr);
        b.CloseThemeData(t);
    } else {
        c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
}

void TExCustomSelector::PaintCombo()
{
    TCanvas* c = Canvas();
    const int W = Width(), H = Height(), BW = FDropDownBtnWidth;
    const TRect R = Rect(0, 0, W, H), T = Rect(0, 0, W - BW, H), B = Rect(W - BW - 1, 1, W - 1, H - 1);
    const int ax = B.Left + 1 + (B.Width() - 5) / 2, ay = B.Top + 1 + (B.Height() - 3) / 2;
    auto white = [&] {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clWhite);
        c->Rectangle(R);
    };
    auto separator = [&] {
        c->MoveTo(B.Left, 0);
        c->LineTo(B.Left, H);
    };
    if (FAppearanceStyle == TExAppearanceStyle::esXP) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(clWindow);
        c->Pen()->SetColor(FBorderColor == clNone ? TColor(0) : FBorderColor);
        c->Rectangle(R);
        DrawComboArrowButton();
        DrawGlyphAndCaption(FGlyph.get(), T);
        return;
    }
    const bool inside = FMouseInControl && !IsDesigning();
    if (FState == TExButtonState::absDropDown) {
        white();
        Fill(B, FColorDown, FColorDownTo);
        if (FBorderDownColor != clNone) {
            Frame(R, FBorderDownColor);
            separator();
        }
    } else if (!inside) {
        white();
        Fill(FColorTo == clNone ? B : Rect(B.Left, B.Top, B.Right, B.Bottom - 1), Color(), FColorTo);
        if (FBorderColor != clNone) {
            Frame(R, FBorderColor);
            separator();
        }
    } else if (!FMouseDown) {
        white();
        Fill(B, FColorHot, FColorHotTo);
        Frame(R, FBorderHotColor);
        DrawGlyphAndCaption(FGlyph.get(), T);
        separator();
        PaintDropArrow(ax, ay, 0);
        return;
    } else {
        return;   // pressed while still up: nothing
    }
    DrawGlyphAndCaption(FGlyph.get(), T);
    PaintDropArrow(ax, ay, 0);
}

int TExCustomSelector::PaintGlyph(TBitmap* glyph, const TRect& r)
{
    if (!glyph || glyph->Empty()) return 0;
    const int y = (r.Bottom - r.Top - glyph->Height()) / 2;
    const int x = !Caption().empty() ? 2 : (r.Right - r.Left - glyph->Width()) / 2;
    if (glyph->Width() >= r.Width()) return 0;
    glyph->SetTransparent(true);
    Canvas()->Draw(x, y, glyph);
    return x + glyph->Width() + 2;
}

void TExCustomSelector::DrawGlyphAndCaption(TBitmap* glyph, TRect r)
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    if (!Enabled()) c->Font()->SetColor(0xC0C0C0);
    if (FStyle == TExSelectorStyle::ssButton) {
        if ((!glyph || glyph->Empty()) && Caption().empty() && FSelectedIndex >= 0 && FImages &&
            FSelectedIndex < FTools->Count()) {
            TBitmap pic(FImages->Width(), FImages->Height());
            pic.Canvas()->Brush()->SetColor(0xFF00FF);
            pic.Canvas()->FillRect(Rect(0, 0, pic.Width(), pic.Height()));
            FImages->Draw(pic.Canvas(), 0, 0, FTools->Items(FSelectedIndex)->ImageIndex(), true);
            pic.SetTransparentColor(0xFF00FF);
            pic.SetTransparent(true);
            if (pic.Width() < r.Width() && pic.Height() < r.Height()) {
                PaintGlyph(&pic, r);
            } else {
                TRect d = r;
                InflateRect(d, -2, -2);
                c->StretchDraw(d, &pic);
            }
        }
        if (glyph && !glyph->Empty()) r.Left = PaintGlyph(glyph, r);
        if (!Caption().empty()) {
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            c->DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER);
        }
    } else if (FSelectedIndex >= 0 && Caption().empty() && FImages && FSelectedIndex < FTools->Count() &&
               FTools->Items(FSelectedIndex)->ImageIndex() >= 0) {
        TBitmap pic(FImages->Width(), FImages->Height());
        FImages->Draw(pic.Canvas(), 0, 0, FTools->Items(FSelectedIndex)->ImageIndex(), true);
        TRect d = r;
        InflateRect(d, -2, -2);
        c->StretchDraw(d, &pic);
    }
}

// --- mouse and keyboard

void TExCustomSelector::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    FMouseDown = true;
    if (FStyle == TExSelectorStyle::ssButton) {
        if (FDropDownButton && x > Width() - FDropDownBtnWidth) ToggleDropDown();
        else ButtonPartClick();
    } else {
        ToggleDropDown();
    }
}

void TExCustomSelector::ButtonPartClick()
{
    if (!FDropDownButton) {
        ToggleDropDown();
        return;
    }
    if (OnSelect) {
        if (!FSelectorPanel) {
            OnSelect(this, -1, nullptr);
        } else {
            const int i = FSelectorPanel->ItemIndex();
            OnSelect(this, i, i >= 0 && i < FTools->Count() ? FTools->Items(i) : nullptr);
        }
    }
    Invalidate();
}

void TExCustomSelector::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    FMouseDown = false;
    if (FDropDownButton && FStyle == TExSelectorStyle::ssButton && x < Width() - 8 && OnClick) OnClick(this);
    Invalidate();
}

void TExCustomSelector::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == VK_F2) ToggleDropDown();
}

void TExCustomSelector::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(m);
        Invalidate();
        return;
    case CM_MOUSEENTER:
        TCustomControl::Dispatch(m);
        if (Enabled() && !FMouseInControl && !GetCaptureControl()) {
            FMouseInControl = true;
            Repaint();
        }
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(m);
        if (Enabled() && FMouseInControl) {
            FMouseInControl = false;
            Invalidate();
        }
        return;
    case WM_THEMECHANGED:
    case CM_SYSFONTCHANGED:
        if (FAutoThemeAdapt) ThemeAdapt();
        break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

// --- the drop-down

void TExCustomSelector::HideDropDown()
{
    if (FDropDownWindow) FDropDownWindow->SetVisible(false);
}

void TExCustomSelector::ToggleDropDown()
{
    if (!FDropDownWindow) return;
    if (FDropDownWindow->Visible()) {
        HideDropDown();
        return;
    }
    PrepareDropDown();
    FDropDownWindow->SetPosition(TPosition::poDesigned);
    FDropDownWindow->SetWindowSize();
    const TPoint p = ClientToScreen({0, Height()});
    const TDropDownPlacement d =
        PlaceDropDown(p, Width(), Height(), FDropDownWindow->Width(), FDropDownWindow->Height(), Screen->WorkAreaRect());
    FDropDownWindow->SetBounds(d.Left, d.Top, FDropDownWindow->Width(), FDropDownWindow->Height());
    FDropDownWindow->FShowAbove = d.ShowAbove;
    FDropDownWindow->FShowLeft = d.ShowLeft;
    FDropDownWindow->FShowFullBorder = FStyle == TExSelectorStyle::ssCombo;
    FState = TExButtonState::absDropDown;
    FDropDownWindow->SetVisible(true);
    Invalidate();
}

void TExCustomSelector::PanelShouldHide() { HideDropDown(); }

void TExCustomSelector::PanelSelect()
{
    if (!FSelectorPanel) return;
    SetSelectedIndex(FSelectorPanel->ItemIndex());
    DoSelect();
}

void TExCustomSelector::DoSelect()
{
    if (!OnSelect || !FSelectorPanel) return;
    const int i = FSelectorPanel->ItemIndex();
    OnSelect(this, i, i >= 0 && i < FTools->Count() ? FTools->Items(i) : nullptr);
}

TExSelectorPanel* TExCustomSelector::EnsureItemPanel()
{
    if (!FSelectorPanel && FDropDownWindow) {
        FSelectorPanel = new TExSelectorPanel(FDropDownWindow);
        FSelectorPanel->SetParent(FDropDownWindow);
    }
    return FSelectorPanel;
}

void TExCustomSelector::PrepareDropDown()
{
    TExSelectorPanel* p = EnsureItemPanel();
    if (!p) return;
    p->SetWindowBorderColor(FBorderDropDownColor);
    p->OnShouldHide = [this](rtl::TObject*) { PanelShouldHide(); };
    p->OnSelect = [this](rtl::TObject*) { PanelSelect(); };
    p->OnHotTool = [this](rtl::TObject*, int i) {
        if (OnHotTool) OnHotTool(this, i);
    };
    if (OnDrawTool)
        p->OnDrawItem = [this](rtl::TObject*, int i, const TRect& r) { OnDrawTool(this, FSelectorPanel->Canvas(), i, r); };
    else
        p->OnDrawItem = nullptr;
    p->SetColor(FColorDropDown);
    p->SetColorTo(FColorDropDownTo);
    p->SetBorderDownColor(FBorderDownColor);
    p->SetBorderHotColor(FBorderHotColor);
    p->SetBorderSelectedColor(FBorderSelectedColor);
    p->SetColorDown(FColorSelectionDown);
    p->SetColorDownTo(FColorSelectionDownTo);
    p->SetColorHot(FColorSelectionHot);
    p->SetColorHotTo(FColorSelectionHotTo);
    p->SetColorSelected(FColorSelected);
    p->SetColorSelectedTo(FColorSelectedTo);
    p->SetImages(FImages);
    // The tools, copied (the tag stays behind).
    p->Items()->Clear();
    for (int i = 0; i < FTools->Count(); ++i) {
        TExSelectorItem* from = FTools->Items(i);
        TExSelectorItem* to = p->Items()->Add();
        to->SetCaption(from->Caption());
        to->SetCaptionAlignment(from->CaptionAlignment());
        to->SetImageIndex(from->ImageIndex());
        to->SetHint(from->Hint());
        to->SetValue(from->Value());
        to->SetItemType(from->ItemType());
        to->SetBackGroundColor(from->BackGroundColor());
    }
    p->SetItemIndex(FSelectedIndex);
    p->SetButtonsPerRow(FButtonsPerRow);
    p->ArrangeItems();
    FDropDownWindow->SetSelectorPanel(p);
    p->SetBounds(0, 0, p->Width(), p->Height());
    if (!p->Visible()) p->Show();
}

} // namespace controls
