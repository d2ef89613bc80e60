// A GIF's text taken out of any bytes: what is accepted is a GIF that begins as the input does,
// ends with its trailer, is no larger, and comes through a second time unchanged.
#include <string>

#include "fuzz_input.h"
#include "pictures/gif_without_text.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view gif(reinterpret_cast<const char*>(data), size);
    const MadeImage bare = GifWithoutText(gif);
    Check(bare.failure.empty() == (bare.images.size() == 1), "a failure with a picture");
    if (!bare.failure.empty()) return 0;
    const std::string& kept = bare.images[0].bytes;
    Check(kept.size() <= size, "the GIF grew");
    Check(kept.substr(0, 13) == gif.substr(0, 13), "the header changed");
    Check(kept.back() == 0x3B, "no trailer at the end");
    const MadeImage again = GifWithoutText(kept);
    Check(again.failure.empty() && again.images[0].bytes == kept, "a second pass changed it");
    return 0;
}
