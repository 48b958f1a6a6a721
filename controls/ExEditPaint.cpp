// TExEdit painting: after the native edit has drawn its text, the flat
// underline or soft rectangle, the drop caret, the grey hint of an empty
// edit and the red error zigzag; on the window band the 3D, focus or
// disabled frame.  A transparent edit takes its background from its parent.

#include "controls/ExEdit.h"
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace controls {

using namespace gui;

namespace {

void Frame(TCanvas* c, const TRect& r, TColor colour)
{
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(colour);
    c->FrameRect(r);
}

} // namespace

void TExEdit::PaintExtras(TCanvas* c)
{
    if (FFlat) {
        if (FFocusBorder) {
            DrawBorder(c);
        } else if (FFlatLineColor != clNone) {
            TRect r;
            Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
            const int h = Height(), w = Width();
            c->Pen()->SetStyle(TPenStyle::psSolid);
            c->Pen()->SetWidth(1);
            c->Pen()->SetColor(Enabled() ? FFlatLineColor : clGray);
            if (FSoftBorder) {
                const int l = r.Left - 4 + FIndentL;
                c->Polyline({{l, h - 1}, {w - 1, h - 1}, {w - 1, r.Top - 3}, {l, r.Top - 3}, {l, h - 1}});
            } else {
                c->MoveTo(r.Left - 2 + FIndentL, h - 1);
                c->LineTo(w - FIndentR, h - 1);
            }
        }
    }
    if (FCaretPos.X != -1 || FCaretPos.Y != -1) {
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetWidth(1);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(clWhite);
        c->SetFont(Font());
        const int fh = c->TextHeight("gh");
        c->Rectangle(FCaretPos.X, FCaretPos.Y, FCaretPos.X + 1, FCaretPos.Y + fh);
    }
    if (Text().empty() && !HasFocus() && !FEmptyText.empty()) {
        TFont plain;
        c->SetFont(&plain);
        c->Font()->SetColor(clGray);
        c->SetBkMode(TRANSPARENT);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->TextOut(2, 2, FEmptyText);
    }
    if (!HasFocus() && FErrorMarkerLen > 0) DrawErrorMarker(c);
}

void TExEdit::DrawErrorMarker(TCanvas* c)
{
    // Character positions from the font: asking the native edit moves its
    // caret, which would paint again from inside painting.
    c->SetFont(Font());
    const std::u16string display = rtl::UTF8ToUTF16(GetText());
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    const int top = r.Top + std::max(0, (r.Height() - c->TextHeight("gh")) / 2);
    auto pos = [&](int index) {
        index = std::clamp(index, 0, static_cast<int>(display.size()));
        return TPoint{r.Left + c->TextWidth(rtl::UTF16ToUTF8(display.substr(0, static_cast<std::size_t>(index)))), top};
    };
    const int len = static_cast<int>(rtl::UTF8ToUTF16(Text()).size());
    const int p = FErrorMarkerPos, n = FErrorMarkerLen;
    TPoint p0, p1;
    if (p < len) {
        p0 = pos(p);
    } else {
        p0 = pos(len);
        p0.X += 4;
    }
    if (p + n < len) {
        p1 = pos(p + n - 1);
    } else {
        p1 = pos(len - 1);
        p1.X += 4;
        p1.Y = p0.Y;
    }
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(clRed);
    c->Pen()->SetWidth(2);
    c->SetFont(Font());
    const int h = c->TextHeight("gh") - 1;
    c->MoveTo(p0.X, p0.Y + h + 3);
    int x = p0.X, d = 3;
    while (p1.X >= x) {
        d = d == 3 ? 0 : 3;
        c->LineTo(x + 3, p1.Y + h + d);
        x += 3;
    }
    d = d == 3 ? 0 : 3;
    c->LineTo(x + 3, p1.Y + h + d);
    c->Pen()->SetWidth(1);
}

void TExEdit::DrawBorder(TCanvas* c)
{
    if (Designing()) return;
    const bool wanted = !Enabled() || FFlat || (FFocusBorder && FMouseInControl) || FBorder3D || FFocusBorderColor != clNone;
    if (!wanted) return;
    TRect b = Rect(0, 0, Width(), Height());
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        Frame(c, b, clSilver);
        return;
    }
    if (FFocusBorderColor != clNone) {
        if (HasFocus()) Frame(c, b, FFocusBorderColor);
        return;
    }
    if (!Enabled()) return;
    bool active = false;
    if (TCustomForm* f = GetParentForm()) active = f->ActiveControl() == this;
    const bool look3d = FBorder3D || (FFocusBorder && (FMouseInControl || active || HasFocus()));
    if (look3d) {
        c->DrawEdge(b, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        Frame(c, b, clBtnFace);
    } else {
        const TColor pc = Parent() ? Parent()->Brush()->Color() : clBtnFace;
        Frame(c, b, pc);
        InflateRect(b, -1, -1);
        Frame(c, b, pc);
    }
}

} // namespace controls
