#include "dbgrids/ucl/UclSysInfo.h"

#include <thread>

#include "platform/rtl/Strings.h"

namespace ucl {

namespace {
TUclSystemFacts gFacts;
}

TWindowsRelease GetWindowsRelease(const TWindowsVersionRecord& r)
{
    using W = TWindowsRelease;
    std::string sp = rtl::Trim(r.ServicePack);
    bool workstation = r.ExtendedInfoReadable && r.ProductType == 1;
    if (r.PlatformId == kPlatformWin9x) {
        if (r.Minor < 10) return (sp == "B" || sp == "C") ? W::wrlWin95OSR2 : W::wrlWin95;
        if (r.Minor < 90) {
            if (r.KernelProductVersion == 0x0004005A) return W::wrlWinME;
            return (sp == "A" || sp == "B") ? W::wrlWin98SE : W::wrlWin98;
        }
        return r.Minor == 90 ? W::wrlWinME : W::wrlUnknown;
    }
    if (r.PlatformId != kPlatformNT) return W::wrlUnknown;
    switch (r.Major) {
    case 3:
        return r.Minor == 1 ? W::wrlWinNT31 : r.Minor == 5 ? W::wrlWinNT35 : r.Minor == 51 ? W::wrlWinNT351 : W::wrlUnknown;
    case 4: return W::wrlWinNT4;
    case 5:
        if (r.Minor == 0) return W::wrlWin2000;
        if (r.Minor == 1) return W::wrlWinXP;
        if (r.Minor == 2) {
            if (r.ServerR2Metric != 0) return W::wrlWin2003R2;
            if (r.ProcessorArchitecture != 0 && workstation) return W::wrlWinXP64;
            return W::wrlWin2003;
        }
        return W::wrlUnknown;
    case 6:
        if (r.Minor == 0) return workstation ? W::wrlWinVista : W::wrlWinServer2008;
        if (r.Minor == 1) return workstation ? W::wrlWin7 : W::wrlWinServer2008R2;
        return W::wrlUnknown;
    default: return W::wrlUnknown;
    }
}

const TWindowsVersionRecord& RunningVersionRecord()
{
    static const TWindowsVersionRecord record;  // 6.1 workstation on x64
    return record;
}

TWindowsRelease GetWindowsRelease()
{
    return GetWindowsRelease(RunningVersionRecord());
}

const TUclSystemFacts& SystemFacts() { return gFacts; }

void InitUclSysInfo()
{
    gFacts.ProcessorCount = static_cast<int>(std::thread::hardware_concurrency());
    gFacts.PageSize = 4096;
    gFacts.AllocationGranularity = 65536;
    gFacts.IsWinNT = RunningVersionRecord().PlatformId == kPlatformNT;
    gFacts.KernelVersionHi = 0;  // only read on the 9x family
    gFacts.Release = GetWindowsRelease();
}

} // namespace ucl
