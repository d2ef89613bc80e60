#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace vistello {

namespace {

constexpr char kCtrlZ = '\x1A';

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A read-only target stays read-only: the rename would otherwise replace it behind the
// user's back.
bool TargetWritable(const std::string& path, mode_t& mode) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        mode = 0666 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return mask;
        }();
        return errno == ENOENT;
    }
    if (!S_ISREG(info.st_mode)) return false;
    mode = info.st_mode & 07777;
    const bool readOnly = (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return !readOnly && ::access(path.c_str(), W_OK) == 0;
}

std::string ReplaceEvery(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    size_t start = 0;
    for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace

std::string DecodeTextMode(std::string_view raw) {
    if (const size_t end = raw.find(kCtrlZ); end != std::string_view::npos)
        raw = raw.substr(0, end);
    return ReplaceEvery(raw, "\r\n", "\n");
}

std::string EncodeTextMode(std::string_view text) { return ReplaceEvery(text, "\n", "\r\n"); }

std::optional<std::string> ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return DecodeTextMode(content.str());
}

bool WriteTextFile(const std::string& path, std::string_view text, Flush flush) {
    return WriteFileAtomically(path, EncodeTextMode(text), flush);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush) {
    mode_t mode = 0644;
    if (path.empty() || !TargetWritable(path, mode)) return false;
    std::string temp = FolderOf(path) + "/.vistello-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 &&
                         (flush == Flush::ToSystem || ::fsync(fd) == 0);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool CreateFileIfMissing(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return ::close(fd) == 0;
    struct stat info {};
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace vistello
