#include "clip/clip_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistello {

namespace {

constexpr size_t kHead = 12;

}  // namespace

std::optional<std::string_view> ContainerOf(std::string_view head) {
    if (head.size() < kHead) return std::nullopt;
    const std::string_view box = head.substr(4, 4);
    for (const std::string_view quickTime : {"ftyp", "moov", "mdat", "wide", "free", "skip"}) {
        if (box == quickTime) return "mov";
    }
    if (head.starts_with("\x1A\x45\xDF\xA3")) return "matroska";
    if (head.starts_with("RIFF") && head.substr(8, 4) == "AVI ") return "avi";
    return std::nullopt;
}

std::optional<ClipSource> ClipSource::Open(const std::string& path) {
    // Not blocking, so that a FIFO is never waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    char head[kHead];
    std::optional<std::string_view> container;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        ::pread(fd, head, kHead, 0) == static_cast<ssize_t>(kHead))
        container = ContainerOf(std::string_view(head, kHead));
    if (!container) {
        ::close(fd);
        return std::nullopt;
    }
    return ClipSource(fd, *container);
}

ClipSource::ClipSource(ClipSource&& other) noexcept
    : m_fd(other.m_fd), m_container(other.m_container) {
    other.m_fd = -1;
}

ClipSource::~ClipSource() {
    if (m_fd >= 0) ::close(m_fd);
}

std::vector<std::string> ClipSource::InputArguments() const {
    return vistello::InputArguments(m_container, 3);
}

std::vector<std::string> InputArguments(std::string_view container, int fd) {
    return {"-protocol_whitelist",  "file", "-f",
            std::string(container), "-i",   "file:/dev/fd/" + std::to_string(fd)};
}

}  // namespace vistello
