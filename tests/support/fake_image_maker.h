#pragma once

#include <atomic>
#include <string>

#include "generator/image_maker.h"
#include "support/temp_dir.h"

namespace vistello::testing {

// An image library in plain files: a source's bytes say what it is ("gif", "alpha", "unknown"
// to the library, "bad" to decode, anything else a plain photo), and a made file says what it
// was made from and how.
class FakeImageMaker : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string& source) override {
        ++examined;
        const std::string kind = ReadBytes(source);
        if (kind == "unknown") return std::nullopt;
        return ImageFacts{kind == "gif", kind == "alpha"};
    }
    bool Make(const ImageJob& job) override {
        ++made;
        const std::string kind = ReadBytes(job.source);
        if (kind == "bad") return false;
        WriteBytes(job.target, kind + "@" + std::to_string(job.side) + "q" +
                                   std::to_string(job.quality) + (job.png ? "png" : "jpg") +
                                   (job.keepDetails ? "+details" : ""));
        return true;
    }

    std::atomic<int> examined{0};
    std::atomic<int> made{0};
};

}  // namespace vistello::testing
