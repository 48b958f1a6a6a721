// The catalogue dialog's queries, year jump and preview on the shipped
// catalogue, checked against published eclipses (Five Millennium Canon:
// 2006 Mar 29 and 2024 Apr 08 total, Saros 139; 2025 Mar 14 total lunar).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CatalogueDlgs.h"
#include "app/SEPaths.h"
#include "chart/PlotUtils.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/Graphics.h"

using namespace app;

namespace {

const std::string CatalogueFile = std::string(TEC_RUNTIME_DIR) + "/be.db";

class CatalogueQuery : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(CatalogueFile)) GTEST_SKIP() << "no catalogue built";
        Query.SetDatabaseFile(CatalogueFile);
    }
    void Run(TEventType type, std::array<bool, 4> types, const std::string& saros, const std::string& order)
    {
        Query.Close();
        Query.SQL().Clear();
        for (const std::string& line : CatalogueStatement(type, types, saros, order)) Query.SQL().Add(line);
        Query.Open();
    }
    db::TSQLiteQuery Query;
};

TEST(CatalogueStatement, LinesForTypesSarosAndOrder)
{
    EXPECT_EQ(CatalogueStatement(etSolarEclipse, {false, true, false, false}, "145", "k"),
              (std::vector<std::string>{"SELECT * FROM BE_SE", "WHERE ((Type = \"N\")", "OR (Type = \"T\")", ")",
                                         "AND (Saros = 145)", "ORDER BY k"}));
    EXPECT_EQ(CatalogueStatement(etLunarEclipse, {false, true, true, true}, "  ", "Gamma,CatNo"),
              (std::vector<std::string>{"SELECT * FROM BE_LE", "WHERE ((Type = \"M\")", "OR (Type = \"P\")",
                                         "OR (Type = \"T\")", ")", "ORDER BY Gamma,CatNo"}));
    EXPECT_EQ(CatalogueStatement(etSolarEclipse, {true, true, true, true}, " -12 ", "CatNo")[7], "AND (Saros = -12)");
    // Only whole numbers reach the statement.
    EXPECT_TRUE(ValidSarosText(""));
    EXPECT_TRUE(ValidSarosText("-3"));
    EXPECT_FALSE(ValidSarosText("-"));
    EXPECT_FALSE(ValidSarosText("1) OR (1=1"));
    EXPECT_THROW(CatalogueStatement(etSolarEclipse, {true, true, true, true}, "1) OR (1=1", "k"), std::exception);

    const std::pair<int, const char*> solar[] = {{0, "CatNo"}, {1, "CatNo"}, {2, "Type,CatNo"}, {3, "Magnitude,CatNo"},
                                                 {4, "Gamma,CatNo"}, {5, "Saros,CatNo"}, {6, "k"}};
    for (auto [column, order] : solar) EXPECT_EQ(CatalogueOrderForColumn(column, etSolarEclipse), order);
    EXPECT_EQ(CatalogueOrderForColumn(3, etLunarEclipse), "MagUmbra,CatNo");
    EXPECT_EQ(CatalogueYearKey(-5), "-0005");
    EXPECT_EQ(CatalogueYearKey(0), "0000");
    EXPECT_EQ(CatalogueYearKey(12345), "12345");
}

TEST_F(CatalogueQuery, FiltersByTypeAndSarosAndSorts)
{
    Run(etSolarEclipse, {false, true, false, false}, "139", "k");
    ASSERT_GT(Query.RecordCount(), 10);
    int previousK = -1000000;
    for (Query.First(); !Query.Eof(); Query.Next()) {
        EXPECT_EQ(Query.FieldByName("Type")->AsString(), "T");
        EXPECT_EQ(Query.FieldByName("Saros")->AsInteger(), 139);
        EXPECT_GT(Query.FieldByName("k")->AsInteger(), previousK);
        previousK = Query.FieldByName("k")->AsInteger();
    }
    // No type checked: only the opening term, which no row has.
    Run(etSolarEclipse, {false, false, false, false}, "", "k");
    EXPECT_EQ(Query.RecordCount(), 0);
    Run(etLunarEclipse, {false, false, false, false}, "", "k");
    EXPECT_EQ(Query.RecordCount(), 0);
    // Sorted by gamma.
    Run(etLunarEclipse, {false, false, true, false}, "", "Gamma,CatNo");
    ASSERT_GT(Query.RecordCount(), 100);
    double previous = -10;
    for (Query.First(); !Query.Eof(); Query.Next()) {
        EXPECT_GE(Query.FieldByName("Gamma")->AsFloat(), previous);
        previous = static_cast<double>(Query.FieldByName("Gamma")->AsFloat());
        EXPECT_EQ(Query.FieldByName("Type")->AsString(), "T");
    }
}

TEST_F(CatalogueQuery, GoToYearTriesLaterYears)
{
    Run(etSolarEclipse, {false, true, false, false}, "139", "k");
    // Saros 139 has total eclipses in 2006 and 2024, none in between.
    ASSERT_TRUE(GoToYear(Query, 2007));
    EXPECT_EQ(Query.FieldByName("DT")->AsString(), "2024 Apr 08");
    ASSERT_TRUE(GoToYear(Query, 2006));
    EXPECT_EQ(Query.FieldByName("DT")->AsString(), "2006 Mar 29");
    // Nothing after the catalogue's last year: the cursor stays.
    EXPECT_FALSE(GoToYear(Query, 3000));
    EXPECT_EQ(Query.FieldByName("DT")->AsString(), "2006 Mar 29");

    Run(etSolarEclipse, {true, true, true, true}, "", "CatNo");
    ASSERT_TRUE(GoToYear(Query, -5));
    EXPECT_EQ(Query.FieldByName("DT")->AsString().substr(0, 5), "-0005");
}

TEST_F(CatalogueQuery, PreviewOfTheTotalSolarEclipseOf2024)
{
    Run(etSolarEclipse, {true, true, true, true}, "", "CatNo");
    ASSERT_TRUE(GoToYear(Query, 2024));
    ASSERT_EQ(Query.FieldByName("DT")->AsString(), "2024 Apr 08");
    gui::TBitmap map;
    DrawCataloguePreview(Query, etSolarEclipse, map);
    ASSERT_EQ(map.Width(), 360);
    ASSERT_EQ(map.Height(), 180);
    auto pixel = [&](double lon, double lat) { return map.Canvas()->Pixels(static_cast<int>(180 - lon), static_cast<int>(90 - lat)); };
    EXPECT_EQ(pixel(97, 33), gui::RGB(255, 0, 0));      // Dallas: in the path of totality
    EXPECT_EQ(pixel(99, 19), gui::RGB(255, 165, 0));    // Mexico City: partial, Sun up
    gui::TBitmap clean;
    clean.LoadFromResourceName("WORLD_360");
    clean.SetPixelFormat(gui::TPixelFormat::pf24bit);
    EXPECT_EQ(pixel(-135, -25), clean.Canvas()->Pixels(315, 115));  // Australia: nothing seen
}

TEST_F(CatalogueQuery, PreviewOfTheTotalLunarEclipseOf2025)
{
    Run(etLunarEclipse, {true, true, true, false}, "", "CatNo");
    ASSERT_TRUE(GoToYear(Query, 2025));
    ASSERT_EQ(Query.FieldByName("DT")->AsString(), "2025 Mar 14");
    gui::TBitmap map, clean;
    DrawCataloguePreview(Query, etLunarEclipse, map);
    clean.LoadFromResourceName("WORLD_360");
    clean.SetPixelFormat(gui::TPixelFormat::pf24bit);
    // Under the Moon at greatest eclipse (about 3 N, 102 W) the whole
    // eclipse is seen: the pixel keeps its colour.
    EXPECT_EQ(map.Canvas()->Pixels(180 - 102, 90 - 3), clean.Canvas()->Pixels(180 - 102, 90 - 3));
    // At the antipode (India, 78 E) nothing is seen: brightness times 0.3.
    const int x = 180 + 78, y = 90 + 3;
    const gui::TColor before = clean.Canvas()->Pixels(x, y), after = map.Canvas()->Pixels(x, y);
    double h, s, v, h2, s2, v2;
    chart::RgbToHsv(gui::GetRValue(before), gui::GetGValue(before), gui::GetBValue(before), h, s, v);
    chart::RgbToHsv(gui::GetRValue(after), gui::GetGValue(after), gui::GetBValue(after), h2, s2, v2);
    EXPECT_NEAR(v2, 0.3 * v, 1.0 / 255);
    EXPECT_GT(v, 0.2);
}

} // namespace

namespace {
std::vector<int64_t> KColumn(db::TDataSet& ds)
{
    std::vector<int64_t> out;
    ds.DisableControls();
    const int at = ds.RecNo();
    for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName("k")->AsInteger());
    ds.SetRecNo(at);
    ds.EnableControls();
    return out;
}
} // namespace

TEST_F(CatalogueQuery, TitleClicksOrderTheListAsTheStatementWould)
{
    // A title click orders the loaded rows in memory: the same rows in the
    // same order as the statement with that column's ORDER BY, the same
    // eclipse at the cursor.
    const std::string oldFile = DatabaseFile;
    DatabaseFile = CatalogueFile;
    TCatalogueDlg dlg(nullptr);
    DatabaseFile = oldFile;
    dlg.AfterConstruction();
    const struct {
        TEventType page;
        std::array<bool, 4> types;  // as the dialog starts
        const char* date;
    } pages[] = {{etSolarEclipse, {true, true, true, true}, "2024 Apr 08"},
                 {etLunarEclipse, {false, true, true, false}, "2025 Mar 14"}};
    for (const auto& p : pages) {
        dlg.SetEventType(p.page);
        db::TSQLiteQuery* q = p.page == etSolarEclipse ? dlg.SETable : dlg.LETable;
        ASSERT_TRUE(q->Locate("DT", db::TFieldValue(std::string(p.date))));
        for (int column = 6; column >= 0; --column) {
            SCOPED_TRACE(std::to_string(column) + " " + p.date);
            dlg.TitleClick(p.page, column);
            EXPECT_EQ(q->FieldByName("DT")->AsString(), p.date);
            Run(p.page, p.types, "", CatalogueOrderForColumn(column, p.page));
            EXPECT_EQ(KColumn(*q), KColumn(Query));
        }
    }
    // A Saros typed but not yet applied goes into the list with the click.
    dlg.SetEventType(etSolarEclipse);
    dlg.ESESaros->SetText("139");
    dlg.TitleClick(etSolarEclipse, 4);
    Run(etSolarEclipse, {true, true, true, true}, "139", "Gamma,CatNo");
    EXPECT_EQ(KColumn(*dlg.SETable), KColumn(Query));
    EXPECT_EQ(dlg.Caption(), "Solar Eclipse Catalogue [" + std::to_string(Query.RecordCount()) + " entries]");
}
