// OleClasses: the automation class registry.  Programmatic names ("ProgIDs",
// compared without regard to case) map to factories of late-bound objects
// (IDispatchObject); the script interpreter's CreateOleObject and the
// grid's XML import both create their objects here.
//
// The rule a caller must know: register at start-up; an unknown name
// raises "Invalid class string".
//
//   rtl::RegisterOleClass("Sample.Thing", [] { return std::make_shared<TThing>(); });
//   rtl::Variant v = rtl::CreateOleObject("sample.thing");   // v.AsDispatch()->Call(...)
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Variant.h"

namespace rtl {

using TOleFactory = std::function<std::shared_ptr<IDispatchObject>()>;

void RegisterOleClass(const std::string& progID, TOleFactory factory);
void UnregisterOleClass(const std::string& progID);
Variant CreateOleObject(const std::string& progID);

// Running instances: an object registered as active under a ProgID is
// what GetActiveOleObject returns (false when none is registered).
void RegisterActiveOleObject(const std::string& progID, const Variant& object);
void RevokeActiveOleObject(const std::string& progID);
bool GetActiveOleObject(const std::string& progID, Variant& object);

} // namespace rtl
