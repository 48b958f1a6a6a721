// The named-pipe client: a non-visual component that connects to a pipe
// server of this computer, sends blocks of bytes as messages and receives
// whole messages, without ever blocking the GUI thread.
//
// A pipe here is a message socket in the runtime folder
// (platform/sys/SeqPacketSocket.h) named after the pipe: the pipe "TE" of
// this computer is <runtime folder>/TE.  Each Write becomes one message;
// the receiver gets it whole.
//
// Threads: everything public is called in the GUI thread, and every event
// fires there.  One worker thread per connection does the socket I/O.  It
// takes the blocks to write from the write queue by a call that runs in the
// GUI thread, and reports sent blocks, received messages, errors and its
// own end as notices posted to the GUI thread through a TPipeDispatcher.
// Destroying the client (or Disconnect with waiting) stops the worker and
// waits for it; the worker's every wait, the one for the GUI thread's
// dequeue included, also watches for that stop, so the wait cannot lock
// up.  Notices that arrive after the client has gone are dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace sys {
class TWaitEvent;
}

namespace app {

// Runs notices of the pipe workers in the GUI thread.
class TPipeDispatcher {
public:
    virtual ~TPipeDispatcher() = default;
    // Queues fn to run later in the GUI thread, in the order posted.
    // Called from worker threads; must not block.
    virtual void Post(std::function<void()> fn) = 0;
};

// The GUI thread's message queue (the application's, see
// platform/gui/Controls.h QueueInMainThread): notices run there between
// other messages, also inside ProcessMessages.
TPipeDispatcher* GuiPipeDispatcher();
// The dispatcher new clients take: GuiPipeDispatcher() unless another one
// has been set (nullptr sets it back).
TPipeDispatcher* DefaultPipeDispatcher();
void SetDefaultPipeDispatcher(TPipeDispatcher* dispatcher);

// A dispatcher that keeps the notices until its owner's thread runs them
// (ProcessPosted); for programs without a GUI loop, and for tests.
class TQueuedPipeDispatcher : public TPipeDispatcher {
public:
    TQueuedPipeDispatcher();
    ~TQueuedPipeDispatcher() override;
    void Post(std::function<void()> fn) override;
    // Runs the waiting notices (and those they post meanwhile) in this
    // thread; returns how many ran.
    int ProcessPosted();
    // Waits up to timeoutMs for a notice, then runs what is waiting.
    int WaitAndProcess(int timeoutMs);
    // Runs notices until done() is true or timeoutMs has passed; returns
    // done().
    bool ProcessUntil(const std::function<bool()>& done, int timeoutMs);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

class EPipeException : public rtl::Exception {
public:
    using Exception::Exception;
};

inline const std::string ErrorPipeConnected = "Cannot change property when client is connected!";
inline const std::string ErrorPipeName = "Invalid pipe name specified!";

enum class TPipeContext { pcListener, pcWorker };
using enum TPipeContext;

// Pipe: the system's number of the connection's socket.  ErrorCode: the
// C library's errno (EPIPE when the server has closed its end).
using TOnPipeError =
    std::function<void(rtl::TObject* Sender, uint32_t Pipe, TPipeContext PipeContext, int32_t ErrorCode)>;
using TOnPipeDisconnect = std::function<void(rtl::TObject* Sender, uint32_t Pipe)>;
// Stream holds one whole message, positioned at 0, alive during the call.
using TOnPipeMessage = std::function<void(rtl::TObject* Sender, uint32_t Pipe, rtl::TStream& Stream)>;
using TOnPipeSent = std::function<void(rtl::TObject* Sender, uint32_t Pipe, uint32_t Size)>;

// One block waiting to be written: an owned copy of the bytes.
struct TPipeWrite {
    std::vector<uint8_t> Buffer;
    uint32_t Count = 0;
};
using PPipeWrite = TPipeWrite*;

// The blocks waiting to be written, first in, first out; GUI thread only.
// Its data event is signalled exactly while a block is waiting.
class TWriteQueue : public rtl::TObject {
public:
    TWriteQueue();
    ~TWriteQueue() override;
    std::string ClassName() const override { return "TWriteQueue"; }

    // Takes ownership of the block.
    void Enqueue(PPipeWrite PipeWrite);
    // The oldest block (the caller owns it), nullptr when empty.
    PPipeWrite Dequeue();
    int32_t Count() const { return FCount; }
    sys::TWaitEvent& DataEvent() const { return *FDataEv; }

private:
    struct TWriteNode {
        PPipeWrite PipeWrite = nullptr;
        TWriteNode* NextNode = nullptr;
    };
    int32_t FCount = 0;
    std::unique_ptr<sys::TWaitEvent> FDataEv;
    TWriteNode* FHead = nullptr;
    TWriteNode* FTail = nullptr;
};

class TPipeClientThread;

class TPipeClient : public rtl::TComponent {
public:
    // PipeName "PipeServer", ServerName "" (this computer), not connected;
    // notices go through DefaultPipeDispatcher() (or dispatcher when given).
    explicit TPipeClient(rtl::TComponent* AOwner, TPipeDispatcher* dispatcher = nullptr);
    // Stops a running worker and waits for it; fires no event.
    ~TPipeClient() override;
    std::string ClassName() const override { return "TPipeClient"; }

    // The socket number of the connection; -1 when not connected.
    int32_t Pipe() const { return FPipe; }
    const std::string& PipeName() const { return FPipeName; }
    // Raises EPipeException ErrorPipeConnected while connected, and
    // ErrorPipeName for a name that is empty, longer than 63 characters or
    // holds "\" (or "/", which cannot be part of a socket name).
    void SetPipeName(const std::string& value);
    const std::string& ServerName() const { return FServerName; }
    // Raises EPipeException ErrorPipeConnected while connected.  Empty or
    // this computer's name (case ignored): the local computer; pipes of
    // other computers cannot be reached.
    void SetServerName(const std::string& value);
    bool Connected() const { return FConnected; }
    TPipeDispatcher* Dispatcher() const { return FDispatcher; }

    // The socket file the next Connect opens; "" for another computer.
    std::string PipePath() const;

    // True when connected afterwards; at once when already connected.  A
    // missing pipe or one that nobody serves fails at once; a server that
    // cannot take the connection yet is waited for up to wait_ms.  Fires
    // no event and raises nothing on failure.
    bool Connect(int32_t wait_ms);
    // When connected: stops the worker and marks the client not connected.
    // With CanWait, waits until the worker has ended and fires
    // OnPipeDisconnect before returning; without, the event follows when
    // the worker's end notice arrives.
    void Disconnect(bool CanWait);
    // When connected: queues a copy of Count bytes as one message and
    // returns true at once; otherwise returns false and queues nothing.
    bool Write(const void* Buffer, uint32_t Count);

    // The blocks waiting to be written.
    const TWriteQueue& WriteQueue() const { return *FWriteQueue; }

    TOnPipeError OnPipeError;
    TOnPipeDisconnect OnPipeDisconnect;
    TOnPipeMessage OnPipeMessage;
    TOnPipeSent OnPipeSent;

private:
    friend class TPipeClientThread;
    // What posted notices reach the client through; cut when it goes.
    struct TLink {
        TPipeClient* Client = nullptr;
    };

    // The end of a worker, in the GUI thread.
    void WorkerEnded(TPipeClientThread* worker);
    void StopAndJoinAll();

    int32_t FPipe = -1;
    std::string FPipeName = "PipeServer";
    std::string FServerName;
    bool FConnected = false;
    std::unique_ptr<TWriteQueue> FWriteQueue;
    TPipeClientThread* FWorker = nullptr;
    // Workers told to stop whose end notice has not arrived yet.
    std::vector<TPipeClientThread*> FRetired;
    TPipeDispatcher* FDispatcher;
    std::shared_ptr<TLink> FLink;
};

} // namespace app
