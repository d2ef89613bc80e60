#pragma once

#include <functional>
#include <string>

namespace vistello {

// One clip to publish for the web.
struct ClipJob {
    std::string source;
    // The longer side at most; never enlarged.
    int side = 0;
    // Its metadata, the place it was filmed among them, stays; otherwise none does.
    bool keepDetails = false;
};

// What a making step did: a failure with its reason, or the pixel size of what it made.
struct ClipOutcome {
    std::string failure;
    int width = 0;
    int height = 0;
};

// Told how much of the step in hand is done, 0 to 1; false stops it, every tool it runs ended
// within a tenth of a second.
using ClipGoing = std::function<bool(double done)>;

// The video tools, as the generator sees them. They write into descriptors of new, empty files
// that the generator gives them and puts in place once they are whole; called on the worker
// threads, several at once.
class ClipMaker {
public:
    virtual ~ClipMaker() = default;
    // Why no clip can be made here, as for a summary; empty when clips can be made.
    virtual std::string Unavailable() = 0;
    // An MP4 every major browser plays: H.264 and AAC, upright, the index first, even sides. A
    // clip whose streams already are that is copied as it is where its details are kept, and
    // otherwise has its streams copied into a new file that holds nothing else.
    virtual ClipOutcome MakeVideo(const ClipJob& job, int fd, const ClipGoing& going) = 0;
    // A frame from about a second in, upright, at the web version's size, as a JPEG.
    virtual ClipOutcome MakePoster(const ClipJob& job, int fd, const ClipGoing& going) = 0;
};

}  // namespace vistello
