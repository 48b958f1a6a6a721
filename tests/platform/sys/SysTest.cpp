// User folders, removable media, default applications, version records,
// window sockets and detached starts, each against a scratch folder tree
// that the environment variables point to.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <thread>

#include "TestEnv.h"
#include "TestPaths.h"
#include "platform/sys/MimeDefaults.h"
#include "platform/sys/Processes.h"
#include "platform/sys/RemovableMedia.h"
#include "platform/sys/VersionRecord.h"
#include "platform/sys/WindowSockets.h"
#include "platform/sys/XdgFolders.h"

namespace fs = std::filesystem;

namespace {

using tectest::ScopedEnv;
using tectest::WriteText;

// A home folder with no XDG variables set.
class XdgTest : public testing::Test {
protected:
    void SetUp() override
    {
        Home = tectest::ScratchDir("sys-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        Env.Set("HOME", Home.string());
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS",
                              "XDG_RUNTIME_DIR", "XDG_DOCUMENTS_DIR", "XDG_CURRENT_DESKTOP"})
            Env.Set(v, std::nullopt);
        // Keep the system's own lists out of the look-ups.
        Env.Set("XDG_CONFIG_DIRS", (Home / "etc-xdg").string());
        Env.Set("XDG_DATA_DIRS", (Home / "usr-share").string());
    }
    std::string H(const std::string& rest) const { return Home.string() + "/" + rest; }

    fs::path Home;
    ScopedEnv Env;
};

TEST_F(XdgTest, FoldersFollowTheVariablesAndFallBackToTheHomeFolder)
{
    EXPECT_EQ(sys::TXdgFolders::Home(), H(""));
    EXPECT_EQ(sys::TXdgFolders::Documents(), H("Documents/"));
    EXPECT_EQ(sys::TXdgFolders::ConfigHome(), H(".config/"));
    EXPECT_EQ(sys::TXdgFolders::DataHome(), H(".local/share/"));

    Env.Set("XDG_CONFIG_HOME", H("cfg"));
    Env.Set("XDG_DATA_HOME", H("data"));
    Env.Set("XDG_RUNTIME_DIR", H("run"));
    EXPECT_EQ(sys::TXdgFolders::ConfigHome(), H("cfg/"));
    EXPECT_EQ(sys::TXdgFolders::DataHome(), H("data/"));
    EXPECT_EQ(sys::TXdgFolders::Runtime(), H("run/"));

    // Relative values are not valid and are ignored.
    Env.Set("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(sys::TXdgFolders::ConfigHome(), H(".config/"));
    Env.Set("XDG_DATA_DIRS", "/a:relative:/b/");
    EXPECT_EQ(sys::TXdgFolders::DataDirs(), (std::vector<std::string>{"/a/", "/b/"}));
}

TEST_F(XdgTest, DocumentsFolderComesFromUserDirsLikeXdgUserDir)
{
    WriteText(Home / ".config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n");
    EXPECT_EQ(sys::TXdgFolders::Documents(), H("Papiere/"));

    // "Not configured" is spelt as the home folder itself.
    WriteText(Home / ".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(sys::TXdgFolders::Documents(), H("Documents/"));

    // Without the file the variable counts.
    fs::remove(Home / ".config/user-dirs.dirs");
    Env.Set("XDG_DOCUMENTS_DIR", H("Docs"));
    EXPECT_EQ(sys::TXdgFolders::Documents(), H("Docs/"));
}

TEST_F(XdgTest, RemovableMediaAreThePathsBelowTheMountRoots)
{
    fs::create_directories(Home / "media/stick/tec");
    fs::create_directories(Home / "mediaX/tec");
    fs::create_directory_symlink(Home / "media/stick", Home / "link-to-stick");
    sys::TRemovableMedia media({H("media")});

    EXPECT_TRUE(media.Holds(H("media/stick/tec/tolmira-eclipse")));
    EXPECT_TRUE(media.Holds(H("link-to-stick/tec/tolmira-eclipse")));
    EXPECT_TRUE(media.Holds(H("other/../media/stick/x")));
    EXPECT_FALSE(media.Holds(H("media")));
    EXPECT_FALSE(media.Holds(H("mediaX/tec/tolmira-eclipse")));
    EXPECT_FALSE(media.Holds(""));
    EXPECT_EQ(sys::TRemovableMedia::DefaultRoots(), (std::vector<std::string>{"/media", "/run/media"}));
}

TEST_F(XdgTest, DefaultApplicationOfAMimeTypeIsFoundThroughMimeappsList)
{
    const std::string mime = "application/x-tolmira-ephemeris-document";
    EXPECT_EQ(sys::TMimeDefaultApplication::Command(mime), "");

    WriteText(Home / ".local/share/applications/tolmira-te.desktop",
              "[Desktop Entry]\nType=Application\nName=Tolmira Ephemeris\n"
              "Exec=\"" + H("opt/Tolmira Ephemeris/te") + "\" %f\n\n[Desktop Action x]\nExec=other\n");
    WriteText(Home / ".config/mimeapps.list",
              "[Added Associations]\ntext/plain=foo.desktop;\n\n[Default Applications]\n" + mime +
                  "=missing.desktop;tolmira-te.desktop;\n");
    EXPECT_EQ(sys::TMimeDefaultApplication::DesktopFile(mime), H(".local/share/applications/tolmira-te.desktop"));
    EXPECT_EQ(sys::TMimeDefaultApplication::Command(mime), "\"" + H("opt/Tolmira Ephemeris/te") + "\" %f");
    EXPECT_EQ(sys::TMimeDefaultApplication::Program(sys::TMimeDefaultApplication::Command(mime)),
              H("opt/Tolmira Ephemeris/te"));

    // A desktop-specific list comes first; vendor ids may live in a sub-folder.
    Env.Set("XDG_CURRENT_DESKTOP", "KDE");
    WriteText(Home / "usr-share/applications/tolmira/te2.desktop", "[Desktop Entry]\nExec=te2 %U\n");
    WriteText(Home / ".config/kde-mimeapps.list", "[Default Applications]\n" + mime + "=tolmira-te2.desktop\n");
    EXPECT_EQ(sys::TMimeDefaultApplication::Command(mime), "te2 %U");

    // Only added associations: still found.
    fs::remove(Home / ".config/kde-mimeapps.list");
    WriteText(Home / ".config/mimeapps.list", "[Added Associations]\n" + mime + "=tolmira-te.desktop;\n");
    EXPECT_EQ(sys::TMimeDefaultApplication::DesktopFile(mime), H(".local/share/applications/tolmira-te.desktop"));
}

TEST_F(XdgTest, ProgramOfAnExecLineIsResolvedThroughPathAndLinks)
{
    WriteText(Home / "opt/te/te", "#!/bin/sh\n", true);
    fs::create_directories(Home / "bin");
    fs::create_symlink(Home / "opt/te/te", Home / "bin/te");
    Env.Set("PATH", H("nothing") + ":" + H("bin"));

    EXPECT_EQ(sys::TMimeDefaultApplication::Program("te %f"), H("opt/te/te"));
    EXPECT_EQ(sys::TMimeDefaultApplication::Program("  \"" + H("bin/te") + "\" --open %f"), H("opt/te/te"));
    EXPECT_EQ(sys::TMimeDefaultApplication::Program("unknown-program %f"), "unknown-program");
    EXPECT_EQ(sys::TMimeDefaultApplication::Program(""), "");
}

TEST_F(XdgTest, VersionRecordBesideTheExecutable)
{
    WriteText(Home / "te", "#!/bin/sh\n", true);
    sys::TVersionRecord r;
    EXPECT_FALSE(sys::TVersionRecord::Read(H("te"), r));
    EXPECT_TRUE(r.Strings.empty());

    WriteText(Home / "te.version",
              "\xEF\xBB\xBF# record\r\nFileVersion = 4.2.0.117\r\nproductname=Tolmira Ephemeris\n"
              "FileFlagsMask=0x3F\nFileFlags=33\nFileType=1\nFileSubtype=zz\nno equals sign\n");
    ASSERT_TRUE(sys::TVersionRecord::Read(H("te"), r));
    EXPECT_EQ(r.Value("FileVersion"), "4.2.0.117");
    EXPECT_EQ(r.Value("ProductName"), "Tolmira Ephemeris");
    EXPECT_EQ(r.Value("Comments"), "");
    EXPECT_TRUE(r.HasFixedRecord);
    EXPECT_EQ(r.FileFlagsMask, 0x3Fu);
    EXPECT_EQ(r.FileFlags, 33u);
    EXPECT_EQ(r.FileType, 1u);
    EXPECT_EQ(r.FileSubtype, 0u);

    EXPECT_FALSE(sys::TVersionRecord::Parse("FileVersion=1.0\n").HasFixedRecord);
}

TEST_F(XdgTest, FileKindNames)
{
    WriteText(Home / "prog", "x", true);
    WriteText(Home / "notes.txt", "x");
    WriteText(Home / "README", "x");
    EXPECT_TRUE(sys::TFileKind::IsExecutable(H("prog")));
    EXPECT_FALSE(sys::TFileKind::IsExecutable(H("notes.txt")));
    EXPECT_FALSE(sys::TFileKind::IsExecutable(H("")));
    EXPECT_EQ(sys::TFileKind::TypeName(H("prog")), "Application");
    EXPECT_EQ(sys::TFileKind::TypeName(H("notes.txt")), "TXT File");
    EXPECT_EQ(sys::TFileKind::TypeName(H("README")), "File");
    EXPECT_EQ(sys::TFileKind::TypeName(H("")), "Folder");
    EXPECT_EQ(sys::TFileKind::TypeName(H("missing")), "");
}

TEST_F(XdgTest, WindowExistsWhenItsSocketExists)
{
    Env.Set("XDG_RUNTIME_DIR", H("run"));
    fs::create_directories(Home / "run");
    EXPECT_EQ(sys::TWindowSockets::SocketPath("TTEMainForm"), H("run/TTEMainForm"));
    EXPECT_FALSE(sys::TWindowSockets::Exists("TTEMainForm"));

    WriteText(Home / "run/TTEMainForm", "a plain file is no window");
    EXPECT_FALSE(sys::TWindowSockets::Exists("TTEMainForm"));
    fs::remove(Home / "run/TTEMainForm");

    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = H("run/TTEMainForm");
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    std::copy(path.begin(), path.end(), addr.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_TRUE(sys::TWindowSockets::Exists("TTEMainForm"));
    EXPECT_FALSE(sys::TWindowSockets::Exists("../run/TTEMainForm"));
    ::close(fd);
}

TEST_F(XdgTest, DetachedStartRunsTheProgramWithItsArguments)
{
    fs::path marker = Home / "started with blanks";
    ASSERT_TRUE(sys::TProcessLauncher::StartDetached("/bin/sh", {"-c", "echo \"$0\" > \"$1\"", "arg one", marker.string()}));
    auto written = [&] {
        std::error_code ec;
        return fs::exists(marker, ec) && fs::file_size(marker, ec) > 0;
    };
    for (int i = 0; i < 3000 && !written(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "arg one");

    WriteText(Home / "not-executable", "x");
    EXPECT_FALSE(sys::TProcessLauncher::StartDetached(H("not-executable"), {}));
    EXPECT_FALSE(sys::TProcessLauncher::StartDetached(H("missing"), {}));
}

} // namespace
