// A thumbnail from the cache read out of any bytes: what is accepted takes the thumbnail cache's
// keys where they are added, keeps its own text and its size, and reads the same a second time.
#include <string>

#include "fuzz_input.h"
#include "pictures/png_text.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view png(reinterpret_cast<const char*>(data), size);
    const std::optional<PngFacts> facts = ReadPng(png);
    if (!facts) return 0;
    Check(facts->width > 0 && facts->height > 0, "a PNG without pixels");
    const std::optional<std::string> keyed =
        WithText(png, {{"Thumb::URI", "file:///x.jpg", false}, {"Why", "\xc3\xa9", true}});
    Check(keyed.has_value(), "an accepted PNG takes no text");
    const std::optional<PngFacts> again = ReadPng(*keyed);
    Check(again.has_value(), "text made the PNG unreadable");
    Check(again->width == facts->width && again->height == facts->height, "the size changed");
    Check(again->text.at("Thumb::URI") == "file:///x.jpg" && again->text.at("Why") == "\xc3\xa9",
          "the added text reads otherwise");
    for (const auto& [key, value] : facts->text) {
        if (key != "Thumb::URI" && key != "Why")
            Check(again->text.at(key) == value, "the PNG's own text changed");
    }
    return 0;
}
