// The report object: contents, data-set lists and expression evaluation
// (name lookup, Calc, the script functions published by PrepareScript).
#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrCustomDesigner.h"
#include "report/qlrRes.h"
#include "report/qlrVariables.h"

namespace qlr {

namespace {
// Items the report adds to its script carry this mark, so that
// PrepareScript can remove them again.
const char kAddedByReport = 0;
} // namespace

// ------------------------------------------------------------ data-set items

RTL_PUBLISHED(TqlrDataSetItem)
{
    c.Property("DataSetName", &TqlrDataSetItem::DataSetName, &TqlrDataSetItem::SetDataSetName);
}
RTL_PUBLISHED(TqlrReportDataSets) {}

void TqlrDataSetItem::SetDataSet(TqlrDataSet* v)
{
    FDataSet = v;
    FDataSetName = v ? v->UserName() : std::string();
}

std::string TqlrDataSetItem::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TqlrDataSetItem::SetDataSetName(const std::string& v)
{
    FDataSetName = v;
    auto* sets = static_cast<TqlrReportDataSets*>(Collection());
    if (v.empty()) {
        FDataSet = nullptr;
    } else if (sets && sets->Report()) {
        FDataSet = sets->Report()->FindDataSet(FDataSet, v);
    }
}

void TqlrDataSetItem::Assign(const rtl::TPersistent* source)
{
    if (auto* src = dynamic_cast<const TqlrDataSetItem*>(source)) {
        FDataSet = src->FDataSet;
        FDataSetName = src->FDataSetName;
        return;
    }
    rtl::TCollectionItem::Assign(source);
}

TqlrReportDataSets::TqlrReportDataSets(TqlrReport* report)
    : rtl::TCollection(TqlrDataSetItem::StaticClassInfo()), FReport(report)
{
}

TqlrDataSetItem* TqlrReportDataSets::Add(TqlrDataSet* dataSet)
{
    auto* item = static_cast<TqlrDataSetItem*>(rtl::TCollection::Add());
    item->SetDataSet(dataSet);
    return item;
}

TqlrDataSetItem* TqlrReportDataSets::Find(TqlrDataSet* dataSet) const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->DataSet() == dataSet) return Item(i);
    return nullptr;
}

TqlrDataSetItem* TqlrReportDataSets::Find(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiCompareText(Item(i)->DataSetName(), name) == 0) return Item(i);
    return nullptr;
}

void TqlrReportDataSets::Delete(const std::string& name)
{
    if (TqlrDataSetItem* item = Find(name)) delete item;
}

void TqlrReportDataSets::Initialize()
{
    for (int i = 0; i < Count(); ++i)
        if (TqlrDataSet* ds = Item(i)->DataSet()) {
            ds->SetReportRef(FReport);
            ds->Initialize();
        }
}

void TqlrReportDataSets::Finalize()
{
    for (int i = 0; i < Count(); ++i)
        if (TqlrDataSet* ds = Item(i)->DataSet()) ds->Finalize();
}

// ------------------------------------------------------------ contents

void TqlrReport::Clear()
{
    CurObject = nullptr;
    TqlrComponent::Clear();
    FDataSets->Clear();
    FVariables->Clear();
    FStyles->Clear();
    FEngineOptions->Clear();
    FPreviewOptions->Clear();
    FPrintOptions->Clear();
    FReportOptions->Clear();
    FDataSet = nullptr;
    FDataSetName.clear();
    FDotMatrixReport = false;
    FParentReport.clear();
    FParentReportObject.reset();
    FScriptLanguage = "PascalScript";
    FScriptText->Clear();
    FScriptText->Add("begin");
    FScriptText->Add("");
    FScriptText->Add("end.");
    OnRunDialogs.clear();
    OnStartReport.clear();
    OnStopReport.clear();
    FSysVariables->Clear();
    for (const char* name : {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#",
                             "CopyName#"})
        FSysVariables->Add(name);
}

std::string TqlrReport::GetDescription() const
{
    return GetResources().Get("obReport");
}

TqlrPage* TqlrReport::GetPages(int index) const
{
    return dynamic_cast<TqlrPage*>(Objects()[static_cast<std::size_t>(index)]);
}

void TqlrReport::SetTerminated(bool v)
{
    FTerminated = v;
    if (v) FScript->Terminate();
}

void TqlrReport::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrComponent::Notification(component, operation);
    if (operation != rtl::TOperation::opRemove) return;
    // A component being destroyed is no longer a data set to dynamic_cast
    // (its data-set part is gone): compare addresses.
    bool removed = false;
    if (FDataSets)
        for (int i = FDataSets->Count() - 1; i >= 0; --i) {
            TqlrDataSetItem* item = FDataSets->Item(i);
            if (item->DataSet() && static_cast<rtl::TComponent*>(item->DataSet()) == component) {
                delete item;
                removed = true;
            }
        }
    if (FDataSet && static_cast<rtl::TComponent*>(FDataSet) == component) {
        FDataSet = nullptr;
        removed = true;
    }
    if ((removed || dynamic_cast<TqlrDataSet*>(component)) && FDesigner) FDesigner->UpdateDataTree();
}

// ------------------------------------------------------------ data sets

void TqlrReport::SetDataSet(TqlrDataSet* v)
{
    FDataSet = v;
    FDataSetName = v ? v->UserName() : std::string();
}

std::string TqlrReport::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TqlrReport::SetDataSetName(const std::string& v)
{
    FDataSetName = v;
    FDataSet = v.empty() ? nullptr : FindDataSet(FDataSet, v);
}

std::string TqlrReport::GetAlias(TqlrDataSet* dataSet) const
{
    if (!dataSet) return {};
    if (FDataSets->Find(dataSet)) return dataSet->UserName();
    return GetResources().Get("clDSNotIncl");
}

TqlrDataSet* TqlrReport::GetDataset(const std::string& alias) const
{
    for (int i = 0; i < FDataSets->Count(); ++i) {
        TqlrDataSet* ds = FDataSets->Item(i)->DataSet();
        if (ds && rtl::AnsiCompareText(ds->UserName(), alias) == 0) return ds;
    }
    return nullptr;
}

void TqlrReport::GetDatasetAndField(const std::string& complexName, TqlrDataSet*& dataSet, std::string& field) const
{
    dataSet = nullptr;
    field.clear();
    std::size_t pos = complexName.find(".\"");
    if (pos == std::string::npos) return;
    dataSet = GetDataset(complexName.substr(0, pos));
    std::string rest = complexName.substr(pos + 2);
    if (!rest.empty()) rest.pop_back();
    field = rest;
}

void TqlrReport::GetDataSetList(rtl::TStringList& list, bool onlyDB) const
{
    list.Clear();
    for (int i = 0; i < FDataSets->Count(); ++i) {
        TqlrDataSet* ds = FDataSets->Item(i)->DataSet();
        if (!ds) continue;
        if (onlyDB && dynamic_cast<TqlrUserDataSet*>(ds)) continue;
        list.AddObject(ds->UserName(), ds);
    }
}

void TqlrReport::GetActiveDataSetList(rtl::TStringList& list) const
{
    list.Clear();
    if (UseGlobalDataSetList()) {
        for (TqlrDataSet* ds : GlobalDataSets())
            if (!ds->UserName().empty() && ds->Enabled()) list.AddObject(ds->UserName(), ds);
    } else {
        for (TqlrDataSet* ds : FEnabledDataSets) list.AddObject(ds->UserName(), ds);
    }
}

void TqlrReport::CheckDataPage()
{
    for (TqlrComponent* c : Objects())
        if (dynamic_cast<TqlrDataPage*>(c)) return;
    auto* page = new TqlrDataPage(this);
    if (FindObject("Data"))
        page->CreateUniqueName();
    else
        page->SetName("Data");
    // Move it to the first position among the children.
    std::vector<TqlrComponent*> others;
    for (TqlrComponent* c : Objects())
        if (c != page) others.push_back(c);
    for (TqlrComponent* c : others) c->SetParent(nullptr);
    for (TqlrComponent* c : others) c->SetParent(this);
    long double left = 60;
    std::vector<TqlrComponent*> dialogs;
    for (TqlrComponent* c : AllObjects())
        if (dynamic_cast<TqlrDialogComponent*>(c) && c->Parent() != page &&
            !dynamic_cast<TqlrDialogPage*>(c->Parent()))
            dialogs.push_back(c);
    for (TqlrComponent* c : dialogs) {
        c->SetParent(page);
        c->SetLeft(left);
        c->SetTop(20);
        left += 64;
    }
}

// ------------------------------------------------------------ evaluation

std::string TqlrReport::CurObjectName() const
{
    return CurObject ? CurObject->Name() : std::string();
}

bool TqlrReport::LookupValue(const std::string& name, rtl::Variant& value)
{
    value = rtl::Variant::Null();
    TqlrDataSet* ds = nullptr;
    std::string field;
    GetDatasetAndField(name, ds, field);
    if (ds && !field.empty()) {
        value = ds->Value(field);
        if (FEngineOptions->ConvertNulls && value.IsNull()) {
            switch (ds->FieldType(field)) {
            case TqlrFieldType::fftNumeric: value = rtl::Variant(0); break;
            case TqlrFieldType::fftString: value = rtl::Variant(std::string()); break;
            case TqlrFieldType::fftBoolean: value = rtl::Variant(false); break;
            }
        }
        return true;
    }
    int sys = -1;
    for (int i = 0; i < FSysVariables->Count(); ++i)
        if (rtl::AnsiCompareText(FSysVariables->Strings(i), name) == 0) {
            sys = i;
            break;
        }
    if (sys >= 0) {
        TqlrCustomEngine* e = FEngine.get();
        TqlrCustomPreviewPages* p = FPreviewPages.get();
        switch (sys) {
        case 0: value = rtl::Variant::FromDate(e ? e->StartDate : 0); break;
        case 1: value = rtl::Variant::FromDate(e ? e->StartTime : 0); break;
        case 2: value = rtl::Variant(p ? p->GetLogicalPageNo() : 1); break;
        case 3: value = rtl::Variant(p ? p->CurPage + 1 : 1); break;
        case 4: value = rtl::Variant(p ? p->GetLogicalTotalPages() : 0); break;
        case 5: value = rtl::Variant(e ? e->TotalPages : 0); break;
        case 6: value = rtl::Variant(e ? e->CurLine : 0); break;
        case 7: value = rtl::Variant(e ? e->CurLineThrough : 0); break;
        default: value = GlobalVariables().GetVariable("CopyName0"); break;
        }
        return true;
    }
    value = rtl::Variant::Empty();
    if (OnGetValue) OnGetValue(name, value);
    if (OnNewGetValue) OnNewGetValue(this, name, value);
    if (!value.IsEmpty()) return true;
    if (FVariables->IndexOf(name) >= 0) {
        rtl::Variant v = FVariables->GetVariable(name);
        if (v.IsString() && v.TextRef().find("\r\n") == std::string::npos)
            value = Calc(v.TextRef());
        else
            value = v;
        return true;
    }
    if (GlobalVariables().IndexOf(name) >= 0) {
        value = GlobalVariables().GetVariable(name);
        return true;
    }
    if (qs::TqsCustomVariable* item = FScript->FindLocal(name)) {
        if (!dynamic_cast<qs::TqsProcVariable*>(item) && !dynamic_cast<qs::TqsMethodHelper*>(item)) {
            value = item->GetValue();
            return true;
        }
    }
    value = rtl::Variant::Null();
    return false;
}

rtl::Variant TqlrReport::Calc(const std::string& expr, qs::TqsScript* script, bool fromScript)
{
    if (OnCalc) return OnCalc(expr);
    if (!script) script = FScript.get();
    rtl::Variant result;
    if (LookupValue(expr, result)) return result;
    std::string err;
    result = FExpressionCache->Calc(expr, err, script);
    if (err.empty()) return result;
    if (FEngineOptions->IgnoreDevByZero && err == "Floating point division by zero") return rtl::Variant::Empty();
    std::string message;
    if (fromScript) {
        message = "Error in Calc expression: " + err;
    } else {
        message = err;
        const std::string obj = CurObjectName();
        if (!obj.empty()) {
            message = obj + ": " + err;
            FErrors->Add(message);
        }
    }
    throw rtl::Exception(message);
}

rtl::Variant TqlrReport::DoGet(const std::string& name)
{
    rtl::Variant value;
    if (LookupValue(name, value)) return value;
    std::size_t paren = name.find('(');
    if (paren != std::string::npos) {
        std::string head = rtl::AnsiUpperCase(rtl::Trim(name.substr(0, paren)));
        if (head == "SUM" || head == "MIN" || head == "MAX" || head == "AVG" || head == "COUNT") return Calc(name);
    }
    FErrors->Add(GetResources().Get("clUnknownVar") + " " + name);
    return rtl::Variant::Null();
}

rtl::Variant TqlrReport::DoAggregate(const std::string& func, qs::TqsMethodHelper* caller)
{
    const bool isCount = func == "COUNT";
    const int first = isCount ? 0 : 1;
    auto arg = [&](int i) {
        std::string text = rtl::Trim(rtl::VarToStr(caller->GetParam(i)));
        if (text.empty()) return rtl::Variant(0);
        return Calc(text, caller->Prog());
    };
    rtl::Variant band = arg(first);
    rtl::Variant flags = arg(first + 1);
    std::string expr = isCount ? std::string() : rtl::VarToStr(caller->GetParam(0));
    if (!FEngine) return rtl::Variant::Null();
    rtl::TObject* bandObj = band.IsInteger() && band.AsInteger() == 0 ? nullptr : band.AsObject();
    return FEngine->GetAggregateValue(func, expr, bandObj, flags.AsInteger());
}

bool TqlrReport::PrepareScript()
{
    FExpressionCache->Clear();
    FExpressionCache->SetScriptLanguage(FScriptLanguage);
    if (FEngine) FEngine->NotifyList.clear();
    FScript->ClearItems(&kAddedByReport);
    FScript->SetAddedBy(&kAddedByReport);
    FScript->SetMainProg(true);
    for (TqlrComponent* c : AllObjects()) {
        c->SetIsDesigning(false);
        c->BeforeStartReport();
        if (auto* pv = dynamic_cast<TqlrPictureView*>(c)) pv->SetPictureChanged(true);
        if (!c->Name().empty()) FScript->AddObject(c->Name(), c);
    }
    FScript->AddObject("Report", this);
    if (FEngine) FScript->AddObject("Engine", FEngine.get());
    if (PreviewPages() && PreviewPages()->Outline()) FScript->AddObject("Outline", PreviewPages()->Outline());
    FScript->AddVariable("Value", "Variant", rtl::Variant::Null());
    FScript->AddVariable("Self", "TqlrView", rtl::Variant::Null());

    using Caller = qs::TqsMethodHelper;
    auto fn = [this](auto body) {
        return [this, body](rtl::TObject*, const rtl::TClassInfo*, const std::string&, Caller* c) {
            return body(c);
        };
    };
    FScript->AddMethod("function Get(Name: String): Variant",
                       fn([this](Caller* c) { return DoGet(rtl::VarToStr(c->GetParam(0))); }));
    FScript->AddMethod("procedure Set(Name: String; Value: Variant)", fn([this](Caller* c) {
                           FVariables->SetVariable(rtl::VarToStr(c->GetParam(0)), c->GetParam(1));
                           return rtl::Variant::Null();
                       }));
    FScript->AddMethod("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
                       fn([this](Caller* c) {
                           qs::TqsScript* running = c->Prog();
                           rtl::Variant cond = Calc(rtl::VarToStr(c->GetParam(0)), running);
                           bool yes = !cond.IsNull() && !cond.IsEmpty() && cond.IsOrdinal() && cond.AsBoolean();
                           return Calc(rtl::VarToStr(c->GetParam(yes ? 1 : 2)), running);
                       }));
    for (const char* f : {"SUM", "AVG", "MIN", "MAX"})
        FScript->AddMethod(std::string("macrofunction ") + f +
                               "(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                           fn([this, f](Caller* c) { return DoAggregate(f, c); }));
    FScript->AddMethod("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant",
                       fn([this](Caller* c) { return DoAggregate("COUNT", c); }));
    FLocalValue = FScript->FindLocal("Value");
    FSelfValue = FScript->FindLocal("Self");
    FScript->Lines().Assign(FScriptText.get());
    FScript->SetSyntaxType(FScriptLanguage);
    FScript->SetAddedBy(nullptr);
    return true;
}

void TqlrReport::AddFunction(const std::string& funcName, const std::string& category,
                             const std::string& description)
{
    FScript->AddMethod(
        funcName,
        [this](rtl::TObject*, const rtl::TClassInfo*, const std::string& name, qs::TqsMethodHelper* c) {
            if (!OnUserFunction) return rtl::Variant::Null();
            std::vector<rtl::Variant> args;
            for (int i = 0; i < c->Count(); ++i) args.push_back(c->GetParam(i));
            return OnUserFunction(name, args);
        },
        category, description);
}

} // namespace qlr
