#include "platform/sys/WindowSockets.h"

#include <sys/stat.h>

#include "platform/sys/XdgFolders.h"

namespace sys {

std::string TWindowSockets::SocketPath(const std::string& windowClass)
{
    return TXdgFolders::Runtime() + windowClass;
}

bool TWindowSockets::Exists(const std::string& windowClass)
{
    if (windowClass.empty() || windowClass.find('/') != std::string::npos) return false;
    struct stat st{};
    return ::stat(SocketPath(windowClass).c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

} // namespace sys
