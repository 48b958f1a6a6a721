// The HTML export: the document's shape, shared classes, merged areas,
// links, entities, the XHTML head, widths, and opening through the shell.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridio/GridFiles.h"
#include "xml/XmlDom.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

using namespace grid;
using gridio::TGridFiles;

namespace {

struct HTMLFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    HTMLFixture()
    {
        Form.SetBounds(0, 0, 600, 500);
        G->SetParent(&Form);
        G->SetColCount(4);
        G->SetRowCount(3);
        G->SetSaveFixedCells(false);
        G->Font()->SetName("Arial");
        G->Font()->SetSize(10);
    }
};

} // namespace

TEST_F(HTMLFixture, GoldenDocument)
{
    G->SetCells(1, 1, "a<b");
    G->SetCells(2, 1, "x");
    G->SetCells(3, 1, "bold");
    G->SetCellFontStyle(3, 1, {gui::TFontStyle::fsBold});
    G->SetCells(1, 2, "");
    G->SetCells(2, 2, "two\r\nlines");
    G->HTMLSettings()->ColWidths() = {40, 50};
    const std::string plain = "font-size:10pt;font-family: Arial;vertical-align: top;";
    const std::string bold = "font-size:10pt;font-weight: bold;font-family: Arial;vertical-align: top;";
    const std::string expected =
        "<style>\r\n.c0 {" + plain + "}\r\n.c1 {" + bold + "}\r\n</style>\r\n"
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">\r\n"
        "<tr><td class=\"c0\" nowrap width=40>a<b</td><td class=\"c0\" nowrap width=50>x</td>"
        "<td class=\"c1\">bold</td></tr>"
        "<tr><td class=\"c0\" nowrap width=40>&nbsp;</td><td class=\"c0\" nowrap width=50>two<br>\nlines</td>"
        "<td class=\"c0\" nowrap>&nbsp;</td></tr>"
        "\r\n</table>\r\n";
    EXPECT_EQ(TGridFiles(*G).SaveToHTMLString(""), expected);
}

TEST_F(HTMLFixture, EntitiesLinksMergesAndXHTML)
{
    G->SetRowCount(5);
    G->SetCells(1, 1, "a<b");
    G->SetCells(2, 1, "http://example.org/x");
    G->SetCells(3, 1, "mailto:me@example.org");
    G->MergeCells(1, 2, 2, 3);
    G->SetCells(1, 2, "merged");
    G->HTMLSettings()->SetConvertSpecialChars(true);
    G->SetURLShow(true);
    G->HTMLSettings()->SetXHTML(true);
    G->HTMLSettings()->SetSummary("sum");
    const std::string doc = TGridFiles(*G).SaveToHTMLString("");
    EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE html", 0), 0u);
    EXPECT_NE(doc.find("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">"), std::string::npos);
    EXPECT_NE(doc.find(">a&lt;b</td>"), std::string::npos);
    EXPECT_NE(doc.find("<a href=\"http://example.org/x\">example.org/x</a>"), std::string::npos);
    EXPECT_NE(doc.find("<a href=\"mailto:me@example.org\">me@example.org</a>"), std::string::npos);
    EXPECT_NE(doc.find("colspan=\"2\" rowspan=\"3\">merged</td>"), std::string::npos) << doc;
    EXPECT_NE(doc.find("summary=\"sum\" "), std::string::npos);
    // Row 3 holds only the covered cells and the last column.
    EXPECT_NE(doc.find("</tr><tr><td class=\"c0\" nowrap=\"nowrap\">&#160;</td></tr><tr><td"), std::string::npos);
    EXPECT_EQ(doc.substr(doc.size() - 9), "</html>\r\n");
    G->SetURLFull(true);
    EXPECT_NE(TGridFiles(*G).SaveToHTMLString("").find("<a href=\"http://example.org/x\">http://example.org/x</a>"),
              std::string::npos);
    // Plain HTML keeps its own forms.
    G->HTMLSettings()->SetXHTML(false);
    const std::string html = TGridFiles(*G).SaveToHTMLString("");
    EXPECT_NE(html.find("<a href=http://example.org/x>"), std::string::npos);
    EXPECT_NE(html.find("SUMMARY=\"sum\" "), std::string::npos);
    EXPECT_NE(html.find(" nowrap>&nbsp;</td>"), std::string::npos);
}

// An XHTML file is well-formed XML in the encoding it declares: quoted
// attribute values, closed line breaks, only XML's own entities.
TEST_F(HTMLFixture, XHTMLFileIsWellFormedXML)
{
    const auto dir = tectest::ScratchDir("gridio-xhtml");
    const std::string file = (dir / "out.html").string();
    G->SetRowCount(4);
    G->SetCells(1, 1, "a<b & \"c\"");
    G->SetCells(2, 1, "two\r\nlines");
    G->SetCells(3, 1, "caf\xC3\xA9 au lait");
    G->SetCells(1, 2, "http://example.org/?a=1&b=2");
    G->SetCells(2, 2, "");
    G->HTMLSettings()->ColWidths() = {40, 50, 60};
    G->HTMLSettings()->SetConvertSpecialChars(true);
    G->HTMLSettings()->SetNonBreakingText(true);
    G->HTMLSettings()->SetXHTML(true);
    G->SetURLShow(true);
    TGridFiles(*G).SaveToHTML(file, false);

    xml::TUtf8XmlDom dom;
    ASSERT_NO_THROW(dom.LoadFromFile(file));
    xml::TUtf8XmlNode* root = dom.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), "html");
    std::vector<xml::TUtf8XmlNode*> cells;
    root->FindNodes("td", &cells);
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[0]->AttributeByName("nowrap"), "nowrap");
    EXPECT_EQ(cells[0]->AttributeByName("width"), "40");
    EXPECT_NE(cells[1]->FindNode("br"), nullptr);
    ASSERT_NE(cells[3]->FindNode("a"), nullptr);
    EXPECT_EQ(cells[3]->FindNode("a")->AttributeByName("href").rfind("http://example.org/?a=1&", 0), 0u);
    // The bytes on disk are the UTF-8 the declaration names.
    const std::string bytes = tectest::ReadText(file);
    EXPECT_NE(bytes.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), std::string::npos);
    EXPECT_NE(bytes.find("caf\xC3\xA9&#160;au"), std::string::npos);
    EXPECT_EQ(bytes.find("&nbsp;"), std::string::npos);
}

TEST_F(HTMLFixture, FileWithHeaderFooterAndShell)
{
    const auto dir = tectest::ScratchDir("gridio-html");
    const std::string head = (dir / "head.txt").string(), file = (dir / "out.html").string();
    {
        rtl::TFileStream h(head, rtl::fmCreate);
        h.WriteString("<html><body>\r\n");
    }
    G->SetCells(1, 1, "cell");
    G->HTMLSettings()->SetHeaderFile(head);
    G->HTMLSettings()->SetFooterFile((dir / "missing.txt").string());
    std::vector<std::string> opened;
    gui::SetShellOpenHandler([&](const std::string& t) {
        opened.push_back(t);
        return true;
    });
    TGridFiles(*G).SaveToHTML(file, true);
    gui::SetShellOpenHandler(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{file});
    const std::string text = tectest::ReadText(file);
    EXPECT_EQ(text.rfind("<html><body>\r\n<style>", 0), 0u);
    EXPECT_NE(text.find(">cell</td>"), std::string::npos);
    TGridFiles(*G).AppendToHTML(file);
    const std::string twice = tectest::ReadText(file);
    EXPECT_EQ(twice.size(), text.size() * 2);
    EXPECT_THROW(TGridFiles(*G).SaveToHTML((dir / "no" / "x.html").string(), false), ZEziDoroZezuz);
}

// Special characters in a header cell are encoded like those of the data
// cells: the header "<b>&" is shown as text, in HTML and in XHTML alike.
TEST_F(HTMLFixture, HeaderCellsAreEncoded)
{
    G->SetSaveFixedCells(true);
    G->SetCells(1, 0, "<b>&");
    G->SetCells(1, 1, "<i>");
    G->HTMLSettings()->SetConvertSpecialChars(true);
    const std::string html = TGridFiles(*G).SaveToHTMLString("");
    EXPECT_NE(html.find(">&lt;b&gt;&amp;</td>"), std::string::npos) << html;
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find(">&lt;i&gt;</td>"), std::string::npos);

    const auto dir = tectest::ScratchDir("gridio-xhtml-header");
    const std::string file = (dir / "out.html").string();
    G->HTMLSettings()->SetXHTML(true);
    TGridFiles(*G).SaveToHTML(file, false);
    xml::TUtf8XmlDom dom;
    ASSERT_NO_THROW(dom.LoadFromFile(file));
    std::vector<xml::TUtf8XmlNode*> cells;
    dom.Root()->FindNodes("td", &cells);
    ASSERT_EQ(cells.size(), 12u);
    EXPECT_EQ(cells[1]->ValueAsString(), "<b>&");
    EXPECT_EQ(cells[5]->ValueAsString(), "<i>");
}

// Appending an XHTML document to a file, or writing it behind a header
// file, leaves one XML declaration, at the start of the file; the appended
// table is there all the same.
TEST_F(HTMLFixture, OneXMLDeclarationAtTheStart)
{
    const auto dir = tectest::ScratchDir("gridio-xhtml-append");
    const std::string file = (dir / "out.html").string(), head = (dir / "head.txt").string();
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    auto count = [](const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    };
    G->SetCells(1, 1, "cell");
    G->HTMLSettings()->SetXHTML(true);
    TGridFiles(*G).AppendToHTML(file);   // a missing file is created, declaration first
    TGridFiles(*G).AppendToHTML(file);
    std::string text = tectest::ReadText(file);
    EXPECT_EQ(count(text, "<?xml"), 1u);
    EXPECT_EQ(text.find(decl), 3u);   // behind the UTF-8 byte-order mark only
    EXPECT_EQ(count(text, ">cell</td>"), 2u);
    EXPECT_EQ(count(text, "</html>"), 2u);

    {
        rtl::TFileStream h(head, rtl::fmCreate);
        h.WriteString("<!-- made by the test -->\r\n");
    }
    G->HTMLSettings()->SetHeaderFile(head);
    TGridFiles(*G).SaveToHTML(file, false);
    text = tectest::ReadText(file);
    EXPECT_EQ(count(text, "<?xml"), 0u);
    EXPECT_NE(text.find("<!-- made by the test -->\r\n<!DOCTYPE html"), std::string::npos);
    // A file saved on its own still begins with the declaration.
    G->HTMLSettings()->SetHeaderFile("");
    TGridFiles(*G).SaveToHTML(file, false);
    EXPECT_NE(tectest::ReadText(file).find(decl), std::string::npos);
}
