// Catalogue rows for the eclipse tests: one-row in-memory data sets with
// the columns of the solar (BE_SE) and lunar (BE_LE) catalogue tables.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/DataSet.h"

namespace comptest {

using db::TFieldType;
using db::TFieldValue;

// Besselian elements and catalogue values of one solar eclipse, as the
// Five Millennium Canon publishes them.
struct TSolarRow {
    int CatNo = 1, Saros = 0, k = 0, T0 = 0;
    std::string DT, Type = "T";
    long double JDE = 0, JD0 = 0, Gamma = 0, Magnitude = 0;
    long double X[4] = {}, Y[4] = {}, d[3] = {}, M[2] = {}, L1[3] = {}, L2[3] = {};
    long double TanF1 = 0, TanF2 = 0, MELat = 0, MELon = 0;
    int deltaT = 0;
};

inline std::unique_ptr<db::TMemDataSet> SolarDataSet(const TSolarRow& r)
{
    auto ds = std::make_unique<db::TMemDataSet>();
    std::vector<TFieldValue> values;
    auto add = [&](const char* name, TFieldType type, TFieldValue v) {
        ds->AddFieldDef(name, type, type == TFieldType::ftString ? 12 : 0);
        values.push_back(std::move(v));
    };
    auto i = [](long long v) { return TFieldValue(static_cast<int64_t>(v)); };
    auto f = [](long double v) { return TFieldValue(v); };
    add("ID", TFieldType::ftAutoInc, i(r.CatNo));
    add("CatNo", TFieldType::ftSmallint, i(r.CatNo));
    add("Saros", TFieldType::ftSmallint, i(r.Saros));
    add("k", TFieldType::ftInteger, i(r.k));
    add("T0", TFieldType::ftSmallint, i(r.T0));
    add("DT", TFieldType::ftString, TFieldValue(r.DT));
    add("Type", TFieldType::ftString, TFieldValue(r.Type));
    add("Gamma", TFieldType::ftFloat, f(r.Gamma));
    add("Magnitude", TFieldType::ftFloat, f(r.Magnitude));
    add("JDE", TFieldType::ftFloat, f(r.JDE));
    add("JD0", TFieldType::ftFloat, f(r.JD0));
    const char* xy[2][4] = {{"X0", "X1", "X2", "X3"}, {"Y0", "Y1", "Y2", "Y3"}};
    for (int n = 0; n < 4; ++n)
        add(xy[0][n], TFieldType::ftFloat, f(r.X[n]));
    for (int n = 0; n < 4; ++n)
        add(xy[1][n], TFieldType::ftFloat, f(r.Y[n]));
    const char* dl[3][3] = {{"d0", "d1", "d2"}, {"L10", "L11", "L12"}, {"L20", "L21", "L22"}};
    for (int n = 0; n < 3; ++n)
        add(dl[0][n], TFieldType::ftFloat, f(r.d[n]));
    add("M0", TFieldType::ftFloat, f(r.M[0]));
    add("M1", TFieldType::ftFloat, f(r.M[1]));
    for (int n = 0; n < 3; ++n)
        add(dl[1][n], TFieldType::ftFloat, f(r.L1[n]));
    for (int n = 0; n < 3; ++n)
        add(dl[2][n], TFieldType::ftFloat, f(r.L2[n]));
    add("TanF1", TFieldType::ftFloat, f(r.TanF1));
    add("TanF2", TFieldType::ftFloat, f(r.TanF2));
    add("MELon", TFieldType::ftFloat, f(r.MELon));
    add("MELat", TFieldType::ftFloat, f(r.MELat));
    add("deltaT", TFieldType::ftInteger, i(r.deltaT));
    ds->AppendRecord(values);
    ds->Open();
    return ds;
}

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

inline std::unique_ptr<db::TMemDataSet> LunarDataSet(const TLunarRow& r)
{
    auto ds = std::make_unique<db::TMemDataSet>();
    std::vector<TFieldValue> values;
    auto add = [&](const char* name, TFieldType type, TFieldValue v) {
        ds->AddFieldDef(name, type, type == TFieldType::ftString ? 12 : 0);
        values.push_back(std::move(v));
    };
    auto i = [](long long v) { return TFieldValue(static_cast<int64_t>(v)); };
    auto f = [](long double v) { return TFieldValue(v); };
    add("ID", TFieldType::ftAutoInc, i(r.CatNo));
    add("CatNo", TFieldType::ftInteger, i(r.CatNo));
    add("Saros", TFieldType::ftSmallint, i(r.Saros));
    add("k", TFieldType::ftInteger, i(r.k));
    add("DT", TFieldType::ftString, TFieldValue(r.DT));
    add("Type", TFieldType::ftString, TFieldValue(r.Type));
    add("QSE", TFieldType::ftString, TFieldValue(r.QSE));
    add("JDE", TFieldType::ftFloat, f(r.JDE));
    add("DurationPen", TFieldType::ftFloat, f(r.DurationPen));
    add("DurationPar", TFieldType::ftFloat, f(r.DurationPar));
    add("DurationTot", TFieldType::ftFloat, f(r.DurationTot));
    const char* names[3][3] = {{"RA0", "RA1", "RA2"}, {"DEC0", "DEC1", "DEC2"}, {"R0", "R1", "R2"}};
    for (int n = 0; n < 3; ++n)
        add(names[0][n], TFieldType::ftFloat, f(r.RA[n]));
    for (int n = 0; n < 3; ++n)
        add(names[1][n], TFieldType::ftFloat, f(r.DEC[n]));
    for (int n = 0; n < 3; ++n)
        add(names[2][n], TFieldType::ftFloat, f(r.R[n]));
    add("Gamma", TFieldType::ftFloat, f(r.Gamma));
    add("MagPen", TFieldType::ftFloat, f(r.MagPen));
    add("MagUmbra", TFieldType::ftFloat, f(r.MagUmbra));
    add("MELat", TFieldType::ftSmallint, i(r.MELat));
    add("MELon", TFieldType::ftSmallint, i(r.MELon));
    add("deltaT", TFieldType::ftInteger, i(r.deltaT));
    ds->AppendRecord(values);
    ds->Open();
    return ds;
}

} // namespace comptest
