#include "generator/parallel_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vistello {

namespace {

// Often enough that a window stays responsive while an item takes seconds.
constexpr std::chrono::milliseconds kReportEvery{100};

}  // namespace

int CoreCount() { return static_cast<int>(std::max(1U, std::thread::hardware_concurrency())); }

// A thread that finished an item waits until the calling thread has reported it, so that an
// answer to stop is heard before that thread starts another item. When the system gives no
// thread at all, the calling thread runs the items itself.
ParallelRun RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                          const std::function<bool(int done)>& progress) {
    ParallelRun run;
    if (count <= 0) return run;
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;
    int heard = 0;
    int running = 0;
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        while (!run.stopped && next < count) {
            const int item = next++;
            lock.unlock();
            work(item);
            lock.lock();
            const int mine = ++run.done;
            changed.notify_all();
            changed.wait(lock, [&] { return run.stopped || heard >= mine; });
        }
        --running;
        changed.notify_all();
    };
    std::vector<std::jthread> workers;
    for (int i = std::clamp(threads, 1, count); i > 0; --i) {
        try {
            const std::lock_guard lock(mutex);
            workers.emplace_back(worker);
            ++running;
        } catch (const std::system_error&) {
            break;
        }
    }
    if (workers.empty()) {
        for (; run.done < count && !run.stopped; ++run.done) {
            work(run.done);
            run.stopped = !progress(run.done + 1);
        }
        return run;
    }
    std::unique_lock lock(mutex);
    while (running > 0) {
        changed.wait_for(lock, kReportEvery, [&] { return run.done != heard || running == 0; });
        const int now = run.done;
        lock.unlock();
        const bool goOn = run.stopped || progress(now);
        lock.lock();
        heard = now;
        run.stopped = run.stopped || !goOn;
        changed.notify_all();
    }
    return run;
}

}  // namespace vistello
