#include "app/uFileInfo.h"

#include <filesystem>

#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/VersionRecord.h"

#ifndef TEC_VERSION_TEXT
#define TEC_VERSION_TEXT "0.1.0.0"
#endif

namespace app {

namespace {

// This program's own record, compiled in.
sys::TVersionRecord OwnRecord()
{
    sys::TVersionRecord r;
    r.Strings["CompanyName"] = "Tolmira";
    r.Strings["FileDescription"] = "Tolmira Eclipse Calculator";
    r.Strings["FileVersion"] = TEC_VERSION_TEXT;
    r.Strings["InternalName"] = "tolmira-eclipse";
    r.Strings["OriginalFileName"] = "tolmira-eclipse";
    r.Strings["ProductName"] = "Tolmira Eclipse Calculator";
    r.Strings["ProductVersion"] = TEC_VERSION_TEXT;
    r.HasFixedRecord = true;
    r.FileFlagsMask = 0x3F;
    r.FileType = 1;
    return r;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

} // namespace

std::string FileFunctionText(unsigned fileType, unsigned fileSubtype)
{
    static const char* const drivers[] = {
        "Unknown Driver", "Printer Driver", "Keyboard Driver", "Language Driver",
        "Display Driver", "Mouse Driver", "Network Driver", "System Driver",
        "InstallableDriver", "Sound Driver", "Communications Driver"};
    static const char* const fonts[] = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};
    switch (fileType) {
    case 0: return "Unknown";
    case 1: return "Application";
    case 2: return "DLL";
    case 3: return fileSubtype <= 10 ? drivers[fileSubtype] : "";
    case 4: return fileSubtype <= 3 ? fonts[fileSubtype] : "";
    case 5: return "Virtual Defice Identifier = " + rtl::IntToHex(fileSubtype, 8);
    case 7: return "Static-link Library";
    default: return "";
    }
}

void GetFileVersionInfoRec(const std::string& fileName, TFileVersionInfo& info)
{
    info = TFileVersionInfo{};
    info.FileType = sys::TFileKind::TypeName(fileName).substr(0, 80);
    if (!sys::TFileKind::IsExecutable(fileName)) return;

    sys::TVersionRecord r;
    if (!sys::TVersionRecord::Read(fileName, r)) {
        if (!SameFile(fileName, "/proc/self/exe")) return;
        r = OwnRecord();
    }
    info.CompanyName = r.Value("CompanyName");
    info.FileDescription = r.Value("FileDescription");
    info.FileVersion = r.Value("FileVersion");
    info.InternalName = r.Value("InternalName");
    info.LegalCopyRight = r.Value("LegalCopyRight");
    info.LegalTradeMarks = r.Value("LegalTradeMarks");
    info.OriginalFileName = r.Value("OriginalFileName");
    info.ProductName = r.Value("ProductName");
    info.ProductVersion = r.Value("ProductVersion");
    info.Comments = r.Value("Comments");
    info.SpecialBuildStr = r.Value("SpecialBuild");
    info.PrivateBuildStr = r.Value("PrivateBuild");
    if (!r.HasFixedRecord) return;
    auto flag = [&](unsigned bit) { return (r.FileFlagsMask & bit) && (r.FileFlags & bit); };
    info.DebugBuild = flag(VS_FF_DEBUG);
    info.PreRelease = flag(VS_FF_PRERELEASE);
    info.SpecialBuild = flag(VS_FF_SPECIALBUILD);
    info.PrivateBuild = flag(VS_FF_PRIVATEBUILD);
    info.Patched = flag(VS_FF_PATCHED);
    info.InfoInferred = flag(VS_FF_INFOINFERRED);
    info.FileFunction = FileFunctionText(r.FileType, r.FileSubtype);
}

void ParseVersionNumbers(std::string text, int& major, int& minor, int& release, int& build)
{
    major = minor = release = build = 0;
    int* parts[] = {&major, &minor, &release};
    for (int* part : parts) {
        int p = rtl::Pos(".", text);
        if (p == 0) continue;
        int32_t v = 0;
        if (rtl::TryStrToInt(rtl::Copy(text, 1, p - 1), v)) *part = v;
        rtl::Delete(text, 1, p);
    }
    int32_t v = 0;
    if (rtl::TryStrToInt(text, v)) build = v;
}

} // namespace app
