#pragma once

#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/thumbnail_service.h"

namespace vistello::testing {

// Thumbnails in memory: those a test put in the cache are answered at once; the others wait
// until the test makes them, and are then told on a thread of their own, as a picture thread
// tells them.
class FakeThumbnails : public ThumbnailService {
public:
    struct Asked {
        uint64_t ticket = 0;
        std::string source;
        ThumbnailSize size = ThumbnailSize::Large;
        int order = 0;
        ThumbnailDone done;
    };

    std::optional<ThumbnailAnswer> Request(uint64_t ticket, const std::string& source,
                                           ThumbnailSize size, int order,
                                           ThumbnailDone done) override {
        if (const auto found = cached.find(source); found != cached.end()) return found->second;
        waiting[ticket] = {ticket, source, size, order, std::move(done)};
        return std::nullopt;
    }
    void Reorder(const std::function<int(uint64_t)>& order) override {
        for (auto& [ticket, asked] : waiting) asked.order = order(ticket);
    }
    void Cancel(uint64_t ticket) override { waiting.erase(ticket); }

    // Makes what was asked for the source at that size.
    void Make(const std::string& source, ThumbnailSize size, const ThumbnailAnswer& answer) {
        for (auto asked = waiting.begin(); asked != waiting.end(); ++asked) {
            if (asked->second.source != source || asked->second.size != size) continue;
            const Asked made = std::move(asked->second);
            waiting.erase(asked);
            std::thread([&made, &answer] { made.done(made.ticket, answer); }).join();
            return;
        }
    }
    // The sources waiting at a size, lowest order first.
    std::vector<std::string> Waiting(ThumbnailSize size) const {
        std::multimap<int, std::string> byOrder;
        for (const auto& [ticket, asked] : waiting)
            if (asked.size == size) byOrder.emplace(asked.order, asked.source);
        std::vector<std::string> sources;
        for (const auto& [order, source] : byOrder) sources.push_back(source);
        return sources;
    }

    std::map<std::string, ThumbnailAnswer> cached;
    std::map<uint64_t, Asked> waiting;
};

}  // namespace vistello::testing
