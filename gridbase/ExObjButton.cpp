// ExObj: the grid button's states, painting, glyphs, groups and looks.
#include <cmath>

#include "gridbase/ExObj.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"
#include "platform/sys/SystemInfo.h"

namespace gridbase {

using namespace gui;

namespace {

int Round(double v) { return static_cast<int>(std::lrint(v)); }

bool IsPressed(TButtonState s) { return s == TButtonState::bsDown || s == TButtonState::bsExclusive; }

} // namespace

TGridGlyphLayout CalcGridGlyphLayout(TSize k, TSize g, TSize t, TButtonLayout layout, int margin, int spacing)
{
    TGridGlyphLayout out;
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

int GridXPColorScheme()
{
    if (!sys::SystemInfo().IsXPOrLater()) return 0;
    const HTHEMELIB lib = LoadThemeLibrary();
    if (!lib) return 0;  // no theme service: the classic scheme
    int result = 0;
    auto active = reinterpret_cast<PFNIsThemeActive>(FindThemeProc(lib, "IsThemeActive"));
    auto name = reinterpret_cast<PFNGetCurrentThemeName>(FindThemeProc(lib, "GetCurrentThemeName"));
    if (active && active() && name) {
        std::string file, color, size;
        if (name(file, color, size)) {
            if (color == "NormalColor") result = 1;
            else if (color == "HomeStead") result = 2;
            else if (color == "Metallic") result = 3;
        }
    }
    FreeThemeLibrary(lib);
    return result;
}

TExGridButton::TExGridButton(rtl::TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>())
{
    for (TBitmap* b : {FGlyph.get(), FGlyphHot.get(), FGlyphDown.get(), FGlyphDisabled.get(), FGlyphShade.get()})
        b->SetSize(0, 0);
    SetBounds(0, 0, 22, 23);
    SetControlStyle({TControlStyleItem::csCaptureMouse, TControlStyleItem::csDoubleClicks});
    SetColor(clBtnFace);
    FIsComCtl6 = sys::SystemInfo().ComCtlMajorVersion > 5;
    FGlyph->OnChange = [this](rtl::TObject*) { Invalidate(); };
}

TExGridButton::~TExGridButton() = default;

bool TExGridButton::Designing() const { return ComponentState().Contains(rtl::TComponentStateItem::csDesigning); }

bool TExGridButton::Hot() const { return FMouseInControl && Enabled() && !Designing(); }

// --- properties ------------------------------------------------------------------

void TExGridButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Invalidate();
}

void TExGridButton::SetShaded(bool v)
{
    FShaded = v;
    if (v && !ComponentState().Contains(rtl::TComponentStateItem::csLoading)) BuildShadeGlyph();
}

void TExGridButton::SetShowCaption(bool v)
{
    if (FShowCaption == v) return;
    FShowCaption = v;
    Invalidate();
}

void TExGridButton::SetLayout(TButtonLayout l)
{
    if (FLayout == l) return;
    FLayout = l;
    Invalidate();
}

void TExGridButton::SetMargin(int v)
{
    if (v == FMargin || v < -1) return;
    FMargin = v;
    Invalidate();
}

void TExGridButton::SetSpacing(int v)
{
    if (v == FSpacing) return;
    FSpacing = v;
    Invalidate();
}

void TExGridButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v) ThemeAdapt();
}

void TExGridButton::SetGroupIndex(int v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    NotifyGroup();
}

void TExGridButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    NotifyGroup();
}

void TExGridButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle == TExGridButtonStyle::tasButton) v = false;
    if (FStyle == TExGridButtonStyle::tasCheck) {
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

void TExGridButton::SetGlyph(const TBitmap* b)
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

void TExGridButton::SetDropDownMenu(TPopupMenu* menu)
{
    if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TExGridButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FDropDownMenu) FDropDownMenu = nullptr;
}

// --- looks ---------------------------------------------------------------------------

void TExGridButton::ApplyLook(int look)
{
    struct Row {
        TColor c, ct, h, ht, d, dt, k, kt, bd, bh;
    };
    static const Row rows[4] = {
        {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
    };
    if (look < 1 || look > 4) return;
    const Row& r = rows[look - 1];
    SetColor(r.c);
    FColorTo = r.ct;
    FColorHot = r.h;
    FColorHotTo = r.ht;
    FColorDown = r.d;
    FColorDownTo = r.dt;
    FColorChecked = r.k;
    FColorCheckedTo = r.kt;
    FBorderColor = clNone;
    FBorderDownColor = r.bd;
    FBorderHotColor = r.bh;
    FRounded = false;
    FFlat = true;
    Invalidate();
}

void TExGridButton::ThemeAdapt()
{
    switch (GridXPColorScheme()) {
    case 1: ApplyLook(2); break;
    case 2: ApplyLook(3); break;
    case 3: ApplyLook(4); break;
    default: ApplyLook(1); break;
    }
}

void TExGridButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded) BuildShadeGlyph();
    if (FAutoThemeAdapt) ThemeAdapt();
}

void TExGridButton::BuildShadeGlyph()
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

// --- messages ------------------------------------------------------------------------

void TExGridButton::WndProc(TMessage& m)
{
    if ((m.Msg == WM_THEMECHANGED || m.Msg == CM_SYSFONTCHANGED) && FAutoThemeAdapt) ThemeAdapt();
    TGraphicControl::WndProc(m);
}

void TExGridButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
        TGraphicControl::Dispatch(m);
        if (FDown) DblClick();
        return;
    case CM_ENABLEDCHANGED:
        SyncHotState();
        Repaint();
        TGraphicControl::Dispatch(m);
        return;
    case CM_BUTTONPRESSED: {
        auto* sender = reinterpret_cast<TExGridButton*>(m.LParam);
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
        if (!FMouseInControl && Enabled() && DragMode() != TDragMode::dmAutomatic && !GetCaptureControl()) {
            FMouseInControl = true;
            Repaint();
        }
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        DefaultHandler(m);
        if (FMouseInControl && Enabled() && !FDragging) {
            FMouseInControl = false;
            Invalidate();
        }
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    default:
        TGraphicControl::Dispatch(m);
    }
}

void TExGridButton::SyncHotState()
{
    if (!FFlat || !Enabled()) return;
    // The control under the pointer decides the hot look.
    if (MouseControl() == this) {
        FMouseInControl = false;
        Perform(CM_MOUSEENTER, 0, 0);
    } else {
        FMouseInControl = true;
        Perform(CM_MOUSELEAVE, 0, 0);
    }
}

void TExGridButton::NotifyGroup()
{
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TExGridButton::Click() { TGraphicControl::Click(); }

void TExGridButton::ActionChange(TBasicAction* sender, bool checkDefaults)
{
    // The action hands down its caption (the base), then its group (an
    // action without a group leaves the button's own), then its checked
    // state to a button of a group that may be all up.
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (!a) return;
    if (a->GroupIndex() != 0 && a->GroupIndex() != FGroupIndex) SetGroupIndex(a->GroupIndex());
    if (FGroupIndex != 0 && FAllowAllUp && a->Checked() != FDown) SetDown(a->Checked());
}

// --- mouse -----------------------------------------------------------------------------

bool TExGridButton::Inside(int x, int y) const
{
    return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TExGridButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    if (FDropDownButton && x > ClientWidth() - 12) {
        FState = TButtonState::bsUp;
        if (OnDropDown) OnDropDown(this);
        if (FDropDownMenu && Parent()) {
            const TPoint p = Parent()->ClientToScreen(TPoint{Left(), Top() + Height()});
            FDropDownMenu->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = TButtonState::bsDown;
        Invalidate();
    }
    if (FStyle == TExGridButtonStyle::tasCheck) {
        FState = TButtonState::bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExGridButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FDragging) {
        TButtonState s;
        if (Inside(x, y)) s = FDown ? TButtonState::bsExclusive : TButtonState::bsDown;
        else s = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        if (FStyle == TExGridButtonStyle::tasCheck && FDown) s = TButtonState::bsDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        SyncHotState();
    }
}

void TExGridButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = Inside(x, y);
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        if (FStyle == TExGridButtonStyle::tasCheck) {
            SetDown(!FDown);
            FState = TButtonState::bsUp;
        }
        if (inside && !IsPressed(FState)) Invalidate();
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

// --- painting --------------------------------------------------------------------------

void TExGridButton::ButtonGradient(TColor from, TColor to, const TRect& r, TColor frame)
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

void TExGridButton::Paint()
{
    TCanvas* c = Canvas();
    if (!Enabled()) {
        FState = TButtonState::bsDisabled;
        FDragging = false;
    } else if (FState == TButtonState::bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }
    if (FStyle == TExGridButtonStyle::tasCheck && FDown) FState = TButtonState::bsDown;

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
        bool themed = false;
        if (sys::SystemInfo().IsXPOrLater() && FAutoXPStyle && FIsComCtl6 && IsThemeActive() && Parent()) {
            if (const HTHEME theme = OpenThemeData(Parent(), "button")) {
                const int state = IsPressed(FState) ? 3 : (hot ? 2 : 1);
                themed = DrawThemeBackground(theme, *c, 1, state, r, nullptr);
                CloseThemeData(theme);
            }
        }
        if (!themed) {
            uint32_t state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
            if (IsPressed(FState)) state |= DFCS_PUSHED;
            c->DrawFrameControl(r, DFC_BUTTON, state);
        }
    } else {
        if (FBorderDownColor == clNone || FRounded) InflateRect(r, -1, -1);
        if (hot) {
            TColor fill = down ? FColorDown : FColorHot;
            TColor end = down ? FColorDownTo : FColorHotTo;
            TColor pen = down ? FBorderDownColor : FBorderHotColor;
            if (FStyle == TExGridButtonStyle::tasCheck && FDown && !down) {
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
            if (FDropDownButton) {
                c->Pen()->SetColor(down ? FBorderDownColor : FBorderHotColor);
                c->MoveTo(r.Right - 12, r.Top);
                c->LineTo(r.Right - 12, r.Bottom);
            }
        } else {
            if (FStyle == TExGridButtonStyle::tasCheck && FDown) {
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
    if (IsPressed(FState)) {
        if (FState == TButtonState::bsExclusive && (!FFlat || !hot)) {
            TRect q = r;
            InflateRect(q, 1, 1);
            const TColor frame = FDown ? FBorderDownColor : FBorderColor;
            if (FColorCheckedTo != clNone) {
                ButtonGradient(FColorChecked, FColorCheckedTo, q, frame);
            } else {
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->Brush()->SetColor(FColorChecked);
                c->FillRect(q);
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

void TExGridButton::DrawGlyphAndText(const TRect& q, TPoint o, TButtonState s)
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
    const TGridGlyphLayout lay = CalcGridGlyphLayout(TSize{q.Width(), q.Height()}, g, t, FLayout, FMargin, FSpacing);
    TPoint gp{lay.GlyphPos.X + q.Left + o.X, lay.GlyphPos.Y + q.Top + o.Y};
    TRect tr = lay.TextBounds;
    OffsetRect(tr, q.Left + o.X, q.Top + o.Y);
    // A glyph without caption sits at the control's top-left corner.
    if (caption.empty()) gp = TPoint{0, 0};
    DrawStateGlyph(gp, !caption.empty());
    if (!IsPressed(s) && Hot() && FShaded && FFlat) OffsetRect(tr, 1, 1);
    if (FShowCaption) DrawCaptionText(tr);
}

void TExGridButton::DrawStateGlyph(TPoint pos, bool hasCaption)
{
    const bool hot = FMouseInControl;
    TBitmap* bmp = FGlyph.get();
    if (IsPressed(FState)) {
        if (!FGlyphDown->Empty()) bmp = FGlyphDown.get();
    } else if (hot) {
        if (!FGlyphHot->Empty() && !Designing()) bmp = FGlyphHot.get();
    }
    if (!Enabled()) bmp = FGlyphDisabled->Empty() ? FGlyph.get() : FGlyphDisabled.get();
    if (bmp->Empty()) return;
    TCanvas* c = Canvas();
    if (hot && FShaded && Enabled() && FState != TButtonState::bsDown && !FGlyphShade->Empty()) {
        TBitmap shade;
        shade.Assign(FGlyphShade.get());
        shade.SetTransparent(true);
        const TPoint sp = hasCaption ? TPoint{pos.X + 2, pos.Y + 2} : pos;
        c->Draw(sp.X, sp.Y, &shade);
    }
    TBitmap glyph;
    glyph.Assign(bmp);
    glyph.SetTransparent(true);
    c->Draw(pos.X, pos.Y, &glyph);
}

void TExGridButton::DrawCaptionText(TRect r)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->SetBkMode(TRANSPARENT);
    const std::string caption = Caption();
    if (FState == TButtonState::bsDisabled) {
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

} // namespace gridbase
