// ZipArchive: the zip container of the office files the automation
// stand-ins read and write (deflated or stored entries, no encryption, no
// 64-bit extensions).
//
// The rule a caller must know: LoadFromBytes raises rtl::Exception "Not a
// zip archive" for anything else, before any entry is kept.
//
//   gridio::TZipArchive zip;
//   zip.Set("[Content_Types].xml", types);
//   zip.SaveToFile("/tmp/a.xlsx");
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace gridio {

class TZipArchive {
public:
    void LoadFromBytes(const std::string& bytes);
    void LoadFromFile(const std::string& fileName);
    std::string SaveToBytes() const;
    void SaveToFile(const std::string& fileName) const;

    bool Has(const std::string& name) const;
    // The entry's bytes; "" when absent.
    std::string Get(const std::string& name) const;
    // Replaces the entry or appends it.
    void Set(const std::string& name, const std::string& data);
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return FEntries; }

private:
    std::vector<std::pair<std::string, std::string>> FEntries;
};

// The whole file's bytes; raises rtl::EFOpenError-style text "Cannot open
// file <name>" when it cannot be read.
std::string ReadWholeFile(const std::string& fileName);
void WriteWholeFile(const std::string& fileName, const std::string& bytes);

} // namespace gridio
