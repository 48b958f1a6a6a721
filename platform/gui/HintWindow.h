// HintWindow: THintWindow, the top-most window that shows a control's hint,
// and the hint window class a control may choose for its hints.  The
// application shows a hint in the class that THintInfo::HintWindowClass
// names (set by the control's CM_HINTSHOW handling); without one it uses
// its own tooltip.
//
// The rule a caller must know: ActivateHint takes a screen rectangle and
// shows the window there without taking the focus; a descendant measures
// its text in CalcHintRect and draws it in Paint.  Drop shadows are not
// drawn on this system (DropShadow only records the wish).
//
//   struct TMyHint : gui::THintWindow { ... };      // RTL_CLASS'd
//   info.HintWindowClass = &TMyHint::StaticClassInfo();   // in CMHintShow
#pragma once

#include <string>

#include "platform/gui/Controls.h"
#include "platform/rtl/TypInfo.h"

namespace gui {

struct THintInfo;

class THintWindow : public TCustomControl {
    RTL_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(rtl::TComponent* owner);
    ~THintWindow() override;

    const std::string& Caption() const { return FCaption; }
    // A changed caption calls TextChanged.
    void SetCaption(const std::string& v);
    bool DropShadow() const { return FDropShadow; }
    void SetDropShadow(bool v) { FDropShadow = v; }

    // The rectangle (0, 0, width, height) the hint needs, at most maxWidth wide.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Shows the hint in the screen rectangle, top-most, not activated.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    void ReleaseHandle();

protected:
    void Paint() override;
    virtual void TextChanged() { Invalidate(); }

private:
    std::string FCaption;
    bool FDropShadow = false;
};

// The application-wide hint window class: every hint starts in it before
// its control may choose another (nullptr: the application's own tooltip).
const rtl::TClassInfo* HintWindowClass();
void SetHintWindowClass(const rtl::TClassInfo* cls);

// Shows info's hint in a window of info.HintWindowClass (reused while the
// class stays the same); false when the class is none or no hint window.
bool ShowHintInWindow(const THintInfo& info);
// Hides the window that ShowHintInWindow showed.
void HideHintWindow();
// The window showing a hint now, nullptr when none.
THintWindow* ActiveHintWindow();

} // namespace gui
