// The markup's text side: colour values, plain text, entities, tag
// insertion around matches and the inline-control text operations.

#include <gtest/gtest.h>

#include "htmltext/GrdHTMLE.h"

using namespace htmltext;
const TMarkupDialect P = TMarkupDialect::mdPanel;
const TMarkupDialect G = TMarkupDialect::mdGrid;

TEST(MarkupColors, NamesHexAndSystemColours)
{
    EXPECT_EQ(MarkupColor("clRed"), gui::RGB(255, 0, 0));
    EXPECT_EQ(MarkupColor("CLRED"), MarkupColor("#FF0000"));
    EXPECT_EQ(MarkupColor("#ff0000"), gui::RGB(255, 0, 0));
    EXPECT_EQ(MarkupColor("#102030"), gui::RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(MarkupColor("#1020"), gui::RGB(0x10, 0x20, 0));   // a missing pair counts 0
    EXPECT_EQ(MarkupColor("#10203"), gui::RGB(0x10, 0x20, 0));  // so does a short one
    EXPECT_EQ(MarkupColor("clTeal"), gui::RGB(0, 128, 128));
    EXPECT_EQ(MarkupColor("clBtnFace"), gui::clBtnFace);
    EXPECT_EQ(MarkupColor("clInfoBk"), gui::clInfoBk);
    EXPECT_EQ(MarkupColor("clNoSuchColour"), gui::clBlack);
    EXPECT_EQ(MarkupColor("clBlack"), gui::clBlack);
    EXPECT_EQ(MarkupColor(""), gui::clNone);
}

TEST(MarkupValues, AttributesAndNumbers)
{
    EXPECT_EQ(TagAttribute("FONT face=\"Arial\" color=\"clRed\"", "FACE", false), "ARIAL");
    EXPECT_EQ(TagAttribute("img src=\"Pic.png\"", "SRC", true), "Pic.png");
    EXPECT_EQ(TagAttribute("img src=Pic.png", "SRC", true), "");
    EXPECT_EQ(TagAttribute("font bgcolor=\"a\" color=\"b\"", " COLOR", false), "B");
    bool valid = false;
    EXPECT_EQ(ReadMarkupNumber(" 42", &valid), 42);
    EXPECT_TRUE(valid);
    EXPECT_EQ(ReadMarkupNumber("-7px", &valid), -7);
    EXPECT_FALSE(valid);
    EXPECT_EQ(ReadMarkupNumber("$1F"), 31);
    EXPECT_EQ(ReadMarkupNumber("0x10"), 16);
    EXPECT_EQ(ReadMarkupNumber("abc", &valid), 0);
    EXPECT_FALSE(valid);
    EXPECT_EQ(ReadMarkupNumber("99999999999999"), 0x7FFFFFFF);
}

TEST(MarkupPlainText, TagsBreaksAndHiddenText)
{
    EXPECT_EQ(MarkupToPlainText(P, "a<br>b<HR>c"), "a\r\nb\r\nc");
    EXPECT_EQ(MarkupToPlainText(G, "<b>bold</b> &amp; <i>it</i>"), "bold &amp; it");
    EXPECT_EQ(MarkupToPlainText(P, "a<z>hidden</z>b<Z>x</Z>c"), "abc");
    EXPECT_EQ(MarkupToPlainText(G, "a<z>hidden</z>b"), "ahiddenb");
    EXPECT_EQ(MarkupToPlainText(P, "a<z>rest"), "a");
    EXPECT_EQ(MarkupToPlainText(P, "a < b"), "a < b");
    EXPECT_EQ(MarkupToPlainText(P, "x<b>y</b> a < b"), "xy a < b");
}

TEST(MarkupPrepare, EntityRewriteIsLinearAndComplete)
{
    EXPECT_EQ(PrepareMarkup(G, "&AMP;&quot;&sect;&permil;&reg;&copy;&para;&trade;&euro;"), "&&\"§‰®©¶™€");
    // Nested escapes resolve as repeated passes would.
    EXPECT_EQ(PrepareMarkup(G, "&amp;amp;"), "&&&");
    EXPECT_EQ(PrepareMarkup(G, "&amp;quot;"), "&\"");
    EXPECT_EQ(PrepareMarkup(G, "a\r\nb"), "a<BR>b");
    EXPECT_EQ(PrepareMarkup(P, "<#a> <#b>"), "#a <#b>");
    EXPECT_EQ(PrepareMarkup(G, "<#a> <#b>"), "#a #b");
}

TEST(MarkupEntities, EncodeDecodeRoundTrip)
{
    EXPECT_EQ(DecodeHTMLEntities("&Eacute;&eacute;&eacute;&Eacute;"), "ÉééÉ");
    EXPECT_EQ(DecodeHTMLEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(DecodeHTMLEntities("&EACUTE;"), "&EACUTE;");
    EXPECT_EQ(EncodeHTMLEntities("a<b>&\"é€»"), "a&lt;b&gt;&amp;&quot;&eacute;&euro;&raquo;");
    for (const char* s : {"&amp; *amp; <x> \"q\" ÄÖÜ äöü ç Ø å © ® € « »", "", "plain", "&&&;;"})
        EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(s)), s);
    EXPECT_EQ(EncodeNonBreakingSpaces("a b  c"), "a&nbsp;b&nbsp;&nbsp;c");
}

TEST(MarkupHighlight, InsertAndRemoveTags)
{
    EXPECT_EQ(InsertTagAroundMatches(P, "aaaa", "aa", "hi", true), "<hi>aa</hi><hi>aa</hi>");
    EXPECT_EQ(InsertTagAroundMatches(P, "a<b>b</b>c", "b", "hi", true), "a<hi><b>b</hi></b>c");
    EXPECT_EQ(InsertTagAroundMatches(P, "a<b>b</b>", "b", "hi", true), "a<hi><b>b</b></hi>");
    EXPECT_EQ(InsertTagAroundMatches(P, "Abc abc", "ABC", "e", false), "<e>Abc</e> <e>abc</e>");
    EXPECT_EQ(InsertTagAroundMatches(P, "Abc", "ABC", "e", true), "Abc");
    EXPECT_EQ(InsertTagAroundMatches(G, "Äpfel äpfel", "ÄPFEL", "hi", false), "<hi>Äpfel</hi> <hi>äpfel</hi>");
    EXPECT_EQ(InsertTagAroundMatches(P, "Äpfel äpfel", "ÄPFEL", "hi", false), "<hi>Äpfel</hi> äpfel");
    EXPECT_EQ(InsertTagAroundMatches(P, "abc", "x", "hi", true), "abc");
    EXPECT_EQ(InsertTagAroundMatches(P, "", "x", "hi", true), "");
    // An empty search text matches nothing and returns at once.
    EXPECT_EQ(InsertTagAroundMatches(P, "abc", "", "hi", true), "abc");
    EXPECT_EQ(InsertTagAroundMatches(G, "abc", "", "hi", false), "abc");
    // A stray "<" in a grid cell: the cell becomes escaped text, and the
    // removal gives the "<" back.
    std::string hi = InsertTagAroundMatches(G, "1 < 2", "2", "hi", true);
    EXPECT_EQ(hi, "1 &lt; <hi>2</hi>");
    EXPECT_EQ(RemoveTagPairs(G, hi, "hi"), "1 < 2");
    EXPECT_EQ(RemoveTagPairs(P, "<HI>a</Hi><hi>b</hi>", "hi"), "ab");
    // A "<" without ">" is searched unchanged.
    EXPECT_EQ(InsertTagAroundMatches(P, "a<b", "b", "hi", true), "a<<hi>b</hi>");
    EXPECT_EQ(StripTagsForMatching("x>y<b>z"), "x>y<b>z");
    EXPECT_EQ(StripTagsForMatching("<b>z</b>"), "z");
    EXPECT_EQ(MarkupPosOfPlainChar("a<b>b</b>c", 2), 2);
    EXPECT_EQ(MarkupPosOfPlainChar("a<b>b</b>c", 3), 6);
    EXPECT_EQ(MarkupPosOfPlainChar("a<b>b</b>c", 4), 11);
    EXPECT_EQ(MarkupPosOfPlainChar("a<b>b</b>c", 5), 0);
}

TEST(MarkupControlText, ParseFindAndRewrite)
{
    std::string t = "x<CONTROL TYPE=\"button\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\">"
                    "<control type=\"edit\" id=\"e1\" value=\"a&amp;b\" width=\"50\" maxlen=\"8\" prop=\"p1\" extra=\"z\">"
                    "<control type=\"radio\" id=\"r1\" value=\"TRUE\" width=\"16\">"
                    "<control type=\"mask\" id=\"m\" value=\"\" width=\"30\" prop=\"99\">";
    TControlTag c = ParseControlTag(" type=\"edit\" id=\"e1\" value=\"a&amp;b\" width=\"50\"");
    EXPECT_EQ(c.Type, "EDIT");
    EXPECT_EQ(c.Value, "a&b");
    EXPECT_TRUE(HasInlineControl(t));
    EXPECT_FALSE(HasInlineControl("<b>x</b>"));
    EXPECT_EQ(NextEditableControlID(t, ""), "e1");
    EXPECT_EQ(NextEditableControlID(t, "e1"), "m");
    EXPECT_EQ(NextEditableControlID(t, "m"), "");
    EXPECT_EQ(GetControlProp(t, "m"), "99");
    EXPECT_EQ(GetControlMaxLen(t, "e1"), 8);
    EXPECT_EQ(GetControlMaxLen(t, "none"), 0);

    std::string u = t;
    EXPECT_FALSE(SetControlValue(u, "nope", "v"));
    EXPECT_EQ(u, t);
    ASSERT_TRUE(SetControlValue(u, "e1", "<1 & 2>"));
    EXPECT_NE(u.find("<CONTROL ID=\"e1\" VALUE=\"&lt;1 &amp; 2&gt;\" WIDTH=\"50\" TYPE=\"EDIT\" PROP=\"p1\" MAXLEN=\"8\">"),
              std::string::npos);
    EXPECT_EQ(u.find("extra"), std::string::npos);   // attributes beyond the six are dropped
    std::size_t a = u.find("<CONTROL ID=\"e1\"");
    EXPECT_EQ(ParseControlTag(u.substr(a + 8, u.find('>', a) - a - 8)).Value, "<1 & 2>");
    std::string cleared = ClearRadioControls(t);
    EXPECT_NE(cleared.find("ID=\"r1\" VALUE=\"FALSE\""), std::string::npos);
}
