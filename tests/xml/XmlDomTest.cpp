// The document and its node tree: defaults, the exact bytes of a new
// document, child and attribute operations, values and binary values.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestPaths.h"
#include "XmlTestUtil.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

using namespace xml;
using xmltest::ErrorOf;

TEST(XmlDocument, NewDocumentBytes)
{
    TWideXmlDom doc("LocationList");
    EXPECT_EQ(doc.WriteToString(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LocationList></LocationList>\n");
    rtl::TMemoryStream m;
    doc.SaveToStream(m);
    EXPECT_EQ(std::string(m.View()),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LocationList></LocationList>\n");

    TWideXmlDom blank;
    EXPECT_EQ(blank.WriteToString(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<></>\n");
    EXPECT_TRUE(blank.IsEmpty());
    EXPECT_EQ(blank.EncodingString(), "UTF-8");
    EXPECT_EQ(blank.VersionString(), "1.0");
}

TEST(XmlDocument, DefaultsAndClear)
{
    TUtf8XmlDom doc;
    EXPECT_EQ(doc.XmlFormat(), xfCompact);
    EXPECT_EQ(doc.ExternalEncoding(), seUTF8);
    EXPECT_EQ(doc.BinaryEncoding(), xbeBase64);
    EXPECT_TRUE(doc.WriteOnDefault());
    EXPECT_FALSE(doc.UseFullNodes());
    EXPECT_FALSE(doc.ParserWarnings());
    EXPECT_EQ(doc.FloatSignificantDigits(), 12);
    EXPECT_EQ(doc.IndentString(), "  ");
    doc.SetXmlFormat(xfReadable);
    doc.SetWriteOnDefault(false);
    doc.Root()->SetName("r");
    doc.Root()->NodeNew("x");
    doc.Clear();
    EXPECT_EQ(doc.XmlFormat(), xfCompact);
    EXPECT_TRUE(doc.WriteOnDefault());
    EXPECT_EQ(doc.RootNodeList()->NodeCount(), 2);
    EXPECT_EQ(doc.Root()->Name(), "");
    EXPECT_EQ(doc.Root()->NodeCount(), 0);
}

TEST(XmlDocument, SaveAndLoadFile)
{
    auto dir = tectest::ScratchDir("xml-file");
    const std::string file = (dir / "tec.ini").string();
    TWideXmlDom doc("Settings");
    doc.Root()->WriteString("Place", "Z\xC3\xBCrich");
    doc.SaveToFile(file);
    std::string bytes = rtl::ReadFileBytes(file);
    EXPECT_EQ(bytes.substr(0, 3), xmltest::Bom());

    TWideXmlDom back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.Root()->Name(), "Settings");
    EXPECT_EQ(back.Root()->ReadString("Place"), "Z\xC3\xBCrich");

    // A missing file raises the file-open error and leaves the document.
    std::string before = xmltest::Dump(back);
    EXPECT_THROW(back.LoadFromFile((dir / "missing.xml").string()), rtl::EFOpenError);
    EXPECT_EQ(xmltest::Dump(back), before);
    // A file that cannot be created raises the creation error.
    EXPECT_THROW(doc.SaveToFile((dir / "no" / "such" / "dir.xml").string()), rtl::EFCreateError);
    std::filesystem::remove_all(dir);
}

TEST(XmlNode, NamesAndChildren)
{
    TWideXmlDom doc("root");
    TWideXmlNode* root = doc.Root();
    EXPECT_EQ(ErrorOf([&] { root->SetName("a b"); }), "Illegal character in node name \"a b\"");
    EXPECT_EQ(ErrorOf([&] { root->SetName("a\tb"); }), "Illegal character in node name \"a\tb\"");
    EXPECT_EQ(root->Name(), "root");
    root->SetName("a<b");  // accepted and written as it stands
    EXPECT_EQ(root->WriteToString(), "<a<b></a<b>");
    root->SetName("root");

    TWideXmlNode* loc = root->NodeNew("Location");
    EXPECT_EQ(root->NodeFindOrCreate("location"), loc);
    EXPECT_EQ(root->NodeCount(), 1);
    EXPECT_EQ(root->NodeNewAtIndex(2, "x"), nullptr);
    EXPECT_EQ(root->NodeCount(), 1);
    TWideXmlNode* last = root->NodeNewAtIndex(1, "last");
    TWideXmlNode* first = root->NodeNewAtIndex(0, "first");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(root->Nodes(0), first);
    EXPECT_EQ(root->Nodes(2), last);
    EXPECT_EQ(root->Nodes(3), nullptr);
    EXPECT_EQ(root->Nodes(-1), nullptr);
    EXPECT_EQ(root->NodeIndexByName("LAST"), 2);
    EXPECT_EQ(root->NodeIndexByNameFrom("location", 2), -1);
    EXPECT_EQ(last->IndexInParent(), 2);
    EXPECT_EQ(last->Parent(), root);
    EXPECT_EQ(last->Document(), &doc);

    root->NodeNew("Location");
    std::vector<TUtf8XmlNode*> list;
    root->NodesByName("LOCATION", &list);
    EXPECT_EQ(list.size(), 2u);
    root->NodesByName("x", nullptr);  // nothing happens

    TUtf8XmlNode* extracted = root->NodeExtract(first);
    EXPECT_EQ(extracted, first);
    EXPECT_EQ(root->NodeCount(), 3);
    EXPECT_EQ(root->NodeExtract(first), nullptr);
    EXPECT_EQ(root->NodeAdd(extracted), 3);
    EXPECT_EQ(root->NodeAdd(nullptr), -1);
    root->NodeExchange(0, 3);
    EXPECT_EQ(root->Nodes(0), first);
    EXPECT_EQ(root->NodeRemove(first), 0);
    EXPECT_EQ(root->NodeRemove(first), -1);
    last->Delete();
    EXPECT_EQ(root->NodeCount(), 2);
    root->NodeDelete(7);
    root->NodesClear();
    EXPECT_EQ(root->NodeCount(), 0);
}

TEST(XmlNode, ForeignNodeClassIsRefused)
{
    TWideXmlDom doc("root");
    doc.Root()->NodeAdd(new TUtf8XmlNode(&doc, "plain"));
    EXPECT_THROW(doc.Root()->Nodes(0), EInvalidCast);
    EXPECT_EQ(doc.Root()->Nodes(5), nullptr);
    EXPECT_EQ(doc.Root()->NodeByName("nothing"), nullptr);
}

TEST(XmlNode, Attributes)
{
    TUtf8XmlDom doc("r");
    TUtf8XmlNode* n = doc.Root();
    n->AttributeAdd("Name", "a<b & \"c\"");
    n->AttributeAdd("Count", 42);
    EXPECT_EQ(n->AttributePair(0), "Name=\"a&lt;b &amp; &quot;c&quot;\"");
    EXPECT_EQ(n->AttributeByName("name"), "a<b & \"c\"");
    EXPECT_EQ(n->AttributeByName("COUNT"), "42");
    EXPECT_EQ(n->AttributeByName("missing"), "");
    EXPECT_EQ(n->AttributeName(1), "Count");
    EXPECT_EQ(n->AttributeValue(9), "");
    n->SetAttributeByName("count", "7");  // replaces in place, with the name as given
    EXPECT_EQ(n->AttributePair(1), "count=\"7\"");
    n->SetAttributeByName("New", "v");
    EXPECT_EQ(n->AttributeCount(), 3);
    n->SetAttributeValue(2, "w");
    EXPECT_EQ(n->AttributePair(2), "New=\"w\"");
    n->AttributeExchange(0, 2);
    EXPECT_EQ(n->AttributeName(0), "New");
    n->SetAttributeByName("Empty", "");
    n->DeleteEmptyAttributes();
    EXPECT_FALSE(n->HasAttribute("Empty"));
    n->AttributeDelete(0);
    n->AttributeDelete(10);
    EXPECT_EQ(n->AttributeCount(), 2);
    // Non-ASCII letters in attribute names are compared exactly.
    n->AttributeAdd("\xC3\xA9t\xC3\xA9", "1");
    EXPECT_FALSE(n->HasAttribute("\xC3\x89T\xC3\x89"));
    EXPECT_TRUE(n->HasAttribute("\xC3\xA9T\xC3\xA9"));
    n->AttributesClear();
    EXPECT_EQ(n->AttributeCount(), 0);
}

TEST(XmlNode, Values)
{
    TUtf8XmlDom doc("r");
    TUtf8XmlNode* n = doc.Root()->NodeNew("v");
    n->SetValueAsString("<&>");
    EXPECT_EQ(n->Value(), "&lt;&amp;&gt;");
    EXPECT_EQ(n->ValueAsString(), "<&>");
    n->SetValueAsBool(true);
    EXPECT_EQ(n->Value(), "true");
    EXPECT_TRUE(n->ValueAsBool());
    n->SetValue("maybe");
    EXPECT_EQ(ErrorOf([&] { n->ValueAsBool(); }), "Cannot convert value to bool");
    EXPECT_EQ(ErrorOf([&] { n->ValueAsFloat(); }), "Cannot convert value to float");
    EXPECT_EQ(ErrorOf([&] { n->ValueAsInteger(); }), "'maybe' is not a valid integer value");
    EXPECT_TRUE(n->ValueAsBoolDef(true));
    EXPECT_EQ(n->ValueAsIntegerDef(-3), -3);
    EXPECT_EQ(n->ValueAsFloatDef(2.5), 2.5);
    n->SetValueAsFloat(0.25);
    EXPECT_EQ(n->Value(), ".25");
    n->SetValue("$1F");
    EXPECT_EQ(n->ValueAsInteger(), 31);
    n->SetValue("0x10");
    EXPECT_EQ(n->ValueAsInt64(), 16);
    n->SetValueAsDateTime(rtl::EncodeDate(2024, 4, 8));
    EXPECT_EQ(n->Value(), "2024-04-08");
    EXPECT_EQ(n->ValueAsDateTimeDef(0), rtl::EncodeDate(2024, 4, 8));
    n->SetValueAsUnicodeString(u"\u00E9\U0001F600");
    EXPECT_EQ(n->ValueAsUnicodeString(), u"\u00E9\U0001F600");
}

TEST(XmlNode, BinaryValues)
{
    TUtf8XmlDom doc("r");
    TUtf8XmlNode* n = doc.Root()->NodeNew("bin");
    std::string data;
    for (int i = 0; i < 100; ++i) data += static_cast<char>(i * 7);
    n->SetBinaryString(data);
    EXPECT_EQ(n->BinaryString(), data);
    EXPECT_EQ(n->Value().find('\n'), std::string::npos);  // compact: no line breaks
    EXPECT_EQ(doc.BinaryEncoding(), xbeBase64);

    // Readable layout: line end and indentation every 76 characters.
    doc.SetXmlFormat(xfReadable);
    n->SetBinaryString(data);
    EXPECT_EQ(n->Value().substr(0, 4), "\r\n  ");
    EXPECT_EQ(n->BinaryString(), data);

    doc.SetBinaryEncoding(xbeBinHex);
    n->BufferWrite("\x01\x02\xFF", 3);
    EXPECT_EQ(rtl::Trim(n->Value()), "0102FF");
    EXPECT_EQ(n->BufferLength(), 3);

    // A node without document writes BinHex.
    TUtf8XmlNode loose(nullptr, "x");
    loose.BufferWrite("\xAB", 1);
    EXPECT_EQ(loose.Value(), "AB");
    loose.SetBinaryString("hi");
    EXPECT_EQ(loose.Value(), "6869");

    doc.SetBinaryEncoding(xbeBase64);
    n->SetValue("TWFu!");
    EXPECT_EQ(ErrorOf([&] { n->BufferLength(); }), "Error while calculating streamlength");
    doc.SetBinaryEncoding(xbeBinHex);
    n->SetValue("ABC");
    EXPECT_EQ(ErrorOf([&] { n->BufferLength(); }), "Error while calculating streamlength");
    // BinaryString restores the document's encoding also on failure.
    n->SetValue("A");
    EXPECT_THROW(n->BinaryString(), rtl::EFilerError);
    EXPECT_EQ(doc.BinaryEncoding(), xbeBinHex);
    n->SetBinaryString("");
    EXPECT_EQ(n->Value(), "");
}

TEST(XmlDocument, DeclarationAndCommentTexts)
{
    TUtf8XmlDom doc("r");
    doc.SetCommentString("made by a test");
    EXPECT_EQ(doc.RootNodeList()->Nodes(1)->ElementType(), xeComment);
    EXPECT_EQ(doc.CommentString(), "made by a test");
    doc.SetEncodingString("");
    EXPECT_EQ(doc.WriteToString(),
              "<?xml version=\"1.0\"?>\n<!--made by a test-->\n<r></r>\n");
    doc.RootNodeList()->NodeDelete(0);
    EXPECT_EQ(doc.VersionString(), "");
    doc.SetVersionString("1.0");
    EXPECT_EQ(doc.RootNodeList()->Nodes(0)->ElementType(), xeDeclaration);
    TUtf8XmlNode* ss = doc.StyleSheetNode();
    EXPECT_EQ(doc.RootNodeList()->Nodes(1), ss);
    EXPECT_EQ(doc.StyleSheetNode(), ss);
}

TEST(XmlDocument, AssignCopiesTreeAndOptions)
{
    TWideXmlDom a("root");
    a.SetXmlFormat(xfReadable);
    a.SetFloatSignificantDigits(5);
    a.Root()->WriteInteger("n", 5);
    TWideXmlDom b;
    b.Assign(&a);
    EXPECT_EQ(b.XmlFormat(), xfReadable);
    EXPECT_EQ(b.FloatSignificantDigits(), 12);  // float options are not copied
    EXPECT_EQ(xmltest::Dump(b), xmltest::Dump(a));
    EXPECT_EQ(b.Root()->NodeByName("n")->Document(), &b);
    EXPECT_NE(b.Root(), a.Root());
}
