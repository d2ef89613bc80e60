// What the clip module reads of files anyone can write: the first bytes that choose a demuxer,
// the boxes walked to find an MP4's index, and ffprobe's answer about a clip whose tags are
// anyone's. None of them reads past what it was given, loops without end or throws.
#include <cstring>
#include <string>

#include "clip/box_walk.h"
#include "clip/clip_source.h"
#include "clip/tool_answer.h"
#include "fuzz_input.h"

using namespace vistello;
using vistello::fuzz::Check;
using vistello::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::string head = input.Next();
    if (const auto container = ContainerOf(head))
        Check(*container == "mov" || *container == "matroska" || *container == "avi",
              "a demuxer outside the allow-list");

    const std::string boxes = input.Next();
    int reads = 0;
    IndexFirst([&](unsigned char* into, size_t wanted, off_t offset) -> ssize_t {
        Check(++reads <= 64, "the walk does not end");
        Check(offset >= 0, "a read before the start");
        if (static_cast<size_t>(offset) >= boxes.size()) return 0;
        const size_t got = std::min(wanted, boxes.size() - static_cast<size_t>(offset));
        std::memcpy(into, boxes.data() + offset, got);
        return static_cast<ssize_t>(got);
    });

    const nlohmann::json answer = ParseAnswer(input.Rest());
    Check(answer.is_null() || answer.is_object(), "an answer that is no object");
    const nlohmann::json& format = At(answer, "format");
    TextAt(At(format, "tags"), "title");
    NumberAt(format, "duration");
    const nlohmann::json& streams = At(answer, "streams");
    if (streams.is_array()) {
        for (const nlohmann::json& stream : streams) NumberAt(stream, "width");
    }
    return 0;
}
