// Variant: the tagged value that scripts, report expressions, report
// variables and property access exchange.  Kinds, operators and conversions
// follow the classic automation Variant rules:
//   - Null propagates through arithmetic; Null = Null is true, Null compared
//     with anything else is unequal (and neither less nor greater);
//   - "+" of two strings concatenates, otherwise a string operand is read as
//     a number ("." is the decimal point);
//   - Boolean True is -1 in numeric contexts; "and", "or", "xor", "not" are
//     logical on Booleans and bitwise on integers;
//   - conversion of a float to an integer rounds halves to the even
//     neighbour.
// The three string kinds (8-bit varString, OLE varOleStr, Unicode
// varUString) keep their kind; all hold UTF-8 text here.  Copies of a text
// value share its text until one of them changes it (copy on write), so a
// copy costs no text copy and appending to a text nobody else holds is done
// in place (AppendInPlace).
// An object travels as an integer Variant holding its 32-bit handle
// (ObjectHandle in Classes.h), 0 for none.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace rtl {

class TObject;
class Variant;

using TVarType = uint16_t;

// Variant type codes.
enum : TVarType {
    varEmpty = 0,
    varNull = 1,
    varSmallint = 2,
    varInteger = 3,
    varSingle = 4,
    varDouble = 5,
    varCurrency = 6,
    varDate = 7,
    varOleStr = 8,
    varDispatch = 9,
    varError = 10,
    varBoolean = 11,
    varVariant = 12,
    varUnknown = 13,
    varShortInt = 16,
    varByte = 17,
    varWord = 18,
    varLongWord = 19,
    varInt64 = 20,
    varStrArg = 72,
    varString = 256,
    varAny = 257,
    varUString = 258,
    varTypeMask = 4095,
    varArray = 8192,
    varByRef = 16384,
};

RTL_DECLARE_EXCEPTION(EVariantError, Exception)
// "Could not convert variant of type (<from>) into type (<to>)"
RTL_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)
// "Invalid variant operation"
RTL_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError)
// "Variant or safe array index out of bounds"
RTL_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError)
// "Arithmetic overflow occurred"
RTL_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError)
// "Invalid argument"
RTL_DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError)
// "Invalid variant type"
RTL_DECLARE_EXCEPTION(EVariantBadVarTypeError, EVariantError)

// The text of a string Variant, shared by its copies until one of them
// changes it.
class VariantText {
public:
    VariantText() = default;
    explicit VariantText(std::string s);
    const std::string& Get() const;
    // The text for changing: copied first while another holder shares it.
    std::string& Unshared();
    bool Shared() const { return FText && FText.use_count() > 1; }

private:
    std::shared_ptr<std::string> FText;
};

// An automation object reached by late binding (held by varDispatch).
class IDispatchObject {
public:
    virtual ~IDispatchObject() = default;
    virtual Variant GetProperty(const std::string& name, const std::vector<Variant>& args) = 0;
    virtual void SetProperty(const std::string& name, const std::vector<Variant>& args,
                             const Variant& value) = 0;
    virtual Variant Call(const std::string& name, const std::vector<Variant>& args) = 0;
};

class Variant {
public:
    Variant() = default;
    Variant(bool b) : FType(varBoolean) { FV.b = b; }
    Variant(int8_t v) : FType(varShortInt) { FV.i = v; }
    Variant(uint8_t v) : FType(varByte) { FV.i = v; }
    Variant(int16_t v) : FType(varSmallint) { FV.i = v; }
    Variant(uint16_t v) : FType(varWord) { FV.i = v; }
    Variant(int32_t v) : FType(varInteger) { FV.i = v; }
    Variant(uint32_t v) : FType(varLongWord) { FV.i = v; }
    Variant(long v) : FType(varInt64) { FV.i = v; }
    Variant(long long v) : FType(varInt64) { FV.i = v; }
    Variant(float v) : FType(varSingle) { FV.d = v; }
    Variant(double v) : FType(varDouble) { FV.d = v; }
    Variant(long double v) : FType(varDouble) { FV.d = static_cast<double>(v); }
    // Texts become Unicode strings (varUString).
    Variant(const char* s) : FType(varUString), FStr(std::string(s)) {}
    Variant(std::string s) : FType(varUString), FStr(std::move(s)) {}
    Variant(std::string_view s) : FType(varUString), FStr(std::string(s)) {}
    Variant(std::u16string_view s);
    explicit Variant(std::shared_ptr<IDispatchObject> d);

    static Variant Null();
    static Variant Empty() { return {}; }
    static Variant FromDate(double dt);
    static Variant FromCurrency(long double value);   // rounded to 4 decimals, halves to even
    static Variant FromCurrencyScaled(int64_t scaled);  // value * 10000
    static Variant AnsiString(std::string s);           // varString
    static Variant OleStr(std::string s);               // varOleStr
    static Variant UString(std::string s);              // varUString
    // The object's handle as a 32-bit integer Variant (0 for nullptr).
    static Variant FromObject(const TObject* obj);

    // The type code (varArray | element type for arrays).
    TVarType VarType() const;
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsBoolean() const { return FType == varBoolean; }
    bool IsString() const;    // any of the three string kinds
    bool IsOrdinal() const;   // integer kinds and Boolean
    bool IsInteger() const;   // integer kinds
    bool IsFloat() const;     // Single, Double, Currency, Date
    bool IsNumeric() const;   // integer kinds, floats (Boolean excluded)
    bool IsArray() const { return FArray != nullptr; }
    bool IsDispatch() const { return FType == varDispatch; }

    // Conversions.  Null (and arrays) raise EVariantTypeCastError, Empty
    // gives 0, False or "".  Integers from floats round halves to even;
    // out-of-range values raise EVariantOverflowError.
    int32_t AsInteger() const;
    int64_t AsInt64() const;
    bool AsBoolean() const;       // numbers: non-zero; texts: "True"/"False" or a number
    double AsDouble() const;
    long double AsExtended() const;
    int64_t AsCurrencyScaled() const;  // value * 10000
    double AsDate() const;        // texts are read as dates (short date format) or numbers
    std::string AsString() const; // UTF-8
    // The text of a string value without copying it ("" for other kinds).
    const std::string& TextRef() const;
    std::u16string AsU16String() const;
    std::shared_ptr<IDispatchObject> AsDispatch() const;
    // The object whose handle the value holds (nullptr for 0 or a freed one).
    TObject* AsObject() const;

    // Converts to the given type code (element type codes only).
    Variant AsType(TVarType type) const;

    // Whether "*this + b" concatenates texts (a text and a text or Empty,
    // or Empty and a text) rather than computing a number or Null.
    bool ConcatenatesWith(const Variant& b) const;
    // Appends b in place when "*this + b" concatenates (a text and a text or
    // Empty, or Empty and a text), giving the kind "+" gives; the text is
    // copied first only while another Variant shares it, so a loop of
    // appends to one holder grows in amortised linear time.  Returns false,
    // changing nothing, when "+" would compute a number or Null instead.
    bool AppendInPlace(const Variant& b);
    // Appends text to a string value in place, keeping its kind (string
    // values only; EVariantInvalidOpError otherwise).
    void AppendText(std::string_view text);
    // Whether another Variant shares this value's text.
    bool SharesText() const { return FStr.Shared(); }

    // Variant arrays.  Indexes are checked against the bounds
    // (EVariantBadIndexError); dimension numbers are 1-based.
    int DimCount() const;
    int32_t LowBound(int dim) const;
    int32_t HighBound(int dim) const;
    Variant GetElement(const std::vector<int32_t>& indexes) const;
    void SetElement(const std::vector<int32_t>& indexes, const Variant& value);
    Variant operator[](int32_t index) const { return GetElement({index}); }
    // Sets the last dimension's high bound, keeping the elements that stay.
    void Redim(int32_t highBound);

    friend bool SameValue(const Variant& a, const Variant& b);  // same type and value
    friend Variant VarArrayCreate(const std::vector<int32_t>& bounds, TVarType elementType);

private:
    friend struct VariantAccess;
    struct ArrayData;

    TVarType FType = varEmpty;
    union {
        int64_t i;
        double d;
        bool b;
    } FV{0};
    VariantText FStr;
    std::shared_ptr<ArrayData> FArray;
    std::shared_ptr<IDispatchObject> FDispatch;

    ArrayData& MutableArray();
    int64_t IntegerOf(TVarType target) const;
};

// Variant arrays: bounds lists low and high bound per dimension.
Variant VarArrayCreate(const std::vector<int32_t>& bounds, TVarType elementType);
Variant VarArrayOf(const std::vector<Variant>& values);   // 0-based, varVariant elements
int VarArrayDimCount(const Variant& v);
int32_t VarArrayLowBound(const Variant& v, int dim);
int32_t VarArrayHighBound(const Variant& v, int dim);
void VarArrayRedim(Variant& v, int32_t highBound);

// Helpers in the customary form.
inline TVarType VarType(const Variant& v) { return v.VarType(); }
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
inline bool VarIsStr(const Variant& v) { return v.IsString(); }
// The text of a value; Null gives "".
std::string VarToStr(const Variant& v);
std::string VarToStrDef(const Variant& v, const std::string& def);
Variant VarAsType(const Variant& v, TVarType type);
// "Integer", "UnicodeString", "Array of Variant", ...
std::string VarTypeAsText(TVarType type);

// Operators.  Null operands give Null (and/or follow three-valued logic);
// arrays raise EVariantInvalidOpError.
Variant operator+(const Variant& a, const Variant& b);
Variant operator-(const Variant& a, const Variant& b);
Variant operator*(const Variant& a, const Variant& b);
Variant operator/(const Variant& a, const Variant& b);  // always a float
Variant operator-(const Variant& a);
Variant VarIntDiv(const Variant& a, const Variant& b);  // div
Variant VarMod(const Variant& a, const Variant& b);     // mod
Variant VarAnd(const Variant& a, const Variant& b);
Variant VarOr(const Variant& a, const Variant& b);
Variant VarXor(const Variant& a, const Variant& b);
Variant VarNot(const Variant& a);
Variant VarShl(const Variant& a, const Variant& b);
Variant VarShr(const Variant& a, const Variant& b);

enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };
// vrNotEqual when exactly one side is Null.
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);

bool operator==(const Variant& a, const Variant& b);
bool operator!=(const Variant& a, const Variant& b);
bool operator<(const Variant& a, const Variant& b);
bool operator<=(const Variant& a, const Variant& b);
bool operator>(const Variant& a, const Variant& b);
bool operator>=(const Variant& a, const Variant& b);

} // namespace rtl
