#include "platform/rtl/NativeStack.h"

#include <pthread.h>

#include <cstdint>

namespace rtl {

namespace {

constexpr std::size_t kUnknownLeft = 8u << 20;

// The low end of the calling thread's stack (the stack grows down), learnt
// once per thread; 0 when the system does not tell.
std::uintptr_t StackLowEnd()
{
    thread_local std::uintptr_t low = [] {
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) != 0) return std::uintptr_t(0);
        void* addr = nullptr;
        std::size_t size = 0;
        std::size_t guard = 0;
        const bool ok = pthread_attr_getstack(&attr, &addr, &size) == 0;
        pthread_attr_getguardsize(&attr, &guard);
        pthread_attr_destroy(&attr);
        return ok ? reinterpret_cast<std::uintptr_t>(addr) + guard : std::uintptr_t(0);
    }();
    return low;
}

} // namespace

std::size_t NativeStackLeft()
{
    const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const std::uintptr_t low = StackLowEnd();
    if (low == 0 || frame <= low) return low == 0 ? kUnknownLeft : 0;
    return frame - low;
}

} // namespace rtl
