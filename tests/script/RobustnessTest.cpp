// Bad input never crashes or hangs: unterminated strings and comments,
// deep nesting, long expressions, a megabyte of script, random bytes, and
// endless loops under a step limit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "ScriptTestUtil.h"
#include "platform/rtl/Streams.h"

using namespace qstest;

namespace {

const char* const kLanguages[] = {"PascalScript", "C++Script", "JScript", "BasicScript"};

struct TStepLimit {
    explicit TStepLimit(int64_t n) { qs::SetStepLimit(n); }
    ~TStepLimit() { qs::SetStepLimit(-1); }
};

TEST(Robustness, UnterminatedStringsAndComments)
{
    // An unclosed block comment swallows the rest: in JScript that leaves
    // an empty, valid program.
    const char* texts[] = {"x := 'abc", "x = \"abc", "x = \"a\\\" + 1 +", "{ never closed", "y = 1 + /* never closed",
                           "(* never", "begin x := 1 { end.", "x = 1 /\\ open"};
    for (const char* lang : kLanguages)
        for (const char* t : texts) {
            auto s = NewScript(lang);
            s->SetText(t);
            EXPECT_FALSE(s->Compile()) << lang << ": " << t;
            EXPECT_FALSE(s->ErrorMsg().empty()) << lang << ": " << t;
        }
}

TEST(Robustness, DeepNestingIsACompileError)
{
    std::string deep = "begin x := " + std::string(100000, '(') + "1" + std::string(100000, ')') + " end.";
    auto s = NewScript("PascalScript");
    s->AddVariable("x", "Variant", qs::Variant());
    s->SetText(deep);
    EXPECT_FALSE(s->Compile());
    EXPECT_EQ(s->ErrorMsg(), "Nesting too deep");

    std::string blocks;
    for (int i = 0; i < 20000; ++i) blocks += "begin ";
    auto b = NewScript("PascalScript");
    b->SetText(blocks);
    EXPECT_FALSE(b->Compile());

    std::string il = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < 50000; ++i) il += "<compoundstmt>";
    auto c = NewScript("PascalScript");
    rtl::TStringStream st(il);
    EXPECT_FALSE(c->SetILCode(st));
    EXPECT_EQ(c->ErrorMsg(), "Invalid file format");
}

TEST(Robustness, LongExpressions)
{
    std::string sum = "1";
    for (int i = 0; i < 1500; ++i) sum += " + 1";
    auto s = NewScript("PascalScript");
    EXPECT_EQ(s->Evaluate(sum).AsInteger(), 1501);

    std::string huge = "1";
    for (int i = 0; i < 10000; ++i) huge += " + 1";
    qs::Variant v = s->Evaluate(huge);
    EXPECT_TRUE(s->EvaluteRiseError());
    EXPECT_EQ(rtl::VarToStr(v), "Expression too complex");
}

TEST(Robustness, MegabyteScript)
{
    std::string text = "var x: Integer;\nbegin\n";
    while (text.size() < (1u << 20)) text += "  x := x + 1; x := x - 1; x := x + 2;\n";
    text += "end.\n";
    auto s = NewScript("PascalScript");
    auto start = std::chrono::steady_clock::now();
    auto r = CompileAndRun(*s, text);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_GT(rtl::StrToInt(Str(*s, "x")), 50000);
    // Only a guard against quadratic work: about 5 s on an idle machine,
    // many times that while CTest runs other tests beside it.
    std::printf("a megabyte script compiled and run: %.1f s\n", seconds);
    EXPECT_LT(seconds, 300.0);
}

TEST(Robustness, EndlessLoopsStopAtTheStepLimit)
{
    const char* loops[][2] = {{"PascalScript", "begin while True do ; end."},
                              {"PascalScript", "procedure P; begin repeat until False end; begin P end."},
                              {"C++Script", "{ for (;1;) ; }"},
                              {"JScript", "do x = 1; while (1 == 1);"},
                              {"BasicScript", "For i = 1 To 2 Step 0\r\nNext"}};
    for (auto& l : loops) {
        TStepLimit limit(100000);
        auto s = NewScript(l[0]);
        auto r = CompileAndRun(*s, l[1]);
        EXPECT_TRUE(r.Compiled) << l[1] << ": " << r.ErrorMsg << " at " << r.ErrorPos;
        EXPECT_EQ(r.RuntimeError, "Step limit exceeded") << l[1];
    }
}

TEST(Robustness, RandomBytesAndMutatedPrograms)
{
    std::mt19937 rng(20240611);
    const std::string alphabet = "begin end; := + - * / ( ) [ ] { } ' \" # $ 0x 1 2.5 x y if then else while do "
                                 "for to var function procedure return try except finally with case of \r\n";
    for (int round = 0; round < 400; ++round) {
        std::string text;
        int len = static_cast<int>(rng() % 200);
        for (int i = 0; i < len; ++i)
            text += (round % 2) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        for (const char* lang : kLanguages) {
            TStepLimit limit(10000);
            auto s = NewScript(lang);
            CompileAndRun(*s, text);  // any outcome but a crash or a hang
            rtl::TStringStream st(text);
            auto il = NewScript(lang);
            il->SetILCode(st);
        }
    }
}

} // namespace
