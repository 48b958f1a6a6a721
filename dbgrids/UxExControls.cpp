#include "dbgrids/UxExControls.h"

#include <memory>

#include "platform/gui/Graphics.h"

namespace dbgrids {

using namespace gui;

namespace {

// The canvas's pen, brush and font, put back on every path.
class TSavedCanvasState {
public:
    explicit TSavedCanvasState(TCanvas* c) : FCanvas(c)
    {
        FPen.Assign(c->Pen());
        FBrush.Assign(c->Brush());
        FFont.Assign(c->Font());
    }
    ~TSavedCanvasState()
    {
        FCanvas->Pen()->Assign(&FPen);
        FCanvas->Brush()->Assign(&FBrush);
        FCanvas->Font()->Assign(&FFont);
    }

private:
    TCanvas* FCanvas;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
};

} // namespace

TUxExCustomControl::TUxExCustomControl(rtl::TComponent* owner) : TCustomControl(owner), FHintColor(clDefault) {}

void TUxExCustomControl::SetDotNetHighlighting(bool value)
{
    if (FDotNetHighlighting == value) return;
    FDotNetHighlighting = value;
    // The frame is drawn over the painted window, on its edge pixels.
    SetNonClientPaint(value);
}

LRESULT TUxExCustomControl::InheritedMessage(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m = MakeMessage(msg, wParam, lParam);
    TCustomControl::WndProc(m);
    return m.Result;
}

void TUxExCustomControl::WndProc(TMessage& m)
{
    if (IsDesignerMessage(this, m)) return;
    switch (m.Msg) {
    case WM_MOVE:
    case WM_SIZE:
        TCustomControl::WndProc(m);
        DoBoundsChange();
        break;
    case WM_SETFOCUS: DoFocusReceived(static_cast<HWND>(m.WParam)); break;
    case WM_KILLFOCUS: DoFocusLost(static_cast<HWND>(m.WParam)); break;
    case WM_ERASEBKGND:
        if (m.WParam == 0) {
            TCustomControl::WndProc(m);
        } else {
            // The platform hands the window's canvas itself; its state is
            // restored whatever the override does.
            auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
            TSavedCanvasState saved(canvas);
            m.Result = DoPaintBackground(canvas, m.LParam) ? 1 : 0;
        }
        break;
    case WM_GETDLGCODE: {
        TCustomControl::WndProc(m);
        TDialogCodeFlags codes = DialogCodesFromDlgc(static_cast<uint32_t>(m.Result));
        codes += TDialogCodeFlag::dcfNative;
        AdjustDialogCodes(codes);
        if (!codes.Contains(TDialogCodeFlag::dcfNative)) m.Result = DialogCodesToDlgc(codes);
        break;
    }
    case CM_DIALOGCHAR: {
        uint16_t key = static_cast<uint16_t>(m.WParam & 0xFFFF);
        std::string text(1, static_cast<char>(key));
        m.Result = WantsDialogChar(key, KeyDataToShiftState(m.LParam), text) ? 1 : 0;
        break;
    }
    case CM_FOCUSCHANGED: DoFocusChange(reinterpret_cast<TControl*>(m.LParam)); break;
    case CM_PARENTFONTCHANGED: DoParentFontChange(); break;
    case CM_PARENTCOLORCHANGED: DoParentColorChange(); break;
    case CM_VISIBLECHANGED: DoVisibleChange(); break;
    case CM_ENABLEDCHANGED: DoEnabledChange(); break;
    case CM_COLORCHANGED: DoColorChange(); break;
    case CM_FONTCHANGED: DoFontChange(); break;
    case CM_CURSORCHANGED: DoCursorChange(); break;
    case CM_TEXTCHANGED: DoTextChange(); break;
    case CM_SHOWINGCHANGED: DoShowingChange(); break;
    case CM_SHOWHINTCHANGED: DoShowHintChange(); break;
    case CM_PARENTSHOWHINTCHANGED: DoParentShowHintChange(); break;
    case CM_HITTEST: m.Result = IsHit(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) ? 1 : 0; break;
    case CM_MOUSEENTER: DoMouseEnter(reinterpret_cast<TControl*>(m.LParam)); break;
    case CM_MOUSELEAVE: DoMouseLeave(reinterpret_cast<TControl*>(m.LParam)); break;
    case CM_CONTROLLISTCHANGE:
        if (m.LParam != 0) DoChildListChanging(reinterpret_cast<TControl*>(m.WParam), true);
        else DoChildListChanged(reinterpret_cast<TControl*>(m.WParam), false);
        break;
    case CM_CONTROLCHANGE:
        if (m.LParam == 0) DoChildListChanging(reinterpret_cast<TControl*>(m.WParam), false);
        else DoChildListChanged(reinterpret_cast<TControl*>(m.WParam), true);
        break;
    case CM_HINTSHOW: m.Result = DoPrepareHint(*reinterpret_cast<THintInfo*>(m.LParam)) ? 1 : 0; break;
    case CM_DENYSUBCLASSING: m.Result = 0; break;
    default: TCustomControl::WndProc(m); break;
    }
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_NCPAINT:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (FDotNetHighlighting) HighlightOnMessage(this, m, FMouseOver, Color());
        break;
    default: break;
    }
}

void TUxExCustomControl::DoTextChange() { InheritedMessage(CM_TEXTCHANGED); }
void TUxExCustomControl::DoFontChange() { InheritedMessage(CM_FONTCHANGED); }
void TUxExCustomControl::DoColorChange() { InheritedMessage(CM_COLORCHANGED); }
void TUxExCustomControl::DoParentFontChange() { InheritedMessage(CM_PARENTFONTCHANGED); }

void TUxExCustomControl::DoParentColorChange()
{
    InheritedMessage(CM_PARENTCOLORCHANGED);
    if (OnParentColorChanged) OnParentColorChanged(this);
}

void TUxExCustomControl::DoParentShowHintChange() { InheritedMessage(CM_PARENTSHOWHINTCHANGED); }
void TUxExCustomControl::DoVisibleChange() { InheritedMessage(CM_VISIBLECHANGED); }
void TUxExCustomControl::DoEnabledChange() { InheritedMessage(CM_ENABLEDCHANGED); }
void TUxExCustomControl::DoCursorChange() { InheritedMessage(CM_CURSORCHANGED); }
void TUxExCustomControl::DoShowingChange() { InheritedMessage(CM_SHOWINGCHANGED); }
void TUxExCustomControl::DoShowHintChange() { InheritedMessage(CM_SHOWHINTCHANGED); }

void TUxExCustomControl::DoFocusChange(TControl* focusedControl)
{
    InheritedMessage(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focusedControl));
}

void TUxExCustomControl::DoMouseEnter(TControl* control)
{
    FMouseOver = true;
    if (OnMouseEnter) OnMouseEnter(this);
    InheritedMessage(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

void TUxExCustomControl::DoMouseLeave(TControl* control)
{
    FMouseOver = false;
    InheritedMessage(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(control));
    if (OnMouseLeave) OnMouseLeave(this);
}

void TUxExCustomControl::DoChildListChanging(TControl* child, bool inserting)
{
    if (inserting) InheritedMessage(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(child), 1);
    else InheritedMessage(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(child), 0);
}

void TUxExCustomControl::DoChildListChanged(TControl* child, bool inserting)
{
    if (inserting) InheritedMessage(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(child), 1);
    else InheritedMessage(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(child), 0);
}

bool TUxExCustomControl::WantsDialogChar(uint16_t key, TShiftState shift, const std::string&)
{
    return InheritedMessage(CM_DIALOGCHAR, key, static_cast<LPARAM>(ShiftToKeyFlags(shift))) != 0;
}

bool TUxExCustomControl::IsHit(int x, int y)
{
    return InheritedMessage(CM_HITTEST, 0, SmallPointAsLong({x, y})) != 0;
}

bool TUxExCustomControl::DoPrepareHint(THintInfo& hintInfo)
{
    ResolveHintColor(hintInfo, this, FHintColor);
    if (FHintWindowClass) hintInfo.HintWindowClass = FHintWindowClass;
    return InheritedMessage(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&hintInfo)) != 0;
}

void TUxExCustomControl::DoFocusReceived(HWND previousWindow) { InheritedMessage(WM_SETFOCUS, previousWindow); }
void TUxExCustomControl::DoFocusLost(HWND nextWindow) { InheritedMessage(WM_KILLFOCUS, nextWindow); }

bool TUxExCustomControl::DoPaintBackground(TCanvas* canvas, LPARAM param)
{
    return InheritedMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), param) != 0;
}

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
            TSavedCanvasState saved(canvas);
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
