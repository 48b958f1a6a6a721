// Designators (evaluation walk and fast paths), set expressions and the
// execution of every statement class.
#include <memory>

#include "platform/rtl/Strings.h"
#include "script/qs_iexpression.h"
#include "script/qs_iilparser.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"
#include "script/qs_xml.h"

namespace qs {

namespace {
thread_local int64_t gStepsLeft = -1;
}

void SetStepLimit(int64_t steps) { gStepsLeft = steps; }

void CountStep()
{
    if (gStepsLeft < 0) return;
    if (gStepsLeft == 0) throw EqsStepLimit("Step limit exceeded");
    --gStepsLeft;
}

// --- designators ------------------------------------------------------------------------

TqsDesignator::TqsDesignator(TqsScript* AProgram)
    : TqsCustomVariable("", fvtVariant, ""), FProgram(AProgram)
{
    FMainProg = AProgram;
    for (TqsScript* p = AProgram; p; p = p->Parent())
        if (p->MainProg()) {
            FMainProg = p;
            break;
        }
    if (AProgram && FMainProg) AProgram->SetUseClassLateBinding(FMainProg->UseClassLateBinding());
}

TqsDesignator::~TqsDesignator() { delete FLateBindingXmlSource; }

void TqsDesignator::SetLateBindingXmlSource(TqsXMLItem* x)
{
    delete FLateBindingXmlSource;
    FLateBindingXmlSource = x;
}

void TqsDesignator::Borrow(TqsDesignator* ADesignator)
{
    SwapItems(*ADesignator);
    FKind = ADesignator->FKind;
    FRef1 = ADesignator->FRef1;
    FRef2 = ADesignator->FRef2;
    FTyp = ADesignator->FTyp;
    FTypeName = ADesignator->FTypeName;
    FIsReadOnly = ADesignator->FIsReadOnly;
    FRefItem = ADesignator->FRefItem;
}

void TqsDesignator::Finalize()
{
    int n = Count();
    if (n == 0) return;
    TqsCustomVariable* last = Step(n - 1)->FRef;
    if (last) {
        FTyp = last->Typ();
        FTypeName = last->TypeName();
        FIsReadOnly = last->IsReadOnly();
        if (FTyp == fvtConstructor) {
            FTyp = fvtClass;
            FTypeName = n >= 2 && Step(n - 2)->FRef ? Step(n - 2)->FRef->TypeName() : std::string();
        }
    }
    TqsCustomVariable* first = Step(0)->FRef;
    if (n == 1 && dynamic_cast<TqsVariable*>(first)) {
        FKind = dkVariable;
        FRefItem = first;
    } else if (n == 2 && dynamic_cast<TqsStringVariable*>(first) && Step(1)->Count() > 0) {
        FKind = dkStringArray;
        FRefItem = first;
        FRef1 = static_cast<TqsCustomVariable*>(Step(1)->Item(0));
    } else if (n == 2 && dynamic_cast<TqsVariable*>(first) && first->Typ() == fvtArray && first->RefItem()) {
        FKind = dkArray;
        FRefItem = first;
        FRef1 = first->RefItem();
        FRef2 = Step(1);
    } else {
        FKind = dkOther;
    }
}

void TqsDesignator::ResolveLateBinding()
{
    // A member that cannot be found raises, and the code is kept: the next
    // evaluation tries again instead of acting on the provisional steps.
    TqsILParser parser(FProgram);
    std::unique_ptr<TqsDesignator> d(parser.ResolveLateDesignator(FLateBindingXmlSource, FProgram));
    std::unique_ptr<TqsXMLItem> src(FLateBindingXmlSource);
    FLateBindingXmlSource = nullptr;
    // The resolved steps replace the provisional ones.
    TqsItemList old;
    SwapItems(old);
    Borrow(d.get());
}

Variant TqsDesignator::Walk(bool write, const Variant& value)
{
    if (FLateBindingXmlSource) ResolveLateBinding();
    Variant running = Variant::Null();
    TqsCustomVariable* prev = nullptr;
    const int n = Count();
    for (int s = 0; s < n; ++s) {
        TqsDesignatorItem* step = Step(s);
        TqsCustomVariable* item = step->FRef;
        if (!item) continue;
        const bool last = s == n - 1;
        if (dynamic_cast<TqsDesignator*>(item)) {
            prev = item;
            running = item->GetValue();
            continue;
        }
        // A recursive call: keep the running invocation's locals.
        std::vector<std::pair<TqsCustomVariable*, Variant>> saved;
        auto* proc = dynamic_cast<TqsProcVariable*>(item);
        if (proc && proc->Executing()) {
            TqsScript* prog = proc->Prog();
            for (int i = 0; i < prog->Count(); ++i) {
                auto* v = dynamic_cast<TqsCustomVariable*>(prog->Items(i));
                if (dynamic_cast<TqsVariable*>(v) || dynamic_cast<TqsParamItem*>(v))
                    saved.emplace_back(v, *v->PValue());
            }
            for (auto& [v, val] : saved)
                if (auto* sv = dynamic_cast<TqsStringVariable*>(v)) val = Variant(sv->Str());
        }
        auto restore = [&saved]() {
            for (auto& [v, val] : saved) {
                bool ro = v->IsReadOnly();
                v->SetIsReadOnly(false);
                v->SetValue(val);
                v->SetIsReadOnly(ro);
            }
        };
        try {
            if (item->Count() > 0) {
                std::vector<Variant> args;
                args.reserve(static_cast<size_t>(step->Count()));
                for (int j = 0; j < step->Count(); ++j) {
                    auto* e = static_cast<TqsCustomVariable*>(step->Item(j));
                    if (item->IsMacro()) {
                        auto* ex = dynamic_cast<TqsExpression*>(e);
                        args.push_back(Variant(ex ? ex->Source() : std::string()));
                    } else {
                        args.push_back(e ? e->GetValue() : Variant::Null());
                    }
                }
                for (int j = 0; j < item->Count() && j < static_cast<int>(args.size()); ++j)
                    item->Params(j)->SetValue(args[static_cast<size_t>(j)]);
            }
            if (auto* h = dynamic_cast<TqsCustomHelper*>(item)) {
                h->SetParentRef(prev);
                h->SetParentValue(running);
                h->SetProg(FProgram);
            }
            prev = item;
            if (last && write) {
                item->SetValue(value);
            } else {
                item->SetNeedResult(last ? FNeedResult : true);
                running = item->GetValue();
            }
            for (int j = 0; j < item->Count() && j < step->Count(); ++j)
                if (item->Params(j)->IsVarParam())
                    if (auto* e = static_cast<TqsCustomVariable*>(step->Item(j))) e->SetValue(item->Params(j)->GetValue());
        } catch (...) {
            restore();
            throw;
        }
        restore();
    }
    return running;
}

Variant TqsDesignator::GetValue() { return Walk(false, Variant()); }

void TqsDesignator::SetValue(const Variant& value) { Walk(true, value); }

Variant TqsVariableDesignator::GetValue()
{
    if (FLateBindingXmlSource) return TqsDesignator::GetValue();
    return FRefItem->GetValue();
}

void TqsVariableDesignator::SetValue(const Variant& value)
{
    if (FLateBindingXmlSource) return TqsDesignator::SetValue(value);
    FRefItem->SetValue(value);
}

Variant TqsStringDesignator::GetValue()
{
    auto* sv = static_cast<TqsStringVariable*>(FRefItem);
    return Variant(qsCharAt(sv->Str(), FRef1->GetValue().AsInteger()));
}

void TqsStringDesignator::SetValue(const Variant& value)
{
    auto* sv = static_cast<TqsStringVariable*>(FRefItem);
    if (sv->IsReadOnly()) return;
    sv->SetStr(qsSetCharAt(sv->Str(), FRef1->GetValue().AsInteger(), rtl::VarToStr(value)));
}

Variant TqsArrayDesignator::GetValue()
{
    auto* h = static_cast<TqsCustomHelper*>(FRef1);
    h->SetParentRef(FRefItem);
    h->SetParentValue(Variant::Null());
    for (int j = 0; j < FRef2->Count() && j < h->Count(); ++j)
        h->Params(j)->SetValue(static_cast<TqsCustomVariable*>(FRef2->Item(j))->GetValue());
    return h->GetValue();
}

void TqsArrayDesignator::SetValue(const Variant& value)
{
    auto* h = static_cast<TqsCustomHelper*>(FRef1);
    h->SetParentRef(FRefItem);
    h->SetParentValue(Variant::Null());
    for (int j = 0; j < FRef2->Count() && j < h->Count(); ++j)
        h->Params(j)->SetValue(static_cast<TqsCustomVariable*>(FRef2->Item(j))->GetValue());
    h->SetValue(value);
}

// --- set expressions --------------------------------------------------------------------------

TqsSetExpression::TqsSetExpression() : TqsCustomVariable("", fvtVariant, "") {}

bool TqsSetExpression::Check(const Variant& Value)
{
    const int n = Count();
    int i = 0;
    while (i < n) {
        auto* e = static_cast<TqsCustomVariable*>(Item(i));
        if (i + 2 < n && Item(i + 1) == nullptr) {
            Variant low = e ? e->GetValue() : Variant::Null();
            auto* he = static_cast<TqsCustomVariable*>(Item(i + 2));
            Variant high = he ? he->GetValue() : Variant::Null();
            if (Value >= low && Value <= high) return true;
            i += 3;
        } else {
            if (e && Value == e->GetValue()) return true;
            ++i;
        }
    }
    return false;
}

Variant TqsSetExpression::GetValue()
{
    const int n = Count();
    if (n == 0) return rtl::VarArrayCreate({0, -1}, rtl::varVariant);
    Variant arr = rtl::VarArrayCreate({0, n - 1}, rtl::varVariant);
    for (int i = 0; i < n; ++i) {
        auto* e = static_cast<TqsCustomVariable*>(Item(i));
        arr.SetElement({i}, e ? e->GetValue() : Variant::Null());
    }
    return arr;
}

// --- statements -----------------------------------------------------------------------------

TqsStatement::TqsStatement(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos)
    : FProgram(AProgram), FSourcePos(SourcePos), FUnitName(UnitName)
{
}

void TqsStatement::RunLine()
{
    CountStep();
    for (TqsScript* p = FProgram; p; p = p->Parent())
        if (p->OnRunLine) {
            p->OnRunLine(FProgram, FUnitName, FSourcePos);
            return;
        }
}

void TqsStatement::ExecuteList()
{
    TqsScript* p = FProgram;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        if (p->FTerminated) return;
        Stmt(i)->Execute();
        if (p->FBreakCalled || p->FContinueCalled || p->FExitCalled) return;
    }
}

void TqsStatement::Execute() { ExecuteList(); }

TqsAssignmentStmt::~TqsAssignmentStmt()
{
    delete FDesignator;
    delete FExpression;
}

void TqsAssignmentStmt::Optimize()
{
    FVar = FDesignator;
    if (auto* vd = dynamic_cast<TqsVariableDesignator*>(FDesignator); vd && vd->RefItem() && !vd->LateBindingXmlSource())
        FVar = vd->RefItem();
    FExpr = FExpression;
    if (auto* e = dynamic_cast<TqsExpression*>(FExpression))
        if (TqsCustomVariable* single = e->SingleItem()) {
            // A late-bound designator must still go through its expression.
            auto* d = dynamic_cast<TqsDesignator*>(single);
            if (!(d && d->LateBindingXmlSource())) FExpr = single;
        }
}

void TqsAssignmentStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    FVar->SetValue(FExpr->GetValue());
}

void TqsAssignPlusStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    // The variable's value is read first and shares its text with the
    // variable.  While every operand so far only appends text, the appends
    // wait (later operands may still read the variable); once the last
    // operand is in, the variable lets go of its text and the appends are
    // made to the one remaining holder, in place.
    Variant head = FVar->GetValue();
    const size_t n = FTails.empty() ? 1 : FTails.size();
    std::vector<std::pair<Variant, bool>> pending;
    size_t length = head.TextRef().size();
    bool deferring = head.IsString();
    Variant acc;
    for (size_t i = 0; i < n; ++i) {
        TqsCustomVariable* operand = FTails.empty() ? FExpr : FTails[i].first;
        const bool strCat = !FTails.empty() && FTails[i].second;
        Variant r = operand->GetValue();
        if (deferring) {
            if (strCat || head.ConcatenatesWith(r)) {
                if (strCat) r = Variant(rtl::VarToStr(r));   // fails here, as "&" would
                length += r.TextRef().size();
                if (length > kMaxScriptText) throw rtl::EOutOfMemory("Out of memory");
                pending.emplace_back(std::move(r), strCat);
                continue;
            }
            acc = head;
            for (auto& [text, cat] : pending) qsAppendValue(acc, text, cat);
            pending.clear();
            deferring = false;
        } else if (i == 0) {
            acc = head;
        }
        qsAppendValue(acc, r, strCat);
    }
    if (deferring) {
        FVar->ReleaseStoredValue();
        acc = std::move(head);
        for (auto& [text, cat] : pending) qsAppendValue(acc, text, cat);
    }
    FVar->SetValue(acc);
}

void TqsAssignMinusStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    Variant a = FVar->GetValue();
    Variant b = FExpr->GetValue();
    FVar->SetValue(a - b);
}

void TqsAssignMulStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    Variant a = FVar->GetValue();
    Variant b = FExpr->GetValue();
    FVar->SetValue(a * b);
}

void TqsAssignDivStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    Variant a = FVar->GetValue();
    Variant b = FExpr->GetValue();
    FVar->SetValue(a / b);
}

TqsCallStmt::~TqsCallStmt() { delete FDesignator; }

void TqsCallStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    if (FModificator.empty()) {
        FDesignator->SetNeedResult(false);
        FDesignator->GetValue();
    } else if (FModificator == "+") {
        FDesignator->SetValue(FDesignator->GetValue() + Variant(1));
    } else if (FModificator == "-") {
        FDesignator->SetValue(FDesignator->GetValue() - Variant(1));
    }
}

TqsIfStmt::TqsIfStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos)
    : TqsStatement(AProgram, UnitName, SourcePos), FElseStmt(new TqsStatement(AProgram, UnitName, SourcePos))
{
}

TqsIfStmt::~TqsIfStmt()
{
    delete FCondition;
    delete FElseStmt;
}

void TqsIfStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    Variant c = FCondition->GetValue();
    if (c.IsBoolean() ? c.AsBoolean() : (!c.IsNull() && c.AsBoolean())) ExecuteList();
    else FElseStmt->Execute();
}

TqsCaseSelector::~TqsCaseSelector() { delete FSetExpression; }

bool TqsCaseSelector::Check(const Variant& Value) { return FSetExpression->Check(Value); }

TqsCaseStmt::TqsCaseStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos)
    : TqsStatement(AProgram, UnitName, SourcePos), FElseStmt(new TqsStatement(AProgram, UnitName, SourcePos))
{
}

TqsCaseStmt::~TqsCaseStmt()
{
    delete FCondition;
    delete FElseStmt;
}

void TqsCaseStmt::Execute()
{
    Variant v = FCondition->GetValue();
    RunLine();
    if (FProgram->FTerminated) return;
    for (int i = 0; i < Count(); ++i) {
        auto* sel = static_cast<TqsCaseSelector*>(Item(i));
        if (sel->Check(v)) {
            sel->Execute();
            return;
        }
    }
    FElseStmt->Execute();
}

TqsRepeatStmt::~TqsRepeatStmt() { delete FCondition; }

void TqsRepeatStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    TqsScript* p = FProgram;
    for (;;) {
        CountStep();
        ExecuteList();
        if (p->FBreakCalled || p->FExitCalled || p->FTerminated) break;
        p->FContinueCalled = false;
        bool c = FCondition->GetValue().AsBoolean();
        if (c != FInverseCondition) break;
    }
    p->FBreakCalled = false;
}

TqsWhileStmt::~TqsWhileStmt() { delete FCondition; }

void TqsWhileStmt::Execute()
{
    RunLine();
    if (FProgram->FTerminated) return;
    TqsScript* p = FProgram;
    for (;;) {
        if (p->FTerminated) break;
        CountStep();
        if (!FCondition->GetValue().AsBoolean()) break;
        ExecuteList();
        if (p->FBreakCalled || p->FExitCalled) break;
        p->FContinueCalled = false;
    }
    p->FBreakCalled = false;
}

TqsForStmt::~TqsForStmt()
{
    delete FBeginValue;
    delete FEndValue;
}

void TqsForStmt::Execute()
{
    int32_t b = FBeginValue->GetValue().AsInteger();
    int32_t e = FEndValue->GetValue().AsInteger();
    RunLine();
    TqsScript* p = FProgram;
    if (p->FTerminated) return;
    auto* var = static_cast<TqsVariable*>(FVariable);
    // 64-bit counter: a bound at the end of the integer range ends the loop
    // instead of overflowing.
    if (!FDown) {
        for (int64_t i = b; i <= e; ++i) {
            CountStep();
            var->SetStored(Variant(static_cast<int32_t>(i)));
            ExecuteList();
            if (p->FBreakCalled || p->FExitCalled || p->FTerminated) break;
            p->FContinueCalled = false;
        }
    } else {
        for (int64_t i = b; i >= e; --i) {
            CountStep();
            var->SetStored(Variant(static_cast<int32_t>(i)));
            ExecuteList();
            if (p->FBreakCalled || p->FExitCalled || p->FTerminated) break;
            p->FContinueCalled = false;
        }
    }
    p->FBreakCalled = false;
}

TqsVbForStmt::~TqsVbForStmt()
{
    delete FBeginValue;
    delete FEndValue;
    delete FStep;
}

void TqsVbForStmt::Execute()
{
    Variant b = FBeginValue->GetValue();
    Variant e = FEndValue->GetValue();
    Variant step = FStep ? FStep->GetValue() : Variant(1);
    bool down = step < Variant(0);
    RunLine();
    TqsScript* p = FProgram;
    if (p->FTerminated) return;
    auto* var = static_cast<TqsVariable*>(FVariable);
    Variant i = b;
    while (down ? i >= e : i <= e) {
        CountStep();
        var->SetStored(i);
        ExecuteList();
        if (p->FBreakCalled || p->FExitCalled || p->FTerminated) break;
        p->FContinueCalled = false;
        i = i + step;
    }
    p->FBreakCalled = false;
}

TqsCppForStmt::TqsCppForStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos)
    : TqsStatement(AProgram, UnitName, SourcePos), FFirstStmt(new TqsStatement(AProgram, UnitName, SourcePos)),
      FSecondStmt(new TqsStatement(AProgram, UnitName, SourcePos))
{
}

TqsCppForStmt::~TqsCppForStmt()
{
    delete FFirstStmt;
    delete FExpression;
    delete FSecondStmt;
}

void TqsCppForStmt::Execute()
{
    RunLine();
    TqsScript* p = FProgram;
    if (p->FTerminated) return;
    FFirstStmt->Execute();
    if (p->FTerminated) return;
    for (;;) {
        if (p->FTerminated) break;
        CountStep();
        if (!FExpression->GetValue().AsBoolean()) break;
        ExecuteList();
        if (p->FBreakCalled || p->FExitCalled) break;
        p->FContinueCalled = false;
        FSecondStmt->Execute();
    }
    p->FBreakCalled = false;
}

TqsTryStmt::TqsTryStmt(TqsScript* AProgram, const std::string& UnitName, const std::string& SourcePos)
    : TqsStatement(AProgram, UnitName, SourcePos), FExceptStmt(new TqsStatement(AProgram, UnitName, SourcePos))
{
}

TqsTryStmt::~TqsTryStmt() { delete FExceptStmt; }

namespace {

std::string ExceptionClassName(const rtl::Exception& e)
{
    // The dynamic class name without namespace ("EConvertError").
    std::string n = typeid(e).name();
    // Itanium mangling: N3rtl13EConvertErrorE or 10EqsSomething.
    std::string out;
    size_t i = 0;
    if (!n.empty() && n[0] == 'N') ++i;
    while (i < n.size() && isdigit(static_cast<unsigned char>(n[i]))) {
        size_t len = 0;
        while (i < n.size() && isdigit(static_cast<unsigned char>(n[i]))) len = len * 10 + static_cast<size_t>(n[i++] - '0');
        out = n.substr(i, len);
        i += len;
    }
    return out.empty() ? std::string("Exception") : out;
}

} // namespace

void TqsTryStmt::Execute()
{
    RunLine();
    TqsScript* p = FProgram;
    if (p->FTerminated) return;
    if (FIsExcept) {
        try {
            ExecuteList();
        } catch (const EqsStepLimit&) {
            throw;
        } catch (const rtl::Exception& e) {
            p->SetVariable("ExceptionClassName", Variant(ExceptionClassName(e)));
            p->SetVariable("ExceptionMessage", Variant(e.Message()));
            FExceptStmt->Execute();
        }
    } else {
        try {
            ExecuteList();
        } catch (...) {
            bool exitCalled = p->FExitCalled;
            p->FExitCalled = false;
            FExceptStmt->Execute();
            p->FExitCalled = exitCalled;
            throw;
        }
        bool exitCalled = p->FExitCalled;
        p->FExitCalled = false;
        FExceptStmt->Execute();
        p->FExitCalled = exitCalled;
    }
}

void TqsBreakStmt::Execute() { FProgram->FBreakCalled = true; }

void TqsContinueStmt::Execute() { FProgram->FContinueCalled = true; }

void TqsExitStmt::Execute()
{
    RunLine();
    FProgram->FExitCalled = true;
}

TqsWithStmt::~TqsWithStmt() { delete FDesignator; }

void TqsWithStmt::Execute()
{
    ExecuteList();
    FVariable->SetValue(FDesignator->GetValue());
}

} // namespace qs
