// The native stack of the calling thread: how much of it is still free, so
// that a deep recursion (a script routine calling itself) can stop with an
// error of its own while there is room left to report it.
//
//     if (rtl::NativeStackLeft() < 256 * 1024) throw rtl::Exception("Stack overflow");
#pragma once

#include <cstddef>

namespace rtl {

// Bytes between the caller's frame and the low end of its thread's stack.
// When the bounds cannot be learnt, the answer is as if 8 MB were free.
std::size_t NativeStackLeft();

} // namespace rtl
