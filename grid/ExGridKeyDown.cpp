// ExGrid: one key press, step by step.  TGridKeyDown remembers the state at
// entry and runs the grid's own steps around the class library's key
// handling: scroll-only navigation, editing start by Enter and F2, cell
// controls, Home and End, node keys, horizontal scrolling in row-select
// mode, Tab, skipping of fixed cells, appending on Down, the search
// footer's guard, clipboard shortcuts, row insertion, select-all, the
// keyboard side of disjunct selection, row deletion and inline controls.
//
// "Swallow" a key: report it to OnKeyDown (a copy) and consume it.
// "Report" a key: OnKeyDown sees a copy, the key goes on.
#include <algorithm>

#include "grid/ExGrid.h"
#include "gridbase/ExUtil.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TGridOption;
using gui::TShiftStateItem;

class TGridKeyDown {
public:
    TGridKeyDown(TExStringGrid& grid, uint16_t& key, gui::TShiftState shift);
    void Run();

private:
    TExStringGrid& G;
    uint16_t& Key;
    const gui::TShiftState Shift;
    const bool Ctrl, ShiftDown, Alt, WasDown;
    const int EntryLeftCol, EntryRow;
    gui::TGridRect MoveSelection;
    bool KeepHoriz = false;
    // The key as pressed, for the steps after the class library's handling
    // (which may have consumed it).
    uint16_t Pressed;

    bool RowSelect() const { return G.Options().Contains(TGridOption::goRowSelect); }
    static bool Navigating(uint16_t k) { return k >= gui::VK_PRIOR && k <= gui::VK_DOWN; }
    static bool EnterOrF2(uint16_t k) { return k == gui::VK_RETURN || k == gui::VK_F2; }
    void Report();
    void Swallow();

    bool ForeignEditorKey();
    void KeepHorizontalFlag();
    bool ScrollOnly();
    bool EditOnDblClickOnlyStart();
    bool RangeEditStart();
    void FocusSearchEdit();
    bool EnterOnLockedCell();
    bool EnterOnReadOnlyCell();
    void CellControls();
    bool HomeEnd();
    void HomeEndRowSelection(int farRow);
    void RestoreLeftCol();
    void NodeKeys();
    bool RowSelectScroll();
    bool Tab();
    void SkipFixedCells();
    void AppendOnDown();
    void InvalidateMovedSelection();
    bool SearchFooterGuard();
    void Inherited();
    void KeepAboveSearchFooter();
    int SelectionRow() const;
    bool Clipboard();
    bool InsertRow();
    bool SelectAll();
    void DisjunctSelectionKeys();
    bool DeleteRow();
    void EnterInlineControl();
    void ReportSelectionChange();
};

TGridKeyDown::TGridKeyDown(TExStringGrid& grid, uint16_t& key, gui::TShiftState shift)
    : G(grid), Key(key), Shift(shift), Ctrl(shift.Contains(TShiftStateItem::ssCtrl)),
      ShiftDown(shift.Contains(TShiftStateItem::ssShift)), Alt(shift.Contains(TShiftStateItem::ssAlt)),
      WasDown(key == gui::VK_DOWN), EntryLeftCol(grid.LeftCol()), EntryRow(grid.Row()),
      MoveSelection(grid.Selection()), Pressed(key)
{
}

void TGridKeyDown::Run()
{
    if (ForeignEditorKey()) return;
    KeepHorizontalFlag();
    if (ScrollOnly()) return;
    if (EditOnDblClickOnlyStart() || RangeEditStart()) return;
    FocusSearchEdit();
    if (EnterOnLockedCell() || EnterOnReadOnlyCell()) return;
    CellControls();
    if (HomeEnd()) return;
    NodeKeys();
    if (RowSelectScroll() || Tab()) return;
    SkipFixedCells();
    AppendOnDown();
    InvalidateMovedSelection();
    if (SearchFooterGuard()) return;
    Inherited();
    KeepAboveSearchFooter();
    RestoreLeftCol();
    if (Clipboard() || InsertRow() || SelectAll()) return;
    DisjunctSelectionKeys();
    if (DeleteRow()) return;
    EnterInlineControl();
    ReportSelectionChange();
}

// The handler gets a copy: what it does to it changes nothing here.
void TGridKeyDown::Report()
{
    if (!G.OnKeyDown) return;
    uint16_t copy = Key;
    G.OnKeyDown(&G, copy, Shift);
}

void TGridKeyDown::Swallow()
{
    Report();
    Key = 0;
}

// A key a special editor's control left unhandled is not the grid's.
bool TGridKeyDown::ForeignEditorKey()
{
    if (!G.FSpecialEditor || G.Focused()) return false;
    Key = 0;
    return true;
}

// Row-select paging keeps the view's left column where it was.
void TGridKeyDown::KeepHorizontalFlag()
{
    const bool vertical = Key == gui::VK_PRIOR || Key == gui::VK_NEXT || Key == gui::VK_UP || Key == gui::VK_DOWN;
    KeepHoriz = vertical && RowSelect() && G.Navigation()->KeepHorizScroll();
}

// The view moves, the current cell stays.
bool TGridKeyDown::ScrollOnly()
{
    if (!G.Navigation()->MoveScrollOnly()) return false;
    const int fixedRows = G.TBaseGrid::FixedRows(), top = G.TopRow(), visible = G.VisibleRowCount();
    const int rows = G.RowCount();
    switch (Key) {
    case gui::VK_PRIOR: G.SetTopRow(visible + fixedRows < top ? top - visible : fixedRows); break;
    case gui::VK_NEXT:
        if (top + visible < rows) G.SetTopRow(top + visible);
        break;
    case gui::VK_END: G.SetTopRow(std::max(fixedRows, rows - visible)); break;
    case gui::VK_HOME: G.SetTopRow(fixedRows); break;
    case gui::VK_UP:
        if (top > fixedRows) G.SetTopRow(top - 1);
        break;
    case gui::VK_DOWN:
        if (top + visible < rows) G.SetTopRow(top + 1);
        break;
    default: return false;
    }
    Key = 0;
    return true;
}

// Enter and F2 open the editor where only a double click would.
bool TGridKeyDown::EditOnDblClickOnlyStart()
{
    if (!G.MouseActions()->EditOnDblClickOnly() || !EnterOrF2(Key)) return false;
    const bool rangeEdit = G.MouseActions()->RangeSelectAndEdit();
    G.MouseActions()->SetRangeSelectAndEdit(true);
    const bool open = G.IsEditable(G.RealColIndex(G.Col()), G.Row());
    G.MouseActions()->SetRangeSelectAndEdit(rangeEdit);
    if (!open) return false;
    G.SetOptions(G.Options() + gui::TGridOptions{TGridOption::goEditing});
    G.RememberCellValue(G.Col(), G.Row());
    G.ShowEditor();
    Swallow();
    return true;
}

// Range selection with editing keeps goEditing off until Enter or F2.
bool TGridKeyDown::RangeEditStart()
{
    if (!G.MouseActions()->RangeSelectAndEdit() || G.Options().Contains(TGridOption::goEditing) || !EnterOrF2(Key))
        return false;
    if (!G.IsEditable(G.RealColIndex(G.Col()), G.Row())) {
        Key = 0;
        return true;
    }
    G.SetOptions(G.Options() + gui::TGridOptions{TGridOption::goEditing});
    G.RememberCellValue(G.Col(), G.Row());
    G.ShowEditor();
    Swallow();
    return true;
}

// Ctrl+F takes the focus to the search footer's edit box.
void TGridKeyDown::FocusSearchEdit()
{
    if (Ctrl && Key == 'F' && G.SearchFooterShown() && G.SearchPanel()->Edit()->CanFocus())
        G.SearchPanel()->Edit()->SetFocus();
}

// An editing grid ignores Enter and F2 on a cell that may not be edited;
// the inline form controls of a cell take them for themselves.
bool TGridKeyDown::EnterOnLockedCell()
{
    if (!EnterOrF2(Key)) return false;
    if (G.Options().Contains(TGridOption::goEditing) && !G.EditorMode() &&
        !G.IsEditable(G.RealColIndex(G.Col()), G.Row())) {
        Swallow();
        return true;
    }
    const std::string text = G.GetCellText(G.RealColIndex(G.Col()), G.Row());
    if (gridbase::ClassifyCellText(text, G.EnableHTML()) == gridbase::ctHtmlText &&
        rtl::UpperCase(text).find("<CONTROL") != std::string::npos) {
        Key = 0;
        return true;
    }
    return false;
}

// Enter on a cell that cannot be edited belongs to a form that previews
// keys; otherwise it ends here.
bool TGridKeyDown::EnterOnReadOnlyCell()
{
    if (Key != gui::VK_RETURN || G.Options().Contains(TGridOption::goEditing)) return false;
    if (G.IsEditable(G.RealColIndex(G.Col()), G.Row())) return false;
    const gui::TCustomForm* form = TExStringGrid::FindParentForm(&G);
    if (form && form->KeyPreview()) return false;
    Swallow();
    return true;
}

void TGridKeyDown::CellControls()
{
    if (Key == gui::VK_RETURN || Key == gui::VK_SPACE) G.CellControlKey(Key);
}

// Home and End by rows, or to the first and last column in row-select mode.
bool TGridKeyDown::HomeEnd()
{
    if (Key != gui::VK_HOME && Key != gui::VK_END) return false;
    if (G.FFixedRowAlways && G.RowCount() == 1) return false;
    const int fixedRows = G.TBaseGrid::FixedRows();
    if (G.Navigation()->HomeEndKey() == THomeEndAction::heFirstLastRow) {
        int far = fixedRows;
        if (Key == gui::VK_END)
            far = G.FloatingFooter()->Visible() && G.RowCount() > 2 ? G.RowCount() - 2
                                                                   : G.RowCount() - G.FFixedFooters - 1;
        far = std::max(far, fixedRows);
        G.SetRow(far);
        G.SnapToBaseCell();
        HomeEndRowSelection(far);
        if (Key == gui::VK_END && G.FloatingFooter()->Visible())
            G.SetTopRow(std::max(fixedRows, G.RowCount() - G.VisibleRowCount()));
        Swallow();
        KeepHoriz = RowSelect() && G.Navigation()->KeepHorizScroll();
        RestoreLeftCol();
        return true;
    }
    if (!RowSelect()) return false;
    if (Key == gui::VK_HOME) {
        G.SetCol(G.FirstNavigableCol());
        G.SnapToBaseCell();
        G.SetLeftCol(G.FirstNavigableCol());
    } else {
        G.SetCol(G.ColCount() - 1);
        G.SnapToBaseCell();
        G.SetLeftCol(std::max(G.TBaseGrid::FixedCols(), G.ColCount() - G.VisibleColCount()));
    }
    Swallow();
    return true;
}

void TGridKeyDown::HomeEndRowSelection(int farRow)
{
    const bool disjunct = G.MouseActions()->DisjunctRowSelect();
    if (ShiftDown) {
        G.SetSelection({0, std::min(EntryRow, farRow), G.ColCount() - 1, std::max(EntryRow, farRow)});
        if (disjunct) G.MarkSelectedRows(false);
    } else if (disjunct) {
        G.ClearRowSelect();
        G.MarkSelectedRows(false);
    }
}

void TGridKeyDown::RestoreLeftCol()
{
    if (!KeepHoriz) return;
    G.StartUpdate();
    G.SetLeftCol(EntryLeftCol);
    G.ResetUpdate();
}

// Right expands, Left contracts the node of a merged node row.
void TGridKeyDown::NodeKeys()
{
    if (Key != gui::VK_RIGHT && Key != gui::VK_LEFT) return;
    const int row = G.Row();
    if (!G.IsNode(row) || !G.IsMergedCell(G.Col(), row)) return;
    if (Key == gui::VK_RIGHT) G.ExpandNode(G.DisplayToRealRow(row));
    else G.ContractNode(G.DisplayToRealRow(row));
}

// In row-select mode Left and Right (Ctrl+Left and Ctrl+Right with
// LeftRightRowSelect) scroll the view by a column.
bool TGridKeyDown::RowSelectScroll()
{
    if (Key != gui::VK_LEFT && Key != gui::VK_RIGHT) return false;
    if (!RowSelect() || G.IsNode(G.Row()) || G.ColCount() <= G.VisibleColCount()) return false;
    const bool byCtrl = G.Navigation()->LeftRightRowSelect();
    if (byCtrl && !Ctrl) return false;
    const int left = G.LeftCol();
    if (Key == gui::VK_LEFT && left > G.TBaseGrid::FixedCols()) G.SetLeftCol(left - 1);
    if (Key == gui::VK_RIGHT && G.VisibleColCount() + left < G.ColCount()) G.SetLeftCol(left + 1);
    if (byCtrl) return false;
    Report();
    Key = 0;
    return true;
}

// Tab runs the grid's own cell-by-cell navigation.
bool TGridKeyDown::Tab()
{
    if (Key != gui::VK_TAB || !G.Options().Contains(TGridOption::goTabs) || Alt) return false;
    G.TabNavigate(ShiftDown);
    Key = 0;
    return true;
}

// Cells the grid reports fixed inside the normal area are walked over; the
// cursor stays when nothing beyond them can take it.
void TGridKeyDown::SkipFixedCells()
{
    if (!G.Navigation()->SkipFixedCells()) return;
    const int col = G.Col(), row = G.Row();
    int step = 0;
    bool horizontal = true;
    if (Key == gui::VK_LEFT) step = -1;
    else if (Key == gui::VK_RIGHT) step = 1;
    else if (Key == gui::VK_UP) step = -1, horizontal = false;
    else if (Key == gui::VK_DOWN) step = 1, horizontal = false;
    if (step == 0) return;
    const int low = horizontal ? G.TBaseGrid::FixedCols() : G.TBaseGrid::FixedRows();
    const int high = horizontal ? G.ColCount() - G.FFixedRightCols - 1 : G.RowCount() - G.FFixedFooters - 1;
    const int from = horizontal ? col : row;
    auto fixed = [&](int i) { return horizontal ? G.IsFixed(i, row) : G.IsFixed(col, i); };
    if (from + step < low || from + step > high || !fixed(from + step)) return;
    int to = from + step;
    while (to >= low && to <= high && fixed(to)) to += step;
    if (to >= low && to <= high) {
        if (horizontal) G.MoveColRow(to, row, true, true);
        else G.MoveColRow(col, to, true, true);
    }
    Report();
    Key = 0;
}

// Down at the last normal row appends one.
void TGridKeyDown::AppendOnDown()
{
    if (!WasDown || !G.Navigation()->AppendOnArrowDown()) return;
    const int row = G.Row(), rows = G.RowCount();
    if (row + 1 == rows - G.FFixedFooters || (G.FloatingFooter()->Visible() && row + 2 == rows)) G.AutoAddRow();
}

void TGridKeyDown::InvalidateMovedSelection()
{
    const gui::TGridRect sel = G.Selection();
    if (!G.SelectionRectangle() || sel == MoveSelection) return;
    G.RepaintRect(gui::TRect(sel.Left, sel.Top, sel.Right, sel.Bottom));
}

// At the end of the view the search footer covers the last row: Down
// scrolls it clear instead, Left and Right stop at the row's ends.
bool TGridKeyDown::SearchFooterGuard()
{
    if (!G.SearchFooterShown() || G.TopRow() < G.RowCount() - G.VisibleRowCount()) return false;
    if (G.Row() != G.RowCount() - 1) return false;
    const bool stop = (Key == gui::VK_RIGHT && G.Col() == G.ColCount() - 1) ||
                      (Key == gui::VK_LEFT && G.Col() == G.TBaseGrid::FixedCols());
    if (Key == gui::VK_DOWN) G.ScrollLastRowAboveSearchFooter();
    if (Key != gui::VK_DOWN && !stop) return false;
    Swallow();
    return true;
}

// The class library reports the key and moves the cell; the search footer
// keeps the view where it was for keys that do not navigate.
void TGridKeyDown::Inherited()
{
    const int topBefore = G.TopRow();
    Pressed = Key;
    if (KeepHoriz) G.BeginUpdate();
    G.TBaseGrid::KeyDown(Key, Shift);
    if (KeepHoriz) G.EndUpdate();
    if (!G.SearchFooterShown()) return;
    const bool navigation = Pressed == gui::VK_SHIFT || Pressed == gui::VK_MENU || Navigating(Pressed);
    if (G.TopRow() >= G.RowCount() - G.VisibleRowCount() && !navigation) G.SetTopRow(topBefore);
}

void TGridKeyDown::KeepAboveSearchFooter()
{
    if (!G.SearchFooterShown() || G.Row() != G.RowCount() - 1) return;
    if (Pressed == gui::VK_NEXT || Pressed == gui::VK_END || Pressed == gui::VK_LEFT || Pressed == gui::VK_RIGHT ||
        Pressed == gui::VK_DOWN)
        G.KeepCellAboveSearchFooter(G.Col(), G.Row());
}

int TGridKeyDown::SelectionRow() const
{
    const bool persistent = G.MouseActions()->DisjunctRowSelect() && G.MouseActions()->RowSelectPersistent();
    return persistent ? G.DisplayToRealRow(G.Row()) : G.Row();
}

bool TGridKeyDown::Clipboard()
{
    if (!G.Navigation()->AllowClipboardShortCuts()) return false;
    auto run = [&](const TAllowEvent& ev, void (TExStringGrid::*op)()) {
        bool allow = true;
        if (ev) ev(&G, allow);
        if (allow) (G.*op)();
        Key = 0;
        return true;
    };
    if (Ctrl && Pressed == 'X') return run(G.OnClipboardCut, &TExStringGrid::CutSelectionToClipboard);
    if (Ctrl && Pressed == 'V') return run(G.OnClipboardPaste, &TExStringGrid::PasteSelectionFromClipboard);
    if (Ctrl && (Pressed == gui::VK_INSERT || Pressed == 'C'))
        return run(G.OnClipboardCopy, &TExStringGrid::CopySelectionToClipboard);
    if (ShiftDown && !Ctrl && Pressed == gui::VK_INSERT)
        return run(G.OnClipboardPaste, &TExStringGrid::PasteSelectionFromClipboard);
    if (ShiftDown && !Ctrl && Pressed == gui::VK_DELETE)
        return run(G.OnClipboardCut, &TExStringGrid::CutSelectionToClipboard);
    return false;
}

bool TGridKeyDown::InsertRow()
{
    if (Pressed != gui::VK_INSERT || Ctrl || ShiftDown || Alt || !G.Navigation()->AllowInsertRow()) return false;
    bool allow = true;
    G.CanInsertRow(G.Row(), allow);
    if (!allow) return true;
    const int row = G.Row();
    if (G.Navigation()->InsertPosition() == TInsertPosition::pInsertAfter) {
        if (G.FFixedRowAlways && G.TBaseGrid::FixedRows() == G.RowCount()) {
            G.AutoInsertRow(G.DisplayToRealRow(row));
            G.SetRow(1);
        } else if (row < G.RowCount()) {
            G.AutoInsertRow(G.DisplayToRealRow(row + 1));
            if (row + 1 < G.RowCount()) G.SetRow(row + 1);
        }
    } else {
        G.AutoInsertRow(G.DisplayToRealRow(row));
    }
    G.CalcFooter(-1);
    return false;
}

bool TGridKeyDown::SelectAll()
{
    if (!Ctrl || Pressed != 'A') return false;
    if (!RowSelect() && !G.Options().Contains(TGridOption::goRangeSelect)) return true;
    const int fixedRows = G.TBaseGrid::FixedRows();
    gui::TGridRect all{G.FirstNavigableCol(), fixedRows, G.ColCount() - G.FFixedRightCols - 1,
                       G.RowCount() - G.FFixedFooters - 1};
    if (G.MouseActions()->DisjunctRowSelect())
        for (int r = fixedRows; r <= all.Bottom; ++r) G.SetRowSelect(r, true);
    G.PrepareKeySelectAll(all);
    G.MoveColRow(all.Right, all.Bottom, false, true);
    G.SetSelection(all);
    Key = 0;
    return true;
}

// Navigation keys flag the rows (columns) they reach; Shift marks the whole
// selection; Space inverts the current row's (column's) flag.
void TGridKeyDown::DisjunctSelectionKeys()
{
    const bool rows = G.MouseActions()->DisjunctRowSelect(), cols = G.MouseActions()->DisjunctColSelect();
    if (Navigating(Pressed) && rows) {
        if (!ShiftDown && !Ctrl) G.ClearRowSelect();
        if (ShiftDown) G.MarkSelectedRows(true);
        else G.SetRowSelect(SelectionRow(), true);
    }
    if (Navigating(Pressed) && cols) {
        if (!ShiftDown && !Ctrl) G.ClearColSelect();
        if (ShiftDown) {
            const gui::TGridRect sel = G.Selection();
            for (int c = G.TBaseGrid::FixedCols(); c < G.ColCount(); ++c)
                G.SetColSelect(c, c >= std::min(sel.Left, sel.Right) && c <= std::max(sel.Left, sel.Right));
        } else {
            G.SetColSelect(G.Col(), true);
        }
    }
    if (Pressed == gui::VK_SPACE && rows) G.SetRowSelect(SelectionRow(), !G.GetRowSelect(SelectionRow()));
    if (Pressed == gui::VK_SPACE && cols) G.SetColSelect(G.Col(), !G.GetColSelect(G.Col()));
}

bool TGridKeyDown::DeleteRow()
{
    if (Pressed != gui::VK_DELETE || Alt || ShiftDown || !G.Navigation()->AllowDeleteRow()) return false;
    if (G.RowCount() - G.FFixedFooters - G.FixedRows() < 1) return false;
    bool allow = true;
    if (G.OnCanDeleteRow) G.OnCanDeleteRow(&G, G.Row(), allow);
    if (!allow) return true;
    G.AutoDeleteRow(G.Row());
    if (G.FloatingFooter()->Visible() && G.Row() == G.RowCount() - 1) G.SetRow(G.RowCount() - 2);
    G.RememberCellValue(G.Col(), G.Row());
    G.CalcFooter(-1);
    return false;
}

// Enter or F2 on a cell with inline form controls opens the first one.
void TGridKeyDown::EnterInlineControl()
{
    if (!EnterOrF2(Pressed)) return;
    G.RememberCellValue(G.Col(), G.Row());
    if (htmltext::HasInlineControl(G.GetCellText(G.RealColIndex(G.Col()), G.Row())))
        G.EditNextCellControl(G.Col(), G.Row(), "");
}

void TGridKeyDown::ReportSelectionChange()
{
    const gui::TGridRect sel = G.Selection();
    if (!(sel == MoveSelection)) G.SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
}

// ---------------------------------------------------------------- keyboard

void TExStringGrid::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TGridKeyDown(*this, key, shift).Run();
}

} // namespace grid
