// Shared libraries loaded at run time, by file name (the system's search
// path applies to a bare name).  A handle of 0 is "none".
//
// The one rule: every handle LoadModule gives must be freed once with
// FreeModule (ucl::FreeModuleHandle does that and clears the variable).
//
//   sys::TModuleHandle m = sys::LoadModule("libm.so.6");
//   if (m && sys::ModuleSymbol(m, "cos")) { ... }
//   sys::FreeModule(m);
#pragma once

#include <cstdint>
#include <string>

namespace sys {

using TModuleHandle = uintptr_t;

// The library's handle, or 0 when it cannot be loaded.
TModuleHandle LoadModule(const std::string& fileName);
// The address of an exported name, or nullptr.
void* ModuleSymbol(TModuleHandle module, const std::string& name);
// Drops one load of the library; false for 0 or a failure.
bool FreeModule(TModuleHandle module);

} // namespace sys
