#include "pictures/parallel_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "files/error_text.h"
#include "pictures/picture_pool.h"

namespace vistello {

namespace {

// Often enough that a window stays responsive while an item takes seconds.
constexpr std::chrono::milliseconds kReportEvery{100};

// Runs one call; what it throws becomes the run's failure, the first one kept.
template <typename Call>
bool Guarded(ParallelRun& run, std::mutex& mutex, Call&& call) {
    try {
        call();
        return true;
    } catch (...) {
        const std::string reason = ExceptionText(std::current_exception());
        const std::lock_guard lock(mutex);
        if (run.failure.empty()) run.failure = reason.empty() ? "unknown error" : reason;
        run.stopped = true;
        return false;
    }
}

// When the system gives no thread at all, the calling thread runs the items itself.
ParallelRun RunHere(int count, const std::function<void(int item)>& work,
                    const std::function<bool(int done)>& progress) {
    ParallelRun run;
    run.finished.resize(static_cast<size_t>(count));
    std::mutex mutex;
    while (run.done < count && !run.stopped) {
        if (!Guarded(run, mutex, [&] { work(run.done); })) break;
        run.finished[static_cast<size_t>(run.done)] = true;
        ++run.done;
        bool goOn = true;
        Guarded(run, mutex, [&] { goOn = progress(run.done); });
        run.stopped = run.stopped || !goOn;
    }
    return run;
}

}  // namespace

int CoreCount() { return static_cast<int>(std::max(1U, std::thread::hardware_concurrency())); }

// Each item is a task of its own on the program's picture threads, and the next is handed out only
// once the calling thread has reported the one before: an answer to stop is heard before another
// item starts, and no picture thread ever waits for the calling thread, which may itself be
// running another run from its report. A failed item is not counted as done: what it left is not
// whole. The run ends only once every task it handed out has, started or not, since each works
// on this frame.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress,
                          const ThreadEnd& threadEnd) {
    if (count <= 0) return {};
    PicturePool& pool = ProgramPool();
    // A picture thread that waited for the others could wait for itself.
    if (threads <= 0 || pool.Threads() == 0 || pool.OnPoolThread())
        return RunHere(count, work, progress);
    const PicturePool::RunUnderWay under(pool);
    ParallelRun run;
    run.finished.resize(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable changed;
    const int width = std::min(threads, pool.Threads());
    int next = 0;
    int heard = 0;
    int handedOut = 0;
    const auto runItem = [&](int index) {
        std::unique_lock lock(mutex);
        const bool wanted = !run.stopped;
        lock.unlock();
        const bool whole = wanted && Guarded(run, mutex, [&] { work(index); });
        if (wanted && threadEnd) Guarded(run, mutex, threadEnd);
        lock.lock();
        if (whole) {
            run.finished[static_cast<size_t>(index)] = true;
            ++run.done;
        }
        --handedOut;
        changed.notify_all();
    };
    // Called with the lock held.
    const auto handOut = [&] {
        for (; !run.stopped && next < count && handedOut < width; ++next, ++handedOut)
            pool.Post(PicturePool::Lane::First, [&runItem, index = next] { runItem(index); });
    };
    std::unique_lock lock(mutex);
    handOut();
    while (handedOut > 0) {
        changed.wait_for(lock, kReportEvery, [&] { return run.done != heard || handedOut == 0; });
        const int now = run.done;
        const bool stopped = run.stopped;
        lock.unlock();
        bool goOn = true;
        if (!stopped) Guarded(run, mutex, [&] { goOn = progress(now); });
        lock.lock();
        heard = now;
        run.stopped = run.stopped || !goOn;
        handOut();
    }
    // Once every item has ended the run is reported once more, whole, as callers count on: an
    // answer to stop given then still stops what follows the run.
    lock.unlock();
    bool goOn = true;
    if (!run.stopped) Guarded(run, mutex, [&] { goOn = progress(run.done); });
    run.stopped = run.stopped || !goOn;
    return run;
}

}  // namespace vistello
