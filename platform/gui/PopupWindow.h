// TPopupWindow: a top-most window with a one-pixel frame that shows
// beside a control without taking the focus (type-ahead lists, drop-down
// panels).  It hides itself on a mouse press outside it and when the focus
// moves to a window that is not inside it; OnHide tells the owner.
//
// The rule a caller must know: its bounds are screen coordinates, and it
// has no parent; put its content in it as children (aligned to the client).
//
//     auto* p = new gui::TPopupWindow(edit);
//     auto* list = new gui::TListBox(p);
//     list->SetParent(p);
//     list->SetAlign(gui::TAlign::alClient);
//     p->SetBounds(screenX, screenY, 120, 52);
//     p->Show();
#pragma once

#include <memory>

#include "platform/gui/Controls.h"

namespace gui {

class TPopupWindow : public TCustomControl {
public:
    explicit TPopupWindow(rtl::TComponent* owner);
    ~TPopupWindow() override;
    void SetVisible(bool visible) override;
    TPoint ClientOrigin() const override;
    void AdjustClientRect(TRect& rect) override;
    rtl::TNotifyEvent OnHide;

protected:
    void Paint() override;

private:
    struct Watch;
    std::unique_ptr<Watch> FWatch;
};

} // namespace gui
