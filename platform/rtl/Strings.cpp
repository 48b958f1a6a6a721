#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "platform/rtl/Exceptions.h"

namespace rtl {

// --- 1-based substring routines -------------------------------------------

int Pos(std::string_view sub, std::string_view s)
{
    if (sub.empty()) return 0;
    auto p = s.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int PosEx(std::string_view sub, std::string_view s, int offset)
{
    if (sub.empty() || offset < 1 || offset > static_cast<int>(s.size())) return 0;
    auto p = s.find(sub, static_cast<std::size_t>(offset - 1));
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string Copy(std::string_view s, int index, int count)
{
    if (index < 1) index = 1;
    const int len = static_cast<int>(s.size());
    if (index > len || count <= 0) return {};
    const int avail = len - index + 1;
    return std::string(s.substr(static_cast<std::size_t>(index - 1),
                                static_cast<std::size_t>(std::min(count, avail))));
}

void Delete(std::string& s, int index, int count)
{
    const int len = static_cast<int>(s.size());
    if (index < 1 || index > len || count <= 0) return;
    s.erase(static_cast<std::size_t>(index - 1),
            static_cast<std::size_t>(std::min(count, len - index + 1)));
}

void Insert(std::string_view sub, std::string& s, int index)
{
    if (index < 1) index = 1;
    if (index > static_cast<int>(s.size())) index = static_cast<int>(s.size()) + 1;
    s.insert(static_cast<std::size_t>(index - 1), sub);
}

// --- trimming and case ----------------------------------------------------

static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s)
{
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s)
{
    std::size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(0, e));
}

std::string UpperCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return r;
}

std::string LowerCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

// Case mapping of one code point.  towupper/towlower follow the process's
// LC_CTYPE; the program runs with a UTF-8 ctype so that they know every
// script, and we fall back to Latin-1 rules if it does not.
static char32_t MapCase(char32_t cp, bool upper)
{
    if (cp < 128) {
        if (upper && cp >= 'a' && cp <= 'z') return cp - 32;
        if (!upper && cp >= 'A' && cp <= 'Z') return cp + 32;
        return cp;
    }
    wint_t r = upper ? std::towupper(static_cast<wint_t>(cp)) : std::towlower(static_cast<wint_t>(cp));
    if (r != static_cast<wint_t>(cp)) return static_cast<char32_t>(r);
    // Latin-1 supplement, Latin Extended-A, Greek and Cyrillic basics, in
    // case the C library has no Unicode ctype loaded.
    if (upper) {
        if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
        if (cp >= 0x100 && cp <= 0x17F && (cp & 1) && cp != 0x131 && cp != 0x138) return cp - 1;
        if (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2) return cp - 0x20;
        if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
        if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
    } else {
        if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
        if (cp >= 0x100 && cp <= 0x17F && !(cp & 1) && cp != 0x130 && cp != 0x138) return cp + 1;
        if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 0x20;
        if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
        if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
    }
    return cp;
}

static std::string MapCaseUTF8(std::string_view s, bool upper)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 128) {
            out += static_cast<char>(MapCase(static_cast<unsigned char>(s[i]), upper));
            ++i;
            continue;
        }
        AppendUTF8(out, MapCase(NextUTF8(s, i), upper));
    }
    return out;
}

std::string AnsiUpperCase(std::string_view s) { return MapCaseUTF8(s, true); }
std::string AnsiLowerCase(std::string_view s) { return MapCaseUTF8(s, false); }

int CompareStr(std::string_view a, std::string_view b)
{
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'a' && ca <= 'z') ca -= 32;
        if (cb >= 'a' && cb <= 'z') cb -= 32;
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int AnsiCompareText(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = MapCase(NextUTF8(a, i), false);
        char32_t cb = MapCase(NextUTF8(b, j), false);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i >= a.size() && j >= b.size()) return 0;
    return i >= a.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }
bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }

bool StartsText(std::string_view prefix, std::string_view s)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view s)
{
    return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to,
                          bool all, bool ignoreCase)
{
    if (from.empty()) return std::string(s);
    std::string hay = ignoreCase ? AnsiUpperCase(s) : std::string(s);
    std::string needle = ignoreCase ? AnsiUpperCase(from) : std::string(from);
    // Upper-casing can change byte lengths for a few letters; fall back to
    // ASCII-only folding then, so positions stay aligned.
    if (ignoreCase && hay.size() != s.size()) {
        hay = UpperCase(s);
        needle = UpperCase(from);
    }
    std::string out;
    std::size_t start = 0;
    while (true) {
        std::size_t p = hay.find(needle, start);
        if (p == std::string::npos) break;
        out.append(s.substr(start, p - start));
        out.append(to);
        start = p + needle.size();
        if (!all) break;
    }
    out.append(s.substr(start));
    return out;
}

std::string StringOfChar(char c, int count) { return count > 0 ? std::string(count, c) : std::string(); }

std::string QuotedStr(std::string_view s, char quote)
{
    std::string r(1, quote);
    for (char c : s) {
        r += c;
        if (c == quote) r += c;
    }
    r += quote;
    return r;
}

std::string DequotedStr(std::string_view s, char quote)
{
    if (s.empty() || s[0] != quote) return std::string(s);
    std::string r;
    std::size_t i = 1;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                r += quote;
                i += 2;
                continue;
            }
            break;
        }
        r += s[i++];
    }
    return r;
}

std::vector<std::string> SplitString(std::string_view s, char delimiter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t p = s.find(delimiter, start);
        if (p == std::string_view::npos) {
            parts.emplace_back(s.substr(start));
            break;
        }
        parts.emplace_back(s.substr(start, p - start));
        start = p + 1;
    }
    return parts;
}

// --- UTF-8 and UTF-16 -----------------------------------------------------

void AppendUTF8(std::string& out, char32_t cp)
{
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    AppendUTF8AllowSurrogates(out, cp);
}

void AppendUTF8AllowSurrogates(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t NextUTF8(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra;
    char32_t cp;
    char32_t min;
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; min = 0x10000; }
    else { ++i; return 0xFFFD; }
    if (i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = byte(i + k);
        if ((cc & 0xC0) != 0x80) { ++i; return 0xFFFD; }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += extra + 1;
    return cp;
}

int UTF8Length(std::string_view s)
{
    int n = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        NextUTF8(s, i);
        ++n;
    }
    return n;
}

std::u16string UTF8ToUTF16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t cp = NextUTF8(s, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (cp >> 10));
            out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string UTF16ToUTF8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUTF8(out, c);
    }
    return out;
}

// --- numbers and text -----------------------------------------------------

std::string IntToStr(int64_t value) { return std::to_string(value); }
std::string UIntToStr(uint64_t value) { return std::to_string(value); }

std::string IntToHex(uint64_t value, int digits)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
    std::string r(buf);
    if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<std::size_t>(digits) - r.size(), '0');
    return r;
}

bool TryStrToInt64(std::string_view s, int64_t& value)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        neg = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    unsigned __int128 acc = 0;
    const unsigned __int128 limit = neg ? (static_cast<unsigned __int128>(INT64_MAX) + 1)
                                        : static_cast<unsigned __int128>(base == 16 ? UINT64_MAX : INT64_MAX);
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        acc = acc * base + d;
        if (acc > limit) return false;
    }
    if (base == 16 && !neg) {
        value = static_cast<int64_t>(static_cast<uint64_t>(acc));
    } else {
        value = neg ? static_cast<int64_t>(-static_cast<__int128>(acc)) : static_cast<int64_t>(acc);
    }
    return true;
}

bool TryStrToInt(std::string_view s, int32_t& value)
{
    int64_t v;
    if (!TryStrToInt64(s, v)) return false;
    // Hexadecimal texts may spell a negative 32-bit value ("$FFFFFFFF").
    if (v > INT32_MAX && v <= static_cast<int64_t>(UINT32_MAX) &&
        (s.find('$') != std::string_view::npos || s.find('x') != std::string_view::npos ||
         s.find('X') != std::string_view::npos))
        v = static_cast<int32_t>(static_cast<uint32_t>(v));
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int32_t>(v);
    return true;
}

static std::string NotInteger(std::string_view s)
{
    return "'" + std::string(s) + "' is not a valid integer value";
}

int32_t StrToInt(std::string_view s)
{
    int32_t v;
    if (!TryStrToInt(s, v)) throw EConvertError(NotInteger(s));
    return v;
}

int64_t StrToInt64(std::string_view s)
{
    int64_t v;
    if (!TryStrToInt64(s, v)) throw EConvertError(NotInteger(s));
    return v;
}

int32_t StrToIntDef(std::string_view s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(std::string_view s, int64_t def)
{
    int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}

// Scans a decimal float from s[i...]; returns the index after it, or npos
// when no number starts there.  Only the C syntax subset "[+-]d*[.d*][e[+-]d+]"
// with at least one digit is accepted.
static std::size_t ScanFloat(std::string_view s, std::size_t i)
{
    std::size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t digits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') { ++j; ++digits; }
    if (j < s.size() && s[j] == '.') {
        ++j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') { ++j; ++digits; }
    }
    if (digits == 0) return std::string_view::npos;
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        std::size_t ed = 0;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9') { ++k; ++ed; }
        if (ed == 0) return std::string_view::npos;  // "1e" is not a number
        j = k;
    }
    return j;
}

static long double ParseScanned(std::string_view s)
{
    std::string tmp(s);
    // strtold honours LC_NUMERIC; our texts never contain anything but ".",
    // and the program keeps LC_NUMERIC at "C".
    return std::strtold(tmp.c_str(), nullptr);
}

bool TryStrToFloat(std::string_view s, long double& value)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    std::string_view t = s.substr(b, e - b);
    if (t.empty()) return false;
    std::size_t end = ScanFloat(t, 0);
    if (end != t.size()) return false;
    value = ParseScanned(t);
    return true;
}

bool TryStrToFloat(std::string_view s, double& value)
{
    long double v;
    if (!TryStrToFloat(s, v)) return false;
    value = static_cast<double>(v);
    return true;
}

long double StrToFloat(std::string_view s)
{
    long double v;
    if (!TryStrToFloat(s, v))
        throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
    return v;
}

long double StrToFloatDef(std::string_view s, long double def)
{
    long double v;
    return TryStrToFloat(s, v) ? v : def;
}

void Val(std::string_view s, long double& value, int& code)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    std::size_t end = ScanFloat(s, i);
    if (end == std::string_view::npos) {
        value = 0;
        // Point at the first character that cannot continue a number.
        std::size_t j = i;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && s[j] == '.') ++j;
        code = static_cast<int>(std::min(j, s.size())) + 1;
        return;
    }
    value = ParseScanned(s.substr(i, end - i));
    code = end == s.size() ? 0 : static_cast<int>(end) + 1;
}

void Val(std::string_view s, int32_t& value, int& code)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    std::size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t d = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j == d) {
        value = 0;
        code = static_cast<int>(j) + 1;
        return;
    }
    int64_t v = 0;
    if (!TryStrToInt64(s.substr(i, j - i), v) || v < INT32_MIN || v > INT32_MAX) {
        value = 0;
        code = static_cast<int>(j);
        return;
    }
    value = static_cast<int32_t>(v);
    code = j == s.size() ? 0 : static_cast<int>(j) + 1;
}

int64_t Round(long double value)
{
    // Ties to even, as the original platform's Round (banker's rounding).
    long double r = std::nearbyintl(value);  // default rounding mode: nearest-even
    return static_cast<int64_t>(r);
}

int64_t Trunc(long double value) { return static_cast<int64_t>(value); }

} // namespace rtl
