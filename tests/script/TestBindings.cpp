#include "TestBindings.h"

#include <algorithm>

namespace qstest {

RTL_PUBLISHED(TScriptCounter)
{
    c.Property("Active", &TScriptCounter::Active, &TScriptCounter::SetActive);
    c.Property("Caption", &TScriptCounter::Caption, &TScriptCounter::SetCaption);
    c.Property("Count", &TScriptCounter::Count, &TScriptCounter::SetCount);
    c.Property("Ratio", &TScriptCounter::Ratio, &TScriptCounter::SetRatio);
    c.Property("Version", &TScriptCounter::Version);
    c.Event("OnChange", &TScriptCounter::OnChange);
}

namespace {

using qs::Variant;

Variant CallObject(rtl::TObject* instance, const rtl::TClassInfo*, const std::string& name, qs::TqsMethodHelper* caller)
{
    if (name == "CREATE") {
        const rtl::TClassInfo* cls = caller->ConstructedClass();
        rtl::TComponent* owner = dynamic_cast<rtl::TComponent*>(caller->GetParam(0).AsObject());
        if (!cls) return Variant(0);
        return Variant::FromObject(cls->Create(owner));
    }
    if (name == "FREE") delete instance;
    return Variant(0);
}

Variant CallCounter(rtl::TObject* instance, const rtl::TClassInfo*, const std::string& name, qs::TqsMethodHelper* caller)
{
    auto* c = dynamic_cast<TScriptCounter*>(instance);
    if (!c) return Variant(0);
    if (name == "ADD") c->SetCount(c->Count() + caller->GetParam(0).AsInteger());
    else if (name == "FIRE") c->Fire();
    else if (name == "ITEMS.GET" || name == "VALUES.GET") return Variant(c->Items(caller->GetParam(0).AsInteger()));
    else if (name == "ITEMS.SET" || name == "VALUES.SET")
        c->SetItems(caller->GetParam(0).AsInteger(), caller->GetParam(1).AsInteger());
    return Variant(0);
}

} // namespace

TTestModule::TTestModule(qs::TqsScript* s) : qs::TqsRTTIModule(s)
{
    if (auto* o = s->AddClass(&rtl::TObject::StaticClassInfo(), "")) {
        o->AddConstructor("constructor Create(AOwner: Variant = 0)", CallObject);
        o->AddMethod("procedure Free", CallObject);
    }
    s->AddClass(&rtl::TPersistent::StaticClassInfo(), "TObject");
    s->AddClass(&rtl::TComponent::StaticClassInfo(), "TPersistent");
    if (auto* c = s->AddClass(&TScriptCounter::StaticClassInfo(), "TComponent")) {
        c->AddMethod("procedure Add(n: Integer)", CallCounter);
        c->AddMethod("procedure Fire", CallCounter);
        c->AddIndexProperty("Items", "Integer", "Integer", CallCounter);
        c->AddDefaultProperty("Values", "Integer", "Integer", CallCounter, true);
        c->AddEvent("OnChange", &qs::qsEventFactory<qs::TqsNotifyEvent>);
    }
}

void RegisterTestModule()
{
    auto* list = qs::GetRTTIModuleList();
    auto f = &qs::qsModuleFactory<TTestModule>;
    if (std::find(list->begin(), list->end(), f) == list->end()) list->push_back(f);
}

} // namespace qstest
