// Intermediate code: golden documents written by hand, and compiling from
// intermediate code runs the same as compiling from source.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ScriptTestUtil.h"
#include "TestBindings.h"
#include "TestPaths.h"
#include "script/qs_xml.h"

using namespace qstest;

namespace {

std::string ReadData(const std::string& name) { return tectest::ReadText(tectest::DataFile("script/" + name)); }

// The intermediate code of a text, written with indentation.
std::string ILOf(const std::string& lang, const std::string& text, std::string* error = nullptr)
{
    auto s = NewScript(lang);
    s->SetText(text);
    rtl::TStringStream st;
    if (!s->GetILCode(st)) {
        if (error) *error = s->ErrorMsg() + " at " + s->ErrorPos();
        return {};
    }
    qs::TqsXMLDocument doc;
    doc.LoadFromString(st.DataString());
    doc.SetAutoIndent(true);
    return doc.SaveToString();
}

struct TGolden {
    const char* Lang;
    const char* Text;
    const char* File;
};

class Golden : public ::testing::TestWithParam<TGolden> {};

TEST_P(Golden, MatchesHandWrittenDocument)
{
    std::string err;
    EXPECT_EQ(ILOf(GetParam().Lang, GetParam().Text, &err), ReadData(std::string("il/") + GetParam().File)) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Golden,
    ::testing::Values(TGolden{"PascalScript", "begin x := x + 1 end.", "assign.pas.xml"},
                      TGolden{"C++Script", "{ x = x + 1; }", "assign.cpps.xml"},
                      TGolden{"JScript", "x = x + 1;", "assign.js.xml"},
                      TGolden{"BasicScript", "x = x + 1", "assign.vbs.xml"},
                      // A single array bound N gives the dimension N..N in PascalScript.
                      TGolden{"PascalScript", "var a: array[3] of Integer; begin end.", "array.pas.xml"}));

TEST(ILCode, CompactOutputIsOneLine)
{
    auto s = NewScript("PascalScript");
    s->SetText("begin x := 1 end.");
    rtl::TStringStream st;
    ASSERT_TRUE(s->GetILCode(st));
    EXPECT_EQ(st.DataString().find('\n'), std::string::npos);
    EXPECT_EQ(st.DataString().rfind("<?xml version=\"1.0\"?><program><compoundstmt pos=\"1:1\">", 0), 0u);
}

// Source -> intermediate code -> a fresh program gives the same run.
class FromILCode : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(FromILCode, RunsAsFromSource)
{
    RegisterTestModule();
    auto src = NewScript(GetParam().first);
    src->SetText(ReadData(GetParam().second));
    rtl::TStringStream st;
    ASSERT_TRUE(src->GetILCode(st)) << src->ErrorMsg() << " at " << src->ErrorPos();

    // The program's language only decides whether names must be declared.
    auto s = NewScript(GetParam().first);
    TScriptCounter obj(nullptr);
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    s->AddObject("Obj", &obj);
    st.SetPosition(0);
    ASSERT_TRUE(s->SetILCode(st)) << s->ErrorMsg() << " at " << s->ErrorPos();
    s->Execute();
    EXPECT_EQ(Str(*s, "Out"), "3628800;64;abbc;boom;F1;30;Jelloell5;9,10,300;E0");
}

INSTANTIATE_TEST_SUITE_P(Languages, FromILCode,
                         ::testing::Values(std::make_pair("PascalScript", "equivalent.pas"),
                                           std::make_pair("C++Script", "equivalent.cpps"),
                                           std::make_pair("JScript", "equivalent.js"),
                                           std::make_pair("BasicScript", "equivalent.vbs")));

TEST(ILCode, LanguageDirectiveWins)
{
    // The first line selects the language whatever the program's setting;
    // the second line is read from its first character.
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    auto r = CompileAndRun(*s, "#language JScript\nOut = \"js\" + \"1\";");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(Str(*s, "Out"), "js1");
}

TEST(ILCode, UnitsAreIncludedOnce)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    int asked = 0;
    s->OnGetUnit = [&](qs::TqsScript*, const std::string& name, std::string& text) {
        ++asked;
        if (name == "a.pas") text = "uses 'b.pas'; procedure A; begin Out := Out + 'A' end; begin end.";
        if (name == "b.pas") text = "procedure B; begin Out := Out + 'B' end; begin end.";
    };
    auto r = CompileAndRun(*s, "uses 'a.pas', 'b.pas', 'a.pas'; begin A; B end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(Str(*s, "Out"), "AB");
    EXPECT_EQ(asked, 2);
}

} // namespace
