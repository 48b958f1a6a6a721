#include "platform/sys/Modules.h"

#include <dlfcn.h>

namespace sys {

TModuleHandle LoadModule(const std::string& fileName)
{
    return reinterpret_cast<TModuleHandle>(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* ModuleSymbol(TModuleHandle module, const std::string& name)
{
    return module ? dlsym(reinterpret_cast<void*>(module), name.c_str()) : nullptr;
}

bool FreeModule(TModuleHandle module)
{
    return module && dlclose(reinterpret_cast<void*>(module)) == 0;
}

} // namespace sys
