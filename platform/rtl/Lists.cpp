#include "platform/rtl/Lists.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

namespace rtl {

// --- TList ----------------------------------------------------------------

void TList::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TList::SetCount(int count)
{
    if (count < 0) throw EListError("List count out of bounds (" + std::to_string(count) + ")");
    FItems.resize(static_cast<std::size_t>(count), nullptr);
}

void* TList::Items(int index) const
{
    Check(index);
    return FItems[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    Check(index);
    FItems[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item)
{
    FItems.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index)
{
    Check(index);
    FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item)
{
    int i = IndexOf(item);
    if (i >= 0) Delete(i);
    return i;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void* TList::Extract(void* item)
{
    int i = IndexOf(item);
    if (i < 0) return nullptr;
    Delete(i);
    return item;
}

void TList::Exchange(int a, int b)
{
    Check(a);
    Check(b);
    std::swap(FItems[static_cast<std::size_t>(a)], FItems[static_cast<std::size_t>(b)]);
}

void TList::Move(int from, int to)
{
    if (from == to) return;
    Check(from);
    Check(to);
    void* item = FItems[static_cast<std::size_t>(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
}

void TList::Sort(const std::function<int(void*, void*)>& compare)
{
    std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

// --- TStringList ----------------------------------------------------------

// Brackets a change of many items; the update ends even when an item is
// refused (a sorted list with dupError raises), so OnChange keeps firing.
struct TStringList::UpdateScope {
    explicit UpdateScope(TStringList& list) : l(list) { l.BeginUpdate(); }
    ~UpdateScope() { l.EndUpdate(); }
    TStringList& l;
};

TStringList::TStringList(std::initializer_list<std::string> items)
{
    for (const auto& s : items) Add(s);
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TStringList::Strings(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].s;
}

void TStringList::SetStrings(int index, const std::string& s)
{
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)].s = s;
    Changed();
}

TObject* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].obj;
}

void TStringList::SetObjects(int index, TObject* obj)
{
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)].obj = obj;
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const
{
    return FCaseSensitive ? CompareStr(a, b) : AnsiCompareText(a, b);
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* obj)
{
    int index = Count();
    if (FSorted) {
        if (Find(s, index)) {
            if (FDuplicates == TDuplicates::dupIgnore) return index;
            if (FDuplicates == TDuplicates::dupError)
                throw EStringListError("String list does not allow duplicates");
        }
    }
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, obj});
    Changed();
    return index;
}

void TStringList::AddStrings(const TStringList& other)
{
    UpdateScope update(*this);
    for (int i = 0; i < other.Count(); ++i) AddObject(other.Strings(i), other.Objects(i));
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* obj)
{
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, obj});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(a)], FItems[static_cast<std::size_t>(b)]);
    Changed();
}

void TStringList::Move(int from, int to)
{
    if (from == to) return;
    CheckIndex(from);
    CheckIndex(to);
    Changing();
    Item item = FItems[static_cast<std::size_t>(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
    Changed();
}

int TStringList::IndexOf(const std::string& s) const
{
    if (FSorted) {
        int i;
        return Find(s, i) ? i : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(FItems[static_cast<std::size_t>(i)].s, s) == 0) return i;
    return -1;
}

int TStringList::IndexOfObject(TObject* obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].obj == obj) return i;
    return -1;
}

bool TStringList::Find(const std::string& s, int& index) const
{
    // Binary search; with duplicates, the first of the equal ones.
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(FItems[static_cast<std::size_t>(mid)].s, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::SortItems()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [&](const Item& a, const Item& b) { return CompareStrings(a.s, b.s) < 0; });
}

void TStringList::SetSorted(bool value)
{
    if (FSorted == value) return;
    if (value) Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (FCaseSensitive == value) return;
    FCaseSensitive = value;
    if (FSorted) Sort();
}

void TStringList::Sort()
{
    Changing();
    SortItems();
    Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare)
{
    if (Count() < 2) return;
    Changing();
    // Sort a permutation with the caller's index comparison, then apply it.
    std::vector<int> order(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(FItems.size());
    for (int i : order) sorted.push_back(FItems[static_cast<std::size_t>(i)]);
    FItems = std::move(sorted);
    Changed();
}

std::string TStringList::Names(int index) const
{
    const std::string& s = Strings(index);
    auto p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStringList::ValueFromIndex(int index) const
{
    const std::string& s = Strings(index);
    auto p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

int TStringList::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = FItems[static_cast<std::size_t>(i)].s;
        auto p = s.find(FNameValueSeparator);
        if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0) return i;
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const
{
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValues(const std::string& name, const std::string& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    std::string line = name + FNameValueSeparator + value;
    if (i < 0) {
        Add(line);
    } else {
        Changing();
        FItems[static_cast<std::size_t>(i)].s = line;
        Changed();
    }
}

std::string TStringList::JoinDelimited(char delimiter, char quoteChar, bool strict) const
{
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = FItems[static_cast<std::size_t>(i)].s;
        bool quote = s.find(delimiter) != std::string::npos || s.find(quoteChar) != std::string::npos ||
                     (s.empty() && !strict && Count() == 1);
        if (!strict)
            for (char c : s)
                if (static_cast<unsigned char>(c) <= 32) quote = true;
        if (i > 0) out += delimiter;
        out += quote ? QuotedStr(s, quoteChar) : s;
    }
    return out;
}

void TStringList::SplitDelimited(std::string_view text, char delimiter, char quoteChar, bool strict)
{
    UpdateScope update(*this);
    Clear();
    std::size_t i = 0;
    auto isSep = [&](char c) {
        return c == delimiter || (!strict && static_cast<unsigned char>(c) <= 32 && c != 0);
    };
    if (!strict)
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    while (i < text.size()) {
        std::string item;
        if (text[i] == quoteChar) {
            ++i;
            while (i < text.size()) {
                if (text[i] == quoteChar) {
                    if (i + 1 < text.size() && text[i + 1] == quoteChar) {
                        item += quoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            // Text after the closing quote belongs to the item up to a separator.
            while (i < text.size() && !isSep(text[i])) item += text[i++];
        } else {
            while (i < text.size() && !isSep(text[i])) item += text[i++];
        }
        Add(item);
        if (!strict)
            while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32 && text[i] != delimiter) ++i;
        if (i < text.size() && text[i] == delimiter) {
            ++i;
            if (!strict)
                while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
            if (i >= text.size()) Add("");  // a trailing delimiter ends an empty item
        }
    }
}

std::string TStringList::DelimitedText() const
{
    return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStringList::SetDelimitedText(std::string_view text)
{
    SplitDelimited(text, FDelimiter, FQuoteChar, FStrictDelimiter);
}

std::string TStringList::CommaText() const
{
    return JoinDelimited(',', '"', false);
}

void TStringList::SetCommaText(std::string_view text)
{
    SplitDelimited(text, ',', '"', false);
}

std::string TStringList::Text() const
{
    std::string out;
    for (const auto& item : FItems) {
        out += item.s;
        out += FLineBreak;
    }
    return out;
}

void TStringList::SetText(std::string_view text)
{
    UpdateScope update(*this);
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\n' && text[j] != '\r') ++j;
        Add(std::string(text.substr(i, j - i)));
        if (j < text.size() && text[j] == '\r') {
            ++j;
            if (j < text.size() && text[j] == '\n') ++j;
        } else if (j < text.size() && text[j] == '\n') {
            ++j;
        }
        i = j;
    }
}

void TStringList::LoadFromFile(const std::string& fileName)
{
    std::string data = ReadFileBytes(fileName);
    if (data.size() >= 3 && static_cast<unsigned char>(data[0]) == 0xEF &&
        static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF)
        data.erase(0, 3);
    SetText(data);
}

void TStringList::SaveToFile(const std::string& fileName) const
{
    TFileStream f(fileName, fmCreate);
    SaveToStream(f);
}

void TStringList::LoadFromStream(TStream& stream)
{
    std::string data = stream.ReadAll();
    if (data.size() >= 3 && static_cast<unsigned char>(data[0]) == 0xEF &&
        static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF)
        data.erase(0, 3);
    SetText(data);
}

void TStringList::SaveToStream(TStream& stream) const { stream.WriteString(Text()); }

void TStringList::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TStringList*>(source)) {
        if (other == this) return;
        BeginUpdate();
        FItems = other->FItems;
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStringList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TStringList::Changing()
{
    if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

std::vector<std::string> TStringList::ToVector() const
{
    std::vector<std::string> v;
    v.reserve(FItems.size());
    for (const auto& item : FItems) v.push_back(item.s);
    return v;
}

} // namespace rtl
