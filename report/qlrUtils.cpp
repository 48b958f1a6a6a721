#include "report/qlrUtils.h"

#include <array>
#include <cmath>
#include <vector>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrRes.h"

namespace qlr {

namespace {

std::array<uint32_t, 256> MakeCRCTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

uint32_t StreamCRC32(rtl::TStream& stream)
{
    static const std::array<uint32_t, 256> table = MakeCRCTable();
    const int64_t saved = stream.Position();
    stream.SetPosition(0);
    uint32_t crc = 0xFFFFFFFFu;
    std::vector<uint8_t> buf(65536);
    for (;;) {
        int64_t n = stream.Read(buf.data(), static_cast<int64_t>(buf.size()));
        if (n <= 0) break;
        for (int64_t i = 0; i < n; ++i) crc = table[(crc ^ buf[i]) & 0xFF] ^ (crc >> 8);
    }
    stream.SetPosition(saved);
    return ~crc;
}

void SplitToStrings(std::string_view text, rtl::TStringList& list, char separator)
{
    list.Clear();
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t at = text.find(separator, from);
        if (at == std::string_view::npos) at = text.size();
        list.Add(std::string(text.substr(from, at - from)));
        from = at + 1;
    }
}

std::string StreamToHexText(rtl::TMemoryStream& stream)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string_view bytes = stream.View();
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

void HexTextToStream(std::string_view text, rtl::TStream& stream)
{
    std::vector<uint8_t> block(text.size() / 2, 0);
    for (std::size_t i = 0; i < block.size(); ++i) {
        int hi = HexDigit(text[2 * i]);
        int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) break;
        block[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    stream.SetPosition(0);
    stream.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
}

long double StrToFloatLenient(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (c == ' ') continue;
        s += (c == ',') ? '.' : c;
    }
    return rtl::StrToFloat(s);
}

std::string FloatToDisplayText(long double x)
{
    if (std::trunc(x) == x) return rtl::FloatToStr(x);
    return rtl::FloatToStrF(x, rtl::TFloatFormat::ffFixed, 18, 2);
}

std::string FloatToFixedText(int decimals, char decimalSeparator, long double value)
{
    return ReplaceChar(rtl::FloatToStrF(value, rtl::TFloatFormat::ffFixed, 18, decimals), '.',
                       decimalSeparator);
}

std::string ReplaceChar(std::string_view text, char ch, char replacement)
{
    std::string s(text);
    for (char& c : s)
        if (c == ch) c = replacement;
    return s;
}

std::string ExtractBracketedExpression(std::string_view text, std::string_view openDelim,
                                       std::string_view closeDelim, int& start, int& stop)
{
    stop = start;
    const int len = static_cast<int>(text.size());
    if (len == 0 || start > len || start < 1) return {};
    auto at = [&](int pos, std::string_view what) {
        return !what.empty() && text.compare(static_cast<std::size_t>(pos - 1), what.size(), what) == 0;
    };
    bool outsideDouble = true, outsideSingle = true;
    int depth = 0;
    for (stop = start;; ++stop) {
        if (outsideDouble && outsideSingle) {
            if (at(stop, openDelim)) {
                if (depth == 0) start = stop;
                ++depth;
            } else if (at(stop, closeDelim)) {
                --depth;
            }
        }
        const char c = text[static_cast<std::size_t>(stop - 1)];
        if (outsideSingle && c == '"') outsideDouble = !outsideDouble;
        if (outsideDouble && c == '\'') outsideSingle = !outsideSingle;
        if (depth == 0 || stop >= len) break;
    }
    const int openLen = static_cast<int>(openDelim.size());
    std::string result = rtl::Copy(text, start + openLen, stop - start - openLen);
    if (stop != start) stop += static_cast<int>(closeDelim.size()) - 1;
    return result;
}

void ParsePageRanges(std::string_view text, rtl::TStringList& list, int pageCount)
{
    list.Clear();
    std::string s;
    for (char c : text)
        if (c != ' ') s += c;
    if (s.empty()) return;
    if (s.back() == '-') s += rtl::IntToStr(pageCount);
    s += ',';
    std::size_t fieldStart = 0;
    bool haveRangeStart = false;
    int32_t rangeStart = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '-' && s[i] != ',') continue;
        int32_t n = rtl::StrToInt(std::string_view(s).substr(fieldStart, i - fieldStart));
        fieldStart = i + 1;
        if (s[i] == '-') {
            rangeStart = n;
            haveRangeStart = true;
        } else if (haveRangeStart) {
            for (int64_t p = rangeStart; p <= n; ++p) list.Add(rtl::IntToStr(p));
            haveRangeStart = false;
        } else {
            list.Add(rtl::IntToStr(n));
        }
    }
}

void ShowReportError(const std::string& text)
{
    gui::GetDialogService().MessageBox(text, GetResources().Get("mbError"), gui::MB_OK | gui::MB_ICONERROR);
}

void ShowReportInfo(const std::string& text)
{
    gui::GetDialogService().MessageBox(text, GetResources().Get("mbInfo"), gui::MB_OK | gui::MB_ICONINFORMATION);
}

std::string GetTempFolder() { return rtl::TempDir(); }

std::string MakeTempFileName() { return rtl::CreateTempFile(rtl::TempDir(), "ql"); }

std::string CreateTempFileIn(std::string_view folder)
{
    if (folder.empty()) return MakeTempFileName();
    return rtl::CreateTempFile(rtl::IncludeTrailingPathDelimiter(folder), "ql");
}

std::string ModuleFileName() { return rtl::ExecutableFileName(); }

std::string ModuleFolder() { return rtl::ExtractFilePath(rtl::ExecutableFileName()); }

} // namespace qlr
