// TSQLiteEditTable: the rows are read as by TSQLiteTable; their rowids are
// kept beside them, and each post or deletion runs one statement on the file.
#include "platform/db/SQLiteEditTable.h"

#include <sqlite3.h>

#include <memory>

namespace db {

namespace {

std::string Quote(const std::string& name)
{
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

// One read-write connection for one statement, closed on every path.
class Writer {
public:
    explicit Writer(const std::string& file) : FFile(file)
    {
        const int rc = sqlite3_open_v2(file.c_str(), &FDb, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) Fail(rc, "");
        sqlite3_busy_timeout(FDb, 2000);
    }
    ~Writer()
    {
        if (FStmt) sqlite3_finalize(FStmt);
        sqlite3_close(FDb);
    }
    void Prepare(const std::string& sql)
    {
        FSql = sql;
        const int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &FStmt, nullptr);
        if (rc != SQLITE_OK) Fail(rc, sql);
    }
    void Bind(int i, const TFieldValue& v)
    {
        int rc = SQLITE_OK;
        if (auto n = std::get_if<int64_t>(&v)) rc = sqlite3_bind_int64(FStmt, i, *n);
        else if (auto f = std::get_if<long double>(&v)) rc = sqlite3_bind_double(FStmt, i, static_cast<double>(*f));
        else if (auto s = std::get_if<std::string>(&v))
            rc = sqlite3_bind_blob(FStmt, i, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
        else rc = sqlite3_bind_null(FStmt, i);
        if (rc != SQLITE_OK) Fail(rc, FSql);
    }
    // Text fields go in as text, so that the file keeps its column kinds.
    void BindText(int i, const std::string& s)
    {
        const int rc = sqlite3_bind_text(FStmt, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) Fail(rc, FSql);
    }
    void Run()
    {
        const int rc = sqlite3_step(FStmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) Fail(rc, FSql);
    }
    int64_t Rows(const std::string& sql, std::vector<int64_t>& out)
    {
        Prepare(sql);
        int rc;
        while ((rc = sqlite3_step(FStmt)) == SQLITE_ROW) out.push_back(sqlite3_column_int64(FStmt, 0));
        if (rc != SQLITE_DONE) Fail(rc, sql);
        return static_cast<int64_t>(out.size());
    }
    int64_t LastRowId() const { return sqlite3_last_insert_rowid(FDb); }

private:
    [[noreturn]] void Fail(int rc, const std::string& sql) const
    {
        throw EDatabaseError("Database file '" + FFile + "': " + (FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc)) +
                             (sql.empty() ? "" : " (statement: " + sql + ")"));
    }
    std::string FFile, FSql;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FStmt = nullptr;
};

bool IsText(TFieldType t)
{
    return t == TFieldType::ftString || t == TFieldType::ftMemo || t == TFieldType::ftWideString;
}

} // namespace

void TSQLiteEditTable::InternalOpen()
{
    TSQLiteTable::InternalOpen();
    // The rows came in the order of a plain scan, which is rowid order.
    FRowIds.clear();
    Writer w(DatabaseFile());
    std::vector<int64_t> ids;
    w.Rows("SELECT rowid FROM " + Quote(TableName()), ids);
    if (static_cast<int>(ids.size()) != InternalRecordCount()) {
        TSQLiteTable::InternalClose();
        throw EDatabaseError(DisplayName() + ": the table changed while it was read");
    }
    for (size_t i = 0; i < ids.size(); ++i) FRowIds[InternalBookmarkKey(static_cast<int>(i))] = ids[i];
}

void TSQLiteEditTable::InternalClose()
{
    FRowIds.clear();
    TSQLiteTable::InternalClose();
}

void TSQLiteEditTable::InternalDelete(int index)
{
    const int64_t stored = InternalBookmarkKey(index);
    auto it = FRowIds.find(stored);
    if (it != FRowIds.end()) {
        Writer w(DatabaseFile());
        w.Prepare("DELETE FROM " + Quote(TableName()) + " WHERE rowid = ?");
        w.Bind(1, it->second);
        w.Run();
        FRowIds.erase(it);
    }
    TSQLiteTable::InternalDelete(index);
}

int TSQLiteEditTable::InternalPost(int index, const std::vector<TFieldValue>& values)
{
    const int64_t stored = InternalBookmarkKey(index);
    const auto& defs = FieldDefs();
    Writer w(DatabaseFile());
    auto bindAll = [&](int first) {
        for (size_t i = 0; i < defs.size(); ++i) {
            const TFieldValue v = i < values.size() ? values[i] : TFieldValue{};
            if (IsText(defs[i].DataType) && std::holds_alternative<std::string>(v))
                w.BindText(first + static_cast<int>(i), std::get<std::string>(v));
            else
                w.Bind(first + static_cast<int>(i), v);
        }
    };
    auto it = FRowIds.find(stored);
    if (it != FRowIds.end()) {
        std::string sql = "UPDATE " + Quote(TableName()) + " SET ";
        for (size_t i = 0; i < defs.size(); ++i) sql += (i ? ", " : "") + Quote(defs[i].Name) + " = ?";
        w.Prepare(sql + " WHERE rowid = ?");
        bindAll(1);
        w.Bind(static_cast<int>(defs.size()) + 1, it->second);
        w.Run();
    } else {
        std::string cols, marks;
        for (size_t i = 0; i < defs.size(); ++i) {
            cols += (i ? ", " : "") + Quote(defs[i].Name);
            marks += i ? ", ?" : "?";
        }
        w.Prepare("INSERT INTO " + Quote(TableName()) + " (" + cols + ") VALUES (" + marks + ")");
        bindAll(1);
        w.Run();
        FRowIds[stored] = w.LastRowId();
    }
    return TSQLiteTable::InternalPost(index, values);
}

void ExecuteSQLiteScript(const std::string& fileName, const std::string& sql)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(fileName.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string reason = message ? message : (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_free(message);
        sqlite3_close(db);
        throw EDatabaseError("Database file '" + fileName + "': " + reason + " (statement: " + sql + ")");
    }
    sqlite3_close(db);
}

} // namespace db
