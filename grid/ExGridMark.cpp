// ExGrid: highlighting and marking of search text with <hi> and <e> tags,
// checking cells through the attached cell checker, and fills.  Every
// range operation walks rows outer and columns inner.
#include <random>

#include "grid/ExGrid.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/rtl/DateTime.h"

namespace grid {

namespace {
constexpr auto kGrid = htmltext::TMarkupDialect::mdGrid;
}

// ------------------------------------------------------------ text

std::string TExStringGrid::HilightText(bool doCase, const std::string& s, const std::string& text)
{
    return htmltext::InsertTagAroundMatches(kGrid, s, text, "hi", doCase);
}

std::string TExStringGrid::UnHilightText(const std::string& s) { return htmltext::RemoveTagPairs(kGrid, s, "hi"); }

std::string TExStringGrid::MarkText(bool doCase, const std::string& s, const std::string& text)
{
    return htmltext::InsertTagAroundMatches(kGrid, s, text, "e", doCase);
}

std::string TExStringGrid::UnMarkText(const std::string& s) { return htmltext::RemoveTagPairs(kGrid, s, "e"); }

// ------------------------------------------------------------ ranges

void TExStringGrid::HilightInCell(bool doCase, int aCol, int aRow, const std::string& hiText)
{
    InsertTagInRange(hiText, "hi", doCase, aCol, aRow, aCol, aRow);
}

void TExStringGrid::HilightInCol(bool doFixed, bool doCase, int aCol, const std::string& hiText)
{
    InsertTagInRange(hiText, "hi", doCase, aCol, doFixed ? 0 : FixedRows(), aCol,
                     doFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1);
}

void TExStringGrid::HilightInRow(bool doFixed, bool doCase, int aRow, const std::string& hiText)
{
    InsertTagInRange(hiText, "hi", doCase, doFixed ? 0 : FixedCols(), aRow,
                     doFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1, aRow);
}

void TExStringGrid::HilightInGrid(bool doFixed, bool doCase, const std::string& hiText)
{
    // Without the fixed cells the hidden columns are tagged too.
    if (doFixed) InsertTagInRange(hiText, "hi", doCase, 0, 0, ColCount() - 1, RowCount() - 1);
    else
        InsertTagInRange(hiText, "hi", doCase, FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                         RowCount() - FFixedFooters - 1);
}

void TExStringGrid::UnHilightInCell(int aCol, int aRow) { RemoveTagInRange("hi", aCol, aRow, aCol, aRow); }

void TExStringGrid::UnHilightInCol(bool doFixed, int aCol)
{
    RemoveTagInRange("hi", aCol, doFixed ? 0 : FixedRows(), aCol,
                     doFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1);
}

void TExStringGrid::UnHilightInRow(bool doFixed, int aRow)
{
    RemoveTagInRange("hi", doFixed ? 0 : FixedCols(), aRow,
                     (doFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1) + FNumHidden, aRow);
}

void TExStringGrid::UnHilightInGrid(bool doFixed)
{
    if (doFixed) RemoveTagInRange("hi", 0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    else
        RemoveTagInRange("hi", FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                         RowCount() - FFixedFooters - 1);
}

void TExStringGrid::MarkInCell(bool doCase, int aCol, int aRow, const std::string& hiText)
{
    InsertTagInRange(hiText, "e", doCase, aCol, aRow, aCol, aRow);
}

void TExStringGrid::MarkInCol(bool doFixed, bool doCase, int aCol, const std::string& hiText)
{
    InsertTagInRange(hiText, "e", doCase, aCol, doFixed ? 0 : FixedRows(), aCol,
                     doFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1);
}

void TExStringGrid::MarkInRow(bool doFixed, bool doCase, int aRow, const std::string& hiText)
{
    InsertTagInRange(hiText, "e", doCase, doFixed ? 0 : FixedCols(), aRow,
                     doFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1, aRow);
}

void TExStringGrid::MarkInGrid(bool doFixed, bool doCase, const std::string& hiText)
{
    if (doFixed) InsertTagInRange(hiText, "e", doCase, 0, 0, ColCount() - 1, RowCount() - 1);
    else
        InsertTagInRange(hiText, "e", doCase, FixedCols(), FixedRows(), ColCount() - FFixedRightCols - 1,
                         RowCount() - FFixedFooters - 1);
}

void TExStringGrid::UnMarkInCell(int aCol, int aRow) { RemoveTagInRange("e", aCol, aRow, aCol, aRow); }

void TExStringGrid::UnMarkInCol(bool doFixed, int aCol)
{
    RemoveTagInRange("e", aCol, doFixed ? 0 : FixedRows(), aCol,
                     doFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1);
}

void TExStringGrid::UnMarkInRow(bool doFixed, int aRow)
{
    RemoveTagInRange("e", doFixed ? 0 : FixedCols(), aRow,
                     (doFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1) + FNumHidden, aRow);
}

void TExStringGrid::UnMarkInGrid(bool doFixed)
{
    if (doFixed) RemoveTagInRange("e", 0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    else
        RemoveTagInRange("e", FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                         RowCount() - FFixedFooters - 1);
}

// ------------------------------------------------------------ checking

void TExStringGrid::SetCellChecker(gridbase::TExStringGridCheck* v)
{
    if (FCellChecker == v) return;
    if (FCellChecker) FCellChecker->RemoveFreeNotification(this);
    FCellChecker = v;
    if (v) v->FreeNotification(this);
}

bool TExStringGrid::CheckCell(int aCol, int aRow)
{
    if (!FCellChecker) return true;
    const std::string orig = GetCellText(aCol, aRow);
    if (FCellChecker->GotoCell()) MoveColRow(aCol, aRow, true, true);
    std::string s = orig;
    if (FCellChecker->UseCorrect()) s = FCellChecker->Correct(aCol, aRow, orig);
    if (FCellChecker->UseMarkError()) s = FCellChecker->MarkError(aCol, aRow, orig);
    SetCellText(aCol, aRow, s);
    return s == orig;
}

bool TExStringGrid::CheckCells(int fromCol, int fromRow, int toCol, int toRow)
{
    if (!FCellChecker) return true;
    FCellChecker->StartCheck();
    const int col = Col(), row = Row();
    bool all = true;
    for (int r = fromRow; r <= toRow; ++r)
        for (int c = fromCol; c <= toCol; ++c)
            if (!CheckCell(c, r)) all = false;
    FCellChecker->StopCheck();
    if (FCellChecker->GotoCell()) MoveColRow(col, row, true, true);
    return all;
}

bool TExStringGrid::CheckCol(bool doFixed, int aCol)
{
    return CheckCells(aCol, doFixed ? 0 : FixedRows(), aCol, doFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1);
}

bool TExStringGrid::CheckRow(bool doFixed, int aRow)
{
    return CheckCells(doFixed ? 0 : FixedCols(), aRow, doFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1,
                      aRow);
}

bool TExStringGrid::CheckGrid(bool doFixed)
{
    if (doFixed) return CheckCells(0, 0, ColCount() - 1, RowCount() - 1);
    return CheckCells(FixedCols(), FixedRows(), ColCount() - FFixedRightCols - 1, RowCount() - FFixedFooters - 1);
}

// ------------------------------------------------------------ fills

namespace {
template <typename F>
void FillRange(TExStringGrid& g, bool doFixed, int fixedCols, int fixedRows, int rightCols, int footers, F&& f)
{
    const int c0 = doFixed ? 0 : fixedCols, r0 = doFixed ? 0 : fixedRows;
    const int c1 = doFixed ? g.ColCount() - 1 : g.ColCount() - rightCols - 1;
    const int r1 = doFixed ? g.RowCount() - 1 : g.RowCount() - footers - 1;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) f(c, r);
}
} // namespace

void TExStringGrid::TextFill(bool doFixed, const std::string& txt)
{
    FillRange(*this, doFixed, FixedCols(), FixedRows(), FFixedRightCols, FFixedFooters,
              [&](int c, int r) { SetCellText(c, r, txt); });
    AllCellsChanged();
}

void TExStringGrid::RandomFill(bool doFixed, int rnd)
{
    static std::mt19937 gen{std::random_device{}()};
    FillRange(*this, doFixed, FixedCols(), FixedRows(), FFixedRightCols, FFixedFooters, [&](int c, int r) {
        SetCellInteger(c, r, rnd > 0 ? static_cast<int>(gen() % static_cast<unsigned>(rnd)) : 0);
    });
    AllCellsChanged();
}

void TExStringGrid::LinearFill(bool doFixed)
{
    FillRange(*this, doFixed, FixedCols(), FixedRows(), FFixedRightCols, FFixedFooters,
              [&](int c, int r) { SetCellText(c, r, std::to_string(c) + ":" + std::to_string(r)); });
    AllCellsChanged();
}

void TExStringGrid::SetDates(int aCol, int aRow, double value)
{
    if (value > 0 || ShowNullDates()) SetCellText(aCol, aRow, rtl::DateToStr(value));
    else SetCellText(aCol, aRow, "");
}

} // namespace grid
