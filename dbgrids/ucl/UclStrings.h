// Text routines of the utility library on wide (UTF-16) texts: character
// classification and case through tables built once at start-up, search,
// replace, split and cut.  Positions are 1-based and 0 means "not found".
//
// The one rule: the tables are filled by InitUclStrings() (run by the
// utility start-up, dbgrids/ucl/UclStartup.h); the routines fill them on
// first use too, so calling them early is safe, only slower once.
//
//   std::u16string s = u"C:\\Data\\%form_name%.ini";
//   ucl::TextReplace(s, u"%FORM_NAME%", u"Main", {ucl::TTextReplaceFlag::trfIgnoreCase});
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbgrids/ucl/UclBase.h"
#include "platform/rtl/Set.h"

namespace ucl {

RTL_DECLARE_EXCEPTION(EUclStringError, EUclError)

enum class TTextReplaceFlag { trfReplaceAll, trfIgnoreCase };
using TTextReplaceFlags = rtl::Set<TTextReplaceFlag>;

// Sub-table offsets of the case map.
constexpr int kCaseMapLower = 0;
constexpr int kCaseMapUpper = 65536;
constexpr int kCaseMapSwap = 131072;

// Fills the wide type table and the wide case map (a second call does
// nothing).
void InitUclStrings();

uint16_t CharTypeOf(char16_t ch);   // the C1_ flags of the code unit
bool IsUpperChar(char16_t ch);
bool IsLowerChar(char16_t ch);
char16_t UpperChar(char16_t ch);
char16_t LowerChar(char16_t ch);
bool IsHexDigitChar(char16_t ch);

std::u16string TextLeft(const std::u16string& s, int count);
std::u16string TextMid(const std::u16string& s, int start, int count);
std::u16string TextRestFrom(const std::u16string& s, int start);
std::u16string TextUpperCopy(const std::u16string& s);
void TextUpperInPlace(std::u16string& s);
// Maps s through the sub-table at offset (kCaseMapLower/Upper/Swap).
void TextMapCase(std::u16string& s, int offset);
int TextPosNoCase(const std::u16string& subStr, const std::u16string& s);
int TextSearchNoCase(const std::u16string& subStr, const std::u16string& s, int index);
int TextFindFrom(const std::u16string& subStr, const std::u16string& s, int index);
std::u16string TextBeforeNoCase(const std::u16string& subStr, const std::u16string& s);
int FirstCharPos(const std::u16string& s, char16_t ch, int index);
int LastCharPos(const std::u16string& s, char16_t ch, int index);
std::u16string TextReplaceChar(const std::u16string& s, char16_t source, char16_t replacement);
void TextCutAtNull(std::u16string& s);
std::u16string TextEnsureSuffix(const std::u16string& suffix, const std::u16string& s);
// Replaces the first (every, with trfReplaceAll) occurrence of search.  An
// empty search raises EUclStringError "Search string cannot be blank"
// unless s is empty too, which then becomes the replacement.
void TextReplace(std::u16string& s, const std::u16string& search, const std::u16string& replacement,
                 TTextReplaceFlags flags);
// Splits at every separator; empty pieces only with allowEmpty, and an
// empty rest after the last separator never.
void SplitText(std::u16string s, const std::u16string& separator, std::vector<std::u16string>& list,
               bool allowEmpty);
void MoveTextChars(const std::u16string& source, int fromIndex, std::u16string& dest, int toIndex, int count);

// UTF-8 conveniences for callers that hold UTF-8 text.
std::string TextReplaceUtf8(const std::string& s, const std::string& search, const std::string& replacement,
                            TTextReplaceFlags flags);

} // namespace ucl
