// Report variables: categories, case-insensitive names, the variables file
// and TqlrArray keys.

#include <gtest/gtest.h>

#include "platform/rtl/Streams.h"
#include "report/qlrVariables.h"

using namespace qlr;

namespace {

// Free1, " Cat1", A, B, " Cat2", C
void Fill(TqlrVariables& v)
{
    for (const char* n : {"Free1", " Cat1", "A", "B", " Cat2", "C"}) v.SetVariable(n, rtl::Variant::Null());
}

std::string Names(const TqlrVariables& v)
{
    std::string s;
    for (int i = 0; i < v.Count(); ++i) s += "[" + v.GetItem(i)->Name() + "]";
    return s;
}

} // namespace

TEST(ReportVariables, CategoryTable)
{
    TqlrVariables v;
    Fill(v);
    v.SetVariable("New", rtl::Variant(1));
    EXPECT_EQ(Names(v), "[Free1][ Cat1][A][B][ Cat2][C][New]");
    v.AddVariable("Cat1", "X", rtl::Variant(2));
    EXPECT_EQ(Names(v), "[Free1][ Cat1][A][B][X][ Cat2][C][New]");
    v.AddVariable("Missing", "Y", rtl::Variant(3));
    EXPECT_EQ(v.IndexOf("Y"), -1);
    v.AddVariable("cat2", "Z", rtl::Variant(4));
    EXPECT_EQ(Names(v), "[Free1][ Cat1][A][B][X][ Cat2][C][New][Z]");
    v.AddVariable("Cat2", "a", rtl::Variant(5));  // exists in Cat1: only its value changes
    EXPECT_EQ(v.GetVariable("A").AsInteger(), 5);
    EXPECT_EQ(v.Count(), 9);

    rtl::TStringList list;
    v.GetCategoriesList(list);
    EXPECT_EQ(list.CommaText(), "Cat1,Cat2");
    v.GetVariablesList("", list);
    EXPECT_EQ(list.CommaText(), "Free1");
    v.GetVariablesList("CAT1", list);
    EXPECT_EQ(list.CommaText(), "A,B,X");
    v.GetVariablesList("None", list);
    EXPECT_EQ(list.Count(), 0);

    v.DeleteCategory("Cat2");
    EXPECT_EQ(Names(v), "[Free1][ Cat1][A][B][X]");
    v.DeleteVariable("b");
    EXPECT_EQ(Names(v), "[Free1][ Cat1][A][X]");
}

TEST(ReportVariables, NamesIgnoreCase)
{
    TqlrVariables v;
    v.SetVariable("Title", rtl::Variant("a"));
    v.SetVariable("title", rtl::Variant("b"));
    EXPECT_EQ(v.Count(), 1);
    EXPECT_EQ(v.GetVariable("TITLE").AsString(), "b");
    EXPECT_TRUE(v.GetVariable("absent").IsNull());
}

TEST(ReportVariables, FileRoundTrip)
{
    TqlrVariables v;
    v.SetVariable(" Cat", rtl::Variant::Null());
    v.SetVariable("Nothing", rtl::Variant::Null());
    v.SetVariable("Five", rtl::Variant(5));
    v.SetVariable("Text", rtl::Variant("a \"quoted\" & <b>"));
    rtl::TMemoryStream ms;
    v.SaveToStream(ms);
    std::string xml(ms.View());
    EXPECT_NE(xml.find("<variables>"), std::string::npos);
    EXPECT_NE(xml.find("<item Name=\" Cat\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<item Name=\"Five\" Value=\"5\"/>"), std::string::npos);

    TqlrVariables back;
    back.SetVariable("Stale", rtl::Variant(1));
    ms.SetPosition(0);
    back.LoadFromStream(ms);
    EXPECT_EQ(Names(back), "[ Cat][Nothing][Five][Text]");
    EXPECT_TRUE(back.GetVariable("Nothing").IsNull());
    rtl::Variant five = back.GetVariable("Five");
    EXPECT_TRUE(five.IsString());
    EXPECT_EQ(five.AsString(), "5");
    EXPECT_EQ(back.GetVariable("Text").AsString(), "a \"quoted\" & <b>");

    // Another root leaves the list empty.
    rtl::TMemoryStream other;
    other.WriteString("<?xml version=\"1.0\"?><stylesheet><item Name=\"A\"/></stylesheet>");
    other.SetPosition(0);
    back.LoadFromStream(other);
    EXPECT_EQ(back.Count(), 0);
}

TEST(ReportVariables, ArrayKeysAsText)
{
    TqlrArray a;
    a.SetVariable(rtl::Variant(1), rtl::Variant("one"));
    EXPECT_EQ(a.GetVariable(rtl::Variant("1")).AsString(), "one");
    a.SetVariable(rtl::Variant("1"), rtl::Variant("uno"));
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.GetVariable(rtl::Variant(1)).AsString(), "uno");
    EXPECT_TRUE(a.GetVariable(rtl::Variant(2)).IsNull());
}
