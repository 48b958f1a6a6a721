// The main window's configuration ("tec.ini" in UserAppDataPath) and its
// documents ("*.sec"): one XML format, root "TSEC", every value a child
// element.  The configuration adds the node "Configuration" (window layout
// and the sibling program's installation).
//
// The main window hands its state over as a TSettings record; ReadSettings
// fills that record from a file and WriteSettings stores it.  Values the
// file does not hold take the defaults of the format, except the colours
// (and, in older files, the lunar settings), which keep the values the
// record held on entry.  The main window applies the record through its
// setters afterwards (a value a setter refuses leaves its field as it was).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/MapData.h"

namespace app {

class TObserverDataList;

struct TScrollInfo {
    int32_t X = 0;
    int32_t Y = 0;
    bool HasScrollInfo = false;
};

// The window layout and sibling installation of the configuration file.
struct TConfigurationSettings {
    bool Modified = false;
    bool ObserverDlgExpanded = true;
    int32_t FormTop = 10;
    int32_t FormLeft = 10;
    int32_t FormWidth = 800;
    int32_t FormHeight = 700;
    int32_t FormWindowState = 2;  // 0 normal, 1 minimised, 2 maximised
    int32_t LocationsPanelTop = 100;
    int32_t LocationsPanelLeft = 100;
    int32_t LocationsPanelWidth = 500;
    int32_t LocationsPanelHeight = 300;
    bool LocationsPanelVisible = false;
    int32_t ToolPanelTop = 50;
    int32_t ToolPanelLeft = 10;
    bool ToolPanelVisible = true;     // written as ToolPanel/Visible
    bool ToolPanelCollapsed = false;  // read from ToolPanel/Collapsed
    bool AutoDetectPathToTE = true;
};

struct TSettings {
    // Delta T: the user table's file name (no folder) and the internal
    // table switch.
    std::string DeltaTTableFile;
    bool UseInternalDeltaTTable = true;
    TMapData MapData = GeneralMapData;
    int32_t TimeShiftMode = 1;  // 0 UT, 1 mean local time, 2 standard zone
    double CEMScale = 0.25;
    double CEMWidth = 0.01;
    int32_t CEMLabelScale = 30;
    int32_t CEMLabelOffset = 15;
    int32_t CEMLabelSize = 9;
    int32_t CETScale = 60;
    double CETWidth = 0.25;
    int32_t CETLabelSize = 9;
    double VBLWidth = 0.08;
    std::array<int32_t, 7> LEShadingIntensity{40, 50, 60, 70, 80, 90, 100};
    bool LELongLabels = false;
    int32_t LELabelSize = 9;
    int32_t InfoPosition = 0;
    std::array<uint32_t, 14> Colors{};  // TColor values of the fourteen slots
    std::array<bool, 14> Flags{true, true, true, true, true, true, true,
                               true, true, true, true, true, true, true};
    bool GreyScaleMap = false;
    int32_t EventType = 0;  // 0 solar, 1 lunar
    int32_t SECatNo = 1;
    std::string SEDate;     // the catalogue's date text; written back as read while no catalogue is open
    int32_t LECatNo = 1;
    std::string LEDate;
    TScrollInfo ScrollInfo;
    TConfigurationSettings Configuration;
};

// The catalogue number of the lunar eclipse that older files show.
constexpr int32_t OlderFormatLunarCatNo = 9649;

// What a read found.
struct TSettingsReadResult {
    bool Ok = false;            // false: the file could not be read (status stError)
    bool FileMissing = false;   // the file did not exist
    bool TooNew = false;        // Major > 2: only the version was read
    int32_t Major = 0;
    int32_t Minor = 0;
    std::string Error;          // why reading failed
    std::vector<std::string> Notices;  // what the user has been told
    // Elements whose value lay outside the range the program allows
    // ("Settings/SE/CEM/CEMScale" ...): the record holds their defaults.
    std::vector<std::string> OutOfRange;
};

// The one status-bar line that names the elements a read replaced by their
// defaults; "" when there are none.
std::string OutOfRangeNotice(const std::vector<std::string>& elements);
// At most maxLength characters of text with every character that is not
// printable ASCII shown as "?", and "..." where it was cut.
std::string PrintableExcerpt(const std::string& text, std::size_t maxLength = 80);

// Loads a user delta-T table by its file name (no folder); raises
// rtl::Exception with the loader's message when it cannot.
using TDeltaTTableLoader = std::function<void(const std::string& fileName)>;
// The loader the program uses: the table DeltaTPath + fileName through the
// delta-T unit.
void LoadDeltaTTableFromProgramFolder(const std::string& fileName);

// Reads a file of the format into settings and locations (the location list
// is cleared and refilled).  With withConfiguration the Configuration node
// is read too, and the sibling installation it names is applied
// (ApplyConfiguredSibling).  Never raises: a missing, empty, unreadable or
// malformed file, one whose root is not "TSEC", or an eclipse element
// (Mode, CatNo, SECatNo, LECatNo) that is not a whole number or names no
// event type gives Ok false with Error set (a short, printable text), and
// what was read before the fault stays in settings.  A value outside the
// range the program allows is replaced by its default and named in
// OutOfRange.  A delta-T table that cannot be loaded does not end the read:
// the notice names it, DeltaTTableFile keeps the name (the user may mend the
// file) and the internal table is used (UseInternalDeltaTTable true) - the
// built-in model.
// The internal-table switch of the delta-T unit is set from the file.
TSettingsReadResult ReadSettings(const std::string& fileName, bool withConfiguration, TSettings& settings,
                                 TObserverDataList& locations, const TDeltaTTableLoader& loadDeltaT = nullptr);

// Writes the settings and locations to fileName atomically (the previous
// file stays intact until the new one is complete); the Configuration node
// only with withConfiguration, its PathToTE from TEPath.  Errors raise.
void WriteSettings(const std::string& fileName, bool withConfiguration, const TSettings& settings,
                   const TObserverDataList& locations);

// The configuration file across a run: read at start-up, written at exit.
// It is never written back after a read that failed on an existing file or
// found a newer format (that would lose the user's locations and settings).
class TConfigurationStore {
public:
    // The configuration file; "" means ConfigFile at the time of Load.
    explicit TConfigurationStore(std::string fileName = "");

    // When the file does not exist, copies ProgramPath + "tec.ini" to it
    // (a failure is not reported); then ReadSettings(file, true).  A failed
    // read of an existing file is reported with the file's name.
    TSettingsReadResult Load(TSettings& settings, TObserverDataList& locations,
                             const TDeltaTTableLoader& loadDeltaT = nullptr);
    // Writes the configuration unless CanSave is false; returns whether it
    // was written.  Write errors raise.
    bool Save(const TSettings& settings, const TObserverDataList& locations);
    bool CanSave() const { return FCanSave; }
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    bool FCanSave = true;
};

// --- the file commands' data side ------------------------------------------

inline const std::string DocumentExtension = ".sec";
inline const std::string DocumentFilter = "Tolmira Eclipse Calculator files (*.sec)|*.sec";

// The window caption for a document: "Tolmira Eclipse Calculator - [name]"
// with the file name without folder; the bare title for an empty name.
std::string DocumentCaption(const std::string& fileName);
// A dropped file opens as a document when its extension is ".sec" in any
// letter case.
bool IsDocumentFileName(const std::string& fileName);
// The document named on the command line: a name without folder lies in
// DocumentsPath; blanks trimmed.
std::string DocumentFromArgument(const std::string& argument);

} // namespace app
