// Named shared memory of the utility library: a process-wide list of
// mapped blocks with reference counts, over blocks that other processes
// see under the same name.  Also the GUID text and small memory helpers.
//
// The one rule: every successful AcquireSharedMemory needs one
// ReleaseSharedMemory; the block is unmapped by the last one.
//
//   void* p = nullptr;
//   int r = ucl::AcquireSharedMemory(p, "ShmNPA_Demo", 4);   // 0 new, 183 existed
//   ...
//   ucl::ReleaseSharedMemory(p);
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "dbgrids/ucl/UclBase.h"
#include "platform/sys/Modules.h"

namespace ucl {

RTL_DECLARE_EXCEPTION(ESharedMemError, EUclError)

constexpr int kErrorAlreadyExists = 183;
constexpr uint32_t kFileMapAllAccess = 0xF001F;

// Holding the answer holds the lock of the shared-memory list; nullptr after
// the unit has been finalised.
std::shared_ptr<void> LockSharedMemoryList();

// p receives a block of size bytes shared under name (case ignored within
// the process).  Answers 183 when the block existed already (in this
// process or another), else 0.  size 0 for a name nobody created raises
// ESharedMemError "The MMF named "<name>" cannot be created empty".
int AcquireSharedMemory(void*& p, const std::string& name, size_t size, uint32_t desiredAccess = kFileMapAllAccess);
// Drops one reference and sets p to nullptr; true also for nullptr.  An
// address that was never acquired answers false and stays.
bool ReleaseSharedMemory(void*& p);
inline bool CloseSharedMemory(void*& p) { return ReleaseSharedMemory(p); }
// Finalisation of the unit: no new list lock after it.
void FinalizeUclSysUtils();

struct TGUID {
    uint32_t D1;
    uint16_t D2, D3;
    std::array<uint8_t, 8> D4;
};
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in upper case.
std::string GuidToText(const TGUID& g);

void ZeroMemoryBlock(void* p, int64_t size);
// Frees a loaded library when the handle is not 0, then sets it to 0.
void FreeModuleHandle(sys::TModuleHandle& module);

} // namespace ucl
