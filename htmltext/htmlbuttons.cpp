// The markup check box and radio button: box looks, caption, anchors,
// mouse, keyboard and focus handling.

#include "htmltext/htmlbuttons.h"

#include <algorithm>
#include <map>

#include "htmltext/BtnXPVS.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/Processes.h"

namespace htmltext {

using gui::TColor;
using gui::TRect;

// ------------------------------------------------------------------ services

namespace {

TOpenAddressHandler& OpenHandler()
{
    static TOpenAddressHandler handler = [](const std::string& address) {
        sys::TProcessLauncher::StartDetached("/usr/bin/xdg-open", {address});
    };
    return handler;
}

// The box bitmaps, loaded once from the program's resources and drawn with
// their bottom-left pixel transparent.
const gui::TBitmap* BoxBitmap(const std::string& name)
{
    static std::map<std::string, std::unique_ptr<gui::TBitmap>> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second.get();
    auto bmp = std::make_unique<gui::TBitmap>();
    bmp->LoadFromResourceName(name);
    bmp->SetTransparent(true);
    return cache.emplace(name, std::move(bmp)).first->second.get();
}

} // namespace

void SetOpenAddressHandler(TOpenAddressHandler handler) { OpenHandler() = std::move(handler); }

void OpenAddress(const std::string& address)
{
    if (OpenHandler()) OpenHandler()(address);
}

bool IsUrlOrMail(const std::string& anchor)
{
    return anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos;
}

bool ThemedButtonsAvailable() { return BtnXPVS::IsThemeActive(); }

int FileVersionNumber(const std::string&) { return -1; }

// ------------------------------------------------------------------ shared button

TCustomHTMLButton::TCustomHTMLButton(rtl::TComponent* owner)
    : gui::TCustomControl(owner), FImageCache(std::make_unique<THTMLPictureCache>()),
      FBkgBmp(std::make_unique<gui::TBitmap>())
{
    SetBounds(Left(), Top(), 98, 20);
    SetTabStop(true);
}

TCustomHTMLButton::~TCustomHTMLButton() = default;

void TCustomHTMLButton::SetCaption(const std::string& value)
{
    SetText(value);
    Invalidate();
}

void TCustomHTMLButton::SetAlignment(gui::TAlignment v) { if (v != FAlignment) { FAlignment = v; Invalidate(); } }
void TCustomHTMLButton::SetButtonType(TButtonType v) { FButtonType = v; Invalidate(); }
void TCustomHTMLButton::SetButtonVertAlign(TTextLayout v) { if (v != FBtnVAlign) { FBtnVAlign = v; Invalidate(); } }
void TCustomHTMLButton::SetCheckColor(TColor v) { FCheckColor = v; Invalidate(); }
void TCustomHTMLButton::SetEllipsis(bool v) { if (v != FEllipsis) { FEllipsis = v; Invalidate(); } }
void TCustomHTMLButton::SetShadowColor(TColor v) { if (v != FShadowColor) { FShadowColor = v; Invalidate(); } }
void TCustomHTMLButton::SetShadowOffset(int v) { if (v != FShadowOffset) { FShadowOffset = v; Invalidate(); } }
void TCustomHTMLButton::SetURLColor(TColor v) { FURLColor = v; Invalidate(); }

void TCustomHTMLButton::SetImages(gui::TImageList* v)
{
    FImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TCustomHTMLButton::SetPictureContainer(TPictureContainer* v)
{
    FContainer = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TCustomHTMLButton::SetTransparent(bool v)
{
    if (v != FTransparent) {
        FTransparent = v;
        FBkgCache = false;
    }
    Repaint();
}

void TCustomHTMLButton::SetBounds(int left, int top, int width, int height)
{
    gui::TCustomControl::SetBounds(left, top, width, height);
    if (FTransparent) {
        FBkgCache = false;
        Repaint();
    }
}

void TCustomHTMLButton::Loaded()
{
    gui::TCustomControl::Loaded();
    FOldCursor = Cursor();
}

void TCustomHTMLButton::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    gui::TCustomControl::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FContainer) FContainer = nullptr;
}

TButtonType TCustomHTMLButton::EffectiveLook() const
{
    if (FButtonType == TButtonType::btTheme)
        return ThemedButtonsAvailable() ? TButtonType::btWinXP : TButtonType::btClassic;
    return FButtonType;
}

TRect TCustomHTMLButton::CaptionRect()
{
    int offset = DrawBox(*Canvas(), false);
    const int gap = CaptionLeftGap(offset);
    const int w = ClientWidth(), h = ClientHeight();
    if (FAlignment == gui::TAlignment::taRightJustify) return TRect(0, 4, w - gap, h);
    return TRect(gap, 4, w, h);
}

void TCustomHTMLButton::DrawCaption(gui::TCanvas& c, const TRect& r, int& w, int& h)
{
    TMarkupOptions o;
    o.Images = FImages;
    o.PointX = 0;
    o.PointY = 0;
    o.ShadowOffset = FShadowOffset;
    o.WordWrap = !FEllipsis;
    o.ShadowColor = FShadowColor;
    o.PictureCache = FImageCache.get();
    o.PictureContainer = FContainer;
    TMarkupResult res;
    if (Enabled()) {
        o.LinkColor = FURLColor;
        DrawMarkupText(TMarkupDialect::mdPanel, c, Caption(), r, o, res);
    } else {
        c.Font()->SetColor(gui::clWhite);
        o.LinkColor = gui::clWhite;
        TRect shifted = r;
        gui::OffsetRect(shifted, 1, 1);
        DrawMarkupText(TMarkupDialect::mdPanel, c, Caption(), shifted, o, res);
        c.Font()->SetColor(gui::clGray);
        o.LinkColor = gui::clGray;
        DrawMarkupText(TMarkupDialect::mdPanel, c, Caption(), r, o, res);
    }
    w = res.XSize;
    h = res.YSize;
}

void TCustomHTMLButton::PaintParentImage(gui::TCanvas& c)
{
    // The parent's background: its colour (the part of the parent's
    // painting that lies under a control).
    if (!Parent()) return;
    c.Brush()->SetColor(Parent()->Color());
    c.FillRect(TRect(0, 0, Width(), Height()));
}

void TCustomHTMLButton::Paint()
{
    gui::TCanvas& c = *Canvas();
    c.SetFont(Font());
    if (FTransparent) {
        if (FTransparentCaching) {
            if (!FBkgCache) {
                FBkgBmp->SetSize(Width(), Height());
                PaintParentImage(*FBkgBmp->Canvas());
                FBkgCache = true;
            }
            c.Draw(0, 0, FBkgBmp.get());
        } else {
            PaintParentImage(c);
        }
    } else {
        c.Brush()->SetColor(Color());
        c.FillRect(ClientRect());
    }
    DrawBox(c, true);
    TRect r = CaptionRect();
    int w = 0, h = 0;
    c.SetFont(Font());
    c.Brush()->SetStyle(gui::TBrushStyle::bsClear);
    DrawCaption(c, r, w, h);
    if (FFocused) c.DrawFocusRect(gui::Bounds(r.Left, r.Top, w + 3, h + 1));
}

std::string TCustomHTMLButton::AnchorAtPoint(int x, int y)
{
    gui::TCanvas& c = *Canvas();
    c.SetFont(Font());
    TMarkupOptions o;
    o.Images = FImages;
    o.PointX = x;
    o.PointY = y;
    o.HotSpotCheck = true;
    o.ShadowOffset = FShadowOffset;
    o.WordWrap = !FEllipsis;
    o.LinkColor = FURLColor;
    o.ShadowColor = FShadowColor;
    o.PictureCache = FImageCache.get();
    o.PictureContainer = FContainer;
    TMarkupResult res;
    if (DrawMarkupText(TMarkupDialect::mdPanel, c, Caption(), CaptionRect(), o, res)) return res.AnchorValue;
    return {};
}

void TCustomHTMLButton::PressAt(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    FMouseDown = true;
    std::string a;
    if (Focused()) {
        a = AnchorAtPoint(x, y);
        if (IsUrlOrMail(a)) OpenAddress(a);
        else if (!a.empty() && OnAnchorClick) OnAnchorClick(this, a);
    } else if (CanFocus()) {
        SetFocus();
    }
    if (a.empty()) {
        gui::TCustomControl::MouseDown(button, shift, x, y);
        SetMouseCapture(true);
        SetDown(true);
    }
}

void TCustomHTMLButton::MouseMove(gui::TShiftState shift, int x, int y)
{
    if (MouseCapture()) SetDown(InClient(x, y));
    std::string a = AnchorAtPoint(x, y);
    if (!a.empty() && (Cursor() == gui::crDefault || a != FAnchor)) {
        FAnchor = a;
        SetCursor(gui::crHandPoint);
        if (OnAnchorEnter) OnAnchorEnter(this, a);
    } else if (a.empty() && Cursor() == gui::crHandPoint) {
        SetCursor(FOldCursor);
        if (OnAnchorExit) OnAnchorExit(this, std::string());
    }
    gui::TCustomControl::MouseMove(shift, x, y);
}

void TCustomHTMLButton::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    if (key == gui::VK_RETURN && FReturnIsTab) {
        // Return acts as Tab: the focus moves on once this key is handled.
        key = gui::VK_TAB;
        const gui::HWND self = Handle();
        gui::QueueInMainThread([self] {
            gui::TWinControl* c = gui::FindControl(self);   // still there?
            if (gui::TCustomForm* f = c ? c->GetParentForm() : nullptr) f->SelectNext(c, true, true);
        });
    }
    if (key == gui::VK_SPACE) SetDown(true);
    gui::TCustomControl::KeyDown(key, shift);
}

void TCustomHTMLButton::KeyUp(uint16_t& key, gui::TShiftState)
{
    // Only Space is handled; releases are not passed on.
    if (key == gui::VK_SPACE) PressedByKey();
}

void TCustomHTMLButton::DoEnter()
{
    FFocused = true;
    Repaint();
    gui::TCustomControl::DoEnter();
}

void TCustomHTMLButton::DoExit()
{
    FFocused = false;
    Repaint();
    gui::TCustomControl::DoExit();
}

void TCustomHTMLButton::Dispatch(gui::TMessage& m)
{
    switch (m.Msg) {
    case gui::CM_DIALOGCHAR: {
        // "&x" in the caption (not "&&") makes x the accelerator.
        const std::string cap = Caption();
        const char ch = static_cast<char>(m.WParam & 0xFF);
        bool accel = false;
        for (std::size_t i = 0; i + 1 < cap.size(); ++i) {
            if (cap[i] != '&') continue;
            if (cap[i + 1] == '&') { ++i; continue; }
            accel = std::toupper(static_cast<unsigned char>(cap[i + 1])) == std::toupper(static_cast<unsigned char>(ch));
            break;
        }
        if (accel && CanFocus()) {
            AcceleratorHit();
            if (TabStop()) SetFocus();
            m.Result = 1;
            return;
        }
        break;
    }
    case gui::CM_MOUSEENTER:
    case gui::CM_MOUSELEAVE:
        FHot = m.Msg == gui::CM_MOUSEENTER;
        if (FButtonType == TButtonType::btWinXP || FButtonType == TButtonType::btTheme) Invalidate();
        break;
    case gui::CM_ENABLEDCHANGED:
        gui::TCustomControl::Dispatch(m);
        Invalidate();
        return;
    case gui::CM_TEXTCHANGED:
        gui::TCustomControl::Dispatch(m);
        Invalidate();
        return;
    default:
        break;
    }
    gui::TCustomControl::Dispatch(m);
}

// ------------------------------------------------------------------ check box

TCustomHTMLCheckBox::TCustomHTMLCheckBox(rtl::TComponent* owner) : TCustomHTMLButton(owner)
{
    ControlStyleRef().Exclude(gui::TControlStyleItem::csClickEvents);
    SetText("THTMLCheckBox");
}

void TCustomHTMLCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState) return;
    FState = value;
    const int w = ClientWidth();
    if (FAlignment == gui::TAlignment::taRightJustify) InvalidateRect(TRect(w - 20, 0, w, ClientHeight()));
    else InvalidateRect(TRect(0, 0, 20, ClientHeight()));
}

void TCustomHTMLCheckBox::SetCheckedState(bool value)
{
    SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    Invalidate();
}

void THTMLCheckBox::SetChecked(bool value) { SetCheckedState(value); }

void TCustomHTMLCheckBox::Toggle()
{
    if (!FReadOnly) SetCheckedState(!IsChecked());
}

void TCustomHTMLCheckBox::PressedByKey()
{
    SetDown(false);
    Toggle();
    if (OnClick) OnClick(this);
}

void TCustomHTMLCheckBox::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    PressAt(button, shift, x, y);
}

void TCustomHTMLCheckBox::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    SetMouseCapture(false);
    SetDown(false);
    if (InClient(x, y) && Focused() && FMouseDown) {
        Toggle();
        if (OnClick) OnClick(this);
    }
    FMouseDown = false;
    gui::TCustomControl::MouseUp(button, shift, x, y);
}

int TCustomHTMLCheckBox::DrawBox(gui::TCanvas& c, bool draw)
{
    const int W = ClientWidth(), H = ClientHeight();
    const int half = H / 2;
    const bool right = FAlignment == gui::TAlignment::taRightJustify;
    const TButtonType look = EffectiveLook();
    if (look == TButtonType::btVantor || look == TButtonType::btWinXP) {
        const bool xp = look == TButtonType::btWinXP;
        const bool on = FState == TCheckBoxState::cbChecked;
        int n = xp ? (on ? (Enabled() ? 5 : 7) : (Enabled() ? 6 : 8)) : (on ? (Enabled() ? 1 : 3) : (Enabled() ? 2 : 4));
        const gui::TBitmap* b = BoxBitmap("HTMBCHK0" + std::to_string(n));
        int bw = b->Width(), bh = b->Height();
        int x0 = right ? W - bw - 1 : 0;
        int y0 = FBtnVAlign == TTextLayout::tlTop ? (xp ? 2 : 0) : FBtnVAlign == TTextLayout::tlCenter ? half - bh / 2 : H - bh;
        if (draw) c.Draw(x0, y0, b);
        return 10;
    }
    const bool drawn = look == TButtonType::btDrawn;
    int x0 = right ? W - 13 : (drawn ? 1 : 0);
    int y0 = FBtnVAlign == TTextLayout::tlTop ? 4 : FBtnVAlign == TTextLayout::tlCenter ? half - 6 : H - (drawn ? 16 : 17);
    if (!draw) return 5;
    if (!drawn) {
        uint32_t state = gui::DFCS_BUTTONCHECK;
        if (FState == TCheckBoxState::cbChecked) state |= gui::DFCS_CHECKED;
        if (FState == TCheckBoxState::cbGrayed || !Enabled()) state |= gui::DFCS_INACTIVE;
        if (FButtonType == TButtonType::btFlat) state |= gui::DFCS_FLAT;
        if (FDown) state |= gui::DFCS_PUSHED;
        TRect r = gui::Bounds(x0, y0, 13, 13);
        c.DrawFrameControl(r, gui::DFC_BUTTON, state);
        return 5;
    }
    const int x1 = x0 + 12, y1 = y0 + 12;
    c.Brush()->SetColor(gui::clBtnFace);
    if (!FDown) {
        c.Pen()->SetColor(gui::clBtnFace);
        c.Rectangle(x0, y0, x1, y1);
        c.Pen()->SetColor(gui::clBtnHighlight);
        c.MoveTo(x0, y1);
        c.LineTo(x0, y0);
        c.LineTo(x1, y0);
        c.Pen()->SetColor(gui::clBtnShadow);
        c.MoveTo(x1, y0);
        c.LineTo(x1, y1);
        c.LineTo(x0 - 1, y1);
    } else {
        c.Pen()->SetColor(gui::clBlack);
        c.Pen()->SetWidth(2);
        c.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        c.Rectangle(x0 + 1, y0 + 1, x1 + 1, y1 + 1);
        c.Pen()->SetWidth(1);
    }
    if (FState == TCheckBoxState::cbChecked) {
        c.Pen()->SetColor(Enabled() ? FCheckColor : gui::clGray);
        c.Pen()->SetWidth(1);
        c.MoveTo(x0 + 2, y0 + 6); c.LineTo(x0 + 2, y0 + 10);
        c.MoveTo(x0 + 3, y0 + 5); c.LineTo(x0 + 3, y0 + 9);
        c.MoveTo(x0 + 2, y0 + 10); c.LineTo(x0 + 10, y0 + 2);
        c.MoveTo(x0 + 3, y0 + 10); c.LineTo(x0 + 11, y0 + 2);
    } else if (FState == TCheckBoxState::cbGrayed) {
        if (FDown) {
            c.Brush()->SetColor(gui::clBtnFace);
            c.FillRect(TRect(x0 + 2, y0 + 2, x1 - 1, y1 - 1));
        }
        c.Brush()->SetColor(gui::clBtnShadow);
        c.FillRect(TRect(x0 + 2, y0 + 2, x1 - 1, y1 - 1));
    }
    return 5;
}

// ------------------------------------------------------------------ radio button

THTMLRadioButton::THTMLRadioButton(rtl::TComponent* owner) : TCustomHTMLButton(owner)
{
    SetText("THTMLRadioButton");
    SetTabStop(false);
}

void THTMLRadioButton::SetChecked(bool value)
{
    if (value == FChecked) return;
    SetTabStop(value);
    FChecked = value;
    if (value) {
        UncheckGroup();
        ClickChecked();
    }
    Invalidate();
}

void THTMLRadioButton::ClickChecked()
{
    if (OnClick) OnClick(this);
}

void THTMLRadioButton::UncheckGroup()
{
    gui::TWinControl* p = Parent();
    if (!p) return;
    for (int i = 0; i < p->ControlCount(); ++i) {
        auto* other = dynamic_cast<THTMLRadioButton*>(p->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
    }
}

void THTMLRadioButton::PressedByKey()
{
    SetDown(false);
    if (!FChecked) SetChecked(true);
}

void THTMLRadioButton::DoEnter()
{
    TCustomHTMLButton::DoEnter();
    SetChecked(true);
}

void THTMLRadioButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    // The press gives the focus first, which checks the button.
    if (button == gui::TMouseButton::mbLeft && !Focused() && CanFocus()) SetFocus();
    PressAt(button, shift, x, y);
    Invalidate();
}

void THTMLRadioButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    SetMouseCapture(false);
    SetDown(false);
    if (InClient(x, y) && !FChecked && FMouseDown) SetChecked(true);
    FMouseDown = false;
    gui::TCustomControl::MouseUp(button, shift, x, y);
}

int THTMLRadioButton::DrawBox(gui::TCanvas& c, bool draw)
{
    const int W = ClientWidth(), H = ClientHeight();
    const int half = H / 2;
    const bool right = FAlignment == gui::TAlignment::taRightJustify;
    const TButtonType look = EffectiveLook();
    if (look == TButtonType::btVantor || look == TButtonType::btWinXP) {
        const bool xp = look == TButtonType::btWinXP;
        int n = FChecked ? (Enabled() ? 1 : 3) : (Enabled() ? 2 : 4);
        if (xp) n += 4;
        const gui::TBitmap* b = BoxBitmap("HTMBRAD0" + std::to_string(n));
        int bw = b->Width(), bh = b->Height();
        int x0 = right ? W - bw - 1 : 0;
        int y0 = FBtnVAlign == TTextLayout::tlTop ? 2 : FBtnVAlign == TTextLayout::tlCenter ? half - bh / 2 : H - bh - 2;
        if (draw) c.Draw(x0, y0, b);
        return 13;
    }
    const bool drawn = look == TButtonType::btDrawn;
    int x0 = right ? W - 13 : (drawn ? 1 : 0);
    int y0 = FBtnVAlign == TTextLayout::tlTop ? 4 : FBtnVAlign == TTextLayout::tlCenter ? half - 6 : H - (drawn ? 16 : 17);
    if (!drawn) {
        if (draw) {
            uint32_t state = gui::DFCS_BUTTONRADIO;
            if (FChecked) state |= gui::DFCS_CHECKED;
            if (!Enabled()) state |= gui::DFCS_INACTIVE;
            if (FButtonType == TButtonType::btFlat) state |= gui::DFCS_FLAT;
            if (FDown) state |= gui::DFCS_PUSHED;
            TRect r = gui::Bounds(x0, y0, 13, 13);
            c.DrawFrameControl(r, gui::DFC_BUTTON, state);
        }
        return 13;
    }
    if (!draw) return 12;
    const gui::TPoint top(x0 + 6, y0), left(x0, y0 + 6), bottom(x0 + 6, y0 + 12), rightP(x0 + 12, y0 + 6);
    c.Pen()->SetWidth(1);
    if (FDown) {
        c.Pen()->SetColor(gui::clBlack);
        c.Polyline({top, left, bottom, rightP, top});
        c.Polyline({{top.X, top.Y + 1}, {left.X + 1, left.Y}, {bottom.X, bottom.Y - 1}, {rightP.X - 1, rightP.Y}, {top.X, top.Y + 1}});
    } else {
        c.Pen()->SetColor(FChecked ? gui::clGray : gui::clSilver);
        c.Polyline({top, left, bottom});
        c.Pen()->SetColor(FChecked ? gui::clSilver : gui::clGray);
        c.Polyline({bottom, rightP, top});
    }
    if (FChecked) {
        c.Pen()->SetColor(Enabled() ? FCheckColor : gui::clGray);
        const int cx = x0 + 6, cy = y0 + 6;
        c.MoveTo(cx - 1, cy - 1); c.LineTo(cx + 2, cy - 1);
        c.MoveTo(cx - 1, cy + 1); c.LineTo(cx + 2, cy + 1);
        c.MoveTo(cx - 2, cy); c.LineTo(cx + 3, cy);
        c.MoveTo(cx, cy - 2); c.LineTo(cx, cy + 3);
    }
    return 12;
}

} // namespace htmltext
