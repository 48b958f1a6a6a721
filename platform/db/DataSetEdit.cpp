// Editing of data sets: the edit buffer, Post / Cancel / Insert / Delete,
// writing fields, calculated and lookup fields, and the memory data set's
// side of it.
#include <algorithm>
#include <cmath>

#include "platform/db/DataSet.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace db {

namespace {

bool IsNullValue(const TFieldValue& v) { return std::holds_alternative<std::monostate>(v); }

std::vector<std::string> SplitKeys(const std::string& list)
{
    std::vector<std::string> names;
    std::string cur;
    for (char c : list + ";") {
        if (c == ';') {
            names.push_back(rtl::Trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return names;
}

// Types kept as a string: texts and bytes.
bool IsTextType(TFieldType t)
{
    switch (t) {
    case TFieldType::ftString: case TFieldType::ftMemo: case TFieldType::ftBlob: case TFieldType::ftUnknown:
    case TFieldType::ftWideString: case TFieldType::ftGraphic: case TFieldType::ftBytes:
    case TFieldType::ftVarBytes: case TFieldType::ftTypedBinary: case TFieldType::ftOraBlob:
    case TFieldType::ftOraClob: case TFieldType::ftFmtMemo: case TFieldType::ftWideMemo:
    case TFieldType::ftFixedWideChar: case TFieldType::ftParadoxOle: case TFieldType::ftDBaseOle:
    case TFieldType::ftCursor: case TFieldType::ftReference: case TFieldType::ftDataSet: case TFieldType::ftADT:
        return true;
    default:
        return false;
    }
}

bool IsWholeType(TFieldType t)
{
    switch (t) {
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftWord:
    case TFieldType::ftAutoInc: case TFieldType::ftLargeint: case TFieldType::ftBoolean:
    case TFieldType::ftShortint: case TFieldType::ftLongWord:
        return true;
    default:
        return false;
    }
}

// The numbers of a date or time text, in order ("2026-12-11 10:05" gives
// 2026 12 11 10 5).
std::vector<int> NumbersIn(const std::string& text)
{
    std::vector<int> out;
    int cur = -1;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            cur = (cur < 0 ? 0 : cur * 10) + (c - '0');
            if (cur > 100000) cur = 100000;
        } else if (cur >= 0) {
            out.push_back(cur);
            cur = -1;
        }
    }
    if (cur >= 0) out.push_back(cur);
    return out;
}

// A date, time or date-time text as days since 1899-12-30.  Dates are
// read year first when the first number has four digits (ISO), otherwise
// in the order the short date text uses; a text that is no valid date or
// time raises EConvertError.
long double ParseDateTime(const TField* field, const std::string& text)
{
    const std::vector<int> n = NumbersIn(text);
    const TFieldType t = field->DataType();
    auto fail = [&]() -> long double {
        throw rtl::EConvertError("'" + text + "' is not a valid " +
                                 (t == TFieldType::ftTime ? "time" : t == TFieldType::ftDate ? "date" : "date and time"));
    };
    size_t at = 0;
    rtl::TDateTime date = 0, time = 0;
    if (t != TFieldType::ftTime) {
        if (n.size() < 3) return fail();
        int y, m, d;
        if (text.find_first_of("0123456789") != std::string::npos && n[0] > 31) {
            y = n[0], m = n[1], d = n[2];
        } else {
            // The order of day, month and year in the short date text.
            const std::string probe = rtl::DateToStr(rtl::EncodeDate(2033, 11, 22));
            const size_t py = probe.find("33"), pm = probe.find("11"), pd = probe.find("22");
            std::vector<std::pair<size_t, char>> order = {{py, 'y'}, {pm, 'm'}, {pd, 'd'}};
            std::sort(order.begin(), order.end());
            int v[3] = {n[0], n[1], n[2]};
            y = m = d = 0;
            for (int i = 0; i < 3; ++i) (order[i].second == 'y' ? y : order[i].second == 'm' ? m : d) = v[i];
            if (y < 100) y += 2000;
        }
        if (!rtl::TryEncodeDate(y, m, d, date)) return fail();
        at = 3;
    }
    if (n.size() > at) {
        const int h = n[at], mi = n.size() > at + 1 ? n[at + 1] : 0, se = n.size() > at + 2 ? n[at + 2] : 0;
        if (!rtl::TryEncodeTime(h, mi, se, 0, time)) return fail();
    } else if (t == TFieldType::ftTime) {
        return fail();
    }
    return static_cast<long double>(date + time);
}

// The value converted to what a field of that type keeps.
TFieldValue Convert(const TField* field, const TFieldValue& value)
{
    if (IsNullValue(value)) return value;
    const TFieldType t = field->DataType();
    if (field->IsDateTime()) {
        if (auto s = std::get_if<std::string>(&value)) {
            std::string text = rtl::Trim(*s);
            if (text.empty()) return {};
            return ParseDateTime(field, text);
        }
        if (auto i = std::get_if<int64_t>(&value)) return static_cast<long double>(*i);
        return value;
    }
    if (IsTextType(t)) {
        if (auto s = std::get_if<std::string>(&value)) return *s;
        if (auto i = std::get_if<int64_t>(&value)) return rtl::IntToStr(*i);
        return rtl::FloatToStr(std::get<long double>(value));
    }
    if (t == TFieldType::ftBoolean) {
        if (auto s = std::get_if<std::string>(&value)) {
            std::string text = rtl::Trim(*s);
            if (text.empty()) return {};
            if (rtl::SameText(text, "True")) return int64_t(1);
            if (rtl::SameText(text, "False")) return int64_t(0);
            return int64_t(rtl::StrToFloat(text) != 0 ? 1 : 0);
        }
        if (auto i = std::get_if<int64_t>(&value)) return int64_t(*i != 0 ? 1 : 0);
        return int64_t(std::get<long double>(value) != 0 ? 1 : 0);
    }
    if (IsWholeType(t)) {
        if (auto s = std::get_if<std::string>(&value)) {
            std::string text = rtl::Trim(*s);
            if (text.empty()) return {};
            return rtl::StrToInt64(text);
        }
        if (auto f = std::get_if<long double>(&value)) {
            if (*f != *f || *f > 9.2e18L || *f < -9.2e18L)
                throw rtl::EConvertError("Field '" + field->FieldName() + "': " + rtl::FloatToStr(*f) +
                                         " is not a valid integer value");
            return static_cast<int64_t>(std::nearbyintl(*f));
        }
        return value;
    }
    // ftFloat
    if (auto s = std::get_if<std::string>(&value)) {
        std::string text = rtl::Trim(*s);
        if (text.empty()) return {};
        return rtl::StrToFloat(text);
    }
    if (auto i = std::get_if<int64_t>(&value)) return static_cast<long double>(*i);
    return value;
}

} // namespace

// --- TField -----------------------------------------------------------------

void TField::SetText(const std::string& text)
{
    if (OnSetText) OnSetText(this, text);
    else SetAsString(text);
}

void TField::SaveToStream(rtl::TStream& stream) const
{
    const std::string bytes = AsString();
    if (!bytes.empty()) stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
}

bool TField::CanModify() const
{
    return FDataSet && FDataSet->CanModify() && !FReadOnly && FFieldKind == TFieldKind::fkData;
}

void TField::SetValue(const TFieldValue& value)
{
    FDataSet->SetFieldValue(this, value);
}

// --- TDataSet: values -------------------------------------------------------

TFieldValue TDataSet::ValueOf(int recordIndex, const TField* field) const
{
    if (field->FCalcIndex >= 0) return CalcValue(recordIndex, field);
    if ((FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) &&
        recordIndex == FCurrent && field->FDataIndex < static_cast<int>(FEditBuffer.size()))
        return FEditBuffer[field->FDataIndex];
    return InternalGetValue(recordIndex, field->FDataIndex);
}

TFieldValue TDataSet::CalcValue(int recordIndex, const TField* field) const
{
    if (FCalculating && FCalcRecord == recordIndex) return FCalcBuffer[field->FCalcIndex];
    // Work out every calculated field of the record: lookups first, then
    // OnCalcFields with the fields reading that record.
    auto* self = const_cast<TDataSet*>(this);
    const bool oldCalculating = FCalculating;
    const int oldRecord = FCalcRecord;
    const int oldOverride = FActiveOverride;
    std::vector<TFieldValue> oldBuffer = std::move(FCalcBuffer);
    FCalcBuffer.assign(FExtraDefs.size(), TFieldValue{});
    FCalculating = true;
    FCalcRecord = recordIndex;
    self->FActiveOverride = recordIndex;
    TFieldValue result;
    try {
        for (const auto& f : FFields) {
            if (f->FFieldKind != TFieldKind::fkLookup || !f->FLookupDataSet ||
                !f->FLookupDataSet->Active())
                continue;
            std::vector<TFieldValue> keys;
            for (const std::string& name : SplitKeys(f->FKeyFields))
                keys.push_back(ValueOf(recordIndex, FieldByName(name)));
            FCalcBuffer[f->FCalcIndex] =
                f->FLookupDataSet->Lookup(f->FLookupKeyFields, keys, f->FLookupResultField);
        }
        if (OnCalcFields) OnCalcFields(self);
        result = FCalcBuffer[field->FCalcIndex];
    } catch (...) {
        FCalculating = oldCalculating;
        FCalcRecord = oldRecord;
        FCalcBuffer = std::move(oldBuffer);
        self->FActiveOverride = oldOverride;
        throw;
    }
    FCalculating = oldCalculating;
    FCalcRecord = oldRecord;
    FCalcBuffer = std::move(oldBuffer);
    self->FActiveOverride = oldOverride;
    return result;
}

void TDataSet::SetFieldValue(TField* field, const TFieldValue& value)
{
    CheckActive();
    if (field->FCalcIndex >= 0) {
        if (!FCalculating)
            throw EDatabaseError("Field '" + field->FieldName() + "' cannot be modified");
        FCalcBuffer[field->FCalcIndex] = Convert(field, value);
        return;
    }
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        throw EDatabaseError(DisplayName() + ": Dataset not in edit or insert mode");
    if (field->ReadOnly())
        throw EDatabaseError("Field '" + field->FieldName() + "' cannot be modified");
    FEditBuffer[field->FDataIndex] = Convert(field, value);
    FModified = true;
    DataEvent(TDataEvent::deFieldChange, field);
}

TFieldValue TDataSet::Lookup(const std::string& keyFields, const std::vector<TFieldValue>& keyValues,
                             const std::string& resultField) const
{
    CheckActive();
    std::vector<TField*> fields;
    for (const std::string& name : SplitKeys(keyFields)) fields.push_back(FieldByName(name));
    TField* result = FieldByName(resultField);
    if (fields.size() != keyValues.size()) return {};
    for (int r = 0, n = InternalRecordCount(); r < n; ++r)
        if (RecordMatches(r, fields, keyValues, {})) return ValueOf(r, result);
    return {};
}

// --- TDataSet: filter ------------------------------------------------------------

void TDataSet::SetFiltered(bool value)
{
    if (value == FFiltered) return;
    if (Active()) CheckBrowseMode();
    FFiltered = value;
    if (Active()) FilterChanged();
}

bool TDataSet::RecordAccepted(int recordIndex)
{
    if (!FFiltered || !OnFilterRecord) return true;
    const int saved = FActiveOverride;
    FActiveOverride = recordIndex;
    bool accept = true;
    try {
        OnFilterRecord(this, accept);
    } catch (...) {
        FActiveOverride = saved;
        throw;
    }
    FActiveOverride = saved;
    return accept;
}

// --- TDataSet: calculated and lookup fields ----------------------------------

void TDataSet::AddCalcField(const std::string& name, TFieldType type, int size)
{
    if (Active())
        throw EDatabaseError(DisplayName() + ": Cannot define field '" + name + "' on an open dataset");
    FExtraDefs.push_back({name, type, size, TFieldKind::fkCalculated, {}, nullptr, {}, {}});
}

void TDataSet::AddLookupField(const std::string& name, TFieldType type, int size,
                              const std::string& keyFields, TDataSet* lookupDataSet,
                              const std::string& lookupKeyFields, const std::string& lookupResultField)
{
    if (Active())
        throw EDatabaseError(DisplayName() + ": Cannot define field '" + name + "' on an open dataset");
    if (!lookupDataSet || lookupDataSet == this)
        throw EDatabaseError(DisplayName() + ": Lookup field '" + name + "' needs another dataset");
    FExtraDefs.push_back({name, type, size, TFieldKind::fkLookup, keyFields, lookupDataSet,
                          lookupKeyFields, lookupResultField});
}

void TDataSet::AddExtraFields()
{
    int slot = 0;
    for (const TExtraFieldDef& def : FExtraDefs) {
        if (FindField(def.Name))
            throw EDatabaseError(DisplayName() + ": Duplicate field name '" + def.Name + "'");
        if (def.Kind == TFieldKind::fkLookup)
            for (const std::string& key : SplitKeys(def.KeyFields)) FieldByName(key);
        TField* f = AddField(def.Name, def.DataType, def.Size);
        f->FDataIndex = -1;
        f->FCalcIndex = slot++;
        f->FFieldKind = def.Kind;
        f->FKeyFields = def.KeyFields;
        f->FLookupDataSet = def.LookupDataSet;
        f->FLookupKeyFields = def.LookupKeyFields;
        f->FLookupResultField = def.LookupResultField;
        f->FReadOnly = false;
    }
}

// --- TDataSet: editing --------------------------------------------------------

void TDataSet::CheckCanModify() const
{
    CheckActive();
    if (!CanModify()) throw EDatabaseError(DisplayName() + ": Cannot modify a read-only dataset");
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    if (FState == TDataSetState::dsInsert && !FModified) Cancel();
    else if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    DataChanged(FCurrent);
}

void TDataSet::Edit()
{
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return;
    CheckCanModify();
    if (InternalRecordCount() == 0) {
        Append();
        return;
    }
    if (BeforeEdit) BeforeEdit(this);
    FActiveOverride = -1;
    // Every column of the record, also those no field shows (persistent
    // fields may cover only some), so posting writes them back unchanged.
    int dataFields = FDataColumnCount;
    for (const auto& f : FFields) dataFields = std::max(dataFields, f->FDataIndex + 1);
    FEditBuffer.assign(dataFields, TFieldValue{});
    for (int i = 0; i < dataFields; ++i) FEditBuffer[i] = InternalGetValue(FCurrent, i);
    FModified = false;
    FState = TDataSetState::dsEdit;
    DataEvent(TDataEvent::deUpdateState);
    if (AfterEdit) AfterEdit(this);
}

void TDataSet::StartInsert(bool atEnd)
{
    CheckBrowseMode();
    CheckCanModify();
    if (BeforeInsert) BeforeInsert(this);
    if (BeforeScroll) BeforeScroll(this);
    int at = atEnd || FCurrent < 0 ? InternalRecordCount() : FCurrent;
    int index = InternalInsert(at);
    int dataFields = FDataColumnCount;
    for (const auto& f : FFields) dataFields = std::max(dataFields, f->FDataIndex + 1);
    FEditBuffer.assign(dataFields, TFieldValue{});
    FState = TDataSetState::dsInsert;
    FModified = false;
    SetCurrentIndex(index);
    if (atEnd) FEof = true;
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    if (OnNewRecord) OnNewRecord(this);
    if (AfterInsert) AfterInsert(this);
    if (AfterScroll) AfterScroll(this);
}

void TDataSet::Insert() { StartInsert(false); }

void TDataSet::Append() { StartInsert(true); }

void TDataSet::Post()
{
    CheckActive();
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
    if (BeforePost) BeforePost(this);
    // A failing store leaves the data set editing, values kept.
    int index = InternalPost(FCurrent, FEditBuffer);
    FState = TDataSetState::dsBrowse;
    FEditBuffer.clear();
    FModified = false;
    SetCurrentIndex(index);
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    if (AfterPost) AfterPost(this);
}

void TDataSet::Cancel()
{
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
    if (BeforeCancel) BeforeCancel(this);
    const bool inserted = FState == TDataSetState::dsInsert;
    FState = TDataSetState::dsBrowse;
    FEditBuffer.clear();
    FModified = false;
    if (inserted) {
        InternalDelete(FCurrent);
        SetCurrentIndex(FCurrent);
    }
    DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
    if (AfterCancel) AfterCancel(this);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    CheckCanModify();
    if (InternalRecordCount() == 0)
        throw EDatabaseError(DisplayName() + ": Cannot perform this operation on an empty dataset");
    if (BeforeDelete) BeforeDelete(this);
    if (FState == TDataSetState::dsEdit) {
        FState = TDataSetState::dsBrowse;
        FEditBuffer.clear();
        FModified = false;
        DataEvent(TDataEvent::deUpdateState);
    }
    InternalDelete(FCurrent);
    SetCurrentIndex(FCurrent);
    DataEvent(TDataEvent::deDataSetChange);
    if (AfterDelete) AfterDelete(this);
}

int TDataSet::InternalInsert(int)
{
    throw EDatabaseError(DisplayName() + ": Cannot modify a read-only dataset");
}

void TDataSet::InternalDelete(int)
{
    throw EDatabaseError(DisplayName() + ": Cannot modify a read-only dataset");
}

int TDataSet::InternalPost(int, const std::vector<TFieldValue>&)
{
    throw EDatabaseError(DisplayName() + ": Cannot modify a read-only dataset");
}

// --- TCustomMemDataSet --------------------------------------------------------

int TCustomMemDataSet::InternalInsert(int index)
{
    index = std::clamp(index, 0, static_cast<int>(FOrder.size()));
    const int stored = static_cast<int>(FRecords.size());
    // In the unsorted order the record goes before the one it displaces.
    auto natural = index < static_cast<int>(FOrder.size())
                       ? std::find(FNatural.begin(), FNatural.end(), FOrder[index])
                       : FNatural.end();
    FNatural.insert(natural, stored);
    FRecords.emplace_back(FFieldDefs.size());
    FDeleted.push_back(false);
    FOrder.insert(FOrder.begin() + index, stored);
    return index;
}

void TCustomMemDataSet::InternalDelete(int index)
{
    int stored = FOrder[index];
    FDeleted[stored] = true;
    FRecords[stored].clear();
    FRecords[stored].shrink_to_fit();
    FOrder.erase(FOrder.begin() + index);
}

int TCustomMemDataSet::InternalPost(int index, const std::vector<TFieldValue>& values)
{
    int stored = FOrder[index];
    std::vector<TFieldValue> record = values;
    record.resize(FFieldDefs.size());
    FRecords[stored] = std::move(record);
    if (rtl::Trim(FSort).empty()) return index;
    ApplySort();
    return static_cast<int>(std::find(FOrder.begin(), FOrder.end(), stored) - FOrder.begin());
}

} // namespace db
