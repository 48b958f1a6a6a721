#include "platform/rtl/Variant.h"

#include <cmath>
#include <limits>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace rtl {

struct Variant::ArrayData {
    TVarType ElementType = varVariant;
    std::vector<std::pair<int32_t, int32_t>> Bounds;  // low, high per dimension
    std::vector<Variant> Items;                        // last dimension varies fastest

    std::size_t Offset(const std::vector<int32_t>& indexes) const
    {
        if (indexes.size() != Bounds.size())
            throw EVariantBadIndexError("Variant or safe array index out of bounds");
        std::size_t offset = 0;
        for (std::size_t d = 0; d < Bounds.size(); ++d) {
            auto [lo, hi] = Bounds[d];
            if (indexes[d] < lo || indexes[d] > hi)
                throw EVariantBadIndexError("Variant or safe array index out of bounds");
            offset = offset * static_cast<std::size_t>(hi - lo + 1) + static_cast<std::size_t>(indexes[d] - lo);
        }
        return offset;
    }
};

namespace {

[[noreturn]] void CastError(TVarType from, TVarType to)
{
    throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                                ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void InvalidOp() { throw EVariantInvalidOpError("Invalid variant operation"); }
[[noreturn]] void Overflow() { throw EVariantOverflowError("Arithmetic overflow occurred"); }

bool IsStrType(TVarType t) { return t == varString || t == varOleStr || t == varUString; }
bool IsIntType(TVarType t)
{
    switch (t) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
        return true;
    default:
        return false;
    }
}
bool IsFloatType(TVarType t)
{
    return t == varSingle || t == varDouble || t == varCurrency || t == varDate;
}

// Rounds halves to even and checks the range of a 64-bit integer.
int64_t RoundToInt64(long double v)
{
    if (std::isnan(v)) Overflow();
    long double r = std::nearbyint(v);  // default rounding mode: to nearest, ties to even
    if (r < -9223372036854775808.0L || r >= 9223372036854775808.0L) Overflow();
    return static_cast<int64_t>(r);
}

bool TextToFloat(const std::string& s, long double& v)
{
    return TryStrToFloat(s, v);
}

// Reads a text as a number the way conversions do: integer texts ("$" hex
// included) exactly, else a float with ".".
bool TextToNumber(const std::string& s, bool& isInt, int64_t& i, long double& f)
{
    if (TryStrToInt64(s, i)) {
        isInt = true;
        return true;
    }
    isInt = false;
    return TextToFloat(s, f);
}

bool TextToBool(const std::string& s, bool& b)
{
    std::string t = Trim(s);
    if (SameText(t, "True")) { b = true; return true; }
    if (SameText(t, "False")) { b = false; return true; }
    long double f;
    if (TextToFloat(t, f)) { b = f != 0; return true; }
    return false;
}

// Digits at position i of s; advances i.  Returns -1 when there are none.
int ReadNumber(const std::string& s, std::size_t& i, int maxDigits = 9)
{
    std::size_t start = i;
    int v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && static_cast<int>(i - start) < maxDigits)
        v = v * 10 + (s[i++] - '0');
    return i == start ? -1 : v;
}

void SkipBlanks(const std::string& s, std::size_t& i)
{
    while (i < s.size() && s[i] == ' ') ++i;
}

// A date text in the order of the short date format ("yyyy-mm-dd" gives
// year, month, day), optionally followed by a time; or a time alone.
bool TextToDate(const std::string& text, double& result)
{
    const TFormatSettings& fs = FormatSettings();
    std::string s = Trim(text);
    if (s.empty()) return false;
    // Order of the date parts from the short date format.
    std::string order;
    for (char c : LowerCase(fs.ShortDateFormat))
        if ((c == 'y' || c == 'm' || c == 'd') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "ymd";

    std::size_t i = 0;
    double date = 0;
    bool haveDate = false;
    {
        std::size_t j = 0;
        int parts[3] = {-1, -1, -1};
        int n = 0;
        for (; n < 3; ++n) {
            parts[n] = ReadNumber(s, j);
            if (parts[n] < 0) break;
            if (n < 2) {
                if (j < s.size() && (s[j] == fs.DateSeparator || s[j] == '-' || s[j] == '/' || s[j] == '.')) ++j;
                else { ++n; break; }
            }
        }
        if (n == 3) {
            int y = 0, m = 0, d = 0;
            for (int k = 0; k < 3; ++k) {
                if (order[k] == 'y') y = parts[k];
                else if (order[k] == 'm') m = parts[k];
                else d = parts[k];
            }
            if (y < 100) y += y < 50 ? 2000 : 1900;
            TDateTime dt;
            if (!TryEncodeDate(y, m, d, dt)) return false;
            date = dt;
            haveDate = true;
            i = j;
        }
    }
    SkipBlanks(s, i);
    double time = 0;
    if (i < s.size()) {
        int h = ReadNumber(s, i), mi = 0, sec = 0, ms = 0;
        if (h < 0 || i >= s.size() || s[i] != fs.TimeSeparator) return false;
        ++i;
        mi = ReadNumber(s, i);
        if (mi < 0) return false;
        if (i < s.size() && s[i] == fs.TimeSeparator) {
            ++i;
            sec = ReadNumber(s, i);
            if (sec < 0) return false;
            if (i < s.size() && s[i] == '.') {
                ++i;
                std::size_t start = i;
                int z = ReadNumber(s, i, 3);
                if (z < 0) return false;
                for (std::size_t k = i - start; k < 3; ++k) z *= 10;
                ms = z;
                while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
            }
        }
        SkipBlanks(s, i);
        std::string rest = s.substr(i);
        if (SameText(rest, "PM") || SameText(rest, fs.TimePMString)) {
            if (h < 12) h += 12;
        } else if (SameText(rest, "AM") || SameText(rest, fs.TimeAMString)) {
            if (h == 12) h = 0;
        } else if (!rest.empty()) {
            return false;
        }
        TDateTime t;
        if (!TryEncodeTime(h, mi, sec, ms, t)) return false;
        time = t;
    } else if (!haveDate) {
        return false;
    }
    result = date < 0 ? date - time : date + time;
    return true;
}

int StrRank(TVarType t) { return t == varUString ? 3 : t == varOleStr ? 2 : 1; }

// The string kind of "a + b" for two texts, or a text and Empty: the higher
// ranked of the two.
TVarType ConcatKind(const Variant& a, const Variant& b)
{
    if (!a.IsString()) return b.VarType();
    if (!b.IsString()) return a.VarType();
    return StrRank(a.VarType()) >= StrRank(b.VarType()) ? a.VarType() : b.VarType();
}

Variant MakeString(TVarType kind, std::string s)
{
    switch (kind) {
    case varString: return Variant::AnsiString(std::move(s));
    case varOleStr: return Variant::OleStr(std::move(s));
    default: return Variant::UString(std::move(s));
    }
}

// An integer result: Integer when it fits 32 bits and both operands were at
// most 32 bits wide, else Int64.
Variant IntResult(int64_t v, bool wide)
{
    if (!wide && v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
    return Variant(static_cast<long long>(v));
}

enum class Cat { Int, Float, Currency, Date, Single };

Cat NumCat(TVarType t)
{
    switch (t) {
    case varSingle: return Cat::Single;
    case varDouble: return Cat::Float;
    case varCurrency: return Cat::Currency;
    case varDate: return Cat::Date;
    default: return Cat::Int;
    }
}

// Brings a string or Empty operand into numeric form for arithmetic.
Variant Numeric(const Variant& v)
{
    if (v.IsEmpty()) return Variant(int32_t{0});
    if (v.IsString()) {
        bool isInt;
        int64_t i;
        long double f;
        if (!TextToNumber(v.AsString(), isInt, i, f)) CastError(v.VarType(), varDouble);
        return Variant(static_cast<double>(isInt ? static_cast<long double>(i) : f));
    }
    if (v.IsDispatch()) InvalidOp();
    return v;
}

enum class ArithOp { Add, Sub, Mul };

Variant Arith(ArithOp op, const Variant& a0, const Variant& b0)
{
    if (a0.IsArray() || b0.IsArray()) InvalidOp();
    if (a0.IsNull() || b0.IsNull()) return Variant::Null();
    if (op == ArithOp::Add && a0.ConcatenatesWith(b0))
        return MakeString(ConcatKind(a0, b0), a0.TextRef() + b0.TextRef());
    Variant a = Numeric(a0), b = Numeric(b0);
    Cat ca = NumCat(a.VarType()), cb = NumCat(b.VarType());
    if (ca == Cat::Int && cb == Cat::Int) {
        int64_t x = a.AsInt64(), y = b.AsInt64(), r = 0;
        bool wide = a.VarType() == varInt64 || b.VarType() == varInt64;
        bool over = op == ArithOp::Add ? __builtin_add_overflow(x, y, &r)
                  : op == ArithOp::Sub ? __builtin_sub_overflow(x, y, &r)
                                       : __builtin_mul_overflow(x, y, &r);
        if (over) {
            long double fx = x, fy = y;
            return Variant(op == ArithOp::Add ? fx + fy : op == ArithOp::Sub ? fx - fy : fx * fy);
        }
        return IntResult(r, wide);
    }
    if (ca == Cat::Date || cb == Cat::Date) {
        double x = a.AsDouble(), y = b.AsDouble();
        switch (op) {
        case ArithOp::Add: return Variant::FromDate(x + y);
        case ArithOp::Sub:
            if (ca == Cat::Date && cb == Cat::Date) return Variant(x - y);
            return Variant::FromDate(x - y);
        case ArithOp::Mul: return Variant(x * y);
        }
    }
    bool floatSide = ca == Cat::Float || ca == Cat::Single || cb == Cat::Float || cb == Cat::Single;
    if ((ca == Cat::Currency || cb == Cat::Currency) && !floatSide) {
        // Currency with currency or an integer: exact in units of 1/10000.
        int64_t x = a.AsCurrencyScaled(), y = b.AsCurrencyScaled(), r = 0;
        if (op == ArithOp::Mul) {
            __int128 p = static_cast<__int128>(x) * y;
            __int128 q = p / 10000, rem = p % 10000;
            // halves to even
            __int128 absRem = rem < 0 ? -rem : rem;
            if (absRem > 5000 || (absRem == 5000 && (q & 1))) q += p < 0 ? -1 : 1;
            if (q > INT64_MAX || q < INT64_MIN) Overflow();
            return Variant::FromCurrencyScaled(static_cast<int64_t>(q));
        }
        if (op == ArithOp::Add ? __builtin_add_overflow(x, y, &r) : __builtin_sub_overflow(x, y, &r))
            Overflow();
        return Variant::FromCurrencyScaled(r);
    }
    long double x = a.AsExtended(), y = b.AsExtended();
    long double r = op == ArithOp::Add ? x + y : op == ArithOp::Sub ? x - y : x * y;
    if (ca == Cat::Single && (cb == Cat::Single || cb == Cat::Int)) return Variant(static_cast<float>(r));
    if (cb == Cat::Single && ca == Cat::Int) return Variant(static_cast<float>(r));
    return Variant(static_cast<double>(r));
}

// Integer operands for div, mod, shifts and bitwise operations.
int64_t IntOperand(const Variant& v)
{
    if (v.IsString()) {
        Variant n = Numeric(v);
        return n.AsInt64();
    }
    return v.AsInt64();
}

bool IsWideInt(const Variant& v) { return v.VarType() == varInt64; }

// Is the operand a Boolean in the sense of logical operators?
bool LogicalOperand(const Variant& v, bool& value)
{
    if (v.IsBoolean()) { value = v.AsBoolean(); return true; }
    return false;
}

} // namespace

// --- shared text --------------------------------------------------------------

VariantText::VariantText(std::string s)
{
    if (!s.empty()) FText = std::make_shared<std::string>(std::move(s));
}

const std::string& VariantText::Get() const
{
    static const std::string empty;
    return FText ? *FText : empty;
}

std::string& VariantText::Unshared()
{
    if (!FText) FText = std::make_shared<std::string>();
    else if (FText.use_count() > 1) FText = std::make_shared<std::string>(*FText);
    return *FText;
}

// --- construction -----------------------------------------------------------

Variant::Variant(std::u16string_view s) : FType(varUString), FStr(UTF16ToUTF8(s)) {}

Variant::Variant(std::shared_ptr<IDispatchObject> d) : FType(varDispatch), FDispatch(std::move(d)) {}

Variant Variant::Null()
{
    Variant v;
    v.FType = varNull;
    return v;
}

Variant Variant::FromDate(double dt)
{
    Variant v(dt);
    v.FType = varDate;
    return v;
}

Variant Variant::FromCurrency(long double value)
{
    return FromCurrencyScaled(RoundToInt64(value * 10000.0L));
}

Variant Variant::FromCurrencyScaled(int64_t scaled)
{
    Variant v;
    v.FType = varCurrency;
    v.FV.i = scaled;
    return v;
}

Variant Variant::AnsiString(std::string s)
{
    Variant v(std::move(s));
    v.FType = varString;
    return v;
}

Variant Variant::OleStr(std::string s)
{
    Variant v(std::move(s));
    v.FType = varOleStr;
    return v;
}

Variant Variant::UString(std::string s) { return Variant(std::move(s)); }

Variant Variant::FromObject(const TObject* obj) { return Variant(ObjectHandle(obj)); }

// --- queries ----------------------------------------------------------------

TVarType Variant::VarType() const
{
    if (FArray) return static_cast<TVarType>(varArray | FArray->ElementType);
    return FType;
}

bool Variant::IsString() const { return !FArray && IsStrType(FType); }
bool Variant::IsInteger() const { return !FArray && IsIntType(FType); }
bool Variant::IsOrdinal() const { return IsInteger() || (!FArray && FType == varBoolean); }
bool Variant::IsFloat() const { return !FArray && IsFloatType(FType); }
bool Variant::IsNumeric() const { return IsInteger() || IsFloat(); }

// --- conversions ------------------------------------------------------------

int64_t Variant::AsInt64() const { return IntegerOf(varInt64); }

int64_t Variant::IntegerOf(TVarType target) const
{
    if (FArray) CastError(VarType(), target);
    switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FV.b ? -1 : 0;
    case varSingle: case varDouble: case varDate: return RoundToInt64(FV.d);
    case varCurrency: {
        int64_t q = FV.i / 10000, r = FV.i % 10000;
        int64_t ar = r < 0 ? -r : r;
        if (ar > 5000 || (ar == 5000 && (q & 1))) q += FV.i < 0 ? -1 : 1;
        return q;
    }
    case varString: case varOleStr: case varUString: {
        bool isInt;
        int64_t i;
        long double f;
        if (!TextToNumber(FStr.Get(), isInt, i, f)) CastError(FType, target);
        return isInt ? i : RoundToInt64(f);
    }
    default:
        if (IsIntType(FType)) return FV.i;
        CastError(FType, target);
    }
}

int32_t Variant::AsInteger() const
{
    if (FArray) CastError(VarType(), varInteger);
    int64_t v = IntegerOf(varInteger);
    if (v < INT32_MIN || v > INT32_MAX) Overflow();
    return static_cast<int32_t>(v);
}

bool Variant::AsBoolean() const
{
    if (FArray) CastError(VarType(), varBoolean);
    switch (FType) {
    case varEmpty: return false;
    case varBoolean: return FV.b;
    case varSingle: case varDouble: case varDate: return FV.d != 0;
    case varString: case varOleStr: case varUString: {
        bool b;
        if (!TextToBool(FStr.Get(), b)) CastError(FType, varBoolean);
        return b;
    }
    default:
        if (IsIntType(FType) || FType == varCurrency) return FV.i != 0;
        CastError(FType, varBoolean);
    }
}

long double Variant::AsExtended() const
{
    if (FArray) CastError(VarType(), varDouble);
    switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FV.b ? -1 : 0;
    case varSingle: case varDouble: case varDate: return FV.d;
    case varCurrency: return static_cast<long double>(FV.i) / 10000.0L;
    case varString: case varOleStr: case varUString: {
        bool isInt;
        int64_t i;
        long double f;
        if (!TextToNumber(FStr.Get(), isInt, i, f)) CastError(FType, varDouble);
        return isInt ? static_cast<long double>(i) : f;
    }
    default:
        if (IsIntType(FType)) return static_cast<long double>(FV.i);
        CastError(FType, varDouble);
    }
}

double Variant::AsDouble() const { return static_cast<double>(AsExtended()); }

int64_t Variant::AsCurrencyScaled() const
{
    if (!FArray && FType == varCurrency) return FV.i;
    if (IsInteger() || (!FArray && FType == varBoolean)) {
        int64_t v = AsInt64(), r;
        if (__builtin_mul_overflow(v, int64_t{10000}, &r)) Overflow();
        return r;
    }
    if (FType == varNull || FType == varDispatch || FArray) CastError(VarType(), varCurrency);
    return RoundToInt64(AsExtended() * 10000.0L);
}

double Variant::AsDate() const
{
    if (!FArray && IsStrType(FType)) {
        double d;
        if (TextToDate(FStr.Get(), d)) return d;
        long double f;
        if (TextToFloat(FStr.Get(), f)) return static_cast<double>(f);
        CastError(FType, varDate);
    }
    if (FType == varNull || FType == varDispatch || FArray) CastError(VarType(), varDate);
    return AsDouble();
}

std::string Variant::AsString() const
{
    if (FArray) CastError(VarType(), varUString);
    switch (FType) {
    case varEmpty: return {};
    case varBoolean: return FV.b ? "True" : "False";
    case varSingle: return FloatToStr(static_cast<long double>(static_cast<float>(FV.d)));
    case varDouble: return FloatToStr(FV.d);
    case varDate: return DateTimeToStr(FV.d);
    case varCurrency: return FloatToStr(static_cast<long double>(FV.i) / 10000.0L);
    case varString: case varOleStr: case varUString: return FStr.Get();
    default:
        if (IsIntType(FType)) return IntToStr(FV.i);
        CastError(FType, varUString);
    }
}

const std::string& Variant::TextRef() const
{
    static const std::string empty;
    return !FArray && IsStrType(FType) ? FStr.Get() : empty;
}

bool Variant::ConcatenatesWith(const Variant& b) const
{
    if (FArray || b.FArray) return false;
    const bool sa = IsStrType(FType), sb = IsStrType(b.FType);
    return (sa && (sb || b.FType == varEmpty)) || (FType == varEmpty && sb);
}

bool Variant::AppendInPlace(const Variant& b)
{
    if (!ConcatenatesWith(b)) return false;
    const TVarType kind = ConcatKind(*this, b);
    const bool sa = IsStrType(FType), sb = IsStrType(b.FType);
    if (!sa) {
        *this = b;   // Empty + text: the text, shared
    } else if (sb && !b.FStr.Get().empty()) {
        if (&b == this) {
            std::string& t = FStr.Unshared();
            t.append(std::string(t));
        } else {
            FStr.Unshared().append(b.FStr.Get());
        }
    }
    FType = kind;
    return true;
}

void Variant::AppendText(std::string_view text)
{
    if (FArray || !IsStrType(FType)) InvalidOp();
    if (!text.empty()) FStr.Unshared().append(text);
}

std::u16string Variant::AsU16String() const { return UTF8ToUTF16(AsString()); }

std::shared_ptr<IDispatchObject> Variant::AsDispatch() const
{
    if (!FArray && FType == varDispatch) return FDispatch;
    if (FType == varEmpty && !FArray) return nullptr;
    CastError(VarType(), varDispatch);
}

TObject* Variant::AsObject() const
{
    if (FType == varEmpty || FType == varNull) return nullptr;
    return HandleToObject(AsInteger());
}

Variant Variant::AsType(TVarType type) const
{
    if (type == VarType()) return *this;
    if (FArray) CastError(VarType(), type);
    switch (type) {
    case varEmpty: return {};
    case varNull: return Null();
    case varVariant: return *this;
    case varBoolean: return Variant(AsBoolean());
    case varShortInt: case varByte: case varSmallint: case varWord: case varInteger:
    case varLongWord: case varInt64: {
        int64_t v = IntegerOf(type);
        int64_t lo = INT64_MIN, hi = INT64_MAX;
        switch (type) {
        case varShortInt: lo = -128; hi = 127; break;
        case varByte: lo = 0; hi = 255; break;
        case varSmallint: lo = -32768; hi = 32767; break;
        case varWord: lo = 0; hi = 65535; break;
        case varInteger: lo = INT32_MIN; hi = INT32_MAX; break;
        case varLongWord: lo = 0; hi = UINT32_MAX; break;
        default: break;
        }
        if (v < lo || v > hi) Overflow();
        Variant r;
        r.FType = type;
        r.FV.i = v;
        return r;
    }
    case varSingle: return Variant(static_cast<float>(AsExtended()));
    case varDouble: return Variant(AsDouble());
    case varCurrency: return FromCurrencyScaled(AsCurrencyScaled());
    case varDate: return FromDate(AsDate());
    case varString: case varOleStr: case varUString: {
        if (FType == varNull) CastError(FType, type);
        if (IsStrType(FType)) {
            Variant r = *this;   // shares the text
            r.FType = type;
            return r;
        }
        return MakeString(type, AsString());
    }
    case varDispatch: return Variant(AsDispatch());
    default:
        throw EVariantBadVarTypeError("Invalid variant type");
    }
}

// --- arrays -----------------------------------------------------------------

Variant::ArrayData& Variant::MutableArray()
{
    if (!FArray) throw EVariantInvalidArgError("Invalid argument");
    if (FArray.use_count() > 1) FArray = std::make_shared<ArrayData>(*FArray);
    return *FArray;
}

int Variant::DimCount() const { return FArray ? static_cast<int>(FArray->Bounds.size()) : 0; }

int32_t Variant::LowBound(int dim) const
{
    if (!FArray) throw EVariantInvalidArgError("Invalid argument");
    if (dim < 1 || dim > DimCount()) throw EVariantBadIndexError("Variant or safe array index out of bounds");
    return FArray->Bounds[static_cast<std::size_t>(dim - 1)].first;
}

int32_t Variant::HighBound(int dim) const
{
    if (!FArray) throw EVariantInvalidArgError("Invalid argument");
    if (dim < 1 || dim > DimCount()) throw EVariantBadIndexError("Variant or safe array index out of bounds");
    return FArray->Bounds[static_cast<std::size_t>(dim - 1)].second;
}

Variant Variant::GetElement(const std::vector<int32_t>& indexes) const
{
    if (!FArray) throw EVariantInvalidArgError("Invalid argument");
    return FArray->Items[FArray->Offset(indexes)];
}

void Variant::SetElement(const std::vector<int32_t>& indexes, const Variant& value)
{
    if (!FArray) throw EVariantInvalidArgError("Invalid argument");
    std::size_t offset = FArray->Offset(indexes);
    Variant converted = FArray->ElementType == varVariant ? value : value.AsType(FArray->ElementType);
    MutableArray().Items[offset] = std::move(converted);
}

void Variant::Redim(int32_t highBound)
{
    ArrayData& a = MutableArray();
    auto& last = a.Bounds.back();
    if (highBound < last.first - 1) throw EVariantBadIndexError("Variant or safe array index out of bounds");
    std::size_t outer = 1;
    for (std::size_t d = 0; d + 1 < a.Bounds.size(); ++d)
        outer *= static_cast<std::size_t>(a.Bounds[d].second - a.Bounds[d].first + 1);
    std::size_t oldLen = static_cast<std::size_t>(last.second - last.first + 1);
    std::size_t newLen = static_cast<std::size_t>(highBound - last.first + 1);
    Variant blank = a.ElementType == varVariant ? Variant() : Variant().AsType(a.ElementType);
    std::vector<Variant> items(outer * newLen, blank);
    for (std::size_t o = 0; o < outer; ++o)
        for (std::size_t k = 0; k < std::min(oldLen, newLen); ++k)
            items[o * newLen + k] = std::move(a.Items[o * oldLen + k]);
    a.Items = std::move(items);
    last.second = highBound;
}

struct VariantAccess {
    static void SetArray(Variant& v, std::shared_ptr<Variant::ArrayData> data)
    {
        v = Variant();
        v.FType = varEmpty;
        v.FArray = std::move(data);
    }
    static const Variant::ArrayData* Array(const Variant& v) { return v.FArray.get(); }
    static TVarType RawType(const Variant& v) { return v.FType; }
    static double D(const Variant& v) { return v.FV.d; }
    static int64_t I(const Variant& v) { return v.FV.i; }
    static const std::string& S(const Variant& v) { return v.FStr.Get(); }
};

Variant VarArrayCreate(const std::vector<int32_t>& bounds, TVarType elementType)
{
    if (bounds.empty() || bounds.size() % 2 != 0) throw EVariantInvalidArgError("Invalid argument");
    switch (elementType) {
    case varEmpty: case varNull: case varError: case varUnknown: case varAny: case varStrArg:
        throw EVariantBadVarTypeError("Invalid variant type");
    default:
        if (elementType & ~varTypeMask) throw EVariantBadVarTypeError("Invalid variant type");
    }
    Variant blank = elementType == varVariant ? Variant() : Variant().AsType(elementType);
    Variant v;
    auto data = std::make_shared<Variant::ArrayData>();
    data->ElementType = elementType;
    std::size_t count = 1;
    for (std::size_t k = 0; k < bounds.size(); k += 2) {
        if (bounds[k + 1] < bounds[k] - 1) throw EVariantBadIndexError("Variant or safe array index out of bounds");
        data->Bounds.emplace_back(bounds[k], bounds[k + 1]);
        count *= static_cast<std::size_t>(bounds[k + 1] - bounds[k] + 1);
    }
    data->Items.assign(count, blank);
    VariantAccess::SetArray(v, std::move(data));
    return v;
}


Variant VarArrayOf(const std::vector<Variant>& values)
{
    Variant v = VarArrayCreate({0, static_cast<int32_t>(values.size()) - 1}, varVariant);
    for (std::size_t k = 0; k < values.size(); ++k) v.SetElement({static_cast<int32_t>(k)}, values[k]);
    return v;
}

int VarArrayDimCount(const Variant& v) { return v.DimCount(); }
int32_t VarArrayLowBound(const Variant& v, int dim) { return v.LowBound(dim); }
int32_t VarArrayHighBound(const Variant& v, int dim) { return v.HighBound(dim); }
void VarArrayRedim(Variant& v, int32_t highBound) { v.Redim(highBound); }

bool SameValue(const Variant& a, const Variant& b)
{
    if (a.VarType() != b.VarType()) return false;
    if (a.FArray || b.FArray) {
        if (!a.FArray || !b.FArray) return false;
        if (a.FArray->Bounds != b.FArray->Bounds) return false;
        for (std::size_t k = 0; k < a.FArray->Items.size(); ++k)
            if (!SameValue(a.FArray->Items[k], b.FArray->Items[k])) return false;
        return true;
    }
    switch (a.FType) {
    case varEmpty: case varNull: return true;
    case varBoolean: return a.FV.b == b.FV.b;
    case varSingle: case varDouble: case varDate: return a.FV.d == b.FV.d;
    case varDispatch: return a.FDispatch == b.FDispatch;
    default:
        if (IsStrType(a.FType)) return a.FStr.Get() == b.FStr.Get();
        return a.FV.i == b.FV.i;
    }
}

// --- helpers ------------------------------------------------------------------

std::string VarToStr(const Variant& v) { return v.IsNull() ? std::string() : v.AsString(); }

std::string VarToStrDef(const Variant& v, const std::string& def)
{
    return v.IsNull() ? def : v.AsString();
}

Variant VarAsType(const Variant& v, TVarType type) { return v.AsType(type); }

std::string VarTypeAsText(TVarType type)
{
    std::string name;
    switch (type & varTypeMask) {
    case varEmpty: name = "Empty"; break;
    case varNull: name = "Null"; break;
    case varSmallint: name = "Smallint"; break;
    case varInteger: name = "Integer"; break;
    case varSingle: name = "Single"; break;
    case varDouble: name = "Double"; break;
    case varCurrency: name = "Currency"; break;
    case varDate: name = "Date"; break;
    case varOleStr: name = "OleStr"; break;
    case varDispatch: name = "Dispatch"; break;
    case varError: name = "Error"; break;
    case varBoolean: name = "Boolean"; break;
    case varVariant: name = "Variant"; break;
    case varUnknown: name = "Unknown"; break;
    case varShortInt: name = "ShortInt"; break;
    case varByte: name = "Byte"; break;
    case varWord: name = "Word"; break;
    case varLongWord: name = "LongWord"; break;
    case varInt64: name = "Int64"; break;
    case varString: name = "String"; break;
    case varUString: name = "UnicodeString"; break;
    case varAny: name = "Any"; break;
    default: name = "$" + IntToHex(type & varTypeMask, 4); break;
    }
    if (type & varArray) name = "Array of " + name;
    if (type & varByRef) name = "Ref to " + name;
    return name;
}

// --- operators ------------------------------------------------------------

Variant operator+(const Variant& a, const Variant& b) { return Arith(ArithOp::Add, a, b); }
Variant operator-(const Variant& a, const Variant& b) { return Arith(ArithOp::Sub, a, b); }
Variant operator*(const Variant& a, const Variant& b) { return Arith(ArithOp::Mul, a, b); }

Variant operator/(const Variant& a, const Variant& b)
{
    if (a.IsArray() || b.IsArray()) InvalidOp();
    if (a.IsNull() || b.IsNull()) return Variant::Null();
    long double x = Numeric(a).AsExtended(), y = Numeric(b).AsExtended();
    if (y == 0) {
        if (x == 0) throw EInvalidArgument("Invalid floating point operation");
        throw EZeroDivide("Floating point division by zero");
    }
    return Variant(static_cast<double>(x / y));
}

Variant operator-(const Variant& a)
{
    if (a.IsArray()) InvalidOp();
    if (a.IsNull()) return Variant::Null();
    Variant n = Numeric(a);
    switch (n.VarType()) {
    case varSingle: return Variant(-static_cast<float>(n.AsDouble()));
    case varDouble: return Variant(-n.AsDouble());
    case varDate: return Variant::FromDate(-n.AsDouble());
    case varCurrency: return Variant::FromCurrencyScaled(-n.AsCurrencyScaled());
    default: {
        int64_t v = n.AsInt64();
        if (v == INT64_MIN) return Variant(-static_cast<long double>(v));
        return IntResult(-v, IsWideInt(n));
    }
    }
}

Variant VarIntDiv(const Variant& a, const Variant& b)
{
    if (a.IsArray() || b.IsArray()) InvalidOp();
    if (a.IsNull() || b.IsNull()) return Variant::Null();
    int64_t x = IntOperand(a), y = IntOperand(b);
    if (y == 0) throw EDivByZero("Division by zero");
    if (x == INT64_MIN && y == -1) Overflow();
    return IntResult(x / y, IsWideInt(a) || IsWideInt(b));
}

Variant VarMod(const Variant& a, const Variant& b)
{
    if (a.IsArray() || b.IsArray()) InvalidOp();
    if (a.IsNull() || b.IsNull()) return Variant::Null();
    int64_t x = IntOperand(a), y = IntOperand(b);
    if (y == 0) throw EDivByZero("Division by zero");
    if (y == -1) return IntResult(0, IsWideInt(a) || IsWideInt(b));
    return IntResult(x % y, IsWideInt(a) || IsWideInt(b));
}

namespace {

enum class LogicOp { And, Or, Xor };

Variant Logic(LogicOp op, const Variant& a, const Variant& b)
{
    if (a.IsArray() || b.IsArray()) InvalidOp();
    bool la, lb;
    bool boolA = LogicalOperand(a, la), boolB = LogicalOperand(b, lb);
    // Booleans combine logically; a text beside a Boolean is read as one.
    bool logical = (boolA || a.IsNull() || a.IsString()) && (boolB || b.IsNull() || b.IsString()) &&
                   (boolA || boolB);
    if (a.IsNull() || b.IsNull()) {
        // Three-valued logic: Null and False = False, Null or True = True.
        const Variant& other = a.IsNull() ? b : a;
        if (other.IsNull()) return Variant::Null();
        if (op == LogicOp::Xor) return Variant::Null();
        if (other.IsBoolean() || other.IsString()) {
            bool v = other.AsBoolean();
            if (op == LogicOp::And && !v) return Variant(false);
            if (op == LogicOp::Or && v) return Variant(true);
            return Variant::Null();
        }
        int64_t v = IntOperand(other);
        if (op == LogicOp::And && v == 0) return IntResult(0, IsWideInt(other));
        if (op == LogicOp::Or && v == -1) return IntResult(-1, IsWideInt(other));
        return Variant::Null();
    }
    if (logical) {
        bool x = a.AsBoolean(), y = b.AsBoolean();
        switch (op) {
        case LogicOp::And: return Variant(x && y);
        case LogicOp::Or: return Variant(x || y);
        case LogicOp::Xor: return Variant(x != y);
        }
    }
    int64_t x = IntOperand(a), y = IntOperand(b);
    bool wide = IsWideInt(a) || IsWideInt(b);
    switch (op) {
    case LogicOp::And: return IntResult(x & y, wide);
    case LogicOp::Or: return IntResult(x | y, wide);
    default: return IntResult(x ^ y, wide);
    }
}

Variant Shift(bool left, const Variant& a, const Variant& b)
{
    if (a.IsArray() || b.IsArray()) InvalidOp();
    if (a.IsNull() || b.IsNull()) return Variant::Null();
    int64_t x = IntOperand(a), n = IntOperand(b);
    if (IsWideInt(a)) {
        uint64_t u = static_cast<uint64_t>(x);
        u = left ? u << (n & 63) : u >> (n & 63);
        return Variant(static_cast<long long>(u));
    }
    uint32_t u = static_cast<uint32_t>(x);
    u = left ? u << (n & 31) : u >> (n & 31);
    return Variant(static_cast<int32_t>(u));
}

} // namespace

Variant VarAnd(const Variant& a, const Variant& b) { return Logic(LogicOp::And, a, b); }
Variant VarOr(const Variant& a, const Variant& b) { return Logic(LogicOp::Or, a, b); }
Variant VarXor(const Variant& a, const Variant& b) { return Logic(LogicOp::Xor, a, b); }
Variant VarShl(const Variant& a, const Variant& b) { return Shift(true, a, b); }
Variant VarShr(const Variant& a, const Variant& b) { return Shift(false, a, b); }

Variant VarNot(const Variant& a)
{
    if (a.IsArray()) InvalidOp();
    if (a.IsNull()) return Variant::Null();
    if (a.IsBoolean()) return Variant(!a.AsBoolean());
    if (a.IsString()) {
        bool b;
        std::string s = Trim(a.AsString());
        if (SameText(s, "True") || SameText(s, "False")) {
            TextToBool(s, b);
            return Variant(!b);
        }
    }
    int64_t v = IntOperand(a);
    return IntResult(~v, IsWideInt(a));
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b)
{
    using R = TVariantRelationship;
    if (a.IsArray() || b.IsArray()) InvalidOp();
    if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull() ? R::vrEqual : R::vrNotEqual;
    if (a.IsDispatch() || b.IsDispatch()) {
        if (a.IsDispatch() && b.IsDispatch())
            return a.AsDispatch() == b.AsDispatch() ? R::vrEqual : R::vrNotEqual;
        InvalidOp();
    }
    auto rel = [](auto x, auto y) { return x < y ? R::vrLessThan : y < x ? R::vrGreaterThan : R::vrEqual; };
    bool sa = a.IsString() || a.IsEmpty(), sb = b.IsString() || b.IsEmpty();
    if (sa && sb) {
        int c = CompareStr(a.AsString(), b.AsString());
        return c < 0 ? R::vrLessThan : c > 0 ? R::vrGreaterThan : R::vrEqual;
    }
    if ((a.IsBoolean() && b.IsString()) || (a.IsString() && b.IsBoolean()))
        return rel(a.AsBoolean() ? -1 : 0, b.AsBoolean() ? -1 : 0);
    Variant x = Numeric(a), y = Numeric(b);
    if (x.IsOrdinal() && y.IsOrdinal()) return rel(x.AsInt64(), y.AsInt64());
    if (x.VarType() == varCurrency && y.VarType() == varCurrency)
        return rel(x.AsCurrencyScaled(), y.AsCurrencyScaled());
    long double fx = x.AsExtended(), fy = y.AsExtended();
    // A Single compares at its own precision.
    if (x.VarType() == varSingle || y.VarType() == varSingle) {
        fx = static_cast<float>(fx);
        fy = static_cast<float>(fy);
    }
    return rel(fx, fy);
}

bool operator==(const Variant& a, const Variant& b)
{
    return VarCompareValue(a, b) == TVariantRelationship::vrEqual;
}
bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
bool operator<(const Variant& a, const Variant& b)
{
    return VarCompareValue(a, b) == TVariantRelationship::vrLessThan;
}
bool operator<=(const Variant& a, const Variant& b)
{
    auto r = VarCompareValue(a, b);
    return r == TVariantRelationship::vrLessThan || r == TVariantRelationship::vrEqual;
}
bool operator>(const Variant& a, const Variant& b)
{
    return VarCompareValue(a, b) == TVariantRelationship::vrGreaterThan;
}
bool operator>=(const Variant& a, const Variant& b)
{
    auto r = VarCompareValue(a, b);
    return r == TVariantRelationship::vrGreaterThan || r == TVariantRelationship::vrEqual;
}

} // namespace rtl
