// Geocentric apparent positions of the Sun and the Moon from the Swiss
// Ephemeris data files (JPL-based, -3000..+3000), the nutation, sidereal
// time, the Espenak-Meeus delta T and the calendar.
//
// Frames and units: right ascension, declination and cartesian vectors
// refer to the true equator and equinox of date; apparent places (light
// time, aberration, nutation).  Vectors are in equatorial Earth radii
// (6378.137 km); times are Julian Days in dynamical time (TD) unless a name
// says UT.
#pragma once

#include <string>

namespace catalogue {

struct Vec3 {
    long double x = 0, y = 0, z = 0;
};

inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(long double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
long double Dot(const Vec3& a, const Vec3& b);
Vec3 Cross(const Vec3& a, const Vec3& b);
long double Norm(const Vec3& a);

constexpr long double kEarthRadiusKm = 6378.137L;
constexpr long double kAUKm = 149597870.7L;
constexpr long double kEarthRadiusAU = kEarthRadiusKm / kAUKm;
// The Sun's radius, 959.63" at 1 AU, in Earth radii.
constexpr long double kSunRadius = 959.63L / 206264.80624709636L * kAUKm / kEarthRadiusKm;
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kDeg = kPi / 180.0L;

struct SunMoon {
    Vec3 Sun;    // Earth radii
    Vec3 Moon;   // Earth radii
};

// The Moon's tidal acceleration in longitude ("/century^2): that of the
// ephemeris files (DE431), and the one the delta T correction below assumes
// (-0.91072 (n + 26) u^2 = -0.000012932 (y - 1955)^2).
constexpr long double kFilesMoonTidalAcceleration = -25.80L;
constexpr long double kCanonMoonTidalAcceleration = -25.858L;
// The files' Moon is read this many days later than jdTD (negative: earlier)
// so that its mean longitude carries kCanonMoonTidalAcceleration, as the
// delta T it is used with assumes: 1/2 (n_canon - n_files) T^2 over the
// Moon's mean motion, T in centuries from J2000, the era of laser ranging
// to which both lunar ephemerides are fitted.  Without it, delta T and the
// Moon disagree by up to ~85 s of time in -2000.
long double MoonTidalShiftDays(long double jdTD);

// One per thread: the ephemeris library keeps its state per thread.
class Ephemeris {
public:
    // Raises std::runtime_error when the data files are not in folder.
    explicit Ephemeris(const std::string& folder);
    ~Ephemeris();

    SunMoon At(long double jdTD);
    // Ecliptic longitude minus the Sun's, and the Moon's ecliptic latitude
    // (degrees, apparent, of date): for finding syzygies.
    void Elongation(long double jdTD, long double& dLongitude, long double& moonLatitude);
    // Greenwich apparent sidereal time (degrees, 0..360) at jd taken as UT.
    long double ApparentSiderealTime(long double jd);

private:
    void Calc(long double jd, int body, int flags, double out[6]);
    std::string FFolder;
};

// Delta T (seconds) at a decimal year, by the Espenak-Meeus polynomials
// with the lunar correction -0.000012932 (y - 1955)^2 applied outside
// 1955..2005, as the Five Millennium Canons use it.
long double DeltaTSeconds(long double decimalYear);

struct CalendarDate {
    int Year;      // astronomical: 0 = 1 BC
    int Month;     // 1..12
    long double Day;  // with fraction
};
// Julian calendar before 1582 Oct 15, Gregorian from then on (Meeus ch. 7).
CalendarDate JDToCalendar(long double jd);
// "2024 Apr 08", "-0585 May 28": the catalogue's date text.
std::string DateText(long double jd);
// Year + (month - 0.5)/12 of the date, as the delta-T polynomials expect.
long double DecimalYear(long double jd);
// JD of a calendar date (Julian calendar before 1582 Oct 15; day with
// fraction), Meeus (7.1).
long double CalendarToJD(int year, int month, long double day);
// JD of Jan 1, 0h of an astronomical year.
long double JDOfYear(int year);

} // namespace catalogue
