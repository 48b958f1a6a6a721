// Folders the tests read from and write to.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace tectest {

// Fixtures committed with the tests.
inline std::string DataFile(const std::string& name)
{
    return std::string(TEC_TEST_DATA_DIR) + "/" + name;
}

// The published reference catalogues; tests that need them skip when the
// folder is absent.
inline std::string SharedDataFile(const std::string& name)
{
    return std::string(TEC_SHARED_DATA_DIR) + "/" + name;
}

inline bool HaveSharedData()
{
    return std::filesystem::is_directory(TEC_SHARED_DATA_DIR);
}

// The whole content of a file; empty when it cannot be read.
inline std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// This test process's id as text, for names that parallel test cases must
// not share.
inline std::string ProcessTag()
{
    return std::to_string(static_cast<long>(getpid()));
}

// A fresh, empty scratch folder for one test.  It lies in the process's
// private temporary folder (see TestMain.cpp), which goes away after a
// passing run and stays for inspection after a failing one; the process id
// keeps the name apart should a test run without that folder.
inline std::filesystem::path ScratchDir(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() /
               (name + "-" + ProcessTag());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Where a test leaves pictures for a person to look at: the folder named by
// TEC_TEST_SNAPSHOTS when set (kept after the run), else a scratch folder.
inline std::filesystem::path SnapshotDir()
{
    if (const char* dir = std::getenv("TEC_TEST_SNAPSHOTS")) {
        std::filesystem::create_directories(dir);
        return dir;
    }
    return ScratchDir("snapshots");
}

} // namespace tectest
