// OleClasses: the automation class registry.
#include "platform/rtl/OleClasses.h"

#include <map>
#include <mutex>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace rtl {

namespace {

struct TRegistry {
    std::mutex Lock;
    std::map<std::string, TOleFactory> Classes;
    std::map<std::string, Variant> Active;
};

TRegistry& Registry()
{
    static TRegistry r;
    return r;
}

} // namespace

void RegisterOleClass(const std::string& progID, TOleFactory factory)
{
    std::lock_guard<std::mutex> g(Registry().Lock);
    Registry().Classes[AnsiUpperCase(progID)] = std::move(factory);
}

void UnregisterOleClass(const std::string& progID)
{
    std::lock_guard<std::mutex> g(Registry().Lock);
    Registry().Classes.erase(AnsiUpperCase(progID));
}

Variant CreateOleObject(const std::string& progID)
{
    TOleFactory factory;
    {
        std::lock_guard<std::mutex> g(Registry().Lock);
        auto it = Registry().Classes.find(AnsiUpperCase(progID));
        if (it != Registry().Classes.end()) factory = it->second;
    }
    if (!factory) throw Exception("Invalid class string");
    return Variant(factory());
}

void RegisterActiveOleObject(const std::string& progID, const Variant& object)
{
    std::lock_guard<std::mutex> g(Registry().Lock);
    Registry().Active[AnsiUpperCase(progID)] = object;
}

void RevokeActiveOleObject(const std::string& progID)
{
    std::lock_guard<std::mutex> g(Registry().Lock);
    Registry().Active.erase(AnsiUpperCase(progID));
}

bool GetActiveOleObject(const std::string& progID, Variant& object)
{
    std::lock_guard<std::mutex> g(Registry().Lock);
    auto it = Registry().Active.find(AnsiUpperCase(progID));
    if (it == Registry().Active.end()) return false;
    object = it->second;
    return true;
}

} // namespace rtl
