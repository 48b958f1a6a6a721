// The form bases: TUxExForm carries the control message extensions over the
// platform form (and keyboard cues: UI-state changes on showing and on Tab,
// arrows and Alt); TUxForm adds a form that can be shown, or kept, without
// taking the focus.
//
// The one rule: a TUxForm with IsFocusable off is shown with
// ShowNoActivate, and clicking it does not activate it either.
//
//   auto* tip = new dbgrids::TUxForm(nullptr);
//   tip->SetIsFocusable(false);
//   tip->ShowNoActivate(false);    // the active form keeps the focus
#pragma once

#include "dbgrids/UxExControls.h"
#include "platform/gui/Forms.h"

namespace dbgrids {

constexpr uint16_t UIS_SET = 1, UIS_CLEAR = 2, UIS_INITIALIZE = 3;
constexpr uint16_t UISF_HIDEFOCUS = 1, UISF_HIDEACCEL = 2;
constexpr gui::LRESULT MA_NOACTIVATE = 3;

class TUxExForm : public TUxExtended<gui::TForm> {
public:
    explicit TUxExForm(rtl::TComponent* owner) : TUxExtended(owner) {}
    void WndProc(gui::TMessage& message) override;
};

class TUxForm : public TUxExForm {
public:
    explicit TUxForm(rtl::TComponent* owner) : TUxExForm(owner) {}
    bool IsFocusable() const { return FIsFocusable; }
    void SetIsFocusable(bool value) { FIsFocusable = value; }
    // callActivate runs the form's activation (OnActivate) first.
    void ShowNoActivate(bool callActivate);
    void WndProc(gui::TMessage& message) override;
    // Delivers the WM_ENABLE messages still queued before the modal loop.
    gui::TModalResult ShowModal() override;

private:
    bool FIsFocusable = true;
};

} // namespace dbgrids
