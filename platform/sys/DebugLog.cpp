#include "platform/sys/DebugLog.h"

#include <cstdio>

namespace sys {

namespace {
std::function<void(const std::string&)>& Handler()
{
    static std::function<void(const std::string&)> h;
    return h;
}
} // namespace

void OutputDebugString(const std::string& line)
{
    if (Handler()) {
        Handler()(line);
        return;
    }
    std::fprintf(stderr, "debug: %s\n", line.c_str());
}

void SetDebugLogHandler(std::function<void(const std::string&)> handler) { Handler() = std::move(handler); }

} // namespace sys
