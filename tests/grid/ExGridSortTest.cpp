// The collation of platform/rtl, the grid's row comparison by sort style,
// sorting (what travels with a row, what stays, the unsorted order, the
// text form, indexed sorting) and sorting by header clicks.
#include <gtest/gtest.h>

#include <clocale>
#include <functional>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/DateTime.h"

using namespace grid;

namespace {

// Puts the process-wide format settings back after a test changed them.
struct FormatGuard {
    rtl::TFormatSettings Saved = rtl::FormatSettings();
    ~FormatGuard() { rtl::FormatSettings() = Saved; }
};

struct SortFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    SortFixture()
    {
        Form.SetBounds(0, 0, 700, 500);
        G->SetParent(&Form);
        G->SetBounds(0, 0, 600, 400);
        G->SetColCount(4);
        G->SetRowCount(3);
    }
    void Fill(int col, const std::vector<std::string>& values)
    {
        if (G->RowCount() < static_cast<int>(values.size()) + 1) G->SetRowCount(static_cast<int>(values.size()) + 1);
        for (std::size_t i = 0; i < values.size(); ++i) G->SetCells(col, static_cast<int>(i) + 1, values[i]);
    }
    std::vector<std::string> Column(int c, int from = 1, int to = -1)
    {
        if (to < 0) to = G->RowCount() - 1;
        std::vector<std::string> v;
        for (int r = from; r <= to; ++r) v.push_back(G->Cells(c, r));
        return v;
    }
    gui::TPoint Centre(int c, int r)
    {
        const gui::TRect rc = G->gui::TCustomGrid::CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
};

using V = std::vector<std::string>;

} // namespace

// --- collation -------------------------------------------------------------------

TEST(Collation, FoldsCaseByUnicodeSimpleFoldingWhateverTheLocale)
{
    std::setlocale(LC_ALL, "C");  // the C library knows no letters beyond ASCII now
    EXPECT_EQ(rtl::CollateCompareText("apple", "APPLE"), 0);
    EXPECT_EQ(rtl::CollateCompareText("\xC3\x84rger", "\xC3\xA4RGER"), 0);      // Ärger, äRGER
    EXPECT_EQ(rtl::CollateCompareText("\xCE\xA3\xCE\x9F\xCE\xA3", "\xCF\x83\xCE\xBF\xCF\x82"), 0);  // ΣΟΣ, σος
    EXPECT_EQ(rtl::CollateCompareText("\xE2\x84\xAA", "k"), 0);                 // the Kelvin sign
    EXPECT_EQ(rtl::CollateCompareText("Stra\xC3\x9F" "e", "STRASSE"), 1);        // ß folds to itself
    EXPECT_EQ(rtl::CollateCompareText("apple", "Banana"), -1);
    EXPECT_EQ(rtl::CollateCompareText("ab", "A"), 1);
    std::setlocale(LC_ALL, "C.UTF-8");
}

TEST(Collation, CaseSensitiveOrderPutsTheLowerCaseFirstAmongEquals)
{
    V words = {"Banana", "apricot", "Apple", "banana", "apple"};
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
        return rtl::CollateCompareStr(a, b) < 0;
    });
    EXPECT_EQ(words, (V{"apple", "Apple", "apricot", "banana", "Banana"}));
    EXPECT_EQ(rtl::CollateCompareStr("b", "b"), 0);
    EXPECT_EQ(rtl::CollateCompareStr("\xC3\xA4", "\xC3\x84"), -1);  // ä before Ä
}

// --- row comparison -----------------------------------------------------------------

// One two-row case per sort style: the style, the texts of rows 1 and 2 in
// column 1, and the answer of CompareCells.
TEST_F(SortFixture, EverySortStyleByATwoRowCase)
{
    FormatGuard fg;
    rtl::FormatSettings().DateSeparator = '/';
    rtl::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    struct Case {
        TSortStyle Style;
        std::string A, B;
        int Expected;
    };
    const Case cases[] = {
        {TSortStyle::ssAutomatic, "10", "9", 1},            // numbers
        {TSortStyle::ssAlphabetic, "10", "9", -1},          // characters
        {TSortStyle::ssNumeric, "10", "9", 1},
        {TSortStyle::ssNumeric, "abc", "xyz", 0},           // two non-numbers are equal
        {TSortStyle::ssNumeric, "", "-1", 1},               // empty is 0
        {TSortStyle::ssDate, "12/05/2010", "01/01/2011", -1},
        {TSortStyle::ssAlphaNoCase, "a", "B", -1},
        {TSortStyle::ssAlphaNoCase, "apple", "APPLE", 1},   // equal but for case: case decides
        {TSortStyle::ssAlphaCase, "a", "B", 1},
        {TSortStyle::ssShortDateEU, "02/01/2010", "01/02/2010", -1},  // 2 Jan before 1 Feb
        {TSortStyle::ssShortDateUS, "02/01/2010", "01/02/2010", 1},   // 1 Feb after 2 Jan
        {TSortStyle::ssFinancial, "1,000.50", "999", 1},
        {TSortStyle::ssNumeric, "1,000.50", "999", -1},     // no number without the thousands
        {TSortStyle::ssAnsiAlphaCase, "b", "B", -1},
        {TSortStyle::ssAnsiAlphaCase, "B", "a", 1},
        {TSortStyle::ssAnsiAlphaNoCase, "\xC3\x84", "\xC3\xA4", 0},
        {TSortStyle::ssHTML, "<b>b</b>", "a", 1},
        {TSortStyle::ssAlphabetic, "<b>b</b>", "a", -1},
        {TSortStyle::ssDateTime, "01/01/2011 10:00", "01/01/2011 9:30", 1},
        {TSortStyle::ssTime, "10:00", "9:30", 1},
        {TSortStyle::ssAlphaNumeric, "10", "9", 1},
        {TSortStyle::ssAlphaNumeric, "B", "a", -1},
        {TSortStyle::ssAlphaNumericNoCase, "B", "a", 1},
    };
    for (const Case& c : cases) {
        G->OnGetFormat = [&](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) { style = c.Style; };
        Fill(1, {c.A, c.B});
        EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), c.Expected)
            << static_cast<int>(c.Style) << " " << c.A << " / " << c.B;
    }

    // The styles that ask events, images and check boxes.
    G->OnGetFormat = [](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) {
        style = TSortStyle::ssCustom;
    };
    G->OnCustomCompare = [](rtl::TObject*, const std::string& a, const std::string& b, int& res) {
        res = a.size() < b.size() ? -1 : a.size() > b.size();
    };
    Fill(1, {"zz", "aaa"});
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), -1);
    G->OnGetFormat = [](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) { style = TSortStyle::ssRaw; };
    G->OnRawCompare = [](rtl::TObject*, int, int r1, int r2, int& res) { res = r1 < r2 ? 1 : -1; };
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), 1);
    G->OnGetFormat = [](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) { style = TSortStyle::ssImages; };
    G->SetGridImages(new gui::TImageList(&Form));
    G->AddImageIdx(1, 1, 3, TCellHAlign::haLeft, TCellVAlign::vaTop);
    G->AddImageIdx(1, 2, 1, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), 1);
    G->OnGetFormat = nullptr;
    G->AddCheckBox(2, 1, true, false);
    G->AddCheckBox(2, 2, false, false);
    EXPECT_EQ(G->CompareCells(2, 1, 2, TSortDirection::sdAscending), 1);  // detected: checked after unchecked
    EXPECT_EQ(G->CompareCells(2, 2, 1, TSortDirection::sdAscending), -1);
}

TEST_F(SortFixture, AutomaticDetectionOfDatesAndTheDecimalComma)
{
    FormatGuard fg;
    rtl::FormatSettings().DateSeparator = '/';
    rtl::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    Fill(1, {"12/05/2010", "01/01/2011"});
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), -1);  // as dates
    Fill(1, {"12-05-2010", "01-01-2011"});
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), 1);   // as text

    rtl::FormatSettings().DecimalSeparator = ',';
    rtl::FormatSettings().ThousandSeparator = '.';
    G->OnGetFormat = [](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) {
        style = TSortStyle::ssNumeric;
    };
    Fill(1, {"1.5", "1,5"});
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), 0);   // both 1.5
    Fill(1, {"1,5", "1,4"});
    EXPECT_EQ(G->CompareCells(1, 1, 2, TSortDirection::sdAscending), 1);
}

TEST_F(SortFixture, BlanksStayAtTheirEndInBothDirections)
{
    G->SortSettings()->SetIgnoreBlanks(true);
    Fill(1, {"", "a"});
    struct Case {
        TSortBlankPosition Pos;
        TSortDirection Dir;
        int Expected;
    };
    for (const Case& c : {Case{TSortBlankPosition::blLast, TSortDirection::sdAscending, 1},
                          Case{TSortBlankPosition::blLast, TSortDirection::sdDescending, -1},
                          Case{TSortBlankPosition::blFirst, TSortDirection::sdAscending, -1},
                          Case{TSortBlankPosition::blFirst, TSortDirection::sdDescending, 1}}) {
        G->SortSettings()->SetBlankPos(c.Pos);
        EXPECT_EQ(G->CompareCells(1, 1, 2, c.Dir), c.Expected);
        EXPECT_EQ(G->CompareCells(1, 2, 1, c.Dir), -c.Expected);
    }
    // Whole sorts: the blanks end last either way.
    G->SortSettings()->SetBlankPos(TSortBlankPosition::blLast);
    Fill(1, {"b", "", "c", "", "a"});
    G->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(Column(1), (V{"a", "b", "c", "", ""}));
    G->Sort(1, TSortDirection::sdDescending);
    EXPECT_EQ(Column(1), (V{"c", "b", "a", "", ""}));
}

TEST_F(SortFixture, AnIgnoredColumnFallsThroughToTheNext)
{
    Fill(1, {"b", "a"});
    Fill(2, {"1", "2"});
    EXPECT_EQ(G->CompareRows(1, 1, 2), 1);
    G->IgnoreColumns()->Add(1);
    EXPECT_EQ(G->CompareRows(1, 1, 2), -1);  // column 2 decides
    G->SortSettings()->SetFull(false);
    EXPECT_EQ(G->CompareRows(1, 1, 2), 0);
}

// --- sorting ------------------------------------------------------------------------------

TEST_F(SortFixture, WholeRowsTravelAndFixedRowsStay)
{
    G->SetRowCount(6);
    G->SetFixedFooters(1);
    Fill(1, {"c", "a", "d", "b", "footer"});
    Fill(3, {"3", "1", "4", "2", "f3"});
    G->SetCells(1, 0, "head");
    G->HideColumn(3);
    auto* marker = new rtl::TObject;
    G->SetCellObject(2, 1, marker);  // with row "c"
    G->SetRowHeights(2, 40);         // row "a"
    G->AddCheckBox(2, 3, true, false);  // row "d"
    G->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(Column(1), (V{"a", "b", "c", "d", "footer"}));
    EXPECT_EQ(G->Cells(1, 0), "head");
    V hidden;
    for (int r = 1; r < 6; ++r) {
        std::string t;
        G->GetAllCells(3, r, t);
        hidden.push_back(t);
    }
    EXPECT_EQ(hidden, (V{"1", "2", "3", "4", "f3"}));
    EXPECT_EQ(G->GetCellObject(2, 3), marker);
    EXPECT_EQ(G->RowHeights(1), 40);
    EXPECT_TRUE(G->HasCheckBox(2, 4));
    EXPECT_FALSE(G->HasCheckBox(2, 3));
    G->SetCellObject(2, 3, nullptr);
    delete marker;
}

TEST_F(SortFixture, NormalCellsOnlyKeepsColumnZero)
{
    G->SetFixedCols(1);
    Fill(0, {"1", "2", "3"});
    Fill(1, {"z", "y", "x"});
    G->SortSettings()->SetNormalCellsOnly(true);
    G->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(Column(1), (V{"x", "y", "z"}));
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
}

TEST_F(SortFixture, UnsortRestoresTheOrderBeforeTheFirstSort)
{
    const V original{"d", "b", "e", "a", "c"};
    Fill(1, original);
    G->Sort(1, TSortDirection::sdAscending);
    G->Sort(1, TSortDirection::sdDescending);
    EXPECT_EQ(Column(1), (V{"e", "d", "c", "b", "a"}));
    G->QUnSort();
    EXPECT_EQ(Column(1), original);

    // A row added between two sorts starts a new cross reference.
    G->Sort(1, TSortDirection::sdAscending);
    G->AddRow();
    G->SetCells(1, G->RowCount() - 1, "0");
    const V before = Column(1);
    G->Sort(1, TSortDirection::sdDescending);
    G->QUnSort();
    EXPECT_EQ(Column(1), before);
}

TEST_F(SortFixture, TheCurrentRowWithAndWithoutMoveRowOnSort)
{
    Fill(1, {"c", "a", "b"});
    G->SetRow(1);  // "c"
    G->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(G->Row(), 1);
    G->Navigation()->SetMoveRowOnSort(true);
    G->SetRow(1);  // "a"
    G->Sort(1, TSortDirection::sdDescending);
    EXPECT_EQ(G->Cells(1, G->Row()), "a");
    EXPECT_EQ(G->Row(), 3);
}

TEST_F(SortFixture, TheTextFormOfTheSortSettings)
{
    Fill(2, {"b", "c", "a"});
    G->Sort(3, TSortDirection::sdDescending);
    EXPECT_EQ(G->SortSettings()->SaveToString(), "d3");
    G->Sort(0, TSortDirection::sdAscending);
    EXPECT_EQ(G->SortSettings()->SaveToString(), "u0");
    G->SortSettings()->LoadFromString("u2");
    EXPECT_TRUE(G->SortSettings()->Show());
    EXPECT_EQ(G->SortSettings()->Column(), 2);
    EXPECT_EQ(Column(2), (V{"a", "b", "c"}));
    EXPECT_THROW(G->SortSettings()->LoadFromString("d"), rtl::Exception);
    G->SortSettings()->LoadFromString("dx");  // no number: nothing sorted
    EXPECT_EQ(Column(2), (V{"a", "b", "c"}));
    EXPECT_THROW(G->SortSettings()->SetSortRow(2), rtl::Exception);
    G->SortSettings()->SetSortRow(1);  // equal to FixedRows is accepted
    EXPECT_EQ(G->SortSettings()->Row(), 1);
}

TEST(SortSettings, AssignCopiesAllButTheTwoComparisonOptions)
{
    TSortSettings a, b;
    a.SetFull(false);
    a.SetBlankPos(TSortBlankPosition::blLast);
    a.SetUndoSort(true);
    a.SetIgnoreCase(true);
    a.SetSortOnVirtualCells(false);
    gui::TBitmap up(7, 5);
    a.SetUpGlyph(&up);
    b.Assign(&a);
    EXPECT_FALSE(b.Full());
    EXPECT_EQ(b.BlankPos(), TSortBlankPosition::blLast);
    EXPECT_TRUE(b.UndoSort());
    EXPECT_FALSE(b.IgnoreCase());
    EXPECT_TRUE(b.SortOnVirtualCells());
    EXPECT_EQ(b.UpGlyph()->Width(), 7);
    EXPECT_NE(b.UpGlyph(), a.UpGlyph());
}

// An adversary that answers each comparison so that every partition comes
// out as lopsided as it can (values are fixed only when they must be).  A
// quicksort that nests into both parts nests about as deep as there are
// rows; nesting only into the smaller part keeps it below log2 of them.  The
// depth is read from the stack addresses the comparison event sees.
TEST_F(SortFixture, AnAdversarialOrderDoesNotNestTheSortDeeply)
{
    const int n = 1200;
    G->SetRowCount(n + 1);
    G->SortSettings()->SetFull(false);
    G->OnGetFormat = [](rtl::TObject*, int, TSortStyle& style, std::string&, std::string&) { style = TSortStyle::ssRaw; };
    for (TSortDirection dir : {TSortDirection::sdAscending, TSortDirection::sdDescending}) {
        for (int r = 1; r <= n; ++r) G->SetCells(2, r, std::to_string(r - 1));
        std::vector<int> val(static_cast<std::size_t>(n), n);  // n: not fixed yet
        int solid = 0, candidate = -1;
        uintptr_t lo = UINTPTR_MAX, hi = 0;
        G->OnRawCompare = [&](rtl::TObject*, int, int r1, int r2, int& res) {
            const int here = 0;
            lo = std::min(lo, reinterpret_cast<uintptr_t>(&here));
            hi = std::max(hi, reinterpret_cast<uintptr_t>(&here));
            const int x = std::stoi(G->Cells(2, r1)), y = std::stoi(G->Cells(2, r2));
            int& vx = val[static_cast<std::size_t>(x)];
            int& vy = val[static_cast<std::size_t>(y)];
            if (vx == n && vy == n) (x == candidate ? vx : vy) = solid++;
            if (vx == n) candidate = x;
            else if (vy == n) candidate = y;
            res = vx < vy ? -1 : (vx > vy ? 1 : 0);
        };
        const int before = G->Compares();
        G->Sort(1, dir);
        EXPECT_GT(G->Compares() - before, 100 * n);  // the adversary made the parts lopsided
        // Nesting into both parts took over 100 KB of stack here.
        EXPECT_LT(hi - lo, 16u * 1024u) << "stack span of the comparisons";
        bool ordered = true;
        for (int r = 2; r <= n; ++r) {
            const int a = val[std::stoul(G->Cells(2, r - 1))], b = val[std::stoul(G->Cells(2, r))];
            ordered = ordered && (dir == TSortDirection::sdAscending ? a <= b : a >= b);
        }
        EXPECT_TRUE(ordered);
    }
}

TEST_F(SortFixture, NothingToSort)
{
    Fill(1, {"b", "a"});
    G->SortSettings()->SetColumn(-1);
    G->QSort();
    EXPECT_EQ(Column(1), (V{"b", "a"}));
    G->SetRowCount(1);
    G->SortByColumn(1);
    EXPECT_EQ(G->RowCount(), 1);
    EXPECT_THROW(G->QSortIndexed(), ZEziDoroZezuz);
}

TEST_F(SortFixture, IndexedSortOnTwoKeys)
{
    Fill(1, {"x", "y", "x", "y", "x"});
    Fill(2, {"1", "5", "3", "2", "2"});
    G->SortIndexes()->AddIndex(1, true);
    G->SortIndexes()->AddIndex(2, false);
    G->QSortIndexed();
    EXPECT_EQ(Column(1), (V{"x", "x", "x", "y", "y"}));
    EXPECT_EQ(Column(2), (V{"3", "2", "1", "5", "2"}));
    G->SortSettings()->SetIndexShow(true);
    EXPECT_EQ(G->SortSettings()->SaveToString(), "i;u1;d2");
}

// --- header clicks ----------------------------------------------------------------------------

TEST_F(SortFixture, ThreeClicksSortUpDownAndBack)
{
    Form.Show();
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetUndoSort(true);
    const V original{"b", "c", "a"};
    Fill(1, original);
    int clicked = -2;
    G->OnClickSort = [&](rtl::TObject*, int c) { clicked = c; };
    const gui::TPoint p = Centre(1, 0);
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_EQ(Column(1), (V{"a", "b", "c"}));
    EXPECT_EQ(clicked, 1);
    gui::sim::Click(G, p.X + 1, p.Y);
    EXPECT_EQ(Column(1), (V{"c", "b", "a"}));
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_EQ(Column(1), original);
    EXPECT_EQ(G->SortSettings()->Column(), -1);
    EXPECT_EQ(clicked, -1);
}

TEST_F(SortFixture, TheReleaseOfADoubleClickDoesNotSortAgain)
{
    Form.Show();
    G->SortSettings()->SetShow(true);
    Fill(1, {"b", "c", "a"});
    const gui::TPoint p = Centre(1, 0);
    gui::sim::DblClick(G, p.X, p.Y);
    EXPECT_EQ(Column(1), (V{"a", "b", "c"}));  // the first click's sort only
    EXPECT_EQ(G->SortSettings()->Direction(), TSortDirection::sdAscending);
    gui::sim::Click(G, p.X + 2, p.Y);  // a later click sorts again
    EXPECT_EQ(Column(1), (V{"c", "b", "a"}));
}

TEST_F(SortFixture, ATwoRowGridNeverSortsAndAColumnDragDoesNot)
{
    Form.Show();
    G->SortSettings()->SetShow(true);
    G->SetRowCount(2);
    G->SetCells(1, 1, "x");
    const gui::TPoint p = Centre(1, 0);
    gui::sim::Click(G, p.X, p.Y);
    EXPECT_EQ(G->SortSettings()->Column(), -1);

    Fill(1, {"b", "c", "a"});
    Fill(2, {"2", "3", "1"});
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goColMoving});
    const gui::TPoint q = Centre(2, 0);
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, p.X, p.Y);
    gui::sim::MouseMove(G, p.X + 20, p.Y, {gui::TShiftStateItem::ssLeft});
    gui::sim::MouseMove(G, q.X + 10, q.Y, {gui::TShiftStateItem::ssLeft});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, q.X + 10, q.Y);
    EXPECT_EQ(G->SortSettings()->Column(), -1);
    EXPECT_EQ(Column(1), (V{"2", "3", "1"}));  // the columns moved, the rows did not
}

TEST_F(SortFixture, ShiftClickAddsASecondKey)
{
    Form.Show();
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetIndexShow(true);
    Fill(1, {"x", "y", "x"});
    Fill(2, {"2", "1", "1"});
    const gui::TPoint a = Centre(1, 0), b = Centre(2, 0);
    gui::sim::Click(G, a.X, a.Y);
    EXPECT_EQ(G->SortIndexes()->SaveToString(), "u1");
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, b.X, b.Y, {gui::TShiftStateItem::ssShift});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, b.X, b.Y, {gui::TShiftStateItem::ssShift});
    EXPECT_EQ(G->SortIndexes()->SaveToString(), "u1;u2");
    EXPECT_EQ(Column(2), (V{"1", "2", "1"}));
    gui::sim::MouseDown(G, gui::TMouseButton::mbLeft, b.X, b.Y, {gui::TShiftStateItem::ssShift});
    gui::sim::MouseUp(G, gui::TMouseButton::mbLeft, b.X, b.Y, {gui::TShiftStateItem::ssShift});
    EXPECT_EQ(G->SortIndexes()->SaveToString(), "u1;d2");
    EXPECT_EQ(Column(2), (V{"2", "1", "1"}));
    gui::sim::Click(G, b.X, b.Y);  // a plain click replaces the list
    EXPECT_EQ(G->SortIndexes()->SaveToString(), "u2");
    EXPECT_EQ(G->SortSettings()->Column(), 2);
}

// --- sorting with keys read once ------------------------------------------------------------

// A plain grid sorts with its key cells read once before the sort; a grid
// with a format handler (one that changes nothing) still compares cell by
// cell.  Both must end in the same order, with the same comparison count,
// whatever the settings and the data (numbers, words in mixed case, blanks,
// dates, times, many ties, cells with properties).
TEST(SortKeys, SameOrderAndComparisonsAsTheCellByCellComparison)
{
    struct TCase {
        const char* name;
        bool autoFormat, ignoreCase, ignoreBlanks, blanksLast, singleColumn, full, props, descending;
        int column;       // -1: the indexed sort on columns 3 (ascending) and 1 (descending)
    };
    const TCase cases[] = {
        {"numbers and words, automatic", true, false, false, false, false, true, false, false, 1},
        {"descending, ignoring case", true, true, false, false, false, true, false, true, 1},
        {"words, many ties", true, false, false, false, false, true, false, false, 3},
        {"no tie-break columns", true, false, false, false, false, false, false, false, 3},
        {"alphabetic, blanks last", false, false, true, true, false, true, false, false, 2},
        {"alphabetic without case, blanks first", false, true, true, false, false, true, false, true, 2},
        {"dates and times", true, false, false, false, false, true, false, false, 4},
        {"cells with properties", true, false, false, false, false, true, true, false, 1},
        {"one column only", true, false, false, false, true, true, false, false, 1},
        {"indexed on two keys", true, false, false, false, false, true, false, false, -1},
        {"indexed, with properties", true, true, false, false, false, true, true, false, -1},
    };
    const char* words[] = {"alpha", "Bravo", "charlie", "ALPHA", "", "delta", "Echo", "bravo"};
    const std::string ds(1, rtl::FormatSettings().DateSeparator), ts(1, rtl::FormatSettings().TimeSeparator);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        gui::TForm form{nullptr};
        TExStringGrid* grids[2];
        for (TExStringGrid*& g : grids) {
            g = new TExStringGrid(&form);
            g->SetParent(&form);
            g->SetColCount(6);
            g->SetRowCount(401);
            uint32_t seed = 7;
            auto next = [&seed] {
                seed = seed * 1103515245u + 12345u;
                return (seed >> 8) & 0xFFFF;
            };
            for (int r = 1; r <= 400; ++r) {
                const uint32_t v = next();
                g->SetCells(0, r, std::to_string(r));
                // Numbers (some equal, some negative or decimal), now and then a word or a blank.
                g->SetCells(1, r, v % 13 == 0   ? std::string(words[v % 8])
                                  : v % 5 == 0  ? "-" + std::to_string(v % 50)
                                                : std::to_string(v % 90) + (v % 3 ? "" : ".5"));
                g->SetCells(2, r, words[next() % 8] + std::string(next() % 2 ? " x" : ""));
                g->SetCells(3, r, words[next() % 4]);
                const uint32_t d = next();
                g->SetCells(4, r, d % 3 == 0   ? std::to_string(1 + d % 28) + ds + std::to_string(1 + d % 12) + ds + "2024"
                                  : d % 3 == 1 ? std::to_string(d % 24) + ts + std::to_string(10 + d % 50)
                                               : std::string(words[d % 8]));
                g->SetCells(5, r, std::to_string(next() % 7));
                if (c.props && r % 17 == 0) g->GetCellProperties(c.column < 0 ? 3 : c.column, r)->SetBrushColor(0xFF00);
            }
            TSortSettings* ss = g->SortSettings();
            ss->SetAutoFormat(c.autoFormat);
            ss->SetIgnoreCase(c.ignoreCase);
            ss->SetIgnoreBlanks(c.ignoreBlanks);
            ss->SetBlankPos(c.blanksLast ? TSortBlankPosition::blLast : TSortBlankPosition::blFirst);
            ss->SetSingleColumn(c.singleColumn);
            ss->SetFull(c.full);
        }
        grids[1]->OnGetFormat = [](rtl::TObject*, int, TSortStyle&, std::string&, std::string&) {};
        for (TExStringGrid* g : grids) {
            if (c.column >= 0) {
                g->Sort(c.column, c.descending ? TSortDirection::sdDescending : TSortDirection::sdAscending);
            } else {
                g->SortIndexes()->AddIndex(3, true);
                g->SortIndexes()->AddIndex(1, false);
                g->QSortIndexed();
            }
        }
        EXPECT_EQ(grids[0]->Compares(), grids[1]->Compares());
        for (int col = 0; col < 6; ++col)
            for (int r = 0; r <= 400; ++r)
                ASSERT_EQ(grids[0]->Cells(col, r), grids[1]->Cells(col, r)) << "column " << col << ", row " << r;
        if (c.props) {
            for (int r = 1; r <= 400; ++r)
                ASSERT_EQ(grids[0]->Objects(c.column < 0 ? 3 : c.column, r) != nullptr,
                          grids[1]->Objects(c.column < 0 ? 3 : c.column, r) != nullptr)
                    << "row " << r;
        }
    }
}
