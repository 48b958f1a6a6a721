#include "platform/db/DataSet.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "platform/rtl/DateTime.h"
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
      FIndex(index), FDataIndex(index)
{
    FAlignment = IsNumeric() ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
}

bool TField::IsNumeric() const
{
    switch (FDataType) {
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftWord:
    case TFieldType::ftFloat: case TFieldType::ftAutoInc: case TFieldType::ftLargeint:
    case TFieldType::ftShortint: case TFieldType::ftLongWord: case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd: case TFieldType::ftExtended:
        return true;
    default:
        return false;
    }
}

void TField::PropertyChanged(bool layoutAffected)
{
    if (FDataSet && FDataSet->Active())
        FDataSet->DataEvent(layoutAffected ? TDataEvent::deLayoutChange
                                           : TDataEvent::deDataSetChange);
}

void TField::SetIndex(int value)
{
    if (FDataSet) FDataSet->MoveField(this, value);
}

void TField::SetDisplayLabel(const std::string& value)
{
    if (value == FDisplayLabel) return;
    FDisplayLabel = value;
    PropertyChanged(true);
}

int TField::DisplayWidth() const
{
    if (FDisplayWidth > 0) return FDisplayWidth;
    switch (FDataType) {
    case TFieldType::ftString: return FSize > 0 ? FSize : 20;
    case TFieldType::ftSmallint: return 6;
    case TFieldType::ftWord: case TFieldType::ftBoolean: return 5;
    case TFieldType::ftInteger: case TFieldType::ftAutoInc: return 11;
    case TFieldType::ftLargeint: return 15;
    case TFieldType::ftFloat: return 10;
    default: return 10;
    }
}

void TField::SetDisplayWidth(int value)
{
    if (value == FDisplayWidth) return;
    FDisplayWidth = value;
    PropertyChanged(true);
}

void TField::SetVisible(bool value)
{
    if (value == FVisible) return;
    FVisible = value;
    PropertyChanged(true);
}

void TField::SetAlignment(TAlignment value)
{
    if (value == FAlignment) return;
    FAlignment = value;
    PropertyChanged(false);
}

void TField::SetDisplayFormat(const std::string& value)
{
    if (value == FDisplayFormat) return;
    FDisplayFormat = value;
    PropertyChanged(false);
}

std::string TField::GetText(bool displayText) const
{
    std::string text;
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), text, displayText);
        return text;
    }
    TFieldValue v = Value();
    if (IsNullValue(v)) return text;
    if (FDataType == TFieldType::ftBoolean) return AsBoolean() ? "True" : "False";
    if (IsDateTime() && IsNumber(v)) {
        const rtl::TDateTime dt = static_cast<rtl::TDateTime>(NumberOf(v));
        if (FDataType == TFieldType::ftDate) return rtl::DateToStr(dt);
        if (FDataType == TFieldType::ftTime) return rtl::TimeToStr(dt);
        return rtl::DateTimeToStr(dt);
    }
    if (displayText && !FDisplayFormat.empty() && IsNumeric() && IsNumber(v))
        return rtl::FormatFloat(FDisplayFormat, NumberOf(v));
    return TextOf(v);
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
    // The sources stay; their links are told that the data are gone (the
    // rows of a derived data set are already freed, so no field is read).
    FState = TDataSetState::dsInactive;
    FCurrent = -1;
    std::vector<TDataSource*> sources = FDataSources;
    FDataSources.clear();
    for (TDataSource* source : sources) {
        source->FDataSet = nullptr;
        source->UpdateLinkStates();
    }
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
    if (BeforeOpen) BeforeOpen(this);
    ClearFields();
    // Persistent fields wait aside while InternalOpen makes the default ones.
    std::vector<std::unique_ptr<TField>> persistent = std::move(FFields);
    FFields.clear();
    try {
        InternalOpen();
        BindPersistentFields(persistent);
        AddExtraFields();
    } catch (...) {
        ClearFields();
        for (auto& p : persistent) FFields.push_back(std::move(p));
        for (int i = 0; i < FieldCount(); ++i) FFields[i]->FIndex = i;
        try { InternalClose(); } catch (...) {}
        throw;
    }
    FState = TDataSetState::dsBrowse;
    try {
        ApplyOpenFilter();
    } catch (...) {
        FState = TDataSetState::dsInactive;
        ClearFields();
        try { InternalClose(); } catch (...) {}
        throw;
    }
    SetCurrentIndex(0);
    FBof = true;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    if (AfterOpen) AfterOpen(this);
}

void TDataSet::Close()
{
    if (!Active()) return;
    if (BeforeClose) BeforeClose(this);
    Cancel();
    InternalClose();
    FState = TDataSetState::dsInactive;
    FCurrent = -1;
    FActiveOverride = -1;
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

void TDataSet::MoveField(TField* field, int newIndex)
{
    int n = FieldCount();
    newIndex = std::clamp(newIndex, 0, n - 1);
    int old = field->FIndex;
    if (old == newIndex) return;
    auto item = std::move(FFields[old]);
    FFields.erase(FFields.begin() + old);
    FFields.insert(FFields.begin() + newIndex, std::move(item));
    for (int i = 0; i < n; ++i) FFields[i]->FIndex = i;
    if (Active()) DataEvent(TDataEvent::deLayoutChange);
}

TField* TDataSet::AddField(const std::string& name, TFieldType type, int size)
{
    FFields.push_back(std::make_unique<TField>(this, name, type, size, FieldCount()));
    return FFields.back().get();
}

void TDataSet::ClearFields()
{
    // Persistent fields outlive the open data set.
    std::erase_if(FFields, [](const std::unique_ptr<TField>& f) { return !f->FPersistent; });
    for (int i = 0; i < FieldCount(); ++i) FFields[i]->FIndex = i;
}

TField* TDataSet::CreatePersistentField(const std::string& name, TFieldType type, int size)
{
    if (Active())
        throw EDatabaseError(DisplayName() + ": Cannot define field '" + name + "' on an open dataset");
    if (FindField(name)) throw EDatabaseError(DisplayName() + ": Duplicate field name '" + name + "'");
    TField* f = AddField(name, type, size);
    f->FPersistent = true;
    FHasPersistentFields = true;
    return f;
}

void TDataSet::BindPersistentFields(std::vector<std::unique_ptr<TField>>& persistent)
{
    FDataColumnCount = FieldCount();
    if (persistent.empty()) return;
    // Checked first, moved after: a failure leaves the persistent fields whole.
    std::vector<int> dataIndex;
    for (const auto& p : persistent) {
        const TField* d = FindField(p->FieldName());
        if (!d) throw EDatabaseError(DisplayName() + ": Field '" + p->FieldName() + "' not found");
        if (d->DataType() != p->DataType())
            throw EDatabaseError(DisplayName() + ": Type mismatch for field '" + p->FieldName() + "'");
        dataIndex.push_back(d->FDataIndex);
    }
    FFields.clear();
    for (size_t i = 0; i < persistent.size(); ++i) {
        persistent[i]->FDataIndex = dataIndex[i];
        persistent[i]->FIndex = static_cast<int>(i);
        FFields.push_back(std::move(persistent[i]));
    }
    persistent.clear();
}

int TDataSet::RecordCount() const { return Active() ? InternalRecordCount() : 0; }

int TDataSet::RecNo() const
{
    // A data set without record numbers answers -1 (as the data-aware
    // controls expect of such a data set).
    if (Active() && !IsSequenced()) return -1;
    return Active() && FCurrent >= 0 ? FCurrent + 1 : 0;
}

void TDataSet::SetCurrentIndex(int index)
{
    FActiveOverride = -1;
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
    FActiveOverride = -1;
    if (FCurrent == oldIndex) return;
    DataEvent(TDataEvent::deDataSetScroll);
    if (AfterScroll) AfterScroll(this);
}

void TDataSet::DoBeforeScroll()
{
    CheckBrowseMode();
    if (BeforeScroll) BeforeScroll(this);
}

void TDataSet::First()
{
    CheckActive();
    DoBeforeScroll();
    int old = FCurrent;
    SetCurrentIndex(0);
    FBof = true;
    Scrolled(old);
}

void TDataSet::Last()
{
    CheckActive();
    DoBeforeScroll();
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
    DoBeforeScroll();
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
    DoBeforeScroll();
    int old = FCurrent;
    SetCurrentIndex(value - 1);
    Scrolled(old);
}

TFieldValue TDataSet::GetFieldValue(const TField* field) const
{
    CheckActive();
    int record = FActiveOverride >= 0 ? FActiveOverride : FCurrent;
    if (record < 0 || record >= InternalRecordCount() || !field) return {};
    return ValueOf(record, field);
}

int TDataSet::InternalBookmarkIndex(int64_t key) const
{
    return key >= 0 && key < InternalRecordCount() ? static_cast<int>(key) : -1;
}

namespace {

// A bookmark is the owner's address (so that another data set's bookmark
// is refused) followed by the record key, both little-endian.
TBookmark MakeBookmark(const TDataSet* owner, int64_t key)
{
    TBookmark b(16);
    uint64_t o = reinterpret_cast<uintptr_t>(owner), k = static_cast<uint64_t>(key);
    for (int i = 0; i < 8; ++i) {
        b[i] = static_cast<uint8_t>(o >> (8 * i));
        b[8 + i] = static_cast<uint8_t>(k >> (8 * i));
    }
    return b;
}

bool ReadBookmark(const TDataSet* owner, const TBookmark& b, int64_t& key)
{
    if (b.size() != 16) return false;
    uint64_t o = 0, k = 0;
    for (int i = 0; i < 8; ++i) {
        o |= uint64_t(b[i]) << (8 * i);
        k |= uint64_t(b[8 + i]) << (8 * i);
    }
    if (o != reinterpret_cast<uintptr_t>(owner)) return false;
    key = static_cast<int64_t>(k);
    return true;
}

} // namespace

TBookmark TDataSet::GetBookmark() const
{
    int record = FActiveOverride >= 0 ? FActiveOverride : FCurrent;
    if (!Active() || record < 0 || record >= InternalRecordCount()) return {};
    return MakeBookmark(this, InternalBookmarkKey(record));
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const
{
    int64_t key;
    return Active() && ReadBookmark(this, bookmark, key) && InternalBookmarkIndex(key) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    CheckActive();
    int64_t key;
    int index = ReadBookmark(this, bookmark, key) ? InternalBookmarkIndex(key) : -1;
    if (index < 0) throw EDatabaseError(DisplayName() + ": Record not found");
    DoBeforeScroll();
    int old = FCurrent;
    SetCurrentIndex(index);
    Scrolled(old);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    auto position = [this](const TBookmark& m) {
        int64_t key;
        if (m.empty() || !ReadBookmark(this, m, key)) return -1;
        return InternalBookmarkIndex(key);
    };
    int pa = position(a), pb = position(b);
    return pa < pb ? -1 : pa > pb ? 1 : 0;
}

void TDataSet::DisableControls()
{
    if (FDisableCount++ == 0) {
        FDisableState = FState;
        FEventsMissed = false;
        FLayoutMissed = false;
    }
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0) return;
    if (--FDisableCount > 0) return;
    if (FDisableState != FState) DataEvent(TDataEvent::deUpdateState);
    if (Active() && (FEventsMissed || FDisableState != FState))
        DataEvent(FLayoutMissed ? TDataEvent::deLayoutChange : TDataEvent::deDataSetChange);
}

bool TDataSet::RecordMatches(int recordIndex, const std::vector<TField*>& fields,
                             const std::vector<TFieldValue>& keys, TLocateOptions options) const
{
    const bool partial = options.Contains(TLocateOption::loPartialKey);
    const bool noCase = options.Contains(TLocateOption::loCaseInsensitive);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        TFieldValue v = ValueOf(recordIndex, fields[i]);
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
            DoBeforeScroll();
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
    if (FDisableCount > 0) {
        // Only the fact is kept; EnableControls reports it once.
        if (event != TDataEvent::deUpdateState) FEventsMissed = true;
        if (event == TDataEvent::deLayoutChange) FLayoutMissed = true;
        return;
    }
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

TCustomMemDataSet::TCustomMemDataSet(rtl::TComponent* owner)
    : TDataSet(owner), FIndexDefs(std::make_unique<TIndexDefs>(this))
{
}

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
    FDeleted.clear();
    FNatural.clear();
    FOrder.clear();
}

void TCustomMemDataSet::AddRecord(std::vector<TFieldValue> values)
{
    if (values.size() != FFieldDefs.size())
        throw EDatabaseError(DisplayName() + ": A record needs " +
                             rtl::IntToStr(static_cast<int64_t>(FFieldDefs.size())) +
                             " values, got " + rtl::IntToStr(static_cast<int64_t>(values.size())));
    FRecords.push_back(std::move(values));
    FDeleted.push_back(false);
    FNatural.push_back(static_cast<int>(FRecords.size()) - 1);
    FOrder.push_back(static_cast<int>(FRecords.size()) - 1);
}

void TCustomMemDataSet::ClearRecords()
{
    FRecords.clear();
    FDeleted.clear();
    FNatural.clear();
    FOrder.clear();
}

void TCustomMemDataSet::InternalOpen()
{
    for (const auto& def : FFieldDefs) AddField(def.Name, def.DataType, def.Size);
    ResolveIndexName();
    ApplySort();
}

void TCustomMemDataSet::InternalClose() {}

int TCustomMemDataSet::InternalRecordCount() const { return static_cast<int>(FOrder.size()); }

TFieldValue TCustomMemDataSet::InternalGetValue(int recordIndex, int fieldIndex) const
{
    return FRecords[FOrder[recordIndex]][fieldIndex];
}

int64_t TCustomMemDataSet::InternalBookmarkKey(int recordIndex) const
{
    return FOrder[recordIndex];
}

int TCustomMemDataSet::InternalBookmarkIndex(int64_t key) const
{
    auto it = std::find(FOrder.begin(), FOrder.end(), key);
    return it == FOrder.end() ? -1 : static_cast<int>(it - FOrder.begin());
}

RTL_PUBLISHED(TCustomMemDataSet)
{
    c.Property("IndexFieldNames", &TCustomMemDataSet::IndexFieldNames, &TCustomMemDataSet::SetIndexFieldNames);
    c.Property("IndexDefs", &TCustomMemDataSet::IndexDefs);
    c.Property("IndexName", &TCustomMemDataSet::IndexName, &TCustomMemDataSet::SetIndexName);
}

void TCustomMemDataSet::SetSort(const std::string& sort)
{
    ChangeOrder(sort);
    FIndexName.clear();
}

void TCustomMemDataSet::SetIndexName(const std::string& value)
{
    if (rtl::Trim(value).empty()) {
        ChangeOrder("");
        FIndexName.clear();
        return;
    }
    TIndexDef* def = FIndexDefs->Find(value);
    if (!def && !Active()) {
        // The definitions of a database data set are read when it opens.
        FIndexName = value;
        return;
    }
    if (!def) throw EDatabaseError(DisplayName() + ": Index '" + value + "' not found");
    ChangeOrder(def->SortText());
    FIndexName = def->Name();
}

void TCustomMemDataSet::ResolveIndexName()
{
    if (FIndexName.empty()) return;
    TIndexDef* def = FIndexDefs->Find(FIndexName);
    if (!def) throw EDatabaseError(DisplayName() + ": Index '" + FIndexName + "' not found");
    FSort = def->SortText();
}

void TCustomMemDataSet::Resort() { ChangeOrder(FSort); }

void TCustomMemDataSet::Reorder() { ApplySort(); }

bool TCustomMemDataSet::OrderFromRows(const std::vector<std::vector<TFieldValue>>& rows)
{
    std::map<std::vector<TFieldValue>, std::vector<int>> stored;
    std::size_t live = 0;
    for (std::size_t r = FRecords.size(); r-- > 0;)
        if (!FDeleted[r]) {
            stored[FRecords[r]].push_back(static_cast<int>(r));
            ++live;
        }
    if (live != rows.size()) return false;
    std::vector<int> order;
    order.reserve(rows.size());
    for (const auto& row : rows) {
        auto it = stored.find(row);
        if (it == stored.end() || it->second.empty()) return false;
        order.push_back(it->second.back());  // equal rows keep their stored order
        it->second.pop_back();
    }
    FOrder = std::move(order);
    return true;
}

void TCustomMemDataSet::ChangeOrder(const std::string& sort)
{
    if (Active()) CheckBrowseMode();
    std::string old = FSort;
    FSort = sort;
    if (!Active()) return;
    // The cursor stays on its record: found by its place in the store, or
    // (when the rows were read anew) by its values.
    int stored = CurrentIndex() >= 0 ? FOrder[CurrentIndex()] : -1;
    std::vector<TFieldValue> values = stored >= 0 ? FRecords[stored] : std::vector<TFieldValue>{};
    const std::size_t storedCount = FRecords.size();
    try {
        Reorder();
    } catch (...) {
        FSort = old;
        throw;
    }
    int pos = 0;
    if (stored >= 0) {
        int target = -1;
        if (FRecords.size() == storedCount && FRecords[stored] == values) {
            target = stored;
        } else {
            for (int r : FOrder)
                if (FRecords[r] == values) {
                    target = r;
                    break;
                }
        }
        auto it = std::find(FOrder.begin(), FOrder.end(), target);
        pos = it == FOrder.end() ? 0 : static_cast<int>(it - FOrder.begin());
    }
    DataChanged(pos);
}

std::vector<TCustomMemDataSet::TSortKey> TCustomMemDataSet::ParseSort(const std::string& sort)
{
    std::vector<TSortKey> keys;
    if (rtl::Trim(sort).empty()) return keys;
    for (const std::string& part : SplitNames(sort, ",;")) {
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
        if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
            name = rtl::Trim(name.substr(1, name.size() - 2));
        keys.push_back({name, desc});
    }
    return keys;
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
    for (const TSortKey& key : ParseSort(FSort)) {
        int index = -1;
        for (std::size_t i = 0; i < FFieldDefs.size(); ++i)
            if (rtl::SameText(FFieldDefs[i].Name, key.Name)) index = static_cast<int>(i);
        if (index < 0)
            throw EDatabaseError(DisplayName() + ": Field '" + key.Name + "' not found");
        keys.push_back({index, key.Descending});
    }
    FOrder = FNatural;
    FOrder.erase(std::remove_if(FOrder.begin(), FOrder.end(), [this](int r) { return FDeleted[r]; }),
                 FOrder.end());
    if (!keys.empty() && !SortsOnServer())
        std::stable_sort(FOrder.begin(), FOrder.end(), [&](int a, int b) {
            for (const Key& k : keys) {
                int c = CompareValues(FRecords[a][k.Field], FRecords[b][k.Field]);
                if (c != 0) return k.Descending ? c > 0 : c < 0;
            }
            return false;
        });
    if (Filtered() && OnFilterRecord && Active()) {
        // Judged in display order, the fields reading each record in turn.
        std::vector<int> kept;
        for (int i = 0; i < static_cast<int>(FOrder.size()); ++i)
            if (RecordAccepted(i)) kept.push_back(FOrder[i]);
        FOrder = std::move(kept);
    }
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
        Resort();
    }
}

void TMemDataSet::ClearRecords()
{
    if (Active()) Cancel();
    TCustomMemDataSet::ClearRecords();
    DataChanged(0);
}

// --- TDataSource ------------------------------------------------------------

TDataSource::TDataSource(rtl::TComponent* owner) : rtl::TComponent(owner) {}

TDataSource::~TDataSource()
{
    // Quietly for the events: their handlers may belong to objects already
    // gone.  The links (whose controls are still there, or they would have
    // left) hear that they lost their data.
    if (FDataSet) FDataSet->DetachSource(this);
    FDataSet = nullptr;
    std::vector<TDataLink*> links = FDataLinks;
    FDataLinks.clear();
    for (TDataLink* link : links) {
        link->FDataSource = nullptr;
        link->UpdateState();
    }
}

void TDataSource::UpdateLinkStates()
{
    std::vector<TDataLink*> links = FDataLinks;
    for (TDataLink* link : links)
        if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
            link->UpdateState();
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == FDataSet) return;
    if (FDataSet) FDataSet->DetachSource(this);
    FDataSet = dataSet;
    if (FDataSet) FDataSet->AttachSource(this);
    UpdateLinkStates();
    if (FEnabled) {
        if (OnStateChange) OnStateChange(this);
        if (OnDataChange) OnDataChange(this, nullptr);
    }
}

void TDataSource::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateLinkStates();
    if (FEnabled && OnDataChange) OnDataChange(this, nullptr);
}

TDataSetState TDataSource::State() const
{
    return FDataSet && FEnabled ? FDataSet->State() : TDataSetState::dsInactive;
}

void TDataSource::DataEvent(TDataEvent event, TField* field)
{
    if (!FEnabled) return;
    std::vector<TDataLink*> links = FDataLinks;
    for (TDataLink* link : links)
        if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
            link->DataEvent(event, field);
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

// --- TDataLink ----------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    // Quietly: the control that owns the link is going.
    if (FDataSource) {
        auto& links = FDataSource->FDataLinks;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    FDataSource = nullptr;
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == FDataSource) return;
    if (FDataSource) {
        auto& links = FDataSource->FDataLinks;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    FDataSource = source;
    if (FDataSource) FDataSource->FDataLinks.push_back(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

bool TDataLink::Editing() const
{
    TDataSet* ds = DataSet();
    return FActive && ds &&
           (ds->State() == TDataSetState::dsEdit || ds->State() == TDataSetState::dsInsert);
}

void TDataLink::SlideWindow()
{
    TDataSet* ds = DataSet();
    int n = ds ? ds->RecordCount() : 0;
    int cur = ds ? ds->FCurrent : -1;
    if (n == 0 || cur < 0) {
        FFirstRecord = 0;
        return;
    }
    if (cur < FFirstRecord) FFirstRecord = cur;
    else if (cur >= FFirstRecord + FBufferCount) FFirstRecord = cur - FBufferCount + 1;
    // Near the end the window stays full, as far as there are records.
    if (FFirstRecord + FBufferCount > n) FFirstRecord = std::max(0, n - FBufferCount);
    FFirstRecord = std::min(FFirstRecord, cur);
}

void TDataLink::SetBufferCount(int value)
{
    FBufferCount = std::max(1, value);
    if (FActive) SlideWindow();
}

int TDataLink::ActiveRecord() const
{
    TDataSet* ds = DataSet();
    if (!FActive || !ds) return 0;
    int record = ds->FActiveOverride >= 0 ? ds->FActiveOverride : ds->FCurrent;
    return record < 0 ? 0 : record - FFirstRecord;
}

void TDataLink::SetActiveRecord(int value)
{
    TDataSet* ds = DataSet();
    if (!FActive || !ds) return;
    int record = FFirstRecord + value;
    ds->FActiveOverride = record == ds->FCurrent ? -1 : record;
}

int TDataLink::RecordCount() const
{
    TDataSet* ds = DataSet();
    if (!FActive || !ds) return 0;
    return std::clamp(ds->RecordCount() - FFirstRecord, 0, FBufferCount);
}

bool TDataLink::Eof() const
{
    TDataSet* ds = DataSet();
    return !FActive || !ds || ds->Eof();
}

bool TDataLink::Bof() const
{
    TDataSet* ds = DataSet();
    return !FActive || !ds || ds->Bof();
}

int TDataLink::MoveBy(int distance)
{
    return FActive ? DataSet()->MoveBy(distance) : 0;
}

bool TDataLink::Edit()
{
    TDataSet* ds = DataSet();
    if (FReadOnly || !FActive || !ds || !ds->CanModify()) return false;
    if (!Editing()) ds->Edit();
    return Editing();
}

void TDataLink::UpdateRecord()
{
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TDataLink::DataSetChanged() { RecordChanged(nullptr); }

void TDataLink::DataSetScrolled(int distance)
{
    (void)distance;
    DataSetChanged();
}

void TDataLink::LayoutChanged() { DataSetChanged(); }

void TDataLink::UpdateState()
{
    TDataSet* ds = DataSet();
    bool active = FDataSource && FDataSource->Enabled() && ds && ds->Active();
    if (active != FActive) {
        FActive = active;
        FEditing = Editing();
        if (FActive) {
            FFirstRecord = ds->FCurrent < 0 ? 0 : ds->FCurrent;
            SlideWindow();
        } else {
            FFirstRecord = 0;
        }
        ActiveChanged();
        return;
    }
    bool editing = Editing();
    if (editing != FEditing) {
        FEditing = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent event, TField* field)
{
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (!FActive) return;
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!FUpdating) RecordChanged(field);
        break;
    case TDataEvent::deDataSetScroll: {
        int old = FFirstRecord;
        SlideWindow();
        DataSetScrolled(FFirstRecord - old);
        break;
    }
    case TDataEvent::deDataSetChange:
        SlideWindow();
        DataSetChanged();
        break;
    case TDataEvent::deLayoutChange:
        SlideWindow();
        LayoutChanged();
        break;
    default:
        break;
    }
}

} // namespace db
