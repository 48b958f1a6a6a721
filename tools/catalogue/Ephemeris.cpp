#include "tools/catalogue/Ephemeris.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <swephexp.h>

namespace catalogue {

long double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

long double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }

Ephemeris::Ephemeris(const std::string& folder) : FFolder(folder)
{
    swe_set_ephe_path(const_cast<char*>(folder.c_str()));
    // Fails here rather than silently using the analytical fallback.
    double xx[6];
    Calc(2451545.0L, SE_MOON, SEFLG_SWIEPH, xx);
}

Ephemeris::~Ephemeris() { swe_close(); }

void Ephemeris::Calc(long double jd, int body, int flags, double out[6])
{
    char err[AS_MAXCH] = {0};
    int32 ret = swe_calc(static_cast<double>(jd), body, flags, out, err);
    if (ret < 0)
        throw std::runtime_error("Swiss Ephemeris failed at JD " + std::to_string((double)jd) + ": " + err);
    if (body != SE_ECL_NUT && !(ret & SEFLG_SWIEPH))
        throw std::runtime_error("Swiss Ephemeris data files (seas_*.se1, semo_*.se1) not found in " +
                                 FFolder + " for JD " + std::to_string((double)jd) +
                                 " (install swe-standard-data)");
}

long double MoonTidalShiftDays(long double jdTD)
{
    // The Moon's sidereal mean motion: 1732559343.736" per Julian century.
    constexpr long double kMoonArcsecPerSecond = 1732559343.736L / (36525.0L * 86400.0L);
    const long double T = (jdTD - 2451545.0L) / 36525.0L;   // centuries from J2000
    const long double arcsec = 0.5L * (kCanonMoonTidalAcceleration - kFilesMoonTidalAcceleration) * T * T;
    return arcsec / kMoonArcsecPerSecond / 86400.0L;
}

SunMoon Ephemeris::At(long double jdTD)
{
    double s[6], m[6];
    const int flags = SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_XYZ;
    Calc(jdTD, SE_SUN, flags, s);
    Calc(jdTD + MoonTidalShiftDays(jdTD), SE_MOON, flags, m);
    const long double k = 1.0L / kEarthRadiusAU;
    return {{s[0] * k, s[1] * k, s[2] * k}, {m[0] * k, m[1] * k, m[2] * k}};
}

void Ephemeris::Elongation(long double jdTD, long double& dLongitude, long double& moonLatitude)
{
    double s[6], m[6];
    Calc(jdTD, SE_SUN, SEFLG_SWIEPH, s);
    Calc(jdTD + MoonTidalShiftDays(jdTD), SE_MOON, SEFLG_SWIEPH, m);
    long double d = std::fmod(static_cast<long double>(m[0]) - s[0], 360.0L);
    if (d < -180) d += 360;
    if (d >= 180) d -= 360;
    dLongitude = d;
    moonLatitude = m[1];
}

long double Ephemeris::ApparentSiderealTime(long double jd)
{
    // Mean sidereal time, Meeus (12.4), plus the equation of the equinoxes.
    const long double T = (jd - 2451545.0L) / 36525.0L;
    long double theta = 280.46061837L + 360.98564736629L * (jd - 2451545.0L) +
                        0.000387933L * T * T - T * T * T / 38710000.0L;
    double nut[6];
    Calc(jd, SE_ECL_NUT, 0, nut);   // true obliquity, mean obliquity, dpsi, deps (degrees)
    theta += nut[2] * std::cos(nut[0] * kDeg);
    theta = std::fmod(theta, 360.0L);
    if (theta < 0) theta += 360;
    return theta;
}

long double DeltaTSeconds(long double y)
{
    long double dt;
    auto u2 = [](long double yy) { long double u = (yy - 1820) / 100; return u * u; };
    if (y < -500) {
        dt = -20 + 32 * u2(y);
    } else if (y < 500) {
        long double u = y / 100;
        dt = 10583.6L + u * (-1014.41L + u * (33.78311L + u * (-5.952053L +
             u * (-0.1798452L + u * (0.022174192L + u * 0.0090316521L)))));
    } else if (y < 1600) {
        long double u = (y - 1000) / 100;
        dt = 1574.2L + u * (-556.01L + u * (71.23472L + u * (0.319781L +
             u * (-0.8503463L + u * (-0.005050998L + u * 0.0083572073L)))));
    } else if (y < 1700) {
        long double t = y - 1600;
        dt = 120 + t * (-0.9808L + t * (-0.01532L + t / 7129));
    } else if (y < 1800) {
        long double t = y - 1700;
        dt = 8.83L + t * (0.1603L + t * (-0.0059285L + t * (0.00013336L - t / 1174000)));
    } else if (y < 1860) {
        long double t = y - 1800;
        dt = 13.72L + t * (-0.332447L + t * (0.0068612L + t * (0.0041116L + t * (-0.00037436L +
             t * (0.0000121272L + t * (-0.0000001699L + t * 0.000000000875L))))));
    } else if (y < 1900) {
        long double t = y - 1860;
        dt = 7.62L + t * (0.5737L + t * (-0.251754L + t * (0.01680668L + t * (-0.0004473624L +
             t / 233174))));
    } else if (y < 1920) {
        long double t = y - 1900;
        dt = -2.79L + t * (1.494119L + t * (-0.0598939L + t * (0.0061966L - 0.000197L * t)));
    } else if (y < 1941) {
        long double t = y - 1920;
        dt = 21.20L + t * (0.84493L + t * (-0.076100L + t * 0.0020936L));
    } else if (y < 1961) {
        long double t = y - 1950;
        dt = 29.07L + t * (0.407L + t * (-1.0L / 233 + t / 2547));
    } else if (y < 1986) {
        long double t = y - 1975;
        dt = 45.45L + t * (1.067L + t * (-1.0L / 260 - t / 718));
    } else if (y < 2005) {
        long double t = y - 2000;
        dt = 63.86L + t * (0.3345L + t * (-0.060374L + t * (0.0017275L + t * (0.000651814L +
             t * 0.00002373599L))));
    } else if (y < 2050) {
        long double t = y - 2000;
        dt = 62.92L + t * (0.32217L + t * 0.005589L);
    } else if (y < 2150) {
        dt = -20 + 32 * u2(y) - 0.5628L * (2150 - y);
    } else {
        dt = -20 + 32 * u2(y);
    }
    if (y < 1955 || y > 2005) dt += -0.000012932L * (y - 1955) * (y - 1955);
    return dt;
}

CalendarDate JDToCalendar(long double jd)
{
    long double jd5 = jd + 0.5L;
    long double Z = std::floor(jd5);
    long double F = jd5 - Z;
    long double A = Z;
    if (Z >= 2299161) {
        long double alpha = std::floor((Z - 1867216.25L) / 36524.25L);
        A = Z + 1 + alpha - std::floor(alpha / 4);
    }
    long double B = A + 1524;
    long double C = std::floor((B - 122.1L) / 365.25L);
    long double D = std::floor(365.25L * C);
    long double E = std::floor((B - D) / 30.6001L);
    CalendarDate r;
    r.Day = B - D - std::floor(30.6001L * E) + F;
    r.Month = static_cast<int>(E < 14 ? E - 1 : E - 13);
    r.Year = static_cast<int>(r.Month > 2 ? C - 4716 : C - 4715);
    return r;
}

std::string DateText(long double jd)
{
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    CalendarDate c = JDToCalendar(jd);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%04d %s %02d", c.Year < 0 ? "-" : "", std::abs(c.Year),
                  months[c.Month - 1], static_cast<int>(std::floor(c.Day)));
    return buf;
}

long double DecimalYear(long double jd)
{
    CalendarDate c = JDToCalendar(jd);
    return c.Year + (c.Month - 0.5L) / 12;
}

long double CalendarToJD(int year, int month, long double day)
{
    long double Y = year, M = month;
    if (month <= 2) {
        Y -= 1;
        M += 12;
    }
    long double B = 0;
    if (year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)))) {
        long double A = std::floor(Y / 100);
        B = 2 - A + std::floor(A / 4);
    }
    return std::floor(365.25L * (Y + 4716)) + std::floor(30.6001L * (M + 1)) + day + B - 1524.5L;
}

long double JDOfYear(int year) { return CalendarToJD(year, 1, 1); }

} // namespace catalogue
