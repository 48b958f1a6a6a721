// Published-property descriptors of the platform's GUI classes: fonts,
// pens, brushes, canvas, graphics, the standard controls, forms, the
// common dialogs, data modules and the application object.  With them
// GetPropInfo / GetPropValue (TypInfo.h), the script bindings and the
// report serializer reach these properties and events by name.
//
// The rule a caller must know: the descriptors exist once
// DescribeGuiClasses has run; call it before the first lookup (later calls
// do nothing).
//
//     gui::DescribeGuiClasses();
//     rtl::SetPropValue(&button, "Caption", Variant("OK"));
#pragma once

namespace gui {

void DescribeGuiClasses();

} // namespace gui
