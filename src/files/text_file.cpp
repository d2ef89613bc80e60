#include "files/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include "files/block_reader.h"
#include "files/leftovers.h"
#include "files/link_chain.h"

namespace vistello {

namespace {

constexpr char kCtrlZ = '\x1A';

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

// In place: a large project is not held twice while it is read.
void DecodeTextModeInPlace(std::string& text) {
    if (const size_t end = text.find(kCtrlZ); end != std::string::npos) text.resize(end);
    size_t kept = text.find("\r\n");
    if (kept == std::string::npos) return;
    size_t from = kept + 1;
    for (size_t end = text.find("\r\n", from); from < text.size(); end = text.find("\r\n", from)) {
        const size_t stop = end == std::string::npos ? text.size() : end;
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(from),
                  text.begin() + static_cast<std::ptrdiff_t>(stop),
                  text.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += stop - from;
        from = stop + 1;
    }
    text.resize(kept);
}

}  // namespace

std::string DecodeTextMode(std::string_view raw) {
    std::string text(raw);
    DecodeTextModeInPlace(text);
    return text;
}

std::string EncodeTextMode(std::string_view text) { return ReplaceEvery(text, "\n", "\r\n"); }

std::optional<std::string> ReadTextFile(FileOps& ops, const std::string& path) {
    BlockReader reader(ops, path);
    std::string text;
    if (!reader.ReadAllInto(text)) return std::nullopt;
    DecodeTextModeInPlace(text);
    return text;
}

std::optional<std::string> ReadLineFile(FileOps& ops, const std::string& path) {
    BlockReader reader(ops, path);
    std::string text;
    if (!reader.ReadAllInto(text)) return std::nullopt;
    if (const size_t end = text.find(kCtrlZ); end != std::string::npos) text.resize(end);
    return text;
}

bool WriteTextFile(FileOps& ops, const std::string& path, std::string_view text, Flush flush) {
    // What a killed save left half written beside the file goes before this save writes its own.
    ClearStaleTemporaries(ops, path.substr(0, path.rfind('/') + 1));
    return WriteFileAtomically(ops, path, EncodeTextMode(text), flush);
}

// Created where a write would put it, so a dangling link gains the file it names.
bool CreateFileIfMissing(FileOps& ops, const std::string& path) {
    if (path.empty()) return false;
    std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (end && !end->existing) {
        const int fd = ops.OpenExclusive(end->path);
        if (fd >= 0) return ops.Close(fd) == 0;
        if (errno != EEXIST) return false;
        end = FollowLinks(ops, path);
    }
    return end && end->existing && S_ISREG(end->existing->st_mode);
}

}  // namespace vistello
