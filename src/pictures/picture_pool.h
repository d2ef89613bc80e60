#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vistello {

// The program's picture threads: one per core, started the first time pictures are made and kept
// until the program ends, so that a window's thumbnails and a Generate's web copies share the
// cores rather than each starting threads of its own. Work posted `First` (a Generate's) is taken
// before any work posted `Later` (thumbnails), and while a run is under way no `Later` work starts
// at all: a Generate waits for no thumbnail but one already being made. A task must not throw:
// what it throws is dropped.
class PicturePool {
public:
    enum class Lane { First, Later };

    // No thread at all where the system gives none: Threads() then says 0.
    explicit PicturePool(int threads);
    // Tasks not yet started are dropped, those under way finished, every thread joined.
    ~PicturePool();
    PicturePool(const PicturePool&) = delete;
    PicturePool& operator=(const PicturePool&) = delete;

    // While one lives, a run is under way.
    class RunUnderWay {
    public:
        explicit RunUnderWay(PicturePool& pool);
        ~RunUnderWay();
        RunUnderWay(const RunUnderWay&) = delete;
        RunUnderWay& operator=(const RunUnderWay&) = delete;

    private:
        PicturePool& m_pool;
    };

    int Threads() const { return static_cast<int>(m_threads.size()); }
    // Where the pool has no thread, the task runs at once on the calling thread.
    void Post(Lane lane, std::function<void()> task);
    // Whether the calling thread is one of this pool's: such a thread must not wait for the pool.
    bool OnPoolThread() const;

private:
    static void Run(std::function<void()>& task);
    void Serve();

    mutable std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_first;
    std::deque<std::function<void()>> m_later;
    int m_runs = 0;
    bool m_ending = false;
    std::vector<std::thread> m_threads;
};

// The program's one pool, with one thread per core, made on first use.
PicturePool& ProgramPool();

}  // namespace vistello
