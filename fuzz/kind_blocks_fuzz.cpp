// The <<PHOTO>> and <<CLIP>> blocks of a look: whatever the text, keeping a kind's blocks only
// ever takes text out, leaves text without a tag as it is, and keeps all of it for both kinds but
// the tags themselves.
#include <string>

#include "fuzz_input.h"
#include "generator/kind_blocks.h"

using namespace vistello;
using vistello::fuzz::Check;

namespace {

std::string WithoutTags(std::string text) {
    for (const std::string_view tag : {kPhotoTag, kEndPhotoTag, kClipTag, kEndClipTag}) {
        for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at))
            text.erase(at, tag.size());
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string photo = TextForKinds(text, {.photo = true});
    const std::string clip = TextForKinds(text, {.clip = true});
    Check(photo.size() <= text.size() && clip.size() <= text.size(), "a block added text");
    if (text.find("<<") == std::string::npos)
        Check(photo == text && clip == text, "text without a tag changed");
    const std::string both = TextForKinds(text, {.photo = true, .clip = true});
    Check(both.size() >= WithoutTags(text).size(), "text lost for both kinds");
    return 0;
}
