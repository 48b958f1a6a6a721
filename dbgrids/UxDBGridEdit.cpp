// Editing in TUxDBGrid: the choice of editor, Boolean fields toggled in the
// cell, and controls of the form embedded over a cell.
#include <algorithm>

#include "dbgrids/UxDBGrid.h"
#include "platform/gui/GridsPickList.h"
#include "dbgrids/UxDBSortGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;
using O = TDBGridOption;

// --- TUxDBGridControl / TUxDBGridControls ------------------------------------

RTL_ENUM(TUxDBGridControlSize, "fcCellSize", "fcDesignSize", "fcBiggest")

RTL_PUBLISHED(TUxDBGridControl)
{
    c.Property("ControlName", &TUxDBGridControl::ControlName, &TUxDBGridControl::SetControlName);
    c.Property("FieldName", &TUxDBGridControl::FieldName, &TUxDBGridControl::SetFieldName);
    c.Property("FitCell", &TUxDBGridControl::FitCell, &TUxDBGridControl::SetFitCell);
    c.Property("LeaveOnEnterKey", &TUxDBGridControl::LeaveOnEnterKey, &TUxDBGridControl::SetLeaveOnEnterKey)
        .Default(false);
    c.Property("LeaveOnUpDownKey", &TUxDBGridControl::LeaveOnUpDownKey, &TUxDBGridControl::SetLeaveOnUpDownKey)
        .Default(false);
}

void TUxDBGridControl::Assign(const rtl::TPersistent* source)
{
    if (auto* item = dynamic_cast<const TUxDBGridControl*>(source)) {
        FControlName = item->FControlName;
        FFieldName = item->FFieldName;
        FFitCell = item->FFitCell;
        FLeaveOnEnterKey = item->FLeaveOnEnterKey;
        FLeaveOnUpDownKey = item->FLeaveOnUpDownKey;
        FDesignWidth = FDesignHeight = 0;
        return;
    }
    rtl::TCollectionItem::Assign(source);
}

RTL_PUBLISHED(TUxDBGridControls) {}

TUxDBGridControls::TUxDBGridControls(TUxDBGrid* grid)
    : rtl::TOwnedCollection(grid, TUxDBGridControl::StaticClassInfo())
{
}

TUxDBGridControl* TUxDBGridControls::ControlByField(const std::string& fieldName) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiSameText(Items(i)->FieldName(), fieldName)) return Items(i);
    return nullptr;
}

TUxDBGridControl* TUxDBGridControls::ControlByName(const std::string& controlName) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiSameText(Items(i)->ControlName(), controlName)) return Items(i);
    return nullptr;
}

// --- choosing the editor ---------------------------------------------------------

namespace {

bool HasNoEditor(db::TFieldType type)
{
    return type == db::TFieldType::ftUnknown || type == db::TFieldType::ftAutoInc ||
           type == db::TFieldType::ftBlob || type == db::TFieldType::ftMemo;
}

} // namespace

bool TUxDBGrid::CanEditShow() const
{
    auto* self = const_cast<TUxDBGrid*>(this);
    int index = SelectedIndex();
    if (TUxExDBGrid::CanEditShow() && SelectedField() && index >= 0 && index < Columns()->Count()) {
        self->FBooleanFieldToEdit = nullptr;
        return self->PrepareEditor();
    }
    return false;
}

bool TUxDBGrid::IsCellReadOnly()
{
    db::TField* field = SelectedField();
    int index = SelectedIndex();
    bool columnReadOnly = index >= 0 && index < Columns()->Count() && Columns()->Items(index)->ReadOnly();
    db::TDataSet* ds = DataLink()->Active() ? DataSource()->DataSet() : nullptr;
    return ReadOnly() || columnReadOnly || !field || field->ReadOnly() || !ds || !ds->CanModify();
}

bool TUxDBGrid::PrepareEditor()
{
    db::TField* field = SelectedField();
    if (!field) return false;
    TUxDBGridControl* item = FControls->ControlByField(field->FieldName());
    const bool isBoolean = !item && IsBooleanField(field);
    auto refuse = [this] {
        CloseControl();
        if (InplaceEditor() && InplaceEditor()->Visible()) HideEditor();
        return false;
    };
    if (!item && !isBoolean && HasNoEditor(field->DataType())) return refuse();
    if (!CanEditCell(field)) return refuse();
    bool allow = true;
    if (OnShowEditor && !(InplaceEditor() && InplaceEditor()->Visible())) OnShowEditor(this, field, allow);
    if (!allow) return refuse();
    if (item) {
        if (InplaceEditor() && InplaceEditor()->Visible()) HideEditor();
        auto* control = Owner() ? dynamic_cast<TWinControl*>(Owner()->FindComponent(item->ControlName())) : nullptr;
        if (!control) {
            item->SetFieldName("");
            throw EUXLDbGridException("UxDBGrid.EditControls: property Control not assigned");
        }
        if (rtl::GetPropInfo(control, "ReadOnly")) {
            rtl::SetPropValue(control, "ReadOnly", rtl::Variant(IsCellReadOnly()));
            PlaceControl(control, Col(), Row());
        } else if (IsCellReadOnly()) {
            CloseControl();
        } else {
            PlaceControl(control, Col(), Row());
        }
        return false;
    }
    if (isBoolean) {
        CloseControl();
        if (InplaceEditor() && InplaceEditor()->Visible()) HideEditor();
        if (!IsCellReadOnly()) FBooleanFieldToEdit = field;
        return false;
    }
    CloseControl();
    return true;
}

// --- Boolean fields ----------------------------------------------------------------

void TUxDBGrid::ToggleBooleanCell(TUxBooleanToggle mode)
{
    db::TField* field = FBooleanFieldToEdit;
    FBooleanFieldToEdit = nullptr;
    if (!field || !FBooleanEditor) return;
    if (!DataLink()->Edit() || !DataLink()->Editing()) return;
    const bool setTrue = mode == TUxBooleanToggle::btSetTrue;
    const db::TFieldType type = field->DataType();
    const bool stringLike = type == db::TFieldType::ftString;
    if (field->IsNull() || mode != TUxBooleanToggle::btToggle) {
        if (stringLike) field->SetAsString(setTrue ? FStringForTrue : FStringForFalse);
        else if (type == db::TFieldType::ftBoolean) field->SetAsBoolean(setTrue);
        else field->SetAsInteger(mode == TUxBooleanToggle::btSetFalse ? 0 : 1);
    } else if (stringLike) {
        field->SetAsString(rtl::AnsiSameText(field->AsString(), FStringForTrue) ? FStringForFalse
                                                                                  : FStringForTrue);
    } else if (type == db::TFieldType::ftBoolean) {
        field->SetAsBoolean(!field->AsBoolean());
    } else {
        int64_t v = field->AsLargeInt();
        field->SetAsLargeInt(1 - (v < 0 ? -v : v));
    }
    InvalidateCell(Col(), Row());
}

void TUxDBGrid::KeyPress(char16_t& key)
{
    if (key == 13 && FPostOnEnterKey && !ReadOnly() && DataLink()->Active()) {
        if (FEditorPending) UpdateText();  // raises when the typed text is still wrong
        DataSource()->DataSet()->CheckBrowseMode();
    }
    db::TField* field = DataLink()->Active() ? SelectedField() : nullptr;
    if (field && (key == 8 || key >= 32) && !FCurrentControl && IsBooleanField(field) &&
        !FControls->ControlByField(field->FieldName())) {
        TUxBooleanToggle mode;
        bool known = true;
        switch (key) {
        case 8: case u'-': case u'0': mode = TUxBooleanToggle::btSetFalse; break;
        case u' ': mode = TUxBooleanToggle::btToggle; break;
        case u'+': case u'1': mode = TUxBooleanToggle::btSetTrue; break;
        default: known = false; mode = TUxBooleanToggle::btToggle; break;
        }
        key = 0;
        if (!known) return;
        // Asking for the editor makes the field the one under edit.
        FBooleanFieldToEdit = nullptr;
        if (CanEditShow()) ShowEditor();
        ToggleBooleanCell(mode);
        return;
    }
    const char16_t typed = key;
    TUxExDBGrid::KeyPress(key);
    // Typing in a cell whose field has an embedded control starts in it.
    if (FCurrentControl && typed >= 32) FCurrentControl->Perform(WM_CHAR, typed);
}

// --- embedded controls -----------------------------------------------------------------

void TUxDBGrid::PlaceControl(TWinControl* control, int aCol, int aRow)
{
    db::TDataSet* ds = DataLink()->Active() ? DataSource()->DataSet() : nullptr;
    if (!control || ReadOnly() || !control->Enabled() || !ds || !ds->CanModify()) {
        CloseControl();
        return;
    }
    if (control != FCurrentControl) {
        CloseControl();
        FCurrentControl = control;
        control->FreeNotification(this);
        FOldControlWndProc = control->WindowProc;
        control->WindowProc = [this](TMessage& m) { ControlWndProc(m); };
        FControlOldValue = SelectedField() ? SelectedField()->Value() : db::TFieldValue{};
    }
    if (control->Parent() != Parent()) control->SetParent(Parent());
    TRect cell = CellRect(aCol, aRow);
    if (cell.IsEmpty()) {
        control->SetBounds(0, 0, 0, 0);
    } else {
        // Grid client to the control's parent.
        TPoint origin{Left(), Top()};
        TRect r{cell.Left + origin.X, cell.Top + origin.Y, cell.Right + origin.X, cell.Bottom + origin.Y};
        TUxDBGridControl* item = FControls->ControlByName(control->Name());
        TUxDBGridControlSize fit = item ? item->FitCell() : TUxDBGridControlSize::fcCellSize;
        if (fit == TUxDBGridControlSize::fcCellSize) {
            control->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        } else {
            int w = control->Width(), h = control->Height();
            if (fit == TUxDBGridControlSize::fcBiggest) {
                if (item->FDesignWidth == 0 && item->FDesignHeight == 0) {
                    item->FDesignWidth = w;
                    item->FDesignHeight = h;
                }
                w = std::max(r.Right - r.Left, item->FDesignWidth);
                h = std::max(r.Bottom - r.Top, item->FDesignHeight);
            }
            // Inside the grid where possible: aligned to the cell's right
            // (bottom) edge when it would stick out, never left of (above)
            // the grid's client area.
            int x = r.Left, y = r.Top;
            const int clientRight = origin.X + ClientWidth(), clientBottom = origin.Y + ClientHeight();
            if (x + w > clientRight) x = std::max(r.Right - w, origin.X);
            if (y + h > clientBottom) y = std::max(r.Bottom - h, origin.Y);
            control->SetBounds(x, y, w, h);
        }
    }
    control->BringToFront();
    control->SetVisible(true);
    TCustomForm* form = gui::GetParentForm(this);
    if (Visible() && control->Visible() && Parent() && Parent()->Visible() && form && form->Visible() &&
        control->CanFocus()) {
        TDBGridOptions saved = Options();
        SetOptions(saved - TDBGridOptions{O::dgCancelOnExit});
        try {
            control->SetFocus();
        } catch (...) {
            SetOptions(saved);
            throw;
        }
        SetOptions(saved);
    }
}

void TUxDBGrid::LeaveControl()
{
    TWinControl* control = FCurrentControl;
    if (!control) return;
    FCurrentControl = nullptr;
    control->WindowProc = FOldControlWndProc;
    FOldControlWndProc = nullptr;
    if (control->HandleAllocated()) control->Perform(WM_KILLFOCUS);
    control->SetVisible(false);
    control->RemoveFreeNotification(this);
}

void TUxDBGrid::CloseControl()
{
    if (!FCurrentControl) return;
    if (Visible() && FCurrentControl->Focused() && CanFocus()) {
        SetFocus();
        if (FCurrentControl && FCurrentControl->Focused()) return;  // the focus would not move
    }
    LeaveControl();
}

void TUxDBGrid::ControlWndProc(TMessage& message)
{
    TWinControl* control = FCurrentControl;
    TUxDBGridControl* item = control ? FControls->ControlByName(control->Name()) : nullptr;
    auto passOn = [&] {
        if (FOldControlWndProc) FOldControlWndProc(message);
    };
    if (message.Msg == WM_KEYDOWN) {
        uint16_t key = static_cast<uint16_t>(message.WParam);
        if ((key == VK_UP || key == VK_DOWN) && item && item->LeaveOnUpDownKey() &&
            GetShiftState().Empty()) {
            CloseControl();
            LeaveControl();
            if (DataLink()->Active()) DataSource()->DataSet()->CheckBrowseMode();
            uint16_t k = key;
            KeyDown(k, {});
            return;
        }
        passOn();
        return;
    }
    if (message.Msg == WM_CHAR) {
        char16_t ch = static_cast<char16_t>(message.WParam);
        if (OnKeyPress) {
            OnKeyPress(this, ch);
            if (ch == 0) return;
        }
        if (ch == 13 && (FPostOnEnterKey || (item && item->LeaveOnEnterKey()))) {
            CloseControl();
            LeaveControl();
            if (FPostOnEnterKey && DataLink()->Active()) DataSource()->DataSet()->CheckBrowseMode();
            return;
        }
        if (ch == 9) {
            CloseControl();
            LeaveControl();
            uint16_t k = VK_TAB;
            KeyDown(k, GetShiftState());
            return;
        }
        passOn();
        if (ch == 27) {
            db::TField* field = SelectedField();
            db::TFieldValue old = FControlOldValue;
            CloseControl();
            LeaveControl();
            if (field && field->Value() != old && DataLink()->Edit()) field->SetValue(old);
        }
        return;
    }
    passOn();
    if (message.Msg == WM_GETDLGCODE && item && item->LeaveOnUpDownKey())
        message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB;
    if (message.Msg == CM_EXIT && FCurrentControl == control) LeaveControl();
}

void TUxDBGrid::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TUxExDBGrid::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FCurrentControl) {
        FCurrentControl = nullptr;
        FOldControlWndProc = nullptr;
    }
}

} // namespace dbgrids

// --- typing in the in-place editor ----------------------------------------------

namespace dbgrids {

namespace {

// The grid's in-place editor: typed characters go to the grid first; the
// selected column's pick list drops down, and an item taken from it
// becomes the field's text.
class TInternalInplaceEdit : public gui::TInplaceEditList {
public:
    explicit TInternalInplaceEdit(rtl::TComponent* owner) : gui::TInplaceEditList(owner) {}
    void KeyPress(char16_t& key) override
    {
        if (auto* grid = dynamic_cast<TUxDBGrid*>(Grid())) grid->EditorKeyPress(key);
        if (key != 0) gui::TInplaceEditList::KeyPress(key);
    }
    void UpdateContents() override
    {
        gui::TInplaceEditList::UpdateContents();
        TakeColumnList();
    }
    void DropDown() override
    {
        TakeColumnList();
        gui::TInplaceEditList::DropDown();
    }
    std::string ClassName() const override { return "TInternalInplaceEdit"; }

protected:
    void Change() override
    {
        auto* grid = dynamic_cast<TUxDBGrid*>(Grid());
        if (grid) grid->EditorTyping([this] { gui::TInplaceEditList::Change(); });
        else gui::TInplaceEditList::Change();
        if (grid) grid->EditChanged();
    }
    void PickItem(const std::string& item) override
    {
        auto* grid = dynamic_cast<TUxDBGrid*>(Grid());
        db::TField* field = grid && grid->DataLink()->Active() ? grid->SelectedField() : nullptr;
        if (!field || !field->CanModify() || grid->ReadOnly() || !grid->DataLink()->Edit()) return;
        if (field->Text() != item) field->SetAsString(item);
        SetEditText(item);
        SelectAll();
    }

private:
    void TakeColumnList()
    {
        auto* grid = dynamic_cast<TUxDBGrid*>(Grid());
        if (!grid) return;
        int index = grid->SelectedIndex();
        TColumn* column = index >= 0 && index < grid->Columns()->Count() ? grid->Columns()->Items(index) : nullptr;
        if (column) {
            PickList()->Assign(column->PickList());
            SetDropDownRows(column->DropDownRows());
        } else {
            PickList()->Clear();
        }
    }
};

std::u16string U16(const std::string& s) { return rtl::UTF8ToUTF16(s); }
std::string U8(const std::u16string& s) { return rtl::UTF16ToUTF8(s); }

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return rtl::AnsiSameText(text.substr(0, prefix.size()), prefix) && text.size() >= prefix.size();
}

} // namespace

gui::TInplaceEdit* TUxDBGrid::CreateEditor() { return new TInternalInplaceEdit(this); }

void TUxDBGrid::EditorTyping(const std::function<void()>& change)
{
    FEditorTyping = true;
    try {
        change();
    } catch (...) {
        FEditorTyping = false;
        throw;
    }
    FEditorTyping = false;
}

void TUxDBGrid::SetEditText(int aCol, int aRow, const std::string& value)
{
    if (!FEditorTyping) {
        FEditorPending = false;
        TUxExDBGrid::SetEditText(aCol, aRow, value);
        return;
    }
    // While typing, a text the field does not take yet is kept.
    try {
        TUxExDBGrid::SetEditText(aCol, aRow, value);
        FEditorPending = false;
    } catch (const rtl::EConvertError&) {
        FEditorPending = true;
    }
}

void TUxDBGrid::TypeToCell(char16_t key)
{
    std::string text = InplaceEditor() ? InplaceEditor()->EditText() : std::string();
    if (!StartsWithNoCase(text, FWord)) FWord.clear();
    if (key == 8) {
        std::u16string w = U16(FWord);
        if (w.size() <= 1) FWord.clear();
        else FWord = U8(w.substr(0, w.size() - 1));
    } else {
        FWord += U8(std::u16string(1, key));
    }
}

void TUxDBGrid::EditorKeyPress(char16_t& key)
{
    TInplaceEdit* editor = InplaceEditor();
    db::TField* field = DataLink()->Active() ? SelectedField() : nullptr;
    if (!editor || !editor->Visible() || !field || (key != 8 && key < 32)) return;
    db::TDataSet* ds = DataSource()->DataSet();
    int index = SelectedIndex();
    TColumn* column = index >= 0 && index < Columns()->Count() ? Columns()->Items(index) : nullptr;
    if (!ds->CanModify() || ReadOnly() || !column || column->ReadOnly() || field->ReadOnly()) return;

    const bool listed = key < 256 && FCharList.test(key);
    if (field->FieldKind() == db::TFieldKind::fkLookup) {
        if (!listed) return;
        // Complete from the lookup data set; errors here are swallowed.
        try {
            TypeToCell(key);
            db::TDataSet* lookup = field->LookupDataSet();
            if (!lookup || !lookup->Active()) return;
            lookup->DisableControls();
            bool found = false;
            try {
                found = lookup->Locate(field->LookupResultField(), FWord,
                                       {db::TLocateOption::loCaseInsensitive, db::TLocateOption::loPartialKey});
            } catch (...) {
                lookup->EnableControls();
                throw;
            }
            lookup->EnableControls();
            if (found) {
                DataLink()->Edit();
                db::TField* keyField = ds->FindField(field->KeyFields());
                if (keyField && keyField->CanModify())
                    keyField->SetValue(lookup->FieldByName(field->LookupKeyFields())->Value());
                std::string shown = lookup->FieldByName(field->LookupResultField())->AsString();
                editor->SetEditText(shown);
                int start = static_cast<int>(U16(FWord).size());
                editor->SetSel(start, static_cast<int>(U16(shown).size()) - start);
                key = 0;
            }
        } catch (...) {
        }
        return;
    }
    if (field->FieldKind() != db::TFieldKind::fkData) return;
    // Real numbers take either mark as the decimal separator.
    const db::TFieldType type = field->DataType();
    if ((type == db::TFieldType::ftFloat || type == db::TFieldType::ftExtended) && (key == '.' || key == ','))
        key = static_cast<char16_t>(rtl::FormatSettings().DecimalSeparator);
    if (!listed || column->PickList()->Count() == 0) return;
    // The text as it would be after the key, then the first pick-list item
    // that starts with it.
    std::u16string text = U16(editor->EditText());
    int selStart = editor->SelStart(), selLength = editor->SelLength();
    int caret;
    if (key == 8) {
        if (selLength > 0) {
            text.erase(selStart, selLength);
            caret = selStart;
        } else if (selStart > 0) {
            text.erase(selStart - 1, 1);
            caret = selStart - 1;
        } else {
            caret = 0;
        }
    } else {
        text.replace(selStart, selLength, std::u16string(1, key));
        caret = selStart + 1;
    }
    std::string typed = U8(text.substr(0, caret));
    if (typed.empty()) return;
    for (int i = 0; i < column->PickList()->Count(); ++i) {
        const std::string& item = column->PickList()->Strings(i);
        if (!StartsWithNoCase(item, typed)) continue;
        DataLink()->Edit();
        if (field->Text() != item) field->SetAsString(item);
        editor->SetEditText(item);
        editor->SetSel(caret, static_cast<int>(U16(item).size()) - caret);
        key = 0;
        return;
    }
}

} // namespace dbgrids
