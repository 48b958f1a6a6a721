#include "dbgrids/ucl/UclStartup.h"

#include "dbgrids/ucl/UclAnsiStrings.h"
#include "dbgrids/ucl/UclBase.h"
#include "dbgrids/ucl/UclFileUtils.h"
#include "dbgrids/ucl/UclStrings.h"
#include "dbgrids/ucl/UclSysInfo.h"
#include "dbgrids/ucl/UclSysUtils.h"
#include "dbgrids/ucl/UclUnicode.h"
#include "dbgrids/ucl/UclUnitVersioning.h"

namespace ucl {

namespace {

bool gStarted = false;
bool gStopped = false;




void StartUp()
{
    const auto& units = UtilityUnitVersions();
    for (size_t i = 0; i < units.size(); ++i) {
        const std::string unit = TUnitVersion(&units[i]).RCSfile();
        if (unit == "UclAnsiStrings.pas") InitUclAnsiStrings();
        else if (unit == "UclSysInfo.pas") InitUclSysInfo();
        else if (unit == "UclUnicode.pas") InitUclUnicode();
        else if (unit == "UclStrings.pas") InitUclStrings();
        else if (unit == "UclBase.pas") InitUclBase();
        AddUnitVersion(HInstance, &units[i]);
    }
    gStarted = true;
}

struct TLayer {
    TLayer() { StartUp(); }
    ~TLayer() { ShutDownUtilityLayer(); }
} const gLayer;

} // namespace

bool UtilityLayerStarted() { return gStarted; }

void ShutDownUtilityLayer()
{
    if (gStopped) return;
    gStopped = true;
    const auto& units = UtilityUnitVersions();
    for (size_t i = units.size(); i-- > 0;) {
        const std::string unit = TUnitVersion(&units[i]).RCSfile();
        if (unit == "UclUnitVersioning.pas") {
            ShutDownUnitVersioning();
            continue;
        }
        RemoveUnitVersions(HInstance);
        if (unit == "UclUnicode.pas") FinalizeUclUnicode();
        else if (unit == "UclSysUtils.pas") FinalizeUclSysUtils();
    }
}

} // namespace ucl

// Pulled in by every target that links tec_ucl (see CMakeLists.txt), so the
// start-up sequence is never dropped by the linker.
extern "C" void tec_ucl_startup_anchor() {}
