#pragma once

#include <atomic>
#include <stdexcept>
#include <string>

#include "generator/image_maker.h"
#include "support/temp_dir.h"

namespace vistello::testing {

// An image library in plain files: a source's bytes say what it is ("gif", "alpha", "unknown"
// to the library, "bad" to decode, "throw" to make the library give way, anything else a plain
// photo), and a made file says what it was made from and how. Safe on several threads at once.
class FakeImageMaker : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string& source) override {
        ++examined;
        const std::string kind = ReadBytes(source);
        if (kind == "unknown") return std::nullopt;
        return ImageFacts{kind == "gif", kind == "alpha"};
    }
    EncodedImage Make(const ImageJob& job) override {
        ++made;
        const std::string kind = ReadBytes(job.source);
        if (kind == "bad") return {{}, "image file is truncated"};
        if (kind == "throw") throw std::runtime_error("out of memory");
        return {kind + "@" + std::to_string(job.side) + "q" + std::to_string(job.quality) +
                    (job.png ? "png" : "jpg") + (job.keepDetails ? "+details" : ""),
                {}};
    }
    void EndThread() override { ++threadsEnded; }

    std::atomic<int> examined{0};
    std::atomic<int> made{0};
    std::atomic<int> threadsEnded{0};
};

}  // namespace vistello::testing
