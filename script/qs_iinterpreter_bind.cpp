// Class descriptors, their members and the call-handler conventions through
// which scripts reach host objects.
#include <algorithm>

#include "platform/rtl/Strings.h"
#include "script/qs_iconst.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"
#include "script/qs_itools.h"

namespace qs {

namespace {

rtl::TObject* InstanceOf(const Variant& v)
{
    if (v.IsNull() || v.IsEmpty()) return nullptr;
    try {
        return v.AsObject();
    } catch (const rtl::Exception&) {
        return nullptr;
    }
}

} // namespace

// --- property -------------------------------------------------------------------------

TqsPropertyHelper::TqsPropertyHelper(const std::string& AName, TqsVarType ATyp, const std::string& ATypeName,
                                     const rtl::TClassInfo* AClass)
    : TqsCustomHelper(AName, ATyp, ATypeName), FClassRef(AClass)
{
}

Variant TqsPropertyHelper::GetValue()
{
    using rtl::TTypeKind;
    Variant result = Variant::Null();
    rtl::TObject* instance = InstanceOf(FParentValue);
    if (FIsPublished && instance) {
        if (const rtl::TPropInfo* p = rtl::GetPropInfo(instance, FName)) {
            switch (p->Kind()) {
            case TTypeKind::tkInteger: case TTypeKind::tkEnumeration: case TTypeKind::tkSet:
                result = Variant(static_cast<int32_t>(p->GetOrd(instance)));
                break;
            case TTypeKind::tkInt64: result = Variant(static_cast<long long>(p->GetOrd(instance))); break;
            case TTypeKind::tkClass: result = Variant::FromObject(p->GetObject(instance)); break;
            case TTypeKind::tkChar: case TTypeKind::tkWChar: {
                std::string s;
                rtl::AppendUTF8(s, static_cast<char32_t>(p->GetOrd(instance)));
                result = Variant(s);
                break;
            }
            case TTypeKind::tkFloat: result = Variant(static_cast<double>(p->GetFloat(instance))); break;
            case TTypeKind::tkString: case TTypeKind::tkLString:
                result = Variant::AnsiString(p->GetStr(instance));
                break;
            case TTypeKind::tkWString: case TTypeKind::tkUString: result = Variant::UString(p->GetStr(instance)); break;
            case TTypeKind::tkVariant: result = p->GetVariant(instance); break;
            default: break;
            }
        }
    } else if (OnGetValue) {
        result = OnGetValue(instance, FClassRef, FUppercaseName);
    } else if (OnGetValueNew) {
        result = OnGetValueNew(instance, FClassRef, FUppercaseName, this);
    }
    if (FTyp == fvtBool) {
        bool b = false;
        if (result.IsBoolean()) b = result.AsBoolean();
        else if (!result.IsNull()) b = !(result == Variant(0));
        result = Variant(b);
    }
    return result;
}

void TqsPropertyHelper::SetValue(const Variant& value)
{
    using rtl::TTypeKind;
    if (FIsReadOnly) return;
    rtl::TObject* instance = InstanceOf(FParentValue);
    if (FIsPublished) {
        if (!instance) return;
        const rtl::TPropInfo* p = rtl::GetPropInfo(instance, FName);
        if (!p || !p->IsWritable()) return;
        switch (p->Kind()) {
        case TTypeKind::tkInteger: case TTypeKind::tkEnumeration: case TTypeKind::tkSet: case TTypeKind::tkInt64:
            if (FTyp == fvtBool) p->SetOrd(instance, value == Variant(true) ? 1 : 0);
            else if (p->Kind() == TTypeKind::tkInt64) p->SetOrd(instance, value.AsInt64());
            else p->SetOrd(instance, value.AsInteger());
            break;
        case TTypeKind::tkClass: p->SetObject(instance, value.AsObject()); break;
        case TTypeKind::tkChar: case TTypeKind::tkWChar: {
            std::string s = rtl::VarToStr(value);
            size_t i = 0;
            p->SetOrd(instance, s.empty() ? 0 : static_cast<int64_t>(rtl::NextUTF8(s, i)));
            break;
        }
        case TTypeKind::tkFloat: p->SetFloat(instance, value.AsExtended()); break;
        case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString: case TTypeKind::tkUString:
            p->SetStr(instance, rtl::VarToStr(value));
            break;
        case TTypeKind::tkVariant: p->SetVariant(instance, value); break;
        default: break;
        }
    } else if (OnSetValue) {
        OnSetValue(instance, FClassRef, FUppercaseName, value);
    } else if (OnSetValueNew) {
        OnSetValueNew(instance, FClassRef, FUppercaseName, value, this);
    }
}

// --- method ----------------------------------------------------------------------------------

TqsMethodHelper::TqsMethodHelper(const std::string& Syntax, TqsScript* Script)
    : TqsCustomHelper("", fvtVariant, ""), FSyntax(Syntax)
{
    std::unique_ptr<TqsCustomVariable> decl(DeclarationToVariable(Syntax, Script));
    SetName(decl->Name());
    FTyp = decl->Typ();
    FTypeName = decl->TypeName();
    FIsMacro = decl->IsMacro();
    TqsItemList params;
    decl->SwapItems(params);
    SwapItems(params);
    FIsReadOnly = true;
    FProgram = Script;
    if (Count() > 0) FVarArray = rtl::VarArrayCreate({0, Count() - 1}, rtl::varVariant);
}

Variant TqsMethodHelper::GetParam(int Index)
{
    if (Index == Count()) return FSetValue;
    if (Index < 0 || Index > Count()) return Variant::Null();
    return Params(Index)->GetValue();
}

void TqsMethodHelper::SetParam(int Index, const Variant& Value)
{
    if (Index >= 0 && Index < Count()) Params(Index)->SetValue(Value);
}

const rtl::TClassInfo* TqsMethodHelper::ConstructedClass() const
{
    if (auto* c = dynamic_cast<TqsClassVariable*>(FParentRef)) return c->ClassRef();
    return FClassRef;
}

Variant TqsMethodHelper::GetValue()
{
    rtl::TObject* instance = InstanceOf(FParentValue);
    std::string name = FUppercaseName;
    if (FIndexMethod) name += ".GET";
    if (OnCall) {
        for (int i = 0; i < Count(); ++i) FVarArray.SetElement({i}, Params(i)->GetValue());
        Variant r = OnCall(instance, FClassRef, name, FVarArray);
        for (int i = 0; i < Count(); ++i)
            if (Params(i)->IsVarParam()) Params(i)->SetValue(FVarArray.GetElement({i}));
        return r;
    }
    if (OnCallNew) return OnCallNew(instance, FClassRef, name, this);
    return Variant(0);
}

void TqsMethodHelper::SetValue(const Variant& value)
{
    if (!FIndexMethod) return;
    rtl::TObject* instance = InstanceOf(FParentValue);
    std::string name = FUppercaseName + ".SET";
    if (OnCall) {
        Variant arr = rtl::VarArrayCreate({0, Count()}, rtl::varVariant);
        for (int i = 0; i < Count(); ++i) arr.SetElement({i}, Params(i)->GetValue());
        arr.SetElement({Count()}, value);
        OnCall(instance, FClassRef, name, arr);
    } else if (OnCallNew) {
        FSetValue = value;
        try {
            OnCallNew(instance, FClassRef, name, this);
        } catch (...) {
            FSetValue = Variant::Null();
            throw;
        }
        FSetValue = Variant::Null();
    }
}

// --- component and event members -------------------------------------------------------------

TqsComponentHelper::TqsComponentHelper(rtl::TComponent* AComponent)
    : TqsCustomHelper(AComponent->Name(), fvtClass, AComponent->ClassName()), FComponent(AComponent)
{
}

Variant TqsComponentHelper::GetValue() { return Variant::FromObject(FComponent); }

TqsEventHelper::TqsEventHelper(const std::string& AName, const rtl::TClassInfo* AClass, TqsEventClass AEvent)
    : TqsCustomHelper(AName, fvtString, ""), FClassRef(AClass), FEvent(AEvent)
{
}

void TqsEventHelper::SetValue(const Variant& value)
{
    rtl::TObject* instance = InstanceOf(FParentValue);
    if (!instance) return;
    const rtl::TPropInfo* prop = rtl::GetPropInfo(instance, FName);
    std::string s = rtl::VarToStr(value);
    if (s == "0") {
        if (prop) prop->ClearEvent(instance);
        return;
    }
    auto* proc = FProgram ? dynamic_cast<TqsProcVariable*>(FProgram->Find(s)) : nullptr;
    if (!proc) throw rtl::Exception(SEventError);
    if (!prop || !FEvent) return;
    TqsCustomEvent* adapter = FEvent(instance, proc);
    FProgram->Add("", adapter);
    adapter->Attach(prop);
}

TqsCustomEvent::TqsCustomEvent(rtl::TObject* AObject, TqsProcVariable* AHandler)
    : FAlive(std::make_shared<TqsCustomEvent*>(this)), FHandler(AHandler), FInstance(AObject)
{
}

TqsCustomEvent::~TqsCustomEvent() { *FAlive = nullptr; }

void TqsCustomEvent::CallHandler(std::vector<Variant>& args)
{
    if (!FHandler || FHandler->Executing()) return;
    int n = std::min<int>(FHandler->Count(), static_cast<int>(args.size()));
    for (int i = 0; i < n; ++i) FHandler->Params(i)->SetValue(args[static_cast<size_t>(i)]);
    FHandler->GetValue();
    for (int i = 0; i < n; ++i)
        if (FHandler->Params(i)->IsVarParam()) args[static_cast<size_t>(i)] = FHandler->Params(i)->GetValue();
}

void TqsNotifyEvent::Attach(const rtl::TPropInfo* Prop)
{
    auto* slot = Prop->EventSlot<rtl::TNotifyEvent>(FInstance);
    if (!slot) return;
    std::weak_ptr<TqsCustomEvent*> alive = FAlive;
    *slot = [alive](rtl::TObject* sender) {
        auto token = alive.lock();
        if (!token || !*token) return;
        auto* self = static_cast<TqsNotifyEvent*>(*token);
        std::vector<Variant> args{Variant::FromObject(sender)};
        self->CallHandler(args);
    };
}

// --- indexers -------------------------------------------------------------------------------------

TqsArrayHelper::TqsArrayHelper(const std::string& AName, int DimCount, TqsVarType ATyp, const std::string& ATypeName)
    : TqsCustomHelper(AName, ATyp, ATypeName)
{
    if (DimCount == -1) {
        Add(new TqsParamItem("", fvtInt, "", false, false));
        Add(new TqsParamItem("", fvtInt, "", true, false));
        Add(new TqsParamItem("", fvtInt, "", true, false));
    } else {
        for (int i = 0; i < DimCount; ++i) Add(new TqsParamItem("", fvtInt, "", false, false));
    }
}

namespace {

std::vector<int32_t> Indexes(TqsCustomVariable* helper, int dims)
{
    std::vector<int32_t> idx;
    for (int i = 0; i < dims && i < helper->Count(); ++i) idx.push_back(helper->Params(i)->GetValue().AsInteger());
    return idx;
}

} // namespace

Variant TqsArrayHelper::GetValue()
{
    Variant* arr = FParentRef ? FParentRef->PValue() : nullptr;
    const Variant* src = arr && arr->IsArray() ? arr : (FParentValue.IsArray() ? &FParentValue : nullptr);
    if (!src) throw rtl::EVariantInvalidOpError("Invalid variant operation");
    int dims = src->DimCount();
    if (dims < 1 || dims > 3) return Variant::Null();
    return src->GetElement(Indexes(this, dims));
}

void TqsArrayHelper::SetValue(const Variant& value)
{
    Variant* arr = FParentRef ? FParentRef->PValue() : nullptr;
    if (!arr || !arr->IsArray()) return;
    int dims = arr->DimCount();
    if (dims < 1 || dims > 3) return;
    arr->SetElement(Indexes(this, dims), value);
}

TqsStringHelper::TqsStringHelper() : TqsCustomHelper("__StringHelper", fvtChar, "")
{
    Add(new TqsParamItem("", fvtInt, "", false, false));
}

Variant TqsStringHelper::GetValue()
{
    return Variant(qsCharAt(rtl::VarToStr(FParentValue), Params(0)->GetValue().AsInteger()));
}

void TqsStringHelper::SetValue(const Variant& value)
{
    std::string s = qsSetCharAt(rtl::VarToStr(FParentValue), Params(0)->GetValue().AsInteger(), rtl::VarToStr(value));
    if (FParentRef) FParentRef->SetValue(Variant(s));
}

// --- class descriptor ---------------------------------------------------------------------------

TqsClassVariable::TqsClassVariable(const rtl::TClassInfo* AClass, const std::string& Ancestor)
    : TqsCustomVariable(AClass->Name(), fvtClass, AClass->Name()), FAncestor(Ancestor), FClassRef(AClass)
{
    using rtl::TTypeKind;
    for (const rtl::TPropInfo* p : AClass->PropList(rtl::TPropOrder::Alphabetical)) {
        if (p->Kind() == TTypeKind::tkMethod) continue;
        TqsVarType t = fvtInt;
        std::string tn;
        switch (p->Kind()) {
        case TTypeKind::tkChar: case TTypeKind::tkWChar: t = fvtChar; break;
        case TTypeKind::tkEnumeration:
            t = p->PropType()->IsBoolean() ? fvtBool : fvtEnum;
            tn = p->PropType()->Name();
            break;
        case TTypeKind::tkFloat: t = fvtFloat; break;
        case TTypeKind::tkString: case TTypeKind::tkLString: case TTypeKind::tkWString: case TTypeKind::tkUString:
            t = fvtString;
            break;
        case TTypeKind::tkSet: t = fvtEnum; tn = p->PropType()->Name(); break;
        case TTypeKind::tkClass:
            t = fvtClass;
            tn = p->PropType()->ClassType() ? p->PropType()->ClassType()->Name() : p->PropType()->Name();
            break;
        case TTypeKind::tkVariant: t = fvtVariant; break;
        default: t = fvtInt; break;
        }
        auto* h = new TqsPropertyHelper(p->Name(), t, tn, AClass);
        h->SetIsPublished(true);
        h->SetIsReadOnly(!p->IsWritable());
        FMembers.Add(h);
    }
    Add(new TqsParamItem("", fvtVariant, "", true, false));
}

TqsClassVariable::~TqsClassVariable() = default;

Variant TqsClassVariable::GetValue()
{
    Variant v = Count() > 0 ? Params(0)->GetValue() : Variant::Null();
    if (Count() > 0) Params(0)->SetValue(Variant::Null());
    // Without a typecast argument the class item stands for an instance
    // about to be constructed: the constructor's handler creates it.
    return v;
}

TqsMethodHelper* TqsClassVariable::AddMethod(const std::string& Syntax, TqsCallMethodNewEvent CallEvent)
{
    auto* m = new TqsMethodHelper(Syntax, FProgram);
    m->OnCallNew = std::move(CallEvent);
    m->SetClassRef(FClassRef);
    FMembers.Add(m);
    return m;
}

TqsMethodHelper* TqsClassVariable::AddMethod(const std::string& Syntax, TqsCallMethodEvent CallEvent)
{
    auto* m = new TqsMethodHelper(Syntax, FProgram);
    m->OnCall = std::move(CallEvent);
    m->SetClassRef(FClassRef);
    FMembers.Add(m);
    return m;
}

namespace {

std::string ConstructorSyntax(const std::string& Syntax)
{
    size_t blank = Syntax.find(' ');
    std::string rest = blank == std::string::npos ? std::string() : Syntax.substr(blank);
    return "function" + rest + ": Constructor";
}

std::string IndexSyntax(const std::string& Name, const std::string& Params, const std::string& Typ)
{
    std::string list;
    int i = 0;
    for (const std::string& p : rtl::SplitString(Params, ',')) {
        if (i > 0) list += "; ";
        list += "p" + std::to_string(i++) + ": " + rtl::Trim(p);
    }
    return "function " + Name + "(" + list + "): " + Typ;
}

} // namespace

TqsMethodHelper* TqsClassVariable::AddConstructor(const std::string& Syntax, TqsCallMethodNewEvent CallEvent)
{
    return AddMethod(ConstructorSyntax(Syntax), std::move(CallEvent));
}

TqsMethodHelper* TqsClassVariable::AddConstructor(const std::string& Syntax, TqsCallMethodEvent CallEvent)
{
    return AddMethod(ConstructorSyntax(Syntax), std::move(CallEvent));
}

TqsPropertyHelper* TqsClassVariable::AddProperty(const std::string& Name, const std::string& Typ,
                                                  TqsGetValueEvent GetEvent, TqsSetValueEvent SetEvent)
{
    auto* h = new TqsPropertyHelper(Name, TypeNameToVarType(Typ, FProgram), Typ, FClassRef);
    h->OnGetValue = std::move(GetEvent);
    h->OnSetValue = std::move(SetEvent);
    h->SetIsReadOnly(!h->OnSetValue);
    FMembers.Add(h);
    return h;
}

TqsPropertyHelper* TqsClassVariable::AddPropertyEx(const std::string& Name, const std::string& Typ,
                                                    TqsGetValueNewEvent GetEvent, TqsSetValueNewEvent SetEvent)
{
    auto* h = new TqsPropertyHelper(Name, TypeNameToVarType(Typ, FProgram), Typ, FClassRef);
    h->OnGetValueNew = std::move(GetEvent);
    h->OnSetValueNew = std::move(SetEvent);
    h->SetIsReadOnly(!h->OnSetValueNew);
    FMembers.Add(h);
    return h;
}

TqsMethodHelper* TqsClassVariable::AddIndexProperty(const std::string& Name, const std::string& Params,
                                                    const std::string& Typ, TqsCallMethodNewEvent CallEvent,
                                                    bool AReadOnly)
{
    TqsMethodHelper* m = AddMethod(IndexSyntax(Name, Params, Typ), std::move(CallEvent));
    m->SetIsReadOnly(AReadOnly);
    m->SetIndexMethod(true);
    return m;
}

TqsMethodHelper* TqsClassVariable::AddIndexProperty(const std::string& Name, const std::string& Params,
                                                    const std::string& Typ, TqsCallMethodEvent CallEvent,
                                                    bool AReadOnly)
{
    TqsMethodHelper* m = AddMethod(IndexSyntax(Name, Params, Typ), std::move(CallEvent));
    m->SetIsReadOnly(AReadOnly);
    m->SetIndexMethod(true);
    return m;
}

TqsMethodHelper* TqsClassVariable::AddDefaultProperty(const std::string& Name, const std::string& Params,
                                                      const std::string& Typ, TqsCallMethodNewEvent CallEvent,
                                                      bool AReadOnly)
{
    TqsMethodHelper* m = AddIndexProperty(Name, Params, Typ, std::move(CallEvent), AReadOnly);
    FDefProperty = m;
    return m;
}

TqsMethodHelper* TqsClassVariable::AddDefaultProperty(const std::string& Name, const std::string& Params,
                                                      const std::string& Typ, TqsCallMethodEvent CallEvent,
                                                      bool AReadOnly)
{
    TqsMethodHelper* m = AddIndexProperty(Name, Params, Typ, std::move(CallEvent), AReadOnly);
    FDefProperty = m;
    return m;
}

void TqsClassVariable::AddEvent(const std::string& Name, TqsEventClass AEvent)
{
    auto* h = new TqsEventHelper(Name, FClassRef, AEvent);
    h->SetProg(FProgram);
    FMembers.Add(h);
}

void TqsClassVariable::AddComponent(rtl::TComponent* Component)
{
    if (Component) FMembers.Add(new TqsComponentHelper(Component));
}

TqsCustomHelper* TqsClassVariable::FindOwn(const std::string& Upper) const
{
    for (int i = 0; i < FMembers.Count(); ++i) {
        auto* m = static_cast<TqsCustomHelper*>(FMembers.Item(i));
        if (m->UppercaseName() == Upper) return m;
    }
    return nullptr;
}

TqsCustomHelper* TqsClassVariable::Find(const std::string& Name) const
{
    std::string upper = rtl::AnsiUpperCase(Name);
    const TqsClassVariable* c = this;
    for (int guard = 0; c && guard < 100; ++guard) {
        if (TqsCustomHelper* m = c->FindOwn(upper)) return m;
        if (c->FAncestor.empty() || !c->FProgram) break;
        TqsClassVariable* anc = c->FProgram->FindClass(c->FAncestor);
        if (anc == c) break;
        c = anc;
    }
    return nullptr;
}

} // namespace qs
