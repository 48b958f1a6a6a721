// TExToolButton: states, painting, glyphs, groups and looks.

#include "controls/ExToolBtn.h"
#include "controls/VersionText.h"

#include <cmath>

#include "controls/ThemeBinding.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"

namespace controls {

using namespace gui;

namespace {

int Round(double v) { return static_cast<int>(std::lrint(v)); }

bool IsRightToLeft() { return false; }

} // namespace

TGlyphLayout CalcGlyphLayout(TSize k, TSize g, TSize t, TButtonLayout layout, int margin, int spacing)
{
    if (IsRightToLeft()) {
        if (layout == TButtonLayout::blGlyphLeft) layout = TButtonLayout::blGlyphRight;
        else if (layout == TButtonLayout::blGlyphRight) layout = TButtonLayout::blGlyphLeft;
    }
    TGlyphLayout out;
    TPoint gp, tp;
    const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    if (across) {
        gp.Y = (k.cy - g.cy + 1) / 2;
        tp.Y = (k.cy - t.cy + 1) / 2;
    } else {
        gp.X = (k.cx - g.cx + 1) / 2;
        tp.X = (k.cx - t.cx + 1) / 2;
    }
    if (t.cx == 0 || g.cx == 0) spacing = 0;
    const int kk = across ? k.cx : k.cy, gg = across ? g.cx : g.cy, tt = across ? t.cx : t.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (kk - (gg + tt)) / 3;
            spacing = margin;
        } else {
            margin = (kk - (gg + spacing + tt) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (kk - (margin + gg) - tt) / 2;
    }
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        gp.X = margin;
        tp.X = gp.X + g.cx + spacing;
        break;
    case TButtonLayout::blGlyphRight:
        gp.X = k.cx - margin - g.cx;
        tp.X = gp.X - spacing - t.cx;
        break;
    case TButtonLayout::blGlyphTop:
        gp.Y = margin;
        tp.Y = gp.Y + g.cy + spacing;
        break;
    case TButtonLayout::blGlyphBottom:
        gp.Y = k.cy - margin - g.cy;
        tp.Y = gp.Y - spacing - t.cy;
        break;
    }
    out.GlyphPos = gp;
    out.TextBounds = TRect{tp.X, tp.Y, tp.X + t.cx, tp.Y + t.cy};
    out.Margin = margin;
    out.Spacing = spacing;
    return out;
}

TExToolButton::TExToolButton(rtl::TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>())
{
    for (TBitmap* b : {FGlyph.get(), FGlyphHot.get(), FGlyphDown.get(), FGlyphDisabled.get(), FGlyphShade.get()})
        b->SetSize(0, 0);
    SetBounds(0, 0, 22, 23);
    SetControlStyle({TControlStyleItem::csCaptureMouse, TControlStyleItem::csDoubleClicks});
    SetColor(clBtnFace);
    FGlyph->OnChange = [this](rtl::TObject*) { Invalidate(); };
}

TExToolButton::~TExToolButton() = default;

bool TExToolButton::Designing() const
{
    return ComponentState().Contains(rtl::TComponentStateItem::csDesigning);
}

bool TExToolButton::Hot() const { return FMouseInControl && Enabled() && !Designing(); }

// ------------------------------------------------------------- properties

void TExToolButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Invalidate();
}

void TExToolButton::SetShaded(bool v)
{
    FShaded = v;
    if (v && !ComponentState().Contains(rtl::TComponentStateItem::csLoading)) BuildShadeGlyph();
}

void TExToolButton::SetShowCaption(bool v)
{
    if (FShowCaption == v) return;
    FShowCaption = v;
    Invalidate();
}

void TExToolButton::SetLayout(TButtonLayout l)
{
    if (FLayout == l) return;
    FLayout = l;
    Invalidate();
}

void TExToolButton::SetMargin(int v)
{
    if (v == FMargin || v < -1) return;
    FMargin = v;
    Invalidate();
}

void TExToolButton::SetSpacing(int v)
{
    if (v == FSpacing) return;
    FSpacing = v;
    Invalidate();
}

void TExToolButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v && !Designing()) ThemeAdapt();
}

void TExToolButton::SetGroupIndex(int v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    NotifyGroup();
}

void TExToolButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    NotifyGroup();
}

void TExToolButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle == TExToolButtonStyle::tasButton) v = false;
    if (FStyle == TExToolButtonStyle::tasCheck) {
        FDown = v;
        Repaint();
        return;
    }
    if (v == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    if (v) {
        if (FState == TButtonState::bsUp) Invalidate();
        FState = TButtonState::bsExclusive;
        NotifyGroup();
    } else {
        FState = TButtonState::bsUp;
        Repaint();
    }
}

void TExToolButton::SetGlyph(const TBitmap* b)
{
    FGlyph->Assign(b);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        // The disabled look: each pixel a light grey of its brightness.
        FGlyphDisabled->Assign(FGlyph.get());
        FGlyphDisabled->SetPixelFormat(TPixelFormat::pf32bit);
        for (int y = 0; y < FGlyphDisabled->Height(); ++y) {
            uint8_t* row = FGlyphDisabled->ScanLine(y);
            for (int x = 0; x < FGlyphDisabled->Width(); ++x) {
                uint8_t* px = row + 4 * x;
                const int g = ((px[0] + px[1] + px[2]) / 3) / 2 + 96;
                px[0] = px[1] = px[2] = static_cast<uint8_t>(g);
            }
        }
    }
    Invalidate();
}

void TExToolButton::SetDropDownMenu(TPopupMenu* menu)
{
    if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TExToolButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FDropDownMenu) FDropDownMenu = nullptr;
}

std::string TExToolButton::Version() const { return VersionText(GetVersionNr()); }

void TExToolButton::ShowDropDownMenu()
{
    if (!FDropDownMenu || !Parent()) return;
    const TPoint p = Parent()->ClientToScreen(TPoint{Left(), Top() + Height()});
    FDropDownMenu->Popup(p.X, p.Y);
}

// ------------------------------------------------------------------ looks

void TExToolButton::ApplyLook(int look)
{
    struct Row {
        TColor c, ct, h, ht, d, dt, k, kt, b, bd, bh;
        bool rounded;
    };
    static const Row rows[14] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, clNone, 0xAF987A, 0xC3CECE, true},
        {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, clNone, 0xC56A31, 0xC56A31, false},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clNone, 0x000000, 0x000000, false},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clNone, 0x000000, 0x000000, false},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clNone, 0x000000, 0x000000, false},
        {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone, clNone, false},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, clNone, 0x808080, 0x808080, false},
        {0xEBEEEF, 0x7E9898, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7, 0x8ED3FF, 0x55ADFF, clNone, 0x000000, 0x000000, false},
        {0xEEDBC8, 0xF6DDC9, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xE0B99B, 0x45667B, 0x99CEDB, true},
        {0xDFDED6, 0xE4E2DB, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xC0BCB2, 0x45667B, 0x99CEDB, true},
        {0xF3F3F1, 0xEEEAE7, 0xEBFDFF, 0xACECFF, 0x76AFF1, 0x4190F3, 0xB5DBFB, 0x78C7FE, 0xCCCAC9, 0x45667B, 0x99CEDB, true},
        {0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFDF0D7, 0xFBEDD3, 0xFAE9C6, 0xFDDE99, 0xFEDF9A, 0xFCF2DA, true},
        {0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0xCEA27D, 0xFBD6B8, true},
        {clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0, clHighlight, clHighlight, 0xFFFFFF, 0xFFFFFF, 0x808080, 0x808080, 0x808080, false},
    };
    if (look < 0 || look > 13) return;
    const Row& r = rows[look];
    SetColor(r.c);
    FColorTo = r.ct;
    FColorHot = r.h;
    FColorHotTo = r.ht;
    FColorDown = r.d;
    FColorDownTo = r.dt;
    FColorChecked = r.k;
    FColorCheckedTo = r.kt;
    FBorderColor = r.b;
    FBorderDownColor = r.bd;
    FBorderHotColor = r.bh;
    FRounded = r.rounded;
    FFlat = true;
    Invalidate();
}

void TExToolButton::SetComponentStyle(TQuorStyle style)
{
    switch (style) {
    case TQuorStyle::tsOffice2003Blue: ApplyLook(2); break;
    case TQuorStyle::tsOffice2003Silver: ApplyLook(4); break;
    case TQuorStyle::tsOffice2003Olive: ApplyLook(3); break;
    case TQuorStyle::tsOffice2003Classic: ApplyLook(1); break;
    case TQuorStyle::tsOffice2007Luna: ApplyLook(8); break;
    case TQuorStyle::tsOffice2007Obsidian: ApplyLook(9); break;
    case TQuorStyle::tsWindowsXP: ApplyLook(0); break;
    case TQuorStyle::tsWhidbey: ApplyLook(7); break;
    case TQuorStyle::tsOffice2007Silver: ApplyLook(10); break;
    case TQuorStyle::tsWindowsVista: ApplyLook(11); break;
    case TQuorStyle::tsWindows7: ApplyLook(12); break;
    case TQuorStyle::tsTerminal: ApplyLook(13); break;
    default: break;
    }
}

void TExToolButton::ThemeAdapt()
{
    switch (CurrentXPColorScheme()) {
    case 1: ApplyLook(2); break;
    case 2: ApplyLook(3); break;
    case 3: ApplyLook(4); break;
    default: ApplyLook(1); break;
    }
}

void TExToolButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded) BuildShadeGlyph();
    if (FAutoThemeAdapt) ThemeAdapt();
}

void TExToolButton::BuildShadeGlyph()
{
    if (FGlyph->Empty()) return;
    const TColor key = ColorToRGB(FGlyph->Canvas()->Pixels(0, FGlyph->Height() - 1));
    FGlyphShade->SetSize(FGlyph->Width(), FGlyph->Height());
    for (int y = 0; y < FGlyph->Height(); ++y)
        for (int x = 0; x < FGlyph->Width(); ++x) {
            const TColor c = ColorToRGB(FGlyph->Canvas()->Pixels(x, y));
            FGlyphShade->Canvas()->SetPixels(x, y, c == key ? key : 0x808080);
        }
}

// ------------------------------------------------------------- messages

void TExToolButton::WndProc(TMessage& m)
{
    if ((m.Msg == WM_THEMECHANGED || m.Msg == CM_SYSFONTCHANGED) && FAutoThemeAdapt) ThemeAdapt();
    TGraphicControl::WndProc(m);
}

void TExToolButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
        TGraphicControl::Dispatch(m);
        DblClick();
        return;
    case CM_ENABLEDCHANGED:
        SyncHotState();
        Repaint();
        TGraphicControl::Dispatch(m);
        return;
    case CM_BUTTONPRESSED: {
        auto* sender = reinterpret_cast<TExToolButton*>(m.LParam);
        if (static_cast<int>(m.WParam) == FGroupIndex && sender && sender != this) {
            if (sender->Down() && FDown) {
                FDown = false;
                FState = TButtonState::bsUp;
                if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
                Invalidate();
            }
            FAllowAllUp = sender->AllowAllUp();
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
            Parent()->Showing()) {
            Click();
            m.Result = 1;
            return;
        }
        TGraphicControl::Dispatch(m);
        return;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
        TGraphicControl::Dispatch(m);
        Invalidate();
        return;
    case CM_MOUSEENTER:
        DefaultHandler(m);
        if (FFlat && !FMouseInControl && Enabled() && DragMode() != TDragMode::dmAutomatic && !GetCaptureControl()) {
            FMouseInControl = true;
            Invalidate();
        }
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        DefaultHandler(m);
        if (FMouseInControl && Enabled()) {
            FMouseInControl = false;
            Invalidate();
        }
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    default:
        TGraphicControl::Dispatch(m);
    }
}

void TExToolButton::SyncHotState()
{
    if (!FFlat || !Enabled()) return;
    if (MouseControl() == this) {
        FMouseInControl = false;
        Perform(CM_MOUSEENTER, 0, 0);
    } else {
        FMouseInControl = true;
        Perform(CM_MOUSELEAVE, 0, 0);
    }
}

void TExToolButton::NotifyGroup()
{
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TExToolButton::Click() { TGraphicControl::Click(); }

void TExToolButton::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (a && FGroupIndex != 0 && FAllowAllUp && a->Checked() != FDown) SetDown(a->Checked());
}

// ------------------------------------------------------------------ mouse

bool TExToolButton::Inside(int x, int y) const
{
    return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TExToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    if ((FDropDownButton && (x > ClientWidth() - 12 || !FDropDownSplit)) || (!FDropDownButton && FDropDownMenu)) {
        FState = TButtonState::bsUp;
        FMouseInControl = false;
        Repaint();
        if (OnDropDown) OnDropDown(this);
        ShowDropDownMenu();
        return;
    }
    if (!FDown) {
        FState = TButtonState::bsDown;
        Invalidate();
    }
    if (FStyle == TExToolButtonStyle::tasCheck) {
        FState = TButtonState::bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExToolButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FDragging) {
        TButtonState s;
        if (Inside(x, y)) s = FDown ? TButtonState::bsExclusive : TButtonState::bsDown;
        else s = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        if (FStyle == TExToolButtonStyle::tasCheck && FDown) s = TButtonState::bsDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        SyncHotState();
    }
}

void TExToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = Inside(x, y);
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        FMouseInControl = false;
        if (FStyle == TExToolButtonStyle::tasCheck) {
            SetDown(!FDown);
            FState = TButtonState::bsUp;
        }
        if (inside && FState != TButtonState::bsDown && FState != TButtonState::bsExclusive) Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) Repaint();
    } else {
        if (FDown) FState = TButtonState::bsExclusive;
        Repaint();
    }
    if (inside) Click();
    SyncHotState();
}

// --------------------------------------------------------------- painting

void TExToolButton::ButtonGradient(TColor from, TColor to, const TRect& r, TColor frame)
{
    TCanvas* c = Canvas();
    const TColor a = ColorToRGB(from), b = ColorToRGB(to);
    const double h = (r.Bottom - r.Top) / 16.0;
    for (int i = 0; i < 16; ++i) {
        auto ch = [&](uint8_t x, uint8_t y) { return static_cast<uint8_t>(x + Round(i * (y - x) / 16.0)); };
        const TColor band = RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
                                ch(GetBValue(a), GetBValue(b)));
        c->Pen()->SetColor(band);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(band);
        c->Rectangle(r.Left, r.Top + Round(i * h), r.Right, r.Top + Round(i * h) + Round(h) + 1);
    }
    if (frame != clNone) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetColor(frame);
        c->Rectangle(r);
    }
}

void TExToolButton::Paint()
{
    TCanvas* c = Canvas();
    if (!Enabled()) {
        FState = TButtonState::bsDisabled;
        FDragging = false;
    } else if (FState == TButtonState::bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }
    if (FStyle == TExToolButtonStyle::tasCheck && FDown) FState = TButtonState::bsDown;

    c->SetFont(Font());
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetWidth(1);
    TRect r{0, 0, Width(), Height()};
    const bool hot = Hot();
    const bool down = FState == TButtonState::bsDown;

    auto fillRect = [&](TColor fill, TColor pen) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(fill);
        c->Pen()->SetColor(pen);
        c->Rectangle(r);
    };
    auto roundFrame = [&](TColor pen) {
        InflateRect(r, 1, 1);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetColor(pen);
        c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
    };

    if (!FFlat) {
        uint32_t state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (FState == TButtonState::bsDown || FState == TButtonState::bsExclusive) state |= DFCS_PUSHED;
        c->DrawFrameControl(r, DFC_BUTTON, state);
    } else {
        if (FBorderDownColor == clNone || FRounded) InflateRect(r, -1, -1);
        if (hot) {
            TColor fill = down ? FColorDown : FColorHot;
            TColor end = down ? FColorDownTo : FColorHotTo;
            TColor pen = down ? FBorderDownColor : FBorderHotColor;
            if (FStyle == TExToolButtonStyle::tasCheck && FDown && !down) {
                fill = FColorChecked;
                end = FColorCheckedTo;
                pen = FBorderDownColor;
            }
            if (FRounded) pen = clNone;
            if (end != clNone) {
                ButtonGradient(fill, end, r, pen);
            } else {
                if (pen == clNone) pen = fill;
                fillRect(fill, pen);
            }
            if (FRounded) roundFrame(down ? FBorderDownColor : FBorderHotColor);
            if (FDropDownButton && FDropDownSplit) {
                c->Pen()->SetColor(down ? FBorderDownColor : FBorderHotColor);
                c->MoveTo(r.Right - 12, r.Top);
                c->LineTo(r.Right - 12, r.Bottom);
            }
        } else {
            if (FStyle == TExToolButtonStyle::tasCheck && FDown) {
                if (FColorCheckedTo != clNone) ButtonGradient(FColorChecked, FColorCheckedTo, r, FBorderDownColor);
                else fillRect(FColorChecked, FBorderDownColor != clNone ? FBorderDownColor : FColorChecked);
            } else if (FColorTo != clNone) {
                ButtonGradient(Color(), FColorTo, r, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
            } else {
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->Brush()->SetColor(Color());
                c->FillRect(r);
            }
            if (FBorderColor != clNone) {
                if (FRounded) {
                    roundFrame(FBorderColor);
                } else {
                    c->Brush()->SetStyle(TBrushStyle::bsClear);
                    c->Pen()->SetColor(FBorderColor);
                    c->Rectangle(r);
                }
            }
        }
        InflateRect(r, -1, -1);
    }

    TPoint offset{0, 0};
    if (FState == TButtonState::bsDown || FState == TButtonState::bsExclusive) {
        if (FState == TButtonState::bsExclusive && (!FFlat || !hot)) {
            TRect q = r;
            InflateRect(q, 1, 1);
            const TColor frame = FDown ? FBorderDownColor : FBorderColor;
            if (FColorCheckedTo != clNone) {
                ButtonGradient(FColorChecked, FColorCheckedTo, q, frame);
            } else {
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->Brush()->SetColor(FColorChecked);
                if (frame == clNone) {
                    c->FillRect(q);
                } else {
                    c->Pen()->SetColor(frame);
                    c->Rectangle(q);
                }
            }
        }
        if (!FFlat && !Designing()) offset = {1, 1};
    } else if (FFlat && hot && FShaded && !Designing()) {
        offset = {-1, -1};
    }

    if (FDropDownButton) {
        const int m = r.Top + (r.Bottom - r.Top) / 2;
        const TColor fc = Font()->Color();
        c->Pen()->SetColor(fc);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(fc);
        c->Polygon({{r.Right - 8, m - 1}, {r.Right - 4, m - 1}, {r.Right - 6, m + 1}});
        r.Right -= 12;
    }

    DrawGlyphAndText(r, offset, FDown && FGroupIndex != 0 ? TButtonState::bsDown : FState);
}

void TExToolButton::DrawGlyphAndText(const TRect& q, TPoint o, TButtonState s)
{
    TCanvas* c = Canvas();
    const TSize g = FGlyph->Empty() ? TSize{0, 0} : TSize{FGlyph->Width(), FGlyph->Height()};
    TSize t{0, 0};
    const std::string caption = Caption();
    if (!caption.empty()) {
        TRect tr{0, 0, q.Width(), 0};
        c->DrawText(caption, tr, DT_CALCRECT);
        t = TSize{tr.Right - tr.Left, tr.Bottom - tr.Top};
    }
    TGlyphLayout lay = CalcGlyphLayout(TSize{q.Width(), q.Height()}, g, t, FLayout, FMargin, FSpacing);
    TPoint gp{lay.GlyphPos.X + q.Left + o.X, lay.GlyphPos.Y + q.Top + o.Y};
    TRect tr = lay.TextBounds;
    OffsetRect(tr, q.Left + o.X, q.Top + o.Y);
    DrawStateGlyph(gp);
    if (s != TButtonState::bsDown && s != TButtonState::bsExclusive && Hot() && FShaded && FFlat)
        OffsetRect(tr, 1, 1);
    if (FShowCaption) DrawCaptionText(tr);
}

void TExToolButton::DrawStateGlyph(TPoint pos)
{
    const bool hot = FMouseInControl && Enabled();
    TBitmap* bmp = FGlyph.get();
    if (hot && (FState == TButtonState::bsDown || FState == TButtonState::bsExclusive || FDown)) {
        if (!FGlyphDown->Empty()) bmp = FGlyphDown.get();
    } else if (hot) {
        if (!FGlyphHot->Empty() && !Designing()) bmp = FGlyphHot.get();
    } else if (FDown && !FGlyphDown->Empty()) {
        bmp = FGlyphDown.get();
    }
    if (!Enabled()) bmp = FGlyphDisabled->Empty() ? FGlyph.get() : FGlyphDisabled.get();
    if (bmp->Empty()) return;
    TCanvas* c = Canvas();
    if (hot && FShaded && FState != TButtonState::bsDown && !FGlyphShade->Empty()) {
        TBitmap shade;
        shade.Assign(FGlyphShade.get());
        shade.SetTransparent(true);
        c->Draw(pos.X + 2, pos.Y + 2, &shade);
    }
    TBitmap glyph;
    glyph.Assign(bmp);
    glyph.SetTransparent(true);
    c->Draw(pos.X, pos.Y, &glyph);
}

void TExToolButton::DrawCaptionText(TRect r)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->SetBkMode(TRANSPARENT);
    const std::string caption = Caption();
    if (!Enabled()) {
        TRect s = r;
        OffsetRect(s, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(caption, s, DT_CENTER | DT_VCENTER);
        c->Font()->SetColor(clBtnShadow);
        c->DrawText(caption, r, DT_CENTER | DT_VCENTER);
    } else {
        c->Font()->SetColor(Font()->Color());
        c->DrawText(caption, r, DT_CENTER | DT_VCENTER);
    }
}

} // namespace controls
