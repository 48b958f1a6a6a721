// Synchronisation objects of the utility library: the named mutex (shared
// between processes by name), the in-process critical sections (one held
// through references), and the wait answers they give.
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
    // Wraps a handle opened elsewhere (say by sys::TNamedMutex::Open); the
    // object owns it from now on.  Existed() is true, Name() empty.
    static std::unique_ptr<TUclDispatcherObject> Attach(std::unique_ptr<sys::TNamedMutex> handle);
    bool Existed() const { return FExisted; }
    sys::TNamedMutex* Handle() const { return FHandle.get(); }
    const std::string& Name() const { return FName; }
    // Time-out in milliseconds, kInfiniteWait for none.
    TUclWaitResult WaitFor(uint32_t timeOut);
    TUclWaitResult WaitForever() { return WaitFor(kInfiniteWait); }
    // Nothing is queued to a waiting thread on this system, so an alertable
    // wait is a plain one (it never answers wrIoCompletion).
    TUclWaitResult WaitAlertable(uint32_t timeOut) { return WaitFor(timeOut); }
    // Signals obj (a mutex is released) and then waits on this object.  The
    // two steps are not one atomic step here: another waiter may take obj
    // in between, never this object's signal.  wrError, without waiting,
    // when obj could not be signalled.
    TUclWaitResult SignalAndWait(TUclDispatcherObject& obj, uint32_t timeOut, bool alertable = false);

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

// A critical section held through references: Lock() enters it and the
// section is left when the last copy of the answer is dropped.
//
//   auto held = section.Lock();   // entered
//   ...                           // left when held (and its copies) go
class TUclIntfCriticalSection {
public:
    std::shared_ptr<void> Lock();

private:
    std::recursive_mutex FCriticalSection;
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
