// Code pages through the C library's iconv.  A single-byte page is read once
// into a 256-entry table (and its reverse), so that converting is a table
// look-up and the replacement rule is applied in one place; the double-byte
// pages convert through iconv directly, with the rule applied at each
// offending character or byte.
#include "platform/rtl/CodePages.h"

#include <iconv.h>

#include <atomic>
#include <bit>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace rtl {

static_assert(std::endian::native == std::endian::little, "the iconv buffers are UTF-32LE");

namespace {

constexpr char32_t cReplacementChar = 0xFFFD;
constexpr char cUnmappable = '?';

std::atomic<uint32_t> gOemCodePage{437};

bool IsSingleBytePage(uint32_t cp)
{
    return cp == 437 || cp == 850 || cp == 874 || (cp >= 1250 && cp <= 1258);
}

bool IsDoubleBytePage(uint32_t cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950;
}

std::string IconvName(uint32_t cp) { return "CP" + IntToStr(cp); }

void CheckSupported(uint32_t cp)
{
    if (!IsCodePageSupported(cp)) throw EConvertError(Format("Code page %d is not supported", static_cast<int>(cp)));
}

// iconv descriptor owned for one scope.
class TIconv {
public:
    TIconv(const std::string& to, const std::string& from) : FCd(iconv_open(to.c_str(), from.c_str()))
    {
        if (FCd == reinterpret_cast<iconv_t>(-1))
            throw EConvertError("Code page conversion " + from + " to " + to + " is not available");
    }
    ~TIconv() { iconv_close(FCd); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    iconv_t Cd() const { return FCd; }

private:
    iconv_t FCd;
};

// Converts in (UTF-32LE code points or page bytes) with iconv, appending to
// out; returns false at the first offending input unit, leaving in and
// inLeft on it.
bool IconvRun(iconv_t cd, char*& in, size_t& inLeft, std::string& out)
{
    for (;;) {
        size_t used = out.size();
        size_t room = inLeft * 4 + 16;
        out.resize(used + room);
        char* o = out.data() + used;
        size_t oLeft = room;
        size_t r = iconv(cd, in ? &in : nullptr, in ? &inLeft : nullptr, &o, &oLeft);
        out.resize(used + (room - oLeft));
        if (r != static_cast<size_t>(-1)) return true;
        if (errno == E2BIG) continue;
        return false;
    }
}

void Flush(iconv_t cd, std::string& out)
{
    char* none = nullptr;
    size_t noneLeft = 0;
    IconvRun(cd, none, noneLeft, out);
}

std::u32string ToCodePoints(std::string_view utf8)
{
    std::u32string r;
    r.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) r += NextUTF8(utf8, i);
    return r;
}

// A single-byte page as tables.  Pages 1255 and 1258 also write some
// accented letters as a base letter and a combining mark; the reverse table
// cannot hold those, so characters missing from it are offered to iconv once
// more (under the page's lock).
struct TSingleBytePage {
    char32_t Decode[256];
    int16_t EncodeLow[256];                       // characters below U+0100; -1 when absent
    std::unordered_map<char32_t, uint8_t> Encode;  // the rest
    bool Composing = false;
    std::mutex FallbackLock;
    std::unique_ptr<TIconv> Fallback;

    explicit TSingleBytePage(uint32_t cp)
    {
        const std::string name = IconvName(cp);
        TIconv toUnicode("UTF-32LE", name);
        for (int b = 0; b < 256; ++b) {
            iconv(toUnicode.Cd(), nullptr, nullptr, nullptr, nullptr);
            char byte = static_cast<char>(b);
            char* in = &byte;
            size_t inLeft = 1;
            std::string out;
            bool ok = IconvRun(toUnicode.Cd(), in, inLeft, out);
            if (ok) Flush(toUnicode.Cd(), out);
            char32_t cp32 = 0;
            if (ok && out.size() == 4) {
                cp32 = static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 |
                       static_cast<uint8_t>(out[2]) << 16 | static_cast<char32_t>(static_cast<uint8_t>(out[3])) << 24;
            } else {
                ok = false;
            }
            if (!ok) cp32 = (b >= 0x80 && b <= 0x9F) ? static_cast<char32_t>(b) : cReplacementChar;
            Decode[b] = cp32;
        }
        for (auto& e : EncodeLow) e = -1;
        for (int b = 255; b >= 0; --b) {  // the lowest byte wins when two share a character
            char32_t c = Decode[b];
            if (c == cReplacementChar) continue;
            if (c < 0x100) EncodeLow[c] = static_cast<int16_t>(b);
            else Encode[c] = static_cast<uint8_t>(b);
        }
        Composing = cp == 1255 || cp == 1258;
        if (Composing) Fallback = std::make_unique<TIconv>(name, "UTF-32LE");
    }

    void Append(std::string& out, char32_t c)
    {
        if (c < 0x100) {
            if (EncodeLow[c] >= 0) {
                out += static_cast<char>(EncodeLow[c]);
                return;
            }
        } else if (auto it = Encode.find(c); it != Encode.end()) {
            out += static_cast<char>(it->second);
            return;
        }
        if (Composing && c != cReplacementChar) {
            std::lock_guard<std::mutex> lock(FallbackLock);
            iconv(Fallback->Cd(), nullptr, nullptr, nullptr, nullptr);
            char32_t one = c;
            char* in = reinterpret_cast<char*>(&one);
            size_t inLeft = 4;
            std::string bytes;
            if (IconvRun(Fallback->Cd(), in, inLeft, bytes)) {
                Flush(Fallback->Cd(), bytes);
                if (!bytes.empty()) {
                    out += bytes;
                    return;
                }
            }
        }
        out += cUnmappable;
    }
};

TSingleBytePage& SingleBytePage(uint32_t cp)
{
    static std::mutex lock;
    static std::map<uint32_t, std::unique_ptr<TSingleBytePage>> pages;
    std::lock_guard<std::mutex> guard(lock);
    auto& p = pages[cp];
    if (!p) p = std::make_unique<TSingleBytePage>(cp);
    return *p;
}

std::string EncodeCodePoints(const std::u32string& cps, uint32_t cp)
{
    CheckSupported(cp);
    std::string out;
    out.reserve(cps.size());
    if (cp == cpUTF8) {
        for (char32_t c : cps) AppendUTF8(out, c);
        return out;
    }
    if (IsSingleBytePage(cp)) {
        TSingleBytePage& page = SingleBytePage(cp);
        for (char32_t c : cps) page.Append(out, c);
        return out;
    }
    TIconv conv(IconvName(cp), "UTF-32LE");
    std::u32string buffer(cps);
    char* in = reinterpret_cast<char*>(buffer.data());
    size_t inLeft = buffer.size() * 4;
    while (!IconvRun(conv.Cd(), in, inLeft, out)) {
        if (inLeft < 4) break;
        out += cUnmappable;
        in += 4;
        inLeft -= 4;
    }
    Flush(conv.Cd(), out);
    return out;
}

// Calls emit for each code point of the bytes.
template <typename Emit>
void DecodeBytes(std::string_view bytes, uint32_t cp, Emit emit)
{
    CheckSupported(cp);
    if (cp == cpUTF8) {
        for (size_t i = 0; i < bytes.size();) emit(NextUTF8(bytes, i));
        return;
    }
    if (IsSingleBytePage(cp)) {
        const TSingleBytePage& page = SingleBytePage(cp);
        for (char b : bytes) emit(page.Decode[static_cast<uint8_t>(b)]);
        return;
    }
    TIconv conv("UTF-32LE", IconvName(cp));
    std::string buffer(bytes);
    char* in = buffer.data();
    size_t inLeft = buffer.size();
    std::string out;
    auto drain = [&] {
        for (size_t k = 0; k + 4 <= out.size(); k += 4) {
            char32_t c = 0;
            for (int j = 3; j >= 0; --j) c = (c << 8) | static_cast<uint8_t>(out[k + static_cast<size_t>(j)]);
            emit(c);
        }
        out.clear();
    };
    while (!IconvRun(conv.Cd(), in, inLeft, out)) {
        if (inLeft == 0) break;
        drain();
        emit(cReplacementChar);
        ++in;
        --inLeft;
        iconv(conv.Cd(), nullptr, nullptr, nullptr, nullptr);
    }
    Flush(conv.Cd(), out);
    drain();
}

} // namespace

uint32_t SystemCodePage() { return 1252; }

uint32_t OemCodePage() { return gOemCodePage.load(); }

void SetOemCodePage(uint32_t codePage)
{
    if (codePage != 437 && codePage != 850)
        throw EConvertError(Format("Code page %d cannot be the OEM code page", static_cast<int>(codePage)));
    gOemCodePage.store(codePage);
}

bool IsCodePageSupported(uint32_t codePage)
{
    return codePage == cpUTF8 || IsSingleBytePage(codePage) || IsDoubleBytePage(codePage);
}

std::string UTF8ToCodePage(std::string_view text, uint32_t codePage)
{
    return EncodeCodePoints(ToCodePoints(text), codePage);
}

std::string UTF16ToCodePage(std::u16string_view text, uint32_t codePage)
{
    return UTF8ToCodePage(UTF16ToUTF8(text), codePage);
}

std::string CodePageToUTF8(std::string_view bytes, uint32_t codePage)
{
    std::string out;
    out.reserve(bytes.size());
    DecodeBytes(bytes, codePage, [&](char32_t c) { AppendUTF8(out, c); });
    return out;
}

std::u16string CodePageToUTF16(std::string_view bytes, uint32_t codePage)
{
    return UTF8ToUTF16(CodePageToUTF8(bytes, codePage));
}

uint32_t CharsetToCodePage(uint8_t charset)
{
    switch (charset) {
    case 128: return 932;   // Shift-JIS
    case 129: return 949;   // Hangul
    case 134: return 936;   // GB2312
    case 136: return 950;   // Big5
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Russian
    case 222: return 874;   // Thai
    case 238: return 1250;  // East European
    case 255: return OemCodePage();
    default: return SystemCodePage();  // ANSI, default, symbol, Mac, Johab, unknown
    }
}

std::string CharToOem(std::string_view text) { return UTF8ToCodePage(text, OemCodePage()); }

std::string OemToChar(std::string_view oemBytes) { return CodePageToUTF8(oemBytes, OemCodePage()); }

} // namespace rtl
