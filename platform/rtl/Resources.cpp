// The resource registry: a table filled at static-initialisation time by the
// generated registration code and searched by type and name or number.

#include "platform/rtl/Resources.h"

#include <charconv>
#include <mutex>

namespace rtl {

namespace {

struct TRegistry {
    std::mutex Lock;
    std::vector<const TResource*> Items;
};

// Constructed on first use, so registrations from any translation unit's
// static initialisers find it ready.
TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

// "#123" is the number 123; anything else is a name.
bool ParseNumberName(std::string_view name, int32_t& id)
{
    if (name.size() < 2 || name[0] != '#')
        return false;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), id);
    return ec == std::errc() && end == name.data() + name.size() && id >= 0;
}

bool SameKey(const TResource& a, const TResource& b)
{
    if (a.Type != b.Type)
        return false;
    if (!a.Name.empty() || !b.Name.empty())
        return SameName(a.Name, b.Name);
    return a.Id == b.Id;
}

} // namespace

std::string_view ResourceTypeName(TResourceType type)
{
    switch (type) {
    case TResourceType::Cursor: return "CURSOR";
    case TResourceType::Bitmap: return "BITMAP";
    case TResourceType::Icon: return "ICON";
    case TResourceType::StringTable: return "STRING";
    case TResourceType::RCData: return "RCDATA";
    case TResourceType::PNG: return "PNG";
    }
    return "";
}

void RegisterResources(const TResource* resources, size_t count)
{
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    for (size_t i = 0; i < count; ++i) {
        const TResource& r = resources[i];
        bool known = false;
        for (const TResource* item : registry.Items)
            if (SameKey(*item, r)) {
                known = true;
                break;
            }
        if (!known)
            registry.Items.push_back(&r);
    }
}

const TResource* FindResource(std::string_view name, TResourceType type)
{
    int32_t id;
    if (ParseNumberName(name, id))
        return FindResource(id, type);
    if (name.empty())
        return nullptr;
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    for (const TResource* item : registry.Items)
        if (item->Type == type && SameName(item->Name, name))
            return item;
    return nullptr;
}

const TResource* FindResource(int32_t id, TResourceType type)
{
    if (id < 0)
        return nullptr;
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    for (const TResource* item : registry.Items)
        if (item->Type == type && item->Id == id)
            return item;
    return nullptr;
}

std::vector<const TResource*> Resources()
{
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    return registry.Items;
}

} // namespace rtl
