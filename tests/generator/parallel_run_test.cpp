#include "pictures/parallel_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "pictures/picture_pool.h"

namespace vistello::testing {
namespace {

struct Outcome {
    ParallelRun run;
    int started = 0;
    int ended = 0;
};

// Ten items on the threads given; item `failing` throws at once, and so does the report once it
// has heard of `reportFailsAt` items; the report answers false from `stopAt` items on. The other
// items take a while, as real ones do, so that a failure is known before they end even on a slow
// machine.
Outcome RunTen(int threads, int failing, int reportFailsAt, int stopAt) {
    std::atomic<int> started{0};
    std::atomic<int> ended{0};
    Outcome outcome;
    outcome.run = RunInParallel(
        10, threads,
        [&](int item) {
            ++started;
            if (item == failing) throw std::runtime_error("disk on fire");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        },
        [&](int done) {
            if (done >= reportFailsAt) throw std::runtime_error("window gone");
            return done < stopAt;
        },
        [&] { ++ended; });
    outcome.started = started;
    outcome.ended = ended;
    return outcome;
}

// Whatever gives way, in an item or in a report, the run returns at once with the reason, every
// thread told it ends; items already started are finished and no other starts. The calling
// thread alone behaves alike.
TEST(ParallelRunTest, AFailingItemOrReportEndsTheRunWithItsReason) {
    for (const int threads : {0, 1, 3}) {
        SCOPED_TRACE(threads);
        const Outcome item = RunTen(threads, 2, 99, 99);
        EXPECT_TRUE(item.run.stopped);
        EXPECT_EQ(item.run.failure, "disk on fire");
        EXPECT_LE(item.started, 2 + std::max(threads, 1));
        EXPECT_LT(item.run.done, item.started);

        const Outcome report = RunTen(threads, -1, 1, 99);
        EXPECT_TRUE(report.run.stopped);
        EXPECT_EQ(report.run.failure, "window gone");
        EXPECT_LE(report.started, 1 + std::max(threads, 1));

        const Outcome stop = RunTen(threads, -1, 99, 4);
        EXPECT_TRUE(stop.run.stopped);
        EXPECT_EQ(stop.run.failure, "");
        EXPECT_EQ(stop.run.done, stop.started);
        EXPECT_LT(stop.started, 10);
        // On one thread the answer to stop is heard before the next item starts.
        if (threads <= 1) {
            EXPECT_EQ(stop.started, 4);
        }

        const Outcome all = RunTen(threads, -1, 99, 99);
        EXPECT_FALSE(all.run.stopped);
        EXPECT_EQ(all.run.done, 10);
        EXPECT_EQ(all.ended, threads > 0 ? 10 : 0);
    }
}

// On two threads the first item fails after the second has finished: the run says which one is
// whole, so that no caller takes the failed item's results for made ones.
TEST(ParallelRunTest, SaysWhichItemsFinishedWhenAnEarlierOneFails) {
    const ParallelRun run = RunInParallel(
        2, 2,
        [](int item) {
            if (item == 1) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            throw std::runtime_error("disk on fire");
        },
        [](int) { return true; });
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.done, 1);
    EXPECT_FALSE(run.Finished(0));
    EXPECT_TRUE(run.Finished(1));
}

// A run's items go before thumbnails already waiting for the picture threads, and no thumbnail
// starts while a run is under way; a run asked for on a picture thread is run there rather than
// waiting for the threads, itself among them.
TEST(ParallelRunTest, ARunGoesBeforeThumbnailsAndRunsOnAPictureThreadItself) {
    std::vector<std::string> order;
    std::promise<void> gate;
    std::promise<void> ended;
    {
        PicturePool pool(1);
        const std::shared_future<void> opened = gate.get_future().share();
        std::promise<void> started;
        pool.Post(PicturePool::Lane::Later, [&] {
            started.set_value();
            opened.wait();
            order.push_back("under way");
        });
        started.get_future().wait();
        pool.Post(PicturePool::Lane::Later, [&] { order.push_back("thumbnail"); });
        pool.Post(PicturePool::Lane::First, [&] { order.push_back("run"); });
        pool.Post(PicturePool::Lane::Later, [&] { ended.set_value(); });
        gate.set_value();
        ended.get_future().wait();
    }
    EXPECT_EQ(order, (std::vector<std::string>{"under way", "run", "thumbnail"}));

    std::atomic<bool> thumbnailMade = false;
    std::promise<void> made;
    bool madeDuringTheRun = true;
    RunInParallel(
        3, 2,
        [&](int item) {
            if (item == 0) {
                ProgramPool().Post(PicturePool::Lane::Later, [&] {
                    thumbnailMade = true;
                    made.set_value();
                });
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (item == 2) madeDuringTheRun = thumbnailMade;
        },
        [](int) { return true; });
    EXPECT_FALSE(madeDuringTheRun);
    EXPECT_EQ(made.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);

    // Every picture thread at once.
    const int threads = ProgramPool().Threads();
    std::latch allThere(threads);
    std::vector<std::promise<int>> inner(static_cast<size_t>(threads));
    for (std::promise<int>& one : inner) {
        ProgramPool().Post(PicturePool::Lane::Later, [&] {
            allThere.arrive_and_wait();
            one.set_value(RunInParallel(
                              3, 2, [](int) {}, [](int) { return true; })
                              .done);
        });
    }
    for (std::promise<int>& one : inner) {
        std::future<int> done = one.get_future();
        ASSERT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
        EXPECT_EQ(done.get(), 3);
    }
}

}  // namespace
}  // namespace vistello::testing
