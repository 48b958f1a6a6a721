#include <gtest/gtest.h>

#include "ScriptTestUtil.h"
#include "script/qs_iilparser.h"

using namespace qstest;

TEST(Smoke, Pascal)
{
    auto s = NewScript("PascalScript");
    auto r = CompileAndRun(*s, "var x: Integer; begin x := 1; x := x + 41; end.");
    EXPECT_TRUE(r.Compiled) << r.ErrorMsg << " at " << r.ErrorPos;
    EXPECT_EQ(r.RuntimeError, "");
    EXPECT_EQ(Str(*s, "x"), "42");
    rtl::TStringStream st;
    s->Clear();
    s->SetText("begin x := x + 1 end.");
    auto s2 = NewScript("PascalScript");
    s2->SetText("var x: Integer; begin x := x + 1 end.");
    EXPECT_TRUE(s2->GetILCode(st)) << s2->ErrorMsg();
    std::cout << st.DataString() << "\n";
}
#include "script/qs_itools.h"
#include "platform/rtl/Resources.h"
TEST(Smoke, Langs) { for (auto& n : qs::LanguageNames()) std::cout << n << "\n"; std::cout << rtl::Resources().size() << "\n"; }
