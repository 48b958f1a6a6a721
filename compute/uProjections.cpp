#include "compute/uProjections.h"

#include <cfenv>
#include <cmath>

#include "compute/AstroMath.h"

namespace compute {

const char* const ProjectionNames[5] = {
    "Robinson Projection", "Mercator Projection", "Plate Carr\u00E9e Projection",
    "Lambert Conformal Conic Projection", "Lambert Azimuthal Equal-Area Projection"};

namespace {

// Robinson's table: latitude, relative length of the parallel (PLEN) and
// relative distance from the equator (PDFE), every 5 degrees.
const double RobinsonTable[19][3] = {
    {0, 1.0000, 0.0000},  {5, 0.9986, 0.0620},  {10, 0.9954, 0.1240}, {15, 0.9900, 0.1860},
    {20, 0.9822, 0.2480}, {25, 0.9730, 0.3100}, {30, 0.9600, 0.3720}, {35, 0.9427, 0.4340},
    {40, 0.9216, 0.4958}, {45, 0.8962, 0.5571}, {50, 0.8679, 0.6176}, {55, 0.8350, 0.6769},
    {60, 0.7986, 0.7346}, {65, 0.7597, 0.7903}, {70, 0.7186, 0.8435}, {75, 0.6732, 0.8936},
    {80, 0.6213, 0.9394}, {85, 0.5722, 0.9761}, {90, 0.5322, 1.0000}};

// Module state of the conic (cone constant n, scale F) and of the azimuthal
// projection (its centre latitude), set up for the start-up parameters.
long double ConicN = 0;
long double ConicF = 0;
long double AzimuthSinPhi1 = 0;
long double AzimuthCosPhi1 = 0;

struct TStartupSetup {
    TStartupSetup()
    {
        SetConicParallels(40, 68);
        SetAzimuthalCenter(40);
    }
} StartupSetup;

// Watches for floating-point faults (division by zero, invalid operation,
// overflow) in a computation, with the caller's flags restored afterwards.
// g++ masks these faults instead of trapping, so they are read from the
// status flags; results are also checked for finiteness.
class TFaultWatch {
public:
    TFaultWatch() { std::feholdexcept(&FEnv); }
    ~TFaultWatch() { std::fesetenv(&FEnv); }
    bool Faulted() const { return std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW) != 0; }

private:
    std::fenv_t FEnv;
};

bool Finite(long double a, long double b) { return std::isfinite(a) && std::isfinite(b); }

long double Sign(long double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

} // namespace

long double NormalizeDegrees(long double x) { return RadiansToDeg(NormalizeSigned(DegToRadians(x))); }

bool ProjectRobinson(long double lat, long double lon, long double& x, long double& y)
{
    x = y = 0;
    const long double sLat = Sign(lat);
    lat = NormalizeDegrees(lat);
    lon = NormalizeDegrees(lon);
    const long double a = std::fabs(lat);
    const int g = static_cast<int>(std::trunc(a / 5));
    long double plen, pdfe;
    if (g > 18)
        return false;
    if (g == 18) {
        plen = RobinsonTable[18][1];
        pdfe = RobinsonTable[18][2];
    } else {
        const long double f = (a - 5 * g) / 5;
        plen = RobinsonTable[g][1] + f * (RobinsonTable[g + 1][1] - RobinsonTable[g][1]);
        pdfe = RobinsonTable[g][2] + f * (RobinsonTable[g + 1][2] - RobinsonTable[g][2]);
    }
    x = plen * lon / 180;
    y = sLat * pdfe;
    return true;
}

bool UnprojectRobinson(long double x, long double y, long double& lat, long double& lon)
{
    const long double sLat = Sign(y), sLon = Sign(x);
    const long double ay = std::fabs(y);
    if (ay > 1)
        return false;
    int i = 18;
    for (int k = 1; k <= 18; ++k) {
        if (RobinsonTable[k][2] > ay) {
            i = k - 1;
            break;
        }
    }
    long double plen;
    if (i == 18) {
        lat = 90 * sLat;
        plen = RobinsonTable[18][1];
    } else {
        const long double f = (ay - RobinsonTable[i][2]) / (RobinsonTable[i + 1][2] - RobinsonTable[i][2]);
        lat = sLat * (5 * f + 5 * i);
        plen = RobinsonTable[i][1] + f * (RobinsonTable[i + 1][1] - RobinsonTable[i][1]);
    }
    if (std::fabs(x) > plen)
        return false;
    lon = sLon * std::fabs(x) * 180 / plen;
    return true;
}

bool ProjectPlateCarree(long double lat, long double lon, long double& x, long double& y)
{
    x = y = 0;
    lat = NormalizeDegrees(lat);
    lon = NormalizeDegrees(lon);
    if (std::fabs(lat) > 90)
        return false;
    x = lon / 180;   // cos of the standard parallel 0 is 1
    y = lat / 90;
    return true;
}

bool UnprojectPlateCarree(long double x, long double y, long double& lat, long double& lon)
{
    lat = 90 * y;
    lon = 180 * x;
    return std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

bool ProjectMercator(long double lat, long double lon, long double& x, long double& y)
{
    x = y = 0;
    lat = NormalizeDegrees(lat);
    lon = NormalizeDegrees(lon);
    if (std::fabs(lat) >= 90)
        return false;
    const long double s = std::sin(DegToRadians(lat));
    x = lon / 180;
    y = 0.5L * std::log((1 + s) / (1 - s));
    return true;
}

bool UnprojectMercator(long double x, long double y, long double& lat, long double& lon)
{
    TFaultWatch watch;
    lat = NormalizeDegrees(RadiansToDeg(std::atan(std::sinh(y))));
    lon = NormalizeDegrees(180 * x);
    if (watch.Faulted() || !Finite(lat, lon))
        return false;
    return std::fabs(lat) < 90 && std::fabs(lon) <= 180;
}

void SetConicParallels(long double phi1, long double phi2)
{
    const long double p1 = DegToRadians(phi1), p2 = DegToRadians(phi2);
    if (std::fabs(phi1 - phi2) < 1e-9L)
        ConicN = std::sin(p1);   // tangent cone: the limit of the secant formula
    else
        ConicN = std::log(std::cos(p1) / std::cos(p2)) /
                 std::log(std::tan(Pi / 4 + p2 / 2) / std::tan(Pi / 4 + p1 / 2));
    ConicF = std::cos(p1) * std::pow(std::tan(Pi / 4 + p1 / 2), ConicN) / ConicN;
}

bool ProjectLambertConic(long double lat, long double lon, long double phi0, long double lambda0,
                         long double& x, long double& y)
{
    x = y = 0;
    TFaultWatch watch;
    lat = NormalizeDegrees(lat);
    lon = NormalizeDegrees(lon);
    const long double n = ConicN, F = ConicF;
    const long double rho = F * std::pow(1 / std::tan(Pi / 4 + DegToRadians(lat) / 2), n);
    const long double rho0 = F * std::pow(1 / std::tan(Pi / 4 + DegToRadians(phi0) / 2), n);
    const long double theta = n * DegToRadians(lon - lambda0);
    const long double px = rho * std::sin(theta);
    const long double py = rho0 - rho * std::cos(theta);
    if (watch.Faulted() || !Finite(px, py))
        return false;
    x = px;
    y = py;
    return true;
}

bool UnprojectLambertConic(long double x, long double y, long double phi0, long double lambda0,
                           long double& lat, long double& lon)
{
    TFaultWatch watch;
    const long double n = ConicN, F = ConicF;
    const long double rho0 = F * std::pow(1 / std::tan(Pi / 4 + DegToRadians(phi0) / 2), n);
    const long double sn = n < 0 ? -1 : 1;
    const long double rho = sn * std::sqrt(x * x + (rho0 - y) * (rho0 - y));
    // The quadrant of the polar angle comes from both signs, so meridians
    // more than 90 degrees of cone angle from the central one come back right.
    const long double theta = std::atan2(sn * x, sn * (rho0 - y));
    lon = NormalizeDegrees(lambda0 + RadiansToDeg(theta / n));
    lat = RadiansToDeg(2 * std::atan(std::pow(F / rho, 1 / n))) - 90;
    if (watch.Faulted() || !Finite(lat, lon))
        return false;
    return std::fabs(lat) < 90 && std::fabs(lon) <= 180;
}

void SetAzimuthalCenter(long double phi1)
{
    AzimuthSinPhi1 = std::sin(DegToRadians(phi1));
    AzimuthCosPhi1 = std::cos(DegToRadians(phi1));
}

bool ProjectLambertAzimuthal(long double lat, long double lon, long double& x, long double& y)
{
    x = y = 0;
    TFaultWatch watch;
    const long double p = DegToRadians(lat), l = DegToRadians(lon);
    const long double k = std::sqrt(2 / (1 + AzimuthSinPhi1 * std::sin(p) +
                                         AzimuthCosPhi1 * std::cos(p) * std::cos(l)));
    const long double px = k * std::cos(p) * std::sin(l);
    const long double py = k * (AzimuthCosPhi1 * std::sin(p) - AzimuthSinPhi1 * std::cos(p) * std::cos(l));
    // Every point of the sphere maps within radius 2; a larger radius is
    // the rounding remainder of the antipode's division by zero.
    if (watch.Faulted() || !Finite(px, py) || px * px + py * py > 4)
        return false;
    x = px;
    y = py;
    return true;
}

bool UnprojectLambertAzimuthal(long double x, long double y, long double& lat, long double& lon)
{
    TFaultWatch watch;
    const long double rho = std::sqrt(x * x + y * y);
    const long double c = 2 * std::asin(rho / 2);
    lat = RadiansToDeg(std::asin(std::cos(c) * AzimuthSinPhi1 + y * std::sin(c) * AzimuthCosPhi1 / rho));
    lon = RadiansToDeg(std::atan2(x * std::sin(c), rho * AzimuthCosPhi1 * std::cos(c) -
                                                       y * AzimuthSinPhi1 * std::sin(c)));
    if (watch.Faulted() || !Finite(lat, lon))
        return false;
    return std::fabs(lat) < 90 && std::fabs(lon) <= 180;
}

} // namespace compute
