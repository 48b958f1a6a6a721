// The control message extensions: a base control that turns the platform's
// notification messages (CM_*, WM_SETFOCUS, WM_GETDLGCODE, ...) into
// overridable operations whose defaults hand the message back to the
// platform unchanged; a hint colour per control, mouse enter and leave with
// MouseOver, dialog codes as flags, background painting through a canvas
// and an optional two-ring highlight frame.  The free routines are shared
// with the data-aware grid base and the form base.
//
// The one rule: an override that wants the platform's behaviour calls the
// base operation; one that does not call it swallows the message.
//
//   class TMyList : public dbgrids::TUxExCustomControl {
//       void DoFocusReceived(gui::HWND previous) override { TUxExCustomControl::DoFocusReceived(previous); Refresh(); }
//       void AdjustDialogCodes(dbgrids::TDialogCodeFlags& c) override { c += dbgrids::TDialogCodeFlag::dcfWantArrows; c -= dbgrids::TDialogCodeFlag::dcfNative; }
//   };
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

namespace dbgrids {

using gui::TMessage;

// The base exception of the component library.
class EUXLException : public rtl::Exception {
public:
    using Exception::Exception;
};

enum class TDialogCodeFlag { dcfWantAllKeys, dcfWantArrows, dcfWantChars, dcfButton, dcfHasSetSel, dcfWantTab, dcfNative };
using TDialogCodeFlags = rtl::Set<TDialogCodeFlag, 8>;

// The subclassing-denial query: no class here denies it, so it answers 0.
constexpr uint32_t CM_DENYSUBCLASSING = 0xB7D0;
constexpr gui::TColor kHighlightColor = 0x00733800;
constexpr gui::TColor kHighlightGrey = 0x00808080;

// Marker of the extended controls (nothing queries it).
class IUxExtendedControl {
public:
    virtual ~IUxExtendedControl() = default;
};

void RegisterUxCursors();  // dbgrids/UxGraphics.h

// The extension layer over a platform base class (a control, a form, the
// data-aware grid): the window procedure and the operations below.
template <class Base>
class TUxExtended : public Base, public IUxExtendedControl {
public:
    explicit TUxExtended(rtl::TComponent* owner) : Base(owner) { RegisterUxCursors(); }

    void WndProc(TMessage& message) override;

    bool DotNetHighlighting() const { return FDotNetHighlighting; }
    void SetDotNetHighlighting(bool value);
    gui::TColor HintColor() const { return FHintColor; }
    void SetHintColor(gui::TColor c) { FHintColor = c; }
    const rtl::TClassInfo* HintWindowClass() const { return FHintWindowClass; }
    void SetHintWindowClass(const rtl::TClassInfo* c) { FHintWindowClass = c; }
    bool MouseOver() const { return FMouseOver; }

    rtl::TNotifyEvent OnMouseEnter;
    rtl::TNotifyEvent OnMouseLeave;
    rtl::TNotifyEvent OnParentColorChanged;

protected:
    virtual void DoTextChange();
    virtual bool WantsDialogChar(uint16_t key, gui::TShiftState shift, const std::string& keyText);
    virtual bool IsHit(int x, int y);
    virtual void DoBoundsChange() {}
    virtual void AdjustDialogCodes(TDialogCodeFlags&) {}
    virtual void DoFocusReceived(gui::HWND previousWindow);
    virtual void DoFocusLost(gui::HWND nextWindow);
    virtual bool DoPaintBackground(gui::TCanvas* canvas, gui::LPARAM param);

    virtual void DoFocusChange(gui::TControl* focusedControl);
    virtual void DoVisibleChange();
    virtual void DoEnabledChange();
    virtual void DoColorChange();
    virtual void DoFontChange();
    virtual void DoParentFontChange();
    virtual void DoParentColorChange();
    virtual void DoParentShowHintChange();
    virtual bool DoPrepareHint(gui::THintInfo& hintInfo);
    virtual void DoMouseEnter(gui::TControl* control);
    virtual void DoMouseLeave(gui::TControl* control);
    virtual void DoCursorChange();
    virtual void DoShowingChange();
    virtual void DoShowHintChange();
    virtual void DoChildListChanging(gui::TControl* child, bool inserting);
    virtual void DoChildListChanged(gui::TControl* child, bool inserting);

    // Hands a message to the platform's window procedure (not to this one).
    gui::LRESULT InheritedMessage(uint32_t msg, gui::WPARAM wParam = 0, gui::LPARAM lParam = 0);

private:
    gui::TColor FHintColor = gui::clDefault;
    bool FMouseOver = false;
    const rtl::TClassInfo* FHintWindowClass = nullptr;
    bool FDotNetHighlighting = false;
};

class TUxExCustomControl : public TUxExtended<gui::TCustomControl> {
public:
    using TUxExtended::TUxExtended;
};

// --- shared free routines ----------------------------------------------------

// No designer exists here: always false.
bool IsDesignerMessage(gui::TControl* control, TMessage& message);
// clNone: the application's hint colour; clDefault: the parent's answer to
// CM_HINTSHOW (unchanged without a control or parent); else the colour.
void ResolveHintColor(gui::THintInfo& hintInfo, gui::TControl* control, gui::TColor color);
// After WM_SETFOCUS, WM_KILLFOCUS, WM_NCPAINT, CM_MOUSEENTER and
// CM_MOUSELEAVE: WM_NCPAINT (its canvas in WParam) draws the frame on the
// control's edge pixels; the others ask for that repaint, and CM_MOUSELEAVE
// invalidates the ring.
void HighlightOnMessage(gui::TWinControl* control, TMessage& message, bool mouseOver, gui::TColor color);
// The two rings: dark blue both when highlighted, else a grey outer ring
// and an inner ring in color.
void DrawHighlightFrameRect(gui::TCanvas* canvas, gui::TRect rect, gui::TColor color, bool highlighted);
TMessage MakeMessage(uint32_t msg, gui::WPARAM wParam, gui::LPARAM lParam);
int32_t SmallPointAsLong(gui::TPoint p);
uint32_t ShiftToKeyFlags(gui::TShiftState shift);
TDialogCodeFlags DialogCodesFromDlgc(uint32_t code);
uint32_t DialogCodesToDlgc(TDialogCodeFlags flags);
// Adds only csNeedsBorderPaint and csParentBackground of style.
void AddThemeStyleFlags(gui::TControl* control, gui::TControlStyle style);

namespace ux_detail {
// The canvas's pen, brush and font, put back on every path.
class TSavedCanvasState {
public:
    explicit TSavedCanvasState(gui::TCanvas* c) : FCanvas(c)
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
    gui::TCanvas* FCanvas;
    gui::TPen FPen;
    gui::TBrush FBrush;
    gui::TFont FFont;
};

} // namespace ux_detail


// ---------------------------------------------------------- template code

template <class Base>
void TUxExtended<Base>::SetDotNetHighlighting(bool value)
{
    if (FDotNetHighlighting == value) return;
    FDotNetHighlighting = value;
    // The frame is drawn over the painted window, on its edge pixels.
    this->SetNonClientPaint(value);
}

template <class Base>
gui::LRESULT TUxExtended<Base>::InheritedMessage(uint32_t msg, gui::WPARAM wParam, gui::LPARAM lParam)
{
    TMessage m = MakeMessage(msg, wParam, lParam);
    Base::WndProc(m);
    return m.Result;
}

template <class Base>
void TUxExtended<Base>::WndProc(TMessage& m)
{
    if (IsDesignerMessage(this, m)) return;
    switch (m.Msg) {
    case gui::WM_MOVE:
    case gui::WM_SIZE:
        Base::WndProc(m);
        DoBoundsChange();
        break;
    case gui::WM_SETFOCUS: DoFocusReceived(static_cast<gui::HWND>(m.WParam)); break;
    case gui::WM_KILLFOCUS: DoFocusLost(static_cast<gui::HWND>(m.WParam)); break;
    case gui::WM_ERASEBKGND:
        if (m.WParam == 0) {
            Base::WndProc(m);
        } else {
            // The platform hands the window's canvas itself; its state is
            // restored whatever the override does.
            auto* canvas = reinterpret_cast<gui::TCanvas*>(m.WParam);
            ux_detail::TSavedCanvasState saved(canvas);
            m.Result = DoPaintBackground(canvas, m.LParam) ? 1 : 0;
        }
        break;
    case gui::WM_GETDLGCODE: {
        Base::WndProc(m);
        TDialogCodeFlags codes = DialogCodesFromDlgc(static_cast<uint32_t>(m.Result));
        codes += TDialogCodeFlag::dcfNative;
        AdjustDialogCodes(codes);
        if (!codes.Contains(TDialogCodeFlag::dcfNative)) m.Result = DialogCodesToDlgc(codes);
        break;
    }
    case gui::CM_DIALOGCHAR: {
        uint16_t key = static_cast<uint16_t>(m.WParam & 0xFFFF);
        std::string text(1, static_cast<char>(key));
        m.Result = WantsDialogChar(key, gui::KeyDataToShiftState(m.LParam), text) ? 1 : 0;
        break;
    }
    case gui::CM_FOCUSCHANGED: DoFocusChange(reinterpret_cast<gui::TControl*>(m.LParam)); break;
    case gui::CM_PARENTFONTCHANGED: DoParentFontChange(); break;
    case gui::CM_PARENTCOLORCHANGED: DoParentColorChange(); break;
    case gui::CM_VISIBLECHANGED: DoVisibleChange(); break;
    case gui::CM_ENABLEDCHANGED: DoEnabledChange(); break;
    case gui::CM_COLORCHANGED: DoColorChange(); break;
    case gui::CM_FONTCHANGED: DoFontChange(); break;
    case gui::CM_CURSORCHANGED: DoCursorChange(); break;
    case gui::CM_TEXTCHANGED: DoTextChange(); break;
    case gui::CM_SHOWINGCHANGED: DoShowingChange(); break;
    case gui::CM_SHOWHINTCHANGED: DoShowHintChange(); break;
    case gui::CM_PARENTSHOWHINTCHANGED: DoParentShowHintChange(); break;
    case gui::CM_HITTEST: m.Result = IsHit(gui::GET_X_LPARAM(m.LParam), gui::GET_Y_LPARAM(m.LParam)) ? 1 : 0; break;
    case gui::CM_MOUSEENTER: DoMouseEnter(reinterpret_cast<gui::TControl*>(m.LParam)); break;
    case gui::CM_MOUSELEAVE: DoMouseLeave(reinterpret_cast<gui::TControl*>(m.LParam)); break;
    case gui::CM_CONTROLLISTCHANGE:
        if (m.LParam != 0) DoChildListChanging(reinterpret_cast<gui::TControl*>(m.WParam), true);
        else DoChildListChanged(reinterpret_cast<gui::TControl*>(m.WParam), false);
        break;
    case gui::CM_CONTROLCHANGE:
        if (m.LParam == 0) DoChildListChanging(reinterpret_cast<gui::TControl*>(m.WParam), false);
        else DoChildListChanged(reinterpret_cast<gui::TControl*>(m.WParam), true);
        break;
    case gui::CM_HINTSHOW: m.Result = DoPrepareHint(*reinterpret_cast<gui::THintInfo*>(m.LParam)) ? 1 : 0; break;
    case CM_DENYSUBCLASSING: m.Result = 0; break;
    default: Base::WndProc(m); break;
    }
    switch (m.Msg) {
    case gui::WM_SETFOCUS:
    case gui::WM_KILLFOCUS:
    case gui::WM_NCPAINT:
    case gui::CM_MOUSEENTER:
    case gui::CM_MOUSELEAVE:
        if (FDotNetHighlighting) HighlightOnMessage(this, m, FMouseOver, this->Color());
        break;
    default: break;
    }
}

template <class Base>
void TUxExtended<Base>::DoTextChange() { InheritedMessage(gui::CM_TEXTCHANGED); }
template <class Base>
void TUxExtended<Base>::DoFontChange() { InheritedMessage(gui::CM_FONTCHANGED); }
template <class Base>
void TUxExtended<Base>::DoColorChange() { InheritedMessage(gui::CM_COLORCHANGED); }
template <class Base>
void TUxExtended<Base>::DoParentFontChange() { InheritedMessage(gui::CM_PARENTFONTCHANGED); }

template <class Base>
void TUxExtended<Base>::DoParentColorChange()
{
    InheritedMessage(gui::CM_PARENTCOLORCHANGED);
    if (OnParentColorChanged) OnParentColorChanged(this);
}

template <class Base>
void TUxExtended<Base>::DoParentShowHintChange() { InheritedMessage(gui::CM_PARENTSHOWHINTCHANGED); }
template <class Base>
void TUxExtended<Base>::DoVisibleChange() { InheritedMessage(gui::CM_VISIBLECHANGED); }
template <class Base>
void TUxExtended<Base>::DoEnabledChange() { InheritedMessage(gui::CM_ENABLEDCHANGED); }
template <class Base>
void TUxExtended<Base>::DoCursorChange() { InheritedMessage(gui::CM_CURSORCHANGED); }
template <class Base>
void TUxExtended<Base>::DoShowingChange() { InheritedMessage(gui::CM_SHOWINGCHANGED); }
template <class Base>
void TUxExtended<Base>::DoShowHintChange() { InheritedMessage(gui::CM_SHOWHINTCHANGED); }

template <class Base>
void TUxExtended<Base>::DoFocusChange(gui::TControl* focusedControl)
{
    InheritedMessage(gui::CM_FOCUSCHANGED, 0, reinterpret_cast<gui::LPARAM>(focusedControl));
}

template <class Base>
void TUxExtended<Base>::DoMouseEnter(gui::TControl* control)
{
    FMouseOver = true;
    if (OnMouseEnter) OnMouseEnter(this);
    InheritedMessage(gui::CM_MOUSEENTER, 0, reinterpret_cast<gui::LPARAM>(control));
}

template <class Base>
void TUxExtended<Base>::DoMouseLeave(gui::TControl* control)
{
    FMouseOver = false;
    InheritedMessage(gui::CM_MOUSELEAVE, 0, reinterpret_cast<gui::LPARAM>(control));
    if (OnMouseLeave) OnMouseLeave(this);
}

template <class Base>
void TUxExtended<Base>::DoChildListChanging(gui::TControl* child, bool inserting)
{
    if (inserting) InheritedMessage(gui::CM_CONTROLLISTCHANGE, reinterpret_cast<gui::WPARAM>(child), 1);
    else InheritedMessage(gui::CM_CONTROLCHANGE, reinterpret_cast<gui::WPARAM>(child), 0);
}

template <class Base>
void TUxExtended<Base>::DoChildListChanged(gui::TControl* child, bool inserting)
{
    if (inserting) InheritedMessage(gui::CM_CONTROLCHANGE, reinterpret_cast<gui::WPARAM>(child), 1);
    else InheritedMessage(gui::CM_CONTROLLISTCHANGE, reinterpret_cast<gui::WPARAM>(child), 0);
}

template <class Base>
bool TUxExtended<Base>::WantsDialogChar(uint16_t key, gui::TShiftState shift, const std::string&)
{
    return InheritedMessage(gui::CM_DIALOGCHAR, key, static_cast<gui::LPARAM>(ShiftToKeyFlags(shift))) != 0;
}

template <class Base>
bool TUxExtended<Base>::IsHit(int x, int y)
{
    return InheritedMessage(gui::CM_HITTEST, 0, SmallPointAsLong({x, y})) != 0;
}

template <class Base>
bool TUxExtended<Base>::DoPrepareHint(gui::THintInfo& hintInfo)
{
    ResolveHintColor(hintInfo, this, FHintColor);
    if (FHintWindowClass) hintInfo.HintWindowClass = FHintWindowClass;
    return InheritedMessage(gui::CM_HINTSHOW, 0, reinterpret_cast<gui::LPARAM>(&hintInfo)) != 0;
}

template <class Base>
void TUxExtended<Base>::DoFocusReceived(gui::HWND previousWindow) { InheritedMessage(gui::WM_SETFOCUS, previousWindow); }
template <class Base>
void TUxExtended<Base>::DoFocusLost(gui::HWND nextWindow) { InheritedMessage(gui::WM_KILLFOCUS, nextWindow); }

template <class Base>
bool TUxExtended<Base>::DoPaintBackground(gui::TCanvas* canvas, gui::LPARAM param)
{
    return InheritedMessage(gui::WM_ERASEBKGND, reinterpret_cast<gui::WPARAM>(canvas), param) != 0;
}


} // namespace dbgrids
