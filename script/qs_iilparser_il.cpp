// Second pass: intermediate code to items and statements.
#include <algorithm>
#include <memory>

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "script/qs_iconst.h"
#include "script/qs_iexpression.h"
#include "script/qs_iilparser.h"
#include "script/qs_itools.h"

namespace qs {

TqsXMLItem* GrammarTypes(const std::shared_ptr<TqsGrammar>& g);
TqsCustomHelper* NewOLEHelper(const std::string& name);

namespace {

std::string Lower(const std::string& s) { return rtl::AnsiLowerCase(s); }

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

TqsXMLItem* Child(TqsXMLItem* e, int i) { return i < e->Count() ? e->Items(i) : nullptr; }

bool Named(TqsXMLItem* e, const char* name) { return e && rtl::AnsiSameText(e->Name(), name); }

Variant InitialValue(TqsVarType t)
{
    switch (t) {
    case fvtArray: case fvtVariant: case fvtEnum: case fvtConstructor: return Variant::Null();
    case fvtBool: return Variant(false);
    case fvtChar: case fvtString: return Variant(std::string());
    default: return Variant(0);
    }
}

} // namespace

void TqsILParser::Error(const std::string& Msg) { throw rtl::Exception(Msg); }

void TqsILParser::SetPos(TqsXMLItem* E)
{
    std::string p = E->Prop("pos");
    if (!p.empty()) FErrorPos = p;
}

template <typename S>
S* TqsILParser::NewStmt(TqsXMLItem* E, TqsScript* P)
{
    std::string pos = E->Prop("pos");
    auto* s = new S(P, FUnitName, pos);
    if (FProgram) FProgram->AddCodeLine(FUnitName, pos);
    return s;
}

void TqsILParser::ParseILScript()
{
    FWithList.clear();
    if (FProgram) FProgram->SetErrorUnit("");
    FUnitName.clear();
    try {
        DoBlock(FILScript.Root(), FProgram);
        FProgram->SetErrorPos("");
    } catch (const rtl::Exception& e) {
        FProgram->SetErrorMsg(e.Message());
        FProgram->SetErrorPos(FErrorPos);
        FProgram->SetErrorUnit(FUnitName);
    }
}

void TqsILParser::DoBlock(TqsXMLItem* B, TqsScript* P)
{
    TqsXMLItem* saved = FProgRoot;
    FProgRoot = B;
    try {
        DeclareRoutines(B, P);
        for (TqsXMLItem* c : B->Children()) DoStatement(c, P, P->Statement());
    } catch (...) {
        FProgRoot = saved;
        throw;
    }
    FProgRoot = saved;
}

void TqsILParser::DeclareRoutines(TqsXMLItem* B, TqsScript* P)
{
    for (TqsXMLItem* c : B->Children()) {
        std::string n = Lower(c->Name());
        if (n == "procedure" || n == "function") DeclareRoutine(c, P);
        else if (n == "compoundstmt") DeclareRoutines(c, P);
    }
}

void TqsILParser::CheckRedeclared(const std::string& Name, TqsScript* P)
{
    if (P->FindLocal(Name)) Error(SIdRedeclared + Quoted(Name));
}

std::string TqsILParser::ResolveTypeName(const std::string& Name, TqsVarType& Typ, TqsScript* P)
{
    std::string name = Name;
    auto alias = [&](TqsXMLItem* types) -> bool {
        if (!types) return false;
        int i = types->Find(name);
        if (i < 0) return false;
        name = types->Items(i)->Prop("type");
        return true;
    };
    TqsXMLItem* local = FProgRoot && FProgRoot->Find("types") >= 0 ? FProgRoot->Items(FProgRoot->Find("types")) : nullptr;
    TqsXMLItem* ilTypes = FILScript.Root()->Find("types") >= 0 ? FILScript.Root()->Items(FILScript.Root()->Find("types")) : nullptr;
    if (!alias(local) && !alias(ilTypes)) {
        alias(GrammarTypes(FGrammar));
    }
    Typ = TypeNameToVarType(name, P);
    if (Typ == fvtClass && !P->FindClass(name)) Error(SUnknownType + Quoted(name));
    return name;
}

TqsCustomVariable* TqsILParser::FindVar(const std::string& Name, TqsScript* P)
{
    if (TqsCustomVariable* v = P->Find(Name)) return v;
    if (FNeedDeclareVars) Error(SIdUndeclared + Quoted(Name));
    auto* v = new TqsVariable(Name, fvtVariant, "");
    v->SetSourceUnit(FUnitName);
    v->SetSourcePos(FErrorPos);
    v->OnGetVarValue = FProgram ? FProgram->OnGetVarValue : nullptr;
    P->Add(Name, v);
    return v;
}

void TqsILParser::DeclareRoutine(TqsXMLItem* E, TqsScript* P)
{
    SetPos(E);
    bool isFunc = Named(E, "function");
    std::string name;
    std::string typeName;
    bool hasType = false;
    if (!isFunc) {
        if (TqsXMLItem* c = Child(E, 0)) name = c->Prop("text");
    } else {
        int ni = E->Find("name");
        if (ni >= 0) name = E->Items(ni)->Prop("text");
        int ti = E->Find("type");
        if (ti >= 0) {
            typeName = E->Items(ti)->Prop("text");
            hasType = true;
        }
    }
    CheckRedeclared(name, P);
    TqsVarType t = fvtVariant;
    std::string resolved = "Variant";
    bool returns = isFunc;
    if (isFunc && hasType) {
        if (rtl::AnsiSameText(typeName, "void")) returns = false;
        resolved = ResolveTypeName(typeName, t, P);
    }
    auto proc = std::make_unique<TqsProcVariable>(name, t, resolved, P, returns);
    proc->SetSourcePos(E->Prop("pos"));
    proc->SetSourceUnit(FUnitName);
    TqsScript* RP = proc->Prog();
    int pi = E->Find("parameters");
    if (pi >= 0) {
        bool byRefGroup = false;
        for (TqsXMLItem* g : E->Items(pi)->Children()) {
            if (Named(g, "varparams")) {
                byRefGroup = true;
                continue;
            }
            if (!Named(g, "var")) continue;
            int before = proc->Count();
            DoVar(g, RP, nullptr, proc.get());
            if (byRefGroup)
                for (int i = before; i < proc->Count(); ++i) proc->Params(i)->SetIsVarParam(true);
            byRefGroup = false;
        }
    }
    P->Add(name, proc.release());
}

void TqsILParser::DoVar(TqsXMLItem* E, TqsScript* P, TqsStatement* L, TqsCustomVariable* routine)
{
    SetPos(E);
    const auto& ch = E->Children();
    int firstType = -1, firstIdent = -1;
    for (int i = 0; i < static_cast<int>(ch.size()); ++i) {
        if (firstType < 0 && Named(ch[static_cast<size_t>(i)], "type")) firstType = i;
        if (firstIdent < 0 && Named(ch[static_cast<size_t>(i)], "ident")) firstIdent = i;
    }
    std::string typeName = firstType >= 0 ? ch[static_cast<size_t>(firstType)]->Prop("text") : "Variant";
    bool namesFirst = firstType > firstIdent;  // type after the names: array/init apply to all

    for (int i = 0; i < static_cast<int>(ch.size()); ++i) {
        TqsXMLItem* c = ch[static_cast<size_t>(i)];
        if (!Named(c, "ident")) continue;
        SetPos(c);
        std::string name = c->Prop("text");
        bool varParam = i > 0 && Named(ch[static_cast<size_t>(i - 1)], "varparam");
        TqsXMLItem* arrayEl = nullptr;
        TqsXMLItem* initEl = nullptr;
        if (namesFirst) {
            for (TqsXMLItem* x : ch) {
                if (!arrayEl && Named(x, "array")) arrayEl = x;
                if (!initEl && Named(x, "init")) initEl = x;
            }
        } else {
            for (int j = i + 1; j < static_cast<int>(ch.size()) && !Named(ch[static_cast<size_t>(j)], "ident"); ++j) {
                TqsXMLItem* x = ch[static_cast<size_t>(j)];
                if (!arrayEl && Named(x, "array")) arrayEl = x;
                if (!initEl && Named(x, "init")) initEl = x;
            }
        }
        CheckRedeclared(name, P);
        TqsVarType t;
        std::string tn = ResolveTypeName(typeName, t, P);
        Variant init = InitialValue(t);
        TqsCustomVariable* ref = nullptr;
        if (arrayEl) {
            std::vector<int32_t> bounds;
            for (TqsXMLItem* dim : arrayEl->Children()) {
                if (!Named(dim, "dim")) continue;
                std::vector<TqsXMLItem*> exprs;
                for (TqsXMLItem* x : dim->Children())
                    if (Named(x, "expr")) exprs.push_back(x);
                if (exprs.empty()) continue;
                std::unique_ptr<TqsExpression> e1(DoExpression(exprs[0], P));
                int32_t v1 = e1->GetValue().AsInteger();
                if (exprs.size() >= 2) {
                    std::unique_ptr<TqsExpression> e2(DoExpression(exprs[1], P));
                    bounds.push_back(v1);
                    bounds.push_back(e2->GetValue().AsInteger());
                } else {
                    bounds.push_back(0);
                    bounds.push_back(v1 - 1);
                }
            }
            if (bounds.empty()) bounds = {0, 0};
            if (bounds.size() > 6) bounds.resize(6);
            // A hostile declaration must not allocate without bound.
            int64_t cells = 1;
            for (size_t k = 0; k + 1 < bounds.size(); k += 2) {
                int64_t n = static_cast<int64_t>(bounds[k + 1]) - bounds[k] + 1;
                cells *= n < 0 ? 0 : n;
                if (cells > 16 * 1024 * 1024) Error("Array too large");
            }
            init = rtl::VarArrayCreate(bounds, rtl::varVariant);
            auto* helper = new TqsArrayHelper("", static_cast<int>(bounds.size() / 2), t, tn);
            P->Add("", helper);
            ref = helper;
            t = fvtArray;
        }
        TqsCustomVariable* item;
        if (routine) {
            item = new TqsParamItem(name, t, tn, false, varParam);
        } else if (t == fvtChar || t == fvtString) {
            item = new TqsStringVariable(name, t, tn);
        } else {
            item = new TqsVariable(name, t, tn);
        }
        item->SetSourcePos(c->Prop("pos"));
        item->SetSourceUnit(FUnitName);
        item->SetRefItem(ref);
        if (auto* sv = dynamic_cast<TqsStringVariable*>(item)) sv->SetValue(init);
        else *item->PValue() = init;
        if (FProgram) item->OnGetVarValue = FProgram->OnGetVarValue;
        P->Add(name, item);
        if (routine) {
            routine->Add(item);
            if (initEl) {
                int ei = initEl->Find("expr");
                if (ei >= 0) {
                    std::unique_ptr<TqsExpression> e(DoExpression(initEl->Items(ei), P));
                    if (!AssignmentCompatible(item, e.get(), P))
                        Error(SIncompatibleTypes + ": '" + item->GetFullTypeName() + "', '" + e->GetFullTypeName() + "'");
                    auto* prm = static_cast<TqsParamItem*>(item);
                    prm->SetDefValue(e->GetValue());
                    prm->SetIsOptional(true);
                    *prm->PValue() = prm->DefValue();
                }
            }
        } else if (initEl && L) {
            int ei = initEl->Find("expr");
            if (ei >= 0) {
                // An initialiser is an assignment where the declaration stands.
                TqsXMLItem stmt;
                stmt.SetName("assignstmt");
                stmt.SetText(E->Text());
                TqsXMLItem* d = stmt.Add();
                d->SetName("dsgn");
                d->SetProp("pos", c->Prop("pos"));
                TqsXMLItem* node = d->Add();
                node->SetName("node");
                node->SetProp("text", name);
                node->SetProp("pos", c->Prop("pos"));
                stmt.Add()->Assign(initEl->Items(ei));
                DoAssign(&stmt, P, L);
            }
        }
    }
}

void TqsILParser::DoConst(TqsXMLItem* E, TqsScript* P)
{
    SetPos(E);
    TqsXMLItem* n = Child(E, 0);
    TqsXMLItem* x = Child(E, 1);
    if (!n || !x) return;
    std::string name = n->Prop("text");
    CheckRedeclared(name, P);
    std::unique_ptr<TqsExpression> e(DoExpression(x, P));
    auto* v = new TqsVariable(name, e->Typ(), e->TypeName());
    *v->PValue() = e->GetValue();
    v->SetIsReadOnly(true);
    v->SetSourcePos(n->Prop("pos"));
    v->SetSourceUnit(FUnitName);
    P->Add(name, v);
}

void TqsILParser::DoStatements(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    for (TqsXMLItem* c : E->Children()) DoStatement(c, P, L);
}

void TqsILParser::DoAssign(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    SetPos(E);
    TqsXMLItem* d0 = Child(E, 0);
    if (!d0) return;
    std::unique_ptr<TqsDesignator> d(DoDesignator(d0, P, emNone));
    std::string op = " ";
    TqsXMLItem* x = Child(E, 1);
    if (Named(x, "modificator")) {
        op = x->Prop("text");
        x = Child(E, 2);
    }
    if (!x) return;
    std::unique_ptr<TqsExpression> e(DoExpression(x, P));
    if (d->IsReadOnly()) {
        SetPos(d0);
        Error(SLeftCantAssigned);
    }
    if (!AssignmentCompatible(d.get(), e.get(), P)) {
        SetPos(x);
        Error(SIncompatibleTypes + ": '" + d->GetFullTypeName() + "', '" + e->GetFullTypeName() + "'");
    }
    std::vector<std::pair<TqsCustomVariable*, bool>> tails;
    if (op == " ") {
        op = std::string(1, e->Optimize(d.get()));
        if (op == " " && e->AppendChain(d.get(), tails)) op = "+";
    }
    TqsAssignmentStmt* s;
    switch (op.empty() ? ' ' : op[0]) {
    case '*': s = NewStmt<TqsAssignMulStmt>(E, P); break;
    case '+': s = NewStmt<TqsAssignPlusStmt>(E, P); break;
    case '-': s = NewStmt<TqsAssignMinusStmt>(E, P); break;
    case '/': s = NewStmt<TqsAssignDivStmt>(E, P); break;
    default: s = NewStmt<TqsAssignmentStmt>(E, P); break;
    }
    if (auto* plus = dynamic_cast<TqsAssignPlusStmt*>(s)) plus->FTails = std::move(tails);
    s->FDesignator = d.release();
    s->FExpression = e.release();
    s->Optimize();
    L->Add(s);
}

void TqsILParser::DoFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L, bool vb)
{
    SetPos(E);
    TqsXMLItem* v = Child(E, 0);
    if (!v) return;
    SetPos(v);
    TqsCustomVariable* var = FindVar(v->Prop("text"), P);
    if (!dynamic_cast<TqsVariable*>(var) || dynamic_cast<TqsStringVariable*>(var) || var->IsReadOnly() ||
        !(var->Typ() == fvtInt || var->Typ() == fvtFloat || var->Typ() == fvtVariant))
        Error(SForError);
    auto check = [&](TqsExpression* e) {
        if (!AssignmentCompatible(var, e, P))
            Error(SIncompatibleTypes + ": '" + var->GetFullTypeName() + "', '" + e->GetFullTypeName() + "'");
    };
    if (!vb) {
        std::unique_ptr<TqsForStmt> s(NewStmt<TqsForStmt>(E, P));
        s->FVariable = var;
        TqsXMLItem* b = Child(E, 1);
        if (!b) return;
        s->FBeginValue = DoExpression(b, P);
        check(static_cast<TqsExpression*>(s->FBeginValue));
        int i = 2;
        if (Named(Child(E, 2), "downto")) {
            s->FDown = true;
            i = 3;
        }
        TqsXMLItem* en = Child(E, i);
        if (!en) return;
        s->FEndValue = DoExpression(en, P);
        check(static_cast<TqsExpression*>(s->FEndValue));
        TqsStatement* raw = s.get();
        L->Add(s.release());
        if (TqsXMLItem* body = Child(E, i + 1)) DoStatement(body, P, raw);
    } else {
        std::unique_ptr<TqsVbForStmt> s(NewStmt<TqsVbForStmt>(E, P));
        s->FVariable = var;
        TqsXMLItem* b = Child(E, 1);
        TqsXMLItem* en = Child(E, 2);
        if (!b || !en) return;
        s->FBeginValue = DoExpression(b, P);
        check(static_cast<TqsExpression*>(s->FBeginValue));
        s->FEndValue = DoExpression(en, P);
        check(static_cast<TqsExpression*>(s->FEndValue));
        int next = 3;
        if (E->Count() >= 4 && Named(Child(E, 3), "expr")) {
            s->FStep = DoExpression(Child(E, 3), P);
            check(static_cast<TqsExpression*>(s->FStep));
            next = 4;
        }
        TqsStatement* raw = s.get();
        L->Add(s.release());
        if (TqsXMLItem* body = Child(E, next)) DoStatement(body, P, raw);
    }
}

void TqsILParser::DoWith(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    SetPos(E);
    size_t pushed = 0;
    try {
        for (TqsXMLItem* c : E->Children()) {
            if (!Named(c, "dsgn")) {
                DoStatement(c, P, L);
                continue;
            }
            std::unique_ptr<TqsDesignator> d(DoDesignator(c, P, emNone));
            if (d->Typ() != fvtClass && d->Typ() != fvtVariant) {
                SetPos(c);
                Error(SClassRequired);
            }
            std::string name;
            for (int i = 0;; ++i) {
                name = "_WithList_" + std::to_string(i);
                bool used = P->FindLocal(name) != nullptr;
                for (auto& w : FWithList)
                    if (rtl::AnsiSameText(w.Name, name)) used = true;
                if (!used) break;
            }
            auto* var = new TqsVariable(name, d->Typ(), d->TypeName());
            P->Add(name, var);
            auto* s = NewStmt<TqsWithStmt>(E, P);
            s->FVariable = var;
            s->FDesignator = d.release();
            L->Add(s);
            FWithList.push_back({name, s});
            ++pushed;
        }
    } catch (...) {
        FWithList.resize(FWithList.size() - pushed);
        throw;
    }
    FWithList.resize(FWithList.size() - pushed);
}

void TqsILParser::DoUses(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    std::string saved = FUnitName;
    FUnitName = E->Prop("unit");
    std::string il;
    if (FProgram && FProgram->OnGetILUnit) FProgram->OnGetILUnit(FProgram, FUnitName, il);
    if (!il.empty()) {
        TqsXMLDocument doc;
        doc.LoadFromString(il);
        DoBlock(doc.Root(), P);
    } else {
        for (TqsXMLItem* c : E->Children()) DoBlock(c, P);
    }
    FUnitName = saved;
}

void TqsILParser::DoRoutineBody(TqsXMLItem* E, TqsScript* P, TqsStatement*)
{
    std::string name;
    if (Named(E, "procedure")) {
        if (TqsXMLItem* c = Child(E, 0)) name = c->Prop("text");
    } else {
        int ni = E->Find("name");
        if (ni >= 0) name = E->Items(ni)->Prop("text");
    }
    auto* proc = dynamic_cast<TqsProcVariable*>(P->FindLocal(name));
    if (!proc) return;
    DoBlock(E, proc->Prog());
}

void TqsILParser::DoStatement(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    std::string n = Lower(E->Name());
    SetPos(E);
    if (n == "assignstmt") {
        DoAssign(E, P, L);
    } else if (n == "callstmt") {
        TqsXMLItem* d0 = Child(E, 0);
        if (!d0) return;
        std::unique_ptr<TqsCallStmt> s(NewStmt<TqsCallStmt>(E, P));
        s->FDesignator = DoDesignator(d0, P, emNone);
        if (TqsXMLItem* m = Child(E, 1)) s->FModificator = m->Prop("text");
        // Only an increment or decrement writes to its designator.
        if (!s->FModificator.empty() && s->FDesignator->IsReadOnly()) {
            SetPos(d0);
            Error(SLeftCantAssigned);
        }
        L->Add(s.release());
    } else if (n == "ifstmt") {
        std::unique_ptr<TqsIfStmt> s(NewStmt<TqsIfStmt>(E, P));
        TqsXMLItem* c = Child(E, 0);
        if (!c) return;
        s->FCondition = DoExpression(c, P);
        TqsIfStmt* raw = s.get();
        L->Add(s.release());
        for (TqsXMLItem* x : E->Children()) {
            if (Named(x, "thenstmt")) DoStatements(x, P, raw);
            else if (Named(x, "elsestmt")) DoStatements(x, P, raw->FElseStmt);
        }
    } else if (n == "casestmt") {
        std::unique_ptr<TqsCaseStmt> s(NewStmt<TqsCaseStmt>(E, P));
        TqsXMLItem* c = Child(E, 0);
        if (!c) return;
        s->FCondition = DoExpression(c, P);
        TqsCaseStmt* raw = s.get();
        L->Add(s.release());
        for (int i = 1; i < E->Count(); ++i) {
            TqsXMLItem* x = E->Items(i);
            if (Named(x, "caseselector")) {
                if (x->Count() != 2) continue;
                auto* sel = NewStmt<TqsCaseSelector>(x, P);
                raw->Add(sel);
                sel->FSetExpression = DoSet(x->Items(0), P);
                DoStatement(x->Items(1), P, sel);
            } else if (i == E->Count() - 1) {
                DoStatement(x, P, raw->FElseStmt);
            }
        }
    } else if (n == "forstmt") {
        DoFor(E, P, L, false);
    } else if (n == "vbforstmt") {
        DoFor(E, P, L, true);
    } else if (n == "cppforstmt") {
        std::unique_ptr<TqsCppForStmt> s(NewStmt<TqsCppForStmt>(E, P));
        TqsCppForStmt* raw = s.get();
        L->Add(s.release());
        if (TqsXMLItem* c0 = Child(E, 0)) DoStatement(c0, P, raw->FFirstStmt);
        if (TqsXMLItem* c1 = Child(E, 1)) raw->FExpression = DoExpression(c1, P);
        else Error(SIncompatibleTypes);
        if (TqsXMLItem* c2 = Child(E, 2)) DoStatement(c2, P, raw->FSecondStmt);
        if (TqsXMLItem* c3 = Child(E, 3)) DoStatement(c3, P, raw);
    } else if (n == "whilestmt") {
        std::unique_ptr<TqsWhileStmt> s(NewStmt<TqsWhileStmt>(E, P));
        TqsXMLItem* c = Child(E, 0);
        if (!c) return;
        s->FCondition = DoExpression(c, P);
        TqsWhileStmt* raw = s.get();
        L->Add(s.release());
        if (TqsXMLItem* b = Child(E, 1)) DoStatement(b, P, raw);
    } else if (n == "repeatstmt") {
        std::unique_ptr<TqsRepeatStmt> s(NewStmt<TqsRepeatStmt>(E, P));
        int last = E->Count() - 1;
        if (last < 0) return;
        int condIdx = last;
        if (Named(E->Items(last), "inverse")) {
            s->FInverseCondition = true;
            condIdx = last - 1;
        }
        if (condIdx < 0) return;
        s->FCondition = DoExpression(E->Items(condIdx), P);
        TqsRepeatStmt* raw = s.get();
        L->Add(s.release());
        for (int i = 0; i < condIdx; ++i) DoStatement(E->Items(i), P, raw);
    } else if (n == "trystmt") {
        std::unique_ptr<TqsTryStmt> s(NewStmt<TqsTryStmt>(E, P));
        TqsTryStmt* raw = s.get();
        L->Add(s.release());
        for (TqsXMLItem* x : E->Children()) {
            if (Named(x, "exceptstmt")) {
                raw->FIsExcept = true;
                DoStatements(x, P, raw->FExceptStmt);
            } else if (Named(x, "finallystmt")) {
                DoStatements(x, P, raw->FExceptStmt);
            } else {
                DoStatement(x, P, raw);
            }
        }
    } else if (n == "break") {
        L->Add(NewStmt<TqsBreakStmt>(E, P));
    } else if (n == "continue") {
        L->Add(NewStmt<TqsContinueStmt>(E, P));
    } else if (n == "exit") {
        L->Add(NewStmt<TqsExitStmt>(E, P));
    } else if (n == "return") {
        if (TqsXMLItem* x = Child(E, 0)) {
            TqsXMLItem stmt;
            stmt.SetName("assignstmt");
            stmt.SetText(E->Text());
            TqsXMLItem* d = stmt.Add();
            d->SetName("dsgn");
            d->SetProp("pos", x->Prop("pos"));
            TqsXMLItem* node = d->Add();
            node->SetName("node");
            node->SetProp("text", "Result");
            node->SetProp("pos", x->Prop("pos"));
            stmt.Add()->Assign(x);
            DoAssign(&stmt, P, L);
        }
        L->Add(NewStmt<TqsExitStmt>(E, P));
    } else if (n == "with") {
        DoWith(E, P, L);
    } else if (n == "delete") {
        TqsXMLItem* d0 = Child(E, 0);
        if (!d0) return;
        std::unique_ptr<TqsCallStmt> s(NewStmt<TqsCallStmt>(E, P));
        s->FDesignator = DoDesignator(d0, P, emFree);
        L->Add(s.release());
    } else if (n == "compoundstmt") {
        DoStatements(E, P, L);
    } else if (n == "uses") {
        DoUses(E, P, L);
    } else if (n == "var") {
        DoVar(E, P, L, nullptr);
    } else if (n == "const") {
        DoConst(E, P);
    } else if (n == "procedure" || n == "function") {
        DoRoutineBody(E, P, L);
    }
}

// --- expressions ---------------------------------------------------------------------------

TqsExpression* TqsILParser::DoExpression(TqsXMLItem* E, TqsScript* P)
{
    SetPos(E);
    auto e = std::make_unique<TqsExpression>(P);
    e->SetSourcePos(E->Prop("pos"));
    AddExprItems(e.get(), E, P);
    // The source text between the element's two positions.
    std::string p0 = E->Prop("pos"), p1 = E->Prop("pos1");
    if (!p0.empty() && !p1.empty() && FParser.Size() > 0) {
        TqsPoint a = PositionTextToPoint(p0), b = PositionTextToPoint(p1);
        int s = FParser.GetPlainPosition(a.X, a.Y), t = FParser.GetPlainPosition(b.X, b.Y);
        if (s >= 1 && t >= s && t - 1 <= FParser.Size())
            e->SetSource(std::string(FParser.Text().substr(static_cast<size_t>(s - 1), static_cast<size_t>(t - s))));
    }
    std::string err = e->Finalize();
    if (!err.empty()) {
        FErrorPos = err;
        Error(SIncompatibleTypes);
    }
    e->SetSourcePos(E->Prop("pos"));
    return e.release();
}

void TqsILParser::AddExprItems(TqsExpression* Expr, TqsXMLItem* E, TqsScript* P)
{
    const int n = E->Count();
    for (int i = 0; i < n; ++i) {
        TqsXMLItem* c = E->Items(i);
        SetPos(c);
        Expr->SetCurrentPos(c->Prop("pos"));
        std::string name = Lower(c->Name());
        if (name == "op") {
            std::string t = Lower(c->Prop("text"));
            if (i == n - 1 && t != ")") continue;
            Expr->AddOperator(t);
        } else if (name == "number" || name == "string") {
            Expr->AddConst(LiteralToVariant(c->Prop("text")));
        } else if (name == "dsgn") {
            Expr->AddDesignator(DoDesignator(c, P, emNone));
        } else if (name == "set") {
            Expr->AddSet(DoSet(c, P));
        } else if (name == "new") {
            if (TqsXMLItem* d = Child(c, 0)) Expr->AddDesignator(DoDesignator(d, P, emCreate));
        } else if (name == "expr") {
            AddExprItems(Expr, c, P);
        }
    }
}

TqsSetExpression* TqsILParser::DoSet(TqsXMLItem* E, TqsScript* P)
{
    auto s = std::make_unique<TqsSetExpression>();
    for (TqsXMLItem* c : E->Children()) {
        if (Named(c, "expr")) s->Add(DoExpression(c, P));
        else if (Named(c, "range")) s->Add(nullptr);
    }
    return s.release();
}

// --- designators -----------------------------------------------------------------------------

bool TqsILParser::WithLookup(TqsDesignator* D, TqsXMLItem* Element, const std::string& T, TqsScript* P,
                             const std::string& pos, bool& done)
{
    done = false;
    for (size_t k = FWithList.size(); k-- > 0;) {
        TqsCustomVariable* wv = P->FindLocal(FWithList[k].Name);
        if (!wv) continue;
        if (wv->Typ() == fvtVariant) {
            if (P->Find(T)) return false;
            auto* step = new TqsDesignatorItem();
            step->FRef = wv;
            step->FSourcePos = pos;
            D->Add(step);
            auto* copy = new TqsXMLItem();
            copy->Assign(Element);
            auto* first = new TqsXMLItem();
            first->SetName("node");
            first->SetProp("text", FWithList[k].Name);
            first->SetProp("pos", pos);
            copy->InsertItem(0, first);
            D->Finalize();
            D->SetTyp(fvtVariant);
            D->SetTypeName("");
            D->SetIsReadOnly(false);
            D->SetLateBindingXmlSource(copy);
            done = true;
            return true;
        }
        auto* cls = P->FindClass(wv->TypeName());
        if (cls && cls->Find(T)) {
            auto* s1 = new TqsDesignatorItem();
            s1->FRef = wv;
            s1->FSourcePos = pos;
            D->Add(s1);
            auto* s2 = new TqsDesignatorItem();
            s2->FRef = cls->Find(T);
            s2->FSourcePos = pos;
            D->Add(s2);
            return true;
        }
    }
    return false;
}

namespace {

Variant CompileTimeValue(TqsCustomVariable* R)
{
    // Only plain variables have a value before the script runs.
    if (dynamic_cast<TqsVariable*>(R) || dynamic_cast<TqsParamItem*>(R)) return *R->PValue();
    if (auto* sv = dynamic_cast<TqsStringVariable*>(R)) return Variant(sv->Str());
    return Variant::Null();
}

bool IsNullOrZero(const Variant& v)
{
    if (v.IsNull() || v.IsEmpty()) return true;
    if (v.IsInteger()) return v.AsInt64() == 0;
    return false;
}

} // namespace

TqsDesignator* TqsILParser::DoDesignator(TqsXMLItem* Element, TqsScript* P, TqsEmitOp EmitOp)
{
    auto d = std::make_unique<TqsDesignator>(P);
    std::vector<TqsDesignatorItem*> opened;  // indexed-property steps whose "[" has been seen
    const auto& ch = Element->Children();
    bool lateBound = false;
    auto lastStep = [&]() { return d->Count() > 0 ? d->Step(d->Count() - 1) : nullptr; };
    auto append = [&](TqsCustomVariable* ref, const std::string& pos) {
        auto* s = new TqsDesignatorItem();
        s->FRef = ref;
        s->FSourcePos = pos;
        d->Add(s);
        return s;
    };
    auto makeLate = [&]() {
        auto* copy = new TqsXMLItem();
        copy->Assign(Element);
        d->Finalize();
        d->SetLateBindingXmlSource(copy);
        lateBound = true;
    };

    for (size_t i = 0; i < ch.size() && !lateBound; ++i) {
        TqsXMLItem* c = ch[i];
        SetPos(c);
        std::string cname = Lower(c->Name());
        std::string pos = c->Prop("pos");
        if (cname == "addr") {
            if (ch.size() != 2) Error(SVarRequired);
            auto* sv = new TqsStringVariable("", fvtString, "");
            sv->SetValue(Variant(ch[1]->Prop("text")));
            P->Add("", sv);
            append(sv, pos);
            break;
        }
        if (cname == "expr") {
            TqsDesignatorItem* s = lastStep();
            if (!s) continue;
            s->Add(DoExpression(c, P));
            continue;
        }
        if (cname != "node") continue;
        std::string T = c->Prop("text");
        if (d->Count() == 0) {
            bool done = false;
            if (WithLookup(d.get(), Element, T, P, pos, done)) {
                if (done) return d.release();
                continue;
            }
            TqsCustomVariable* ref = FindVar(T, P);
            append(ref, pos);
            if (EmitOp == emCreate) {
                auto* cls = dynamic_cast<TqsClassVariable*>(ref);
                if (!cls) Error(SClassRequired);
                TqsCustomHelper* create = cls->Find("Create");
                if (!create) Error(SIdUndeclared + Quoted("Create"));
                append(create, pos);
            }
            continue;
        }
        TqsDesignatorItem* prevStep = lastStep();
        TqsCustomVariable* R = prevStep->FRef;
        auto* rm = dynamic_cast<TqsMethodHelper*>(R);
        if (rm && rm->IndexMethod() && std::find(opened.begin(), opened.end(), prevStep) == opened.end()) {
            if (T != "[") Error(SIndexRequired);
            opened.push_back(prevStep);
            continue;
        }
        TqsVarType rt = R->Typ();
        std::string rtn = R->TypeName();
        if (rt == fvtVariant) {
            Variant V = CompileTimeValue(R);
            if (V.IsNull() || V.IsEmpty()) {
                makeLate();
                break;
            }
            if (V.IsDispatch()) {
                // Automation steps: every further member becomes a late-bound call.
                for (size_t j = i; j < ch.size(); ++j) {
                    TqsXMLItem* x = ch[j];
                    SetPos(x);
                    if (Named(x, "node")) {
                        if (x->Prop("text") == "[") continue;
                        TqsCustomHelper* h = NewOLEHelper(x->Prop("text"));
                        P->Add("", h);
                        append(h, x->Prop("pos"));
                    } else if (Named(x, "expr")) {
                        TqsDesignatorItem* s = lastStep();
                        s->Add(DoExpression(x, P));
                        s->FRef->Add(new TqsParamItem("", fvtVariant, "", false, false));
                    }
                }
                d->Finalize();
                return d.release();
            }
            if (V.IsString()) {
                rt = fvtString;
            } else if (V.IsArray()) {
                if (T != "[") Error(SIndexRequired);
                append(FindVar("__ArrayHelper", P), pos);
                continue;
            } else {
                rtl::TObject* obj = nullptr;
                try {
                    obj = V.AsObject();
                } catch (const rtl::Exception&) {
                }
                if (!obj) {
                    makeLate();
                    break;
                }
                rt = fvtClass;
                rtn = obj->ClassName();
            }
        }
        if (rt == fvtString || rt == fvtChar) {
            if (T != "[") Error(SStringError);
            append(FindVar("__StringHelper", P), pos);
            continue;
        }
        if (rt == fvtClass) {
            TqsClassVariable* cls = P->FindClass(rtn);
            if (!cls) Error(SUnknownType + Quoted(rtn));
            if (T == "[") {
                if (!cls->DefProperty()) Error(rtl::Format(SClassError, cls->Name()));
                TqsDesignatorItem* s = append(cls->DefProperty(), pos);
                s->FFlag = true;
                opened.push_back(s);
                continue;
            }
            if (TqsCustomHelper* m = cls->Find(T)) {
                append(m, pos);
                continue;
            }
            Variant rv = CompileTimeValue(R);
            bool running = FProgram && FProgram->IsRunning();
            if (IsNullOrZero(rv) && !running && P->UseClassLateBinding()) {
                while (d->Count() > 1) {
                    TqsItemList* last = d->Item(d->Count() - 1);
                    d->Remove(last);
                    delete last;
                }
                makeLate();
                d->SetTyp(fvtVariant);
                d->SetTypeName("");
                d->SetIsReadOnly(false);
                break;
            }
            rtl::TObject* obj = nullptr;
            try {
                obj = rv.AsObject();
            } catch (const rtl::Exception&) {
            }
            if (auto* comp = dynamic_cast<rtl::TComponent*>(obj))
                if (rtl::TComponent* owned = comp->FindComponent(T)) {
                    auto* v = new TqsVariable("", fvtClass, owned->ClassName());
                    *v->PValue() = Variant::FromObject(owned);
                    P->Add("", v);
                    append(v, pos);
                    continue;
                }
            Error(SIdUndeclared + Quoted(T));
        }
        if (rt != fvtArray || !R->RefItem()) Error(SArrayRequired);
        append(R->RefItem(), pos);
    }

    if (lateBound) {
        if (d->Typ() != fvtVariant || d->Count() > 1) {
            d->SetTyp(fvtVariant);
            d->SetTypeName("");
        }
        d->SetIsReadOnly(false);
        return d.release();
    }

    if (EmitOp == emFree) {
        TqsDesignatorItem* s = lastStep();
        if (!s || !(s->FRef->Typ() == fvtClass || s->FRef->Typ() == fvtVariant)) Error(SClassRequired);
        TqsClassVariable* obj = P->FindClass("TObject");
        TqsCustomHelper* fr = obj ? obj->Find("Free") : nullptr;
        if (!fr) Error(SIdUndeclared + Quoted("Free"));
        append(fr, s->FSourcePos);
    }
    d->Finalize();
    MatchArguments(d.get(), P);
    std::unique_ptr<TqsDesignator> fast;
    switch (d->Kind()) {
    case dkVariable: fast = std::make_unique<TqsVariableDesignator>(P); break;
    case dkStringArray: fast = std::make_unique<TqsStringDesignator>(P); break;
    case dkArray: fast = std::make_unique<TqsArrayDesignator>(P); break;
    default: break;
    }
    if (fast) {
        fast->Borrow(d.get());
        return fast.release();
    }
    return d.release();
}

void TqsILParser::MatchArguments(TqsDesignator* D, TqsScript* P)
{
    for (int i = 0; i < D->Count(); ++i) {
        TqsDesignatorItem* s = D->Step(i);
        TqsCustomVariable* ref = s->FRef;
        if (!ref || dynamic_cast<TqsDesignator*>(ref)) continue;
        int nargs = s->Count();
        if (nargs < ref->GetNumberOfRequiredParams()) {
            FErrorPos = s->FSourcePos.empty() ? FErrorPos : s->FSourcePos;
            Error(SNotEnoughParams);
        }
        if (nargs > ref->Count()) {
            FErrorPos = s->FSourcePos.empty() ? FErrorPos : s->FSourcePos;
            Error(STooManyParams);
        }
        for (int j = nargs; j < ref->Count(); ++j) {
            auto* e = new TqsExpression(P);
            e->AddConst(ref->Params(j)->DefValue());
            e->Finalize();
            s->Add(e);
        }
        for (int j = 0; j < nargs; ++j) {
            auto* arg = static_cast<TqsCustomVariable*>(s->Item(j));
            TqsParamItem* prm = ref->Params(j);
            if (!AssignmentCompatible(prm, arg, P)) {
                if (!arg->SourcePos().empty()) FErrorPos = arg->SourcePos();
                Error(SIncompatibleTypes + ": '" + prm->GetFullTypeName() + "', '" + arg->GetFullTypeName() + "'");
            }
        }
    }
}

} // namespace qs
