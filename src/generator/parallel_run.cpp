#include "generator/parallel_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace vistello {

namespace {

// Often enough that a window stays responsive while an item takes seconds.
constexpr std::chrono::milliseconds kReportEvery{100};

}  // namespace

int CoreCount() { return static_cast<int>(std::max(1U, std::thread::hardware_concurrency())); }

// A thread that finished an item waits until the calling thread has reported it, so that an
// answer to stop is heard before that thread starts another item.
int RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                  const std::function<bool(int done)>& progress) {
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;
    int done = 0;
    int heard = 0;
    bool stop = false;
    int running = std::clamp(threads, 1, std::max(count, 1));
    const auto worker = [&] {
        std::unique_lock lock(mutex);
        while (!stop && next < count) {
            const int item = next++;
            lock.unlock();
            work(item);
            lock.lock();
            const int mine = ++done;
            changed.notify_all();
            changed.wait(lock, [&] { return stop || heard >= mine; });
        }
        --running;
        changed.notify_all();
    };
    std::vector<std::jthread> workers;
    for (int i = running; i > 0; --i) workers.emplace_back(worker);
    std::unique_lock lock(mutex);
    while (running > 0) {
        changed.wait_for(lock, kReportEvery, [&] { return done != heard || running == 0; });
        const int now = done;
        lock.unlock();
        const bool goOn = progress(now);
        lock.lock();
        heard = now;
        stop = stop || !goOn;
        changed.notify_all();
    }
    return done;
}

}  // namespace vistello
