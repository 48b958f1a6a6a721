#include "dbgrids/ucl/UclAnsiStrings.h"

#include <mutex>
#include <string>

#include "platform/rtl/CodePages.h"
#include "platform/sys/CharTypes.h"

namespace ucl {

namespace {

uint16_t gTypes[256];
unsigned char gCase[3 * 256];
std::once_flag gOnce;

void Fill()
{
    uint32_t page = rtl::SystemCodePage();
    for (int b = 0; b < 256; ++b) {
        std::u16string w = rtl::CodePageToUTF16(std::string(1, static_cast<char>(b)), page);
        gTypes[b] = w.size() == 1 ? sys::CharTypeFlags(w[0]) : 0;
    }
    for (int b = 0; b < 256; ++b) {
        std::u16string w = rtl::CodePageToUTF16(std::string(1, static_cast<char>(b)), page);
        auto back = [&](char16_t c) {
            std::string s = rtl::UTF16ToCodePage(std::u16string(1, c), page);
            return (s.size() == 1 && !(s[0] == '?' && c != u'?')) ? static_cast<unsigned char>(s[0])
                                                                   : static_cast<unsigned char>(b);
        };
        unsigned char lo = w.size() == 1 ? back(sys::CharToLower(w[0])) : static_cast<unsigned char>(b);
        unsigned char up = w.size() == 1 ? back(sys::CharToUpper(w[0])) : static_cast<unsigned char>(b);
        gCase[b] = lo;
        gCase[256 + b] = up;
        gCase[512 + b] = (gTypes[b] & sys::C1_UPPER) ? lo : (gTypes[b] & sys::C1_LOWER) ? up : static_cast<unsigned char>(b);
    }
}

} // namespace

void InitUclAnsiStrings() { std::call_once(gOnce, Fill); }
uint16_t AnsiCharType(unsigned char ch) { InitUclAnsiStrings(); return gTypes[ch]; }
unsigned char AnsiLowerChar(unsigned char ch) { InitUclAnsiStrings(); return gCase[ch]; }
unsigned char AnsiUpperChar(unsigned char ch) { InitUclAnsiStrings(); return gCase[256 + ch]; }
unsigned char AnsiSwapChar(unsigned char ch) { InitUclAnsiStrings(); return gCase[512 + ch]; }

} // namespace ucl
