// Character classification and case mapping of single UTF-16 code units,
// in the flag terms the utility tables keep (C1_UPPER, C1_LOWER, ...), and
// the locale-aware case-insensitive comparison of wide texts.  Backed by
// ICU; a code unit that is half of a surrogate pair has no flags and maps
// to itself.
//
//   uint16_t t = sys::CharTypeFlags(u'A');           // C1_UPPER | C1_ALPHA | ...
//   int c = sys::LocaleCompareIgnoreCase(u"abc", u"ABC");   // 0
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sys {

enum : uint16_t {
    C1_UPPER = 0x0001,
    C1_LOWER = 0x0002,
    C1_DIGIT = 0x0004,
    C1_SPACE = 0x0008,
    C1_PUNCT = 0x0010,
    C1_CNTRL = 0x0020,
    C1_BLANK = 0x0040,
    C1_XDIGIT = 0x0080,
    C1_ALPHA = 0x0100,
    C1_DEFINED = 0x0200,
};

uint16_t CharTypeFlags(char16_t ch);
char16_t CharToLower(char16_t ch);
char16_t CharToUpper(char16_t ch);

// Compares under the user's locale ignoring case: -1, 0 or 1; -2 when the
// comparison cannot be made.
int LocaleCompareIgnoreCase(std::u16string_view a, std::u16string_view b);

} // namespace sys

namespace sys {
// The display name of a Windows language identifier ("English (United
// States)" for $0409); "" when it is not known.
std::string LanguageNameOfLcid(uint16_t lcid);
} // namespace sys
