#pragma once

#include <map>
#include <optional>
#include <string>

#include "slides/photo_details.h"

namespace vistello::testing {

// Photos by path; a path it does not know cannot be read.
class FakePhotoReader : public PhotoReader {
public:
    std::optional<PhotoDetails> Read(const std::string& path) override {
        const auto it = photos.find(path);
        if (it == photos.end()) return std::nullopt;
        return it->second;
    }

    std::map<std::string, PhotoDetails> photos;
};

}  // namespace vistello::testing
