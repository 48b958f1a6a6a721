#include "platform/db/SQLiteDataSet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <system_error>

#include <sqlite3.h>

#include "platform/rtl/Strings.h"

namespace db {

namespace {

TFieldType TypeFromDeclaration(const char* decl, int& size)
{
    size = 0;
    if (!decl) return TFieldType::ftUnknown;
    std::string d = rtl::UpperCase(decl);
    if (d.find("SMALLINT") != std::string::npos) return TFieldType::ftSmallint;
    if (d.find("BIGINT") != std::string::npos) return TFieldType::ftLargeint;
    if (d.find("INT") != std::string::npos) return TFieldType::ftInteger;
    if (d.find("CHAR") != std::string::npos || d.find("TEXT") != std::string::npos ||
        d.find("CLOB") != std::string::npos) {
        std::size_t open = d.find('(');
        if (open != std::string::npos) size = std::atoi(d.c_str() + open + 1);
        return TFieldType::ftString;
    }
    if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos ||
        d.find("DOUB") != std::string::npos || d.find("NUMERIC") != std::string::npos ||
        d.find("DECIMAL") != std::string::npos)
        return TFieldType::ftFloat;
    if (d.find("BOOL") != std::string::npos) return TFieldType::ftBoolean;
    if (d.find("BLOB") != std::string::npos) return TFieldType::ftBlob;
    return TFieldType::ftUnknown;
}

TFieldType TypeFromValue(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER: return TFieldType::ftLargeint;
    case SQLITE_FLOAT: return TFieldType::ftFloat;
    case SQLITE_BLOB: return TFieldType::ftBlob;
    default: return TFieldType::ftString;
    }
}

// The connection of one load: opened read-only, closed on every path.
class Connection {
public:
    explicit Connection(const std::string& file) : FFile(file)
    {
        std::error_code ec;
        if (file.empty())
            throw EDatabaseError("No database file given");
        if (!std::filesystem::exists(file, ec))
            throw EDatabaseError("Cannot open the database file '" + file +
                                 "': the file does not exist");
        if (std::filesystem::is_directory(file, ec))
            throw EDatabaseError("Cannot open the database file '" + file + "': it is a folder");
        int rc = sqlite3_open_v2(file.c_str(), &FDb, SQLITE_OPEN_READONLY, nullptr);
        if (rc != SQLITE_OK)
            throw EDatabaseError("Cannot open the database file '" + file + "': " + Message(rc));
    }
    ~Connection()
    {
        if (FStmt) sqlite3_finalize(FStmt);
        sqlite3_close(FDb);
    }

    std::string Message(int rc) const
    {
        return FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc);
    }

    [[noreturn]] void Fail(int rc, const std::string& sql) const
    {
        throw EDatabaseError("Database file '" + FFile + "': " + Message(rc) +
                             (sql.empty() ? "" : " (statement: " + sql + ")"));
    }

    // Runs a single read-only statement and hands every row to the data set.
    template <typename Define, typename Add>
    void Load(const std::string& sql, Define define, Add add)
    {
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &FStmt, &tail);
        if (rc != SQLITE_OK) Fail(rc, sql);
        if (!FStmt) throw EDatabaseError("Database file '" + FFile + "': empty statement");
        for (const char* p = tail; p && *p; ++p)
            if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';')
                throw EDatabaseError("Database file '" + FFile +
                                     "': only one statement may be run (statement: " + sql + ")");
        if (!sqlite3_stmt_readonly(FStmt))
            throw EDatabaseError("Database file '" + FFile +
                                 "': the catalogue is read only (statement: " + sql + ")");
        const int columns = sqlite3_column_count(FStmt);
        std::vector<TFieldType> types(columns);
        std::vector<int> sizes(columns);
        for (int c = 0; c < columns; ++c)
            types[c] = TypeFromDeclaration(sqlite3_column_decltype(FStmt, c), sizes[c]);
        std::vector<std::vector<TFieldValue>> rows;
        while ((rc = sqlite3_step(FStmt)) == SQLITE_ROW) {
            std::vector<TFieldValue> row(columns);
            for (int c = 0; c < columns; ++c) {
                int kind = sqlite3_column_type(FStmt, c);
                if (types[c] == TFieldType::ftUnknown && kind != SQLITE_NULL) types[c] = TypeFromValue(kind);
                switch (kind) {
                case SQLITE_INTEGER: row[c] = static_cast<int64_t>(sqlite3_column_int64(FStmt, c)); break;
                case SQLITE_FLOAT: row[c] = static_cast<long double>(sqlite3_column_double(FStmt, c)); break;
                case SQLITE_NULL: break;
                default: {
                    const unsigned char* text = sqlite3_column_text(FStmt, c);
                    row[c] = std::string(text ? reinterpret_cast<const char*>(text) : "",
                                         static_cast<std::size_t>(sqlite3_column_bytes(FStmt, c)));
                }
                }
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) Fail(rc, sql);
        for (int c = 0; c < columns; ++c)
            define(std::string(sqlite3_column_name(FStmt, c)),
                   types[c] == TFieldType::ftUnknown ? TFieldType::ftString : types[c], sizes[c]);
        for (auto& row : rows) add(std::move(row));
    }

    // Runs a read-only statement (a pragma) and hands each row over.
    void Rows(const std::string& sql, const std::function<void(sqlite3_stmt*)>& row)
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) Fail(rc, sql);
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) row(stmt);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) Fail(rc, sql);
    }

    struct TColumn {
        std::string Name, Table, Origin;  // result name; source table and column, if any
    };
    // The result columns of a statement, without running it.
    std::vector<TColumn> Describe(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) Fail(rc, sql);
        std::vector<TColumn> out;
        auto text = [](const char* p) { return p ? std::string(p) : std::string(); };
        for (int c = 0, n = stmt ? sqlite3_column_count(stmt) : 0; c < n; ++c)
            out.push_back({text(sqlite3_column_name(stmt, c)), text(sqlite3_column_table_name(stmt, c)),
                           text(sqlite3_column_origin_name(stmt, c))});
        sqlite3_finalize(stmt);
        return out;
    }

    struct TIndex {
        std::string Name;
        std::vector<std::pair<std::string, bool>> Columns;  // name, descending
        bool Unique = false, Primary = false;
    };
    // The indexes of a table on plain columns (expression indexes left out).
    std::vector<TIndex> Indexes(const std::string& table);

private:
    std::string FFile;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FStmt = nullptr;
};

std::string QuoteIdentifier(const std::string& name)
{
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::vector<Connection::TIndex> Connection::Indexes(const std::string& table)
{
    std::vector<TIndex> out;
    Rows("PRAGMA index_list(" + QuoteIdentifier(table) + ")", [&](sqlite3_stmt* st) {
        TIndex index;
        const unsigned char* name = sqlite3_column_text(st, 1);
        index.Name = name ? reinterpret_cast<const char*>(name) : "";
        index.Unique = sqlite3_column_int(st, 2) != 0;
        const unsigned char* origin = sqlite3_column_text(st, 3);
        index.Primary = origin && std::string(reinterpret_cast<const char*>(origin)) == "pk";
        out.push_back(std::move(index));
    });
    std::vector<TIndex> plain;
    for (TIndex& index : out) {
        bool expression = false;
        Rows("PRAGMA index_xinfo(" + QuoteIdentifier(index.Name) + ")", [&](sqlite3_stmt* st) {
            if (sqlite3_column_int(st, 5) == 0) return;  // not a key column
            const unsigned char* col = sqlite3_column_text(st, 2);
            if (!col) {
                expression = true;
                return;
            }
            index.Columns.emplace_back(reinterpret_cast<const char*>(col), sqlite3_column_int(st, 3) != 0);
        });
        if (!expression && !index.Columns.empty()) plain.push_back(std::move(index));
    }
    return plain;
}

// Adds an index definition; columns are given under the names the data set
// shows them.
void AddIndexDef(TIndexDefs* defs, const Connection::TIndex& index,
                 const std::vector<std::string>& names)
{
    std::string fields, desc;
    for (std::size_t i = 0; i < names.size(); ++i) {
        fields += (fields.empty() ? "" : ";") + names[i];
        if (index.Columns[i].second) desc += (desc.empty() ? "" : ";") + names[i];
    }
    TIndexOptions options;
    if (index.Unique) options.Include(TIndexOption::ixUnique);
    if (index.Primary) options.Include(TIndexOption::ixPrimary);
    defs->Add(index.Name, fields, desc, options);
}

// The statement without trailing blanks and semicolons, so that it can be
// wrapped.
std::string Unterminated(std::string sql)
{
    while (!sql.empty() && (std::isspace(static_cast<unsigned char>(sql.back())) || sql.back() == ';'))
        sql.pop_back();
    return sql;
}

} // namespace

// --- TSQLiteTable -----------------------------------------------------------

void TSQLiteTable::SetDatabaseFile(const std::string& file)
{
    if (file == FDatabaseFile) return;
    Close();
    FDatabaseFile = file;
}

void TSQLiteTable::SetTableName(const std::string& name)
{
    if (name == FTableName) return;
    Close();
    FTableName = name;
}

std::string TSQLiteTable::DisplayName() const
{
    if (!Name().empty()) return Name();
    return FTableName.empty() ? ClassName() : FTableName;
}

void TSQLiteTable::InternalOpen()
{
    if (rtl::Trim(FTableName).empty())
        throw EDatabaseError(DisplayName() + ": No table name given for the database file '" +
                             FDatabaseFile + "'");
    ClearFieldDefs();
    Connection connection(FDatabaseFile);
    connection.Load(
        "SELECT * FROM " + QuoteIdentifier(FTableName),
        [this](const std::string& n, TFieldType t, int s) { DefineField(n, t, s); },
        [this](std::vector<TFieldValue> row) { AddRecord(std::move(row)); });
    IndexDefs()->Clear();
    for (const Connection::TIndex& index : connection.Indexes(FTableName)) {
        std::vector<std::string> names;
        for (const auto& column : index.Columns) names.push_back(column.first);
        AddIndexDef(IndexDefs(), index, names);
    }
    TCustomMemDataSet::InternalOpen();
}

// --- TSQLiteQuery -----------------------------------------------------------

void TSQLiteQuery::SetDatabaseFile(const std::string& file)
{
    if (file == FDatabaseFile) return;
    Close();
    FDatabaseFile = file;
}

std::string TSQLiteQuery::DisplayName() const { return Name().empty() ? ClassName() : Name(); }

std::string TSQLiteQuery::TranslateStatement(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\'') {   // a single-quoted literal stays as it is
            std::size_t end = i + 1;
            while (end < text.size()) {
                if (text[end] == '\'') {
                    if (end + 1 < text.size() && text[end + 1] == '\'') { end += 2; continue; }
                    break;
                }
                ++end;
            }
            out.append(text, i, end - i + 1);
            i = end;
        } else if (c == '"') {
            std::string literal;
            std::size_t end = i + 1;
            for (; end < text.size(); ++end) {
                if (text[end] == '"') {
                    if (end + 1 < text.size() && text[end + 1] == '"') { literal += '"'; ++end; continue; }
                    break;
                }
                literal += text[end];
            }
            out += rtl::QuotedStr(literal);
            i = end;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The statement ordered by the keys, which must name result columns; the
// names go in quoted, never as text of the statement.
std::string OrderedStatement(const std::string& display, const std::string& sql,
                             const std::vector<Connection::TColumn>& columns,
                             const std::vector<TCustomMemDataSet::TSortKey>& keys)
{
    if (keys.empty()) return sql;
    std::string order;
    for (const auto& key : keys) {
        const Connection::TColumn* found = nullptr;
        for (const auto& column : columns)
            if (rtl::SameText(column.Name, key.Name)) {
                found = &column;
                break;
            }
        if (!found) throw EDatabaseError(display + ": Field '" + key.Name + "' not found");
        order += (order.empty() ? "" : ", ") + QuoteIdentifier(found->Name) +
                 (key.Descending ? " DESC" : " ASC");
    }
    return "SELECT * FROM (" + Unterminated(sql) + "\n) ORDER BY " + order;
}

} // namespace

void TSQLiteQuery::InternalOpen()
{
    std::string sql = TranslateStatement(FSQL.Text());
    ClearFieldDefs();
    Connection connection(FDatabaseFile);
    std::vector<Connection::TColumn> columns = connection.Describe(sql);
    // Index definitions: the indexes of the source tables whose columns are
    // all in the result.
    IndexDefs()->Clear();
    std::vector<std::string> tables;
    for (const auto& column : columns)
        if (!column.Table.empty() &&
            std::find(tables.begin(), tables.end(), column.Table) == tables.end())
            tables.push_back(column.Table);
    for (const std::string& table : tables) {
        for (const Connection::TIndex& index : connection.Indexes(table)) {
            std::vector<std::string> names;
            for (const auto& key : index.Columns) {
                for (const auto& column : columns)
                    if (column.Table == table && rtl::SameText(column.Origin, key.first)) {
                        names.push_back(column.Name);
                        break;
                    }
            }
            if (names.size() == index.Columns.size()) AddIndexDef(IndexDefs(), index, names);
        }
    }
    ResolveIndexName();
    connection.Load(
        FSortOnClient ? sql : OrderedStatement(DisplayName(), sql, columns, ParseSort(Sort())),
        [this](const std::string& n, TFieldType t, int s) { DefineField(n, t, s); },
        [this](std::vector<TFieldValue> row) { AddRecord(std::move(row)); });
    TCustomMemDataSet::InternalOpen();
}

void TSQLiteQuery::Reorder()
{
    if (FSortOnClient) {
        TCustomMemDataSet::Reorder();
        return;
    }
    std::string sql = TranslateStatement(FSQL.Text());
    Connection connection(FDatabaseFile);
    std::string ordered = OrderedStatement(DisplayName(), sql, connection.Describe(sql), ParseSort(Sort()));
    // The rows are read into a side list first: a failure keeps the old ones.
    std::vector<std::vector<TFieldValue>> rows;
    connection.Load(
        ordered, [](const std::string&, TFieldType, int) {},
        [&rows](std::vector<TFieldValue> row) { rows.push_back(std::move(row)); });
    // The same rows in another order keep their records (and bookmarks);
    // changed data replaces them.
    if (OrderFromRows(rows)) return;
    ClearRecords();
    for (auto& row : rows) AddRecord(std::move(row));
    ApplySort();
}

} // namespace db
