// The cross-tab's script bindings.
#include "reportout/qlrCrossRTTI.h"

#include "report/qlrClass.h"
#include "reportout/qlrCross.h"
#include "script/qs_iclassesrtti.h"

namespace qlr {

namespace {

using rtl::Variant;

// The elements of a script array (a single value counts as one element).
TqlrVariantArray Elements(const Variant& v)
{
    TqlrVariantArray out;
    if (!v.IsArray()) {
        if (!v.IsEmpty()) out.push_back(v);
        return out;
    }
    for (int i = rtl::VarArrayLowBound(v, 1); i <= rtl::VarArrayHighBound(v, 1); ++i) out.push_back(v[i]);
    return out;
}

Variant CallMethod(rtl::TObject* instance, const std::string& name, qs::TqsMethodHelper* caller)
{
    auto* view = dynamic_cast<TqlrCustomCrossView*>(instance);
    if (!view) return Variant(0);
    if (name == "ADDVALUE") {
        view->AddValue(Elements(caller->GetParam(0)), Elements(caller->GetParam(1)), Elements(caller->GetParam(2)));
    } else if (name == "BEGINMATRIX") {
        view->BeginMatrix();
    } else if (name == "COLCOUNT") {
        return Variant(view->ColCount());
    } else if (name == "ROWCOUNT") {
        return Variant(view->RowCount());
    } else if (name == "ISGRANDTOTALCOLUMN") {
        return Variant(view->IsGrandTotalColumn(caller->GetParam(0).AsInteger()));
    } else if (name == "ISGRANDTOTALROW") {
        return Variant(view->IsGrandTotalRow(caller->GetParam(0).AsInteger()));
    } else if (name == "ISTOTALCOLUMN") {
        return Variant(view->IsTotalColumn(caller->GetParam(0).AsInteger()));
    } else if (name == "ISTOTALROW") {
        return Variant(view->IsTotalRow(caller->GetParam(0).AsInteger()));
    } else if (name == "CELLFUNCTIONS.GET") {
        return Variant(static_cast<int>(view->CellFunctions(caller->GetParam(0).AsInteger())));
    } else if (name == "CELLFUNCTIONS.SET") {
        const int f = caller->GetParam(1).AsInteger();
        // Out-of-range levels and unknown functions are ignored.
        if (f >= 0 && f <= static_cast<int>(TqlrCrossFunction::cfCount))
            view->SetCellFunctions(caller->GetParam(0).AsInteger(), static_cast<TqlrCrossFunction>(f));
    }
    return Variant(0);
}

} // namespace

TqlrCrossFunctions::TqlrCrossFunctions(qs::TqsScript* s) : qs::TqsRTTIModule(s)
{
    auto call = [](rtl::TObject* i, const rtl::TClassInfo*, const std::string& n, qs::TqsMethodHelper* h) {
        return CallMethod(i, n, h);
    };
    auto get = [](rtl::TObject* i, const rtl::TClassInfo*, const std::string& n) -> Variant {
        auto* view = dynamic_cast<TqlrCustomCrossView*>(i);
        if (view && n == "CLEARBEFOREPRINT") return Variant(view->ClearBeforePrint);
        return Variant(0);
    };
    auto set = [](rtl::TObject* i, const rtl::TClassInfo*, const std::string& n, const Variant& v) {
        if (auto* view = dynamic_cast<TqlrCustomCrossView*>(i); view && n == "CLEARBEFOREPRINT")
            view->ClearBeforePrint = v.AsBoolean();
    };
    s->AddEnum("TqlrCrossFunction", "cfNone, cfSum, cfMin, cfMax, cfAvg, cfCount");
    if (auto* c = s->AddClass(&TqlrCustomCrossView::StaticClassInfo(), "TqlrView")) {
        for (const char* m : {"procedure AddValue(Rows, Columns, Cells: array)", "procedure BeginMatrix",
                              "function ColCount: Integer", "function RowCount: Integer",
                              "function IsGrandTotalColumn(Index: Integer): Boolean",
                              "function IsGrandTotalRow(Index: Integer): Boolean",
                              "function IsTotalColumn(Index: Integer): Boolean",
                              "function IsTotalRow(Index: Integer): Boolean"})
            c->AddMethod(m, call);
        c->AddProperty("ClearBeforePrint", "Boolean", get, set);
        c->AddIndexProperty("CellFunctions", "Integer", "TqlrCrossFunction", call);
    }
    s->AddClass(&TqlrCrossView::StaticClassInfo(), "TqlrCustomCrossView");
    s->AddClass(&TqlrDBCrossView::StaticClassInfo(), "TqlrCustomCrossView");
}

void RegisterCrossScriptModule()
{
    RegisterReportScriptModules();
    qs::qsRegisterModule(&qs::qsModuleFactory<TqlrCrossFunctions>);
}

} // namespace qlr
