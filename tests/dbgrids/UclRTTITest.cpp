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

namespace {

// A small described hierarchy: a pet with two properties, a dog adding
// three of its own (one read-only, one with a default, one with a stored
// test).
class TRttiPet : public rtl::TPersistent {
    RTL_CLASS(TRttiPet, rtl::TPersistent)
public:
    int32_t Legs() const { return FLegs; }
    void SetLegs(int32_t v) { FLegs = v; }
    std::string Nick() const { return FNick; }
    void SetNick(std::string v) { FNick = std::move(v); }

private:
    int32_t FLegs = 4;
    std::string FNick;
};

class TRttiDog : public TRttiPet {
    RTL_CLASS(TRttiDog, TRttiPet)
public:
    TColourPick Coat() const { return FCoat; }
    void SetCoat(TColourPick v) { FCoat = v; }
    int32_t Age() const { return 3; }
    bool Barks() const { return FBarks; }
    void SetBarks(bool v) { FBarks = v; }
    bool BarksStored() const { return !FBarks; }

private:
    TColourPick FCoat = TColourPick::cpGrey;
    bool FBarks = false;
};

RTL_PUBLISHED(TRttiPet)
{
    c.Property("Legs", &TRttiPet::Legs, &TRttiPet::SetLegs);
    c.Property("Nick", &TRttiPet::Nick, &TRttiPet::SetNick);
}

RTL_PUBLISHED(TRttiDog)
{
    c.Property("Coat", &TRttiDog::Coat, &TRttiDog::SetCoat).Default(TColourPick::cpGrey);
    c.Property("Age", &TRttiDog::Age);
    c.Property("Barks", &TRttiDog::Barks, &TRttiDog::SetBarks).Stored(&TRttiDog::BarksStored);
}

} // namespace

TEST(UclRTTI, ClassWrapperEnumeratesOwnThenInheritedProperties)
{
    TUclClassTypeInfo dog(TRttiDog::StaticClassInfo());
    EXPECT_EQ(dog.Name(), "TRttiDog");
    EXPECT_EQ(dog.PropertyCount(), 3);
    EXPECT_EQ(dog.TotalPropertyCount(), 5);
    ASSERT_NE(dog.Parent(), nullptr);
    EXPECT_EQ(dog.Parent()->Name(), "TRttiPet");
    // The own properties first, then the parent's.
    std::vector<std::string> names;
    for (int i = 0; i < dog.TotalPropertyCount(); ++i) names.push_back(dog.Properties(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Coat", "Age", "Barks", "Legs", "Nick"}));
    EXPECT_EQ(dog.Properties(5), nullptr);
    EXPECT_EQ(dog.Properties(-1), nullptr);

    // By name, case ignored, inherited included.
    ASSERT_NE(dog.PropNames("legs"), nullptr);
    EXPECT_EQ(dog.PropNames("legs")->PropType()->Name(), "Integer");
    EXPECT_EQ(dog.PropNames("Tail"), nullptr);

    struct Case {
        const char* name;
        std::string typeName;
        bool hasDefault;
        int32_t def;
        TUclPropSpecKind writer, stored;
    } cases[] = {
        {"Coat", "TColourPick", true, 4, TUclPropSpecKind::pskStaticMethod, TUclPropSpecKind::pskConstant},
        {"Age", "Integer", false, TUclPropInfo::kNone, TUclPropSpecKind::pskNone, TUclPropSpecKind::pskConstant},
        {"Barks", "Boolean", false, TUclPropInfo::kNone, TUclPropSpecKind::pskStaticMethod,
         TUclPropSpecKind::pskStaticMethod},
        {"Nick", "AnsiString", false, TUclPropInfo::kNone, TUclPropSpecKind::pskStaticMethod,
         TUclPropSpecKind::pskConstant},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = dog.PropNames(c.name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->PropType()->Name(), c.typeName);
        EXPECT_EQ(p->HasDefault(), c.hasDefault);
        EXPECT_EQ(p->Default(), c.def);
        EXPECT_FALSE(p->HasIndex());
        EXPECT_EQ(p->ReaderType(), TUclPropSpecKind::pskStaticMethod);
        EXPECT_EQ(p->WriterType(), c.writer);
        EXPECT_EQ(p->StoredType(), c.stored);
    }
    // The stored test asks the instance.
    TRttiDog rex;
    auto barks = dog.PropNames("Barks");
    EXPECT_TRUE(barks->IsStored(&rex));
    rex.SetBarks(true);
    EXPECT_FALSE(barks->IsStored(&rex));
    EXPECT_EQ(dog.PropNames("Nick")->StoredValue(), 1u);
    EXPECT_EQ(dog.PropNames("Legs")->NameIndex(), 0);  // in TRttiPet's list

    // The wrapper of a class property's type, and an enumeration's width.
    auto coat = dog.PropNames("Coat")->PropType();
    auto* coatEnum = dynamic_cast<TUclEnumerationTypeInfo*>(coat.get());
    ASSERT_NE(coatEnum, nullptr);
    EXPECT_EQ(coatEnum->OrdinalType(), rtl::TOrdType::otUByte);
    EXPECT_EQ(coatEnum->MaxValue(), 4);
}

TEST(UclRTTI, ShortStringAndOrdinalWrappers)
{
    auto s = TypeInfoWrapper(rtl::TypeInfoShortString());
    auto* str = dynamic_cast<TUclStringTypeInfo*>(s.get());
    ASSERT_NE(str, nullptr);
    EXPECT_EQ(str->MaxLength(), 255);
    TUclStringDumpWriter dump, decl;
    s->WriteDump(dump);
    s->WriteDeclaration(decl);
    EXPECT_EQ(dump.Lines.back(), "Max length: 255");
    EXPECT_EQ(decl.Lines, (std::vector<std::string>{"ShortString = string[255];"}));

    auto w = TypeInfoWrapper(rtl::TypeInfoWord());
    auto* word = dynamic_cast<TUclOrdinalRangeTypeInfo*>(w.get());
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->OrdinalType(), rtl::TOrdType::otUWord);
    EXPECT_EQ(word->MaxValue(), 65535);
    // A set is an ordinal type too: its dump names its width.
    auto set = TypeInfoWrapper(SetType());
    ASSERT_NE(dynamic_cast<TUclOrdinalTypeInfo*>(set.get()), nullptr);
}
