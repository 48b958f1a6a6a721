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

// Accessors of every kind: a field, virtual getters, a stored constant.
class TRttiCat : public TRttiPet {
    RTL_CLASS(TRttiCat, TRttiPet)
public:
    int32_t Lives = 9;
    virtual bool Purrs() const { return true; }
    virtual int32_t Naps() const { return 2; }
};

RTL_PUBLISHED(TRttiCat)
{
    c.Property("Lives", &TRttiCat::Lives);
    c.Property("Purrs", &TRttiCat::Purrs).Stored(false);
    c.Property("Naps", &TRttiCat::Naps);
}

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
        // Read-only: the writer is the constant 0.
        {"Age", "Integer", false, TUclPropInfo::kNone, TUclPropSpecKind::pskConstant, TUclPropSpecKind::pskConstant},
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

namespace {

std::string HexAccess(uint64_t v)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "$%.16llX", static_cast<unsigned long long>(v));
    return buf;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& text)
{
    for (const auto& l : lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

} // namespace

TEST(UclRTTI, AccessValuesDecodeToFieldVirtualStaticAndConstant)
{
    // The decoding rules on raw values.
    struct Row {
        uint64_t v;
        TUclPropSpecKind kind;
        uint64_t value;
    } rows[] = {
        {0, TUclPropSpecKind::pskConstant, 0},
        {1, TUclPropSpecKind::pskConstant, 1},
        {2, TUclPropSpecKind::pskStaticMethod, 2},
        {0x55AA00001234ull, TUclPropSpecKind::pskStaticMethod, 0x55AA00001234ull},
        {rtl::TPropInfo::kAccessField | 0x28, TUclPropSpecKind::pskField, 0x28},
        {rtl::TPropInfo::kAccessVirtual | 0x30, TUclPropSpecKind::pskVirtualMethod, 0x30},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DecodePropAccess(r.v).Kind, r.kind) << r.v;
        EXPECT_EQ(DecodePropAccess(r.v).Value, r.value) << r.v;
    }

    // The registry records them from the declarations.
    TUclClassTypeInfo cat(TRttiCat::StaticClassInfo());
    TRttiCat tom;
    auto lives = cat.PropNames("Lives");
    EXPECT_EQ(lives->ReaderType(), TUclPropSpecKind::pskField);
    EXPECT_EQ(lives->ReaderValue(), static_cast<uint64_t>(reinterpret_cast<char*>(&tom.Lives) -
                                                          reinterpret_cast<char*>(static_cast<rtl::TObject*>(&tom))));
    auto purrs = cat.PropNames("Purrs"), naps = cat.PropNames("Naps");
    EXPECT_EQ(purrs->ReaderType(), TUclPropSpecKind::pskVirtualMethod);
    EXPECT_EQ(naps->ReaderType(), TUclPropSpecKind::pskVirtualMethod);
    EXPECT_EQ(naps->ReaderValue() - purrs->ReaderValue(), sizeof(void*));  // the next table slot
    EXPECT_EQ(purrs->StoredType(), TUclPropSpecKind::pskConstant);
    EXPECT_EQ(purrs->StoredValue(), 0u);  // False
    auto legs = cat.PropNames("Legs"), nick = cat.PropNames("Nick");
    EXPECT_EQ(legs->ReaderType(), TUclPropSpecKind::pskStaticMethod);
    EXPECT_EQ(legs->WriterType(), TUclPropSpecKind::pskStaticMethod);
    EXPECT_NE(legs->ReaderValue(), nick->ReaderValue());
    EXPECT_NE(legs->ReaderValue(), legs->WriterValue());

    // The dump and the declaration show them.
    TUclStringDumpWriter dump, decl;
    cat.WriteDump(dump);
    cat.WriteDeclaration(decl);
    EXPECT_TRUE(HasLine(dump.Lines, "    [read field " + HexAccess(lives->ReaderValue()) + "]"));
    EXPECT_TRUE(HasLine(dump.Lines, "    [read virtual method " + HexAccess(purrs->ReaderValue()) + "]"));
    EXPECT_TRUE(HasLine(dump.Lines, "    [stored=False]"));
    EXPECT_TRUE(HasLine(dump.Lines, "    [stored=True]"));
    EXPECT_FALSE(HasLine(dump.Lines, "[write"));  // all three are read-only
    EXPECT_TRUE(HasLine(decl.Lines, "  property Purrs: Boolean read [virtual method " +
                                        HexAccess(purrs->ReaderValue()) + "] stored = False;"));
    EXPECT_TRUE(HasLine(decl.Lines, "  property Lives: Integer read [field " + HexAccess(lives->ReaderValue()) +
                                        "] stored = True;"));
}

TEST(UclRTTI, EventInterfaceAndDynamicArrayWrappers)
{
    using F = rtl::TParamFlag;
    static const rtl::TTypeInfo event = rtl::TTypeInfo::Method(
        "TFindEvent", rtl::TMethodKind::mkFunction,
        {{{}, "Sender", "TObject"}, {{F::pfVar}, "Key", "Word"}, {{F::pfConst, F::pfArray}, "Args", "TVarRec"},
         {{F::pfArray}, "Names", "string"}, {{F::pfOut}, "Found", ""}},
        "Boolean");
    auto w = TypeInfoWrapper(&event);
    auto* ev = dynamic_cast<TUclEventTypeInfo*>(w.get());
    ASSERT_NE(ev, nullptr);
    EXPECT_EQ(ev->ParameterCount(), 5);
    EXPECT_EQ(ev->Parameters(1)->RecSize(), 3 + 3 + 4);
    EXPECT_EQ(ev->Parameters(5), nullptr);
    EXPECT_EQ(ev->ResultTypeName(), "Boolean");
    TUclStringDumpWriter decl, dump;
    ev->WriteDeclaration(decl);
    EXPECT_EQ(decl.Lines, (std::vector<std::string>{
                              "TFindEvent = function(Sender: TObject; var Key: Word; const Args: array of const; "
                              "Names: array of string; out Found): Boolean of object;"}));
    ev->WriteDump(dump);
    EXPECT_EQ(std::vector<std::string>(dump.Lines.begin() + 3, dump.Lines.end()),
              (std::vector<std::string>{"Method kind: mkFunction", "Parameter count: 5", "  Name: Sender",
                                        "  Type: TObject", "  Flags: []", "  ", "  Name: Key", "  Type: Word",
                                        "  Flags: [pfVar]", "  ", "  Name: Args", "  Type: TVarRec",
                                        "  Flags: [pfConst, pfArray]", "  ", "  Name: Names", "  Type: string",
                                        "  Flags: [pfArray]", "  ", "  Name: Found", "  Type: ", "  Flags: [pfOut]",
                                        "Return type: Boolean"}));
    static const rtl::TTypeInfo proc = rtl::TTypeInfo::Method("TNotify", rtl::TMethodKind::mkProcedure, {});
    TUclStringDumpWriter procDecl;
    TypeInfoWrapper(&proc)->WriteDeclaration(procDecl);
    EXPECT_EQ(procDecl.Lines, (std::vector<std::string>{"TNotify = procedure of object;"}));

    // Interfaces: the parent shows unless it is IUnknown; the GUID inside.
    using I = rtl::TIntfFlag;
    static const rtl::TTypeInfo unknown =
        rtl::TTypeInfo::Interface("IUnknown", nullptr, {I::ifHasGuid}, {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}, "System");
    static const rtl::TTypeInfo base = rtl::TTypeInfo::Interface(
        "IUclBaseInfo", &unknown, {I::ifHasGuid}, {0x7DAD5220, 0x46EA, 0x11D5, {0xB0, 0xC0, 0x48, 0x54, 0xE8, 0x25, 0xF3, 0x45}},
        "UclRTTI");
    static const rtl::TTypeInfo derived = rtl::TTypeInfo::Interface("IUclTypeInfo", &base, {}, {}, "UclRTTI", 4);
    TUclStringDumpWriter baseDecl, derivedDecl, derivedDump;
    TypeInfoWrapper(&base)->WriteDeclaration(baseDecl);
    EXPECT_EQ(baseDecl.Lines, (std::vector<std::string>{"IUclBaseInfo = interface // unit UclRTTI",
                                                        "  ['{7DAD5220-46EA-11D5-B0C0-4854E825F345}']", "end;"}));
    auto d = TypeInfoWrapper(&derived);
    d->WriteDeclaration(derivedDecl);
    EXPECT_EQ(derivedDecl.Lines,
              (std::vector<std::string>{"IUclTypeInfo = interface(IUclBaseInfo) // unit UclRTTI", "end;"}));
    d->WriteDump(derivedDump);
    EXPECT_EQ(std::vector<std::string>(derivedDump.Lines.begin() + 3, derivedDump.Lines.end()),
              (std::vector<std::string>{"Flags: []", "Unit name: UclRTTI", "Parent: IUclBaseInfo",
                                        "Property count: 4"}));
    EXPECT_EQ(dynamic_cast<TUclInterfaceTypeInfo&>(*d).Parent()->Parent()->Name(), "IUnknown");

    // Dynamic arrays: a named element by name, an anonymous one inline,
    // a missing one as "???".
    static const rtl::TTypeInfo anonEnum = rtl::TTypeInfo::Enumeration(".1", {"a", "b"});
    static const rtl::TTypeInfo ints =
        rtl::TTypeInfo::DynArray("TIntArray", rtl::TypeInfoInteger(), 4, false, 3, "Demo");
    static const rtl::TTypeInfo picks = rtl::TTypeInfo::DynArray("TPickArray", &anonEnum, 1, false, 17, "Demo");
    static const rtl::TTypeInfo none = rtl::TTypeInfo::DynArray("TNoArray", nullptr, 8, true, 0, "Demo");
    auto declOf = [](const rtl::TTypeInfo& t) {
        TUclStringDumpWriter w;
        TypeInfoWrapper(&t)->WriteDeclaration(w);
        return w.Lines;
    };
    EXPECT_EQ(declOf(ints), (std::vector<std::string>{"TIntArray = array of Integer; // Unit Demo"}));
    EXPECT_EQ(declOf(picks), (std::vector<std::string>{"TPickArray = array of (a, b); // Unit Demo"}));
    EXPECT_EQ(declOf(none), (std::vector<std::string>{"TNoArray = array of ???; // Unit Demo"}));
    TUclStringDumpWriter pickDump, noneDump;
    TypeInfoWrapper(&picks)->WriteDump(pickDump);
    EXPECT_EQ(pickDump.Lines[3], "Element size: 1");
    EXPECT_EQ(pickDump.Lines[4], "Element type: ");
    EXPECT_EQ(pickDump.Lines[5], "  Name: .1");  // the element's own dump, one level deeper
    EXPECT_EQ(pickDump.Lines.back(), "Unit name: Demo");
    TypeInfoWrapper(&none)->WriteDump(noneDump);
    EXPECT_EQ(std::vector<std::string>(noneDump.Lines.begin() + 3, noneDump.Lines.end()),
              (std::vector<std::string>{"Element size: 8", "Element type: ???", "Elements need clean up: True",
                                        "Variant type: 0", "Unit name: Demo"}));
}

TEST(UclRTTI, WrappersAreReachedThroughTheirInterfaces)
{
    // Each wrapper answers its own interface and those of its bases.
    auto e = TypeInfoWrapper(RtlTypeInfoOf(static_cast<TColourPick*>(nullptr)));
    const IUclTypeInfo* any = e.get();
    auto* en = dynamic_cast<const IUclEnumerationTypeInfo*>(any);
    ASSERT_NE(en, nullptr);
    EXPECT_EQ(en->IndexOfName("CPBLUE"), 2);
    EXPECT_EQ(dynamic_cast<const IUclOrdinalRangeTypeInfo*>(any)->MaxValue(), 4);
    EXPECT_EQ(dynamic_cast<const IUclOrdinalTypeInfo*>(any)->OrdinalType(), rtl::TOrdType::otUByte);
    EXPECT_EQ(dynamic_cast<const IUclSetInfo*>(any), nullptr);

    auto set = TypeInfoWrapper(SetType());
    auto* si = dynamic_cast<const IUclSetInfo*>(set.get());
    ASSERT_NE(si, nullptr);
    uint8_t value = 0;
    si->SetAsList(&value, {"cpRed", "cpCyan"});
    EXPECT_EQ(value, 0x09);

    auto i64 = TypeInfoWrapper(rtl::TypeInfoInt64());
    EXPECT_EQ(dynamic_cast<const IUclInt64Info&>(*i64).MinValue(), INT64_MIN);
    auto f = TypeInfoWrapper(rtl::TypeInfoExtended());
    EXPECT_EQ(dynamic_cast<const IUclFloatInfo&>(*f).FloatType(), rtl::TFloatType::ftExtended);

    // The identifiers of the family differ in their first field only.
    EXPECT_EQ(GuidToText(IUclTypeInfo::IID), "{7DAD5220-46EA-11D5-B0C0-4854E825F345}");
    EXPECT_EQ(GuidToText(IUclDynArrayInfo::IID), "{7DAD522E-46EA-11D5-B0C0-4854E825F345}");
    EXPECT_EQ(IUclEventParamInfo::IID.D1, 0x7DAD5229u);
}
