// A list box whose items carry a check box each.  Ticking an item (by the
// mouse, the space key or SetChecked) keeps its state with the item; a
// change by the user fires OnClickCheck.
//
// The one rule: the ticks follow the items by position; rewriting Items
// clears every tick.
//
//   gui::TCheckListBox list(form);
//   list.Items()->Add("CatNo");
//   list.SetChecked(0, true);
#pragma once

#include <vector>

#include "platform/gui/StdCtrls.h"

namespace gui {

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(rtl::TComponent* owner);

    bool Checked(int index) const;
    void SetChecked(int index, bool value);
    // Ticks the item as the user would: the state flips and OnClickCheck
    // fires.
    void ToggleByUser(int index);
    rtl::TNotifyEvent OnClickCheck;

    std::string ClassName() const override { return "TCheckListBox"; }

private:
    void ItemsRebuilt();
    bool FApplying = false;
};

} // namespace gui
