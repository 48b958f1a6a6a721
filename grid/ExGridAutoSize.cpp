// Auto sizing of columns and rows to their contents, stretching the columns
// to the control's width, numbering a column or row, and exchanging two
// columns or rows of TExStringGrid.
#include <algorithm>
#include <cmath>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

namespace grid {

namespace {

int Clamp(int v, int lo, int hi)
{
    if (hi > 0) v = std::min(v, hi);
    return std::max(v, lo);
}

} // namespace

void TExStringGrid::UpdateAutoColumnSize(int aCol, int& width)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, aCol, width);
}

// The width of a cell's content: graphic and text, without the margins the
// text measure adds around it.
void TExStringGrid::AutoSizeColumnWidth(int aCol, bool growOnly)
{
    const int rc = RealColIndex(aCol);
    int m = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (IsXMergedCell(rc, r)) continue;
        const gui::TPoint gs = GetCellGraphicSize(rc, r);
        int tw = 0;
        if (!GetCellText(rc, r).empty()) {
            gui::TPoint ts;
            GetCellTextSize(aCol, r, ts, false, false);
            tw = std::max(0, ts.X - 2 * FXYOffset.X);
        }
        int w = gs.X + tw;
        if (FControlLook->DropDownAlwaysVisible() && HasCombo(rc, r)) w += 16;
        if (const TCellGraphic* g = GetCellGraphic(rc, r); g && g->CellHAlign() == TCellHAlign::haFull)
            w = gs.X - 2 * GridLineWidth() - FXYOffset.X - 2;
        m = std::max(m, w);
    }
    int target = 2 * GridLineWidth() + m + FXYOffset.X + 2;
    if (!growOnly || ColWidths(aCol) < target) {
        UpdateAutoColumnSize(aCol, target);
        SetColWidths(aCol, Clamp(target, FMinColWidth, FMaxColWidth));
    }
}

void TExStringGrid::AutoSizeCol(int aCol)
{
    if (aCol < 0 || aCol >= ColCount()) return;
    AutoSizeColumnWidth(aCol, SizeGrowOnly());
}

void TExStringGrid::AutoSizeColumns(bool doFixedCols, int padding)
{
    const int from = doFixedCols ? 0 : FixedCols();
    const int to = doFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = from; c <= to; ++c) {
        AutoSizeCol(c);
        if (padding != 0) SetColWidths(c, Clamp(ColWidths(c) + padding, FMinColWidth, FMaxColWidth));
    }
}

void TExStringGrid::AutoSizeRowHeight(int aRow, bool growOnly)
{
    if (aRow < 0 || aRow >= RowCount()) return;
    int m = 0;
    for (int i = 0; i < ColCount(); ++i) {
        const int rc = RealColIndex(i);
        if (IsYMergedCell(rc, aRow) && !IsBaseCell(rc, aRow)) continue;
        if (IsIgnoredColumn(rc)) continue;
        int th = 0;
        if (!GetCellText(rc, aRow).empty()) {
            gui::TPoint ts;
            GetCellTextSize(i, aRow, ts, false, WordWrap());
            th = std::max(0, ts.Y - 2 * FXYOffset.Y);
        }
        const gui::TPoint gs = GetCellGraphicSize(rc, aRow);
        int gh = gs.Y;
        int h;
        if (const TCellGraphic* g = GetCellGraphic(rc, aRow)) {
            if (g->CellVAlign() == TCellVAlign::vaFull) gh = th > 0 ? 0 : DefaultRowHeight();
            const TCellType t = g->CellType();
            if ((t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox) && gh > 0) th = 0;
            h = th + gh;
            if (t == TCellType::ctCheckBox || t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox ||
                t == TCellType::ctRadioButton)
                h = DefaultRowHeight();
        } else {
            h = th + gh;
        }
        if (IsMergedNonBaseCell(rc, aRow)) h = 0;
        m = std::max(m, h);
    }
    const int target = 2 * GridLineWidth() + m + FXYOffset.Y;
    if (!growOnly || RowHeights(aRow) < target) SetRowHeights(aRow, Clamp(target, FMinRowHeight, FMaxRowHeight));
}

void TExStringGrid::AutoSizeRow(int aRow, int padding)
{
    if (aRow < 0 || aRow >= RowCount()) return;
    AutoSizeRowHeight(aRow, SizeGrowOnly());
    if (padding != 0) SetRowHeights(aRow, Clamp(RowHeights(aRow) + padding, FMinRowHeight, FMaxRowHeight));
}

void TExStringGrid::SizeRowToLines(int aRow, int lines, int extra)
{
    gui::TCanvas* cv = Canvas();
    GetCellColor(FixedCols(), aRow, TGridDrawState{}, cv->Brush(), cv->Font());
    const int lh = cv->TextHeight("gh");
    SetRowHeights(aRow, Clamp(extra + lines * (lh + lh / 8), FMinRowHeight, FMaxRowHeight));
}

void TExStringGrid::AutoSizeRows(bool doFixedRows, int padding)
{
    if (RowCount() == 0) return;
    ExportNotification(TGridExportState::esExportStart, -1);
    for (int r = doFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
        ExportNotification(TGridExportState::esExportNewRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (padding != 0) SetRowHeights(r, Clamp(RowHeights(r) + padding, FMinRowHeight, FMaxRowHeight));
        } else {
            int lines = 1;
            for (int c = 0; c < AllColCount(); ++c) {
                const std::string t = Cells(c, r);
                int n = 1;
                for (std::size_t i = 0; i < t.size(); ++i)
                    if (t[i] == '\n' || (t[i] == '\r' && (i + 1 >= t.size() || t[i + 1] != '\n'))) ++n;
                lines = std::max(lines, n);
            }
            SizeRowToLines(r, lines, padding);
        }
    }
    UpdateAlwaysScrollBars(true);
    ExportNotification(TGridExportState::esExportDone, -1);
}

void TExStringGrid::AutoSizeCells(bool doFixedCells, int paddingX, int paddingY)
{
    BeginUpdate();
    struct TEnd {
        TExStringGrid& G;
        ~TEnd() { G.EndUpdate(); }
    } end{*this};
    const int c0 = doFixedCells ? 0 : FixedCols(), r0 = doFixedCells ? 0 : FixedRows();
    for (int i = c0; i < ColCount(); ++i) {
        const int rc = RealColIndex(i);
        int w = SizeGrowOnly() ? ColWidths(i) : 0;
        for (int j = r0; j < RowCount(); ++j) {
            const int h = RowHeights(j);
            gui::TPoint ts;
            GetCellTextSize(i, j, ts, false, false);
            const gui::TPoint gs = GetCellGraphicSize(rc, j);
            const int tw = ts.X + gs.X + paddingX + FXYOffset.X;
            const int th = ts.Y + gs.Y + paddingY + FXYOffset.Y;
            if (!IsXMergedCell(rc, j) && tw > w) {
                const int nw = Clamp(tw, FMinColWidth, FMaxColWidth);
                if (nw > w) {
                    SetColWidths(i, nw);
                    w = nw;
                }
            }
            if (!IsYMergedCell(rc, j) && th > h) {
                const int nh = Clamp(th, FMinRowHeight, FMaxRowHeight);
                if (nh > h) SetRowHeights(j, nh);
            }
        }
    }
}

void TExStringGrid::AutoFitColumns(bool doFixedCells)
{
    const bool vertBar = ScrollBarAlways() == TScrollBarAlways::saVert ||
                         (ScrollBars() != gui::TScrollStyle::ssNone && VisibleRowCount() + FixedRows() < RowCount());
    const int sb = vertBar ? gui::GetSystemMetrics(gui::SM_CXVSCROLL) : 0;
    const int border = BorderStyle() == gui::TBorderStyle::bsSingle ? (Ctl3D() ? 4 : 2) : 0;
    int left = 0, right = ColCount() - 1, avail = Width();
    if (!doFixedCells) {
        left = FixedCols();
        right = ColCount() - FFixedRightCols - 1;
        for (int c = 0; c < left; ++c) avail -= ColWidths(c);
        for (int c = right + 1; c < ColCount(); ++c) avail -= ColWidths(c);
    }
    int lw = 0;
    if (Options().Contains(gui::TGridOption::goVertLine))
        lw = GridLineWidth() * (ColCount() - FixedCols() - FFixedRightCols);
    if (Options().Contains(gui::TGridOption::goFixedVertLine) && doFixedCells) lw += FixedCols() + FFixedRightCols;
    if (ColCount() < 2) {
        SetColWidths(0, Width() - sb - 5);
        return;
    }
    if (right < left) return;
    int s = 0;
    for (int c = left; c <= right; ++c) s += ColWidths(c);
    if (s <= 0) return;
    const double f = static_cast<double>(avail - sb - border - lw) / s;
    double t = 0;
    for (int c = left; c <= right; ++c) t += std::nearbyint(ColWidths(c) * f);
    for (int c = left; c <= right; ++c) SetColWidths(c, static_cast<int>(std::nearbyint(ColWidths(c) * t / s)));
    int sum = 0;
    for (int c = left; c <= right; ++c) sum += ColWidths(c);
    int rest = avail - (sum + sb + border);
    const int n = right - left + 1;
    if (n >= 2 && n < rest) {
        for (int c = left; c <= right; ++c) SetColWidths(c, ColWidths(c) + rest / n);
        rest %= n;
    }
    int widest = left;
    for (int c = left; c <= right; ++c)
        if (ColWidths(c) > ColWidths(widest)) widest = c;
    SetColWidths(widest, ColWidths(widest) + rest);
}

void TExStringGrid::AutoNumberCol(int aCol)
{
    if (RowCount() == 0) return;
    const int last = RowCount() - FFixedFooters - 1;
    for (int r = FixedRows() + FAutoNumberStart; r <= last; ++r) {
        const int n = r - FixedRows() + 1 + FAutoNumberOffset;
        const int target = FAutoNumberDirection == TSortDirection::sdAscending ? r : FixedRows() + last - r;
        SetCells(aCol, target, std::to_string(n));
    }
}

void TExStringGrid::AutoNumberRow(int aRow)
{
    if (ColCount() == 0) return;
    const int last = ColCount() - FFixedRightCols - 1;
    for (int c = FixedCols() + FAutoNumberStart; c <= last; ++c) {
        const int n = c - FixedCols() + 1 + FAutoNumberOffset;
        const int target = FAutoNumberDirection == TSortDirection::sdAscending ? c : FixedCols() + last - c;
        SetCells(target, aRow, std::to_string(n));
    }
}

void TExStringGrid::SwapColumns(int aCol1, int aCol2)
{
    if (aCol1 == aCol2 || aCol1 < 0 || aCol2 < 0 || aCol1 >= AllColCount() || aCol2 >= AllColCount()) return;
    BeginUpdate();
    for (int r = 0; r < RowCount(); ++r) {
        const std::string t = GetRawCellText(aCol1, r);
        rtl::TObject* o1 = GetRawObject(aCol1, r);
        rtl::TObject* o2 = GetRawObject(aCol2, r);
        SetRawCellText(aCol1, r, GetRawCellText(aCol2, r));
        SetRawCellText(aCol2, r, t);
        SetRawObject(aCol1, r, o2);
        SetRawObject(aCol2, r, o1);
        if (auto* p = dynamic_cast<TCellProperties*>(o2)) p->SetOwnerCol(aCol1);
        if (auto* p = dynamic_cast<TCellProperties*>(o1)) p->SetOwnerCol(aCol2);
    }
    EndUpdate();
    const int w1 = ColWidths(aCol1);
    SetColWidths(aCol1, ColWidths(aCol2));
    SetColWidths(aCol2, w1);
    if (FSortSettings->Column() == aCol1) FSortSettings->SetColumn(aCol2);
    else if (FSortSettings->Column() == aCol2) FSortSettings->SetColumn(aCol1);
    for (TGridControlItem& ci : FControlItems) {
        if (ci.X == aCol1) ci.X = aCol2;
        else if (ci.X == aCol2) ci.X = aCol1;
    }
    Invalidate();
}

void TExStringGrid::SwapRows(int aRow1, int aRow2)
{
    if (aRow1 == aRow2 || aRow1 < 0 || aRow2 < 0 || aRow1 >= RowCount() || aRow2 >= RowCount()) return;
    ExchangeRowData(aRow1, aRow2);
    for (int c = 0; c < StoreColCount(); ++c) {
        if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow1))) p->SetOwnerRow(aRow1);
        if (auto* p = dynamic_cast<TCellProperties*>(GetRawObject(c, aRow2))) p->SetOwnerRow(aRow2);
    }
    const int h1 = RowHeights(aRow1);
    SetRowHeights(aRow1, RowHeights(aRow2));
    SetRowHeights(aRow2, h1);
    const int r1 = DisplayToRealRow(aRow1), r2 = DisplayToRealRow(aRow2);
    for (TGridControlItem& ci : FControlItems) {
        if (ci.Y == r1) ci.Y = r2;
        else if (ci.Y == r2) ci.Y = r1;
    }
    Invalidate();
}

} // namespace grid
