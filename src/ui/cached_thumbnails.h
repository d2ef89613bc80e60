#pragma once

#include "pictures/thumbnail_cache.h"
#include "ui/thumbnail_service.h"

namespace vistello {

// The desktop's thumbnail cache, as the Pictures window asks it.
class CachedThumbnails final : public ThumbnailService {
public:
    explicit CachedThumbnails(ThumbnailCache& cache) : m_cache(cache) {}

    std::optional<ThumbnailAnswer> Request(uint64_t ticket, const std::string& source,
                                           ThumbnailSize size, int order,
                                           ThumbnailDone done) override {
        return m_cache.Request(ticket, source, size, order, std::move(done));
    }
    void Reorder(const std::function<int(uint64_t ticket)>& order) override {
        m_cache.Reorder(order);
    }
    void Cancel(uint64_t ticket) override { m_cache.Cancel(ticket); }

private:
    ThumbnailCache& m_cache;
};

}  // namespace vistello
