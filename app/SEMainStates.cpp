#include "app/SEMainStates.h"

namespace app {

bool IsIdleStatus(TStatus status)
{
    return status == stNeedCalculation || status == stCalculated || status == stCancelled;
}

bool AcceptsDroppedFiles(TStatus status) { return status != stCalculating; }

std::map<std::string, bool> ActionEnabledStates(const TActionStateInput& in)
{
    const bool idle = IsIdleStatus(in.Status);
    const bool recover = idle || in.Status == stError;
    const bool any = in.LocationCount > 0;
    std::map<std::string, bool> s;
    for (const char* name : {"actSaveAsGraphics", "actFileSaveAs", "actFileSave", "actFilePrint", "actMapGeneral",
                             "actMapStandard", "actMapOpenFile", "actMapGreyScale", "actSettingsDeltaT",
                             "actSettingsSettings"})
        s[name] = idle;
    for (const char* name : {"actSelectEclipse", "actFileNew", "actFileOpen"}) s[name] = recover;
    s["actCancelCalculation"] = in.Status == stCalculating;
    for (const char* name : {"actLocationsEdit", "actLocationsDelete", "actLocationsClear", "actLocationsShowInMap",
                             "actLocationsSaveList", "actLocationsSortByName", "actLocationsSortByCountry",
                             "actLocationsSortByLatitude", "actLocationsSortByLongitude", "actLocationsPrint"})
        s[name] = any;
    s["actLocationsSortByMagnitude"] = any && in.SolarEclipse;
    s["actLocationsSEEclipses"] = any && idle;
    s["actLocationsLEEclipses"] = any && idle;
    s["actLocationsRunInTE"] = any && in.TEFound;
    s["actLocationsSaveAsTEDocument"] = any && in.TEFound;
    return s;
}

} // namespace app
