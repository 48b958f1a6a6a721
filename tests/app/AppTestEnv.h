// Scratch environments for the application's tests: environment variables
// restored after each test, a temporary home folder with the XDG variables
// pointing into it, and a fake sibling program installed there.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "TestPaths.h"

namespace apptest {

namespace fs = std::filesystem;

using tectest::ScopedEnv;
using tectest::WriteText;

inline std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A temporary home folder; the XDG variables and the system lists point
// into it, so nothing of the machine's own set-up takes part.
class HomeFixture : public testing::Test {
protected:
    void SetUp() override
    {
        Root = tectest::ScratchDir(std::string("app-") +
                                   testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                                   testing::UnitTest::GetInstance()->current_test_info()->name());
        Home = Root / "home";
        fs::create_directories(Home);
        Env.Set("HOME", Home.string());
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR", "XDG_CURRENT_DESKTOP"})
            Env.Set(v, std::nullopt);
        Env.Set("XDG_CONFIG_DIRS", (Root / "etc-xdg").string());
        Env.Set("XDG_DATA_DIRS", (Root / "usr-share").string());
        Env.Set("XDG_RUNTIME_DIR", (Root / "run").string());
        fs::create_directories(Root / "run");
    }

    std::string R(const std::string& rest) const { return Root.string() + "/" + rest; }
    std::string H(const std::string& rest) const { return Home.string() + "/" + rest; }

    // Installs a fake sibling program "te" in folder (below Root) with the
    // given FileVersion ("" for no version record) and registers it as the
    // default application of its documents.
    std::string InstallSibling(const std::string& folder, const std::string& version)
    {
        std::string dir = R(folder) + "/";
        WriteText(dir + "te", "#!/bin/sh\nexit 0\n", true);
        if (!version.empty()) WriteText(dir + "te.version", "FileVersion=" + version + "\n");
        WriteText(Home / ".local/share/applications/tolmira-ephemeris.desktop",
                  "[Desktop Entry]\nType=Application\nName=Tolmira Ephemeris\nExec=\"" + dir + "te\" %f\n");
        WriteText(Home / ".config/mimeapps.list",
                  "[Default Applications]\napplication/x-tolmira-ephemeris-document=tolmira-ephemeris.desktop\n");
        return dir;
    }

    fs::path Root, Home;
    ScopedEnv Env;
};

} // namespace apptest
