#include "platform/sys/WindowMessages.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/sys/WindowSockets.h"
#include "platform/sys/SocketFiles.h"

namespace sys {

namespace {

constexpr std::size_t DatagramSize = 20;

} // namespace

bool PostWindowClassMessage(const std::string& windowClass, uint32_t msg, int64_t wParam, int64_t lParam)
{
    if (!TWindowSockets::Exists(windowClass)) return false;
    sockaddr_un address;
    if (!detail::MakeSocketAddress(TWindowSockets::SocketPath(windowClass), address)) return false;
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    unsigned char datagram[DatagramSize];
    std::memcpy(datagram, &msg, 4);
    std::memcpy(datagram + 4, &wParam, 8);
    std::memcpy(datagram + 12, &lParam, 8);
    ssize_t n;
    do {
        n = ::sendto(fd, datagram, sizeof datagram, MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<sockaddr*>(&address), sizeof address);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n == static_cast<ssize_t>(sizeof datagram);
}

TWindowClassSocket::~TWindowClassSocket()
{
    Close();
}

bool TWindowClassSocket::Open(const std::string& windowClass, int& error)
{
    Close();
    error = 0;
    const std::string path = TWindowSockets::SocketPath(windowClass);
    sockaddr_un address;
    if (windowClass.empty() || windowClass.find('/') != std::string::npos ||
        !detail::MakeSocketAddress(path, address)) {
        error = ENAMETOOLONG;
        return false;
    }
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = errno;
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        // A datagram socket file left behind cannot tell whether its owner
        // lives; a test send that is refused says it does not.
        struct stat st{};
        bool replaced = false;
        if (errno == EADDRINUSE && ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
            int probe = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            const bool alive = probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (probe >= 0) ::close(probe);
            if (!alive && ::unlink(path.c_str()) == 0)
                replaced = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        }
        if (!replaced) {
            error = errno ? errno : EADDRINUSE;
            ::close(fd);
            return false;
        }
    }
    FHandle = fd;
    FPath = path;
    return true;
}

bool TWindowClassSocket::Receive(TWindowMessage& message, int waitMs)
{
    if (FHandle < 0) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
    for (;;) {
        unsigned char datagram[DatagramSize + 1];
        ssize_t n = ::recv(FHandle, datagram, sizeof datagram, MSG_DONTWAIT);
        if (n == static_cast<ssize_t>(DatagramSize)) {
            std::memcpy(&message.Msg, datagram, 4);
            std::memcpy(&message.WParam, datagram + 4, 8);
            std::memcpy(&message.LParam, datagram + 12, 8);
            return true;
        }
        if (n >= 0 || errno == EINTR) continue;  // malformed: skipped
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        int left = -1;
        if (waitMs >= 0) {
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (ms <= 0) return false;
            left = static_cast<int>(ms);
        }
        pollfd p{FHandle, POLLIN, 0};
        if (::poll(&p, 1, left) < 0 && errno != EINTR) return false;
    }
}

void TWindowClassSocket::Close()
{
    detail::CloseSocketFile(FHandle, FPath);
}

} // namespace sys
