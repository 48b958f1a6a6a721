#include "platform/rtl/IdentMaps.h"

#include <map>
#include <mutex>

#include "platform/rtl/Strings.h"

namespace rtl {

namespace {
struct TMaps {
    TIdentToInt ToInt;
    TIntToIdent ToIdent;
};
std::mutex gLock;
std::map<const TTypeInfo*, TMaps>& Registry()
{
    static auto* r = new std::map<const TTypeInfo*, TMaps>();
    return *r;
}
} // namespace

void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent)
{
    std::lock_guard<std::mutex> g(gLock);
    Registry()[type] = {std::move(identToInt), std::move(intToIdent)};
}

TIdentToInt FindIdentToInt(const TTypeInfo* type)
{
    std::lock_guard<std::mutex> g(gLock);
    auto it = Registry().find(type);
    return it == Registry().end() ? TIdentToInt() : it->second.ToInt;
}

TIntToIdent FindIntToIdent(const TTypeInfo* type)
{
    std::lock_guard<std::mutex> g(gLock);
    auto it = Registry().find(type);
    return it == Registry().end() ? TIntToIdent() : it->second.ToIdent;
}

bool IdentToInt(const std::string& ident, int32_t& value, const std::vector<TIdentMapEntry>& map)
{
    for (const auto& e : map)
        if (SameText(ident, e.Name)) {
            value = e.Value;
            return true;
        }
    return false;
}

bool IntToIdent(int32_t value, std::string& ident, const std::vector<TIdentMapEntry>& map)
{
    for (const auto& e : map)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

} // namespace rtl
