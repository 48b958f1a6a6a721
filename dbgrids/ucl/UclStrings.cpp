#include "dbgrids/ucl/UclStrings.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/rtl/Strings.h"
#include "platform/sys/CharTypes.h"

namespace ucl {

namespace {

struct TTables {
    uint16_t Types[65536];
    char16_t CaseMap[3 * 65536];
};

std::unique_ptr<TTables> gTables;
std::once_flag gOnce;

const TTables& Tables()
{
    std::call_once(gOnce, [] {
        auto t = std::make_unique<TTables>();
        for (uint32_t c = 0; c < 65536; ++c) t->Types[c] = sys::CharTypeFlags(static_cast<char16_t>(c));
        for (uint32_t c = 0; c < 65536; ++c) {
            char16_t ch = static_cast<char16_t>(c);
            char16_t lo = sys::CharToLower(ch), up = sys::CharToUpper(ch);
            t->CaseMap[c] = lo;
            t->CaseMap[65536 + c] = up;
            t->CaseMap[131072 + c] = (t->Types[c] & sys::C1_UPPER) ? lo : (t->Types[c] & sys::C1_LOWER) ? up : ch;
        }
        gTables = std::move(t);
    });
    return *gTables;
}

int Len(const std::u16string& s) { return static_cast<int>(s.size()); }

} // namespace

void InitUclStrings() { Tables(); }

uint16_t CharTypeOf(char16_t ch) { return Tables().Types[ch]; }
bool IsUpperChar(char16_t ch) { return (CharTypeOf(ch) & sys::C1_UPPER) != 0; }
bool IsLowerChar(char16_t ch) { return (CharTypeOf(ch) & sys::C1_LOWER) != 0; }
char16_t UpperChar(char16_t ch) { return Tables().CaseMap[kCaseMapUpper + ch]; }
char16_t LowerChar(char16_t ch) { return Tables().CaseMap[kCaseMapLower + ch]; }

bool IsHexDigitChar(char16_t ch)
{
    return (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f') || (CharTypeOf(ch) & sys::C1_DIGIT);
}

std::u16string TextLeft(const std::u16string& s, int count)
{
    return count <= 0 ? std::u16string() : s.substr(0, static_cast<size_t>(count));
}

std::u16string TextMid(const std::u16string& s, int start, int count)
{
    if (start < 1) start = 1;
    if (start > Len(s) || count <= 0) return {};
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

std::u16string TextRestFrom(const std::u16string& s, int start)
{
    return TextMid(s, start, Len(s));
}

void TextMapCase(std::u16string& s, int offset)
{
    const TTables& t = Tables();
    for (char16_t& c : s) c = t.CaseMap[offset + c];
}

std::u16string TextUpperCopy(const std::u16string& s)
{
    std::u16string r = s;
    TextMapCase(r, kCaseMapUpper);
    return r;
}

void TextUpperInPlace(std::u16string& s) { TextMapCase(s, kCaseMapUpper); }

int TextPosNoCase(const std::u16string& subStr, const std::u16string& s)
{
    if (subStr.empty() || s.empty()) return 0;
    auto p = TextUpperCopy(s).find(TextUpperCopy(subStr));
    return p == std::u16string::npos ? 0 : static_cast<int>(p) + 1;
}

int TextSearchNoCase(const std::u16string& subStr, const std::u16string& s, int index)
{
    if (subStr.empty() || s.empty() || index > Len(s)) return 0;
    if (index < 1) index = 1;
    int p = TextPosNoCase(subStr, s.substr(static_cast<size_t>(index - 1)));
    return p == 0 ? 0 : p + index - 1;
}

int TextFindFrom(const std::u16string& subStr, const std::u16string& s, int index)
{
    if (index < 1) index = 1;
    if (Len(s) < index || subStr.empty()) return 0;
    auto p = s.find(subStr, static_cast<size_t>(index - 1));
    return p == std::u16string::npos ? 0 : static_cast<int>(p) + 1;
}

std::u16string TextBeforeNoCase(const std::u16string& subStr, const std::u16string& s)
{
    int p = TextPosNoCase(subStr, s);
    return p == 0 ? s : s.substr(0, static_cast<size_t>(p - 1));
}

int FirstCharPos(const std::u16string& s, char16_t ch, int index)
{
    if (index < 1 || index > Len(s)) return 0;
    for (int i = index; i <= Len(s); ++i)
        if (s[static_cast<size_t>(i - 1)] == ch) return i;
    return 0;
}

int LastCharPos(const std::u16string& s, char16_t ch, int index)
{
    if (index < 1 || index > Len(s)) return 0;
    for (int i = Len(s); i >= index; --i)
        if (s[static_cast<size_t>(i - 1)] == ch) return i;
    return 0;
}

std::u16string TextReplaceChar(const std::u16string& s, char16_t source, char16_t replacement)
{
    std::u16string r = s;
    for (char16_t& c : r)
        if (c == source) c = replacement;
    return r;
}

void TextCutAtNull(std::u16string& s)
{
    auto p = s.find(u'\0');
    if (p != std::u16string::npos) s.resize(p);
}

std::u16string TextEnsureSuffix(const std::u16string& suffix, const std::u16string& s)
{
    if (s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0) return s;
    return s + suffix;
}

void TextReplace(std::u16string& s, const std::u16string& search, const std::u16string& replacement,
                 TTextReplaceFlags flags)
{
    if (search.empty()) {
        if (!s.empty()) throw EUclStringError("Search string cannot be blank");
        s = replacement;
        return;
    }
    if (s.empty()) return;
    bool ignoreCase = flags.Contains(TTextReplaceFlag::trfIgnoreCase);
    bool all = flags.Contains(TTextReplaceFlag::trfReplaceAll);
    std::u16string pattern = ignoreCase ? TextUpperCopy(search) : search;
    auto same = [&](char16_t a, char16_t b) { return (ignoreCase ? UpperChar(a) : a) == b; };
    std::u16string result;
    result.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (same(s[i], pattern[0]) && s.size() - i >= pattern.size()) {
            size_t k = 1;
            while (k < pattern.size() && same(s[i + k], pattern[k])) ++k;
            if (k == pattern.size()) {
                result += replacement;
                i += pattern.size();
                if (!all) {
                    result.append(s, i, std::u16string::npos);
                    i = s.size();
                }
                continue;
            }
        }
        result += s[i++];
    }
    s = std::move(result);
}

void SplitText(std::u16string s, const std::u16string& separator, std::vector<std::u16string>& list,
               bool allowEmpty)
{
    list.clear();
    if (separator.empty()) {
        if (!s.empty()) list.push_back(s);
        return;
    }
    size_t p;
    while ((p = s.find(separator)) != std::u16string::npos) {
        if (allowEmpty || p > 0) list.push_back(s.substr(0, p));
        s.erase(0, p + separator.size());
    }
    if (!s.empty()) list.push_back(s);
}

void MoveTextChars(const std::u16string& source, int fromIndex, std::u16string& dest, int toIndex, int count)
{
    MoveChar(source, fromIndex, dest, toIndex, count);
}

std::string TextReplaceUtf8(const std::string& s, const std::string& search, const std::string& replacement,
                            TTextReplaceFlags flags)
{
    std::u16string w = rtl::UTF8ToUTF16(s);
    TextReplace(w, rtl::UTF8ToUTF16(search), rtl::UTF8ToUTF16(replacement), flags);
    return rtl::UTF16ToUTF8(w);
}

} // namespace ucl
