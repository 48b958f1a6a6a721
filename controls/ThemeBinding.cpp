// The theme binding over the platform's theme service.

#include "controls/ThemeBinding.h"

#include "platform/rtl/Exceptions.h"
#include "platform/sys/SystemInfo.h"

namespace controls {

void TThemeBinding::Clear()
{
    OpenThemeData = nullptr;
    CloseThemeData = nullptr;
    DrawThemeBackground = nullptr;
    IsThemeActive = nullptr;
}

void TThemeBinding::Load()
{
    if (FLoaded) return;
    FLibrary = gui::LoadThemeLibrary();
    if (!FLibrary) return;
    auto resolve = [this](const char* name) {
        gui::ThemeProc p = gui::FindThemeProc(FLibrary, name);
        if (!p) {
            Clear();
            gui::FreeThemeLibrary(FLibrary);
            FLibrary = 0;
            throw rtl::Exception("Theme binding " + FUnitName + ": function " + name + " not found");
        }
        return p;
    };
    OpenThemeData = reinterpret_cast<gui::PFNOpenThemeData>(resolve("OpenThemeData"));
    CloseThemeData = reinterpret_cast<gui::PFNCloseThemeData>(resolve("CloseThemeData"));
    DrawThemeBackground = reinterpret_cast<gui::PFNDrawThemeBackground>(resolve("DrawThemeBackground"));
    IsThemeActive = reinterpret_cast<gui::PFNIsThemeActive>(resolve("IsThemeActive"));
    FLoaded = true;
}

void TThemeBinding::Free()
{
    if (!FLoaded) return;
    gui::FreeThemeLibrary(FLibrary);
    FLibrary = 0;
    FLoaded = false;
    Clear();
}

namespace {
TThemeBinding& Instance(TThemeBinding& b)
{
    b.Load();
    return b;
}
} // namespace

TThemeBinding& APXPVS()
{
    static TThemeBinding b("APXPVS");
    return Instance(b);
}
TThemeBinding& ExXPVS()
{
    static TThemeBinding b("ExXPVS");
    return Instance(b);
}
TThemeBinding& ALXPVS()
{
    static TThemeBinding b("ALXPVS");
    return Instance(b);
}
TThemeBinding& ACXPVS()
{
    static TThemeBinding b("ACXPVS");
    return Instance(b);
}
TThemeBinding& AEBXPVS()
{
    static TThemeBinding b("AEBXPVS");
    return Instance(b);
}

bool IsXPOrLater() { return sys::SystemInfo().IsXPOrLater(); }

int CurrentXPColorScheme()
{
    if (!IsXPOrLater()) return 0;
    const gui::HTHEMELIB lib = gui::LoadThemeLibrary();
    if (!lib) return 0;
    int result = 0;
    auto active = reinterpret_cast<gui::PFNIsThemeActive>(gui::FindThemeProc(lib, "IsThemeActive"));
    auto name = reinterpret_cast<gui::PFNGetCurrentThemeName>(gui::FindThemeProc(lib, "GetCurrentThemeName"));
    if (active && active() && name) {
        std::string file, color, size;
        if (name(file, color, size)) {
            if (color == "NormalColor") result = 1;
            else if (color == "HomeStead") result = 2;
            else if (color == "Metallic") result = 3;
        }
    }
    gui::FreeThemeLibrary(lib);
    return result;
}

} // namespace controls
