// TSolarEclipse: elements, catalogue row and local circumstances.
#include "compute/BesselSE.h"

#include <cmath>
#include <utility>

#include "compute/AstroBase.h"
#include "compute/AstroMath.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Exceptions.h"

namespace compute {

namespace {

int IterationLimit = 25;

// Earth's rotation in degrees per second of time (1.002738 * 15"/s).
constexpr long double RotationPerSecond = SERotationPerSecond;

// One coefficient of an element's polynomial, the index checked.
template <typename T, std::size_t N>
T& Coefficient(T (&coefficients)[N], int index, const char* array)
{
    if (index < 0 || index >= static_cast<int>(N))
        throw rtl::Exception(std::string("Index out of range (") + array + ").");
    return coefficients[index];
}

long double Altitude(long double sind, long double cosd, long double sinPhi, long double cosPhi,
                     long double cosH)
{
    return RadiansToDeg(std::asin(sind * sinPhi + cosd * cosPhi * cosH));
}

} // namespace

void SetEclipseAccuracy(bool high) { IterationLimit = high ? 25 : 20; }

int EclipseIterationLimit() { return IterationLimit; }

// Geodetic latitude to geocentric rho sin(phi'), rho cos(phi') (Meeus,
// Astronomical Algorithms, ch. 11), with the catalogue's flattening.
void ObserverGeocentric(long double& rhoSinPhi, long double& rhoCosPhi, long double latitude,
                        long double height)
{
    const long double phi = DegToRadians(latitude);
    const long double u = std::atan(SEAxisRatio * std::tan(phi));
    rhoSinPhi = SEAxisRatio * std::sin(u) + (height / 6378140) * std::sin(phi);
    rhoCosPhi = std::cos(u) + (height / 6378140) * std::cos(phi);
}

TSolarEclipse::TSolarEclipse() = default;

void TSolarEclipse::ReadFromDataSet(db::TDataSet* ds)
{
    auto f = [ds](const char* name) { return ds->FieldByName(name)->AsFloat(); };
    auto i = [ds](const char* name) { return ds->FieldByName(name)->AsInteger(); };
    auto s = [ds](const char* name) { return ds->FieldByName(name)->AsString(); };

    FJDE = f("JDE");
    FDeltaT = compute::DeltaT(FJDE);
    FddT = i("deltaT") / 86400.0L - FDeltaT;
    FJD0 = f("JD0");
    FDT = s("DT");
    FSaros = i("Saros");
    FLunation = i("k");
    FCatNo = i("CatNo");
    FEclipseType = s("Type");
    FT0 = i("T0");
    FGamma = f("Gamma");
    FMagnitude = f("Magnitude");
    FMELat = static_cast<double>(f("MELat"));
    FMELon = static_cast<double>(f("MELon") + 360 * FddT);
    static const char* const xNames[4] = {"X0", "X1", "X2", "X3"};
    static const char* const yNames[4] = {"Y0", "Y1", "Y2", "Y3"};
    for (int k = 0; k < 4; ++k) {
        FXe[k] = f(xNames[k]);
        FYe[k] = f(yNames[k]);
    }
    static const char* const dNames[3] = {"d0", "d1", "d2"};
    static const char* const l1Names[3] = {"L10", "L11", "L12"};
    static const char* const l2Names[3] = {"L20", "L21", "L22"};
    for (int k = 0; k < 3; ++k)
        Fde[k] = f(dNames[k]);
    FMe[0] = f("M0");
    FMe[1] = f("M1");
    for (int k = 0; k < 3; ++k)
        FL1e[k] = f(l1Names[k]);
    for (int k = 0; k < 3; ++k)
        FL2e[k] = f(l2Names[k]);
    FTanF1 = f("TanF1");
    FTanF2 = f("TanF2");
}

// --- elements ---------------------------------------------------------------

long double TSolarEclipse::X(long double jd) const
{
    return Poly3(ElementTime(jd), FXe[3], FXe[2], FXe[1], FXe[0]);
}

long double TSolarEclipse::Y(long double jd) const
{
    return Poly3(ElementTime(jd), FYe[3], FYe[2], FYe[1], FYe[0]);
}

long double TSolarEclipse::d(long double jd) const
{
    return Poly2(ElementTime(jd), Fde[2], Fde[1], Fde[0]);
}

long double TSolarEclipse::M(long double jd) const { return Poly1(ElementTime(jd), FMe[1], FMe[0]); }

long double TSolarEclipse::L1(long double jd) const
{
    return Poly2(ElementTime(jd), FL1e[2], FL1e[1], FL1e[0]);
}

long double TSolarEclipse::L2(long double jd) const
{
    return Poly2(ElementTime(jd), FL2e[2], FL2e[1], FL2e[0]);
}

long double TSolarEclipse::dX(long double jd) const
{
    const long double t = ElementTime(jd);
    return FXe[1] + 2 * FXe[2] * t + 3 * FXe[3] * t * t;
}

long double TSolarEclipse::dY(long double jd) const
{
    const long double t = ElementTime(jd);
    return FYe[1] + 2 * FYe[2] * t + 3 * FYe[3] * t * t;
}

void TSolarEclipse::SetXe(int index, long double value) { Coefficient(FXe, index, "Xe") = value; }
void TSolarEclipse::SetYe(int index, long double value) { Coefficient(FYe, index, "Ye") = value; }
void TSolarEclipse::Setde(int index, long double value) { Coefficient(Fde, index, "de") = value; }
void TSolarEclipse::SetMe(int index, long double value) { Coefficient(FMe, index, "Me") = value; }
void TSolarEclipse::SetL1e(int index, long double value) { Coefficient(FL1e, index, "L1e") = value; }
void TSolarEclipse::SetL2e(int index, long double value) { Coefficient(FL2e, index, "L2e") = value; }
long double TSolarEclipse::Xe(int index) const { return Coefficient(FXe, index, "Xe"); }
long double TSolarEclipse::Ye(int index) const { return Coefficient(FYe, index, "Ye"); }
long double TSolarEclipse::L1e(int index) const { return Coefficient(FL1e, index, "L1e"); }
long double TSolarEclipse::L2e(int index) const { return Coefficient(FL2e, index, "L2e"); }
long double TSolarEclipse::de(int index) const { return Coefficient(Fde, index, "de"); }
long double TSolarEclipse::Me(int index) const { return Coefficient(FMe, index, "Me"); }

// --- fundamental quantities -------------------------------------------------

// The observer's coordinates (xi, eta, zeta) on the fundamental plane, their
// hourly rates, and the shadow's position (u, v) and motion (a, b) relative
// to the observer, at time jd (TD).  Rates per hour; d1 and M1 are the
// elements' hourly coefficients in degrees, hence the factor pi/180.
void TSolarEclipse::Fundamentals(long double jd, long double longitude, long double rhoSinPhi,
                                 long double rhoCosPhi, TFundamentals& f) const
{
    TSEStart e;
    ElementsAt(jd, e);
    f.H = e.M - longitude - RotationPerSecond * FDeltaT * 86400;
    const long double H = DegToRadians(f.H);
    f.sinH = std::sin(H);
    f.cosH = std::cos(H);
    ObserverTerms(e, rhoSinPhi, rhoCosPhi, f);
}

// The elements at time jd (TD) that Fundamentals takes.
void TSolarEclipse::ElementsAt(long double jd, TSEStart& e) const
{
    e.JD = jd;
    e.M = M(jd);
    const long double dd = DegToRadians(d(jd));
    e.SinD = std::sin(dd);
    e.CosD = std::cos(dd);
    e.X = X(jd);
    e.Y = Y(jd);
    e.dX = dX(jd);
    e.dY = dY(jd);
    e.L1 = L1(jd);
    e.L2 = L2(jd);
}

void TSolarEclipse::ObserverTerms(const TSEStart& e, long double rhoSinPhi, long double rhoCosPhi,
                                  TFundamentals& f) const
{
    f.sind = e.SinD;
    f.cosd = e.CosD;
    f.xi = rhoCosPhi * f.sinH;
    f.eta = rhoSinPhi * f.cosd - rhoCosPhi * f.cosH * f.sind;
    f.zeta = rhoSinPhi * f.sind + rhoCosPhi * f.cosH * f.cosd;
    const long double xiRate = SERateFactor * FMe[1] * rhoCosPhi * f.cosH;
    const long double etaRate = SERateFactor * (FMe[1] * f.xi * f.sind - Fde[1] * f.zeta);
    f.u = e.X - f.xi;
    f.v = e.Y - f.eta;
    f.a = e.dX - xiRate;
    f.b = e.dY - etaRate;
    f.n2 = f.a * f.a + f.b * f.b;
    f.L1p = e.L1 - f.zeta * FTanF1;
    f.L2p = e.L2 - f.zeta * FTanF2;
}

// Moves jd (TD) to the instant the place is closest to the shadow axis, by
// steps until one is shorter than tolerance (hours); f holds the quantities
// there.  False when limit steps did not get there.
bool TSolarEclipse::NearestApproach(long double& jd, long double longitude, long double rhoSinPhi,
                                    long double rhoCosPhi, TFundamentals& f, int limit,
                                    long double tolerance, bool first) const
{
    int count = 0;
    for (;;) {
        if (!first || count > 0)
            Fundamentals(jd, longitude, rhoSinPhi, rhoCosPhi, f);
        const long double tau = -(f.u * f.a + f.v * f.b) / f.n2;
        jd += tau / 24;
        ++count;
        if (count >= limit || std::fabs(tau) < tolerance)
            break;
    }
    return count < limit;
}

// --- local circumstances ----------------------------------------------------

// Refines a contact time jd (TD) in place: outer contacts on the penumbral
// radius L1', inner ones on the umbral radius L2'; sign -1 moves to the
// earlier, +1 to the later solution.  Gives the Sun's altitude there.
bool TSolarEclipse::RefineContact(long double& jd, long double& altitude, long double sign, bool outer,
                                  long double longitude, long double rhoSinPhi, long double rhoCosPhi,
                                  long double sinPhi, long double cosPhi) const
{
    TFundamentals f;
    int count = 0;
    long double S = 0;
    for (;;) {
        Fundamentals(jd, longitude, rhoSinPhi, rhoCosPhi, f);
        const long double L = outer ? f.L1p : f.L2p;
        const long double n = std::sqrt(f.n2);
        S = (f.a * f.v - f.u * f.b) / (n * L);
        if (std::fabs(S) > 1)
            break;
        const long double tau = sign * L * std::sqrt(1 - S * S) / n - (f.u * f.a + f.v * f.b) / f.n2;
        jd += tau / 24;
        ++count;
        if (count >= IterationLimit || std::fabs(tau) < SESolverTolerance)
            break;
    }
    altitude = Altitude(f.sind, f.cosd, sinPhi, cosPhi, f.cosH);
    return count < IterationLimit && std::fabs(S) <= 1;
}

void TSolarEclipse::PreparePlace(long double latitude, TSEPlace& place) const
{
    place.Latitude = latitude;
    ObserverGeocentric(place.RhoSinPhi, place.RhoCosPhi, latitude, 0);
    const long double phi = DegToRadians(latitude);
    place.SinPhi = std::sin(phi);
    place.CosPhi = std::cos(phi);
}

void TSolarEclipse::PrepareStart(TSEStart& start) const { ElementsAt(FJDE, start); }

void TSolarEclipse::PrepareMeridian(long double longitude, TSEMeridian& meridian) const
{
    meridian.Longitude = longitude;
    meridian.H = M(FJDE) - longitude - RotationPerSecond * FDeltaT * 86400;
    const long double H = DegToRadians(meridian.H);
    meridian.SinH = std::sin(H);
    meridian.CosH = std::cos(H);
}

bool TSolarEclipse::LocalCircumstances(TSELocalCircumstances& lc) const
{
    TSEPlace place;
    PreparePlace(lc.Latitude, place);
    return Circumstances(lc, place, nullptr, nullptr, true);
}

bool TSolarEclipse::LocalCircumstances(TSELocalCircumstances& lc, const TSEPlace& place,
                                       const TSEMeridian& meridian, const TSEStart& start) const
{
    lc.Latitude = place.Latitude;
    lc.Longitude = meridian.Longitude;
    return Circumstances(lc, place, &meridian, &start, true);
}

bool TSolarEclipse::LocalMaximum(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian& meridian,
                                 const TSEStart& start) const
{
    lc.Latitude = place.Latitude;
    lc.Longitude = meridian.Longitude;
    return Circumstances(lc, place, &meridian, &start, false);
}

bool TSolarEclipse::LocalMaximum(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian& meridian,
                                 const TSEStart& start, TSEMaximum& maximum) const
{
    lc.Latitude = place.Latitude;
    lc.Longitude = meridian.Longitude;
    return Circumstances(lc, place, &meridian, &start, false, &maximum);
}

bool TSolarEclipse::LocalContacts(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMaximum& maximum) const
{
    // Without an eclipse the full solve ends after the maximum as well.
    if (!maximum.Eclipse) return false;
    const bool result = Contacts(lc, place, maximum);
    FinishTimes(lc, true, true);
    return result;
}

// The local circumstances; with meridian and start the first step of the
// maximum takes their prepared terms (the same values Fundamentals gives).
// Without contacts the solve ends after the maximum (and *kept holds where
// they would start).
bool TSolarEclipse::Circumstances(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMeridian* meridian,
                                  const TSEStart* start, bool contacts, TSEMaximum* kept) const
{
    const long double rs = place.RhoSinPhi, rc = place.RhoCosPhi;
    const long double sinPhi = place.SinPhi, cosPhi = place.CosPhi;
    const long double lon = lc.Longitude;

    lc.JD0 = lc.JD1 = lc.JD3 = lc.JD4 = 0;
    lc.JD2 = FJDE;
    lc.SA0 = lc.SA1 = lc.SA2 = lc.SA3 = lc.SA4 = 0;
    lc.EclipseType = 'N';
    lc.Magnitude = 0;

    // Maximum: the time of least distance from the shadow axis.
    TFundamentals f;
    const bool first = meridian && start && start->JD == lc.JD2;
    if (first) {
        f.H = meridian->H;
        f.sinH = meridian->SinH;
        f.cosH = meridian->CosH;
        ObserverTerms(*start, rs, rc, f);
    }
    const bool maximumConverged =
        NearestApproach(lc.JD2, lon, rs, rc, f, IterationLimit, SESolverTolerance, first);
    bool result = maximumConverged;
    TSEMaximum m;

    if (result) {
        const long double mm = std::sqrt(f.u * f.u + f.v * f.v);
        const long double n = std::sqrt(f.n2);
        lc.Magnitude = (f.L1p - mm) / (f.L1p + f.L2p);
        const long double S = (f.a * f.v - f.u * f.b) / (n * f.L1p);
        if (!(std::fabs(S) <= 1) || !(lc.Magnitude >= 0)) {
            result = false;
        } else {
            lc.SA2 = Altitude(f.sind, f.cosd, sinPhi, cosPhi, f.cosH);
            lc.EclipseType = 'P';
            m.JD = lc.JD2;
            m.Tau1 = std::fabs(S) < 1 ? f.L1p * std::sqrt(1 - S * S) / n : 0;
            if (mm < std::fabs(f.L2p)) {
                const long double S2 = (f.a * f.v - f.u * f.b) / (n * f.L2p);
                m.Tau2 = std::fabs(S2) < 1 ? f.L2p * std::sqrt(1 - S2 * S2) / n : 0;
                lc.EclipseType = f.L2p >= 0 ? 'A' : 'T';
            }
            m.Eclipse = true;
            if (contacts) result = Contacts(lc, place, m);
        }
    }
    if (kept) *kept = m;
    FinishTimes(lc, maximumConverged, false);
    return result;
}

bool TSolarEclipse::Contacts(TSELocalCircumstances& lc, const TSEPlace& place, const TSEMaximum& m) const
{
    const long double rs = place.RhoSinPhi, rc = place.RhoCosPhi;
    const long double sinPhi = place.SinPhi, cosPhi = place.CosPhi;
    const long double lon = lc.Longitude;
    lc.JD0 = m.JD - m.Tau1 / 24;
    lc.JD4 = m.JD + m.Tau1 / 24;
    bool result = RefineContact(lc.JD0, lc.SA0, -1, true, lon, rs, rc, sinPhi, cosPhi);
    if (result)
        result = RefineContact(lc.JD4, lc.SA4, +1, true, lon, rs, rc, sinPhi, cosPhi);

    if (result && (lc.EclipseType == 'A' || lc.EclipseType == 'T')) {
        lc.JD1 = m.JD - m.Tau2 / 24;
        lc.JD3 = m.JD + m.Tau2 / 24;
        result = RefineContact(lc.JD1, lc.SA1, +1, false, lon, rs, rc, sinPhi, cosPhi);
        if (result)
            result = RefineContact(lc.JD3, lc.SA3, -1, false, lon, rs, rc, sinPhi, cosPhi);
        // L2' is negative in a total eclipse, which swaps the two.
        if (lc.JD3 < lc.JD1) {
            std::swap(lc.JD1, lc.JD3);
            std::swap(lc.SA1, lc.SA3);
        }
    }
    return result;
}

void TSolarEclipse::FinishTimes(TSELocalCircumstances& lc, bool maximumConverged, bool contactsOnly) const
{
    // Times to UT.  A contact that was not computed keeps 0 ("absent"), so
    // that callers testing for 0 are not misled by minus delta T.  JD2 is
    // in UT already when only the contacts were added.
    if (maximumConverged) {
        for (long double* jd : {&lc.JD0, &lc.JD1, &lc.JD2, &lc.JD3, &lc.JD4})
            if (*jd != 0 && !(contactsOnly && jd == &lc.JD2)) *jd -= FDeltaT;
    }
    lc.JD[0] = lc.JD0;
    lc.JD[1] = lc.JD1;
    lc.JD[2] = lc.JD2;
    lc.JD[3] = lc.JD3;
    lc.JD[4] = lc.JD4;
    lc.SA[0] = lc.SA0;
    lc.SA[1] = lc.SA1;
    lc.SA[2] = lc.SA2;
    lc.SA[3] = lc.SA3;
    lc.SA[4] = lc.SA4;
}

} // namespace compute
