#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// Standard base64 with "=" padding and no line breaks.
std::string Base64Encode(std::string_view bytes);
// The same, appended to `text`.
void AppendBase64(std::string& text, std::string_view bytes);

// The bytes of text written as Base64Encode writes it; nothing for any other text (a byte off
// the alphabet, a missing or misplaced "=", bits left over in the last character), so that one
// text reads as one value only.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace vistello
