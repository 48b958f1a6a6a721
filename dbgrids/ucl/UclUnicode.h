// Unicode character data in the compact "UNICODEDATA" formats (case
// mappings, categories, combining classes, decompositions, compositions,
// numeric values): readers that turn the bytes of each format into tables.
// No such data ships with the program and nothing reads it; the readers
// keep the formats exact for whoever supplies the data.  Also the
// locale-aware, case-insensitive comparison of texts that the unit chooses
// at start-up.
//
// The one rule: every reader checks its bounds and raises EUclError
// "Invalid Unicode data: <name>" on a short or malformed block; a table is
// never half filled.
//
//   ucl::TUnicodeCaseTable t = ucl::ReadUnicodeCase(bytes);
//   auto upper = t.Mapping(U'a', ucl::TCaseType::ctUpper);   // {U'A'}
//   int c = ucl::LocaleCompareText(u"Abc", u"aBC");          // 0
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dbgrids/ucl/UclBase.h"
#include "platform/rtl/Set.h"

namespace ucl {

enum class TCharacterCategory {
    ccLetterUppercase, ccLetterLowercase, ccLetterTitlecase, ccMarkNonSpacing, ccMarkSpacingCombining,
    ccMarkEnclosing, ccNumberDecimalDigit, ccNumberLetter, ccNumberOther, ccSeparatorSpace, ccSeparatorLine,
    ccSeparatorParagraph, ccOtherControl, ccOtherFormat, ccOtherSurrogate, ccOtherPrivate, ccOtherUnassigned,
    ccLetterModifier, ccLetterOther, ccPunctuationConnector, ccPunctuationDash, ccPunctuationOpen,
    ccPunctuationClose, ccPunctuationInitialQuote, ccPunctuationFinalQuote, ccPunctuationOther, ccSymbolMath,
    ccSymbolCurrency, ccSymbolModifier, ccSymbolOther, ccLeftToRight, ccLeftToRightEmbedding,
    ccLeftToRightOverride, ccRightToLeft, ccRightToLeftArabic, ccRightToLeftEmbedding, ccRightToLeftOverride,
    ccPopDirectionalFormat, ccEuropeanNumber, ccEuropeanNumberSeparator, ccEuropeanNumberTerminator,
    ccArabicNumber, ccCommonNumberSeparator, ccBoundaryNeutral, ccSegmentSeparator, ccWhiteSpace,
    ccOtherNeutrals, ccComposed, ccNonBreaking, ccSymmetric, ccHexDigit, ccQuotationMark, ccMirroring,
    ccAssigned, ccASCIIHexDigit, ccBidiControl, ccDash, ccDeprecated, ccDiacritic, ccExtender, ccHyphen,
    ccIdeographic, ccIDSBinaryOperator, ccIDSTrinaryOperator, ccJoinControl, ccLogicalOrderException,
    ccNonCharacterCodePoint, ccOtherAlphabetic, ccOtherDefaultIgnorableCodePoint, ccOtherGraphemeExtend,
    ccOtherIDContinue, ccOtherIDStart, ccOtherLowercase, ccOtherMath, ccOtherUppercase, ccPatternSyntax,
    ccPatternWhiteSpace, ccRadical, ccSoftDotted, ccSTerm, ccTerminalPunctuation, ccUnifiedIdeograph,
    ccVariationSelector
};
constexpr int kCharacterCategoryCount = 83;
using TCharacterCategories = rtl::Set<TCharacterCategory, 128>;

enum class TCompatibilityFormattingTag {
    cftCanonical, cftFont, cftNoBreak, cftInitial, cftMedial, cftFinal, cftIsolated, cftCircle, cftSuper,
    cftSub, cftVertical, cftWide, cftNarrow, cftSmall, cftSquare, cftFraction, cftCompat
};

enum class TCaseType { ctFold, ctLower, ctTitle, ctUpper };

struct TUcNumber {
    int32_t Numerator = 0;
    int32_t Denominator = 0;
};

using TCodeSequence = std::vector<char32_t>;

// "CASE": four mappings per code point; an empty one maps to itself.
struct TUnicodeCaseTable {
    std::map<char32_t, std::array<TCodeSequence, 4>> Entries;
    TCodeSequence Mapping(char32_t cp, TCaseType type) const;
};

// "CATEGORIES": inclusive ranges per category.
struct TUnicodeCategoryTable {
    std::vector<std::pair<TCharacterCategory, std::vector<std::pair<char32_t, char32_t>>>> Blocks;
    TCharacterCategories CategoriesOf(char32_t cp) const;
};

// "COMBINING": inclusive ranges per canonical combining class (0 absent).
struct TUnicodeCombiningTable {
    std::vector<std::pair<uint8_t, std::vector<std::pair<char32_t, char32_t>>>> Blocks;
    uint8_t ClassOf(char32_t cp) const;
};

struct TDecomposition {
    TCompatibilityFormattingTag Tag = TCompatibilityFormattingTag::cftCanonical;
    TCodeSequence Leaves;
};
// "DECOMPOSITION".
struct TUnicodeDecompositionTable {
    std::map<char32_t, TDecomposition> Entries;
    const TDecomposition* Find(char32_t cp) const;
};

// "COMPOSITION": entries in the file's order of sequences.
struct TUnicodeCompositionTable {
    std::vector<std::pair<char32_t, TCodeSequence>> Entries;
    // The first composed code point of that sequence; 0 when none.
    char32_t Compose(const TCodeSequence& seq) const;
};

// "NUMBERS".
struct TUnicodeNumberTable {
    std::vector<TUcNumber> Numbers;
    std::map<char32_t, uint8_t> Codes;
    bool NumberOf(char32_t cp, TUcNumber& number) const;
};

TUnicodeCaseTable ReadUnicodeCase(std::string_view bytes);
TUnicodeCategoryTable ReadUnicodeCategories(std::string_view bytes);
TUnicodeCombiningTable ReadUnicodeCombining(std::string_view bytes);
TUnicodeDecompositionTable ReadUnicodeDecomposition(std::string_view bytes);
TUnicodeCompositionTable ReadUnicodeComposition(std::string_view bytes);
TUnicodeNumberTable ReadUnicodeNumbers(std::string_view bytes);

// The ANSI code page of a locale (1252 here for every locale).
int AnsiCodePageOfLocale(uint32_t locale);
// Case-insensitive comparison under the user's locale: -1, 0, 1; -2 when it
// cannot be made.  The ANSI form compares the texts after their trip
// through the locale's ANSI code page.
int LocaleCompareTextWide(const std::u16string& s1, const std::u16string& s2, uint32_t locale = 0x400);
int LocaleCompareTextAnsi(const std::u16string& s1, const std::u16string& s2, uint32_t locale = 0x400);
// The comparison chosen at start-up (the wide form on the NT family).
int LocaleCompareText(const std::u16string& s1, const std::u16string& s2, uint32_t locale = 0x400);

// Start-up and shut-down of the unit.
void InitUclUnicode();
void FinalizeUclUnicode();

} // namespace ucl
