// The data-aware grid over SQLite fixtures: it shows the first records,
// follows the data set, moves it when the user moves, re-sorts through its
// title clicks, selects records by bookmark, and is painted into a bitmap.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <sqlite3.h>

#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/DBGrids.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "TestPaths.h"

using namespace gui;

namespace {

const TShiftState kNone{};

void Exec(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* err = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << err;
    sqlite3_close(db);
}

// A table of 300 rows: N = 1..300, Name "row N", X = N / 4.
std::string NumbersDb()
{
    auto dir = tectest::ScratchDir("dbgrid-numbers");
    std::string file = (dir / "numbers.db").string();
    std::filesystem::remove(file);
    std::string sql = "CREATE TABLE Numbers (N INTEGER, Name VARCHAR(12), X FLOAT);"
                      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 300) "
                      "INSERT INTO Numbers SELECT n, 'row ' || n, n / 4.0 FROM c;";
    Exec(file, sql);
    return file;
}

std::string CatalogueDb()
{
    auto dir = tectest::ScratchDir("dbgrid-catalogue");
    std::string file = (dir / "be.db").string();
    std::filesystem::remove(file);
    Exec(file, tectest::ReadText(tectest::DataFile("platform/db/mini-catalogue.sql")));
    return file;
}

struct DBGridForm {
    TForm Form{nullptr};
    TDBGrid* G;
    db::TDataSource Source;
    db::TSQLiteQuery Query;
    // Texts painted per grid row and column title.
    std::map<std::pair<int, int>, std::string> Painted;

    DBGridForm(const std::string& file, const std::string& sql, int w = 400, int h = 250)
    {
        Form.SetBounds(0, 0, w + 20, h + 20);
        G = new TDBGrid(&Form);
        G->SetParent(&Form);
        G->SetBounds(0, 0, w, h);
        Query.SetDatabaseFile(file);
        Query.SQL().Add(sql);
        Source.SetDataSet(&Query);
        G->SetDataSource(&Source);
        G->OnDrawColumnCell = [this](rtl::TObject*, const TRect& rect, int dataCol, TColumn* column,
                                     TGridDrawState) {
            int row = G->MouseCoord(rect.Left + 1, rect.Top + 1).Y;
            Painted[{row, dataCol}] = column->Field() ? column->Field()->DisplayText() : "";
        };
        Form.Show();
        G->SetFocus();
    }
    // Paints the grid; returns the picture.
    std::unique_ptr<TBitmap> Paint()
    {
        Painted.clear();
        return G->GetImage();
    }
    int RecNo() const { return Query.RecNo(); }
    std::string Text(int row, int dataCol) const
    {
        auto it = Painted.find({row, dataCol});
        return it == Painted.end() ? "(not painted)" : it->second;
    }
};

} // namespace

TEST(DBGrid, ShowsTheFirstRowsAndFollowsTheDataSet)
{
    DBGridForm f(NumbersDb(), "SELECT * FROM Numbers");
    TDBGrid& g = *f.G;
    EXPECT_EQ(g.Columns()->Count(), 0);   // nothing open yet
    f.Query.Open();
    ASSERT_EQ(g.Columns()->Count(), 3);
    EXPECT_EQ(g.Columns()->State(), TDBGridColumnsState::csDefault);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Columns()->Items(1)->Title()->Caption(), "Name");
    EXPECT_EQ(g.Columns()->Items(2)->Alignment(), TAlignment::taRightJustify);

    // As many records as whole rows fit; the current one is row 1.
    const int buffer = g.DataLink()->BufferCount();
    EXPECT_GE(buffer, 5);
    EXPECT_EQ(buffer, g.VisibleRowCount());
    EXPECT_EQ(g.RowCount(), 1 + buffer);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_TRUE(g.ScrollBarVisible(SB_VERT));
    f.Paint();
    for (int r = 1; r <= buffer; ++r) {
        EXPECT_EQ(f.Text(r, 0), std::to_string(r));
        EXPECT_EQ(f.Text(r, 1), "row " + std::to_string(r));
    }
    EXPECT_EQ(f.Text(2, 2), "0.5");
    f.Query.FieldByName("X")->SetDisplayFormat("0.00");
    f.Query.MoveBy(2);
    auto img = f.Paint();
    EXPECT_EQ(f.Text(2, 2), "0.50");
    TPngImage png;
    png.Assign(img.get());
    png.SaveToFile((tectest::ScratchDir("dbgrid-numbers") / "numbers-grid.png").string());
    // The indicator marks the current record's row with a dark triangle.
    TRect ind = g.CellRect(0, 3);
    int dark = 0;
    for (int y = ind.Top; y < ind.Bottom; ++y)
        for (int x = ind.Left; x < ind.Right; ++x)
            if (img->Canvas()->Pixels(x, y) == ColorToRGB(clWindowText)) ++dark;
    EXPECT_GT(dark, 5);
    f.Query.First();

    // The data set moves, the grid follows.
    f.Query.MoveBy(3);
    EXPECT_EQ(g.Row(), 4);
    f.Query.Last();
    EXPECT_EQ(g.Row(), buffer);
    EXPECT_EQ(g.ScrollBarPos(SB_VERT), GridScrollBarMax);
    f.Paint();
    EXPECT_EQ(f.Text(1, 0), std::to_string(300 - buffer + 1));
    EXPECT_EQ(f.Text(buffer, 0), "300");
    f.Query.Locate("N", db::TFieldValue(int64_t(150)));
    EXPECT_EQ(g.SelectedField()->AsInteger(), 150);
    f.Paint();
    EXPECT_EQ(f.Text(g.Row(), 0), "150");

    // The user moves, the data set follows.
    f.Query.First();
    sim::KeyDown(VK_DOWN, kNone, &g);
    EXPECT_EQ(f.RecNo(), 2);
    EXPECT_EQ(g.Row(), 2);
    sim::KeyDown(VK_NEXT, kNone, &g);
    EXPECT_EQ(f.RecNo(), 2 + buffer);
    EXPECT_EQ(g.Row(), buffer);
    sim::KeyDown(VK_END, {TShiftStateItem::ssCtrl}, &g);
    EXPECT_EQ(f.RecNo(), 300);
    sim::Wheel(&g, WHEEL_DELTA, 50, 50);
    EXPECT_EQ(f.RecNo(), 299);
    sim::KeyDown(VK_HOME, {TShiftStateItem::ssCtrl}, &g);
    EXPECT_EQ(f.RecNo(), 1);
    TRect r3 = g.CellRect(2, 3);
    sim::Click(&g, r3.Left + 5, r3.Top + 5);
    EXPECT_EQ(f.RecNo(), 3);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.SelectedIndex(), 1);
    g.SetRow(5);                           // setting the row moves the record too
    EXPECT_EQ(f.RecNo(), 5);
    g.Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 64));
    EXPECT_EQ(f.RecNo(), 1 + (64 * 299 + 63) / 127);
    g.Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(f.RecNo(), 300);

    // Closed, the grid keeps one empty row.
    f.Query.Close();
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Columns()->Count(), 0);
    f.Paint();
}

TEST(DBGrid, TitleClickReQueriesInTheColumnsOrder)
{
    // As the catalogue dialog uses it: row selection, program-made columns,
    // and a title click that re-runs the query in that column's order.
    DBGridForm f(CatalogueDb(), "SELECT CatNo, DT, Type, Gamma FROM BE_SE ORDER BY CatNo", 360, 200);
    TDBGrid& g = *f.G;
    g.SetOptions({TDBGridOption::dgTitles, TDBGridOption::dgColLines, TDBGridOption::dgRowLines,
                  TDBGridOption::dgTabs, TDBGridOption::dgRowSelect,
                  TDBGridOption::dgAlwaysShowSelection, TDBGridOption::dgTitleClick});
    g.SetFixedColor(0xD7D7D7);
    const char* names[] = {"CatNo", "DT", "Type", "Gamma"};
    const char* captions[] = {"Cat. No.", "Date", "Type", "Gamma"};
    for (int i = 0; i < 4; ++i) {
        TColumn* c = g.Columns()->Add();
        c->SetFieldName(names[i]);
        c->Title()->SetCaption(captions[i]);
        c->SetWidth(i == 1 ? 100 : 70);
    }
    std::vector<std::string> clicked;
    g.OnTitleClick = [&](TColumn* column) {
        clicked.push_back(column->FieldName());
        f.Query.Close();
        f.Query.SQL().Clear();
        f.Query.SQL().Add("SELECT CatNo, DT, Type, Gamma FROM BE_SE ORDER BY " + column->FieldName());
        f.Query.Open();
    };
    f.Query.Open();
    EXPECT_EQ(g.Columns()->State(), TDBGridColumnsState::csCustomized);
    EXPECT_EQ(g.ColCount(), 4);           // no indicator column
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_EQ(g.ColWidths(1), 100);
    f.Query.Next();
    auto img = f.Paint();
    EXPECT_EQ(f.Text(1, 0), "1");
    EXPECT_EQ(f.Text(2, 0), "9554");

    TRect gammaTitle = g.CellRect(3, 0);
    sim::Click(&g, gammaTitle.Left + 10, gammaTitle.Top + 5);
    EXPECT_EQ(clicked, (std::vector<std::string>{"Gamma"}));
    EXPECT_EQ(g.Columns()->Count(), 4);  // the columns outlive the new query
    EXPECT_EQ(f.RecNo(), 1);
    img = f.Paint();
    EXPECT_EQ(f.Text(1, 3), "-1.0651");
    EXPECT_EQ(f.Text(2, 3), "-0.3952");
    EXPECT_EQ(f.Text(7, 3), "1.0405");
    // A click on a data cell is no title click.
    sim::Click(&g, g.CellRect(1, 2).Left + 5, g.CellRect(1, 2).Top + 5);
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(f.RecNo(), 2);

    img = f.Paint();
    TPngImage png;
    png.Assign(img.get());
    png.SaveToFile((tectest::ScratchDir("dbgrid-catalogue") / "catalogue-grid.png").string());
    TCanvas* c = img->Canvas();
    TRect title = g.CellRect(0, 0), sel = g.CellRect(2, 2), other = g.CellRect(2, 4);
    EXPECT_EQ(c->Pixels(title.Right - 2, title.Top + 2), TColor(0xD7D7D7));
    EXPECT_EQ(c->Pixels(sel.Right - 3, sel.Top + 3), ColorToRGB(clHighlight));
    EXPECT_EQ(c->Pixels(other.Right - 3, other.Top + 3), ColorToRGB(clWindow));
}

TEST(DBGrid, MultiSelectKeepsBookmarks)
{
    DBGridForm f(NumbersDb(), "SELECT * FROM Numbers WHERE N <= 20");
    TDBGrid& g = *f.G;
    g.SetOptions(g.Options() + TDBGridOptions{TDBGridOption::dgMultiSelect});
    f.Query.Open();
    auto clickRow = [&](int row, TShiftState shift) {
        TRect r = g.CellRect(1, row);
        sim::MouseDown(&g, TMouseButton::mbLeft, r.Left + 5, r.Top + 5, shift);
        sim::MouseUp(&g, TMouseButton::mbLeft, r.Left + 5, r.Top + 5, shift);
    };
    clickRow(2, {TShiftStateItem::ssCtrl});
    clickRow(4, {TShiftStateItem::ssCtrl});
    EXPECT_EQ(g.SelectedRows()->Count(), 2);
    EXPECT_TRUE(g.SelectedRows()->CurrentRowSelected());
    // The list follows the data set's order, and survives a re-sort.
    f.Query.SetSort("N DESC");
    EXPECT_EQ(g.SelectedRows()->Count(), 2);
    f.Query.GotoBookmark(g.SelectedRows()->Items(0));
    EXPECT_EQ(f.Query.FieldByName("N")->AsInteger(), 2);
    f.Query.SetSort("");
    f.Query.First();
    auto img = f.Paint();
    TCanvas* c = img->Canvas();
    TRect r2 = g.CellRect(2, 2), r3 = g.CellRect(2, 3);
    EXPECT_EQ(c->Pixels(r2.Right - 3, r2.Top + 3), ColorToRGB(clHighlight));
    EXPECT_EQ(c->Pixels(r3.Right - 3, r3.Top + 3), ColorToRGB(clWindow));
    // Ctrl-click again deselects; a plain click starts over.
    clickRow(4, {TShiftStateItem::ssCtrl});
    EXPECT_EQ(g.SelectedRows()->Count(), 1);
    sim::KeyDown(VK_DOWN, {TShiftStateItem::ssShift}, &g);
    EXPECT_EQ(g.SelectedRows()->Count(), 3);   // rows 2, 4 and 5
    clickRow(6, kNone);
    EXPECT_EQ(g.SelectedRows()->Count(), 0);
    g.SetOptions(g.Options() - TDBGridOptions{TDBGridOption::dgMultiSelect});
    EXPECT_EQ(g.SelectedRows()->Count(), 0);
}

TEST(DBGrid, SourceAndDataSetMayGoFirst)
{
    TForm form(nullptr);
    auto* g = new TDBGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 300, 200);
    auto source = std::make_unique<db::TDataSource>();
    auto ds = std::make_unique<db::TMemDataSet>();
    ds->AddFieldDef("A", db::TFieldType::ftInteger);
    for (int i = 0; i < 30; ++i) ds->AppendRecord({int64_t(i)});
    source->SetDataSet(ds.get());
    g->SetDataSource(source.get());
    ds->Open();
    EXPECT_GT(g->RowCount(), 2);
    ds.reset();
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_FALSE(g->DataLink()->Active());
    source.reset();
    EXPECT_EQ(g->DataSource(), nullptr);
    form.Show();
    auto img = g->GetImage();
    EXPECT_EQ(img->Width(), 300);
}
