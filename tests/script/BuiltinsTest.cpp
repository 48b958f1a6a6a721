// Built-in routines against their stated results, operator precedence and
// Evaluate in every language.
#include <gtest/gtest.h>

#include "ScriptTestUtil.h"

using namespace qstest;

namespace {

struct TEval {
    const char* Expr;
    const char* Text;  // VarToStr of the result
};

class Builtin : public ::testing::TestWithParam<TEval> {};

TEST_P(Builtin, Result)
{
    auto s = NewScript("PascalScript");
    qs::Variant v;
    try {
        v = s->Evaluate(GetParam().Expr);
    } catch (const rtl::Exception& e) {
        FAIL() << e.Message();
    }
    ASSERT_FALSE(s->EvaluteRiseError()) << rtl::VarToStr(v);
    EXPECT_EQ(rtl::VarToStr(v), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Routines, Builtin,
    ::testing::Values(
        TEval{"IntToStr(2147483648)", "2147483648"}, TEval{"BoolToStr(True)", "-1"},
        TEval{"BoolToStr(False)", "0"}, TEval{"StrToBool('True') = True", "True"},
        TEval{"FloatToStr(2.5)", "2.5"}, TEval{"StrToInt(' 42')", "42"}, TEval{"StrToFloat('1.25') * 2", "2.5"},
        TEval{"NameCase('JOHN SMITH')", "John Smith"}, TEval{"Round(2.5)", "2"}, TEval{"Round(3.5)", "4"},
        TEval{"Round(-2.5)", "-2"}, TEval{"Trunc(-2.7)", "-2"}, TEval{"Int(-2.7)", "-2"}, TEval{"Frac(2.75)", "0.75"},
        TEval{"DaysInMonth(2000, 2)", "29"}, TEval{"DaysInMonth(1900, 2)", "28"}, TEval{"DaysInMonth(2023, 4)", "30"},
        TEval{"IsLeapYear(2000)", "True"}, TEval{"IsLeapYear(1900)", "False"},
        TEval{"DayOfWeek(EncodeDate(2024, 1, 1))", "2"},
        TEval{"FormatDateTime('yyyy-mm-dd hh:nn', EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 0, 0))",
              "2024-02-29 13:05"},
        TEval{"DateToStr(StrToDate('2024-03-01'))", "2024-03-01"},
        TEval{"TimeToStr(StrToTime('10:20:30'))", "10:20:30"},
        TEval{"Length(VarArrayCreate([0, 9], varVariant))", "10"}, TEval{"Length(12345)", "5"},
        TEval{"Length('abc')", "3"}, TEval{"Copy('abcdef', 2, 3)", "bcd"}, TEval{"Copy('abc', 3, 10)", "c"},
        TEval{"Pos('cd', 'abcdef')", "3"}, TEval{"Pos('x', 'abc')", "0"}, TEval{"Uppercase('abc')", "ABC"},
        TEval{"Lowercase('ABC')", "abc"}, TEval{"Trim('  x y  ')", "x y"}, TEval{"CompareText('abc', 'ABC')", "0"},
        TEval{"Chr(65)", "A"}, TEval{"Ord('A')", "65"}, TEval{"Sqrt(16)", "4"}, TEval{"Abs(-3)", "3"},
        TEval{"Pi", "3.14159265358979"}, TEval{"Exp(0)", "1"}, TEval{"Ln(1)", "0"},
        TEval{"Format('%d-%s-%.2f', [5, 'x', 1.005])", "5-x-1.00"}, TEval{"FormatFloat('0.00', 3.14159)", "3.14"},
        TEval{"FormatMaskText('(000) 000;0;_', '5551234')", "(555) 123"},
        TEval{"ExtractFilePath('/a/b/c.txt')", "/a/b/"}, TEval{"ValidInt('12')", "True"},
        TEval{"ValidInt('1x')", "False"}, TEval{"ValidFloat('1.5')", "True"},
        TEval{"ValidDate('2024-02-30')", "False"}, TEval{"VarType(1.5)", "5"}, TEval{"VarType(True)", "11"},
        TEval{"VarType(Null)", "1"}, TEval{"VarToStr(Null)", ""}));

INSTANTIATE_TEST_SUITE_P(
    Precedence, Builtin,
    ::testing::Values(TEval{"1 + 2 * 3", "7"}, TEval{"(1 + 2) * 3", "9"}, TEval{"10 - 4 - 3", "3"},
                      TEval{"not True and False", "False"}, TEval{"-2 * 3", "-6"}, TEval{"7 div 2", "3"},
                      TEval{"7 mod 3", "1"}, TEval{"1 shl 4", "16"}, TEval{"2 / 4", "0.5"},
                      TEval{"1 in [1, 5..10]", "True"}, TEval{"7 in [1, 5..10]", "True"},
                      TEval{"3 in [1, 5..10]", "False"}, TEval{"'abc' < 'abd'", "True"},
                      TEval{"1 < 1.5", "True"}, TEval{"2 + 3 = 5", "True"}, TEval{"5 xor 3", "6"}));

TEST(Builtin, VarParametersAndArrays)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "var i: Variant; s: String; a: Variant; y, m, d: Variant;\n"
                           "begin\n"
                           "  i := 1; Inc(i); Inc(i, 5); Dec(i);\n"
                           "  s := 'abcdef'; Delete(s, 2, 2); Insert('XY', s, 2);\n"
                           "  a := VarArrayCreate([0, 9], varVariant); SetLength(a, 3);\n"
                           "  DecodeDate(EncodeDate(2024, 7, 14), y, m, d);\n"
                           "  Out := IntToStr(i) + ',' + s + ',' + IntToStr(Length(a)) + ',' +\n"
                           "    IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d);\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "6,aXYdef,3,2024-7-14");
}

TEST(Builtin, FormatCutsEightBitStringsTo255)
{
    auto s = NewScript("PascalScript");
    std::string longText(300, 'x');
    s->AddVariable("Ansi", "String", qs::Variant(longText));          // stored as an 8-bit string
    s->AddVariable("Wide", "Variant", qs::Variant::UString(longText));  // a Unicode string stays whole
    EXPECT_EQ(rtl::VarToStr(s->Evaluate("Length(Format('%s', [Ansi]))")), "255");
    EXPECT_EQ(rtl::VarToStr(s->Evaluate("Length(Format('%s', [Wide]))")), "300");
}

TEST(Builtin, AndOrShortCircuitOnBooleans)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "function Boom: Boolean; begin RaiseException('evaluated'); Result := True end;\n"
                           "begin if (1 = 2) and Boom then Out := 'a'; if (1 = 1) or Boom then Out := Out + 'b' end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "b");
}

class EvaluateIn : public ::testing::TestWithParam<const char*> {};

TEST_P(EvaluateIn, Language)
{
    auto s = NewScript(GetParam());
    qs::Variant v = s->Evaluate("1 + 2 * 3");
    ASSERT_FALSE(s->EvaluteRiseError()) << rtl::VarToStr(v);
    EXPECT_EQ(v.AsInteger(), 7);
}

INSTANTIATE_TEST_SUITE_P(Languages, EvaluateIn,
                         ::testing::Values("PascalScript", "C++Script", "JScript", "BasicScript"),
                         [](const auto& info) {
                             std::string n = info.param;
                             return n == "C++Script" ? std::string("CppScript") : n;
                         });

TEST(Builtin, EvaluateSeesRunningProcedureLocals)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    s->SetText("procedure P(n: Integer); var k: Integer; begin k := n * 2; Hook end; begin P(21) end.");
    s->AddMethod("procedure Hook", [&](rtl::TObject*, const rtl::TClassInfo*, const std::string&, qs::TqsMethodHelper*) {
        s->SetVariable("Out", s->Evaluate("k + n"));
        return qs::Variant();
    });
    ASSERT_TRUE(s->Compile()) << s->ErrorMsg();
    s->Execute();
    EXPECT_EQ(Str(*s, "Out"), "63");
}

} // namespace
