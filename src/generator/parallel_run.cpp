#include "generator/parallel_run.h"

#include <algorithm>
#include <atomic>
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

int CoreCount() { return std::max(1U, std::thread::hardware_concurrency()); }

int RunInParallel(int count, int threads, const std::function<void(int item)>& work,
                  const std::function<bool(int done)>& progress) {
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
    int running = std::clamp(threads, 1, std::max(count, 1));
    std::vector<std::jthread> workers;
    for (int i = 0; i < running; ++i) {
        workers.emplace_back([&] {
            for (int item = next++; item < count && !stop; item = next++) {
                work(item);
                const std::lock_guard lock(mutex);
                ++done;
                changed.notify_one();
            }
            const std::lock_guard lock(mutex);
            --running;
            changed.notify_one();
        });
    }
    std::unique_lock lock(mutex);
    while (running > 0) {
        changed.wait_for(lock, kReportEvery);
        const int now = done;
        lock.unlock();
        if (!stop && !progress(now)) stop = true;
        lock.lock();
    }
    return done;
}

}  // namespace vistello
