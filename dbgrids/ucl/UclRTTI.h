// Type-information wrappers over the platform's reflection registry
// (platform/rtl/TypInfo.h), used here for one thing: a set value as the
// text of its member names ("[fsBold, fsItalic]") and back.
//
// The one rule: a set value is raw bytes; member O of a base MinValue..
// MaxValue is bit O - MinValue + (MinValue mod 8), counted from the low bit
// of the first byte.  For sets the registry describes (sets of RTL_ENUM
// enumerations) the bytes are the registry's bit mask.
//
//   std::string t = ucl::SetToText(RtlTypeInfoOf((TFontStyles*)nullptr), mask, true);
//   uint64_t m = 0; ucl::TextToSet(type, &m, "[fsBold]");
// The registry cannot describe sets over integer subranges or characters;
// build their wrapper directly:
//   ucl::TUclSetTypeInfo sub(ucl::TUclOrdinalRangeTypeInfo::Subrange("T78", 7, 8));
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dbgrids/ucl/UclBase.h"
#include "dbgrids/ucl/UclRTTIIntf.h"
#include "platform/rtl/TypInfo.h"

namespace ucl {

RTL_DECLARE_EXCEPTION(EUclRTTIError, EUclError)

// Where the dumps and declarations go: lines, one indentation level per
// IndentMore.
class IUclDumpWriter {
public:
    virtual ~IUclDumpWriter() = default;
    virtual void WriteText(const std::string& s) = 0;
    virtual void WriteLine(const std::string& s) = 0;
    virtual void IndentMore() = 0;
    virtual void IndentLess() = 0;
};

// Collects the lines, two blanks per level.
class TUclStringDumpWriter : public IUclDumpWriter {
public:
    std::vector<std::string> Lines;
    void WriteText(const std::string& s) override { FPending += s; }
    void WriteLine(const std::string& s) override;
    void IndentMore() override { ++FLevel; }
    void IndentLess() override { if (FLevel > 0) --FLevel; }

private:
    std::string FPending;
    int FLevel = 0;
};

class TUclTypeInfo : public virtual IUclTypeInfo {
public:
    explicit TUclTypeInfo(const rtl::TTypeInfo* info) : FTypeInfo(info) {}
    virtual ~TUclTypeInfo() = default;
    // A readable dump, and a source-like declaration, of the type.
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
    std::string Name() const override { return FTypeInfo ? FTypeInfo->Name() : FName; }
    rtl::TTypeKind TypeKind() const override { return FTypeInfo ? FTypeInfo->Kind : FKind; }
    const rtl::TTypeInfo* TypeInfo() const override { return FTypeInfo; }

protected:
    const rtl::TTypeInfo* FTypeInfo;
    std::string FName;
    rtl::TTypeKind FKind = rtl::TTypeKind::tkUnknown;
};

// An ordinal type: its width and sign.
class TUclOrdinalTypeInfo : public TUclTypeInfo, public virtual IUclOrdinalTypeInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    rtl::TOrdType OrdinalType() const override { return FTypeInfo ? FTypeInfo->OrdType : rtl::TOrdType::otSLong; }
    void WriteDump(IUclDumpWriter& dest) const override;
};

class TUclOrdinalRangeTypeInfo : public TUclOrdinalTypeInfo, public virtual IUclOrdinalRangeTypeInfo {
public:
    TUclOrdinalRangeTypeInfo(const rtl::TTypeInfo* info, int64_t minValue, int64_t maxValue)
        : TUclOrdinalTypeInfo(info), FMin(minValue), FMax(maxValue)
    {
    }
    // An integer subrange the registry has no record of.
    static std::shared_ptr<TUclOrdinalRangeTypeInfo> Subrange(std::string name, int64_t minValue, int64_t maxValue);
    int64_t MinValue() const override { return FMin; }
    int64_t MaxValue() const override { return FMax; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
    // The member's text: its name for enumerations, else its number.
    virtual std::string MemberText(int64_t ordinal) const { return std::to_string(ordinal); }
    // The member of a text; raises on an unknown one.
    virtual int64_t MemberOf(const std::string& text) const;

private:
    int64_t FMin, FMax;
};

class TUclEnumerationTypeInfo : public TUclOrdinalRangeTypeInfo, public virtual IUclEnumerationTypeInfo {
public:
    explicit TUclEnumerationTypeInfo(const rtl::TTypeInfo* info);
    const std::vector<std::string>& Names() const override { return FTypeInfo->EnumNames; }
    // Case ignored; -1 when absent.
    int IndexOfName(const std::string& name) const override;
    // The registry records no units.
    std::string UnitName() const override { return ""; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
    std::string MemberText(int64_t ordinal) const override;
    int64_t MemberOf(const std::string& text) const override;
};

class TUclSetTypeInfo : public TUclOrdinalTypeInfo, public virtual IUclSetInfo {
public:
    // A set type of the registry (tkSet with an enumeration element).
    explicit TUclSetTypeInfo(const rtl::TTypeInfo* info);
    // A set over any ordinal range.
    explicit TUclSetTypeInfo(std::shared_ptr<TUclOrdinalRangeTypeInfo> base);
    const TUclOrdinalRangeTypeInfo& BaseType() const { return *FBase; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
    // Bytes of a value: ((FirstBit + member count) + 7) div 8.
    size_t ValueSize() const;
    // Appends the members (runs as "first .. last" with wantRanges).
    void GetAsList(const void* value, bool wantRanges, std::vector<std::string>& strings) const override;
    // Clears the value, then sets the members of the strings ("a", "a .. c").
    void SetAsList(void* value, const std::vector<std::string>& strings) const override;

private:
    std::shared_ptr<TUclOrdinalRangeTypeInfo> FBase;
};

class TUclFloatTypeInfo : public TUclTypeInfo, public virtual IUclFloatInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    rtl::TFloatType FloatType() const override { return FTypeInfo->FloatType; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

// A short string: at most MaxLength single-byte characters.
class TUclStringTypeInfo : public TUclTypeInfo, public virtual IUclStringInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    int MaxLength() const override { return 255; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

class TUclInt64TypeInfo : public TUclTypeInfo, public virtual IUclInt64Info {
public:
    using TUclTypeInfo::TUclTypeInfo;
    int64_t MinValue() const override { return INT64_MIN; }
    int64_t MaxValue() const override { return INT64_MAX; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

// How a property is read, written or tested for storing.  The registry
// reaches every property through functions: getters and setters are
// static methods, and a property without a stored test is stored (the
// constant True).
enum class TUclPropSpecKind { pskNone, pskStaticMethod, pskVirtualMethod, pskField, pskConstant };

// An access value decoded: its kind and the value that goes with it (the
// field offset, the virtual method's table offset, the static method's
// address, or 0 / 1 for the constants False / True).
struct TUclPropAccess {
    TUclPropSpecKind Kind = TUclPropSpecKind::pskNone;
    uint64_t Value = 0;
};
TUclPropAccess DecodePropAccess(uint64_t access);

// One published property.  The registry keeps no indexes: Index is "none"
// ($80000000).
class TUclPropInfo : public IUclPropInfo {
public:
    static constexpr int32_t kNone = INT32_MIN;  // $80000000: no index, no default
    explicit TUclPropInfo(const rtl::TPropInfo& prop) : FPropInfo(prop) {}
    const rtl::TPropInfo& PropInfo() const { return FPropInfo; }
    std::unique_ptr<TUclTypeInfo> PropType() const;
    // The raw access values.
    uint64_t Reader() const { return FPropInfo.Reader(); }
    uint64_t Writer() const { return FPropInfo.Writer(); }
    uint64_t StoredProc() const { return FPropInfo.StoredProc(); }
    const std::string& Name() const override { return FPropInfo.Name(); }
    int32_t Index() const override { return kNone; }
    int32_t Default() const override { return FPropInfo.HasDefault() ? static_cast<int32_t>(FPropInfo.Default()) : kNone; }
    // The property's place in its declaring class's list (ancestors' first).
    int NameIndex() const;
    TUclPropSpecKind ReaderType() const { return DecodePropAccess(Reader()).Kind; }
    TUclPropSpecKind WriterType() const { return DecodePropAccess(Writer()).Kind; }
    TUclPropSpecKind StoredType() const { return DecodePropAccess(StoredProc()).Kind; }
    uint64_t ReaderValue() const { return DecodePropAccess(Reader()).Value; }
    uint64_t WriterValue() const { return DecodePropAccess(Writer()).Value; }
    uint64_t StoredValue() const { return DecodePropAccess(StoredProc()).Value; }
    bool IsStored(const rtl::TObject* instance) const { return FPropInfo.IsStored(instance); }
    bool HasDefault() const override { return Default() != kNone; }
    bool HasIndex() const override { return Index() != kNone; }

private:
    const rtl::TPropInfo& FPropInfo;
};

// A class of the registry with its published properties.
class TUclClassTypeInfo : public TUclTypeInfo, public virtual IUclClassTypeInfo {
public:
    explicit TUclClassTypeInfo(const rtl::TClassInfo& cls) : TUclTypeInfo(nullptr), FClass(cls) {}
    std::string Name() const override { return FClass.Name(); }
    const rtl::TClassInfo& ClassRef() const { return FClass; }
    // nullptr for a class without a described parent.
    std::unique_ptr<TUclClassTypeInfo> Parent() const;
    // Own and inherited properties.
    int TotalPropertyCount() const override { return static_cast<int>(FClass.Properties().size()); }
    // The class's own properties.
    int PropertyCount() const override;
    // The own properties first (0 .. PropertyCount - 1), then the parent's
    // (its Properties at index - PropertyCount); nullptr past the end.
    std::unique_ptr<TUclPropInfo> Properties(int index) const;
    // By name, case ignored, inherited ones included; nullptr when none.
    std::unique_ptr<TUclPropInfo> PropNames(const std::string& name) const;
    // The registry records no units.
    std::string UnitName() const override { return ""; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;

private:
    const rtl::TClassInfo& FClass;
};

// One parameter of a method type.
class TUclEventParamInfo : public IUclEventParamInfo {
public:
    explicit TUclEventParamInfo(const rtl::TParamInfo& param) : FParam(param) {}
    const rtl::TParamInfo& Param() const { return FParam; }
    rtl::TParamFlags Flags() const override { return FParam.Flags; }
    const std::string& Name() const override { return FParam.Name; }
    const std::string& TypeName() const override { return FParam.TypeName; }
    // The record's size: flags byte, then name and type name as
    // length-prefixed texts.
    int RecSize() const override { return 3 + static_cast<int>(FParam.Name.size() + FParam.TypeName.size()); }

private:
    const rtl::TParamInfo& FParam;
};

// A method type (an event's signature).
class TUclEventTypeInfo : public TUclTypeInfo, public virtual IUclEventInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    rtl::TMethodKind MethodKind() const override { return FTypeInfo->MethodKind; }
    int ParameterCount() const override { return static_cast<int>(FTypeInfo->Params.size()); }
    // nullptr outside 0 .. ParameterCount - 1.
    std::unique_ptr<TUclEventParamInfo> Parameters(int index) const;
    // Empty for a procedure.
    std::string ResultTypeName() const override
    {
        return MethodKind() == rtl::TMethodKind::mkFunction ? FTypeInfo->ResultType : std::string();
    }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

class TUclInterfaceTypeInfo : public TUclTypeInfo, public virtual IUclInterfaceTypeInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    // nullptr for an interface without a parent.
    std::unique_ptr<TUclInterfaceTypeInfo> Parent() const;
    rtl::TIntfFlags Flags() const override { return FTypeInfo->IntfFlags; }
    const rtl::TTypeGuid& GUID() const override { return FTypeInfo->Guid; }
    int PropertyCount() const override { return FTypeInfo->IntfPropCount; }
    const std::string& UnitName() const override { return FTypeInfo->UnitName; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

class TUclDynArrayTypeInfo : public TUclTypeInfo, public virtual IUclDynArrayInfo {
public:
    using TUclTypeInfo::TUclTypeInfo;
    int ElementSize() const override { return FTypeInfo->ElementSize; }
    // nullptr when the element type is not described.
    std::unique_ptr<TUclTypeInfo> ElementType() const;
    bool ElementsNeedCleanup() const override { return FTypeInfo->ElementsNeedCleanup; }
    int VarType() const override { return FTypeInfo->VarType; }
    const std::string& UnitName() const override { return FTypeInfo->UnitName; }
    void WriteDump(IUclDumpWriter& dest) const override;
    void WriteDeclaration(IUclDumpWriter& dest) const override;
};

// The wrapper by the record's kind: integers and characters, enumerations,
// sets, floats, short strings, 64-bit integers, classes, method types,
// interfaces and dynamic arrays have their own; other kinds get the plain
// wrapper.
std::unique_ptr<TUclTypeInfo> TypeInfoWrapper(const rtl::TTypeInfo* info);

std::string SetToText(const TUclSetTypeInfo& type, const void* value, bool wantBrackets = false, bool wantRanges = false);
void TextToSet(const TUclSetTypeInfo& type, void* value, const std::string& text);
// Registry sets held as their bit mask.
std::string SetToText(const rtl::TTypeInfo* setType, uint64_t mask, bool wantBrackets = false, bool wantRanges = false);
uint64_t TextToSet(const rtl::TTypeInfo* setType, const std::string& text);

// The name of an enumeration value; "Value out of range (ordinal=N)." for
// a value outside it.
std::string OrdinalToText(const rtl::TTypeInfo* enumType, int64_t value);

void SetBitInArray(uint32_t* words, int bit);
bool TestBitInArray(const uint32_t* words, int bit);

} // namespace ucl
