// The program's start-up after the folders are set and the application
// object is initialised: the splash window, the windows that live for the
// whole run, and the document named on the command line.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace app {

class TSEMainForm;
class TCatalogueDlg;
class TSettingsDlg;
class TPathToTEDlg;
class TLocationsDlg;
class TLocationSEEclipsesDlg;
class TLocationLEEclipsesDlg;

struct TProgramWindows {
    TSEMainForm* Main = nullptr;
    TCatalogueDlg* Catalogue = nullptr;
    TSettingsDlg* Settings = nullptr;
    TPathToTEDlg* PathToTE = nullptr;
    TLocationsDlg* Locations = nullptr;
    TLocationLEEclipsesDlg* LunarEclipses = nullptr;
    TLocationSEEclipsesDlg* SolarEclipses = nullptr;
};

// The splash pause: the splash window stays at least this long.
inline constexpr std::chrono::milliseconds SplashPause{1000};

// Sets the application's title and message hooks, shows the splash window,
// creates the main window (which reads the configuration), opens the
// document of the first argument when there is one, creates the catalogue
// and sibling-installation dialogs, and frees the splash once it has been
// shown for splashPause.  The windows are created while the splash shows,
// so the pause only stretches a start-up that is quicker than it.
TProgramWindows StartProgram(const std::vector<std::string>& arguments,
                             std::chrono::milliseconds splashPause = SplashPause);

// Frees the windows in the reverse order of their creation once the
// message loop has ended; the main window writes the configuration.
void EndProgram(TProgramWindows& windows);

} // namespace app
