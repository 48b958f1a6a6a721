// TUxDBGrid: keys, mouse and the multi-selection of records.
#include "dbgrids/UxDBGrid.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;
using O = TDBGridOption;

namespace {
bool Only(TShiftState shift, TShiftStateItem key)
{
    TShiftState mods = shift * TShiftState{TShiftStateItem::ssShift, TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt};
    return mods == TShiftState{key};
}
} // namespace

void TUxDBGrid::ClearSelectionOnMove()
{
    if (FClearSelection) SelectedRows()->Clear();
    FSelecting = false;
    Invalidate();
}

void TUxDBGrid::SelectAll()
{
    if (!FMultiSelect || !DataLink()->Active()) return;
    db::TDataSet* ds = DataSource()->DataSet();
    if (ds->IsEmpty()) return;
    ds->DisableControls();
    db::TBookmark here = ds->GetBookmark();
    for (ds->First(); !ds->Eof(); ds->Next()) SelectedRows()->SetCurrentRowSelected(true);
    try {
        ds->GotoBookmark(here);
    } catch (...) {
    }
    ds->EnableControls();
    Invalidate();
}

void TUxDBGrid::UnselectAll()
{
    if (!FMultiSelect) return;
    SelectedRows()->Clear();
    FSelecting = false;
    Invalidate();
}

void TUxDBGrid::ToggleRowSelection()
{
    if (!FMultiSelect || !DataLink()->Active()) return;
    SelectedRows()->SetCurrentRowSelected(!SelectedRows()->CurrentRowSelected());
    Invalidate();
}

void TUxDBGrid::GotoSelection(int index)
{
    if (!FMultiSelect || !DataLink()->Active() || index < 0 || index >= SelCount()) return;
    DataSource()->DataSet()->GotoBookmark(SelectedRows()->Items(index));
}

void TUxDBGrid::DeleteRecords()
{
    db::TDataSet* ds = DataSource()->DataSet();
    TBookmarkList* rows = SelectedRows();
    if (rows->Count() == 0) {
        ds->Delete();
        return;
    }
    // The bookmarks are copied first: each deletion changes the data set.
    std::vector<db::TBookmark> marks;
    for (int i = 0; i < rows->Count(); ++i) marks.push_back(rows->Items(i));
    ds->DisableControls();
    try {
        for (const db::TBookmark& mark : marks) {
            if (!ds->BookmarkValid(mark)) continue;
            ds->GotoBookmark(mark);
            ds->Delete();
        }
    } catch (...) {
        rows->Refresh();
        ds->EnableControls();
        throw;
    }
    rows->Clear();
    ds->EnableControls();
}

bool TUxDBGrid::ConfirmDelete()
{
    if (!Options().Contains(O::dgConfirmDelete)) return true;
    std::string question = SelCount() < 2 ? "Datensatz löschen?" : "Alle markierten Datensätze löschen?";
    return MessageDlg(question, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes;
}

void TUxDBGrid::MoveWithSelection(bool shiftHeld, int delta)
{
    db::TDataSet* ds = DataSource()->DataSet();
    if (!FMultiSelect || !DataLink()->Active()) {
        ds->MoveBy(delta);
        return;
    }
    if (!shiftHeld) {
        ClearSelectionOnMove();
        ds->MoveBy(delta);
        return;
    }
    if (FSelecting) {
        int sum = delta + ds->CompareBookmarks(ds->GetBookmark(), FSelectionAnchor);
        if (sum == 0) SelectedRows()->SetCurrentRowSelected(false);
        ds->MoveBy(delta);
        if (sum != 0) SelectedRows()->SetCurrentRowSelected(true);
    } else {
        FSelectionAnchor = ds->GetBookmark();
        SelectedRows()->SetCurrentRowSelected(true);
        FSelecting = true;
        ds->MoveBy(delta);
        SelectedRows()->SetCurrentRowSelected(true);
    }
    Invalidate();
}

void TUxDBGrid::TabToNextColumn(bool forward)
{
    db::TDataSet* ds = DataSource()->DataSet();
    const int count = Columns()->Count();
    if (count == 0) return;
    const int start = SelectedIndex();
    int c = start;
    BeginLayout();
    for (;;) {
        c += forward ? 1 : -1;
        if (c >= count) {
            if (FMultiSelect) ClearSelectionOnMove();
            ds->Next();
            c = 0;
        } else if (c < 0) {
            if (FMultiSelect) ClearSelectionOnMove();
            ds->Prior();
            c = count - 1;
        }
        if (c == start) break;
        if (Columns()->Items(c)->Visible() && TabStops(DataToRawColumn(c))) {
            EndLayout();
            SetSelectedIndex(c);
            return;
        }
    }
    EndLayout();
}

void TUxDBGrid::KeyDown(uint16_t& key, TShiftState shift)
{
    // The published OnKeyDown sees every key first, and only once: the
    // platform's handling runs without it.
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
        if (key == 0) return;
    }
    TKeyEvent published = std::move(OnKeyDown);
    OnKeyDown = nullptr;
    try {
        HandleKeyDown(key, shift);
    } catch (...) {
        OnKeyDown = std::move(published);
        throw;
    }
    OnKeyDown = std::move(published);
}

bool TUxDBGrid::FixedColumnKey(uint16_t key, bool ctrl)
{
    if (FixedCols() <= 0) return false;
    const bool rowSelect = Options().Contains(O::dgRowSelect);
    const int first = FirstDataColumn();
    if (ctrl && key == VK_LEFT) {
        SetCol(first);
        return true;
    }
    if (ctrl || rowSelect) return false;
    if (key == VK_HOME && Columns()->Count() > 1) {
        SetCol(first);
        return true;
    }
    return key == VK_LEFT && Col() <= first;
}

void TUxDBGrid::HandleKeyDown(uint16_t& key, TShiftState shift)
{
    if (!DataLink()->Active()) {
        TUxExDBGrid::KeyDown(key, shift);
        return;
    }
    db::TDataSet* ds = DataSource()->DataSet();
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool shiftHeld = shift.Contains(TShiftStateItem::ssShift);
    const bool rowSelect = Options().Contains(O::dgRowSelect);
    if (FixedColumnKey(key, ctrl)) {
        key = 0;
        return;
    }
    if (ctrl) {
        switch (key) {
        case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_UP: case VK_DOWN:
            ClearSelectionOnMove();
            break;
        case VK_DELETE:
            if (FCanDelete && !ReadOnly() && ds->CanModify() && !ds->IsEmpty() && ConfirmDelete())
                DeleteRecords();
            key = 0;
            return;
        default: break;
        }
        TUxExDBGrid::KeyDown(key, shift);
        return;
    }
    const bool inserting = ds->State() == db::TDataSetState::dsInsert;
    switch (key) {
    case VK_UP:
        if (inserting) break;
        MoveWithSelection(shiftHeld, -1);
        key = 0;
        return;
    case VK_DOWN:
        if (inserting) break;
        MoveWithSelection(shiftHeld, 1);
        if (FAutoAppend && ds->Eof() && ds->CanModify() && !ReadOnly() &&
            Options().Contains(O::dgEditing))
            ds->Append();
        key = 0;
        return;
    case VK_LEFT: case VK_RIGHT:
        if (rowSelect) ClearSelectionOnMove();
        break;
    case VK_END: case VK_HOME:
        if (Columns()->Count() == 1 || rowSelect) ClearSelectionOnMove();
        break;
    case VK_ESCAPE: case VK_PRIOR: case VK_NEXT:
        ClearSelectionOnMove();
        break;
    case VK_INSERT:
        if (ds->CanModify() && !ReadOnly() && Options().Contains(O::dgEditing)) ClearSelectionOnMove();
        break;
    case VK_TAB:
        if (!shift.Contains(TShiftStateItem::ssAlt)) {
            TabToNextColumn(!shiftHeld);
            key = 0;
            return;
        }
        break;
    default: break;
    }
    TUxExDBGrid::KeyDown(key, shift);
}

void TUxDBGrid::CheckTitleButton(int aCol, int aRow, bool& enabled)
{
    if (aCol < 0 || aCol >= Columns()->Count()) {
        enabled = false;
        return;
    }
    (void)aRow;
    if (OnCheckButton) OnCheckButton(this, aCol, Columns()->Items(aCol)->Field(), enabled);
}

TColumn* TUxDBGrid::TitleColumnAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return nullptr;
    int col = 0, row = 0;
    MouseToCell(x, y, col, row);
    int dataCol = RawToDataColumn(col);
    if (row < 0 || row >= TitleOffset() || col < IndicatorOffset() || dataCol >= Columns()->Count()) return nullptr;
    return Columns()->Items(dataCol);
}

void TUxDBGrid::TrackTitleButton(int x, int y)
{
    bool pressed = FPressedCol && TitleColumnAt(x, y) == FPressedCol;
    if (pressed == FPressed) return;
    FPressed = pressed;
    for (int r = 0; r < TitleOffset(); ++r)
        for (int c = 0; c < ColCount(); ++c) InvalidateCell(c, r);
}

void TUxDBGrid::EndTitleTracking()
{
    if (!FTracking && !FSwapButtons) return;
    FPressed = false;
    FTracking = false;
    SetMouseCapture(false);
    Invalidate();
}

void TUxDBGrid::MouseMove(TShiftState shift, int x, int y)
{
    if (FTracking && !FSwapButtons) TrackTitleButton(x, y);
    TrackHotTitle(x, y);
    TUxExDBGrid::MouseMove(shift, x, y);
}

void TUxDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FTracking && FPressedCol) {
        TColumn* pressed = FPressedCol;
        const bool inside = TitleColumnAt(x, y) == pressed;
        const bool swapped = FSwapButtons;
        EndTitleTracking();
        FSwapButtons = false;
        FPressedCol = nullptr;
        if (inside && DataLink()->Active()) {
            FTitleColumn = pressed;
            DoTitleClick(pressed->Index(), pressed->Field());
        }
        if (swapped) button = TMouseButton::mbLeft;
        Invalidate();
        return;
    }
    // A click on the title arrow opens the column dialog.
    int col = 0, row = 0;
    MouseToCell(x, y, col, row);
    if (button == TMouseButton::mbLeft && col == 0 && row == 0 && FTitleArrow && Options().Contains(O::dgTitles) &&
        Options().Contains(O::dgIndicator) && Columns()->Count() > 0) {
        ShowColumnsDialog();
        return;
    }
    const bool sizing = GridState() == TGridState::gsColSizing && button == TMouseButton::mbLeft;
    const int sized = FSizingIndex;
    const int left = LeftCol();
    TUxExDBGrid::MouseUp(button, shift, x, y);
    if (sizing && sized >= IndicatorOffset() && sized < ColCount()) {
        if (Options().Contains(O::dgRowSelect) && LeftCol() != left) SetLeftCol(left);
        if (OnColumnResized) OnColumnResized(this, sized - IndicatorOffset(), ColWidths(sized));
    }
}

void TUxDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    int cellCol = 0, cellRow = 0;
    MouseToCell(x, y, cellCol, cellRow);
    // The title row's menu.
    if (button == TMouseButton::mbRight && cellRow == 0 && Options().Contains(O::dgTitles) &&
        Options().Contains(O::dgIndicator)) {
        if (FTitleArrow && OnTitleArrowMenuEvent) OnTitleArrowMenuEvent(this);
        if (FTitlePopup) {
            FTitlePopup->SetPopupComponent(this);
            TPoint p = ClientToScreen({x, y});
            FTitlePopup->Popup(p.X, p.Y);
        }
        return;
    }
    // Title buttons: the press is tracked until the release.
    TColumn* titleColumn = TitleColumnAt(x, y);
    if (FTitleButtons && DataLink()->Active() && titleColumn) {
        if (button == TMouseButton::mbRight && Options().Contains(O::dgColumnResize)) {
            FSwapButtons = true;
            SetMouseCapture(true);
            FPressedCol = titleColumn;
            FTracking = true;
            TrackTitleButton(x, y);
            return;
        }
        if (button == TMouseButton::mbLeft) {
            bool enabled = true;
            CheckTitleButton(titleColumn->Index(), cellRow, enabled);
            if (enabled) {
                SetMouseCapture(true);
                FTracking = true;
                FPressedCol = titleColumn;
                TrackTitleButton(x, y);
            } else if (FBeepOnError) {
                MessageBeep(0);
            }
            if (!FTitleButtonAllowMove) return;
        }
    }
    TUxExDBGrid::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !FMultiSelect || !DataLink()->Active()) return;
    int col = 0, row = 0;
    MouseToCell(x, y, col, row);
    if (row < TitleOffset()) return;
    FSelecting = false;
    db::TDataSet* ds = DataSource()->DataSet();
    if (Only(shift, TShiftStateItem::ssCtrl)) {
        ToggleRowSelection();
    } else if (Only(shift, TShiftStateItem::ssShift)) {
        if (SelCount() == 0) return;
        ToggleRowSelection();
        if (!SelectedRows()->CurrentRowSelected()) return;
        // Select every record between the last selected one and this one.
        db::TBookmark clicked = ds->GetBookmark();
        db::TBookmark last = SelectedRows()->Items(SelCount() - 1);
        if (ds->CompareBookmarks(last, clicked) == 0 && SelCount() > 1) last = SelectedRows()->Items(SelCount() - 2);
        ds->DisableControls();
        ds->GotoBookmark(last);
        int step = ds->CompareBookmarks(last, clicked) < 0 ? 1 : -1;
        while (ds->CompareBookmarks(ds->GetBookmark(), clicked) != 0 && !(step > 0 ? ds->Eof() : ds->Bof())) {
            SelectedRows()->SetCurrentRowSelected(true);
            ds->MoveBy(step);
        }
        ds->GotoBookmark(clicked);
        ds->EnableControls();
    } else {
        SelectedRows()->Clear();
        if (FClearSelection) SelectedRows()->SetCurrentRowSelected(true);
    }
    Invalidate();
}

bool TUxDBGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    // A wheel turn drops a pending edit or insert.
    if (DataLink()->Active() && DataSource()->DataSet()->State() != db::TDataSetState::dsBrowse)
        DataSource()->DataSet()->Cancel();
    if (TCustomControl::DoMouseWheelDown(shift, mousePos)) return true;
    if (!DataLink()->Active()) return false;
    int n = shift.Contains(TShiftStateItem::ssCtrl) ? std::max(1, VisibleRowCount() - 1)
            : shift.Contains(TShiftStateItem::ssShift) ? 1 : 2;
    DataSource()->DataSet()->MoveBy(n);
    return true;
}

bool TUxDBGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    if (DataLink()->Active() && DataSource()->DataSet()->State() != db::TDataSetState::dsBrowse)
        DataSource()->DataSet()->Cancel();
    if (TCustomControl::DoMouseWheelUp(shift, mousePos)) return true;
    if (!DataLink()->Active()) return false;
    int n = Only(shift, TShiftStateItem::ssCtrl) ? std::max(1, VisibleRowCount() - 1)
            : (shift.Contains(TShiftStateItem::ssShift) || shift.Contains(TShiftStateItem::ssCtrl)) ? 1 : 2;
    DataSource()->DataSet()->MoveBy(-n);
    return true;
}

} // namespace dbgrids

namespace dbgrids {

void TUxDBGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs)
{
    CalcTitleSizingState(x, y, state, index, sizingPos, sizingOfs);
    if (state == TGridState::gsColSizing) FSizingIndex = index;
}

void TUxDBGrid::CalcTitleSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs)
{
    TUxExDBGrid::CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
    if (state == TGridState::gsColSizing && index < IndicatorOffset()) state = TGridState::gsNormal;  // never the indicator
    bool resize = Options().Contains(O::dgColumnResize) ||
                  ComponentState().Contains(rtl::TComponentStateItem::csDesigning);
    if (state != TGridState::gsNormal || !resize || RowCount() == 0 || y < 0 || y >= RowHeights(0)) return;
    for (int c = IndicatorOffset(); c < ColCount(); ++c) {
        TRect r = CellRect(c, 0);
        if (r.Right <= r.Left) continue;
        if (x <= r.Right && r.Right - x < 5) {
            state = TGridState::gsColSizing;
            index = c;
            sizingPos = r.Left;
            sizingOfs = r.Right - x;
            return;
        }
        if (x >= r.Left && x - r.Left < 5 && c - 1 >= IndicatorOffset()) {
            TRect p = CellRect(c - 1, 0);
            if (p.Right <= p.Left) continue;
            state = TGridState::gsColSizing;
            index = c - 1;
            sizingPos = p.Left;
            sizingOfs = p.Right - x;
            return;
        }
    }
}

bool TUxDBGrid::DoPrepareHint(THintInfo& hi)
{
    if (FShowTitleHint || FShowCellHint) {
        int col = -1, row = -1;
        MouseToCell(hi.CursorPos.X, hi.CursorPos.Y, col, row);
        const int dataCol = RawToDataColumn(col);
        const bool dataColumn = col >= IndicatorOffset() && dataCol >= 0 && dataCol < Columns()->Count() && row >= 0;
        if (col >= 0 && row >= 0) hi.CursorRect = CellRect(col, row);
        std::string text = hi.HintStr;
        int timeOut = hi.HideTimeout;
        bool applies = false;
        if (FShowTitleHint && dataColumn && row < TitleOffset()) {
            TColumn* column = Columns()->Items(dataCol);
            text = column->FieldName();
            timeOut = std::max(timeOut, 250 * rtl::UTF8Length(text));
            if (OnShowTitleHint && DataLink()->Active()) OnShowTitleHint(column->Field(), text, timeOut);
            applies = true;
        } else if (FShowCellHint && dataColumn && DataLink()->Active() && (row >= TitleOffset() || !FShowTitleHint)) {
            TColumn* column = Columns()->Items(dataCol);
            db::TField* field = column->Field();
            TCanvas* c = Canvas();
            if (row < TitleOffset()) {
                text = column->Title()->Caption();
                c->SetFont(TitleFont());
            } else {
                const int saved = DataLink()->ActiveRecord();
                DataLink()->SetActiveRecord(row - TitleOffset());
                text = !field ? std::string() : field->OnGetText ? field->DisplayText()
                       : field->DataType() == db::TFieldType::ftBoolean ? std::string()
                       : field->DataType() == db::TFieldType::ftString ? field->AsString() : field->DisplayText();
                DataLink()->SetActiveRecord(saved);
                c->SetFont(Font());
            }
            const int width = ColWidths(col);
            if (c->TextHeight(text) + 2 < RowHeights(row) && c->TextWidth(text) < width - 2) text.clear();
            timeOut = std::max(timeOut, 250 * rtl::UTF8Length(text));
            if (OnShowCellHint) OnShowCellHint(field, text, timeOut);
            applies = true;
        }
        if (applies) {
            hi.HintStr = text;
            hi.HideTimeout = timeOut;
            hi.HintPos = ClientToScreen({hi.CursorRect.Left, hi.CursorRect.Top});
        }
    }
    return TUxExDBGrid::DoPrepareHint(hi);
}

} // namespace dbgrids
