#include "slides/media_signature.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

#include "files/error_text.h"
#include "files/path_rules.h"
#include "slides/image_kinds.h"

namespace vistello {

namespace {

// Enough for the ISO box of brands that HEIF and AVIF files open with.
constexpr size_t kHeadBytes = 64;

using Head = std::string_view;

bool At(Head head, size_t offset, std::string_view bytes) {
    return head.size() >= offset + bytes.size() && head.substr(offset, bytes.size()) == bytes;
}

// The brands of an ISO file's opening "ftyp" box that fall within the head.
std::vector<std::string_view> Brands(Head head) {
    std::vector<std::string_view> brands;
    if (!At(head, 4, "ftyp")) return brands;
    const auto byte = [head](size_t i) { return static_cast<unsigned char>(head[i]); };
    const size_t box =
        (size_t{byte(0)} << 24) | (size_t{byte(1)} << 16) | (size_t{byte(2)} << 8) | byte(3);
    const size_t end = std::min(box, head.size());
    if (end >= 12) brands.push_back(head.substr(8, 4));
    for (size_t at = 16; at + 4 <= end; at += 4) brands.push_back(head.substr(at, 4));
    return brands;
}

bool IsHeifPicture(Head head) {
    static constexpr std::array<std::string_view, 13> kStill = {
        "mif1", "mif2", "msf1", "heic", "heix", "hevc", "hevx",
        "heim", "heis", "hevm", "hevs", "avif", "avis"};
    const std::vector<std::string_view> brands = Brands(head);
    return std::any_of(brands.begin(), brands.end(), [](std::string_view brand) {
        return std::find(kStill.begin(), kStill.end(), brand) != kStill.end();
    });
}

bool IsPicture(Head head) {
    return At(head, 0, "\xFF\xD8\xFF") || At(head, 0, "\x89PNG\r\n\x1A\n") ||
           At(head, 0, "GIF87a") || At(head, 0, "GIF89a") || At(head, 0, "BM") ||
           At(head, 0, std::string_view("II*\0", 4)) || At(head, 0, std::string_view("MM\0*", 4)) ||
           At(head, 0, std::string_view("II+\0", 4)) || At(head, 0, std::string_view("MM\0+", 4)) ||
           (At(head, 0, "RIFF") && At(head, 8, "WEBP")) || IsHeifPicture(head);
}

// An ISO or QuickTime file opens with a box of one of these kinds; older QuickTime files have no
// "ftyp".
bool IsClip(Head head) {
    static constexpr std::array<std::string_view, 7> kFirstBoxes = {"ftyp", "moov", "mdat", "wide",
                                                                    "free", "skip", "pnot"};
    const bool isoBox =
        head.size() >= 8 && std::any_of(kFirstBoxes.begin(), kFirstBoxes.end(),
                                        [head](std::string_view box) { return At(head, 4, box); });
    return isoBox || At(head, 0, "\x1A\x45\xDF\xA3") ||
           (At(head, 0, "RIFF") && At(head, 8, "AVI "));
}

// The first bytes of the file, or nothing with errno set.
std::optional<std::string> ReadHead(FileOps& ops, const std::string& path) {
    const int file = ops.OpenForReading(path);
    if (file < 0) return std::nullopt;
    std::string head(kHeadBytes, '\0');
    size_t filled = 0;
    ssize_t read = 1;
    while (filled < head.size() && read > 0) {
        read = ops.Read(file, head.data() + filled, head.size() - filled);
        if (read > 0) filled += static_cast<size_t>(read);
    }
    const int error = errno;
    ops.Close(file);
    if (read < 0) {
        errno = error;
        return std::nullopt;
    }
    head.resize(filled);
    return head;
}

std::optional<std::string> Mismatch(FileOps& ops, const std::string& path, bool unreadable) {
    const std::optional<std::string> head = ReadHead(ops, path);
    if (!head)
        return unreadable ? std::optional("cannot be read: " + ErrorText(errno)) : std::nullopt;
    if (IsClipFileName(FileNameOf(path))) {
        if (IsClip(*head)) return std::nullopt;
        return std::string("its first bytes are no clip Vistello reads");
    }
    if (IsPicture(*head)) return std::nullopt;
    return std::string("its first bytes are no picture Vistello reads");
}

}  // namespace

std::optional<std::string> MediaMismatch(FileOps& ops, const std::string& path) {
    return Mismatch(ops, path, true);
}

std::optional<std::string> ReadMediaMismatch(FileOps& ops, const std::string& path) {
    return Mismatch(ops, path, false);
}

}  // namespace vistello
