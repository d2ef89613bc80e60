#pragma once

#include <string>
#include <vector>

#include "generator/clip_maker.h"

namespace vistello {

// Makes web versions and posters of clips with ffmpeg, and measures them with ffprobe, each run
// as a child process with its arguments as a list: no shell, no standard input, local files only.
class FfmpegClipMaker final : public ClipMaker {
public:
    std::string Unavailable() override;
    ClipOutcome MakeVideo(const ClipJob& job, int fd, const ClipGoing& going) override;
    ClipOutcome MakePoster(const ClipJob& job, int fd) override;
};

// What ffmpeg is told, writing to its descriptor 3.
std::vector<std::string> VideoArguments(const ClipJob& job);
std::vector<std::string> PosterArguments(const ClipJob& job, double seconds);

}  // namespace vistello
