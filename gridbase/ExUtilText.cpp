// ExUtil: search, quoting, line-break encodings, prefixed wide text, cell
// text classification and anchors.
#include <algorithm>

#include "gridbase/ExUtil.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

std::string Utf8Of(char32_t c)
{
    std::string s;
    rtl::AppendUTF8(s, c);
    return s;
}

bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

std::string ReplaceChars(std::string_view text, char from, std::string_view to)
{
    std::string r;
    r.reserve(text.size());
    for (char c : text) {
        if (c == from) r.append(to);
        else r += c;
    }
    return r;
}

} // namespace

// --- search and small numeric routines -------------------------------------

int FindCharIndex(char32_t c, std::string_view text) { return rtl::Pos(Utf8Of(c), text); }

int FindCharIndexOut(char32_t c, std::string_view text, int& pos)
{
    int p = FindCharIndex(c, text);
    if (p > 0) pos = p;
    return p;
}

int FindSubstrOut(std::string_view pattern, std::string_view text, int& pos)
{
    pos = rtl::Pos(pattern, text);
    return pos;
}

int PosInUpperCase(std::string_view pattern, std::string_view text)
{
    return rtl::Pos(pattern, rtl::UpperCase(text));
}

int PosInWideText(std::string_view pattern, std::string_view text)
{
    if (pattern.empty() || text.empty() || pattern.size() > text.size()) return 0;
    return rtl::Pos(pattern, text);
}

int CountCharOccurrences(char32_t c, std::string_view text)
{
    const std::string needle = Utf8Of(c);
    int n = 0;
    for (size_t p = text.find(needle); p != std::string_view::npos; p = text.find(needle, p + needle.size())) ++n;
    return n;
}

bool CellInGridRect(const gui::TGridRect& r, int col, int row)
{
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

int32_t LargerOf(int32_t a, int32_t b) { return a > b ? a : b; }
int32_t SmallerOf(int32_t a, int32_t b) { return a < b ? a : b; }

int32_t ClampToLimits(int32_t value, int32_t low, int32_t high)
{
    if (low == high) return value;
    if (high > 0 && value > high) return high;
    if (low > 0 && value < low) return low;
    return value;
}

TColor HalveColor(TColor color)
{
    TColor c = gui::ColorToRGB(color);
    uint32_t r = (c & 0xFF) >> 1, g = ((c >> 8) & 0xFF) >> 1, b = ((c >> 16) & 0xFF) >> 1;
    return r | g << 8 | b << 16;
}

std::string ColorToHtmlHex(TColor color)
{
    return rtl::IntToHex(color & 0xFF, 2) + rtl::IntToHex((color >> 8) & 0xFF, 2) +
           rtl::IntToHex((color >> 16) & 0xFF, 2);
}

// --- quotes ------------------------------------------------------------------

std::string DoubleQuoteMarks(std::string_view text) { return ReplaceChars(text, '"', "\"\""); }

std::string UnescapeQuoteChar(char quote, std::string_view text)
{
    if (!Contains(text, quote)) return std::string(text);
    std::string r;
    r.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != quote) {
            r += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == quote) {
            r += quote;
            ++i;
        }
    }
    return r;
}

int FindClosingQuote(char quote, std::string_view text, int& pos)
{
    pos = 0;
    int run = 0;
    const int n = static_cast<int>(text.size());
    for (int i = 1; i <= n; ++i) {
        if (text[static_cast<size_t>(i - 1)] == quote) {
            if (i == n) {
                pos = i;
                break;
            }
            ++run;
        } else if (run % 2 == 1) {
            pos = i - 1;
            break;
        } else {
            run = 0;
        }
    }
    return pos;
}

int FindClosingQuote(char quote, std::string_view text)
{
    int pos = 0;
    return FindClosingQuote(quote, text, pos);
}

int CountClosingQuotes(char quote, std::string_view text)
{
    int count = 0;
    for (int p = FindClosingQuote(quote, text); p > 0; p = FindClosingQuote(quote, text)) {
        ++count;
        text.remove_prefix(static_cast<size_t>(p));
    }
    return count;
}

// --- line breaks -------------------------------------------------------------

void QuoteWithVTBreaks(std::string& text)
{
    text = '"' + rtl::StringReplace(text, "\r\n", "\v") + '"';
}

void VTToCRLF(std::string& text)
{
    if (Contains(text, '\v')) text = ReplaceChars(text, '\v', "\r\n");
}

void CRLFToLF(std::string& text) { text = rtl::StringReplace(text, "\r\n", "\n"); }

void CRToTilde(std::string& text)
{
    std::string r;
    r.reserve(text.size());
    for (char c : text) {
        if (c == '\r') r += '~';
        else if (c != '\n') r += c;
    }
    text = std::move(r);
}

void TildeToCRLF(std::string& text)
{
    text = ReplaceChars(text, '~', "\r\n");
    if (text == "^") text.clear();
}

std::string EncodeCellLineBreaks(std::string_view text)
{
    const bool cr = Contains(text, '\r');
    const bool escaped = Contains(text, '\t') || Contains(text, '\b') || (cr && Contains(text, '\x01'));
    if (!escaped && !cr) return std::string(text);
    std::string r;
    r.reserve(text.size() + 8);
    if (!escaped) {
        for (char c : text) {
            switch (c) {
            case '\r': r += '\t'; break;
            case '\n': r += '\b'; break;
            case '\0': r += '\x01'; break;
            default: r += c;
            }
        }
        return r;
    }
    for (char c : text) {
        switch (c) {
        case '\r': r += "\br"; break;
        case '\n': r += "\bn"; break;
        case '\0': r += std::string_view("\b0", 2); break;
        case '\t': r += "\bt"; break;
        case '\b': r += "\bb"; break;
        default: r += c;
        }
    }
    return r;
}

std::string DecodeCellLineBreaks(std::string_view text, bool multiLine)
{
    std::string r;
    if (Contains(text, '\t')) {
        r.reserve(text.size());
        for (char c : text) {
            switch (c) {
            case '\t': r += '\r'; break;
            case '\b': r += '\n'; break;
            case '\x01': r += '\0'; break;
            default: r += c;
            }
        }
    } else if (Contains(text, '\b')) {
        r.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            char decoded = 0;
            bool known = false;
            if (c == '\b' && i + 1 < text.size()) {
                known = true;
                switch (text[i + 1]) {
                case 'r': decoded = '\r'; break;
                case 'n': decoded = '\n'; break;
                case '0': decoded = '\0'; break;
                case 't': decoded = '\t'; break;
                case 'b': decoded = '\b'; break;
                default: known = false;
                }
            }
            if (known) {
                r += decoded;
                ++i;
            } else {
                r += c;
            }
        }
    } else {
        r.assign(text);
    }
    if (!multiLine) return CutFirstLine(r, false);
    return r;
}

std::string CutFirstLine(std::string& text, bool keepRest)
{
    size_t p = text.find('\r');
    if (p == std::string::npos) {
        std::string line = std::move(text);
        text.clear();
        return line;
    }
    std::string line = text.substr(0, p);
    size_t rest = p + 1;
    if (rest < text.size() && text[rest] == '\n') ++rest;
    if (keepRest) text.erase(0, rest);
    else text.clear();
    return line;
}

int CountTextLines(std::string_view text, bool multiLine)
{
    if (!multiLine) return 1;
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

std::string EscapedNewlinesToCR(std::string_view text) { return rtl::StringReplace(text, "\\n", "\r"); }

std::string CRToEscapedNewlines(std::string_view text)
{
    std::string r;
    r.reserve(text.size());
    for (char c : text) {
        if (c == '\r') r += "\\n";
        else if (c != '\n') r += c;
    }
    return r;
}

std::string RemoveCRChars(std::string_view text)
{
    std::string r(text);
    r.erase(std::remove(r.begin(), r.end(), '\r'), r.end());
    return r;
}

std::string StripCRChars(std::string_view text) { return RemoveCRChars(text); }

std::string CRToHtmlBreak(std::string_view text)
{
    if (!Contains(text, '\r')) return std::string(text);
    return ReplaceChars(text, '\r', "<br>");
}

std::string ConcatLines(const rtl::TStringList& lines)
{
    std::string r;
    for (int i = 0; i < lines.Count(); ++i) r += lines[i];
    return r;
}

std::string CutLeadingField(std::string& text, std::string_view delimiter)
{
    int p = rtl::Pos(delimiter, text);
    if (p == 0) return std::string();
    // Only the delimiter's first character goes with the field, as callers
    // that split at one-character delimiters expect.
    std::string field = text.substr(0, static_cast<size_t>(p - 1));
    size_t firstChar = 0;
    rtl::NextUTF8(delimiter, firstChar);
    text.erase(0, static_cast<size_t>(p - 1) + firstChar);
    return field;
}

void FillWithChar(std::string& text, char32_t c)
{
    const int n = rtl::UTF8Length(text);
    const std::string one = Utf8Of(c);
    std::string r;
    r.reserve(one.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) r += one;
    text = std::move(r);
}

void ConvertToOem(std::string& text)
{
    text = rtl::CodePageToUTF8(rtl::CharToOem(text), rtl::SystemCodePage());
}

void ConvertFromOem(std::string& text)
{
    text = rtl::OemToChar(rtl::UTF8ToCodePage(text, rtl::SystemCodePage()));
}

// --- prefixed wide text ------------------------------------------------------

std::string EncodePrefixedWideText(std::string_view text)
{
    std::u16string wide = rtl::UTF8ToUTF16(text);
    std::string r = "|\\";
    r.reserve(2 + wide.size() * 3);
    for (char16_t u : wide) {
        rtl::AppendUTF8(r, u >> 8);
        rtl::AppendUTF8(r, u & 0xFF);
    }
    return r;
}

std::string DecodePrefixedWideText(std::string_view text)
{
    if (text.substr(0, 2) != "|\\") return std::string(text);
    std::u16string wide;
    size_t i = 2;
    while (i < text.size()) {
        char32_t high = rtl::NextUTF8(text, i);
        if (i >= text.size()) break;  // an odd last character
        char32_t low = rtl::NextUTF8(text, i);
        wide += static_cast<char16_t>(((high & 0xFF) << 8) | (low & 0xFF));
    }
    return rtl::UTF16ToUTF8(wide);
}

// --- classification and anchors ----------------------------------------------

int ClassifyCellText(std::string_view text, bool lookForHtml)
{
    if (text.empty()) return ctPlainText;
    if (text[0] == '=') return ctFormulaText;
    if (text.substr(0, 2) == "|\\") {
        if (text.size() >= 4 && text[2] == '\0' && text[3] == '=') return ctFormulaText;
        return ctWideText;
    }
    if (text.substr(0, 2) == "{\\") return ctRtfText;
    if (lookForHtml) {
        for (std::string_view tag : {"</", "<B", "<I", "<C"})
            if (text.find(tag) != std::string_view::npos) return ctHtmlText;
    }
    return ctPlainText;
}

bool IsDigitChar(char32_t c) { return rtl::IsNumberChar(c); }

bool IsDigitOrMinus(char32_t c) { return c == '-' || rtl::IsNumberChar(c); }

bool IsUrlOrMail(std::string_view text)
{
    return text.find("://") != std::string_view::npos || text.find("mailto:") != std::string_view::npos;
}

void StripUrlScheme(std::string& text)
{
    for (std::string_view scheme : {"://", "mailto:"}) {
        size_t p = text.find(scheme);
        if (p != std::string::npos) {
            text.erase(0, p + scheme.size());
            return;
        }
    }
}

bool ParseRowColRef(std::string_view text, gui::TPoint& point)
{
    std::string s = rtl::UpperCase(text);
    if (s.size() <= 3 || s[0] != 'R') return false;
    s.erase(0, 1);
    size_t c = s.find('C');
    if (c == std::string::npos) return false;
    int32_t row = 0, col = 0;
    if (!rtl::TryStrToInt(s.substr(0, c), row) || !rtl::TryStrToInt(s.substr(c + 1), col)) return false;
    point.X = col;
    point.Y = row;
    return true;
}

bool HasTwoDateSeparators(std::string_view text)
{
    const char sep = rtl::FormatSettings().DateSeparator;
    size_t p = text.find(sep);
    if (p == std::string_view::npos || p == 0) return false;
    std::string_view rest = text.substr(p + 1);
    size_t q = rest.find(sep);
    return q != std::string_view::npos && q > 0;
}

} // namespace gridbase
