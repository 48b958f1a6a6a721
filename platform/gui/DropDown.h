// TDropDownForm: a borderless, stay-on-top window that drops down from a
// control (a selector's palette, a lookup list).  Showing it leaves the
// owner's form active; while it shows, a mouse press anywhere outside it,
// or the program losing the activation, sends it WM_ACTIVATE with
// WA_INACTIVE, which is where a drop-down closes itself.
//
// The rule a caller must know: the WA_INACTIVE of an outside press arrives
// before the press reaches the control under the mouse, so a press on the
// drop-down's own button sees it already hidden.
//
//     class TMyDropDown : public gui::TDropDownForm {
//         void Dispatch(gui::TMessage& m) override {
//             if (m.Msg == gui::WM_ACTIVATE && m.WParamLo() == gui::WA_INACTIVE) Hide();
//             gui::TDropDownForm::Dispatch(m);
//         }
//     };
#pragma once

#include <memory>

#include "platform/gui/Forms.h"

namespace gui {

class TDropDownForm : public TCustomForm {
public:
    explicit TDropDownForm(rtl::TComponent* owner);
    ~TDropDownForm() override;
    void SetVisible(bool visible) override;
    // The top-level form of a control (the window that keeps its active
    // look while the drop-down shows), or nullptr.
    static TCustomForm* TopForm(const TControl* control);

    struct Watch;

private:
    std::unique_ptr<Watch> FWatch;
};

} // namespace gui
