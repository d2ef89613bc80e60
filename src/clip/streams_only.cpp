#include "clip/streams_only.h"

#include <unistd.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>

#include "clip/box_fields.h"
#include "clip/sample_entry.h"

namespace vistello {

namespace {

// What a player needs of the file type: the brands an MP4 of H.264 and AAC plays under.
constexpr char kFileType[] =
    "\0\0\0\x20"
    "ftypisom\0\0\x02\0isomiso2avc1mp41";
// Samples in this file, whatever way the clip said so.
constexpr char kDataInformation[] =
    "\0\0\0\x1C"
    "dref\0\0\0\0\0\0\0\1\0\0\0\x0C"
    "url \0\0\0\1";
// Copied a slice at a time, so that Cancel is heard.
constexpr uint64_t kSlice = uint64_t{64} << 20;

enum class Keep { kAsIs, kInside, kHeader, kEntry, kChunks32, kChunks64, kDataInOwnFile };

struct Rule {
    std::string_view parent;
    std::string_view type;
    Keep keep;
};

// What a player needs, level by level; nothing else is kept, whoever put it there. Hints a player
// may do without (how samples depend on each other, how far their times shift, groups of them)
// go too, since their bits could say anything.
constexpr Rule kRules[] = {
    {"moov", "mvhd", Keep::kHeader},   {"moov", "trak", Keep::kInside},
    {"trak", "tkhd", Keep::kHeader},   {"trak", "edts", Keep::kInside},
    {"edts", "elst", Keep::kAsIs},     {"trak", "mdia", Keep::kInside},
    {"mdia", "mdhd", Keep::kHeader},   {"mdia", "hdlr", Keep::kHeader},
    {"mdia", "minf", Keep::kInside},   {"minf", "vmhd", Keep::kHeader},
    {"minf", "smhd", Keep::kHeader},   {"minf", "dinf", Keep::kDataInOwnFile},
    {"minf", "stbl", Keep::kInside},   {"stbl", "stsd", Keep::kEntry},
    {"stbl", "stts", Keep::kAsIs},     {"stbl", "ctts", Keep::kAsIs},
    {"stbl", "stsc", Keep::kAsIs},     {"stbl", "stsz", Keep::kAsIs},
    {"stbl", "stss", Keep::kAsIs},     {"stbl", "stco", Keep::kChunks32},
    {"stbl", "co64", Keep::kChunks64},
};

std::optional<Keep> KeepOf(std::string_view parent, std::string_view type) {
    for (const Rule& rule : kRules) {
        if (rule.parent == parent && rule.type == type) return rule.keep;
    }
    return std::nullopt;
}

// Where a chunk offset table's entries lie in the new index.
struct ChunkTable {
    size_t at = 0;
    uint64_t count = 0;
    int width = 0;
};

// A size table of each sample's size.
std::string SizeTable(const std::vector<uint32_t>& sizes) {
    std::string body(12 + sizes.size() * 4, '\0');
    PutUint(body, 8, sizes.size(), 4);
    for (size_t i = 0; i < sizes.size(); ++i) PutUint(body, 12 + i * 4, sizes[i], 4);
    return body;
}

// The new index, built from the clip's by the rules.
class IndexBuilder {
public:
    explicit IndexBuilder(const ReadyMp4& clip) : m_clip(clip) {}

    bool Add(std::string_view parent, std::string_view body) {
        const auto boxes = SplitBoxes(body, m_budget);
        if (!boxes) return false;
        if (parent == "stbl") {
            const std::optional<Mp4Box> sizes = OnlyChild(*boxes, "stsz");
            m_samples = sizes ? UintAt(sizes->body, 8, 4).value_or(0) : 0;
        }
        std::set<std::string_view> seen;
        for (const Mp4Box& box : *boxes) {
            const std::optional<Keep> keep = KeepOf(parent, box.type);
            if (!keep) continue;
            // A second table of a kind could say anything; only tracks come more than once.
            if (!seen.insert(box.type).second && box.type != "trak") return false;
            const size_t start = m_index.size();
            m_index.append(4, '\0').append(box.type);
            if (!Put(*keep, box)) return false;
            // No larger than the clip's index, whose size is bounded well below four gigabytes.
            PutUint(m_index, start, m_index.size() - start, 4);
        }
        return true;
    }

    std::string& Index() { return m_index; }
    const std::vector<ChunkTable>& Tables() const { return m_tables; }

private:
    bool Put(Keep keep, const Mp4Box& box) {
        if (keep == Keep::kInside) return Add(box.type, box.body);
        if (keep == Keep::kEntry) {
            const std::optional<std::string> plain = PlainDescriptions(box.body, m_budget);
            if (plain) m_index += *plain;
            return plain.has_value();
        }
        if (keep == Keep::kHeader) {
            std::string header(box.body);
            if (!ClearHeader(box.type, header)) return false;
            m_index += header;
            return true;
        }
        if (keep == Keep::kDataInOwnFile) {
            m_index.append(kDataInformation, sizeof kDataInformation - 1);
            return true;
        }
        const size_t body = m_index.size();
        m_index.append(PicturesTrimmed(box) ? SizeTable(m_clip.pictureSizes) : box.body);
        if (keep == Keep::kAsIs) return HoldsOnlyItsFields(box.type, box.body, m_samples);
        const int width = keep == Keep::kChunks32 ? 4 : 8;
        const std::optional<uint64_t> count = UintAt(box.body, 4, 4);
        if (UintAt(box.body, 0, 4) != 0u || !count || box.body.size() != 8 + *count * width)
            return false;
        m_tables.push_back({body + 8, *count, width});
        return true;
    }

    // Whether the box is the pictures' size table and units of theirs are left out.
    bool PicturesTrimmed(const Mp4Box& box) const {
        return !m_clip.pictureSizes.empty() &&
               box.body.data() == m_clip.index.data() + m_clip.pictureSizesAt;
    }

    const ReadyMp4& m_clip;
    std::string m_index;
    std::vector<ChunkTable> m_tables;
    // The sample count of the track whose table is being built.
    uint64_t m_samples = 0;
    int m_budget = kMostIndexBoxes;
};

// A piece of media data's place in the clip and in the new file.
struct Span {
    uint64_t from = 0;
    uint64_t size = 0;
    uint64_t to = 0;
};

// Where the byte at `offset` goes; one left out goes where the next one kept does, as the first
// sample of a chunk that began with units left out now begins there.
std::optional<uint64_t> Moved(const std::vector<Span>& spans, uint64_t offset) {
    const auto next = std::upper_bound(
        spans.begin(), spans.end(), offset,
        [](uint64_t value, const Span& span) { return value < span.from + span.size; });
    if (next == spans.end()) return std::nullopt;
    return next->to + (offset < next->from ? 0 : offset - next->from);
}

bool MoveChunks(std::string& index, const std::vector<ChunkTable>& tables,
                const std::vector<Span>& spans) {
    for (const ChunkTable& table : tables) {
        const uint64_t largest =
            table.width == 4 ? std::numeric_limits<uint32_t>::max() : ~uint64_t{0};
        for (uint64_t i = 0; i < table.count; ++i) {
            const size_t at = table.at + i * table.width;
            const std::optional<uint64_t> moved = Moved(spans, *UintAt(index, at, table.width));
            if (!moved || *moved > largest) return false;
            PutUint(index, at, *moved, table.width);
        }
    }
    return true;
}

// The header of one mdat box holding `size` bytes.
std::string MediaHeader(uint64_t size) {
    std::string header(8, '\0');
    if (size + 8 > std::numeric_limits<uint32_t>::max()) {
        header.resize(16);
        PutUint(header, 0, 1, 4);
        PutUint(header, 8, size + 16, 8);
    } else {
        PutUint(header, 0, size + 8, 4);
    }
    header.replace(4, 4, "mdat");
    return header;
}

bool WriteAll(int fd, std::string_view bytes, uint64_t at) {
    while (!bytes.empty()) {
        const ssize_t put = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(put));
        at += static_cast<uint64_t>(put);
    }
    return true;
}

// Copies within the kernel where it can, else through a buffer; how much it copied, none when the
// clip ends early and less than none when either file fails.
ssize_t CopySome(int in, uint64_t from, int out, uint64_t to, size_t size) {
    off_t inAt = static_cast<off_t>(from);
    off_t outAt = static_cast<off_t>(to);
    const ssize_t copied = ::copy_file_range(in, &inAt, out, &outAt, size, 0);
    if (copied >= 0) return copied;
    std::string buffer(std::min<size_t>(size, size_t{1} << 20), '\0');
    const ssize_t got = ::pread(in, buffer.data(), buffer.size(), static_cast<off_t>(from));
    if (got <= 0) return got;
    return WriteAll(out, std::string_view(buffer.data(), static_cast<size_t>(got)), to) ? got : -1;
}

Written CopySpans(const std::vector<Span>& spans, int in, int out, const ClipGoing& going) {
    const uint64_t total = spans.empty() ? 0 : spans.back().to + spans.back().size - spans[0].to;
    uint64_t copied = 0;
    for (const Span& span : spans) {
        for (uint64_t done = 0; done < span.size;) {
            if (going && !going(static_cast<double>(copied) / static_cast<double>(total)))
                return Written::kStopped;
            const ssize_t some = CopySome(in, span.from + done, out, span.to + done,
                                          std::min(span.size - done, kSlice));
            if (some <= 0) return Written::kFailed;
            done += static_cast<uint64_t>(some);
            copied += static_cast<uint64_t>(some);
        }
    }
    return Written::kDone;
}

// The changes written over what was copied.
bool WritePatches(const std::vector<Patch>& patches, const std::vector<Span>& spans, int out) {
    for (const Patch& patch : patches) {
        const std::optional<uint64_t> to = Moved(spans, patch.at);
        if (!to || !WriteAll(out, patch.bytes, *to)) return false;
    }
    return true;
}

}  // namespace

Written WriteStreamsOnly(const ReadyMp4& clip, int in, int out, const ClipGoing& going) {
    IndexBuilder builder(clip);
    if (!builder.Add("moov", clip.index)) return Written::kDeclined;
    uint64_t size = 0;
    for (const ByteRange& range : clip.kept) size += range.size;
    std::string head(kFileType, sizeof kFileType - 1);
    head += std::string(8, '\0');
    PutUint(head, head.size() - 8, 8 + builder.Index().size(), 4);
    head.replace(head.size() - 4, 4, "moov");
    const size_t indexAt = head.size();
    const std::string mediaHeader = MediaHeader(size);
    std::vector<Span> spans;
    uint64_t to = indexAt + builder.Index().size() + mediaHeader.size();
    for (const ByteRange& range : clip.kept) {
        spans.push_back({range.from, range.size, to});
        to += range.size;
    }
    if (!MoveChunks(builder.Index(), builder.Tables(), spans)) return Written::kDeclined;
    head += builder.Index();
    head += mediaHeader;
    if (!WriteAll(out, head, 0)) return Written::kFailed;
    const Written copied = CopySpans(spans, in, out, going);
    if (copied != Written::kDone) return copied;
    return WritePatches(clip.patches, spans, out) ? Written::kDone : Written::kFailed;
}

}  // namespace vistello
