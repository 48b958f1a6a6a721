// Compile errors per language (message and position) and run-time errors.
// Positions are "line:column"; an item's position is the one after its
// token, a node's the one where its construct begins.
#include <gtest/gtest.h>

#include "HangGuard.h"
#include "ScriptTestUtil.h"
#include "TestBindings.h"

using namespace qstest;

namespace {

struct TErrorCase {
    const char* Lang;
    const char* Text;
    const char* Message;
    const char* Pos;
};

class CompileError : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(CompileError, MessageAndPosition)
{
    RegisterTestModule();
    auto s = NewScript(GetParam().Lang);
    TScriptCounter obj(nullptr);
    s->AddObject("Obj", &obj);
    s->SetText(GetParam().Text);
    EXPECT_FALSE(s->Compile());
    EXPECT_EQ(s->ErrorMsg(), GetParam().Message);
    EXPECT_EQ(s->ErrorPos(), GetParam().Pos);
}

INSTANTIATE_TEST_SUITE_P(
    PascalScript, CompileError,
    ::testing::Values(
        TErrorCase{"PascalScript", "begin x := 1 end.", "Undeclared identifier: 'x'", "1:8"},
        TErrorCase{"PascalScript", "var s: String; begin s := 1 end.", "Incompatible types: 'String', 'Integer'", "1:27"},
        TErrorCase{"PascalScript", "var i: Integer; begin i := 1.5 end.", "Incompatible types: 'Integer', 'Extended'", "1:28"},
        TErrorCase{"PascalScript", "var s: String; begin s := 'a' * 2 end.", "Incompatible types", "1:32"},
        TErrorCase{"PascalScript", "var s: String; begin s := Copy('abc', 1) end.", "Not enough actual parameters", "1:31"},
        TErrorCase{"PascalScript", "var s: String; begin s := Copy('abc', 1, 2, 3) end.", "Too many actual parameters", "1:31"},
        TErrorCase{"PascalScript", "begin True := False end.", "Left side cannot be assigned to", "1:7"},
        TErrorCase{"PascalScript", "begin Obj.Version := 1 end.", "Left side cannot be assigned to", "1:7"},
        TErrorCase{"PascalScript", "var i: Integer; var i: String; begin end.", "Identifier redeclared: 'i'", "1:22"},
        TErrorCase{"PascalScript", "var q: TNothing; begin end.", "Unknown type: 'TNothing'", "1:6"},
        TErrorCase{"PascalScript", "var s: String; begin s.x := 1 end.", "Strings doesn't have properties or methods", "1:25"},
        TErrorCase{"PascalScript", "var s: String; begin for s := 1 to 2 do end.", "For loop variable must be numeric variable", "1:27"},
        TErrorCase{"PascalScript", "begin x := 1", "';' expected", "2:1"},
        TErrorCase{"PascalScript", "begin end", "'.' expected", "2:1"},
        TErrorCase{"PascalScript", "var x, y: Integer; begin x := 1 y := 2 end.", "';' expected", "1:33"},
        TErrorCase{"PascalScript", "var x: Integer; begin x := end.", "Expression expected", "1:28"},
        TErrorCase{"PascalScript", "var x: Integer; begin if x = 1 x := 2 end.", "'THEN' expected", "1:32"},
        TErrorCase{"PascalScript", "var x: Integer; begin x := (1 + 2; end.", "')' expected", "1:34"}));

INSTANTIATE_TEST_SUITE_P(
    CppScript, CompileError,
    ::testing::Values(
        TErrorCase{"C++Script", "{ x = 1; }", "Undeclared identifier: 'x'", "1:4"},
        TErrorCase{"C++Script", "int x; { x = ; }", "Expression expected", "1:14"},
        TErrorCase{"C++Script", "int x; { x = 1 }", "';' expected", "1:16"},
        TErrorCase{"C++Script", "int x; { IF (x == 1) x = 2; }", "';' expected", "1:22"},
        TErrorCase{"C++Script", "int x; int f(int a) { return a; } { x = f(1, 2); }", "Too many actual parameters", "1:42"},
        TErrorCase{"C++Script", "String s; { s = 1; }", "Incompatible types: 'String', 'Integer'", "1:17"},
        TErrorCase{"C++Script", "int x; x = 1;", "'{' expected", "1:8"}));

INSTANTIATE_TEST_SUITE_P(
    JScript, CompileError,
    ::testing::Values(
        TErrorCase{"JScript", "x = ;", "Expression expected", "1:5"},
        TErrorCase{"JScript", "if x) y = 1;", "'(' expected", "1:4"},
        TErrorCase{"JScript", "x = f(1;", "')' expected", "1:8"},
        TErrorCase{"JScript", "x = Copy(\"abc\");", "Not enough actual parameters", "1:9"},
        TErrorCase{"JScript", "Obj.Version = 3;", "Left side cannot be assigned to", "1:1"}));

INSTANTIATE_TEST_SUITE_P(
    BasicScript, CompileError,
    ::testing::Values(
        TErrorCase{"BasicScript", "x = 1 y = 2", "End of line expected", "1:7"},
        TErrorCase{"BasicScript", "If x Then\r\n y = 1\r\n", "'END' expected", "3:1"},
        TErrorCase{"BasicScript", "x = ", "Expression expected", "1:6"},
        TErrorCase{"BasicScript", "For i = 1 2\r\nNext", "'TO' expected", "1:11"},
        TErrorCase{"BasicScript", "Obj.Version = 3", "Left side cannot be assigned to", "1:1"}));

struct TRunCase {
    const char* Text;
    const char* Message;
};

class RuntimeError : public ::testing::TestWithParam<TRunCase> {};

TEST_P(RuntimeError, Message)
{
    RegisterTestModule();
    auto s = NewScript("PascalScript");
    auto r = CompileAndRun(*s, GetParam().Text);
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    PascalScript, RuntimeError,
    ::testing::Values(
        TRunCase{"var x: Variant; begin x := StrToInt('abc') end.", "'abc' is not a valid integer value"},
        TRunCase{"begin RaiseException('stop here') end.", "stop here"},
        TRunCase{"var a: array[0..2] of Integer; begin a[3] := 1 end.", "Variant or safe array index out of bounds"},
        TRunCase{"var s: String; begin s := 'ab'; s[5] := 'x' end.", "String index out of range (5)"},
        TRunCase{"function F(n: Integer): Integer; begin Result := F(n + 1) end; begin F(1) end.", "Stack overflow"},
        TRunCase{"var x: Variant; begin x := Sqrt(-1) end.", "Invalid floating point operation"}));

TEST(RuntimeError, CaughtByTryExcept)
{
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "var x: Variant; begin try x := StrToInt('12x') except Out := ExceptionClassName + ': ' + "
                           "ExceptionMessage end end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), "EConvertError: '12x' is not a valid integer value");
}

// Recursion goes as deep as the native stack allows; runaway recursion
// stops with "Stack overflow", which try...except catches, and the script
// runs normally afterwards.  A sanitizer build's larger frames fit fewer
// nested calls in the same stack.
TEST(RuntimeError, DeepRecursionAndStackOverflow)
{
    const std::string deep = tectest::kSanitizedBuild ? "400" : "2000";
    auto s = NewScript("PascalScript");
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    auto r = CompileAndRun(*s,
                           "function Depth(n: Integer): Integer;\n"
                           "begin if n = 0 then Result := 0 else Result := Depth(n - 1) + 1 end;\n"
                           "function Runaway(n: Integer): Integer; begin Result := Runaway(n + 1) end;\n"
                           "begin\n"
                           "  Out := IntToStr(Depth(" + deep + "));\n"
                           "  try Runaway(1) except Out := Out + ';' + ExceptionMessage end;\n"
                           "  Out := Out + ';' + IntToStr(Depth(10));\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), deep + ";Stack overflow;10");
    // Uncaught, it ends the run with the message; the next run is normal.
    auto again = NewScript("PascalScript");
    again->AddVariable("Out", "String", qs::Variant(std::string()));
    auto u = CompileAndRun(*again, "function R(n: Integer): Integer; begin Result := R(n + 1) end;\n"
                                   "begin Out := 'started'; R(1); Out := 'not reached' end.");
    EXPECT_EQ(u.RuntimeError, "Stack overflow");
    EXPECT_EQ(Str(*again, "Out"), "started");
    s->Execute();
    EXPECT_EQ(Str(*s, "Out"), deep + ";Stack overflow;10");
}

TEST(RuntimeError, EvaluateReportsCompileErrorsAsValue)
{
    auto s = NewScript("PascalScript");
    qs::Variant v = s->Evaluate("1 +");
    EXPECT_TRUE(s->EvaluteRiseError());
    EXPECT_EQ(rtl::VarToStr(v), "';' expected");
    v = s->Evaluate("2 * 3");
    EXPECT_FALSE(s->EvaluteRiseError());
    EXPECT_EQ(v.AsInteger(), 6);
}

} // namespace
