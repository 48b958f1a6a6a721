// The row-by-row pass of a map computation, on all cores.
//
// The map computations colour a bitmap row by row; after every row the
// calling (GUI) thread shows progress, pumps messages and may stop (cancel,
// or nothing left to draw).  RunRowPass keeps exactly that contract while
// worker threads compute rows ahead into row buffers: the calling thread
// merges the buffers strictly in row order, so what the merge does (pixels
// written, curve points collected, the decision to stop) is the same as in
// a single-thread pass.  Workers run at most Window rows ahead of the merge,
// so a stop wastes little work.  With one thread the rows are computed in
// the calling thread itself.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace app {

// The number of threads a map computation uses by default: every core.
int DefaultMapThreads();

// A large buffer of a map computation, kept for the next computation in
// the same thread: fresh memory, cleared page by page by the system, costs
// far more than pages already in use.  Taken when made, given back when
// destroyed; a computation started meanwhile (from a pumped message) finds
// none kept and starts with an empty one.
//   TSpareVector<uint8_t> copy;   // copy.Data: empty, its capacity kept
template <class T>
class TSpareVector {
public:
    TSpareVector()
    {
        Data.swap(Kept());
        Data.clear();
    }
    ~TSpareVector()
    {
        if (Data.capacity() > Kept().capacity()) Data.swap(Kept());
    }
    TSpareVector(const TSpareVector&) = delete;
    TSpareVector& operator=(const TSpareVector&) = delete;
    std::vector<T> Data;

private:
    static std::vector<T>& Kept()
    {
        static thread_local std::vector<T> kept;
        return kept;
    }
};

// Runs rows 0 .. rows - 1.  compute(r, buffer) fills a buffer for row r
// (worker threads; it must only read shared state); merge(r, buffer) runs
// in the calling thread in row order and returns false to stop.  Returns
// the number of rows merged.  An exception from compute or merge stops the
// workers and is raised to the caller after they have ended.
template <class TBuffer>
int RunRowPass(int rows, int threads, const std::function<void(int, TBuffer&)>& compute,
               const std::function<bool(int, TBuffer&)>& merge)
{
    if (rows <= 0) return 0;
    if (threads <= 1) {
        TBuffer buffer;
        for (int r = 0; r < rows; ++r) {
            compute(r, buffer);
            if (!merge(r, buffer)) return r + 1;
        }
        return rows;
    }

    // A generous window: on a busy machine the calling thread may wait long
    // to be woken for the merge, and the workers should not stop meanwhile.
    const int window = std::max(4, threads * 16);
    std::vector<TBuffer> buffers(window);
    std::vector<char> done(window, 0);
    // An error is raised when the merge reaches its row, as a single-thread
    // pass would: a row past the point where the pass stops never fails it.
    std::vector<std::exception_ptr> errors(window);
    std::mutex lock;
    std::condition_variable rowDone, slotFree;
    int next = 0;      // next row to hand to a worker
    int merged = 0;    // rows merged so far
    bool stop = false;

    auto worker = [&] {
        for (;;) {
            int r;
            {
                std::unique_lock<std::mutex> guard(lock);
                slotFree.wait(guard, [&] { return stop || next >= rows || next < merged + window; });
                if (stop || next >= rows) return;
                r = next++;
            }
            std::exception_ptr failure;
            try {
                compute(r, buffers[r % window]);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard<std::mutex> guard(lock);
            errors[r % window] = failure;
            done[r % window] = 1;
            rowDone.notify_all();
        }
    };

    std::vector<std::thread> pool;
    auto finish = [&] {
        {
            std::lock_guard<std::mutex> guard(lock);
            stop = true;
        }
        slotFree.notify_all();
        for (std::thread& t : pool) t.join();
        pool.clear();
    };

    int count = 0;
    try {
        for (int i = 0; i < threads; ++i) pool.emplace_back(worker);
        for (int r = 0; r < rows; ++r) {
            std::exception_ptr failure;
            {
                std::unique_lock<std::mutex> guard(lock);
                rowDone.wait(guard, [&] { return done[r % window] != 0; });
                failure = errors[r % window];
            }
            if (failure) std::rethrow_exception(failure);
            const bool goOn = merge(r, buffers[r % window]);
            count = r + 1;
            {
                std::lock_guard<std::mutex> guard(lock);
                done[r % window] = 0;
                merged = r + 1;
            }
            slotFree.notify_all();
            if (!goOn) break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return count;
}

} // namespace app
