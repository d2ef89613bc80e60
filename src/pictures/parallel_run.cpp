#include "pictures/parallel_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "pictures/picture_pool.h"

namespace vistello {

namespace {

// Often enough that a window stays responsive while an item takes seconds.
constexpr std::chrono::milliseconds kReportEvery{100};

std::string Reason(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

// Runs one call; what it throws becomes the run's failure, the first one kept.
template <typename Call>
bool Guarded(ParallelRun& run, std::mutex& mutex, Call&& call) {
    try {
        call();
        return true;
    } catch (...) {
        const std::string reason = Reason(std::current_exception());
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

// A worker that finished an item waits until the calling thread has reported it, so that an
// answer to stop is heard before that worker starts another item. A failed item is not counted
// as done: what it left is not whole. The workers are tasks on the program's picture threads; the
// run ends only once every one of them has, started or not, since each works on this frame.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress,
                          const ThreadEnd& threadEnd) {
    if (count <= 0) return {};
    PicturePool& pool = ProgramPool();
    // A picture thread that waited for the others could wait for itself.
    if (threads <= 0 || pool.Threads() == 0 || pool.OnPoolThread())
        return RunHere(count, work, progress);
    ParallelRun run;
    run.finished.resize(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;
    int heard = 0;
    int running = std::min({threads, count, pool.Threads()});
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        while (!run.stopped && next < count) {
            const int item = next++;
            lock.unlock();
            const bool whole = Guarded(run, mutex, [&] { work(item); });
            lock.lock();
            if (!whole) break;
            run.finished[static_cast<size_t>(item)] = true;
            const int mine = ++run.done;
            changed.notify_all();
            changed.wait(lock, [&] { return run.stopped || heard >= mine; });
        }
        lock.unlock();
        if (threadEnd) Guarded(run, mutex, threadEnd);
        lock.lock();
        --running;
        changed.notify_all();
    };
    for (int i = running; i > 0; --i) pool.Post(PicturePool::Lane::First, worker);
    std::unique_lock lock(mutex);
    while (running > 0) {
        changed.wait_for(lock, kReportEvery, [&] { return run.done != heard || running == 0; });
        const int now = run.done;
        const bool stopped = run.stopped;
        lock.unlock();
        bool goOn = true;
        if (!stopped) Guarded(run, mutex, [&] { goOn = progress(now); });
        lock.lock();
        heard = now;
        run.stopped = run.stopped || !goOn;
        changed.notify_all();
    }
    return run;
}

}  // namespace vistello
