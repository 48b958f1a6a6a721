// Text forms of the values an XML document keeps: escaping and character
// references, attribute quoting, float, date-time and Boolean texts, binary
// data as BinHex or Base64, and the UTF-8 / UTF-16 / code-page conversions.
// Every number text uses "." as the decimal point, whatever the locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

namespace xml {

// The five predefined entities, in the order EscapeString applies them.
struct TXmlEntity {
    char Ch;
    const char* Ref;
};
extern const TXmlEntity cXmlEntities[5];

// Replaces & < > ' " by their entity references.  A NUL character is
// written as "&#0;" so that it survives a round trip through a file.
std::string EscapeString(std::string_view AValue);
// Resolves the five entities and decimal or hexadecimal character
// references; any other reference stays as it stands.
std::string UnescapeString(std::string_view AValue);
// Encloses the text in quotation marks, or in apostrophes when it holds a
// quotation mark; the chosen quote is doubled inside.
std::string QuoteString(std::string_view AValue);
std::string UnquoteString(std::string_view AValue);

// The float text of the files: up to ASignificantDigits (1..12) digits,
// no zero before the point (".25"), optionally an exponent ("1.5E-7").
// Digits outside 1..12 raise "Significant digits out of range".
// Non-finite values give "INF", "-INF" or "NAN" (which read back as the
// reader's default).
std::string FloatToXmlText(double AValue, int ASignificantDigits, bool AAllowScientific);
// Strict float reading of a file text: every "," is taken as "."; the
// whole text must be a number.  False when it is not.
bool XmlTextToFloat(std::string_view AText, double& AValue);

// "yyyy-mm-ddThh:nn:ss.zzzZ", or "yyyy-mm-dd" for a whole day.
std::string DateTimeToXmlText(rtl::TDateTime AValue);
// Reads the text above; raises EConvertError on a bad date or time.
rtl::TDateTime XmlTextToDateTime(std::string_view AText);
rtl::TDateTime XmlTextToDateTime(std::string_view AText, rtl::TDateTime ADefault);

// First character decides: 0 F N false, 1 T Y true; anything else (and the
// empty text) raises "Cannot convert value to bool".
bool TextToBool(std::string_view AText);
// "true" / "false".
std::string BoolToText(bool AValue);

// The integer conversion of value texts: optional blanks and sign, decimal
// digits, or hexadecimal after "$", "x" or "0x".  Raises EConvertError
// "'<text>' is not a valid integer value" on failure.
int32_t XmlStrToInt(std::string_view AText);
int64_t XmlStrToInt64(std::string_view AText);
bool XmlTryStrToInt(std::string_view AText, int32_t& AValue);
bool XmlTryStrToInt64(std::string_view AText, int64_t& AValue);

// Binary data as text.  The decoders raise EFilerError "Missing data in
// binary stream" when the text is too short for ACount bytes.
std::string EncodeBase64(const void* ABuffer, int ACount);
void DecodeBase64(std::string_view ASource, void* ABuffer, int ACount);
std::string BufferToHex(const void* ABuffer, int ACount);
void HexToBuffer(std::string_view ASource, void* ABuffer, int ACount);

// Inserts AChars before the first character, every AInterval characters
// and after the last one.
std::string AddControlChars(std::string_view AText, std::string_view AChars, int AInterval);
// Removes blanks, tabs, CR and LF.
std::string RemoveControlChars(std::string_view AText);

// UTF-16 <-> UTF-8.  A surrogate pair becomes one four-byte sequence and
// back; a lone surrogate is kept as a three-byte sequence.  Utf8ToWide
// gives the empty text when the input is not well-formed.
std::string WideToUtf8(std::u16string_view AText);
std::u16string Utf8ToWide(std::string_view AText);
// The single-byte code page of the platform (Windows-1252) to and from
// UTF-8.  Characters the code page lacks become "?".
std::string CodePageToUtf8(std::string_view AText);
std::string Utf8ToCodePage(std::string_view AText);

// Replaces every occurrence of AOld (case-sensitive, left to right).
std::string ReplaceString(std::string_view AText, std::string_view AOld, std::string_view ANew);

// Blank characters of XML texts: blank, tab, LF, CR.
inline bool IsXmlBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
// The text without leading and trailing blank characters.
std::string_view TrimXmlBlanks(std::string_view AText);

} // namespace xml
