// TUxDBSortGrid: multi-column sort through the data set, markers, saved
// position and search.
#include "dbgrids/UxDBSortGrid.h"

#include "dbgrids/ucl/UclStrings.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"

namespace dbgrids {

using namespace gui;

namespace {

// The hourglass and disabled controls for the length of a sort or search.
class TBusy {
public:
    explicit TBusy(db::TDataSet* ds) : FDataSet(ds)
    {
        if (Screen) Screen->SetCursor(crHourGlass);
        FDataSet->DisableControls();
    }
    ~TBusy()
    {
        FDataSet->EnableControls();
        if (Screen) Screen->SetCursor(crDefault);
    }

private:
    db::TDataSet* FDataSet;
};

std::string PropText(rtl::TObject* obj, const char* name, bool preferStrings = false)
{
    const rtl::TPropInfo* p = rtl::GetPropInfo(obj, name);
    return p ? rtl::VarToStr(rtl::GetPropValue(obj, name, preferStrings)) : std::string();
}

} // namespace

TUxDBSortGrid::TUxDBSortGrid(rtl::TComponent* owner) : TUxDBGrid(owner), FValueToSearch(rtl::Variant::Null()) {}

void TUxDBSortGrid::GetSortFieldName(std::string& fieldName)
{
    if (OnGetSortFieldName) OnGetSortFieldName(this, fieldName);
}

void TUxDBSortGrid::SetMultiColSort(bool value)
{
    if (value == FMultiColSort) return;
    FMultiColSort = value;
    if (!value && FSortedFields.size() > 1) Sort({FSortedFields.front()});
}

void TUxDBSortGrid::DoTitleClick(int aCol, db::TField* field)
{
    FSortOK = false;
    try {
        if (field) {
            std::string name = field->FieldName();
            GetSortFieldName(name);
            TSortFields list;
            size_t count = 1;
            bool found = false;
            if (!FSortedFields.empty()) {
                bool extend = FMultiColSort &&
                              (ExtendKeyHeld ? ExtendKeyHeld()
                                             : ((GetKeyState(VK_SHIFT) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000)));
                list = FSortedFields;
                for (auto& entry : list) {
                    if (!rtl::AnsiSameText(entry.Name, name)) continue;
                    found = true;
                    if (!extend) {
                        list = {TSortField{name, !entry.Order}};
                        break;
                    }
                    entry.Order = !entry.Order;
                }
                if (!found && extend) count = FSortedFields.size() + 1;
            }
            if (!found) {
                list.resize(count);
                list.back() = TSortField{name, true};
            }
            Sort(list);
        }
    } catch (...) {
        if (OnTitleBtnClick) OnTitleBtnClick(this, aCol, field);
        throw;
    }
    if (OnTitleBtnClick) OnTitleBtnClick(this, aCol, field);
}

bool TUxDBSortGrid::FindSortIndex(TSortFields& fields, const std::string& sortString, const std::string& descFields)
{
    db::TDataSet* ds = DataSource()->DataSet();
    const rtl::TPropInfo* defsProp = rtl::GetPropInfo(ds, "IndexDefs");
    auto* defs = defsProp ? dynamic_cast<rtl::TCollection*>(defsProp->GetObject(ds)) : nullptr;
    if (!defs) return false;
    for (int i = 0; i < defs->Count(); ++i) {
        rtl::TCollectionItem* def = defs->Items(i);
        if (!rtl::AnsiSameText(PropText(def, "Fields"), sortString)) continue;
        std::string defDesc = PropText(def, "DescFields");
        bool ixDescending = PropText(def, "Options", true).find("ixDescending") != std::string::npos;
        bool fits = false;
        if (!descFields.empty()) {
            if (rtl::AnsiSameText(defDesc, descFields)) {
                fits = true;
            } else if (defDesc.empty() && ixDescending) {
                for (auto& f : fields) f.Order = false;
                fits = true;
            }
        } else {
            fits = defDesc.empty() && !ixDescending;
        }
        if (!fits) continue;
        rtl::SetPropValue(ds, "IndexName", rtl::Variant(PropText(def, "Name")));
        FSortedFields = fields;
        FSortOK = true;
        return true;
    }
    return false;
}

void TUxDBSortGrid::Sort(TSortFields fieldsToSort)
{
    FSortOK = false;
    if (!DataLink()->Active() || fieldsToSort.empty()) return;
    db::TDataSet* ds = DataSource()->DataSet();
    ds->CheckBrowseMode();
    if (OnUserSort) FSortWith = TSortWith::swUserFunc;
    if (FSortWith == TSortWith::swUserFunc && !OnUserSort) throw EUXLDbGridException("Cannot sort. OnUserSort is not assigned");
    if (FSortWith == TSortWith::swIndex && (!rtl::GetPropInfo(ds, "IndexDefs") || !rtl::GetPropInfo(ds, "IndexName")))
        throw EUXLDbGridException("Cannot sort. An index property is missing");
    if (FSortWith == TSortWith::swFields && !rtl::GetPropInfo(ds, "IndexFieldNames"))
        throw EUXLDbGridException("Cannot sort. An index property is missing");
    TBusy busy(ds);
    std::string sortString, descFields;
    for (size_t i = 0; i < fieldsToSort.size(); ++i) {
        TSortField& entry = fieldsToSort[i];
        entry.Name = rtl::Trim(entry.Name);
        if (FSortWith != TSortWith::swWhere) {
            db::TField* f = ds->FieldByName(entry.Name);
            bool valid = OnCheckIfValidSortField
                             ? OnCheckIfValidSortField(this, f)
                             : (!f->IsBlob() && (f->FieldKind() == db::TFieldKind::fkData ||
                                                 f->FieldKind() == db::TFieldKind::fkInternalCalc));
            if (!valid) {
                if (!BeepOnError()) throw EUXLDbGridException("Cannot sort a binary or special field");
                MessageBeep(0);
                continue;
            }
        }
        if (FSortWith == TSortWith::swIndex) {
            sortString += (sortString.empty() ? "" : ";") + entry.Name;
            if (!entry.Order) descFields += (descFields.empty() ? "" : ";") + entry.Name;
        } else {
            if (!sortString.empty()) sortString += ",";
            sortString += FSortWith == TSortWith::swWhere ? entry.Name : "[" + entry.Name + "]";
            sortString += entry.Order ? " ASC" : " DESC";
        }
        if (i + 1 != fieldsToSort.size()) continue;
        switch (FSortWith) {
        case TSortWith::swIndex:
            if (!FindSortIndex(fieldsToSort, sortString, descFields)) {
                if (!OnIndexNotFound) throw EUXLDbGridException("Cannot sort. The corresponding index is missing");
                bool retry = false;
                OnIndexNotFound(this, fieldsToSort, sortString, descFields, retry);
                if (retry && !FindSortIndex(fieldsToSort, sortString, descFields))
                    throw EUXLDbGridException("Cannot sort. The corresponding index is missing");
            }
            break;
        case TSortWith::swUserFunc:
            OnUserSort(this, fieldsToSort, sortString, FSortOK);
            if (FSortOK) FSortedFields = fieldsToSort;
            break;
        case TSortWith::swFields:
        case TSortWith::swWhere:
            rtl::SetPropValue(ds, "IndexFieldNames", rtl::Variant(sortString));
            FSortedFields = fieldsToSort;
            FSortOK = true;
            break;
        }
    }
    Invalidate();
    if (FSortOK && OnAfterSort) OnAfterSort(this);
}

bool TUxDBSortGrid::IsSortedField(const std::string& fieldName) const
{
    if (FSortedFields.empty()) return false;
    std::string name = fieldName;
    const_cast<TUxDBSortGrid*>(this)->GetSortFieldName(name);
    for (const TSortField& f : FSortedFields)
        if (rtl::AnsiSameText(f.Name, name)) {
            const_cast<TUxDBSortGrid*>(this)->SetSortMarkerQuiet(f.Order ? TSortMarker::smUp : TSortMarker::smDown);
            return true;
        }
    return false;
}

// ----------------------------------------------------------- position, search

void TUxDBSortGrid::SaveGridPosition()
{
    if (!DataLink()->Active()) return;
    FSavedBookmark = DataSource()->DataSet()->GetBookmark();
    FSavedRowPos = DataLink()->ActiveRecord();
}

void TUxDBSortGrid::RestoreGridPosition()
{
    if (!DataLink()->Active()) return;
    db::TDataSet* ds = DataSource()->DataSet();
    if (OnRestoreGridPosition) {
        DataLink()->SetActiveRecord(FSavedRowPos);
        OnRestoreGridPosition(this, FSavedBookmark, FSavedRowPos);
    } else if (!FSavedBookmark.empty() && ds->BookmarkValid(FSavedBookmark)) {
        ds->GotoBookmark(FSavedBookmark);
    }
}

bool TUxDBSortGrid::FindValue(int& resultCol, db::TField*& resultField, bool caseSensitive, bool wholeFieldOnly,
                              bool fromCurrent)
{
    if (!DataLink()->Active()) return false;
    db::TDataSet* ds = DataSource()->DataSet();
    TBusy busy(ds);
    SaveGridPosition();
    int startCol = 0;
    if (fromCurrent) startCol = SelectedIndex() + 1;
    else ds->First();
    const std::string text = rtl::VarToStr(FValueToSearch);
    const std::u16string wtext = rtl::UTF8ToUTF16(text);
    while (!ds->Eof()) {
        for (int c = startCol; c < Columns()->Count(); ++c) {
            TColumn* column = Columns()->Items(c);
            db::TField* f = column->Field();
            if (!f) continue;
            for (int s = 0; s < FSearchFields.Count(); ++s) {
                if (!rtl::AnsiSameText(FSearchFields[s], f->FieldName())) continue;
                std::string cell = f->OnGetText ? f->DisplayText() : f->AsString();
                if (cell.empty()) continue;
                std::u16string wcell = rtl::UTF8ToUTF16(cell);
                bool match;
                if (caseSensitive && wholeFieldOnly) match = cell == text;
                else if (caseSensitive) match = ucl::TextFindFrom(wtext, wcell, 1) > 0;
                else if (wholeFieldOnly) match = rtl::AnsiSameText(cell, text);
                else match = ucl::TextSearchNoCase(wtext, wcell, 1) > 0;
                if (match) {
                    resultCol = c + (Options().Contains(TDBGridOption::dgIndicator) ? 1 : 0);
                    resultField = f;
                    return true;
                }
            }
        }
        startCol = 0;
        ds->Next();
    }
    return false;
}

bool TUxDBSortGrid::Search(rtl::Variant& valueToSearch, int& resultCol, db::TField*& resultField, bool caseSensitive,
                           bool wholeFieldOnly, bool focus)
{
    if (FSearchFields.Count() == 0 || valueToSearch.IsNull() || rtl::VarToStr(valueToSearch).empty()) return false;
    FValueToSearch = valueToSearch;
    return FinishSearch(FindValue(resultCol, resultField, caseSensitive, wholeFieldOnly, false), resultCol, focus);
}

bool TUxDBSortGrid::SearchNext(int& resultCol, db::TField*& resultField, bool caseSensitive, bool wholeFieldOnly,
                               bool focus)
{
    if (FSearchFields.Count() == 0 || FValueToSearch.IsNull() || rtl::VarToStr(FValueToSearch).empty()) return false;
    return FinishSearch(FindValue(resultCol, resultField, caseSensitive, wholeFieldOnly, true), resultCol, focus);
}

bool TUxDBSortGrid::FinishSearch(bool found, int resultCol, bool focus)
{
    // A match is shown only with focus; otherwise the grid goes back to
    // where the search started.
    if (found && focus) {
        SetCol(resultCol);
        if (Visible() && CanFocus()) SetFocus();
    } else {
        RestoreGridPosition();
    }
    return found;
}

} // namespace dbgrids
