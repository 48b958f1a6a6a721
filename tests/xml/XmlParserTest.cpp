// The parser and the writer: the shapes of the tree the parser builds,
// the two layouts, bad input with the exact error texts, deep nesting,
// events and the document checks.
#include <gtest/gtest.h>

#include "XmlTestUtil.h"
#include "xml/XmlDom.h"

using namespace xml;
using xmltest::ErrorOf;

namespace {

std::unique_ptr<TUtf8XmlDom> Parse(const std::string& text)
{
    auto doc = std::make_unique<TUtf8XmlDom>();
    doc->ReadFromString(text);
    return doc;
}

} // namespace

TEST(XmlParser, StartTagsAndAttributes)
{
    auto doc = Parse("<r><e a='x \"y\"' b = \"p q\" c=bare/></r>");
    TUtf8XmlNode* e = doc->Root()->Nodes(0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Name(), "e");
    ASSERT_EQ(e->AttributeCount(), 3);
    EXPECT_EQ(e->AttributePair(0), "a='x \"y\"'");  // own quotes kept
    EXPECT_EQ(e->AttributePair(1), "b=\"p q\"");    // blanks around "=" joined
    EXPECT_EQ(e->AttributeByName("a"), "x \"y\"");
    EXPECT_EQ(e->AttributeByName("b"), "p q");
    EXPECT_EQ(e->AttributeByName("c"), "bare");
    EXPECT_EQ(e->NodeCount(), 0);
    // Written back as stored, so both quote kinds survive.
    EXPECT_EQ(doc->Root()->WriteToString(), "<r><e a='x \"y\"' b=\"p q\" c=bare/></r>");
}

TEST(XmlParser, TextRunsAndValues)
{
    auto doc = Parse("<r><a>  padded  </a><b></b><m>first<x/>second</m><c>\r\n  <d>1</d>\r\n</c></r>");
    TUtf8XmlNode* r = doc->Root();
    EXPECT_EQ(r->NodeByName("a")->Value(), "  padded  ");
    EXPECT_EQ(r->NodeByName("b")->Value(), "");
    EXPECT_EQ(r->NodeByName("b")->NodeCount(), 0);
    TUtf8XmlNode* m = r->NodeByName("m");
    EXPECT_EQ(m->Value(), "first");
    ASSERT_EQ(m->NodeCount(), 2);
    EXPECT_EQ(m->Nodes(0)->Name(), "x");
    EXPECT_EQ(m->Nodes(1)->ElementType(), xeCharData);
    EXPECT_EQ(m->Nodes(1)->Value(), "second");
    // A readable file gives no text runs at all.
    TUtf8XmlNode* c = r->NodeByName("c");
    EXPECT_EQ(c->Value(), "");
    ASSERT_EQ(c->NodeCount(), 1);
    EXPECT_EQ(c->Nodes(0)->ReadString("nothing", "-"), "-");
    EXPECT_EQ(c->ReadInteger("d"), 1);
    // Values stay escaped until read.
    auto esc = Parse("<r>a &amp; b &lt; c &#65;</r>");
    EXPECT_EQ(esc->Root()->Value(), "a &amp; b &lt; c &#65;");
    EXPECT_EQ(esc->Root()->ValueAsString(), "a & b < c A");
}

TEST(XmlParser, OtherNodeKinds)
{
    auto doc = Parse(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<?xml-stylesheet type=\"text/xsl\" href=\"s.xsl\"?>\n"
        "<!--top comment-->\n"
        "<!DOCTYPE r SYSTEM \"r.dtd\" [\n"
        "  <!ENTITY e \"<b>bold</b>\">\n"
        "  <!ELEMENT r (#PCDATA)>\n"
        "  %param;\n"
        "]>\n"
        "<?pi some data?>\n"
        "<r><![CDATA[<not> &a tag;]]><!-- inner --><?inner pi?><!foo bar></r>\n");
    TUtf8XmlNode* top = doc->RootNodeList();
    ASSERT_EQ(top->NodeCount(), 6);
    EXPECT_EQ(top->Nodes(0)->ElementType(), xeDeclaration);
    EXPECT_EQ(top->Nodes(0)->Name(), "xml");
    EXPECT_EQ(doc->EncodingString(), "UTF-8");
    EXPECT_EQ(top->Nodes(1)->ElementType(), xeStylesheet);
    EXPECT_EQ(top->Nodes(1)->Value(), "type=\"text/xsl\" href=\"s.xsl\"");
    EXPECT_EQ(top->Nodes(1)->AttributeByName("href"), "s.xsl");
    EXPECT_EQ(top->Nodes(2)->ElementType(), xeComment);
    EXPECT_EQ(doc->CommentString(), "top comment");
    TUtf8XmlNode* dtd = top->Nodes(3);
    EXPECT_EQ(dtd->ElementType(), xeDoctype);
    EXPECT_EQ(dtd->Name(), "r");
    EXPECT_EQ(dtd->Value(), "SYSTEM \"r.dtd\"");
    ASSERT_EQ(dtd->NodeCount(), 2);  // the parameter reference gives no node
    EXPECT_EQ(dtd->Nodes(0)->ElementType(), xeEntity);
    EXPECT_EQ(dtd->Nodes(0)->Name(), "e");
    EXPECT_EQ(dtd->Nodes(0)->Value(), "\"<b>bold</b>\"");
    EXPECT_EQ(doc->EntityValueByName("e"), "<b>bold</b>");
    EXPECT_EQ(dtd->Nodes(1)->ElementType(), xeElement);
    EXPECT_EQ(top->Nodes(4)->ElementType(), xeQuestion);
    EXPECT_EQ(top->Nodes(4)->Value(), "pi some data");
    TUtf8XmlNode* r = doc->Root();
    ASSERT_EQ(r->NodeCount(), 4);
    EXPECT_EQ(r->Nodes(0)->ElementType(), xeCData);
    EXPECT_EQ(r->Nodes(0)->Value(), "<not> &a tag;");
    EXPECT_EQ(r->Nodes(1)->ElementType(), xeComment);
    EXPECT_EQ(r->Nodes(2)->ElementType(), xeQuestion);
    EXPECT_EQ(r->Nodes(3)->ElementType(), xeExclam);
    EXPECT_EQ(r->Nodes(3)->Value(), "foo bar");

    TUtf8XmlDom dropping;
    dropping.SetDropCommentsOnParse(true);
    dropping.ReadFromString("<!--kept--><r><!--gone--><a/></r>");
    EXPECT_EQ(dropping.RootNodeList()->Nodes(0)->ElementType(), xeComment);
    EXPECT_EQ(dropping.Root()->NodeCount(), 1);
}

TEST(XmlParser, ForgivingInput)
{
    // A close tag in another case, text before the first "<", stray text
    // after the root and two roots are all accepted.
    auto doc = Parse("junk <Root><Item>1</ITEM></root> trailing <second/>");
    EXPECT_EQ(doc->Root()->Name(), "Root");
    EXPECT_EQ(doc->Root()->ReadInteger("item"), 1);
    EXPECT_EQ(doc->RootNodeList()->NodeCount(), 2);
    // Unknown entities and malformed references are kept as they stand.
    auto ent = Parse("<r>&bogus; &#xZZ; &#99999999; &amp</r>");
    EXPECT_EQ(ent->Root()->ValueAsString(), "&bogus; &#xZZ; &#99999999; &amp");
    // Non-ASCII element names and a close tag matched without regard to case.
    auto uni = Parse("<\xC3\x89t\xC3\xA9><\xC3\xBC>x</\xC3\x9C></\xC3\xA9T\xC3\x89>");
    EXPECT_EQ(uni->Root()->Name(), "\xC3\x89t\xC3\xA9");
    EXPECT_EQ(uni->Root()->ReadString("\xC3\x9C"), "x");
}

TEST(XmlParser, BadInputErrorTexts)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "No root element found in xml"},
        {"   \r\n ", "No root element found in xml"},
        {"plain text", "No root element found in xml"},
        {"<?xml version=\"1.0\"?><!--only a comment-->", "No root element found in xml"},
        {"<a>", "Missing close tag in element a"},
        {"<a><b>text", "Missing close tag in element b"},
        {"<a><", "Missing data after \"<\" in element a"},
        {"<a><   ", "Missing data after \"<\" in element a"},
        {"<a></a", "Missing \">\" in close tag of element a"},
        {"<a><b></a>", "Incorrect close tag in element b"},
        {"<a></b>", "Incorrect close tag in element a"},
        {"<>", "Missing element name"},
        {"<a>< ></a>", "Missing element name"},
        {"<a b=\"1></a>", "Missing close tag in element a"},
        {"<!-- unterminated", "No root element found in xml"},
        {"<![CDATA[x]]>", "No root element found in xml"},
        {"<a attr='x", "Missing close tag in element a"},
        {"<!ENTITY \"a b\" c><r/>", "Illegal character in node name \"\"a b\"\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { Parse(c.text); }), c.error) << c.text;
    }
    std::string nul("<a>x\0y</a>", 10);
    EXPECT_EQ(ErrorOf([&] { Parse(nul); }), "Missing close tag in element a");
}

TEST(XmlParser, ErrorsKeepWhatWasRead)
{
    TUtf8XmlDom doc;
    EXPECT_THROW(doc.ReadFromString("<!--c--><r><a>1</a><b>"), rtl::EFilerError);
    ASSERT_EQ(doc.RootNodeList()->NodeCount(), 2);
    EXPECT_EQ(doc.Root()->ReadInteger("a"), 1);
    EXPECT_NE(doc.Root()->NodeByName("b"), nullptr);
}

TEST(XmlParser, DocumentChecks)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"<a/><b/>", "More than one root element found in xml"},
        {"<?xml version=\"1.0\"?><?xml version=\"1.0\"?><a/>", "More than one xml declaration found in xml"},
        {"<!--c--><?xml version=\"1.0\"?><a/>", "Xml declaration must be first element"},
        {"<!DOCTYPE a><!DOCTYPE a><a/>", "More than one doctype declaration found in root"},
        {"<a/><!DOCTYPE a>", "Doctype declaration found after root element"},
        {"<![CDATA[x]]><a/>", "No CDATA allowed in root"},
        {"<?xml version=\"1.0\"?><!DOCTYPE a><a/>", ""},
    };
    for (const auto& c : cases) {
        TUtf8XmlDom lenient;
        EXPECT_EQ(ErrorOf([&] { lenient.ReadFromString(c.text); }), "") << c.text;
        TUtf8XmlDom strict;
        strict.SetParserWarnings(true);
        EXPECT_EQ(ErrorOf([&] { strict.ReadFromString(c.text); }), c.error) << c.text;
    }
    TUtf8XmlDom noRoot;
    noRoot.SetParserWarnings(true);
    noRoot.RootNodeList()->NodeDelete(1);
    EXPECT_EQ(ErrorOf([&] { noRoot.WriteToString(); }), "XML root element not defined.");
}

TEST(XmlParser, DeepNesting)
{
    const int depth = 10000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    text += "x";
    std::string open = text;
    for (int i = 0; i < depth; ++i) text += "</a>";
    TUtf8XmlDom doc;
    doc.ReadFromString(text);
    EXPECT_EQ(doc.Root()->TotalNodeCount(), depth - 1);
    EXPECT_TRUE(doc.WriteToString() == text + "\n");
    TUtf8XmlNode* deepest = doc.Root();
    while (deepest->NodeCount() > 0) deepest = deepest->Nodes(0);
    EXPECT_EQ(deepest->TreeDepth(), depth - 1);
    TUtf8XmlDom copy;
    copy.Assign(&doc);
    EXPECT_TRUE(copy.Root()->IsEqualTo(doc.Root(), {xcNodeName, xcRecursive}));
    // Unclosed at that depth: the error of the innermost element.
    EXPECT_EQ(ErrorOf([&] { TUtf8XmlDom d; d.ReadFromString(open); }), "Missing close tag in element a");

    // Far deeper than any call stack would take: costs only memory.
    const int huge = 300000;
    std::string big;
    big.reserve(huge * 7);
    for (int i = 0; i < huge; ++i) big += "<b>";
    big += "y";
    for (int i = 0; i < huge; ++i) big += "</b>";
    TUtf8XmlDom bigDoc;
    bigDoc.ReadFromString(big);
    EXPECT_TRUE(bigDoc.WriteToString() == big + "\n");
    TUtf8XmlNode* leaf = bigDoc.Root();
    while (leaf->NodeCount() > 0) leaf = leaf->Nodes(0);
    leaf->SetValue("");
    bigDoc.Root()->DeleteEmptyNodes();  // the empty chain folds up from the leaf
    EXPECT_EQ(bigDoc.Root()->NodeCount(), 0);
}

TEST(XmlParser, EventsAndAbort)
{
    TUtf8XmlDom doc;
    std::vector<std::string> seen;
    doc.OnNodeNew = [&](rtl::TObject* s, TUtf8XmlNode* n) {
        EXPECT_EQ(s, &doc);
        seen.push_back("new " + n->Name());
    };
    doc.OnNodeLoaded = [&](rtl::TObject*, TUtf8XmlNode* n) { seen.push_back("loaded " + n->Name()); };
    std::vector<int> progress;
    doc.OnProgress = [&](rtl::TObject*, int32_t p) { progress.push_back(p); };
    doc.ReadFromString("<r><a/><b>x</b></r>");
    const std::vector<std::string> expected = {"new r", "new a", "loaded a", "new b", "loaded b", "loaded r"};
    EXPECT_EQ(seen, expected);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 19);

    // An error reports the open nodes as loaded, innermost first.
    seen.clear();
    EXPECT_THROW(doc.ReadFromString("<r><a><b></a></r>"), rtl::EFilerError);
    const std::vector<std::string> onError = {"new r", "new a", "new b", "loaded b", "loaded a", "loaded r"};
    EXPECT_EQ(seen, onError);

    // A handler stops the parse; the partial tree stays.
    TUtf8XmlDom stop;
    stop.OnNodeLoaded = [&](rtl::TObject*, TUtf8XmlNode* n) {
        if (n->Name() == "a") stop.SetAbortParsing(true);
    };
    stop.ReadFromString("<r><a/><b/><c/></r>");
    EXPECT_EQ(stop.Root()->NodeCount(), 1);
    stop.ReadFromString("<r><a/><b/><c/></r>");  // every parse starts afresh
    EXPECT_EQ(stop.Root()->NodeCount(), 1);
}

TEST(XmlWriter, CompactAndReadableLayouts)
{
    TUtf8XmlDom doc("root");
    TUtf8XmlNode* r = doc.Root();
    r->SetValueAsString("v<");
    r->WriteString("Name", "x");
    r->NodeNew("Empty");
    r->NodeNew("Attr")->AttributeAdd("k", "1");
    TUtf8XmlNode* list = r->NodeNew("List");
    list->NodeNew("Item")->SetValueAsString("1");
    EXPECT_EQ(doc.WriteToString(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<root>v&lt;<Name>x</Name><Empty/><Attr k=\"1\"/><List><Item>1</Item></List></root>\n");
    doc.SetXmlFormat(xfReadable);
    EXPECT_EQ(doc.WriteToString(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<root>v&lt;<Name>x</Name><Empty/><Attr k=\"1\"/><List>\r\n"
              "    <Item>1</Item>\r\n"
              "  </List></root>\r\n");
    r->SetValue("");
    EXPECT_EQ(doc.WriteToString(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<root>\r\n"
              "  <Name>x</Name>\r\n"
              "  <Empty/>\r\n"
              "  <Attr k=\"1\"/>\r\n"
              "  <List>\r\n"
              "    <Item>1</Item>\r\n"
              "  </List>\r\n"
              "</root>\r\n");
    doc.SetUseFullNodes(true);
    doc.SetXmlFormat(xfCompact);
    EXPECT_EQ(r->NodeByName("Empty")->WriteToString(), "<Empty></Empty>");
    // A node without document: no indentation, no line ends.
    TUtf8XmlNode loose(nullptr, "x");
    loose.NodeNew("y")->NodeNew("z");
    EXPECT_EQ(loose.WriteToString(), "<x><y><z/></y></x>");
}

TEST(XmlWriter, TextRunsJoinTheirNeighbours)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<m>first<x/>second<y/></m>");
    doc.SetXmlFormat(xfReadable);
    // Mixed content is written as it stands.
    EXPECT_EQ(doc.WriteToString(), "<m>first<x/>second<y/></m>\r\n");
    // ... and read back to the same tree.
    TUtf8XmlDom again;
    again.ReadFromString(doc.WriteToString());
    EXPECT_EQ(xmltest::Dump(again), xmltest::Dump(doc));
}

TEST(XmlWriter, DoctypeWithSubset)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<!DOCTYPE r [<!ENTITY e \"v\"><!ELEMENT r ANY>]><r/>");
    EXPECT_EQ(doc.WriteToString(), "<!DOCTYPE r  [<!ENTITY e \"v\"><!ELEMENT r ANY>]>\n<r></r>\n");
    doc.RootNodeList()->Nodes(0)->NodeNew("")->SetElementType(static_cast<TXmlElementType>(99));
    EXPECT_EQ(ErrorOf([&] { doc.WriteToString(); }), "Illegal element type");
}
