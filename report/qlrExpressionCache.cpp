// The expression cache: one wrapper function per distinct expression text.
#include "report/qlrExpressionCache.h"
#include "report/qlrDsgnIntf.h"

#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

namespace qlr {

std::string ExpressionFunctionText(const std::string& language, int n, const std::string& expression)
{
    const std::string name = "ql3f" + std::to_string(n);
    if (rtl::SameText(language, "PascalScript"))
        return "function " + name + ": Variant; begin Result := " + expression + " end; begin end.";
    if (rtl::SameText(language, "C++Script"))
        return "Variant " + name + "() { return " + expression + "; } {}";
    // The BasicScript grammar ends a statement at a line end: CR LF after
    // each line, the last one included.
    if (rtl::SameText(language, "BasicScript"))
        return "function " + name + "\r\nreturn " + expression + "\r\nend function\r\n";
    if (rtl::SameText(language, "JScript"))
        return "function " + name + "() { return " + expression + "; }";
    return {};
}

TqlrExpressionCache::TqlrExpressionCache(qs::TqsScript* mainScript)
    : FMainScript(mainScript), FScript(std::make_unique<qs::TqsScript>(nullptr))
{
    FExpressions.SetSorted(true);
    FExpressions.SetCaseSensitive(false);
    FScript->SetExtendedCharset(true);
}

TqlrExpressionCache::~TqlrExpressionCache() = default;

void TqlrExpressionCache::Clear()
{
    FExpressions.Clear();
    FScript->Clear();
}

void TqlrExpressionCache::SetCaseSensitive(bool v)
{
    FCaseSensitive = v;
    FExpressions.SetCaseSensitive(v);
}

rtl::Variant TqlrExpressionCache::Calc(const std::string& expression, std::string& errorMsg, qs::TqsScript* script)
{
    errorMsg.clear();
    // A nested evaluation from a running expression (IIF, aggregates) names
    // the cache's script or one of its routines: the parent then stays, so
    // the chain of parents never loops.
    bool nested = false;
    for (qs::TqsScript* s = script; s; s = s->Parent())
        if (s == FScript.get()) {
            nested = true;
            break;
        }
    if (!nested) FScript->SetParent(script);
    int index = -1;
    qs::TqsProcVariable* func = nullptr;
    if (FExpressions.Find(expression, index)) {
        func = static_cast<qs::TqsProcVariable*>(FExpressions.Objects(index));
    } else {
        const int n = FExpressions.Count();
        const std::string name = "ql3f" + std::to_string(n);
        const std::string text = ExpressionFunctionText(FScriptLanguage, n, expression);
        FScript->SetSyntaxType(FScriptLanguage);
        if (!text.empty()) FScript->SetText(text);
        ++FCompileCount;
        const bool ok = FScript->Compile();
        func = dynamic_cast<qs::TqsProcVariable*>(FScript->FindLocal(name));
        if (!ok || !func) {
            if (func) {
                FScript->Remove(func);
                delete func;
            }
            errorMsg = GetResources().Get("clExprError") + " '" + expression + "': " +
                       (ok ? std::string("no function ") + name : FScript->ErrorMsg());
            return rtl::Variant::Null();
        }
        FExpressions.AddObject(expression, func);
    }
    rtl::Variant result = rtl::Variant::Null();
    if (FMainScript) FMainScript->SetMainProg(false);
    try {
        result = func->GetValue();
    } catch (const rtl::Exception& e) {
        errorMsg = e.Message();
    }
    if (FMainScript) FMainScript->SetMainProg(true);
    return result;
}

// ------------------------------------------------------------ the engine base

RTL_PUBLISHED(TqlrCustomEngine) {}

bool TqlrCustomEngine::DoublePass() const
{
    return FReport && FReport->EngineOptions()->DoublePass;
}

void TqlrCustomEngine::StopReport()
{
    if (FReport) FReport->SetTerminated(true);
}

// ------------------------------------------------------------ outline and export filter bases

RTL_PUBLISHED(TqlrCustomOutline) {}

TqlrCustomEngine* TqlrCustomOutline::Engine() const
{
    return FPreviewPages ? FPreviewPages->Engine() : nullptr;
}

RTL_PUBLISHED(TqlrCustomExportFilter) {}

TqlrCustomExportFilter::TqlrCustomExportFilter(rtl::TComponent* owner) : rtl::TComponent(owner)
{
    GetExportFilterCollection().Register(this);
}

TqlrCustomExportFilter::TqlrCustomExportFilter(NoRegister) : rtl::TComponent(nullptr), FNoRegister(true) {}

TqlrCustomExportFilter::~TqlrCustomExportFilter()
{
    if (!FNoRegister) GetExportFilterCollection().Unregister(this);
}

} // namespace qlr
