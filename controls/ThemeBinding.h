// Styled controls (subsystem 5): builds on platform/gui and platform/sys
// only; the grid family (gridbase/) uses its theme binding too.
//
// The theme-library binding the styled controls share: each control family
// holds its own instance (APXPVS the caption panel, ExXPVS the grid family,
// ALXPVS unused, ACXPVS the combo box and colour selectors, AEBXPVS the
// edit button), loaded once from the desktop's theme service at first use.
// A failed load leaves every function pointer empty and the family draws
// its classic look; a loaded binding still asks IsThemeActive at every
// paint, since a style can be switched off while the program runs.
//
//     TThemeBinding& b = ACXPVS();
//     if (b.Loaded() && b.IsThemeActive()) {
//         HTHEME t = b.OpenThemeData(combo, "combobox");
//         b.DrawThemeBackground(t, *canvas, 1, state, r, nullptr);
//         b.CloseThemeData(t);
//     }
#pragma once

#include <string>

#include "platform/gui/Themes.h"

namespace controls {

class TThemeBinding {
public:
    // unitName names the instance in the error of a failed resolution.
    explicit TThemeBinding(std::string unitName) : FUnitName(std::move(unitName)) {}
    ~TThemeBinding() { Free(); }
    TThemeBinding(const TThemeBinding&) = delete;
    TThemeBinding& operator=(const TThemeBinding&) = delete;

    // Loads the service and resolves the functions; nothing when loaded.  A
    // missing service leaves the binding unloaded without error; a missing
    // function raises rtl::Exception naming the unit and the function, and
    // leaves the binding unloaded with every pointer empty.
    void Load();
    void Free();
    bool Loaded() const { return FLoaded; }
    const std::string& UnitName() const { return FUnitName; }

    // The resolved functions; nullptr while not loaded.
    gui::PFNOpenThemeData OpenThemeData = nullptr;
    gui::PFNCloseThemeData CloseThemeData = nullptr;
    gui::PFNDrawThemeBackground DrawThemeBackground = nullptr;
    gui::PFNIsThemeActive IsThemeActive = nullptr;

    // Loaded and the service reports an active style (asked anew each call).
    bool ThemeActive() const { return FLoaded && IsThemeActive && IsThemeActive(); }

private:
    void Clear();
    std::string FUnitName;
    gui::HTHEMELIB FLibrary = 0;
    bool FLoaded = false;
};

// The five instances, each loaded at its first use.
TThemeBinding& APXPVS();
TThemeBinding& ExXPVS();
TThemeBinding& ALXPVS();
TThemeBinding& ACXPVS();
TThemeBinding& AEBXPVS();

// Windows XP or later by the system's version numbers.
bool IsXPOrLater();
// The colour scheme of the active style: 1 "NormalColor" (blue), 2
// "HomeStead" (olive), 3 "Metallic" (silver), 0 any other name, no active
// style, or no service.  Loads and frees the service itself.
int CurrentXPColorScheme();

} // namespace controls
