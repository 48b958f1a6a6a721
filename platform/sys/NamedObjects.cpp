#include "platform/sys/NamedObjects.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace sys {

namespace {

// Every mapping starts with this header; the caller's bytes follow at
// kDataOffset.  The creator fills the header (and runs the initialiser on
// the data) before it sets Ready, so openers never see half a block.
constexpr int kSlots = 64;
struct THeader {
    std::atomic<uint32_t> Ready;
    uint32_t Reserved;
    uint64_t DataSize;
    std::atomic<int64_t> Holders[kSlots];  // the openers, as HolderId gives them
};
constexpr size_t kDataOffset = (sizeof(THeader) + 63) / 64 * 64;

// POSIX names are "/x" with no further "/": the name's bytes are kept,
// "/" and "%" escaped.  The prefix names the header's layout, so a block
// of an older layout left in the system is never read with this one.
std::string PosixName(const std::string& name)
{
    std::string out = "/tec2.";
    for (char c : name) {
        if (c == '/') out += "%2F";
        else if (c == '%') out += "%25";
        else out += c;
    }
    return out;
}

// When the process started, in clock ticks since boot (0 when unknown).
// With the process id it names one process: ids are reused, and a block
// named after a process id outlives a process that died without closing it.
uint32_t StartTime(int32_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return 0;
    // The command name in parentheses may hold spaces and parentheses of its own.
    auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    const char* p = line.c_str() + close + 1;
    // The start time is the 20th field after the name (the 22nd of the line).
    for (int field = 0; field < 20 && *p; ++p)
        if (*p == ' ') ++field;
    return static_cast<uint32_t>(std::strtoull(p, nullptr, 10));
}

int64_t HolderId(int32_t pid, uint32_t start)
{
    return static_cast<int64_t>((static_cast<uint64_t>(start) << 32) | static_cast<uint32_t>(pid));
}

int64_t SelfId()
{
    static const int64_t self = [] {
        int32_t pid = static_cast<int32_t>(::getpid());
        return HolderId(pid, StartTime(pid));
    }();
    // A forked child has a process id of its own.
    int32_t pid = static_cast<int32_t>(::getpid());
    return static_cast<int32_t>(self & 0xFFFFFFFF) == pid ? self : HolderId(pid, StartTime(pid));
}

bool Alive(int64_t holder)
{
    int32_t pid = static_cast<int32_t>(holder & 0xFFFFFFFF);
    uint32_t start = static_cast<uint32_t>(static_cast<uint64_t>(holder) >> 32);
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM)) return false;
    if (start == 0) return true;
    // Another process now has that id when it started at another time.
    uint32_t now = StartTime(pid);
    return now == 0 ? ::kill(pid, 0) == 0 || errno == EPERM : now == start;
}

bool AnyHolderAlive(THeader* h)
{
    for (int i = 0; i < kSlots; ++i)
        if (Alive(h->Holders[i].load())) return true;
    return false;
}

int TakeSlot(THeader* h)
{
    int64_t self = SelfId();
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < kSlots; ++i) {
            int64_t cur = h->Holders[i].load();
            if (cur == 0 || (pass == 1 && !Alive(cur)))
                if (h->Holders[i].compare_exchange_strong(cur, self)) return i;
        }
    return -1;  // more holders than slots: the name is then never removed early
}

int OpenImpl(const std::string& name, size_t size, bool create, TSharedBlock& block, bool& existed,
             const std::function<void(void*)>& init)
{
    block = TSharedBlock{};
    existed = false;
    std::string posix = PosixName(name);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (create && size > 0) {
            int fd = ::shm_open(posix.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
            if (fd >= 0) {
                size_t total = kDataOffset + size;
                if (::ftruncate(fd, static_cast<off_t>(total)) != 0) {
                    int err = errno;
                    ::close(fd);
                    ::shm_unlink(posix.c_str());
                    return err;
                }
                void* map = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
                int err = errno;
                ::close(fd);
                if (map == MAP_FAILED) {
                    ::shm_unlink(posix.c_str());
                    return err;
                }
                auto* h = static_cast<THeader*>(map);
                h->DataSize = size;
                char* data = static_cast<char*>(map) + kDataOffset;
                if (init) init(data);
                block.FSlot = TakeSlot(h);
                h->Ready.store(1, std::memory_order_release);
                block.Memory = data;
                block.Size = size;
                block.FMapping = map;
                block.FMappingSize = total;
                block.FName = posix;
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        int fd = ::shm_open(posix.c_str(), O_RDWR, 0600);
        if (fd < 0) {
            if (errno == ENOENT && create && size > 0) continue;  // removed meanwhile: create it
            return errno;
        }
        // The creator may still be sizing the block.
        struct stat st{};
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) < kDataOffset &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (static_cast<size_t>(st.st_size) < kDataOffset) {
            ::close(fd);
            return EAGAIN;
        }
        size_t total = static_cast<size_t>(st.st_size);
        void* map = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        int err = errno;
        ::close(fd);
        if (map == MAP_FAILED) return err;
        auto* h = static_cast<THeader*>(map);
        while (h->Ready.load(std::memory_order_acquire) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Left by processes that all ended without closing it: its bytes
        // (pointers into their memory, say) mean nothing now.  It goes, and
        // the caller gets a new one or none.
        if (h->Ready.load(std::memory_order_acquire) != 0 && !AnyHolderAlive(h)) {
            ::munmap(map, total);
            ::shm_unlink(posix.c_str());
            if (create && size > 0) continue;
            return ENOENT;
        }
        if (h->Ready.load(std::memory_order_acquire) == 0 || size > h->DataSize) {
            ::munmap(map, total);
            return h->Ready.load() == 0 ? EAGAIN : EINVAL;
        }
        block.FSlot = TakeSlot(h);
        block.Memory = static_cast<char*>(map) + kDataOffset;
        block.Size = size == 0 ? static_cast<size_t>(h->DataSize) : size;
        block.FMapping = map;
        block.FMappingSize = total;
        block.FName = posix;
        existed = true;
        return 0;
    }
    return EAGAIN;
}

} // namespace

std::string SystemErrorText(int error)
{
    char buf[256];
    return ::strerror_r(error, buf, sizeof buf);
}

int CurrentProcessId()
{
    return static_cast<int>(::getpid());
}

int OpenSharedBlock(const std::string& name, size_t size, bool create, TSharedBlock& block, bool& existed)
{
    return OpenImpl(name, size, create, block, existed, nullptr);
}

void CloseSharedBlock(TSharedBlock& block)
{
    if (!block.FMapping) return;
    auto* h = static_cast<THeader*>(block.FMapping);
    if (block.FSlot >= 0) h->Holders[block.FSlot].store(0);
    bool held = block.FSlot < 0 || AnyHolderAlive(h);
    ::munmap(block.FMapping, block.FMappingSize);
    if (!held) ::shm_unlink(block.FName.c_str());
    block = TSharedBlock{};
}

TNamedMutex::~TNamedMutex()
{
    Close();
}

int TNamedMutex::Create(const std::string& name, bool initialOwner, bool& existed)
{
    Close();
    int err = OpenImpl("mutex." + name, sizeof(pthread_mutex_t), true, FBlock, existed, [](void* p) {
        pthread_mutexattr_t attr;
        ::pthread_mutexattr_init(&attr);
        ::pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
        ::pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
        ::pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
        ::pthread_mutex_init(static_cast<pthread_mutex_t*>(p), &attr);
        ::pthread_mutexattr_destroy(&attr);
    });
    if (err == 0 && initialOwner) Wait(kInfinite);
    return err;
}

int TNamedMutex::Open(const std::string& name)
{
    Close();
    bool existed = false;
    return OpenImpl("mutex." + name, sizeof(pthread_mutex_t), false, FBlock, existed, nullptr);
}

TWaitAnswer TNamedMutex::Wait(uint32_t timeoutMs)
{
    if (!FBlock.Memory) return TWaitAnswer::Error;
    auto* m = static_cast<pthread_mutex_t*>(FBlock.Memory);
    int rc;
    if (timeoutMs == kInfinite) {
        rc = ::pthread_mutex_lock(m);
    } else if (timeoutMs == 0) {
        rc = ::pthread_mutex_trylock(m);
    } else {
        timespec ts{};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        ts.tv_sec += timeoutMs / 1000;
        ts.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
        if (ts.tv_nsec >= 1000000000L) {
            ts.tv_sec += 1;
            ts.tv_nsec -= 1000000000L;
        }
        rc = ::pthread_mutex_timedlock(m, &ts);
    }
    switch (rc) {
    case 0: ++FDepth; return TWaitAnswer::Signaled;
    case EOWNERDEAD: ::pthread_mutex_consistent(m); ++FDepth; return TWaitAnswer::Abandoned;
    case EBUSY:
    case ETIMEDOUT: return TWaitAnswer::Timeout;
    default: return TWaitAnswer::Error;
    }
}

bool TNamedMutex::Release()
{
    if (!FBlock.Memory) return false;
    if (::pthread_mutex_unlock(static_cast<pthread_mutex_t*>(FBlock.Memory)) != 0) return false;
    if (FDepth > 0) --FDepth;
    return true;
}

void TNamedMutex::Close()
{
    if (FDepth > 0) {
        FBlock = TSharedBlock{};  // the mapping stays for the kernel's robust-list walk
        FDepth = 0;
        return;
    }
    CloseSharedBlock(FBlock);
}

} // namespace sys
