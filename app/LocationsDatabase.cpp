#include "app/LocationsDatabase.h"

#include "app/AppMessages.h"
#include "app/SEPaths.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"

namespace app {

TLocationsDatabase::TLocationsDatabase(std::string fileName) : FFileName(std::move(fileName)) {}

bool TLocationsDatabase::Open(TObserverDataList& list)
{
    if (FFileName.empty()) FFileName = LocationsFile;
    FBroken = false;
    FError.clear();
    try {
        if (!rtl::FileExists(FFileName)) list.SaveToFile(FFileName);
        list.ReadFromFile(FFileName);
        return true;
    } catch (const std::exception& e) {
        std::string reason = e.what();
        list.Clear();
        FBroken = rtl::FileExists(FFileName);
        FError = "The locations database could not be read:\r\n" + FFileName + "\r\n" + reason +
                 (FBroken ? "\r\nThe program starts with an empty database and leaves the file unchanged." : "");
        ShowNotice(FError);
        return false;
    }
}

bool TLocationsDatabase::Save(const TObserverDataList& list)
{
    if (FBroken) return false;
    if (FFileName.empty()) FFileName = LocationsFile;
    list.SaveToFile(FFileName);
    return true;
}

} // namespace app
