// The stand-in for the user's part of the registry (HKEY_CURRENT_USER) as
// an ini file: a registry-backed ini object keeps the same sections, value
// names and string values in "<config>/<program>/registry.ini", each
// section named "<key path>\<section>".  Several objects over the same file
// see each other's values once written (every write updates the file).
//
//     sys::TRegistryIniFile reg("Software\\Tolmira\\Panels");
//     reg.WriteInteger("Info", "Top", 10);   // [Software\Tolmira\Panels\Info] Top=10
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/IniFiles.h"

namespace sys {

class TRegistryIniFile : public rtl::TCustomIniFile {
public:
    // key: the registry key path under which the sections lie.
    explicit TRegistryIniFile(const std::string& key);
    ~TRegistryIniFile() override;

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) const override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, rtl::TStringList& names) const override;
    void ReadSections(rtl::TStringList& sections) const override;
    void ReadSectionValues(const std::string& section, rtl::TStringList& values) const override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    bool ValueExists(const std::string& section, const std::string& ident) const override;
    void UpdateFile() override;

    const std::string& Key() const { return FKey; }
    // The file that holds the values.
    static std::string StoreFileName();
    // Tests: another file (empty restores the user's one).
    static void SetStoreFileName(const std::string& fileName);

private:
    std::string Full(const std::string& section) const;
    std::string FKey;
    std::unique_ptr<rtl::TIniFile> FFile;
};

} // namespace sys
