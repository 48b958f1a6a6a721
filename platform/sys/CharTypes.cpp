#include "platform/sys/CharTypes.h"

#include <memory>
#include <mutex>
#include <string>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>

namespace sys {

uint16_t CharTypeFlags(char16_t ch)
{
    if (U16_IS_SURROGATE(ch)) return 0;
    UChar32 c = ch;
    uint16_t f = 0;
    if (u_isupper(c)) f |= C1_UPPER;
    if (u_islower(c)) f |= C1_LOWER;
    if (u_isdigit(c)) f |= C1_DIGIT;
    if (u_isspace(c) || (c >= 0x09 && c <= 0x0D)) f |= C1_SPACE;
    if (u_ispunct(c) || (c < 0x80 && u_isgraph(c) && !u_isalnum(c))) f |= C1_PUNCT;
    if (u_iscntrl(c)) f |= C1_CNTRL;
    if (u_isblank(c)) f |= C1_BLANK;
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) f |= C1_XDIGIT;
    if (u_isalpha(c)) f |= C1_ALPHA;
    if (u_isdefined(c)) f |= C1_DEFINED;
    return f;
}

char16_t CharToLower(char16_t ch)
{
    if (U16_IS_SURROGATE(ch)) return ch;
    UChar32 r = u_tolower(ch);
    return r <= 0xFFFF ? static_cast<char16_t>(r) : ch;
}

char16_t CharToUpper(char16_t ch)
{
    if (U16_IS_SURROGATE(ch)) return ch;
    UChar32 r = u_toupper(ch);
    return r <= 0xFFFF ? static_cast<char16_t>(r) : ch;
}

int LocaleCompareIgnoreCase(std::u16string_view a, std::u16string_view b)
{
    // One collator for the process; ICU collators are not safe for
    // concurrent use, hence the lock.
    static std::mutex lock;
    static std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        // The "C"/POSIX locale collates by code point, letter case first:
        // the root order is the user's order there.
        icu::Locale loc = icu::Locale::getDefault();
        if (std::string(loc.getVariant()) == "POSIX" || std::string(loc.getLanguage()).empty()) loc = icu::Locale::getRoot();
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(loc, status));
        if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
        c->setStrength(icu::Collator::SECONDARY);  // letter case is a tertiary difference
        return c;
    }();
    if (!collator) return -2;
    std::lock_guard<std::mutex> g(lock);
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = collator->compare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                                           reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                                           status);
    if (U_FAILURE(status)) return -2;
    return r == UCOL_LESS ? -1 : r == UCOL_EQUAL ? 0 : 1;
}

} // namespace sys

#include <unicode/uloc.h>
#include <unicode/ustring.h>

namespace sys {

std::string LanguageNameOfLcid(uint16_t lcid)
{
    UErrorCode status = U_ZERO_ERROR;
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
    if (U_FAILURE(status) || locale[0] == 0) return {};
    UChar name[260];
    status = U_ZERO_ERROR;
    int32_t n = uloc_getDisplayName(locale, "en", name, 260, &status);
    if (U_FAILURE(status)) return {};
    char out[1024];
    int32_t outLen = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(out, sizeof out, &outLen, name, n, &status);
    return U_FAILURE(status) ? std::string() : std::string(out, static_cast<size_t>(outLen));
}

} // namespace sys
