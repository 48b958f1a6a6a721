// TUclFileVersionInfo: the version information of a program, read from its
// VS_VERSION_INFO block (fixed block, string tables per language,
// translations).  The program carries its own block, written at build time
// from its version record; a file is searched for such a block, and one
// without it has "no version information".
//
// The one rule: the constructors raise EUclFileVersionInfoError when there
// is nothing to read, so hold the object only once it is made.
//
//   ucl::TUclFileVersionInfo info(rtl::ExecutableFileName());
//   std::string v = info.FileVersion();          // "0.1.0.0"
//   auto own = ucl::TUclFileVersionInfo::Attach(ucl::ProgramVersionBlob());
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbgrids/ucl/UclBase.h"
#include "platform/rtl/Set.h"

namespace ucl {

RTL_DECLARE_EXCEPTION(EUclFileVersionInfoError, EUclError)

struct TLangIdRec {
    uint16_t LangId = 0;
    uint16_t CodePage = 0;
    uint32_t Pair() const { return static_cast<uint32_t>(LangId) | (static_cast<uint32_t>(CodePage) << 16); }
};

enum class TFileFlag { ffDebug, ffInfoInferred, ffPatched, ffPreRelease, ffPrivateBuild, ffSpecialBuild };
using TFileFlags = rtl::Set<TFileFlag>;

// The 52-byte fixed block.
struct TFixedFileInfo {
    uint32_t Signature = 0, StrucVersion = 0, FileVersionMS = 0, FileVersionLS = 0, ProductVersionMS = 0,
             ProductVersionLS = 0, FileFlagsMask = 0, FileFlags = 0, FileOS = 0, FileType = 0,
             FileSubtype = 0, FileDateMS = 0, FileDateLS = 0;
};

// The program's own module (its executable); 0 is no module.
constexpr uintptr_t HInstance = 1;

class TUclFileVersionInfo {
public:
    // Reads the version block of a file: "The file %s does not exist",
    // "File contains no version information".
    explicit TUclFileVersionInfo(const std::string& fileName);
    // A module: 0 raises EUclError "The Module with handle 0 is not valid".
    static std::unique_ptr<TUclFileVersionInfo> FromModule(uintptr_t module);
    // The executable that owns a window: not available on this platform;
    // raises EUclError "The window with handle %d is not valid" for 0 and
    // EUclError "Reading the version of another window's program is not
    // supported" otherwise.
    static std::unique_ptr<TUclFileVersionInfo> FromWindow(uintptr_t window);
    // Parses a block already in memory.
    static std::unique_ptr<TUclFileVersionInfo> Attach(std::string_view data);

    std::string Comments() const { return VersionKeyValue(1); }
    std::string CompanyName() const { return VersionKeyValue(2); }
    std::string FileDescription() const { return VersionKeyValue(3); }
    std::string FileVersion() const { return VersionKeyValue(4); }
    std::string InternalName() const { return VersionKeyValue(5); }
    std::string LegalCopyright() const { return VersionKeyValue(6); }
    std::string LegalTradeMarks() const { return VersionKeyValue(7); }
    std::string OriginalFilename() const { return VersionKeyValue(8); }
    std::string ProductName() const { return VersionKeyValue(9); }
    std::string ProductVersion() const { return VersionKeyValue(10); }
    std::string SpecialBuild() const { return VersionKeyValue(11); }
    std::string PrivateBuild() const { return VersionKeyValue(12); }
    // The value of the standard key with that index (1 to 12).
    std::string VersionKeyValue(int index) const;

    std::string BinFileVersion() const;
    std::string BinProductVersion() const;
    std::string FileVersionMajor() const { return VersionPart(FileVersion(), 0); }
    std::string FileVersionMinor() const { return VersionPart(FileVersion(), 1); }
    std::string FileVersionRelease() const { return VersionPart(FileVersion(), 2); }
    std::string FileVersionBuild() const { return VersionPart(FileVersion(), 3); }
    std::string ProductVersionMajor() const { return VersionPart(ProductVersion(), 0); }
    std::string ProductVersionMinor() const { return VersionPart(ProductVersion(), 1); }
    std::string ProductVersionRelease() const { return VersionPart(ProductVersion(), 2); }
    std::string ProductVersionBuild() const { return VersionPart(ProductVersion(), 3); }

    TFixedFileInfo FixedInfo() const { return FFixedInfo; }
    TFileFlags FileFlags() const { return FFileFlags; }
    uint32_t FileOS() const { return FFixedInfo.FileOS; }
    uint32_t FileType() const { return FFixedInfo.FileType; }
    uint32_t FileSubType() const { return FFixedInfo.FileSubtype; }

    // The current language's "key=value" strings.
    const std::vector<std::string>& Items() const { return FItems; }
    int LanguageCount() const { return static_cast<int>(FLanguages.size()); }
    TLangIdRec Languages(int index) const { return FLanguages.at(static_cast<size_t>(index)); }
    int TranslationCount() const { return static_cast<int>(FTranslations.size()); }
    TLangIdRec Translations(int index) const { return FTranslations.at(static_cast<size_t>(index)); }
    int LanguageIndex() const { return FLanguageIndex; }
    // Outside 0 .. LanguageCount-1 raises "Illegal language index".
    void SetLanguageIndex(int value);

    // "No value was supplied", "The value %s was not found."
    std::string GetCustomFieldValue(const std::string& fieldName) const;
    static std::string VersionLanguageId(const TLangIdRec& rec);
    static std::string VersionLanguageName(uint16_t langId);
    bool TranslationMatchesLanguages(bool exact = true) const;

    // Major (0), minor (1), release (2) or build (3) of a version text.
    static std::string VersionPart(const std::string& version, int part);

private:
    TUclFileVersionInfo() = default;
    void Parse(std::string_view data);
    void BuildItems();

    std::string FBuffer;
    TFixedFileInfo FFixedInfo;
    TFileFlags FFileFlags;
    std::vector<std::pair<std::string, int>> FItemList;
    std::vector<std::string> FItems;
    std::vector<TLangIdRec> FLanguages;
    int FLanguageIndex = 0;
    std::vector<TLangIdRec> FTranslations;
};

bool FileExistsNotDir(const std::string& fileName);
std::string ModuleFileName(uintptr_t module);
// The fixed block of a file's version information; false when it has none.
bool ReadFixedFileInfo(const std::string& fileName, TFixedFileInfo& info);

// The program's own version block, written at build time from its version
// record.
std::string_view ProgramVersionBlob();

} // namespace ucl
