// The caption panel and the mouse: caption buttons, caption clicks, anchors
// and their hints, moving by the caption and sizing at the right and bottom
// edges through the window system's hit codes.
#include <algorithm>

#include "controls/ExPanel.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

namespace controls {

using namespace gui;

namespace {
bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }
bool IsShellAnchor(const std::string& a)
{
    return a.find("://") != std::string::npos || a.find("mailto:") != std::string::npos;
}
} // namespace

int TCustomExPanel::ButtonSize(bool forHitTest) const
{
    int s = 12;
    if (!FCaption->CloseMinGlyph()->Empty() && !FCaption->CloseMaxGlyph()->Empty())
        s = FCaption->CloseMinGlyph()->Width();
    if (!FCaption->MinGlyph()->Empty() && !FCaption->MaxGlyph()->Empty())
        s = forHitTest ? FCaption->MinGlyph()->Width() : FCaption->MaxGlyph()->Width();
    if (FCaption->ShadeType() == TShadeType::stXPCaption && IsThemed()) s = 16;
    return s;
}

TRect TCustomExPanel::CloseRect(int s) const
{
    const TRect c = ClientRect();
    const bool right = FCaption->ButtonPosition() == TCaptionButtonPosition::cbpRight;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    if (right && top) return {c.Right - 2 - s, c.Top + 2, c.Right - 2, c.Top + 2 + s};
    if (!right && !top) return {c.Left + 2, c.Bottom - 2 - s, c.Left + 2 + s, c.Bottom - 2};
    return {c.Left + 2, c.Top + 2, c.Left + 2 + s, c.Top + 2 + s};
}

// The client rectangle with the edge next to the close button moved by s.
static TRect MovedForClose(TRect c, bool closeOn, bool right, bool top, int s)
{
    if (!closeOn) return c;
    if (top && right) c.Right -= s;
    else if (top) c.Left += s;
    else if (right) c.Top += s;
    else c.Bottom -= s;
    return c;
}

TRect TCustomExPanel::MinMaxRect(int s) const
{
    const bool right = FCaption->ButtonPosition() == TCaptionButtonPosition::cbpRight;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    const TRect c = MovedForClose(ClientRect(), FCaption->CloseButton(), right, top, s);
    if (right && top) return {c.Right - 2 - s, c.Top + 2, c.Right - 2, c.Top + 2 + s};
    if (!right && !top) return {c.Left + 2, c.Bottom - 2 - s, c.Left + 2 + s, c.Bottom - 2};
    return {c.Left + 2, c.Top + 2, c.Left + 2 + s, c.Top + 2 + s};
}

TRect TCustomExPanel::CaptionRect(bool movedForButtons, int s) const
{
    const bool right = FCaption->ButtonPosition() == TCaptionButtonPosition::cbpRight;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    TRect c = ClientRect();
    if (movedForButtons) c = MovedForClose(c, FCaption->CloseButton(), right, top, s);
    const int H = FCaption->Height();
    if (top) return {c.Left, c.Top, c.Right - 2, c.Top + H};
    return {c.Left, c.Top, c.Left + H, c.Bottom};
}

// -- releasing the panel after its close button

void TCustomExPanel::ReleaseLater()
{
    if (FReleasing) return;
    FReleasing = true;
    const HWND h = Handle();
    QueueInMainThread([h] {
        auto* p = dynamic_cast<TCustomExPanel*>(FindControl(h));
        if (!p) return;
        // Inside a running collapse the loop frees it when it ends.
        if (p->FCollapsing) {
            p->FReleasing = false;
            p->FReleasePending = true;
            return;
        }
        delete p;
    });
}

// -- buttons and clicks

void TCustomExPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomPanel::MouseUp(button, shift, x, y);
    if (IsDesigning() || !FCaption->Visible() || FReleasing) return;
    bool toggle = FCaption->MinMaxCaption() && FCaption->Visible();
    const int s = ButtonSize(false);
    if (FCaption->CloseButton() && Inside(CloseRect(s), x, y)) {
        SetVisible(false);
        if (OnClose) OnClose(this);
        Synchronize();
        // Freed once this message has been handled: nothing below the
        // handler chain may meet a freed panel.
        if (FFreeOnClose) ReleaseLater();
        return;
    }
    // The caller may free the panel in any event below; keep a handle to ask.
    const HWND h = Handle();
    if (FCaption->MinMaxButton() && Inside(MinMaxRect(s), x, y)) {
        toggle = false;
        SetCollaps(!FCollaps);
        if (FindControl(h) != this) return;
    }
    if (Inside(CaptionRect(true, s), x, y)) {
        if (toggle) {
            SetCollaps(!FCollaps);
            if (FindControl(h) != this) return;
        }
        if (OnCaptionClick) OnCaptionClick(this);
    }
}

void TCustomExPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomPanel::MouseDown(button, shift, x, y);
    const std::string anchor = AnchorAt(x, y);
    if (anchor.empty()) return;
    if (IsShellAnchor(anchor)) ShellOpen(anchor);
    else if (OnAnchorClick) OnAnchorClick(this, anchor);
}

// -- anchors

std::string TCustomExPanel::AnchorAt(int x, int y)
{
    TRect r = ClientRect();
    if (BevelInner() != TBevelCut::bvNone || BevelOuter() != TBevelCut::bvNone)
        r = {r.Left + BevelWidth(), r.Top + BevelWidth(), r.Right - BevelWidth(), r.Bottom - BevelWidth()};
    if (FBorderShadow) {
        r.Right -= 2;
        r.Bottom -= 2;
    }
    const int bw = BorderWidth() + 1;
    r = {r.Left + bw + FIndent, r.Top + bw + FTopIndent, r.Right - bw, r.Bottom - bw};
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    int h = 0;
    if (FTextVAlign != TTextVAlignment::tvaTop) DrawMarkup(c, FText, r, true, true, false, -1, -1, -1, nullptr, &h, nullptr, nullptr, nullptr);
    auto adjust = [&](TRect& rr) {
        if (FTextVAlign == TTextVAlignment::tvaTop || h >= rr.Height()) return;
        if (FTextVAlign == TTextVAlignment::tvaCenter) rr.Top += (rr.Height() - h) / 2;
        else rr.Top = rr.Bottom - h;
    };
    const int H = FCaption->Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    std::string anchor;
    if (FCaption->Visible() && (top ? y < H : x < H)) {
        if (!top) return {};
        TRect cr = r;
        cr.Bottom = cr.Top + H;
        adjust(cr);
        cr.Left += FCaption->Indent();
        cr.Top += FCaption->TopIndent();
        c.Font()->Assign(FCaption->Font());
        int index = -1;
        TRect ar = FCaptionHoverRect;
        DrawMarkup(c, FCaption->Text(), cr, true, false, true, -1, x, y, nullptr, nullptr, &anchor, &index, &ar, true);
        FCaptionHoverHyperLink = index;
        if (index >= 0) FCaptionHoverRect = ar;
        return anchor;
    }
    if (FCaption->Visible()) {
        if (top) r.Top += H;
        else r.Left += H;
    }
    adjust(r);
    r.Bottom += 20;
    int index = -1;
    TRect ar = FHoverRect;
    DrawMarkup(c, FText, r, true, false, true, -1, x, y, nullptr, nullptr, &anchor, &index, &ar, true);
    FHoverHyperLink = index;
    if (index >= 0) FHoverRect = ar;
    return anchor;
}

void TCustomExPanel::MouseMove(TShiftState shift, int x, int y)
{
    TCustomPanel::MouseMove(shift, x, y);
    const int oldBody = FHoverHyperLink, oldCaption = FCaptionHoverHyperLink;
    const TRect oldBodyRect = FHoverRect, oldCaptionRect = FCaptionHoverRect;
    const std::string anchor = AnchorAt(x, y);
    FMoving = false;
    if (!IsDesigning() && FCaption->Visible()) {
        const int s = ButtonSize(false);
        if (FCaption->CloseButtonHoverColor() != clNone) {
            const bool on = FCaption->CloseButton() && Inside(CloseRect(s), x, y);
            if (on != FCloseHover) {
                FCloseHover = on;
                Invalidate();
            }
        }
        if (FCaption->MinMaxButtonHoverColor() != clNone) {
            const bool on = FCaption->MinMaxButton() && Inside(MinMaxRect(s), x, y);
            if (on != FMinMaxHover) {
                FMinMaxHover = on;
                Invalidate();
            }
        }
    }
    const int H = FCaption->Height();
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    auto inflate = [](TRect r) { return TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}; };
    auto enter = [&](const std::string& a, const TRect& rect) {
        if (Cursor() == FOwnCursor || a != FAnchor) {
            if (FAnchorHint) Application->CancelHint();
            TControl::SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, a);
            if (FHover) InvalidateRect(rect);
        }
        FAnchor = a;
    };
    if (FCaption->Visible() && (top ? y < H : x < H)) {
        if (oldBody >= 0) {
            if (FHover) InvalidateRect(inflate(oldBodyRect));
            FHoverHyperLink = FOldHoverHyperLink = -1;
        }
        if (!anchor.empty()) {
            if (anchor != FAnchor || !(FCaptionHoverRect == oldCaptionRect) || oldCaption == -1) {
                if (oldCaption >= 0 && FHover) InvalidateRect(oldCaptionRect);
                if (FHover) InvalidateRect(FCaptionHoverRect);
                enter(anchor, FCaptionHoverRect);
            }
        } else if (Cursor() == crHandPoint) {
            TControl::SetCursor(FOwnCursor);
            if (OnAnchorExit) OnAnchorExit(this, FAnchor);
            FAnchor.clear();
            FCaptionHoverHyperLink = -1;
            if (FHover) InvalidateRect(oldCaptionRect);
        }
        return;
    }
    if (!anchor.empty()) {
        if (anchor != FAnchor || !(FHoverRect == oldBodyRect) || FHoverHyperLink != FOldHoverHyperLink ||
            oldBody == -1) {
            if (oldBody >= 0 && FHover) InvalidateRect(inflate(oldBodyRect));
            if (FHover) InvalidateRect(FHoverRect);
            enter(anchor, FHoverRect);
            FOldHoverHyperLink = FHoverHyperLink;
        }
    } else if (Cursor() == crHandPoint) {
        TControl::SetCursor(FOwnCursor);
        if (OnAnchorExit) OnAnchorExit(this, FAnchor);
        FAnchor.clear();
        FHoverHyperLink = FOldHoverHyperLink = -1;
        if (FHover) InvalidateRect(inflate(oldBodyRect));
    }
}

void TCustomExPanel::CMMouseLeave(TMessage& m)
{
    auto inflate = [](TRect r) { return TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}; };
    if (FHoverHyperLink >= 0) {
        FHoverHyperLink = FOldHoverHyperLink = -1;
        if (FHover) InvalidateRect(inflate(FHoverRect));
    }
    if (FCaptionHoverHyperLink >= 0) {
        FCaptionHoverHyperLink = -1;
        if (FHover) InvalidateRect(inflate(FCaptionHoverRect));
    }
    TCustomPanel::Dispatch(m);   // fires OnMouseLeave
    if (FCloseHover || FMinMaxHover) {
        FCloseHover = FMinMaxHover = false;
        Invalidate();
    }
}

void TCustomExPanel::CMHintShow(TMessage& m)
{
    m.Result = 0;
    if (!FAnchorHint) return;
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    if (!info) return;
    std::string anchor = AnchorAt(info->CursorPos.X, info->CursorPos.Y);
    if (anchor.empty()) return;
    if (OnAnchorHint) OnAnchorHint(this, anchor);
    info->HintStr = anchor;
    const TPoint sp = ClientToScreen(info->CursorPos);
    info->HintPos = {sp.X + 10, sp.Y - 10};
}

// -- moving and sizing through hit codes

void TCustomExPanel::DoBringToTop() { BringToFront(); }

void TCustomExPanel::WMNCHitTest(TMessage& m)
{
    TCustomPanel::Dispatch(m);
    if (IsDesigning()) return;
    const int s = ButtonSize(true);
    TRect c = ClientRect();
    const int buttons = (FCaption->CloseButton() ? 1 : 0) + (FCaption->MinMaxButton() ? 1 : 0);
    const bool right = FCaption->ButtonPosition() == TCaptionButtonPosition::cbpRight;
    const bool top = FCaption->Position() == TCaptionPosition::cpTop;
    if (top && right) c.Right -= s * buttons;
    else if (top) c.Left += s * buttons;
    else if (right) c.Top += s * buttons;
    else c.Bottom -= s * buttons;
    const TPoint p = ScreenToClient({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    const int H = FCaption->Height();
    const bool inCaption = FCaption->Visible() && ((top && p.Y < H && c.Left < p.X && p.X < c.Right) ||
                                                   (!top && p.X < H && c.Top < p.Y && p.Y < c.Bottom));
    if (inCaption && m.Result == HTCLIENT && FCanMove && AnchorAt(p.X, p.Y).empty()) {
        MouseMove({}, p.X, p.Y);
        m.Result = HTCAPTION;
        FMoving = true;
        DoBringToTop();
        return;
    }
    if (m.Result != HTCLIENT || !FCanSize || FCollaps) return;
    const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
    if (!FFixedHeight && !FFixedWidth && p.Y > Height() - fy - 2 && p.X > Width() - fx - 2) {
        DoBringToTop();
        m.Result = HTBOTTOMRIGHT;
    } else if (!FFixedHeight && p.Y > Height() - fy) {
        DoBringToTop();
        m.Result = HTBOTTOM;
    } else if (!FFixedWidth && p.X > Width() - fx) {
        DoBringToTop();
        m.Result = HTRIGHT;
    }
}

void TCustomExPanel::WMSizing(TMessage& m)
{
    if (IsDesigning()) {
        TCustomPanel::Dispatch(m);
        return;
    }
    auto* r = reinterpret_cast<TRect*>(m.LParam);
    if (FFixedWidth) r->Right = r->Left + FSizeMoveSize.X;
    if (FFixedHeight) r->Bottom = r->Top + FSizeMoveSize.Y;
    FFullHeight = FCaption->Position() == TCaptionPosition::cpLeft ? r->Width() : r->Height();
    m.Result = 0;
    if (r->Width() != Width()) ShadeHeader();
}

void TCustomExPanel::WMMoving(TMessage& m)
{
    FSizeMoveOrigin = ClientOrigin();
    if (IsDesigning()) {
        TCustomPanel::Dispatch(m);
        return;
    }
    auto* r = reinterpret_cast<TRect*>(m.LParam);
    if (FFixedLeft) {
        const int w = r->Width();
        r->Left = FSizeMoveOrigin.X;
        r->Right = r->Left + w;
    }
    if (FFixedTop) {
        const int h = r->Height();
        r->Top = FSizeMoveOrigin.Y;
        r->Bottom = r->Top + h;
    }
    m.Result = 0;
}

void TCustomExPanel::WndProc(TMessage& m)
{
    TCustomPanel::WndProc(m);
    if (m.Msg == WM_DESTROY && FPosition && FPosition->Save()) SavePosition();
}

void TCustomExPanel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_ENTERSIZEMOVE:
        FSizeMoveOrigin = ClientOrigin();
        FSizeMoveSize = {Width(), Height()};
        return;
    case WM_SIZING: WMSizing(m); return;
    case WM_MOVING: WMMoving(m); return;
    case WM_EXITSIZEMOVE: {
        TCustomPanel::Dispatch(m);
        const HWND h = Handle();
        if (OnEndMoveSize) OnEndMoveSize(this);
        if (FindControl(h) == this) Synchronize();
        return;
    }
    case WM_SETCURSOR:
        TCustomPanel::Dispatch(m);
        if (FMoving && FShowMoveCursor) SetCursor(crSizeAll);
        return;
    case WM_LBUTTONDBLCLK: {
        TCustomPanel::Dispatch(m);
        const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
        if (FCaption->Visible() && Inside(CaptionRect(false, 0), x, y) && OnCaptionDBlClick) OnCaptionDBlClick(this);
        return;
    }
    case WM_SIZE:
        TCustomPanel::Dispatch(m);
        if (FShade->Width() != Width()) ShadeHeader();
        Invalidate();
        return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_HINTSHOW: CMHintShow(m); return;
    default: TCustomPanel::Dispatch(m); return;
    }
}

} // namespace controls
