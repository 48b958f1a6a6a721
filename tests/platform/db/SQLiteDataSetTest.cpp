// The SQLite data sets on a small catalogue built from a fixture, and their
// errors for missing, damaged and misused files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sqlite3.h>

#include "platform/db/SQLiteDataSet.h"
#include "platform/db/SQLiteEditTable.h"
#include "TestPaths.h"

using namespace db;

namespace {

// Builds the fixture database once per test into a scratch folder.
class SQLiteDataSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tectest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        file = (dir / "be.db").string();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        std::string sql = tectest::ReadText(tectest::DataFile("platform/db/mini-catalogue.sql"));
        char* err = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << err;
        sqlite3_close(db);
    }

    // The statement lines of the catalogue dialog's filter.
    static void FilterLines(TSQLiteQuery& q, const std::string& table, const std::vector<std::string>& types,
                            const std::string& saros, const std::string& order)
    {
        q.SQL().Clear();
        q.SQL().Add("SELECT * FROM " + table);
        q.SQL().Add(table == "BE_SE" ? "WHERE ((Type = \"N\")" : "WHERE ((Type = \"M\")");
        for (const auto& t : types) q.SQL().Add("OR (Type = \"" + t + "\")");
        q.SQL().Add(")");
        if (!saros.empty()) q.SQL().Add("AND (Saros = " + saros + ")");
        q.SQL().Add("ORDER BY " + order);
    }

    static std::vector<int> Column(TDataSet& ds, const char* name)
    {
        std::vector<int> out;
        for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName(name)->AsInteger());
        return out;
    }

    std::filesystem::path dir;
    std::string file;
};

} // namespace

TEST_F(SQLiteDataSetTest, TableSortedOnCatNo)
{
    TSQLiteTable table;
    table.SetDatabaseFile(file);
    table.SetTableName("BE_SE");
    table.SetSort("CatNo");
    table.Open();
    EXPECT_EQ(table.RecordCount(), 7);
    EXPECT_EQ(Column(table, "CatNo"), (std::vector<int>{1, 9554, 9555, 9561, 9562, 9563, 9564}));
    EXPECT_EQ(table.FieldByName("CatNo")->DataType(), TFieldType::ftSmallint);
    EXPECT_EQ(table.FieldByName("k")->DataType(), TFieldType::ftInteger);
    EXPECT_EQ(table.FieldByName("Gamma")->DataType(), TFieldType::ftFloat);
    EXPECT_EQ(table.FieldByName("DT")->DataType(), TFieldType::ftString);
    EXPECT_EQ(table.FieldByName("DT")->Size(), 12);

    // Locate without options (the dialog's catalogue number) and with a
    // partial key (its "Go to year").
    ASSERT_TRUE(table.Locate("CatNo", int64_t(9561)));
    EXPECT_EQ(table.FieldByName("DT")->AsString(), "2024 Apr 08");
    EXPECT_NEAR(static_cast<double>(table.FieldByName("Gamma")->AsFloat()), 0.3431, 1e-12);
    EXPECT_EQ(table.FieldByName("Saros")->AsInteger(), 139);
    ASSERT_TRUE(table.Locate("DT", std::string("2025"), {TLocateOption::loPartialKey}));
    EXPECT_EQ(table.FieldByName("CatNo")->AsInteger(), 9563);
    EXPECT_EQ(table.FieldByName("Magnitude")->AsFloat(), 0.0L);   // empty reads 0
    EXPECT_FALSE(table.Locate("DT", std::string("2026"), {TLocateOption::loPartialKey}));
    EXPECT_EQ(table.FieldByName("CatNo")->AsInteger(), 9563);
    ASSERT_TRUE(table.Locate("DT", std::string("-1999"), {TLocateOption::loPartialKey}));
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_THROW(table.FieldByName("MagUmbra"), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, QueryFromTheDialogsStatementLines)
{
    TSQLiteQuery q;
    q.SetDatabaseFile(file);
    struct Case {
        const char* table;
        std::vector<std::string> types;
        std::string saros, order;
        std::vector<int> catNos;
    } cases[] = {
        {"BE_SE", {"P", "T", "A", "H"}, "", "k", {1, 9554, 9555, 9561, 9562, 9563, 9564}},
        {"BE_SE", {"T"}, "", "k", {1, 9561}},
        {"BE_SE", {"T", "A"}, "", "Type,CatNo", {9555, 9562, 1, 9561}},
        {"BE_SE", {"P", "T", "A", "H"}, "139", "k", {9561}},
        {"BE_SE", {"P", "T", "A", "H"}, "-5", "k", {}},
        {"BE_SE", {"P", "T"}, "", "Magnitude,CatNo", {9563, 9564, 9561, 1}},   // null first
        {"BE_SE", {}, "", "k", {}},                                          // only the opening term
        {"BE_LE", {"P", "T"}, "", "MagUmbra,CatNo", {9705, 9706, 9707}},
        {"BE_LE", {"N", "P", "T"}, "", "k", {9704, 9705, 9706, 9707}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.order + " " + c.saros);
        q.Close();
        FilterLines(q, c.table, c.types, c.saros, c.order);
        q.Open();
        EXPECT_EQ(q.RecordCount(), static_cast<int>(c.catNos.size()));
        EXPECT_EQ(Column(q, "CatNo"), c.catNos);
    }
}

TEST_F(SQLiteDataSetTest, SortOnClientOrdersTheLoadedRowsAsTheDatabaseDoes)
{
    // Every order of the dialog, a null magnitude and a descending key: the
    // rows ordered in memory come in the order the statement gives.
    TSQLiteQuery client, server;
    client.SetDatabaseFile(file);
    client.SetSortOnClient(true);
    server.SetDatabaseFile(file);
    FilterLines(client, "BE_SE", {"P", "T", "A", "H"}, "", "k");
    client.Open();
    const std::vector<int> stored = Column(client, "CatNo");  // the statement's own order
    ASSERT_TRUE(client.Locate("CatNo", TFieldValue(int64_t{9561})));
    for (const char* order : {"Type,CatNo", "Magnitude,CatNo", "Gamma,CatNo", "Saros,CatNo", "k", "CatNo",
                              "Type DESC,Magnitude"}) {
        SCOPED_TRACE(order);
        ASSERT_TRUE(client.Locate("CatNo", TFieldValue(int64_t{9561})));
        client.SetSort(order);
        EXPECT_EQ(client.FieldByName("CatNo")->AsInteger(), 9561);  // the cursor keeps its row
        server.Close();
        FilterLines(server, "BE_SE", {"P", "T", "A", "H"}, "", order);
        server.Open();
        const int at = client.RecNo();
        EXPECT_EQ(Column(client, "CatNo"), Column(server, "CatNo"));
        client.SetRecNo(at);
    }
    // The file is not read again: ordering works without it.
    std::filesystem::remove(file);
    client.SetSort("Gamma DESC");
    EXPECT_EQ(client.RecordCount(), static_cast<int>(stored.size()));
    client.SetSort("");
    EXPECT_EQ(Column(client, "CatNo"), stored);
    EXPECT_THROW(client.SetSort("Nowhere"), EDatabaseError);
}

TEST_F(SQLiteDataSetTest, FaultyStatementRaisesAndLeavesTheQueryClosed)
{
    TSQLiteQuery q;
    q.SetDatabaseFile(file);
    FilterLines(q, "BE_SE", {"T"}, "-", "k");   // a lone "-" typed as Saros
    try {
        q.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.FieldCount(), 0);

    // Nothing but one reading statement is run on the catalogue.
    const std::string before = tectest::ReadText(file);
    for (const char* sql : {"DELETE FROM BE_SE", "SELECT * FROM BE_SE; DELETE FROM BE_SE",
                            "UPDATE BE_SE SET Type = 'X'", "DROP TABLE BE_LE"}) {
        SCOPED_TRACE(sql);
        q.SQL().SetText(sql);
        EXPECT_THROW(q.Open(), EDatabaseError);
        EXPECT_FALSE(q.Active());
    }
    EXPECT_EQ(tectest::ReadText(file), before);
}

TEST_F(SQLiteDataSetTest, TranslatesDoubleQuotedTexts)
{
    EXPECT_EQ(TSQLiteQuery::TranslateStatement("WHERE ((Type = \"N\")\nOR (Type = \"P\")\n"),
              "WHERE ((Type = 'N')\nOR (Type = 'P')\n");
    EXPECT_EQ(TSQLiteQuery::TranslateStatement("a = \"it's\" AND b = 'say \"x\"'"),
              "a = 'it''s' AND b = 'say \"x\"'");
}

TEST_F(SQLiteDataSetTest, MissingOrDamagedFilesNameTheFile)
{
    auto expectError = [](const std::string& dbFile, const std::string& tableName,
                          const std::string& mentions) {
        TSQLiteTable t;
        t.SetDatabaseFile(dbFile);
        t.SetTableName(tableName);
        try {
            t.Open();
            ADD_FAILURE() << "no error for " << dbFile;
        } catch (const EDatabaseError& e) {
            EXPECT_NE(e.Message().find(dbFile), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find(mentions), std::string::npos) << e.Message();
        }
        EXPECT_FALSE(t.Active());
    };
    expectError((dir / "absent.db").string(), "BE_SE", "does not exist");
    expectError(file, "BE_XX", "BE_XX");

    const std::string garbage = (dir / "garbage.db").string();
    std::ofstream(garbage, std::ios::binary) << std::string(4096, 'x');
    expectError(garbage, "BE_SE", "not a database");

    // A catalogue cut short: the first page (with the schema) survives, the
    // table's pages are gone.
    std::string bytes = tectest::ReadText(file);
    const std::string cut = (dir / "cut.db").string();
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(cut.c_str(), &db), SQLITE_OK);
        std::string sql = "CREATE TABLE BE_SE (CatNo INTEGER, Pad TEXT);"
                          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
                          " INSERT INTO BE_SE SELECT i, printf('%0100d', i) FROM n;";
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        std::string all = tectest::ReadText(cut);
        ASSERT_GT(all.size(), 65536u);
        std::ofstream(cut, std::ios::binary | std::ios::trunc) << all.substr(0, 8192);
    }
    expectError(cut, "BE_SE", "malformed");

    const std::string folder = (dir / "folder.db").string();
    std::filesystem::create_directories(folder);
    expectError(folder, "BE_SE", "folder");
    expectError(file, "", "No table name");
}

TEST_F(SQLiteDataSetTest, IndexesBecomeIndexDefsAndOrderTheRows)
{
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE INDEX ByDate ON BE_SE (DT DESC, CatNo);"
                               "CREATE UNIQUE INDEX ByCat ON BE_SE (CatNo);"
                               "CREATE INDEX BySaros ON BE_SE (Saros);"
                               "CREATE INDEX ByExpr ON BE_SE (CatNo + 1);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    TSQLiteTable table;
    table.SetDatabaseFile(file);
    table.SetTableName("BE_SE");
    table.SetIndexName("ByDate");  // closed: resolved when it opens
    table.Open();
    TIndexDef* byDate = table.IndexDefs()->Find("bydate");
    ASSERT_NE(byDate, nullptr);
    EXPECT_EQ(byDate->Fields(), "DT;CatNo");
    EXPECT_EQ(byDate->DescFields(), "DT");
    EXPECT_TRUE(table.IndexDefs()->Find("ByCat")->Options().Contains(TIndexOption::ixUnique));
    EXPECT_EQ(table.IndexDefs()->Find("ByExpr"), nullptr);
    EXPECT_EQ(Column(table, "CatNo"), (std::vector<int>{9564, 9563, 9562, 9561, 9555, 9554, 1}));
    EXPECT_THROW(table.SetIndexName("Nope"), EDatabaseError);

    // A query: only indexes whose columns are all in the result, under the
    // result's names; sorting re-runs it with checked, quoted names.
    TSQLiteQuery q;
    q.SetDatabaseFile(file);
    q.SQL().Add("SELECT CatNo, DT AS \"Odd\"\"Date\" FROM BE_SE WHERE CatNo > 1;");
    q.Open();
    EXPECT_EQ(q.IndexDefs()->Find("BySaros"), nullptr);
    ASSERT_NE(q.IndexDefs()->Find("ByDate"), nullptr);
    EXPECT_EQ(q.IndexDefs()->Find("ByDate")->Fields(), "Odd\"Date;CatNo");
    q.Locate("CatNo", int64_t(9561));
    TBookmark mark = q.GetBookmark();
    q.SetIndexFieldNames("[Odd\"Date] DESC");
    EXPECT_EQ(q.FieldByName("CatNo")->AsInteger(), 9561);
    q.First();
    q.GotoBookmark(mark);  // bookmarks survive the re-run
    EXPECT_EQ(q.FieldByName("CatNo")->AsInteger(), 9561);
    EXPECT_EQ(Column(q, "CatNo"), (std::vector<int>{9564, 9563, 9562, 9561, 9555, 9554}));
    q.SetIndexFieldNames("CatNo ASC");
    EXPECT_EQ(Column(q, "CatNo"), (std::vector<int>{9554, 9555, 9561, 9562, 9563, 9564}));
    q.Locate("CatNo", int64_t(9562));
    q.SetIndexName("ByDate");
    EXPECT_EQ(q.FieldByName("CatNo")->AsInteger(), 9562);  // the cursor stays on its record
    EXPECT_EQ(q.RecNo(), 3);
    for (const char* bad : {"CatNo; DROP TABLE BE_SE", "CatNo) --", "\"CatNo\"", "Saros"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(q.SetIndexFieldNames(bad), EDatabaseError);
        EXPECT_EQ(q.IndexName(), "ByDate");
        EXPECT_EQ(q.RecordCount(), 6);
    }
    table.Close();
    table.SetIndexName("");
    table.Open();
    EXPECT_EQ(table.RecordCount(), 7);  // the table is still there
}

namespace {

// A fresh file with table T (Id INTEGER PRIMARY KEY, Name TEXT NOT NULL,
// Pic BLOB) of two rows.
std::string EditableFile(const std::string& test)
{
    const std::string file = (tectest::ScratchDir(test) / "edit.db").string();
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "CREATE TABLE T (Id INTEGER PRIMARY KEY, Name TEXT NOT NULL, Pic BLOB);"
                           "INSERT INTO T VALUES (1, 'one', x'00FF');"
                           "INSERT INTO T VALUES (2, 'two', NULL);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    return file;
}

std::vector<std::string> Names(const std::string& file)
{
    TSQLiteTable t;
    t.SetDatabaseFile(file);
    t.SetTableName("T");
    t.Open();
    std::vector<std::string> out;
    for (t.First(); !t.Eof(); t.Next()) out.push_back(t.FieldByName("Name")->AsString());
    return out;
}

} // namespace

TEST(SQLiteEditTable, PostsInsertsAndDeletesReachTheFile)
{
    const std::string file = EditableFile("SQLiteEditTable-post");
    TSQLiteEditTable t;
    t.SetDatabaseFile(file);
    t.SetTableName("T");
    t.Open();
    EXPECT_TRUE(t.CanModify());
    EXPECT_EQ(t.FieldByName("Pic")->DataType(), TFieldType::ftBlob);
    EXPECT_EQ(t.FieldByName("Pic")->AsString(), std::string("\0\xFF", 2));
    t.SetRecNo(2);
    t.Edit();
    t.FieldByName("Name")->SetAsString("TWO");
    t.Post();
    t.Append();
    t.FieldByName("Id")->SetAsInteger(3);
    t.FieldByName("Name")->SetAsString("three");
    t.Post();
    EXPECT_EQ(Names(file), (std::vector<std::string>{"one", "TWO", "three"}));
    t.First();
    t.Delete();
    EXPECT_EQ(Names(file), (std::vector<std::string>{"TWO", "three"}));
    // Refused by the file: nothing changes, Cancel returns to the stored row.
    t.Edit();
    t.FieldByName("Name")->Clear();
    EXPECT_THROW(t.Post(), EDatabaseError);
    t.Cancel();
    EXPECT_EQ(t.FieldByName("Name")->AsString(), "TWO");
    EXPECT_EQ(Names(file), (std::vector<std::string>{"TWO", "three"}));
    t.SetReadOnly(true);
    EXPECT_THROW(t.Edit(), EDatabaseError);
}

// A setup script creates the file and its rows, blobs included; a refused
// script raises naming the file and leaves what an earlier script wrote.
TEST(SQLiteScript, CreatesTheFileAndRaisesNamingItOnAFault)
{
    const std::string file = (tectest::ScratchDir("SQLiteScript") / "script.db").string();
    ExecuteSQLiteScript(file, "CREATE TABLE T (Id INTEGER, Name TEXT, Pic BLOB);"
                              "INSERT INTO T VALUES (1, 'a', X'00FF41'), (2, 'b', NULL);");
    TSQLiteTable t;
    t.SetDatabaseFile(file);
    t.SetTableName("T");
    t.Open();
    ASSERT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.FieldByName("Pic")->AsString(), std::string("\x00\xFF\x41", 3));
    t.Close();
    try {
        ExecuteSQLiteScript(file, "INSERT INTO Missing VALUES (1);");
        FAIL() << "no error raised";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    t.Open();
    EXPECT_EQ(t.RecordCount(), 2);
}
