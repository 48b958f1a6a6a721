#include "PipeRecorder.h"

#include <cerrno>
#include <chrono>

namespace tepeer {

TPipeRecorder::TPipeRecorder(const std::string& path)
{
    FListening = FListener.Listen(path, FListenError);
    if (FListening) FThread = std::thread([this] { Serve(); });
}

TPipeRecorder::~TPipeRecorder()
{
    FStop.Set();
    if (FThread.joinable()) FThread.join();
    FClient.Close();
    FListener.Close();
}

std::vector<std::string> TPipeRecorder::Messages() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FMessages;
}

std::size_t TPipeRecorder::Count() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FMessages.size();
}

bool TPipeRecorder::WaitForCount(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(FLock);
    return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FMessages.size() >= count; });
}

int TPipeRecorder::Connections() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FConnections;
}

bool TPipeRecorder::WaitForConnections(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(FLock);
    return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FConnections >= count; });
}

void TPipeRecorder::VanishAfter(std::size_t count)
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FVanishAt = FMessages.size() + count;
    }
    FWake.Set();
}

bool TPipeRecorder::Vanished() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FVanished;
}

void TPipeRecorder::SetPaused(bool paused)
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        FPaused = paused;
    }
    FWake.Set();
}

bool TPipeRecorder::SendToClient(const std::string& message)
{
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (FConnections == 0 || FVanished) return false;
        FOutgoing.push_back(message);
    }
    FWake.Set();
    return true;
}

void TPipeRecorder::SetOnMessage(std::function<void(const std::string&)> fn)
{
    std::lock_guard<std::mutex> lock(FLock);
    FOnMessage = std::move(fn);
}

void TPipeRecorder::Notify()
{
    FChanged.notify_all();
}

void TPipeRecorder::Serve()
{
    for (;;) {
        if (!FClient.IsOpen()) {
            sys::TSeqPacketSocket client;
            if (!FListener.Accept(client, -1, &FStop)) return;
            {
                std::lock_guard<std::mutex> lock(FLock);
                FClient = std::move(client);
                ++FConnections;
            }
            Notify();
        }
        bool paused;
        std::vector<std::string> outgoing;
        {
            std::lock_guard<std::mutex> lock(FLock);
            paused = FPaused;
            outgoing.swap(FOutgoing);
        }
        for (const auto& m : outgoing) FClient.Send(m.data(), m.size());
        const sys::TSocketWait w = FClient.Wait({&FStop, &FWake}, !paused, false);
        if (w.Event == 0) return;
        if (w.Event == 1) FWake.Reset();
        if (paused) continue;
        for (;;) {
            std::string message;
            const int r = FClient.Receive(message);
            if (r == EAGAIN) break;
            if (r != 0) {
                // The client has gone: wait for the next one.
                FClient.Close();
                break;
            }
            bool vanish = false;
            std::function<void(const std::string&)> onMessage;
            {
                std::lock_guard<std::mutex> lock(FLock);
                FMessages.push_back(message);
                vanish = FVanishAt != 0 && FMessages.size() >= FVanishAt;
                if (vanish) FVanished = true;
                onMessage = FOnMessage;
            }
            if (onMessage) onMessage(message);
            Notify();
            if (vanish) {
                FClient.Close();
                FListener.Close();
                Notify();
                return;
            }
        }
    }
}

} // namespace tepeer
