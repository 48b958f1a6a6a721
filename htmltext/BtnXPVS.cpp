// The theme binding stand-in: nothing to load on this platform.

#include "htmltext/BtnXPVS.h"

namespace htmltext::BtnXPVS {

namespace {
bool gLoaded = false;
}

bool ThemeLibraryLoaded() { return gLoaded; }

void BindThemeLibrary()
{
    // No theme library exists here; the flag stays false and the controls
    // draw their classic and bitmap looks.
}

void ReleaseThemeLibrary() { gLoaded = false; }

bool IsThemeActive() { return gLoaded; }

} // namespace htmltext::BtnXPVS
