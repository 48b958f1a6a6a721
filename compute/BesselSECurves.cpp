// TSolarEclipse: central line, path limits, curves of equal magnitude and
// greatest eclipse at a place.  Units and conventions as in BesselSE.h:
// degrees, longitudes west positive, geodetic latitudes, times JD in TD.
#include <cmath>

#include "compute/AstroMath.h"
#include "compute/BesselSE.h"
#include "compute/uProjections.h"

namespace compute {

namespace {

constexpr long double EarthE2 = 0.006694385L;        // squared eccentricity
constexpr long double EarthBA = 0.99664719L;         // b/a
constexpr long double EarthAB = 1.00336409L;         // a/b
constexpr long double RotationPerSecond = 0.00417807L;

long double Altitude(long double sind, long double cosd, long double phiDeg, long double cosH)
{
    const long double phi = DegToRadians(phiDeg);
    return RadiansToDeg(std::asin(sind * std::sin(phi) + cosd * std::cos(phi) * cosH));
}

} // namespace

// The point where the shadow axis meets the ellipsoid at time jde (TD),
// after the Explanatory Supplement (1992, sect. 8.3): the axis is scaled to
// the unit sphere by rho1 and solved there; the geocentric latitude found
// is turned into a geodetic one.
bool TSolarEclipse::CurveOfCentralEclipse(long double jde, long double& latitude,
                                          long double& longitude, long double& altitude) const
{
    latitude = longitude = 0;
    const long double x = X(jde), y = Y(jde);
    const long double dd = DegToRadians(d(jde));
    const long double sind = std::sin(dd), cosd = std::cos(dd);
    const long double rho1 = std::sqrt(1 - EarthE2 * cosd * cosd);
    const long double y1 = y / rho1;
    const long double sind1 = sind / rho1;
    const long double cosd1 = EarthBA * cosd / rho1;
    const long double B2 = 1 - x * x - y1 * y1;
    if (!(B2 >= 0))
        return false;
    const long double B = std::sqrt(B2);
    const long double H = std::atan2(x, B * cosd1 - y1 * sind1);
    const long double phi1 = std::asin(B * sind1 + y1 * cosd1);
    const long double phi = std::atan(EarthAB * std::tan(phi1));
    const long double lat = NormalizeDegrees(RadiansToDeg(phi));
    const long double lon =
        NormalizeDegrees(M(jde) - RadiansToDeg(H) - RotationPerSecond * DeltaT() * 86400);
    const long double alt =
        RadiansToDeg(std::asin(std::cos(H) * cosd * std::cos(phi) + sind * std::sin(phi)));
    if (!std::isfinite(lat) || !std::isfinite(lon) || !std::isfinite(alt))
        return false;
    latitude = lat;
    longitude = lon;
    altitude = alt;
    return true;
}

// One point of a curve on the meridian `longitude`: latitude and time are
// iterated together, the time towards the instant the place is closest to
// the shadow axis, the latitude until the place's perpendicular distance W
// from the axis equals -signum * |L1' - G (L1' + L2')|.  count carries the
// iterations over to the second point of the same meridian.
bool TSolarEclipse::SolveLimitPoint(long double longitude, int signum, long double G,
                                    long double& jd, long double& latitude, long double& altitude,
                                    int& count) const
{
    const int limit = EclipseIterationLimit();
    TFundamentals f;
    long double phi = latitude;
    long double t = jd;
    for (;;) {
        long double rs = 0, rc = 0;
        ObserverGeocentric(rs, rc, phi, 0);
        Fundamentals(t, longitude, rs, rc, f);
        const long double n = std::sqrt(f.n2);
        const long double tau = -(f.u * f.a + f.v * f.b) / f.n2;
        const long double W = (f.v * f.a - f.u * f.b) / n;
        const long double Q =
            (f.b * f.sinH * rs + f.a * (f.cosH * f.sind * rs + f.cosd * rc)) / (57.29578L * n);
        const long double E = f.L1p - G * (f.L1p + f.L2p);
        const long double dPhi = (signum * std::fabs(E) + W) / Q;
        phi += dPhi;
        t += tau / 24;
        ++count;
        if (count >= limit || (std::fabs(dPhi) < 0.001L && std::fabs(tau) < 0.001L))
            break;
    }
    latitude = NormalizeDegrees(phi);
    altitude = Altitude(f.sind, f.cosd, latitude, f.cosH);
    jd = t;
    return count < limit && std::isfinite(latitude) && std::isfinite(altitude) && std::isfinite(jd);
}

bool TSolarEclipse::LimitsFromLongitude(long double longitude, int signum, long double G,
                                        TCurveData& data) const
{
    data = TCurveData();
    data.JD1 = data.JD2 = JD0();
    int count = 0;
    data.Valid1 = SolveLimitPoint(longitude, signum, G, data.JD1, data.Latitude1, data.Altitude1, count);
    // A curve may cross a meridian a second time only at high latitudes;
    // that search starts near the pole on the same side.
    if (data.Valid1 && std::fabs(data.Latitude1) > 50) {
        data.Latitude2 = data.Latitude1 < 0 ? -89 : 89;
        const bool ok =
            SolveLimitPoint(longitude, signum, G, data.JD2, data.Latitude2, data.Altitude2, count);
        data.Valid2 = ok && std::fabs(data.Latitude1 - data.Latitude2) > 0.01L;
    }
    return data.Valid1;
}

bool TSolarEclipse::CurveOfCentralEclipseFromLongitude(long double longitude, TCurveData& data) const
{
    return LimitsFromLongitude(longitude, 0, 0, data);
}

bool TSolarEclipse::LimitsOfPathOfTotalOrAnnularPhase(long double longitude, int signum,
                                                      TCurveData& data) const
{
    return LimitsFromLongitude(longitude, signum, 1, data);
}

bool TSolarEclipse::CurveOfEqualMagnitude(long double longitude, int signum, long double magnitude,
                                          TCurveData& data) const
{
    return LimitsFromLongitude(longitude, signum, magnitude, data);
}

bool TSolarEclipse::GreatestEclipse(long double latitude, long double longitude, long double& jd,
                                    long double& magnitude, long double& altitude) const
{
    const int limit = EclipseIterationLimit();
    jd = JDE();
    magnitude = 0;
    altitude = 0;
    long double rs = 0, rc = 0;
    ObserverGeocentric(rs, rc, latitude, 0);
    TFundamentals f;
    const bool converged = NearestApproach(jd, longitude, rs, rc, f, limit, 0.001L);
    altitude = Altitude(f.sind, f.cosd, latitude, f.cosH);
    magnitude = (f.L1p - std::sqrt(f.u * f.u + f.v * f.v)) / (f.L1p + f.L2p);
    return converged;
}

} // namespace compute
