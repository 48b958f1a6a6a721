// TDBExGrid: keeping the rows in step with the data set, the row count,
// scrolling, keys, wheel, the record indicator and the export and import
// notifications.
#include <algorithm>

#include "gridio/DBExGrid.h"
#include "platform/gui/Messages.h"

namespace gridio {

using db::TDataSetState;

namespace {

// Sets a flag for the lifetime of the guard and restores it afterwards.
struct TFlagGuard {
    bool& Flag;
    bool Old;
    explicit TFlagGuard(bool& f, bool v = true) : Flag(f), Old(f) { Flag = v; }
    ~TFlagGuard() { Flag = Old; }
};

} // namespace

void TDBExGrid::InternalSetRow(int aRow)
{
    TFlagGuard g(FInternalCall);
    aRow = std::clamp(aRow, FixedRows(), std::max(FixedRows(), RowCount() - 1));
    if (aRow != Row()) MoveColRow(Col(), aRow, true, true);
}

void TDBExGrid::SyncRowWithRecord()
{
    if (!FPageMode || !FDataLink->Active() || FDoNotUpdateMe || !IsDataSetActive()) return;
    db::TDataSet* ds = LinkedDataSet();
    TFlagGuard g(FInternalCall);
    const int oldTop = TopRow(), oldRow = Row();
    const int v = VisibleRows();
    const int a = FDataLink->ActiveRecord();
    if (FDataSetType == TDataSetType::dtNonSequenced) {
        if (FDataLink->BufferCount() != v + 1) FDataLink->SetBufferCount(v + 1);
        const int want = std::min(FDataLink->ActiveRecord() + FixedRows(), RowCount() - 1);
        if (want != Row()) MoveColRow(Col(), want, true, true);
        // Row FixedRows shows buffer record 0, kept above the window.
        const int maxTop = FixedRows() + 1;
        if (TopRow() > maxTop && !FloatingFooter()->Visible()) SetTopRow(maxTop);
        // The ends as the data set flags them, or as the link's window shows them.
        const int abs = FDataLink->FirstRecord() + FDataLink->ActiveRecord();
        const bool atStart = ds->Bof() || abs == 0;
        const bool atEnd = ds->Eof() || abs == ds->RecordCount() - 1;
        FThumbPos = atStart ? 0 : atEnd ? 4 : 2;
        gui::TScrollInfo info;
        info.Min = 0;
        info.Max = 4;
        info.Page = 0;
        info.Pos = FThumbPos;
        SetScrollInfo(gui::SB_VERT, info);
    } else {
        const int r = ds->RecNo() + FixedRows() - 1;
        if (r >= FixedRows() - 1 && r >= 0) {
            const int target = std::min(std::max(r, FixedRows()), RowCount() - 1);
            if (target != Row()) MoveColRow(Col(), target, true, true);
            // The visible rows lie inside the link's window of records.
            int top = Row() - a;
            if (Row() - top >= v) top = Row() - v + 1;
            top = std::max(top, FixedRows());
            if (top != TopRow()) SetTopRow(top);
        }
    }
    FKeyDownAppend = false;
    (void)oldTop;
    (void)oldRow;
    Invalidate();
}

void TDBExGrid::LinkScrolled(int distance)
{
    (void)distance;
    SyncRowWithRecord();
}

void TDBExGrid::LinkDataSetChanged()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!ds || !FPageMode || FEditUpdating || !ds->Active()) return;
    // Visible fields recounted: the column count follows a changed number.
    const int visible = VisibleFieldCount();
    if (visible != FVisibleFieldCount && !FShowDefinedFields && FAutoCreateColumns) {
        FVisibleFieldCount = visible;
        const int n = visible - NumHiddenColumns() + IndicatorOffset();
        if (n > FixedCols()) SetColCount(n);
    }
    SyncRowCount();
    SyncRowWithRecord();
    const TDataSetState now = ds->State();
    if (FOldState == TDataSetState::dsInsert && now == TDataSetState::dsBrowse) {
        TFlagGuard g(FEditEnding);
        HideEditor();
    }
    FOldState = now;
    FNotDeletionUpdate = false;
    // A filtered data set shows as a window; unfiltered again, it is numbered.
    if (ds->Filtered() != FFilteredDataSet) {
        if (ds->Filtered() && FDataSetType == TDataSetType::dtSequenced) {
            FOldDataSetType = TDataSetType::dtSequenced;
            FFilteredDataSet = true;
            SetDataSetType(TDataSetType::dtNonSequenced);
        } else if (!ds->Filtered() && FDataSetType != FOldDataSetType &&
                   FOldDataSetType == TDataSetType::dtSequenced) {
            FFilteredDataSet = false;
            SetDataSetType(TDataSetType::dtSequenced);
        }
        FFilteredDataSet = ds->Filtered();
    }
}

void TDBExGrid::SyncRowCount()
{
    if (RowCount() <= FixedRows()) TExStringGrid::SetRowCount(FixedRows() + 1);
    if (!FPageMode) return;
    if (!FDataLink->Active() || !IsDataSetActive()) {
        TExStringGrid::SetRowCount(FixedRows() + 1);
        return;
    }
    db::TDataSet* ds = LinkedDataSet();
    const int oldCount = RowCount();
    const bool inserting = ds->State() == TDataSetState::dsInsert;
    if (inserting && FOldState != TDataSetState::dsInsert) {
        // A new record shows as a row of its own: inserted at the current
        // row, or the last row for an append.
        TFlagGuard g(FInternalCall);
        const int want = CountRecords() + FixedRows();
        if (FDataSetType == TDataSetType::dtSequenced && want > RowCount()) TExStringGrid::SetRowCount(want);
        FRecordChanged = false;
        return;
    }
    if (FDoNotCountRow && !FNotDeletionUpdate) return;
    Recount();
    FRecordChanged = false;
    if (RowCount() < oldCount && FRefreshOnDelete) {
        TFlagGuard g(FDoNotCountRow);
        TFlagGuard s(FEditUpdating);
        ds->Refresh();
        InternalSetRow(std::min(Row(), RowCount() - 1));
    }
    if (FDataSetType == TDataSetType::dtSequenced && FDataLink->BufferCount() != VisibleRows() + 1)
        FDataLink->SetBufferCount(VisibleRows() + 1);
}

void TDBExGrid::Resize()
{
    TExStringGrid::Resize();
    if (FPageMode && IsDataSetActive()) {
        FDataLink->SetBufferCount(VisibleRows() + 1);
        SyncRowWithRecord();
    }
}

void TDBExGrid::UpdateDisplay()
{
    if (!FPageMode || !IsDataSetActive()) return;
    const int a = FDataLink->ActiveRecord();
    if (Row() - TopRow() < a) SetTopRow(std::max(FixedRows(), TopRow() - (a - (Row() - TopRow()))));
}

// ------------------------------------------------------------ current row

bool TDBExGrid::SelectCell(int aCol, int aRow)
{
    if (FInternalCall) return true;
    db::TDataSet* ds = LinkedDataSet();
    const bool page = FPageMode && IsDataSetActive();
    // Leaving a cell whose editor is open validates (and writes) its text.
    if (page && EditorMode() && InplaceEditor() && (aCol != Col() || aRow != Row()) && !FValidatingMove) {
        TFlagGuard v(FValidatingMove);
        if (!ValidateCell(InplaceEditor()->Text())) return false;
    }
    // Leaving the cell in epRow mode writes the pending value first.
    if (page && FEditPostMode == TEditPostMode::epRow && FDataLink->Editing()) FDataLink->UpdateRecord();
    if (page && FDataSetType == TDataSetType::dtNonSequenced && aRow > VisibleRows() + FixedRows()) return false;
    bool allow = TExStringGrid::SelectCell(aCol, aRow);
    if (!page) return allow;
    if (allow && aRow != Row() && OnRowChangingDB) OnRowChangingDB(this, Row(), aRow, allow);
    if (!allow) return false;
    // Leaving a row that holds a new record: an unchanged one is dropped,
    // a changed one posted.
    if (aRow != Row() && ds->State() == TDataSetState::dsInsert) {
        const bool changed = ds->Modified() || !FEditText.empty();
        FEditText.clear();
        try {
            if (changed && FEditPostMode == TEditPostMode::epCell) ds->Post();
            else if (changed) ds->Post();
            else ds->Cancel();
        } catch (const std::exception&) {
            ds->Cancel();
        }
        FKeyDownAppend = false;
        FNewRecord = false;
        FPendingSync = true;
        return true;
    }
    if (aRow != Row() && !FInternalMove && !FExporting) {
        if (FEditPostMode == TEditPostMode::epRow && ds->State() != TDataSetState::dsBrowse) PostRecord();
        const int old = Row();
        {
            TFlagGuard g(FDoNotUpdateMe);
            TFlagGuard c(FDoNotCountRow);
            if (FDataSetType == TDataSetType::dtNonSequenced)
                FDataLink->MoveBy(aRow - FixedRows() - FDataLink->ActiveRecord());
            else
                FDataLink->MoveBy(aRow - old);
        }
        FPendingSync = true;
        if (OnRowUpdate) OnRowUpdate(this, old, aRow);
    }
    return true;
}

void TDBExGrid::SelectionMoved(const gui::TGridRect& oldSel)
{
    TExStringGrid::SelectionMoved(oldSel);
    if (FPendingSync && !FInternalCall) {
        FPendingSync = false;
        SyncRowWithRecord();
    }
}

// ------------------------------------------------------------- scroll bar

void TDBExGrid::WMVScroll(int code, int thumbPos)
{
    Perform(gui::WM_VSCROLL, static_cast<uint32_t>((code & 0xFFFF) | ((thumbPos & 0xFFFF) << 16)), 0);
}

void TDBExGrid::ModifyScrollBar(int bar, int code, int pos)
{
    db::TDataSet* ds = LinkedDataSet();
    if (bar != gui::SB_VERT || !FPageMode || !IsDataSetActive()) {
        TExStringGrid::ModifyScrollBar(bar, code, pos);
        return;
    }
    if (ds->ControlsDisabled()) return;
    TFlagGuard noCount(FDoNotCountRow);
    const int oldTop = TopRow();
    const int v = VisibleRows();
    int newTop = oldTop;
    const bool seq = FDataSetType == TDataSetType::dtSequenced;
    if (seq && code != gui::SB_THUMBPOSITION && code != gui::SB_THUMBTRACK) {
        TFlagGuard g(FInternalCall);
        TExStringGrid::ModifyScrollBar(bar, code, pos);
        newTop = TopRow();
    }
    const int r = FDataLink->RecordCount();
    int b = FDataLink->ActiveRecord();
    switch (code) {
    case gui::SB_LINEUP:
        if (b > 0 && FDataLink->BufferCount() == b + 1) --b;
        FDataLink->MoveBy(-(b + 1));
        break;
    case gui::SB_LINEDOWN: {
        int moved;
        {
            TFlagGuard g(FDoNotUpdateMe);
            moved = FDataLink->MoveBy(r - b);
        }
        if (moved == 0) {
            FDataLink->MoveBy(1);
            if (!seq) SyncRowWithRecord();
        } else if (moved > 1) {
            FDataLink->MoveBy(-1);
        } else {
            SyncRowWithRecord();
        }
        break;
    }
    case gui::SB_PAGEUP:
        FDataLink->MoveBy(seq ? newTop - oldTop - (b + 1) : -v);
        break;
    case gui::SB_PAGEDOWN:
        FDataLink->MoveBy(seq ? newTop - oldTop + r - b : v);
        break;
    case gui::SB_THUMBPOSITION:
    case gui::SB_THUMBTRACK:
        if (!seq || !ds->IsSequenced()) {
            switch (pos & 0xFFFF) {
            case 0: ds->First(); break;
            case 1: FDataLink->MoveBy(-v); break;
            case 3: FDataLink->MoveBy(v); break;
            case 4: ds->Last(); break;
            default: break;
            }
        } else {
            // The thumb runs over the records: 0..127 across them.
            const int count = ds->RecordCount();
            const int rec = count <= 1 ? 1 : 1 + static_cast<int>((static_cast<long long>(pos) * (count - 1) + 63) / 127);
            ds->SetRecNo(rec);
        }
        break;
    case gui::SB_TOP: ds->First(); break;
    case gui::SB_BOTTOM: ds->Last(); break;
    default: break;
    }
    SyncRowWithRecord();
}

// ------------------------------------------------------------------- keys

void TDBExGrid::AppendByKey()
{
    db::TDataSet* ds = LinkedDataSet();
    FNewRecord = true;
    FKeyDownAppend = true;
    ds->Append();
    if (FDataSetType == TDataSetType::dtSequenced) InternalSetRow(std::min(Row() + 1, RowCount() - 1));
    SyncRowWithRecord();
    FKeyDownAppend = true;
}

void TDBExGrid::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    db::TDataSet* ds = LinkedDataSet();
    if (!FPageMode || !IsDataSetActive()) {
        TExStringGrid::KeyDown(key, shift);
        return;
    }
    if (ds->ControlsDisabled() && key != gui::VK_LEFT && key != gui::VK_RIGHT) {
        key = 0;
        return;
    }
    const bool ctrl = shift.Contains(gui::TShiftStateItem::ssCtrl);
    const bool alt = shift.Contains(gui::TShiftStateItem::ssAlt);
    const bool sh = shift.Contains(gui::TShiftStateItem::ssShift);
    TFlagGuard noCount(FDoNotCountRow);
    // A move away from the cell first ends its editing: the typed value is
    // validated (and written) before the record moves.
    const bool moves = key == gui::VK_UP || key == gui::VK_DOWN || key == gui::VK_PRIOR || key == gui::VK_NEXT ||
                       ((key == gui::VK_HOME || key == gui::VK_END) &&
                        (ctrl || Navigation()->HomeEndKey() == grid::THomeEndAction::heFirstLastRow));
    if (moves && EditorMode() && InplaceEditor()) {
        if (!ValidateCell(InplaceEditor()->Text())) {
            key = 0;
            return;
        }
        HideEditor();
    }
    auto leaveInsert = [&]() {
        // Leaving an untouched new record drops it.
        if (ds->State() == TDataSetState::dsInsert) {
            if (ds->Modified() || !FEditText.empty()) PostRecord();
            else ds->Cancel();
            FEditText.clear();
            FKeyDownAppend = false;
            FNewRecord = false;
            return true;
        }
        if (ds->State() == TDataSetState::dsEdit) PostRecord();
        return false;
    };
    const uint16_t k = key;
    switch (k) {
    case gui::VK_PRIOR:
    case gui::VK_NEXT:
        leaveInsert();
        BeginUpdate();
        FDataLink->MoveBy(k == gui::VK_PRIOR ? -FDataLink->BufferCount() : FDataLink->BufferCount());
        EndUpdate();
        break;
    case gui::VK_HOME:
    case gui::VK_END:
        if (Navigation()->HomeEndKey() == grid::THomeEndAction::heFirstLastRow || ctrl) {
            leaveInsert();
            if (k == gui::VK_HOME) ds->First();
            else ds->Last();
            break;
        }
        TExStringGrid::KeyDown(key, shift);
        return;
    case gui::VK_UP:
        if (leaveInsert()) break;
        FDataLink->MoveBy(-1);
        break;
    case gui::VK_DOWN: {
        if (FKeyDownAppend) break;
        if (ds->State() == TDataSetState::dsInsert) {
            if (!ds->Modified() && FEditText.empty()) break;
            PostRecord();
        } else if (ds->State() == TDataSetState::dsEdit) {
            PostRecord();
        }
        const int moved = FDataLink->MoveBy(1);
        if (moved == 0 && Navigation()->AppendOnArrowDown() && !ctrl && !sh && !alt && ds->CanModify()) {
            AppendByKey();
            if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
        }
        break;
    }
    case gui::VK_RETURN:
        if (ds->State() == TDataSetState::dsInsert && !ds->Modified() && FEditText.empty() &&
            FEditPostMode == TEditPostMode::epCell) {
            TFlagGuard e(FCancelEditReturn);
            ds->Cancel();
            FKeyDownAppend = false;
            FNewRecord = false;
            break;
        }
        TExStringGrid::KeyDown(key, shift);
        return;
    case gui::VK_ESCAPE:
        if (EditorMode()) HideEditor();
        FDataLink->Reset();
        FEditText.clear();
        FKeyDownAppend = false;
        break;
    case gui::VK_INSERT:
        if (Navigation()->AllowInsertRow() && !ctrl && !sh && !alt && ds->CanModify()) {
            bool can = true;
            CanInsertRow(Row(), can);
            if (can) {
                FNewRecord = true;
                ds->Insert();
                SyncRowWithRecord();
            }
        }
        break;
    case gui::VK_DELETE:
        if (Navigation()->AllowDeleteRow() && !alt && !EditorMode()) {
            bool can = ds->CanModify();
            if (can && OnCanDeleteRow) OnCanDeleteRow(this, Row(), can);
            if (can && !ds->IsEmpty()) {
                FDoNotCountRow = false;
                FNotDeletionUpdate = true;
                ds->Delete();
            }
            key = 0;
            return;
        }
        TExStringGrid::KeyDown(key, shift);
        return;
    default:
        TExStringGrid::KeyDown(key, shift);
        return;
    }
    key = 0;
    if (OnKeyDown) {
        uint16_t kk = k;
        OnKeyDown(this, kk, shift);
    }
    SyncRowWithRecord();
}

// ------------------------------------------------------------------ wheel

// Page mode ignores the wheel while the data set's controls are disabled.
// Otherwise the string grid's step moves the row and the record follows it;
// in the non-sequenced window WheelMoved reports the step as not handled
// and the record then moves by one itself when the step moved none (the
// row stood at the window's edge).
bool TDBExGrid::DoMouseWheelDown(gui::TShiftState shift, gui::TPoint mousePos)
{
    if (FPageMode && IsDataSetActive() && LinkedDataSet()->ControlsDisabled()) return true;
    FWheelRowDelta = 0;
    if (TExStringGrid::DoMouseWheelDown(shift, mousePos)) return true;
    WheelOneRecord(1);
    return true;
}

bool TDBExGrid::DoMouseWheelUp(gui::TShiftState shift, gui::TPoint mousePos)
{
    if (FPageMode && IsDataSetActive() && LinkedDataSet()->ControlsDisabled()) return true;
    FWheelRowDelta = 0;
    if (TExStringGrid::DoMouseWheelUp(shift, mousePos)) return true;
    WheelOneRecord(-1);
    return true;
}

void TDBExGrid::WheelMoved(int rowDelta, bool& handled)
{
    if (!FPageMode || !IsDataSetActive() || FDataSetType != TDataSetType::dtNonSequenced) return;
    FWheelRowDelta = rowDelta;
    handled = false;
}

void TDBExGrid::WheelOneRecord(int direction)
{
    if (FWheelRowDelta == 0) FDataLink->MoveBy(direction);
    SyncRowWithRecord();
}

// In page mode the wheel moves the selection: the scrolling action would
// leave the record behind.
void TDBExGrid::MouseActionsChanged()
{
    TExStringGrid::MouseActionsChanged();
    if (FPageMode && MouseActions()->WheelAction() == grid::TWheelAction::waScroll)
        MouseActions()->SetWheelAction(grid::TWheelAction::waMoveSelection);
}

// -------------------------------------------------------- record indicator

void TDBExGrid::DrawCell(int aCol, int aRow, const gui::TRect& rect, grid::TGridDrawState state)
{
    TExStringGrid::DrawCell(aCol, aRow, rect, state);
    if (!FPageMode || !IsDataSetActive() || aCol != 0 || aRow != Row() || !FShowDBIndicator ||
        FixedCols() == 0 || aRow < FixedRows())
        return;
    gui::TCanvas* cv = Canvas();
    cv->Pen()->SetColor(gui::clBlack);
    cv->Pen()->SetWidth(1);
    cv->Brush()->SetColor(gui::clBlack);
    const int h = rect.Bottom - rect.Top;
    const int y0 = rect.Top + (VAlignment() == grid::TVAlignment::vtaTop      ? 1
                               : VAlignment() == grid::TVAlignment::vtaCenter ? (h - 11) / 2
                                                                              : h - 13);
    const int x0 = rect.Left + 3;
    auto line = [&](int x1, int y1, int x2, int y2) {
        cv->MoveTo(x0 + x1, y0 + y1);
        cv->LineTo(x0 + x2, y0 + y2);
    };
    switch (LinkedDataSet()->State()) {
    case TDataSetState::dsEdit:
        line(2, 1, 2, 9);
        line(3, 1, 3, 9);
        line(0, 0, 2, 0);
        line(4, 0, 6, 0);
        line(0, 9, 2, 9);
        line(4, 9, 6, 9);
        break;
    case TDataSetState::dsInsert:
        line(0, 4, 6, 4);
        line(1, 2, 5, 7);
        line(1, 6, 5, 1);
        break;
    default:
        cv->Polygon({{x0, y0}, {x0, y0 + 10}, {x0 + 5, y0 + 5}});
        break;
    }
}

// -------------------------------------------------- export and import runs

void TDBExGrid::ExportNotification(grid::TGridExportState state, int aRow)
{
    TExStringGrid::ExportNotification(state, aRow);
    if (!FPageMode || !IsDataSetActive()) return;
    db::TDataSet* ds = LinkedDataSet();
    switch (state) {
    case grid::TGridExportState::esExportStart:
        FExporting = true;
        FSelExport = false;
        FOldIsEOF = ds->Eof();
        FOldIsBOF = ds->Bof();
        ds->DisableControls();
        ++FMustEnableControls;
        BeginUpdate();
        FOldAR = FDataLink->ActiveRecord();
        FOldPosition = ds->GetBookmark();
        FOldTopRow = TopRow();
        break;
    case grid::TGridExportState::esExportNewRow:
    case grid::TGridExportState::esExportSelRow:
        if (aRow < FixedRows()) break;
        if (FDataSetType == TDataSetType::dtSequenced) {
            // The row's record becomes current, while the grid waits.
            FExportRow = aRow;
            ds->SetRecNo(aRow - FixedRows() + 1);
        } else {
            if (state == grid::TGridExportState::esExportSelRow) FSelExport = true;
            FExportRow = aRow;
            if (FSelExport && !FOldPosition.empty()) {
                ds->GotoBookmark(FOldPosition);
                if (aRow - Row() > 0) ds->MoveBy(aRow - Row());
            } else {
                ds->First();
                if (aRow - FixedRows() > 0) ds->MoveBy(aRow - FixedRows());
            }
        }
        break;
    case grid::TGridExportState::esExportDone:
        FExporting = false;
        FSelExport = false;
        FExportRow = -1;
        if (!FOldPosition.empty()) {
            {
                TFlagGuard g(FDoNotUpdateMe);
                ds->GotoBookmark(FOldPosition);
            }
            FOldPosition.clear();
            {
                TFlagGuard c(FDoNotCountRow);
                --FMustEnableControls;
                ds->EnableControls();
            }
            // The window of records and the top row as before the run.
            const int p = FDataLink->ActiveRecord();
            if (p != FOldAR && FOldAR >= 0) {
                TFlagGuard g(FDoNotUpdateMe);
                if (p > FOldAR) {
                    const int d = FDataLink->MoveBy(FDataLink->BufferCount() - FOldAR);
                    FDataLink->MoveBy(-d);
                } else {
                    const int d = FDataLink->MoveBy(-FOldAR);
                    FDataLink->MoveBy(-d);
                }
            }
            if (FOldIsEOF) ds->Next();
            if (FOldIsBOF) ds->Prior();
        }
        if (FMustEnableControls > 0 && ds->ControlsDisabled()) {
            --FMustEnableControls;
            ds->EnableControls();
        }
        EndUpdate();
        SyncRowWithRecord();
        if (FOldTopRow >= 0 && FDataSetType == TDataSetType::dtSequenced) {
            TFlagGuard g(FInternalCall);
            SetTopRow(FOldTopRow);
        }
        break;
    case grid::TGridExportState::esExportFail:
        EndFailedExport(ds);
        break;
    default:
        break;
    }
}

// A run that found what it looked for: the data set stays at the record
// it reached; the grid's row follows it once controls and updates are back.
void TDBExGrid::EndFailedExport(db::TDataSet* ds)
{
    FExporting = false;
    FSelExport = false;
    FExportRow = -1;
    FOldPosition.clear();
    if (FMustEnableControls > 0 && ds->ControlsDisabled()) {
        TFlagGuard c(FDoNotCountRow);
        --FMustEnableControls;
        ds->EnableControls();
    }
    EndUpdate();
    SyncRowWithRecord();
}

void TDBExGrid::ImportNotification(grid::TGridImportState state, int aRow)
{
    TExStringGrid::ImportNotification(state, aRow);
    if (!FPageMode || !IsDataSetActive() || FDataSetType != TDataSetType::dtNonSequenced) return;
    db::TDataSet* ds = LinkedDataSet();
    switch (state) {
    case grid::TGridImportState::isImportStart:
        FSelImport = false;
        FSelRow = Row();
        FImportPos = ds->GetBookmark();
        break;
    case grid::TGridImportState::isImportSelRow:
        FSelImport = true;
        [[fallthrough]];
    case grid::TGridImportState::isImportNewRow:
        if (FSelImport && !FImportPos.empty()) {
            ds->GotoBookmark(FImportPos);
            if (aRow - FSelRow > 0) ds->MoveBy(aRow - FSelRow);
        } else {
            ds->First();
            if (aRow - FixedRows() > 0) ds->MoveBy(aRow - FixedRows());
        }
        break;
    case grid::TGridImportState::isImportDone:
        FSelImport = false;
        break;
    }
}

} // namespace gridio
