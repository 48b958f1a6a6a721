// ExGridSortText: how the string grid's sort reads a cell text as a number,
// a date or a time.  The comparison and the sort keys share these rules.
//
//   double v = 0;
//   grid::sorttext::SortNumber("$1,200", "$", "", true, v);   // v = 1200
//   rtl::TDateTime t;
//   grid::sorttext::TryStrToDateTime("12/03/2024 10:30", t);  // in the short date order
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

namespace grid::sorttext {

int Sign(double a, double b);
int Sign(int v);
// The first occurrence of sep stands at character 2 or 3 (1-based), before
// the last character, between two digits.
bool SeparatorLooksLikeDateOrTime(const std::string& s, char sep);
// A date in the order of FormatSettings().ShortDateFormat with its date
// separator; a two-digit year is taken as 1900 + year above 49, else 2000 + year.
bool TryStrToDate(std::string_view text, rtl::TDateTime& value);
// h:n[:s[.zzz]] with the time separator, optionally followed by AM or PM.
bool TryStrToTime(std::string_view text, rtl::TDateTime& value);
// A date, a time, or a date followed by a space and a time.
bool TryStrToDateTime(std::string_view text, rtl::TDateTime& value);
// A number text after prefix, suffix and (for money) thousands are taken
// out; an empty text is 0.  False when it does not convert.
bool SortNumber(std::string s, const std::string& prefix, const std::string& suffix, bool financial, double& v);
// Whether a number classification (gridbase::ClassifyNumberText) is a number.
bool IsNumberClass(int c);

} // namespace grid::sorttext
