#include "dbgrids/UxDBUtils.h"

#include <cstdio>

#include "dbgrids/UxAppStorage.h"
#include "dbgrids/UxUtils.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

void TUxDataLink::FocusControl(db::TField** field)
{
    FocusField(field ? *field : nullptr);
}

// --- TUxLocateObject ----------------------------------------------------------

void TUxLocateObject::SetDataSet(db::TDataSet* value)
{
    DataSetChanging();
    FDataSet = value;
}

bool TUxLocateObject::MatchesLookup(db::TField* field) const
{
    std::string text = field->AsString();
    if (!FLookupExact) text = text.substr(0, FLookupValue.size());
    return FCaseSensitive ? text == FLookupValue : rtl::AnsiSameText(text, FLookupValue);
}

bool TUxLocateObject::FilterApplicable()
{
    return FLookupField->FieldKind() == db::TFieldKind::fkData ||
           FLookupField->FieldKind() == db::TFieldKind::fkInternalCalc;
}

bool TUxLocateObject::LocateFilter()
{
    gui::TCursor saved = gui::Screen ? gui::Screen->Cursor() : gui::crDefault;
    if (gui::Screen) gui::Screen->SetCursor(gui::crHourGlass);
    db::TLocateOptions options;
    if (!FCaseSensitive) options.Include(db::TLocateOption::loCaseInsensitive);
    if (!FLookupExact) options.Include(db::TLocateOption::loPartialKey);
    bool found = false;
    try {
        db::TFieldValue key = FLookupValue.empty() ? db::TFieldValue{} : db::TFieldValue{FLookupValue};
        found = FDataSet->Locate(FLookupField->FieldName(), key, options);
    } catch (...) {
        if (gui::Screen) gui::Screen->SetCursor(saved);
        throw;
    }
    if (gui::Screen) gui::Screen->SetCursor(saved);
    return found;
}

bool TUxLocateObject::LocateFull()
{
    FDataSet->First();
    while (!FDataSet->Eof()) {
        if (MatchesLookup(FLookupField)) return true;
        FDataSet->Next();
        if (FDataSet->Eof()) break;
    }
    return false;
}

bool TUxLocateObject::Locate(const std::string& keyField, const std::string& keyValue, bool exact,
                             bool caseSensitive, bool disableControls, bool rightTrimmedLookup)
{
    if (!FDataSet) return false;
    FDataSet->CheckBrowseMode();
    FLookupField = FDataSet->FieldByName(keyField);
    FDataSet->CursorPosChanged();
    FLookupValue = rightTrimmedLookup ? rtl::TrimRight(keyValue) : keyValue;
    FLookupExact = exact;
    FCaseSensitive = caseSensitive;
    const db::TFieldType type = FLookupField->DataType();
    if (type != db::TFieldType::ftString) {
        FCaseSensitive = true;
        try {
            CheckFieldType(FLookupField);
        } catch (...) {
            FLookupField = nullptr;
            FLookupValue.clear();
            return false;
        }
    }
    if (disableControls) FDataSet->DisableControls();
    bool found = false;
    try {
        FBookmark = FDataSet->GetBookmark();
        found = FDataSet->RecordCount() > 0 && MatchesLookup(FLookupField);
        if (!found) {
            if (UseKey()) found = FindByKey();
            else if (FilterApplicable()) found = LocateFilter();
            else found = LocateFull();
            if (!found) TryGotoBookmark(FDataSet, FBookmark);
        }
    } catch (...) {
        FLookupValue.clear();
        FLookupField = nullptr;
        FBookmark.clear();
        if (disableControls) FDataSet->EnableControls();
        throw;
    }
    FLookupValue.clear();
    FLookupField = nullptr;
    FBookmark.clear();
    if (disableControls) FDataSet->EnableControls();
    return found;
}

std::function<std::unique_ptr<TUxLocateObject>()> CreateLocateObjectRoutine;

std::unique_ptr<TUxLocateObject> CreateLocate(db::TDataSet* dataSet)
{
    std::unique_ptr<TUxLocateObject> result =
        CreateLocateObjectRoutine ? CreateLocateObjectRoutine() : std::make_unique<TUxLocateObject>();
    if (result && dataSet) result->SetDataSet(dataSet);
    return result;
}

// --- helpers ------------------------------------------------------------------

bool TryGotoBookmark(db::TDataSet* dataSet, const db::TBookmark& bookmark)
{
    if (!dataSet || !dataSet->Active() || bookmark.empty() || (dataSet->Bof() && dataSet->Eof()) ||
        !dataSet->BookmarkValid(bookmark))
        return false;
    try {
        dataSet->GotoBookmark(bookmark);
        return true;
    } catch (...) {
        return false;
    }
}

bool IsDataSetEmpty(db::TDataSet* dataSet)
{
    return !dataSet || !dataSet->Active() || (dataSet->Bof() && dataSet->Eof());
}

void RaiseDatabaseError(const std::string& message) { throw db::EDatabaseError(message); }

std::string DataSetSection(db::TDataSet* dataSet)
{
    if (!dataSet) return {};
    if (auto* form = dynamic_cast<gui::TCustomForm*>(dataSet->Owner())) return ComponentStorageName(form);
    return dataSet->Name();
}

namespace {

std::string FieldKey(db::TDataSet* dataSet, TUxCustomAppStorage* storage, const std::string& path,
                     db::TField* field)
{
    (void)storage;
    std::string section = path.empty() ? DataSetSection(dataSet) : path;
    return TUxCustomAppStorage::ConcatPaths({section, dataSet->Name() + field->FieldName()});
}

int WordAsInt(const std::string& text, int n, int def)
{
    int64_t v;
    std::string word = NthWord(n, text, ", ");
    return rtl::TryStrToInt64(word, v) && v >= INT32_MIN && v <= INT32_MAX ? static_cast<int>(v) : def;
}

} // namespace

void SaveFieldsLayout(db::TDataSet* dataSet, TUxCustomAppStorage* storage, const std::string& path)
{
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        db::TField* f = dataSet->Fields(i);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d,%d,%d", f->Index(), f->DisplayWidth(), f->Visible() ? 1 : 0);
        storage->WriteString(FieldKey(dataSet, storage, path, f), buf);
    }
}

void RestoreFieldsLayout(db::TDataSet* dataSet, TUxCustomAppStorage* storage, const std::string& path,
                         bool restoreVisible)
{
    struct Item {
        db::TField* Field;
        int Target;
    };
    std::vector<Item> items;
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        db::TField* f = dataSet->Fields(i);
        std::string s = storage->ReadString(FieldKey(dataSet, storage, path, f), "");
        Item item{f, f->Index()};
        if (!s.empty()) {
            item.Target = WordAsInt(s, 1, f->Index());
            f->SetDisplayWidth(WordAsInt(s, 2, f->DisplayWidth()));
            if (restoreVisible) f->SetVisible(WordAsInt(s, 3, f->Visible() ? 1 : 0) != 0);
        }
        items.push_back(item);
    }
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        for (const Item& item : items)
            if (item.Target == i) {
                item.Field->SetIndex(i);
                break;
            }
}

} // namespace dbgrids
