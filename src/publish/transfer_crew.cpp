#include "publish/transfer_crew.h"

#include <chrono>

namespace vistello {

namespace {

constexpr int kAttempts = 4;
constexpr auto kTick = std::chrono::milliseconds(100);

}  // namespace

TransferCrew::TransferCrew(PublishLink& link, const PublishTarget& target,
                           const ServerAccess& access, std::string folder, int connections,
                           int pauseMs, std::unique_ptr<PublishServer> first,
                           std::atomic<bool>& stop)
    : m_link(link),
      m_target(target),
      m_access(access),
      m_folder(std::move(folder)),
      m_pauseMs(pauseMs),
      m_connections(std::max(connections, 1)),
      m_stop(stop) {
    AddWorker(std::move(first));
}

void TransferCrew::AddWorker(std::unique_ptr<PublishServer> server) {
    m_workers.push_back(std::make_unique<Worker>());
    Worker& worker = *m_workers.back();
    worker.server = std::move(server);
    worker.thread = std::thread([this, &worker] { Work(worker); });
}

TransferCrew::~TransferCrew() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    for (auto& worker : m_workers) worker->thread.join();
}

// Waits, hearing a stop at once.
bool TransferCrew::Pause(int milliseconds) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return m_stop.load() || m_ended || m_quit; });
}

ServerAnswer TransferCrew::Attempt(Worker& worker, const Transfer& transfer) {
    if (!worker.server) {
        worker.server = m_link.Connect(m_target, m_access, m_stop);
        ServerAnswer opened = worker.server->Open();
        if (!opened.Ok()) {
            worker.server.reset();
            return opened;
        }
    }
    if (transfer.remove) return worker.server->Remove(transfer.name);
    worker.sent = 0;
    SendSource source;
    source.path = m_folder + "/" + transfer.name;
    return worker.server->Send(transfer.name, source, [this, &worker](std::uint64_t sent) {
        worker.sent = sent;
        return !m_stop.load();
    });
}

ServerAnswer TransferCrew::WithRetries(Worker& worker, const Transfer& transfer) {
    ServerAnswer answer;
    int pause = m_pauseMs;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        try {
            answer = Attempt(worker, transfer);
        } catch (const std::exception& error) {
            answer = {ServerAnswer::Kind::Failed, error.what(), {}};
        }
        worker.sent = 0;
        if (answer.kind != ServerAnswer::Kind::Broken) return answer;
        worker.server.reset();
        if (attempt == kAttempts || !Pause(pause)) break;
        pause *= 2;
    }
    if (m_stop) answer = {ServerAnswer::Kind::Stopped, "stopped", {}};
    return answer;
}

void TransferCrew::Work(Worker& worker) {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] {
            return m_quit || (m_batch != nullptr && !m_ended && m_next < m_batch->size());
        });
        if (m_quit) return;
        const size_t index = m_next++;
        ++m_busy;
        const Transfer& transfer = (*m_batch)[index];
        lock.unlock();
        ServerAnswer answer = WithRetries(worker, transfer);
        lock.lock();
        --m_busy;
        if (!answer.Ok() && answer.kind != ServerAnswer::Kind::Missing) m_ended = true;
        m_ended_list.push_back({index, std::move(answer)});
        m_wake.notify_all();
    }
}

PublishServer& TransferCrew::Idle() {
    Worker& first = *m_workers.front();
    if (!first.server) {
        first.server = m_link.Connect(m_target, m_access, m_stop);
        first.server->Open();
    }
    return *first.server;
}

std::uint64_t TransferCrew::UnderWay() const {
    std::uint64_t sum = 0;
    for (const auto& worker : m_workers) sum += worker->sent.load();
    return sum;
}

ServerAnswer TransferCrew::Run(const std::vector<Transfer>& batch, const TransferDone& done,
                               const TransferTick& tick) {
    ServerAnswer first;
    // A connection more logs in only where there is work for it.
    while (m_workers.size() < std::min<size_t>(m_connections, batch.size())) AddWorker(nullptr);
    std::unique_lock lock(m_mutex);
    m_batch = &batch;
    m_next = 0;
    m_ended = false;
    m_wake.notify_all();
    while (true) {
        m_wake.wait_for(lock, kTick, [this] { return !m_ended_list.empty(); });
        while (!m_ended_list.empty()) {
            Ended ended = std::move(m_ended_list.front());
            m_ended_list.pop_front();
            lock.unlock();
            if (first.Ok() && !ended.answer.Ok() &&
                ended.answer.kind != ServerAnswer::Kind::Missing)
                first = ended.answer;
            done(batch[ended.index], ended.answer);
            lock.lock();
        }
        const bool finished =
            (m_ended || m_stop || m_next >= batch.size()) && m_busy == 0 && m_ended_list.empty();
        if (finished) break;
        lock.unlock();
        const bool goOn = tick(UnderWay());
        lock.lock();
        if (!goOn) {
            m_stop = true;
            m_wake.notify_all();
        }
    }
    m_batch = nullptr;
    if (m_stop && first.Ok()) first = {ServerAnswer::Kind::Stopped, "stopped", {}};
    return first;
}

}  // namespace vistello
