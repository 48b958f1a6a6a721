#include "script/qs_idisp.h"

#include <map>

#include "platform/rtl/Strings.h"

namespace qs {

namespace {

std::map<std::string, TqsOleFactory>& OleClasses()
{
    static std::map<std::string, TqsOleFactory> classes;
    return classes;
}

// The failing member's text in the automation error form.
[[noreturn]] void RaiseOleError(const std::string& member, const std::string& message)
{
    throw rtl::Exception("OLE error 80020009: " + member + ": " + message);
}

} // namespace

TqsCustomHelper* NewOLEHelper(const std::string& name) { return new TqsOLEHelper(name); }

TqsOLEHelper::TqsOLEHelper(const std::string& Name) : TqsCustomHelper(Name, fvtVariant, "") {}

Variant TqsOLEHelper::GetValue()
{
    auto obj = FParentValue.AsDispatch();
    if (!obj) RaiseOleError(FName, "Object is nil");
    std::vector<Variant> args;
    for (int i = 0; i < Count(); ++i) args.push_back(Params(i)->GetValue());
    try {
        if (FNeedResult) return obj->GetProperty(FName, args);
        obj->Call(FName, args);
    } catch (const rtl::Exception& e) {
        RaiseOleError(FName, e.Message());
    }
    return Variant::Null();
}

void TqsOLEHelper::SetValue(const Variant& value)
{
    auto obj = FParentValue.AsDispatch();
    if (!obj) RaiseOleError(FName, "Object is nil");
    std::vector<Variant> args;
    for (int i = 0; i < Count(); ++i) args.push_back(Params(i)->GetValue());
    try {
        obj->SetProperty(FName, args, value);
    } catch (const rtl::Exception& e) {
        RaiseOleError(FName, e.Message());
    }
}

void RegisterOleClass(const std::string& ProgID, TqsOleFactory Factory)
{
    OleClasses()[rtl::AnsiUpperCase(ProgID)] = std::move(Factory);
}

void UnregisterOleClass(const std::string& ProgID) { OleClasses().erase(rtl::AnsiUpperCase(ProgID)); }

Variant CreateOleObject(const std::string& ProgID)
{
    auto it = OleClasses().find(rtl::AnsiUpperCase(ProgID));
    if (it == OleClasses().end() || !it->second) throw rtl::Exception("Invalid class string");
    return Variant(it->second());
}

} // namespace qs
