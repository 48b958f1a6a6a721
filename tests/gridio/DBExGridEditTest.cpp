// Editing through the data-aware grid: posting per cell and per row,
// appends, editors by field type, lookup lists, check boxes, failing
// posts; the ORDER BY rewrite on an SQLite query, blob sniffing, column
// positions in an ini file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/db/SQLiteEditTable.h"
#include "DBExGridTestFixture.h"
#include "grid/ExGridEditors.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/IniFiles.h"

using namespace gridio;
using namespace dbexgrid_test;

namespace {

struct EditFixture : DBExFixture {
    void SetUp() override
    {
        DBExFixture::SetUp();
        gui::TGridOptions o = Grid->Options();
        o.Include(gui::TGridOption::goEditing);
        Grid->SetOptions(o);
        Form->Show();
        Grid->SetFocus();
    }
    // Opens the editor on a cell and types text into it.
    void TypeInto(int c, int r, const std::string& text)
    {
        ASSERT_TRUE(Grid->Select(c, r));
        Grid->ShowEditor();
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        Grid->InplaceEditor()->SetText(text);
    }
    std::string NameOf(int recNo)
    {
        const db::TBookmark bm = Data->GetBookmark();
        Data->SetRecNo(recNo);
        std::string s = Data->FieldByName("Name")->AsString();
        Data->GotoBookmark(bm);
        return s;
    }
};

} // namespace

TEST_F(EditFixture, CellModePostsOnLeavingTheCell)
{
    TypeInto(2, 3, "Zulu");
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(NameOf(3), "Zulu");
    EXPECT_EQ(Data->RecNo(), 4);
    EXPECT_EQ(Grid->GetCellText(2, 3), "Zulu");
}

TEST_F(EditFixture, RowModePostsOnLeavingTheRow)
{
    Grid->SetEditPostMode(TEditPostMode::epRow);
    TypeInto(2, 3, "Yankee");
    ASSERT_TRUE(Grid->Select(1, 3));
    EXPECT_EQ(Data->State(), db::TDataSetState::dsEdit) << "same row: not posted yet";
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(NameOf(3), "Yankee");
}

TEST_F(EditFixture, DownAppendsAndLeavingUntypedCancels)
{
    Grid->Navigation()->SetAppendOnArrowDown(true);
    Data->Last();
    Grid->Key(gui::VK_DOWN);
    ASSERT_EQ(Data->State(), db::TDataSetState::dsInsert);
    EXPECT_EQ(Grid->RowCount(), 7);
    Grid->Key(gui::VK_UP);
    EXPECT_EQ(Data->RecordCount(), 5);
    EXPECT_EQ(Grid->RowCount(), 6);
    // Typed this time: the record stays.
    Data->Last();
    Grid->Key(gui::VK_DOWN);
    TypeInto(2, Grid->Row(), "Foxtrot");
    Grid->Key(gui::VK_UP);
    EXPECT_EQ(Data->RecordCount(), 6);
    EXPECT_EQ(NameOf(6), "Foxtrot");
    EXPECT_EQ(Grid->RowCount(), 7);
}

TEST_F(EditFixture, EditorsByFieldType)
{
    Data->Close();
    Grid->RemoveAllFields();
    db::TMemDataSet* d = Data;
    d->ClearRecords();
    d->AddFieldDef("Key", db::TFieldType::ftAutoInc);
    d->AddFieldDef("Amount", db::TFieldType::ftFloat);
    d->AddFieldDef("When", db::TFieldType::ftDate);
    d->AddFieldDef("At", db::TFieldType::ftTime);
    d->AppendRecord({int64_t(1), std::string("A"), int64_t(1), std::string("Y"), int64_t(1), 2.5L,
                     static_cast<long double>(rtl::EncodeDate(2026, 12, 11)), 0.25L});
    d->Open();
    EXPECT_EQ(Grid->Resolve(7, 1), grid::TEditorType::edDateEdit);
    EXPECT_EQ(Grid->Resolve(8, 1), grid::TEditorType::edTimeEdit);
    Grid->Validate(7, 1, "2027-01-02");
    EXPECT_EQ(d->FieldByName("When")->AsFloat(), rtl::EncodeDate(2027, 1, 2));
    EXPECT_EQ(d->State(), db::TDataSetState::dsBrowse);
    Grid->Columns()->Items(7)->SetEditor(grid::TEditorType::edNormal);
    EXPECT_EQ(Grid->Resolve(7, 1), grid::TEditorType::edDateEdit) << "edNormal yields to the type's editor";
    // Id, Name, Done, Flag, Key, Amount from column 1.
    EXPECT_EQ(Grid->Resolve(1, 1), grid::TEditorType::edNumeric);
    EXPECT_EQ(Grid->Resolve(2, 1), grid::TEditorType::edNormal);
    EXPECT_EQ(Grid->Resolve(5, 1), grid::TEditorType::edNone) << "auto-increment";
    EXPECT_FALSE(Grid->CanEdit(5, 1));
    EXPECT_EQ(Grid->Resolve(6, 1), grid::TEditorType::edFloat);
    Grid->Columns()->Items(6)->SetEditor(grid::TEditorType::edSpinEdit);
    EXPECT_EQ(Grid->Resolve(6, 1), grid::TEditorType::edSpinEdit) << "the column's own editor wins";
    Grid->Columns()->Items(2)->SetReadOnly(true);
    EXPECT_EQ(Grid->Resolve(2, 1), grid::TEditorType::edNone);
    d->SetReadOnly(true);
    EXPECT_EQ(Grid->Resolve(1, 1), grid::TEditorType::edNone);
}

TEST_F(EditFixture, HiddenMemoKeepsItsTextAndSetTextHandlersWrite)
{
    Data->Close();
    Grid->RemoveAllFields();
    Data->AddFieldDef("Notes", db::TFieldType::ftMemo);
    Data->ClearRecords();
    Data->AppendRecord({int64_t(1), std::string("A"), int64_t(1), std::string("Y"), std::string("long notes")});
    Data->Open();
    EXPECT_EQ(Grid->GetCellText(5, 1), "(MEMO)");
    Grid->Validate(5, 1, "(MEMO)");
    EXPECT_EQ(Data->FieldByName("Notes")->AsString(), "long notes");
    Grid->SetShowMemoFields(true);
    EXPECT_EQ(Grid->GetCellText(5, 1), "long notes");
    Grid->Validate(5, 1, "short");
    EXPECT_EQ(Data->FieldByName("Notes")->AsString(), "short");
    Data->FieldByName("Name")->OnSetText = [](db::TField* f, const std::string& t) { f->SetAsString("<" + t + ">"); };
    Grid->Validate(2, 1, "x");
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "<x>");
}

TEST_F(EditFixture, LookupListWritesTheKeyField)
{
    auto* colours = new db::TMemDataSet(Form.get());
    colours->AddFieldDef("Code", db::TFieldType::ftString, 1);
    colours->AddFieldDef("Colour", db::TFieldType::ftString, 10);
    colours->AppendRecord({std::string("Y"), std::string("Yellow")});
    colours->AppendRecord({std::string("N"), std::string("Navy")});
    colours->Open();
    Data->Close();
    Grid->RemoveAllFields();
    Data->AddLookupField("FlagName", db::TFieldType::ftString, 10, "Flag", colours, "Code", "Colour");
    Data->Open();
    EXPECT_EQ(Grid->GetCellText(5, 1), "Yellow");
    EXPECT_EQ(Grid->Resolve(5, 2), grid::TEditorType::edComboList);
    ASSERT_EQ(Grid->EditCombo()->Items()->Count(), 2);
    EXPECT_EQ((*Grid->EditCombo()->Items())[1], "Navy");
    Data->SetRecNo(1);
    Grid->Validate(5, 1, "Navy");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Data->FieldByName("Flag")->AsString(), "N");
    EXPECT_EQ(Grid->GetCellText(5, 1), "Navy");
}

TEST_F(EditFixture, CheckBoxTogglesWriteTheirTexts)
{
    TDBGridColumnItem* flag = Grid->Columns()->Items(4);
    flag->SetCheckBoxField(true);
    flag->SetCheckTrue("Y");
    flag->SetCheckFalse("N");
    EXPECT_TRUE(Grid->Toggle(4, 1));
    Data->SetRecNo(1);
    EXPECT_EQ(Data->FieldByName("Flag")->AsString(), "N");
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_TRUE(Grid->Toggle(4, 2));
    Data->SetRecNo(2);
    EXPECT_EQ(Data->FieldByName("Flag")->AsString(), "Y");
    // A Boolean field under ShowBooleanFields is negated.
    Grid->SetShowBooleanFields(true);
    EXPECT_TRUE(Grid->Toggle(3, 1));
    Data->SetRecNo(1);
    EXPECT_FALSE(Data->FieldByName("Done")->AsBoolean());
}

TEST_F(EditFixture, FailingPostCancelsAndKeepsTheGridUsable)
{
    Data->BeforePost = [](rtl::TObject*) { throw db::EDatabaseError("refused"); };
    TypeInto(2, 2, "Nope");
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(NameOf(2), "Bravo");
    Data->BeforePost = nullptr;
    Grid->Key(gui::VK_DOWN);
    EXPECT_EQ(Data->RecNo(), 4);
    TypeInto(2, 4, "Fine");
    Grid->Key(gui::VK_UP);
    EXPECT_EQ(NameOf(4), "Fine");
}

// --------------------------------------------------- ORDER BY, sniffing, ini

TEST(DBExGridQueryOrder, RewriteTable)
{
    struct Case {
        const char* Sql;
        const char* Field;
        bool Desc;
        const char* Want;
    };
    const Case cases[] = {
        {"SELECT * FROM T", "Name", false, "SELECT * FROM T ORDER BY Name"},
        {"SELECT * FROM T ORDER BY Id", "Name", true, "SELECT * FROM T ORDER BY Name DESC"},
        {"select * from T\norder by Id desc", "Id", false, "select * from T ORDER BY Id"},
        {"SELECT * FROM T WHERE A = 1 ", "[Long Name]", true, "SELECT * FROM T WHERE A = 1 ORDER BY [Long Name] DESC"},
    };
    for (const Case& c : cases) EXPECT_EQ(RewriteOrderBy(c.Sql, c.Field, c.Desc), c.Want) << c.Sql;
}

namespace {

struct SQLiteFixture : ::testing::Test {
    std::string File;
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    db::TSQLiteQuery* Query = nullptr;
    TTestDBGrid* Grid = nullptr;
    void SetUp() override
    {
        File = ::testing::TempDir() + "/dbexgrid-order-" + std::to_string(::getpid()) + ".db";
        std::filesystem::remove(File);
        MakeTable(File);
        Query = new db::TSQLiteQuery(Form.get());
        Query->SetDatabaseFile(File);
        Query->SQL().SetText("SELECT Id, Name, [Long Name] FROM T");
        auto* src = new db::TDataSource(Form.get());
        src->SetDataSet(Query);
        Grid = new TTestDBGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetDataSource(src);
        Query->Open();
    }
    void TearDown() override { std::filesystem::remove(File); }
    static void MakeTable(const std::string& file);
};

} // namespace

TEST_F(SQLiteFixture, HeaderClickReSortsTheQuery)
{
    EXPECT_EQ(Grid->GetCellText(2, 1), "b");
    // Ascending settings: the first click sorts descending.
    EXPECT_FALSE(Grid->SortByQueryOrder(2));
    EXPECT_EQ(Query->SQL().Text().find("ORDER BY Name DESC") != std::string::npos, true) << Query->SQL().Text();
    EXPECT_EQ(Grid->GetCellText(2, 1), "c");
    EXPECT_FALSE(Grid->SortByQueryOrder(2));
    EXPECT_EQ(Grid->GetCellText(2, 1), "a");
    EXPECT_EQ(Grid->SortSettings()->Column(), 2);
    // A field name with a blank needs OnSetQueryOrder.
    const std::string before = Query->SQL().Text();
    Grid->SortByQueryOrder(3);
    EXPECT_EQ(Query->SQL().Text(), before);
    Grid->OnSetQueryOrder = [](rtl::TObject*, std::string& sql) {
        const size_t at = sql.rfind("Long Name");
        sql.replace(at, 9, "[Long Name]");
    };
    Grid->SortByQueryOrder(3);
    EXPECT_NE(Query->SQL().Text().find("ORDER BY [Long Name]"), std::string::npos) << Query->SQL().Text();
    EXPECT_EQ(Grid->GetCellText(1, 1), "1") << "Long Name sorts Id 1 first";
    // OnCanSort may keep the grid's own sorting.
    Grid->OnCanSortDB = [](rtl::TObject*, int, bool& doSort) { doSort = false; };
    const std::string kept = Query->SQL().Text();
    Grid->SortByQueryOrder(2);
    EXPECT_EQ(Query->SQL().Text(), kept);
}

TEST(DBExGridBlob, SniffTable)
{
    const std::string jpeg("\xFF\xD8\xFF\xE0rest", 8);
    std::string embedded("\x15\x1C", 2);
    embedded += std::string(40, 'x') + "BMxxxx";
    std::string far("\x15\x1C", 2);
    far += std::string(600, 'x') + "BM";
    struct Case {
        std::string Data;
        TBlobPictureKind Kind;
        size_t Offset;
    };
    const Case cases[] = {
        {jpeg, TBlobPictureKind::bpJPEG, 0},
        {"GIF89a...", TBlobPictureKind::bpGIF, 0},
        {"BMxxxx", TBlobPictureKind::bpBitmap, 0},
        {embedded, TBlobPictureKind::bpBitmap, 42},
        {std::string("\x15\x1C\x01G", 4), TBlobPictureKind::bpNone, 0},   // truncated: ends at "G"
        {std::string("\x15\x1CGI", 4), TBlobPictureKind::bpGIF, 2},
        {far, TBlobPictureKind::bpNone, 0},                               // beyond the scan
        {"PNGlike", TBlobPictureKind::bpOther, 0},
        {"", TBlobPictureKind::bpNone, 0},
        {"BM", TBlobPictureKind::bpNone, 0},
    };
    for (const Case& c : cases) {
        const TBlobSniff s = SniffBlobPicture(c.Data);
        EXPECT_EQ(s.Kind, c.Kind) << c.Data.size() << " bytes";
        EXPECT_EQ(s.Offset, c.Offset) << c.Data.size() << " bytes";
    }
}

TEST_F(DBExFixture, EmbeddedBitmapAndTruncatedBlobs)
{
    Data->Close();
    Grid->RemoveAllFields();
    Data->AddFieldDef("Pic", db::TFieldType::ftBlob);
    Data->ClearRecords();
    std::string wrapped("\x15\x1C", 2);
    wrapped += std::string(30, '\0') + SmallBitmapBytes(5, 3, gui::clBlue);
    Data->AppendRecord({int64_t(1), std::string("A"), int64_t(1), std::string("Y"), wrapped});
    Data->AppendRecord({int64_t(2), std::string("B"), int64_t(1), std::string("Y"),
                        SmallBitmapBytes(5, 3, gui::clBlue).substr(0, 30)});
    // A one-pixel red GIF.
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,
                                 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
                                 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    Data->AppendRecord({int64_t(3), std::string("C"), int64_t(1), std::string("Y"),
                        std::string(reinterpret_cast<const char*>(gif), sizeof gif)});
    std::string jpeg;
    {
        gui::TBitmap bmp;
        bmp.SetSize(7, 9);
        gui::TJPEGImage jpg;
        jpg.Assign(&bmp);
        rtl::TMemoryStream ms;
        jpg.SaveToStream(ms);
        jpeg = std::string(ms.View());
    }
    Data->AppendRecord({int64_t(4), std::string("D"), int64_t(1), std::string("Y"), jpeg});
    Data->AppendRecord({int64_t(5), std::string("E"), int64_t(1), std::string("Y"), std::string()});
    Data->Open();
    Grid->Columns()->Items(5)->SetPictureField(true);
    int invalid = 0;
    Grid->OnInvalidPicture = [&](rtl::TObject*, int, int) { ++invalid; };
    Grid->CellGraphicAt(5, 1);
    EXPECT_EQ(Grid->GridPicture()->Width(), 5);
    EXPECT_EQ(invalid, 0);
    Grid->CellGraphicAt(5, 2);
    EXPECT_EQ(invalid, 1) << "a truncated bitmap shows the invalid picture";
    Grid->CellGraphicAt(5, 3);
    EXPECT_EQ(Grid->GridPicture()->Width(), 1) << "GIF";
    Grid->CellGraphicAt(5, 4);
    EXPECT_EQ(Grid->GridPicture()->Width(), 7) << "JPEG";
    Grid->CellGraphicAt(5, 5);
    EXPECT_TRUE(Grid->GridPicture()->Graphic() == nullptr || Grid->GridPicture()->Width() == 0) << "empty blob";
    EXPECT_EQ(invalid, 1);
}

TEST_F(DBExFixture, ColumnPositionsAllOrNothing)
{
    const std::string ini = ::testing::TempDir() + "/dbexgrid-pos-" + std::to_string(::getpid()) + ".ini";
    std::filesystem::remove(ini);
    Grid->SaveColumnPositions(ini, "Grid");
    {
        rtl::TIniFile f(ini);
        EXPECT_EQ(f.ReadInteger("Grid", "CP3", -1), 3);
    }
    auto write = [&](std::vector<int> v) {
        rtl::TIniFile f(ini);
        f.EraseSection("Grid");
        for (size_t i = 0; i < v.size(); ++i) f.WriteInteger("Grid", "CP" + std::to_string(i), v[i]);
        f.UpdateFile();
    };
    const std::vector<std::vector<int>> spoilt = {
        {0, 1, 2, 3},        // one missing
        {0, 1, 2, 3, 9},     // out of range
        {0, 1, 1, 3, 4},     // repeated
        {0, -1, 2, 3, 4},    // missing marker
    };
    for (const auto& v : spoilt) {
        write(v);
        Grid->LoadColumnPositions(ini, "Grid");
        EXPECT_EQ(Grid->Columns()->Items(1)->FieldName(), "Id");
        EXPECT_EQ(Grid->Columns()->Items(2)->FieldName(), "Name");
        EXPECT_EQ(Grid->GetCellText(1, 1), "1");
    }
    // A complete set reorders: the column shown at 1 was at 2.
    write({0, 2, 1, 3, 4});
    Grid->LoadColumnPositions(ini, "Grid");
    EXPECT_EQ(Grid->Columns()->Items(1)->FieldName(), "Name");
    EXPECT_EQ(Grid->Columns()->Items(2)->FieldName(), "Id");
    EXPECT_EQ(Grid->GetCellText(1, 1), "Alpha");
    std::filesystem::remove(ini);
}

// The table for the query tests: three rows whose Name and "Long Name"
// orders differ.
void SQLiteFixture::MakeTable(const std::string& file)
{
    db::ExecuteSQLiteScript(file, "CREATE TABLE T (Id INTEGER, Name TEXT, \"Long Name\" TEXT);"
                                  "INSERT INTO T VALUES (2, 'b', 'z');"
                                  "INSERT INTO T VALUES (1, 'a', 'm');"
                                  "INSERT INTO T VALUES (3, 'c', 'y');");
}

TEST_F(EditFixture, TabPastTheLastRowAndCurrentText)
{
    Data->Last();
    ASSERT_TRUE(Grid->Select(Grid->ColCount() - 1, 5));
    EXPECT_EQ(Grid->GetCurrentCellText(), "Y");
    // Browsing: the string grid's wrap to the first row, and the record follows.
    Grid->Wrap();
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    // Editing the last record: Tab moves on to a new record.
    Data->Last();
    Data->Edit();
    Grid->Wrap();
    EXPECT_EQ(Data->State(), db::TDataSetState::dsInsert);
    EXPECT_EQ(Grid->RowCount(), 7);
}

TEST_F(EditFixture, EscCancelsAndInsertAddsARecord)
{
    int keyDowns = 0;
    Grid->OnKeyDown = [&](rtl::TObject*, uint16_t&, gui::TShiftState) { ++keyDowns; };
    Data->SetRecNo(2);
    Data->Edit();
    Data->FieldByName("Name")->SetAsString("changed");
    Grid->Key(gui::VK_ESCAPE);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "Bravo");
    EXPECT_EQ(keyDowns, 1) << "Esc fires OnKeyDown once";
    // Insert needs AllowInsertRow, and OnCanInsertRow may refuse.
    Grid->Key(gui::VK_INSERT);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    Grid->Navigation()->SetAllowInsertRow(true);
    Grid->OnCanInsertRow = [](rtl::TObject*, int, bool& allow) { allow = false; };
    Grid->Key(gui::VK_INSERT);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsBrowse);
    Grid->OnCanInsertRow = nullptr;
    Grid->Key(gui::VK_INSERT);
    EXPECT_EQ(Data->State(), db::TDataSetState::dsInsert);
    EXPECT_EQ(Grid->RowCount(), 7);
    EXPECT_EQ(Grid->Row(), 2) << "the new record stands at the current row";
    EXPECT_EQ(Grid->GetCellText(2, 3), "Bravo");
    Grid->Key(gui::VK_ESCAPE);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Data->RecordCount(), 5);
}
