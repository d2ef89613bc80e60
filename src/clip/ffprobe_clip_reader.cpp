#include "clip/ffprobe_clip_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <string_view>

#include "clip/child_process.h"
#include "slides/date_taken.h"
#include "slides/stored_text.h"

namespace vistello {

namespace {

constexpr std::string_view kPhoneTitle = "com.apple.quicktime.title";
constexpr std::string_view kPhoneClock = "com.apple.quicktime.creationdate";
constexpr const char* kTags =
    "format_tags=title,creation_time,com.apple.quicktime.title,com.apple.quicktime.creationdate";

std::string AbsolutePathOf(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    char here[PATH_MAX];
    if (::getcwd(here, sizeof here) == nullptr) return path;
    return std::string(here) + "/" + path;
}

// A moment as this computer's clock showed it, "2026-05-14 18:32".
std::string LocalClockText(TakenAt at) {
    const time_t seconds = static_cast<time_t>(at / 1000 - (at % 1000 < 0 ? 1 : 0));
    struct tm local {};
    if (::localtime_r(&seconds, &local) == nullptr) return {};
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : "";
}

}  // namespace

std::vector<std::string> InputArguments(const std::string& path) {
    return {"-protocol_whitelist", "file", "-i", "file:" + AbsolutePathOf(path)};
}

std::optional<PhotoDetails> FfprobeClipReader::Read(const std::string& path) {
    // ffprobe would wait for ever on a FIFO that nobody writes to.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::vector<std::string> args = {
        "ffprobe", "-v", "error", "-show_entries", kTags, "-of", "default=noprint_wrappers=1"};
    for (std::string& arg : InputArguments(path)) args.push_back(std::move(arg));
    const ChildResult probe = RunChild(args);
    if (!probe.started) return PhotoDetails{};
    if (probe.status != 0) return std::nullopt;
    const auto tag = [&probe](std::string_view key) {
        return LastValueOf(probe.out, "TAG:" + std::string(key));
    };
    PhotoDetails details;
    if (const auto title = tag("title").has_value() ? tag("title") : tag(kPhoneTitle))
        details.title = OneLineText({std::string(*title), StoredEncoding::Ascii}).value_or("");
    // A phone keeps the time on its own clock beside the container's, which is in UTC; that one
    // is shown on this computer's clock, the one its owner most likely lives by.
    if (const auto clock = tag(kPhoneClock); clock && IsoTakenAt(*clock)) {
        details.takenAt = IsoTakenAt(*clock);
        details.shooting.dateTaken = LocalTakenText(*clock);
    } else if (const auto recorded = tag("creation_time")) {
        details.takenAt = IsoTakenAt(*recorded);
        if (details.takenAt) details.shooting.dateTaken = LocalClockText(*details.takenAt);
    }
    return details;
}

}  // namespace vistello
