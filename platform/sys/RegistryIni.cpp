// The registry stand-in: one ini file in the user's configuration folder.
#include "platform/sys/RegistryIni.h"

#include <errno.h>

#include <filesystem>

#include "platform/sys/XdgFolders.h"

namespace sys {

namespace {
std::string gStoreOverride;

std::string ProgramName()
{
    std::string name = program_invocation_short_name ? program_invocation_short_name : "";
    return name.empty() ? std::string("tolmira-eclipse") : name;
}
} // namespace

std::string TRegistryIniFile::StoreFileName()
{
    if (!gStoreOverride.empty()) return gStoreOverride;
    std::string dir = TXdgFolders::ConfigHome();
    if (dir.empty()) dir = "/tmp/";
    return dir + ProgramName() + "/registry.ini";
}

void TRegistryIniFile::SetStoreFileName(const std::string& fileName) { gStoreOverride = fileName; }

TRegistryIniFile::TRegistryIniFile(const std::string& key) : rtl::TCustomIniFile(StoreFileName()), FKey(key)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(FFileName).parent_path(), ec);
    FFile = std::make_unique<rtl::TIniFile>(FFileName);
}

TRegistryIniFile::~TRegistryIniFile() = default;

std::string TRegistryIniFile::Full(const std::string& section) const
{
    if (FKey.empty()) return section;
    std::string k = FKey;
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return section.empty() ? k : k + "\\" + section;
}

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& def) const
{
    return FFile->ReadString(Full(section), ident, def);
}

void TRegistryIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    FFile->WriteString(Full(section), ident, value);
}

void TRegistryIniFile::ReadSection(const std::string& section, rtl::TStringList& names) const
{
    FFile->ReadSection(Full(section), names);
}

void TRegistryIniFile::ReadSections(rtl::TStringList& sections) const
{
    rtl::TStringList all;
    FFile->ReadSections(all);
    const std::string prefix = Full("") + "\\";
    for (int i = 0; i < all.Count(); ++i) {
        const std::string& s = all.Strings(i);
        if (s.size() > prefix.size() && s.compare(0, prefix.size(), prefix) == 0) sections.Add(s.substr(prefix.size()));
    }
}

void TRegistryIniFile::ReadSectionValues(const std::string& section, rtl::TStringList& values) const
{
    FFile->ReadSectionValues(Full(section), values);
}

void TRegistryIniFile::EraseSection(const std::string& section) { FFile->EraseSection(Full(section)); }

void TRegistryIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    FFile->DeleteKey(Full(section), ident);
}

bool TRegistryIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    return FFile->ValueExists(Full(section), ident);
}

void TRegistryIniFile::UpdateFile() { FFile->UpdateFile(); }

} // namespace sys
