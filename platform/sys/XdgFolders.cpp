#include "platform/sys/XdgFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace sys {

namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string WithSlash(const std::string& dir)
{
    return dir.empty() ? dir : rtl::IncludeTrailingPathDelimiter(dir);
}

// An environment folder list ("a:b:c"); relative entries are ignored, as
// the convention asks.
std::vector<std::string> DirList(const char* var, std::vector<std::string> fallback)
{
    std::vector<std::string> out;
    for (const auto& item : rtl::SplitString(Env(var), ':'))
        if (!item.empty() && item[0] == '/') out.push_back(WithSlash(item));
    if (out.empty())
        for (auto& f : fallback) out.push_back(WithSlash(f));
    return out;
}

// Expands "$HOME" and "${HOME}" in a user-dirs.dirs value.
std::string ExpandHome(std::string value, const std::string& home)
{
    std::string h = rtl::ExcludeTrailingPathDelimiter(home);
    value = rtl::StringReplace(value, "${HOME}", h);
    return rtl::StringReplace(value, "$HOME", h);
}

// The XDG_DOCUMENTS_DIR entry of user-dirs.dirs; "" when absent.
std::string DocumentsEntry(const std::string& configHome, const std::string& home)
{
    std::ifstream in(configHome + "user-dirs.dirs");
    std::string line, result;
    while (std::getline(in, line)) {
        std::string t = rtl::Trim(line);
        if (t.rfind("XDG_DOCUMENTS_DIR=", 0) != 0) continue;
        std::string v = t.substr(18);
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        result = ExpandHome(v, home);  // the last assignment wins, as in the shell
    }
    return result;
}

} // namespace

std::string TXdgFolders::Home()
{
    std::string h = Env("HOME");
    if (h.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) h = pw->pw_dir;
    }
    return WithSlash(h);
}

std::string TXdgFolders::Documents()
{
    std::string home = Home();
    if (home.empty()) return {};
    std::string dir = DocumentsEntry(ConfigHome(), home);
    if (dir.empty()) dir = ExpandHome(Env("XDG_DOCUMENTS_DIR"), home);
    if (dir.empty() || dir[0] != '/' || WithSlash(dir) == home) dir = home + "Documents";
    return WithSlash(dir);
}

std::string TXdgFolders::ConfigHome()
{
    std::string d = Env("XDG_CONFIG_HOME");
    if (!d.empty() && d[0] == '/') return WithSlash(d);
    std::string home = Home();
    return home.empty() ? std::string() : home + ".config/";
}

std::string TXdgFolders::DataHome()
{
    std::string d = Env("XDG_DATA_HOME");
    if (!d.empty() && d[0] == '/') return WithSlash(d);
    std::string home = Home();
    return home.empty() ? std::string() : home + ".local/share/";
}

std::vector<std::string> TXdgFolders::ConfigDirs()
{
    return DirList("XDG_CONFIG_DIRS", {"/etc/xdg"});
}

std::vector<std::string> TXdgFolders::DataDirs()
{
    return DirList("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
}

std::string TXdgFolders::Runtime()
{
    std::string d = Env("XDG_RUNTIME_DIR");
    if (!d.empty() && d[0] == '/') return WithSlash(d);
    return rtl::TempDir();
}

} // namespace sys
