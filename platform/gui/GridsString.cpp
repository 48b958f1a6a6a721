// TCustomDrawGrid (the owner draws and edits through events) and
// TStringGrid (a store of texts and objects by row that outlives the counts).
#include "platform/gui/Grids.h"

#include <algorithm>

namespace gui {

// --------------------------------------------------------- TCustomDrawGrid

TRect TCustomDrawGrid::CellRectAny(int aCol, int aRow) const
{
    auto place = [](int index, int fixed, int first, int lw, auto extent) {
        int pos = 0;
        if (index < fixed || index < first) {
            for (int k = 0; k < index; ++k) pos += extent(k) < 0 ? 0 : extent(k) + lw;
            if (index >= fixed)   // scrolled out to the left: before the fixed boundary
                for (int k = fixed; k < first; ++k) pos -= extent(k) < 0 ? 0 : extent(k) + lw;
            return pos;
        }
        for (int k = 0; k < fixed; ++k) pos += extent(k) < 0 ? 0 : extent(k) + lw;
        for (int k = first; k < index; ++k) pos += extent(k) < 0 ? 0 : extent(k) + lw;
        return pos;
    };
    const int lwh = FOptions.Contains(TGridOption::goVertLine) ||
                            FOptions.Contains(TGridOption::goFixedVertLine)
                        ? FGridLineWidth : 0;
    const int lwv = FOptions.Contains(TGridOption::goHorzLine) ||
                            FOptions.Contains(TGridOption::goFixedHorzLine)
                        ? FGridLineWidth : 0;
    int x = place(aCol, FFixedCols, FTopLeft.X, lwh, [this](int i) { return ColWidths(i); });
    int y = place(aRow, FFixedRows, FTopLeft.Y, lwv, [this](int i) { return RowHeights(i); });
    return {x, y, x + std::max(0, ColWidths(aCol)), y + std::max(0, RowHeights(aRow))};
}

void TCustomDrawGrid::DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state)
{
    if (OnDrawCell) OnDrawCell(this, aCol, aRow, rect, state);
}

bool TCustomDrawGrid::SelectCell(int aCol, int aRow)
{
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, aCol, aRow, can);
    return can;
}

std::string TCustomDrawGrid::GetEditText(int aCol, int aRow)
{
    std::string value;
    if (OnGetEditText) OnGetEditText(this, aCol, aRow, value);
    return value;
}

void TCustomDrawGrid::SetEditText(int aCol, int aRow, const std::string& value)
{
    if (OnSetEditText) OnSetEditText(this, aCol, aRow, value);
}

// ------------------------------------------------------------- TStringGrid

const TStringGrid::TCell* TStringGrid::FindStored(int c, int r) const
{
    if (Dense(c, r)) {
        if (static_cast<std::size_t>(r) >= FRows.size()) return nullptr;
        const std::vector<TCell>& row = FRows[static_cast<std::size_t>(r)];
        return static_cast<std::size_t>(c) < row.size() ? &row[static_cast<std::size_t>(c)] : nullptr;
    }
    if (FFarCells.empty()) return nullptr;
    auto it = FFarCells.find(Key(c, r));
    return it == FFarCells.end() ? nullptr : &it->second;
}

TStringGrid::TCell& TStringGrid::StoredCell(int c, int r)
{
    if (!Dense(c, r)) return FFarCells[Key(c, r)];
    if (static_cast<std::size_t>(r) >= FRows.size()) FRows.resize(static_cast<std::size_t>(r) + 1);
    std::vector<TCell>& row = FRows[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(c) >= row.size()) {
        // A new row makes room for the grid's columns at once.
        if (row.empty()) row.reserve(static_cast<std::size_t>(std::max(c + 1, std::min(FColCount, DenseCols))));
        row.resize(static_cast<std::size_t>(c) + 1);
    }
    return row[static_cast<std::size_t>(c)];
}

void TStringGrid::DropIfEmpty(int c, int r)
{
    if (Dense(c, r)) return;  // an empty slot in a row reads as an empty cell
    auto it = FFarCells.find(Key(c, r));
    if (it != FFarCells.end() && it->second.Text.empty() && !it->second.Object) FFarCells.erase(it);
}

std::string TStringGrid::Cells(int aCol, int aRow) const
{
    const TCell* cell = FindCell(aCol, aRow);
    return cell ? cell->Text : std::string();
}

void TStringGrid::SetCells(int aCol, int aRow, const std::string& value)
{
    if (aCol < 0 || aRow < 0) throw EInvalidGridOperation("Grid index out of range");
    const int c = StoredCol(aCol), r = StoredRow(aRow);
    const TCell* found = FindStored(c, r);
    if (found ? found->Text == value : value.empty()) return;
    StoredCell(c, r).Text = value;
    if (value.empty()) DropIfEmpty(c, r);
    InvalidateCell(aCol, aRow);
    // An open editor on this cell shows the new text.
    if (FInplaceEdit && FInplaceEdit->Visible() && FInplaceCell == TGridCoord{aCol, aRow} &&
        FInplaceEdit->EditText() != value && !FInplaceEdit->Modified())
        FInplaceEdit->UpdateContents();
}

rtl::TObject* TStringGrid::Objects(int aCol, int aRow) const
{
    const TCell* cell = FindCell(aCol, aRow);
    return cell ? cell->Object : nullptr;
}

void TStringGrid::SetObjects(int aCol, int aRow, rtl::TObject* value)
{
    if (aCol < 0 || aRow < 0) throw EInvalidGridOperation("Grid index out of range");
    const int c = StoredCol(aCol), r = StoredRow(aRow);
    const TCell* found = FindStored(c, r);
    if (!found && !value) return;
    StoredCell(c, r).Object = value;
    if (!value) DropIfEmpty(c, r);
}

std::vector<std::string> TStringGrid::Rows(int aRow) const
{
    std::vector<std::string> v;
    for (int c = 0; c < FColCount; ++c) v.push_back(Cells(c, aRow));
    return v;
}

void TStringGrid::SetRows(int aRow, const std::vector<std::string>& values)
{
    for (int c = 0; c < static_cast<int>(values.size()); ++c) SetCells(c, aRow, values[c]);
}

std::vector<std::string> TStringGrid::Cols(int aCol) const
{
    std::vector<std::string> v;
    for (int r = 0; r < FRowCount; ++r) v.push_back(Cells(aCol, r));
    return v;
}

void TStringGrid::SetCols(int aCol, const std::vector<std::string>& values)
{
    for (int r = 0; r < static_cast<int>(values.size()); ++r) SetCells(aCol, r, values[r]);
}

void TStringGrid::ClearCells()
{
    FRows.clear();
    FRows.shrink_to_fit();
    FFarCells.clear();
    FColIds.clear();
    FRowIds.clear();
    Invalidate();
}

void TStringGrid::Remap(bool cols, int fromIndex, int toIndex)
{
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0) return;
    std::vector<int>& ids = cols ? FColIds : FRowIds;
    // Positions up to the larger index get their own entries (a list that
    // holds each of 0 .. size - 1 once stays such a list).
    const std::size_t need = static_cast<std::size_t>(std::max(fromIndex, toIndex)) + 1;
    for (std::size_t i = ids.size(); i < need; ++i) ids.push_back(static_cast<int>(i));
    const int id = ids[static_cast<std::size_t>(fromIndex)];
    ids.erase(ids.begin() + fromIndex);
    ids.insert(ids.begin() + toIndex, id);
}

void TStringGrid::RowBlockMovedData(int fromIndex, int count, int toIndex)
{
    if (count <= 0 || fromIndex == toIndex || fromIndex < 0 || toIndex < 0) return;
    const std::size_t need = static_cast<std::size_t>(std::max(fromIndex, toIndex) + count);
    for (std::size_t i = FRowIds.size(); i < need; ++i) FRowIds.push_back(static_cast<int>(i));
    auto first = FRowIds.begin();
    if (toIndex < fromIndex) std::rotate(first + toIndex, first + fromIndex, first + fromIndex + count);
    else std::rotate(first + fromIndex, first + fromIndex + count, first + toIndex + count);
}

const std::string* TStringGrid::FindCellData(int aCol, int aRow, rtl::TObject*& object) const
{
    const TCell* cell = FindCell(aCol, aRow);
    if (!cell || (cell->Text.empty() && !cell->Object)) {
        object = nullptr;
        return nullptr;
    }
    object = cell->Object;
    return &cell->Text;
}

void TStringGrid::ExchangeRowData(int aRow1, int aRow2)
{
    if (aRow1 == aRow2 || aRow1 < 0 || aRow2 < 0) return;
    const std::size_t need = static_cast<std::size_t>(std::max(aRow1, aRow2)) + 1;
    for (std::size_t i = FRowIds.size(); i < need; ++i) FRowIds.push_back(static_cast<int>(i));
    std::swap(FRowIds[static_cast<std::size_t>(aRow1)], FRowIds[static_cast<std::size_t>(aRow2)]);
}

void TStringGrid::RowsPermutedData(const std::vector<int>& order)
{
    for (std::size_t i = FRowIds.size(); i < order.size(); ++i) FRowIds.push_back(static_cast<int>(i));
    std::vector<int> ids(FRowIds.begin(), FRowIds.begin() + static_cast<std::ptrdiff_t>(order.size()));
    for (std::size_t i = 0; i < order.size(); ++i) FRowIds[i] = ids[static_cast<std::size_t>(order[i])];
}

void TStringGrid::ColumnMovedData(int fromIndex, int toIndex) { Remap(true, fromIndex, toIndex); }
void TStringGrid::RowMovedData(int fromIndex, int toIndex) { Remap(false, fromIndex, toIndex); }

void TStringGrid::DrawCell(int aCol, int aRow, const TRect& rect, TGridDrawState state)
{
    if (FDefaultDrawing) {
        TCanvas* c = Canvas();
        const std::string text = Cells(aCol, aRow);
        if (!text.empty()) {
            int th = c->TextHeight(text);
            c->TextRect(rect, rect.Left + 4, rect.Top + std::max(0, (rect.Height() - th) / 2), text);
        }
    }
    TDrawGrid::DrawCell(aCol, aRow, rect, state);
}

std::string TStringGrid::GetEditText(int aCol, int aRow)
{
    if (OnGetEditText) return TDrawGrid::GetEditText(aCol, aRow);
    return Cells(aCol, aRow);
}

void TStringGrid::SetEditText(int aCol, int aRow, const std::string& value)
{
    SetCells(aCol, aRow, value);
    TDrawGrid::SetEditText(aCol, aRow, value);
}

} // namespace gui
