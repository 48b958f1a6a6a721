#include "dbgrids/UxExControls.h"

#include <memory>

#include "platform/gui/Graphics.h"

namespace dbgrids {

using namespace gui;

// ------------------------------------------------------------ free routines

bool IsDesignerMessage(TControl*, TMessage&)
{
    return false;
}

void ResolveHintColor(THintInfo& hintInfo, TControl* control, TColor color)
{
    if (color == clNone) {
        if (Application) hintInfo.HintColor = Application->HintColor();
    } else if (color == clDefault) {
        if (control && control->Parent()) {
            THintInfo copy = hintInfo;
            control->Parent()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&copy));
            hintInfo.HintColor = copy.HintColor;
        }
    } else {
        hintInfo.HintColor = color;
    }
}

void DrawHighlightFrameRect(TCanvas* canvas, TRect r, TColor color, bool highlighted)
{
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(highlighted ? kHighlightColor : kHighlightGrey);
    canvas->FrameRect(r);
    r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    canvas->Brush()->SetColor(highlighted ? kHighlightColor : color);
    canvas->FrameRect(r);
}

void HighlightOnMessage(TWinControl* control, TMessage& message, bool mouseOver, TColor color)
{
    if (control->ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return;
    if (message.Msg == WM_NCPAINT) {
        if (auto* canvas = reinterpret_cast<TCanvas*>(message.WParam)) {
            ux_detail::TSavedCanvasState saved(canvas);
            bool highlighted = control->Focused() || mouseOver;
            DrawHighlightFrameRect(canvas, TRect{0, 0, control->Width(), control->Height()}, color, highlighted);
        }
        return;
    }
    // Outside painting the frame is drawn by the repaint this asks for.
    int w = control->Width(), h = control->Height();
    if (message.Msg == CM_MOUSELEAVE) {
        // The ring between (0, 0, w-1, h-1) and (2, 2, w-3, h-3).
        control->InvalidateRect(TRect{0, 0, w - 1, 2});
        control->InvalidateRect(TRect{0, h - 3, w - 1, h - 1});
        control->InvalidateRect(TRect{0, 2, 2, h - 3});
        control->InvalidateRect(TRect{w - 3, 2, w - 1, h - 3});
    } else {
        control->Invalidate();
    }
}

TMessage MakeMessage(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    m.Result = 0;
    return m;
}

int32_t SmallPointAsLong(TPoint p)
{
    return static_cast<int32_t>(MAKELPARAM(p.X, p.Y));
}

uint32_t ShiftToKeyFlags(TShiftState shift)
{
    uint32_t r = 0;
    if (shift.Contains(TShiftStateItem::ssShift)) r |= 0x08000000;
    if (shift.Contains(TShiftStateItem::ssCtrl)) r |= 0x10000000;
    if (shift.Contains(TShiftStateItem::ssAlt)) r |= 0x20000000;
    return r;
}

namespace {
struct TCodeBit {
    TDialogCodeFlag Flag;
    uint32_t Bit;
};
const TCodeBit kCodeBits[] = {
    {TDialogCodeFlag::dcfWantAllKeys, DLGC_WANTALLKEYS}, {TDialogCodeFlag::dcfWantArrows, DLGC_WANTARROWS},
    {TDialogCodeFlag::dcfWantChars, DLGC_WANTCHARS},     {TDialogCodeFlag::dcfButton, DLGC_BUTTON},
    {TDialogCodeFlag::dcfHasSetSel, DLGC_HASSETSEL},     {TDialogCodeFlag::dcfWantTab, DLGC_WANTTAB},
};
} // namespace

TDialogCodeFlags DialogCodesFromDlgc(uint32_t code)
{
    TDialogCodeFlags f;
    for (const auto& cb : kCodeBits)
        if (code & cb.Bit) f.Include(cb.Flag);
    return f;
}

uint32_t DialogCodesToDlgc(TDialogCodeFlags flags)
{
    uint32_t code = 0;
    for (const auto& cb : kCodeBits)
        if (flags.Contains(cb.Flag)) code |= cb.Bit;
    return code;
}

void AddThemeStyleFlags(TControl* control, TControlStyle style)
{
    TControlStyle s = control->ControlStyle();
    if (style.Contains(TControlStyleItem::csNeedsBorderPaint)) s.Include(TControlStyleItem::csNeedsBorderPaint);
    if (style.Contains(TControlStyleItem::csParentBackground)) s.Include(TControlStyleItem::csParentBackground);
    control->SetControlStyle(s);
}

} // namespace dbgrids
