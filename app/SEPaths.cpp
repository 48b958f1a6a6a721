#include "app/SEPaths.h"

#include <iostream>

#include "app/uFileInfo.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/MimeDefaults.h"
#include "platform/sys/Processes.h"
#include "platform/sys/RemovableMedia.h"
#include "platform/sys/WindowSockets.h"
#include "platform/sys/XdgFolders.h"

namespace app {

std::string ProgramPath;
std::string DeltaTPath;
std::string TemplatesPath;
std::string DatabaseFile;
std::string UserDocumentsPath;
std::string UserAppDataPath;
std::string TemporaryPath;
std::string ConfigFile;
std::string LocationsFile;
std::string DocumentsPath;
std::string ExportPath;
std::string MapsPath;
std::string TEPath;
std::string TETemporaryPath;
std::string TEDocumentsPath;
bool TEFound = false;
bool TEPipeInterface = false;

TQuestionHandler PathsQuestion;
TMessageHandler PathsErrorMessage;
TLaunchHandler SiblingLauncher;

namespace {

const std::string ProgramFolderName = "Tolmira Eclipse Calculator/";
const std::string SiblingFolderName = "Tolmira Ephemeris/";

sys::TRemovableMedia& Removable()
{
    static sys::TRemovableMedia media;
    return media;
}

// Program folders are created as they are worked out; a folder that cannot
// be created is left to fail in the file operations that use it.
void MakeFolder(const std::string& dir)
{
    if (!dir.empty()) rtl::ForceDirectories(dir);
}

struct THandlersInit {
    THandlersInit() { ResetPathsHandlers(); }
} handlersInit;

} // namespace

void ResetPathsHandlers()
{
    PathsQuestion = [](const std::string&, const std::string&) { return false; };
    PathsErrorMessage = [](const std::string& text, const std::string& caption) {
        std::cerr << caption << ": " << text << std::endl;
    };
    SiblingLauncher = [](const std::string& program, const std::string& document) {
        return sys::TProcessLauncher::StartDetached(program, {document});
    };
}

std::string GetSpecialFolder(int csidl)
{
    if (csidl != CSIDL_PERSONAL && csidl != CSIDL_APPDATA) return {};
    std::string dir = csidl == CSIDL_PERSONAL ? sys::TXdgFolders::Documents() : sys::TXdgFolders::ConfigHome();
    if (dir.empty()) {
        PathsErrorMessage("Couldn't find the user's home folder.", "GetSpecialFolder");
        return {};
    }
    return rtl::IncludeTrailingPathDelimiter(dir);
}

int GetPathDriveType(const std::string& path)
{
    if (path.empty()) return DRIVE_UNKNOWN;
    return Removable().Holds(path) ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

void InitPaths()
{
    InitPaths(TPathsSetup{});
}

void InitPaths(const TPathsSetup& setup)
{
    Removable() = setup.RemovableRoots ? sys::TRemovableMedia(*setup.RemovableRoots) : sys::TRemovableMedia();
    TEPipeInterface = false;

    std::string exe = setup.ExecutableFile;
    if (exe.empty()) exe = rtl::ExecutableDir() + "tolmira-eclipse";
    ProgramPath = rtl::ExtractFilePath(rtl::ExpandFileName(exe));

    DeltaTPath = ProgramPath + "DeltaT/";
    MakeFolder(DeltaTPath);
    TemplatesPath = ProgramPath + "Templates/";
    MakeFolder(TemplatesPath);
    DatabaseFile = ProgramPath + "be.db";

    if (GetPathDriveType(exe) == DRIVE_REMOVABLE) {
        UserDocumentsPath = ProgramPath;
        UserAppDataPath = ProgramPath;
    } else {
        UserDocumentsPath = GetSpecialFolder(CSIDL_PERSONAL) + ProgramFolderName;
        MakeFolder(UserDocumentsPath);
        UserAppDataPath = GetSpecialFolder(CSIDL_APPDATA) + ProgramFolderName;
        MakeFolder(UserAppDataPath);
    }

    TemporaryPath = UserAppDataPath + "Temporary/";
    MakeFolder(TemporaryPath);
    ConfigFile = UserAppDataPath + "tec.ini";
    LocationsFile = UserAppDataPath + "locations.loc";

    DocumentsPath = UserDocumentsPath + "Documents/";
    MakeFolder(DocumentsPath);
    ExportPath = DocumentsPath + "Export/";
    MakeFolder(ExportPath);

    MapsPath = rtl::DirectoryExists(DocumentsPath + "Maps") ? DocumentsPath + "Maps/" : ProgramPath + "Maps/";
    MakeFolder(MapsPath);

    TEPath.clear();
    TETemporaryPath.clear();
    TEDocumentsPath.clear();
    TEFound = false;
    std::string folder = FindSiblingFolder();
    UseSiblingFolder(folder, CheckSiblingVersion(folder));
}

std::string FindSiblingFolder()
{
    std::string command = sys::TMimeDefaultApplication::Command(TEDocumentMimeType);
    std::string program = sys::TMimeDefaultApplication::Program(command);
    std::string folder = rtl::ExtractFilePath(program);
    if (folder.empty() || !rtl::DirectoryExists(folder)) return {};
    return rtl::IncludeTrailingPathDelimiter(folder);
}

int CheckSiblingVersion(const std::string& folder)
{
    std::string dir = rtl::IncludeTrailingPathDelimiter(folder);
    if (folder.empty() || dir == "/" || !rtl::FileExists(dir + TEExecutableName)) return 3;
    TFileVersionInfo info;
    GetFileVersionInfoRec(dir + TEExecutableName, info);
    int major = 0, minor = 0, release = 0, build = 0;
    ParseVersionNumbers(info.FileVersion, major, minor, release, build);
    long v = major * 10000L + minor * 100L + release;
    if (v >= 40200) return 0;
    if (v >= 40000) return 1;
    return 2;
}

void UseSiblingFolder(const std::string& folder, int cls)
{
    if (cls > 1 || folder.empty()) return;
    std::string dir = rtl::IncludeTrailingPathDelimiter(folder);
    TEFound = true;
    TEPath = dir;
    TETemporaryPath = dir + "Temporary/";
    TEPipeInterface = cls == 0;
    if (cls == 0) {
        std::string documents = GetSpecialFolder(CSIDL_PERSONAL);
        if (documents.empty()) {
            TEDocumentsPath.clear();
            return;
        }
        TEDocumentsPath = documents + SiblingFolderName;
        MakeFolder(TEDocumentsPath);
        TEDocumentsPath += "Documents/";
        MakeFolder(TEDocumentsPath);
    } else {
        TEDocumentsPath = dir + "Documents/";
        MakeFolder(TETemporaryPath);
    }
}

void ApplyConfiguredSibling(bool autoDetect, const std::string& storedPath)
{
    if (autoDetect && TEFound) return;
    std::string stored = storedPath.empty() ? std::string() : rtl::IncludeTrailingPathDelimiter(storedPath);
    if (stored == TEPath && TEFound) return;
    TEFound = false;
    TEPipeInterface = false;
    TEPath = stored;
    TETemporaryPath = stored.empty() ? std::string() : stored + "Temporary/";
    UseSiblingFolder(stored, CheckSiblingVersion(stored));
}

int StartSibling(const std::string& fileName)
{
    if (!TEFound) return 0;
    if (sys::TWindowSockets::Exists(TEWindowClass)) return 2;
    if (!PathsQuestion("Tolmira Ephemeris is currently not running.\r\nDo you wish to start it?", ApplicationTitle))
        return -1;
    SiblingLauncher(TEPath + TEExecutableName, fileName);
    return 1;
}

void CleanFileName(std::string& text)
{
    for (char c : std::string("*?\"%/\\<>:|"))
        for (auto& ch : text)
            if (ch == c) ch = '_';
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (!(ch == ' ' && !out.empty() && out.back() == ' ')) out += ch;
    text = std::move(out);
}

bool CopyFileTo(const std::string& source, const std::string& destination)
{
    return rtl::CopyFile(source, destination, false);
}

} // namespace app
