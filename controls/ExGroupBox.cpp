// The group box: frame width, caption rectangle, frame rectangle, the
// children's area, and painting (parent background, caption, frame).

#include "controls/ExGroupBox.h"

#include <algorithm>

#include "platform/rtl/Format.h"

namespace controls {

using gui::TBitmap;
using gui::TCanvas;
using gui::TColor;
using gui::TRect;

TExCustomGroupBox::TExCustomGroupBox(rtl::TComponent* owner) : gui::TCustomGroupBox(owner)
{
    ControlStyleRef().Exclude(gui::TControlStyleItem::csOpaque);
    SetCtl3D(false);
}

std::string TExCustomGroupBox::Version() const
{
    return rtl::Format("%d.%d.%d.%d", (VersionNr >> 24) & 0xFF, (VersionNr >> 16) & 0xFF, (VersionNr >> 8) & 0xFF,
                       VersionNr & 0xFF);
}

void TExCustomGroupBox::SetBorderColor(TColor c)
{
    if (c == FBorderColor) return;
    FBorderColor = c;
    Invalidate();
}

void TExCustomGroupBox::SetTransparent(bool v)
{
    if (v == FTransparent) return;
    FTransparent = v;
    Invalidate();
}

void TExCustomGroupBox::SetRoundEdges(bool v)
{
    if (v == FRoundEdges) return;
    FRoundEdges = v;
    Invalidate();
}

void TExCustomGroupBox::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Invalidate();
    Realign();
}

void TExCustomGroupBox::SetBorderStyle(TGroupBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Invalidate();
    Realign();
}

void TExCustomGroupBox::SetCaptionPosition(TCaptionPosition v)
{
    if (v == FCaptionPosition) return;
    FCaptionPosition = v;
    Invalidate();
    Realign();
}

void TExCustomGroupBox::SetImages(gui::TImageList* images)
{
    if (images == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = images;
    if (FImages) FImages->FreeNotification(this);
    else FImageIndex = -1;
    Invalidate();
    Realign();
}

void TExCustomGroupBox::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    gui::TCustomGroupBox::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && !IsDestroying() && component == FImages) SetImages(nullptr);
}

bool TExCustomGroupBox::TopPosition() const
{
    return FCaptionPosition == TCaptionPosition::cpTopLeft || FCaptionPosition == TCaptionPosition::cpTopRight ||
           FCaptionPosition == TCaptionPosition::cpTopCenter;
}

int TExCustomGroupBox::GetBorderWidth() const
{
    switch (FBorderStyle) {
    case TGroupBorderStyle::bsNone: return 1;
    case TGroupBorderStyle::bsSingle: return Ctl3D() ? 2 : 1;
    case TGroupBorderStyle::bsDouble: return Ctl3D() ? 4 : 2;
    }
    return 1;
}

TRect TExCustomGroupBox::GetCaptionRect()
{
    int tw = 0, th = 0;
    if (!Caption().empty()) {
        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(Font());
        TRect m = gui::Rect(0, 0, 1000, 100);
        probe.Canvas()->DrawText(Caption(), m, gui::DT_CALCRECT | gui::DT_SINGLELINE);
        tw = m.Width();
        th = m.Height();
    }
    const int iw = HasImage() ? FImages->Width() : 0, ih = HasImage() ? FImages->Height() : 0;
    const int gap = (tw > 0 && iw > 0) ? 3 : 0;
    const int h = std::max(th, ih) + 2, w = iw + gap + tw;
    TRect r;
    switch (FCaptionPosition) {
    case TCaptionPosition::cpTopLeft:
    case TCaptionPosition::cpBottomLeft: r.Left = 8; r.Right = 8 + w; break;
    case TCaptionPosition::cpTopRight:
    case TCaptionPosition::cpBottomRight: r.Right = Width() - 8; r.Left = Width() - w - 8; break;
    case TCaptionPosition::cpTopCenter:
    case TCaptionPosition::cpBottomCenter: r.Left = (Width() - w) / 2; r.Right = r.Left + w; break;
    }
    r.Top = TopPosition() ? 0 : Height() - h;
    r.Bottom = r.Top + h;
    return r;
}

int TExCustomGroupBox::GetCaptionHeight() { return std::max(GetBorderWidth(), GetCaptionRect().Height()); }

TRect TExCustomGroupBox::GetBorderRect()
{
    TRect r = ClientRect();
    const int ch = GetCaptionHeight();
    if (TopPosition()) r.Top += ch / 2;
    else if (!Caption().empty() || HasImage()) r.Bottom -= ch / 2 - (FBorderStyle == TGroupBorderStyle::bsDouble ? 1 : 0);
    return r;
}

void TExCustomGroupBox::AdjustClientRect(TRect& rect)
{
    TRect ignored = rect;
    gui::TCustomGroupBox::AdjustClientRect(ignored);
    rect = ClientRect();
    const int bw = GetBorderWidth();
    const int ch = std::max(GetCaptionHeight(), bw);
    if (TopPosition()) {
        rect.Top += ch;
        rect = gui::Rect(rect.Left + bw, rect.Top, rect.Right - bw, rect.Bottom - bw);
    } else {
        rect.Bottom -= ch;
        rect = gui::Rect(rect.Left + bw, rect.Top + bw, rect.Right - bw, rect.Bottom);
    }
    gui::InflateRect(rect, -1, -1);
}

void TExCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    if (FTransparent && Parent()) {
        // The parent paints itself into this box, shifted so that its
        // coordinates land here.
        const int saved = c->SaveDC();
        c->MoveWindowOrg(-Left(), -Top());
        Parent()->Perform(gui::WM_ERASEBKGND, reinterpret_cast<gui::WPARAM>(c), 0);
        Parent()->Perform(gui::WM_PAINT, reinterpret_cast<gui::WPARAM>(c), 0);
        c->RestoreDC(saved);
    } else {
        c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
    }
    const TRect cr = GetCaptionRect();
    int textX = cr.Left;
    if (HasImage()) {
        FImages->Draw(c, cr.Left, cr.Top, FImageIndex, Enabled());
        textX = cr.Left + FImages->Width() + 3;
    }
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    if (!Caption().empty()) {
        c->Font()->Assign(Font());
        TRect t = gui::Rect(textX, cr.Top, cr.Right, cr.Bottom);
        c->DrawText(Caption(), t, gui::DT_SINGLELINE | gui::DT_VCENTER);
    }
    // The frame leaves the caption area alone (one pixel wider on each
    // side), so that no line runs through the caption.
    const int saved = c->SaveDC();
    if (!Caption().empty() || HasImage()) c->ExcludeClipRect(gui::Rect(cr.Left - 1, cr.Top, cr.Right + 1, cr.Bottom));

    const TRect fr = GetBorderRect();
    auto shape = [&](int l, int t, int r, int b) {
        if (FRoundEdges) c->RoundRect(l, t, r, b, 6, 6);
        else c->Rectangle(l, t, r, b);
    };
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c->Pen()->SetStyle(gui::TPenStyle::psSolid);
    auto etched = [&](int l, int t, int r, int b) {
        c->Pen()->SetColor(0xFFFFFF);
        shape(l + 1, t + 1, r, b);
        c->Pen()->SetColor(0x808080);
        shape(l, t, r - 1, b - 1);
    };
    switch (FBorderStyle) {
    case TGroupBorderStyle::bsSingle:
        c->Pen()->SetColor(FBorderColor);
        shape(fr.Left, fr.Top, fr.Right, fr.Bottom);
        break;
    case TGroupBorderStyle::bsDouble:
        if (Ctl3D()) {
            etched(fr.Left, fr.Top, fr.Right, fr.Bottom);
            etched(fr.Left + 2, fr.Top + 2, fr.Right - 2, fr.Bottom - 2);
        } else {
            c->Pen()->SetColor(FBorderColor);
            shape(fr.Left, fr.Top, fr.Right, fr.Bottom);
            shape(fr.Left + 2, fr.Top + 2, fr.Right - 2, fr.Bottom - 2);
        }
        break;
    case TGroupBorderStyle::bsNone: break;
    }
    c->RestoreDC(saved);
}

} // namespace controls
