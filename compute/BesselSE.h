// A solar eclipse of the catalogue as Besselian elements, and what is
// computed from them: the local circumstances at a place (contacts,
// maximum, magnitude, Sun altitudes, local type), the central line, the
// limits of the total/annular path and of the partial phase, curves of
// equal magnitude and the greatest eclipse at a place.
//
// Method: Besselian elements after the Explanatory Supplement to the
// Astronomical Almanac (1992, ch. 8) and Meeus, Elements of Solar Eclipses
// 1951-2200 (1989); the local-circumstance iterations as in the Five
// Millennium Canon's local-circumstance computations.
//
// Units and conventions everywhere in this unit:
//   - times are Julian Days; the elements and every internal iteration run
//     in dynamical time (TD); only TSELocalCircumstances hands out universal
//     time (UT = TD - DeltaT());
//   - the element polynomials take t = (JD - JD0) * 24 hours;
//   - x, y, l1, l2 in Earth equatorial radii; d and mu in degrees, M1 in
//     degrees per hour;
//   - latitudes are geodetic, north positive; longitudes WEST positive; both
//     in degrees; altitudes in degrees, geometric (no refraction, no
//     parallax); observers at height 0 on the reference ellipsoid
//     (b/a = 0.99664719);
//   - the Earth's rotation during delta T enters the hour angle as
//     0.00417807 degrees per second of DeltaT().
// Elements and catalogue values are long double; MELat, MELon and ddT
// double.  The solvers share one process-wide iteration limit
// (SetEclipseAccuracy).  The solvers only read the object: several threads
// may solve at once while nothing changes the eclipse or the limit.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"

namespace db {
class TDataSet;
}

namespace compute {

// Local circumstances of a solar eclipse at one place.
struct TSELocalCircumstances {
    long double Longitude = 0;   // input, degrees, west positive
    long double Latitude = 0;    // input, degrees (geodetic)
    long double JD0 = 0, SA0 = 0;   // first contact (JD, UT) and Sun altitude
    long double JD1 = 0, SA1 = 0;   // second contact (start of total/annular phase)
    long double JD2 = 0, SA2 = 0;   // maximum
    long double JD3 = 0, SA3 = 0;   // third contact
    long double JD4 = 0, SA4 = 0;   // last contact
    long double JD[5] = {};         // copies of JD0..JD4
    long double SA[5] = {};         // copies of SA0..SA4
    long double Magnitude = 0;      // fraction of the Sun's diameter covered
    char EclipseType = 'N';         // 'N' none, 'P' partial, 'A' annular, 'T' total
};

// Up to two points of a curve on one meridian.
struct TCurveData {
    long double JD1 = 0, JD2 = 0;             // TD
    long double Latitude1 = 0, Latitude2 = 0; // degrees
    long double Altitude1 = 0, Altitude2 = 0; // Sun altitude, degrees
    bool Valid1 = false, Valid2 = false;
};

// The iteration limit of every solar solver: 25 (true) or 20 (false);
// 25 at start-up.
void SetEclipseAccuracy(bool high);
int EclipseIterationLimit();

// Constants of the local-circumstance solver, for code that bounds what it
// can give: the Earth's rotation per second of delta T (degrees), the
// convergence tolerance of the maximum and the contacts (hours), the factor
// of the observer's rates (radians per degree, as the solver rounds it) and
// the ellipsoid's axis ratio b/a.
constexpr long double SERotationPerSecond = 0.00417807L;
constexpr long double SESolverTolerance = 0.0002L;
constexpr long double SERateFactor = 0.01745329L;
constexpr long double SEAxisRatio = 0.99664719L;

// The latitude terms of a place (height 0), prepared once for every place
// of that latitude.
struct TSEPlace {
    long double Latitude = 0;   // degrees (geodetic)
    long double RhoSinPhi = 0, RhoCosPhi = 0;
    long double SinPhi = 0, CosPhi = 0;
};

// The hour angle of a longitude at JDE (where every solve starts), prepared
// once for every place of that longitude.
struct TSEMeridian {
    long double Longitude = 0;  // degrees, west positive
    long double H = 0;          // degrees
    long double SinH = 0, CosH = 0;
};

// The elements at JDE, prepared once per eclipse for the solves.
struct TSEStart {
    long double JD = 0;
    long double M = 0, SinD = 0, CosD = 0;
    long double X = 0, Y = 0, dX = 0, dY = 0, L1 = 0, L2 = 0;
};

// What LocalMaximum leaves for LocalContacts: the maximum's time (TD), the
// half-durations of the partial and central phases (hours) the contacts
// start from, and whether there is an eclipse to find contacts of.
struct TSEMaximum {
    long double JD = 0;
    long double Tau1 = 0, Tau2 = 0;
    bool Eclipse = false;
};

// Geocentric coordinates of an observer at geodetic latitude (degrees) and
// height (metres), in Earth equatorial radii.
void ObserverGeocentric(long double& rhoSinPhi, long double& rhoCosPhi, long double latitude,
                        long double height);

class TSolarEclipse : public rtl::TObject {
public:
    TSolarEclipse();

    // Loads the current row of a BE_SE catalogue data set (columns by name;
    // a missing column raises the data set's exception).  DeltaT() becomes
    // the program's delta-T model at JDE, and the point of greatest
    // eclipse moves by 360 degrees per day of (catalogue - program) delta T.
    void ReadFromDataSet(db::TDataSet* dataSet);

    // Element values at a time (JD, TD): X, Y, L1, L2 in Earth radii, d and
    // M in degrees; dX, dY in Earth radii per hour.
    long double X(long double jd) const;
    long double Y(long double jd) const;
    long double d(long double jd) const;
    long double M(long double jd) const;
    long double L1(long double jd) const;
    long double L2(long double jd) const;
    long double dX(long double jd) const;
    long double dY(long double jd) const;

    // Local circumstances at lc.Latitude, lc.Longitude: true when an
    // eclipse is seen there and every contact converged.  Times out in UT.
    bool LocalCircumstances(TSELocalCircumstances& lc) const;
    // The same for many places: the latitude, longitude and start terms
    // prepared once by this eclipse (lc's Latitude and Longitude are taken
    // from place and meridian).  Gives bit for bit what LocalCircumstances
    // gives.
    void PreparePlace(long double latitude, TSEPlace& place) const;
    void PrepareMeridian(long double longitude, TSEMeridian& meridian) const;
    void PrepareStart(TSEStart& start) const;
    bool LocalCircumstances(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian& meridian,
                            const TSEStart& start) const;
    // The maximum alone: JD2, SA2, Magnitude and EclipseType as
    // LocalCircumstances gives them (the contacts are not refined, their
    // fields mean nothing).  True when the maximum converged with an
    // eclipse there; LocalCircumstances is then true when the contacts
    // converge too.
    bool LocalMaximum(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian& meridian,
                      const TSEStart& start) const;
    // The same, keeping in maximum where the contacts start; LocalContacts
    // then finishes the solve: lc and the result become bit for bit what
    // LocalCircumstances gives, without solving the maximum again.
    //   if (see.LocalMaximum(lc, place, meridian, start, m) && wanted(lc))
    //       ok = see.LocalContacts(lc, place, m);
    bool LocalMaximum(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian& meridian,
                      const TSEStart& start, TSEMaximum& maximum) const;
    bool LocalContacts(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMaximum& maximum) const;

    // The central line at a time jde (TD): where the shadow axis meets the
    // Earth, and the Sun's altitude there.  False when it misses.
    bool CurveOfCentralEclipse(long double jde, long double& latitude, long double& longitude,
                               long double& altitude) const;
    // The latitudes on the meridian `longitude` where the local magnitude
    // equals G on the side `signum` (+1/-1) of the shadow track (G 0: limit
    // of the partial phase, G 1: edge of the total/annular path; signum 0
    // with G 0: the central line).  Returns Data.Valid1.
    bool LimitsFromLongitude(long double longitude, int signum, long double G, TCurveData& data) const;
    bool CurveOfCentralEclipseFromLongitude(long double longitude, TCurveData& data) const;
    bool LimitsOfPathOfTotalOrAnnularPhase(long double longitude, int signum, TCurveData& data) const;
    bool CurveOfEqualMagnitude(long double longitude, int signum, long double magnitude,
                               TCurveData& data) const;
    // Time (JD, TD), magnitude and Sun altitude of maximum eclipse at a
    // place (height 0); true when the iteration converged.
    bool GreatestEclipse(long double latitude, long double longitude, long double& jd,
                         long double& magnitude, long double& altitude) const;

    // --- catalogue values -----------------------------------------------
    long double JDE() const { return FJDE; }
    void SetJDE(long double v) { FJDE = v; }
    long double JD0() const { return FJD0; }
    void SetJD0(long double v) { FJD0 = v; }
    const std::string& DT() const { return FDT; }
    void SetDT(const std::string& v) { FDT = v; }
    int32_t T0() const { return FT0; }
    void SetT0(int32_t v) { FT0 = v; }
    long double TanF1() const { return FTanF1; }
    void SetTanF1(long double v) { FTanF1 = v; }
    long double TanF2() const { return FTanF2; }
    void SetTanF2(long double v) { FTanF2 = v; }
    int32_t Saros() const { return FSaros; }
    void SetSaros(int32_t v) { FSaros = v; }
    int32_t Lunation() const { return FLunation; }
    void SetLunation(int32_t v) { FLunation = v; }
    int32_t CatNo() const { return FCatNo; }
    void SetCatNo(int32_t v) { FCatNo = v; }
    long double Gamma() const { return FGamma; }
    void SetGamma(long double v) { FGamma = v; }
    long double Magnitude() const { return FMagnitude; }
    void SetMagnitude(long double v) { FMagnitude = v; }
    const std::string& EclipseType() const { return FEclipseType; }
    void SetEclipseType(const std::string& v) { FEclipseType = v; }
    // Delta T in days used for UT and the hour angle.
    long double DeltaT() const { return FDeltaT; }
    void SetDeltaT(long double v) { FDeltaT = v; }
    // Point of greatest eclipse, degrees, longitude west positive.
    double MELat() const { return FMELat; }
    void SetMELat(double v) { FMELat = v; }
    double MELon() const { return FMELon; }
    void SetMELon(double v) { FMELon = v; }
    // Catalogue delta T minus DeltaT(), days.
    double ddT() const { return FddT; }

    // Element coefficients by index (X, Y: 0..3; d, L1, L2: 0..2; M: 0..1).
    // Another index raises rtl::Exception "Index out of range (Xe)." etc.
    void SetXe(int index, long double value);
    void SetYe(int index, long double value);
    void Setde(int index, long double value);
    void SetMe(int index, long double value);
    void SetL1e(int index, long double value);
    void SetL2e(int index, long double value);
    long double Xe(int index) const;
    long double Ye(int index) const;
    long double de(int index) const;
    long double Me(int index) const;
    long double L1e(int index) const;
    long double L2e(int index) const;

    std::string ClassName() const override { return "TSolarEclipse"; }

private:
    // The fundamental quantities at one time for one place.
    struct TFundamentals {
        long double H = 0;        // hour angle, degrees
        long double sinH = 0, cosH = 0;
        long double sind = 0, cosd = 0;
        long double xi = 0, eta = 0, zeta = 0;
        long double u = 0, v = 0, a = 0, b = 0, n2 = 0;
        long double L1p = 0, L2p = 0;   // cone radii on the observer's plane
    };
    void Fundamentals(long double jd, long double longitude, long double rhoSinPhi,
                      long double rhoCosPhi, TFundamentals& f) const;
    // The observer's part of Fundamentals, f.H, f.sinH and f.cosH set.
    void ObserverTerms(const TSEStart& e, long double rhoSinPhi, long double rhoCosPhi, TFundamentals& f) const;
    void ElementsAt(long double jd, TSEStart& e) const;
    bool Circumstances(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian* meridian,
                       const TSEStart* start, bool contacts, TSEMaximum* kept = nullptr) const;
    // The contacts of a solve whose maximum is m: JD0, JD1, JD3, JD4 (TD)
    // and their altitudes in lc.  False when one does not converge.
    bool Contacts(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMaximum& m) const;
    // The solve's times to UT (those computed) and their copies in the arrays.
    void FinishTimes(TSELocalCircumstances& lc, bool maximumConverged, bool contactsOnly) const;
    long double ElementTime(long double jd) const { return (jd - FJD0) * 24; }
    bool SolveLimitPoint(long double longitude, int signum, long double G, long double& jd,
                         long double& latitude, long double& altitude, int& count) const;
    // With first, f already holds the quantities at jd for the first step.
    bool NearestApproach(long double& jd, long double longitude, long double rhoSinPhi,
                         long double rhoCosPhi, TFundamentals& f, int limit, long double tolerance,
                         bool first = false) const;
    bool RefineContact(long double& jd, long double& altitude, long double sign, bool outer,
                       long double longitude, long double rhoSinPhi, long double rhoCosPhi,
                       long double sinPhi, long double cosPhi) const;

    long double FXe[4] = {};
    long double FYe[4] = {};
    long double Fde[3] = {};
    long double FMe[2] = {};
    long double FL1e[3] = {};
    long double FL2e[3] = {};
    long double FTanF1 = 0, FTanF2 = 0;
    long double FJDE = 0;
    int32_t FSaros = 0;
    long double FGamma = 0, FMagnitude = 0;
    int32_t FLunation = 0;
    int32_t FT0 = 0;
    std::string FEclipseType = "N";
    std::string FDT;
    int32_t FCatNo = 0;
    long double FJD0 = 0;
    long double FDeltaT = 0;
    double FMELon = 0, FMELat = 0;
    double FddT = 0;
};

} // namespace compute
