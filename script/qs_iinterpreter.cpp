// The script program (symbol table, compile, run, evaluate) and the plain
// item classes.
#include "script/qs_iinterpreter.h"

#include <algorithm>

#include "platform/rtl/Strings.h"
#include "script/qs_iconst.h"
#include "script/qs_iilparser.h"
#include "platform/rtl/NativeStack.h"
#include "script/qs_isysrtti.h"
#include "script/qs_itools.h"
#include "script/qs_xml.h"

namespace qs {

namespace {

// Script routines nest as deep as the native stack allows: a call that
// finds less than this left raises "Stack overflow" instead of exhausting
// the stack, leaving room to unwind and to run the script's except handler.
constexpr std::size_t kStackReserve = 512 * 1024;
// A bound for threads whose stack bounds the system does not tell.
constexpr int kMaxCallDepth = 100000;
thread_local int gCallDepth = 0;

std::vector<TqsRTTIModuleClass>*& ModuleListPtr()
{
    static std::vector<TqsRTTIModuleClass>* list = nullptr;
    return list;
}
bool gModuleListFreed = false;

struct TModuleListOwner {
    ~TModuleListOwner()
    {
        delete ModuleListPtr();
        ModuleListPtr() = nullptr;
        gModuleListFreed = true;
    }
} gModuleListOwner;

} // namespace

std::vector<TqsRTTIModuleClass>* GetRTTIModuleList()
{
    if (gModuleListFreed) return nullptr;
    auto*& list = ModuleListPtr();
    if (!list) {
        list = new std::vector<TqsRTTIModuleClass>();
        list->push_back(&qsModuleFactory<TqsSysFunctions>);
    }
    return list;
}

// --- TqsItemList ----------------------------------------------------------------

TqsItemList::~TqsItemList() { TqsItemList::Clear(); }

void TqsItemList::Remove(TqsItemList* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end()) FItems.erase(it);
}

void TqsItemList::Clear()
{
    std::vector<TqsItemList*> items;
    items.swap(FItems);
    for (TqsItemList* i : items) delete i;
}

// --- TqsCustomVariable ----------------------------------------------------------

TqsCustomVariable::TqsCustomVariable(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName)
    : FTyp(ATyp), FTypeName(ATypeName)
{
    SetName(AName);
}

void TqsCustomVariable::SetName(const std::string& n)
{
    FName = n;
    FUppercaseName = rtl::AnsiUpperCase(n);
}

void TqsCustomVariable::SetValue(const Variant& value)
{
    if (!FIsReadOnly) FValue = value;
}

Variant TqsCustomVariable::GetValue() { return FValue; }

TqsParamItem* TqsCustomVariable::Params(int index) const { return static_cast<TqsParamItem*>(Item(index)); }

std::string TqsCustomVariable::GetFullTypeName() const
{
    switch (FTyp) {
    case fvtInt: return "Integer";
    case fvtBool: return "Boolean";
    case fvtFloat: return "Extended";
    case fvtChar: return "Char";
    case fvtString: return "String";
    case fvtClass: return FTypeName;
    case fvtArray: return "Array";
    case fvtVariant: return "Variant";
    case fvtEnum: return FTypeName;
    case fvtConstructor: return "Variant";
    }
    return "Variant";
}

int TqsCustomVariable::GetNumberOfRequiredParams() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (!Params(i)->IsOptional()) ++n;
    return n;
}

// --- TqsVariable ------------------------------------------------------------------

void TqsVariable::SetValue(const Variant& value)
{
    if (FIsReadOnly) return;
    switch (FTyp) {
    case fvtInt: FValue = Variant(value.AsInteger()); break;
    case fvtBool: FValue = Variant(value.AsBoolean()); break;
    case fvtFloat: FValue = Variant(value.AsDouble()); break;
    case fvtString:
        FValue = value.IsString() ? value.AsType(rtl::varString) : Variant::AnsiString(rtl::VarToStr(value));
        break;
    default: FValue = value; break;
    }
}

Variant TqsVariable::GetValue()
{
    if (OnGetVarValue) {
        Variant v = OnGetVarValue(FName, FTyp, FValue);
        if (!v.IsNull()) return v;
    }
    return FValue;
}

void TqsVariable::ReleaseStoredValue()
{
    // Only kinds whose SetValue cannot fail may let go: the value must not
    // be lost when the assignment that follows raises.
    if (!FIsReadOnly && (FTyp == fvtVariant || FTyp == fvtString)) FValue = Variant();
}

void TqsStringVariable::SetValue(const Variant& value)
{
    if (FIsReadOnly) return;
    FText = value.IsString() ? value.AsType(rtl::varUString) : Variant(rtl::VarToStr(value));
}

Variant TqsStringVariable::GetValue()
{
    if (OnGetVarValue) {
        Variant v = OnGetVarValue(FName, FTyp, FText);
        if (!v.IsNull()) return v;
    }
    return FText;
}

void TqsStringVariable::ReleaseStoredValue()
{
    if (!FIsReadOnly) FText = Variant(std::string());
}

void TqsParamItem::ReleaseStoredValue()
{
    if (!FIsReadOnly) FValue = Variant();
}

TqsParamItem::TqsParamItem(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                           bool AIsOptional, bool AIsVarParam)
    : TqsCustomVariable(AName, ATyp, ATypeName), FIsOptional(AIsOptional), FIsVarParam(AIsVarParam)
{
}

// --- TqsProcVariable ---------------------------------------------------------------

TqsProcVariable::TqsProcVariable(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                                 TqsScript* AParent, bool AIsFunc)
    : TqsCustomVariable(AName, ATyp, ATypeName), FIsFunc(AIsFunc)
{
    FIsReadOnly = true;
    FProgram = new TqsScript(nullptr);
    FProgram->SetParent(AParent);
    if (AParent) FProgram->SetUseClassLateBinding(AParent->UseClassLateBinding());
    if (AIsFunc) {
        auto* result = new TqsVariable("Result", ATyp, ATypeName);
        FProgram->Add("Result", result);
        FRefItem = result;
    }
}

TqsProcVariable::~TqsProcVariable()
{
    for (int i = 0; i < Count(); ++i) FProgram->Remove(Item(i));
    delete FProgram;
}

Variant TqsProcVariable::GetValue()
{
    if (gCallDepth >= kMaxCallDepth || rtl::NativeStackLeft() < kStackReserve) throw EqsStackOverflow("Stack overflow");
    bool wasExecuting = FExecuting;
    FExecuting = true;
    TqsScript* main = nullptr;
    TqsScript* savedRunning = nullptr;
    ++gCallDepth;
    try {
        if (FIsFunc && FRefItem) FRefItem->SetValue(Variant());
        for (TqsScript* p = FProgram->Parent(); p; p = p->Parent())
            if (p->MainProg()) {
                main = p;
                break;
            }
        if (main) {
            savedRunning = main->ProgRunning();
            main->SetProgRunning(FProgram);
        }
        FProgram->FExitCalled = false;
        FProgram->FTerminated = false;
        FProgram->SetIsRunning(true);
        try {
            FProgram->Statement()->Execute();
        } catch (...) {
            FProgram->FExitCalled = false;
            FProgram->FTerminated = false;
            FProgram->SetIsRunning(false);
            throw;
        }
        FProgram->FExitCalled = false;
        FProgram->FTerminated = false;
        FProgram->SetIsRunning(false);
    } catch (...) {
        if (main) main->SetProgRunning(savedRunning);
        FExecuting = wasExecuting;
        --gCallDepth;
        throw;
    }
    if (main) main->SetProgRunning(savedRunning);
    FExecuting = wasExecuting;
    --gCallDepth;
    if (FIsFunc && FRefItem) return FRefItem->GetValue();
    return Variant::Null();
}

// --- TqsScript -----------------------------------------------------------------------

TqsScript::TqsScript(rtl::TComponent* AOwner) : rtl::TComponent(AOwner)
{
    FStatement = new TqsStatement(this, "", "");
    FIncludePath.Add("");
    RegisterBuiltinGrammars();
}

TqsScript::~TqsScript()
{
    DestroyComponents();
    Clear();
    ClearRTTI();
    for (int i = Count() - 1; i >= 0; --i) FreeItemAt(i);
    delete FStatement;
}

int TqsScript::IndexOfUpper(const std::string& upper) const
{
    auto it = std::lower_bound(FItems.begin(), FItems.end(), upper,
                               [](const Entry& e, const std::string& u) { return e.Upper < u; });
    if (it == FItems.end() || it->Upper != upper) return -1;
    return static_cast<int>(it - FItems.begin());
}

void TqsScript::Add(const std::string& Name, rtl::TObject* Item)
{
    if (auto* v = dynamic_cast<TqsCustomVariable*>(Item)) v->SetAddedBy(FAddedBy);
    std::string upper = rtl::AnsiUpperCase(Name);
    auto it = std::lower_bound(FItems.begin(), FItems.end(), upper,
                               [](const Entry& e, const std::string& u) { return e.Upper < u; });
    FItems.insert(it, Entry{upper, Item});
}

void TqsScript::Remove(rtl::TObject* Item)
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Obj == Item) {
            FItems.erase(FItems.begin() + static_cast<long>(i));
            return;
        }
}

void TqsScript::FreeItemAt(int index)
{
    rtl::TObject* obj = FItems[static_cast<size_t>(index)].Obj;
    FItems.erase(FItems.begin() + index);
    delete obj;
}

TqsCustomVariable* TqsScript::FindLocal(const std::string& Name) const
{
    int i = IndexOfUpper(rtl::AnsiUpperCase(Name));
    if (i < 0) return nullptr;
    return dynamic_cast<TqsCustomVariable*>(FItems[static_cast<size_t>(i)].Obj);
}

TqsCustomVariable* TqsScript::Find(const std::string& Name) const
{
    std::string upper = rtl::AnsiUpperCase(Name);
    for (const TqsScript* p = this; p; p = p->FParent) {
        int i = p->IndexOfUpper(upper);
        if (i >= 0) {
            if (auto* v = dynamic_cast<TqsCustomVariable*>(p->FItems[static_cast<size_t>(i)].Obj)) return v;
        }
    }
    return nullptr;
}

TqsClassVariable* TqsScript::FindClass(const std::string& Name) const
{
    return dynamic_cast<TqsClassVariable*>(Find(Name));
}

void TqsScript::AddType(const std::string& TypeName, TqsVarType ParentType)
{
    if (Find(TypeName)) return;
    Add(TypeName, new TqsTypeVariable(TypeName, ParentType, ""));
}

TqsClassVariable* TqsScript::AddClass(const rtl::TClassInfo* AClass, const std::string& Ancestor)
{
    if (!AClass || Find(AClass->Name())) return nullptr;
    auto* c = new TqsClassVariable(AClass, Ancestor);
    c->SetProg(this);
    Add(AClass->Name(), c);
    if (TqsClassVariable* anc = dynamic_cast<TqsClassVariable*>(Find(Ancestor)))
        c->SetDefProperty(anc->DefProperty());
    return c;
}

void TqsScript::AddConst(const std::string& Name, const std::string& Typ, const Variant& Value)
{
    if (Find(Name)) return;
    auto* v = new TqsVariable(Name, TypeNameToVarType(Typ, this), Typ);
    Add(Name, v);
    v->SetValue(Value);
    v->SetIsReadOnly(true);
}

void TqsScript::AddEnum(const std::string& Typ, const std::string& Names)
{
    Add(Typ, new TqsVariable(Typ, fvtEnum, Typ));
    int i = 0;
    for (const std::string& n : rtl::SplitString(Names, ',')) {
        auto* v = new TqsVariable(rtl::Trim(n), fvtEnum, Typ);
        v->SetValue(Variant(static_cast<int32_t>(i++)));
        v->SetIsReadOnly(true);
        Add(v->Name(), v);
    }
}

void TqsScript::AddEnumSet(const std::string& Typ, const std::string& Names)
{
    Add(Typ, new TqsVariable(Typ, fvtEnum, Typ));
    int i = 0;
    for (const std::string& n : rtl::SplitString(Names, ',')) {
        auto* v = new TqsVariable(rtl::Trim(n), fvtEnum, Typ);
        v->SetValue(Variant(static_cast<int32_t>(1u << (i++ & 31))));
        v->SetIsReadOnly(true);
        Add(v->Name(), v);
    }
}

void TqsScript::AddComponent(rtl::TComponent* Form)
{
    if (!Form) return;
    TqsClassVariable* cls = FindClass(Form->ClassName());
    if (!cls) {
        const rtl::TClassInfo* info = Form->ClassType();
        std::string ancestor;
        for (const char* a : {"TForm", "TDataModule", "TFrame"})
            if (Form->InheritsFrom(a)) {
                ancestor = a;
                break;
            }
        if (ancestor.empty()) return;
        cls = AddClass(info, ancestor);
        if (!cls) return;
    }
    for (int i = 0; i < Form->ComponentCount(); ++i) cls->AddComponent(Form->Components(i));
    AddObject(Form->Name(), Form);
}

void TqsScript::AddForm(rtl::TComponent* Form) { AddComponent(Form); }

TqsMethodHelper* TqsScript::AddMethod(
    const std::string& Syntax,
    std::function<Variant(rtl::TObject*, const rtl::TClassInfo*, const std::string&, TqsMethodHelper*)> CallEvent,
    const std::string& Category, const std::string& Description)
{
    auto* m = new TqsMethodHelper(Syntax, this);
    m->OnCallNew = std::move(CallEvent);
    m->SetDescription(Description.empty() ? m->Name() : Description);
    m->SetCategory(Category);
    Add(m->Name(), m);
    return m;
}

TqsMethodHelper* TqsScript::AddMethod(
    const std::string& Syntax,
    std::function<Variant(rtl::TObject*, const rtl::TClassInfo*, const std::string&, Variant&)> CallEvent,
    const std::string& Category, const std::string& Description)
{
    auto* m = new TqsMethodHelper(Syntax, this);
    m->OnCall = std::move(CallEvent);
    m->SetDescription(Description.empty() ? m->Name() : Description);
    m->SetCategory(Category);
    Add(m->Name(), m);
    return m;
}

void TqsScript::AddObject(const std::string& Name, rtl::TObject* Obj)
{
    AddVariable(Name, Obj ? Obj->ClassName() : std::string("TObject"), Variant::FromObject(Obj));
}

void TqsScript::AddVariable(const std::string& Name, const std::string& Typ, const Variant& Value)
{
    if (Find(Name)) return;
    auto* v = new TqsVariable(Name, TypeNameToVarType(Typ, this), Typ);
    Add(Name, v);
    v->SetValue(Value);
    v->OnGetVarValue = OnGetVarValue;
}

void TqsScript::SetVariable(const std::string& Name, const Variant& Value)
{
    if (TqsCustomVariable* v = Find(Name)) v->SetValue(Value);
    else AddVariable(Name, "Variant", Value);
}

void TqsScript::AddRTTI()
{
    if (FModulesAdded) return;
    FAddedBy = kqsModuleMarker;
    if (auto* list = GetRTTIModuleList())
        for (TqsRTTIModuleClass make : *list) Add("", make(this));
    FAddedBy = nullptr;
    FModulesAdded = true;
}

void TqsScript::ClearRTTI()
{
    if (!FModulesAdded) return;
    for (int i = Count() - 1; i >= 0; --i) {
        rtl::TObject* o = FItems[static_cast<size_t>(i)].Obj;
        auto* v = dynamic_cast<TqsCustomVariable*>(o);
        if (dynamic_cast<TqsRTTIModule*>(o) || (v && v->AddedBy() == kqsModuleMarker)) FreeItemAt(i);
    }
    FModulesAdded = false;
}

void TqsScript::RemoveItems(const void* Owner)
{
    for (int i = Count() - 1; i >= 0; --i) {
        auto* v = dynamic_cast<TqsCustomVariable*>(FItems[static_cast<size_t>(i)].Obj);
        if (v && v->AddedBy() == Owner) FreeItemAt(i);
    }
}

void TqsScript::ClearItems(const void* Owner)
{
    RemoveItems(Owner);
    FStatement->Clear();
    FUnitLines.clear();
}

void TqsScript::Clear()
{
    // Statements first: they refer to the items.
    FStatement->Clear();
    for (int i = Count() - 1; i >= 0; --i) {
        rtl::TObject* o = FItems[static_cast<size_t>(i)].Obj;
        auto* v = dynamic_cast<TqsCustomVariable*>(o);
        if (dynamic_cast<TqsRTTIModule*>(o)) continue;
        if (v && v->AddedBy() == kqsModuleMarker) continue;
        FreeItemAt(i);
    }
    FUnitLines.clear();
    FErrorPos.clear();
    FErrorMsg.clear();
    FErrorUnit.clear();
}

void TqsScript::SetLines(const rtl::TStringList& l)
{
    FLines.Clear();
    FLines.AddStrings(l);
}

void TqsScript::SetText(const std::string& text)
{
    FLines.Clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t e = text.find_first_of("\r\n", i);
        if (e == std::string::npos) {
            FLines.Add(text.substr(i));
            break;
        }
        FLines.Add(text.substr(i, e - i));
        if (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ++e;
        i = e + 1;
    }
}

namespace {

// The script text: every line followed by CR LF, as a string list's text.
std::string LinesText(rtl::TStringList& lines)
{
    std::string s;
    for (int i = 0; i < lines.Count(); ++i) {
        s += lines.Strings(i);
        s += "\r\n";
    }
    return s;
}

} // namespace

bool TqsScript::Compile()
{
    FErrorMsg.clear();
    {
        TqsILParser parser(this);
        try {
            parser.SelectLanguage(FSyntaxType);
            if (parser.MakeILScript(LinesText(FLines))) parser.ParseILScript();
        } catch (const rtl::Exception& e) {
            FErrorMsg = e.Message();
            if (FErrorPos.empty()) FErrorPos = "1:1";
        }
    }
    if (FErrorMsg.empty()) FErrorPos.clear();
    return FErrorMsg.empty();
}

bool TqsScript::GetILCode(rtl::TStream& Stream)
{
    FErrorMsg.clear();
    TqsILParser parser(this);
    try {
        parser.SelectLanguage(FSyntaxType);
        if (parser.MakeILScript(LinesText(FLines))) parser.ILScript().SaveToStream(Stream);
    } catch (const rtl::Exception& e) {
        FErrorMsg = e.Message();
    }
    if (FErrorMsg.empty()) FErrorPos.clear();
    return FErrorMsg.empty();
}

bool TqsScript::SetILCode(rtl::TStream& Stream)
{
    FErrorMsg.clear();
    TqsILParser parser(this);
    try {
        // The intermediate code does not name its language; the program's
        // language decides whether names must be declared.
        try {
            parser.SelectLanguage(FSyntaxType);
        } catch (const rtl::Exception&) {
        }
        parser.ILScript().LoadFromStream(Stream);
        parser.ParseILScript();
    } catch (const rtl::Exception& e) {
        FErrorMsg = e.Message();
    }
    if (FErrorMsg.empty()) FErrorPos.clear();
    return FErrorMsg.empty();
}

void TqsScript::Execute()
{
    FExitCalled = false;
    FTerminated = false;
    FIsRunning = true;
    FMainProg = true;
    try {
        FStatement->Execute();
    } catch (...) {
        FExitCalled = false;
        FTerminated = false;
        FIsRunning = false;
        throw;
    }
    FExitCalled = false;
    FTerminated = false;
    FIsRunning = false;
}

bool TqsScript::Run()
{
    bool ok = Compile();
    if (ok) Execute();
    return ok;
}

Variant TqsScript::Evaluate(const std::string& Expression)
{
    FEvaluteRiseError = false;
    Variant result = Variant::Null();
    TqsScript* context = FProgRunning ? FProgRunning : this;
    auto temp = std::make_unique<TqsScript>(nullptr);
    // A procedure's program never holds the modules itself; they are found
    // through the parent chain when some program up the chain has them.
    bool chainHasModules = false;
    for (TqsScript* p = context; p; p = p->Parent())
        if (p->ModulesAdded()) chainHasModules = true;
    if (!chainHasModules) temp->AddRTTI();
    temp->SetParent(context);
    temp->OnGetVarValue = context->OnGetVarValue;
    TqsRunLineEvent savedRunLine = OnRunLine;
    OnRunLine = nullptr;
    struct Restore {
        TqsScript* s;
        TqsRunLineEvent& saved;
        ~Restore() { s->OnRunLine = saved; }
    } restore{this, savedRunLine};
    temp->SetSyntaxType(FSyntaxType);
    std::string text;
    if (rtl::AnsiSameText(FSyntaxType, "PascalScript"))
        text = "function qsEvaluateFUNC: Variant; begin Result := " + Expression + " end; begin end.";
    else if (rtl::AnsiSameText(FSyntaxType, "C++Script"))
        text = "Variant qsEvaluateFUNC() { return " + Expression + "; } {}";
    else if (rtl::AnsiSameText(FSyntaxType, "BasicScript"))
        text = "function qsEvaluateFUNC\r\nreturn " + Expression + "\r\nend function";
    else if (rtl::AnsiSameText(FSyntaxType, "JScript"))
        text = "function qsEvaluateFUNC() { return (" + Expression + "); }";
    else {
        // Another registered language has no evaluation wrapper.
        FEvaluteRiseError = true;
        return Variant("Evaluate is not available for language '" + FSyntaxType + "'");
    }
    temp->SetText(text);
    if (temp->Compile()) {
        if (TqsCustomVariable* f = temp->FindLocal("qsEvaluateFUNC")) result = f->GetValue();
    } else {
        result = Variant(temp->ErrorMsg());
        FEvaluteRiseError = true;
    }
    return result;
}

Variant TqsScript::CallFunction2(TqsProcVariable* Func, const Variant& Params)
{
    if (!Func) return Variant::Null();
    if (Params.IsArray()) {
        int32_t hi = Params.HighBound(1);
        for (int32_t i = 0; i <= hi; ++i) {
            if (i >= Func->Count()) throw rtl::EListError("List index out of bounds (" + std::to_string(i) + ")");
            Func->Params(i)->SetValue(Params.GetElement({i}));
        }
    }
    return Func->GetValue();
}

Variant TqsScript::CallFunction(const std::string& Name, const Variant& Params)
{
    return CallFunction2(dynamic_cast<TqsProcVariable*>(FindLocal(Name)), Params);
}

Variant TqsScript::CallFunction1(const std::string& Name, Variant& Params)
{
    auto* f = dynamic_cast<TqsProcVariable*>(FindLocal(Name));
    if (!f) return Variant::Null();
    Variant r = CallFunction2(f, Params);
    if (Params.IsArray()) {
        int32_t hi = Params.HighBound(1);
        for (int32_t i = 0; i <= hi && i < f->Count(); ++i) Params.SetElement({i}, f->Params(i)->GetValue());
    }
    return r;
}

void TqsScript::Terminate()
{
    FExitCalled = true;
    FTerminated = true;
    for (const Entry& e : FItems)
        if (auto* p = dynamic_cast<TqsProcVariable*>(e.Obj)) p->Prog()->Terminate();
}

void TqsScript::AddCodeLine(const std::string& UnitName, const std::string& APos)
{
    size_t colon = APos.find(':');
    int line = rtl::StrToIntDef(APos.substr(0, colon), -1);
    if (line >= 0) FUnitLines[rtl::AnsiUpperCase(UnitName)].insert(line);
}

bool TqsScript::IsExecutableLine(int LineN, const std::string& UnitName) const
{
    auto it = FUnitLines.find(rtl::AnsiUpperCase(UnitName));
    return it != FUnitLines.end() && it->second.count(LineN) > 0;
}

} // namespace qs
