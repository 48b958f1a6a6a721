// Shared entry point of every test executable: a fixed, reproducible
// environment (headless Qt, C locale, UTC) whatever the caller's shell has.
//
// Each test process also gets a private root folder for everything it
// writes: the temporary folder, HOME and the runtime folder point into it,
// so no test reads or changes the user's own settings and nothing piles up
// in the system's temporary folder.  The root is removed when every test
// passed and kept (with its path printed) for inspection otherwise.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

// Makes root/name with owner-only rights and points the variable at it.
// The names are short: socket paths under them must stay within the
// system's limit of about a hundred characters.
void PointInto(const fs::path& root, const char* name, const char* variable)
{
    const fs::path dir = root / name;
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, ec);
    setenv(variable, dir.c_str(), 1);
}

// The process's private root, or an empty path when it cannot be made (the
// tests then run against the caller's folders as before).
fs::path MakeProcessRoot()
{
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) return {};
    std::string pattern = (base / "tec-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const fs::path root = pattern;

    // Font and shader caches stay shared with the caller: rebuilding them
    // in every process would only cost time.
    if (!std::getenv("XDG_CACHE_HOME")) {
        if (const char* home = std::getenv("HOME"))
            setenv("XDG_CACHE_HOME", (fs::path(home) / ".cache").c_str(), 1);
    }
    PointInto(root, "t", "TMPDIR");
    PointInto(root, "h", "HOME");
    PointInto(root, "r", "XDG_RUNTIME_DIR");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_STATE_HOME");
    return root;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    std::setlocale(LC_NUMERIC, "C");
    testing::InitGoogleTest(&argc, argv);
    const fs::path root = MakeProcessRoot();
    const int result = RUN_ALL_TESTS();
    if (!root.empty()) {
        if (result == 0) {
            std::error_code ec;
            fs::remove_all(root, ec);
        } else {
            std::fprintf(stderr, "Files written by the tests are kept in %s\n", root.c_str());
        }
    }
    return result;
}
