#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// Text fields hold UTF-16 while the program's strings are bytes. Bytes that are not valid UTF-8
// travel as lone surrogates U+DC80..U+DCFF, so every byte string comes back unchanged.
std::u16string DecodeLossless(std::string_view bytes);
std::string EncodeLossless(std::u16string_view text);

// Text that other programs stored, made UTF-8.
bool IsValidUtf8(std::string_view bytes);
std::string Latin1ToUtf8(std::string_view bytes);
// Nothing when the bytes are no UTF-16: an odd count, or a surrogate without its partner.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes);

}  // namespace vistello
