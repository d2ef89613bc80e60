#include "clip/ffmpeg_clip_maker.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <mutex>
#include <optional>

#include "clip/box_walk.h"
#include "clip/child_process.h"
#include "clip/clip_source.h"
#include "clip/ready_mp4.h"
#include "clip/streams_only.h"
#include "clip/tool_answer.h"

namespace vistello {

namespace {

using std::chrono::seconds;

// The made file, as the tools are handed it beside the clip.
const std::string kOutput = "file:/dev/fd/4";
// What one second of a clip may take to make, and the time any run may take on top.
constexpr seconds kPerSecond{20};
constexpr seconds kAnyRun{60};
// When a clip does not say how long it is.
constexpr seconds kUnknownLength{3600};

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

// No tool names itself anywhere in what it makes: not the muxer in the file's tags, not an
// encoder in the sound's or a poster's own bytes.
void AppendNoToolNames(std::vector<std::string>& args) {
    Append(args, {"-fflags", "+bitexact", "-flags", "+bitexact"});
}

std::vector<std::string> MetadataArguments(bool keep) {
    std::vector<std::string> args =
        keep ? std::vector<std::string>{"-movflags", "+faststart+use_metadata_tags"}
             : std::vector<std::string>{"-movflags", "+faststart",    "-map_metadata",
                                        "-1",        "-map_chapters", "-1"};
    AppendNoToolNames(args);
    return args;
}

// Supplemental messages and filler out of the picture's stream: the user data among the messages
// may hold anything, where the camera was among it, and an encoder writes its name and settings
// there. A player needs none of them.
std::vector<std::string> NoMessages() { return {"-bsf:v", "filter_units=remove_types=6|12"}; }

// Sound made anew: an encoder's fill and data elements, which no tool can take out of sound it
// copies, may hold anything.
std::vector<std::string> SoundArguments() { return {"-c:a", "aac", "-b:a", "128k", "-ac", "2"}; }

// The clip's length in seconds; 0 when it does not say.
double LengthOf(const ClipSource& source, const ClipGoing& going) {
    const ProbeAnswer answer = Probe(source.Fd(), source.Container(), "format=duration",
                                     [&going] { return !going || going(0); });
    return std::max(0.0, NumberAt(At(answer.json, "format"), "duration").value_or(0));
}

std::chrono::milliseconds DeadlineFor(double length, double perSecond) {
    if (length <= 0) return kUnknownLength;
    const double most = static_cast<double>(kUnknownLength.count()) * 24;
    return kAnyRun + std::chrono::milliseconds(
                         static_cast<long long>(std::min(length * perSecond, most) * 1000));
}

// The pixel size of what was just written to fd.
ClipOutcome Measured(int fd, std::string_view container) {
    const ProbeAnswer answer = Probe(fd, container, "stream=width,height");
    const nlohmann::json& streams = At(answer.json, "streams");
    if (!answer.Read() || !streams.is_array() || streams.empty())
        return {"the made file cannot be read", 0, 0};
    const auto side = [&](std::string_view key) {
        return static_cast<int>(NumberAt(streams.front(), key).value_or(0));
    };
    return {"", side("width"), side("height")};
}

// Whether a stream is turned, by its display matrix or by an older tag.
bool Turned(const nlohmann::json& stream) {
    const nlohmann::json& sideData = At(stream, "side_data_list");
    if (sideData.is_array()) {
        for (const nlohmann::json& data : sideData) {
            if (NumberAt(data, "rotation").value_or(0) != 0) return true;
        }
    }
    return NumberAt(At(stream, "tags"), "rotate").value_or(0) != 0;
}

// What one look at a clip tells, against what a web version is.
struct Examined {
    // Its length in seconds; 0 when it does not say.
    double length = 0;
    // One upright H.264 video in 4:2:0 with even sides no longer than asked, and AAC or no sound.
    bool ready = false;
    // Nothing but those: no second picture, no track of locations or timecodes.
    bool only = false;
    // The picture's size, where it is ready.
    int width = 0;
    int height = 0;
};

// Whether a video stream is already what a web version's picture is.
bool ReadyPicture(const nlohmann::json& stream, int side) {
    const int width = static_cast<int>(NumberAt(stream, "width").value_or(0));
    const int height = static_cast<int>(NumberAt(stream, "height").value_or(0));
    return TextAt(stream, "codec_name") == "h264" && TextAt(stream, "pix_fmt") == "yuv420p" &&
           width > 0 && height > 0 && width % 2 == 0 && height % 2 == 0 &&
           std::max(width, height) <= side && !Turned(stream);
}

Examined Examine(const ClipSource& source, int side, const ClipGoing& going) {
    const ProbeAnswer answer =
        Probe(source.Fd(), source.Container(),
              "format=duration:stream=codec_type,codec_name,pix_fmt,width,height:"
              "stream_tags=rotate:stream_side_data=rotation",
              [&going] { return !going || going(0); });
    Examined examined;
    examined.length = std::max(0.0, NumberAt(At(answer.json, "format"), "duration").value_or(0));
    const nlohmann::json& streams = At(answer.json, "streams");
    if (!answer.Read() || !streams.is_array()) return examined;
    const nlohmann::json* video = nullptr;
    int videos = 0;
    int sounds = 0;
    bool sound = true;
    for (const nlohmann::json& stream : streams) {
        const std::string type = TextAt(stream, "codec_type");
        if (type == "audio" && ++sounds == 1) sound = TextAt(stream, "codec_name") == "aac";
        if (type == "video" && ++videos == 1) video = &stream;
    }
    examined.ready = videos == 1 && sound && ReadyPicture(*video, side);
    examined.only = videos == 1 && sounds <= 1 && streams.size() == 1u + sounds;
    if (examined.ready) {
        examined.width = static_cast<int>(NumberAt(*video, "width").value_or(0));
        examined.height = static_cast<int>(NumberAt(*video, "height").value_or(0));
    }
    return examined;
}

bool IndexFirstIn(int fd) {
    return IndexFirst([fd](unsigned char* into, size_t size, off_t offset) {
        return ::pread(fd, into, size, offset);
    });
}

// The clip's own bytes into fd.
bool CopyInto(int in, int fd) {
    char buffer[1 << 16];
    ssize_t got = 0;
    off_t at = 0;
    bool whole = true;
    while (whole && (got = ::pread(in, buffer, sizeof buffer, at)) > 0) {
        whole = ::write(fd, buffer, static_cast<size_t>(got)) == got;
        at += got;
    }
    return whole && got == 0;
}

// ffmpeg's reason, without the descriptor it read the clip by, which would mean nothing to anyone.
std::string Reason(const ChildResult& run) {
    std::string reason = run.Failure("ffmpeg");
    if (reason.starts_with("file:/dev/fd/")) {
        const size_t colon = reason.find(": ");
        if (colon != std::string::npos) reason.erase(0, colon + 2);
    }
    return reason;
}

ClipOutcome Outcome(const ChildResult& run, int fd, std::string_view made) {
    if (!run.Succeeded()) return {Reason(run), 0, 0};
    return Measured(fd, made);
}

ChildCall Call(std::vector<std::string> args, const ClipSource& source, int fd,
               std::chrono::milliseconds deadline, const ClipGoing& going, double length) {
    ChildCall call;
    call.args = std::move(args);
    call.fds = {source.Fd(), fd};
    call.deadline = deadline;
    // Its progress, a few lines a second, however long the clip.
    call.outLimit = size_t{64} << 20;
    call.keepGoing = [&going, length](std::string_view out) {
        const size_t at = out.rfind("out_time_us=");
        double done = 0;
        if (at != std::string_view::npos && length > 0) {
            long long micro = 0;
            const std::string_view value = out.substr(at + 12);
            std::from_chars(value.data(), value.data() + value.size(), micro);
            done = std::clamp(static_cast<double>(micro) / 1e6 / length, 0.0, 1.0);
        }
        return !going || going(done);
    };
    return call;
}

// The streams copied into a new MP4, the index first, nothing else kept unless asked; its
// picture is the clip's.
ClipOutcome Remux(const ClipJob& job, const ClipSource& source, int fd, const ClipGoing& going,
                  const Examined& clip) {
    std::vector<std::string> args = {"ffmpeg",   "-nostdin",  "-v",    "error",
                                     "-nostats", "-progress", "pipe:1"};
    Append(args, source.InputArguments());
    Append(args, {"-map", "0:v:0", "-map", "0:a:0?", "-c", "copy"});
    if (!job.keepDetails) {
        Append(args, NoMessages());
        Append(args, SoundArguments());
    }
    Append(args, MetadataArguments(job.keepDetails));
    Append(args, {"-f", "mp4", "-y", kOutput});
    const ChildResult run =
        RunChild(Call(args, source, fd, DeadlineFor(clip.length, 1), going, clip.length));
    if (!run.Succeeded()) return {Reason(run), 0, 0};
    return {"", clip.width, clip.height};
}

bool EndsIn(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() &&
           std::equal(extension.rbegin(), extension.rend(), name.rbegin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

// Whether a ready clip is published byte for byte: its details are kept, it holds nothing but its
// streams, its index comes first and its name says MP4.
bool KeptAsItIs(const ClipJob& job, const ClipSource& source, bool only) {
    return job.keepDetails && only && IndexFirstIn(source.Fd()) &&
           (EndsIn(job.source, ".mp4") || EndsIn(job.source, ".m4v"));
}

ClipOutcome AsItIs(const ClipSource& source, int fd, int width, int height) {
    if (!CopyInto(source.Fd(), fd)) return {"the clip cannot be copied", 0, 0};
    return {"", width, height};
}

// A ready clip made without starting a tool, which would take several times as long as the copy
// itself; nothing when its boxes leave any doubt, for the tools to look at.
std::optional<ClipOutcome> MadeWithoutTools(const ClipJob& job, const ClipSource& source, int fd,
                                            const ClipGoing& going) {
    if (source.Container() != "mov") return std::nullopt;
    const std::optional<ReadyMp4> ready = ReadReadyMp4(source.Fd(), job.side);
    if (!ready) return std::nullopt;
    const auto [width, height] = ready->picture;
    if (job.keepDetails) {
        if (!KeptAsItIs(job, source, true)) return std::nullopt;
        return AsItIs(source, fd, width, height);
    }
    switch (WriteStreamsOnly(*ready, source.Fd(), fd, going)) {
        case Written::kDone:
            return ClipOutcome{"", width, height};
        case Written::kDeclined:
            return std::nullopt;
        case Written::kStopped:
            return ClipOutcome{"stopped", 0, 0};
        case Written::kFailed:
            break;
    }
    return ClipOutcome{"the clip cannot be copied", 0, 0};
}

}  // namespace

std::string SecondsText(double seconds) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 3);
    return error == std::errc() ? std::string(text, end) : "0";
}

std::vector<std::string> VideoArguments(const ClipJob& job, std::string_view container) {
    std::vector<std::string> args = {"ffmpeg",   "-nostdin",  "-v",    "error",
                                     "-nostats", "-progress", "pipe:1"};
    Append(args, InputArguments(container, 3));
    Append(args, {"-map", "0:v:0", "-map", "0:a:0?", "-vf", Scale(job.side) + ",format=yuv420p",
                  "-c:v", "libx264", "-preset", "veryfast", "-crf", "23", "-profile:v", "high",
                  // The compressor's name in the picture's description, blank rather than the
                  // encoder's, which is written there unless a name is given.
                  "-metadata:s:v:0", "encoder= "});
    Append(args, NoMessages());
    Append(args, SoundArguments());
    Append(args, MetadataArguments(job.keepDetails));
    Append(args, {"-f", "mp4", "-y", kOutput});
    return args;
}

std::vector<std::string> PosterArguments(const ClipJob& job, std::string_view container,
                                         double seconds) {
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v",
                                     "error",  "-ss",      SecondsText(seconds)};
    Append(args, InputArguments(container, 3));
    Append(args, {"-frames:v", "1", "-vf", Scale(job.side) + ",format=yuvj420p", "-c:v", "mjpeg",
                  "-q:v", "3", "-map_metadata", "-1"});
    AppendNoToolNames(args);
    Append(args, {"-f", "image2", "-update", "1", "-y", kOutput});
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
    const std::optional<ClipSource> source = ClipSource::Open(job.source);
    if (!source) return {"it is no clip of a kind that can be read", 0, 0};
    if (std::optional<ClipOutcome> made = MadeWithoutTools(job, *source, fd, going)) return *made;
    const Examined clip = Examine(*source, job.side, going);
    if (clip.ready && source->Container() == "mov") {
        if (!KeptAsItIs(job, *source, clip.only)) return Remux(job, *source, fd, going, clip);
        return AsItIs(*source, fd, clip.width, clip.height);
    }
    return Outcome(RunChild(Call(VideoArguments(job, source->Container()), *source, fd,
                                 DeadlineFor(clip.length, kPerSecond.count()), going, clip.length)),
                   fd, "mov");
}

ClipOutcome FfmpegClipMaker::MakePoster(const ClipJob& job, int fd, const ClipGoing& going) {
    const std::optional<ClipSource> source = ClipSource::Open(job.source);
    if (!source) return {"it is no clip of a kind that can be read", 0, 0};
    const double length = LengthOf(*source, going);
    const ClipGoing quiet = [&going](double) { return !going || going(0); };
    return Outcome(
        RunChild(Call(PosterArguments(job, source->Container(), length >= 2 ? 1.0 : length / 2),
                      *source, fd, kAnyRun, quiet, 0)),
        fd, "jpeg_pipe");
}

}  // namespace vistello
