#include "clip/ready_mp4.h"

#include <algorithm>
#include <utility>

#include "clip/avc_samples.h"
#include "clip/edit_list.h"
#include "clip/sample_ranges.h"

namespace vistello {

namespace {

// Larger than the index of hours of video; anything bigger is left to the tools.
constexpr uint64_t kLargestIndex = uint64_t{64} << 20;

// Upright, unscaled and in place.
constexpr char kIdentity[] =
    "\0\1\0\0\0\0\0\0\0\0\0\0"
    "\0\0\0\0\0\1\0\0\0\0\0\0"
    "\0\0\0\0\0\0\0\0\x40\0\0\0";
const std::string_view kUpright(kIdentity, sizeof kIdentity - 1);

bool Among(std::string_view type, std::initializer_list<std::string_view> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

// A movie or track header whose matrix, at one of two places by its version, turns nothing.
bool Upright(std::string_view header, size_t atFirstVersion, size_t atSecondVersion) {
    const std::optional<uint64_t> version = UintAt(header, 0, 1);
    if (version != 0u && version != 1u) return false;
    return BytesAt(header, *version == 0 ? atFirstVersion : atSecondVersion, kUpright.size()) ==
           kUpright;
}

std::optional<std::vector<Mp4Box>> Children(const std::optional<Mp4Box>& box, int& budget) {
    if (!box) return std::nullopt;
    return SplitBoxes(box->body, budget);
}

// The boxes after a full box's version, flags and entry count, when the count is one.
std::optional<Mp4Box> OnlyEntry(const std::optional<Mp4Box>& box, int& budget) {
    if (!box || UintAt(box->body, 4, 4) != 1u) return std::nullopt;
    const auto entries = SplitBoxes(box->body.substr(8), budget);
    if (!entries || entries->size() != 1) return std::nullopt;
    return entries->front();
}

// The track's samples are in this file, not in one it refers to.
bool SelfContained(const std::optional<Mp4Box>& dataInformation, int& budget) {
    const auto inside = Children(dataInformation, budget);
    const auto reference = OnlyEntry(inside ? OnlyChild(*inside, "dref") : std::nullopt, budget);
    return reference && Among(reference->type, {"url ", "alis"}) &&
           (UintAt(reference->body, 0, 4).value_or(0) & 1) != 0;
}

// One chunk table, of either width.
bool OneChunkTable(const std::vector<Mp4Box>& table) {
    return std::count_if(table.begin(), table.end(), [](const Mp4Box& box) {
               return Among(box.type, {"stco", "co64"});
           }) == 1;
}

// Child boxes a player reads, and none other, which could hold anything.
bool OnlyAmong(const std::optional<std::vector<Mp4Box>>& boxes,
               std::initializer_list<std::string_view> types) {
    return boxes && std::all_of(boxes->begin(), boxes->end(),
                                [types](const Mp4Box& box) { return Among(box.type, types); });
}

std::optional<AvcStream> ReadyPicture(const Mp4Box& entry, int side, int& budget) {
    // The child boxes follow a visual sample entry's fixed 78 bytes.
    if (entry.type != "avc1" || entry.body.size() < 78) return std::nullopt;
    const auto inside = SplitBoxes(entry.body.substr(78), budget);
    if (!OnlyAmong(inside, {"avcC", "pasp", "btrt", "colr"})) return std::nullopt;
    const auto config = inside ? OnlyChild(*inside, "avcC") : std::nullopt;
    const auto stream = config ? PlainAvcStream(config->body) : std::nullopt;
    if (!stream) return std::nullopt;
    const AvcPicture& picture = stream->picture;
    if (std::max(picture.width, picture.height) > side ||
        UintAt(entry.body, 24, 2) != static_cast<uint64_t>(picture.width) ||
        UintAt(entry.body, 26, 2) != static_cast<uint64_t>(picture.height))
        return std::nullopt;
    return stream;
}

// An elementary stream descriptor's length, one to four bytes of seven bits each, skipped.
size_t AfterLength(std::string_view esds, size_t at) {
    for (int i = 0; i < 4; ++i) {
        if ((UintAt(esds, at++, 1).value_or(0) & 0x80) == 0) break;
    }
    return at;
}

// MPEG-4 AAC by the decoder configuration's object type.
bool Aac(std::string_view esds) {
    const auto byte = [esds](size_t at) { return UintAt(esds, at, 1).value_or(0x100); };
    size_t at = 4;
    if (byte(at) != 0x03) return false;
    at = AfterLength(esds, at + 1) + 2;
    const uint64_t flags = byte(at++);
    if (flags & 0x80) at += 2;
    if (flags & 0x40) at += 1 + byte(at);
    if (flags & 0x20) at += 2;
    if (byte(at) != 0x04) return false;
    return byte(AfterLength(esds, at + 1)) == 0x40;
}

bool ReadySound(const Mp4Box& entry, int& budget) {
    // Only the first version of a sound entry, whose child boxes follow its fixed 28 bytes.
    if (entry.type != "mp4a" || UintAt(entry.body, 8, 2) != 0u || entry.body.size() < 28)
        return false;
    const auto inside = SplitBoxes(entry.body.substr(28), budget);
    if (!OnlyAmong(inside, {"esds", "btrt"})) return false;
    const auto esds = inside ? OnlyChild(*inside, "esds") : std::nullopt;
    return esds && Aac(esds->body);
}

// A track's one sample entry, its samples in this file and found through one chunk table.
struct Track {
    std::string_view handler;
    Mp4Box entry;
};

// The one video track's stream and its box, and the sound's box where there is one.
struct Tracks {
    AvcStream stream;
    std::string_view picture;
    std::string_view sound;
};

// A track header numbering its track 1 or 2, as the new index does, with the size it shows its
// picture at in whole pixels, and none for sound.
bool PlainTrackHeader(std::string_view tkhd, std::string_view handler) {
    const bool wide = UintAt(tkhd, 0, 1) == 1u;
    const std::optional<uint64_t> number = UintAt(tkhd, wide ? 20 : 12, 4);
    const std::optional<uint64_t> size = UintAt(tkhd, wide ? 88 : 76, 8);
    if (number != 1u && number != 2u) return false;
    return handler == "soun" ? size == 0u : size && (*size & 0x0000FFFF0000FFFF) == 0;
}

// Whether the track plays all of its media, when it has edits at all.
bool PlaysAll(const std::optional<Mp4Box>& edits, const Mp4Box& mediaHeader, uint64_t movieScale,
              int& budget) {
    if (!edits) return true;
    const auto inside = SplitBoxes(edits->body, budget);
    const auto list = inside && inside->size() == 1 ? OnlyChild(*inside, "elst") : std::nullopt;
    return list && PlaysAllItsMedia(list->body, mediaHeader.body, movieScale);
}

std::optional<Track> ReadTrack(std::string_view trak, uint64_t movieScale, int& budget) {
    const auto boxes = SplitBoxes(trak, budget);
    const auto header = boxes ? OnlyChild(*boxes, "tkhd") : std::nullopt;
    if (!header || !Upright(header->body, 40, 52)) return std::nullopt;
    const auto media = Children(OnlyChild(*boxes, "mdia"), budget);
    const auto handler = media ? OnlyChild(*media, "hdlr") : std::nullopt;
    const auto mediaHeader = media ? OnlyChild(*media, "mdhd") : std::nullopt;
    if (!handler || !mediaHeader || !PlainTrackHeader(header->body, BytesAt(handler->body, 8, 4)) ||
        !PlaysAll(OnlyChild(*boxes, "edts"), *mediaHeader, movieScale, budget))
        return std::nullopt;
    const auto information = Children(OnlyChild(*media, "minf"), budget);
    if (!information || !SelfContained(OnlyChild(*information, "dinf"), budget))
        return std::nullopt;
    const auto table = Children(OnlyChild(*information, "stbl"), budget);
    if (!table || !OneChunkTable(*table)) return std::nullopt;
    const auto entry = OnlyEntry(OnlyChild(*table, "stsd"), budget);
    if (!entry) return std::nullopt;
    return Track{BytesAt(handler->body, 8, 4), *entry};
}

// The one video track, when every other track is the one AAC sound.
std::optional<Tracks> ReadyTracks(std::string_view index, int side) {
    int budget = kMostIndexBoxes;
    const auto boxes = SplitBoxes(index, budget);
    const auto header = boxes ? OnlyChild(*boxes, "mvhd") : std::nullopt;
    if (!header || !Upright(header->body, 36, 48)) return std::nullopt;
    const uint64_t movieScale = UintAt(header->body, header->body[0] == 1 ? 20 : 12, 4).value_or(0);
    std::optional<Tracks> tracks;
    std::string_view sound;
    for (const Mp4Box& box : *boxes) {
        // Fragments, a compressed index and a list of other movies each change what the tracks are.
        if (Among(box.type, {"mvex", "cmov", "rmra"})) return std::nullopt;
        if (box.type != "trak") continue;
        const std::optional<Track> track = ReadTrack(box.body, movieScale, budget);
        if (!track) return std::nullopt;
        if (track->handler == "vide" && !tracks) {
            std::optional<AvcStream> stream = ReadyPicture(track->entry, side, budget);
            if (!stream) return std::nullopt;
            tracks = Tracks{std::move(*stream), box.body, {}};
        } else if (track->handler != "soun" || !sound.empty() ||
                   !ReadySound(track->entry, budget)) {
            return std::nullopt;
        } else {
            sound = box.body;
        }
    }
    if (tracks) tracks->sound = sound;
    return tracks;
}

// The ranges in the file's order, those that touch made one.
std::vector<ByteRange> Joined(std::vector<ByteRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const ByteRange& a, const ByteRange& b) { return a.from < b.from; });
    std::vector<ByteRange> joined;
    for (const ByteRange& range : ranges) {
        if (!joined.empty() && joined.back().from + joined.back().size == range.from) {
            joined.back().size += range.size;
        } else {
            joined.push_back(range);
        }
    }
    return joined;
}

// What of the tracks' samples is published; false when the reader is unsure of them.
bool Publish(int fd, const Tracks& tracks, ReadyMp4& ready) {
    const std::optional<TrackSamples> pictures = SamplesOf(tracks.picture);
    std::optional<PictureSamples> plain =
        pictures ? PlainPictureSamples(fd, *pictures, tracks.stream) : std::nullopt;
    if (!plain) return false;
    std::vector<ByteRange> kept = std::move(plain->kept);
    if (!tracks.sound.empty()) {
        const std::optional<TrackSamples> sound = SamplesOf(tracks.sound);
        std::optional<std::vector<Patch>> patches =
            sound ? LeadingDataBlanked(fd, *sound) : std::nullopt;
        if (!patches) return false;
        kept.insert(kept.end(), sound->chunks.begin(), sound->chunks.end());
        ready.patches = std::move(*patches);
    }
    ready.kept = Joined(std::move(kept));
    if (plain->trimmed) {
        ready.pictureSizes = std::move(plain->sizes);
        ready.pictureSizesAt = static_cast<size_t>(pictures->sizes.data() - ready.index.data());
    }
    return true;
}

}  // namespace

std::optional<ReadyMp4> ReadReadyMp4(int fd, int side) {
    const std::optional<std::vector<FileBox>> top = TopLevelBoxes(fd);
    if (!top) return std::nullopt;
    ReadyMp4 ready;
    std::vector<FileBox> media;
    const FileBox* index = nullptr;
    for (const FileBox& box : *top) {
        if (!Among(box.Type(),
                   {"ftyp", "moov", "mdat", "free", "skip", "wide", "uuid", "meta", "udta"}) ||
            (box.Type() == "moov" && index))
            return std::nullopt;
        if (box.Type() == "moov") index = &box;
        if (box.Type() == "mdat") media.push_back(box);
    }
    if (!index || index->size - index->header > kLargestIndex) return std::nullopt;
    ready.index.resize(index->size - index->header);
    if (!ReadBytesAt(fd, index->offset + index->header, ready.index)) return std::nullopt;
    const std::optional<Tracks> tracks = ReadyTracks(ready.index, side);
    if (!tracks || !SamplesFillMedia(ready.index, media) || !Publish(fd, *tracks, ready))
        return std::nullopt;
    ready.picture = tracks->stream.picture;
    return ready;
}

}  // namespace vistello
