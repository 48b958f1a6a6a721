#include "dbgrids/ucl/UclRTTI.h"

#include <cstring>

#include "dbgrids/ucl/UclStrings.h"
#include "platform/rtl/Strings.h"

namespace ucl {

namespace {

int64_t FloorMod8(int64_t v)
{
    int64_t m = v % 8;
    return m < 0 ? m + 8 : m;
}

} // namespace

std::shared_ptr<TUclOrdinalRangeTypeInfo> TUclOrdinalRangeTypeInfo::Subrange(std::string name, int64_t minValue,
                                                                             int64_t maxValue)
{
    auto t = std::make_shared<TUclOrdinalRangeTypeInfo>(nullptr, minValue, maxValue);
    t->FName = std::move(name);
    t->FKind = rtl::TTypeKind::tkInteger;
    return t;
}

int64_t TUclOrdinalRangeTypeInfo::MemberOf(const std::string& text) const
{
    return rtl::StrToInt64(text);  // the platform's conversion error for a non-number
}

TUclEnumerationTypeInfo::TUclEnumerationTypeInfo(const rtl::TTypeInfo* info)
    : TUclOrdinalRangeTypeInfo(info, 0, static_cast<int64_t>(info->EnumNames.size()) - 1)
{
}

int TUclEnumerationTypeInfo::IndexOfName(const std::string& name) const
{
    for (size_t i = 0; i < Names().size(); ++i)
        if (rtl::AnsiSameText(Names()[i], name)) return static_cast<int>(i);
    return -1;
}

std::string TUclEnumerationTypeInfo::MemberText(int64_t ordinal) const
{
    return ordinal >= 0 && ordinal < static_cast<int64_t>(Names().size()) ? Names()[static_cast<size_t>(ordinal)]
                                                                          : std::to_string(ordinal);
}

int64_t TUclEnumerationTypeInfo::MemberOf(const std::string& text) const
{
    int i = IndexOfName(text);
    if (i < 0) throw EUclRTTIError("Unknown identifier '" + text + "'.");
    return i;
}

TUclSetTypeInfo::TUclSetTypeInfo(const rtl::TTypeInfo* info) : TUclOrdinalTypeInfo(info)
{
    if (!info || info->Kind != rtl::TTypeKind::tkSet || !info->CompType)
        throw EUclRTTIError("Unknown base type for given set");
    FBase = std::make_shared<TUclEnumerationTypeInfo>(info->CompType);
}

TUclSetTypeInfo::TUclSetTypeInfo(std::shared_ptr<TUclOrdinalRangeTypeInfo> base)
    : TUclOrdinalTypeInfo(nullptr), FBase(std::move(base))
{
    FName = "set of " + FBase->Name();
    FKind = rtl::TTypeKind::tkSet;
}

size_t TUclSetTypeInfo::ValueSize() const
{
    int64_t count = FBase->MaxValue() - FBase->MinValue() + 1;
    if (count < 0) count = 0;
    return static_cast<size_t>((FloorMod8(FBase->MinValue()) + count + 7) / 8);
}

void TUclSetTypeInfo::GetAsList(const void* value, bool wantRanges, std::vector<std::string>& strings) const
{
    const auto* bytes = static_cast<const uint8_t*>(value);
    int64_t minV = FBase->MinValue();
    int64_t firstBit = FloorMod8(minV);
    int64_t lastBit = FBase->MaxValue() - minV + firstBit;
    auto test = [&](int64_t bit) { return (bytes[bit / 8] >> (bit % 8)) & 1; };
    int64_t bit = firstBit;
    while (bit <= lastBit) {
        if (!test(bit)) {
            ++bit;
            continue;
        }
        int64_t runStart = bit;
        while (bit + 1 <= lastBit && test(bit + 1)) ++bit;
        int64_t f = runStart - firstBit + minV, l = bit - firstBit + minV;
        if (!wantRanges || f == l) {
            for (int64_t o = f; o <= l; ++o) strings.push_back(FBase->MemberText(o));
        } else {
            strings.push_back(FBase->MemberText(f) + " .. " + FBase->MemberText(l));
        }
        ++bit;
    }
}

void TUclSetTypeInfo::SetAsList(void* value, const std::vector<std::string>& strings) const
{
    auto* bytes = static_cast<uint8_t*>(value);
    std::memset(bytes, 0, ValueSize());
    int64_t minV = FBase->MinValue();
    int64_t firstBit = FloorMod8(minV);
    for (const std::string& raw : strings) {
        std::string s = rtl::Trim(raw);
        if (s.empty()) continue;
        std::string first = s, last = s;
        auto dots = s.find("..");
        if (dots != std::string::npos) {
            first = rtl::Trim(s.substr(0, dots));
            last = rtl::Trim(s.substr(dots + 2));
        }
        int64_t f = FBase->MemberOf(first);
        int64_t l = FBase->MemberOf(last);
        for (int64_t o = f; o <= l; ++o) {
            if (o < minV || o > FBase->MaxValue()) continue;  // never a bit beyond the value
            int64_t bit = o - minV + firstBit;
            bytes[bit / 8] = static_cast<uint8_t>(bytes[bit / 8] | (1u << (bit % 8)));
        }
    }
}

std::unique_ptr<TUclTypeInfo> TypeInfoWrapper(const rtl::TTypeInfo* info)
{
    using K = rtl::TTypeKind;
    switch (info->Kind) {
    case K::tkEnumeration: return std::make_unique<TUclEnumerationTypeInfo>(info);
    case K::tkFloat: return std::make_unique<TUclFloatTypeInfo>(info);
    case K::tkInt64: return std::make_unique<TUclInt64TypeInfo>(info);
    case K::tkClass:
        if (info->ClassType()) return std::make_unique<TUclClassTypeInfo>(*info->ClassType());
        return std::make_unique<TUclTypeInfo>(info);
    case K::tkSet: return std::make_unique<TUclSetTypeInfo>(info);
    case K::tkString: return std::make_unique<TUclStringTypeInfo>(info);
    case K::tkMethod: return std::make_unique<TUclEventTypeInfo>(info);
    case K::tkInterface: return std::make_unique<TUclInterfaceTypeInfo>(info);
    case K::tkDynArray: return std::make_unique<TUclDynArrayTypeInfo>(info);
    case K::tkInteger:
    case K::tkChar:
    case K::tkWChar: {
        int64_t lo = 0, hi = 0;
        switch (info->OrdType) {
        case rtl::TOrdType::otSByte: lo = -128; hi = 127; break;
        case rtl::TOrdType::otUByte: lo = 0; hi = 255; break;
        case rtl::TOrdType::otSWord: lo = -32768; hi = 32767; break;
        case rtl::TOrdType::otUWord: lo = 0; hi = 65535; break;
        case rtl::TOrdType::otULong: lo = 0; hi = 0xFFFFFFFFLL; break;
        default: lo = INT32_MIN; hi = INT32_MAX; break;
        }
        return std::make_unique<TUclOrdinalRangeTypeInfo>(info, lo, hi);
    }
    default: return std::make_unique<TUclTypeInfo>(info);
    }
}

std::unique_ptr<TUclTypeInfo> TUclPropInfo::PropType() const
{
    return TypeInfoWrapper(FPropInfo.PropType());
}

TUclPropAccess DecodePropAccess(uint64_t v)
{
    const uint64_t top = v >> 56;
    if (v > 0xFFFFFF && top == 0xFE) return {TUclPropSpecKind::pskVirtualMethod, v & 0xFFFF};
    if (v > 0xFFFFFF && top == 0xFF) return {TUclPropSpecKind::pskField, v & 0xFFFFFF};
    if (v < 2) return {TUclPropSpecKind::pskConstant, v};
    return {TUclPropSpecKind::pskStaticMethod, v};
}

std::unique_ptr<TUclEventParamInfo> TUclEventTypeInfo::Parameters(int index) const
{
    if (index < 0 || index >= ParameterCount()) return nullptr;
    return std::make_unique<TUclEventParamInfo>(FTypeInfo->Params[static_cast<size_t>(index)]);
}

std::unique_ptr<TUclInterfaceTypeInfo> TUclInterfaceTypeInfo::Parent() const
{
    return FTypeInfo->IntfParent ? std::make_unique<TUclInterfaceTypeInfo>(FTypeInfo->IntfParent) : nullptr;
}

std::unique_ptr<TUclTypeInfo> TUclDynArrayTypeInfo::ElementType() const
{
    return FTypeInfo->ElementType ? TypeInfoWrapper(FTypeInfo->ElementType) : nullptr;
}

int TUclPropInfo::NameIndex() const
{
    const auto& list = FPropInfo.DeclaringClass()->Properties();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == &FPropInfo) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<TUclClassTypeInfo> TUclClassTypeInfo::Parent() const
{
    return FClass.Parent() ? std::make_unique<TUclClassTypeInfo>(*FClass.Parent()) : nullptr;
}

int TUclClassTypeInfo::PropertyCount() const
{
    int n = 0;
    for (const rtl::TPropInfo* p : FClass.Properties())
        if (p->DeclaringClass() == &FClass) ++n;
    return n;
}

std::unique_ptr<TUclPropInfo> TUclClassTypeInfo::Properties(int index) const
{
    if (index < 0) return nullptr;
    int own = 0;
    for (const rtl::TPropInfo* p : FClass.Properties())
        if (p->DeclaringClass() == &FClass && own++ == index) return std::make_unique<TUclPropInfo>(*p);
    std::unique_ptr<TUclClassTypeInfo> parent = Parent();
    return parent ? parent->Properties(index - own) : nullptr;
}

std::unique_ptr<TUclPropInfo> TUclClassTypeInfo::PropNames(const std::string& name) const
{
    const rtl::TPropInfo* p = FClass.FindProperty(name);
    return p ? std::make_unique<TUclPropInfo>(*p) : nullptr;
}

std::string SetToText(const TUclSetTypeInfo& type, const void* value, bool wantBrackets, bool wantRanges)
{
    std::vector<std::string> list;
    type.GetAsList(value, wantRanges, list);
    std::string s;
    for (size_t i = 0; i < list.size(); ++i) s += (i ? ", " : "") + list[i];
    return wantBrackets ? "[" + s + "]" : s;
}

void TextToSet(const TUclSetTypeInfo& type, void* value, const std::string& text)
{
    std::vector<std::u16string> pieces;
    SplitText(rtl::UTF8ToUTF16(text), u",", pieces, true);
    std::vector<std::string> list;
    for (const auto& p : pieces) list.push_back(rtl::UTF16ToUTF8(p));
    if (!list.empty() && !list.front().empty() && list.front()[0] == '[') {
        list.front().erase(0, 1);
        if (!list.back().empty()) list.back().pop_back();
    }
    type.SetAsList(value, list);
}

std::string SetToText(const rtl::TTypeInfo* setType, uint64_t mask, bool wantBrackets, bool wantRanges)
{
    TUclSetTypeInfo t(setType);
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(mask >> (8 * i));
    return SetToText(t, bytes, wantBrackets, wantRanges);
}

uint64_t TextToSet(const rtl::TTypeInfo* setType, const std::string& text)
{
    TUclSetTypeInfo t(setType);
    uint8_t bytes[8] = {};
    if (t.ValueSize() > sizeof bytes) throw EUclRTTIError("Unknown base type for given set");
    TextToSet(t, bytes, text);
    uint64_t mask = 0;
    for (int i = 0; i < 8; ++i) mask |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return mask;
}

std::string OrdinalToText(const rtl::TTypeInfo* enumType, int64_t value)
{
    if (value >= 0 && value < static_cast<int64_t>(enumType->EnumNames.size()))
        return enumType->EnumNames[static_cast<size_t>(value)];
    return "Value out of range (ordinal=" + std::to_string(value) + ").";
}

void SetBitInArray(uint32_t* words, int bit)
{
    words[bit / 32] |= 1u << (bit % 32);
}

bool TestBitInArray(const uint32_t* words, int bit)
{
    return (words[bit / 32] & (1u << (bit % 32))) != 0;
}

} // namespace ucl
