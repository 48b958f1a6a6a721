// Objects stored by their published properties: one value (or sub-tree)
// per property, named after it.
#include "dbgrids/UxAppStorage.h"

#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

namespace dbgrids {

using rtl::TTypeKind;

namespace {

std::string Join(const std::string& a, const std::string& b)
{
    return a.empty() ? b : a + "\\" + b;
}

bool IsStringKind(TTypeKind k)
{
    return k == TTypeKind::tkString || k == TTypeKind::tkLString || k == TTypeKind::tkUString;
}

bool IsOrdinalKind(TTypeKind k)
{
    return k == TTypeKind::tkInteger || k == TTypeKind::tkChar || k == TTypeKind::tkWChar ||
           k == TTypeKind::tkEnumeration;
}

// The default tests of the walk: ordinals against their declared default
// (none declared: never default), floats and 64-bit integers against 0,
// strings against "", variants always.
bool HoldsDefault(const rtl::TObject* obj, const rtl::TPropInfo* prop)
{
    TTypeKind k = prop->Kind();
    if (IsOrdinalKind(k) || k == TTypeKind::tkSet) return prop->HasDefault() && prop->GetOrd(obj) == prop->Default();
    if (k == TTypeKind::tkFloat) return prop->GetFloat(obj) == 0;
    if (k == TTypeKind::tkInt64) return prop->GetOrd(obj) == 0;
    if (IsStringKind(k) || k == TTypeKind::tkWString) return prop->GetStr(obj).empty();
    if (k == TTypeKind::tkVariant) return true;
    return false;
}

bool EnginesRegistered()
{
    TUxAppStoragePropertyEngineList* l = RegisteredPropertyEngines();
    return l && l->Count() > 0;
}

} // namespace

std::string TUxCustomAppStorage::TranslatePropertyName(rtl::TPersistent* instance, const std::string& name, bool reading)
{
    std::string n = name;
    if (OnTranslatePropertyName) OnTranslatePropertyName(this, instance, n, reading);
    return n;
}

void TUxCustomAppStorage::WritePersistent(const std::string& path, rtl::TPersistent* obj, bool recursive,
                                          const rtl::TStringList* ignoreProperties)
{
    if (!obj) return;
    const rtl::TClassInfo* cls = obj->ClassType();
    if (!cls) return;
    for (const rtl::TPropInfo* prop : cls->Properties()) {
        const std::string& n = prop->Name();
        if (ignoreProperties && ignoreProperties->IndexOf(n) >= 0) continue;
        WriteProperty(Join(path, TranslatePropertyName(obj, n, false)), obj, n, recursive);
    }
}

void TUxCustomAppStorage::ReadPersistent(const std::string& path, rtl::TPersistent* obj, bool recursive, bool clearFirst,
                                         const rtl::TStringList* ignoreProperties)
{
    if (!obj) return;
    const rtl::TClassInfo* cls = obj->ClassType();
    if (!cls) return;
    for (const rtl::TPropInfo* prop : cls->Properties()) {
        const std::string& n = prop->Name();
        if (ignoreProperties && ignoreProperties->IndexOf(n) >= 0) continue;
        ReadProperty(Join(path, TranslatePropertyName(obj, n, true)), obj, n, recursive, clearFirst);
    }
}

void TUxCustomAppStorage::WriteProperty(const std::string& path, rtl::TPersistent* obj, const std::string& propName,
                                        bool recursive)
{
    if (!obj) return;
    const rtl::TPropInfo* prop = rtl::GetPropInfo(obj, propName);
    if (!prop) return;
    TTypeKind k = prop->Kind();
    if (k == TTypeKind::tkMethod || k == TTypeKind::tkUnknown) return;
    if (!FStorageOptions->StoreDefaultValues()) {
        if (!prop->IsWritable() || !prop->IsStored(obj)) return;
        if (HoldsDefault(obj, prop)) return;
    }
    const rtl::TTypeInfo* type = prop->PropType();
    switch (k) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
        if (FStorageOptions->TypedIntegerAsString()) WriteEnumeration(path, type, prop->GetOrd(obj));
        else WriteInteger(path, static_cast<int32_t>(prop->GetOrd(obj)));
        return;
    case TTypeKind::tkEnumeration: WriteEnumeration(path, type, prop->GetOrd(obj)); return;
    case TTypeKind::tkFloat:
        if (type->IsDateTime) WriteDateTime(path, static_cast<rtl::TDateTime>(prop->GetFloat(obj)));
        else WriteFloat(path, prop->GetFloat(obj));
        return;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkUString: WriteString(path, prop->GetStr(obj)); return;
    case TTypeKind::tkWString: WriteWideString(path, rtl::UTF8ToUTF16(prop->GetStr(obj))); return;
    case TTypeKind::tkSet: WriteSet(path, type, static_cast<uint64_t>(prop->GetOrd(obj))); return;
    case TTypeKind::tkVariant: WriteString(path, rtl::VarToStr(prop->GetVariant(obj))); return;
    case TTypeKind::tkInt64: WriteString(path, rtl::IntToStr(prop->GetOrd(obj))); return;
    case TTypeKind::tkClass: {
        rtl::TObject* sub = prop->GetObject(obj);
        if (EnginesRegistered() && recursive && RegisteredPropertyEngines()->WriteProperty(this, path, obj, sub, recursive))
            return;
        if (!sub) return;
        if (auto* sl = dynamic_cast<rtl::TStringList*>(sub)) {
            WriteStringList(path, sl, "Item");
        } else if (recursive) {
            if (auto* c = dynamic_cast<rtl::TCollection*>(sub)) WriteCollection(path, c, "Item");
            else if (auto* p = dynamic_cast<rtl::TPersistent*>(sub)) WritePersistent(path, p, true, nullptr);
        }
        return;
    }
    default: return;
    }
}

void TUxCustomAppStorage::ReadProperty(const std::string& path, rtl::TPersistent* obj, const std::string& propName,
                                       bool recursive, bool clearFirst)
{
    if (!obj) return;
    const rtl::TPropInfo* prop = rtl::GetPropInfo(obj, propName);
    if (!prop) return;
    TTypeKind k = prop->Kind();
    if (k == TTypeKind::tkMethod || k == TTypeKind::tkUnknown) return;
    // A value property without a setter is skipped: it cannot take what was
    // read (an object property is read into its object instead).
    if (k != TTypeKind::tkClass && !prop->IsWritable()) return;
    const rtl::TTypeInfo* type = prop->PropType();
    switch (k) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
    case TTypeKind::tkEnumeration: prop->SetOrd(obj, ReadEnumeration(path, type, prop->GetOrd(obj))); return;
    case TTypeKind::tkFloat:
        if (type->IsDateTime) prop->SetFloat(obj, ReadDateTime(path, static_cast<rtl::TDateTime>(prop->GetFloat(obj))));
        else prop->SetFloat(obj, ReadFloat(path, prop->GetFloat(obj)));
        return;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkUString: prop->SetStr(obj, ReadString(path, prop->GetStr(obj))); return;
    case TTypeKind::tkWString:
        prop->SetStr(obj, rtl::UTF16ToUTF8(ReadWideString(path, rtl::UTF8ToUTF16(prop->GetStr(obj)))));
        return;
    case TTypeKind::tkSet:
        prop->SetOrd(obj, static_cast<int64_t>(ReadSet(path, type, static_cast<uint64_t>(prop->GetOrd(obj)))));
        return;
    case TTypeKind::tkVariant:
        prop->SetVariant(obj, rtl::Variant(ReadString(path, rtl::VarToStr(prop->GetVariant(obj)))));
        return;
    case TTypeKind::tkInt64: {
        std::string s = ReadString(path, rtl::IntToStr(prop->GetOrd(obj)));
        int64_t v = 0;
        if (rtl::TryStrToInt64(s, v)) {
            prop->SetOrd(obj, v);
        } else if (!FStorageOptions->DefaultIfReadConvertError()) {
            throw rtl::EConvertError("'" + s + "' is not a valid integer value");
        }
        return;
    }
    case TTypeKind::tkClass: {
        rtl::TObject* sub = prop->GetObject(obj);
        if (EnginesRegistered() && recursive &&
            RegisteredPropertyEngines()->ReadProperty(this, path, obj, sub, recursive, clearFirst))
            return;
        if (!sub) return;
        if (auto* sl = dynamic_cast<rtl::TStringList*>(sub)) {
            ReadStringList(path, sl, clearFirst, "Item");
        } else if (recursive) {
            if (auto* c = dynamic_cast<rtl::TCollection*>(sub)) ReadCollection(path, c, clearFirst, "Item");
            else if (auto* p = dynamic_cast<rtl::TPersistent*>(sub)) ReadPersistent(path, p, true, clearFirst, nullptr);
        }
        return;
    }
    default: return;
    }
}

} // namespace dbgrids
