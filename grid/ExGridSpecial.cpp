// ExGrid: the special editors from the grid's side: the entry points that
// open and close an edit, placing and filling the editor of the cell's
// editor type, reading its value back, and the edit link's hand-over.
#include <algorithm>
#include <cmath>
#include <vector>

#include "grid/ExControlEdit.h"
#include "grid/ExEditLink.h"
#include "grid/ExGrid.h"
#include "grid/ExGridEditors.h"
#include "gridbase/ExUtil.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace grid {

using gui::TGridOption;
using gui::TShiftStateItem;

namespace {

std::vector<std::string> SplitBy(const std::string& s, char sep)
{
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (c == sep) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

bool ReadInt(std::string s, int& v)
{
    s = rtl::Trim(s);
    int32_t x = 0;
    if (s.empty() || !rtl::TryStrToInt(s, x)) return false;
    v = x;
    return true;
}

} // namespace

// A date in the order of the locale's short date format, optionally
// followed by a blank and a time of day.
bool TryStrToGridDateTime(const std::string& text, rtl::TDateTime& value, bool timeOnly)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::string s = rtl::Trim(text);
    if (s.empty()) return false;
    std::string datePart = s, timePart;
    if (timeOnly) {
        datePart.clear();
        timePart = s;
    } else if (const auto blank = s.find(' '); blank != std::string::npos) {
        datePart = s.substr(0, blank);
        timePart = rtl::Trim(s.substr(blank + 1));
    }
    rtl::TDateTime date = 0, time = 0;
    if (!datePart.empty()) {
        const std::string fmt = rtl::UpperCase(fs.ShortDateFormat);
        const auto pd = fmt.find('D'), pm = fmt.find('M'), py = fmt.find('Y');
        const std::vector<std::string> parts = SplitBy(datePart, fs.DateSeparator);
        if (parts.size() != 3 || pd == std::string::npos || pm == std::string::npos || py == std::string::npos)
            return false;
        std::vector<std::pair<size_t, char>> order{{pd, 'd'}, {pm, 'm'}, {py, 'y'}};
        std::sort(order.begin(), order.end());
        int d = 0, m = 0, y = 0;
        for (int i = 0; i < 3; ++i) {
            int v = 0;
            if (!ReadInt(parts[static_cast<size_t>(i)], v)) return false;
            if (order[static_cast<size_t>(i)].second == 'd') d = v;
            else if (order[static_cast<size_t>(i)].second == 'm') m = v;
            else y = v < 100 && parts[static_cast<size_t>(i)].size() <= 2 ? v + 2000 : v;
        }
        if (!rtl::TryEncodeDate(y, m, d, date)) return false;
    }
    if (!timePart.empty()) {
        const std::vector<std::string> parts = SplitBy(timePart, fs.TimeSeparator);
        int h = 0, n = 0, sec = 0;
        if (parts.size() < 2 || parts.size() > 3 || !ReadInt(parts[0], h) || !ReadInt(parts[1], n)) return false;
        if (parts.size() == 3 && !ReadInt(parts[2], sec)) return false;
        if (!rtl::TryEncodeTime(h, n, sec, 0, time)) return false;
    }
    value = date + time;
    return true;
}

// ------------------------------------------------------------ the editors

template <typename T>
static T* MakeEditor(TExStringGrid* grid, T*& field)
{
    if (!field) {
        field = new T(grid);
        field->SetVisible(false);
        field->SetEnabled(false);
        field->SetParent(grid);
    }
    return field;
}

TGridSpin* TExStringGrid::EditSpin() { return MakeEditor(this, FEditSpin); }
TGridCombo* TExStringGrid::EditCombo() { return MakeEditor(this, FEditCombo); }
TGridCheckBox* TExStringGrid::EditCheck() { return MakeEditor(this, FEditCheck); }
TGridEditBtn* TExStringGrid::EditBtn() { return MakeEditor(this, FEditBtn); }
TGridUnitEditBtn* TExStringGrid::UnitEditBtn() { return MakeEditor(this, FUnitEditBtn); }
TGridDatePicker* TExStringGrid::EditDate() { return MakeEditor(this, FEditDate); }
TGridDateTimePicker* TExStringGrid::EditDateTime() { return MakeEditor(this, FEditDateTime); }
TGridButton* TExStringGrid::GridButton() { return MakeEditor(this, FGridButton); }

void TExStringGrid::DatePickerCloseUp(rtl::TObject*)
{
    if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
    if (FMouseActions->DirectDateClose()) HideInplaceEdit();
}

TGridTransEdit* TExStringGrid::EditTrans()
{
    if (!FEditTrans) {
        FEditTrans = new TGridTransEdit(this);
        FEditTrans->SetParent(this);
    }
    return FEditTrans;
}

void TExStringGrid::SetEditLink(TEditLink* link)
{
    if (FEditLink == link) return;
    if (FEditLink) FEditLink->RemoveFreeNotification(this);
    FEditLink = link;
    if (link) link->FreeNotification(this);
}

void TExStringGrid::EditLinkWndProc(gui::TMessage& m)
{
    if (m.Msg == gui::WM_GETDLGCODE && Options().Contains(TGridOption::goTabs)) {
        m.Result |= gui::DLGC_WANTCHARS | gui::DLGC_WANTTAB | gui::DLGC_WANTARROWS;
        return;
    }
    if (FGridControlWndProc) FGridControlWndProc(m);
}

std::string TExStringGrid::GetEditMask(int aCol, int aRow)
{
    std::string mask;
    if (OnGetEditMask) OnGetEditMask(this, aCol, aRow, mask);
    return mask;
}

void TExStringGrid::ClosePopupLink()
{
    if (!FSpecialEditor || FEditControl != TEditorType::edCustom || !FEditLink) return;
    if (FEditLink->EditStyle != TEditStyle::esPopup || !FEditLink->PopupForm()) return;
    if (FEditLink->PopupForm()->Visible()) FEditLink->FormExit(FEditLink->PopupForm());
}

// ------------------------------------------------------------ entry points

void TExStringGrid::ShowInplaceEdit()
{
    if (HasClickControl(RealColIndex(Col()), Row())) return;
    if (Row() < TopRow()) SetTopRow(Row());
    if (Col() < LeftCol()) SetLeftCol(Col());
    ShowEditor();
}

void TExStringGrid::HideInplaceEdit()
{
    if (!EditMode() && !FSpecialEditor) return;
    HideEditor();
    if (FSpecialEditor) HideSpecialEditor(FEditCell.X, FEditCell.Y);
    FEditMode = false;
    FCellCache = GetCellText(RealColIndex(Col()), Row());
}

void TExStringGrid::ShowCellEdit() { Perform(gui::WM_KEYDOWN, gui::VK_F2, 0); }

void TExStringGrid::DoneInplaceEdit(uint16_t key, gui::TShiftState shift)
{
    FEditing = false;
    HideInplaceEdit();
    if (FNavigation->AppendOnArrowDown() && key == gui::VK_DOWN && Row() == LastDataRow()) AutoAddRow();
    if (key == gui::VK_TAB || (key >= gui::VK_LEFT && key <= gui::VK_DOWN)) {
        uint16_t k = key;
        KeyDown(k, shift);
    }
    const bool alwaysEdit = FNavigation->AlwaysEdit();
    FNavigation->SetAlwaysEdit(false);
    if (CanFocus()) SetFocus();
    if (key == gui::VK_RETURN) AdvanceToNextCell(Col(), Row(), true, false, true, true, false);
    FNavigation->SetAlwaysEdit(alwaysEdit);
}

void TExStringGrid::StoreEditorText(int aCol, int aRow, const std::string& value)
{
    SetEditText(RealToDisplayCol(aCol), aRow, value);
    SetCellText(aCol, aRow, value);
}

std::string TExStringGrid::DoEllipsClick(const std::string& text)
{
    std::string s = text;
    if (OnEllipsClick) OnEllipsClick(this, Col(), Row(), s);
    return s;
}

gui::TRect TExStringGrid::EditorCellRect(int aCol, int aRow)
{
    gui::TRect r = CellRect(aCol, aRow);
    if (r.IsEmpty()) r = gui::TCustomGrid::CellRect(aCol, aRow);
    return r;
}

// --------------------------------------------------------- show and hide

// Opens the special editor of a cell (ACol display column): the cell's
// look gives the editor its colours, then one step per editor type places,
// fills and focuses the grid's control for it.  A friend of the grid.
class TSpecialEditorOpener {
public:
    TSpecialEditorOpener(TExStringGrid& g, int col, int row)
        : grid(g), aCol(col), aRow(row), r(g.EditorCellRect(col, row)), w(r.Width() - 1), h(r.Height() - 1),
          rCol(g.RealColIndex(col))
    {
    }

    void Open()
    {
        CellLook();
        grid.FEditCtrl = nullptr;
        if (grid.FEditControl != TEditorType::edCustom) grid.FLastValidation = true;
        grid.FEditMode = true;
        grid.FEditCell = {grid.Col(), grid.Row()};
        flatLook = grid.FLook == TGridLook::glSoft ||
                   (static_cast<int>(grid.FLook) >= 3 && static_cast<int>(grid.FLook) <= 8);
        switch (grid.FEditControl) {
        case TEditorType::edSpinEdit:
        case TEditorType::edFloatSpinEdit:
        case TEditorType::edTimeSpinEdit:
        case TEditorType::edDateSpinEdit:
            Spin();
            break;
        case TEditorType::edComboEdit:
        case TEditorType::edComboList:
            Combo();
            break;
        case TEditorType::edEditBtn:
        case TEditorType::edNumericEditBtn:
        case TEditorType::edFloatEditBtn:
            EditButton();
            break;
        case TEditorType::edCheckBox:
            CheckBox();
            break;
        case TEditorType::edDateEdit:
        case TEditorType::edDateEditUpDown:
        case TEditorType::edTimeEdit:
            DatePicker();
            break;
        case TEditorType::edButton:
            Button();
            break;
        case TEditorType::edUnitEditBtn:
            UnitEditButton();
            break;
        case TEditorType::edCustom:
            EditLink();
            break;
        case TEditorType::edRichEdit:
            RichEdit();
            break;
        case TEditorType::edDateTimeEdit:
            DateTimePicker();
            break;
        default: break;
        }
        grid.FStartEditChar = 0;
        // A type without a control of its own (or without the date pickers)
        // leaves the grid editing with nothing to close.
        if (!grid.FEditCtrl && grid.FEditControl != TEditorType::edCheckBox)
            grid.FSpecialEditor = grid.FEditActive = false;
    }

private:
    // The cell's visual properties: the editor's colour and font.
    void CellLook() { grid.EditorLook(aCol, grid.Row(), brush, font); }

    void Colour(gui::TWinControl* c)
    {
        c->SetColor(brush.Color());
        c->SetFont(&font);
    }

    // The character that started the edit goes through the control's own
    // filter and replaces the text (a posted WM_CHAR would not reach a
    // native window here).
    void PostStart(gui::TWinControl* c)
    {
        if (!grid.FStartEditChar || !c) return;
        char16_t k = grid.FStartEditChar;
        grid.FStartEditChar = 0;
        c->KeyPress(k);
        if (!k) return;
        const std::string typed = rtl::UTF16ToUTF8(std::u16string(1, k));
        if (auto* e = dynamic_cast<gui::TCustomEdit*>(c)) {
            e->SelectAll();
            e->SetSelText(typed);
        } else if (auto* cb = dynamic_cast<gui::TCustomComboBox*>(c);
                   cb && cb->Style() != gui::TComboBoxStyle::csDropDownList) {
            cb->SetText(typed);
            cb->SetSelStart(1);
        }
    }

    void FireProp()
    {
        if (grid.OnGetEditorProp) grid.OnGetEditorProp(&grid, rCol, aRow, grid.FEditLink);
    }

    // Spin types: the leading integer, the float, the time text or the date of the cell; a click on an
    // always-visible spin button takes its step at once.
    void Spin()
    {
        TGridSpin* s = grid.EditSpin();
        s->ReCreate();
        s->SetBounds(r.Left, r.Top, w, h);
        s->SetVisible(true);
        s->SetEnabled(true);
        Colour(s);
        s->SetExcelStyleDecimalSeparator(grid.ExcelStyleDecimalSeparator());
        s->SetIsWinXP(grid.FIsWinXP);
        FireProp();
        const std::string text = grid.GetEditText(aCol, aRow);
        grid.SetNoEditChange(true);
        if (grid.FEditControl == TEditorType::edSpinEdit) {
            s->SetSpinType(gridbase::TGrdSpinType::sptNormal);
            // The leading integer of the text.
            size_t i = 0;
            std::string digits;
            while (i < text.size() && text[i] == ' ') ++i;
            if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') digits += text[i++];
            int v = 0;
            ReadInt(digits, v);
            s->SetValue(v);
        } else if (grid.FEditControl == TEditorType::edFloatSpinEdit) {
            s->SetSpinType(gridbase::TGrdSpinType::sptFloat);
            double v = 0;
            rtl::TryStrToFloat(gridbase::ExtractNumberText(text), v);
            s->SetFloatValue(v);
        } else if (grid.FEditControl == TEditorType::edTimeSpinEdit) {
            s->SetSpinType(gridbase::TGrdSpinType::sptTime);
            s->SetText(text);
        } else {
            rtl::TDateTime d = 0;
            if (!TryStrToGridDateTime(text, d, false)) d = rtl::Now();
            s->SetSpinType(gridbase::TGrdSpinType::sptDate);
            s->SetDateValue(d);
        }
        grid.SetNoEditChange(false);
        if (s->CanFocus()) s->SetFocus();
        PostStart(s);
        if (grid.FSpinUpClick) s->StepUp(false);
        if (grid.FSpinDnClick) s->StepDown(false);
        grid.FSpinUpClick = grid.FSpinDnClick = false;
        grid.FEditCtrl = s;
    }

    // Combos: the editable one takes the text; the list selects the cell's item (or ComboIdx, or the
    // first item with the change events).
    void Combo()
    {
        FireProp();
        TGridCombo* c = grid.EditCombo();
        const bool list = grid.FEditControl == TEditorType::edComboList;
        c->SetBounds(r.Left, r.Top, 0, 0);
        c->SetEnabled(true);
        c->SetDroppedDown(false);
        c->SetStyle(list ? gui::TComboBoxStyle::csDropDownList : gui::TComboBoxStyle::csDropDown);
        bool firstItem = false;
        grid.SetNoEditChange(true);
        if (list) {
            int idx = c->Items()->IndexOf(grid.GetCellText(rCol, aRow));
            if (idx < 0) {
                if (grid.ComboIdx() == -1) {
                    idx = c->Items()->Count() > 0 ? 0 : -1;
                    firstItem = true;
                } else {
                    idx = grid.ComboIdx();
                }
            }
            c->SetItemIndex(idx);
        }
        c->SetItemHeight(std::max(1, h - 6));
        c->SetBounds(r.Left, r.Top, w, h);
        if (!list) {
            c->SetText(grid.GetEditText(aCol, aRow));
            c->SetMaxLength(grid.MaxComboLength());
        }
        Colour(c);
        c->SetVisible(true);
        c->SetFlat(flatLook);
        c->SetEtched(flatLook);
        c->SetIsWinXP(grid.FIsWinXP);
        grid.SetNoEditChange(false);
        if (grid.Navigation()->AutoComboDropSize()) c->SizeDropDownWidth();
        else if (c->DropWidth() > 0) c->Perform(gui::CB_SETDROPPEDWIDTH, static_cast<gui::WPARAM>(c->DropWidth()), 0);
        if (c->CanFocus()) c->SetFocus();
        if (grid.MouseActions()->DirectComboDrop() || grid.ControlLook()->DropDownAlwaysVisible())
            c->SetDroppedDown(true);
        if (firstItem && c->Items()->Count() > 0) {
            if (grid.OnComboChange) grid.OnComboChange(&grid, rCol, aRow, 0, c->Items()->Strings(0));
            if (grid.OnComboObjectChange)
                grid.OnComboObjectChange(&grid, rCol, aRow, 0, c->Items()->Strings(0), c->Items()->Objects(0));
        }
        PostStart(c);
        grid.FEditCtrl = c;
    }

    // The edit with an ellipsis button (also for numbers and floats).
    void EditButton()
    {
        TGridEditBtn* e = grid.EditBtn();
        e->ReCreate();
        e->SetBounds(r.Left, r.Top, w, h);
        grid.SetNoEditChange(true);
        e->SetText(grid.GetEditText(aCol, aRow));
        grid.SetNoEditChange(false);
        e->SetMaxLength(grid.MaxEditLength());
        e->SetIsWinXP(grid.FIsWinXP);
        e->SetVisible(true);
        e->SetEnabled(true);
        Colour(e);
        if (e->CanFocus()) e->SetFocus();
        e->SetSelStart(static_cast<int>(rtl::UTF8ToUTF16(e->Text()).size()));
        PostStart(e);
        grid.FEditCtrl = e;
    }

    // The check box editor: the cell's text as caption, unchecked.
    void CheckBox()
    {
        TGridCheckBox* c = grid.EditCheck();
        c->ReCreate();
        c->SetBounds(r.Left, r.Top, w, h);
        c->SetCaption(grid.GetEditText(aCol, aRow));
        c->SetEnabled(true);
        c->SetChecked(false);
        c->SetVisible(true);
        c->SetColor(brush.Color());
        if (c->CanFocus()) c->SetFocus();
    }

    // Date and time pickers (only with the date pickers available): the cell's date or time, Now when it
    // does not convert; DirectDateDrop opens the calendar.
    void DatePicker()
    {
        if (!GridComCtrlsOK()) return;
        TGridDatePicker* d = grid.EditDate();
        d->ReCreate();
        const std::string text = grid.GetEditText(aCol, aRow);
        const bool time = grid.FEditControl == TEditorType::edTimeEdit;
        rtl::TDateTime v = rtl::Now();
        if (time) {
            rtl::TDateTime t = 0;
            if (!text.empty() && TryStrToGridDateTime(text, t, true)) v = t;
            d->SetKind(gui::TDateTimeKind::dtkTime);
            d->SetTime(v);
        } else {
            if (grid.OnCustomStrToDate) grid.OnCustomStrToDate(&grid, text, v);
            else if (rtl::TDateTime t = 0; TryStrToGridDateTime(text, t, false)) v = t;
            d->SetKind(gui::TDateTimeKind::dtkDate);
            d->SetDateMode(grid.FEditControl == TEditorType::edDateEditUpDown ? gui::TDTDateMode::dmUpDown
                                                                          : gui::TDTDateMode::dmComboBox);
            d->SetDateTime(v);
        }
        d->SetBounds(r.Left, r.Top, w, h);
        d->SetEnabled(true);
        d->SetVisible(true);
        Colour(d);
        if (d->CanFocus()) d->SetFocus();
        if (!time && grid.MouseActions()->DirectDateDrop()) d->Perform(gui::WM_KEYDOWN, gui::VK_F4, 0);
        PostStart(d);
        grid.FEditCtrl = d;
    }

    // A push button, one pixel larger than the cell on every side.
    void Button()
    {
        TGridButton* b = grid.GridButton();
        b->ReCreate();
        b->SetBounds(r.Left - 1, r.Top - 1, w + 2, h + 2);
        b->SetCaption(grid.GetEditText(aCol, aRow));
        b->SetVisible(true);
        b->SetEnabled(true);
        if (b->CanFocus()) b->SetFocus();
        grid.FEditCtrl = b;
    }

    // The unit editor: the number and the unit split from the text.
    void UnitEditButton()
    {
        TGridUnitEditBtn* u = grid.UnitEditBtn();
        u->ReCreate();
        u->SetBounds(r.Left, r.Top, w, h);
        u->SetMaxLength(grid.MaxEditLength());
        u->SetIsWinXP(grid.FIsWinXP);
        std::string number, unit;
        grid.SplitUnitText(grid.GetEditText(aCol, aRow), number, unit);
        grid.SetNoEditChange(true);
        u->SetText(number);
        u->SetUnitID(unit);
        // Room for the unit after the value.
        grid.Canvas()->SetFont(&font);
        u->SetUnitSpace(std::max(u->UnitSpace(), grid.Canvas()->TextWidth(unit) + 6));
        grid.SetNoEditChange(false);
        u->SetVisible(true);
        u->SetEnabled(true);
        Colour(u);
        if (u->CanFocus()) u->SetFocus();
        u->SetSelStart(static_cast<int>(rtl::UTF8ToUTF16(u->Text()).size()));
        PostStart(u);
        grid.FEditCtrl = u;
    }

    // The edit link's editor, in place or in its pop-up form.
    void EditLink()
    {
        TEditLink* link = grid.FEditLink;
        if (!link) return;
        link->SetGrid(&grid);
        link->SetEditCell({rCol, aRow});
        if (link->EditStyle == TEditStyle::esPopup) {
            if (link->AutoPopupWidth) link->PopupWidth = r.Width();
            if (!link->PopupForm()) {
                auto* f = new gui::TForm(&grid);
                f->SetName("gridform");
                link->SetPopupForm(f);
            }
            gui::TForm* f = link->PopupForm();
            gui::TPoint at{link->PopupLeft, link->PopupTop};
            if (at.X == -1 || at.Y == -1) at = grid.ClientToScreen({r.Left, r.Top});
            f->OnDeactivate = [link](rtl::TObject* s) { link->FormExit(s); };
            f->SetBorderStyle(gui::TBorderStyle::bsNone);
            f->SetFormStyle(gui::TFormStyle::fsStayOnTop);
            f->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
            f->Show();
            f->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
            link->CreateEditor(f);
            link->SetRect({0, 0, link->PopupWidth, link->PopupHeight});
        } else {
            link->CreateEditor(&grid);
            link->SetRect(r);
        }
        link->SetVisible(true);
        link->SetCellProps(brush.Color(), &font);
        link->SetProperties();
        FireProp();
        link->SetEditorValue(grid.GetEditText(aCol, aRow));
        link->SetFocus(true);
        grid.FEditActive = true;
        if (gui::TWinControl* c = link->GetEditControl()) PostStart(c);
        grid.FEditCtrl = link->GetEditControl();
    }

    // The inplace rich editor, filled with the cell's rich text.
    void RichEdit()
    {
        TExRichEdit* re = grid.InplaceRichEdit();
        re->SetParent(&grid);
        re->SetBounds(r.Left, r.Top, w, h);
        grid.CellToRich(rCol, aRow, re);
        re->SetVisible(true);
        re->SetEnabled(true);
        if (re->CanFocus()) re->SetFocus();
        PostStart(re);
        grid.FEditCtrl = re;
    }

    // The date-and-time picker.
    void DateTimePicker()
    {
        if (!GridComCtrlsOK()) return;
        rtl::TDateTime v = 0;
        if (!TryStrToGridDateTime(grid.GetEditText(aCol, aRow), v, false)) v = rtl::Now();
        grid.FOriginalDateTime = v;
        TGridDateTimePicker* d = grid.EditDateTime();
        d->ReCreate();
        d->SetKind(gridbase::TExDateTimeKind::dkDateTime);
        d->SetDateTime(v);
        d->SetBounds(r.Left, r.Top, w, std::max(h, d->Height()));
        d->SetEnabled(true);
        d->SetVisible(true);
        Colour(d);
        if (d->CanFocus()) d->SetFocus();
        grid.FEditCtrl = d;
    }

    TExStringGrid& grid;
    const int aCol, aRow;
    const gui::TRect r;
    const int w, h, rCol;
    gui::TBrush brush;
    gui::TFont font;
    bool flatLook = false;
};

void TExStringGrid::ShowSpecialEditor(int aCol, int aRow)
{
    FEditing = FSpecialEditor = FEditActive = true;
    TSpecialEditorOpener(*this, aCol, aRow).Open();
}

void TExStringGrid::HideSpecialEditor(int aCol, int aRow)
{
    FSpecialEditor = false;
    FBlockKill = true;
    FStartEditChar = 0;
    const int rCol = RealColIndex(aCol);
    const bool hadFocus = FEditCtrl && FEditCtrl->Focused();
    auto close = [&](gui::TWinControl* c) {
        c->SetEnabled(false);
        c->SetVisible(false);
    };
    switch (FEditControl) {
    case TEditorType::edSpinEdit:
    case TEditorType::edFloatSpinEdit:
    case TEditorType::edTimeSpinEdit:
    case TEditorType::edDateSpinEdit: {
        FEditMode = false;
        TGridSpin* s = EditSpin();
        if (FEditControl == TEditorType::edSpinEdit) SetCellInteger(rCol, aRow, s->Value());
        else if (FEditControl == TEditorType::edFloatSpinEdit) SetCellFloat(rCol, aRow, s->FloatValue());
        else if (FEditControl == TEditorType::edTimeSpinEdit) StoreEditorText(rCol, aRow, s->Text());
        else StoreEditorText(rCol, aRow, rtl::DateToStr(s->DateValue()));
        close(s);
        break;
    }
    case TEditorType::edComboEdit:
    case TEditorType::edComboList:
        if (FEditMode) {
            FEditMode = false;
            StoreEditorText(rCol, aRow, EditCombo()->Text());
            EditCombo()->SetDroppedDown(false);
            close(EditCombo());
        }
        break;
    case TEditorType::edEditBtn:
    case TEditorType::edNumericEditBtn:
    case TEditorType::edFloatEditBtn:
        if (FEditMode) {
            FEditMode = false;
            StoreEditorText(rCol, aRow, EditBtn()->Text());
            close(EditBtn());
        }
        break;
    case TEditorType::edCheckBox:
        close(EditCheck());
        FEditMode = false;
        break;
    case TEditorType::edDateEdit:
    case TEditorType::edDateEditUpDown:
    case TEditorType::edTimeEdit: {
        if (!GridComCtrlsOK()) break;
        TGridDatePicker* d = EditDate();
        if (d->DroppedDown()) d->CloseUp();
        StoreEditorText(rCol, aRow, d->Checked() ? d->DisplayText() : std::string());
        FEditMode = false;
        close(d);
        break;
    }
    case TEditorType::edButton:
        close(GridButton());
        FEditMode = false;
        break;
    case TEditorType::edUnitEditBtn:
        StoreEditorText(rCol, aRow, UnitEditBtn()->Text() + UnitEditBtn()->UnitID());
        close(UnitEditBtn());
        FEditMode = false;
        break;
    case TEditorType::edCustom:
        if (FEditLink) {
            StoreEditorText(rCol, aRow, FEditLink->GetEditorValue());
            if (FEditLink->EditStyle != TEditStyle::esPopup) FEditLink->SetVisible(false);
            FEditLink->RestoreWinProc();
            FEditMode = false;
        }
        break;
    case TEditorType::edRichEdit:
        if (FInplaceRichEdit) {
            StoreEditorText(rCol, aRow, RichToString(FInplaceRichEdit));
            close(FInplaceRichEdit);
        }
        FEditMode = false;
        break;
    case TEditorType::edDateTimeEdit: {
        if (!GridComCtrlsOK()) break;
        TGridDateTimePicker* d = EditDateTime();
        const auto& fs = rtl::FormatSettings();
        StoreEditorText(rCol, aRow,
                        d->Checked() ? rtl::FormatDateTime(fs.ShortDateFormat + " " + fs.ShortTimeFormat,
                                                           d->GetDateTime())
                                     : std::string());
        FEditMode = false;
        close(d);
        break;
    }
    default: break;
    }
    FEditCtrl = nullptr;
    if (hadFocus && CanFocus()) SetFocus();
    if (FEditControl != TEditorType::edNormal && FEditActive) EditingDone(rCol, aRow);
    FBlockKill = false;
    FEditActive = false;
    RepaintCell(aCol, aRow);
}

} // namespace grid
