// The lexer's token readers under the grammars' settings, and the script
// XML tree (escaping, format errors, layout).
#include <gtest/gtest.h>

#include "script/qs_iparser.h"
#include "script/qs_xml.h"

namespace {

qs::TqsParser Pascal(const std::string& text)
{
    qs::TqsParser p;
    p.SetText(text);
    return p;
}

qs::TqsParser CLike(const std::string& text)
{
    qs::TqsParser p;
    p.SetStringQuotes("\"");
    p.SetSpecStrChar(true);
    p.SetHexSequence("0x");
    p.SetCommentBlock1("/*,*/");
    p.SetCommentBlock2("/*,*/");
    p.SetText(text);
    return p;
}

TEST(Lexer, Strings)
{
    struct {
        bool cLike;
        const char* text;
        const char* token;
    } cases[] = {
        {false, "'it''s'", "'it's'"},
        {false, "'a'#13#$0D'b'", "'a\r\rb'"},
        {false, "'unterminated", ""},
        {false, "'line\nbreak'", ""},
        {true, "\"a\\n\\x41\\\\\\\"\"", "'a\nA\\\"'"},
        {true, "\"a\"\"b\"", "'ab'"},  // two adjacent strings
        {true, "\"open \\\"", ""},
    };
    for (auto& c : cases) {
        qs::TqsParser p = c.cLike ? CLike(c.text) : Pascal(c.text);
        EXPECT_EQ(p.GetString(), c.token) << c.text;
        if (!*c.token) { EXPECT_EQ(p.Position(), 1) << c.text; }
    }
}

TEST(Lexer, Numbers)
{
    EXPECT_EQ(Pascal("1..2").GetNumber(), "1");
    EXPECT_EQ(Pascal("1.5e3x").GetNumber(), "1.5e3");
    EXPECT_EQ(Pascal("2E").GetNumber(), "2");
    EXPECT_EQ(Pascal("$1F").GetNumber(), "$1F");
    EXPECT_EQ(CLike("0x1F").GetNumber(), "$1F");
    EXPECT_EQ(Pascal("-1").GetNumber(), "");
}

TEST(Lexer, CommentsKeywordsAndPositions)
{
    qs::TqsParser p = Pascal("{ never closed");
    EXPECT_EQ(p.GetWord(), "");
    EXPECT_EQ(p.Position(), p.Size() + 1);

    qs::TqsParser b;
    b.SetCommentLine1("'");
    b.SetCommentLine2("rem");
    b.SetText("remark\nREM x");
    EXPECT_EQ(b.GetWord(), "REM");  // "rem" is case-sensitive and begins a comment even inside a word

    qs::TqsParser k = Pascal("Begin");
    k.AddKeyword("begin");
    EXPECT_EQ(k.GetIdent(), "");
    k.SetCaseSensitive(true);
    k.SetPosition(1);
    EXPECT_EQ(k.GetIdent(), "Begin");

    qs::TqsParser e = Pascal("");
    EXPECT_EQ(e.GetXYPosition(), "1:1");
    qs::TqsParser y = Pascal("ab\ncd");
    y.SetPosition(5);
    EXPECT_EQ(y.GetXYPosition(), "2:2");
    EXPECT_EQ(y.GetPlainPosition(2, 2), 5);
    EXPECT_EQ(y.GetPlainPosition(1, 9), -1);

    qs::TqsParser f = Pascal("a <b[c]> d");
    f.SetPosition(4);
    EXPECT_EQ(f.GetFRString(), "b[c]");
}

TEST(ScriptXml, AttributesSurviveWriteAndRead)
{
    qs::TqsXMLDocument d;
    d.Root()->SetName("root");
    qs::TqsXMLItem* i = d.Root()->Add();
    i->SetName("item");
    std::string tricky = "a\"b<c>d\r\ne & f";
    i->SetProp("text", tricky);
    i->SetProp("pos", "1:2");
    i->SetProp("text", tricky);  // replaced in place
    std::string written = d.SaveToString();
    EXPECT_EQ(written, "<?xml version=\"1.0\"?><root><item text=\"a&#34;b&#60;c&#62;d&#13;&#10;e & f\" pos=\"1:2\"/></root>");
    qs::TqsXMLDocument r;
    r.LoadFromString(written);
    EXPECT_EQ(r.Root()->Items(0)->Prop("TEXT"), tricky);
    EXPECT_EQ(qs::UnescapeAttribute("&quot;x&quot;"), "\"x\"");

    d.SetAutoIndent(true);
    EXPECT_EQ(d.SaveToString(),
              "<?xml version=\"1.0\"?>\r\n<root>\r\n  <item text=\"a&#34;b&#60;c&#62;d&#13;&#10;e & f\" pos=\"1:2\"/>\r\n</root>\r\n");
}

TEST(ScriptXml, ReadingShapes)
{
    qs::TqsXMLDocument d;
    d.LoadFromString("<?xml version=\"1.0\"?><!-- c --> text <a><b/><c x=\"1\"/><d></D><!-- x -- y --></A>");
    ASSERT_EQ(d.Root()->Count(), 3);
    EXPECT_EQ(d.Root()->Items(1)->Prop("x"), "1");
    EXPECT_EQ(d.Root()->Items(2)->Count(), 0);
    EXPECT_EQ(d.Root()->FindItem("missing")->Name(), "missing");
    EXPECT_EQ(d.Root()->Count(), 4);
}

TEST(ScriptXml, InvalidFormat)
{
    for (const char* text : {"<root/>", "<?xml?><a <b>", "<?xml?><a x=\"1\"", "<?xml?><a></b>"}) {
        qs::TqsXMLDocument d;
        try {
            d.LoadFromString(text);
            ADD_FAILURE() << text;
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), "Invalid file format") << text;
        }
    }
}

} // namespace
