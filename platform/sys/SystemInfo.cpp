// The system record; the platform's answers are those of a current desktop.

#include "platform/sys/SystemInfo.h"

namespace sys {

namespace {
TSystemInfo& Current()
{
    static TSystemInfo info;
    return info;
}
} // namespace

const TSystemInfo& SystemInfo() { return Current(); }
void SetSystemInfo(const TSystemInfo& info) { Current() = info; }
void ResetSystemInfo() { Current() = TSystemInfo{}; }

} // namespace sys
