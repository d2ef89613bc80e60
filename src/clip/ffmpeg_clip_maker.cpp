#include "clip/ffmpeg_clip_maker.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <map>
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
    const auto duration = LastValueOf(probe.out, "duration");
    return duration ? NumberIn(*duration) : 0;
}

// The pixel size of what was just written to fd.
ClipOutcome Measured(int fd) {
    const ChildResult probe = RunChild(
        {"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "stream=width,height",
         "-of", "default=noprint_wrappers=1", "-protocol_whitelist", "file", "-i", kOutput},
        {fd});
    const auto width = LastValueOf(probe.out, "width");
    const auto height = LastValueOf(probe.out, "height");
    if (probe.status != 0 || !width || !height) return {"the made file cannot be read", 0, 0};
    return {"", static_cast<int>(NumberIn(*width)), static_cast<int>(NumberIn(*height))};
}

using Section = std::map<std::string, std::string, std::less<>>;

// ffprobe's answer as its sections, "[STREAM]" ... "[/STREAM]", each its keys and values.
std::vector<Section> SectionsOf(std::string_view text) {
    std::vector<Section> sections;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line == "[STREAM]" || line == "[FORMAT]") sections.emplace_back();
        const size_t equals = line.find('=');
        if (!sections.empty() && equals != std::string_view::npos)
            sections.back().emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return sections;
}

// Whether its index comes before its data, so that a browser can start playing while the rest
// arrives: the top-level boxes are walked to whichever comes first.
bool IndexFirst(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool first = false;
    off_t at = 0;
    unsigned char header[16];
    for (int box = 0; box < 64 && ::pread(fd, header, 16, at) >= 8; ++box) {
        uint64_t size = 0;
        for (int i = 0; i < 4; ++i) size = size << 8 | header[i];
        const std::string_view type(reinterpret_cast<const char*>(header) + 4, 4);
        if (type == "moov" || type == "mdat") {
            first = type == "moov";
            break;
        }
        if (size == 1) {
            size = 0;
            for (int i = 8; i < 16; ++i) size = size << 8 | header[i];
        }
        if (size < 8) break;
        at += static_cast<off_t>(size);
    }
    ::close(fd);
    return first;
}

// Tags every MP4 writer leaves, which say nothing of the clip or where it was filmed.
bool Technical(std::string_view tag) {
    for (const std::string_view known :
         {"TAG:major_brand", "TAG:minor_version", "TAG:compatible_brands", "TAG:encoder",
          "TAG:language", "TAG:handler_name", "TAG:vendor_id"}) {
        if (tag == known) return true;
    }
    return false;
}

// Already what its web version would be: an MP4 of H.264 in 4:2:0 with AAC or no sound, upright,
// with even sides no longer than asked, its index first and, unless kept, no metadata.
bool IsReady(const ClipJob& job) {
    const std::string_view name = job.source;
    const std::string_view extension = name.substr(name.find_last_of('.') + 1);
    if (extension != "mp4" && extension != "MP4" && extension != "m4v" && extension != "M4V")
        return false;
    std::vector<std::string> args = {
        "ffprobe",
        "-v",
        "error",
        "-show_entries",
        "format=format_name:format_tags:stream=codec_type,codec_name,pix_fmt,width,height:"
        "stream_tags:stream_side_data=rotation",
        "-of",
        "default"};
    Append(args, InputArguments(job.source));
    const ChildResult probe = RunChild(args);
    if (probe.status != 0) return false;
    int videos = 0;
    for (const Section& section : SectionsOf(probe.out)) {
        for (const auto& [key, value] : section) {
            if (key.starts_with("TAG:") && !job.keepDetails && !Technical(key)) return false;
            if (key == "rotation" && NumberIn(value) != 0) return false;
            if (key == "format_name" && value.find("mp4") == std::string::npos) return false;
        }
        const auto type = section.find("codec_type");
        if (type == section.end()) continue;
        const auto value = [&section](std::string_view key) {
            const auto found = section.find(key);
            return found == section.end() ? std::string() : found->second;
        };
        const std::string codec = value("codec_name");
        if (type->second == "audio") {
            if (codec != "aac") return false;
            continue;
        }
        if (type->second != "video" || codec != "h264" || ++videos > 1) return false;
        const int width = static_cast<int>(NumberIn(value("width")));
        const int height = static_cast<int>(NumberIn(value("height")));
        if (value("pix_fmt") != "yuv420p" || width % 2 != 0 || height % 2 != 0 ||
            std::max(width, height) > job.side)
            return false;
    }
    return videos == 1 && IndexFirst(job.source);
}

// The clip's own bytes into fd.
bool CopyInto(const std::string& path, int fd) {
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    char buffer[1 << 16];
    ssize_t got = 0;
    bool whole = true;
    while (whole && (got = ::read(in, buffer, sizeof buffer)) > 0)
        whole = ::write(fd, buffer, static_cast<size_t>(got)) == got;
    ::close(in);
    return whole && got == 0;
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
    if (IsReady(job)) {
        if (!CopyInto(job.source, fd)) return {"the clip cannot be copied", 0, 0};
        return Measured(fd);
    }
    const double seconds = DurationOf(job.source);
    const ChildResult run = RunChild(VideoArguments(job), {fd}, [&](std::string_view out) {
        const auto time = LastValueOf(out, "out_time_us");
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
