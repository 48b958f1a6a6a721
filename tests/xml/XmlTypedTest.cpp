// Typed values as child elements and attributes: the exact texts written,
// the defaults read back, case-insensitive names, colours, fonts, pens and
// brushes, and a settings file written and read through the wide classes.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestPaths.h"
#include "XmlTestUtil.h"
#include "platform/rtl/DateTime.h"
#include "xml/XmlDom.h"

using namespace xml;
using xmltest::ErrorOf;

namespace {

std::string ChildText(TUtf8XmlNode* n, const char* name)
{
    TUtf8XmlNode* c = n->NodeByName(name);
    return c ? c->Value() : "<missing>";
}

} // namespace

TEST(XmlTyped, TextsWritten)
{
    TWideXmlDom doc("Settings");
    TWideXmlNode* r = doc.Root();
    r->WriteBool("On", true);
    r->WriteBool("Off", false);
    r->WriteInteger("Neg", -42);
    r->WriteInt64("Big", 1234567890123LL);
    r->WriteFloat("Quarter", 0.25);
    r->WriteFloat("Half", -0.5);
    r->WriteFloat("Zero", 0);
    r->WriteFloat("Lat", 51.4769);
    r->WriteFloat("Tiny", 1.5e-7);
    r->WriteColor("Red", 0x0000FF);
    r->WriteColor("None", cXmlColorNone);
    r->WriteHex("Mask", 0xAB, 4);
    r->WriteString("Text", "a<b & c");
    r->WriteDateTime("When", rtl::EncodeDate(2011, 4, 24) + rtl::EncodeTime(10, 30, 0, 0));
    r->WriteUnicodeString("Wide", u"\u00E9\U0001F600");
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"On", "True"},        {"Off", "False"},      {"Neg", "-42"},
        {"Big", "1234567890123"}, {"Quarter", ".25"}, {"Half", "-.5"},
        {"Zero", "0"},         {"Lat", "51.4769"},    {"Tiny", "1.5E-7"},
        {"Red", "$000000FF"},  {"None", "$1FFFFFFF"}, {"Mask", "$00AB"},
        {"Text", "a&lt;b &amp; c"}, {"When", "2011-04-24T10:30:00.000Z"},
        {"Wide", "\xC3\xA9\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(ChildText(r, c.name), c.text) << c.name;
    // The other Boolean texts.
    TUtf8XmlNode* v = r->NodeNew("v");
    v->SetValueAsBool(true);
    EXPECT_EQ(v->Value(), "true");
    r->WriteAttributeBool("flag", true);
    EXPECT_EQ(r->AttributePair(0), "flag=\"true\"");
}

TEST(XmlTyped, ReadsWithDefaults)
{
    TUtf8XmlDom doc;
    doc.ReadFromString(
        "<r><T1>True</T1><T2>true</T2><T3>Yes</T3><T4>y</T4><F1>False</F1><F2>No</F2>"
        "<One>1</One><Zero>0</Zero><Empty></Empty><Int> 12</Int><Hex>$1F</Hex><Bad>12a</Bad>"
        "<Comma>1,5</Comma><Thousands>1,000.5</Thousands><Color>255</Color>"
        "<Date>2011-04-24</Date><BadDate>2011-02-30</BadDate><S>a&amp;b</S></r>");
    TUtf8XmlNode* r = doc.Root();
    for (const char* n : {"T1", "T2", "T3", "T4"}) EXPECT_TRUE(r->ReadBool(n, false)) << n;
    for (const char* n : {"F1", "F2"}) EXPECT_FALSE(r->ReadBool(n, true)) << n;
    // "1" and "0" are no Booleans of a child element: the default.
    EXPECT_FALSE(r->ReadBool("One", false));
    EXPECT_TRUE(r->ReadBool("Zero", true));
    EXPECT_TRUE(r->ReadBool("Empty", true));
    EXPECT_TRUE(r->ReadBool("Missing", true));

    EXPECT_EQ(r->ReadInteger("Int", -1), 12);
    EXPECT_EQ(r->ReadInteger("Hex", -1), 31);
    EXPECT_EQ(r->ReadInteger("Bad", -1), -1);
    EXPECT_EQ(r->ReadInteger("Empty", -1), -1);
    EXPECT_EQ(r->ReadInt64("Missing", 7), 7);

    EXPECT_DOUBLE_EQ(r->ReadFloat("Comma", 9), 1.5);
    EXPECT_DOUBLE_EQ(r->ReadFloat("Thousands", 9), 9);
    EXPECT_DOUBLE_EQ(r->ReadFloat("Empty", 9), 9);

    EXPECT_EQ(r->ReadString("Empty", "dflt"), "");  // present but empty
    EXPECT_EQ(r->ReadString("Missing", "dflt"), "dflt");
    EXPECT_EQ(r->ReadString("s"), "a&b");  // any case
    EXPECT_EQ(r->ReadUnicodeString("S"), u"a&b");

    EXPECT_EQ(r->ReadColor("Color", 7), 255u);
    EXPECT_EQ(r->ReadColor("Missing", 7), 7u);
    EXPECT_EQ(ErrorOf([&] { r->ReadColor("Empty", 7); }), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([&] { r->ReadColor("Bad", 7); }), "'12a' is not a valid integer value");

    EXPECT_DOUBLE_EQ(r->ReadDateTime("Date", 1), rtl::EncodeDate(2011, 4, 24));
    EXPECT_DOUBLE_EQ(r->ReadDateTime("BadDate", 1), 1);
}

TEST(XmlTyped, WritesIntoExistingElements)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<r><Name a=\"1\">old<sub/></Name><Other/></r>");
    TUtf8XmlNode* r = doc.Root();
    r->WriteString("NAME", "new");
    EXPECT_EQ(r->NodeCount(), 2);
    TUtf8XmlNode* name = r->Nodes(0);
    EXPECT_EQ(name->Name(), "Name");  // spelling, position, attributes and children stay
    EXPECT_EQ(name->Value(), "new");
    EXPECT_EQ(name->AttributeByName("a"), "1");
    EXPECT_EQ(name->NodeCount(), 1);
    r->WriteInteger("Fresh", 3);
    EXPECT_EQ(r->Nodes(2)->Name(), "Fresh");
    // Lists of equal names are built with NodeNew; reading sees the first.
    r->NodeNew("Item")->SetValueAsString("1");
    r->NodeNew("Item")->SetValueAsString("2");
    EXPECT_EQ(r->ReadInteger("item"), 1);
}

TEST(XmlTyped, SkipsDefaultsOnlyWhenAsked)
{
    TUtf8XmlDom doc("r");
    TUtf8XmlNode* r = doc.Root();
    r->WriteInteger("A", 5, 5);  // written: defaults are written by default
    EXPECT_NE(r->NodeByName("A"), nullptr);
    doc.SetWriteOnDefault(false);
    r->WriteInteger("B", 5, 5);
    r->WriteBool("C", false, false);
    r->WriteFloat("D", 0.5, 0.5);
    r->WriteString("E", "x", "x");
    r->WriteAttributeInteger("f", 1, 1);
    EXPECT_EQ(r->NodeCount(), 1);
    EXPECT_EQ(r->AttributeCount(), 0);
    r->WriteInteger("G", 6, 5);
    EXPECT_EQ(ChildText(r, "G"), "6");
    // A colour is compared as given, then its RGB value with 0 (black).
    r->WriteColor("Black", 0, 0xFFFFFF);
    EXPECT_EQ(r->NodeByName("Black"), nullptr);
    r->WriteColor("Blue", 0xFF0000, 0);
    EXPECT_EQ(ChildText(r, "Blue"), "$00FF0000");
}

namespace {
TXmlColor DarkPalette(TXmlColor c)
{
    return (c & 0xFF000000u) == 0xFF000000u ? 0x202020 : c;
}
} // namespace

TEST(XmlTyped, SystemColoursThroughTheHook)
{
    TUtf8XmlDom doc("r");
    doc.Root()->WriteColor("Face", 0xFF00000F);  // button face
    EXPECT_EQ(ChildText(doc.Root(), "Face"), "$00F0F0F0");
    EXPECT_EQ(ColorToRGB(0xFF000005), 0xFFFFFFu);  // window
    EXPECT_EQ(ColorToRGB(0xFF0000FE), 0u);         // no such index
    EXPECT_EQ(ColorToRGB(0x80000005), 0x80000005u);  // top byte not all ones
    TColorToRGBFunc old = SetColorToRGBHook(&DarkPalette);
    doc.Root()->WriteColor("Face", 0xFF00000F);
    EXPECT_EQ(ChildText(doc.Root(), "Face"), "$00202020");
    EXPECT_EQ(SetColorToRGBHook(old), &DarkPalette);
    EXPECT_EQ(ColorToRGB(0xFF00000F), 0xF0F0F0u);
    EXPECT_EQ(SetColorToRGBHook(nullptr), &DefaultColorToRGB);
}

TEST(XmlTyped, FontPenBrush)
{
    TUtf8XmlDom doc("r");
    TUtf8XmlNode* r = doc.Root();
    TXmlFont font;
    font.Name = "DejaVu Sans";
    font.Color = 0x0000FF;
    font.Size = 9;
    font.Style = {TXmlFontStyle::Bold, TXmlFontStyle::StrikeOut};
    r->WriteFont("Font", font);
    EXPECT_EQ(r->NodeByName("Font")->WriteToString(),
              "<Font><Name>DejaVu Sans</Name><Color>$000000FF</Color><Size>9</Size><Bold>True</Bold>"
              "<Italic>False</Italic><Underline>False</Underline><Strikeout>True</Strikeout></Font>");
    TXmlFont back;
    back.Style = {TXmlFontStyle::Italic};
    r->ReadFont("font", back);
    EXPECT_EQ(back.Name, "DejaVu Sans");
    EXPECT_EQ(back.Color, 0x0000FFu);
    EXPECT_EQ(back.Size, 9);
    EXPECT_TRUE(back.Style == font.Style);
    r->ReadFont("NoFont", back);
    EXPECT_EQ(back.Name, "Arial");
    EXPECT_EQ(back.Size, 14);
    EXPECT_TRUE(back.Style.Empty());

    TXmlPen pen{0x00FF00, 7, 2, 3};
    r->WritePen("Pen", pen);
    EXPECT_EQ(r->NodeByName("Pen")->WriteToString(),
              "<Pen><Color>$0000FF00</Color><Mode>7</Mode><Style>2</Style><Width>3</Width></Pen>");
    TXmlPen penBack;
    r->ReadPen("Pen", penBack);
    EXPECT_EQ(penBack.Color, 0x00FF00u);
    EXPECT_EQ(penBack.Mode, 7);
    EXPECT_EQ(penBack.Style, 2);
    EXPECT_EQ(penBack.Width, 3);
    r->NodeNew("EmptyPen");
    r->ReadPen("EmptyPen", penBack);
    EXPECT_EQ(penBack.Mode, cXmlPenModeCopy);
    EXPECT_EQ(penBack.Width, 1);
    penBack = {1, 2, 3, 4};
    r->ReadPen("NoPen", penBack);
    EXPECT_EQ(penBack.Color, 0u);
    EXPECT_EQ(penBack.Mode, 4);
    EXPECT_EQ(penBack.Style, 0);
    EXPECT_EQ(penBack.Width, 1);

    TXmlBrush brush{0x123456, 3, false};
    r->WriteBrush("Brush", brush);
    TXmlBrush brushBack;
    r->ReadBrush("Brush", brushBack);
    EXPECT_EQ(brushBack.Color, 0x123456u);
    EXPECT_EQ(brushBack.Style, 3);
    EXPECT_FALSE(brushBack.ClearBitmap);
    r->ReadBrush("NoBrush", brushBack);
    EXPECT_EQ(brushBack.Color, 0xFFFFFFu);
    EXPECT_EQ(brushBack.Style, 0);
    EXPECT_TRUE(brushBack.ClearBitmap);
}

TEST(XmlTyped, Attributes)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<r Index=\"5\" F=\"1,5\" B=\"1\" N=\"no\" E=\"\" D=\"2011-04-24\" X=\"junk\"/>");
    TUtf8XmlNode* r = doc.Root();
    EXPECT_EQ(r->ReadAttributeInteger("index", -1), 5);
    EXPECT_EQ(r->ReadAttributeInteger("X", -1), -1);
    EXPECT_EQ(r->ReadAttributeInt64("missing", 9), 9);
    EXPECT_DOUBLE_EQ(r->ReadAttributeFloat("F", 0), 1.5);
    EXPECT_DOUBLE_EQ(r->ReadAttributeFloat("X", 2), 2);
    EXPECT_TRUE(r->ReadAttributeBool("B", false));  // "1" counts here
    EXPECT_FALSE(r->ReadAttributeBool("N", true));
    EXPECT_TRUE(r->ReadAttributeBool("missing", true));
    EXPECT_EQ(r->ReadAttributeString("E", "d"), "d");
    EXPECT_EQ(r->ReadAttributeString("X", "d"), "junk");
    EXPECT_DOUBLE_EQ(r->ReadAttributeDateTime("D", 0), rtl::EncodeDate(2011, 4, 24));
    EXPECT_DOUBLE_EQ(r->ReadAttributeDateTime("X", 3), 3);
    r->WriteAttributeInteger("INDEX", 6);  // rewritten in place, spelling kept
    EXPECT_EQ(r->AttributePair(0), "Index=\"6\"");
    r->WriteAttributeFloat("G", 0.125);
    r->WriteAttributeString("S", "<q>");
    r->WriteAttributeDateTime("W", rtl::EncodeDate(2000, 1, 1));
    r->WriteAttributeInt64("L", -5);
    EXPECT_EQ(r->AttributeByName("G"), ".125");
    EXPECT_EQ(r->AttributePair(r->AttributeIndexByname("S")), "S=\"&lt;q&gt;\"");
    EXPECT_EQ(r->AttributeByName("W"), "2000-01-01");
    EXPECT_EQ(r->ReadAttributeInt64("L"), -5);
}

TEST(XmlTyped, SettingsFileThroughWideClasses)
{
    auto dir = tectest::ScratchDir("xml-settings");
    const std::string file = (dir / "tec.ini").string();
    {
        TWideXmlDom doc("TEC");
        TWideXmlNode* r = doc.Root();
        r->WriteInteger(u"Major", 2);
        TWideXmlNode* view = r->NodeNew(u"View");
        view->WriteBool(u"ShowLabels", true);
        view->WriteFloat(u"Scale", 0.75);
        view->WriteColor(u"Path", 0x0080FF);
        view->WriteString(u"Place", u"K\u00F8benhavn \U0001F30D");
        view->WriteAttributeInteger(u"Index", 3);
        TWideXmlNode* list = r->NodeNew("Locations");
        for (int i = 0; i < 3; ++i) list->NodeNew("Location")->WriteString("Name", "L" + std::to_string(i));
        doc.SaveToFile(file);
    }
    TWideXmlDom doc;
    doc.LoadFromFile(file);
    TWideXmlNode* r = doc.Root();
    EXPECT_EQ(r->ReadInteger(u"major", 0), 2);
    TWideXmlNode* view = r->NodeByName(u"VIEW");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->ReadBool(u"ShowLabels", false));
    EXPECT_DOUBLE_EQ(view->ReadFloat(u"Scale", 1), 0.75);
    EXPECT_EQ(view->ReadColor(u"Path", 0), 0x0080FFu);
    EXPECT_EQ(view->ReadString(u"Place", u""), u"K\u00F8benhavn \U0001F30D");
    EXPECT_EQ(view->ReadAttributeInteger(u"index", 0), 3);
    TWideXmlNode* list = r->NodeByName("Locations");
    ASSERT_EQ(list->NodeCount(), 3);
    EXPECT_EQ(list->Nodes(2)->ReadString("Name"), "L2");
    std::filesystem::remove_all(dir);
}
