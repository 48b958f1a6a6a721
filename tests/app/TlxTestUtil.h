// Eclipses, places and folders of the sibling-document and hand-over tests.
// The catalogue values are those the Five Millennium Canons publish for
// the total solar eclipse of 2024 April 8 (number 9561) and the total lunar
// eclipse of 2025 March 14 (number 9706).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "TestPaths.h"
#include "app/ObserverDataLists.h"
#include "app/SEPaths.h"
#include "app/TEDocuments.h"
#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "compute/BesselSE.h"
#include "compute/DatesAndTimes.h"
#include "compute/LunarEclipses.h"
#include "compute/CatalogueRows.h"

namespace tlxtest {

inline long double JD(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    compute::TDateTimeRec r;
    r.Year = year;
    r.Month = month;
    r.Day = day;
    r.Hour = hour;
    r.Minute = minute;
    r.Second = second;
    return compute::DateRecToJD(r);
}

// Catalogue row and Besselian elements of 2024 April 8.
inline comptest::TSolarRow Solar20240408()
{
    comptest::TSolarRow r;
    r.CatNo = 9561;
    r.Saros = 139;
    r.k = 300;
    r.T0 = 18;
    r.DT = "2024 Apr 08";
    r.Type = "T";
    r.JDE = JD(2024, 4, 8, 18, 18, 29);
    r.JD0 = JD(2024, 4, 8, 18);
    r.Gamma = 0.3431L;
    r.Magnitude = 1.0566L;
    const long double X[4] = {-0.318244L, 0.5117116L, 0.0000326L, -0.00000842L};
    const long double Y[4] = {0.219764L, 0.2709589L, -0.0000595L, -0.00000466L};
    const long double d[3] = {7.5862L, 0.014844L, -0.000002L};
    const long double L1[3] = {0.535814L, 0.0000618L, -0.0000128L};
    const long double L2[3] = {-0.010272L, 0.0000615L, -0.0000127L};
    std::copy(X, X + 4, r.X);
    std::copy(Y, Y + 4, r.Y);
    std::copy(d, d + 3, r.d);
    std::copy(L1, L1 + 3, r.L1);
    std::copy(L2, L2 + 3, r.L2);
    r.M[0] = 89.59122L;
    r.M[1] = 15.00408L;
    r.TanF1 = 0.0046683L;
    r.TanF2 = 0.0046450L;
    r.MELat = 25.28945L;
    r.MELon = 104.12775L;
    r.deltaT = 74;
    return r;
}

// The annular eclipse of 2012 May 20/21, whose maximum passes 0h UT
// along its path (number 9535).
inline comptest::TSolarRow Solar20120520()
{
    comptest::TSolarRow r;
    r.CatNo = 9535;
    r.Saros = 128;
    r.k = 153;
    r.T0 = 0;
    r.DT = "2012 May 20";
    r.Type = "A";
    r.JDE = JD(2012, 5, 20, 23, 53, 54);
    r.JD0 = JD(2012, 5, 21, 0);
    r.Gamma = 0.4828L;
    r.Magnitude = 0.9439L;
    const long double X[4] = {-0.002266L, 0.5031828L, 1.83e-05L, -5.7e-06L};
    const long double Y[4] = {0.485524L, 0.0560538L, -0.0001411L, -6e-07L};
    const long double d[3] = {20.2205601L, 0.008271L, -5e-06L};
    const long double L1[3] = {0.566487L, -3.12e-05L, -9.7e-06L};
    const long double L2[3] = {0.020248L, -3.11e-05L, -9.7e-06L};
    std::copy(X, X + 4, r.X);
    std::copy(Y, Y + 4, r.Y);
    std::copy(d, d + 3, r.d);
    std::copy(L1, L1 + 3, r.L1);
    std::copy(L2, L2 + 3, r.L2);
    r.M[0] = 180.856583L;
    r.M[1] = 15.00058L;
    r.TanF1 = 0.0046205L;
    r.TanF2 = 0.0045974L;
    r.MELat = 49.1L;
    r.MELon = -176.3L;
    r.deltaT = 68;
    return r;
}

// Catalogue row of 2025 March 14 (type letter replaceable); the Moon's
// polynomials are rough, the documents read only the catalogue values.
inline comptest::TLunarRow Lunar20250314(const std::string& type = "T")
{
    comptest::TLunarRow r;
    r.CatNo = 9706;
    r.Saros = 123;
    r.k = 311;
    r.DT = "2025 Mar 14";
    r.Type = type;
    r.QSE = "-p";
    r.JDE = JD(2025, 3, 14, 6, 59, 56);
    r.DurationPen = 362.6L / 60;
    r.DurationPar = 218.3L / 60;
    r.DurationTot = 65.4L / 60;
    r.Gamma = 0.3484L;
    r.MagPen = 2.2595L;
    r.MagUmbra = 1.1784L;
    r.MELat = 3;
    r.MELon = 102;
    r.deltaT = 75;
    r.RA[0] = 174;
    r.RA[1] = 0.55L;
    r.DEC[0] = 3;
    r.DEC[1] = -0.25L;
    r.R[0] = 0.00265L;
    return r;
}

inline std::unique_ptr<compute::TSolarEclipse> LoadSolar(const comptest::TSolarRow& row)
{
    auto se = std::make_unique<compute::TSolarEclipse>();
    auto ds = comptest::SolarDataSet(row);
    se->ReadFromDataSet(ds.get());
    return se;
}

inline std::unique_ptr<compute::TLunarEclipse> LoadLunar(const comptest::TLunarRow& row)
{
    auto le = std::make_unique<compute::TLunarEclipse>();
    auto ds = comptest::LunarDataSet(row);
    le->ReadFromDataSet(ds.get());
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
