// Environment variables set for one test and restored afterwards, and small
// files written for a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

namespace tectest {

class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    // Sets the variable, or removes it for std::nullopt.
    void Set(const std::string& name, const std::optional<std::string>& value)
    {
        if (!FSaved.count(name)) {
            const char* old = std::getenv(name.c_str());
            FSaved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        Put(name, value);
    }
    // Puts the variables back as they were before the first Set.
    void Restore()
    {
        for (auto& [name, value] : FSaved) Put(name, value);
        FSaved.clear();
    }
    ~ScopedEnv() { Restore(); }

private:
    static void Put(const std::string& name, const std::optional<std::string>& value)
    {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> FSaved;
};

// Writes the text as the file's whole content, making its folders;
// executable adds the owner's permissions to run it.
inline void WriteText(const std::filesystem::path& file, const std::string& text, bool executable = false)
{
    namespace fs = std::filesystem;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    if (executable) fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
}

} // namespace tectest
