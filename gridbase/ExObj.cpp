#include "gridbase/ExObj.h"

#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

void* ToItem(int32_t value) { return reinterpret_cast<void*>(static_cast<intptr_t>(value)); }
int32_t FromItem(void* item) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(item)); }

} // namespace

// --- TIntList ------------------------------------------------------------------

void TIntList::Changed()
{
    if (OnChange) OnChange(this, FCol, FRow);
}

void TIntList::Add(int32_t value)
{
    rtl::TList::Add(ToItem(value));
    Changed();
}

void TIntList::Delete(int index)
{
    rtl::TList::Delete(index);
    Changed();
}

void TIntList::Insert(int index, int32_t value) { rtl::TList::Insert(index, ToItem(value)); }

int32_t TIntList::Items(int index) const { return FromItem(rtl::TList::Items(index)); }

void TIntList::SetItem(int index, int32_t value)
{
    rtl::TList::SetItems(index, ToItem(value));
    Changed();
}

bool TIntList::HasValue(int32_t value) const { return IndexOf(ToItem(value)) >= 0; }

void TIntList::DeleteValue(int32_t value)
{
    int i = IndexOf(ToItem(value));
    if (i >= 0) Delete(i);
}

std::string TIntList::GetValuesText() const
{
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) r += ',';
        r += rtl::IntToStr(Items(i));
    }
    return r;
}

void TIntList::SetValuesText(std::string_view value)
{
    Clear();
    rtl::TStringList parts;
    parts.SetCommaText(value);
    for (int i = 0; i < parts.Count(); ++i) Add(rtl::StrToInt(parts[i]));
}

// --- TSortIndexList --------------------------------------------------------------

void TSortIndexList::AddIndex(int32_t columnIndex, bool ascending)
{
    uint32_t entry = static_cast<uint32_t>(columnIndex);
    if (!ascending) entry |= cDescendingBit;
    Add(static_cast<int32_t>(entry));
}

int TSortIndexList::FindIndex(int32_t columnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetIndexColumn(i) == columnIndex) return i;
    return -1;
}

int32_t TSortIndexList::GetIndexColumn(int index) const
{
    return static_cast<int32_t>(static_cast<uint32_t>(Items(index)) & cColumnMask);
}

bool TSortIndexList::IsAscending(int index) const
{
    return (static_cast<uint32_t>(Items(index)) & cDescendingBit) == 0;
}

void TSortIndexList::ToggleIndex(int32_t columnIndex)
{
    int i = FindIndex(columnIndex);
    if (i >= 0) SetItem(i, static_cast<int32_t>(static_cast<uint32_t>(Items(i)) ^ cDescendingBit));
}

std::string TSortIndexList::SaveToString() const
{
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) r += ';';
        r += IsAscending(i) ? 'u' : 'd';
        r += rtl::IntToStr(static_cast<uint32_t>(Items(i)) & 0xFFFFu);
    }
    return r;
}

void TSortIndexList::LoadFromString(std::string_view s)
{
    Clear();
    while (!s.empty()) {
        std::string_view entry;
        size_t p = s.find(';');
        if (p == std::string_view::npos) {
            entry = s;
            s = {};
        } else {
            entry = s.substr(0, p);
            s.remove_prefix(p + 1);
        }
        if (entry.size() < 2) continue;
        int32_t column = 0;
        int code = 0;
        rtl::Val(entry.substr(1), column, code);
        AddIndex(column, entry[0] == 'u');
    }
}

} // namespace gridbase
