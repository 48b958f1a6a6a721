// The binding modules of the whole class library, registered in their
// order: settings files, base classes, dialogs, graphics, controls and
// forms.  Programs created (or given AddRTTI) afterwards see them all.
//
// The rule a caller must know: registration is global and once; call
// qsRegisterBindingModules at start-up, before the first program adds its
// modules, and qsUnregisterBindingModules at shut-down if at all.
//
//     qs::qsRegisterBindingModules();
//     qs::TqsScript script;  script.AddRTTI();
#pragma once

namespace qs {

void qsRegisterBindingModules();
void qsUnregisterBindingModules();

} // namespace qs
