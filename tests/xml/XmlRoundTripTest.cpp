// Parse, write, parse again: the tree must come back the same in both
// layouts and in every encoding the library writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestPaths.h"
#include "XmlTestUtil.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

using namespace xml;

namespace {

std::string Reparse(TUtf8XmlDom& doc, TXmlFormatType format, TStringEncodingType encoding,
                    TStringEncodingType* detected = nullptr)
{
    doc.SetXmlFormat(format);
    doc.SetExternalEncoding(encoding);
    doc.SetEncodingString(encoding == seUTF8 ? "UTF-8" : encoding == seAnsi ? "windows-1252" : "UTF-16");
    rtl::TMemoryStream m;
    doc.SaveToStream(m);
    TUtf8XmlDom back;
    back.LoadFromStream(m);
    if (detected) *detected = back.ExternalEncoding();
    return xmltest::Dump(back);
}

} // namespace

TEST(XmlRoundTrip, FixtureInEveryLayoutAndEncoding)
{
    TUtf8XmlDom doc;
    doc.LoadFromFile(tectest::DataFile("xml/roundtrip.xml"));
    EXPECT_EQ(doc.ExternalEncoding(), seUTF8);  // no mark: switched by its declaration
    const std::string original = xmltest::Dump(doc);
    TUtf8XmlNode* root = doc.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ReadString("Name"), "Caf\xC3\xA9 & \xE2\x98\xBA Z\xC3\xBCrich");
    EXPECT_EQ(root->AttributeByName("Title"), "Say \"hello\" & go");
    EXPECT_EQ(root->AttributeByName("note"), "it's <fine>");
    EXPECT_EQ(root->NodeByName("Script")->Nodes(0)->Value(), "if a < b && c > d then x := \"q\";");
    EXPECT_EQ(root->NodeByName("Blank")->Value(), "   ");
    EXPECT_EQ(root->ReadColor("Color"), 0x00FF8000u);

    for (TXmlFormatType format : {xfCompact, xfReadable}) {
        for (TStringEncodingType encoding : {seUTF8, seUTF16LE, seUTF16BE}) {
            TStringEncodingType detected = seAnsi;
            std::string again = Reparse(doc, format, encoding, &detected);
            // The declaration's encoding text differs by design; the rest
            // must be the same.
            TUtf8XmlDom expected;
            expected.LoadFromFile(tectest::DataFile("xml/roundtrip.xml"));
            expected.SetEncodingString(encoding == seUTF8 ? "UTF-8" : "UTF-16");
            EXPECT_TRUE(again == xmltest::Dump(expected)) << format << " " << encoding << "\n" << again;
            EXPECT_EQ(detected, encoding);
        }
        // UTF-8 without byte-order mark: the text of WriteToString.
        doc.SetEncodingString("UTF-8");
        TUtf8XmlDom fromText;
        fromText.ReadFromString(doc.WriteToString());
        EXPECT_TRUE(xmltest::Dump(fromText) == original) << format;
    }
}

TEST(XmlRoundTrip, CodePageDocument)
{
    TUtf8XmlDom doc("r");
    doc.Root()->WriteString("Place", "Saint-\xC3\x89tienne \xE2\x82\xAC 5");
    doc.Root()->AttributeAdd("q", "\xC3\xA7" "a");
    TStringEncodingType detected = seUTF8;
    const std::string before = xmltest::Dump(doc);
    std::string again = Reparse(doc, xfCompact, seAnsi, &detected);
    EXPECT_EQ(detected, seAnsi);
    TUtf8XmlDom expected("r");
    expected.Root()->WriteString("Place", "Saint-\xC3\x89tienne \xE2\x82\xAC 5");
    expected.Root()->AttributeAdd("q", "\xC3\xA7" "a");
    expected.SetEncodingString("windows-1252");
    EXPECT_EQ(again, xmltest::Dump(expected));
}

TEST(XmlRoundTrip, EditedValuesSurviveFiles)
{
    // Every character that needs care in a value or an attribute.
    const std::string tricky = std::string("<>&\"' \t\r\n\xC3\xA9\xF0\x9F\x98\x80 &amp; ]]> --> ") + '\0' + "end";
    auto dir = tectest::ScratchDir("xml-roundtrip");
    const std::string file = (dir / "doc.xml").string();
    for (TXmlFormatType format : {xfCompact, xfReadable}) {
        TWideXmlDom doc("Doc");
        doc.SetXmlFormat(format);
        doc.Root()->WriteString("Value", tricky);
        doc.Root()->NodeNew("Attr")->AttributeAdd("a", tricky);
        doc.SaveToFile(file);
        TWideXmlDom back;
        back.LoadFromFile(file);
        EXPECT_EQ(back.Root()->ReadString("Value"), tricky) << format;
        EXPECT_EQ(back.Root()->NodeByName("Attr")->AttributeByName("a"), tricky) << format;
    }
    std::filesystem::remove_all(dir);
}
