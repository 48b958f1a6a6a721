// Binding of the desktop's theme service for the markup buttons.  This
// platform has no theme library: the binding never loads, IsThemeActive
// answers false, and every themed look falls back to its drawn or bitmap
// variant.
#pragma once

namespace htmltext::BtnXPVS {

// True once the theme library was loaded (never on this platform).
bool ThemeLibraryLoaded();
// Loads the library and binds its functions; does nothing when loaded.
void BindThemeLibrary();
void ReleaseThemeLibrary();
// Whether a visual theme is active (false without the library).
bool IsThemeActive();

} // namespace htmltext::BtnXPVS
