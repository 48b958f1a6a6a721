// ExGrid: the grid's own message handling (timer, the edit-done message,
// paint while locked, size, typed characters), the update lock, change
// notification and the validation of an edited value.
#include <algorithm>

#include "grid/ExEditLink.h"
#include "grid/ExGrid.h"
#include "platform/gui/BalloonTip.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace grid {

namespace {
constexpr uintptr_t GridTimerId = 111;
// Bit 22 of a key message's data: a bit of the scan code that the keypad's
// decimal key sets and the main keyboard's full stop does not.
constexpr gui::LPARAM KeypadScanBit = gui::LPARAM(1) << 22;

// The invalid-entry balloon points at the editor that holds the refused
// value: the text editor, else the special editor in use.
void ShowInvalidEntryBalloon(TExStringGrid& g)
{
    gui::TWinControl* ed = nullptr;
    if (g.SpecialEditorOpen()) ed = g.EditCtrl();
    else if (g.EditMode()) ed = g.InplaceEditor();
    if (!ed || !ed->Visible()) return;
    gui::TBalloonTip* tip = g.BalloonTip();
    tip->SetTitle(g.InvalidEntryTitle());
    tip->SetText(g.InvalidEntryText());
    tip->SetIcon(static_cast<int>(g.InvalidEntryIcon()));
    tip->ShowAt(ed->ClientToScreen({std::min(8, ed->Width() / 2), ed->Height() - 2}));
}
} // namespace

// ---------------------------------------------------------------- messages

void TExStringGrid::Dispatch(gui::TMessage& message)
{
    if (IsDestroying()) {
        TBaseGrid::Dispatch(message);
        return;
    }
    if (PanMessage(message)) return;
    if (message.Msg == GridEditDoneMessage()) {
        if (OnEditCellDone) OnEditCellDone(this, static_cast<int>(message.WParam), static_cast<int>(message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideEditor();
            SetOptions(Options() - gui::TGridOptions{gui::TGridOption::goEditing});
        }
        return;
    }
    switch (message.Msg) {
    case gui::WM_NOTIFY:
        if (WMNotify(message)) return;
        break;
    case gui::CM_MOUSELEAVE:
        // The balloon belongs to the cell the pointer was over.
        if (FBalloonTip) FBalloonTip->Pop();
        FLastBalloonPos = {-1, -1};
        MouseLeft();
        break;
    case gui::CM_HINTSHOW:
        CMHintShow(message);
        return;
    case gui::CM_DESIGNHITTEST:
        CMDesignHitTest(message);
        return;
    case gui::WM_NCPAINT:
        // The look border over the frame, not while updates are locked.
        TBaseGrid::Dispatch(message);
        if (FUpdateCount == 0 && message.WParam) {
            PaintLookBorder(reinterpret_cast<gui::TCanvas*>(message.WParam));
            message.Result = 0;
        }
        return;
    case gui::WM_THEMECHANGED:
        TBaseGrid::Dispatch(message);
        if (AutoThemeAdapt()) ThemeAdapt();
        return;
    case gui::WM_TIMER:
        if (message.WParam != GridTimerId) break;
        ++FTimerTicks;
        if (FNavigation->AutoGotoIncremental() && ++SearchTics >= 4) {
            // Two seconds without a key end the incremental search.
            SearchInc.clear();
            SearchTics = 0;
        }
        return;
    case gui::WM_DESTROY:
        BalloonDone();
        if (FGridTimerID) {
            gui::KillTimer(Handle(), FGridTimerID);
            FGridTimerID = 0;
        }
        break;
    case gui::WM_ERASEBKGND:
        message.Result = 0;  // the cells cover the client area
        return;
    case gui::WM_SIZE:
        if (FColumnSize->Stretch() && (ScrollBarAlways() == TScrollBarAlways::saNone ||
                                       ScrollBarAlways() == TScrollBarAlways::saVert)) {
            const int sc = FColumnSize->StretchColumn() < 0 ? ColCount() - 1 : FColumnSize->StretchColumn();
            int others = 0;
            for (int c = 0; c < ColCount(); ++c)
                if (c != sc) others += ColWidths(c);
            if (sc >= 0 && sc < ColCount() && others < Width()) {
                StretchColumn(sc);
                if (ScrollBarAlways() == TScrollBarAlways::saNone) {
                    // Handled here: the resize is reported, the platform grid
                    // does not see this size message.
                    if (OnResize) OnResize(this);
                    return;
                }
            }
        }
        break;
    case gui::WM_VSCROLL:
    case gui::WM_HSCROLL: {
        const bool vert = message.Msg == gui::WM_VSCROLL;
        const int code = gui::LOWORD(message.WParam), pos = gui::HIWORD(message.WParam);
        if (vert && SearchFooterShown() &&
            (code == gui::SB_ENDSCROLL || code == gui::SB_LINEDOWN || code == gui::SB_LINEUP)) {
            if (code == gui::SB_ENDSCROLL) FLastScrollHint.clear();
            // The view stops once the last row lies clear above the search
            // footer, and scrolls far enough to bring it there.
            if ((code == gui::SB_ENDSCROLL || code == gui::SB_LINEDOWN) && LastRowClearOfSearchFooter()) {
                message.Result = 1;
                return;
            }
            TBaseGrid::Dispatch(message);
            const bool atEnd = TopRow() == RowCount() - VisibleRowCount();
            if (code == gui::SB_LINEUP && atEnd && TopRow() > TBaseGrid::FixedRows()) SetTopRow(TopRow() - 1);
            if ((code == gui::SB_ENDSCROLL || code == gui::SB_LINEDOWN) && atEnd) ScrollLastRowAboveSearchFooter();
            return;
        }
        const TScrollHintType hints = ScrollHints();
        const bool wantHint = hints == TScrollHintType::shBoth ||
                              hints == (vert ? TScrollHintType::shVertical : TScrollHintType::shHorizontal);
        if (code == gui::SB_THUMBTRACK) {
            // The thumb runs over 0..127 across the scrolling rows (columns).
            const int fixed = vert ? TBaseGrid::FixedRows() : TBaseGrid::FixedCols();
            const int range = vert ? RowCount() - VisibleRowCount() - fixed : ColCount() - VisibleColCount() - fixed;
            const int index = static_cast<int>((static_cast<long long>(pos) * range + 63) / 127) + fixed;
            if (wantHint) {
                std::string text = (vert ? "Row : " : "Col : ") + std::to_string(index);
                if (OnScrollHint) OnScrollHint(this, index, text);
                FLastScrollHint = text;
            }
            if (ScrollSynch()) {
                if (vert) SetTopRow(index);
                else SetLeftCol(index);
            }
        } else if (code == gui::SB_ENDSCROLL && wantHint) {
            FLastScrollHint.clear();
        }
        break;
    }
    case gui::WM_CHAR: {
        const gui::TShiftState shift = gui::GetShiftState();
        const bool ctrl = shift.Contains(gui::TShiftStateItem::ssCtrl);
        if (FNavigation->AllowClipboardShortCuts() && ctrl &&
            (message.WParam == 3 || message.WParam == 22 || message.WParam == 24)) {
            message.WParam = 0;  // Ctrl+C, Ctrl+V, Ctrl+X never reach the cell
            return;
        }
        if (ExcelStyleDecimalSeparator() && message.WParam == '.' && (message.LParam & KeypadScanBit))
            message.WParam = static_cast<gui::WPARAM>(rtl::FormatSettings().DecimalSeparator);
        if (FMouseActions->EditOnDblClickOnly()) {
            bool can = true;
            CanEditBaseCell(RealColIndex(Col()), Row(), can);
            if (can) SetOptions(Options() + gui::TGridOptions{gui::TGridOption::goEditing});
        }
        break;
    }
    case gui::CM_DIALOGCHAR:
        // Only the search footer's accelerators; the message ends here.
        message.Result = SearchFooterDialogChar(static_cast<char16_t>(message.WParam)) ? 1 : 0;
        return;
    default:
        break;
    }
    TBaseGrid::Dispatch(message);
}

void TExStringGrid::EditingDone(int aCol, int aRow)
{
    if (OnEditingDone) OnEditingDone(this);
    gui::PostMessage(Handle(), GridEditDoneMessage(), static_cast<gui::WPARAM>(aCol), static_cast<gui::LPARAM>(aRow));
}

// ------------------------------------------------------------- update lock

// A level taken by BeginUpdate is always given back by EndUpdate, whether
// or not the grid is visible in between; visibility only decides whether
// the window's redraw is switched.
void TExStringGrid::BeginUpdate()
{
    ++FUpdateCount;
    // The platform grid holds its own repaint requests meanwhile.
    gui::TCustomGrid::BeginUpdate();
    ++FPlatformLocks;
    if (Visible() && !FRedrawOff) {
        Perform(gui::WM_SETREDRAW, 0, 0);
        FRedrawOff = true;
    }
}

void TExStringGrid::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FPlatformLocks > 0) {
        --FPlatformLocks;
        gui::TCustomGrid::EndUpdate();
    }
    if (FUpdateCount > 0) return;
    // The redraw switched off goes back on even when the grid was hidden
    // meanwhile, or it would never paint again once shown.
    if (FRedrawOff) {
        Perform(gui::WM_SETREDRAW, 1, 0);
        FRedrawOff = false;
    }
    // Rows and columns changed inside the bracket: the cell controls follow.
    if (!FControlItems.empty()) CellControlsUpdate();
    if (Visible()) Invalidate();
}

void TExStringGrid::ResetUpdate()
{
    FUpdateCount = 0;
    FUpdatePending = false;  // unlocked without a repaint
    for (; FPlatformLocks > 0; --FPlatformLocks) gui::TCustomGrid::EndUpdate();
    if (FRedrawOff) {
        Perform(gui::WM_SETREDRAW, 1, 0);
        FRedrawOff = false;
    }
}

// ------------------------------------------------------------ notification

void TExStringGrid::RememberCellValue(int aCol, int aRow)
{
    FOldCol = aCol;
    FOldRow = aRow;
    FOldCellText = GetRawCellText(RealColIndex(aCol), aRow);
    FOldCellTextWide = GetCellTextWide(RealColIndex(aCol), aRow);
    FOldModifiedValue = FModified;
}

void TExStringGrid::CellsChanged(const gui::TRect& r)
{
    if (OnCellsChanged) OnCellsChanged(this, r);
    const std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers) n->CellsChanged(r);
    CalcFooter(-1);
}

void TExStringGrid::RegisterNotifier(TGridChangeNotifier* n)
{
    if (!n || std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end()) return;
    FNotifierList.push_back(n);
    n->FreeNotification(this);
}

void TExStringGrid::UnRegisterNotifier(TGridChangeNotifier* n)
{
    auto it = std::find(FNotifierList.begin(), FNotifierList.end(), n);
    if (it == FNotifierList.end()) return;
    FNotifierList.erase(it);
    n->RemoveFreeNotification(this);
}

void TExStringGrid::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    if (operation == rtl::TOperation::opRemove && component == FEditLink)
        FEditLink = nullptr;
    if (operation == rtl::TOperation::opRemove)
        FNotifierList.erase(std::remove(FNotifierList.begin(), FNotifierList.end(), component),
                            FNotifierList.end());
    if (operation == rtl::TOperation::opRemove && component == FCellChecker) FCellChecker = nullptr;
    if (operation == rtl::TOperation::opRemove && component == FFixedDropDownMenu) FFixedDropDownMenu = nullptr;
    TBaseGrid::Notification(component, operation);
}

// -------------------------------------------------------------- validation

bool TExStringGrid::ValidateCell(const std::string& newValue)
{
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int aCol = RealColIndex(FOldCol);
    const int aRow = FOldRow;
    FNewCellText = newValue;
    const bool advance = FNavigation->AdvanceOnEnter();
    struct Finally {
        TExStringGrid* g;
        bool advance;
        ~Finally()
        {
            g->FNavigation->SetAdvanceOnEnter(advance);
            g->RememberCellValue(g->Col(), g->Row());
            g->FValidating = false;
        }
    } finally{this, advance};

    if (newValue != FOldCellText || AlwaysValidate()) {
        const bool changed = newValue != FOldCellText;
        FNavigation->SetAdvanceOnEnter(false);
        std::string value = newValue;
        if (FCellChecker && FCellChecker->AutoCorrect()) value = FCellChecker->Correct(aCol, aRow, value);
        if (OnCellValidate) OnCellValidate(this, aCol, aRow, value, valid);
        if (value != FOldCellText) {
            FModified = true;
            if (TBaseGrid::FixedCols() > 0) SetRowModified(aRow, true);
        }
        if (valid) CellChanged(aCol, aRow);
        if (FCellChecker && FCellChecker->AutoMarkError()) value = FCellChecker->MarkError(aCol, aRow, value);
        if (valid && UndoRedo()) UndoRedo()->RegisterChange(aCol, aRow, FOldCellText, value);
        if (valid && changed) CellsChanged(gui::TRect(aCol, aRow, aCol, aRow));
        FNewCellText = value;
        if (valid) {
            SetCellText(aCol, aRow, value);
            const gui::TPoint base = BaseCell(aCol, aRow);
            if (base.X != aCol || base.Y != aRow) SetCellText(base.X, base.Y, value);
        } else {
            // Back to the edited cell with the editor open: with the value the
            // event proposed, or with the old text.
            ReopenRefusedEdit(aCol, aRow, value != newValue ? value : FOldCellText);
            if (!InvalidEntryTitle().empty() || !InvalidEntryText().empty()) {
                FLastBalloonText = InvalidEntryTitle() + "\n" + InvalidEntryText();
                ShowInvalidEntryBalloon(*this);
            }
        }
        FOldCellText = GetRawCellText(aCol, aRow);
    }
    return valid;
}

void TExGridStructure::ReopenRefusedEdit(int aCol, int aRow, const std::string& shown)
{
    TExStringGrid& g = Self();
    // Opening the editor remembers the cell again; the flag goes back to
    // what it was when the edit began.
    const bool modifiedBefore = FOldModifiedValue;
    g.HideEditor();
    SetCellText(aCol, aRow, shown);
    MoveColRow(FOldCol, FOldRow, true, true);
    FEditing = true;
    FValidating = false;  // no editor opens while validating, except this one
    g.ShowEditor();
    FValidating = true;
    FModified = modifiedBefore;
}

// The wide twin of ValidateCell: the footer follows before the event asks,
// whatever it answers; no cell checker, undo record or balloon.
bool TExGridStructure::ValidateCellWide(const std::u16string& newValue)
{
    TExStringGrid& g = Self();
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int aCol = g.RealColIndex(FOldCol), aRow = FOldRow;
    FNewCellText = rtl::UTF16ToUTF8(newValue);
    struct Finally {
        TExStringGrid& g;
        ~Finally()
        {
            g.RememberCellValue(g.Col(), g.Row());
            g.FValidating = false;
        }
    } finally{g};

    if (newValue == FOldCellTextWide && !g.AlwaysValidate()) return true;
    const bool changed = newValue != FOldCellTextWide;
    std::u16string value = newValue;
    g.CellChanged(aCol, aRow);
    if (g.OnCellValidateWide) g.OnCellValidateWide(&g, aCol, aRow, value, valid);
    if (changed) FModified = true;
    if (changed && ShowModified()->Enabled() && TBaseGrid::FixedCols() > 0) g.SetRowModified(aRow, true);
    if (valid && changed) g.CellsChanged(gui::TRect(aCol, aRow, aCol, aRow));
    FNewCellText = rtl::UTF16ToUTF8(value);
    if (valid) SetCellTextWide(aCol, aRow, value);
    else ReopenRefusedEdit(aCol, aRow, value != newValue ? FNewCellText : FOldCellText);
    FOldCellTextWide = GetCellTextWide(aCol, aRow);
    return valid;
}

} // namespace grid
