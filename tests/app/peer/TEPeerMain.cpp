// te-peer: a stand-in for the sibling program "Tolmira Ephemeris", for
// tests of the hand-over.  Installed as the sibling's executable "te", it
// announces itself as the sibling does: while it runs, its main window of
// class "TTEMainForm" exists (the window's socket in the runtime folder)
// and, unless told otherwise, it serves the pipe "TE".  It records what
// reaches it in the folder $TEC_PEER_RECORD:
//   argv.txt         its command-line arguments, one per line
//   pipe-0001.tlx... every pipe message, whole
//   messages.txt     every window message: "<msg> <wParam> <lParam>"
//   ready            written once both sockets are up
// Environment: TEC_PEER_PIPE=0 serves no pipe (an older sibling, or one
// whose pipe is down); TEC_PEER_LIFETIME_MS ends it after that time
// (default 20000).  The window message 16 (close) ends it at once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

#include "PipeRecorder.h"
#include "platform/sys/SeqPacketSocket.h"
#include "platform/sys/WindowMessages.h"

namespace {

std::string Env(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

void WriteFile(const std::string& path, const std::string& bytes, bool append = false)
{
    std::ofstream out(path, append ? std::ios::binary | std::ios::app : std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string record = Env("TEC_PEER_RECORD", "");
    if (record.empty()) {
        std::fprintf(stderr, "te-peer: TEC_PEER_RECORD is not set\n");
        return 2;
    }
    const std::string dir = record + "/";
    const bool servePipe = Env("TEC_PEER_PIPE", "1") != "0";
    const int lifetimeMs = std::atoi(Env("TEC_PEER_LIFETIME_MS", "20000").c_str());

    std::string args;
    for (int i = 1; i < argc; ++i) args += std::string(argv[i]) + "\n";
    WriteFile(dir + "argv.txt", args);

    std::unique_ptr<tepeer::TPipeRecorder> pipe;
    std::mutex fileLock;
    int fileNumber = 0;
    if (servePipe) {
        pipe = std::make_unique<tepeer::TPipeRecorder>(sys::TSeqPacketSocket::RuntimePath("TE"));
        if (!pipe->Listening()) {
            std::fprintf(stderr, "te-peer: cannot serve the pipe (error %d)\n", pipe->ListenError());
            return 1;
        }
        pipe->SetOnMessage([&](const std::string& message) {
            std::lock_guard<std::mutex> lock(fileLock);
            char name[32];
            std::snprintf(name, sizeof name, "pipe-%04d.tlx", ++fileNumber);
            WriteFile(dir + name, message);
        });
    }

    sys::TWindowClassSocket window;
    int error = 0;
    if (!window.Open("TTEMainForm", error)) {
        std::fprintf(stderr, "te-peer: cannot open the window socket (error %d)\n", error);
        return 1;
    }
    WriteFile(dir + "ready", "ready\n");

    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetimeMs);
    while (std::chrono::steady_clock::now() < end) {
        sys::TWindowMessage m;
        if (!window.Receive(m, 100)) continue;
        WriteFile(dir + "messages.txt",
                  std::to_string(m.Msg) + " " + std::to_string(m.WParam) + " " + std::to_string(m.LParam) + "\n", true);
        if (m.Msg == 16) break;
    }
    return 0;
}
