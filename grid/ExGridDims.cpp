// ExGrid: counts and fixed areas, default sizes, word wrap and vertical
// alignment, header lists, cell and row formatting, the current cell,
// access by real index, tag ranges and the sizing veto of fixed cells.
#include "grid/ExGrid.h"
#include "grid/ExInplaceEdit.h"

#include <algorithm>

#include "htmltext/GrdHTMLE.h"

namespace grid {

// ------------------------------------------------------------------ counts

void TExStringGrid::SetRowCount(int value)
{
    const int old = RowCount();
    // (A selection parked while only the fixed rows showed comes back with
    // hidden rows; nothing is parked before that.)
    gui::TCustomGrid::SetRowCount(value);
    if (FFixedRowAlways && FFixedRowsMin < RowCount()) SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, value);
    SetNormalRowCount(value);
    InvalidateFooterPanel();
    UpdateVertScrollProportional();
    UpdateHorzScrollProportional();
    UpdateAlwaysScrollBars(false);
    if (FFloatingFooter && FFloatingFooter->Visible() && value != old && old > 0) {
        // The footer row stays the last row.
        for (int c = 0; c < AllColCount(); ++c) SetCells(c, value - 1, Cells(c, old - 1));
        FNilObjects = true;
        if (old - 1 < value - 1) ClearRows(old - 1, 1);
        CalcFooter(-1);
        FNilObjects = false;
    }
}

void TExStringGrid::SetColCount(int value)
{
    gui::TCustomGrid::SetColCount(value);
    if (FFixedColAlways && FFixedColsMin < ColCount()) SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, value + FNumHidden);
    InvalidateFooterPanel();
    SetBounds(Left(), Top(), Width(), Height());
    UpdateHorzScrollProportional();
    UpdateVertScrollProportional();
    UpdateAlwaysScrollBars(false);
}

int TExStringGrid::FixedRows() const
{
    const int n = TBaseGrid::FixedRows();
    return n == 0 && FFixedRowAlways ? 1 : n;
}

void TExStringGrid::SetFixedRows(int value)
{
    if (FFixedRowAlways && value >= RowCount()) gui::TCustomGrid::SetFixedRows(RowCount() - 1);
    else gui::TCustomGrid::SetFixedRows(value);
    if (!Loading()) FFixedRowsMin = value;
}

int TExStringGrid::FixedCols() const
{
    const int n = TBaseGrid::FixedCols();
    return n == 0 && FFixedColAlways ? 1 : n;
}

void TExStringGrid::SetFixedCols(int value)
{
    gui::TCustomGrid::SetFixedCols(value);
    if (!Loading()) FFixedColsMin = value;
}

void TExStringGrid::SetFixedFooters(int value)
{
    FFixedFooters = value;
    Invalidate();
}

void TExStringGrid::SetFixedRightCols(int value)
{
    FFixedRightCols = value;
    Invalidate();
}

void TExStringGrid::SetDefaultRowHeight(int value)
{
    gui::TCustomGrid::SetDefaultRowHeight(value);
    if (Designing()) FFixedRowHeight = value;
    if (FFloatingFooter) FFloatingFooter->SetHeight(value);
}

void TExStringGrid::SetFixedColWidth(int value)
{
    if (Loading() || value == DefaultColWidth()) return;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c) SetColWidths(c, value);
}

void TExStringGrid::SetFixedRowHeight(int value)
{
    FFixedRowHeight = value;
    if (Loading()) return;
    if (value == DefaultRowHeight()) {
        SetDefaultRowHeight(value);
        return;
    }
    for (int r = 0; r < TBaseGrid::FixedRows(); ++r) SetRowHeights(r, value);
}

void TExStringGrid::SetWordWrap(bool value)
{
    FWordWrapEx = value;
    TBaseGrid::SetWordWrap(value);
    if (TExInplaceEdit* ed = NormalEdit()) ed->SetWordWrap(value);
    if (FUpdateCount == 0) Invalidate();
}

void TExStringGrid::SetVAlignment(TVAlignment value)
{
    FVAlignment = value;
    FVAlign = value == TVAlignment::vtaCenter ? 4u : value == TVAlignment::vtaBottom ? 8u : 0u;
    if (FUpdateCount == 0) Invalidate();
}

void TExStringGrid::SetIntegralHeight(bool value)
{
    FIntegralHeight = value;
    SetBounds(Left(), Top(), Width(), Height());
}

// -------------------------------------------------------------- appearance

void TExStringGrid::SetShowSelection(bool v)
{
    if (TBaseGrid::ShowSelection() == v) return;
    TBaseGrid::SetShowSelection(v);
    Invalidate();
}

void TExStringGrid::SetFlat(bool v)
{
    FFlat = v;
    if (!Loading()) Invalidate();
}

void TExStringGrid::SetFixedFont(const gui::TFont* v)
{
    FFixedFont->Assign(v);
    Invalidate();
}

void TExStringGrid::SetActiveCellFont(const gui::TFont* v)
{
    FActiveCellFont->Assign(v);
    Invalidate();
}

void TExStringGrid::SetLookupItems(const rtl::TStringList* v)
{
    if (v) FLookupItems->Assign(v);
}

void TExStringGrid::SetMaxEditLength(int v)
{
    FMaxEditLength = v;
    if (gui::TInplaceEdit* ed = InplaceEditor()) ed->SetMaxLength(v);
}

// ------------------------------------------------------ change handlers

void TExStringGrid::MergedColumnsChange()
{
    for (int c = 0; c < ColCount(); ++c) SplitColumnCells(c);
    for (int i = 0; i < FMergedColumns->Count(); ++i) MergeColumnCells(FMergedColumns->Items(i), i == 0);
}

void TExStringGrid::CellTextChanged(int aCol, int aRow)
{
    if (!HasAutoRangeScrollBar(aCol, aRow)) return;
    gui::TPoint size;
    GetCellTextSize(aCol, aRow, size, true, true);
    SetScrollProp(aCol, aRow, TScrollProp{RowHeights(aRow), size.Y});
}

void TExStringGrid::SetAutoSize(bool v)
{
    FAutoSize = v;
    if (v && !Loading()) AutoSizeColumns(false, 10);
}

std::string TExStringGrid::Version() const
{
    const uint32_t v = GetVersionNr();
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
           std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

void TExStringGrid::SetCursor(gui::TCursor v)
{
    TBaseGrid::SetCursor(v);
    FOldCursor = v;
}

// ----------------------------------------------------------------- headers

void TExStringGrid::SetColumnHeaders(const rtl::TStringList* v)
{
    if (TBaseGrid::FixedRows() > 0) ClearColumnHeaders();
    auto change = std::move(FColumnHeaders->OnChange);
    FColumnHeaders->Assign(v);
    FColumnHeaders->OnChange = std::move(change);
    ShowColumnHeaders();
}

void TExStringGrid::SetRowHeaders(const rtl::TStringList* v)
{
    if (Designing() && TBaseGrid::FixedCols() > 0) ClearRowHeaders();
    auto change = std::move(FRowHeaders->OnChange);
    FRowHeaders->Assign(v);
    FRowHeaders->OnChange = std::move(change);
    ShowRowHeaders();
}

void TExStringGrid::ShowColumnHeaders()
{
    if (TBaseGrid::FixedRows() <= 0) return;
    for (int i = 0; i < FColumnHeaders->Count() && i < AllColCount(); ++i)
        SetCellText(i, 0, gridbase::EscapedNewlinesToCR(FColumnHeaders->Strings(i)));
}

void TExStringGrid::ShowRowHeaders()
{
    if (TBaseGrid::FixedCols() <= 0) return;
    for (int i = 0; i < FRowHeaders->Count() && i < RowCount(); ++i)
        SetCellText(0, i, gridbase::EscapedNewlinesToCR(FRowHeaders->Strings(i)));
}

void TExStringGrid::ClearColumnHeaders()
{
    for (int i = 0; i < ColCount(); ++i) SetCellText(i, 0, "");
}

void TExStringGrid::ClearRowHeaders()
{
    for (int i = 0; i < RowCount(); ++i) SetCellText(0, i, "");
}

// ---------------------------------------------------- cell and row formats

int TExStringGrid::DisplColIndex(int aCol) const
{
    if (FNumHidden == 0 || aCol < 0 || aCol >= 512) return aCol;
    int d = aCol;
    for (int c = 0; c < aCol; ++c)
        if (!FVisibleCol[c]) --d;
    return d;
}

int TExStringGrid::RealColIndex(int aCol) const
{
    if (FNumHidden == 0 || aCol < 0 || aCol >= 512) return aCol;
    int shown = -1;
    for (int c = 0; c < 512; ++c) {
        if (FVisibleCol[c]) ++shown;
        if (shown == aCol) return c;
    }
    return 0;
}

void TExStringGrid::RepaintRow(int aRow)
{
    if (FUpdateCount == 0 && aRow >= 0 && aRow < RowCount()) InvalidateRow(aRow);
}

void TExStringGrid::SetCellColor(int aCol, int aRow, TColor color)
{
    if (TCellProperties* p = GetCellProperties(aCol, aRow)) p->SetBrushColor(color);
    if (FUpdateCount == 0) RepaintCell(DisplColIndex(aCol), aRow);
}

void TExStringGrid::SetCellColorTo(int aCol, int aRow, TColor color)
{
    if (TCellProperties* p = GetCellProperties(aCol, aRow)) p->SetBrushColorTo(color);
    RepaintCell(DisplColIndex(aCol), aRow);
}

TColor TExStringGrid::GetCellBrushColor(int aCol, int aRow) const
{
    const TCellProperties* p = FindCellProperties(aCol, aRow);
    return p ? p->BrushColor() : gui::clNone;
}

void TExStringGrid::SetCellFontColor(int aCol, int aRow, TColor color)
{
    if (TCellProperties* p = GetCellProperties(aCol, aRow)) p->SetFontColor(color);
    RepaintCell(DisplColIndex(aCol), aRow);
}

void TExStringGrid::SetCellFontStyle(int aCol, int aRow, gui::TFontStyles style)
{
    if (TCellProperties* p = GetCellProperties(aCol, aRow)) p->SetFontStyle(style);
    RepaintCell(DisplColIndex(aCol), aRow);
}

void TExStringGrid::SetCellAlignment(int aCol, int aRow, TAlignment alignment)
{
    if (TCellProperties* p = GetCellProperties(aCol, aRow)) p->SetAlignment(alignment);
    RepaintCell(DisplColIndex(aCol), aRow);
}

bool TExStringGrid::GetCellReadOnly(int aCol, int aRow)
{
    TCellProperties* p = GetCellProperties(aCol, aRow);
    return p && p->ReadOnly();
}

gui::TControl* TExStringGrid::GetCellControl(int aCol, int aRow) const
{
    const TCellProperties* p = FindCellProperties(aCol, aRow);
    return p ? p->Control() : nullptr;
}

void TExStringGrid::SetRowColor(int aRow, TColor color)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (color == gui::clNone) FreeCellProperties(c, aRow);
        else if (TCellProperties* p = GetCellProperties(c, aRow)) p->SetBrushColor(color);
    }
    RepaintRow(aRow);
}

void TExStringGrid::SetRowColorTo(int aRow, TColor color)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (color == gui::clNone) FreeCellProperties(c, aRow);
        else if (TCellProperties* p = GetCellProperties(c, aRow)) p->SetBrushColorTo(color);
    }
    RepaintRow(aRow);
}

void TExStringGrid::SetRowFontColor(int aRow, TColor color)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (color == gui::clNone) {
            if (GetCellBrushColor(c, aRow) == gui::clNone) FreeCellProperties(c, aRow);
        } else if (TCellProperties* p = GetCellProperties(c, aRow)) {
            p->SetFontColor(color);
        }
    }
    RepaintRow(aRow);
}

// ------------------------------------------------------------ current cell

std::string TExStringGrid::GetCurrentCellText()
{
    const gui::TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetRawCellText(b.X, b.Y);
}

void TExStringGrid::SetCurrentCellText(const std::string& value)
{
    const gui::TPoint b = BaseCell(RealColIndex(Col()), Row());
    SetCellText(b.X, b.Y, value);
}

std::string TExStringGrid::GetCurrentCellDisplText()
{
    const gui::TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetCellText(b.X, b.Y);
}

void TExStringGrid::SetCurrentCellEditText(const std::string& value)
{
    const gui::TPoint b = BaseCell(RealColIndex(Col()), Row());
    TBaseGrid::SetEditText(b.X, b.Y, value);
}

void TExStringGrid::GetStrippedCellText(int aCol, int aRow, std::string& text)
{
    text = htmltext::MarkupToPlainText(htmltext::TMarkupDialect::mdGrid, GetCellText(aCol, aRow));
}

// ------------------------------------------------------ by real index

rtl::TStringList* TExStringGrid::GetHiddenRowItems(int realRow) const
{
    TGridItem* item = FGridItems->ItemOfRow(realRow);
    return item ? item->Items() : nullptr;
}

void TExStringGrid::GetAllCells(int aCol, int realRow, std::string& text)
{
    TGridItem* item = nullptr;
    const int below = NumHiddenRows() > 0 ? FGridItems->Locate(realRow, &item) : 0;
    if (item) {
        rtl::TStringList* items = item->Items();
        text = aCol >= 0 && aCol < items->Count() ? items->Strings(aCol) : std::string();
        DoGetDisplText(aCol, realRow, text);
        return;
    }
    text = GetCellText(aCol, realRow - below);
}

rtl::TObject* TExStringGrid::GetAllObjects(int aCol, int realRow) const
{
    if (rtl::TStringList* items = GetHiddenRowItems(realRow))
        return aCol >= 0 && aCol < items->Count() ? items->Objects(aCol) : nullptr;
    return GetRawObject(aCol, RealToDisplayRow(realRow));
}

int TExStringGrid::GetAllColWidths(int realCol) const
{
    if (IsHiddenColumn(realCol)) return FAllColWidths[realCol];
    return ColWidths(DisplColIndex(realCol));
}

void TExStringGrid::SetAllColWidths(int realCol, int width)
{
    if (realCol >= 0 && realCol <= 512) FAllColWidths[realCol] = static_cast<int16_t>(width);
    if (!IsHiddenColumn(realCol)) SetColWidths(DisplColIndex(realCol), width);
}

int TExStringGrid::SortedRowIndex(int aRow) const
{
    const int r = aRow >= 0 && aRow < static_cast<int>(FSortRowXRef.size()) ? FSortRowXRef[aRow] : aRow;
    return DisplayToRealRow(r);
}

int TExStringGrid::UnSortedRowIndex(int aRow) const
{
    if (FSortRowXRef.empty()) return aRow;
    auto it = std::find(FSortRowXRef.begin(), FSortRowXRef.end(), aRow);
    return static_cast<int>(it - FSortRowXRef.begin());
}

void TExStringGrid::InsertTagInRange(const std::string& search, const std::string& tag, bool caseFlag,
                                     int fromCol, int fromRow, int toCol, int toRow)
{
    if (toRow < fromRow || toCol < fromCol) return;
    for (int r = fromRow; r <= toRow; ++r)
        for (int c = fromCol; c <= toCol; ++c)
            SetCellText(c, r,
                        htmltext::InsertTagAroundMatches(htmltext::TMarkupDialect::mdGrid, GetCellText(c, r),
                                                         search, tag, caseFlag));
}

void TExStringGrid::RemoveTagInRange(const std::string& tag, int fromCol, int fromRow, int toCol, int toRow)
{
    if (toRow < fromRow || toCol < fromCol) return;
    for (int r = fromRow; r <= toRow; ++r)
        for (int c = fromCol; c <= toCol; ++c)
            SetCellText(c, r, htmltext::RemoveTagPairs(htmltext::TMarkupDialect::mdGrid, GetCellText(c, r), tag));
}

// ------------------------------------------------------------- sizing veto

void TExStringGrid::CalcSizingState(int x, int y, gui::TGridState& state, int& index, int& sizingPos,
                                    int& sizingOfs, gui::TGridDrawInfo& fixedInfo)
{
    TBaseGrid::CalcSizingState(x, y, state, index, sizingPos, sizingOfs, fixedInfo);
    int c = -1, r = -1;
    MouseToCell(x - 6, y, c, r);
    if (r < TBaseGrid::FixedRows() && r >= 0 && c >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, c, allow);
        if (!allow) {
            state = gui::TGridState::gsNormal;
            FSizeFixed = false;  // nor does the fixed-cell sizing start
        }
    }
    MouseToCell(x, y - 6, c, r);
    if (c < TBaseGrid::FixedCols() && c >= 0 && r >= 0 && OnRowSize) {
        bool allow = true;
        OnRowSize(this, r, allow);
        if (!allow) state = gui::TGridState::gsNormal;
    }
}

} // namespace grid
