// A clip's boxes as anyone can write them: read to decide whether its streams are ready, and,
// where they are, written into a new file. Neither reads outside the file, loops without end or
// throws, and what is written is index-first.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "clip/ready_mp4.h"
#include "clip/streams_only.h"
#include "fuzz_input.h"

using namespace vistello;
using vistello::fuzz::Check;

namespace {

int FileOf(const uint8_t* data, size_t size) {
    const int fd = ::memfd_create("clip", MFD_CLOEXEC);
    Check(fd >= 0 && ::write(fd, data, size) == static_cast<ssize_t>(size), "no scratch file");
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int in = FileOf(data, size);
    if (const std::optional<ReadyMp4> ready = ReadReadyMp4(in, 1920)) {
        Check(ready->picture.width > 0 && ready->picture.width <= 1920, "a picture of no size");
        const int out = FileOf(nullptr, 0);
        if (WriteStreamsOnly(*ready, in, out, {}) == Written::kDone) {
            char head[40];
            Check(::pread(out, head, sizeof head, 0) == sizeof head &&
                      std::string(head + 36, 4) == "moov",
                  "the index is not first");
        }
        ::close(out);
    }
    ::close(in);
    return 0;
}
