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

// Every conversion error is raised with the message; FErrorPos says where.
void TqsILParser::Error(const std::string& Msg) { throw rtl::Exception(Msg); }

// The element being converted, for the position of an error.
void TqsILParser::SetPos(TqsXMLItem* E)
{
    std::string p = E->Prop("pos");
    if (!p.empty()) FErrorPos = p;
}

// A statement at the element's position; its line is marked as holding code.
template <typename S>
S* TqsILParser::NewStmt(TqsXMLItem* E, TqsScript* P)
{
    std::string pos = E->Prop("pos");
    auto* s = new S(P, FUnitName, pos);
    if (FProgram) FProgram->AddCodeLine(FUnitName, pos);
    return s;
}

// --- blocks and declarations ------------------------------------------------------------------

// Converts the whole intermediate code into the program; an error stops
// the conversion and is stored in the program with its position and unit.
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

// A block: its routines are declared first (so that calls may precede the
// bodies), then its elements are converted in order.
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

// Declares the routines of a block and of the compound statements in it.
void TqsILParser::DeclareRoutines(TqsXMLItem* B, TqsScript* P)
{
    for (TqsXMLItem* c : B->Children()) {
        std::string n = Lower(c->Name());
        if (n == "procedure" || n == "function") DeclareRoutine(c, P);
        else if (n == "compoundstmt") DeclareRoutines(c, P);
    }
}

// A name may be declared once in a program (its parents' names may be hidden).
void TqsILParser::CheckRedeclared(const std::string& Name, TqsScript* P)
{
    if (P->FindLocal(Name)) Error(SIdRedeclared + Quoted(Name));
}

// A declared type name through the aliases of the block, of the
// intermediate code and of the grammar, to its kind; a class must be known.
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

// A name in the program chain; an undeclared one is an error, or, where the
// language does not ask for declarations, a new Variant variable.
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

// A procedure or function item with its own program and its parameters
// (a "varparams" marker makes the next group by-reference); a function
// whose type is "void" returns nothing.
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

// A "var" element declares one or more names. The type stands before or
// after the names; when after, the array bounds and initialiser that
// follow apply to every name, otherwise each name has its own.
void TqsILParser::DoVar(TqsXMLItem* E, TqsScript* P, TqsStatement* L, TqsCustomVariable* routine)
{
    SetPos(E);
    const auto& ch = E->Children();
    int firstType = -1, firstIdent = -1;
    for (int i = 0; i < static_cast<int>(ch.size()); ++i) {
        if (firstType < 0 && Named(ch[static_cast<size_t>(i)], "type")) firstType = i;
        if (firstIdent < 0 && Named(ch[static_cast<size_t>(i)], "ident")) firstIdent = i;
    }
    const std::string typeName = firstType >= 0 ? ch[static_cast<size_t>(firstType)]->Prop("text") : "Variant";
    const bool namesFirst = firstType > firstIdent;
    for (int i = 0; i < static_cast<int>(ch.size()); ++i)
        if (Named(ch[static_cast<size_t>(i)], "ident")) DeclareVar(E, i, typeName, namesFirst, P, L, routine);
}

namespace {

// The "array" and "init" elements that belong to the name at index i.
void VarExtras(const std::vector<TqsXMLItem*>& ch, int i, bool namesFirst, TqsXMLItem*& arrayEl, TqsXMLItem*& initEl)
{
    arrayEl = initEl = nullptr;
    auto take = [&](TqsXMLItem* x) {
        if (!arrayEl && Named(x, "array")) arrayEl = x;
        if (!initEl && Named(x, "init")) initEl = x;
    };
    if (namesFirst) {
        for (TqsXMLItem* x : ch) take(x);
        return;
    }
    for (size_t j = static_cast<size_t>(i) + 1; j < ch.size() && !Named(ch[j], "ident"); ++j) take(ch[j]);
}

} // namespace

// One declared name: a variable of the program, or a parameter of the
// routine being declared; an array gets its indexer, a parameter's
// initialiser is its default, a variable's initialiser an assignment.
void TqsILParser::DeclareVar(TqsXMLItem* E, int i, const std::string& typeName, bool namesFirst, TqsScript* P,
                             TqsStatement* L, TqsCustomVariable* routine)
{
    const auto& ch = E->Children();
    TqsXMLItem* c = ch[static_cast<size_t>(i)];
    SetPos(c);
    const std::string name = c->Prop("text");
    const bool varParam = i > 0 && Named(ch[static_cast<size_t>(i - 1)], "varparam");
    TqsXMLItem* arrayEl;
    TqsXMLItem* initEl;
    VarExtras(ch, i, namesFirst, arrayEl, initEl);
    CheckRedeclared(name, P);
    TqsVarType t;
    const std::string tn = ResolveTypeName(typeName, t, P);
    Variant init = InitialValue(t);
    TqsCustomVariable* ref = nullptr;
    if (arrayEl) {
        const std::vector<int32_t> bounds = ArrayBounds(arrayEl, P);
        init = rtl::VarArrayCreate(bounds, rtl::varVariant);
        auto* helper = new TqsArrayHelper("", static_cast<int>(bounds.size() / 2), t, tn);
        P->Add("", helper);
        ref = helper;
        t = fvtArray;
    }
    TqsCustomVariable* item;
    if (routine) item = new TqsParamItem(name, t, tn, false, varParam);
    else if (t == fvtChar || t == fvtString) item = new TqsStringVariable(name, t, tn);
    else item = new TqsVariable(name, t, tn);
    item->SetSourcePos(c->Prop("pos"));
    item->SetSourceUnit(FUnitName);
    item->SetRefItem(ref);
    if (auto* sv = dynamic_cast<TqsStringVariable*>(item)) sv->SetValue(init);
    else *item->PValue() = init;
    if (FProgram) item->OnGetVarValue = FProgram->OnGetVarValue;
    P->Add(name, item);
    const int ei = initEl ? initEl->Find("expr") : -1;
    if (routine) {
        routine->Add(item);
        if (ei >= 0) SetParamDefault(static_cast<TqsParamItem*>(item), initEl->Items(ei), P);
    } else if (ei >= 0 && L) {
        // An initialiser is an assignment where the declaration stands.
        AddAssignment(E->Text(), name, c->Prop("pos"), initEl->Items(ei), P, L);
    }
}

// The bounds of each dimension, low and high in turn: "[n]" is 0 to n - 1,
// "[a..b]" a to b; at most three dimensions, and no array of more than 16 M
// cells (a hostile declaration must not allocate without bound).
std::vector<int32_t> TqsILParser::ArrayBounds(TqsXMLItem* arrayEl, TqsScript* P)
{
    std::vector<int32_t> bounds;
    for (TqsXMLItem* dim : arrayEl->Children()) {
        if (!Named(dim, "dim")) continue;
        std::vector<TqsXMLItem*> exprs;
        for (TqsXMLItem* x : dim->Children())
            if (Named(x, "expr")) exprs.push_back(x);
        if (exprs.empty()) continue;
        std::unique_ptr<TqsExpression> e1(DoExpression(exprs[0], P));
        const int32_t v1 = e1->GetValue().AsInteger();
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
    int64_t cells = 1;
    for (size_t k = 0; k + 1 < bounds.size(); k += 2) {
        const int64_t n = static_cast<int64_t>(bounds[k + 1]) - bounds[k] + 1;
        cells *= n < 0 ? 0 : n;
        if (cells > 16 * 1024 * 1024) Error("Array too large");
    }
    return bounds;
}

// A parameter's initialiser makes it optional with that value as default.
void TqsILParser::SetParamDefault(TqsParamItem* prm, TqsXMLItem* X, TqsScript* P)
{
    std::unique_ptr<TqsExpression> e(DoExpression(X, P));
    if (!AssignmentCompatible(prm, e.get(), P))
        Error(SIncompatibleTypes + ": '" + prm->GetFullTypeName() + "', '" + e->GetFullTypeName() + "'");
    prm->SetDefValue(e->GetValue());
    prm->SetIsOptional(true);
    *prm->PValue() = prm->DefValue();
}

// Builds the intermediate code of "target := X" at pos and converts it as an
// assignment statement (variable initialisers, a return with a value).
void TqsILParser::AddAssignment(const std::string& text, const std::string& target, const std::string& pos,
                                TqsXMLItem* X, TqsScript* P, TqsStatement* L)
{
    TqsXMLItem stmt;
    stmt.SetName("assignstmt");
    stmt.SetText(text);
    TqsXMLItem* d = stmt.Add();
    d->SetName("dsgn");
    d->SetProp("pos", pos);
    TqsXMLItem* node = d->Add();
    node->SetName("node");
    node->SetProp("text", target);
    node->SetProp("pos", pos);
    stmt.Add()->Assign(X);
    DoAssign(&stmt, P, L);
}

// A constant: a read-only variable holding the value of its expression.
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

// The child elements as statements of L.
void TqsILParser::DoStatements(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    for (TqsXMLItem* c : E->Children()) DoStatement(c, P, L);
}

// "assignstmt": designator, an optional operator ("+" for "+=" and the
// like), expression. The target must be writable and the value assignable;
// a plain assignment may become an operator form when the expression starts
// with the target, or a chain of appends.
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

// The control variable of a counting loop: a plain integer, float or
// Variant variable that may be written.
TqsCustomVariable* TqsILParser::ForVariable(TqsXMLItem* v, TqsScript* P)
{
    SetPos(v);
    TqsCustomVariable* var = FindVar(v->Prop("text"), P);
    if (!dynamic_cast<TqsVariable*>(var) || dynamic_cast<TqsStringVariable*>(var) || var->IsReadOnly() ||
        !(var->Typ() == fvtInt || var->Typ() == fvtFloat || var->Typ() == fvtVariant))
        Error(SForError);
    return var;
}

// A loop bound (or step) that must be assignable to the control variable.
TqsExpression* TqsILParser::ForBound(TqsXMLItem* X, TqsCustomVariable* var, TqsScript* P)
{
    TqsExpression* e = DoExpression(X, P);
    if (!AssignmentCompatible(var, e, P)) {
        const std::string msg = SIncompatibleTypes + ": '" + var->GetFullTypeName() + "', '" + e->GetFullTypeName() + "'";
        delete e;
        Error(msg);
    }
    return e;
}

// "forstmt": variable, first value, an optional "downto", last value, body.
void TqsILParser::DoFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    TqsXMLItem* v = Child(E, 0);
    if (!v) return;
    TqsCustomVariable* var = ForVariable(v, P);
    std::unique_ptr<TqsForStmt> s(NewStmt<TqsForStmt>(E, P));
    s->FVariable = var;
    TqsXMLItem* b = Child(E, 1);
    if (!b) return;
    s->FBeginValue = ForBound(b, var, P);
    int i = 2;
    if (Named(Child(E, 2), "downto")) {
        s->FDown = true;
        i = 3;
    }
    TqsXMLItem* en = Child(E, i);
    if (!en) return;
    s->FEndValue = ForBound(en, var, P);
    TqsStatement* raw = s.get();
    L->Add(s.release());
    if (TqsXMLItem* body = Child(E, i + 1)) DoStatement(body, P, raw);
}

// "vbforstmt": variable, first value, last value, an optional step, body.
void TqsILParser::DoVbFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    TqsXMLItem* v = Child(E, 0);
    if (!v) return;
    TqsCustomVariable* var = ForVariable(v, P);
    std::unique_ptr<TqsVbForStmt> s(NewStmt<TqsVbForStmt>(E, P));
    s->FVariable = var;
    TqsXMLItem* b = Child(E, 1);
    TqsXMLItem* en = Child(E, 2);
    if (!b || !en) return;
    s->FBeginValue = ForBound(b, var, P);
    s->FEndValue = ForBound(en, var, P);
    int next = 3;
    if (E->Count() >= 4 && Named(Child(E, 3), "expr")) {
        s->FStep = ForBound(Child(E, 3), var, P);
        next = 4;
    }
    TqsStatement* raw = s.get();
    L->Add(s.release());
    if (TqsXMLItem* body = Child(E, next)) DoStatement(body, P, raw);
}

// "cppforstmt": initial statement, condition (required), step statement,
// body.
void TqsILParser::DoCppFor(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    std::unique_ptr<TqsCppForStmt> s(NewStmt<TqsCppForStmt>(E, P));
    TqsCppForStmt* raw = s.get();
    L->Add(s.release());
    if (TqsXMLItem* c0 = Child(E, 0)) DoStatement(c0, P, raw->FFirstStmt);
    if (TqsXMLItem* c1 = Child(E, 1)) raw->FExpression = DoExpression(c1, P);
    else Error(SIncompatibleTypes);
    if (TqsXMLItem* c2 = Child(E, 2)) DoStatement(c2, P, raw->FSecondStmt);
    if (TqsXMLItem* c3 = Child(E, 3)) DoStatement(c3, P, raw);
}

// "with": each designator (object- or Variant-typed) is kept in a hidden
// variable named "_WithList_" and a number, and its members are found first
// while the statements after it are converted.
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

// "uses": the unit's intermediate code from OnGetILUnit, or the blocks
// included in the element, converted as part of the program.
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

// A routine's body, converted into the routine's own program (declared by
// DeclareRoutines before).
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

// --- statements by kind ------------------------------------------------------------------------

// Each statement element is converted by the step named after its kind;
// elements of no listed kind are left out.
void TqsILParser::DoStatement(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    using TStep = void (TqsILParser::*)(TqsXMLItem*, TqsScript*, TqsStatement*);
    static const std::pair<const char*, TStep> kKinds[] = {
        {"assignstmt", &TqsILParser::DoAssign},   {"callstmt", &TqsILParser::DoCall},
        {"ifstmt", &TqsILParser::DoIf},           {"casestmt", &TqsILParser::DoCase},
        {"forstmt", &TqsILParser::DoFor},         {"vbforstmt", &TqsILParser::DoVbFor},
        {"cppforstmt", &TqsILParser::DoCppFor},   {"whilestmt", &TqsILParser::DoWhile},
        {"repeatstmt", &TqsILParser::DoRepeat},   {"trystmt", &TqsILParser::DoTry},
        {"break", &TqsILParser::DoBreak},         {"continue", &TqsILParser::DoContinue},
        {"exit", &TqsILParser::DoExit},           {"return", &TqsILParser::DoReturn},
        {"with", &TqsILParser::DoWith},           {"delete", &TqsILParser::DoDelete},
        {"compoundstmt", &TqsILParser::DoStatements}, {"uses", &TqsILParser::DoUses},
        {"var", &TqsILParser::DoVarStmt},         {"const", &TqsILParser::DoConstStmt},
        {"procedure", &TqsILParser::DoRoutineBody}, {"function", &TqsILParser::DoRoutineBody},
    };
    const std::string n = Lower(E->Name());
    SetPos(E);
    for (const auto& [kind, step] : kKinds)
        if (n == kind) {
            (this->*step)(E, P, L);
            return;
        }
}

// "callstmt": a designator evaluated for its effect (a routine or method
// call), with an optional increment or decrement, which writes to it.
void TqsILParser::DoCall(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    TqsXMLItem* d0 = Child(E, 0);
    if (!d0) return;
    std::unique_ptr<TqsCallStmt> s(NewStmt<TqsCallStmt>(E, P));
    s->FDesignator = DoDesignator(d0, P, emNone);
    if (TqsXMLItem* m = Child(E, 1)) s->FModificator = m->Prop("text");
    if (!s->FModificator.empty() && s->FDesignator->IsReadOnly()) {
        SetPos(d0);
        Error(SLeftCantAssigned);
    }
    L->Add(s.release());
}

// "ifstmt": condition, then "thenstmt" and "elsestmt" branches.
void TqsILParser::DoIf(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
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
}

// "casestmt": the selector expression, then "caseselector" elements (a set
// of values and a statement each); a last element of another kind is the
// else branch.
void TqsILParser::DoCase(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
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
}

// "whilestmt": condition, body.
void TqsILParser::DoWhile(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    std::unique_ptr<TqsWhileStmt> s(NewStmt<TqsWhileStmt>(E, P));
    TqsXMLItem* c = Child(E, 0);
    if (!c) return;
    s->FCondition = DoExpression(c, P);
    TqsWhileStmt* raw = s.get();
    L->Add(s.release());
    if (TqsXMLItem* b = Child(E, 1)) DoStatement(b, P, raw);
}

// "repeatstmt": the body's statements, the condition last, followed by
// "inverse" when the loop runs while (not until) it holds.
void TqsILParser::DoRepeat(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    std::unique_ptr<TqsRepeatStmt> s(NewStmt<TqsRepeatStmt>(E, P));
    const int last = E->Count() - 1;
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
}

// "trystmt": the guarded statements, then an "exceptstmt" or a
// "finallystmt" block.
void TqsILParser::DoTry(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
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
}

void TqsILParser::DoBreak(TqsXMLItem* E, TqsScript* P, TqsStatement* L) { L->Add(NewStmt<TqsBreakStmt>(E, P)); }

void TqsILParser::DoContinue(TqsXMLItem* E, TqsScript* P, TqsStatement* L) { L->Add(NewStmt<TqsContinueStmt>(E, P)); }

void TqsILParser::DoExit(TqsXMLItem* E, TqsScript* P, TqsStatement* L) { L->Add(NewStmt<TqsExitStmt>(E, P)); }

// "return" with a value assigns it to Result, then exits.
void TqsILParser::DoReturn(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    if (TqsXMLItem* x = Child(E, 0)) AddAssignment(E->Text(), "Result", x->Prop("pos"), x, P, L);
    L->Add(NewStmt<TqsExitStmt>(E, P));
}

// "delete": a call of Free on the designated object.
void TqsILParser::DoDelete(TqsXMLItem* E, TqsScript* P, TqsStatement* L)
{
    TqsXMLItem* d0 = Child(E, 0);
    if (!d0) return;
    std::unique_ptr<TqsCallStmt> s(NewStmt<TqsCallStmt>(E, P));
    s->FDesignator = DoDesignator(d0, P, emFree);
    L->Add(s.release());
}

// Declarations among the statements: variables (whose initialisers become
// assignments there) and constants.
void TqsILParser::DoVarStmt(TqsXMLItem* E, TqsScript* P, TqsStatement* L) { DoVar(E, P, L, nullptr); }

void TqsILParser::DoConstStmt(TqsXMLItem* E, TqsScript* P, TqsStatement*) { DoConst(E, P); }

// --- expressions ---------------------------------------------------------------------------

// An "expr" element: its operands and operators in order, with the source
// text it came from; a type mismatch found when finishing is an error at
// the position the expression reports.
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

// Operands (literals, designators, sets, "new" objects) and operators of
// an expression; nested "expr" elements are flattened; a trailing operator
// other than ")" is dropped.
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

// A set of case values: expressions, and an empty entry for "range"
// between the two ends of a range.
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

// The first name of a designator as a member of a with-variable, innermost
// first: a Variant one takes the name unless the program has it, and the
// designator is then resolved at run time (done is set); a class-typed one
// takes the name when its class has that member.
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

// A designator under construction: its steps, the indexed-property steps
// whose "[" has been seen, and whether it was left to late binding.
struct TqsILParser::TDsgnBuild {
    TqsXMLItem* Element;
    TqsScript* P;
    std::unique_ptr<TqsDesignator> D;
    std::vector<TqsDesignatorItem*> Opened;
    bool LateBound = false;

    TqsDesignatorItem* LastStep() const { return D->Count() > 0 ? D->Step(D->Count() - 1) : nullptr; }

    TqsDesignatorItem* Append(TqsCustomVariable* ref, const std::string& pos)
    {
        auto* s = new TqsDesignatorItem();
        s->FRef = ref;
        s->FSourcePos = pos;
        D->Add(s);
        return s;
    }

    // Keeps a copy of the element: the designator is built again when it
    // is first evaluated, against the values it meets then.
    void MakeLate()
    {
        auto* copy = new TqsXMLItem();
        copy->Assign(Element);
        D->Finalize();
        D->SetLateBindingXmlSource(copy);
        LateBound = true;
    }
};

// A "dsgn" element: "node" elements name the first item and then its
// members ("[" opens an index), "expr" elements are the arguments of the
// step before them, and "addr" takes a routine's name as a string. Each
// member is resolved by the type of the item before it.
TqsDesignator* TqsILParser::DoDesignator(TqsXMLItem* Element, TqsScript* P, TqsEmitOp EmitOp)
{
    TDsgnBuild b{Element, P, std::make_unique<TqsDesignator>(P), {}, false};
    const auto& ch = Element->Children();
    for (size_t i = 0; i < ch.size() && !b.LateBound; ++i) {
        TqsXMLItem* c = ch[i];
        SetPos(c);
        const std::string cname = Lower(c->Name());
        const std::string pos = c->Prop("pos");
        if (cname == "addr") {
            if (ch.size() != 2) Error(SVarRequired);
            auto* sv = new TqsStringVariable("", fvtString, "");
            sv->SetValue(Variant(ch[1]->Prop("text")));
            P->Add("", sv);
            b.Append(sv, pos);
            break;
        }
        if (cname == "expr") {
            if (TqsDesignatorItem* s = b.LastStep()) s->Add(DoExpression(c, P));
            continue;
        }
        if (cname != "node") continue;
        const std::string T = c->Prop("text");
        const TStepResult r = b.D->Count() == 0 ? FirstDsgnStep(b, T, pos, EmitOp) : MemberStep(b, i, T, pos);
        if (r == TStepResult::Done) return b.D.release();
        if (r == TStepResult::Stop) break;
    }
    return FinishDesignator(b, EmitOp);
}

TqsDesignator* TqsILParser::ResolveLateDesignator(TqsXMLItem* Element, TqsScript* Program)
{
    FResolvingLate = true;
    return DoDesignator(Element, Program, emNone);
}

// A member or an index of a value that has none, met while binding late.
void TqsILParser::NothingToBind(const std::string& T)
{
    if (T == "[") Error(SArrayRequired);
    Error(SIdUndeclared + Quoted(T));
}

// The first name: a member of an enclosing with-variable, else a variable,
// routine or class of the program; "new" adds the class's constructor.
TqsILParser::TStepResult TqsILParser::FirstDsgnStep(TDsgnBuild& b, const std::string& T, const std::string& pos,
                                                    TqsEmitOp EmitOp)
{
    bool done = false;
    if (WithLookup(b.D.get(), b.Element, T, b.P, pos, done)) return done ? TStepResult::Done : TStepResult::Next;
    TqsCustomVariable* ref = FindVar(T, b.P);
    b.Append(ref, pos);
    if (EmitOp == emCreate) {
        auto* cls = dynamic_cast<TqsClassVariable*>(ref);
        if (!cls) Error(SClassRequired);
        TqsCustomHelper* create = cls->Find("Create");
        if (!create) Error(SIdUndeclared + Quoted("Create"));
        b.Append(create, pos);
    }
    return TStepResult::Next;
}

// A member T of the item R before it: an index of an indexed property, a
// member of a Variant by the value it holds now, a character of a string,
// a class member, or an array element.
TqsILParser::TStepResult TqsILParser::MemberStep(TDsgnBuild& b, size_t i, const std::string& T, const std::string& pos)
{
    TqsDesignatorItem* prevStep = b.LastStep();
    TqsCustomVariable* R = prevStep->FRef;
    auto* rm = dynamic_cast<TqsMethodHelper*>(R);
    if (rm && rm->IndexMethod() && std::find(b.Opened.begin(), b.Opened.end(), prevStep) == b.Opened.end()) {
        if (T != "[") Error(SIndexRequired);
        b.Opened.push_back(prevStep);
        return TStepResult::Next;
    }
    TqsVarType rt = R->Typ();
    std::string rtn = R->TypeName();
    if (rt == fvtVariant) {
        const TStepResult r = VariantMemberStep(b, i, R, T, pos, rt, rtn);
        if (r != TStepResult::ByType) return r;
    }
    if (rt == fvtString || rt == fvtChar) {
        if (T != "[") Error(SStringError);
        b.Append(FindVar("__StringHelper", b.P), pos);
        return TStepResult::Next;
    }
    if (rt == fvtClass) return ClassMemberStep(b, R, T, pos, rtn);
    if (rt != fvtArray || !R->RefItem()) Error(SArrayRequired);
    b.Append(R->RefItem(), pos);
    return TStepResult::Next;
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

rtl::TObject* ObjectOf(const Variant& v)
{
    try {
        return v.AsObject();
    } catch (const rtl::Exception&) {
        return nullptr;
    }
}

} // namespace

// A member of a Variant item, by the value the item holds while this is
// converted: nothing yet leaves the designator to late binding (when it is
// being bound late already, the member is not there); an
// automation object makes every further member a late-bound call; a string
// or an array is indexed; an object stands for its class (rt and rtn are
// set and the caller goes on).
TqsILParser::TStepResult TqsILParser::VariantMemberStep(TDsgnBuild& b, size_t i, TqsCustomVariable* R,
                                                        const std::string& T, const std::string& pos, TqsVarType& rt,
                                                        std::string& rtn)
{
    const Variant V = CompileTimeValue(R);
    if (V.IsNull() || V.IsEmpty()) {
        if (FResolvingLate) NothingToBind(T);
        b.MakeLate();
        return TStepResult::Stop;
    }
    if (V.IsDispatch()) {
        AutomationSteps(b, i);
        return TStepResult::Done;
    }
    if (V.IsString()) {
        rt = fvtString;
        return TStepResult::ByType;
    }
    if (V.IsArray()) {
        if (T != "[") Error(SIndexRequired);
        b.Append(FindVar("__ArrayHelper", b.P), pos);
        return TStepResult::Next;
    }
    rtl::TObject* obj = ObjectOf(V);
    if (!obj) {
        if (FResolvingLate) NothingToBind(T);
        b.MakeLate();
        return TStepResult::Stop;
    }
    rt = fvtClass;
    rtn = obj->ClassName();
    return TStepResult::ByType;
}

// From element i on, every member of an automation object is a call
// resolved by name when it runs, and every "expr" one more argument of it.
void TqsILParser::AutomationSteps(TDsgnBuild& b, size_t i)
{
    const auto& ch = b.Element->Children();
    for (size_t j = i; j < ch.size(); ++j) {
        TqsXMLItem* x = ch[j];
        SetPos(x);
        if (Named(x, "node")) {
            if (x->Prop("text") == "[") continue;
            TqsCustomHelper* h = NewOLEHelper(x->Prop("text"));
            b.P->Add("", h);
            b.Append(h, x->Prop("pos"));
        } else if (Named(x, "expr")) {
            TqsDesignatorItem* s = b.LastStep();
            s->Add(DoExpression(x, b.P));
            s->FRef->Add(new TqsParamItem("", fvtVariant, "", false, false));
        }
    }
    b.D->Finalize();
}

// A member of a class-typed item: "[" is the class's default property;
// otherwise the member of that name. When the class has none: with
// UseClassLateBinding, an item that holds nothing before the script runs
// is resolved when first evaluated; else a component the item holds may
// own a component of that name.
TqsILParser::TStepResult TqsILParser::ClassMemberStep(TDsgnBuild& b, TqsCustomVariable* R, const std::string& T,
                                                      const std::string& pos, const std::string& rtn)
{
    TqsClassVariable* cls = b.P->FindClass(rtn);
    if (!cls) Error(SUnknownType + Quoted(rtn));
    if (T == "[") {
        if (!cls->DefProperty()) Error(rtl::Format(SClassError, cls->Name()));
        TqsDesignatorItem* s = b.Append(cls->DefProperty(), pos);
        s->FFlag = true;
        b.Opened.push_back(s);
        return TStepResult::Next;
    }
    if (TqsCustomHelper* m = cls->Find(T)) {
        b.Append(m, pos);
        return TStepResult::Next;
    }
    const Variant rv = CompileTimeValue(R);
    const bool running = FProgram && FProgram->IsRunning();
    if (IsNullOrZero(rv) && !running && !FResolvingLate && b.P->UseClassLateBinding()) {
        // Only the first item stays: the rest is resolved at run time.
        while (b.D->Count() > 1) {
            TqsItemList* last = b.D->Item(b.D->Count() - 1);
            b.D->Remove(last);
            delete last;
        }
        b.MakeLate();
        b.D->SetTyp(fvtVariant);
        b.D->SetTypeName("");
        b.D->SetIsReadOnly(false);
        return TStepResult::Stop;
    }
    if (auto* comp = dynamic_cast<rtl::TComponent*>(ObjectOf(rv)))
        if (rtl::TComponent* owned = comp->FindComponent(T)) {
            auto* v = new TqsVariable("", fvtClass, owned->ClassName());
            *v->PValue() = Variant::FromObject(owned);
            b.P->Add("", v);
            b.Append(v, pos);
            return TStepResult::Next;
        }
    Error(SIdUndeclared + Quoted(T));
}

// The finished designator: a late-bound one is a writable Variant; a
// "delete" gets TObject's Free as its last step; the arguments are checked
// against each step's parameters; plain variables, string characters and
// array elements get their quicker designator kinds.
TqsDesignator* TqsILParser::FinishDesignator(TDsgnBuild& b, TqsEmitOp EmitOp)
{
    std::unique_ptr<TqsDesignator>& d = b.D;
    if (b.LateBound) {
        if (d->Typ() != fvtVariant || d->Count() > 1) {
            d->SetTyp(fvtVariant);
            d->SetTypeName("");
        }
        d->SetIsReadOnly(false);
        return d.release();
    }
    if (EmitOp == emFree) {
        TqsDesignatorItem* s = b.LastStep();
        if (!s || !(s->FRef->Typ() == fvtClass || s->FRef->Typ() == fvtVariant)) Error(SClassRequired);
        TqsClassVariable* obj = b.P->FindClass("TObject");
        TqsCustomHelper* fr = obj ? obj->Find("Free") : nullptr;
        if (!fr) Error(SIdUndeclared + Quoted("Free"));
        b.Append(fr, s->FSourcePos);
    }
    d->Finalize();
    MatchArguments(d.get(), b.P);
    std::unique_ptr<TqsDesignator> fast;
    switch (d->Kind()) {
    case dkVariable: fast = std::make_unique<TqsVariableDesignator>(b.P); break;
    case dkStringArray: fast = std::make_unique<TqsStringDesignator>(b.P); break;
    case dkArray: fast = std::make_unique<TqsArrayDesignator>(b.P); break;
    default: break;
    }
    if (fast) {
        fast->Borrow(d.get());
        return fast.release();
    }
    return d.release();
}

// Every step's arguments: not fewer than its required parameters, not more
// than all of them, the missing optional ones filled with their defaults,
// and each assignable to its parameter.
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
