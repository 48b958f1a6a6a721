// Typed values of the application storage: the public operations resolve
// the path, the *Resolved operations of the target store convert to and
// from the back-end's primitive forms under the target's options.
#include "dbgrids/UxAppStorage.h"

#include <cctype>

#include "dbgrids/UxTranslateString.h"
#include "dbgrids/ucl/UclMime.h"
#include "dbgrids/ucl/UclRTTI.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/IdentMaps.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using rtl::TTypeKind;

namespace {

const char kNotKnown[] = " #!@not known@!# ";

// A 32-bit integer read back into the value range of its type (colours
// are unsigned).
int64_t Widen(const rtl::TTypeInfo* type, int32_t v)
{
    return type->OrdType == rtl::TOrdType::otULong ? static_cast<int64_t>(static_cast<uint32_t>(v)) : v;
}

bool IsEnumSet(const rtl::TTypeInfo* type)
{
    return type && type->Kind == TTypeKind::tkSet && type->CompType &&
           type->CompType->Kind == TTypeKind::tkEnumeration;
}

// Reads a date-time text under the given settings: the numbers of the date
// in the order of ShortDateFormat, then hours, minutes and seconds.
bool TryParseDateTime(const std::string& text, const rtl::TFormatSettings& fs, rtl::TDateTime& result)
{
    std::vector<int> nums;
    std::string cur;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            cur += c;
        } else if (!cur.empty()) {
            nums.push_back(std::stoi(cur.substr(0, 9)));
            cur.clear();
        }
    }
    if (!cur.empty()) nums.push_back(std::stoi(cur.substr(0, 9)));
    if (nums.size() < 3) return false;
    std::string order;
    for (char c : rtl::LowerCase(fs.ShortDateFormat))
        if ((c == 'y' || c == 'm' || c == 'd') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) return false;
    int y = 0, m = 0, d = 0;
    for (size_t i = 0; i < 3; ++i) (order[i] == 'y' ? y : order[i] == 'm' ? m : d) = nums[i];
    if (y < 100) y += 2000;
    rtl::TDateTime date = 0, time = 0;
    if (!rtl::TryEncodeDate(y, m, d, date)) return false;
    int h = nums.size() > 3 ? nums[3] : 0, n = nums.size() > 4 ? nums[4] : 0, s = nums.size() > 5 ? nums[5] : 0;
    if (!rtl::TryEncodeTime(h, n, s, 0, time)) return false;
    result = date >= 0 ? date + time : date - time;
    return true;
}

} // namespace

// ---------------------------------------------------------------- helpers

template <typename T, typename F>
T TUxCustomAppStorage::UnderConversionRule(T def, F&& read)
{
    try {
        return read();
    } catch (const rtl::EConvertError&) {
        if (FStorageOptions->DefaultIfReadConvertError()) return def;
        throw;
    }
}

std::string TUxCustomAppStorage::EncryptValue(const std::string& value)
{
    if (!OnEncryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
    std::string v = value;
    OnEncryptPropertyValue(v);
    return ucl::MimeEncodeText(rtl::UTF8ToCodePage(v, rtl::SystemCodePage()));
}

std::string TUxCustomAppStorage::DecryptValue(const std::string& value)
{
    if (!OnDecryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
    std::string v = rtl::CodePageToUTF8(ucl::MimeDecodeText(rtl::UTF8ToCodePage(value, rtl::SystemCodePage())),
                                        rtl::SystemCodePage());
    OnDecryptPropertyValue(v);
    return v;
}

const rtl::TFormatSettings& TUxCustomAppStorage::StorageFormatSettings()
{
    if (!IsUpdating()) {
        CachedFormatSettings = rtl::TFormatSettings();
        if (TUxTranslateString* t = ActiveTranslateStringEngine()) {
            if (!t->DateFormat().empty()) CachedFormatSettings.ShortDateFormat = CachedFormatSettings.LongDateFormat = t->DateFormat();
            if (!t->TimeFormat().empty()) CachedFormatSettings.ShortTimeFormat = CachedFormatSettings.LongTimeFormat = t->TimeFormat();
        }
    }
    return CachedFormatSettings;
}

std::string TUxCustomAppStorage::DateTimeToText(rtl::TDateTime value)
{
    const rtl::TFormatSettings& fs =
        FStorageOptions->UseTranslateStringEngineDateTimeFormats() ? StorageFormatSettings() : rtl::FormatSettings();
    return rtl::FormatDateTime(fs.ShortDateFormat + " " + fs.LongTimeFormat, value);
}

rtl::TDateTime TUxCustomAppStorage::TextToDateTime(const std::string& text)
{
    rtl::TDateTime r = 0;
    if (FStorageOptions->UseTranslateStringEngineDateTimeFormats() && TryParseDateTime(text, StorageFormatSettings(), r))
        return r;
    if (TryParseDateTime(text, rtl::FormatSettings(), r)) return r;
    throw rtl::EConvertError("'" + text + "' is not a valid date and time");
}

std::string TUxCustomAppStorage::GetCharName(char ch) const
{
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 33 && c <= 122) return std::string("Char_") + ch;
    return "Char#" + std::to_string(c);
}

std::string TUxCustomAppStorage::GetIntName(int32_t value) const
{
    return "Int_" + std::to_string(value);
}

// --------------------------------------------------------- public typed ops

#define UX_READ(Type, Name, ...)                                                  \
    {                                                                             \
        TUxCustomAppStorage* s;                                                   \
        std::string p;                                                            \
        ResolvePath(path, s, p);                                                  \
        return s->Name##Resolved(p, __VA_ARGS__);                                 \
    }
#define UX_WRITE(Name, ...)                                                       \
    {                                                                             \
        TUxCustomAppStorage* s;                                                   \
        std::string p;                                                            \
        ResolvePath(path, s, p);                                                  \
        if (s->ReadOnly()) return;                                                \
        s->Name##Resolved(p, __VA_ARGS__);                                        \
    }

int32_t TUxCustomAppStorage::ReadInteger(const std::string& path, int32_t def) UX_READ(int32_t, ReadInteger, def)
void TUxCustomAppStorage::WriteInteger(const std::string& path, int32_t value) UX_WRITE(WriteInteger, value)
long double TUxCustomAppStorage::ReadFloat(const std::string& path, long double def) UX_READ(long double, ReadFloat, def)
void TUxCustomAppStorage::WriteFloat(const std::string& path, long double value) UX_WRITE(WriteFloat, value)
std::string TUxCustomAppStorage::ReadString(const std::string& path, const std::string& def) UX_READ(std::string, ReadString, def)
void TUxCustomAppStorage::WriteString(const std::string& path, const std::string& value) UX_WRITE(WriteString, value)
int TUxCustomAppStorage::ReadBinary(const std::string& path, void* buf, int bufSize) UX_READ(int, ReadBinary, buf, bufSize)
void TUxCustomAppStorage::WriteBinary(const std::string& path, const void* buf, int bufSize) UX_WRITE(WriteBinary, buf, bufSize)
rtl::TDateTime TUxCustomAppStorage::ReadDateTime(const std::string& path, rtl::TDateTime def) UX_READ(rtl::TDateTime, ReadDateTime, def)
void TUxCustomAppStorage::WriteDateTime(const std::string& path, rtl::TDateTime value) UX_WRITE(WriteDateTime, value)
bool TUxCustomAppStorage::ReadBoolean(const std::string& path, bool def) UX_READ(bool, ReadBoolean, def)
void TUxCustomAppStorage::WriteBoolean(const std::string& path, bool value) UX_WRITE(WriteBoolean, value)
int64_t TUxCustomAppStorage::ReadEnumeration(const std::string& path, const rtl::TTypeInfo* type, int64_t def)
    UX_READ(int64_t, ReadEnumeration, type, def)
void TUxCustomAppStorage::WriteEnumeration(const std::string& path, const rtl::TTypeInfo* type, int64_t value)
    UX_WRITE(WriteEnumeration, type, value)
uint64_t TUxCustomAppStorage::ReadSet(const std::string& path, const rtl::TTypeInfo* type, uint64_t def)
    UX_READ(uint64_t, ReadSet, type, def)
void TUxCustomAppStorage::WriteSet(const std::string& path, const rtl::TTypeInfo* type, uint64_t value)
    UX_WRITE(WriteSet, type, value)
#undef UX_READ
#undef UX_WRITE

std::u16string TUxCustomAppStorage::ReadWideString(const std::string& path, const std::u16string& def)
{
    return NativeReadWideString(path, def);
}

void TUxCustomAppStorage::WriteWideString(const std::string& path, const std::u16string& value)
{
    NativeWriteWideString(path, value);
}

std::u16string TUxCustomAppStorage::NativeReadWideString(const std::string& path, const std::u16string& def)
{
    return rtl::UTF8ToUTF16(ReadString(path, rtl::UTF16ToUTF8(def)));
}

void TUxCustomAppStorage::NativeWriteWideString(const std::string& path, const std::u16string& value)
{
    WriteString(path, rtl::UTF16ToUTF8(value));
}

rtl::TDateTime TUxCustomAppStorage::NativeReadDateTime(const std::string& path, rtl::TDateTime def)
{
    return static_cast<rtl::TDateTime>(NativeReadFloat(path, def));
}

void TUxCustomAppStorage::NativeWriteDateTime(const std::string& path, rtl::TDateTime value)
{
    NativeWriteFloat(path, value);
}

bool TUxCustomAppStorage::NativeReadBoolean(const std::string& path, bool def)
{
    return NativeReadInteger(path, def ? 1 : 0) != 0;
}

void TUxCustomAppStorage::NativeWriteBoolean(const std::string& path, bool value)
{
    NativeWriteInteger(path, value ? 1 : 0);
}

// ---------------------------------------------------------- resolved ops

int32_t TUxCustomAppStorage::ReadIntegerResolved(const std::string& path, int32_t def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    return UnderConversionRule(def, [&] { return NativeReadInteger(path, def); });
}

void TUxCustomAppStorage::WriteIntegerResolved(const std::string& path, int32_t value)
{
    NativeWriteInteger(path, value);
}

long double TUxCustomAppStorage::ReadFloatResolved(const std::string& path, long double def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    auto asText = [&] { return rtl::StrToFloat(DecryptValue(NativeReadString(path, EncryptValue(rtl::FloatToStr(def))))); };
    return UnderConversionRule(def, [&]() -> long double {
        if (FStorageOptions->FloatAsString()) {
            try {
                return asText();
            } catch (const rtl::EConvertError&) {
                return NativeReadFloat(path, def);
            }
        }
        try {
            return NativeReadFloat(path, def);
        } catch (const rtl::EConvertError&) {
            return asText();
        }
    });
}

void TUxCustomAppStorage::WriteFloatResolved(const std::string& path, long double value)
{
    if (FStorageOptions->FloatAsString()) NativeWriteString(path, EncryptValue(rtl::FloatToStr(value)));
    else NativeWriteFloat(path, value);
}

std::string TUxCustomAppStorage::ReadStringResolved(const std::string& path, const std::string& def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    return UnderConversionRule(def, [&] { return DecryptValue(NativeReadString(path, EncryptValue(def))); });
}

void TUxCustomAppStorage::WriteStringResolved(const std::string& path, const std::string& value)
{
    NativeWriteString(path, EncryptValue(value));
}

int TUxCustomAppStorage::ReadBinaryResolved(const std::string& path, void* buf, int bufSize)
{
    return NativeReadBinary(path, buf, bufSize);
}

void TUxCustomAppStorage::WriteBinaryResolved(const std::string& path, const void* buf, int bufSize)
{
    NativeWriteBinary(path, buf, bufSize);
}

rtl::TDateTime TUxCustomAppStorage::ReadDateTimeResolved(const std::string& path, rtl::TDateTime def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    auto asText = [&] { return TextToDateTime(DecryptValue(NativeReadString(path, EncryptValue(DateTimeToText(def))))); };
    return UnderConversionRule(def, [&]() -> rtl::TDateTime {
        if (FStorageOptions->DateTimeAsString()) {
            try {
                return asText();
            } catch (const rtl::EConvertError&) {
                return NativeReadDateTime(path, def);
            }
        }
        try {
            return NativeReadDateTime(path, def);
        } catch (const rtl::EConvertError&) {
            return asText();
        }
    });
}

void TUxCustomAppStorage::WriteDateTimeResolved(const std::string& path, rtl::TDateTime value)
{
    if (FStorageOptions->DateTimeAsString()) NativeWriteString(path, EncryptValue(DateTimeToText(value)));
    else NativeWriteFloat(path, value);
}

bool TUxCustomAppStorage::ReadBooleanResolved(const std::string& path, bool def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    return UnderConversionRule(def, [&]() -> bool {
        if (!FStorageOptions->BooleanAsString()) return NativeReadBoolean(path, def);
        try {
            std::string d = def ? FStorageOptions->DefaultTrueString() : FStorageOptions->DefaultFalseString();
            std::string s = DecryptValue(NativeReadString(path, EncryptValue(d)));
            if (FStorageOptions->IsValueTrueString(s)) return true;
            if (FStorageOptions->IsValueFalseString(s)) return false;
            return NativeReadBoolean(path, def);
        } catch (const rtl::EConvertError&) {
            return NativeReadBoolean(path, def);
        }
    });
}

void TUxCustomAppStorage::WriteBooleanResolved(const std::string& path, bool value)
{
    if (FStorageOptions->BooleanAsString())
        NativeWriteString(path, EncryptValue(value ? FStorageOptions->DefaultTrueString() : FStorageOptions->DefaultFalseString()));
    else
        NativeWriteBoolean(path, value);
}

int64_t TUxCustomAppStorage::ReadEnumerationResolved(const std::string& path, const rtl::TTypeInfo* type, int64_t def)
{
    if (!NativeValueExists(path) && FStorageOptions->DefaultIfValueNotExists()) return def;
    return UnderConversionRule(def, [&]() -> int64_t {
        int64_t ord = def;
        if (type->IsBoolean()) return ReadBooleanResolved(path, ord != 0) ? 1 : 0;
        switch (type->Kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkInt64:
            if (rtl::TIdentToInt toInt = rtl::FindIdentToInt(type)) {
                bool saved = FStorageOptions->DefaultIfReadConvertError();
                FStorageOptions->SetDefaultIfReadConvertError(true);
                std::string s;
                try {
                    s = ReadStringResolved(path, "");
                } catch (...) {
                    FStorageOptions->SetDefaultIfReadConvertError(saved);
                    throw;
                }
                FStorageOptions->SetDefaultIfReadConvertError(saved);
                int32_t v = 0;
                if (!s.empty() && toInt(s, v)) return Widen(type, v);
            }
            return Widen(type, ReadIntegerResolved(path, static_cast<int32_t>(ord)));
        case TTypeKind::tkChar:
        case TTypeKind::tkWChar: return ReadIntegerResolved(path, static_cast<int32_t>(ord));
        case TTypeKind::tkEnumeration: {
            std::string s = ReadStringResolved(path, kNotKnown);
            int64_t v = rtl::GetEnumValue(type, s);
            if (v >= 0) return v;
            v = ReadIntegerResolved(path, -1);
            return v == -1 ? def : v;
        }
        default: throw EUXLAppStorageError("Invalid type");
        }
    });
}

void TUxCustomAppStorage::WriteEnumerationResolved(const std::string& path, const rtl::TTypeInfo* type, int64_t value)
{
    if (type->IsBoolean()) {
        WriteBooleanResolved(path, value != 0);
        return;
    }
    switch (type->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: {
        std::string name;
        rtl::TIntToIdent toIdent = rtl::FindIntToIdent(type);
        if (FStorageOptions->TypedIntegerAsString() && toIdent && toIdent(static_cast<int32_t>(value), name))
            WriteStringResolved(path, name);
        else
            WriteIntegerResolved(path, static_cast<int32_t>(value));
        return;
    }
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar: WriteIntegerResolved(path, static_cast<int32_t>(value)); return;
    case TTypeKind::tkEnumeration:
        if (FStorageOptions->EnumerationAsString()) WriteStringResolved(path, rtl::GetEnumName(type, value));
        else WriteIntegerResolved(path, static_cast<int32_t>(value));
        return;
    default: throw EUXLAppStorageError("Invalid type");
    }
}

uint64_t TUxCustomAppStorage::ReadSetResolved(const std::string& path, const rtl::TTypeInfo* type, uint64_t def)
{
    if (!IsEnumSet(type)) throw EUXLAppStorageError("Unknown base type for given set");
    if (NativeIsFolder(path, true)) {
        const auto& names = type->CompType->EnumNames;
        uint64_t mask = 0;
        for (size_t m = 0; m < names.size() && m < 64; ++m)
            if (ReadBooleanResolved(path + "\\" + names[m], false)) mask |= uint64_t(1) << m;
        return mask;
    }
    return ucl::TextToSet(type, ReadStringResolved(path, ucl::SetToText(type, def, true, false)));
}

void TUxCustomAppStorage::WriteSetResolved(const std::string& path, const rtl::TTypeInfo* type, uint64_t value)
{
    if (!IsEnumSet(type)) throw EUXLAppStorageError("Unknown base type for given set");
    if (FStorageOptions->SetAsString()) {
        WriteStringResolved(path, ucl::SetToText(type, value, true, false));
        return;
    }
    const auto& names = type->CompType->EnumNames;
    for (size_t m = 0; m < names.size() && m < 64; ++m)
        WriteBooleanResolved(path + "\\" + names[m], (value >> m) & 1);
}

} // namespace dbgrids
