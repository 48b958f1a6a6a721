// File version information: the version record of a program and the texts
// derived from it.  A program's record is the file installed beside it
// (see platform/sys/VersionRecord.h); this program's own record is compiled
// in and used for its own executable when no file lies beside it.
#pragma once

#include <string>

namespace app {

struct TFileVersionInfo {
    std::string FileType;
    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyRight;
    std::string LegalTradeMarks;
    std::string OriginalFileName;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
    std::string SpecialBuildStr;
    std::string PrivateBuildStr;
    std::string FileFunction;
    bool DebugBuild = false;
    bool PreRelease = false;
    bool SpecialBuild = false;
    bool PrivateBuild = false;
    bool Patched = false;
    bool InfoInferred = false;
};

// Flags of the fixed version record.
constexpr unsigned VS_FF_DEBUG = 0x01;
constexpr unsigned VS_FF_PRERELEASE = 0x02;
constexpr unsigned VS_FF_PATCHED = 0x04;
constexpr unsigned VS_FF_PRIVATEBUILD = 0x08;
constexpr unsigned VS_FF_INFOINFERRED = 0x10;
constexpr unsigned VS_FF_SPECIALBUILD = 0x20;

// Fills info for a file: every field is cleared first; FileType is the
// file's type name; a file that is not an executable gets nothing more; an
// executable without a version record keeps the string fields empty and
// the flags false.
void GetFileVersionInfoRec(const std::string& fileName, TFileVersionInfo& info);

// The FileFunction text of a fixed record's file type and subtype.
std::string FileFunctionText(unsigned fileType, unsigned fileSubtype);

// Splits "major.minor.release.build".  All four start at 0; for major,
// minor and release in turn, the text before the first "." is converted and
// removed with its "."; when no "." is left the result stays 0.  The rest
// is converted for build.  A conversion that fails leaves its result 0.
// So "4.2.0.117" gives 4, 2, 0, 117 and "4.2" gives 4, 0, 0, 2.
void ParseVersionNumbers(std::string text, int& major, int& minor, int& release, int& build);

} // namespace app
