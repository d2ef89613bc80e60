#include "clip/mp4_box.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace vistello {

namespace {

// More top-level boxes than any camera or editor writes.
constexpr int kMostTopLevel = 1024;

// A box's whole size and its header's length, from the bytes at its start and the room its
// parent leaves it; nothing when they disagree.
std::optional<std::pair<uint64_t, uint64_t>> SizeAndHeader(std::string_view head, uint64_t room) {
    const std::optional<uint64_t> small = UintAt(head, 0, 4);
    if (!small || head.size() < 8) return std::nullopt;
    uint64_t size = *small;
    uint64_t header = 8;
    if (size == 1) {
        const std::optional<uint64_t> large = UintAt(head, 8, 8);
        if (!large) return std::nullopt;
        size = *large;
        header = 16;
    }
    if (size < header || size > room) return std::nullopt;
    return std::pair(size, header);
}

}  // namespace

std::optional<uint64_t> UintAt(std::string_view bytes, size_t at, int count) {
    if (count > 8 || at > bytes.size() || bytes.size() - at < static_cast<size_t>(count))
        return std::nullopt;
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::string_view BytesAt(std::string_view bytes, size_t at, size_t count) {
    if (at > bytes.size() || bytes.size() - at < count) return {};
    return bytes.substr(at, count);
}

std::optional<std::vector<Mp4Box>> SplitBoxes(std::string_view bytes, int& budget) {
    std::vector<Mp4Box> boxes;
    while (!bytes.empty()) {
        const auto sized = SizeAndHeader(bytes, bytes.size());
        if (!sized || --budget < 0) return std::nullopt;
        const auto [size, header] = *sized;
        boxes.push_back({bytes.substr(4, 4), bytes.substr(header, size - header)});
        bytes.remove_prefix(size);
    }
    return boxes;
}

std::optional<std::vector<FileBox>> TopLevelBoxes(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 0) return std::nullopt;
    const uint64_t end = static_cast<uint64_t>(info.st_size);
    std::vector<FileBox> boxes;
    uint64_t at = 0;
    while (at < end) {
        if (boxes.size() == kMostTopLevel) return std::nullopt;
        char head[16];
        const ssize_t got =
            ::pread(fd, head, std::min<uint64_t>(sizeof head, end - at), static_cast<off_t>(at));
        if (got < 8) return std::nullopt;
        FileBox box;
        std::memcpy(box.type, head + 4, 4);
        box.offset = at;
        const std::string_view bytes(head, static_cast<size_t>(got));
        if (UintAt(bytes, 0, 4) == 0u && box.Type() == "mdat") {
            box.header = 8;
            box.size = end - at;
        } else {
            const auto sized = SizeAndHeader(bytes, end - at);
            if (!sized) return std::nullopt;
            std::tie(box.size, box.header) = *sized;
        }
        boxes.push_back(box);
        at += box.size;
    }
    return boxes;
}

bool ReadBytesAt(int fd, uint64_t at, std::string& into) {
    for (size_t done = 0; done < into.size();) {
        const ssize_t got =
            ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(at + done));
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

std::optional<Mp4Box> OnlyChild(const std::vector<Mp4Box>& boxes, std::string_view type) {
    std::optional<Mp4Box> found;
    for (const Mp4Box& box : boxes) {
        if (box.type != type) continue;
        if (found) return std::nullopt;
        found = box;
    }
    return found;
}

void PutUint(std::string& bytes, size_t at, uint64_t value, int count) {
    for (int i = count - 1; i >= 0; --i, value >>= 8) bytes[at + i] = static_cast<char>(value);
}

std::string BoxOf(std::string_view type, std::string_view body) {
    std::string box(4, '\0');
    PutUint(box, 0, body.size() + 8, 4);
    return box.append(type).append(body);
}

}  // namespace vistello
