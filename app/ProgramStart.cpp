#include "app/ProgramStart.h"

#include <thread>

#include "app/AppMessages.h"
#include "app/CatalogueDlgs.h"
#include "app/LocationLEEclipsesDlgs.h"
#include "app/LocationSEEclipsesDlgs.h"
#include "app/LocationsDlgs.h"
#include "app/SettingsDlgs.h"
#include "app/PathToTEDlgs.h"
#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "app/SplashScreens.h"
#include "gridio/GridIOHooks.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/PngImage.h"
#include "reportout/qlrPrinter.h"

namespace app {

TProgramWindows StartProgram(const std::vector<std::string>& arguments, std::chrono::milliseconds splashPause)
{
    // Before the first grid: the string grids reach their file and
    // clipboard operations through these hooks.
    gridio::InstallGridIOHooks();
    // The report engine prints, previews and shows progress through these.
    qlr::RegisterReportOutput();
    gui::Application->SetMainFormOnTaskBar(true);
    gui::Application->SetTitle(ApplicationTitle);
    {
        gui::TPngImage icon;
        icon.LoadFromResourceName(ProgramIconResource);
        gui::SetProgramIcon(icon);
    }
    PathsQuestion = [](const std::string& text, const std::string& caption) {
        return gui::MessageDlgCaptions(text, caption, gui::TMsgDlgType::mtCustom, gui::mbYesNo(), {}) == gui::mrYes;
    };
    PathsErrorMessage = [](const std::string& text, const std::string& caption) {
        gui::MessageDlgCaptions(text, caption, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK}, {});
    };
    AppNotice = [](const std::string& text) { gui::ShowMessage(text); };

    const auto shown = std::chrono::steady_clock::now();
    auto* splash = new TSplashScreen(nullptr);
    splash->Show();
    splash->Update();
    gui::Application->ProcessMessages();

    TProgramWindows w;
    gui::Application->CreateForm(w.Main);
    if (!arguments.empty()) w.Main->OpenCommandLineDocument(arguments.front());
    gui::Application->CreateForm(w.Catalogue);
    w.Main->CatalogueDlg = w.Catalogue;
    gui::Application->CreateForm(w.Settings);
    w.Main->SettingsDlg = w.Settings;
    gui::Application->CreateForm(w.PathToTE);
    w.PathToTE->SetAutoDetectPathToTE(w.Main->AutoDetectPathToTE());
    w.PathToTE->SetTEInstallationPath(TEPath);
    // The locations database: a file that cannot be read leaves it empty
    // and unwritten, it does not stop the start.
    gui::Application->CreateForm(w.Locations);
    w.Main->LocationsDlg = w.Locations;
    // The eclipses of one location: a missing catalogue leaves them
    // unusable, it does not stop the start.
    gui::Application->CreateForm(w.LunarEclipses);
    w.Main->LocationLEEclipsesDlg = w.LunarEclipses;
    gui::Application->CreateForm(w.SolarEclipses);
    w.Main->LocationSEEclipsesDlg = w.SolarEclipses;

    const auto elapsed = std::chrono::steady_clock::now() - shown;
    if (elapsed < splashPause) std::this_thread::sleep_for(splashPause - elapsed);
    delete splash;
    return w;
}

void EndProgram(TProgramWindows& w)
{
    for (gui::TForm* f : std::initializer_list<gui::TForm*>{w.SolarEclipses, w.LunarEclipses, w.Locations, w.PathToTE, w.Catalogue, w.Main}) {
        if (!f) continue;
        f->BeforeDestruction();
        delete f;
    }
    w = {};
}

} // namespace app
