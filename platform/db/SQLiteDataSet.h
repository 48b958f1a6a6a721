// Read-only data sets on an SQLite database file: a whole table, or the
// result of a SELECT statement.  Opening reads every row into memory (a
// static cursor), so the data set never holds the file open afterwards.
//
// A missing file, a file that is not a database, an unknown table or a
// faulty statement raises EDatabaseError with a message naming the file
// (and the table or statement); nothing is ever written to the file.
#pragma once

#include <string>

#include "platform/db/DataSet.h"
#include "platform/rtl/Lists.h"

namespace db {

// A table opened by name; Sort (inherited) orders it on the client, e.g.
// SetSort("CatNo").  Its IndexDefs are the table's indexes, read at Open.
class TSQLiteTable : public TCustomMemDataSet {
public:
    explicit TSQLiteTable(rtl::TComponent* owner = nullptr) : TCustomMemDataSet(owner) {}

    const std::string& DatabaseFile() const { return FDatabaseFile; }
    void SetDatabaseFile(const std::string& file);
    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& name);

    std::string DisplayName() const override;
    std::string ClassName() const override { return "TSQLiteTable"; }

protected:
    void InternalOpen() override;

private:
    std::string FDatabaseFile;
    std::string FTableName;
};

// A read-only query from statement lines (SQL), run when the data set
// opens.  Texts in double quotes are string literals ("Type = "T"" selects
// the rows whose Type is T), as the statements of the catalogue dialog
// write them.  Only one statement, and only one that reads, is accepted.
// Sort / IndexFieldNames / IndexName re-run the statement with an ORDER BY
// on the named result columns (each checked and quoted; an unknown name
// raises EDatabaseError and keeps the rows as they were).  Its IndexDefs
// are the indexes of the tables it reads whose columns are all in the
// result, under the result's column names.
// With SortOnClient the loaded rows are ordered in memory instead (NULL
// first, then numbers, then texts byte by byte, as the database orders
// them): a new order costs no new reading of the file, and the statement's
// own ORDER BY gives the order while Sort is empty.
class TSQLiteQuery : public TCustomMemDataSet {
public:
    explicit TSQLiteQuery(rtl::TComponent* owner = nullptr) : TCustomMemDataSet(owner) {}

    const std::string& DatabaseFile() const { return FDatabaseFile; }
    void SetDatabaseFile(const std::string& file);
    // The statement lines; changing them closes nothing by itself: the new
    // statement runs at the next Open.
    rtl::TStringList& SQL() { return FSQL; }
    const rtl::TStringList& SQL() const { return FSQL; }
    bool SortOnClient() const { return FSortOnClient; }
    void SetSortOnClient(bool value) { FSortOnClient = value; }

    std::string DisplayName() const override;
    std::string ClassName() const override { return "TSQLiteQuery"; }

    // The statement as run: the lines joined, double-quoted texts turned
    // into single-quoted literals.
    static std::string TranslateStatement(const std::string& text);

protected:
    void InternalOpen() override;
    bool SortsOnServer() const override { return !FSortOnClient; }
    void Reorder() override;

private:
    std::string FDatabaseFile;
    rtl::TStringList FSQL;
    bool FSortOnClient = false;
};

} // namespace db
