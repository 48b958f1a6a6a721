// TSQLiteEditTable: an SQLite table that can be edited through the data set
// (Edit / Insert / Append / Post / Delete); every posted change and every
// deletion is written to the file at once, by the row's rowid.
//
// The rule a caller must know: a change that the database refuses (a
// constraint, a locked or read-only file) raises EDatabaseError from Post
// or Delete and leaves the records as they were, so Cancel returns to the
// stored values.  ReadOnly makes it behave as TSQLiteTable.
//
//   db::TSQLiteEditTable t;
//   t.SetDatabaseFile("/tmp/a.db"); t.SetTableName("T"); t.Open();
//   t.Edit(); t.FieldByName("Name")->SetAsString("x"); t.Post();  // UPDATE
#pragma once

#include <map>

#include "platform/db/SQLiteDataSet.h"

namespace db {

class TSQLiteEditTable : public TSQLiteTable {
public:
    explicit TSQLiteEditTable(rtl::TComponent* owner = nullptr) : TSQLiteTable(owner) {}

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool CanModify() const override { return Active() && !FReadOnly; }

    std::string ClassName() const override { return "TSQLiteEditTable"; }

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalDelete(int index) override;
    int InternalPost(int index, const std::vector<TFieldValue>& values) override;

private:
    // Stored record -> rowid of its row in the file.
    std::map<int64_t, int64_t> FRowIds;
    bool FReadOnly = false;
};

// Runs a script of SQL statements (separated by ";") on a database file,
// creating the file when it is missing; raises EDatabaseError naming the
// file and the script when the database refuses it.  Blobs go in as
// X'...' literals.  For setting up databases (tests, tools).
void ExecuteSQLiteScript(const std::string& fileName, const std::string& sql);

} // namespace db
