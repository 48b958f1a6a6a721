// Messages to another program's window, found by its window class: the
// program keeps a datagram socket named after the class in the runtime
// folder while that window is open (see WindowSockets.h), and a posted
// message is one datagram to it.  Nothing is awaited in return.
//
// The datagram: the message number (uint32), then wParam and lParam
// (int64 each), in this computer's byte order, 20 bytes in all.
#pragma once

#include <cstdint>
#include <string>

namespace sys {

struct TWindowMessage {
    uint32_t Msg = 0;
    int64_t WParam = 0;
    int64_t LParam = 0;
};

// Posts the message to the window of that class: true when such a window
// exists and the datagram was handed over.
bool PostWindowClassMessage(const std::string& windowClass, uint32_t msg, int64_t wParam = 0, int64_t lParam = 0);

// The receiving side, kept by the program that owns the window: while open,
// the window of its class "exists" for others.
class TWindowClassSocket {
public:
    TWindowClassSocket() = default;
    // Closes and removes the socket file.
    ~TWindowClassSocket();
    TWindowClassSocket(const TWindowClassSocket&) = delete;
    TWindowClassSocket& operator=(const TWindowClassSocket&) = delete;

    // Binds the socket of the class (a file left by a program that has gone
    // is replaced); false with error (errno) on failure.
    bool Open(const std::string& windowClass, int& error);
    bool IsOpen() const { return FHandle >= 0; }
    // Waits up to waitMs (negative: without limit) for the next message;
    // malformed datagrams are skipped.
    bool Receive(TWindowMessage& message, int waitMs);
    void Close();

private:
    int FHandle = -1;
    std::string FPath;
};

} // namespace sys
