// Value texts of the XML library.
#include "xml/XmlDomTexts.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace xml {

const TXmlEntity cXmlEntities[5] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'\'', "&apos;"}, {'"', "&quot;"}};

std::string_view TrimXmlBlanks(std::string_view AText)
{
    size_t b = 0, e = AText.size();
    while (b < e && IsXmlBlank(AText[b])) ++b;
    while (e > b && IsXmlBlank(AText[e - 1])) --e;
    return AText.substr(b, e - b);
}

// --- escaping ------------------------------------------------------------

std::string EscapeString(std::string_view AValue)
{
    // One pass gives what the five successive passes would: none of the
    // inserted references holds a character that a later pass replaces.
    std::string r;
    r.reserve(AValue.size() + 8);
    for (char c : AValue) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '\'': r += "&apos;"; break;
        case '"': r += "&quot;"; break;
        case '\0': r += "&#0;"; break;  // a raw NUL would end the file when read
        default: r += c;
        }
    }
    return r;
}

// Unpaired surrogates are kept: text read from 16-bit sources converts back
// unchanged.
static void AppendCodePoint(std::string& out, uint32_t cp)
{
    rtl::AppendUTF8AllowSurrogates(out, static_cast<char32_t>(cp));
}

// The value of a numeric reference's digits ("65", "x41"), or -1.
static long NumericReference(std::string_view digits)
{
    int base = 10;
    if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 8) return -1;
    long v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return -1;
        v = v * base + d;
    }
    return v;
}

std::string UnescapeString(std::string_view AValue)
{
    std::string r;
    r.reserve(AValue.size());
    size_t i = 0;
    const size_t n = AValue.size();
    while (i < n) {
        size_t amp = AValue.find('&', i);
        if (amp == std::string_view::npos) {
            r.append(AValue.substr(i));
            break;
        }
        r.append(AValue.substr(i, amp - i));
        size_t semi = AValue.find(';', amp);
        if (semi == std::string_view::npos) {
            r.append(AValue.substr(amp));
            break;
        }
        std::string_view ref = AValue.substr(amp, semi - amp + 1);
        bool done = false;
        if (ref.size() > 2 && ref[1] == '#') {
            long v = NumericReference(ref.substr(2, ref.size() - 3));
            // Characters of the basic plane up to U+FFFE, and those beyond
            // it, which the four-byte sequences carry.
            if ((v >= 0 && v <= 65534) || (v >= 0x10000 && v <= 0x10FFFF)) {
                AppendCodePoint(r, static_cast<uint32_t>(v));
                done = true;
            }
        } else {
            for (const auto& e : cXmlEntities) {
                if (ref == e.Ref) {
                    r += e.Ch;
                    done = true;
                    break;
                }
            }
        }
        if (!done) r.append(ref);
        i = semi + 1;
    }
    return r;
}

std::string QuoteString(std::string_view AValue)
{
    char q = AValue.find('"') != std::string_view::npos ? '\'' : '"';
    std::string r;
    r.reserve(AValue.size() + 2);
    r += q;
    for (char c : AValue) {
        r += c;
        if (c == q) r += c;
    }
    r += q;
    return r;
}

std::string UnquoteString(std::string_view AValue)
{
    if (AValue.size() < 2 || (AValue[0] != '"' && AValue[0] != '\'')) return std::string(AValue);
    char q = AValue[0];
    std::string r;
    for (size_t i = 1; i < AValue.size(); ++i) {
        char c = AValue[i];
        if (c == q) {
            if (i + 1 < AValue.size() && AValue[i + 1] == q) {
                r += q;
                ++i;
            } else {
                break;
            }
        } else {
            r += c;
        }
    }
    return r;
}

// --- numbers -------------------------------------------------------------

std::string FloatToXmlText(double AValue, int ASignificantDigits, bool AAllowScientific)
{
    if (ASignificantDigits < 1 || ASignificantDigits > 12)
        throw rtl::Exception("Significant digits out of range");
    if (std::isnan(AValue)) return "NAN";
    if (std::isinf(AValue)) return AValue < 0 ? "-INF" : "INF";
    if (AValue == 0) return "0";

    std::string sign;
    if (AValue < 0) {
        sign = "-";
        AValue = -AValue;
    }
    static const int64_t cPowers[13] = {1LL, 10LL, 100LL, 1000LL, 10000LL, 100000LL,
                                         1000000LL, 10000000LL, 100000000LL, 1000000000LL,
                                         10000000000LL, 100000000000LL, 1000000000000LL};
    const int64_t limit = cPowers[ASignificantDigits];
    const int64_t low = cPowers[ASignificantDigits - 1];
    int exponent = ASignificantDigits;
    volatile double v = AValue;  // every product rounded to double
    while (v < static_cast<double>(low)) {
        v = v * 10;
        --exponent;
    }
    while (v >= static_cast<double>(limit)) {
        v = v * 0.1;
        ++exponent;
    }
    int64_t n = static_cast<int64_t>(std::nearbyint(v));  // ties to even
    if (n == limit) {
        n /= 10;
        ++exponent;
    }
    int d = ASignificantDigits;
    while (n % 10 == 0 && d > exponent) {
        n /= 10;
        --d;
    }
    int scientific = 0;
    if (AAllowScientific && (exponent < -1 || exponent > d + 2)) {
        scientific = exponent - 1;
        exponent = 1;
    }
    std::string s = std::to_string(n);
    while (d < exponent) {
        s += '0';
        ++d;
    }
    while (exponent < 0) {
        s.insert(s.begin(), '0');
        ++exponent;
    }
    if (exponent == 0) s.insert(s.begin(), '.');
    else if (exponent < d) s.insert(static_cast<size_t>(exponent), 1, '.');
    std::string r = sign + s;
    if (scientific != 0) r += "E" + std::to_string(scientific);
    return r;
}

bool XmlTextToFloat(std::string_view AText, double& AValue)
{
    std::string t(AText);
    for (char& c : t)
        if (c == ',') c = '.';
    size_t i = 0;
    const size_t n = t.size();
    while (i < n && t[i] == ' ') ++i;
    std::string num;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') num += '-';
        ++i;
    }
    size_t digits = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') num += t[i++], ++digits;
    if (i < n && t[i] == '.') {
        num += t[i++];
        while (i < n && t[i] >= '0' && t[i] <= '9') num += t[i++], ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        num += 'e';
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) num += t[i++];
        size_t ed = 0;
        while (i < n && t[i] >= '0' && t[i] <= '9') num += t[i++], ++ed;
        if (ed == 0) return false;
    }
    if (i != n) return false;
    double v = 0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), v);
    if (res.ec != std::errc() || res.ptr != num.data() + num.size()) return false;
    AValue = v;
    return true;
}

static bool ParseInt(std::string_view s, bool wide, int64_t& out)
{
    size_t i = 0;
    const size_t n = s.size();
    while (i < n && s[i] == ' ') ++i;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i < n && (s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    uint64_t v = 0;
    if (hex) {
        size_t start = i;
        for (; i < n; ++i) {
            char c = s[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return false;
            v = v * 16 + static_cast<uint64_t>(d);
            if (i - start >= (wide ? 16u : 8u)) return false;
        }
        // Hexadecimal texts wrap into the signed range, as colours with
        // the top bit set are written.
        int64_t sv = wide ? static_cast<int64_t>(v)
                          : static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v)));
        out = neg ? -sv : sv;
        return true;
    }
    const uint64_t maxPos = wide ? 9223372036854775807ULL : 2147483647ULL;
    for (; i < n; ++i) {
        char c = s[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
        if (v > maxPos + 1) return false;
    }
    if (!neg && v > maxPos) return false;
    out = neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    return true;
}

bool XmlTryStrToInt(std::string_view AText, int32_t& AValue)
{
    int64_t v;
    if (!ParseInt(AText, false, v)) return false;
    AValue = static_cast<int32_t>(v);
    return true;
}

bool XmlTryStrToInt64(std::string_view AText, int64_t& AValue)
{
    return ParseInt(AText, true, AValue);
}

[[noreturn]] static void RaiseIntError(std::string_view AText)
{
    throw rtl::EConvertError("'" + std::string(AText) + "' is not a valid integer value");
}

int32_t XmlStrToInt(std::string_view AText)
{
    int32_t v;
    if (!XmlTryStrToInt(AText, v)) RaiseIntError(AText);
    return v;
}

int64_t XmlStrToInt64(std::string_view AText)
{
    int64_t v;
    if (!XmlTryStrToInt64(AText, v)) RaiseIntError(AText);
    return v;
}

// --- date-times and Booleans ----------------------------------------------

std::string DateTimeToXmlText(rtl::TDateTime AValue)
{
    int y, mo, d, h, mi, s, ms;
    rtl::DecodeDate(AValue, y, mo, d);
    char buf[64];
    if (AValue != std::trunc(AValue)) {
        rtl::DecodeTime(AValue, h, mi, s, ms);
        std::snprintf(buf, sizeof buf, "%.4d-%.2d-%.2dT%.2d:%.2d:%.2d.%.3dZ", y, mo, d, h, mi, s, ms);
    } else {
        std::snprintf(buf, sizeof buf, "%.4d-%.2d-%.2d", y, mo, d);
    }
    return buf;
}

// Characters APos .. APos + ACount - 1 (1-based), clipped to the text.
static std::string_view Part(std::string_view s, size_t APos, size_t ACount)
{
    if (APos - 1 >= s.size()) return {};
    return s.substr(APos - 1, ACount);
}

rtl::TDateTime XmlTextToDateTime(std::string_view AText)
{
    int y = XmlStrToInt(Part(AText, 1, 4));
    int mo = XmlStrToInt(Part(AText, 6, 2));
    int d = XmlStrToInt(Part(AText, 9, 2));
    int h = 0, mi = 0, s = 0, ms = 0;
    if (AText.size() > 16) {
        h = XmlStrToInt(Part(AText, 12, 2));
        mi = XmlStrToInt(Part(AText, 15, 2));
        if (!XmlTryStrToInt(Part(AText, 18, 2), s)) s = 0;
        if (!XmlTryStrToInt(Part(AText, 21, 3), ms)) ms = 0;
    }
    rtl::TDateTime date = rtl::EncodeDate(y, mo, d);
    rtl::TDateTime time = rtl::EncodeTime(h, mi, s, ms);
    return date >= 0 ? date + time : date - time;
}

rtl::TDateTime XmlTextToDateTime(std::string_view AText, rtl::TDateTime ADefault)
{
    try {
        return XmlTextToDateTime(AText);
    } catch (const std::exception&) {
        return ADefault;
    }
}

bool TextToBool(std::string_view AText)
{
    if (!AText.empty()) {
        switch (AText[0]) {
        case '0': case 'F': case 'f': case 'N': case 'n': return false;
        case '1': case 'T': case 't': case 'Y': case 'y': return true;
        default: break;
        }
    }
    throw rtl::Exception("Cannot convert value to bool");
}

std::string BoolToText(bool AValue)
{
    return AValue ? "true" : "false";
}

// --- binary data -----------------------------------------------------------

static const char cBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(const void* ABuffer, int ACount)
{
    const auto* p = static_cast<const uint8_t*>(ABuffer);
    std::string r;
    if (ACount <= 0) return r;
    r.reserve((static_cast<size_t>(ACount) + 2) / 3 * 4);
    int i = 0;
    for (; i + 2 < ACount; i += 3) {
        uint32_t v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
        r += cBase64[v >> 18];
        r += cBase64[(v >> 12) & 63];
        r += cBase64[(v >> 6) & 63];
        r += cBase64[v & 63];
    }
    if (ACount - i == 1) {
        uint32_t v = p[i] << 16;
        r += cBase64[v >> 18];
        r += cBase64[(v >> 12) & 63];
        r += "==";
    } else if (ACount - i == 2) {
        uint32_t v = (p[i] << 16) | (p[i + 1] << 8);
        r += cBase64[v >> 18];
        r += cBase64[(v >> 12) & 63];
        r += cBase64[(v >> 6) & 63];
        r += '=';
    }
    return r;
}

static uint32_t Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0' + 52);
    if (c == '+') return 62;
    if (c == '/') return 63;
    return 0;  // padding and strays count as 0
}

void DecodeBase64(std::string_view ASource, void* ABuffer, int ACount)
{
    if (ACount <= 0) return;
    if (static_cast<int64_t>(ASource.size() / 4) * 3 < ACount)
        throw rtl::EFilerError("Missing data in binary stream");
    auto* p = static_cast<uint8_t*>(ABuffer);
    int o = 0;
    for (size_t i = 0; i + 3 < ASource.size() && o < ACount; i += 4) {
        uint32_t v = (Base64Value(ASource[i]) << 18) | (Base64Value(ASource[i + 1]) << 12) |
                     (Base64Value(ASource[i + 2]) << 6) | Base64Value(ASource[i + 3]);
        for (int k = 0; k < 3 && o < ACount; ++k) p[o++] = static_cast<uint8_t>(v >> (16 - 8 * k));
    }
}

std::string BufferToHex(const void* ABuffer, int ACount)
{
    static const char cHex[] = "0123456789ABCDEF";
    const auto* p = static_cast<const uint8_t*>(ABuffer);
    std::string r;
    if (ACount <= 0) return r;
    r.reserve(static_cast<size_t>(ACount) * 2);
    for (int i = 0; i < ACount; ++i) {
        r += cHex[p[i] >> 4];
        r += cHex[p[i] & 15];
    }
    return r;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void HexToBuffer(std::string_view ASource, void* ABuffer, int ACount)
{
    if (ACount <= 0) return;
    if (static_cast<int64_t>(ASource.size() / 2) < ACount)
        throw rtl::EFilerError("Missing data in binary stream");
    auto* p = static_cast<uint8_t*>(ABuffer);
    for (int i = 0; i < ACount; ++i) {
        int hi = HexDigit(ASource[2 * i]), lo = HexDigit(ASource[2 * i + 1]);
        if (hi < 0 || lo < 0) break;
        p[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
}

std::string AddControlChars(std::string_view AText, std::string_view AChars, int AInterval)
{
    if (AChars.empty() || AInterval < 1) return std::string(AText);
    std::string r;
    r.reserve(AText.size() + (AText.size() / static_cast<size_t>(AInterval) + 2) * AChars.size());
    for (size_t i = 0; i < AText.size(); ++i) {
        if (i % static_cast<size_t>(AInterval) == 0) r.append(AChars);
        r += AText[i];
    }
    r.append(AChars);
    return r;
}

std::string RemoveControlChars(std::string_view AText)
{
    std::string r;
    r.reserve(AText.size());
    for (char c : AText)
        if (!IsXmlBlank(c)) r += c;
    return r;
}

// --- UTF-8, UTF-16 and the code page ----------------------------------------

std::string WideToUtf8(std::u16string_view AText)
{
    std::string r;
    r.reserve(AText.size());
    for (size_t i = 0; i < AText.size(); ++i) {
        uint32_t u = AText[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < AText.size() && AText[i + 1] >= 0xDC00 &&
            AText[i + 1] <= 0xDFFF) {
            uint32_t cp = 0x10000 + ((u - 0xD800) << 10) + (AText[i + 1] - 0xDC00);
            AppendCodePoint(r, cp);
            ++i;
        } else {
            AppendCodePoint(r, u);
        }
    }
    return r;
}

std::u16string Utf8ToWide(std::string_view AText)
{
    std::u16string r;
    r.reserve(AText.size());
    const size_t n = AText.size();
    for (size_t i = 0; i < n;) {
        uint8_t b = static_cast<uint8_t>(AText[i]);
        if (b < 0x80) {
            r += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        int extra = (b & 0xF8) == 0xF0 ? 3 : (b & 0x20) ? 2 : 1;
        if (i + static_cast<size_t>(extra) >= n) return {};
        uint32_t cp = extra == 3 ? (b & 0x07u) : extra == 2 ? (b & 0x0Fu) : (b & 0x1Fu);
        for (int k = 1; k <= extra; ++k) {
            uint8_t c = static_cast<uint8_t>(AText[i + static_cast<size_t>(k)]);
            if (c < 0x80 || c > 0xBF) return {};
            cp = (cp << 6) | (c & 0x3Fu);
        }
        i += static_cast<size_t>(extra) + 1;
        if (cp >= 0x10000) {
            if (cp > 0x10FFFF) return {};
            cp -= 0x10000;
            r += static_cast<char16_t>(0xD800 + (cp >> 10));
            r += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            r += static_cast<char16_t>(cp);
        }
    }
    return r;
}

// Windows-1252 positions 0x80..0x9F; the rest equals Latin-1.
static const char16_t cCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string CodePageToUtf8(std::string_view AText)
{
    std::string r;
    r.reserve(AText.size());
    for (char ch : AText) {
        uint8_t b = static_cast<uint8_t>(ch);
        uint32_t cp = (b >= 0x80 && b < 0xA0) ? cCp1252High[b - 0x80] : b;
        AppendCodePoint(r, cp);
    }
    return r;
}

std::string Utf8ToCodePage(std::string_view AText)
{
    std::u16string w = Utf8ToWide(AText);
    std::string r;
    r.reserve(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        char16_t u = w[i];
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            r += static_cast<char>(u);
            continue;
        }
        char out = '?';
        for (int k = 0; k < 32; ++k)
            if (cCp1252High[k] == u) {
                out = static_cast<char>(0x80 + k);
                break;
            }
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF)
            ++i;  // one "?" for the whole pair
        r += out;
    }
    return r;
}

std::string ReplaceString(std::string_view AText, std::string_view AOld, std::string_view ANew)
{
    if (AOld.empty()) return std::string(AText);
    std::string r;
    size_t i = 0;
    for (;;) {
        size_t p = AText.find(AOld, i);
        if (p == std::string_view::npos) break;
        r.append(AText.substr(i, p - i));
        r.append(ANew);
        i = p + AOld.size();
    }
    r.append(AText.substr(i));
    return r;
}

} // namespace xml
