// The Windows-release classification as a pure function of a record.
#include <gtest/gtest.h>

#include "dbgrids/ucl/UclBase.h"
#include "dbgrids/ucl/UclStartup.h"
#include "dbgrids/ucl/UclSysInfo.h"

using namespace ucl;
using W = TWindowsRelease;

TEST(UclSysInfo, ReleaseTable)
{
    auto nt = [](int major, int minor, int product = 1) {
        TWindowsVersionRecord r;
        r.Major = major;
        r.Minor = minor;
        r.ProductType = product;
        return r;
    };
    auto w9x = [](int minor, const char* sp) {
        TWindowsVersionRecord r;
        r.PlatformId = kPlatformWin9x;
        r.Major = 4;
        r.Minor = minor;
        r.ServicePack = sp;
        return r;
    };
    struct Case {
        TWindowsVersionRecord r;
        W want;
    } cases[] = {
        {nt(5, 1), W::wrlWinXP},
        {nt(6, 1), W::wrlWin7},
        {nt(6, 1, 3), W::wrlWinServer2008R2},
        {nt(6, 0), W::wrlWinVista},
        {nt(6, 2), W::wrlUnknown},
        {nt(10, 0), W::wrlUnknown},
        {nt(5, 0), W::wrlWin2000},
        {nt(3, 51), W::wrlWinNT351},
        {w9x(0, " C "), W::wrlWin95OSR2},
        {w9x(0, "A"), W::wrlWin95},
        {w9x(10, "A"), W::wrlWin98SE},
        {w9x(90, ""), W::wrlWinME},
        {w9x(91, ""), W::wrlUnknown},
    };
    for (auto& c : cases)
        EXPECT_EQ(GetWindowsRelease(c.r), c.want) << c.r.Major << "." << c.r.Minor << " " << c.r.ServicePack;
    TWindowsVersionRecord server2003 = nt(5, 2, 3);
    EXPECT_EQ(GetWindowsRelease(server2003), W::wrlWin2003);
    server2003.ServerR2Metric = 1;
    EXPECT_EQ(GetWindowsRelease(server2003), W::wrlWin2003R2);
    TWindowsVersionRecord xp64 = nt(5, 2, 1);
    EXPECT_EQ(GetWindowsRelease(xp64), W::wrlWinXP64);
    EXPECT_TRUE(IsWindowsReleaseBefore2000(W::wrlUnknown));
}

TEST(UclSysInfo, ThisPlatformReportsWindows7AndStartedUp)
{
    EXPECT_TRUE(UtilityLayerStarted());
    EXPECT_EQ(GetWindowsRelease(), W::wrlWin7);
    EXPECT_EQ(SystemFacts().Release, W::wrlWin7);
    EXPECT_TRUE(SystemFacts().IsWinNT);
    EXPECT_EQ(AnsiReplacementChar(), '?');
}
