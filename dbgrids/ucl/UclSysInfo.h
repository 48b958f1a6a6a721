// Classification of the Windows release, as the utility library keeps it,
// and the facts it records at start-up.  The classification is a pure
// function of a version record; this platform reports a fixed record,
// Windows 7 (6.1, workstation), so callers take the path of a current
// system.  A record of 6.2 or later classifies as wrlUnknown, which callers
// treat as "before Windows 2000".
//
//   ucl::TWindowsVersionRecord r;            // the Linux record: 6.1 workstation
//   ucl::TWindowsRelease w = ucl::GetWindowsRelease(r);   // wrlWin7
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/TypInfo.h"

namespace ucl {

enum class TWindowsRelease {
    wrlUnknown, wrlWin95, wrlWin95OSR2, wrlWin98, wrlWin98SE, wrlWinME, wrlWinNT31, wrlWinNT35,
    wrlWinNT351, wrlWinNT4, wrlWin2000, wrlWinXP, wrlWin2003, wrlWinXP64, wrlWin2003R2, wrlWinVista,
    wrlWinServer2008, wrlWin7, wrlWinServer2008R2
};
RTL_ENUM(TWindowsRelease, "wrlUnknown", "wrlWin95", "wrlWin95OSR2", "wrlWin98", "wrlWin98SE", "wrlWinME",
         "wrlWinNT31", "wrlWinNT35", "wrlWinNT351", "wrlWinNT4", "wrlWin2000", "wrlWinXP", "wrlWin2003",
         "wrlWinXP64", "wrlWin2003R2", "wrlWinVista", "wrlWinServer2008", "wrlWin7", "wrlWinServer2008R2")

inline bool IsWindowsReleaseBefore2000(TWindowsRelease r) { return static_cast<int>(r) < 10; }
inline bool IsWindowsReleaseBeforeVista(TWindowsRelease r) { return static_cast<int>(r) < 15; }

constexpr int kPlatformWin9x = 1;
constexpr int kPlatformNT = 2;

// What the classification reads of the running system.
struct TWindowsVersionRecord {
    int PlatformId = kPlatformNT;
    int Major = 6;
    int Minor = 1;
    std::string ServicePack;             // trimmed before use
    bool ExtendedInfoReadable = true;
    int ProductType = 1;                 // 1 workstation, 2 domain controller, 3 server
    int ServerR2Metric = 0;              // SM_SERVERR2
    int ProcessorArchitecture = 9;       // 0 x86, 9 x64
    uint32_t KernelProductVersion = 0;   // 9x only: $0004005A for ME
};

TWindowsRelease GetWindowsRelease(const TWindowsVersionRecord& record);
// The running system's release (the fixed record of this platform).
TWindowsRelease GetWindowsRelease();
const TWindowsVersionRecord& RunningVersionRecord();

// Start-up facts.
struct TUclSystemFacts {
    int ProcessorCount = 0;
    uint32_t AllocationGranularity = 0;
    uint32_t PageSize = 0;
    bool IsWinNT = false;
    uint32_t KernelVersionHi = 0;
    TWindowsRelease Release = TWindowsRelease::wrlUnknown;
};
const TUclSystemFacts& SystemFacts();
void InitUclSysInfo();

} // namespace ucl
