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

// How far a write is flushed before the new file is renamed over the old one. The user's own
// documents go to the disk; generated output, which can be made again at any time, only to the
// system, so that thousands of pages do not wait for the disk one by one.
enum class Flush { ToDisk, ToSystem };

// Replaces the file's content atomically: a temporary file beside it, flushed, renamed over it.
// On failure the old file is left whole and false is returned.
bool WriteTextFile(const std::string& path, std::string_view text, Flush flush = Flush::ToDisk);

// Raw bytes, written the same safe way.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         Flush flush = Flush::ToDisk);

// Creates an empty file when nothing is at the path; true when a file is there afterwards.
[[nodiscard]] bool CreateFileIfMissing(const std::string& path);

}  // namespace vistello
