#include "platform/sys/MimeDefaults.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/XdgFolders.h"

namespace sys {

namespace fs = std::filesystem;

namespace {

// The mimeapps.list files in the order the convention searches them.
std::vector<std::string> ListFiles()
{
    std::vector<std::string> desktops;
    if (const char* d = std::getenv("XDG_CURRENT_DESKTOP"))
        for (const auto& name : rtl::SplitString(d, ':'))
            if (!name.empty()) desktops.push_back(rtl::LowerCase(name) + "-");
    desktops.push_back("");

    std::vector<std::string> dirs;
    if (auto c = TXdgFolders::ConfigHome(); !c.empty()) dirs.push_back(c);
    for (auto& c : TXdgFolders::ConfigDirs()) dirs.push_back(c);
    if (auto d = TXdgFolders::DataHome(); !d.empty()) dirs.push_back(d + "applications/");
    for (auto& d : TXdgFolders::DataDirs()) dirs.push_back(d + "applications/");

    std::vector<std::string> files;
    for (const auto& dir : dirs)
        for (const auto& prefix : desktops) files.push_back(dir + prefix + "mimeapps.list");
    return files;
}

// The desktop ids listed for mimeType in one group of one file.
std::vector<std::string> EntriesFor(const std::string& file, const std::string& group,
                                    const std::string& mimeType)
{
    std::ifstream in(file);
    std::string line;
    bool inGroup = false;
    std::vector<std::string> ids;
    while (std::getline(in, line)) {
        std::string t = rtl::Trim(line);
        if (t.empty() || t[0] == '#') continue;
        if (t[0] == '[') {
            inGroup = t == "[" + group + "]";
            continue;
        }
        if (!inGroup) continue;
        auto eq = t.find('=');
        if (eq == std::string::npos || rtl::Trim(t.substr(0, eq)) != mimeType) continue;
        for (const auto& id : rtl::SplitString(t.substr(eq + 1), ';'))
            if (auto s = rtl::Trim(id); !s.empty()) ids.push_back(s);
    }
    return ids;
}

// The file of a desktop id; "vendor-app.desktop" may also lie in the
// sub-folder "vendor/app.desktop".
std::string FindDesktopFile(const std::string& id)
{
    std::vector<std::string> dirs;
    if (auto d = TXdgFolders::DataHome(); !d.empty()) dirs.push_back(d + "applications/");
    for (auto& d : TXdgFolders::DataDirs()) dirs.push_back(d + "applications/");
    for (const auto& dir : dirs) {
        if (rtl::FileExists(dir + id)) return dir + id;
        std::string sub = id;
        for (auto dash = sub.find('-'); dash != std::string::npos; dash = sub.find('-', dash + 1)) {
            std::string candidate = sub;
            candidate[dash] = '/';
            if (rtl::FileExists(dir + candidate)) return dir + candidate;
        }
    }
    return {};
}

std::string ExecOf(const std::string& desktopFile)
{
    std::ifstream in(desktopFile);
    std::string line;
    bool inEntry = false;
    while (std::getline(in, line)) {
        std::string t = rtl::Trim(line);
        if (!t.empty() && t[0] == '[') {
            inEntry = t == "[Desktop Entry]";
            continue;
        }
        if (inEntry && t.rfind("Exec", 0) == 0) {
            auto eq = t.find('=');
            if (eq != std::string::npos && rtl::Trim(t.substr(0, eq)) == "Exec")
                return rtl::Trim(t.substr(eq + 1));
        }
    }
    return {};
}

} // namespace

std::string TMimeDefaultApplication::DesktopFile(const std::string& mimeType)
{
    auto files = ListFiles();
    for (const char* group : {"Default Applications", "Added Associations"})
        for (const auto& file : files)
            for (const auto& id : EntriesFor(file, group, mimeType))
                if (auto f = FindDesktopFile(id); !f.empty()) return f;
    return {};
}

std::string TMimeDefaultApplication::Command(const std::string& mimeType)
{
    std::string f = DesktopFile(mimeType);
    return f.empty() ? std::string() : ExecOf(f);
}

std::string TMimeDefaultApplication::Program(const std::string& execLine)
{
    std::string s = rtl::TrimLeft(execLine);
    std::string word;
    if (!s.empty() && s[0] == '"') {
        // Quoted argument: backslash escapes the next character.
        for (std::size_t i = 1; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] == '\\' && i + 1 < s.size()) ++i;
            word += s[i];
        }
    } else {
        word = s.substr(0, s.find_first_of(" \t"));
    }
    if (word.empty()) return {};
    if (word.find('/') == std::string::npos) {
        const char* path = std::getenv("PATH");
        std::string found;
        for (const auto& dir : rtl::SplitString(path ? path : "/usr/local/bin:/usr/bin:/bin", ':')) {
            if (dir.empty()) continue;
            std::string candidate = rtl::IncludeTrailingPathDelimiter(dir) + word;
            if (::access(candidate.c_str(), X_OK) == 0 && !rtl::DirectoryExists(candidate)) {
                found = candidate;
                break;
            }
        }
        if (found.empty()) return word;
        word = found;
    }
    std::error_code ec;
    fs::path real = fs::weakly_canonical(word, ec);
    return ec ? word : real.string();
}

} // namespace sys
