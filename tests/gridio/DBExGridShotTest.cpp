// The data-aware grid painted over an SQLite table with a picture and a
// check-box column (a picture is left for a person to look at), and the
// page-mode timing over 100,000 rows, which reports and never fails.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "DBExGridTestFixture.h"
#include "TestPaths.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/db/SQLiteEditTable.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/Messages.h"
#include "platform/gui/PngImage.h"

using namespace gridio;
using namespace dbexgrid_test;

namespace {

// Creates file with table T (Id, Name, Seen 'Y'/'N', Pic BLOB) of rows rows;
// pictures only when pictures is true.
void MakeTable(const std::string& file, int rows, bool pictures)
{
    std::filesystem::remove(file);
    const gui::TColor colours[] = {gui::clRed, 0x00A000, gui::clBlue};
    const char* names[] = {"Total, Svalbard", "Annular, Andes", "Hybrid, Gabon", "Partial, Cairo"};
    auto hex = [](const std::string& bytes) {
        static const char digits[] = "0123456789ABCDEF";
        std::string h = "X'";
        for (unsigned char b : bytes) {
            h += digits[b >> 4];
            h += digits[b & 15];
        }
        return h + "'";
    };
    std::string sql = "CREATE TABLE T (Id INTEGER, Name TEXT, Seen TEXT, Pic BLOB); BEGIN;";
    for (int i = 1; i <= rows; ++i) {
        sql += "INSERT INTO T VALUES (" + std::to_string(i) + ", '" + names[i % 4] + "', '" +
               (i % 3 == 0 ? "N" : "Y") + "', " +
               (pictures ? hex(SmallBitmapBytes(24, 16, colours[i % 3])) : std::string("NULL")) + ");";
    }
    db::ExecuteSQLiteScript(file, sql + "COMMIT;");
}

int Count(gui::TBitmap& bmp, const gui::TRect& r, gui::TColor c)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bmp.Canvas()->Pixels(x, y) == c) ++n;
    return n;
}

} // namespace

TEST(DBExGridShot, SQLiteTableWithPictureAndCheckBoxColumns)
{
    const std::string file = ::testing::TempDir() + "/dbexgrid-shot-" + std::to_string(::getpid()) + ".db";
    MakeTable(file, 12, true);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 560, 360);
    auto* table = new db::TSQLiteTable(&form);
    table->SetDatabaseFile(file);
    table->SetTableName("T");
    auto* src = new db::TDataSource(&form);
    src->SetDataSet(table);
    auto* g = new TTestDBGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 540, 340);
    g->Font()->SetName("Liberation Sans");
    g->Font()->SetSize(9);
    g->SetColor(gui::clWhite);
    g->SetDefaultRowHeight(26);
    g->SetDataSource(src);
    table->Open();
    ASSERT_EQ(g->ColCount(), 5);
    g->Columns()->Items(3)->SetCheckBoxField(true);
    g->Columns()->Items(4)->SetPictureField(true);
    g->Columns()->Items(2)->SetWidth(170);
    g->Columns()->Items(4)->SetHeader("Picture");
    g->Columns()->Items(3)->SetHeader("Seen");
    g->Columns()->Items(3)->SetAlignment(gui::TAlignment::taCenter);
    table->SetRecNo(3);
    std::unique_ptr<gui::TBitmap> shot = g->GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((tectest::SnapshotDir() / "dbexgrid-sqlite.png").string());
    // Row 1's picture is green (record 1: colours[1]), row 2's blue.
    const gui::TRect p1 = g->CellRect(4, 1), p2 = g->CellRect(4, 2);
    EXPECT_GT(Count(*shot, p1, 0x00A000), 100);
    EXPECT_GT(Count(*shot, p2, gui::clBlue), 100);
    // The indicator triangle stands in column 0 of the current row only.
    EXPECT_GT(Count(*shot, g->CellRect(0, 3), gui::clBlack), 10);
    EXPECT_EQ(Count(*shot, g->CellRect(0, 2), gui::clBlack), 0);
    EXPECT_EQ(g->GetCellText(2, 3), "Partial, Cairo");
    std::filesystem::remove(file);
}

TEST(DBExGridShot, MemoryDataSetGrid)
{
    struct Shot : DBExFixture {
        void TestBody() override {}
    } f;
    f.SetUp();
    f.Grid->SetColor(gui::clWhite);
    f.Grid->SetShowBooleanFields(true);
    f.Grid->Columns()->Items(4)->SetProgressField(false);
    f.Grid->Columns()->Items(1)->SetProgressField(true);
    f.Data->SetRecNo(2);
    std::unique_ptr<gui::TBitmap> shot = f.Grid->GetImage();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((tectest::SnapshotDir() / "dbexgrid-memory.png").string());
    EXPECT_GT(Count(*shot, f.Grid->CellRect(0, 2), gui::clBlack), 10);
}

TEST(DBExGridBench, PageModeOver100000SQLiteRows)
{
    const std::string file = ::testing::TempDir() + "/dbexgrid-bench-" + std::to_string(::getpid()) + ".db";
    MakeTable(file, 100000, false);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 560, 360);
    auto* table = new db::TSQLiteTable(&form);
    table->SetDatabaseFile(file);
    table->SetTableName("T");
    auto* src = new db::TDataSource(&form);
    src->SetDataSet(table);
    auto* g = new TTestDBGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 540, 340);
    g->SetDataSource(src);
    const auto t0 = std::chrono::steady_clock::now();
    table->Open();
    g->GetImage();
    g->Key(gui::VK_END, gui::TShiftState{gui::TShiftStateItem::ssCtrl});
    g->GetImage();
    for (int i = 0; i < 100; ++i) g->Key(gui::VK_PRIOR);
    g->GetImage();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("page mode, 100000 SQLite rows: open + Ctrl+End + 100 PgUp + 3 paints: %.1f ms\n", ms);
    RecordProperty("milliseconds", static_cast<int>(ms));
    EXPECT_EQ(g->RowCount(), 100001);
    EXPECT_EQ(g->Row(), table->RecNo());
    std::filesystem::remove(file);
}

TEST(DBExGridShot, IndicatorShowsEditAndInsertStates)
{
    struct Shot : DBExFixture {
        void TestBody() override {}
    } f;
    f.SetUp();
    f.Data->SetRecNo(2);
    auto blackIn = [&](int row) {
        std::unique_ptr<gui::TBitmap> shot = f.Grid->GetImage();
        return Count(*shot, f.Grid->CellRect(0, row), gui::clBlack);
    };
    const int browse = blackIn(2);
    EXPECT_GT(browse, 20) << "filled triangle";
    f.Data->Edit();
    const int edit = blackIn(2);
    EXPECT_GT(edit, 10);
    EXPECT_LT(edit, browse) << "the I-beam is lines only";
    f.Data->Cancel();
    f.Data->Insert();
    EXPECT_EQ(f.Grid->RowCount(), 7);
    EXPECT_GT(blackIn(f.Grid->Row()), 8) << "asterisk";
    f.Data->Cancel();
    EXPECT_EQ(f.Grid->RowCount(), 6);
}

TEST(DBExGridShot, DesignHelperPanelAndItems)
{
    struct Shot : DBExFixture {
        void TestBody() override {}
    } f;
    f.SetUp();
    f.Form->Show();
    TTestDBGrid* g = f.Grid;
    const gui::TRect cr = g->ClientRect();
    gui::TBitmap b;
    b.SetSize(1, 1);
    b.Canvas()->Font()->SetName("Tahoma");
    b.Canvas()->Font()->SetSize(8);
    const int line = b.Canvas()->TextHeight("gh") + 2;
    auto at = [&](int n) { return gui::TPoint{cr.Right - 150 + 6, cr.Bottom - 70 + 4 + n * line + line / 2}; };
    // Nothing at run time.
    EXPECT_EQ(g->GetImage()->Canvas()->Pixels(cr.Right - 3, cr.Bottom - 3), gui::clWhite);
    g->SetComponentStateFlag(rtl::TComponentStateItem::csDesigning, true);
    std::unique_ptr<gui::TBitmap> shot = g->GetImage();
    EXPECT_EQ(gui::ColorToRGB(shot->Canvas()->Pixels(cr.Right - 3, cr.Bottom - 3)), gui::ColorToRGB(gui::clInfoBk));
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((tectest::SnapshotDir() / "dbexgrid-design.png").string());
    EXPECT_EQ(g->DesignChoiceAt(at(1).X, at(1).Y), 0);
    EXPECT_EQ(g->DesignChoiceAt(at(2).X, at(2).Y), 1);
    EXPECT_EQ(g->DesignChoiceAt(at(3).X, at(3).Y), 2);
    EXPECT_EQ(g->DesignChoiceAt(at(3).X + 140, at(3).Y), -1) << "right of the text";
    EXPECT_EQ(g->DesignChoiceAt(at(0).X, at(0).Y), -1) << "the title";
    gui::TMessage m{gui::CM_DESIGNHITTEST, 0, gui::LPARAM((at(2).Y << 16) | at(2).X), 0};
    g->Dispatch(m);
    EXPECT_EQ(m.Result, 1);
    EXPECT_EQ(g->LastDBDesignChoice(), 1);
    gui::sim::Click(g, at(2).X, at(2).Y);
    EXPECT_EQ(g->Columns()->Items(2)->FieldName(), "") << "Remove all DB fields";
    gui::sim::Click(g, at(1).X, at(1).Y);
    EXPECT_EQ(g->Columns()->Items(2)->FieldName(), "Name") << "Add all DB fields";
    gui::sim::Click(g, at(3).X, at(3).Y);
    EXPECT_EQ(g->Columns()->Items(1)->FieldName(), "") << "Remove all columns";
    EXPECT_EQ(g->ColCount(), 2);
}

TEST(DBExGridSQLite, CellEditsAndCheckBoxesReachTheFile)
{
    const std::string file = ::testing::TempDir() + "/dbexgrid-edit-" + std::to_string(::getpid()) + ".db";
    MakeTable(file, 5, false);
    gui::TForm form(nullptr);
    form.SetBounds(0, 0, 560, 360);
    auto* table = new db::TSQLiteEditTable(&form);
    table->SetDatabaseFile(file);
    table->SetTableName("T");
    auto* src = new db::TDataSource(&form);
    src->SetDataSet(table);
    auto* g = new TTestDBGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 540, 340);
    gui::TGridOptions o = g->Options();
    o.Include(gui::TGridOption::goEditing);
    g->SetOptions(o);
    g->SetDataSource(src);
    table->Open();
    g->Columns()->Items(3)->SetCheckBoxField(true);
    ASSERT_TRUE(g->Select(2, 2));
    g->Validate(2, 2, "Renamed");
    EXPECT_TRUE(g->Toggle(3, 4));
    table->Close();
    table->Open();
    table->SetRecNo(2);
    EXPECT_EQ(table->FieldByName("Name")->AsString(), "Renamed");
    table->SetRecNo(4);
    EXPECT_EQ(table->FieldByName("Seen")->AsString(), "N") << "record 4 was Y";
    std::filesystem::remove(file);
}
