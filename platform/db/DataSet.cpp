#include "platform/db/DataSet.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/rtl/Strings.h"

namespace db {

namespace {

bool IsNullValue(const TFieldValue& v) { return std::holds_alternative<std::monostate>(v); }

bool IsNumber(const TFieldValue& v)
{
    return std::holds_alternative<int64_t>(v) || std::holds_alternative<long double>(v);
}

long double NumberOf(const TFieldValue& v)
{
    if (auto i = std::get_if<int64_t>(&v)) return static_cast<long double>(*i);
    if (auto f = std::get_if<long double>(&v)) return *f;
    return 0.0L;
}

std::string TextOf(const TFieldValue& v)
{
    if (auto i = std::get_if<int64_t>(&v)) return rtl::IntToStr(*i);
    if (auto f = std::get_if<long double>(&v)) return rtl::FloatToStr(*f);
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return {};
}

// Ordering used by the client sort: null < numbers < texts.
int CompareValues(const TFieldValue& a, const TFieldValue& b)
{
    auto rank = [](const TFieldValue& v) { return IsNullValue(v) ? 0 : IsNumber(v) ? 1 : 2; };
    int ra = rank(a), rb = rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == 0) return 0;
    if (ra == 1) {
        if (std::holds_alternative<int64_t>(a) && std::holds_alternative<int64_t>(b)) {
            int64_t x = std::get<int64_t>(a), y = std::get<int64_t>(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        long double x = NumberOf(a), y = NumberOf(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return rtl::CompareStr(std::get<std::string>(a), std::get<std::string>(b));
}

std::vector<std::string> SplitNames(const std::string& list, const char* separators)
{
    std::vector<std::string> names;
    std::string cur;
    for (char c : list) {
        if (std::string_view(separators).find(c) != std::string_view::npos) {
            names.push_back(rtl::Trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    names.push_back(rtl::Trim(cur));
    return names;
}

} // namespace

// --- TField -----------------------------------------------------------------

TField::TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int size, int index)
    : FDataSet(dataSet), FFieldName(std::move(fieldName)), FDataType(dataType), FSize(size),
      FIndex(index)
{
}

TFieldValue TField::Value() const { return FDataSet->GetFieldValue(this); }

bool TField::IsNull() const { return IsNullValue(Value()); }

long double TField::AsFloat() const
{
    TFieldValue v = Value();
    if (IsNumber(v)) return NumberOf(v);
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t = rtl::Trim(*s);
        return t.empty() ? 0.0L : rtl::StrToFloat(t);
    }
    return 0.0L;
}

int64_t TField::AsLargeInt() const
{
    TFieldValue v = Value();
    if (auto i = std::get_if<int64_t>(&v)) return *i;
    if (auto f = std::get_if<long double>(&v)) {
        if (!std::isfinite(*f) || std::fabs(*f) > 9.2e18L)
            throw rtl::EConvertError("Field '" + FFieldName + "': " + rtl::FloatToStr(*f) +
                                     " is not a valid integer value");
        return static_cast<int64_t>(std::nearbyintl(*f));  // default rounding: ties to even
    }
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t = rtl::Trim(*s);
        return t.empty() ? 0 : rtl::StrToInt64(t);
    }
    return 0;
}

int32_t TField::AsInteger() const
{
    int64_t v = AsLargeInt();
    if (v < INT32_MIN || v > INT32_MAX)
        throw rtl::EConvertError("Field '" + FFieldName + "': " + rtl::IntToStr(v) +
                                 " is not a valid integer value");
    return static_cast<int32_t>(v);
}

bool TField::AsBoolean() const
{
    TFieldValue v = Value();
    if (IsNumber(v)) return NumberOf(v) != 0;
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t = rtl::Trim(*s);
        if (t.empty() || rtl::SameText(t, "False")) return false;
        if (rtl::SameText(t, "True")) return true;
        return rtl::StrToFloat(t) != 0;
    }
    return false;
}

std::string TField::AsString() const { return TextOf(Value()); }

// --- TDataSet ---------------------------------------------------------------

TDataSet::TDataSet(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TDataSet::~TDataSet()
{
    for (TDataSource* source : FDataSources) source->FDataSet = nullptr;
    FDataSources.clear();
}

std::string TDataSet::DisplayName() const { return Name().empty() ? ClassName() : Name(); }

void TDataSet::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(DisplayName() + ": Cannot perform this operation on a closed dataset");
}

void TDataSet::Open()
{
    if (Active()) return;
    ClearFields();
    try {
        InternalOpen();
    } catch (...) {
        ClearFields();
        try { InternalClose(); } catch (...) {}
        throw;
    }
    FState = TDataSetState::dsBrowse;
    SetCurrentIndex(0);
    FBof = true;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    if (AfterOpen) AfterOpen(this);
}

void TDataSet::Close()
{
    if (!Active()) return;
    InternalClose();
    FState = TDataSetState::dsInactive;
    FCurrent = -1;
    FBof = FEof = true;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    ClearFields();
    if (AfterClose) AfterClose(this);
}

void TDataSet::SetActive(bool value)
{
    if (value) Open();
    else Close();
}

TField* TDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError(DisplayName() + ": Field index out of range (" +
                             rtl::IntToStr(index) + ")");
    return FFields[index].get();
}

TField* TDataSet::FindField(const std::string& fieldName) const
{
    for (const auto& f : FFields)
        if (rtl::SameText(f->FieldName(), fieldName)) return f.get();
    return nullptr;
}

TField* TDataSet::FieldByName(const std::string& fieldName) const
{
    TField* f = FindField(fieldName);
    if (!f) throw EDatabaseError(DisplayName() + ": Field '" + fieldName + "' not found");
    return f;
}

std::vector<std::string> TDataSet::FieldNames() const
{
    std::vector<std::string> names;
    for (const auto& f : FFields) names.push_back(f->FieldName());
    return names;
}

TField* TDataSet::AddField(const std::string& name, TFieldType type, int size)
{
    FFields.push_back(std::make_unique<TField>(this, name, type, size, FieldCount()));
    return FFields.back().get();
}

void TDataSet::ClearFields() { FFields.clear(); }

int TDataSet::RecordCount() const { return Active() ? InternalRecordCount() : 0; }

int TDataSet::RecNo() const { return Active() && FCurrent >= 0 ? FCurrent + 1 : 0; }

void TDataSet::SetCurrentIndex(int index)
{
    int n = Active() ? InternalRecordCount() : 0;
    if (n == 0) {
        FCurrent = -1;
        FBof = FEof = true;
        return;
    }
    FCurrent = std::clamp(index, 0, n - 1);
    FBof = FEof = false;
}

void TDataSet::Scrolled(int oldIndex)
{
    if (FCurrent == oldIndex) return;
    DataEvent(TDataEvent::deDataSetScroll);
    if (AfterScroll) AfterScroll(this);
}

void TDataSet::First()
{
    CheckActive();
    int old = FCurrent;
    SetCurrentIndex(0);
    FBof = true;
    Scrolled(old);
}

void TDataSet::Last()
{
    CheckActive();
    int old = FCurrent;
    SetCurrentIndex(InternalRecordCount() - 1);
    FEof = true;
    Scrolled(old);
}

void TDataSet::Next() { MoveBy(1); }

void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int distance)
{
    CheckActive();
    int n = InternalRecordCount();
    int old = FCurrent;
    if (n == 0) {
        FBof = FEof = true;
        return 0;
    }
    int target = FCurrent + distance;
    if (distance > 0) {
        FBof = false;
        if (target >= n) {
            target = n - 1;
            FEof = true;
        } else {
            FEof = false;
        }
    } else if (distance < 0) {
        FEof = false;
        if (target < 0) {
            target = 0;
            FBof = true;
        } else {
            FBof = false;
        }
    }
    FCurrent = target;
    Scrolled(old);
    return FCurrent - old;
}

void TDataSet::SetRecNo(int value)
{
    CheckActive();
    if (value < 1 || value > InternalRecordCount()) return;
    int old = FCurrent;
    SetCurrentIndex(value - 1);
    Scrolled(old);
}

TFieldValue TDataSet::GetFieldValue(const TField* field) const
{
    CheckActive();
    if (FCurrent < 0 || !field) return {};
    return InternalGetValue(FCurrent, field->Index());
}

bool TDataSet::RecordMatches(int recordIndex, const std::vector<TField*>& fields,
                             const std::vector<TFieldValue>& keys, TLocateOptions options) const
{
    const bool partial = options.Contains(TLocateOption::loPartialKey);
    const bool noCase = options.Contains(TLocateOption::loCaseInsensitive);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        TFieldValue v = InternalGetValue(recordIndex, fields[i]->Index());
        const TFieldValue& key = keys[i];
        if (IsNullValue(key)) {
            if (!IsNullValue(v)) return false;
            continue;
        }
        if (IsNullValue(v)) return false;
        if (IsNumber(v)) {
            long double k;
            if (IsNumber(key)) k = NumberOf(key);
            else if (!rtl::TryStrToFloat(rtl::Trim(std::get<std::string>(key)), k)) return false;
            if (NumberOf(v) != k) return false;
            continue;
        }
        std::string text = std::get<std::string>(v);
        std::string keyText = TextOf(key);
        if (noCase) {
            text = rtl::AnsiLowerCase(text);
            keyText = rtl::AnsiLowerCase(keyText);
        }
        if (partial ? text.compare(0, keyText.size(), keyText) != 0 : text != keyText)
            return false;
    }
    return true;
}

bool TDataSet::Locate(const std::string& keyFields, const std::vector<TFieldValue>& keyValues,
                      TLocateOptions options)
{
    CheckActive();
    std::vector<TField*> fields;
    for (const std::string& name : SplitNames(keyFields, ";")) fields.push_back(FieldByName(name));
    if (fields.size() != keyValues.size())
        throw EDatabaseError(DisplayName() + ": Locate on '" + keyFields + "' needs " +
                             rtl::IntToStr(static_cast<int64_t>(fields.size())) + " key values, got " +
                             rtl::IntToStr(static_cast<int64_t>(keyValues.size())));
    int n = InternalRecordCount();
    for (int r = 0; r < n; ++r) {
        if (RecordMatches(r, fields, keyValues, options)) {
            int old = FCurrent;
            SetCurrentIndex(r);
            Scrolled(old);
            return true;
        }
    }
    return false;
}

bool TDataSet::Locate(const std::string& keyField, const TFieldValue& keyValue,
                      TLocateOptions options)
{
    return Locate(keyField, std::vector<TFieldValue>{keyValue}, options);
}

void TDataSet::DataChanged(int newCurrentIndex)
{
    if (!Active()) return;
    SetCurrentIndex(newCurrentIndex);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::DataEvent(TDataEvent event, TField* field)
{
    // A source may detach itself from its handler: walk a copy.
    std::vector<TDataSource*> sources = FDataSources;
    for (TDataSource* source : sources)
        if (std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end())
            source->DataEvent(event, field);
}

void TDataSet::AttachSource(TDataSource* source)
{
    if (std::find(FDataSources.begin(), FDataSources.end(), source) == FDataSources.end())
        FDataSources.push_back(source);
}

void TDataSet::DetachSource(TDataSource* source)
{
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source),
                       FDataSources.end());
}

void TDataSet::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
}

// --- TCustomMemDataSet ------------------------------------------------------

TCustomMemDataSet::TCustomMemDataSet(rtl::TComponent* owner) : TDataSet(owner) {}

void TCustomMemDataSet::DefineField(const std::string& name, TFieldType type, int size)
{
    if (Active())
        throw EDatabaseError(DisplayName() + ": Cannot define field '" + name +
                             "' on an open dataset");
    for (const auto& def : FFieldDefs)
        if (rtl::SameText(def.Name, name))
            throw EDatabaseError(DisplayName() + ": Duplicate field name '" + name + "'");
    FFieldDefs.push_back({name, type, size});
}

void TCustomMemDataSet::ClearFieldDefs()
{
    if (Active()) throw EDatabaseError(DisplayName() + ": Cannot change the fields of an open dataset");
    FFieldDefs.clear();
    FRecords.clear();
    FOrder.clear();
}

void TCustomMemDataSet::AddRecord(std::vector<TFieldValue> values)
{
    if (values.size() != FFieldDefs.size())
        throw EDatabaseError(DisplayName() + ": A record needs " +
                             rtl::IntToStr(static_cast<int64_t>(FFieldDefs.size())) +
                             " values, got " + rtl::IntToStr(static_cast<int64_t>(values.size())));
    FRecords.push_back(std::move(values));
    FOrder.push_back(static_cast<int>(FRecords.size()) - 1);
}

void TCustomMemDataSet::ClearRecords()
{
    FRecords.clear();
    FOrder.clear();
}

void TCustomMemDataSet::InternalOpen()
{
    for (const auto& def : FFieldDefs) AddField(def.Name, def.DataType, def.Size);
    ApplySort();
}

void TCustomMemDataSet::InternalClose() {}

int TCustomMemDataSet::InternalRecordCount() const { return static_cast<int>(FOrder.size()); }

TFieldValue TCustomMemDataSet::InternalGetValue(int recordIndex, int fieldIndex) const
{
    return FRecords[FOrder[recordIndex]][fieldIndex];
}

void TCustomMemDataSet::SetSort(const std::string& sort)
{
    std::string old = FSort;
    FSort = sort;
    if (!Active()) return;
    int stored = CurrentIndex() >= 0 ? FOrder[CurrentIndex()] : -1;
    try {
        ApplySort();
    } catch (...) {
        FSort = old;
        throw;
    }
    int pos = 0;
    if (stored >= 0)
        pos = static_cast<int>(std::find(FOrder.begin(), FOrder.end(), stored) - FOrder.begin());
    DataChanged(pos);
}

void TCustomMemDataSet::ApplySort()
{
    // The keys are checked before the order changes, so that a faulty sort
    // leaves the rows as they were.
    struct Key {
        int Field;
        bool Descending;
    };
    std::vector<Key> keys;
    if (!rtl::Trim(FSort).empty()) {
        for (const std::string& part : SplitNames(FSort, ",;")) {
            if (part.empty()) continue;
            std::string name = part;
            bool desc = false;
            std::size_t blank = part.find_last_of(" \t");
            if (blank != std::string::npos) {
                std::string word = rtl::Trim(part.substr(blank + 1));
                if (rtl::SameText(word, "DESC") || rtl::SameText(word, "ASC")) {
                    desc = rtl::SameText(word, "DESC");
                    name = rtl::Trim(part.substr(0, blank));
                }
            }
            int index = -1;
            for (std::size_t i = 0; i < FFieldDefs.size(); ++i)
                if (rtl::SameText(FFieldDefs[i].Name, name)) index = static_cast<int>(i);
            if (index < 0)
                throw EDatabaseError(DisplayName() + ": Field '" + name + "' not found");
            keys.push_back({index, desc});
        }
    }
    FOrder.resize(FRecords.size());
    std::iota(FOrder.begin(), FOrder.end(), 0);
    if (keys.empty()) return;
    std::stable_sort(FOrder.begin(), FOrder.end(), [&](int a, int b) {
        for (const Key& k : keys) {
            int c = CompareValues(FRecords[a][k.Field], FRecords[b][k.Field]);
            if (c != 0) return k.Descending ? c > 0 : c < 0;
        }
        return false;
    });
}

// --- TMemDataSet ------------------------------------------------------------

void TMemDataSet::AddFieldDef(const std::string& name, TFieldType type, int size)
{
    DefineField(name, type, size);
}

void TMemDataSet::AppendRecord(std::vector<TFieldValue> values)
{
    AddRecord(std::move(values));
    if (Active()) {
        // Keep the cursor on its record; a first record becomes current.
        SetSort(Sort());
    }
}

void TMemDataSet::ClearRecords()
{
    TCustomMemDataSet::ClearRecords();
    DataChanged(0);
}

// --- TDataSource ------------------------------------------------------------

TDataSource::TDataSource(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TDataSource::~TDataSource()
{
    // Quietly: the handlers may belong to objects already gone.
    if (FDataSet) FDataSet->DetachSource(this);
    FDataSet = nullptr;
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == FDataSet) return;
    if (FDataSet) FDataSet->DetachSource(this);
    FDataSet = dataSet;
    if (FDataSet) FDataSet->AttachSource(this);
    if (FEnabled) {
        if (OnStateChange) OnStateChange(this);
        if (OnDataChange) OnDataChange(this, nullptr);
    }
}

void TDataSource::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    if (FEnabled && OnDataChange) OnDataChange(this, nullptr);
}

TDataSetState TDataSource::State() const
{
    return FDataSet && FEnabled ? FDataSet->State() : TDataSetState::dsInactive;
}

void TDataSource::DataEvent(TDataEvent event, TField* field)
{
    if (!FEnabled) return;
    switch (event) {
    case TDataEvent::deUpdateState:
        if (OnStateChange) OnStateChange(this);
        break;
    case TDataEvent::deFieldChange:
        if (OnDataChange) OnDataChange(this, field);
        break;
    default:
        if (OnDataChange) OnDataChange(this, nullptr);
        break;
    }
}

void TDataSource::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
}

} // namespace db
