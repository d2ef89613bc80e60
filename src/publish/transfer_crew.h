#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/publish_link.h"

namespace vistello {

// One file to send from the site's folder, or to remove from the server.
struct Transfer {
    bool remove = false;
    std::string name;
};

// Told, on the calling thread, of each transfer as it ends.
using TransferDone = std::function<void(const Transfer&, const ServerAnswer&)>;
// Called on the calling thread at least every tenth of a second with the bytes sent of the
// transfers still under way; false stops every transfer.
using TransferTick = std::function<bool(std::uint64_t underWay)>;

// Several connections to one target, each on its own thread, kept from one batch of transfers to
// the next. A broken connection is made again and the transfer tried again, waiting longer each
// time; any other refusal ends the batch, after the transfers under way.
class TransferCrew {
public:
    // `first`, already open, serves the first connection; `stop` ends every transfer at once.
    TransferCrew(PublishLink& link, const PublishTarget& target, const ServerAccess& access,
                 std::string folder, int connections, int pauseMs,
                 std::unique_ptr<PublishServer> first, std::atomic<bool>& stop);
    ~TransferCrew();
    TransferCrew(const TransferCrew&) = delete;
    TransferCrew& operator=(const TransferCrew&) = delete;

    // The first connection, for requests between batches, made again where it broke.
    PublishServer& Idle();

    // Done when every transfer was; else the first answer that ended the batch.
    ServerAnswer Run(const std::vector<Transfer>& batch, const TransferDone& done,
                     const TransferTick& tick);

private:
    struct Ended {
        size_t index;
        ServerAnswer answer;
    };
    struct Worker {
        std::unique_ptr<PublishServer> server;
        std::atomic<std::uint64_t> sent = 0;
        std::thread thread;
    };

    void AddWorker(std::unique_ptr<PublishServer> server);
    void Work(Worker& worker);
    ServerAnswer Attempt(Worker& worker, const Transfer& transfer);
    ServerAnswer WithRetries(Worker& worker, const Transfer& transfer);
    bool Pause(int milliseconds);
    std::uint64_t UnderWay() const;

    PublishLink& m_link;
    PublishTarget m_target;
    ServerAccess m_access;
    std::string m_folder;
    const int m_pauseMs;
    const size_t m_connections;
    std::atomic<bool>& m_stop;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    const std::vector<Transfer>* m_batch = nullptr;
    size_t m_next = 0;
    size_t m_busy = 0;
    bool m_ended = false;
    bool m_quit = false;
    std::deque<Ended> m_ended_list;
    std::vector<std::unique_ptr<Worker>> m_workers;
};

}  // namespace vistello
