#include "pictures/gif_without_text.h"

#include <array>
#include <cerrno>
#include <optional>

#include "files/block_reader.h"
#include "files/error_text.h"

namespace vistello {

namespace {

constexpr char kExtension = 0x21;
constexpr char kImage = 0x2C;
constexpr char kTrailer = 0x3B;
constexpr char kFrameTiming = static_cast<char>(0xF9);
constexpr char kPlainText = 0x01;
constexpr char kApplication = static_cast<char>(0xFF);

// The application blocks a browser reads: looping (by either name) and the colour profile.
constexpr std::array<std::string_view, 3> kKeptApplications = {"NETSCAPE2.0", "ANIMEXTS1.0",
                                                               "ICCRGBG1012"};

// Past GIFs of this size a show has no use for, and memory would.
constexpr size_t kMostGifBytes = size_t{256} << 20;

constexpr std::string_view kDamaged = "the GIF is damaged";

unsigned Byte(std::string_view gif, size_t at) { return static_cast<unsigned char>(gif[at]); }

// A colour table follows where the flags say so, of 2^(n+1) colours of 3 bytes.
size_t ColourTableBytes(unsigned flags) {
    return (flags & 0x80) != 0 ? 3 * (size_t{2} << (flags & 7)) : 0;
}

// Where the sub-blocks starting at `at` end, past their closing empty one; nothing when the data
// ends first.
std::optional<size_t> SubBlocksEnd(std::string_view gif, size_t at) {
    while (at < gif.size()) {
        const size_t length = Byte(gif, at);
        ++at;
        if (length == 0) return at;
        at += length;
    }
    return std::nullopt;
}

// Whether the extension block starting at `at` (its introducer) says how frames play rather
// than carrying text.
bool KeptExtension(std::string_view gif, size_t at) {
    const char label = gif[at + 1];
    if (label == kFrameTiming || label == kPlainText) return true;
    if (label != kApplication || at + 3 > gif.size() || Byte(gif, at + 2) != 11) return false;
    const std::string_view name = gif.substr(at + 3, 11);
    for (const std::string_view kept : kKeptApplications) {
        if (name == kept) return true;
    }
    return false;
}

// Where the image block starting at `at` ends; nothing when the data ends first.
std::optional<size_t> ImageEnd(std::string_view gif, size_t at) {
    constexpr size_t kDescriptor = 10;
    if (at + kDescriptor > gif.size()) return std::nullopt;
    // The table, then the size of the first code, then the frame's data.
    const size_t data = at + kDescriptor + ColourTableBytes(Byte(gif, at + 9)) + 1;
    return SubBlocksEnd(gif, data);
}

}  // namespace

MadeImage GifWithoutText(std::string_view gif) {
    constexpr size_t kScreen = 13;
    if (gif.size() < kScreen || (gif.substr(0, 6) != "GIF87a" && gif.substr(0, 6) != "GIF89a"))
        return {{}, std::string(kDamaged)};
    size_t at = kScreen + ColourTableBytes(Byte(gif, 10));
    if (at > gif.size()) return {{}, std::string(kDamaged)};
    std::string kept(gif.substr(0, at));
    while (at < gif.size() && gif[at] != kTrailer) {
        std::optional<size_t> end;
        bool keep = true;
        if (gif[at] == kImage) {
            end = ImageEnd(gif, at);
        } else if (gif[at] == kExtension && at + 2 <= gif.size()) {
            end = SubBlocksEnd(gif, at + 2);
            keep = KeptExtension(gif, at);
        }
        if (!end) return {{}, std::string(kDamaged)};
        if (keep) kept.append(gif.substr(at, *end - at));
        at = *end;
    }
    if (at == gif.size()) return {{}, std::string(kDamaged)};
    kept += kTrailer;
    const int width = static_cast<int>(Byte(gif, 6) | (Byte(gif, 7) << 8));
    const int height = static_cast<int>(Byte(gif, 8) | (Byte(gif, 9) << 8));
    return {{{std::move(kept), width, height}}, {}};
}

MadeImage GifFileWithoutText(FileOps& ops, const std::string& path) {
    BlockReader reader(ops, path);
    if (!reader.IsOpen()) return {{}, ErrorText(errno)};
    if (static_cast<size_t>(reader.Info().st_size) > kMostGifBytes)
        return {{}, "larger than " + std::to_string(kMostGifBytes >> 20) + " MiB"};
    std::string gif;
    if (!reader.ReadAllInto(gif)) return {{}, ErrorText(errno)};
    return GifWithoutText(gif);
}

}  // namespace vistello
