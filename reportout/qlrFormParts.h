// Building the report dialogs' forms in code: a control created with its
// owner, placed on its parent at the given bounds.
//
//     auto* ok = qlr::MakeControl<gui::TButton>(form, form, 10, 10, 75, 25);
#pragma once

#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"

namespace qlr {

template <class T>
T* MakeControl(rtl::TComponent* owner, gui::TWinControl* parent, int l, int t, int w, int h)
{
    T* c = new T(owner);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

} // namespace qlr
