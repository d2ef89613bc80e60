#include "clip/ffmpeg_clip_maker.h"

#include <charconv>
#include <mutex>
#include <optional>
#include <string_view>

#include "clip/child_process.h"
#include "clip/ffprobe_clip_reader.h"

namespace vistello {

namespace {

// The descriptor the made file is handed to the tools as.
const std::string kOutput = "file:/dev/fd/3";

// Upright (ffmpeg turns a clip by its rotation itself), no larger than the side, never enlarged,
// with even sides, as H.264 in 4:2:0 needs.
std::string Scale(int side) {
    const std::string s = std::to_string(side);
    return "scale=w='min(iw," + s + ")':h='min(ih," + s +
           ")':force_original_aspect_ratio=decrease:force_divisible_by=2";
}

void Append(std::vector<std::string>& args, std::vector<std::string> more) {
    for (std::string& arg : more) args.push_back(std::move(arg));
}

double NumberIn(std::string_view text) {
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

// The last value of `key=` among ffmpeg's progress lines or ffprobe's answers.
std::optional<std::string_view> LastValue(std::string_view text, std::string_view key) {
    std::optional<std::string_view> value;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == '=')
            value = line.substr(key.size() + 1);
        start = end + 1;
    }
    return value;
}

double DurationOf(const std::string& path) {
    std::vector<std::string> args = {"ffprobe",
                                     "-v",
                                     "error",
                                     "-show_entries",
                                     "format=duration",
                                     "-of",
                                     "default=noprint_wrappers=1"};
    Append(args, InputArguments(path));
    const ChildResult probe = RunChild(args);
    const auto duration = LastValue(probe.out, "duration");
    return duration ? NumberIn(*duration) : 0;
}

// The pixel size of what was just written to fd.
ClipOutcome Measured(int fd) {
    const ChildResult probe = RunChild(
        {"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "stream=width,height",
         "-of", "default=noprint_wrappers=1", "-protocol_whitelist", "file", "-i", kOutput},
        {fd});
    const auto width = LastValue(probe.out, "width");
    const auto height = LastValue(probe.out, "height");
    if (probe.status != 0 || !width || !height) return {"the made file cannot be read", 0, 0};
    return {"", static_cast<int>(NumberIn(*width)), static_cast<int>(NumberIn(*height))};
}

ClipOutcome Outcome(const ChildResult& run, int fd) {
    if (!run.started) return {"ffmpeg is not installed", 0, 0};
    if (run.stopped) return {"stopped", 0, 0};
    if (run.status != 0) {
        const std::string reason = LastLineOf(run.err);
        return {reason.empty() ? "ffmpeg failed" : reason, 0, 0};
    }
    return Measured(fd);
}

}  // namespace

std::vector<std::string> VideoArguments(const ClipJob& job) {
    std::vector<std::string> args = {"ffmpeg",   "-nostdin",  "-v",    "error",
                                     "-nostats", "-progress", "pipe:1"};
    Append(args, InputArguments(job.source));
    Append(args, {"-map",       "0:v:0",   "-map",
                  "0:a:0?",     "-vf",     Scale(job.side) + ",format=yuv420p",
                  "-c:v",       "libx264", "-preset",
                  "veryfast",   "-crf",    "23",
                  "-profile:v", "high",    "-c:a",
                  "aac",        "-b:a",    "128k",
                  "-ac",        "2"});
    if (job.keepDetails) {
        Append(args, {"-movflags", "+faststart+use_metadata_tags"});
    } else {
        Append(args, {"-movflags", "+faststart", "-map_metadata", "-1", "-map_chapters", "-1"});
    }
    Append(args, {"-f", "mp4", "-y", kOutput});
    return args;
}

std::vector<std::string> PosterArguments(const ClipJob& job, double seconds) {
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v",
                                     "error",  "-ss",      std::to_string(seconds)};
    Append(args, InputArguments(job.source));
    Append(args,
           {"-frames:v", "1", "-vf", Scale(job.side) + ",format=yuvj420p", "-c:v", "mjpeg", "-q:v",
            "3", "-map_metadata", "-1", "-f", "image2", "-update", "1", "-y", kOutput});
    return args;
}

std::string FfmpegClipMaker::Unavailable() {
    static std::once_flag once;
    static std::string reason;
    std::call_once(once, [] {
        for (const char* tool : {"ffmpeg", "ffprobe"}) {
            if (!RunChild({tool, "-version"}).started) {
                reason = std::string(tool) + " is not installed";
                return;
            }
        }
    });
    return reason;
}

ClipOutcome FfmpegClipMaker::MakeVideo(const ClipJob& job, int fd, const ClipGoing& going) {
    const double seconds = DurationOf(job.source);
    const ChildResult run = RunChild(VideoArguments(job), {fd}, [&](std::string_view out) {
        const auto time = LastValue(out, "out_time_us");
        const double done = seconds > 0 && time ? NumberIn(*time) / 1e6 / seconds : 0;
        return !going || going(done < 0 ? 0 : done > 1 ? 1 : done);
    });
    return Outcome(run, fd);
}

ClipOutcome FfmpegClipMaker::MakePoster(const ClipJob& job, int fd) {
    const double seconds = DurationOf(job.source);
    return Outcome(RunChild(PosterArguments(job, seconds >= 2 ? 1.0 : seconds / 2), {fd}), fd);
}

}  // namespace vistello
