// Float to text conversions: FloatToStr, FloatToStrF and FormatFloat.
// All work from the decimal digits of the value rounded to the requested
// number of significant digits, so that the texts are the same on every
// machine, and all use "." as the decimal point.
#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace rtl {

namespace {

// The value as decimal digits: value = 0.D1D2D3... x 10^exponent, with
// `precision` significant digits (at most 18, the worth of an extended),
// trailing zeros kept.  Zero gives "0" digits and exponent 0.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    bool special = false;  // infinity or NaN: text in digits
};

// Rounds a digit string to `keep` digits, half away from zero; a carry out
// of the first digit raises the exponent.  keep <= 0 rounds to "" or "1".
std::string RoundDigits(const std::string& digits, int keep, int& exponent)
{
    if (keep >= static_cast<int>(digits.size())) return digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
    bool up = keep >= 0 && digits[static_cast<std::size_t>(keep)] >= '5';
    std::string r = keep > 0 ? digits.substr(0, static_cast<std::size_t>(keep)) : std::string();
    if (up) {
        int k = static_cast<int>(r.size()) - 1;
        while (k >= 0 && r[static_cast<std::size_t>(k)] == '9') r[static_cast<std::size_t>(k--)] = '0';
        if (k >= 0) {
            ++r[static_cast<std::size_t>(k)];
        } else {
            r.insert(0, "1");
            ++exponent;
            if (keep > 0) r.pop_back();
        }
    }
    return r;
}

Decimal ToDecimal(long double value, int precision)
{
    Decimal d;
    if (std::isnan(value)) { d.special = true; d.digits = "NAN"; return d; }
    if (std::isinf(value)) {
        d.special = true;
        d.digits = value < 0 ? "-INF" : "INF";
        return d;
    }
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    d.negative = std::signbit(value) && value != 0;
    if (value == 0) {
        d.digits = std::string(static_cast<std::size_t>(precision), '0');
        d.exponent = 0;
        return d;
    }
    // Enough digits to see the exact binary value's decimal expansion near
    // the rounding place, then round half away from zero on the digits, as
    // number texts conventionally do (1.25 -> "1.3" at one decimal).
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.39Le", std::fabs(value));
    std::string s(buf);
    auto e = s.find('e');
    int exp10 = std::atoi(s.c_str() + e + 1);
    std::string all;
    for (std::size_t k = 0; k < e; ++k)
        if (s[k] != '.') all += s[k];
    d.exponent = exp10 + 1;
    d.digits = RoundDigits(all, precision, d.exponent);
    return d;
}

void StripTrailingZeros(std::string& digits)
{
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

std::string GroupThousands(const std::string& intPart)
{
    std::string r;
    int n = static_cast<int>(intPart.size());
    for (int i = 0; i < n; ++i) {
        r += intPart[static_cast<std::size_t>(i)];
        int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) r += FormatSettings().ThousandSeparator;
    }
    return r;
}

std::string ExponentText(int exp, int minDigits, bool plusSign)
{
    std::string r = "E";
    if (exp < 0) r += '-';
    else if (plusSign) r += '+';
    std::string num = std::to_string(std::abs(exp));
    if (static_cast<int>(num.size()) < minDigits) num.insert(0, static_cast<std::size_t>(minDigits) - num.size(), '0');
    return r + num;
}

// Fixed notation with `decimals` decimals of a value already rounded to its
// significant digits.
std::string FixedText(long double value, int precision, int decimals, bool group)
{
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    Decimal d = ToDecimal(value, precision);
    if (d.special) return d.digits;
    std::string digits = d.digits;
    int exp = d.exponent;
    if (digits.find_first_not_of('0') == std::string::npos) {
        digits = "0";
        exp = 1;
    }
    // Keep the digits up to `decimals` after the point, rounding the rest.
    int keep = exp + decimals;
    if (keep < 0) {
        digits.clear();
    } else {
        int e2 = exp;
        digits = RoundDigits(digits, keep, e2);
        if (e2 != exp) {
            // The carry made one more integer digit.
            exp = e2;
            if (static_cast<int>(digits.size()) < exp + decimals) digits += '0';
        }
    }
    std::string intPart, frac;
    for (int k = 0; k < exp; ++k)
        intPart += k < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(k)] : '0';
    if (intPart.empty()) intPart = "0";
    for (int k = exp; k < exp + decimals; ++k)
        frac += (k >= 0 && k < static_cast<int>(digits.size())) ? digits[static_cast<std::size_t>(k)] : '0';
    bool allZero = (intPart + frac).find_first_not_of('0') == std::string::npos;
    std::string r;
    if (d.negative && !allZero) r += '-';
    r += group ? GroupThousands(intPart) : intPart;
    if (decimals > 0) r += "." + frac;
    return r;
}

std::string ExponentNotation(const Decimal& d, int digits, bool plusSign, bool strip)
{
    std::string dg = d.digits;
    if (strip) StripTrailingZeros(dg);
    std::string r = d.negative ? "-" : "";
    r += dg[0];
    if (dg.size() > 1) r += "." + dg.substr(1);
    int exp = dg == std::string(dg.size(), '0') ? 0 : d.exponent - 1;
    return r + ExponentText(exp, digits, plusSign);
}

} // namespace

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits)
{
    if (precision > 18) precision = 18;
    if (precision < 1) precision = 1;
    switch (format) {
    case TFloatFormat::ffGeneral: {
        Decimal d = ToDecimal(value, precision);
        if (d.special) return d.digits;
        StripTrailingZeros(d.digits);
        if (d.digits == "0") return "0";
        if (d.exponent > precision || d.exponent < -3)
            return ExponentNotation(d, digits, false, true);
        std::string r = d.negative ? "-" : "";
        if (d.exponent <= 0) {
            r += "0." + std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
        } else if (static_cast<int>(d.digits.size()) <= d.exponent) {
            r += d.digits + std::string(static_cast<std::size_t>(d.exponent) - d.digits.size(), '0');
        } else {
            r += d.digits.substr(0, static_cast<std::size_t>(d.exponent)) + "." +
                 d.digits.substr(static_cast<std::size_t>(d.exponent));
        }
        return r;
    }
    case TFloatFormat::ffExponent: {
        Decimal d = ToDecimal(value, precision);
        if (d.special) return d.digits;
        return ExponentNotation(d, digits, true, false);
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        Decimal d = ToDecimal(value, precision);
        if (d.special) return d.digits;
        if (d.exponent > precision && value != 0)
            return ExponentNotation(d, 0, false, true);
        return FixedText(value, precision, digits, format != TFloatFormat::ffFixed);
    }
    }
    return {};
}

std::string FloatToStr(long double value)
{
    return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0);
}

// FormatFloat: one section of the picture applied to |value|.
static std::string ApplyPicture(const std::string& pic, long double value)
{
    // Analyse the picture: digit placeholders before and after the point,
    // thousands flag, exponent part; literals are kept in place.
    int intZeros = 0, intHashes = 0, fracZeros = 0, fracHashes = 0;
    bool seenPoint = false, thousands = false, sci = false, sciPlus = false;
    int expDigits = 0;
    std::size_t firstDigit = std::string::npos, lastDigit = 0;
    for (std::size_t i = 0; i < pic.size(); ++i) {
        char c = pic[i];
        if (c == '"' || c == '\'') {
            std::size_t j = pic.find(c, i + 1);
            i = j == std::string::npos ? pic.size() : j;
            continue;
        }
        if (sci) continue;
        if (c == '0' || c == '#') {
            if (firstDigit == std::string::npos) firstDigit = i;
            lastDigit = i;
            if (seenPoint) (c == '0' ? fracZeros : fracHashes)++;
            else (c == '0' ? intZeros : intHashes)++;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            if (firstDigit == std::string::npos) firstDigit = i;
            lastDigit = i;
        } else if (c == ',') {
            thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < pic.size() && (pic[i + 1] == '+' || pic[i + 1] == '-')) {
            sci = true;
            sciPlus = pic[i + 1] == '+';
            std::size_t j = i + 2;
            while (j < pic.size() && pic[j] == '0') { ++expDigits; ++j; }
        }
    }
    const int decimals = fracZeros + fracHashes;
    std::string number;
    if (firstDigit == std::string::npos) {
        // No placeholders: the picture is all literal.
    } else if (sci) {
        int intDigits = std::max(1, intZeros + intHashes);
        Decimal d = ToDecimal(value, std::min(18, intDigits + decimals));
        int exp = value == 0 ? 0 : d.exponent - intDigits;
        std::string ip = d.digits.substr(0, static_cast<std::size_t>(intDigits));
        std::string fp = d.digits.substr(static_cast<std::size_t>(intDigits));
        while (static_cast<int>(fp.size()) > fracZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
        number = ip + (fp.empty() ? "" : "." + fp);
        std::string en = std::to_string(std::abs(exp));
        if (static_cast<int>(en.size()) < expDigits) en.insert(0, static_cast<std::size_t>(expDigits) - en.size(), '0');
        number += std::string("E") + (exp < 0 ? "-" : (sciPlus ? "+" : "")) + en;
    } else {
        std::string fixed = FixedText(value, 18, decimals, false);
        std::string ip = fixed.substr(0, fixed.find('.'));
        std::string fp = fixed.find('.') == std::string::npos ? "" : fixed.substr(fixed.find('.') + 1);
        while (static_cast<int>(fp.size()) > fracZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
        if (ip == "0" && intZeros == 0) ip.clear();
        while (static_cast<int>(ip.size()) < intZeros) ip.insert(0, "0");
        if (thousands) ip = GroupThousands(ip);
        number = ip + (fp.empty() ? "" : "." + fp);
        if (number.empty()) number = "0";
        if (number[0] == '.') number.insert(0, "0");
    }
    // Put the literal text of the picture around the number.
    std::string r;
    bool placed = false;
    for (std::size_t i = 0; i < pic.size(); ++i) {
        char c = pic[i];
        if (c == '"' || c == '\'') {
            std::size_t j = pic.find(c, i + 1);
            if (j == std::string::npos) j = pic.size();
            r += pic.substr(i + 1, j - i - 1);
            i = j;
            continue;
        }
        if (i >= firstDigit && i <= lastDigit) {
            if (!placed) {
                r += number;
                placed = true;
            }
            continue;
        }
        if (c == ',') continue;
        if (sci && (c == 'E' || c == 'e')) {
            std::size_t j = i + 2;
            while (j < pic.size() && pic[j] == '0') ++j;
            i = j - 1;
            continue;
        }
        r += c;
    }
    return r;
}

std::string FormatFloat(std::string_view picture, long double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    std::vector<std::string> sections;
    std::string cur;
    char quote = 0;
    for (char c : picture) {
        if (quote) {
            if (c == quote) quote = 0;
            cur += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            cur += c;
        } else if (c == ';') {
            sections.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    sections.push_back(cur);
    if (picture.empty()) return FloatToStr(value);
    if (value == 0 && sections.size() >= 3 && !sections[2].empty())
        return ApplyPicture(sections[2], 0);
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        return ApplyPicture(sections[1], -value);
    std::string r = ApplyPicture(sections[0], std::fabs(value));
    // A negative value that shows as zero has no minus sign.
    bool nonZero = false;
    for (char c : r)
        if (c >= '1' && c <= '9') nonZero = true;
    if (value < 0 && nonZero) {
        r.insert(0, "-");
    }
    return r;
}

} // namespace rtl
