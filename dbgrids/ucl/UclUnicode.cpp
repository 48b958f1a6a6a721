#include "dbgrids/ucl/UclUnicode.h"

#include <atomic>
#include <memory>

#include "dbgrids/ucl/UclSynch.h"
#include "dbgrids/ucl/UclSysInfo.h"
#include "platform/rtl/CodePages.h"
#include "platform/sys/CharTypes.h"

namespace ucl {

namespace {

class TReader {
public:
    TReader(std::string_view b, const char* name) : FBytes(b), FName(name) {}
    bool AtEnd() const { return FPos >= FBytes.size(); }
    [[noreturn]] void Fail() const { throw EUclError(std::string("Invalid Unicode data: ") + FName); }
    uint32_t Byte()
    {
        if (FPos + 1 > FBytes.size()) Fail();
        return static_cast<uint8_t>(FBytes[FPos++]);
    }
    char32_t Code()
    {
        uint32_t a = Byte(), b = Byte(), c = Byte();
        char32_t cp = a | (b << 8) | (c << 16);
        if (cp > 0x10FFFF) Fail();
        return cp;
    }
    uint32_t U32()
    {
        uint32_t a = Byte(), b = Byte(), c = Byte(), d = Byte();
        return a | (b << 8) | (c << 16) | (d << 24);
    }
    TCodeSequence Sequence(uint32_t n)
    {
        if (n * 3 > FBytes.size() - FPos) Fail();
        TCodeSequence s;
        for (uint32_t i = 0; i < n; ++i) s.push_back(Code());
        return s;
    }
    // A count that the remaining bytes cannot hold is malformed, and never
    // a reason to reserve memory.
    uint32_t Count(uint32_t n, size_t minBytesEach)
    {
        if (minBytesEach && n > (FBytes.size() - FPos) / minBytesEach) Fail();
        return n;
    }

private:
    std::string_view FBytes;
    const char* FName;
    size_t FPos = 0;
};

std::atomic<TUclCriticalSection*> gLoadLock{nullptr};
int (*gCompare)(const std::u16string&, const std::u16string&, uint32_t) = nullptr;

} // namespace

TCodeSequence TUnicodeCaseTable::Mapping(char32_t cp, TCaseType type) const
{
    auto it = Entries.find(cp);
    if (it == Entries.end() || it->second[static_cast<size_t>(type)].empty()) return {cp};
    return it->second[static_cast<size_t>(type)];
}

TCharacterCategories TUnicodeCategoryTable::CategoriesOf(char32_t cp) const
{
    TCharacterCategories set;
    for (const auto& [cat, ranges] : Blocks)
        for (const auto& [first, last] : ranges)
            if (cp >= first && cp <= last) set.Include(cat);
    return set;
}

uint8_t TUnicodeCombiningTable::ClassOf(char32_t cp) const
{
    for (const auto& [cls, ranges] : Blocks)
        for (const auto& [first, last] : ranges)
            if (cp >= first && cp <= last) return cls;
    return 0;
}

const TDecomposition* TUnicodeDecompositionTable::Find(char32_t cp) const
{
    auto it = Entries.find(cp);
    return it == Entries.end() ? nullptr : &it->second;
}

char32_t TUnicodeCompositionTable::Compose(const TCodeSequence& seq) const
{
    for (const auto& [cp, s] : Entries)
        if (s == seq) return cp;
    return 0;
}

bool TUnicodeNumberTable::NumberOf(char32_t cp, TUcNumber& number) const
{
    auto it = Codes.find(cp);
    if (it == Codes.end() || it->second >= Numbers.size()) return false;
    number = Numbers[it->second];
    return true;
}

TUnicodeCaseTable ReadUnicodeCase(std::string_view bytes)
{
    TReader r(bytes, "CASE");
    TUnicodeCaseTable t;
    uint32_t n = r.Count(r.U32(), 7);
    for (uint32_t i = 0; i < n; ++i) {
        char32_t cp = r.Code();
        std::array<TCodeSequence, 4> m;
        for (auto& seq : m) seq = r.Sequence(r.Byte());
        t.Entries[cp] = std::move(m);
    }
    return t;
}

TUnicodeCategoryTable ReadUnicodeCategories(std::string_view bytes)
{
    TReader r(bytes, "CATEGORIES");
    TUnicodeCategoryTable t;
    while (!r.AtEnd()) {
        uint32_t cat = r.Byte();
        if (cat >= kCharacterCategoryCount) r.Fail();
        uint32_t n = r.Count(r.U32(), 6);
        std::vector<std::pair<char32_t, char32_t>> ranges;
        for (uint32_t i = 0; i < n; ++i) {
            char32_t first = r.Code(), last = r.Code();
            ranges.emplace_back(first, last);
        }
        t.Blocks.emplace_back(static_cast<TCharacterCategory>(cat), std::move(ranges));
    }
    return t;
}

TUnicodeCombiningTable ReadUnicodeCombining(std::string_view bytes)
{
    TReader r(bytes, "COMBINING");
    TUnicodeCombiningTable t;
    while (!r.AtEnd()) {
        uint8_t cls = static_cast<uint8_t>(r.Byte());
        uint32_t n = r.Count(r.Byte(), 6);
        std::vector<std::pair<char32_t, char32_t>> ranges;
        for (uint32_t i = 0; i < n; ++i) {
            char32_t first = r.Code(), last = r.Code();
            ranges.emplace_back(first, last);
        }
        t.Blocks.emplace_back(cls, std::move(ranges));
    }
    return t;
}

TUnicodeDecompositionTable ReadUnicodeDecomposition(std::string_view bytes)
{
    TReader r(bytes, "DECOMPOSITION");
    TUnicodeDecompositionTable t;
    uint32_t n = r.Count(r.U32(), 5);
    for (uint32_t i = 0; i < n; ++i) {
        char32_t cp = r.Code();
        uint32_t len = r.Byte();
        uint32_t tag = r.Byte();
        if (tag > static_cast<uint32_t>(TCompatibilityFormattingTag::cftCompat)) r.Fail();
        TDecomposition d;
        d.Tag = static_cast<TCompatibilityFormattingTag>(tag);
        d.Leaves = r.Sequence(len);
        t.Entries[cp] = std::move(d);
    }
    return t;
}

TUnicodeCompositionTable ReadUnicodeComposition(std::string_view bytes)
{
    TReader r(bytes, "COMPOSITION");
    TUnicodeCompositionTable t;
    uint32_t n = r.Count(r.U32(), 4);
    for (uint32_t i = 0; i < n; ++i) {
        char32_t cp = r.Code();
        t.Entries.emplace_back(cp, r.Sequence(r.Byte()));
    }
    return t;
}

TUnicodeNumberTable ReadUnicodeNumbers(std::string_view bytes)
{
    TReader r(bytes, "NUMBERS");
    TUnicodeNumberTable t;
    uint32_t count = r.Count(r.Byte(), 8);
    for (uint32_t i = 0; i < count; ++i) {
        TUcNumber num;
        num.Numerator = static_cast<int32_t>(r.U32());
        num.Denominator = static_cast<int32_t>(r.U32());
        t.Numbers.push_back(num);
    }
    uint32_t codes = r.Count(r.U32(), 4);
    for (uint32_t i = 0; i < codes; ++i) {
        char32_t cp = r.Code();
        uint32_t index = r.Byte();
        if (index >= count) r.Fail();
        t.Codes[cp] = static_cast<uint8_t>(index);
    }
    return t;
}

int AnsiCodePageOfLocale(uint32_t)
{
    return static_cast<int>(rtl::SystemCodePage());
}

int LocaleCompareTextWide(const std::u16string& s1, const std::u16string& s2, uint32_t)
{
    return sys::LocaleCompareIgnoreCase(s1, s2);
}

int LocaleCompareTextAnsi(const std::u16string& s1, const std::u16string& s2, uint32_t locale)
{
    uint32_t page = static_cast<uint32_t>(AnsiCodePageOfLocale(locale));
    auto trip = [page](const std::u16string& s) { return rtl::CodePageToUTF16(rtl::UTF16ToCodePage(s, page), page); };
    return sys::LocaleCompareIgnoreCase(trip(s1), trip(s2));
}

int LocaleCompareText(const std::u16string& s1, const std::u16string& s2, uint32_t locale)
{
    if (!gCompare) InitUclUnicode();
    return gCompare(s1, s2, locale);
}

void InitUclUnicode()
{
    if (!gLoadLock.load()) {
        auto* cs = new TUclCriticalSection();
        TUclCriticalSection* expected = nullptr;
        if (!gLoadLock.compare_exchange_strong(expected, cs)) delete cs;
    }
    gCompare = RunningVersionRecord().PlatformId == kPlatformNT ? &LocaleCompareTextWide : &LocaleCompareTextAnsi;
}

void FinalizeUclUnicode()
{
    delete gLoadLock.exchange(nullptr);
}

} // namespace ucl
