#include "clip/sample_ranges.h"

#include <algorithm>
#include <optional>

namespace vistello {

namespace {

// The sizes of a track's samples, as its size table gives them.
class SampleSizes {
public:
    static std::optional<SampleSizes> Of(std::string_view table) {
        const std::optional<uint64_t> uniform = UintAt(table, 4, 4);
        const std::optional<uint64_t> count = UintAt(table, 8, 4);
        if (!uniform || !count || (*uniform == 0 && table.size() != 12 + *count * 4))
            return std::nullopt;
        return SampleSizes(table, *uniform, *count);
    }

    // The size of the next `samples` samples together; nothing past the last.
    std::optional<uint64_t> Next(uint64_t samples) {
        if (samples == 0 || samples > m_count - m_next) return std::nullopt;
        uint64_t size = m_uniform * samples;
        for (uint64_t i = 0; m_uniform == 0 && i < samples; ++i)
            size += *UintAt(m_table, 12 + (m_next + i) * 4, 4);
        m_next += samples;
        return size;
    }
    bool AllTaken() const { return m_next == m_count; }
    uint64_t Count() const { return m_count; }

private:
    SampleSizes(std::string_view table, uint64_t uniform, uint64_t count)
        : m_table(table), m_uniform(uniform), m_count(count) {}

    std::string_view m_table;
    uint64_t m_uniform;
    uint64_t m_count;
    uint64_t m_next = 0;
};

// Each chunk of a track with the bytes its samples take, from its sample table.
std::optional<TrackSamples> ChunksOf(std::string_view sampleTable, int& budget) {
    const auto boxes = SplitBoxes(sampleTable, budget);
    if (!boxes) return std::nullopt;
    const auto toChunk = OnlyChild(*boxes, "stsc");
    const auto sizes = OnlyChild(*boxes, "stsz");
    auto offsets = OnlyChild(*boxes, "stco");
    const int width = offsets ? 4 : 8;
    if (!offsets) offsets = OnlyChild(*boxes, "co64");
    if (!toChunk || !sizes || !offsets) return std::nullopt;
    std::optional<SampleSizes> samples = SampleSizes::Of(sizes->body);
    const std::optional<uint64_t> chunks = UintAt(offsets->body, 4, 4);
    const std::optional<uint64_t> runs = UintAt(toChunk->body, 4, 4);
    if (!samples || !chunks || offsets->body.size() != 8 + *chunks * width || !runs ||
        toChunk->body.size() != 8 + *runs * 12)
        return std::nullopt;
    TrackSamples track{samples->Count(), {}, {}, sizes->body};
    uint64_t chunk = 1;
    for (uint64_t run = 0; run < *runs; ++run) {
        const uint64_t first = *UintAt(toChunk->body, 8 + run * 12, 4);
        const uint64_t perChunk = *UintAt(toChunk->body, 12 + run * 12, 4);
        const uint64_t end =
            run + 1 < *runs ? *UintAt(toChunk->body, 20 + run * 12, 4) : *chunks + 1;
        if (first != chunk || end <= first || end > *chunks + 1) return std::nullopt;
        for (; chunk < end; ++chunk) {
            const std::optional<uint64_t> size = samples->Next(perChunk);
            if (!size) return std::nullopt;
            track.chunks.push_back({*UintAt(offsets->body, 8 + (chunk - 1) * width, width), *size});
            track.perChunk.push_back(perChunk);
        }
    }
    if (chunk != *chunks + 1 || !samples->AllTaken()) return std::nullopt;
    return track;
}

std::optional<std::vector<Mp4Box>> Inside(const std::vector<Mp4Box>& boxes, std::string_view type,
                                          int& budget) {
    const std::optional<Mp4Box> box = OnlyChild(boxes, type);
    if (!box) return std::nullopt;
    return SplitBoxes(box->body, budget);
}

std::optional<TrackSamples> SamplesOf(std::string_view track, int& budget) {
    const auto boxes = SplitBoxes(track, budget);
    const auto media = boxes ? Inside(*boxes, "mdia", budget) : std::nullopt;
    const auto information = media ? Inside(*media, "minf", budget) : std::nullopt;
    const auto table = information ? OnlyChild(*information, "stbl") : std::nullopt;
    if (!table) return std::nullopt;
    return ChunksOf(table->body, budget);
}

}  // namespace

uint64_t TrackSamples::SizeOf(uint64_t sample) const {
    const uint64_t uniform = *UintAt(sizes, 4, 4);
    return uniform != 0 ? uniform : *UintAt(sizes, 12 + sample * 4, 4);
}

std::optional<TrackSamples> SamplesOf(std::string_view track) {
    int budget = kMostIndexBoxes;
    return SamplesOf(track, budget);
}

bool SamplesFillMedia(std::string_view index, const std::vector<FileBox>& media) {
    int budget = kMostIndexBoxes;
    const auto boxes = SplitBoxes(index, budget);
    if (!boxes) return false;
    std::vector<ByteRange> ranges;
    for (const Mp4Box& box : *boxes) {
        if (box.type != "trak") continue;
        const std::optional<TrackSamples> track = SamplesOf(box.body, budget);
        if (!track) return false;
        ranges.insert(ranges.end(), track->chunks.begin(), track->chunks.end());
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const ByteRange& a, const ByteRange& b) { return a.from < b.from; });
    auto range = ranges.begin();
    for (const FileBox& box : media) {
        uint64_t at = box.offset + box.header;
        const uint64_t end = box.offset + box.size;
        for (; range != ranges.end() && range->from == at && range->size <= end - at; ++range)
            at += range->size;
        if (at != end) return false;
    }
    return range == ranges.end();
}

}  // namespace vistello
