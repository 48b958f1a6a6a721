// Where the ephemeris alone cannot decide: eclipses that graze the limit by
// less than 0.001 in magnitude, and greatest eclipse within seconds of
// midnight.  There the catalogue follows the published Five Millennium
// Canons, so that every catalogue number and date text is the published one.
//
//   if (DroppedSolar(k)) ...                   // not an eclipse of the catalogue
//   ComputeLunarEclipse(eph, k, KeptLunar(k))  // listed although it misses here
//   r.DT = DateTextOf(EventKind::Solar, k, r.JDE);
#pragma once

#include <string>

namespace catalogue {

// Both tables end with this lunation: the solar eclipse of 2999 May 6/7
// (the last of the program's eclipse-time table) and the lunar eclipse a
// fortnight later.
constexpr int kLastLunation = 12360;

enum class EventKind { Solar, Lunar };

// Partial solar eclipses of magnitude below 0.001 here that the canon does
// not list.
bool DroppedSolar(int k);
// A penumbral lunar eclipse the canon lists with magnitude 0.0004 whose Moon
// passes just outside the penumbra here.
bool KeptLunar(int k);
// The catalogue's date text of greatest eclipse at jd: the canon's date
// where the two sides of midnight differ by seconds, else DateText(jd).
std::string DateTextOf(EventKind kind, int k, long double jd);

} // namespace catalogue
