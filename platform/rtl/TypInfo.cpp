#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/Lists.h"

namespace rtl {

// --- types -------------------------------------------------------------------

std::string TTypeInfo::Name() const
{
    if (Kind == TTypeKind::tkClass && ClassRef) return ClassRef().Name();
    return FName;
}

bool TTypeInfo::IsBoolean() const
{
    return Kind == TTypeKind::tkEnumeration && (SameText(FName, "Boolean") || SameText(FName, "bool"));
}

bool TTypeInfo::IsOrdinal() const
{
    switch (Kind) {
    case TTypeKind::tkInteger: case TTypeKind::tkChar: case TTypeKind::tkWChar:
    case TTypeKind::tkEnumeration: case TTypeKind::tkSet: case TTypeKind::tkInt64:
        return true;
    default:
        return false;
    }
}

bool TTypeInfo::IsString() const
{
    return Kind == TTypeKind::tkString || Kind == TTypeKind::tkLString ||
           Kind == TTypeKind::tkWString || Kind == TTypeKind::tkUString;
}

TTypeInfo TTypeInfo::Make(std::string name, TTypeKind kind)
{
    TTypeInfo t;
    t.FName = std::move(name);
    t.Kind = kind;
    return t;
}

TTypeInfo TTypeInfo::Method(std::string name, TMethodKind kind, std::vector<TParamInfo> params, std::string resultType)
{
    TTypeInfo t = Make(std::move(name), TTypeKind::tkMethod);
    t.MethodKind = kind;
    t.Params = std::move(params);
    t.ResultType = std::move(resultType);
    return t;
}

TTypeInfo TTypeInfo::Interface(std::string name, const TTypeInfo* parent, TIntfFlags flags, TTypeGuid guid,
                               std::string unitName, int propCount)
{
    TTypeInfo t = Make(std::move(name), TTypeKind::tkInterface);
    t.IntfParent = parent;
    t.IntfFlags = flags;
    t.Guid = guid;
    t.UnitName = std::move(unitName);
    t.IntfPropCount = propCount;
    return t;
}

TTypeInfo TTypeInfo::DynArray(std::string name, const TTypeInfo* element, int elementSize, bool needCleanup,
                              int varType, std::string unitName)
{
    TTypeInfo t = Make(std::move(name), TTypeKind::tkDynArray);
    t.ElementType = element;
    t.ElementSize = elementSize;
    t.ElementsNeedCleanup = needCleanup;
    t.VarType = varType;
    t.UnitName = std::move(unitName);
    return t;
}

TTypeInfo TTypeInfo::Enumeration(std::string name, std::vector<std::string> names)
{
    TTypeInfo t = Make(std::move(name), TTypeKind::tkEnumeration);
    t.OrdType = names.size() <= 256 ? TOrdType::otUByte : TOrdType::otUWord;
    t.EnumNames = std::move(names);
    return t;
}

TTypeInfo TTypeInfo::SetOf(std::string name, const TTypeInfo* element)
{
    TTypeInfo t = Make(std::move(name), TTypeKind::tkSet);
    t.CompType = element;
    return t;
}

namespace {

const TTypeInfo* Ord(const char* name, TTypeKind kind, TOrdType ot)
{
    auto* t = new TTypeInfo(TTypeInfo::Make(name, kind));
    t->OrdType = ot;
    return t;
}

const TTypeInfo* Flt(const char* name, TFloatType ft, bool dateTime = false)
{
    auto* t = new TTypeInfo(TTypeInfo::Make(name, TTypeKind::tkFloat));
    t->FloatType = ft;
    t->IsDateTime = dateTime;
    return t;
}

} // namespace

const TTypeInfo* TypeInfoBoolean()
{
    static const TTypeInfo info = TTypeInfo::Enumeration("Boolean", {"False", "True"});
    return &info;
}
const TTypeInfo* TypeInfoShortInt() { static auto* t = Ord("ShortInt", TTypeKind::tkInteger, TOrdType::otSByte); return t; }
const TTypeInfo* TypeInfoByte() { static auto* t = Ord("Byte", TTypeKind::tkInteger, TOrdType::otUByte); return t; }
const TTypeInfo* TypeInfoSmallInt() { static auto* t = Ord("SmallInt", TTypeKind::tkInteger, TOrdType::otSWord); return t; }
const TTypeInfo* TypeInfoWord() { static auto* t = Ord("Word", TTypeKind::tkInteger, TOrdType::otUWord); return t; }
const TTypeInfo* TypeInfoInteger() { static auto* t = Ord("Integer", TTypeKind::tkInteger, TOrdType::otSLong); return t; }
const TTypeInfo* TypeInfoCardinal() { static auto* t = Ord("Cardinal", TTypeKind::tkInteger, TOrdType::otULong); return t; }
const TTypeInfo* TypeInfoInt64() { static auto* t = Ord("Int64", TTypeKind::tkInt64, TOrdType::otSInt64); return t; }
const TTypeInfo* TypeInfoChar() { static auto* t = Ord("Char", TTypeKind::tkChar, TOrdType::otUByte); return t; }
const TTypeInfo* TypeInfoWideChar() { static auto* t = Ord("WideChar", TTypeKind::tkWChar, TOrdType::otUWord); return t; }
const TTypeInfo* TypeInfoSingle() { static auto* t = Flt("Single", TFloatType::ftSingle); return t; }
const TTypeInfo* TypeInfoDouble() { static auto* t = Flt("Double", TFloatType::ftDouble); return t; }
const TTypeInfo* TypeInfoExtended() { static auto* t = Flt("Extended", TFloatType::ftExtended); return t; }
const TTypeInfo* TypeInfoCurrency() { static auto* t = Flt("Currency", TFloatType::ftCurr); return t; }
const TTypeInfo* TypeInfoDateTime() { static auto* t = Flt("TDateTime", TFloatType::ftDouble, true); return t; }
const TTypeInfo* TypeInfoShortString() { static auto* t = new TTypeInfo(TTypeInfo::Make("ShortString", TTypeKind::tkString)); return t; }
const TTypeInfo* TypeInfoAnsiString() { static auto* t = new TTypeInfo(TTypeInfo::Make("AnsiString", TTypeKind::tkLString)); return t; }
const TTypeInfo* TypeInfoWideString() { static auto* t = new TTypeInfo(TTypeInfo::Make("WideString", TTypeKind::tkWString)); return t; }
const TTypeInfo* TypeInfoUnicodeString() { static auto* t = new TTypeInfo(TTypeInfo::Make("UnicodeString", TTypeKind::tkUString)); return t; }
const TTypeInfo* TypeInfoVariant() { static auto* t = new TTypeInfo(TTypeInfo::Make("Variant", TTypeKind::tkVariant)); return t; }

std::string GetEnumName(const TTypeInfo* type, int64_t value)
{
    if (type->Kind != TTypeKind::tkEnumeration) return IntToStr(value);
    if (value < 0 || value >= static_cast<int64_t>(type->EnumNames.size())) return IntToStr(value);
    return type->EnumNames[static_cast<std::size_t>(value)];
}

int64_t GetEnumValue(const TTypeInfo* type, std::string_view name)
{
    for (std::size_t i = 0; i < type->EnumNames.size(); ++i)
        if (SameText(type->EnumNames[i], name)) return static_cast<int64_t>(i);
    return -1;
}

std::string SetToString(const TTypeInfo* setType, uint64_t mask, bool brackets)
{
    std::string s;
    const TTypeInfo* e = setType->CompType;
    for (int i = 0; i < 64; ++i) {
        if (!(mask & (uint64_t{1} << i))) continue;
        if (!s.empty()) s += ',';
        s += e ? GetEnumName(e, i) : IntToStr(i);
    }
    return brackets ? "[" + s + "]" : s;
}

uint64_t StringToSet(const TTypeInfo* setType, std::string_view text)
{
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '[') t.erase(0, 1);
    if (!t.empty() && t.back() == ']') t.pop_back();
    uint64_t mask = 0;
    for (const std::string& part : SplitString(t, ',')) {
        std::string name = Trim(part);
        if (name.empty()) continue;
        int64_t v = setType->CompType ? GetEnumValue(setType->CompType, name) : -1;
        if (v < 0 || v >= 64) throw EPropertyConvertError("Invalid property element: " + name);
        mask |= uint64_t{1} << v;
    }
    return mask;
}

// --- properties --------------------------------------------------------------

namespace {

[[noreturn]] void WrongKind(const TPropInfo& p)
{
    throw EPropertyConvertError("Invalid property type: " + p.PropType()->Name());
}

void CheckWritable(const TPropInfo& p)
{
    if (!p.IsWritable()) throw EPropertyError("Property " + p.Name() + " is read-only");
}

} // namespace

int64_t TPropInfo::GetOrd(const TObject* obj) const
{
    if (!FGetOrd) WrongKind(*this);
    return FGetOrd(obj);
}

void TPropInfo::SetOrd(TObject* obj, int64_t value) const
{
    if (!FGetOrd) WrongKind(*this);
    CheckWritable(*this);
    FSetOrd(obj, value);
}

long double TPropInfo::GetFloat(const TObject* obj) const
{
    if (!FGetFloat) WrongKind(*this);
    return FGetFloat(obj);
}

void TPropInfo::SetFloat(TObject* obj, long double value) const
{
    if (!FGetFloat) WrongKind(*this);
    CheckWritable(*this);
    FSetFloat(obj, value);
}

std::string TPropInfo::GetStr(const TObject* obj) const
{
    if (!FGetStr) WrongKind(*this);
    return FGetStr(obj);
}

void TPropInfo::SetStr(TObject* obj, const std::string& value) const
{
    if (!FGetStr) WrongKind(*this);
    CheckWritable(*this);
    FSetStr(obj, value);
}

Variant TPropInfo::GetVariant(const TObject* obj) const
{
    if (!FGetVar) WrongKind(*this);
    return FGetVar(obj);
}

void TPropInfo::SetVariant(TObject* obj, const Variant& value) const
{
    if (!FGetVar) WrongKind(*this);
    CheckWritable(*this);
    FSetVar(obj, value);
}

TObject* TPropInfo::GetObject(const TObject* obj) const
{
    if (!FGetObj) WrongKind(*this);
    return FGetObj(obj);
}

void TPropInfo::SetObject(TObject* obj, TObject* value) const
{
    if (!FGetObj) WrongKind(*this);
    CheckWritable(*this);
    FSetObj(obj, value);
}

namespace {
// The std::function layout does not depend on the signature, so a slot can
// be tested and cleared without knowing it.
using AnyFunction = std::function<void()>;
static_assert(sizeof(std::function<void()>) == sizeof(std::function<int(int, double)>));
} // namespace

bool TPropInfo::IsEventAssigned(const TObject* obj) const
{
    if (Kind() != TTypeKind::tkMethod) WrongKind(*this);
    return static_cast<bool>(*static_cast<AnyFunction*>(FEventAddr(const_cast<TObject*>(obj))));
}

void TPropInfo::ClearEvent(TObject* obj) const
{
    if (Kind() != TTypeKind::tkMethod) WrongKind(*this);
    *static_cast<AnyFunction*>(FEventAddr(obj)) = nullptr;
}

// --- classes -------------------------------------------------------------------

TClassInfo::~TClassInfo()
{
    for (TPropInfo* p : FOwnProps) delete p;
}

TPropInfo& TClassInfo::AddProperty(std::unique_ptr<TPropInfo> prop)
{
    TPropInfo* p = prop.release();
    FOwnProps.push_back(p);
    for (auto& existing : FProps) {
        if (SameText(existing->Name(), p->Name())) {
            existing = p;  // a redeclared property keeps its place
            return *p;
        }
    }
    FProps.push_back(p);
    return *p;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &ancestor) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (SameText(c->FName, className)) return true;
    return false;
}

TObject* TClassInfo::Create(TObject* owner) const
{
    if (!FFactory) throw EInvalidOperation("Cannot create an instance of " + FName);
    return FFactory(owner);
}

std::vector<const TPropInfo*> TClassInfo::PropList(TPropOrder order) const
{
    std::vector<const TPropInfo*> list = FProps;
    if (order == TPropOrder::Alphabetical)
        std::stable_sort(list.begin(), list.end(), [](const TPropInfo* a, const TPropInfo* b) {
            return CompareText(a->Name(), b->Name()) < 0;
        });
    return list;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (const TPropInfo* p : FProps)
        if (SameText(p->Name(), name)) return p;
    return nullptr;
}

// --- described classes, ClassType ---------------------------------------------

namespace {

struct Described {
    std::recursive_mutex Lock;
    std::unordered_map<std::type_index, const TClassInfo*> ByType;     // built descriptors
    std::unordered_map<std::type_index, const TClassInfo*> Nearest;    // lookup cache
    std::map<std::string, const TClassInfo*, std::less<>> Registered; // upper-case name
};

Described& Registry()
{
    static auto* r = new Described;
    return *r;
}

int Depth(const TClassInfo* c)
{
    int d = 0;
    for (; c; c = c->Parent()) ++d;
    return d;
}

} // namespace

void RegisterDescribedClassInfo(const TClassInfo& info)
{
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    r.ByType.emplace(info.CppType(), &info);
    r.Nearest.clear();
}

namespace typinfo_detail {

const TClassInfo& ExternalClassInfo(std::type_index type)
{
    if (type == typeid(TStringList)) {
        static const TClassInfo& info =
            TClassDecl<TStringList>::Build("TStringList", &TPersistent::StaticClassInfo(), nullptr);
        return info;
    }
    if (type == typeid(TList)) {
        static const TClassInfo& info = TClassDecl<TList>::Build("TList", &TObject::StaticClassInfo(), nullptr);
        return info;
    }
    // Any other class: a descriptor with its own name and no properties.
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    auto it = r.ByType.find(type);
    if (it != r.ByType.end()) return *it->second;
    std::string name = type.name();
    auto* info = new TClassInfo(name, &TObject::StaticClassInfo(), type);
    info->FIsInstance = [type](const TObject* o) { return std::type_index(typeid(*o)) == type; };
    RegisterDescribedClassInfo(*info);
    return *info;
}

} // namespace typinfo_detail

const TClassInfo& TObject::StaticClassInfo()
{
    static const TClassInfo& info = [] () -> const TClassInfo& {
        auto* i = new TClassInfo("TObject", nullptr, typeid(TObject));
        i->FFactory = [](TObject*) { return new TObject(); };
        i->FIsInstance = [](const TObject* o) { return o != nullptr; };
        RegisterDescribedClassInfo(*i);
        return *i;
    }();
    return info;
}

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo& info =
        TClassDecl<TPersistent>::Build("TPersistent", &TObject::StaticClassInfo(), nullptr);
    return info;
}

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo& info = TClassDecl<TComponent>::Build(
        "TComponent", &TPersistent::StaticClassInfo(), [](TClassDecl<TComponent>& c) {
            // The name travels in a stream's component header, not as a property.
            c.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
            c.Property("Tag", &TComponent::Tag, &TComponent::SetTag).As(TypeInfoInteger()).Default(0);
        });
    return info;
}

const TClassInfo* TObject::ClassType() const
{
    Described& r = Registry();
    // The runtime's own classes are always described.
    TComponent::StaticClassInfo();
    typinfo_detail::ExternalClassInfo(typeid(TStringList));
    typinfo_detail::ExternalClassInfo(typeid(TList));
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    std::type_index type = typeid(*this);
    auto it = r.ByType.find(type);
    if (it != r.ByType.end()) return it->second;
    auto n = r.Nearest.find(type);
    if (n != r.Nearest.end()) return n->second;
    // The deepest described class this object is an instance of.
    const TClassInfo* best = &TObject::StaticClassInfo();
    for (auto& [t, info] : r.ByType)
        if (info->IsInstance(this) && Depth(info) > Depth(best)) best = info;
    r.Nearest.emplace(type, best);
    return best;
}

bool TObject::InheritsFrom(const TClassInfo& cls) const
{
    return ClassType()->InheritsFrom(cls) || cls.IsInstance(this);
}

bool TObject::InheritsFrom(std::string_view className) const
{
    return ClassType()->InheritsFrom(className);
}


// --- registry ------------------------------------------------------------------

void RegisterClass(const TClassInfo& cls)
{
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    r.Registered.emplace(UpperCase(cls.Name()), &cls);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes)
{
    for (const TClassInfo* c : classes) RegisterClass(*c);
}

void UnRegisterClass(const TClassInfo& cls)
{
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    auto it = r.Registered.find(UpperCase(cls.Name()));
    if (it != r.Registered.end() && it->second == &cls) r.Registered.erase(it);
}

const TClassInfo* GetClass(std::string_view name)
{
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    auto it = r.Registered.find(UpperCase(name));
    return it == r.Registered.end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name)
{
    const TClassInfo* c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + std::string(name) + " not found");
    return *c;
}

std::vector<const TClassInfo*> RegisteredClasses()
{
    Described& r = Registry();
    std::lock_guard<std::recursive_mutex> guard(r.Lock);
    std::vector<const TClassInfo*> list;
    for (auto& [name, c] : r.Registered) list.push_back(c);
    return list;
}

// --- access by name ------------------------------------------------------------

const TPropInfo* GetPropInfo(const TClassInfo& cls, std::string_view name)
{
    return cls.FindProperty(name);
}

const TPropInfo* GetPropInfo(const TObject* obj, std::string_view name)
{
    return obj ? obj->ClassType()->FindProperty(name) : nullptr;
}

const TPropInfo* FindPropPath(const TObject* root, std::string_view path, TObject*& target)
{
    target = nullptr;
    TObject* cur = const_cast<TObject*>(root);
    while (cur) {
        auto dot = path.find('.');
        std::string_view part = path.substr(0, dot);
        const TPropInfo* p = GetPropInfo(cur, part);
        if (!p) return nullptr;
        if (dot == std::string_view::npos) {
            target = cur;
            return p;
        }
        if (p->Kind() != TTypeKind::tkClass) return nullptr;
        cur = p->GetObject(cur);
        path.remove_prefix(dot + 1);
    }
    return nullptr;
}

namespace {

const TPropInfo* Resolve(const TObject* obj, std::string_view path, TObject*& target)
{
    const TPropInfo* p = FindPropPath(obj, path, target);
    if (!p) throw EPropertyError("Property " + std::string(path) + " does not exist");
    return p;
}

std::string FirstChar(const std::string& s)
{
    if (s.empty()) return s;
    std::size_t i = 0;
    NextUTF8(s, i);
    return s.substr(0, i);
}

} // namespace

Variant GetPropValue(const TObject* obj, std::string_view path, bool preferStrings)
{
    TObject* target;
    const TPropInfo* p = Resolve(obj, path, target);
    const TTypeInfo* t = p->PropType();
    switch (t->Kind) {
    case TTypeKind::tkInteger: {
        int64_t v = p->GetOrd(target);
        if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
        return Variant(static_cast<long long>(v));
    }
    case TTypeKind::tkInt64: return Variant(static_cast<long long>(p->GetOrd(target)));
    case TTypeKind::tkChar: case TTypeKind::tkWChar: {
        std::string s;
        AppendUTF8(s, static_cast<char32_t>(p->GetOrd(target)));
        return Variant(s);
    }
    case TTypeKind::tkEnumeration: {
        int64_t v = p->GetOrd(target);
        if (t->IsBoolean()) return Variant(v != 0);
        if (preferStrings) return Variant(GetEnumName(t, v));
        return Variant(static_cast<int32_t>(v));
    }
    case TTypeKind::tkSet: {
        int64_t v = p->GetOrd(target);
        if (preferStrings) return Variant(SetToString(t, static_cast<uint64_t>(v)));
        return Variant(static_cast<int32_t>(v));
    }
    case TTypeKind::tkFloat: {
        long double v = p->GetFloat(target);
        if (t->IsDateTime) return Variant::FromDate(static_cast<double>(v));
        if (t->FloatType == TFloatType::ftCurr) return Variant::FromCurrency(v);
        return Variant(static_cast<double>(v));
    }
    case TTypeKind::tkString: case TTypeKind::tkLString: return Variant::AnsiString(p->GetStr(target));
    case TTypeKind::tkWString: return Variant::OleStr(p->GetStr(target));
    case TTypeKind::tkUString: return Variant::UString(p->GetStr(target));
    case TTypeKind::tkClass: return Variant::FromObject(p->GetObject(target));
    case TTypeKind::tkVariant: return p->GetVariant(target);
    default: return Variant::Null();
    }
}

void SetPropValue(TObject* obj, std::string_view path, const Variant& value)
{
    TObject* target;
    const TPropInfo* p = Resolve(obj, path, target);
    const TTypeInfo* t = p->PropType();
    switch (t->Kind) {
    case TTypeKind::tkInteger: p->SetOrd(target, value.AsInteger()); break;
    case TTypeKind::tkInt64: p->SetOrd(target, value.AsInt64()); break;
    case TTypeKind::tkChar: case TTypeKind::tkWChar: {
        std::string s = FirstChar(VarToStr(value));
        std::size_t i = 0;
        p->SetOrd(target, s.empty() ? 0 : static_cast<int64_t>(NextUTF8(s, i)));
        break;
    }
    case TTypeKind::tkEnumeration: {
        if (t->IsBoolean()) {
            p->SetOrd(target, value.AsBoolean() ? 1 : 0);
            break;
        }
        int64_t v;
        if (value.IsString() && GetEnumValue(t, Trim(value.AsString())) >= 0)
            v = GetEnumValue(t, Trim(value.AsString()));
        else
            v = value.AsInteger();
        if (v < 0 || v >= static_cast<int64_t>(t->EnumNames.size()))
            throw EPropertyConvertError("Invalid property value");
        p->SetOrd(target, v);
        break;
    }
    case TTypeKind::tkSet: {
        std::string s = value.IsString() ? Trim(value.AsString()) : std::string();
        int64_t dummy;
        if (value.IsString() && !TryStrToInt64(s, dummy))
            p->SetOrd(target, static_cast<int64_t>(StringToSet(t, s)));
        else
            p->SetOrd(target, value.AsInt64());
        break;
    }
    case TTypeKind::tkFloat:
        if (t->IsDateTime) p->SetFloat(target, value.AsDate());
        else p->SetFloat(target, value.AsExtended());
        break;
    case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString:
    case TTypeKind::tkUString:
        p->SetStr(target, VarToStr(value));
        break;
    case TTypeKind::tkClass: {
        TObject* o = value.AsObject();
        if (!o && !(value.IsNull() || value.IsEmpty() || value.AsInt64() == 0))
            throw EPropertyConvertError("Invalid property value");
        p->SetObject(target, o);
        break;
    }
    case TTypeKind::tkVariant: p->SetVariant(target, value); break;
    default: throw EPropertyConvertError("Invalid property type: " + t->Name());
    }
}

bool IsDefaultPropValue(const TObject* obj, const TPropInfo* prop)
{
    switch (prop->Kind()) {
    case TTypeKind::tkInteger: case TTypeKind::tkChar: case TTypeKind::tkWChar:
    case TTypeKind::tkEnumeration: case TTypeKind::tkSet: case TTypeKind::tkInt64:
        return prop->HasDefault() && prop->GetOrd(obj) == prop->Default();
    case TTypeKind::tkFloat: return prop->GetFloat(obj) == 0;
    case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString:
    case TTypeKind::tkUString:
        return prop->GetStr(obj).empty();
    case TTypeKind::tkClass: return prop->GetObject(obj) == nullptr;
    case TTypeKind::tkVariant: return prop->GetVariant(obj).IsEmpty();
    case TTypeKind::tkMethod: return !prop->IsEventAssigned(obj);
    default: return true;
    }
}

} // namespace rtl
