#include "dbgrids/UxMemAppStorage.h"

#include <cstring>

#include "platform/rtl/Strings.h"

namespace dbgrids {

namespace {

std::string Upper(const std::string& s) { return rtl::AnsiUpperCase(s); }

std::vector<std::string> SplitKey(const std::string& key)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : key) {
        if (c == '\\') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

bool HoldsList(const TUxMemAppStorage::TFolder& f)
{
    return f.Values.count("COUNT") != 0;
}

} // namespace

TUxMemAppStorage::TUxMemAppStorage(rtl::TComponent* owner) : TUxCustomAppStorage(owner) {}

TUxMemAppStorage::~TUxMemAppStorage()
{
    if (FlushOnDestroy()) Flush();
}

TUxMemAppStorage::TFolder* TUxMemAppStorage::FindFolder(const std::string& key, bool create)
{
    TFolder* f = &FRootFolder;
    for (const std::string& c : SplitKey(key)) {
        auto it = f->Folders.find(Upper(c));
        if (it == f->Folders.end()) {
            if (!create) return nullptr;
            auto fresh = std::make_unique<TFolder>();
            fresh->Name = c;
            it = f->Folders.emplace(Upper(c), std::move(fresh)).first;
        }
        f = it->second.get();
    }
    return f;
}

const TUxMemAppStorage::TValue* TUxMemAppStorage::FindValue(const std::string& path)
{
    std::string key, name;
    SplitAbsolutePath(path, key, name);
    TFolder* f = FindFolder(key, false);
    if (!f) return nullptr;
    auto it = f->Values.find(Upper(name));
    return it == f->Values.end() ? nullptr : &it->second.second;
}

void TUxMemAppStorage::Store(const std::string& path, const TValue& v)
{
    std::string key, name;
    SplitAbsolutePath(path, key, name);
    TFolder* f = FindFolder(key, true);
    f->Values[Upper(name)] = {name, v};
}

std::string TUxMemAppStorage::RawText(const std::string& absolutePath) const
{
    auto* self = const_cast<TUxMemAppStorage*>(this);
    const TValue* v = self->FindValue(absolutePath);
    if (!v) return {};
    switch (v->Kind) {
    case 'i': return rtl::IntToStr(v->Int);
    case 'f': return rtl::FloatToStr(v->Float);
    default: return v->Text;
    }
}

char TUxMemAppStorage::RawKind(const std::string& absolutePath) const
{
    const TValue* v = const_cast<TUxMemAppStorage*>(this)->FindValue(absolutePath);
    return v ? v->Kind : 0;
}

void TUxMemAppStorage::NativeListFolders(const std::string& path, rtl::TStringList& strings, bool reportListAsValue)
{
    TFolder* f = FindFolder(AbsolutePath(path), false);
    if (!f) return;
    for (auto& [k, sub] : f->Folders)
        if (!(reportListAsValue && HoldsList(*sub))) strings.Add(sub->Name);
}

void TUxMemAppStorage::NativeListValues(const std::string& path, rtl::TStringList& strings, bool reportListAsValue)
{
    TFolder* f = FindFolder(AbsolutePath(path), false);
    if (!f) return;
    for (auto& [k, v] : f->Values) strings.Add(v.first);
    if (reportListAsValue)
        for (auto& [k, sub] : f->Folders)
            if (HoldsList(*sub)) strings.Add(sub->Name);
}

bool TUxMemAppStorage::NativeIsFolder(const std::string& path, bool listIsValue)
{
    TFolder* f = FindFolder(AbsolutePath(path), false);
    return f && f != &FRootFolder && !(listIsValue && HoldsList(*f));
}

bool TUxMemAppStorage::NativePathExists(const std::string& path)
{
    return FindFolder(AbsolutePath(path), false) != nullptr || FindValue(path) != nullptr;
}

bool TUxMemAppStorage::NativeValueExists(const std::string& path)
{
    return FindValue(path) != nullptr;
}

void TUxMemAppStorage::NativeDeleteValue(const std::string& path)
{
    std::string key, name;
    SplitAbsolutePath(path, key, name);
    if (TFolder* f = FindFolder(key, false)) f->Values.erase(Upper(name));
}

void TUxMemAppStorage::NativeDeleteSubTree(const std::string& path)
{
    std::string key, name;
    SplitAbsolutePath(path, key, name);
    if (TFolder* f = FindFolder(key, false)) f->Folders.erase(Upper(name));
}

int32_t TUxMemAppStorage::NativeReadInteger(const std::string& path, int32_t def)
{
    ++NativeReadCount;
    const TValue* v = FindValue(path);
    if (!v) return def;
    switch (v->Kind) {
    case 'i': return static_cast<int32_t>(v->Int);
    case 'f': return static_cast<int32_t>(rtl::Round(v->Float));
    case 's': return rtl::StrToInt(v->Text);
    default: throw rtl::EConvertError("Invalid integer value");
    }
}

void TUxMemAppStorage::NativeWriteInteger(const std::string& path, int32_t value)
{
    TValue v;
    v.Kind = 'i';
    v.Int = value;
    Store(path, v);
}

long double TUxMemAppStorage::NativeReadFloat(const std::string& path, long double def)
{
    ++NativeReadCount;
    const TValue* v = FindValue(path);
    if (!v) return def;
    switch (v->Kind) {
    case 'i': return static_cast<long double>(v->Int);
    case 'f': return v->Float;
    case 's': return rtl::StrToFloat(v->Text);
    default: throw rtl::EConvertError("Invalid floating point value");
    }
}

void TUxMemAppStorage::NativeWriteFloat(const std::string& path, long double value)
{
    TValue v;
    v.Kind = 'f';
    v.Float = value;
    Store(path, v);
}

std::string TUxMemAppStorage::NativeReadString(const std::string& path, const std::string& def)
{
    ++NativeReadCount;
    const TValue* v = FindValue(path);
    if (!v) return def;
    if (v->Kind == 'b') throw rtl::EConvertError("Invalid text value");
    return RawText(path.empty() || path[0] != '\\' ? path : path);
}

void TUxMemAppStorage::NativeWriteString(const std::string& path, const std::string& value)
{
    TValue v;
    v.Kind = 's';
    v.Text = value;
    Store(path, v);
}

int TUxMemAppStorage::NativeReadBinary(const std::string& path, void* buf, int bufSize)
{
    ++NativeReadCount;
    const TValue* v = FindValue(path);
    if (!v || v->Kind != 'b' || bufSize <= 0) return 0;
    int n = static_cast<int>(std::min<size_t>(v->Text.size(), static_cast<size_t>(bufSize)));
    std::memcpy(buf, v->Text.data(), static_cast<size_t>(n));
    return n;
}

void TUxMemAppStorage::NativeWriteBinary(const std::string& path, const void* buf, int bufSize)
{
    TValue v;
    v.Kind = 'b';
    v.Text.assign(static_cast<const char*>(buf), static_cast<size_t>(bufSize > 0 ? bufSize : 0));
    Store(path, v);
}

} // namespace dbgrids
