#pragma once

#include <string>
#include <string_view>

namespace vistello {

// What a reader sees of HTML text, as text: tags, comments and declarations left out, character
// references read as a browser reads them (see ReadCharacterReference). Text that holds neither
// stays byte for byte.
std::string ReaderText(std::string_view html);

}  // namespace vistello
