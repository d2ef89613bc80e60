#pragma once

#include <atomic>
#include <stdexcept>
#include <string>

#include "media/image_maker.h"
#include "support/temp_dir.h"

namespace vistello::testing {

// An image library in plain files: a source's bytes say what it is ("gif", or a GIF's own bytes,
// "alpha", "unknown" to the library, "bad" to decode, "throw" to make the library give way,
// "portrait" a photo of 3000 x 4000 pixels, "small" one of 1125 x 843, as wide as a rung, anything
// else a photo of 4000 x 3000), and a made file says what it was made from and how. Safe on several
// threads at once.
class FakeImageMaker : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string& source) override {
        ++examined;
        const std::string kind = KindOf(source);
        if (kind == "unknown") return std::nullopt;
        const int longer = Longer(kind);
        const bool portrait = kind == "portrait";
        return ImageFacts{kind == "gif", kind == "alpha", portrait ? longer * 3 / 4 : longer,
                          portrait ? longer : longer * 3 / 4};
    }
    MadeImage Make(const ImageJob& job) override {
        ++made;
        const std::string kind = KindOf(job.source);
        if (kind == "bad") return {{}, "image file is truncated"};
        if (kind == "throw") throw std::runtime_error("out of memory");
        const std::string details = job.keepDetails ? "+details" : "";
        MadeImage result;
        result.images.push_back(Sized(kind, job.side, job.png ? "png" : "jpg", job, details));
        for (const ImageOutput& output : job.more) {
            static constexpr const char* kNames[] = {"jpg", "png", "webp", "avif"};
            result.images.push_back(
                Sized(kind, output.side, kNames[static_cast<int>(output.format)], job, details));
        }
        return result;
    }
    void EndThread() override { ++threadsEnded; }

    static std::string KindOf(const std::string& source) {
        const std::string bytes = ReadBytes(source);
        return bytes.starts_with("GIF8") ? "gif" : MediaText(bytes);
    }

    static int Longer(const std::string& kind) { return kind == "small" ? 1125 : 4000; }

    // "photo@2048q85jpg", and its pixel size: never enlarged, rounded as the library rounds.
    static EncodedImage Sized(const std::string& kind, int side, const std::string& format,
                              const ImageJob& job, const std::string& details) {
        const bool portrait = kind == "portrait";
        const int longer = Longer(kind);
        const double scale = side > 0 && side < longer ? double(side) / longer : 1.0;
        const int shorter = static_cast<int>(longer * 3 / 4 * scale + 0.5);
        const int along = static_cast<int>(longer * scale + 0.5);
        return {kind + "@" + std::to_string(side) + "q" + std::to_string(job.quality) + format +
                    details,
                portrait ? shorter : along, portrait ? along : shorter};
    }

    std::atomic<int> examined{0};
    std::atomic<int> made{0};
    std::atomic<int> threadsEnded{0};
};

}  // namespace vistello::testing
