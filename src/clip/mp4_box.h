#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// More boxes than an index that only holds a few tracks has; one walk of it may split no more.
constexpr int kMostIndexBoxes = 1 << 16;

// One box of an MP4 held in memory: its four-letter type and what follows its header.
struct Mp4Box {
    std::string_view type;
    std::string_view body;
};

// One top-level box as it lies in the file.
struct FileBox {
    char type[4] = {};
    uint64_t offset = 0;
    uint64_t header = 0;
    uint64_t size = 0;

    std::string_view Type() const { return {type, 4}; }
};

// The boxes that fill `bytes` exactly, each inside it; nothing when a length is wrong, a box says
// it runs to the end (which only the file's last box may), or `budget` boxes are used up.
std::optional<std::vector<Mp4Box>> SplitBoxes(std::string_view bytes, int& budget);

// The file's top-level boxes, each inside the file; a size of 0 only for a last mdat.
std::optional<std::vector<FileBox>> TopLevelBoxes(int fd);

// Fills `into` with the file's bytes from `at`; false when the file ends first or cannot be read.
bool ReadBytesAt(int fd, uint64_t at, std::string& into);

// The one child of that type; nothing when there is none or more than one.
std::optional<Mp4Box> OnlyChild(const std::vector<Mp4Box>& boxes, std::string_view type);

// The big-endian number of `count` bytes (at most 8) at `at`; nothing past the end.
std::optional<uint64_t> UintAt(std::string_view bytes, size_t at, int count);

// Writes `value` as `count` big-endian bytes at `at`, which must lie inside `bytes`.
void PutUint(std::string& bytes, size_t at, uint64_t value, int count);

// A box of the type around the body; the body is far smaller than four gigabytes.
std::string BoxOf(std::string_view type, std::string_view body);

// The `count` bytes at `at`; empty past the end.
std::string_view BytesAt(std::string_view bytes, size_t at, size_t count);

}  // namespace vistello
