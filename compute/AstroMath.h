// Numeric helpers of the astronomy code: degree/radian conversion, Horner
// polynomials, angle normalisation and the sexagesimal angle record TDMS
// with its texts and the parsing of typed geographic positions.
//
// Conventions: angles in radians unless a name says degrees; geographic
// longitudes are WEST positive (east negative), latitudes north positive.
// All arithmetic is in extended precision (long double, 80-bit on x86-64).
// The routines are stateless and thread-safe.
#pragma once

#include <cstdint>
#include <string>

namespace compute {

constexpr long double PiOver180 = 0.017453292519943295769L;
constexpr long double D180OverPi = 57.295779513082320877L;
constexpr long double TwoPi = 6.283185307179586477L;
// Half of TwoPi exactly, so that folding by 2 pi keeps -pi at -pi.
constexpr long double Pi = TwoPi / 2;

// An angle split into sexagesimal parts:
// angle = Sign * (Deg + Min/60 + Sec/3600) degrees.
struct TDMS {
    int32_t Deg = 0;     // whole degrees of the absolute value
    int32_t Min = 0;     // whole minutes (0..59 from RadiansToDMS)
    long double Sec = 0; // seconds, may carry a fraction
    int32_t Sign = 1;    // +1 or -1
};

long double DegToRadians(long double x);
long double RadiansToDeg(long double x);

// Horner polynomials: Poly1 = a0 + a1 t, Poly2 = a0 + t(a1 + t a2),
// Poly3 = a0 + t(a1 + t(a2 + t a3)).
long double Poly1(long double t, long double a1, long double a0);
long double Poly2(long double t, long double a2, long double a1, long double a0);
long double Poly3(long double t, long double a3, long double a2, long double a1, long double a0);

// x (radians) reduced to [-pi, pi]; exactly -pi stays -pi.
long double NormalizeSigned(long double x);
// x (radians) reduced to [0, 2pi).
long double NormalizePositive(long double x);

// Sign*(Deg + Min/60 + Sec/3600) degrees in radians, reduced to [-pi, pi].
long double DMSToRadians(const TDMS& dms);
// Splits an angle in radians into sign, degrees, minutes and seconds.
void RadiansToDMS(TDMS& dms, long double x);

// "-12° 05' 07''": precision 0 gives degrees and minutes (seconds rounded
// into the minutes, text ends with a blank), 1..3 add seconds with 0, 1 or
// 2 decimals; carries run up into minutes and degrees (360 wraps to 0).
// Any other precision gives degrees and minutes without rounding.
void DMSToText(const TDMS& dms, int precision, std::string& text);
// "48° 08'  N" / "S": degrees and minutes of the absolute value and the
// hemisphere letter taken from the sign.
void LatitudeToText(const TDMS& dms, std::string& text);
// "11° 34'  E" / "W": west for a positive sign (the system's convention).
void LongitudeToText(const TDMS& dms, std::string& text);

// Parses "48 8 30 N", "48°8'N", "48 8 N" or "48.5 N" (the last item is the
// compass letter, returned in letter).  East and south give Sign -1.
// Failures raise rtl::EConvertError with a fixed text; dms is then left
// unchanged.
void ParsePosition(const std::string& text, char& letter, TDMS& dms);
// ParsePosition with the letters N/S and |angle| <= 90 degrees.
void ParseLatitude(const std::string& text, TDMS& dms);
// ParsePosition with the letters E/W and |angle| <= 180 degrees.
void ParseLongitude(const std::string& text, TDMS& dms);

} // namespace compute
