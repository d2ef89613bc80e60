#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>

#include "media/photo_reader.h"

namespace vistello::testing {

// Photos by path; a path it does not know cannot be read.
class FakePhotoReader : public PhotoReader {
public:
    std::optional<PhotoDetails> Read(const std::string& path) override {
        ++reads;
        const auto it = photos.find(path);
        if (it == photos.end()) return std::nullopt;
        return it->second;
    }

    std::map<std::string, PhotoDetails> photos;
    std::atomic<int> reads = 0;
};

}  // namespace vistello::testing
