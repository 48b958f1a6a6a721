// Synchronisation objects of the utility library: the named mutex (shared
// between processes by name), the in-process critical section, and the
// wait answers they give.
//
// The one rule: a wait that answers wrAbandoned owns the mutex (its owner
// died holding it) and must release it.
//
//   ucl::TUclMutex m(false, "MutexNPA_Demo");
//   if (m.Acquire(ucl::kInfiniteWait)) { ...; m.Release(); }
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "dbgrids/ucl/UclWin32.h"

namespace sys { class TNamedMutex; }

namespace ucl {

constexpr uint32_t kInfiniteWait = 0xFFFFFFFFu;

enum class TUclWaitResult { wrAbandoned, wrError, wrIoCompletion, wrSignaled, wrTimeout };

// The raw wait codes: 0 signalled, $80 abandoned, $C0 I/O completion,
// $102 time-out, anything else an error.
TUclWaitResult WaitResultOf(uint32_t raw);

class TUclDispatcherObject {
public:
    virtual ~TUclDispatcherObject();
    bool Existed() const { return FExisted; }
    const std::string& Name() const { return FName; }
    TUclWaitResult WaitFor(uint32_t timeOut);
    TUclWaitResult WaitForever() { return WaitFor(kInfiniteWait); }

protected:
    TUclDispatcherObject();
    bool FExisted = false;
    std::string FName;
    std::unique_ptr<sys::TNamedMutex> FHandle;
};

class TUclMutex : public TUclDispatcherObject {
public:
    // Creates or opens the named mutex; Existed() tells whether it was
    // there already.  Failure raises EUclMutexError "Failed to create mutex".
    TUclMutex(bool initialOwner, const std::string& name);
    // Opens an existing mutex; failure raises EUclMutexError "Failed to
    // open mutex".
    static std::unique_ptr<TUclMutex> Open(const std::string& name);
    bool Acquire(uint32_t timeOut = kInfiniteWait) { return WaitFor(timeOut) == TUclWaitResult::wrSignaled; }
    bool Release();

private:
    TUclMutex() = default;
};

class TUclCriticalSection {
public:
    virtual ~TUclCriticalSection() = default;
    void Enter() { FSection.lock(); }
    void Leave() { FSection.unlock(); }
    // Installs a new section into cs when cs is still empty (racing threads
    // end up in the same one) and enters whatever cs holds.
    static void CreateAndEnter(std::atomic<TUclCriticalSection*>& cs);

private:
    std::recursive_mutex FSection;
};

} // namespace ucl
