// Whole-tree operations: search, paths, comparison, sorting, deleting
// empty nodes, copying and entity expansion.
#include <gtest/gtest.h>

#include "XmlTestUtil.h"
#include "xml/XmlDom.h"

using namespace xml;

namespace {

std::string Names(TUtf8XmlNode* n)
{
    std::string r;
    for (int i = 0; i < n->NodeCount(); ++i) r += (i ? "," : "") + n->Nodes(i)->Name();
    return r;
}

} // namespace

TEST(XmlTree, SearchAndPaths)
{
    TUtf8XmlDom doc;
    doc.ReadFromString(
        "<Root><A Index=\"2\"><B id=\"x\">1</B><C><B id=\"Y\">2</B></C></A><B id=\"z\">3</B></Root>");
    TUtf8XmlNode* root = doc.Root();
    TUtf8XmlNode* first = root->FindNode("b");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Value(), "1");
    EXPECT_EQ(root->FindNode("/root/b")->Value(), "3");
    EXPECT_EQ(root->FindNode("/ROOT/A/C/B")->Value(), "2");
    EXPECT_EQ(root->FindNode("nothing"), nullptr);
    std::vector<TUtf8XmlNode*> all;
    root->FindNodes("B", &all);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1]->Value(), "2");
    EXPECT_EQ(root->NodeByAttributeValue("b", "ID", "y")->Value(), "2");
    EXPECT_EQ(root->NodeByAttributeValue("b", "id", "y", false), nullptr);
    EXPECT_EQ(root->NodeByAttributeValue("b", "id", "z", false)->Value(), "3");
    TUtf8XmlNode* deep = root->FindNode("/Root/A/C/B");
    EXPECT_EQ(deep->FullPath(), "/Root/A/C/B");
    EXPECT_EQ(deep->TreeDepth(), 3);
    EXPECT_EQ(root->TreeDepth(), 0);
    EXPECT_EQ(doc.RootNodeList()->TreeDepth(), -1);
    EXPECT_EQ(root->FullPath(), "/Root");
    EXPECT_EQ(root->TotalNodeCount(), 5);
    EXPECT_EQ(deep->CascadedName(), "0000_Root0000_A0002_C0000_B0000");
}

TEST(XmlTree, DeleteEmptyNodes)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<r><a><b/><c></c></a><d k=\"1\"/><e>v</e><f/></r>");
    doc.Root()->DeleteEmptyNodes();
    EXPECT_EQ(Names(doc.Root()), "d,e");  // "a" empties once its children go
}

TEST(XmlTree, IsEqualTo)
{
    TUtf8XmlDom a, b;
    a.ReadFromString("<R x=\"1\"><N>1</N><M>2</M></R>");
    b.ReadFromString("<r X=\"1\"><n>1</n><m>3</m></r>");
    EXPECT_TRUE(a.Root()->IsEqualTo(b.Root(), {xcNodeName}));
    EXPECT_TRUE(a.Root()->IsEqualTo(b.Root(), {xcNodeName, xcAttribNames, xcAttribValues, xcChildCount}));
    std::vector<TUtf8XmlNode*> mismatch;
    EXPECT_FALSE(a.Root()->IsEqualTo(b.Root(), {xcChildValues}, &mismatch));
    ASSERT_EQ(mismatch.size(), 1u);
    EXPECT_EQ(mismatch[0]->Name(), "M");
    mismatch.clear();
    EXPECT_FALSE(a.Root()->IsEqualTo(b.Root(), {xcNodeValue, xcRecursive}, &mismatch));
    ASSERT_EQ(mismatch.size(), 1u);
    EXPECT_EQ(mismatch[0]->Name(), "M");
    EXPECT_FALSE(a.Root()->IsEqualTo(nullptr, {xcNodeName}));
    b.Root()->NodeByName("m")->SetName("Q");
    mismatch.clear();
    EXPECT_FALSE(a.Root()->IsEqualTo(b.Root(), {xcChildNames}, &mismatch));
    EXPECT_EQ(mismatch.size(), 1u);
}

TEST(XmlTree, SortChildNodes)
{
    TUtf8XmlDom doc;
    doc.ReadFromString("<r><delta/><Alpha/><charlie/><Bravo/><echo/><alpha2/></r>");
    doc.Root()->SortChildNodes();
    EXPECT_EQ(Names(doc.Root()), "Alpha,alpha2,Bravo,charlie,delta,echo");
    doc.Root()->SortChildNodes([](TUtf8XmlNode* a, TUtf8XmlNode* b, void*) {
        return static_cast<int>(b->Name().size()) - static_cast<int>(a->Name().size());
    });
    EXPECT_EQ(doc.Root()->Nodes(0)->Name(), "charlie");
    doc.OnNodeCompare = [](rtl::TObject*, TUtf8XmlNode* a, TUtf8XmlNode* b, void*) {
        return b->Name().compare(a->Name());
    };
    doc.Root()->SortChildNodes();
    EXPECT_EQ(Names(doc.Root()), "echo,delta,charlie,alpha2,Bravo,Alpha");
    // An inconsistent order function ends and keeps every child.
    doc.Root()->SortChildNodes([](TUtf8XmlNode*, TUtf8XmlNode*, void*) { return -1; });
    EXPECT_EQ(doc.Root()->NodeCount(), 6);

    TWideXmlDom wide;
    wide.ReadFromString("<r><b/><a/></r>");
    wide.Root()->SortChildNodes([](TWideXmlNode* a, TWideXmlNode* b, void*) { return a->Name().compare(b->Name()); });
    EXPECT_EQ(Names(wide.Root()), "a,b");
}

TEST(XmlTree, AssignCopiesSubtreeIntoAnotherDocument)
{
    TWideXmlDom layout;
    layout.ReadFromString("<Layout v=\"1\"><Pane n=\"left\"><Size>3</Size></Pane><Pane n=\"right\"/></Layout>");
    TWideXmlDom doc("TEDocument");
    TWideXmlNode* docking = doc.Root()->NodeNew("Docking");
    docking->Assign(layout.Root());
    EXPECT_EQ(docking->Name(), "Layout");
    EXPECT_EQ(docking->AttributeByName("v"), "1");
    EXPECT_EQ(docking->Nodes(0)->ReadInteger("Size"), 3);
    EXPECT_EQ(docking->Nodes(1)->Document(), &doc);
    EXPECT_EQ(docking->Nodes(1)->Parent(), docking);
    std::string copied;
    xmltest::Dump(docking, 0, copied);
    std::string source;
    xmltest::Dump(layout.Root(), 0, source);
    EXPECT_EQ(copied, source);
    // Copying a node from inside its own subtree.
    TWideXmlNode* pane = docking->Nodes(0);
    docking->Assign(pane);
    EXPECT_EQ(docking->Name(), "Pane");
    EXPECT_EQ(docking->ReadInteger("Size"), 3);
    // A document's tree into a node.
    TUtf8XmlNode holder(nullptr, "h");
    holder.Assign(&layout);
    ASSERT_EQ(holder.NodeCount(), 1);  // the parsed document has no declaration
    EXPECT_EQ(holder.Nodes(0)->Name(), "Layout");
    EXPECT_EQ(holder.Nodes(0)->NodeCount(), 2);
}

TEST(XmlTree, EntityExpansion)
{
    TUtf8XmlDom doc;
    doc.ReadFromString(
        "<!DOCTYPE r [<!ENTITY sig \"<b>bold</b><i>it</i>\"><!ENTITY co \"ACME\">"
        "<!ENTITY loop \"<x>&loop;</x>\">]>"
        "<r a=\"by &co; inc\">before &sig; after<l>&loop;</l></r>");
    doc.ResolveEntityReferences();
    TUtf8XmlNode* r = doc.Root();
    EXPECT_EQ(r->AttributeByName("a"), "by ACME inc");
    EXPECT_EQ(r->Value(), "before ");
    ASSERT_GE(r->NodeCount(), 4);
    EXPECT_EQ(r->Nodes(0)->Name(), "b");
    EXPECT_EQ(r->Nodes(1)->Name(), "i");
    EXPECT_EQ(r->Nodes(2)->ElementType(), xeCharData);
    EXPECT_EQ(r->Nodes(2)->Value(), " after");
    // A self-referring entity is expanded once and then left alone.
    TUtf8XmlNode* l = r->NodeByName("l");
    ASSERT_EQ(l->NodeCount(), 1);
    EXPECT_EQ(l->Nodes(0)->Name(), "x");
    EXPECT_EQ(l->Nodes(0)->Value(), "&loop;");
}
