#include "platform/sys/SocketFiles.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace sys::detail {

bool MakeSocketAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

void CloseSocketFile(int& handle, std::string& path)
{
    if (handle >= 0) {
        ::close(handle);
        handle = -1;
        if (!path.empty()) ::unlink(path.c_str());
    }
    path.clear();
}

} // namespace sys::detail
