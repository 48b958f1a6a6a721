// The XML export and import.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridio/GridFiles.h"
#include "gridio/XmlDomServer.h"
#include "platform/rtl/OleClasses.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TextFiles.h"

using namespace grid;
using gridio::TGridFiles;

namespace {

struct XMLFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("gridio-xml");
    XMLFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetColCount(4);
        G->SetRowCount(3);
        G->SetSaveFixedCells(false);
        gridio::RegisterXmlDomServer();
    }
    std::string File(const std::string& n) { return (Dir / n).string(); }
    void Write(const std::string& n, const std::string& text)
    {
        rtl::TFileStream f(File(n), rtl::fmCreate);
        f.WriteString(text);
    }
};

} // namespace

TEST_F(XMLFixture, GoldenExport)
{
    G->SetCells(1, 1, "A&B");
    G->SetCells(2, 1, "x<y \"q\"");
    G->SetCells(3, 1, "third");
    G->SetCells(1, 2, "r2");
    const std::vector<std::string> names = {"NAME", "VALUE"};
    TGridFiles(*G).SaveToXML(File("a.xml"), "LIST", "REC", &names, false);
    EXPECT_EQ(tectest::ReadText(File("a.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<LIST>\r\n<REC>\r\n<NAME>A$amp;B</NAME>\r\n"
              "<VALUE>x&lt;y &quot;q&quot;</VALUE>\r\n<FIELD2>third</FIELD2>\r\n</REC>\r\n<REC>\r\n"
              "<NAME>r2</NAME>\r\n</REC>\r\n</LIST>\r\n");
    TGridFiles(*G).SaveToXML(File("b.xml"), "L", "R", nullptr, true);
    EXPECT_NE(tectest::ReadText(File("b.xml")).find("<FIELD1>\"\"</FIELD1>"), std::string::npos);
    EXPECT_THROW(TGridFiles(*G).SaveToXML((Dir / "no" / "x.xml").string(), "L", "R", nullptr, false),
                 ZEziDoroZezuz);
}

TEST_F(XMLFixture, RoundTripThroughImport)
{
    G->SetCells(1, 1, "A&B");
    G->SetCells(2, 1, "x<y");
    G->SetCells(1, 2, "r2");
    TGridFiles(*G).SaveToXML(File("a.xml"), "LIST", "REC", nullptr, true);
    gui::TForm form{nullptr};
    auto* h = new TExStringGrid(&form);
    h->SetParent(&form);
    h->SetSaveFixedCells(false);
    TGridFiles(*h).LoadFromXML(File("a.xml"), false);
    EXPECT_EQ(h->Cells(1, 1), "A&B");
    EXPECT_EQ(h->Cells(2, 1), "x<y");
    EXPECT_EQ(h->Cells(3, 1), "");  // written as "" and read back empty
    EXPECT_EQ(h->Cells(1, 2), "r2");
}

TEST_F(XMLFixture, ImportAttributesAndNestedLevels)
{
    Write("attr.xml", "<list>\n <item id=\"1\" name=\"one\"/>\n <item id=\"2\" name=\"two &amp; more\"/>\n</list>\n");
    G->SetSaveFixedCells(true);
    TGridFiles(*G).LoadFromXML(File("attr.xml"), false);
    EXPECT_EQ(G->Cells(0, 0), "id");
    EXPECT_EQ(G->Cells(1, 0), "name");
    EXPECT_EQ(G->Cells(0, 1), "1");
    EXPECT_EQ(G->Cells(1, 2), "two & more");

    Write("nest.xml", "<root><rec a=\"x\" b=\"y\"><v>1</v><w>2</w></rec></root>");
    gui::TForm form{nullptr};
    auto* h = new TExStringGrid(&form);
    h->SetParent(&form);
    h->SetSaveFixedCells(false);
    TGridFiles(*h).LoadFromXML(File("nest.xml"), true);
    // Attributes on the first row, the nested values on the row below from
    // the column of the level counter.
    EXPECT_EQ(h->Cells(1, 1), "x");
    EXPECT_EQ(h->Cells(2, 1), "y");
    EXPECT_EQ(h->Cells(2, 2), "1");
    EXPECT_EQ(h->Cells(3, 2), "2");
}

TEST_F(XMLFixture, ErrorTexts)
{
    auto message = [&](const std::string& file) {
        try {
            TGridFiles(*G).LoadFromXML(file, false);
        } catch (const rtl::Exception& e) {
            return e.Message();
        }
        return std::string();
    };
    G->SetCells(1, 1, "before");
    EXPECT_EQ(message(File("none.xml")), "XML file not found");
    Write("bad.xml", "<a><b></a>");
    EXPECT_EQ(message(File("bad.xml")).rfind("XMLDOM Parsing error ", 0), 0u);
    EXPECT_EQ(G->Cells(1, 1), "before");
    Write("good.xml", "<a><b x=\"1\"/></a>");
    rtl::UnregisterOleClass("Microsoft.XMLDOM");
    EXPECT_EQ(message(File("good.xml")), "XMLDOM server component not found");
    gridio::RegisterXmlDomServer();
    EXPECT_EQ(message(File("bad.xml")), "XMLDOM Parsing error 1 on line 0");
}

TEST_F(XMLFixture, DomServerMembers)
{
    Write("d.xml", "<root><rec id=\"7\">text<sub>s</sub></rec><!-- note --></root>");
    rtl::Variant dom = rtl::CreateOleObject("microsoft.xmldom");
    auto get = [](const rtl::Variant& o, const std::string& n, std::vector<rtl::Variant> a = {}) {
        return o.AsDispatch()->GetProperty(n, a);
    };
    EXPECT_TRUE(dom.AsDispatch()->Call("LOAD", {rtl::Variant(File("d.xml"))}).AsBoolean());
    EXPECT_EQ(get(get(dom, "parseError"), "errorCode").AsInteger(), 0);
    const rtl::Variant root = get(dom, "documentElement");
    EXPECT_EQ(get(root, "nodeName").AsString(), "root");
    const rtl::Variant recs = get(root, "childNodes");
    ASSERT_EQ(get(recs, "Length").AsInteger(), 1);
    const rtl::Variant rec = get(recs, "Item", {rtl::Variant(0)});
    EXPECT_EQ(get(rec, "text").AsString(), "texts");
    const rtl::Variant attrs = get(rec, "attributes");
    ASSERT_TRUE(attrs.IsDispatch());
    EXPECT_EQ(get(get(attrs, "item", {rtl::Variant(0)}), "nodeName").AsString(), "id");
    EXPECT_EQ(get(get(attrs, "item", {rtl::Variant(0)}), "Text").AsString(), "7");
    const rtl::Variant kids = get(rec, "childNodes");
    ASSERT_EQ(get(kids, "length").AsInteger(), 2);
    EXPECT_TRUE(get(get(kids, "item", {rtl::Variant(0)}), "attributes").IsNull());  // a text node
}
