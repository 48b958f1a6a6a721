#include "app/Pipes.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/rtl/Strings.h"
#include "platform/sys/SeqPacketSocket.h"

namespace app {

// --- dispatchers -----------------------------------------------------------------

namespace {

std::atomic<TPipeDispatcher*> GDefaultDispatcher{nullptr};

} // namespace

TPipeDispatcher* DefaultPipeDispatcher()
{
    TPipeDispatcher* d = GDefaultDispatcher.load();
    return d ? d : GuiPipeDispatcher();
}

void SetDefaultPipeDispatcher(TPipeDispatcher* dispatcher)
{
    GDefaultDispatcher.store(dispatcher);
}

struct TQueuedPipeDispatcher::TImpl {
    std::mutex Lock;
    std::condition_variable Posted;
    std::deque<std::function<void()>> Queue;
};

TQueuedPipeDispatcher::TQueuedPipeDispatcher() : FImpl(std::make_unique<TImpl>()) {}

TQueuedPipeDispatcher::~TQueuedPipeDispatcher() = default;

void TQueuedPipeDispatcher::Post(std::function<void()> fn)
{
    {
        std::lock_guard<std::mutex> lock(FImpl->Lock);
        FImpl->Queue.push_back(std::move(fn));
    }
    FImpl->Posted.notify_all();
}

int TQueuedPipeDispatcher::ProcessPosted()
{
    int count = 0;
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> lock(FImpl->Lock);
            if (FImpl->Queue.empty()) return count;
            fn = std::move(FImpl->Queue.front());
            FImpl->Queue.pop_front();
        }
        fn();
        ++count;
    }
}

int TQueuedPipeDispatcher::WaitAndProcess(int timeoutMs)
{
    {
        std::unique_lock<std::mutex> lock(FImpl->Lock);
        FImpl->Posted.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !FImpl->Queue.empty(); });
    }
    return ProcessPosted();
}

bool TQueuedPipeDispatcher::ProcessUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    ProcessPosted();
    while (!done()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return done();
        WaitAndProcess(static_cast<int>(std::min<long long>(left.count(), 50)));
    }
    return true;
}

// --- the write queue -------------------------------------------------------------

TWriteQueue::TWriteQueue() : FDataEv(std::make_unique<sys::TWaitEvent>()) {}

TWriteQueue::~TWriteQueue()
{
    FDataEv->Reset();
    while (FHead) {
        TWriteNode* next = FHead->NextNode;
        delete FHead->PipeWrite;
        delete FHead;
        FHead = next;
    }
    FTail = nullptr;
    FCount = 0;
}

void TWriteQueue::Enqueue(PPipeWrite PipeWrite)
{
    auto* node = new TWriteNode{PipeWrite, nullptr};
    if (FTail) FTail->NextNode = node;
    else FHead = node;
    FTail = node;
    ++FCount;
    FDataEv->Set();
}

PPipeWrite TWriteQueue::Dequeue()
{
    PPipeWrite result = nullptr;
    if (FHead) {
        TWriteNode* node = FHead;
        result = node->PipeWrite;
        FHead = node->NextNode;
        if (!FHead) FTail = nullptr;
        delete node;
        --FCount;
    }
    if (FCount == 0) FDataEv->Reset();
    return result;
}

// --- the worker ------------------------------------------------------------------

// One connection's I/O.  The client owns the object and joins its thread;
// what the worker shares with notices that may outlive it lives in TShared.
class TPipeClientThread {
public:
    // The stop flag and the hand-over of a block dequeued in the GUI thread.
    struct TShared {
        std::mutex Lock;
        std::condition_variable Changed;
        bool Killed = false;
        uint64_t Request = 0;       // number of the dequeue being waited for
        bool RequestDone = false;
        PPipeWrite Block = nullptr;  // what the GUI thread handed over
    };

    TPipeClientThread(std::shared_ptr<TPipeClient::TLink> link, TPipeDispatcher* dispatcher,
                      sys::TSeqPacketSocket socket, sys::TWaitEvent& dataEvent, uint64_t serial)
        : Serial(serial), Pipe(static_cast<uint32_t>(socket.Handle())), FLink(std::move(link)),
          FDispatcher(dispatcher), FSocket(std::move(socket)), FDataEvent(dataEvent),
          FShared(std::make_shared<TShared>())
    {
        FThread = std::thread([this] { Execute(); });
    }

    ~TPipeClientThread()
    {
        Stop();
        Join();
    }

    // Tells the worker to end; returns at once.  GUI thread.
    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(FShared->Lock);
            FShared->Killed = true;
        }
        FShared->Changed.notify_all();
        FKillEvent.Set();
    }

    void Join()
    {
        if (FThread.joinable()) FThread.join();
    }

    const uint64_t Serial;
    const uint32_t Pipe;

private:
    bool Killed()
    {
        std::lock_guard<std::mutex> lock(FShared->Lock);
        return FShared->Killed;
    }

    void Execute()
    {
        bool failed = false;
        while (!Killed()) {
            if (!ReadWaiting() || !StartWriting()) {
                failed = FErrorCode != 0;
                break;
            }
            std::vector<const sys::TWaitEvent*> events{&FKillEvent};
            if (!FPendingWrite) events.push_back(&FDataEvent);
            const sys::TSocketWait w = FSocket.Wait(events, true, FPendingWrite);
            if (w.Error) {
                FErrorCode = w.Error;
                failed = true;
                break;
            }
            if (w.Event == 0) break;
            if (FPendingWrite && (w.Writable || w.HungUp) && !TrySend()) {
                failed = true;
                break;
            }
        }
        // A server that is not connected is not worth an error.
        if (failed && FErrorCode != ENOTCONN) PostError(FErrorCode);
        FSocket.Close();
        FPipeWrite.reset();
        PostEnded();
    }

    // Hands every message that is waiting to the GUI thread; false on a
    // failure (the peer's end included).
    bool ReadWaiting()
    {
        for (;;) {
            std::string message;
            const int r = FSocket.Receive(message);
            if (r == EAGAIN) return true;
            if (r != 0) {
                FErrorCode = r;
                return false;
            }
            PostReceived(std::move(message));
        }
    }

    // Takes the next block when one is waiting and no write is pending,
    // and tries to send it.  false on a failure, or when told to stop while
    // waiting for the block.
    bool StartWriting()
    {
        if (FPendingWrite || !FDataEvent.IsSet()) return true;
        PPipeWrite block = nullptr;
        if (!TakeNextBlock(block)) return false;
        if (!block) return true;
        FPipeWrite.reset(block);
        return TrySend();
    }

    bool TrySend()
    {
        const int r = FSocket.Send(FPipeWrite->Buffer.data(), FPipeWrite->Count);
        if (r == EAGAIN) {
            FPendingWrite = true;
            return true;
        }
        FPendingWrite = false;
        const uint32_t count = FPipeWrite->Count;
        FPipeWrite.reset();
        if (r != 0) {
            FErrorCode = r;
            return false;
        }
        PostSent(count);
        return true;
    }

    // The queue belongs to the GUI thread: the dequeue runs there, and the
    // worker waits for it - or for the order to stop, which the GUI thread
    // may give while it waits for this worker (no lock-up either way).
    bool TakeNextBlock(PPipeWrite& block)
    {
        std::shared_ptr<TShared> shared = FShared;
        uint64_t request;
        {
            std::lock_guard<std::mutex> lock(shared->Lock);
            if (shared->Killed) return false;
            request = ++shared->Request;
            shared->RequestDone = false;
            shared->Block = nullptr;
        }
        FDispatcher->Post([shared, link = FLink, request] {
            std::lock_guard<std::mutex> lock(shared->Lock);
            if (shared->Killed || shared->Request != request || !link->Client) return;
            shared->Block = link->Client->FWriteQueue->Dequeue();
            shared->RequestDone = true;
            shared->Changed.notify_all();
        });
        std::unique_lock<std::mutex> lock(shared->Lock);
        shared->Changed.wait(lock, [&] { return shared->RequestDone || shared->Killed; });
        block = shared->Block;
        shared->Block = nullptr;
        if (shared->Killed) {
            // Stopping: a block taken meanwhile is dropped with the worker.
            delete block;
            block = nullptr;
            return false;
        }
        return true;
    }

    template <typename F>
    void PostToClient(F fn)
    {
        FDispatcher->Post([link = FLink, fn = std::move(fn)]() mutable {
            if (link->Client) fn(*link->Client);
        });
    }

    void PostError(int code)
    {
        PostToClient([pipe = Pipe, code](TPipeClient& c) {
            if (c.OnPipeError) c.OnPipeError(&c, pipe, pcWorker, code);
        });
    }

    void PostSent(uint32_t count)
    {
        PostToClient([pipe = Pipe, count](TPipeClient& c) {
            if (c.OnPipeSent) c.OnPipeSent(&c, pipe, count);
        });
    }

    void PostReceived(std::string message)
    {
        PostToClient([pipe = Pipe, message = std::move(message)](TPipeClient& c) {
            if (message.empty() || !c.OnPipeMessage) return;
            rtl::TMemoryStream stream;
            stream.WriteBuffer(message.data(), static_cast<int64_t>(message.size()));
            stream.SetPosition(0);
            c.OnPipeMessage(&c, pipe, stream);
        });
    }

    void PostEnded()
    {
        PostToClient([serial = Serial](TPipeClient& c) {
            TPipeClientThread* worker = nullptr;
            if (c.FWorker && c.FWorker->Serial == serial) worker = c.FWorker;
            for (TPipeClientThread* w : c.FRetired)
                if (w->Serial == serial) worker = w;
            // Unknown: already waited for by Disconnect.
            if (worker) c.WorkerEnded(worker);
        });
    }

    std::shared_ptr<TPipeClient::TLink> FLink;
    TPipeDispatcher* FDispatcher;
    sys::TSeqPacketSocket FSocket;
    sys::TWaitEvent& FDataEvent;
    sys::TWaitEvent FKillEvent;
    std::shared_ptr<TShared> FShared;
    std::unique_ptr<TPipeWrite> FPipeWrite;
    bool FPendingWrite = false;
    int FErrorCode = 0;
    std::thread FThread;
};

// --- the client ------------------------------------------------------------------

namespace {
std::atomic<uint64_t> GWorkerSerial{0};
}

TPipeClient::TPipeClient(rtl::TComponent* AOwner, TPipeDispatcher* dispatcher)
    : rtl::TComponent(AOwner), FWriteQueue(std::make_unique<TWriteQueue>()),
      FDispatcher(dispatcher ? dispatcher : DefaultPipeDispatcher()), FLink(std::make_shared<TLink>())
{
    FLink->Client = this;
}

TPipeClient::~TPipeClient()
{
    // Notices still on their way find no client; the workers are stopped
    // and waited for before the queue and the events they use go.
    FLink->Client = nullptr;
    StopAndJoinAll();
    FConnected = false;
    FPipe = -1;
}

void TPipeClient::StopAndJoinAll()
{
    std::vector<TPipeClientThread*> workers = FRetired;
    if (FWorker) workers.push_back(FWorker);
    FRetired.clear();
    FWorker = nullptr;
    for (TPipeClientThread* w : workers) w->Stop();
    for (TPipeClientThread* w : workers) delete w;  // joins
}

void TPipeClient::SetPipeName(const std::string& value)
{
    if (FConnected) throw EPipeException(ErrorPipeConnected);
    // Counted in UTF-16 code units, as the name's characters.
    if (value.empty() || rtl::UTF8ToUTF16(value).size() > 63 || value.find('\\') != std::string::npos ||
        value.find('/') != std::string::npos)
        throw EPipeException(ErrorPipeName);
    FPipeName = value;
}

void TPipeClient::SetServerName(const std::string& value)
{
    if (FConnected) throw EPipeException(ErrorPipeConnected);
    FServerName = value;
}

std::string TPipeClient::PipePath() const
{
    const bool local = FServerName.empty() || FServerName == "." ||
                       rtl::SameText(FServerName, sys::TSeqPacketSocket::ComputerName());
    return local ? sys::TSeqPacketSocket::RuntimePath(FPipeName) : std::string();
}

bool TPipeClient::Connect(int32_t wait_ms)
{
    if (FConnected) return true;
    const std::string path = PipePath();
    if (path.empty()) return false;
    sys::TSeqPacketSocket socket;
    int error = 0;
    if (!socket.Connect(path, wait_ms, error)) return false;
    FPipe = socket.Handle();
    FWorker = new TPipeClientThread(FLink, FDispatcher, std::move(socket), FWriteQueue->DataEvent(), ++GWorkerSerial);
    FConnected = true;
    return true;
}

void TPipeClient::Disconnect(bool CanWait)
{
    if (!FConnected) return;
    TPipeClientThread* worker = FWorker;
    FConnected = false;
    if (!worker) return;
    worker->Stop();
    if (CanWait && !IsDestroying()) {
        worker->Join();
        WorkerEnded(worker);
    } else {
        FRetired.push_back(worker);
        FWorker = nullptr;
    }
}

bool TPipeClient::Write(const void* Buffer, uint32_t Count)
{
    if (!FConnected) return false;
    auto* block = new TPipeWrite;
    const auto* bytes = static_cast<const uint8_t*>(Buffer);
    block->Buffer.assign(bytes, bytes + Count);
    block->Count = Count;
    FWriteQueue->Enqueue(block);
    return true;
}

void TPipeClient::WorkerEnded(TPipeClientThread* worker)
{
    const uint32_t pipe = worker->Pipe;
    if (worker == FWorker) FWorker = nullptr;
    FRetired.erase(std::remove(FRetired.begin(), FRetired.end(), worker), FRetired.end());
    worker->Join();
    delete worker;
    // Not connected afterwards, even when the event raises - unless a newer
    // connection has been opened meanwhile (or by the event).
    struct TReset {
        TPipeClient* Self;
        ~TReset()
        {
            if (!Self->FWorker) {
                Self->FPipe = -1;
                Self->FConnected = false;
            }
        }
    } reset{this};
    if (!IsDestroying() && OnPipeDisconnect) OnPipeDisconnect(this, pipe);
}

} // namespace app
