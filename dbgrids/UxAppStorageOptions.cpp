// Storage options, sub-storages and the property-engine registry.
#include "dbgrids/UxAppStorage.h"

#include "platform/rtl/Strings.h"

namespace dbgrids {

// ------------------------------------------------------------------ options

TUxCustomAppStorageOptions::TUxCustomAppStorageOptions() = default;

namespace {
std::string BeforeFirstComma(const std::string& s)
{
    auto p = s.find(',');
    return rtl::Trim(p == std::string::npos ? s : s.substr(0, p));
}
} // namespace

std::string TUxCustomAppStorageOptions::DefaultTrueString() const { return BeforeFirstComma(FBooleanStringTrueValues); }
std::string TUxCustomAppStorageOptions::DefaultFalseString() const { return BeforeFirstComma(FBooleanStringFalseValues); }

bool TUxCustomAppStorageOptions::ValueInTextList(const std::string& value, const std::string& list) const
{
    // Comma text: commas and blanks separate items, double quotes group.
    std::string up = rtl::AnsiUpperCase(list), v = rtl::AnsiUpperCase(value);
    std::string item;
    bool quoted = false, any = false;
    auto flush = [&]() {
        bool hit = any && item == v;
        item.clear();
        any = false;
        return hit;
    };
    for (char c : up) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ',' || c == ' ')) {
            if (flush()) return true;
        } else {
            item += c;
            any = true;
        }
    }
    return flush();
}

void TUxCustomAppStorageOptions::SetBooleanAsString(bool value)
{
    FBooleanAsString = value && !DefaultTrueString().empty() && !DefaultFalseString().empty();
}

void TUxCustomAppStorageOptions::SetBooleanStringTrueValues(const std::string& value)
{
    FBooleanStringTrueValues = value;
    FBooleanAsString = FBooleanAsString && !DefaultTrueString().empty();
}

void TUxCustomAppStorageOptions::SetBooleanStringFalseValues(const std::string& value)
{
    FBooleanStringFalseValues = value;
    FBooleanAsString = FBooleanAsString && !DefaultFalseString().empty();
}

void TUxCustomAppStorageOptions::Assign(const rtl::TPersistent* source)
{
    if (source == this) return;
    if (auto* o = dynamic_cast<const TUxCustomAppStorageOptions*>(source)) {
        SetBooleanStringTrueValues(o->BooleanStringTrueValues());
        SetBooleanStringFalseValues(o->BooleanStringFalseValues());
        SetBooleanAsString(o->BooleanAsString());
        SetEnumerationAsString(o->EnumerationAsString());
        SetTypedIntegerAsString(o->TypedIntegerAsString());
        SetSetAsString(o->SetAsString());
        SetDateTimeAsString(o->DateTimeAsString());
        SetFloatAsString(o->FloatAsString());
        SetDefaultIfReadConvertError(o->DefaultIfReadConvertError());
        SetDefaultIfValueNotExists(o->DefaultIfValueNotExists());
        SetStoreDefaultValues(o->StoreDefaultValues());
        SetStoreStringListAsSingleString(o->StoreStringListAsSingleString());
        SetUseOldItemNameFormat(o->UseOldItemNameFormat());
        FUseTranslateStringEngineDateTimeFormats = o->FUseTranslateStringEngineDateTimeFormats;
        return;
    }
    rtl::TPersistent::Assign(source);
}

// ------------------------------------------------------------ sub-storages

RTL_PUBLISHED(TUxAppSubStorage)
{
    c.Property("RootPath", &TUxAppSubStorage::RootPath, &TUxAppSubStorage::SetRootPath);
}

RTL_PUBLISHED(TUxAppSubStorages) {}

TUxCustomAppStorage* TUxAppSubStorage::OwnerStore() const
{
    return Collection() ? dynamic_cast<TUxCustomAppStorage*>(Collection()->GetOwner()) : nullptr;
}

void TUxAppSubStorage::SetRootPath(const std::string& value)
{
    std::string v = TUxCustomAppStorage::ConcatPaths({value});
    if (v == FRootPath) return;
    auto* subs = dynamic_cast<TUxAppSubStorages*>(Collection());
    if (subs && !subs->IsUniqueRoot(v, Index())) throw EUXLAppStorageError("'" + v + "' is not a unique root path");
    FRootPath = v;
}

void TUxAppSubStorage::SetAppStorage(TUxCustomAppStorage* value)
{
    if (value == FAppStorage) return;
    TUxCustomAppStorage* owner = OwnerStore();
    if (value && (value == owner || (owner && value->RefersToStorage(owner))))
        throw EUXLAppStorageError("Circular reference of storages");
    if (FAppStorage && owner) FAppStorage->RemoveFreeNotification(owner);
    FAppStorage = value;
    if (FAppStorage && owner) FAppStorage->FreeNotification(owner);
}

std::string TUxAppSubStorage::DisplayName() const
{
    if (!FRootPath.empty() && FAppStorage) return "\\" + FRootPath + "=" + FAppStorage->Name();
    return rtl::TCollectionItem::DisplayName();
}

TUxAppSubStorages::TUxAppSubStorages(TUxCustomAppStorage* owner)
    : rtl::TOwnedCollection(owner, TUxAppSubStorage::StaticClassInfo())
{
}

TUxAppSubStorage* TUxAppSubStorages::Add(const std::string& rootPath, TUxCustomAppStorage* appStorage)
{
    auto* item = static_cast<TUxAppSubStorage*>(TCollection::Add());
    try {
        item->SetRootPath(rootPath);
        item->SetAppStorage(appStorage);
    } catch (...) {
        delete item;
        throw;
    }
    return item;
}

void TUxAppSubStorages::Delete(const std::string& rootPath, bool includeSubPaths)
{
    std::string r = TUxCustomAppStorage::ConcatPaths({rootPath});
    if (r.empty()) return;
    for (int i = Count() - 1; i >= 0; --i) {
        const std::string& root = Items(i)->RootPath();
        bool sub = includeSubPaths && root.size() > r.size() && root[r.size()] == '\\' &&
                   rtl::AnsiSameText(root.substr(0, r.size()), r);
        if (rtl::AnsiSameText(root, r) || sub) TCollection::Delete(i);
    }
}

void TUxAppSubStorages::Delete(TUxCustomAppStorage* appStorage)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i)->AppStorage() == appStorage) TCollection::Delete(i);
}

TUxAppSubStorage* TUxAppSubStorages::FindSubStorage(const std::string& path, int ignoreIndex) const
{
    std::string p = TUxCustomAppStorage::ConcatPaths({path});
    TUxAppSubStorage* kept = nullptr;
    for (int i = 0; i < Count(); ++i) {
        if (i == ignoreIndex) continue;
        TUxAppSubStorage* item = Items(i);
        const std::string& root = item->RootPath();
        if (p.size() > root.size() && p[root.size()] == '\\' && rtl::AnsiSameText(p.substr(0, root.size()), root) &&
            (!kept || root.size() > kept->RootPath().size()))
            kept = item;
    }
    return kept;
}

bool TUxAppSubStorages::IsUniqueRoot(const std::string& path, int ignoreIndex) const
{
    return FindSubStorage(TUxCustomAppStorage::ConcatPaths({path}) + "\\*", ignoreIndex) == nullptr;
}

// -------------------------------------------------------- property engines

TUxAppStoragePropertyEngineList::~TUxAppStoragePropertyEngineList()
{
    for (auto it = FEngines.rbegin(); it != FEngines.rend(); ++it) delete *it;
}

void TUxAppStoragePropertyEngineList::RegisterEngine(std::type_index, std::function<TUxAppStoragePropertyBaseEngine*()> make)
{
    FEngines.push_back(make());
}

void TUxAppStoragePropertyEngineList::UnregisterEngine(std::type_index type)
{
    for (auto it = FEngines.begin(); it != FEngines.end(); ++it)
        if (std::type_index(typeid(**it)) == type) {
            delete *it;
            FEngines.erase(it);
            return;
        }
}

TUxAppStoragePropertyBaseEngine* TUxAppStoragePropertyEngineList::GetEngine(rtl::TObject* object, rtl::TObject* property) const
{
    for (auto* e : FEngines)
        if (e->Supports(object, property)) return e;
    return nullptr;
}

bool TUxAppStoragePropertyEngineList::ReadProperty(TUxCustomAppStorage* storage, const std::string& path,
                                                   rtl::TObject* object, rtl::TObject* property, bool recursive,
                                                   bool clearFirst)
{
    TUxAppStoragePropertyBaseEngine* e = GetEngine(object, property);
    if (e) e->ReadProperty(storage, path, object, property, recursive, clearFirst);
    return e != nullptr;
}

bool TUxAppStoragePropertyEngineList::WriteProperty(TUxCustomAppStorage* storage, const std::string& path,
                                                    rtl::TObject* object, rtl::TObject* property, bool recursive)
{
    TUxAppStoragePropertyBaseEngine* e = GetEngine(object, property);
    if (e) e->WriteProperty(storage, path, object, property, recursive);
    return e != nullptr;
}

namespace {
TUxAppStoragePropertyEngineList* gEngines = nullptr;
bool gEnginesFinalized = false;
} // namespace

TUxAppStoragePropertyEngineList* RegisteredPropertyEngines()
{
    if (!gEngines && !gEnginesFinalized) gEngines = new TUxAppStoragePropertyEngineList();
    return gEngines;
}

void FinalizePropertyEngines()
{
    gEnginesFinalized = true;
    delete gEngines;
    gEngines = nullptr;
}

} // namespace dbgrids
