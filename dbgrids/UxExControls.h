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

class TUxExCustomControl : public gui::TCustomControl, public IUxExtendedControl {
public:
    explicit TUxExCustomControl(rtl::TComponent* owner);

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
    gui::TColor FHintColor;
    bool FMouseOver = false;
    const rtl::TClassInfo* FHintWindowClass = nullptr;
    bool FDotNetHighlighting = false;
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

} // namespace dbgrids
