#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// Each byte as two lowercase hex digits.
std::string HexOfBytes(std::string_view bytes);

// The bytes that hex digits of either case stand for; nothing for an odd count or another
// character.
std::optional<std::string> BytesOfHex(std::string_view hex);

}  // namespace vistello
