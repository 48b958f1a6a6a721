// Named shared blocks left behind by processes that ended without closing
// them: the next opener must not be handed their bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/sys/NamedObjects.h"

namespace {

std::string UniqueName()
{
    return "StaleBlock_" + std::to_string(getpid()) + "_" + std::to_string(std::random_device()());
}

// A child process opens the block, writes value into it and ends without
// closing it (as a crash or a killed process does).
void LeaveBlockBehind(const std::string& name, int value)
{
    pid_t pid = fork();
    if (pid == 0) {
        sys::TSharedBlock block;
        bool existed = false;
        if (sys::OpenSharedBlock(name, sizeof(int), true, block, existed) != 0) _exit(1);
        std::memcpy(block.Memory, &value, sizeof value);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

TEST(StaleSharedBlock, ABlockOfEndedHoldersIsStartedAfresh)
{
    const std::string name = UniqueName();
    LeaveBlockBehind(name, 0x5A5A5A5A);
    sys::TSharedBlock block;
    bool existed = true;
    ASSERT_EQ(sys::OpenSharedBlock(name, sizeof(int), true, block, existed), 0);
    EXPECT_FALSE(existed);
    int value = -1;
    std::memcpy(&value, block.Memory, sizeof value);
    EXPECT_EQ(value, 0);
    sys::CloseSharedBlock(block);
}

TEST(StaleSharedBlock, OpeningWithoutCreateFindsNone)
{
    const std::string name = UniqueName();
    LeaveBlockBehind(name, 7);
    sys::TSharedBlock block;
    bool existed = true;
    EXPECT_EQ(sys::OpenSharedBlock(name, 0, false, block, existed), ENOENT);
    EXPECT_EQ(block.Memory, nullptr);
}

TEST(StaleSharedBlock, ABlockWithALivingHolderKeepsItsBytes)
{
    const std::string name = UniqueName();
    sys::TSharedBlock first, second;
    bool existed = false;
    ASSERT_EQ(sys::OpenSharedBlock(name, sizeof(int), true, first, existed), 0);
    const int value = 42;
    std::memcpy(first.Memory, &value, sizeof value);
    // A child still finds it and its bytes.
    pid_t pid = fork();
    if (pid == 0) {
        sys::TSharedBlock block;
        bool found = false;
        int seen = 0;
        if (sys::OpenSharedBlock(name, sizeof(int), true, block, found) != 0) _exit(1);
        std::memcpy(&seen, block.Memory, sizeof seen);
        _exit(found && seen == 42 ? 0 : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(sys::OpenSharedBlock(name, sizeof(int), true, second, existed), 0);
    EXPECT_TRUE(existed);
    ASSERT_NE(second.Memory, nullptr);
    EXPECT_EQ(*static_cast<int*>(second.Memory), 42);
    sys::CloseSharedBlock(second);
    sys::CloseSharedBlock(first);
}
