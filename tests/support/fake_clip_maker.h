#pragma once

#include <unistd.h>

#include <atomic>
#include <string>

#include "media/clip_maker.h"
#include "support/temp_dir.h"

namespace vistello::testing {

// Video tools in plain files: a clip's bytes say what it is ("bad" fails to convert, "slow"
// runs until stopped, "huge" makes 600 MB of nothing), and a made file says what it was made from
// and how; every clip is 1280 x 720. Safe on several threads at once.
class FakeClipMaker : public ClipMaker {
public:
    std::string Unavailable() override {
        ++asked;
        return unavailable;
    }
    ClipOutcome MakeVideo(const ClipJob& job, int fd, const ClipGoing& going) override {
        ++made;
        const std::string kind = MediaText(ReadBytes(job.source));
        if (kind == "bad") return {"Invalid data found when processing input", 0, 0};
        // As large as a long film, without the bytes.
        if (kind == "huge")
            return ::ftruncate(fd, 600'000'000) == 0 ? ClipOutcome{"", 1280, 720}
                                                     : ClipOutcome{"cannot", 0, 0};
        while (kind == "slow") {
            if (!going(0.5)) return {"stopped", 0, 0};
            ::usleep(10000);
        }
        return Written(fd,
                       kind + "@" + std::to_string(job.side) + (job.keepDetails ? "+details" : ""));
    }
    ClipOutcome MakePoster(const ClipJob& job, int fd, const ClipGoing&) override {
        return Written(fd, "poster of " + MediaText(ReadBytes(job.source)));
    }

    std::string unavailable;
    // How often the tools were looked for, which starts the real ones.
    std::atomic<int> asked{0};
    std::atomic<int> made{0};

private:
    static ClipOutcome Written(int fd, const std::string& bytes) {
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            return {"cannot write", 0, 0};
        return {"", 1280, 720};
    }
};

}  // namespace vistello::testing
