// Named objects shared between processes: blocks of shared memory and
// mutexes, found by a name of any characters (POSIX shared memory behind
// it).  An object lives while some process still has it open; the last
// one to close it (or to find only dead holders) removes the name.
//
// The one rule: a mutex wait that answers Abandoned has taken the mutex
// from an owner that died holding it; the caller owns it now and must
// release it like any other.
//
//   sys::TSharedBlock block;
//   bool existed = false;
//   if (int err = sys::OpenSharedBlock("Shm_1", 4, true, block, existed)) ...
//   sys::TNamedMutex m;
//   m.Create("Mutex_1", false, existed);
//   if (m.Wait(sys::kInfinite) == sys::TWaitAnswer::Signaled) { ...; m.Release(); }
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sys {

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

// The system's text for an error number (as strerror gives it).
std::string SystemErrorText(int error);

// The running process's identifier.
int CurrentProcessId();

struct TSharedBlock {
    void* Memory = nullptr;   // the caller's bytes
    size_t Size = 0;          // their number
    void* FMapping = nullptr; // the whole mapping (header first)
    size_t FMappingSize = 0;
    int FSlot = -1;
    std::string FName;
};

// Opens the block of that name, creating it with size bytes (zero-filled)
// when create is set and none exists.  size 0 on an existing block maps the
// whole of it.  existed tells whether the block was there before.  Answers
// 0 or an error number: ENOENT when there is none and create is not set (or
// size is 0), EINVAL for a size that does not fit the existing block.
int OpenSharedBlock(const std::string& name, size_t size, bool create, TSharedBlock& block,
                    bool& existed);
// Unmaps the block; the name goes when no living process holds it.
void CloseSharedBlock(TSharedBlock& block);

enum class TWaitAnswer { Signaled, Abandoned, Timeout, Error };

// A recursive mutex shared between processes by name.
class TNamedMutex {
public:
    TNamedMutex() = default;
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex&) = delete;
    TNamedMutex& operator=(const TNamedMutex&) = delete;

    // Creates or opens the mutex; existed tells whether it was there.
    // initialOwner takes it at once.  Answers 0 or an error number.
    int Create(const std::string& name, bool initialOwner, bool& existed);
    // Opens an existing mutex; ENOENT when there is none.
    int Open(const std::string& name);
    bool IsOpen() const { return FBlock.Memory != nullptr; }
    // Waits up to timeoutMs milliseconds (kInfinite: no limit).
    TWaitAnswer Wait(uint32_t timeoutMs);
    // Gives up one level of ownership; false when the caller does not own it.
    bool Release();
    // Closes the object.  One still owning the mutex leaves its mapping in
    // place, so that the owner's end still marks the mutex abandoned.
    void Close();

private:
    TSharedBlock FBlock;
    int FDepth = 0;  // levels of ownership taken through this object
};

} // namespace sys
