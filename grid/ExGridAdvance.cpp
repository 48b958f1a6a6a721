// ExGrid: the grid's character keys and the advance after Enter: Enter in
// the editor moves on to the next editable cell (along the row or down the
// column), appending a row or column at the end when allowed, and opens
// the editor there.
#include <algorithm>

#include "grid/ExGrid.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TGridOption;

void TExStringGrid::KeyPress(char16_t& key)
{
    const bool fromEditor = FEnterFromEditor;
    FEnterFromEditor = false;
    auto report = [&] {
        if (OnKeyPress) OnKeyPress(this, key);
    };
    if (key == 27) {
        // Only an edit still open on the current cell is undone.
        if (Options().Contains(TGridOption::goEditing) && FEditing && EditMode()) RestoreCellFromCache();
        report();
        return;
    }
    const int rCol = RealColIndex(Col());
    if (key == 13 && !FNavigation->AdvanceOnEnter() && !IsEditable(rCol, Row())) {
        report();
        key = 0;
        return;
    }
    if (key == 13 && (fromEditor || HasClickControl(rCol, Row()))) {
        const gui::TPoint before{Col(), Row()};
        AdvanceToNextCell(Col(), Row(), fromEditor, false, true, false, false);
        const bool moved = before.X != Col() || before.Y != Row();
        if (!FNavigation->AdvanceAutoEdit()) {
            report();
            key = 0;
            return;
        }
        if (HasClickControl(RealColIndex(Col()), Row())) {
            report();
            if (FNavigation->AdvanceOnEnter()) ShowEditor();
            key = 0;
            return;
        }
        // The editor closed on Enter: it opens again on the cell the advance
        // reached.
        if (fromEditor && moved && IsEditable(RealColIndex(Col()), Row())) ShowEditor();
        report();
        key = 0;
        return;
    }
    // Incremental search: the row whose key cell starts with the typed text
    // becomes current; a text that matches no row starts over.
    if (!Options().Contains(TGridOption::goEditing) && FNavigation->AutoGotoWhenSorted() && (key == 8 || key >= 32)) {
        const std::string typed = key == 8 ? std::string() : rtl::UTF16ToUTF8(std::u16string(1, key));
        if (FNavigation->AutoGotoIncremental()) {
            if (key == 8) {
                if (!SearchInc.empty()) SearchInc.pop_back();
            } else {
                SearchInc += typed;
            }
            SearchTics = 0;
        } else {
            SearchInc = typed;
        }
        const int r = SearchInc.empty() ? -1 : Search(rtl::AnsiUpperCase(SearchInc));
        if (r == -1) SearchInc.clear();
        else SetRow(r);
    }
    // A character typed on the grid starts editing with it, through the
    // editor's own filter.
    if (key >= 32 && key != 127 && Options().Contains(TGridOption::goEditing) &&
        !Options().Contains(TGridOption::goRowSelect) && !EditorMode()) {
        report();
        if (key == 0) return;
        FStartEditChar = key;  // a special editor takes it when it opens
        ShowEditor();
        FStartEditChar = 0;
        if (FSpecialEditor) {
            key = 0;
            return;
        }
        gui::TInplaceEdit* ed = InplaceEditor();
        if (ed && ed->Visible()) {
            ed->SelectAll();
            ed->KeyPress(key);
        }
        key = 0;
        return;
    }
    TBaseGrid::KeyPress(key);
}

void TExStringGrid::EnterFromEditor(char16_t& key)
{
    FEnterFromEditor = true;
    KeyPress(key);
    FEnterFromEditor = false;
}

int TExStringGrid::LastDataRow() const
{
    return FFloatingFooter->Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1;
}

// Finds the next cell that may be edited; false when the advance stops
// (a new row without an editable cell, or no editable cell anywhere).
bool TExStringGrid::NextAdvanceCell(int& aCol, int& aRow, bool forward)
{
    const int fixedRows = TBaseGrid::FixedRows();
    const int firstCol = FirstNavigableCol();
    const int endCol = ColCount() - FFixedRightCols;
    const int lastRow = LastDataRow();
    const bool leftRight = FNavigation->AdvanceDirection() == TAdvanceDirection::adLeftRight;
    const gui::TPoint span = CellSpan(aCol, aRow);
    if (forward && leftRight) {
        if (aCol + span.X < endCol - 1) {
            aCol += span.X + 1;
        } else if (aRow < lastRow) {
            ++aRow;
            aCol = firstCol;
        } else if (FNavigation->AdvanceInsert()) {
            const bool canAdd = CanAddRow();
            aCol = firstCol;
            if (canAdd) {
                if (FFloatingFooter->Visible()) InsertRows(RowCount() - 1, 1, true);
                else IncRowCount();
                ++aRow;
                if (OnAutoAddRow) OnAutoAddRow(this, aRow);
                bool any = false;
                for (int c = TBaseGrid::FixedCols(); c < ColCount() && !any; ++c)
                    any = IsEditable(RealColIndex(c), aRow);
                if (!any) return false;
            }
        } else {
            aRow = fixedRows;
            aCol = firstCol;
        }
    } else if (forward) {
        if (aRow < lastRow) {
            ++aRow;
        } else if (aCol + 1 < endCol) {
            aRow = fixedRows;
            ++aCol;
        } else if (FNavigation->AdvanceInsert()) {
            SetColCount(ColCount() + 1);
            aCol += span.X + 1;
            aRow = fixedRows;
            if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FFixedRightCols - 1);
        } else {
            aRow = fixedRows;
            aCol = firstCol;
        }
        Invalidate();
    } else if (leftRight) {
        if (aCol > firstCol) {
            --aCol;
        } else {
            aCol = endCol - 1;
            aRow = aRow > fixedRows ? aRow - 1 : lastRow;
        }
    } else {
        if (aRow > fixedRows) {
            --aRow;
        } else {
            aRow = lastRow;
            aCol = aCol > firstCol ? aCol - 1 : endCol - 1;
        }
    }
    return true;
}

void TExStringGrid::AdvanceToNextCell(int aCol, int aRow, bool showEditor, bool retry, bool forward, bool autoEdit,
                                      bool force)
{
    if (!FNavigation->AdvanceOnEnter() && !force) return;
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(TGridOption::goEditing))
        SetOptions(Options() + gui::TGridOptions{TGridOption::goEditing});
    if (!retry) {
        FAECol = aCol;
        FAERow = aRow;
    }
    // Cells that may not be edited are skipped; after as many steps as the
    // grid has cells without finding one, the current cell stays.  The
    // old cell is the one the last step left.
    long budget = static_cast<long>(ColCount()) * RowCount() + 1;
    int oldCol = aCol, oldRow = aRow;
    for (;;) {
        oldCol = aCol;
        oldRow = aRow;
        if (!NextAdvanceCell(aCol, aRow, forward)) return;
        bool canEdit = true;
        CanEditBaseCell(RealColIndex(aCol), aRow, canEdit);
        if (canEdit) break;
        if (--budget <= 0) return;
    }
    bool allow = true;
    if (OnAutoAdvance) OnAutoAdvance(this, FAERow, FAECol, aRow, aCol, allow);
    if (allow && OnCellChanging) OnCellChanging(this, FAERow, FAECol, aRow, aCol, allow);
    if (allow) {
        FDisableChange = true;
        MoveColRow(aCol, aRow, true, true);
        FDisableChange = false;
    }
    // A refused advance opens nothing.
    if (!showEditor || !allow) return;
    if (!OpenEditorAfterAdvance(oldCol, oldRow, autoEdit)) return;
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

// The editor opens on the cell the advance reached (with AdvanceAutoEdit,
// or always on a click control); false when that cell may not be edited.
// The control of a click-control cell is clicked as by the mouse, unless
// the advance came from another click control; a special editor of the
// cell left does not stay open.
bool TExStringGrid::OpenEditorAfterAdvance(int oldCol, int oldRow, bool autoEdit)
{
    const int rc = RealColIndex(Col());
    const bool click = HasClickControl(rc, Row());
    if (!(autoEdit && FNavigation->AdvanceAutoEdit()) && !click) return true;
    if (!IsEditable(rc, Row())) return false;
    ShowEditor();
    if (!click) return true;
    const int newCol = Col(), newRow = Row();
    FDisableChange = true;
    MoveColRow(oldCol, oldRow, true, true);
    MoveColRow(newCol, newRow, true, true);
    if (!HasClickControl(RealColIndex(oldCol), oldRow)) {
        const gui::TRect r = gui::TCustomGrid::CellRect(newCol, newRow);
        MouseDown(gui::TMouseButton::mbLeft, {}, r.Left + 2, r.Top + 2);
        MouseUp(gui::TMouseButton::mbLeft, {}, r.Left + 2, r.Top + 2);
    }
    if (FNavigation->AdvanceDirection() == TAdvanceDirection::adTopBottom) HideInplaceEdit();
    FDisableChange = false;
    bool allow = true;
    if (OnCellChanging) OnCellChanging(this, oldRow, oldCol, Row(), Col(), allow);
    TEditorType type = DefaultEditor();
    ResolveEditorType(RealColIndex(oldCol), oldRow, type);
    if (!IsTextEditorKind(type)) HideInplaceEdit();
    return true;
}

} // namespace grid

namespace grid {

void TExStringGrid::WalkToEditableCell(int step)
{
    for (int c = Col() + step; c >= FirstNavigableCol() && c < ColCount() - FFixedRightCols; c += step) {
        if (!IsBaseCell(RealColIndex(c), Row()) || !IsEditable(RealColIndex(c), Row())) continue;
        MoveColRow(c, Row(), true, true);
        if (Col() == c && FNavigation->CursorWalkAlwaysEdit()) ShowEditor();
        return;
    }
}

} // namespace grid

// ---------------------------------------------------- editing by the mouse

namespace grid {

void TExStringGrid::DirectEditPress(int aCol, int aRow, int x)
{
    if (aCol < TBaseGrid::FixedCols() || aRow < TBaseGrid::FixedRows() || IsFixed(aCol, aRow)) return;
    if (!FMouseActions->DirectEdit() || Col() != aCol || Row() != aRow) return;
    const gui::TRect rc = gui::TCustomGrid::CellRect(aCol, aRow);
    const int rCol = RealColIndex(aCol);
    // Presses on the cell's edges belong to column sizing.
    if (x <= rc.Left + 3 || x >= rc.Right - 3 || HasClickControl(rCol, aRow) || !IsEditable(rCol, aRow)) return;
    RememberCellValue(aCol, aRow);
    ShowEditor();
}

bool TExStringGrid::DblClickSizesColumn(int aCol, int aRow, int x)
{
    if (aRow >= TBaseGrid::FixedRows() || !Options().Contains(gui::TGridOption::goColSizing) ||
        !FMouseActions->AutoSizeColOnDblClick())
        return false;
    const gui::TRect rc = gui::TCustomGrid::CellRect(aCol, aRow);
    int col = -1;
    if (x - rc.Left <= 3 && aCol - 1 >= TBaseGrid::FixedCols()) col = aCol - 1;
    else if (rc.Right - x <= 3 && aCol >= TBaseGrid::FixedCols()) col = aCol;
    if (col < 0) return false;
    bool allow = true;
    if (OnColumnSize) OnColumnSize(this, col, allow);
    if (allow) {
        AutoSizeCol(col);
        if (OnEndColumnSize) OnEndColumnSize(this, col);
    }
    return true;
}

void TExStringGrid::DblClickEdit(int aCol, int aRow)
{
    const int rCol = RealColIndex(aCol);
    const bool rangeEdit = FMouseActions->RangeSelectAndEdit();
    if (FMouseActions->EditOnDblClickOnly()) {
        // Editing is tested as if range-select editing were on.
        FMouseActions->SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(rCol, aRow);
        FMouseActions->SetRangeSelectAndEdit(rangeEdit);
        if (!editable) return;
        SetOptions(Options() + gui::TGridOptions{gui::TGridOption::goEditing});
        RememberCellValue(aCol, aRow);
        ShowEditor();
    } else if (rangeEdit && IsEditable(rCol, aRow)) {
        SetOptions(Options() + gui::TGridOptions{gui::TGridOption::goEditing});
        RememberCellValue(aCol, aRow);
        ShowEditor();
    }
}

} // namespace grid
