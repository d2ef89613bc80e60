#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pictures/thumbnail_cache.h"

namespace vistello {

// The thumbnails the Pictures window shows, as the desktop's thumbnail cache gives them (see
// ThumbnailCache, whose calls these are); tests use an in-memory one.
class ThumbnailService {
public:
    virtual ~ThumbnailService() = default;
    virtual std::optional<ThumbnailAnswer> Request(uint64_t ticket, const std::string& source,
                                                   ThumbnailSize size, int order,
                                                   ThumbnailDone done) = 0;
    virtual void Reorder(const std::function<int(uint64_t ticket)>& order) = 0;
    virtual void Cancel(uint64_t ticket) = 0;
};

// Where no image library was given: every picture says so.
class NoThumbnails final : public ThumbnailService {
public:
    std::optional<ThumbnailAnswer> Request(uint64_t, const std::string&, ThumbnailSize, int,
                                           ThumbnailDone) override {
        return ThumbnailAnswer{{}, "This copy of Vistello makes no thumbnails."};
    }
    void Reorder(const std::function<int(uint64_t)>&) override {}
    void Cancel(uint64_t) override {}
};

}  // namespace vistello
