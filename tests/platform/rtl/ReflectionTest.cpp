#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/Collections.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/TypInfo.h"

namespace refltest {

using namespace rtl;

enum TShape { shCircle, shSquare, shTriangle };
RTL_ENUM(TShape, "shCircle", "shSquare", "shTriangle")
enum TStyle { stBold, stItalic, stUnderline };
RTL_ENUM(TStyle, "stBold", "stItalic", "stUnderline")
using TStyles = rtl::Set<TStyle>;
RTL_SET(TStyles, TStyle)

// A nested persistent object ("Font.Name").
class TFontLike : public TPersistent {
    RTL_CLASS(TFontLike, TPersistent)
public:
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }

private:
    std::string FName;
    int FSize = 0;
};

class TSampleItem : public TCollectionItem {
    RTL_CLASS(TSampleItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }

private:
    std::string FCaption;
};

// One published property of every kind.
class TSample : public TComponent {
    RTL_CLASS(TSample, TComponent)
public:
    explicit TSample(TComponent* owner)
        : TComponent(owner), FItems(TSampleItem::StaticClassInfo())
    {
    }

    int32_t Count() const { return FCount; }
    void SetCount(int32_t v) { FCount = v; }
    int64_t Big() const { return FBig; }
    void SetBig(int64_t v) { FBig = v; }
    uint16_t Col() const { return FCol; }
    void SetCol(uint16_t v) { FCol = v; }
    char Letter() const { return FLetter; }
    void SetLetter(char v) { FLetter = v; }
    TShape Shape() const { return FShape; }
    void SetShape(TShape v) { FShape = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TStyles Styles() const { return FStyles; }
    void SetStyles(TStyles v) { FStyles = v; }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    float Scale() const { return FScale; }
    void SetScale(float v) { FScale = v; }
    long double Price() const { return FPrice; }
    void SetPrice(long double v) { FPrice = v; }
    double When() const { return FWhen; }
    void SetWhen(double v) { FWhen = v; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    std::u16string Wide() const { return FWide; }
    void SetWide(const std::u16string& v) { FWide = v; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    Variant Value() const { return FValue; }
    void SetValue(const Variant& v) { FValue = v; }
    TFontLike* Font() const { return const_cast<TFontLike*>(&FFont); }
    void SetFont(TFontLike* v) { FFont.SetName(v->Name()); FFont.SetSize(v->Size()); }
    TComponent* Buddy() const { return FBuddy; }
    void SetBuddy(TComponent* v) { FBuddy = v; }
    TCollection* Items() const { return const_cast<TCollection*>(&FItems); }
    TStringList* Lines() const { return const_cast<TStringList*>(&FLines); }
    void SetLines(TStringList* v) { FLines.Assign(v); }
    int ReadOnlyCount() const { return 99; }

    TNotifyEvent OnChange;

    // Stored like a form: the owned components follow as children.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override
    {
        for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
    }

private:
    int32_t FCount = 0;
    int64_t FBig = 0;
    uint16_t FCol = 0;
    char FLetter = 'A';
    TShape FShape = shCircle;
    bool FVisible = true;
    TStyles FStyles;
    double FRatio = 0;
    float FScale = 0;
    long double FPrice = 0;
    double FWhen = 0;
    std::string FCaption, FTitle;
    std::u16string FWide;
    Variant FValue;
    TFontLike FFont;
    TComponent* FBuddy = nullptr;
    TCollection FItems;
    TStringList FLines;
};

// Redeclares Count with a default: it keeps its place.
class TSample2 : public TSample {
    RTL_CLASS(TSample2, TSample)
public:
    using TSample::TSample;
};

// A grid cell record of the binary cell stream.
class TTestCellIO : public TComponent {
    RTL_CLASS(TTestCellIO, TComponent)
public:
    using TComponent::TComponent;
    uint16_t Col() const { return FCol; }
    void SetCol(uint16_t v) { FCol = v; }
    uint16_t Row() const { return FRow; }
    void SetRow(uint16_t v) { FRow = v; }
    const std::string& Cell() const { return FCell; }
    void SetCell(const std::string& v) { FCell = v; }
    bool HasProp() const { return FHasProp; }
    void SetHasProp(bool v) { FHasProp = v; }

private:
    uint16_t FCol = 0, FRow = 0;
    std::string FCell;
    bool FHasProp = false;
};

// Stores data beyond its published properties.
class TWithData : public TComponent {
    RTL_CLASS(TWithData, TComponent)
public:
    using TComponent::TComponent;
    std::vector<std::string> extra;
    std::string blob;
    void DefineProperties(TFiler& filer) override
    {
        TComponent::DefineProperties(filer);
        filer.DefineProperty(
            "Extra",
            [this](TReader& r) {
                r.ReadListBegin();
                while (!r.EndOfList()) extra.push_back(r.ReadString());
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (const auto& e : extra) w.WriteString(e);
                w.WriteListEnd();
            },
            !extra.empty());
        filer.DefineBinaryProperty(
            "Blob", [this](TStream& s) { blob = s.ReadAll(); },
            [this](TStream& s) { s.WriteString(blob); }, !blob.empty());
    }
};

RTL_PUBLISHED(TFontLike)
{
    c.Property("Name", &TFontLike::Name, &TFontLike::SetName);
    c.Property("Size", &TFontLike::Size, &TFontLike::SetSize).Default(0);
}

RTL_PUBLISHED(TWithData) {}

RTL_PUBLISHED(TSampleItem)
{
    c.Property("Caption", &TSampleItem::Caption, &TSampleItem::SetCaption);
}

RTL_PUBLISHED(TSample)
{
    c.Property("Count", &TSample::Count, &TSample::SetCount);
    c.Property("Big", &TSample::Big, &TSample::SetBig);
    c.Property("Col", &TSample::Col, &TSample::SetCol);
    c.Property("Letter", &TSample::Letter, &TSample::SetLetter).Default('A');
    c.Property("Shape", &TSample::Shape, &TSample::SetShape).Default(shCircle);
    c.Property("Visible", &TSample::Visible, &TSample::SetVisible);
    c.Property("Styles", &TSample::Styles, &TSample::SetStyles).Default(TStyles{});
    c.Property("Ratio", &TSample::Ratio, &TSample::SetRatio);
    c.Property("Scale", &TSample::Scale, &TSample::SetScale);
    c.Property("Price", &TSample::Price, &TSample::SetPrice).As(TypeInfoCurrency());
    c.Property("When", &TSample::When, &TSample::SetWhen).As(TypeInfoDateTime());
    c.Property("Caption", &TSample::Caption, &TSample::SetCaption);
    c.Property("Wide", &TSample::Wide, &TSample::SetWide);
    c.Property("Title", &TSample::Title, &TSample::SetTitle).As(TypeInfoWideString());
    c.Property("Value", &TSample::Value, &TSample::SetValue);
    c.Property("Font", &TSample::Font, &TSample::SetFont);
    c.Property("Buddy", &TSample::Buddy, &TSample::SetBuddy);
    c.Property("Items", &TSample::Items);
    c.Property("Lines", &TSample::Lines, &TSample::SetLines);
    c.Property("ReadOnlyCount", &TSample::ReadOnlyCount);
    c.Event("OnChange", &TSample::OnChange);
}

RTL_PUBLISHED(TSample2)
{
    c.Property("Count", &TSample2::Count, &TSample2::SetCount).Default(5);
}

RTL_PUBLISHED(TTestCellIO)
{
    c.Property("Col", &TTestCellIO::Col, &TTestCellIO::SetCol);
    c.Property("Row", &TTestCellIO::Row, &TTestCellIO::SetRow);
    c.Property("Cell", &TTestCellIO::Cell, &TTestCellIO::SetCell);
    c.Property("HasProp", &TTestCellIO::HasProp, &TTestCellIO::SetHasProp);
}

// Short string: length byte and the characters.
std::string S(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
std::string B(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

void RegisterTestClasses()
{
    RegisterClasses({&TComponent::StaticClassInfo(), &TSample::StaticClassInfo(),
                     &TTestCellIO::StaticClassInfo(), &TSampleItem::StaticClassInfo(),
                     &TWithData::StaticClassInfo()});
}

// A sample with a value in every property, owning "Child1" as its buddy.
TSample* MakeFilledSample()
{
    auto* s = new TSample(nullptr);
    s->SetName("Sample1");
    auto* child = new TComponent(s);
    child->SetName("Child1");
    s->SetTag(7);
    s->SetCount(1000);
    s->SetBig(5000000000LL);
    s->SetCol(65535);
    s->SetLetter('Q');
    s->SetShape(shTriangle);
    s->SetVisible(false);
    s->SetStyles(TStyles{stBold, stUnderline});
    s->SetRatio(1.5);
    s->SetScale(0.5f);
    s->SetPrice(12.34L);
    s->SetWhen(EncodeDate(2000, 1, 1));
    s->SetCaption("Hello");
    s->SetWide(u"Gr\u00fc\u00dfe");
    s->SetTitle("\u03a9\u03bc\u03ad\u03b3\u03b1");
    s->SetValue(42);
    s->Font()->SetName("Arial");
    s->Font()->SetSize(10);
    s->SetBuddy(child);
    static_cast<TSampleItem*>(s->Items()->Add())->SetCaption("a");
    static_cast<TSampleItem*>(s->Items()->Add())->SetCaption("b");
    s->Lines()->Add("x");
    s->Lines()->Add("y");
    return s;
}

} // namespace refltest

using namespace rtl;
using namespace refltest;

TEST(Reflection, DescriptorsListPropertiesInBothOrders)
{
    const TClassInfo& cls = TSample::StaticClassInfo();
    EXPECT_EQ(cls.Name(), "TSample");
    EXPECT_EQ(cls.Parent(), &TComponent::StaticClassInfo());
    std::vector<std::string> decl;
    for (const TPropInfo* p : cls.PropList(TPropOrder::Declaration)) decl.push_back(p->Name());
    const std::vector<std::string> expectedDecl = {
        "Name", "Tag", "Count", "Big", "Col", "Letter", "Shape", "Visible", "Styles", "Ratio",
        "Scale", "Price", "When", "Caption", "Wide", "Title", "Value", "Font", "Buddy", "Items",
        "Lines", "ReadOnlyCount", "OnChange"};
    EXPECT_EQ(decl, expectedDecl);
    std::vector<std::string> alpha;
    for (const TPropInfo* p : cls.PropList(TPropOrder::Alphabetical)) alpha.push_back(p->Name());
    EXPECT_EQ(alpha.front(), "Big");
    EXPECT_EQ(alpha[1], "Buddy");
    EXPECT_EQ(alpha.back(), "Wide");

    // A redeclared property keeps its first place and takes the new default.
    const TClassInfo& cls2 = TSample2::StaticClassInfo();
    EXPECT_EQ(cls2.Properties()[2]->Name(), "Count");
    EXPECT_TRUE(cls2.Properties()[2]->HasDefault());
    EXPECT_EQ(cls2.Properties()[2]->Default(), 5);
    EXPECT_EQ(cls2.Properties().size(), cls.Properties().size());

    struct KindCase {
        const char* name;
        TTypeKind kind;
        const char* typeName;
    };
    const std::vector<KindCase> kinds = {
        {"Count", TTypeKind::tkInteger, "Integer"},   {"Big", TTypeKind::tkInt64, "Int64"},
        {"Col", TTypeKind::tkInteger, "Word"},        {"Letter", TTypeKind::tkChar, "Char"},
        {"Shape", TTypeKind::tkEnumeration, "TShape"}, {"Visible", TTypeKind::tkEnumeration, "Boolean"},
        {"Styles", TTypeKind::tkSet, "TStyles"},      {"Ratio", TTypeKind::tkFloat, "Double"},
        {"Scale", TTypeKind::tkFloat, "Single"},      {"Price", TTypeKind::tkFloat, "Currency"},
        {"When", TTypeKind::tkFloat, "TDateTime"},    {"Caption", TTypeKind::tkLString, "AnsiString"},
        {"Wide", TTypeKind::tkUString, "UnicodeString"}, {"Title", TTypeKind::tkWString, "WideString"},
        {"Value", TTypeKind::tkVariant, "Variant"},   {"Font", TTypeKind::tkClass, "TFontLike"},
        {"Buddy", TTypeKind::tkClass, "TComponent"},  {"Items", TTypeKind::tkClass, "TCollection"},
        {"Lines", TTypeKind::tkClass, "TStringList"}, {"OnChange", TTypeKind::tkMethod, "TNotifyEvent"},
        {"Tag", TTypeKind::tkInteger, "Integer"},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.name);
        const TPropInfo* p = cls.FindProperty(k.name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Kind(), k.kind);
        EXPECT_EQ(p->PropType()->Name(), k.typeName);
    }
    EXPECT_TRUE(cls.FindProperty("visible")->PropType()->IsBoolean());
    EXPECT_FALSE(cls.FindProperty("ReadOnlyCount")->IsWritable());
    EXPECT_EQ(cls.FindProperty("Styles")->PropType()->CompType->EnumNames[2], "stUnderline");
}

TEST(Reflection, EveryKindWrittenAndReadByNameAndPath)
{
    TSample s(nullptr);
    auto* child = new TComponent(&s);
    struct Case {
        const char* path;
        Variant in;
        Variant out;  // type and value read back
    };
    const std::vector<Case> cases = {
        {"Count", "12", 12},
        {"Big", 5000000000.0, Variant(5000000000LL)},
        {"Col", 65535, 65535},
        {"Letter", "Quiz", "Q"},
        {"Shape", "shSquare", 1},
        {"shape", 2, 2},
        {"Visible", false, false},
        {"Visible", "True", true},
        {"Visible", 0, false},
        {"Styles", "[stBold, stUnderline]", 5},
        {"Styles", 2, 2},
        {"Ratio", "2.5", 2.5},
        {"Scale", 0.25, 0.25},
        {"Price", 1.23456, Variant::FromCurrency(1.2346)},
        {"When", "2024-03-05", Variant::FromDate(EncodeDate(2024, 3, 5))},
        {"Caption", 12, Variant::AnsiString("12")},
        {"Wide", "\u00fc", Variant::UString("\u00fc")},
        {"Title", "t", Variant::OleStr("t")},
        {"Value", Variant::Null(), Variant::Null()},
        {"Value", Variant::OleStr("kept"), Variant::OleStr("kept")},
        {"Font.Name", "Courier", Variant::AnsiString("Courier")},
        {"Font.Size", 9.6, 10},
        {"Buddy", Variant::FromObject(child), Variant::FromObject(child)},
        {"Buddy", 0, 0},
        {"Tag", -3, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetPropValue(&s, c.path, c.in);
        Variant v = GetPropValue(&s, c.path);
        EXPECT_TRUE(SameValue(v, c.out)) << VarTypeAsText(v.VarType()) << " " << VarToStr(v);
    }
    EXPECT_EQ(s.Font()->Name(), "Courier");
    EXPECT_EQ(GetPropValue(&s, "Shape", true).AsString(), "shTriangle");
    SetPropValue(&s, "Styles", "[stItalic]");
    EXPECT_EQ(GetPropValue(&s, "Styles", true).AsString(), "[stItalic]");
    SetPropValue(&s, "Buddy", Variant::FromObject(child));
    EXPECT_EQ(GetPropValue(&s, "Buddy").AsObject(), child);

    // Errors: unknown names, read-only, wrong class, bad enumeration values.
    struct ErrCase {
        const char* path;
        Variant value;
        const char* message;
    };
    TStringList other;
    const std::vector<ErrCase> errors = {
        {"Nope", 1, "Property Nope does not exist"},
        {"Font.Nope", 1, "Property Font.Nope does not exist"},
        {"Caption.X", 1, "Property Caption.X does not exist"},
        {"ReadOnlyCount", 1, "Property ReadOnlyCount is read-only"},
        {"Buddy", Variant::FromObject(&other), "Invalid property value"},
        {"Shape", "shHexagon", "Could not convert variant of type (UnicodeString) into type (Integer)"},
        {"Shape", 3, "Invalid property value"},
        {"Styles", "[stBold,stNone]", "Invalid property element: stNone"},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(e.path);
        try {
            SetPropValue(&s, e.path, e.value);
            ADD_FAILURE() << "no error";
        } catch (const Exception& ex) {
            EXPECT_EQ(ex.Message(), e.message);
        }
    }
    EXPECT_THROW(GetPropValue(&s, "Font.Nope"), EPropertyError);
    EXPECT_EQ(GetPropValue(&s, "ReadOnlyCount").AsInteger(), 99);
}

TEST(Reflection, EventPropertiesAreTypedSlots)
{
    TSample s(nullptr);
    const TPropInfo* p = GetPropInfo(&s, "OnChange");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->EventSlot<std::function<void(int)>>(&s), nullptr);  // another signature
    TNotifyEvent* slot = p->EventSlot<TNotifyEvent>(&s);
    ASSERT_NE(slot, nullptr);
    TObject* seen = nullptr;
    *slot = [&](TObject* sender) { seen = sender; };
    EXPECT_TRUE(p->IsEventAssigned(&s));
    s.OnChange(&s);
    EXPECT_EQ(seen, &s);
    p->ClearEvent(&s);
    EXPECT_FALSE(static_cast<bool>(s.OnChange));
    EXPECT_FALSE(p->IsEventAssigned(&s));
    EXPECT_THROW(SetPropValue(&s, "OnChange", "Handler"), EPropertyConvertError);
}

TEST(Reflection, RegistryCreatesByNameAndTestsIsA)
{
    RegisterTestClasses();
    const TClassInfo& cls = FindClass("tsample");
    EXPECT_EQ(&cls, &TSample::StaticClassInfo());
    TComponent owner(nullptr);
    TObject* obj = cls.Create(&owner);
    auto* sample = dynamic_cast<TSample*>(obj);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->Owner(), &owner);
    EXPECT_TRUE(obj->InheritsFrom("TComponent"));
    EXPECT_TRUE(obj->InheritsFrom(TPersistent::StaticClassInfo()));
    EXPECT_FALSE(obj->InheritsFrom(TCollection::StaticClassInfo()));
    EXPECT_TRUE(cls.InheritsFrom(TComponent::StaticClassInfo()));
    EXPECT_FALSE(TComponent::StaticClassInfo().InheritsFrom(cls));

    try {
        FindClass("TNoSuchThing");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
    }
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    EXPECT_THROW(TCollection::StaticClassInfo().Create(), EInvalidOperation);

    // Undescribed classes report their nearest described ancestor.
    struct TLocal : TSample {
        using TSample::TSample;
    } local(nullptr);
    EXPECT_EQ(local.ClassType(), &TSample::StaticClassInfo());
    TStringList list;
    EXPECT_EQ(list.ClassType()->Name(), "TStringList");
    EXPECT_TRUE(list.InheritsFrom("TPersistent"));
    TComponent plain(nullptr);
    EXPECT_EQ(plain.ClassType(), &TComponent::StaticClassInfo());

    // Collection items are made by their class's factory.
    TCollection coll(TSampleItem::StaticClassInfo());
    TCollectionItem* item = coll.Add();
    EXPECT_NE(dynamic_cast<TSampleItem*>(item), nullptr);
    EXPECT_EQ(item->Collection(), &coll);
    EXPECT_THROW(TCollection(TSample::StaticClassInfo()), EInvalidOperation);
}

TEST(ObjectHandles, FreedObjectReadsBackAsNil)
{
    EXPECT_EQ(ObjectHandle(nullptr), 0);
    EXPECT_EQ(HandleToObject(0), nullptr);
    auto* a = new TComponent(nullptr);
    auto* b = new TComponent(a);
    int32_t ha = ObjectHandle(a), hb = ObjectHandle(b);
    EXPECT_NE(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(ObjectHandle(a), ha);  // stable
    EXPECT_EQ(HandleToObject(ha), a);
    Variant v = Variant::FromObject(b);
    EXPECT_EQ(VarType(v), varInteger);
    EXPECT_EQ(v.AsObject(), b);
    delete a;  // frees b too
    EXPECT_EQ(HandleToObject(ha), nullptr);
    EXPECT_EQ(HandleToObject(hb), nullptr);
    EXPECT_EQ(v.AsObject(), nullptr);
    // A new object never takes an old handle.
    TStringList c;
    EXPECT_NE(ObjectHandle(&c), ha);
    EXPECT_NE(ObjectHandle(&c), hb);
}

namespace {

struct Watcher : TComponent {
    using TComponent::TComponent;
    std::vector<std::string> heard;
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove) heard.push_back(c->Name() + (HandleToObject(ObjectHandle(c)) ? "+" : "-"));
        TComponent::Notification(c, op);
    }
};

} // namespace

TEST(ObjectHandles, OwnerTreeFreedWithNoticesDeliveredOnce)
{
    Watcher watcher(nullptr);
    auto* root = new TComponent(nullptr);
    root->SetName("Root");
    auto* a = new TComponent(root);
    a->SetName("A");
    auto* a1 = new TComponent(a);
    a1->SetName("A1");
    a->FreeNotification(&watcher);
    a1->FreeNotification(&watcher);
    root->FreeNotification(&watcher);
    AddGlobalComponent(root);
    EXPECT_EQ(FindGlobalComponent("root"), root);
    int32_t h = ObjectHandle(a1);
    delete root;
    // One notice per freed component; by then the handle already reads nil.
    std::vector<std::string> expected = {"Root-", "A-", "A1-"};
    EXPECT_EQ(watcher.heard, expected);
    EXPECT_EQ(HandleToObject(h), nullptr);
    EXPECT_EQ(FindGlobalComponent("Root"), nullptr);
}

TEST(ComponentStream, ExtendedEncodingIsExplicit)
{
    struct Case {
        long double value;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {0.0L, B({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {1.0L, B({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {1.5L, B({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
        {-2.0L, B({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
        {static_cast<long double>(0.1), B({0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {HUGE_VALL, B({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
    };
    for (const auto& c : cases) {
        uint8_t out[10];
        ExtendedToBytes(c.value, out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 10), c.bytes) << static_cast<double>(c.value);
        EXPECT_EQ(BytesToExtended(reinterpret_cast<const uint8_t*>(c.bytes.data())), c.value);
    }
    for (double d : {DBL_MIN, DBL_MAX, -1e-300, 36526.75, 1.0 / 3}) {
        uint8_t out[10];
        ExtendedToBytes(d, out);
        EXPECT_EQ(static_cast<double>(BytesToExtended(out)), d);
    }
}

TEST(ComponentStream, StringKindChoice)
{
    struct Case {
        std::string text;
        TValueType type;
    };
    const std::vector<Case> cases = {
        {"abc", TValueType::vaString},
        {std::string(255, 'a'), TValueType::vaString},
        {std::string(256, 'a'), TValueType::vaLString},
        {"Gr\u00fc\u00dfe", TValueType::vaUTF8String},          // 7 bytes < 2 x 5
        {"\u03a9\u03bc\u03ad\u03b3\u03b1", TValueType::vaWString},  // 10 bytes, not fewer than 2 x 5
        {"\u65e5\u672c", TValueType::vaWString},
        {"a\u00e9", TValueType::vaUTF8String},
        {"\U0001F600", TValueType::vaWString},                      // 4 bytes, two UTF-16 units
    };
    for (const auto& c : cases) EXPECT_EQ(StringValueType(c.text), c.type) << c.text.substr(0, 10);
}

TEST(ComponentStream, CellRecordMatchesGoldenBytes)
{
    RegisterTestClasses();
    TComponent grid(nullptr);
    TTestCellIO rec(&grid);
    rec.SetCol(3);
    rec.SetRow(300);
    rec.SetCell("Hi");
    rec.SetHasProp(true);
    TMemoryStream ms;
    WriteComponentToStream(ms, &rec);
    const std::string golden = "TPF0" + S("TTestCellIO") + S("") +  //
                               S("Col") + B({0x02, 0x03}) +          // vaInt8 3
                               S("Row") + B({0x03, 0x2C, 0x01}) +    // vaInt16 300
                               S("Cell") + B({0x06, 0x02}) + "Hi" +  // vaString
                               S("HasProp") + B({0x09}) +            // vaTrue
                               B({0x00, 0x00});
    EXPECT_EQ(std::string(ms.View()), golden);

    // Two records back to back are read one after the other into the same
    // receiving component; a property a record lacks keeps its value.
    rec.SetCol(4);
    rec.SetCell("");
    rec.SetHasProp(false);
    WriteComponentToStream(ms, &rec);
    ms.SetPosition(0);
    TTestCellIO in(&grid);
    in.SetCell("stale");
    ReadComponentFromStream(ms, &in);
    EXPECT_EQ(in.Col(), 3);
    EXPECT_EQ(in.Row(), 300);
    EXPECT_EQ(in.Cell(), "Hi");
    EXPECT_TRUE(in.HasProp());
    ReadComponentFromStream(ms, &in);
    EXPECT_EQ(in.Col(), 4);
    EXPECT_EQ(in.Cell(), "Hi");  // empty text not written: the old value stays
    EXPECT_FALSE(in.HasProp());
    EXPECT_EQ(ms.Position(), ms.Size());
    EXPECT_FALSE(in.IsLoading());
}

TEST(ComponentStream, EveryKindMatchesGoldenBytesAndReadsBackEqual)
{
    RegisterTestClasses();
    std::unique_ptr<TSample> s(MakeFilledSample());
    TMemoryStream ms;
    WriteComponentToStream(ms, s.get());

    const std::string golden =
        "TPF0" + S("TSample") + S("Sample1") +
        S("Tag") + B({0x02, 0x07}) +
        S("Count") + B({0x03, 0xE8, 0x03}) +
        S("Big") + B({0x13, 0x00, 0xF2, 0x05, 0x2A, 0x01, 0x00, 0x00, 0x00}) +
        S("Col") + B({0x04, 0xFF, 0xFF, 0x00, 0x00}) +
        S("Letter") + B({0x06, 0x01}) + "Q" +
        S("Shape") + B({0x07}) + S("shTriangle") +
        S("Visible") + B({0x08}) +
        S("Styles") + B({0x0B}) + S("stBold") + S("stUnderline") + S("") +
        S("Ratio") + B({0x05, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}) +
        S("Scale") + B({0x0F, 0x00, 0x00, 0x00, 0x3F}) +
        S("Price") + B({0x10, 0x08, 0xE2, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}) +
        S("When") + B({0x11, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xD5, 0xE1, 0x40}) +
        S("Caption") + B({0x06, 0x05}) + "Hello" +
        S("Wide") + B({0x14, 0x07, 0x00, 0x00, 0x00, 0x47, 0x72, 0xC3, 0xBC, 0xC3, 0x9F, 0x65}) +
        S("Title") + B({0x12, 0x05, 0x00, 0x00, 0x00, 0xA9, 0x03, 0xBC, 0x03, 0xAD, 0x03, 0xB3, 0x03, 0xB1, 0x03}) +
        S("Value") + B({0x02, 0x2A}) +
        S("Font.Name") + B({0x06, 0x05}) + "Arial" +
        S("Font.Size") + B({0x02, 0x0A}) +
        S("Buddy") + B({0x07}) + S("Child1") +
        S("Items") + B({0x0E}) +
            B({0x01}) + S("Caption") + B({0x06, 0x01}) + "a" + B({0x00}) +
            B({0x01}) + S("Caption") + B({0x06, 0x01}) + "b" + B({0x00}) +
        B({0x00}) +
        S("Lines.Strings") + B({0x01, 0x06, 0x01}) + "x" + B({0x06, 0x01}) + "y" + B({0x00}) +
        B({0x00}) +                                  // end of properties
        S("TComponent") + S("Child1") + B({0x00, 0x00}) +  // the owned child
        B({0x00});                                   // end of children
    EXPECT_EQ(std::string(ms.View()), golden);

    // Read back by class name into a new component: equal in every property.
    ms.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(ms, nullptr));
    auto* r = dynamic_cast<TSample*>(read.get());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Name(), "Sample1");
    for (const TPropInfo* p : TSample::StaticClassInfo().Properties()) {
        if (p->Kind() == TTypeKind::tkClass || p->Kind() == TTypeKind::tkMethod) continue;
        SCOPED_TRACE(p->Name());
        EXPECT_TRUE(SameValue(GetPropValue(r, p->Name()), GetPropValue(s.get(), p->Name())));
    }
    EXPECT_EQ(r->Font()->Name(), "Arial");
    EXPECT_EQ(r->Font()->Size(), 10);
    ASSERT_EQ(r->ComponentCount(), 1);
    EXPECT_EQ(r->Buddy(), r->Components(0));  // the reference is resolved to the new child
    EXPECT_EQ(r->Buddy()->Name(), "Child1");
    ASSERT_EQ(r->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TSampleItem*>(r->Items()->Items(1))->Caption(), "b");
    EXPECT_EQ(r->Lines()->Text(), "x\ny\n");
    EXPECT_FALSE(r->IsLoading());

    // Written again, the copy gives the same bytes.
    TMemoryStream again;
    WriteComponentToStream(again, r);
    EXPECT_EQ(std::string(again.View()), golden);
}

TEST(ComponentStream, DefaultsAreSkipped)
{
    TSample s(nullptr);
    TMemoryStream ms;
    WriteComponentToStream(ms, &s);
    std::string bytes(ms.View());
    for (const char* absent : {"Tag", "Letter", "Shape", "Styles", "Ratio", "Scale", "Caption", "Title",
                               "Value", "Font", "Buddy", "Lines", "ReadOnlyCount", "OnChange", "Name"})
        EXPECT_EQ(bytes.find(S(absent)), std::string::npos) << absent;
    // Ordinals without a declared default are always written.
    for (const char* present : {"Count", "Big", "Col", "Visible"})
        EXPECT_NE(bytes.find(S(present)), std::string::npos) << present;
    // An empty collection is still a collection value.
    EXPECT_NE(bytes.find(S("Items") + B({0x0E, 0x00})), std::string::npos);
}

TEST(ComponentStream, ReadErrors)
{
    RegisterTestClasses();
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"signature", "TPF1" + S("TTestCellIO") + S("") + B({0, 0}), "Invalid stream format"},
        {"unknown class", "TPF0" + S("TNoSuchRecord") + S("") + B({0, 0}), "Class TNoSuchRecord not found"},
        {"unknown property", "TPF0" + S("TTestCellIO") + S("") + S("Bogus") + B({0x02, 0x01, 0, 0}),
         "Error reading TTestCellIO.Bogus: Property Bogus does not exist"},
        {"wrong value type", "TPF0" + S("TTestCellIO") + S("") + S("HasProp") + B({0x06, 0x01}) + "x" + B({0, 0}),
         "Invalid property value"},
        {"bad tag", "TPF0" + S("TTestCellIO") + S("") + S("Col") + B({0x77, 0, 0}), "Invalid property value"},
        {"truncated", "TPF0" + S("TTestCellIO") + S("") + S("Cell") + B({0x06, 0x09}) + "abc",
         "Stream read error"},
        // A name longer than the highest tag number is still read as a name.
        {"long property name", "TPF0" + S("TTestCellIO") + S("") + S("NameLongerThanTwentyOne") + B({0x02, 0x01, 0, 0}),
         "Error reading TTestCellIO.NameLongerThanTwentyOne: Property NameLongerThanTwentyOne does not exist"},
        {"unknown child class", "TPF0" + S("TSample") + S("") + B({0x00}) + S("TMissing") + S("X") + B({0, 0, 0}),
         "Class TMissing not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TStringStream ss(c.bytes);
        try {
            std::unique_ptr<TComponent> r(ReadComponentFromStream(ss, nullptr));
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

namespace {

// A collection that counts its change reports and notes each item
// notification: the item's ID and +, d or x (added, deleting, extracting).
struct TCountingCollection : TCollection {
    using TCollection::TCollection;
    int updates = 0;
    std::vector<std::string> notes;
    void Update(TCollectionItem*) override { ++updates; }
    void Notify(TCollectionItem* item, TCollectionNotification n) override
    {
        notes.push_back(std::to_string(item->ID()) + (n == TCollectionNotification::cnAdded      ? "+"
                                                      : n == TCollectionNotification::cnDeleting ? "d"
                                                                                                 : "x"));
    }
};

} // namespace

TEST(Collections, OrderIdsAndUpdates)
{
    TCountingCollection coll(TSampleItem::StaticClassInfo());
    auto* a = static_cast<TSampleItem*>(coll.Add());
    auto* b = static_cast<TSampleItem*>(coll.Add());
    auto* c = static_cast<TSampleItem*>(coll.Insert(0));
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(c->ID(), 2);
    EXPECT_EQ(coll.FindItemID(1), b);
    int before = coll.updates;
    coll.BeginUpdate();
    b->SetIndex(0);
    coll.Delete(2);
    coll.EndUpdate();
    EXPECT_EQ(coll.updates, before + 1);  // reported once by EndUpdate
    EXPECT_EQ(coll.Count(), 2);
    EXPECT_EQ(coll.Items(0), b);
    EXPECT_THROW(coll.Items(2), EListError);
    delete b;  // an item freed alone leaves its collection
    EXPECT_EQ(coll.Count(), 1);
    EXPECT_EQ(coll.Items(0), c);
}

TEST(Collections, DeleteItemsFreesManyAtOnceAndReportsOnce)
{
    TCountingCollection coll(TSampleItem::StaticClassInfo()), other(TSampleItem::StaticClassInfo());
    std::vector<TCollectionItem*> items;
    for (int i = 0; i < 6; ++i) items.push_back(coll.Add());
    TCollectionItem* foreign = other.Add();
    const int before = coll.updates;
    coll.notes.clear();
    // Repeats, a null and another collection's item are passed over.
    coll.DeleteItems({items[4], items[1], nullptr, items[4], foreign, items[2]});
    EXPECT_EQ(coll.updates, before + 1);
    EXPECT_EQ(coll.notes, (std::vector<std::string>{"4d", "4x", "1d", "1x", "2d", "2x"}));
    ASSERT_EQ(coll.Count(), 3);
    EXPECT_EQ(coll.Items(0), items[0]);
    EXPECT_EQ(coll.Items(1), items[3]);
    EXPECT_EQ(coll.Items(2), items[5]);
    EXPECT_EQ(items[5]->Index(), 2);
    EXPECT_EQ(other.Count(), 1);
    EXPECT_EQ(foreign->Collection(), &other);
    // Nothing of this collection: no report.
    coll.DeleteItems({foreign, nullptr});
    EXPECT_EQ(coll.updates, before + 1);
    // Many at once, then the rest by Clear.
    for (int i = 0; i < 20000; ++i) coll.Add();
    std::vector<TCollectionItem*> odd;
    for (int i = 1; i < coll.Count(); i += 2) odd.push_back(coll.Items(i));
    coll.DeleteItems(odd);
    EXPECT_EQ(coll.Count(), 10002);
    EXPECT_EQ(coll.Items(1), items[5]);
    coll.Clear();
    EXPECT_EQ(coll.Count(), 0);
}

TEST(ComponentStream, DefinedPropertiesTravelBesideThePublishedOnes)
{
    RegisterTestClasses();
    TWithData d(nullptr);
    d.extra = {"one", "\u00e9t\u00e9"};
    d.blob = std::string("\x00\x01\xFF", 3);
    TMemoryStream ms;
    WriteComponentToStream(ms, &d);
    const std::string golden = "TPF0" + S("TWithData") + S("") +
                               S("Extra") + B({0x01, 0x06, 0x03}) + "one" +
                               B({0x14, 0x05, 0, 0, 0}) + "\u00e9t\u00e9" + B({0x00}) +
                               S("Blob") + B({0x0A, 0x03, 0, 0, 0, 0x00, 0x01, 0xFF}) + B({0x00, 0x00});
    EXPECT_EQ(std::string(ms.View()), golden);
    ms.SetPosition(0);
    std::unique_ptr<TComponent> r(ReadComponentFromStream(ms, nullptr));
    auto* back = dynamic_cast<TWithData*>(r.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->extra, d.extra);
    EXPECT_EQ(back->blob, d.blob);
}

TEST(ComponentStream, DefinedPropertiesAloneReadOneByOne)
{
    // The form a serializer keeps beside its own attributes: defined
    // properties only, read property by property until the data ends.
    TWithData d(nullptr);
    d.extra = {"x"};
    TMemoryStream ms;
    TWriter w(ms);
    w.WriteDefinedProperties(&d);
    EXPECT_EQ(std::string(ms.View()), S("Extra") + B({0x01, 0x06, 0x01}) + "x" + B({0x00}));
    ms.SetPosition(0);
    TWithData back(nullptr);
    TReader r(ms);
    while (ms.Position() < ms.Size()) r.ReadProperty(&back);
    EXPECT_EQ(back.extra, d.extra);
}
