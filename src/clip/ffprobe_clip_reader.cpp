#include "clip/ffprobe_clip_reader.h"

#include <ctime>
#include <string_view>

#include "clip/clip_source.h"
#include "clip/tool_answer.h"
#include "media/date_taken.h"
#include "media/stored_text.h"

namespace vistello {

namespace {

constexpr std::string_view kPhoneTitle = "com.apple.quicktime.title";
constexpr std::string_view kPhoneClock = "com.apple.quicktime.creationdate";
constexpr std::string_view kTags =
    "format_tags=title,creation_time,com.apple.quicktime.title,com.apple.quicktime.creationdate";

// A moment as this computer's clock showed it, "2026-05-14 18:32".
std::string LocalClockText(TakenAt at) {
    const time_t seconds = static_cast<time_t>(at / 1000 - (at % 1000 < 0 ? 1 : 0));
    struct tm local {};
    if (::localtime_r(&seconds, &local) == nullptr) return {};
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : "";
}

// The phone's own title where the container's says nothing; one line, valid UTF-8.
std::string TitleIn(const nlohmann::json& tags) {
    std::string title = TextAt(tags, "title");
    if (title.empty()) title = TextAt(tags, kPhoneTitle);
    return OneLineText({title, StoredEncoding::Ascii}).value_or("");
}

}  // namespace

std::optional<ClipDetails> FfprobeClipReader::Read(const std::string& path) {
    const std::optional<ClipSource> source = ClipSource::Open(path);
    if (!source) return std::nullopt;
    const ProbeAnswer answer = Probe(source->Fd(), source->Container(), kTags);
    if (!answer.run.started) return ClipDetails{};
    if (!answer.Read()) return std::nullopt;
    const nlohmann::json& tags = At(At(answer.json, "format"), "tags");
    ClipDetails details;
    details.title = TitleIn(tags);
    // A phone keeps the time on its own clock beside the container's, which is in UTC; that one
    // is shown on this computer's clock, the one its owner most likely lives by.
    const std::string clock = TextAt(tags, kPhoneClock);
    if (IsoTakenAt(clock)) {
        details.recordedAt = IsoTakenAt(clock);
        details.recordedText = LocalTakenText(clock);
    } else if (const std::string recorded = TextAt(tags, "creation_time"); !recorded.empty()) {
        details.recordedAt = IsoTakenAt(recorded);
        if (details.recordedAt) details.recordedText = LocalClockText(*details.recordedAt);
    }
    return details;
}

}  // namespace vistello
