#include "dbgrids/UxDBLookup.h"

#include <algorithm>
#include <chrono>

#include "dbgrids/UxGraphics.h"
#include "platform/db/IndexDefs.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;

std::function<int64_t()> LookupTickCount = [] {
    using namespace std::chrono;
    return static_cast<int64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
};

namespace {

int64_t gLastKeyTick = 0;  // one clock for all lookup controls

} // namespace

int CheckLookupFormat(const std::string& format)
{
    int fields = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 >= format.size()) throw EUXLException("Invalid format: % not allowed");
        char next = format[i + 1];
        if (next == 's' || next == 'S') ++fields;
        else if (next != '%') throw EUXLException("Invalid format: '" + format.substr(i, 2) + "' not allowed");
        ++i;
    }
    return fields;
}

// --- links ----------------------------------------------------------------------

class TUxLookupControl::TDataSourceLink : public TUxDataLink {
public:
    explicit TDataSourceLink(TUxLookupControl* control) : FControl(control) {}
    TUxLookupControl* FControl;

protected:
    void ActiveChanged() override { if (FControl) FControl->DataLinkActiveChanged(); }
    void LayoutChanged() override { if (FControl) FControl->DataLinkActiveChanged(); }
    void RecordChanged(db::TField* field) override { if (FControl) FControl->DataLinkRecordChanged(field); }
    void FocusField(db::TField* field) override
    {
        if (FControl && field && field == FControl->FDataField && FControl->CanFocus()) FControl->SetFocus();
    }
};

class TUxLookupControl::TListSourceLink : public db::TDataLink {
public:
    explicit TListSourceLink(TUxLookupControl* control) : FControl(control) {}
    TUxLookupControl* FControl;

protected:
    void ActiveChanged() override { if (FControl) FControl->ListLinkActiveChanged(); }
    void LayoutChanged() override { if (FControl) FControl->ListLinkActiveChanged(); }
    void DataSetChanged() override { if (FControl) FControl->ListSourceChanged(); }
    void DataSetScrolled(int) override { if (FControl) FControl->ListSourceChanged(); }
};

// --- TUxLookupControl -------------------------------------------------------------

TUxLookupControl::TUxLookupControl(rtl::TComponent* owner)
    : TUxExCustomControl(owner), FLookupSource(std::make_unique<db::TDataSource>(nullptr)),
      FDataLink(std::make_unique<TDataSourceLink>(this)), FLookupLink(std::make_unique<TListSourceLink>(this)),
      FLocate(CreateLocate(nullptr))
{
    SetTabStop(true);
    SetColor(clWindow);
    FValue = FEmptyValue;
}

TUxLookupControl::~TUxLookupControl()
{
    FDataLink->FControl = nullptr;
    FLookupLink->FControl = nullptr;
    FDataLink->SetDataSource(nullptr);
    FLookupLink->SetDataSource(nullptr);
}

db::TDataLink* TUxLookupControl::ListLink() const { return FLookupLink.get(); }
db::TDataLink* TUxLookupControl::DataLink() const { return FDataLink.get(); }

db::TDataSource* TUxLookupControl::DataSource() const { return FDataLink->DataSource(); }

void TUxLookupControl::SetDataSource(db::TDataSource* value) { FDataLink->SetDataSource(value); DataLinkActiveChanged(); }

void TUxLookupControl::SetDataField(const std::string& value)
{
    if (value == FDataFieldName) return;
    FDataFieldName = value;
    DataLinkActiveChanged();
}

db::TDataSource* TUxLookupControl::LookupSource() const
{
    return FLookupMode ? nullptr : FLookupLink->DataSource();
}

void TUxLookupControl::SetLookupSource(db::TDataSource* value)
{
    CheckNotLookup();
    FLookupLink->SetDataSource(value);
    FLocate->SetDataSet(value ? value->DataSet() : nullptr);
    ListLinkActiveChanged();
    if (FListActive) DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::SetLookupField(const std::string& value)
{
    CheckNotLookup();
    if (value == FLookupFieldName) return;
    FLookupFieldName = value;
    ListLinkActiveChanged();
    if (FListActive) DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::SetLookupDisplay(const std::string& value)
{
    if (value == FLookupDisplay) return;
    FLookupDisplay = value;
    ListLinkActiveChanged();
    if (FListActive) DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::SetLookupDisplayIndex(int value)
{
    if (value == FDisplayIndex) return;
    FDisplayIndex = value;
    ListLinkActiveChanged();
}

void TUxLookupControl::SetLookupFormat(const std::string& value)
{
    if (value == FLookupFormat) return;
    CheckLookupFormat(value);
    FLookupFormat = value;
    ListLinkActiveChanged();
    if (FListActive) DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::SetUseRecordCount(bool value)
{
    if (value == FUseRecordCount) return;
    FUseRecordCount = value;
    ListLinkActiveChanged();
    if (FListActive) DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::SetDisplayEmpty(const std::string& value)
{
    if (value == FDisplayEmpty) return;
    FDisplayEmpty = value;
    Invalidate();
}

void TUxLookupControl::SetEmptyValue(const std::string& value)
{
    if (value == FEmptyValue) return;
    if (FValue == FEmptyValue) FValue = value;
    FEmptyValue = value;
}

bool TUxLookupControl::ReadOnly() const { return FDataLink->ReadOnly(); }
void TUxLookupControl::SetReadOnly(bool value) { FDataLink->SetReadOnly(value); }

bool TUxLookupControl::CanModify() const
{
    return FListActive && !ReadOnly() && (!DataSource() || (FMasterField && FMasterField->CanModify()));
}

void TUxLookupControl::CheckNotCircular()
{
    db::TDataSet* data = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    db::TDataSet* list = FLookupLink->DataSet();
    if (FDataLink->Active() && ((DataSource() && DataSource() == FLookupLink->DataSource()) || (data && data == list)))
        RaiseDatabaseError("Zirkuläre Datenverbindungen sind nicht erlaubt");
}

void TUxLookupControl::CheckNotLookup()
{
    if (FLookupMode) RaiseDatabaseError("Eigenschaft bereits durch Lookup-Feld definiert");
}

void TUxLookupControl::StoreFieldValue(db::TField* field, const std::string& text)
{
    if (!field) return;
    if (text == FEmptyValue && FEmptyValue.empty() && FEmptyStrIsNull) field->Clear();
    else field->SetAsString(text);
}

void TUxLookupControl::SetValueSilently(const std::string& text)
{
    if (text == FValue) return;
    FValue = text;
    ValueChanged();
}

void TUxLookupControl::UpdateDisplayValue()
{
    FDisplayValue = IsEmptyValue() || !FDisplayField ? std::string() : FDisplayField->AsString();
}

void TUxLookupControl::ChooseKeyValue(const std::string& text)
{
    if (FMasterField) {
        if (!CanModify() || !FDataLink->Edit()) return;
        StoreFieldValue(FMasterField, text);
    }
    SetValueSilently(text);
    UpdateDisplayValue();
    Invalidate();
    Click();
}

void TUxLookupControl::ResetField()
{
    if (DataSource() && FMasterField && !FDataLink->Edit()) return;
    if (FMasterField && FDataLink->Editing()) StoreFieldValue(FMasterField, FEmptyValue);
    FValue = FEmptyValue;
    FDisplayValue.clear();
    SetText(FDisplayEmpty);
    Invalidate();
    Click();
}

void TUxLookupControl::SetValue(const std::string& value)
{
    if (value == FValue) return;
    if (CanModify() && DataSource() && FDataLink->Edit())
        StoreFieldValue(FMasterField ? FMasterField : FDataField, value);
    else
        SetValueSilently(value);
    if (OnChange) OnChange(this);
}

db::TFieldValue TUxLookupControl::KeyValue() const
{
    if (IsEmptyValue()) {
        if (FValue.empty() && FEmptyStrIsNull) return {};
        return FEmptyValue;
    }
    return FValue;
}

void TUxLookupControl::SetKeyValue(const db::TFieldValue& value)
{
    if (std::holds_alternative<std::monostate>(value)) SetValue(FEmptyValue);
    else if (auto* s = std::get_if<std::string>(&value)) SetValue(*s);
    else if (auto* i = std::get_if<int64_t>(&value)) SetValue(rtl::IntToStr(*i));
    else SetValue(rtl::FloatToStr(std::get<long double>(value)));
}

void TUxLookupControl::SetDisplayValue(const std::string& value)
{
    if (value != FDisplayValue && CanModify() && DataSource() && Locate(FDisplayField, value, true)) {
        if (FDataLink->Edit()) StoreFieldValue(FMasterField ? FMasterField : FDataField, FValue);
        return;
    }
    if (value == FDisplayValue) return;
    FDisplayValue = value;
    DisplayValueChanged();
    if (OnChange) OnChange(this);
}

bool TUxLookupControl::Locate(db::TField* searchField, const std::string& value, bool exact)
{
    FLocate->SetIndexSwitch(FIndexSwitch);
    try {
        if (value != FEmptyValue && searchField &&
            FLocate->Locate(searchField->FieldName(), value, exact, !FIgnoreCase, true, false)) {
            if (searchField == FDisplayField && FKeyField) FValue = FKeyField->AsString();
            UpdateDisplayValue();
            return true;
        }
    } catch (...) {
    }
    return false;
}

void TUxLookupControl::SetLookupMode(bool value)
{
    if (value == FLookupMode) return;
    if (value) {
        db::TDataSet* ds = FDataField->DataSet();
        FMasterField = ds->FindField(FDataField->KeyFields());
        FLookupSource->SetDataSet(FDataField->LookupDataSet());
        FLookupFieldName = FDataField->LookupKeyFields();
        FLookupMode = true;
        FLookupLink->SetDataSource(FLookupSource.get());
        FLocate->SetDataSet(FDataField->LookupDataSet());
    } else {
        FLookupLink->SetDataSource(nullptr);
        FLookupFieldName.clear();
        FLookupSource->SetDataSet(nullptr);
        FLookupMode = false;
        FMasterField = FDataField;
    }
    ListLinkActiveChanged();
}

void TUxLookupControl::DataLinkActiveChanged()
{
    FDataField = nullptr;
    FMasterField = nullptr;
    if (FDataLink->Active() && !FDataFieldName.empty()) {
        CheckNotCircular();
        FDataField = FDataLink->DataSet()->FieldByName(FDataFieldName);
        FMasterField = FDataField;
    }
    SetLookupMode(FDataField && FDataField->FieldKind() == db::TFieldKind::fkLookup);
    DataLinkRecordChanged(nullptr);
}

void TUxLookupControl::DataLinkRecordChanged(db::TField* field)
{
    if (field && field != FMasterField) return;
    if (FMasterField && FMasterField->DataSet()->Active()) SetValueSilently(FMasterField->AsString());
    else SetValueSilently(FEmptyValue);
}

void TUxLookupControl::ListLinkActiveChanged()
{
    FListActive = false;
    FKeyField = FDisplayField = nullptr;
    FListFields.clear();
    if (FLookupLink->Active() && !FLookupFieldName.empty()) {
        CheckNotCircular();
        db::TDataSet* ds = FLookupLink->DataSet();
        FKeyField = ds->FieldByName(FLookupFieldName);
        for (const std::string& name : db::SplitFieldNames(FLookupDisplay)) FListFields.push_back(ds->FieldByName(name));
        if (FLookupMode) {
            db::TField* result = ds->FieldByName(FDataField->LookupResultField());
            if (std::find(FListFields.begin(), FListFields.end(), result) == FListFields.end())
                FListFields.insert(FListFields.begin(), result);
            FDisplayField = result;
        } else {
            if (FListFields.empty()) FListFields.push_back(FKeyField);
            int index = FDisplayIndex >= 0 && FDisplayIndex < static_cast<int>(FListFields.size()) ? FDisplayIndex : 0;
            FDisplayField = FListFields[index];
        }
        if (!FLookupFormat.empty() && CheckLookupFormat(FLookupFormat) > static_cast<int>(FListFields.size()))
            FLookupFormat.clear();
        FListActive = true;
        FLocate->SetDataSet(ds);
    }
}

void TUxLookupControl::SearchDisplay(const std::string& text, std::string& found)
{
    found.clear();
    if (!text.empty()) {
        if (Locate(FDisplayField, text, false)) {
            ChooseKeyValue(FKeyField->AsString());
            found = FDisplayField->AsString().substr(0, text.size());
        }
    } else if (db::TDataSet* ds = FLookupLink->DataSet()) {
        ds->First();
        ChooseKeyValue(FKeyField ? FKeyField->AsString() : FEmptyValue);
    }
}

void TUxLookupControl::KeyPress(char16_t& key)
{
    TUxExCustomControl::KeyPress(key);
    if (!FDisplayField) return;
    if (key == 9 || key == 27) {
        FSearchText.clear();
        return;
    }
    if ((key == 8 || (key >= 32 && key <= 255)) && CanModify()) {
        const int64_t now = LookupTickCount();
        if (!FPopup && now - gLastKeyTick > 2000) FSearchText.clear();
        gLastKeyTick = now;
        std::string text;
        if (key == 8) {
            text = FSearchText.empty() ? std::string() : FSearchText.substr(0, FSearchText.size() - 1);
        } else if (FSearchText.size() < 32) {
            text = FSearchText + rtl::UTF16ToUTF8(std::u16string(1, key));
        }
        std::string found;
        SearchDisplay(text, found);
        if (!found.empty() || text.empty()) FSearchText = text;
        key = 0;
    }
}

// --- TUxDBLookupList ------------------------------------------------------------------

TUxDBLookupList::TUxDBLookupList(rtl::TComponent* owner)
    : TUxLookupControl(owner), FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](rtl::TObject*) { TimerScroll(); };
    SetWidth(121);
    SetRowCount(7);
}

int TUxDBLookupList::ItemHeight() const
{
    // The font's text height, measured on a scratch bitmap.
    TBitmap scratch(1, 1);
    scratch.Canvas()->SetFont(Font());
    return std::max(static_cast<int>(scratch.Canvas()->GetTextMetrics().tmHeight), FItemHeight);
}

void TUxDBLookupList::SetRowCount(int value)
{
    FRowCount = std::clamp(value, 1, 50);
    SetHeight(FRowCount * ItemHeight() + 2 * BorderSize());
}

int TUxDBLookupList::BorderSize() const
{
    if (FPopup || FBorderStyle == TBorderStyle::bsNone) return 0;
    return Ctl3D() ? GetSystemMetrics(SM_CXEDGE) : GetSystemMetrics(SM_CXBORDER);
}

void TUxDBLookupList::SetBorderStyle(TBorderStyle value)
{
    if (value != TBorderStyle::bsNone) value = TBorderStyle::bsSingle;
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    SetRowCount(FRowCount);
    Invalidate();
}

TRect TUxDBLookupList::RowsRect() const
{
    const int b = BorderSize();
    return {b, b, b + ListWidth(), std::max(b, ClientHeight() - b)};
}

void TUxDBLookupList::SetBounds(int left, int top, int width, int height)
{
    if (FSizing) {
        TUxLookupControl::SetBounds(left, top, width, height);
        return;
    }
    FSizing = true;
    const int border = 2 * BorderSize();
    const int item = ItemHeight();
    const int rows = std::max(1, (height - border) / item);
    FRowCount = std::min(rows, 50);
    TUxLookupControl::SetBounds(left, top, width, border + FRowCount * item);
    FLookupLink->SetBufferCount(std::max(1, FRowCount - EmptyRows()));
    FSizing = false;
    ListSourceChanged();
}

void TUxDBLookupList::ListLinkActiveChanged()
{
    TUxLookupControl::ListLinkActiveChanged();
    FLookupLink->SetBufferCount(std::max(1, FRowCount - EmptyRows()));
    if (!FListActive || FLockPosition) ListSourceChanged();
    else if (FMasterField) SetValueSilently(FMasterField->DataSet()->Active() ? FMasterField->AsString() : FEmptyValue), ValueChanged();
    else ValueChanged();
}

void TUxDBLookupList::ListSourceChanged()
{
    if (FListActive) {
        FRecordIndex = FLookupLink->ActiveRecord();
        FRecordCount = FUseRecordCount ? FLookupLink->DataSet()->RecordCount() : FLookupLink->RecordCount();
        FKeySelected = !(IsEmptyValue() && FLookupLink->DataSet()->Bof());
    } else {
        FRecordIndex = FRecordCount = 0;
        FKeySelected = false;
    }
    UpdateScrollBar();
    Invalidate();
}

void TUxDBLookupList::ValueChanged()
{
    if (!FListActive || FLockPosition) return;
    if (!Locate(FKeyField, FValue, true)) FLookupLink->DataSet()->First();
    UpdateDisplayValue();
    ListSourceChanged();
}

void TUxDBLookupList::DisplayValueChanged()
{
    if (!FListActive || FLockPosition) return;
    if (!Locate(FDisplayField, FDisplayValue, true)) FLookupLink->DataSet()->First();
    ListSourceChanged();
}

void TUxDBLookupList::SelectCurrent()
{
    FLockPosition = true;
    try {
        if (FSelectEmpty) ResetField();
        else if (FKeyField) ChooseKeyValue(FKeyField->AsString());
    } catch (...) {
        FLockPosition = false;
        throw;
    }
    FLockPosition = false;
    ListSourceChanged();
}

void TUxDBLookupList::MoveAndSelect(int delta)
{
    db::TDataSet* ds = FLookupLink->DataSet();
    if (!ds) return;
    FSelectEmpty = false;
    if (delta < 0 && IsEmptyValue() && EmptyRows()) {
        FSelectEmpty = true;
    } else {
        // The record of the current value, when it is in the window.
        int row = -1;
        if (!IsEmptyValue()) {
            int saved = FLookupLink->ActiveRecord();
            for (int r = 0; r < FLookupLink->RecordCount(); ++r) {
                FLookupLink->SetActiveRecord(r);
                if (FKeyField->AsString() == FValue) row = r;
            }
            FLookupLink->SetActiveRecord(saved);
        }
        if (row < 0 && !IsEmptyValue()) {
            ValueChanged();
            return;
        }
        if (row >= 0) ds->MoveBy(row - FLookupLink->ActiveRecord());
        if (!(IsEmptyValue() && delta > 0 && row < 0)) ds->MoveBy(delta);
        else ds->MoveBy(delta - 1);
        if (delta < 0 && ds->Bof() && EmptyRows()) FSelectEmpty = true;
    }
    SelectCurrent();
}

void TUxDBLookupList::KeyDown(uint16_t& key, TShiftState shift)
{
    TUxLookupControl::KeyDown(key, shift);
    if (!CanModify()) return;
    db::TDataSet* ds = FLookupLink->DataSet();
    const int e = EmptyRows();
    int delta = 0;
    switch (key) {
    case VK_PRIOR: delta = e - FRowCount + 1; break;
    case VK_NEXT: delta = FRowCount - e - 1; break;
    case VK_DOWN: case VK_RIGHT: delta = 1; break;
    case VK_UP: case VK_LEFT: delta = -1; break;
    case VK_HOME: case VK_END:
        FSearchText.clear();
        FSelectEmpty = false;
        if (key == VK_HOME) ds->First();
        else ds->Last();
        SelectCurrent();
        key = 0;
        return;
    default: return;
    }
    FSearchText.clear();
    MoveAndSelect(delta);
    key = 0;
}

int TUxDBLookupList::CurrentRow() const
{
    return EmptyRows() && IsEmptyValue() ? 0 : FRecordIndex + EmptyRows();
}

int TUxDBLookupList::RowAt(int y) const
{
    const TRect rows = RowsRect();
    return (std::clamp(y, rows.Top, std::max(rows.Top, rows.Bottom - 1)) - rows.Top) / ItemHeight();
}

void TUxDBLookupList::SelectItemAt(int y)
{
    const int row = RowAt(y);
    FSelectEmpty = false;
    if (row == 0 && EmptyRows()) {
        FSelectEmpty = true;
    } else if (db::TDataSet* ds = FLookupLink->DataSet()) {
        ds->MoveBy(row - FRecordIndex - EmptyRows());
    }
    SelectCurrent();
}

void TUxDBLookupList::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FSearchText.clear();
    if (button == TMouseButton::mbLeft && !FPopup) {
        // A list (not a pop-up, which leaves the focus with its host) acts
        // on a press only once it has the focus.
        if (CanFocus() && !Focused()) SetFocus();
        if (!Focused()) return;
    }
    if (button == TMouseButton::mbLeft && ScrollBarMouseDown(x, y)) return;
    TUxLookupControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !CanModify()) return;
    if (shift.Contains(TShiftStateItem::ssDouble)) {
        if (RowsRect().Contains({x, y}) && RowAt(y) == CurrentRow()) TUxLookupControl::DblClick();
        return;
    }
    FTracking = true;
    SetMouseCapture(true);
    SelectItemAt(y);
}

void TUxDBLookupList::MouseMove(TShiftState shift, int x, int y)
{
    TUxLookupControl::MouseMove(shift, x, y);
    if (FThumbTracking) {
        // The thumb follows the pointer along the track between the arrows.
        const TRect rows = RowsRect();
        const int bw = ScrollBarWidth(), track = rows.Height() - 3 * bw;
        if (track > 0 && FScrollMax > FScrollMin)
            FThumbPos = std::clamp(FScrollMin + (y - rows.Top - bw - bw / 2) * (FScrollMax - FScrollMin) / track,
                                   FScrollMin, FScrollMax);
        return;
    }
    if (!FTracking) return;
    const TRect rows = RowsRect();
    int beyond = 0;
    if (y < rows.Top) {
        beyond = rows.Top - y;
        FScrollDirection = -1;
    } else if (y >= rows.Bottom) {
        beyond = y - rows.Bottom + 1;
        FScrollDirection = 1;
    }
    if (beyond == 0) {
        FTimer->SetEnabled(false);
        SelectItemAt(y);
        return;
    }
    FTimer->SetInterval(static_cast<unsigned>(std::max(0, 200 - 15 * beyond)));
    FTimer->SetEnabled(true);
}

void TUxDBLookupList::TimerScroll()
{
    db::TDataSet* ds = FLookupLink->DataSet();
    if (!FTracking || !ds) return;
    FSelectEmpty = false;
    ds->MoveBy(FScrollDirection);
    SelectCurrent();
}

void TUxDBLookupList::StopTracking()
{
    FTimer->SetEnabled(false);
    if (FTracking) SetMouseCapture(false);
    FTracking = false;
}

void TUxDBLookupList::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FThumbTracking) {
        FThumbTracking = false;
        SetMouseCapture(false);
        Scroll(SB_THUMBPOSITION, FThumbPos);
    }
    StopTracking();
    TUxLookupControl::MouseUp(button, shift, x, y);
}

bool TUxDBLookupList::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    if (TUxLookupControl::DoMouseWheelDown(shift, mousePos)) return true;
    db::TDataSet* ds = FLookupLink->DataSet();
    if (!ds || !FListActive) return false;
    const int rows = FRowCount - EmptyRows();
    const bool line = shift.Contains(TShiftStateItem::ssShift) || shift.Contains(TShiftStateItem::ssCtrl);
    ds->MoveBy(line ? rows - FRecordIndex : rows + rows / 2 - FRecordIndex - 1);
    return true;
}

bool TUxDBLookupList::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    if (TUxLookupControl::DoMouseWheelUp(shift, mousePos)) return true;
    db::TDataSet* ds = FLookupLink->DataSet();
    if (!ds || !FListActive) return false;
    const int rows = FRowCount - EmptyRows();
    const bool line = shift.Contains(TShiftStateItem::ssShift) || shift.Contains(TShiftStateItem::ssCtrl);
    ds->MoveBy(line ? -FRecordIndex - 1 : -FRecordIndex - rows / 2);
    return true;
}

void TUxDBLookupList::DrawItemText(TCanvas* canvas, const TRect& rect, bool selected, bool isEmpty)
{
    (void)selected;
    const int textTop = rect.Top + (rect.Height() - canvas->TextHeight("Wg")) / 2;
    if (FListStyle == TLookupListStyle::lsDelimited || isEmpty) {
        std::string text;
        if (isEmpty) {
            text = FDisplayEmpty;
        } else if (!FLookupFormat.empty()) {
            std::size_t next = 0;
            for (std::size_t i = 0; i < FLookupFormat.size(); ++i) {
                if (FLookupFormat[i] == '%' && i + 1 < FLookupFormat.size()) {
                    char c = FLookupFormat[++i];
                    if (c == '%') text += '%';
                    else if (next < FListFields.size()) text += FListFields[next++]->DisplayText();
                } else {
                    text += FLookupFormat[i];
                }
            }
        } else {
            for (std::size_t i = 0; i < FListFields.size(); ++i)
                text += (i ? std::string(1, FFieldsDelimiter) + " " : std::string()) + FListFields[i]->DisplayText();
        }
        canvas->TextRect(rect, rect.Left + 2, textTop, text);
        return;
    }
    const int mWidth = canvas->TextWidth("M");
    int left = rect.Left;
    for (std::size_t i = 0; i < FListFields.size() && left < rect.Right; ++i) {
        db::TField* f = FListFields[i];
        const bool last = i + 1 == FListFields.size();
        int right = last ? rect.Right : std::min(rect.Right, left + f->DisplayWidth() * mWidth + 4);
        TRect cell{left, rect.Top, right, rect.Bottom};
        std::string text = f->DisplayText();
        int w = canvas->TextWidth(text);
        int x = f->Alignment() == db::TAlignment::taRightJustify ? right - w - 3
                : f->Alignment() == db::TAlignment::taCenter     ? left + (cell.Width() - w) / 2
                                                                 : left + 2;
        canvas->TextRect(cell, x, textTop, text);
        if (!last) {
            canvas->MoveTo(right, rect.Top);
            canvas->LineTo(right, rect.Bottom);
        }
        left = right + 1;
    }
}

void TUxDBLookupList::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    const TColor separator = Color() == clBtnFace ? clBtnShadow : clBtnFace;
    const int item = ItemHeight();
    const int e = EmptyRows();
    const TRect rows = RowsRect();
    const bool focusFrame = FFocused || FPopup;
    // Draws a row's picture and text, through a row-sized bitmap when the
    // picture takes a margin.
    auto drawRow = [&](const TRect& r, bool selected, bool isEmpty, TColor back) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(back);
        c->Font()->SetColor(selected ? clHighlightText : Font()->Color());
        c->Pen()->SetColor(separator);
        c->FillRect(r);
        int margin = 0;
        TGraphic* picture = GetPicture(isEmpty, margin);
        if (margin < 1) {
            DrawItemText(c, r, selected, isEmpty);
            return;
        }
        TBitmap row(r.Width(), r.Height());
        TCanvas* rc = row.Canvas();
        rc->SetFont(c->Font());
        rc->Font()->SetColor(c->Font()->Color());
        rc->Pen()->SetColor(separator);
        rc->Brush()->SetColor(back);
        rc->FillRect({0, 0, r.Width(), r.Height()});
        if (picture && !picture->Empty()) {
            const int x = (margin - picture->Width()) / 2, y = (r.Height() - picture->Height()) / 2;
            if (auto* bmp = dynamic_cast<TBitmap*>(picture)) DrawMaskedBitmap(rc, x, y, bmp, bmp->TransparentColor());
            else rc->Draw(x, y, picture);
        }
        rc->Brush()->SetColor(back);
        DrawItemText(rc, {margin, 0, r.Width(), r.Height()}, selected, isEmpty);
        c->Draw(r.Left, r.Top, &row);
    };
    for (int i = 0; i < FRowCount; ++i) {
        TRect r{rows.Left, rows.Top + i * item, rows.Right, rows.Top + (i + 1) * item};
        bool isEmpty = e && i == 0;
        bool selected = false;
        if (!isEmpty) {
            int record = i - e;
            if (!FListActive || record >= FLookupLink->RecordCount()) {
                c->Brush()->SetColor(Color());
                c->FillRect(r);
                continue;
            }
            FLookupLink->SetActiveRecord(record);
            selected = FKeyField && FKeyField->AsString() == FValue;
            drawRow(r, selected, false, selected ? clHighlight : Color());
        } else {
            selected = IsEmptyValue();
            drawRow(r, selected, true, selected ? clHighlight : FEmptyItemColor);
        }
        // Without a selected key and without an empty row the first row
        // carries the focus frame.
        const bool framed = selected || (i == 0 && !FKeySelected && !e);
        if (framed && focusFrame) {
            c->Brush()->SetColor(selected ? clHighlight : Color());
            c->Font()->SetColor(selected ? clHighlightText : Font()->Color());
            c->DrawFocusRect(r);
        }
    }
    if (FListActive) FLookupLink->SetActiveRecord(FRecordIndex);
    PaintScrollBar(c);
    PaintBorder(c);
}

} // namespace dbgrids
