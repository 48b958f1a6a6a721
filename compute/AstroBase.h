// Delta T (TD - UT), the conversion from dynamical to universal time,
// Greenwich mean sidereal time and the rectangular-coordinate record of the
// astronomy base layer.
//
// Delta T comes from one of three sources (see DeltaT): the yearly table
// 1620..2020 built into the program (replaceable by "deltaT.dat" beside the
// executable), a user text table (LoadDeltaTTable), or the long-term
// parabolas of Stephenson & Morrison as given by Meeus (Astronomical
// Algorithms, 2nd ed., ch. 10).  Julian Days are long double; delta T is
// returned in DAYS.  The state is process-wide and meant for the GUI thread.
#pragma once

#include <cstdint>
#include <string>

namespace compute {

struct TRectangular {
    long double x = 0;
    long double y = 0;
    long double z = 0;
};

// The yearly table, byte for byte as in "deltaT.dat" (852 bytes): a
// length-prefixed identification, 9 reserved bytes, a length-prefixed
// version and 401 little-endian 16-bit values of delta T in 0.01 s for
// the years 1620..2020.
struct TYearlyDeltaTRecord {
    uint8_t ID[32];
    uint8_t Reserved[9];
    uint8_t Version[9];
    int16_t Values[401];

    std::string VersionText() const;
};
static_assert(sizeof(TYearlyDeltaTRecord) == 852, "deltaT.dat record layout");

constexpr int MaxDeltaTValues = 6000;

// A user delta-T table loaded from a text file: one "key : seconds" per
// line, the key a decimal year (astronomical, -3000..3000) or a Julian Day
// (625000..2817000), keys rising; "!" starts a comment.
struct TDeltaTTable {
    struct TEntry {
        float Key;    // Julian Day (TD)
        float Value;  // delta T, seconds
    };
    int32_t NumValues = 0;
    bool IsLoaded = false;
    std::string FileName;
    // 0 ok, 1 file not found, 2 syntax error, 3 too much data,
    // 4 JD or year out of range, 5 keys not ascending.
    int32_t Error = 0;
    int32_t LineNumber = 0;
    TEntry Values[MaxDeltaTValues] = {};
};

// The process-wide table and model switch (true at start-up: use the
// yearly table for dates from 1620 on).
extern TDeltaTTable DeltaTTable;
extern bool UseInternalDeltaTTable;

// The yearly record in use (built-in, or from deltaT.dat).
const TYearlyDeltaTRecord& YearlyDeltaTRecord();

// Sets up the built-in yearly record, then replaces it by the first record
// of "deltaT.dat" beside the executable when that file carries the same
// identification.  Failures are ignored.  Runs by itself before the first
// delta-T value is taken; the overload reads the named file instead.
void LoadDeltaTFile();
void LoadDeltaTFile(const std::string& fileName);

// Loads a user text table into DeltaTTable; returns 0, or sets Error and
// LineNumber and raises rtl::Exception with the texts of the format.  A
// value beyond +-1e6 s (or not finite) is a syntax error of its line.
int LoadDeltaTTable(const std::string& fileName);

// Delta T in days for a Julian Day in dynamical time (TD):
//   DeltaTFromTable  the user table, linearly interpolated, end values held
//                    outside its keys; 0 when no table is loaded;
//   DeltaTInternal   the yearly table for 1620..2020 (linear between whole
//                    years), continued after 2020 by the parabola shifted to
//                    meet the table; 0 before 1620;
//   DeltaT           the internal table from 1620 on when enabled, else the
//                    user table when loaded, else the parabolas with
//                    t = (year - 2000)/100: 102 + 102 t + 25.3 t^2 s from the
//                    year 948, 2177 + 497 t + 44.1 t^2 s before.
long double DeltaTFromTable(long double jd);
long double DeltaTInternal(long double jd);
long double DeltaT(long double jd);
// JD (UT) for a JD (TD): jd - DeltaT(jd).
long double TDToUT(long double jd);

// Greenwich mean sidereal time in HOURS (not reduced to 0..24) for a
// Julian Day in universal time, by the IAU 1982 expression in the form of
// Meeus (Astronomical Algorithms, eq. 12.4).
long double GreenwichSiderealTime(long double jd);

} // namespace compute
