// TCustomGroupBox: a group box drawn by the program, so that descendants
// can replace its frame (Paint) and the area left for its children
// (AdjustClientRect).  The default draws an etched frame with the caption
// at the top left.
//
// The rule a caller must know: children are placed in the rectangle
// AdjustClientRect leaves; call Realign after a change that moves it.
//
//     class TMyBox : public gui::TCustomGroupBox {
//         void Paint() override { ... }
//         void AdjustClientRect(gui::TRect& r) override { ... }
//     };
#pragma once

#include "platform/gui/Controls.h"

namespace gui {

class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(rtl::TComponent* owner);
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;
};

} // namespace gui
