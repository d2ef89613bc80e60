#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// Text files keep the on-disk form of the original platform everywhere: CR LF line ends, and a
// Ctrl-Z byte ends the data.
std::string DecodeTextMode(std::string_view raw);
std::string EncodeTextMode(std::string_view text);

// The whole file in text mode, or nothing when it cannot be opened or read.
std::optional<std::string> ReadTextFile(const std::string& path);

// Replaces the file's content atomically: a temporary file beside it, flushed, renamed over it.
// On failure the old file is left whole and false is returned.
bool WriteTextFile(const std::string& path, std::string_view text);

// Raw bytes, written the same safe way.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace vistello
