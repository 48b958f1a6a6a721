#include "tools/catalogue/CatalogueFile.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <sqlite3.h>

namespace catalogue {

namespace {

const char* kSolarSchema =
    "CREATE TABLE BE_SE ("
    "ID INTEGER PRIMARY KEY AUTOINCREMENT, CatNo SMALLINT NOT NULL, Saros SMALLINT, "
    "T0 SMALLINT, k INTEGER NOT NULL UNIQUE, DT VARCHAR(12), Type VARCHAR(1), "
    "Gamma FLOAT, Magnitude FLOAT, JDE FLOAT, JD0 FLOAT, "
    "X0 FLOAT, X1 FLOAT, X2 FLOAT, X3 FLOAT, Y0 FLOAT, Y1 FLOAT, Y2 FLOAT, Y3 FLOAT, "
    "d0 FLOAT, d1 FLOAT, d2 FLOAT, M0 FLOAT, M1 FLOAT, "
    "L10 FLOAT, L11 FLOAT, L12 FLOAT, L20 FLOAT, L21 FLOAT, L22 FLOAT, "
    "TanF1 FLOAT, TanF2 FLOAT, MELon FLOAT, MELat FLOAT, deltaT INTEGER)";

const char* kLunarSchema =
    "CREATE TABLE BE_LE ("
    "ID INTEGER PRIMARY KEY AUTOINCREMENT, CatNo INTEGER NOT NULL, Saros SMALLINT, "
    "k INTEGER NOT NULL UNIQUE, DT VARCHAR(12), Type VARCHAR(1), QSE VARCHAR(4), "
    "JDE FLOAT, DurationPen FLOAT, DurationPar FLOAT, DurationTot FLOAT, "
    "RA0 FLOAT, RA1 FLOAT, RA2 FLOAT, DEC0 FLOAT, DEC1 FLOAT, DEC2 FLOAT, "
    "R0 FLOAT, R1 FLOAT, R2 FLOAT, Gamma FLOAT, MagPen FLOAT, MagUmbra FLOAT, "
    "MELat FLOAT, MELon FLOAT, deltaT INTEGER)";

class Db {
public:
    explicit Db(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            Fail("cannot create " + path);
    }
    ~Db() { sqlite3_close(FDb); }
    void Exec(const std::string& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string m = err ? err : "";
            sqlite3_free(err);
            throw std::runtime_error("SQLite: " + m + " in: " + sql);
        }
    }
    sqlite3_stmt* Prepare(const std::string& sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            Fail("cannot prepare " + sql);
        return st;
    }
    void Step(sqlite3_stmt* st)
    {
        if (sqlite3_step(st) != SQLITE_DONE) Fail("insert failed");
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
    [[noreturn]] void Fail(const std::string& what)
    {
        throw std::runtime_error("SQLite: " + what + ": " + sqlite3_errmsg(FDb));
    }

private:
    sqlite3* FDb = nullptr;
};

struct Binder {
    sqlite3_stmt* St;
    int N = 0;
    Binder& operator<<(long double v) { sqlite3_bind_double(St, ++N, static_cast<double>(v)); return *this; }
    Binder& operator<<(int v) { sqlite3_bind_int(St, ++N, v); return *this; }
    Binder& operator<<(long long v) { sqlite3_bind_int64(St, ++N, v); return *this; }
    Binder& operator<<(const std::string& v)
    {
        sqlite3_bind_text(St, ++N, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
};

std::string Placeholders(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += i ? ",?" : "?";
    return s;
}

} // namespace

std::string QuincenaText(const SolarRecord* before, const SolarRecord* after)
{
    std::string s;
    s += before ? static_cast<char>(std::tolower(before->Type)) : '-';
    s += after ? static_cast<char>(std::tolower(after->Type)) : '-';
    return s;
}

void WriteCatalogue(const std::string& path, const std::vector<SolarRecord>& solar,
                    const std::vector<LunarRecord>& lunar)
{
    const std::string tmp = path + ".part";
    std::filesystem::remove(tmp);
    {
        Db db(tmp);
        db.Exec("PRAGMA journal_mode=OFF");
        db.Exec("PRAGMA synchronous=OFF");
        db.Exec(kSolarSchema);
        db.Exec(kLunarSchema);
        db.Exec("BEGIN");
        sqlite3_stmt* se = db.Prepare(
            "INSERT INTO BE_SE (CatNo, Saros, T0, k, DT, Type, Gamma, Magnitude, JDE, JD0, "
            "X0, X1, X2, X3, Y0, Y1, Y2, Y3, d0, d1, d2, M0, M1, L10, L11, L12, L20, L21, L22, "
            "TanF1, TanF2, MELon, MELat, deltaT) VALUES (" + Placeholders(34) + ")");
        int catNo = 0;
        for (const SolarRecord& r : solar) {
            Binder b{se};
            b << ++catNo << r.Saros << r.T0 << r.K << r.DT << std::string(1, r.Type) << r.Gamma
              << r.Magnitude << r.JDE << r.JD0;
            for (auto v : r.X) b << v;
            for (auto v : r.Y) b << v;
            for (auto v : r.D) b << v;
            for (auto v : r.Mu) b << v;
            for (auto v : r.L1) b << v;
            for (auto v : r.L2) b << v;
            b << r.TanF1 << r.TanF2 << r.MELon << r.MELat << static_cast<long long>(std::llround(r.DeltaT));
            db.Step(se);
        }
        sqlite3_finalize(se);
        sqlite3_stmt* le = db.Prepare(
            "INSERT INTO BE_LE (CatNo, Saros, k, DT, Type, QSE, JDE, DurationPen, DurationPar, "
            "DurationTot, RA0, RA1, RA2, DEC0, DEC1, DEC2, R0, R1, R2, Gamma, MagPen, MagUmbra, "
            "MELat, MELon, deltaT) VALUES (" + Placeholders(25) + ")");
        catNo = 0;
        for (const LunarRecord& r : lunar) {
            Binder b{le};
            b << ++catNo << r.Saros << r.K << r.DT << std::string(1, r.Type) << r.QSE << r.JDE
              << r.DurationPen << r.DurationPar << r.DurationTot;
            for (auto v : r.RA) b << v;
            for (auto v : r.DEC) b << v;
            for (auto v : r.R) b << v;
            b << r.Gamma << r.MagPen << r.MagUmbra << r.MELat << r.MELon
              << static_cast<long long>(std::llround(r.DeltaT));
            db.Step(le);
        }
        sqlite3_finalize(le);
        db.Exec("COMMIT");
    }
    std::filesystem::rename(tmp, path);
}

} // namespace catalogue
