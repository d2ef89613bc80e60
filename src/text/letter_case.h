#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Capital ASCII letters as small ones; every other byte, UTF-8 included, as it is, whatever the
// locale.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The text with AsciiLower applied to every byte.
std::string FoldedCase(std::string_view text);

}  // namespace vistello
