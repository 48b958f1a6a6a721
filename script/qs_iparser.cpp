#include "script/qs_iparser.h"

#include <algorithm>

#include "platform/rtl/Strings.h"

namespace qs {

namespace {

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SplitPair(const std::string& v, std::string& open, std::string& close)
{
    size_t comma = v.find(',');
    if (comma == std::string::npos) {
        open = v;
        close.clear();
    } else {
        open = v.substr(0, comma);
        size_t next = v.find(',', comma + 1);
        close = v.substr(comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1);
    }
}

} // namespace

TqsParser::TqsParser() { Clear(); }

void TqsParser::Clear()
{
    FKeywords.clear();
    FKeywordsUpper.clear();
    FCaseSensitive = false;
    SetCommentBlock1("{,}");
    SetCommentBlock2("(*,*)");
    FCommentLine1 = "//";
    FCommentLine2.clear();
    FHexSequence = "$";
    ConstructCharset("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_");
    FSkipChar.clear();
    FSkipEOL = true;
    FSkipSpace = true;
    FStringQuotes = "'";
    FSpecStrChar = false;
}

void TqsParser::ConstructCharset(std::string_view chars)
{
    FIdentifierCharset.reset();
    for (char c : chars) FIdentifierCharset.set(static_cast<unsigned char>(c));
}

void TqsParser::SetCommentBlock1(const std::string& v)
{
    FCommentBlock1 = v;
    SplitPair(v, FCommentBlock11, FCommentBlock12);
}

void TqsParser::SetCommentBlock2(const std::string& v)
{
    FCommentBlock2 = v;
    SplitPair(v, FCommentBlock21, FCommentBlock22);
}

void TqsParser::AddKeyword(const std::string& word)
{
    std::string up = rtl::AnsiUpperCase(word);
    auto it = std::lower_bound(FKeywordsUpper.begin(), FKeywordsUpper.end(), up);
    size_t i = static_cast<size_t>(it - FKeywordsUpper.begin());
    FKeywordsUpper.insert(it, up);
    FKeywords.insert(FKeywords.begin() + static_cast<long>(i), word);
}

void TqsParser::SetText(std::string_view text)
{
    FText.assign(text);
    FText.push_back('\0');
    FSize = static_cast<int>(text.size());
    FPosition = 1;
    FLastPosition = 1;
    if (FUseY) {
        FYList.assign(1, 0);
        for (int i = 0; i < FSize; ++i)
            if (text[static_cast<size_t>(i)] == '\n') FYList.push_back(i + 1);
    }
}

bool TqsParser::StartsAt(int p, std::string_view s) const
{
    if (s.empty() || p < 1 || p + static_cast<int>(s.size()) - 1 > FSize) return false;
    return std::string_view(FText).substr(static_cast<size_t>(p - 1), s.size()) == s;
}

void TqsParser::SkipSpaces()
{
    for (;;) {
        while (FPosition <= FSize && UAt(FPosition) <= 32) {
            if (!FSkipEOL && At(FPosition) == '\n') break;
            ++FPosition;
        }
        if (!FSkipChar.empty() && FPosition <= FSize && At(FPosition) == FSkipChar[0]) {
            ++FPosition;
            GetEOL();
            continue;
        }
        if (FPosition < FSize) {
            if (StartsAt(FPosition, FCommentLine1) || StartsAt(FPosition, FCommentLine2)) {
                bool beginsLine = FPosition == 1 || At(FPosition - 1) == '\n';
                while (FPosition <= FSize && At(FPosition) != '\n') {
                    if (!FSkipEOL && !beginsLine && At(FPosition) == '\r') break;
                    ++FPosition;
                }
                continue;
            }
            const std::string* close = nullptr;
            if (!FCommentBlock1.empty() && StartsAt(FPosition, FCommentBlock11))
                close = &FCommentBlock12;
            else if (!FCommentBlock2.empty() && StartsAt(FPosition, FCommentBlock21))
                close = &FCommentBlock22;
            if (close) {
                FPosition += static_cast<int>(close->size());
                while (FPosition <= FSize && !StartsAt(FPosition, *close)) ++FPosition;
                FPosition = std::min(FPosition + static_cast<int>(close->size()), FSize + 1);
                if (close->empty()) FPosition = std::min(FPosition + 1, FSize + 1);
                continue;
            }
        }
        break;
    }
    FLastPosition = FPosition;
}

bool TqsParser::GetEOL()
{
    SkipSpaces();
    if (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n')) {
        while (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n')) ++FPosition;
        return true;
    }
    return false;
}

std::string TqsParser::ReadWord()
{
    if (FSkipSpace) SkipSpaces();
    int start = FPosition;
    if (FPosition > FSize) return {};
    unsigned char c = UAt(FPosition);
    if (!((FIdentifierCharset[c] && !IsDigit(static_cast<char>(c))) || c >= 127)) return {};
    while (FPosition <= FSize && (FIdentifierCharset[UAt(FPosition)] || UAt(FPosition) >= 127))
        ++FPosition;
    return FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
}

std::string TqsParser::GetWord() { return ReadWord(); }

std::string TqsParser::GetIdent()
{
    std::string w = ReadWord();
    if (!w.empty() && IsKeyWord(w)) return {};
    return w;
}

bool TqsParser::IsKeyWord(std::string_view word) const
{
    if (FCaseSensitive)
        return std::find(FKeywords.begin(), FKeywords.end(), word) != FKeywords.end();
    return std::binary_search(FKeywordsUpper.begin(), FKeywordsUpper.end(), rtl::AnsiUpperCase(word));
}

std::string TqsParser::GetChar()
{
    if (FPosition > FSize) return {};
    unsigned char c = UAt(FPosition);
    if ((c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126)) {
        ++FPosition;
        return std::string(1, static_cast<char>(c));
    }
    return {};
}

bool TqsParser::ReadInteger()
{
    int start = FPosition;
    if (StartsAt(FPosition, FHexSequence)) {
        FPosition += static_cast<int>(FHexSequence.size());
        int digits = FPosition;
        while (FPosition <= FSize && IsHexDigit(At(FPosition))) ++FPosition;
        if (FPosition == digits) {
            FPosition = start;
            return false;
        }
        return true;
    }
    while (FPosition <= FSize && IsDigit(At(FPosition))) ++FPosition;
    return FPosition > start;
}

std::string TqsParser::GetNumber()
{
    if (FSkipSpace) SkipSpaces();
    int start = FPosition;
    if (!ReadInteger()) {
        FPosition = start;
        return {};
    }
    if (FPosition <= FSize && At(FPosition) == '.' && FPosition + 1 <= FSize && IsDigit(At(FPosition + 1))) {
        ++FPosition;
        while (FPosition <= FSize && IsDigit(At(FPosition))) ++FPosition;
    }
    if (FPosition <= FSize && (At(FPosition) == 'E' || At(FPosition) == 'e')) {
        int save = FPosition;
        ++FPosition;
        if (FPosition <= FSize && (At(FPosition) == '+' || At(FPosition) == '-')) ++FPosition;
        int digits = FPosition;
        while (FPosition <= FSize && IsDigit(At(FPosition))) ++FPosition;
        if (FPosition == digits) FPosition = save;
    }
    std::string r = FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
    if (FHexSequence != "$" && !FHexSequence.empty()) r = rtl::StringReplace(r, FHexSequence, "$");
    return r;
}

std::string TqsParser::GetString()
{
    if (FSkipSpace) SkipSpaces();
    std::string value;
    bool any = false;
    const char quote = FStringQuotes.empty() ? '\'' : FStringQuotes[0];
    for (;;) {
        if (FPosition > FSize) break;
        char c = At(FPosition);
        if (c == quote) {
            int open = FPosition;
            int p = FPosition + 1;
            std::string piece;
            bool ok = false;
            while (p <= FSize + 1) {
                char d = At(p);
                unsigned char ud = static_cast<unsigned char>(d);
                if (ud < 32 && d != '\t') break;  // control character: no string
                if (d == quote) {
                    if (!FSpecStrChar && p + 1 <= FSize && At(p + 1) == quote) {
                        piece += quote;
                        p += 2;
                        continue;
                    }
                    ok = true;
                    ++p;
                    break;
                }
                if (FSpecStrChar && d == '\\') {
                    char e = At(p + 1);
                    if (static_cast<unsigned char>(e) < 32 && e != '\t') break;
                    switch (e) {
                    case 'n': case 'N': piece += '\n'; p += 2; break;
                    case 'r': case 'R': piece += '\r'; p += 2; break;
                    case 'x': case 'X': {
                        p += 2;
                        unsigned code = 0;
                        int digits = 0;
                        while (p <= FSize && IsHexDigit(At(p))) {
                            char h = At(p);
                            code = code * 16 + static_cast<unsigned>(IsDigit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
                            if (code > 0x10FFFF) code = 0xFFFD;
                            ++p;
                            ++digits;
                        }
                        if (digits > 0) rtl::AppendUTF8(piece, static_cast<char32_t>(code));
                        break;
                    }
                    default: piece += e; p += 2; break;
                    }
                    continue;
                }
                piece += d;
                ++p;
            }
            if (!ok) {
                FPosition = open;
                break;
            }
            value += piece;
            any = true;
            FPosition = p;
        } else if (c == '#') {
            int save = FPosition;
            ++FPosition;
            int numStart = FPosition;
            if (!ReadInteger()) {
                FPosition = save;
                break;
            }
            std::string num = FText.substr(static_cast<size_t>(numStart - 1), static_cast<size_t>(FPosition - numStart));
            if (!FHexSequence.empty() && num.compare(0, FHexSequence.size(), FHexSequence) == 0)
                num = "$" + num.substr(FHexSequence.size());
            int64_t code = 0;
            if (!rtl::TryStrToInt64(num, code) || code < 0 || code > 0x10FFFF) code = 0xFFFD;
            rtl::AppendUTF8(value, static_cast<char32_t>(code));
            any = true;
        } else {
            break;
        }
    }
    if (!any) return {};
    return "'" + value + "'";
}

std::string TqsParser::GetFRString()
{
    int start = FPosition;
    int depth = 1;
    bool inDouble = false, inSingle = false;
    while (FPosition <= FSize) {
        char c = At(FPosition);
        if (!inDouble && !inSingle) {
            if (c == '<' || c == '[') ++depth;
            else if (c == '>' || c == ']') {
                if (--depth == 0) break;
            }
        }
        if (c == '"' && !inSingle) inDouble = !inDouble;
        else if (c == '\'' && !inDouble) inSingle = !inSingle;
        ++FPosition;
    }
    return FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
}

std::string TqsParser::XYPositionOf(int position) const
{
    auto it = std::lower_bound(FYList.begin(), FYList.end(), position);
    size_t k = static_cast<size_t>(it - FYList.begin());
    if (k < 1) k = 1;
    int col = position - (FYList[k - 1] + 1) + 1;
    if (col < 1) col = 1;
    return std::to_string(k) + ":" + std::to_string(col);
}

int TqsParser::GetPlainPosition(int x, int y) const
{
    if (y - 1 < 0 || y - 1 >= static_cast<int>(FYList.size())) return -1;
    return FYList[static_cast<size_t>(y - 1)] + x;
}

} // namespace qs
