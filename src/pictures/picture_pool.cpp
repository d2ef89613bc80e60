#include "pictures/picture_pool.h"

#include <system_error>
#include <utility>

#include "pictures/parallel_run.h"

namespace vistello {

namespace {

// The pool whose thread this is, so that a task that would wait for the pool runs its work itself.
thread_local const PicturePool* t_pool = nullptr;

}  // namespace

PicturePool::PicturePool(int threads) {
    const std::lock_guard lock(m_mutex);
    for (int i = 0; i < threads; ++i) {
        try {
            m_threads.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
            break;
        }
    }
}

PicturePool::~PicturePool() {
    std::deque<std::function<void()>> dropped;
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
        dropped.swap(m_first);
        dropped.insert(dropped.end(), std::make_move_iterator(m_later.begin()),
                       std::make_move_iterator(m_later.end()));
        m_later.clear();
    }
    m_posted.notify_all();
    for (std::thread& thread : m_threads) thread.join();
}

void PicturePool::Post(Lane lane, std::function<void()> task) {
    if (m_threads.empty()) {
        Run(task);
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        (lane == Lane::First ? m_first : m_later).push_back(std::move(task));
    }
    m_posted.notify_one();
}

bool PicturePool::OnPoolThread() const { return t_pool == this; }

PicturePool::RunUnderWay::RunUnderWay(PicturePool& pool) : m_pool(pool) {
    const std::lock_guard lock(m_pool.m_mutex);
    ++m_pool.m_runs;
}

PicturePool::RunUnderWay::~RunUnderWay() {
    {
        const std::lock_guard lock(m_pool.m_mutex);
        --m_pool.m_runs;
    }
    m_pool.m_posted.notify_all();
}

void PicturePool::Run(std::function<void()>& task) {
    try {
        task();
    } catch (...) {
        // A task reports its own failures; one it let out has nobody left to hear it.
    }
}

// A task is taken out of its lane and dropped once it ran, both outside the lock: what it holds
// may be the last hold on an object whose end takes the pool's time.
void PicturePool::Serve() {
    t_pool = this;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_posted.wait(lock, [this] {
            return m_ending || !m_first.empty() || (m_runs == 0 && !m_later.empty());
        });
        if (m_ending) return;
        std::deque<std::function<void()>>& lane = m_first.empty() ? m_later : m_first;
        std::function<void()> task = std::move(lane.front());
        lane.pop_front();
        lock.unlock();
        Run(task);
        task = nullptr;
        lock.lock();
    }
}

PicturePool& ProgramPool() {
    static PicturePool pool(CoreCount());
    return pool;
}

}  // namespace vistello
