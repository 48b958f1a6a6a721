// The special editors' keyboard contract: the check box, spin, combo and
// button editors.  The edit-button and date editors are in
// ExGridEditorsBtnDate.cpp.
#include "grid/ExGridEditors.h"

#include "grid/ExGrid.h"
#include "grid/ExGridEditorsShared.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TShiftStateItem;

// ---------------------------------------------------------- shared steps

bool ValidateForLeaving(TExStringGrid* g, const std::string& text)
{
    g->SetCurrentCellText(text);
    if (g->ValidateCell(text)) return true;
    g->FNoAutoAdvance = true;
    return false;
}

void LeaveEditor(TExStringGrid* g, uint16_t& key, gui::TShiftState shift, bool tabToGrid)
{
    const bool backward = shift.Contains(TShiftStateItem::ssShift);
    if (key == gui::VK_TAB && tabToGrid) {
        if (g->Options().Contains(gui::TGridOption::goTabs)) {
            g->HideInplaceEdit();
            if (g->CanFocus()) g->SetFocus();
            g->TabNavigate(backward);
            key = 0;
            return;
        }
        gui::PostMessage(g->Handle(), gui::WM_KEYDOWN, gui::VK_TAB, 0);
    }
    if (key == gui::VK_RETURN && g->Navigation()->AdvanceOnEnter()) {
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        key = 0;
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !backward, true, false);
        return;
    }
    g->DoneInplaceEdit(key, shift);
    key = 0;
}

void ExitEditor(TExStringGrid* g)
{
    if (g->IsDestroying()) return;  // the grid frees its editors
    if (g->SpecialEditorOpen()) g->HideInplaceEdit();
}

void WantSpecialKey(gui::TMessage& m, bool tab, bool arrows)
{
    const auto k = m.WParam;
    m.Result = k == gui::VK_RETURN || k == gui::VK_ESCAPE || (tab && k == gui::VK_TAB) ||
               (arrows && k >= gui::VK_LEFT && k <= gui::VK_DOWN);
}

void SelectAllOrEnd(gui::TCustomEdit* e, bool selectAll)
{
    if (selectAll) e->SelectAll();
    else {
        e->SetSelStart(static_cast<int>(rtl::UTF8ToUTF16(e->Text()).size()));
        e->SetSelLength(0);
    }
    e->Invalidate();
}

// --------------------------------------------------------------- check box

TGridCheckBox::TGridCheckBox(TExStringGrid* grid) : gui::TCheckBox(grid), FGrid(grid)
{
    // Opaque over the cell: the box and caption are drawn over the native face.
    SetPaintOverNative(true);
}

void TGridCheckBox::Toggle() { SetChecked(!Checked()); }

void TGridCheckBox::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    switch (key) {
    case gui::VK_SPACE:
        Toggle();
        key = 0;
        return;
    case gui::VK_ESCAPE:
        SetCaption(g->GetCurrentCellText());
        [[fallthrough]];
    case gui::VK_RETURN:
    case gui::VK_PRIOR:
    case gui::VK_NEXT:
    case gui::VK_END:
    case gui::VK_LEFT:
    case gui::VK_UP:
    case gui::VK_RIGHT:
    case gui::VK_DOWN: {
        const uint16_t k = key;
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        if (k == gui::VK_RETURN) g->AdvanceToNextCell(g->Col(), g->Row(), false, false, true, false, true);
        else if (k != gui::VK_ESCAPE) {
            uint16_t kk = k;
            g->KeyDown(kk, shift);
        }
        return;
    }
    case gui::VK_HOME:
        key = 0;  // no key of the grid's while the check box is open
        return;
    default: break;
    }
    gui::TCheckBox::KeyDown(key, shift);
}

void TGridCheckBox::Dispatch(gui::TMessage& m)
{
    switch (m.Msg) {
    case gui::CM_WANTSPECIALKEY: WantSpecialKey(m, false, true); return;
    case gui::WM_LBUTTONDOWN:
        // A press toggles; the release does not toggle again.
        Toggle();
        if (CanFocus() && !Focused()) SetFocus();
        m.Result = 0;
        return;
    case gui::WM_LBUTTONUP:
    case gui::WM_LBUTTONDBLCLK: m.Result = 0; return;
    case gui::WM_PAINT:
        if (auto* c = reinterpret_cast<gui::TCanvas*>(m.WParam)) {
            const gui::TRect r = ClientRect();
            c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            c->Brush()->SetColor(Color());
            c->FillRect(r);
            const int top = (r.Height() - 13) / 2;
            gui::TRect box{2, top, 15, top + 13};
            c->DrawFrameControl(box, gui::DFC_BUTTON,
                                gui::DFCS_BUTTONCHECK | (Checked() ? gui::DFCS_CHECKED : 0u));
            c->SetFont(Font());
            c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
            gui::TRect tr{20, 0, r.Right, r.Bottom};
            c->DrawText(Caption(), tr, gui::DT_SINGLELINE | gui::DT_VCENTER | gui::DT_NOPREFIX);
            if (Focused()) c->DrawFocusRect({18, 2, r.Right - 1, r.Bottom - 2});
            return;
        }
        break;
    default: break;
    }
    gui::TCheckBox::Dispatch(m);
}

void TGridCheckBox::DoExit()
{
    ExitEditor(FGrid);
    gui::TCheckBox::DoExit();
}

// -------------------------------------------------------------------- spin

TGridSpin::TGridSpin(TExStringGrid* grid) : gridbase::TGrdSpinEdit(grid), FGrid(grid)
{
    SetMinValue(0);
    SetMaxValue(100);
    SetIncrement(1);
}

void TGridSpin::DoSpinClick(bool up)
{
    TExStringGrid* g = FGrid;
    switch (SpinType()) {
    case gridbase::TGrdSpinType::sptNormal:
        if (g->OnSpinClick) g->OnSpinClick(g, g->Col(), g->Row(), Value(), up);
        break;
    case gridbase::TGrdSpinType::sptFloat:
        if (g->OnFloatSpinClick) g->OnFloatSpinClick(g, g->Col(), g->Row(), FloatValue(), up);
        break;
    case gridbase::TGrdSpinType::sptDate:
        if (g->OnDateSpinClick) g->OnDateSpinClick(g, g->Col(), g->Row(), DateValue(), up);
        break;
    case gridbase::TGrdSpinType::sptTime:
        if (g->OnTimeSpinClick) g->OnTimeSpinClick(g, g->Col(), g->Row(), TimeValue(), up);
        break;
    }
}

void TGridSpin::UpButtonClick(rtl::TObject* sender)
{
    gridbase::TGrdSpinEdit::UpButtonClick(sender);
    DoSpinClick(true);
}

void TGridSpin::DownButtonClick(rtl::TObject* sender)
{
    gridbase::TGrdSpinEdit::DownButtonClick(sender);
    DoSpinClick(false);
}

void TGridSpin::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    const bool normal = SpinType() == gridbase::TGrdSpinType::sptNormal;
    const bool real = SpinType() == gridbase::TGrdSpinType::sptFloat;
    if (normal || real) {
        switch (key) {
        case gui::VK_PRIOR:
            if (normal && Value() + Increment() <= MaxValue()) SetValue(Value() + Increment());
            if (real && !(FloatValue() + IncrementFloat() > MaxFloatValue()))
                SetFloatValue(FloatValue() + IncrementFloat());
            break;
        case gui::VK_NEXT:
            if (normal && Value() - Increment() >= MinValue()) SetValue(Value() - Increment());
            if (real && FloatValue() - IncrementFloat() >= MinFloatValue())
                SetFloatValue(FloatValue() - IncrementFloat());
            break;
        case gui::VK_END:
            if (normal) SetValue(MinValue());
            else SetFloatValue(MinFloatValue());
            break;
        case gui::VK_HOME:
            if (normal) SetValue(MaxValue());
            else SetFloatValue(MaxFloatValue());
            break;
        default: break;
        }
        if (g->OnSpinClick && (key == gui::VK_PRIOR || key == gui::VK_HOME || key == gui::VK_NEXT ||
                               key == gui::VK_END))
            g->OnSpinClick(g, g->Col(), g->Row(), Value(), key == gui::VK_PRIOR || key == gui::VK_HOME);
        if (key == gui::VK_PRIOR || key == gui::VK_NEXT || key == gui::VK_HOME || key == gui::VK_END) {
            key = 0;
            return;
        }
    }
    const bool tab = key == gui::VK_TAB && g->Options().Contains(gui::TGridOption::goTabs);
    if (key == gui::VK_ESCAPE) {
        // The value the cell had, read again in the spin's kind.
        const std::string cache = g->CellCache();
        if (normal) {
            int32_t v = 0;
            rtl::TryStrToInt(rtl::Trim(cache), v);
            SetValue(v);
        } else if (real) {
            double v = 0;
            rtl::TryStrToFloat(rtl::Trim(cache), v);
            SetFloatValue(v);
        } else {
            SetText(cache);
        }
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    if (tab || key == gui::VK_RETURN || key == gui::VK_UP || key == gui::VK_DOWN) {
        const bool ok = ValidateForLeaving(g, Text());
        SetText(g->GetCurrentCellText());
        if (!ok) {
            SelectAllOrEnd(this, false);
            key = 0;
            return;
        }
        LeaveEditor(g, key, shift, tab);
        return;
    }
    gridbase::TGrdSpinEdit::KeyDown(key, shift);
}

void TGridSpin::KeyPress(char16_t& key)
{
    if (key == 27) key = 0;
    if (key == 13 || key == 9) {
        key = 0;
        return;
    }
    gridbase::TGrdSpinEdit::KeyPress(key);
}

void TGridSpin::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_WANTSPECIALKEY) {
        WantSpecialKey(m, FGrid->Options().Contains(gui::TGridOption::goTabs), true);
        return;
    }
    if (m.Msg == gui::WM_CHAR && (m.WParam == 9 || m.WParam == 13)) {
        m.Result = 0;
        return;
    }
    if (m.Msg == gui::WM_KEYDOWN && (m.WParam == gui::VK_UP || m.WParam == gui::VK_DOWN ||
                                     m.WParam == gui::VK_PRIOR || m.WParam == gui::VK_NEXT)) {
        // The spin editor steps on these keys before its key handler; the
        // grid's contract comes first.
        uint16_t key = static_cast<uint16_t>(m.WParam);
        KeyDown(key, gui::KeyDataToShiftState(m.LParam));
        if (key == 0) return;
        m.WParam = key;
    }
    gridbase::TGrdSpinEdit::Dispatch(m);
}

void TGridSpin::Change()
{
    gridbase::TGrdSpinEdit::Change();
    TExStringGrid* g = FGrid;
    if (g && Visible() && !g->NoEditChange() && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
}

void TGridSpin::DoExit()
{
    ExitEditor(FGrid);
    gridbase::TGrdSpinEdit::DoExit();
}

// ------------------------------------------------------------------- combo

TGridCombo::TGridCombo(TExStringGrid* grid) : gridbase::TGRDComboBox(grid), FGrid(grid)
{
    SetButtonWidth(16);
}

void TGridCombo::FireComboChange(int col)
{
    TExStringGrid* g = FGrid;
    const int i = ItemIndex();
    const std::string sel = i >= 0 ? Items()->Strings(i) : std::string();
    if (g->OnComboChange) g->OnComboChange(g, col, g->Row(), i, sel);
    if (g->OnComboObjectChange) g->OnComboObjectChange(g, col, g->Row(), i, sel, i >= 0 ? Items()->Objects(i) : nullptr);
}

void TGridCombo::SizeDropDownWidth()
{
    gui::TCanvas* c = FGrid->Canvas();
    int w = Width();
    const bool bar = Items()->Count() > DropDownCount();
    for (int i = 0; i < Items()->Count(); ++i) {
        const int t = c->TextWidth(Items()->Strings(i));
        if (bar) {
            if (w - 25 < t) w = t + 25;
        } else if (w - 5 < t) {
            w = t + 8;
        }
    }
    Perform(gui::CB_SETDROPPEDWIDTH, static_cast<gui::WPARAM>(w), 0);
}

void TGridCombo::DoChange()
{
    TExStringGrid* g = FGrid;
    if (!WorkMode || !g->Lookup() || Style() == gui::TComboBoxStyle::csDropDownList) return;
    const bool cs = g->LookupCaseSensitive();
    auto fold = [cs](const std::string& s) { return cs ? s : rtl::AnsiUpperCase(s); };
    const std::u16string text = rtl::UTF8ToUTF16(Text());
    const int caret = SelStart();
    if (caret <= 0 || SelLength() != 0) return;
    const std::u16string typed = text.substr(0, static_cast<size_t>(caret));
    const std::string p = fold(rtl::UTF16ToUTF8(typed));
    auto complete = [&](const std::string& entry, int index, bool ownItem) {
        const std::u16string e = rtl::UTF8ToUTF16(entry);
        const std::u16string rest = e.substr(std::min(typed.size(), e.size()), 255);
        g->SetNoEditChange(true);
        SetText(rtl::UTF16ToUTF8(typed + rest));
        if (ownItem) SetItemIndex(index);
        g->SetNoEditChange(false);
        SetSelStart(static_cast<int>(typed.size()));
        SetSelLength(static_cast<int>(rest.size()));
        ItemIdx = index;
        ItemChange = true;
    };
    for (int i = 0; i < Items()->Count(); ++i)
        if (fold(Items()->Strings(i)).compare(0, p.size(), p) == 0) return complete(Items()->Strings(i), i, true);
    rtl::TStringList* look = g->LookupItems();
    for (int i = 0; i < look->Count(); ++i)
        if (fold(look->Strings(i)).compare(0, p.size(), p) == 0) return complete(look->Strings(i), i, false);
}

void TGridCombo::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    Forced = false;
    WorkMode = key != gui::VK_BACK && key != gui::VK_DELETE;
    const bool alt = shift.Contains(TShiftStateItem::ssAlt);
    const bool listLike = Style() == gui::TComboBoxStyle::csDropDownList || DroppedDown();
    if (alt && key == gui::VK_DOWN) {
        gridbase::TGRDComboBox::KeyDown(key, shift);
        return;
    }
    if (key == gui::VK_ESCAPE) {
        g->SetNoEditChange(true);
        const std::string t = g->GetCurrentCellText();
        SetItemIndex(Items()->IndexOf(t));
        if (Style() != gui::TComboBoxStyle::csDropDownList) SetText(t);
        g->SetNoEditChange(false);
        SetDroppedDown(false);
        key = 0;
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    if (!listLike && key == gui::VK_END) {
        SetSelStart(static_cast<int>(rtl::UTF8ToUTF16(Text()).size()));
        SetSelLength(0);
        key = 0;
        return;
    }
    bool leaves = key == gui::VK_RETURN || (key == gui::VK_TAB && g->EditorWantsTab());
    if (listLike) leaves = leaves || key == gui::VK_LEFT || key == gui::VK_RIGHT;
    else leaves = leaves || key == gui::VK_PRIOR || key == gui::VK_NEXT || key == gui::VK_UP || key == gui::VK_DOWN;
    if (!leaves) {
        gridbase::TGRDComboBox::KeyDown(key, shift);
        return;
    }
    SetDroppedDown(false);
    if (!ValidateForLeaving(g, Text())) {
        g->SetNoEditChange(true);
        if (Style() != gui::TComboBoxStyle::csDropDownList) {
            SetText(g->NewCellText());
            SelectAll();
        } else {
            SetItemIndex(Items()->IndexOf(g->NewCellText()));
        }
        g->SetNoEditChange(false);
        key = 0;
        return;
    }
    const uint16_t k = key;
    LeaveEditor(g, key, shift, k == gui::VK_TAB);
    if (k != gui::VK_TAB && k != gui::VK_RETURN && g->Navigation()->AdvanceOnEnter() &&
        g->Navigation()->AdvanceAutoEdit())
        g->ShowInplaceEdit();
}

void TGridCombo::KeyPress(char16_t& key)
{
    TExStringGrid* g = FGrid;
    const int before = ItemIndex();
    if (g->OnKeyPress) g->OnKeyPress(this, key);
    if (key == 27) key = 0;
    if (key == 13 && OnReturnKey) OnReturnKey(this);
    if (key == 13 || key == 9) key = 0;
    gridbase::TGRDComboBox::KeyPress(key);
    if (ItemIndex() != before) FireComboChange(g->RealColIndex(g->Col()));
}

void TGridCombo::KeyUp(uint16_t& key, gui::TShiftState shift)
{
    FGrid->FNoAutoAdvance = false;
    if (key != gui::VK_RETURN) gridbase::TGRDComboBox::KeyUp(key, shift);
    DoChange();
}

void TGridCombo::Dispatch(gui::TMessage& m)
{
    TExStringGrid* g = FGrid;
    switch (m.Msg) {
    case gui::CM_WANTSPECIALKEY:
        WantSpecialKey(m, g->EditorWantsTab(), true);
        return;
    case gui::WM_MOUSEWHEEL: {
        // Down the list for a negative turn, up for a positive one; the
        // ends stay where they are.
        const int delta = static_cast<int16_t>(gui::HIWORD(m.WParam));
        const int i = ItemIndex();
        if (delta < 0 && i < Items()->Count() - 1) SetItemIndex(i + 1);
        else if (delta > 0 && i > 0) SetItemIndex(i - 1);
        const int col = g->RealColIndex(g->Col());
        if (g->OnEditChange) g->OnEditChange(g, col, g->Row(), Text());
        FireComboChange(col);
        m.Result = 0;
        return;
    }
    case gui::WM_SETFOCUS:
        gridbase::TGRDComboBox::Dispatch(m);
        if (g->LButFlg) {
            // Editing began with a click: the caret goes where the mouse is.
            const gui::TPoint p = ScreenToClient(gui::GetCursorPos());
            if (p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height()) {
                const gui::LRESULT at = Perform(gui::EM_CHARFROMPOS, 0, gui::MAKELPARAM(p.X, p.Y));
                if (at != -1) {
                    SetSelStart(gui::LOWORD(static_cast<uintptr_t>(at)));
                    SetSelLength(0);
                    g->LButFlg = false;
                }
            }
        }
        return;
    default: break;
    }
    gridbase::TGRDComboBox::Dispatch(m);
}

void TGridCombo::Change()
{
    gridbase::TGRDComboBox::Change();
    TExStringGrid* g = FGrid;
    if (g && Visible() && !g->NoEditChange() && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
}

void TGridCombo::DoExit()
{
    TExStringGrid* g = FGrid;
    if (g->LookupHistory() && !Text().empty() && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
    ExitEditor(g);
    gridbase::TGRDComboBox::DoExit();
}

// ------------------------------------------------------------------ button

TGridButton::TGridButton(TExStringGrid* grid) : gui::TButton(grid), FGrid(grid) {}

void TGridButton::Released()
{
    TExStringGrid* g = FGrid;
    const std::string s = g->DoEllipsClick(Caption());
    SetCaption(s);
    g->SetCurrentCellText(s);
}

void TGridButton::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    TExStringGrid* g = FGrid;
    const bool arrow = key >= gui::VK_LEFT && key <= gui::VK_DOWN;
    if (!arrow && key != gui::VK_ESCAPE) {
        gui::TButton::KeyDown(key, shift);
        return;
    }
    const uint16_t k = key;
    key = 0;
    g->HideInplaceEdit();
    if (g->CanFocus()) g->SetFocus();
    if (arrow) {
        g->Perform(gui::WM_KEYDOWN, k, 0);
        g->Perform(gui::WM_KEYUP, k, 0);
    } else {
        g->RestoreCellFromCache();
        g->Perform(gui::WM_KEYDOWN, gui::VK_ESCAPE, 0);
    }
}

void TGridButton::KeyUp(uint16_t& key, gui::TShiftState shift)
{
    if (key == gui::VK_SPACE) {
        Released();
        if (CanFocus()) SetFocus();
        Invalidate();
        key = 0;
        return;
    }
    gui::TButton::KeyUp(key, shift);
}

void TGridButton::Dispatch(gui::TMessage& m)
{
    if (m.Msg == gui::CM_WANTSPECIALKEY) {
        const auto k = m.WParam;
        m.Result = k == gui::VK_ESCAPE || (k >= gui::VK_LEFT && k <= gui::VK_DOWN);
        return;
    }
    if (m.Msg == gui::WM_LBUTTONUP) Released();
    gui::TButton::Dispatch(m);
}

void TGridButton::DoExit()
{
    ExitEditor(FGrid);
    gui::TButton::DoExit();
}

} // namespace grid
