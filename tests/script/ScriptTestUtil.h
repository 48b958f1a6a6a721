// Helpers of the script interpreter tests: a program with the built-in
// module, compiled from text and run.
#pragma once

#include <memory>
#include <string>

#include "script/qs_iinterpreter.h"

namespace qstest {

struct TRun {
    bool Compiled = false;
    std::string ErrorMsg;
    std::string ErrorPos;
    std::string RuntimeError;
};

inline std::unique_ptr<qs::TqsScript> NewScript(const std::string& lang)
{
    auto s = std::make_unique<qs::TqsScript>(nullptr);
    s->AddRTTI();
    s->SetSyntaxType(lang);
    return s;
}

// Compiles and runs; a run-time error is caught into RuntimeError.
inline TRun CompileAndRun(qs::TqsScript& s, const std::string& text)
{
    TRun r;
    s.SetText(text);
    r.Compiled = s.Compile();
    r.ErrorMsg = s.ErrorMsg();
    r.ErrorPos = s.ErrorPos();
    if (r.Compiled) {
        try {
            s.Execute();
        } catch (const rtl::Exception& e) {
            r.RuntimeError = e.Message();
        }
    }
    return r;
}

inline std::string Str(qs::TqsScript& s, const std::string& var)
{
    qs::TqsCustomVariable* v = s.Find(var);
    return v ? rtl::VarToStr(v->GetValue()) : std::string("<undeclared>");
}

} // namespace qstest
