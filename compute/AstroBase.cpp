#include "compute/AstroBase.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "compute/DatesAndTimes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace compute {

TDeltaTTable DeltaTTable;
bool UseInternalDeltaTTable = true;

namespace {

const char* const DeltaTTableID = "Tolmira Ephemeris delta T table";
const char* const BuiltInVersion = "2010/1";

// Yearly delta T, 0.01 s, for 1 January of the years 1620..2020: the
// historical series of Stephenson & Morrison and the IERS/USNO yearly
// values (values after 2010 are the 2010 predictions).
const int16_t BuiltInValues[401] = {
    // 1620
    12400, 11900, 11500, 11000, 10600, 10200, 9800, 9500, 9100, 8800,
    8500, 8200, 7900, 7700, 7400, 7200, 7000, 6700, 6500, 6300,
    6200, 6000, 5800, 5700, 5500, 5400, 5300, 5100, 5000, 4900,
    4800, 4700, 4600, 4500, 4400, 4300, 4200, 4100, 4000, 3800,
    3700, 3600, 3500, 3400, 3300, 3200, 3100, 3000, 2800, 2700,
    2600, 2500, 2400, 2300, 2200, 2100, 2000, 1900, 1800, 1700,
    1600, 1500, 1400, 1400, 1300, 1200, 1200, 1100, 1100, 1000,
    1000, 1000, 900, 900, 900, 900, 900, 900, 900, 900,
    // 1700
    900, 900, 900, 900, 900, 900, 900, 900, 1000, 1000,
    1000, 1000, 1000, 1000, 1000, 1000, 1000, 1100, 1100, 1100,
    1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100,
    1100, 1100, 1100, 1100, 1200, 1200, 1200, 1200, 1200, 1200,
    1200, 1200, 1200, 1200, 1300, 1300, 1300, 1300, 1300, 1300,
    1300, 1400, 1400, 1400, 1400, 1400, 1400, 1400, 1500, 1500,
    1500, 1500, 1500, 1500, 1500, 1600, 1600, 1600, 1600, 1600,
    1600, 1600, 1600, 1600, 1600, 1700, 1700, 1700, 1700, 1700,
    1700, 1700, 1700, 1700, 1700, 1700, 1700, 1700, 1700, 1700,
    1700, 1700, 1600, 1600, 1600, 1600, 1500, 1500, 1400, 1400,
    // 1800
    1370, 1340, 1310, 1290, 1270, 1260, 1250, 1250, 1250, 1250,
    1250, 1250, 1250, 1250, 1250, 1250, 1250, 1240, 1230, 1220,
    1200, 1170, 1140, 1110, 1060, 1020, 960, 910, 860, 800,
    750, 700, 660, 630, 600, 580, 570, 560, 560, 560,
    570, 580, 590, 610, 620, 630, 650, 660, 680, 690,
    710, 720, 730, 740, 750, 760, 770, 770, 780, 780,
    788, 782, 754, 697, 640, 602, 541, 410, 292, 182,
    161, 10, -102, -128, -269, -324, -364, -454, -471, -511,
    -540, -542, -520, -546, -546, -579, -563, -564, -580, -566,
    -587, -601, -619, -664, -644, -647, -609, -576, -466, -374,
    // 1900
    -272, -154, -2, 124, 264, 386, 537, 614, 775, 913,
    1046, 1153, 1336, 1465, 1601, 1720, 1824, 1906, 2025, 2095,
    2116, 2225, 2241, 2303, 2349, 2362, 2386, 2449, 2434, 2408,
    2402, 2400, 2387, 2395, 2386, 2393, 2373, 2392, 2396, 2402,
    2433, 2483, 2530, 2570, 2624, 2677, 2728, 2778, 2825, 2871,
    2915, 2957, 2997, 3036, 3072, 3107, 3135, 3168, 3218, 3268,
    3315, 3359, 3400, 3447, 3503, 3573, 3654, 3743, 3829, 3920,
    4018, 4117, 4223, 4337, 4449, 4548, 4646, 4752, 4853, 4959,
    5054, 5138, 5217, 5296, 5379, 5434, 5487, 5532, 5582, 5630,
    5686, 5757, 5831, 5912, 5998, 6078, 6163, 6229, 6297, 6347,
    // 2000
    6383, 6409, 6430, 6447, 6457, 6468, 6485, 6515, 6546, 6578,
    6607, 6638, 6668, 6699, 6729, 6760, 6794, 6828, 6862, 6896,
    6930};

TYearlyDeltaTRecord MakeBuiltInRecord()
{
    TYearlyDeltaTRecord r;
    std::memset(&r, 0, sizeof r);
    r.ID[0] = static_cast<uint8_t>(std::strlen(DeltaTTableID));
    std::memcpy(r.ID + 1, DeltaTTableID, r.ID[0]);
    r.Version[0] = static_cast<uint8_t>(std::strlen(BuiltInVersion));
    std::memcpy(r.Version + 1, BuiltInVersion, r.Version[0]);
    std::memcpy(r.Values, BuiltInValues, sizeof BuiltInValues);
    return r;
}

TYearlyDeltaTRecord YearlyRecord = MakeBuiltInRecord();
bool YearlyRecordLoaded = false;

// The first delta-T value of the run sets up the yearly record, as the
// program's start-up would.
void EnsureYearlyRecord()
{
    if (!YearlyRecordLoaded)
        LoadDeltaTFile();
}

long double YearlyValue(int year) { return YearlyRecord.Values[year - 1620] / 100.0L; }

long double Parabola(long double year)
{
    const long double t = (year - 2000) / 100;
    if (year >= 948)
        return 102 + 102 * t + 25.3L * t * t;
    return 2177 + 497 * t + 44.1L * t * t;
}

[[noreturn]] void RaiseTableError(const std::string& what)
{
    const TDeltaTTable& t = DeltaTTable;
    throw rtl::Exception("Error reading delta-T table:\r\nLine " + rtl::IntToStr(t.LineNumber) +
                         ": " + what + "\r\n" + t.FileName);
}

} // namespace

std::string TYearlyDeltaTRecord::VersionText() const
{
    const int n = Version[0] > 8 ? 8 : Version[0];
    return std::string(reinterpret_cast<const char*>(Version + 1), n);
}

const TYearlyDeltaTRecord& YearlyDeltaTRecord()
{
    EnsureYearlyRecord();
    return YearlyRecord;
}

void LoadDeltaTFile() { LoadDeltaTFile(rtl::ExecutableDir() + "deltaT.dat"); }

void LoadDeltaTFile(const std::string& fileName)
{
    YearlyRecordLoaded = true;
    YearlyRecord = MakeBuiltInRecord();
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return;
    TYearlyDeltaTRecord fromFile;
    in.read(reinterpret_cast<char*>(&fromFile), sizeof fromFile);
    if (in.gcount() != static_cast<std::streamsize>(sizeof fromFile))
        return;
    if (std::memcmp(fromFile.ID, YearlyRecord.ID, YearlyRecord.ID[0] + 1) != 0)
        return;
    // The file's values are little-endian, as is every platform we build on.
    YearlyRecord = fromFile;
}

namespace {

// Delta T stays within a few hours over the catalogue's five millennia; a
// value beyond a million seconds (or not a number at all) is a fault in the
// table, refused like a line that cannot be read.
bool PlausibleDeltaT(long double seconds)
{
    return std::isfinite(seconds) && std::fabs(seconds) <= 1.0e6L;
}

} // namespace

int LoadDeltaTTable(const std::string& fileName)
{
    TDeltaTTable& t = DeltaTTable;
    t.Error = 0;
    t.LineNumber = 0;
    t.NumValues = 0;
    t.IsLoaded = false;
    t.FileName = fileName;

    if (!rtl::FileExists(fileName)) {
        t.Error = 1;
        throw rtl::Exception("Error reading delta-T table:\r\nFile not found:\r\n" + fileName);
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        t.Error = 1;
        throw rtl::Exception("Error reading delta-T table:\r\nFile not found:\r\n" + fileName);
    }

    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ++t.LineNumber;
        const std::size_t bang = line.find('!');
        if (bang != std::string::npos)
            line.erase(bang);
        line = rtl::Trim(line);
        if (line.empty())
            continue;
        if (count >= MaxDeltaTValues) {
            t.Error = 3;
            RaiseTableError("Too much data.");
        }
        const std::size_t colon = line.find(':');
        long double key = 0, value = 0;
        if (colon == std::string::npos ||
            !rtl::TryStrToFloat(rtl::Trim(line.substr(0, colon)), key) ||
            !rtl::TryStrToFloat(rtl::Trim(line.substr(colon + 1)), value) ||
            !PlausibleDeltaT(value)) {
            t.Error = 2;
            RaiseTableError("Syntax error.");
        }
        long double jd;
        if (key >= -3000 && key <= 3000)
            jd = DecimalYearToJD(key);
        else if (key >= 625000 && key <= 2817000)
            jd = key;
        else {
            t.Error = 4;
            RaiseTableError("JD or year out of range.");
        }
        const float storedKey = static_cast<float>(jd);
        if (count > 0 && !(storedKey > t.Values[count - 1].Key)) {
            t.Error = 5;
            RaiseTableError("No ascending order.");
        }
        t.Values[count].Key = storedKey;
        t.Values[count].Value = static_cast<float>(value);
        ++count;
    }
    t.NumValues = count;
    t.IsLoaded = true;
    return 0;
}

long double DeltaTFromTable(long double jd)
{
    const TDeltaTTable& t = DeltaTTable;
    if (!t.IsLoaded || t.NumValues <= 0)
        return 0;
    const int last = t.NumValues - 1;
    if (jd <= t.Values[0].Key)
        return t.Values[0].Value / 86400.0L;
    if (jd >= t.Values[last].Key)
        return t.Values[last].Value / 86400.0L;
    int lo = 0, hi = last;
    while (hi - lo > 10) {
        const int mid = (lo + hi) / 2;
        if (jd > t.Values[mid].Key)
            lo = mid;
        else
            hi = mid;
    }
    int k = lo;
    while (k < last && t.Values[k].Key < jd)
        ++k;
    // jd lies strictly inside the keys, so k >= 1 here.
    const long double k0 = t.Values[k - 1].Key, k1 = t.Values[k].Key;
    const long double v0 = t.Values[k - 1].Value, v1 = t.Values[k].Value;
    return (v0 + (jd - k0) / (k1 - k0) * (v1 - v0)) / 86400.0L;
}

namespace {

// Delta T is modelled over the supported dates only; beyond them (or for a
// Julian Day that is not a number) the value at the nearer end holds, and no
// year outside the calendar's range is ever computed.
long double SupportedJD(long double jd)
{
    if (!(jd >= MinSupportedJD)) return MinSupportedJD;
    return jd > MaxSupportedJD ? MaxSupportedJD : jd;
}

} // namespace

long double DeltaTInternal(long double jd)
{
    EnsureYearlyRecord();
    jd = SupportedJD(jd);
    const long double y = JDToDecimalYear(jd);
    if (y < 1620)
        return 0;
    if (y <= 2020) {
        const int i = static_cast<int>(std::trunc(y));
        const long double f = y - i;
        // At 2020 exactly there is no following year to weigh.
        const long double next = i < 2020 ? YearlyValue(i + 1) : YearlyValue(2020);
        return (YearlyValue(i) + f * (next - YearlyValue(i))) / 86400;
    }
    // The parabola shifted to meet the table's 2020 value.
    return (Parabola(y) - Parabola(2020) + YearlyValue(2020)) / 86400;
}

long double DeltaT(long double jd)
{
    jd = SupportedJD(jd);
    const long double y = JDToDecimalYear(jd);
    if (y >= 1620 && UseInternalDeltaTTable)
        return DeltaTInternal(jd);
    if (DeltaTTable.IsLoaded && DeltaTTable.NumValues > 0)
        return DeltaTFromTable(jd);
    return Parabola(y) / 86400;
}

long double TDToUT(long double jd) { return jd - DeltaT(jd); }

long double GreenwichSiderealTime(long double jd)
{
    const long double d = jd - 2451545.0L;
    const long double T = d / 36525;
    return (280.46061837L + 360.98564736629L * d + 0.000387933L * T * T -
            T * T * T / 38710000) /
           15;
}

} // namespace compute
