#include "clip/ffprobe_clip_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string_view>

#include "clip/child_process.h"
#include "slides/stored_text.h"

namespace vistello {

namespace {

std::string AbsolutePathOf(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    char here[PATH_MAX];
    if (::getcwd(here, sizeof here) == nullptr) return path;
    return std::string(here) + "/" + path;
}

}  // namespace

std::vector<std::string> InputArguments(const std::string& path) {
    return {"-protocol_whitelist", "file", "-i", "file:" + AbsolutePathOf(path)};
}

std::optional<PhotoDetails> FfprobeClipReader::Read(const std::string& path) {
    // ffprobe would wait for ever on a FIFO that nobody writes to.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::vector<std::string> args = {"ffprobe",
                                     "-v",
                                     "error",
                                     "-show_entries",
                                     "format_tags=title,creation_time",
                                     "-of",
                                     "default=noprint_wrappers=1"};
    for (std::string& arg : InputArguments(path)) args.push_back(std::move(arg));
    const ChildResult probe = RunChild(args);
    if (!probe.started) return PhotoDetails{};
    if (probe.status != 0) return std::nullopt;
    PhotoDetails details;
    if (const auto title = LastValueOf(probe.out, "TAG:title"))
        details.title = OneLineText({std::string(*title), StoredEncoding::Ascii}).value_or("");
    if (const auto recorded = LastValueOf(probe.out, "TAG:creation_time")) {
        details.takenAt = IsoTakenAt(*recorded);
        if (details.takenAt) details.shooting.dateTaken = LocalTakenText(*recorded);
    }
    return details;
}

}  // namespace vistello
