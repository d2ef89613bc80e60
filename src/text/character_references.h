#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// A character reference as a browser reads it in a page's text: the characters it stands for, as
// UTF-8, and how many bytes of the text it takes.
struct CharacterReference {
    std::string characters;
    size_t length = 0;
};

// The reference `text` begins with: "&amp;", "&#233;", "&#xE9;", or a name a browser reads even
// without its ";" ("&copy 2026"). A number that stands for no character a page shows as itself
// reads as U+FFFD, one for white space as a space. Nothing when the "&" is shown as it is, and for
// a name beyond HTML 4's and "apos".
std::optional<CharacterReference> ReadCharacterReference(std::string_view text);

// Whether the text begins with one of the names a browser reads without their ";".
bool StartsLegacyName(std::string_view text);

}  // namespace vistello
