// The application storage: paths, resolution through sub-storages, the
// structure operations, updates and enumeration.
#include "dbgrids/UxAppStorage.h"

#include <algorithm>

#include "dbgrids/UxTranslateString.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

namespace {

std::vector<std::string> SplitBackslash(const std::string& s)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == '\\') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

bool AllDots(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c == '.'; });
}

} // namespace

int StoredValueFlags(const rtl::TStringList& list, int index)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(list.Objects(index)));
}

// ------------------------------------------------------------------- paths

std::string TUxCustomAppStorage::ConcatPaths(const std::vector<std::string>& paths)
{
    if (paths.empty()) return {};
    size_t start = 0;
    for (size_t i = paths.size() - 1; i >= 1; --i)
        if (!paths[i].empty() && paths[i][0] == '\\') {
            start = i;
            break;
        }
    std::vector<std::string> parts;
    for (size_t i = start; i < paths.size(); ++i)
        for (const std::string& c : SplitBackslash(paths[i])) {
            if (c.empty()) continue;
            if (AllDots(c)) {
                size_t up = c.size() - 1;
                parts.resize(parts.size() > up ? parts.size() - up : 0);
                continue;
            }
            parts.push_back(c);
        }
    std::string r;
    for (size_t i = 0; i < parts.size(); ++i) r += (i ? "\\" : "") + parts[i];
    return r;
}

void TUxCustomAppStorage::ResolvePath(const std::string& inPath, TUxCustomAppStorage*& targetStore,
                                      std::string& targetPath)
{
    targetPath = "\\" + ConcatPaths({FCurPath, inPath});
    targetStore = this;
    TUxAppSubStorage* sub = FSubStorages->FindSubStorage(targetPath);
    if (sub && sub->AppStorage()) {
        targetStore = sub->AppStorage();
        std::string rest = targetPath.substr(1);
        rest.erase(0, std::min(rest.size(), sub->RootPath().size() + 1));
        targetPath = "\\" + ConcatPaths({rest});
        if (targetPath == "\\") throw EUXLAppStorageError("Invalid path");
    }
}

std::string TUxCustomAppStorage::AbsolutePath(const std::string& path) const
{
    std::string r = FRoot + "\\" + ConcatPaths({FCurPath, path});
    size_t i = 0;
    while (i < r.size() && r[i] == '\\') ++i;
    return r.substr(i);
}

void TUxCustomAppStorage::SplitAbsolutePath(const std::string& path, std::string& key, std::string& valueName) const
{
    std::string a = AbsolutePath(path);
    auto p = a.rfind('\\');
    if (p == std::string::npos) {
        key.clear();
        valueName = a;
    } else {
        key = a.substr(0, p);
        valueName = a.substr(p + 1);
    }
}

bool TUxCustomAppStorage::IsFolder(const std::string& path, bool listIsValue)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    return s->NativeIsFolder(p, listIsValue);
}

bool TUxCustomAppStorage::PathExists(const std::string& path)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    return s->NativePathExists(p);
}

bool TUxCustomAppStorage::ValueStored(const std::string& path)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    return s->NativeValueExists(p);
}

bool TUxCustomAppStorage::ListStored(const std::string& path, const std::string& itemName)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    return s->NativeListExists(p, itemName);
}

void TUxCustomAppStorage::DeleteValue(const std::string& path)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    if (!s->ReadOnly()) s->NativeDeleteValue(p);
}

void TUxCustomAppStorage::DeleteSubTree(const std::string& path)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    if (!s->ReadOnly()) s->NativeDeleteSubTree(p);
}

bool TUxCustomAppStorage::NativeListExists(const std::string& path, const std::string&)
{
    std::string p = path;
    if (p.empty() || p.back() != '\\') p += "\\";
    return NativeValueExists(p + "Count");
}

// ------------------------------------------------------------ enumeration

void TUxCustomAppStorage::Gather(const std::string& prefix, const std::string& searchPath, rtl::TStringList& strings,
                                 TUxAppStorageEnumOptions options)
{
    using O = TUxAppStorageEnumOption;
    std::string lead = prefix == "\\" ? std::string() : prefix;
    bool listAsValue = options.Contains(O::aeoReportListAsValue);
    auto mark = [&](const std::string& entry, int flag) {
        int i = strings.IndexOf(entry);
        if (i >= 0)
            strings.SetObjects(i, reinterpret_cast<rtl::TObject*>(static_cast<intptr_t>(StoredValueFlags(strings, i) | flag)));
        else
            strings.AddObject(entry, reinterpret_cast<rtl::TObject*>(static_cast<intptr_t>(flag)));
    };
    rtl::TStringList names;
    if (options.Contains(O::aeoValues)) {
        NativeListValues(searchPath, names, listAsValue);
        for (int i = 0; i < names.Count(); ++i) {
            std::string entry = names[i].empty() ? prefix.substr(0, prefix.empty() ? 0 : prefix.size() - 1) : lead + names[i];
            if (!entry.empty()) mark(entry, kStoredValue);
        }
    }
    if (!options.Contains(O::aeoFolders) && !options.Contains(O::aeoRecursive)) return;
    names.Clear();
    NativeListFolders(searchPath, names, false);
    for (int i = 0; i < names.Count(); ++i) {
        const std::string f = names[i];
        // Relative to the current path, also when the search path is empty.
        std::string folderPath = searchPath.empty() ? f : searchPath + "\\" + f;
        if (options.Contains(O::aeoFolders) && IsFolder(folderPath, listAsValue)) mark(lead + f, kStoredFolder);
        if (options.Contains(O::aeoRecursive))
            Gather(ConcatPaths({prefix, f}) + "\\", ConcatPaths({searchPath, f}), strings, options);
    }
}

void TUxCustomAppStorage::GetStoredValues(const std::string& path, rtl::TStringList& strings,
                                          TUxAppStorageEnumOptions options)
{
    strings.BeginUpdate();
    strings.Clear();
    std::string p = ConcatPaths({path});
    if (options.Contains(TUxAppStorageEnumOption::aeoReportRelative)) {
        Gather("", p, strings, options);
    } else {
        std::string a = ConcatPaths({FCurPath, p});
        Gather(a + "\\", p, strings, options);
        int i = strings.IndexOf(a);
        if (i >= 0) strings.Delete(i);
    }
    strings.EndUpdate();
}

void TUxCustomAppStorage::CheckDeletePathByVersion(const std::string& path, int versionNumber, bool deleteIfNotEqual,
                                                   bool writeVersionNumber, const std::string& versionName)
{
    TUxCustomAppStorage* s;
    std::string p;
    ResolvePath(path, s, p);
    if (s->ReadOnly() || versionName.empty()) return;
    s->BeginUpdate();
    try {
        int v = s->ReadInteger(p + "\\" + versionName, 0);
        if (deleteIfNotEqual ? v != versionNumber : v < versionNumber) s->DeleteSubTree(p);
        if (v != versionNumber && writeVersionNumber) s->WriteInteger(p + "\\" + versionName, versionNumber);
    } catch (...) {
        s->EndUpdate();
        throw;
    }
    s->EndUpdate();
}

// ---------------------------------------------------------------- lifecycle

TUxCustomAppStorage::TUxCustomAppStorage(rtl::TComponent* owner)
    : rtl::TComponent(owner),
      FStorageOptions(std::make_unique<TUxAppStorageOptions>()),
      FSubStorages(std::make_unique<TUxAppSubStorages>(this))
{
    FInternalTranslateStringEngine = new TUxTranslateString(this);
}

TUxCustomAppStorage::~TUxCustomAppStorage()
{
    // A back-end's Flush runs in its own destructor: by now it is gone.
    if (FTranslateStringEngine) FTranslateStringEngine->RemoveFreeNotification(this);
    for (int i = 0; i < FSubStorages->Count(); ++i)
        if (TUxCustomAppStorage* s = FSubStorages->Items(i)->AppStorage()) s->RemoveFreeNotification(this);
    FSubStorages.reset();
    FStorageOptions.reset();
}

void TUxCustomAppStorage::Loaded()
{
    rtl::TComponent::Loaded();
    if (!IsUpdating()) Reload();
}

bool TUxCustomAppStorage::ReadOnly() const
{
    if (ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return FReadOnly;
    return FReadOnly || NativeReadOnly();
}

void TUxCustomAppStorage::SetStorageOptions(const TUxCustomAppStorageOptions* value)
{
    if (value && value != FStorageOptions.get()) FStorageOptions->Assign(value);
}

void TUxCustomAppStorage::SetTranslateStringEngine(TUxTranslateString* value)
{
    if (value == FTranslateStringEngine) return;
    if (FTranslateStringEngine) FTranslateStringEngine->RemoveFreeNotification(this);
    FTranslateStringEngine = value;
    if (FTranslateStringEngine) FTranslateStringEngine->FreeNotification(this);
}

TUxTranslateString* TUxCustomAppStorage::ActiveTranslateStringEngine() const
{
    return FTranslateStringEngine ? FTranslateStringEngine : FInternalTranslateStringEngine;
}

void TUxCustomAppStorage::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    // The component is half destroyed by now: compare addresses only.
    if (FSubStorages)
        for (int i = FSubStorages->Count() - 1; i >= 0; --i)
            if (static_cast<rtl::TComponent*>(FSubStorages->Items(i)->AppStorage()) == component) FSubStorages->Delete(i);
    if (component == FTranslateStringEngine) FTranslateStringEngine = nullptr;
    if (component == FInternalTranslateStringEngine) FInternalTranslateStringEngine = nullptr;
}

void TUxCustomAppStorage::BeginUpdate()
{
    StorageFormatSettings();
    ReloadIfNeeded();
    ++FUpdateCount;
    for (int i = 0; i < FSubStorages->Count(); ++i)
        if (TUxCustomAppStorage* s = FSubStorages->Items(i)->AppStorage()) s->BeginUpdate();
}

void TUxCustomAppStorage::EndUpdate()
{
    for (int i = 0; i < FSubStorages->Count(); ++i)
        if (TUxCustomAppStorage* s = FSubStorages->Items(i)->AppStorage()) s->EndUpdate();
    --FUpdateCount;
    FlushIfNeeded();
    if (FUpdateCount < 0) FUpdateCount = 0;
}

bool TUxCustomAppStorage::RefersToStorage(TUxCustomAppStorage* store) const
{
    for (int i = FSubStorages->Count() - 1; i >= 0; --i) {
        TUxCustomAppStorage* s = FSubStorages->Items(i)->AppStorage();
        if (s && (s == store || s->RefersToStorage(store))) return true;
    }
    return false;
}

} // namespace dbgrids
