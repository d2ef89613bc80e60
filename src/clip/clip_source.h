#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// The demuxer that reads a clip of this kind, chosen from the first bytes of the file among the
// containers clips come in (the MP4 and QuickTime family with 3GP, Matroska and WebM, AVI);
// nothing for anything else, a playlist, a list of files or a picture among them.
std::optional<std::string_view> ContainerOf(std::string_view head);

// A clip opened for ffmpeg's tools: only the file the user named is read, as a container of its
// own kind, so that nothing it holds can make the tools open another file, a device or an address.
class ClipSource {
public:
    // Nothing for a file that is no regular file or no clip container, or cannot be opened.
    static std::optional<ClipSource> Open(const std::string& path);

    ClipSource(ClipSource&& other) noexcept;
    ClipSource& operator=(ClipSource&&) = delete;
    ClipSource(const ClipSource&) = delete;
    ClipSource& operator=(const ClipSource&) = delete;
    ~ClipSource();

    // To be handed to the tool as its descriptor 3.
    int Fd() const { return m_fd; }
    std::string_view Container() const { return m_container; }
    // How a tool reads it from its descriptor 3.
    std::vector<std::string> InputArguments() const;

private:
    ClipSource(int fd, std::string_view container) : m_fd(fd), m_container(container) {}

    int m_fd = -1;
    std::string_view m_container;
};

// How a tool reads what it was given as descriptor `fd`, by the demuxer named.
std::vector<std::string> InputArguments(std::string_view container, int fd);

}  // namespace vistello
