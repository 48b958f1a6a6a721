// TRangeList: a set of integers read from and written as range text.

#include "controls/ExEdit.h"

#include <algorithm>

#include "platform/rtl/Strings.h"
#include "platform/sys/DebugLog.h"

namespace controls {

namespace {

// The runtime's integer reader; false unless the whole element reads.
bool ReadInt(const std::string& s, int32_t& v)
{
    int code = 0;
    rtl::Val(s, v, code);
    return code == 0 && !s.empty();
}

} // namespace

void TRangeList::Add(int32_t value)
{
    if (FSet.insert(value).second) FItems.push_back(value);
}

void TRangeList::AddMultiple(int32_t value, int count)
{
    // The run stops at the largest integer instead of wrapping round to
    // negative values.
    for (int64_t k = 0; k < count && int64_t(value) + k <= INT32_MAX; ++k) Add(static_cast<int32_t>(value + k));
}

void TRangeList::Delete(int index)
{
    const int32_t v = FItems.at(static_cast<std::size_t>(index));
    FItems.erase(FItems.begin() + index);
    if (std::find(FItems.begin(), FItems.end(), v) == FItems.end()) FSet.erase(v);
}

bool TRangeList::InList(int32_t value) const { return FSet.count(value) != 0; }

void TRangeList::Clear()
{
    FItems.clear();
    FSet.clear();
}

void TRangeList::Sort() { std::sort(FItems.begin(), FItems.end()); }

void TRangeList::Show() const
{
    for (int32_t v : FItems) sys::OutputDebugString(rtl::IntToStr(v));
}

bool TRangeList::StrToList(std::string s)
{
    bool ok = true;
    Clear();
    while (!s.empty()) {
        const std::size_t q = s.find_first_of(",;");
        std::string element;
        if (q == std::string::npos) {
            element = s;
            s.clear();
        } else {
            element = s.substr(0, q);
            s.erase(0, q + 1);
        }
        const std::size_t dash = element.find('-');
        if (dash == std::string::npos) {
            int32_t v = 0;
            if (ReadInt(element, v)) Add(v);
            else ok = false;
            continue;
        }
        int32_t a = 0, b = 0;
        const bool okA = ReadInt(element.substr(0, dash), a);
        const bool okB = ReadInt(element.substr(dash + 1), b);
        if (!okA || !okB) {
            ok = false;
            continue;
        }
        if (b < a) continue;
        // A range longer than the limit would stall the program; refused.
        if (static_cast<int64_t>(b) - a + 1 > MaxRangeLength) {
            ok = false;
            continue;
        }
        for (int64_t v = a; v <= b; ++v) Add(static_cast<int32_t>(v));
    }
    return ok;
}

std::string TRangeList::ToRangeStr()
{
    Sort();
    std::string out;
    std::size_t i = 0;
    while (i < FItems.size()) {
        std::size_t j = i;
        while (j + 1 < FItems.size() && static_cast<int64_t>(FItems[j + 1]) == static_cast<int64_t>(FItems[j]) + 1) ++j;
        if (!out.empty()) out += ",";
        out += rtl::IntToStr(FItems[i]);
        if (j > i) out += "-" + rtl::IntToStr(FItems[j]);
        i = j + 1;
    }
    return out;
}

} // namespace controls
