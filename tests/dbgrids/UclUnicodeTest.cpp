// Readers of the six Unicode data formats, on small blocks made here, and
// the case-insensitive locale comparison.
#include <gtest/gtest.h>

#include "dbgrids/ucl/UclUnicode.h"

using namespace ucl;
using C = TCharacterCategory;

namespace {

struct TBytes {
    std::string b;
    TBytes& u8(uint32_t v) { b += static_cast<char>(v); return *this; }
    TBytes& u32(uint32_t v) { for (int i = 0; i < 4; ++i) b += static_cast<char>(v >> (8 * i)); return *this; }
    TBytes& cp(char32_t v) { for (int i = 0; i < 3; ++i) b += static_cast<char>(v >> (8 * i)); return *this; }
    TBytes& seq(std::initializer_list<char32_t> s) { u8(static_cast<uint32_t>(s.size())); for (char32_t c : s) cp(c); return *this; }
};

} // namespace

TEST(UclUnicode, CaseMappings)
{
    TBytes d;
    d.u32(2);
    d.cp(0x61).seq({}).seq({}).seq({0x41}).seq({0x41});
    d.cp(0x1C5).seq({0x1C6}).seq({0x1C6}).seq({0x1C5}).seq({0x1C4});
    TUnicodeCaseTable t = ReadUnicodeCase(d.b);
    EXPECT_EQ(t.Mapping(0x61, TCaseType::ctFold), TCodeSequence{0x61});  // empty: itself
    EXPECT_EQ(t.Mapping(0x61, TCaseType::ctUpper), TCodeSequence{0x41});
    EXPECT_EQ(t.Mapping(0x1C5, TCaseType::ctLower), TCodeSequence{0x1C6});
    EXPECT_EQ(t.Mapping(0x1C5, TCaseType::ctTitle), TCodeSequence{0x1C5});
    EXPECT_EQ(t.Mapping(0x1C5, TCaseType::ctUpper), TCodeSequence{0x1C4});
    EXPECT_EQ(t.Mapping(0x5A, TCaseType::ctLower), TCodeSequence{0x5A});  // absent
}

TEST(UclUnicode, CategoriesCombiningAndNumbers)
{
    TBytes cat;
    for (C c : {C::ccLetterUppercase, C::ccLeftToRight, C::ccHexDigit, C::ccAssigned, C::ccASCIIHexDigit})
        cat.u8(static_cast<uint32_t>(c)).u32(1).cp(0x41).cp(0x46);
    cat.u8(static_cast<uint32_t>(C::ccOtherSurrogate)).u32(1).cp(0xD800).cp(0xDFFF);
    TUnicodeCategoryTable ct = ReadUnicodeCategories(cat.b);
    EXPECT_EQ(ct.CategoriesOf(0x41), (TCharacterCategories{C::ccLetterUppercase, C::ccLeftToRight, C::ccHexDigit,
                                                           C::ccAssigned, C::ccASCIIHexDigit}));
    EXPECT_EQ(ct.CategoriesOf(0xDABC), TCharacterCategories{C::ccOtherSurrogate});

    TBytes comb;
    comb.u8(1).u8(1).cp(0x334).cp(0x338);
    comb.u8(230).u8(1).cp(0x300).cp(0x314);
    TUnicodeCombiningTable cb = ReadUnicodeCombining(comb.b);
    EXPECT_EQ(cb.ClassOf(0x301), 230);
    EXPECT_EQ(cb.ClassOf(0x334), 1);
    EXPECT_EQ(cb.ClassOf(0x41), 0);

    TBytes num;
    num.u8(3).u32(5).u32(1).u32(1).u32(2).u32(static_cast<uint32_t>(-1)).u32(2);
    num.u32(2).cp(0x35).u8(0).cp(0xBD).u8(1);
    TUnicodeNumberTable nt = ReadUnicodeNumbers(num.b);
    TUcNumber n;
    ASSERT_TRUE(nt.NumberOf(0xBD, n));
    EXPECT_EQ(n.Numerator, 1);
    EXPECT_EQ(n.Denominator, 2);
    ASSERT_TRUE(nt.NumberOf(0x35, n));
    EXPECT_EQ(n.Numerator, 5);
    EXPECT_EQ(nt.Numbers[2].Numerator, -1);
    EXPECT_FALSE(nt.NumberOf(0x41, n));
}

TEST(UclUnicode, DecompositionsAndCompositions)
{
    TBytes dec;
    dec.u32(2);
    dec.cp(0xA0).u8(1).u8(static_cast<uint32_t>(TCompatibilityFormattingTag::cftNoBreak)).cp(0x20);
    dec.cp(0xC0).u8(2).u8(0).cp(0x41).cp(0x300);
    TUnicodeDecompositionTable dt = ReadUnicodeDecomposition(dec.b);
    ASSERT_NE(dt.Find(0xA0), nullptr);
    EXPECT_EQ(dt.Find(0xA0)->Tag, TCompatibilityFormattingTag::cftNoBreak);
    EXPECT_EQ(dt.Find(0xA0)->Leaves, TCodeSequence{0x20});
    EXPECT_EQ(dt.Find(0xC0)->Tag, TCompatibilityFormattingTag::cftCanonical);
    EXPECT_EQ(dt.Find(0xC0)->Leaves, (TCodeSequence{0x41, 0x300}));

    TBytes comp;
    comp.u32(2).cp(0x384).seq({0x20, 0x301}).cp(0xB4).seq({0x20, 0x301});
    TUnicodeCompositionTable cp = ReadUnicodeComposition(comp.b);
    EXPECT_EQ(cp.Compose({0x20, 0x301}), 0x384u);  // the first of equal sequences
    EXPECT_EQ(cp.Compose({0x20}), 0u);
}

TEST(UclUnicode, MalformedBlocksAreRefusedWhole)
{
    TBytes d;
    d.u32(5).cp(0x61).seq({}).seq({});  // promises five entries, holds less than one
    EXPECT_THROW(ReadUnicodeCase(d.b), EUclError);
    TBytes huge;
    huge.u32(0xFFFFFFFF);
    EXPECT_THROW(ReadUnicodeDecomposition(huge.b), EUclError);
    TBytes badCat;
    badCat.u8(200).u32(0);
    EXPECT_THROW(ReadUnicodeCategories(badCat.b), EUclError);
    TBytes badIndex;
    badIndex.u8(1).u32(1).u32(1).u32(1).cp(0x31).u8(4);
    EXPECT_THROW(ReadUnicodeNumbers(badIndex.b), EUclError);
}

TEST(UclUnicode, LocaleComparisonIgnoresCase)
{
    EXPECT_EQ(LocaleCompareText(u"Ärger", u"ärger"), 0);
    EXPECT_EQ(LocaleCompareText(u"abc", u"ABD"), -1);
    EXPECT_EQ(LocaleCompareText(u"b", u"A"), 1);
    EXPECT_EQ(LocaleCompareTextAnsi(u"Zebra", u"zebra"), 0);
}
