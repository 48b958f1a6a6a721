// Damaged variants of a valid file, for checking that a loader either reads
// them or raises the project's exception with a message -- and never
// crashes, hangs or asks for absurd amounts of memory.
//
//   for (const auto& c : MalformedVariants(valid, {8, 12}))
//       ExpectReadsOrRaises(c, [&](const std::string& bytes) { Load(bytes); });
//
// The variants: zero length, truncations at several points, random bytes
// from a fixed seed, single bytes flipped at several offsets, 32-bit fields
// at the given header offsets set to absurd values, and an over-long line.
// With TEC_MALFORMED_TIMES set, each case is named before it runs (the last
// name shows the case that brought a process down) and slow ones are listed.
// A binary that includes this header once puts TEC_LIMIT_ALLOCATIONS() in
// one of its files: a single allocation beyond the limit then fails the test
// instead of quietly taking the machine's memory.  Every form of new and
// delete that frees through the others is replaced together (the standard
// library's temporary buffers take the nothrow new and give it back to the
// plain delete), so that each block is freed the way it was allocated.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

struct MalformedCase {
    std::string name;
    std::string bytes;
};

inline std::vector<MalformedCase> MalformedVariants(const std::string& valid,
                                                    const std::vector<std::size_t>& headerOffsets = {})
{
    std::vector<MalformedCase> out;
    out.push_back({"valid", valid});
    out.push_back({"empty", {}});
    const std::size_t n = valid.size();
    for (std::size_t at : {std::size_t{1}, std::size_t{2}, std::size_t{4}, std::size_t{8}, std::size_t{16},
                           std::size_t{33}, n / 4, n / 3, n / 2, 2 * n / 3, n * 9 / 10, n > 0 ? n - 1 : 0})
        if (at < n) out.push_back({"truncated at " + std::to_string(at), valid.substr(0, at)});
    std::mt19937 rng(20261211);
    for (std::size_t len : {std::size_t{7}, std::size_t{64}, std::size_t{1000}, n}) {
        std::string r(len, '\0');
        for (char& c : r) c = static_cast<char>(rng() & 0xFF);
        out.push_back({"random " + std::to_string(len) + " bytes", r});
    }
    // The valid start with random bytes after it: passes the signature.
    for (std::size_t keep : {std::size_t{4}, std::size_t{16}, n / 2}) {
        if (keep >= n) continue;
        std::string r = valid;
        for (std::size_t i = keep; i < n; ++i) r[i] = static_cast<char>(rng() & 0xFF);
        out.push_back({"random after " + std::to_string(keep), r});
    }
    for (int k = 0; k < 24 && n > 0; ++k) {
        std::string f = valid;
        std::size_t at = k < 12 ? static_cast<std::size_t>(k) * 3 % n : rng() % n;
        f[at] = static_cast<char>(f[at] ^ (k % 2 ? 0xFF : 0x80));
        out.push_back({"byte flipped at " + std::to_string(at), f});
    }
    for (std::size_t at : headerOffsets) {
        for (uint32_t v : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00FFFFFFu, 0u}) {
            if (at + 4 > n) continue;
            std::string f = valid;
            for (int b = 0; b < 4; ++b) f[at + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
            out.push_back({"field at " + std::to_string(at) + " = " + std::to_string(v), f});
        }
    }
    std::string longLine = valid.substr(0, n / 2) + std::string(1 << 20, 'x') + valid.substr(n / 2);
    out.push_back({"over-long line", longLine});
    return out;
}

// Runs the loader on the case: it must return or raise rtl::Exception with a
// message.  Anything else thrown fails the test, naming the case.
inline void ExpectReadsOrRaises(const MalformedCase& c, const std::function<void(const std::string&)>& load)
{
    SCOPED_TRACE(c.name);
    const auto t0 = std::chrono::steady_clock::now();
    struct Timer {
        const MalformedCase& c;
        std::chrono::steady_clock::time_point t0;
        ~Timer()
        {
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            if (getenv("TEC_MALFORMED_TIMES") && s > 0.2) fprintf(stderr, "%.2f s: %s\n", s, c.name.c_str());
        }
    } timer{c, t0};
    if (getenv("TEC_MALFORMED_TIMES")) fprintf(stderr, "case: %s\n", c.name.c_str());
    try {
        load(c.bytes);
    } catch (const rtl::Exception& e) {
        EXPECT_FALSE(e.Message().empty()) << "an exception without a message";
    } catch (const std::bad_alloc&) {
        ADD_FAILURE() << "an absurd allocation";
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not the project's exception: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "an unknown exception";
    }
}

// One allocation above this many bytes is absurd for the small files the
// robustness tests hand to the loaders.
constexpr std::size_t kMalformedAllocationLimit = std::size_t{512} << 20;

#define TEC_LIMIT_ALLOCATIONS()                                                                  \
    void* operator new(std::size_t size)                                                         \
    {                                                                                            \
        if (size > kMalformedAllocationLimit) throw std::bad_alloc();                            \
        if (void* p = std::malloc(size ? size : 1)) return p;                                    \
        throw std::bad_alloc();                                                                  \
    }                                                                                            \
    void* operator new[](std::size_t size) { return operator new(size); }                        \
    void* operator new(std::size_t size, const std::nothrow_t&) noexcept                         \
    {                                                                                            \
        return size > kMalformedAllocationLimit ? nullptr : std::malloc(size ? size : 1);        \
    }                                                                                            \
    void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept                     \
    {                                                                                            \
        return operator new(size, t);                                                            \
    }                                                                                            \
    void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }              \
    void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }            \
    void operator delete(void* p) noexcept { std::free(p); }                                     \
    void operator delete[](void* p) noexcept { std::free(p); }                                   \
    void operator delete(void* p, std::size_t) noexcept { std::free(p); }                        \
    void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
