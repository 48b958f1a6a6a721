// ExGrid: the selection model: the platform grid's selection rectangle
// beside disjunct row and column flags, the selected counts the program
// walks, the selection as text, and the per-row modified marks.
#include <algorithm>
#include <cstdlib>

#include "grid/ExGrid.h"

namespace grid {

namespace {

void Grow(std::vector<char>& flags, int index)
{
    if (static_cast<int>(flags.size()) < index + 1) flags.resize(static_cast<std::size_t>(index) + 1, 0);
}

} // namespace

bool TExStringGrid::GetRowSelect(int aRow) const
{
    if (aRow < 0 || aRow >= RowCount() + NumHiddenRows()) throw ZEziDoroZezuz("Invalid row accessed");
    if (FMouseActions->DisjunctRowSelect()) {
        Grow(FRowSelect, aRow);
        return FRowSelect[static_cast<std::size_t>(aRow)] != 0;
    }
    const gui::TGridRect sel = Selection();
    return aRow >= std::min(sel.Top, sel.Bottom) && aRow <= std::max(sel.Top, sel.Bottom);
}

void TExStringGrid::SetRowSelect(int aRow, bool value)
{
    if (aRow < 0 || aRow >= RowCount() + NumHiddenRows()) throw ZEziDoroZezuz("Invalid row accessed");
    bool allow = true;
    if (OnRowDisjunctSelect) OnRowDisjunctSelect(this, aRow, value, allow);
    if (!allow) return;
    Grow(FRowSelect, aRow);
    char& flag = FRowSelect[static_cast<std::size_t>(aRow)];
    if (value) {
        if (!flag) RepaintRow(aRow);
        flag = 1;
        if (std::find(FSelectedRows.begin(), FSelectedRows.end(), aRow) == FSelectedRows.end())
            FSelectedRows.push_back(aRow);
    } else {
        if (flag) RepaintRow(aRow);
        flag = 0;
        FSelectedRows.erase(std::remove(FSelectedRows.begin(), FSelectedRows.end(), aRow), FSelectedRows.end());
    }
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, aRow);
}

bool TExStringGrid::GetColSelect(int aCol) const
{
    if (aCol < 0 || aCol >= ColCount()) throw ZEziDoroZezuz("Invalid column accessed");
    Grow(FColSelect, aCol);
    return FColSelect[static_cast<std::size_t>(aCol)] != 0;
}

void TExStringGrid::SetColSelect(int aCol, bool value)
{
    if (aCol < 0 || aCol >= ColCount()) throw ZEziDoroZezuz("Invalid column accessed");
    Grow(FColSelect, aCol);
    char& flag = FColSelect[static_cast<std::size_t>(aCol)];
    if ((flag != 0) != value) RepaintCol(aCol);
    flag = value ? 1 : 0;
}

void TExStringGrid::SelectRows(int rowIndex, int rCount)
{
    if (!FMouseActions->DisjunctRowSelect()) {
        SetSelection({TBaseGrid::FixedCols(), rowIndex, ColCount() - 1, rowIndex + rCount - 1});
        return;
    }
    for (int i = 0; i < rCount; ++i) {
        const int r = FMouseActions->RowSelectPersistent() ? DisplayToRealRow(rowIndex + i) : rowIndex + i;
        if (r < RowCount()) SetRowSelect(r, true);
    }
}

void TExStringGrid::UnSelectRows(int rowIndex, int rCount)
{
    if (!FMouseActions->DisjunctRowSelect()) return;
    for (int i = 0; i < rCount; ++i) {
        const int r = FMouseActions->RowSelectPersistent() ? DisplayToRealRow(rowIndex + i) : rowIndex + i;
        if (r < RowCount()) SetRowSelect(r, false);
    }
}

void TExStringGrid::SelectCols(int colIndex, int cCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        SetSelection({colIndex, TBaseGrid::FixedRows(), colIndex + cCount - 1, RowCount() - 1});
        return;
    }
    for (int c = colIndex; c < colIndex + cCount; ++c)
        if (c < ColCount()) SetColSelect(c, true);
}

void TExStringGrid::UnSelectCols(int colIndex, int cCount)
{
    if (!FMouseActions->DisjunctColSelect()) return;
    for (int c = colIndex; c < colIndex + cCount; ++c)
        if (c < ColCount()) SetColSelect(c, false);
}

void TExStringGrid::SelectRange(int fromCol, int toCol, int fromRow, int toRow)
{
    SetRow(toRow);
    SetCol(toCol);
    SetSelection({fromCol, fromRow, toCol, toRow});
}

void TExStringGrid::SelectCells(int fromCol, int fromRow, int toCol, int toRow)
{
    SetSelection({fromCol, fromRow, toCol, toRow});
}

void TExStringGrid::ClearRowSelect()
{
    for (std::size_t r = 0; r < FRowSelect.size(); ++r)
        if (FRowSelect[r]) {
            FRowSelect[r] = 0;
            RepaintRow(static_cast<int>(r));
        }
    FSelectedRows.clear();
}

void TExStringGrid::ClearColSelect()
{
    for (std::size_t c = 0; c < FColSelect.size(); ++c)
        if (FColSelect[c]) {
            FColSelect[c] = 0;
            RepaintCol(static_cast<int>(c));
        }
}

void TExStringGrid::MarkSelectedRows(bool clearOthers)
{
    const gui::TGridRect sel = Selection();
    const int top = std::min(sel.Top, sel.Bottom), bottom = std::max(sel.Top, sel.Bottom);
    // Without clearing, only the rows of the rectangle are visited.
    const int first = clearOthers ? TBaseGrid::FixedRows() : std::max(top, TBaseGrid::FixedRows());
    const int last = clearOthers ? RowCount() - 1 : std::min(bottom, RowCount() - 1);
    for (int r = first; r <= last; ++r) {
        const int rr = FMouseActions->RowSelectPersistent() ? DisplayToRealRow(r) : r;
        if (r >= top && r <= bottom) SetRowSelect(rr, true);
        else if (clearOthers) SetRowSelect(rr, false);
    }
}

bool TExStringGrid::IsSelected(int aCol, int aRow) const
{
    if (aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows()) return false;
    if (FMouseActions->DisjunctRowSelect())
        return GetRowSelect(FMouseActions->RowSelectPersistent() ? DisplayToRealRow(aRow) : aRow);
    if (FMouseActions->DisjunctColSelect()) return aCol < ColCount() && GetColSelect(aCol);
    return Selection().Contains(aCol, aRow);
}

// ------------------------------------------------------------------ counts

int TExStringGrid::SelectedRowCount() const
{
    if (FMouseActions->DisjunctRowSelect()) return static_cast<int>(FSelectedRows.size());
    const gui::TGridRect sel = Selection();
    const int t = sel.Top, b = sel.Bottom, l = sel.Left;
    const int spanTop = IsMergedCell(l, t) ? CellSpan(l, t).Y : 0;
    if (IsMergedCell(l, t)) return t + spanTop > b ? spanTop + 1 : std::abs(t - b) + 1;
    if (IsMergedCell(l, b)) return std::abs(t - b) + CellSpan(l, b).Y + 1;
    return std::abs(t - b) + 1;
}

int TExStringGrid::NthSelectedRow(int index) const
{
    if (FMouseActions->DisjunctRowSelect())
        return index >= 0 && index < static_cast<int>(FSelectedRows.size()) ? FSelectedRows[index] : -1;
    const gui::TGridRect sel = Selection();
    const int t = std::min(sel.Top, sel.Bottom), b = std::max(sel.Top, sel.Bottom);
    return index >= 0 && t + index <= b ? t + index : -1;
}

int TExStringGrid::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect()) {
        const int n = std::min(RowCount() + NumHiddenRows(), static_cast<int>(FRowSelect.size()));
        return static_cast<int>(std::count(FRowSelect.begin(), FRowSelect.begin() + n, 1));
    }
    const gui::TGridRect sel = Selection();
    return std::abs(sel.Bottom - sel.Top) + 1;
}

int TExStringGrid::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), 1));
    const gui::TGridRect sel = Selection();
    return sel.Right - sel.Left + 1;
}

int TExStringGrid::SelectedColCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), 1));
    const gui::TGridRect sel = Selection();
    const int l = sel.Left, r = sel.Right, t = sel.Top;
    if (IsMergedCell(l, t)) {
        const int span = CellSpan(l, t).X;
        return l + span > r ? span + 1 : std::abs(l - r) + 1;
    }
    if (IsMergedCell(r, t)) return std::abs(l - r) + CellSpan(r, t).X + 1;
    return std::abs(l - r) + 1;
}

// The selection; with goRowSelect and OleEntireRows whole rows.
static gui::TGridRect TextRect(TExStringGrid& g)
{
    gui::TGridRect sel = g.Selection();
    if (g.Options().Contains(gui::TGridOption::goRowSelect) && g.DragDropSettings()->OleEntireRows()) {
        sel.Left = 0;
        sel.Right = g.ColCount() - 1;
    }
    return sel;
}

// A cell's text as it goes into the selection's text: rich text as its
// plain text, multi-line text quoted for spreadsheets when they are served.
std::string TExStringGrid::SelectedCellText(int aCol, int aRow)
{
    std::string cell = GetCellText(RealColIndex(aCol), aRow);
    if (cell.find("{\\") != std::string::npos) {
        CellToRich(RealColIndex(aCol), aRow, RichEdit());
        cell = RichEdit()->PlainText();
    }
    if (gridbase::CountTextLines(cell, FMultilinecells) > 1 && ExcelClipboardFormat()) gridbase::QuoteWithVTBreaks(cell);
    return cell;
}

std::string TExStringGrid::SelectedText()
{
    const gui::TGridRect sel = TextRect(*this);
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(FMouseActions->RowSelectPersistent() ? DisplayToRealRow(r) : r)) rows.push_back(r);
    } else {
        for (int r = sel.Top; r <= sel.Bottom; ++r) rows.push_back(r);
    }
    std::string text;
    for (int r : rows) {
        for (int c = sel.Left; c <= sel.Right; ++c) {
            text += SelectedCellText(c, r);
            if (c != sel.Right) text += '\t';
        }
        if (r != sel.Bottom) text += "\r\n";
    }
    return text;
}

// ----------------------------------------------------------- modified rows

void TExStringGrid::SetRowModified(int aRow, bool value)
{
    if (aRow < 0) return;
    Grow(FModifiedRows, aRow);
    FModifiedRows[static_cast<std::size_t>(aRow)] = value ? 1 : 0;
    RepaintCell(0, aRow);
}

bool TExStringGrid::GetRowModified(int aRow) const
{
    return aRow >= 0 && aRow < static_cast<int>(FModifiedRows.size()) && FModifiedRows[aRow] == 1;
}

int TExStringGrid::ModifiedRowCount() const
{
    return static_cast<int>(std::count(FModifiedRows.begin(), FModifiedRows.end(), 1));
}

void TExStringGrid::ClearModifiedRows()
{
    FModifiedRows.clear();
    Invalidate();
}

} // namespace grid
