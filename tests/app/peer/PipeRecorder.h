// A stand-in for the sibling program's pipe server: listens at a socket
// path, takes one connection after another and records every message
// received, whole and in order.  Used in-process by the tests and by the
// stand-in sibling program te-peer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sys/SeqPacketSocket.h"

namespace tepeer {

class TPipeRecorder {
public:
    // Listens at path and serves on a thread of its own; Listening() tells
    // whether the socket could be made.
    explicit TPipeRecorder(const std::string& path);
    // Stops serving and removes the socket file.
    ~TPipeRecorder();

    bool Listening() const { return FListening; }
    int ListenError() const { return FListenError; }

    // The messages received so far, in order.
    std::vector<std::string> Messages() const;
    std::size_t Count() const;
    // Waits until at least count messages have arrived.
    bool WaitForCount(std::size_t count, int timeoutMs) const;
    // Connections accepted so far.
    int Connections() const;
    bool WaitForConnections(int count, int timeoutMs) const;

    // After that many messages (counted from now on) the recorder closes the
    // connection and stops listening, as a server program that quits.
    void VanishAfter(std::size_t count);
    bool Vanished() const;
    // While paused, nothing is read (the client's writes then back up).
    void SetPaused(bool paused);
    // Sends a message to the connected client; false when none.
    bool SendToClient(const std::string& message);

    // Called with every message as it arrives (on the recorder's thread).
    void SetOnMessage(std::function<void(const std::string&)> fn);

private:
    void Serve();
    void Notify();

    sys::TSeqPacketListener FListener;
    sys::TSeqPacketSocket FClient;
    sys::TWaitEvent FStop;
    sys::TWaitEvent FWake;
    bool FListening = false;
    int FListenError = 0;
    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    std::vector<std::string> FMessages;
    int FConnections = 0;
    std::size_t FVanishAt = 0;   // message count at which to vanish; 0: never
    bool FVanished = false;
    bool FPaused = false;
    std::vector<std::string> FOutgoing;
    std::function<void(const std::string&)> FOnMessage;
    std::thread FThread;
};

} // namespace tepeer
