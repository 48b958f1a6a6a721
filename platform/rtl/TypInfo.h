// Run-time type information: class descriptors with factories and is-a
// tests, a registry of classes by name, and published property descriptors
// read and written by name (with dotted paths such as "Font.Name").
//
// Describing a class takes one line in the class and one per property:
//
//   class TGridCellIO : public TComponent {
//       RTL_CLASS(TGridCellIO, TComponent)      // leaves access public
//   public:
//       using TComponent::TComponent;
//       uint16_t Col() const; void SetCol(uint16_t v);
//       ...
//   };
//
//   // in the .cpp, at namespace scope of the class:
//   RTL_PUBLISHED(TGridCellIO)
//   {
//       c.Property("Col", &TGridCellIO::Col, &TGridCellIO::SetCol);
//       c.Property("Cell", &TGridCellIO::Cell, &TGridCellIO::SetCell);
//       c.Property("Align", &TFoo::Align, &TFoo::SetAlign).Default(taLeftJustify);
//       c.Property("Font", &TFoo::Font, &TFoo::SetFont);       // nested persistent
//       c.Property("Count", &TFoo::Count);                     // read-only
//       c.Event("OnClick", &TFoo::OnClick);                    // std::function member
//   }
//
// The property's type comes from the getter's C++ type: bool (Boolean),
// integers (by width and sign), char / char16_t, float / double /
// long double, std::string (AnsiString), std::u16string (UnicodeString),
// Variant, enumerations described with RTL_ENUM, rtl::Set<E> (a set of an
// RTL_ENUM enumeration, RTL_SET names the set type), pointers to TObject
// descendants (class properties) and std::function events (RTL_EVENT names
// the event type).  .As(type) overrides it within the same storage
// (TypeInfoWideString() for a WideString, TypeInfoDateTime() for a date).
//
// Ordinal properties without .Default(...) have no default and are always
// stored; .Stored(false) or .Stored(&TFoo::IsBarStored) add a stored test.
// A descendant declaring a property of an ancestor's name replaces it in
// place, so it keeps its first position in declaration order.
#pragma once

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

namespace rtl {

class TCollection;
class TCollectionItem;

// "Class <name> not found"
RTL_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
// "Property <name> does not exist", "Property <name> is read-only"
RTL_DECLARE_EXCEPTION(EPropertyError, Exception)
// "Invalid property value", "Invalid property type: <type>"
RTL_DECLARE_EXCEPTION(EPropertyConvertError, Exception)

enum class TTypeKind {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
    tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkInt64, tkUString, tkInterface, tkDynArray
};
enum class TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong, otSInt64 };
enum class TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

enum class TMethodKind { mkProcedure, mkFunction };
// How a method parameter is passed.
enum class TParamFlag { pfVar, pfConst, pfArray, pfAddress, pfReference, pfOut };
using TParamFlags = Set<TParamFlag>;
enum class TIntfFlag { ifHasGuid, ifDispInterface, ifDispatch };
using TIntfFlags = Set<TIntfFlag>;

// An interface identifier.
struct TTypeGuid {
    uint32_t D1 = 0;
    uint16_t D2 = 0, D3 = 0;
    uint8_t D4[8] = {};
};

// One parameter of a method type.
struct TParamInfo {
    TParamFlags Flags;
    std::string Name;
    std::string TypeName;  // empty for an untyped parameter
};

// A property type.
class TTypeInfo {
public:
    TTypeKind Kind = TTypeKind::tkUnknown;
    TOrdType OrdType = TOrdType::otSLong;
    TFloatType FloatType = TFloatType::ftDouble;
    bool IsDateTime = false;               // a float holding a TDateTime
    std::vector<std::string> EnumNames;    // enumeration value names, by ordinal
    const TTypeInfo* CompType = nullptr;   // set: its element enumeration
    const TClassInfo& (*ClassRef)() = nullptr;  // class: its descriptor (resolved lazily)
    // Method types: the kind, the parameters in order, the result type.
    TMethodKind MethodKind = TMethodKind::mkProcedure;
    std::vector<TParamInfo> Params;
    std::string ResultType;
    // Interfaces: parent, flags, identifier (with ifHasGuid), property count.
    const TTypeInfo* IntfParent = nullptr;
    TIntfFlags IntfFlags;
    TTypeGuid Guid;
    int IntfPropCount = 0;
    // Dynamic arrays: element size and type, whether elements need clean-up,
    // the variant type of an element.
    int ElementSize = 0;
    const TTypeInfo* ElementType = nullptr;
    bool ElementsNeedCleanup = false;
    int VarType = 0;
    // Interfaces and dynamic arrays: the declaring unit.
    std::string UnitName;

    // The type name ("Integer", "TAlignment", "TFontStyles", "TFont", ...).
    std::string Name() const;
    // An enumeration named "Boolean" or "bool" (case ignored).
    bool IsBoolean() const;
    bool IsOrdinal() const;   // integer, char, enumeration, set, Int64
    bool IsString() const;    // tkString, tkLString, tkWString, tkUString
    const TClassInfo* ClassType() const { return ClassRef ? &ClassRef() : nullptr; }

    static TTypeInfo Enumeration(std::string name, std::vector<std::string> names);
    static TTypeInfo SetOf(std::string name, const TTypeInfo* element);
    static TTypeInfo Make(std::string name, TTypeKind kind);
    static TTypeInfo Method(std::string name, TMethodKind kind, std::vector<TParamInfo> params,
                            std::string resultType = {});
    static TTypeInfo Interface(std::string name, const TTypeInfo* parent, TIntfFlags flags, TTypeGuid guid,
                               std::string unitName, int propCount = 0);
    static TTypeInfo DynArray(std::string name, const TTypeInfo* element, int elementSize, bool needCleanup,
                              int varType, std::string unitName);

    std::string FName;
};

// The predefined types.
const TTypeInfo* TypeInfoBoolean();
const TTypeInfo* TypeInfoShortInt();
const TTypeInfo* TypeInfoByte();
const TTypeInfo* TypeInfoSmallInt();
const TTypeInfo* TypeInfoWord();
const TTypeInfo* TypeInfoInteger();
const TTypeInfo* TypeInfoCardinal();
const TTypeInfo* TypeInfoInt64();
const TTypeInfo* TypeInfoChar();
const TTypeInfo* TypeInfoWideChar();
const TTypeInfo* TypeInfoSingle();
const TTypeInfo* TypeInfoDouble();
const TTypeInfo* TypeInfoExtended();
const TTypeInfo* TypeInfoCurrency();
const TTypeInfo* TypeInfoDateTime();
const TTypeInfo* TypeInfoShortString();
const TTypeInfo* TypeInfoAnsiString();
const TTypeInfo* TypeInfoWideString();
const TTypeInfo* TypeInfoUnicodeString();
const TTypeInfo* TypeInfoVariant();

// Enumeration and set helpers.  GetEnumValue ignores case and gives -1 for
// an unknown name.
std::string GetEnumName(const TTypeInfo* type, int64_t value);
int64_t GetEnumValue(const TTypeInfo* type, std::string_view name);
// "[fsBold,fsItalic]" (brackets optional) from a mask and back; an unknown
// element name raises EPropertyConvertError "Invalid property element: <name>".
std::string SetToString(const TTypeInfo* setType, uint64_t mask, bool brackets = true);
uint64_t StringToSet(const TTypeInfo* setType, std::string_view text);

// A published property.
class TPropInfo {
public:
    const std::string& Name() const { return FName; }
    const TTypeInfo* PropType() const { return FType; }
    TTypeKind Kind() const { return FType->Kind; }
    // The class whose declaration holds the property.
    const TClassInfo* DeclaringClass() const { return FClass; }
    bool IsWritable() const { return FWritable; }
    // The stored test (true when none was declared).
    bool IsStored(const TObject* obj) const { return !FStored || FStored(obj); }
    bool HasDefault() const { return FHasDefault; }
    int64_t Default() const { return FDefault; }
    // Where the property is read, written and tested for storing, as one
    // access value each: a field offset marked kAccessField, a virtual
    // method's table offset marked kAccessVirtual, a static method's
    // address, or the constants 0 (none / False) and 1 (True).
    static constexpr uint64_t kAccessField = 0xFFull << 56;
    static constexpr uint64_t kAccessVirtual = 0xFEull << 56;
    uint64_t Reader() const { return FReader; }
    uint64_t Writer() const { return FWriter; }
    uint64_t StoredProc() const { return FStoredProc; }

    // Typed access; a kind that does not fit raises EPropertyConvertError,
    // a write to a read-only property EPropertyError.
    // Ordinals: integers, chars (their code), enumerations, Booleans (0/1)
    // and sets (bit mask, element i = bit i).
    int64_t GetOrd(const TObject* obj) const;
    void SetOrd(TObject* obj, int64_t value) const;
    long double GetFloat(const TObject* obj) const;
    void SetFloat(TObject* obj, long double value) const;
    // Every string kind as UTF-8.
    std::string GetStr(const TObject* obj) const;
    void SetStr(TObject* obj, const std::string& value) const;
    Variant GetVariant(const TObject* obj) const;
    void SetVariant(TObject* obj, const Variant& value) const;
    // Class properties.  SetObject raises EPropertyConvertError for an
    // object that is not of the property's class.
    TObject* GetObject(const TObject* obj) const;
    void SetObject(TObject* obj, TObject* value) const;

    // Event properties: the std::function member itself, when F is the
    // property's event type; nullptr otherwise.
    template <typename F>
    F* EventSlot(TObject* obj) const
    {
        if (Kind() != TTypeKind::tkMethod || std::type_index(typeid(F)) != FEventSig) return nullptr;
        return static_cast<F*>(FEventAddr(obj));
    }
    std::type_index EventSignature() const { return FEventSig; }
    bool IsEventAssigned(const TObject* obj) const;
    void ClearEvent(TObject* obj) const;

    // --- set up by the class builder ---
    TPropInfo(std::string name, const TTypeInfo* type, const TClassInfo* cls)
        : FName(std::move(name)), FType(type), FClass(cls)
    {
    }
    std::string FName;
    const TTypeInfo* FType;
    const TClassInfo* FClass;
    bool FWritable = false;
    uint64_t FReader = 0, FWriter = 0, FStoredProc = 1;
    bool FHasDefault = false;
    int64_t FDefault = 0;
    std::function<bool(const TObject*)> FStored;
    std::function<int64_t(const TObject*)> FGetOrd;
    std::function<void(TObject*, int64_t)> FSetOrd;
    std::function<long double(const TObject*)> FGetFloat;
    std::function<void(TObject*, long double)> FSetFloat;
    std::function<std::string(const TObject*)> FGetStr;
    std::function<void(TObject*, const std::string&)> FSetStr;
    std::function<Variant(const TObject*)> FGetVar;
    std::function<void(TObject*, const Variant&)> FSetVar;
    std::function<TObject*(const TObject*)> FGetObj;
    std::function<void(TObject*, TObject*)> FSetObj;
    std::function<void*(TObject*)> FEventAddr;
    std::type_index FEventSig = typeid(void);
};

enum class TPropOrder { Declaration, Alphabetical };

// A class descriptor.
class TClassInfo {
public:
    const std::string& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    // This class or one of its ancestors.
    bool InheritsFrom(const TClassInfo& ancestor) const;
    bool InheritsFrom(std::string_view className) const;
    // Is obj an instance of this class (or of a descendant)?
    bool IsInstance(const TObject* obj) const { return obj && FIsInstance(obj); }

    // Creates an instance: components with the owner (a TComponent or
    // nullptr), collection items in the owner (a TCollection), other classes
    // without one.  A class that cannot be created raises
    // EInvalidOperation "Cannot create an instance of <class>".
    bool CanCreate() const { return static_cast<bool>(FFactory); }
    TObject* Create(TObject* owner = nullptr) const;

    // Published properties: declaration order with ancestors first, or
    // alphabetical (case ignored).
    const std::vector<const TPropInfo*>& Properties() const { return FProps; }
    std::vector<const TPropInfo*> PropList(TPropOrder order) const;
    // By name, case ignored; nullptr when absent.
    const TPropInfo* FindProperty(std::string_view name) const;

    std::type_index CppType() const { return FCppType; }

    // --- set up by the class builder ---
    TClassInfo(std::string name, const TClassInfo* parent, std::type_index cppType)
        : FName(std::move(name)), FParent(parent), FCppType(cppType)
    {
    }
    ~TClassInfo();
    TPropInfo& AddProperty(std::unique_ptr<TPropInfo> prop);
    std::string FName;
    const TClassInfo* FParent;
    std::type_index FCppType;
    std::function<TObject*(TObject*)> FFactory;
    std::function<bool(const TObject*)> FIsInstance;
    std::vector<const TPropInfo*> FProps;
    std::vector<TPropInfo*> FOwnProps;
};

// --- class registry (names case-insensitive) --------------------------------

// Makes a class findable by name; registering a name twice keeps the first.
void RegisterClass(const TClassInfo& cls);
template <typename T>
void RegisterClass() { RegisterClass(T::StaticClassInfo()); }
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
void UnRegisterClass(const TClassInfo& cls);
// The registered class of that name, or nullptr.
const TClassInfo* GetClass(std::string_view name);
// The registered class; raises EClassNotFound "Class <name> not found".
const TClassInfo& FindClass(std::string_view name);
std::vector<const TClassInfo*> RegisteredClasses();

// --- property access by name ------------------------------------------------

const TPropInfo* GetPropInfo(const TObject* obj, std::string_view name);
const TPropInfo* GetPropInfo(const TClassInfo& cls, std::string_view name);
// Walks a dotted path ("Font.Name", "Frame.LeftLine.Color") through class
// properties; returns the last property and sets target to the object that
// holds it.  nullptr when a part is missing or an intermediate object is nil.
const TPropInfo* FindPropPath(const TObject* root, std::string_view path, TObject*& target);

// The value as a Variant: integers, enumerations, sets (bit mask) as
// Integer (Int64 for 64-bit properties), Booleans as Boolean, chars as
// one-character strings, floats as Double (Currency, Date for those types),
// AnsiString/ShortString as varString, WideString as varOleStr,
// UnicodeString as varUString, objects as their handle, Variants as they
// are; with preferStrings, enumerations give their value name and sets
// their "[a,b]" text.  An unknown path raises EPropertyError.
Variant GetPropValue(const TObject* obj, std::string_view path, bool preferStrings = false);
// Sets a value with the matching conversions (enumerations also by name,
// sets also by "[a,b]" text, Booleans from any Boolean-convertible value,
// chars from the first character of the text, objects from a handle).
void SetPropValue(TObject* obj, std::string_view path, const Variant& value);

// The component stream's default test: ordinals equal to the declared
// default; a float 0; an empty string; a nil object; an Empty Variant.
bool IsDefaultPropValue(const TObject* obj, const TPropInfo* prop);

// --- building descriptors ---------------------------------------------------------

// The collection that owner is (as void*, TCollection being declared later),
// or raises EInvalidOperation; used by collection item factories.
void* CollectionOf(TObject* owner);
// Makes a freshly built descriptor known to ClassType() lookups.
void RegisterDescribedClassInfo(const TClassInfo& info);

namespace typinfo_detail {

// Does T itself (not only an ancestor) declare its descriptor?
template <typename T, typename = void>
struct HasStaticClassInfo : std::false_type {};
template <typename T>
struct HasStaticClassInfo<T, std::void_t<typename T::RtlSelf>>
    : std::bool_constant<std::is_same_v<typename T::RtlSelf, T>> {};

template <typename T>
struct IsSet : std::false_type {};
template <typename E, std::size_t N>
struct IsSet<Set<E, N>> : std::true_type {
    using Element = E;
};

template <typename T>
struct IsFunction : std::false_type {};
template <typename Sig>
struct IsFunction<std::function<Sig>> : std::true_type {};

template <typename T>
const TClassInfo& ClassInfoOf();

// A distinct static address for an accessor that is no named function.
template <typename F>
void AccessorThunk() {}

// The access value of a getter, setter or stored test (see
// TPropInfo::Reader).  Member pointers follow the ABI's layout: a member
// function pointer holds the address, or 1 + the table offset for a
// virtual one; a data member pointer holds the offset.
template <typename F>
uint64_t AccessValue(F f)
{
    if constexpr (std::is_member_function_pointer_v<F>) {
        struct { uintptr_t ptr; ptrdiff_t adj; } raw{};
        static_assert(sizeof(F) == sizeof raw, "unexpected member function pointer layout");
        std::memcpy(&raw, &f, sizeof raw);
        if (raw.ptr & 1) return TPropInfo::kAccessVirtual | ((raw.ptr - 1) & 0xFFFF);
        return raw.ptr;
    } else if constexpr (std::is_member_object_pointer_v<F>) {
        ptrdiff_t offset = 0;
        static_assert(sizeof(F) == sizeof offset, "unexpected data member pointer layout");
        std::memcpy(&offset, &f, sizeof offset);
        return TPropInfo::kAccessField | (static_cast<uint64_t>(offset) & 0xFFFFFF);
    } else if constexpr (std::is_pointer_v<F> && std::is_function_v<std::remove_pointer_t<F>>) {
        return reinterpret_cast<uintptr_t>(f);
    } else {
        return reinterpret_cast<uintptr_t>(&AccessorThunk<F>);
    }
}

} // namespace typinfo_detail

// Fallbacks found when no RTL_SET / RTL_EVENT names the type.
template <typename E, std::size_t N>
const TTypeInfo* RtlTypeInfoOf(Set<E, N>*)
{
    static const TTypeInfo info =
        TTypeInfo::SetOf("set of " + RtlTypeInfoOf(static_cast<E*>(nullptr))->Name(),
                         RtlTypeInfoOf(static_cast<E*>(nullptr)));
    return &info;
}
template <typename Sig>
const TTypeInfo* RtlTypeInfoOf(std::function<Sig>*)
{
    static const TTypeInfo info = TTypeInfo::Make("TMethod", TTypeKind::tkMethod);
    return &info;
}

// The property type of a C++ type.
template <typename T>
const TTypeInfo* TypeInfoOf()
{
    using namespace typinfo_detail;
    if constexpr (std::is_same_v<T, bool>) return TypeInfoBoolean();
    else if constexpr (std::is_same_v<T, char>) return TypeInfoChar();
    else if constexpr (std::is_same_v<T, char16_t>) return TypeInfoWideChar();
    else if constexpr (std::is_integral_v<T>) {
        if constexpr (sizeof(T) == 1) return std::is_signed_v<T> ? TypeInfoShortInt() : TypeInfoByte();
        else if constexpr (sizeof(T) == 2) return std::is_signed_v<T> ? TypeInfoSmallInt() : TypeInfoWord();
        else if constexpr (sizeof(T) == 4) return std::is_signed_v<T> ? TypeInfoInteger() : TypeInfoCardinal();
        else return TypeInfoInt64();
    }
    else if constexpr (std::is_same_v<T, float>) return TypeInfoSingle();
    else if constexpr (std::is_same_v<T, double>) return TypeInfoDouble();
    else if constexpr (std::is_same_v<T, long double>) return TypeInfoExtended();
    else if constexpr (std::is_same_v<T, std::string>) return TypeInfoAnsiString();
    else if constexpr (std::is_same_v<T, std::u16string>) return TypeInfoUnicodeString();
    else if constexpr (std::is_same_v<T, Variant>) return TypeInfoVariant();
    else if constexpr (std::is_enum_v<T>) return RtlTypeInfoOf(static_cast<T*>(nullptr));
    else if constexpr (IsSet<T>::value) return RtlTypeInfoOf(static_cast<T*>(nullptr));
    else if constexpr (IsFunction<T>::value) return RtlTypeInfoOf(static_cast<T*>(nullptr));
    else if constexpr (std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<T>>>) {
        using C = std::remove_cv_t<std::remove_pointer_t<T>>;
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = TTypeKind::tkClass;
            t.ClassRef = &ClassInfoOf<C>;
            return t;
        }();
        return &info;
    }
    else static_assert(sizeof(T) == 0, "type has no property type information");
}

namespace typinfo_detail {

// Classes without RTL_CLASS (the runtime's own lists) are described here.
const TClassInfo& ExternalClassInfo(std::type_index type);

template <typename T>
const TClassInfo& ClassInfoOf()
{
    if constexpr (HasStaticClassInfo<T>::value) return T::StaticClassInfo();
    else return ExternalClassInfo(typeid(T));
}

template <typename C>
std::function<TObject*(TObject*)> MakeFactory()
{
    if constexpr (std::is_abstract_v<C>) return nullptr;
    else if constexpr (std::is_constructible_v<C, TComponent*>)
        return [](TObject* owner) -> TObject* {
            return new C(dynamic_cast<TComponent*>(owner));
        };
    else if constexpr (std::is_constructible_v<C, TCollection*>)
        return [](TObject* owner) -> TObject* {
            return new C(static_cast<TCollection*>(CollectionOf(owner)));
        };
    else if constexpr (std::is_default_constructible_v<C>)
        return [](TObject*) -> TObject* { return new C(); };
    else return nullptr;
}

} // namespace typinfo_detail

template <typename C>
class TClassDecl;

// Chained modifiers of a declared property.
template <typename C>
class TPropDecl {
public:
    explicit TPropDecl(TPropInfo& p) : FProp(p) {}
    template <typename V>
    TPropDecl& Default(V value)
    {
        FProp.FHasDefault = true;
        if constexpr (IsSetValue<V>::value) FProp.FDefault = static_cast<int64_t>(value.ToMask());
        else FProp.FDefault = static_cast<int64_t>(value);
        return *this;
    }
    TPropDecl& NoDefault()
    {
        FProp.FHasDefault = false;
        return *this;
    }
    TPropDecl& Stored(bool stored)
    {
        if (stored) FProp.FStored = nullptr;
        else FProp.FStored = [](const TObject*) { return false; };
        FProp.FStoredProc = stored ? 1 : 0;
        return *this;
    }
    template <typename F>
    TPropDecl& Stored(F test)
    {
        FProp.FStoredProc = typinfo_detail::AccessValue(test);
        FProp.FStored = [test](const TObject* o) {
            return static_cast<bool>(std::invoke(test, const_cast<C&>(*static_cast<const C*>(o))));
        };
        return *this;
    }
    // Another type of the same storage (an ordinal for an ordinal, a string
    // kind for a string, a float type for a float).
    TPropDecl& As(const TTypeInfo* type);

private:
    template <typename T>
    struct IsSetValue : typinfo_detail::IsSet<T> {};
    TPropInfo& FProp;
};

template <typename C>
class TClassDecl {
public:
    explicit TClassDecl(TClassInfo& cls) : FClass(cls) {}

    template <typename G, typename S>
    TPropDecl<C> Property(const char* name, G getter, S setter)
    {
        TPropInfo& p = Make<G>(name, getter);
        SetWriter<std::decay_t<std::invoke_result_t<G, C&>>>(p, setter);
        p.FWriter = typinfo_detail::AccessValue(setter);
        return TPropDecl<C>(p);
    }
    template <typename G>
    TPropDecl<C> Property(const char* name, G getter)
    {
        return TPropDecl<C>(Make<G>(name, getter));
    }
    template <typename F>
    TPropDecl<C> Event(const char* name, F C::*member)
    {
        static_assert(typinfo_detail::IsFunction<F>::value, "an event is a std::function member");
        auto prop = std::make_unique<TPropInfo>(name, TypeInfoOf<F>(), &FClass);
        prop->FWritable = true;
        prop->FEventSig = typeid(F);
        prop->FEventAddr = [member](TObject* o) -> void* { return &(static_cast<C*>(o)->*member); };
        prop->FReader = prop->FWriter = typinfo_detail::AccessValue(member);
        return TPropDecl<C>(FClass.AddProperty(std::move(prop)));
    }

    static const TClassInfo& Build(const char* name, const TClassInfo* parent,
                                   void (*declare)(TClassDecl<C>&))
    {
        auto* info = new TClassInfo(name, parent, typeid(C));
        info->FFactory = typinfo_detail::MakeFactory<C>();
        info->FIsInstance = [](const TObject* o) { return dynamic_cast<const C*>(o) != nullptr; };
        if (parent) info->FProps = parent->FProps;
        TClassDecl<C> decl(*info);
        if (declare) declare(decl);
        RegisterDescribedClassInfo(*info);
        return *info;
    }

private:

    template <typename G>
    TPropInfo& Make(const char* name, G getter)
    {
        using T = std::decay_t<std::invoke_result_t<G, C&>>;
        auto prop = std::make_unique<TPropInfo>(name, TypeInfoOf<T>(), &FClass);
        prop->FReader = typinfo_detail::AccessValue(getter);
        auto get = [getter](const TObject* o) -> T {
            return std::invoke(getter, const_cast<C&>(*static_cast<const C*>(o)));
        };
        if constexpr (std::is_same_v<T, bool> || std::is_integral_v<T> || std::is_enum_v<T>)
            prop->FGetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(o)); };
        else if constexpr (typinfo_detail::IsSet<T>::value)
            prop->FGetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(o).ToMask()); };
        else if constexpr (std::is_floating_point_v<T>)
            prop->FGetFloat = [get](const TObject* o) { return static_cast<long double>(get(o)); };
        else if constexpr (std::is_same_v<T, std::string>)
            prop->FGetStr = get;
        else if constexpr (std::is_same_v<T, std::u16string>)
            prop->FGetStr = [get](const TObject* o) { return UTF16ToUTF8(get(o)); };
        else if constexpr (std::is_same_v<T, Variant>)
            prop->FGetVar = get;
        else if constexpr (std::is_pointer_v<T>)
            prop->FGetObj = [get](const TObject* o) -> TObject* {
                return const_cast<TObject*>(static_cast<const TObject*>(get(o)));
            };
        return FClass.AddProperty(std::move(prop));
    }

    template <typename T, typename S>
    void SetWriter(TPropInfo& p, S setter)
    {
        p.FWritable = true;
        auto set = [setter](TObject* o, T v) { std::invoke(setter, *static_cast<C*>(o), std::move(v)); };
        if constexpr (std::is_same_v<T, bool>)
            p.FSetOrd = [set](TObject* o, int64_t v) { set(o, v != 0); };
        else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
            p.FSetOrd = [set](TObject* o, int64_t v) { set(o, static_cast<T>(v)); };
        else if constexpr (typinfo_detail::IsSet<T>::value)
            p.FSetOrd = [set](TObject* o, int64_t v) { set(o, T::FromMask(static_cast<uint64_t>(v))); };
        else if constexpr (std::is_floating_point_v<T>)
            p.FSetFloat = [set](TObject* o, long double v) { set(o, static_cast<T>(v)); };
        else if constexpr (std::is_same_v<T, std::string>)
            p.FSetStr = [set](TObject* o, const std::string& v) { set(o, v); };
        else if constexpr (std::is_same_v<T, std::u16string>)
            p.FSetStr = [set](TObject* o, const std::string& v) { set(o, UTF8ToUTF16(v)); };
        else if constexpr (std::is_same_v<T, Variant>)
            p.FSetVar = [set](TObject* o, const Variant& v) { set(o, v); };
        else if constexpr (std::is_pointer_v<T>) {
            using Obj = std::remove_cv_t<std::remove_pointer_t<T>>;
            p.FSetObj = [set](TObject* o, TObject* v) {
                Obj* typed = dynamic_cast<Obj*>(v);
                if (v && !typed) throw EPropertyConvertError("Invalid property value");
                set(o, typed);
            };
        }
    }

    TClassInfo& FClass;
};

template <typename C>
TPropDecl<C>& TPropDecl<C>::As(const TTypeInfo* type)
{
    const TTypeInfo* old = FProp.FType;
    bool ok = (old->IsOrdinal() && type->IsOrdinal()) || (old->IsString() && type->IsString()) ||
              (old->Kind == TTypeKind::tkFloat && type->Kind == TTypeKind::tkFloat);
    if (!ok) throw EPropertyConvertError("Invalid property type: " + type->Name());
    FProp.FType = type;
    return *this;
}

// Inside the class body: declares the descriptor of Class (leaves access
// public).
#define RTL_CLASS(Class, Parent)                                                   \
public:                                                                            \
    using RtlSelf = Class;                                                         \
    using RtlParent = Parent;                                                      \
    static const ::rtl::TClassInfo& StaticClassInfo();                             \
    const ::rtl::TClassInfo* ClassType() const override { return &StaticClassInfo(); }

// In the .cpp, at the class's namespace scope, followed by a block that
// declares the properties through "c".
#define RTL_PUBLISHED(Class)                                                       \
    static void RtlDeclare_##Class(::rtl::TClassDecl<Class>& c);                   \
    const ::rtl::TClassInfo& Class::StaticClassInfo()                              \
    {                                                                              \
        static const ::rtl::TClassInfo& info = ::rtl::TClassDecl<Class>::Build(     \
            #Class, &Class::RtlParent::StaticClassInfo(), &RtlDeclare_##Class);     \
        return info;                                                               \
    }                                                                              \
    static void RtlDeclare_##Class([[maybe_unused]] ::rtl::TClassDecl<Class>& c)

// After an enumeration (at namespace scope, values 0, 1, 2, ...): its name
// and value names.
#define RTL_ENUM(Enum, ...)                                                        \
    inline const ::rtl::TTypeInfo* RtlTypeInfoOf(Enum*)                            \
    {                                                                              \
        static const ::rtl::TTypeInfo info = ::rtl::TTypeInfo::Enumeration(#Enum, {__VA_ARGS__}); \
        return &info;                                                              \
    }

// Names a set type (using SetType = rtl::Set<Enum>) in the enumeration's
// namespace.
#define RTL_SET(SetType, Enum)                                                     \
    inline const ::rtl::TTypeInfo* RtlTypeInfoOf(SetType*)                         \
    {                                                                              \
        static const ::rtl::TTypeInfo info =                                       \
            ::rtl::TTypeInfo::SetOf(#SetType, RtlTypeInfoOf(static_cast<Enum*>(nullptr))); \
        return &info;                                                              \
    }

// Names an event type (a std::function alias) in the namespace of one of
// its argument types.
#define RTL_EVENT(EventType)                                                       \
    inline const ::rtl::TTypeInfo* RtlTypeInfoOf(EventType*)                       \
    {                                                                              \
        static const ::rtl::TTypeInfo info =                                       \
            ::rtl::TTypeInfo::Make(#EventType, ::rtl::TTypeKind::tkMethod);        \
        return &info;                                                              \
    }

RTL_EVENT(TNotifyEvent)

RTL_ENUM(TOperation, "opInsert", "opRemove")

} // namespace rtl
