// Set values as member texts and back, over registry enumerations and
// integer subranges.
#include <gtest/gtest.h>

#include "dbgrids/ucl/UclRTTI.h"
#include "platform/rtl/Collections.h"

using namespace ucl;

namespace {

enum class TColourPick { cpRed, cpGreen, cpBlue, cpCyan, cpGrey };
RTL_ENUM(TColourPick, "cpRed", "cpGreen", "cpBlue", "cpCyan", "cpGrey")
using TColourPicks = rtl::Set<TColourPick>;
RTL_SET(TColourPicks, TColourPick)

const rtl::TTypeInfo* SetType() { return RtlTypeInfoOf(static_cast<TColourPicks*>(nullptr)); }

uint64_t Mask(std::initializer_list<TColourPick> picks) { return TColourPicks(picks).ToMask(); }

} // namespace

TEST(UclRTTI, SetToTextPlainRangedAndBracketed)
{
    uint64_t v = Mask({TColourPick::cpGreen, TColourPick::cpBlue, TColourPick::cpCyan});
    EXPECT_EQ(SetToText(SetType(), v), "cpGreen, cpBlue, cpCyan");
    EXPECT_EQ(SetToText(SetType(), v, false, true), "cpGreen .. cpCyan");
    EXPECT_EQ(SetToText(SetType(), v, true, false), "[cpGreen, cpBlue, cpCyan]");
    EXPECT_EQ(SetToText(SetType(), Mask({TColourPick::cpRed, TColourPick::cpBlue}), true, true), "[cpRed, cpBlue]");
    EXPECT_EQ(SetToText(SetType(), 0), "");
    EXPECT_EQ(SetToText(SetType(), 0, true), "[]");
}

TEST(UclRTTI, TextToSetIgnoresCaseAndNamesTheUnknown)
{
    EXPECT_EQ(TextToSet(SetType(), "[]"), 0u);
    EXPECT_EQ(TextToSet(SetType(), "[CPRED, cpblue]"), Mask({TColourPick::cpRed, TColourPick::cpBlue}));
    EXPECT_EQ(TextToSet(SetType(), "cpGreen .. cpCyan"),
              Mask({TColourPick::cpGreen, TColourPick::cpBlue, TColourPick::cpCyan}));
    EXPECT_EQ(TextToSet(SetType(), "cpCyan .. cpGreen"), 0u);  // reversed range: nothing
    try {
        TextToSet(SetType(), "[cpRed, cpPink]");
        FAIL() << "no error";
    } catch (const EUclRTTIError& e) {
        EXPECT_EQ(e.Message(), "Unknown identifier 'cpPink'.");
    }
    for (uint64_t m = 0; m < 32; ++m) EXPECT_EQ(TextToSet(SetType(), SetToText(SetType(), m, true, true)), m);
}

TEST(UclRTTI, SubrangeBitsFollowTheBitRule)
{
    // 7 .. 8: FirstBit 7, member 7 is bit 7 of byte 0, member 8 bit 0 of byte 1.
    TUclSetTypeInfo sub(TUclOrdinalRangeTypeInfo::Subrange("T78", 7, 8));
    EXPECT_EQ(sub.ValueSize(), 2u);
    uint8_t value[2] = {0xFF, 0xFF};
    TextToSet(sub, value, "8");
    EXPECT_EQ(value[0], 0x00);  // cleared before the members are set
    EXPECT_EQ(value[1], 0x01);
    TextToSet(sub, value, "[7, 8]");
    EXPECT_EQ(value[0], 0x80);
    EXPECT_EQ(value[1], 0x01);
    EXPECT_EQ(SetToText(sub, value, true, true), "[7 .. 8]");
    EXPECT_THROW(TextToSet(sub, value, "x"), rtl::EConvertError);
}

TEST(UclRTTI, OrdinalTextsAndBitArrays)
{
    const rtl::TTypeInfo* e = RtlTypeInfoOf(static_cast<TColourPick*>(nullptr));
    EXPECT_EQ(OrdinalToText(e, 2), "cpBlue");
    EXPECT_EQ(OrdinalToText(e, 7), "Value out of range (ordinal=7).");
    uint32_t words[2] = {0, 0};
    SetBitInArray(words, 33);
    EXPECT_EQ(words[1], 2u);
    EXPECT_TRUE(TestBitInArray(words, 33));
    EXPECT_FALSE(TestBitInArray(words, 32));
}

TEST(UclRTTI, DumpsAndDeclarations)
{
    auto set = TypeInfoWrapper(SetType());
    TUclStringDumpWriter dump;
    set->WriteDump(dump);
    ASSERT_GE(dump.Lines.size(), 6u);
    EXPECT_EQ(dump.Lines[0], "Name: TColourPicks");
    EXPECT_EQ(dump.Lines[1], "Type kind: tkSet");
    EXPECT_EQ(dump.Lines[4], "Based on: ");
    EXPECT_EQ(dump.Lines[5], "  Name: TColourPick");
    EXPECT_EQ(dump.Lines.back(), "  Names: (cpRed, cpGreen, cpBlue, cpCyan, cpGrey)");
    TUclStringDumpWriter decl;
    set->WriteDeclaration(decl);
    TypeInfoWrapper(RtlTypeInfoOf(static_cast<TColourPick*>(nullptr)))->WriteDeclaration(decl);
    TypeInfoWrapper(rtl::TypeInfoDouble())->WriteDeclaration(decl);
    TypeInfoWrapper(rtl::TypeInfoAnsiString())->WriteDeclaration(decl);
    ASSERT_EQ(decl.Lines.size(), 4u);
    EXPECT_EQ(decl.Lines[0], "TColourPicks = set of TColourPick; // otSLong");
    EXPECT_EQ(decl.Lines[1], "TColourPick = (cpRed, cpGreen, cpBlue, cpCyan, cpGrey); // otUByte");
    EXPECT_EQ(decl.Lines[2], "Double = type Double;");
    EXPECT_EQ(decl.Lines[3].rfind("// Declaration for '", 0), 0u);
    TUclStringDumpWriter cls;
    TUclClassTypeInfo(rtl::TCollectionItem::StaticClassInfo()).WriteDeclaration(cls);
    EXPECT_EQ(cls.Lines.back(), "end;");
}
