#include "text/visible_controls.h"

namespace vistello {

namespace {

constexpr unsigned char kDelete = 0x7F;
// U+2421, the picture of DELETE, comes after those of the 32 controls before the space.
constexpr unsigned char kDeletePicture = 0x21;

}  // namespace

std::string WithVisibleControls(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != kDelete) {
            shown += c;
            continue;
        }
        // U+2400 + n in UTF-8: E2 90 (80 + n).
        shown += "\xE2\x90";
        shown += static_cast<char>(0x80 + (byte == kDelete ? kDeletePicture : byte));
    }
    return shown;
}

}  // namespace vistello
