// ExGrid: the selected-cells list, the column flags from the selection,
// and the repaint and focus of cells by grid position (declared in
// ExGridStructure.h).
#include <algorithm>

#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "gridbase/ExUtil.h"
#include "platform/gui/StdCtrls.h"
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
        // A current cell the user has just taken out stays out.
        const gui::TPoint current{gui::TCustomGrid::Col(), Row()};
        if (!(current == FCellTakenOut)) add(current.X, current.Y);
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
    FCellTakenOut = {-1, -1};
    Invalidate();
}

bool TExGridStructure::IsCellInSelectedList(int aCol, int aRow) const
{
    return std::find(FSelectedCells.begin(), FSelectedCells.end(), gui::TPoint{aCol, aRow}) != FSelectedCells.end();
}

void TExGridStructure::DisjunctCellPress(gui::TShiftState shift)
{
    if (!FMouseActions->DisjunctCellSelect() || shift.Contains(gui::TShiftStateItem::ssCtrl)) return;
    FSelectedCells.clear();
    Invalidate();
}

void TExGridStructure::DisjunctCellRelease(int aCol, int aRow, gui::TShiftState shift)
{
    if (!FMouseActions->DisjunctCellSelect()) return;
    const bool ctrl = shift.Contains(gui::TShiftStateItem::ssCtrl);
    const gui::TPoint b = BaseCell(aCol, aRow);
    // A fixed cell takes no part; a plain click on it ends the list.
    if (IsFixed(b.X, b.Y) || b.X < TBaseGrid::FixedCols() || b.Y < TBaseGrid::FixedRows()) {
        if (!ctrl) {
            FSelectedCells.clear();
            Invalidate();
        }
        return;
    }
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, b.X, b.Y, canSelect);
    if (!canSelect) return;
    if (!shift.Contains(gui::TShiftStateItem::ssShift)) ToggleOrRestartCellList(b, ctrl);
    AddSelectionToCellList(b, shift.Contains(gui::TShiftStateItem::ssShift));
    RepaintCell(aCol, aRow);
}

// Ctrl adds the cell or takes it out again; otherwise the list holds it alone.
void TExGridStructure::ToggleOrRestartCellList(gui::TPoint b, bool ctrl)
{
    const auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), b);
    FCellTakenOut = {-1, -1};
    if (ctrl) {
        if (it == FSelectedCells.end()) {
            FSelectedCells.push_back(b);
        } else {
            FSelectedCells.erase(it);
            FCellTakenOut = {gui::TCustomGrid::Col(), Row()};
        }
        return;
    }
    RepaintSelectedCells();
    FSelectedCells.assign(1, b);
}

void TExGridStructure::DisjunctCellSpaceUp(gui::TShiftState shift)
{
    const int col = gui::TCustomGrid::Col(), row = Row();
    const gui::TPoint b = BaseCell(col, row);
    if (!IsFixed(b.X, b.Y)) {
        bool canSelect = true;
        if (OnSelectCell) OnSelectCell(this, b.X, b.Y, canSelect);
        if (!canSelect) return;
        ToggleOrRestartCellList(b, shift.Contains(gui::TShiftStateItem::ssCtrl));
    }
    AddSelectionToCellList(b, false);
    RepaintCell(col, row);
}

void TExGridStructure::SelectionMoved(const gui::TGridRect& oldSel)
{
    TExGridSlots::SelectionMoved(oldSel);
    FCellTakenOut = {-1, -1};
}

// A selection of several cells (a drag, or Shift) joins the list whole.
// Only a Ctrl toggle of the released cell is kept: a Shift range includes
// the released corner, which it has not toggled.
void TExGridStructure::AddSelectionToCellList(gui::TPoint b, bool includeReleased)
{
    const gui::TGridRect sel = Selection();
    if (sel.Left == sel.Right && sel.Top == sel.Bottom) return;
    for (int c = std::min(sel.Left, sel.Right); c <= std::max(sel.Left, sel.Right); ++c)
        for (int r = std::min(sel.Top, sel.Bottom); r <= std::max(sel.Top, sel.Bottom); ++r)
            if ((includeReleased || !(gui::TPoint{c, r} == b)) && !IsCellInSelectedList(c, r))
                FSelectedCells.push_back({c, r});
    RepaintSelectedCells();
}

void TExGridStructure::RepaintSelectedCells()
{
    for (const gui::TPoint& p : FSelectedCells) RepaintCell(p.X, p.Y);
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

// --- controls placed in cells -----------------------------------------------------------

void TExGridStructure::CellControlsUpdate()
{
    if (!HandleAllocated()) return;
    PlaceCellScrollBar();
    PlaceListedControls();
    RepaintCellPropertyControls();
}

// The scroll bar shown over a scroll-bar cell stays at the cell's right
// edge, the cell's full height; scrolled out of view it has no height.
// It keeps to the cell it scrolls, which need not be the current one.
void TExGridStructure::PlaceCellScrollBar()
{
    gui::TScrollBar* bar = FCellScrollBar;
    if (!bar || !bar->Visible() || FScrollCol < 0 || FScrollRow < 0) return;
    const int c = Self().RealToDisplayCol(FScrollCol), r = FScrollRow;
    const int left = LeftCol(), top = TopRow();
    const bool inView = c >= left && c <= left + VisibleColCount() && c < ColCount() && r >= top &&
                        r <= top + VisibleRowCount() && r < RowCount();
    if (!inView) {
        bar->SetHeight(0);
        return;
    }
    const gui::TRect rc = CellRect(c, r);
    bar->SetBounds(rc.Right - bar->Width(), rc.Top, bar->Width(), rc.Height());
}

void TExGridStructure::PlaceListedControls()
{
    TExStringGrid& g = Self();
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
    const int left = LeftCol(), top = TopRow();
    const int right = left + VisibleColCount(), bottom = top + VisibleRowCount();
    for (TGridControlItem& ci : FControlItems) {
        if (!ci.Control) continue;
        if (g.IsHiddenRow(ci.Y) || g.IsHiddenColumn(ci.X)) {
            ci.Control->SetVisible(false);
            continue;
        }
        const int c = g.RealToDisplayCol(ci.X), r = g.RealToDisplayRow(ci.Y);
        if (c < fixedCols || r < fixedRows) continue;  // fixed cells keep theirs
        if (c < left || c > right || r < top || r > bottom) {
            ci.Control->SetVisible(false);
            continue;
        }
        const gui::TRect rc = CellRect(c, r);
        ci.Control->SetBounds(rc.Left, rc.Top, rc.Width() - 1, rc.Height() - 1);
        ci.Control->SetVisible(true);
    }
}

void TExGridStructure::RepaintCellPropertyControls()
{
    TExStringGrid& g = Self();
    const int left = LeftCol(), top = TopRow();
    const int right = left + VisibleColCount(), bottom = top + VisibleRowCount();
    const int fixedCols = TBaseGrid::FixedCols(), fixedRows = TBaseGrid::FixedRows();
    for (int r = std::max(top, fixedRows); r <= std::min(bottom, RowCount() - 1); ++r)
        for (int c = std::max(left, fixedCols); c <= std::min(right, ColCount() - 1); ++c) {
            const TCellProperties* p = FindCellProperties(g.RealColIndex(c), r);
            gui::TControl* control = p ? p->Control() : nullptr;
            if (!control) continue;
            // A width change makes it repaint completely.
            control->Invalidate();
            control->SetWidth(control->Width() + 1);
            control->SetWidth(control->Width() - 1);
        }
}

void TExGridStructure::TopLeftChanged()
{
    TExGridSlots::TopLeftChanged();
    CellControlsUpdate();
}

void TExGridStructure::ColWidthsChanged()
{
    TExGridSlots::ColWidthsChanged();
    CellControlsUpdate();
}

void TExGridStructure::RowHeightsChanged()
{
    TExGridSlots::RowHeightsChanged();
    CellControlsUpdate();
}

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

TGridDateTimePicker* TExGridStructure::DateTimePicker() { return Self().EditDateTime(); }

int TExGridStructure::GetEditLengthLimit() const { return Self().MaxEditLength(); }

// --- wide texts ----------------------------------------------------------------------------

std::u16string TExGridStructure::GetCellTextWide(int aCol, int aRow) const
{
    // A text stored in the prefixed wide form reads as its characters.
    const std::string text = const_cast<TExGridStructure*>(this)->GetCellText(aCol, aRow);
    return rtl::UTF8ToUTF16(gridbase::DecodePrefixedWideText(text));
}

void TExGridStructure::SetCellTextWide(int aCol, int aRow, const std::u16string& value)
{
    SetCellText(aCol, aRow, rtl::UTF16ToUTF8(value));
}

} // namespace grid
