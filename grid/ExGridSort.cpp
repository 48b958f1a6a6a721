// Sorting of TExStringGrid: the row exchange, the sort keys read once
// before a sort, the quicksorts by one column, by the sort index list and
// inside groups, and the frame that brackets them.  The comparison is in
// ExGridSortCompare.cpp, the restore of the unsorted order in
// ExGridUnSort.cpp, header clicks in ExGridSortHeader.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include "grid/ExGrid.h"
#include "grid/ExGridSortText.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

using namespace sorttext;

// --- the row exchange ---------------------------------------------------------------

void TExStringGrid::InitSortXRef()
{
    FSortRowXRef.resize(static_cast<std::size_t>(RowCount()));
    for (int i = 0; i < RowCount(); ++i) FSortRowXRef[static_cast<std::size_t>(i)] = i;
}

void TExStringGrid::SortSwapRows(int aRow1, int aRow2)
{
    ++FSwaps;
    if (aRow1 == aRow2) return;
    const int n = static_cast<int>(FSortRowXRef.size());
    if (aRow1 >= 0 && aRow2 >= 0 && aRow1 < n && aRow2 < n)
        std::swap(FSortRowXRef[static_cast<std::size_t>(aRow1)], FSortRowXRef[static_cast<std::size_t>(aRow2)]);
    if (FSortSettings->SingleColumn()) {
        const int c = RealColIndex(FSortSettings->Column());
        const std::string s1 = GetRawCellText(c, aRow1);
        rtl::TObject* o1 = GetRawObject(c, aRow1);
        rtl::TObject* o2 = GetRawObject(c, aRow2);
        SetRawCellText(c, aRow1, GetRawCellText(c, aRow2));
        SetRawCellText(c, aRow2, s1);
        SetRawObject(c, aRow1, o2);
        SetRawObject(c, aRow2, o1);
    } else {
        // Texts and objects of every stored column change places at once;
        // the property records learn their new row.
        ExchangeRowData(aRow1, aRow2);
        if (HasCellProps()) {
            const int cols = StoreColCount();
            for (int c = 0; c < cols; ++c) {
                if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow1))) p->SetOwnerRow(aRow1);
                if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow2))) p->SetOwnerRow(aRow2);
            }
        }
        const int h1 = RowHeights(aRow1), h2 = RowHeights(aRow2);
        if (h1 != h2) {
            SetRowHeights(aRow1, h2);
            SetRowHeights(aRow2, h1);
        }
        if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
            const int a = NumHiddenRows() > 0 ? DisplayToRealRow(aRow1) : aRow1;
            const int b = NumHiddenRows() > 0 ? DisplayToRealRow(aRow2) : aRow2;
            const std::size_t need = static_cast<std::size_t>(std::max(a, b)) + 1;
            if (FRowSelect.size() < need) FRowSelect.resize(need, 0);
            std::swap(FRowSelect[static_cast<std::size_t>(a)], FRowSelect[static_cast<std::size_t>(b)]);
        }
        if (FShowModified->Enabled()) {
            const std::size_t need = static_cast<std::size_t>(std::max(aRow1, aRow2)) + 1;
            if (FModifiedRows.size() < need) FModifiedRows.resize(need, 0);
            std::swap(FModifiedRows[static_cast<std::size_t>(aRow1)], FModifiedRows[static_cast<std::size_t>(aRow2)]);
        }
    }
    if (FSortRow == aRow1) FSortRow = aRow2;
    else if (FSortRow == aRow2) FSortRow = aRow1;
}

// --- sort keys --------------------------------------------------------------------------

namespace {

// What CompareCells reads of one cell, read once before a sort: the text
// and what the comparisons derive from it.  The keys stand by row position
// and move with the rows, so that a comparison touches neither the cell
// store nor the number parser.
struct TSortKey {
    std::string Text;
    std::string Upper;     // AnsiUpperCase(Text), when case is ignored
    double Number = 0;     // SortNumber's value, 0 when the text does not convert
    bool NumberOk = false;
    bool IsNumber = false; // the text classifies as a number (automatic style)
    bool DateLike = false; // automatic style might take it for a date or time
    bool Slow = false;     // a cell with properties: CompareCells decides
};

struct TSortKeys {
    bool Automatic = false;
    bool IgnoreCase = false;
    std::vector<std::vector<TSortKey>> Columns;

    bool Has(std::size_t slot) const { return slot < Columns.size(); }
    const TSortKey& At(std::size_t slot, int row) const { return Columns[slot][static_cast<std::size_t>(row)]; }

    void Read(TExStringGrid& g, const std::vector<int>& cols, int left, int right, int pivot)
    {
        const TSortSettings& ss = *g.SortSettings();
        Automatic = ss.AutoFormat();
        IgnoreCase = ss.IgnoreCase();
        const rtl::TFormatSettings& fs = rtl::FormatSettings();
        Columns.assign(cols.size(), std::vector<TSortKey>(static_cast<std::size_t>(std::max(0, g.RowCount()))));
        for (std::size_t k = 0; k < cols.size(); ++k) {
            const int col = cols[k];
            for (int row = left; row <= right; ++row) {
                TSortKey& key = Columns[k][static_cast<std::size_t>(row)];
                // The plain branch of SortCellData.
                rtl::TObject* object = nullptr;
                const bool inside = col >= 0 && row >= 0 && col < g.StoreColCount() && row < g.RowCount();
                const std::string* stored = inside ? g.FindCellData(col, row, object) : nullptr;
                if (object && dynamic_cast<TCellProperties*>(object)) {
                    key.Slow = true;
                    continue;
                }
                if (stored) key.Text = *stored;
                if (IgnoreCase) key.Upper = rtl::AnsiUpperCase(key.Text);
                if (!Automatic) continue;
                key.IsNumber = IsNumberClass(gridbase::ClassifyNumberText(key.Text));
                double v = 0;
                key.NumberOk = SortNumber(key.Text, std::string(), std::string(), false, v);
                key.Number = key.NumberOk ? v : 0;
                const std::size_t dp = key.Text.find(fs.DateSeparator);
                key.DateLike = dp == 1 || dp == 2 ? SeparatorLooksLikeDateOrTime(key.Text, fs.DateSeparator)
                                                  : SeparatorLooksLikeDateOrTime(key.Text, fs.TimeSeparator);
            }
            if (pivot >= 0 && pivot < g.RowCount()) Columns[k][static_cast<std::size_t>(pivot)].Slow = true;
        }
    }
    void Swap(int a, int b)
    {
        for (auto& column : Columns) std::swap(column[static_cast<std::size_t>(a)], column[static_cast<std::size_t>(b)]);
    }
    void Copy(int from, int to)
    {
        for (auto& column : Columns) column[static_cast<std::size_t>(to)] = column[static_cast<std::size_t>(from)];
    }
};

// Whether CompareCells on this column depends only on the stored texts,
// so that keys read before the sort give its results: no handler or
// descendant supplies texts or formats, and rows swap the column's cells.
bool SortKeysUsable(TExStringGrid& g, int col)
{
    if (typeid(g) != typeid(TExStringGrid)) return false;
    if (g.OnGetFormat || g.OnGetDisplText || g.OnGetDisplWideText || g.VirtualCells()) return false;
    if (col < 0 || col >= g.StoreColCount()) return false;
    if (col == 0 && g.MouseActions()->HotmailRowSelect()) return false;
    if (col == 1 && g.Grouping()->ShowGroupCount() && g.NumNodes() > 0) return false;
    const TSortSettings& ss = *g.SortSettings();
    if (ss.SingleColumn() && g.RealColIndex(ss.Column()) != col) return false;
    return true;
}

// CompareCells(col, a, b, direction) from the keys, into r; false (and
// nothing counted) for cells the keys cannot decide: with properties, or
// possibly dates or times.
bool CompareKeyed(const TExStringGrid& g, const TSortKeys& keys, std::size_t slot, int a, int b,
                  TSortDirection direction, int& r)
{
    const TSortKey& k1 = keys.At(slot, a);
    const TSortKey& k2 = keys.At(slot, b);
    const TSortSettings& ss = *g.SortSettings();
    if (k1.Slow || k2.Slow || ss.AutoFormat() != keys.Automatic || ss.IgnoreCase() != keys.IgnoreCase ||
        (keys.Automatic && !k1.IsNumber && k1.DateLike))
        return false;
    if (keys.Automatic && k1.IsNumber) {
        r = !k1.NumberOk && !k2.NumberOk ? 0 : Sign(k1.Number, k2.Number);
    } else if (keys.IgnoreCase) {
        r = Sign(k1.Upper.compare(k2.Upper));
        if (r == 0) r = Sign(k1.Text.compare(k2.Text));
    } else {
        r = Sign(k1.Text.compare(k2.Text));
    }
    if (ss.IgnoreBlanks()) {
        const bool last = ss.BlankPos() == TSortBlankPosition::blLast;
        const int s = direction == TSortDirection::sdAscending ? 1 : -1;
        if (k1.Text.empty() && !k2.Text.empty()) r = (last ? 1 : -1) * s;
        else if (k2.Text.empty() && !k1.Text.empty()) r = (last ? -1 : 1) * s;
    }
    return true;
}

// The moves of a sort with keys: the keys follow the row swaps, and the
// pivot row's cells are copied only when a comparison needs them (keys
// decide most without).  Until then the partition's swaps are followed,
// so that the copy takes the row that was chosen.  Without keys, or when a
// swap moves only the sorted column, the copy is made at once.
struct TKeyedMoves {
    TSortKeys& Keys;
    const std::function<void(int)> CopyRow;  // CopyToPivotRow
    const int Row;                           // the pivot row
    const bool Lazy;
    // Whether a row compares equal in every column to an exact copy of
    // itself: no cell properties, no handlers and no row check boxes.
    const bool CopyEqual;
    int Source = -1;
    bool Pending = false;

    TKeyedMoves(const TExStringGrid& g, TSortKeys& keys, std::function<void(int)> copyRow)
        : Keys(keys), CopyRow(std::move(copyRow)), Row(g.RowCount() - 2),
          Lazy(keys.Has(0) && !g.SortSettings()->SingleColumn()),
          CopyEqual(Lazy && !g.HasCellProps() && !g.MouseActions()->HotmailRowSelect())
    {
    }
    void ChoosePivot(int source)
    {
        Pending = Lazy;
        Source = source;
        if (!Lazy) CopyRow(source);
        Keys.Copy(source, Row);
    }
    // After the grid swapped rows i and j.
    void Swapped(int i, int j)
    {
        Keys.Swap(i, j);
        if (!Pending) return;
        if (Source == i) Source = j;
        else if (Source == j) Source = i;
    }
    // Rows a and b are the pivot and the row it copies, in either order.
    bool Copies(int a, int b) const
    {
        return CopyEqual && Pending && ((a == Row && b == Source) || (b == Row && a == Source));
    }
    // Before a comparison that reads cells of rows a and b.
    void Need(int a, int b)
    {
        if (Pending && (a == Row || b == Row)) {
            Pending = false;
            CopyRow(Source);
        }
    }
    // One column's comparison of rows a and b: from the keys in slot (-1:
    // none) when they decide it, counted in compares; else cells(), the
    // cells' comparison, once the pivot row holds its cells.
    template <typename Cells>
    int Column(const TExStringGrid& g, int slot, int a, int b, TSortDirection direction, int& compares,
               const Cells& cells)
    {
        int r = 0;
        if (slot >= 0 && CompareKeyed(g, Keys, static_cast<std::size_t>(slot), a, b, direction, r)) {
            ++compares;
            return r;
        }
        Need(a, b);
        return cells();
    }
};

} // namespace

// --- quicksort ------------------------------------------------------------------------

// The pivot row is the second of the three scratch rows below the normal rows.
void TExStringGrid::CopyToPivotRow(int aRow)
{
    const int pivot = RowCount() - 2;
    const int cols = StoreColCount();
    const bool display = (OnGetDisplText || VirtualCells()) && FSortSettings->SortOnVirtualCells();
    for (int c = 0; c < cols; ++c) {
        SetRawCellText(c, pivot, display ? GetCellText(c, aRow) : GetRawCellText(c, aRow));
        SetRawObject(c, pivot, GetRawObject(c, aRow));
    }
}

// Hoare partitioning around the middle row, copied into the pivot row.
// The smaller part is sorted by a nested call and the larger one by the
// loop, so that the nesting stays below log2 of the row count.
template <typename TBefore>
static void QuickSortLoop(TExStringGrid& g, int left, int right, bool skipEqual, const TBefore& pivotAfter,
                          const TBefore& afterPivot, const std::function<bool(int, int)>& equalRows,
                          const std::function<void(int)>& copyPivot, const std::function<void(int, int)>& swapRows)
{
    while (left < right) {
        const int pivot = g.RowCount() - 2;
        copyPivot((left + right) / 2);
        int i = left, j = right;
        do {
            while (pivotAfter(pivot, i) && i < right) ++i;
            while (afterPivot(j, pivot) && left < j) --j;
            if (i <= j) {
                if (i != j && !(skipEqual && equalRows(i, j))) swapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            if (left < j) QuickSortLoop(g, left, j, skipEqual, pivotAfter, afterPivot, equalRows, copyPivot, swapRows);
            left = i;
        } else {
            if (i < right) QuickSortLoop(g, i, right, skipEqual, pivotAfter, afterPivot, equalRows, copyPivot, swapRows);
            right = j;
        }
    }
}

void TExStringGrid::QuickSortRange(int aCol, int left, int right)
{
    FSortDir = FSortSettings->Direction() == TSortDirection::sdDescending ? -1 : 1;
    const int dir = FSortDir;
    TSortKeys keys;
    if (SortKeysUsable(*this, aCol)) keys.Read(*this, {aCol}, left, right, RowCount() - 2);
    TKeyedMoves moves(*this, keys, [this](int r) { CopyToPivotRow(r); });
    // CompareRows, the first column's cells read from the keys.
    auto compare = [&](int a, int b) {
        int col = aCol;
        if (moves.Copies(a, b)) {
            // Equal in every column: only the comparisons are counted.
            for (;; ++col) {
                if (!IsIgnoredColumn(col)) ++FCompares;
                if (!FSortSettings->Full() || col > ColCount() - 2) return 0;
            }
        }
        for (;;) {
            int r = 0;
            if (!IsIgnoredColumn(col)) {
                const TSortDirection direction = FSortSettings->Direction();
                r = moves.Column(*this, col == aCol && keys.Has(0) ? 0 : -1, a, b, direction, FCompares,
                                 [&] { return CompareCells(col, a, b, direction); });
            }
            if (r != 0 || !FSortSettings->Full() || col > ColCount() - 2) return r;
            ++col;
        }
    };
    auto pivotAfter = [&compare, dir](int p, int i) { return compare(p, i) == dir; };
    auto afterPivot = [&compare, dir](int j, int p) { return compare(j, p) == dir; };
    QuickSortLoop(*this, left, right, true, std::function<bool(int, int)>(pivotAfter),
                  std::function<bool(int, int)>(afterPivot), [&compare](int i, int j) { return compare(i, j) == 0; },
                  [&moves](int r) { moves.ChoosePivot(r); },
                  [this, &moves](int i, int j) {
                      SortSwapRows(i, j);
                      moves.Swapped(i, j);
                  });
}

void TExStringGrid::QuickSortIndexedRange(int left, int right)
{
    FSortDir = FSortSettings->Direction() == TSortDirection::sdDescending ? -1 : 1;
    // The index entries' columns and directions; keys for the columns
    // that allow them.
    std::vector<int> cols;
    std::vector<bool> descending;
    for (int depth = 0; depth < FSortIndexes->Count(); ++depth) {
        const uint32_t entry = static_cast<uint32_t>(FSortIndexes->Items(depth));
        cols.push_back(static_cast<int>(entry & gridbase::TSortIndexList::cColumnMask));
        descending.push_back((entry & gridbase::TSortIndexList::cDescendingBit) != 0);
    }
    std::vector<int> keyed;
    for (int col : cols)
        if (SortKeysUsable(*this, col) && std::find(keyed.begin(), keyed.end(), col) == keyed.end())
            keyed.push_back(col);
    TSortKeys keys;
    if (!keyed.empty()) keys.Read(*this, keyed, left, right, RowCount() - 2);
    std::vector<int> slot(cols.size(), -1);
    for (std::size_t d = 0; d < cols.size(); ++d)
        for (std::size_t k = 0; k < keyed.size(); ++k)
            if (keyed[k] == cols[d]) slot[d] = static_cast<int>(k);
    TKeyedMoves moves(*this, keys, [this](int r) { CopyToPivotRow(r); });
    // CompareRowsIndexed(0, a, b) == 1, with the keys.
    auto after = [&](int a, int b) {
        if (moves.Copies(a, b)) {
            // Equal in every column: only the comparisons are counted.
            for (int col : cols) {
                if (!IsIgnoredColumn(col)) ++FCompares;
                if (!FSortSettings->Full()) return false;
            }
            return false;
        }
        for (std::size_t depth = 0; depth < cols.size(); ++depth) {
            const int col = cols[depth];
            const bool desc = descending[depth];
            const TSortDirection direction = desc ? TSortDirection::sdDescending : TSortDirection::sdAscending;
            int r = 0;
            if (!IsIgnoredColumn(col))
                r = moves.Column(*this, slot[depth], a, b, direction, FCompares,
                                 [&] { return CompareCells(col, a, b, direction); });
            if (r != 0 || !FSortSettings->Full()) return (desc ? -r : r) == 1;
        }
        return false;
    };
    QuickSortLoop(*this, left, right, false, std::function<bool(int, int)>(after),
                  std::function<bool(int, int)>(after), [](int, int) { return false; },
                  [&moves](int r) { moves.ChoosePivot(r); },
                  [this, &moves](int i, int j) {
                      SortSwapRows(i, j);
                      moves.Swapped(i, j);
                  });
}

namespace {

// Three scratch rows below the rows (the pivot row among them), taken away
// again however the sort ends.
struct TScratchRows {
    TExStringGrid& G;
    explicit TScratchRows(TExStringGrid& g) : G(g)
    {
        const int rows = G.RowCount();
        G.gui::TCustomGrid::SetRowCount(rows + 3);
        for (int r = rows; r < rows + 3; ++r) Empty(r);
        G.SetNormalRowCount(rows);
    }
    ~TScratchRows()
    {
        const int rows = G.RowCount() - 3;
        for (int r = rows; r < rows + 3; ++r) Empty(r);
        G.gui::TCustomGrid::SetRowCount(rows);
        G.SetNormalRowCount(rows);
    }
    // Objects there are only copies (or leftovers of removed rows): the
    // slots are emptied without freeing them.
    void Empty(int r)
    {
        for (int c = 0; c < G.StoreColCount(); ++c) {
            G.SetRawObject(c, r, nullptr);
            G.SetRawCellText(c, r, "");
        }
    }
};

} // namespace

void TExStringGrid::QuickSort(int aCol, int left, int right)
{
    TScratchRows scratch(*this);
    QuickSortRange(aCol, left, right);
}

void TExStringGrid::QuickSortIndexed(int left, int right)
{
    TScratchRows scratch(*this);
    QuickSortIndexedRange(left, right);
}

void TExStringGrid::SortFrame(TSortKind kind, bool indexedGroups)
{
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    if (kind == TSortKind::skColumn) FSortIndexes->Clear();
    const int rows = RowCount();
    // Column 0 of a grid with fixed columns stays with NormalCellsOnly.
    const bool keep0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    std::vector<std::string> texts0;
    std::vector<rtl::TObject*> objects0;
    if (keep0)
        for (int r = 0; r < rows; ++r) {
            texts0.push_back(GetRawCellText(0, r));
            objects0.push_back(GetRawObject(0, r));
        }
    const int top = TopRow();
    const int oldRow = Row();
    BeginUpdate();
    struct TRestore {
        TExStringGrid& G;
        std::vector<std::string>& Texts;
        std::vector<rtl::TObject*>& Objects;
        int Top;
        ~TRestore()
        {
            if (!Texts.empty()) {
                for (int r = 0; r < static_cast<int>(Texts.size()); ++r) G.SetRawObject(0, r, nullptr);
                for (int r = 0; r < static_cast<int>(Texts.size()); ++r) {
                    G.SetRawCellText(0, r, Texts[static_cast<std::size_t>(r)]);
                    G.SetRawObject(0, r, Objects[static_cast<std::size_t>(r)]);
                    if (auto* p = dynamic_cast<TCellProperties*>(Objects[static_cast<std::size_t>(r)]))
                        p->SetOwnerRow(r);
                }
            }
            if (G.Navigation()->KeepScrollOnSort()) G.SetTopRow(std::min(Top, std::max(0, G.RowCount() - 1)));
            G.EndUpdate();
        }
    } restore{*this, texts0, objects0, top};
    FSortRow = oldRow;
    const int first = FixedRows(), last = rows - FFixedFooters - 1;
    {
        TScratchRows scratch(*this);
        if (FNavigation->MoveRowOnSort()) FSortRow = oldRow;
        switch (kind) {
        case TSortKind::skColumn:
            FBlockCellChange = true;
            if (first < last) QuickSortRange(FSortSettings->Column(), first, last);
            break;
        case TSortKind::skIndexed:
            if (first < last) QuickSortIndexedRange(first, last);
            break;
        case TSortKind::skGroups: {
            int deepest = 0;
            for (int r = first; r < rows; ++r)
                if (IsNode(r)) deepest = std::max(deepest, GetNodeLevel(r));
            for (int r = first; r < rows; ++r) {
                if (!IsNode(r) || GetNodeLevel(r) != deepest || GetNodeState(r)) continue;
                const int span = GetNodeSpan(r);
                if (span < 3) continue;
                const int to = std::min(r + span - 1, last);
                if (indexedGroups) QuickSortIndexedRange(r + 1, to);
                else QuickSortRange(FSortSettings->Column(), r + 1, to);
            }
            break;
        }
        }
        FBlockCellChange = false;
    }
    const bool skipRow = kind == TSortKind::skColumn && FMouseActions->DisjunctRowSelect();
    if (!skipRow) {
        const bool entered = FEntered;
        FEntered = false;
        if (FNavigation->MoveRowOnSort()) {
            if (FSortRow >= 0 && FSortRow < RowCount()) SetRow(FSortRow);
            FOldRowSel = -1;
        } else if (oldRow >= 0 && oldRow < RowCount()) {
            SetRow(oldRow);
        }
        FEntered = entered;
    }
    if (kind == TSortKind::skColumn && OnRowChanged && !FNavigation->MoveRowOnSort())
        OnRowChanged(this, oldRow, Row());
}

void TExStringGrid::QSort()
{
    if (FSortSettings->Column() < 0) return;
    SortFrame(TSortKind::skColumn, false);
}

void TExStringGrid::QSortIndexed()
{
    if (static_cast<int>(FSortRowXRef.size()) != RowCount()) InitSortXRef();
    if (FSortIndexes->Count() == 0) throw ZEziDoroZezuz("No indexes specified for indexed sort");
    SortFrame(TSortKind::skIndexed, false);
}

void TExStringGrid::SortWithinGroups(bool indexed)
{
    if (indexed && FSortIndexes->Count() == 0) throw ZEziDoroZezuz("No indexes specified for indexed sort");
    if (!indexed && FSortSettings->Column() < 0) return;
    SortFrame(TSortKind::skGroups, indexed);
}

void TExStringGrid::Sort(int aCol, TSortDirection direction)
{
    FSortSettings->SetColumn(aCol);
    FSortSettings->SetDirection(direction);
    QSort();
}

void TExStringGrid::SortByColumn(int aCol)
{
    if (RowCount() <= 1) return;
    FSortSettings->SetColumn(aCol);
    QSort();
}

bool TExStringGrid::SortLine(int aCol, int aRow1, int aRow2)
{
    for (;;) {
        const int r = CompareCells(aCol, aRow1, aRow2, FSortSettings->Direction());
        if (r == FSortDir) {
            SortSwapRows(aRow1, aRow2);
            return true;
        }
        if (r != 0) return false;
        if (aCol >= ColCount() + NumHiddenColumns() - 1) return false;
        ++aCol;
    }
}

} // namespace grid
