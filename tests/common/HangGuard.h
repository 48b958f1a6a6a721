// Time limits in tests are hang guards, never speed checks.  A build with the
// address and undefined-behaviour sanitizers runs several times slower, so
// its guards stretch by the same kind of factor.
#pragma once

namespace tectest {

#if defined(__SANITIZE_ADDRESS__)
constexpr double kHangGuardFactor = 10.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double kHangGuardFactor = 10.0;
#else
constexpr double kHangGuardFactor = 1.0;
#endif
#else
constexpr double kHangGuardFactor = 1.0;
#endif

// The sanitizers also make every native stack frame several times larger, so
// recursion that fits the stack of an ordinary build may not fit there.
constexpr bool kSanitizedBuild = kHangGuardFactor > 1.0;

// A limit of `seconds` on an ordinary build, stretched on a slow one.
constexpr double HangGuardSeconds(double seconds) { return seconds * kHangGuardFactor; }

} // namespace tectest
