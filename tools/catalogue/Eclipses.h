// One solar or lunar eclipse of the catalogue, computed from the ephemeris.
#pragma once

#include <optional>
#include <string>

#include "tools/catalogue/Ephemeris.h"

namespace catalogue {

// Solar eclipse: Besselian elements as polynomials in t = hours from T0
// (TD), fitted by least squares to the exact elements every half hour over
// T0 - 3 h .. T0 + 3 h.
struct SolarRecord {
    int K = 0;                    // lunation number (0: new Moon of 2000 Jan 6)
    int T0 = 0;                   // TD hour of the reference instant
    long double JD0 = 0;          // JD (TD) of T0
    long double JDE = 0;          // JD (TD) of greatest eclipse
    long double X[4]{}, Y[4]{};   // shadow axis on the fundamental plane, Earth radii
    long double D[3]{};           // declination of the axis, degrees
    // Greenwich hour angle of the axis, degrees, with sidereal time taken
    // at the TD instant (ephemeris hour angle): the local-circumstance
    // formulas subtract 1.002738 * 15"/s * delta T themselves.
    long double Mu[2]{};
    long double L1[3]{}, L2[3]{}; // penumbral and umbral radii, Earth radii
    long double TanF1 = 0, TanF2 = 0;
    char Type = 'P';              // P, A, T, H
    long double Gamma = 0, Magnitude = 0;
    long double MELat = 0, MELon = 0;   // greatest eclipse, degrees, longitude west positive
    long double DeltaT = 0;       // seconds, unrounded
    int Saros = 0;
    std::string DT;
};

// Lunar eclipse: durations in hours, the Moon's apparent right ascension,
// declination (degrees) and distance (AU) as quadratics in hours from
// greatest eclipse, fitted over +-3.5 h.
struct LunarRecord {
    int K = 0;                    // lunation number of the preceding new Moon
    long double JDE = 0;
    long double DurationPen = 0, DurationPar = 0, DurationTot = 0;
    long double RA[3]{}, DEC[3]{}, R[3]{};
    char Type = 'N';              // N, P, T
    long double Gamma = 0, MagPen = 0, MagUmbra = 0;
    long double MELat = 0, MELon = 0;   // Moon in the zenith, west positive
    long double DeltaT = 0;
    int Saros = 0;
    std::string QSE;
    std::string DT;
    // Shadow radii at greatest eclipse (degrees), kept for checks.
    long double UmbraRadius = 0, PenumbraRadius = 0;
};

// The eclipse at the new Moon of lunation k, if there is one.
std::optional<SolarRecord> ComputeSolarEclipse(Ephemeris& eph, int k);
// The eclipse at the full Moon following the new Moon of lunation k.  With
// grazing the record is kept although the Moon misses the penumbra (magnitude
// at or below 0, no phase durations).
std::optional<LunarRecord> ComputeLunarEclipse(Ephemeris& eph, int k, bool grazing = false);

// Saros series numbers (van den Bergh's numbering) from lunation numbers.
int SolarSaros(int k);
int LunarSaros(int k);

// Lunation number of the new Moon nearest jd.
int LunationOf(long double jd);

} // namespace catalogue
