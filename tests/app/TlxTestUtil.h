// Eclipses, places and folders of the sibling-document and hand-over tests.
// The eclipses are the published catalogue rows of CanonEclipses.h: the
// total solar eclipse of 2024 April 8 (number 9561), the annular one of
// 2012 May 20 (number 9535) and the total lunar eclipse of 2025 March 14
// (number 9706).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "CanonEclipses.h"
#include "TestPaths.h"
#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "app/TEDocuments.h"
#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "compute/BesselSE.h"
#include "compute/DatesAndTimes.h"
#include "compute/LunarEclipses.h"

namespace tlxtest {

using tectest::JD;
using tectest::Lunar20250314;
using tectest::Solar20120520;
using tectest::Solar20240408;

inline std::unique_ptr<compute::TSolarEclipse> LoadSolar(const tectest::TSolarRow& row)
{
    auto se = std::make_unique<compute::TSolarEclipse>();
    tectest::ReadRow(*se, row);
    return se;
}

inline std::unique_ptr<compute::TLunarEclipse> LoadLunar(const tectest::TLunarRow& row)
{
    auto le = std::make_unique<compute::TLunarEclipse>();
    tectest::ReadRow(*le, row);
    return le;
}

// A place; longitude west positive and latitude in degrees.
inline app::TObserverData* Place(const std::string& name, long double lonWest, long double lat, long double elevation,
                                 long double temperature, long double pressure, int32_t zone, const std::string& dsts)
{
    auto* o = new app::TObserverData;
    o->SetPlace(name);
    o->SetGeoLongitude(compute::DegToRadians(lonWest));
    o->SetGeoLatitude(compute::DegToRadians(lat));
    o->SetGeoElevation(elevation);
    o->SetTemperature(temperature);
    o->SetPressure(pressure);
    o->SetStdTimeZone(zone);
    o->SetDSTs(dsts);
    return o;
}

inline app::TObserverData* Dallas()
{
    return Place("Dallas (USA)", 96.8L, 32.75L, 139, 20, 1013.25L, -21600, "US & Canada");
}

inline app::TObserverData* Lima()
{
    return Place("Lima (Peru)", 77.05L, -12.05L, 154, 19.5L, 1010, -18000, "");
}

// The folder globals the documents use, pointed into a scratch folder and
// restored afterwards; the layout file is the shipped one.
class ScopedSiblingGlobals {
public:
    explicit ScopedSiblingGlobals(const std::filesystem::path& root)
        : FProgramPath(app::ProgramPath), FTemporaryPath(app::TemporaryPath), FTEPath(app::TEPath),
          FTETemporaryPath(app::TETemporaryPath), FTEDocumentsPath(app::TEDocumentsPath), FTEFound(app::TEFound),
          FTEPipeInterface(app::TEPipeInterface), FInternal(compute::UseInternalDeltaTTable)
    {
        namespace fs = std::filesystem;
        app::ProgramPath = std::string(TEC_RUNTIME_DIR) + "/";
        app::TemporaryPath = (root / "appdata" / "Temporary").string() + "/";
        app::TEPath = (root / "te").string() + "/";
        app::TETemporaryPath = app::TEPath + "Temporary/";
        app::TEDocumentsPath = (root / "documents" / "Tolmira Ephemeris").string() + "/";
        app::TEFound = true;
        app::TEPipeInterface = true;
        compute::UseInternalDeltaTTable = true;
        for (const auto& d : {app::TemporaryPath, app::TETemporaryPath, app::TEDocumentsPath}) fs::create_directories(d);
    }
    ~ScopedSiblingGlobals()
    {
        app::ProgramPath = FProgramPath;
        app::TemporaryPath = FTemporaryPath;
        app::TEPath = FTEPath;
        app::TETemporaryPath = FTETemporaryPath;
        app::TEDocumentsPath = FTEDocumentsPath;
        app::TEFound = FTEFound;
        app::TEPipeInterface = FTEPipeInterface;
        compute::UseInternalDeltaTTable = FInternal;
        app::ResetPathsHandlers();
    }

private:
    std::string FProgramPath, FTemporaryPath, FTEPath, FTETemporaryPath, FTEDocumentsPath;
    bool FTEFound, FTEPipeInterface, FInternal;
};

} // namespace tlxtest
