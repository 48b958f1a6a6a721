// The same program in the four languages gives the same results:
// recursion, loops with break and continue, case/select, try-except,
// try-finally with exit, with-blocks, arrays, strings and a bound host
// class (published, indexed and default properties, methods, an event).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ScriptTestUtil.h"
#include "TestBindings.h"
#include "TestPaths.h"

using namespace qstest;

namespace {

std::string ReadFile(const std::string& name) { return tectest::ReadText(tectest::DataFile("script/" + name)); }

struct TLangCase {
    const char* Lang;
    const char* File;
};

class Equivalent : public ::testing::TestWithParam<TLangCase> {};

TEST_P(Equivalent, SameResults)
{
    RegisterTestModule();
    auto s = NewScript(GetParam().Lang);
    TScriptCounter obj(nullptr);
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    s->AddObject("Obj", &obj);
    auto r = CompileAndRun(*s, ReadFile(GetParam().File));
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "3628800;64;abbc;boom;F1;30;Jelloell5;9,10,300;E0");
    EXPECT_EQ(obj.Count(), 9);
    EXPECT_EQ(obj.Items(2), 10);
}

INSTANTIATE_TEST_SUITE_P(Languages, Equivalent,
                         ::testing::Values(TLangCase{"PascalScript", "equivalent.pas"},
                                           TLangCase{"C++Script", "equivalent.cpps"},
                                           TLangCase{"JScript", "equivalent.js"},
                                           TLangCase{"BasicScript", "equivalent.vbs"}),
                         [](const auto& info) {
                             std::string n = info.param.Lang;
                             return n == "C++Script" ? std::string("CppScript") : n;
                         });

} // namespace

namespace {

TEST(Bindings, ConstructFreeAndEventAssignment)
{
    RegisterTestModule();
    auto s = NewScript("PascalScript");
    TScriptCounter obj(nullptr);
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    s->AddObject("Obj", &obj);
    auto r = CompileAndRun(*s,
                           "var c: TScriptCounter;\n"
                           "procedure Changed(Sender: TObject); begin Out := Out + 'E' end;\n"
                           "begin\n"
                           "  c := TScriptCounter.Create(nil); c.Count := 3; c.Active := True; c.Ratio := 0.5;\n"
                           "  Out := IntToStr(c.Count) + BoolToStr(c.Active) + FloatToStr(c.Ratio);\n"
                           "  if c is TComponent then Out := Out + 'C';\n"
                           "  c.Free;\n"
                           "  Obj.OnChange := 'Changed'; Obj.Fire; Obj.OnChange := '0'; Obj.Fire;\n"
                           "  try Obj.OnChange := 'Out' except Out := Out + ';' + ExceptionMessage end;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "3-10.5CE;Event handler must be a procedure");
    EXPECT_FALSE(static_cast<bool>(obj.OnChange));
}

} // namespace
