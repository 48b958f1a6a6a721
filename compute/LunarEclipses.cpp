#include "compute/LunarEclipses.h"

#include <cmath>
#include <cstddef>

#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "platform/db/DataSet.h"

namespace compute {

namespace {

// Equatorial radius of the Earth in astronomical units.
constexpr long double EarthRadiusAU = 4.26345e-5L;

struct TZoneRow {
    int zone;
    int states[12];   // ends at the first 0 (State 0 is always class 0)
};

// Which State values (bit i: Moon up at contact i) make which visibility
// class, per eclipse type; every other State is class 0.
const TZoneRow TotalZones[] = {
    {1, {1, 65}},
    {2, {2, 3, 67, 99}},
    {3, {4, 6, 7, 8, 12, 14, 15, 71, 79, 103, 111}},
    {4, {28, 30, 31, 60, 95}},
    {5, {62, 63}},
    {6, {119, 127}},
    {7, {126}},
    {8, {124, 125}},
    {9, {16, 24, 48, 56, 112, 113, 115, 120, 121, 123}},
    {10, {32, 96, 97}},
    {11, {64}}};
const TZoneRow PartialZones[] = {
    {1, {1, 65}},      {2, {2, 3, 10, 11, 67, 75, 99}}, {5, {42, 43}}, {6, {107}},
    {7, {106}},        {10, {32, 40, 96, 97, 104, 105}}, {11, {64}}};
const TZoneRow PenumbralZones[] = {{1, {1, 8, 9, 65}}, {6, {73}}, {11, {64, 72}}};

template <std::size_t N>
int FindZone(const TZoneRow (&rows)[N], int state)
{
    for (const TZoneRow& row : rows)
        for (int k = 0; k < 12 && row.states[k] != 0; ++k)
            if (row.states[k] == state)
                return row.zone;
    return 0;
}

} // namespace

TLunarEclipse::TLunarEclipse() = default;

void TLunarEclipse::ReadFromDataSet(db::TDataSet* ds)
{
    auto f = [ds](const char* name) { return ds->FieldByName(name)->AsFloat(); };
    auto i = [ds](const char* name) { return ds->FieldByName(name)->AsInteger(); };
    auto s = [ds](const char* name) { return ds->FieldByName(name)->AsString(); };

    FCatNo = i("CatNo");
    FJD = static_cast<double>(f("JDE"));
    FdeltaT = static_cast<double>(compute::DeltaT(FJD));
    Fddt = i("deltaT") / 86400.0 - FdeltaT;
    FDT = s("DT");
    FSaros = i("Saros");
    FLunation = i("k");
    FGamma = static_cast<double>(f("Gamma"));
    FMagPenumbra = static_cast<double>(f("MagPen"));
    FMagUmbra = static_cast<double>(f("MagUmbra"));
    FDurationPenumbra = static_cast<double>(f("DurationPen"));
    FDurationPartial = static_cast<double>(f("DurationPar"));
    FDurationTotal = static_cast<double>(f("DurationTot"));
    FEclipseType = s("Type");
    FMELat = static_cast<double>(f("MELat"));
    FMELon = static_cast<double>(f("MELon") + 360 * Fddt);
    FQSE = s("QSE");
    static const char* const raNames[3] = {"RA0", "RA1", "RA2"};
    static const char* const decNames[3] = {"DEC0", "DEC1", "DEC2"};
    static const char* const rNames[3] = {"R0", "R1", "R2"};
    for (int k = 0; k < 3; ++k) {
        FRAe[k] = f(raNames[k]);
        FDECe[k] = f(decNames[k]);
        FRe[k] = f(rNames[k]);
    }
    ComputeContacts();
}

// Contact times from the catalogue durations (half a duration in hours is
// duration/48 days), then the Moon's place and Greenwich hour angle at each.
void TLunarEclipse::ComputeContacts()
{
    for (TLunarContact& c : FContacts)
        c = TLunarContact();
    FContacts[0].JD = FJD - FDurationPenumbra / 48;
    FContacts[6].JD = FJD + FDurationPenumbra / 48;
    if (FDurationPartial > 0) {
        FContacts[1].JD = FJD - FDurationPartial / 48;
        FContacts[5].JD = FJD + FDurationPartial / 48;
    }
    if (FDurationTotal > 0) {
        FContacts[2].JD = FJD - FDurationTotal / 48;
        FContacts[4].JD = FJD + FDurationTotal / 48;
    }
    FContacts[3].JD = FJD;

    for (TLunarContact& c : FContacts) {
        if (c.JD <= 1)
            continue;
        const long double T = (c.JD - FJD) * 24;
        c.RA = DegToRadians(RA(T));
        c.DEC = DegToRadians(DEC(T));
        c.R = R(T);
        c.SinDEC = std::sin(c.DEC);
        c.CosDEC = std::cos(c.DEC);
        c.TanDEC = std::tan(c.DEC);
        c.GHA = GreenwichSiderealTime(c.JD - FdeltaT) * Pi / 12 - NormalizePositive(c.RA);
    }
}

long double TLunarEclipse::RA(long double T) const { return Poly2(T, FRAe[2], FRAe[1], FRAe[0]); }

long double TLunarEclipse::DEC(long double T) const { return Poly2(T, FDECe[2], FDECe[1], FDECe[0]); }

long double TLunarEclipse::R(long double T) const { return Poly2(T, FRe[2], FRe[1], FRe[0]); }

bool TLunarEclipse::LocalCircumstances(TLELocalCircumstances& lc) const
{
    for (auto& m : lc.Moon)
        m[0] = m[1] = m[2] = 0;
    lc.State = 0;
    lc.Zone = 0;
    const long double phi = DegToRadians(lc.Latitude);
    const long double lambda = DegToRadians(lc.Longitude);
    const long double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    for (int i = 0; i < 7; ++i) {
        const TLunarContact& c = FContacts[i];
        lc.JD[i] = static_cast<double>(c.JD);
        if (c.JD <= 1)
            continue;
        lc.JD[i] = static_cast<double>(c.JD - FdeltaT);
        const long double H = c.GHA - lambda;
        const long double azimuth = std::atan2(std::sin(H), std::cos(H) * sinPhi - c.TanDEC * cosPhi);
        const long double h = std::asin(sinPhi * c.SinDEC + cosPhi * c.CosDEC * std::cos(H));
        // Parallax in altitude for a spherical Earth.
        const long double topocentric = h - std::asin(std::cos(h) * EarthRadiusAU / c.R);
        lc.Moon[i][0] = RadiansToDeg(azimuth);
        lc.Moon[i][1] = RadiansToDeg(topocentric);
        if (topocentric > 0)
            lc.State |= 1 << i;
    }
    lc.Zone = LunarVisibilityZone(lc.State);
    return true;
}

void TLunarEclipse::PrepareLatitude(long double latitude, TLELatitude& row) const
{
    const long double phi = DegToRadians(latitude);
    row.SinPhi = std::sin(phi);
    row.CosPhi = std::cos(phi);
}

int TLunarEclipse::LocalState(const TLELatitude& row, long double longitude) const
{
    // LocalCircumstances' own steps for the altitudes.
    const long double lambda = DegToRadians(longitude);
    const long double sinPhi = row.SinPhi, cosPhi = row.CosPhi;
    int state = 0;
    for (int i = 0; i < 7; ++i) {
        const TLunarContact& c = FContacts[i];
        if (c.JD <= 1)
            continue;
        const long double H = c.GHA - lambda;
        const long double h = std::asin(sinPhi * c.SinDEC + cosPhi * c.CosDEC * std::cos(H));
        const long double topocentric = h - std::asin(std::cos(h) * EarthRadiusAU / c.R);
        if (topocentric > 0)
            state |= 1 << i;
    }
    return state;
}

int TLunarEclipse::LunarVisibilityZone(int state) const
{
    const char type = FEclipseType.empty() ? ' ' : FEclipseType[0];
    switch (type) {
    case 'T': return FindZone(TotalZones, state);
    case 'P': return FindZone(PartialZones, state);
    case 'N': return FindZone(PenumbralZones, state);
    default: return 0;
    }
}

} // namespace compute
