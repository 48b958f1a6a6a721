// Helpers of the pipe and hand-over tests: a short runtime folder of the
// test's own (socket names must stay short), a dispatcher that counts what
// the workers post, and a log of a client's events.
#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>


#include "AppTestEnv.h"
#include "app/Pipes.h"

namespace pipetest {

namespace fs = std::filesystem;

// Points XDG_RUNTIME_DIR at /tmp/tecp-<pid> for the object's life.
class ScopedRuntimeDir {
public:
    ScopedRuntimeDir()
    {
        Dir = "/tmp/tecp-" + tectest::ProcessTag();
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        FEnv.Set("XDG_RUNTIME_DIR", Dir);
    }
    ~ScopedRuntimeDir() { fs::remove_all(Dir); }
    std::string Path(const std::string& name) const { return Dir + "/" + name; }
    std::string Dir;

private:
    apptest::ScopedEnv FEnv;
};

// The test's "GUI thread" queue, counting what was posted.
class CountingDispatcher : public app::TQueuedPipeDispatcher {
public:
    void Post(std::function<void()> fn) override
    {
        ++Posted;
        TQueuedPipeDispatcher::Post(std::move(fn));
    }
    std::atomic<int> Posted{0};
};

// Everything a client reported, in the order it was reported.
struct EventLog {
    std::vector<int32_t> Errors;
    std::vector<uint32_t> ErrorPipes;
    std::vector<uint32_t> Disconnects;
    std::vector<uint32_t> Sent;
    std::vector<std::string> Received;
    std::vector<int64_t> ReceivedPositions;

    void Attach(app::TPipeClient& c)
    {
        c.OnPipeError = [this](rtl::TObject*, uint32_t pipe, app::TPipeContext context, int32_t code) {
            EXPECT_EQ(context, app::pcWorker);
            Errors.push_back(code);
            ErrorPipes.push_back(pipe);
        };
        c.OnPipeDisconnect = [this](rtl::TObject*, uint32_t pipe) { Disconnects.push_back(pipe); };
        c.OnPipeSent = [this](rtl::TObject*, uint32_t, uint32_t size) { Sent.push_back(size); };
        c.OnPipeMessage = [this](rtl::TObject*, uint32_t, rtl::TStream& stream) {
            ReceivedPositions.push_back(stream.Position());
            Received.push_back(stream.ReadAll());
        };
    }
};

} // namespace pipetest
