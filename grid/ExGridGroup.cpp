// Grouping of TExStringGrid: a header node over every run of equal values
// of a column (the column itself goes, its value stands in the header), an
// optional summary row after each group, a second level inside the groups,
// and the group calculations written into headers or summary rows.
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "platform/rtl/Strings.h"

namespace grid {

namespace {

// A value no cell holds: the walk's "previous value" before the first row.
const std::string kNoValue = "\xC3\xBF\xC3\xBE";

struct TGroupScope {
    TExStringGrid& G;
    bool& Flag;
    TGroupScope(TExStringGrid& g, bool& flag) : G(g), Flag(flag)
    {
        G.BeginUpdate();
        Flag = true;
    }
    ~TGroupScope()
    {
        Flag = false;
        G.EndUpdate();
    }
};

} // namespace

void TExStringGrid::SetGroupColumn(int value)
{
    if (value == -1) UnGroup();
    else if (value > 0) Group(value);
}

void TExStringGrid::Group(int colIndex)
{
    if (colIndex < FixedCols()) return;
    if (FGroupColumn != -1) UnGroup();
    if (RowCount() - FixedRows() - FFixedFooters <= 0) return;
    const TGrouping& gp = *FGrouping;
    {
        TGroupScope scope(*this, FIsGrouping);
        FGroupColumn = colIndex;
        FGroupWidth = ColWidths(colIndex);
        FGroupCaption = FixedRows() > 0 ? Cells(colIndex, 0) : std::string();
        FGroupFooter = FFixedFooters > 0 ? Cells(colIndex, RowCount() - 1) : std::string();
        if (FSortSettings->AutoSortForGrouping()) {
            FSortSettings->SetColumn(colIndex);
            QSort();
        }
        const int textCol = colIndex == 1 ? 2 : 1;
        auto headerColours = [&](int r) {
            if (gp.MergeHeader()) return;
            if (gp.HeaderColor() != gui::clNone) SetRowColor(r, gp.HeaderColor());
            if (gp.HeaderColorTo() != gui::clNone) SetRowColorTo(r, gp.HeaderColorTo());
            if (gp.HeaderTextColor() != gui::clNone) SetRowFontColor(r, gp.HeaderTextColor());
        };
        auto summaryRow = [&](int r) {
            InsertRows(r, 1, true);
            MarkSummaryRow(r);
            if (gp.MergeSummary()) return;
            if (gp.SummaryColor() != gui::clNone) SetRowColor(r, gp.SummaryColor());
            if (gp.SummaryColorTo() != gui::clNone) SetRowColorTo(r, gp.SummaryColorTo());
            if (gp.SummaryTextColor() != gui::clNone) SetRowFontColor(r, gp.SummaryTextColor());
        };
        // Closes the group of header h, whose rows end before row a; the
        // summary of the group before it goes in front of the header.
        auto close = [&](int& h, int& a) {
            if (gp.Summary() && h > FixedRows()) {
                summaryRow(h);
                ++h;
                ++a;
            }
            AddNode(h, a - h);
        };
        std::string prev = kNoValue;
        int open = -1;
        int a = FixedRows();
        while (a <= RowCount() - FFixedFooters - 1) {
            const std::string v = Cells(colIndex, a);
            if (v != prev) {
                if (open != -1) close(open, a);
                InsertRows(a, 1, true);
                SetCells(textCol, a, v);
                headerColours(a);
                open = a;
                ++a;
            }
            prev = Cells(colIndex, a);
            ++a;
        }
        if (open == -1) {
            AddNode(FixedRows(), RowCount() - FFixedFooters - FixedRows());
        } else {
            int end = RowCount() - FFixedFooters;
            close(open, end);
            if (gp.Summary()) summaryRow(RowCount() - FFixedFooters);
        }
        RemoveCols(colIndex, 1);
        if (gp.MergeHeader() || (gp.MergeSummary() && gp.Summary())) {
            const int span = ColCount() - 1;
            for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
                const bool header = gp.MergeHeader() && IsNode(r);
                const bool summary = gp.MergeSummary() && gp.Summary() && IsSummary(r);
                if ((!header && !summary) || span < 1) continue;
                MergeCells(1, r, span, 1);
                const TColor c = header ? gp.HeaderColor() : gp.SummaryColor();
                const TColor ct = header ? gp.HeaderColorTo() : gp.SummaryColorTo();
                const TColor ft = header ? gp.HeaderTextColor() : gp.SummaryTextColor();
                if (c != gui::clNone) SetCellColor(1, r, c);
                if (ct != gui::clNone) SetCellColorTo(1, r, ct);
                if (ft != gui::clNone) SetCellFontColor(1, r, ft);
            }
        }
    }
    if (FixedRows() < RowCount()) SetRow(FixedRows());
}

void TExStringGrid::UnGroup()
{
    if (FGroupColumn <= 0) return;
    const TGrouping& gp = *FGrouping;
    ExpandAll();
    {
        TGroupScope scope(*this, FIsGrouping);
        InsertCols(FGroupColumn, 1);
        SetColWidths(FGroupColumn, FGroupWidth);
        if (FixedRows() > 0) SetCells(FGroupColumn, 0, FGroupCaption);
        if (FFixedFooters > 0) SetCells(FGroupColumn, RowCount() - 1, FGroupFooter);
        const int textCol = FGroupColumn == 1 ? 2 : 1;
        // Takes a grouping row away with what grouping put on it.
        auto dropRow = [&](int r, bool merged) {
            if (merged) SplitCells(1, r);
            ClearRect(0, r, ColCount() - 1, r);
            RemoveRows(r, 1);
        };
        std::string value;
        int r = FixedRows();
        while (r < RowCount() - FFixedFooters) {
            if (IsNode(r)) {
                if (gp.Summary()) {
                    const int s = r + GetNodeSpan(r);
                    if (s < RowCount() - FFixedFooters && IsSummary(s)) dropRow(s, gp.MergeSummary());
                }
                value = Cells(textCol, r);
                RemoveNode(DisplayToRealRow(r));
                if (gp.MergeHeader()) SplitCells(1, r);
                dropRow(r, false);
            } else if (IsSummary(r)) {
                dropRow(r, gp.MergeSummary());
            } else {
                SetCells(FGroupColumn, r, value);
                ++r;
            }
        }
        FGroupColumn = -1;
    }
    Invalidate();
}

void TExStringGrid::SubGroup(int colIndex)
{
    if (colIndex < FixedCols() || FNumNodes == 0) return;
    const TGrouping& gp = *FGrouping;
    {
        TGroupScope scope(*this, FIsGrouping);
        auto styleHeader = [&](int r) {
            if (gp.MergeHeader()) {
                if (ColCount() - 1 - colIndex >= 1) MergeCells(colIndex + 1, r, ColCount() - 1 - colIndex, 1);
                if (gp.HeaderColor() != gui::clNone) SetCellColor(colIndex + 1, r, gp.HeaderColor());
                if (gp.HeaderColorTo() != gui::clNone) SetCellColorTo(colIndex + 1, r, gp.HeaderColorTo());
                if (gp.HeaderTextColor() != gui::clNone) SetCellFontColor(colIndex + 1, r, gp.HeaderTextColor());
            } else {
                if (gp.HeaderColor() != gui::clNone) SetRowColor(r, gp.HeaderColor());
                if (gp.HeaderColorTo() != gui::clNone) SetRowColorTo(r, gp.HeaderColorTo());
                if (gp.HeaderTextColor() != gui::clNone) SetRowFontColor(r, gp.HeaderTextColor());
            }
        };
        // Closes the sub-group of header h ending before row end; with
        // Summary a summary child row closes it (end moves on by one).
        auto close = [&](int h, int& end) {
            if (!IsNode(h) && !IsSummary(h)) {
                AddNode(DisplayToRealRow(h), end - h);
                if (TCellGraphic* g = NodeGraphic(h)) g->SetCellValue(colIndex);
            }
            if (gp.Summary()) {
                InsertChildRow(DisplayToRealRow(end - 1), 1);
                MarkSummaryRow(DisplayToRealRow(end));
                ++end;
            }
        };
        int open = -1;
        std::string prev = kNoValue;
        int r = FixedRows() + 1;
        while (r < RowCount() - FFixedFooters) {
            if (IsNode(r) || IsSummary(r)) {
                if (open != -1) close(open, r);
                open = -1;
                prev = kNoValue;
                ++r;
                continue;
            }
            const std::string v = Cells(colIndex, r);
            if (v != prev) {
                if (open != -1) close(open, r);
                InsertChildRow(DisplayToRealRow(r), 0);
                SetCells(colIndex + 1, r, v);
                styleHeader(r);
                open = r;
                ++r;
            }
            SetCells(colIndex, r, "");
            prev = v;
            ++r;
        }
        if (open != -1) {
            int end = RowCount() - FFixedFooters;
            close(open, end);
        }
    }
    if (FixedRows() < RowCount()) SetRow(FixedRows());
}

void TExStringGrid::SubUnGroup(int colIndex)
{
    const TGrouping& gp = *FGrouping;
    ExpandAll();
    TGroupScope scope(*this, FIsGrouping);
    std::string value;
    int r = FixedRows();
    while (r < RowCount() - FFixedFooters) {
        TCellGraphic* g = NodeGraphic(r);
        if (g && static_cast<int>(g->CellValue()) == colIndex) {
            value = Cells(colIndex + 1, r);
            const int span = g->CellIndex();
            // Its summary child row goes too.
            if (gp.Summary() && r + span < RowCount() && IsSummary(r + span))
                RemoveChildRow(DisplayToRealRow(r + span));
            RemoveNode(DisplayToRealRow(r));
            if (gp.MergeHeader()) SplitCells(colIndex, r);
            else SetRowColor(r, gui::clNone);
            RemoveChildRow(DisplayToRealRow(r));
        } else if (g || IsSummary(r)) {
            ++r;
        } else {
            SetCells(colIndex, r, value);
            ++r;
        }
    }
}

// --- group calculations -------------------------------------------------------------

void TExStringGrid::GroupCalc(int colIndex, int method)
{
    if (method < 1 || method > 6) return;
    int r = FixedRows();
    while (r < RowCount()) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const int span = std::max(1, GetNodeSpan(r));
        const int target = FGrouping->Summary() ? r + span : r;
        const int from = r + 1, to = std::min(r + span - 1, RowCount() - 1);
        if (target < RowCount()) {
            if (method == 5) {
                SetCellInteger(colIndex, target, span - 1);
            } else if (method == 6) {
                double res = 0;
                if (OnGroupCalc) OnGroupCalc(this, colIndex, from, to, res);
                SetCellFloat(colIndex, target, res);
            } else {
                // Data rows only; texts that are no number are left out, but
                // they count for the average.
                double sum = 0, lo = 0, hi = 0;
                int rows = 0;
                bool first = true;
                for (int k = from; k <= to; ++k) {
                    if (IsNode(k) || IsSummary(k)) continue;
                    ++rows;
                    double v = 0;
                    const std::string t = rtl::Trim(GetCellText(colIndex, k));
                    if (!t.empty() && t != "-") {
                        try {
                            v = GetCellFloat(colIndex, k);
                        } catch (const rtl::Exception&) {
                            continue;
                        }
                    }
                    sum += v;
                    lo = first ? v : std::min(lo, v);
                    hi = first ? v : std::max(hi, v);
                    first = false;
                }
                const double value = method == 1 ? sum : method == 2 ? (rows > 0 ? sum / rows : 0) : method == 3 ? lo : hi;
                SetCellFloat(colIndex, target, value);
            }
        }
        r += span;
    }
}

} // namespace grid
