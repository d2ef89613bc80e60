#include "app/password_file.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace vistello {

namespace {

constexpr size_t kMostPasswordBytes = 64 * 1024;
constexpr auto kPipeStep = std::chrono::milliseconds(20);
constexpr auto kPipeWait = std::chrono::seconds(30);

}  // namespace

std::optional<std::string> ReadPasswordFile(FileOps& ops, const std::string& path) {
    const int fd = ops.OpenForReading(path);
    if (fd < 0) return std::nullopt;
    std::string text;
    char block[512];
    ssize_t got = 0;
    auto waited = std::chrono::steady_clock::duration::zero();
    while (text.find('\n') == std::string::npos && text.size() < kMostPasswordBytes) {
        got = ops.Read(fd, block, sizeof block);
        // The file is opened without waiting for a pipe's writer, which may still be at work.
        if (got < 0 && errno == EAGAIN && waited < kPipeWait) {
            std::this_thread::sleep_for(kPipeStep);
            waited += kPipeStep;
            continue;
        }
        if (got <= 0) break;
        text.append(block, static_cast<size_t>(got));
    }
    const int error = errno;
    ops.Close(fd);
    if (got < 0) {
        errno = error;
        return std::nullopt;
    }
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace vistello
