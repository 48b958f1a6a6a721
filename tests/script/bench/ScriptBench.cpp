// Speed of the interpreter on the report engine's road: a loop of simple
// assignments, and one compiled expression evaluated again and again (as
// the expression cache does), plus compiling an expression each time.
#include <benchmark/benchmark.h>

#include "script/qs_iinterpreter.h"

namespace {

void BM_TenMillionAssignments(benchmark::State& state)
{
    qs::TqsScript s(nullptr);
    s.AddRTTI();
    s.SetText("var i, x: Integer; begin for i := 1 to 10000000 do x := i; end.");
    if (!s.Compile()) state.SkipWithError(s.ErrorMsg().c_str());
    for (auto _ : state) s.Execute();
    state.SetItemsProcessed(state.iterations() * 10000000LL);
}
BENCHMARK(BM_TenMillionAssignments)->Unit(benchmark::kMillisecond);

void BM_ExpressionMillionTimes(benchmark::State& state)
{
    qs::TqsScript s(nullptr);
    s.AddRTTI();
    s.AddVariable("a", "Variant", qs::Variant(7));
    s.AddVariable("b", "Variant", qs::Variant(2.5));
    s.SetText("function F: Variant; begin Result := a * 2 + b / 3 - 1 end; begin end.");
    if (!s.Compile()) state.SkipWithError(s.ErrorMsg().c_str());
    auto* f = dynamic_cast<qs::TqsProcVariable*>(s.FindLocal("F"));
    for (auto _ : state)
        for (int i = 0; i < 1000000; ++i) benchmark::DoNotOptimize(s.CallFunction2(f, qs::Variant()));
    state.SetItemsProcessed(state.iterations() * 1000000LL);
}
BENCHMARK(BM_ExpressionMillionTimes)->Unit(benchmark::kMillisecond);

void BM_EvaluateCompilesEachTime(benchmark::State& state)
{
    qs::TqsScript s(nullptr);
    s.AddRTTI();
    for (auto _ : state) benchmark::DoNotOptimize(s.Evaluate("7 * 2 + 2.5 / 3 - 1"));
}
BENCHMARK(BM_EvaluateCompilesEachTime)->Unit(benchmark::kMicrosecond);

// Growing one text variable: 20,000 appends of a 100-character text in
// each language (a 2 MB result), and a million one-character appends.
void AppendLoop(benchmark::State& state, const char* lang, const char* program, size_t expected)
{
    qs::TqsScript s(nullptr);
    s.AddRTTI();
    s.SetSyntaxType(lang);
    std::string text = program;
    text.replace(text.find("%s"), 2, std::string(expected == 1000000 ? 1 : 100, 'x'));
    s.SetText(text);
    if (!s.Compile()) state.SkipWithError(s.ErrorMsg().c_str());
    for (auto _ : state) s.Execute();
    if (rtl::VarToStr(s.Find("s")->GetValue()).size() != expected) state.SkipWithError("wrong text length");
}
BENCHMARK_CAPTURE(AppendLoop, Pascal20k, "PascalScript",
                  "var s: String; i: Integer; begin s := ''; for i := 1 to 20000 do s := s + '%s' end.",
                  2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AppendLoop, Cpp20k, "C++Script",
                  "String s; int i; { s = \"\"; for (i = 1; i <= 20000; i++) s += \"%s\"; }", 2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AppendLoop, JScript20k, "JScript",
                  "s = \"\"; for (i = 1; i <= 20000; i++) s = s + \"%s\";", 2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AppendLoop, Basic20k, "BasicScript",
                  "s = \"\"\nFor i = 1 To 20000\n  s = s & \"%s\"\nNext\n", 2000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AppendLoop, PascalMillionChars, "PascalScript",
                  "var s: String; i: Integer; begin s := ''; for i := 1 to 1000000 do s := s + '%s' end.",
                  1000000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
