// Code pages: text converted between Unicode (UTF-8 or UTF-16) and the
// Windows code pages that the system's files, OEM exports and report fonts
// use.  This is the one place in the tree that knows code pages; text files
// in Windows-1252 or an OEM page, and font charsets, all go through it (the
// XML library keeps the Windows-1252 table its own encodings need).
//
// Pages: 437 and 850 (OEM), 874 and 1250..1258 (Windows single-byte), 932,
// 936, 949 and 950 (Windows double-byte), and 65001 (UTF-8, passed through
// with malformed sequences made U+FFFD).  Any other number raises
// EConvertError "Code page <n> is not supported".  The system's 8-bit page
// ("ANSI") is 1252; the OEM page is 437 unless SetOemCodePage chose 850.
//
// The replacement rule, the same in every conversion here:
//  - Unicode to a code page: a character the page cannot represent becomes
//    "?" (0x3F), one per character; a surrogate pair is one character, and
//    so is an unpaired surrogate or a malformed UTF-8 sequence.
//  - A code page to Unicode: a byte 0x80..0x9F that a single-byte page
//    leaves undefined stands for the control character of the same number
//    (U+0080..U+009F), which converts back to that byte; so every byte
//    string survives a trip through Windows-1252 text, as OEM bytes read in
//    the ANSI page need.  Any other undefined byte, or a broken double-byte
//    sequence, becomes U+FFFD, one per byte.
//
// Example: the OEM bytes of a German word, and back.
//
//   std::string oem = rtl::CharToOem("\xC3\x84pfel");       // "Äpfel" -> 8E 70 66 65 6C
//   std::string txt = rtl::OemToChar(oem);                 // "Äpfel"
//   std::string pdf = rtl::UTF8ToCodePage(text, rtl::CharsetToCodePage(238));  // 1250
//
// Conversions may run on any thread; SetOemCodePage belongs to start-up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

constexpr uint32_t cpUTF8 = 65001;

// The system's 8-bit code page: Windows-1252.
uint32_t SystemCodePage();
// The OEM code page: 437 by default.
uint32_t OemCodePage();
// Selects the OEM code page: 437 or 850; anything else raises
// EConvertError "Code page <n> cannot be the OEM code page".
void SetOemCodePage(uint32_t codePage);

bool IsCodePageSupported(uint32_t codePage);

// Unicode text to the bytes of a code page and back.
std::string UTF8ToCodePage(std::string_view text, uint32_t codePage);
std::string CodePageToUTF8(std::string_view bytes, uint32_t codePage);
std::string UTF16ToCodePage(std::u16string_view text, uint32_t codePage);
std::u16string CodePageToUTF16(std::string_view bytes, uint32_t codePage);

// The code page of a font charset (the LOGFONT lfCharSet numbers):
// 0 ANSI 1252, 128 Shift-JIS 932, 129 Hangul 949, 134 GB2312 936,
// 136 Big5 950, 161 Greek 1253, 162 Turkish 1254, 163 Vietnamese 1258,
// 177 Hebrew 1255, 178 Arabic 1256, 186 Baltic 1257, 204 Russian 1251,
// 222 Thai 874, 238 East European 1250, 255 OEM (OemCodePage()).  Every
// other charset (default, symbol, Mac, Johab, unknown numbers) has no page
// of its own here and gives the system page, 1252.
uint32_t CharsetToCodePage(uint8_t charset);

// The OEM pair: Unicode text to OEM bytes, and OEM bytes to text.
std::string CharToOem(std::string_view text);
std::string OemToChar(std::string_view oemBytes);

} // namespace rtl
