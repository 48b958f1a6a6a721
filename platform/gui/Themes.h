// The desktop's theme service: draws parts of controls (push buttons, check
// boxes, combo-box and spin buttons, window caption buttons) in the active
// visual style, the way the controls' themed look asks for them.  A control
// opens a theme for a class name, draws parts in states and closes it; the
// service may be switched off (the classic look) or be missing altogether,
// and controls ask IsThemeActive again at every paint.
//
// The service behaves like a library loaded at run time: LoadThemeLibrary
// gives a handle (0 when the service is not installed) and FindThemeProc the
// entry of a function by its name, so that bindings keep their own handles
// and function pointers.  Tests switch the service off, remove it, and set
// the colour-scheme name the active style reports.
//
//     HTHEME t = OpenThemeData(combo, "combobox");
//     DrawThemeBackground(t, *canvas, 1, 2 /* hot */, r, nullptr);
//     CloseThemeData(t);
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/Graphics.h"

namespace gui {

class TWinControl;

// A theme opened for a class name; 0 is none.
using HTHEME = std::uintptr_t;

// Opens the theme data of a class list ("button", "combobox", "spin",
// "window", "header"; several names separated by ";" take the first known
// one).  Header parts: 0 the root, 1 an item (states 1 normal, 2 hot, 3
// pressed).
// Returns 0 when no style is active or the style has no such class.
HTHEME OpenThemeData(const TWinControl* window, const std::string& classList);
// Draws the background of a part in a state into r of the canvas (logical
// coordinates), clipped to clip when given.  False for an invalid theme.
bool DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& r,
                         const TRect* clip);
bool CloseThemeData(HTHEME theme);
// Whether a visual style is active now.
bool IsThemeActive();
// The active style's file, colour-scheme and size names; false when no
// style is active.
bool GetCurrentThemeName(std::string& fileName, std::string& colorName, std::string& sizeName);

// ---- the service as a run-time library
using HTHEMELIB = std::uintptr_t;
using ThemeProc = void (*)();
// A handle of the service (each call its own), or 0 when it is not installed.
HTHEMELIB LoadThemeLibrary();
void FreeThemeLibrary(HTHEMELIB library);
// The function of that name ("OpenThemeData", "CloseThemeData",
// "DrawThemeBackground", "IsThemeActive", "GetCurrentThemeName"), or
// nullptr for an unknown name or an invalid handle.  Cast it to the
// matching pointer type below.
ThemeProc FindThemeProc(HTHEMELIB library, const std::string& name);
using PFNOpenThemeData = HTHEME (*)(const TWinControl*, const std::string&);
using PFNCloseThemeData = bool (*)(HTHEME);
using PFNDrawThemeBackground = bool (*)(HTHEME, TCanvas&, int, int, const TRect&, const TRect*);
using PFNIsThemeActive = bool (*)();
using PFNGetCurrentThemeName = bool (*)(std::string&, std::string&, std::string&);
// Handles of the service currently held.
int ThemeLibraryRefCount();

// ---- switches for tests (and for a desktop without styles); a change of
// the active state or of the colour scheme sends WM_THEMECHANGED to every window
// Whether the service is installed at all (LoadThemeLibrary fails when not).
void SetThemeServiceInstalled(bool installed);
// Whether a visual style is active.
void SetThemeActive(bool active);
// The colour-scheme name the active style reports ("NormalColor" by default).
void SetThemeColorScheme(const std::string& name);
// Installed, active, "NormalColor".
void ResetThemeService();

} // namespace gui
