// The sort's reading of cell texts: signs, dates and times in the
// program's date and time formats, and numbers with prefix, suffix and
// thousands.
#include "grid/ExGridSortText.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gridbase/ExUtil.h"
#include "platform/rtl/Strings.h"

namespace grid::sorttext {

namespace {

bool IsDigitAt(const std::string& s, int i)
{
    return i >= 0 && i < static_cast<int>(s.size()) && s[static_cast<std::size_t>(i)] >= '0' &&
           s[static_cast<std::size_t>(i)] <= '9';
}

// Whole numbers of the text separated by sep (at most max parts); false
// when anything else stands between them.
bool SplitNumbers(std::string_view s, char sep, int max, std::vector<int>& parts)
{
    parts.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<int>(parts.size()) == max) return false;
        std::size_t j = i;
        int v = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9' && j - i < 9) v = v * 10 + (s[j++] - '0');
        if (j == i) return false;
        parts.push_back(v);
        if (j < s.size() && s[j] != sep) return false;
        i = j < s.size() ? j + 1 : j;
        if (j < s.size() && i == s.size()) return false;  // a trailing separator
    }
    return !parts.empty();
}

} // namespace

int Sign(double a, double b) { return a > b ? 1 : (a < b ? -1 : 0); }
int Sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }


// The first occurrence of sep stands at character 2 or 3 (1-based), before
// the last character, between two digits.
bool SeparatorLooksLikeDateOrTime(const std::string& s, char sep)
{
    const std::size_t p = s.find(sep);
    if (p == std::string::npos || (p != 1 && p != 2) || p + 1 >= s.size()) return false;
    const int i = static_cast<int>(p);
    return IsDigitAt(s, i - 1) && IsDigitAt(s, i + 1);
}


// A date in the order of FormatSettings().ShortDateFormat with its date
// separator; a two-digit year is taken as 1900 + year above 49, else 2000 + year.
bool TryStrToDate(std::string_view text, rtl::TDateTime& value)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::vector<int> p;
    if (!SplitNumbers(rtl::Trim(text), fs.DateSeparator, 3, p) || p.size() < 2) return false;
    // The order of day, month and year in the short date format.
    std::string order;
    for (char c : rtl::LowerCase(fs.ShortDateFormat))
        if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "ymd";
    int y = 0, m = 0, d = 0;
    if (p.size() == 2) {
        // Without a year: the current year.
        int cy = 0, cm = 0, cd = 0;
        rtl::DecodeDate(rtl::Date(), cy, cm, cd);
        y = cy;
        std::string md = order;
        md.erase(md.find('y'), 1);
        (md[0] == 'm' ? m : d) = p[0];
        (md[1] == 'm' ? m : d) = p[1];
    } else {
        for (int k = 0; k < 3; ++k) (order[static_cast<std::size_t>(k)] == 'y' ? y : order[static_cast<std::size_t>(k)] == 'm' ? m : d) = p[static_cast<std::size_t>(k)];
        const std::size_t yi = order.find('y');
        int digits = 0;
        {
            // Count the digits the year was written with.
            std::string_view rest = text;
            for (std::size_t k = 0; k < yi; ++k) rest = rest.substr(rest.find(fs.DateSeparator) + 1);
            while (digits < static_cast<int>(rest.size()) && rest[static_cast<std::size_t>(digits)] >= '0' &&
                   rest[static_cast<std::size_t>(digits)] <= '9')
                ++digits;
        }
        if (digits <= 2) y += y > 49 ? 1900 : 2000;
    }
    return rtl::TryEncodeDate(y, m, d, value);
}

// h:n[:s[.zzz]] with the time separator, optionally followed by AM or PM.
bool TryStrToTime(std::string_view text, rtl::TDateTime& value)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    std::string s = rtl::Trim(text);
    int add = -1;  // -1 no marker, 0 am, 12 pm
    const std::string up = rtl::UpperCase(s);
    auto endsWith = [&](const std::string& m) {
        return !m.empty() && up.size() > m.size() && up.compare(up.size() - m.size(), m.size(), rtl::UpperCase(m)) == 0;
    };
    if (endsWith(fs.TimePMString)) {
        add = 12;
        s = rtl::Trim(s.substr(0, s.size() - fs.TimePMString.size()));
    } else if (endsWith(fs.TimeAMString)) {
        add = 0;
        s = rtl::Trim(s.substr(0, s.size() - fs.TimeAMString.size()));
    }
    int msec = 0;
    if (const std::size_t dot = s.find('.'); dot != std::string::npos) {
        const std::string z = s.substr(dot + 1);
        if (z.empty() || z.size() > 3 || z.find_first_not_of("0123456789") != std::string::npos) return false;
        msec = std::atoi(z.c_str()) * (z.size() == 1 ? 100 : z.size() == 2 ? 10 : 1);
        s.erase(dot);
    }
    std::vector<int> p;
    if (!SplitNumbers(s, fs.TimeSeparator, 3, p) || p.size() < 2) return false;
    int h = p[0];
    if (add >= 0) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + add;
    }
    return rtl::TryEncodeTime(h, p[1], p.size() > 2 ? p[2] : 0, msec, value);
}

// A date, a time, or a date followed by a space and a time.
bool TryStrToDateTime(std::string_view text, rtl::TDateTime& value)
{
    const std::string s = rtl::Trim(text);
    rtl::TDateTime d = 0, t = 0;
    if (const std::size_t sp = s.find(' '); sp != std::string::npos) {
        if (!TryStrToDate(s.substr(0, sp), d) || !TryStrToTime(s.substr(sp + 1), t)) return false;
        value = d < 0 ? d - t : d + t;
        return true;
    }
    if (TryStrToDate(s, d)) {
        value = d;
        return true;
    }
    if (TryStrToTime(s, t)) {
        value = t;
        return true;
    }
    return false;
}

// A number text after prefix, suffix and (for money) thousands are taken
// out; an empty text is 0.  False when it does not convert.
bool SortNumber(std::string s, const std::string& prefix, const std::string& suffix, bool financial, double& v)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    if (!prefix.empty())
        if (const std::size_t p = s.find(prefix); p != std::string::npos) s.erase(p, prefix.size());
    if (!suffix.empty())
        if (const std::size_t p = s.find(suffix); p != std::string::npos) s.erase(p, suffix.size());
    if (financial) s.erase(std::remove(s.begin(), s.end(), fs.ThousandSeparator), s.end());
    if (fs.DecimalSeparator != '.')
        if (const std::size_t p = s.find(fs.DecimalSeparator); p != std::string::npos) s[p] = '.';
    v = 0;
    if (s.empty()) return true;
    return rtl::TryStrToFloat(s, v);
}

bool IsNumberClass(int c) { return c == gridbase::ntInteger || c == gridbase::ntDecimal || c == gridbase::ntExponent; }

} // namespace grid::sorttext
