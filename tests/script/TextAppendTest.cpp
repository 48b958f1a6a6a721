// Appending to a text variable: "s := s + t", "s += t", "s & t" and chains
// whose first operand is the variable append in place, yet every other
// holder of the text keeps its own: a copy in another variable, a value
// parameter, a property read into a variable.  Operands are read in source
// order, so an operand that changes the variable does not change the text
// the expression started from.
#include <gtest/gtest.h>

#include "ScriptTestUtil.h"
#include "TestBindings.h"

using namespace qstest;

namespace {

struct TAppendCase {
    const char* Lang;
    const char* Text;
};

void PrintTo(const TAppendCase& c, std::ostream* os) { *os << c.Lang; }

// Every program leaves in Out: copy kept, appended copy; value parameter
// kept, function result; property kept, appended property value; text
// appended to itself; chain reading the variable again; an operand that
// changes the variable, alone and in a chain; "+=" (or "&" in Basic) with
// a number.
constexpr const char* kExpected = "ab,abx;c,cy;cap,capz;abab;abxab;gy;gyk;n7";

const TAppendCase kAppendCases[] = {
    {"PascalScript",
     "var a, b, c, d, p, s, g, n: String;\n"
     "function Grow(t: String): String; begin t := t + 'y'; Result := t end;\n"
     "function Touch: String; begin g := 'zz'; Result := 'y' end;\n"
     "begin\n"
     "  b := 'ab'; a := b; a := a + 'x';\n"
     "  c := 'c'; d := Grow(c);\n"
     "  Obj.Caption := 'cap'; p := Obj.Caption; p := p + 'z';\n"
     "  s := 'ab'; s := s + s;\n"
     "  Out := b + ',' + a + ';' + c + ',' + d + ';' + Obj.Caption + ',' + p + ';' + s + ';';\n"
     "  s := 'ab'; s := s + 'x' + s; Out := Out + s + ';';\n"
     "  g := 'g'; g := g + Touch; Out := Out + g + ';';\n"
     "  g := 'g'; g := g + Touch + 'k'; Out := Out + g + ';';\n"
     "  n := 'n'; n := n + IntToStr(7); Out := Out + n;\n"
     "end."},
    {"C++Script",
     "String a, b, c, d, p, s, g, n;\n"
     "String Grow(String t) { t = t + \"y\"; return t; }\n"
     "String Touch() { g = \"zz\"; return \"y\"; }\n"
     "{\n"
     "  b = \"ab\"; a = b; a = a + \"x\";\n"
     "  c = \"c\"; d = Grow(c);\n"
     "  Obj.Caption = \"cap\"; p = Obj.Caption; p = p + \"z\";\n"
     "  s = \"ab\"; s = s + s;\n"
     "  Out = b + \",\" + a + \";\" + c + \",\" + d + \";\" + Obj.Caption + \",\" + p + \";\" + s + \";\";\n"
     "  s = \"ab\"; s = s + \"x\" + s; Out = Out + s + \";\";\n"
     "  g = \"g\"; g = g + Touch(); Out = Out + g + \";\";\n"
     "  g = \"g\"; g = g + Touch() + \"k\"; Out += g + \";\";\n"
     "  n = \"n\"; n += IntToStr(7); Out += n;\n"
     "}"},
    {"JScript",
     "function Grow(t) { t = t + \"y\"; return t; }\n"
     "function Touch() { g = \"zz\"; return \"y\"; }\n"
     "b = \"ab\"; a = b; a = a + \"x\";\n"
     "c = \"c\"; d = Grow(c);\n"
     "Obj.Caption = \"cap\"; p = Obj.Caption; p = p + \"z\";\n"
     "s = \"ab\"; s = s + s;\n"
     "Out = b + \",\" + a + \";\" + c + \",\" + d + \";\" + Obj.Caption + \",\" + p + \";\" + s + \";\";\n"
     "s = \"ab\"; s = s + \"x\" + s; Out = Out + s + \";\";\n"
     "g = \"g\"; g = g + Touch(); Out = Out + g + \";\";\n"
     "g = \"g\"; g = g + Touch() + \"k\"; Out += g + \";\";\n"
     "n = \"n\"; n += IntToStr(7); Out += n;\n"},
    {"BasicScript",
     "Function Grow(t)\n  t = t & \"y\"\n  Return t\nEnd Function\n"
     "Function Touch\n  g = \"zz\"\n  Return \"y\"\nEnd Function\n"
     "b = \"ab\" : a = b : a = a + \"x\"\n"
     "c = \"c\" : d = Grow(c)\n"
     "Obj.Caption = \"cap\" : p = Obj.Caption : p = p & \"z\"\n"
     "s = \"ab\" : s = s & s\n"
     "Out = b & \",\" & a & \";\" & c & \",\" & d & \";\" & Obj.Caption & \",\" & p & \";\" & s & \";\"\n"
     "s = \"ab\" : s = s + \"x\" & s : Out = Out & s & \";\"\n"
     "g = \"g\" : g = g & Touch : Out = Out & g & \";\"\n"
     "g = \"g\" : g = g & Touch & \"k\" : Out = Out & g & \";\"\n"
     "n = \"n\" : n = n & 7 : Out = Out & n\n"},
};

class TextAppend : public ::testing::TestWithParam<TAppendCase> {};

TEST_P(TextAppend, EveryOtherHolderKeepsItsText)
{
    RegisterTestModule();
    auto s = NewScript(GetParam().Lang);
    TScriptCounter obj(nullptr);
    s->AddVariable("Out", "String", qs::Variant(std::string()));
    s->AddObject("Obj", &obj);
    auto r = CompileAndRun(*s, GetParam().Text);
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "Out"), kExpected);
    EXPECT_EQ(obj.Caption(), "cap");
}

INSTANTIATE_TEST_SUITE_P(Languages, TextAppend, ::testing::ValuesIn(kAppendCases), [](const auto& info) {
    std::string n = info.param.Lang;
    return n == "C++Script" ? std::string("CppScript") : n;
});

// Kinds and conversions stay those of "+" and "&": a text plus a number is
// arithmetic, "&" writes the number as text, Null absorbs "+", and a
// variable parameter does change the caller.
TEST(TextAppendRules, KindsAndConversionsAreThoseOfTheOperators)
{
    auto s = NewScript("PascalScript");
    auto r = CompileAndRun(*s,
                           "var v, w, e, x, q: Variant; t: String;\n"
                           "procedure AddTo(var u: String); begin u := u + '!' end;\n"
                           "begin\n"
                           "  v := '5'; v := v + 2;\n"
                           "  w := 'w'; w := w + Null;\n"
                           "  e := e + 'e' + 'f';\n"
                           "  x := 1; x := x + 2 + 3;\n"
                           "  t := 'hi'; AddTo(t);\n"
                           "  q := 'q'; try q := q + '1' + 2 except end;\n"
                           "end.");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    qs::Variant v = s->Find("v")->GetValue();
    EXPECT_TRUE(v.IsNumeric());
    EXPECT_EQ(v.AsInteger(), 7);
    EXPECT_TRUE(s->Find("w")->GetValue().IsNull());
    EXPECT_TRUE(s->Find("e")->GetValue().IsNull());   // unassigned is Null, which absorbs "+"
    EXPECT_EQ(s->Find("x")->GetValue().AsInteger(), 6);
    EXPECT_EQ(Str(*s, "t"), "hi!");
    // "q1" + 2 is arithmetic on "q1": a conversion error, variable unchanged.
    qs::Variant q = s->Find("q")->GetValue();
    EXPECT_EQ(rtl::VarToStr(q), "q");
}

TEST(TextAppendRules, StrCatWritesNumbersAsText)
{
    auto s = NewScript("BasicScript");
    auto r = CompileAndRun(*s, "s = \"a\"\ns = s & 1 & True\nt = \"b\"\nt = t & Null\n");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "s"), "a1True");
    EXPECT_EQ(Str(*s, "t"), "b");
}

// A text doubled without end stops with "Out of memory" at 64 MB instead of
// exhausting memory, and the variable keeps its last text.
TEST(TextAppendRules, RunawayGrowthStopsAtTheTextLimit)
{
    auto s = NewScript("JScript");
    auto r = CompileAndRun(*s, "s = \"0123456789abcdef\"; while (true) s = s + s;");
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "Out of memory");
    EXPECT_EQ(Str(*s, "s").size(), size_t{64} << 20);
}

// Growing a text step by step to megabytes: each language builds the full
// text (what the benchmark times).  Linear growth is what lets it finish at
// all inside the test's own time-out.
TEST(TextAppendRules, GrowingLongTextsGivesTheWholeText)
{
    const char* programs[][2] = {
        {"PascalScript", "var s: String; i: Integer; begin for i := 1 to 20000 do s := s + '%s' end."},
        {"C++Script", "String s; int i; { for (i = 1; i <= 20000; i++) s += \"%s\"; }"},
        {"JScript", "s = \"\"; for (i = 1; i <= 20000; i++) s = s + \"%s\";"},
        {"BasicScript", "s = \"\"\nFor i = 1 To 20000\n  s = s & \"%s\"\nNext\n"},
    };
    const std::string chunk(100, 'x');
    for (const auto& p : programs) {
        std::string text = p[1];
        text.replace(text.find("%s"), 2, chunk);
        auto s = NewScript(p[0]);
        auto r = CompileAndRun(*s, text);
        ASSERT_TRUE(r.Compiled) << p[0] << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, "") << p[0];
        EXPECT_EQ(Str(*s, "s"), std::string(2000000, 'x')) << p[0];
    }
}

} // namespace
