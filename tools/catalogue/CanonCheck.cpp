#include "tools/catalogue/CanonCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include <sqlite3.h>

#include "tools/catalogue/Ephemeris.h"
#include "tools/catalogue/Margins.h"

namespace catalogue {

double Stat::Median() const
{
    if (Values.empty()) return 0;
    std::vector<double> v = Values;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

double Stat::Mean() const
{
    if (Values.empty()) return 0;
    double sum = 0;
    for (double v : Values) sum += v;
    return sum / Values.size();
}

double Stat::Max() const
{
    return Values.empty() ? 0 : *std::max_element(Values.begin(), Values.end());
}

std::vector<YearSpan> StandardSpans()
{
    return {{"-1999..-1000", -1999, -1000}, {"-999..0", -999, 0},      {"1..1000", 1, 1000},
            {"1001..2000", 1001, 2000},     {"2001..2999", 2001, 2999}, {"1600..2399", 1600, 2399},
            {"1900..2099", 1900, 2099}};
}

namespace {

std::vector<std::string> SplitCsv(const std::string& line)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : line) {
        if (c == ',') {
            out.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    out.push_back(cur);
    for (auto& s : out) {
        std::size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
        s = a == std::string::npos ? "" : s.substr(a, b - a + 1);
    }
    return out;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& file, bool header)
{
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (first && header) {
            first = false;
            continue;
        }
        first = false;
        rows.push_back(SplitCsv(line));
    }
    return rows;
}

int MonthOf(const std::string& name)
{
    static const char* names[] = {"January", "February", "March", "April", "May", "June", "July",
                                  "August", "September", "October", "November", "December"};
    for (int i = 0; i < 12; ++i)
        if (name == names[i]) return i + 1;
    throw std::runtime_error("unknown month " + name);
}

struct CanonDate {
    int Year, Month, Day;
    long double JD;   // of the given time, TD
};

// "-1999 June 12" and "03:14:51".
CanonDate ParseDate(const std::string& date, const std::string& time)
{
    std::istringstream s(date);
    CanonDate d{};
    std::string month;
    s >> d.Year >> month >> d.Day;
    d.Month = MonthOf(month);
    int h = 0, m = 0, sec = 0;
    std::sscanf(time.c_str(), "%d:%d:%d", &h, &m, &sec);
    d.JD = CalendarToJD(d.Year, d.Month, d.Day + (h + (m + sec / 60.0L) / 60.0L) / 24.0L);
    return d;
}

double Num(const std::string& s) { return s.empty() || s == "-" ? 0.0 : std::stod(s); }

long double Poly(const long double* c, int n, long double t)
{
    long double s = 0;
    for (int i = n - 1; i >= 0; --i) s = s * t + c[i];
    return s;
}

double AngleDiff(long double a, long double b)
{
    long double d = std::fmod(a - b, 360.0L);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return static_cast<double>(std::fabs(d));
}

struct OurSolar {
    long double JD0, JDE, X[4], Y[4], D[3], Mu[2], L1[3], L2[3], Gamma, Magnitude;
    std::string Type;
    int Saros, Year;
};

struct OurLunar {
    long double JDE, Gamma, MagPen, MagUmbra, Pen, Par, Tot, R0;
    std::string Type, QSE;
    int Saros, Year;
};

class Reader {
public:
    explicit Reader(const std::string& file)
    {
        if (sqlite3_open_v2(file.c_str(), &FDb, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file);
    }
    ~Reader() { sqlite3_close(FDb); }
    template <typename F>
    void Each(const std::string& sql, F f)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("catalogue: ") + sqlite3_errmsg(FDb));
        while (sqlite3_step(st) == SQLITE_ROW) f(st);
        sqlite3_finalize(st);
    }

private:
    sqlite3* FDb = nullptr;
};

template <typename T>
T* SpanOf(std::vector<T>& list, int year, std::vector<T*>& out)
{
    out.clear();
    for (auto& c : list)
        if (year >= c.Span.From && year <= c.Span.To) out.push_back(&c);
    return out.empty() ? nullptr : out.front();
}

} // namespace

CanonReport CompareWithCanon(const std::string& catalogueFile, const std::string& canonDir,
                             const std::vector<YearSpan>& spans)
{
    std::map<int, OurSolar> solar;
    std::map<int, OurLunar> lunar;
    Reader db(catalogueFile);
    db.Each("SELECT k, JD0, JDE, X0, X1, X2, X3, Y0, Y1, Y2, Y3, d0, d1, d2, M0, M1, L10, L11, "
            "L12, L20, L21, L22, Gamma, Magnitude, Type, Saros, DT FROM BE_SE",
            [&](sqlite3_stmt* st) {
                OurSolar o;
                int c = 1;
                auto col = [&] { return static_cast<long double>(sqlite3_column_double(st, c++)); };
                o.JD0 = col();
                o.JDE = col();
                for (auto& v : o.X) v = col();
                for (auto& v : o.Y) v = col();
                for (auto& v : o.D) v = col();
                for (auto& v : o.Mu) v = col();
                for (auto& v : o.L1) v = col();
                for (auto& v : o.L2) v = col();
                o.Gamma = col();
                o.Magnitude = col();
                o.Type = reinterpret_cast<const char*>(sqlite3_column_text(st, 24));
                o.Saros = sqlite3_column_int(st, 25);
                o.Year = std::atoi(reinterpret_cast<const char*>(sqlite3_column_text(st, 26)));
                solar[sqlite3_column_int(st, 0)] = o;
            });
    db.Each("SELECT k, JDE, Gamma, MagPen, MagUmbra, DurationPen, DurationPar, DurationTot, Type, "
            "QSE, Saros, DT, R0 FROM BE_LE",
            [&](sqlite3_stmt* st) {
                OurLunar o;
                o.JDE = sqlite3_column_double(st, 1);
                o.Gamma = sqlite3_column_double(st, 2);
                o.MagPen = sqlite3_column_double(st, 3);
                o.MagUmbra = sqlite3_column_double(st, 4);
                o.Pen = sqlite3_column_double(st, 5);
                o.Par = sqlite3_column_double(st, 6);
                o.Tot = sqlite3_column_double(st, 7);
                o.Type = reinterpret_cast<const char*>(sqlite3_column_text(st, 8));
                o.QSE = reinterpret_cast<const char*>(sqlite3_column_text(st, 9));
                o.Saros = sqlite3_column_int(st, 10);
                o.Year = std::atoi(reinterpret_cast<const char*>(sqlite3_column_text(st, 11)));
                o.R0 = sqlite3_column_double(st, 12);
                lunar[sqlite3_column_int(st, 0)] = o;
            });

    CanonReport report;
    for (const auto& s : spans) {
        report.Solar.push_back({});
        report.Solar.back().Span = s;
        report.Lunar.push_back({});
        report.Lunar.back().Span = s;
    }
    std::vector<SolarComparison*> sBuckets;
    std::vector<LunarComparison*> lBuckets;

    // Solar: the Besselian elements by date, the catalogue by lunation.
    struct CanonElements {
        long double JD0, X[4], Y[4], D[3], Mu[3], L1[3], L2[3];
    };
    std::map<std::tuple<int, int, int>, CanonElements> elements;
    for (const auto& r : ReadCsv(canonDir + "/canon-solar-besselian.csv", false)) {
        if (r.size() < 28) continue;
        CanonElements e;
        int y = std::stoi(r[0]), m = std::stoi(r[1]), d = std::stoi(r[2]);
        long double jd = Num(r[3]), t0 = Num(r[4]);
        e.JD0 = CalendarToJD(y, m, d) + t0 / 24.0L;
        while (e.JD0 - jd > 0.5L) e.JD0 -= 1;
        while (jd - e.JD0 > 0.5L) e.JD0 += 1;
        int c = 6;
        for (auto& v : e.X) v = Num(r[c++]);
        for (auto& v : e.Y) v = Num(r[c++]);
        for (auto& v : e.D) v = Num(r[c++]);
        for (auto& v : e.Mu) v = Num(r[c++]);
        for (auto& v : e.L1) v = Num(r[c++]);
        for (auto& v : e.L2) v = Num(r[c++]);
        elements[{y, m, d}] = e;
    }
    std::map<int, bool> seen;
    for (const auto& r : ReadCsv(canonDir + "/canon-solar-catalogue.csv", true)) {
        if (r.size() < 10) continue;
        CanonDate date = ParseDate(r[1], r[2]);
        int k = std::stoi(r[4]);
        if (k > kLastLunation) continue;   // beyond the catalogue
        seen[k] = true;
        SpanOf(report.Solar, date.Year, sBuckets);
        auto it = solar.find(k);
        for (SolarComparison* b : sBuckets) {
            if (it == solar.end()) {
                ++b->MissingHere;
                continue;
            }
            const OurSolar& o = it->second;
            ++b->Compared;
            if (o.Type.substr(0, 1) != r[6].substr(0, 1)) ++b->TypeDiffers;
            if (o.Saros != std::stoi(r[5])) ++b->SarosDiffers;
            b->Gamma.Add(std::fabs(static_cast<double>(o.Gamma) - Num(r[7])));
            b->Magnitude.Add(std::fabs(static_cast<double>(o.Magnitude) - Num(r[8])));
            b->Time.Add(static_cast<double>(std::fabs(o.JDE - date.JD) * 86400.0L));
            auto e = elements.find({date.Year, date.Month, date.Day});
            if (e == elements.end()) continue;
            const CanonElements& c = e->second;
            long double tc = (date.JD - c.JD0) * 24.0L, to = (date.JD - o.JD0) * 24.0L;
            double dx = std::fabs(static_cast<double>(Poly(o.X, 4, to) - Poly(c.X, 4, tc)));
            double dy = std::fabs(static_cast<double>(Poly(o.Y, 4, to) - Poly(c.Y, 4, tc)));
            b->X.Add(dx);
            b->Y.Add(dy);
            b->XY.Add(std::max(dx, dy));
            b->D.Add(std::fabs(static_cast<double>(Poly(o.D, 3, to) - Poly(c.D, 3, tc))));
            b->Mu.Add(AngleDiff(Poly(o.Mu, 2, to), Poly(c.Mu, 3, tc)));
            b->L1.Add(std::fabs(static_cast<double>(Poly(o.L1, 3, to) - Poly(c.L1, 3, tc))));
            b->L2.Add(std::fabs(static_cast<double>(Poly(o.L2, 3, to) - Poly(c.L2, 3, tc))));
        }
    }
    for (const auto& [k, o] : solar)
        if (!seen.count(k)) {
            SpanOf(report.Solar, o.Year, sBuckets);
            for (auto* b : sBuckets) ++b->MissingCanon;
        }

    seen.clear();
    for (const auto& r : ReadCsv(canonDir + "/canon-lunar-catalogue.csv", true)) {
        if (r.size() < 16) continue;
        CanonDate date = ParseDate(r[1], r[2]);
        int k = std::stoi(r[4]);
        if (k > kLastLunation) continue;   // beyond the catalogue
        seen[k] = true;
        SpanOf(report.Lunar, date.Year, lBuckets);
        auto it = lunar.find(k);
        for (LunarComparison* b : lBuckets) {
            if (it == lunar.end()) {
                ++b->MissingHere;
                continue;
            }
            const OurLunar& o = it->second;
            ++b->Compared;
            if (o.Type.substr(0, 1) != r[6].substr(0, 1)) ++b->TypeDiffers;
            if (o.QSE != r[7]) ++b->QSEDiffers;
            if (o.Saros != std::stoi(r[5])) ++b->SarosDiffers;
            b->Gamma.Add(std::fabs(static_cast<double>(o.Gamma) - Num(r[8])));
            b->MagPen.Add(std::fabs(static_cast<double>(o.MagPen) - Num(r[9])));
            b->MagUmbra.Add(std::fabs(static_cast<double>(o.MagUmbra) - Num(r[10])));
            b->Time.Add(static_cast<double>(std::fabs(o.JDE - date.JD) * 86400.0L));
            const double dPen = std::fabs(static_cast<double>(o.Pen) * 60 - Num(r[13]));
            b->DurPen.Add(dPen);
            b->DurationsOff += dPen > 0.2;
            if (o.Par > 0 || Num(r[14]) > 0) {
                const double d = std::fabs(static_cast<double>(o.Par) * 60 - Num(r[14]));
                b->DurPar.Add(d);
                b->DurationsOff += d > 0.2;
            }
            if (o.Tot > 0 || Num(r[15]) > 0) {
                const double d = std::fabs(static_cast<double>(o.Tot) * 60 - Num(r[15]));
                b->DurTot.Add(d);
                b->DurationsOff += d > 0.2;
            }
            // The Moon's geocentric semi-diameter (k = 0.2725076), arc seconds.
            const long double sMoon =
                std::asin(0.2725076L * kEarthRadiusAU / o.R0) / kDeg * 3600.0L;
            b->PenRadius.Add(static_cast<double>(2 * sMoon * (Num(r[9]) - o.MagPen)));
            b->UmbRadius.Add(static_cast<double>(2 * sMoon * (Num(r[10]) - o.MagUmbra)));
        }
    }
    for (const auto& [k, o] : lunar)
        if (!seen.count(k)) {
            SpanOf(report.Lunar, o.Year, lBuckets);
            for (auto* b : lBuckets) ++b->MissingCanon;
        }
    return report;
}

std::string FormatReport(const CanonReport& report)
{
    std::string out;
    char buf[512];
    auto mm = [&](const Stat& s, const char* fmt) {
        std::string r;
        char b[64];
        std::snprintf(b, sizeof b, fmt, s.Median());
        r += b;
        r += " / ";
        std::snprintf(b, sizeof b, fmt, s.Max());
        r += b;
        return r;
    };
    out += "Solar eclipses (median / largest difference; x, y, l1, l2 in Earth radii, d and mu in "
           "degrees, time in seconds)\n\n";
    out += "| years | compared | x | y | max(x, y) | d | mu | l1 | l2 | gamma | magnitude | time | type differs | "
           "Saros differs | missing here / in canon |\n";
    out += "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const auto& b : report.Solar) {
        std::snprintf(buf, sizeof buf, "| %s | %d | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %.3f %% | %d | %d / %d |\n",
                      b.Span.Label.c_str(), b.Compared, mm(b.X, "%.1e").c_str(), mm(b.Y, "%.1e").c_str(),
                      mm(b.XY, "%.1e").c_str(),
                      mm(b.D, "%.1e").c_str(), mm(b.Mu, "%.1e").c_str(), mm(b.L1, "%.1e").c_str(),
                      mm(b.L2, "%.1e").c_str(), mm(b.Gamma, "%.1e").c_str(),
                      mm(b.Magnitude, "%.1e").c_str(), mm(b.Time, "%.1f").c_str(),
                      b.Compared ? 100.0 * b.TypeDiffers / b.Compared : 0.0, b.SarosDiffers,
                      b.MissingHere, b.MissingCanon);
        out += buf;
    }
    out += "\nLunar eclipses (median / largest difference; durations in minutes, time in seconds)\n\n";
    out += "| years | compared | gamma | pen. magnitude | umbral magnitude | penumbral | partial | "
           "total | durations > 0.2 min | canon - ours pen. / umbral radius (\", mean) | time | "
           "type differs | QSE differs | Saros differs | missing here / in canon |\n";
    out += "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const auto& b : report.Lunar) {
        std::snprintf(buf, sizeof buf, "| %s | %d | %s | %s | %s | %s | %s | %s | %d | %+.3f / %+.3f | %s | %.3f %% | %d | %d | %d / %d |\n",
                      b.Span.Label.c_str(), b.Compared, mm(b.Gamma, "%.1e").c_str(),
                      mm(b.MagPen, "%.1e").c_str(), mm(b.MagUmbra, "%.1e").c_str(),
                      mm(b.DurPen, "%.2f").c_str(), mm(b.DurPar, "%.2f").c_str(),
                      mm(b.DurTot, "%.2f").c_str(), b.DurationsOff, b.PenRadius.Mean(),
                      b.UmbRadius.Mean(), mm(b.Time, "%.1f").c_str(),
                      b.Compared ? 100.0 * b.TypeDiffers / b.Compared : 0.0, b.QSEDiffers,
                      b.SarosDiffers, b.MissingHere, b.MissingCanon);
        out += buf;
    }
    return out;
}

} // namespace catalogue
