// TCanvas 3-D frames: classic edges, Frame3D and the frame controls (check
// box, radio button, push button, scroll and combo arrows), drawn in the
// desktop palette's button colours.

#include "platform/gui/GraphicsQt.h"

namespace gui {

namespace {

void Fill(QPainter* p, int x, int y, int w, int h, TColor c)
{
    if (w > 0 && h > 0) p->fillRect(QRect(x, y, w, h), ToQColor(c));
}

// One ring of an edge: top-left sides in tl, bottom-right sides in br.
void EdgeRing(QPainter* p, TRect& r, uint32_t sides, TColor tl, TColor br)
{
    if (sides & BF_LEFT) Fill(p, r.Left, r.Top, 1, r.Height(), tl);
    if (sides & BF_TOP) Fill(p, r.Left, r.Top, r.Width(), 1, tl);
    if (sides & BF_RIGHT) Fill(p, r.Right - 1, r.Top, 1, r.Height(), br);
    if (sides & BF_BOTTOM) Fill(p, r.Left, r.Bottom - 1, r.Width(), 1, br);
    if (sides & BF_LEFT) ++r.Left;
    if (sides & BF_TOP) ++r.Top;
    if (sides & BF_RIGHT) --r.Right;
    if (sides & BF_BOTTOM) --r.Bottom;
}

} // namespace

bool TCanvas::DrawEdge(TRect& r, uint32_t edge, uint32_t flags)
{
    TRect inner = r;
    bool drawing = CanvasAccess::Begin(*this);
    QPainter* p = drawing ? FImpl->painter : nullptr;
    if (drawing) Changing();
    auto ring = [&](TColor tl, TColor br) {
        if (p) EdgeRing(p, inner, flags, tl, br);
        else {
            TRect dummy = inner;
            if (flags & BF_LEFT) ++dummy.Left;
            if (flags & BF_TOP) ++dummy.Top;
            if (flags & BF_RIGHT) --dummy.Right;
            if (flags & BF_BOTTOM) --dummy.Bottom;
            inner = dummy;
        }
    };
    uint32_t outer = edge & BDR_OUTER, in = edge & BDR_INNER;
    if (flags & BF_MONO) {
        if (outer) ring(clWindowFrame, clWindowFrame);
        if (in) ring(clWindow, clWindow);
    } else if (flags & BF_FLAT) {
        if (outer) ring(clBtnShadow, clBtnShadow);
        if (in) ring(clBtnFace, clBtnFace);
    } else {
        if (outer == BDR_RAISEDOUTER) ring(cl3DLight, cl3DDkShadow);
        else if (outer == BDR_SUNKENOUTER) ring(clBtnShadow, clBtnHighlight);
        if (in == BDR_RAISEDINNER) ring(clBtnHighlight, clBtnShadow);
        else if (in == BDR_SUNKENINNER) ring(cl3DDkShadow, cl3DLight);
    }
    if (p && (flags & BF_MIDDLE))
        Fill(p, inner.Left, inner.Top, inner.Width(), inner.Height(),
             (flags & BF_MONO) ? clWindow : clBtnFace);
    if (flags & BF_ADJUST) r = inner;
    if (drawing) Changed();
    return true;
}

void TCanvas::Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width)
{
    bool drawing = CanvasAccess::Begin(*this);
    QPainter* p = FImpl->painter;
    if (drawing) Changing();
    // Inclusive corners: the outline passes through (l, t) and (rr, bb).
    int l = r.Left, t = r.Top, rr = r.Right - 1, bb = r.Bottom - 1;
    for (int i = 0; i < width; ++i) {
        if (drawing) {
            Fill(p, l, t, 1, bb - t + 1, topColor);       // left side, down to the bottom-left corner
            Fill(p, l, t, rr - l, 1, topColor);           // top side, short of the top-right corner
            Fill(p, rr, t, 1, bb - t + 1, bottomColor);   // right side
            Fill(p, l, bb, rr - l + 1, 1, bottomColor);   // bottom side, bottom-left corner included
        }
        ++l; ++t; --rr; --bb;
    }
    r = {l, t, rr + 1, bb + 1};
    FPen->SetWidth(1);
    if (drawing) Changed();
}

namespace {

// The classic check mark in a 7 x 7 cell at (x, y).
void CheckMark(QPainter* p, int x, int y, TColor color)
{
    static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) Fill(p, x + i, y + kTop[i], 1, 3, color);
}

// A filled arrow triangle centred in r pointing in direction 0 up, 1 down,
// 2 left, 3 right.
void Arrow(QPainter* p, const TRect& r, int direction, TColor color)
{
    int size = std::max(2, std::min(r.Width(), r.Height()) / 4);
    int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    for (int i = 0; i < size; ++i) {
        int half = (direction == 0 || direction == 2) ? i : size - 1 - i;
        int len = 2 * half + 1;
        int off = i - size / 2;
        if (direction <= 1) Fill(p, cx - half, cy + off, len, 1, color);
        else Fill(p, cx + off, cy - half, 1, len, color);
    }
}

} // namespace

bool TCanvas::DrawFrameControl(TRect& r, uint32_t type, uint32_t state)
{
    if (!CanvasAccess::Begin(*this)) return false;
    Changing();
    QPainter* p = FImpl->painter;
    const bool flat = state & DFCS_FLAT, pushed = state & DFCS_PUSHED,
               inactive = state & DFCS_INACTIVE, checked = state & DFCS_CHECKED;
    TRect box = r;
    if (type == DFC_BUTTON) {
        uint32_t kind = state & 0xFF;
        if (kind & DFCS_BUTTONPUSH) {
            uint32_t edge = pushed ? EDGE_SUNKEN : EDGE_RAISED;
            DrawEdge(box, edge, BF_RECT | BF_MIDDLE | (flat ? uint32_t{BF_FLAT} : 0u) | BF_ADJUST);
            if (state & DFCS_ADJUSTRECT) r = box;
        } else if (kind & DFCS_BUTTONRADIO) {
            int d = std::min(r.Width(), r.Height());
            TRect c = Bounds(r.Left + (r.Width() - d) / 2, r.Top + (r.Height() - d) / 2, d, d);
            QRectF cf(c.Left, c.Top, d - 1, d - 1);
            // Classic ring: outer shadow / highlight, inner dark shadow / light.
            p->setBrush(ToQColor(pushed || inactive ? clBtnFace : clWindow));
            p->setPen(Qt::NoPen);
            p->drawEllipse(cf);
            auto ring = [&](const QRectF& box, TColor tl, TColor br) {
                p->setBrush(Qt::NoBrush);
                p->setPen(QPen(ToQColor(tl), 1));
                p->drawArc(box, 45 * 16, 180 * 16);
                p->setPen(QPen(ToQColor(br), 1));
                p->drawArc(box, 225 * 16, 180 * 16);
            };
            if (flat) {
                ring(cf, clBtnShadow, clBtnShadow);
            } else {
                ring(cf, clBtnShadow, clBtnHighlight);
                ring(cf.adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
            }
            if (checked) {
                int dot = std::max(2, d / 3);
                TColor dc = inactive ? clGrayText : clWindowText;
                p->setPen(Qt::NoPen);
                p->setBrush(ToQColor(dc));
                p->drawEllipse(QRectF(c.Left + (d - dot) / 2.0, c.Top + (d - dot) / 2.0, dot, dot));
            }
        } else {
            // Check box: a sunken square with the mark.
            DrawEdge(box, flat ? uint32_t{BDR_SUNKENOUTER} : uint32_t{EDGE_SUNKEN}, BF_RECT | BF_ADJUST | (flat ? uint32_t{BF_FLAT} : 0u));
            Fill(p, box.Left, box.Top, box.Width(), box.Height(),
                 pushed || inactive ? clBtnFace : clWindow);
            if (checked)
                CheckMark(p, box.Left + (box.Width() - 7) / 2, box.Top + (box.Height() - 7) / 2,
                          inactive ? clGrayText : clWindowText);
        }
    } else if (type == DFC_SCROLL) {
        uint32_t kind = state & 0xFF;
        uint32_t edge = pushed ? (flat ? BDR_SUNKENOUTER : EDGE_SUNKEN) : EDGE_RAISED;
        DrawEdge(box, edge, BF_RECT | BF_MIDDLE | BF_ADJUST | ((flat || pushed) ? uint32_t{BF_FLAT} : 0u));
        int dir = kind == DFCS_SCROLLUP ? 0 : kind == DFCS_SCROLLLEFT ? 2 : kind == DFCS_SCROLLRIGHT ? 3 : 1;
        TRect a = box;
        if (pushed) OffsetRect(a, 1, 1);
        if (inactive) {
            TRect shadow = a;
            OffsetRect(shadow, 1, 1);
            Arrow(p, shadow, dir, clBtnHighlight);
            Arrow(p, a, dir, clBtnShadow);
        } else {
            Arrow(p, a, dir, clBtnText);
        }
    }
    Changed();
    return true;
}

} // namespace gui
