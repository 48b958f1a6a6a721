// The special editors' keyboard contract: the edit-button, unit and date
// editors.
#include "grid/ExGridEditors.h"

#include "grid/ExGrid.h"
#include "grid/ExGridEditorsShared.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TShiftStateItem;

// ------------------------------------------------------------- edit button

TGridEditBtn::TGridEditBtn(TExStringGrid* grid) : gridbase::TGrdEditBtn(grid), FGrid(grid)
{
    SetButtonCaption("...");
}

void TGridEditBtn::ButtonClick(rtl::TObject* sender)
{
    SetText(FGrid->DoEllipsClick(Text()));
    SetSelStart(0);
    SelectAll();
    Invalidate();
}

void TGridEditBtn::DoLookup()
{
    TExStringGrid* g = FGrid;
    rtl::TStringList* look = g->LookupItems();
    if (!g->Lookup() || look->Count() == 0 || !WorkMode || SelLength() != 0) return;
    const bool cs = g->LookupCaseSensitive();
    auto fold = [cs](const std::string& s) { return cs ? s : rtl::AnsiUpperCase(s); };
    const std::u16string text = rtl::UTF8ToUTF16(Text());
    const std::u16string typed = text.substr(0, static_cast<size_t>(SelStart()));
    if (typed.empty()) return;
    const std::string p = fold(rtl::UTF16ToUTF8(typed));
    for (int i = 0; i < look->Count(); ++i) {
        if (fold(look->Strings(i)).compare(0, p.size(), p) != 0) continue;
        const std::u16string e = rtl::UTF8ToUTF16(look->Strings(i));
        const std::u16string rest = e.substr(std::min(typed.size(), e.size()), 255);
        SetText(rtl::UTF16ToUTF8(typed + rest));
        Perform(gui::EM_SETSEL, typed.size(), typed.size() + rest.size());
        return;
    }
}

void TGridEditBtn::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    if (shift.Contains(TShiftStateItem::ssCtrl)) {
        gridbase::TGrdEditBtn::KeyDown(key, shift);
        return;
    }
    FSelKeyDown = SelStart();
    WorkMode = key != gui::VK_BACK && key != gui::VK_DELETE;
    const bool tab = key == gui::VK_TAB && g->EditorWantsTab();
    const bool leaves = tab || key == gui::VK_RETURN || key == gui::VK_ESCAPE || key == gui::VK_PRIOR ||
                        key == gui::VK_NEXT || key == gui::VK_UP || key == gui::VK_DOWN;
    if (!leaves) {
        g->EditorKeyDown(key, shift);
        if (g->OnKeyDown && key) g->OnKeyDown(g, key, shift);
        if (key) gridbase::TGrdEditBtn::KeyDown(key, shift);
        return;
    }
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == gui::VK_ESCAPE) {
        SetText(g->CellCache());
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    const bool ok = ValidateForLeaving(g, Text());
    // The validated text shows whether accepted or not.
    SetText(g->NewCellText());
    if (!ok) {
        SelectAllOrEnd(this, true);
        key = 0;
        return;
    }
    Update();
    LeaveEditor(g, key, shift, tab);
}

void TGridEditBtn::KeyPress(char16_t& key)
{
    TExStringGrid* g = FGrid;
    if (g->OnKeyPress) g->OnKeyPress(g, key);
    if (key == 9) {
        key = 0;
        return;
    }
    gridbase::TGrdEditBtn::KeyPress(key);
}

void TGridEditBtn::KeyUp(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    if (g->OnKeyUp) g->OnKeyUp(g, key, shift);
    // Cursor walk: past either end of the text into the neighbouring cell.
    if ((key == gui::VK_LEFT || key == gui::VK_RIGHT) && g->Navigation()->CursorWalkEditor() &&
        shift == gui::TShiftState{} && SelLength() == 0) {
        const int n = static_cast<int>(rtl::UTF8ToUTF16(Text()).size());
        const int edge = key == gui::VK_LEFT ? 0 : n;
        if (SelStart() == edge && FSelKeyDown == edge) {
            const int step = key == gui::VK_LEFT ? -1 : 1;
            key = 0;
            if (!ValidateForLeaving(g, Text())) {
                SetText(g->NewCellText());
                return;
            }
            g->HideInplaceEdit();
            if (g->CanFocus()) g->SetFocus();
            g->WalkToEditableCell(step);
            return;
        }
    }
    if (key != gui::VK_RETURN) gridbase::TGrdEditBtn::KeyUp(key, shift);
    DoLookup();
}

void TGridEditBtn::Dispatch(gui::TMessage& m)
{
    TExStringGrid* g = FGrid;
    switch (m.Msg) {
    case gui::CM_WANTSPECIALKEY: WantSpecialKey(m, g->EditorWantsTab(), false); return;
    case gui::WM_CHAR: {
        const char16_t ch = static_cast<char16_t>(m.WParam);
        if (ch == 13 || ch == 9) {
            m.Result = 1;
            return;
        }
        const TEditorType t = g->EditControl();
        if (ch >= 32 && (t == TEditorType::edNumericEditBtn || t == TEditorType::edFloatEditBtn)) {
            const std::u16string text = rtl::UTF8ToUTF16(Text());
            const char16_t dec = static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator);
            bool pass = ch >= '0' && ch <= '9';
            if (ch == '-') pass = SelStart() == 0 && text.find(u'-') == std::u16string::npos;
            if (ch == dec && t == TEditorType::edFloatEditBtn) pass = text.find(dec) == std::u16string::npos;
            if (!pass) {
                gui::MessageBeep(0);
                m.Result = 0;
                return;
            }
        }
        break;
    }
    case gui::WM_PASTE: {
        bool allow = true;
        if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
        std::string v;
        if (allow && g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), v, allow);
        if (!allow) return;
        break;
    }
    default: break;
    }
    gridbase::TGrdEditBtn::Dispatch(m);
}

void TGridEditBtn::Change()
{
    gridbase::TGrdEditBtn::Change();
    TExStringGrid* g = FGrid;
    if (g && Visible() && !g->NoEditChange() && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
}

void TGridEditBtn::DoExit()
{
    ExitEditor(FGrid);
    gridbase::TGrdEditBtn::DoExit();
}

// -------------------------------------------------------- unit edit button

TGridUnitEditBtn::TGridUnitEditBtn(TExStringGrid* grid) : gridbase::TGrdUnitEditBtn(grid), FGrid(grid) {}

void TGridUnitEditBtn::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    const bool tab = key == gui::VK_TAB && g->Options().Contains(gui::TGridOption::goTabs);
    if (key == gui::VK_ESCAPE) {
        SetUnitID("");
        SetText(g->GetCurrentCellText());
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    if (tab || key == gui::VK_RETURN || key == gui::VK_PRIOR || key == gui::VK_NEXT || key == gui::VK_UP ||
        key == gui::VK_DOWN) {
        if (!ValidateForLeaving(g, Text() + UnitID())) {
            std::string number, unit;
            TExStringGrid::SplitUnitText(g->GetCurrentCellText(), number, unit);
            SetText(number);
            SelectAllOrEnd(this, false);
            key = 0;
            return;
        }
        LeaveEditor(g, key, shift, tab);
        return;
    }
    gridbase::TGrdUnitEditBtn::KeyDown(key, shift);
}

void TGridUnitEditBtn::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_WANTSPECIALKEY) {
        WantSpecialKey(m, FGrid->Options().Contains(gui::TGridOption::goTabs), false);
        return;
    }
    if (m.Msg == gui::WM_CHAR && m.WParam == 13) {
        m.Result = 0;
        return;
    }
    gridbase::TGrdUnitEditBtn::Dispatch(m);
}

void TGridUnitEditBtn::DoExit()
{
    ExitEditor(FGrid);
    gridbase::TGrdUnitEditBtn::DoExit();
}

// ------------------------------------------------------------- date picker

TGridDatePicker::TGridDatePicker(TExStringGrid* grid) : gui::TDateTimePicker(grid), FGrid(grid)
{
    SetNonClientPaint(true);
    OnCloseUp = [grid](rtl::TObject* sender) { grid->DatePickerCloseUp(sender); };
}

void TGridDatePicker::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    const bool tab = key == gui::VK_TAB && g->EditorWantsTab();
    if (key == gui::VK_ESCAPE) {
        const bool time = Kind() == gui::TDateTimeKind::dtkTime;
        rtl::TDateTime v = 0;
        if (!TryStrToGridDateTime(g->GetCurrentCellText(), v, time)) v = rtl::Now();
        if (time) SetTime(v);
        else SetDateTime(v);
    } else if (key == gui::VK_RETURN) {
        if (!ValidateForLeaving(g, DisplayText())) {
            rtl::TDateTime v = 0;
            if (TryStrToGridDateTime(g->NewCellText(), v, Kind() == gui::TDateTimeKind::dtkTime)) SetDateTime(v);
            key = 0;
            return;
        }
    } else if (!tab && key != gui::VK_PRIOR && key != gui::VK_NEXT && key != gui::VK_END) {
        gui::TDateTimePicker::KeyDown(key, shift);
        return;
    }
    if (DroppedDown() || FOldDropped) {
        gui::TDateTimePicker::KeyDown(key, shift);
        return;
    }
    if (key == gui::VK_ESCAPE) {
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    LeaveEditor(g, key, shift, tab);
}

void TGridDatePicker::KeyPress(char16_t& key)
{
    if (FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, key);
    gui::TDateTimePicker::KeyPress(key);
}

void TGridDatePicker::Dispatch(gui::TMessage& m)
{
    switch (m.Msg) {
    case gui::CM_WANTSPECIALKEY: WantSpecialKey(m, FGrid->EditorWantsTab(), false); return;
    case gui::CN_NOTIFY: {
        const auto* n = reinterpret_cast<const gui::TNMDateTime*>(m.LParam);
        if (n && n->code == gui::DTN_DROPDOWN) FOldDropped = true;
        if (n && n->code == gui::DTN_CLOSEUP) FOldDropped = false;
        break;
    }
    case gui::WM_NCPAINT:
        gui::TDateTimePicker::Dispatch(m);
        // A two-pixel frame in the window colour over the edge.
        if (auto* c = reinterpret_cast<gui::TCanvas*>(m.WParam)) {
            gui::TRect r{0, 0, Width(), Height()};
            c->Brush()->SetColor(gui::clWindow);
            c->FrameRect(r);
            gui::InflateRect(r, -1, -1);
            c->FrameRect(r);
        }
        return;
    default: break;
    }
    gui::TDateTimePicker::Dispatch(m);
}

void TGridDatePicker::DoExit()
{
    if (!DroppedDown()) ExitEditor(FGrid);
    gui::TDateTimePicker::DoExit();
}

// -------------------------------------------------------- date-time picker

TGridDateTimePicker::TGridDateTimePicker(TExStringGrid* grid) : gridbase::TExDateTimePicker(grid), FGrid(grid)
{
    SetBorderStyle(gui::TBorderStyle::bsNone);
    OnCloseUp = [grid](rtl::TObject* sender) { grid->DatePickerCloseUp(sender); };
}

void TGridDateTimePicker::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    const bool backward = shift.Contains(TShiftStateItem::ssShift);
    if (key == gui::VK_ESCAPE || key == gui::VK_RETURN) {
        const uint16_t k = key;
        if (k == gui::VK_ESCAPE) SetDateTime(g->OriginalDateTime());
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        if (k == gui::VK_RETURN && g->Navigation()->AdvanceOnEnter())
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !backward, true, false);
        return;
    }
    if (key == gui::VK_TAB && g->EditorWantsTab()) {
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        g->TabNavigate(backward);
        return;
    }
    gridbase::TExDateTimePicker::KeyDown(key, shift);
}

void TGridDateTimePicker::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_WANTSPECIALKEY) {
        WantSpecialKey(m, FGrid->EditorWantsTab(), false);
        return;
    }
    gridbase::TExDateTimePicker::Dispatch(m);
}

void TGridDateTimePicker::DoExit()
{
    // The focus may move to the time part of the same editor.
    gui::TWinControl* to = nullptr;
    if (gui::TCustomForm* f = GetParentForm()) to = f->FocusedControl();
    if (!(TimePicker() && to == TimePicker())) ExitEditor(FGrid);
    gridbase::TExDateTimePicker::DoExit();
}

} // namespace grid
