// TDBExGrid: editing and posting, check boxes, lookup lists, pictures from
// blob fields, sorting a query by its ORDER BY clause, column management
// and the column positions kept in an ini file.
#include <algorithm>
#include <cctype>

#include "gridio/DBExGrid.h"
#include "grid/ExGridEditors.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/JpegImage.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"

namespace gridio {

using db::TDataSetState;
using db::TFieldType;

namespace {

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsEditing(const db::TDataSet* ds)
{
    return ds && (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert);
}

struct TFlagGuard {
    bool& Flag;
    bool Old;
    explicit TFlagGuard(bool& f, bool v = true) : Flag(f), Old(f) { Flag = v; }
    ~TFlagGuard() { Flag = Old; }
};

} // namespace

// ------------------------------------------------------------ blob sniffing

TBlobSniff SniffBlobPicture(const std::string& data)
{
    TBlobSniff r;
    if (data.size() <= 2) return r;
    const auto at = [&](size_t i) { return static_cast<unsigned char>(data[i]); };
    if (at(0) == 0x15 && at(1) == 0x1C) {
        // An embedded-object header: the picture follows somewhere within
        // the next 512 bytes, never past the end of the data.
        const size_t end = std::min(data.size(), size_t(2) + 512);
        for (size_t i = 2; i + 1 < end + 1 && i + 1 < data.size(); ++i) {
            const unsigned char a = at(i), b = at(i + 1);
            if (a == 0xFF && b == 0xD8) return {TBlobPictureKind::bpJPEG, i};
            if (a == 'G' && b == 'I') return {TBlobPictureKind::bpGIF, i};
            if (a == 'B' && b == 'M') return {TBlobPictureKind::bpBitmap, i};
        }
        return r;
    }
    if (at(0) == 'G' && at(1) == 'I') return {TBlobPictureKind::bpGIF, 0};
    if (at(0) == 0xFF && at(1) == 0xD8) return {TBlobPictureKind::bpJPEG, 0};
    if (at(0) == 'B' && at(1) == 'M') return {TBlobPictureKind::bpBitmap, 0};
    return {TBlobPictureKind::bpOther, 0};
}

void TDBExGrid::InvalidPictureFound(int aCol, int aRow)
{
    FPicture->Assign(FInvalidPicture.get());
    if (OnInvalidPicture) OnInvalidPicture(this, aCol, aRow);
}

bool TDBExGrid::LoadBlobPicture(db::TField* field, gui::TPoint& size, int aRow, int aCol)
{
    size = {0, 0};
    rtl::TMemoryStream ms;
    std::string data;
    try {
        if (OnFieldToStream) {
            OnFieldToStream(this, aCol, aRow, field, ms);
            data.assign(ms.View());
        } else {
            data = field->AsString();
        }
    } catch (const std::exception&) {
        InvalidPictureFound(aCol, aRow);
        return false;
    }
    if (data.empty()) return false;
    const TBlobSniff sniff = SniffBlobPicture(data);
    if (sniff.Kind == TBlobPictureKind::bpNone) {
        if (data.size() > 2) return false;  // a header without a picture
        InvalidPictureFound(aCol, aRow);
        return false;
    }
    try {
        rtl::TMemoryStream pic;
        pic.Write(data.data() + sniff.Offset, static_cast<int64_t>(data.size() - sniff.Offset));
        pic.SetPosition(0);
        gui::TPicture loaded;
        loaded.LoadFromStream(pic);
        if (loaded.Width() <= 0) throw std::runtime_error("empty picture");
        FPicture->Assign(&loaded);
        size = {loaded.Width(), loaded.Height()};
        return true;
    } catch (const std::exception&) {
        InvalidPictureFound(aCol, aRow);
        return false;
    }
}

// ------------------------------------------------------------- ORDER BY

std::string RewriteOrderBy(const std::string& sql, const std::string& fieldName, bool descending)
{
    std::string base = sql;
    const size_t pos = Upper(sql).find("ORDER BY");
    if (pos != std::string::npos) base = sql.substr(0, pos);
    while (!base.empty() && std::isspace(static_cast<unsigned char>(base.back()))) base.pop_back();
    std::string out = base + " ORDER BY " + fieldName;
    if (descending) out += " DESC";
    return out;
}

bool TDBExGrid::SortByQueryOrder(int aCol)
{
    if (!FPageMode || !IsDataSetActive() || !ItemAt(aCol)) return true;
    bool doSort = true;
    if (OnCanSortDB) OnCanSortDB(this, aCol, doSort);
    auto* query = dynamic_cast<db::TSQLiteQuery*>(LinkedDataSet());
    if (!doSort || !query) return doSort;
    doSort = false;
    grid::TSortSettings* ss = SortSettings();
    ss->SetDirection(ss->Direction() == grid::TSortDirection::sdAscending ? grid::TSortDirection::sdDescending
                                                                           : grid::TSortDirection::sdAscending);
    std::string field = ItemAt(aCol)->FieldName();
    if (field.empty() && aCol - 1 >= 0 && aCol - 1 < query->FieldCount()) field = query->Fields(aCol - 1)->FieldName();
    if (field.empty()) return false;
    if (field.find(' ') != std::string::npos && !OnSetQueryOrder) return false;
    std::string sql = RewriteOrderBy(query->SQL().Text(), field,
                                     ss->Direction() == grid::TSortDirection::sdDescending);
    if (OnSetQueryOrder) OnSetQueryOrder(this, sql);
    query->Close();
    query->SQL().SetText(sql);
    query->Open();
    ss->SetColumn(aCol);
    return false;
}

// --------------------------------------------------------------- editing

bool TDBExGrid::EditCurrentRecord()
{
    if (!FPageMode || !IsDataSetActive()) return false;
    if (!FDataLink->Edit()) return false;
    return IsEditing(LinkedDataSet());
}

bool TDBExGrid::CanShowInplaceEditor()
{
    db::TDataSet* ds = LinkedDataSet();
    if (ds && ds->Active() && !ds->CanModify()) return false;
    return TExStringGrid::CanShowInplaceEditor();
}

void TDBExGrid::CanEditBaseCell(int aCol, int aRow, bool& canEdit)
{
    TExStringGrid::CanEditBaseCell(aCol, aRow, canEdit);
    db::TDataSet* ds = LinkedDataSet();
    TDBGridColumnItem* item = ItemAt(aCol);
    if (FCancelEditReturn || (ds && ds->Active() && !ds->CanModify()) || !FPageMode || !item) {
        canEdit = false;
        return;
    }
    if (item->Editor() == grid::TEditorType::edNone || !item->HTMLTemplate().empty()) {
        canEdit = false;
        return;
    }
    if (!canEdit || !IsDataSetActive() || aRow < FixedRows() || aCol < FixedCols()) return;
    db::TField* f = ColumnField(aCol);
    if (f) canEdit = !f->ReadOnly() && f->DataType() != TFieldType::ftAutoInc && f->CanModify();
}

void TDBExGrid::ResolveEditorType(int aCol, int aRow, grid::TEditorType& editor)
{
    db::TDataSet* ds = LinkedDataSet();
    if (!ds || !ds->Active()) return;
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item || !FPageMode || aCol < FixedCols() || aRow < FixedRows()) {
        TExStringGrid::ResolveEditorType(aCol, aRow, editor);
        return;
    }
    if (!ds->CanModify()) {
        editor = grid::TEditorType::edNone;
        return;
    }
    if (!FShowDefinedFields || !item->FieldName().empty()) {
        db::TField* f = ColumnField(aCol);
        grid::TEditorType def = grid::TEditorType::edNone;
        if (f) {
            switch (f->DataType()) {
            case TFieldType::ftString:
            case TFieldType::ftMemo:
            case TFieldType::ftWideString: def = grid::TEditorType::edNormal; break;
            case TFieldType::ftDate: def = grid::TEditorType::edDateEdit; break;
            case TFieldType::ftTime: def = grid::TEditorType::edTimeEdit; break;
            case TFieldType::ftSmallint:
            case TFieldType::ftInteger:
            case TFieldType::ftWord:
            case TFieldType::ftLargeint: def = grid::TEditorType::edNumeric; break;
            case TFieldType::ftFloat: def = grid::TEditorType::edFloat; break;
            default: def = grid::TEditorType::edNone; break;
            }
            SetMaxEditLength(f->DataType() == TFieldType::ftString ? f->Size() : 0);
            if (f->ReadOnly() || f->DataType() == TFieldType::ftAutoInc || item->ReadOnly()) {
                editor = grid::TEditorType::edNone;
                return;
            }
        }
        if (f && EditCurrentRecord()) {
            if (f->Lookup() && item->UseLookupEditor()) {
                rtl::TStringList list;
                LoadLookupList(f, list);
                EditCombo()->Items()->Assign(&list);
                editor = grid::TEditorType::edComboList;
            } else {
                EditCombo()->Items()->Assign(item->ComboItems());
                editor = item->Editor();
                if (editor == grid::TEditorType::edNormal && def != grid::TEditorType::edNone) editor = def;
            }
            EditSpin()->SetMinValue(item->SpinMin());
            EditSpin()->SetMaxValue(item->SpinMax());
            EditSpin()->SetIncrement(item->SpinStep());
        }
    } else {
        if (item->ReadOnly()) {
            editor = grid::TEditorType::edNone;
            return;
        }
        editor = item->Editor();
    }
    TExStringGrid::ResolveEditorType(aCol, aRow, editor);
}

void TDBExGrid::LoadLookupList(db::TField* field, rtl::TStringList& list)
{
    list.Clear();
    FLookupKeys.clear();
    db::TDataSet* lds = field->LookupDataSet();
    if (!lds || !LinkedDataSet()) return;
    lds->DisableControls();
    const db::TBookmark bm = lds->GetBookmark();
    db::TField* result = lds->FindField(field->LookupResultField());
    db::TField* key = lds->FindField(field->LookupKeyFields());
    for (lds->First(); !lds->Eof(); lds->Next()) {
        list.Add(result ? result->AsString() : std::string());
        FLookupKeys.push_back(key ? key->AsString() : std::string());
    }
    if (!bm.empty()) lds->GotoBookmark(bm);
    lds->EnableControls();
}

std::string TDBExGrid::LookupKeyOf(int tag) const
{
    return tag >= 1 && tag <= static_cast<int>(FLookupKeys.size()) ? FLookupKeys[tag - 1] : std::string();
}

std::string TDBExGrid::GetEditText(int aCol, int aRow)
{
    std::string text = TExStringGrid::GetEditText(aCol, aRow);
    if (!IsDataSetActive()) return text;
    TDBGridColumnItem* item = ItemAt(aCol);
    if (FPageMode && item && !ShowsGraphic(aCol)) {
        if (db::TField* f = ColumnField(aCol)) text = f->IsBlob() ? f->AsString() : f->Text();
    }
    if (OnGetEditText) OnGetEditText(this, aCol, aRow, text);
    return text;
}

// Writes one value into the column's field of the current record.
void TDBExGrid::WriteFieldValue(int aCol, const std::string& value)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    db::TField* f = ColumnField(aCol);
    if (!item || !f) return;
    if (f->Lookup()) {
        // The lookup writes the key of the chosen entry into its key field.
        db::TField* keyField = LinkedDataSet()->FindField(f->KeyFields());
        const int idx = EditCombo()->Items()->IndexOf(value);
        if (keyField && idx >= 0) keyField->SetAsString(LookupKeyOf(idx + 1));
        return;
    }
    // A memo the grid does not show keeps its content: the cell only
    // showed "(MEMO)", and a picture is never written from text.
    if (f->IsBlob() && (!FShowMemoFields || f->DataType() == TFieldType::ftGraphic)) return;
    f->SetText(value);
}

void TDBExGrid::PostRecord()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!IsEditing(ds)) return;
    TFlagGuard e(FCancelEditReturn);
    TFlagGuard i(FInternalCall);
    const bool inserted = ds->State() == TDataSetState::dsInsert && FNewRecord;
    try {
        ds->Post();
        // A record the grid inserted is read back as the data set stored it.
        if (inserted && FRefreshOnInsert) ds->Refresh();
    } catch (const std::exception&) {
        // A failing post drops the changes and keeps the grid usable.
        FRecordChanged = false;
        ds->Cancel();
    }
    FEditText.clear();
}

void TDBExGrid::ValidateEditedCell(int aCol, int aRow, std::string& value, bool& valid)
{
    db::TDataSet* ds = LinkedDataSet();
    if (!FPageMode || !IsDataSetActive() || !ItemAt(aCol)) {
        if (OnCellValidateDB) OnCellValidateDB(this, aCol, aRow, value, valid);
        return;
    }
    if (value.rfind("|\\", 0) == 0) value = value.substr(2);
    if (OnCellValidateDB) OnCellValidateDB(this, aCol, aRow, value, valid);
    if (!valid || ShowsGraphic(aCol)) return;
    db::TField* f = ColumnField(aCol);
    if (!f) return;
    if (!IsEditing(ds) && value == f->Text()) return;  // nothing changed
    if (!EditCurrentRecord()) return;
    try {
        WriteFieldValue(aCol, value);
    } catch (const std::exception&) {
        valid = false;
        return;
    }
    FEditText = value;
    if (FEditPostMode == TEditPostMode::epCell) PostRecord();
    FKeyDownAppend = false;
}

std::string TDBExGrid::GetCurrentCellText()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!FPageMode || !IsDataSetActive()) return TExStringGrid::GetCurrentCellText();
    if (IsEditing(ds)) {
        std::string text = TExStringGrid::GetCurrentCellText();
        grid::TEditorType ed = grid::TEditorType::edNormal;
        GetCellEditorType(RealColIndex(Col()), Row(), ed);
        if (text.empty() && ds->State() == TDataSetState::dsEdit && ed == grid::TEditorType::edButton)
            text = GetCellText(RealColIndex(Col()), Row());
        return text;
    }
    return GetCellText(RealColIndex(Col()), Row());
}

bool TDBExGrid::ValidateCell(const std::string& newValue)
{
    const bool ok = TExStringGrid::ValidateCell(newValue);
    db::TDataSet* ds = LinkedDataSet();
    if (FPageMode && IsDataSetActive() && ds->State() == TDataSetState::dsEdit &&
        FEditPostMode == TEditPostMode::epCell && !Navigation()->AdvanceOnEnter())
        PostRecord();
    return ok;
}

bool TDBExGrid::ToggleCellCheck(int aCol, int aRow, bool askEditable)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    db::TField* f = ColumnField(aCol);
    if (!FPageMode || !IsDataSetActive() || !item || !f || item->ReadOnly() ||
        !Options().Contains(gui::TGridOption::goEditing))
        return TExStringGrid::ToggleCellCheck(aCol, aRow, askEditable);
    if (aRow != Row()) MoveColRow(Col(), aRow, true, true);
    if (!EditCurrentRecord()) return false;
    TFlagGuard i(FInternalCall);
    try {
        if (f->DataType() == TFieldType::ftBoolean) {
            f->SetAsBoolean(!f->AsBoolean());
        } else if (item->CheckBoxField() || item->Editor() == grid::TEditorType::edDataCheckBox) {
            if (Upper(f->AsString()) != Upper(item->CheckTrue())) f->SetAsString(item->CheckTrue());
            else f->SetAsString(item->CheckFalse());
        }
    } catch (const std::exception&) {
        LinkedDataSet()->Cancel();
        return false;
    }
    if (FEditPostMode == TEditPostMode::epCell) PostRecord();
    RepaintCell(aCol, aRow);
    return true;
}

void TDBExGrid::LinkEditingChanged()
{
    // Footer sums are not recalculated while a record is edited; the flag
    // comes back (and, in epRow mode, the sums) when editing ends.
    db::TDataSet* ds = LinkedDataSet();
    grid::TFloatingFooter* ff = FloatingFooter();
    if (IsEditing(ds)) {
        if (!IsEditingState(FEditingState)) {
            FEditingState = ds->State();
            FOldFooterEnableCalc = ff->EnableCalculation();
            ff->SetEnableCalculation(false);
        }
    } else {
        if (IsEditingState(FEditingState) && ff->EnableCalculation() != FOldFooterEnableCalc) {
            ff->SetEnableCalculation(FOldFooterEnableCalc);
            if (ff->Visible() && FEditPostMode == TEditPostMode::epRow)
                for (int c = FixedCols(); c < ColCount(); ++c) CalcFooter(c);
        }
        FEditingState = ds ? ds->State() : db::TDataSetState::dsInactive;
    }
    FNotDeletionUpdate = true;
    if (ColCount() > 0) RepaintCell(0, Row());
}

void TDBExGrid::LinkRecordChanged(db::TField* field)
{
    FRecordChanged = true;
    (void)field;
    Invalidate();
}

void TDBExGrid::LinkUpdateData()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!IsEditing(ds)) return;
    WriteFieldValue(Col(), FEditText);
}

// ------------------------------------------------------ column management

void TDBExGrid::AddAllFields()
{
    if (!DataSource()) {
        gui::ShowMessage("Cannot add fields. No datasource assigned");
        return;
    }
    db::TDataSet* ds = LinkedDataSet();
    if (!ds) {
        gui::ShowMessage("Cannot add fields. No dataset specified for datasource");
        return;
    }
    const std::vector<std::string> names = ds->FieldNames();
    const int k = IndicatorOffset();
    if (names.empty()) return;
    const int want = k + static_cast<int>(names.size());
    SetColCount(std::max(want, FixedCols() + 1));
    for (size_t i = 0; i < names.size(); ++i) {
        TDBGridColumnItem* item = FColumnCollection->Items(static_cast<int>(i) + k);
        item->SetFieldName(names[i]);
        if (!FPageMode) item->SetHeader(names[i]);
    }
    FColumnCollection->SetOrganization();
    if (IsDataSetActive()) LinkActiveChanged(true);
}

void TDBExGrid::RemoveAllFields()
{
    if (Designing() && !FColumnCollection->HasFieldsDefined()) gui::ShowMessage("No fields specified");
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TDBGridColumnItem* item = FColumnCollection->Items(i);
        if (item->Header() == item->FieldName()) item->FHeader.clear();
        item->FFieldName.clear();
        item->FField = nullptr;
    }
    Invalidate();
}

void TDBExGrid::RemoveAllColumns()
{
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        FColumnCollection->Items(i)->FFieldName.clear();
        FColumnCollection->Items(i)->FHeader.clear();
        FColumnCollection->Items(i)->FField = nullptr;
    }
    const int keep = FixedColAlways() ? 1 : 2;
    TExStringGrid::SetColCount(std::max(keep, FixedCols() + (FixedColAlways() ? 0 : 1)));
    FColumnCollection->SetOrganization();
    Clear();
    TExStringGrid::SetRowCount(5);
}

void TDBExGrid::SaveColumnPositions(const std::string& key, const std::string& section)
{
    rtl::TIniFile ini(key);
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        ini.WriteInteger(section, "CP" + std::to_string(i), FColumnCollection->Items(i)->DefIdx());
    ini.UpdateFile();
}

void TDBExGrid::LoadColumnPositions(const std::string& key, const std::string& section)
{
    rtl::TIniFile ini(key);
    const int n = FColumnCollection->Count();
    std::vector<int> stored(n);
    std::vector<bool> seen(n, false);
    for (int i = 0; i < n; ++i) {
        const int v = ini.ReadInteger(section, "CP" + std::to_string(i), -1);
        // A missing, out-of-range or repeated position spoils the whole set.
        if (v < 0 || v >= n || seen[v]) return;
        seen[v] = true;
        stored[i] = v;
    }
    ResetColumnOrder();
    for (int j = 0; j < n; ++j) FColumnCollection->Items(stored[j])->SetDefIdx(j);
    FColumnCollection->ResetOrganization();
    for (int j = 0; j < n; ++j) FColumnCollection->Items(j)->SetDefIdx(stored[j]);
}

// ------------------------------------------------- design-time helper

namespace {

const char* const kDesignItems[] = {"Add all DB fields", "Remove all DB fields", "Remove all columns"};

void DesignFont(gui::TCanvas* c)
{
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(8);
}

} // namespace

int TDBExGrid::DesignChoiceAt(int x, int y)
{
    gui::TBitmap scratch;
    scratch.SetSize(1, 1);
    gui::TCanvas* c = scratch.Canvas();
    DesignFont(c);
    const int line = c->TextHeight("gh") + 2;
    const gui::TRect cr = ClientRect();
    const int left = cr.Right - 150, top = cr.Bottom - 70;
    for (int n = 1; n <= 3; ++n) {
        const int y0 = top + 4 + n * line;
        if (x > left && x < left + c->TextWidth(kDesignItems[n - 1]) && y >= y0 && y < y0 + line) return n - 1;
    }
    return -1;
}

void TDBExGrid::PaintDesignHelper()
{
    if (!Designing() || !ShowDesignHelper()) return;
    gui::TCanvas* c = Canvas();
    const gui::TRect cr = ClientRect();
    DesignFont(c);
    const int line = c->TextHeight("gh") + 2;
    const gui::TRect panel{cr.Right - 150, cr.Bottom - 70, cr.Right, cr.Bottom};
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(gui::clInfoBk);
    c->Pen()->SetColor(0x808080);
    c->Pen()->SetWidth(1);
    c->Rectangle(panel.Left, panel.Top, panel.Right, panel.Bottom);
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c->Font()->SetColor(0x800000);
    c->Font()->SetStyle({gui::TFontStyle::fsUnderline});
    c->TextOut(panel.Left + 4, panel.Top + 4, DesignHelperTitle());
    for (int n = 1; n <= 3; ++n) {
        c->Font()->SetStyle(FLastDBDesignChoice == n - 1 ? gui::TFontStyles{gui::TFontStyle::fsUnderline}
                                                          : gui::TFontStyles{});
        c->TextOut(panel.Left + 4, panel.Top + 4 + n * line, kDesignItems[n - 1]);
    }
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

void TDBExGrid::Dispatch(gui::TMessage& message)
{
    TExStringGrid::Dispatch(message);
    if (message.Msg != gui::CM_DESIGNHITTEST || !Designing() || !ShowDesignHelper()) return;
    const int x = static_cast<int16_t>(gui::LOWORD(static_cast<gui::WPARAM>(message.LParam)));
    const int y = static_cast<int16_t>(gui::HIWORD(static_cast<gui::WPARAM>(message.LParam)));
    const int item = DesignChoiceAt(x, y);
    if (item != FLastDBDesignChoice) Invalidate();
    FLastDBDesignChoice = item;
    message.Result = item >= 0 ? 1 : 0;
}

void TDBExGrid::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y)
{
    if (Designing() && ShowDesignHelper() && button == gui::TMouseButton::mbLeft && DesignChoiceAt(x, y) >= 0) {
        DesignHelperClick(x, y);
        return;
    }
    if (ColumnPopupClick(button, x, y)) return;
    // A click on the indicator column makes that row's record current.
    if (FPageMode && IsDataSetActive() && button == gui::TMouseButton::mbLeft) {
        const gui::TGridCoord cell = MouseCoord(x, y);
        if (IsIndicatorCol(cell.X) && cell.Y >= FixedRows() && cell.Y < RowCount() && cell.Y != Row()) {
            MoveColRow(std::max(Col(), FixedCols()), cell.Y, true, true);
            return;
        }
    }
    TExStringGrid::MouseDown(button, shift, x, y);
}

bool TDBExGrid::ColumnPopupClick(gui::TMouseButton button, int x, int y)
{
    const gui::TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0 || cell.Y < 0) return false;
    const int realCol = RealColIndex(cell.X);
    TDBGridColumnItem* item = ItemAt(realCol);
    if (!item || !item->ColumnPopup()) return false;
    using P = TColumnPopupType;
    const P t = item->ColumnPopupType();
    const bool left = t == P::cpFixedCellsLClick || t == P::cpNormalCellsLClick || t == P::cpAllCellsLClick;
    if ((button == gui::TMouseButton::mbLeft) != left ||
        (button != gui::TMouseButton::mbLeft && button != gui::TMouseButton::mbRight))
        return false;
    const bool fixedRow = cell.Y < FixedRows();
    const bool rowFits = t == P::cpAllCellsRClick || t == P::cpAllCellsLClick ||
                         (fixedRow ? (t == P::cpFixedCellsRClick || t == P::cpFixedCellsLClick)
                                   : (t == P::cpNormalCellsRClick || t == P::cpNormalCellsLClick));
    if (!rowFits) return false;
    if (OnColumnPopup) OnColumnPopup(this, realCol, cell.Y, item->ColumnPopup());
    const gui::TRect r = CellRect(cell.X, cell.Y);
    const gui::TPoint at = ClientToScreen({r.Left, r.Bottom});
    item->ColumnPopup()->Popup(at.X, at.Y);
    return true;
}

void TDBExGrid::WrapToFirstRow()
{
    db::TDataSet* ds = LinkedDataSet();
    if (!FPageMode || !IsDataSetActive() ||
        (!IsEditing(ds) && FDataSetType == TDataSetType::dtSequenced && !FKeyDownAppend)) {
        TExStringGrid::WrapToFirstRow();
        return;
    }
    if (FKeyDownAppend) return;
    PostRecord();
    const int moved = FDataLink->MoveBy(1);
    if (moved == 0 && !gui::GetShiftState().Contains(gui::TShiftStateItem::ssAlt) && ds->CanModify()) AppendByKey();
    SyncRowWithRecord();
}

void TDBExGrid::Assign(const rtl::TPersistent* source)
{
    TExStringGrid::Assign(source);
    if (auto* g = dynamic_cast<const TDBExGrid*>(source)) SetDataSource(g->DataSource());
}

void TDBExGrid::DesignHelperClick(int x, int y)
{
    switch (DesignChoiceAt(x, y)) {
    case 0: AddAllFields(); break;
    case 1: RemoveAllFields(); break;
    case 2: RemoveAllColumns(); break;
    default: break;
    }
}

void TDBExGrid::ColumnMoved(int fromIndex, int toIndex)
{
    const int top = TopRow();
    TExStringGrid::ColumnMoved(fromIndex, toIndex);
    if (fromIndex != toIndex && fromIndex < FColumnCollection->Count() && toIndex < FColumnCollection->Count())
        FColumnCollection->Items(fromIndex)->SetIndex(toIndex);
    if (TopRow() != top) SetTopRow(top);
}

} // namespace gridio

namespace gridio {

// ------------------------------------------------------ string grid hooks

void TDBExGrid::PasteCellText(int aCol, int aRow, const std::string& value)
{
    // Page-mode cells show the record: a pasted value goes into the field,
    // and is dropped where no field can take it.
    const int rc = DisplayToRealCol(aCol);
    TDBGridColumnItem* item = ItemAt(rc);
    if (!FPageMode || !item || ShowsGraphic(rc) || IsIndicatorCol(rc) ||
        (FShowDefinedFields && item->FieldName().empty()))
        return;
    db::TField* f = ColumnField(rc);
    db::TDataSet* ds = LinkedDataSet();
    if (f && IsDataSetActive() && aRow >= FixedRows()) {
        if (FDataSetType == TDataSetType::dtSequenced && Row() != aRow) SetRow(aRow);
        // A picture or a memo the grid does not show is never overwritten
        // by the text its cell showed.
        const bool hiddenBlob = f->IsBlob() && (!FShowMemoFields || f->DataType() == TFieldType::ftGraphic);
        if (!hiddenBlob && (IsEditing(ds) || EditCurrentRecord())) {
            try {
                f->SetAsString(value);
            } catch (const std::exception&) {
                ds->Cancel();
                return;
            }
            if (FEditPostMode == TEditPostMode::epCell) {
                TFlagGuard ending(FEditEnding);
                PostRecord();
            }
        }
    }
    if (rc != aCol) RepaintCell(aCol, aRow);
}

bool TDBExGrid::CanAddRow()
{
    const bool canAdd = TExStringGrid::CanAddRow();
    if (canAdd && FEditPostMode == TEditPostMode::epRow && IsEditing(LinkedDataSet())) PostRecord();
    return canAdd;
}

void TDBExGrid::UpdateColumnSize(int aCol, int& width)
{
    if (TDBGridColumnItem* item = ItemAt(RealColIndex(aCol))) {
        if (item->MinSize() > 0) width = std::max(width, item->MinSize());
        if (item->MaxSize() > 0) width = std::min(width, item->MaxSize());
    }
    TExStringGrid::UpdateColumnSize(aCol, width);
}

void TDBExGrid::PrepareKeySelectAll(gui::TGridRect& rect)
{
    if (FDataSetType == TDataSetType::dtNonSequenced) std::swap(rect.Top, rect.Bottom);
}

bool TDBExGrid::GetColumnFilter(int aCol)
{
    TDBGridColumnItem* item = ItemAt(aCol);
    if (!item || item->Filter()->Count() == 0) return TExStringGrid::GetColumnFilter(aCol);
    FilterList()->Assign(item->Filter());
    if (OnGetColumnFilter) OnGetColumnFilter(this, aCol, FilterList());
    return FilterList()->Count() > 0;
}

void TDBExGrid::UpdateAutoColumnSize(int aCol, int& width)
{
    if (TDBGridColumnItem* item = ItemAt(RealColIndex(aCol))) {
        if (item->AutoMinSize() > 0) width = std::max(width, item->AutoMinSize());
        if (item->AutoMaxSize() > 0) width = std::min(width, item->AutoMaxSize());
    }
    TExStringGrid::UpdateAutoColumnSize(aCol, width);
}

} // namespace gridio
