// Message sockets between programs of one user: Unix domain sockets of type
// SOCK_SEQPACKET, which keep the boundaries of every message (one send is
// one receive, whole or not at all), named by a file in the runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder), so only the user who owns
// that folder reaches them.  Here they stand in for named pipes in message
// mode: a server listens under the pipe's name, a client connects to it.
//
// Error codes are the C library's errno values (EPIPE: the other side has
// gone, EAGAIN: nothing to do now, EMSGSIZE: a message larger than the
// socket's buffer).  A socket object belongs to one thread at a time; a
// TWaitEvent may be set, reset and waited for from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sys {

// A manual-reset event that a socket wait can watch: signalled from Set
// until Reset, however often it was set.
class TWaitEvent {
public:
    // Raises rtl::Exception when the system has no event left.
    TWaitEvent();
    ~TWaitEvent();
    TWaitEvent(const TWaitEvent&) = delete;
    TWaitEvent& operator=(const TWaitEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // Waits up to timeoutMs (negative: without limit); true when signalled.
    bool WaitFor(int timeoutMs) const;

private:
    friend class TSeqPacketSocket;
    friend class TSeqPacketListener;
    int FHandle = -1;
};

// What ended a wait on a socket.
struct TSocketWait {
    int Event = -1;          // index of the first signalled event, -1 for none
    bool Readable = false;   // a message (or the end of the peer) is waiting
    bool Writable = false;   // there is room for a message (only when asked)
    bool HungUp = false;     // the peer has closed its end
    int Error = 0;           // errno of a failed wait; 0 otherwise
    bool TimedOut = false;
};

class TSeqPacketSocket {
public:
    TSeqPacketSocket() = default;
    ~TSeqPacketSocket();
    TSeqPacketSocket(TSeqPacketSocket&& other) noexcept;
    TSeqPacketSocket& operator=(TSeqPacketSocket&& other) noexcept;
    TSeqPacketSocket(const TSeqPacketSocket&) = delete;
    TSeqPacketSocket& operator=(const TSeqPacketSocket&) = delete;

    // The socket file of a name in the runtime folder.
    static std::string RuntimePath(const std::string& name);
    // This computer's host name ("" when unknown).
    static std::string ComputerName();

    // Connects to the server socket at path.  A missing socket or one that
    // nobody listens on fails at once (ENOENT, ECONNREFUSED); a server
    // whose queue of waiting connections is full is retried for up to
    // waitMs milliseconds (then EAGAIN).  error gets the errno of a
    // failure.  An open socket is closed first.
    bool Connect(const std::string& path, int waitMs, int& error);
    bool IsOpen() const { return FHandle >= 0; }
    // The system's number of the open socket, -1 when closed; stays unique
    // only while the socket is open.
    int Handle() const { return FHandle; }
    void Close();

    // Sends one message without blocking: 0 when it went whole, EAGAIN
    // when there is no room now (wait for Writable and send again), else
    // the error (EPIPE when the peer has gone).  Never raises SIGPIPE.
    int Send(const void* data, std::size_t count);
    // Receives the next message whole, of any size, without blocking: 0
    // and message filled; EAGAIN when none is waiting; EPIPE when the peer
    // has closed its end and nothing is left to read; else the error.
    int Receive(std::string& message);
    // Waits for one of events, for a message to read (wantRead) or room to
    // write (wantWrite), or for the peer to close.  timeoutMs negative:
    // without limit.
    TSocketWait Wait(const std::vector<const TWaitEvent*>& events, bool wantRead, bool wantWrite,
                     int timeoutMs = -1) const;

private:
    friend class TSeqPacketListener;
    int FHandle = -1;
};

// The server side: a listening socket at a path, from which connected
// sockets are taken.
class TSeqPacketListener {
public:
    TSeqPacketListener() = default;
    // Closes and removes the socket file.
    ~TSeqPacketListener();
    TSeqPacketListener(const TSeqPacketListener&) = delete;
    TSeqPacketListener& operator=(const TSeqPacketListener&) = delete;

    // Listens at path; a socket file left there by a program that has gone
    // is replaced, a live one is not (EADDRINUSE).  false and error set on
    // failure (ENAMETOOLONG for a path the system cannot name).
    bool Listen(const std::string& path, int& error, int backlog = 16);
    bool IsListening() const { return FHandle >= 0; }
    const std::string& Path() const { return FPath; }
    // Takes the next connection into client, waiting up to waitMs
    // (negative: without limit) or until stop is signalled.
    bool Accept(TSeqPacketSocket& client, int waitMs, const TWaitEvent* stop = nullptr);
    // Stops listening and removes the socket file.
    void Close();

private:
    int FHandle = -1;
    std::string FPath;
};

} // namespace sys
