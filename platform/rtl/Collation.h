// Collation: the program's own order of texts for "locale" comparisons, the
// same on every machine whatever the user's locale, so that sorted tables,
// files and tests never depend on it.
//
// The order, for UTF-8 texts read code point by code point (a malformed
// byte counts as U+FFFD):
//  - CollateCompareText: each code point is replaced by its Unicode simple
//    case folding (CaseFolding.txt, statuses C and S, Unicode 15.0); the
//    folded sequences are compared code point by code point, a text that is
//    a prefix of the other first.  "apple" = "APPLE" < "Banana"; "ä" sorts
//    after every ASCII letter (no accent rules).
//  - CollateCompareStr: CollateCompareText first; texts equal there are
//    ordered at their first differing code point: the one that is its own
//    folding (the lower-case letter) first, otherwise by code point.  So
//    "apple" < "Apple" < "apricot" < "Banana" < "banana" sorts as
//    "apple", "Apple", "apricot", "banana", "Banana".
// Both answer -1, 0 or 1; only byte-identical texts are equal for
// CollateCompareStr.
//
//   rtl::CollateCompareText("Straße", "STRASSE");   // 1: "ß" folds to itself
//   rtl::CollateCompareStr("b", "B");                // -1
#pragma once

#include <string_view>

namespace rtl {

// The simple case folding of one code point (itself when it has none).
char32_t SimpleCaseFold(char32_t cp);
int CollateCompareText(std::string_view a, std::string_view b);
int CollateCompareStr(std::string_view a, std::string_view b);

} // namespace rtl
