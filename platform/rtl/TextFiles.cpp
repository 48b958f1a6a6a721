// TextFiles: whole text files in Windows-1252, UTF-16 LE or UTF-8.
#include "platform/rtl/TextFiles.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

namespace rtl {

std::string DecodeTextFileBytes(std::string_view bytes, TTextFileEncoding* found)
{
    auto set = [&](TTextFileEncoding e) {
        if (found) *found = e;
    };
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        set(TTextFileEncoding::tfeUTF8);
        return std::string(bytes.substr(3));
    }
    if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        const bool little = bytes[0] == '\xFF';
        set(TTextFileEncoding::tfeUTF16LE);
        std::u16string units;
        units.reserve((bytes.size() - 2) / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<uint8_t>(bytes[little ? i : i + 1]);
            const auto hi = static_cast<uint8_t>(bytes[little ? i + 1 : i]);
            units.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        return UTF16ToUTF8(units);
    }
    set(TTextFileEncoding::tfeAnsi);
    return CodePageToUTF8(bytes, SystemCodePage());
}

std::string EncodeTextFileBytes(std::string_view text, TTextFileEncoding encoding)
{
    switch (encoding) {
    case TTextFileEncoding::tfeUTF8:
        return "\xEF\xBB\xBF" + std::string(text);
    case TTextFileEncoding::tfeUTF16LE: {
        const std::u16string units = UTF8ToUTF16(text);
        std::string out = "\xFF\xFE";
        out.reserve(2 + units.size() * 2);
        for (char16_t u : units) {
            out.push_back(static_cast<char>(u & 0xFF));
            out.push_back(static_cast<char>(u >> 8));
        }
        return out;
    }
    case TTextFileEncoding::tfeAnsi:
        break;
    }
    return UTF8ToCodePage(text, SystemCodePage());
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> ReadTextFileLines(const std::string& fileName, TTextFileEncoding* found)
{
    TFileStream file(fileName, fmOpenRead);
    const std::string bytes = file.ReadAll();
    return SplitTextLines(DecodeTextFileBytes(bytes, found));
}

void WriteTextFileLines(const std::string& fileName, const std::vector<std::string>& lines,
                        TTextFileEncoding encoding)
{
    std::string text;
    size_t n = 0;
    for (const std::string& l : lines) n += l.size() + 2;
    text.reserve(n);
    for (const std::string& l : lines) {
        text += l;
        text += "\r\n";
    }
    const std::string bytes = EncodeTextFileBytes(text, encoding);
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

} // namespace rtl
