#include "dbgrids/ucl/UclSysUtils.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "dbgrids/ucl/UclSynch.h"
#include "dbgrids/ucl/UclSysInfo.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/NamedObjects.h"

namespace ucl {

namespace {

struct TMMFHandleListItem {
    TMMFHandleListItem* Next = nullptr;
    void* Memory = nullptr;
    sys::TSharedBlock Handle;
    std::string Name;
    int References = 0;
};

TMMFHandleListItem* gHead = nullptr;
std::atomic<TUclIntfCriticalSection*> gListLock{nullptr};
std::atomic<bool> gFinalized{false};

[[noreturn]] void RaiseOSError(int err)
{
    throw rtl::EOSError("System Error.  Code: " + std::to_string(err) + ".\r\n" + sys::SystemErrorText(err));
}

} // namespace

std::shared_ptr<void> LockSharedMemoryList()
{
    TUclIntfCriticalSection* lock = gListLock.load();
    if (!lock) {
        if (gFinalized) return nullptr;
        auto* fresh = new TUclIntfCriticalSection();
        TUclIntfCriticalSection* expected = nullptr;
        if (!gListLock.compare_exchange_strong(expected, fresh)) delete fresh;
        lock = gListLock.load();
    }
    return lock->Lock();
}

int AcquireSharedMemory(void*& p, const std::string& name, size_t size, uint32_t desiredAccess)
{
    (void)desiredAccess;  // every block here is mapped for reading and writing
    p = nullptr;
    if (IsWindowsReleaseBefore2000(GetWindowsRelease()) && (name.empty() || name.find('\\') != std::string::npos))
        throw ESharedMemError("Invalid MMF name \"" + name + "\"");
    auto guard = LockSharedMemoryList();
    for (TMMFHandleListItem* it = gHead; it; it = it->Next)
        if (rtl::AnsiSameText(it->Name, name)) {
            ++it->References;
            p = it->Memory;
            return kErrorAlreadyExists;
        }
    auto item = std::make_unique<TMMFHandleListItem>();
    bool existed = false;
    int err = sys::OpenSharedBlock(name, size, size > 0, item->Handle, existed);
    if (err == ENOENT && size == 0) throw ESharedMemError("The MMF named \"" + name + "\" cannot be created empty");
    if (err) RaiseOSError(err);
    item->Memory = item->Handle.Memory;
    item->Name = name;
    item->References = 1;
    item->Next = gHead;
    p = item->Memory;
    gHead = item.release();
    return existed ? kErrorAlreadyExists : 0;
}

bool ReleaseSharedMemory(void*& p)
{
    if (!p) return true;
    auto guard = LockSharedMemoryList();
    TMMFHandleListItem** link = &gHead;
    for (TMMFHandleListItem* it = gHead; it; link = &it->Next, it = it->Next) {
        if (it->Memory != p) continue;
        if (it->References < 2) {
            sys::CloseSharedBlock(it->Handle);
            *link = it->Next;
            delete it;
        } else {
            --it->References;
        }
        p = nullptr;
        return true;
    }
    return false;
}

void FinalizeUclSysUtils()
{
    gFinalized = true;
    // The lock itself stays: a late release from another finalisation may
    // still take it.
}

std::string GuidToText(const TGUID& g)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "{%.8X-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X}", g.D1, g.D2, g.D3, g.D4[0],
                  g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6], g.D4[7]);
    return buf;
}

void ZeroMemoryBlock(void* p, int64_t size)
{
    if (size > 0) std::memset(p, 0, static_cast<size_t>(size));
}

void FreeModuleHandle(sys::TModuleHandle& module)
{
    if (module != 0) sys::FreeModule(module);
    module = 0;
}

} // namespace ucl
