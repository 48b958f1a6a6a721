#include "script/qs_idisp.h"

#include "platform/rtl/OleClasses.h"
#include "platform/rtl/Strings.h"

namespace qs {

namespace {

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

// The registry itself lives in platform/rtl, shared with the grid's XML import.
void RegisterOleClass(const std::string& ProgID, TqsOleFactory Factory)
{
    rtl::RegisterOleClass(ProgID, std::move(Factory));
}

void UnregisterOleClass(const std::string& ProgID) { rtl::UnregisterOleClass(ProgID); }

Variant CreateOleObject(const std::string& ProgID) { return rtl::CreateOleObject(ProgID); }

} // namespace qs
