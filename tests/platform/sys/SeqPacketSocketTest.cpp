// Message sockets and window-class messages against a private runtime
// folder: message boundaries, the failures a client meets, stale socket
// files, the peer's end, and the manual-reset events.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "TestEnv.h"
#include "platform/sys/SeqPacketSocket.h"
#include "platform/sys/WindowMessages.h"
#include "platform/sys/WindowSockets.h"

namespace fs = std::filesystem;
using namespace sys;

namespace {

// A short runtime folder of its own (socket paths must stay short).
class SocketTest : public testing::Test {
protected:
    void SetUp() override
    {
        Dir = "/tmp/tecs-" + std::to_string(getpid());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        FEnv.Set("XDG_RUNTIME_DIR", Dir);
    }
    void TearDown() override
    {
        FEnv.Restore();
        fs::remove_all(Dir);
    }
    std::string Dir;

private:
    tectest::ScopedEnv FEnv;
};

// Receives one message, waiting for it.
int ReceiveWaiting(TSeqPacketSocket& s, std::string& message)
{
    for (int i = 0; i < 1200; ++i) {
        int r = s.Receive(message);
        if (r != EAGAIN) return r;
        s.Wait({}, true, false, 50);
    }
    return EAGAIN;
}

} // namespace

TEST_F(SocketTest, MessagesArriveWholeAndInOrder)
{
    TSeqPacketListener server;
    int error = 0;
    ASSERT_TRUE(server.Listen(TSeqPacketSocket::RuntimePath("TE"), error)) << error;
    EXPECT_EQ(TSeqPacketSocket::RuntimePath("TE"), Dir + "/TE");

    TSeqPacketSocket client;
    ASSERT_TRUE(client.Connect(Dir + "/TE", 30000, error)) << error;
    TSeqPacketSocket peer;
    ASSERT_TRUE(server.Accept(peer, 30000));

    // Larger than any read buffer a reader might start with, and empty.
    const std::string big(100000, 'x');
    const std::string sent[] = {"first", big + "!", "", "last"};
    for (const auto& m : sent) ASSERT_EQ(client.Send(m.data(), m.size()), 0);
    for (const auto& m : sent) {
        std::string got;
        ASSERT_EQ(ReceiveWaiting(peer, got), 0);
        EXPECT_EQ(got.size(), m.size());
        EXPECT_EQ(got, m);
    }
    std::string none;
    EXPECT_EQ(peer.Receive(none), EAGAIN);
}

TEST_F(SocketTest, ClientFailuresAreImmediateAndNamed)
{
    TSeqPacketSocket client;
    int error = 0;
    // No server at all: fails at once, without waiting.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Connect(Dir + "/TE", 60000, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));

    {
        TSeqPacketListener gone;
        ASSERT_TRUE(gone.Listen(Dir + "/TE", error));
    }
    EXPECT_FALSE(fs::exists(Dir + "/TE"));  // a closed server removes its name

    EXPECT_FALSE(client.Connect(std::string(200, 'a'), 10, error));
    EXPECT_EQ(error, ENAMETOOLONG);
    EXPECT_FALSE(client.IsOpen());
}

TEST_F(SocketTest, StaleSocketFilesAreReplacedLiveOnesAreNot)
{
    int error = 0;
    const std::string path = Dir + "/TE";
    // Leave a socket file behind as a crashed server would: bound, never
    // removed.
    {
        TSeqPacketListener first;
        ASSERT_TRUE(first.Listen(path, error));
        TSeqPacketListener second;
        EXPECT_FALSE(second.Listen(path, error));
        EXPECT_EQ(error, EADDRINUSE);
        fs::rename(path, Dir + "/kept");  // keeps the file from the close
    }
    fs::rename(Dir + "/kept", path);
    TSeqPacketSocket client;
    EXPECT_FALSE(client.Connect(path, 100, error));
    EXPECT_EQ(error, ECONNREFUSED);

    TSeqPacketListener server;
    ASSERT_TRUE(server.Listen(path, error)) << error;
    EXPECT_TRUE(client.Connect(path, 30000, error)) << error;
}

TEST_F(SocketTest, ThePeersEndIsSeenByReadAndWrite)
{
    TSeqPacketListener server;
    int error = 0;
    ASSERT_TRUE(server.Listen(Dir + "/TE", error));
    TSeqPacketSocket client, peer;
    ASSERT_TRUE(client.Connect(Dir + "/TE", 30000, error));
    ASSERT_TRUE(server.Accept(peer, 30000));

    ASSERT_EQ(peer.Send("bye", 3), 0);
    peer.Close();
    const TSocketWait w = client.Wait({}, true, false, 30000);
    EXPECT_TRUE(w.Readable);
    EXPECT_TRUE(w.HungUp);
    std::string got;
    // What was sent before the end is still read, then the end.
    EXPECT_EQ(client.Receive(got), 0);
    EXPECT_EQ(got, "bye");
    EXPECT_EQ(client.Receive(got), EPIPE);
    EXPECT_EQ(client.Send("x", 1), EPIPE);
}

TEST_F(SocketTest, WaitEventsAreManualResetAndWakeAWait)
{
    TWaitEvent a, b;
    EXPECT_FALSE(a.IsSet());
    a.Set();
    a.Set();
    EXPECT_TRUE(a.IsSet());
    EXPECT_TRUE(a.IsSet());  // stays set while not reset
    a.Reset();
    EXPECT_FALSE(a.IsSet());

    TSeqPacketSocket none;
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        b.Set();
    });
    const TSocketWait w = none.Wait({&a, &b}, true, false, 60000);
    setter.join();
    EXPECT_EQ(w.Event, 1);
    EXPECT_FALSE(w.TimedOut);
    EXPECT_TRUE(none.Wait({&a}, true, false, 10).TimedOut);
}

TEST_F(SocketTest, WindowClassMessagesReachAnOpenWindowOnly)
{
    EXPECT_FALSE(PostWindowClassMessage("TTEMainForm", 3243));
    {
        TWindowClassSocket window;
        int error = 0;
        ASSERT_TRUE(window.Open("TTEMainForm", error)) << error;
        EXPECT_TRUE(TWindowSockets::Exists("TTEMainForm"));
        EXPECT_TRUE(PostWindowClassMessage("TTEMainForm", 3243, 0, 0));
        EXPECT_TRUE(PostWindowClassMessage("TTEMainForm", 16, -1, 1LL << 40));
        TWindowMessage m;
        ASSERT_TRUE(window.Receive(m, 1000));
        EXPECT_EQ(m.Msg, 3243u);
        EXPECT_EQ(m.WParam, 0);
        EXPECT_EQ(m.LParam, 0);
        ASSERT_TRUE(window.Receive(m, 1000));
        EXPECT_EQ(m.Msg, 16u);
        EXPECT_EQ(m.WParam, -1);
        EXPECT_EQ(m.LParam, 1LL << 40);
        EXPECT_FALSE(window.Receive(m, 20));
    }
    // Closing the window removes it.
    EXPECT_FALSE(TWindowSockets::Exists("TTEMainForm"));
    EXPECT_FALSE(PostWindowClassMessage("TTEMainForm", 3243));
}
