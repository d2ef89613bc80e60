#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/image_maker.h"

namespace vistello {

// The image module's one entry point: extern "C" ImageMaker* vistello_image_maker().
inline constexpr const char* kImageMakerEntry = "vistello_image_maker";

// The image library, loaded from its own module the first time an image is examined or made.
// Linked into the program, the library and the eighty libraries it pulls in would be loaded at
// every start, and a start only to edit a list would wait for them.
class ImageModule final : public ImageMaker {
public:
    // The places the module may be, tried in order, unless the program carries the library
    // itself.
    explicit ImageModule(std::vector<std::string> places);
    std::optional<ImageFacts> Examine(const std::string& source) override;
    MadeImage Make(const ImageJob& job) override;
    void EndThread() override;

private:
    ImageMaker* Load();

    std::vector<std::string> m_places;
    std::once_flag m_loaded;
    std::atomic<ImageMaker*> m_maker = nullptr;
    std::string m_failure;
};

}  // namespace vistello
