// ExGridStructure: TExGridStructure, the string grid's operations on its
// row and column structure that go beyond insert and remove: removing and
// hiding rows by selection or check box, removing columns by selection,
// clearing the selection or the normal cells of rows and columns, merging
// and splitting along a row, the lighter removals the hiding code builds
// on, the index-mapping helpers by name, the disjunct cell selection, the
// combo item list, wide texts and their validation, the controls placed in
// cells, the balloon window and the key release.  TExStringGrid
// (grid/ExGrid.h) derives from it; the bodies live in
// ExGridBySelection.cpp, ExGridCellSelect.cpp, ExGridMessages.cpp
// (validation), ExGridHints.cpp (balloon) and ExGridKeyUp.cpp and work on
// the grid.
//
//   grid->MouseActions()->SetDisjunctRowSelect(true);
//   grid->SetRowSelect(3, true);
//   grid->SetRowSelect(5, true);
//   grid->RemoveSelectedRows();          // rows 5 and 3 go, flags cleared
//   grid->RemoveCheckedRows(1, true);    // rows whose check box in column 1 is set go
#pragma once

#include <string>
#include <vector>

#include "grid/ExGridSlots.h"

namespace grid {

class TExStringGrid;

class TExGridStructure : public TExGridSlots {
public:
    explicit TExGridStructure(rtl::TComponent* owner) : TExGridSlots(owner) {}

    // --- removal, hiding and clearing by selection (ExGridBySelection.cpp) ----------
    // A row counts as selected by GetRowSelect of its index, or of its real
    // index with MouseActions.RowSelectPersistent.
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    // Removes every normal row whose check box in the column is (not) set.
    void RemoveCheckedRows(int checkBoxColumn, bool removeChecked);
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // The selected rows, columns or rectangle, by the selection mode.
    void ClearSelection();
    void ClearCols(int colIndex, int cCount);
    void ClearNormalRows(int rowIndex, int rCount);
    void ClearNormalCols(int colIndex, int cCount);
    void ClearNormalCells();
    void MergeColumnCells(int colIndex, bool mainMerge);
    void SplitColumnCells(int colIndex);
    void MergeRowCells(int rowIndex, bool mainMerge);
    void SplitRowCells(int rowIndex);
    void SplitAllCells();
    // The first cell (row by row) whose stored text equals subStr exactly.
    bool IsCell(const std::string& subStr, int& aCol, int& aRow);
    // Whether the cell's displayed text starts with the wide-text marker "|\".
    bool IsWideCell(int aCol, int aRow);
    // Moves the texts and objects of the rows below up over rCount rows
    // (heights stay by position) and shifts the hidden rows' records.
    virtual void RemoveRowsEx(int rowIndex, int rCount);
    // The removal worker: takes rCount display rows out, keeping the current
    // row, the view and the other rows' heights; with adjustHidden the cell
    // controls of the rows go and the hidden rows' records shift.
    void DeleteRowsInternal(int rowIndex, int rCount, bool adjustHidden);
    // Hides real rows fromRow..toRow through RemoveRowsEx (items appended).
    void HideRowsEx(int fromRow, int toRow);

    // --- index helpers and the current position (ExGridBySelection.cpp) --------------
    bool GetColumnVisibleFlag(int index) const { return index >= 0 && index <= 512 && FVisibleCol[index]; }
    void SetColumnVisibleFlag(int index, bool value)
    {
        if (index >= 0 && index <= 512) FVisibleCol[index] = value;
    }
    int RealRowIndex(int aRow) const;
    int DisplRowIndex(int aRow) const;
    // The current row and column as real indexes.
    int RealRow() const;
    int RealCol() const;
    // Runs the cell-selection test for the current cell again.
    void UpdateEditMode();
    // The same, as the editors call it to take the current cell anew.
    void Select() { UpdateEditMode(); }
    // The grid's date-and-time picker editor (made on first use).
    class TGridDateTimePicker* DateTimePicker();
    // The longest text the inplace editor takes (MaxEditLength; 0 = no limit).
    int GetEditLengthLimit() const;

    // --- selected cells (ExGridCellSelect.cpp) ----------------------------------------
    // The selected cells, collected when counted: without
    // MouseActions.DisjunctCellSelect the list holds the selection only;
    // with it every count adds the cells selected now to those kept.
    int SelectedCellsCount();
    // The i-th cell of the list as last counted (X = column, Y = row);
    // (-1, -1) out of range.
    gui::TPoint SelectedCell(int index) const;
    // Selection := the first normal cell; the list emptied.
    void ClearSelectedCells();
    // Whether the cell (display indexes) is in the list.
    bool IsCellInSelectedList(int aCol, int aRow) const;
    // A left press with MouseActions.DisjunctCellSelect: without Ctrl the
    // list starts anew.
    void DisjunctCellPress(gui::TShiftState shift);
    // A left release on a cell with MouseActions.DisjunctCellSelect: Ctrl
    // adds or removes the cell (its base cell when merged), a plain release
    // starts the list with it; a range selection adds all its cells.
    void DisjunctCellRelease(int aCol, int aRow, gui::TShiftState shift);
    // Space released with MouseActions.DisjunctCellSelect and goEditing off:
    // the current cell (its base cell) is toggled with Ctrl, else the list
    // starts anew with it; a range selection joins the list.
    void DisjunctCellSpaceUp(gui::TShiftState shift);
    // Sets the column selection flags from the selection rectangle.
    void MarkSelectedCols(bool clearOthers);
    // Repaints the cells of a rectangle of display indexes.
    void InvalidateGridRect(const gui::TGridRect& r);
    // Makes the cell current with the anchor and scrolls it into view.
    void FocusCell(int aCol, int aRow);
    void GotoCell(int aCol, int aRow) { FocusCell(aCol, aRow); }

    // --- the combo editor's item list and wide texts (ExGridCellSelect.cpp) -----------
    void ClearComboString();
    void AddComboString(const std::string& s);
    void AddComboStringObject(const std::string& s, rtl::TObject* object);
    // False when s is not in the list.
    bool RemoveComboString(const std::string& s);
    // ComboIdx := the position of s; false (and no change) when it is not listed.
    bool SetComboSelectionString(const std::string& s);
    void SetComboSelection(int idx) { SetComboIdx(idx); }
    int GetComboCount();
    // The merge-aware cell text as UTF-16, and written from it.
    std::u16string GetCellTextWide(int aCol, int aRow) const;
    void SetCellTextWide(int aCol, int aRow, const std::u16string& value);
    // Validates an edited wide value as ValidateCell does a string, through
    // OnCellValidateWide (ExGridMessages.cpp); true when it is accepted.
    virtual bool ValidateCellWide(const std::u16string& newValue);

    // --- controls placed in cells (ExGridCellSelect.cpp) ---------------------------------
    // Keeps a shown cell scroll bar at the right edge of its cell (no
    // height while the cell is out of view), lays the controls of
    // ControlItems() over their cells (one pixel less in width and height)
    // and shows them; those in hidden rows or columns or scrolled out of
    // view are hidden.  Controls held in the visible cells' properties are
    // repainted.  Runs after scrolling, sizing and row and column changes.
    void CellControlsUpdate();

    // --- the balloon window (ExGridHints.cpp) -------------------------------------------
    // Makes the balloon window ready with Balloon's delays and transparency
    // (alpha 255 - Transparency); the cells fill in title, icon and text as
    // the pointer moves.  Balloon changes run it while Enable is on.
    void BalloonInit();
    // Closes and frees the balloon window; Balloon changes with Enable off
    // and the grid's window going run it.
    void BalloonDone();
    // Balloon changed (not while loading): BalloonInit or BalloonDone.
    void BalloonSettingsChanged();

protected:
    TExStringGrid& Self();
    const TExStringGrid& Self() const;
    // The cell controls follow scrolling and sizing.
    void TopLeftChanged() override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // A key released (ExGridKeyUp.cpp): the incremental search ends on
    // moving keys, OnKeyUp, the editor opens with Navigation.AlwaysEdit,
    // and Space picks cells with MouseActions.DisjunctCellSelect.
    void KeyUp(uint16_t& key, gui::TShiftState shift) override;
    // A move of the selection forgets the cell a Ctrl toggle took out.
    void SelectionMoved(const gui::TGridRect& oldSel) override;
    // A refused value: back to the edited cell, which shows `shown`, with
    // the editor open again on it.
    void ReopenRefusedEdit(int aCol, int aRow, const std::string& shown);

private:
    void ToggleOrRestartCellList(gui::TPoint b, bool ctrl);
    void AddSelectionToCellList(gui::TPoint b, bool includeReleased);
    void RepaintSelectedCells();
    void PlaceCellScrollBar();
    void PlaceListedControls();
    void RepaintCellPropertyControls();
    void ClearSearchOnMovingKey(uint16_t key);
    void EditorAfterMovingKey(uint16_t key);

    std::vector<gui::TPoint> FSelectedCells;  // in the order they were added
    // The current cell as a Ctrl toggle took it out of the list: counting
    // does not add it back until the selection moves.
    gui::TPoint FCellTakenOut{-1, -1};
};

} // namespace grid
