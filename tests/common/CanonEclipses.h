// Catalogue rows of published eclipses for the tests: one-row in-memory data
// sets with the columns of the solar (BE_SE) and lunar (BE_LE) catalogue
// tables, filled with the values the Five Millennium Canons (Espenak &
// Meeus, NASA/TP-2006-214141 and NASA/TP-2009-214172) publish.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestDates.h"
#include "compute/AstroBase.h"
#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"
#include "platform/db/DataSet.h"

namespace tectest {

// Besselian elements and catalogue values of one solar eclipse.
struct TSolarRow {
    int CatNo = 1, Saros = 0, k = 0, T0 = 0;
    std::string DT, Type = "T";
    long double JDE = 0, JD0 = 0, Gamma = 0, Magnitude = 0;
    long double X[4] = {}, Y[4] = {}, d[3] = {}, M[2] = {}, L1[3] = {}, L2[3] = {};
    long double TanF1 = 0, TanF2 = 0, MELat = 0, MELon = 0;
    int deltaT = 0;
};

// Catalogue values and polynomial elements of one lunar eclipse.
struct TLunarRow {
    int CatNo = 1, Saros = 0, k = 0;
    std::string DT, Type = "T", QSE;
    long double JDE = 0, DurationPen = 0, DurationPar = 0, DurationTot = 0;
    long double RA[3] = {}, DEC[3] = {}, R[3] = {};
    long double Gamma = 0, MagPen = 0, MagUmbra = 0;
    int MELat = 0, MELon = 0;   // whole degrees, as the table stores them
    int deltaT = 0;
};

namespace detail {

// Fields and the one record of a row, gathered as they are added.
class TRowBuilder {
public:
    void Add(const std::string& name, db::TFieldType type, db::TFieldValue value)
    {
        FDataSet->AddFieldDef(name, type, type == db::TFieldType::ftString ? 12 : 0);
        FValues.push_back(std::move(value));
    }
    void Int(const std::string& name, db::TFieldType type, long long value)
    {
        Add(name, type, db::TFieldValue(static_cast<int64_t>(value)));
    }
    void Float(const std::string& name, long double value)
    {
        Add(name, db::TFieldType::ftFloat, db::TFieldValue(value));
    }
    void Text(const std::string& name, const std::string& value)
    {
        Add(name, db::TFieldType::ftString, db::TFieldValue(value));
    }
    // Columns prefix0, prefix1, ... for the coefficients of one polynomial.
    template <std::size_t N>
    void Floats(const std::string& prefix, const long double (&values)[N])
    {
        for (std::size_t n = 0; n < N; ++n) Float(prefix + std::to_string(n), values[n]);
    }
    std::unique_ptr<db::TMemDataSet> Finish()
    {
        FDataSet->AppendRecord(FValues);
        FDataSet->Open();
        return std::move(FDataSet);
    }

private:
    std::unique_ptr<db::TMemDataSet> FDataSet = std::make_unique<db::TMemDataSet>();
    std::vector<db::TFieldValue> FValues;
};

} // namespace detail

inline std::unique_ptr<db::TMemDataSet> SolarDataSet(const TSolarRow& r)
{
    using db::TFieldType;
    detail::TRowBuilder b;
    b.Int("ID", TFieldType::ftAutoInc, r.CatNo);
    b.Int("CatNo", TFieldType::ftSmallint, r.CatNo);
    b.Int("Saros", TFieldType::ftSmallint, r.Saros);
    b.Int("k", TFieldType::ftInteger, r.k);
    b.Int("T0", TFieldType::ftSmallint, r.T0);
    b.Text("DT", r.DT);
    b.Text("Type", r.Type);
    b.Float("Gamma", r.Gamma);
    b.Float("Magnitude", r.Magnitude);
    b.Float("JDE", r.JDE);
    b.Float("JD0", r.JD0);
    b.Floats("X", r.X);
    b.Floats("Y", r.Y);
    b.Floats("d", r.d);
    b.Floats("M", r.M);
    b.Floats("L1", r.L1);
    b.Floats("L2", r.L2);
    b.Float("TanF1", r.TanF1);
    b.Float("TanF2", r.TanF2);
    b.Float("MELon", r.MELon);
    b.Float("MELat", r.MELat);
    b.Int("deltaT", TFieldType::ftInteger, r.deltaT);
    return b.Finish();
}

inline std::unique_ptr<db::TMemDataSet> LunarDataSet(const TLunarRow& r)
{
    using db::TFieldType;
    detail::TRowBuilder b;
    b.Int("ID", TFieldType::ftAutoInc, r.CatNo);
    b.Int("CatNo", TFieldType::ftInteger, r.CatNo);
    b.Int("Saros", TFieldType::ftSmallint, r.Saros);
    b.Int("k", TFieldType::ftInteger, r.k);
    b.Text("DT", r.DT);
    b.Text("Type", r.Type);
    b.Text("QSE", r.QSE);
    b.Float("JDE", r.JDE);
    b.Float("DurationPen", r.DurationPen);
    b.Float("DurationPar", r.DurationPar);
    b.Float("DurationTot", r.DurationTot);
    b.Floats("RA", r.RA);
    b.Floats("DEC", r.DEC);
    b.Floats("R", r.R);
    b.Float("Gamma", r.Gamma);
    b.Float("MagPen", r.MagPen);
    b.Float("MagUmbra", r.MagUmbra);
    b.Int("MELat", TFieldType::ftSmallint, r.MELat);
    b.Int("MELon", TFieldType::ftSmallint, r.MELon);
    b.Int("deltaT", TFieldType::ftInteger, r.deltaT);
    return b.Finish();
}

// An eclipse read from its catalogue row.
inline void ReadRow(compute::TSolarEclipse& se, const TSolarRow& row)
{
    auto ds = SolarDataSet(row);
    se.ReadFromDataSet(ds.get());
}

inline void ReadRow(compute::TLunarEclipse& le, const TLunarRow& row)
{
    auto ds = LunarDataSet(row);
    le.ReadFromDataSet(ds.get());
}

// The total solar eclipse of 2024 April 8 (catalogue number 9561).
inline TSolarRow Solar20240408()
{
    TSolarRow r;
    r.CatNo = 9561;
    r.Saros = 139;
    r.k = 300;
    r.T0 = 18;
    r.DT = "2024 Apr 08";
    r.Type = "T";
    r.JDE = JD(2024, 4, 8, 18, 18, 29);
    r.JD0 = JD(2024, 4, 8, 18);
    r.Gamma = 0.3431L;       // as the catalogue prints them
    r.Magnitude = 1.0566L;
    const long double X[4] = {-0.318244L, 0.5117116L, 0.0000326L, -0.00000842L};
    const long double Y[4] = {0.219764L, 0.2709589L, -0.0000595L, -0.00000466L};
    const long double d[3] = {7.5862L, 0.014844L, -0.000002L};
    const long double L1[3] = {0.535814L, 0.0000618L, -0.0000128L};
    const long double L2[3] = {-0.010272L, 0.0000615L, -0.0000127L};
    std::copy(X, X + 4, r.X);
    std::copy(Y, Y + 4, r.Y);
    std::copy(d, d + 3, r.d);
    std::copy(L1, L1 + 3, r.L1);
    std::copy(L2, L2 + 3, r.L2);
    r.M[0] = 89.59122L;
    r.M[1] = 15.00408L;
    r.TanF1 = 0.0046683L;
    r.TanF2 = 0.004645L;
    r.MELat = 25.28945L;
    r.MELon = 104.12775L;
    r.deltaT = 74;
    return r;
}

// The annular solar eclipse of 2023 October 14 (catalogue number 9560):
// elements and times only.
inline TSolarRow Solar20231014()
{
    TSolarRow r;
    r.CatNo = 9560;
    r.Saros = 134;
    r.T0 = 18;
    r.Type = "A";
    r.JDE = JD(2023, 10, 14, 18, 0, 41);
    r.JD0 = JD(2023, 10, 14, 18);
    const long double X[4] = {0.169658L, 0.4585533L, 0.0000278L, -0.00000543L};
    const long double Y[4] = {0.334859L, -0.2413671L, 0.000024L, 0.00000303L};
    const long double d[3] = {-8.24419L, -0.014888L, 0.000002L};
    const long double L1[3] = {0.564311L, -0.0000891L, -0.0000103L};
    const long double L2[3] = {0.018083L, -0.0000886L, -0.0000103L};
    std::copy(X, X + 4, r.X);
    std::copy(Y, Y + 4, r.Y);
    std::copy(d, d + 3, r.d);
    std::copy(L1, L1 + 3, r.L1);
    std::copy(L2, L2 + 3, r.L2);
    r.M[0] = 93.50173L;
    r.M[1] = 15.00353L;
    r.TanF1 = 0.0046882L;
    r.TanF2 = 0.0046648L;
    r.MELat = 11.36796L;
    r.MELon = 83.09216L;
    r.deltaT = 74;
    return r;
}

// The annular solar eclipse of 2012 May 20/21 (catalogue number 9535),
// whose maximum passes 0h UT along its path.
inline TSolarRow Solar20120520()
{
    TSolarRow r;
    r.CatNo = 9535;
    r.Saros = 128;
    r.k = 153;
    r.T0 = 0;
    r.DT = "2012 May 20";
    r.Type = "A";
    r.JDE = JD(2012, 5, 20, 23, 53, 54);
    r.JD0 = JD(2012, 5, 21, 0);
    r.Gamma = 0.4828L;
    r.Magnitude = 0.9439L;
    const long double X[4] = {-0.002266L, 0.5031828L, 1.83e-05L, -5.7e-06L};
    const long double Y[4] = {0.485524L, 0.0560538L, -0.0001411L, -6e-07L};
    const long double d[3] = {20.2205601L, 0.008271L, -5e-06L};
    const long double L1[3] = {0.566487L, -3.12e-05L, -9.7e-06L};
    const long double L2[3] = {0.020248L, -3.11e-05L, -9.7e-06L};
    std::copy(X, X + 4, r.X);
    std::copy(Y, Y + 4, r.Y);
    std::copy(d, d + 3, r.d);
    std::copy(L1, L1 + 3, r.L1);
    std::copy(L2, L2 + 3, r.L2);
    r.M[0] = 180.856583L;
    r.M[1] = 15.00058L;
    r.TanF1 = 0.0046205L;
    r.TanF2 = 0.0045974L;
    r.MELat = 49.1L;
    r.MELon = -176.3L;
    r.deltaT = 68;
    return r;
}

// The total lunar eclipse of 2025 March 14 (catalogue number 9706):
// greatest eclipse 06:59:56 TD, delta T 75 s, Moon in the zenith at 3 N
// 102 W, durations 362.6 / 218.3 / 65.4 minutes.  The canon prints no
// polynomials of the Moon's place, so these are made to put the Moon in
// the zenith of that point at greatest eclipse, moving 0.55 degree per
// hour in right ascension and -0.25 in declination at 0.00244 AU
// (365000 km).  The type letter can be replaced.
inline TLunarRow Lunar20250314(const std::string& type = "T")
{
    TLunarRow r;
    r.CatNo = 9706;
    r.Saros = 123;
    r.k = 311;
    r.DT = "2025 Mar 14";
    r.Type = type;
    r.QSE = "-p";
    r.JDE = JD(2025, 3, 14, 6, 59, 56);
    r.DurationPen = 362.6L / 60;
    r.DurationPar = 218.3L / 60;
    r.DurationTot = 65.4L / 60;
    r.Gamma = 0.3484L;
    r.MagPen = 2.2595L;
    r.MagUmbra = 1.1784L;
    r.MELat = 3;
    r.MELon = 102;
    r.deltaT = 75;
    const long double gmstDeg = compute::GreenwichSiderealTime(r.JDE - 75.0L / 86400) * 15;
    r.RA[0] = std::fmod(gmstDeg - 102 + 3600, 360.0L);
    r.RA[1] = 0.55L;
    r.DEC[0] = 3;
    r.DEC[1] = -0.25L;
    r.R[0] = 0.00244L;
    return r;
}

} // namespace tectest
