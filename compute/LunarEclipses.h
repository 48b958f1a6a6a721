// A lunar eclipse of the catalogue: its catalogue values, quadratic
// polynomials of the Moon's right ascension, declination and distance
// around greatest eclipse, the seven contacts derived from the catalogue's
// phase durations, and for a place the Moon's azimuth and altitude at each
// contact with the resulting visibility zone class.
//
// Units and conventions:
//   - catalogue times (JD, contacts) are Julian Days in dynamical time (TD);
//     TLELocalCircumstances hands out universal time (UT = TD - deltaT());
//   - the polynomials take T in hours from greatest eclipse; RA and DEC in
//     degrees, R in astronomical units; contact angles are kept in radians;
//   - longitudes WEST positive, latitudes north positive, in degrees;
//     azimuth from the SOUTH, westward positive, in degrees; altitude
//     topocentric on a spherical Earth (equatorial radius 4.26345e-5 AU),
//     without refraction;
//   - sidereal time by GreenwichSiderealTime (AstroBase.h).
// Polynomial coefficients are long double; scalar catalogue values double.
// Hour angle and horizon coordinates after Meeus, Astronomical Algorithms,
// ch. 13.  GUI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"

namespace db {
class TDataSet;
}

namespace compute {

// One contact of the Moon with the Earth's shadow.
struct TLunarContact {
    long double JD = 0;     // TD; 0 when the contact does not exist
    long double RA = 0;     // radians
    long double DEC = 0;    // radians
    long double R = 0;      // astronomical units
    long double SinDEC = 0, CosDEC = 0, TanDEC = 0;
    long double GHA = 0;    // Greenwich hour angle, radians, not reduced
};

// Contact indices: 0 P1, 1 U1, 2 U2, 3 greatest eclipse, 4 U3, 5 U4, 6 P4.
struct TLELocalCircumstances {
    long double Longitude = 0;   // input, degrees, west positive
    long double Latitude = 0;    // input, degrees
    double JD[7] = {};           // contact times, UT; 0 when absent
    // Per contact: azimuth (degrees from the south, westward positive),
    // topocentric altitude (degrees), and a third value always 0.
    long double Moon[7][3] = {};
    int32_t State = 0;           // bit i: Moon above the horizon at contact i
    int32_t Zone = 0;            // visibility class 0..11
};

class TLunarEclipse : public rtl::TObject {
public:
    TLunarEclipse();

    // Loads the current row of a BE_LE catalogue data set and computes the
    // contacts; deltaT() becomes the program's delta-T model at JD.
    void ReadFromDataSet(db::TDataSet* dataSet);

    // Polynomial values at T hours from greatest eclipse: degrees, degrees, AU.
    long double RA(long double T) const;
    long double DEC(long double T) const;
    long double R(long double T) const;

    // Azimuth and altitude of the Moon at every contact, the State bits
    // and the zone class for lc.Latitude, lc.Longitude.  Always true.
    bool LocalCircumstances(TLELocalCircumstances& lc) const;
    // The visibility class 0..11 of a State for this eclipse's type.
    int LunarVisibilityZone(int state) const;
    // lc.State alone, bit for bit what LocalCircumstances gives for
    // (latitude, longitude), without the azimuths; the latitude's terms are
    // prepared once for every place of that latitude.
    //   TLELatitude row;
    //   lee.PrepareLatitude(lat, row);
    //   const int state = lee.LocalState(row, lon);
    struct TLELatitude {
        long double SinPhi = 0, CosPhi = 0;
    };
    void PrepareLatitude(long double latitude, TLELatitude& row) const;
    int LocalState(const TLELatitude& row, long double longitude) const;

    int32_t CatNo() const { return FCatNo; }
    double JD() const { return FJD; }
    const std::string& DT() const { return FDT; }
    int32_t Saros() const { return FSaros; }
    int32_t Lunation() const { return FLunation; }
    double Gamma() const { return FGamma; }
    const std::string& EclipseType() const { return FEclipseType; }
    double MagPenumbra() const { return FMagPenumbra; }
    double MagUmbra() const { return FMagUmbra; }
    double DurationPenumbra() const { return FDurationPenumbra; }
    double DurationPartial() const { return FDurationPartial; }
    double DurationTotal() const { return FDurationTotal; }
    const std::string& QSE() const { return FQSE; }
    // Delta T in days (the program's model at JD).
    double deltaT() const { return FdeltaT; }
    // Where the Moon is in the zenith at greatest eclipse (degrees, west +).
    double MELat() const { return FMELat; }
    void SetMELat(double v) { FMELat = v; }
    double MELon() const { return FMELon; }
    void SetMELon(double v) { FMELon = v; }
    // Catalogue delta T minus deltaT(), days.
    double ddt() const { return Fddt; }
    const TLunarContact& Contact(int index) const { return FContacts[index]; }

    std::string ClassName() const override { return "TLunarEclipse"; }

private:
    void ComputeContacts();

    std::string FQSE;
    double FdeltaT = 0;
    double FDurationPenumbra = 0;
    double FMagUmbra = 0;
    double FGamma = 0;
    double FJD = 0;
    double FMagPenumbra = 0;
    std::string FEclipseType;
    int32_t FSaros = 0, FLunation = 0, FCatNo = 0;
    double FDurationPartial = 0, FDurationTotal = 0;
    long double FRAe[3] = {};
    long double FDECe[3] = {};
    long double FRe[3] = {};
    TLunarContact FContacts[7];
    std::string FDT;
    double FMELon = 0, FMELat = 0;
    double Fddt = 0;
};

} // namespace compute
