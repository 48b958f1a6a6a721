#include "platform/rtl/Collation.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/rtl/Strings.h"

namespace rtl {

namespace {

struct TFoldPair {
    uint32_t From, To;
};

constexpr TFoldPair kFold[] = {
#include "platform/rtl/CaseFoldTable.inc"
};

// The next code point of s at i (advancing i), ASCII without decoding.
inline char32_t Next(std::string_view s, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    return NextUTF8(s, i);
}

} // namespace

char32_t SimpleCaseFold(char32_t cp)
{
    if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    const auto* end = std::end(kFold);
    const auto* it = std::lower_bound(std::begin(kFold), end, static_cast<uint32_t>(cp),
                                      [](const TFoldPair& p, uint32_t v) { return p.From < v; });
    return it != end && it->From == cp ? static_cast<char32_t>(it->To) : cp;
}

int CollateCompareText(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = SimpleCaseFold(Next(a, i));
        const char32_t cb = SimpleCaseFold(Next(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i >= a.size() && j >= b.size()) return 0;
    return i >= a.size() ? -1 : 1;
}

int CollateCompareStr(std::string_view a, std::string_view b)
{
    if (const int r = CollateCompareText(a, b); r != 0) return r;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = Next(a, i);
        const char32_t cb = Next(b, j);
        if (ca == cb) continue;
        const bool lowerA = SimpleCaseFold(ca) == ca, lowerB = SimpleCaseFold(cb) == cb;
        if (lowerA != lowerB) return lowerA ? -1 : 1;
        return ca < cb ? -1 : 1;
    }
    // Equal after folding with equal code points: equal up to malformed bytes.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace rtl
