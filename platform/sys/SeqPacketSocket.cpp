#include "platform/sys/SeqPacketSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include "platform/rtl/Exceptions.h"
#include "platform/sys/XdgFolders.h"
#include "platform/sys/SocketFiles.h"

namespace sys {

namespace {

int NewSocket()
{
    return ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// A poll that is not ended by signals.
int PollRetry(pollfd* fds, nfds_t count, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int left = timeoutMs;
        if (timeoutMs > 0) {
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            left = ms < 0 ? 0 : static_cast<int>(ms);
        }
        int n = ::poll(fds, count, left);
        if (n >= 0 || errno != EINTR) return n;
    }
}

// Room for messages of a few megabytes where the system allows it; the
// system caps the value at its own limit.
void WidenBuffers(int fd)
{
    int size = 4 * 1024 * 1024;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

} // namespace

// --- TWaitEvent ------------------------------------------------------------------

TWaitEvent::TWaitEvent()
{
    FHandle = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (FHandle < 0) throw rtl::Exception(std::string("Cannot create an event: ") + std::strerror(errno));
}

TWaitEvent::~TWaitEvent()
{
    if (FHandle >= 0) ::close(FHandle);
}

void TWaitEvent::Set()
{
    const uint64_t one = 1;
    // The counter only grows; a full counter is still signalled.
    while (::write(FHandle, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void TWaitEvent::Reset()
{
    uint64_t value = 0;
    while (::read(FHandle, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool TWaitEvent::IsSet() const
{
    return WaitFor(0);
}

bool TWaitEvent::WaitFor(int timeoutMs) const
{
    pollfd p{FHandle, POLLIN, 0};
    return PollRetry(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN);
}

// --- TSeqPacketSocket ------------------------------------------------------------

TSeqPacketSocket::~TSeqPacketSocket()
{
    Close();
}

TSeqPacketSocket::TSeqPacketSocket(TSeqPacketSocket&& other) noexcept : FHandle(other.FHandle)
{
    other.FHandle = -1;
}

TSeqPacketSocket& TSeqPacketSocket::operator=(TSeqPacketSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        FHandle = other.FHandle;
        other.FHandle = -1;
    }
    return *this;
}

std::string TSeqPacketSocket::RuntimePath(const std::string& name)
{
    return TXdgFolders::Runtime() + name;
}

std::string TSeqPacketSocket::ComputerName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

bool TSeqPacketSocket::Connect(const std::string& path, int waitMs, int& error)
{
    Close();
    error = 0;
    sockaddr_un address;
    if (!detail::MakeSocketAddress(path, address)) {
        error = ENAMETOOLONG;
        return false;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
    for (;;) {
        int fd = NewSocket();
        if (fd < 0) {
            error = errno;
            return false;
        }
        WidenBuffers(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            FHandle = fd;
            return true;
        }
        error = errno;
        ::close(fd);
        // A full queue of waiting connections is the one state worth
        // waiting for; every other failure is final.
        if (error != EAGAIN && error != EINTR) return false;
        if (Clock::now() >= deadline) {
            error = EAGAIN;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void TSeqPacketSocket::Close()
{
    if (FHandle >= 0) {
        ::shutdown(FHandle, SHUT_RDWR);
        ::close(FHandle);
        FHandle = -1;
    }
}

int TSeqPacketSocket::Send(const void* data, std::size_t count)
{
    if (FHandle < 0) return EBADF;
    for (;;) {
        ssize_t n = ::send(FHandle, data, count, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n >= 0) return static_cast<std::size_t>(n) == count ? 0 : EMSGSIZE;
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return EAGAIN;
        // A peer that closed with messages unread resets the connection:
        // for the sender it has gone all the same.
        if (errno == ECONNRESET) return EPIPE;
        return errno;
    }
}

int TSeqPacketSocket::Receive(std::string& message)
{
    if (FHandle < 0) return EBADF;
    for (;;) {
        // The size of the waiting message first, so that it is read whole.
        char probe = 0;
        ssize_t size = ::recv(FHandle, &probe, 1, MSG_DONTWAIT | MSG_PEEK | MSG_TRUNC);
        if (size < 0) {
            if (errno == EINTR) continue;
            if (errno == EWOULDBLOCK) return EAGAIN;
            if (errno == ECONNRESET) return EPIPE;
            return errno;
        }
        if (size == 0) {
            // Either an empty message or the end of the peer; the peer's
            // end shows as a hang-up.
            pollfd p{FHandle, POLLIN | POLLRDHUP, 0};
            if (PollRetry(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLRDHUP))) {
                // Take what may still be queued before the end.
                ssize_t n = ::recv(FHandle, &probe, 1, MSG_DONTWAIT | MSG_PEEK | MSG_TRUNC);
                if (n <= 0) return EPIPE;
                size = n;
            }
        }
        message.assign(static_cast<std::size_t>(size), '\0');
        ssize_t n = ::recv(FHandle, message.data(), message.size(), MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EWOULDBLOCK) return EAGAIN;
            return errno;
        }
        message.resize(static_cast<std::size_t>(n));
        return 0;
    }
}

TSocketWait TSeqPacketSocket::Wait(const std::vector<const TWaitEvent*>& events, bool wantRead, bool wantWrite,
                                   int timeoutMs) const
{
    TSocketWait result;
    std::vector<pollfd> fds;
    fds.reserve(events.size() + 1);
    for (const TWaitEvent* e : events) fds.push_back({e->FHandle, POLLIN, 0});
    const bool haveSocket = FHandle >= 0 && (wantRead || wantWrite);
    if (haveSocket)
        fds.push_back({FHandle, static_cast<short>((wantRead ? POLLIN | POLLRDHUP : 0) | (wantWrite ? POLLOUT : 0)), 0});
    int n = PollRetry(fds.data(), fds.size(), timeoutMs);
    if (n < 0) {
        result.Error = errno;
        return result;
    }
    if (n == 0) {
        result.TimedOut = true;
        return result;
    }
    for (std::size_t i = 0; i < events.size(); ++i)
        if (fds[i].revents & POLLIN) {
            result.Event = static_cast<int>(i);
            break;
        }
    if (haveSocket) {
        const short r = fds.back().revents;
        result.Readable = (r & (POLLIN | POLLRDHUP)) != 0;
        result.Writable = (r & POLLOUT) != 0;
        result.HungUp = (r & (POLLHUP | POLLRDHUP | POLLERR)) != 0;
    }
    return result;
}

// --- TSeqPacketListener ------------------------------------------------------------

TSeqPacketListener::~TSeqPacketListener()
{
    Close();
}

bool TSeqPacketListener::Listen(const std::string& path, int& error, int backlog)
{
    Close();
    error = 0;
    sockaddr_un address;
    if (!detail::MakeSocketAddress(path, address)) {
        error = ENAMETOOLONG;
        return false;
    }
    int fd = NewSocket();
    if (fd < 0) {
        error = errno;
        return false;
    }
    WidenBuffers(fd);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        // A socket file of a server that has gone answers no connection:
        // take its place.  A live server keeps its name.
        bool replaced = false;
        struct stat st{};
        if (error == EADDRINUSE && ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
            int probe = NewSocket();
            const bool alive = probe >= 0 &&
                               (::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
                                errno == EAGAIN);
            if (probe >= 0) ::close(probe);
            if (!alive && ::unlink(path.c_str()) == 0)
                replaced = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (!replaced && !alive) error = errno;
        }
        if (!replaced) {
            ::close(fd);
            return false;
        }
        error = 0;
    }
    if (::listen(fd, backlog) != 0) {
        error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    FHandle = fd;
    FPath = path;
    return true;
}

bool TSeqPacketListener::Accept(TSeqPacketSocket& client, int waitMs, const TWaitEvent* stop)
{
    if (FHandle < 0) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
    for (;;) {
        int fd = ::accept4(FHandle, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            WidenBuffers(fd);
            client = TSeqPacketSocket();
            client.FHandle = fd;
            return true;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) return false;
        int left = -1;
        if (waitMs >= 0) {
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (ms <= 0) return false;
            left = static_cast<int>(ms);
        }
        pollfd fds[2] = {{FHandle, POLLIN, 0}, {stop ? stop->FHandle : -1, POLLIN, 0}};
        int n = PollRetry(fds, stop ? 2 : 1, left);
        if (n < 0) return false;
        if (stop && (fds[1].revents & POLLIN)) return false;
    }
}

void TSeqPacketListener::Close()
{
    detail::CloseSocketFile(FHandle, FPath);
}

} // namespace sys
