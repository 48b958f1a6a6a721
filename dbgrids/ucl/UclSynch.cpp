#include "dbgrids/ucl/UclSynch.h"

#include "platform/sys/NamedObjects.h"

namespace ucl {

TUclWaitResult WaitResultOf(uint32_t raw)
{
    switch (raw) {
    case 0: return TUclWaitResult::wrSignaled;
    case 0x80: return TUclWaitResult::wrAbandoned;
    case 0xC0: return TUclWaitResult::wrIoCompletion;
    case 0x102: return TUclWaitResult::wrTimeout;
    default: return TUclWaitResult::wrError;
    }
}

TUclDispatcherObject::TUclDispatcherObject() : FHandle(std::make_unique<sys::TNamedMutex>()) {}
TUclDispatcherObject::~TUclDispatcherObject() = default;

TUclWaitResult TUclDispatcherObject::WaitFor(uint32_t timeOut)
{
    if (!FHandle) return TUclWaitResult::wrError;
    switch (FHandle->Wait(timeOut)) {
    case sys::TWaitAnswer::Signaled: return TUclWaitResult::wrSignaled;
    case sys::TWaitAnswer::Abandoned: return TUclWaitResult::wrAbandoned;
    case sys::TWaitAnswer::Timeout: return TUclWaitResult::wrTimeout;
    default: return TUclWaitResult::wrError;
    }
}

std::unique_ptr<TUclDispatcherObject> TUclDispatcherObject::Attach(std::unique_ptr<sys::TNamedMutex> handle)
{
    std::unique_ptr<TUclDispatcherObject> object(new TUclDispatcherObject());
    object->FHandle = std::move(handle);
    object->FExisted = true;
    return object;
}

TUclWaitResult TUclDispatcherObject::SignalAndWait(TUclDispatcherObject& obj, uint32_t timeOut, bool alertable)
{
    if (!obj.FHandle || !obj.FHandle->Release()) return TUclWaitResult::wrError;
    return alertable ? WaitAlertable(timeOut) : WaitFor(timeOut);
}

TUclMutex::TUclMutex(bool initialOwner, const std::string& name)
{
    FName = name;
    bool existed = false;
    if (int err = FHandle->Create(name, initialOwner, existed)) throw EUclMutexError(static_cast<uint32_t>(err), "Failed to create mutex");
    FExisted = existed;
}

std::unique_ptr<TUclMutex> TUclMutex::Open(const std::string& name)
{
    std::unique_ptr<TUclMutex> m(new TUclMutex());
    if (int err = m->FHandle->Open(name)) throw EUclMutexError(static_cast<uint32_t>(err), "Failed to open mutex");
    m->FName = name;
    m->FExisted = true;
    return m;
}

bool TUclMutex::Release()
{
    return FHandle->Release();
}

std::shared_ptr<void> TUclIntfCriticalSection::Lock()
{
    FCriticalSection.lock();
    return std::shared_ptr<void>(&FCriticalSection,
                                 [](void* m) { static_cast<std::recursive_mutex*>(m)->unlock(); });
}

void TUclCriticalSection::CreateAndEnter(std::atomic<TUclCriticalSection*>& cs)
{
    TUclCriticalSection* expected = nullptr;
    auto* fresh = new TUclCriticalSection();
    if (!cs.compare_exchange_strong(expected, fresh)) delete fresh;
    cs.load()->Enter();
}

} // namespace ucl
