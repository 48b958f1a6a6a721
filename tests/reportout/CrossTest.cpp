// The cross-tab: key order, adding records, totals, layout with a fake
// measurer, the view's templates and levels, and its output through the
// band engine onto recorded and real prepared pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Files.h"
#include "tests/common/TestEnv.h"
#include "tests/common/TestPaths.h"
#include "report/qlrDMPClass.h"
#include "report/qlrVariables.h"
#include "reportout/qlrCross.h"
#include "reportout/qlrCrossEditor.h"
// The engine fixture reads golden files from here; these tests use none.
#define TEST_DATA_DIR ""
#include "tests/report/EngineFixture.h"

using namespace qlr;
using rtl::Variant;

namespace {

TqlrSortArray Sorts(TqlrCrossSortOrder first, TqlrCrossSortOrder rest = TqlrCrossSortOrder::soAscending)
{
    TqlrSortArray s;
    s.fill(rest);
    s[0] = first;
    return s;
}

std::string Keys(const TqlrIndexCollection& c)
{
    std::string s;
    for (int i = 0; i < c.Count(); ++i) {
        if (i) s += " ";
        for (std::size_t l = 0; l < c.Items(i)->FIndexes.size(); ++l)
            s += (l ? "/" : "") + (c.Items(i)->FIndexes[l].IsNull() ? std::string("null") : rtl::VarToStr(c.Items(i)->FIndexes[l]));
    }
    return s;
}

// Measures a text as 10 units a character (at least one) by 20 units.
TqlrCrossSize FakeMeasure(TqlrCustomMemoView* m)
{
    const std::size_t n = std::max<std::size_t>(m->Text().size(), 1);
    return {static_cast<long double>(n * 10), 20};
}

// A view on no band with the fake measurer.
struct ViewRig {
    TqlrCrossView view{nullptr};
    ViewRig() { view.OnMeasureMemo = FakeMeasure; }
};

std::string Column(TqlrCustomCrossView& v, int column)
{
    std::string s;
    for (int r = 0; r < v.RowCount(); ++r) s += (r ? " " : "") + rtl::VarToStr(v.GetValue(r, column, 0));
    return s;
}

} // namespace

// ----------------------------------------------------------------- key order

TEST(CrossKeys, ComparisonAndOrderByLevelSort)
{
    using S = TqlrCrossSortOrder;
    struct Case {
        S sort;
        std::vector<Variant> keys;
        std::string expected;
    } cases[] = {
        {S::soAscending, {Variant(3), Variant(1), Variant::Null(), Variant(2)}, "null 1 2 3"},
        {S::soDescending, {Variant(3), Variant(1), Variant::Null(), Variant(2)}, "3 2 1 null"},
        {S::soNone, {Variant(3), Variant(1), Variant::Null(), Variant(2)}, "3 1 null 2"},
        {S::soGrouping, {Variant("b"), Variant("a"), Variant("b")}, "b a"},
        // Distinct texts that the Variant type calls equal stay distinct keys.
        {S::soNone, {Variant("abc"), Variant("ABC"), Variant("abc")}, "abc ABC"},
        // Numbers order numerically, numeric texts as the Variant type compares them.
        {S::soAscending, {Variant(10), Variant(9), Variant(100)}, "9 10 100"},
        {S::soAscending, {Variant(10), Variant("9"), Variant(8)}, "8 9 10"},
    };
    for (const Case& c : cases) {
        TqlrCrossRows rows(1, Sorts(c.sort), 1);
        for (const Variant& k : c.keys) rows.Row({k});
        EXPECT_EQ(Keys(rows), c.expected) << static_cast<int>(c.sort);
    }
    TqlrCrossRows sorted(1, Sorts(S::soAscending), 1);
    for (const char* k : {"abc", "ABC", "abc", "ABC"}) sorted.Row({Variant(k)});
    EXPECT_EQ(sorted.Count(), 2);
}

TEST(CrossKeys, GroupingPlacesNewKeyBehindLongestSharedPrefix)
{
    TqlrCrossRows rows(2, Sorts(TqlrCrossSortOrder::soGrouping, TqlrCrossSortOrder::soNone), 1);
    for (auto [a, b] : std::vector<std::pair<const char*, const char*>>{
             {"x", "1"}, {"y", "1"}, {"x", "2"}, {"z", "1"}, {"y", "2"}, {"x", "3"}})
        rows.Row({Variant(a), Variant(b)});
    EXPECT_EQ(Keys(rows), "x/1 x/2 x/3 y/1 y/2 z/1");
}

TEST(CrossKeys, BisectionInsertsMatchASortedReference)
{
    for (TqlrCrossSortOrder order : {TqlrCrossSortOrder::soAscending, TqlrCrossSortOrder::soDescending}) {
        TqlrCrossRows rows(1, Sorts(order), 1);
        std::mt19937 gen(7);
        std::vector<int> ref;
        for (int i = 0; i < 1000; ++i) {
            const int k = static_cast<int>(gen() % 700);
            rows.Row({Variant(k)});
            if (std::find(ref.begin(), ref.end(), k) == ref.end()) ref.push_back(k);
        }
        std::sort(ref.begin(), ref.end());
        if (order == TqlrCrossSortOrder::soDescending) std::reverse(ref.begin(), ref.end());
        ASSERT_EQ(rows.Count(), static_cast<int>(ref.size()));
        for (int i = 0; i < rows.Count(); ++i) ASSERT_EQ(rows.Items(i)->FIndexes[0].AsInteger(), ref[static_cast<std::size_t>(i)]);
        int at = -1;
        EXPECT_TRUE(rows.Find({Variant(ref[5])}, at));
        EXPECT_EQ(at, 5);
    }
}

// ---------------------------------------------------------------- AddValue

TEST(CrossAdd, CellAccumulationPerFunctionAndDuplicates)
{
    ViewRig r;
    TqlrCrossView& v = r.view;
    v.SetCellLevels(3);
    v.SetCellFunctions(0, TqlrCrossFunction::cfCount);
    v.SetCellFunctions(1, TqlrCrossFunction::cfSum);
    v.SetCellFunctions(2, TqlrCrossFunction::cfNone);
    v.AllowDuplicates = false;
    v.BeginMatrix();
    v.AddValue({Variant(1)}, {Variant("c")}, {Variant::Null(), Variant(2), Variant("ab")});
    EXPECT_EQ(v.GetValue(0, 0, 0).AsInteger(), 0);
    v.AddValue({Variant(1)}, {Variant("c")}, {Variant("x"), Variant(3), Variant("ab")});      // whole line again: dropped
    v.AddValue({Variant(1)}, {Variant("c")}, {Variant("y"), Variant::Null(), Variant("a")});  // part of a line: kept
    v.AddValue({Variant(1)}, {Variant("c")}, {Variant::Null(), Variant(1), Variant("b\r\na")});  // joins two lines
    EXPECT_EQ(v.GetValue(0, 0, 0).AsInteger(), 2);
    EXPECT_EQ(v.GetValue(0, 0, 1).AsInteger(), 6);  // a Null value adds nothing, never wipes the sum
    EXPECT_EQ(rtl::VarToStr(v.GetValue(0, 0, 2)), "ab\r\na\r\nb\r\na");

    v.AllowDuplicates = true;
    v.AddValue({Variant(1)}, {Variant("c")}, {Variant(1), Variant(1), Variant("a")});
    EXPECT_EQ(rtl::VarToStr(v.GetValue(0, 0, 2)), "ab\r\na\r\nb\r\na\r\na");
}

TEST(CrossAdd, NullRecordsInvalidViewAndMissingValues)
{
    ViewRig r;
    TqlrCrossView& v = r.view;
    v.AddValue({Variant(1)}, {Variant(1)}, {Variant(1)});  // before BeginMatrix: ignored
    EXPECT_EQ(v.RowCount(), 0);
    v.BeginMatrix();
    v.AddValue({Variant::Null()}, {Variant::Null()}, {Variant::Null()});
    EXPECT_EQ(v.RowCount(), 0);
    v.SuppressNullRecords = false;
    v.AddValue({Variant::Null()}, {Variant::Null()}, {Variant::Null()});
    EXPECT_EQ(v.RowCount(), 1);
    v.SetRowLevels(2);
    v.BeginMatrix();
    v.AddValue({Variant(1)}, {}, {});  // fewer values than levels: Nulls, nothing read past the arrays
    ASSERT_EQ(v.RowCount(), 1);
    EXPECT_TRUE(v.Rows()->Items(0)->FIndexes[1].IsNull());
    EXPECT_TRUE(v.GetValue(0, 0, 0).IsNull());

    v.SetCellLevels(0);
    try {
        v.AddValue({Variant(1)}, {Variant(1)}, {Variant(1)});
        FAIL() << "no error";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Cross-tab is not valid");
    }
}

// ------------------------------------------------------------------ totals

TEST(CrossTotals, SubtotalRowCaptionAndGrandTotals)
{
    ViewRig r;
    TqlrCrossView& v = r.view;
    v.SetRowLevels(2);
    v.RowTotalMemos(1)->SetText("Sum [value]");
    v.BeginMatrix();
    for (auto [a, b, x] : std::vector<std::tuple<const char*, int, int>>{{"A", 1, 5}, {"A", 2, 7}, {"B", 1, 4}})
        v.AddValue({Variant(a), Variant(b)}, {Variant("c")}, {Variant(x)});
    v.EndMatrix();
    // A/1 A/2 SumA B/1 SumB Grand; one data column and the grand total.
    ASSERT_EQ(v.RowCount(), 6);
    ASSERT_EQ(v.ColCount(), 2);
    EXPECT_TRUE(v.IsTotalRow(2));
    EXPECT_FALSE(v.IsTotalRow(1));
    EXPECT_EQ(Column(v, 0), "5 7 12 4 4 16");
    EXPECT_EQ(Column(v, 1), "5 7 12 4 4 16");
    std::string captions;
    for (TqlrCrossHeader* n : v.RowHeader()->TerminalItems()) captions += rtl::VarToStr(n->FValue) + "|";
    EXPECT_EQ(captions, "1|2|Sum A|1|Sum B|Grand Total|");
    EXPECT_TRUE(v.IsGrandTotalRow(v.RowCount() - 1));

    ViewRig hidden;
    hidden.view.ShowRowTotal = hidden.view.ShowColumnTotal = false;
    hidden.view.BeginMatrix();
    hidden.view.AddValue({Variant(1)}, {Variant(1)}, {Variant(1)});
    hidden.view.EndMatrix();
    EXPECT_EQ(hidden.view.RowCount(), 1);
    EXPECT_TRUE(hidden.view.IsGrandTotalRow(hidden.view.RowCount() - 1));
}

TEST(CrossTotals, ComputedPerFunctionWithCorners)
{
    struct Case {
        TqlrCrossFunction f;
        std::string col0, grandCol;
    } cases[] = {
        // rows 1, 2 (column "a": 2, 6; column "b": 4, Null) then the grand row.
        {TqlrCrossFunction::cfSum, "2 6 8", "6 6 12"},
        {TqlrCrossFunction::cfMin, "2 6 2", "2 6 2"},
        {TqlrCrossFunction::cfMax, "2 6 6", "4 6 6"},
        {TqlrCrossFunction::cfAvg, "2 6 4", "3 6 4"},
        {TqlrCrossFunction::cfCount, "1 1 2", "2 1 3"},
    };
    for (const Case& c : cases) {
        ViewRig r;
        TqlrCrossView& v = r.view;
        v.SetCellFunctions(0, c.f);
        v.BeginMatrix();
        v.AddValue({Variant(1)}, {Variant("a")}, {Variant(2)});
        v.AddValue({Variant(1)}, {Variant("b")}, {Variant(4)});
        v.AddValue({Variant(2)}, {Variant("a")}, {Variant(6)});
        v.EndMatrix();
        ASSERT_EQ(v.ColCount(), 3);
        EXPECT_EQ(Column(v, 0), c.col0) << static_cast<int>(c.f);
        EXPECT_EQ(Column(v, 2), c.grandCol) << static_cast<int>(c.f);
    }
    // An empty group under cfMin stays Null.
    ViewRig r;
    r.view.SetCellFunctions(0, TqlrCrossFunction::cfMin);
    r.view.BeginMatrix();
    r.view.AddValue({Variant(1)}, {Variant("a")}, {Variant(2)});
    r.view.AddValue({Variant(2)}, {Variant("b")}, {Variant(3)});
    r.view.EndMatrix();
    EXPECT_TRUE(r.view.GetValue(1, 0, 0).IsNull());
    EXPECT_EQ(r.view.GetValue(2, 0, 0).AsInteger(), 2);
}

// ------------------------------------------------------------------ layout

TEST(CrossLayout, TitleWidensLastLeafAndClampsApply)
{
    ViewRig r;
    TqlrCrossView& v = r.view;
    v.ShowColumnTotal = v.ShowRowTotal = false;
    v.CornerMemos(1)->SetText("A very long title text");  // 22 characters: 220 units, capped at 200
    v.BeginMatrix();
    v.AddValue({Variant(1)}, {Variant("a")}, {Variant(1)});
    v.AddValue({Variant(1)}, {Variant("b")}, {Variant(12)});
    v.EndMatrix();
    std::vector<TqlrCrossHeader*> leaves = v.ColumnHeader()->TerminalItems();
    ASSERT_EQ(leaves.size(), 2u);
    EXPECT_EQ(leaves[0]->FBounds.Width, 10);
    EXPECT_EQ(leaves[1]->FBounds.Width, 190);  // widened by the title's surplus
    EXPECT_EQ(leaves[1]->FBounds.Left, 10);
    EXPECT_EQ(v.ColumnHeaderHeight(), 40);  // title row + one level
    EXPECT_EQ(v.RowHeaderWidth(), 10);

    ViewRig w;
    w.view.MinWidth = 30;
    w.view.MaxWidth = 50;
    w.view.ShowTitle = false;
    w.view.OnBeforeCalcWidth = [](int column, const Variant&, long double& width) {
        if (column == 1) width = 0;
    };
    w.view.BeginMatrix();
    w.view.AddValue({Variant(1)}, {Variant("a")}, {Variant("a long cell text")});
    w.view.AddValue({Variant(1)}, {Variant("b")}, {Variant("x")});
    w.view.EndMatrix();
    leaves = w.view.ColumnHeader()->TerminalItems();
    EXPECT_EQ(leaves[0]->FBounds.Width, 50);
    EXPECT_EQ(leaves[1]->FBounds.Width, 0);
    EXPECT_EQ(w.view.ColumnHeaderHeight(), 20);

    ViewRig norows;
    norows.view.SetRowLevels(0);
    norows.view.BeginMatrix();
    norows.view.AddValue({}, {Variant("a")}, {Variant(1)});
    norows.view.EndMatrix();
    EXPECT_EQ(norows.view.RowHeaderWidth(), 0);
    EXPECT_EQ(norows.view.RowCount(), 1);
}

TEST(CrossLayout, StackedAndSideBySideCellHeaders)
{
    for (bool plain : {false, true}) {
        ViewRig r;
        TqlrCrossView& v = r.view;
        v.SetCellLevels(2);
        v.PlainCells = plain;
        v.ShowColumnTotal = v.ShowRowTotal = false;
        v.BeginMatrix();
        v.AddValue({Variant(1)}, {Variant("a")}, {Variant(1), Variant(2)});
        v.EndMatrix();
        const auto cols = v.ColumnHeader()->TerminalItems();
        const auto rows = v.RowHeader()->TerminalItems();
        EXPECT_EQ(cols.size(), plain ? 2u : 1u);
        EXPECT_EQ(rows.size(), plain ? 1u : 2u);
        EXPECT_EQ(v.Corner()->FItems.size(), plain ? 1u : 2u);
        if (!plain) {
            // The cell-header caption is as wide as the cell-header column.
            EXPECT_EQ(v.Corner()->FItems[1]->FBounds.Width, rows[0]->FBounds.Width);
            EXPECT_EQ(rows[1]->FBounds.Top, rows[0]->FBounds.Top + rows[0]->FBounds.Height);
        } else {
            EXPECT_EQ(cols[1]->FBounds.Left, cols[0]->FBounds.Left + cols[0]->FBounds.Width);
        }
    }
}

// -------------------------------------------------------------------- view

TEST(CrossView, TemplatesLevelsAndNames)
{
    TqlrCrossView v(nullptr);
    EXPECT_EQ(v.CornerMemoCount(), 4);
    EXPECT_EQ(v.CellMemoCount(), 4);
    EXPECT_EQ(v.CellHeaderMemoCount(), 2);
    EXPECT_EQ(v.ColumnTotalMemos(0)->Text(), "Grand Total");
    EXPECT_EQ(v.CellFunctions(0), TqlrCrossFunction::cfSum);
    v.SetRowLevels(3);
    TqlrCustomMemoView* third = v.RowMemos(2);
    v.SetRowLevels(1);
    EXPECT_EQ(v.RowMemos(2), third);
    EXPECT_EQ(v.RowFields()->Count(), 1);
    v.SetCellLevels(2);
    EXPECT_EQ(v.CellFields()->Text(), "Cell1\nCell2\n");
    // Level counts above the fixed arrays are refused; the old value stays.
    v.SetCellLevels(40);
    v.SetRowLevels(33);
    EXPECT_EQ(v.CellLevels(), 2);
    EXPECT_EQ(v.RowLevels(), 1);
    v.SetCellLevels(32);
    EXPECT_EQ(v.CellLevels(), 32);
    // Out-of-range function and sort indexes: no write, cfNone read.
    v.SetCellFunctions(32, TqlrCrossFunction::cfCount);
    v.SetCellFunctions(-1, TqlrCrossFunction::cfCount);
    EXPECT_EQ(v.CellFunctions(32), TqlrCrossFunction::cfNone);
    EXPECT_EQ(v.CellFunctions(-1), TqlrCrossFunction::cfNone);
    v.SetCellFunctions(0, TqlrCrossFunction::cfCount);
    EXPECT_EQ(static_cast<int>(v.CellFunctions(0)), 5);
}

TEST(CrossView, ApplyStyleLeavesMissingItemsAlone)
{
    TqlrCrossView v(nullptr);
    TqlrStyles styles;
    TqlrStyleItem* cell = styles.Add();
    cell->SetName("cell");
    cell->SetColor(gui::clYellow);
    const gui::TColor corner = v.CornerMemos(0)->Color();
    v.ApplyStyle(&styles);
    EXPECT_EQ(v.CellMemos(0)->Color(), gui::clYellow);
    EXPECT_EQ(v.CornerMemos(0)->Color(), corner);
    TqlrStyles out;
    v.GetStyle(&out);
    ASSERT_NE(out.Find("cell"), nullptr);
    EXPECT_EQ(out.Find("cell")->Color(), gui::clYellow);
    EXPECT_NE(out.Find("rowgrand"), nullptr);
}

// ----------------------------------------------------------- program's road

namespace {

// Fills a view as the program does with its location table: one record a
// table cell, row key the row number, column key the header text.
void FillLikeTheProgram(TqlrCustomCrossView& v, int rows, int columns)
{
    for (int i = 0; i < columns; ++i)
        for (int c = 1; c <= rows; ++c)
            v.AddValue({Variant(c)}, {Variant("Col " + std::to_string(9 - i))},
                       {Variant(" " + std::to_string(c * 10 + i) + " ")});
}

void ProgramSettings(TqlrCustomCrossView& v)
{
    v.SetColumnSort(0, TqlrCrossSortOrder::soNone);
    v.SetCellFunctions(0, TqlrCrossFunction::cfNone);
    v.ShowRowHeader = v.ShowTitle = v.ShowRowTotal = v.ShowColumnTotal = false;
    v.JoinEqualCells = true;
}

} // namespace

TEST(CrossRoad, LocationTableRecordsKeepOrderAndValues)
{
    ViewRig r;
    ProgramSettings(r.view);
    r.view.BeginMatrix();
    FillLikeTheProgram(r.view, 500, 9);
    r.view.EndMatrix();
    ASSERT_EQ(r.view.RowCount(), 500);
    ASSERT_EQ(r.view.ColCount(), 9);
    for (int row = 0; row < 500; ++row) ASSERT_EQ(r.view.GetRowIndexes(row)[0].AsInteger(), row + 1);
    for (int col = 0; col < 9; ++col)
        EXPECT_EQ(rtl::VarToStr(r.view.GetColumnIndexes(col)[0]), "Col " + std::to_string(9 - col));
    EXPECT_EQ(rtl::VarToStr(r.view.GetValue(122, 4, 0)), " 1234 ");
    EXPECT_EQ(r.view.RowHeaderWidth(), 0);
}

// ------------------------------------------------------------------ output

namespace {

using enginetest::Rig;

// A cross-tab on a one-row master band of the engine rig (a 377.95-unit
// square page), filled from the report's before-print event.
struct OutputRig : Rig {
    TqlrCrossView* cross;
    std::function<void(TqlrCrossView&)> fill;
    explicit OutputRig(long double bandHeight = 20)
    {
        auto* band = Band<TqlrMasterData>("MasterData1", 0, bandHeight);
        band->SetRowCount(1);
        cross = new TqlrCrossView(band);
        cross->SetName("Cross1");
        cross->SetBounds(0, 0, 100, bandHeight);
        cross->OnMeasureMemo = FakeMeasure;
        report.OnBeforePrint = [this](TqlrReportComponent* c) {
            if (c == cross && fill) fill(*cross);
        };
    }
    // Texts of the cell objects of the recorded bands, a row per band.
    std::vector<std::string> RowsOn(int page)
    {
        std::vector<std::string> out;
        for (const auto& rec : pages->Pages[static_cast<std::size_t>(page)].Objects)
            if (rec.Name.empty() && rec.Children.find("Cross1Cell") != std::string::npos) out.push_back(rec.Children);
        return out;
    }
};

int Count(const std::string& s, const std::string& what)
{
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

} // namespace

TEST(CrossOutput, NarrowCrossTabOnePiecePerPageHeight)
{
    OutputRig r;
    r.cross->ShowTitle = r.cross->ShowColumnTotal = r.cross->ShowRowTotal = false;
    r.fill = [](TqlrCrossView& v) {
        for (int i = 1; i <= 40; ++i) v.AddValue({Variant(i)}, {Variant("c")}, {Variant(i)});
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    // 377.95 units a page, 20 a row and 20 the repeated header: 17 + 17 + 6 rows.
    ASSERT_EQ(r.pages->GetCount(), 3);
    EXPECT_EQ(r.RowsOn(0).size(), 17u);
    EXPECT_EQ(r.RowsOn(1).size(), 17u);
    EXPECT_EQ(r.RowsOn(2).size(), 6u);
    EXPECT_NE(r.RowsOn(1)[0].find(">18<"), std::string::npos);
    // The column header repeats on every page.
    for (int p = 0; p < 3; ++p) EXPECT_NE(r.pages->Pages[static_cast<std::size_t>(p)].Objects.front().Children.find(">c<"), std::string::npos);
}

TEST(CrossOutput, WideCrossTabSplitsIntoColumnPiecesAcrossThenDown)
{
    for (bool down : {false, true}) {
        OutputRig r;
        r.cross->ShowTitle = r.cross->ShowColumnTotal = r.cross->ShowRowTotal = false;
        r.cross->DownThenAcross = down;
        r.cross->SetColumnSort(0, TqlrCrossSortOrder::soNone);
        r.fill = [](TqlrCrossView& v) {
            // Columns of 100 units after a 20-unit row header: three fit a page.
            for (int row = 1; row <= 20; ++row)
                for (int col = 0; col < 5; ++col)
                    v.AddValue({Variant(row)}, {Variant(std::string(10, static_cast<char>('a' + col)))}, {Variant(row * 10 + col)});
        };
        ASSERT_TRUE(r.Run()) << r.Errors();
        // Two column pieces by two row pieces: four pages.
        ASSERT_EQ(r.pages->GetCount(), 4) << down;
        // The first piece of the first rows sits on page 0; the second
        // column piece of those rows on page 1 (across) or 2 (down).
        const int second = down ? 2 : 1;
        const std::string p0 = r.RowsOn(0)[0], p1 = r.RowsOn(second)[0];
        EXPECT_EQ(Count(p0, "<Cross1Cell"), 3);
        EXPECT_NE(p0.find(">10<"), std::string::npos);
        EXPECT_EQ(Count(p1, "<Cross1Cell"), 2);
        EXPECT_NE(p1.find(">13<"), std::string::npos) << down;
    }
}

TEST(CrossOutput, JoinedCellsHiddenZerosAndOuterLines)
{
    OutputRig r;
    ProgramSettings(*r.cross);
    r.cross->ShowColumnHeader = false;
    r.cross->CellMemos(0)->SetHideZeros(true);
    r.cross->CellMemos(0)->Frame()->SetTyp(TqlrFrameTypes());
    r.fill = [](TqlrCrossView& v) {
        const Variant row1[] = {Variant("x"), Variant("x"), Variant("x"), Variant("y")};
        const Variant row2[] = {Variant(0), Variant::Null(), Variant("0"), Variant("z")};
        for (int c = 0; c < 4; ++c) {
            v.AddValue({Variant(1)}, {Variant("c" + std::to_string(c))}, {row1[c]});
            v.AddValue({Variant(2)}, {Variant("c" + std::to_string(c))}, {row2[c]});
        }
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    const std::vector<std::string> rows = r.RowsOn(0);
    ASSERT_EQ(rows.size(), 2u);
    // "x" three times becomes one object; "y" stays alone.
    EXPECT_EQ(Count(rows[0], "<Cross1Cell"), 2);
    EXPECT_EQ(Count(rows[0], ">x<"), 1);
    // Numeric 0 and Null print empty under hidden zeros (and, both read as
    // 0, join); the text "0" prints and does not join them.
    EXPECT_EQ(Count(rows[1], "<Cross1Cell"), 3);
    EXPECT_EQ(Count(rows[1], "></Cross1Cell"), 1);
    EXPECT_EQ(Count(rows[1], ">0<"), 1);
}

TEST(CrossOutput, CellObjectsJoinedWideAndCentredWithOuterFrame)
{
    // The objects themselves, read back from the real prepared pages.
    enginetest::Rig base;
    auto store = std::make_unique<TqlrPreviewPages>(&base.report);
    TqlrPreviewPages* pages = store.get();
    base.report.SetPreviewPages(std::move(store));
    auto* band = base.Band<TqlrMasterData>("MasterData1", 0, 20);
    band->SetRowCount(1);
    auto* cross = new TqlrCrossView(band);
    cross->SetName("Cross1");
    cross->SetBounds(0, 0, 100, 20);
    cross->OnMeasureMemo = FakeMeasure;
    ProgramSettings(*cross);
    cross->CellMemos(0)->Frame()->SetTyp(TqlrFrameTypes());
    base.report.OnBeforePrint = [&](TqlrReportComponent* c) {
        if (c != cross) return;
        for (int col = 0; col < 4; ++col)
            cross->AddValue({Variant(1)}, {Variant("c" + std::to_string(col))}, {Variant(col < 3 ? "x" : "y")});
    };
    int printed = 0;
    cross->OnBeforePrintCell = [&](TqlrCustomMemoView*, int, int, int, const Variant&, const Variant&, const Variant&) { ++printed; };
    ASSERT_TRUE(base.Run()) << base.Errors();
    EXPECT_EQ(printed, 4);
    TqlrReportPage* page = pages->GetPage(0);
    ASSERT_NE(page, nullptr);
    std::vector<TqlrCustomMemoView*> cells;
    for (TqlrComponent* c : page->AllObjects())
        if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c); m && (m->Text() == "x" || m->Text() == "y")) cells.push_back(m);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0]->Width(), 60);  // three columns as wide as their captions "c0".."c2"
    EXPECT_EQ(cells[0]->HAlign(), TqlrHAlign::haCenter);
    EXPECT_TRUE(cells[0]->Frame()->Typ().Contains(TqlrFrameType::ftLeft));
    EXPECT_TRUE(cells[0]->Frame()->Typ().Contains(TqlrFrameType::ftTop));
    EXPECT_FALSE(cells[0]->Frame()->Typ().Contains(TqlrFrameType::ftRight));
    EXPECT_TRUE(cells[1]->Frame()->Typ().Contains(TqlrFrameType::ftRight));
}

namespace {

void DrawPage(TqlrPreviewPages* store, int index, gui::TBitmap& bmp)
{
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, bmp.Width(), bmp.Height()));
    store->DrawPage(index, bmp.Canvas(), 1, 1, 0, 0);
}

} // namespace

TEST(CrossRoad, LocationTableThroughTheRealEngineOnA4)
{
    enginetest::Rig r;
    auto store = std::make_unique<TqlrPreviewPages>(&r.report);
    TqlrPreviewPages* pages = store.get();
    r.report.SetPreviewPages(std::move(store));
    r.page->SetPaperSize(9);
    r.page->SetLeftMargin(15);
    for (auto set : {&TqlrReportPage::SetRightMargin, &TqlrReportPage::SetTopMargin, &TqlrReportPage::SetBottomMargin})
        (r.page->*set)(10);
    r.Memo(r.Band<TqlrReportTitle>("ReportTitle1", 0, 40), "Title", "Eclipses seen from London", 0, 20, 0, 400);
    auto* band = r.Band<TqlrMasterData>("MasterData1", 60, 30);
    band->SetRowCount(1);
    auto* cross = new TqlrCrossView(band);
    cross->SetName("Cross2");
    cross->SetBounds(0, 0, 200, 30);
    ProgramSettings(*cross);
    for (int i = 0; i < cross->CellMemoCount(); ++i) {
        TqlrCustomMemoView* m = cross->CellMemos(i);
        m->Font()->SetSize(7);
        m->Frame()->SetColor(static_cast<gui::TColor>(8421504));
    }
    cross->ColumnMemos(0)->SetColor(static_cast<gui::TColor>(12632256));
    cross->ColumnMemos(0)->Font()->SetSize(7);
    cross->ColumnMemos(0)->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
    cross->ColumnMemos(0)->SetHAlign(TqlrHAlign::haRight);
    r.Memo(r.Band<TqlrPageFooter>("PageFooter1", 300, 20), "PageNo", "[Page#]", 0, 20, 300, 100);
    const char* headers[] = {"Date", "Type", "Start", "Max", "End", "Magnitude", "Obscuration", "Altitude", "Azimuth"};
    r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
        if (!dynamic_cast<TqlrCrossView*>(c)) return;
        for (int i = 0; i < 9; ++i)
            for (int row = 1; row <= 120; ++row) {
                std::string text = i == 0 ? std::to_string(1999 + row) + "-08-11" : std::to_string(row * 7 % 90 + i);
                if (i == 1) text = row % 5 == 0 ? "no eclipse visible" : (row % 2 ? "partial" : "total");
                if (text.find("no eclipse visible") != std::string::npos) text = "---";
                cross->AddValue({Variant(row)}, {Variant(headers[i])}, {Variant(" " + text + " ")});
            }
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(pages->GetCount(), 3);
    // Rows in numeric order with the header on every page.
    int headerPages = 0;
    std::vector<std::string> dates;
    for (int p = 0; p < pages->GetCount(); ++p) {
        TqlrReportPage* page = pages->GetPage(p);
        bool header = false;
        for (TqlrComponent* c : page->AllObjects())
            if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c)) {
                if (m->Text() == "Obscuration") header = true;
                if (m->Text().find("-08-11") != std::string::npos) dates.push_back(m->Text());
            }
        headerPages += header;
    }
    EXPECT_EQ(headerPages, pages->GetCount());
    ASSERT_EQ(dates.size(), 120u);
    for (int i = 0; i < 120; ++i) EXPECT_EQ(dates[static_cast<std::size_t>(i)], " " + std::to_string(2000 + i) + "-08-11 ");

    const char* dir = std::getenv("CROSS_TEST_PICTURES");
    for (int p = 0; p < pages->GetCount(); ++p) {
        gui::TBitmap bmp(794, 1123);
        DrawPage(pages, p, bmp);
        bool ink = false;
        for (int y = 40; y < 140 && !ink; ++y)
            for (int x = 60; x < 700 && !ink; x += 2) ink = bmp.Canvas()->Pixels(x, y) != gui::clWhite;
        EXPECT_TRUE(ink) << "page " << p;
        if (dir) {
            gui::TPngImage png;
            png.Assign(&bmp);
            rtl::TFileStream f(std::string(dir) + "/cross_location_" + std::to_string(p + 1) + ".png", rtl::fmCreate);
            png.SaveToStream(f);
        }
    }
}

TEST(CrossBench, TwoThousandRowsByTwelveColumns)
{
    // Reports its times; never fails on speed.
    ViewRig r;
    ProgramSettings(r.view);
    r.view.OnMeasureMemo = nullptr;
    const auto t0 = std::chrono::steady_clock::now();
    r.view.BeginMatrix();
    for (int c = 0; c < 12; ++c)
        for (int row = 1; row <= 2000; ++row)
            r.view.AddValue({Variant(row)}, {Variant("Column " + std::to_string(c))}, {Variant(std::to_string(row * c))});
    r.view.EndMatrix();
    const double fill = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(r.view.RowCount(), 2000);

    OutputRig o(20);
    ProgramSettings(*o.cross);
    o.cross->OnMeasureMemo = nullptr;
    o.fill = [](TqlrCrossView& v) {
        for (int c = 0; c < 12; ++c)
            for (int row = 1; row <= 2000; ++row)
                v.AddValue({Variant(row)}, {Variant("C" + std::to_string(c))}, {Variant(std::to_string(row + c))});
    };
    const auto t1 = std::chrono::steady_clock::now();
    ASSERT_TRUE(o.Run()) << o.Errors();
    const double render = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
    std::printf("cross-tab 2000 x 12: filled and laid out in %.3f s (target 0.5 s); printed in %.3f s over %d pages "
                "(target 2 s)\n",
                fill, render, o.pages->GetCount());
}

// ------------------------------------------------------------------ script

TEST(CrossScript, FunctionsMatrixCallsAndIgnoredIndexes)
{
    OutputRig r;
    r.report.PrepareScript();
    qs::TqsScript* s = r.report.Script();
    s->Lines().Clear();
    for (const char* line : {"begin", "  Cross1.CellFunctions[0] := cfCount;", "  Cross1.CellFunctions[40] := cfMax;",
                             "  Cross1.ClearBeforePrint := False;", "  Cross1.BeginMatrix;",
                             "  Cross1.AddValue([1], ['a'], [5]);", "  Cross1.AddValue([2], ['a'], [7]);",
                             "  Cross1.AddValue([2], ['b'], [Null]);", "end."})
        s->Lines().Add(line);
    ASSERT_TRUE(s->Compile()) << s->ErrorMsg();
    s->Execute();
    EXPECT_EQ(r.report.Calc("Cross1.CellFunctions[0]").AsInteger(), 5);
    EXPECT_EQ(r.report.Calc("Cross1.CellFunctions[40]").AsInteger(), 0);  // out of range: cfNone
    EXPECT_EQ(r.cross->CellFunctions(1), TqlrCrossFunction::cfSum);
    EXPECT_FALSE(r.cross->ClearBeforePrint);
    EXPECT_EQ(r.report.Calc("Cross1.RowCount").AsInteger(), 2);
    EXPECT_EQ(r.report.Calc("Cross1.ColCount").AsInteger(), 2);
    EXPECT_EQ(r.cross->GetValue(1, 0, 0).AsInteger(), 1);
    EXPECT_EQ(r.cross->GetValue(1, 1, 0).AsInteger(), 0);

    // After the cross-tab printed (its band's after-print event), the last
    // row is the grand total.
    int rows = 0;
    bool grand = false, total = false;
    r.report.OnAfterPrint = [&](TqlrReportComponent* c) {
        if (c->Name() != "MasterData1") return;
        rows = r.report.Calc("Cross1.RowCount").AsInteger();
        grand = r.report.Calc("Cross1.IsGrandTotalRow(Cross1.RowCount - 1)").AsBoolean();
        total = r.report.Calc("Cross1.IsTotalRow(2)").AsBoolean();
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(grand);
    EXPECT_TRUE(total);
}

// ------------------------------------------------------------- persistence

TEST(CrossView, MemosRoundTripKeepsFunctionsSortsAndLooks)
{
    enginetest::Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    auto* cross = new TqlrCrossView(band);
    cross->SetName("Cross1");
    cross->SetCellLevels(2);
    cross->SetRowLevels(2);
    cross->SetCellFunctions(1, TqlrCrossFunction::cfAvg);
    cross->SetRowSort(1, TqlrCrossSortOrder::soDescending);
    cross->SetColumnSort(0, TqlrCrossSortOrder::soNone);
    cross->CellMemos(3)->SetColor(gui::clYellow);
    cross->CellMemos(3)->SetHAlign(TqlrHAlign::haCenter);
    cross->RowTotalMemos(1)->SetText("Sum [VALUE]");
    cross->CornerMemos(4)->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsItalic});
    cross->CornerMemos(4)->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
    cross->JoinEqualCells = true;
    rtl::TMemoryStream ms;
    r.report.SaveToStream(ms);
    ms.SetPosition(0);
    TqlrReport copy(nullptr);
    copy.LoadFromStream(ms);
    auto* back = dynamic_cast<TqlrCrossView*>(copy.FindObject("Cross1"));
    ASSERT_NE(back, nullptr) << copy.Errors()->Text();
    EXPECT_EQ(back->CellLevels(), 2);
    EXPECT_EQ(back->RowLevels(), 2);
    EXPECT_TRUE(back->JoinEqualCells);
    EXPECT_EQ(back->CellFunctions(0), TqlrCrossFunction::cfSum);
    EXPECT_EQ(back->CellFunctions(1), TqlrCrossFunction::cfAvg);
    EXPECT_EQ(back->RowSort(1), TqlrCrossSortOrder::soDescending);
    EXPECT_EQ(back->ColumnSort(0), TqlrCrossSortOrder::soNone);
    EXPECT_EQ(back->CellMemos(3)->Color(), gui::clYellow);
    EXPECT_EQ(back->CellMemos(3)->HAlign(), TqlrHAlign::haCenter);
    EXPECT_EQ(back->CellMemos(0)->HAlign(), TqlrHAlign::haRight);
    EXPECT_EQ(back->RowTotalMemos(1)->Text(), "Sum [VALUE]");
    EXPECT_TRUE(back->CornerMemos(4)->Font()->Style().Contains(gui::TFontStyle::fsItalic));
    EXPECT_EQ(back->CornerMemos(4)->Frame()->Typ(), TqlrFrameTypes{TqlrFrameType::ftTop});
    EXPECT_EQ(back->ColumnTotalMemos(0)->Text(), "Grand Total");
}

// ------------------------------------------------------ pieces on real pages

namespace {

// The output rig on the real store of prepared pages, so that the objects
// can be read back with their bounds and frames.
struct StoreOutputRig : OutputRig {
    TqlrPreviewPages* store;
    StoreOutputRig()
    {
        auto s = std::make_unique<TqlrPreviewPages>(&report);
        store = s.get();
        report.SetPreviewPages(std::move(s));
        pages = nullptr;
    }
    std::vector<TqlrCustomMemoView*> MemosWithText(int page, const std::string& text)
    {
        std::vector<TqlrCustomMemoView*> out;
        for (TqlrComponent* c : store->GetPage(page)->AllObjects())
            if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c); m && m->Text() == text) out.push_back(m);
        return out;
    }
};

// Five columns of 100 units ("aaaaaaaaaa" ...), rows keyed 1..rows.
void FiveWideColumns(TqlrCrossView& v, int rows)
{
    for (int row = 1; row <= rows; ++row)
        for (int col = 0; col < 5; ++col)
            v.AddValue({Variant(row)}, {Variant(std::string(10, static_cast<char>('a' + col)))}, {Variant(row)});
}

} // namespace

TEST(CrossOutput, TitleAcrossACutIsSplitWithoutInnerLines)
{
    StoreOutputRig r;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = false;
    r.cross->CornerMemos(1)->SetText("T");
    r.fill = [](TqlrCrossView& v) { FiveWideColumns(v, 2); };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 2);
    // Row header 10 wide: three columns fit the first page, the cut lies at 300.
    auto first = r.MemosWithText(0, "T"), second = r.MemosWithText(1, "T");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0]->Width(), 300);
    EXPECT_FALSE(first[0]->Frame()->Typ().Contains(TqlrFrameType::ftRight));
    EXPECT_TRUE(first[0]->Frame()->Typ().Contains(TqlrFrameType::ftLeft));
    EXPECT_EQ(second[0]->Width(), 200);
    EXPECT_FALSE(second[0]->Frame()->Typ().Contains(TqlrFrameType::ftLeft));
    EXPECT_TRUE(second[0]->Frame()->Typ().Contains(TqlrFrameType::ftRight));
    // The repeated row header sits left of the second piece too.
    EXPECT_EQ(r.MemosWithText(1, "2").size(), 3u);  // the caption of row 2 and its two cells
}

TEST(CrossOutput, HeadersOnlyWithTheFirstPiecesWithoutRepeat)
{
    StoreOutputRig r;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = r.cross->ShowTitle = false;
    r.cross->RepeatHeaders = false;
    r.fill = [](TqlrCrossView& v) { FiveWideColumns(v, 20); };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 4);
    // Across then down: (rows 1, columns 1) (rows 1, columns 2) (rows 2, columns 1) (rows 2, columns 2).
    const std::string firstColumn(10, 'a'), lastColumn(10, 'e');
    EXPECT_EQ(r.MemosWithText(0, firstColumn).size(), 1u);
    EXPECT_EQ(r.MemosWithText(1, lastColumn).size(), 1u);
    EXPECT_EQ(r.MemosWithText(2, firstColumn).size(), 0u);
    EXPECT_EQ(r.MemosWithText(3, lastColumn).size(), 0u);
    // Row 20 sits on the second row piece: its caption only beside the first column piece.
    EXPECT_EQ(r.MemosWithText(2, "20").size(), 4u);  // caption + three cells
    EXPECT_EQ(r.MemosWithText(3, "20").size(), 2u);  // two cells, no caption
}

TEST(CrossOutput, EndlessWidthGivesOnePieceAndAWiderPage)
{
    StoreOutputRig r;
    r.page->EndlessWidth = true;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = false;
    r.fill = [](TqlrCrossView& v) { FiveWideColumns(v, 2); };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 1);
    EXPECT_EQ(r.MemosWithText(0, std::string(10, 'e')).size(), 1u);
    EXPECT_GE(r.store->GetPageSize(0).X, 510);
}

TEST(CrossOutput, NextCrossStartsBesideAtTheSameHeight)
{
    StoreOutputRig r;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = r.cross->ShowTitle = false;
    r.cross->ShowRowHeader = false;
    auto* next = new TqlrCrossView(r.cross->Parent());
    next->SetName("Cross2");
    next->SetBounds(0, 0, 100, 20);
    next->OnMeasureMemo = FakeMeasure;
    next->ShowColumnTotal = next->ShowRowTotal = next->ShowTitle = next->ShowRowHeader = false;
    r.cross->SetNextCross(next);
    r.cross->NextCrossGap = 10;
    r.fill = [](TqlrCrossView& v) {
        v.AddValue({Variant(1)}, {Variant("aaa")}, {Variant("x1")});
        v.AddValue({Variant(1)}, {Variant("bbb")}, {Variant("x2")});
    };
    r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
        if (c == r.cross) r.fill(*r.cross);
        if (c == next) next->AddValue({Variant(1)}, {Variant("ccc")}, {Variant("y1")});
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 1);
    auto x2 = r.MemosWithText(0, "x2"), y1 = r.MemosWithText(0, "y1");
    ASSERT_EQ(x2.size(), 1u);
    ASSERT_EQ(y1.size(), 1u);
    EXPECT_EQ(y1[0]->AbsLeft(), x2[0]->AbsLeft() + x2[0]->Width() + 10);
    EXPECT_EQ(y1[0]->AbsTop(), x2[0]->AbsTop());
}

TEST(CrossOutput, KeepTogetherStartsANewPageAndTerminationStops)
{
    StoreOutputRig r;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = r.cross->ShowTitle = false;
    r.cross->KeepTogether = true;
    r.Memo(r.Band<TqlrReportTitle>("ReportTitle1", 0, 300), "Big", "title", 0, 20);
    r.fill = [](TqlrCrossView& v) {
        for (int row = 1; row <= 5; ++row) v.AddValue({Variant(row)}, {Variant("c")}, {Variant(row * 11)});
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    ASSERT_EQ(r.store->GetCount(), 2);
    EXPECT_EQ(r.MemosWithText(0, "11").size(), 0u);
    EXPECT_EQ(r.MemosWithText(1, "55").size(), 1u);

    StoreOutputRig t;
    t.cross->ShowColumnTotal = t.cross->ShowRowTotal = t.cross->ShowTitle = false;
    t.fill = [](TqlrCrossView& v) { FiveWideColumns(v, 60); };
    int cells = 0;
    t.cross->OnBeforePrintCell = [&](TqlrCustomMemoView*, int, int, int, const Variant&, const Variant&, const Variant&) {
        if (++cells == 10) t.report.SetTerminated(true);
    };
    EXPECT_FALSE(t.Run());
    // The first piece (17 rows of three cells) is finished, then the output stops.
    EXPECT_EQ(cells, 17 * 3 + 17 * 2);
}

// ------------------------------------------------------------- design view

TEST(CrossDesign, SampleMatrixCaptionsAndTemplatesDrawn)
{
    TqlrCrossView v(nullptr);
    v.SetName("Cross1");
    v.SetBounds(10, 10, 100, 100);
    v.OnMeasureMemo = FakeMeasure;
    const TqlrCrossSize s = v.DrawCross(nullptr, 1, 1, 30, 30);
    EXPECT_GT(s.X, 0);
    EXPECT_GT(s.Y, 0);
    std::vector<std::string> rows, cols;
    for (TqlrCrossHeader* n : v.RowHeader()->TerminalItems()) rows.push_back(rtl::VarToStr(n->FValue));
    for (TqlrCrossHeader* n : v.ColumnHeader()->TerminalItems()) cols.push_back(rtl::VarToStr(n->FValue));
    EXPECT_EQ(rows, (std::vector<std::string>{"[Row]", "Grand Total"}));
    EXPECT_EQ(cols, (std::vector<std::string>{"[Column]", "Grand Total"}));
    EXPECT_EQ(v.GetValue(0, 0, 0).AsInteger(), 0);
    // Four cells, two row and three column captions (title included), the corner and a row caption.
    EXPECT_EQ(v.ContainerObjects().size(), 4u + 2u + 3u + 2u);
    // The cells of one column share their right edge.
    bool shared = false;
    for (int i = 0; i < v.GridX().Count(); ++i) shared |= v.GridX().Items(i).Objects.size() >= 3;
    EXPECT_TRUE(shared);

    v.ShowRowTotal = v.ShowColumnTotal = false;
    v.DrawCross(nullptr, 1, 1, 30, 30);
    EXPECT_EQ(v.RowHeader()->TerminalItems().size(), 1u);

    gui::TBitmap bmp(400, 200);
    bmp.Canvas()->Brush()->SetColor(gui::clWhite);
    bmp.Canvas()->FillRect(gui::TRect(0, 0, 400, 200));
    v.ShowRowTotal = v.ShowColumnTotal = true;
    v.Draw(bmp.Canvas(), 1, 1, 0, 0);
    int ink = 0;
    for (int y = 30; y < 120; ++y)
        for (int x = 30; x < 200; ++x) ink += bmp.Canvas()->Pixels(x, y) != gui::clWhite;
    EXPECT_GT(ink, 200);
    if (const char* dir = std::getenv("CROSS_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/cross_design.png", rtl::fmCreate);
        png.SaveToStream(f);
    }
}

TEST(CrossDesign, GridLinesDropsAndEdgeDragging)
{
    TqlrGridLines lines;
    TqlrMemoView a(nullptr), b(nullptr), c(nullptr);
    lines.Add(&a, 100);
    lines.Add(&b, 100.6L);
    lines.Add(&c, 102);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Items(0).Objects.size(), 2u);
    EXPECT_EQ(lines.Items(0).Coord, 100.6L);

    enginetest::Rig r;
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 200);
    auto* v = new TqlrCrossView(band);
    v->SetName("Cross1");
    v->SetBounds(0, 0, 100, 100);
    v->OnMeasureMemo = FakeMeasure;
    v->DrawCross(nullptr, 1, 1, 20, 20);
    TqlrComponent* cell = v->CellMemos(0);
    const long double cx = cell->Left() + 2, cy = cell->Top() + 2;
    auto* outside = new TqlrMemoView(band);
    outside->SetBounds(500, 150, 10, 10);
    EXPECT_FALSE(v->ContainerAdd(outside));
    auto* first = new TqlrMemoView(band);
    first->SetBounds(cx, cy - band->Top(), 5, 5);
    ASSERT_TRUE(v->ContainerAdd(first));
    EXPECT_EQ(first->Parent(), cell);
    EXPECT_EQ(first->Tag(), 1);
    EXPECT_EQ(first->Name(), "Cross1Object1");
    EXPECT_EQ(first->Left(), 2);
    auto* second = new TqlrMemoView(band);
    second->SetBounds(cx, cy, 5, 5);
    ASSERT_TRUE(v->ContainerAdd(second));
    EXPECT_EQ(second->Tag(), 2);
    EXPECT_FALSE(v->ContainerAdd(new TqlrCrossView(band)));

    // Dragging the right edge of the first data column widens its objects.
    v->DrawCross(nullptr, 1, 1, 20, 20);
    TqlrComponent* column = v->ColumnMemos(0);
    const long double width = column->Width(), cellWidth = cell->Width();
    const int ex = static_cast<int>(column->AbsLeft() + column->Width()), ey = static_cast<int>(column->AbsTop() + column->Height() / 2);
    auto dialogs = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* seen = dialogs.get();
    auto previous = gui::SetDialogService(std::move(dialogs));
    gui::TBitmap bmp(300, 300);
    v->Draw(bmp.Canvas(), 1, 1, 0, 0);
    ASSERT_TRUE(v->ContainerMouseDown(nullptr, ex, ey));
    v->ContainerMouseMove(nullptr, ex + 4, ey);
    v->ContainerMouseMove(nullptr, ex + 10, ey);
    EXPECT_EQ(column->Width(), width + 10);
    EXPECT_EQ(cell->Width(), cellWidth + 10);
    v->ContainerMouseUp(nullptr, ex + 10, ey);
    ASSERT_EQ(seen->Calls.size(), 1u);
    EXPECT_NE(seen->Calls[0].Text.find("AutoSize"), std::string::npos);
    gui::SetDialogService(std::move(previous));
}

// ------------------------------------------------------------------ editor

namespace {

// A private configuration folder for the style file.
struct StyleFolder {
    std::string dir = tectest::ScratchDir("cross-styles").string();
    tectest::ScopedEnv env;
    StyleFolder() { env.Set("XDG_CONFIG_HOME", dir); }
};

std::vector<std::string> StyleMenu(TqlrCrossEditorForm& form)
{
    std::vector<std::string> names;
    for (int i = 0; i < form.StylePopup->Items()->Count(); ++i) {
        const std::string c = form.StylePopup->Items()->Items(i)->Caption();
        if (c == "-") break;
        names.push_back(c);
    }
    return names;
}

} // namespace

TEST(CrossEditor, RegisteredAndCancelRestoresEverything)
{
    StyleFolder folder;
    OutputRig r;
    TqlrCrossView* cross = r.cross;
    auto editor = GetComponentEditorCollection().GetComponentEditor(cross, nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->HasEditor());
    EXPECT_NE(dynamic_cast<TqlrCrossEditor*>(editor.get()), nullptr);

    cross->CellMemos(0)->SetColor(gui::clAqua);
    cross->SetRowLevels(2);
    {
        TqlrCrossEditorForm form(nullptr, cross);
        form.Show();
        EXPECT_TRUE(form.DimensionsL->Visible());
        EXPECT_FALSE(form.DatasetL->Visible());
        EXPECT_EQ(form.RowsLB->Count(), 2);
        form.TitleCB->SetChecked(false);
        form.JoinCB->SetChecked(true);
        form.RowsE->SetText("3");
        EXPECT_EQ(cross->RowLevels(), 3);
        EXPECT_EQ(form.RowsLB->Count(), 3);
        form.ToggleSubtotal(form.RowsLB, 0);
        EXPECT_FALSE(cross->RowTotalMemos(1)->Visible());
        form.ToggleSubtotal(form.RowsLB, 0);
        EXPECT_TRUE(cross->RowTotalMemos(1)->Visible());
        form.ToggleSubtotal(form.RowsLB, 0);
        form.SetCellFunction(0, TqlrCrossFunction::cfMax);
        form.ChooseStyle(3);  // "Green"
        EXPECT_NE(cross->CellMemos(0)->Color(), gui::clAqua);
        EXPECT_FALSE(cross->ShowTitle);
        form.SetModalResult(gui::mrCancel);
        form.Hide();
    }
    EXPECT_TRUE(cross->ShowTitle);
    EXPECT_FALSE(cross->JoinEqualCells);
    EXPECT_EQ(cross->RowLevels(), 2);
    EXPECT_TRUE(cross->RowTotalMemos(1)->Visible());
    EXPECT_EQ(cross->CellFunctions(0), TqlrCrossFunction::cfSum);
    EXPECT_EQ(cross->CellMemos(0)->Color(), gui::clAqua);

    // OK keeps the changes.
    TqlrCrossEditorForm form(nullptr, cross);
    form.Show();
    form.TitleCB->SetChecked(false);
    form.SetModalResult(gui::mrOk);
    form.Hide();
    EXPECT_FALSE(cross->ShowTitle);
}

TEST(CrossEditor, StructureListsAndStyles)
{
    StyleFolder folder;
    OutputRig r;
    TqlrCrossView* cross = r.cross;
    TqlrCrossEditorForm form(nullptr, cross);
    form.Show();
    // Dragging the only row name back to the field list leaves no row levels.
    form.MoveItem(form.RowsLB, 0, form.FieldsLB, -1);
    EXPECT_EQ(cross->RowLevels(), 0);
    EXPECT_EQ(form.RowsLB->Count(), 0);
    EXPECT_EQ(form.FieldsLB->Count(), 0);
    form.MoveItem(form.ColumnsLB, 0, form.RowsLB, -1);
    EXPECT_EQ(cross->RowLevels(), 1);
    EXPECT_EQ(cross->ColumnLevels(), 0);

    const std::vector<std::string> builtIn{"White", "Gray", "Orange", "Green", "Green and Orange", "Blue",
                                           "Blue and White", "Gray and Orange", "Blue and Orange", "Orange and White"};
    EXPECT_EQ(StyleMenu(form), builtIn);
    EXPECT_FALSE(rtl::FileExists(folder.dir + "/crossstyles.xml"));
    cross->CellMemos(0)->SetColor(gui::clLime);
    ASSERT_TRUE(form.SaveStyle("Mine"));
    EXPECT_FALSE(form.SaveStyle(""));
    std::vector<std::string> withMine = builtIn;
    withMine.push_back("Mine");
    EXPECT_EQ(StyleMenu(form), withMine);
    TqlrStyleSheet saved;
    saved.LoadFromFile(folder.dir + "/crossstyles.xml");
    ASSERT_EQ(saved.Count(), 11);
    EXPECT_EQ(saved.Items(10)->Find("cell")->Color(), gui::clLime);
    EXPECT_EQ(saved.Items(1)->Find("cell")->Color(), static_cast<gui::TColor>(15790320));
    // A new editor reads the saved file.
    TqlrCrossEditorForm again(nullptr, cross);
    EXPECT_EQ(StyleMenu(again), withMine);

    // The preview of a styled two-level cross-tab.
    form.RowsE->SetText("2");
    form.ChooseStyle(5);  // "Blue"
    gui::TBitmap bmp(form.PaintBox->Width(), form.PaintBox->Height());
    form.PaintPreview(bmp.Canvas());
    int ink = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); x += 2) ink += bmp.Canvas()->Pixels(x, y) != bmp.Canvas()->Pixels(bmp.Width() - 1, bmp.Height() - 1);
    EXPECT_GT(ink, 500);
    if (const char* dir = std::getenv("CROSS_TEST_PICTURES")) {
        gui::TPngImage png;
        png.Assign(&bmp);
        rtl::TFileStream f(std::string(dir) + "/cross_editor_preview.png", rtl::fmCreate);
        png.SaveToStream(f);
        gui::TBitmap whole(form.Width(), form.Height());
        form.PaintTo(whole.Canvas(), 0, 0);
        gui::TPngImage png2;
        png2.Assign(&whole);
        rtl::TFileStream f2(std::string(dir) + "/cross_editor.png", rtl::fmCreate);
        png2.SaveToStream(f2);
    }
    form.SetModalResult(gui::mrOk);
    form.Hide();
}

// A selected structure item draws its whole row, sort text included, in
// highlight text on the highlight colour; an unselected one in window text
// on the window colour.
TEST(CrossEditor, SelectedItemShowsItsSortTextOnTheHighlight)
{
    StyleFolder folder;
    OutputRig r;
    r.cross->SetRowLevels(2);
    TqlrCrossEditorForm form(nullptr, r.cross);
    form.Show();
    gui::TListBox* rows = form.RowsLB;
    ASSERT_EQ(rows->Count(), 2);
    rows->SetItemIndex(0);
    gui::Application->ProcessMessages();
    auto shot = rows->GetImage();
    // Background and ink pixels in the sort text's part of a row.
    struct Counts {
        int back = 0, ink = 0;
    };
    auto count = [&](int index, gui::TColor back) {
        const gui::TRect item = rows->ItemRect(index);
        Counts n;
        for (int y = item.Top + 1; y < item.Bottom - 1; ++y)
            for (int x = item.Left + 200; x < std::min(item.Right, item.Left + 226); ++x) {
                const gui::TColor p = shot->Canvas()->Pixels(x, y);
                if (p == back) ++n.back;
                else ++n.ink;
            }
        return n;
    };
    const Counts selected = count(0, gui::ColorToRGB(gui::clHighlight));
    EXPECT_GT(selected.back, selected.ink) << "the sort text stands on the highlight";
    EXPECT_GT(selected.ink, 5) << "the sort text shows";
    const Counts plain = count(1, gui::ColorToRGB(gui::clWindow));
    EXPECT_GT(plain.back, plain.ink);
    EXPECT_GT(plain.ink, 5);
    const auto dir = tectest::SnapshotDir();
    gui::TPngImage png;
    png.Assign(shot.get());
    png.SaveToFile((dir / "cross-editor-selected-row.png").string());
    form.SetModalResult(gui::mrOk);
    form.Hide();
}

TEST(CrossOutput, OverhangUpToFiveUnitsMovesWholeAndWideFirstLeafGivesEmptyPiece)
{
    for (int tail : {4, 8}) {
        StoreOutputRig r;
        r.cross->ShowColumnTotal = r.cross->ShowRowTotal = r.cross->ShowTitle = false;
        r.cross->SetColumnLevels(2);
        r.cross->MaxWidth = 400;
        r.cross->ColumnTotalMemos(1)->SetVisible(false);
        r.cross->OnBeforeCalcWidth = [tail](int column, const Variant&, long double& width) {
            if (column == 0) width = 366;
            if (column == 1) width = tail;
        };
        r.fill = [](TqlrCrossView& v) {
            v.AddValue({Variant(1)}, {Variant("A"), Variant("x")}, {Variant(1)});
            v.AddValue({Variant(1)}, {Variant("A"), Variant("y")}, {Variant(2)});
            v.AddValue({Variant(1)}, {Variant("B"), Variant("z")}, {Variant(3)});
        };
        ASSERT_TRUE(r.Run()) << r.Errors();
        ASSERT_EQ(r.store->GetCount(), 2) << tail;
        auto a0 = r.MemosWithText(0, "A"), a1 = r.MemosWithText(1, "A");
        ASSERT_EQ(a0.size(), 1u);
        if (tail == 4) {
            // 4 units beyond the cut: the whole caption stays with the first piece.
            EXPECT_EQ(a0[0]->Width(), 370);
            EXPECT_TRUE(a1.empty());
        } else {
            EXPECT_EQ(a0[0]->Width(), 366);
            ASSERT_EQ(a1.size(), 1u);
            EXPECT_EQ(a1[0]->Width(), 8);
            EXPECT_FALSE(a0[0]->Frame()->Typ().Contains(TqlrFrameType::ftRight));
            EXPECT_FALSE(a1[0]->Frame()->Typ().Contains(TqlrFrameType::ftLeft));
        }
    }

    // A first column wider than the page: an empty first piece (the row
    // header alone), then the piece holding it.
    StoreOutputRig w;
    w.cross->ShowColumnTotal = w.cross->ShowRowTotal = w.cross->ShowTitle = false;
    w.cross->MaxWidth = 500;
    w.fill = [](TqlrCrossView& v) { v.AddValue({Variant(7)}, {Variant(std::string(45, 'w'))}, {Variant(42)}); };
    ASSERT_TRUE(w.Run()) << w.Errors();
    ASSERT_EQ(w.store->GetCount(), 2);
    EXPECT_EQ(w.MemosWithText(0, "7").size(), 1u);
    EXPECT_EQ(w.MemosWithText(0, "42").size(), 0u);
    EXPECT_EQ(w.MemosWithText(1, "42").size(), 1u);
}

TEST(CrossOutput, CellVariablesValueAndTemplateChildrenBeforePrint)
{
    StoreOutputRig r;
    r.cross->ShowColumnTotal = r.cross->ShowRowTotal = r.cross->ShowTitle = false;
    auto* child = new TqlrMemoView(r.cross->CellMemos(0));
    child->SetBounds(1, 1, 5, 5);
    child->SetText("*");
    child->SetTag(1);
    r.fill = [](TqlrCrossView& v) {
        v.AddValue({Variant(1)}, {Variant("a")}, {Variant(10)});
        v.AddValue({Variant(1)}, {Variant("b")}, {Variant(20)});
        v.AddValue({Variant(2)}, {Variant("a")}, {Variant(30)});
    };
    std::vector<std::string> seen;
    r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
        if (c == r.cross) {
            r.fill(*r.cross);
            return;
        }
        if (c->Name() == "Cross1Cell0")
            seen.push_back(rtl::VarToStr(GlobalVariables().GetVariable("RowIndex")) + "," +
                           rtl::VarToStr(GlobalVariables().GetVariable("ColumnIndex")) + "=" +
                           rtl::VarToStr(r.report.CurValue));
        if (c->Name() == "Cross1Object1") seen.push_back("child");
    };
    ASSERT_TRUE(r.Run()) << r.Errors();
    // Row 2 has no value in column "b": printed as 0.  The engine does not
    // run the event again when it prints the cells.
    const std::vector<std::string> expected{"0,0=10", "child", "0,1=20", "child", "1,0=30", "child", "1,1=0", "child"};
    EXPECT_EQ(seen, expected);
}

TEST(CrossView, DotMatrixPageGivesDotMatrixTemplatesWithoutGaps)
{
    TqlrReport report(nullptr);
    auto* page = new TqlrDMPPage(&report);
    auto* band = new TqlrMasterData(page);
    auto* cross = new TqlrCrossView(band);
    EXPECT_TRUE(cross->DotMatrix);
    EXPECT_EQ(cross->GapX, 0);
    EXPECT_EQ(cross->GapY, 0);
    EXPECT_NE(dynamic_cast<TqlrDMPMemoView*>(cross->CellMemos(0)), nullptr);
    TqlrCrossView plain(nullptr);
    EXPECT_FALSE(plain.DotMatrix);
    EXPECT_EQ(plain.GapX, 3);
}

TEST(CrossLayout, TallTotalGrowsTheLastLevel)
{
    ViewRig r;
    TqlrCrossView& v = r.view;
    v.SetColumnLevels(2);
    v.ShowTitle = false;
    v.ColumnTotalMemos(1)->SetVisible(false);
    // Captions 20 high, the grand total (spanning both levels) 60 high: the
    // two levels share 40, so the last level grows by 20.
    v.OnMeasureMemo = [](TqlrCustomMemoView* m) {
        TqlrCrossSize s = FakeMeasure(m);
        if (m->Text() == "Grand Total") s.Y = 60;
        return s;
    };
    v.BeginMatrix();
    v.AddValue({Variant(1)}, {Variant("a"), Variant("x")}, {Variant(1)});
    v.AddValue({Variant(1)}, {Variant("b"), Variant("x")}, {Variant(1)});
    v.EndMatrix();
    EXPECT_EQ(v.ColumnHeaderHeight(), 60);
    for (TqlrCrossHeader* leaf : v.ColumnHeader()->TerminalItems())
        EXPECT_EQ(leaf->FBounds.Height, leaf->FIsTotal ? 60 : 40);
}

TEST(CrossEditor, DataBoundFieldsDraggedWithTheMouse)
{
    StyleFolder folder;
    enginetest::Rig r;
    TqlrUserDataSet* ds = r.Data("Places", 2);
    ds->SetUserName("Places");
    ds->Fields()->Add("Place");
    ds->Fields()->Add("Time");
    r.report.DataSets()->Add(ds);
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    auto* cross = new TqlrDBCrossView(band);
    cross->SetName("DBCross1");
    cross->SetRowLevels(0);
    cross->SetColumnLevels(0);
    cross->SetDataSet(ds);
    TqlrCrossEditorForm form(nullptr, cross);
    form.Show();
    EXPECT_TRUE(form.DatasetL->Visible());
    ASSERT_GE(form.FieldsLB->Count(), 2);
    const std::string field = (*form.FieldsLB->Items())[1];
    // Press on the second field, release over the rows list.
    const int itemY = form.FieldsLB->ItemHeight() + 4;
    gui::sim::MouseDown(form.FieldsLB, gui::TMouseButton::mbLeft, 10, itemY);
    const gui::TPoint over = form.FieldsLB->ScreenToClient(form.RowsLB->ClientToScreen(gui::TPoint{10, 10}));
    gui::sim::MouseUp(form.FieldsLB, gui::TMouseButton::mbLeft, over.X, over.Y);
    ASSERT_EQ(form.RowsLB->Count(), 1);
    EXPECT_EQ((*form.RowsLB->Items())[0], field);
    EXPECT_EQ(cross->RowLevels(), 1);
    EXPECT_EQ((*cross->RowFields())[0], field);
    EXPECT_EQ(form.FieldsLB->Count(), 2);  // the field list keeps its fields
    // And back onto the field list: no row levels.
    gui::sim::MouseDown(form.RowsLB, gui::TMouseButton::mbLeft, 10, 4);
    const gui::TPoint back = form.RowsLB->ScreenToClient(form.FieldsLB->ClientToScreen(gui::TPoint{10, 10}));
    gui::sim::MouseUp(form.RowsLB, gui::TMouseButton::mbLeft, back.X, back.Y);
    EXPECT_EQ(form.RowsLB->Count(), 0);
    EXPECT_EQ(cross->RowLevels(), 0);
    form.SetModalResult(gui::mrOk);
    form.Hide();
}

TEST(CrossEditor, StructureItemsReorderedByDraggingAndRefusedElsewhere)
{
    StyleFolder folder;
    enginetest::Rig r;
    TqlrUserDataSet* ds = r.Data("Places", 2);
    ds->SetUserName("Places");
    for (const char* f : {"Place", "Time", "Kind"}) ds->Fields()->Add(f);
    r.report.DataSets()->Add(ds);
    auto* band = r.Band<TqlrMasterData>("MasterData1", 0, 20);
    auto* cross = new TqlrDBCrossView(band);
    cross->SetName("DBCross1");
    cross->SetRowLevels(0);
    cross->SetColumnLevels(0);
    cross->SetDataSet(ds);
    TqlrCrossEditorForm form(nullptr, cross);
    form.Show();
    const int h = form.FieldsLB->ItemHeight();
    // Drag with held moves: press on an item, move over the target, release.
    auto drag = [&](gui::TListBox* from, int index, gui::TControl* to, int x, int y) {
        gui::sim::MouseMove(from, 10, index * h + 4);
        gui::sim::MouseDown(from, gui::TMouseButton::mbLeft, 10, index * h + 4);
        gui::sim::MoveTo(to, x, y);
        gui::sim::MouseUp(to, gui::TMouseButton::mbLeft, x, y);
    };
    drag(form.FieldsLB, 0, form.RowsLB, 10, 10);
    drag(form.FieldsLB, 1, form.RowsLB, 10, 60);
    ASSERT_EQ(cross->RowLevels(), 2);
    EXPECT_EQ((*cross->RowFields())[0], "Place");
    EXPECT_EQ((*cross->RowFields())[1], "Time");
    // The second row item dropped on the first moves before it.
    drag(form.RowsLB, 1, form.RowsLB, 10, 4);
    ASSERT_EQ(form.RowsLB->Count(), 2);
    EXPECT_EQ((*form.RowsLB->Items())[0], "Time");
    EXPECT_EQ((*cross->RowFields())[0], "Time");
    EXPECT_EQ((*cross->RowFields())[1], "Place");
    // Over the options nothing takes it: the cursor says so and the lists stay.
    const int cells = form.CellsLB->Count();
    gui::sim::MouseMove(form.RowsLB, 10, 4);
    gui::sim::MouseDown(form.RowsLB, gui::TMouseButton::mbLeft, 10, 4);
    gui::sim::MoveTo(form.OptionsL, 300, 100);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crNoDrop);
    gui::sim::MouseUp(form.OptionsL, gui::TMouseButton::mbLeft, 300, 100);
    EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
    EXPECT_EQ(cross->RowLevels(), 2);
    EXPECT_EQ(form.CellsLB->Count(), cells);
    EXPECT_EQ(form.RowsLB->Count(), 2);
    if (const char* dir = std::getenv("CROSS_TEST_PICTURES")) {
        gui::TBitmap whole(form.Width(), form.Height());
        form.PaintTo(whole.Canvas(), 0, 0);
        gui::TPngImage png;
        png.Assign(&whole);
        rtl::TFileStream f(std::string(dir) + "/cross_editor_dragged.png", rtl::fmCreate);
        png.SaveToStream(f);
    }
    form.SetModalResult(gui::mrOk);
    form.Hide();
}

TEST(CrossOutput, ReprintedDataHeaderLeavesItsRoomOnFollowingPages)
{
    for (bool reprint : {true, false}) {
        enginetest::Rig r;
        auto* header = r.Band<TqlrHeader>("Header1", 0, 50);
        header->ReprintOnNewPage = reprint;
        r.Memo(header, "Head", "head", 0, 20);
        auto* band = r.Band<TqlrMasterData>("MasterData1", 60, 20);
        band->SetRowCount(1);
        auto* cross = new TqlrCrossView(band);
        cross->SetName("Cross1");
        cross->SetBounds(0, 0, 100, 20);
        cross->OnMeasureMemo = FakeMeasure;
        cross->ShowTitle = cross->ShowColumnTotal = cross->ShowRowTotal = false;
        r.report.OnBeforePrint = [&](TqlrReportComponent* c) {
            if (c == cross)
                for (int i = 1; i <= 40; ++i) cross->AddValue({Variant(i)}, {Variant("c")}, {Variant(i)});
        };
        ASSERT_TRUE(r.Run()) << r.Errors();
        std::vector<int> perPage;
        for (const auto& page : r.pages->Pages) {
            int rows = 0;
            for (const auto& rec : page.Objects)
                if (rec.Name.empty() && rec.Children.find("Cross1Cell") != std::string::npos) ++rows;
            perPage.push_back(rows);
        }
        // 50 for the header, 20 for the column header, 20 a row: 15 rows a
        // page while the header comes back, 17 on the pages without it.
        EXPECT_EQ(perPage, reprint ? (std::vector<int>{15, 15, 10}) : (std::vector<int>{15, 17, 8})) << reprint;
    }
}
