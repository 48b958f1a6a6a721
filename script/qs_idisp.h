// Late binding of automation objects: a designator step that calls a
// member of an automation object (a Variant holding an IDispatchObject) by
// name at run time, and the registry through which CreateOleObject makes
// such objects from a programmatic name.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "script/qs_iinterpreter.h"

namespace qs {

class TqsOLEHelper : public TqsCustomHelper {
public:
    explicit TqsOLEHelper(const std::string& Name);
    Variant GetValue() override;
    void SetValue(const Variant& value) override;
};

using TqsOleFactory = std::function<std::shared_ptr<rtl::IDispatchObject>()>;
// Makes a programmatic name known to CreateOleObject (names compared
// without regard to case).
void RegisterOleClass(const std::string& ProgID, TqsOleFactory Factory);
void UnregisterOleClass(const std::string& ProgID);
// The object of that name; raises "Invalid class string" for an unknown one.
Variant CreateOleObject(const std::string& ProgID);

} // namespace qs
