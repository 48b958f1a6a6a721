// Registered window messages: numbers of the program's own, by name.
#include <map>
#include <mutex>

#include "platform/gui/Controls.h"
#include "platform/rtl/Strings.h"

namespace gui {

uint32_t RegisterWindowMessage(const std::string& name)
{
    static std::mutex lock;
    static std::map<std::string, uint32_t> numbers;
    std::lock_guard<std::mutex> guard(lock);
    const std::string key = rtl::UpperCase(name);
    auto it = numbers.find(key);
    if (it != numbers.end()) return it->second;
    const uint32_t id = 0xC000 + static_cast<uint32_t>(numbers.size());
    numbers.emplace(key, id);
    return id;
}

} // namespace gui
