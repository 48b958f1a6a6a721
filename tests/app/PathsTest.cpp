// Program folders under a temporary home, portable mode, the sibling
// program's discovery and version classes, starting it, and file names.
#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "app/SEPaths.h"
#include "app/uFileInfo.h"
#include "platform/sys/WindowMessages.h"

namespace {

using apptest::WriteText;
namespace fs = std::filesystem;

class PathsTest : public apptest::HomeFixture {
protected:
    void TearDown() override { app::ResetPathsHandlers(); }

    app::TPathsSetup Setup(const std::string& exeFolder)
    {
        app::TPathsSetup s;
        s.ExecutableFile = R(exeFolder) + "/tolmira-eclipse";
        s.RemovableRoots = std::vector<std::string>{R("media"), R("run-media")};
        fs::create_directories(R(exeFolder));
        return s;
    }
};

TEST_F(PathsTest, InstalledProgramKeepsUserFilesInTheXdgFolders)
{
    app::InitPaths(Setup("usr/lib/tec"));
    const std::string prog = R("usr/lib/tec/");
    const std::string docs = H("Documents/Tolmira Eclipse Calculator/");
    const std::string data = H(".config/Tolmira Eclipse Calculator/");

    EXPECT_EQ(app::ProgramPath, prog);
    EXPECT_EQ(app::DeltaTPath, prog + "DeltaT/");
    EXPECT_EQ(app::TemplatesPath, prog + "Templates/");
    EXPECT_EQ(app::DatabaseFile, prog + "be.db");
    EXPECT_EQ(app::UserDocumentsPath, docs);
    EXPECT_EQ(app::UserAppDataPath, data);
    EXPECT_EQ(app::TemporaryPath, data + "Temporary/");
    EXPECT_EQ(app::ConfigFile, data + "tec.ini");
    EXPECT_EQ(app::LocationsFile, data + "locations.loc");
    EXPECT_EQ(app::DocumentsPath, docs + "Documents/");
    EXPECT_EQ(app::ExportPath, docs + "Documents/Export/");
    EXPECT_EQ(app::MapsPath, prog + "Maps/");
    for (const auto& dir : {app::DeltaTPath, app::TemplatesPath, app::TemporaryPath, app::DocumentsPath,
                            app::ExportPath, app::MapsPath})
        EXPECT_TRUE(fs::is_directory(dir)) << dir;
    EXPECT_FALSE(fs::exists(app::ConfigFile));
    EXPECT_FALSE(fs::exists(app::LocationsFile));

    EXPECT_FALSE(app::TEFound);
    EXPECT_FALSE(app::TEPipeInterface);
    EXPECT_EQ(app::TEPath, "");
    EXPECT_EQ(app::TETemporaryPath, "");
    EXPECT_EQ(app::TEDocumentsPath, "");
    EXPECT_EQ(app::GetPathDriveType(prog), app::DRIVE_FIXED);
}

TEST_F(PathsTest, XdgVariablesAndAUserMapsFolderAreHonoured)
{
    Env.Set("XDG_CONFIG_HOME", R("cfg"));
    WriteText(R("cfg/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    fs::create_directories(H("Papers/Tolmira Eclipse Calculator/Documents/Maps"));
    app::InitPaths(Setup("opt/tec"));

    EXPECT_EQ(app::UserDocumentsPath, H("Papers/Tolmira Eclipse Calculator/"));
    EXPECT_EQ(app::ConfigFile, R("cfg/Tolmira Eclipse Calculator/tec.ini"));
    EXPECT_EQ(app::MapsPath, H("Papers/Tolmira Eclipse Calculator/Documents/Maps/"));
    EXPECT_FALSE(fs::exists(R("opt/tec/Maps")));
}

TEST_F(PathsTest, PortableProgramKeepsEverythingBesideItself)
{
    for (const char* root : {"media/anna/STICK/tec", "run-media/anna/CARD/tec"}) {
        app::InitPaths(Setup(root));
        const std::string prog = R(root) + "/";
        EXPECT_EQ(app::GetPathDriveType(prog + "tolmira-eclipse"), app::DRIVE_REMOVABLE);
        EXPECT_EQ(app::UserDocumentsPath, prog);
        EXPECT_EQ(app::UserAppDataPath, prog);
        EXPECT_EQ(app::ConfigFile, prog + "tec.ini");
        EXPECT_EQ(app::LocationsFile, prog + "locations.loc");
        EXPECT_EQ(app::TemporaryPath, prog + "Temporary/");
        EXPECT_EQ(app::DocumentsPath, prog + "Documents/");
        EXPECT_EQ(app::ExportPath, prog + "Documents/Export/");
        EXPECT_EQ(app::MapsPath, prog + "Maps/");
        EXPECT_TRUE(fs::is_directory(app::ExportPath));
    }
    // Nothing of the program in the user's profile.
    EXPECT_FALSE(fs::exists(H("Documents/Tolmira Eclipse Calculator")));
    EXPECT_FALSE(fs::exists(H(".config/Tolmira Eclipse Calculator")));
}

TEST_F(PathsTest, SiblingVersionClasses)
{
    struct Case {
        const char* version;
        int cls;
    } cases[] = {{"4.2.0.0", 0}, {"4.2.0.117", 0}, {"5.0", 0},
                 {"4.1.9.0", 1}, {"4.0.0.0", 1},   {"4.x.0.1", 1},
                 // Two numbers are major and build: 4.2 counts as 4.0.0.
                 {"4.2", 1},     {"3.9.9.9", 2},   {"", 2}};
    for (const auto& c : cases) {
        std::string dir = InstallSibling(std::string("te-") + c.version, c.version);
        EXPECT_EQ(app::CheckSiblingVersion(dir), c.cls) << c.version;
    }
    EXPECT_EQ(app::CheckSiblingVersion(""), 3);
    EXPECT_EQ(app::CheckSiblingVersion(R("no-such-folder")), 3);
    fs::create_directories(R("empty"));
    EXPECT_EQ(app::CheckSiblingVersion(R("empty")), 3);
    // Without the trailing "/" too.
    std::string dir = InstallSibling("te-plain", "4.2.1.0");
    EXPECT_EQ(app::CheckSiblingVersion(dir.substr(0, dir.size() - 1)), 0);
    // A "te" that is not executable has no version record to offer.
    fs::permissions(dir + "te", fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::remove);
    EXPECT_EQ(app::CheckSiblingVersion(dir), 2);
}

TEST_F(PathsTest, PipeCapableSiblingIsFoundAtStartUp)
{
    std::string dir = InstallSibling("opt/Tolmira Ephemeris", "4.2.0.117");
    EXPECT_EQ(app::FindSiblingFolder(), dir);
    app::InitPaths(Setup("opt/tec"));
    EXPECT_TRUE(app::TEFound);
    EXPECT_TRUE(app::TEPipeInterface);
    EXPECT_EQ(app::TEPath, dir);
    EXPECT_EQ(app::TETemporaryPath, dir + "Temporary/");
    EXPECT_FALSE(fs::exists(app::TETemporaryPath));
    EXPECT_EQ(app::TEDocumentsPath, H("Documents/Tolmira Ephemeris/Documents/"));
    EXPECT_TRUE(fs::is_directory(app::TEDocumentsPath));
}

TEST_F(PathsTest, OlderSiblingTakesFilesInItsTemporaryFolder)
{
    std::string dir = InstallSibling("opt/te41", "4.1.9.0");
    app::InitPaths(Setup("opt/tec"));
    EXPECT_TRUE(app::TEFound);
    EXPECT_FALSE(app::TEPipeInterface);
    EXPECT_EQ(app::TEPath, dir);
    EXPECT_TRUE(fs::is_directory(dir + "Temporary"));
    EXPECT_EQ(app::TEDocumentsPath, dir + "Documents/");
    EXPECT_FALSE(fs::exists(dir + "Documents"));
}

TEST_F(PathsTest, TooOldOrMissingSiblingIsNotUsed)
{
    InstallSibling("opt/te39", "3.9.9.9");
    app::InitPaths(Setup("opt/tec"));
    EXPECT_FALSE(app::TEFound);
    EXPECT_EQ(app::TEPath, "");

    // Registered, but its folder is gone.
    std::string dir = InstallSibling("opt/gone", "4.2.0.0");
    fs::remove_all(dir);
    EXPECT_EQ(app::FindSiblingFolder(), "");
    app::InitPaths(Setup("opt/tec"));
    EXPECT_FALSE(app::TEFound);
}

TEST_F(PathsTest, ConfiguredSiblingIsJudgedLikeTheDetectedOne)
{
    // An older sibling found at start-up stays usable after the configuration
    // names the same folder, with or without auto-detection.
    std::string old = InstallSibling("opt/te41", "4.1.0.0");
    for (bool autoDetect : {true, false}) {
        app::InitPaths(Setup("opt/tec"));
        ASSERT_TRUE(app::TEFound);
        app::ApplyConfiguredSibling(autoDetect, old);
        EXPECT_TRUE(app::TEFound) << autoDetect;
        EXPECT_FALSE(app::TEPipeInterface);
        EXPECT_EQ(app::TEPath, old);
        EXPECT_EQ(app::TETemporaryPath, old + "Temporary/");
    }

    // A configuration written before the sibling was installed does not hide
    // it while auto-detection is on ...
    app::InitPaths(Setup("opt/tec"));
    app::ApplyConfiguredSibling(true, "");
    EXPECT_TRUE(app::TEFound);
    EXPECT_EQ(app::TEPath, old);
    // ... and does when the user fixed the folder by hand.
    app::ApplyConfiguredSibling(false, "");
    EXPECT_FALSE(app::TEFound);
    EXPECT_EQ(app::TEPath, "");

    // A hand-set folder holding a newer sibling switches to the pipe.
    std::string newer = R("elsewhere/te") + "/";
    WriteText(newer + "te", "#!/bin/sh\n", true);
    WriteText(newer + "te.version", "FileVersion=4.3.0.0\n");
    app::ApplyConfiguredSibling(false, newer.substr(0, newer.size() - 1));
    EXPECT_TRUE(app::TEFound);
    EXPECT_TRUE(app::TEPipeInterface);
    EXPECT_EQ(app::TEPath, newer);
    EXPECT_EQ(app::TEDocumentsPath, H("Documents/Tolmira Ephemeris/Documents/"));
}

TEST_F(PathsTest, StartSiblingAsksOnlyWhenItIsNotRunning)
{
    int asked = 0;
    bool answer = false;
    std::string launchedProgram, launchedDocument;
    app::PathsQuestion = [&](const std::string& text, const std::string& caption) {
        ++asked;
        EXPECT_EQ(text, "Tolmira Ephemeris is currently not running.\r\nDo you wish to start it?");
        EXPECT_EQ(caption, "Tolmira Eclipse Calculator");
        return answer;
    };
    app::SiblingLauncher = [&](const std::string& program, const std::string& document) {
        launchedProgram = program;
        launchedDocument = document;
        return true;
    };

    app::InitPaths(Setup("opt/tec"));
    EXPECT_EQ(app::StartSibling("/tmp/x.tlx"), 0);
    EXPECT_EQ(asked, 0);

    std::string dir = InstallSibling("opt/te", "4.2.0.0");
    app::InitPaths(Setup("opt/tec"));
    EXPECT_EQ(app::StartSibling("/docs/Paris 2026.tlx"), -1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(launchedProgram, "");

    answer = true;
    EXPECT_EQ(app::StartSibling("/docs/Paris 2026.tlx"), 1);
    EXPECT_EQ(launchedProgram, dir + "te");
    EXPECT_EQ(launchedDocument, "/docs/Paris 2026.tlx");

    // Running: its window socket exists; nothing is asked.
    sys::TWindowClassSocket window;
    int error = 0;
    ASSERT_TRUE(window.Open("TTEMainForm", error)) << error;
    ASSERT_TRUE(std::filesystem::exists(R("run/TTEMainForm")));
    EXPECT_EQ(app::StartSibling("/docs/x.tlx"), 2);
    EXPECT_EQ(asked, 2);
}

TEST_F(PathsTest, DefaultQuestionAnswersNo)
{
    InstallSibling("opt/te", "4.2.0.0");
    app::InitPaths(Setup("opt/tec"));
    bool launched = false;
    app::SiblingLauncher = [&](const std::string&, const std::string&) { return launched = true; };
    EXPECT_EQ(app::StartSibling("/docs/x.tlx"), -1);
    EXPECT_FALSE(launched);
}

TEST_F(PathsTest, SpecialFolders)
{
    EXPECT_EQ(app::GetSpecialFolder(app::CSIDL_PERSONAL), H("Documents/"));
    EXPECT_EQ(app::GetSpecialFolder(app::CSIDL_APPDATA), H(".config/"));
    EXPECT_EQ(app::GetSpecialFolder(7), "");
    EXPECT_EQ(app::GetPathDriveType(""), app::DRIVE_UNKNOWN);
}

TEST(FileNames, CleanFileName)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"Paris: 1/2", "Paris_ 1_2"},
        {"a*b?c\"d%e/f\\g<h>i:j|k", "a_b_c_d_e_f_g_h_i_j_k"},
        {"x   y", "x y"},
        {" lead  and trail  ", " lead and trail "},
        {"Zürich (Schweiz)", "Zürich (Schweiz)"},
        {"", ""},
    };
    for (auto c : cases) {
        app::CleanFileName(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

TEST(FileNames, CopyFileToReplacesTheDestination)
{
    auto dir = tectest::ScratchDir("app-copyfileto");
    WriteText(dir / "a", "new");
    WriteText(dir / "b", "old and longer");
    EXPECT_TRUE(app::CopyFileTo((dir / "a").string(), (dir / "b").string()));
    EXPECT_EQ(apptest::ReadBytes(dir / "b"), "new");
    EXPECT_FALSE(app::CopyFileTo((dir / "missing").string(), (dir / "c").string()));
    EXPECT_FALSE(fs::exists(dir / "c"));
}

TEST(VersionInfo, ParseVersionNumbers)
{
    struct Case {
        const char* text;
        int major, minor, release, build;
    } cases[] = {
        {"4.2.0.117", 4, 2, 0, 117}, {"4.2", 4, 0, 0, 2}, {"4.x.0.1", 4, 0, 0, 1},
        {"", 0, 0, 0, 0},            {"7", 0, 0, 0, 7},   {"1.2.3.4.5", 1, 2, 3, 0},
    };
    for (const auto& c : cases) {
        int a = -1, b = -1, r = -1, d = -1;
        app::ParseVersionNumbers(c.text, a, b, r, d);
        EXPECT_EQ(a, c.major) << c.text;
        EXPECT_EQ(b, c.minor) << c.text;
        EXPECT_EQ(r, c.release) << c.text;
        EXPECT_EQ(d, c.build) << c.text;
    }
}

TEST(VersionInfo, FileFunctionTexts)
{
    EXPECT_EQ(app::FileFunctionText(0, 0), "Unknown");
    EXPECT_EQ(app::FileFunctionText(1, 0), "Application");
    EXPECT_EQ(app::FileFunctionText(2, 0), "DLL");
    EXPECT_EQ(app::FileFunctionText(3, 8), "InstallableDriver");
    EXPECT_EQ(app::FileFunctionText(3, 10), "Communications Driver");
    EXPECT_EQ(app::FileFunctionText(3, 11), "");
    EXPECT_EQ(app::FileFunctionText(4, 3), "Truetype Font");
    EXPECT_EQ(app::FileFunctionText(4, 4), "");
    EXPECT_EQ(app::FileFunctionText(5, 0x1A2B), "Virtual Defice Identifier = 00001A2B");
    EXPECT_EQ(app::FileFunctionText(6, 0), "");
    EXPECT_EQ(app::FileFunctionText(7, 0), "Static-link Library");
}

TEST(VersionInfo, RecordFieldsAndFlags)
{
    auto dir = tectest::ScratchDir("app-versioninfo");
    WriteText(dir / "te", "#!/bin/sh\n", true);
    WriteText(dir / "te.version",
              "CompanyName=Tolmira\nFileVersion=4.2.0.117\nLegalCopyRight=(c)\nSpecialBuild=sb\nPrivateBuild=pb\n"
              "FileFlagsMask=0x2B\nFileFlags=0x3F\nFileType=3\nFileSubtype=1\n");
    app::TFileVersionInfo info;
    info.Comments = "stale";
    app::GetFileVersionInfoRec((dir / "te").string(), info);
    EXPECT_EQ(info.FileType, "Application");
    EXPECT_EQ(info.CompanyName, "Tolmira");
    EXPECT_EQ(info.FileVersion, "4.2.0.117");
    EXPECT_EQ(info.LegalCopyRight, "(c)");
    EXPECT_EQ(info.SpecialBuildStr, "sb");
    EXPECT_EQ(info.PrivateBuildStr, "pb");
    EXPECT_EQ(info.Comments, "");
    EXPECT_EQ(info.FileFunction, "Printer Driver");
    // A flag counts only when it is set in the mask too (mask 0x2B).
    EXPECT_TRUE(info.DebugBuild);
    EXPECT_TRUE(info.PreRelease);
    EXPECT_FALSE(info.Patched);
    EXPECT_TRUE(info.PrivateBuild);
    EXPECT_FALSE(info.InfoInferred);
    EXPECT_TRUE(info.SpecialBuild);

    // Not an executable: only the type name.
    WriteText(dir / "notes.txt", "x");
    WriteText(dir / "notes.txt.version", "FileVersion=9.9\n");
    app::GetFileVersionInfoRec((dir / "notes.txt").string(), info);
    EXPECT_EQ(info.FileType, "TXT File");
    EXPECT_EQ(info.FileVersion, "");
    EXPECT_FALSE(info.DebugBuild);
}

TEST(VersionInfo, OwnExecutableHasItsCompiledRecord)
{
    app::TFileVersionInfo info;
    app::GetFileVersionInfoRec(std::filesystem::read_symlink("/proc/self/exe").string(), info);
    EXPECT_EQ(info.ProductName, "Tolmira Eclipse Calculator");
    EXPECT_FALSE(info.FileVersion.empty());
    EXPECT_EQ(info.FileFunction, "Application");
}

} // namespace
