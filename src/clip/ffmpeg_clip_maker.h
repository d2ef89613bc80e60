#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "media/clip_maker.h"

namespace vistello {

// Makes web versions and posters of clips with ffmpeg, and measures them with ffprobe, each run
// through the one runner: no shell, no standard input, only the clip the user named, every run
// with a deadline that fits the clip's length.
class FfmpegClipMaker final : public ClipMaker {
public:
    std::string Unavailable() override;
    ClipOutcome MakeVideo(const ClipJob& job, int fd, const ClipGoing& going) override;
    ClipOutcome MakePoster(const ClipJob& job, int fd, const ClipGoing& going) override;
};

// What ffmpeg is told to make of a clip read by the demuxer named from its descriptor 3, writing
// to its descriptor 4.
std::vector<std::string> VideoArguments(const ClipJob& job, std::string_view container);
std::vector<std::string> PosterArguments(const ClipJob& job, std::string_view container,
                                         double seconds);

// Seconds as every tool reads them, whatever the locale: "1.500".
std::string SecondsText(double seconds);

}  // namespace vistello
