// Helpers of the grids and the storage: words of a text, the storage name
// of a component, the form a control sits on.
//
// The one rule: word positions are 1-based and 0 means "no such word".
//
//   dbgrids::NthWord(3, "10,20, 30,40", {',', ' '});       // "30"
//   dbgrids::ComponentStorageName(grid);                   // "TMainFormGrid1"
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/Forms.h"

namespace dbgrids {

int NthWordStart(int n, std::string_view s, std::string_view delims);
std::string NthWord(int n, std::string_view s, std::string_view delims);
// The control itself when it is a form, else the first form among its
// parents; nullptr when none.
gui::TCustomForm* ParentFormOf(gui::TControl* control);
// nil: ""; a form: its class name; a control: its form's class name (or
// its parent's name) followed directly by its name; another component: its
// name, as "<owner form class>.<name>" when its owner is a form.
std::string ComponentStorageName(rtl::TComponent* component);

} // namespace dbgrids
