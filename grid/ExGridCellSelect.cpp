// ExGrid: the selected-cells list, the column flags from the selection,
// and the repaint and focus of cells by grid position (declared in
// ExGridStructure.h).
#include <algorithm>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/rtl/Strings.h"

namespace grid {

int TExGridStructure::SelectedCellsCount()
{
    if (!FMouseActions->DisjunctCellSelect()) FSelectedCells.clear();
    auto add = [this](int c, int r) {
        const gui::TPoint p{c, r};
        if (std::find(FSelectedCells.begin(), FSelectedCells.end(), p) == FSelectedCells.end())
            FSelectedCells.push_back(p);
    };
    const gui::TGridRect sel = Selection();
    if (sel.Left == sel.Right && sel.Top == sel.Bottom) {
        add(gui::TCustomGrid::Col(), Row());
    } else {
        for (int c = std::min(sel.Left, sel.Right); c <= std::max(sel.Left, sel.Right); ++c)
            for (int r = std::min(sel.Top, sel.Bottom); r <= std::max(sel.Top, sel.Bottom); ++r) add(c, r);
    }
    return static_cast<int>(FSelectedCells.size());
}

gui::TPoint TExGridStructure::SelectedCell(int index) const
{
    if (index < 0 || index >= static_cast<int>(FSelectedCells.size())) return {-1, -1};
    return FSelectedCells[static_cast<std::size_t>(index)];
}

void TExGridStructure::ClearSelectedCells()
{
    const int c = TBaseGrid::FixedCols(), r = TBaseGrid::FixedRows();
    SetSelection({c, r, c, r});
    FSelectedCells.clear();
    Invalidate();
}

void TExGridStructure::MarkSelectedCols(bool clearOthers)
{
    TExStringGrid& g = Self();
    const gui::TGridRect sel = Selection();
    const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
    for (int c = TBaseGrid::FixedCols(); c < ColCount(); ++c) {
        if (c >= left && c <= right) g.SetColSelect(c, true);
        else if (clearOthers) g.SetColSelect(c, false);
    }
}

void TExGridStructure::InvalidateGridRect(const gui::TGridRect& r)
{
    const gui::TRect a = CellRect(r.Left, r.Top), b = CellRect(r.Right, r.Bottom);
    InvalidateRect(gui::TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                              std::max(a.Bottom, b.Bottom)));
}

void TExGridStructure::FocusCell(int aCol, int aRow) { MoveColRow(aCol, aRow, true, true); }

// --- the combo editor's item list --------------------------------------------------------

void TExGridStructure::ClearComboString() { Self().EditCombo()->Items()->Clear(); }
void TExGridStructure::AddComboString(const std::string& s) { Self().EditCombo()->Items()->Add(s); }

void TExGridStructure::AddComboStringObject(const std::string& s, rtl::TObject* object)
{
    Self().EditCombo()->Items()->AddObject(s, object);
}

bool TExGridStructure::RemoveComboString(const std::string& s)
{
    rtl::TStringList* items = Self().EditCombo()->Items();
    const int i = items->IndexOf(s);
    if (i < 0) return false;
    items->Delete(i);
    return true;
}

bool TExGridStructure::SetComboSelectionString(const std::string& s)
{
    const int i = Self().EditCombo()->Items()->IndexOf(s);
    if (i < 0) return false;
    SetComboIdx(i);
    return true;
}

int TExGridStructure::GetComboCount() { return Self().EditCombo()->Items()->Count(); }

// --- wide texts ----------------------------------------------------------------------------

std::u16string TExGridStructure::GetCellTextWide(int aCol, int aRow) const
{
    return rtl::UTF8ToUTF16(const_cast<TExGridStructure*>(this)->GetCellText(aCol, aRow));
}

void TExGridStructure::SetCellTextWide(int aCol, int aRow, const std::u16string& value)
{
    SetCellText(aCol, aRow, rtl::UTF16ToUTF8(value));
}

} // namespace grid
