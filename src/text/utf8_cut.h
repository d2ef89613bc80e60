#pragma once

#include <cstddef>
#include <string>

namespace vistello {

// Cuts text to at most `size` bytes, never inside a UTF-8 character; text that is not UTF-8
// there (more continuation bytes than a character holds) is cut at `size` itself.
void CutToCharacter(std::string& text, size_t size);

}  // namespace vistello
