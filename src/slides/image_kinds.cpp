#include "slides/image_kinds.h"

#include <algorithm>

#include "files/path_rules.h"
#include "text/letter_case.h"

namespace vistello {

namespace {

const ImageKind* KindOf(std::string_view name) {
    const std::string_view extension = ExtensionOf(name);
    for (const ImageKind& kind : ImageKinds()) {
        if (std::any_of(
                kind.extensions.begin(), kind.extensions.end(),
                [&](std::string_view known) { return EqualIgnoringCase(extension, known); }))
            return &kind;
    }
    return nullptr;
}

}  // namespace

const std::vector<ImageKind>& ImageKinds() {
    static const std::vector<ImageKind> kinds = {
        {"JPG Files", {"jpg", "jpeg"}},
        {"PNG Files", {"png"}},
        {"TIF Files", {"tif", "tiff"}, false},
        {"BMP Files", {"bmp"}},
        {"GIF Files", {"gif"}},
        {"HEIC Files", {"heic", "heif"}, false},
        {"AVIF Files", {"avif"}},
        {"WebP Files", {"webp"}},
        {"Video Files", {"mp4", "m4v", "mov", "webm", "mkv", "avi", "3gp"}, true, true}};
    return kinds;
}

bool IsImageFileName(std::string_view name) { return KindOf(name) != nullptr; }

bool IsUnshownImageFileName(std::string_view name) {
    const ImageKind* kind = KindOf(name);
    return kind != nullptr && !kind->browsersShow;
}

bool IsClipFileName(std::string_view name) {
    const ImageKind* kind = KindOf(name);
    return kind != nullptr && kind->clip;
}

}  // namespace vistello
