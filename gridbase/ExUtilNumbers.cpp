// ExUtil: number texts, date texts and steps, name capitalisation and the
// clipboard HTML wrapper.
#include "gridbase/ExUtil.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

std::u32string CodePoints(std::string_view text)
{
    std::u32string r;
    r.reserve(text.size());
    for (size_t i = 0; i < text.size();) r += rtl::NextUTF8(text, i);
    return r;
}

std::string Utf8(const std::u32string& s)
{
    std::string r;
    r.reserve(s.size());
    for (char32_t c : s) rtl::AppendUTF8(r, c);
    return r;
}

bool IsBlankOrControl(char32_t c) { return c <= 32; }

// Month, day and year read from a date text whose parts are separated by
// the first of "/", "." and "-" that occurs; false when the shape is wrong.
bool SplitDateText(std::string_view text, std::string& first, std::string& second, std::string& year)
{
    size_t p = std::string_view::npos;
    char sep = 0;
    for (char s : {'/', '.', '-'}) {
        p = text.find(s);
        if (p != std::string_view::npos) {
            sep = s;
            break;
        }
    }
    if (p == std::string_view::npos) return false;
    size_t q = text.find(sep, p + 1);
    if (q == std::string_view::npos) return false;
    first.assign(text.substr(0, p));
    second.assign(text.substr(p + 1, q - p - 1));
    year.assign(text.substr(q + 1));
    return true;
}

// A year of one or two digits lies in 1926..2025; a longer one is as written.
int FullYear(const std::string& text, int year)
{
    std::string digits = rtl::Trim(text);
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.erase(0, 1);
    if (digits.size() > 2) return year;
    return year > 25 ? year + 1900 : year + 2000;
}

rtl::TDateTime ParseDate(std::string_view text, bool monthFirst)
{
    std::string first, second, yearText;
    if (!SplitDateText(text, first, second, yearText)) return 0;
    int32_t a = 0, b = 0, year = 0;
    if (!rtl::TryStrToInt(first, a) || !rtl::TryStrToInt(second, b) || !rtl::TryStrToInt(yearText, year)) return 0;
    year = FullYear(yearText, year);
    return monthFirst ? rtl::EncodeDate(year, a, b) : rtl::EncodeDate(year, b, a);
}

} // namespace

// --- number texts --------------------------------------------------------------

int ClassifyNumberText(std::string_view text)
{
    if (text.empty()) return ntOther;
    const char32_t thousand = static_cast<unsigned char>(rtl::FormatSettings().ThousandSeparator);
    const char32_t decimal = static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator);
    const std::u32string s = CodePoints(text);
    const int n = static_cast<int>(s.size());
    bool isInteger = true, isDecimal = true, isExponent = true, seenExponent = false;
    int decimals = 0, minuses = 0, lastThousand = -1;
    for (int i = 1; i <= n; ++i) {
        const char32_t c = s[static_cast<size_t>(i - 1)];
        const bool digit = rtl::IsNumberChar(c);
        const bool e = c == 'e' || c == 'E';
        if ((!digit && c != '-') || (c == '-' && i > 1)) isInteger = false;
        if (c == '-' && i > 1) isDecimal = false;
        if (!digit && c != '-' && c != thousand && c != decimal) isDecimal = false;
        if (c == thousand) {
            if (lastThousand >= 0 && i - lastThousand < 4) isDecimal = false;
            lastThousand = i;
        }
        if (e) {
            if (seenExponent || i == 1) isExponent = false;
            seenExponent = true;
        }
        if (i == n && (e || c == '+' || c == '-')) isExponent = false;
        if (c == thousand || !(digit || c == decimal || e || c == '+' || c == '-')) isExponent = false;
        if (c == decimal) ++decimals;
        if (c == '-') ++minuses;
    }
    int result = ntOther;
    if (isInteger) {
        result = ntInteger;
    } else if (isDecimal && !seenExponent) {
        result = ntDecimal;
    } else if (isExponent && seenExponent) {
        result = ntExponent;
        if (minuses == 2) minuses = 1;  // the mantissa and the exponent may each carry one
    }
    if (minuses > 1 || decimals > 1) result = ntOther;
    return result;
}

std::string ExtractNumberText(std::string_view text)
{
    if (text.empty()) return std::string();
    const char32_t thousand = static_cast<unsigned char>(rtl::FormatSettings().ThousandSeparator);
    const char32_t decimal = static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator);
    std::u32string s = CodePoints(text);
    size_t b = 0, e = s.size();
    while (b < e && IsBlankOrControl(s[b])) ++b;
    while (e > b && IsBlankOrControl(s[e - 1])) --e;
    s = s.substr(b, e - b);
    bool negative = !s.empty() && s.front() == '(' && s.back() == ')';
    size_t start = 0;
    while (s.size() - start >= 2) {
        const char32_t c = s[start];
        if (rtl::IsNumberChar(c) || c == thousand || c == decimal || c == 'e' || c == 'E') break;
        if (c == '-') negative = true;
        ++start;
    }
    std::string out;
    for (size_t i = start; i < s.size(); ++i) {
        const char32_t c = s[i];
        if (c == thousand) continue;
        if (c == decimal) out += '.';
        else if (rtl::IsNumberChar(c) || c == '.' || c == '-' || c == 'e' || c == 'E' || c == '+')
            rtl::AppendUTF8(out, c);
        else break;
    }
    if (negative) out.insert(0, 1, '-');
    return out;
}

// --- dates -----------------------------------------------------------------------

rtl::TDateTime ParseMDYDate(std::string_view text) { return ParseDate(text, true); }

rtl::TDateTime ParseDMYDate(std::string_view text) { return ParseDate(text, false); }

rtl::TDateTime AddDateStep(uint16_t years, uint16_t months, uint16_t days, rtl::TDateTime date,
                           rtl::TDateTime step)
{
    int y = 0, m = 0, d = 0;
    rtl::DecodeDate(date, y, m, d);
    if (days != 0 && years == 0 && months == 0) return date + days;
    if (years != 0 && months == 0 && days == 0) return rtl::EncodeDate(y + years, m, d);
    if (months != 0 && years == 0 && days == 0) {
        // 16-bit arithmetic: 65535 is one month back.  Steps beyond a year
        // carry whole years instead of giving a month number past 12.
        int total = y * 12 + (m - 1) + static_cast<int16_t>(months);
        int year = total >= 0 ? total / 12 : -((-total + 11) / 12);
        int month = total - year * 12 + 1;
        return rtl::EncodeDate(year, month, d);
    }
    return date + step;
}

// --- names and the clipboard ---------------------------------------------------

std::string CapitalizeName(std::string_view text)
{
    std::u32string out = CodePoints(text);
    const int n = static_cast<int>(out.size());
    auto at = [&](int i) { return out[static_cast<size_t>(i - 1)]; };  // 1-based
    auto endsAt = [&](int i, std::u32string_view what) {
        int len = static_cast<int>(what.size());
        return i >= len && out.compare(static_cast<size_t>(i - len), what.size(), what) == 0;
    };
    bool capitaliseNext = true;
    for (int i = 1; i <= n; ++i) {
        char32_t c = at(i);
        if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') {
            capitaliseNext = true;
        } else {
            std::string one;
            rtl::AppendUTF8(one, c);
            std::u32string mapped = CodePoints(capitaliseNext ? rtl::AnsiUpperCase(one) : rtl::AnsiLowerCase(one));
            if (mapped.size() == 1) out[static_cast<size_t>(i - 1)] = mapped[0];
            capitaliseNext = false;
        }
        size_t mc = out.find(U" Mc");
        if ((i == 2 && endsAt(2, U"Mc")) || (mc != std::u32string::npos && static_cast<int>(mc) + 3 == i)) {
            capitaliseNext = true;
        } else if (i > n - 3 && (endsAt(i, U" I") || endsAt(i, U" II"))) {
            capitaliseNext = true;
        }
    }
    return Utf8(out);
}

void WrapClipboardHtml(std::string& html)
{
    static constexpr std::string_view cDocType = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    static constexpr std::string_view cHead =
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
        "<body><!--StartFragment-->";
    static constexpr std::string_view cTail = "<!--EndFragment--></body></html>";
    static_assert(cDocType.size() == 62 && cHead.size() == 110 && cTail.size() == 32);
    const int len = static_cast<int>(html.size());
    std::string r = "Version:1.0\r\n";
    r += rtl::Format("%s%.8d", "StartHTML:", 97) + "\r\n";
    r += rtl::Format("%s%.8d", "EndHTML:", len + 301) + "\r\n";
    r += rtl::Format("%s%.8d", "StartFragment:", 269) + "\r\n";
    r += rtl::Format("%s%.8d", "EndFragment:", len + 269) + "\r\n";
    r += cDocType;
    r += cHead;
    r += html;
    r += cTail;
    html = std::move(r);
}

} // namespace gridbase
