// Named shared memory and the named mutex, within one process and across
// two (the second made by fork).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "dbgrids/ucl/UclSynch.h"
#include "dbgrids/ucl/UclSysUtils.h"
#include "dbgrids/ucl/UclWin32.h"
#include "platform/rtl/Resources.h"
#include "platform/sys/NamedObjects.h"

using namespace ucl;

namespace {

// Names unique to the run, so parallel runs never meet.
std::string UniqueName(const std::string& base)
{
    return base + "_" + std::to_string(getpid()) + "_" + std::to_string(std::random_device()());
}

// Runs body in a child process and answers its exit code.
template <typename F>
int InChild(F body)
{
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(UclSharedMemory, SameNameSameBlockWithReferenceCounts)
{
    std::string name = UniqueName("ShmTest");
    void* a = nullptr;
    void* b = nullptr;
    EXPECT_EQ(AcquireSharedMemory(a, name, 16), 0);
    ASSERT_NE(a, nullptr);
    std::memcpy(a, "hello", 6);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(AcquireSharedMemory(b, upper, 16), kErrorAlreadyExists);  // case ignored in the process list
    EXPECT_EQ(a, b);
    void* first = a;
    EXPECT_TRUE(ReleaseSharedMemory(a));
    EXPECT_EQ(a, nullptr);
    EXPECT_STREQ(static_cast<const char*>(b), "hello");  // still mapped
    EXPECT_TRUE(ReleaseSharedMemory(b));
    void* again = first;
    EXPECT_FALSE(ReleaseSharedMemory(again));  // unmapped: no longer known
    EXPECT_EQ(again, first);
    void* none = nullptr;
    EXPECT_TRUE(ReleaseSharedMemory(none));
}

TEST(UclSharedMemory, EmptyNewBlockIsRefused)
{
    void* p = nullptr;
    std::string name = UniqueName("ShmEmpty");
    try {
        AcquireSharedMemory(p, name, 0);
        FAIL() << "no error";
    } catch (const ESharedMemError& e) {
        EXPECT_EQ(e.Message(), "The MMF named \"" + name + "\" cannot be created empty");
    }
    EXPECT_EQ(p, nullptr);
}

TEST(UclSharedMemory, ABlockMadeByAnotherProcessIsFound)
{
    std::string name = UniqueName("ShmCross");
    // The child holds the block open until the parent has found it.
    int made[2], found[2];
    ASSERT_EQ(pipe(made), 0);
    ASSERT_EQ(pipe(found), 0);
    pid_t pid = fork();
    if (pid == 0) {
        void* q = nullptr;
        char c = 0;
        if (AcquireSharedMemory(q, name, 8) != 0) _exit(1);
        std::memcpy(q, "child", 6);
        if (write(made[1], "m", 1) != 1 || read(found[0], &c, 1) != 1) _exit(2);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(made[0], &c, 1), 1);
    void* p = nullptr;
    EXPECT_EQ(AcquireSharedMemory(p, name, 0), kErrorAlreadyExists);  // size 0: the whole existing block
    EXPECT_EQ(write(found[1], "f", 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    for (int fd : {made[0], made[1], found[0], found[1]}) close(fd);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(static_cast<const char*>(p), "child");
    EXPECT_TRUE(ReleaseSharedMemory(p));
    // The last living holder removed the name.
    void* again = nullptr;
    EXPECT_THROW(AcquireSharedMemory(again, name, 0), ESharedMemError);
}

TEST(UclMutex, ExistedAndAbandonedByADeadOwner)
{
    std::string name = UniqueName("MutexTest");
    TUclMutex m(false, name);
    EXPECT_FALSE(m.Existed());
    TUclMutex same(false, name);
    EXPECT_TRUE(same.Existed());
    int code = InChild([&] {
        TUclMutex child(false, name);
        return child.Acquire(5000) ? 0 : 1;  // dies holding it
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(m.WaitFor(10000), TUclWaitResult::wrAbandoned);
    EXPECT_TRUE(m.Release());
    EXPECT_EQ(m.WaitFor(10000), TUclWaitResult::wrSignaled);
    EXPECT_TRUE(m.Release());
    EXPECT_FALSE(m.Release());  // not the owner any more
}

TEST(UclMutex, HeldElsewhereTimesOutAndOpenNeedsAnExistingOne)
{
    std::string name = UniqueName("MutexHeld");
    TUclMutex m(true, name);
    int code = InChild([&] {
        TUclMutex child(false, name);
        return child.WaitFor(50) == TUclWaitResult::wrTimeout ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(m.Release());
    try {
        TUclMutex::Open(UniqueName("MutexNone"));
        FAIL() << "no error";
    } catch (const EUclMutexError& e) {
        EXPECT_NE(e.Message().find("Win32 error: "), std::string::npos);
        EXPECT_NE(e.Message().find("\r\nFailed to open mutex"), std::string::npos);
        EXPECT_EQ(e.LastError(), 2u);  // ENOENT
    }
    EXPECT_EQ(WaitResultOf(0x80), TUclWaitResult::wrAbandoned);
    EXPECT_EQ(WaitResultOf(0x102), TUclWaitResult::wrTimeout);
    EXPECT_EQ(WaitResultOf(7), TUclWaitResult::wrError);
}

TEST(UclSysUtils, GuidText)
{
    TGUID g{0x7DAD5220, 0x46EA, 0x11D5, {0xB0, 0xC0, 0x48, 0x54, 0xE8, 0x25, 0xF3, 0x45}};
    EXPECT_EQ(GuidToText(g), "{7DAD5220-46EA-11D5-B0C0-4854E825F345}");
}

TEST(UclMutex, AttachedHandleWaitsForAnOwnerInAnotherProcess)
{
    // The child creates and holds the mutex until told; the parent wraps a
    // handle it opened itself.
    std::string name = UniqueName("MutexAttach");
    int up[2], down[2];
    ASSERT_EQ(pipe(up), 0);
    ASSERT_EQ(pipe(down), 0);
    pid_t pid = fork();
    if (pid == 0) {
        TUclMutex held(true, name);
        char c = 'x';
        if (write(up[1], &c, 1) != 1) _exit(2);
        if (read(down[0], &c, 1) != 1) _exit(3);
        _exit(held.Release() ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ(read(up[0], &c, 1), 1);
    auto handle = std::make_unique<sys::TNamedMutex>();
    ASSERT_EQ(handle->Open(name), 0);
    auto object = TUclDispatcherObject::Attach(std::move(handle));
    EXPECT_TRUE(object->Existed());
    EXPECT_EQ(object->Name(), "");
    EXPECT_EQ(object->WaitFor(50), TUclWaitResult::wrTimeout);
    EXPECT_EQ(object->WaitAlertable(0), TUclWaitResult::wrTimeout);
    ASSERT_EQ(write(down[1], &c, 1), 1);
    EXPECT_EQ(object->WaitFor(20000), TUclWaitResult::wrSignaled);
    EXPECT_TRUE(object->Handle()->Release());
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int fd : {up[0], up[1], down[0], down[1]}) close(fd);
}

TEST(UclMutex, SignalAndWaitReleasesOneAndTakesTheOther)
{
    std::string first = UniqueName("MutexSignal"), second = UniqueName("MutexWait");
    TUclMutex a(true, first);
    TUclMutex b(false, second);
    EXPECT_EQ(b.SignalAndWait(a, 10000), TUclWaitResult::wrSignaled);
    // a is free now: another thread takes it at once.
    bool taken = false;
    std::thread([&] {
        TUclMutex other(false, first);
        taken = other.Acquire(0);
        if (taken) other.Release();
    }).join();
    EXPECT_TRUE(taken);
    // Signalling a mutex this thread does not own fails without waiting.
    EXPECT_EQ(b.SignalAndWait(a, 10000), TUclWaitResult::wrError);
    EXPECT_TRUE(b.Release());
}

TEST(UclCriticalSection, HeldWhileAReferenceLives)
{
    TUclIntfCriticalSection section;
    auto held = section.Lock();
    auto copy = held;
    held.reset();
    std::atomic<bool> entered{false};
    std::thread other([&] {
        auto mine = section.Lock();
        entered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);  // the copy still holds it
    copy.reset();
    other.join();
    EXPECT_TRUE(entered);
    // The same thread may enter again while it holds it.
    auto one = section.Lock();
    auto two = section.Lock();
}

TEST(UclWin32Error, FormattedAndStringTableTextsKeepTheErrorNumberOfTheFailure)
{
    static const char kText[] = "Failed to open the catalogue";
    static const rtl::TResource kTable[] = {
        {"", 64123, rtl::TResourceType::StringTable, reinterpret_cast<const uint8_t*>(kText), sizeof kText - 1}};
    rtl::RegisterResources(kTable, 1);

    errno = ENOENT;
    EUclWin32Error f = EUclWin32Error::CreateFmt("Cannot open %s (%d)", {std::string("be.db"), 3});
    EXPECT_EQ(f.LastError(), 2u);
    EXPECT_EQ(f.Message(), "Win32 error: " + f.LastErrorMsg() + " (2)\r\nCannot open be.db (3)");

    errno = EACCES;
    EUclWin32Error r = EUclWin32Error::CreateRes(64123);
    EXPECT_EQ(r.LastError(), 13u);
    EXPECT_EQ(r.Message(), "Win32 error: " + r.LastErrorMsg() + " (13)\r\n" + kText);
    errno = EACCES;
    EXPECT_EQ(EUclWin32Error::CreateRes(64124).Message(), "Win32 error: " + r.LastErrorMsg() + " (13)\r\n");
}

TEST(UclSysUtils, FreeModuleHandleFreesALoadedLibraryAndClearsTheHandle)
{
    sys::TModuleHandle m = sys::LoadModule("libm.so.6");
    ASSERT_NE(m, 0u);
    EXPECT_NE(sys::ModuleSymbol(m, "cos"), nullptr);
    FreeModuleHandle(m);
    EXPECT_EQ(m, 0u);
    FreeModuleHandle(m);  // 0 stays 0, nothing is freed
    EXPECT_EQ(m, 0u);
    EXPECT_EQ(sys::LoadModule("libdoes-not-exist.so"), 0u);
}
