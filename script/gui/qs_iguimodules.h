// The binding modules of the whole class library, registered in their
// order: settings files, base classes, dialogs, graphics, controls and
// forms.  Programs created (or given AddRTTI) afterwards see them all.
// This folder builds on the interpreter core (script/) and platform/gui;
// the core never includes it, so it stays free of the GUI.
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
