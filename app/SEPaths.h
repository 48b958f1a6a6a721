// The program's folders and fixed files, worked out once at start-up by
// InitPaths, and the sibling ephemeris program "Tolmira Ephemeris": where it
// is installed, whether it takes documents through its pipe, and starting
// it.  Every folder value ends with "/".  The globals are written only by
// InitPaths and by ApplyConfiguredSibling (the configuration reader), and
// read everywhere else; GUI thread only.
//
// Linux stand-ins: the user's documents folder is the XDG documents folder,
// the application-data folder $XDG_CONFIG_HOME (else ~/.config); "the
// executable lies on a removable drive" means it lies below /media or
// /run/media (portable mode: every per-user file lies beside it); the
// sibling is the default application of its documents
// (application/x-tolmira-ephemeris-document, *.tlx) after the XDG MIME
// rules, its executable is "te" and its version record "te.version" beside
// it; its window of class "TTEMainForm" exists when its socket of that name
// exists in the runtime folder.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace app {

// --- the globals -----------------------------------------------------------

extern std::string ProgramPath;        // folder of the executable
extern std::string DeltaTPath;         // ProgramPath + "DeltaT/"
extern std::string TemplatesPath;      // ProgramPath + "Templates/"
extern std::string DatabaseFile;       // ProgramPath + "be.db" (SQLite catalogue)
extern std::string UserDocumentsPath;  // documents folder + "Tolmira Eclipse Calculator/"
extern std::string UserAppDataPath;    // config folder + "Tolmira Eclipse Calculator/"
extern std::string TemporaryPath;      // UserAppDataPath + "Temporary/"
extern std::string ConfigFile;         // UserAppDataPath + "tec.ini"
extern std::string LocationsFile;      // UserAppDataPath + "locations.loc"
extern std::string DocumentsPath;      // UserDocumentsPath + "Documents/"
extern std::string ExportPath;         // DocumentsPath + "Export/"
extern std::string MapsPath;           // DocumentsPath + "Maps/" when it exists, else ProgramPath + "Maps/"
extern std::string TEPath;             // sibling's installation folder, "" when none
extern std::string TETemporaryPath;    // TEPath + "Temporary/"
extern std::string TEDocumentsPath;    // where sibling documents are saved
extern bool TEFound;                   // a usable sibling is known
extern bool TEPipeInterface;           // the sibling takes documents through its pipe

// --- constants ---------------------------------------------------------------

constexpr int CSIDL_PERSONAL = 5;   // the user's documents folder
constexpr int CSIDL_APPDATA = 26;   // the user's application-data folder
constexpr int DRIVE_UNKNOWN = 0;
constexpr int DRIVE_REMOVABLE = 2;
constexpr int DRIVE_FIXED = 3;

inline const std::string ApplicationTitle = "Tolmira Eclipse Calculator";

// What this program relies on of the sibling "Tolmira Ephemeris" (a program
// of its own, outside this one):
// - it installs a desktop entry that is the default application of
//   TEDocumentMimeType (its documents, "*.tlx"), whose Exec line starts
//   with its executable; the executable's folder is its installation folder;
// - the folder holds the executable TEExecutableName and beside it its
//   version record "te.version" (platform/sys/VersionRecord.h) with
//   FileVersion = four dotted numbers: 4.2.0 or later takes documents
//   through its pipe socket TEPipeName, 4.0.0 up to 4.2.0 only as files in
//   its "Temporary/" folder announced by the message TEDocumentMessage;
// - while its main window (class TEWindowClass) is open, a socket of that
//   name exists in the runtime folder (platform/sys/WindowSockets.h);
// - started with one argument, a document's full path, it opens it.
inline const std::string TEDocumentMimeType = "application/x-tolmira-ephemeris-document";
inline const std::string TEExecutableName = "te";
inline const std::string TEWindowClass = "TTEMainForm";
inline const std::string TEPipeName = "TE";
constexpr unsigned TEDocumentMessage = 3243;

// --- user interaction --------------------------------------------------------
// The GUI's dialog service plugs in here; until it does, questions are
// answered No and messages go to the standard error stream.

// (text, caption) -> true for Yes.
using TQuestionHandler = std::function<bool(const std::string& text, const std::string& caption)>;
// (text, caption), shown with the error icon.
using TMessageHandler = std::function<void(const std::string& text, const std::string& caption)>;
// (program, document file) -> the start was handed to the system.
using TLaunchHandler = std::function<bool(const std::string& program, const std::string& document)>;

extern TQuestionHandler PathsQuestion;
extern TMessageHandler PathsErrorMessage;
extern TLaunchHandler SiblingLauncher;
// Restores the three defaults above.
void ResetPathsHandlers();

// --- start-up ----------------------------------------------------------------

struct TPathsSetup {
    // The program's own file; empty: the running executable.
    std::string ExecutableFile;
    // Mount roots of removable media; unset: /media and /run/media.
    std::optional<std::vector<std::string>> RemovableRoots;
};

// Fills every global above and creates the missing folders (failures to
// create are ignored).
void InitPaths();
void InitPaths(const TPathsSetup& setup);

// The user's documents (CSIDL_PERSONAL) or application-data
// (CSIDL_APPDATA) folder with a trailing "/"; "" for other ids, and ""
// with an error message when the user has no home folder.
std::string GetSpecialFolder(int csidl);
// DRIVE_REMOVABLE for a path on removable media (under the roots given to
// the last InitPaths), else DRIVE_FIXED; DRIVE_UNKNOWN for "".
int GetPathDriveType(const std::string& path);

// --- the sibling program -----------------------------------------------------

// The folder of the default application for the sibling's documents, with
// a trailing "/", or "" when none is registered or its folder is missing.
std::string FindSiblingFolder();
// The version class of the "te" in a folder: 0 v >= 4.2.0 (pipe), 1
// 4.0.0 <= v < 4.2.0 (files in its Temporary folder), 2 older, 3 no
// installation (empty folder, or no "te" in it).  v = major * 10000 +
// minor * 100 + release of its FileVersion.
int CheckSiblingVersion(const std::string& folder);
// Makes folder (of version class cls) the sibling in use: TEPath,
// TETemporaryPath, TEFound (class 0 or 1), TEPipeInterface (class 0) and
// TEDocumentsPath, creating the folders InitPaths creates.  A class above
// 1 leaves the sibling unknown.
void UseSiblingFolder(const std::string& folder, int cls);
// The configuration's word on the sibling, applied after InitPaths: with
// auto-detection on, a usable sibling found at start-up stays in use and
// the stored folder is used only when none was found; with it off, the
// stored folder is used.  The stored folder is then judged exactly as
// InitPaths judges a found one, so an older sibling of class 1 stays
// usable.
void ApplyConfiguredSibling(bool autoDetect, const std::string& storedPath);

// Makes sure the sibling will see a document: 0 when no sibling is known;
// 2 when it is running (its window socket exists), without asking; else
// asks "Tolmira Ephemeris is currently not running.\r\nDo you wish to start
// it?" and on Yes starts TEPath + "te" with the file as its one argument
// (1), on No returns -1.
int StartSibling(const std::string& fileName);

// --- files -------------------------------------------------------------------

// Replaces each of * ? " % / \ < > : | by "_", then shrinks every run of
// blanks to one blank.
void CleanFileName(std::string& text);
// Copies a file, replacing the destination; false when it failed.
bool CopyFileTo(const std::string& source, const std::string& destination);

} // namespace app
