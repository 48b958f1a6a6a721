// The interfaces of the type-information wrappers (UclRTTI.h): one per
// kind of type, each derived interface extending the one of its base
// wrapper, each with its identifier IID.  A wrapper is reached through them
// with dynamic_cast:
//
//   auto w = ucl::TypeInfoWrapper(info);
//   if (auto* e = dynamic_cast<const ucl::IUclEnumerationTypeInfo*>(w.get())) e->IndexOfName("cpRed");
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbgrids/ucl/UclSysUtils.h"
#include "platform/rtl/TypInfo.h"

namespace ucl {

class IUclDumpWriter;

namespace rtti_detail {
constexpr TGUID Iid(uint32_t d1) { return {d1, 0x46EA, 0x11D5, {0xB0, 0xC0, 0x48, 0x54, 0xE8, 0x25, 0xF3, 0x45}}; }
} // namespace rtti_detail

// The dump and declaration writers every type wrapper has.
class IUclBaseInfo {
public:
    virtual ~IUclBaseInfo() = default;
    virtual void WriteDump(IUclDumpWriter& dest) const = 0;
    virtual void WriteDeclaration(IUclDumpWriter& dest) const = 0;
};

class IUclTypeInfo : public virtual IUclBaseInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5220);
    virtual std::string Name() const = 0;
    virtual const rtl::TTypeInfo* TypeInfo() const = 0;
    virtual rtl::TTypeKind TypeKind() const = 0;
};

class IUclOrdinalTypeInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5221);
    virtual rtl::TOrdType OrdinalType() const = 0;
};

class IUclOrdinalRangeTypeInfo : public virtual IUclOrdinalTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5222);
    virtual int64_t MinValue() const = 0;
    virtual int64_t MaxValue() const = 0;
};

class IUclEnumerationTypeInfo : public virtual IUclOrdinalRangeTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5223);
    virtual const std::vector<std::string>& Names() const = 0;
    virtual std::string UnitName() const = 0;
    virtual int IndexOfName(const std::string& name) const = 0;
};

class IUclSetInfo : public virtual IUclOrdinalTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5224);
    virtual void GetAsList(const void* value, bool wantRanges, std::vector<std::string>& strings) const = 0;
    virtual void SetAsList(void* value, const std::vector<std::string>& strings) const = 0;
};

class IUclFloatInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5225);
    virtual rtl::TFloatType FloatType() const = 0;
};

class IUclStringInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5226);
    virtual int MaxLength() const = 0;
};

class IUclClassTypeInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5228);
    virtual int TotalPropertyCount() const = 0;
    virtual int PropertyCount() const = 0;
    virtual std::string UnitName() const = 0;
};

class IUclEventInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD522A);
    virtual rtl::TMethodKind MethodKind() const = 0;
    virtual int ParameterCount() const = 0;
    virtual std::string ResultTypeName() const = 0;
};

class IUclInterfaceTypeInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD522B);
    virtual rtl::TIntfFlags Flags() const = 0;
    virtual const rtl::TTypeGuid& GUID() const = 0;
    virtual int PropertyCount() const = 0;
    virtual const std::string& UnitName() const = 0;
};

class IUclInt64Info : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD522C);
    virtual int64_t MinValue() const = 0;
    virtual int64_t MaxValue() const = 0;
};

class IUclDynArrayInfo : public virtual IUclTypeInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD522E);
    virtual int ElementSize() const = 0;
    virtual bool ElementsNeedCleanup() const = 0;
    virtual int VarType() const = 0;
    virtual const std::string& UnitName() const = 0;
};

// Property and parameter wrappers have no dump operations.
class IUclPropInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5227);
    virtual ~IUclPropInfo() = default;
    virtual const std::string& Name() const = 0;
    virtual int32_t Index() const = 0;
    virtual int32_t Default() const = 0;
    virtual bool HasDefault() const = 0;
    virtual bool HasIndex() const = 0;
};

class IUclEventParamInfo {
public:
    static constexpr TGUID IID = rtti_detail::Iid(0x7DAD5229);
    virtual ~IUclEventParamInfo() = default;
    virtual rtl::TParamFlags Flags() const = 0;
    virtual const std::string& Name() const = 0;
    virtual int RecSize() const = 0;
    virtual const std::string& TypeName() const = 0;
};

} // namespace ucl
