// ExGrid: sums, averages, minimums and maximums over a column or a row.
// Non-numeric cells are skipped (an empty cell reads as 0).  A column range
// that reaches past the last displayed data row is read by real row, hidden
// rows included; grouped grids leave their node and summary rows out.
#include <algorithm>

#include "grid/ExGrid.h"

namespace grid {

namespace {
// A cell text as a number: empty and a lone minus read 0, formatted numbers
// ("$ 1,234.50", "(5)") read through the number normalisation, and a text
// without any digit ("n/a", "x") is no number.
double TextToFloat(const std::string& text)
{
    const std::string t = rtl::Trim(text);
    if (t.empty() || t == "-") return 0;
    std::string s = gridbase::ExtractNumberText(t);
    double value = 0;
    if (s.find_first_of("0123456789") == std::string::npos || !rtl::TryStrToFloat(s, value))
        throw ZEziDoroZezuz("Cell does not contain a float value");
    return value;
}

double CellFloat(TExStringGrid& g, int aCol, int aRow) { return TextToFloat(g.GetCellText(aCol, aRow)); }
} // namespace

double TExStringGrid::GetRowFloat(int aCol, int realRow)
{
    std::string text;
    GetAllCells(aCol, realRow, text);
    return TextToFloat(text);
}

namespace {

// Walks the counted rows of a column range and feeds their numeric values to add.
template <typename Add>
void WalkColumn(TExStringGrid& g, int aCol, int fromRow, int toRow, Add&& add)
{
    const int lastShown = g.FloatingFooter()->Visible() ? g.RowCount() - 2 : g.RowCount() - 1;
    const bool real = toRow > lastShown;
    const bool grouped = g.GroupColumn() != -1;
    // Hidden rows by real index, read from their records in one pass.
    std::vector<std::pair<int, TGridItem*>> hidden;
    if (real) {
        for (int i = 0; i < g.NumHiddenRows(); ++i) {
            TGridItem* it = g.GridItems()->Items(i);
            hidden.emplace_back(it->Idx(), it);
        }
        std::sort(hidden.begin(), hidden.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    std::size_t before = 0;  // hidden rows below r
    g.ExportNotification(TGridExportState::esExportStart, -1);
    for (int r = fromRow; r <= toRow; ++r) {
        int d = r;
        bool isHidden = false;
        if (real) {
            while (before < hidden.size() && hidden[before].first < r) ++before;
            isHidden = before < hidden.size() && hidden[before].first == r;
            d = r - static_cast<int>(before);
        }
        const bool counts = (!g.IsNode(d) && !g.IsSummary(d)) || isHidden || !grouped;
        if (!counts || (!isHidden && !g.IsBaseCell(aCol, d))) continue;
        g.ExportNotification(TGridExportState::esExportNewRow, r);
        try {
            if (isHidden) {
                rtl::TStringList* cells = hidden[before].second->Items();
                add(TextToFloat(aCol < cells->Count() ? cells->Strings(aCol) : std::string()));
            } else {
                add(CellFloat(g, aCol, d));
            }
        } catch (const ZEziDoroZezuz&) {
        }
    }
    g.ExportNotification(TGridExportState::esExportDone, -1);
}

// Minimum or maximum: the start cell's value when it is a number (an empty
// one reads 0), then every counted number.  A start cell that is no number
// is skipped like every other such cell; no number at all gives 0.
template <typename Walk>
double Extreme(TExStringGrid& g, int startCol, int startRow, bool wantMax, Walk&& walk)
{
    bool have = false;
    double result = 0;
    try {
        result = CellFloat(g, startCol, startRow);
        have = true;
    } catch (const ZEziDoroZezuz&) {
    }
    walk([&](double v) {
        if (!have || (wantMax ? v > result : v < result)) result = v;
        have = true;
    });
    return result;
}

} // namespace

double TExStringGrid::ColumnSum(int aCol, int fromRow, int toRow)
{
    double sum = 0;
    WalkColumn(*this, aCol, fromRow, toRow, [&](double v) { sum += v; });
    return sum;
}

double TExStringGrid::ColumnAvg(int aCol, int fromRow, int toRow)
{
    if (toRow < fromRow) return 0;
    return ColumnSum(aCol, fromRow, toRow) / (toRow - fromRow + 1);
}

double TExStringGrid::ColumnMin(int aCol, int fromRow, int toRow)
{
    return Extreme(*this, aCol, fromRow, false, [&](auto&& f) { WalkColumn(*this, aCol, fromRow, toRow, f); });
}

double TExStringGrid::ColumnMax(int aCol, int fromRow, int toRow)
{
    return Extreme(*this, aCol, fromRow, true, [&](auto&& f) { WalkColumn(*this, aCol, fromRow, toRow, f); });
}

double TExStringGrid::ColumnCustomCalc(int aCol, int fromRow, int toRow)
{
    double res = 0;
    if (OnGroupCalc) OnGroupCalc(this, aCol, fromRow, toRow, res);
    return res;
}

namespace {
template <typename Add>
void WalkRow(TExStringGrid& g, int aRow, int fromCol, int toCol, Add&& add)
{
    for (int c = fromCol; c <= toCol; ++c) {
        if (!g.IsBaseCell(c, aRow)) continue;
        try {
            add(CellFloat(g, c, aRow));
        } catch (const ZEziDoroZezuz&) {
        }
    }
}
} // namespace

double TExStringGrid::RowSum(int aRow, int fromCol, int toCol)
{
    double sum = 0;
    WalkRow(*this, aRow, fromCol, toCol, [&](double v) { sum += v; });
    return sum;
}

double TExStringGrid::RowAvg(int aRow, int fromCol, int toCol)
{
    if (toCol < fromCol) return 0;
    return RowSum(aRow, fromCol, toCol) / (toCol - fromCol + 1);
}

double TExStringGrid::RowMin(int aRow, int fromCol, int toCol)
{
    return Extreme(*this, fromCol, aRow, false, [&](auto&& f) { WalkRow(*this, aRow, fromCol, toCol, f); });
}

double TExStringGrid::RowMax(int aRow, int fromCol, int toCol)
{
    return Extreme(*this, fromCol, aRow, true, [&](auto&& f) { WalkRow(*this, aRow, fromCol, toCol, f); });
}

} // namespace grid
