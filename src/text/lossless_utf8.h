#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Text fields hold UTF-16 while the program's strings are bytes. Bytes that are not valid UTF-8
// travel as lone surrogates U+DC80..U+DCFF, so every byte string comes back unchanged.
std::u16string DecodeLossless(std::string_view bytes);
std::string EncodeLossless(std::u16string_view text);

}  // namespace vistello
