// Text routines with 1-based positions, case mapping, UTF-8 <-> UTF-16 and
// number <-> text conversions.  Strings hold UTF-8; positions and lengths
// count bytes unless a routine says otherwise.  Number texts always use "."
// as the decimal point, whatever the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// --- 1-based substring routines -------------------------------------------

// Position (1-based) of the first occurrence of sub in s, or 0 when absent
// or when sub is empty.
int Pos(std::string_view sub, std::string_view s);
// As Pos, starting the search at position offset (1-based); 0 when offset is
// outside 1..Length(s).
int PosEx(std::string_view sub, std::string_view s, int offset = 1);
// Up to count characters of s from position index (1-based).  An index below
// 1 is taken as 1; past the end or a count <= 0 gives "".
std::string Copy(std::string_view s, int index, int count = 0x7FFFFFFF);
// Removes up to count characters from position index (1-based); an index
// outside 1..Length(s) or a count <= 0 leaves s unchanged.
void Delete(std::string& s, int index, int count);
// Inserts sub before position index (1-based); an index below 1 inserts at
// the front, past the end appends.
void Insert(std::string_view sub, std::string& s, int index);
inline int Length(std::string_view s) { return static_cast<int>(s.size()); }

// --- trimming and case ----------------------------------------------------

// Trimming removes spaces and control characters (code <= 32).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// ASCII case mapping (bytes >= 128 are kept).
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Unicode-aware case mapping of UTF-8 text (Latin, Greek, Cyrillic ...).
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// Comparisons: < 0, 0, > 0.  CompareText ignores ASCII case;
// AnsiCompareText ignores case of any letter.
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);
bool EndsText(std::string_view suffix, std::string_view s);

enum class TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
// Replaces the first (or every, with all = true) occurrence of from by to.
std::string StringReplace(std::string_view s, std::string_view from, std::string_view to,
                          bool all = true, bool ignoreCase = false);
std::string StringOfChar(char c, int count);
std::string QuotedStr(std::string_view s, char quote = '\'');
// Removes surrounding quotes and undoubles inner ones; text without a
// leading quote is returned as it is.
std::string DequotedStr(std::string_view s, char quote = '\'');
std::vector<std::string> SplitString(std::string_view s, char delimiter);

// --- UTF-8 and UTF-16 -----------------------------------------------------

// Malformed UTF-8 sequences become U+FFFD; characters beyond U+FFFF become
// surrogate pairs.
std::u16string UTF8ToUTF16(std::string_view s);
// Unpaired surrogates become U+FFFD.
std::string UTF16ToUTF8(std::u16string_view s);
// Appends the UTF-8 encoding of one code point; surrogates and values
// beyond U+10FFFF become U+FFFD.
void AppendUTF8(std::string& out, char32_t cp);
// The same, but a surrogate is kept in its three-byte form, so that 16-bit
// text with an unpaired half survives a round trip through UTF-8.
void AppendUTF8AllowSurrogates(std::string& out, char32_t cp);
// Decodes the code point at byte position i (0-based) and advances i; a
// malformed sequence yields U+FFFD and advances one byte.
char32_t NextUTF8(std::string_view s, std::size_t& i);
// Number of code points.
int UTF8Length(std::string_view s);

// --- character categories -------------------------------------------------

// True for a character of the Unicode number categories: decimal digit (Nd),
// letter number (Nl) and other number (No), so '7', U+00B2 (superscript two)
// and U+00BD (one half) all count (Unicode 14 tables).
bool IsNumberChar(char32_t c);

// --- numbers and text -----------------------------------------------------

std::string IntToStr(int64_t value);
std::string UIntToStr(uint64_t value);
// Upper-case hexadecimal, at least digits digits.
std::string IntToHex(uint64_t value, int digits);

// Integer texts: optional blanks before, optional sign, decimal digits or
// "$"/"0x" hexadecimal; nothing after.  Failure raises EConvertError
// "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
int64_t StrToInt64Def(std::string_view s, int64_t def);
bool TryStrToInt(std::string_view s, int32_t& value);
bool TryStrToInt64(std::string_view s, int64_t& value);

// Float texts: blanks around, optional sign, digits with an optional "."
// fraction, optional exponent ("e" or "E", optional sign).  "," is never a
// decimal point.  Failure raises EConvertError
// "'<text>' is not a valid floating point value".
long double StrToFloat(std::string_view s);
long double StrToFloatDef(std::string_view s, long double def);
bool TryStrToFloat(std::string_view s, long double& value);
bool TryStrToFloat(std::string_view s, double& value);

// Pascal's Val: converts s and reports in code the 1-based position of the
// first offending character (0 on success).
void Val(std::string_view s, long double& value, int& code);
void Val(std::string_view s, int32_t& value, int& code);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The general text of a value: 15 significant digits, trailing zeros
// removed, fixed notation unless the exponent is below -5 or at least 15
// ("0.1", "-1E-7", "1.5E300", "INF", "NAN").
std::string FloatToStr(long double value);
// Delphi-style FloatToStrF: precision significant digits; digits is the
// number of decimals (ffFixed, ffNumber) or the minimum exponent digits
// (ffExponent, ffGeneral).
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
// FormatFloat with a picture: "0", "#", ".", ",", "E+00" and literal text
// in quotes; up to three sections separated by ";" (positive;negative;zero).
std::string FormatFloat(std::string_view picture, long double value);

// Rounds to the nearest integer, ties to even.
int64_t Round(long double value);
int64_t Trunc(long double value);

} // namespace rtl
