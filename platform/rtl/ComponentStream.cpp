#include "platform/rtl/ComponentStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/rtl/Collections.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Strings.h"

namespace rtl {

// --- 10-byte extended ---------------------------------------------------------

void ExtendedToBytes(long double value, uint8_t out[10])
{
    uint64_t mantissa = 0;
    unsigned exponent = 0;
    bool negative = std::signbit(value);
    long double a = std::fabs(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ULL;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ULL;
    } else if (a != 0) {
        int e = 0;
        long double m = std::frexp(a, &e);  // a = m * 2^e, 0.5 <= m < 1
        int biased = e - 1 + 16383;
        if (biased >= 0x7FFF) {
            exponent = 0x7FFF;
            mantissa = 0x8000000000000000ULL;
        } else if (biased <= 0) {
            // Denormal: value = mantissa * 2^(1 - 16383 - 63).
            mantissa = static_cast<uint64_t>(std::ldexp(a, 16382 + 63));
        } else {
            exponent = static_cast<unsigned>(biased);
            mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        }
    }
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    unsigned top = exponent | (negative ? 0x8000u : 0u);
    out[8] = static_cast<uint8_t>(top & 0xFF);
    out[9] = static_cast<uint8_t>(top >> 8);
}

long double BytesToExtended(const uint8_t in[10])
{
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | in[i];
    unsigned top = in[8] | (static_cast<unsigned>(in[9]) << 8);
    bool negative = top & 0x8000;
    int exponent = static_cast<int>(top & 0x7FFF);
    long double v;
    if (exponent == 0x7FFF) {
        v = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    } else if (exponent == 0) {
        v = std::ldexp(static_cast<long double>(mantissa), 1 - 16383 - 63);
    } else {
        v = std::ldexp(static_cast<long double>(mantissa), exponent - 16383 - 63);
    }
    return negative ? -v : v;
}

TValueType StringValueType(const std::string& utf8)
{
    std::u16string units = UTF8ToUTF16(utf8);
    bool high = false;
    for (char16_t c : units)
        if (c >= 128) high = true;
    if (!high) return units.size() <= 255 ? TValueType::vaString : TValueType::vaLString;
    return utf8.size() < 2 * units.size() ? TValueType::vaUTF8String : TValueType::vaWString;
}

namespace {

template <typename T>
void PutLE(std::string& out, T v)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out += static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF);
}

// Stored data of the runtime's own string list: its lines as a list.
void DefineListStrings(TPersistent* instance, TFiler& filer)
{
    auto* list = dynamic_cast<TStringList*>(instance);
    if (!list) return;
    filer.DefineProperty(
        "Strings",
        [list](TReader& r) {
            list->BeginUpdate();
            list->Clear();
            r.ReadListBegin();
            while (!r.EndOfList()) list->Add(r.ReadString());
            r.ReadListEnd();
            list->EndUpdate();
        },
        [list](TWriter& w) {
            w.WriteListBegin();
            for (int i = 0; i < list->Count(); ++i) w.WriteString(list->Strings(i));
            w.WriteListEnd();
        },
        list->Count() > 0);
}

void DefineAll(TPersistent* instance, TFiler& filer)
{
    DefineListStrings(instance, filer);
    instance->DefineProperties(filer);
}

std::string Describe(const TPersistent* obj)
{
    if (auto* c = dynamic_cast<const TComponent*>(obj); c && !c->Name().empty()) return c->Name();
    return obj->ClassType()->Name();
}

} // namespace

// --- TWriter ------------------------------------------------------------------------

void TWriter::WriteSignature() { WriteBytes("TPF0", 4); }

void TWriter::WriteRootComponent(TComponent* root)
{
    FRoot = root;
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component)
{
    component->SetComponentStateFlag(TComponentStateItem::csWriting, true);
    try {
        WriteStr(component->ClassType()->Name());
        WriteStr(component->Name());
        WriteProperties(component);
        WriteListEnd();
        component->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
        WriteListEnd();
    } catch (...) {
        component->SetComponentStateFlag(TComponentStateItem::csWriting, false);
        throw;
    }
    component->SetComponentStateFlag(TComponentStateItem::csWriting, false);
}

void TWriter::WriteProperties(const TPersistent* instance)
{
    for (const TPropInfo* p : instance->ClassType()->Properties()) {
        if (!p->IsStored(instance)) continue;
        // Read-only properties are not stored, except owned objects
        // (collections, lists, nested values), which are read in place.
        bool inPlace = false;
        if (!p->IsWritable() && p->Kind() == TTypeKind::tkClass) {
            TObject* obj = p->GetObject(instance);
            inPlace = dynamic_cast<TPersistent*>(obj) && !dynamic_cast<TComponent*>(obj);
        }
        if (p->IsWritable() || inPlace) WriteProperty(instance, p);
    }
    DefineAll(const_cast<TPersistent*>(instance), *this);
}

void TWriter::WriteDefinedProperties(const TPersistent* instance)
{
    DefineAll(const_cast<TPersistent*>(instance), *this);
}

void TWriter::WriteProperty(const TPersistent* instance, const TPropInfo* prop)
{
    const TTypeInfo* t = prop->PropType();
    switch (t->Kind) {
    case TTypeKind::tkInteger: case TTypeKind::tkInt64: case TTypeKind::tkChar:
    case TTypeKind::tkWChar: case TTypeKind::tkEnumeration: case TTypeKind::tkSet: {
        if (IsDefaultPropValue(instance, prop)) return;
        int64_t v = prop->GetOrd(instance);
        WritePropName(prop->Name());
        if (t->Kind == TTypeKind::tkInteger || t->Kind == TTypeKind::tkInt64) {
            WriteInteger(v);
        } else if (t->Kind == TTypeKind::tkChar || t->Kind == TTypeKind::tkWChar) {
            std::string s;
            AppendUTF8(s, static_cast<char32_t>(v));
            WriteString(s);
        } else if (t->Kind == TTypeKind::tkSet) {
            WriteSet(t, static_cast<uint64_t>(v));
        } else if (t->IsBoolean()) {
            WriteBoolean(v != 0);
        } else {
            WriteIdent(GetEnumName(t, v));
        }
        return;
    }
    case TTypeKind::tkFloat: {
        long double v = prop->GetFloat(instance);
        if (v == 0) return;
        WritePropName(prop->Name());
        if (t->IsDateTime) WriteDate(static_cast<double>(v));
        else if (t->FloatType == TFloatType::ftSingle) WriteSingle(static_cast<float>(v));
        else if (t->FloatType == TFloatType::ftCurr) WriteCurrency(static_cast<int64_t>(std::nearbyint(v * 10000)));
        else WriteFloat(v);
        return;
    }
    case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString:
    case TTypeKind::tkUString: {
        std::string s = prop->GetStr(instance);
        if (s.empty()) return;
        WritePropName(prop->Name());
        WriteString(s);
        return;
    }
    case TTypeKind::tkVariant: {
        Variant v = prop->GetVariant(instance);
        if (v.IsEmpty()) return;
        WritePropName(prop->Name());
        WriteVariant(v);
        return;
    }
    case TTypeKind::tkClass: {
        TObject* obj = prop->GetObject(instance);
        if (!obj) return;
        if (auto* c = dynamic_cast<TComponent*>(obj)) {
            // A reference, by name relative to the root.
            std::string name;
            if (c == FRoot) name = "Owner";
            else if (c->Owner() == FRoot) name = c->Name();
            else if (c->Owner() && !c->Owner()->Name().empty() && !c->Name().empty())
                name = c->Owner()->Name() + "." + c->Name();
            if (name.empty()) return;
            WritePropName(prop->Name());
            WriteIdent(name);
        } else if (auto* coll = dynamic_cast<TCollection*>(obj)) {
            WritePropName(prop->Name());
            WriteCollection(coll);
        } else if (auto* nested = dynamic_cast<TPersistent*>(obj)) {
            std::string saved = FPropPath;
            FPropPath += prop->Name() + ".";
            try {
                WriteProperties(nested);
            } catch (...) {
                FPropPath = saved;
                throw;
            }
            FPropPath = saved;
        }
        return;
    }
    default:
        return;  // events and unknown kinds are not stored
    }
}

void TWriter::WriteCollection(const TCollection* collection)
{
    WriteValue(TValueType::vaCollection);
    std::string saved = FPropPath;
    FPropPath.clear();
    for (int i = 0; i < collection->Count(); ++i) {
        WriteListBegin();
        WriteProperties(collection->Items(i));
        WriteListEnd();
    }
    FPropPath = saved;
    WriteListEnd();
}

void TWriter::WriteValue(TValueType type)
{
    uint8_t b = static_cast<uint8_t>(type);
    WriteBytes(&b, 1);
}

void TWriter::WriteInteger(int64_t value)
{
    std::string out;
    if (value >= -128 && value <= 127) {
        WriteValue(TValueType::vaInt8);
        PutLE(out, static_cast<int8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(TValueType::vaInt16);
        PutLE(out, static_cast<int16_t>(value));
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(TValueType::vaInt32);
        PutLE(out, static_cast<int32_t>(value));
    } else {
        WriteValue(TValueType::vaInt64);
        PutLE(out, value);
    }
    WriteBytes(out.data(), static_cast<int64_t>(out.size()));
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TWriter::WriteFloat(long double value)
{
    uint8_t bytes[10];
    ExtendedToBytes(value, bytes);
    WriteValue(TValueType::vaExtended);
    WriteBytes(bytes, 10);
}

void TWriter::WriteDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    std::string out;
    PutLE(out, bits);
    WriteValue(TValueType::vaDouble);
    WriteBytes(out.data(), 8);
}

void TWriter::WriteSingle(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    std::string out;
    PutLE(out, bits);
    WriteValue(TValueType::vaSingle);
    WriteBytes(out.data(), 4);
}

void TWriter::WriteCurrency(int64_t scaled)
{
    std::string out;
    PutLE(out, scaled);
    WriteValue(TValueType::vaCurrency);
    WriteBytes(out.data(), 8);
}

void TWriter::WriteDate(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    std::string out;
    PutLE(out, bits);
    WriteValue(TValueType::vaDate);
    WriteBytes(out.data(), 8);
}

void TWriter::WriteString(const std::string& utf8)
{
    TValueType type = StringValueType(utf8);
    std::string out;
    switch (type) {
    case TValueType::vaString:
        out += static_cast<char>(utf8.size());
        out += utf8;
        break;
    case TValueType::vaLString: case TValueType::vaUTF8String:
        PutLE(out, static_cast<int32_t>(utf8.size()));
        out += utf8;
        break;
    default: {
        std::u16string units = UTF8ToUTF16(utf8);
        PutLE(out, static_cast<int32_t>(units.size()));
        for (char16_t c : units) PutLE(out, static_cast<uint16_t>(c));
        break;
    }
    }
    WriteValue(type);
    WriteBytes(out.data(), static_cast<int64_t>(out.size()));
}

void TWriter::WriteIdent(const std::string& ident)
{
    if (SameText(ident, "False")) WriteValue(TValueType::vaFalse);
    else if (SameText(ident, "True")) WriteValue(TValueType::vaTrue);
    else if (SameText(ident, "nil")) WriteValue(TValueType::vaNil);
    else if (SameText(ident, "Null")) WriteValue(TValueType::vaNull);
    else {
        WriteValue(TValueType::vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteSet(const TTypeInfo* setType, uint64_t mask)
{
    WriteValue(TValueType::vaSet);
    for (int i = 0; i < 64; ++i)
        if (mask & (uint64_t{1} << i))
            WriteStr(setType->CompType ? GetEnumName(setType->CompType, i) : IntToStr(i));
    WriteStr("");
}

void TWriter::WriteVariant(const Variant& value)
{
    if (value.IsArray()) throw EWriteError("Unsupported variant type: " + VarTypeAsText(value.VarType()));
    switch (value.VarType()) {
    case varEmpty: WriteValue(TValueType::vaNil); break;
    case varNull: WriteValue(TValueType::vaNull); break;
    case varBoolean: WriteBoolean(value.AsBoolean()); break;
    case varShortInt: case varByte: case varSmallint: case varWord: case varInteger:
    case varLongWord: case varInt64:
        WriteInteger(value.AsInt64());
        break;
    case varSingle: WriteSingle(static_cast<float>(value.AsDouble())); break;
    case varDouble: WriteFloat(value.AsExtended()); break;
    case varCurrency: WriteCurrency(value.AsCurrencyScaled()); break;
    case varDate: WriteDate(value.AsDouble()); break;
    case varString: case varOleStr: case varUString: WriteString(value.AsString()); break;
    default: throw EWriteError("Unsupported variant type: " + VarTypeAsText(value.VarType()));
    }
}

void TWriter::WriteBinary(const std::string& bytes)
{
    std::string out;
    PutLE(out, static_cast<int32_t>(bytes.size()));
    WriteValue(TValueType::vaBinary);
    WriteBytes(out.data(), 4);
    WriteBytes(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TWriter::WriteStr(const std::string& s)
{
    if (s.size() > 255) throw EWriteError("Name too long: " + s.substr(0, 32) + "...");
    uint8_t n = static_cast<uint8_t>(s.size());
    WriteBytes(&n, 1);
    WriteBytes(s.data(), n);
}

void TWriter::WritePropName(const std::string& name) { WriteStr(FPropPath + name); }

void TWriter::DefineProperty(const std::string& name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& writeData, bool hasData)
{
    if (!hasData || !writeData) return;
    WritePropName(name);
    writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>&,
                                   const std::function<void(TStream&)>& writeData, bool hasData)
{
    if (!hasData || !writeData) return;
    TMemoryStream data;
    writeData(data);
    WritePropName(name);
    WriteBinary(std::string(data.View()));
}

// --- TReader ------------------------------------------------------------------------

uint8_t TReader::ReadByte()
{
    uint8_t b;
    ReadBytes(&b, 1);
    return b;
}

void TReader::InvalidValue() { throw EReadError("Invalid property value"); }

void TReader::ReadSignature()
{
    char sig[4];
    if (FStream.Read(sig, 4) != 4 || std::memcmp(sig, "TPF0", 4) != 0)
        throw EReadError("Invalid stream format");
}

TValueType TReader::ReadValue()
{
    uint8_t b = ReadByte();
    if (b > static_cast<uint8_t>(TValueType::vaDouble)) InvalidValue();
    return static_cast<TValueType>(b);
}

bool TReader::EndOfList()
{
    const uint8_t b = ReadByte();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return b == 0;
}

TValueType TReader::NextValue()
{
    TValueType t = ReadValue();
    FStream.Seek(-1, TSeekOrigin::soCurrent);
    return t;
}

void TReader::ReadListBegin()
{
    if (ReadValue() != TValueType::vaList) InvalidValue();
}

void TReader::ReadListEnd()
{
    if (ReadValue() != TValueType::vaNull) InvalidValue();
}

namespace {
template <typename T>
T GetLE(TReader& r, TStream& s)
{
    uint8_t b[sizeof(T)];
    s.ReadBuffer(b, sizeof(T));
    uint64_t v = 0;
    for (int i = static_cast<int>(sizeof(T)) - 1; i >= 0; --i) v = (v << 8) | b[i];
    return static_cast<T>(v);
}
} // namespace

int64_t TReader::ReadInteger()
{
    switch (ReadValue()) {
    case TValueType::vaInt8: return GetLE<int8_t>(*this, FStream);
    case TValueType::vaInt16: return GetLE<int16_t>(*this, FStream);
    case TValueType::vaInt32: return GetLE<int32_t>(*this, FStream);
    case TValueType::vaInt64: return GetLE<int64_t>(*this, FStream);
    default: InvalidValue();
    }
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case TValueType::vaTrue: return true;
    case TValueType::vaFalse: return false;
    default: InvalidValue();
    }
}

long double TReader::ReadFloat()
{
    switch (NextValue()) {
    case TValueType::vaInt8: case TValueType::vaInt16: case TValueType::vaInt32:
    case TValueType::vaInt64:
        return static_cast<long double>(ReadInteger());
    default:
        break;
    }
    switch (ReadValue()) {
    case TValueType::vaExtended: {
        uint8_t b[10];
        ReadBytes(b, 10);
        return BytesToExtended(b);
    }
    case TValueType::vaDouble: case TValueType::vaDate: {
        uint64_t bits = GetLE<uint64_t>(*this, FStream);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    case TValueType::vaSingle: {
        uint32_t bits = GetLE<uint32_t>(*this, FStream);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    case TValueType::vaCurrency: return static_cast<long double>(GetLE<int64_t>(*this, FStream)) / 10000.0L;
    default: InvalidValue();
    }
}

namespace {
// 8-bit texts from other writers may hold characters above 127; they are
// taken as Latin-1 so that the result stays valid UTF-8.
std::string EightBitToUTF8(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) AppendUTF8(out, c);
    return out;
}
} // namespace

std::string TReader::ReadStr()
{
    uint8_t n = ReadByte();
    std::string s(n, '\0');
    if (n) ReadBytes(s.data(), n);
    return s;
}

std::string TReader::ReadString()
{
    TValueType type = ReadValue();
    switch (type) {
    case TValueType::vaString: case TValueType::vaIdent: return EightBitToUTF8(ReadStr());
    case TValueType::vaLString: case TValueType::vaUTF8String: {
        bool utf8 = type == TValueType::vaUTF8String;
        int32_t n = GetLE<int32_t>(*this, FStream);
        if (n < 0) InvalidValue();
        std::string s(static_cast<std::size_t>(n), '\0');
        if (n) ReadBytes(s.data(), n);
        return utf8 ? s : EightBitToUTF8(s);
    }
    case TValueType::vaWString: {
        int32_t n = GetLE<int32_t>(*this, FStream);
        if (n < 0) InvalidValue();
        std::u16string units;
        for (int32_t i = 0; i < n; ++i) units += static_cast<char16_t>(GetLE<uint16_t>(*this, FStream));
        return UTF16ToUTF8(units);
    }
    default: InvalidValue();
    }
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case TValueType::vaIdent: return ReadStr();
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    case TValueType::vaNull: return "Null";
    default: InvalidValue();
    }
}

uint64_t TReader::ReadSet(const TTypeInfo* setType)
{
    if (ReadValue() != TValueType::vaSet) InvalidValue();
    uint64_t mask = 0;
    for (;;) {
        std::string name = ReadStr();
        if (name.empty()) break;
        int64_t v = setType->CompType ? GetEnumValue(setType->CompType, name) : -1;
        if (v < 0 || v >= 64) InvalidValue();
        mask |= uint64_t{1} << v;
    }
    return mask;
}

Variant TReader::ReadVariant()
{
    switch (NextValue()) {
    case TValueType::vaNil: ReadValue(); return Variant();
    case TValueType::vaNull: ReadValue(); return Variant::Null();
    case TValueType::vaFalse: case TValueType::vaTrue: return Variant(ReadBoolean());
    case TValueType::vaInt8: case TValueType::vaInt16: case TValueType::vaInt32:
        return Variant(static_cast<int32_t>(ReadInteger()));
    case TValueType::vaInt64: return Variant(static_cast<long long>(ReadInteger()));
    case TValueType::vaExtended: case TValueType::vaDouble: return Variant(static_cast<double>(ReadFloat()));
    case TValueType::vaSingle: return Variant(static_cast<float>(ReadFloat()));
    case TValueType::vaCurrency: {
        ReadValue();
        return Variant::FromCurrencyScaled(GetLE<int64_t>(*this, FStream));
    }
    case TValueType::vaDate: return Variant::FromDate(static_cast<double>(ReadFloat()));
    case TValueType::vaString: case TValueType::vaLString: return Variant::AnsiString(ReadString());
    case TValueType::vaWString: return Variant::OleStr(ReadString());
    case TValueType::vaUTF8String: return Variant::UString(ReadString());
    default: InvalidValue();
    }
}

std::string TReader::ReadBinary()
{
    if (ReadValue() != TValueType::vaBinary) InvalidValue();
    int32_t n = GetLE<int32_t>(*this, FStream);
    if (n < 0) InvalidValue();
    std::string s(static_cast<std::size_t>(n), '\0');
    if (n) ReadBytes(s.data(), n);
    return s;
}

void TReader::SkipValue()
{
    auto skip = [this](int64_t n) {
        std::string buf(static_cast<std::size_t>(n), '\0');
        if (n) ReadBytes(buf.data(), n);
    };
    switch (ReadValue()) {
    case TValueType::vaNull: case TValueType::vaFalse: case TValueType::vaTrue: case TValueType::vaNil:
        break;
    case TValueType::vaList:
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        break;
    case TValueType::vaInt8: skip(1); break;
    case TValueType::vaInt16: skip(2); break;
    case TValueType::vaInt32: case TValueType::vaSingle: skip(4); break;
    case TValueType::vaInt64: case TValueType::vaDouble: case TValueType::vaCurrency:
    case TValueType::vaDate:
        skip(8);
        break;
    case TValueType::vaExtended: skip(10); break;
    case TValueType::vaString: case TValueType::vaIdent: ReadStr(); break;
    case TValueType::vaBinary: case TValueType::vaLString: case TValueType::vaUTF8String: {
        int32_t n = GetLE<int32_t>(*this, FStream);
        if (n < 0) InvalidValue();
        skip(n);
        break;
    }
    case TValueType::vaWString: {
        int32_t n = GetLE<int32_t>(*this, FStream);
        if (n < 0) InvalidValue();
        skip(2 * static_cast<int64_t>(n));
        break;
    }
    case TValueType::vaSet:
        while (!ReadStr().empty()) {}
        break;
    case TValueType::vaCollection:
        while (!EndOfList()) {
            TValueType t = NextValue();
            if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32) ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
}

TComponent* TReader::ReadRootComponent(TComponent* root, TComponent* owner)
{
    ReadSignature();
    FLoaded.clear();
    FFixups.clear();
    // An optional prefix byte (inheritance flags) may precede the class name.
    uint8_t prefix = ReadByte();
    if ((prefix & 0xF0) == 0xF0) {
        if (prefix & 0x02) ReadInteger();  // child position
    } else {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
    }
    std::string className = ReadStr();
    std::string name = ReadStr();
    bool created = false;
    if (!root) {
        TObject* obj = FindClass(className).Create(owner);
        root = dynamic_cast<TComponent*>(obj);
        if (!root) {
            delete obj;
            throw EReadError("Invalid stream format");
        }
        created = true;
    }
    FRoot = root;
    try {
        root->SetComponentStateFlag(TComponentStateItem::csLoading, true);
        root->SetComponentStateFlag(TComponentStateItem::csReading, true);
        FLoaded.push_back(root);
        if (!name.empty() && root->Name() != name) {
            // A name already taken in the owner gets a number.
            std::string unique = name;
            for (int i = 1; root->Owner() && root->Owner()->FindComponent(unique) &&
                            root->Owner()->FindComponent(unique) != root;
                 ++i)
                unique = name + "_" + std::to_string(i);
            root->SetName(unique);
        }
        ReadProperties(root);
        while (!EndOfList()) ReadComponent(nullptr, root);
        ReadListEnd();
        ResolveFixups();
    } catch (...) {
        for (TComponent* c : FLoaded) {
            c->SetComponentStateFlag(TComponentStateItem::csReading, false);
            c->SetComponentStateFlag(TComponentStateItem::csLoading, false);
        }
        FLoaded.clear();
        FFixups.clear();
        if (created) delete root;
        throw;
    }
    std::vector<TComponent*> loaded = std::move(FLoaded);
    FLoaded.clear();
    for (TComponent* c : loaded) c->SetComponentStateFlag(TComponentStateItem::csReading, false);
    for (TComponent* c : loaded) c->Loaded();
    return root;
}

TComponent* TReader::ReadComponent(TComponent* component, TComponent* owner)
{
    uint8_t prefix = ReadByte();
    if ((prefix & 0xF0) == 0xF0) {
        if (prefix & 0x02) ReadInteger();
    } else {
        FStream.Seek(-1, TSeekOrigin::soCurrent);
    }
    std::string className = ReadStr();
    std::string name = ReadStr();
    bool created = false;
    if (!component && owner && !name.empty()) {
        TComponent* existing = owner->FindComponent(name);
        if (existing && SameText(existing->ClassType()->Name(), className)) component = existing;
    }
    if (!component) {
        TObject* obj = FindClass(className).Create(owner);
        component = dynamic_cast<TComponent*>(obj);
        if (!component) {
            delete obj;
            throw EReadError("Invalid stream format");
        }
        created = true;
    }
    try {
        if (component->Name() != name) component->SetName(name);
        component->SetComponentStateFlag(TComponentStateItem::csLoading, true);
        component->SetComponentStateFlag(TComponentStateItem::csReading, true);
        FLoaded.push_back(component);
        ReadProperties(component);
        while (!EndOfList()) ReadComponent(nullptr, FRoot);
        ReadListEnd();
    } catch (...) {
        if (created) {
            auto it = std::find(FLoaded.begin(), FLoaded.end(), component);
            if (it != FLoaded.end()) FLoaded.erase(it);
            delete component;
        }
        throw;
    }
    return component;
}

void TReader::ReadProperties(TPersistent* instance)
{
    while (!EndOfList()) ReadProperty(instance);
    ReadListEnd();
}

void TReader::ReadProperty(TPersistent* instance)
{
    std::string path = ReadStr();
    TPersistent* obj = instance;
    std::string_view rest = path;
    auto notFound = [&](const std::string& part) {
        throw EReadError("Error reading " + Describe(instance) + "." + path + ": Property " + part +
                         " does not exist");
    };
    for (auto dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
        std::string part(rest.substr(0, dot));
        const TPropInfo* p = GetPropInfo(obj, part);
        if (!p || p->Kind() != TTypeKind::tkClass) notFound(part);
        auto* next = dynamic_cast<TPersistent*>(p->GetObject(obj));
        if (!next) notFound(part);
        obj = next;
        rest.remove_prefix(dot + 1);
    }
    std::string last(rest);
    const TPropInfo* p = GetPropInfo(obj, last);
    if (p) {
        ReadPropValue(obj, p);
        return;
    }
    // Not published: one of the object's defined properties?
    std::string savedName = FPropName;
    bool savedCan = FCanHandle;
    FPropName = last;
    FCanHandle = true;
    DefineAll(obj, *this);
    bool handled = !FCanHandle;
    FPropName = savedName;
    FCanHandle = savedCan;
    if (!handled) notFound(last);
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop)
{
    const TTypeInfo* t = prop->PropType();
    bool inPlace = t->Kind == TTypeKind::tkClass && NextValue() == TValueType::vaCollection;
    if (!prop->IsWritable() && !inPlace) {
        SkipValue();  // read-only properties are never stored; ignore one that is
        return;
    }
    switch (t->Kind) {
    case TTypeKind::tkInteger: case TTypeKind::tkInt64:
        prop->SetOrd(instance, ReadInteger());
        break;
    case TTypeKind::tkChar: case TTypeKind::tkWChar: {
        TValueType next = NextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32) {
            prop->SetOrd(instance, ReadInteger());
        } else {
            std::string s = ReadString();
            std::size_t i = 0;
            prop->SetOrd(instance, s.empty() ? 0 : static_cast<int64_t>(NextUTF8(s, i)));
        }
        break;
    }
    case TTypeKind::tkEnumeration: {
        TValueType next = NextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32) {
            int64_t v = ReadInteger();
            if (v < 0 || v >= static_cast<int64_t>(t->EnumNames.size())) InvalidValue();
            prop->SetOrd(instance, v);
        } else {
            int64_t v = GetEnumValue(t, ReadIdent());
            if (v < 0) InvalidValue();
            prop->SetOrd(instance, v);
        }
        break;
    }
    case TTypeKind::tkSet: prop->SetOrd(instance, static_cast<int64_t>(ReadSet(t))); break;
    case TTypeKind::tkFloat: prop->SetFloat(instance, ReadFloat()); break;
    case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString:
    case TTypeKind::tkUString:
        prop->SetStr(instance, ReadString());
        break;
    case TTypeKind::tkVariant: prop->SetVariant(instance, ReadVariant()); break;
    case TTypeKind::tkClass:
        switch (NextValue()) {
        case TValueType::vaNil:
            ReadValue();
            prop->SetObject(instance, nullptr);
            break;
        case TValueType::vaIdent:
            FFixups.push_back({instance, prop, ReadIdent()});
            break;
        case TValueType::vaCollection: {
            auto* coll = dynamic_cast<TCollection*>(prop->GetObject(instance));
            if (!coll) InvalidValue();
            ReadCollection(coll);
            break;
        }
        default: InvalidValue();
        }
        break;
    case TTypeKind::tkMethod:
        // Handlers are bound by the program, not by name from a stream.
        SkipValue();
        break;
    default: InvalidValue();
    }
}

void TReader::ReadCollection(TCollection* collection)
{
    if (ReadValue() != TValueType::vaCollection) InvalidValue();
    collection->BeginUpdate();
    try {
        collection->Clear();
        while (!EndOfList()) {
            TValueType t = NextValue();
            if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32) ReadInteger();
            ReadListBegin();
            TCollectionItem* item = collection->Add();
            ReadProperties(item);
        }
        ReadListEnd();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

void TReader::ResolveFixups()
{
    for (const Fixup& f : FFixups) {
        TComponent* target = nullptr;
        if (SameText(f.Name, "Owner")) {
            target = FRoot;
        } else if (auto dot = f.Name.find('.'); dot != std::string::npos) {
            std::string ownerName = f.Name.substr(0, dot);
            TComponent* owner = SameText(FRoot->Name(), ownerName) ? FRoot : FindGlobalComponent(ownerName);
            if (owner) target = owner->FindComponent(f.Name.substr(dot + 1));
        } else {
            target = FRoot->FindComponent(f.Name);
            if (!target && SameText(FRoot->Name(), f.Name)) target = FRoot;
        }
        // A name that finds nothing leaves the property as it was.
        if (target) {
            try {
                f.Prop->SetObject(f.Instance, target);
            } catch (const EPropertyConvertError&) {
                InvalidValue();
            }
        }
    }
    FFixups.clear();
}

void TReader::DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                             const std::function<void(TWriter&)>&, bool)
{
    if (FCanHandle && readData && SameText(name, FPropName)) {
        FCanHandle = false;
        readData(*this);
    }
}

void TReader::DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                                   const std::function<void(TStream&)>&, bool)
{
    if (FCanHandle && readData && SameText(name, FPropName)) {
        FCanHandle = false;
        TMemoryStream data;
        std::string bytes = ReadBinary();
        data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        data.SetPosition(0);
        readData(data);
    }
}

// --- whole components ---------------------------------------------------------------

void WriteComponentToStream(TStream& stream, TComponent* instance)
{
    TWriter writer(stream);
    writer.WriteRootComponent(instance);
}

TComponent* ReadComponentFromStream(TStream& stream, TComponent* instance, TComponent* owner)
{
    TReader reader(stream);
    return reader.ReadRootComponent(instance, owner);
}

} // namespace rtl
